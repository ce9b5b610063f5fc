#include "grid/base/base_grid.h"
#include "support/made_grid.h"

#include <gtest/gtest.h>

namespace {
class RecordingGrid : public TBaseGrid {
public:
    std::vector<std::pair<int, int>> changed;
    void CellTextChanged(int ACol, int ARow) override { changed.emplace_back(ACol, ARow); }
};

struct MergeFixture : MadeGridFixture<RecordingGrid> {
    MergeFixture() : MadeGridFixture(8, 8) {}
};
}

TEST_F(MergeFixture, BlockOfTwoColumnsAndThreeRows)
{
    grid->MergeCells(1, 1, 2, 3);
    EXPECT_EQ(grid->MergeCount(), 1);
    struct Case { int c, r; bool base; int sx, sy; TPoint ext; bool merged; };
    const Case cases[] = {
        {1, 1, true, 1, 2, {1, 2}, true},  {2, 1, false, 1, 0, {0, 2}, true}, {1, 2, false, 0, 1, {1, 1}, true},
        {2, 2, false, 1, 1, {0, 1}, true}, {1, 3, false, 0, 2, {1, 0}, true}, {2, 3, false, 1, 2, {0, 0}, true},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message() << k.c << "," << k.r);
        TCellProperties* p = grid->GetCellProperties(k.c, k.r);
        EXPECT_EQ(p->IsBaseCell(), k.base);
        EXPECT_EQ(p->CellSpanX(), k.sx);
        EXPECT_EQ(p->CellSpanY(), k.sy);
        EXPECT_EQ(grid->BaseCell(k.c, k.r), (TPoint{1, 1}));
        EXPECT_EQ(grid->CellSpan(k.c, k.r), (TPoint{1, 2}));
        EXPECT_EQ(grid->CellExt(k.c, k.r), k.ext);
        EXPECT_EQ(grid->IsMergedCell(k.c, k.r), k.merged);
        EXPECT_EQ(grid->IsMergedNonBaseCell(k.c, k.r), !k.base);
        EXPECT_TRUE(grid->IsXMergedCell(k.c, k.r));
        EXPECT_TRUE(grid->IsYMergedCell(k.c, k.r));
        int bc = -1, br = -1;
        EXPECT_EQ(grid->ResolveBaseCell(k.c, k.r, bc, br), k.base);
        EXPECT_EQ(bc, 1);
        EXPECT_EQ(br, 1);
    }
    EXPECT_EQ(grid->FullCell(2, 3), (TRect{1, 1, 2, 3}));
    // Outside the block nothing is merged.
    EXPECT_EQ(grid->BaseCell(3, 1), (TPoint{3, 1}));
    EXPECT_EQ(grid->CellSpan(3, 1), (TPoint{0, 0}));
    EXPECT_FALSE(grid->IsMergedCell(0, 0));
    EXPECT_TRUE(grid->IsBaseCell(0, 0));
}

TEST_F(MergeFixture, CoveredCellsReadAndWriteTheBaseCell)
{
    grid->SetCells(1, 1, QStringLiteral("block"));
    grid->SetCells(2, 3, QStringLiteral("unseen"));
    grid->MergeCells(1, 1, 2, 3);
    EXPECT_EQ(grid->Cells(2, 3), QStringLiteral("block"));
    grid->changed.clear();
    grid->SetCells(2, 3, QStringLiteral("new"));
    EXPECT_EQ(grid->GetGridCell(1, 1), QStringLiteral("new"));
    EXPECT_EQ(grid->GetGridCell(2, 3), QStringLiteral("unseen"));
    ASSERT_EQ(grid->changed.size(), 1u);
    EXPECT_EQ(grid->changed[0], std::make_pair(1, 1));
}

TEST_F(MergeFixture, SplittingAnyCellRestoresTheWholeBlock)
{
    grid->MergeCells(1, 1, 2, 3);
    grid->SplitCells(2, 2);
    EXPECT_EQ(grid->MergeCount(), 0);
    for (int c = 1; c <= 2; ++c)
        for (int r = 1; r <= 3; ++r) {
            TCellProperties* p = grid->GetCellProperties(c, r);
            EXPECT_TRUE(p->IsBaseCell());
            EXPECT_EQ(p->CellSpanX(), -1);
            EXPECT_EQ(p->CellSpanY(), -1);
        }
    // Splitting a plain cell lowers the count and gives it properties, nothing else.
    grid->SplitCells(5, 5);
    EXPECT_EQ(grid->MergeCount(), -1);
    EXPECT_TRUE(grid->HasCellProperties(5, 5));
    EXPECT_EQ(grid->GetCellProperties(5, 5)->CellSpanX(), -1);
}

TEST_F(MergeFixture, BlockOfOneCellIsNotMergedButHasItsOwnRectangle)
{
    grid->MergeCells(4, 4, 1, 1);
    EXPECT_FALSE(grid->IsMergedCell(4, 4));
    EXPECT_EQ(grid->GetCellProperties(4, 4)->CellSpanX(), 0);
    EXPECT_EQ(grid->CellRect(4, 4), grid->CalcCellRect(4, 4));
    // Spans below one merge nothing but still count.
    grid->MergeCells(6, 6, 0, 2);
    EXPECT_EQ(grid->MergeCount(), 2);
    EXPECT_FALSE(grid->HasCellProperties(6, 6));
}

TEST_F(MergeFixture, BlockRectangleSpansItsColumnsAndRows)
{
    grid->SetDefaultColWidth(50);
    grid->SetDefaultRowHeight(20);
    grid->MergeCells(1, 1, 2, 3);
    const TRect single = grid->CalcCellRect(1, 1);
    const TRect block = grid->CellRect(2, 2);
    EXPECT_EQ(block.Left, single.Left);
    EXPECT_EQ(block.Top, single.Top);
    EXPECT_EQ(block.Width(), grid->CalcCellRect(2, 1).Right - single.Left);
    EXPECT_EQ(block.Bottom, grid->CalcCellRect(1, 3).Bottom);
    EXPECT_EQ(grid->CellSize(1, 1), (TPoint{block.Width(), block.Height()}));

    // Zero-width ends are widened by a pixel each: a one-column block of width 0 is 2 wide.
    grid->MergeCells(5, 1, 1, 2);
    grid->SetColWidths(5, 0);
    const TRect narrow = grid->CellRect(5, 2);
    EXPECT_EQ(narrow.Width(), 2);
    EXPECT_EQ(narrow.Left, grid->CalcCellRect(5, 1).Left - 1);
}

TEST_F(MergeFixture, RowAndColumnSpanQueries)
{
    EXPECT_FALSE(grid->RowSpanIdentical(1, 2));  // nothing merged vertically
    grid->MergeCells(1, 1, 1, 3);
    grid->MergeCells(3, 1, 2, 2);
    EXPECT_EQ(grid->MinRowSpan(1), 1);
    EXPECT_EQ(grid->MaxRowSpan(1), 2);
    EXPECT_EQ(grid->MinRowSpan(6), grid->RowCount());
    EXPECT_EQ(grid->MaxRowSpan(6), 0);
    EXPECT_TRUE(grid->RowSpanIdentical(1, 2));
    EXPECT_TRUE(grid->RowSpanIdentical(2, 3));   // column 3 is not merged in row 3: skipped
    grid->MergeCells(1, 4, 1, 2);
    EXPECT_FALSE(grid->RowSpanIdentical(3, 4));  // column 1: blocks from rows 1 and 4
    EXPECT_TRUE(grid->ColSpanIdentical(3, 4));
    EXPECT_FALSE(grid->ColSpanIdentical(1, 3));
}

TEST_F(MergeFixture, ArrowKeysLeaveABlockToTheNeighbouringCell)
{
    grid->MergeCells(2, 2, 3, 1);
    grid->SetCol(2);
    grid->SetRow(2);
    int key = VK_RIGHT;
    grid->Perform(WM_KEYDOWN, VK_RIGHT);
    EXPECT_EQ(grid->Col(), 5);
    EXPECT_EQ(grid->Row(), 2);

    grid->SetCol(3);  // a covered cell: snaps to the block's base after the move
    grid->SetRow(2);
    grid->Perform(WM_KEYDOWN, VK_LEFT);
    EXPECT_EQ(grid->Col(), 1);
    (void)key;
}

namespace {
class ContentRecorder : public TBaseGrid {
public:
    std::vector<std::pair<int, int>> drawn;
    void DrawCellContent(TCanvas*, int ACol, int ARow, TRect, TGridDrawState) override { drawn.emplace_back(ACol, ARow); }
};
}

TEST(MergedPainting, CoveredCellsDrawOnlyThroughTheirBaseCell)
{
    // A visible base cell is drawn by itself and once more for the first covered cell of
    // its block (drawing the base cell does not mark the block); with the base cell
    // scrolled out, the block is drawn once, for its first covered cell in view.
    struct Case {
        int LeftCol, Times;
    } cases[] = {{1, 2}, {2, 1}};
    for (const Case& c : cases) {
        auto* grid = CreateGrid<ContentRecorder>();
        grid->SetColCount(8);
        grid->SetRowCount(5);
        grid->resize(250, 200);
        grid->show();
        grid->MergeCells(1, 1, 2, 2);
        grid->SetLeftCol(c.LeftCol);
        ASSERT_EQ(grid->LeftCol(), c.LeftCol);
        for (int pass = 0; pass < 2; ++pass) {
            grid->drawn.clear();
            grid->viewport()->grab();
            EXPECT_EQ(std::count(grid->drawn.begin(), grid->drawn.end(), std::make_pair(1, 1)), c.Times)
                << c.LeftCol << " " << pass;
            for (auto cell : {std::make_pair(2, 1), std::make_pair(1, 2), std::make_pair(2, 2)})
                EXPECT_EQ(std::count(grid->drawn.begin(), grid->drawn.end(), cell), 0);
            EXPECT_EQ(std::count(grid->drawn.begin(), grid->drawn.end(), std::make_pair(3, 3)), 1);
        }
        grid->Free();
    }
}
