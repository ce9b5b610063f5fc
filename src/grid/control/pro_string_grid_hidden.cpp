// Hidden columns and rows.  A hidden column keeps its cells under its real column and only
// leaves the display; a hidden row leaves the store, its texts, objects and height kept in a
// TGridItem until it is shown again.
#include "grid/control/pro_string_grid.h"

#include <algorithm>

namespace {
// Real columns the display mapping covers.
constexpr int MappedColumns = TProStringGrid::MaxColumns - 1;
}

void TProStringGrid::CheckColumnIndex(int ACol, int Limit) const
{
    if (ACol < 0 || ACol >= Limit) throw EProGridError(QStringLiteral("Invalid column accessed"));
}

// ---- column mapping --------------------------------------------------------------------------

int TProStringGrid::RealToDisplColumn(int ACol) const
{
    if (ACol >= MappedColumns || FNumHidden == 0 || ACol < 1) return ACol;
    int d = ACol;
    for (int i = 0; i < ACol; ++i)
        if (!FVisibleCol[size_t(i)]) --d;
    return d;
}

int TProStringGrid::DisplToRealColumn(int ACol) const
{
    if (ACol >= MappedColumns || FNumHidden == 0) return ACol;
    int before = 0;
    for (int j = 0; j < MappedColumns; ++j) {
        if (!FVisibleCol[size_t(j)]) continue;
        if (before == ACol) return j;
        ++before;
    }
    return 0;
}

bool TProStringGrid::IsHiddenColumn(int ACol) const
{
    if (ACol < 0) throw EProGridError(QStringLiteral("Invalid column accessed"));
    return ACol < MappedColumns && !FVisibleCol[size_t(ACol)];
}

bool TProStringGrid::IsIgnoredColumn(int ACol) const { return FIgnoreColumns && FIgnoreColumns->HasValue(ACol); }

int TProStringGrid::AllColWidths(int RealCol) const
{
    CheckRealColumn(RealCol);
    if (!FVisibleCol[size_t(RealCol)]) return FAllColWidths[size_t(RealCol)];
    const int d = RealToDisplColumn(RealCol);
    return d < ColCount() ? ColWidths(d) : FAllColWidths[size_t(RealCol)];
}

void TProStringGrid::SetAllColWidths(int RealCol, int Width)
{
    CheckRealColumn(RealCol);
    FAllColWidths[size_t(RealCol)] = Width;
    if (!FVisibleCol[size_t(RealCol)]) return;
    const int d = RealToDisplColumn(RealCol);
    if (d < ColCount()) SetColWidths(d, Width);
}

// ---- hiding columns --------------------------------------------------------------------------

void TProStringGrid::HideColumns(int FromCol, int ToCol)
{
    if (FromCol > ToCol) return;
    // Only columns the visibility table maps can be hidden.
    CheckColumnIndex(FromCol, MappedColumns);
    CheckColumnIndex(ToCol, MappedColumns);
    if (EditorMode()) HideEditor();
    for (int c = FromCol; c <= ToCol; ++c) {
        if (!FVisibleCol[size_t(c)] || c >= ColCount() + FNumHidden || ColCount() < 2) continue;
        const int d = RealToDisplColumn(c);
        FAllColWidths[size_t(c)] = ColWidths(d);
        for (int i = d; i <= ColCount() - 2; ++i) SetColWidths(i, ColWidths(i + 1));
        ++FNumHidden;
        FVisibleCol[size_t(c)] = false;
        if (Col() == ColCount() - 1) SetCol(Col() - 1);
        SetColCount(ColCount() - 1);
    }
    Invalidate();
}

void TProStringGrid::UnHideColumns(int FromCol, int ToCol)
{
    if (FromCol > ToCol) return;
    CheckColumnIndex(FromCol, MappedColumns);
    if (EditorMode()) HideEditor();
    // Columns beyond the mapped range are never hidden.
    for (int c = FromCol; c <= std::min(ToCol, MappedColumns - 1); ++c) {
        if (FVisibleCol[size_t(c)]) continue;
        --FNumHidden;
        FVisibleCol[size_t(c)] = true;
        SetColCount(ColCount() + 1);
        const int b = RealToDisplColumn(c + 1);
        for (int i = ColCount() - 1; i >= b && i >= 1; --i) SetColWidths(i, ColWidths(i - 1));
        SetColWidths(RealToDisplColumn(c), FAllColWidths[size_t(c)]);
    }
    Invalidate();
}

void TProStringGrid::UnHideColumnsAll()
{
    if (FNumHidden > 0) UnHideColumns(0, ColCount() + FNumHidden);
}

// ---- the store's rows ------------------------------------------------------------------------

int TProStringGrid::StoreColCount() { return std::max(TotalColCount(), FPropsCols); }

void TProStringGrid::MoveStoreRow(int From, int To)
{
    const int cols = StoreColCount();
    for (int c = 0; c < cols; ++c) {
        SetGridCell(c, To, GetGridCell(c, From));
        TObject* o = GetGridObject(c, From);
        SetGridObject(c, To, o);
        if (auto* p = dynamic_cast<TCellProperties*>(o)) p->SetOwnerRow(To);
    }
    SetRowHeights(To, RowHeights(From));
}

void TProStringGrid::ClearStoreRow(int ARow)
{
    const int cols = StoreColCount();
    for (int c = 0; c < cols; ++c) {
        SetGridCell(c, ARow, QString());
        SetGridObject(c, ARow, nullptr);
    }
}

void TProStringGrid::TakeOutRows(int ARow, int ACount)
{
    ACount = std::min(ACount, RowCount() - ARow);
    if (ACount <= 0 || ARow < 0) return;
    for (int r = ARow; r + ACount < RowCount(); ++r) MoveStoreRow(r + ACount, r);
    for (int r = RowCount() - ACount; r < RowCount(); ++r) ClearStoreRow(r);
    SetRowCount(RowCount() - ACount);
}

void TProStringGrid::PutInEmptyRows(int ARow, int ACount)
{
    if (ACount <= 0) return;
    ARow = std::clamp(ARow, 0, RowCount());
    SetRowCount(RowCount() + ACount);
    for (int r = RowCount() - 1; r >= ARow + ACount; --r) MoveStoreRow(r - ACount, r);
    for (int r = ARow; r < ARow + ACount; ++r) {
        ClearStoreRow(r);
        SetRowHeights(r, DefaultRowHeight());
    }
}

std::unique_ptr<TGridItem> TProStringGrid::SaveRow(int ARow, int Idx)
{
    auto item = std::make_unique<TGridItem>();
    item->SetIdx(Idx);
    item->SetHeight(RowHeights(ARow));
    const int cols = StoreColCount();
    for (int c = 0; c < cols; ++c) {
        item->Items().append(GetGridCell(c, ARow));
        item->Objects().push_back(GetGridObject(c, ARow));
        // The item owns the object from now on.
        SetGridObject(c, ARow, nullptr);
    }
    return item;
}

void TProStringGrid::RestoreRow(TGridItem* Item, int ARow)
{
    auto& objects = Item->Objects();
    for (int c = 0; c < Item->Items().size(); ++c) SetGridCell(c, ARow, Item->Items()[c]);
    for (size_t c = 0; c < objects.size(); ++c) {
        SetGridObject(int(c), ARow, objects[c]);
        if (auto* p = dynamic_cast<TCellProperties*>(objects[c])) {
            p->SetOwnerCol(int(c));
            p->SetOwnerRow(ARow);
        }
    }
    objects.clear();
    if (Item->Height() > 0) SetRowHeights(ARow, Item->Height());
}

void TProStringGrid::RestoreHiddenRow(size_t ItemIndex, int ARow)
{
    PutInEmptyRows(ARow, 1);
    RestoreRow(FGridItems[ItemIndex].get(), ARow);
    FGridItems.erase(FGridItems.begin() + std::ptrdiff_t(ItemIndex));
}

// ---- hiding rows -----------------------------------------------------------------------------

bool TProStringGrid::IsHiddenRow(int ARow) const
{
    return std::any_of(FGridItems.begin(), FGridItems.end(), [ARow](const auto& i) { return i->Idx() == ARow; });
}

QStringList* TProStringGrid::GetHiddenRowItems(int ARow)
{
    for (auto& item : FGridItems)
        if (item->Idx() == ARow) return &item->Items();
    return nullptr;
}

void TProStringGrid::HideRows(int FromRow, int ToRow)
{
    if (FromRow < 0 || FromRow > ToRow) return;
    int already = 0, below = 0;
    for (const auto& item : FGridItems) {
        if (item->Idx() >= FromRow && item->Idx() <= ToRow) ++already;
        if (item->Idx() < FromRow) ++below;
    }
    if (already == ToRow - FromRow + 1) return;
    const int D = FromRow - below;
    int present = D;
    int taken = 0;
    for (int r = FromRow; r <= ToRow && present < RowCount(); ++r) {
        if (IsHiddenRow(r)) continue;
        auto item = SaveRow(present++, r);
        // Kept in ascending real-row order.
        auto at = std::find_if(FGridItems.begin(), FGridItems.end(), [r](const auto& i) { return i->Idx() > r; });
        FGridItems.insert(at, std::move(item));
        ++taken;
    }
    TakeOutRows(D, taken);
    CellControlsUpdate();
}

void TProStringGrid::HideRowsEx(int FromRow, int ToRow)
{
    if (FromRow < 0 || FromRow > ToRow || IsHiddenRow(FromRow)) return;
    const int D = RealToDisplRow(FromRow);
    int taken = 0;
    for (int r = FromRow; r <= ToRow && D + taken < RowCount(); ++r, ++taken) {
        auto item = SaveRow(D + taken, r);
        // The row comes back at the height an inserted row gets.
        item->SetHeight(0);
        FGridItems.push_back(std::move(item));
    }
    TakeOutRows(D, taken);
    CellControlsUpdate();
}

void TProStringGrid::HideRowList(TIntList* RowList)
{
    if (!RowList || RowList->Count() == 0) return;
    std::vector<bool> listed(size_t(RowCount()), false);
    int count = 0;
    for (int i = 0; i < RowList->Count(); ++i) {
        const int r = RowList->GetInteger(i);
        if (r < 0 || r >= RowCount() || listed[size_t(r)]) continue;
        listed[size_t(r)] = true;
        auto item = SaveRow(r, r);
        item->SetLevel(FFilterLevel);
        FGridItems.push_back(std::move(item));
        ++count;
    }
    ++FFilterLevel;
    int w = 0;
    for (int r = 0; r < RowCount(); ++r) {
        if (listed[size_t(r)]) continue;
        if (r != w) MoveStoreRow(r, w);
        ++w;
    }
    for (int r = w; r < RowCount(); ++r) ClearStoreRow(r);
    SetRowCount(RowCount() - count);
    CellControlsUpdate();
}

void TProStringGrid::UnHideRow(int ARow)
{
    for (size_t i = 0; i < FGridItems.size(); ++i) {
        if (FGridItems[i]->Idx() != ARow) continue;
        RestoreHiddenRow(i, RealToDisplRow(ARow));
        CellControlsUpdate();
        return;
    }
}

void TProStringGrid::UnHideRows(int FromRow, int ToRow)
{
    if (!IsHiddenRow(FromRow)) return;
    // Each row goes back in ascending order to its own place, so rows of the range that
    // stayed visible keep their order among the restored ones.
    std::vector<int> rows;
    for (const auto& item : FGridItems)
        if (item->Idx() >= FromRow && item->Idx() <= ToRow) rows.push_back(item->Idx());
    std::sort(rows.begin(), rows.end());
    for (int r : rows) UnHideRow(r);
}

void TProStringGrid::UnHideRowsAll()
{
    while (!FGridItems.empty()) {
        auto lowest = std::min_element(FGridItems.begin(), FGridItems.end(),
                                       [](const auto& a, const auto& b) { return a->Idx() < b->Idx(); });
        UnHideRows((*lowest)->Idx(), (*lowest)->Idx());
    }
}

void TProStringGrid::UnHideRowList()
{
    const int level = FFilterLevel - 1;
    std::vector<int> rows;
    for (const auto& item : FGridItems)
        if (item->Level() == level) rows.push_back(item->Idx());
    if (rows.empty()) return;
    if (Row() >= RowCount()) MoveToCell(FixedCols(), FixedRows());
    std::sort(rows.begin(), rows.end());
    // The floating footer row stays last.
    const int footer = (FFloatingFooter && FFloatingFooter->Visible()) ? 1 : 0;
    for (int r : rows) {
        for (size_t i = 0; i < FGridItems.size(); ++i) {
            if (FGridItems[i]->Level() != level || FGridItems[i]->Idx() != r) continue;
            RestoreHiddenRow(i, std::min(r, RowCount() - footer));
            break;
        }
    }
    CellControlsUpdate();
}
