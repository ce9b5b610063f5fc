// Grouping by a column: the header, data and summary rows it makes for tables of cells with
// every look setting, the way back to the cells as they were, sub-groups, group calculations, and
// a grouped grid shown and folded with the mouse and the keyboard.
#include "grid/base/grid_error.h"
#include "grid/control/pro_column_grid.h"
#include "grid/control/pro_string_grid.h"
#include "platform/core/format_settings.h"
#include "platform/ui/inplace_edit.h"
#include "support/made_grid.h"
#include "support/shown_grid.h"

#include <QTest>
#include <functional>
#include <random>
#include <tuple>

namespace {

using Table = std::vector<QStringList>;

// Expected rows: the kind ('H' header, 'S' summary, '.' data), the cells, and for a header
// its node span.
struct Row {
    char Kind;
    QStringList Cells;
    int Span = -1;
    bool operator==(const Row&) const = default;
};

void PrintTo(const Row& r, std::ostream* os)
{
    *os << r.Kind << " [" << r.Cells.join(QLatin1Char('|')).toStdString() << "] span " << r.Span;
}

struct GroupFixture : MadeGridFixture<TProStringGrid> {
    GroupFixture() : MadeGridFixture(4, 2) {}
    // One fixed row (with the captions h0, h1 ...) and one fixed column above the table.
    void Load(const Table& t)
    {
        grid->SetColCount(int(t.front().size()));
        grid->SetRowCount(int(t.size()) + 1);
        for (int c = 0; c < grid->ColCount(); ++c) grid->SetCells(c, 0, QStringLiteral("h%1").arg(c));
        for (int r = 0; r < int(t.size()); ++r)
            for (int c = 0; c < int(t[size_t(r)].size()); ++c) grid->SetCells(c, r + 1, t[size_t(r)][c]);
    }
    // Every row below the fixed row, stored texts.
    std::vector<Row> Rows()
    {
        std::vector<Row> rows;
        for (int r = grid->FixedRows(); r < grid->RowCount(); ++r) {
            Row row{grid->IsNode(r) ? 'H' : grid->IsSummary(r) ? 'S' : '.', {}, grid->GetNodeSpan(r)};
            for (int c = 0; c < grid->ColCount(); ++c) row.Cells << grid->GetGridCell(c, r);
            rows.push_back(row);
        }
        return rows;
    }
    Table Cells()
    {
        Table t;
        for (int r = 0; r < grid->RowCount(); ++r) {
            QStringList row;
            for (int c = 0; c < grid->ColCount(); ++c) row << grid->GetGridCell(c, r);
            t.push_back(row);
        }
        return t;
    }
};

QStringList L(std::initializer_list<const char*> l)
{
    QStringList s;
    for (const char* t : l) s << QString::fromUtf8(t);
    return s;
}

// Rows of (node column, name, key, value), unsorted by key.
const Table Fruit = {
    L({"", "x1", "B", "1"}),
    L({"", "x2", "A", "2"}),
    L({"", "x3", "A", "3"}),
};

}  // namespace

TEST_F(GroupFixture, GroupsMakeHeaderDataAndSummaryRowsAndUngroupBringsBackEveryCell)
{
    struct Case {
        const char* Name;
        Table Input;
        int Column;
        std::function<void(TProStringGrid*)> Setup;
        std::vector<Row> Grouped;
        Table Ungrouped;  // the whole grid, fixed row included
    };
    auto none = [](TProStringGrid*) {};
    const Table sortedByKey = {L({"h0", "h1", "h2", "h3"}), L({"", "x2", "A", "2"}), L({"", "x3", "A", "3"}),
                               L({"", "x1", "B", "1"})};
    const std::vector<Case> cases = {
        {"plain", Fruit, 2, none,
         {{'H', L({"", "A", ""}), 3}, {'.', L({"", "x2", "2"})}, {'.', L({"", "x3", "3"})},
          {'H', L({"", "B", ""}), 2}, {'.', L({"", "x1", "1"})}},
         sortedByKey},
        {"summary rows after every group", Fruit, 2, [](TProStringGrid* g) { g->Grouping()->SetSummary(true); },
         {{'H', L({"", "A", ""}), 3}, {'.', L({"", "x2", "2"})}, {'.', L({"", "x3", "3"})}, {'S', L({"", "", ""})},
          {'H', L({"", "B", ""}), 2}, {'.', L({"", "x1", "1"})}, {'S', L({"", "", ""})}},
         sortedByKey},
        {"column 1: the header text stays in column 1", {L({"", "k2", "a"}), L({"", "k1", "b"}), L({"", "k2", "c"})}, 1,
         none,
         {{'H', L({"", "k1"}), 2}, {'.', L({"", "b"})}, {'H', L({"", "k2"}), 3}, {'.', L({"", "a"})}, {'.', L({"", "c"})}},
         {L({"h0", "h1", "h2"}), L({"", "k1", "b"}), L({"", "k2", "a"}), L({"", "k2", "c"})}},
        {"no sort: runs as they stand", Fruit, 2, [](TProStringGrid* g) { g->SortSettings()->SetAutoSortForGrouping(false); },
         {{'H', L({"", "B", ""}), 2}, {'.', L({"", "x1", "1"})}, {'H', L({"", "A", ""}), 3}, {'.', L({"", "x2", "2"})},
          {'.', L({"", "x3", "3"})}},
         {L({"h0", "h1", "h2", "h3"}), Fruit[0], Fruit[1], Fruit[2]}},
        {"a first value that looks like a marker still starts a group",
         {L({"", "p", "\u00ff\u00fe", "1"}), L({"", "q", "\u00ff\u00fe", "2"}), L({"", "r", "Z", "3"})}, 2,
         [](TProStringGrid* g) { g->SortSettings()->SetAutoSortForGrouping(false); },
         {{'H', L({"", "\u00ff\u00fe", ""}), 3}, {'.', L({"", "p", "1"})}, {'.', L({"", "q", "2"})},
          {'H', L({"", "Z", ""}), 2}, {'.', L({"", "r", "3"})}},
         {L({"h0", "h1", "h2", "h3"}), L({"", "p", "\u00ff\u00fe", "1"}), L({"", "q", "\u00ff\u00fe", "2"}),
          L({"", "r", "Z", "3"})}},
        {"one group of empty texts", {L({"", "a", "", "1"}), L({"", "b", "", "2"})}, 2, none,
         {{'H', L({"", "", ""}), 3}, {'.', L({"", "a", "1"})}, {'.', L({"", "b", "2"})}},
         {L({"h0", "h1", "h2", "h3"}), L({"", "a", "", "1"}), L({"", "b", "", "2"})}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        grid->Grouping()->SetSummary(false);
        grid->SortSettings()->SetAutoSortForGrouping(true);
        Load(c.Input);
        c.Setup(grid);
        const int cols = grid->ColCount();
        grid->Group(c.Column);
        EXPECT_EQ(grid->GroupColumn(), c.Column);
        EXPECT_EQ(grid->ColCount(), cols - 1);
        EXPECT_EQ(Rows(), c.Grouped);
        grid->UnGroup();
        EXPECT_EQ(grid->GroupColumn(), -1);
        EXPECT_EQ(Cells(), c.Ungrouped);
        EXPECT_EQ(grid->NumNodes(), 0);
    }
}

TEST_F(GroupFixture, CaptionFooterAndWidthComeBackAndAGroupingBeforeIsUndoneFirst)
{
    Load(Fruit);
    grid->SetRowCount(5);
    grid->SetCells(2, 4, "total");
    grid->SetFixedFooters(1);
    grid->SetColWidths(2, 91);
    grid->SetColWidths(1, 37);

    grid->Group(2);
    EXPECT_EQ(grid->GetGridCell(2, 0), "h3");
    EXPECT_EQ(grid->RowCount(), 7);
    EXPECT_EQ(grid->GetGridCell(1, grid->RowCount() - 1), "");  // the footer row keeps its place
    grid->Group(1);  // ungroups by column 2 first
    EXPECT_EQ(grid->GroupColumn(), 1);
    EXPECT_EQ(grid->GetGridCell(1, 0), "h2");
    EXPECT_EQ(grid->ColWidths(1), 91);

    grid->SetGroupColumn(-1);
    EXPECT_EQ(grid->GroupColumn(), -1);
    EXPECT_EQ(Cells(), (Table{L({"h0", "h1", "h2", "h3"}), L({"", "x1", "B", "1"}), L({"", "x2", "A", "2"}),
                              L({"", "x3", "A", "3"}), L({"", "", "total", ""})}));
    EXPECT_EQ(grid->ColWidths(1), 37);
    EXPECT_EQ(grid->ColWidths(2), 91);
}

TEST_F(GroupFixture, AHiddenColumnBeforeTheGroupColumnStaysHiddenAndKeepsItsCells)
{
    Load({L({"", "x1", "B", "1", "w"}), L({"", "x2", "A", "2", "v"})});
    grid->SetColWidths(3, 55);
    grid->HideColumn(1);
    grid->Group(3);   // real column 3: the values
    EXPECT_EQ(grid->TotalColCount(), 4);
    grid->UnGroup();
    EXPECT_TRUE(grid->IsHiddenColumn(1));
    EXPECT_EQ(grid->AllColWidths(3), 55);
    grid->UnHideColumnsAll();
    EXPECT_EQ(Cells(), (Table{L({"h0", "h1", "h2", "h3", "h4"}), L({"", "x1", "B", "1", "w"}), L({"", "x2", "A", "2", "v"})}));
}

TEST_F(GroupFixture, ColumnsThatCouldNotComeBackAreRefused)
{
    struct Case {
        const char* Name;
        int FixedCols, Cols, Column;
    };
    const Case cases[] = {
        {"column 0 holds the node glyphs", 0, 4, 0},
        {"a fixed column", 1, 4, 0},
        {"beyond the last column", 1, 4, 4},
        {"no column left for the header text", 0, 2, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Load({L({"a", "b", "c", "d"}), L({"e", "f", "g", "h"})});
        grid->SetColCount(c.Cols);
        grid->SetFixedCols(c.FixedCols);
        const Table before = Cells();
        grid->Group(c.Column);
        grid->SetGroupColumn(c.Column);
        EXPECT_EQ(grid->GroupColumn(), -1);
        EXPECT_EQ(Cells(), before);
        EXPECT_EQ(grid->NumNodes(), 0);
    }
    // Nothing to group: no normal row.
    grid->SetRowCount(1);
    grid->Group(2);
    EXPECT_EQ(grid->GroupColumn(), -1);
}

TEST_F(GroupFixture, LooksOfHeaderAndSummaryRows)
{
    Load(Fruit);
    TGrouping* gr = grid->Grouping();
    gr->SetSummary(true);
    gr->SetHeaderColor(0x00FF00);
    gr->SetHeaderTextColor(0x0000FF);
    gr->SetSummaryColor(0xABCDEF);
    grid->Group(2);
    // Header row: the row colours on every normal column; summary the same with its own.
    EXPECT_EQ(grid->GetCellProperties(1, 1)->BrushColor(), TColor(0x00FF00));
    EXPECT_EQ(grid->GetCellProperties(2, 1)->FontColor(), TColor(0x0000FF));
    EXPECT_EQ(grid->GetCellProperties(2, 4)->BrushColor(), TColor(0xABCDEF));
    EXPECT_FALSE(grid->IsMergedCell(1, 1));
    grid->UnGroup();

    gr->SetMergeHeader(true);
    gr->SetMergeSummary(true);
    grid->Group(2);
    // Merged from column 1 to the last, coloured as cells.
    EXPECT_EQ(grid->CellSpan(1, 1).X, 1);
    EXPECT_EQ(grid->CellSpan(1, 4).X, 1);
    EXPECT_EQ(grid->GetCellProperties(1, 1)->BrushColor(), TColor(0x00FF00));
    EXPECT_FALSE(grid->IsMergedCell(1, 2));
    grid->UnGroup();
    for (int r = 1; r < grid->RowCount(); ++r) EXPECT_FALSE(grid->IsMergedCell(1, r)) << r;
    EXPECT_EQ(grid->RowCount(), 4);
}

TEST_F(GroupFixture, HeaderRowsAreUnderlinedAndSummaryRowsLinedAbove)
{
    Load(Fruit);
    TGrouping* gr = grid->Grouping();
    gr->SetSummary(true);
    grid->Group(2);
    const auto border = [&](int c, int r) {
        TPen pen;
        TCellBorders b;
        grid->GetCellBorder(c, r, &pen, b);
        return std::make_tuple(b, pen.Color(), pen.Width());
    };
    EXPECT_TRUE(std::get<0>(border(1, 1)).Empty());
    gr->SetHeaderUnderline(true);
    gr->SetSummaryLine(true);
    gr->SetSummaryLineColor(0x123456);
    gr->SetSummaryLineWidth(3);
    EXPECT_EQ(border(1, 1), std::make_tuple(TCellBorders{cbBottom}, TColor(0xFF0000), 2));
    EXPECT_EQ(border(2, 4), std::make_tuple(TCellBorders{cbTop}, TColor(0x123456), 3));
    EXPECT_TRUE(std::get<0>(border(0, 1)).Empty());  // not the node column
    EXPECT_TRUE(std::get<0>(border(1, 2)).Empty());  // nor a data row
}

TEST_F(GroupFixture, TheHeaderShowsItsCountAndUngroupingKeepsTheTextWithoutIt)
{
    Load(Fruit);
    grid->Grouping()->SetShowGroupCount(true);
    grid->Group(2);
    EXPECT_EQ(grid->Cells(1, 1), "A (2)");
    EXPECT_EQ(grid->Cells(1, 4), "B (1)");
    grid->Grouping()->SetGroupCountFormat(" [%d]");
    EXPECT_EQ(grid->Cells(1, 1), "A [2]");
    grid->UnGroup();
    EXPECT_EQ(grid->GetGridCell(2, 1), "A");
}

TEST_F(GroupFixture, UngroupShowsFoldedGroupsAndGivesRowsHiddenMeanwhileTheirText)
{
    Load(Fruit);
    grid->Group(2);
    grid->ContractNode(1);        // A's rows fold away
    grid->HideRows(5, 5);         // x1, under B, hidden by the application
    ASSERT_EQ(grid->RowCount(), 3);
    grid->UnGroup();
    EXPECT_EQ(grid->RowCount(), 3);
    grid->UnHideRowsAll();
    EXPECT_EQ(Cells(), (Table{L({"h0", "h1", "h2", "h3"}), L({"", "x2", "A", "2"}), L({"", "x3", "A", "3"}),
                              L({"", "x1", "B", "1"})}));
}

TEST_F(GroupFixture, ARowHiddenBeforeGroupingKeepsItsPlaceAmongItsNeighbours)
{
    Load({L({"", "x1", "B", "1"}), L({"", "x2", "A", "2"}), L({"", "x3", "A", "3"}), L({"", "x4", "C", "4"})});
    grid->HideRows(2, 2);   // x2
    grid->Group(2);         // sorts the rows shown: x3, x1, x4; x2 stays after x3
    EXPECT_EQ(grid->RowCount(), 7);
    EXPECT_TRUE(grid->IsHiddenRow(3));
    grid->UnGroup();
    grid->UnHideRowsAll();
    EXPECT_EQ(Cells(), (Table{L({"h0", "h1", "h2", "h3"}), L({"", "x3", "A", "3"}), L({"", "x2", "A", "2"}),
                              L({"", "x1", "B", "1"}), L({"", "x4", "C", "4"})}));
}

TEST_F(GroupFixture, RandomTablesComeBackSortedByTheGroupColumn)
{
    std::mt19937 rnd(7);
    for (int round = 0; round < 16; ++round) {
        SCOPED_TRACE(round);
        const int rows = 1 + int(rnd() % 60);
        Table t;
        for (int r = 0; r < rows; ++r)
            t.push_back({"", QString::number(r), QString(QChar('a' + int(rnd() % 5))), QString::number(rnd() % 20),
                         QString(QChar('p' + int(rnd() % 2))), "z"});
        Load(t);
        const bool summary = round % 2 == 1, sub = round % 4 >= 2;
        grid->Grouping()->SetSummary(summary);
        grid->Grouping()->SetMergeHeader(round % 3 == 0);
        grid->Grouping()->SetMergeSummary(round % 5 == 1);
        grid->Group(2);
        int headers = 0;
        for (int r = 1; r < grid->RowCount(); ++r) headers += grid->IsNode(r);
        EXPECT_EQ(grid->RowCount(), rows + 1 + headers * (summary ? 2 : 1));
        // Sub-grouped by the p/q column (column 3 once the key is out), some groups folded.
        if (sub) {
            grid->SubGroup(3);
            if (grid->RowCount() > 2) grid->ContractNode(grid->RealRowIndex(2));
            grid->ContractNode(1);
        }
        grid->UnGroup();
        EXPECT_EQ(grid->NumNodes(), 0);
        // Sorted by the group column; ties by the columns after it (SortSettings.Full).
        std::stable_sort(t.begin(), t.end(), [](const QStringList& a, const QStringList& b) {
            if (a[2] != b[2]) return a[2] < b[2];
            if (a[3] != b[3]) return a[3].toInt() < b[3].toInt();
            return a[4] < b[4];
        });
        t.insert(t.begin(), L({"h0", "h1", "h2", "h3", "h4", "h5"}));
        EXPECT_EQ(Cells(), t);
    }
}

TEST_F(GroupFixture, SubGroupsSplitEveryGroupAndComeOffAgain)
{
    // name, key, sub-key, value
    Load({L({"", "r1", "A", "p", "1"}), L({"", "r2", "A", "q", "2"}), L({"", "r3", "A", "q", "3"}),
          L({"", "r4", "B", "q", "4"})});
    grid->Group(2);
    // Columns now: 0, name, sub-key, value.  Sub-group by the sub-key.
    grid->SubGroup(2);
    const std::vector<Row> sub = {
        {'H', L({"", "A", "", ""}), 6}, {'H', L({"", "", "", "p"}), 2}, {'.', L({"", "r1", "", "1"})},
        {'H', L({"", "", "", "q"}), 3}, {'.', L({"", "r2", "", "2"})},  {'.', L({"", "r3", "", "3"})},
        {'H', L({"", "B", "", ""}), 3}, {'H', L({"", "", "", "q"}), 2}, {'.', L({"", "r4", "", "4"})},
    };
    EXPECT_EQ(Rows(), sub);
    EXPECT_EQ(grid->GroupColumn(), 2);
    EXPECT_EQ(grid->GetNodeLevel(1), 1);
    EXPECT_EQ(grid->GetNodeLevel(2), 2);
    // Folding a group folds its sub-groups with it.
    grid->ContractNode(1);
    EXPECT_EQ(grid->RowCount(), 5);
    grid->ExpandNode(1);
    grid->Grouping()->SetShowGroupCount(true);
    EXPECT_EQ(grid->Cells(1, 1), "A (3)");

    grid->SubUnGroup(2);
    EXPECT_EQ(Rows(), (std::vector<Row>{{'H', L({"", "A", "", ""}), 4},
                                        {'.', L({"", "r1", "p", "1"})},
                                        {'.', L({"", "r2", "q", "2"})},
                                        {'.', L({"", "r3", "q", "3"})},
                                        {'H', L({"", "B", "", ""}), 2},
                                        {'.', L({"", "r4", "q", "4"})}}));
    grid->Grouping()->SetShowGroupCount(false);
    // Ungrouping a sub-grouped grid takes both levels off.
    grid->SubGroup(2);
    grid->UnGroup();
    EXPECT_EQ(Cells(), (Table{L({"h0", "h1", "h2", "h3", "h4"}), L({"", "r1", "A", "p", "1"}),
                              L({"", "r2", "A", "q", "2"}), L({"", "r3", "A", "q", "3"}), L({"", "r4", "B", "q", "4"})}));
}

TEST_F(GroupFixture, SubGroupWithSummaryAddsOneSummaryRowAndOnAnUngroupedGridLeavesTheFirstRow)
{
    Load({L({"", "r1", "p", "1"}), L({"", "r2", "p", "2"}), L({"", "r3", "q", "3"})});
    grid->Grouping()->SetSummary(true);
    grid->SubGroup(2);
    EXPECT_EQ(Rows(), (std::vector<Row>{{'.', L({"", "r1", "p", "1"})},
                                        {'H', L({"", "", "", "p"}), 2},
                                        {'.', L({"", "r2", "", "2"})},
                                        {'H', L({"", "", "", "q"}), 2},
                                        {'.', L({"", "r3", "", "3"})},
                                        {'S', L({"", "", "", ""})}}));
    EXPECT_EQ(grid->GroupColumn(), -1);  // nothing was taken out
    grid->SubUnGroup(2);
    EXPECT_EQ(Cells(), (Table{L({"h0", "h1", "h2", "h3"}), L({"", "r1", "p", "1"}), L({"", "r2", "p", "2"}),
                              L({"", "r3", "q", "3"})}));
    EXPECT_EQ(grid->NumNodes(), 0);
}

TEST_F(GroupFixture, GroupCalculationsWriteIntoHeadersOrSummaryRows)
{
    ScopedFormatSettings locale{TFormatSettings{}};
    // Group A: 2, 4 and an empty cell (0); group B: 5.
    const Table t = {L({"", "a1", "A", "2"}), L({"", "a2", "A", "4"}), L({"", "a3", "A", ""}), L({"", "b1", "B", "5"})};
    struct Case {
        int Method;
        const char* A;
        const char* B;
    };
    const Case cases[] = {
        {1, "6.00", "5.00"}, {2, "2.00", "5.00"}, {3, "0.00", "5.00"}, {4, "4.00", "5.00"},
        {5, "3", "1"},       {7, "3.00", "1.00"}, {8, "1.63", "0.00"},
    };
    for (const bool summary : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << "method " << c.Method << (summary ? " into summary rows" : ""));
            grid->Grouping()->SetSummary(summary);
            Load(t);
            grid->Group(2);
            grid->GroupCalc(2, c.Method);
            // Headers at 1 and 5 (6 with summary rows); the summary rows end each group.
            const int a = summary ? 5 : 1, b = summary ? 8 : 5;
            EXPECT_EQ(grid->GetGridCell(2, a), c.A);
            EXPECT_EQ(grid->GetGridCell(2, b), c.B);
            grid->UnGroup();
        }
    }
    // Custom: the children's rows reach the event; unknown methods do nothing.
    grid->Grouping()->SetSummary(false);
    Load(t);
    grid->Group(2);
    grid->OnGroupCalc = [](TObject*, int col, int from, int to, double& res) { res = col * 1000 + from * 10 + to; };
    grid->GroupCustomCalc(2);
    EXPECT_EQ(grid->GetGridCell(2, 1), "2024.00");
    EXPECT_EQ(grid->GetGridCell(2, 5), "2066.00");
    grid->GroupCalc(2, 9);
    grid->GroupCalc(2, 0);
    EXPECT_EQ(grid->GetGridCell(2, 1), "2024.00");
    // A folded group is passed over.
    grid->ContractNode(5);
    grid->GroupSum(2);
    EXPECT_EQ(grid->GetGridCell(2, 1), "6.00");
    EXPECT_EQ(grid->GetGridCell(2, 5), "2066.00");
    grid->UnGroup();

    // A word is skipped by the sum; met first by the minimum it raises.  The sum also becomes
    // the floating footer's calculation of the column.
    Load({L({"", "a1", "A", "x"}), L({"", "a2", "A", "4"}), L({"", "b1", "B", "5"}), L({"", "", "", ""})});
    grid->SortSettings()->SetFull(false);
    grid->FloatingFooter()->SetVisible(true);
    grid->Group(2);   // the sort leaves the footer row last
    ASSERT_EQ(grid->RowCount(), 7);
    EXPECT_TRUE(grid->IsNode(4));
    EXPECT_EQ(grid->GetGridCell(1, 5), "b1");
    grid->GroupSum(2);
    EXPECT_EQ(grid->GetGridCell(2, 1), "4.00");
    EXPECT_EQ(grid->FloatingFooter()->ColumnCalc(2), acSUM);
    EXPECT_THROW(grid->GroupMin(2), EProGridError);
    grid->FloatingFooter()->SetVisible(false);
}

TEST_F(GroupFixture, WithExpandOneOnlyTheFirstGroupStaysOpen)
{
    Load({L({"", "a", "A"}), L({"", "b", "B"}), L({"", "c", "C"}), L({"", "c2", "C"})});
    grid->CellNode()->SetExpandOne(true);
    grid->Group(2);
    EXPECT_EQ(Rows(), (std::vector<Row>{{'H', L({"", "A"}), 2}, {'.', L({"", "a"})}, {'H', L({"", "B"}), 2}, {'H', L({"", "C"}), 3}}));
    grid->UnGroup();
    EXPECT_TRUE(grid->CellNode()->ExpandOne());
    EXPECT_EQ(grid->RowCount(), 5);
}

TEST(ColumnGridGrouping, TheGroupedColumnsDescriptionComesBack)
{
    auto* g = CreateGrid<TProColumnGrid>();
    g->SetColCount(4);
    g->SetRowCount(4);
    g->Columns()->Items(2)->SetHeader("Key");
    g->Columns()->Items(2)->SetWidth(77);
    g->Columns()->Items(3)->SetHeader("Value");
    for (int r = 1; r < 4; ++r) g->SetCells(2, r, r == 2 ? "b" : "a");
    EXPECT_EQ(g->ColWidths(2), 77);
    g->Group(2);
    EXPECT_EQ(g->ColCount(), 3);
    EXPECT_EQ(g->Columns()->Items(2)->Header(), "Value");
    g->UnGroup();
    EXPECT_EQ(g->ColWidths(2), 77);
    EXPECT_EQ(g->ColCount(), 4);
    EXPECT_EQ(g->Columns()->Items(2)->Header(), "Key");
    EXPECT_EQ(g->Columns()->Items(2)->Width(), 77);
    EXPECT_EQ(g->Cells(2, 3), "b");
    g->Free();
}

namespace {
struct ShownGrouping : ShownGridFixture {
    void SetUp() override
    {
        ShownGridFixture::SetUp();
        const char* keys[] = {"B", "A", "B", "A", "C"};
        for (int r = 1; r < G->RowCount(); ++r) {
            G->SetCells(1, r, QStringLiteral("n%1").arg(r));
            G->SetCells(2, r, keys[r - 1]);
        }
        G->Grouping()->SetMergeHeader(true);
        G->Group(2);   // A n2 n4, B n1 n3, C n5: 9 rows
    }
    QStringList Column1()
    {
        QStringList l;
        for (int r = 1; r < G->RowCount(); ++r) l << G->GetGridCell(1, r);
        return l;
    }
    void ClickGlyph(int row)
    {
        QTest::mouseClick(V(), Qt::LeftButton, {}, QPoint(8, In(0, row).y()));
        QApplication::processEvents();
    }
};
}  // namespace

TEST_F(ShownGrouping, GroupsFoldAndUnfoldWithClicksAndKeys)
{
    ASSERT_EQ(Column1(), L({"A", "n2", "n4", "B", "n1", "n3", "C", "n5"}));
    ClickGlyph(4);
    EXPECT_TRUE(G->GetNodeState(4));
    EXPECT_EQ(Column1(), L({"A", "n2", "n4", "B", "C", "n5"}));
    ClickGlyph(1);
    EXPECT_EQ(Column1(), L({"A", "B", "C", "n5"}));
    ClickGlyph(1);
    EXPECT_EQ(Column1(), L({"A", "n2", "n4", "B", "C", "n5"}));

    // The keyboard: Right unfolds the merged header under the cursor, Left folds it.
    G->FocusCell(1, 4, true);
    QTest::keyClick(G, Qt::Key_Right);
    EXPECT_EQ(Column1(), L({"A", "n2", "n4", "B", "n1", "n3", "C", "n5"}));
    QTest::keyClick(G, Qt::Key_Left);
    EXPECT_EQ(Column1(), L({"A", "n2", "n4", "B", "C", "n5"}));

    // Ungrouped, every row is back, folded or not.
    G->UnGroup();
    EXPECT_EQ(G->RowCount(), 6);
    EXPECT_EQ(Column1(), L({"n2", "n4", "n1", "n3", "n5"}));
    for (int r = 1; r < 6; ++r) EXPECT_EQ(G->GetGridCell(2, r), r <= 2 ? "A" : r <= 4 ? "B" : "C");
}

TEST_F(ShownGrouping, AClickOnAnOpenGroupHeaderSelectsTheGroupWhenAsked)
{
    // Without AutoSelectGroup the click selects the clicked cell only.
    QTest::mouseClick(V(), Qt::LeftButton, {}, In(2, 1));
    EXPECT_EQ(G->Selection().Bottom, 1);

    G->Grouping()->SetAutoSelectGroup(true);
    QTest::mouseClick(V(), Qt::LeftButton, {}, In(2, 1));   // header A over n2, n4
    const TGridRect s = G->Selection();
    EXPECT_EQ(s.Top, 1);
    EXPECT_EQ(s.Bottom, 3);
    EXPECT_EQ(s.Left, G->FixedCols());
    EXPECT_EQ(s.Right, G->ColCount() - 1);

    // A folded group is not selected.
    ClickGlyph(4);
    ASSERT_TRUE(G->GetNodeState(4));
    QTest::mouseClick(V(), Qt::LeftButton, {}, In(2, 4));
    EXPECT_EQ(G->Selection().Top, 4);
    EXPECT_EQ(G->Selection().Bottom, 4);

    // With disjunct row selection the child rows are flagged.
    G->MouseActions()->SetDisjunctRowSelect(true);
    QTest::mouseClick(V(), Qt::LeftButton, {}, In(2, 1));
    EXPECT_TRUE(G->GetRowSelect(2));
    EXPECT_TRUE(G->GetRowSelect(3));
    EXPECT_FALSE(G->GetRowSelect(5));
}

TEST_F(ShownGrouping, EditsMadeInAGroupedGridStayWithTheirRows)
{
    G->SetOptions(G->Options() + goEditing);
    // n4 (row 3, under A) becomes "m4": typed and taken with Enter.
    G->SetCol(1);
    G->SetRow(3);
    QTest::keyClicks(G, QStringLiteral("m4"));
    ASSERT_TRUE(G->EditorMode());
    QTest::keyClick(G->InplaceEditor(), Qt::Key_Return);
    EXPECT_EQ(G->GetGridCell(1, 3), "m4");
    // An edit left with Escape changes nothing.
    G->SetRow(5);
    QTest::keyClicks(G, QStringLiteral("zz"));
    ASSERT_TRUE(G->EditorMode());
    QTest::keyClick(G->InplaceEditor(), Qt::Key_Escape);
    EXPECT_EQ(G->GetGridCell(1, 5), "n1");

    G->UnGroup();
    EXPECT_EQ(Column1(), L({"n2", "m4", "n1", "n3", "n5"}));
    EXPECT_EQ(G->GetGridCell(2, 2), "A");
}
