// The pop-up form: header and footer panels and their buttons, painting of the panels, the
// size grip, and closing by a click outside.
#include "dropdown_fixture.h"

#include "grid/controls/dropdown_form.h"
#include "platform/core/exception.h"
#include "platform/ui/dialogs.h"

namespace {

using DropDownFormTest = DropDownFixture;

} // namespace

TEST_F(DropDownFormTest, HeaderButtonsStandRightToLeftInCollectionOrder)
{
    for (const char* caption : {"One", "Two", "Three"}) Edit->DropDownHeader()->Buttons().Add()->SetCaption(caption);
    Edit->DropDownFooter()->SetVisible(false);
    Key(Qt::Key_F4);
    ASSERT_TRUE(Edit->DroppedDown());
    TProHeader* header = Form()->Header();
    ASSERT_NE(header, nullptr);
    ASSERT_EQ(header->ButtonCount(), 3);
    TProButton* one = header->CreatedButton(0);
    TProButton* two = header->CreatedButton(1);
    TProButton* three = header->CreatedButton(2);
    EXPECT_EQ(one->x() + one->width(), header->width() - 2);
    EXPECT_EQ(two->x() + two->width(), one->x());
    EXPECT_EQ(three->x() + three->width(), two->x());
    EXPECT_EQ(Form()->Footer(), nullptr);   // an invisible appearance makes no panel

    int index = -1;
    Edit->OnDropDownHeaderButtonClick = [&](QObject*, int i) {
        index = i;
        Edit->DropDownHeader()->Buttons().Items(0)->SetCaption(QStringLiteral("Uno"));   // rebuilds the buttons
    };
    QTest::mouseClick(two, Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_EQ(index, 1);
    EXPECT_EQ(header->CreatedButton(0)->Caption(), "Uno");
    EXPECT_TRUE(Edit->DroppedDown());   // a header button has no modal result

    // a header that is switched off hides, and comes back as the same panel
    Edit->DropDownHeader()->SetVisible(false);
    EXPECT_FALSE(header->isVisible());
    Edit->DropDownHeader()->SetVisible(true);
    EXPECT_EQ(Form()->Header(), header);
    EXPECT_TRUE(header->isVisible());
    EXPECT_THROW(header->CreatedButton(3), Exception);
}

TEST_F(DropDownFormTest, FooterButtonsCloseByTheirModalResult)
{
    struct Case { int ModalResult; bool Closes; bool Restores; };
    const Case cases[] = {{mrOk, true, false}, {mrCancel, true, true}, {mrRetry, false, false}, {mrNo, true, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ModalResult);
        Edit->DropDownFooter()->Buttons().Clear();
        Edit->DropDownFooter()->Buttons().Add()->ModalResult = c.ModalResult;
        Edit->DropDownFooter()->Buttons().Items(0)->SetCaption(QStringLiteral("Go"));
        Edit->SetText(QStringLiteral("kept"));
        Key(Qt::Key_F4);
        Edit->setText(QStringLiteral("typed"));
        int clicked = -1;
        Edit->OnDropDownFooterButtonClick = [&](QObject*, int i) { clicked = i; };
        QTest::mouseClick(Form()->Footer()->CreatedButton(0), Qt::LeftButton, {}, QPoint(3, 3));
        EXPECT_EQ(Edit->DroppedDown(), !c.Closes);
        EXPECT_EQ(Edit->Text(), c.Restores ? "kept" : "typed");
        EXPECT_EQ(clicked, 0);
        Edit->HideDropDown(false);
    }
}

TEST_F(DropDownFormTest, EnterOnAHeaderButtonClosesByModalResultWithoutItsClickEvent)
{
    Edit->DropDownFooter()->Buttons().Add()->ModalResult = mrOk;
    Key(Qt::Key_F4);
    int clicked = 0;
    Edit->OnDropDownFooterButtonClick = [&](QObject*, int) { ++clicked; };
    TProButton* b = Form()->Footer()->CreatedButton(0);
    b->setFocus();
    QTest::keyClick(b, Qt::Key_Return);
    EXPECT_FALSE(Edit->DroppedDown());
    EXPECT_EQ(clicked, 0);
}

TEST_F(DropDownFormTest, TheAcceleratorOfAButtonCaptionClicksIt)
{
    THeaderButton* go = Edit->DropDownFooter()->Buttons().Add();
    go->SetCaption(QStringLiteral("&Go"));
    go->ModalResult = mrOk;
    int clicked = 0;
    Edit->OnDropDownFooterButtonClick = [&](QObject*, int) { ++clicked; };
    Key(Qt::Key_F4);
    QTest::keyClick(Form(), Qt::Key_G, Qt::AltModifier);
    EXPECT_EQ(clicked, 1);
    EXPECT_FALSE(Edit->DroppedDown());
}

TEST_F(DropDownFormTest, PanelsDrawTheirEdgeOnlyInsideAFormBorder)
{
    auto& h = *Edit->DropDownHeader();
    h.Color = h.ColorTo = 0xEEEEEE;
    h.BorderColor = 0x0000FF;
    h.BorderWidth = 2;   // the light inner frame covers the outer pixel
    Edit->DropDownFooter()->SetVisible(false);
    Edit->DropDownBorderColor = 0x00FF00;
    Key(Qt::Key_F4);
    TProHeader* header = Form()->Header();
    QImage img = header->grab().toImage();
    EXPECT_EQ(PixelOf(img, 10, header->height() - 1), 0x0000FFu);   // the inner edge line
    EXPECT_NE(PixelOf(img, 1, 10), 0x0000FFu);                       // no side frame
}

TEST_F(DropDownFormTest, ABackgroundHandlerReplacesAllDrawingOfItsPanel)
{
    Edit->DropDownHeader()->Caption = QStringLiteral("<b>Caption</b>");
    Edit->OnDrawHeader = [](QObject*, TCanvas* c, TRect r) {
        c->Brush()->SetColor(0x123456);
        c->FillRect(r);
    };
    Key(Qt::Key_F4);
    const QImage img = Form()->Header()->grab().toImage();
    for (int x = 0; x < img.width(); x += 7)
        for (int y = 0; y < img.height(); y += 3) ASSERT_EQ(PixelOf(img, x, y), 0x123456u) << x << "," << y;
}

TEST_F(DropDownFormTest, AHeaderTextHandlerCanEmptyTheCaption)
{
    auto& h = *Edit->DropDownHeader();
    h.Color = h.ColorTo = 0xFFFFFF;
    h.BorderColor = clNone;
    h.Caption = QStringLiteral("Caption");
    Key(Qt::Key_F4);
    TProHeader* header = Form()->Header();
    auto inked = [&] {
        const QImage img = header->grab().toImage();
        for (int x = 0; x < img.width(); ++x)
            for (int y = 0; y < img.height(); ++y)
                if (PixelOf(img, x, y) != 0xFFFFFFu) return true;
        return false;
    };
    EXPECT_TRUE(inked());
    header->OnGetText = [](QObject*, QString& t) { t.clear(); };
    EXPECT_FALSE(inked());
}

TEST_F(DropDownFormTest, TheFooterGripSizesTheFormAndTheNextOpeningKeepsThatSize)
{
    Key(Qt::Key_F4);
    TProHeader* footer = Form()->Footer();
    ASSERT_TRUE(footer && footer->GripActive());
    const QSize before = Form()->size();
    const QPoint corner(footer->width() - 3, footer->height() - 3);
    QTest::mousePress(footer, Qt::LeftButton, {}, corner);
    QTest::mouseMove(footer, corner + QPoint(40, 30));
    QTest::mouseRelease(footer, Qt::LeftButton, {}, corner + QPoint(40, 30));
    EXPECT_EQ(Form()->size(), before + QSize(40, 30));
    Edit->HideDropDown(false);
    Key(Qt::Key_F4);
    EXPECT_EQ(Form()->size(), before + QSize(40, 30));
    Edit->HideDropDown(false);
    Edit->SetDropDownWidth(0);
    Edit->SetDropDownHeight(0);
    const QSize fromControl(Edit->Panel->width(), 2 + 22 + 22 + Edit->Panel->height());
    Key(Qt::Key_F4);
    EXPECT_EQ(Form()->size(), fromControl);   // sized from the control again
    // never smaller than 80 by 50
    const QPoint corner2(footer->width() - 3, footer->height() - 3);
    QTest::mousePress(footer, Qt::LeftButton, {}, corner2);
    QTest::mouseMove(footer, corner2 - QPoint(500, 500));
    QTest::mouseRelease(footer, Qt::LeftButton, {}, corner2 - QPoint(500, 500));
    EXPECT_EQ(Form()->size(), QSize(80, 50));
    Edit->HideDropDown(false);
    Edit->DropDownSizeable = false;
    Key(Qt::Key_F4);
    EXPECT_FALSE(footer->GripActive());
}

TEST_F(DropDownFormTest, AClickOutsideClosesAndRestoresOnlyWithCancelOnDeActivate)
{
    for (bool cancel : {true, false}) {
        SCOPED_TRACE(cancel);
        Edit->SetText(QStringLiteral("given"));
        Key(Qt::Key_F4);
        ASSERT_TRUE(Form()->isVisible());
        ASSERT_EQ(QApplication::activePopupWidget(), Form());
        Form()->CancelOnDeActivate = cancel;
        Edit->setText(QStringLiteral("typed"));
        bool cancelled = !cancel;
        Edit->OnDropUp = [&](QObject*, bool c) { cancelled = c; };
        // through the dialog's window, where Qt's pop-up handling sees the press; the
        // corner of the dialog is clear of the form
        QTest::mouseClick(Dialog.windowHandle(), Qt::LeftButton, {}, QPoint(290, 10));
        EXPECT_FALSE(Form()->isVisible());
        EXPECT_FALSE(Edit->DroppedDown());
        EXPECT_EQ(cancelled, cancel);
        EXPECT_EQ(Edit->Text(), cancel ? "given" : "typed");
        EXPECT_EQ(Form()->DeActivateTime(), Now);
        Now += 1000;
    }
}

TEST_F(DropDownFormTest, TheFormPaintsItsColourAndBorder)
{
    Edit->SetDropDownColor(0x00FFFF);
    Edit->DropDownColorTo = clNone;
    Edit->DropDownBorderColor = 0xFF0000;
    Edit->DropDownHeader()->SetVisible(false);
    Edit->DropDownFooter()->SetVisible(false);
    Key(Qt::Key_F4);
    Edit->Panel->hide();
    const QImage img = Form()->grab().toImage();
    EXPECT_EQ(PixelOf(img, 0, 0), 0xFF0000u);
    EXPECT_EQ(PixelOf(img, img.width() - 1, img.height() - 1), 0xFF0000u);
    EXPECT_EQ(PixelOf(img, 5, 5), 0x00FFFFu);
}
