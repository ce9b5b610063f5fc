#include "grid/control/pro_string_grid.h"

#include <gtest/gtest.h>

namespace {
struct OrderFixture : ::testing::Test {
    void SetUp() override
    {
        grid = CreateGrid<TProStringGrid>();
        grid->SetColCount(6);
        for (int c = 0; c < 6; ++c) grid->SetCells(c, 0, QStringLiteral("h%1").arg(c));
    }
    void TearDown() override { grid->Free(); }
    TProStringGrid* grid = nullptr;
};
}

TEST_F(OrderFixture, PositionsFollowMovesAndResetPutsColumnsBack)
{
    EXPECT_EQ(grid->ColumnPosition(3), 3);
    EXPECT_EQ(grid->ColumnAtPosition(3), 3);  // records the order
    grid->MoveColumn(1, 3);
    EXPECT_EQ(grid->ColumnAtPosition(3), 1);
    EXPECT_EQ(grid->ColumnPosition(1), 3);
    EXPECT_EQ(grid->ColumnPosition(2), 1);
    EXPECT_EQ(grid->GetOriginalCells(1, 0), QStringLiteral("h1"));

    grid->HideColumn(4);
    grid->ResetColumnOrder();
    EXPECT_EQ(grid->NumHiddenColumns(), 0);  // hidden columns are shown first
    for (int c = 0; c < 6; ++c) {
        EXPECT_EQ(grid->ColumnPosition(c), c);
        EXPECT_EQ(grid->Cells(c, 0), QStringLiteral("h%1").arg(c));
    }
}

TEST_F(OrderFixture, GroupedColumnIsOutOfViewAndHeadersAreFound)
{
    grid->SetColumnOrder();
    grid->SetGroupColumn(2);
    EXPECT_EQ(grid->ColumnPosition(5), 4);
    EXPECT_EQ(grid->ColumnPosition(1), 1);
    EXPECT_EQ(grid->ColumnAtPosition(2), 3);
    grid->SetGroupColumn(-1);

    EXPECT_EQ(grid->ColumnByHeader(QStringLiteral("h4")), 4);
    EXPECT_EQ(grid->ColumnByHeader(QStringLiteral("nobody")), -1);
    grid->HideColumn(4);
    EXPECT_EQ(grid->ColumnByHeader(QStringLiteral("h4")), 4);
}
