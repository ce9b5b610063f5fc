// The drop-down arrow button and the header and footer push buttons: their looks per state
// as pixels, and the push buttons' group and toggle behaviour.
#include "dropdown_fixture.h"

#include "platform/ui/graphics.h"

#include <QEnterEvent>

namespace {

void Enter(QWidget* w)
{
    QEnterEvent ev(QPointF(3, 3), QPointF(3, 3), w->mapToGlobal(QPointF(3, 3)));
    QApplication::sendEvent(w, &ev);
}

void Leave(QWidget* w)
{
    QEvent ev(QEvent::Leave);
    QApplication::sendEvent(w, &ev);
}

using ArrowButtonTest = DropDownFixture;

} // namespace

TEST_F(ArrowButtonTest, ColourTonesPaintTheArrowButtonFlatPerState)
{
    TColorTones tones;
    tones.Background = {0x102030, 0x0000FF, clNone};
    tones.Hover = {0x405060, clNone, clNone};
    tones.Selected = {0x708090, clNone, clNone};
    Edit->SetColorTones(tones);
    TDropDownEditButton* holder = Edit->Button();
    holder->ButtonTextColor = 0x00AA00;
    holder->ButtonTextColorHot = 0x00BB00;
    holder->ButtonTextColorDown = 0x00CC00;
    EXPECT_EQ(Edit->BorderColor(), 0x0000FFu);   // the edit border follows the background border
    TProDropDownSpeedButton* b = holder->Button();

    struct Case { const char* State; TColor Face, Arrow; };
    const Case cases[] = {{"normal", 0x102030, 0x00AA00}, {"hot", 0x405060, 0x00BB00}, {"down", 0x708090, 0x00CC00}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.State);
        if (QLatin1String(c.State) == QLatin1String("hot")) Enter(b);
        if (QLatin1String(c.State) == QLatin1String("down")) QTest::mousePress(b, Qt::LeftButton, {}, QPoint(3, 3));
        const QImage img = b->grab().toImage();
        EXPECT_EQ(PixelOf(img, b->width() - 3, 3), c.Face);
        EXPECT_EQ(PixelOf(img, 8, 8), c.Arrow);
        EXPECT_EQ(PixelOf(img, 0, 5), 0x0000FFu);   // the edge line in the edit's border colour
    }
    QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(3, 3));
    Leave(b);
}

TEST_F(ArrowButtonTest, AGlyphShowsOnAButtonFaceWithAGreyFrame)
{
    TBitmap glyph(6, 6);
    glyph.Canvas()->Brush()->SetColor(0xFFFFFF);   // the top-left colour is the transparent one
    glyph.Canvas()->FillRect({0, 0, 6, 6});
    glyph.Canvas()->Brush()->SetColor(0x0000FF);
    glyph.Canvas()->FillRect({2, 2, 5, 5});
    Edit->SetDropDownButtonGlyph(glyph);
    TProDropDownSpeedButton* b = Edit->Button()->Button();
    const QImage img = b->grab().toImage();
    EXPECT_EQ(PixelOf(img, 0, 0), 0x808080u);
    EXPECT_EQ(PixelOf(img, b->width() - 1, b->height() - 1), 0x808080u);
    EXPECT_EQ(PixelOf(img, 3, 3), 0x0000FFu);
    EXPECT_EQ(PixelOf(img, 1, 1), ColorToRGB(clBtnFace));   // transparent part shows the face
    EXPECT_EQ(PixelOf(img, b->width() - 3, b->height() - 3), ColorToRGB(clBtnFace));
}

TEST_F(ArrowButtonTest, AReadOnlyEditPaintsItsArrowDisabledAndNeverOpens)
{
    Edit->setReadOnly(true);
    TProDropDownSpeedButton* b = Edit->Button()->Button();
    const QImage disabled = b->grab().toImage();
    EXPECT_FALSE(b->isEnabled());
    ClickButton();
    Key(Qt::Key_F4);
    Key(Qt::Key_Down, Qt::AltModifier);
    EXPECT_FALSE(Edit->DroppedDown());
    Edit->setReadOnly(false);
    const QImage enabled = b->grab().toImage();
    EXPECT_TRUE(b->isEnabled());
    EXPECT_NE(disabled, enabled);
}

namespace {

struct PushButtonTest : DropDownFixture {
    TProButtonAppearance Look;
    QWidget* Host = nullptr;
    TProButton* A = nullptr;
    TProButton* B = nullptr;
    void SetUp() override
    {
        DropDownFixture::SetUp();
        Look.SetColor(0x112233);
        Look.SetColorTo(0x112233);
        Look.SetBorderColor(0x010101);
        Look.SetColorHot(0x445566);
        Look.SetBorderColorHot(0x020202);
        Look.SetColorDown(0x778899);
        Look.SetBorderColorDown(0x030303);
        Look.SetColorChecked(0xAABBCC);
        Look.SetBorderColorChecked(0x040404);
        Look.SetColorDisabled(0xDDEEFF);
        Look.SetBorderColorDisabled(0x050505);
        Host = new QWidget(&Dialog);
        Host->setGeometry(150, 20, 120, 40);
        Host->show();
        A = new TProButton(Host);
        B = new TProButton(Host);
        for (TProButton* b : {A, B}) {
            b->SetAppearance(&Look);
            b->resize(30, 20);
            b->show();
        }
        B->move(40, 0);
    }
    static std::pair<TColor, TColor> FaceAndBorder(TProButton* b)
    {
        const QImage img = b->grab().toImage();
        return {PixelOf(img, b->width() / 2, b->height() / 2), PixelOf(img, 0, 0)};
    }
};

} // namespace

TEST_F(PushButtonTest, EachStateHasItsColours)
{
    EXPECT_EQ(FaceAndBorder(A), std::make_pair(TColor(0x112233), TColor(0x010101)));
    Enter(A);
    EXPECT_EQ(FaceAndBorder(A), std::make_pair(TColor(0x445566), TColor(0x020202)));
    QTest::mousePress(A, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(FaceAndBorder(A), std::make_pair(TColor(0x778899), TColor(0x030303)));
    QTest::mouseRelease(A, Qt::LeftButton, {}, QPoint(5, 5));
    Leave(A);
    A->SetStyle(tasCheck);
    A->SetDown(true);
    EXPECT_EQ(FaceAndBorder(A), std::make_pair(TColor(0xAABBCC), TColor(0x040404)));
    A->setEnabled(false);
    EXPECT_EQ(FaceAndBorder(A), std::make_pair(TColor(0xDDEEFF), TColor(0x050505)));
}

TEST_F(PushButtonTest, GroupButtonsExcludeEachOtherAndStayDownWithoutAllowAllUp)
{
    A->SetGroupIndex(1);
    B->SetGroupIndex(1);
    int clicks = 0;
    A->OnClick = [&](QObject*) { ++clicks; };
    QTest::mouseClick(A, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(A->Down());
    EXPECT_EQ(clicks, 1);
    QTest::mouseClick(A, Qt::LeftButton, {}, QPoint(5, 5));   // AllowAllUp off: stays down
    EXPECT_TRUE(A->Down());
    QTest::mouseClick(B, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(B->Down());
    EXPECT_FALSE(A->Down());
    // a release outside the button does not click
    QTest::mousePress(A, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(A, Qt::LeftButton, {}, QPoint(100, 5));
    EXPECT_FALSE(A->Down());
    EXPECT_EQ(clicks, 2);
    // a plain button cannot latch
    TProButton plain(Host);
    plain.SetDown(true);
    EXPECT_FALSE(plain.Down());
}

TEST_F(PushButtonTest, AutoSizeFitsTheCaption)
{
    A->SetCaption(QStringLiteral("Close"));
    A->AutoSizeButton();
    TCanvas c;
    c.SetFont(Look.Font());
    const QSize text = MeasureText(&c, QStringLiteral("Close"));
    EXPECT_EQ(A->size(), QSize(text.width() + 8, text.height() + 4));
}
