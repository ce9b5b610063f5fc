#include "platform/core/date_text.h"

#include "platform/core/exception.h"
#include "platform/core/format_settings.h"
#include "platform/core/sysutils.h"

#include <QDate>
#include <QStringList>
#include <cmath>

namespace {
QString Pad(int v, int width) { return QString::number(v).rightJustified(width, QLatin1Char('0')); }

// Splits a day count into date and time of day; the time of a negative value counts from
// its day's start as well.
void Decode(TDateTime v, int& y, int& mo, int& d, int& h, int& mi, int& s, int& ms)
{
    DecodeDate(v, y, mo, d);
    DecodeTime(v, h, mi, s, ms);
}

bool StartsWithCI(const QString& f, int i, const char* word)
{
    return f.mid(i, int(strlen(word))).compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

int ExpandYear(int year, int digits)
{
    if (digits > 2) return year;
    const int now = QDate::currentDate().year();
    int y = now / 100 * 100 + year;
    if (y < now - 50) y += 100;
    else if (y >= now + 50) y -= 100;
    return y;
}

[[noreturn]] void Invalid(const QString& s, const char* what)
{
    throw EConvertError(QStringLiteral("'%1' is not a valid %2").arg(s, QLatin1String(what)));
}
}  // namespace

QString FormatDateTime(const QString& Format, TDateTime Value)
{
    int y, mo, d, h, mi, s, ms;
    Decode(Value, y, mo, d, h, mi, s, ms);
    bool twelve = Format.contains(QLatin1String("ampm"), Qt::CaseInsensitive) ||
                  Format.contains(QLatin1String("am/pm"), Qt::CaseInsensitive);
    QString out;
    bool afterHour = false;
    const int n = int(Format.size());
    for (int i = 0; i < n;) {
        const QChar c = Format[i];
        const QChar lc = c.toLower();
        auto run = [&] {
            int k = i;
            while (k < n && Format[k].toLower() == lc) ++k;
            return k - i;
        };
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            const int end = Format.indexOf(c, i + 1);
            out += Format.mid(i + 1, end < 0 ? -1 : end - i - 1);
            i = end < 0 ? n : end + 1;
            continue;
        }
        if (StartsWithCI(Format, i, "am/pm")) {
            out += h < 12 ? QStringLiteral("am") : QStringLiteral("pm");
            i += 5;
            continue;
        }
        if (StartsWithCI(Format, i, "ampm")) {
            out += h < 12 ? QStringLiteral("AM") : QStringLiteral("PM");
            i += 4;
            continue;
        }
        const int len = run();
        switch (lc.unicode()) {
        case 'y': out += len <= 2 ? Pad(y % 100, 2) : Pad(y, 4); break;
        case 'd': out += Pad(d, len >= 2 ? 2 : 1); break;
        case 'm':
            if (afterHour) out += Pad(mi, len >= 2 ? 2 : 1);
            else out += Pad(mo, len >= 2 ? 2 : 1);
            break;
        case 'h': {
            int hh = h;
            if (twelve) hh = h % 12 == 0 ? 12 : h % 12;
            out += Pad(hh, len >= 2 ? 2 : 1);
            break;
        }
        case 'n': out += Pad(mi, len >= 2 ? 2 : 1); break;
        case 's': out += Pad(s, len >= 2 ? 2 : 1); break;
        case 'z': out += Pad(ms, len >= 3 ? 3 : 1); break;
        case '/': out += QString(FormatSettings().DateSeparator).repeated(len); break;
        case ':': out += QString(FormatSettings().TimeSeparator).repeated(len); break;
        default: out += Format.mid(i, len); break;
        }
        if (lc == QLatin1Char('h')) afterHour = true;
        else if (lc.isLetter()) afterHour = false;
        i += len;
    }
    return out;
}

QString DateToStr(TDateTime Value) { return FormatDateTime(FormatSettings().ShortDateFormat, Value); }

QString TimeToStr(TDateTime Value) { return FormatDateTime(FormatSettings().LongTimeFormat, Value); }

TDateTime StrToDate(const QString& S)
{
    const QStringList parts = Trim(S).split(FormatSettings().DateSeparator);
    if (parts.size() < 2 || parts.size() > 3) Invalid(S, "date");
    int values[3] = {0, 0, 0};
    int yearDigits = 4;
    for (int i = 0; i < int(parts.size()); ++i) {
        int32_t v;
        const QString p = Trim(parts[i]);
        if (p.isEmpty() || !TryStrToInt(p, v) || v < 0 || p.startsWith(QLatin1Char('$'))) Invalid(S, "date");
        values[i] = v;
    }
    // The order of day, month and year in the short date format.
    QString order;
    for (QChar c : FormatSettings().ShortDateFormat.toLower())
        if ((c == QLatin1Char('d') || c == QLatin1Char('m') || c == QLatin1Char('y')) && !order.contains(c)) order += c;
    if (order.size() != 3) order = QStringLiteral("mdy");
    int y = QDate::currentDate().year(), m = 0, d = 0;
    if (parts.size() == 2) {
        // without a year: day and month in their order of the format
        order.remove(QLatin1Char('y'));
    }
    for (int i = 0; i < int(parts.size()); ++i) {
        switch (order[i].unicode()) {
        case 'd': d = values[i]; break;
        case 'm': m = values[i]; break;
        default:
            yearDigits = int(Trim(parts[i]).size());
            y = ExpandYear(values[i], yearDigits);
            break;
        }
    }
    TDateTime r;
    if (!TryEncodeDate(y, m, d, r)) Invalid(S, "date");
    return r;
}

TDateTime StrToTime(const QString& S)
{
    QString t = Trim(S);
    int pm = -1;
    for (const char* suffix : {"am", "pm", "a", "p"}) {
        if (t.endsWith(QLatin1String(suffix), Qt::CaseInsensitive)) {
            pm = suffix[0] == 'p' ? 1 : 0;
            t = Trim(t.left(t.size() - int(strlen(suffix))));
            break;
        }
    }
    const QStringList parts = t.split(FormatSettings().TimeSeparator);
    if (parts.isEmpty() || parts.size() > 3 || t.isEmpty()) Invalid(S, "time");
    int values[4] = {0, 0, 0, 0};
    for (int i = 0; i < int(parts.size()); ++i) {
        QString p = Trim(parts[i]);
        if (i == 2 && p.contains(QLatin1Char('.'))) {
            int32_t z;
            if (!TryStrToInt(p.mid(p.indexOf(QLatin1Char('.')) + 1), z) || z < 0) Invalid(S, "time");
            values[3] = z;
            p = p.left(p.indexOf(QLatin1Char('.')));
        }
        int32_t v;
        if (p.isEmpty() || p.startsWith(QLatin1Char('$')) || !TryStrToInt(p, v) || v < 0) Invalid(S, "time");
        values[i] = v;
    }
    if (parts.size() == 1 && pm < 0) Invalid(S, "time");
    int h = values[0];
    if (pm >= 0) {
        if (h < 1 || h > 12) Invalid(S, "time");
        h = h % 12 + (pm == 1 ? 12 : 0);
    }
    TDateTime r;
    if (!TryEncodeTime(h, values[1], values[2], values[3], r)) Invalid(S, "time");
    return r;
}
