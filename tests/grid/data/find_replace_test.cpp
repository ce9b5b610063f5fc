// Find, replace and the highlight and mark tags, on a small grid of fruit names.
#include "grid/control/pro_string_grid.h"
#include "support/made_grid.h"

#include <gtest/gtest.h>

namespace {

// One fixed column and row; data cells (1..3, 1..3).
const char* const kFruit[4][4] = {
    {"", "Fruit A", "Fruit B", "Fruit C"},
    {"r1", "Apple", "banana", "Cherry"},
    {"r2", "apple pie", "", "grape"},
    {"r3", "PINEAPPLE", "Banana", "kiwi"},
};

struct FindFixture : MadeGridFixture<TProStringGrid> {
    FindFixture() : MadeGridFixture(4, 4) {}
    void SetUp() override
    {
        MadeGridFixture::SetUp();
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 4; ++c) grid->SetCells(c, r, QString::fromUtf8(kFruit[r][c]));
    }
    QStringList Data()
    {
        QStringList l;
        for (int r = 1; r < 4; ++r)
            for (int c = 1; c < 4; ++c) l << grid->Cells(c, r);
        return l;
    }
};

TPoint P(int c, int r) { return {c, r}; }

}  // namespace

TEST_F(FindFixture, FindFirstFollowsTheOptions)
{
    struct Case {
        const char* Name;
        const char* Text;
        TFindParams Params;
        TPoint Expected;
    };
    const Case cases[] = {
        {"any case, column by column", "apple", {}, P(1, 1)},
        {"match case", "apple", {fnMatchCase}, P(1, 2)},
        {"whole cell in any case", "APPLE", {fnMatchFull}, P(1, 1)},
        {"whole cell with case finds none", "APPLE PIE", {fnMatchFull, fnMatchCase}, P(-1, -1)},
        {"start of cell, backwards", "apple", {fnMatchStart, fnBackward}, P(1, 2)},
        {"row by row backwards", "banana", {fnDirectionLeftRight, fnBackward}, P(2, 3)},
        {"row by row", "e", {fnDirectionLeftRight}, P(1, 1)},
        {"two quotes find an empty cell", "\"\"", {}, P(2, 2)},
        {"headers only with fixed cells", "Fruit", {}, P(-1, -1)},
        {"fixed cells included", "Fruit", {fnIncludeFixed}, P(1, 0)},
        {"empty text matches nothing", "", {}, P(-1, -1)},
        {"expression", "k*", {fnMatchRegular}, P(3, 3)},
    };
    for (const Case& c : cases) {
        const TPoint got = grid->FindFirst(QString::fromUtf8(c.Text), c.Params);
        EXPECT_EQ(got, c.Expected) << c.Name << ": got " << got.X << "," << got.Y;
        EXPECT_EQ(grid->SearchCell, c.Expected) << c.Name;
    }
}

TEST_F(FindFixture, FindIsLimitedToItsRegion)
{
    grid->FindCol = 3;
    EXPECT_EQ(grid->FindFirst("e", {fnFindInPresetCol}), P(3, 1));
    grid->FindRow = 2;
    EXPECT_EQ(grid->FindFirst("e", {fnFindInPresetRow}), P(1, 2));
    EXPECT_EQ(grid->FindFirst("kiwi", {fnFindInPresetRow}), P(-1, -1));
    grid->SetCol(2);
    EXPECT_EQ(grid->FindFirst("an", {fnFindInCurrentCol}), P(2, 1));
    grid->IgnoreColumns()->Add(1);
    EXPECT_EQ(grid->FindFirst("e", {fnDirectionLeftRight}), P(3, 1));
}

TEST_F(FindFixture, FindNextEndsAfterTheLastMatchAndThenStartsOver)
{
    EXPECT_EQ(grid->FindFirst("an", {}), P(2, 1));
    EXPECT_EQ(grid->FindNext(), P(2, 3));
    EXPECT_EQ(grid->FindNext(), P(-1, -1));
    EXPECT_FALSE(grid->FindBusy);
    EXPECT_EQ(grid->FindNext(), P(2, 1));
    // A match in the very last cell of the range ends the scan as well.
    EXPECT_EQ(grid->FindFirst("kiwi", {}), P(3, 3));
    EXPECT_EQ(grid->FindNext(), P(-1, -1));
    EXPECT_EQ(grid->FindFirst("kiwi", {fnAutoGoto}), P(3, 3));
    EXPECT_EQ(grid->Col(), 3);
    EXPECT_EQ(grid->Row(), 3);
}

TEST_F(FindFixture, ReplaceChangesEachMatchingCellOnce)
{
    struct Case {
        const char* Name;
        const char* Orig;
        const char* New;
        TFindParams Params;
        int Count;
        QStringList After;
    };
    const Case cases[] = {
        {"any case",
         "an",
         "AN",
         {},
         2,
         {"Apple", "bANANa", "Cherry", "apple pie", "", "grape", "PINEAPPLE", "BANANa", "kiwi"}},
        {"new text holds the old one",
         "apple",
         "apple tart",
         {},
         3,
         {"apple tart", "banana", "Cherry", "apple tart pie", "", "grape", "PINEapple tart", "Banana", "kiwi"}},
        {"match case",
         "apple",
         "pear",
         {fnMatchCase},
         1,
         {"Apple", "banana", "Cherry", "pear pie", "", "grape", "PINEAPPLE", "Banana", "kiwi"}},
        {"match in the last cell, text growing",
         "kiwi",
         "kiwi kiwi",
         {},
         1,
         {"Apple", "banana", "Cherry", "apple pie", "", "grape", "PINEAPPLE", "Banana", "kiwi kiwi"}},
        {"whole cell only",
         "banana",
         "plum",
         {fnMatchFull},
         2,
         {"Apple", "plum", "Cherry", "apple pie", "", "grape", "PINEAPPLE", "plum", "kiwi"}},
        {"row by row, backwards",
         "e",
         "ee",
         {fnDirectionLeftRight, fnBackward},
         5,
         {"Applee", "banana", "Cheerry", "applee piee", "", "grapee", "PINeeAPPLee", "Banana", "kiwi"}},
        {"empty text replaces nothing",
         "",
         "x",
         {},
         0,
         {"Apple", "banana", "Cherry", "apple pie", "", "grape", "PINEAPPLE", "Banana", "kiwi"}},
    };
    for (const Case& c : cases) {
        // Each case on a fresh grid.
        grid->Free();
        SetUp();
        EXPECT_EQ(grid->Replace(QString::fromUtf8(c.Orig), QString::fromUtf8(c.New), c.Params), c.Count) << c.Name;
        EXPECT_EQ(Data(), c.After) << c.Name;
    }
}

TEST_F(FindFixture, ReplaceWorksOnTheStoredTextOutsideTags)
{
    grid->FindRow = 2;
    EXPECT_EQ(grid->Replace("a", "_", {fnFindInPresetRow}), 2);
    EXPECT_EQ(grid->Cells(1, 2), "_pple pie");
    EXPECT_EQ(grid->Cells(3, 2), "gr_pe");

    grid->SetCells(1, 1, "<b>bold</b> b <i>B</i>");
    EXPECT_EQ(grid->Replace("b", "x", {fnMatchCase}), 2);  // banana too
    EXPECT_EQ(grid->Cells(1, 1), "<b>xold</b> x <i>B</i>");

    // The display text may differ from the stored one: the stored text is what changes.
    grid->OnGetDisplText = [](TObject*, int, int, QString& V) { V = V.toUpper(); };
    EXPECT_EQ(grid->Replace("KIWI", "lime", {}), 1);
    EXPECT_EQ(grid->GetGridCell(3, 3), "lime");
    EXPECT_EQ(grid->GetGridCell(2, 3), "Banana");
}

TEST_F(FindFixture, SearchLooksUpTheSortColumn)
{
    EXPECT_EQ(grid->Search("APP"), 1);
    EXPECT_EQ(grid->Search("APPLE "), 2);
    EXPECT_EQ(grid->Search("PI"), 3);
    EXPECT_EQ(grid->Search("X"), -1);
    grid->SortSettings()->SetShow(true);
    grid->SortSettings()->SetColumn(3);
    EXPECT_EQ(grid->Search("KI"), 3);
    grid->SortSettings()->SetColumn(-1);
    EXPECT_EQ(grid->Search("KI"), -1);
}

// ---- tagging ------------------------------------------------------------------------------------

namespace {
struct TagFixture : MadeGridFixture<TProStringGrid> {
    TagFixture() : MadeGridFixture(3, 4) {}
    void SetUp() override
    {
        MadeGridFixture::SetUp();
        for (int i = 0; i < int(Texts.size()); ++i) grid->SetCells(1 + i % 2, 1 + i / 2, Texts[i]);
    }
    QStringList Stored()
    {
        QStringList l;
        for (int i = 0; i < int(Texts.size()); ++i) l << grid->GetGridCell(1 + i % 2, 1 + i / 2);
        return l;
    }
    const QStringList Texts = {"R&amp;D", "a<b ab", "<b>bold</b> ab", "x&y AB", "<hi>old</hi> &amp;", "nothing"};
};
}  // namespace

TEST_F(TagFixture, HighlightMarksOnlyMatchingCellsAndUnhighlightRestoresEveryText)
{
    grid->HilightInGrid(false, false, "ab");
    EXPECT_EQ(Stored(), QStringList({"R&amp;D", "a&lt;b <hi>ab</hi>", "<b>bold</b> <hi>ab</hi>", "x&amp;y <hi>AB</hi>",
                                     "<hi>old</hi> &amp;", "nothing"}));
    grid->UnHilightInGrid(false);
    // Tags found in a cell the search did not mark go, its entities stay.
    QStringList back = Texts;
    back[4] = "old &amp;";
    EXPECT_EQ(Stored(), back);
}

TEST_F(TagFixture, TaggingHonoursCaseAndRangesAndKeepsEditedCells)
{
    grid->HilightInGrid(false, true, "ab");
    EXPECT_EQ(grid->GetGridCell(2, 2), "x&y AB");
    grid->UnHilightInGrid(false);

    grid->HilightInCol(false, false, 2, "<");
    EXPECT_EQ(grid->GetGridCell(2, 1), "a<hi>&lt;</hi>b ab");
    grid->HilightInCol(false, false, 1, "bold");
    EXPECT_EQ(grid->GetGridCell(1, 2), "<b><hi>bold</hi></b> ab");
    EXPECT_EQ(grid->GetGridCell(2, 2), "x&y AB");  // column 2 untouched by the second
    grid->UnHilightInCell(2, 1);
    EXPECT_EQ(grid->GetGridCell(2, 1), "a<b ab");
    EXPECT_EQ(grid->GetGridCell(1, 2), "<b><hi>bold</hi></b> ab");  // only the cell named
    grid->UnHilightInCol(false, 1);

    // Mark and highlight on one cell come off one after the other.
    grid->MarkInRow(false, false, 2, "x");
    grid->HilightInRow(false, false, 2, "ab");
    EXPECT_EQ(grid->GetGridCell(2, 2), "<e>x</e>&amp;y <hi>AB</hi>");
    grid->UnMarkInGrid(false);
    EXPECT_EQ(grid->GetGridCell(2, 2), "x&amp;y <hi>AB</hi>");
    grid->UnHilightInRow(false, 2);
    EXPECT_EQ(grid->GetGridCell(2, 2), "x&y AB");

    // A cell edited after tagging only loses its tags.
    grid->HilightInCell(false, 2, 2, "&");
    grid->SetCells(2, 2, grid->GetGridCell(2, 2) + " &amp;");
    grid->UnHilightInCell(2, 2);
    EXPECT_EQ(grid->GetGridCell(2, 2), "x&amp;y AB &amp;");
}

TEST(TagText, TextFunctionsWrapAndUnwrap)
{
    TProStringGrid* g = CreateGrid<TProStringGrid>();
    EXPECT_EQ(g->HilightText(false, "Abc abc", "abc"), "<hi>Abc</hi> <hi>abc</hi>");
    EXPECT_EQ(g->HilightText(true, "Abc abc", "abc"), "Abc <hi>abc</hi>");
    EXPECT_EQ(g->MarkText(false, "<b>x</b> x", "x"), "<b><e>x</e></b> <e>x</e>");
    EXPECT_EQ(g->UnHilightText("<HI>a</hi> &amp;"), "a &amp;");
    g->Free();
}
