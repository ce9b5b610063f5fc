// Form controls in mini-HTML cell text, used with the mouse and the keyboard in a dialog:
// a press opens the editor over the control, Tab goes on to the next control, Enter and
// Escape end the edit without reaching the dialog, and the value lands in the control's tag.
#include "grid/base/html_text.h"
#include "grid/control/pro_string_grid.h"
#include "platform/ui/inplace_edit.h"
#include "support/grid_window.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct ControlsFixture : ::testing::Test, GridWindow<TProStringGrid, QDialog> {
    QDialog& Dialog = Window;
    std::vector<QString> Done;

    ControlsFixture() : GridWindow({.Width = 420, .Height = 160, .Cols = 3, .Rows = 3, .ScrollBars = ssNone}) {}
    void SetUp() override
    {
        G->SetColWidths(1, 240);
        G->SetRowHeights(1, 40);
        G->SetOptions(G->Options() + goEditing);
        G->OnControlEditDone = [this](TObject*, int, int, const QString& id, const QString&, const QString& v) {
            Done.push_back(id + QLatin1Char('=') + v);
        };
        ShowFocused();
    }
    void TearDown() override { FreeGrid(); }
    // Anchor clicks land in Anchors, and the grid does not follow them.
    std::vector<QString> Anchors;
    void RecordAnchors()
    {
        G->OnAnchorClick = [this](TObject*, int, int, const QString& a, bool& autoHandle) {
            Anchors.push_back(a);
            autoHandle = false;
        };
    }
    QString Value(const QString& id)
    {
        QString v;
        GetControlValue(G->Cells(1, 1), id, v);
        return v;
    }
    // A point on the first control of cell (1, 1), which starts the text.
    QPoint OnFirstControl() const
    {
        const TRect k = G->CellRect(1, 1);
        return {k.Left + 12, k.Top + 10};
    }
    void Press(QPoint p)
    {
        QTest::mouseClick(G->viewport(), Qt::LeftButton, Qt::NoModifier, p);
        QApplication::processEvents();
    }
};

const QString TwoEdits = QStringLiteral(
    "<CONTROL TYPE=\"EDIT\" ID=\"e1\" VALUE=\"abc\" WIDTH=\"60\" MAXLEN=\"5\"> "
    "<CONTROL TYPE=\"EDIT\" ID=\"e2\" VALUE=\"xy\" WIDTH=\"60\">");

}  // namespace

TEST_F(ControlsFixture, APressOpensTheEditorOverTheControlAndEnterWritesTheValue)
{
    G->SetCells(1, 1, TwoEdits);
    Press(OnFirstControl());
    QLineEdit* e = G->ControlEditor();
    ASSERT_TRUE(e->isVisible());
    EXPECT_TRUE(e->hasFocus());
    EXPECT_EQ(e->text(), QStringLiteral("abc"));
    EXPECT_TRUE(G->CellRect(1, 1).ToQRect().contains(e->geometry().topLeft()));
    // MAXLEN 5 holds the typing
    e->selectAll();
    QTest::keyClicks(e, QStringLiteral("1234567"));
    EXPECT_EQ(e->text(), QStringLiteral("12345"));
    QTest::keyClick(e, Qt::Key_Return);
    EXPECT_FALSE(e->isVisible());
    EXPECT_EQ(Value(QStringLiteral("e1")), QStringLiteral("12345"));
    EXPECT_EQ(Value(QStringLiteral("e2")), QStringLiteral("xy"));
    EXPECT_EQ(Done, std::vector<QString>{QStringLiteral("e1=12345")});
    EXPECT_TRUE(Dialog.isVisible());
    EXPECT_EQ(Dialog.result(), 0);

    // Escape ends the edit too, keeping what was typed, and the dialog stays open
    Press(OnFirstControl());
    QTest::keyClick(G->ControlEditor(), Qt::Key_Backspace);
    QTest::keyClick(G->ControlEditor(), Qt::Key_Escape);
    EXPECT_FALSE(G->ControlEditor()->isVisible());
    EXPECT_EQ(Value(QStringLiteral("e1")), QStringLiteral("1234"));
    EXPECT_TRUE(Dialog.isVisible());
}

TEST_F(ControlsFixture, EnterOnTheCellOpensItsFirstControlAndTabGoesOnToTheNext)
{
    G->SetCells(1, 1, TwoEdits);
    G->SetCol(1);
    G->SetRow(1);
    QTest::keyClick(G, Qt::Key_Return);
    QLineEdit* e = G->ControlEditor();
    ASSERT_TRUE(e->isVisible());
    EXPECT_EQ(e->text(), QStringLiteral("abc"));
    QTest::keyClick(e, Qt::Key_Tab);
    ASSERT_TRUE(e->isVisible());
    EXPECT_EQ(e->text(), QStringLiteral("xy"));
    QTest::keyClicks(e, QStringLiteral("z"));
    // past the last control the grid takes the focus back
    QTest::keyClick(e, Qt::Key_Tab);
    EXPECT_FALSE(e->isVisible());
    EXPECT_TRUE(G->hasFocus());
    EXPECT_EQ(Value(QStringLiteral("e2")), QStringLiteral("xyz"));
    EXPECT_TRUE(Dialog.isVisible());
}

TEST_F(ControlsFixture, ACheckControlTurnsOnAPressOnlyWhereTheCellMayBeEdited)
{
    G->SetCells(1, 1, QStringLiteral("<CONTROL TYPE=\"CHECK\" ID=\"c1\" VALUE=\"FALSE\" WIDTH=\"16\">"));
    std::vector<QString> clicks;
    G->OnControlClick = [&](TObject*, int, int, const QString& id, const QString& type, const QString& v) {
        clicks.push_back(id + QLatin1Char(' ') + type + QLatin1Char(' ') + v);
    };
    Press(OnFirstControl());
    EXPECT_EQ(Value(QStringLiteral("c1")), QStringLiteral("TRUE"));
    Press(OnFirstControl());
    EXPECT_EQ(Value(QStringLiteral("c1")), QStringLiteral("FALSE"));
    EXPECT_EQ(clicks, (std::vector<QString>{QStringLiteral("c1 CHECK TRUE"), QStringLiteral("c1 CHECK FALSE")}));

    // without editing the press is an anchor click of the control, and changes nothing
    G->SetOptions(G->Options() - goEditing);
    RecordAnchors();
    Press(OnFirstControl());
    EXPECT_EQ(Value(QStringLiteral("c1")), QStringLiteral("FALSE"));
    EXPECT_EQ(Anchors, std::vector<QString>{QStringLiteral("ctrl")});
}

TEST_F(ControlsFixture, AComboControlOffersTheProgramsItemsAndWritesTheChosenOne)
{
    G->SetCells(1, 1, QStringLiteral("<CONTROL TYPE=\"COMBO\" ID=\"k1\" VALUE=\"red\" WIDTH=\"80\">"));
    G->OnControlComboList = [](TObject*, int, int, const QString&, const QString&, const QString&, QStringList& items,
                               bool& edit, int&) {
        items = {QStringLiteral("red"), QStringLiteral("green"), QStringLiteral("blue")};
        edit = false;
    };
    std::vector<QString> chosen;
    G->OnControlComboSelect = [&](TObject*, int, int, int index, const QString& id, const QString& v) {
        chosen.push_back(id + QLatin1Char(' ') + QString::number(index) + QLatin1Char(' ') + v);
    };
    Press(OnFirstControl());
    QComboBox* c = G->ControlComboEditor();
    ASSERT_TRUE(c->isVisible());
    EXPECT_EQ(c->currentText(), QStringLiteral("red"));
    ASSERT_TRUE(c->view()->isVisible());
    QTest::keyClick(c->view(), Qt::Key_Down);
    QTest::keyClick(c->view(), Qt::Key_Return);
    EXPECT_EQ(chosen, std::vector<QString>{QStringLiteral("k1 1 green")});
    EXPECT_TRUE(c->isVisible());
    QTest::keyClick(c, Qt::Key_Return);
    EXPECT_FALSE(c->isVisible());
    EXPECT_EQ(Value(QStringLiteral("k1")), QStringLiteral("green"));
    EXPECT_TRUE(Dialog.isVisible());
}

TEST_F(ControlsFixture, AnchorsOfMiniHtmlAreFoundUnderTheMouse)
{
    G->SetCells(1, 1, QStringLiteral("<A href=\"http://example.com/a\">link</A> text"));
    RecordAnchors();
    Press(OnFirstControl());
    const TRect k = G->CellRect(1, 1);
    Press({k.Right - 10, k.Top + 10});   // beyond the text
    EXPECT_EQ(Anchors, std::vector<QString>{QStringLiteral("http://example.com/a")});
}

TEST(EditMask, TheClassLibrarysMaskLettersBecomeQtsOwn)
{
    struct Case {
        const char* Mask;
        const char* Qt;
    };
    const Case cases[] = {
        {"", ""},
        {"000", "999;_"},
        {"999", "000;_"},
        {"LLl", "AAa;_"},
        {"AaCc", "NnXx;_"},
        {">LL<ll<>00", ">AA<aa!99;_"},
        {"!00/00/0000;1;_", "99/99/9999;_"},
        {"00:00;0;*", "99:99;*"},
        {"\\N0", "\\N9;_"},
        {"N-0", "\\N-9;_"},
        {"_0", " 9;_"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(QtInputMask(QString::fromUtf8(c.Mask)), QString::fromUtf8(c.Qt)) << c.Mask;
}

TEST_F(ControlsFixture, TabWithAutomaticAdvancingLeavesTheCellForTheNext)
{
    G->Navigation()->SetAdvanceAuto(true);
    G->Navigation()->SetAdvanceOnEnter(true);
    G->SetCells(1, 1, TwoEdits);
    G->SetCol(1);
    G->SetRow(1);
    QTest::keyClick(G, Qt::Key_Return);
    QLineEdit* e = G->ControlEditor();
    ASSERT_TRUE(e->isVisible());
    QTest::keyClicks(e, QStringLiteral("d"));
    QTest::keyClick(e, Qt::Key_Tab);
    // the value is kept and the grid moves on to the next cell instead of the next control
    EXPECT_FALSE(e->isVisible());
    EXPECT_EQ(Value(QStringLiteral("e1")), QStringLiteral("abcd"));
    EXPECT_EQ(G->Col(), 2);
    EXPECT_EQ(G->Row(), 1);
    EXPECT_TRUE(Dialog.isVisible());
}
