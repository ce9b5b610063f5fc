// Columns and rows sized to their measured contents, spread over the width, and numbered.
#include "grid/control/pro_string_grid.h"

#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace {

struct AutoSizeFixture : ::testing::Test {
    void SetUp() override
    {
        G = CreateGrid<TProStringGrid>();
        G->SetColCount(5);
        G->SetRowCount(6);
        G->SetWordWrap(false);
    }
    void TearDown() override { G->Free(); }
    // Width of a text in the grid's font (normal cells) or in its fixed font (headers).
    int TW(const QString& s, bool Fixed = false) const
    {
        return (Fixed ? G->FixedFont() : G->Font())->Metrics().horizontalAdvance(s);
    }
    // What a column needs around its widest text: the inset (2 x 2), two grid lines, 2.
    int Around() const { return 2 * G->XYOffset().X + 2 * G->GridLineWidth() + 2; }
    int LineHeight() const { return G->Font()->LineHeight(); }
    TProStringGrid* G = nullptr;
};

}  // namespace

TEST_F(AutoSizeFixture, ColumnFitsItsWidestMeasuredText)
{
    const QString widest = QStringLiteral("the widest text of them all");
    G->SetCells(2, 0, QStringLiteral("Head"));
    G->SetCells(2, 1, QStringLiteral("a"));
    G->SetCells(2, 2, widest);
    G->SetCells(2, 3, QStringLiteral("middle"));
    G->AutoSizeCol(2);
    EXPECT_EQ(G->ColWidths(2), TW(widest) + Around());

    // a header wider than the data, in its bold fixed font, decides the width
    const QString head = QStringLiteral("A header that is wider than any data text below it");
    G->SetCells(2, 0, head);
    G->AutoSizeCol(2);
    EXPECT_EQ(G->ColWidths(2), TW(head, true) + Around());
    EXPECT_NE(TW(head, true), TW(head));
}

TEST_F(AutoSizeFixture, MultiLineCellsCountTheirLongestLineAndMergedCellsNone)
{
    G->SetMultilinecells(true);
    const QString longLine = QStringLiteral("a rather long second line");
    G->SetCells(1, 1, QStringLiteral("short\r\n") + longLine + QStringLiteral("\r\nx"));
    G->SetCells(1, 2, QStringLiteral("one line"));
    // a merged block spanning two columns is not taken for the column's width
    G->SetCells(1, 4, QStringLiteral("a merged text much longer than anything else in this column"));
    G->MergeCells(1, 4, 2, 1);
    G->AutoSizeCol(1);
    EXPECT_EQ(G->ColWidths(1), TW(longLine) + Around());
    // without multi-line cells the whole text is one line (its break measured as it stands)
    G->SetMultilinecells(false);
    G->AutoSizeCol(1);
    EXPECT_GT(G->ColWidths(1), TW(longLine) + Around());
}

TEST_F(AutoSizeFixture, WidthsStayWithinTheLimits)
{
    const QString text = QStringLiteral("some text");
    G->SetCells(3, 2, text);
    const int natural = TW(text) + Around();
    struct Case {
        int Min, Max, Expected;
    } cases[] = {
        {0, 0, natural},
        {natural + 10, 0, natural + 10},
        {0, natural - 5, natural - 5},
        {natural + 10, natural + 10, natural},   // equal limits set none
        {natural - 5, natural + 5, natural},
    };
    for (const Case& c : cases) {
        G->SetMinColWidth(c.Min);
        G->SetMaxColWidth(c.Max);
        G->SetColWidths(3, 5);
        G->AutoSizeCol(3);
        EXPECT_EQ(G->ColWidths(3), c.Expected) << c.Min << " " << c.Max;
    }
    // padding is added within the limits
    G->SetMinColWidth(0);
    G->SetMaxColWidth(natural + 4);
    G->AutoSizeCol(3, 10);
    EXPECT_EQ(G->ColWidths(3), natural + 4);
}

TEST_F(AutoSizeFixture, GrowOnlyNeverNarrowsAColumn)
{
    G->SetCells(1, 1, QStringLiteral("x"));
    G->SetCells(2, 1, QStringLiteral("a text wider than the default column width"));
    G->SetColWidths(1, 200);
    G->SetSizeGrowOnly(true);
    G->AutoSizeColumns(false);
    EXPECT_EQ(G->ColWidths(1), 200);
    EXPECT_EQ(G->ColWidths(2), TW(QStringLiteral("a text wider than the default column width")) + Around());
    // the fixed column is left alone unless asked for
    EXPECT_EQ(G->ColWidths(0), G->DefaultColWidth());
    G->SetSizeGrowOnly(false);
    G->AutoSizeColumns(true);
    EXPECT_EQ(G->ColWidths(1), TW(QStringLiteral("x")) + Around());
    EXPECT_EQ(G->ColWidths(0), Around());
}

TEST_F(AutoSizeFixture, TheRowsMeasuredFollowTheColumnSizeSetting)
{
    const QString head = QStringLiteral("Hd"), data = QStringLiteral("a longer data text"),
                  foot = QStringLiteral("the longest text sits in the footer row");
    G->SetFixedFooters(1);
    G->SetCells(2, 0, head);
    G->SetCells(2, 2, data);
    G->SetCells(2, 5, foot);
    const struct {
        TAutoSizeRows Rows;
        int Expected;
    } cases[] = {
        {arAll, TW(foot, true) + Around()},
        {arNormal, TW(data) + Around()},
        {arFixed, TW(head, true) + Around()},
    };
    for (const auto& c : cases) {
        G->ColumnSize()->SetRows(c.Rows);
        G->AutoSizeCol(2);
        EXPECT_EQ(G->ColWidths(2), c.Expected) << int(c.Rows);
    }
}

TEST_F(AutoSizeFixture, RowsFitTheirTallestCell)
{
    G->SetMultilinecells(true);
    G->SetCells(2, 2, QStringLiteral("one\r\ntwo\r\nthree"));
    G->AutoSizeRow(2);
    const int inset = 2 * G->XYOffset().Y + 2 * G->GridLineWidth();
    EXPECT_EQ(G->RowHeights(2), 3 * LineHeight() + inset);

    // a data check box without text stands for a default row
    G->AddCheckBox(3, 3, false, true);
    G->SetCells(3, 3, QString());
    G->AutoSizeRow(3);
    EXPECT_EQ(G->RowHeights(3), G->DefaultRowHeight() + inset);

    // within the limits, and never lower with grow-only
    G->SetMaxRowHeight(30);
    G->AutoSizeRow(2);
    EXPECT_EQ(G->RowHeights(2), 30);
    G->SetMaxRowHeight(0);
    G->SetSizeGrowOnly(true);
    G->SetRowHeights(4, 80);
    G->AutoSizeRow(4);
    EXPECT_EQ(G->RowHeights(4), 80);
}

TEST_F(AutoSizeFixture, AutoSizeRowsGivesEachRowItsLinesWithoutWordWrap)
{
    G->SetMultilinecells(true);
    G->SetCells(1, 2, QStringLiteral("a\r\nb"));
    G->SetCells(3, 4, QStringLiteral("a\r\nb\r\nc\r\nd"));
    G->AutoSizeRows(false, 3);
    const int h = LineHeight();
    EXPECT_EQ(G->RowHeights(1), 3 + (h + h / 8));
    EXPECT_EQ(G->RowHeights(2), 3 + 2 * (h + h / 8));
    EXPECT_EQ(G->RowHeights(4), 3 + 4 * (h + h / 8));
    EXPECT_EQ(G->RowHeights(0), G->DefaultRowHeight());   // fixed rows only when asked
}

TEST_F(AutoSizeFixture, AutoSizeCellsGrowsColumnsAndRowsToEachCell)
{
    G->SetCells(2, 3, QStringLiteral("grown to this text"));
    G->AutoSizeCells(false, 6, 2);
    EXPECT_EQ(G->ColWidths(2), TW(QStringLiteral("grown to this text")) + 6 + G->XYOffset().X);
    EXPECT_EQ(G->RowHeights(3), std::max(G->DefaultRowHeight(), LineHeight() + 2 + G->XYOffset().Y));
}

TEST_F(AutoSizeFixture, AutoFitSpreadsTheWidthInProportion)
{
    G->SetBorderStyle(bsNone);
    G->SetScrollBars(ssNone);
    G->SetColCount(3);
    G->SetFixedCols(0);
    G->resize(300, 200);
    G->SetColWidths(0, 50);
    G->SetColWidths(1, 100);
    G->SetColWidths(2, 50);
    G->AutoFitColumns(true);
    EXPECT_EQ(G->ColWidths(0), 75);
    EXPECT_EQ(G->ColWidths(1), 150);
    EXPECT_EQ(G->ColWidths(2), 75);
}

TEST_F(AutoSizeFixture, AutoNumberingWritesRunningNumbers)
{
    struct Case {
        const char* Name;
        int Start, Offset;
        TSortDirection Direction;
        int Footers;
        QStringList Expected;   // rows 1 .. 5 of column 1
    } cases[] = {
        {"plain", 0, 0, sdAscending, 0, {"1", "2", "3", "4", "5"}},
        {"descending", 0, 0, sdDescending, 0, {"5", "4", "3", "2", "1"}},
        {"offset", 0, 10, sdAscending, 0, {"11", "12", "13", "14", "15"}},
        {"start", 2, 0, sdAscending, 0, {"", "", "3", "4", "5"}},
        {"footer", 0, 0, sdAscending, 1, {"1", "2", "3", "4", ""}},
        {"descending footer", 0, 0, sdDescending, 1, {"4", "3", "2", "1", ""}},
    };
    for (const Case& c : cases) {
        for (int r = 0; r < G->RowCount(); ++r) G->SetCells(1, r, QString());
        G->SetFixedFooters(c.Footers);
        G->SetAutoNumberStart(c.Start);
        G->SetAutoNumberOffset(c.Offset);
        G->SetAutoNumberDirection(c.Direction);
        G->AutoNumberCol(1);
        QStringList got;
        for (int r = 1; r < 6; ++r) got << G->Cells(1, r);
        EXPECT_EQ(got, c.Expected) << c.Name;
        EXPECT_EQ(G->Cells(1, 0), QString()) << c.Name;
    }
    G->SetFixedFooters(0);
    G->SetAutoNumberStart(0);
    G->SetAutoNumberOffset(0);
    G->SetAutoNumberDirection(sdDescending);
    G->AutoNumberRow(2);
    QStringList got;
    for (int c = 0; c < 5; ++c) got << G->Cells(c, 2);
    EXPECT_EQ(got, (QStringList{"", "4", "3", "2", "1"}));
}

// A grid without hooks, properties or merges is sized from its stored texts directly; an
// empty colour hook sends it the general way. Both must give the same widths.
TEST_F(AutoSizeFixture, PlainGridsGetTheWidthsOfTheGeneralWay)
{
    const struct {
        const char* Name;
        std::function<void(TProStringGrid*)> Setup;
    } cases[] = {
        {"plain", [](TProStringGrid*) {}},
        {"footer and right fixed column",
         [](TProStringGrid* g) {
             g->SetFixedFooters(1);
             g->SetFixedRightCols(1);
         }},
        {"multi-line cells", [](TProStringGrid* g) { g->SetMultilinecells(true); }},
        {"zoomed", [](TProStringGrid* g) { g->SetZoomFactor(3); }},
        {"active cell headers", [](TProStringGrid* g) { g->SetActiveCellShow(true); }},
        {"hidden row", [](TProStringGrid* g) { g->HideRow(3); }},
        {"URL schemes stripped", [](TProStringGrid* g) { g->SetURLShow(true); }},
    };
    const QString texts[] = {QStringLiteral("Head"),
                             QStringLiteral("short"),
                             QStringLiteral("http://a.rather.long.example/address"),
                             QStringLiteral("first line\r\na second line that is longer"),
                             QStringLiteral("WWWWWWWWWWWWWWWWWW"),
                             QStringLiteral("the footer text, the longest of the column")};
    for (const auto& c : cases) {
        std::vector<int> widths[2];
        for (int way = 0; way < 2; ++way) {
            TProStringGrid* g = CreateGrid<TProStringGrid>();
            g->SetColCount(5);
            g->SetRowCount(6);
            g->SetWordWrap(false);
            for (int col = 0; col < 5; ++col)
                for (int r = 0; r < 6; ++r) g->SetCells(col, r, texts[(r + col) % 6]);
            c.Setup(g);
            if (way == 1) g->OnGetCellColor = [](TObject*, int, int, TGridDrawState, TBrush*, TFont*) {};
            g->AutoSizeColumns(true);
            for (int col = 0; col < g->ColCount(); ++col) widths[way].push_back(g->ColWidths(col));
            g->Free();
        }
        EXPECT_EQ(widths[0], widths[1]) << c.Name;
    }
}
