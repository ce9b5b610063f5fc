// The date and time pickers on their own: formats, values, auto-tab between fields, the
// calendar, the companion time picker and the label.
#include "grid/controls/pro_date_time_picker.h"
#include "grid/controls/psg_date_time_picker.h"
#include "editor_locale.h"
#include "platform/ui/date_format_qt.h"
#include "platform/ui/date_time_values.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QLineEdit>
#include <QTextCharFormat>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

struct PickerFixture : ::testing::Test {
    ScopedFormatSettings Locale{EditorTestLocale()};
    QWidget Window;
    void SetUp() override
    {
        Window.resize(400, 200);
        Window.show();
        QApplication::setActiveWindow(&Window);
    }
    template <typename P> P* Make(int x, int y, int w = 200)
    {
        auto* p = new P(&Window);
        p->setGeometry(x, y, w, 24);
        p->show();
        p->setFocus();
        return p;
    }
    static void SelectField(TDateTimePicker* p, int i)
    {
        p->setCurrentSectionIndex(i);
        p->setSelectedSection(p->currentSection());
    }
};

} // namespace

TEST(DateFormatQt, FormatLettersAreTranslatedNotPassedThrough)
{
    ScopedFormatSettings locale{EditorTestLocale()};
    struct Case {
        const char* Ours;
        const char* Qt;
    };
    const Case cases[] = {
        {"dd/mm/yyyy", "dd/MM/yyyy"}, {"d/m/yy", "d/M/yy"},       {"hh:nn:ss", "hh:mm:ss"},
        {"h:mm", "h:mm"},             {"mmmm d, yyyy", "MMMM d, yyyy"}, {"hh:nn ampm", "hh:mm AP"},
        {"dd\"th of\"mm", "dd'th of'MM"}, {"yyyy-mm-dd", "yyyy-MM-dd"},
    };
    for (const Case& c : cases) EXPECT_EQ(QtDateTimeFormat(QString::fromLatin1(c.Ours)), QString::fromLatin1(c.Qt)) << c.Ours;
    TFormatSettings dots = EditorTestLocale();
    dots.DateSeparator = QLatin1Char('.');
    ScopedFormatSettings scoped(dots);
    EXPECT_EQ(QtDateTimeFormat(QStringLiteral("dd/mm/yyyy")), "dd.MM.yyyy");
}

TEST_F(PickerFixture, ADateIsTypedFieldByFieldAndAutoTabMovesOn)
{
    auto* p = Make<TProDateTimePicker>(10, 10, 260);
    p->SetProKind(dkDate);
    p->SetAutoTab(true);
    p->SetDateTime(EncodeDate(2024, 3, 8));
    SelectField(p, 0);
    QTest::keyClicks(p, QStringLiteral("1"));   // day 8 -> 1: on to the month at once
    EXPECT_EQ(p->currentSectionIndex(), 1);
    QTest::keyClicks(p, QStringLiteral("4"));
    EXPECT_EQ(p->currentSectionIndex(), 2);
    QTest::keyClicks(p, QStringLiteral("2025"));
    EXPECT_EQ(p->text(), "01/04/2025");
    EXPECT_EQ(p->currentSectionIndex(), 2);   // a date picker has nothing after the year

    // with a time companion, a changed year moves into it
    auto* dt = Make<TProDateTimePicker>(10, 50, 260);
    dt->SetAutoTab(true);
    dt->SetDateTime(EncodeDate(2024, 3, 8) + EncodeTime(10, 2, 0, 0));
    ASSERT_NE(dt->TimePicker(), nullptr);
    ASSERT_TRUE(dt->TimePicker()->isVisible());
    SelectField(dt, 2);
    QTest::keyClicks(dt, QStringLiteral("202"));   // a half-typed year is no change yet
    EXPECT_EQ(QApplication::focusWidget(), dt);
    QTest::keyClicks(dt, QStringLiteral("6"));
    EXPECT_EQ(QApplication::focusWidget(), dt->TimePicker());
    // the time's fields each move on once changed, a digit that changes nothing stays
    QTest::keyClicks(dt->TimePicker(), QStringLiteral("9"));
    EXPECT_EQ(dt->TimePicker()->currentSectionIndex(), 1);
    QTest::keyClicks(dt->TimePicker(), QStringLiteral("2"));
    EXPECT_EQ(dt->TimePicker()->currentSectionIndex(), 1);
    QTest::keyClicks(dt->TimePicker(), QStringLiteral("5"));
    EXPECT_EQ(dt->TimePicker()->currentSectionIndex(), 2);
    QTest::keyClicks(dt->TimePicker(), QStringLiteral("7"));
    EXPECT_EQ(dt->CombinedText(), "08/03/2026 09:25:07");
}

TEST_F(PickerFixture, AFormatEndingInTheMonthMovesIntoTheCompanionOnAMonthChange)
{
    auto* dt = Make<TProDateTimePicker>(10, 10, 260);
    dt->SetAutoTab(true);
    dt->SetFormat(QStringLiteral("yyyy/dd/MM"));
    dt->SetDateTime(EncodeDate(2024, 3, 8));
    SelectField(dt, 1);
    QTest::keyClicks(dt, QStringLiteral("2"));
    EXPECT_EQ(dt->currentSectionIndex(), 2);   // a day change moves to the next field
    QTest::keyClicks(dt, QStringLiteral("7"));
    EXPECT_EQ(QApplication::focusWidget(), dt->TimePicker());
}

TEST_F(PickerFixture, ValuesDropMillisecondsAndDateKeepsTheTime)
{
    auto* dt = Make<TProDateTimePicker>(10, 10, 260);
    dt->SetDateTime(EncodeDate(2024, 3, 8) + EncodeTime(10, 20, 30, 750));
    EXPECT_DOUBLE_EQ(dt->DateTime(), EncodeDate(2024, 3, 8) + EncodeTime(10, 20, 30, 0));
    dt->SetDate(EncodeDate(2023, 12, 1));
    EXPECT_DOUBLE_EQ(dt->DateTime(), EncodeDate(2023, 12, 1) + EncodeTime(10, 20, 30, 0));
    dt->SetProKind(dkDate);
    EXPECT_EQ(dt->TimePicker(), nullptr);
    dt->SetProKind(dkDateTime);
    ASSERT_NE(dt->TimePicker(), nullptr);
}

TEST_F(PickerFixture, TheLabelIsPlacedByItsPosition)
{
    auto* dt = Make<TProDateTimePicker>(100, 60, 200);
    dt->SetLabelCaption(QStringLiteral("Start"));
    QLabel* l = dt->PickerLabel();
    ASSERT_NE(l, nullptr);
    const int tw = l->fontMetrics().horizontalAdvance(QStringLiteral("Start"));
    EXPECT_EQ(l->x(), 100 - tw - 4);
    EXPECT_EQ(l->y(), 60);
    dt->SetLabelPosition(lpTopLeft);
    EXPECT_EQ(l->x(), 100);
    EXPECT_EQ(l->y(), 60 - l->height() - 4);
    dt->SetLabelPosition(lpRightCenter);
    EXPECT_EQ(l->x(), 304);
}

TEST_F(PickerFixture, TheLabelFollowsItsFontFocusEnablingAndClicks)
{
    auto* other = Make<QLineEdit>(10, 150);
    auto* dt = Make<TProDateTimePicker>(100, 60, 200);
    dt->SetLabelCaption(QStringLiteral("Start"));
    QLabel* l = dt->PickerLabel();
    QFont big = l->font();
    big.setPointSize(big.pointSize() + 6);
    big.setItalic(true);
    dt->SetLabelFont(big);
    EXPECT_FALSE(l->font().italic());   // the picker uses its parent's font
    QFont own = dt->font();
    own.setPointSize(own.pointSize() + 1);
    dt->setFont(own);
    EXPECT_TRUE(l->font().italic());
    EXPECT_EQ(l->font().pointSize(), big.pointSize());

    dt->FocusLabel = true;
    other->setFocus();
    QTest::mouseClick(dt, Qt::LeftButton, {}, QPoint(10, 12));
    ASSERT_TRUE(dt->hasFocus());
    EXPECT_TRUE(l->font().bold());
    other->setFocus();
    EXPECT_FALSE(l->font().bold());
    EXPECT_TRUE(l->font().italic());

    EXPECT_TRUE(l->autoFillBackground());
    dt->SetLabelTransparent(true);
    EXPECT_FALSE(l->autoFillBackground());

    int clicks = 0, doubles = 0;
    dt->OnLabelClick = [&](QObject* s) { EXPECT_EQ(s, dt); ++clicks; };
    dt->OnLabelDblClick = [&](QObject*) { ++doubles; };
    QTest::mouseClick(l, Qt::LeftButton);
    QTest::mouseClick(l, Qt::RightButton);
    QTest::mouseDClick(l, Qt::LeftButton);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(doubles, 1);

    dt->setEnabled(false);
    EXPECT_FALSE(l->isEnabled());
    dt->SetLabelAlwaysEnabled(true);
    EXPECT_TRUE(l->isEnabled());
    dt->setEnabled(true);
    dt->setEnabled(false);
    EXPECT_TRUE(l->isEnabled());
}

TEST_F(PickerFixture, TheCalendarDropsDownAndADayIsPicked)
{
    auto* p = Make<TPsgDateTimePicker>(10, 10, 200);
    p->SetDate(EncodeDate(2024, 3, 8));
    EXPECT_EQ(p->text(), "08/03/2024");
    QTest::mouseClick(p, Qt::LeftButton, {}, QPoint(p->width() - 6, p->height() / 2));
    ASSERT_TRUE(p->DroppedDown());
    QCalendarWidget* cal = p->calendarWidget();
    QWidget* view = cal->focusWidget() ? cal->focusWidget() : cal;
    QTest::keyClick(view, Qt::Key_Right);
    QTest::keyClick(view, Qt::Key_Return);
    EXPECT_FALSE(p->DroppedDown());
    EXPECT_EQ(p->text(), "09/03/2024");
    // F4 drops it as well
    QTest::keyClick(p, Qt::Key_F4);
    EXPECT_TRUE(p->DroppedDown());
    QTest::keyClick(cal->focusWidget() ? cal->focusWidget() : cal, Qt::Key_Escape);
    EXPECT_FALSE(p->DroppedDown());
    EXPECT_EQ(p->text(), "09/03/2024");
    // today is marked in the calendar
    EXPECT_EQ(cal->dateTextFormat(QDate::currentDate()).fontWeight(), QFont::Bold);
}

TEST_F(PickerFixture, TheCheckBoxSwitchesTheValueOff)
{
    auto* p = Make<TPsgDateTimePicker>(10, 10, 200);
    p->SetShowCheckbox(true);
    ASSERT_NE(p->CheckBox(), nullptr);
    EXPECT_TRUE(p->Checked());
    QTest::mouseClick(p->CheckBox(), Qt::LeftButton);
    EXPECT_FALSE(p->Checked());
}
