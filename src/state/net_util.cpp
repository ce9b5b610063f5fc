#include "state/net_util.h"

#include "platform/core/serial_ports.h"
#include "platform/core/sysutils.h"

bool Split_IP_Address(const QString& ip, QString& part1, QString& part2, QString& part3, QString& part4)
{
    QString s = Trim(ip);
    QString* parts[3] = {&part1, &part2, &part3};
    for (QString* part : parts) {
        const int p = s.indexOf(QLatin1Char('.'));
        if (p < 0) return false;
        *part = Trim(s.left(p));
        s = Trim(s.mid(p + 1));
    }
    part4 = Trim(s);
    bool ok = true;
    for (const QString* part : {&part1, &part2, &part3, &part4}) {
        const int v = StrToIntDef(*part, 1000);
        if (v < 0 || v > 255) ok = false;
    }
    return ok;
}

QStringList Enum_Com_Ports()
{
    QStringList list;
    for (int n = 1; n <= Com_Port_Candidates; ++n) {
        const TComProbe r = Probe_Com_Port(n);
        if (r == TComProbe::Opened || r == TComProbe::AccessDenied) list << QString::number(n);
    }
    return list;
}
