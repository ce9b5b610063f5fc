#include "grid/control/pro_string_grid.h"

#include <QApplication>
#include <gtest/gtest.h>

namespace {
class CountingGrid : public TProStringGrid {
public:
    using TProStringGrid::TProStringGrid;
    int paints = 0;

protected:
    void Paint() override
    {
        if (UpdateCount() == 0) ++paints;
        TProStringGrid::Paint();
    }
};

struct LockFixture : ::testing::Test {
    void SetUp() override
    {
        window.resize(400, 300);
        grid = CreateGrid<CountingGrid>(&window);
        grid->setGeometry(0, 0, 380, 280);
        window.show();
        QApplication::processEvents();
        grid->paints = 0;
    }
    void TearDown() override { grid->Free(); }
    QWidget window;
    CountingGrid* grid = nullptr;
};
}

TEST_F(LockFixture, NestedLockPaintsOnceAtTheOutermostEnd)
{
    grid->BeginUpdate();
    grid->BeginUpdate();
    for (int r = 1; r < 5; ++r) grid->SetCells(1, r, QStringLiteral("x"));
    grid->EndUpdate();
    QApplication::processEvents();
    EXPECT_TRUE(grid->LockUpdate());
    EXPECT_EQ(grid->paints, 0);

    grid->EndUpdate();
    EXPECT_FALSE(grid->LockUpdate());
    QApplication::processEvents();
    EXPECT_EQ(grid->paints, 1);

    grid->EndUpdate();  // unbalanced: nothing
    EXPECT_EQ(grid->UpdateCount(), 0);
    QApplication::processEvents();
    EXPECT_EQ(grid->paints, 1);
}

TEST_F(LockFixture, HiddenGridIgnoresTheLockAndInternalLevelsDoNotRepaint)
{
    grid->hide();
    grid->BeginUpdate();
    EXPECT_FALSE(grid->LockUpdate());
    grid->show();

    grid->StartUpdate();
    grid->StartUpdate();
    EXPECT_EQ(grid->UpdateCount(), 2);
    grid->ResetUpdate();
    EXPECT_FALSE(grid->LockUpdate());
    grid->SetLockUpdate(true);
    EXPECT_TRUE(grid->LockUpdate());
    grid->SetLockUpdate(false);
    EXPECT_FALSE(grid->LockUpdate());
}

TEST_F(LockFixture, GridTimerTicksExpireTheLookupAndFlipTheBlinkPhase)
{
    EXPECT_TRUE(grid->TimerActive(111));
    grid->Navigation()->SetAutoGotoIncremental(true);
    grid->SetEnableBlink(true);
    grid->SearchInc = QStringLiteral("ab");
    for (int i = 0; i < 3; ++i) grid->Perform(WM_TIMER, 111);
    EXPECT_EQ(grid->SearchInc, QStringLiteral("ab"));
    EXPECT_TRUE(grid->GridBlink());
    grid->Perform(WM_TIMER, 111);
    EXPECT_EQ(grid->SearchInc, QString());
    EXPECT_EQ(grid->SearchTics, 0);
    EXPECT_FALSE(grid->GridBlink());
    EXPECT_EQ(grid->TimerTicks(), 4);
}

TEST(GridSize, SynchronisedColumnsKeepTheirShareOfTheWidth)
{
    struct Case { TBorderStyle border; int first, second; };
    for (Case k : {Case{bsNone, 200, 100}, {bsSingle, 201, 100}}) {
        auto* grid = CreateGrid<TProStringGrid>();
        grid->SetColCount(2);
        grid->SetFixedCols(0);
        grid->SetBorderStyle(k.border);
        grid->ColumnSize()->SetSynchWithGrid(true);
        grid->OrigColSizes()->Clear();
        grid->OrigColSizes()->Add(100);
        grid->OrigColSizes()->Add(50);
        grid->SetOldSize(300);
        grid->resize(600, 200);
        grid->Perform(WM_SIZE);
        EXPECT_EQ(grid->ColWidths(0), k.first) << k.border;
        EXPECT_EQ(grid->ColWidths(1), k.second) << k.border;
        grid->Free();
    }
}
