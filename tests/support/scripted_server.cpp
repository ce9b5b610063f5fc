#include "support/scripted_server.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

int BindLoopback(int& port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    socklen_t len = sizeof a;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
    port = ntohs(a.sin_port);
    return fd;
}

TScriptedServer::TScriptedServer(TScript script) : FEnd(std::chrono::steady_clock::now() + std::chrono::seconds(10))
{
    FListen = BindLoopback(FPort);
    ::listen(FListen, 1);
    FThread = std::thread([this, script = std::move(script)] {
        pollfd p{FListen, POLLIN, 0};
        while (Going() && ::poll(&p, 1, 50) == 0) {
        }
        if (!Going() || (FConn = ::accept(FListen, nullptr, nullptr)) < 0) return;
        QByteArray request;
        char buf[2048];
        while (!request.contains("\r\n\r\n") && Going()) {
            pollfd q{FConn, POLLIN, 0};
            if (::poll(&q, 1, 50) == 0) continue;
            const ssize_t n = ::recv(FConn, buf, sizeof buf, 0);
            if (n <= 0) return;
            request.append(buf, n);
        }
        script(*this);
        // the answer ends when the script does
        ::shutdown(FConn, SHUT_RDWR);
    });
}

TScriptedServer::~TScriptedServer()
{
    FStop = true;
    if (FThread.joinable()) FThread.join();
    if (FConn >= 0) ::close(FConn);
    ::close(FListen);
}

bool TScriptedServer::Going() const { return !FStop && std::chrono::steady_clock::now() < FEnd; }

bool TScriptedServer::Send(const QByteArray& data)
{
    qsizetype done = 0;
    while (done < data.size()) {
        if (!Going()) return false;
        pollfd q{FConn, POLLOUT, 0};
        if (::poll(&q, 1, 50) == 0) continue;
        const ssize_t n = ::send(FConn, data.constData() + done, data.size() - done, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
        if (n <= 0) return false;
        done += n;
        FSent += n;
    }
    return true;
}

bool TScriptedServer::Pause(int ms)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < until) {
        if (!Going()) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(std::min(ms, 10)));
    }
    return Going();
}
