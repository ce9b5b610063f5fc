// Keys, the wheel and the loss of the focus on a shown grid: Space on data check boxes, Delete,
// the fixed footer under Down and Ctrl+Down, the horizontal wheel, and a column drag that the
// focus leaving the grid cancels.
#include "grid/control/pro_column_grid.h"
#include "support/grid_window.h"
#include "grid/input/shown_grid_other.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

TEST(InputKeys, SpaceTogglesADataCheckBoxOnlyWhereTheGridEdits)
{
    struct Case {
        const char* what;
        bool editing, alwaysActive;
        const char* expected;
    };
    const Case cases[] = {
        {"no goEditing", false, false, "N"},
        {"goEditing", true, false, "Y"},
        {"CheckAlwaysActive without goEditing", false, true, "Y"},
    };
    for (const Case& c : cases) {
        GridWindow<TProColumnGrid> w({.Width = 400, .Height = 200, .Rows = 5});
        TProColumnGrid* g = w.G;
        g->Columns()->Items(2)->SetEditor(edDataCheckBox);
        g->SetCells(2, 1, QStringLiteral("N"));
        if (c.editing) g->SetOptions(g->Options() + goEditing);
        g->ControlLook()->SetCheckAlwaysActive(c.alwaysActive);
        int clicks = 0;
        g->OnCheckBoxClick = [&](TObject*, int, int, bool) { ++clicks; };
        w.ShowFocused();
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, QPoint(10, 30));   // a plain cell first
        g->SetCol(2);
        g->SetRow(1);
        QTest::keyClick(g, Qt::Key_Space);
        EXPECT_EQ(g->Cells(2, 1), QString::fromLatin1(c.expected)) << c.what;
        EXPECT_EQ(clicks, c.expected[0] == 'Y' ? 1 : 0) << c.what;
        EXPECT_EQ(g->Options().Contains(goEditing), c.editing) << c.what << ": selecting the cell";
    }
}

TEST(InputMouse, AClickTogglesADataCheckBoxOnlyWhereTheGridEdits)
{
    struct Case {
        const char* what;
        bool editing, alwaysActive;
        const char* expected;
    };
    const Case cases[] = {
        {"no goEditing", false, false, "N"},
        {"goEditing", true, false, "Y"},
        {"CheckAlwaysActive without goEditing", false, true, "Y"},
    };
    for (const Case& c : cases) {
        GridWindow<TProColumnGrid> w({.Width = 400, .Height = 200, .Rows = 5});
        TProColumnGrid* g = w.G;
        g->Columns()->Items(2)->SetEditor(edDataCheckBox);
        g->SetCells(2, 1, QStringLiteral("N"));
        if (c.editing) g->SetOptions(g->Options() + goEditing);
        g->ControlLook()->SetCheckAlwaysActive(c.alwaysActive);
        w.ShowFocused();
        const TRect r = g->CellRect(2, 1);
        QPoint box(-1, -1);
        for (int x = r.Left; x < r.Right && box.x() < 0; ++x)
            for (int y = r.Top; y < r.Bottom && box.x() < 0; ++y)
                if (g->IsInCheckBox(2, 1, x, y)) box = QPoint(x + 2, y + 2);
        ASSERT_GE(box.x(), 0) << c.what << ": the cell shows a check box";
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, box);
        EXPECT_EQ(g->Cells(2, 1), QString::fromLatin1(c.expected)) << c.what;
    }
}

TEST(InputKeys, DeleteRemovesTheRowWithItsCellProperties)
{
    GridWindow<TProStringGrid> w({.Width = 400, .Height = 200, .Cols = 4, .Rows = 5});
    TProStringGrid* g = w.G;
    g->Navigation()->SetAllowDeleteRow(true);
    for (int r = 1; r < 5; ++r) g->SetCells(1, r, QString::number(r));
    g->SetColors(1, 2, 0x0000FF);
    g->SetReadOnly(2, 2, true);
    w.ShowFocused();
    g->SetCol(1);
    g->SetRow(2);
    QTest::keyClick(g, Qt::Key_Delete);
    EXPECT_EQ(g->RowCount(), 4);
    EXPECT_EQ(g->Cells(1, 2), QStringLiteral("3"));
    // the row that moved up brings none of the deleted row's properties with it
    EXPECT_FALSE(g->HasCellProperties(1, 2));
    EXPECT_FALSE(g->HasCellProperties(2, 2));
}

TEST(InputKeys, DownNeverMovesOntoTheFixedFooter)
{
    for (const bool rowSelect : {false, true}) {
        for (const Qt::KeyboardModifiers mods : {Qt::KeyboardModifiers(), Qt::KeyboardModifiers(Qt::ControlModifier)}) {
            GridWindow<TProStringGrid> w({.Width = 400, .Height = 200, .Cols = 4, .Rows = 6});
            TProStringGrid* g = w.G;
            g->SetFixedFooters(1);
            if (rowSelect) g->SetOptions(g->Options() + goRowSelect);
            g->Navigation()->SetCursorMoveRows(true);
            for (int r = 0; r < 6; ++r) g->SetCells(1, r, QString::number(r));
            w.ShowFocused();
            g->SetCol(1);
            g->SetRow(3);
            QTest::keyClick(g, Qt::Key_Down, mods);
            QTest::keyClick(g, Qt::Key_Down, mods);
            QTest::keyClick(g, Qt::Key_Down, mods);
            const std::string what = std::string(rowSelect ? "row select" : "cells") + (mods ? " Ctrl+Down" : " Down");
            EXPECT_EQ(g->Row(), 4) << what;
            EXPECT_EQ(g->Cells(1, 5), QStringLiteral("5")) << what << ": the footer keeps its text";
        }
    }
}

namespace {

// A wheel turn (or tilt) over the middle of the grid, as the window system delivers it.
void Wheel(TProStringGrid* g, QPoint angle, Qt::KeyboardModifiers mods = {})
{
    const QPointF at(100, 50);
    QWheelEvent e(at, g->viewport()->mapToGlobal(at), QPoint(), angle, Qt::NoButton, mods, Qt::NoScrollPhase, false);
    QApplication::sendEvent(g->viewport(), &e);
}

}  // namespace

TEST(InputWheel, TheHorizontalWheelAndShiftWithTheWheelScrollTheColumns)
{
    GridWindow<TProStringGrid> w({.Width = 300, .Height = 200, .Cols = 12, .Rows = 30});
    TProStringGrid* g = w.G;
    w.ShowFocused();
    ASSERT_EQ(g->LeftCol(), 1);
    Wheel(g, {-120, 0});   // tilted right
    EXPECT_EQ(g->LeftCol(), 2);
    Wheel(g, {0, -120}, Qt::ShiftModifier);   // turned towards the user with Shift: right
    EXPECT_EQ(g->LeftCol(), 3);
    EXPECT_EQ(g->TopRow(), 1);
    Wheel(g, {0, 120}, Qt::ShiftModifier);
    Wheel(g, {120, 0});
    Wheel(g, {120, 0});   // not left of the fixed column
    EXPECT_EQ(g->LeftCol(), 1);
    Wheel(g, {-60, 0});   // half a notch does nothing yet
    EXPECT_EQ(g->LeftCol(), 1);
    Wheel(g, {-60, 0});
    EXPECT_EQ(g->LeftCol(), 2);
    for (int i = 0; i < 20; ++i) Wheel(g, {-120, 0});   // no further than the last full page
    const int last = g->LeftCol();
    EXPECT_LT(last, g->ColCount() - 1);
    EXPECT_LE(g->CellRect(g->ColCount() - 1, 1).Right, g->viewport()->width());
    g->SetLeftCol(last - 1);
    EXPECT_GT(g->CellRect(g->ColCount() - 1, 1).Right, g->viewport()->width());
    g->SetLeftCol(last);
    Wheel(g, {0, -120});   // the plain wheel still works the rows
    EXPECT_TRUE(g->Row() > 1 || g->TopRow() > 1);
}

namespace {

struct CancelFixture : ShownGridOtherFixture {
    void SetUp() override
    {
        ShownGridOtherFixture::SetUp();
        for (int c = 0; c < 5; ++c) G->SetCells(c, 0, QStringLiteral("H%1").arg(c));
    }
    void TearDown() override { Screen()->SetCursor(crDefault); }
    std::string Row0() const
    {
        QStringList h;
        for (int c = 0; c < G->ColCount(); ++c) h << G->Cells(c, 0);
        return h.join(' ').toStdString();
    }
};

}  // namespace

TEST_F(CancelFixture, TheFocusLeavingTheGridCancelsAColumnDrag)
{
    G->SetOptions(G->Options() + goColMoving);
    const QPoint from = In(1, 0), to = In(3, 0);
    Move(from.x(), from.y());
    QTest::mousePress(V(), Qt::LeftButton, {}, from);
    for (int i = 1; i <= 4; ++i) Move(from.x() + (to.x() - from.x()) * i / 4, from.y());
    ASSERT_EQ(G->GridState(), gsColMoving);
    ASSERT_EQ(Screen()->Cursor(), crDrag);
    // (the offscreen platform activates the floating image of the column: that ends nothing)
    QApplication::setActiveWindow(&Window);
    QApplication::processEvents();
    ASSERT_EQ(G->GridState(), gsColMoving);
    Other->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(G->GridState(), gsNormal);
    EXPECT_EQ(Screen()->Cursor(), crDefault);
    EXPECT_FALSE(G->HeaderDragButton()->isVisible());
    QTest::mouseRelease(V(), Qt::LeftButton, {}, to);
    QApplication::processEvents();
    EXPECT_EQ(Row0(), std::string("H0 H1 H2 H3 H4"));
}

TEST_F(ShownGridFixture, AltAndAnAcceleratorOnTheGridWorkTheSearchFootersButtons)
{
    for (int r = 1; r < 6; ++r) G->SetCells(1, r, r % 2 ? QStringLiteral("apple %1").arg(r) : QStringLiteral("pear"));
    TSearchFooter* sf = G->SearchFooter();
    sf->SetFindNextCaption(QStringLiteral("Find &next"));
    sf->SetVisible(true);
    QStringList actions;
    G->OnSearchFooterAction = [&](TObject*, const QString& v, int c, int r, TSearchAction) {
        actions << QStringLiteral("%1 %2,%3").arg(v).arg(c).arg(r);
    };
    QApplication::processEvents();
    QTest::keyClicks(G->SearchPanel()->FEdit, QStringLiteral("apple"));
    ASSERT_EQ(G->Row(), 1);
    G->SetFocus();
    QTest::keyClick(G, Qt::Key_N, Qt::AltModifier);
    EXPECT_EQ(G->Row(), 3);
    EXPECT_EQ(actions.last(), QStringLiteral("apple 1,3"));
    sf->SetVisible(false);
    QApplication::processEvents();
    G->SetFocus();
    const int count = int(actions.size());
    QTest::keyClick(G, Qt::Key_N, Qt::AltModifier);
    EXPECT_EQ(G->Row(), 3);
    EXPECT_EQ(actions.size(), count);
}
