#include "grid/control/pro_column_grid.h"
#include "grid/control/pro_string_grid.h"
#include "id_rows_fixture.h"

#include <functional>
#include <gtest/gtest.h>

namespace {
constexpr int Cols = 5;
constexpr int Rows = 10;

// Each row is recognised by its text in column 4 ("4:<id>"), its height (20 + id) and, for
// row 6, a check box in column 3.
struct StructureFixture : IdRowsFixture {
    StructureFixture() : IdRowsFixture(4) {}
    void SetUp() override
    {
        grid = CreateGrid<TProStringGrid>();
        grid->SetColCount(Cols);
        grid->SetRowCount(Rows);
        for (int r = 0; r < Rows; ++r) {
            grid->SetRowHeights(r, 20 + r);
            for (int c = 0; c < Cols; ++c) grid->SetCells(c, r, QStringLiteral("%1:%2").arg(c).arg(r));
        }
        grid->AddCheckBox(3, 6, true, false);
    }
    void ExpectHeights(const std::string& what)
    {
        for (int r = 0; r < grid->RowCount(); ++r) {
            const QString t = grid->Cells(4, r);
            const int want = t.isEmpty() ? grid->DefaultRowHeight() : 20 + t.mid(2).toInt();
            EXPECT_EQ(grid->RowHeights(r), want) << what << " row " << r;
        }
    }
    int CheckBoxRow()
    {
        int found = -1;
        for (int r = 0; r < grid->RowCount(); ++r)
            if (grid->HasCheckBox(3, r)) found = r;
        return found;
    }
    // Every covered cell lies inside the block of the base cell it names.
    void ExpectBlocksConsistent(const std::string& what)
    {
        for (int r = 0; r < grid->RowCount(); ++r)
            for (int c = 0; c < grid->TotalColCount(); ++c) {
                if (!grid->IsMergedCell(c, r)) continue;
                const TPoint b = grid->BaseCell(c, r);
                ASSERT_TRUE(b.X >= 0 && b.Y >= 0 && b.Y < grid->RowCount() && b.X < grid->TotalColCount())
                    << what << " cell " << c << "," << r;
                const TRect f = grid->FullCell(b.X, b.Y);
                EXPECT_TRUE(c >= f.Left && c <= f.Right && r >= f.Top && r <= f.Bottom)
                    << what << " cell " << c << "," << r << " outside its block";
                for (int y = f.Top; y <= f.Bottom; ++y)
                    for (int x = f.Left; x <= f.Right; ++x) EXPECT_EQ(grid->BaseCell(x, y), b) << what;
            }
    }
};
}  // namespace

TEST_F(StructureFixture, RowOperationsCarryTextsHeightsPropertiesAndHiddenRows)
{
    struct Case {
        const char* Name;
        std::function<void(TProStringGrid*)> Change;
        std::vector<int> Shown;      // with real row 8 hidden before the change
        std::vector<int> AllShown;   // after every hidden row is shown again
        int CheckBox;                // row of the check box afterwards
    };
    const std::vector<Case> cases = {
        {"remove two rows", [](auto* g) { g->RemoveRows(2, 2); }, {0, 1, 4, 5, 6, 7, 9}, {0, 1, 4, 5, 6, 7, 8, 9}, 4},
        {"remove three rows over the box", [](auto* g) { g->RemoveRows(5, 3); }, {0, 1, 2, 3, 4, 9},
         {0, 1, 2, 3, 4, 8, 9}, -1},
        {"remove through the hook", [](auto* g) { g->RemoveRowsHook(1, 1); }, {0, 2, 3, 4, 5, 6, 7, 9},
         {0, 2, 3, 4, 5, 6, 7, 8, 9}, 5},
        {"remove a normal row", [](auto* g) { g->RemoveNormalRow(7); }, {0, 1, 2, 3, 4, 5, 6, 9},
         {0, 1, 2, 3, 4, 5, 6, 8, 9}, 6},
        {"insert two rows", [](auto* g) { g->InsertRows(3, 2, true); }, {0, 1, 2, -1, -1, 3, 4, 5, 6, 7, 9},
         {0, 1, 2, -1, -1, 3, 4, 5, 6, 7, 8, 9}, 8},
        {"insert after the hidden row", [](auto* g) { g->InsertRows(8, 1, true); }, {0, 1, 2, 3, 4, 5, 6, 7, -1, 9},
         {0, 1, 2, 3, 4, 5, 6, 7, 8, -1, 9}, 6},
        {"insert a normal row at a real row", [](auto* g) { g->InsertNormalRow(9); },
         {0, 1, 2, 3, 4, 5, 6, 7, -1, 9}, {0, 1, 2, 3, 4, 5, 6, 7, 8, -1, 9}, 6},
        {"add a row", [](auto* g) { g->AddRow(); }, {0, 1, 2, 3, 4, 5, 6, 7, 9, -1},
         {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, -1}, 6},
        {"swap rows", [](auto* g) { g->SwapRows(1, 6); }, {0, 6, 2, 3, 4, 5, 1, 7, 9}, {0, 6, 2, 3, 4, 5, 1, 7, 8, 9}, 1},
        {"hide selected rows", [](auto* g) {
             g->MouseActions()->SetDisjunctRowSelect(true);
             g->SetRowSelect(2, true);
             g->SetRowSelect(4, true);
             g->HideSelectedRows();
         }, {0, 1, 3, 5, 6, 7, 9}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, 4},
    };
    for (const Case& k : cases) {
        Reset();
        grid->HideRow(8);
        k.Change(grid);
        EXPECT_EQ(Shown(), k.Shown) << k.Name;
        ExpectHeights(k.Name);
        EXPECT_EQ(CheckBoxRow(), k.CheckBox) << k.Name;
        grid->UnHideRowsAll();
        EXPECT_EQ(Shown(), k.AllShown) << k.Name << " (all shown)";
        ExpectHeights(std::string(k.Name) + " (all shown)");
        // Every cell property knows its own cell.
        for (int r = 0; r < grid->RowCount(); ++r)
            if (grid->HasCellProperties(3, r)) EXPECT_EQ(grid->GetCellProperties(3, r)->OwnerRow(), r) << k.Name;
    }
}

TEST_F(StructureFixture, MergedBlocksStayWholeThroughRowAndColumnChanges)
{
    // The block covers columns 1..2 and rows 1..3.
    struct Case {
        const char* Name;
        std::function<void(TProStringGrid*)> Change;
        TRect Block;   // Left -1: no block left
    };
    const std::vector<Case> cases = {
        {"remove a covered row", [](auto* g) { g->RemoveRows(2, 1); }, {1, 1, 2, 2}},
        {"remove the base row and above", [](auto* g) { g->RemoveRows(0, 2); }, {1, 0, 2, 1}},
        {"remove the whole block", [](auto* g) { g->RemoveRows(1, 3); }, {-1, 0, 0, 0}},
        {"remove rows through the hook", [](auto* g) { g->RemoveRowsHook(3, 2); }, {1, 1, 2, 2}},
        {"remove a covered column", [](auto* g) { g->RemoveCols(2, 1); }, {1, 1, 1, 3}},
        {"remove the base column", [](auto* g) { g->RemoveCols(1, 1); }, {1, 1, 1, 3}},
        {"remove both columns", [](auto* g) { g->RemoveCols(1, 2); }, {-1, 0, 0, 0}},
        {"remove a column left of it", [](auto* g) { g->RemoveCols(0, 1); }, {0, 1, 1, 3}},
        {"insert a column inside", [](auto* g) { g->InsertCols(2, 2); }, {1, 1, 4, 3}},
        {"insert a column at the base", [](auto* g) { g->InsertCols(1, 1); }, {2, 1, 3, 3}},
        {"insert a column right of it", [](auto* g) { g->InsertCols(3, 1); }, {1, 1, 2, 3}},
    };
    for (const Case& k : cases) {
        Reset();
        grid->MergeCells(1, 1, 2, 3);
        k.Change(grid);
        ExpectBlocksConsistent(k.Name);
        if (k.Block.Left < 0) {
            for (int r = 0; r < grid->RowCount(); ++r)
                for (int c = 0; c < grid->TotalColCount(); ++c)
                    EXPECT_FALSE(grid->IsMergedCell(c, r)) << k.Name << " cell " << c << "," << r;
        } else {
            EXPECT_EQ(grid->FullCell(k.Block.Left, k.Block.Top), k.Block) << k.Name;
        }
    }
}

TEST_F(StructureFixture, ColumnOperationsCarryCellsWidthsAndHiddenColumns)
{
    struct Case {
        const char* Name;
        std::function<void(TProStringGrid*)> Change;
        QStringList Row2;   // texts of row 2 over all real columns afterwards
        int ColCount;       // shown columns
    };
    const std::vector<Case> cases = {
        {"remove a column", [](auto* g) { g->RemoveCols(1, 1); }, {"0:2", "2:2", "3:2", "4:2"}, 3},
        {"remove the hidden column", [](auto* g) { g->RemoveCols(2, 1); }, {"0:2", "1:2", "3:2", "4:2"}, 4},
        {"insert a column", [](auto* g) { g->InsertCols(1, 1); }, {"0:2", "", "1:2", "2:2", "3:2", "4:2"}, 5},
        {"add a column", [](auto* g) { g->AddColumn(); }, {"0:2", "1:2", "2:2", "3:2", "", "4:2"}, 5},
        {"swap columns", [](auto* g) { g->SwapColumns(1, 4); }, {"0:2", "4:2", "2:2", "3:2", "1:2"}, 4},
    };
    for (const Case& k : cases) {
        Reset();
        for (int c = 0; c < Cols; ++c) grid->SetColWidths(c, 30 + c);
        grid->HideColumn(2);
        grid->HideRow(5);
        k.Change(grid);
        EXPECT_EQ(grid->ColCount(), k.ColCount) << k.Name;
        QStringList row;
        for (int c = 0; c < grid->TotalColCount(); ++c) row << grid->Cells(c, 2);
        EXPECT_EQ(row, k.Row2) << k.Name;
        // Widths travel with the columns, a new column has the default width.
        for (int c = 0; c < grid->TotalColCount(); ++c) {
            const QString t = grid->Cells(c, 2);
            const int want = t.isEmpty() ? grid->DefaultColWidth() : 30 + t.left(1).toInt();
            EXPECT_EQ(grid->AllColWidths(c), want) << k.Name << " column " << c;
        }
        // The hidden row keeps its cells by column too.
        grid->UnHideRowsAll();
        for (int c = 0; c < grid->TotalColCount(); ++c)
            EXPECT_EQ(grid->Cells(c, 5).isEmpty(), row[c].isEmpty()) << k.Name << " hidden row, column " << c;
    }
}

TEST_F(StructureFixture, IndexesOutsideTheGridRaiseBeforeAnythingChanges)
{
    const std::vector<std::pair<const char*, std::function<void(TProStringGrid*)>>> cases = {
        {"remove from a negative row", [](auto* g) { g->RemoveRows(-1, 2); }},
        {"remove past the last row", [](auto* g) { g->RemoveRows(8, 5); }},
        {"remove rows through the hook past the end", [](auto* g) { g->RemoveRowsHook(9, 2); }},
        {"insert beyond the end", [](auto* g) { g->InsertRows(11, 1, true); }},
        {"swap with a row beyond", [](auto* g) { g->SwapRows(1, Rows); }},
        {"remove a column beyond", [](auto* g) { g->RemoveCols(Cols, 1); }},
        {"insert a column beyond", [](auto* g) { g->InsertCols(Cols + 1, 1); }},
        {"swap with a negative column", [](auto* g) { g->SwapColumns(-1, 2); }},
        {"node on a row beyond", [](auto* g) { g->AddNode(Rows, 2); }},
        {"child row beyond", [](auto* g) { g->InsertChildRow(Rows + 3, 0); }},
    };
    for (const auto& [name, change] : cases) {
        Reset();
        grid->MergeCells(1, 1, 2, 3);
        EXPECT_THROW(change(grid), EInvalidGridOperation) << name;
        EXPECT_EQ(grid->RowCount(), Rows) << name;
        EXPECT_EQ(grid->ColCount(), Cols) << name;
        EXPECT_EQ(Shown(), std::vector<int>({0, 1, 2, 3, 4, 5, 6, 7, 8, 9})) << name;
        EXPECT_EQ(grid->FullCell(1, 1), (TRect{1, 1, 2, 3})) << name;
    }
}

TEST_F(StructureFixture, RowsGoByContentAndSelection)
{
    // Duplicates ignore case; the first occurrence stays.
    for (int r = 1; r < Rows; ++r) grid->SetCells(1, r, QStringLiteral("x%1").arg(r));
    grid->SetCells(1, 2, "a");
    grid->SetCells(1, 3, "A");
    grid->SetCells(1, 4, "b");
    grid->SetCells(1, 5, "a");
    grid->RemoveDuplicates(1, true);
    EXPECT_EQ(Shown(), std::vector<int>({0, 1, 2, 4, 6, 7, 8, 9}));

    Reset();
    grid->AddCheckBox(2, 3, true, false);
    grid->AddCheckBox(2, 4, false, false);
    grid->AddCheckBox(2, 7, true, false);
    grid->RemoveCheckedRows(2, true);
    EXPECT_EQ(Shown(), std::vector<int>({0, 1, 2, 4, 5, 6, 8, 9}));

    Reset();
    grid->MouseActions()->SetDisjunctRowSelect(true);
    grid->SetRowSelect(2, true);
    grid->SetRowSelect(5, true);
    grid->RemoveSelectedRows();
    EXPECT_EQ(Shown(), std::vector<int>({0, 1, 3, 4, 6, 7, 8, 9}));
    EXPECT_EQ(grid->RowSelectCount(), 0);

    Reset();
    grid->SetColCount(6);
    for (int c = 0; c < 6; ++c) grid->SetCells(c, 0, QString::number(c));
    grid->SetSelection(TGridRect{2, 1, 3, 1});
    grid->RemoveUnSelectedCols();
    EXPECT_EQ(grid->ColCount(), 3);
    EXPECT_EQ(grid->Rows(0), QStringList({"0", "2", "3"}));
}

TEST(ColumnGridStructure, ColumnsThroughAMergedBlockKeepTheBlockAndTheirDescriptions)
{
    auto* g = CreateGrid<TProColumnGrid>();
    g->SetColCount(5);
    g->SetRowCount(4);
    for (int c = 0; c < 5; ++c) g->SetCells(c, 1, QString::number(c));
    g->MergeCells(1, 1, 3, 2);
    g->RemoveCols(2, 1);
    EXPECT_EQ(g->FullCell(1, 1), (TRect{1, 1, 2, 2}));
    EXPECT_EQ(g->Rows(1), QStringList({"0", "1", "1", "4"}));   // covered cells read the base
    g->InsertCols(2, 1);
    EXPECT_EQ(g->FullCell(1, 1), (TRect{1, 1, 3, 2}));
    EXPECT_EQ(g->Columns()->Count(), 5);
    g->Free();
}
