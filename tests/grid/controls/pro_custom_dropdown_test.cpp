// The drop-down edit: opening and closing by keys and clicks, the order of a show, placing
// the form at the screen's edges, the quarter-second rule, an edit that cannot be typed in,
// the dialog's Enter and Escape, and the attached label.
#include "dropdown_fixture.h"

#include "platform/ui/label.h"

#include <QPushButton>

namespace {

using DropDownEditTest = DropDownFixture;

} // namespace

TEST_F(DropDownEditTest, KeysOpenCloseAcceptAndCancel)
{
    struct Case {
        const char* Name;
        Qt::Key Open;
        Qt::KeyboardModifiers OpenMods;
        Qt::Key Close;
        Qt::KeyboardModifiers CloseMods;
        bool Cancelled;
    };
    const Case cases[] = {
        {"F4 toggles", Qt::Key_F4, {}, Qt::Key_F4, {}, false},
        {"Alt+Down toggles", Qt::Key_Down, Qt::AltModifier, Qt::Key_Down, Qt::AltModifier, false},
        {"Alt+Up toggles", Qt::Key_Up, Qt::AltModifier, Qt::Key_Up, Qt::AltModifier, false},
        {"Enter accepts", Qt::Key_F4, {}, Qt::Key_Return, {}, false},
        {"Escape cancels", Qt::Key_F4, {}, Qt::Key_Escape, {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Edit->SetText(QStringLiteral("given"));
        Key(c.Open, c.OpenMods);
        ASSERT_TRUE(Edit->DroppedDown());
        ASSERT_TRUE(Form()->isVisible());
        Edit->setText(QStringLiteral("typed"));
        bool cancelled = !c.Cancelled;
        int dropUps = 0;
        Edit->OnDropUp = [&](QObject*, bool x) { cancelled = x, ++dropUps; };
        // keys typed while the pop-up holds the keyboard act on the edit
        QTest::keyClick(Form(), c.Close, c.CloseMods);
        EXPECT_FALSE(Edit->DroppedDown());
        EXPECT_FALSE(Form()->isVisible());
        EXPECT_EQ(dropUps, 1);
        EXPECT_EQ(cancelled, c.Cancelled);
        EXPECT_EQ(Edit->Text(), c.Cancelled ? "given" : "typed");
    }
}

TEST_F(DropDownEditTest, AShowRunsItsStepsInOrderAndAVetoLeavesTheFormHidden)
{
    int drops = 0;
    Edit->OnDropDown = [&](QObject*, bool& accept) {
        ++drops;
        accept = drops > 1;
    };
    Edit->ShowDropDown();
    EXPECT_FALSE(Edit->DroppedDown());
    EXPECT_FALSE(Form()->isVisible());
    EXPECT_EQ(Edit->Calls, (QStringList{"BeforeDropDown", "SizeDropDownForm"}));
    Edit->Calls.clear();
    Edit->ShowDropDown();
    EXPECT_TRUE(Edit->DroppedDown());
    EXPECT_EQ(Edit->Calls, (QStringList{"BeforeDropDown", "SizeDropDownForm", "AdaptDropDownHeight", "FocusDropDownControl"}));
    EXPECT_EQ(Form()->minimumSize(), QSize(80, 50));
    // an open form is not shown again
    Edit->ShowDropDown();
    EXPECT_EQ(drops, 2);
}

TEST_F(DropDownEditTest, TheFormIsPlacedBelowOrAboveAndKeptOnTheScreen)
{
    const QRect screen = Screen();
    struct Case {
        const char* Name;
        QPoint EditAt;   // global top-left of the edit
        TDropPosition Position;
        bool Above;
    };
    const Case cases[] = {
        {"room below", {100, 100}, dpAuto, false},
        {"near the bottom", {100, screen.bottom() - 60}, dpAuto, true},
        {"forced up", {100, 300}, dpUp, true},
        {"forced down", {100, 100}, dpDown, false},
        {"near the right edge", {screen.right() - 100, 100}, dpAuto, false},
        {"up at the top edge", {100, 30}, dpUp, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Edit->DropPosition = c.Position;
        Dialog.move(Dialog.pos() + c.EditAt - Edit->mapToGlobal(QPoint(0, 0)));
        const QPoint p = Edit->mapToGlobal(QPoint(0, 0));
        ASSERT_EQ(p, c.EditAt);
        Key(Qt::Key_F4);
        const QRect f = Form()->geometry();
        const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
        if (c.Above) EXPECT_EQ(f.top(), std::max(work.top(), p.y() - f.height()));
        else EXPECT_EQ(f.top(), p.y() + Edit->height() - 1);
        EXPECT_EQ(f.left(), std::min(p.x(), work.right() + 1 - f.width()));
        EXPECT_GE(f.top(), work.top());
        EXPECT_LE(f.right(), work.right());
        Edit->HideDropDown(false);
    }
}

TEST_F(DropDownEditTest, TheButtonOpensAndASecondClickWithinAQuarterSecondDoesNot)
{
    ClickButton();
    ASSERT_TRUE(Edit->DroppedDown());
    // a press on the button while the form is open is a press outside the pop-up: it closes
    // it, and the release on the button does not open it again
    const QPoint onButton = Edit->Button()->Button()->mapTo(&Dialog, QPoint(5, 5));
    QTest::mouseClick(Dialog.windowHandle(), Qt::LeftButton, {}, onButton);
    EXPECT_FALSE(Edit->DroppedDown());
    Now += 200;
    ClickButton();
    EXPECT_FALSE(Edit->DroppedDown());
    Now += 100;
    ClickButton();
    EXPECT_TRUE(Edit->DroppedDown());
}

TEST_F(DropDownEditTest, ADisabledOrReadOnlyEditNeverOpens)
{
    for (int pass = 0; pass < 2; ++pass) {
        SCOPED_TRACE(pass);
        Edit->setEnabled(pass != 0);
        Edit->setReadOnly(pass == 1);
        Key(Qt::Key_F4);
        Key(Qt::Key_Down, Qt::AltModifier);
        ClickButton();
        Edit->ShowDropDown();
        EXPECT_FALSE(Edit->DroppedDown());
    }
}

TEST_F(DropDownEditTest, WithoutEditingTypingDoesNothingAndAClickOpens)
{
    Edit->SetText(QStringLiteral("value"));
    Edit->SetEditorEnabled(false);
    Type(QStringLiteral("xyz"));
    EXPECT_EQ(Edit->Text(), "value");
    QTest::mouseClick(Edit, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(Edit->DroppedDown());
    Edit->setText(QStringLiteral("picked"));
    Key(Qt::Key_Escape);
    EXPECT_FALSE(Edit->DroppedDown());
    EXPECT_EQ(Edit->Text(), "value");
    Now += 1000;
    QTest::mouseClick(Edit, Qt::LeftButton, {}, QPoint(10, 10));
    Edit->setText(QStringLiteral("picked"));
    Key(Qt::Key_Return);
    EXPECT_FALSE(Edit->DroppedDown());
    EXPECT_EQ(Edit->Text(), "picked");
    // the focus is shown as a highlighted box with the value
    QApplication::setActiveWindow(&Dialog);
    Edit->setFocus();
    const QImage img = Edit->grab().toImage();
    EXPECT_EQ(PixelOf(img, Edit->width() - Edit->DropDownButtonWidth() - 4, 4), ColorToRGB(clHighlight));
}

TEST_F(DropDownEditTest, CancelRestoresTheLastValueSetNotTheOneAtFocus)
{
    Edit->SetText(QStringLiteral("first"));
    Other->setFocus();
    Edit->setFocus();
    Edit->SetText(QStringLiteral("second"));
    Key(Qt::Key_F4);
    Edit->setText(QStringLiteral("third"));
    Edit->HideDropDown(true);
    EXPECT_EQ(Edit->Text(), "second");
}

TEST_F(DropDownEditTest, EnterAndEscapeReachTheDialogOnlyWhileTheFormIsClosed)
{
    auto* ok = new QPushButton(QStringLiteral("OK"), &Dialog);
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, &Dialog, &QDialog::accept);
    ok->show();
    Key(Qt::Key_F4);
    Key(Qt::Key_Escape);   // closes the form, the dialog stays
    EXPECT_TRUE(Dialog.isVisible());
    Key(Qt::Key_F4);
    Key(Qt::Key_Return);
    EXPECT_TRUE(Dialog.isVisible());
    Key(Qt::Key_Return);   // now the dialog's default button
    EXPECT_FALSE(Dialog.isVisible());
    EXPECT_EQ(Dialog.result(), QDialog::Accepted);
}

TEST_F(DropDownEditTest, TheLabelStandsWhereItsPositionSays)
{
    Edit->SetLabelCaption(QStringLiteral("Name"));
    TLabel* label = Edit->Label();
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->parentWidget(), &Dialog);
    Edit->move(100, 80);
    const int W = Edit->width(), H = Edit->height(), M = Edit->LabelMargin();
    const int Lw = label->width(), Lh = label->height();
    struct Case { TLabelPosition Position; QPoint At; };
    const Case cases[] = {
        {lpLeftTop, {100 - Lw - M, 80}},
        {lpLeftCenter, {100 - Lw - M, 80 + (H - Lh) / 2}},
        {lpTopLeft, {100, 80 - Lh - M}},
        {lpBottomCenter, {100 + (W - Lw) / 2, 80 + H + M}},
        {lpRighBottom, {100 + W + M, 80 + H - Lh}},
        {lpTopRight, {100 + W - Lw, 80 - Lh - M}},
    };
    for (const Case& c : cases) {
        Edit->SetLabelPosition(c.Position);
        EXPECT_EQ(label->pos(), c.At) << c.Position;
    }
    int clicks = 0;
    Edit->OnLabelClick = [&](QObject*) { ++clicks; };
    Other->setFocus();
    QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(Edit->hasFocus());
    // the label goes with its edit
    auto* second = new TTestDropDown(&Dialog);
    second->SetLabelCaption(QStringLiteral("Second"));
    QPointer<TLabel> secondLabel = second->Label();
    delete second;
    EXPECT_TRUE(secondLabel.isNull());
}

TEST_F(DropDownEditTest, VersionAndBorderColours)
{
    EXPECT_EQ(Edit->Version(), "1.2.1.4");
    Edit->SetBorderColor(0x0000FF);
    Edit->SetFocusBorderColor(0x00FF00);
    EXPECT_EQ(PixelOf(Edit->grab().toImage(), 0, 5), 0x00FF00u);   // focused
    Other->setFocus();
    EXPECT_EQ(PixelOf(Edit->grab().toImage(), 0, 5), 0x0000FFu);
    Edit->setEnabled(false);
    EXPECT_EQ(PixelOf(Edit->grab().toImage(), 0, 5), 0xC0C0C0u);
}
