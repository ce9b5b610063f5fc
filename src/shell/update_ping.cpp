#include "shell/update_ping.h"

#include "platform/core/icmp.h"
#include "platform/core/sysutils.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

namespace {
class TRealPingClock final : public TPingClock {
public:
    TRealPingClock() { FTimer.start(); }
    qint64 Now() override { return FTimer.elapsed(); }
    void Pause() override
    {
        QThread::msleep(Ping_Pause_Ms);
        QCoreApplication::processEvents();
    }

private:
    QElapsedTimer FTimer;
};
}  // namespace

TPingClock& Real_Ping_Clock()
{
    static TRealPingClock clock;
    return clock;
}

TPingResult Ping_Check(TIcmpEcho& echo, const QString& address, int limitMs, TPingClock& clock,
                       const std::function<void(int)>& onReply)
{
    TPingResult r;
    try {
        const qint64 start = clock.Now();
        int good = 0;
        do {
            const qint64 t = clock.Now();
            echo.Send(address, address.toLatin1());
            int bytes = -1;
            for (;;) {
                clock.Pause();
                bytes = echo.Poll();
                if (bytes >= 0) break;
                if (clock.Now() - t > Echo_Timeout_Ms) {
                    bytes = 0;
                    break;
                }
            }
            r.Status = bytes > 0 ? psAnswered : psNoData;
            if (onReply) onReply(bytes);
            if (r.Status == psAnswered) ++good;
        } while (good < 2 && clock.Now() - start <= limitMs);
    } catch (const Exception& e) {
        r.Error = true;
        r.ErrorText = e.Message();
    }
    return r;
}

bool Device_Address(const QString& p1, const QString& p2, const QString& p3, const QString& p4, QString& address)
{
    QStringList octets;
    for (const QString* p : {&p1, &p2, &p3, &p4}) {
        const QString s = Trim(*p);
        if (s.isEmpty() || s.size() > 3) return false;
        for (const QChar c : s)
            if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
        const int v = s.toInt();
        if (v > 255) return false;
        octets << QString::number(v);
    }
    address = octets.join(QLatin1Char('.'));
    return true;
}
