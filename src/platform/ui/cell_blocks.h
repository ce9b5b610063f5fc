#pragma once
// The per-column cell store of the string grid, in plain C++ (no window needed to test it).
#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

// Cells of one column in blocks of rows, made when a row in the block is first written:
// a sparse grid stays small, and a full one grows without moving its texts.
template <typename T>
class TCellBlocks {
public:
    static constexpr int Shift = 12;
    static constexpr int Size = 1 << Shift;
    const T* Find(int row) const
    {
        const size_t b = static_cast<size_t>(row) >> Shift;
        return b < FBlocks.size() && FBlocks[b] ? &FBlocks[b][row & (Size - 1)] : nullptr;
    }
    T& At(int row)
    {
        const size_t b = static_cast<size_t>(row) >> Shift;
        if (b >= FBlocks.size()) FBlocks.resize(b + 1);
        if (!FBlocks[b]) FBlocks[b] = std::make_unique<T[]>(Size);
        return FBlocks[b][row & (Size - 1)];
    }
    bool Empty() const { return FBlocks.empty(); }
    // Moves the item at `from` to `to`, shifting those between; empty stretches of rows
    // stay without blocks.
    void Move(int from, int to)
    {
        T keep = Take(from);
        if (from < to)
            for (int i = from; i < to; ++i) Put(i, Take(i + 1));
        else
            for (int i = from; i > to; --i) Put(i, Take(i - 1));
        Put(to, std::move(keep));
    }

private:
    T Take(int row)
    {
        const T* p = Find(row);
        return p ? std::exchange(const_cast<T&>(*p), T()) : T();
    }
    void Put(int row, T&& v)
    {
        if (v == T() && !Find(row)) return;
        At(row) = std::move(v);
    }
    std::vector<std::unique_ptr<T[]>> FBlocks;
};
