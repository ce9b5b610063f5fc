#include "grid/control/pro_string_grid.h"

#include <gtest/gtest.h>

namespace {
struct DimFixture : ::testing::Test {
    void SetUp() override { grid = CreateGrid<TProStringGrid>(); }
    void TearDown() override { grid->Free(); }
    TProStringGrid* grid = nullptr;
};
}

TEST_F(DimFixture, FixedRowAlwaysKeepsTheHeaderThroughASingleRow)
{
    grid->SetFixedRowAlways(true);
    grid->SetFixedRows(2);
    grid->SetRowCount(1);
    EXPECT_EQ(grid->RowCount(), 1);
    EXPECT_EQ(grid->FixedRows(), 1);  // the platform dropped it; the grid still reports one
    grid->SetRowCount(5);
    EXPECT_EQ(grid->FixedRows(), 2);  // the count last asked for comes back

    // Asking for as many fixed rows as rows leaves one normal row.
    grid->SetFixedRows(5);
    EXPECT_EQ(grid->FixedRows(), 4);
    EXPECT_EQ(grid->FixedRowsMin(), 5);
}

TEST_F(DimFixture, ZeroRowsLeaveOneNormalRowWithoutFixedRowAlways)
{
    grid->SetRowCount(0);
    EXPECT_EQ(grid->RowCount(), 1);
    EXPECT_EQ(grid->FixedRows(), 0);
    EXPECT_EQ(grid->NormalRowCount(), 0);
}

TEST_F(DimFixture, LoweringCountsKeepsTheStoredCells)
{
    for (int r = 5; r < 10; ++r) grid->SetCells(2, r, QStringLiteral("row %1").arg(r));
    grid->GetCellProperties(4, 9)->SetBrushColor(clRed);
    grid->SetRowCount(5);
    grid->SetColCount(3);
    EXPECT_EQ(grid->MaxRowCount(), 10);
    EXPECT_EQ(grid->MaxColCount(), 3);  // only counts that were set
    grid->SetRowCount(10);
    grid->SetColCount(5);
    for (int r = 5; r < 10; ++r) EXPECT_EQ(grid->Cells(2, r), QStringLiteral("row %1").arg(r));
    ASSERT_TRUE(grid->HasCellProperties(4, 9));
    EXPECT_EQ(grid->GetCellProperties(4, 9)->BrushColor(), clRed);
    EXPECT_EQ(grid->NormalRowCount(), 10);
}

TEST_F(DimFixture, RowHeightAndColumnWidthSetters)
{
    grid->SetRowHeights(3, 40);
    grid->SetFixedRowHeight(30);
    EXPECT_EQ(grid->RowHeights(0), 30);
    EXPECT_EQ(grid->RowHeights(3), 40);
    grid->SetFixedRowHeight(grid->DefaultRowHeight());  // back to the default: every row resets
    EXPECT_EQ(grid->RowHeights(0), 22);
    EXPECT_EQ(grid->RowHeights(3), 22);

    grid->SetColWidths(0, 70);
    grid->SetFixedColWidth(grid->DefaultColWidth());  // equal to the default: nothing changes
    EXPECT_EQ(grid->ColWidths(0), 70);
    grid->SetFixedColWidth(30);
    EXPECT_EQ(grid->FixedColWidth(), 30);

    grid->SetDefaultRowHeight(25);
    EXPECT_EQ(grid->FloatingFooter()->Height(), 25);
    EXPECT_EQ(grid->FixedRowHeight(), 22);  // only a designer follows the default
}

TEST_F(DimFixture, RowChangedFiresOnRealChangesOnly)
{
    std::vector<std::pair<int, int>> calls;
    grid->OnRowChanged = [&](TObject*, int oldRow, int newRow) { calls.emplace_back(oldRow, newRow); };
    grid->SetRow(grid->Row());  // first assignment: from -1
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0], std::make_pair(-1, 1));
    grid->SetRow(grid->Row());
    EXPECT_EQ(calls.size(), 1u);
    grid->SetRow(4);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1], std::make_pair(1, 4));
}

TEST_F(DimFixture, TopRowOutsideTheScrollableRowsIsIgnored)
{
    grid->resize(200, 80);
    grid->SetRowCount(30);
    grid->SetTopRow(5);
    EXPECT_EQ(grid->TopRow(), 5);
    grid->SetTopRow(0);  // FixedRows - 1
    grid->SetTopRow(30);  // RowCount
    EXPECT_EQ(grid->TopRow(), 5);
}

TEST_F(DimFixture, SaveRangeLeavesOutFixedCellsAndFooters)
{
    grid->SetFixedFooters(1);
    grid->SetFixedRightCols(1);
    grid->SetSaveFixedCells(false);
    struct Case { const char* name; int actual, expected; } cases[] = {
        {"SaveStartCol", grid->SaveStartCol(), 1}, {"SaveStartRow", grid->SaveStartRow(), 1},
        {"SaveEndCol", grid->SaveEndCol(), 3},     {"SaveEndRow", grid->SaveEndRow(), 8},
        {"SaveColCount", grid->SaveColCount(), 3}, {"SaveRowCount", grid->SaveRowCount(), 8},
    };
    for (const Case& c : cases) EXPECT_EQ(c.actual, c.expected) << c.name;
    grid->SetSaveFixedCells(true);
    EXPECT_EQ(grid->SaveEndRow(), 9);
    EXPECT_EQ(grid->SaveRowCount(), 10);
    EXPECT_TRUE(grid->IsFixed(4, 5));  // fixed right column
    EXPECT_TRUE(grid->IsFixed(2, 9));  // footer row
    EXPECT_FALSE(grid->IsFixed(2, 5));
}

TEST_F(DimFixture, ScrollInViewMovesOnlyForCellsOutOfView)
{
    grid->resize(300, 150);
    grid->SetRowCount(100);
    grid->SetColCount(30);
    grid->SetCol(2);
    grid->SetRow(2);
    grid->ScrollInView(3, 3);
    EXPECT_EQ(grid->Col(), 2);
    EXPECT_EQ(grid->Row(), 2);
    grid->ScrollInView(20, 60);
    EXPECT_EQ(grid->Col(), 20);
    EXPECT_EQ(grid->Row(), 60);
    EXPECT_LE(grid->TopRow(), 60);
    EXPECT_GT(grid->TopRow() + grid->VisibleRowCount(), 60);
    EXPECT_LE(grid->LeftCol(), 20);
    EXPECT_GT(grid->LeftCol() + grid->VisibleColCount(), 20);
    grid->ScrollInView(30, 5);  // beyond the columns: nothing
    EXPECT_EQ(grid->Col(), 20);
}

TEST_F(DimFixture, HiddenSelectionComesBackOrFallsBackToTheFirstNormalCell)
{
    grid->SetSelection({2, 3, 3, 4});
    grid->HideSelection();
    EXPECT_EQ(grid->Selection().Left, grid->ColCount());
    EXPECT_TRUE(grid->SelectionHidden());
    grid->UnHideSelection();
    EXPECT_EQ(grid->Selection(), (TGridRect{2, 3, 3, 4}));

    grid->SetSelection({3, 8, 3, 8});
    grid->HideSelection();
    grid->SetRowCount(5);
    grid->UnHideSelection();
    EXPECT_EQ(grid->Selection(), (TGridRect{1, 1, 1, 1}));
}

TEST_F(DimFixture, MovingRowsCarriesTheirTexts)
{
    for (int r = 1; r < 10; ++r) grid->SetCells(1, r, QString::number(r));
    grid->MoveRows(2, 6, 2);  // rows 2 and 3 go before the old row 6
    QStringList order;
    for (int r = 1; r < 10; ++r) order << grid->Cells(1, r);
    EXPECT_EQ(order.join(QLatin1Char(',')), QStringLiteral("1,4,5,2,3,6,7,8,9"));
    EXPECT_EQ(grid->RowCount(), 10);
}

TEST_F(DimFixture, WordWrapReachesTheCellStore)
{
    grid->SetWordWrap(false);
    EXPECT_FALSE(grid->WordWrap());
    EXPECT_FALSE(grid->GetCellProperties(1, 1)->WordWrap());
}

TEST_F(DimFixture, FloatingFooterRowStaysTheLastRow)
{
    grid->FloatingFooter()->SetVisible(true);
    grid->SetCells(2, 9, QStringLiteral("sum"));
    grid->GetCellProperties(2, 9)->SetCalcType(acSPREAD);  // a type the footer calculation leaves alone
    grid->SetRowCount(grid->RowCount());  // unchanged: nothing moves
    EXPECT_EQ(grid->Cells(2, 9), QStringLiteral("sum"));

    grid->SetRowCount(12);
    EXPECT_EQ(grid->Cells(2, 11), QStringLiteral("sum"));
    EXPECT_EQ(grid->Cells(2, 9), QString());
    ASSERT_TRUE(grid->HasCellProperties(2, 11));
    EXPECT_EQ(grid->GetCellProperties(2, 11)->CalcType(), acSPREAD);  // the same object, not a copy
    EXPECT_EQ(grid->GetCellProperties(2, 11)->OwnerRow(), 11);
    EXPECT_FALSE(grid->HasCellProperties(2, 9));

    grid->SetRowCount(6);
    EXPECT_EQ(grid->Cells(2, 5), QStringLiteral("sum"));
}
