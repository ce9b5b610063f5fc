#include "platform/ui/grid_axis.h"

#include <algorithm>

TGridAxis::TGridAxis(int count, int fixedCount, int defaultSize)
    : FCount(count), FFixedCount(fixedCount), FDefaultSize(defaultSize)
{
}

void TGridAxis::Touch(int from) const
{
    FSumsValid = std::min(FSumsValid, std::max(0, from));
}

void TGridAxis::SetCount(int count)
{
    if (count == FCount) return;
    if (!FSizes.empty()) FSizes.resize(count, FDefaultSize);
    Touch(std::min(count, FCount));
    FCount = count;
}

void TGridAxis::SetDefaultSize(int size)
{
    FDefaultSize = size;
    FSizes.clear();
    FSums.clear();
    FSumsValid = 0;
}

int TGridAxis::Size(int index) const
{
    if (index < 0 || index >= FCount || FSizes.empty()) return FDefaultSize;
    return FSizes[index];
}

bool TGridAxis::SetSize(int index, int size)
{
    if (FSizes.empty()) {
        if (size == FDefaultSize) return false;
        FSizes.assign(FCount, FDefaultSize);
    }
    if (FSizes[index] == size) return false;
    FSizes[index] = size;
    Touch(index);
    return true;
}

void TGridAxis::EnsureSums(int upTo) const
{
    if (FSums.size() != FSizes.size() + 1) FSums.resize(FSizes.size() + 1);
    FSums[0] = 0;
    if (upTo <= FSumsValid) return;
    for (int i = FSumsValid; i < upTo; ++i) FSums[i + 1] = FSums[i] + FSizes[i];
    FSumsValid = upTo;
}

int TGridAxis::Offset(int index) const
{
    index = std::clamp(index, 0, FCount);
    if (FSizes.empty()) return index * FDefaultSize;
    EnsureSums(index);
    return FSums[index];
}

int TGridAxis::CellAt(int first, int pos, int lineWidth) const
{
    if (pos < 0 || first < 0 || first >= FCount) return -1;
    // Start of cell i, measured from the start of `first`; it grows with i as long as no
    // cell takes less than nothing.
    const int base = Offset(first) + first * lineWidth;
    auto start = [&](int i) { return Offset(i) + i * lineWidth - base; };
    if (FSizes.empty()) {
        const int step = FDefaultSize + lineWidth;
        if (step <= 0) return first;
        const int i = first + pos / step;
        return i < FCount ? i : -1;
    }
    // The last cell that starts at or before pos.
    int lo = first, hi = FCount;   // start(lo) <= pos; answer in [lo, hi)
    while (hi - lo > 1) {
        const int mid = lo + (hi - lo) / 2;
        if (start(mid) <= pos) lo = mid;
        else hi = mid;
    }
    // A cell of size 0 shares its start with the next one: the hit is the visible one.
    return pos < start(lo + 1) ? lo : -1;
}

void TGridAxis::Insert(int at, int k)
{
    if (k <= 0) return;
    at = std::clamp(at, 0, FCount);
    if (!FSizes.empty()) FSizes.insert(FSizes.begin() + at, k, FDefaultSize);
    FCount += k;
    Touch(at);
}

void TGridAxis::Erase(int at, int k)
{
    at = std::max(0, at);
    k = std::min(k, FCount - at);
    if (k <= 0) return;
    if (!FSizes.empty()) FSizes.erase(FSizes.begin() + at, FSizes.begin() + at + k);
    FCount -= k;
    Touch(at);
}

void TGridAxis::Move(int from, int to)
{
    if (from == to) return;
    if (!FSizes.empty()) MoveItem(FSizes, from, to);
    Touch(std::min(from, to));
}

void TGridAxis::Reorder(const std::vector<int>& order)
{
    if (FSizes.empty()) return;
    std::vector<int> sizes(FSizes.size());
    int first = FCount;
    for (size_t i = 0; i < order.size() && i < sizes.size(); ++i) {
        sizes[i] = FSizes[order[i]];
        if (order[i] != int(i)) first = std::min(first, int(i));
    }
    FSizes.swap(sizes);
    Touch(first);
}

int TGridAxis::ShiftForInsert(int index, int at, int k)
{
    return index >= at ? index + k : index;
}

int TGridAxis::ShiftForErase(int index, int at, int k, int newCount)
{
    if (index >= at + k) return index - k;
    if (index >= at) return std::min(at, newCount - 1);
    return index;
}

int TGridAxis::ShiftForMove(int index, int from, int to)
{
    if (index == from) return to;
    if (from < to && index > from && index <= to) return index - 1;
    if (from > to && index >= to && index < from) return index + 1;
    return index;
}
