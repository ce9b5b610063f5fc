#include "platform/core/serial_ports.h"

#include <QFile>
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

TComProbe OpenError(int err)
{
    if (err == EBUSY) return TComProbe::AccessDenied;
    // a device the user has no rights on could never be used for an update
    if (err == EACCES || err == EPERM) return TComProbe::NotPermitted;
    return TComProbe::Failed;
}
}  // namespace

TComProbe Probe_Com_Device(const QString& path)
{
    if (path.isEmpty()) return TComProbe::Failed;
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return OpenError(errno);
    // a port held exclusively by another program refuses this; one with no hardware
    // behind its node fails here too
    TComProbe r = TComProbe::Opened;
    termios t;
    if (::tcgetattr(fd, &t) != 0) r = (errno == EBUSY) ? TComProbe::AccessDenied : TComProbe::Failed;
    ::close(fd);
    return r;
}

QString Com_Port_Device(int n)
{
    if (n < 1 || n > Com_Port_Candidates) return QString();
    static const char* const kBlocks[4] = {"/dev/ttyS", "/dev/ttyUSB", "/dev/ttyACM", "/dev/ttyAMA"};
    const int i = n - 1;
    return QString::fromLatin1(kBlocks[i / 64]) + QString::number(i % 64);
}

TComProbe Probe_Com_Port(int n) { return Probe() ? Probe()(n) : Probe_Com_Device(Com_Port_Device(n)); }

ComPortProbe Set_Com_Port_Probe(ComPortProbe probe)
{
    ComPortProbe old = std::move(Probe());
    Probe() = std::move(probe);
    return old;
}
