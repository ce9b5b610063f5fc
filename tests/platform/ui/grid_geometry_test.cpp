#include "platform/ui/string_grid.h"
#include "support/grid_window.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A 400 x 200 grid without a border, cells 64 x 24 with one-pixel lines, laid out right to
// left: column c covers x from 400 - 65 * (c + 1) + 1 to 400 - 65 * c - 1, its line included.
struct RightToLeft : ::testing::Test, GridWindow<TStringGrid> {
    RightToLeft() : GridWindow({.ScrollBars = ssNone}) {}
    void SetUp() override
    {
        G->setLayoutDirection(Qt::RightToLeft);
        Show();
    }
};

}  // namespace

TEST_F(RightToLeft, HitTestingAndCellRectanglesAreMirrored)
{
    ASSERT_TRUE(G->UseRightToLeftAlignment());
    const struct {
        int x, y, col, row;
    } cases[] = {
        {399, 0, 0, 0}, {336, 23, 0, 0}, {334, 25, 1, 1}, {272, 30, 1, 1}, {268, 30, 2, 1},
        {150, 60, 3, 2}, {10, 60, -1, -1},   // left of the last column is no cell
    };
    for (const auto& c : cases) {
        int col = 0, row = 0;
        G->MouseToCell(c.x, c.y, col, row);
        EXPECT_EQ(col, c.col) << c.x;
        EXPECT_EQ(row, c.row) << c.x;
        if (c.col >= 0) {
            const TRect r = G->CellRect(c.col, c.row);
            EXPECT_TRUE(c.x >= r.Left && c.x < r.Right) << c.x << " in " << r.Left << ".." << r.Right;
        }
    }
    EXPECT_EQ(G->CellRect(1, 1), (TRect{271, 25, 335, 49}));

    // a real click lands on the mirrored cell
    QTest::mouseClick(G->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(150, 60));
    EXPECT_EQ(G->Col(), 3);
    EXPECT_EQ(G->Row(), 2);
}
