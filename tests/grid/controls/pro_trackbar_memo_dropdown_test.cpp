// The track bar and memo drop-downs: stepping and dragging the value, the bar in the pop-up,
// the memo's lines, their first-line display in the edit, and accepting and cancelling.
#include "placed_dropdown.h"

#include "grid/controls/pro_memo_dropdown.h"
#include "grid/controls/pro_trackbar_dropdown.h"

#include <QPlainTextEdit>
#include <QSlider>

namespace {

using TrackBarTest = PlacedDropDownFixture<TProTrackBarDropDown>;
using MemoTest = PlacedDropDownFixture<TProMemoDropDown>;

void MouseTo(QWidget* w, QEvent::Type Type, int X, Qt::MouseButtons Buttons)
{
    const QPointF p(X, 5);
    QMouseEvent e(Type, p, w->mapToGlobal(p), Type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, Buttons,
                  Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

TEST_F(TrackBarTest, ArrowKeysStepByTheFrequencyInsideTheRange)
{
    struct Case {
        int Position;
        Qt::Key Key;
        int Expected;
    };
    const Case cases[] = {
        {9, Qt::Key_Down, 9}, // 12 is above 10: ignored, not clamped
        {9, Qt::Key_Up, 6},   {1, Qt::Key_Up, 1}, {3, Qt::Key_Up, 0}, {7, Qt::Key_Down, 10},
    };
    Drop->SetFrequency(3);
    // with the bar made the edit text follows the steps
    ClickDropButton();
    ASSERT_TRUE(DropForm()->isVisible());
    QTest::keyClick(Drop->TrackBar(), Qt::Key_Return);
    ASSERT_FALSE(DropForm()->isVisible());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Position);
        Drop->SetPosition(c.Position);
        QTest::keyClick(Drop, c.Key);
        EXPECT_EQ(Drop->Position(), c.Expected);
        EXPECT_EQ(Drop->Text(), QString::number(c.Expected));
    }
    // with Alt held the keys toggle the drop-down instead
    QTest::keyClick(Drop, Qt::Key_Down, Qt::AltModifier);
    EXPECT_TRUE(DropForm()->isVisible());
    EXPECT_EQ(Drop->Position(), 10);
}

TEST_F(TrackBarTest, DraggingAcrossTheEditMovesByWholePages)
{
    struct Case {
        int PageSize, Start;
        std::vector<int> Moves;
        int Expected;
    };
    const Case cases[] = {
        {2, 0, {15}, 2},                 // 5 pixels at once: 5 div 2
        {2, 0, {11, 12, 13, 14, 15}, 0}, // five single pixels: nothing
        {2, 5, {5}, 3},                  // 5 pixels left: truncated toward zero
        {2, 5, {-40}, 0},                // past the end: the bar's range holds
        {0, 0, {30}, 0},                 // no page size: no dragging
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.PageSize);
        Drop->SetPosition(c.Start);
        Drop->SetPageSize(c.PageSize);
        MouseTo(Drop, QEvent::MouseButtonPress, 10, Qt::LeftButton);
        for (int x : c.Moves) MouseTo(Drop, QEvent::MouseMove, x, Qt::LeftButton);
        MouseTo(Drop, QEvent::MouseButtonRelease, c.Moves.back(), Qt::NoButton);
        MouseTo(Drop, QEvent::MouseMove, 100, Qt::NoButton); // released: no more dragging
        EXPECT_EQ(Drop->Position(), c.Expected);
        if (Drop->DroppedDown()) Drop->HideDropDown(false);
    }
}

TEST_F(TrackBarTest, TheBarWritesTheEditAndEscapeGivesBackTheValue)
{
    Drop->SetText(QStringLiteral("4"));
    EXPECT_EQ(Drop->Position(), 4);
    int changes = 0;
    Drop->OnTrackChange = [&](QObject*) { ++changes; };
    ClickDropButton();
    ASSERT_TRUE(DropForm()->isVisible());
    QSlider* bar = Drop->TrackBar();
    EXPECT_EQ(bar->value(), 4);
    EXPECT_EQ(bar->width(), DropForm()->AlignRect().Width());
    QTest::keyClick(bar, Qt::Key_Right);
    EXPECT_EQ(Drop->Text(), "5");
    EXPECT_EQ(changes, 1);
    QTest::keyClick(bar, Qt::Key_PageUp);
    EXPECT_EQ(Drop->Text(), "7");
    EXPECT_EQ(changes, 2);
    QTest::keyClick(bar, Qt::Key_Escape);
    EXPECT_FALSE(DropForm()->isVisible());
    EXPECT_EQ(Drop->Text(), "4");
    EXPECT_EQ(Drop->Position(), 4);

    ClickDropButton();
    QTest::keyClick(Drop->TrackBar(), Qt::Key_End);
    QTest::keyClick(Drop->TrackBar(), Qt::Key_Return);
    EXPECT_FALSE(DropForm()->isVisible());
    EXPECT_EQ(Drop->Text(), "10");
    // the range set while the bar exists clamps the position
    Drop->SetMax(8);
    EXPECT_EQ(Drop->Position(), 8);
    EXPECT_EQ(Drop->Text(), "8");
}

TEST_F(MemoTest, TheEditShowsTheFirstLineFittedToItsWidth)
{
    Drop->SetEditorEnabled(false);
    Drop->resize(300, 22);
    Drop->SetMemoText({QStringLiteral("first"), QStringLiteral("second")});
    EXPECT_EQ(Drop->text(), "first...");
    Drop->SetMemoText({QStringLiteral("first")});
    EXPECT_EQ(Drop->text(), "first");
    const QString wide = QStringLiteral("a rather long first line that cannot fit into the edit at all");
    Drop->resize(120, 22);
    Drop->SetMemoText({wide});
    EXPECT_TRUE(Drop->text().endsWith(QStringLiteral("...")));
    EXPECT_TRUE(wide.startsWith(Drop->text().chopped(3)));
    EXPECT_LT(QFontMetrics(Drop->font()).horizontalAdvance(Drop->text()), 120 - Drop->DropDownButtonWidth());
    // the shortened display is not taken back as the text
    EXPECT_EQ(Drop->MemoText(), QStringList{wide});
    Drop->SetEditorEnabled(true);
    Drop->SetMemoText({QStringLiteral("first"), QStringLiteral("second")});
    EXPECT_EQ(Drop->text(), "first\nsecond");
    // text set into the edit becomes the whole memo text
    Drop->SetText(QStringLiteral("typed"));
    EXPECT_EQ(Drop->MemoText(), QStringList{QStringLiteral("typed")});
}

TEST_F(MemoTest, EnterMakesLinesEscapeRestoresAndClosingOtherwiseKeeps)
{
    Drop->SetEditorEnabled(false);
    Drop->resize(300, 22);
    Drop->SetMemoText({QStringLiteral("first"), QStringLiteral("second")});
    struct Case {
        const char* Name;
        Qt::Key Close;
        Qt::KeyboardModifiers Mods;
        QStringList Expected;
    };
    const QStringList old{QStringLiteral("first"), QStringLiteral("second")};
    const QStringList edited{QStringLiteral("new"), QStringLiteral("lines")};
    const Case cases[] = {
        {"Escape restores", Qt::Key_Escape, {}, old},
        {"F4 keeps", Qt::Key_F4, {}, edited},
        {"Alt+Up keeps", Qt::Key_Up, Qt::AltModifier, edited},
        {"a click elsewhere keeps", Qt::Key_unknown, {}, edited},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Drop->SetMemoText(old);
        ClickDropButton();
        ASSERT_TRUE(DropForm()->isVisible());
        QPlainTextEdit* memo = Drop->Memo();
        EXPECT_TRUE(memo->hasFocus());
        EXPECT_EQ(memo->toPlainText(), "first\nsecond");
        QTest::keyClick(memo, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(memo, QStringLiteral("new"));
        QTest::keyClick(memo, Qt::Key_Return);
        QTest::keyClicks(memo, QStringLiteral("lines"));
        EXPECT_TRUE(DropForm()->isVisible());
        if (c.Close != Qt::Key_unknown) QTest::keyClick(memo, c.Close, c.Mods);
        else DropForm()->close(); // what a click outside a pop-up does on a desktop
        EXPECT_FALSE(DropForm()->isVisible());
        EXPECT_EQ(Drop->MemoText(), c.Expected);
        EXPECT_EQ(Drop->text(), c.Expected.first() + "...");
    }
}

TEST_F(MemoTest, ReadOnlyAutoDropAndTheChangeEvent)
{
    int changes = 0;
    Drop->OnMemoChange = [&](QObject*) { ++changes; };
    Drop->ShowDropDown();
    changes = 0;
    Drop->SetMemoReadOnly(true);
    EXPECT_TRUE(Drop->Memo()->isReadOnly());
    QTest::keyClicks(Drop->Memo(), QStringLiteral("x"));
    EXPECT_EQ(Drop->Memo()->toPlainText(), "");
    Drop->SetMemoReadOnly(false);
    QTest::keyClicks(Drop->Memo(), QStringLiteral("xy"));
    EXPECT_EQ(changes, 2);
    QTest::keyClick(Drop->Memo(), Qt::Key_F4);
    EXPECT_EQ(Drop->MemoText(), QStringList{QStringLiteral("xy")});
    // the edit's length limit holds in the memo
    Drop->setMaxLength(4);
    Drop->ShowDropDown();
    Drop->Memo()->moveCursor(QTextCursor::End);
    QTest::keyClicks(Drop->Memo(), QStringLiteral("zzz"));
    EXPECT_EQ(Drop->Memo()->toPlainText(), "xyzz");
    QTest::keyClick(Drop->Memo(), Qt::Key_Home);
    QTest::keyClicks(Drop->Memo(), QStringLiteral("a"));
    EXPECT_EQ(Drop->Memo()->toPlainText(), "xyzz");
    Drop->HideDropDown(false);

    Drop->AutoDrop = true;
    Other->setFocus();
    QTest::keyClick(Other, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(DropForm()->isVisible());
}

} // namespace
