// Selection of the string grid: the platform's rectangle, the disjunct row, column and cell
// flags, and the per-row modified and enabled flags.
#include "grid/base/grid_error.h"
#include "grid/base/text_packing.h"
#include "grid/control/pro_string_grid.h"

#include <algorithm>

int CellKey(int ACol, int ARow) { return (ARow << 16) | (ACol & 0xFFFF); }

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
        return ARow >= 0 && size_t(ARow) < FRowSelect.size() && FRowSelect[size_t(ARow)] != 0;
    const TGridRect s = Selection();
    return ARow >= s.Top && ARow <= s.Bottom;
}

bool TProStringGrid::RowSelect(int ARow) const { return GetRowSelect(ARow); }

void TProStringGrid::SetRowSelect(int ARow, bool Value)
{
    if (ARow < 0 || (ARow >= RowCount() + NumHiddenRows() && FixedRows() < RowCount()))
        throw EProGridError(QStringLiteral("Invalid row accessed"));
    const bool known = size_t(ARow) < FRowSelect.size();
    const bool was = known && FRowSelect[size_t(ARow)] != 0;
    bool allow = true;
    if ((!known || was != Value) && OnRowDisjunctSelect) OnRowDisjunctSelect(this, ARow, Value, allow);
    if (!allow) return;
    if (!known) FRowSelect.resize(size_t(ARow) + 1, 0);
    FRowSelect[size_t(ARow)] = Value ? 1 : 0;
    if (Value) {
        if (ARow >= FixedRows() && !FSelectedRows->HasValue(ARow)) FSelectedRows->Add(ARow);
    } else {
        FSelectedRows->DeleteValue(ARow);
    }
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
    return size_t(ACol) < FColSelect.size() && FColSelect[size_t(ACol)] != 0;
}

void TProStringGrid::SetColSelect(int ACol, bool Value)
{
    if (ACol < 0 || ACol >= ColCount()) throw EProGridError(QStringLiteral("Invalid column accessed"));
    if (size_t(ACol) >= FColSelect.size()) FColSelect.resize(size_t(ACol) + 1, 0);
    const bool was = FColSelect[size_t(ACol)] != 0;
    FColSelect[size_t(ACol)] = Value ? 1 : 0;
    if (was != Value) InvalidateCol(ACol);
}

// ---- counting and enumerating ---------------------------------------------------------------

int TProStringGrid::RowSelectCount() const
{
    if (FMouseActions->DisjunctRowSelect()) {
        const size_t n = std::min(size_t(std::max(0, RowCount() + NumHiddenRows())), FRowSelect.size());
        return int(std::count_if(FRowSelect.begin(), FRowSelect.begin() + long(n), [](intptr_t v) { return v != 0; }));
    }
    const TGridRect s = Selection();
    return std::abs(s.Bottom - s.Top) + 1;
}

int TProStringGrid::ColSelectCount() const
{
    if (FMouseActions->DisjunctColSelect())
        return int(std::count_if(FColSelect.begin(), FColSelect.end(), [](intptr_t v) { return v != 0; }));
    const TGridRect s = Selection();
    return s.Right - s.Left + 1;
}

int TProStringGrid::SelectedRowCount()
{
    if (FMouseActions->DisjunctRowSelect()) return FSelectedRows->Count();
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
    if (FMouseActions->DisjunctCellSelect()) return FSelectedCells->Count();
    FSelectedCells->Clear();
    const TGridRect s = Selection();
    if (s.Left == s.Right && s.Top == s.Bottom) {
        FSelectedCells->Add(CellKey(Col(), GetRowEx()));
    } else {
        for (int c = s.Left; c <= s.Right; ++c)
            for (int r = s.Top; r <= s.Bottom; ++r)
                if (!FSelectedCells->HasValue(CellKey(c, r))) FSelectedCells->Add(CellKey(c, r));
    }
    return FSelectedCells->Count();
}

int TProStringGrid::GetSelectedRow(int i) const
{
    if (FMouseActions->DisjunctRowSelect()) return i >= 0 && i < FSelectedRows->Count() ? FSelectedRows->GetInteger(i) : -1;
    const TGridRect s = Selection();
    return i >= 0 && s.Top + i <= s.Bottom ? s.Top + i : -1;
}

TGridCoord TProStringGrid::GetSelectedCell(int i) const
{
    const int v = FSelectedCells->GetInteger(i);
    return {v & 0xFFFF, v >> 16};
}

bool TProStringGrid::GetSelectedCells(int i, int j) const
{
    if (FMouseActions->DisjunctCellSelect()) return FSelectedCells->HasValue(CellKey(i, j));
    return PointInGridRect(i, j, Selection());
}

void TProStringGrid::SetSelectedCells(int i, int j, bool Value)
{
    const int key = CellKey(i, j);
    const bool has = FSelectedCells->HasValue(key);
    if (has == Value) return;
    if (Value) FSelectedCells->Add(key);
    else FSelectedCells->DeleteValue(key);
    RepaintCell(i, j);
}

bool TProStringGrid::IsSelected(int ACol, int ARow)
{
    if (ARow < FixedRows() || ACol < FixedCols()) return false;
    if (FMouseActions->DisjunctCellSelect()) return FSelectedCells->HasValue(CellKey(ACol, ARow));
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
    for (size_t r = 0; r < FRowSelect.size(); ++r) {
        if (FRowSelect[r] == 0) continue;
        FRowSelect[r] = 0;
        if (int(r) < RowCount()) InvalidateRow(int(r));
    }
    FSelectedRows->Clear();
}

void TProStringGrid::ClearColSelect()
{
    for (size_t c = 0; c < FColSelect.size(); ++c) {
        if (FColSelect[c] == 0) continue;
        FColSelect[c] = 0;
        if (int(c) < ColCount()) InvalidateCol(int(c));
    }
}

void TProStringGrid::ClearSelectedCells()
{
    SelectCells(FixedCols(), FixedRows(), FixedCols(), FixedRows());
    FSelectedCells->Clear();
    Invalidate();
}

void TProStringGrid::ClampSelectionToGrid()
{
    const int rows = RowCount() + NumHiddenRows();
    if (!FMouseActions->RowSelectPersistent() && FRowSelect.size() > size_t(std::max(0, rows)))
        FRowSelect.resize(size_t(std::max(0, rows)));
    for (int i = FSelectedRows->Count() - 1; i >= 0; --i)
        if (size_t(FSelectedRows->GetInteger(i)) >= FRowSelect.size() && !FMouseActions->RowSelectPersistent())
            FSelectedRows->Delete(i);
    if (FColSelect.size() > size_t(std::max(0, ColCount()))) FColSelect.resize(size_t(std::max(0, ColCount())));
    for (int i = FSelectedCells->Count() - 1; i >= 0; --i) {
        const TGridCoord c = GetSelectedCell(i);
        if (c.X >= ColCount() || c.Y >= RowCount()) FSelectedCells->Delete(i);
    }
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
    while (FModifiedRows->Count() <= ARow) FModifiedRows->Add(0);
    FModifiedRows->SetInteger(ARow, Value ? 1 : 0);
    if (ARow < RowCount()) RepaintCell(0, ARow);
}

int TProStringGrid::ModifiedRowCount() const
{
    int n = 0;
    for (int i = 0; i < FModifiedRows->Count(); ++i) n += FModifiedRows->GetInteger(i) == 1;
    return n;
}

void TProStringGrid::ClearModifiedRows()
{
    FModifiedRows->Clear();
    Invalidate();
}

bool TProStringGrid::GetRowModified(int ARow) const
{
    return ARow >= 0 && ARow < FModifiedRows->Count() && FModifiedRows->GetInteger(ARow) == 1;
}

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
    while (FEnabledRows->Count() <= ARow) FEnabledRows->Add(0);
    FEnabledRows->SetInteger(ARow, Value ? 0 : 1);
    if (ARow < RowCount()) InvalidateRow(ARow);
}

bool TProStringGrid::GetRowEnabled(int ARow) const
{
    return ARow < 0 || ARow >= FEnabledRows->Count() || FEnabledRows->GetInteger(ARow) == 0;
}

void TProStringGrid::InvalidateCellRange(const TGridRect& R)
{
    const TRect a = CellRect(R.Left, R.Top), b = CellRect(R.Right, R.Bottom);
    InvalidateClientRect({std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
                          std::max(a.Bottom, b.Bottom)});
}
