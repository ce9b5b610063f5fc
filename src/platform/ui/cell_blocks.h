#pragma once
// The per-column cell store of the string grid, in plain C++ (no window needed to test it).
#include <algorithm>
#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

// Cells of one column in blocks of rows, made when a row in the block is first written:
// a sparse grid stays small, and a full one grows without moving its texts.  Row structure
// changes (insert, erase, reorder) are bulk operations that move each item once, block by
// block, and never make a block for a stretch of empty rows.
template <typename T>
class TCellBlocks {
public:
    static constexpr int Shift = 12;
    static constexpr int Size = 1 << Shift;
    static constexpr int Mask = Size - 1;

    const T* Find(int row) const
    {
        const size_t b = static_cast<size_t>(row) >> Shift;
        return b < FBlocks.size() && FBlocks[b] ? &FBlocks[b][row & Mask] : nullptr;
    }
    T& At(int row)
    {
        const size_t b = static_cast<size_t>(row) >> Shift;
        if (b >= FBlocks.size()) FBlocks.resize(b + 1);
        if (!FBlocks[b]) FBlocks[b] = std::make_unique<T[]>(Size);
        return FBlocks[b][row & Mask];
    }
    bool Empty() const { return FBlocks.empty(); }
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
    // Calls f(row, item) for every item from `from` on that is not empty.
    template <typename F>
    void ForEach(int from, F f)
    {
        for (int row = std::max(from, 0); row < Extent();) {
            T* block = FBlocks[static_cast<size_t>(row) >> Shift].get();
            if (!block) {
                row = (row | Mask) + 1;
                continue;
            }
            if (!(block[row & Mask] == T())) f(row, block[row & Mask]);
            ++row;
        }
    }

private:
    T* Ptr(int row)
    {
        const size_t b = static_cast<size_t>(row) >> Shift;
        return row >= 0 && b < FBlocks.size() && FBlocks[b] ? &FBlocks[b][row & Mask] : nullptr;
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
    // Longest run from `row` on that stays inside one block.
    static int RunIn(int row) { return Size - (row & Mask); }
    static int RunBackIn(int end) { return ((end - 1) & Mask) + 1; }
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
            d = &At(dst);
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
            const int n = std::min(from + count - row, RunIn(row));
            // A block emptied whole is given back rather than kept full of empty items.
            if (n == Size) FBlocks[static_cast<size_t>(row) >> Shift].reset();
            else if (T* p = Ptr(row)) std::fill(p, p + n, T());
            row += n;
        }
    }
    void TrimTail()
    {
        while (!FBlocks.empty() && !FBlocks.back()) FBlocks.pop_back();
    }
    std::vector<std::unique_ptr<T[]>> FBlocks;
};
