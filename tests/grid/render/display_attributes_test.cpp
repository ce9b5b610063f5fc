// The look of a cell: which stage of the fixed order decides each value, and the text a
// cell shows and measures.
#include "grid/control/pro_string_grid.h"
#include "grid/render/display_attributes.h"
#include "support/grid_shots.h"

#include <gtest/gtest.h>

namespace {

// A grid of 5 x 8 cells, not shown.
Grid<TProStringGrid> LooksGrid()
{
    Grid<TProStringGrid> g(CreateGrid<TProStringGrid>());
    g->SetColCount(5);
    g->SetRowCount(8);
    g->resize(400, 300);
    return g;
}

struct Look {
    TColor Brush, ColorTo, Font;
    TGridDrawState State;
};

Look LookOf(TProStringGrid* g, int c, int r, bool select = true, TGridDrawState state = {})
{
    TBrush brush;
    TFont font;
    TColor to = 0, mirror = 0, mirrorTo = 0;
    TAlignment ha = taLeftJustify;
    TVAlignment va = vtaTop;
    bool ww = false;
    TCellGradientDirection gd = GradientHorizontal;
    g->GetVisualProperties(c, r, state, false, select, true, &brush, to, mirror, mirrorTo, &font, ha, va, ww, gd);
    return {brush.Color(), to, font.Color(), state};
}

}  // namespace

// Each stage overrides the earlier ones only for what it sets.
TEST(DisplayAttributes, StagesApplyInTheirOrder)
{
    struct Case {
        const char* Name;
        std::function<void(TProStringGrid*)> Setup;
        int Col, Row;
        TColor Brush, ColorTo;
        bool Fixed;
    };
    const TColor grid = clWindow;
    const Case cases[] = {
        {"plain cell: grid colour", [](TProStringGrid*) {}, 2, 3, grid, clNone, false},
        {"bands by display row", [](TProStringGrid* g) { g->Bands()->SetActive(true); }, 2, 1, clInfoBk, clNone, false},
        {"second band", [](TProStringGrid* g) { g->Bands()->SetActive(true); }, 2, 2, clWindow, clNone, false},
        {"property colour beats bands",
         [](TProStringGrid* g) {
             g->Bands()->SetActive(true);
             g->SetColors(2, 1, clRed);
         },
         2, 1, clRed, clNone, false},
        {"fixed cell: the look's gradient", [](TProStringGrid*) {}, 2, 0, 0xFFFFFF, ColorToRGB(clBtnFace), true},
        {"fixed cell with own colour stays", [](TProStringGrid* g) { g->SetColors(2, 0, clLime); }, 2, 0, clLime, clNone,
         false},
        {"hook after properties",
         [](TProStringGrid* g) {
             g->SetColors(3, 3, clRed);
             g->OnGetCellColor = [](TObject*, int, int, TGridDrawState, TBrush* b, TFont*) { b->SetColor(clYellow); };
         },
         3, 3, clYellow, clNone, false},
        {"gradient event after hook",
         [](TProStringGrid* g) {
             g->OnGetCellGradient = [](TObject*, int, int, TColor& c, TColor& to, TColor&, TColor&, TCellGradientDirection&) {
                 c = clAqua;
                 to = clBlue;
             };
         },
         3, 3, clAqua, clBlue, false},
        {"selection last",
         [](TProStringGrid* g) {
             g->SetColors(2, 2, clRed);
             g->SetSelection({2, 2, 3, 3});
         },
         2, 2, 0x00EACAB6, clNone, false},
        {"mixed selection: white over black",
         [](TProStringGrid* g) {
             g->SetColors(2, 2, clBlack);
             g->SetSelectionColor(clWhite);
             g->SetSelectionColorMixer(true);
             g->SetSelection({2, 2, 2, 2});
         },
         2, 2, 0x808080, clNone, false},
    };
    for (const Case& c : cases) {
        auto g = LooksGrid();
        c.Setup(g.get());
        const Look l = LookOf(g.get(), c.Col, c.Row);
        EXPECT_EQ(l.Brush, c.Brush) << c.Name;
        EXPECT_EQ(l.ColorTo, c.ColorTo) << c.Name;
        EXPECT_EQ(l.State.Contains(gdFixed), c.Fixed) << c.Name;
    }
}

TEST(DisplayAttributes, SelectionLookOnlyWhenAskedFor)
{
    auto g = LooksGrid();
    g->SetSelection({1, 1, 2, 2});
    const Look painted = LookOf(g.get(), 2, 2, true);
    EXPECT_EQ(painted.Brush, g->SelectionColor());
    EXPECT_EQ(painted.Font, g->SelectionTextColor());
    EXPECT_TRUE(painted.State.Contains(gdSelected));
    // The content pass asks without selection: the frame has painted it already.
    EXPECT_EQ(LookOf(g.get(), 2, 2, false).Brush, g->Color());
    // A fixed cell is never selected.
    EXPECT_FALSE(LookOf(g.get(), 0, 2, true).State.Contains(gdSelected));
}

TEST(DisplayAttributes, MixColors)
{
    struct Case {
        TColor C1, C2;
        int Percent;
        TColor Expected;
    } cases[] = {
        {clWhite, clBlack, 50, 0x808080},  // 127.5 rounds to even 128
        {clWhite, clBlack, 100, clWhite},
        {clWhite, clBlack, 0, clBlack},
        {clNone, clRed, 50, clRed},
        {clRed, clNone, 50, clRed},
        {0x0000C8, 0x000064, 25, 0x00007D},
    };
    for (const Case& c : cases) EXPECT_EQ(MixColors(c.C1, c.C2, c.Percent), c.Expected) << c.Percent;
}

TEST(DisplayAttributes, AlignmentOfNumbersFormulasAndProperties)
{
    auto g = LooksGrid();
    g->SetAutoNumAlign(true);
    g->SetCells(1, 1, QStringLiteral("12.5"));
    g->SetCells(1, 2, QStringLiteral("=12"));
    g->SetCells(1, 3, QStringLiteral("abc"));
    g->SetCells(2, 1, QStringLiteral("42"));
    g->SetAlignments(2, 1, taCenter);
    EXPECT_EQ(g->GetCellAlignment(1, 1).HA, taRightJustify);
    EXPECT_EQ(g->GetCellAlignment(1, 3).HA, taLeftJustify);
    // The properties decide over the number, but never the vertical alignment.
    EXPECT_EQ(g->GetCellAlignment(2, 1).HA, taCenter);
    g->OnGetAlignment = [](TObject*, int, int ACol, TAlignment& h, TVAlignment& v) {
        if (ACol == 1) h = taCenter, v = vtaBottom;
    };
    EXPECT_EQ(g->GetCellAlignment(1, 1).HA, taCenter);
    EXPECT_EQ(g->GetCellAlignment(1, 1).VA, vtaBottom);
}

TEST(DisplayAttributes, FormattedCellNeedsAHandlerAndAFittingFormat)
{
    auto g = LooksGrid();
    g->SetCells(1, 1, QStringLiteral("3.14159"));
    g->SetFloatFormat(QStringLiteral("%.1f"));
    EXPECT_EQ(g->GetFormattedCell(1, 1), QStringLiteral("3.14159"));
    QString format;
    g->OnGetFloatFormat = [&](TObject*, int, int, bool&, QString& f) { f = format; };
    format = QStringLiteral("%.2f");
    EXPECT_EQ(g->GetFormattedCell(1, 1), QStringLiteral("3.14"));
    format = QStringLiteral("%d");   // not an integer text: the raw text stays
    EXPECT_EQ(g->GetFormattedCell(1, 1), QStringLiteral("3.14159"));
    g->SetCells(1, 2, QStringLiteral("abc"));
    format = QStringLiteral("%.2f");
    EXPECT_EQ(g->GetFormattedCell(1, 2), QStringLiteral("abc"));
}

TEST(DisplayAttributes, MeasuringTexts)
{
    auto g = LooksGrid();
    const QSize empty = g->GetCellTextSize(1, 1, false, false);
    EXPECT_EQ(empty.width(), 0);
    const int line = empty.height();
    EXPECT_GT(line, 0);
    g->SetCells(1, 1, QStringLiteral("wide text\r\nx"));
    g->SetMultilinecells(true);
    const QSize two = g->GetCellTextSize(1, 1, false, false);
    EXPECT_EQ(two.height(), 2 * line);
    EXPECT_EQ(two.width(), g->Canvas()->TextWidth(QStringLiteral("wide text")));
}

TEST(DisplayAttributes, SortIndicatorRowNeedsMoreThanTheHeader)
{
    auto g = LooksGrid();
    g->SortSettings()->SetShow(true);
    EXPECT_TRUE(g->HasSortIndicator(1, 0));
    EXPECT_FALSE(g->HasSortIndicator(1, 1));
    g->SetRowCount(2);
    EXPECT_FALSE(g->HasSortIndicator(1, 0));
}
