#include "grid/control/pro_string_grid.h"

#include <QApplication>
#include <QTest>
#include <array>
#include <functional>
#include <gtest/gtest.h>

namespace {
constexpr int Cols = 5;
constexpr int Rows = 10;

struct RowFixture : ::testing::Test {
    void SetUp() override
    {
        grid = CreateGrid<TProStringGrid>();
        grid->SetColCount(Cols);
        grid->SetRowCount(Rows);
        for (int r = 0; r < Rows; ++r)
            for (int c = 0; c < Cols; ++c) grid->SetCells(c, r, QStringLiteral("%1:%2").arg(c).arg(r));
    }
    void TearDown() override { grid->Free(); }

    // Every covered cell points at a base cell inside the grid whose block contains it.
    void ExpectBlocksConsistent(const std::string& what)
    {
        for (int r = 0; r < grid->RowCount(); ++r) {
            for (int c = 0; c < grid->TotalColCount(); ++c) {
                if (!grid->IsMergedCell(c, r)) continue;
                const TPoint b = grid->BaseCell(c, r);
                ASSERT_TRUE(b.X >= 0 && b.Y >= 0 && b.Y < grid->RowCount()) << what << " cell " << c << "," << r;
                EXPECT_TRUE(grid->IsBaseCell(b.X, b.Y)) << what << " cell " << c << "," << r;
                const TRect f = grid->FullCell(b.X, b.Y);
                EXPECT_TRUE(c >= f.Left && c <= f.Right && r >= f.Top && r <= f.Bottom)
                    << what << " cell " << c << "," << r << " outside its block";
                // ... and every cell of that block belongs to it.
                for (int y = f.Top; y <= f.Bottom; ++y)
                    for (int x = f.Left; x <= f.Right; ++x)
                        EXPECT_EQ(grid->BaseCell(x, y), b) << what << " cell " << x << "," << y;
            }
        }
    }
    TProStringGrid* grid = nullptr;
};
}  // namespace

TEST_F(RowFixture, MergedBlocksFollowRowsInsertedAndRemoved)
{
    // The block covers columns 1..2 and rows 1..3.
    struct Case {
        const char* Name;
        std::function<void(TProStringGrid*)> Change;
        TRect Block;          // the block afterwards, in cells; Left -1 = no block left
        QString BlockText;    // what its cells read
    };
    const std::vector<Case> cases = {
        {"remove a covered row", [](auto* g) { g->RemoveRowsEx(2, 1); }, {1, 1, 2, 2}, "1:1"},
        {"remove the base row", [](auto* g) { g->RemoveRowsEx(1, 1); }, {1, 1, 2, 2}, "1:2"},
        {"remove the last rows of the block and beyond", [](auto* g) { g->RemoveRowsEx(2, 4); }, {1, 1, 2, 1}, "1:1"},
        {"remove rows above", [](auto* g) { g->RemoveRowsEx(0, 1); }, {1, 0, 2, 2}, "1:1"},
        {"remove rows below", [](auto* g) { g->RemoveRowsEx(5, 2); }, {1, 1, 2, 3}, "1:1"},
        {"remove the whole block", [](auto* g) { g->RemoveRowsEx(0, 5); }, {-1, 0, 0, 0}, ""},
        {"insert inside", [](auto* g) { g->InsertRows(2, 2, true); }, {1, 1, 2, 5}, "1:1"},
        {"insert at the base row", [](auto* g) { g->InsertRows(1, 1, true); }, {1, 2, 2, 4}, "1:1"},
        {"insert just below", [](auto* g) { g->InsertRows(4, 1, true); }, {1, 1, 2, 3}, "1:1"},
        {"hide a covered row", [](auto* g) { g->HideRow(3); }, {1, 1, 2, 2}, "1:1"},
        {"hide and show a covered row", [](auto* g) { g->HideRow(2); g->UnHideRow(2); }, {1, 1, 2, 3}, "1:1"},
        {"filter out every second row", [](auto* g) {
             TIntList l(0, 0);
             for (int r = 0; r < Rows; r += 2) l.Add(r);
             g->HideRowList(&l);
         }, {1, 0, 2, 1}, "1:1"},
    };
    for (const Case& k : cases) {
        TearDown();
        SetUp();
        grid->MergeCells(1, 1, 2, 3);
        k.Change(grid);
        ExpectBlocksConsistent(k.Name);
        if (k.Block.Left < 0) {
            for (int r = 0; r < grid->RowCount(); ++r) EXPECT_FALSE(grid->IsMergedCell(1, r)) << k.Name << " row " << r;
        } else {
            EXPECT_EQ(grid->FullCell(k.Block.Left, k.Block.Top), k.Block) << k.Name;
            for (int r = k.Block.Top; r <= k.Block.Bottom; ++r)
                EXPECT_EQ(grid->Cells(2, r), k.BlockText) << k.Name << " row " << r;
            // Cells right below the block are their own again.
            const int below = k.Block.Bottom + 1;
            if (below < grid->RowCount()) EXPECT_FALSE(grid->IsMergedCell(1, below)) << k.Name;
        }
    }
}

TEST_F(RowFixture, RemovingACoveredRowNoLongerReadsTheRowAboveTheBlock)
{
    grid->MergeCells(1, 1, 2, 3);
    grid->SetCells(1, 0, QStringLiteral("HDR"));
    grid->RemoveRowsEx(2, 1);
    EXPECT_NE(grid->Cells(1, 2), QStringLiteral("HDR"));
    EXPECT_EQ(grid->Cells(1, 2), grid->Cells(1, 1));
    EXPECT_EQ(grid->Cells(1, 3), QStringLiteral("1:4"));
}

TEST_F(RowFixture, InsertingBeyondTheLastRowChangesNothing)
{
    EXPECT_THROW(grid->InsertRows(20, 1, true), EInvalidGridOperation);
    EXPECT_THROW(grid->InsertRows(-1, 1, true), EInvalidGridOperation);
    EXPECT_EQ(grid->RowCount(), Rows);
    EXPECT_EQ(grid->Cells(0, Rows - 1), QStringLiteral("0:9"));
    grid->InsertRows(Rows, 2, true);  // appending is allowed
    EXPECT_EQ(grid->RowCount(), Rows + 2);
    EXPECT_EQ(grid->Cells(0, Rows), QString());
}

namespace {
// Each row of the fixture, as first filled, is recognised by its texts (also in a hidden
// column), its height, its cell properties and its user object.
struct RowsKeepTheirContents : RowFixture {
    void SetUp() override
    {
        RowFixture::SetUp();
        grid->HideColumn(3);
        for (int r = 0; r < Rows; ++r) {
            grid->SetRowHeights(r, 20 + r);
            if (r % 2 == 0) grid->SetColors(1, r, TColor(0x100 + r));
            if (r % 3 == 0) grid->SetObjectEx(2, r, Marks[size_t(r)].get());
        }
    }
    // Present row `row` holds the fixture's row `id` (-1: an empty inserted row).
    void ExpectRow(int row, int id, const std::string& what)
    {
        const QString text = id < 0 ? QString() : QStringLiteral("3:%1").arg(id);
        EXPECT_EQ(grid->Cells(3, row), text) << what << " row " << row;   // the hidden column
        EXPECT_EQ(grid->Cells(4, row), id < 0 ? QString() : QStringLiteral("4:%1").arg(id)) << what << " row " << row;
        EXPECT_EQ(grid->RowHeights(row), id < 0 ? grid->DefaultRowHeight() : 20 + id) << what << " row " << row;
        EXPECT_EQ(grid->GetColors(1, row), id >= 0 && id % 2 == 0 ? TColor(0x100 + id) : clNone) << what << " row " << row;
        EXPECT_EQ(grid->GetObjectEx(2, row), id >= 0 && id % 3 == 0 ? Marks[size_t(id)].get() : nullptr)
            << what << " row " << row;
        if (TCellProperties* p = grid->HasCellProperties(1, row) ? grid->GetCellProperties(1, row) : nullptr)
            EXPECT_EQ(p->OwnerRow(), row) << what;
    }
    void ExpectRows(const std::vector<int>& ids, const std::string& what)
    {
        ASSERT_EQ(grid->RowCount(), int(ids.size())) << what;
        for (int r = 0; r < int(ids.size()); ++r) ExpectRow(r, ids[size_t(r)], what);
    }
    std::array<std::unique_ptr<TObject>, Rows> Marks = [] {
        std::array<std::unique_ptr<TObject>, Rows> a;
        for (auto& m : a) m = std::make_unique<TObject>();
        return a;
    }();
};
}  // namespace

TEST_F(RowsKeepTheirContents, AcrossInsertRemoveHideAndShow)
{
    grid->InsertRows(3, 2, true);
    ExpectRows({0, 1, 2, -1, -1, 3, 4, 5, 6, 7, 8, 9}, "insert");
    grid->RemoveRowsEx(3, 2);
    ExpectRows({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, "remove the inserted rows");

    grid->HideRows(2, 5);
    ExpectRows({0, 1, 6, 7, 8, 9}, "hide a range");
    grid->HideRow(8);
    ExpectRows({0, 1, 6, 7, 9}, "hide one more");
    grid->UnHideRows(3, 4);
    ExpectRows({0, 1, 3, 4, 6, 7, 9}, "show part of the range");
    EXPECT_TRUE(grid->IsHiddenRow(2));
    EXPECT_TRUE(grid->IsHiddenRow(5));
    grid->UnHideRowsAll();
    ExpectRows({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, "show all");
    EXPECT_EQ(grid->NumHiddenRows(), 0);
}

TEST_F(RowsKeepTheirContents, AcrossRowListsInLevels)
{
    TIntList even(0, 0), some(0, 0);
    for (int r = 0; r < Rows; r += 2) even.Add(r);
    grid->HideRowList(&even);
    ExpectRows({1, 3, 5, 7, 9}, "first list");
    some.Add(1);
    some.Add(3);
    grid->HideRowList(&some);
    ExpectRows({1, 5, 9}, "second list");
    grid->UnHideRowList();
    ExpectRows({1, 3, 5, 7, 9}, "second list back");
    grid->SetFilterLevel(1);
    grid->UnHideRowList();
    ExpectRows({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, "first list back");
}

TEST_F(RowFixture, ArrowKeysStepOverABlockThatGrewByInsertedRows)
{
    QWidget window;
    grid->setParent(&window);
    grid->SetBounds(0, 0, 400, 300);
    window.resize(400, 300);
    window.show();
    QApplication::setActiveWindow(&window);
    grid->SetFocus();
    grid->MergeCells(1, 1, 2, 3);
    grid->InsertRows(2, 2, true);   // the block now covers rows 1..5
    grid->FocusCell(1, 1, true);
    QTest::keyClick(grid, Qt::Key_Down);
    EXPECT_EQ(grid->Row(), 6);
    QTest::keyClick(grid, Qt::Key_Up);
    EXPECT_EQ(grid->Row(), 1);   // onto the block, which snaps to its base
    grid->setParent(nullptr);
}

// Controls placed in cells go with their cells; those of removed rows leave the list hidden.
TEST_F(RowFixture, CellControlsFollowTheirCells)
{
    struct Case {
        const char* Name;
        std::function<void(TProStringGrid*)> Change;
        std::vector<TPoint> Places;  // of the controls first at (1,3) and (2,1); missing: removed
    };
    const std::vector<Case> cases = {
        {"insert rows above one", [](auto* g) { g->InsertRows(2, 2, true); }, {{1, 5}, {2, 1}}},
        {"remove the row of one", [](auto* g) { g->RemoveRows(1, 1); }, {{1, 2}}},
        {"remove rows around one", [](auto* g) { g->RemoveRowsHook(2, 1); }, {{1, 2}, {2, 1}}},
        {"move a row up over both", [](auto* g) { g->MoveRow(4, 0); }, {{1, 4}, {2, 2}}},
        {"move the row of one down", [](auto* g) { g->MoveRow(1, 3); }, {{1, 2}, {2, 3}}},
        {"swap their rows", [](auto* g) { g->SwapRows(1, 3); }, {{1, 1}, {2, 3}}},
        {"move the column of one", [](auto* g) { g->MoveColumn(1, 3); }, {{3, 3}, {1, 1}}},
        {"swap their columns", [](auto* g) { g->SwapColumns(1, 2); }, {{2, 3}, {1, 1}}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.Name);
        auto* a = new QWidget(grid);
        auto* b = new QWidget(grid);
        grid->ControlList()->AddControl(1, 3, a);
        grid->ControlList()->AddControl(2, 1, b);
        a->show();
        b->show();
        k.Change(grid);
        std::vector<TPoint> places;
        for (int i = 0; i < grid->ControlList()->Count(); ++i) {
            const TControlItem* item = grid->ControlList()->GetControl(i);
            places.push_back({item->X(), item->Y()});
        }
        EXPECT_EQ(places, k.Places);
        if (k.Places.size() < 2) EXPECT_TRUE(b->isHidden());
        while (grid->ControlList()->Count() > 0) grid->ControlList()->RemoveControl(0);
        delete a;
        delete b;
        TearDown();
        SetUp();
    }
}
