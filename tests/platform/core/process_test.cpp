#include "platform/core/process.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/wait.h>

namespace {
QString Script(const QTemporaryDir& dir, const QString& name, const QByteArray& body, bool executable = true)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write("#!/bin/sh\n" + body + "\n");
    f.close();
    if (executable) f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

// A clock that advances only when the wait sleeps.
struct FakeClock {
    int64_t Now = 1000;
    int Sleeps = 0;
    int LastSleep = 0;
    TWaitClock Old;
    FakeClock()
    {
        Old = SetWaitClock({[this] { return Now; }, [this](int ms) { Now += ms; ++Sleeps; LastSleep = ms; }});
    }
    ~FakeClock() { SetWaitClock(Old); }
};
}  // namespace

TEST(Process, StartsWithSplitParametersAndReturnsExitCode)
{
    QTemporaryDir dir;
    const QString out = dir.filePath("args.txt");
    const QString prog = Script(dir, "Ethernet_Update.exe", "for a in \"$@\"; do echo \"$a\" >> '" + out.toUtf8() + "'; done\nexit 7");
    const TStartedProcess p = StartProcess(prog, "one \"two words\" three");
    ASSERT_TRUE(p.Started()) << p.Error.toStdString();
    const TWaitResult r = WaitProcess(p.Pid, 150000 - 1);
    EXPECT_TRUE(r.Ended);
    EXPECT_EQ(r.ExitCode, 7);
    QFile f(out);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("one\ntwo words\nthree\n"));
}

TEST(Process, StartFailureCarriesSystemText)
{
    QTemporaryDir dir;
    const TStartedProcess missing = StartProcess(dir.filePath("Nothing.exe"), QString());
    EXPECT_FALSE(missing.Started());
    EXPECT_EQ(missing.Error, QString::fromLocal8Bit(strerror(ENOENT)));
    const TStartedProcess notExec = StartProcess(Script(dir, "plain.exe", "exit 0", false), QString());
    EXPECT_FALSE(notExec.Started());
    EXPECT_EQ(notExec.Error, QString::fromLocal8Bit(strerror(EACCES)));
}

TEST(Process, WaitGivesUpAfterTimeoutOnTheClockAndLeavesProgramRunning)
{
    QTemporaryDir dir;
    const TStartedProcess p = StartProcess(Script(dir, "slow.exe", "exec sleep 30"), QString());
    ASSERT_TRUE(p.Started());
    FakeClock clock;
    const TWaitResult r = WaitProcess(p.Pid, 149999);
    EXPECT_FALSE(r.Ended);
    // gives up at the first poll more than 149999 ms after the start, polling every 10 ms
    EXPECT_EQ(clock.Now - 1000, 150000);
    EXPECT_EQ(clock.Sleeps, 15000);
    EXPECT_EQ(clock.LastSleep, 10);
    EXPECT_EQ(kill(p.Pid, 0), 0);  // still running
    kill(p.Pid, SIGKILL);
}
