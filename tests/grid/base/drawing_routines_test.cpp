#include "grid/base/drawing_routines.h"

#include "grid/base/grid_resources.h"

#include <gtest/gtest.h>

namespace {

constexpr TColor Back = 0x00FFFFFF;

// A small white picture to draw on; pixels read back as colours.
struct Picture {
    Picture(int w, int h) : bmp(w, h)
    {
        bmp.Canvas()->Brush()->SetColor(Back);
        bmp.Canvas()->FillRect({0, 0, w, h});
    }
    TCanvas* C() { return bmp.Canvas(); }
    TColor At(int x, int y) { return bmp.Canvas()->Pixels(x, y); }
    // The run of x where row y has colour c.
    int CountInRow(int y, TColor c)
    {
        int n = 0;
        for (int x = 0; x < bmp.Width(); ++x) n += At(x, y) == c;
        return n;
    }
    TBitmap bmp;
};

}  // namespace

TEST(GradientFillRect, BandsRunFromTheFirstColourToTheLastWithStepsLimitedToTheSize)
{
    // 10 pixels wide: 64 steps become 9, every column its own band from black to 0x0000FF.
    Picture p(10, 4);
    GradientFillRect(p.C(), clBlack, clRed, 64, {0, 0, 10, 4}, true);
    EXPECT_EQ(p.At(0, 0), clBlack);
    EXPECT_EQ(p.At(9, 3), clRed);
    for (int x = 1; x < 10; ++x) EXPECT_GT(GetRValue(p.At(x, 1)), GetRValue(p.At(x - 1, 1))) << x;

    // No steps: one step, two bands; the second covers only the far edge.
    Picture q(10, 4);
    GradientFillRect(q.C(), clBlack, clRed, 0, {0, 0, 10, 4}, true);
    EXPECT_EQ(q.CountInRow(2, clBlack), 9);
    EXPECT_EQ(q.At(9, 2), clRed);

    // Vertical and reversed: colour at the top, the other at the bottom, inside the rectangle only.
    Picture v(3, 12);
    GradientFillRect(v.C(), clBlue, clLime, 16, {0, 10, 3, 2}, false);
    EXPECT_EQ(v.At(1, 2), clBlue);
    EXPECT_EQ(v.At(1, 9), clLime);
    EXPECT_EQ(v.At(1, 1), Back);
    EXPECT_EQ(v.At(1, 10), Back);
}

TEST(GradientFillRect, AMissingColourGivesASolidFillOfTheOther)
{
    Picture p(6, 6);
    GradientFillRect(p.C(), clNone, clGreen, 64, {1, 1, 5, 5}, false);
    EXPECT_EQ(p.At(1, 1), clGreen);
    EXPECT_EQ(p.At(4, 4), clGreen);
    EXPECT_EQ(p.At(5, 5), Back);
}

TEST(ColourRoutines, ChannelArithmetic)
{
    EXPECT_EQ(BrightenColor(RGB(200, 200, 200), 50), RGB(44, 44, 44));  // 300 wraps
    EXPECT_EQ(BrightenColor(RGB(200, 200, 200), 10), RGB(220, 220, 220));
    EXPECT_EQ(BlendColorAt(0x123456, clNone, 0, 10, 5), TColor(0x123456));
    EXPECT_EQ(BlendColorAt(RGB(0, 0, 0), RGB(100, 200, 50), 0, 10, 5), RGB(50, 100, 25));
    EXPECT_EQ(BlendColorAt(RGB(0, 0, 0), RGB(100, 200, 50), 3, 3, 2), RGB(0, 0, 0));  // empty range
    EXPECT_EQ(DarkenColorHalf(RGB(255, 128, 7)), RGB(127, 64, 3));
    EXPECT_EQ(ColorToHex(RGB(0x12, 0xAB, 0x0C)), QStringLiteral("12AB0C"));
    EXPECT_EQ(SelectionStyleColors(ssWin7, true).BorderColor, TColor(0xCEA27D));
    EXPECT_EQ(SelectionStyleColors(ssOffice2007, false).ColorFrom, TColor(0xF8F8F8));
}

TEST(DrawSelectionGradient, ABoxWithRoundedCornersBordersAndAVerticalFill)
{
    const TSelectionColors& c = SelectionStyleColors(ssVista, true);
    Picture p(20, 20);
    DrawSelectionGradient(p.C(), c, clGray, {0, 0, 20, 20}, 0);
    // R = 19, B = 18: corners at columns 0/1 and 17/18, border rows 0 and 18.
    EXPECT_EQ(p.At(0, 0), clGray);
    EXPECT_EQ(p.At(1, 0), c.CornerColor);
    EXPECT_EQ(p.At(0, 1), c.CornerColor);
    EXPECT_EQ(p.At(2, 0), c.BorderColor);
    EXPECT_EQ(p.At(16, 0), c.BorderColor);
    EXPECT_EQ(p.At(18, 0), clGray);
    EXPECT_EQ(p.At(17, 0), c.CornerColor);
    EXPECT_EQ(p.At(0, 5), c.BorderColor);
    EXPECT_EQ(p.At(18, 5), c.BorderColor);
    EXPECT_EQ(p.At(17, 5), c.InnerTopColor);
    EXPECT_EQ(p.At(2, 18), c.BorderColor);
    EXPECT_EQ(p.At(0, 18), clGray);
    EXPECT_EQ(p.At(5, 1), c.InnerTopColor);
    EXPECT_EQ(p.At(5, 17), c.InnerBottomColor);
    EXPECT_EQ(p.At(5, 2), c.ColorFrom);    // fill from T + 2 ...
    EXPECT_EQ(p.At(5, 16), c.ColorTo);     // ... to B - 2
    EXPECT_EQ(p.At(19, 5), Back);          // the last column and row stay out
    EXPECT_EQ(p.At(5, 19), Back);

    // A middle cell of a wider selection: no corners, sides or insets.
    Picture m(20, 20);
    DrawSelectionGradient(m.C(), c, clGray, {0, 0, 20, 20}, 3);
    EXPECT_EQ(m.At(0, 0), c.BorderColor);
    EXPECT_EQ(m.At(0, 2), c.ColorFrom);
    EXPECT_EQ(m.At(18, 2), c.ColorFrom);
}

TEST(DrawGradientBackground, MirrorHalvesAndBorder)
{
    Picture p(10, 21);
    DrawGradientBackground(p.C(), {0, 0, 10, 20}, clBlack, clRed, clBlue, clLime, 1, clNone, false, true);
    EXPECT_EQ(p.At(4, 0), clBlack);
    EXPECT_EQ(p.At(4, 9), clRed);
    EXPECT_EQ(p.At(4, 10), clBlue);
    EXPECT_EQ(p.At(4, 19), clLime);

    // Solid fill with a border: the rectangle grows by one pixel at the bottom for both.
    Picture s(10, 12);
    DrawGradientBackground(s.C(), {0, 0, 10, 10}, clYellow, clNone, clNone, clNone, 1, clNavy, false, true);
    EXPECT_EQ(s.At(0, 10), clNavy);
    EXPECT_EQ(s.At(5, 9), clYellow);
    EXPECT_EQ(s.At(5, 11), Back);

    Picture sides(10, 10);
    DrawGradientBackground(sides.C(), {0, 0, 10, 10}, clNone, clNone, clNone, clNone, 0, clNavy, true, true);
    EXPECT_EQ(sides.At(0, 5), clNavy);
    EXPECT_EQ(sides.At(9, 5), clNavy);
    EXPECT_EQ(sides.At(5, 0), Back);
}

TEST(DrawValueBar, ValuesAreClampedAndGrowFromTheMiddle)
{
    Picture p(24, 8);  // inner 20 wide: middle at 12, half 10
    DrawValueBar(p.C(), {0, 0, 24, 8}, 200, 100, false, clRed, clGreen);
    EXPECT_EQ(p.CountInRow(4, clGreen), 10);
    EXPECT_EQ(p.At(12, 4), clGreen);
    EXPECT_EQ(p.At(21, 4), clGreen);

    Picture n(24, 8);
    DrawValueBar(n.C(), {0, 0, 24, 8}, -50, 100, false, clRed, clGreen);
    EXPECT_EQ(n.CountInRow(4, clRed), 5);
    EXPECT_EQ(n.At(7, 4), clRed);
    EXPECT_EQ(n.At(11, 4), clRed);

    Picture z(24, 8);  // no range: nothing to scale by
    DrawValueBar(z.C(), {0, 0, 24, 8}, 5, 0, false, clRed, clGreen);
    EXPECT_EQ(z.CountInRow(4, clGreen), 0);
}

TEST(DrawClassicProgress, BarLengthFollowsThePercentage)
{
    struct Case {
        double Position;
        QString Format;
        int BarEnd;  // of a 100-pixel bar starting at 0
    } cases[] = {
        {150, QString(), 100},                       // "150%", clamped to a full bar
        {5, QStringLiteral("%d items"), 50},         // 5 of 0..10
        {25, QString(), 25},
    };
    for (const Case& c : cases) {
        Picture p(104, 24);
        p.C()->Font()->SetColor(clBlack);
        DrawClassicProgress(p.C(), {2, 2, 102, 22}, clRed, clWhite, clGreen, clBlack, c.Position, 0, 0, 0, 10,
                            c.Format, clNone, false);
        // Row 3 lies above the text: the bar colour up to its end, the rest colour after it.
        EXPECT_EQ(p.At(2, 3), c.BarEnd > 0 ? clRed : clGreen) << c.Position;
        if (c.BarEnd < 100) {
            EXPECT_EQ(p.At(2 + c.BarEnd - 1, 3), clRed) << c.Position;
            EXPECT_EQ(p.At(2 + c.BarEnd, 3), clGreen) << c.Position;
        } else {
            EXPECT_EQ(p.At(101, 3), clRed) << c.Position;
        }
    }
}

TEST(DrawGradientProgress, EmptyAndFullBars)
{
    ProgressDrawInfo info;
    info.Level0Color = info.Level0ColorTo = clGreen;
    info.Level1Color = info.Level1ColorTo = clYellow;
    info.Level2Color = info.Level2ColorTo = clFuchsia;
    info.Level3Color = info.Level3ColorTo = clRed;
    info.Level1Perc = 50;
    info.Level2Perc = 75;
    info.ShowBorder = true;
    info.BorderColor = clBlack;
    info.BackgroundColor = clSilver;
    info.Stacked = true;

    Picture e(44, 12);
    DrawGradientProgress(e.C(), {0, 0, 44, 12}, 0, info);
    EXPECT_EQ(e.At(0, 5), clBlack);
    EXPECT_EQ(e.At(20, 5), clSilver);

    // usable 40: 20 green, 10 yellow, the rest (10) red; from x = 2 to 41.
    Picture f(44, 12);
    DrawGradientProgress(f.C(), {0, 0, 44, 12}, 100, info);
    EXPECT_EQ(f.At(2, 5), clGreen);
    EXPECT_EQ(f.At(21, 5), clGreen);
    EXPECT_EQ(f.At(22, 5), clYellow);
    EXPECT_EQ(f.At(32, 5), clRed);
    EXPECT_EQ(f.At(41, 5), clRed);
    EXPECT_EQ(f.At(43, 5), clBlack);
}

TEST(DrawProgressPie, AQuarterFillsTheUpperRightQuadrant)
{
    Picture p(41, 41);
    DrawProgressPie(p.C(), {0, 0, 41, 41}, clRed, 25, false);
    EXPECT_EQ(p.At(28, 12), clRed);
    EXPECT_NE(p.At(12, 12), clRed);
    EXPECT_NE(p.At(28, 28), clRed);
}

TEST(DrawShape, SquaresTakeTheShorterSideAndUnknownShapesDrawNothing)
{
    Picture p(20, 10);
    DrawShape(p.C(), 0, 0, 20, 10, csSquare, clRed, clRed);
    EXPECT_EQ(p.CountInRow(5, clRed), 8);  // (1, 1) to (9, 9)
    EXPECT_EQ(p.At(1, 1), clRed);
    EXPECT_EQ(p.At(8, 8), clRed);
    EXPECT_EQ(p.At(9, 5), Back);

    Picture q(20, 10);
    DrawShape(q.C(), 0, 0, 20, 10, TCellShape(19), clRed, clRed);
    EXPECT_EQ(q.CountInRow(5, clRed), 0);
}

TEST(Resources, GlyphsLoadByNameAndAMissingNameRaises)
{
    TBitmap b;
    LoadResourceBitmap(b, QStringLiteral("PSGCHK05"));
    EXPECT_EQ(b.Width(), 15);
    EXPECT_EQ(b.Height(), 15);
    LoadResourceBitmap(b, QStringLiteral("PSGRAD01"));
    EXPECT_EQ(b.Width(), 10);
    EXPECT_THROW(LoadResourceBitmap(b, QStringLiteral("NOSUCHBMP")), EResNotFound);

    // Drawn transparent: the key colour of the glyph's corner shows the back colour.
    Picture p(20, 20);
    DrawResourceBitmapTransparent(p.C(), clBlue, {2, 2, 17, 17}, QStringLiteral("PSGCHK06"));
    EXPECT_EQ(p.At(2, 2), clBlue);
    EXPECT_NE(p.At(3, 2), clBlue);
    EXPECT_EQ(p.At(1, 1), Back);
}
