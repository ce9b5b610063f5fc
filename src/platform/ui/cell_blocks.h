#pragma once
// The cell store of the string grid, in plain C++ (no window needed to test it): a row index
// shared by all columns, and per column the items of each storage slot.
#include <algorithm>
#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

// Items by index (a column's cells by slot, the row index's kept by row) in blocks, made
// when an index in the block is first written: a sparse store stays small, and a full one
// grows without moving its items past the first block.  Structure changes (insert, erase, reorder) are bulk
// operations that move each item once, block by block, and never make a block for a stretch
// of empty items.
template <typename T>
class TCellBlocks {
public:
    static constexpr int Shift = 12;
    static constexpr int Size = 1 << Shift;
    static constexpr int Mask = Size - 1;

    // The first block starts with this many items and doubles as rows are written: a grid
    // of a few rows holds a few items, not a whole block per column.
    static constexpr int FirstSize = 16;

    const T* Find(int row) const { return const_cast<TCellBlocks*>(this)->Ptr(row); }
    T* Find(int row) { return Ptr(row); }
    T& At(int row)
    {
        const size_t b = static_cast<size_t>(row) >> Shift;
        if (b >= FBlocks.size()) FBlocks.resize(b + 1);
        TBlock& k = FBlocks[b];
        const int i = row & Mask;
        if (i >= k.Held) Grow(k, b == 0 ? i + 1 : Size);
        return k.Items[i];
    }
    // Empties the item at `row` without making a block for it.
    void Clear(int row)
    {
        if (T* p = Ptr(row)) *p = T();
    }
    bool Empty() const { return FBlocks.empty(); }
    // Items allocated, empty ones included.
    size_t Held() const
    {
        size_t n = 0;
        for (const TBlock& k : FBlocks) n += static_cast<size_t>(k.Held);
        return n;
    }
    // Rows up to the end of the last block; every row from here on is empty.
    int Extent() const { return static_cast<int>(FBlocks.size()) << Shift; }

    // Moves the item at `from` to `to`, shifting those between.
    void Move(int from, int to)
    {
        if (from == to || Empty()) return;
        T keep = Take(from);
        if (from < to) ShiftRows(from + 1, from, to - from);
        else ShiftRows(to, to + 1, from - to);
        Put(to, std::move(keep));
    }
    // `count` empty rows at `at`; the rows from `at` on move down by `count`.
    void InsertRange(int at, int count)
    {
        const int extent = Extent();
        if (count <= 0 || at < 0 || at >= extent) return;
        FBlocks.resize(static_cast<size_t>((extent + count + Size - 1) >> Shift));
        ShiftRows(at, at + count, extent - at);
        Reset(at, count);
        TrimTail();
    }
    // Rows [at, at + count) leave (their items are dropped); the rows after them move up.
    void EraseRange(int at, int count)
    {
        const int extent = Extent();
        if (count <= 0 || at < 0 || at >= extent) return;
        count = std::min(count, extent - at);
        const int keep = extent - at - count;
        ShiftRows(at + count, at, keep);
        // Whole blocks past the moved rows are dropped rather than cleared.
        const int end = at + keep;
        FBlocks.resize(static_cast<size_t>((end + Size - 1) >> Shift));
        Reset(end, Extent() - end);
        TrimTail();
    }
    // Row i takes the item that was at row order[i], for every i < order.size(), in one
    // pass; `order` is a permutation of 0 .. order.size() - 1.  Later rows stay.
    void Reorder(const std::vector<int>& order)
    {
        if (Empty()) return;
        std::vector<T> moved(order.size());
        for (size_t i = 0; i < order.size(); ++i)
            if (T* p = Ptr(order[i])) moved[i] = std::exchange(*p, T());
        for (size_t i = 0; i < order.size(); ++i) Put(static_cast<int>(i), std::move(moved[i]));
        TrimTail();
    }
    // Calls f(row, item) for every item in rows [from, to) that is not empty.
    template <typename F>
    void ForEach(int from, F f)
    {
        ForEach(from, Extent(), f);
    }
    template <typename F>
    void ForEach(int from, int to, F f)
    {
        to = std::min(to, Extent());
        for (int row = std::max(from, 0); row < to;) {
            TBlock& k = FBlocks[static_cast<size_t>(row) >> Shift];
            const int i = row & Mask;
            if (i >= k.Held) {
                row = (row | Mask) + 1;
                continue;
            }
            if (!(k.Items[i] == T())) f(row, k.Items[i]);
            ++row;
        }
    }

private:
    // A block's items; rows of the block at or past Held hold nothing.
    struct TBlock {
        std::unique_ptr<T[]> Items;
        int Held = 0;
    };
    // Enlarges k to hold at least `need` items, keeping its items.
    static void Grow(TBlock& k, int need)
    {
        int size = k.Held ? k.Held : FirstSize;
        while (size < need) size *= 2;
        size = std::min(size, TCellBlocks::Size);
        auto items = std::make_unique<T[]>(static_cast<size_t>(size));
        std::move(k.Items.get(), k.Items.get() + k.Held, items.get());
        k.Items = std::move(items);
        k.Held = size;
    }
    int SizeAt(int row) const
    {
        const size_t b = static_cast<size_t>(row) >> Shift;
        return b < FBlocks.size() ? FBlocks[b].Held : 0;
    }
    T* Ptr(int row)
    {
        const size_t b = static_cast<size_t>(row) >> Shift;
        return row >= 0 && b < FBlocks.size() && (row & Mask) < FBlocks[b].Held ? &FBlocks[b].Items[row & Mask] : nullptr;
    }
    T Take(int row)
    {
        T* p = Ptr(row);
        return p ? std::exchange(*p, T()) : T();
    }
    void Put(int row, T&& v)
    {
        if (T* p = Ptr(row)) *p = std::move(v);
        else if (!(v == T())) At(row) = std::move(v);
    }
    // Longest run from `row` on that stays inside one block and is either all held or all
    // past the block's items.
    int RunIn(int row) const
    {
        const int i = row & Mask, held = SizeAt(row);
        return i < held ? held - i : Size - i;
    }
    // The same for the run that ends before `end`.
    int RunBackIn(int end) const
    {
        const int i = (end - 1) & Mask, held = SizeAt(end - 1);
        return i < held ? i + 1 : i - held + 1;
    }
    // Copies items [src, src + n) onto [dst, dst + n) within one block each.
    void MoveRun(int src, int dst, int n, bool forward)
    {
        T* s = Ptr(src);
        T* d = Ptr(dst);
        if (!s) {
            if (d) std::fill(d, d + n, T());
            return;
        }
        if (!d) {
            if (std::all_of(s, s + n, [](const T& v) { return v == T(); })) return;
            // growing the block may move the source when both lie in it
            At(dst + n - 1);
            s = Ptr(src);
            d = Ptr(dst);
        }
        if (forward) std::move(s, s + n, d);
        else std::move_backward(s, s + n, d + n);
    }
    // Moves rows [src, src + len) to [dst, dst + len); the ranges may overlap.  The rows
    // left behind keep whatever the move leaves there: the caller resets them.
    void ShiftRows(int src, int dst, int len)
    {
        if (len <= 0 || src == dst) return;
        if (dst < src) {
            for (int done = 0; done < len;) {
                const int n = std::min({len - done, RunIn(src + done), RunIn(dst + done)});
                MoveRun(src + done, dst + done, n, true);
                done += n;
            }
        } else {
            for (int left = len; left > 0;) {
                const int n = std::min({left, RunBackIn(src + left), RunBackIn(dst + left)});
                MoveRun(src + left - n, dst + left - n, n, false);
                left -= n;
            }
        }
    }
    void Reset(int from, int count)
    {
        for (int row = from; row < from + count;) {
            const int n = std::min(from + count - row, Size - (row & Mask));
            // A block emptied whole is given back rather than kept full of empty items.
            if (n == Size) FBlocks[static_cast<size_t>(row) >> Shift] = TBlock();
            else if (T* p = Ptr(row)) std::fill(p, p + std::min(n, SizeAt(row) - (row & Mask)), T());
            row += n;
        }
    }
    void TrimTail()
    {
        while (!FBlocks.empty() && !FBlocks.back().Items) FBlocks.pop_back();
    }
    std::vector<TBlock> FBlocks;
};

// Rows mapped to storage kept that every column of a grid shares: inserting, erasing and
// reordering rows moves one integer per row instead of each column's items.  A row without a
// slot holds nothing; a slot is claimed when its row is first written, and a slot freed by an
// erase is handed to the caller to empty before it is claimed again.
class TRowSlots {
public:
    static constexpr int None = -1;

    int Slot(int row) const
    {
        const int* p = FRows.Find(row);
        return p ? *p - 1 : None;
    }
    int Claim(int row)
    {
        int& s = FRows.At(row);
        if (s == 0) {
            if (FFree.empty()) {
                s = ++FMade;
            } else {
                s = FFree.back() + 1;
                FFree.pop_back();
            }
        }
        return s - 1;
    }
    // Slots in use (claimed and not freed).
    int InUse() const { return FMade - static_cast<int>(FFree.size()); }
    // Forgets every slot; only once the caller has dropped every column's items.
    void Reset() { *this = TRowSlots(); }

    void Insert(int at, int count) { FRows.InsertRange(at, count); }
    // Rows [at, at + count) leave.  clear(kept) empties the kept those rows held in every
    // column before the kept may be claimed again.
    template <typename F>
    void Erase(int at, int count, F clear)
    {
        if (count <= 0 || at < 0 || at >= FRows.Extent()) return;
        const int end = at + std::min(count, FRows.Extent() - at);
        std::vector<int> freed;
        FRows.ForEach(at, end, [&](int, int& s) { freed.push_back(s - 1); });
        FRows.EraseRange(at, count);
        if (freed.empty()) return;
        clear(freed);
        FFree.insert(FFree.end(), freed.begin(), freed.end());
    }
    void Move(int from, int to) { FRows.Move(from, to); }
    // Rows [at, at + count) leave the index but keep their kept, handed back in row order (a
    // row without one gets one, so that every detached row can be written); Attach gives such a
    // slot to a row that has none, and Release frees it once the caller has emptied it.
    std::vector<int> Detach(int at, int count)
    {
        std::vector<int> kept;
        kept.reserve(static_cast<size_t>(std::max(count, 0)));
        for (int row = at; row < at + count; ++row) kept.push_back(Claim(row));
        FRows.EraseRange(at, count);
        return kept;
    }
    void Attach(int row, int slot) { FRows.At(row) = slot + 1; }
    void Release(int slot) { FFree.push_back(slot); }
    // Rows a and b exchange their kept.
    void Swap(int a, int b)
    {
        const int* pa = FRows.Find(a);
        const int* pb = FRows.Find(b);
        const int va = pa ? *pa : 0, vb = pb ? *pb : 0;
        if (va == vb) return;
        FRows.At(a) = vb;
        FRows.At(b) = va;
    }
    // Row i takes the slot of row order[i], for every i < order.size().
    void Reorder(const std::vector<int>& order) { FRows.Reorder(order); }
    // Calls f(row, slot) for every row from `from` on that has a slot, in row order.
    template <typename F>
    void ForEach(int from, F f)
    {
        FRows.ForEach(from, [&](int row, int& s) { f(row, s - 1); });
    }

private:
    TCellBlocks<int> FRows;   // slot + 1 per row; 0 for a row without a slot
    std::vector<int> FFree;
    int FMade = 0;
};
