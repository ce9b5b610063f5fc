// The in-place editor of grids whose cells wrap or hold line breaks: several lines, line
// breaks typed with Ctrl+Enter, rows that grow while typing, Up and Down between lines.
#include "edit_fixture.h"

#include <QFontMetrics>

namespace {

struct MultiLineEdit : EditFixture {
    void OpenOn(int col, int row, const QString& text)
    {
        Grid->SetCells(col, row, text);
        Goto(col, row);
        Key(Qt::Key_F2);
        ASSERT_TRUE(EditShown());
    }
};

}  // namespace

TEST_F(MultiLineEdit, CtrlEnterBreaksTheLineWhereTheGridShowsSeveralLines)
{
    struct Case {
        bool WordWrap, Multilinecells, AllowCtrlEnter;
        const char* Stored;
    } cases[] = {
        {false, true, true, "ab\r\ncd"},
        {true, true, true, "ab\r\ncd"},
        {true, false, true, "ab\r\ncd"},   // a grid that wraps its cells edits in lines too
        {false, false, true, "abcd"},   // a single-line grid
        {true, true, false, "abcd"},    // Ctrl+Enter not allowed
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.WordWrap << c.Multilinecells << c.AllowCtrlEnter);
        Grid->SetWordWrap(c.WordWrap);
        Grid->SetMultilinecells(c.Multilinecells);
        Grid->Navigation()->SetAllowCtrlEnter(c.AllowCtrlEnter);
        OpenOn(1, 2, QStringLiteral("abcd"));
        EXPECT_EQ(Edit()->MultiLine(), c.WordWrap || c.Multilinecells);
        Edit()->setCursorPosition(2);
        Key(Qt::Key_Return, Qt::ControlModifier);
        EXPECT_TRUE(EditShown());
        Key(Qt::Key_Return);
        EXPECT_FALSE(EditShown());
        EXPECT_EQ(Grid->Cells(1, 2), QString::fromLatin1(c.Stored));
        EXPECT_TRUE(Dialog.isVisible());   // the Enter that commits stays in the grid
    }
}

TEST_F(MultiLineEdit, ACellWithLineBreaksOpensOnAllItsLines)
{
    Grid->SetMultilinecells(true);
    OpenOn(1, 2, QStringLiteral("one\r\ntwo"));
    EXPECT_EQ(Edit()->text(), "one\r\ntwo");
    EXPECT_EQ(Edit()->LastLine(), 1);
    // the caret at the end, counting the line break as two characters
    EXPECT_EQ(Edit()->cursorPosition(), 8);
    Type(QStringLiteral("s"));
    Key(Qt::Key_Escape);
    EXPECT_EQ(Grid->Cells(1, 2), "one\r\ntwo");
    EXPECT_TRUE(Dialog.isVisible());
}

TEST_F(MultiLineEdit, PasswordsAndMasksStayOnOneLine)
{
    Grid->SetMultilinecells(true);
    Grid->Columns()->Items(1)->SetEditor(edPassword);
    OpenOn(1, 2, QStringLiteral("pw"));
    EXPECT_FALSE(Edit()->MultiLine());
    EXPECT_EQ(Edit()->echoMode(), QLineEdit::Password);
    Key(Qt::Key_Escape);
    Grid->Columns()->Items(1)->SetEditor(edNormal);
    Grid->Columns()->Items(1)->SetEditMask(QStringLiteral("00;1;_"));
    OpenOn(1, 2, QStringLiteral("12"));
    EXPECT_FALSE(Edit()->MultiLine());
    Key(Qt::Key_Escape);
    Grid->Columns()->Items(1)->SetEditMask(QString());
    OpenOn(1, 3, QStringLiteral("x"));
    EXPECT_TRUE(Edit()->MultiLine());
}

TEST_F(MultiLineEdit, ShiftEnterGrowsTheRowByOneLine)
{
    Grid->SetMultilinecells(true);
    Grid->SizeWhileTyping()->SetHeight(true);
    Grid->Navigation()->SetLineFeedOnEnter(true);
    int sized = -1;
    Grid->OnEndRowSize = [&](TObject*, int row) { sized = row; };
    OpenOn(1, 2, QStringLiteral("ab"));
    const int h = QFontMetrics(Edit()->font()).height();
    Key(Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(sized, 2);
    EXPECT_EQ(Grid->RowHeights(2), Grid->LimitRowHeight(2 * (h + h / 8) + Grid->CellOffsetY()));
    // with line feeds on Enter the key also broke the line
    EXPECT_TRUE(EditShown());
    EXPECT_EQ(Edit()->text(), "ab\r\n");
    Type(QStringLiteral("c"));
    Key(Qt::Key_Tab);
    EXPECT_EQ(Grid->Cells(1, 2), "ab\r\nc");
}

TEST_F(MultiLineEdit, UpAndDownWalkTheLinesInsideTheEditor)
{
    struct Case {
        bool WordWrap;
        const char* Text;
    } cases[] = {
        {false, "one\r\ntwo\r\nsix"},
        {true, "alpha beta\r\ngamma delta epsilon zeta eta theta"},   // and lines the wrap makes
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Text);
        Grid->SetWordWrap(c.WordWrap);
        Grid->SetMultilinecells(true);
        Grid->SetColWidths(1, 60);
        Grid->SetRowHeights(2, 60);
        OpenOn(1, 2, QString::fromLatin1(c.Text));
        const int last = Edit()->LastLine();
        ASSERT_GE(last, 2);
        ASSERT_EQ(Edit()->CaretLine(), last);
        Key(Qt::Key_Up);
        EXPECT_TRUE(EditShown());
        EXPECT_EQ(Grid->Row(), 2);
        EXPECT_EQ(Edit()->CaretLine(), last - 1);
        Key(Qt::Key_Down);
        EXPECT_EQ(Edit()->CaretLine(), last);
        Grid->SetRowHeights(2, Grid->DefaultRowHeight());
    }
}
TEST_F(MultiLineEdit, DownOnTheLastLineAndUpOnTheFirstLeaveTheEditor)
{
    Grid->SetMultilinecells(true);
    OpenOn(1, 2, QStringLiteral("one\r\ntwo"));
    Key(Qt::Key_Down);
    EXPECT_EQ(Grid->Row(), 3);
    EXPECT_FALSE(EditShown());
    EXPECT_EQ(Grid->Cells(1, 2), "one\r\ntwo");
    OpenOn(1, 2, QStringLiteral("one\r\ntwo"));
    Edit()->setCursorPosition(0);
    Key(Qt::Key_Up);
    EXPECT_EQ(Grid->Row(), 1);
    EXPECT_FALSE(EditShown());
}

TEST_F(MultiLineEdit, CaretAndSelectionCountTheLineBreakAsTwoCharactersFromTheStart)
{
    Grid->SetMultilinecells(true);
    OpenOn(1, 2, QStringLiteral("a\r\nbc"));
    for (int p : {0, 1, 3, 4, 5}) {
        Edit()->setCursorPosition(p);
        EXPECT_EQ(Edit()->cursorPosition(), p);
    }
    Edit()->setCursorPosition(2);   // inside the pair: before it
    EXPECT_EQ(Edit()->cursorPosition(), 1);
    Edit()->setSelection(0, 1);
    EXPECT_EQ(Edit()->selectedText(), "a");
    Edit()->setSelection(1, 4);
    EXPECT_EQ(Edit()->selectedText(), "\r\nbc");
    Edit()->setCursorPosition(0);
    Type(QStringLiteral("x"));
    Key(Qt::Key_Return);
    EXPECT_EQ(Grid->Cells(1, 2), "xa\r\nbc");
}
