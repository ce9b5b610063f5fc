#pragma once
// Records in the binary component stream format ("TPF0", class name, object name, typed
// property values, end markers).  The writer produces one record at a time; the reader takes
// one record out of a byte buffer, checking every length against the bytes left, and raises
// EReadError on anything malformed.  Nothing here knows the grid.
#include "platform/core/exception.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

// A stream that ends inside a record, a wrong signature, an unknown value type ...
class EReadError : public Exception {
public:
    using Exception::Exception;
};

// One property value as it stands in the stream.
struct TStreamValue {
    enum TKind { vkInt, vkFloat, vkString, vkIdent, vkBool, vkSet, vkBinary, vkList, vkNil };
    TKind Kind = vkNil;
    int64_t Int = 0;
    double Float = 0;
    QString Text;         // string, ident
    QStringList Items;    // set members, list of strings
    QByteArray Bytes;     // binary
};

struct TStreamRecord {
    QString ClassName;
    std::vector<std::pair<QByteArray, TStreamValue>> Props;
    const TStreamValue* Find(const char* Name) const;
};

class TComponentWriter {
public:
    explicit TComponentWriter(QByteArray& Out) : FOut(Out) {}
    void Begin(const QString& ClassName);
    void End();
    void Int(const char* Name, int64_t Value);
    void Bool(const char* Name, bool Value);
    // Empty strings and zero numbers are defaults and are left out, as the format does.
    void String(const char* Name, const QString& Value);
    void Float(const char* Name, double Value);
    void Ident(const char* Name, const QString& Value);
    void Set(const char* Name, const QStringList& Members);
    void Binary(const char* Name, const QByteArray& Value);
    void StringList(const char* Name, const QStringList& Items);

private:
    void Short(QByteArrayView S);
    void Name(const char* Name) { Short(QByteArrayView(Name)); }
    void Raw32(int32_t v);
    void StringValue(const QString& Value);
    QByteArray& FOut;
};

class TComponentReader {
public:
    TComponentReader(const char* Data, qsizetype Size) : FData(Data), FSize(Size) {}
    explicit TComponentReader(const QByteArray& Data) : TComponentReader(Data.constData(), Data.size()) {}
    // Bytes not yet read.
    qsizetype Remaining() const { return FSize - FPos; }
    qsizetype Pos() const { return FPos; }
    // Reads the next record whole; raises EReadError and leaves the position undefined when
    // the record is malformed.
    TStreamRecord ReadRecord();
    // The same reading without building the record: each property goes to OnProp as it is
    // read, its name a view into the data, its value in one object that serves every
    // property (OnProp may take what it holds); returns the class name, a view into the data.
    using TPropHandler = std::function<void(QByteArrayView Name, TStreamValue& Value)>;
    QByteArrayView ReadRecord(const TPropHandler& OnProp);

private:
    uint8_t Byte();
    const char* Take(qsizetype N);
    int32_t Raw32();
    QByteArrayView Short();
    void Value(int Depth, TStreamValue& V);
    const char* FData;
    qsizetype FSize;
    qsizetype FPos = 0;
};
