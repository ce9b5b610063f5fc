#pragma once
// ICMP echo to an IPv4 host, used to prove a device's address before an update.
//
// The real client tries an unprivileged ICMP datagram socket first (Linux "ping" sockets,
// allowed by net.ipv4.ping_group_range) and falls back to a raw socket (needs
// CAP_NET_RAW).  Sending never blocks on the reply: the caller polls, so the window stays
// responsive while it waits.  Tests replace the factory with a fake.
#include "platform/core/exception.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>

// The host cannot be resolved, or no ICMP socket can be opened or written.
class EIcmpError : public Exception { using Exception::Exception; };

class TIcmpEcho {
public:
    virtual ~TIcmpEcho() = default;
    // Sends one echo request carrying `data` to `host` (dotted IPv4 or a host name).
    // Throws EIcmpError when the host cannot be resolved or the request cannot be sent.
    virtual void Send(const QString& host, const QByteArray& data) = 0;
    // Without blocking: the number of data bytes the reply to the last request carried,
    // or -1 while no reply has arrived.
    virtual int Poll() = 0;
};

// The client the windows use: the real one unless a test installed a factory.
std::unique_ptr<TIcmpEcho> Create_Icmp_Echo();
std::unique_ptr<TIcmpEcho> Create_Socket_Icmp_Echo();

using IcmpEchoFactory = std::function<std::unique_ptr<TIcmpEcho>()>;
// Replaces the factory; returns the previous one.  An empty function restores the real one.
IcmpEchoFactory Set_Icmp_Echo_Factory(IcmpEchoFactory factory);
