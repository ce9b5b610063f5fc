// The selection object alone: its stores follow row and column inserts, removals of a set,
// moves, swaps and permutations; a shift touches only the stores it names.
#include "grid/control/grid_selection.h"

#include <gtest/gtest.h>

#include <functional>
#include <numeric>

namespace {

using Cell = std::pair<int, int>;  // column, row

// Everything the object holds, in a comparable form.
struct Stores {
    std::vector<int> rowFlags, selectedRows, colFlags, modified, disabled;
    std::vector<Cell> cells;
    bool operator==(const Stores&) const = default;
};

std::vector<int> Flagged(int Limit, const std::function<bool(int)>& Has)
{
    std::vector<int> out;
    for (int i = 0; i < Limit; ++i)
        if (Has(i)) out.push_back(i);
    return out;
}

Stores Read(const TGridSelection& s)
{
    Stores r;
    r.rowFlags = Flagged(20, [&](int i) { return s.RowSelected(i); });
    r.selectedRows = s.SelectedRowList();
    r.colFlags = Flagged(20, [&](int i) { return s.ColSelected(i); });
    r.modified = Flagged(20, [&](int i) { return s.RowModified(i); });
    r.disabled = Flagged(20, [&](int i) { return s.RowDisabled(i); });
    for (int k : s.CellKeys()) r.cells.push_back({TGridSelection::KeyCol(k), TGridSelection::KeyRow(k)});
    return r;
}

// Rows 1, 3, 4 flagged (listed as 4, 1, 3), columns 1 and 3 flagged, cells (2,1) (0,3) (3,4),
// rows 1 and 4 modified, row 3 disabled.
TGridSelection Sample()
{
    TGridSelection s;
    for (int r : {4, 1, 3}) {
        s.SetRowSelected(r, true);
        s.AddSelectedRow(r);
    }
    s.SetColSelected(1, true);
    s.SetColSelected(3, true);
    for (Cell c : {Cell{2, 1}, Cell{0, 3}, Cell{3, 4}}) s.SetCellSelected(c.first, c.second, true);
    s.SetRowModified(1, true);
    s.SetRowModified(4, true);
    s.SetRowDisabled(3, true);
    return s;
}

struct ShiftCase {
    const char* name;
    std::function<void(TGridSelection&)> apply;
    Stores expected;
};

// Each case starts from the sample.
void ExpectCases(const std::vector<ShiftCase>& Cases)
{
    for (const ShiftCase& c : Cases) {
        SCOPED_TRACE(c.name);
        TGridSelection s = Sample();
        c.apply(s);
        EXPECT_EQ(Read(s), c.expected);
    }
}

TEST(GridSelection, EveryStoreFollowsRowChanges)
{
    const auto all = TGridSelection::AllStores;
    const std::vector<int> cols{1, 3};
    const std::vector<ShiftCase> cases{
        {"insert 2 before row 2", [&](auto& s) { s.InsertRows(2, 2, all); },
         {{1, 5, 6}, {6, 1, 5}, cols, {1, 6}, {5}, {{2, 1}, {0, 5}, {3, 6}}}},
        {"erase rows 1 and 4", [&](auto& s) { s.EraseRows({1, 4}, all); },
         {{2}, {2}, cols, {}, {2}, {{0, 2}}}},
        {"erase rows 0, 2 and 5", [&](auto& s) { s.EraseRows({0, 2, 5}, all); },
         {{0, 1, 2}, {2, 0, 1}, cols, {0, 2}, {1}, {{2, 0}, {0, 1}, {3, 2}}}},
        {"move row 4 to 0", [&](auto& s) { s.MoveRow(4, 0, all); },
         {{0, 2, 4}, {0, 2, 4}, cols, {0, 2}, {4}, {{2, 2}, {0, 4}, {3, 0}}}},
        {"move row 1 to 3", [&](auto& s) { s.MoveRow(1, 3, all); },
         {{2, 3, 4}, {4, 3, 2}, cols, {3, 4}, {2}, {{2, 3}, {0, 2}, {3, 4}}}},
        {"swap rows 1 and 5", [&](auto& s) { s.SwapRows(1, 5, all); },
         {{3, 4, 5}, {4, 5, 3}, cols, {4, 5}, {3}, {{2, 5}, {0, 3}, {3, 4}}}},
        {"reverse rows 0..5", [&](auto& s) { s.PermuteRows({5, 4, 3, 2, 1, 0}, all); },
         {{1, 2, 4}, {1, 4, 2}, cols, {1, 4}, {2}, {{2, 4}, {0, 2}, {3, 1}}}},
        {"rotate rows 0..2, rows past the order stay", [&](auto& s) { s.PermuteRows({1, 2, 0}, all); },
         {{0, 3, 4}, {4, 0, 3}, cols, {0, 4}, {3}, {{2, 0}, {0, 3}, {3, 4}}}},
    };
    ExpectCases(cases);
}

TEST(GridSelection, ColumnFlagsAndCellsFollowColumnChanges)
{
    const auto all = TGridSelection::AllStores;
    const Stores before = Read(Sample());
    const auto rowsKept = [&](std::vector<int> colFlags, std::vector<Cell> cells) {
        Stores r = before;
        r.colFlags = std::move(colFlags);
        r.cells = std::move(cells);
        return r;
    };
    const std::vector<ShiftCase> cases{
        {"insert 1 before column 2", [&](auto& s) { s.InsertCols(2, 1, all); },
         rowsKept({1, 4}, {{3, 1}, {0, 3}, {4, 4}})},
        {"erase columns 0 and 3", [&](auto& s) { s.EraseCols({0, 3}, all); }, rowsKept({0}, {{1, 1}})},
        {"move column 3 to 0", [&](auto& s) { s.MoveCol(3, 0, all); }, rowsKept({0, 2}, {{3, 1}, {1, 3}, {0, 4}})},
        {"swap columns 1 and 2", [&](auto& s) { s.SwapCols(1, 2, all); }, rowsKept({2, 3}, {{1, 1}, {0, 3}, {3, 4}})},
        {"reverse columns 0..3", [&](auto& s) { s.PermuteCols({3, 2, 1, 0}, all); },
         rowsKept({0, 2}, {{1, 1}, {3, 3}, {0, 4}})},
    };
    ExpectCases(cases);
}

TEST(GridSelection, AShiftLeavesTheStoresItDoesNotName)
{
    TGridSelection s = Sample();
    s.EraseRows({0, 1}, TGridSelection::ModifiedRows);
    Stores expected = Read(Sample());
    expected.modified = {2};
    EXPECT_EQ(Read(s), expected);

    s = Sample();
    s.InsertRows(0, 1, TGridSelection::RowFlags | TGridSelection::Cells);
    expected = Read(Sample());
    expected.rowFlags = {2, 4, 5};
    expected.cells = {{2, 2}, {0, 4}, {3, 5}};
    EXPECT_EQ(Read(s), expected);
}

// Flags are kept only as far as some flag was written; whether a row's flag is known decides
// the grid's select event, so the shifts keep that extent exactly.
TEST(GridSelection, FlagsAreKeptOnlyAsFarAsWritten)
{
    TGridSelection s;
    s.SetRowSelected(2, true);  // rows 0..2 known
    s.InsertRows(5, 3, TGridSelection::RowFlags);
    EXPECT_EQ(s.RowFlagCount(), 3);
    s.InsertRows(3, 2, TGridSelection::RowFlags);
    EXPECT_EQ(s.RowFlagCount(), 5);
    s.EraseRows({7, 9}, TGridSelection::RowFlags);
    EXPECT_EQ(s.RowFlagCount(), 5);
    s.EraseRows({0, 4}, TGridSelection::RowFlags);
    EXPECT_EQ(s.RowFlagCount(), 3);
    EXPECT_TRUE(s.RowSelected(1));
    s.SwapRows(1, 6, TGridSelection::RowFlags);
    EXPECT_EQ(s.RowFlagCount(), 7);
    EXPECT_TRUE(s.RowSelected(6));
    EXPECT_FALSE(s.RowFlagKnown(7));
}

TEST(GridSelection, ClearingReportsWhatWasSetAndTruncatingForgets)
{
    TGridSelection s = Sample();
    EXPECT_EQ(s.ClearRowSelect(), (std::vector<int>{1, 3, 4}));
    EXPECT_TRUE(s.SelectedRowList().empty());
    EXPECT_EQ(s.RowFlagCount(), 5);  // the rows stay known, unflagged
    EXPECT_EQ(s.ClearColSelect(), (std::vector<int>{1, 3}));

    s = Sample();
    s.TruncateRowFlags(4);
    s.DropSelectedRowsFrom(s.RowFlagCount());
    s.DropCellsOutside(3, 4);
    EXPECT_EQ(Read(s).rowFlags, (std::vector<int>{1, 3}));
    EXPECT_EQ(s.SelectedRowList(), (std::vector<int>{1, 3}));
    EXPECT_EQ(Read(s).cells, (std::vector<Cell>{{2, 1}, {0, 3}}));
}

// A sort of 100k rows moves every mark with one permutation over each store.
TEST(GridSelection, PermutationOfAHundredThousandRowsIsOnePass)
{
    const int n = 100000;
    TGridSelection s;
    for (int r = 0; r < n; r += 3) {
        s.SetRowSelected(r, true);
        s.SetRowModified(r, true);
    }
    for (int r = 0; r < n; r += 1000) s.AddSelectedRow(r);
    std::vector<int> order(n);
    std::iota(order.rbegin(), order.rend(), 0);  // reversed
    s.PermuteRows(order, TGridSelection::AllStores);
    for (int r = 0; r < n; ++r) {
        const bool was = (n - 1 - r) % 3 == 0;
        ASSERT_EQ(s.RowSelected(r), was) << r;
        ASSERT_EQ(s.RowModified(r), was) << r;
    }
    ASSERT_EQ(s.SelectedRowList().size(), size_t(n / 1000));
    EXPECT_EQ(s.SelectedRowList()[1], n - 1 - 1000);
}

}  // namespace
