#include "edit_fixture.h"

#include "platform/core/format_settings.h"

#include <QClipboard>

namespace {
struct FilterCase {
    TEditorType Kind;
    const char* Typed;
    const char* Expected;
};
}

TEST_F(EditFixture, EachEditorKindFiltersTypedCharacters)
{
    Grid->SetValidChars(QStringLiteral("ABC"));
    const FilterCase cases[] = {
        {edNormal, "a-1.,X", "a-1.,X"},
        {edPassword, "pw", "pw"},
        {edNumeric, "1-2a3", "123"},
        {edNumeric, "-12", "-12"},
        {edPositiveNumeric, "-1x2", "12"},
        {edFloat, "-1.2.3,4", "-1.234"},
        {edFloat, "1-", "1"},
        {edPositiveFloat, "-1.5", "1.5"},
        {edUpperCase, "abC", "ABC"},
        {edCapital, "xy", "XY"},
        {edLowerCase, "AbC", "abc"},
        {edMixedCase, "hello world", "Hello World"},
        {edValidChars, "AbCD", "AC"},
    };
    for (const FilterCase& c : cases) {
        Grid->Columns()->Items(1)->SetEditor(c.Kind);
        Grid->SetCells(1, 2, QString());
        Goto(1, 2);
        Key(Qt::Key_F2);
        ASSERT_TRUE(EditShown()) << c.Typed;
        Type(QString::fromLatin1(c.Typed));
        EXPECT_EQ(Edit()->text(), QString::fromLatin1(c.Expected)) << int(c.Kind) << " " << c.Typed;
        Key(Qt::Key_Return);
        EXPECT_EQ(Grid->Cells(1, 2), QString::fromLatin1(c.Expected)) << int(c.Kind);
    }
}

TEST_F(EditFixture, MixedCaseKeepsTheCaretRightAfterTheTypedCharacter)
{
    Grid->Columns()->Items(1)->SetEditor(edMixedCase);
    Grid->SetCells(1, 2, QStringLiteral("ab cd"));
    Goto(1, 2);
    Key(Qt::Key_F2);
    Edit()->setCursorPosition(2);
    Type(QStringLiteral("x"));
    EXPECT_EQ(Edit()->text(), "Abx Cd");
    EXPECT_EQ(Edit()->cursorPosition(), 3);
}

TEST_F(EditFixture, TheColumnEditLengthLimitsTyping)
{
    Grid->Columns()->Items(1)->SetEditLength(3);
    Grid->SetCells(1, 2, QString());
    Goto(1, 2);
    Key(Qt::Key_F2);
    Type(QStringLiteral("abcd"));
    EXPECT_EQ(Edit()->text(), "abc");
    Key(Qt::Key_Backspace);
    EXPECT_EQ(Edit()->text(), "ab");
}

namespace {
struct PasteCase {
    TEditorType Kind;
    const char* Before;
    const char* Clip;
    const char* Expected;
};
}

TEST_F(EditFixture, PasteTakesTheFirstLineAndPassesTheKindsRules)
{
    const PasteCase cases[] = {
        {edNormal, "", "first\nsecond", "first"},
        {edNormal, "", "first\r\nsecond\r\n", "first"},
        {edNormal, "x", "one\r\n", "xone"},
        {edNumeric, "", "-5", "-5"},
        {edNumeric, "1", "5.5", "1"},
        {edPositiveNumeric, "", "-5", ""},
        {edFloat, "", "1.5", "1.5"},
        {edFloat, "", "1.5.5", ""},
        {edUpperCase, "", "abc", "ABC"},
    };
    for (const PasteCase& c : cases) {
        Grid->Columns()->Items(1)->SetEditor(c.Kind);
        Grid->SetCells(1, 2, QString::fromLatin1(c.Before));
        Goto(1, 2);
        Key(Qt::Key_F2);
        ASSERT_TRUE(EditShown());
        QApplication::clipboard()->setText(QString::fromLatin1(c.Clip));
        Key(Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(Edit()->text(), QString::fromLatin1(c.Expected)) << c.Clip;
        Key(Qt::Key_Escape);
    }
    // cells of several lines take all the lines, with the line break the cells store
    Grid->Columns()->Items(1)->SetEditor(edNormal);
    Grid->SetMultilinecells(true);
    Grid->SetCells(1, 2, QString());
    Goto(1, 2);
    Key(Qt::Key_F2);
    QApplication::clipboard()->setText(QStringLiteral("a\nb"));
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Edit()->text(), "a\r\nb");
}

TEST_F(EditFixture, ARefusedPasteIsReportedToTheHandlersAndLeavesTheText)
{
    int asked = 0;
    Grid->OnClipboardPaste = [&](TObject*, bool& allow) {
        ++asked;
        allow = false;
    };
    Goto(1, 1);
    Key(Qt::Key_F2);
    QApplication::clipboard()->setText(QStringLiteral("zzz"));
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(Edit()->text(), "abc");
}

TEST_F(EditFixture, EditChangesAreReportedWithTheCell)
{
    std::vector<QString> seen;
    Grid->OnEditChange = [&](TObject*, int c, int r, const QString& v) {
        EXPECT_EQ(c, 1);
        EXPECT_EQ(r, 1);
        seen.push_back(v);
    };
    int done = 0;
    Grid->OnEditingDone = [&](TObject*) { ++done; };
    Goto(1, 1);
    Key(Qt::Key_F2);
    EXPECT_TRUE(seen.empty());   // loading the editor is no change
    Type(QStringLiteral("xy"));
    EXPECT_EQ(seen, (std::vector<QString>{"abcx", "abcxy"}));
    Key(Qt::Key_Return);
    EXPECT_EQ(done, 1);
}
