#pragma once
// Run-time routines with the exact rules the program's texts and documents rely on.
#include <QString>
#include <cstdint>

// Drops every character up to code 32 (blanks and control characters) at both ends.
QString Trim(const QString& s);
QString TrimLeft(const QString& s);
QString TrimRight(const QString& s);

// Integer conversion: leading blanks, an optional sign, decimal digits or hexadecimal
// after "$", "x", "0x" (any case), and nothing after the digits.  Hexadecimal values up to
// $FFFFFFFF wrap into the signed range; anything wider fails, as does a decimal value
// outside it.  The 64-bit reader takes hexadecimal up to the whole 64-bit pattern.
bool TryStrToInt(const QString& s, int32_t& value);
int32_t StrToInt(const QString& s);                 // throws EConvertError
int32_t StrToIntDef(const QString& s, int32_t def);
bool TryStrToInt64(const QString& s, int64_t& value);
// The same rules on UTF-8 text as table files store it (nullptr reads as empty); bytes
// beyond ASCII match no digit.  The editors' checks and the image builders read table
// numbers through these, so a value one accepts the other reads alike.
bool TryUtf8ToInt(const char* text, int32_t& value);
bool TryUtf8ToInt64(const char* text, int64_t& value);

QString IntToStr(int64_t v);
QString IntToHex(int64_t v, int digits);             // upper case, at least `digits` digits

// String positions count from 1 (the first character is 1), so that 0 can mean not found.
int Pos(const QString& sub, const QString& s);
QString Copy(const QString& s, int index, int count);

// Banker's rounding (half to even) and a rounding multiply-divide.
int64_t Round(double v);
int32_t MulDiv(int32_t number, int32_t numerator, int32_t denominator);

QString UpperCase(const QString& s);
QString LowerCase(const QString& s);
bool SameText(const QString& a, const QString& b);
