#include "grid/base/grid_resources.h"
#include "grid/control/pro_string_grid.h"

#include <gtest/gtest.h>

namespace {

constexpr TColor Back = clGray;

struct GlyphFixture : ::testing::Test {
    void SetUp() override
    {
        grid = CreateGrid<TProStringGrid>();
        grid->resize(300, 200);
        Clear();
    }
    void Clear()
    {
        canvasImage.Canvas()->Brush()->SetColor(Back);
        canvasImage.Canvas()->FillRect({0, 0, canvasImage.Width(), canvasImage.Height()});
    }
    void TearDown() override { grid->Free(); }
    TCanvas* C() { return canvasImage.Canvas(); }
    TColor At(int x, int y) { return canvasImage.Canvas()->Pixels(x, y); }
    // The picture a resource glyph gives when drawn at (x, y) on the same background.
    QImage Expected(const QString& name, int x, int y)
    {
        TBitmap expected(canvasImage.Width(), canvasImage.Height());
        expected.Canvas()->Brush()->SetColor(Back);
        expected.Canvas()->FillRect({0, 0, expected.Width(), expected.Height()});
        TBitmap glyph;
        LoadResourceBitmap(glyph, name);
        expected.Canvas()->Draw(x, y, glyph);
        return expected.Image().convertToFormat(QImage::Format_RGB32);
    }
    QImage Drawn() { return canvasImage.Image().convertToFormat(QImage::Format_RGB32); }

    TProStringGrid* grid = nullptr;
    TBitmap canvasImage{300, 60};
};

}  // namespace

TEST_F(GlyphFixture, XPCheckBoxesPickTheirBitmapByStateAndTheDisabledLookSettings)
{
    struct Case {
        bool Checked, Enabled, NoDisabledLook, AlwaysActive;
        const char* Bitmap;
    } cases[] = {
        {true, true, false, false, "PSGCHK05"},  {true, false, false, false, "PSGCHK07"},
        {false, true, false, false, "PSGCHK06"}, {false, false, false, false, "PSGCHK08"},
        {true, false, true, false, "PSGCHK05"},  {true, false, false, true, "PSGCHK05"},
        {false, false, true, false, "PSGCHK06"},
    };
    for (const Case& c : cases) {
        Clear();
        grid->ControlLook()->SetNoDisabledCheckRadioLook(c.NoDisabledLook);
        grid->ControlLook()->SetCheckAlwaysActive(c.AlwaysActive);
        grid->DrawCheck(C(), {10, 5, 40, 35}, c.Checked, c.Enabled, false, csWinXP, false, 0);
        EXPECT_EQ(Drawn(), Expected(QString::fromLatin1(c.Bitmap), 10, 5)) << c.Bitmap;
    }
}

TEST_F(GlyphFixture, TriStateValuesDecideTheState)
{
    grid->DrawCheck(C(), {0, 0, 20, 20}, false, true, false, csZUZ, true, 1);
    EXPECT_EQ(Drawn(), Expected(QStringLiteral("PSGCHK01"), 0, 0));
}

TEST_F(GlyphFixture, AGlyphLargerThanItsCellStaysInsideTheCell)
{
    // a 15-pixel box in a cell only 8 pixels wide and 6 high
    const TRect cell{10, 10, 18, 16};
    grid->DrawCheck(C(), {10, 10, 25, 25}, true, true, false, csWinXP, false, 0, cell);
    bool inside = false;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) {
            const bool in = PtInRect(cell, {x, y});
            if (!in) EXPECT_EQ(At(x, y), Back) << x << "," << y;
            else inside |= At(x, y) != Back;
        }
    EXPECT_TRUE(inside);
}

TEST_F(GlyphFixture, BorlandCheckMarkTakesTheLookColourOrGreyWhenDisabled)
{
    grid->ControlLook()->SetColor(clRed);
    grid->DrawCheck(C(), {0, 0, 15, 15}, true, true, false, csBorland, false, 0);
    grid->DrawCheck(C(), {20, 0, 35, 15}, true, false, false, csBorland, false, 0);
    // first stroke: (L + 2, T + 7) down to (L + 2, B - 2)
    EXPECT_EQ(At(2, 9), clRed);
    EXPECT_EQ(At(22, 9), TColor(0x808080));
    EXPECT_EQ(At(30, 8), ColorToRGB(clBtnShadow));  // a disabled box is filled in the shadow colour
    EXPECT_EQ(At(10, 8), ColorToRGB(clBtnFace));
}

TEST_F(GlyphFixture, ARadioGroupWithoutIndexSelectsEveryOptionEqualToTheCellText)
{
    grid->SetCells(1, 1, QStringLiteral("a"));
    grid->ControlLook()->SetColor(clRed);
    TGridStrings items;
    items.SetStrings({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("a")});
    grid->DrawRadio(C(), {0, 0, 100, 60}, 3, -1, false, false, &items, false, 1, 1, csBorland, 1.0, false);
    const int row = std::max(16, C()->TextHeight(QStringLiteral("gh")));
    // inner diamond of option i around (8, row x (i - 1) + 8)
    EXPECT_EQ(At(8, 8), clRed);
    EXPECT_NE(At(8, row + 8), clRed);
    EXPECT_EQ(At(8, 2 * row + 8), clRed);

    // an index selects that option alone
    Clear();
    grid->DrawRadio(C(), {0, 0, 100, 60}, 3, 1, false, false, &items, false, 1, 1, csBorland, 1.0, false);
    EXPECT_NE(At(8, 8), clRed);
    EXPECT_EQ(At(8, row + 8), clRed);
}

TEST_F(GlyphFixture, SortIndexWithAnIncompleteGlyphPairDrawsNumberedTriangles)
{
    grid->SortSettings()->SetIndexShow(true);
    grid->SortSettings()->SetIndexColor(clYellow);
    grid->SortSettings()->IndexUpGlyph()->SetSize(14, 14);  // the down glyph stays empty
    grid->SortSettings()->IndexUpGlyph()->Canvas()->Brush()->SetColor(clGreen);
    grid->SortSettings()->IndexUpGlyph()->Canvas()->FillRect({0, 0, 14, 14});
    grid->SortIndexes()->AddIndex(2, false);
    grid->SortIndexes()->AddIndex(3, true);

    grid->DrawSortIndicator(C(), 2, 20, 20);  // descending: point down
    EXPECT_EQ(At(15, 16), clYellow);
    grid->DrawSortIndicator(C(), 3, 60, 20);  // ascending: point up
    EXPECT_EQ(At(56, 27), clYellow);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 100; ++x) ASSERT_NE(At(x, y), clGreen);
    // a column that is not sorted shows nothing
    const QImage before = Drawn();
    grid->DrawSortIndicator(C(), 1, 100, 20);
    EXPECT_EQ(Drawn(), before);
}

TEST_F(GlyphFixture, TheSortArrowMirrorsItsPositionInARightToLeftGrid)
{
    grid->SortSettings()->SetDirection(sdAscending);
    grid->DrawSortIndicator(C(), 1, 20, 20);
    EXPECT_EQ(At(20, 24), clWhite);  // base line of the outline, (X - 4, Y + 4) to (X + 4, Y + 4)

    Clear();
    grid->setLayoutDirection(Qt::RightToLeft);
    const int x = grid->ClientWidth() - 20 - 4 - 7;
    ASSERT_LT(x + 4, 300);
    grid->DrawSortIndicator(C(), 1, 20, 20);
    EXPECT_EQ(At(x, 24), clWhite);
    EXPECT_NE(At(20, 24), clWhite);
}
