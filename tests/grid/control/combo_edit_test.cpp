#include "edit_fixture.h"

#include <QAbstractItemView>

TEST_F(EditFixture, AComboChoiceIsCommittedWithEnterAndTheDialogStaysOpen)
{
    std::vector<std::pair<int, QString>> changes;
    Grid->OnComboChange = [&](TObject*, int c, int r, int i, const QString& s) {
        EXPECT_EQ(c, 2);
        EXPECT_EQ(r, 1);
        changes.push_back({i, s});
    };
    Goto(2, 1);
    Key(Qt::Key_F2);
    TGridCombo* cb = Grid->Combobox();
    ASSERT_TRUE(cb->isVisible());
    EXPECT_FALSE(EditShown());
    EXPECT_EQ(cb->currentText(), "B");
    EXPECT_EQ(Focused(), cb);
    Key(Qt::Key_Down);
    EXPECT_EQ(cb->currentText(), "C");
    Key(Qt::Key_Return);
    EXPECT_FALSE(cb->isVisible());
    EXPECT_EQ(Grid->Cells(2, 1), "C");
    EXPECT_FALSE(Grid->GetEditMode());
    EXPECT_TRUE(Dialog.isVisible());
    EXPECT_EQ(Focused(), Grid);
    ASSERT_FALSE(changes.empty());
    EXPECT_EQ(changes.back(), (std::pair<int, QString>{2, "C"}));
}

TEST_F(EditFixture, EscapeInTheComboWritesNothingAndKeepsTheDialogOpen)
{
    Goto(2, 1);
    Key(Qt::Key_F2);
    Key(Qt::Key_Down);
    Key(Qt::Key_Escape);
    EXPECT_FALSE(Grid->Combobox()->isVisible());
    EXPECT_EQ(Grid->Cells(2, 1), "B");
    EXPECT_TRUE(Dialog.isVisible());
}

TEST_F(EditFixture, ACellTextThatIsNoItemSurvivesTheListClosingWithoutAChoice)
{
    Grid->SetCells(2, 2, QStringLiteral("zzz"));
    int changes = 0;
    Grid->OnComboChange = [&](TObject*, int, int, int, const QString&) { ++changes; };
    struct Close {
        const char* What;
        std::function<void(EditFixture&)> Do;
    };
    const Close closes[] = {
        {"Enter", [](EditFixture& f) { f.Key(Qt::Key_Return); }},
        {"Escape", [](EditFixture& f) { f.Key(Qt::Key_Escape); }},
        {"focus elsewhere", [](EditFixture& f) { f.Other->setFocus(); }},
    };
    for (const Close& c : closes) {
        Goto(2, 2);
        Grid->SetFocus();
        Key(Qt::Key_F2);
        TGridCombo* cb = Grid->Combobox();
        ASSERT_TRUE(cb->isVisible()) << c.What;
        EXPECT_EQ(cb->currentIndex(), -1) << c.What;
        EXPECT_EQ(cb->placeholderText(), "zzz") << c.What;   // the list shows the cell's text
        c.Do(*this);
        EXPECT_FALSE(cb->isVisible()) << c.What;
        EXPECT_EQ(Grid->Cells(2, 2), "zzz") << c.What;
    }
    EXPECT_EQ(changes, 0);
}

TEST_F(EditFixture, TheItemIsFoundWithoutRegardToLetterCaseAndWrittenInItsOwnCase)
{
    Grid->SetCells(2, 2, QStringLiteral("abc"));
    Goto(2, 2);
    Key(Qt::Key_F2);
    EXPECT_EQ(Grid->Combobox()->currentText(), "ABC");
    Key(Qt::Key_Return);
    EXPECT_EQ(Grid->Cells(2, 2), "ABC");
}

TEST_F(EditFixture, ARefusedComboValueKeepsTheListOpenAndTheCellUnchanged)
{
    Grid->OnCellValidate = [](TObject*, int, int, QString& v, bool& valid) { valid = v != "C"; };
    Goto(2, 1);
    Key(Qt::Key_F2);
    Key(Qt::Key_Down);
    Key(Qt::Key_Return);
    TGridCombo* cb = Grid->Combobox();
    EXPECT_TRUE(cb->isVisible());
    EXPECT_EQ(cb->currentText(), "C");
    EXPECT_EQ(Grid->Cells(2, 1), "B");
    EXPECT_TRUE(Dialog.isVisible());
    Key(Qt::Key_Escape);
    EXPECT_EQ(Grid->Cells(2, 1), "B");
}

TEST_F(EditFixture, LeftAndRightCloseTheComboAndMoveTheCurrentCell)
{
    Goto(2, 1);
    Key(Qt::Key_F2);
    Key(Qt::Key_Down);
    Key(Qt::Key_Right);
    EXPECT_FALSE(Grid->Combobox()->isVisible());
    EXPECT_EQ(Grid->Cells(2, 1), "C");
    EXPECT_EQ(Grid->Col(), 3);
}

TEST_F(EditFixture, EnterAndEscapeInTheOpenListReachTheGridNotTheDialog)
{
    Goto(2, 1);
    Key(Qt::Key_F2);
    TGridCombo* cb = Grid->Combobox();
    cb->showPopup();
    ASSERT_TRUE(cb->view()->isVisible()) << "the list did not open";
    QTest::keyClick(cb->view(), Qt::Key_Down);
    QTest::keyClick(cb->view(), Qt::Key_Return);
    EXPECT_FALSE(cb->isVisible());
    EXPECT_EQ(Grid->Cells(2, 1), "C");
    EXPECT_TRUE(Dialog.isVisible());

    Key(Qt::Key_F2);
    cb->showPopup();
    ASSERT_TRUE(cb->view()->isVisible()) << "the list did not open again";
    QTest::keyClick(cb->view(), Qt::Key_Down);
    QTest::keyClick(cb->view(), Qt::Key_Escape);
    EXPECT_FALSE(cb->isVisible());
    EXPECT_EQ(Grid->Cells(2, 1), "C");
    EXPECT_TRUE(Dialog.isVisible());
}

TEST_F(EditFixture, TheComboItemListOperations)
{
    Grid->ClearComboString();
    Grid->AddComboString(QStringLiteral("x"));
    Grid->AddComboString(QStringLiteral("Y"));
    EXPECT_EQ(Grid->GetComboCount(), 2);
    EXPECT_FALSE(Grid->RemoveComboString(QStringLiteral("q")));
    EXPECT_TRUE(Grid->SetComboSelectionString(QStringLiteral("y")));
    EXPECT_FALSE(Grid->SetComboSelectionString(QStringLiteral("q")));
    EXPECT_TRUE(Grid->RemoveComboString(QStringLiteral("X")));
    EXPECT_EQ(Grid->GetComboCount(), 1);
}

TEST(PsgCombo, ButtonWidthOutsideItsRangeIsIgnoredAndFlatTakesTheParentsColour)
{
    QWidget parent;
    QPalette p = parent.palette();
    p.setColor(QPalette::Window, QColor(0x10, 0x20, 0x30));
    parent.setPalette(p);
    TPsgComboBox cb(&parent);
    cb.SetButtonWidth(20);
    cb.SetButtonWidth(13);
    cb.SetButtonWidth(33);
    EXPECT_EQ(cb.ButtonWidth(), 20);
    cb.SetFlat(true);
    EXPECT_EQ(cb.Color(), TColor(0x302010));
    cb.SetFlat(false);
    EXPECT_EQ(cb.Color(), clWindow);
}
