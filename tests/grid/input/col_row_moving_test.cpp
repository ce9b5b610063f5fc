// Columns and rows moved by code and by dragging their header cells: what travels with them.
#include "support/grid_shots.h"
#include "support/shown_grid.h"
#include "platform/ui/cursors.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Seven columns: header "Hc" and width 40 + c in column c; two normal rows.
Grid<TProStringGrid> ColumnsGrid()
{
    auto g = MakeGrid(7, 3);
    for (int c = 0; c < 7; ++c) {
        g->SetCells(c, 0, QStringLiteral("H%1").arg(c));
        g->SetCells(c, 1, QStringLiteral("a%1").arg(c));
        g->SetColWidths(c, 40 + c);
    }
    return g;
}

QStringList Headers(TProStringGrid* g)
{
    QStringList h;
    for (int c = 0; c < g->ColCount(); ++c) h << g->Cells(g->DisplToRealColumn(c), 0);
    return h;
}

std::string Joined(TProStringGrid* g) { return Headers(g).join(' ').toStdString(); }

struct ColumnMoveCase {
    int From, To;
    int SortBefore, SortAfter;
    int ColBefore, ColAfter;
    const char* Order;
};

}  // namespace

TEST(ColumnMoving, WidthsSortColumnAndCurrentColumnFollowTheMove)
{
    const ColumnMoveCase cases[] = {
        {2, 5, 5, 4, 5, 4, "H0 H1 H3 H4 H5 H2 H6"},   // to the right: 3..5 shift left
        {5, 2, 2, 3, 3, 4, "H0 H1 H5 H2 H3 H4 H6"},   // to the left: 2..4 shift right
        {2, 5, 2, 5, 2, 5, "H0 H1 H3 H4 H5 H2 H6"},   // the sort and current column is the moved one
        {2, 5, 6, 6, 1, 1, "H0 H1 H3 H4 H5 H2 H6"},   // outside the move nothing changes
    };
    for (const ColumnMoveCase& k : cases) {
        SCOPED_TRACE(k.Order);
        auto g = ColumnsGrid();
        g->SortSettings()->SetColumn(k.SortBefore);
        g->SetCol(k.ColBefore);
        g->MoveColumn(k.From, k.To);
        EXPECT_EQ(Joined(g.get()), std::string(k.Order));
        for (int c = 0; c < 7; ++c)   // each width stays with its header
            EXPECT_EQ(g->ColWidths(c), 40 + g->Cells(c, 0).mid(1).toInt());
        EXPECT_EQ(g->Cells(k.To, 1), QStringLiteral("a%1").arg(k.From));
        EXPECT_EQ(g->SortSettings()->Column(), k.SortAfter);
        EXPECT_EQ(g->Col(), k.ColAfter);
        EXPECT_EQ(g->ColumnOrder()->GetInteger(k.To), k.From);
    }
}

TEST(ColumnMoving, SortIndexEntriesFollowAndKeepTheirDirection)
{
    auto g = ColumnsGrid();
    g->SortSettings()->SetIndexShow(true);
    g->SortIndexes()->AddIndex(5, false);
    g->SortIndexes()->AddIndex(2, true);
    g->MoveColumn(2, 5);
    EXPECT_EQ(g->SortIndexes()->SortColumns(0), 4);
    EXPECT_FALSE(g->SortIndexes()->SortDirections(0));
    EXPECT_EQ(g->SortIndexes()->SortColumns(1), 5);
    EXPECT_TRUE(g->SortIndexes()->SortDirections(1));
}

TEST(ColumnMoving, HiddenColumnsAndHiddenRowsKeepTheirPlaces)
{
    auto g = ColumnsGrid();
    g->SetCells(3, 2, QStringLiteral("hidden row"));
    g->HideColumn(3);
    g->HideRow(2);
    // shown: H0 H1 H2 H4 H5 H6; display 1 (H1) goes behind display 3 (H4)
    g->MoveColumn(1, 3);
    EXPECT_EQ(Joined(g.get()), std::string("H0 H2 H4 H1 H5 H6"));
    EXPECT_EQ(g->ColWidths(3), 41);
    // the hidden column stays hidden, its width kept, between H2 and H4
    g->UnHideColumnsAll();
    EXPECT_EQ(Joined(g.get()), std::string("H0 H2 H3 H4 H1 H5 H6"));
    EXPECT_EQ(g->ColWidths(2), 43);
    // the hidden row's texts moved with their columns
    g->UnHideRowsAll();
    EXPECT_EQ(g->Cells(2, 2), QStringLiteral("hidden row"));
}

TEST(ColumnMoving, IndexesOutsideTheGridRaiseBeforeAnythingMoves)
{
    auto g = ColumnsGrid();
    g->SortSettings()->SetColumn(3);
    const QString order = g->ColumnOrder()->StrValue();
    const std::pair<int, int> bad[] = {{2, 7}, {7, 2}, {-1, 3}, {3, -1}};
    for (auto [from, to] : bad) {
        EXPECT_THROW(g->MoveColumn(from, to), EProGridError);
        EXPECT_THROW(g->MoveRow(from, to), EProGridError);
    }
    try {
        g->MoveColumn(1, 9);
    } catch (const EProGridError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Invalid column accessed"));
    }
    try {
        g->MoveRow(1, 9);
    } catch (const EProGridError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Invalid row accessed"));
    }
    EXPECT_EQ(Joined(g.get()), std::string("H0 H1 H2 H3 H4 H5 H6"));
    EXPECT_EQ(g->SortSettings()->Column(), 3);
    EXPECT_EQ(g->ColumnOrder()->StrValue(), order);
}

TEST(RowMoving, HeightsTravelAndTheMovedEventFiresOnce)
{
    auto g = MakeGrid(3, 6);
    for (int r = 0; r < 6; ++r) {
        g->SetCells(0, r, QString::number(r));
        g->SetRowHeights(r, 20 + r);
    }
    std::vector<std::pair<int, int>> moved;
    g->OnRowMoved = [&](TObject*, int f, int t) { moved.emplace_back(f, t); };
    g->MoveRow(1, 4);
    EXPECT_EQ(moved, (std::vector<std::pair<int, int>>{{1, 4}}));
    for (int r = 0; r < 6; ++r) EXPECT_EQ(g->RowHeights(r), 20 + g->Cells(0, r).toInt());
    EXPECT_EQ(g->Cells(0, 4), QStringLiteral("1"));
}

TEST(RowMoving, TheFooterRowStaysLast)
{
    auto g = MakeGrid(3, 6);
    for (int r = 0; r < 6; ++r) g->SetCells(0, r, QString::number(r));
    g->FloatingFooter()->SetVisible(true);
    ASSERT_EQ(g->FloatingFooter()->FooterStyle(), fsFixedLastRow);
    g->MoveRow(2, 5);
    for (int r = 0; r < 6; ++r) EXPECT_EQ(g->Cells(0, r), QString::number(r));
    g->MoveRow(2, 4);
    EXPECT_EQ(g->Cells(0, 4), QStringLiteral("2"));
}

TEST(ColumnMoving, SynchronisedGridsRepeatAMoveOnceEach)
{
    auto a = ColumnsGrid();
    auto b = ColumnsGrid();
    a->SyncGrid()->SetGrid(b.get());
    a->SyncGrid()->SetMoveColumn(true);
    b->SyncGrid()->SetGrid(a.get());
    b->SyncGrid()->SetMoveColumn(true);
    int movedA = 0, movedB = 0;
    a->OnColumnMoved = [&](TObject*, int, int) { ++movedA; };
    b->OnColumnMoved = [&](TObject*, int, int) { ++movedB; };
    a->MoveColumn(1, 4);
    EXPECT_EQ(movedA, 1);
    EXPECT_EQ(movedB, 1);
    EXPECT_EQ(Headers(b.get()), Headers(a.get()));
    b->MoveColumn(4, 1);
    EXPECT_EQ(Joined(a.get()), std::string("H0 H1 H2 H3 H4 H5 H6"));
    EXPECT_EQ(movedA, 2);
    EXPECT_EQ(movedB, 2);
}

// ---- dragging on a shown grid -----------------------------------------------------------------

namespace {

struct DragMoveFixture : ShownGridFixture {
    void SetUp() override
    {
        ShownGridFixture::SetUp();
        for (int c = 0; c < 5; ++c) G->SetCells(c, 0, QStringLiteral("H%1").arg(c));
        for (int r = 1; r < 6; ++r) G->SetCells(0, r, QStringLiteral("R%1").arg(r));
    }
    void TearDown() override
    {
        Screen()->SetCursor(crDefault);
        ShownGridFixture::TearDown();
    }
    // Press at from, move there in steps, release.
    void Drag(QPoint from, QPoint to)
    {
        Move(from.x(), from.y());
        QTest::mousePress(V(), Qt::LeftButton, Qt::NoModifier, from);
        const int steps = 4;
        for (int i = 1; i <= steps; ++i) {
            const QPoint p = from + (to - from) * i / steps;
            QTest::mouseMove(V(), p);
            QApplication::processEvents();
        }
        QTest::mouseRelease(V(), Qt::LeftButton, Qt::NoModifier, to);
        QApplication::processEvents();
    }
    std::string Row0() const
    {
        QStringList h;
        for (int c = 0; c < G->ColCount(); ++c) h << G->Cells(c, 0);
        return h.join(' ').toStdString();
    }
    std::string Col0() const
    {
        QStringList h;
        for (int r = 0; r < G->RowCount(); ++r) h << G->Cells(0, r);
        return h.join(' ').toStdString();
    }
};

}  // namespace

TEST_F(DragMoveFixture, DraggingAHeaderMovesItsColumn)
{
    G->SetOptions(G->Options() + goColMoving);
    G->SetColWidths(1, 50);
    std::vector<int> moving;
    QString caption;
    G->OnColumnMoving = [&](TObject*, int col, bool&) {
        moving.push_back(col);
        caption = G->HeaderDragButton()->Caption();
    };
    Drag(In(1, 0), In(3, 0));
    EXPECT_EQ(Row0(), std::string("H0 H2 H3 H1 H4"));
    EXPECT_EQ(G->ColWidths(3), 50);
    ASSERT_FALSE(moving.empty());
    EXPECT_EQ(moving.back(), 3);
    EXPECT_EQ(caption, QStringLiteral("H1"));   // the floating image shows the dragged header
    // the floating image and the arrows are gone, the cursor is back
    EXPECT_FALSE(G->HeaderDragButton()->isVisible());
    EXPECT_FALSE(G->MoveArrow(arrUp)->isVisible());
    EXPECT_EQ(Screen()->Cursor(), crDefault);
    EXPECT_EQ(G->GridState(), gsNormal);
}

TEST_F(DragMoveFixture, DraggingAFixedColumnCellMovesItsRow)
{
    G->SetOptions(G->Options() + goRowMoving);
    Drag(In(0, 4), In(0, 2));
    EXPECT_EQ(Col0(), std::string("H0 R1 R4 R2 R3 R5"));
}

TEST_F(DragMoveFixture, ARefusedTargetShowsNoDropAndMovesNothing)
{
    G->SetOptions(G->Options() + goColMoving);
    TCursor shown = crDefault;
    G->OnColumnMoving = [&](TObject*, int col, bool& allow) {
        allow = col != 3;
        shown = Screen()->Cursor();
    };
    G->OnMouseMove = [&](TObject*, TShiftState, int, int) { shown = Screen()->Cursor(); };
    int sorted = 0;
    G->SortSettings()->SetShow(true);
    G->OnClickSort = [&](TObject*, int) { ++sorted; };
    Drag(In(1, 0), In(3, 0));
    EXPECT_EQ(shown, crNoDrop);
    EXPECT_EQ(Row0(), std::string("H0 H1 H2 H3 H4"));
    EXPECT_EQ(sorted, 0);
    EXPECT_EQ(Screen()->Cursor(), crDefault);
}

TEST_F(DragMoveFixture, OnColumnMoveEndsTheMove)
{
    G->SetOptions(G->Options() + goColMoving);
    G->OnColumnMove = [](TObject*, int, bool& allow) { allow = false; };
    Drag(In(1, 0), In(3, 0));
    EXPECT_EQ(Row0(), std::string("H0 H1 H2 H3 H4"));
    EXPECT_FALSE(G->HeaderDragButton()->isVisible());
}

TEST(DragScrollSettings, AssignCopiesEverySettingFromItsOwnClassOnly)
{
    auto a = MakeGrid(3, 3);
    auto b = MakeGrid(3, 3);
    TDragScrollOptions* s = a->DragScrollOptions();
    s->SetActive(true);
    s->Delays()->SetInitialDelay(300);
    s->Delays()->SetRepeatDelay(40);
    s->Margins()->SetTopMargin(1);
    s->Margins()->SetBottomMargin(2);
    s->Margins()->SetLeftMargin(3);
    s->Margins()->SetRightMargin(4);
    b->SetDragScrollOptions(s);
    TDragScrollOptions* t = b->DragScrollOptions();
    EXPECT_NE(t, s);
    EXPECT_TRUE(t->Active());
    EXPECT_EQ(t->Delays()->InitialDelay(), 300);
    EXPECT_EQ(t->Delays()->RepeatDelay(), 40);
    EXPECT_EQ(t->Margins()->TopMargin(), 1);
    EXPECT_EQ(t->Margins()->BottomMargin(), 2);
    EXPECT_EQ(t->Margins()->LeftMargin(), 3);
    EXPECT_EQ(t->Margins()->RightMargin(), 4);
    b->SetDragScrollOptions(a->SortSettings());
    EXPECT_EQ(t->Delays()->InitialDelay(), 300);
    EXPECT_TRUE(t->Active());
}
