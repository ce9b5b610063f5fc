// An application's own editor plugged into cells, the rich-text editor and the header-cell
// editor, driven with real keys on a shown grid in a dialog.
#include "grid/control/editor_link.h"
#include "grid/render/grid_paint.h"
#include "support/grid_window.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTest>
#include <QTextDocument>
#include <gtest/gtest.h>

namespace {

// A link whose control is a plain line edit, as an application would write one.
class TLineLink : public TEditLink {
public:
    QPointer<QLineEdit> Edit;
    int Created = 0;
    QWidget* GetEditControl() override { return Edit; }
    void CreateEditor(QWidget* AParent) override
    {
        if (Edit && Edit->parentWidget() == AParent) return;
        delete Edit.data();
        Edit = new QLineEdit(AParent);
        ++Created;
    }
    void DestroyEditor() override
    {
        if (Edit) Edit->deleteLater();
    }
    QString GetEditorValue() override { return Edit ? Edit->text() : QString(); }
    void SetEditorValue(const QString& s) override
    {
        if (Edit) Edit->setText(s);
    }
};

struct EditorsFixture : ::testing::Test, GridWindow<TProStringGrid, QDialog> {
    QDialog& Dialog = Window;
    TLineLink Link;

    EditorsFixture() : GridWindow({.Cols = 5, .Rows = 6, .ScrollBars = ssNone}) {}
    void SetUp() override
    {
        G->SetOptions(G->Options() + goEditing);
        // column 2 edits through the link, column 3 as rich text
        G->OnGetEditorType = [](TObject*, int ACol, int, TEditorType& E) {
            if (ACol == 2) E = edCustom;
            if (ACol == 3) E = edRichEdit;
        };
        G->SetEditLink(&Link);
        ShowFocused();
    }
    void TearDown() override { FreeGrid(); }
    void Go(int c, int r)
    {
        G->SetCol(c);
        G->SetRow(r);
    }
    void Key(QWidget* w, Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier)
    {
        QTest::keyClick(w, k, m);
        QApplication::processEvents();
    }
    static QString PlainOf(const QString& Rtf)
    {
        QTextDocument d;
        LoadRichText(d, Rtf);
        return d.toPlainText();
    }
};

}  // namespace

TEST_F(EditorsFixture, ALinkOpensWithF2OverTheCellAndEnterStoresItsValue)
{
    G->SetCells(2, 1, QStringLiteral("old"));
    Go(2, 1);
    Key(G, Qt::Key_F2);
    ASSERT_TRUE(Link.Edit);
    ASSERT_TRUE(Link.Edit->isVisible());
    EXPECT_TRUE(Link.Edit->hasFocus());
    EXPECT_EQ(Link.Edit->text(), QStringLiteral("old"));
    EXPECT_EQ(Link.Grid(), G);
    EXPECT_EQ(Link.EditCell(), (TPoint{2, 1}));
    // placed over the cell, less the grid line
    const TRect cell = G->CellRect(2, 1);
    EXPECT_EQ(Link.Edit->geometry(), QRect(cell.Left, cell.Top, cell.Width() - 1, cell.Height() - 1));

    Link.Edit->selectAll();
    QTest::keyClicks(Link.Edit, QStringLiteral("new"));
    Key(Link.Edit, Qt::Key_Return);
    EXPECT_EQ(G->Cells(2, 1), QStringLiteral("new"));
    EXPECT_FALSE(Link.Edit->isVisible());
    EXPECT_FALSE(G->GetEditMode());
    EXPECT_TRUE(G->hasFocus());
    EXPECT_TRUE(Dialog.isVisible());   // Enter never reached the dialog
}

TEST_F(EditorsFixture, TypingOpensTheLinkWithTheCharacterAndEscapeRestoresTheCell)
{
    G->SetCells(2, 2, QStringLiteral("keep"));
    Go(2, 2);
    QTest::keyClicks(G, QStringLiteral("x"));
    QApplication::processEvents();
    ASSERT_TRUE(Link.Edit && Link.Edit->isVisible());
    EXPECT_TRUE(Link.Edit->text().contains(QLatin1Char('x')));
    QTest::keyClicks(Link.Edit, QStringLiteral("yz"));
    Key(Link.Edit, Qt::Key_Escape);
    EXPECT_EQ(Link.Edit->text(), QStringLiteral("keep"));
    EXPECT_EQ(G->Cells(2, 2), QStringLiteral("keep"));
    EXPECT_FALSE(Link.Edit->isVisible());
    EXPECT_TRUE(Dialog.isVisible());
}

TEST_F(EditorsFixture, KeysTheLinkWantsStayWithItsControl)
{
    Link.SetWantKeyUpDown(true);
    Go(2, 2);
    Key(G, Qt::Key_F2);
    ASSERT_TRUE(Link.Edit && Link.Edit->isVisible());
    Key(Link.Edit, Qt::Key_Down);
    Key(Link.Edit, Qt::Key_Up);
    EXPECT_TRUE(Link.Edit->isVisible());
    EXPECT_EQ(G->Row(), 2);
    // a key it does not want ends the edit and moves the grid
    QTest::keyClicks(Link.Edit, QStringLiteral("v"));
    Key(Link.Edit, Qt::Key_Right);
    EXPECT_FALSE(Link.Edit->isVisible());
    EXPECT_EQ(G->Cells(2, 2), QStringLiteral("v"));
    EXPECT_EQ(G->Col(), 3);
}

TEST_F(EditorsFixture, ARefusedValueOpensTheLinkAgainOnTheCell)
{
    G->OnCellValidate = [](TObject*, int, int, QString& V, bool& Valid) { Valid = V != QStringLiteral("bad"); };
    G->SetCells(2, 1, QStringLiteral("good"));
    Go(2, 1);
    Key(G, Qt::Key_F2);
    ASSERT_TRUE(Link.Edit);
    Link.Edit->selectAll();
    QTest::keyClicks(Link.Edit, QStringLiteral("bad"));
    Key(Link.Edit, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(G->Cells(2, 1), QStringLiteral("good"));
    ASSERT_TRUE(Link.Edit);
    EXPECT_TRUE(Link.Edit->isVisible());
    EXPECT_EQ(G->Col(), 2);
    EXPECT_EQ(G->Row(), 1);
}

TEST_F(EditorsFixture, APopupLinkSitsAtTheCellAndEnterHidesItsForm)
{
    Link.SetEditStyle(esPopup);
    Link.SetAutoPopupWidth(true);
    Link.SetPopupHeight(60);
    G->SetCells(2, 3, QStringLiteral("pop"));
    Go(2, 3);
    Key(G, Qt::Key_F2);
    QWidget* form = Link.PopupForm();
    ASSERT_TRUE(form && Link.Edit);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->objectName(), QStringLiteral("gridform"));
    const TRect cell = G->CellRect(2, 3);
    EXPECT_EQ(form->width(), cell.Width());
    EXPECT_EQ(form->height(), 60);
    EXPECT_EQ(form->pos(), G->viewport()->mapToGlobal(QPoint(cell.Left, cell.Top)));
    EXPECT_EQ(Link.Edit->parentWidget(), form);
    Link.Edit->setFocus();
    Link.Edit->setText(QStringLiteral("popped"));
    Key(Link.Edit, Qt::Key_Return);
    EXPECT_EQ(G->Cells(2, 3), QStringLiteral("popped"));
    EXPECT_FALSE(form->isVisible());
}

TEST_F(EditorsFixture, RichTextIsEditedInPlaceAndStoredAsItsRtf)
{
    G->SetCells(3, 1, QStringLiteral(u"\u03A9 start"));
    Go(3, 1);
    Key(G, Qt::Key_F2);
    TProRichEdit* e = G->InplaceRichEdit();
    ASSERT_TRUE(e->isVisible());
    EXPECT_TRUE(e->hasFocus());
    EXPECT_EQ(e->toPlainText(), QStringLiteral(u"\u03A9 start"));
    e->moveCursor(QTextCursor::End);
    QTest::keyClicks(e, QStringLiteral(" typed"));
    // the focus going back to the grid ends the edit
    G->SetFocus();
    QApplication::processEvents();
    EXPECT_FALSE(e->isVisible());
    const QString stored = G->Cells(3, 1);
    EXPECT_TRUE(stored.startsWith(QLatin1String("{\\rtf1")));
    for (QChar ch : stored) EXPECT_LT(ch.unicode(), 0x80) << "one byte per character";
    EXPECT_EQ(PlainOf(stored), QStringLiteral(u"\u03A9 start typed"));
    EXPECT_EQ(G->Cells(3, 1), G->RichToString(e));
}

TEST_F(EditorsFixture, SuperscriptSurvivesTheRoundTrip)
{
    TProRichEdit* e = G->RichEdit();
    e->setPlainText(QStringLiteral("x2"));
    QTextCursor c = e->textCursor();
    c.setPosition(1);
    c.setPosition(2, QTextCursor::KeepAnchor);
    e->setTextCursor(c);
    e->SelSuperscript();
    EXPECT_TRUE(e->IsSelSuperscript());
    EXPECT_FALSE(e->IsSelNormal());
    G->RichToCell(1, 1, e);
    G->CellToRich(1, 1, e);
    c = e->textCursor();
    c.setPosition(1);
    c.setPosition(2, QTextCursor::KeepAnchor);
    e->setTextCursor(c);
    EXPECT_TRUE(e->IsSelSuperscript());
    e->SelNormal();
    EXPECT_TRUE(e->IsSelNormal());
    // an empty cell clears the edit
    G->SetCells(1, 1, QString());
    G->CellToRich(1, 1, e);
    EXPECT_TRUE(e->toPlainText().isEmpty());
}

TEST_F(EditorsFixture, AHeaderCellIsEditedAndStoredWhenTheEditorIsLeft)
{
    G->SetCells(2, 0, QStringLiteral("Head"));
    std::vector<QString> changes;
    G->OnEditChange = [&](TObject*, int c, int r, const QString& v) {
        if (c == 2 && r == 0) changes.push_back(v);
    };
    G->EditFixedCell(2, 0);
    TGridTransEdit* e = G->FixedCellEdit();
    ASSERT_TRUE(e->isVisible());
    EXPECT_TRUE(e->hasFocus());
    e->selectAll();
    QTest::keyClicks(e, QStringLiteral("Name"));
    EXPECT_EQ(G->Cells(2, 0), QStringLiteral("Head"));
    G->SetFocus();
    QApplication::processEvents();
    EXPECT_FALSE(e->isVisible());
    EXPECT_EQ(G->Cells(2, 0), QStringLiteral("Name"));
    ASSERT_FALSE(changes.empty());
    EXPECT_EQ(changes.back(), QStringLiteral("Name"));
}

TEST_F(EditorsFixture, ARefusedHeaderTextKeepsTheEditorFocused)
{
    G->SetCells(2, 0, QStringLiteral("Head"));
    G->OnCellValidate = [](TObject*, int, int, QString& V, bool& Valid) { Valid = !V.isEmpty(); };
    G->EditFixedCell(2, 0);
    TGridTransEdit* e = G->FixedCellEdit();
    ASSERT_TRUE(e->isVisible());
    e->selectAll();
    Key(e, Qt::Key_Delete);
    G->SetFocus();
    QApplication::processEvents();
    EXPECT_TRUE(e->isVisible());
    EXPECT_TRUE(e->hasFocus());
    EXPECT_EQ(G->Cells(2, 0), QStringLiteral("Head"));
    // opening another header waits for this one to be accepted
    G->EditFixedCell(3, 0);
    EXPECT_EQ(e->FCol, 2);
    QTest::keyClicks(e, QStringLiteral("Ok"));
    G->SetFocus();
    QApplication::processEvents();
    EXPECT_FALSE(e->isVisible());
    EXPECT_EQ(G->Cells(2, 0), QStringLiteral("Ok"));
}

TEST_F(EditorsFixture, ADoubleClickOnAHeaderEdgeFitsTheColumn)
{
    G->SetOptions(G->Options() + goColSizing);
    const QString text = QStringLiteral("a text wider than the column");
    G->SetCells(1, 2, text);
    int ended = -1;
    G->OnEndColumnSize = [&](TObject*, int c) { ended = c; };
    const TRect head = G->CellRect(1, 0);
    QTest::mouseDClick(G->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(head.Right - 1, head.Top + 5));
    QApplication::processEvents();
    const int around = 2 * G->XYOffset().X + 2 * G->GridLineWidth() + 2;
    EXPECT_EQ(G->ColWidths(1), G->Font()->Metrics().horizontalAdvance(text) + around);
    EXPECT_EQ(ended, 1);
    // a listener may refuse the sizing
    G->OnColumnSize = [](TObject*, int, bool& Allow) { Allow = false; };
    G->SetCells(1, 3, text + text);
    const TRect again = G->CellRect(1, 0);
    QTest::mouseDClick(G->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(again.Right - 1, again.Top + 5));
    EXPECT_EQ(G->ColWidths(1), G->Font()->Metrics().horizontalAdvance(text) + around);
}
