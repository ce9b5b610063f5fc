#include "edit_fixture.h"
#include "grid/base/undo_redo.h"

namespace {
struct UndoEditFixture : EditFixture {
    ROdeVivaZedaDure Undo;
    void SetUp() override
    {
        EditFixture::SetUp();
        Grid->SetUndoRedo(&Undo);
    }
};
}  // namespace

TEST_F(UndoEditFixture, ATypedValueIsRecordedAndGoesBackAndForth)
{
    Goto(1, 1);
    Key(Qt::Key_F2);
    Type(QStringLiteral("de"));
    Key(Qt::Key_Return);
    ASSERT_EQ(Grid->Cells(1, 1), "abcde");
    ASSERT_EQ(Undo.Items()->Count(), 1);
    EXPECT_EQ(Undo.Items()->Items(0)->OrigValue(), "abc");
    EXPECT_EQ(Undo.Items()->Items(0)->Value(), "abcde");
    Goto(2, 2);
    Undo.Undo();
    EXPECT_EQ(Grid->Cells(1, 1), "abc");
    EXPECT_EQ(Grid->Col(), 1);  // the current cell goes to the restored one
    EXPECT_EQ(Grid->Row(), 1);
    Undo.Redo();
    EXPECT_EQ(Grid->Cells(1, 1), "abcde");
}

TEST_F(UndoEditFixture, ARefusedValueIsNotRecorded)
{
    Grid->OnCellValidate = [](TObject*, int, int, QString& v, bool& valid) { valid = v != "bad"; };
    Goto(1, 1);
    Type(QStringLiteral("bad"));
    Key(Qt::Key_Return);
    EXPECT_EQ(Undo.Items()->Count(), 0);
    Key(Qt::Key_Escape);
}

TEST_F(UndoEditFixture, ADataCheckBoxToggleGoesBackToItsCheckText)
{
    ASSERT_TRUE(Grid->ToggleCheck(4, 1, true));
    ASSERT_EQ(Grid->Cells(4, 1), "Y");
    ASSERT_EQ(Undo.Items()->Count(), 1);
    Undo.Undo();
    EXPECT_EQ(Grid->Cells(4, 1), "N");
    Undo.Redo();
    EXPECT_EQ(Grid->Cells(4, 1), "Y");
}

TEST_F(UndoEditFixture, APlainCheckBoxToggleLeavesTheCellTextOffTheRecord)
{
    Grid->SetCells(1, 2, QStringLiteral("Option A"));
    Grid->AddCheckBox(1, 2, false, false);
    ASSERT_TRUE(Grid->ToggleCheck(1, 2, false));
    EXPECT_EQ(Undo.Items()->Count(), 0);
    Undo.Undo();
    EXPECT_EQ(Grid->Cells(1, 2), "Option A");
}

TEST_F(UndoEditFixture, AnUnchangedValueMakesNoUndoStep)
{
    Grid->SetAlwaysValidate(true);
    Goto(1, 1);
    Key(Qt::Key_F2);
    Key(Qt::Key_Return);
    EXPECT_EQ(Undo.Items()->Count(), 0);
}
