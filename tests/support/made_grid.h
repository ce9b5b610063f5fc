#pragma once
// A fixture that makes a grid of class T (not shown) for each test and frees it afterwards.
#include "platform/ui/custom_grid.h"

#include <gtest/gtest.h>

template <class T>
struct MadeGridFixture : ::testing::Test {
    // 0 columns or rows: as many as the grid is made with.
    explicit MadeGridFixture(int cols, int rows) : MadeCols(cols), MadeRows(rows) {}
    void SetUp() override
    {
        grid = CreateGrid<T>();
        if (MadeCols > 0) grid->SetColCount(MadeCols);
        if (MadeRows > 0) grid->SetRowCount(MadeRows);
    }
    // A test skipped in a derived SetUp before the grid was made has none to free.
    void TearDown() override
    {
        if (grid) grid->Free();
        grid = nullptr;
    }

    const int MadeCols, MadeRows;
    T* grid = nullptr;
};
