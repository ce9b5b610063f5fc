#include "platform/core/process.h"

#include <QProcess>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <vector>

extern char** environ;

namespace {
TWaitClock RealClock()
{
    return TWaitClock{
        [] {
            return static_cast<int64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                            std::chrono::steady_clock::now().time_since_epoch())
                                            .count());
        },
        [](int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }};
}

TWaitClock& Clock()
{
    static TWaitClock c = RealClock();
    return c;
}

// Children whose wait gave up: collected once they have ended, so none stays a zombie.
std::vector<pid_t>& Abandoned()
{
    static std::vector<pid_t> list;
    return list;
}

void ReapAbandoned()
{
    auto& list = Abandoned();
    for (auto it = list.begin(); it != list.end();) {
        int status = 0;
        const pid_t r = waitpid(*it, &status, WNOHANG);
        if (r == 0) ++it;
        else it = list.erase(it);
    }
}
}  // namespace

TWaitClock SetWaitClock(TWaitClock clock)
{
    TWaitClock old = Clock();
    Clock() = (clock.TickMs && clock.Sleep) ? std::move(clock) : RealClock();
    return old;
}

const TWaitClock& WaitClock() { return Clock(); }

TStartedProcess StartProcess(const QString& program, const QString& parameters)
{
    ReapAbandoned();
    TStartedProcess result;
    QStringList args = QProcess::splitCommand(parameters);
    std::vector<QByteArray> store;
    store.push_back(program.toLocal8Bit());
    for (const QString& a : args) store.push_back(a.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& b : store) argv.push_back(b.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    const int rc = posix_spawn(&pid, store.front().constData(), nullptr, nullptr, argv.data(), environ);
    if (rc != 0) {
        result.Error = QString::fromLocal8Bit(std::strerror(rc));
        return result;
    }
    result.Pid = pid;
    return result;
}

TWaitResult WaitProcess(pid_t pid, int64_t timeoutMs, int pollMs)
{
    TWaitResult r;
    if (pid <= 0) return r;
    const TWaitClock& clock = Clock();
    const int64_t t0 = clock.TickMs();
    for (;;) {
        int status = 0;
        const pid_t w = waitpid(pid, &status, WNOHANG);
        if (w == pid) {
            r.Ended = true;
            r.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : WIFSIGNALED(status) ? 128 + WTERMSIG(status) : -1;
            return r;
        }
        if (w < 0 && errno != EINTR) {  // not our child (any more): nothing to wait for
            r.Ended = true;
            return r;
        }
        if (clock.TickMs() - t0 > timeoutMs) {
            Abandoned().push_back(pid);
            return r;
        }
        clock.Sleep(pollMs);
    }
}
