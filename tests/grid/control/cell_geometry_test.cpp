#include "grid/control/pro_string_grid.h"
#include "platform/ui/inplace_edit.h"
#include "support/grid_window.h"

#include <QApplication>
#include <QPaintEvent>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Collects the region of each paint of a widget.
struct PaintSpy : QObject {
    QRegion Painted;
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint) Painted += static_cast<QPaintEvent*>(e)->region();
        return false;
    }
};

// A shown, focused, editable grid whose columns are 30, 40, 50, 60 ... wide and whose rows are
// 20 high; the grid draws its own lines, so cells touch: column c starts at the sum of the
// widths before it.  Cells (1, 1) .. (2, 3) are one merged block: x 30 .. 120, y 20 .. 80.
struct GeometryFixture : ::testing::Test, GridWindow<TProStringGrid> {
    TProStringGrid* const Grid = G;
    PaintSpy Spy;
    const TRect Block{30, 20, 120, 80};

    GeometryFixture() : GridWindow({.Width = 500, .Height = 300, .Cols = 6, .Rows = 8}) {}
    void SetUp() override
    {
        Grid->SetDefaultRowHeight(20);
        for (int c = 0; c < 6; ++c) Grid->SetColWidths(c, 30 + 10 * c);
        Grid->SetOptions(Grid->Options() + goEditing);
        Grid->MergeCells(1, 1, 2, 3);
        ShowFocused();
        Grid->viewport()->installEventFilter(&Spy);
    }
    void TearDown() override { FreeGrid(); }
    // What the next paint covers after `change`.
    template <class F>
    QRegion PaintedBy(F change)
    {
        QApplication::processEvents();
        Spy.Painted = QRegion();
        change();
        QApplication::processEvents();
        return Spy.Painted;
    }
};

}  // namespace

TEST_F(GeometryFixture, EveryCellOfAMergedBlockHasTheBlocksRectangleWhateverThePointerType)
{
    TCustomGrid* base = Grid;
    for (int c = 1; c <= 2; ++c)
        for (int r = 1; r <= 3; ++r) {
            EXPECT_EQ(Grid->CellRect(c, r), Block) << c << "," << r;
            EXPECT_EQ(base->CellRect(c, r), Block) << c << "," << r;
        }
    EXPECT_EQ(base->CellRect(3, 1), (TRect{120, 20, 180, 40})) << "a plain cell keeps its own rectangle";
}

TEST_F(GeometryFixture, F2OnAMergedBlockOpensTheEditorOverTheWholeBlock)
{
    Grid->SetRow(1);
    Grid->SetCol(1);
    QTest::keyClick(Grid, Qt::Key_F2);
    ASSERT_TRUE(Grid->EditorMode());
    ASSERT_NE(Grid->InplaceEditor(), nullptr);
    EXPECT_TRUE(Grid->InplaceEditor()->isVisible());
    // the editor leaves the block's right and bottom grid lines showing
    EXPECT_EQ(TRect::FromQRect(Grid->InplaceEditor()->geometry()),
              (TRect{Block.Left, Block.Top, Block.Right - 1, Block.Bottom - 1}));
}

TEST_F(GeometryFixture, InvalidatingOneCellOfABlockRepaintsTheBlock)
{
    const QRegion painted = PaintedBy([&] { Grid->InvalidateCell(2, 3); });
    EXPECT_TRUE(painted.contains(Block.ToQRect())) << "painted " << painted.boundingRect().x();

    // A selection edge that cuts through the block brings the whole block too.
    const QRegion row = PaintedBy([&] { Grid->InvalidateRow(2); });
    EXPECT_TRUE(row.contains(Block.ToQRect()));
}

TEST_F(GeometryFixture, BlinkingCellIsRepaintedAtItsDisplayPositionBesideAHiddenColumn)
{
    // Real column 4 shows as display column 3 once column 2 is hidden.  The cell store keeps
    // real columns: display column 3's store slot (real 3) holds a block over two rows, which
    // must not lend its shape to the blinking cell.
    Grid->SplitCells(1, 1);
    Grid->MergeCells(3, 4, 1, 2);
    Grid->SetCells(4, 5, QStringLiteral("<blink>x</blink>"));
    Grid->HideColumn(2);
    Grid->SetEnableBlink(true);
    ASSERT_EQ(Grid->RealToDisplColumn(4), 3);
    // columns 30 40 [50 hidden] 60 70 80, rows 20: display column 3 is real 4 at x 130 .. 200
    const TRect shown{130, 100, 200, 120};
    EXPECT_EQ(Grid->CellRect(3, 5), shown);
    const TRect other{70, 80, 130, 120};   // real column 3's block, now display column 2
    const QRegion painted = PaintedBy([&] { Grid->Perform(WM_TIMER, Grid->GridTimerID()); });
    EXPECT_TRUE(painted.contains(shown.ToQRect()));
    EXPECT_FALSE(painted.intersects(other.ToQRect()));
}
