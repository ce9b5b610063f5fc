#include "platform/core/sysutils.h"

#include "platform/core/exception.h"

#include <cmath>
#include <limits>

QString TrimLeft(const QString& s)
{
    int i = 0;
    while (i < s.size() && s[i].unicode() <= 32) ++i;
    return s.mid(i);
}

QString TrimRight(const QString& s)
{
    int n = s.size();
    while (n > 0 && s[n - 1].unicode() <= 32) --n;
    return s.left(n);
}

QString Trim(const QString& s)
{
    int i = 0, n = s.size();
    while (i < n && s[i].unicode() <= 32) ++i;
    while (n > i && s[n - 1].unicode() <= 32) --n;
    return s.mid(i, n - i);
}

namespace {
// The run-time's integer syntax: leading blanks, an optional sign, then decimal digits or
// hexadecimal digits after "$", "x" or "0x".  Fails on anything else and on a magnitude
// above `limit` (the hexadecimal or decimal limit, as the number is written).
struct TIntText {
    bool Negative = false;
    bool Hex = false;
    uint64_t Magnitude = 0;
};

// Characters of a QString or bytes of a NUL-terminated UTF-8 text.
struct TQStringChars {
    const QString& S;
    char16_t At(int i) const { return i < S.size() ? S[i].unicode() : 0; }
    bool End(int i) const { return i >= S.size(); }
};
struct TUtf8Chars {
    const char* S;
    char16_t At(int i) const { return static_cast<unsigned char>(S[i]); }
    bool End(int i) const { return S[i] == 0; }
};

template <class TChars>
bool ParseIntText(const TChars& s, uint64_t hexLimit, uint64_t decLimit, TIntText& out)
{
    int i = 0;
    while (!s.End(i) && s.At(i) == ' ') ++i;
    out = TIntText();
    if (!s.End(i) && (s.At(i) == '+' || s.At(i) == '-')) {
        out.Negative = s.At(i) == '-';
        ++i;
    }
    if (!s.End(i) && (s.At(i) == '$' || s.At(i) == 'x' || s.At(i) == 'X')) {
        out.Hex = true;
        ++i;
    } else if (!s.End(i) && !s.End(i + 1) && s.At(i) == '0' && (s.At(i + 1) == 'x' || s.At(i + 1) == 'X')) {
        out.Hex = true;
        i += 2;
    }
    if (s.End(i)) return false;
    const uint64_t base = out.Hex ? 16 : 10;
    const uint64_t limit = out.Hex ? hexLimit : decLimit + (out.Negative ? 1 : 0);
    uint64_t acc = 0;
    for (; !s.End(i); ++i) {
        const char16_t c = s.At(i);
        uint64_t d;
        if (c >= '0' && c <= '9') d = c - '0';
        else if (out.Hex && c >= 'a' && c <= 'f') d = c - 'a' + 10;
        else if (out.Hex && c >= 'A' && c <= 'F') d = c - 'A' + 10;
        else return false;
        if (acc > (limit - d) / base) return false;
        acc = acc * base + d;
    }
    out.Magnitude = acc;
    return true;
}

template <class TChars>
bool ParseInt32(const TChars& s, int32_t& value)
{
    // hexadecimal covers the whole 32-bit pattern, $FFFFFFFF being -1; anything wider fails
    TIntText t;
    if (!ParseIntText(s, UINT32_MAX, uint64_t(INT32_MAX), t)) return false;
    const uint32_t bits = static_cast<uint32_t>(t.Magnitude);
    value = static_cast<int32_t>(t.Negative ? 0u - bits : bits);
    return true;
}

template <class TChars>
bool ParseInt64(const TChars& s, int64_t& value)
{
    // hexadecimal covers the whole 64-bit pattern
    TIntText t;
    if (!ParseIntText(s, UINT64_MAX, uint64_t(INT64_MAX), t)) return false;
    // negated as unsigned: the smallest value has no positive counterpart
    value = static_cast<int64_t>(t.Negative ? 0 - t.Magnitude : t.Magnitude);
    return true;
}
}  // namespace

bool TryStrToInt64(const QString& s, int64_t& value) { return ParseInt64(TQStringChars{s}, value); }
bool TryStrToInt(const QString& s, int32_t& value) { return ParseInt32(TQStringChars{s}, value); }
bool TryUtf8ToInt(const char* text, int32_t& value) { return ParseInt32(TUtf8Chars{text ? text : ""}, value); }
bool TryUtf8ToInt64(const char* text, int64_t& value) { return ParseInt64(TUtf8Chars{text ? text : ""}, value); }

int32_t StrToInt(const QString& s)
{
    int32_t v;
    if (!TryStrToInt(s, v)) throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(s));
    return v;
}

int32_t StrToIntDef(const QString& s, int32_t def)
{
    int32_t v;
    return TryStrToInt(s, v) ? v : def;
}

QString IntToStr(int64_t v) { return QString::number(v); }

QString IntToHex(int64_t v, int digits)
{
    // negative 32-bit values show their 32-bit pattern (-1 is FFFFFFFF), not a 64-bit one
    const quint64 u = (v < 0 && v >= std::numeric_limits<int32_t>::min()) ? static_cast<quint32>(v) : static_cast<quint64>(v);
    QString s = QString::number(u, 16).toUpper();
    while (s.size() < digits) s.prepend(QLatin1Char('0'));
    return s;
}

int Pos(const QString& sub, const QString& s)
{
    if (sub.isEmpty()) return 0;
    return s.indexOf(sub) + 1;
}

QString Copy(const QString& s, int index, int count)
{
    if (index < 1) index = 1;
    if (count <= 0 || index > s.size()) return QString();
    return s.mid(index - 1, count);
}

int64_t Round(double v)
{
    return static_cast<int64_t>(std::nearbyint(v));  // default rounding mode is to nearest, ties to even
}

int32_t MulDiv(int32_t number, int32_t numerator, int32_t denominator)
{
    if (denominator == 0) return -1;
    const int64_t p = static_cast<int64_t>(number) * numerator;
    // round half away from zero, like the platform routine
    int64_t q = p / denominator;
    const int64_t r = p % denominator;
    if (2 * std::llabs(r) >= std::llabs(static_cast<int64_t>(denominator))) q += ((p < 0) != (denominator < 0)) ? -1 : 1;
    if (q > std::numeric_limits<int32_t>::max() || q < std::numeric_limits<int32_t>::min()) return -1;
    return static_cast<int32_t>(q);
}

QString UpperCase(const QString& s) { return s.toUpper(); }
QString LowerCase(const QString& s) { return s.toLower(); }
bool SameText(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }
