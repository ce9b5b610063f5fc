// Clearing cell texts and properties over ranges, trimming texts, colouring a range, joining
// two columns, and merging or splitting cells by their contents.  Every clearing goes
// through ClearRect so that its rules hold for all the wrappers.
#include "grid/control/pro_string_grid.h"

#include "platform/core/sysutils.h"

#include <algorithm>

namespace {
const QString kInvalidRow = QStringLiteral("Invalid row accessed");
const QString kInvalidCol = QStringLiteral("Invalid column accessed");
}  // namespace

void TProStringGrid::CheckClearRange(int ACol1, int ARow1, int ACol2, int ARow2) const
{
    // The store keeps the hidden columns beyond the shown ones, so ranges reach them too.
    if (ACol1 < 0 || ACol2 >= TotalColCount()) throw EProGridError(kInvalidCol);
    if (ARow1 < 0 || ARow2 >= RowCount()) throw EProGridError(kInvalidRow);
}

void TProStringGrid::ClearRect(int ACol1, int ARow1, int ACol2, int ARow2)
{
    if (ACol1 > ACol2 || ARow1 > ARow2) return;
    const bool dying = FTornDown || Destroying();
    if (dying) {
        // Teardown: the texts go with the store; only the properties are let go of.
        if (FNilObjects) {
            for (int c = std::max(ACol1, 0); c <= std::min(ACol2, TotalColCount() - 1); ++c)
                for (int r = std::max(ARow1, 0); r <= std::min(ARow2, RowCount() - 1); ++r) SetGridObject(c, r, nullptr);
        } else {
            FreePropRect(ACol1, ARow1, ACol2, ARow2);
        }
        FHasCellProps = false;
        return;
    }
    CheckClearRange(ACol1, ARow1, ACol2, ARow2);
    // Display to store columns once per column, not per cell.
    std::vector<int> real;
    real.reserve(size_t(ACol2 - ACol1 + 1));
    for (int i = ACol1; i <= ACol2; ++i) real.push_back(FSaveHiddenCells ? DisplToRealColumn(i) : i);
    const bool props = FHasCellProps || HasCellProps();
    for (int r = ARow1; r <= ARow2; ++r) {
        for (int i = ACol1; i <= ACol2; ++i) {
            const int a = real[size_t(i - ACol1)];
            if (!FClearTextOnly && props && HasCellProperties(a, r)) {
                if (FNilObjects) {
                    // another cell holds these properties now
                    SetGridCell(a, r, QString());
                    SetGridObject(a, r, nullptr);
                } else {
                    RemoveCellGraphic(a, r);
                    SetCellProperties(a, r, nullptr);
                }
            }
            if (!GetGridCell(a, r).isEmpty()) {
                SetCells(a, r, QString());
                if (i != a) RepaintCell(i, r);
            }
        }
    }
    const int lastCol = FSaveHiddenCells ? real.back() : ACol2;
    // Only a clearing of the whole store, hidden rows none, leaves the grid without properties.
    if (ACol1 == 0 && ARow1 == 0 && lastCol >= TotalColCount() - 1 && ARow2 >= RowCount() - 1 &&
        HiddenRowCount() == 0 && !FClearTextOnly)
        FHasCellProps = false;
    if (!FBlockCellChange) CellsChanged(TRect{real.front(), ARow1, lastCol, ARow2});
}

// Whole rows reach the hidden columns too, so their ranges are store columns whatever
// SaveHiddenCells says (display columns past the shown ones map to nothing).
void TProStringGrid::ClearStoreRect(int ACol1, int ARow1, int ACol2, int ARow2)
{
    struct Restore {
        bool& Flag;
        bool Was;
        ~Restore() { Flag = Was; }
    } restore{FSaveHiddenCells, FSaveHiddenCells};
    FSaveHiddenCells = false;
    ClearRect(ACol1, ARow1, ACol2, ARow2);
}

void TProStringGrid::ClearRows(int RowIndex, int RCount)
{
    if (RowCount() == 0 || ColCount() == 0 || RCount <= 0) return;
    if (RowIndex < 0 || RowIndex + RCount > RowCount()) throw EProGridError(kInvalidRow);
    ClearStoreRect(0, RowIndex, ColCount() + NumHiddenColumns() - 1, RowIndex + RCount - 1);
}

void TProStringGrid::ClearCols(int ColIndex, int CCount)
{
    if (RowCount() == 0 || ColCount() == 0 || CCount <= 0) return;
    if (ColIndex < 0 || ColIndex + CCount > TotalColCount()) throw EProGridError(kInvalidCol);
    ClearRect(ColIndex, 0, ColIndex + CCount - 1, RowCount() - 1);
}

void TProStringGrid::ClearNormalRows(int RowIndex, int RCount)
{
    if (RowCount() == 0 || ColCount() == 0 || RCount <= 0) return;
    if (RowIndex < 0 || RowIndex + RCount > RowCount()) throw EProGridError(kInvalidRow);
    ClearStoreRect(FixedCols(), RowIndex, ColCount() + NumHiddenColumns() - FixedRightCols() - 1, RowIndex + RCount - 1);
}

void TProStringGrid::ClearNormalCols(int ColIndex, int CCount)
{
    if (RowCount() == 0 || ColCount() == 0 || CCount <= 0) return;
    if (ColIndex < 0 || ColIndex + CCount > TotalColCount()) throw EProGridError(kInvalidCol);
    ClearRect(ColIndex, FixedRows(), ColIndex + CCount - 1, RowCount() - FixedFooters() - 1);
}

void TProStringGrid::ClearNormalCells()
{
    if (FixedCols() == 0 && HasNodes()) RemoveAllNodes();
    ClearStoreRect(FixedCols(), FixedRows(), ColCount() + NumHiddenColumns() - FixedRightCols() - 1,
              RowCount() - FixedFooters() - 1);
}

void TProStringGrid::ClearSelection()
{
    if (FMouseActions->DisjunctRowSelect()) {
        // The real rows of all present rows in one walk (a lookup per row would cost rows x rows).
        const bool persistent = FMouseActions->RowSelectPersistent();
        const std::vector<int> hidden = HiddenIdxSorted();
        size_t h = 0;
        int realRow = 0;
        std::vector<int> rows;
        for (int r = 0; r < RowCount(); ++r, ++realRow) {
            while (h < hidden.size() && hidden[h] == realRow) {
                ++h;
                ++realRow;
            }
            if (r >= FixedRows() && GetRowSelect(persistent ? realRow : r)) rows.push_back(r);
        }
        for (int r : rows) ClearRows(r, 1);
    } else if (FMouseActions->DisjunctColSelect()) {
        for (int c = FixedCols(); c < ColCount(); ++c)
            if (GetColSelect(c)) ClearCols(c, 1);
    } else {
        const TGridRect s = Selection();
        ClearRect(s.Left, s.Top, s.Right, s.Bottom);
    }
}

void TProStringGrid::Clear()
{
    if (!FTornDown && !Destroying() && HasNodes()) RemoveAllNodes();
    if (RowCount() > 0 && TotalColCount() > 0) {
        ClearStoreRect(0, 0, TotalColCount() - 1, RowCount() - 1);
    }
    SearchInc.clear();
    if (NumHiddenColumns() > 0) Invalidate();
}

void TProStringGrid::ClearAll()
{
    Clear();
    for (const auto& item : FGridItems) item->Clear(!FClearTextOnly);
}

// ---- trimming and colouring ------------------------------------------------------------------

void TProStringGrid::TrimRect(int ACol1, int ARow1, int ACol2, int ARow2)
{
    if (ACol1 > ACol2 || ARow1 > ARow2) return;
    CheckClearRange(ACol1, ARow1, ACol2, ARow2);
    for (int i = ACol1; i <= ACol2; ++i) {
        const int a = FSaveHiddenCells ? DisplToRealColumn(i) : i;
        for (int r = ARow1; r <= ARow2; ++r) {
            const QString s = GetGridCell(a, r);
            const QString t = Trim(s);
            if (t == s) continue;
            // a covered cell's own text is not the block's text
            if (IsMergedNonBaseCell(a, r)) SetGridCell(a, r, t);
            else SetCells(a, r, t);
        }
    }
}

void TProStringGrid::TrimColumn(int ACol)
{
    if (RowCount() > 0) TrimRect(ACol, 0, ACol, RowCount() - 1);
}

void TProStringGrid::TrimRow(int ARow)
{
    if (ColCount() > 0) TrimRect(0, ARow, ColCount() - 1, ARow);
}

void TProStringGrid::TrimAll()
{
    if (RowCount() > 0 && ColCount() > 0) TrimRect(0, 0, ColCount() - 1, RowCount() - 1);
}

void TProStringGrid::ColorRect(int ACol1, int ARow1, int ACol2, int ARow2, TColor AColor)
{
    if (ACol1 > ACol2 || ARow1 > ARow2) return;
    CheckClearRange(ACol1, ARow1, ACol2, ARow2);
    for (int c = ACol1; c <= ACol2; ++c)
        for (int r = ARow1; r <= ARow2; ++r) SetColors(c, r, AColor);
}

// ---- joining columns, merging and splitting by content --------------------------------------

void TProStringGrid::MergeCols(int ColIndex1, int ColIndex2, const QString& Separator)
{
    for (int c : {ColIndex1, ColIndex2})
        if (c < 0 || c >= TotalColCount()) throw EProGridError(kInvalidCol);
    // A column joined with itself would lose its texts with the removal.
    if (ColIndex1 == ColIndex2) return;
    for (int r = FixedRows(); r < RowCount(); ++r)
        SetCells(ColIndex1, r, Trim(Cells(ColIndex1, r) + Separator + Cells(ColIndex2, r)));
    RemoveCols(ColIndex2, 1);
}

void TProStringGrid::MergeColumnCells(int ColIndex, bool MainMerge)
{
    if (ColIndex < 0 || ColIndex >= TotalColCount()) throw EProGridError(kInvalidCol);
    const int last = RowCount() - FixedFooters() - 1;
    if (last < FixedRows()) return;
    int start = FixedRows(), len = 1;
    QString prev = Cells(ColIndex, start);
    auto close = [&] {
        if (len > 1) MergeCells(ColIndex, start, 1, len);
    };
    for (int r = FixedRows() + 1; r <= last; ++r) {
        const QString t = Cells(ColIndex, r);
        if (t == prev && (MainMerge || RowSpanIdentical(r - 1, r))) {
            ++len;
        } else {
            close();
            start = r;
            len = 1;
        }
        prev = t;
    }
    close();
}

void TProStringGrid::MergeRowCells(int RowIndex, bool MainMerge)
{
    if (RowIndex < 0 || RowIndex >= RowCount()) throw EProGridError(kInvalidRow);
    const int last = ColCount() - FixedRightCols() - 1;
    if (last < FixedCols()) return;
    int start = FixedCols(), len = 1;
    QString prev = Cells(start, RowIndex);
    auto close = [&] {
        if (len > 1) MergeCells(start, RowIndex, len, 1);
    };
    for (int c = FixedCols() + 1; c <= last; ++c) {
        const QString t = Cells(c, RowIndex);
        if (t == prev && (MainMerge || ColSpanIdentical(c - 1, c))) {
            ++len;
        } else {
            close();
            start = c;
            len = 1;
        }
        prev = t;
    }
    close();
}

void TProStringGrid::SplitColumnCells(int ColIndex)
{
    if (ColIndex < 0 || ColIndex >= TotalColCount()) throw EProGridError(kInvalidCol);
    int r = 0;
    while (r < RowCount() - FixedFooters() - 1) {
        if (IsYMergedCell(ColIndex, r)) {
            const TPoint b = BaseCell(ColIndex, r);
            const int span = CellSpan(ColIndex, r).Y;
            SplitCells(ColIndex, r);
            r = b.Y + span + 1;
        } else {
            ++r;
        }
    }
}

void TProStringGrid::SplitRowCells(int RowIndex)
{
    if (RowIndex < 0 || RowIndex >= RowCount()) throw EProGridError(kInvalidRow);
    int c = 0;
    while (c < ColCount() - FixedRightCols() - 1) {
        if (IsXMergedCell(c, RowIndex)) {
            const TPoint b = BaseCell(c, RowIndex);
            const int span = CellSpan(c, RowIndex).X;
            SplitCells(c, RowIndex);
            c = b.X + span + 1;
        } else {
            ++c;
        }
    }
}

void TProStringGrid::SplitAllCells()
{
    if (!HasCellProps()) return;
    for (int r = 0; r < RowCount(); ++r)
        for (int c = 0; c < TotalColCount(); ++c)
            if (IsMergedCell(c, r) && IsBaseCell(c, r)) SplitCells(c, r);
}

// The columns listed in MergedColumns show each run of equal texts as one cell: a change of
// the list splits every column and merges the listed ones anew, the first as the main one.
void TProStringGrid::MergedColumnsChanged()
{
    if (Destroying() || FTornDown) return;
    SplitAllColumnCells();
    RemergeColumnCells();
    Invalidate();
}
