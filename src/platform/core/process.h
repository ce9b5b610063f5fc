#pragma once
// Starting external programs and waiting for their end.  Programs are started with
// posix_spawn, so a program left running when the wait gives up outlives it.  The wait
// polls on a clock that tests replace, so no test has to sleep.
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <sys/types.h>

struct TWaitClock {
    std::function<int64_t()> TickMs;        // a millisecond tick count
    std::function<void(int ms)> Sleep;
};
// The clock of every wait; returns the previous one.  An empty clock restores the real one.
TWaitClock SetWaitClock(TWaitClock clock);
const TWaitClock& WaitClock();

struct TStartedProcess {
    pid_t Pid = -1;
    QString Error;                           // the system's text when the start failed
    bool Started() const { return Pid > 0; }
};
// Starts a program with its parameter text, split like a command line (blanks separate,
// double quotes group).
TStartedProcess StartProcess(const QString& program, const QString& parameters);

struct TWaitResult {
    bool Ended = false;                      // false: the wait gave up, the program runs on
    int ExitCode = -1;                       // exit status, or 128 + signal number
};
// Polls every pollMs until the program ends or more than timeoutMs have passed on the wait
// clock.
TWaitResult WaitProcess(pid_t pid, int64_t timeoutMs, int pollMs = 10);
