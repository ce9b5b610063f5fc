#include "platform/core/icmp.h"

#include <QElapsedTimer>
#include <QThread>
#include <gtest/gtest.h>

namespace {
// Loopback answers at once; the bound only guards against a hang.
int WaitForReply(TIcmpEcho& echo)
{
    QElapsedTimer t;
    t.start();
    for (;;) {
        const int n = echo.Poll();
        if (n >= 0 || t.elapsed() > 2000) return n;
        QThread::usleep(200);
    }
}
}  // namespace

TEST(IcmpEcho, LoopbackAnswersEachRequestWithItsData)
{
    auto echo = Create_Socket_Icmp_Echo();
    EXPECT_EQ(echo->Poll(), -1);
    try {
        echo->Send(QStringLiteral("127.0.0.1"), QByteArray("127.0.0.1"));
    } catch (const EIcmpError& e) {
        GTEST_SKIP() << "no ICMP socket on this machine: " << e.what();
    }
    EXPECT_EQ(WaitForReply(*echo), 9);
    // the reply is consumed: nothing more until the next request
    EXPECT_EQ(echo->Poll(), -1);
    echo->Send(QStringLiteral("127.0.0.1"), QByteArray(100, 'x'));
    EXPECT_EQ(WaitForReply(*echo), 100);
}

TEST(IcmpEcho, HostThatIsNoAddressRaises)
{
    auto echo = Create_Socket_Icmp_Echo();
    EXPECT_THROW(echo->Send(QString(), QByteArray("x")), EIcmpError);
}
