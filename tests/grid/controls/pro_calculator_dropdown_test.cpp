// The calculator drop-down: key sequences clicked on its panel and typed into the pop-up or
// the edit, with their displays; accepting and cancelling; the panel's key layout and clicks.
#include "placed_dropdown.h"

#include "grid/controls/pro_calculator_dropdown.h"

namespace {

struct CalculatorTest : PlacedDropDownFixture<TProCalculatorDropdown> {
    TProCalculatorDropdown*& Calc = Drop;
    TDropDownForm* Form() { return Calc->DropDownForm(); }
    TCustomButtonPanel* Panel() { return Calc->ButtonPanel(); }
    void Open()
    {
        ClickDropButton();
        ASSERT_TRUE(Form()->isVisible());
    }
    int IndexOf(const QString& Name)
    {
        for (int i = 0; i < Panel()->Buttons().Count(); ++i)
            if (Panel()->Buttons().Items(i)->Name == QStringLiteral("BTN_") + Name) return i;
        ADD_FAILURE() << "no button " << Name.toStdString();
        return -1;
    }
    // Clicks the buttons named in Keys (separated by blanks) in the middle of each.
    void Click(const QString& Keys)
    {
        for (const QString& k : Keys.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const int i = IndexOf(k);
            if (i < 0) return;
            const TRect r = Panel()->Buttons().Items(i)->Rect();
            QTest::mouseClick(Panel(), Qt::LeftButton, {}, QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2));
        }
    }
};

TEST_F(CalculatorTest, ButtonSequencesShowTheirResults)
{
    struct Case {
        const char* Keys;
        const char* Display;
    };
    const Case cases[] = {
        {"7 / 0 =", "Error"},
        {"7 / 0 = 5", "5.00"},
        {"2 + 3 * 4 =", "20.00"},
        {"2 0 0 + 1 0 %", "20.00"},
        {"2 0 0 + 1 0 % =", "220.00"},
        {"1 . 2 5", "1.25"},
        {"1 . 2 5 9", "1.26"},
        {"5 +/- 3", "-53.00"},
        {"2 + +", "4.00"},
        {"9 - 4 - 1 =", "4.00"},
        {"8 / 5 =", "1.60"},
        {"9 sqrt", "3.00"},
        {"4 +/- sqrt", "Error"},
        {"4 1/x", "0.25"},
        {"0 1/x", "Error"},
        {"1 . 2 CE 4", "0.04"},
        {"5 + 3 ON =", "0.00"},
        {"1 2 3 BACK", "12.00"},
        {"7 MS C MR", "7.00"},
        {"7 MS C 3 M+ MR", "10.00"},
        {"4 MS MC MR", "0.00"},
        {"7 / 0 = + 2 =", "2.00"},
    };
    Open();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Keys);
        Click(QStringLiteral("C MC"));
        Click(QString::fromLatin1(c.Keys));
        EXPECT_EQ(Calc->Text(), c.Display);
        EXPECT_TRUE(Form()->isVisible());
    }
}

TEST_F(CalculatorTest, AnOverflowShowsErrorAndClearsTheAccumulator)
{
    Open();
    Calc->SetValue(1e200);
    Click(QStringLiteral("* ="));
    EXPECT_EQ(Calc->Text(), "Error");
    // the next operation starts from 0, not from a stale or wrapped value
    Click(QStringLiteral("+ 1 ="));
    EXPECT_EQ(Calc->Text(), "1.00");
    // an overflowing entry is no number either
    Calc->SetValue(1e300);
    Click(QStringLiteral("* 1 0 0 0 0 0 0 0 0 0 ="));
    EXPECT_EQ(Calc->Text(), "Error");
}

TEST_F(CalculatorTest, KeysTypedIntoTheOpenCalculator)
{
    struct Case {
        const char* Typed;
        Qt::Key Close;
        const char* Display;
        bool Open;
    };
    const Case cases[] = {
        {"12+3", Qt::Key_Return, "15.00", false},
        {"7/0", Qt::Key_Return, "Error", false},
        {"2*3=", Qt::Key_unknown, "6.00", true},
        {"50+10%", Qt::Key_unknown, "5.00", true},
        {"9c", Qt::Key_unknown, "0.00", true},
        {"4*5", Qt::Key_Tab, "5", false},
        {"4*5", Qt::Key_F4, "5", false},
        {"1.5+1", Qt::Key_Return, "2.50", false},
        {"123", Qt::Key_Backspace, "12.00", true},
        {"8", Qt::Key_Escape, "3.00", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Typed);
        Calc->SetValue(3);
        Open();
        QTest::keyClick(Form(), Qt::Key_C);
        QTest::keyClicks(Form(), QString::fromLatin1(c.Typed));
        if (c.Close != Qt::Key_unknown) QTest::keyClick(Form(), c.Close);
        EXPECT_EQ(Calc->Text(), c.Display);
        EXPECT_EQ(Form()->isVisible(), c.Open);
        if (Form()->isVisible()) Calc->HideDropDown(false);
    }
}

TEST_F(CalculatorTest, CancelRestoresTheValueFromBeforeTheDropDownAndAClickElsewhereKeepsTheResult)
{
    Calc->SetValue(8);
    Open();
    Click(QStringLiteral("2 + 5 ="));
    EXPECT_EQ(Calc->Text(), "7.00");
    QTest::keyClick(Form(), Qt::Key_Escape);
    EXPECT_FALSE(Form()->isVisible());
    EXPECT_EQ(Calc->Text(), "8.00");

    Open();
    Click(QStringLiteral("6 * 7 ="));
    QTest::mouseClick(Other, Qt::LeftButton);
    Form()->close(); // what a click outside a pop-up does on a desktop
    EXPECT_FALSE(Form()->isVisible());
    EXPECT_EQ(Calc->Text(), "42.00");
    // the accumulator survives closing: the pending chain continues
    Open();
    Click(QStringLiteral("+ 8 ="));
    EXPECT_EQ(Calc->Text(), "50.00");
}

TEST_F(CalculatorTest, KeysTypedIntoTheClosedEdit)
{
    struct Case {
        const char* Typed;
        Qt::Key Last;
        const char* Display;
    };
    const Case cases[] = {
        {"2+3=", Qt::Key_unknown, "5.00"},
        {"6*7", Qt::Key_Return, "42.00"},
        {"9-4", Qt::Key_Return, "5.00"},
        {"8/2c", Qt::Key_unknown, "0.00"},
        {"5x", Qt::Key_unknown, "5"},
        {"9", Qt::Key_Backspace, "0.00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Typed);
        Calc->SetText(QStringLiteral("0"));
        QTest::keyClick(Calc, Qt::Key_C);
        Calc->SelectAll();
        QTest::keyClicks(Calc, QString::fromLatin1(c.Typed));
        if (c.Last != Qt::Key_unknown) QTest::keyClick(Calc, c.Last);
        EXPECT_EQ(Calc->Text(), c.Display);
    }
    Calc->SetText(QStringLiteral("Error"));
    QTest::keyClick(Calc, Qt::Key_Delete);
    EXPECT_EQ(Calc->Text(), "0.00");
}

TEST_F(CalculatorTest, ThousandSeparatorsAndTheValue)
{
    Calc->SetShowThousandSeparator(true);
    EXPECT_EQ(Calc->EditType(), etMoney);
    Calc->SetValue(1234);
    EXPECT_EQ(Calc->Text(), "1,234.00");
    EXPECT_DOUBLE_EQ(Calc->Value(), 1234);
    Open();
    Click(QStringLiteral("MS C MR"));
    EXPECT_EQ(Calc->Text(), "1,234.00");
    Calc->HideDropDown(false);
    Calc->SetShowThousandSeparator(false);
    EXPECT_EQ(Calc->Text(), "1234.00");
    Calc->SetText(QStringLiteral("Error"));
    EXPECT_DOUBLE_EQ(Calc->Value(), 0);
}

TEST(ButtonPanelTest, CalculatorLayoutAndCustomPanels)
{
    TCustomButtonPanel panel;
    panel.resize(228, 150);
    panel.CreateButtons();
    ASSERT_EQ(panel.Buttons().Count(), 28);
    // button area 8..220 x 8..142: w = 34, h = 26, lower rows from 38 overlapping by a pixel
    struct Case {
        const char* Name;
        int Left, Top, Width, Height, Code;
    };
    const Case cases[] = {
        {"BTN_ON", 8, 8, 34, 26, 30},  {"BTN_BACK", 46, 8, 54, 26, 31}, {"BTN_CE", 104, 8, 54, 26, 32},
        {"BTN_C", 162, 8, 55, 26, 16}, {"BTN_MC", 8, 38, 34, 26, 33},   {"BTN_7", 46, 38, 34, 26, 7},
        {"BTN_8", 79, 38, 34, 26, 8},  {"BTN_9", 112, 38, 34, 26, 9},   {"BTN_/", 150, 38, 34, 26, 13},
        {"BTN_sqrt", 183, 38, 34, 26, 37}, {"BTN_0", 46, 113, 34, 26, 0}, {"BTN_=", 183, 113, 34, 26, 17},
        {"BTN_M+", 8, 113, 34, 26, 36}, {"BTN_%", 183, 63, 34, 26, 18}, {"BTN_.", 112, 113, 34, 26, 15},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const TButtonItem* b = nullptr;
        for (int i = 0; i < panel.Buttons().Count(); ++i)
            if (panel.Buttons().Items(i)->Name == QLatin1String(c.Name)) b = panel.Buttons().Items(i);
        ASSERT_TRUE(b);
        EXPECT_EQ(QRect(b->Left, b->Top, b->Width, b->Height), QRect(c.Left, c.Top, c.Width, c.Height));
        EXPECT_EQ(b->Tag, c.Code);
    }
    // overlapping edges: the first button in list order wins; right edges are outside
    EXPECT_EQ(panel.ButtonAt({79, 40}), 11);  // "7" (46..80) comes before "8"
    EXPECT_EQ(panel.ButtonAt({80, 40}), 12);
    EXPECT_EQ(panel.ButtonAt({4, 4}), -1);

    TCustomButtonPanel custom;
    custom.SetButtonPanelType(plCustom);
    custom.resize(100, 50);
    custom.CreateButtons();
    EXPECT_EQ(custom.Buttons().Count(), 0);
    TButtonItem* b = custom.Buttons().Add();
    b->Left = 3, b->Top = 4, b->Width = 20, b->Height = 10;
    custom.resize(200, 80);
    custom.ArrangeButtons();
    EXPECT_EQ(QRect(b->Left, b->Top, b->Width, b->Height), QRect(3, 4, 20, 10));
}

TEST(ButtonPanelTest, AClickCountsOnlyWhenReleasedOverThePressedEnabledButton)
{
    QDialog dialog;
    auto* panel = new TCustomButtonPanel(&dialog);
    panel->resize(228, 150);
    panel->CreateButtons();
    dialog.show();
    QList<int> clicks;
    panel->OnButtonClick = [&](QObject*, int Index) { clicks << Index; };
    auto centre = [&](int i) {
        const TRect r = panel->Buttons().Items(i)->Rect();
        return QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    };
    QTest::mouseClick(panel, Qt::LeftButton, {}, centre(9));
    QTest::mousePress(panel, Qt::LeftButton, {}, centre(10));
    EXPECT_EQ(panel->DownIndex(), 10);
    QTest::mouseRelease(panel, Qt::LeftButton, {}, centre(11));
    EXPECT_EQ(panel->DownIndex(), -1);
    panel->Buttons().Items(12)->Enabled = false;
    QTest::mouseClick(panel, Qt::LeftButton, {}, centre(12));
    QTest::mouseMove(panel, centre(13));
    EXPECT_EQ(panel->HotIndex(), 13);
    QTest::mouseMove(panel, centre(12));
    EXPECT_EQ(panel->HotIndex(), -1);
    EXPECT_EQ(clicks, QList<int>({9}));
    // painting with a hot and a down button goes through every layout
    for (TItemLayout l : {ilCaptionLeft, ilCaptionRight, ilCaptionTop, ilCaptionBottom}) {
        panel->SetButtonLayout(l);
        EXPECT_FALSE(panel->grab().isNull());
    }
}

} // namespace
