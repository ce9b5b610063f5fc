// The grid's keyboard as a user drives it: real key events on a shown grid, checked at the
// current cell, the selection, the focus and the cells.
#include "grid/control/pro_column_grid.h"
#include "platform/ui/inplace_edit.h"
#include "support/grid_window.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct K {
    Qt::Key key;
    Qt::KeyboardModifiers mods = Qt::NoModifier;
};

// A shown grid of 6 columns x 20 rows (one fixed row and column) in a window (of class W)
// with a line edit after it; the grid has the focus and its current cell is (1, 1).
template <class T = TProStringGrid, class W = QWidget>
struct Shown : GridWindow<T, W> {
    Shown() : GridWindow<T, W>({.Width = 420, .Height = 200, .Cols = 6, .Rows = 20, .WindowMarginY = 40})
    {
        Next = new QLineEdit(&this->Window);
        Next->setGeometry(0, 210, 100, 20);
        this->ShowFocused();
        this->G->SetCol(1);
        this->G->SetRow(1);
    }
    void Press(std::initializer_list<K> keys)
    {
        for (const K& k : keys) QTest::keyClick(QApplication::focusWidget(), k.key, k.mods);
        QApplication::processEvents();
    }
    TGridCoord Cell() const { return {this->G->Col(), this->G->Row()}; }
    QLineEdit* Next = nullptr;
};

using Keys = std::vector<K>;
constexpr auto Shift = Qt::ShiftModifier;
constexpr auto Ctrl = Qt::ControlModifier;

struct MoveCase {
    const char* what;
    std::function<void(TProStringGrid*)> setup;
    TGridCoord start;
    Keys keys;
    TGridCoord cell;
    TGridRect sel;  // Left < 0: the one cell
};

void RunMoves(const std::vector<MoveCase>& cases)
{
    for (const MoveCase& c : cases) {
        Shown<> s;
        if (c.setup) c.setup(s.G);
        s.G->SetCol(c.start.X);
        s.G->SetRow(c.start.Y);
        for (const K& k : c.keys) QTest::keyClick(s.G, k.key, k.mods);
        EXPECT_EQ(s.Cell(), c.cell) << c.what << ": at " << s.G->Col() << "," << s.G->Row();
        const TGridRect want = c.sel.Left < 0 ? TGridRect{c.cell.X, c.cell.Y, c.cell.X, c.cell.Y} : c.sel;
        const TGridRect got = s.G->Selection();
        EXPECT_EQ(got, want) << c.what << ": selection " << got.Left << "," << got.Top << "-" << got.Right << ","
                             << got.Bottom;
    }
}

}  // namespace

TEST(GridKeys, MovementKeys)
{
    const TGridRect one{-1, 0, 0, 0};
    auto fixedRight = [](TProStringGrid* g) { g->SetFixedRightCols(1); };
    RunMoves({
        {"arrows", {}, {1, 1}, {{Qt::Key_Right}, {Qt::Key_Right}, {Qt::Key_Down}}, {3, 2}, one},
        {"no move into the fixed column or row", {}, {1, 1}, {{Qt::Key_Left}, {Qt::Key_Up}}, {1, 1}, one},
        {"End goes to the last column", {}, {2, 4}, {{Qt::Key_End}}, {5, 4}, one},
        {"Home goes to the first column", {}, {4, 4}, {{Qt::Key_Home}}, {1, 4}, one},
        {"Ctrl+End to the last cell", {}, {2, 2}, {{Qt::Key_End, Ctrl}}, {5, 19}, one},
        {"Ctrl+Home to the first cell", {}, {3, 9}, {{Qt::Key_Home, Ctrl}}, {1, 1}, one},
        {"Page Down and back up", {}, {1, 1}, {{Qt::Key_PageDown}, {Qt::Key_PageUp}}, {1, 1}, one},
        {"Down stops at the last row", {}, {1, 18}, {{Qt::Key_Down}, {Qt::Key_Down}}, {1, 19}, one},
        {"Shift extends from the anchor", {}, {1, 1}, {{Qt::Key_Right, Shift}, {Qt::Key_Down, Shift}}, {2, 2},
         {1, 1, 2, 2}},
        {"Shift+End selects to the end of the row", {}, {2, 3}, {{Qt::Key_End, Shift}}, {5, 3}, {2, 3, 5, 3}},
        {"Shift+End stops before fixed right columns", fixedRight, {2, 3}, {{Qt::Key_End, Shift}}, {4, 3},
         {2, 3, 4, 3}},
        {"Shift+Home selects to the first column", {}, {4, 3}, {{Qt::Key_Home, Shift}}, {1, 3}, {1, 3, 4, 3}},
        {"Home and End by rows",
         [](TProStringGrid* g) { g->Navigation()->SetHomeEndKey(heFirstLastRow); },
         {3, 5},
         {{Qt::Key_End}},
         {3, 19},
         one},
        {"Home and End by cells",
         [](TProStringGrid* g) { g->Navigation()->SetHomeEndKey(heFirstLastCell); },
         {3, 5},
         {{Qt::Key_End}, {Qt::Key_Up}, {Qt::Key_Home}},
         {1, 1},
         one},
        {"hidden column is passed",
         [](TProStringGrid* g) { g->HideColumn(2); },
         {1, 1},
         {{Qt::Key_Right}, {Qt::Key_End}},
         {4, 1},
         one},
        {"merged block is one step",
         [](TProStringGrid* g) { g->MergeCells(2, 1, 2, 1); },
         {1, 1},
         {{Qt::Key_Right}, {Qt::Key_Right}},
         {4, 1},
         one},
        {"disabled row is skipped",
         [](TProStringGrid* g) { g->SetRowEnabled(3, false); },
         {1, 2},
         {{Qt::Key_Down}},
         {1, 4},
         one},
        {"disabled row is skipped upwards",
         [](TProStringGrid* g) { g->SetRowEnabled(3, false); },
         {1, 4},
         {{Qt::Key_Up}},
         {1, 2},
         one},
        {"loop wraps in the row",
         [](TProStringGrid* g) { g->Navigation()->SetCursorAdvance(caLoop); },
         {5, 3},
         {{Qt::Key_Right}},
         {1, 3},
         one},
        {"snake wraps to the next row",
         [](TProStringGrid* g) { g->Navigation()->SetCursorAdvance(caSnake); },
         {5, 3},
         {{Qt::Key_Right}},
         {1, 4},
         one},
        {"snake stops at the last normal row",
         [](TProStringGrid* g) { g->Navigation()->SetCursorAdvance(caSnake); },
         {5, 19},
         {{Qt::Key_Right}},
         {1, 19},
         one},
        {"Ctrl+A selects the normal cells", {}, {2, 2}, {{Qt::Key_A, Ctrl}}, {5, 19}, {1, 1, 5, 19}},
    });
}

TEST(GridKeys, FixedBodyColumnsAreJumpedInOnePress)
{
    Shown<TProColumnGrid> s;
    s.G->Columns()->Items(2)->SetFixed(true);
    int keyDowns = 0;
    s.G->OnKeyDown = [&](TObject*, int&, TShiftState) { ++keyDowns; };
    s.Press({{Qt::Key_Right}});
    EXPECT_EQ(s.Cell(), (TGridCoord{3, 1}));
    EXPECT_EQ(keyDowns, 1);
    s.Press({{Qt::Key_Left}});
    EXPECT_EQ(s.Cell(), (TGridCoord{1, 1}));

    // only fixed columns beyond: the key is taken, the cell stays
    for (int c = 2; c < 6; ++c) s.G->Columns()->Items(c)->SetFixed(true);
    keyDowns = 0;
    s.Press({{Qt::Key_Right}});
    EXPECT_EQ(s.Cell(), (TGridCoord{1, 1}));
    EXPECT_EQ(keyDowns, 1);
}

TEST(GridKeys, ScrollOnlyMovesTheRowsNotTheCell)
{
    Shown<> s;
    s.G->Navigation()->SetMoveScrollOnly(true);
    s.Press({{Qt::Key_Down}, {Qt::Key_Down}});
    EXPECT_EQ(s.G->TopRow(), 3);
    EXPECT_EQ(s.Cell(), (TGridCoord{1, 1}));
    s.Press({{Qt::Key_End}, {Qt::Key_Down}});  // at the end: nothing more
    EXPECT_EQ(s.G->TopRow() + s.G->VisibleRowCount(), 20);
    s.Press({{Qt::Key_Right}});  // sideways still moves
    EXPECT_EQ(s.Cell(), (TGridCoord{2, 1}));
}

TEST(GridKeys, TabWalksTheCellsOfAGridThatTakesTab)
{
    Shown<> s;
    s.G->SetOptions(s.G->Options() + goTabs);
    s.G->SetRowCount(4);
    s.Press({{Qt::Key_Tab}});
    EXPECT_EQ(s.Cell(), (TGridCoord{2, 1}));
    s.G->SetCol(5);
    s.Press({{Qt::Key_Tab}});
    EXPECT_EQ(s.Cell(), (TGridCoord{1, 2}));
    s.Press({{Qt::Key_Backtab, Shift}});
    EXPECT_EQ(s.Cell(), (TGridCoord{5, 1}));
    s.G->SetCol(1);
    s.Press({{Qt::Key_Backtab, Shift}});  // before the first cell: the last cell
    EXPECT_EQ(s.Cell(), (TGridCoord{5, 3}));
    s.Press({{Qt::Key_Tab}});  // after the last cell: the first row again
    EXPECT_EQ(s.Cell(), (TGridCoord{1, 1}));
    EXPECT_TRUE(s.G->hasFocus());

    // a cell the grid refuses is passed over, down the column as well
    s.G->OnSelectCell = [](TObject*, int c, int, bool& can) { can = c != 2; };
    s.Press({{Qt::Key_Tab}});
    EXPECT_EQ(s.Cell(), (TGridCoord{3, 1}));
    s.G->Navigation()->SetTabAdvanceDirection(adTopBottom);
    s.Press({{Qt::Key_Tab}});
    EXPECT_EQ(s.Cell(), (TGridCoord{3, 2}));
}

TEST(GridKeys, TabPassesReadOnlyCellsOfAnEditingGrid)
{
    Shown<> s;
    s.G->SetOptions(s.G->Options() + goTabs + goEditing);
    s.G->Navigation()->SetAdvanceAutoEdit(false);
    s.G->OnCanEditCell = [](TObject*, int, int c, bool& can) { can = c != 2 && c != 3; };
    s.Press({{Qt::Key_Tab}});
    EXPECT_EQ(s.Cell(), (TGridCoord{4, 1}));
    s.Press({{Qt::Key_Backtab, Shift}});
    EXPECT_EQ(s.Cell(), (TGridCoord{1, 1}));
    // Home goes to the first column that may be edited
    s.G->OnCanEditCell = [](TObject*, int, int c, bool& can) { can = c != 1; };
    s.G->SetCol(4);
    s.Press({{Qt::Key_Home}});
    EXPECT_EQ(s.Cell(), (TGridCoord{2, 1}));
}

TEST(GridKeys, TabLeavesTheGridOfADialog)
{
    // at the end of the grid, with TabToNextAtEnd
    {
        Shown<TProStringGrid, QDialog> s;
        s.G->SetOptions(s.G->Options() + goTabs);
        s.G->Navigation()->SetTabToNextAtEnd(true);
        s.G->SetRowCount(3);
        s.G->SetCol(5);
        s.G->SetRow(2);
        s.Press({{Qt::Key_Tab}});
        EXPECT_TRUE(s.Next->hasFocus());
        EXPECT_EQ(s.Cell(), (TGridCoord{1, 1}));
        EXPECT_TRUE(s.Window.isVisible());
    }
    // a grid with no cell to stop on hands the focus on at once, without going round
    {
        Shown<TProStringGrid, QDialog> s;
        s.G->SetOptions(s.G->Options() + goTabs);
        int asked = 0;
        s.G->OnSelectCell = [&](TObject*, int, int, bool& can) {
            ++asked;
            can = false;
        };
        s.Press({{Qt::Key_Tab}});
        EXPECT_TRUE(s.Next->hasFocus());
        EXPECT_EQ(s.Cell(), (TGridCoord{1, 1}));
        EXPECT_LE(asked, 6 * 20);
    }
    // with AdvanceInsert a row is appended instead
    {
        Shown<TProStringGrid, QDialog> s;
        s.G->SetOptions(s.G->Options() + goTabs);
        s.G->Navigation()->SetAdvanceInsert(true);
        int added = -1;
        s.G->OnAutoAddRow = [&](TObject*, int r) { added = r; };
        s.G->SetRowCount(3);
        s.G->SetCol(5);
        s.G->SetRow(2);
        s.Press({{Qt::Key_Tab}});
        EXPECT_EQ(s.G->RowCount(), 4);
        EXPECT_EQ(added, 3);
        EXPECT_EQ(s.Cell(), (TGridCoord{1, 3}));
        EXPECT_TRUE(s.G->hasFocus());
    }
}

TEST(GridKeys, EnterOnAReadOnlyCellIsSwallowed)
{
    Shown<> s;
    int keyDowns = 0;
    s.G->OnKeyDown = [&](TObject*, int&, TShiftState) { ++keyDowns; };
    int presses = 0;
    s.G->OnKeyPress = [&](TObject*, QChar&) { ++presses; };
    s.Press({{Qt::Key_Return}});
    EXPECT_EQ(keyDowns, 1);
    EXPECT_EQ(presses, 0);
    EXPECT_EQ(s.Cell(), (TGridCoord{1, 1}));
    EXPECT_FALSE(s.G->EditorMode());
}

TEST(GridKeys, TypingOpensTheEditorWithTheCharacter)
{
    Shown<> s;
    s.G->SetOptions(s.G->Options() + goEditing);
    std::vector<QChar> pressed;
    s.G->OnKeyPress = [&](TObject*, QChar& c) { pressed.push_back(c); };
    s.G->SetCol(2);
    s.G->SetRow(3);
    QTest::keyClicks(s.G, QStringLiteral("ab"));
    ASSERT_TRUE(s.G->EditorMode());
    ASSERT_NE(s.G->InplaceEditor(), nullptr);
    QTest::keyClick(s.G->InplaceEditor(), Qt::Key_Return);
    EXPECT_EQ(s.G->Cells(2, 3), QStringLiteral("ab"));
    EXPECT_EQ(pressed.front(), QLatin1Char('a'));
}

TEST(GridKeys, RangeSelectAndEditOpensOnTypingAndScrollsTheCellIntoView)
{
    Shown<> s;
    s.G->MouseActions()->SetRangeSelectAndEdit(true);
    s.G->SetRow(18);
    s.G->SetTopRow(1);  // the current cell is out of view
    QTest::keyClicks(s.G, QStringLiteral("7"));
    ASSERT_TRUE(s.G->EditorMode());
    EXPECT_GE(18, s.G->TopRow());
    EXPECT_LT(18, s.G->TopRow() + s.G->VisibleRowCount());
    QTest::keyClick(s.G->InplaceEditor(), Qt::Key_Return);
    EXPECT_EQ(s.G->Cells(1, 18), QStringLiteral("7"));
}

TEST(GridKeys, KeypadDecimalKeyTypesTheLocaleSeparator)
{
    const QLocale old;
    QLocale::setDefault(QLocale(QLocale::German));
    Shown<> s;
    s.G->SetOptions(s.G->Options() + goEditing);
    s.G->SetExcelStyleDecimalSeparator(true);
    QTest::keyClick(s.G, Qt::Key_Period, Qt::KeypadModifier);
    QTest::keyClick(s.G->InplaceEditor(), Qt::Key_Period);
    QTest::keyClick(s.G->InplaceEditor(), Qt::Key_Return);
    QLocale::setDefault(old);
    EXPECT_EQ(s.G->Cells(1, 1), QStringLiteral(",."));
}

TEST(GridKeys, SpaceTogglesACheckBoxOnlyWhenAllowed)
{
    Shown<> s;
    s.G->AddCheckBox(2, 1, false, true);
    std::vector<std::pair<int, bool>> clicks;
    s.G->OnCheckBoxClick = [&](TObject*, int c, int, bool st) { clicks.push_back({c, st}); };
    s.G->SetCol(2);
    s.Press({{Qt::Key_Space}});
    EXPECT_EQ(s.G->Cells(2, 1), QStringLiteral("N"));
    EXPECT_TRUE(clicks.empty());
    s.G->ControlLook()->SetCheckAlwaysActive(true);
    s.Press({{Qt::Key_Space}});
    EXPECT_EQ(s.G->Cells(2, 1), QStringLiteral("Y"));
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0], std::make_pair(2, true));
}

TEST(GridKeys, DisjunctRowFlagsFollowTheKeys)
{
    Shown<> s;
    s.G->MouseActions()->SetDisjunctRowSelect(true);
    s.Press({{Qt::Key_Down}});
    EXPECT_EQ(s.G->SelectedRowCount(), 1);
    EXPECT_EQ(s.G->GetSelectedRow(0), 2);
    s.Press({{Qt::Key_Down, Shift}, {Qt::Key_Down, Shift}});
    EXPECT_EQ(s.G->SelectedRowCount(), 3);
    s.Press({{Qt::Key_Space}});  // the current row's flag goes
    EXPECT_FALSE(s.G->GetRowSelect(4));
    s.Press({{Qt::Key_Down}});  // a plain move starts again
    EXPECT_EQ(s.G->SelectedRowCount(), 1);
    EXPECT_EQ(s.G->GetSelectedRow(0), 5);
}

TEST(GridKeys, RowKeys)
{
    auto texts = [](TProStringGrid* g) {
        QStringList t;
        for (int r = 1; r < g->RowCount(); ++r) t << g->Cells(1, r);
        return t.join(QLatin1Char(','));
    };
    {
        Shown<> s;
        s.G->SetRowCount(7);
        for (int r = 1; r < 7; ++r) s.G->SetCells(1, r, QString::number(r));
        s.G->Navigation()->SetCursorMoveRows(true);
        s.G->SelectCells(1, 3, 1, 5);
        s.Press({{Qt::Key_Down, Ctrl}});
        EXPECT_EQ(texts(s.G), QStringLiteral("1,2,6,3,4,5"));
        EXPECT_EQ(s.G->Selection().Top, 4);
        EXPECT_EQ(s.G->Selection().Bottom, 6);
        s.Press({{Qt::Key_Down, Ctrl}});  // at the bottom: nothing
        EXPECT_EQ(texts(s.G), QStringLiteral("1,2,6,3,4,5"));

        s.G->Navigation()->SetAllowInsertRow(true);
        s.G->Navigation()->SetAllowDeleteRow(true);
        s.G->SetRow(2);
        s.Press({{Qt::Key_Insert}});
        EXPECT_EQ(texts(s.G), QStringLiteral("1,,2,6,3,4,5"));
        EXPECT_EQ(s.G->Row(), 2);
        s.Press({{Qt::Key_Delete}});
        EXPECT_EQ(texts(s.G), QStringLiteral("1,2,6,3,4,5"));
        s.G->Navigation()->SetInsertPosition(pInsertAfter);
        s.G->SetRow(6);
        s.Press({{Qt::Key_Insert}});
        EXPECT_EQ(texts(s.G), QStringLiteral("1,2,6,3,4,5,"));
        EXPECT_EQ(s.G->Row(), 7);
    }
    {
        Shown<> s;
        s.G->SetRowCount(2);
        s.G->SetCells(1, 1, QStringLiteral("x"));
        s.G->Navigation()->SetAllowDeleteRow(true);
        s.Press({{Qt::Key_Delete}});  // the last normal row is cleared, not removed
        EXPECT_EQ(s.G->RowCount(), 2);
        EXPECT_EQ(s.G->Cells(1, 1), QString());

        s.G->Navigation()->SetAppendOnArrowDown(true);
        s.Press({{Qt::Key_Down}});
        EXPECT_EQ(s.G->RowCount(), 3);
        EXPECT_EQ(s.Cell(), (TGridCoord{1, 2}));
    }
}

TEST(GridKeys, TheLastRowStaysAboveTheSearchFooter)
{
    Shown<> s;
    s.G->SearchFooter()->SetVisible(true);
    QApplication::processEvents();
    ASSERT_NE(s.G->SearchPanel(), nullptr);
    const int panel = s.G->SearchPanel()->height();
    s.Press({{Qt::Key_End, Ctrl}});
    ASSERT_EQ(s.G->Row(), 19);
    EXPECT_LE(s.G->CellRect(s.G->Col(), 19).Bottom, s.G->ClientHeight() - panel + 2);
    const int top = s.G->TopRow();
    s.Press({{Qt::Key_Down}});  // at the end already: the rows stay
    EXPECT_EQ(s.G->TopRow(), top);
    EXPECT_EQ(s.G->Row(), 19);
}
