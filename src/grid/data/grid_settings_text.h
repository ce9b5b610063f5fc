#pragma once
// Texts of the grid's settings files: colours as the class library writes them, and files of
// name=value lines.
#include "platform/ui/graphics.h"
#include <QByteArray>
#include <QString>
#include <vector>

// The colour's identifier where it has one (clWindow, clNone, clRed ...), else "$" and eight
// hexadecimal digits.
QString ColorToString(TColor Color);
// An identifier (any case) or an integer ("$" hexadecimal allowed); raises EConvertError
// for anything else.
TColor StringToColor(const QString& Text);

// Files of name=value lines larger than this are not read.
constexpr qint64 MaxNameValueFileSize = 1024 * 1024;

// The lines of a name=value file; names are compared without regard to case and the first
// line of a name holds.
class TNameValues {
public:
    const QString* Find(const QString& Name) const;
    void Add(const QString& Name, const QString& Value) { FItems.push_back({Name, Value}); }

private:
    struct TItem {
        QString Name, Value;
    };
    std::vector<TItem> FItems;
};

// UTF-8 with or without a byte-order mark; bytes that are not UTF-8 are read as Latin-1.
TNameValues ReadNameValues(const QByteArray& Bytes);
