// The echo loop on a fake clock, and the device address check.
#include "platform/core/icmp.h"
#include "shell/update_ping.h"
#include "shell/update_fakes.h"

#include <gtest/gtest.h>

TEST(PingCheck, EndsByTwoAnswersOrByTheTimeLimit)
{
    // each echo's reply time in ms (-1: never answered); a lost echo ends after 410 ms,
    // the first pause past the 400 ms time-out
    const std::vector<int> never(40, -1);
    std::vector<int> goodThenLost(40, -1), lateGood(40, -1), alternating;
    goodThenLost[24] = 0;                     // echoes 1..24 lost end at 9840, 25 good at 9850, 26 lost at 10260
    lateGood[24] = 200;                       // echo 25 answered at 10040: past the limit, found with one answer
    for (int i = 0; i < 10; ++i) alternating.push_back(i % 2 ? 0 : -1);
    struct Case {
        const char* Name;
        std::vector<int> Replies;
        int LimitMs;
        int Echoes;
        int Status;
        qint64 EndsAt;
    } cases[] = {
        {"always answers", std::vector<int>(5, 0), TCP_Ping_Limit_Ms, 2, psAnswered, 20},
        {"never answers", never, TCP_Ping_Limit_Ms, 25, psNoData, 10250},
        {"never answers, short limit", never, Boot_Ping_Limit_Ms, 13, psNoData, 5330},
        {"lost and good alternate", alternating, TCP_Ping_Limit_Ms, 4, psAnswered, 840},
        {"good then lost", goodThenLost, TCP_Ping_Limit_Ms, 26, psNoData, 10260},
        {"lost then good", lateGood, TCP_Ping_Limit_Ms, 25, psAnswered, 10040},
    };
    for (const Case& c : cases) {
        FakeClock clock;
        FakeEcho echo(clock, c.Replies);
        std::vector<int> replies;
        const TPingResult r = Ping_Check(echo, QStringLiteral("10.1.2.3"), c.LimitMs, clock, [&](int n) { replies.push_back(n); });
        EXPECT_EQ(echo.Sent.size(), size_t(c.Echoes)) << c.Name;
        EXPECT_EQ(replies.size(), size_t(c.Echoes)) << c.Name;
        EXPECT_EQ(r.Status, c.Status) << c.Name;
        EXPECT_FALSE(r.Error) << c.Name;
        EXPECT_EQ(r.Found(), c.Status == psAnswered) << c.Name;
        EXPECT_EQ(clock.Time, c.EndsAt) << c.Name;
    }
}

TEST(PingCheck, EchoCarriesTheAddressAndAnEmptyReplyCountsAsLost)
{
    FakeClock clock;
    FakeEcho echo(clock, std::vector<int>(30, 0));
    echo.ReplySize = 0;
    const TPingResult r = Ping_Check(echo, QStringLiteral("10.1.2.3"), TCP_Ping_Limit_Ms, clock);
    ASSERT_FALSE(echo.Sent.empty());
    EXPECT_EQ(echo.Sent[0], std::make_pair(QStringLiteral("10.1.2.3"), QByteArray("10.1.2.3")));
    EXPECT_EQ(r.Status, psNoData);
    EXPECT_FALSE(r.Found());
}

TEST(PingCheck, FailureBreaksOffAndKeepsTheLastStatus)
{
    FakeClock clock;
    FakeEcho echo(clock, {0, 0});
    echo.ThrowOnSend = 2;   // the second request cannot be sent
    const TPingResult r = Ping_Check(echo, QStringLiteral("10.1.2.3"), TCP_Ping_Limit_Ms, clock);
    EXPECT_TRUE(r.Error);
    EXPECT_EQ(r.Status, psAnswered);
    EXPECT_FALSE(r.Found());
    EXPECT_EQ(r.ErrorText, "no route");
}

TEST(DeviceAddress, OnlyFourDecimalOctetsPass)
{
    struct Case {
        QStringList Parts;
        const char* Address;   // nullptr: refused
    } cases[] = {
        {{"192", "168", "2", "205"}, "192.168.2.205"},
        {{" 10 ", "\t0", "0 ", "255"}, "10.0.0.255"},
        {{"010", "001", "0", "00"}, "10.1.0.0"},
        {{"300", "1", "1", "1"}, nullptr},
        {{"1", "1", "1", "256"}, nullptr},
        {{"a", "1", "1", "1"}, nullptr},
        {{"1", "1", "1", ""}, nullptr},
        {{"1", "1", "1", "5."}, nullptr},
        {{"0x1", "1", "1", "1"}, nullptr},
        {{"-1", "1", "1", "1"}, nullptr},
        {{"1", "1", "1", "1 -o"}, nullptr},
        {{"1", "1 1", "1", "1"}, nullptr},
        {{"0001", "1", "1", "1"}, nullptr},
    };
    for (const Case& c : cases) {
        QString a = QStringLiteral("unchanged");
        const bool ok = Device_Address(c.Parts[0], c.Parts[1], c.Parts[2], c.Parts[3], a);
        EXPECT_EQ(ok, c.Address != nullptr) << c.Parts.join('|').toStdString();
        if (c.Address) EXPECT_EQ(a, c.Address);
        else EXPECT_EQ(a, "unchanged");
    }
}
