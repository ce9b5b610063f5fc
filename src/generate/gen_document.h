#pragma once
// How the builders (and the EDS and GSD writers) read the configuration's documents.
//
// A document that does not exist is skipped: Load returns false and whatever the builder
// would have taken from it keeps its default.  A document that exists but cannot be parsed
// ends the build with an Exception.  The root is the document's first node, whatever its
// name or kind.
//
// Two families of conversions:
//  - forgiving: a missing or malformed value gives the caller's default and never fails;
//  - strict: a missing or malformed value throws EConvertError, which ends the build
//    before any bank file is written.
// Integer syntax everywhere: that of the editors' checks (TryStrToInt), a signed 32-bit
// value.
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <pugixml.hpp>
#include <vector>

class TGenRow;

// The integers of documents, read as the editors' checks read them (TryUtf8ToInt): optional
// leading blanks, an optional sign, then decimal digits, or hexadecimal digits after "0x",
// "$" or a bare "x" (any case), and nothing after the digits.  Decimal values must fit the
// signed range; hexadecimal ones may use the whole unsigned pattern ("0xFFFFFFFF" is -1).
bool Try_Doc_Int(const char* text, int32_t& value);
bool Try_Doc_Int(const QString& text, int32_t& value);
bool Try_Doc_Int64(const char* text, int64_t& value);
int32_t Doc_Int_Def(const QString& text, int32_t def);
// The reason of a conversion error for a text that is not an integer.
QString Not_Integer(const QString& text);
// a + b into `sum`; when the sum leaves the signed 32-bit range that document values live
// in, the reason of the conversion error instead (empty when the sum fits).
QString Doc_Int_Add(int32_t a, int32_t b, int32_t& sum);

// True when `text` (UTF-8, nullptr reads as empty) upper-cased equals `upper`.
bool Upper_Equals(const char* text, const char* upper);

class TGenDocument {
public:
    // False, with the document emptied, when no file exists at `path`; throws Exception
    // when it exists but cannot be read or parsed.
    bool Load(const QString& path);
    bool Loaded() const { return FLoaded; }
    pugi::xml_node Root() const;
    // File name used in error texts.
    const QString& Name() const { return FName; }

    // ParGen.xml keys: the text of the root's child element of that name.  False when the
    // element is missing or holds more than text.
    bool Key_Text(const char* key, QString& text) const;
    // Text parsed as an integer; a missing element or a malformed text gives `def`.
    int32_t Key_Int(const char* key, int32_t def) const;
    // True only for the exact text "1".
    bool Key_Flag(const char* key) const;

    // Table rows: every child node of the root, in document order.
    int Row_Count() const { return static_cast<int>(FRows.size()); }
    TGenRow Row(int index) const;

private:
    QByteArray FData;  // the document's text, parsed in place
    pugi::xml_document FDoc;
    std::vector<pugi::xml_node> FRows;
    QString FName;
    bool FLoaded = false;
};

// One row of a table file.  A missing attribute is a null value: it reads as the empty
// text and fails every strict conversion.
class TGenRow {
public:
    TGenRow(const TGenDocument* doc, pugi::xml_node node, int index) : FDoc(doc), FNode(node), FIndex(index) {}

    bool Has(const char* attr) const;
    QString Text(const char* attr) const;
    // The attribute's UTF-8 text as stored; nullptr when missing.  Valid while the
    // document stays loaded.
    const char* Raw(const char* attr) const { return Find(attr); }

    // Text with default: never fails.
    int32_t Int_Def(const char* attr, int32_t def) const;
    // Strict number: missing or malformed throws EConvertError.
    int32_t Strict(const char* attr) const;
    // Strict number in a guarded step: any failure gives `def`.
    int32_t Strict_Or(const char* attr, int32_t def) const;
    // Strict 64-bit number of which the low 32 bits are kept.
    int32_t Strict64_Low(const char* attr) const;
    // Strict number plus `add`; a sum outside the signed 32-bit range is a conversion error.
    int32_t Strict_Plus(const char* attr, int32_t add) const;
    // Four dot-separated parts, each trimmed and read strictly, taken modulo 256:
    // a * 2^24 + b * 2^16 + c * 2^8 + d.  A missing dot, an empty or malformed part throws.
    uint32_t Strict_IPv4(const char* attr) const;

    // Flags "Y": exact (case-sensitive, untrimmed), upper-cased, or trimmed and upper-cased.
    bool Flag_Exact(const char* attr) const;
    bool Flag_Upper(const char* attr) const;
    bool Flag_Trim_Upper(const char* attr) const;

    int Index() const { return FIndex; }
    pugi::xml_node Node() const { return FNode; }

    // The conversion error for attribute `attr` of this row (also for builders' own checks).
    [[noreturn]] void Fail(const char* attr, const QString& reason) const;

private:
    // The value of an attribute; nullptr when the row has none of that name.
    const char* Find(const char* attr) const;
    int32_t Strict_Value(const char* attr, const char* value) const;

    struct TAttrRef {
        const char* Name;
        const char* Value;
    };
    const TGenDocument* FDoc;
    pugi::xml_node FNode;
    int FIndex;
    // the row's attributes, collected on the first look-up; builders read them mostly in
    // the order the editors write them, so a search starts after the one found last
    static constexpr int Max_Indexed = 24;  // more are looked up in the document itself
    mutable TAttrRef FAttrs[Max_Indexed];
    mutable int FCount = -1;
    mutable int FNext = 0;
    mutable bool FMore = false;
};

// Refuses row `index` (0-based) of `doc` because it does not fit the image: more rows than
// a table holds, or an index outside its table.  The text names the file and the row.
[[noreturn]] void Refuse_Row(const TGenDocument& doc, int index, const QString& reason);
// Refuses row `index` when `used` entries already fill a table of `capacity` `what`
// ("receive frames").
void Check_Capacity(const TGenDocument& doc, int index, int64_t used, int capacity, const QString& what);
