#include "platform/ui/lb_button.h"

#include "platform/ui/forms.h"

#include <QCheckBox>
#include <QMenu>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {
QRgb Px(const QImage& img, int x, int y) { return img.pixel(x, y) & 0x00FFFFFFu; }
QRgb Rgb(TColor c) { return qRgb(GetRValue(c), GetGValue(c), GetBValue(c)) & 0x00FFFFFFu; }
}  // namespace

TEST(LbButton, HotTrackBlendFromFaceToYellow)
{
    const TColor expected[9] = {0xEDF7F8, 0xCFF8F8, 0xB1F9F9, 0x94FAFA, 0x76FBFB, 0x58FCFC, 0x3BFDFD, 0x1DFEFE, 0x00FFFF};
    for (int step = 0; step <= 8; ++step) EXPECT_EQ(BlendHotTrackColor(0xEDF7F8, 0x00FFFF, step), expected[step]) << step;
}

TEST(LbButton, ColorStyleAppliesPresetButReportsCustom)
{
    TLbButton b;
    b.SetStyle(bsNormal);
    b.SetColorStyle(lcsQuicken);
    EXPECT_EQ(b.Color(), 0x603000);
    EXPECT_EQ(b.FontColor(), 0xFFFFFF);
    EXPECT_EQ(b.Style(), bsQuicken);
    EXPECT_FALSE(b.TransparentStyle());  // only the Style property switches transparency
    EXPECT_EQ(b.ColorStyle(), lcsCustom);
    b.SetColorStyle(lcsUltraFlat2);
    EXPECT_EQ(b.ColorWhenDown(), 0x24DABC);
    EXPECT_TRUE(b.Flat());
}

TEST(LbButton, KindSetsGlyphCaptionAndResultUntilResultChanges)
{
    TLbButton b;
    b.SetKind(bkOK);
    EXPECT_EQ(b.NumGlyphs(), 2);
    EXPECT_EQ(b.Glyph().width(), 36);
    EXPECT_EQ(b.Caption(), "OK");
    EXPECT_EQ(b.ModalResult(), 1);
    EXPECT_EQ(b.Kind(), bkOK);
    b.SetModalResult(2);
    EXPECT_EQ(b.Kind(), bkCustom);
    b.SetKind(bkAll);
    EXPECT_EQ(b.ModalResult(), 12);
    EXPECT_EQ(b.Glyph().height(), 19);
    b.SetGlyph(QImage(60, 20, QImage::Format_RGB32));
    EXPECT_EQ(b.NumGlyphs(), 3);
    EXPECT_EQ(b.Kind(), bkCustom);
}

TEST(LbButton, MouseAndKeysClick)
{
    QWidget w;
    w.resize(300, 100);
    TLbButton b(&w);
    int clicks = 0;
    b.OnClick = [&] { ++clicks; };
    w.show();
    // a left press and a release outside: one click; a right press: none
    QTest::mousePress(&b, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(b.Down());
    QTest::mouseRelease(&b, Qt::LeftButton, {}, QPoint(250, 80));
    EXPECT_EQ(clicks, 1);
    QTest::mousePress(&b, Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_FALSE(b.Down());
    QTest::mouseRelease(&b, Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_EQ(clicks, 1);
    // Space down shows it pressed, the release clicks; a release whose key went down
    // elsewhere (or another key's) does not
    b.setFocus();
    QTest::keyPress(&b, Qt::Key_Space);
    EXPECT_TRUE(b.Down());
    QTest::keyRelease(&b, Qt::Key_Space);
    EXPECT_EQ(clicks, 2);
    QTest::keyRelease(&b, Qt::Key_Return);
    EXPECT_EQ(clicks, 2);
    QTest::keyPress(&b, Qt::Key_Space);
    QTest::keyRelease(&b, Qt::Key_Return);
    EXPECT_EQ(clicks, 2);
    QTest::keyClick(&b, Qt::Key_Return);
    EXPECT_EQ(clicks, 3);
    // disabled: no press, no click
    b.SetEnabled(false);
    QTest::mousePress(&b, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(&b, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(clicks, 3);
}

TEST(LbButton, ModalResultEndsForm)
{
    TForm f;
    TLbButton b(&f);
    b.SetModalResult(mrOk);
    f.show();
    b.Click();
    EXPECT_EQ(f.ModalResult(), mrOk);
}

TEST(LbButton, DefaultAndCancelKeysFromForm)
{
    TForm f;
    f.resize(300, 200);
    TLbButton def(&f), cancel(&f), other(&f);
    def.SetDefault(true);
    cancel.SetCancel(true);
    QCheckBox check(&f);
    QRadioButton radio(&f);
    int defClicks = 0, cancelClicks = 0, otherClicks = 0;
    def.OnClick = [&] { ++defClicks; };
    cancel.OnClick = [&] { ++cancelClicks; };
    other.OnClick = [&] { ++otherClicks; };
    f.show();
    QApplication::setActiveWindow(&f);

    struct Case { QWidget* focus; int key; Qt::KeyboardModifiers mods; int def, cancel, other; };
    const Case cases[] = {
        {&check, Qt::Key_Return, {}, 1, 0, 0},              // a check box leaves Enter to the default button
        {&radio, Qt::Key_Return, {}, 2, 0, 0},              // so does a radio button
        {&other, Qt::Key_Return, {}, 2, 0, 1},              // a focused button handles Enter itself
        {&check, Qt::Key_Escape, Qt::ControlModifier, 2, 0, 1},  // Ctrl+Escape is not taken
        {&check, Qt::Key_Escape, {}, 2, 1, 1},
    };
    for (const Case& c : cases) {
        c.focus->setFocus();
        ASSERT_EQ(QApplication::focusWidget(), c.focus);
        QTest::keyClick(c.focus, Qt::Key(c.key), c.mods);
        EXPECT_EQ(defClicks, c.def);
        EXPECT_EQ(cancelClicks, c.cancel);
        EXPECT_EQ(otherClicks, c.other);
    }
}

TEST(LbButton, AcceleratorClicks)
{
    TForm f;
    TLbButton b(&f);
    b.SetCaption("&Next");
    QCheckBox check(&f);
    int clicks = 0;
    b.OnClick = [&] { ++clicks; };
    f.show();
    check.setFocus();
    QTest::keyClick(&check, Qt::Key_N, Qt::AltModifier);
    QTest::keyClick(&check, Qt::Key_X, Qt::AltModifier);
    EXPECT_EQ(clicks, 1);
}

TEST(LbButton, SlowDeceaseFadesInEightTicks)
{
    QWidget w;
    TLbButton b(&w);
    b.SetColor(0xEDF7F8);
    b.SetHotTrackColor(0x00FFFF);
    b.SetSlowDecease(true);
    w.show();
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QApplication::sendEvent(&b, &enter);
    EXPECT_EQ(b.HotTrackStep(), 8);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&b, &leave);
    EXPECT_TRUE(b.Fading());
    for (int i = 7; i >= 0; --i) {
        b.FadeStep();
        EXPECT_EQ(b.HotTrackStep(), i);
        EXPECT_EQ(Px(b.Render(), 50, 2), Rgb(BlendHotTrackColor(0xEDF7F8, 0x00FFFF, i)));
    }
    EXPECT_FALSE(b.Fading());
    // switching the fade off mid-way shows the plain face at once
    QApplication::sendEvent(&b, &enter);
    QApplication::sendEvent(&b, &leave);
    b.FadeStep();
    b.SetSlowDecease(false);
    EXPECT_EQ(b.HotTrackStep(), 0);
    EXPECT_FALSE(b.Fading());
}

TEST(LbButton, PictureFrameGlyphAndDisabledLook)
{
    QWidget w;
    TLbButton b(&w);
    b.SetColor(0xEDF7F8);
    b.SetLightColor(0x00FF00);
    b.SetShadowColor(0x0000FF);
    // four 10 x 10 images in four colours, each with an olive bottom-left pixel
    QImage strip(40, 10, QImage::Format_RGB32);
    const QRgb colours[4] = {qRgb(255, 0, 0), qRgb(0, 0, 255), qRgb(0, 200, 0), qRgb(90, 90, 90)};
    for (int i = 0; i < 4; ++i) {
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 10; ++x) strip.setPixel(i * 10 + x, y, colours[i]);
        strip.setPixel(i * 10, 9, qRgb(128, 128, 0));
    }
    b.SetGlyph(strip);
    b.SetAlignment(taLeftJustify);
    w.show();
    QImage img = b.Render();
    // frame: light top-left, shadow bottom-right, the corner (W-1, 0) belongs to the shadow
    EXPECT_EQ(Px(img, 0, 0), Rgb(0x00FF00));
    EXPECT_EQ(Px(img, 0, 22), Rgb(0x00FF00));
    EXPECT_EQ(Px(img, 99, 0), Rgb(0x0000FF));
    EXPECT_EQ(Px(img, 50, 22), Rgb(0x0000FF));
    // empty caption, left alignment: the image at (4, (23 - 10) div 2)
    EXPECT_EQ(img.pixel(8, 9) & 0xFFFFFF, colours[0] & 0xFFFFFF);
    EXPECT_EQ(Px(img, 4, 15), Rgb(0xEDF7F8));  // its olive corner is transparent
    // hover shows the fourth image, a press the third (moved by one pixel)
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QApplication::sendEvent(&b, &enter);
    EXPECT_EQ(b.Render().pixel(8, 9) & 0xFFFFFF, colours[3] & 0xFFFFFF);
    QTest::mousePress(&b, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(b.Render().pixel(9, 10) & 0xFFFFFF, colours[2] & 0xFFFFFF);
    QTest::mouseRelease(&b, Qt::LeftButton, {}, QPoint(5, 5));
    // disabled: the second image, no hot-track face
    b.SetHotTrackColor(0x00FFFF);
    b.SetEnabled(false);
    img = b.Render();
    EXPECT_EQ(img.pixel(8, 9) & 0xFFFFFF, colours[1] & 0xFFFFFF);
    EXPECT_EQ(Px(img, 50, 2), Rgb(0xEDF7F8));
}

TEST(LbButton, DisabledCaptionIsGreyAndLongCaptionIsCut)
{
    QWidget w;
    TLbButton b(&w);
    b.resize(60, 23);
    b.SetColor(clWhite);
    b.SetCaption("A very long caption that cannot fit");
    b.SetEnabled(false);
    w.show();
    const QImage img = b.Render();
    // the darkest ink is the grey of a disabled caption (smoothing only lightens it)
    int darkest = 255;
    for (int y = 1; y < 22; ++y)
        for (int x = 1; x < 56; ++x) darkest = std::min(darkest, qGray(img.pixel(x, y)));
    EXPECT_NEAR(darkest, 128, 3);
    // the text is cut at the box (W - 8) without wrapping into a second line
    for (int y = 1; y < 22; ++y) EXPECT_EQ(Px(img, 57, y), Rgb(clWhite)) << y;
}

TEST(LbButton, ModernStyleLeavesCornersTransparent)
{
    QWidget w;
    TLbButton b(&w);
    b.SetStyle(bsModern);
    b.SetColor(0xC0C0C0);
    w.show();
    const QImage img = b.Render();
    EXPECT_EQ(qAlpha(img.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(img.pixel(50, 10)), 255);
    // the upper gradient runs from the light colour (row 2) towards the face (row 4)
    EXPECT_GT(qRed(img.pixel(50, 2)), qRed(img.pixel(50, 4)));
}

TEST(LbButton, PopupMenuAfterClickAndResult)
{
    TForm f;
    f.resize(200, 100);
    TLbButton b(&f);
    b.SetColor(clWhite);
    QMenu menu;
    menu.addAction("x");
    b.SetPopupMenu(&menu);
    b.SetModalResult(mrOk);
    QStringList order;
    b.OnClick = [&] { order << (menu.isVisible() ? "menu first" : "click") << QString::number(f.ModalResult()); };
    f.show();
    b.Click();
    EXPECT_EQ(order, QStringList({"click", "0"}));
    EXPECT_EQ(f.ModalResult(), mrOk);
    EXPECT_TRUE(menu.isVisible());
    EXPECT_EQ(menu.pos(), b.mapToGlobal(QPoint(0, b.height())));
    menu.hide();
    // the drop-down arrow: 5, 3 and 1 black pixels from (W - 11, H div 2 - 1)
    const QImage img = b.Render();
    for (int x = 0; x < 5; ++x) EXPECT_EQ(Px(img, 89 + x, 10), 0u) << x;
    EXPECT_EQ(Px(img, 91, 12), 0u);
    EXPECT_EQ(Px(img, 90, 12), Rgb(clWhite));
}
