#pragma once
// A fixture around a string grid whose rows each carry an id in one column, as "<id>" or
// "<col>:<id>", so that tests can follow the rows through moves, inserts, removals and
// nodes.  The derived fixture's SetUp makes `grid`; Reset makes it afresh.
#include "grid/control/pro_string_grid.h"

#include <gtest/gtest.h>
#include <vector>

struct IdRowsFixture : ::testing::Test {
    explicit IdRowsFixture(int idCol) : IdCol(idCol) {}
    void TearDown() override { grid->Free(); }
    void Reset()
    {
        TearDown();
        SetUp();
    }
    // The rows shown, by id (-1: an empty new row).
    std::vector<int> Shown()
    {
        std::vector<int> ids;
        for (int r = 0; r < grid->RowCount(); ++r) {
            const QString t = grid->Cells(IdCol, r);
            ids.push_back(t.isEmpty() ? -1 : t.section(QLatin1Char(':'), -1).toInt());
        }
        return ids;
    }

    const int IdCol;
    TProStringGrid* grid = nullptr;
};
