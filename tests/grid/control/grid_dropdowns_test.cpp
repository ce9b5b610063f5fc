// The drop-down editors opened in a shown grid: opened with F2, a typed character or Alt+Down,
// edited with real keys, committed with Enter, cancelled with Escape, closed by leaving them.
#include "picker_fixture.h"

#include <QWindow>

namespace {

struct DropDownEditors : PickerFixture {
    // Column 1 gets the kind and the cell the text; F2 opens the editor on it.
    void Open(TEditorType kind, const QString& cell)
    {
        Grid->Columns()->Items(1)->SetEditor(kind);
        Grid->SetCells(1, 1, cell);
        if (kind == edColorPickerDropDown) Grid->SetColors(1, 1, 0x008000);   // Green
        if (kind == edImagePickerDropDown) Grid->AddImageIdx(1, 1, 0, haLeft, vaTop);
        Goto(1, 1);
        Grid->SetFocus();
        Key(Qt::Key_F2);
    }
    TProCustomDropDown* Editor() const { return dynamic_cast<TProCustomDropDown*>(Focused()); }
};

struct Case {
    const char* What;
    TEditorType Kind;
    const char* Cell;
    std::function<void(DropDownEditors&)> Edit;
    const char* AfterEnter;
};

} // namespace

TEST_F(DropDownEditors, EachKindOpensOnItsCellEditsAndCommitsWithEnter)
{
    const Case cases[] = {
        // the bar keeps its arrow keys: each steps it and the editor stays on its cell
        {"trackbar", edTrackbarDropDown, "3",
         [](DropDownEditors& f) {
             f.Key(Qt::Key_Down);
             f.Key(Qt::Key_Down);
             f.Key(Qt::Key_Up);
             EXPECT_TRUE(f.Grid->GetEditMode());
             EXPECT_EQ(f.Grid->Row(), 1);
         }, "4"},
        {"memo", edMemoDropDown, "abc",
         [](DropDownEditors& f) {
             f.Key(Qt::Key_End);
             f.Type(QStringLiteral("d"));
             EXPECT_EQ(f.Grid->Cells(1, 1), "abcd");   // stored at once
         }, "abcd"},
        // Enter completes the pending calculation, and its result is committed
        {"calculator", edCalculatorDropDown, "2",
         [](DropDownEditors& f) { f.Type(QStringLiteral("+3")); }, "5.00"},
        {"time picker", edTimePickerDropDown, "10:20:30",
         [](DropDownEditors& f) {
             f.Key(Qt::Key_Home);
             f.Type(QStringLiteral("11"));
         }, "11:20:30"},
        // Green is the third of the standard colours: Down picks the fourth
        {"colour picker", edColorPickerDropDown, "",
         [](DropDownEditors& f) { f.Key(Qt::Key_Down); }, "Olive"},
        {"image picker", edImagePickerDropDown, "", [](DropDownEditors& f) { f.Key(Qt::Key_Down); }, ""},
        // a typed beginning completes to the first caption that starts with it
        {"detail picker", edDetailDropDown, "Beta", [](DropDownEditors& f) { f.Type(QStringLiteral("G")); }, "Gamma"},
        {"multi-column", edGridDropDown, "Beta", [](DropDownEditors& f) { f.Type(QStringLiteral("A")); }, "Alpha"},
        {"grid drop-down", edProGridDropDown, "Beta", [](DropDownEditors& f) { f.Type(QStringLiteral("G")); }, "Gamma"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        Open(c.Kind, QString::fromLatin1(c.Cell));
        ASSERT_TRUE(Grid->GetEditMode());
        QWidget* editor = Focused();
        ASSERT_NE(Editor(), nullptr);
        ASSERT_TRUE(Grid->isAncestorOf(editor));
        c.Edit(*this);
        Key(Qt::Key_Return);
        EXPECT_FALSE(Grid->GetEditMode());
        EXPECT_EQ(Grid->Cells(1, 1), QString::fromLatin1(c.AfterEnter));
        EXPECT_TRUE(Dialog.isVisible());
        EXPECT_FALSE(editor->isVisible());
        EXPECT_FALSE(editor->isEnabled());
        EXPECT_EQ(Focused(), Grid);
    }
    EXPECT_EQ(Grid->GetColors(1, 1), TColor(0x008080));
    EXPECT_EQ(ImageIdx(), 1);
    EXPECT_TRUE(Grid->ProGridDropDown()->Grid()->FixedRowAlways());   // its header row stays
}

TEST_F(DropDownEditors, EscapeRestoresTheCellAndClosesWithoutValidation)
{
    int validations = 0;
    Grid->OnCellValidate = [&](TObject*, int, int, QString&, bool&) { ++validations; };
    const Case cases[] = {
        {"trackbar", edTrackbarDropDown, "3", [](DropDownEditors& f) { f.Key(Qt::Key_Down); }, ""},
        {"memo", edMemoDropDown, "abc", [](DropDownEditors& f) { f.Type(QStringLiteral("xyz")); }, ""},
        {"calculator", edCalculatorDropDown, "2", [](DropDownEditors& f) { f.Type(QStringLiteral("7")); }, ""},
        {"time picker", edTimePickerDropDown, "10:20:30",
         [](DropDownEditors& f) { f.Key(Qt::Key_Home); f.Type(QStringLiteral("09")); }, ""},
        {"colour picker", edColorPickerDropDown, "Green", [](DropDownEditors& f) { f.Key(Qt::Key_Down); }, ""},
        {"image picker", edImagePickerDropDown, "", [](DropDownEditors& f) { f.Key(Qt::Key_Down); }, ""},
        {"detail picker", edDetailDropDown, "Beta", [](DropDownEditors& f) { f.Type(QStringLiteral("al")); }, ""},
        {"multi-column", edGridDropDown, "Beta", [](DropDownEditors& f) { f.Type(QStringLiteral("x")); }, ""},
        {"grid drop-down", edProGridDropDown, "Beta", [](DropDownEditors& f) { f.Type(QStringLiteral("x")); }, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        Open(c.Kind, QString::fromLatin1(c.Cell));
        ASSERT_NE(Editor(), nullptr);
        c.Edit(*this);
        Key(Qt::Key_Escape);
        EXPECT_FALSE(Grid->GetEditMode());
        EXPECT_EQ(Grid->Cells(1, 1), QString::fromLatin1(c.Cell));
        EXPECT_EQ(Focused(), Grid);
        EXPECT_TRUE(Dialog.isVisible());
    }
    EXPECT_EQ(validations, 0);
    // the colour and the image the editors opened with stay
    EXPECT_EQ(Grid->GetColors(1, 1), TColor(0x008000));
    EXPECT_EQ(ImageIdx(), 0);
}

TEST_F(DropDownEditors, ARefusedValueKeepsTheEditorOnItsCell)
{
    Grid->OnCellValidate = [](TObject*, int, int, QString& v, bool& valid) { valid = !v.contains(QLatin1Char('5')); };
    // the editor keeps the refused value for the user to mend; the cell keeps its own
    Open(edTrackbarDropDown, QStringLiteral("3"));
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    Key(Qt::Key_Return);
    EXPECT_TRUE(Grid->GetEditMode());
    EXPECT_EQ(Grid->Row(), 1);
    EXPECT_EQ(Grid->Cells(1, 1), "3");
    EXPECT_EQ(Grid->TrackbarDropDown()->Text(), "5");
    Key(Qt::Key_Down);
    Key(Qt::Key_Return);
    EXPECT_FALSE(Grid->GetEditMode());
    EXPECT_EQ(Grid->Cells(1, 1), "6");

    // a typed editor refuses Down and Tab alike
    Grid->SetOptions(Grid->Options() + goTabs);
    for (Qt::Key k : {Qt::Key_Down, Qt::Key_Tab}) {
        Open(edMemoDropDown, QStringLiteral("ab"));
        Key(Qt::Key_End);
        Type(QStringLiteral("5"));
        Key(k);
        EXPECT_TRUE(Grid->GetEditMode()) << k;
        EXPECT_EQ(Focused(), Grid->MemoDropDown()) << k;
        EXPECT_EQ(Grid->Row(), 1) << k;
        EXPECT_EQ(Grid->Col(), 1) << k;
        Key(Qt::Key_Escape);
        EXPECT_EQ(Grid->Cells(1, 1), "ab") << k;
    }
}

TEST_F(DropDownEditors, NavigationKeysCommitAndMoveOn)
{
    // a typed editor: Up and Down commit and move; Tab with goTabs moves to the next column
    Open(edMemoDropDown, QStringLiteral("abc"));
    Type(QStringLiteral("q"));
    Key(Qt::Key_Down);
    EXPECT_FALSE(Grid->GetEditMode());
    EXPECT_EQ(Grid->Row(), 2);
    EXPECT_EQ(Grid->Cells(1, 1), "qabc");   // the memo opens with the caret at the start

    Grid->SetOptions(Grid->Options() + goTabs);
    Open(edMemoDropDown, QStringLiteral("abc"));
    Key(Qt::Key_End);
    Type(QStringLiteral("d"));
    Key(Qt::Key_Tab);
    EXPECT_FALSE(Grid->MemoDropDown()->isVisible());
    EXPECT_EQ(Grid->Cells(1, 1), "abcd");
    EXPECT_EQ(Grid->Col(), 2);
    EXPECT_EQ(Grid->Row(), 1);
    Grid->SetOptions(Grid->Options() - goTabs);
    Key(Qt::Key_Escape);

    // the closed detail picker steps to the next item on Down, then commits it and moves on
    Open(edDetailDropDown, QStringLiteral("Alpha"));
    Key(Qt::Key_Down);
    EXPECT_FALSE(Grid->GetEditMode());
    EXPECT_EQ(Grid->Cells(1, 1), "Beta");
    EXPECT_EQ(Grid->Row(), 2);
    // its open list keeps the arrows; Enter then takes the item and commits it
    Open(edDetailDropDown, QStringLiteral("Alpha"));
    Key(Qt::Key_F4);
    ASSERT_TRUE(Grid->DetailPickerDropDown()->DroppedDown());
    QWindow* list = Grid->DetailPickerDropDown()->DropDownForm()->windowHandle();
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_TRUE(Grid->GetEditMode());
    EXPECT_TRUE(Grid->DetailPickerDropDown()->DroppedDown());
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_FALSE(Grid->GetEditMode());
    EXPECT_EQ(Grid->Cells(1, 1), "Beta");
    EXPECT_EQ(Grid->Row(), 1);   // Enter advances only with AdvanceOnEnter

    // Alt+Down opens a picker's list; Escape there cancels the list and the editor
    Open(edColorPickerDropDown, QString());
    ASSERT_EQ(Focused(), Grid->ColorPickerDropDown());
    Key(Qt::Key_Down, Qt::AltModifier);
    EXPECT_TRUE(Grid->ColorPickerDropDown()->DroppedDown());
    EXPECT_TRUE(Grid->GetEditMode());   // the list taking the focus keeps the editor
    Grid->ColorPickerDropDown()->setFocus();
    Key(Qt::Key_Escape);
    EXPECT_FALSE(Grid->ColorPickerDropDown()->DroppedDown());
    EXPECT_FALSE(Grid->GetEditMode());
    EXPECT_EQ(Grid->Cells(1, 1), "");   // the cell keeps its own text
    // Alt+Up reaches the picker's editor, which commits and closes (row 1 is the first below
    // the header); an unchanged colour keeps the cell's text
    Open(edColorPickerDropDown, QString());
    Key(Qt::Key_Up, Qt::AltModifier);
    EXPECT_FALSE(Grid->GetEditMode());
    EXPECT_EQ(Grid->Cells(1, 1), "");
    EXPECT_EQ(Grid->Row(), 1);
}

TEST_F(DropDownEditors, LosingTheFocusClosesTheEditorAndKeepsItsValue)
{
    Open(edMemoDropDown, QStringLiteral("abc"));
    Key(Qt::Key_End);
    Type(QStringLiteral("!"));
    QTest::mouseClick(Other, Qt::LeftButton);
    Other->setFocus();
    EXPECT_FALSE(Grid->GetEditMode());
    EXPECT_FALSE(Grid->MemoDropDown()->isVisible());
    EXPECT_EQ(Grid->Cells(1, 1), "abc!");
}

TEST_F(DropDownEditors, ThePickersReportEachChoiceAndTheValueTheyStore)
{
    std::vector<std::pair<TColor, QString>> colours;
    Grid->OnColorSelect = [&](TObject* s, int c, int r, TColor k, const QString& v) {
        EXPECT_EQ(s, Grid);
        EXPECT_EQ(c, 1);
        EXPECT_EQ(r, 1);
        colours.push_back({k, v});
    };
    Grid->OnColorSelected = [](TObject*, int, int, TColor& k, QString& v) {
        k = 0x0000FF;
        v = QStringLiteral("mine");
    };
    Open(edColorPickerDropDown, QString());
    EXPECT_TRUE(colours.empty());   // loading the cell's colour is no choice
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    Key(Qt::Key_Up);
    Key(Qt::Key_Return);
    EXPECT_EQ(colours[0], (std::pair<TColor, QString>{0x008080, "Olive"}));
    EXPECT_EQ(colours.back(), (std::pair<TColor, QString>{0x008080, "Olive"}));   // Enter picks again
    EXPECT_EQ(Grid->Cells(1, 1), "mine");
    EXPECT_EQ(Grid->GetColors(1, 1), TColor(0x0000FF));

    std::vector<int> images;
    Grid->OnImageSelect = [&](TObject* s, int, int, int i) {
        EXPECT_EQ(s, Grid);
        images.push_back(i);
    };
    Grid->OnImageSelected = [](TObject*, int, int, int& n) { n += 1; };
    Open(edImagePickerDropDown, QString());
    Key(Qt::Key_End);
    Key(Qt::Key_Return);
    EXPECT_EQ(images, (std::vector<int>{2, 2}));   // End picks the last; Enter picks it again
    EXPECT_EQ(ImageIdx(), 3);
}

TEST_F(DropDownEditors, TheDropButtonOrDirectComboDropOpensTheList)
{
    Open(edTrackbarDropDown, QStringLiteral("4"));
    TGridTrackbarDropDown* tb = Grid->TrackbarDropDown();
    EXPECT_FALSE(tb->DroppedDown());
    QTest::mouseClick(tb->Button()->Button(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(tb->DroppedDown());
    EXPECT_TRUE(Grid->GetEditMode());
    tb->HideDropDown(true);
    tb->setFocus();
    Key(Qt::Key_Escape);

    Grid->MouseActions()->SetDirectComboDrop(true);
    for (TEditorType kind : {edTrackbarDropDown, edMemoDropDown, edCalculatorDropDown, edTimePickerDropDown,
                             edColorPickerDropDown, edImagePickerDropDown, edDetailDropDown, edGridDropDown,
                             edProGridDropDown}) {
        SCOPED_TRACE(kind);
        Open(kind, QStringLiteral("1"));
        TProCustomDropDown* dd = Grid->TrackbarDropDown();
        switch (kind) {
        case edMemoDropDown: dd = Grid->MemoDropDown(); break;
        case edCalculatorDropDown: dd = Grid->CalculatorDropDown(); break;
        case edTimePickerDropDown: dd = Grid->TimePickerDropDown(); break;
        case edColorPickerDropDown: dd = Grid->ColorPickerDropDown(); break;
        case edImagePickerDropDown: dd = Grid->ImagePickerDropDown(); break;
        case edDetailDropDown: dd = Grid->DetailPickerDropDown(); break;
        case edGridDropDown: dd = Grid->GridDropDown(); break;
        case edProGridDropDown: dd = Grid->ProGridDropDown(); break;
        default: break;
        }
        EXPECT_TRUE(dd->DroppedDown());
        EXPECT_TRUE(Grid->GetEditMode());
        dd->HideDropDown(true);
        dd->setFocus();
        Key(Qt::Key_Escape);
        EXPECT_FALSE(Grid->GetEditMode());
    }
}

TEST_F(DropDownEditors, TypingOpensTheEditorWithTheCharacterAndItsButtonsAreRelayed)
{
    QString changed;
    Grid->OnEditChange = [&](TObject*, int, int, const QString& v) { changed = v; };
    QString pressed;
    Grid->OnKeyPress = [&](TObject* s, QChar& k) {
        if (s == static_cast<TObject*>(Grid->MemoDropDown())) pressed += k;
    };
    Grid->Columns()->Items(1)->SetEditor(edMemoDropDown);
    Grid->SetCells(1, 1, QString());
    Goto(1, 1);
    QTest::keyClicks(Grid, QStringLiteral("n"));
    ASSERT_EQ(Focused(), Grid->MemoDropDown());
    Type(QStringLiteral("ew"));
    EXPECT_EQ(Grid->MemoDropDown()->Text(), "new");
    EXPECT_EQ(changed, "new");
    EXPECT_EQ(pressed, "new");

    std::vector<std::pair<char, int>> clicks;
    Grid->OnDropDownHeaderButtonClick = [&](TObject*, int c, int r, int i) {
        EXPECT_EQ(c, 1);
        EXPECT_EQ(r, 1);
        clicks.push_back({'h', i});
    };
    Grid->OnDropDownFooterButtonClick = [&](TObject*, int, int, int i) { clicks.push_back({'f', i}); };
    Grid->MemoDropDown()->OnDropDownHeaderButtonClick(Grid->MemoDropDown(), 2);
    Grid->MemoDropDown()->OnDropDownFooterButtonClick(Grid->MemoDropDown(), 0);
    EXPECT_EQ(clicks, (std::vector<std::pair<char, int>>{{'h', 2}, {'f', 0}}));
    Key(Qt::Key_Return);
    EXPECT_EQ(Grid->Cells(1, 1), "new");
}
