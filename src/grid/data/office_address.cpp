// A1 addresses and number texts of the office exchange.
#include "grid/data/office_address.h"

#include "platform/core/format_settings.h"
#include "platform/core/sysutils.h"

#include <QFile>
#include <QLocale>
#include <algorithm>

QString XLSColumnName(int Col)
{
    QString s;
    for (int n = Col; n > 0; n = (n - 1) / 26) s.prepend(QChar(u'A' + (n - 1) % 26));
    return s;
}

int XLSColumnNumber(const QString& Letters)
{
    if (Letters.isEmpty()) return -1;
    qint64 n = 0;
    for (QChar ch : Letters) {
        const char16_t c = QChar::toUpper(ch.unicode());
        if (c < u'A' || c > u'Z') return -1;
        n = n * 26 + (c - u'A' + 1);
        if (n > MaxXLSColumn) return -1;
    }
    return int(n);
}

QString XLSRangeAddress(int FirstCol, int FirstRow, int LastCol, int LastRow)
{
    const QString first = QStringLiteral("$%1$%2").arg(XLSColumnName(FirstCol)).arg(FirstRow);
    if (FirstCol == LastCol && FirstRow == LastRow) return first;
    return first + QStringLiteral(":$%1$%2").arg(XLSColumnName(LastCol)).arg(LastRow);
}

namespace {
// One end of the range; Whole is the column a whole-row part takes.
void ParseCell(QString Part, int Whole, int& Col, int& Row)
{
    if (Part.startsWith(u'$')) Part.remove(0, 1);
    const qsizetype dollar = Part.indexOf(u'$');
    if (dollar < 0) {
        Col = Whole;
        Row = StrToIntDef(Part, -1);
        return;
    }
    Col = XLSColumnNumber(Part.left(dollar));
    Row = StrToIntDef(Part.mid(dollar + 1), -1);
}
}  // namespace

TXLSUsedArea ParseXLSUsedArea(const QString& Address)
{
    TXLSUsedArea a;
    const qsizetype colon = Address.indexOf(u':');
    if (colon >= 0) {
        ParseCell(Address.left(colon), 1, a.FirstCol, a.FirstRow);
        ParseCell(Address.mid(colon + 1), 256, a.LastCol, a.LastRow);
        return a;
    }
    a.Single = true;
    if (!Address.contains(u'$')) {
        a.FirstCol = a.FirstRow = 1;
    } else {
        ParseCell(Address, 1, a.FirstCol, a.FirstRow);
    }
    a.LastCol = a.FirstCol;
    a.LastRow = a.FirstRow;
    return a;
}

QString OfficeNumberText(double Value)
{
    QString s = QLocale::c().toString(Value, 'g', 15);
    const qsizetype e = s.indexOf(u'e');
    if (e >= 0) {
        QString exp = s.mid(e + 1);
        const bool neg = exp.startsWith(u'-');
        if (exp.startsWith(u'+') || neg) exp.remove(0, 1);
        while (exp.size() > 1 && exp.startsWith(u'0')) exp.remove(0, 1);
        s = s.left(e) + QStringLiteral("E") + (neg ? QStringLiteral("-") : QString()) + exp;
    }
    return s.replace(u'.', LocaleDecimalSeparator());
}

bool WholeOfficeFile(const QString& FileName)
{
    QFile f(FileName);
    if (!f.open(QIODevice::ReadOnly)) return false;
    const qint64 size = f.size();
    const QByteArray head = f.read(8);
    if (head == QByteArray::fromHex("d0cf11e0a1b11ae1")) return size >= 1536 && size % 512 == 0;
    if (!head.startsWith("PK\x03\x04") || size < 22) return false;
    // The end record of the package's directory lies within the last 64 KB + 22 bytes, and
    // the directory it names lies within the file.
    const qint64 tail = std::min<qint64>(size, 65535 + 22);
    f.seek(size - tail);
    const QByteArray end = f.read(tail);
    const qsizetype at = end.lastIndexOf("PK\x05\x06");
    if (at < 0 || end.size() - at < 22) return false;
    auto le32 = [&](qsizetype i) {
        return quint32(uchar(end[i])) | quint32(uchar(end[i + 1])) << 8 | quint32(uchar(end[i + 2])) << 16 | quint32(uchar(end[i + 3])) << 24;
    };
    const qint64 dirSize = le32(at + 12), dirOffset = le32(at + 16);
    return dirOffset + dirSize <= size - tail + at;
}

bool WholeAccessFile(const QString& FileName)
{
    QFile f(FileName);
    if (!f.open(QIODevice::ReadOnly)) return false;
    const QByteArray head = f.read(0x20);
    if (head.size() < 0x20 || (head.mid(4, 15) != "Standard Jet DB" && head.mid(4, 15) != "Standard ACE DB")) return false;
    const qint64 page = head[0x14] == 0 ? 2048 : 4096;
    return f.size() >= 2 * page && f.size() % page == 0;
}
