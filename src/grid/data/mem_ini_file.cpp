#include "grid/data/mem_ini_file.h"
#include "platform/core/exception.h"
#include "platform/core/file_io.h"
#include "platform/core/sysutils.h"
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

TMemIniFile::TMemIniFile(const QString& FileName) : FFileName(FileName)
{
    const QFileInfo info(FileName);
    if (!info.exists()) return;
    QByteArray bytes;
    if (info.size() > MaxFileSize || !ReadWholeFile(FileName, bytes) || bytes.size() > MaxFileSize) {
        FReadable = false;
        return;
    }
    Parse(bytes);
}

TMemIniFile TMemIniFile::FromText(const QByteArray& Bytes)
{
    TMemIniFile f;
    if (Bytes.size() > MaxFileSize) f.FReadable = false;
    else f.Parse(Bytes);
    return f;
}

void TMemIniFile::Parse(const QByteArray& Bytes)
{
    QByteArray b = Bytes;
    if (b.startsWith("\xEF\xBB\xBF")) b.remove(0, 3);
    // Text that is not UTF-8 is read byte for byte and written back the same way, so the
    // keys this grid does not own keep their bytes.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(b);
    if (utf8.hasError()) {
        text = QString::fromLatin1(b);
        FLatin1 = true;
    }
    std::vector<TLine>* lines = &FHead;
    for (QString line : text.split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
        const QString t = Trim(line);
        if (t.startsWith(QLatin1Char('[')) && t.endsWith(QLatin1Char(']'))) {
            FSections.push_back({t.mid(1, t.size() - 2), {}});
            lines = &FSections.back().Lines;
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq > 0 && !t.startsWith(QLatin1Char(';')) && !Trim(line.left(eq)).isEmpty())
            lines->push_back({Trim(line.left(eq)), line.mid(eq + 1), false});
        else
            lines->push_back({line, QString(), true});
    }
    // The split leaves one empty line after a closing line break.
    std::vector<TLine>& last = FSections.empty() ? FHead : FSections.back().Lines;
    if (!last.empty() && last.back().Raw && last.back().Name.isEmpty()) last.pop_back();
}

const TMemIniFile::TSection* TMemIniFile::Find(const QString& Section) const
{
    for (const TSection& s : FSections)
        if (s.Name.compare(Section, Qt::CaseInsensitive) == 0) return &s;
    return nullptr;
}

const TMemIniFile::TLine* TMemIniFile::Find(const TSection& s, const QString& Ident) const
{
    for (const TLine& l : s.Lines)
        if (!l.Raw && l.Name.compare(Ident, Qt::CaseInsensitive) == 0) return &l;
    return nullptr;
}

bool TMemIniFile::SectionExists(const QString& Section) const { return Find(Section) != nullptr; }

bool TMemIniFile::ValueExists(const QString& Section, const QString& Ident) const
{
    const TSection* s = Find(Section);
    return s && Find(*s, Ident);
}

QString TMemIniFile::ReadString(const QString& Section, const QString& Ident, const QString& Default) const
{
    const TSection* s = Find(Section);
    const TLine* l = s ? Find(*s, Ident) : nullptr;
    return l ? l->Value : Default;
}

int TMemIniFile::ReadInteger(const QString& Section, const QString& Ident, int Default) const
{
    const TSection* s = Find(Section);
    const TLine* l = s ? Find(*s, Ident) : nullptr;
    return l ? StrToIntDef(l->Value, Default) : Default;
}

void TMemIniFile::WriteString(const QString& Section, const QString& Ident, const QString& Value)
{
    auto* s = const_cast<TSection*>(Find(Section));
    if (!s) {
        FSections.push_back({Section, {}});
        s = &FSections.back();
    }
    if (auto* l = const_cast<TLine*>(Find(*s, Ident))) l->Value = Value;
    else s->Lines.push_back({Ident, Value, false});
}

void TMemIniFile::WriteInteger(const QString& Section, const QString& Ident, int Value)
{
    WriteString(Section, Ident, QString::number(Value));
}

QByteArray TMemIniFile::Text() const
{
    QString out;
    const auto put = [&out](const std::vector<TLine>& lines) {
        for (const TLine& l : lines) out += (l.Raw ? l.Name : l.Name + QLatin1Char('=') + l.Value) + QStringLiteral("\r\n");
    };
    put(FHead);
    for (const TSection& s : FSections) {
        out += QLatin1Char('[') + s.Name + QStringLiteral("]\r\n");
        put(s.Lines);
    }
    return FLatin1 ? out.toLatin1() : out.toUtf8();
}

void TMemIniFile::UpdateFile() const
{
    if (FFileName.isEmpty()) return;
    if (!FReadable) throw EInOutError(QStringLiteral("Cannot read file %1").arg(FFileName));
    SaveFileAtomic(FFileName, Text());
}

bool TMemIniFile::TryUpdateFile() const
{
    try {
        UpdateFile();
        return true;
    } catch (const Exception&) {
        return false;
    }
}
