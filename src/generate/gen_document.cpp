#include "generate/gen_document.h"

#include "platform/core/exception.h"
#include "platform/core/paths.h"
#include "platform/core/sysutils.h"
#include "platform/core/xml.h"

bool TGenDocument::Load(const QString& path)
{
    FDoc.reset();
    FRows.clear();
    FLoaded = false;
    FName = ExtractFileName(path);
    if (!FileExists(path)) return false;
    QString error;
    if (!XmlLoadFile(FDoc, path, &error)) throw Exception(QStringLiteral("%1: %2").arg(FName, error));
    for (pugi::xml_node c = Root().first_child(); c; c = c.next_sibling()) FRows.push_back(c);
    FLoaded = true;
    return true;
}

pugi::xml_node TGenDocument::Root() const { return XmlRoot(FDoc); }

bool TGenDocument::Key_Text(const char* key, QString& text) const { return XmlTryText(XmlChild(Root(), key), text); }

int32_t TGenDocument::Key_Int(const char* key, int32_t def) const
{
    QString t;
    return Key_Text(key, t) ? StrToIntDef(t, def) : def;
}

bool TGenDocument::Key_Flag(const char* key) const
{
    QString t;
    return Key_Text(key, t) && t == QLatin1String("1");
}

TGenRow TGenDocument::Row(int index) const { return TGenRow(this, FRows[static_cast<size_t>(index)], index); }

bool TGenRow::Has(const char* attr) const { return FNode.type() == pugi::node_element && XmlHasAttr(FNode, attr); }

QString TGenRow::Text(const char* attr) const { return Has(attr) ? XmlAttr(FNode, attr) : QString(); }

int32_t TGenRow::Int_Def(const char* attr, int32_t def) const { return StrToIntDef(Text(attr), def); }

void TGenRow::Fail(const char* attr, const QString& reason) const
{
    throw EConvertError(QStringLiteral("%1, row %2, %3: %4").arg(FDoc->Name()).arg(FIndex + 1).arg(QString::fromUtf8(attr), reason));
}

namespace {
QString Not_Integer(const QString& text) { return QStringLiteral("'%1' is not a valid integer value").arg(text); }
}  // namespace

int32_t TGenRow::Strict(const char* attr) const
{
    if (!Has(attr)) Fail(attr, QStringLiteral("the value is missing"));
    const QString t = Text(attr);
    int32_t v;
    if (!TryStrToInt(t, v)) Fail(attr, Not_Integer(t));
    return v;
}

int32_t TGenRow::Strict_Or(const char* attr, int32_t def) const
{
    int32_t v;
    return Has(attr) && TryStrToInt(Text(attr), v) ? v : def;
}

int32_t TGenRow::Strict64_Low(const char* attr) const
{
    if (!Has(attr)) Fail(attr, QStringLiteral("the value is missing"));
    const QString t = Text(attr);
    int64_t v;
    if (!TryStrToInt64(t, v)) Fail(attr, Not_Integer(t));
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(v)));
}

uint32_t TGenRow::Strict_IPv4(const char* attr) const
{
    const QString t = Text(attr);
    // a, b, c before the first three dots, d everything after the third (a fourth dot in d
    // makes it malformed)
    QString parts[4];
    int from = 0;
    for (int i = 0; i < 3; ++i) {
        const int dot = t.indexOf(QLatin1Char('.'), from);
        if (dot < 0) Fail(attr, QStringLiteral("'%1' is not a valid IPv4 address").arg(t));
        parts[i] = t.mid(from, dot - from);
        from = dot + 1;
    }
    parts[3] = t.mid(from);
    uint32_t ip = 0;
    for (const QString& p : parts) {
        int32_t v;
        if (!TryStrToInt(Trim(p), v)) Fail(attr, QStringLiteral("'%1' is not a valid IPv4 address").arg(t));
        ip = (ip << 8) | (static_cast<uint32_t>(v) & 0xFF);
    }
    return ip;
}

bool TGenRow::Flag_Exact(const char* attr) const { return Has(attr) && Text(attr) == QLatin1String("Y"); }
bool TGenRow::Flag_Upper(const char* attr) const { return UpperCase(Text(attr)) == QLatin1String("Y"); }
bool TGenRow::Flag_Trim_Upper(const char* attr) const { return UpperCase(Trim(Text(attr))) == QLatin1String("Y"); }

void Refuse_Row(const TGenDocument& doc, int index, const QString& reason)
{
    throw Exception(QStringLiteral("%1, row %2: %3").arg(doc.Name()).arg(index + 1).arg(reason));
}
