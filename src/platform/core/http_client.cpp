#include "platform/core/http_client.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <system_error>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {
using Clock = std::chrono::steady_clock;

int Remaining(Clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

struct Socket {
    int Fd = -1;
    ~Socket()
    {
        if (Fd >= 0) ::close(Fd);
    }
};

QString SysText(int err) { return QString::fromLocal8Bit(std::strerror(err)); }

THostLookup& HostLookup()
{
    static THostLookup lookup;
    return lookup;
}

// One lookup shared by the waiting request and the thread that runs it; whichever comes
// last frees the answer.
struct TLookupState {
    std::mutex M;
    std::condition_variable Cv;
    bool Done = false;
    bool Abandoned = false;
    int Rc = EAI_AGAIN;
    addrinfo* List = nullptr;
};

// The system's lookup can wait far longer than the request may (a resolver that does not
// answer): it runs on a thread of its own, and one still running at the deadline is left
// to finish by itself.
bool Lookup(const THttpRequest& rq, Clock::time_point deadline, addrinfo*& list, QString& error)
{
    auto state = std::make_shared<TLookupState>();
    const THostLookup lookup = HostLookup();
    std::thread worker;
    try {
        worker = std::thread([state, lookup, host = rq.Host.toUtf8(), port = QByteArray::number(rq.Port)] {
            addrinfo hints{};
            hints.ai_family = AF_UNSPEC;
            hints.ai_socktype = SOCK_STREAM;
            addrinfo* found = nullptr;
            const int rc = lookup ? lookup(host.constData(), port.constData(), &hints, &found)
                                  : getaddrinfo(host.constData(), port.constData(), &hints, &found);
            std::lock_guard<std::mutex> lock(state->M);
            if (state->Abandoned) {
                if (rc == 0 && found) freeaddrinfo(found);
                return;
            }
            state->Rc = rc;
            state->List = rc == 0 ? found : nullptr;
            state->Done = true;
            state->Cv.notify_one();
        });
    } catch (const std::system_error& e) {
        error = QString::fromLocal8Bit(e.what());
        return false;
    }
    worker.detach();
    std::unique_lock<std::mutex> lock(state->M);
    if (!state->Cv.wait_until(lock, deadline, [&] { return state->Done; })) {
        state->Abandoned = true;
        error = QStringLiteral("Host name lookup timed out");
        return false;
    }
    if (state->Rc != 0) {
        error = QString::fromLocal8Bit(gai_strerror(state->Rc));
        return false;
    }
    list = state->List;
    return true;
}

// Connects to the first address that answers before the deadline.
bool Connect(const THttpRequest& rq, Socket& s, Clock::time_point deadline, QString& error)
{
    addrinfo* list = nullptr;
    if (!Lookup(rq, deadline, list, error)) return false;
    error = QStringLiteral("Connection failed");
    bool ok = false;
    for (addrinfo* a = list; a && !ok; a = a->ai_next) {
        Socket c;
        c.Fd = ::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
        if (c.Fd < 0) continue;
        if (::connect(c.Fd, a->ai_addr, a->ai_addrlen) != 0) {
            if (errno != EINPROGRESS) {
                error = SysText(errno);
                continue;
            }
            pollfd p{c.Fd, POLLOUT, 0};
            const int pr = ::poll(&p, 1, Remaining(deadline));
            if (pr <= 0) {
                error = pr == 0 ? QStringLiteral("Connection timed out") : SysText(errno);
                continue;
            }
            int err = 0;
            socklen_t len = sizeof err;
            ::getsockopt(c.Fd, SOL_SOCKET, SO_ERROR, &err, &len);
            if (err != 0) {
                error = SysText(err);
                continue;
            }
        }
        std::swap(s.Fd, c.Fd);
        ok = true;
    }
    freeaddrinfo(list);
    return ok;
}

bool SendAll(int fd, const QByteArray& data, Clock::time_point deadline, QString& error)
{
    qsizetype done = 0;
    while (done < data.size()) {
        pollfd p{fd, POLLOUT, 0};
        if (::poll(&p, 1, Remaining(deadline)) <= 0) {
            error = QStringLiteral("Send timed out");
            return false;
        }
        const ssize_t n = ::send(fd, data.constData() + done, data.size() - done, MSG_NOSIGNAL);
        if (n < 0) {
            if (errno == EAGAIN || errno == EINTR) continue;
            error = SysText(errno);
            return false;
        }
        done += n;
    }
    return true;
}

// Reads until the server closes (an HTTP/1.0 answer ends so) or the body is complete, and
// gives up at the deadline or past the size limit, whatever the server keeps sending.
bool ReceiveAll(int fd, QByteArray& data, qsizetype limit, Clock::time_point deadline, QString& error)
{
    char buf[4096];
    for (;;) {
        const int hdrEnd = data.indexOf("\r\n\r\n");
        if (hdrEnd >= 0) {
            const QByteArray head = data.left(hdrEnd).toLower();
            const int cl = head.indexOf("\r\ncontent-length:");
            if (cl >= 0) {
                const int eol = head.indexOf("\r\n", cl + 2);
                bool ok = false;
                const long long len = head.mid(cl + 17, (eol < 0 ? head.size() : eol) - cl - 17).trimmed().toLongLong(&ok);
                if (ok && data.size() - hdrEnd - 4 >= len) return true;
            }
        }
        if (data.size() > limit) {
            error = QStringLiteral("Answer too large");
            return false;
        }
        // a poll without time left still reports data that keeps coming
        const int left = Remaining(deadline);
        if (left == 0) {
            error = QStringLiteral("Read timed out");
            return false;
        }
        pollfd p{fd, POLLIN, 0};
        const int pr = ::poll(&p, 1, left);
        if (pr == 0) continue;
        if (pr < 0) {
            if (errno == EINTR) continue;
            error = SysText(errno);
            return false;
        }
        const ssize_t n = ::recv(fd, buf, std::min<qsizetype>(sizeof buf, limit + 1 - data.size()), 0);
        if (n == 0) return true;
        if (n < 0) {
            if (errno == EAGAIN || errno == EINTR) continue;
            error = SysText(errno);
            return false;
        }
        data.append(buf, n);
    }
}
}  // namespace

QByteArray BuildHttp10Request(const THttpRequest& rq)
{
    QByteArray out = "GET " + rq.Target + " HTTP/1.0\r\n";
    for (const auto& h : rq.Headers) out += h.first + ": " + h.second + "\r\n";
    out += "\r\n";
    return out;
}

THttpResult HttpGet10(const THttpRequest& rq)
{
    THttpResult r;
    const auto deadline = Clock::now() + std::chrono::milliseconds(rq.TimeoutMs);
    Socket s;
    if (!Connect(rq, s, deadline, r.Error)) return r;
    if (!SendAll(s.Fd, BuildHttp10Request(rq), deadline, r.Error)) return r;
    QByteArray data;
    if (!ReceiveAll(s.Fd, data, rq.MaxAnswerBytes, deadline, r.Error)) return r;
    const int eol = data.indexOf("\r\n");
    const QByteArray statusLine = data.left(eol < 0 ? data.size() : eol);
    const QList<QByteArray> parts = statusLine.split(' ');
    if (parts.size() < 2 || !parts[0].startsWith("HTTP/")) {
        r.Error = QStringLiteral("Not an HTTP answer");
        return r;
    }
    r.Status = parts[1].toInt();
    const int hdrEnd = data.indexOf("\r\n\r\n");
    r.Body = hdrEnd < 0 ? QByteArray() : data.mid(hdrEnd + 4);
    if (r.Status < 200 || r.Status > 299) {
        r.Error = QString::fromLatin1(statusLine);
        return r;
    }
    r.Ok = true;
    return r;
}

THttpResult HttpGet10Responsive(const THttpRequest& rq)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() != app->thread()) return HttpGet10(rq);
    struct TShared {
        THttpResult Result;
        std::atomic_bool Done = false;
    };
    // shared with a worker that may outlive this call when the application quits meanwhile
    auto shared = std::make_shared<TShared>();
    std::unique_ptr<QThread> worker(QThread::create([rq, shared] {
        shared->Result = HttpGet10(rq);
        shared->Done = true;
    }));
    QEventLoop loop;
    QObject::connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
    worker->start();
    loop.exec();
    if (shared->Done) {
        worker->wait();
        return shared->Result;
    }
    // the application quits meanwhile: the thread ends by itself and frees its object
    QObject::connect(worker.get(), &QThread::finished, worker.get(), &QObject::deleteLater);
    worker.release();
    THttpResult r;
    r.Error = QStringLiteral("Abandoned");
    return r;
}

THostLookup SetHostLookup(THostLookup lookup)
{
    THostLookup old = HostLookup();
    HostLookup() = std::move(lookup);
    return old;
}

void SplitHostPort(const QString& text, QString& host, int& port)
{
    host = text.trimmed();
    const int colon = host.lastIndexOf(QLatin1Char(':'));
    // a bare IPv6 address holds several colons and no port
    if (colon > 0 && host.indexOf(QLatin1Char(':')) == colon) {
        bool ok = false;
        const int p = host.mid(colon + 1).toInt(&ok);
        if (ok && p > 0 && p < 65536) port = p;
        host = host.left(colon);
    }
}
