// Hidden columns and rows.  A hidden column keeps its cells under its real column and only
// leaves the display; a hidden row leaves the row sequence while its cells stay in the store
// under its storage slot, which a TGridItem holds with its real row and height until the row
// is shown again.
#include "grid/control/pro_string_grid.h"

#include <algorithm>
#include <cstddef>
#include <memory>
#include <typeinfo>

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

namespace {
// The footer row moves with the other rows in the bulk operations below, so the row count
// setter must not move it again while they change the count.
class TFooterHold {
public:
    explicit TFooterHold(TFloatingFooter* f) : FFooter(f), FWas(f && f->Visible())
    {
        if (FWas) FFooter->SetVisible(false);
    }
    ~TFooterHold()
    {
        if (FWas) FFooter->SetVisible(true);
    }
    TFooterHold(const TFooterHold&) = delete;
    TFooterHold& operator=(const TFooterHold&) = delete;

private:
    TFloatingFooter* FFooter;
    bool FWas;
};
}  // namespace

void TProStringGrid::ClearStoreRow(int ARow)
{
    const int cols = StoreColCount();
    for (int c = 0; c < cols; ++c) {
        SetGridCell(c, ARow, QString());
        SetGridObject(c, ARow, nullptr);
    }
}

void TProStringGrid::RenumberStoreRows(int FromRow)
{
    // Columns too: rows shown again bring properties whose columns may have moved meanwhile.
    ForEachStoredObject(FromRow, [](int col, int row, TObject* o) {
        // The grid's own properties are by far the most objects: their exact type is
        // checked first, the cheaper test.
        auto* p = typeid(*o) == typeid(TCellProperties) ? static_cast<TCellProperties*>(o) : dynamic_cast<TCellProperties*>(o);
        if (!p) return;
        p->SetOwnerRow(row);
        p->SetOwnerCol(col);
    });
}

void TProStringGrid::TakeOutRows(std::vector<int> Rows, bool FreeProps, std::vector<int>* Kept)
{
    if (!std::is_sorted(Rows.begin(), Rows.end())) std::sort(Rows.begin(), Rows.end());
    Rows.erase(std::unique(Rows.begin(), Rows.end()), Rows.end());
    std::erase_if(Rows, [this](int r) { return r < 0 || r >= RowCount(); });
    if (Rows.empty()) return;
    const int oldCount = RowCount();
    const int n = int(Rows.size());
    std::vector<TRowMerge> cut;
    // Only cells with properties can be merged: a grid of plain texts asks nothing per run.
    const bool merges = FHasCellProps || FPropsCols > 0;
    for (size_t i = 0; merges && i < Rows.size();) {
        // one call per run of neighbouring rows
        size_t j = i + 1;
        while (j < Rows.size() && Rows[j] == Rows[j - 1] + 1) ++j;
        for (const TRowMerge& m : MergesCutByRemoval(Rows[i], int(j - i)))
            if (std::none_of(cut.begin(), cut.end(), [&](const TRowMerge& k) { return k.Col == m.Col && k.Row == m.Row; }))
                cut.push_back(m);
        i = j;
    }
    // Where an old row goes: -1 for the rows taken out.  Looked up rather than tabled, so
    // that taking out a few rows costs no pass over all of them.
    const auto newRow = [&](int r) {
        if (r >= oldCount) return r - n;
        const auto it = std::lower_bound(Rows.begin(), Rows.end(), r);
        return it != Rows.end() && *it == r ? -1 : r - int(it - Rows.begin());
    };
    TFooterHold hold(FFloatingFooter.get());
    if (FreeProps) {
        const int cols = StoreColCount();
        for (int r : Rows) FreePropRect(0, r, cols - 1, r);
    } else {
        // The objects now belong to whoever took the row; a row out of the store stands
        // outside every merged block, which closes over the gap.  Only stored objects are
        // visited: a grid of plain texts pays nothing here.
        ForEachStoredObject(Rows.front(), [&](int, int r, TObject* o) {
            if (r > Rows.back() || !std::binary_search(Rows.begin(), Rows.end(), r)) return;
            auto* p = dynamic_cast<TCellProperties*>(o);
            if (!p || (p->CellSpanX() == -1 && p->CellSpanY() == -1)) return;
            p->SetIsBaseCell(true);
            p->SetCellSpanX(-1);
            p->SetCellSpanY(-1);
        });
    }
    if (Rows.back() - Rows.front() + 1 == n) {
        if (Kept) *Kept = DetachStoreRows(Rows.front(), n);
        else EraseStoreRows(Rows.front(), n);
    } else {
        // The rows that stay move up in one pass, those taken out gather at the end.
        std::vector<int> order;
        order.reserve(size_t(oldCount));
        for (int r = 0, k = 0; r < oldCount; ++r) {
            if (k < n && Rows[size_t(k)] == r) ++k;
            else order.push_back(r);
        }
        order.insert(order.end(), Rows.begin(), Rows.end());
        ReorderStoreRows(order);
        if (Kept) *Kept = DetachStoreRows(oldCount - n, n);
        else EraseStoreRows(oldCount - n, n);
    }
    SetRowCount(oldCount - n);
    RenumberStoreRows(Rows.front());
    RespanMerges(cut, newRow);
}

void TProStringGrid::PutInEmptyRows(std::vector<int> Targets, const std::function<void(size_t, int)>& Fill)
{
    if (Targets.empty()) return;
    const int oldCount = RowCount();
    const int n = int(Targets.size());
    // Ascending, each a new row of its own, none beyond the end.
    if (!std::is_sorted(Targets.begin(), Targets.end())) std::sort(Targets.begin(), Targets.end());
    for (int k = 0; k < n; ++k)
        Targets[size_t(k)] = std::clamp(Targets[size_t(k)], k ? Targets[size_t(k) - 1] + 1 : 0, oldCount + k);
    // Where an old row goes: down by the new rows before it, i.e. the targets k whose
    // Targets[k] - k (the old row they come in front of) is at most the row.  The blocks an
    // insertion cuts are those reaching the old row that follows it from above.
    std::vector<int> gap(static_cast<size_t>(n));
    for (int k = 0; k < n; ++k) gap[size_t(k)] = Targets[size_t(k)] - k;
    const auto newRow = [&](int r) {
        if (r >= oldCount) return r + n;
        return r + int(std::upper_bound(gap.begin(), gap.end(), r) - gap.begin());
    };
    std::vector<TRowMerge> cut;
    for (int k = 0; k < n && (FHasCellProps || FPropsCols > 0); ++k) {
        const int old = gap[size_t(k)];
        if (old < oldCount && (k == 0 || Targets[size_t(k) - 1] != Targets[size_t(k)] - 1))
            for (const TRowMerge& m : MergesCutByInsertion(old)) cut.push_back(m);
    }
    TFooterHold hold(FFloatingFooter.get());
    SetRowCount(oldCount + n);
    if (Targets.back() - Targets.front() + 1 == n) {
        InsertStoreRows(Targets.front(), n);
    } else {
        // Empty rows at the end, then everything to its place in one pass.
        InsertStoreRows(oldCount, n);
        std::vector<int> order(size_t(oldCount + n));
        for (int i = 0, r = 0, k = 0; i < oldCount + n; ++i)
            order[size_t(i)] = k < n && Targets[size_t(k)] == i ? oldCount + k++ : r++;
        ReorderStoreRows(order);
    }
    if (Fill)
        for (int k = 0; k < n; ++k) Fill(size_t(k), Targets[size_t(k)]);
    RenumberStoreRows(Targets.front());
    RespanMerges(cut, newRow);
}

// ---- hidden-row records ----------------------------------------------------------------------

namespace {
// Blocks of record-sized places, kept for the process: a free list hands them out and takes
// them back.  The grid lives on the GUI thread, and so do its records.
class TGridItemPool {
public:
    void* Take()
    {
        if (FFree.empty()) Grow();
        void* p = FFree.back();
        FFree.pop_back();
        return p;
    }
    void Give(void* P) { FFree.push_back(P); }

private:
    static constexpr size_t Place = (sizeof(TGridItem) + alignof(std::max_align_t) - 1) / alignof(std::max_align_t) * alignof(std::max_align_t);
    static constexpr size_t PerBlock = 4096;
    void Grow()
    {
        FBlocks.push_back(std::make_unique<std::max_align_t[]>(PerBlock * Place / sizeof(std::max_align_t)));
        auto* base = reinterpret_cast<std::byte*>(FBlocks.back().get());
        for (size_t i = PerBlock; i-- > 0;) FFree.push_back(base + i * Place);
    }
    std::vector<std::unique_ptr<std::max_align_t[]>> FBlocks;
    std::vector<void*> FFree;
};

// Never destroyed, so that no record outlives its pool.
TGridItemPool& ItemPool()
{
    static auto* pool = new TGridItemPool;
    return *pool;
}
}  // namespace

void* TGridItem::operator new(size_t Size) { return Size == sizeof(TGridItem) ? ItemPool().Take() : ::operator new(Size); }

void TGridItem::operator delete(void* P, size_t Size)
{
    if (!P) return;
    if (Size == sizeof(TGridItem)) ItemPool().Give(P);
    else ::operator delete(P);
}

TGridItem::~TGridItem()
{
    if (!FGrid || FSlot < 0) return;
    Clear(true);
    FGrid->ReleaseStoreSlot(FSlot);
}

QStringList& TGridItem::Items()
{
    if (!FItems) FItems = std::make_unique<QStringList>();
    FItems->clear();
    if (FGrid)
        for (int c = 0, n = FGrid->StoreColCount(); c < n; ++c) FItems->append(Cell(c));
    return *FItems;
}

QString TGridItem::Cell(int ACol) const { return FGrid ? FGrid->SlotCell(ACol, FSlot) : QString(); }

void TGridItem::SetCell(int ACol, const QString& Value)
{
    if (FGrid && FSlot >= 0 && ACol >= 0) FGrid->SetSlotCell(ACol, FSlot, Value);
}

TObject* TGridItem::Object(int ACol) const { return FGrid ? FGrid->SlotObject(ACol, FSlot) : nullptr; }

void TGridItem::SetObject(int ACol, TObject* Value)
{
    if (FGrid && FSlot >= 0 && ACol >= 0) FGrid->SetSlotObject(ACol, FSlot, Value);
}

void TGridItem::Clear(bool FreeObjects)
{
    if (!FGrid || FSlot < 0) return;
    for (int c = 0, n = FGrid->StoredColumns(); c < n; ++c) {
        if (!Cell(c).isEmpty()) SetCell(c, QString());
        if (!FreeObjects) continue;
        // As for the rows shown: the cell properties and their graphics are the grid's,
        // other objects are their owners'.
        if (TObject* o = Object(c)) {
            SetObject(c, nullptr);
            if (auto* p = dynamic_cast<TCellProperties*>(o)) {
                if (TObject* g = p->GraphicObject(); g && g->ClassName() == QStringLiteral("TCellGraphic")) delete g;
                delete p;
            }
        }
    }
}

int TGridItem::TakeSlot() { return std::exchange(FSlot, -1); }

void TProStringGrid::HideStoreRows(const std::vector<int>& Rows, const std::vector<int>& Idx, int FilterPass, bool KeepHeight)
{
    if (Rows.empty()) return;
    std::vector<int> heights(Rows.size(), 0);
    if (KeepHeight)
        for (size_t k = 0; k < Rows.size(); ++k) heights[k] = RowHeights(Rows[k]);
    std::vector<int> kept;
    TakeOutRows(Rows, false, &kept);
    // The records stay in ascending real rows, so that the row mappings search them.
    const auto mid = std::ptrdiff_t(FGridItems.size());
    FGridItems.reserve(FGridItems.size() + Rows.size());
    for (size_t k = 0; k < kept.size(); ++k) {
        auto item = std::make_unique<TGridItem>(this, kept[k]);
        item->SetIdx(Idx[k]);
        item->SetHeight(heights[k]);
        item->SetLevel(std::max(FilterPass, 0));
        item->SetFiltered(FilterPass >= 0);
        FGridItems.push_back(std::move(item));
    }
    // The callers' real rows come ascending; only records among older ones need a merge.
    const auto byIdx = [](const auto& x, const auto& y) { return x->Idx() < y->Idx(); };
    const auto first = FGridItems.begin() + mid;
    if (!std::is_sorted(first, FGridItems.end(), byIdx)) std::stable_sort(first, FGridItems.end(), byIdx);
    if (mid > 0 && byIdx(*first, *(first - 1))) std::inplace_merge(FGridItems.begin(), first, FGridItems.end(), byIdx);
    ++FHiddenRowsVersion;
    CellControlsUpdate(false);
}

void TProStringGrid::RestoreRow(TGridItem* Item, int ARow)
{
    // The row's cell properties learn their place in the renumbering that follows.
    AttachStoreRow(ARow, Item->TakeSlot());
    if (Item->Height() > 0 && Item->Height() != RowHeights(ARow)) SetRowHeights(ARow, Item->Height());
}

int TProStringGrid::ShowRecords(size_t First, size_t Last, const std::function<bool(const TGridItem&)>& Take, int LastTarget)
{
    // A row goes back among the present rows at its real row less the rows before it that
    // stay hidden: all records before First, and those of the range that Take leaves.
    std::vector<TGridItem*> items;
    std::vector<int> targets;
    int stay = int(First);
    for (size_t i = First; i < Last; ++i) {
        TGridItem* item = FGridItems[i].get();
        if (!Take(*item)) {
            ++stay;
            continue;
        }
        int target = item->Idx() - stay;
        if (LastTarget >= 0) target = std::min(target, LastTarget + int(items.size()));
        targets.push_back(target);
        items.push_back(item);
    }
    if (items.empty()) return 0;
    // The targets come ascending with their items; PutInEmptyRows fills them in that order.
    PutInEmptyRows(targets, [&](size_t k, int row) { RestoreRow(items[k], row); });
    // The records shown gave their slots back.
    const auto lo = FGridItems.begin() + std::ptrdiff_t(First), hi = FGridItems.begin() + std::ptrdiff_t(Last);
    FGridItems.erase(std::remove_if(lo, hi, [](const auto& i) { return i->Slot() < 0; }), hi);
    ++FHiddenRowsVersion;
    CellControlsUpdate(false);
    return int(items.size());
}

std::pair<size_t, size_t> TProStringGrid::HiddenRange(int FromReal, int ToReal) const
{
    const auto byIdx = [](const auto& item, int r) { return item->Idx() < r; };
    const auto lo = std::lower_bound(FGridItems.begin(), FGridItems.end(), FromReal, byIdx);
    const auto hi = std::lower_bound(lo, FGridItems.end(), ToReal + 1, byIdx);
    return {size_t(lo - FGridItems.begin()), size_t(hi - FGridItems.begin())};
}

std::vector<int> TProStringGrid::HiddenIdxSorted() const
{
    std::vector<int> idx;
    idx.reserve(FGridItems.size());
    for (const auto& item : FGridItems) idx.push_back(item->Idx());
    std::sort(idx.begin(), idx.end());
    return idx;
}

// ---- hiding rows -----------------------------------------------------------------------------

bool TProStringGrid::IsHiddenRow(int ARow) const
{
    const auto it = std::lower_bound(FGridItems.begin(), FGridItems.end(), ARow,
                                     [](const auto& item, int r) { return item->Idx() < r; });
    return it != FGridItems.end() && (*it)->Idx() == ARow;
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
    const std::vector<int> hidden = HiddenIdxSorted();
    const auto lo = std::lower_bound(hidden.begin(), hidden.end(), FromRow);
    const auto hi = std::upper_bound(hidden.begin(), hidden.end(), ToRow);
    if (hi - lo == ToRow - FromRow + 1) return;
    const int D = FromRow - int(lo - hidden.begin());
    std::vector<int> rows, idx;
    for (int r = FromRow, present = D; r <= ToRow && present < RowCount(); ++r) {
        if (std::binary_search(lo, hi, r)) continue;
        rows.push_back(present++);
        idx.push_back(r);
    }
    HideStoreRows(rows, idx, -1, true);
}

void TProStringGrid::HideRowsEx(int FromRow, int ToRow)
{
    if (FromRow < 0 || FromRow > ToRow || IsHiddenRow(FromRow)) return;
    const int D = RealToDisplRow(FromRow);
    std::vector<int> rows, idx;
    for (int r = FromRow; r <= ToRow && D + int(rows.size()) < RowCount(); ++r) {
        rows.push_back(D + int(rows.size()));
        idx.push_back(r);
    }
    // The rows come back at the height an inserted row gets.
    HideStoreRows(rows, idx, -1, false);
}

void TProStringGrid::HideRowList(TIntList* RowList)
{
    std::vector<int> rows;
    if (RowList) {
        rows.reserve(size_t(RowList->Count()));
        for (int i = 0; i < RowList->Count(); ++i) rows.push_back(RowList->GetInteger(i));
    }
    HideFilterPass(std::move(rows));
}

void TProStringGrid::HideFilterPass(std::vector<int> Rows)
{
    if (!std::is_sorted(Rows.begin(), Rows.end())) std::sort(Rows.begin(), Rows.end());
    Rows.erase(std::unique(Rows.begin(), Rows.end()), Rows.end());
    std::erase_if(Rows, [this](int r) { return r < 0 || r >= RowCount(); });
    // A pass that hides nothing is still a pass: it is removed like the others.
    if (Rows.empty()) {
        ++FFilterLevel;
        return;
    }
    // The list names present rows; each record keeps the real row.  Both run ascending, so
    // one walk over the hidden records maps them all.
    std::vector<int> idx;
    idx.reserve(Rows.size());
    size_t h = 0;
    for (int r : Rows) {
        // real row r + h, once the hidden rows at or before it are counted in
        while (h < FGridItems.size() && FGridItems[h]->Idx() <= r + int(h)) ++h;
        idx.push_back(r + int(h));
    }
    HideStoreRows(Rows, idx, FFilterLevel, true);
    ++FFilterLevel;
}

void TProStringGrid::UnHideRow(int ARow) { UnHideRows(ARow, ARow); }

void TProStringGrid::UnHideRows(int FromRow, int ToRow)
{
    if (!IsHiddenRow(FromRow)) return;
    // Each row goes back to its own place, so rows of the range that stayed visible keep
    // their order among the restored ones.  Rows a filter pass hid stay with the filter.
    const auto [first, last] = HiddenRange(FromRow, ToRow);
    ShowRecords(first, last, [](const TGridItem& i) { return !i.Filtered(); });
}

void TProStringGrid::UnHideRowsAll()
{
    // Every hidden row, those of filter passes too: no pass is left to remove.
    if (ShowRecords(0, FGridItems.size(), [](const TGridItem&) { return true; }) > 0) FFilterLevel = 0;
}

void TProStringGrid::UnHideRowList()
{
    // Only the last pass's rows; rows hidden otherwise, or by earlier passes, stay hidden.
    const int level = FFilterLevel - 1;
    const auto take = [level](const TGridItem& i) { return i.Filtered() && i.Level() == level; };
    if (std::none_of(FGridItems.begin(), FGridItems.end(), [&](const auto& i) { return take(*i); })) return;
    if (Row() >= RowCount()) MoveToCell(FixedCols(), FixedRows());
    // The floating footer row stays last.
    const bool footer = FFloatingFooter && FFloatingFooter->Visible();
    ShowRecords(0, FGridItems.size(), take, footer ? RowCount() - 1 : -1);
}
