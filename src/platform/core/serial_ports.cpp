#include "platform/core/serial_ports.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {
ComPortProbe& Probe()
{
    static ComPortProbe p;
    return p;
}

TComProbe RealProbe(int n)
{
    const QString dev = Com_Port_Device(n);
    if (dev.isEmpty()) return TComProbe::Failed;
    const int fd = ::open(dev.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return (errno == EACCES || errno == EBUSY) ? TComProbe::AccessDenied : TComProbe::Failed;
    // a port held exclusively by another program refuses this; one with no hardware
    // behind its node fails here too
    TComProbe r = TComProbe::Opened;
    termios t;
    if (::tcgetattr(fd, &t) != 0) r = (errno == EBUSY) ? TComProbe::AccessDenied : TComProbe::Failed;
    ::close(fd);
    return r;
}
}  // namespace

QString Com_Port_Device(int n)
{
    if (n < 1 || n > Com_Port_Candidates) return QString();
    static const char* const kBlocks[4] = {"/dev/ttyS", "/dev/ttyUSB", "/dev/ttyACM", "/dev/ttyAMA"};
    const int i = n - 1;
    return QString::fromLatin1(kBlocks[i / 64]) + QString::number(i % 64);
}

TComProbe Probe_Com_Port(int n) { return Probe() ? Probe()(n) : RealProbe(n); }

ComPortProbe Set_Com_Port_Probe(ComPortProbe probe)
{
    ComPortProbe old = std::move(Probe());
    Probe() = std::move(probe);
    return old;
}
