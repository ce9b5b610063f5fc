#pragma once
// The keys a sort compares: one key per row and sort column, made once per sort after the
// column's style is decided once, so every comparison of two rows uses the same style
// whichever comes first.  No grid and no widgets: the grid hands in the texts and the cell
// facts it reads, and gets back the new order of the rows.
#include "grid/control/grid_services.h"

#include <QCollatorSortKey>
#include <QString>
#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

// What the sort reads of one column over the rows it sorts.
struct TSortColumnSource {
    TSortStyle Style = ssAutomatic;  // after the format hook
    QString Prefix, Suffix;
    bool Descending = false;
    bool IgnoreCase = false;
    // The compared text of a row (display or stored text), the text with tags removed
    // (ssHTML), the check state (ssCheckBox) and the graphic value (ssImages).
    std::function<QString(int Row)> Text;
    std::function<QString(int Row)> StrippedText;
    std::function<bool(int Row)> Checked;
    std::function<int64_t(int Row)> GraphicValue;
    // Whether the first sorted row's cell is a check box (automatic style).
    bool FirstIsCheckBox = false;
    // ssCustom / ssRaw: the application's comparison; nullptr gives 0.
    std::function<int(const QString& A, const QString& B)> CustomCompare;
    std::function<int(int RowA, int RowB)> RawCompare;
};

// The style a column sorts by, decided once from all its texts: check boxes when the first
// row's cell is one; numbers when every non-empty text is a number; dates (with times) or
// times when every non-empty text is written so; otherwise alphabetic.  The alphanumeric
// styles become numeric when every non-empty text is a number.
TSortStyle DecideSortStyle(TSortStyle Style, const std::vector<QString>& Texts, bool FirstIsCheckBox, bool IgnoreCase);

// The value a numeric (ssNumeric, ssFinancial) comparison uses: prefix and suffix removed,
// thousand separators removed for ssFinancial, the locale decimal separator read; a text that
// is no number has the value of its leading number (0 when none), an empty one is 0.
double SortNumberValue(const QString& Text, const QString& Prefix, const QString& Suffix, bool Financial);
// The value of a date or time text for ssDate, ssDateTime, ssTime, ssShortDateEU and
// ssShortDateUS; 0 for an empty text or one that does not convert.
double SortDateValue(TSortStyle Style, const QString& Text);

// One column's keys, by position in the sorted row list.
class TSortColumnKeys {
public:
    TSortColumnKeys(const TSortColumnSource& Source, const std::vector<int>& Rows);
    TSortStyle Style() const { return FStyle; }
    // -1, 0 or 1 in ascending terms, blanks not yet placed.
    int CompareAscending(int A, int B) const;
    bool Blank(int Pos) const { return FBlank[size_t(Pos)] != 0; }
    bool Descending() const { return FDescending; }
    // The values of a column compared as numbers (numbers, dates, times); nullptr otherwise.
    const std::vector<double>* Numbers() const { return FKind == kNumber ? &FNumbers : nullptr; }

private:
    enum TKind { kNumber, kText, kCollated, kInteger, kCustom, kRaw, kNone };
    TKind FKind = kNone;
    TSortStyle FStyle = ssAlphabetic;
    bool FDescending = false;
    std::vector<double> FNumbers;
    std::vector<QString> FTexts;
    std::vector<QCollatorSortKey> FCollated;
    std::vector<int64_t> FIntegers;
    std::vector<uint8_t> FBlank;
    std::function<int(const QString&, const QString&)> FCustom;
    std::function<int(int, int)> FRaw;
    const std::vector<int>* FRows = nullptr;
};

// The keys of all sort columns, each made when a comparison first needs it (a column after
// the first is read only when the columns before leave ties).
class TRowSortKeys {
public:
    struct TBlanks {
        bool Ignore = false;
        TSortBlankPosition Position = blFirst;
    };
    // Column k's source, for k in [0, ColumnCount); Compares counts the cell comparisons.
    TRowSortKeys(std::vector<int> Rows, int ColumnCount, std::function<TSortColumnSource(int K)> SourceOf,
                 TBlanks Blanks, int* Compares);
    // Rows at positions A and B in final order terms: -1 when A goes first.
    int Compare(int A, int B);
    const std::vector<int>& Rows() const { return FRows; }
    const TSortColumnKeys& Keys(int K);

private:
    std::vector<int> FRows;
    int FColumnCount;
    std::function<TSortColumnSource(int)> FSourceOf;
    TBlanks FBlanks;
    int* FCompares;
    std::vector<std::optional<TSortColumnKeys>> FKeys;
};

// The stable order of N items under Cmp (-1, 0, 1): Result[i] is the item that goes to
// position i; items that compare equal keep their order.  A bottom-up merge sort: n log n
// comparisons at most, no recursion, and never outside the list whatever Cmp answers.
template <typename TCompare>
std::vector<int> StableSortOrder(int N, TCompare&& Cmp)
{
    std::vector<int> a(static_cast<size_t>(std::max(N, 0)));
    for (int i = 0; i < N; ++i) a[size_t(i)] = i;
    if (N < 2) return a;
    std::vector<int> b(a.size());
    // Runs of 8 by insertion first, then merges of doubling width.
    constexpr int kRun = 8;
    for (int lo = 0; lo < N; lo += kRun) {
        const int hi = std::min(lo + kRun, N);
        for (int i = lo + 1; i < hi; ++i) {
            const int v = a[size_t(i)];
            int j = i;
            while (j > lo && Cmp(v, a[size_t(j) - 1]) < 0) {
                a[size_t(j)] = a[size_t(j) - 1];
                --j;
            }
            a[size_t(j)] = v;
        }
    }
    for (int width = kRun; width < N; width *= 2) {
        for (int lo = 0; lo < N; lo += 2 * width) {
            const int mid = std::min(lo + width, N), hi = std::min(lo + 2 * width, N);
            int i = lo, j = mid, k = lo;
            // Already in order: the halves stay as they are.
            if (mid >= hi || Cmp(a[size_t(mid)], a[size_t(mid) - 1]) >= 0) {
                std::copy(a.begin() + lo, a.begin() + hi, b.begin() + lo);
                continue;
            }
            while (i < mid && j < hi) b[size_t(k++)] = Cmp(a[size_t(j)], a[size_t(i)]) < 0 ? a[size_t(j++)] : a[size_t(i++)];
            while (i < mid) b[size_t(k++)] = a[size_t(i++)];
            while (j < hi) b[size_t(k++)] = a[size_t(j++)];
        }
        a.swap(b);
    }
    return a;
}

// The number of exchanges that make the permutation (items minus cycles).
int PermutationSwaps(const std::vector<int>& Order);
