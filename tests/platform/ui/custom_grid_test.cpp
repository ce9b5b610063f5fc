#include "platform/core/sysutils.h"
#include "platform/ui/inplace_edit.h"
#include "platform/ui/string_grid.h"
#include "support/grid_window.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A string grid that records the messages and steps it sees.
class ProbeGrid : public TStringGrid {
public:
    using TStringGrid::TStringGrid;
    std::vector<TMessage> Messages;
    std::vector<QString> Steps;
    int CreateWndCalls = 0;
    bool RefuseSelect = false;

    void WndProc(TMessage& m) override
    {
        // what the grid is asked and told, without its questions and its paints
        if (m.Msg != WM_SETCURSOR && m.Msg != WM_GETDLGCODE && m.Msg != CM_WANTSPECIALKEY && m.Msg != WM_PAINT &&
            m.Msg != WM_NCPAINT)
            Messages.push_back(m);
        TStringGrid::WndProc(m);
    }
    std::vector<uint32_t> MessageIds() const
    {
        std::vector<uint32_t> out;
        for (const TMessage& m : Messages) out.push_back(m.Msg);
        return out;
    }

protected:
    void CreateWnd() override { ++CreateWndCalls; }
    bool SelectCell(int c, int r) override { return !RefuseSelect && TStringGrid::SelectCell(c, r); }
    void TopLeftChanged() override
    {
        Steps.push_back(QStringLiteral("TopLeftChanged"));
        TStringGrid::TopLeftChanged();
    }
    void SizeChanged(int oldCols, int oldRows) override
    {
        Steps.push_back(QStringLiteral("SizeChanged %1 %2").arg(oldCols).arg(oldRows));
    }
    void ColumnMoved(int from, int to) override
    {
        Steps.push_back(QStringLiteral("ColumnMoved %1 %2").arg(from).arg(to));
        TStringGrid::ColumnMoved(from, to);
    }
};

// A shown, focused grid of 400 x 200 client pixels without a border: cells are 64 x 24
// with one-pixel lines, so column c starts at 65 * c and row r at 25 * r.
struct GridFixture : ::testing::Test, GridWindow<ProbeGrid> {
    void SetUp() override { ShowFocused(); }
    void Key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) { QTest::keyClick(G, k, m); }
    void Type(const QString& text)
    {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : G;
        QTest::keyClicks(target, text);
    }
    void Press(int x, int y, Qt::KeyboardModifiers m = Qt::NoModifier)
    {
        QTest::mousePress(G->viewport(), Qt::LeftButton, m, QPoint(x, y));
    }
    void Release(int x, int y) { QTest::mouseRelease(G->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(x, y)); }
    void DragTo(int x, int y) { G->Perform(WM_MOUSEMOVE, MK_LBUTTON, MakeLParam(x, y)); }
    TGridCoord Current() const { return {G->Col(), G->Row()}; }
};

}  // namespace

TEST_F(GridFixture, DefaultsOfANewGrid)
{
    EXPECT_EQ(G->ColCount(), 5);
    EXPECT_EQ(G->RowCount(), 5);
    EXPECT_EQ(G->FixedCols(), 1);
    EXPECT_EQ(G->FixedRows(), 1);
    EXPECT_EQ(G->DefaultColWidth(), 64);
    EXPECT_EQ(G->DefaultRowHeight(), 24);
    EXPECT_EQ(G->GridLineWidth(), 1);
    EXPECT_EQ(Current(), (TGridCoord{1, 1}));
    EXPECT_EQ(G->Selection(), (TGridRect{1, 1, 1, 1}));
    EXPECT_EQ(G->TopRow(), 1);
    EXPECT_EQ(G->LeftCol(), 1);
    EXPECT_EQ(G->Options(), (TGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect}));
    EXPECT_EQ(G->Color(), clWindow);
    EXPECT_EQ(G->FixedColor(), clBtnFace);
    EXPECT_FALSE(G->EditorMode());
    EXPECT_EQ(G->InplaceEditor(), nullptr);
    EXPECT_EQ(G->CreateWndCalls, 1);   // once, from the construction step
}

TEST_F(GridFixture, CountChangesKeepStoredCellsAndMoveTheCurrentCellInside)
{
    G->SetRowCount(10);
    G->SetCells(2, 8, QStringLiteral("kept"));
    G->SetObjects(2, 8, G);
    G->SetRow(9);
    G->Steps.clear();
    G->SetRowCount(5);
    EXPECT_EQ(G->Row(), 4);
    ASSERT_FALSE(G->Steps.empty());
    EXPECT_EQ(G->Steps.back(), "SizeChanged 5 10");
    EXPECT_EQ(G->Cells(2, 8), "kept");   // beyond the count, still there
    G->SetRowCount(10);
    EXPECT_EQ(G->Cells(2, 8), "kept");
    EXPECT_EQ(G->Objects(2, 8), G);

    // a count of 0 leaves one normal row; the fixed row gives way
    G->SetRowCount(0);
    EXPECT_EQ(G->RowCount(), 1);
    EXPECT_EQ(G->FixedRows(), 0);

    // unset cells read empty, also far outside the counts
    EXPECT_EQ(G->Cells(40, 7000), QString());
    EXPECT_EQ(G->Objects(3, 3), nullptr);
    EXPECT_EQ(G->Cells(-1, 0), QString());
}

TEST_F(GridFixture, InvalidDimensionsRaiseTheGridError)
{
    struct Case {
        std::function<void()> Do;
        const char* Text;
    } cases[] = {
        {[&] { G->SetFixedRows(-1); }, "Grid index out of range"},
        {[&] { G->SetFixedRows(5); }, "Fixed row count must be less than row count"},
        {[&] { G->SetFixedCols(5); }, "Fixed column count must be less than column count"},
        {[&] { G->SetColWidths(5, 10); }, "Grid index out of range"},
        {[&] { G->SetCells(-1, 0, QStringLiteral("x")); }, "Grid index out of range"},
        {[&] { G->MoveColumn(0, 5); }, "Grid index out of range"},
        {[&] { G->SetCol(7); }, "Grid index out of range"},
    };
    for (const Case& c : cases) {
        try {
            c.Do();
            ADD_FAILURE() << "no error: " << c.Text;
        } catch (const EInvalidGridOperation& e) {
            EXPECT_EQ(e.Message(), QString::fromUtf8(c.Text));
        }
    }
}

TEST_F(GridFixture, CellRectsAndPointsToCells)
{
    G->SetRowCount(20);
    EXPECT_EQ(G->CellRect(0, 0), Rect(0, 0, 64, 24));
    EXPECT_EQ(G->CellRect(2, 1), Rect(130, 25, 194, 49));
    EXPECT_EQ(G->VisibleRowCount(), 7);   // (200 - 25) / 25 rows fit wholly
    EXPECT_EQ(G->VisibleColCount(), 4);

    struct Case {
        int X, Y, Col, Row;
    } points[] = {
        {0, 0, 0, 0},
        {63, 23, 0, 0},
        {64, 24, 0, 0},   // the lines belong to the cell before them
        {65, 25, 1, 1},
        {200, 60, 3, 2},
        {399, 199, -1, -1},   // right of the last column
        {-3, 10, -1, -1},
    };
    for (const Case& p : points) {
        int c = 0, r = 0;
        G->MouseToCell(p.X, p.Y, c, r);
        EXPECT_EQ(c, p.Col) << p.X << "," << p.Y;
        EXPECT_EQ(r, p.Row) << p.X << "," << p.Y;
    }

    // scrolled: row 3 follows the fixed row, rows 1 and 2 are out of view
    G->SetTopRow(3);
    EXPECT_EQ(G->CellRect(1, 3), Rect(65, 25, 129, 49));
    EXPECT_EQ(G->CellRect(1, 2), TRect{});
    EXPECT_EQ(G->MouseCoord(70, 30), (TGridCoord{1, 3}));
    EXPECT_EQ(G->CellRect(1, 0), Rect(65, 0, 129, 24));   // fixed rows stay
}

TEST_F(GridFixture, KeysMoveTheCurrentCell)
{
    G->SetRowCount(30);
    struct Case {
        Qt::Key Key;
        Qt::KeyboardModifiers Mods;
        TGridCoord From, To;
    } cases[] = {
        {Qt::Key_Down, Qt::NoModifier, {2, 2}, {2, 3}},
        {Qt::Key_Up, Qt::NoModifier, {2, 1}, {2, 1}},   // the fixed row is not entered
        {Qt::Key_Left, Qt::NoModifier, {1, 4}, {1, 4}},
        {Qt::Key_Right, Qt::NoModifier, {4, 4}, {4, 4}},
        {Qt::Key_End, Qt::NoModifier, {2, 4}, {4, 4}},
        {Qt::Key_Home, Qt::NoModifier, {3, 4}, {1, 4}},
        {Qt::Key_End, Qt::ControlModifier, {2, 4}, {4, 29}},
        {Qt::Key_Home, Qt::ControlModifier, {3, 20}, {1, 1}},
        {Qt::Key_PageDown, Qt::NoModifier, {2, 2}, {2, 9}},   // by the 7 rows in view
        {Qt::Key_PageUp, Qt::NoModifier, {2, 3}, {2, 1}},
    };
    for (const Case& c : cases) {
        G->FocusCell(c.From.X, c.From.Y, true);
        Key(c.Key, c.Mods);
        EXPECT_EQ(Current(), c.To) << c.Key << " from " << c.From.X << "," << c.From.Y;
        EXPECT_EQ(G->Selection(), (TGridRect{c.To.X, c.To.Y, c.To.X, c.To.Y}));
    }
}

TEST_F(GridFixture, TabWalksTheCellsOnlyWithTabsOption)
{
    G->FocusCell(4, 1, true);
    Key(Qt::Key_Tab);
    EXPECT_EQ(Current(), (TGridCoord{4, 1}));   // focus left the grid instead

    G->SetOptions(G->Options() + goTabs);
    G->SetFocus();
    Key(Qt::Key_Tab);
    EXPECT_EQ(Current(), (TGridCoord{1, 2}));   // wraps to the next row
    QTest::keyClick(G, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(Current(), (TGridCoord{4, 1}));
    G->SetTabStops(2, false);
    G->FocusCell(1, 3, true);
    Key(Qt::Key_Tab);
    EXPECT_EQ(Current(), (TGridCoord{3, 3}));   // column 2 is no tab stop
}

TEST_F(GridFixture, RangeSelectionWithShiftAndDrag)
{
    Key(Qt::Key_Down, Qt::ShiftModifier);
    Key(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(G->Selection(), (TGridRect{1, 1, 2, 2}));
    EXPECT_EQ(Current(), (TGridCoord{2, 2}));

    // dragging from (1, 1) to (3, 3)
    Press(70, 30);
    DragTo(200, 80);
    Release(200, 80);
    EXPECT_EQ(G->Selection(), (TGridRect{1, 1, 3, 3}));
    EXPECT_EQ(Current(), (TGridCoord{1, 1}));   // the anchor moved, not the current cell
    EXPECT_EQ(G->GridState(), gsNormal);

    // without range selection a drag and Shift only move the current cell
    G->SetOptions(G->Options() - goRangeSelect);
    Press(70, 30);
    DragTo(200, 80);
    Release(200, 80);
    EXPECT_EQ(G->Selection(), (TGridRect{3, 3, 3, 3}));
    Key(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(G->Selection(), (TGridRect{3, 4, 3, 4}));

    // a cell the grid refuses is not entered
    G->RefuseSelect = true;
    Key(Qt::Key_Up);
    EXPECT_EQ(Current(), (TGridCoord{3, 4}));
}

TEST_F(GridFixture, RowSelectKeepsTheWholeRowSelected)
{
    G->SetOptions(G->Options() + goRowSelect);
    G->SetRow(3);
    EXPECT_EQ(G->Selection(), (TGridRect{1, 3, 4, 3}));
    Key(Qt::Key_Right);
    EXPECT_EQ(G->Col(), 1);
    // a selected row is never edited
    G->SetOptions(G->Options() + goEditing + goAlwaysShowEditor);
    EXPECT_FALSE(G->Options().Contains(goAlwaysShowEditor));
    Key(Qt::Key_F2);
    EXPECT_EQ(G->InplaceEditor(), nullptr);
}

TEST_F(GridFixture, SizingColumnsAndRowsWithTheMouse)
{
    // no sizing unless asked for
    Press(129, 10);
    EXPECT_EQ(G->GridState(), gsNormal);
    Release(129, 10);

    G->SetOptions(G->Options() + goColSizing + goRowSizing);
    Press(130, 10);   // on the line after column 1, within the fixed row
    EXPECT_EQ(G->GridState(), gsColSizing);
    DragTo(151, 10);
    Release(151, 10);
    EXPECT_EQ(G->ColWidths(1), 85);   // the line followed the pointer by 21 pixels
    EXPECT_EQ(G->CellRect(2, 1).Left, 65 + 85 + 1);

    Press(10, 49);   // on the line under row 1, within the fixed column
    EXPECT_EQ(G->GridState(), gsRowSizing);
    DragTo(10, 40);
    Release(10, 40);
    EXPECT_EQ(G->RowHeights(1), 15);

    // a press inside a normal cell selects instead
    Press(200, 60);
    EXPECT_EQ(G->GridState(), gsSelecting);
    Release(200, 60);
}

TEST_F(GridFixture, MovingColumnsAndRowsTakesCellsAlong)
{
    for (int c = 0; c < 5; ++c) G->SetCells(c, 1, QStringLiteral("c%1").arg(c));
    G->SetColWidths(1, 30);
    G->SetObjects(1, 1, G);
    G->FocusCell(1, 1, true);
    G->MoveColumn(1, 3);
    EXPECT_EQ(G->Rows(1), (QStringList{"c0", "c2", "c3", "c1", "c4"}));
    EXPECT_EQ(G->Objects(3, 1), G);
    EXPECT_EQ(G->ColWidths(3), 30);
    EXPECT_EQ(G->Col(), 3);   // the current cell follows its column
    EXPECT_EQ(G->Steps.back(), "ColumnMoved 1 3");

    for (int r = 0; r < 5; ++r) G->SetCells(0, r, QStringLiteral("r%1").arg(r));
    G->MoveRow(4, 1);
    EXPECT_EQ(G->Cols(0), (QStringList{"r0", "r4", "r1", "r2", "r3"}));

    // deleting moves the row to the end and drops it from the count; its cells stay stored
    G->DeleteRow(1);
    EXPECT_EQ(G->RowCount(), 4);
    EXPECT_EQ(G->Cols(0), (QStringList{"r0", "r1", "r2", "r3"}));
    EXPECT_EQ(G->Cells(0, 4), "r4");

    // dragging a fixed header with column moving on
    G->SetOptions(G->Options() + goColMoving);
    Press(70, 10);   // header of column 1
    EXPECT_EQ(G->GridState(), gsColMoving);
    DragTo(270, 10);
    Release(270, 10);
    EXPECT_EQ(G->Cells(4, 1), "c2");
}

TEST_F(GridFixture, EditorOpensOnEnterTypingAndF2AndWritesBack)
{
    G->SetCells(2, 2, QStringLiteral("old"));
    G->FocusCell(2, 2, true);

    // no editing option: Enter and typing leave the editor closed
    Key(Qt::Key_Return);
    EXPECT_TRUE(G->EditorMode());   // the mode flag toggles ...
    EXPECT_EQ(G->InplaceEditor(), nullptr);   // ... but nothing can be shown
    G->HideEditor();

    G->SetOptions(G->Options() + goEditing);
    Key(Qt::Key_Return);
    ASSERT_TRUE(G->EditorMode());
    ASSERT_NE(G->InplaceEditor(), nullptr);
    EXPECT_TRUE(G->InplaceEditor()->isVisible());
    EXPECT_EQ(G->InplaceEditor()->Text(), "old");
    EXPECT_EQ(TRect::FromQRect(G->InplaceEditor()->geometry()), G->CellRect(2, 2));
    EXPECT_TRUE(G->InplaceEditor()->hasFocus());

    Type(QStringLiteral("new"));   // the text was selected, so typing replaces it
    EXPECT_EQ(G->Cells(2, 2), "new");   // written as it is typed
    QTest::keyClick(G->InplaceEditor(), Qt::Key_Return);
    EXPECT_FALSE(G->EditorMode());
    EXPECT_FALSE(G->InplaceEditor()->isVisible());
    EXPECT_TRUE(G->hasFocus());

    // a typed character opens the editor with that character
    G->FocusCell(3, 3, true);
    Type(QStringLiteral("x"));
    EXPECT_TRUE(G->EditorMode());
    EXPECT_EQ(G->InplaceEditor()->Text(), "x");

    // moving on closes it and keeps the text
    QTest::keyClick(G->InplaceEditor(), Qt::Key_Down);
    EXPECT_FALSE(G->EditorMode());
    EXPECT_EQ(Current(), (TGridCoord{3, 4}));
    EXPECT_EQ(G->Cells(3, 3), "x");

    Key(Qt::Key_F2);
    EXPECT_TRUE(G->InplaceEditor()->isVisible());
    EXPECT_EQ(G->InplaceEditor()->geometry().topLeft(), QPoint(195, 100));
}

TEST_F(GridFixture, EditorFollowsAClickAndAlwaysShowEditor)
{
    G->SetOptions(G->Options() + goEditing);
    Press(200, 60);   // (3, 2): becomes current, no editor yet
    Release(200, 60);
    EXPECT_EQ(Current(), (TGridCoord{3, 2}));
    EXPECT_FALSE(G->EditorMode());
    Press(200, 60);   // a click on the current cell opens it
    Release(200, 60);
    EXPECT_TRUE(G->EditorMode());

    G->SetOptions(G->Options() + goAlwaysShowEditor);
    Key(Qt::Key_Escape);
    G->SetFocus();
    G->SetCol(1);
    EXPECT_TRUE(G->EditorMode());
    EXPECT_TRUE(G->InplaceEditor()->isVisible());
    EXPECT_EQ(G->InplaceEditor()->geometry().topLeft(), QPoint(65, 50));
}

TEST_F(GridFixture, ScrollingKeepsTheCurrentCellInView)
{
    G->SetRowCount(30);
    ASSERT_TRUE(G->verticalScrollBar()->isVisible());
    G->Steps.clear();
    G->SetRow(20);
    EXPECT_EQ(G->TopRow(), 14);   // rows 14 .. 20 in view
    EXPECT_EQ(G->Steps, (std::vector<QString>{QStringLiteral("TopLeftChanged")}));
    G->SetRow(5);
    EXPECT_EQ(G->TopRow(), 5);

    struct Case {
        int Code, Pos, Top;
    } cases[] = {
        {SB_LINEDOWN, 0, 6}, {SB_PAGEDOWN, 0, 13}, {SB_BOTTOM, 0, 23}, {SB_LINEDOWN, 0, 23},
        {SB_PAGEUP, 0, 16},  {SB_TOP, 0, 1},       {SB_THUMBPOSITION, 52, 10},
        {SB_THUMBTRACK, 60, 10},   // only followed with thumb tracking
    };
    // the bar counts 0..127 from the first to the last top row (1 .. 23)
    for (const Case& c : cases) {
        G->Perform(WM_VSCROLL, MakeWParam(c.Code, c.Pos));
        EXPECT_EQ(G->TopRow(), c.Top) << c.Code;
        EXPECT_EQ(G->verticalScrollBar()->value(), MulDiv(c.Top - 1, 127, 22));
    }

    // an open editor leaves with its cell and comes back with it
    G->SetOptions(G->Options() + goEditing);
    G->FocusCell(1, 12, true);
    G->ShowEditor();
    ASSERT_TRUE(G->InplaceEditor()->isVisible());
    G->SetTopRow(20);
    EXPECT_FALSE(G->InplaceEditor()->isVisible());
    EXPECT_TRUE(G->EditorMode());
    G->SetTopRow(11);
    EXPECT_TRUE(G->InplaceEditor()->isVisible());
    EXPECT_EQ(G->InplaceEditor()->geometry().topLeft(), QPoint(65, 50));
    G->HideEditor();

    // a notch of the wheel moves the current row by the desktop's lines
    G->FocusCell(1, 10, true);
    QWheelEvent down(QPointF(100, 100), G->mapToGlobal(QPointF(100, 100)), QPoint(), QPoint(0, -120), Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(G->viewport(), &down);
    EXPECT_EQ(G->Row(), 10 + QApplication::wheelScrollLines());

    // a taller window shows more rows and can scroll less
    G->SetTopRow(29);
    EXPECT_EQ(G->TopRow(), 29);   // code may show the last row alone
    G->SetBounds(0, 0, 400, 400);
    EXPECT_EQ(G->TopRow(), 15);
}

TEST_F(GridFixture, QtInputArrivesAsWindowMessages)
{
    G->Messages.clear();
    QTest::keyClick(G, Qt::Key_A);
    QTest::mousePress(G->viewport(), Qt::LeftButton, Qt::ShiftModifier, QPoint(70, 30));
    QTest::mouseRelease(G->viewport(), Qt::LeftButton, Qt::ShiftModifier, QPoint(70, 30));
    std::vector<uint32_t> ids = G->MessageIds();
    ASSERT_GE(ids.size(), 5u);
    EXPECT_EQ(ids[0], WM_KEYDOWN);
    EXPECT_EQ(G->Messages[0].WParam, 'A');
    EXPECT_EQ(ids[1], WM_CHAR);
    EXPECT_EQ(G->Messages[1].WParam, 'a');
    EXPECT_EQ(ids[2], WM_KEYUP);
    EXPECT_EQ(ids[3], WM_LBUTTONDOWN);
    EXPECT_EQ(G->Messages[3].LParam, MakeLParam(70, 30));
    EXPECT_EQ(G->Messages[3].WParam, MK_LBUTTON | MK_SHIFT);
    EXPECT_EQ(ids[4], WM_LBUTTONUP);

    // Delete is a key without a character, though Qt reports character 127 for it
    G->Messages.clear();
    QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier, QString(QChar(0x7F)));
    QKeyEvent delUp(QEvent::KeyRelease, Qt::Key_Delete, Qt::NoModifier, QString(QChar(0x7F)));
    QApplication::sendEvent(G, &del);
    QApplication::sendEvent(G, &delUp);
    EXPECT_EQ(G->MessageIds(), (std::vector<uint32_t>{WM_KEYDOWN, WM_KEYUP}));
    EXPECT_EQ(G->Messages[0].WParam, VK_DELETE);

    // a posted message arrives after the current event, a timer as WM_TIMER with its id
    G->Messages.clear();
    G->PostMessage(WM_USER + 7, 3, 4);
    EXPECT_TRUE(G->Messages.empty());
    QApplication::processEvents();
    ASSERT_EQ(G->Messages.size(), 1u);
    EXPECT_EQ(G->Messages[0].Msg, WM_USER + 7u);

    // a registered message: a number from 0xC000 up, one for each name, the same one each time
    const uint32_t first = RegisterWindowMessage(QStringLiteral("CustomGridTestFirst"));
    const uint32_t second = RegisterWindowMessage(QStringLiteral("CustomGridTestSecond"));
    EXPECT_GE(first, 0xC000u);
    EXPECT_LE(first, 0xFFFFu);
    EXPECT_GE(second, 0xC000u);
    EXPECT_LE(second, 0xFFFFu);
    EXPECT_NE(first, second);
    EXPECT_EQ(RegisterWindowMessage(QStringLiteral("CustomGridTestFirst")), first);
    EXPECT_EQ(RegisterWindowMessage(QStringLiteral("CustomGridTestSecond")), second);
}

TEST(GridDialogKeys, EnterAndEscapeBelongToTheGridOnlyWhileEditing)
{
    QDialog dialog;
    auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    auto* g = CreateGrid<TStringGrid>(&dialog);
    g->SetOptions(g->Options() + goEditing);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    g->SetFocus();

    // editing: Enter closes the editor, the dialog stays open
    g->ShowEditor();
    ASSERT_TRUE(g->InplaceEditor() && g->InplaceEditor()->hasFocus());
    QTest::keyClick(g->InplaceEditor(), Qt::Key_Escape);
    EXPECT_TRUE(dialog.isVisible());
    QTest::keyClick(g->InplaceEditor(), Qt::Key_Return);
    EXPECT_FALSE(g->EditorMode());
    EXPECT_TRUE(dialog.isVisible());

    // not editing: Enter reaches the default button
    QTest::keyClick(g, Qt::Key_Return);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST(StringGridStore, RowsMoveAcrossStorageBlocks)
{
    std::unique_ptr<TStringGrid> g(CreateGrid<TStringGrid>());
    g->SetRowCount(10000);
    g->SetCells(1, 4095, QStringLiteral("a"));
    g->SetCells(1, 4096, QStringLiteral("b"));
    g->SetCells(1, 9000, QStringLiteral("c"));
    g->SetObjects(2, 4095, g.get());
    g->MoveRow(4095, 9000);
    EXPECT_EQ(g->Cells(1, 4095), "b");
    EXPECT_EQ(g->Cells(1, 8999), "c");
    EXPECT_EQ(g->Cells(1, 9000), "a");
    EXPECT_EQ(g->Objects(2, 9000), g.get());
    EXPECT_EQ(g->Objects(2, 4095), nullptr);
    g->MoveRow(9000, 10);
    EXPECT_EQ(g->Cells(1, 10), "a");
    EXPECT_EQ(g->Cells(1, 4096), "b");
    EXPECT_EQ(g->Cells(1, 9000), "c");
}

TEST_F(GridFixture, PaintDrawsEachCellInViewOnceWithItsState)
{
    G->SetRowCount(30);
    G->SetTopRow(10);
    G->SetSelection({1, 11, 2, 12});
    struct Drawn {
        int Col, Row;
        TRect R;
        TGridDrawState State;
    };
    std::vector<Drawn> drawn;
    G->OnDrawCell = [&](TObject*, int c, int r, const TRect& rect, TGridDrawState s) { drawn.push_back({c, r, rect, s}); };
    G->grab();   // paints synchronously
    auto find = [&](int c, int r) -> const Drawn* {
        const Drawn* hit = nullptr;
        int n = 0;
        for (const Drawn& d : drawn)
            if (d.Col == c && d.Row == r) {
                hit = &d;
                ++n;
            }
        EXPECT_LE(n, 1) << c << "," << r;
        return hit;
    };
    // rows 0 and 10 .. 16 fill the 200 pixels exactly; columns 0 .. 4
    EXPECT_EQ(drawn.size(), 5u * 8u);
    EXPECT_EQ(find(1, 17), nullptr);
    ASSERT_NE(find(0, 0), nullptr);
    EXPECT_TRUE(find(0, 0)->State.Contains(gdFixed));
    EXPECT_EQ(find(0, 10)->R, Rect(0, 25, 64, 49));
    EXPECT_TRUE(find(3, 0)->State.Contains(gdFixed));
    EXPECT_EQ(find(1, 5), nullptr);   // scrolled out
    EXPECT_EQ(find(1, 11)->State, TGridDrawState{gdSelected});
    EXPECT_TRUE(find(3, 12)->State.Empty());
    // the current cell is the selection's bottom-right corner; the grid has the focus
    EXPECT_EQ(find(2, 12)->State, (TGridDrawState{gdSelected, gdFocused}));
    G->FocusCell(4, 14, true);
    drawn.clear();
    G->grab();
    EXPECT_EQ(find(4, 14)->State, (TGridDrawState{gdSelected, gdFocused}));
    EXPECT_TRUE(find(2, 12)->State.Empty());
}

namespace {

// An editor that takes digits only and shows letters in upper case, as derived editors do
// through their key steps.
class DigitsEdit : public TInplaceEdit {
public:
    using TInplaceEdit::TInplaceEdit;
    void KeyPress(QChar& key) override
    {
        TInplaceEdit::KeyPress(key);
        if (key == u'x') key = u'X';
        else if (key.isLetter()) key = QChar();
    }
};

class DigitsGrid : public TStringGrid {
public:
    using TStringGrid::TStringGrid;
    TInplaceEdit* CreateEditor() override { return new DigitsEdit(this); }
};

}  // namespace

TEST(GridEditorKeys, EditorKeyStepsFilterAndForward)
{
    QWidget window;
    auto* g = CreateGrid<DigitsGrid>(&window);
    g->SetOptions(g->Options() + goEditing);
    window.resize(400, 200);
    g->SetBounds(0, 0, 400, 200);
    window.show();
    QApplication::setActiveWindow(&window);
    g->SetFocus();
    g->FocusCell(2, 2, true);
    QTest::keyClicks(g, QStringLiteral("1a2x"));   // the first key opens the editor
    ASSERT_NE(g->InplaceEditor(), nullptr);
    EXPECT_EQ(g->InplaceEditor()->Text(), "12X");
    EXPECT_EQ(g->Cells(2, 2), "12X");
    QTest::keyClick(g->InplaceEditor(), Qt::Key_End);
    QTest::keyClick(g->InplaceEditor(), Qt::Key_Backspace);
    QTest::keyClick(g->InplaceEditor(), Qt::Key_Home);
    QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier, QString(QChar(0x7F)));
    QApplication::sendEvent(g->InplaceEditor(), &del);
    EXPECT_EQ(g->Cells(2, 2), "2");

    // Left at the start of the text stays in the editor ...
    QTest::keyClick(g->InplaceEditor(), Qt::Key_Home);
    QTest::keyClick(g->InplaceEditor(), Qt::Key_Left);
    EXPECT_EQ(g->Col(), 2);
    EXPECT_TRUE(g->EditorMode());
    // ... unless the editor is always shown, when it moves to the next cell
    g->SetOptions(g->Options() + goAlwaysShowEditor);
    QTest::keyClick(g->InplaceEditor(), Qt::Key_Home);
    QTest::keyClick(g->InplaceEditor(), Qt::Key_Left);
    EXPECT_EQ(g->Col(), 1);
    EXPECT_EQ(g->InplaceEditor()->geometry().topLeft(), QPoint(65, 50));
    EXPECT_EQ(g->Cells(2, 2), "2");
}

TEST_F(GridFixture, WritingCellsFarBelowTheViewStaysCheap)
{
    // rows of their own heights make every position a sum; a write far below the view must
    // not walk down to its row
    G->SetRowCount(200000);
    G->SetRowHeights(0, 30);
    EXPECT_EQ(G->CellRect(1, 150000), TRect{});
    EXPECT_EQ(G->CellRect(1, 2), Rect(65, 56, 129, 80));
    // measured against the same writes near the top, so that a loaded machine slows both alike;
    // a walk down to each row would make the far writes thousands of times dearer
    QElapsedTimer t;
    t.start();
    for (int r = 1; r < 100001; ++r) G->SetCells(2, r, QStringLiteral("x"));
    const qint64 nearMs = t.restart();
    for (int r = 100000; r < 200000; ++r) G->SetCells(1, r, QStringLiteral("x"));
    const qint64 farMs = t.elapsed();
    EXPECT_LT(farMs, 20 * nearMs + 200);
}
