// The spin edit on its own: values as views of the text, stepping by key, button and the
// auto-repeat timer, the character filter, and clamping when the focus leaves.
#include "grid/controls/psg_spin_edit.h"
#include "platform/core/date_text.h"
#include "editor_locale.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

struct SpinFixture : ::testing::Test {
    ScopedFormatSettings Locale{EditorTestLocale()};
    QWidget Window;
    TPsgSpinEdit* Spin = nullptr;
    QLineEdit* Other = nullptr;
    void SetUp() override
    {
        Spin = new TPsgSpinEdit(&Window);
        Spin->setGeometry(10, 10, 120, 24);
        Other = new QLineEdit(&Window);
        Other->setGeometry(10, 50, 120, 24);
        Window.resize(200, 100);
        Window.show();
        QApplication::setActiveWindow(&Window);
        Spin->setFocus();
    }
    void Key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) { QTest::keyClick(Spin, k, m); }
    void Caret(int at)
    {
        Spin->deselect();
        Spin->setCursorPosition(at);
    }
};

} // namespace

TEST_F(SpinFixture, TheIntegerValueIsReadFromTheTextAndClampedWhenWritten)
{
    struct Case {
        const char* Text;
        int Value;
    };
    Spin->MinValue = 5;
    for (const Case& c : {Case{" 12 ", 12}, Case{"", 0}, Case{"abc", 5}}) {
        Spin->setText(QString::fromLatin1(c.Text));
        EXPECT_EQ(Spin->Value(), c.Value) << c.Text;
    }
    Spin->SetValue(500);
    EXPECT_EQ(Spin->text(), "100");
    Spin->MinValue = Spin->MaxValue = 0;   // equal bounds: no range
    Spin->SetValue(500);
    EXPECT_EQ(Spin->text(), "500");
}

TEST_F(SpinFixture, KeysStepTheValueAndStopAtTheLimits)
{
    Spin->SetValue(98);
    Key(Qt::Key_Up);
    EXPECT_EQ(Spin->text(), "99");
    Key(Qt::Key_PageUp);   // Page is the float page step; integers step by Increment
    EXPECT_EQ(Spin->text(), "100");
    Key(Qt::Key_Up);
    EXPECT_EQ(Spin->text(), "100");
    Spin->SetValue(1);
    Key(Qt::Key_Down);
    Key(Qt::Key_PageDown);
    EXPECT_EQ(Spin->text(), "0");

    Spin->SetSpinType(sptFloat);
    Spin->SetFloatValue(1.5);
    Key(Qt::Key_PageUp);
    EXPECT_EQ(Spin->text(), "2.5");
    Key(Qt::Key_Down);
    EXPECT_EQ(Spin->text(), "2.4");
    Spin->SetPrecision(3);
    EXPECT_EQ(Spin->text(), "2.400");
}

TEST_F(SpinFixture, TheButtonsStepOncePerClickAndRepeatWhileHeld)
{
    Spin->SetValue(10);
    TProTimerSpeedButton* up = Spin->Button()->UpButton();
    TProTimerSpeedButton* down = Spin->Button()->DownButton();
    QTest::mouseClick(up, Qt::LeftButton);
    EXPECT_EQ(Spin->Value(), 11);
    QTest::mouseClick(down, Qt::LeftButton);
    QTest::mouseClick(down, Qt::LeftButton);
    EXPECT_EQ(Spin->Value(), 9);

    // held: nothing at the press, one step when the timer first fires (400 ms), then one
    // per 100 ms, and the click of the release
    QTest::mousePress(up, Qt::LeftButton);
    ASSERT_NE(up->RepeatTimer(), nullptr);
    EXPECT_TRUE(up->RepeatTimer()->isActive());
    EXPECT_EQ(up->RepeatTimer()->interval(), 400);
    EXPECT_EQ(Spin->Value(), 9);
    up->TimerExpired();
    EXPECT_EQ(up->RepeatTimer()->interval(), 100);
    EXPECT_EQ(Spin->Value(), 10);
    up->TimerExpired();
    EXPECT_EQ(Spin->Value(), 11);
    QTest::mouseRelease(up, Qt::LeftButton);
    EXPECT_EQ(Spin->Value(), 12);
    EXPECT_FALSE(up->RepeatTimer()->isActive());
    up->TimerExpired();   // a late tick after the release clicks nothing
    EXPECT_EQ(Spin->Value(), 12);
}

TEST_F(SpinFixture, TypedCharactersAreFilteredByKind)
{
    Spin->setText(QStringLiteral("5"));
    Caret(1);
    QTest::keyClicks(Spin, QStringLiteral("-x"));
    EXPECT_EQ(Spin->text(), "5");   // "-" only at the start; letters never
    QTest::keyClick(Spin, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Spin->text(), "5");
    Caret(0);
    QTest::keyClicks(Spin, QStringLiteral("-3"));
    EXPECT_EQ(Spin->text(), "-35");
    Spin->setSelection(0, 1);   // "-" selected: a new "-" may replace it
    QTest::keyClicks(Spin, QStringLiteral("-"));
    EXPECT_EQ(Spin->text(), "-35");

    Spin->SetSpinType(sptFloat);
    Spin->SetPrecision(2);
    Spin->setText(QStringLiteral("1.25"));
    Caret(4);
    QTest::keyClicks(Spin, QStringLiteral("7"));
    EXPECT_EQ(Spin->text(), "1.25");
    Spin->setText(QStringLiteral("1.2"));
    Caret(3);
    QTest::keyClicks(Spin, QStringLiteral("7."));
    EXPECT_EQ(Spin->text(), "1.27");   // a second decimal separator is refused

    Spin->SetEditorEnabled(false);
    Spin->setText(QStringLiteral("4"));
    Caret(1);
    QTest::keyClicks(Spin, QStringLiteral("12"));
    QTest::keyClick(Spin, Qt::Key_Backspace);
    EXPECT_EQ(Spin->text(), "4");
}

TEST_F(SpinFixture, TimeStepsTheFieldUnderTheCaret)
{
    Spin->SetSpinType(sptTime);
    struct Case {
        const char* Text;
        int Caret;
        Qt::Key Key;
        const char* After;
    };
    const Case cases[] = {
        {"10:20:30", 4, Qt::Key_Up, "10:21:30"},   {"10:20:30", 7, Qt::Key_Up, "10:20:31"},
        {"10:20:30", 1, Qt::Key_Up, "11:20:30"},   {"00:00:00", 1, Qt::Key_Down, "23:00:00"},
        {"23:59:59", 7, Qt::Key_Up, "00:00:00"},
    };
    for (const Case& c : cases) {
        Spin->setText(QString::fromLatin1(c.Text));
        Caret(c.Caret);
        Key(c.Key);
        EXPECT_EQ(Spin->text(), QString::fromLatin1(c.After)) << c.Text << " caret " << c.Caret;
    }
    Spin->setText(QStringLiteral("10:20"));
    Caret(5);
    QTest::keyClicks(Spin, QStringLiteral(":"));
    QTest::keyClicks(Spin, QStringLiteral(":"));
    EXPECT_EQ(Spin->text(), "10:20:");   // no third separator
}

TEST_F(SpinFixture, DateStepsTheFieldUnderTheCaretInTheLocaleOrder)
{
    Spin->SetSpinType(sptDate);
    struct Case {
        const char* Format;
        const char* Text;
        int Caret;
        const char* After;
    };
    const Case cases[] = {
        {"dd/mm/yyyy", "31/01/2024", 1, "01/02/2024"},   // day
        {"dd/mm/yyyy", "31/01/2024", 4, "29/02/2024"},   // month, clipped to February
        {"dd/mm/yyyy", "29/02/2024", 8, "29/02/2024"},   // no 29 February in 2025: unchanged
        {"dd/mm/yyyy", "28/02/2024", 8, "28/02/2025"},
        {"mm/dd/yyyy", "01/31/2024", 1, "02/29/2024"},   // month first
        {"mm/dd/yyyy", "01/31/2024", 4, "02/01/2024"},
    };
    for (const Case& c : cases) {
        TFormatSettings s = EditorTestLocale();
        s.ShortDateFormat = QString::fromLatin1(c.Format);
        ScopedFormatSettings scoped(s);
        Spin->setText(QString::fromLatin1(c.Text));
        Caret(c.Caret);
        Key(Qt::Key_Up);
        EXPECT_EQ(Spin->text(), QString::fromLatin1(c.After)) << c.Format << " " << c.Text << " caret " << c.Caret;
    }
}

TEST_F(SpinFixture, LeavingTheEditClampsAValueOutOfRangeOnly)
{
    Spin->setText(QStringLiteral("150"));
    Other->setFocus();
    EXPECT_EQ(Spin->text(), "100");
    Spin->setFocus();
    Spin->setText(QStringLiteral("007"));
    Other->setFocus();
    EXPECT_EQ(Spin->text(), "007");
}
