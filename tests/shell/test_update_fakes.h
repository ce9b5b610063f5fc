#pragma once
// Fakes for the update windows' tests: a clock that only advances when the echo loop
// pauses, and an ICMP client that answers on a script.
#include "platform/core/icmp.h"
#include "shell/update_ping.h"

#include <utility>
#include <vector>

struct FakeClock : TPingClock {
    qint64 Time = 0;
    qint64 Now() override { return Time; }
    void Pause() override { Time += Ping_Pause_Ms; }
};

// Echo i is answered Replies[i] ms after it was sent (-1 or past the end: never).
struct FakeEcho : TIcmpEcho {
    FakeEcho(TPingClock& clock, std::vector<int> replies) : Clock(clock), Replies(std::move(replies)) {}
    void Send(const QString& host, const QByteArray& data) override
    {
        if (ThrowOnSend == int(Sent.size()) + 1) throw EIcmpError(QStringLiteral("no route"));
        Sent.emplace_back(host, data);
        SentAt = Clock.Now();
        Pending = true;
    }
    int Poll() override
    {
        const size_t i = Sent.size() - 1;
        if (!Pending || i >= Replies.size() || Replies[i] < 0 || Clock.Now() - SentAt < Replies[i]) return -1;
        Pending = false;
        return ReplySize;
    }
    TPingClock& Clock;
    std::vector<int> Replies;
    std::vector<std::pair<QString, QByteArray>> Sent;
    qint64 SentAt = 0;
    bool Pending = false;
    int ReplySize = 10;
    int ThrowOnSend = 0;   // 1-based request that raises
};
