// Enter in the in-place editor: the value is stored and the grid moves on to the next cell
// as its navigation settings say, with real key events on a shown grid in a dialog.
#include "edit_fixture.h"
#include "grid/control/pro_string_grid.h"

#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

namespace {
// 5 x 5 cells, one fixed row and column, editing on; the dialog has a default OK button.
struct AdvanceFixture : ::testing::Test {
    QDialog Dialog;
    TProStringGrid* Grid = nullptr;

    void SetUp() override
    {
        AddOkButton(Dialog);
        Grid = NewGrid();
        Dialog.resize(400, 300);
        Dialog.show();
        QApplication::setActiveWindow(&Dialog);
        Grid->SetFocus();
    }
    // The grid in the dialog, above the OK button.
    TProStringGrid* NewGrid()
    {
        auto* g = CreateGrid<TProStringGrid>(&Dialog);
        g->SetBounds(0, 0, 400, 250);
        g->SetColCount(5);
        g->SetRowCount(5);
        g->SetOptions(g->Options() + goEditing);
        g->Navigation()->SetAdvanceOnEnter(true);
        return g;
    }
    TProInplaceEdit* Edit() const { return Grid->NormalEdit(); }
    bool EditShown() const { return Edit() && Edit()->isVisible(); }
    void Key(Qt::Key k) { QTest::keyClick(QApplication::focusWidget(), k); }
    void Type(const QString& s) { QTest::keyClicks(QApplication::focusWidget(), s); }
    QPoint Cell() const { return {Grid->Col(), Grid->Row()}; }
    // Types a value into (c, r) and presses Enter.
    void EnterAt(QPoint at, const QString& value)
    {
        Grid->SetCol(at.x());
        Grid->SetRow(at.y());
        Grid->SetFocus();
        Type(value);
        ASSERT_TRUE(EditShown());
        Key(Qt::Key_Return);
    }
};
}  // namespace

TEST_F(AdvanceFixture, EnterStoresTheValueAndMovesAsTheNavigationSays)
{
    struct Case {
        const char* Name;
        std::function<void(TProStringGrid*)> Set;
        QPoint From, To;
        int Rows = 5;   // afterwards
    };
    const std::vector<Case> cases = {
        {"left to right", [](auto*) {}, {1, 1}, {2, 1}},
        {"left to right, end of a row", [](auto*) {}, {4, 1}, {1, 2}},
        {"top to bottom", [](auto* g) { g->Navigation()->SetAdvanceDirection(adTopBottom); }, {2, 1}, {2, 2}},
        {"top to bottom, end of a column", [](auto* g) { g->Navigation()->SetAdvanceDirection(adTopBottom); },
         {2, 4}, {3, 1}},
        {"within the row", [](auto* g) { g->Navigation()->SetAdvanceDirection(adLeftRightInRow); }, {4, 2}, {1, 2}},
        {"within the row, no loop",
         [](auto* g) {
             g->Navigation()->SetAdvanceDirection(adLeftRightInRow);
             g->Navigation()->SetAdvanceOnEnterLoop(false);
         },
         {4, 2}, {4, 2}},
        {"within the column", [](auto* g) { g->Navigation()->SetAdvanceDirection(adTopBottomInCol); }, {3, 4}, {3, 1}},
        {"last cell loops to the first", [](auto*) {}, {4, 4}, {1, 1}},
        {"last cell, no loop", [](auto* g) { g->Navigation()->SetAdvanceOnEnterLoop(false); }, {4, 4}, {4, 4}},
        {"last cell appends a row", [](auto* g) { g->Navigation()->SetAdvanceInsert(true); }, {4, 4}, {1, 5}, 6},
        {"appending refused",
         [](auto* g) {
             g->Navigation()->SetAdvanceInsert(true);
             g->OnCanAddRow = [](TObject*, bool& can) { can = false; };
         },
         {4, 4}, {4, 4}},
        {"read-only cells skipped",
         [](auto* g) { g->OnCanEditCell = [](TObject*, int r, int c, bool& can) { can = !(c == 2 && r == 1); }; },
         {1, 1}, {3, 1}},
        {"read-only cells not skipped",
         [](auto* g) {
             g->Navigation()->SetAdvanceSkipReadOnlyCells(false);
             g->OnCanEditCell = [](TObject*, int r, int c, bool& can) { can = !(c == 2 && r == 1); };
         },
         {1, 1}, {2, 1}},
        {"redirected",
         [](auto* g) { g->OnAutoAdvance = [](TObject*, int, int, int&, int& col, bool&) { col = 4; }; },
         {1, 1}, {4, 1}},
        {"cell change refused",
         [](auto* g) { g->OnCellChanging = [](TObject*, int, int, int, int, bool& allow) { allow = false; }; },
         {1, 1}, {1, 1}},
        {"advancing off", [](auto* g) { g->Navigation()->SetAdvanceOnEnter(false); }, {1, 1}, {1, 1}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.Name);
        Grid->Free();
        Grid = NewGrid();
        Grid->show();
        int added = -1;
        Grid->OnAutoAddRow = [&](TObject*, int r) { added = r; };
        k.Set(Grid);
        EnterAt(k.From, QStringLiteral("v"));
        EXPECT_EQ(Grid->Cells(k.From.x(), k.From.y()), "v");
        EXPECT_EQ(Cell(), k.To);
        EXPECT_EQ(Grid->RowCount(), k.Rows);
        EXPECT_EQ(added, k.Rows == 6 ? 5 : -1);
        EXPECT_TRUE(Dialog.isVisible());
    }
}

TEST_F(AdvanceFixture, TheEditorOpensOnTheNextCellOnlyWithAutoEdit)
{
    Grid->SetCells(2, 1, QStringLiteral("next"));
    EnterAt({1, 1}, QStringLiteral("a"));
    EXPECT_EQ(Cell(), QPoint(2, 1));
    ASSERT_TRUE(EditShown());
    EXPECT_EQ(Edit()->text(), "next");
    // the next cell's text comes selected: typing replaces it
    EXPECT_EQ(Edit()->selectedText(), "next");
    Type(QStringLiteral("b"));
    Key(Qt::Key_Return);
    EXPECT_EQ(Grid->Cells(2, 1), "b");
    EXPECT_EQ(Cell(), QPoint(3, 1));

    Grid->Navigation()->SetAdvanceAutoEdit(false);
    Key(Qt::Key_Escape);
    EnterAt({1, 2}, QStringLiteral("c"));
    EXPECT_EQ(Grid->Cells(1, 2), "c");
    EXPECT_EQ(Cell(), QPoint(2, 2));
    EXPECT_FALSE(EditShown());
    EXPECT_TRUE(Dialog.isVisible());
}

TEST_F(AdvanceFixture, ARefusedValueKeepsTheEditorOnTheCell)
{
    Grid->OnCellValidate = [](TObject*, int, int, QString& v, bool& valid) { valid = v != "bad"; };
    EnterAt({1, 1}, QStringLiteral("bad"));
    EXPECT_EQ(Cell(), QPoint(1, 1));
    ASSERT_TRUE(EditShown());
    EXPECT_EQ(Grid->Cells(1, 1), QString());
    Edit()->selectAll();
    Type(QStringLiteral("good"));
    Key(Qt::Key_Return);
    EXPECT_EQ(Grid->Cells(1, 1), "good");
    EXPECT_EQ(Cell(), QPoint(2, 1));
}

#include "edit_fixture.h"

TEST_F(EditFixture, EnterInTheComboEditorAdvancesPastReadOnlyColumns)
{
    Grid->Navigation()->SetAdvanceOnEnter(true);
    Goto(2, 1);
    Key(Qt::Key_F2);
    ASSERT_TRUE(Grid->Combobox()->isVisible());
    Key(Qt::Key_Down);
    Key(Qt::Key_Return);
    EXPECT_EQ(Grid->Cells(2, 1), "C");
    // column 3 is read-only; column 4 holds a data check box, which opens no editor
    EXPECT_EQ(Grid->Col(), 4);
    EXPECT_EQ(Grid->Row(), 1);
    EXPECT_FALSE(Grid->Combobox()->isVisible());
    EXPECT_EQ(Grid->Cells(4, 1), "N");
    EXPECT_TRUE(Dialog.isVisible());
}
