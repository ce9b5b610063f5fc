// The edit with a button and its unit variant, on their own.
#include "grid/controls/psg_edit_btn.h"

#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

struct EditBtnFixture : ::testing::Test {
    QWidget Window;
    TPsgEditBtn* Edit = nullptr;
    TPsgUnitEditBtn* Unit = nullptr;
    int Clicks = 0;
    void SetUp() override
    {
        Edit = new TPsgEditBtn(&Window);
        Edit->setGeometry(10, 10, 150, 24);
        Edit->OnClickBtn = [this](QObject* s) {
            EXPECT_EQ(s, Edit);
            ++Clicks;
        };
        Unit = new TPsgUnitEditBtn(&Window);
        Unit->setGeometry(10, 50, 150, 24);
        Window.resize(200, 100);
        Window.show();
        QApplication::setActiveWindow(&Window);
        Edit->setFocus();
    }
};

} // namespace

TEST_F(EditBtnFixture, TheButtonAndF4RaiseOnClickBtn)
{
    TProSpeedButton* b = Edit->Button()->Button;
    QTest::mouseClick(b, Qt::LeftButton);
    EXPECT_EQ(Clicks, 1);
    QTest::mouseClick(b, Qt::RightButton);
    EXPECT_EQ(Clicks, 1);
    // released outside the button: still a click
    QTest::mousePress(b, Qt::LeftButton);
    QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(-30, 5));
    EXPECT_EQ(Clicks, 2);
    QTest::keyClick(Edit, Qt::Key_F4);
    EXPECT_EQ(Clicks, 3);
    QTest::keyClick(Edit, Qt::Key_F4, Qt::AltModifier);
    QTest::keyClick(Edit, Qt::Key_F4, Qt::ControlModifier);
    EXPECT_EQ(Clicks, 3);
    EXPECT_EQ(QApplication::focusWidget(), Edit);
}

TEST_F(EditBtnFixture, WithTheEditorDisabledTypingChangesNothingButTheButtonStillWorks)
{
    Edit->SetEditorEnabled(false);
    Edit->setText(QStringLiteral("abc"));
    Edit->end(false);
    QTest::keyClicks(Edit, QStringLiteral("xy"));
    QTest::keyClick(Edit, Qt::Key_Backspace);
    QTest::keyClick(Edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Edit->text(), "abc");
    QTest::keyClick(Edit, Qt::Key_F4);
    QTest::mouseClick(Edit->Button()->Button, Qt::LeftButton);
    EXPECT_EQ(Clicks, 2);
}

TEST_F(EditBtnFixture, TextAndUnitSplitsAtTheFirstUnitThatEndsTheText)
{
    struct Case {
        QStringList Units;
        const char* Value;
        const char* Text;
        const char* UnitID;
    };
    const Case cases[] = {
        {{"mm", "m"}, "10mm", "10", "mm"}, {{"mm", "m"}, "10m", "10", "m"},
        {{"mm", "m"}, "10 mm", "10 ", "mm"}, {{"mm", "m"}, "10in", "old", "u"},
        {{"m", "mm"}, "10mm", "10", "mm"},   // the first "m" is not at the end
        {{"", "m"}, "10m", "10", "m"},
    };
    for (const Case& c : cases) {
        Unit->SetUnits(c.Units);
        Unit->setText(QStringLiteral("old"));
        Unit->SetUnitID(QStringLiteral("u"));
        Unit->SetTextAndUnit(QString::fromLatin1(c.Value));
        EXPECT_EQ(Unit->text(), QString::fromLatin1(c.Text)) << c.Value;
        EXPECT_EQ(Unit->UnitID(), QString::fromLatin1(c.UnitID)) << c.Value;
        EXPECT_EQ(Unit->TextAndUnit(), Unit->text() + Unit->UnitID());
    }
}

TEST_F(EditBtnFixture, TheUnitMenuOffersTheUnitsAndReportsAChange)
{
    Unit->SetUnits({QStringLiteral("mm"), QStringLiteral("cm"), QStringLiteral("m")});
    Unit->SetUnitID(QStringLiteral("mm"));
    std::vector<QString> changes;
    Unit->OnUnitChanged = [&](QObject* s, const QString& u) {
        EXPECT_EQ(s, Unit);
        changes.push_back(u);
    };
    int clicks = 0;
    Unit->OnClickBtn = [&](QObject*) { ++clicks; };
    Unit->setFocus();
    QTest::mouseClick(Unit->Button()->Button, Qt::LeftButton);
    EXPECT_EQ(clicks, 1);
    QMenu* menu = Unit->UnitMenu();
    ASSERT_NE(menu, nullptr);
    ASSERT_TRUE(menu->isVisible());
    ASSERT_EQ(menu->actions().size(), 3);
    EXPECT_EQ(menu->actions().at(1)->text(), "cm");
    menu->setActiveAction(menu->actions().at(1));
    QTest::keyClick(menu, Qt::Key_Return);
    EXPECT_EQ(Unit->UnitID(), "cm");
    EXPECT_EQ(changes, std::vector<QString>{QStringLiteral("cm")});
    // the same unit again: no change reported
    QTest::keyClick(Unit, Qt::Key_F4);
    menu = Unit->UnitMenu();
    ASSERT_NE(menu, nullptr);
    menu->setActiveAction(menu->actions().at(1));
    QTest::keyClick(menu, Qt::Key_Return);
    EXPECT_EQ(changes.size(), 1u);
}
