#pragma once
// One axis of a grid (its columns or its rows): the cell count, the fixed count, the default
// size and the sizes of single cells, with running sums of the sizes so that the position of
// a cell and the cell at a position cost no walk over the cells before it.
//
// The sizes are kept only once one of them differs from the default: an axis of 100k rows of
// default height holds no vector.  Structural changes (insert, erase, move, reorder) are bulk
// operations done in one pass.  No Qt, no widgets: the axis is tested without a window.
#include <algorithm>
#include <vector>

// The item at `from` goes to `to`; the items between close up.
template <typename T>
void MoveItem(std::vector<T>& v, int from, int to)
{
    if (from < to) std::rotate(v.begin() + from, v.begin() + from + 1, v.begin() + to + 1);
    else if (from > to) std::rotate(v.begin() + to, v.begin() + from, v.begin() + from + 1);
}

class TGridAxis {
public:
    TGridAxis(int count, int fixedCount, int defaultSize);

    int Count() const { return FCount; }
    // New cells get the default size; cells beyond a lowered count are dropped.
    void SetCount(int count);
    int FixedCount() const { return FFixedCount; }
    void SetFixedCount(int fixedCount) { FFixedCount = fixedCount; }
    int DefaultSize() const { return FDefaultSize; }
    // Every cell goes back to the new default.
    void SetDefaultSize(int size);

    // The size of a cell; the default for an index outside the axis.
    int Size(int index) const;
    // False when the cell had that size already.  The index must lie inside the axis.
    bool SetSize(int index, int size);
    // Some cell has a size of its own (it may equal the default again).
    bool HasSizes() const { return !FSizes.empty(); }

    // Sum of the sizes of cells [0, index), index clamped to [0, Count].
    int Offset(int index) const;
    // Sum of the sizes of cells [from, to), both clamped; 0 when to <= from.
    int Extent(int from, int to) const { return from >= to ? 0 : Offset(to) - Offset(from); }
    // The cell at distance pos from the start of cell `first`, each cell taking its size plus
    // lineWidth; -1 when pos is negative or lies past the last cell.
    int CellAt(int first, int pos, int lineWidth) const;

    // k cells of the default size before `at` (0 <= at <= Count).
    void Insert(int at, int k);
    // Cells [at, at + k), clamped to the axis.
    void Erase(int at, int k);
    // The cell at `from` goes to `to`; the cells between close up.
    void Move(int from, int to);
    // Cell i of the result is cell order[i] of before; order is a permutation of [0, Count).
    void Reorder(const std::vector<int>& order);

    // Where an index of a cell ends up after the operation of the same name.  An index inside
    // an erased range becomes the first cell after the range, clamped to the new last cell.
    static int ShiftForInsert(int index, int at, int k);
    static int ShiftForErase(int index, int at, int k, int newCount);
    static int ShiftForMove(int index, int from, int to);

private:
    void Touch(int from) const;
    void EnsureSums(int upTo) const;

    int FCount;
    int FFixedCount;
    int FDefaultSize;
    std::vector<int> FSizes;   // empty while every cell has the default size
    // FSums[i] = sum of FSizes[0, i); valid for i <= FSumsValid.  Kept lazily: a change
    // only lowers FSumsValid, and the next query completes the prefix it needs.
    mutable std::vector<int> FSums;
    mutable int FSumsValid = 0;
};
