// The colour picker: a colour chosen from the list, the palette, the cube and the spectrum by
// real keys and clicks, cancelling, type-ahead, the text forms of a colour, the palette's
// layout and the cube's hit test.
#include "dropdown_fixture.h"

#include "grid/controls/color_picker_dropdown.h"

#include <QWheelEvent>

namespace {

class TTestColorPicker : public TProColorPickerDropDown {
public:
    using TProColorPickerDropDown::TProColorPickerDropDown;
    using TProColorPickerDropDown::KeyTimerTimer;
};

struct ColorPickerTest : DropDownFixture {
    TTestColorPicker* Picker = nullptr;
    int Selects = 0;
    void SetUp() override
    {
        DropDownFixture::SetUp();
        Picker = new TTestColorPicker(&Dialog);
        Picker->setGeometry(150, 20, 120, 22);
        Picker->AddDefaultColors();
        Picker->OnSelect = [this](QObject*) { ++Selects; };
        Picker->show();
        Picker->setFocus();
    }
    void TearDown() override
    {
        if (Picker->DroppedDown()) Picker->HideDropDown(false);
        DropDownFixture::TearDown();
    }
    void PKey(Qt::Key k, Qt::KeyboardModifiers m = {}) { QTest::keyClick(Picker, k, m); }
    void Open()
    {
        Now += 1000;
        QTest::mouseClick(Picker, Qt::LeftButton, {}, QPoint(10, 10));
        ASSERT_TRUE(Picker->DroppedDown());
    }
    int IndexOf(const char* caption)
    {
        for (int i = 0; i < Picker->Colors().Count(); ++i)
            if (Picker->Colors().Items(i)->Caption() == QLatin1String(caption)) return i;
        return -1;
    }
};

} // namespace

TEST(ColorValueText, FormsOfAColour)
{
    struct Case {
        TColor Color;
        TColorValueText Kind;
        const char* Text;
    } cases[] = {
        {0x0000FF, cvtHex, "0000FF"},
        {0x0000FF, cvtHTML, "#FF0000"},
        {0xFFFFFF, cvtHTML, "#FFFFFF"},
        {0xFFFFFF, cvtRGB, "Red:255,Green:255,Blue:255"},
        {0x123456, cvtRGB, "Red:86,Green:52,Blue:18"},
        {0xFFFFFF, cvtHex, "FFFFFF"},
        {0x0000FF, cvtNone, ""},
        {0x0000FF, cvtWebName, "red"},
        {0x010203, cvtWebName, "#030201"},
    };
    for (const Case& c : cases) EXPECT_EQ(ColorValueToText(c.Color, c.Kind), QLatin1String(c.Text)) << c.Text;
}

TEST_F(ColorPickerTest, ListPicksByKeysClicksAndTypingAndCancels)
{
    EXPECT_EQ(Picker->Colors().Count(), 16);
    // a colour of the list selects its entry; one outside the list leaves the entry
    Picker->SetSelectedColor(0x0000FF);
    EXPECT_EQ(Picker->ItemIndex(), IndexOf("Red"));
    EXPECT_EQ(Picker->SelectedColorText(), "Red");
    Picker->SetSelectedColor(0x123456);
    EXPECT_EQ(Picker->ItemIndex(), IndexOf("Red"));
    // closed: Down and Up step through the list
    Picker->SetItemIndex(-1);
    PKey(Qt::Key_Down);
    EXPECT_EQ(Picker->ItemIndex(), 0);
    EXPECT_EQ(Picker->SelectedColor(), 0x000000);
    PKey(Qt::Key_End);
    EXPECT_EQ(Picker->ItemIndex(), 15);
    PKey(Qt::Key_Home);
    EXPECT_EQ(Picker->ItemIndex(), 0);
    // open: Down moves without closing, Escape restores the entry of the opening
    Open();
    ASSERT_TRUE(Picker->ItemSelector()->isVisible());
    PKey(Qt::Key_Down);
    PKey(Qt::Key_Down);
    EXPECT_TRUE(Picker->DroppedDown());
    EXPECT_EQ(Picker->ItemIndex(), 2);
    PKey(Qt::Key_Escape);
    EXPECT_FALSE(Picker->DroppedDown());
    EXPECT_EQ(Picker->ItemIndex(), 0);
    // a colour outside the list comes back on Escape too
    Picker->SetSelectedColor(0x123456);
    Picker->SetItemIndex(-1);
    Open();
    PKey(Qt::Key_Down);
    EXPECT_EQ(Picker->SelectedColor(), 0x000000);
    PKey(Qt::Key_Escape);
    EXPECT_EQ(Picker->SelectedColor(), 0x123456);
    EXPECT_EQ(Picker->ItemIndex(), -1);
    // type-ahead: R then E finds "Red"; after the timer a new search starts
    Open();
    QTest::keyClicks(Picker, QStringLiteral("re"));
    EXPECT_EQ(Picker->ItemIndex(), IndexOf("Red"));
    Picker->KeyTimerTimer();
    QTest::keyClicks(Picker, QStringLiteral("s"));
    EXPECT_EQ(Picker->ItemIndex(), IndexOf("Silver"));
    PKey(Qt::Key_Return);
    EXPECT_FALSE(Picker->DroppedDown());
    EXPECT_EQ(Picker->SelectedColor(), 0xC0C0C0);
    // a click on an entry chooses it and closes
    Open();
    TProCustomItemSelector* s = Picker->ItemSelector();
    const int navy = IndexOf("Navy");
    s->ScrollItemInView(navy);
    const QRect r = s->Items().Items(navy)->FRect.ToQRect();
    QTest::mouseClick(s->Panel(), Qt::LeftButton, {}, r.center());
    EXPECT_FALSE(Picker->DroppedDown());
    EXPECT_EQ(Picker->ItemIndex(), navy);
    EXPECT_EQ(Picker->SelectedColor(), 0x800000);
    // the wheel over the closed picker steps the selection
    QWheelEvent wheel(QPointF(10, 10), Picker->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(Picker, &wheel);
    EXPECT_EQ(Picker->ItemIndex(), navy + 1);
    EXPECT_FALSE(Picker->DroppedDown());
    Picker->SetItemIndex(navy);
    // the edit paints the colour box
    const QImage shot = Picker->grab().toImage();
    EXPECT_EQ(PixelOf(shot, 1 + 4 + 7, (Picker->height()) / 2 + 1), 0x800000);
}

TEST_F(ColorPickerTest, PaletteLaysOutStepsPicksByClickAndCancels)
{
    TCustomColorSelector sel;
    sel.LoadDefaultPalette();
    EXPECT_EQ(sel.size(), QSize(165, 84));
    EXPECT_EQ(sel.Items().Items(10)->FRect.Top, 20);   // the first row stands apart
    EXPECT_EQ(sel.Items().Items(20)->FRect.Top, 32);   // the others touch

    Picker->SetColorSelectionStyle(csDiscrete);
    Picker->DropDownForm();
    // closed: Down selects the next box, from none box 0
    PKey(Qt::Key_Down);
    EXPECT_EQ(Picker->ColorSelector()->ItemIndex(), 0);
    EXPECT_EQ(Picker->SelectedColor(), 0xFFFFFF);
    EXPECT_EQ(Picker->ItemIndex(), -1);
    Open();
    EXPECT_TRUE(Picker->ColorSelector()->isVisible());
    PKey(Qt::Key_Down);   // open: one row down
    EXPECT_EQ(Picker->ColorSelector()->ItemIndex(), 10);
    EXPECT_EQ(Picker->SelectedColor(), 0xF2F2F2);
    EXPECT_TRUE(Picker->DroppedDown());
    PKey(Qt::Key_Escape);
    EXPECT_EQ(Picker->SelectedColor(), 0xFFFFFF);
    // a click on a box chooses it and closes
    Open();
    TCustomColorSelector* p = Picker->ColorSelector();
    QTest::mouseClick(p, Qt::LeftButton, {}, p->Items().Items(5)->FRect.ToQRect().center());
    EXPECT_FALSE(Picker->DroppedDown());
    EXPECT_EQ(Picker->SelectedColor(), 0x4D50C0);
    EXPECT_EQ(Picker->ItemIndex(), -1);
}

TEST_F(ColorPickerTest, CubeHitsItsHexagonsAndPicksByClick)
{
    TProColorCubePanel cube;
    const TPoint c = cube.Cell(64).Center;
    EXPECT_EQ(cube.Cell(64).Color, 0xFFFFFF);
    EXPECT_EQ(c, (TPoint{91, 80}));
    struct Case {
        int Dx, Dy, Cell;
    } cases[] = {{0, 0, 64}, {6, 0, 64}, {7, 0, 65}, {-7, 0, 63}, {6, -3, -1}, {6, 3, -1}, {-6, 3, -1}};
    for (const Case& k : cases) EXPECT_EQ(cube.CellAtPos(c.X + k.Dx, c.Y + k.Dy), k.Cell) << k.Dx << "," << k.Dy;
    EXPECT_EQ(cube.CellAtPos(0, 0), -1);
    EXPECT_EQ(cube.Cell(1).Center, (TPoint{55, 20}));
    EXPECT_EQ(cube.Cell(121).Center, (TPoint{55, 140}));
    EXPECT_EQ(cube.Cell(127).Center, (TPoint{127, 140}));

    Picker->ColorValueText = cvtHTML;
    Picker->SetColorSelectionStyle(csColorCube);
    Open();
    TProColorCubePanel* panel = Picker->ColorCubePanel();
    ASSERT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->size(), QSize(182, 160));
    QTest::mouseClick(panel, Qt::LeftButton, {}, QPoint(c.X, c.Y));
    EXPECT_FALSE(Picker->DroppedDown());
    EXPECT_EQ(Picker->SelectedColor(), 0xFFFFFF);
    // White is a list colour, yet a colour of the cube leaves no entry selected
    EXPECT_EQ(Picker->ItemIndex(), -1);
    EXPECT_EQ(Picker->SelectedColorText(), "#FFFFFF");
    EXPECT_GE(Selects, 1);
}

TEST_F(ColorPickerTest, SpectrumPicksThePixelUnderTheMouse)
{
    const QImage& img = SpectrumBitmap();
    ASSERT_EQ(img.size(), QSize(128, 128));
    Picker->SetColorSelectionStyle(csSpectrum);
    Open();
    TProColorSpectrumPanel* panel = Picker->SpectrumPanel();
    ASSERT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->SpectrumImage()->pos(), QPoint(11, 10));
    // row 64 holds the saturated hues, red at the left
    QTest::mouseMove(panel->SpectrumImage(), QPoint(0, 64));
    EXPECT_EQ(panel->HotColor(), 0x0000FF);
    QTest::mouseClick(panel->SpectrumImage(), Qt::LeftButton, {}, QPoint(0, 64));
    EXPECT_FALSE(Picker->DroppedDown());
    EXPECT_EQ(Picker->SelectedColor(), 0x0000FF);
    EXPECT_EQ(Picker->ItemIndex(), -1);
    // the top is nearly white, the bottom nearly black
    const QColor top = img.pixelColor(40, 0), bottom = img.pixelColor(40, 127);
    EXPECT_GT(top.lightness(), 230);
    EXPECT_LT(bottom.lightness(), 25);
    // a third of the way across is green
    EXPECT_EQ(QColorToColor(img.pixelColor(43, 64)) & 0x00FF00, 0x00FF00);
}
