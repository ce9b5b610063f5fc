// The grid drop-down: opening on items or on rows the application put into the grid,
// choosing by keys and clicks, cancelling, the list search and the edit-side completion,
// narrowing down, header-click sorting, the form's height and the columns' widths.
#include "placed_dropdown.h"

#include "grid/controls/pro_grid_dropdown.h"

#include <QStyle>

using namespace GridDropDown;

namespace {

class TTestGridDropDown : public TProGridDropDown {
public:
    using TProGridDropDown::TProGridDropDown;
    using TProGridDropDown::AdaptDropDownHeight;
};

struct GridDropDownTest : PlacedDropDownFixture<TTestGridDropDown> {
    int Selects = 0;
    void SetUp() override
    {
        PlacedDropDownFixture::SetUp();
        Drop->OnSelect = [this](QObject* Sender) {
            EXPECT_EQ(Sender, Drop);
            ++Selects;
        };
        for (const char* h : {"Name", "Code"}) Drop->Columns()->Add()->Header = QString::fromLatin1(h);
    }
    // Items of two columns: a name and its code.
    void Fill(std::initializer_list<const char*> Names)
    {
        Drop->Items()->Clear();
        int n = 0;
        for (const char* s : Names) {
            TDropDownItem* item = Drop->Items()->Add();
            item->SetText({QString::fromLatin1(s), QString::number(100 + n++)});
        }
        Drop->EndUpdate();
    }
    TProColGrid* Grid() { return Drop->GetGrid(); }
    void Open()
    {
        ClickDropButton();
        ASSERT_TRUE(Drop->DroppedDown());
        QApplication::processEvents();
    }
    void GridKey(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) { QTest::keyClick(Grid(), k, m); }
    void GridType(const QString& s) { QTest::keyClicks(Grid(), s); }
    QPoint CellCentre(int c, int r)
    {
        const TRect k = Grid()->CellRect(c, r);
        return {(k.Left + k.Right) / 2, (k.Top + k.Bottom) / 2};
    }
    void ClickCell(int c, int r) { QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, {}, CellCentre(c, r)); }
    QStringList Column(int c)
    {
        QStringList l;
        for (int r = Grid()->FixedRows(); r < Grid()->RowCount(); ++r) l << Grid()->Cells(c, r);
        return l;
    }
};

} // namespace

TEST_F(GridDropDownTest, OpensOnItemsAndChoosesByKeysAndEnter)
{
    Fill({"Apple", "Banana", "Cherry", "Date"});
    Drop->SetItemIndex(1);
    EXPECT_EQ(Drop->Text(), "Banana");
    Open();
    // the header row and one row per item, the chosen one current, the focus in the list
    EXPECT_EQ(Grid()->RowCount(), 5);
    EXPECT_EQ(Grid()->Cells(0, 0), "Name");
    EXPECT_EQ(Grid()->Cells(1, 0), "Code");
    EXPECT_EQ(Column(0), QStringList({"Apple", "Banana", "Cherry", "Date"}));
    EXPECT_EQ(Grid()->Row(), 2);
    EXPECT_TRUE(Grid()->hasFocus());
    // the edit follows the row while moving
    GridKey(Qt::Key_Down);
    EXPECT_EQ(Grid()->Row(), 3);
    EXPECT_EQ(Drop->Text(), "Cherry");
    EXPECT_EQ(Drop->ItemIndex(), 2);
    EXPECT_EQ(Selects, 0);
    GridKey(Qt::Key_Return);
    EXPECT_FALSE(Drop->DroppedDown());
    EXPECT_EQ(Drop->ItemIndex(), 2);
    EXPECT_EQ(Drop->Text(), "Cherry");
    EXPECT_EQ(Selects, 1);
}

TEST_F(GridDropDownTest, EscapeAndAltUpGiveBackOrKeepTheEntry)
{
    Fill({"Apple", "Banana", "Cherry"});
    Drop->SetItemIndex(0);
    Open();
    GridKey(Qt::Key_Down);
    GridKey(Qt::Key_Down);
    EXPECT_EQ(Drop->Text(), "Cherry");
    GridKey(Qt::Key_Escape);
    EXPECT_FALSE(Drop->DroppedDown());
    EXPECT_EQ(Drop->ItemIndex(), 0);
    EXPECT_EQ(Drop->Text(), "Apple");
    EXPECT_EQ(Selects, 0);

    // Alt+Up closes without cancelling: the row moved to by key is taken
    Open();
    GridKey(Qt::Key_Down);
    GridKey(Qt::Key_Up, Qt::AltModifier);
    EXPECT_FALSE(Drop->DroppedDown());
    EXPECT_EQ(Drop->ItemIndex(), 1);
    EXPECT_EQ(Drop->Text(), "Banana");
}

TEST_F(GridDropDownTest, AClickOnADataRowChoosesIt)
{
    Fill({"Apple", "Banana", "Cherry"});
    Open();
    ClickCell(1, 3);
    EXPECT_FALSE(Drop->DroppedDown());
    EXPECT_EQ(Drop->ItemIndex(), 2);
    EXPECT_EQ(Drop->Text(), "Cherry");
    EXPECT_EQ(Selects, 1);

    // an editable list stays open on a choice
    Drop->GridEditable = true;
    Open();
    ClickCell(0, 1);
    EXPECT_TRUE(Drop->DroppedDown());
    EXPECT_EQ(Drop->ItemIndex(), 0);
    EXPECT_EQ(Drop->Text(), "Apple");
    EXPECT_EQ(Selects, 2);
}

TEST_F(GridDropDownTest, ClosingByAClickOutsideTakesTheRowOnlyWhenTheListConfirmedIt)
{
    Fill({"Apple", "Banana", "Cherry"});
    Drop->SetItemIndex(0);
    Open();
    GridKey(Qt::Key_Down);
    DropForm()->close();   // what a click outside a pop-up does on a desktop
    EXPECT_FALSE(Drop->DroppedDown());
    EXPECT_EQ(Drop->ItemIndex(), 1);
    EXPECT_EQ(Drop->Text(), "Banana");

    // nothing pressed in the list: the typed value stays
    Drop->setFocus();
    Drop->SetItemIndex(-1);
    QTest::keyClicks(Drop, "zz");
    Open();
    DropForm()->close();
    EXPECT_EQ(Drop->Text(), "zz");
    EXPECT_EQ(Drop->ItemIndex(), -1);
}

TEST_F(GridDropDownTest, TypingCompletesFromTheItems)
{
    Fill({"Apple", "apricot", "Banana"});
    Drop->SetText(QString());
    QTest::keyClick(Drop, Qt::Key_A);
    EXPECT_EQ(Drop->Text(), "Apple");
    EXPECT_EQ(Drop->selectedText(), "pple");
    EXPECT_EQ(Drop->ItemIndex(), 0);
    QTest::keyClick(Drop, Qt::Key_P);
    EXPECT_EQ(Drop->Text(), "Apple");
    EXPECT_EQ(Drop->selectedText(), "ple");
    EXPECT_EQ(Drop->ItemIndex(), 0);
    QTest::keyClick(Drop, Qt::Key_R);
    EXPECT_EQ(Drop->Text(), "apricot");
    EXPECT_EQ(Drop->selectedText(), "icot");
    EXPECT_EQ(Drop->ItemIndex(), 1);
    // Enter takes the entry the text names
    QTest::keyClick(Drop, Qt::Key_End);
    QTest::keyClick(Drop, Qt::Key_Return);
    EXPECT_EQ(Drop->ItemIndex(), 1);
    EXPECT_EQ(Drop->Text(), "apricot");
}

TEST_F(GridDropDownTest, AListOnlyStyleRestartsTheSearchWithTheTypedCharacter)
{
    Fill({"Apple", "Banana", "Xylophone"});
    Drop->SetStyle(dsDropDownList);
    EXPECT_FALSE(Drop->EditorEnabled());
    QTest::keyClicks(Drop, "ba");
    EXPECT_EQ(Drop->Text(), "Banana");
    EXPECT_EQ(Drop->LookupEntry(), "ba");
    QTest::keyClick(Drop, Qt::Key_X);
    EXPECT_EQ(Drop->Text(), "Xylophone");
    EXPECT_EQ(Drop->LookupEntry(), "x");
    EXPECT_EQ(Drop->ItemIndex(), 2);
    // Home and End choose the first and last entries; Up and Down step
    QTest::keyClick(Drop, Qt::Key_Home);
    EXPECT_EQ(Drop->Text(), "Apple");
    QTest::keyClick(Drop, Qt::Key_Down);
    EXPECT_EQ(Drop->Text(), "Banana");
    QTest::keyClick(Drop, Qt::Key_End);
    EXPECT_EQ(Drop->ItemIndex(), 2);
    QTest::keyClick(Drop, Qt::Key_Down);
    EXPECT_EQ(Drop->ItemIndex(), 2);
}

TEST_F(GridDropDownTest, TypingInTheOpenListMovesToTheFoundRow)
{
    Fill({"Apple", "Banana", "Blueberry", "Cherry"});
    Open();
    GridType("bl");
    EXPECT_EQ(Grid()->Row(), 3);
    EXPECT_EQ(Drop->ItemIndex(), 2);
    EXPECT_EQ(Drop->Text(), "Blueberry");
    GridKey(Qt::Key_Return);
    EXPECT_EQ(Drop->ItemIndex(), 2);
    EXPECT_EQ(Selects, 1);
}

TEST_F(GridDropDownTest, NarrowingDownFiltersTheListAsTyped)
{
    Fill({"Apple", "apricot", "Banana", "Avocado"});
    Drop->LookupMethod = lmNarrowDown;
    Open();
    GridType("ap");
    EXPECT_EQ(Column(0), QStringList({"Apple", "apricot"}));
    EXPECT_EQ(Grid()->Row(), 1);
    GridKey(Qt::Key_Down);
    GridKey(Qt::Key_Return);
    EXPECT_EQ(Drop->ItemIndex(), 1);
    EXPECT_EQ(Drop->Text(), "apricot");

    // the list is made anew from the items at the next opening, each once
    Open();
    EXPECT_EQ(Column(0), QStringList({"Apple", "apricot", "Banana", "Avocado"}));
    Grid()->RemoveAllFilters();
    EXPECT_EQ(Grid()->RowCount(), 5);
    // Backspace takes back the completed tail, then the typed characters; the next character
    // narrows from the whole list again
    GridType("ap");
    EXPECT_EQ(Column(0).size(), 2);
    EXPECT_EQ(Drop->selectedText(), "ple");
    GridKey(Qt::Key_Backspace);
    EXPECT_EQ(Drop->Text(), "Ap");
    GridKey(Qt::Key_Backspace);
    GridKey(Qt::Key_Backspace);
    EXPECT_EQ(Drop->Text(), "");
    EXPECT_EQ(Drop->LookupEntry(), "");
    GridType("b");
    EXPECT_EQ(Column(0), QStringList({"Banana"}));
    GridKey(Qt::Key_Escape);
    // entering the control drops the filter
    Other->setFocus();
    Drop->setFocus();
    EXPECT_EQ(Grid()->RowCount(), 5);
}

TEST_F(GridDropDownTest, AHeaderClickSortKeepsTheChosenItemChosen)
{
    Fill({"Cherry", "Apple", "Banana"});
    Drop->Sorting = gsSingleColumn;
    Drop->SetItemIndex(0);
    Open();
    EXPECT_EQ(Grid()->Row(), 1);
    QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, {}, CellCentre(0, 0));
    EXPECT_EQ(Column(0), QStringList({"Apple", "Banana", "Cherry"}));
    EXPECT_EQ(Grid()->Row(), 3);
    EXPECT_EQ(Drop->ItemIndex(), 0);
    // a search in the sorted list finds the row that holds the item
    GridType("b");
    EXPECT_EQ(Grid()->Row(), 2);
    EXPECT_EQ(Drop->ItemIndex(), 2);
    GridKey(Qt::Key_Down);
    GridKey(Qt::Key_Return);
    EXPECT_EQ(Drop->ItemIndex(), 0);
    EXPECT_EQ(Drop->Text(), "Cherry");
}

TEST_F(GridDropDownTest, WithoutItemsTheListHasItsHeaderOnly)
{
    Drop->SelectNext();
    QTest::keyClick(Drop, Qt::Key_Down);
    EXPECT_EQ(Drop->ItemIndex(), -1);
    Open();
    EXPECT_EQ(Grid()->RowCount(), 1);
    EXPECT_EQ(Grid()->Cells(0, 0), "Name");
    GridKey(Qt::Key_Down);
    GridKey(Qt::Key_Return);
    EXPECT_EQ(Drop->ItemIndex(), -1);
}

TEST_F(GridDropDownTest, RowsTheApplicationPutIntoTheGrid)
{
    Drop->UseItems = false;
    TProColGrid* g = Grid();
    g->SetColCount(2);
    g->SetRowCount(4);
    const char* names[] = {"Alpha", "Beta", "Gamma"};
    for (int r = 1; r < 4; ++r) {
        g->SetCells(0, r, QString::fromLatin1(names[r - 1]));
        g->SetCells(1, r, QString::number(r));
    }
    QTest::keyClicks(Drop, "Be");
    Open();
    // the edit's text finds its row
    EXPECT_EQ(g->Row(), 2);
    GridKey(Qt::Key_Down);
    EXPECT_EQ(Drop->Text(), "Gamma");
    GridKey(Qt::Key_Return);
    EXPECT_EQ(Drop->ItemIndex(), 2);
    // the index setter reads the grid and ignores rows past its end
    Drop->SetItemIndex(0);
    EXPECT_EQ(Drop->Text(), "Alpha");
    Drop->SetItemIndex(7);
    EXPECT_EQ(Drop->ItemIndex(), 0);
}

TEST_F(GridDropDownTest, TheFormHoldsWholeRowsAndTheColumnsFillIt)
{
    Fill({"Apple", "Banana", "Cherry", "Date", "Elderberry", "Fig", "Grape", "Honeydew", "Kiwi", "Lemon"});
    Drop->DropDownHeader()->SetVisible(false);
    Drop->DropDownFooter()->SetVisible(false);
    struct Case {
        int Height, RowHeight, Expected;
    } cases[] = {{200, 22, 25 + 2 + 7 * 22 + 4}, {100, 20, 25 + 2 + 3 * 20 + 4}, {27, 22, 25 + 2 + 4}};
    for (const Case& c : cases) {
        Drop->SetDropDownRowHeight(c.RowHeight);
        int h = c.Height;
        Drop->AdaptDropDownHeight(h);
        EXPECT_EQ(h, c.Expected) << c.Height;
    }
    // a row height of 0 is refused: the form is still cut to whole rows of the last one
    Drop->SetDropDownRowHeight(0);
    EXPECT_EQ(Drop->DropDownRowHeight(), 22);

    Open();
    int sum = 0;
    for (int c = 0; c < Grid()->ColCount(); ++c) sum += Grid()->ColWidths(c);
    const int scroll = QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    EXPECT_NEAR(sum, DropForm()->width() - scroll, 2);
}

TEST_F(GridDropDownTest, AutoSizedAndWrappedColumns)
{
    Drop->Columns()->Items(0)->AutoSize = true;
    Drop->Columns()->Items(1)->Wordwrap = true;
    Drop->Columns()->Items(1)->Width = 40;
    Drop->ColumnSizeWithDropDown = false;
    Drop->DropDownAutoWidth = false;
    Drop->SetDropDownRowHeight(16);
    Open();
    EXPECT_EQ(Grid()->Columns()->Items(0)->Width, 0);   // an empty list
    EXPECT_EQ(Grid()->ColWidths(0), 0);
    Drop->HideDropDown(true);

    Drop->Items()->Add()->SetText({"A name", "short"});
    Drop->Items()->Add()->SetText({"A much longer name", "a text long enough to wrap over lines"});
    Open();
    const int w0 = Grid()->ColWidths(0);
    EXPECT_GT(w0, QFontMetrics(Grid()->font()).horizontalAdvance("A much longer") + 6);
    EXPECT_EQ(Grid()->RowHeights(1), 24);   // never lower, whatever DropDownRowHeight says
    EXPECT_GT(Grid()->RowHeights(2), 24);
}

TEST_F(GridDropDownTest, ComponentStylesColourTheLookupGrid)
{
    struct Case {
        TProStyle Style;
        TColor Header, HeaderTo, Line, FixedLine, Font, SelectionText;
    } cases[] = {
        {tsOffice2003Blue, 0xD68759, 0x933803, 0x962D00, 0x962D00, 0xFFFFFF, 0},
        {tsWindowsXP, clBtnFace, clBtnFace, 0xC0C0C0, 0x000000, 0x000000, clHighlightText},
        {tsWindows7, 0xFDFBFA, 0xFDF3EB, 0xFBD6B8, 0xFBD6B8, 0x000000, 0},
    };
    EXPECT_EQ(Drop->LineColor, TColor(0xF1EDEB));
    EXPECT_EQ(Drop->FixedLineColor, TColor(0xD1BBA4));
    EXPECT_EQ(Drop->HeaderFont()->Color(), TColor(0x723708));
    for (const Case& c : cases) {
        Drop->SetComponentStyle(c.Style);
        EXPECT_EQ(Drop->HeaderColor, c.Header);
        EXPECT_EQ(Drop->HeaderColorTo, c.HeaderTo);
        EXPECT_EQ(Drop->LineColor, c.Line);
        EXPECT_EQ(Drop->FixedLineColor, c.FixedLine);
        EXPECT_EQ(Drop->HeaderFont()->Color(), c.Font);
        EXPECT_EQ(Drop->SelectionTextColor, c.SelectionText);
    }
    // the selection style's line colours
    Drop->SetSelectionColorStyle(scWindowsVista);
    EXPECT_EQ(Drop->LineColor, TColor(0xECECF0));
    EXPECT_EQ(Drop->FixedLineColor, TColor(0xD4D2D1));
}
