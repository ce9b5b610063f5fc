#include "edit_fixture.h"

TEST_F(EditFixture, F2TypeAndEnterCommitsAndTheDialogStaysOpen)
{
    Goto(1, 1);
    Key(Qt::Key_F2);
    ASSERT_TRUE(EditShown());
    EXPECT_TRUE(Grid->GetEditMode());
    EXPECT_EQ(Edit()->text(), "abc");
    Type(QStringLiteral("de"));
    Key(Qt::Key_Return);
    EXPECT_EQ(Grid->Cells(1, 1), "abcde");
    EXPECT_FALSE(EditShown());
    EXPECT_FALSE(Grid->GetEditMode());
    EXPECT_TRUE(Dialog.isVisible());
    EXPECT_EQ(Focused(), Grid);

    // not editing any more: Enter is the dialog's again
    Key(Qt::Key_Return);
    EXPECT_FALSE(Dialog.isVisible());
    EXPECT_EQ(Dialog.result(), QDialog::Accepted);
}

TEST_F(EditFixture, TypingOpensTheEditorAndEscapeRestoresWithoutValidation)
{
    int validations = 0;
    Grid->OnCellValidate = [&](TObject*, int, int, QString&, bool&) { ++validations; };
    Goto(1, 1);
    Type(QStringLiteral("zz"));
    ASSERT_TRUE(EditShown());
    EXPECT_EQ(Edit()->text(), "zz");
    Key(Qt::Key_Escape);
    EXPECT_FALSE(EditShown());
    EXPECT_EQ(Grid->Cells(1, 1), "abc");
    EXPECT_EQ(validations, 0);
    EXPECT_TRUE(Dialog.isVisible());
}

TEST_F(EditFixture, ARefusedValueKeepsTheEditorOnTheTypedTextWithTheReasonAndWritesNothing)
{
    std::vector<QString> changed;
    Grid->OnCellsChanged = [&](TObject*, TRect r) { changed.push_back(Grid->Cells(r.Left, r.Top)); };
    Grid->OnCellValidate = [](TObject*, int, int, QString& v, bool& valid) { valid = v != "bad"; };
    Grid->SetInvalidEntryTitle(QStringLiteral("Invalid"));
    Grid->SetInvalidEntryText(QStringLiteral("not allowed here"));
    Grid->SetInvalidEntryIcon(ieError);
    Goto(1, 1);
    Type(QStringLiteral("bad"));
    Key(Qt::Key_Return);
    ASSERT_TRUE(EditShown());
    EXPECT_EQ(Edit()->text(), "bad");
    EXPECT_EQ(Grid->Cells(1, 1), "abc");
    EXPECT_FALSE(Grid->LastValidation());
    EXPECT_TRUE(Dialog.isVisible());
    ASSERT_NE(Grid->InvalidEntryBalloon(), nullptr);
    EXPECT_TRUE(Grid->InvalidEntryBalloon()->isVisible());
    auto* text = Grid->InvalidEntryBalloon()->findChild<QLabel*>(QStringLiteral("text"));
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(text->text().contains("not allowed here"));

    // leaving for another control is refused too
    Other->setFocus();
    EXPECT_TRUE(EditShown());
    EXPECT_EQ(Grid->Cells(1, 1), "abc");

    // a good value goes through, and the reason goes away
    Edit()->setFocus();
    Edit()->selectAll();
    Type(QStringLiteral("good"));
    Key(Qt::Key_Return);
    EXPECT_FALSE(EditShown());
    EXPECT_EQ(Grid->Cells(1, 1), "good");
    EXPECT_FALSE(Grid->InvalidEntryBalloon()->isVisible());
    EXPECT_EQ(changed, std::vector<QString>{"good"});
    EXPECT_TRUE(Grid->GridModified());
}

TEST_F(EditFixture, AHandlerThatCorrectsTheValueWritesTheCorrection)
{
    Grid->OnCellValidate = [](TObject*, int, int, QString& v, bool&) { v = v.toUpper(); };
    Goto(1, 1);
    Type(QStringLiteral("xy"));
    Key(Qt::Key_Return);
    EXPECT_EQ(Grid->Cells(1, 1), "XY");
}

TEST_F(EditFixture, UnchangedTextIsNotValidated)
{
    int validations = 0;
    Grid->OnCellValidate = [&](TObject*, int, int, QString&, bool&) { ++validations; };
    Goto(1, 1);
    Key(Qt::Key_F2);
    Key(Qt::Key_Return);
    EXPECT_EQ(validations, 0);
    Grid->SetAlwaysValidate(true);
    Key(Qt::Key_F2);
    Key(Qt::Key_Return);
    EXPECT_EQ(validations, 1);
}

TEST_F(EditFixture, TabValidatesCommitsAndMovesOn)
{
    std::vector<std::pair<int, int>> validated;
    Grid->OnCellValidate = [&](TObject*, int c, int r, QString&, bool&) { validated.push_back({c, r}); };
    Grid->SetOptions(Grid->Options() + goTabs);
    Goto(1, 1);
    Type(QStringLiteral("t"));
    Key(Qt::Key_Tab);
    EXPECT_EQ(Grid->Cells(1, 1), "t");
    EXPECT_EQ(Grid->Col(), 2);
    EXPECT_FALSE(EditShown());
    EXPECT_EQ((validated), (std::vector<std::pair<int, int>>{{1, 1}}));
    EXPECT_TRUE(Dialog.isVisible());
}

TEST_F(EditFixture, FocusToAnotherControlValidatesAndCloses)
{
    Goto(1, 1);
    Type(QStringLiteral("moved"));
    QTest::mouseClick(Other, Qt::LeftButton);
    Other->setFocus();   // the offscreen platform moves no focus on a click
    EXPECT_FALSE(EditShown());
    EXPECT_EQ(Grid->Cells(1, 1), "moved");
    EXPECT_FALSE(Grid->GetEditMode());
}

TEST_F(EditFixture, CellsThatMayNotBeEditedOpenNoEditor)
{
    int editorAsked = 0;
    Grid->OnGetEditorType = [&](TObject*, int c, int, TEditorType& e) {
        ++editorAsked;
        if (c == 1) e = edNone;
    };
    struct Case {
        int Col;
        const char* What;
    };
    for (Case c : {Case{3, "read-only column"}, Case{4, "data check box"}, Case{1, "edNone"}}) {
        Goto(c.Col, 1);
        Key(Qt::Key_F2);
        EXPECT_FALSE(EditShown()) << c.What;
        EXPECT_FALSE(Grid->GetEditMode()) << c.What;
        EXPECT_FALSE(Grid->Combobox()->isVisible()) << c.What;
    }
    EXPECT_EQ(editorAsked, 1);   // only the edNone cell got as far as the editor choice
    EXPECT_EQ(Grid->Cells(3, 1), "ro");
}

TEST_F(EditFixture, EditabilityEventsGetTheRowFirstAndTheEditorKindTheColumnFirst)
{
    std::vector<std::pair<int, int>> canEdit, kind;
    Grid->OnCanEditCell = [&](TObject*, int r, int c, bool&) { canEdit.push_back({r, c}); };
    Grid->OnGetEditorType = [&](TObject*, int c, int r, TEditorType&) { kind.push_back({c, r}); };
    Goto(1, 2);   // the selection asks whether the cell may be edited
    Key(Qt::Key_F2);
    ASSERT_FALSE(canEdit.empty());
    EXPECT_EQ(canEdit.back(), (std::pair{2, 1}));
    ASSERT_EQ(kind.size(), 1u);
    EXPECT_EQ(kind[0], (std::pair{1, 2}));
}

TEST_F(EditFixture, ARefusedRowChangeKeepsTheCurrentCell)
{
    Grid->OnRowChanging = [](TObject*, int, int, bool& allow) { allow = false; };
    Goto(1, 1);
    Key(Qt::Key_Down);
    EXPECT_EQ(Grid->Row(), 1);
}

TEST_F(EditFixture, SelectingCellsSwitchesEditingOnAndOffByTheirColumn)
{
    Grid->SetOptions(Grid->Options() - goEditing);
    Goto(3, 2);   // read-only
    EXPECT_FALSE(Grid->Options().Contains(goEditing));
    Goto(1, 2);
    EXPECT_TRUE(Grid->Options().Contains(goEditing));
    Key(Qt::Key_F2);
    ASSERT_TRUE(EditShown());
    Type(QStringLiteral("q"));
    // moving to a read-only cell closes the editor and switches editing off again
    Grid->SetCol(3);
    EXPECT_FALSE(EditShown());
    EXPECT_FALSE(Grid->Options().Contains(goEditing));
    EXPECT_TRUE(Grid->EditDisable());
    EXPECT_TRUE(Grid->IsEditable(1, 2));
    EXPECT_FALSE(Grid->IsEditable(3, 2));
}
