#include "generate/gen_document.h"

#include "platform/core/exception.h"
#include "platform/core/file_io.h"
#include "platform/core/paths.h"
#include "platform/core/sysutils.h"
#include "platform/core/xml.h"

#include <cstdint>
#include <cstring>
#include <string>

bool TGenDocument::Load(const QString& path)
{
    FDoc.reset();
    FData.clear();
    FRows.clear();
    FLoaded = false;
    FName = ExtractFileName(path);
    if (!FileExists(path)) return false;
    QString error;
    if (!ReadWholeFile(path, FData)) error = QStringLiteral("Cannot open file \"%1\"").arg(path);
    if (!error.isEmpty() || !XmlLoadBytesInPlace(FDoc, FData, &error)) throw Exception(QStringLiteral("%1: %2").arg(FName, error));
    for (pugi::xml_node c = Root().first_child(); c; c = c.next_sibling()) FRows.push_back(c);
    FLoaded = true;
    return true;
}

bool Upper_Equals(const char* text, const char* upper)
{
    if (!text) text = "";
    const char* t = text;
    for (const char* u = upper;; ++t, ++u) {
        const unsigned char c = static_cast<unsigned char>(*t);
        if (c >= 0x80) break;  // beyond ASCII: the full Unicode rules below
        if ((c >= 'a' && c <= 'z' ? c - 32 : c) != static_cast<unsigned char>(*u)) return false;
        if (c == 0) return true;
    }
    return UpperCase(QString::fromUtf8(text)) == QLatin1String(upper);
}

pugi::xml_node TGenDocument::Root() const { return XmlRoot(FDoc); }

bool TGenDocument::Key_Text(const char* key, QString& text) const { return XmlTryText(XmlChild(Root(), key), text); }

int32_t TGenDocument::Key_Int(const char* key, int32_t def) const
{
    QString t;
    return Key_Text(key, t) ? Doc_Int_Def(t, def) : def;
}

bool TGenDocument::Key_Flag(const char* key) const
{
    QString t;
    return Key_Text(key, t) && t == QLatin1String("1");
}

TGenRow TGenDocument::Row(int index) const { return TGenRow(this, FRows[static_cast<size_t>(index)], index); }

QString Not_Integer(const QString& text) { return QStringLiteral("'%1' is not a valid integer value").arg(text); }

namespace {

// The integer of an attribute text.  Plain decimal texts, by far the most common, are read
// here directly; everything else goes through the full rules.
bool Parse_Int(const char* s, int32_t& value)
{
    const char* p = s;
    const bool negative = *p == '-';
    if (negative) ++p;
    int32_t v = 0;
    int digits = 0;
    for (; *p >= '0' && *p <= '9' && digits < 9; ++p, ++digits) v = v * 10 + (*p - '0');
    if (*p == 0 && digits > 0) {
        value = negative ? -v : v;
        return true;
    }
    return Try_Doc_Int(s, value);
}
}  // namespace

bool Try_Doc_Int(const char* text, int32_t& value) { return TryUtf8ToInt(text, value); }

bool Try_Doc_Int(const QString& text, int32_t& value) { return TryStrToInt(text, value); }

bool Try_Doc_Int64(const char* text, int64_t& value) { return TryUtf8ToInt64(text, value); }

int32_t Doc_Int_Def(const QString& text, int32_t def)
{
    int32_t v;
    return Try_Doc_Int(text, v) ? v : def;
}

QString Doc_Int_Add(int32_t a, int32_t b, int32_t& sum)
{
    if (!__builtin_add_overflow(a, b, &sum)) return QString();
    return QStringLiteral("%1 + %2 leaves the range of 32-bit integers").arg(a).arg(b);
}

const char* TGenRow::Find(const char* attr) const
{
    if (FCount < 0) {
        FCount = 0;
        if (FNode.type() == pugi::node_element)
            for (pugi::xml_attribute a = FNode.first_attribute(); a; a = a.next_attribute()) {
                if (FCount == Max_Indexed) {
                    FMore = true;
                    break;
                }
                FAttrs[FCount++] = {a.name(), a.value()};
            }
    }
    int i = FNext < FCount ? FNext : 0;
    for (int k = 0; k < FCount; ++k) {
        const char* name = FAttrs[i].Name;
        if (name[0] == attr[0] && std::strcmp(name, attr) == 0) {
            FNext = i + 1;
            return FAttrs[i].Value;
        }
        if (++i == FCount) i = 0;
    }
    if (FMore) {
        // pugixml keeps the first attribute of a name, as the index does
        const pugi::xml_attribute a = FNode.attribute(attr);
        return a ? a.value() : nullptr;
    }
    return nullptr;
}

bool TGenRow::Has(const char* attr) const { return Find(attr) != nullptr; }

QString TGenRow::Text(const char* attr) const
{
    const char* v = Find(attr);
    return v ? QString::fromUtf8(v) : QString();
}

int32_t TGenRow::Int_Def(const char* attr, int32_t def) const
{
    const char* v = Find(attr);
    int32_t i;
    return v && Parse_Int(v, i) ? i : def;
}

void TGenRow::Fail(const char* attr, const QString& reason) const
{
    throw EConvertError(QStringLiteral("%1, row %2, %3: %4").arg(FDoc->Name()).arg(FIndex + 1).arg(QString::fromUtf8(attr), reason));
}

int32_t TGenRow::Strict_Value(const char* attr, const char* value) const
{
    if (!value) Fail(attr, QStringLiteral("the value is missing"));
    int32_t v;
    if (!Parse_Int(value, v)) Fail(attr, Not_Integer(QString::fromUtf8(value)));
    return v;
}

int32_t TGenRow::Strict(const char* attr) const { return Strict_Value(attr, Find(attr)); }

int32_t TGenRow::Strict_Or(const char* attr, int32_t def) const { return Int_Def(attr, def); }

int32_t TGenRow::Strict64_Low(const char* attr) const
{
    const char* value = Find(attr);
    if (!value) Fail(attr, QStringLiteral("the value is missing"));
    int64_t v;
    if (!Try_Doc_Int64(value, v)) Fail(attr, Not_Integer(QString::fromUtf8(value)));
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(v)));
}

int32_t TGenRow::Strict_Plus(const char* attr, int32_t add) const
{
    int32_t sum;
    const QString error = Doc_Int_Add(Strict(attr), add, sum);
    if (!error.isEmpty()) Fail(attr, error);
    return sum;
}

uint32_t TGenRow::Strict_IPv4(const char* attr) const
{
    const char* found = Find(attr);
    const char* text = found ? found : "";
    auto fail = [&] { Fail(attr, QStringLiteral("'%1' is not a valid IPv4 address").arg(QString::fromUtf8(text))); };
    // a, b, c before the first three dots, d everything after the third (a fourth dot in d
    // makes it malformed); each part trimmed of characters up to code 32
    uint32_t ip = 0;
    const char* p = text;
    for (int i = 0; i < 4; ++i) {
        const char* end = i < 3 ? std::strchr(p, '.') : p + std::strlen(p);
        if (!end) fail();
        const char* b = p;
        const char* e = end;
        while (b < e && static_cast<unsigned char>(*b) <= 32) ++b;
        while (e > b && static_cast<unsigned char>(e[-1]) <= 32) --e;
        const std::string part(b, e);
        int32_t v;
        if (part.empty() || !Parse_Int(part.c_str(), v)) fail();
        ip = (ip << 8) | (static_cast<uint32_t>(v) & 0xFF);
        p = end + 1;
    }
    return ip;
}

bool TGenRow::Flag_Exact(const char* attr) const
{
    const char* v = Find(attr);
    return v && std::strcmp(v, "Y") == 0;
}

bool TGenRow::Flag_Upper(const char* attr) const { return Upper_Equals(Find(attr), "Y"); }

bool TGenRow::Flag_Trim_Upper(const char* attr) const { return UpperCase(Trim(Text(attr))) == QLatin1String("Y"); }

void Refuse_Row(const TGenDocument& doc, int index, const QString& reason)
{
    throw Exception(QStringLiteral("%1, row %2: %3").arg(doc.Name()).arg(index + 1).arg(reason));
}

void Check_Capacity(const TGenDocument& doc, int index, int64_t used, int capacity, const QString& what)
{
    if (used >= capacity) Refuse_Row(doc, index, QStringLiteral("the device holds at most %1 %2.").arg(capacity).arg(what));
}
