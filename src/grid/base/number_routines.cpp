#include "grid/base/number_routines.h"

#include "platform/core/exception.h"
#include "platform/core/format_settings.h"
#include "platform/core/sysutils.h"

#include <QLocale>
#include <cmath>

bool IsDigitChar(QChar ch) { return ch >= QLatin1Char('0') && ch <= QLatin1Char('9'); }
bool IsDigitOrMinus(QChar ch) { return IsDigitChar(ch) || ch == QLatin1Char('-'); }
bool IsNumberChar(QChar ch)
{
    return IsDigitChar(ch) || ch == LocaleThousandSeparator() || ch == LocaleDecimalSeparator() || ch == QLatin1Char('e') ||
           ch == QLatin1Char('E');
}
bool IsSignedNumberChar(QChar ch) { return IsNumberChar(ch) || ch == QLatin1Char('+') || ch == QLatin1Char('-'); }
bool IsFloatTextChar(QChar ch) { return IsDigitChar(ch) || QStringLiteral(",-.eE+").contains(ch); }

int ApplyMinMaxLimits(int value, int minLimit, int maxLimit)
{
    if (minLimit == maxLimit) return value;
    int r = value;
    if (value < minLimit && minLimit > 0) r = minLimit;
    if (value > maxLimit && maxLimit > 0) r = maxLimit;
    return r;
}

bool ParseRCCellRef(const QString& text, QPoint& cell)
{
    const QString s = text.toUpper();
    if (s.size() <= 3 || s[0] != QLatin1Char('R')) return false;
    const int c = s.indexOf(QLatin1Char('C'), 1);
    if (c < 0) return false;
    int32_t row, col;
    if (!TryStrToInt(s.mid(1, c - 1), row) || !TryStrToInt(s.mid(c + 1), col)) return false;
    cell = QPoint(col, row);
    return true;
}

QString NormalizeNumberText(const QString& text)
{
    if (text.isEmpty()) return QString();
    QString s = text;
    bool negative = s.startsWith(QLatin1Char('(')) && s.endsWith(QLatin1Char(')'));
    while (s.size() >= 2 && !IsNumberChar(s[0])) {
        if (s[0] == QLatin1Char('-')) negative = true;
        s.remove(0, 1);
    }
    QString r;
    for (QChar ch : s) {
        if (ch == LocaleThousandSeparator()) continue;
        if (ch == LocaleDecimalSeparator()) r += QLatin1Char('.');
        else if (IsFloatTextChar(ch)) r += ch;
        else break;
    }
    if (negative) r.prepend(QLatin1Char('-'));
    return r;
}

QString NormalizeDecimalText(const QString& s)
{
    QString r;
    r.reserve(s.size());
    for (QChar ch : s) {
        if (ch == LocaleDecimalSeparator()) r += QLatin1Char('.');
        else if (ch != LocaleThousandSeparator()) r += ch;
    }
    return r;
}

bool TryParseDecimalText(const QString& s, double& value)
{
    bool ok = false;
    const double v = QLocale::c().toDouble(Trim(s), &ok);
    if (ok) value = v;
    return ok;
}

int ClassifyNumberText(const QString& s)
{
    const int n = s.size();
    if (n == 0) return 2;
    bool intForm = true, decForm = true, expForm = true, eSeen = false;
    int minus = 0, decSeps = 0, lastThousand = 0;
    const QChar ts = LocaleThousandSeparator(), ds = LocaleDecimalSeparator();
    for (int i = 1; i <= n; ++i) {
        const QChar c = s[i - 1];
        const bool isE = c == QLatin1Char('e') || c == QLatin1Char('E');
        if (isE) {
            if (eSeen) expForm = false;
            eSeen = true;
            if (i == 1) expForm = false;
        }
        if (i == n && (isE || c == QLatin1Char('+') || c == QLatin1Char('-'))) expForm = false;
        if (!IsDigitChar(c) && c != QLatin1Char('-') && c != ts && c != ds) decForm = false;
        if (!IsSignedNumberChar(c) || c == ts) expForm = false;
        if (c == ts) {
            if (lastThousand > 0 && i - lastThousand < 4) decForm = false;
            lastThousand = i;
        }
        if (c == ds) ++decSeps;
        if (!IsDigitOrMinus(c)) intForm = false;
        if (c == QLatin1Char('-')) {
            ++minus;
            if (i > 1) intForm = decForm = false;
        }
    }
    int result;
    if (intForm) result = 0;
    else result = (decForm && !eSeen) ? 1 : 2;
    if (eSeen && expForm) {
        result = 5;
        if (minus == 2) minus = 1;  // a negative exponent of a negative number
    }
    if (minus > 1 || decSeps > 1) result = 2;
    return result;
}

namespace {
// Order of day, month and year in the short date format: the field index of each.
void DateOrder(int& dayField, int& monthField, int& yearField)
{
    const QString f = LocaleShortDateFormat().toUpper();
    const int pd = f.indexOf(QLatin1Char('D')), pm = f.indexOf(QLatin1Char('M')), py = f.indexOf(QLatin1Char('Y'));
    auto rank = [](int a, int b, int c) { return (b >= 0 && b < a ? 1 : 0) + (c >= 0 && c < a ? 1 : 0); };
    dayField = rank(pd, pm, py);
    monthField = rank(pm, pd, py);
    yearField = rank(py, pd, pm);
}
}  // namespace

bool ParseDateTimeText(const QString& text, TDateTime& dt)
{
    const QChar sep = LocaleDateSeparator();
    QString s = text;
    int32_t fields[3];
    for (int i = 0; i < 2; ++i) {
        const int p = s.indexOf(sep);
        if (p < 0) return false;
        if (!TryStrToInt(s.left(p), fields[i])) return false;
        s = s.mid(p + 1);
    }
    s = Trim(s);
    QString timeText;
    const int blank = s.indexOf(QLatin1Char(' '));
    if (blank >= 0) {
        timeText = Trim(s.mid(blank));
        s = s.left(blank);
    }
    if (!TryStrToInt(s, fields[2])) return false;
    int df, mf, yf;
    DateOrder(df, mf, yf);
    const int day = fields[df], month = fields[mf], year = fields[yf];
    if (day > 31 || month > 12) return false;
    TDateTime date;
    if (!TryEncodeDate(year, month, day, date)) return false;
    if (timeText.isEmpty()) {
        dt = date;
        return true;
    }
    const QChar tsep = LocaleTimeSeparator();
    const int p1 = timeText.indexOf(tsep);
    if (p1 < 0) {
        dt = date;
        return false;
    }
    int32_t hour, min, sec = 0;
    if (!TryStrToInt(timeText.left(p1), hour) || hour > 23) return false;
    const QString rest = timeText.mid(p1 + 1);
    const int p2 = rest.indexOf(tsep);
    if (p2 >= 0) {
        if (!TryStrToInt(rest.left(p2), min) || !TryStrToInt(rest.mid(p2 + 1), sec)) return false;
    } else if (!TryStrToInt(rest, min)) {
        return false;
    }
    if (sec > 60 || min > 59) return false;
    TDateTime time;
    if (!TryEncodeTime(hour, min, sec, 0, time)) return false;
    dt = date + time;
    return true;
}

namespace {
TDateTime ParseDateFields(const QString& s, bool monthFirst)
{
    QChar sep;
    if (s.contains(QLatin1Char('/'))) sep = QLatin1Char('/');
    else if (s.contains(QLatin1Char('.'))) sep = QLatin1Char('.');
    else if (s.contains(QLatin1Char('-'))) sep = QLatin1Char('-');
    else return 0;
    const int p1 = s.indexOf(sep);
    const int p2 = s.indexOf(sep, p1 + 1);
    if (p2 < 0) return 0;
    int32_t a, b, y;
    if (!TryStrToInt(s.left(p1), a) || !TryStrToInt(s.mid(p1 + 1, p2 - p1 - 1), b) || !TryStrToInt(s.mid(p2 + 1), y)) return 0;
    int year = static_cast<uint16_t>(y);
    // only two-digit years get a century; a year written in full stays as it is
    if (year < 100) year += year <= 25 ? 2000 : 1900;
    return monthFirst ? EncodeDate(year, a, b) : EncodeDate(year, b, a);
}
}  // namespace

TDateTime ParseUSDateText(const QString& s) { return ParseDateFields(s, true); }
TDateTime ParseEUDateText(const QString& s) { return ParseDateFields(s, false); }

bool IsDateText(const QString& s)
{
    const QChar sep = LocaleDateSeparator();
    const int p = s.indexOf(sep) + 1;
    if (p < 2) return false;
    const int q = s.mid(p).indexOf(sep) + 1;
    return q >= 2;
}

TDateTime IncDateFields(int years, int months, int days, TDateTime date, TDateTime delta)
{
    const double frac = date - std::floor(date);
    int y, m, d;
    if (days != 0 && years == 0 && months == 0) return date + days;
    if ((years != 0) != (months != 0) && days == 0) {
        DecodeDate(date, y, m, d);
        if (years != 0) {
            y += years;
        } else {
            // the month moves with a wrap into the neighbouring years
            int total = (y * 12 + (m - 1)) + months;
            y = total / 12;
            m = total % 12 + 1;
        }
        // a day the target month does not have becomes its last day
        d = std::min(d, DaysInMonth(y, m));
        TDateTime r;
        if (TryEncodeDate(y, m, d, r)) return r + frac;
        return date + delta;
    }
    return date + delta;
}

QString StripUnquotedSpaces(const QString& s)
{
    QString r;
    int quotes = 0;
    for (QChar ch : s) {
        if (ch == QLatin1Char('"')) ++quotes;
        if (ch == QLatin1Char(' ') && quotes % 2 == 0) continue;
        r += ch;
    }
    return r;
}

int MatchingParenPos(const QString& s)
{
    int open = 0, close = 0;
    for (int i = 0; i < s.size(); ++i) {
        if (s[i] == QLatin1Char('(')) ++open;
        else if (s[i] == QLatin1Char(')')) {
            ++close;
            if (close == open) return i + 1;
        }
    }
    return 0;
}

QChar FindUnquotedChar(const QString& charSet, const QString& s, int& p)
{
    int quotes = 0;
    for (int i = 0; i < s.size(); ++i) {
        if (s[i] == QLatin1Char('"')) ++quotes;
        else if (quotes % 2 == 0 && charSet.contains(s[i])) {
            p = i + 1;
            return s[i];
        }
    }
    p = -1;
    return QChar();
}

bool MatchFilterExpression(const QString& condition, const QString& value, bool caseSensitive)
{
    QString s = StripUnquotedSpaces(Trim(condition));
    if (s.startsWith(QLatin1Char('='))) s.remove(0, 1);
    const QString ops = QStringLiteral("(;^&|");
    bool result = false;
    QChar op;  // null: none yet
    auto combine = [&](bool v) {
        if (op.isNull()) result = v;
        else if (op == QLatin1Char('&')) result = result && v;
        else if (op == QLatin1Char(';') || op == QLatin1Char('^') || op == QLatin1Char('|')) result = result || v;
        // "(" discards the value of the empty term after a closing parenthesis
    };
    for (;;) {
        int p;
        const QChar found = FindUnquotedChar(ops, s, p);
        if (found.isNull()) break;
        bool v;
        if (s.startsWith(QLatin1Char('('))) {
            const int close = MatchingParenPos(s);
            if (close == 0) {
                // an unclosed group runs to the end instead of looping forever
                v = MatchFilterExpression(s.mid(1), value, caseSensitive);
                s.clear();
            } else {
                v = MatchFilterExpression(s.mid(1, close - 2), value, caseSensitive);
                s = s.mid(close);
            }
            combine(v);
            op = QLatin1Char('(');
        } else {
            v = MatchFilterTerm(s.left(p - 1), value, caseSensitive);
            s = s.mid(p);
            combine(v);
            op = found;
        }
    }
    combine(MatchFilterTerm(s, value, caseSensitive));
    return result;
}

bool MatchFilterTerm(const QString& pattern, const QString& value, bool caseSensitive)
{
    if (caseSensitive) return MatchFilterPattern(pattern, value);
    return MatchFilterPattern(pattern.toUpper(), value.toUpper());
}

namespace {
QString ReadOperand(const QString& pattern, int start)
{
    int i = start;
    while (i < pattern.size() && pattern[i] == QLatin1Char(' ')) ++i;
    if (i < pattern.size() && pattern[i] == QLatin1Char('"')) ++i;
    QString r;
    int quotes = 0;
    for (; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c == QLatin1Char('"')) {
            ++quotes;
            continue;  // a closing quote is dropped
        }
        if (c == QLatin1Char(' ')) break;
        if ((c == QLatin1Char('&') || c == QLatin1Char('|')) && quotes % 2 == 0) break;
        r += c;
    }
    return r;
}

// <0, 0, >0 as value compares to operand: numbers as numbers, dates as dates, else texts.
int CompareOperand(const QString& value, const QString& operand)
{
    double a, b;
    TDateTime da, db;
    const bool va = ParseDateTimeText(value, da), vb = ParseDateTimeText(operand, db);
    if (TryParseDecimalText(NormalizeDecimalText(value), a) && TryParseDecimalText(NormalizeDecimalText(operand), b) && !va && !vb)
        return a < b ? -1 : (a > b ? 1 : 0);
    if (va && vb) return da < db ? -1 : (da > db ? 1 : 0);
    const QString x = value.left(255), y = operand.left(255);
    return x < y ? -1 : (x > y ? 1 : 0);
}

bool WildMatch(const QString& pat, int pi, const QString& val, int vi, bool& negate)
{
    const int pn = pat.size(), vn = val.size();
    while (!(pi == pn && vi == vn)) {
        if (pi < pn && pat[pi] == QLatin1Char('!')) {
            negate = true;
            ++pi;
            continue;
        }
        if (pi < pn && pat[pi] == QLatin1Char('"')) {
            ++pi;
            continue;
        }
        if (pi < pn && pat[pi] == QLatin1Char('*')) {
            while (pi < pn && pat[pi] == QLatin1Char('*')) ++pi;
            for (int k = vn; k >= vi; --k)
                if (WildMatch(pat, pi, val, k, negate)) return true;
            return false;
        }
        if (pi >= pn || vi >= vn) return false;
        if (pat[pi] != QLatin1Char('?') && pat[pi] != val[vi]) return false;
        ++pi;
        ++vi;
    }
    return true;
}
}  // namespace

bool MatchFilterPattern(const QString& pattern, const QString& value)
{
    bool gt = true, lt = true, gtDone = false, ltDone = false;
    const int pg = pattern.indexOf(QLatin1Char('>'));
    if (pg >= 0) {
        const bool incl = pg + 1 < pattern.size() && pattern[pg + 1] == QLatin1Char('=');
        const int c = CompareOperand(value, ReadOperand(pattern, pg + 1 + (incl ? 1 : 0)));
        gt = incl ? c >= 0 : c > 0;
        gtDone = true;
    }
    const int pl = pattern.indexOf(QLatin1Char('<'));
    if (pl >= 0) {
        const bool incl = pl + 1 < pattern.size() && pattern[pl + 1] == QLatin1Char('=');
        const int c = CompareOperand(value, ReadOperand(pattern, pl + 1 + (incl ? 1 : 0)));
        lt = incl ? c <= 0 : c < 0;
        ltDone = true;
    }
    if (pattern.contains(QLatin1Char('!'))) {
        if (pg < 0) gtDone = true;
        if (pl < 0) ltDone = true;
    }
    if (pattern.contains(QLatin1Char('^')) && (gtDone || ltDone)) return gt || lt;
    if (pattern.contains(QLatin1Char('&')) && gtDone && ltDone) return gt && lt;
    if (pg >= 0 && gt) return true;
    if (pl >= 0 && lt) return true;
    bool negate = false;
    const bool m = WildMatch(pattern, 0, value, 0, negate);
    return negate ? !m : m;
}
