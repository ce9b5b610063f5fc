// The multi-column drop-down: completion from the lookup column, Enter and Escape lookups,
// stepping while closed, the list with its header row, keys, clicks, wheel and search in the
// open list, cancelling, and the form and column sizing.
#include "placed_dropdown.h"

#include "grid/controls/pro_grid_dropdown.h"
#include "grid/controls/pro_multi_column_dropdown.h"

using namespace MultiColumnDropDown;

namespace {

struct MultiColumnDropDownTest : PlacedDropDownFixture<TProMultiColumnDropDown> {
    int Selects = 0;
    void SetUp() override
    {
        PlacedDropDownFixture::SetUp();
        Drop->OnSelect = [this](QObject*) { ++Selects; };
    }
    // Items of three columns: the lookup text, a code and a note.
    void Fill(std::initializer_list<const char*> names)
    {
        Drop->BeginUpdate();
        for (const char* h : {"Name", "Code", "Note"}) Drop->Columns().Add()->Header = QString::fromLatin1(h);
        int n = 0;
        for (const char* name : names) {
            TDropDownItem* item = Drop->Items().Add();
            item->SetText({QString::fromLatin1(name), QString::number(++n), QStringLiteral("note %1").arg(n)});
        }
        Drop->EndUpdate();
    }
    void DKey(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) { QTest::keyClick(Drop, k, m); }
    // Keys of the open list go to the pop-up, as a user's keys do.
    void LKey(Qt::Key k, const QString& text = QString())
    {
        QTest::sendKeyEvent(QTest::Click, DropForm()->windowHandle(), k, text, {});
    }
    void LType(const char* s)
    {
        for (const char* c = s; *c; ++c) LKey(Qt::Key(QChar(*c).toUpper().unicode()), QString(QChar(*c)));
    }
    void Open()
    {
        ClickDropButton();
        ASSERT_TRUE(Drop->DroppedDown());
    }
    QRect RowRect(int row) { return Drop->ListGrid()->CellRect(0, row).ToQRect(); }
};

} // namespace

TEST_F(MultiColumnDropDownTest, TypingCompletesFromTheLookupColumn)
{
    Fill({"Apple", "Apricot", "Banana"});
    QTest::keyClicks(Drop, "ap");
    EXPECT_EQ(Drop->Text(), "apple");
    EXPECT_EQ(Drop->selectedText(), "ple");
    EXPECT_EQ(Drop->cursorPosition(), 2);
    EXPECT_EQ(Drop->ItemIndex(), 0);
    QTest::keyClicks(Drop, "r");
    EXPECT_EQ(Drop->Text(), "apricot");
    EXPECT_EQ(Drop->ItemIndex(), 1);
    // Enter takes the entry's own letter case
    DKey(Qt::Key_Return);
    EXPECT_EQ(Drop->Text(), "Apricot");
    EXPECT_EQ(Drop->ItemIndex(), 1);
    // Escape on a text that is no entry clears the choice
    Drop->SetText("Cherry");
    DKey(Qt::Key_Escape);
    EXPECT_EQ(Drop->ItemIndex(), -1);
    EXPECT_EQ(Drop->Text(), "");
    // another lookup column shows that column's text
    Drop->LookupColumn = 1;
    Drop->SetItemIndex(2);
    EXPECT_EQ(Drop->Text(), "3");
    EXPECT_EQ(Drop->GetItemIndex("2"), 1);
    Drop->SetItemIndex(3);   // the count is ignored
    EXPECT_EQ(Drop->ItemIndex(), 2);

    // items removed without EndUpdate: the old entry still completes, but names no item
    Drop->LookupColumn = 0;
    Drop->SetItemIndex(0);
    Drop->Items().Delete(2);
    Drop->SetText(QString());
    QTest::keyClicks(Drop, "ba");
    EXPECT_EQ(Drop->Text(), "banana");
    EXPECT_EQ(Drop->ItemIndex(), 0);
    DKey(Qt::Key_Return);
    EXPECT_EQ(Drop->ItemIndex(), 0);
}

TEST_F(MultiColumnDropDownTest, StepsWhileClosed)
{
    Fill({"a1", "a2", "a3", "a4", "a5", "a6", "a7", "a8"});
    struct Case {
        int From;
        Qt::Key Key;
        bool EditorEnabled;
        int To;
    } cases[] = {
        {3, Qt::Key_PageDown, true, 7}, {5, Qt::Key_PageUp, true, 0}, {7, Qt::Key_Down, true, 7},
        {-1, Qt::Key_Down, true, 0},    {4, Qt::Key_Up, true, 3},     {4, Qt::Key_End, true, 4},
        {4, Qt::Key_End, false, 7},     {4, Qt::Key_Home, false, 0},
    };
    for (const Case& c : cases) {
        Drop->SetEditorEnabled(c.EditorEnabled);
        Drop->SetItemIndex(c.From);
        DKey(c.Key);
        EXPECT_EQ(Drop->ItemIndex(), c.To) << c.From << " " << c.Key;
    }
    EXPECT_EQ(Selects, 0);
}

TEST_F(MultiColumnDropDownTest, ListChoosesByKeysClicksAndSearch)
{
    Fill({"Bear", "Beetle", "Cat", "Dog", "Eel"});
    Drop->SetItemIndex(0);
    Open();
    TProColGrid* g = Drop->ListGrid();
    ASSERT_EQ(g->RowCount(), 6);
    EXPECT_EQ(g->FixedRows(), 1);
    EXPECT_EQ(g->RowHeights(0), 25);
    EXPECT_EQ(g->Row(), 1);
    // Down moves the row and the edit follows; Escape returns to the item of the opening
    LKey(Qt::Key_Down);
    LKey(Qt::Key_Down);
    EXPECT_TRUE(Drop->DroppedDown());
    EXPECT_EQ(Drop->ItemIndex(), 2);
    EXPECT_EQ(Drop->Text(), "Cat");
    LKey(Qt::Key_Escape);
    EXPECT_FALSE(Drop->DroppedDown());
    EXPECT_EQ(Drop->ItemIndex(), 0);
    EXPECT_EQ(Selects, 0);
    // Enter takes the row and fires OnSelect
    Open();
    LKey(Qt::Key_Down);
    LKey(Qt::Key_Return);
    EXPECT_FALSE(Drop->DroppedDown());
    EXPECT_EQ(Drop->ItemIndex(), 1);
    EXPECT_EQ(Drop->Text(), "Beetle");
    EXPECT_EQ(Selects, 1);
    // a click on a row takes it
    Open();
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, RowRect(4).center());
    EXPECT_FALSE(Drop->DroppedDown());
    EXPECT_EQ(Drop->ItemIndex(), 3);
    EXPECT_EQ(Selects, 2);
    // search: b finds Bear, e keeps it, x finds neither "bex" nor "x" and changes nothing
    Open();
    LType("b");
    EXPECT_EQ(g->Row(), 1);
    EXPECT_EQ(Drop->Text(), "Bear");
    EXPECT_EQ(Drop->selectedText(), "ear");
    LType("e");
    EXPECT_EQ(g->Row(), 1);
    LType("x");
    EXPECT_EQ(g->Row(), 1);
    LType("d");
    EXPECT_EQ(g->Row(), 4);
    EXPECT_EQ(Drop->Text(), "Dog");
    LKey(Qt::Key_Return);
    EXPECT_EQ(Drop->ItemIndex(), 3);
}

TEST_F(MultiColumnDropDownTest, WheelInTheListIsNoChoice)
{
    Fill({"a1", "a2", "a3", "a4"});
    Drop->SetItemIndex(1);
    Open();
    TProColGrid* g = Drop->ListGrid();
    QWheelEvent wheel(RowRect(2).center(), g->viewport()->mapToGlobal(RowRect(2).center()), {}, {0, -120},
                      Qt::NoButton, {}, Qt::NoScrollPhase, false);
    QApplication::sendEvent(g->viewport(), &wheel);
    EXPECT_EQ(Drop->ItemIndex(), 1);
    Drop->HideDropDown(false);
    EXPECT_EQ(Drop->ItemIndex(), 1);
}

TEST_F(MultiColumnDropDownTest, FormAndColumnSizes)
{
    Fill({"a1", "a2", "a3", "a4", "a5", "a6", "a7", "a8", "a9", "a10"});
    Drop->DropDownAutoWidth = false;
    Drop->ColumnSizeWithDropDown = false;
    // the form is cut to whole rows: 25 + 2 + 7 x 22
    Open();
    EXPECT_EQ(DropForm()->height(), 181);
    Drop->HideDropDown(false);
    // a row height of 0 is a row of a pixel
    TProMultiColumnDropDown zero(&Dialog);
    zero.Items().Add()->SetText({"x"});
    zero.SetDropDownRowHeight(0);
    EXPECT_EQ(zero.DropDownRowHeight(), 1);
    zero.ShowDropDown();
    EXPECT_EQ(zero.DropDownForm()->height(), 200);
    zero.HideDropDown(false);

    // columns of 80 and 160 in a form of 241 without a scroll bar keep their widths
    TProMultiColumnDropDown two(&Dialog);
    two.setGeometry(20, 100, 120, 22);
    two.Columns().Add()->Width = 80;
    two.Columns().Add()->Width = 160;
    two.Items().Add()->SetText({"x", "y"});
    two.SetDropDownWidth(241);
    two.DropDownAutoWidth = false;
    two.ShowDropDown();
    ASSERT_TRUE(two.DroppedDown());
    EXPECT_EQ(two.ListGrid()->ColWidths(0), 80);
    EXPECT_EQ(two.ListGrid()->ColWidths(1), 160);
    two.HideDropDown(false);

    // a wrapping column gives every item row at least 24 pixels
    two.Columns().Items(0)->Wordwrap = true;
    two.ShowDropDown();
    EXPECT_EQ(two.ListGrid()->RowHeights(1), 24);
    two.HideDropDown(false);

    // no items: a single row, not fixed, no header
    TProMultiColumnDropDown none(&Dialog);
    none.Columns().Add()->Header = "Name";
    none.ShowDropDown();
    ASSERT_TRUE(none.DroppedDown());
    EXPECT_EQ(none.ListGrid()->RowCount(), 1);
    EXPECT_EQ(none.ListGrid()->FixedRows(), 0);
    (void)none.DropDownForm()->grab();
    QTest::keyClicks(&none, "q");
    none.HideDropDown(false);
}

TEST_F(MultiColumnDropDownTest, PaintsHeaderAndSelectedRow)
{
    Fill({"Bear", "Beetle"});
    Drop->HeaderColor = 0x0000FF;
    Drop->HeaderColorTo = clNone;   // a plain header
    Drop->SetItemIndex(1);
    Open();
    TProColGrid* g = Drop->ListGrid();
    const QImage shot = g->viewport()->grab().toImage();
    const QRect header = RowRect(0), row1 = RowRect(1), row2 = RowRect(2);
    EXPECT_EQ(PixelOf(shot, header.left() + 1, header.top() + 2), TColor(0x0000FF));
    EXPECT_EQ(PixelOf(shot, row1.right() - 4, row1.center().y()), TColor(0xFFFFFF));
    EXPECT_NE(PixelOf(shot, row2.right() - 4, row2.center().y()), TColor(0xFFFFFF));   // selected
    // a handler of its own paints every cell
    QStringList cells;
    Drop->OnDropDownDrawItem = [&](QObject*, int c, int r, TCanvas*, TRect) { cells << QStringLiteral("%1,%2").arg(c).arg(r); };
    g->viewport()->grab();
    EXPECT_TRUE(cells.contains("0,0"));
    EXPECT_TRUE(cells.contains("2,2"));
}

// The grid drop-down describes its list by the same column and item classes: a list made for
// one opens in the other as it is.
TEST_F(MultiColumnDropDownTest, ShowsTheColumnsAndItemsOfAGridDropDown)
{
    GridDropDown::TDropDownColumns columns;
    for (const char* h : {"Name", "Code"}) columns.Add()->Header = QString::fromLatin1(h);
    GridDropDown::TDropDownItems items;
    for (const char* name : {"Ash", "Beech", "Birch"}) items.Add()->SetText({QString::fromLatin1(name), "x"});
    Drop->BeginUpdate();
    Drop->SetColumns(columns);
    Drop->SetItems(items);
    Drop->EndUpdate();
    EXPECT_EQ(Drop->Items().IndexInColumn(0, "Birch"), 2);
    Open();
    ASSERT_EQ(Drop->ListGrid()->Columns().Count(), 2);
    EXPECT_EQ(Drop->ListGrid()->Columns().Items(1)->Header, "Code");
    LType("bi");
    LKey(Qt::Key_Return);
    EXPECT_FALSE(Drop->DroppedDown());
    EXPECT_EQ(Drop->ItemIndex(), 2);
    EXPECT_EQ(Drop->Text(), "Birch");
}
