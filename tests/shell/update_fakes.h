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

#include <QFile>
#include <QStringList>

// An update program standing in at `path`: it writes each of its arguments on a line of
// <path>.args and, when the job file lies beside it, a copy of it to <path>.job.
inline void Put_Recorder(const QString& path)
{
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write("#!/bin/sh\n"
            "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$0.args\"\n"
            "[ -f \"${0%/*}/Ethernet_Update.xml\" ] && cp \"${0%/*}/Ethernet_Update.xml\" \"$0.job\"\n"
            "exit 0\n");
    f.close();
    f.setPermissions(f.permissions() | QFile::ExeOwner);
}

// The arguments the stand-in at `path` was started with; false when it never ran.
inline bool Recorded_Args(const QString& path, QStringList& args)
{
    QFile f(path + QStringLiteral(".args"));
    if (!f.open(QIODevice::ReadOnly)) return false;
    args = QString::fromLocal8Bit(f.readAll()).split(QLatin1Char('\n'));
    args.removeLast();   // after the last line's end
    return true;
}
