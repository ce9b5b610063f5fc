#pragma once
// The selection state of the string grid as plain data: the disjunct row and column flags,
// the list of selected rows, the list of selected cells, and the per-row modified and
// disabled marks.  The grid decides which of them are in use and with which row indexes
// (real or shown); this object keeps them and moves them with the grid's rows and columns.
//
// Every structural change is one TAxisShift (where an index goes), applied to each store in
// one pass, so a sort of 100k rows moves all the marks with one permutation.  No widgets and
// no grid: the object is tested alone.
#include <cstdint>
#include <vector>

// One structural change of a grid axis (rows or columns) as a map from an index before the
// change to the index after it; -1 for an index whose item was removed.
class TAxisShift {
public:
    // k items before `at`.
    static TAxisShift Insert(int At, int Count);
    // The items at the given indexes (ascending, no repeats) leave; the others close up.
    static TAxisShift Erase(std::vector<int> Removed);
    // The item at `from` goes to `to`; the items between close up.
    static TAxisShift Move(int From, int To);
    // Two items trade places.
    static TAxisShift Swap(int A, int B);
    // Item i after the change is item Order[i] before it (a permutation of [0, Order.size()));
    // indexes from Order.size() on stay where they are.
    static TAxisShift Permute(const std::vector<int>& Order);

    // Where `index` ends up; -1 when its item was removed.  Negative indexes stay as they are.
    int operator()(int Index) const;

    // A list of flags by index, kept only as far as some flag was written (a missing entry is
    // 0), follows the change.  Insert adds zeros where the list reaches the insertion point;
    // Move, Swap and Permute first extend the list over the indexes they touch.
    void Apply(std::vector<uint8_t>& Flags) const;

private:
    enum TKind { skInsert, skErase, skMove, skSwap, skPermute };
    TAxisShift(TKind Kind, int A, int B) : FKind(Kind), FA(A), FB(B) {}

    TKind FKind;
    int FA = 0, FB = 0;
    std::vector<int> FRemoved;   // skErase: ascending removed indexes
    std::vector<int> FOrder;     // skPermute: old index of each new index
    std::vector<int> FInverse;   // skPermute: new index of each old index
};

class TGridSelection {
public:
    // The stores, to name those a shift applies to.
    static constexpr unsigned RowFlags = 1u << 0;      // disjunct row selection, by row
    static constexpr unsigned SelectedRows = 1u << 1;  // selected rows in the order they were flagged
    static constexpr unsigned Cells = 1u << 2;         // disjunct cell selection, packed keys
    static constexpr unsigned ModifiedRows = 1u << 3;  // rows marked as modified
    static constexpr unsigned EnabledRows = 1u << 4;   // rows marked as disabled
    static constexpr unsigned ColFlags = 1u << 5;      // disjunct column selection, by column
    static constexpr unsigned AllStores = (1u << 6) - 1;

    // A cell packed into one key: the row in the high 16 bits, the column in the low 16.
    static int CellKey(int ACol, int ARow) { return (ARow << 16) | (ACol & 0xFFFF); }
    static int KeyCol(int Key) { return Key & 0xFFFF; }
    static int KeyRow(int Key) { return Key >> 16; }

    // ---- disjunct row flags
    bool RowSelected(int ARow) const { return Flag(FRowFlags, ARow); }
    // The flag of the row was written at some time (or moved there).
    bool RowFlagKnown(int ARow) const { return ARow >= 0 && size_t(ARow) < FRowFlags.size(); }
    // Rows [0, RowFlagCount()) are known.
    int RowFlagCount() const { return int(FRowFlags.size()); }
    void SetRowSelected(int ARow, bool Value) { SetFlag(FRowFlags, ARow, Value); }
    // Flagged rows among [0, Limit).
    int RowSelectedCount(int Limit) const;
    // Unflags every row and empties the selected-row list; returns the rows that were flagged.
    std::vector<int> ClearRowSelect();
    // Forgets the flags of rows from Count on.
    void TruncateRowFlags(int Count);

    // ---- the selected-row list
    const std::vector<int>& SelectedRowList() const { return FSelectedRows; }
    bool HasSelectedRow(int ARow) const;
    // Appended unless listed already.
    void AddSelectedRow(int ARow);
    void RemoveSelectedRow(int ARow);
    // Drops the listed rows outside [0, Limit).
    void DropSelectedRowsFrom(int Limit);

    // ---- disjunct column flags
    bool ColSelected(int ACol) const { return Flag(FColFlags, ACol); }
    // Returns the flag before.
    bool SetColSelected(int ACol, bool Value);
    int ColSelectedCount() const;
    std::vector<int> ClearColSelect();
    void TruncateColFlags(int Count);

    // ---- disjunct cells, in the order they were selected
    const std::vector<int>& CellKeys() const { return FCells; }
    int CellCount() const { return int(FCells.size()); }
    bool CellSelected(int ACol, int ARow) const;
    // Adds or removes the cell; false when it was so already.
    bool SetCellSelected(int ACol, int ARow, bool Value);
    void ToggleCell(int ACol, int ARow);
    void ClearCells() { FCells.clear(); }
    // Drops the cells with a column from ColCount or a row from RowCount on.
    void DropCellsOutside(int ColCount, int RowCount);

    // ---- modified and disabled rows
    bool RowModified(int ARow) const { return Flag(FModified, ARow); }
    void SetRowModified(int ARow, bool Value) { SetFlag(FModified, ARow, Value); }
    int ModifiedRowCount() const;
    void ClearModifiedRows() { FModified.clear(); }
    bool RowDisabled(int ARow) const { return Flag(FDisabled, ARow); }
    void SetRowDisabled(int ARow, bool Value) { SetFlag(FDisabled, ARow, Value); }

    // ---- structural changes, each applied to the named stores in one pass
    void ShiftRows(const TAxisShift& Shift, unsigned Stores);
    void ShiftCols(const TAxisShift& Shift, unsigned Stores);
    void InsertRows(int At, int Count, unsigned Stores) { ShiftRows(TAxisShift::Insert(At, Count), Stores); }
    void EraseRows(const std::vector<int>& Rows, unsigned Stores) { ShiftRows(TAxisShift::Erase(Rows), Stores); }
    void MoveRow(int From, int To, unsigned Stores) { ShiftRows(TAxisShift::Move(From, To), Stores); }
    void SwapRows(int A, int B, unsigned Stores) { ShiftRows(TAxisShift::Swap(A, B), Stores); }
    void PermuteRows(const std::vector<int>& Order, unsigned Stores) { ShiftRows(TAxisShift::Permute(Order), Stores); }
    void InsertCols(int At, int Count, unsigned Stores) { ShiftCols(TAxisShift::Insert(At, Count), Stores); }
    void EraseCols(const std::vector<int>& Cols, unsigned Stores) { ShiftCols(TAxisShift::Erase(Cols), Stores); }
    void MoveCol(int From, int To, unsigned Stores) { ShiftCols(TAxisShift::Move(From, To), Stores); }
    void SwapCols(int A, int B, unsigned Stores) { ShiftCols(TAxisShift::Swap(A, B), Stores); }
    void PermuteCols(const std::vector<int>& Order, unsigned Stores) { ShiftCols(TAxisShift::Permute(Order), Stores); }

private:
    static bool Flag(const std::vector<uint8_t>& Flags, int Index)
    {
        return Index >= 0 && size_t(Index) < Flags.size() && Flags[size_t(Index)] != 0;
    }
    static void SetFlag(std::vector<uint8_t>& Flags, int Index, bool Value);
    // Cells whose row (Rows) or column (!Rows) follows the shift; removed ones leave.
    void ShiftCells(const TAxisShift& Shift, bool Rows);

    std::vector<uint8_t> FRowFlags;
    std::vector<uint8_t> FColFlags;
    std::vector<int> FSelectedRows;
    std::vector<int> FCells;
    std::vector<uint8_t> FModified;
    std::vector<uint8_t> FDisabled;
};
