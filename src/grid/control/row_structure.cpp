// Row and column structure: rows and columns are inserted, removed, appended and swapped
// together with their texts, cell properties, sizes, hidden state, flags and merged blocks.
// Every operation on many rows is one pass over the store (TakeOutRows, PutInEmptyRows).
#include "grid/control/grid_selection.h"
#include "grid/control/pro_string_grid.h"

#include <algorithm>
#include <numeric>
#include <QSet>

namespace {
std::vector<int> RowRange(int From, int Count)
{
    std::vector<int> rows(static_cast<size_t>(std::max(Count, 0)));
    std::iota(rows.begin(), rows.end(), From);
    return rows;
}
}  // namespace

unsigned TProStringGrid::RowMarkStores() const
{
    return (FShowModified->Enabled() ? TGridSelection::ModifiedRows : 0u) |
           (FUseEnabledRows ? TGridSelection::EnabledRows : 0u);
}

void TProStringGrid::CheckRange(int From, int Count, int Limit)
{
    if (From < 0 || Count < 0 || From + Count > Limit)
        throw EInvalidGridOperation(QStringLiteral("Grid index out of range"));
}

void TProStringGrid::CanAddRow(bool& CanAdd)
{
    if (OnCanAddRow) OnCanAddRow(this, CanAdd);
}

void TProStringGrid::CanInsertRow(int ARow, bool& CanInsert)
{
    if (OnCanInsertRow) OnCanInsertRow(this, ARow, CanInsert);
}

// ---- hidden rows follow the real row sequence ---------------------------------------------

void TProStringGrid::HiddenRowsRemoved(const std::vector<int>& RealRows)
{
    if (RealRows.empty()) return;
    // Hidden rows are none of the removed ones and keep their order, so the items stay sorted.
    const TAxisShift shift = TAxisShift::Erase(RealRows);
    for (auto& item : FGridItems) item->SetIdx(shift(item->Idx()));
}

void TProStringGrid::HiddenRowsInserted(int RealRow, int Count)
{
    const TAxisShift shift = TAxisShift::Insert(RealRow, Count);
    for (auto& item : FGridItems) item->SetIdx(shift(item->Idx()));
}

// ---- removing rows -------------------------------------------------------------------------

void TProStringGrid::RemoveRowSet(std::vector<int> Rows, bool FreeProps)
{
    std::sort(Rows.begin(), Rows.end());
    Rows.erase(std::unique(Rows.begin(), Rows.end()), Rows.end());
    if (Rows.empty()) return;
    const int n = int(Rows.size());
    std::vector<int> reals;
    reals.reserve(Rows.size());
    for (int r : Rows) reals.push_back(RealRowIndex(r));

    // Controls of removed rows leave the list; those below move up with their rows.
    bool hadControls = FControlList->Count() > 0;
    ShiftCellControls(TAxisShift::Erase(reals), true);
    HiddenRowsRemoved(reals);
    FSelect->EraseRows(Rows, RowMarkStores());
    if (FMouseActions->DisjunctRowSelect())
        FSelect->EraseRows(FMouseActions->RowSelectPersistent() ? reals : Rows, TGridSelection::RowFlags);

    const bool entered = FEntered;
    FEntered = false;
    const int oldRow = GetRowEx(), oldTop = GetTopRowEx();
    BeginUpdate();
    TakeOutRows(Rows, FreeProps);
    const int last = RowCount() - FFixedFooters;
    if (oldRow < last) {
        if (!FMouseActions->DisjunctRowSelect() && oldRow >= FixedRows()) SetRowEx(oldRow);
        SetTopRowEx(oldTop);
    } else {
        if (FixedRows() < last) SetRowEx(last - 1);
        else HideSelection();
        FSelHidden = false;
    }
    EndUpdate();
    FEntered = entered;
    CellsChanged(TRect{0, Rows.front(), ColCount() - 1, Rows.front() + n});
    // The last rows fill the view rather than leaving space below them.
    const int t = RowCount() + FixedRows() - VisibleRowCount() - 2;
    if (GetTopRowEx() >= t && RowCount() - VisibleRowCount() - 1 > 0) SetTopRowEx(t);
    if (hadControls) CellControlsUpdate(false);
}

void TProStringGrid::RemoveRows(int RowIndex, int RCount)
{
    if (RCount <= 0) return;
    CheckRange(RowIndex, RCount, RowCount());
    RemoveRowSet(RowRange(RowIndex, RCount), true);
    FMaxRowCount = std::max(RowCount(), FMaxRowCount - RCount);
}

void TProStringGrid::RemoveRowsHook(int ARow, int Count)
{
    if (Count <= 0) return;
    CheckRange(ARow, Count, RowCount());
    if (HasNodes() && GetRowEx() < RowCount()) SetCol(std::min(FixedCols(), ColCount() - 1));
    // The properties are freed by the removal itself, once the merged blocks that reach
    // into the rows were found, so that those blocks close over the gap.
    RemoveRowSet(RowRange(ARow, Count), true);
}

void TProStringGrid::RemoveRowsInternal(int ARow, int Count, bool DoControls)
{
    if (Count <= 0) return;
    CheckRange(ARow, Count, RowCount());
    if (HasNodes() && GetRowEx() < RowCount()) SetCol(std::min(FixedCols(), ColCount() - 1));
    // The caller has taken the rows' objects over.
    (void)DoControls;
    RemoveRowSet(RowRange(ARow, Count), false);
}

void TProStringGrid::RemoveRowsEx(int ARow, int ACount)
{
    if (ACount <= 0) return;
    CheckRange(ARow, ACount, RowCount());
    // Objects the caller put in the cells are the caller's and are dropped, not freed; the
    // grid's own cell properties have no other owner and are freed with their rows (row
    // moves copy only the texts, so anything else would leak them).
    const int oldRow = GetRowEx(), oldTop = GetTopRowEx();
    std::vector<int> reals;
    for (int r = ARow; r < ARow + ACount; ++r) reals.push_back(RealRowIndex(r));
    if (FMouseActions->DisjunctRowSelect()) FSelect->EraseRows(RowRange(ARow, ACount), TGridSelection::RowFlags);
    TakeOutRows(RowRange(ARow, ACount), true);
    HiddenRowsRemoved(reals);
    FMaxRowCount = std::max(RowCount(), FMaxRowCount - ACount);
    if (oldRow < RowCount()) {
        SetRowEx(oldRow);
        SetTopRowEx(oldTop);
    } else if (FixedRows() < RowCount()) {
        SetRowEx(FixedRows());
        SetTopRowEx(FixedRows());
    }
    CellsChanged(TRect{0, ARow, ColCount() - 1, ARow + ACount});
}

void TProStringGrid::RemoveNormalRow(int ARow)
{
    RemoveRows(ARow, 1);
    FMaxRowCount = std::max(RowCount(), FMaxRowCount - 1);
}

// ---- inserting rows ------------------------------------------------------------------------

void TProStringGrid::InsertRows(int ARow, int ACount, bool UpdateCellControls)
{
    if (ACount <= 0) return;
    // Checked before anything changes.
    if (ARow < 0 || ARow > RowCount()) throw EInvalidGridOperation(QStringLiteral("Grid index out of range"));
    // The floating footer stays the last row.
    if (FFloatingFooter->Visible() && ARow >= RowCount() && RowCount() > 0) ARow = RowCount() - 1;
    if (FSelHidden || Col() >= ColCount() || GetRowEx() >= RowCount()) UnHideSelection();
    // The real row the new rows take: hidden rows from there on move down with the rows.
    const int real = RealRowIndex(ARow);
    PutInEmptyRows(RowRange(ARow, ACount));
    HiddenRowsInserted(real, ACount);
    FSelect->InsertRows(ARow, ACount, RowMarkStores());
    if (UpdateCellControls && FControlList->Count() > 0) {
        ShiftCellControls(TAxisShift::Insert(real, ACount), true);
        CellControlsUpdate(false);
    }
    if (!Destroying()) CellsChanged(TRect{0, ARow, ColCount() - 1, ARow + ACount});
}

void TProStringGrid::InsertNormalRow(int ARow)
{
    // The hidden rows below the real row move down with InsertRows.
    InsertRows(DisplRowIndex(ARow), 1, true);
}

void TProStringGrid::AddRow()
{
    if (FFloatingFooter->Visible() && RowCount() > 0) InsertRows(RowCount() - 1, 1, true);
    else InsertRows(RowCount(), 1, true);
}

void TProStringGrid::AddColumn() { InsertCols(ColCount(), 1); }

// ---- columns -------------------------------------------------------------------------------

void TProStringGrid::InsertStoreColumns(int At, int Count)
{
    const int total = TotalColCount();
    const int mapped = MaxColumns - 1;
    // Blocks that reach over the gap from the left grow over the new columns.
    struct Block { int Col, Row, Width, Height; };
    std::vector<Block> grown;
    if (At < total) {
        for (int r = 0; r < RowCount(); ++r) {
            auto* p = dynamic_cast<TCellProperties*>(GetGridObject(At, r));
            if (!p || p->IsBaseCell() || p->CellSpanX() < 1) continue;
            const TPoint b = p->GetBaseCell(At, r);
            auto* base = dynamic_cast<TCellProperties*>(GetGridObject(b.X, b.Y));
            if (!base || b.X >= At) continue;
            if (std::none_of(grown.begin(), grown.end(), [&](const Block& k) { return k.Col == b.X && k.Row == b.Y; }))
                grown.push_back({b.X, b.Y, base->CellSpanX() + 1, base->CellSpanY() + 1});
        }
    }
    // Widths by real column (hidden ones remembered), visibility flags.
    std::vector<int> widths;
    std::vector<bool> visible;
    for (int c = 0; c < std::min(total, mapped); ++c) {
        widths.push_back(AllColWidths(c));
        visible.push_back(FVisibleCol[size_t(c)]);
    }
    const size_t at = size_t(std::min(At, int(widths.size())));
    widths.insert(widths.begin() + std::ptrdiff_t(at), size_t(Count), DefaultColWidth());
    visible.insert(visible.begin() + std::ptrdiff_t(at), size_t(Count), true);
    SetColCount(ColCount() + Count);
    // Hidden rows keep their cells in the store too, and move with it.
    InsertStoreCols(At, Count);
    const int n = std::min(int(visible.size()), mapped);
    for (int c = 0; c < n; ++c) FVisibleCol[size_t(c)] = visible[size_t(c)];
    for (int c = 0; c < n; ++c) SetAllColWidths(c, widths[size_t(c)]);
    ForEachStoredObject(0, [At](int c, int, TObject* o) {
        if (c < At) return;
        if (auto* p = dynamic_cast<TCellProperties*>(o)) p->SetOwnerCol(c);
    });
    std::vector<TRowMerge> spans;
    for (const Block& k : grown) spans.push_back({k.Col, k.Row, k.Width + Count, k.Height});
    RespanMerges(spans, [](int r) { return r; });
}

void TProStringGrid::EraseStoreColumns(int From, int Count)
{
    const int total = TotalColCount();
    const int mapped = MaxColumns - 1;
    // Blocks with cells in the removed columns close over the gap.
    struct Block { int Col, Row, Width, Height; };
    std::vector<Block> cut;
    for (int c = From; c < From + Count; ++c) {
        for (int r = 0; r < RowCount(); ++r) {
            auto* p = dynamic_cast<TCellProperties*>(GetGridObject(c, r));
            if (!p || p->CellSpanX() == -1 || p->CellSpanY() == -1) continue;
            const TPoint b = p->GetBaseCell(c, r);
            auto* base = dynamic_cast<TCellProperties*>(GetGridObject(b.X, b.Y));
            if (!base || !base->IsBaseCell() || base->CellSpanX() < 0) continue;
            if (std::none_of(cut.begin(), cut.end(), [&](const Block& k) { return k.Col == b.X && k.Row == b.Y; }))
                cut.push_back({b.X, b.Y, base->CellSpanX() + 1, base->CellSpanY() + 1});
        }
    }
    std::vector<int> widths;
    std::vector<bool> visible;
    int hiddenGone = 0;
    for (int c = 0; c < std::min(total, mapped); ++c) {
        widths.push_back(AllColWidths(c));
        visible.push_back(FVisibleCol[size_t(c)]);
        if (c >= From && c < From + Count && !FVisibleCol[size_t(c)]) ++hiddenGone;
    }
    const int lo = std::min(From, int(widths.size())), hi = std::min(From + Count, int(widths.size()));
    widths.erase(widths.begin() + lo, widths.begin() + hi);
    visible.erase(visible.begin() + lo, visible.begin() + hi);
    FreePropRect(From, 0, From + Count - 1, std::max(RowCount(), FMaxRowCount) - 1);
    // Hidden rows' cells leave with the store's columns; their objects there are freed.
    for (auto& item : FGridItems)
        for (int k = From; k < From + Count; ++k) {
            delete item->Object(k);
            item->SetObject(k, nullptr);
        }
    EraseStoreCols(From, Count);
    FNumHidden -= hiddenGone;
    SetColCount(std::max(1, ColCount() - (Count - hiddenGone)));
    for (int c = 0; c < mapped; ++c) FVisibleCol[size_t(c)] = c < int(visible.size()) ? visible[size_t(c)] : true;
    for (int c = 0; c < int(widths.size()); ++c) SetAllColWidths(c, widths[size_t(c)]);
    ForEachStoredObject(0, [From](int c, int, TObject* o) {
        if (c < From) return;
        if (auto* p = dynamic_cast<TCellProperties*>(o)) p->SetOwnerCol(c);
    });
    // What is left of each block: its columns outside the removed ones, from its own left
    // column or from the gap on; a single cell left is a plain cell again.
    std::vector<TRowMerge> spans;
    for (const Block& k : cut) {
        const int right = k.Col + k.Width - 1;
        const int kept = k.Width - (std::min(right, From + Count - 1) - std::max(k.Col, From) + 1);
        if (kept > 0) spans.push_back({std::min(k.Col, From), k.Row, kept, k.Height});
    }
    RespanMerges(spans, [](int r) { return r; });
}

void TProStringGrid::InsertCols(int ColIndex, int CCount)
{
    if (CCount <= 0) return;
    CheckRange(ColIndex, 0, TotalColCount());
    if (TotalColCount() + CCount > MaxColumns - 1) throw EInvalidGridOperation(QStringLiteral("Grid index out of range"));
    InsertStoreColumns(ColIndex, CCount);
    Invalidate();
}

void TProStringGrid::RemoveCols(int ColIndex, int CCount)
{
    if (CCount <= 0) return;
    CheckRange(ColIndex, 1, TotalColCount());
    CCount = std::min(CCount, TotalColCount() - ColIndex);
    if (EditorMode()) HideEditor();
    EraseStoreColumns(ColIndex, CCount);
    CellsChanged(TRect{ColIndex, 0, ColIndex + CCount, RowCount() - 1});
    Invalidate();
}

// ---- swaps ---------------------------------------------------------------------------------

void TProStringGrid::SwapRows(int ARow1, int ARow2)
{
    CheckRange(ARow1, 1, RowCount());
    CheckRange(ARow2, 1, RowCount());
    if (ARow1 == ARow2) return;
    SwapStoreRows(ARow1, ARow2);
    RenumberStoreRows(std::min(ARow1, ARow2));
    ShiftCellControls(TAxisShift::Swap(RealRowIndex(ARow1), RealRowIndex(ARow2)), true);
    CellControlsUpdate(false);
}

void TProStringGrid::SwapColumns(int ACol1, int ACol2)
{
    CheckRange(ACol1, 1, TotalColCount());
    CheckRange(ACol2, 1, TotalColCount());
    if (ACol1 == ACol2) return;
    const int w1 = AllColWidths(ACol1), w2 = AllColWidths(ACol2);
    SwapStoreCols(ACol1, ACol2);
    SetAllColWidths(ACol1, w2);
    SetAllColWidths(ACol2, w1);
    ForEachStoredObject(0, [&](int c, int, TObject* o) {
        if (c != ACol1 && c != ACol2) return;
        if (auto* p = dynamic_cast<TCellProperties*>(o)) p->SetOwnerCol(c);
    });
    if (FSortSettings->Column() == ACol1) FSortSettings->SetColumn(ACol2);
    else if (FSortSettings->Column() == ACol2) FSortSettings->SetColumn(ACol1);
    ShiftCellControls(TAxisShift::Swap(ACol1, ACol2), false);
    CellControlsUpdate(false);
}

void TProStringGrid::SortSwapRows(int ARow1, int ARow2)
{
    ++FSwaps;
    if (ARow1 == ARow2) return;
    TIntList* xref = FSortRowXRef.get();
    if (std::max(ARow1, ARow2) < xref->Count() && std::min(ARow1, ARow2) >= 0) {
        const int v = xref->GetInteger(ARow1);
        xref->SetInteger(ARow1, xref->GetInteger(ARow2));
        xref->SetInteger(ARow2, v);
    }
    if (FSortSettings->SingleColumn()) {
        const int c = FSortSettings->Column();
        if (c < 0) return;
        const QString t = Cells(c, ARow1);
        SetCells(c, ARow1, Cells(c, ARow2));
        SetCells(c, ARow2, t);
        TObject* o = GetGridObject(c, ARow1);
        SetGridObject(c, ARow1, GetGridObject(c, ARow2));
        SetGridObject(c, ARow2, o);
        return;
    }
    SwapStoreRows(ARow1, ARow2);
    for (int r : {ARow1, ARow2})
        for (int c = 0; c < StoreColCount(); ++c)
            if (auto* p = dynamic_cast<TCellProperties*>(GetGridObject(c, r))) p->SetOwnerRow(r);
    // The selection follows its rows, as in a whole-grid sort.
    if (FMouseActions->DisjunctRowSelect()) {
        const int a = NumHiddenRows() > 0 ? RealRowIndex(ARow1) : ARow1;
        const int b = NumHiddenRows() > 0 ? RealRowIndex(ARow2) : ARow2;
        FSelect->SwapRows(a, b, TGridSelection::RowFlags);
    }
    if (FMouseActions->DisjunctCellSelect()) FSelect->SwapRows(ARow1, ARow2, TGridSelection::Cells);
    if (FShowModified->Enabled()) FSelect->SwapRows(ARow1, ARow2, TGridSelection::ModifiedRows);
    if (FSortRow == ARow1) FSortRow = ARow2;
    else if (FSortRow == ARow2) FSortRow = ARow1;
}

void TProStringGrid::SwapCells(TGridCoord FromCell, TGridCoord ToCell)
{
    const QString t = GetGridCell(FromCell.X, FromCell.Y);
    SetGridCell(FromCell.X, FromCell.Y, GetGridCell(ToCell.X, ToCell.Y));
    SetGridCell(ToCell.X, ToCell.Y, t);
    TObject* a = GetGridObject(FromCell.X, FromCell.Y);
    TObject* b = GetGridObject(ToCell.X, ToCell.Y);
    SetGridObject(FromCell.X, FromCell.Y, b);
    SetGridObject(ToCell.X, ToCell.Y, a);
    // Properties know their cell.
    if (auto* p = dynamic_cast<TCellProperties*>(b)) {
        p->SetOwnerCol(FromCell.X);
        p->SetOwnerRow(FromCell.Y);
    }
    if (auto* p = dynamic_cast<TCellProperties*>(a)) {
        p->SetOwnerCol(ToCell.X);
        p->SetOwnerRow(ToCell.Y);
    }
}

// ---- removing and hiding rows by content or selection --------------------------------------

void TProStringGrid::RemoveCheckedRows(int CheckBoxColumn, bool RemoveChecked)
{
    std::vector<int> rows;
    for (int r = FixedRows(); r < RowCount(); ++r)
        if (IsChecked(CheckBoxColumn, r) == RemoveChecked) rows.push_back(r);
    BeginUpdate();
    RemoveRowSet(rows, true);
    EndUpdate();
}

void TProStringGrid::RemoveDuplicates(int ACol, bool DoCase)
{
    const int c = RealColIndex(ACol);
    // Texts that differ only in case count as duplicates, whatever DoCase says; the first
    // occurrence stays.
    (void)DoCase;
    QSet<QString> kept;
    std::vector<int> rows;
    for (int r = FixedRows(); r < RowCount() - FFixedFooters; ++r) {
        const QString key = GetGridCell(c, r).toUpper();
        if (kept.contains(key)) rows.push_back(r);
        else kept.insert(key);
    }
    BeginUpdate();
    RemoveRowSet(rows, true);
    EndUpdate();
}

void TProStringGrid::RemoveSelectedRows()
{
    std::vector<int> rows;
    if (FMouseActions->DisjunctRowSelect()) {
        const bool persistent = FMouseActions->RowSelectPersistent();
        for (int i = FixedRows(); i < RowCount() - FFixedFooters; ++i)
            if (GetRowSelect(persistent ? RealRowIndex(i) : i)) rows.push_back(i);
    } else {
        const TGridRect s = Selection();
        for (int i = std::min(s.Top, s.Bottom); i <= std::max(s.Top, s.Bottom) && i < RowCount(); ++i) rows.push_back(i);
    }
    BeginUpdate();
    RemoveRowSet(rows, true);
    if (FMouseActions->DisjunctRowSelect()) ClearRowSelect();
    EndUpdate();
}

void TProStringGrid::RemoveUnSelectedRows()
{
    std::vector<int> rows;
    for (int i = FixedRows(); i < RowCount() - FFixedFooters; ++i)
        if (!GetRowSelect(i)) rows.push_back(i);
    BeginUpdate();
    RemoveRowSet(rows, true);
    if (FMouseActions->RowSelectPersistent()) SelectRows(FixedRows(), RowCount() - FixedRows());
    else ClearRowSelect();
    EndUpdate();
}

void TProStringGrid::HideSelectedRows()
{
    const bool persistent = FMouseActions->RowSelectPersistent();
    std::vector<int> rows;
    for (int i = FixedRows(); i < RowCount(); ++i)
        if (GetRowSelect(persistent ? RealRowIndex(i) : i)) rows.push_back(i);
    BeginUpdate();
    HideDisplayRows(rows);
    EndUpdate();
}

void TProStringGrid::HideUnSelectedRows()
{
    const bool persistent = FMouseActions->RowSelectPersistent();
    std::vector<int> rows;
    for (int i = FixedRows(); i < RowCount(); ++i)
        if (!GetRowSelect(persistent ? RealRowIndex(i) : i)) rows.push_back(i);
    BeginUpdate();
    HideDisplayRows(rows);
    EndUpdate();
}

void TProStringGrid::RemoveSelectedCols()
{
    if (FMouseActions->DisjunctColSelect()) {
        for (int c = ColCount() - 1; c >= FixedCols(); --c) {
            if (!GetColSelect(c)) continue;
            RemoveCols(c, 1);
            FSelect->EraseCols({c}, TGridSelection::ColFlags);
        }
        return;
    }
    const TGridRect s = Selection();
    const int l = std::min(s.Left, s.Right), r = std::max(s.Left, s.Right);
    if (l >= 0 && l < TotalColCount()) RemoveCols(l, r - l + 1);
}

void TProStringGrid::RemoveUnSelectedCols()
{
    if (FMouseActions->DisjunctColSelect()) {
        for (int c = ColCount() - 1; c >= FixedCols(); --c) {
            if (GetColSelect(c)) continue;
            RemoveCols(c, 1);
            FSelect->EraseCols({c}, TGridSelection::ColFlags);
        }
    } else {
        const TGridRect s = Selection();
        const int l = std::min(s.Left, s.Right), r = std::max(s.Left, s.Right);
        if (r + 1 < ColCount()) RemoveCols(r + 1, ColCount() - r - 1);
        if (l > FixedCols()) RemoveCols(FixedCols(), l - FixedCols());
    }
    ClearColSelect();
}

// ---- hiding and showing a set of rows ------------------------------------------------------

void TProStringGrid::HideDisplayRows(std::vector<int> Rows)
{
    std::sort(Rows.begin(), Rows.end());
    Rows.erase(std::unique(Rows.begin(), Rows.end()), Rows.end());
    std::erase_if(Rows, [this](int r) { return r < 0 || r >= RowCount(); });
    if (Rows.empty()) return;
    std::vector<int> idx;
    idx.reserve(Rows.size());
    for (int r : Rows) idx.push_back(RealRowIndex(r));
    HideStoreRows(Rows, idx, -1, true);
}

void TProStringGrid::ShowHiddenRange(int FromReal, int ToReal)
{
    if (FromReal > ToReal) return;
    // The records of the range are one run: they go back and leave the list in one pass.
    // Rows a filter pass hid among them stay with the filter.
    const auto [first, last] = HiddenRange(FromReal, ToReal);
    ShowRecords(first, last, [](const TGridItem& i) { return !i.Filtered(); });
}
