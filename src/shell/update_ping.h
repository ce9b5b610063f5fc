#pragma once
// Proving a device's address before an Ethernet update: the address check and the echo
// loop of the update windows.
#include <QString>
#include <functional>

class TIcmpEcho;

// Milliseconds and the 10 ms pause of the echo loop.  The real clock handles pending
// window events in each pause, so the window stays responsive during a check; tests
// install a fake that only advances its time.
class TPingClock {
public:
    virtual ~TPingClock() = default;
    virtual qint64 Now() = 0;
    virtual void Pause() = 0;
};
TPingClock& Real_Ping_Clock();

constexpr int Echo_Timeout_Ms = 400;
constexpr int Ping_Pause_Ms = 10;
constexpr int TCP_Ping_Limit_Ms = 10000;   // the two-page Ethernet window
constexpr int Boot_Ping_Limit_Ms = 5000;   // the one-page Ethernet window

// Status of one echo, as the windows keep it.
enum TPingStatus : int { psNone = 0, psAnswered = 1, psNoData = 2 };

struct TPingResult {
    int Status = psNone;    // of the last echo that ended
    bool Error = false;     // the check was broken off (unresolvable host, socket failure)
    QString ErrorText;
    bool Found() const { return !Error && Status == psAnswered; }
};

// Sends echoes carrying the address text until two were answered with data or more than
// limitMs have passed; each echo waits at most Echo_Timeout_Ms for its reply.  The result
// is the status of the last echo.  onReply gets the data size of each echo's reply (0
// when it timed out).
TPingResult Ping_Check(TIcmpEcho& echo, const QString& address, int limitMs, TPingClock& clock,
                       const std::function<void(int bytesReceived)>& onReply = {});

// The device address from the four octet texts: each, trimmed, must be one to three
// decimal digits of value 0..255.  Gives the canonical dotted text (no blanks, no leading
// zeros) so that nothing the user typed reaches a ping, a job file or an argument list
// unchecked.
bool Device_Address(const QString& p1, const QString& p2, const QString& p3, const QString& p4, QString& address);
