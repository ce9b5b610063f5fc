#include "platform/core/http_client.h"
#include "support/scripted_server.h"

#include <QElapsedTimer>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

const QByteArray kHead = "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n";

THttpRequest LocalRequest(const TScriptedServer& server, int timeoutMs)
{
    THttpRequest rq;
    rq.Host = QStringLiteral("127.0.0.1");
    rq.Port = server.Port();
    rq.Target = "/v";
    rq.TimeoutMs = timeoutMs;
    return rq;
}

// The exchange ends at its time-out or its size limit whatever the server keeps doing.
TEST(HttpGet10, EndsAtItsLimitsWhateverTheServerSends)
{
    struct Case {
        const char* Name;
        TScriptedServer::TScript Script;
        bool Ok;
        QByteArray Body;
    };
    const QByteArray chunk(4096, 'x');
    const Case cases[] = {
        {"endless body", [&](TScriptedServer& s) { if (s.Send(kHead)) while (s.Send(chunk)) {} }, false, {}},
        {"trickle that never ends", [](TScriptedServer& s) { if (s.Send(kHead)) while (s.Pause(5) && s.Send("x")) {} }, false, {}},
        {"a megabyte and close", [](TScriptedServer& s) { s.Send(kHead + QByteArray(1 << 20, 'x')); }, false, {}},
        {"a body within the limit", [](TScriptedServer& s) { s.Send(kHead + QByteArray(60000, 'y')); }, true,
         QByteArray(60000, 'y')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TScriptedServer server(c.Script);
        QElapsedTimer clock;
        clock.start();
        const THttpResult r = HttpGet10(LocalRequest(server, 500));
        EXPECT_LT(clock.elapsed(), 3000);
        EXPECT_EQ(r.Ok, c.Ok) << r.Error.toStdString();
        EXPECT_EQ(r.Body, c.Body);
    }
}

// The waiting thread's events keep flowing while the server takes its time.
TEST(HttpGet10, ResponsiveGetKeepsTheEventLoopRunning)
{
    TScriptedServer server([](TScriptedServer& s) {
        if (s.Pause(300)) s.Send(kHead + "VER. 1.300");
    });
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(20);
    const THttpResult r = HttpGet10Responsive(LocalRequest(server, 5000));
    EXPECT_TRUE(r.Ok) << r.Error.toStdString();
    EXPECT_EQ(r.Body, QByteArray("VER. 1.300"));
    EXPECT_GE(ticks, 5);
}

}  // namespace
