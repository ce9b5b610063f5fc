// What follows a scroll: controls placed in cells, open editors; the key-up step; the
// snapshot of a cell range.
#include "edit_fixture.h"

namespace {
struct ScrollFollow : EditFixture {
    void SetUp() override
    {
        EditFixture::SetUp();
        Grid->SetRowCount(60);
        QApplication::processEvents();
    }
};
}  // namespace

TEST_F(ScrollFollow, AControlInACellGoesWithItsCellAndHidesOutOfView)
{
    auto* box = new QLineEdit;
    Grid->SetCellControls(1, 3, box);
    Grid->CellControlsUpdate(true);
    EXPECT_TRUE(box->isVisible());
    const TRect r = Grid->CellRect(1, 3);
    EXPECT_EQ(box->geometry().topLeft(), QPoint(r.Left - 1, r.Top - 1));

    Goto(1, 3);
    for (int i = 0; i < 30; ++i) Key(Qt::Key_Down);
    ASSERT_GT(Grid->TopRow(), 3);
    EXPECT_FALSE(box->isVisible());
    Key(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_TRUE(box->isVisible());
    EXPECT_EQ(box->geometry().topLeft(), QPoint(r.Left - 1, r.Top - 1));

    // A control of a hidden row stays hidden whatever scrolls.
    Grid->HideRow(3);
    Key(Qt::Key_End, Qt::ControlModifier);
    Key(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_FALSE(box->isVisible());
}

TEST_F(ScrollFollow, ScrollingClosesAnOpenDropDownButNotTheDefaultEdit)
{
    Goto(2, 1);
    Key(Qt::Key_F2);
    ASSERT_TRUE(Grid->Combobox()->isVisible());
    Key(Qt::Key_Down);  // C, in the open editor
    Grid->SetTopRow(10);
    EXPECT_FALSE(Grid->Combobox()->isVisible());
    EXPECT_EQ(Grid->Cells(2, 1), QStringLiteral("C"));

    Grid->SetTopRow(1);
    Goto(1, 1);
    Grid->SetFocus();
    Key(Qt::Key_F2);
    ASSERT_TRUE(EditShown());
    Grid->SetTopRow(5);
    EXPECT_TRUE(Grid->GetEditMode());
}

TEST_F(ScrollFollow, AlwaysEditOpensTheEditorAfterAnArrowKey)
{
    Grid->Navigation()->SetAlwaysEdit(true);
    Goto(1, 1);
    Key(Qt::Key_Down);
    EXPECT_EQ(Grid->Row(), 2);
    EXPECT_TRUE(Grid->GetEditMode());
}

TEST_F(ScrollFollow, SpaceBuildsADisjunctCellSelection)
{
    // Cells that may not be edited: editing goes off as the cell moves onto them.
    Grid->OnCanEditCell = [](TObject*, int, int, bool& v) { v = false; };
    Grid->MouseActions()->SetDisjunctCellSelect(true);
    Goto(1, 2);
    Key(Qt::Key_Space);
    Goto(3, 4);
    Key(Qt::Key_Space, Qt::ControlModifier);
    EXPECT_TRUE(Grid->GetSelectedCells(1, 2));
    EXPECT_TRUE(Grid->GetSelectedCells(3, 4));
    Key(Qt::Key_Space, Qt::ControlModifier);  // again: out
    EXPECT_FALSE(Grid->GetSelectedCells(3, 4));
    Key(Qt::Key_Space);  // without Ctrl: only this one
    EXPECT_FALSE(Grid->GetSelectedCells(1, 2));
    EXPECT_TRUE(Grid->GetSelectedCells(3, 4));
}

TEST_F(ScrollFollow, ASnapshotIsTheSameWhicheverCornerComesFirst)
{
    std::unique_ptr<TNoActiveForm> a(Grid->SelectionToForm({1, 1, 2, 3}));
    std::unique_ptr<TNoActiveForm> b(Grid->SelectionToForm({2, 3, 1, 1}));
    const QImage ia = a->grab().toImage(), ib = b->grab().toImage();
    EXPECT_EQ(ia.size(), ib.size());
    EXPECT_EQ(ia, ib);
    const TRect c1 = Grid->CellRect(1, 1), c2 = Grid->CellRect(2, 3);
    EXPECT_EQ(a->width(), c2.Right - c1.Left + 1);
    EXPECT_FALSE(a->isVisible());
    EXPECT_FALSE(a->isEnabled());
}
