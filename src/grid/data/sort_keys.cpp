#include "grid/data/sort_keys.h"

#include "grid/base/number_routines.h"
#include "platform/core/date_text.h"
#include "platform/core/format_settings.h"

#include <QCollator>
#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

bool IsNumberText(const QString& s) { return ClassifyNumberText(s) != 2; }

// The separator first occurs at character 2 or 3, before the last character, between digits.
bool SeparatorPlaced(const QString& s, QChar Sep)
{
    const int p = int(s.indexOf(Sep));
    return (p == 1 || p == 2) && p + 1 < s.size() && s[p - 1].isDigit() && s[p + 1].isDigit();
}

template <typename T>
int Sign(T a, T b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

// The number s starts with (after blanks and a plus sign), 0 when there is none; Whole tells
// whether the number is all of s but trailing blanks.  Only '.' is read as the decimal point.
double LeadingNumber(QStringView s, bool& Whole)
{
    Whole = false;
    while (!s.isEmpty() && s.front() == QLatin1Char(' ')) s = s.mid(1);
    while (!s.isEmpty() && s.back() == QLatin1Char(' ')) s.chop(1);
    if (!s.isEmpty() && s.front() == QLatin1Char('+')) s = s.mid(1);
    char buf[64];
    const qsizetype n = std::min<qsizetype>(s.size(), qsizetype(sizeof buf));
    qsizetype k = 0;
    for (; k < n; ++k) {
        const char16_t c = s[k].unicode();
        if (c >= 128) break;
        buf[k] = char(c);
    }
    double v = 0;
    const auto [end, ec] = std::from_chars(buf, buf + k, v, std::chars_format::general);
    if (ec != std::errc() || !std::isfinite(v)) return 0;
    Whole = end == buf + s.size();
    return v;
}

}  // namespace

TSortStyle DecideSortStyle(TSortStyle Style, const std::vector<QString>& Texts, bool FirstIsCheckBox, bool IgnoreCase)
{
    const TSortStyle alpha = IgnoreCase ? ssAlphaNoCase : ssAlphabetic;
    const auto allNonEmpty = [&](auto pred) {
        bool any = false;
        for (const QString& t : Texts) {
            if (t.isEmpty()) continue;
            if (!pred(t)) return false;
            any = true;
        }
        return any;
    };
    if (Style == ssAlphaNumeric || Style == ssAlphaNumericNoCase)
        return allNonEmpty(IsNumberText) ? ssNumeric : (Style == ssAlphaNumeric ? ssAlphabetic : ssAlphaNoCase);
    if (Style != ssAutomatic) return Style;
    if (FirstIsCheckBox) return ssCheckBox;
    if (allNonEmpty(IsNumberText)) return ssNumeric;
    const QChar ds = LocaleDateSeparator(), ts = LocaleTimeSeparator();
    if (allNonEmpty([&](const QString& t) { return SeparatorPlaced(t, ds); })) {
        const bool withTime = std::any_of(Texts.begin(), Texts.end(), [&](const QString& t) { return t.contains(ts); });
        return withTime ? ssDateTime : ssDate;
    }
    if (allNonEmpty([&](const QString& t) { return SeparatorPlaced(t, ts); })) return ssTime;
    return alpha;
}

double SortNumberValue(const QString& Text, const QString& Prefix, const QString& Suffix, bool Financial)
{
    if (Text.isEmpty()) return 0;
    const QChar dec = LocaleDecimalSeparator();
    bool whole = false;
    // Most texts need no change: read them in place.
    if (Prefix.isEmpty() && Suffix.isEmpty() && !Financial && (dec == QLatin1Char('.') || !Text.contains(dec)))
        return LeadingNumber(Text, whole);
    QString s = Text;
    if (!Prefix.isEmpty()) {
        const int p = int(s.indexOf(Prefix));
        if (p >= 0) s.remove(p, Prefix.size());
    }
    if (!Suffix.isEmpty()) {
        const int p = int(s.indexOf(Suffix));
        if (p >= 0) s.remove(p, Suffix.size());
    }
    if (Financial) s.remove(LocaleThousandSeparator());
    if (dec != QLatin1Char('.')) {
        const int p = int(s.indexOf(dec));
        if (p >= 0) s[p] = QLatin1Char('.');
    }
    return LeadingNumber(s, whole);
}

double SortDateValue(TSortStyle Style, const QString& Text)
{
    if (Text.isEmpty()) return 0;
    try {
        switch (Style) {
        case ssShortDateEU: return ParseEUDateText(Text);
        case ssShortDateUS: return ParseUSDateText(Text);
        case ssTime: return StrToTime(Text);
        default: {
            TDateTime dt = 0;
            return ParseDateTimeText(Text, dt) ? dt : 0;
        }
        }
    } catch (...) {
        // A text that is no date sorts as 0, never as an error.
        return 0;
    }
}

// ---- keys of one column --------------------------------------------------------------------

TSortColumnKeys::TSortColumnKeys(const TSortColumnSource& Source, const std::vector<int>& Rows)
    : FDescending(Source.Descending), FRows(&Rows)
{
    const size_t n = Rows.size();
    std::vector<QString> texts(n);
    if (Source.Text)
        for (size_t i = 0; i < n; ++i) texts[i] = Source.Text(Rows[i]);
    FBlank.resize(n);
    for (size_t i = 0; i < n; ++i) FBlank[i] = texts[i].isEmpty();
    FStyle = DecideSortStyle(Source.Style, texts, Source.FirstIsCheckBox, Source.IgnoreCase);
    switch (FStyle) {
    case ssAlphabetic:
    case ssAlphaCase:
    case ssAutomatic:
    case ssAlphaNumeric:
    case ssAlphaNumericNoCase:
        FKind = kText;
        FTexts = std::move(texts);
        break;
    case ssAlphaNoCase:
        FKind = kText;
        FTexts = std::move(texts);
        for (QString& t : FTexts) t = t.toUpper();
        break;
    case ssHTML:
        FKind = kText;
        FTexts.resize(n);
        for (size_t i = 0; i < n; ++i) FTexts[i] = Source.StrippedText ? Source.StrippedText(Rows[i]) : texts[i];
        break;
    case ssAnsiAlphaCase:
    case ssAnsiAlphaNoCase: {
        FKind = kCollated;
        QCollator collator;
        collator.setCaseSensitivity(FStyle == ssAnsiAlphaCase ? Qt::CaseSensitive : Qt::CaseInsensitive);
        FCollated.reserve(n);
        for (const QString& t : texts) FCollated.push_back(collator.sortKey(t));
        break;
    }
    case ssNumeric:
    case ssFinancial:
        FKind = kNumber;
        FNumbers.resize(n);
        for (size_t i = 0; i < n; ++i)
            FNumbers[i] = SortNumberValue(texts[i], Source.Prefix, Source.Suffix, FStyle == ssFinancial);
        break;
    case ssDate:
    case ssDateTime:
    case ssTime:
    case ssShortDateEU:
    case ssShortDateUS:
        FKind = kNumber;
        FNumbers.resize(n);
        for (size_t i = 0; i < n; ++i) FNumbers[i] = SortDateValue(FStyle, texts[i]);
        break;
    case ssImages:
        FKind = kInteger;
        FIntegers.resize(n);
        for (size_t i = 0; i < n; ++i) FIntegers[i] = Source.GraphicValue ? Source.GraphicValue(Rows[i]) : -1;
        break;
    case ssCheckBox:
        FKind = kInteger;
        FIntegers.resize(n);
        for (size_t i = 0; i < n; ++i) FIntegers[i] = Source.Checked && Source.Checked(Rows[i]) ? 1 : 0;
        break;
    case ssCustom:
        FKind = Source.CustomCompare ? kCustom : kNone;
        FCustom = Source.CustomCompare;
        FTexts = std::move(texts);
        break;
    case ssRaw:
        FKind = Source.RawCompare ? kRaw : kNone;
        FRaw = Source.RawCompare;
        break;
    }
}

int TSortColumnKeys::CompareAscending(int A, int B) const
{
    const size_t a = size_t(A), b = size_t(B);
    switch (FKind) {
    case kNumber: return Sign(FNumbers[a], FNumbers[b]);
    case kText: {
        const int r = QStringView(FTexts[a]).compare(QStringView(FTexts[b]), Qt::CaseSensitive);
        return r < 0 ? -1 : (r > 0 ? 1 : 0);
    }
    case kCollated: {
        const int r = FCollated[a].compare(FCollated[b]);
        return r < 0 ? -1 : (r > 0 ? 1 : 0);
    }
    case kInteger: return Sign(FIntegers[a], FIntegers[b]);
    case kCustom: {
        const int r = FCustom(FTexts[a], FTexts[b]);
        return r < 0 ? -1 : (r > 0 ? 1 : 0);
    }
    case kRaw: {
        const int r = FRaw((*FRows)[a], (*FRows)[b]);
        return r < 0 ? -1 : (r > 0 ? 1 : 0);
    }
    case kNone: return 0;
    }
    return 0;
}

// ---- keys of all sort columns --------------------------------------------------------------

TRowSortKeys::TRowSortKeys(std::vector<int> Rows, int ColumnCount, std::function<TSortColumnSource(int K)> SourceOf,
                           TBlanks Blanks, int* Compares)
    : FRows(std::move(Rows)), FColumnCount(ColumnCount), FSourceOf(std::move(SourceOf)), FBlanks(Blanks),
      FCompares(Compares), FKeys(size_t(std::max(ColumnCount, 0)))
{
}

const TSortColumnKeys& TRowSortKeys::Keys(int K)
{
    std::optional<TSortColumnKeys>& k = FKeys[size_t(K)];
    if (!k) k.emplace(FSourceOf(K), FRows);
    return *k;
}

int TRowSortKeys::Compare(int A, int B)
{
    for (int k = 0; k < FColumnCount; ++k) {
        const TSortColumnKeys& keys = Keys(k);
        if (FCompares) ++*FCompares;
        const bool blankA = keys.Blank(A), blankB = keys.Blank(B);
        if (FBlanks.Ignore && blankA != blankB) return blankA == (FBlanks.Position == blFirst) ? -1 : 1;
        int r = keys.CompareAscending(A, B);
        if (keys.Descending()) r = -r;
        if (r != 0) return r;
    }
    return 0;
}

// ---- the sort ------------------------------------------------------------------------------

int PermutationSwaps(const std::vector<int>& Order)
{
    std::vector<uint8_t> seen(Order.size());
    int swaps = 0;
    for (size_t i = 0; i < Order.size(); ++i) {
        if (seen[i]) continue;
        int len = 0;
        for (size_t j = i; !seen[j]; j = size_t(Order[j])) {
            seen[j] = 1;
            ++len;
        }
        swaps += len - 1;
    }
    return swaps;
}
