#include "grid/base/grid_controls.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct ControlsFixture : ::testing::Test {
    QWidget Window;
    void SetUp() override
    {
        Window.resize(300, 120);
        Window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window));
        QApplication::setActiveWindow(&Window);
    }
    TProGridButton* Button(int x, int group = 0)
    {
        auto* b = new TProGridButton(&Window);
        b->setGeometry(x, 10, 60, 23);
        b->SetCaption(QStringLiteral("Go"));
        b->SetGroupIndex(group);
        b->show();
        return b;
    }
    static void Click(QWidget* w, QPoint at = QPoint(5, 5)) { QTest::mouseClick(w, Qt::LeftButton, {}, at); }
    static QRgb Pixel(QWidget* w, int x, int y) { return w->grab().toImage().pixel(x, y) & 0xFFFFFF; }
};

}  // namespace

TEST_F(ControlsFixture, AClickOnAPlainButtonFiresClickAndLeavesItUp)
{
    TProGridButton* b = Button(10);
    int clicks = 0;
    b->OnClick = [&](TObject* s) {
        EXPECT_EQ(s, b);
        ++clicks;
    };
    Click(b);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(b->Down());
    EXPECT_EQ(b->State(), TProGridButton::bsUp);
    // a press that is released outside is no click
    QTest::mousePress(b, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseMove(b, QPoint(200, 5));
    QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(200, 5));
    EXPECT_EQ(clicks, 1);
    // a plain button without a group cannot be held down
    b->SetDown(true);
    EXPECT_FALSE(b->Down());
}

TEST_F(ControlsFixture, ACheckStyleButtonTogglesOnEachClick)
{
    TProGridButton* b = Button(10);
    b->SetStyle(tasCheck);
    Click(b);
    EXPECT_TRUE(b->Down());
    Click(b);
    EXPECT_FALSE(b->Down());
}

TEST_F(ControlsFixture, AGroupKeepsOneButtonDownAndAllowAllUpLetsTheLastOneUp)
{
    TProGridButton* a = Button(10, 1);
    TProGridButton* b = Button(80, 1);
    TProGridButton* other = Button(150, 2);
    other->SetDown(true);
    Click(a);
    EXPECT_TRUE(a->Down());
    Click(b);
    EXPECT_TRUE(b->Down());
    EXPECT_FALSE(a->Down());
    EXPECT_TRUE(other->Down());  // another group is not touched
    // without AllowAllUp the down button stays down when clicked again
    Click(b);
    EXPECT_TRUE(b->Down());
    // AllowAllUp spreads over the group
    a->SetAllowAllUp(true);
    EXPECT_TRUE(b->AllowAllUp());
    Click(b);
    EXPECT_FALSE(b->Down());
    EXPECT_FALSE(a->Down());
    // setting Down in code pushes the others up too
    a->SetDown(true);
    b->SetDown(true);
    EXPECT_FALSE(a->Down());
}

TEST_F(ControlsFixture, TheDropDownPartFiresDropDownInsteadOfClick)
{
    TProGridButton* b = Button(10);
    b->SetDropDownButton(true);
    int clicks = 0, drops = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    b->OnDropDown = [&](TObject*) { ++drops; };
    Click(b, QPoint(b->width() - 5, 10));
    EXPECT_EQ(drops, 1);
    EXPECT_EQ(clicks, 0);
    Click(b, QPoint(b->width() - 20, 10));
    EXPECT_EQ(drops, 1);
    EXPECT_EQ(clicks, 1);
}

TEST_F(ControlsFixture, ADisabledButtonIgnoresClicksAndLooksDisabled)
{
    TProGridButton* b = Button(10);
    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    b->setEnabled(false);
    Click(b);
    EXPECT_EQ(clicks, 0);
    b->grab();
    EXPECT_EQ(b->State(), TProGridButton::bsDisabled);
    b->setEnabled(true);
    b->grab();
    EXPECT_EQ(b->State(), TProGridButton::bsUp);
}

TEST_F(ControlsFixture, TheMouseOverAFlatButtonPaintsItsHotColour)
{
    TProGridButton* b = Button(10);
    b->SetCaption(QString());
    b->SetColor(clWhite);
    b->SetColorHot(clRed);
    b->SetColorDown(clBlue);
    EXPECT_EQ(Pixel(b, 30, 12), 0xFFFFFFu);
    QTest::mouseMove(b, QPoint(30, 12));
    QApplication::processEvents();
    ASSERT_TRUE(b->MouseInControl());
    EXPECT_EQ(Pixel(b, 30, 12), 0xFF0000u);
    QTest::mousePress(b, Qt::LeftButton, {}, QPoint(30, 12));
    EXPECT_EQ(Pixel(b, 30, 12), 0x0000FFu);
    QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(30, 12));
    QTest::mouseMove(&Window, QPoint(250, 100));
    QApplication::processEvents();
    EXPECT_FALSE(b->MouseInControl());
    EXPECT_EQ(Pixel(b, 30, 12), 0xFFFFFFu);
}

TEST_F(ControlsFixture, LookPresetsSetTheirColoursAndUnknownLooksChangeNothing)
{
    TProGridButton* b = Button(10);
    b->SetLook(2);
    EXPECT_EQ(b->Color(), TColor(0xFDEADA));
    EXPECT_EQ(b->ColorDownTo(), TColor(0x8ED3FF));
    EXPECT_EQ(b->BorderHotColor(), TColor(0x000000));
    EXPECT_FALSE(b->Rounded());
    b->SetLook(7);
    EXPECT_EQ(b->Look(), 2);
    EXPECT_EQ(b->Color(), TColor(0xFDEADA));
    b->SetLook(0);
    EXPECT_TRUE(b->Rounded());
    EXPECT_EQ(b->BorderDownColor(), TColor(0xAF987A));
    EXPECT_EQ(b->BorderHotColor(), TColor(0xC3CECE));
    EXPECT_EQ(b->BorderColor(), clNone);
}

TEST_F(ControlsFixture, AGlyphGetsAGreyDisabledCopyAndAShadow)
{
    TProGridButton* b = Button(10);
    TBitmap g(4, 4);
    g.Canvas()->Brush()->SetColor(clWhite);
    g.Canvas()->FillRect(TRect{0, 0, 4, 4});
    g.Canvas()->SetPixels(1, 1, RGB(30, 60, 90));
    b->SetGlyph(g);
    const QImage grey = b->GlyphDisabled()->Image();
    // (30 + 60 + 90) / 3 = 60, then 60 div 2 + 96
    EXPECT_EQ(grey.pixel(1, 1) & 0xFFFFFF, 0x7E7E7Eu);
    const QImage shade = b->GlyphShade()->Image();
    EXPECT_EQ(shade.pixel(1, 1) & 0xFFFFFF, 0x808080u);
    EXPECT_NE(shade.pixel(2, 2) & 0xFFFFFF, 0x808080u);
}

TEST_F(ControlsFixture, ACheckBoxTogglesOnClickAndSpace)
{
    auto* c = new TProCheckBox(&Window);
    c->move(10, 50);
    c->SetCaption(QStringLiteral("Match case"));
    c->show();
    int clicks = 0;
    c->OnClick = [&](TObject*) { ++clicks; };
    Click(c, QPoint(5, 8));
    EXPECT_TRUE(c->Checked());
    EXPECT_TRUE(c->hasFocus() || QApplication::focusWidget() == c);
    QTest::keyPress(c, Qt::Key_Space);
    EXPECT_TRUE(c->Down());
    QTest::keyRelease(c, Qt::Key_Space);
    EXPECT_FALSE(c->Down());
    EXPECT_FALSE(c->Checked());
    EXPECT_EQ(clicks, 2);
    // released outside: no toggle
    QTest::mousePress(c, Qt::LeftButton, {}, QPoint(5, 8));
    QTest::mouseMove(c, QPoint(150, 8));
    QTest::mouseRelease(c, Qt::LeftButton, {}, QPoint(150, 8));
    EXPECT_FALSE(c->Checked());
    EXPECT_EQ(clicks, 2);
}

TEST_F(ControlsFixture, AReadOnlyCheckBoxStaysButStillClicks)
{
    auto* c = new TProCheckBox(&Window);
    c->move(10, 50);
    c->show();
    c->SetReadOnly(true);
    int clicks = 0;
    c->OnClick = [&](TObject*) { ++clicks; };
    Click(c, QPoint(5, 8));
    QTest::keyClick(c, Qt::Key_Space);
    EXPECT_FALSE(c->Checked());
    EXPECT_EQ(clicks, 2);
    c->SetChecked(true);  // code may still set it
    EXPECT_EQ(c->State(), cbChecked);
}

TEST_F(ControlsFixture, ADisabledCheckBoxDoesNotToggle)
{
    auto* c = new TProCheckBox(&Window);
    c->move(10, 50);
    c->show();
    c->setEnabled(false);
    Click(c, QPoint(5, 8));
    QTest::keyClick(c, Qt::Key_Space);
    EXPECT_FALSE(c->Checked());
}

TEST(ArrowWindow, TakesTheShapeOfItsArrowInGreen)
{
    QWidget owner;
    struct Probe {
        TArrowDirection Dir;
        QPoint In, Out;
    };
    for (const Probe& p : {Probe{arrUp, {5, 2}, {0, 8}}, Probe{arrDown, {5, 6}, {0, 0}},
                           Probe{arrLeft, {2, 5}, {0, 0}}, Probe{arrRight, {6, 5}, {8, 0}}}) {
        TArrowWindow a(&owner, p.Dir);
        EXPECT_FALSE(a.isVisible());
        EXPECT_EQ(a.Dir(), p.Dir);
        EXPECT_EQ(a.Color(), TColor(0x00FF00));
        EXPECT_TRUE(a.mask().contains(p.In)) << p.Dir;
        EXPECT_FALSE(a.mask().contains(p.Out)) << p.Dir;
    }
}
