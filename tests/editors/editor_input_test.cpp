// A user at a shown editor: mouse and keys on the grid and the buttons.
#include "editor_fixture.h"
#include "editors/j1939_editors.h"
#include "platform/ui/inplace_edit.h"
#include "platform/ui/lb_button.h"

#include <QApplication>
#include <QFile>
#include <gtest/gtest.h>

namespace {
struct ShownEditor : ::testing::Test {
    EditorEnv Env{2};
    std::unique_ptr<TFReceive_J1939_892> E = Make_Editor<TFReceive_J1939_892>();
    User U{E.get(), E->Grid()};
    void TearDown() override { E->hide(); }
    void Key(Qt::Key k) { U.Key(k); }
    void Type(const QString& s) { U.Type(s); }
    void ClickCell(int col, int row) { Click_Cell(E->Grid(), col, row); }
};
}  // namespace

TEST_F(ShownEditor, TypingIntoATextCellAndEnterOnOkWritesTheTable)
{
    ClickCell(2, 1);
    EXPECT_EQ(E->Grid()->Row(), 1);
    Type("0x100");
    Key(Qt::Key_Return);
    EXPECT_EQ(E->Cell(2, 1), "0x100");
    E->Grid()->SetCells(1, 1, "0");
    E->Grid()->SetCells(3, 1, "1");
    // Tab moves on to the next cell and keeps the keyboard in the grid; Enter presses the
    // button with the focus
    Key(Qt::Key_Tab);
    EXPECT_TRUE(E->Grid()->isAncestorOf(QApplication::focusWidget()) || QApplication::focusWidget() == E->Grid());
    EXPECT_EQ(E->Grid()->Col(), 3);
    E->Btn_OK->setFocus();
    Key(Qt::Key_Return);
    EXPECT_EQ(E->ModalResult(), mrOk) << Env.Boxes.Texts().join('\n').toStdString();
    EXPECT_TRUE(Read_File(File_J1939_Receive).contains("PGN=\"0x100\""));
}

TEST_F(ShownEditor, AClickBesideTheBoxSelectsACheckBoxCellAndSpaceTicksIt)
{
    ASSERT_EQ(E->Cell(4, 1), "");
    ClickCell(4, 1);
    EXPECT_EQ(E->Grid()->Row(), 1);
    ASSERT_EQ(E->Cell(4, 1), "");
    Key(Qt::Key_Space);
    EXPECT_EQ(E->Cell(4, 1), "Y");
    Key(Qt::Key_Space);
    EXPECT_EQ(E->Cell(4, 1), "N");
}

TEST_F(ShownEditor, ADropDownCellTakesTheChosenItem)
{
    ClickCell(1, 1);
    Type("1");
    Key(Qt::Key_Return);
    EXPECT_EQ(E->Cell(1, 1), "1");
}

TEST_F(ShownEditor, EscapeClosesAsCancelAndWritesNothing)
{
    E->Grid()->SetCells(2, 1, "5");
    E->Btn_Cancel->setFocus();
    Key(Qt::Key_Escape);
    EXPECT_EQ(E->ModalResult(), mrCancel);
    EXPECT_FALSE(QFile::exists(File_J1939_Receive));
}
