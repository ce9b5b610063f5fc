#pragma once
// A small blocking HTTP/1.0 client on a TCP socket: one GET with exactly the request line
// and headers given, a time-out over the whole exchange, the body of a 2xx answer.
#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>
#include <utility>

struct addrinfo;

struct THttpRequest {
    QString Host;
    int Port = 80;
    QByteArray Target;                                   // path and query, as sent
    QList<std::pair<QByteArray, QByteArray>> Headers;    // in the order they are sent
    int TimeoutMs = 5000;
    qsizetype MaxAnswerBytes = 64 * 1024;               // status line, headers and body
};

struct THttpResult {
    bool Ok = false;
    int Status = 0;
    QByteArray Body;
    QString Error;
};

// The bytes sent for a request: "GET <target> HTTP/1.0", the headers, an empty line.
QByteArray BuildHttp10Request(const THttpRequest& request);
// Ends at the time-out and past MaxAnswerBytes whatever the server does.
THttpResult HttpGet10(const THttpRequest& request);
// The same request on a thread of its own while the calling thread's event loop keeps
// running, so a window waiting for the answer still paints and takes input.  Off the
// application's thread, or without an application, it is HttpGet10.
THttpResult HttpGet10Responsive(const THttpRequest& request);

// The host name lookup, in getaddrinfo's shape.  It has no time-out of its own, so HttpGet10
// runs it on a thread of its own and gives up at the request's deadline.  Tests replace it
// to play a resolver that does not answer; an empty function restores the system's.
using THostLookup = std::function<int(const char* host, const char* port, const addrinfo* hints, addrinfo** result)>;
THostLookup SetHostLookup(THostLookup lookup);

// "host" or "host:port" into its parts; the port stays as given when none is named.
void SplitHostPort(const QString& text, QString& host, int& port);
