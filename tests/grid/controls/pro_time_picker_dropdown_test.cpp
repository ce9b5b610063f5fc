// The time drop-down: its text and mask, opening onto the clock, a time chosen by clicks and
// keys on the clock and accepted, cancelled or closed by a click outside, the live clock,
// the time picker below the clock, stepping parts with Up and Down, and typed text parsed.
#include "grid/controls/pro_time_picker_dropdown.h"

#include "platform/core/format_settings.h"
#include "platform/ui/date_time_picker.h"
#include "platform/ui/panel.h"
#include "platform/ui/popup_window.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include "time_text.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

struct TimePickerTest : ::testing::Test {
    ScopedFormatSettings Locale{TFormatSettings{}};
    QDialog Dialog;
    TProTimePickerDropDown* Edit = nullptr;
    QLineEdit* Other = nullptr;
    uint32_t Ticks = 100000;
    TDateTime Now = T(16, 45, 10);
    std::function<uint32_t()> OldTicks;
    std::function<TDateTime()> OldClock;
    int TimeChanges = 0;

    void SetUp() override
    {
        OldTicks = TPopupWindow::TickCount;
        TPopupWindow::TickCount = [this] { return Ticks; };
        OldClock = TProWatch::SystemTime;
        TProWatch::SystemTime = [this] { return Now; };
        Edit = new TProTimePickerDropDown(&Dialog);
        Edit->setGeometry(20, 20, 120, 22);
        Edit->OnTimeChange = [this](QObject*) { ++TimeChanges; };
        Other = new QLineEdit(&Dialog);
        Other->setGeometry(20, 60, 120, 22);
        Dialog.setGeometry(100, 100, 300, 260);
        Dialog.show();
        QApplication::setActiveWindow(&Dialog);
        Edit->setFocus();
    }
    void TearDown() override
    {
        if (Edit->DroppedDown()) Edit->HideDropDown(false);
        TPopupWindow::TickCount = OldTicks;
        TProWatch::SystemTime = OldClock;
    }
    TDropDownForm* Form() { return Edit->DropDownForm(); }
    TProWatch* Watch() { return Edit->Watch(); }
    void Open()
    {
        QTest::keyClick(Edit, Qt::Key_F4);
        ASSERT_TRUE(Edit->DroppedDown());
        ASSERT_TRUE(Form()->isVisible());
    }
    void RunAnimation()
    {
        for (int i = 0; i < 1000 && Watch()->Animating(); ++i) Watch()->AnimationTick();
    }
    // A click on the clock at a point of its own.
    void ClickWatch(int x, int y) { QTest::mouseClick(Watch(), Qt::LeftButton, {}, QPoint(x, y)); }
    QPoint WatchCentre() { return {Watch()->GetCenter().X, Watch()->GetCenter().Y}; }
};

} // namespace

TEST_F(TimePickerTest, TextAndMaskFollowTheTimeAndShowSeconds)
{
    EXPECT_EQ(Edit->Text(), "00:00:00");
    EXPECT_EQ(Edit->EditMask(), "!90:00:00;1; ");
    EXPECT_FALSE(Edit->EditorEnabled());
    EXPECT_FALSE(Edit->DropDownHeader()->Visible());
    Edit->SetTime(T(7, 5, 9));
    EXPECT_EQ(Edit->Text(), "07:05:09");
    EXPECT_EQ(TimeChanges, 0);
    Edit->SetShowSeconds(false);
    EXPECT_EQ(Edit->Text(), "07:05");
    EXPECT_EQ(Edit->EditMask(), "!90:00;1; ");
    EXPECT_EQ(Hms(Edit->Time()), "07:05:09");
    EXPECT_EQ(Edit->FormatTimeText(7, 5, 9), "07:05");
    // the locale's separator
    TFormatSettings dot;
    dot.TimeSeparator = QLatin1Char('.');
    ScopedFormatSettings other(dot);
    Edit->SetShowSeconds(true);
    EXPECT_EQ(Edit->Text(), "07.05.09");
    // the clock's look starts from the drop-down's style
    EXPECT_EQ(Edit->WatchAppearance()->BackgroundColor(), 0xFFEFE3u);
    EXPECT_EQ(Edit->WatchAppearance()->HourPointer(), 0x723708u);
}

TEST_F(TimePickerTest, AClickOnTheClockChoosesAndEnterAccepts)
{
    Edit->SetTime(T(9, 30));
    Open();
    EXPECT_EQ(Hms(Watch()->Time()), "09:30:00");
    EXPECT_EQ(Edit->PanelCtrl()->height(), 170);
    // 3 o'clock inside the face, with the hands animated
    const QPoint c = WatchCentre();
    ClickWatch(c.x() + 40, c.y());
    RunAnimation();
    EXPECT_EQ(Hms(Watch()->Time()), "03:30:00");
    // while open the text follows the clock
    EXPECT_EQ(Edit->Text(), "03:30:00");
    // outside the face at 12 o'clock: minute 0, back from 30
    ClickWatch(c.x(), 2);
    RunAnimation();
    EXPECT_EQ(Edit->Text(), "03:00:00");
    QTest::keyClick(Form(), Qt::Key_Return);
    EXPECT_FALSE(Edit->DroppedDown());
    EXPECT_EQ(Hms(Edit->Time()), "03:00:00");
    EXPECT_EQ(Edit->Text(), "03:00:00");
}

TEST_F(TimePickerTest, KeysOnTheOpenClockAndEscapeCancels)
{
    Edit->SetTime(T(22, 10));
    Edit->Animation = false;
    Open();
    QTest::keyClick(Form(), Qt::Key_PageUp);
    EXPECT_EQ(Hms(Watch()->Time()), "23:10:00");
    QTest::keyClick(Form(), Qt::Key_PageUp);   // 23 -> 0 without animation
    EXPECT_EQ(Hms(Watch()->Time()), "00:10:00");
    QTest::keyClick(Form(), Qt::Key_Right);
    RunAnimation();
    EXPECT_EQ(Hms(Watch()->Time()), "00:11:00");
    // Escape brings back the time the form opened with
    QTest::keyClick(Form(), Qt::Key_Escape);
    EXPECT_FALSE(Edit->DroppedDown());
    EXPECT_EQ(Hms(Edit->Time()), "22:10:00");
    EXPECT_EQ(Edit->Text(), "22:10:00");
    EXPECT_EQ(Hms(Watch()->Time()), "22:10:00");
    // Home sets the clock to 12; Enter takes it
    Open();
    QTest::keyClick(Form(), Qt::Key_Home);
    QTest::keyClick(Form(), Qt::Key_Return);
    EXPECT_EQ(Edit->Text(), "12:10:00");
}

TEST_F(TimePickerTest, AClickOutsideKeepsTheClocksTime)
{
    Edit->SetTime(T(8, 0));
    // opened by a click on the arrow button
    QTest::mouseClick(Edit->Button()->Button(), Qt::LeftButton, {}, QPoint(5, 5));
    ASSERT_TRUE(Form()->isVisible());
    ASSERT_EQ(QApplication::activePopupWidget(), Form());
    Watch()->SetAnimation(false);
    Watch()->HandleKey(Qt::Key_P);
    EXPECT_EQ(Hms(Watch()->Time()), "20:00:00");
    QTest::mouseClick(Dialog.windowHandle(), Qt::LeftButton, {}, QPoint(290, 250));
    EXPECT_FALSE(Form()->isVisible());
    EXPECT_EQ(Hms(Edit->Time()), "20:00:00");
    EXPECT_EQ(Edit->Text(), "20:00:00");
}

TEST_F(TimePickerTest, TheLiveClockShowsTheSystemTimeAndClosingTakesIt)
{
    Edit->SetTime(T(8, 0));
    Edit->WatchSettings()->SetAuto(true);
    Open();
    EXPECT_EQ(Hms(Watch()->CurrentTime()), "16:45:10");
    ClickWatch(WatchCentre().x() + 40, WatchCentre().y());
    EXPECT_FALSE(Watch()->Animating());
    QTest::keyClick(Form(), Qt::Key_Return);
    EXPECT_EQ(Hms(Edit->Time()), "16:45:10");
}

TEST_F(TimePickerTest, TheTimePickerBelowTheClockFollowsAndLeads)
{
    Edit->ShowTimePicker = true;
    Edit->SetTime(T(10, 20, 30));
    Open();
    TDateTimePicker* picker = Edit->Picker();
    ASSERT_TRUE(picker);
    EXPECT_TRUE(picker->isVisible());
    EXPECT_EQ(Edit->PanelCtrl()->height(), picker->sizeHint().height() + 170);
    EXPECT_EQ(Hms(picker->Time()), "10:20:30");
    // the clock leads the picker, and OnTimeChange fires
    Watch()->SetAnimation(false);
    Watch()->HandleKey(Qt::Key_PageUp);
    Watch()->HandleKey(Qt::Key_Right);   // no animation: fires only on a set target
    const TPoint b = {Watch()->AMPMRect().Left + 2, Watch()->AMPMRect().Top + 2};
    QTest::mouseClick(Watch(), Qt::LeftButton, {}, QPoint(b.X, b.Y));
    EXPECT_EQ(Hms(picker->Time()), "23:21:30");
    EXPECT_EQ(TimeChanges, 1);
    EXPECT_EQ(Edit->Text(), "23:21:30");
    // the picker sets the clock; the time follows on closing
    picker->SetTime(T(5, 6, 7));
    EXPECT_EQ(Hms(Watch()->Time()), "05:06:07");
    QTest::keyClick(picker, Qt::Key_Return);
    EXPECT_FALSE(Edit->DroppedDown());
    EXPECT_EQ(Hms(Edit->Time()), "05:06:07");
    // without the flag the picker stays hidden
    Edit->ShowTimePicker = false;
    Open();
    EXPECT_FALSE(picker->isVisible());
}

TEST_F(TimePickerTest, UpAndDownStepThePartUnderTheCaret)
{
    struct Case {
        const char* Name;
        TDateTime Start;
        int Caret;
        Qt::Key Key;
        TDateTime Expected;
    };
    const Case cases[] = {
        {"Up in the minutes", T(10, 0, 30), 4, Qt::Key_Up, T(10, 59, 30)},
        {"Down in the hours", T(23, 15, 0), 1, Qt::Key_Down, T(0, 15, 0)},
        {"Down in the seconds", T(1, 2, 59), 7, Qt::Key_Down, T(1, 2, 0)},
        {"Up in the hours", T(5, 2, 3), 0, Qt::Key_Up, T(4, 2, 3)},
    };
    // off (the default): nothing
    Edit->SetTime(T(10, 0, 30));
    Edit->setCursorPosition(4);
    QTest::keyClick(Edit, Qt::Key_Up);
    EXPECT_EQ(Hms(Edit->Time()), "10:00:30");
    Edit->SetEditorEnabled(true);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Edit->SetTime(c.Start);
        TimeChanges = 0;
        Edit->setCursorPosition(c.Caret);
        QTest::keyClick(Edit, c.Key);
        EXPECT_EQ(Hms(Edit->Time()), Hms(c.Expected));
        EXPECT_EQ(Edit->Text().toStdString(), Hms(c.Expected));
        EXPECT_EQ(TimeChanges, 1);
        EXPECT_EQ(Edit->cursorPosition(), c.Caret);
    }
    // values out of range are ignored
    Edit->SetHourOfTime(24);
    Edit->SetMinuteOfTime(60);
    EXPECT_EQ(TimeChanges, 1);
}

TEST_F(TimePickerTest, TypedTextWithoutSecondsIsParsed)
{
    Edit->SetShowSeconds(false);
    Edit->SetEditMask(QString());   // the parse itself, free of the mask
    struct Case {
        const char* Typed;
        TDateTime Expected;
        const char* Shown;
    };
    const Case cases[] = {
        {"07:30", T(7, 30), "07:30"},
        {"9: 00", T(9, 0), "09:00"},   // blanks count as zeros; a full hour is rewritten
        {"ab:cd", T(9, 0), "ab:cd"},
        {"25:00", T(9, 0), "25:00"},   // refused: the time stays
        {"7:30", T(9, 0), "7:30"},     // not 5 characters
        {"12345", T(9, 0), "12345"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Typed);
        Edit->setText(QString::fromLatin1(c.Typed));
        EXPECT_EQ(Hms(Edit->Time()), Hms(c.Expected));
        EXPECT_EQ(Edit->Text(), QString::fromLatin1(c.Shown));
    }
}
