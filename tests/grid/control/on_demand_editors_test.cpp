#include "edit_fixture.h"

// The in-place editor controls are made the first time a cell is edited, not with the grid.
TEST_F(EditFixture, BrowsingMakesNoEditorControlsAndTheFirstEditMakesThem)
{
    QApplication::processEvents();
    Goto(1, 1);
    Key(Qt::Key_Right);
    Key(Qt::Key_Down);
    QTest::mouseClick(Grid->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    Grid->viewport()->repaint();
    QApplication::processEvents();
    EXPECT_EQ(Grid->CreatedEditorControls(), 0);

    // A drop-down list cell: the combo is made on F2 and works as before.
    Goto(2, 1);
    Key(Qt::Key_F2);
    ASSERT_GT(Grid->CreatedEditorControls(), 0);
    TGridCombo* cb = Grid->Combobox();
    ASSERT_TRUE(cb->isVisible());
    EXPECT_EQ(Focused(), cb);
    Key(Qt::Key_Down);
    Key(Qt::Key_Return);
    EXPECT_EQ(Grid->Cells(2, 1), "C");
    EXPECT_EQ(Focused(), Grid);

    // A plain text cell after it: typed text is written on Enter, Escape throws it away.
    Goto(1, 1);
    Type(QStringLiteral("xy"));
    ASSERT_TRUE(EditShown());
    Key(Qt::Key_Return);
    EXPECT_EQ(Grid->Cells(1, 1), "xy");
    Goto(1, 2);
    Type(QStringLiteral("zz"));
    Key(Qt::Key_Escape);
    EXPECT_EQ(Grid->Cells(1, 2), "");
    EXPECT_TRUE(Dialog.isVisible());
}
