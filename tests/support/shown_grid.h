#pragma once
// A shown, focused string grid of 5 x 6 cells without a border or scroll bars, for tests that
// drive it with the mouse: cells are 64 x 22 with one-pixel lines, so column c starts at
// 65 * c and row r at 23 * r.
#include "grid/control/pro_string_grid.h"
#include "support/grid_window.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

struct ShownGridFixture : ::testing::Test, GridWindow<TProStringGrid> {
    ShownGridFixture() : GridWindow({.Cols = 5, .Rows = 6, .ScrollBars = ssNone}) {}
    void SetUp() override { ShowFocused(); }

    QWidget* V() const { return G->viewport(); }
    void Move(int x, int y)
    {
        QTest::mouseMove(V(), QPoint(x, y));
        QApplication::processEvents();
    }
    // The middle of cell (c, r).
    QPoint In(int c, int r) const
    {
        const TRect k = G->CellRect(c, r);
        return {(k.Left + k.Right) / 2, (k.Top + k.Bottom) / 2};
    }
};
