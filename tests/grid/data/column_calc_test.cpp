// Column and row calculations: which rows count, how non-numbers and group rows are treated.
#include "grid/base/grid_error.h"
#include "grid/control/pro_string_grid.h"
#include "support/made_grid.h"

#include <gtest/gtest.h>

namespace {
struct CalcFixture : MadeGridFixture<TProStringGrid> {
    CalcFixture() : MadeGridFixture(3, 2) {}
    // Column 1 from row 1 on holds the values; returns the last row.
    int Column(const QStringList& Values)
    {
        grid->SetRowCount(1 + int(Values.size()));
        for (int i = 0; i < int(Values.size()); ++i) grid->SetCells(1, 1 + i, Values[i]);
        return int(Values.size());
    }
};
}  // namespace

TEST_F(CalcFixture, ColumnAggregatesOverPlainRows)
{
    struct Case {
        const char* Name;
        QStringList Values;
        double Sum, Avg, Min, Max, Distinct;
    };
    const Case cases[] = {
        {"empty counts 0, a word is skipped but divides", {"10", "", "abc"}, 10, 10.0 / 3, 0, 10, 3},
        {"negatives and parentheses", {"-4", "(2)", "3"}, -3, -1, -4, 3, 3},
        {"distinct ignores case", {"1", "1", "2"}, 4, 4.0 / 3, 1, 2, 2},
    };
    for (const Case& c : cases) {
        const int last = Column(c.Values);
        EXPECT_DOUBLE_EQ(grid->ColumnSum(1, 1, last), c.Sum) << c.Name;
        EXPECT_DOUBLE_EQ(grid->ColumnAvg(1, 1, last), c.Avg) << c.Name;
        EXPECT_DOUBLE_EQ(grid->ColumnMax(1, 1, last), c.Max) << c.Name;
        EXPECT_DOUBLE_EQ(grid->ColumnDistinct(1, 1, last), c.Distinct) << c.Name;
        EXPECT_DOUBLE_EQ(grid->ColumnMin(1, 1, last), c.Min) << c.Name;
    }
    Column({"a", "A", "b", ""});
    EXPECT_DOUBLE_EQ(grid->ColumnDistinct(1, 1, 4), 3);
    Column({"2", "4", "4", "4", "5", "5", "7", "9"});
    EXPECT_DOUBLE_EQ(grid->ColumnStdDev(1, 1, 8), 2);
    Column({"x", "1"});
    EXPECT_THROW(grid->ColumnMin(1, 1, 2), EProGridError);
    EXPECT_THROW(grid->ColumnStdDev(1, 1, 2), EProGridError);
}

TEST_F(CalcFixture, DefaultRangeLeavesOutFixedAndFooterRows)
{
    Column({"1", "2", "4", "100"});
    grid->SetCells(1, 0, "1000");
    grid->SetFixedFooters(1);
    EXPECT_DOUBLE_EQ(grid->ColumnSum(1, -1, -1), 7);
    EXPECT_DOUBLE_EQ(grid->ColumnSum(1, 1, 4), 107);
}

TEST_F(CalcFixture, GroupRowsAreNotCountedAndMinMaxStartFromACountedValue)
{
    // Ungrouped, node rows count like any row: an empty (zero) cell before positive values.
    Column({"", "5", "7"});
    grid->AddNode(1, 3);
    EXPECT_DOUBLE_EQ(grid->ColumnMin(1, 1, 3), 0);
    grid->RemoveAllNodes();
    // Grouped by column 2: header rows with empty (zero) cells before values that are all
    // above or below zero.
    Column({"5", "7", "-3", "-5"});
    for (int r = 1; r <= 4; ++r) grid->SetCells(2, r, r <= 2 ? "a" : "b");
    grid->Group(2);
    ASSERT_TRUE(grid->IsNode(1) && grid->IsNode(4));
    grid->SetCells(1, 1, "");
    grid->SetCells(1, 4, "");
    EXPECT_DOUBLE_EQ(grid->ColumnMin(1, 1, 6), -5);
    EXPECT_DOUBLE_EQ(grid->ColumnMax(1, 1, 6), 7);
    EXPECT_DOUBLE_EQ(grid->ColumnMin(1, 1, 3), 5);
    EXPECT_DOUBLE_EQ(grid->ColumnMax(1, 4, 6), -3);
    EXPECT_DOUBLE_EQ(grid->ColumnSum(1, 1, 6), 4);
}

TEST_F(CalcFixture, RowAggregates)
{
    grid->SetColCount(6);
    const QStringList row = {"", "3", "x", "-2", "8"};
    for (int c = 1; c < 6; ++c) grid->SetCells(c, 1, row[c - 1]);
    EXPECT_DOUBLE_EQ(grid->RowSum(1, 1, 5), 9);
    EXPECT_DOUBLE_EQ(grid->RowAvg(1, 1, 5), 9.0 / 5);
    EXPECT_DOUBLE_EQ(grid->RowMin(1, 2, 5), -2);
    EXPECT_DOUBLE_EQ(grid->RowMax(1, 1, 5), 8);
    EXPECT_DOUBLE_EQ(grid->RowSum(1, 3, 2), 0);
    EXPECT_DOUBLE_EQ(grid->RowAvg(1, 3, 2), 0);
    EXPECT_DOUBLE_EQ(grid->RowMin(1, 4, 3), -2);
    EXPECT_THROW(grid->RowMax(1, 3, 5), EProGridError);
}
