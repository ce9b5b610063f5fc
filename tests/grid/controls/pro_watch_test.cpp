// The analog clock: setting the time by clicks inside and outside the face and in the AM/PM
// box, the keys a host passes on, the hand animation's steps, the live mode on a fake
// clock, the presets and component styles, and the hands as drawn.
#include "grid/controls/pro_watch.h"

#include "platform/core/exception.h"

#include "time_text.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

struct WatchTest : ::testing::Test {
    QWidget Host;
    TProWatch* Watch = nullptr;
    int Changes = 0;
    TDateTime Now = T(14, 25, 40);
    std::function<TDateTime()> OldClock;

    void SetUp() override
    {
        OldClock = TProWatch::SystemTime;
        TProWatch::SystemTime = [this] { return Now; };
        Watch = new TProWatch(&Host);
        Watch->move(0, 0);
        Watch->OnChange = [this](QObject*) { ++Changes; };
        Host.resize(200, 200);
        Host.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Host));
    }
    void TearDown() override { TProWatch::SystemTime = OldClock; }
    void Click(int x, int y) { QTest::mouseClick(Watch, Qt::LeftButton, {}, QPoint(x, y)); }
    // Runs the hand animation to its end; answers the number of ticks.
    int RunAnimation()
    {
        int ticks = 0;
        while (Watch->Animating() && ticks < 1000) {
            Watch->AnimationTick();
            ++ticks;
        }
        return ticks;
    }
    TPoint AMPMCentre()
    {
        const TRect b = Watch->AMPMRect();
        return {(b.Left + b.Right) / 2, (b.Top + b.Bottom) / 2};
    }
    static TColor Pixel(const QImage& img, int x, int y)
    {
        const QColor c = img.pixelColor(x, y);
        return TColor(c.red() | (c.green() << 8) | (c.blue() << 16));
    }
};

} // namespace

TEST_F(WatchTest, GeometryKeepsACentredSquareFace)
{
    // 180 x 180: a face of 160, centre 90,90
    EXPECT_EQ(Watch->WatchRect(), Rect(10, 10, 170, 170));
    EXPECT_EQ(Watch->FaceRadius(), 80);
    Watch->resize(200, 100);
    EXPECT_EQ(Watch->WatchRect(), Rect(60, 10, 140, 90));
    Watch->Appearance()->SetSize(150);
    EXPECT_EQ(Watch->WatchRect(), Rect(50, 0, 150, 100));
}

TEST_F(WatchTest, ClicksInsideSetTheHourAndOutsideTheMinute)
{
    Watch->SetAnimation(false);
    struct Case {
        const char* Name;
        TDateTime Start;
        QPoint At;
        TDateTime Expected;
    };
    const Case cases[] = {
        // the centre counts as halfway between 3 and 6 o'clock
        {"centre, morning", T(9, 30), {90, 90}, T(5, 30)},
        {"centre, afternoon", T(21, 30), {90, 90}, T(17, 30)},
        {"12 from the right, morning", T(9, 30), {91, 30}, T(0, 30)},
        {"12 from the left, morning", T(9, 30), {89, 30}, T(0, 30)},
        {"12 from the left, afternoon", T(15, 30), {89, 30}, T(12, 30)},
        {"9 o'clock", T(1, 10), {40, 90}, T(9, 10)},
        {"outside at 3 o'clock", T(9, 30), {176, 90}, T(9, 15)},
        {"outside top left", T(9, 30), {3, 3}, T(9, 53)},
        {"outside at 12 o'clock from 30", T(9, 30), {90, 4}, T(9, 0)},
        // from above 30 to 0 the hour moves on
        {"outside at 12 o'clock from 45", T(9, 45), {90, 4}, T(10, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Watch->SetTime(c.Start);
        Click(c.At.x(), c.At.y());
        EXPECT_EQ(Hms(Watch->Time()), Hms(c.Expected));
        EXPECT_EQ(Watch->AM(), Hms(c.Expected) < "12");
    }
}

TEST_F(WatchTest, AClickInTheAMPMBoxSwitchesTheHalfAndFiresOnce)
{
    for (bool animate : {false, true}) {
        SCOPED_TRACE(animate);
        Watch->SetAnimation(animate);
        Watch->SetTime(T(9, 30));
        ASSERT_TRUE(Watch->AM());
        Changes = 0;
        const TPoint b = AMPMCentre();
        Click(b.X, b.Y);
        EXPECT_EQ(Hms(Watch->Time()), "21:30:00");
        EXPECT_FALSE(Watch->AM());
        EXPECT_EQ(Changes, 1);
        // with animation the box text scrolls one pixel per step, on a timer
        EXPECT_EQ(Watch->AMPMScrolling(), animate);
        int steps = 0;
        while (Watch->AMPMScrolling() && steps < 100) Watch->AMPMStep(), ++steps;
        EXPECT_EQ(steps, animate ? Watch->AMPMRect().Height() - 2 : 0);
        Watch->grab();
    }
}

TEST_F(WatchTest, AClickWithAnimationMovesTheHandsInSteps)
{
    Watch->SetTime(T(9, 0));
    Click(176, 90);   // minute 15
    EXPECT_TRUE(Watch->Animating());
    EXPECT_EQ(Hms(Watch->Time()), "09:00:00");
    EXPECT_GT(RunAnimation(), 2);
    EXPECT_EQ(Hms(Watch->Time()), "09:15:00");
    EXPECT_EQ(Changes, 1);
    Click(40, 90);   // hour 9 -> same hour: nothing
    EXPECT_FALSE(Watch->Animating());
    Click(140, 90);   // hour 3
    RunAnimation();
    EXPECT_EQ(Hms(Watch->Time()), "03:15:00");
    EXPECT_EQ(Changes, 2);
}

TEST_F(WatchTest, MinuteAnimationStepsByATenthOfTheDistance)
{
    Watch->SetTime(T(7, 0));
    Watch->SetMinute(30);
    QList<int> minutes;
    while (Watch->Animating() && minutes.size() < 100) {
        Watch->AnimationTick();
        int h, m, s, ms;
        DecodeTime(Watch->Time(), h, m, s, ms);
        minutes << m;
    }
    // rounded tenths, ties to even, at least 1; the last tick only confirms the arrival
    EXPECT_EQ(minutes.mid(0, 5), (QList<int>{3, 6, 8, 10, 12}));
    EXPECT_EQ(minutes.last(), 30);
    EXPECT_EQ(Changes, 1);

    struct Case {
        TDateTime Start;
        TDateTime Expected;
    };
    // toward 0 from above 30 it runs forward through 59 and advances the hour
    for (const Case& c : {Case{T(7, 50), T(8, 0)}, Case{T(7, 20), T(7, 0)}, Case{T(23, 50), T(0, 0)}}) {
        Watch->SetTime(c.Start);
        Watch->SetMinute(0);
        RunAnimation();
        EXPECT_EQ(Hms(Watch->Time()), Hms(c.Expected));
    }
}

TEST_F(WatchTest, KeysStepTheTime)
{
    struct Case {
        const char* Name;
        int Key;
        TDateTime Start;
        TDateTime Expected;
        bool Animates;
        int Changes;
    };
    const Case cases[] = {
        {"Right", Qt::Key_Right, T(10, 59), T(11, 0), true, 1},
        {"Right at midnight", Qt::Key_Right, T(23, 59), T(0, 0), true, 1},
        {"Left back an hour", Qt::Key_Left, T(11, 0, 5), T(10, 59, 5), false, 0},
        {"Left after midnight", Qt::Key_Left, T(0, 0), T(23, 59), false, 0},
        {"Left", Qt::Key_Left, T(11, 10), T(11, 9), true, 1},
        {"Page Up at 23", Qt::Key_PageUp, T(23, 10), T(0, 10), false, 0},
        {"Page Up", Qt::Key_PageUp, T(8, 10), T(9, 10), true, 1},
        {"Page Down at 0", Qt::Key_PageDown, T(0, 10), T(23, 10), false, 0},
        {"Home", Qt::Key_Home, T(8, 10), T(12, 10), false, 0},
        {"End", Qt::Key_End, T(8, 10), T(8, 0), true, 1},
        {"A in the afternoon", Qt::Key_A, T(15, 10), T(3, 10), true, 1},
        {"A in the morning", Qt::Key_A, T(3, 10), T(3, 10), false, 0},
        {"P in the morning", Qt::Key_P, T(3, 10), T(15, 10), true, 1},
        {"Up does nothing", Qt::Key_Up, T(3, 10), T(3, 10), false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Watch->SetTime(c.Start);
        Changes = 0;
        Watch->HandleKey(c.Key);
        EXPECT_EQ(Watch->Animating(), c.Animates);
        RunAnimation();
        EXPECT_EQ(Hms(Watch->Time()), Hms(c.Expected));
        EXPECT_EQ(Changes, c.Changes);
    }
}

TEST_F(WatchTest, AnInvalidMinuteIsRefused)
{
    Watch->SetTime(T(4, 5));
    try {
        Watch->SetMinute(60);
        ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Invalid time");
    }
    EXPECT_EQ(Hms(Watch->Time()), "04:05:00");
    // a factor of 0 steps as 1 instead of dividing by zero
    Watch->SetAnimationFactor(0);
    Watch->SetMinute(10);
    RunAnimation();
    EXPECT_EQ(Hms(Watch->Time()), "04:10:00");
}

TEST_F(WatchTest, TheLiveClockFollowsTheSystemTimeAndIgnoresInput)
{
    Watch->SetTime(T(9, 0));
    Watch->Settings()->SetAuto(true);
    EXPECT_TRUE(Watch->LiveTimer().isActive());
    EXPECT_EQ(Hms(Watch->Time()), "14:25:40");
    EXPECT_FALSE(Watch->AM());
    Now = T(3, 0);
    Watch->Settings()->SetTimeOffset(90);
    EXPECT_EQ(Hms(Watch->CurrentTime()), "04:30:00");
    Click(140, 90);
    Click(176, 90);
    Watch->HandleKey(Qt::Key_PageUp);
    EXPECT_FALSE(Watch->Animating());
    EXPECT_EQ(Hms(Watch->CurrentTime()), "04:30:00");
    // painting follows the half of the shown hour
    Watch->grab();
    EXPECT_TRUE(Watch->AM());
    Watch->Settings()->SetAuto(false);
    EXPECT_FALSE(Watch->LiveTimer().isActive());
}

TEST_F(WatchTest, HandsAreDrawnAtTheirTime)
{
    TWatchAppearance& a = *Watch->Appearance();
    a.SetHourPointer(0x0000FF);
    a.SetMinutePointer(0xFF0000);
    a.SetSecondPointer(0x00FF00);
    a.SetSecondPointerSize(3);
    a.SetHourPointerShadow(clNone);
    a.SetMinutePointerShadow(clNone);
    a.SetTickMarks(tmNone);
    Watch->SetShowAMPM(false);
    Watch->SetTime(T(15, 0));
    QImage img = Watch->grab().toImage();
    // hour hand toward 3 o'clock (k up to 0.5 of 80), minute hand up (k up to 0.7)
    EXPECT_EQ(Pixel(img, 120, 90), 0x0000FFu);
    EXPECT_EQ(Pixel(img, 90, 50), 0xFF0000u);
    EXPECT_EQ(Pixel(img, 60, 90), 0xFFFFFFu);
    EXPECT_EQ(Pixel(img, 90, 130), 0xFFFFFFu);
    EXPECT_EQ(Pixel(img, 90, 150), 0xFFFFFFu);
    // 9:30 turns the hour hand past 9 and the minute hand down
    Watch->SetTime(T(9, 30));
    img = Watch->grab().toImage();
    EXPECT_EQ(Pixel(img, 120, 90), 0xFFFFFFu);
    EXPECT_EQ(Pixel(img, 59, 82), 0x0000FFu);
    EXPECT_EQ(Pixel(img, 90, 130), 0xFF0000u);
    // the second hand only on the live clock with seconds on
    Now = T(6, 0, 15);
    Watch->Settings()->SetAuto(true);
    img = Watch->grab().toImage();
    EXPECT_EQ(Pixel(img, 150, 90), 0x00FF00u);
    Watch->Settings()->SetSecond(false);
    img = Watch->grab().toImage();
    EXPECT_EQ(Pixel(img, 150, 90), 0xFFFFFFu);
    // these pointer styles show no hands
    Watch->Settings()->SetAuto(false);
    Watch->SetTime(T(15, 0));
    for (TPointerStyle ps : {psShortLine, psLineArrow}) {
        a.SetPointerStyle(ps);
        img = Watch->grab().toImage();
        EXPECT_EQ(Pixel(img, 120, 90), 0xFFFFFFu);
        EXPECT_EQ(Pixel(img, 90, 50), 0xFFFFFFu);
    }
    a.SetPointerStyle(psPointer);
    img = Watch->grab().toImage();
    EXPECT_EQ(Pixel(img, 120, 90), 0x0000FFu);
    EXPECT_EQ(Pixel(img, 90, 50), 0xFF0000u);
}

TEST_F(WatchTest, TheFaceAndTheAMPMBoxAreDrawn)
{
    TWatchAppearance& a = *Watch->Appearance();
    a.SetBorderColor(0x00FF00);
    a.SetAMPMColor(0x00FFFF);
    a.SetAMPMBorderColor(0xFF00FF);
    Watch->SetTime(T(15, 0));
    const QImage img = Watch->grab().toImage();
    // the circle's border at the left of the face; the corner outside it keeps the host's colour
    EXPECT_EQ(Pixel(img, 11, 90), 0x00FF00u);
    EXPECT_NE(Pixel(img, 12, 12), 0xFFFFFFu);
    const TRect b = Watch->AMPMRect();
    EXPECT_EQ(Pixel(img, b.Left, b.Top + 2), 0xFF00FFu);
    EXPECT_EQ(Pixel(img, b.Left + 1, b.Top + 1), 0x00FFFFu);
}

TEST_F(WatchTest, StylesApplyTheirPresets)
{
    // a new clock carries wsClassic without its preset
    EXPECT_EQ(Watch->Style(), wsClassic);
    EXPECT_EQ(Watch->Appearance()->HourMarkLength(), 0);
    Watch->SetStyle(wsClassic);
    EXPECT_EQ(Watch->Appearance()->HourMarkLength(), 0);
    Watch->SetStyle(wsTower);
    EXPECT_EQ(Watch->Appearance()->Shape(), wsRect);
    EXPECT_EQ(Watch->Appearance()->TickMarks(), tmHours);
    EXPECT_EQ(Watch->Appearance()->AMPMColor(), 0xB1F0FEu);
    EXPECT_FALSE(Watch->ShowNumbers());
    Watch->SetStyle(wsClassic);
    EXPECT_EQ(Watch->Appearance()->HourMarkLength(), 8);
    EXPECT_EQ(Watch->Appearance()->HourFont()->Name(), "Comic Sans MS");
    EXPECT_EQ(Watch->Appearance()->Shape(), wsCircle);
    EXPECT_TRUE(Watch->ShowNumbers());
    // sizes from the control, low 8 bits kept
    Watch->resize(180, 180);
    Watch->SetStyle(wsSuperNova);
    EXPECT_EQ(Watch->Appearance()->HourMarkLength(), 40);
    EXPECT_EQ(Watch->Appearance()->MinuteMarkLength(), 60);
    Watch->SetStyle(wsSports);
    EXPECT_EQ(Watch->Appearance()->CenterPointSize(), 50);
}

TEST_F(WatchTest, ComponentStylesColourTheAppearance)
{
    TWatchAppearance& a = *Watch->Appearance();
    Watch->SetComponentStyle(tsOffice2007Luna);
    EXPECT_EQ(a.AMPMColor(), 0xF0DED0u);
    EXPECT_EQ(a.BackgroundColor(), 0xFFEFE3u);
    EXPECT_EQ(a.HourPointer(), 0x723708u);
    EXPECT_EQ(a.MinuteColor(), 0x723708u);
    EXPECT_EQ(a.CenterPointOuterBorderColor(), clBlack);
    EXPECT_EQ(a.HourPointerShadow(), 0xFFFFFFu);
    Watch->SetComponentStyle(tsOffice2007Obsidian);
    EXPECT_EQ(a.HourFont()->Color(), 0xF2F1F0u);
    EXPECT_EQ(a.SecondPointer(), 0xF2F1F0u);
    // tsCustom only blackens the outer border and the fonts
    Watch->SetComponentStyle(tsCustom);
    EXPECT_EQ(a.HourFont()->Color(), clBlack);
    EXPECT_EQ(a.BackgroundColor(), 0x5C534Cu);
    // a copy takes every field and notifies
    TWatchAppearance copy;
    int changed = 0;
    copy.OnChange = [&](TObject*) { ++changed; };
    copy.Assign(&a);
    EXPECT_EQ(copy.BackgroundColor(), 0x5C534Cu);
    EXPECT_EQ(changed, 1);
}
