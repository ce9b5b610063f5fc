#include "platform/core/icmp.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
constexpr int kEchoRequest = 8;
constexpr int kEchoReply = 0;
constexpr int kHeaderSize = 8;
constexpr int kReceiveBuffer = 1024 + 60 + kHeaderSize;  // packet size 1024 plus the headers

QString ErrnoText(int err) { return QString::fromLocal8Bit(std::strerror(err)); }

quint16 Checksum(const unsigned char* p, int n)
{
    quint32 sum = 0;
    for (; n > 1; p += 2, n -= 2) sum += quint32(p[0]) << 8 | p[1];
    if (n == 1) sum += quint32(p[0]) << 8;
    while (sum >> 16) sum = (sum & 0xFFFF) + (sum >> 16);
    return quint16(~sum);
}

in_addr Resolve(const QString& host)
{
    in_addr a{};
    const QByteArray h = host.toLatin1();
    if (host.isEmpty() || h.contains('\0')) throw EIcmpError(QStringLiteral("Invalid host \"%1\"").arg(host));
    if (::inet_pton(AF_INET, h.constData(), &a) == 1) return a;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    addrinfo* res = nullptr;
    const int rc = ::getaddrinfo(h.constData(), nullptr, &hints, &res);
    if (rc != 0 || !res)
        throw EIcmpError(QStringLiteral("Cannot resolve \"%1\": %2").arg(host, QString::fromLocal8Bit(::gai_strerror(rc))));
    a = reinterpret_cast<sockaddr_in*>(res->ai_addr)->sin_addr;
    ::freeaddrinfo(res);
    return a;
}

class TSocketIcmpEcho final : public TIcmpEcho {
public:
    ~TSocketIcmpEcho() override
    {
        if (FSocket >= 0) ::close(FSocket);
    }

    void Send(const QString& host, const QByteArray& data) override
    {
        FTarget = Resolve(host);
        Open();
        FWaiting = true;
        ++FSequence;
        // replies to earlier requests must not answer this one
        Drain();
        QByteArray packet(kHeaderSize, '\0');
        packet += data;
        auto* p = reinterpret_cast<unsigned char*>(packet.data());
        p[0] = kEchoRequest;
        p[4] = FIdent >> 8;
        p[5] = FIdent & 0xFF;
        p[6] = FSequence >> 8;
        p[7] = FSequence & 0xFF;
        const quint16 sum = Checksum(p, int(packet.size()));
        p[2] = sum >> 8;
        p[3] = sum & 0xFF;
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_addr = FTarget;
        if (::sendto(FSocket, packet.constData(), size_t(packet.size()), 0, reinterpret_cast<sockaddr*>(&to), sizeof to) < 0)
            throw EIcmpError(QStringLiteral("Cannot send the echo request: %1").arg(ErrnoText(errno)));
    }

    int Poll() override
    {
        if (FSocket < 0 || !FWaiting) return -1;
        const int n = Drain();
        if (n >= 0) FWaiting = false;
        return n;
    }

private:
    void Open()
    {
        if (FSocket >= 0) return;
        FSocket = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_ICMP);
        FRaw = false;
        if (FSocket < 0) {
            const int dgramErr = errno;
            FSocket = ::socket(AF_INET, SOCK_RAW | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_ICMP);
            FRaw = true;
            if (FSocket < 0)
                throw EIcmpError(QStringLiteral("Cannot open an ICMP socket: %1 / %2").arg(ErrnoText(dgramErr), ErrnoText(errno)));
        }
        FIdent = quint16(::getpid() ^ reinterpret_cast<quintptr>(this));
    }

    // Reads everything queued; the data size of a reply to the current request, else -1.
    int Drain()
    {
        int found = -1;
        unsigned char buf[kReceiveBuffer];
        for (;;) {
            sockaddr_in from{};
            socklen_t len = sizeof from;
            const ssize_t n = ::recvfrom(FSocket, buf, sizeof buf, 0, reinterpret_cast<sockaddr*>(&from), &len);
            if (n < 0) break;  // EAGAIN: nothing more queued; other errors read as no reply
            const int r = ReplySize(buf, int(n), from);
            if (r >= 0) found = r;
        }
        return found;
    }

    int ReplySize(const unsigned char* p, int n, const sockaddr_in& from) const
    {
        if (from.sin_addr.s_addr != FTarget.s_addr) return -1;
        if (FRaw) {
            // a raw socket hands over the IP header too
            if (n < 20) return -1;
            const int ihl = (p[0] & 0x0F) * 4;
            if (n < ihl) return -1;
            p += ihl;
            n -= ihl;
        }
        if (n < kHeaderSize || p[0] != kEchoReply || p[1] != 0) return -1;
        const quint16 seq = quint16(p[6] << 8 | p[7]);
        if (seq != FSequence) return -1;
        // the kernel owns the identifier of a datagram socket and filters by it
        if (FRaw && quint16(p[4] << 8 | p[5]) != FIdent) return -1;
        return n - kHeaderSize;
    }

    int FSocket = -1;
    bool FRaw = false;
    bool FWaiting = false;
    quint16 FIdent = 0;
    quint16 FSequence = 0;
    in_addr FTarget{};
};

IcmpEchoFactory& Factory()
{
    static IcmpEchoFactory f;
    return f;
}
}  // namespace

std::unique_ptr<TIcmpEcho> Create_Socket_Icmp_Echo() { return std::make_unique<TSocketIcmpEcho>(); }

std::unique_ptr<TIcmpEcho> Create_Icmp_Echo() { return Factory() ? Factory()() : Create_Socket_Icmp_Echo(); }

IcmpEchoFactory Set_Icmp_Echo_Factory(IcmpEchoFactory factory)
{
    IcmpEchoFactory old = std::move(Factory());
    Factory() = std::move(factory);
    return old;
}
