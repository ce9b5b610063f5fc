// The selection state of the string grid and the one implementation of each structural
// shift of its stores.
#include "grid/control/grid_selection.h"

#include "platform/ui/grid_axis.h"

#include <algorithm>

// ---- TAxisShift ---------------------------------------------------------------------------------

TAxisShift TAxisShift::Insert(int At, int Count) { return TAxisShift(skInsert, At, std::max(Count, 0)); }

TAxisShift TAxisShift::Erase(std::vector<int> Removed)
{
    TAxisShift s(skErase, 0, 0);
    s.FRemoved = std::move(Removed);
    return s;
}

TAxisShift TAxisShift::Move(int From, int To) { return TAxisShift(skMove, From, To); }

TAxisShift TAxisShift::Swap(int A, int B) { return TAxisShift(skSwap, A, B); }

TAxisShift TAxisShift::Permute(const std::vector<int>& Order)
{
    TAxisShift s(skPermute, 0, 0);
    s.FOrder = Order;
    s.FInverse.resize(Order.size());
    for (size_t i = 0; i < Order.size(); ++i) s.FInverse[size_t(Order[i])] = int(i);
    return s;
}

int TAxisShift::operator()(int Index) const
{
    if (Index < 0) return Index;
    switch (FKind) {
    case skInsert: return TGridAxis::ShiftForInsert(Index, FA, FB);
    case skErase: {
        const auto it = std::lower_bound(FRemoved.begin(), FRemoved.end(), Index);
        if (it != FRemoved.end() && *it == Index) return -1;
        return Index - int(it - FRemoved.begin());
    }
    case skMove: return TGridAxis::ShiftForMove(Index, FA, FB);
    case skSwap: return Index == FA ? FB : Index == FB ? FA : Index;
    case skPermute: return size_t(Index) < FInverse.size() ? FInverse[size_t(Index)] : Index;
    }
    return Index;
}

void TAxisShift::Apply(std::vector<uint8_t>& Flags) const
{
    const auto extend = [&Flags](size_t n) {
        if (Flags.size() < n) Flags.resize(n, 0);
    };
    switch (FKind) {
    case skInsert:
        if (FA >= 0 && size_t(FA) <= Flags.size()) Flags.insert(Flags.begin() + FA, size_t(FB), 0);
        return;
    case skErase: {
        if (FRemoved.empty() || FRemoved.front() < 0 || Flags.size() <= size_t(FRemoved.front())) return;
        size_t out = 0;
        auto next = FRemoved.begin();
        for (size_t i = 0; i < Flags.size(); ++i) {
            while (next != FRemoved.end() && *next < int(i)) ++next;
            if (next != FRemoved.end() && *next == int(i)) continue;
            Flags[out++] = Flags[i];
        }
        Flags.resize(out);
        return;
    }
    case skMove:
        if (FA < 0 || FB < 0 || FA == FB) return;
        extend(size_t(std::max(FA, FB)) + 1);
        MoveItem(Flags, FA, FB);
        return;
    case skSwap:
        if (FA < 0 || FB < 0 || FA == FB) return;
        extend(size_t(std::max(FA, FB)) + 1);
        std::swap(Flags[size_t(FA)], Flags[size_t(FB)]);
        return;
    case skPermute: {
        if (FOrder.empty()) return;
        extend(FOrder.size());
        std::vector<uint8_t> moved(Flags.size());
        for (size_t i = 0; i < FOrder.size(); ++i) moved[i] = Flags[size_t(FOrder[i])];
        std::copy(Flags.begin() + std::ptrdiff_t(FOrder.size()), Flags.end(), moved.begin() + std::ptrdiff_t(FOrder.size()));
        Flags.swap(moved);
        return;
    }
    }
}

// ---- TGridSelection -----------------------------------------------------------------------------

namespace {

std::vector<int> SetIndexes(const std::vector<uint8_t>& Flags)
{
    std::vector<int> set;
    for (size_t i = 0; i < Flags.size(); ++i)
        if (Flags[i] != 0) set.push_back(int(i));
    return set;
}

int CountSet(const std::vector<uint8_t>& Flags, size_t Limit)
{
    const size_t n = std::min(Limit, Flags.size());
    return int(std::count_if(Flags.begin(), Flags.begin() + std::ptrdiff_t(n), [](uint8_t v) { return v != 0; }));
}

// A list of indexes follows the shift in one pass; removed entries leave, the order stays.
void ShiftList(std::vector<int>& List, const TAxisShift& Shift)
{
    size_t out = 0;
    for (int v : List)
        if (const int n = Shift(v); n >= 0) List[out++] = n;
    List.resize(out);
}

}  // namespace

void TGridSelection::SetFlag(std::vector<uint8_t>& Flags, int Index, bool Value)
{
    if (Index < 0) return;
    if (size_t(Index) >= Flags.size()) Flags.resize(size_t(Index) + 1, 0);
    Flags[size_t(Index)] = Value ? 1 : 0;
}

int TGridSelection::RowSelectedCount(int Limit) const { return CountSet(FRowFlags, size_t(std::max(Limit, 0))); }

std::vector<int> TGridSelection::ClearRowSelect()
{
    std::vector<int> was = SetIndexes(FRowFlags);
    std::fill(FRowFlags.begin(), FRowFlags.end(), 0);
    FSelectedRows.clear();
    return was;
}

void TGridSelection::TruncateRowFlags(int Count)
{
    if (FRowFlags.size() > size_t(std::max(Count, 0))) FRowFlags.resize(size_t(std::max(Count, 0)));
}

bool TGridSelection::HasSelectedRow(int ARow) const
{
    return std::find(FSelectedRows.begin(), FSelectedRows.end(), ARow) != FSelectedRows.end();
}

void TGridSelection::AddSelectedRow(int ARow)
{
    if (!HasSelectedRow(ARow)) FSelectedRows.push_back(ARow);
}

void TGridSelection::RemoveSelectedRow(int ARow)
{
    if (auto it = std::find(FSelectedRows.begin(), FSelectedRows.end(), ARow); it != FSelectedRows.end())
        FSelectedRows.erase(it);
}

void TGridSelection::DropSelectedRowsFrom(int Limit)
{
    std::erase_if(FSelectedRows, [Limit](int r) { return r < 0 || r >= Limit; });
}

bool TGridSelection::SetColSelected(int ACol, bool Value)
{
    const bool was = ColSelected(ACol);
    SetFlag(FColFlags, ACol, Value);
    return was;
}

int TGridSelection::ColSelectedCount() const { return CountSet(FColFlags, FColFlags.size()); }

std::vector<int> TGridSelection::ClearColSelect()
{
    std::vector<int> was = SetIndexes(FColFlags);
    std::fill(FColFlags.begin(), FColFlags.end(), 0);
    return was;
}

void TGridSelection::TruncateColFlags(int Count)
{
    if (FColFlags.size() > size_t(std::max(Count, 0))) FColFlags.resize(size_t(std::max(Count, 0)));
}

bool TGridSelection::CellSelected(int ACol, int ARow) const
{
    return std::find(FCells.begin(), FCells.end(), CellKey(ACol, ARow)) != FCells.end();
}

bool TGridSelection::SetCellSelected(int ACol, int ARow, bool Value)
{
    const int key = CellKey(ACol, ARow);
    const auto it = std::find(FCells.begin(), FCells.end(), key);
    if ((it != FCells.end()) == Value) return false;
    if (Value) FCells.push_back(key);
    else FCells.erase(it);
    return true;
}

void TGridSelection::ToggleCell(int ACol, int ARow) { SetCellSelected(ACol, ARow, !CellSelected(ACol, ARow)); }

void TGridSelection::DropCellsOutside(int ColCount, int RowCount)
{
    std::erase_if(FCells, [=](int k) { return KeyCol(k) >= ColCount || KeyRow(k) >= RowCount; });
}

int TGridSelection::ModifiedRowCount() const { return CountSet(FModified, FModified.size()); }

void TGridSelection::ShiftCells(const TAxisShift& Shift, bool Rows)
{
    size_t out = 0;
    for (int k : FCells) {
        const int c = KeyCol(k), r = KeyRow(k);
        const int n = Shift(Rows ? r : c);
        if (n < 0) continue;
        FCells[out++] = Rows ? CellKey(c, n) : CellKey(n, r);
    }
    FCells.resize(out);
}

void TGridSelection::ShiftRows(const TAxisShift& Shift, unsigned Stores)
{
    if (Stores & RowFlags) Shift.Apply(FRowFlags);
    if (Stores & SelectedRows) ShiftList(FSelectedRows, Shift);
    if (Stores & Cells) ShiftCells(Shift, true);
    if (Stores & ModifiedRows) Shift.Apply(FModified);
    if (Stores & EnabledRows) Shift.Apply(FDisabled);
}

void TGridSelection::ShiftCols(const TAxisShift& Shift, unsigned Stores)
{
    if (Stores & ColFlags) Shift.Apply(FColFlags);
    if (Stores & Cells) ShiftCells(Shift, false);
}
