// Selection of the string grid: the platform's rectangle, the disjunct row, column and cell
// flags, and the per-row modified and enabled flags.
#include "grid/base/grid_error.h"
#include "grid/base/text_packing.h"
#include "grid/control/grid_selection.h"
#include "grid/control/pro_string_grid.h"

#include <algorithm>

int CellKey(int ACol, int ARow) { return TGridSelection::CellKey(ACol, ARow); }

namespace {

// A rectangle of cells kept within a grid of ColCount x RowCount cells.
TGridRect ClampRect(TGridRect R, int ColCount, int RowCount)
{
    R.Left = std::clamp(R.Left, 0, std::max(0, ColCount - 1));
    R.Right = std::clamp(R.Right, 0, std::max(0, ColCount - 1));
    R.Top = std::clamp(R.Top, 0, std::max(0, RowCount - 1));
    R.Bottom = std::clamp(R.Bottom, 0, std::max(0, RowCount - 1));
    return R;
}

}  // namespace

// ---- row and column flags -----------------------------------------------------------------

bool TProStringGrid::GetRowSelect(int ARow) const
{
    if (!FMouseActions->RowSelectPersistent() && (ARow < 0 || ARow >= RowCount() + NumHiddenRows()))
        throw EProGridError(QStringLiteral("Invalid row %1 accessed").arg(ARow));
    if (FMouseActions->DisjunctRowSelect())
        return FSelect->RowSelected(ARow);
    const TGridRect s = Selection();
    return ARow >= s.Top && ARow <= s.Bottom;
}

bool TProStringGrid::RowSelect(int ARow) const { return GetRowSelect(ARow); }

void TProStringGrid::SetRowSelect(int ARow, bool Value)
{
    if (ARow < 0 || (ARow >= RowCount() + NumHiddenRows() && FixedRows() < RowCount()))
        throw EProGridError(QStringLiteral("Invalid row accessed"));
    const bool known = FSelect->RowFlagKnown(ARow);
    const bool was = FSelect->RowSelected(ARow);
    bool allow = true;
    if ((!known || was != Value) && OnRowDisjunctSelect) OnRowDisjunctSelect(this, ARow, Value, allow);
    if (!allow) return;
    FSelect->SetRowSelected(ARow, Value);
    if (!Value) FSelect->RemoveSelectedRow(ARow);
    else if (ARow >= FixedRows()) FSelect->AddSelectedRow(ARow);
    if (was != Value) {
        const int displ = FMouseActions->RowSelectPersistent() ? DisplRowIndex(ARow) : ARow;
        if (displ >= 0 && displ < RowCount()) InvalidateRow(displ);
        if (FixedRows() > 0) RepaintCell(0, 0);  // the header box shows the overall state
    }
    if (OnRowDisjunctSelected) OnRowDisjunctSelected(this, ARow);
}

bool TProStringGrid::GetColSelect(int ACol) const
{
    if (ACol < 0 || ACol >= ColCount()) throw EProGridError(QStringLiteral("Invalid column accessed"));
    return FSelect->ColSelected(ACol);
}

void TProStringGrid::SetColSelect(int ACol, bool Value)
{
    if (ACol < 0 || ACol >= ColCount()) throw EProGridError(QStringLiteral("Invalid column accessed"));
    if (FSelect->SetColSelected(ACol, Value) != Value) InvalidateCol(ACol);
}

// ---- counting and enumerating ---------------------------------------------------------------

int TProStringGrid::RowSelectCount() const
{
    if (FMouseActions->DisjunctRowSelect()) return FSelect->RowSelectedCount(RowCount() + NumHiddenRows());
    const TGridRect s = Selection();
    return std::abs(s.Bottom - s.Top) + 1;
}

int TProStringGrid::ColSelectCount() const
{
    if (FMouseActions->DisjunctColSelect()) return FSelect->ColSelectedCount();
    const TGridRect s = Selection();
    return s.Right - s.Left + 1;
}

int TProStringGrid::SelectedRowCount()
{
    if (FMouseActions->DisjunctRowSelect()) return int(FSelect->SelectedRowList().size());
    const TGridRect s = Selection();
    const int B = std::min(s.Bottom, RowCount() - FixedFooters() - 1);
    const int T = s.Top, L = s.Left;
    if (IsMergedCell(L, T)) {
        const int span = CellSpan(L, T).Y;
        if (T + span > B) return span + 1;
    }
    if (IsMergedCell(L, B)) return std::abs(T - B) + CellSpan(L, B).Y + 1;
    return std::abs(T - B) + 1;
}

int TProStringGrid::SelectedColCount()
{
    if (FMouseActions->DisjunctColSelect()) return ColSelectCount();
    const TGridRect s = Selection();
    const int L = s.Left, R = s.Right, T = s.Top;
    if (IsMergedCell(L, T)) {
        const int span = CellSpan(L, T).X;
        if (L + span > R) return span + 1;
    }
    if (IsMergedCell(R, T)) return std::abs(L - R) + CellSpan(R, T).X + 1;
    return std::abs(L - R) + 1;
}

int TProStringGrid::SelectedCellsCount()
{
    if (FMouseActions->DisjunctCellSelect()) return FSelect->CellCount();
    FSelect->ClearCells();
    const TGridRect s = Selection();
    if (s.Left == s.Right && s.Top == s.Bottom) {
        FSelect->SetCellSelected(Col(), GetRowEx(), true);
    } else {
        for (int c = s.Left; c <= s.Right; ++c)
            for (int r = s.Top; r <= s.Bottom; ++r) FSelect->SetCellSelected(c, r, true);
    }
    return FSelect->CellCount();
}

int TProStringGrid::GetSelectedRow(int i) const
{
    if (FMouseActions->DisjunctRowSelect()) {
        const std::vector<int>& rows = FSelect->SelectedRowList();
        return i >= 0 && size_t(i) < rows.size() ? rows[size_t(i)] : -1;
    }
    const TGridRect s = Selection();
    return i >= 0 && s.Top + i <= s.Bottom ? s.Top + i : -1;
}

TGridCoord TProStringGrid::GetSelectedCell(int i) const
{
    if (i < 0 || i >= FSelect->CellCount()) throw EListError(QStringLiteral("List index out of bounds (%1)").arg(i));
    const int v = FSelect->CellKeys()[size_t(i)];
    return {TGridSelection::KeyCol(v), TGridSelection::KeyRow(v)};
}

bool TProStringGrid::GetSelectedCells(int i, int j) const
{
    if (FMouseActions->DisjunctCellSelect()) return FSelect->CellSelected(i, j);
    return PointInGridRect(i, j, Selection());
}

void TProStringGrid::SetSelectedCells(int i, int j, bool Value)
{
    if (FSelect->SetCellSelected(i, j, Value)) RepaintCell(i, j);
}

bool TProStringGrid::IsSelected(int ACol, int ARow)
{
    if (ARow < FixedRows() || ACol < FixedCols()) return false;
    if (FMouseActions->DisjunctCellSelect()) return FSelect->CellSelected(ACol, ARow);
    if (FMouseActions->DisjunctRowSelect())
        return GetRowSelect(FMouseActions->RowSelectPersistent() ? RealRowIndex(ARow) : ARow);
    if (FMouseActions->DisjunctColSelect()) return GetColSelect(ACol);
    return PointInGridRect(ACol, ARow, Selection());
}

// ---- selecting runs and rectangles ----------------------------------------------------------

void TProStringGrid::SelectRows(int RowIndex, int RCount)
{
    RCount = std::min(RCount, RowCount() - RowIndex);
    if (!FMouseActions->DisjunctRowSelect()) {
        if (RCount > 0) SetSelection(ClampRect({FixedCols(), RowIndex, ColCount() - 1, RowIndex + RCount - 1},
                                               ColCount(), RowCount()));
    } else {
        for (int r = RowIndex; r < RowIndex + RCount; ++r)
            if (r >= 0 && r < RowCount())
                SetRowSelect(FMouseActions->RowSelectPersistent() ? RealRowIndex(r) : r, true);
    }
    if (FRowIndicator && !FRowIndicator->Empty()) InvalidateCol(0);
    FSelChange = false;
}

void TProStringGrid::UnSelectRows(int RowIndex, int RCount)
{
    if (!FMouseActions->DisjunctRowSelect()) return;
    RCount = std::min(RCount, RowCount() - RowIndex);
    for (int r = RowIndex; r < RowIndex + RCount; ++r)
        if (r >= 0 && r < RowCount()) SetRowSelect(FMouseActions->RowSelectPersistent() ? RealRowIndex(r) : r, false);
    FSelChange = false;
}

void TProStringGrid::SelectCols(int ColIndex, int CCount)
{
    if (!FMouseActions->DisjunctColSelect()) {
        if (CCount > 0 && ColIndex < ColCount())
            SetSelection(ClampRect({ColIndex, FixedRows(), ColIndex + CCount - 1, RowCount() - 1}, ColCount(), RowCount()));
        return;
    }
    for (int c = ColIndex; c < ColIndex + CCount; ++c)
        if (c >= 0 && c < ColCount()) SetColSelect(c, true);
}

void TProStringGrid::UnSelectCols(int ColIndex, int CCount)
{
    if (!FMouseActions->DisjunctColSelect()) return;
    for (int c = ColIndex; c < ColIndex + CCount; ++c)
        if (c >= 0 && c < ColCount()) SetColSelect(c, false);
}

void TProStringGrid::SelectRange(int FromCol, int ToCol, int FromRow, int ToRow)
{
    const TGridRect r = ClampRect({FromCol, FromRow, ToCol, ToRow}, ColCount(), RowCount());
    FocusCell(r.Right, r.Bottom, true);
    SetSelection(r);
}

void TProStringGrid::SelectCells(int FromCol, int FromRow, int ToCol, int ToRow)
{
    SetSelection(ClampRect({FromCol, FromRow, ToCol, ToRow}, ColCount(), RowCount()));
}

// ---- clearing ---------------------------------------------------------------------------------

void TProStringGrid::ClearRowSelect()
{
    for (int r : FSelect->ClearRowSelect())
        if (r < RowCount()) InvalidateRow(r);
}

void TProStringGrid::ClearColSelect()
{
    for (int c : FSelect->ClearColSelect())
        if (c < ColCount()) InvalidateCol(c);
}

void TProStringGrid::ClearSelectedCells()
{
    SelectCells(FixedCols(), FixedRows(), FixedCols(), FixedRows());
    FSelect->ClearCells();
    Invalidate();
}

void TProStringGrid::ClampSelectionToGrid()
{
    // Persistent row flags are by real row and outlive the rows shown.
    if (!FMouseActions->RowSelectPersistent()) {
        FSelect->TruncateRowFlags(RowCount() + NumHiddenRows());
        FSelect->DropSelectedRowsFrom(FSelect->RowFlagCount());
    }
    FSelect->TruncateColFlags(ColCount());
    FSelect->DropCellsOutside(ColCount(), RowCount());
}

// ---- rectangle to flags ---------------------------------------------------------------------

void TProStringGrid::SelectionToRowSelect(bool All)
{
    TGridRect s = Selection();
    if (s.Bottom >= RowCount() - FixedFooters()) s.Bottom = RowCount() - FixedFooters() - 1;
    for (int r = FixedRows(); r < RowCount(); ++r) {
        const bool inside = r >= s.Top && r <= s.Bottom;
        if (!inside && !All) continue;
        SetRowSelect(FMouseActions->RowSelectPersistent() ? RealRowIndex(r) : r, inside);
    }
    if (NumHiddenRows() > 0) Invalidate();
}

void TProStringGrid::SelectionToColSelect(bool All)
{
    const TGridRect s = Selection();
    for (int c = FixedCols(); c < ColCount(); ++c) {
        const bool inside = c >= s.Left && c <= s.Right;
        if (inside || All) SetColSelect(c, inside);
    }
}

// ---- selected text ----------------------------------------------------------------------------

QString TProStringGrid::SelectedText()
{
    TGridRect R = Selection();
    if (Options().Contains(goRowSelect) && FDragDropSettings->OleEntireRows()) {
        R.Left = 0;
        R.Right = ColCount() - 1;
    }
    std::vector<int> rows;
    if (FMouseActions->DisjunctRowSelect()) {
        for (int r = FixedRows(); r < RowCount(); ++r)
            if (GetRowSelect(FMouseActions->RowSelectPersistent() ? RealRowIndex(r) : r)) rows.push_back(r);
    } else {
        for (int r = R.Top; r <= R.Bottom && r < RowCount(); ++r) rows.push_back(r);
    }
    QStringList lines;
    for (int r : rows) {
        QStringList cells;
        for (int c = R.Left; c <= R.Right && c < ColCount(); ++c) {
            QString s = Cells(DisplToRealColumn(c), r);
            if (FExcelClipboardFormat && CountTextLines(s, FMultilinecells) > 1) CSVQuoteMultiLine(s);
            cells << s;
        }
        lines << cells.join(QLatin1Char('\t'));
    }
    return lines.join(QStringLiteral("\r\n"));
}

// ---- modified and enabled rows ------------------------------------------------------------------

void TProStringGrid::SetRowModified(int ARow, bool Value)
{
    if (ARow < 0) return;
    FSelect->SetRowModified(ARow, Value);
    if (ARow < RowCount()) RepaintCell(0, ARow);
}

int TProStringGrid::ModifiedRowCount() const { return FSelect->ModifiedRowCount(); }

void TProStringGrid::ClearModifiedRows()
{
    FSelect->ClearModifiedRows();
    Invalidate();
}

bool TProStringGrid::GetRowModified(int ARow) const { return FSelect->RowModified(ARow); }

void TProStringGrid::SetRowEnabled(int ARow, bool Value)
{
    if (ARow < 0) return;
    if (!Value && ARow == Row()) {
        for (int r = FixedRows(); r < RowCount(); ++r) {
            if (r != ARow && GetRowEnabled(r)) {
                SetRow(r);
                break;
            }
        }
    }
    FUseEnabledRows = true;
    FSelect->SetRowDisabled(ARow, !Value);
    if (ARow < RowCount()) InvalidateRow(ARow);
}

bool TProStringGrid::GetRowEnabled(int ARow) const { return !FSelect->RowDisabled(ARow); }

void TProStringGrid::InvalidateCellRange(const TGridRect& R)
{
    const TRect a = CellRect(R.Left, R.Top), b = CellRect(R.Right, R.Bottom);
    InvalidateClientRect({std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
                          std::max(a.Bottom, b.Bottom)});
}
