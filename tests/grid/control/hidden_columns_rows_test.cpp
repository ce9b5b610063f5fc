#include "grid/control/pro_string_grid.h"

#include <gtest/gtest.h>

namespace {
struct HiddenFixture : ::testing::Test {
    void SetUp() override
    {
        grid = CreateGrid<TProStringGrid>();
        grid->SetColCount(5);
        grid->SetRowCount(10);
        for (int c = 0; c < 5; ++c) {
            grid->SetColWidths(c, 10 * (c + 1));
            grid->SetCells(c, 1, QStringLiteral("c%1").arg(c));
        }
        for (int r = 0; r < 10; ++r) grid->SetCells(1, r, QStringLiteral("r%1").arg(r));
    }
    void TearDown() override { grid->Free(); }
    std::vector<int> Widths()
    {
        std::vector<int> w;
        for (int c = 0; c < grid->ColCount(); ++c) w.push_back(grid->ColWidths(c));
        return w;
    }
    QStringList Column1()
    {
        QStringList l;
        for (int r = 0; r < grid->RowCount(); ++r) l << grid->Cells(1, r);
        return l;
    }
    TProStringGrid* grid = nullptr;
};
}

TEST_F(HiddenFixture, NothingHiddenMapsEveryIndexOntoItself)
{
    for (int i : {-3, -1, 0, 1, 4, 200, 511, 512, 600}) {
        EXPECT_EQ(grid->RealToDisplColumn(i), i) << i;
        EXPECT_EQ(grid->DisplToRealColumn(i), i) << i;
    }
}

TEST_F(HiddenFixture, HidingAColumnShiftsTheDisplayButKeepsItsCellsAndWidth)
{
    grid->HideColumn(2);
    EXPECT_EQ(grid->ColCount(), 4);
    EXPECT_EQ(grid->NumHiddenColumns(), 1);
    EXPECT_EQ(grid->TotalColCount(), 5);
    EXPECT_TRUE(grid->IsHiddenColumn(2));
    EXPECT_FALSE(grid->IsHiddenColumn(3));
    EXPECT_EQ(Widths(), (std::vector<int>{10, 20, 40, 50}));
    EXPECT_EQ(grid->AllColWidths(2), 30);
    EXPECT_EQ(grid->AllColWidths(3), 40);
    EXPECT_EQ(grid->Cells(2, 1), QStringLiteral("c2"));

    struct Case { int displ, real; };
    // Past the columns in use the mapping runs on; past the table's visible columns it gives 0.
    for (Case k : {Case{0, 0}, {1, 1}, {2, 3}, {3, 4}, {4, 5}, {510, 511}, {511, 0}, {-1, 0}, {512, 512}})
        EXPECT_EQ(grid->DisplToRealColumn(k.displ), k.real) << k.displ;
    // A hidden column maps onto the display place of the next visible one.
    for (Case k : {Case{0, 0}, {1, 1}, {2, 2}, {2, 3}, {3, 4}, {-1, -1}, {600, 600}})
        EXPECT_EQ(grid->RealToDisplColumn(k.real), k.displ) << k.real;

    grid->UnHideColumn(2);
    EXPECT_EQ(grid->ColCount(), 5);
    EXPECT_EQ(grid->NumHiddenColumns(), 0);
    EXPECT_EQ(Widths(), (std::vector<int>{10, 20, 30, 40, 50}));
}

TEST_F(HiddenFixture, RealAndDisplayColumnsRoundTrip)
{
    grid->SetColCount(8);
    grid->HideColumns(1, 1);
    grid->HideColumns(4, 5);
    ASSERT_EQ(grid->ColCount(), 5);
    for (int r = 0; r < 8; ++r) {
        if (!grid->IsHiddenColumn(r)) {
            EXPECT_EQ(grid->DisplToRealColumn(grid->RealToDisplColumn(r)), r) << r;
        }
    }
    for (int d = 0; d < grid->ColCount(); ++d) EXPECT_EQ(grid->RealToDisplColumn(grid->DisplToRealColumn(d)), d) << d;
}

TEST_F(HiddenFixture, HidingEveryColumnLeavesTheLastAndShowingAllRestoresTheWidths)
{
    grid->HideColumns(0, 4);
    EXPECT_EQ(grid->ColCount(), 1);
    EXPECT_EQ(grid->NumHiddenColumns(), 4);
    EXPECT_EQ(grid->DisplToRealColumn(0), 4);
    EXPECT_EQ(grid->ColWidths(0), 50);
    grid->HideColumn(2);  // already hidden: nothing
    EXPECT_EQ(grid->NumHiddenColumns(), 4);

    grid->UnHideColumnsAll();
    EXPECT_EQ(grid->ColCount(), 5);
    EXPECT_EQ(Widths(), (std::vector<int>{10, 20, 30, 40, 50}));
    EXPECT_EQ(grid->Cells(0, 1), QStringLiteral("c0"));
    EXPECT_EQ(grid->Cells(4, 1), QStringLiteral("c4"));
}

TEST_F(HiddenFixture, HidingTheCurrentLastColumnMovesTheCurrentColumnLeft)
{
    grid->SetCol(4);
    grid->HideColumn(4);
    EXPECT_EQ(grid->Col(), 3);
}

TEST_F(HiddenFixture, ColumnsOutsideTheVisibilityTableRaiseTheGridError)
{
    EXPECT_THROW(grid->HideColumn(-1), EProGridError);
    EXPECT_THROW(grid->HideColumn(512), EProGridError);
    EXPECT_THROW(grid->UnHideColumn(-2), EProGridError);
    EXPECT_THROW(grid->IsHiddenColumn(-1), EProGridError);
    EXPECT_FALSE(grid->IsHiddenColumn(600));
    EXPECT_NO_THROW(grid->UnHideColumns(0, 900));  // a wide range over the table's end
    EXPECT_EQ(grid->ColCount(), 5);
}

TEST_F(HiddenFixture, HiddenRowComesBackWithTextsHeightAndProperties)
{
    grid->SetRowHeights(3, 40);
    grid->SetColors(2, 3, clRed);
    grid->HideColumn(4);
    grid->SetCells(4, 3, QStringLiteral("hidden col"));

    grid->HideRow(3);
    EXPECT_EQ(grid->RowCount(), 9);
    EXPECT_TRUE(grid->IsHiddenRow(3));
    EXPECT_EQ(grid->NumHiddenRows(), 1);
    EXPECT_EQ(grid->Cells(1, 3), QStringLiteral("r4"));
    EXPECT_EQ(grid->GetCellsEx(1, 3), QStringLiteral("r3"));
    EXPECT_EQ(grid->RealToDisplRow(5), 4);
    EXPECT_EQ(grid->DisplToRealRow(3), 4);
    EXPECT_EQ(grid->GetColors(2, 3), clNone);  // the row below has none

    grid->UnHideRow(3);
    EXPECT_EQ(grid->RowCount(), 10);
    EXPECT_FALSE(grid->IsHiddenRow(3));
    EXPECT_EQ(grid->Cells(1, 3), QStringLiteral("r3"));
    EXPECT_EQ(grid->Cells(1, 4), QStringLiteral("r4"));
    EXPECT_EQ(grid->RowHeights(3), 40);
    EXPECT_EQ(grid->GetColors(2, 3), clRed);
    EXPECT_EQ(grid->Cells(4, 3), QStringLiteral("hidden col"));
    grid->UnHideRow(3);  // not hidden: nothing
    EXPECT_EQ(grid->RowCount(), 10);
}

TEST_F(HiddenFixture, HidingARangeAroundAHiddenRowKeepsEachRowsOwnTexts)
{
    grid->HideRow(3);
    grid->HideRows(2, 4);
    EXPECT_EQ(grid->RowCount(), 7);
    EXPECT_EQ(grid->GetCellsEx(1, 2), QStringLiteral("r2"));
    EXPECT_EQ(grid->GetCellsEx(1, 3), QStringLiteral("r3"));
    EXPECT_EQ(grid->GetCellsEx(1, 4), QStringLiteral("r4"));
    EXPECT_EQ(grid->Cells(1, 2), QStringLiteral("r5"));
    grid->HideRows(2, 4);  // all hidden already
    EXPECT_EQ(grid->RowCount(), 7);

    grid->UnHideRows(2, 4);
    EXPECT_EQ(grid->RowCount(), 10);
    EXPECT_EQ(Column1().mid(0, 6),
              (QStringList{"r0", "r1", "r2", "r3", "r4", "r5"}));
}

TEST_F(HiddenFixture, ShowingAllRowsRestoresEveryRunInOrder)
{
    grid->HideRows(2, 3);
    grid->HideRow(7);
    EXPECT_EQ(grid->RowCount(), 7);
    grid->UnHideRowsAll();
    EXPECT_EQ(grid->NumHiddenRows(), 0);
    EXPECT_EQ(Column1(), (QStringList{"r0", "r1", "r2", "r3", "r4", "r5", "r6", "r7", "r8", "r9"}));
}

TEST_F(HiddenFixture, RowListsHideInLevelsAndTheLastListComesBackAlone)
{
    TIntList first(0, 0), second(0, 0);
    grid->SetColors(2, 5, clRed);  // stays hidden: the grid frees it with the row at the end
    first.Add(2);
    first.Add(5);
    grid->HideRowList(&first);
    EXPECT_EQ(grid->RowCount(), 8);
    EXPECT_EQ(grid->FilterLevel(), 1);
    second.Add(1);
    grid->HideRowList(&second);
    EXPECT_EQ(grid->RowCount(), 7);
    EXPECT_EQ(Column1(), (QStringList{"r0", "r3", "r4", "r6", "r7", "r8", "r9"}));

    grid->UnHideRowList();
    EXPECT_EQ(grid->RowCount(), 8);
    EXPECT_EQ(grid->NumHiddenRows(), 2);
    EXPECT_EQ(Column1(), (QStringList{"r0", "r1", "r3", "r4", "r6", "r7", "r8", "r9"}));
    EXPECT_EQ(grid->GetColors(2, 3), clNone);
}

TEST_F(HiddenFixture, WritingAHiddenRowChangesWhatItShowsLater)
{
    grid->HideRow(4);
    grid->SetCellsEx(1, 4, QStringLiteral("edited"));
    grid->SetCellsEx(7, 4, QStringLiteral("padded"));  // beyond the saved columns
    EXPECT_EQ(grid->GetCellsEx(7, 4), QStringLiteral("padded"));
    EXPECT_EQ(grid->GetHiddenRowItems(4)->value(1), QStringLiteral("edited"));
    EXPECT_EQ(grid->GetHiddenRowItems(5), nullptr);
    grid->UnHideRow(4);
    EXPECT_EQ(grid->Cells(1, 4), QStringLiteral("edited"));
}

TEST_F(HiddenFixture, RowListsRecordRealRowsWhileOtherRowsAreHidden)
{
    TIntList first(0, 0), second(0, 0);
    first.Add(2);
    first.Add(5);
    grid->HideRowList(&first);
    second.Add(3);  // present row 3 is real row 4
    grid->HideRowList(&second);
    EXPECT_TRUE(grid->IsHiddenRow(4));
    EXPECT_FALSE(grid->IsHiddenRow(3));
    EXPECT_EQ(grid->GetCellsEx(1, 4), QStringLiteral("r4"));
    EXPECT_EQ(grid->DisplToRealRow(3), 6);
    EXPECT_EQ(Column1(), (QStringList{"r0", "r1", "r3", "r6", "r7", "r8", "r9"}));

    // The last list comes back between the rows that stay hidden.
    grid->UnHideRowList();
    EXPECT_EQ(Column1(), (QStringList{"r0", "r1", "r3", "r4", "r6", "r7", "r8", "r9"}));
    grid->HideRowList(&second);  // present row 3 is real row 4 again
    grid->UnHideRowsAll();
    EXPECT_EQ(Column1(), (QStringList{"r0", "r1", "r2", "r3", "r4", "r5", "r6", "r7", "r8", "r9"}));
}

TEST_F(HiddenFixture, HiddenRowsKeepTheirCellsThroughColumnChanges)
{
    grid->SetColors(3, 4, clRed);
    auto* own = new TObject;
    grid->SetObjectsEx(4, 4, own);
    grid->SetCells(4, 4, QStringLiteral("x4"));
    grid->HideRows(3, 5);
    EXPECT_EQ(grid->GetObjectsEx(4, 4), own);

    grid->InsertCols(0, 1);  // every cell one column right
    EXPECT_EQ(grid->GetCellsEx(2, 4), QStringLiteral("r4"));
    grid->MoveColumn(5, 1);  // column 5 (was 4) in front of column 1
    EXPECT_EQ(grid->GetCellsEx(1, 4), QStringLiteral("x4"));
    EXPECT_EQ(grid->GetCellsEx(3, 4), QStringLiteral("r4"));
    grid->RemoveCols(0, 1);
    EXPECT_EQ(grid->GetCellsEx(0, 4), QStringLiteral("x4"));
    EXPECT_EQ(grid->GetHiddenRowItems(4)->mid(0, 3), (QStringList{"x4", "", "r4"}));

    grid->UnHideRowsAll();
    EXPECT_EQ(grid->RowCount(), 10);
    EXPECT_EQ(grid->Cells(0, 4), QStringLiteral("x4"));
    EXPECT_EQ(grid->Cells(2, 4), QStringLiteral("r4"));
    EXPECT_EQ(grid->Cells(2, 3), QStringLiteral("r3"));
    EXPECT_EQ(grid->GetColors(4, 4), clRed);
    EXPECT_EQ(grid->GetColors(3, 4), clNone);
    EXPECT_EQ(grid->GetObjectsEx(0, 4), own);

    // Rows cleared or dropped while hidden give back their cells; the store reuses the slots.
    grid->SetObjectsEx(0, 4, nullptr);
    delete own;
    grid->HideRows(2, 6);
    grid->ClearAll();
    EXPECT_EQ(grid->GetCellsEx(2, 4), QString());
    grid->UnHideRowsAll();
    EXPECT_EQ(grid->Cells(2, 4), QString());
    EXPECT_EQ(grid->GetColors(4, 4), clNone);
    grid->SetColors(4, 8, clBlue);
    grid->HideRows(8, 8);
    grid->SetRowCount(3);
    grid->Clear();
}
