#include "shell/update_commands.h"

#include "platform/core/paths.h"
#include "state/shared_state.h"

namespace {
// Per model: the code in the program and firmware names, and whether the program takes
// the bin folder instead of bank.bin.
struct TUpdaterRow {
    int Model;
    const char* Code;
    bool BinFolder;
};

constexpr TUpdaterRow kCanRows[] = {
    {0, "58891", false}, {4, "58896", false}, {5, "58890", true},
    {6, "58897", false}, {8, "58895", false}, {1006, "QTB900", false},
};
constexpr TUpdaterRow kSerRows[] = {{7, "58872", true}, {9, "58871", true}};
constexpr TUpdaterRow kUsbRows[] = {{0, "58891", false}, {4, "58896", false}, {5, "58890", true}, {6, "58897", false}};

template <size_t N>
const TUpdaterRow* Find(const TUpdaterRow (&rows)[N], int model)
{
    for (const TUpdaterRow& r : rows)
        if (r.Model == model) return &r;
    return nullptr;
}

QString Program(const char* kind, const QString& code)
{
    return PathJoin(Exe_Dir, QStringLiteral("%1_%2_Update.exe").arg(QLatin1String(kind), code));
}

QString Firmware(const QString& name) { return FindFileNoCase(PathJoin(Master_Dir, name)); }

// The firmware file and the configuration (bank.bin, or the bin folder ending in a separator).
void AddFiles(QStringList& args, const TUpdaterRow& r)
{
    args << Firmware(QStringLiteral("sim%1.sim").arg(QLatin1String(r.Code)));
    const QString bin = PathJoin(Conf_Dir, QStringLiteral("bin"));
    args << (r.BinFolder ? bin + QLatin1Char('/') : PathJoin(bin, QStringLiteral("bank.bin")));
}

QString WinDevice(const QString& comPort) { return QStringLiteral("\\\\.\\") + comPort; }
}  // namespace

QStringList Option_Words(const TUpdateChoice& c)
{
    const QString no = QStringLiteral("NO");
    return {c.Firmware ? QStringLiteral("FW") : no, c.Read_Firm ? QStringLiteral("FR") : no,
            c.Conf ? QStringLiteral("PW") : no, c.Read_Conf ? QStringLiteral("PR") : no};
}

QStringList Update_Option_Words(int option, bool readBack)
{
    // firmware-only leaves the configuration's read-back off and vice versa
    TUpdateChoice c = Update_Choice_From_Option(option, readBack);
    c.Read_Firm = c.Firmware && readBack;
    c.Read_Conf = c.Conf && readBack;
    return Option_Words(c);
}

TUpdateCommand CAN_Update_Command(int modelCode, const QString& comPort, int baudIndex, const TUpdateChoice& c)
{
    const TUpdaterRow* r = Find(kCanRows, modelCode);
    if (!r) return {};
    TUpdateCommand cmd{Program("CAN", QLatin1String(r->Code)), {comPort, QString::number(baudIndex)}};
    cmd.Arguments << Option_Words(c);
    AddFiles(cmd.Arguments, *r);
    return cmd;
}

TUpdateCommand Ser_Update_Command(int modelCode, const QString& comPort, const TUpdateChoice& c)
{
    const TUpdaterRow* r = Find(kSerRows, modelCode);
    if (!r) return {};
    TUpdateCommand cmd{Program("Ser", QLatin1String(r->Code)), {WinDevice(comPort)}};
    cmd.Arguments << Option_Words(c);
    if (modelCode == 7) cmd.Arguments << QStringLiteral("PG") << QStringLiteral("LP");
    AddFiles(cmd.Arguments, *r);
    return cmd;
}

TUpdateCommand USB_Update_Command(int modelCode, const QString& comPort, int option, bool readBack)
{
    const TUpdaterRow* r = Find(kUsbRows, modelCode);
    if (!r) return {};
    TUpdateCommand cmd{Program("USB", QLatin1String(r->Code)), {WinDevice(comPort)}};
    cmd.Arguments << Update_Option_Words(option, readBack);
    AddFiles(cmd.Arguments, *r);
    return cmd;
}

TUpdateCommand TCP_Update_Command(int modelCode, const QString& address, const TUpdateChoice& c)
{
    const char* code = nullptr;
    const char* firmware = nullptr;
    const char* bank = "bank.bin";
    switch (modelCode) {
    case 1: code = "58893"; firmware = "sim58893.sim"; break;
    case 3: code = "58894"; firmware = "sim58894.sim"; break;
    case 9: code = "58871K"; firmware = "Sim58894.sim"; bank = "bank_k.bin"; break;
    default: return {};
    }
    TUpdateCommand cmd{Program("TCP", QLatin1String(code)), {address, QStringLiteral("2007")}};
    cmd.Arguments << Option_Words(c);
    cmd.Arguments << Firmware(QLatin1String(firmware));
    cmd.Arguments << PathJoin(Conf_Dir, QStringLiteral("bin"), QLatin1String(bank));
    return cmd;
}

bool Parameter_Text(const TUpdateCommand& cmd, QString& text)
{
    QStringList parts;
    for (const QString& a : cmd.Arguments) {
        if (a.contains(QLatin1Char('"'))) return false;
        bool quote = a.isEmpty() || a.contains(QLatin1Char('/'));
        for (const QChar c : a) quote = quote || c.isSpace();
        parts << (quote ? QLatin1Char('"') + a + QLatin1Char('"') : a);
    }
    text = parts.join(QLatin1Char(' '));
    return true;
}
