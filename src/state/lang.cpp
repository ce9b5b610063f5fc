#include "state/lang.h"

#include "platform/core/file_io.h"
#include "platform/core/paths.h"
#include "platform/core/sysutils.h"
#include "state/shared_state.h"

#include <QStringDecoder>

QStringList Lang_Texts;
int Lang_Count = 0;

namespace {
// Windows-1252 differs from Latin-1 only in 0x80..0x9F; unassigned positions keep their
// C1 control code, as the system code page does.
const char16_t kCp1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
                                  0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
                                  0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
const QChar kPilcrow(0x00B6);
}  // namespace

void Set_Default_Lang()
{
    Lang_Texts.clear();
    Lang_Texts.reserve(Builtin_Lang_Count);
    for (int i = 0; i < Builtin_Lang_Count; ++i) Lang_Texts.append(QString::fromUtf16(Builtin_English_Texts[i]));
    Lang_Count = Builtin_Lang_Count;
}

QString Decode_Lang_File_Text(const QByteArray& b)
{
    if (b.startsWith("\xEF\xBB\xBF")) return QString::fromUtf8(b.mid(3));
    if (b.startsWith("\xFF\xFE")) {
        QStringDecoder d(QStringDecoder::Utf16LE);
        return d(b.mid(2));
    }
    if (b.startsWith("\xFE\xFF")) {
        QStringDecoder d(QStringDecoder::Utf16BE);
        return d(b.mid(2));
    }
    QString s;
    s.reserve(b.size());
    for (char c : b) {
        const unsigned char u = static_cast<unsigned char>(c);
        s.append(u >= 0x80 && u < 0xA0 ? QChar(kCp1252High[u - 0x80]) : QChar(u));
    }
    return s;
}

void Apply_Lang_Text(const QString& text)
{
    // lines end in CR, LF or CR LF
    QString norm = text;
    norm.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    norm.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const QStringList lines = norm.split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        const QString s = Trim(line);
        if (!s.startsWith(QLatin1String("STR"))) continue;
        const int p = Pos(QStringLiteral("="), s);
        // the character just before "=" is never part of the index
        const QString indexText = Trim(Copy(s, 4, p - 5));
        int32_t index;
        if (!TryStrToInt(indexText, index) || index < 0 || index >= Lang_Count) continue;
        QString t = Trim(s.mid(p));
        if (t.isEmpty()) continue;
        const int c = t.indexOf(QStringLiteral("/#/"));
        if (c >= 0) {
            t = Trim(t.left(c));
            if (t.isEmpty()) continue;
        }
        if (t.startsWith(kPilcrow)) t.remove(0, 1);
        const int e = t.indexOf(kPilcrow);
        if (e >= 0) t.truncate(e);
        if (index < Lang_Texts.size()) Lang_Texts[index] = t;
    }
}

void Load_Lang_File(const QString& fileName)
{
    QByteArray bytes;
    if (!ReadWholeFile(fileName, bytes)) return;  // unreadable: the built-in texts stay
    Apply_Lang_Text(Decode_Lang_File_Text(bytes));
}

namespace {
bool Is_Lang_Name(const QString& name)
{
    // a name from the settings file must not lead out of the language folder; a backslash
    // is a separator where the settings file may have been written
    return !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) && !name.contains(QChar(0));
}
}  // namespace

void Load_Lang()
{
    Set_Default_Lang();
    const QString file = PathJoin(Language_Dir, Lang_Name + QStringLiteral(".lng"));
    if (Is_Lang_Name(Lang_Name) && FileExists(file)) {
        Load_Lang_File(file);
        return;
    }
    Lang_Name = QString::fromLatin1(Default_Lang_Name);
    const QString english = PathJoin(Language_Dir, QStringLiteral("English.lng"));
    if (FileExists(english)) Load_Lang_File(english);
}
