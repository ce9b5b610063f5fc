#pragma once
// Reading numbers and dates out of cell texts, and the row filter's condition matcher.
// All of them follow the locale settings in force (platform/core/format_settings.h).
#include "platform/core/dateutils.h"

#include <QPoint>
#include <QString>

bool IsDigitChar(QChar ch);
bool IsDigitOrMinus(QChar ch);
bool IsNumberChar(QChar ch);
bool IsSignedNumberChar(QChar ch);
bool IsFloatTextChar(QChar ch);

inline int MaxOf(int a, int b) { return a > b ? a : b; }
inline int MinOf(int a, int b) { return a < b ? a : b; }
// Limits used by automatic sizing: a limit that is not positive is no limit, equal limits
// mean none, and the upper limit wins.
int ApplyMinMaxLimits(int value, int minLimit, int maxLimit);

template <class TRect>
bool CellInGridRect(const TRect& r, int col, int row)
{
    return r.Left <= col && col <= r.Right && r.Top <= row && row <= r.Bottom;
}

// "R<row>C<col>": cell.x() receives the column, cell.y() the row.
bool ParseRCCellRef(const QString& s, QPoint& cell);

// The machine form of a displayed number: "(1,234.50)" gives "-1234.50".
QString NormalizeNumberText(const QString& s);
QString NormalizeDecimalText(const QString& s);
// 0 integer, 1 decimal number, 5 number with exponent, 2 anything else.
int ClassifyNumberText(const QString& s);
// A number in the form NormalizeDecimalText gives; false when it is none.
bool TryParseDecimalText(const QString& s, double& value);

bool ParseDateTimeText(const QString& s, TDateTime& dt);
// Month/day/year and day/month/year with "/", "." or "-"; 0 when a field does not parse.
// Two-digit years up to 25 are 20xx, other two-digit years 19xx, longer years stay as
// written.  An impossible date raises EConvertError.
TDateTime ParseUSDateText(const QString& s);
TDateTime ParseEUDateText(const QString& s);
bool IsDateText(const QString& s);
TDateTime IncDateFields(int years, int months, int days, TDateTime date, TDateTime delta);

bool MatchFilterExpression(const QString& condition, const QString& value, bool caseSensitive);
bool MatchFilterTerm(const QString& pattern, const QString& value, bool caseSensitive);
bool MatchFilterPattern(const QString& pattern, const QString& value);

QString StripUnquotedSpaces(const QString& s);
// 1-based position of the ")" that closes the first "(", 0 when there is none.
int MatchingParenPos(const QString& s);
// The first character of s in charSet outside double quotes; p receives its 1-based
// position, or -1 (and the result is the null character) when there is none.
QChar FindUnquotedChar(const QString& charSet, const QString& s, int& p);
