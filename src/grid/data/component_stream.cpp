#include "grid/data/component_stream.h"

#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace {
enum TValueType : uint8_t {
    vaNull, vaList, vaInt8, vaInt16, vaInt32, vaExtended, vaString, vaIdent, vaFalse, vaTrue, vaBinary, vaSet,
    vaLString, vaNil, vaCollection, vaSingle, vaCurrency, vaDate, vaWString, vaInt64, vaUTF8String, vaDouble
};
constexpr char Signature[4] = {'T', 'P', 'F', '0'};
// Lists nest only for collections, which these records do not hold.
constexpr int MaxListDepth = 4;

bool IsAscii(const QString& s)
{
    for (QChar c : s)
        if (c.unicode() > 127) return false;
    return true;
}

// The 80-bit floating-point format of older writers.
double ExtendedToDouble(const unsigned char* p)
{
    uint64_t mant = qFromLittleEndian<quint64>(p);
    const uint16_t se = qFromLittleEndian<quint16>(p + 8);
    const int exp = se & 0x7FFF;
    const bool neg = (se & 0x8000) != 0;
    double v = 0;
    if (exp == 0x7FFF) v = mant << 1 ? std::nan("") : INFINITY;
    else if (exp != 0 || mant != 0) v = std::ldexp(double(mant), exp - 16383 - 63);
    return neg ? -v : v;
}
}  // namespace

const TStreamValue* TStreamRecord::Find(const char* Name) const
{
    for (const auto& p : Props)
        if (p.first == Name) return &p.second;
    return nullptr;
}

// ---- writing ----------------------------------------------------------------------------------

void TComponentWriter::Short(QByteArrayView S)
{
    const QByteArrayView s = S.first(std::min<qsizetype>(S.size(), 255));
    FOut.append(char(uint8_t(s.size())));
    FOut.append(s);
}

void TComponentWriter::Raw32(int32_t v)
{
    char b[4];
    qToLittleEndian<qint32>(v, b);
    FOut.append(b, 4);
}

void TComponentWriter::Begin(const QString& ClassName)
{
    FOut.append(Signature, 4);
    Short(ClassName.toLatin1());
    Short(QByteArray());
}

void TComponentWriter::End()
{
    FOut.append(char(vaNull));  // end of the properties
    FOut.append(char(vaNull));  // end of the (empty) child list
}

void TComponentWriter::Int(const char* N, int64_t v)
{
    Name(N);
    char b[8];
    if (v >= -128 && v <= 127) {
        FOut.append(char(vaInt8));
        FOut.append(char(int8_t(v)));
    } else if (v >= -32768 && v <= 32767) {
        FOut.append(char(vaInt16));
        qToLittleEndian<qint16>(qint16(v), b);
        FOut.append(b, 2);
    } else if (v >= INT32_MIN && v <= INT32_MAX) {
        FOut.append(char(vaInt32));
        Raw32(int32_t(v));
    } else {
        FOut.append(char(vaInt64));
        qToLittleEndian<qint64>(v, b);
        FOut.append(b, 8);
    }
}

void TComponentWriter::Bool(const char* N, bool v)
{
    Name(N);
    FOut.append(char(v ? vaTrue : vaFalse));
}

void TComponentWriter::StringValue(const QString& v)
{
    if (IsAscii(v)) {
        const QByteArray a = v.toLatin1();
        if (a.size() <= 255) {
            FOut.append(char(vaString));
            Short(a);
        } else {
            FOut.append(char(vaLString));
            Raw32(int32_t(a.size()));
            FOut.append(a);
        }
    } else {
        const QByteArray u = v.toUtf8();
        FOut.append(char(vaUTF8String));
        Raw32(int32_t(u.size()));
        FOut.append(u);
    }
}

void TComponentWriter::String(const char* N, const QString& v)
{
    if (v.isEmpty()) return;
    Name(N);
    StringValue(v);
}

void TComponentWriter::Float(const char* N, double v)
{
    if (v == 0) return;
    Name(N);
    FOut.append(char(vaDouble));
    char b[8];
    qToLittleEndian<double>(v, b);
    FOut.append(b, 8);
}

void TComponentWriter::Ident(const char* N, const QString& v)
{
    Name(N);
    FOut.append(char(vaIdent));
    Short(v.toLatin1());
}

void TComponentWriter::Set(const char* N, const QStringList& Members)
{
    Name(N);
    FOut.append(char(vaSet));
    for (const QString& m : Members) Short(m.toLatin1());
    Short(QByteArray());
}

void TComponentWriter::Binary(const char* N, const QByteArray& v)
{
    Name(N);
    FOut.append(char(vaBinary));
    Raw32(int32_t(v.size()));
    FOut.append(v);
}

void TComponentWriter::StringList(const char* N, const QStringList& Items)
{
    Name(N);
    FOut.append(char(vaList));
    for (const QString& s : Items) StringValue(s);
    FOut.append(char(vaNull));
}

// ---- reading ----------------------------------------------------------------------------------

const char* TComponentReader::Take(qsizetype N)
{
    if (N < 0 || N > FSize - FPos) throw EReadError(QStringLiteral("Stream read error"));
    const char* p = FData + FPos;
    FPos += N;
    return p;
}

uint8_t TComponentReader::Byte() { return uint8_t(*Take(1)); }

int32_t TComponentReader::Raw32() { return qFromLittleEndian<qint32>(Take(4)); }

QByteArrayView TComponentReader::Short()
{
    const int n = Byte();
    return QByteArrayView(Take(n), n);
}

void TComponentReader::Value(int Depth, TStreamValue& v)
{
    const uint8_t t = Byte();
    switch (t) {
    case vaInt8: v.Kind = TStreamValue::vkInt; v.Int = int8_t(Byte()); break;
    case vaInt16: v.Kind = TStreamValue::vkInt; v.Int = qFromLittleEndian<qint16>(Take(2)); break;
    case vaInt32: v.Kind = TStreamValue::vkInt; v.Int = Raw32(); break;
    case vaInt64: v.Kind = TStreamValue::vkInt; v.Int = qFromLittleEndian<qint64>(Take(8)); break;
    case vaExtended:
        v.Kind = TStreamValue::vkFloat;
        v.Float = ExtendedToDouble(reinterpret_cast<const unsigned char*>(Take(10)));
        break;
    case vaSingle: v.Kind = TStreamValue::vkFloat; v.Float = qFromLittleEndian<float>(Take(4)); break;
    case vaDouble:
    case vaDate: v.Kind = TStreamValue::vkFloat; v.Float = qFromLittleEndian<double>(Take(8)); break;
    case vaCurrency: v.Kind = TStreamValue::vkFloat; v.Float = double(qFromLittleEndian<qint64>(Take(8))) / 10000; break;
    case vaString: v.Kind = TStreamValue::vkString; v.Text = QString::fromLatin1(Short()); break;
    case vaIdent: v.Kind = TStreamValue::vkIdent; v.Text = QString::fromLatin1(Short()); break;
    case vaLString: {
        v.Kind = TStreamValue::vkString;
        const int32_t n = Raw32();
        v.Text = QString::fromLatin1(Take(n), n);
        break;
    }
    case vaUTF8String: {
        v.Kind = TStreamValue::vkString;
        const int32_t n = Raw32();
        v.Text = QString::fromUtf8(Take(n), n);
        break;
    }
    case vaWString: {
        v.Kind = TStreamValue::vkString;
        const int32_t n = Raw32();
        if (n < 0 || n > Remaining() / 2) throw EReadError(QStringLiteral("Stream read error"));
        const char* p = Take(qsizetype(n) * 2);
        v.Text.resize(n);
        for (int i = 0; i < n; ++i) v.Text[i] = QChar(qFromLittleEndian<quint16>(p + 2 * i));
        break;
    }
    case vaFalse: v.Kind = TStreamValue::vkBool; v.Int = 0; break;
    case vaTrue: v.Kind = TStreamValue::vkBool; v.Int = 1; break;
    case vaNil:
    case vaNull: v.Kind = TStreamValue::vkNil; break;
    case vaBinary: {
        v.Kind = TStreamValue::vkBinary;
        const int32_t n = Raw32();
        v.Bytes = QByteArray(Take(n), n);
        break;
    }
    case vaSet:
        v.Kind = TStreamValue::vkSet;
        for (;;) {
            const QByteArrayView m = Short();
            if (m.isEmpty()) break;
            v.Items << QString::fromLatin1(m);
        }
        break;
    case vaList:
        if (Depth >= MaxListDepth) throw EReadError(QStringLiteral("Invalid property value"));
        v.Kind = TStreamValue::vkList;
        for (;;) {
            if (FPos < FSize && FData[FPos] == char(vaNull)) {
                ++FPos;
                break;
            }
            TStreamValue item;
            Value(Depth + 1, item);
            if (item.Kind != TStreamValue::vkString && item.Kind != TStreamValue::vkIdent)
                throw EReadError(QStringLiteral("Invalid property value"));
            v.Items << item.Text;
        }
        break;
    default: throw EReadError(QStringLiteral("Invalid property value"));
    }
}

TStreamRecord TComponentReader::ReadRecord()
{
    TStreamRecord r;
    r.ClassName = QString::fromLatin1(ReadRecord([&r](QByteArrayView Name, TStreamValue& Value) {
        r.Props.emplace_back(Name.toByteArray(), std::move(Value));
    }));
    return r;
}

QByteArrayView TComponentReader::ReadRecord(const TPropHandler& OnProp)
{
    if (std::memcmp(Take(4), Signature, 4) != 0) throw EReadError(QStringLiteral("Invalid stream format"));
    // An optional prefix of flags (high nibble F), with a child position after flag 2.
    if (FPos < FSize && (uint8_t(FData[FPos]) & 0xF0) == 0xF0) {
        const uint8_t flags = Byte() & 0x0F;
        if (flags & 2) {
            TStreamValue pos;
            Value(MaxListDepth, pos);
            if (pos.Kind != TStreamValue::vkInt) throw EReadError(QStringLiteral("Invalid stream format"));
        }
    }
    const QByteArrayView className = Short();
    Short();  // the object's name
    // One value object serves every property, emptied before each.
    TStreamValue v;
    for (;;) {
        const QByteArrayView name = Short();
        if (name.isEmpty()) break;
        v.Kind = TStreamValue::vkNil;
        v.Int = 0;
        v.Float = 0;
        if (!v.Text.isNull()) v.Text = QString();
        if (!v.Items.isEmpty()) v.Items = QStringList();
        if (!v.Bytes.isNull()) v.Bytes = QByteArray();
        Value(0, v);
        OnProp(name, v);
    }
    if (Byte() != vaNull) throw EReadError(QStringLiteral("Invalid stream format"));  // no child records
    return className;
}
