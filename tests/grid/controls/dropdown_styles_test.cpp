#include "grid/controls/dropdown_styles.h"

#include "platform/ui/image_list.h"

#include <QImage>
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
    std::vector<TColor> Row(int y)
    {
        std::vector<TColor> r;
        for (int x = 0; x < bmp.Width(); ++x) r.push_back(At(x, y));
        return r;
    }
    bool AllBack()
    {
        for (int y = 0; y < bmp.Height(); ++y)
            for (int x = 0; x < bmp.Width(); ++x)
                if (At(x, y) != Back) return false;
        return true;
    }
    TBitmap bmp;
};

}  // namespace

TEST(DropDownStyle, PresetStylesColourFormBarsAndButtons)
{
    // a new drop-down carries Office 2007 Luna
    TDropDownStyle fresh;
    EXPECT_EQ(fresh.ComponentStyle(), tsOffice2007Luna);
    EXPECT_EQ(fresh.Colors.DropDownColor, 0xF3E5DAu);
    EXPECT_EQ(fresh.Colors.DropDownColorTo, 0xF0DED0u);
    EXPECT_EQ(fresh.Colors.DropDownBorderColor, clNone);
    EXPECT_EQ(fresh.Colors.Header, (TDropDownBarColors{0xFFEFE3, 0xFFD2AF, 0x723708, 0xFFD2AF}));
    EXPECT_EQ(fresh.Colors.ButtonAppearance.ColorTo, 0xFFDDC4u);

    struct Case { TProStyle Style; TColor Color, ColorTo; TDropDownBarColors Footer; TColor ButtonHot, ButtonCheckedTo; };
    const Case cases[] = {
        {tsOffice2003Classic, 0xF2F2F2, 0xF2F2F2, {0x808080, 0x808080, 0xFFFFFF, 0x808080}, 0xD2BDB6, 0xD8D5D4},
        {tsWindowsXP, 0xFFFFFF, clNone, {0xFFFFFF, clBtnFace, 0x000000, 0x808080}, 0xEFD3C6, 0xB9D8DC},
        {tsWindowsVista, 0xFFFFFF, 0xFFFFFF, {0xFFFAF0, 0xFFFDF9, 0x000000, 0xFCF2DA}, 0xFEF9F0, 0xFDF0D7},
        {tsTerminal, 0xFFFFFF, 0xFFFFFF, {clBtnFace, clBtnFace, 0x000000, clNone}, 0xC0C0C0, clBtnFace},
        {tsOffice2010Black, 0xFFFFFF, 0xF1EFED, {0xBFBFBF, 0x919191, 0xD7D7D6, 0x6D6D6D}, 0x8AE3FD, clNone},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Style);
        TDropDownStyle s;
        s.SetComponentStyle(c.Style);
        EXPECT_EQ(s.ComponentStyle(), c.Style);
        EXPECT_EQ(s.Colors.DropDownColor, c.Color);
        EXPECT_EQ(s.Colors.DropDownColorTo, c.ColorTo);
        EXPECT_EQ(s.Colors.Footer, c.Footer);
        EXPECT_EQ(s.Colors.ButtonAppearance.ColorHot, c.ButtonHot);
        EXPECT_EQ(s.Colors.ButtonAppearance.ColorCheckedTo, c.ButtonCheckedTo);
        // every border colour a style sets is a colour, a system colour or none
        const TColor b = s.Colors.ButtonAppearance.BorderColorChecked;
        EXPECT_TRUE(b <= 0xFFFFFF || b == clNone || (b & 0xFF000000) == 0xFF000000) << std::hex << b;
    }
}

TEST(DropDownStyle, CustomChangesNothingAndSomeStylesKeepTheFormBorder)
{
    TDropDownStyle s;
    s.Colors.DropDownBorderColor = 0x123456;
    s.Colors.Header.Color = 0x010203;
    const TDropDownColors before = s.Colors;
    s.SetComponentStyle(tsCustom);
    EXPECT_EQ(s.ComponentStyle(), tsCustom);
    EXPECT_EQ(s.Colors, before);

    for (int style = tsOffice2003Blue; style <= tsOffice2010Black; ++style) {
        if (style == tsCustom) continue;
        SCOPED_TRACE(style);
        TDropDownStyle t;
        t.Colors.DropDownBorderColor = 0x123456;
        t.SetComponentStyle(TProStyle(style));
        const bool keeps = style == tsOffice2003Blue || style == tsOffice2003Silver || style == tsWindowsXP;
        EXPECT_EQ(t.Colors.DropDownBorderColor == 0x123456, keeps);
    }
    TDropDownStyle w7;
    w7.SetComponentStyle(tsWindows7);
    EXPECT_EQ(w7.Colors.DropDownBorderColor, 0x979797u);
}

TEST(DropDownStyle, ColorTonesRecolourTheButtonAndTheEditBorder)
{
    TColorTones tones;
    tones.Background = {0x111111, 0x222222, 0};
    tones.Hover = {0x333333, 0, 0};
    tones.Selected = {0x444444, 0, 0};
    TDropDownStyle s;
    const TDropDownColors before = s.Colors;
    EXPECT_TRUE(s.SetColorTones(tones));
    EXPECT_EQ(s.Colors.ButtonColor, 0x111111u);
    EXPECT_EQ(s.Colors.ButtonColorHot, 0x333333u);
    EXPECT_EQ(s.Colors.ButtonColorDown, 0x444444u);
    EXPECT_EQ(s.Colors.ButtonBorderColor, 0x222222u);
    EXPECT_EQ(s.Colors.BorderColor, 0x222222u);
    EXPECT_EQ(s.Colors.Header, before.Header);
    // the same border again changes nothing that needs a repaint
    EXPECT_FALSE(s.SetColorTones(tones));
}

TEST(SelectionLook, PresetsSetTheColoursAndDrawTheirBox)
{
    TSelectionLook look;
    EXPECT_EQ(look.Style(), scOffice2007);
    EXPECT_EQ(look.SelectionColor, 0xD7FFFDu);
    EXPECT_EQ(look.SelectionColorTo, 0x58D4FCu);
    look.SetSelectionColorStyle(scWindows7);
    EXPECT_EQ(look.SelectionColor, 0xFCEBDCu);
    EXPECT_EQ(look.SelectionColorTo, 0xFCDBC1u);
    look.SetSelectionColorStyle(scWindowsVista);
    EXPECT_EQ(look.SelectionColor, 0xFDF8F1u);
    look.SelectionColor = 0x0000FF;
    look.SetSelectionColorStyle(scCustom);
    EXPECT_EQ(look.SelectionColor, 0x0000FFu);

    // custom: a plain fill of the rectangle, nothing outside it
    Picture p(12, 8);
    look.DrawSelection(p.C(), {2, 2, 10, 6}, Back, 0);
    EXPECT_EQ(p.At(2, 2), 0x0000FFu);
    EXPECT_EQ(p.At(9, 5), 0x0000FFu);
    EXPECT_EQ(p.At(1, 2), Back);
    EXPECT_EQ(p.At(10, 5), Back);
    EXPECT_EQ(p.At(5, 6), Back);

    // Windows 7: the rounded box with its border colour along the edge and its fill inside
    TSelectionLook w7;
    w7.SetSelectionColorStyle(scWindows7);
    Picture q(20, 12);
    w7.DrawSelection(q.C(), {0, 0, 20, 12}, Back, 0);
    EXPECT_EQ(q.At(10, 0), 0xCEA27Du);
    EXPECT_NE(q.At(10, 6), Back);

    // a style beyond the four draws nothing
    TSelectionLook odd;
    odd.SetSelectionColorStyle(TSelectionColorStyle(9));
    Picture r(8, 8);
    odd.DrawSelection(r.C(), {0, 0, 8, 8}, Back, 0);
    EXPECT_TRUE(r.AllBack());
}

TEST(DrawGradient, BandsOverlapByOnePixelAndRoundToEven)
{
    // 11 pixels, 2 steps: usable width 10, bands of 5 at x 0 and 5, each 6 wide; the second
    // band's red is nearest(5 / 2) = 2 (ties to even)
    Picture p(11, 3);
    DrawGradient(p.C(), RGB(0, 0, 0), RGB(5, 0, 0), 2, {0, 0, 11, 3}, true);
    const std::vector<TColor> want = {0, 0, 0, 0, 0, RGB(2, 0, 0), RGB(2, 0, 0), RGB(2, 0, 0), RGB(2, 0, 0),
                                      RGB(2, 0, 0), RGB(2, 0, 0)};
    EXPECT_EQ(p.Row(1), want);

    // vertical over rows 2 to 7: usable height 5, bands of 1.25 at y 2, 3, 4 and 6, each
    // nearest(1.25) + 1 = 2 high; blue 255 falls by 155 / 4 per band, -77.5 rounding to -78
    Picture v(3, 10);
    DrawGradient(v.C(), clBlue, RGB(0, 0, 100), 4, {0, 2, 3, 8}, false);
    std::vector<int> blue;
    for (int y = 0; y < 10; ++y) blue.push_back(v.At(1, y) == Back ? -1 : GetBValue(v.At(1, y)));
    EXPECT_EQ(blue, (std::vector<int>{-1, -1, 255, 216, 177, 177, 139, 139, -1, -1}));

    // no steps: one band, the whole rectangle in the first colour
    Picture z(9, 4);
    DrawGradient(z.C(), clRed, clBlue, 0, {0, 0, 9, 4}, true);
    for (int x = 0; x < 9; ++x) EXPECT_EQ(z.At(x, 2), clRed) << x;

    // the item gradient takes its direction as vertical
    Picture i(4, 9);
    DrawItemGradient(i.C(), clRed, clBlue, 0, {0, 0, 4, 9}, true);
    for (int y = 0; y < 9; ++y) EXPECT_EQ(i.At(1, y), clRed) << y;
}

TEST(ColourArithmetic, BlendAndScaleChannels)
{
    struct Blend { TColor Color, ColorTo; int Percent; TColor Want; };
    const Blend blends[] = {
        {RGB(10, 20, 30), RGB(200, 100, 50), 100, RGB(10, 20, 30)},
        {RGB(10, 20, 30), RGB(200, 100, 50), 250, RGB(10, 20, 30)},
        {RGB(10, 20, 30), RGB(200, 100, 50), 0, RGB(200, 100, 50)},
        {RGB(10, 20, 30), RGB(200, 100, 50), -5, RGB(200, 100, 50)},
        {RGB(100, 0, 0), RGB(0, 0, 0), 50, RGB(50, 0, 0)},
        {RGB(1, 3, 5), RGB(0, 0, 0), 50, RGB(0, 2, 2)},   // 0.5, 1.5, 2.5: ties to even
        {0xFFFFFF, 0x000000, 20, RGB(51, 51, 51)},
    };
    for (const Blend& b : blends)
        EXPECT_EQ(BlendColorPercent(b.Color, b.ColorTo, b.Percent), b.Want) << b.Percent << " " << std::hex << b.Color;

    EXPECT_EQ(ScaleColorChannels(RGB(200, 100, 0), -10, 20, 5), RGB(180, 100, 5));
    // a zero channel takes the delta, at most a channel's 255
    EXPECT_EQ(ScaleColorChannels(RGB(0, 0, 0), -10, 0, 300), RGB(0, 0, 255));
    EXPECT_EQ(ScaleColorChannels(RGB(5, 0, 0), -50, 0, 0), RGB(2, 0, 0));   // 2.5 to even
}

TEST(DrawBackgroundRect, FillGradientAndFrame)
{
    DrawBackgroundRect(nullptr, {0, 0, 4, 4}, clRed, clNone, clBlack, 1, false);   // no canvas: nothing

    Picture p(10, 10);
    DrawBackgroundRect(p.C(), {1, 1, 9, 9}, clRed, clNone, clBlack, 1, false);
    EXPECT_EQ(p.At(0, 0), Back);
    EXPECT_EQ(p.At(1, 1), clBlack);
    EXPECT_EQ(p.At(8, 8), clBlack);
    EXPECT_EQ(p.At(4, 4), clRed);

    // a gradient of 80 bands runs left to right unless vertical; no border colour, no frame.
    // On 20 pixels the bands are 0.2375 apart: band 2 (green 5) is the last at x 0 and band 79
    // (green nearest(197.5) = 198) the last at x 19
    Picture h(20, 6);
    DrawBackgroundRect(h.C(), {0, 0, 20, 6}, RGB(0, 0, 0), RGB(0, 200, 0), clNone, 1, false);
    EXPECT_EQ(h.At(0, 3), RGB(0, 5, 0));
    EXPECT_EQ(h.At(19, 3), RGB(0, 198, 0));
    EXPECT_EQ(h.At(5, 0), h.At(5, 5));
    Picture v(6, 20);
    DrawBackgroundRect(v.C(), {0, 0, 6, 20}, RGB(0, 0, 0), RGB(0, 200, 0), clNone, 0, true);
    EXPECT_EQ(v.At(3, 0), RGB(0, 5, 0));
    EXPECT_EQ(v.At(3, 19), RGB(0, 198, 0));
    EXPECT_EQ(v.At(0, 5), v.At(5, 5));
}

TEST(DrawImageAndText, ImageSitsFourPixelsInAndVerticallyCentred)
{
    TCustomImageList images(4, 4);
    QImage red(4, 4, QImage::Format_RGB32);
    red.fill(QColor(255, 0, 0));
    images.Add(red);

    Picture p(40, 12);
    DrawImageAndText(p.C(), {0, 0, 40, 12}, QString(), &images, 0);
    EXPECT_EQ(p.At(4, 4), clRed);
    EXPECT_EQ(p.At(7, 7), clRed);
    EXPECT_EQ(p.At(3, 4), Back);
    EXPECT_EQ(p.At(4, 3), Back);
    EXPECT_EQ(p.At(8, 4), Back);

    // without an image index nothing but the text is drawn, centred
    Picture q(60, 16);
    q.C()->Font()->SetColor(clBlack);
    DrawImageAndText(q.C(), {0, 0, 60, 16}, QStringLiteral("I"), &images, -1);
    int left = -1, right = -1;
    for (int x = 0; x < 60; ++x)
        for (int y = 0; y < 16; ++y)
            if (q.At(x, y) != Back) {
                if (left < 0) left = x;
                right = x;
            }
    ASSERT_GE(left, 0);
    EXPECT_NEAR((left + right) / 2.0, 30, 3);
}

TEST(DrawTransparentGlyph, TheTopLeftColourBecomesTheBackground)
{
    TBitmap glyph(3, 3);
    glyph.Canvas()->Brush()->SetColor(clLime);
    glyph.Canvas()->FillRect({0, 0, 3, 3});
    glyph.Canvas()->SetPixels(1, 1, clRed);

    Picture p(8, 8);
    DrawTransparentGlyph(p.C(), glyph, clBlue, {2, 2, 6, 6});
    EXPECT_EQ(p.At(2, 2), clBlue);
    EXPECT_EQ(p.At(3, 3), clRed);
    EXPECT_EQ(p.At(4, 4), clBlue);
    EXPECT_EQ(p.At(5, 5), clBlue);   // past the glyph, inside Rect
    EXPECT_EQ(p.At(6, 6), Back);
    EXPECT_EQ(p.At(1, 1), Back);
}

TEST(TextRoutines, MeasureFitHtmlAndCaseFold)
{
    Picture p(200, 40);
    TCanvas* c = p.C();
    EXPECT_EQ(MeasureText(c, QString()), QSize(0, 0));
    const QSize wide = MeasureText(c, QStringLiteral("Wide text"));
    EXPECT_EQ(wide.width(), c->TextWidth(QStringLiteral("Wide text")));
    EXPECT_GT(wide.height(), 0);

    // a text that fits comes back unchanged, without an ellipsis
    EXPECT_EQ(FitTextToWidth(c, QStringLiteral("Wide text"), wide.width() + 5, true), QStringLiteral("Wide text"));
    const int half = wide.width() / 2 + 8;
    const QString cut = FitTextToWidth(c, QStringLiteral("Wide text"), half, true);
    EXPECT_TRUE(cut.endsWith(QStringLiteral("..."))) << cut.toStdString();
    EXPECT_LT(c->TextWidth(cut), half);
    EXPECT_GT(cut.size(), 3);
    const QString plain = FitTextToWidth(c, QStringLiteral("Wide text"), half, false);
    EXPECT_TRUE(QStringLiteral("Wide text").startsWith(plain));
    EXPECT_LT(c->TextWidth(plain), half);
    // nothing fits: the whole text
    EXPECT_EQ(FitTextToWidth(c, QStringLiteral("Wide text"), 1, true), QStringLiteral("Wide text"));

    EXPECT_EQ(DrawHtmlCaption(c, QString(), {0, 0, 200, 40}, nullptr, true), QSize(0, 0));
    const QSize measured = DrawHtmlCaption(c, QStringLiteral("<b>Bold</b> text"), {0, 0, 200, 40}, nullptr, false);
    EXPECT_GT(measured.width(), 0);
    EXPECT_GT(measured.height(), 0);
    EXPECT_TRUE(p.AllBack());   // measuring draws nothing
    const QSize drawn = DrawHtmlCaption(c, QStringLiteral("<b>Bold</b> text"), {0, 0, 200, 40}, nullptr, true);
    EXPECT_EQ(drawn, measured);
    EXPECT_FALSE(p.AllBack());

    EXPECT_EQ(CaseFoldText(QStringLiteral("aBc"), true), QStringLiteral("aBc"));
    EXPECT_EQ(CaseFoldText(QStringLiteral("aBc"), false), QStringLiteral("ABC"));
}
