#include "platform/ui/grid_axis.h"

#include <gtest/gtest.h>
#include <numeric>

namespace {

std::vector<int> Sizes(const TGridAxis& a)
{
    std::vector<int> out;
    for (int i = 0; i < a.Count(); ++i) out.push_back(a.Size(i));
    return out;
}

// The running sums must agree with a plain sum after any change.
void ExpectSumsMatch(const TGridAxis& a)
{
    const std::vector<int> s = Sizes(a);
    for (int i = 0; i <= a.Count(); ++i)
        EXPECT_EQ(a.Offset(i), std::accumulate(s.begin(), s.begin() + i, 0)) << "offset " << i;
}

// An axis of five cells of 10 with cells 1 and 3 sized 20 and 40: 10 20 10 40 10.
TGridAxis Sized()
{
    TGridAxis a(5, 1, 10);
    a.SetSize(1, 20);
    a.SetSize(3, 40);
    return a;
}

struct AxisCase {
    const char* name;
    void (*op)(TGridAxis&);
    std::vector<int> sizes;
};

TEST(GridAxis, StructuralChangesKeepSizesAndRunningSums)
{
    const AxisCase cases[] = {
        {"insert in the middle", [](TGridAxis& a) { a.Insert(2, 2); }, {10, 20, 10, 10, 10, 40, 10}},
        {"insert at the end", [](TGridAxis& a) { a.Insert(5, 1); }, {10, 20, 10, 40, 10, 10}},
        {"insert at the start", [](TGridAxis& a) { a.Insert(0, 1); }, {10, 10, 20, 10, 40, 10}},
        {"erase a range", [](TGridAxis& a) { a.Erase(1, 2); }, {10, 40, 10}},
        {"erase past the end is clamped", [](TGridAxis& a) { a.Erase(3, 10); }, {10, 20, 10}},
        {"move forward", [](TGridAxis& a) { a.Move(1, 3); }, {10, 10, 40, 20, 10}},
        {"move back", [](TGridAxis& a) { a.Move(3, 0); }, {40, 10, 20, 10, 10}},
        {"reorder", [](TGridAxis& a) { a.Reorder({4, 3, 2, 1, 0}); }, {10, 40, 10, 20, 10}},
        {"count lowered and raised", [](TGridAxis& a) { a.SetCount(2); a.SetCount(4); }, {10, 20, 10, 10}},
        {"default size resets all", [](TGridAxis& a) { a.SetDefaultSize(7); }, {7, 7, 7, 7, 7}},
        {"resize after a query", [](TGridAxis& a) { (void)a.Offset(5); a.SetSize(0, 5); }, {5, 20, 10, 40, 10}},
    };
    for (const AxisCase& c : cases) {
        SCOPED_TRACE(c.name);
        TGridAxis a = Sized();
        ExpectSumsMatch(a);   // fills the running sums before the change
        c.op(a);
        EXPECT_EQ(Sizes(a), c.sizes);
        ExpectSumsMatch(a);
    }
}

TEST(GridAxis, DefaultSizedAxisKeepsNoSizesThroughBulkChanges)
{
    TGridAxis a(100000, 1, 24);
    a.Insert(10, 500);
    a.Erase(0, 1000);
    a.Move(5, 50);
    EXPECT_FALSE(a.HasSizes());
    EXPECT_EQ(a.Count(), 99500);
    EXPECT_EQ(a.Offset(a.Count()), 99500 * 24);
    EXPECT_FALSE(a.SetSize(3, 24)) << "setting the default size is no change";
    EXPECT_FALSE(a.HasSizes());
}

TEST(GridAxis, CellAtFindsTheCellUnderAPosition)
{
    // 10 20 10 40 10 with one-pixel lines: cells start at 0 11 32 43 84, end at 95.
    const TGridAxis a = Sized();
    const struct {
        int first, pos, cell;
    } cases[] = {
        {0, 0, 0}, {0, 10, 0}, {0, 11, 1}, {0, 31, 1}, {0, 32, 2}, {0, 83, 3}, {0, 94, 4}, {0, 95, -1},
        {0, -1, -1}, {2, 0, 2}, {2, 11, 3}, {2, 52, 4}, {2, 63, -1}, {5, 0, -1},
    };
    for (const auto& c : cases) EXPECT_EQ(a.CellAt(c.first, c.pos, 1), c.cell) << c.first << " @ " << c.pos;

    TGridAxis plain(4, 0, 10);
    EXPECT_EQ(plain.CellAt(1, 25, 2), 3);
    EXPECT_EQ(plain.CellAt(1, 36, 2), -1);

    // a cell of size 0 is never hit: the position belongs to the next one
    TGridAxis hidden(3, 0, 10);
    hidden.SetSize(1, 0);
    EXPECT_EQ(hidden.CellAt(0, 10, 0), 2);
}

TEST(GridAxis, IndexesFollowTheOperation)
{
    EXPECT_EQ(TGridAxis::ShiftForInsert(4, 4, 3), 7);
    EXPECT_EQ(TGridAxis::ShiftForInsert(3, 4, 3), 3);
    EXPECT_EQ(TGridAxis::ShiftForErase(9, 4, 3, 7), 6);
    EXPECT_EQ(TGridAxis::ShiftForErase(5, 4, 3, 7), 4);
    EXPECT_EQ(TGridAxis::ShiftForErase(5, 4, 3, 4), 3) << "erasing the tail leaves the last cell";
    EXPECT_EQ(TGridAxis::ShiftForErase(2, 4, 3, 7), 2);
    EXPECT_EQ(TGridAxis::ShiftForMove(1, 1, 3), 3);
    EXPECT_EQ(TGridAxis::ShiftForMove(2, 1, 3), 1);
    EXPECT_EQ(TGridAxis::ShiftForMove(1, 3, 1), 2);
    EXPECT_EQ(TGridAxis::ShiftForMove(0, 3, 1), 0);
}

}  // namespace
