// Every in-cell editor kind on a shown grid, driven by real keys: a cell the user leaves
// unchanged, or cancels, keeps its text byte for byte; an edit is stored in the cell's own
// format.
#include "editor_locale.h"
#include "grid/control/grid_date_pickers.h"
#include "grid/control/grid_spin.h"
#include "picker_fixture.h"

#include <QMenu>

namespace {

struct EditorProtocol : PickerFixture {
    ScopedFormatSettings Locale{EditorTestLocale()};
    // select events fired since the last reset
    int Selects = 0;
    int Validations = 0;

    void SetUp() override
    {
        PickerFixture::SetUp();
        Grid->BtnUnitEdit()->SetUnits({QStringLiteral("mm"), QStringLiteral("m")});
        Grid->OnEllipsClick = [](TObject*, int, int, QString& s) { s += QLatin1Char('!'); };
        Grid->Columns()->Items(1)->SetSpinMax(100);
        for (const char* s : {"A", "B", "C", "ABC"}) Grid->Columns()->Items(1)->ComboItems()->Add(QString::fromLatin1(s));
        Grid->SetValidChars(QStringLiteral("0123456789"));
        Grid->OnColorSelect = [this](TObject*, int, int, TColor, const QString&) { ++Selects; };
        Grid->OnColorSelected = [this](TObject*, int, int, TColor&, QString&) { ++Selects; };
        Grid->OnImageSelect = [this](TObject*, int, int, int) { ++Selects; };
        Grid->OnImageSelected = [this](TObject*, int, int, int&) { ++Selects; };
        Grid->OnComboChange = [this](TObject*, int, int, int, const QString&) { ++Selects; };
        Grid->OnCellValidate = [this](TObject*, int, int, QString&, bool&) { ++Validations; };
    }
    void Open(TEditorType kind, const QString& cell, TOpen how)
    {
        OpenEditor(kind, cell, how, QString(), [&] {
            Grid->SetColors(1, 1, 0x008000);   // Green
            if (kind == edImagePickerDropDown) Grid->AddImageIdx(1, 1, 0, haLeft, vaTop);
        });
    }
    // The cell as the user sees it: its text, its colour and its image.
    void ExpectCellAsItWas(const QString& cell, TEditorType kind, const char* after)
    {
        EXPECT_EQ(Grid->Cells(1, 1).toUtf8(), cell.toUtf8()) << after;
        EXPECT_EQ(Grid->GetColors(1, 1), TColor(0x008000)) << after;
        if (kind == edImagePickerDropDown) {
            EXPECT_EQ(ImageIdx(), 0) << after;
        }
    }
};

using TEdit = std::function<void(EditorProtocol&)>;

TEdit Keys(std::initializer_list<Qt::Key> list)
{
    return [ks = std::vector<Qt::Key>(list)](EditorProtocol& f) {
        for (Qt::Key k : ks) f.Key(k);
    };
}

TEdit AtEnd(const char* typed)
{
    return [typed](EditorProtocol& f) {
        f.Key(Qt::Key_End);
        f.Type(QString::fromLatin1(typed));
    };
}

TEdit Typed(const char* typed)
{
    return [typed](EditorProtocol& f) { f.Type(QString::fromLatin1(typed)); };
}

struct Row {
    TEditorType Kind;
    const char* Valid;
    std::vector<const char*> Odd;   // invalid, out of range or in another format
    TOpen How;                      // how the edit that is committed opens the editor
    TEdit Edit;
    const char* AfterEnter;   // the cell after the edit and Enter; nullptr: the cell keeps its text
    const char* Note;
};

} // namespace

TEST_F(EditorProtocol, EveryKindLeavesAnUnchangedOrCancelledCellAsItWasAndStoresAnEditInItsFormat)
{
    const Row rows[] = {
        {edNormal, "abc", {""}, ByF2, AtEnd("d"), "abcd", ""},
        {edNumeric, "12", {"x1"}, ByDoubleClick, AtEnd("3"), "123", ""},
        {edPositiveNumeric, "12", {"-5"}, ByF2, AtEnd("3"), "123", ""},
        {edFloat, "1.5", {"abc"}, ByF2, AtEnd("2"), "1.52", ""},
        {edCapital, "AB", {"ab"}, ByF2, AtEnd("c"), "ABC", ""},
        {edPassword, "secret", {""}, ByF2, AtEnd("x"), "secretx", ""},
        {edLowerCase, "ab", {"AB"}, ByF2, AtEnd("C"), "abc", ""},
        {edUpperCase, "AB", {"ab"}, ByF2, AtEnd("c"), "ABC", ""},
        {edValidChars, "12", {"ab"}, ByF2, AtEnd("x3"), "123", ""},
        {edPositiveFloat, "1.5", {"-2"}, ByF2, AtEnd("-2"), "1.52", ""},
        {edComboEdit, "B", {"zz"}, ByF2, AtEnd("q"), "Bq", ""},
        {edComboList, "B", {"zz"}, ByF2, Keys({Qt::Key_Down}), "C",
         "a cell that names an item in another letter case gets the item's case"},
        {edSpinEdit, "5", {"581", "150", "-5", "abc", "12 pcs"}, ByF2, Keys({Qt::Key_Up}), "6", ""},
        {edFloatSpinEdit, "1.5", {"250.5", "abc"}, ByF2, Keys({Qt::Key_PageUp}), "2.50",
         "stored through Floats: the grid's FloatFormat"},
        {edTimeSpinEdit, "10:20:30", {"xyz"}, ByDoubleClick, Keys({Qt::Key_Up}), "10:20:31", ""},
        {edDateSpinEdit, "08/03/2024", {"not a date"}, ByF2, Keys({Qt::Key_Up}), "08/03/2025", ""},
        {edDateEdit, "07/06/2022", {"not a date", "27/5/20"}, ByF2, Keys({Qt::Key_Up, Qt::Key_Up}), "09/06/2022", ""},
        {edDateEditUpDown, "27/05/2020", {""}, ByDoubleClick, Keys({Qt::Key_Up}), "28/05/2020", ""},
        {edTimeEdit, "10:20:30", {"xyz", "10:20"}, ByF2, Keys({Qt::Key_Up}), "11:20:30", ""},
        {edDateTimeEdit, "08/03/2024 10:20", {"junk"}, ByF2, Keys({Qt::Key_Up}), "09/03/2024 10:20", ""},
        {edEditBtn, "abc", {""}, ByF2, AtEnd("d"), "abcd", ""},
        {edNumericEditBtn, "12", {"x"}, ByF2, AtEnd("x3"), "123", ""},
        {edFloatEditBtn, "1.5", {"abc"}, ByF2, AtEnd(".7"), "1.57", ""},
        {edMaskEditBtn, "abc", {""}, ByDoubleClick, AtEnd("d"), "abcd", ""},
        {edUnitEditBtn, "10mm", {"10", "mm"}, ByF2, AtEnd("5"), "105mm", ""},
        {edNumericUnitEditBtn, "10mm", {"x"}, ByF2, AtEnd("5"), "105mm", ""},
        {edFloatUnitEditBtn, "1.5mm", {"abc"}, ByF2, AtEnd(".7"), "1.57mm", ""},
        {edCheckBox, "Yes", {""}, ByF2, Keys({Qt::Key_Space}), nullptr, "nothing is written back"},
        {edButton, "go", {""}, ByF2, [](EditorProtocol& f) { QTest::mouseClick(f.Grid->ButtonEditor(), Qt::LeftButton); },
         "go!", "a click writes the caption OnEllipsClick gives"},
        {edTrackbarDropDown, "3", {"abc"}, ByF2, Keys({Qt::Key_Down}), "4", "the bar's number formatting"},
        {edMemoDropDown, "abc", {""}, ByF2, AtEnd("d"), "abcd", ""},
        {edCalculatorDropDown, "2", {"abc"}, ByF2, Typed("+3"), "5.00", "the calculator formats its result"},
        {edTimePickerDropDown, "10:20:30", {"", "10:20", "xyz"}, ByF2,
         [](EditorProtocol& f) { f.Key(Qt::Key_Home); f.Type(QStringLiteral("11")); }, "11:20:30", ""},
        {edDetailDropDown, "Beta", {"zz"}, ByF2, Typed("G"), "Gamma", ""},
        {edGridDropDown, "Beta", {"zz"}, ByF2, Typed("A"), "Alpha", ""},
        {edColorPickerDropDown, "my note", {""}, ByF2, Keys({Qt::Key_Down}), "Olive", "the text is the colour's name"},
        {edImagePickerDropDown, "", {"x"}, ByF2, Keys({Qt::Key_Down}), nullptr, "the image index is stored, not the text"},
        {edProGridDropDown, "Beta", {"zz"}, ByF2, Typed("G"), "Gamma", ""},
    };
    for (const Row& r : rows) {
        std::vector<const char*> texts{r.Valid};
        texts.insert(texts.end(), r.Odd.begin(), r.Odd.end());
        for (const char* t : texts) {
            const QString cell = QString::fromLatin1(t);
            for (TOpen how : {ByF2, ByDoubleClick}) {
                SCOPED_TRACE(::testing::Message() << "kind " << int(r.Kind) << " on \"" << t << "\", open " << how);
                Open(r.Kind, cell, how);
                ASSERT_TRUE(Grid->GetEditMode());
                Key(Qt::Key_Return);
                EXPECT_FALSE(Grid->GetEditMode());
                ExpectCellAsItWas(cell, r.Kind, "Enter unchanged");
                EXPECT_TRUE(Dialog.isVisible());
            }
            SCOPED_TRACE(::testing::Message() << "kind " << int(r.Kind) << " on \"" << t << "\"");
            Open(r.Kind, cell, r.How);
            ASSERT_TRUE(Grid->GetEditMode());
            r.Edit(*this);
            Selects = Validations = 0;
            Key(Qt::Key_Escape);
            EXPECT_FALSE(Grid->GetEditMode());
            ExpectCellAsItWas(cell, r.Kind, "Escape after an edit");
            EXPECT_EQ(Selects, 0);
            EXPECT_EQ(Validations, 0);
            EXPECT_TRUE(Dialog.isVisible());
            EXPECT_EQ(Focused(), Grid);
        }
        SCOPED_TRACE(::testing::Message() << "kind " << int(r.Kind) << ", edit and Enter");
        Open(r.Kind, QString::fromLatin1(r.Valid), r.How);
        r.Edit(*this);
        Key(Qt::Key_Return);
        EXPECT_FALSE(Grid->GetEditMode());
        EXPECT_EQ(Grid->Cells(1, 1), QString::fromLatin1(r.AfterEnter ? r.AfterEnter : r.Valid)) << r.Note;
        EXPECT_TRUE(Dialog.isVisible());
        if (r.Kind == edImagePickerDropDown) {
            EXPECT_EQ(ImageIdx(), 1);
        }
    }
}

TEST_F(EditorProtocol, TheColumnsSpinLimitsReachTheEditor)
{
    TGridColumnItem* c = Grid->Columns()->Items(1);
    c->SetSpinMin(10);
    c->SetSpinMax(20);
    c->SetSpinStep(5);
    Open(edSpinEdit, QStringLiteral("12"), ByF2);
    Key(Qt::Key_Up);
    EXPECT_EQ(Grid->SpinEdit()->text(), "17");
    Key(Qt::Key_Up);   // past the maximum: it stops there
    EXPECT_EQ(Grid->SpinEdit()->text(), "20");
    Key(Qt::Key_Return);
    EXPECT_EQ(Grid->Cells(1, 1), "20");

    // equal bounds (a new column's 0 and 0) mean no range: 581 stays 581
    c->SetSpinMin(0);
    c->SetSpinMax(0);
    c->SetSpinStep(1);
    Open(edSpinEdit, QStringLiteral("581"), ByF2);
    Key(Qt::Key_Up);
    Key(Qt::Key_Return);
    EXPECT_EQ(Grid->Cells(1, 1), "582");
}

TEST_F(EditorProtocol, ARefusedUnitValueComesBackWithItsUnitOnce)
{
    Grid->OnCellValidate = [](TObject*, int, int, QString& v, bool& valid) { valid = !v.contains(QLatin1Char('5')); };
    Open(edUnitEditBtn, QStringLiteral("10mm"), ByF2);
    Key(Qt::Key_End);
    Type(QStringLiteral("5"));
    Key(Qt::Key_Return);
    ASSERT_TRUE(Grid->GetEditMode());   // refused: the editor stays
    EXPECT_EQ(Grid->BtnUnitEdit()->text(), "10");
    EXPECT_EQ(Grid->BtnUnitEdit()->TextAndUnit(), "10mm");
    Key(Qt::Key_End);
    Type(QStringLiteral("7"));
    Key(Qt::Key_Return);
    EXPECT_FALSE(Grid->GetEditMode());
    EXPECT_EQ(Grid->Cells(1, 1), "107mm");

    // the float unit kind filters over its own text: a second separator is dropped
    Grid->OnCellValidate = nullptr;
    Open(edFloatUnitEditBtn, QStringLiteral("1.5mm"), ByF2);
    Key(Qt::Key_End);
    Type(QStringLiteral(".7."));
    EXPECT_EQ(Grid->BtnUnitEdit()->text(), "1.57");
    Key(Qt::Key_Escape);
}

TEST_F(EditorProtocol, ACancelledCalculationDoesNotCarryOverToTheNextOpening)
{
    Open(edCalculatorDropDown, QStringLiteral("2"), ByF2);
    Type(QStringLiteral("+3"));
    Key(Qt::Key_Escape);
    EXPECT_EQ(Grid->Cells(1, 1), "2");
    Open(edCalculatorDropDown, QStringLiteral("10"), ByF2);
    Type(QStringLiteral("+3"));
    Key(Qt::Key_Return);
    EXPECT_EQ(Grid->Cells(1, 1), "13.00");
}

TEST_F(EditorProtocol, TheEditButtonEditorWalksOutAndCompletesFromTheLookupItems)
{
    Grid->Navigation()->SetCursorWalkEditor(true);
    // Right at the end of the text leaves for the next cell, storing the edit
    Open(edEditBtn, QStringLiteral("abc"), ByF2);
    Key(Qt::Key_End);
    Type(QStringLiteral("d"));
    Key(Qt::Key_Right);
    EXPECT_EQ(Grid->Col(), 2);
    EXPECT_NE(Focused(), Grid->BtnEdit());
    EXPECT_EQ(Grid->Cells(1, 1), "abcd");
    // Right inside the text moves the caret; a Right onto the end stops there
    Open(edEditBtn, QStringLiteral("abc"), ByF2);
    Key(Qt::Key_Home);
    Key(Qt::Key_Right);
    Key(Qt::Key_Right);
    Key(Qt::Key_Right);
    EXPECT_EQ(Grid->Col(), 1);
    EXPECT_EQ(Grid->BtnEdit()->cursorPosition(), 3);
    Key(Qt::Key_Escape);
    Grid->Navigation()->SetCursorWalkEditor(false);
    Open(edEditBtn, QStringLiteral("abc"), ByF2);
    Key(Qt::Key_End);
    Key(Qt::Key_Right);
    EXPECT_EQ(Grid->Col(), 1);   // without cursor walking the editor stays
    Key(Qt::Key_Escape);

    Grid->SetLookup(true);
    Grid->LookupItems()->SetStrings({QStringLiteral("Alpha"), QStringLiteral("Beta")});
    Open(edEditBtn, QString(), ByF2);
    Type(QStringLiteral("al"));
    EXPECT_EQ(Grid->BtnEdit()->text(), "alpha");   // the typed part keeps its case
    EXPECT_EQ(Grid->BtnEdit()->selectedText(), "pha");
    Key(Qt::Key_Backspace);   // a deletion completes nothing
    EXPECT_EQ(Grid->BtnEdit()->text(), "al");
    Key(Qt::Key_Return);
    EXPECT_EQ(Grid->Cells(1, 1), "al");
    Open(edEditBtn, QString(), ByF2);
    Type(QStringLiteral("B"));
    Key(Qt::Key_Return);
    EXPECT_EQ(Grid->Cells(1, 1), "Beta");
}

TEST_F(EditorProtocol, TheDateEditorTakesTypedDigitsInEveryFieldAndWritesTheGridsFormat)
{
    struct DateCase {
        const char* What;
        const char* Format;   // the picker's own display format, "" for the grid's
        const char* Typed;    // from the first field on
        const char* Expected;
    };
    const DateCase cases[] = {
        {"the grid's format", "", "0711", "07/11/2022"},
        {"one digit, then the next field", "", "411", "04/11/2022"},
        {"a display format of its own", "dd.mm.yy", "0711", "07/11/2022"},
        // a month shown by name takes its number
        {"two month digits", "dd mmm yyyy", "0711", "07/11/2022"},
        {"one month digit that no second can follow", "dd mmmm yyyy", "073", "07/03/2022"},
        {"a month digit, then the year", "dd mmm yyyy", "07012023", "07/01/2023"},
    };
    // wide enough for the month's name
    Grid->SetColWidths(1, 200);
    for (const DateCase& c : cases) {
        SCOPED_TRACE(c.What);
        Grid->OnGetEditorProp = [&](TObject*, int, int, TEditLink*) {
            Grid->DateTimePicker()->SetFormat(QString::fromLatin1(c.Format));
        };
        Open(edDateEdit, QStringLiteral("07/06/2022"), ByF2);
        Key(Qt::Key_Return);
        EXPECT_EQ(Grid->Cells(1, 1), "07/06/2022");   // unchanged: as it was
        Open(edDateEdit, QStringLiteral("07/06/2022"), ByF2);
        if (QByteArray(c.Format).contains("mmm")) {
            EXPECT_TRUE(Grid->DateTimePicker()->sectionText(QDateTimeEdit::MonthSection).startsWith(QLatin1String("Jun")));
        }
        Type(QString::fromLatin1(c.Typed));
        Key(Qt::Key_Return);
        EXPECT_EQ(Grid->Cells(1, 1), QString::fromLatin1(c.Expected));
    }
}

TEST_F(EditorProtocol, HeaderCellEditorsCommitOnEnterAndKeepTheHeaderOnEscapeInsideTheDialog)
{
    struct HeaderCase {
        TGridFixedCellEditor Kind;
        const char* Head;
        std::function<void(EditorProtocol&)> Edit;
        const char* AfterEnter;
    };
    const QStringList items{QStringLiteral("Alpha"), QStringLiteral("Beta")};
    const HeaderCase cases[] = {
        {fceEdit, " Head\t1 ", [](EditorProtocol& f) { f.Key(Qt::Key_End); f.Type(QStringLiteral("x")); }, " Head\t1 x"},
        {fceComboEdit, "Head", [](EditorProtocol& f) { f.Key(Qt::Key_End); f.Type(QStringLiteral("x")); }, "Headx"},
        // a header that is none of the list's items shows no item: unchanged, it stays
        {fceComboList, "Head", [](EditorProtocol& f) { f.Key(Qt::Key_Down); }, "Alpha"},
    };
    Grid->MouseActions()->SetFixedComboValues(items);
    for (const HeaderCase& c : cases) {
        SCOPED_TRACE(int(c.Kind));
        Grid->MouseActions()->SetFixedRowsEditor(c.Kind);
        const QString head = QString::fromLatin1(c.Head);
        QWidget* editor = c.Kind == fceEdit ? static_cast<QWidget*>(Grid->FixedCellEdit()) : Grid->FixedCellCombo();
        auto open = [&] {
            Grid->SetCells(2, 0, head);
            Grid->EditFixedCell(2, 0);
            ASSERT_TRUE(editor->isVisible());
            ASSERT_EQ(Focused(), editor);
        };
        // Enter unchanged: byte for byte as it was
        open();
        Key(Qt::Key_Return);
        EXPECT_FALSE(editor->isVisible());
        EXPECT_EQ(Grid->Cells(2, 0).toUtf8(), head.toUtf8());
        EXPECT_TRUE(Dialog.isVisible());
        EXPECT_EQ(Focused(), Grid);
        // Escape after an edit: the header keeps its text and the dialog stays open
        open();
        c.Edit(*this);
        Key(Qt::Key_Escape);
        EXPECT_FALSE(editor->isVisible());
        EXPECT_EQ(Grid->Cells(2, 0).toUtf8(), head.toUtf8());
        EXPECT_TRUE(Dialog.isVisible());
        EXPECT_EQ(Focused(), Grid);
        // the grid's focus after Escape stored nothing either
        QApplication::processEvents();
        EXPECT_EQ(Grid->Cells(2, 0).toUtf8(), head.toUtf8());
        // Enter after an edit stores it, and the dialog's default button stays unpressed
        open();
        c.Edit(*this);
        Key(Qt::Key_Return);
        EXPECT_FALSE(editor->isVisible());
        EXPECT_EQ(Grid->Cells(2, 0), QString::fromLatin1(c.AfterEnter));
        EXPECT_TRUE(Dialog.isVisible());
        EXPECT_EQ(Focused(), Grid);
    }
}

TEST_F(EditorProtocol, TheDateAndTimeEditorsShowTheWholeValueInANarrowColumn)
{
    struct FitCase {
        TEditorType Kind;
        const char* Format;   // the picker's display format, "" for the grid's
        const char* Cell;
        std::vector<const char*> Shows;   // parts of the value the text must hold whole
    };
    const FitCase cases[] = {
        {edDateEdit, "", "27/05/2020", {"27", "05", "2020"}},
        {edDateEdit, "dd mmmm yyyy", "27/05/2020", {"27", "2020"}},
        {edDateEditUpDown, "dd mmm yyyy", "27/05/2020", {"27", "2020"}},
        {edTimeEdit, "", "10:20:30", {"10:20:30"}},
    };
    Grid->SetColWidths(1, 90);
    TGridDatePicker* p = Grid->DateTimePicker();
    for (const FitCase& c : cases) {
        SCOPED_TRACE(c.Format);
        Grid->OnGetEditorProp = [&](TObject*, int, int, TEditLink*) { p->SetFormat(QString::fromLatin1(c.Format)); };
        Open(c.Kind, QString::fromLatin1(c.Cell), ByF2);
        ASSERT_EQ(Focused(), p);
        auto* edit = p->findChild<QLineEdit*>();
        ASSERT_NE(edit, nullptr);
        const QString shown = edit->text();
        for (const char* part : c.Shows) EXPECT_TRUE(shown.contains(QLatin1String(part))) << shown.toStdString();
        const QMargins m = edit->textMargins();
        EXPECT_LE(edit->fontMetrics().horizontalAdvance(shown), edit->contentsRect().width() - m.left() - m.right() - 4)
            << shown.toStdString();
        // the cell keeps its text and its format
        Key(Qt::Key_Return);
        EXPECT_EQ(Grid->Cells(1, 1), QString::fromLatin1(c.Cell));
    }
    // a month typed by number lands, in a narrow column and after the picker edited a time
    Grid->OnGetEditorProp = [&](TObject*, int, int, TEditLink*) { p->SetFormat(QStringLiteral("dd mmm yyyy")); };
    Open(edDateEdit, QStringLiteral("27/05/2020"), ByF2);
    Type(QStringLiteral("0309"));
    Key(Qt::Key_Return);
    EXPECT_EQ(Grid->Cells(1, 1), "03/09/2020");
}
