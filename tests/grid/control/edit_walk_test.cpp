// The default edit and the combo editor as the user types: look-up completion, walking out of
// the text into the neighbour cell, Shift+Left/Right, Alt+Backspace, edit masks, and the hooks
// the editors call; with the members that serve them.
#include "edit_fixture.h"

#include "grid/input/shown_grid_other.h"

#include <QComboBox>

namespace {

// A shown 5 x 6 string grid that edits, its current cell (1, 1) holding "abc".
struct WalkFixture : ShownGridOtherFixture {
    void SetUp() override
    {
        ShownGridOtherFixture::SetUp();
        G->SetOptions(G->Options() + goEditing);
        for (int c = 1; c < 5; ++c) G->SetCells(c, 1, QStringLiteral("c%1").arg(c));
        G->SetCells(1, 1, QStringLiteral("abc"));
        G->SetCol(1);
        G->SetRow(1);
    }
    TProInplaceEdit* Edit() const { return G->NormalEdit(); }
    bool Editing() const { return Edit() && Edit()->isVisible(); }
    void Key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier)
    {
        QTest::keyClick(QApplication::focusWidget(), k, m);
    }
    void Type(const QString& s) { QTest::keyClicks(QApplication::focusWidget(), s); }
    // F2 with the caret at Pos (-1: the end).
    void Open(int Pos = -1)
    {
        Key(Qt::Key_F2);
        ASSERT_TRUE(Editing());
        Edit()->setCursorPosition(Pos < 0 ? int(Edit()->text().size()) : Pos);
    }
};

}  // namespace

TEST_F(WalkFixture, LookupCompletesTheTypedTextFromTheLookupItems)
{
    struct Case {
        bool caseSensitive;
        const char* typed;
        const char* text;
        const char* selected;
    };
    const Case cases[] = {
        {false, "al", "alpha", "pha"},     // the typed part keeps its case
        {false, "AL", "ALpha", "pha"},
        {true, "al", "alfalfa", "falfa"},  // "Alpha" does not begin with "al" then
        {false, "be", "beta", "ta"},
        {false, "x", "x", ""},             // no item: the text stays as typed
    };
    G->SetLookup(true);
    G->LookupItems()->SetStrings({QStringLiteral("Alpha"), QStringLiteral("Beta"), QStringLiteral("alfalfa")});
    for (const Case& c : cases) {
        G->SetLookupCaseSensitive(c.caseSensitive);
        G->SetCells(1, 2, QString());
        G->SetCol(1);
        G->SetRow(2);
        Open();
        Type(QString::fromLatin1(c.typed));
        EXPECT_EQ(Edit()->text(), QString::fromLatin1(c.text)) << c.typed;
        EXPECT_EQ(Edit()->selectedText(), QString::fromLatin1(c.selected)) << c.typed;
        Key(Qt::Key_Return);
        EXPECT_EQ(G->Cells(1, 2), QString::fromLatin1(c.text)) << c.typed;
    }
}

TEST_F(WalkFixture, LookupLeavesADeletionAloneAndNeedsTheLookupSwitch)
{
    G->LookupItems()->SetStrings({QStringLiteral("Alpha")});
    G->SetCells(1, 2, QString());
    G->SetRow(2);
    Open();
    Type(QStringLiteral("al"));
    EXPECT_EQ(Edit()->text(), "al");   // Lookup is off
    Key(Qt::Key_Escape);
    G->SetLookup(true);
    Open();
    Type(QStringLiteral("al"));
    ASSERT_EQ(Edit()->text(), "alpha");
    Key(Qt::Key_Backspace);   // takes the completed tail; nothing is completed again
    EXPECT_EQ(Edit()->text(), "al");
    Key(Qt::Key_Home);        // nothing before the caret: no completion either
    EXPECT_EQ(Edit()->text(), "al");
}

TEST_F(WalkFixture, LookupHistoryRemembersTheTextsAnEditLeftWith)
{
    G->SetLookup(true);
    G->SetLookupHistory(true);
    Open();
    Edit()->selectAll();
    Type(QStringLiteral("Gamma"));
    Other->setFocus();   // leaving the grid ends the edit
    QApplication::processEvents();
    EXPECT_EQ(G->Cells(1, 1), "Gamma");
    EXPECT_EQ(G->LookupItems()->Strings(), QStringList{QStringLiteral("Gamma")});
    G->SetFocus();
    G->SetRow(2);
    Open();
    Type(QStringLiteral("g"));
    EXPECT_EQ(Edit()->text(), "gamma");
}

TEST_F(WalkFixture, LeftAndRightWalkOutOfTheTextIntoTheNeighbourCells)
{
    G->Navigation()->SetCursorWalkEditor(true);
    Open();
    Type(QStringLiteral("x"));
    Key(Qt::Key_Right);   // at the end of the text: on to the next cell, which edits too
    EXPECT_EQ(G->Cells(1, 1), "abcx");
    EXPECT_EQ(G->Col(), 2);
    ASSERT_TRUE(Editing());
    EXPECT_EQ(Edit()->text(), "c2");
    Edit()->setCursorPosition(1);
    Key(Qt::Key_Left);    // the caret goes to the start first
    EXPECT_EQ(G->Col(), 2);
    Key(Qt::Key_Left);    // and then out, back to the first cell
    EXPECT_EQ(G->Col(), 1);
    EXPECT_TRUE(Editing());

    G->Navigation()->SetCursorWalkAlwaysEdit(false);
    Edit()->setCursorPosition(int(Edit()->text().size()));
    Key(Qt::Key_Right);
    EXPECT_EQ(G->Col(), 2);
    EXPECT_FALSE(Editing());
    EXPECT_TRUE(G->hasFocus());
}

TEST_F(WalkFixture, WalkingNeedsTheSettingAndStopsAtARefusedValue)
{
    Open();
    Key(Qt::Key_Right);
    EXPECT_EQ(G->Col(), 1);   // CursorWalkEditor is off
    EXPECT_TRUE(Editing());
    Key(Qt::Key_Escape);

    G->Navigation()->SetCursorWalkEditor(true);
    G->OnCellValidate = [](TObject*, int, int, QString& v, bool& valid) { valid = !v.contains(QLatin1Char('!')); };
    Open(0);
    Type(QStringLiteral("!"));
    Edit()->setCursorPosition(0);
    Key(Qt::Key_Left);
    EXPECT_EQ(G->Col(), 1);
    EXPECT_TRUE(Editing());
    EXPECT_EQ(G->Cells(1, 1), "abc");
}

TEST_F(WalkFixture, WalkingRightOntoACheckBoxMakesItCurrentWithoutAnEditor)
{
    G->Navigation()->SetCursorWalkEditor(true);
    G->AddCheckBox(2, 1, false, false);
    Open();
    Key(Qt::Key_Right);
    EXPECT_EQ(G->Col(), 2);
    EXPECT_FALSE(Editing());
}

TEST_F(WalkFixture, ShiftLeftAndRightAtTheTextsEdgesCommitAndGiveTheGridTheFocus)
{
    G->Navigation()->SetCursorWalkEditor(true);
    Open();
    Type(QStringLiteral("d"));
    Key(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_FALSE(Editing());
    EXPECT_TRUE(G->hasFocus());
    EXPECT_EQ(G->Cells(1, 1), "abcd");
    EXPECT_EQ(G->Col(), 1);

    Open(2);
    Key(Qt::Key_Left, Qt::ShiftModifier);   // selects, the caret is not at the start yet
    EXPECT_TRUE(Editing());
    Key(Qt::Key_Left, Qt::ShiftModifier);
    Key(Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_FALSE(Editing());

    G->OnCellValidate = [](TObject*, int, int, QString&, bool& valid) { valid = false; };
    Open();
    Type(QStringLiteral("e"));
    Key(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_TRUE(Editing());
    EXPECT_EQ(G->Cells(1, 1), "abcd");
}

TEST_F(WalkFixture, TheEditMaskRulesTypingAndImproveMaskSelSelectsItsFirstPlace)
{
    G->OnGetEditMask = [](TObject*, int, int, QString& mask) { mask = QStringLiteral("000;1;_"); };
    G->SetCells(1, 2, QString());
    G->SetRow(2);
    Key(Qt::Key_F2);
    ASSERT_TRUE(Editing());
    Edit()->setCursorPosition(0);
    Type(QStringLiteral("1a2"));
    EXPECT_EQ(Edit()->text(), "12");
    Key(Qt::Key_Escape);
    G->Navigation()->SetImproveMaskSel(true);
    G->SetFocus();
    Key(Qt::Key_Return);   // (F2 puts the caret at the end whatever the mask)
    ASSERT_TRUE(Editing());
    EXPECT_EQ(Edit()->selectionStart(), 0);
    EXPECT_EQ(Edit()->selectedText().size(), 1);
}

TEST_F(WalkFixture, TheCellGrowsWithTheTextWithSizeWhileTyping)
{
    G->SizeWhileTyping()->SetWidth(true);
    const int before = G->ColWidths(1);
    Open();
    Type(QStringLiteral(" and a much longer text than the column shows"));
    EXPECT_GT(G->ColWidths(1), before + 100);
    EXPECT_GE(Edit()->width(), G->ColWidths(1) - 2);
    Key(Qt::Key_Escape);

    G->SizeWhileTyping()->SetWidth(false);
    G->SizeWhileTyping()->SetHeight(true);
    G->SetWordWrap(true);
    G->SetCol(2);
    const int height = G->RowHeights(1);
    int sized = 0;
    G->OnEndRowSize = [&](TObject*, int row) { sized += row == 1; };
    Open();
    Type(QStringLiteral(" words that wrap over several lines"));
    EXPECT_GT(G->RowHeights(1), height * 2);
    EXPECT_GT(sized, 0);
}

namespace {

// A grid that records what its editors tell it.
class THookGrid : public TProStringGrid {
public:
    using TProStringGrid::TProStringGrid;
    QStringList Calls;
    TGridRect SelectAll{-1, -1, -1, -1};
    void EditorKeyDown(int& Key, TShiftState) override { Calls << QStringLiteral("down %1").arg(Key); }
    void EditorKeyMessage(TMessage& Message) override { Calls << QStringLiteral("msg %1").arg(Message.WParam); }
    void EditorCaretMoved(const QString& Text, TPoint Caret, int Index) override
    {
        Calls << QStringLiteral("caret %1 %2 %3").arg(Text).arg(Index).arg(Caret.X >= 0 ? "at" : "none");
    }
    void EditorFormulaMode(bool Active) override { Calls << QStringLiteral("formula %1").arg(Active); }
    void SelectAllHook(const TGridRect& R) override { SelectAll = R; }
};

}  // namespace

TEST(EditorHooks, TheEditorReportsKeysCaretAndFormulaModeToTheGrid)
{
    GridWindow<THookGrid> w({.Cols = 5, .Rows = 6, .ScrollBars = ssNone});
    w.G->SetOptions(w.G->Options() + goEditing + goRangeSelect);
    w.ShowFocused();
    w.G->SetCol(1);
    w.G->SetRow(1);
    QTest::keyClick(w.G, Qt::Key_F2);
    TProInplaceEdit* e = w.G->NormalEdit();
    ASSERT_TRUE(e && e->isVisible());
    w.G->Calls.clear();
    QTest::keyClick(e, Qt::Key_Equal);   // (a character without a key of its own: no key-down)
    QTest::keyClick(e, Qt::Key_A);
    const QStringList want{QStringLiteral("caret = 1 at"), QStringLiteral("formula 1"), QStringLiteral("msg 65"),
                           QStringLiteral("down 65"), QStringLiteral("caret =a 2 at"), QStringLiteral("formula 1")};
    EXPECT_EQ(w.G->Calls, want);
    w.G->Calls.clear();
    QTest::keyClick(e, Qt::Key_Return);
    EXPECT_TRUE(w.G->Calls.contains(QStringLiteral("formula 0")));
    EXPECT_TRUE(w.G->Calls.contains(QStringLiteral("caret =a -1 none")));
    QTest::keyClick(w.G, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(w.G->SelectAll, (TGridRect{1, 1, 4, 5}));
}

// ---- the combo editor ------------------------------------------------------------------------

namespace {

struct ComboLookupFixture : EditFixture {
    void SetUp() override
    {
        EditFixture::SetUp();
        TGridColumnItem* c = Grid->Columns()->Items(2);
        c->SetEditor(edComboEdit);
        c->ComboItems()->SetStrings({QStringLiteral("ABC"), QStringLiteral("Abd"), QStringLiteral("XYZ")});
        Grid->SetCells(2, 2, QString());
        Goto(2, 2);
    }
    QComboBox* Combo() const { return Grid->EditComboControl(); }
    QLineEdit* Line() const { return Combo()->lineEdit(); }
};

}  // namespace

TEST_F(ComboLookupFixture, TypingCompletesFromTheItemsThenFromTheLookupItems)
{
    Grid->SetLookup(true);
    Grid->LookupItems()->SetStrings({QStringLiteral("Quux")});
    Key(Qt::Key_F2);
    ASSERT_TRUE(Combo()->isVisible());
    Type(QStringLiteral("ab"));
    EXPECT_EQ(Line()->text(), "abC");
    EXPECT_EQ(Line()->selectedText(), "C");
    EXPECT_EQ(Combo()->currentIndex(), 0);
    Type(QStringLiteral("d"));
    EXPECT_EQ(Line()->text(), "abd");
    EXPECT_EQ(Combo()->currentIndex(), 1);
    Key(Qt::Key_Backspace);
    Key(Qt::Key_Backspace);
    EXPECT_EQ(Line()->text(), "a");
    Key(Qt::Key_Return);
    EXPECT_EQ(Grid->Cells(2, 2), "a");

    Goto(2, 3);
    Key(Qt::Key_F2);
    Type(QStringLiteral("q"));
    EXPECT_EQ(Line()->text(), "quux");
    Key(Qt::Key_Return);
    EXPECT_EQ(Grid->Cells(2, 3), "quux");
}

TEST_F(ComboLookupFixture, WithoutLookupTypingCompletesNothing)
{
    Key(Qt::Key_F2);
    ASSERT_TRUE(Combo()->isVisible());
    Type(QStringLiteral("ab"));
    EXPECT_EQ(Line()->text(), "ab");
    Key(Qt::Key_Return);
    EXPECT_EQ(Grid->Cells(2, 2), "ab");
}

TEST_F(ComboLookupFixture, EveryChangeOfTheComboReachesOnEditChange)
{
    QStringList changes;
    Grid->OnEditChange = [&](TObject*, int c, int r, const QString& v) {
        changes << QStringLiteral("%1,%2 %3").arg(c).arg(r).arg(v);
    };
    Key(Qt::Key_F2);
    Type(QStringLiteral("x"));
    Key(Qt::Key_Return);
    EXPECT_EQ(changes, QStringList{QStringLiteral("2,2 x")});
    changes.clear();
    Grid->Columns()->Items(2)->SetEditor(edComboList);
    Goto(2, 3);
    Key(Qt::Key_F2);
    Type(QStringLiteral("x"));   // typing into the list picks XYZ
    EXPECT_EQ(changes, QStringList{QStringLiteral("2,3 XYZ")});
    Key(Qt::Key_Return);
    EXPECT_EQ(Grid->Cells(2, 3), "XYZ");
}

TEST_F(ComboLookupFixture, TabStaysWithTheComboOnlyWhereTheGridsEditorsWantIt)
{
    Key(Qt::Key_F2);
    Type(QStringLiteral("t1"));
    Key(Qt::Key_Tab);   // no goTabs, no validation event: the window's focus order takes it
    EXPECT_FALSE(Combo()->isVisible());
    EXPECT_EQ(Grid->Cells(2, 2), "t1");
    EXPECT_NE(Focused(), Grid);

    Grid->SetOptions(Grid->Options() + goTabs);
    Grid->SetFocus();
    Goto(2, 2);
    Key(Qt::Key_F2);
    Line()->selectAll();
    Type(QStringLiteral("t2"));
    Key(Qt::Key_Tab);   // the grid's Tab step, past the read-only column
    EXPECT_EQ(Grid->Cells(2, 2), "t2");
    EXPECT_EQ(Grid->Col(), 4);
}

// ---- members around editing --------------------------------------------------------------------

TEST_F(EditFixture, OnGetEditorPropIntFollowsOnGetEditorPropWithTheColumnFirst)
{
    QStringList calls;
    Grid->OnGetEditorProp = [&](TObject*, int c, int r, TEditLink*) { calls << QStringLiteral("prop %1,%2").arg(c).arg(r); };
    Grid->OnGetEditorPropInt = [&](TObject*, int c, int r, TEditLink*) { calls << QStringLiteral("int %1,%2").arg(c).arg(r); };
    Goto(2, 3);
    Key(Qt::Key_F2);
    ASSERT_GE(calls.size(), 2);
    EXPECT_EQ(calls.mid(0, 2), (QStringList{QStringLiteral("prop 2,3"), QStringLiteral("int 2,3")}));
}

TEST(EditMembers, CurrentBaseCellFormControlValuesRangeEditAndMergedColumns)
{
    GridWindow<TProStringGrid> w({.Cols = 4, .Rows = 7});
    TProStringGrid* g = w.G;
    g->MergeCells(1, 1, 2, 1);
    g->SetCol(2);
    g->SetRow(1);
    g->SetCurrentBaseCell(QStringLiteral("base"));
    EXPECT_EQ(g->GetGridCell(1, 1), "base");
    EXPECT_EQ(g->GetGridCell(2, 1), "");

    g->SetCells(3, 2, QStringLiteral("<CONTROL TYPE=\"EDIT\" ID=\"e1\" VALUE=\"a\" WIDTH=\"40\">"));
    EXPECT_EQ(g->GetCtrlVal(3, 2, QStringLiteral("e1")), "a");
    g->SetCtrlVal(3, 2, QStringLiteral("e1"), QStringLiteral("b&c"));
    EXPECT_EQ(g->GetCtrlVal(3, 2, QStringLiteral("e1")), "b&c");
    const QString before = g->Cells(3, 2);
    g->SetCtrlVal(3, 2, QStringLiteral("e2"), QStringLiteral("z"));
    EXPECT_EQ(g->Cells(3, 2), before);
    EXPECT_EQ(g->GetCtrlVal(3, 2, QStringLiteral("e2")), "");

    g->SetOptions(g->Options() + goEditing);
    g->EndRangeEdit();
    EXPECT_FALSE(g->Options().Contains(goEditing));

    const char* texts[] = {"A", "A", "B", "B", "B", "C"};
    for (int r = 1; r < 7; ++r) g->SetCells(3, r, QString::fromLatin1(texts[r - 1]));
    g->MergedColumns()->Add(3);
    EXPECT_EQ(g->CellSpan(3, 1).Y, 1);
    EXPECT_EQ(g->CellSpan(3, 3).Y, 2);
    EXPECT_FALSE(g->IsMergedCell(3, 6));
    EXPECT_EQ(g->CellSpan(1, 1).X, 1);   // the merge across the columns stays
    g->SetCells(3, 6, QStringLiteral("B"));
    g->MergedColumns()->Add(3);          // merged anew from the texts as they are now
    EXPECT_EQ(g->CellSpan(3, 3).Y, 3);
}

TEST(EditMembers, TheCursorOverTheGridComesFromTheSelectModeOrTheCellHook)
{
    GridWindow<TProStringGrid> w({.Cols = 5, .Rows = 6, .ScrollBars = ssNone});
    TProStringGrid* g = w.G;
    g->OnGetCellCursor = [](TObject*, int c, int, int, int, TCursor& cursor) {
        if (c == 2) cursor = crHandPoint;
    };
    w.ShowFocused();
    auto hover = [&](int c, int r) {
        const TRect k = g->CellRect(c, r);
        // (the cursor is asked for before each move: the mode of a cell shows from the next one)
        for (int dx : {0, 1}) {
            const QPoint p((k.Left + k.Right) / 2 + dx, (k.Top + k.Bottom) / 2);
            QCursor::setPos(g->viewport()->mapToGlobal(p));
            QTest::mouseMove(g->viewport(), p);
            QApplication::processEvents();
        }
        return g->viewport()->cursor().shape();
    };
    EXPECT_EQ(hover(2, 2), Qt::PointingHandCursor);
    EXPECT_EQ(hover(1, 2), Qt::ArrowCursor);
    // over the fixed column of a grid that selects rows there: the grid's row arrow
    g->MouseActions()->SetRowSelect(true);
    EXPECT_EQ(hover(0, 2), Qt::BitmapCursor);
    EXPECT_EQ(hover(1, 2), Qt::ArrowCursor);
}

TEST_F(ComboLookupFixture, LeftAndRightWalkOutOfTheComboTextIntoTheNeighbourCells)
{
    Grid->Navigation()->SetCursorWalkEditor(true);
    Grid->SetCells(2, 2, QStringLiteral("xy"));
    Key(Qt::Key_F2);
    ASSERT_TRUE(Combo()->isVisible());
    Line()->setCursorPosition(1);
    Key(Qt::Key_Left);   // the caret goes to the start first
    EXPECT_EQ(Grid->Col(), 2);
    ASSERT_TRUE(Combo()->isVisible());
    Type(QStringLiteral("w"));
    Line()->setCursorPosition(0);
    Key(Qt::Key_Left);   // and then out, into the first column, which edits too
    EXPECT_EQ(Grid->Cells(2, 2), "wxy");
    EXPECT_EQ(Grid->Col(), 1);
    EXPECT_FALSE(Combo()->isVisible());
    ASSERT_TRUE(EditShown());
    Edit()->setCursorPosition(int(Edit()->text().size()));
    Key(Qt::Key_Right);   // from the default edit into the combo again
    EXPECT_EQ(Grid->Col(), 2);
    ASSERT_TRUE(Combo()->isVisible());
    Line()->setCursorPosition(2);
    Key(Qt::Key_Right);   // onto the end of "wxy": the caret stops there
    EXPECT_EQ(Grid->Col(), 2);
    EXPECT_TRUE(Combo()->isVisible());
    Key(Qt::Key_Right);   // from the end: past the read-only column to the check box
    EXPECT_EQ(Grid->Col(), 4);
    EXPECT_FALSE(Combo()->isVisible());
}

TEST_F(ComboLookupFixture, ComboWalkingNeedsTheSettingAndStopsAtARefusedValue)
{
    Grid->SetCells(2, 2, QStringLiteral("xy"));
    Key(Qt::Key_F2);
    Line()->setCursorPosition(0);
    Key(Qt::Key_Left);
    EXPECT_EQ(Grid->Col(), 2);   // CursorWalkEditor is off
    EXPECT_TRUE(Combo()->isVisible());

    Grid->Navigation()->SetCursorWalkEditor(true);
    Grid->OnCellValidate = [](TObject*, int, int, QString& v, bool& valid) { valid = !v.contains(QLatin1Char('!')); };
    Type(QStringLiteral("!"));
    Line()->setCursorPosition(0);
    Key(Qt::Key_Left);
    EXPECT_EQ(Grid->Col(), 2);
    EXPECT_TRUE(Combo()->isVisible());
    EXPECT_EQ(Grid->Cells(2, 2), "xy");
    Line()->selectAll();
    Key(Qt::Key_Left, Qt::ShiftModifier);   // Shift held, or a selection: no walking either
    EXPECT_EQ(Grid->Col(), 2);
}
