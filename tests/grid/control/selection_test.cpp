// The grid's selection: the rectangle, the disjunct row, column and cell flags, the selected
// text and the modified and enabled row flags.
#include "grid/base/grid_error.h"
#include "grid/control/pro_string_grid.h"

#include <gtest/gtest.h>

namespace {

// 5 columns x 10 rows, one fixed row and column.
struct Selection : ::testing::Test {
    void SetUp() override
    {
        grid = CreateGrid<TProStringGrid>();
        grid->SetColCount(5);
        grid->SetRowCount(10);
    }
    void TearDown() override { grid->Free(); }
    TProStringGrid* grid = nullptr;
};

QString MessageOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const EProGridError& e) {
        return e.Message();
    }
    return QStringLiteral("<none>");
}

}  // namespace

TEST_F(Selection, OutOfRangeFlagsRaiseWithTheirTexts)
{
    grid->MouseActions()->SetDisjunctRowSelect(true);
    struct Case {
        const char* what;
        std::function<void()> call;
        const char* message;
    } cases[] = {
        {"read row -1", [&] { grid->GetRowSelect(-1); }, "Invalid row -1 accessed"},
        {"read row past the end", [&] { grid->GetRowSelect(10); }, "Invalid row 10 accessed"},
        {"write row -1", [&] { grid->SetRowSelect(-1, true); }, "Invalid row accessed"},
        {"write row past the end", [&] { grid->SetRowSelect(10, true); }, "Invalid row accessed"},
        {"read column ColCount", [&] { grid->GetColSelect(5); }, "Invalid column accessed"},
        {"write column -1", [&] { grid->SetColSelect(-1, true); }, "Invalid column accessed"},
    };
    for (const Case& c : cases) EXPECT_EQ(MessageOf(c.call), QString::fromLatin1(c.message)) << c.what;

    // persistent row flags belong to real rows and are never refused on reading
    grid->MouseActions()->SetRowSelectPersistent(true);
    EXPECT_EQ(MessageOf([&] { EXPECT_FALSE(grid->GetRowSelect(50)); }), QStringLiteral("<none>"));
    // a grid of fixed rows only takes a high row
    grid->SetFixedRowAlways(true);
    grid->SetRowCount(1);
    ASSERT_EQ(grid->FixedRows(), 1);
    EXPECT_EQ(MessageOf([&] { grid->SetRowSelect(5, true); }), QStringLiteral("<none>"));
}

TEST_F(Selection, DisjunctRowsKeepTheOrderTheyWereSelectedIn)
{
    grid->MouseActions()->SetDisjunctRowSelect(true);
    for (int r : {5, 2, 7}) grid->SetRowSelect(r, true);
    grid->SetRowSelect(5, true);  // no duplicate
    EXPECT_EQ(grid->SelectedRowCount(), 3);
    EXPECT_EQ(grid->GetSelectedRow(0), 5);
    EXPECT_EQ(grid->GetSelectedRow(2), 7);
    EXPECT_EQ(grid->GetSelectedRow(3), -1);
    EXPECT_EQ(grid->RowSelectCount(), 3);
    grid->SetRowSelect(2, false);
    EXPECT_EQ(grid->GetSelectedRow(1), 7);
    EXPECT_TRUE(grid->IsSelected(1, 5));
    EXPECT_FALSE(grid->IsSelected(1, 2));

    // a fixed row keeps its flag but is no selected row
    grid->SetRowSelect(0, true);
    EXPECT_TRUE(grid->GetRowSelect(0));
    EXPECT_EQ(grid->SelectedRowCount(), 2);

    grid->ClearRowSelect();
    EXPECT_EQ(grid->SelectedRowCount(), 0);
    EXPECT_EQ(grid->RowSelectCount(), 0);
}

TEST_F(Selection, AVetoKeepsTheRowAndAFirstWriteAsksToo)
{
    grid->MouseActions()->SetDisjunctRowSelect(true);
    std::vector<std::pair<int, bool>> asked;
    int selected = 0;
    bool allow = false;
    grid->OnRowDisjunctSelect = [&](TObject*, int r, bool s, bool& a) {
        asked.push_back({r, s});
        a = allow;
    };
    grid->OnRowDisjunctSelected = [&](TObject*, int) { ++selected; };
    grid->SetRowSelect(3, false);  // no entry yet: asked although nothing would change
    grid->SetRowSelect(4, true);
    EXPECT_FALSE(grid->GetRowSelect(4));
    EXPECT_EQ(asked, (std::vector<std::pair<int, bool>>{{3, false}, {4, true}}));
    EXPECT_EQ(selected, 0);
    allow = true;
    grid->SetRowSelect(4, true);
    grid->SetRowSelect(4, true);  // unchanged: not asked, still reported
    EXPECT_TRUE(grid->GetRowSelect(4));
    EXPECT_EQ(asked.size(), 3u);
    EXPECT_EQ(selected, 2);
}

TEST_F(Selection, TheRectangleAnswersWithoutDisjunctModes)
{
    grid->SelectRange(2, 3, 6, 3);  // from row 6 up to row 3
    EXPECT_EQ(grid->Col(), 3);
    EXPECT_EQ(grid->Row(), 3);
    EXPECT_EQ(grid->RowSelectCount(), 4);
    EXPECT_EQ(grid->GetSelectedRow(0), 3);
    EXPECT_EQ(grid->GetSelectedRow(3), 6);
    EXPECT_EQ(grid->GetSelectedRow(4), -1);
    EXPECT_EQ(grid->SelectedColCount(), 2);
    EXPECT_EQ(grid->SelectedCellsCount(), 8);
    EXPECT_EQ(grid->GetSelectedCell(0).X, 2);
    EXPECT_EQ(grid->GetSelectedCell(0).Y, 3);
    EXPECT_EQ(grid->GetSelectedCell(1).Y, 4);  // column by column, top to bottom
    EXPECT_TRUE(grid->GetSelectedCells(3, 6));
    EXPECT_FALSE(grid->GetSelectedCells(4, 6));
    // a fixed cell is never selected, in any mode
    grid->SelectCells(0, 0, 4, 9);
    for (int mode = 0; mode < 4; ++mode) {
        grid->MouseActions()->SetDisjunctRowSelect(mode == 1);
        grid->MouseActions()->SetDisjunctColSelect(mode == 2);
        grid->MouseActions()->SetDisjunctCellSelect(mode == 3);
        if (mode == 1) grid->SetRowSelect(0, true);
        if (mode == 2) grid->SetColSelect(0, true);
        if (mode == 3) grid->SetSelectedCells(0, 0, true);
        EXPECT_FALSE(grid->IsSelected(0, 0)) << mode;
        EXPECT_FALSE(grid->IsSelected(2, 0)) << mode;
        EXPECT_FALSE(grid->IsSelected(0, 2)) << mode;
    }
}

TEST_F(Selection, MergedBlocksCountWhole)
{
    grid->MergeCells(2, 3, 1, 3);  // rows 3..5
    struct Case {
        TGridRect sel;
        int rows;
    } cases[] = {
        {{2, 3, 2, 3}, 3},  // one cell inside the block
        {{2, 1, 2, 3}, 5},  // from row 1 down to the block's base row
        {{1, 1, 1, 2}, 2},
    };
    for (const Case& c : cases) {
        grid->SelectCells(c.sel.Left, c.sel.Top, c.sel.Right, c.sel.Bottom);
        EXPECT_EQ(grid->SelectedRowCount(), c.rows) << c.sel.Top << ".." << c.sel.Bottom;
    }
    grid->MergeCells(1, 7, 3, 1);  // columns 1..3
    grid->SelectCells(1, 7, 1, 7);
    EXPECT_EQ(grid->SelectedColCount(), 3);
}

TEST_F(Selection, SelectedTextJoinsCellsWithTabsAndRowsWithCrLf)
{
    grid->SetCells(1, 2, QStringLiteral("a"));
    grid->SetCells(2, 2, QStringLiteral("b"));
    grid->SetCells(1, 3, QStringLiteral("c"));
    grid->SetCells(2, 3, QStringLiteral("d"));
    grid->SetCells(1, 5, QStringLiteral("e"));
    grid->SelectCells(1, 2, 2, 3);
    EXPECT_EQ(grid->SelectedText(), QStringLiteral("a\tb\r\nc\td"));

    grid->MouseActions()->SetDisjunctRowSelect(true);
    grid->SetRowSelect(5, true);
    grid->SetRowSelect(2, true);
    EXPECT_EQ(grid->SelectedText(), QStringLiteral("a\tb\r\ne\t"));

    // multi-line texts are quoted for a spreadsheet
    grid->SetCells(2, 5, QStringLiteral("x\r\ny"));
    grid->SetExcelClipboardFormat(true);
    grid->SetMultilinecells(true);
    EXPECT_EQ(grid->SelectedText(), QStringLiteral("a\tb\r\ne\t\"x\vy\""));
}

TEST_F(Selection, RunsOfRowsAndColumns)
{
    grid->SelectRows(7, 10);  // cut to the grid
    EXPECT_EQ(grid->Selection(), (TGridRect{1, 7, 4, 9}));
    grid->SelectCols(3, 5);  // past the last column: kept within the grid
    EXPECT_EQ(grid->Selection(), (TGridRect{3, 1, 4, 9}));

    grid->MouseActions()->SetDisjunctRowSelect(true);
    grid->SetSelChange(true);
    grid->SelectRows(2, 3);
    EXPECT_EQ(grid->SelectedRowCount(), 3);
    EXPECT_FALSE(grid->SelChange());
    grid->UnSelectRows(3, 1);
    EXPECT_EQ(grid->GetSelectedRow(1), 4);

    grid->MouseActions()->SetDisjunctColSelect(true);
    grid->SelectCols(2, 9);
    EXPECT_EQ(grid->ColSelectCount(), 3);
    grid->UnSelectCols(3, 1);
    EXPECT_EQ(grid->ColSelectCount(), 2);
    grid->ClearColSelect();
    EXPECT_EQ(grid->ColSelectCount(), 0);
}

TEST_F(Selection, RectangleToFlags)
{
    grid->MouseActions()->SetDisjunctRowSelect(true);
    grid->SetRowSelect(8, true);
    grid->SelectCells(1, 3, 2, 4);
    grid->SelectionToRowSelect(false);  // rows outside stay as they were
    EXPECT_TRUE(grid->GetRowSelect(8));
    EXPECT_TRUE(grid->GetRowSelect(3));
    EXPECT_TRUE(grid->GetRowSelect(4));
    grid->SelectionToRowSelect(true);
    EXPECT_FALSE(grid->GetRowSelect(8));
    EXPECT_EQ(grid->RowSelectCount(), 2);

    grid->MouseActions()->SetDisjunctColSelect(true);
    grid->SelectionToColSelect(false);
    EXPECT_TRUE(grid->GetColSelect(1));
    EXPECT_TRUE(grid->GetColSelect(2));
    EXPECT_FALSE(grid->GetColSelect(3));
}

TEST_F(Selection, FlagsAndCellsBeyondAShrunkGridAreDropped)
{
    grid->MouseActions()->SetDisjunctRowSelect(true);
    grid->SetRowSelect(3, true);
    grid->SetRowSelect(8, true);
    grid->MouseActions()->SetDisjunctCellSelect(true);
    grid->SetSelectedCells(4, 2, true);
    grid->SetSelectedCells(1, 2, true);
    grid->SetColSelect(4, true);
    grid->SetRowCount(5);
    grid->SetColCount(3);
    EXPECT_EQ(grid->SelectedCellsCount(), 1);
    EXPECT_EQ(grid->GetSelectedCell(0).X, 1);
    grid->MouseActions()->SetDisjunctCellSelect(false);
    EXPECT_EQ(grid->SelectedRowCount(), 1);
    EXPECT_EQ(grid->GetSelectedRow(1), -1);
    grid->SetColCount(5);  // a column that comes back is not selected any more
    EXPECT_FALSE(grid->GetColSelect(4));
    EXPECT_LE(grid->Selection().Bottom, 4);
    EXPECT_LE(grid->Selection().Right, 4);
}

TEST_F(Selection, ModifiedAndEnabledRows)
{
    EXPECT_FALSE(grid->GetRowModified(30));
    grid->SetRowModified(4, true);
    grid->SetRowModified(6, true);
    grid->SetRowModified(6, false);
    EXPECT_TRUE(grid->GetRowModified(4));
    EXPECT_EQ(grid->ModifiedRowCount(), 1);
    grid->ClearModifiedRows();
    EXPECT_EQ(grid->ModifiedRowCount(), 0);

    EXPECT_TRUE(grid->GetRowEnabled(30));
    grid->SetRow(1);
    grid->SetRowEnabled(2, false);
    grid->SetRowEnabled(1, false);  // the current row moves to the first other enabled row
    EXPECT_EQ(grid->Row(), 3);
    EXPECT_TRUE(grid->UseEnabledRows());
    EXPECT_FALSE(grid->GetRowEnabled(1));
    grid->SetRowEnabled(1, true);
    EXPECT_TRUE(grid->GetRowEnabled(1));
    EXPECT_EQ(grid->Row(), 3);
}
