#include "platform/ui/cell_blocks.h"

#include <QString>
#include <functional>
#include <gtest/gtest.h>
#include <numeric>

namespace {
constexpr int B = TCellBlocks<int>::Size;

// A column and the plain vector it must match, row for row (0 = empty).
struct Column {
    TCellBlocks<int> Blocks;
    std::vector<int> Model;
    void Set(int row, int v)
    {
        Blocks.At(row) = v;
        if (int(Model.size()) <= row) Model.resize(size_t(row) + 1);
        Model[size_t(row)] = v;
    }
    int Get(int row) const
    {
        const int* p = Blocks.Find(row);
        return p ? *p : 0;
    }
    void ExpectMatches(const std::string& what, int upTo) const
    {
        for (int r = 0; r < upTo; ++r) {
            const int want = r < int(Model.size()) ? Model[size_t(r)] : 0;
            ASSERT_EQ(Get(r), want) << what << ", row " << r;
        }
    }
};

struct RowCase {
    std::string Name;
    std::vector<int> Filled;                 // rows holding a value (the value is row + 1)
    std::function<void(Column&)> Apply;      // the same change on the store and on the model
};

void Insert(Column& c, int at, int n)
{
    c.Blocks.InsertRange(at, n);
    if (at < int(c.Model.size())) c.Model.insert(c.Model.begin() + at, size_t(n), 0);
}
void Erase(Column& c, int at, int n)
{
    c.Blocks.EraseRange(at, n);
    if (at < int(c.Model.size()))
        c.Model.erase(c.Model.begin() + at, c.Model.begin() + std::min<int>(at + n, int(c.Model.size())));
}
void Reorder(Column& c, const std::vector<int>& order)
{
    c.Blocks.Reorder(order);
    std::vector<int> m = c.Model;
    m.resize(std::max(m.size(), order.size()));
    std::vector<int> out = m;
    for (size_t i = 0; i < order.size(); ++i) out[i] = m[size_t(order[i])];
    c.Model = out;
}
std::vector<int> Range(int from, int to)
{
    std::vector<int> v(size_t(to - from));
    std::iota(v.begin(), v.end(), from);
    return v;
}
}  // namespace

TEST(CellBlocks, BulkRowChangesMatchAPlainVector)
{
    const std::vector<int> dense = Range(0, 3 * B + 17);
    const std::vector<int> sparse = {0, 5, B - 1, B, 2 * B + 3};
    // a first block still smaller than a whole block
    const std::vector<int> small = Range(0, 20);
    const std::vector<RowCase> cases = {
        {"insert in the middle of one block", dense, [](Column& c) { Insert(c, 10, 3); }},
        {"insert across a block boundary", dense, [](Column& c) { Insert(c, B - 2, 5); }},
        {"insert more than a block", dense, [](Column& c) { Insert(c, 7, B + 9); }},
        {"insert at row 0 of a sparse column", sparse, [](Column& c) { Insert(c, 0, 1); }},
        {"insert past the last item", sparse, [](Column& c) { Insert(c, 3 * B, 4); }},
        {"erase inside one block", dense, [](Column& c) { Erase(c, 10, 3); }},
        {"erase across a block boundary", dense, [](Column& c) { Erase(c, B - 2, 5); }},
        {"erase whole blocks", dense, [](Column& c) { Erase(c, 1, 2 * B); }},
        {"erase to the end and beyond", dense, [](Column& c) { Erase(c, B + 4, 10 * B); }},
        {"erase in a sparse column", sparse, [](Column& c) { Erase(c, 1, B); }},
        {"move down", dense, [](Column& c) {
             c.Blocks.Move(2, B + 1);
             std::rotate(c.Model.begin() + 2, c.Model.begin() + 3, c.Model.begin() + B + 2);
         }},
        {"move up", sparse, [](Column& c) {
             c.Blocks.Move(B, 0);
             std::rotate(c.Model.begin(), c.Model.begin() + B, c.Model.begin() + B + 1);
         }},
        {"reverse the first rows", dense, [](Column& c) {
             std::vector<int> o = Range(0, B + 10);
             std::reverse(o.begin(), o.end());
             Reorder(c, o);
         }},
        {"insert into a small first block, past what it holds", small, [](Column& c) { Insert(c, 5, 30); }},
        {"erase in a small first block", small, [](Column& c) { Erase(c, 3, 4); }},
        {"move down past what a small first block holds", small, [](Column& c) {
             c.Blocks.Move(2, 50);
             c.Model.resize(51);
             std::rotate(c.Model.begin() + 2, c.Model.begin() + 3, c.Model.begin() + 51);
         }},
        {"reverse rows past a small first block", small, [](Column& c) {
             std::vector<int> o = Range(0, 100);
             std::reverse(o.begin(), o.end());
             Reorder(c, o);
         }},
        {"every second row to the front", sparse, [](Column& c) {
             std::vector<int> o;
             for (int i = 0; i < 2 * B + 4; i += 2) o.push_back(i);
             for (int i = 1; i < 2 * B + 4; i += 2) o.push_back(i);
             Reorder(c, o);
         }},
    };
    for (const RowCase& k : cases) {
        Column c;
        for (int r : k.Filled) c.Set(r, r + 1);
        k.Apply(c);
        c.ExpectMatches(k.Name, 4 * B + 40);
        if (HasFatalFailure()) return;
    }
}

TEST(CellBlocks, AFewRowsHoldAFewItems)
{
    TCellBlocks<QString> c;
    c.At(0) = QStringLiteral("header");
    EXPECT_LE(c.Held(), 16u);
    for (int r = 0; r < 100; ++r) c.At(r) = QString::number(r);
    EXPECT_LE(c.Held(), 128u);
    EXPECT_EQ(*c.Find(0), QStringLiteral("0"));
    EXPECT_EQ(*c.Find(99), QStringLiteral("99"));
    // past the first block, blocks are whole from the start
    c.At(B) = QStringLiteral("b");
    EXPECT_EQ(c.Held(), 128u + size_t(B));
}

TEST(CellBlocks, EmptyStretchesStayWithoutBlocks)
{
    TCellBlocks<QString> c;
    c.At(3) = QStringLiteral("a");
    c.InsertRange(0, 5 * B);
    EXPECT_EQ(*c.Find(5 * B + 3), QStringLiteral("a"));
    for (int b = 0; b < 5; ++b) EXPECT_EQ(c.Find(b * B), nullptr) << b;

    c.EraseRange(0, 5 * B);
    EXPECT_EQ(*c.Find(3), QStringLiteral("a"));
    EXPECT_EQ(c.Extent(), B);
}

TEST(CellBlocks, ErasedAndReorderedPointersLeaveNoCopyBehind)
{
    int a = 0, b = 0;
    TCellBlocks<int*> c;
    c.At(1) = &a;
    c.At(2) = &b;
    c.EraseRange(1, 1);
    EXPECT_EQ(*c.Find(1), &b);
    EXPECT_EQ(*c.Find(2), nullptr);   // not a second pointer to b

    c.Reorder({1, 0});
    EXPECT_EQ(*c.Find(0), &b);
    EXPECT_EQ(*c.Find(1), nullptr);

    int visited = 0;
    c.ForEach(0, [&](int row, int*& p) {
        EXPECT_EQ(row, 0);
        EXPECT_EQ(p, &b);
        ++visited;
    });
    EXPECT_EQ(visited, 1);
}
