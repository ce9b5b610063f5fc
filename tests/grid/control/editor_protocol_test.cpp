// Every in-cell editor kind on a shown grid, driven by real keys: a cell the user leaves
// unchanged, or cancels, keeps its text byte for byte; an edit is stored in the cell's own
// format.
#include "edit_fixture.h"
#include "editor_locale.h"
#include "grid/control/grid_date_pickers.h"
#include "grid/control/grid_dropdowns.h"
#include "grid/control/grid_spin.h"
#include "platform/ui/image_list.h"

#include <QMenu>

namespace {

struct EditorProtocol : EditFixture {
    ScopedFormatSettings Locale{EditorTestLocale()};
    TCustomImageList Images{8, 8};
    // select events fired since the last reset
    int Selects = 0;
    int Validations = 0;

    void SetUp() override
    {
        EditFixture::SetUp();
        Grid->BtnUnitEdit()->SetUnits({QStringLiteral("mm"), QStringLiteral("m")});
        Grid->OnEllipsClick = [](TObject*, int, int, QString& s) { s += QLatin1Char('!'); };
        Grid->Columns()->Items(1)->SetSpinMax(100);
        for (const char* s : {"A", "B", "C", "ABC"}) Grid->Columns()->Items(1)->ComboItems()->Add(QString::fromLatin1(s));
        Grid->SetValidChars(QStringLiteral("0123456789"));
        for (Qt::GlobalColor c : {Qt::red, Qt::green, Qt::blue}) {
            QImage img(8, 8, QImage::Format_ARGB32);
            img.fill(c);
            Images.Add(img);
        }
        Grid->SetGridImages(&Images);
        for (const char* c : {"Alpha", "Beta", "Gamma"}) {
            Grid->DetailPickerDropDown()->Items().Add()->SetCaption(QString::fromLatin1(c));
            Grid->GridDropDown()->Items().Add()->SetText({QString::fromLatin1(c), QStringLiteral("notes")});
            Grid->ProGridDropDown()->Items()->Add()->SetText({QString::fromLatin1(c), QStringLiteral("notes")});
        }
        for (int i = 0; i < 2; ++i) {
            Grid->GridDropDown()->Columns().Add();
            Grid->ProGridDropDown()->Columns()->Add();
        }
        Grid->OnColorSelect = [this](TObject*, int, int, TColor, const QString&) { ++Selects; };
        Grid->OnColorSelected = [this](TObject*, int, int, TColor&, QString&) { ++Selects; };
        Grid->OnImageSelect = [this](TObject*, int, int, int) { ++Selects; };
        Grid->OnImageSelected = [this](TObject*, int, int, int&) { ++Selects; };
        Grid->OnComboChange = [this](TObject*, int, int, int, const QString&) { ++Selects; };
        Grid->OnCellValidate = [this](TObject*, int, int, QString&, bool&) { ++Validations; };
    }
    void TearDown() override { Grid->SetGridImages(nullptr); }

    void Open(TEditorType kind, const QString& cell, TOpen how)
    {
        OpenEditor(kind, cell, how, QString(), [&] {
            Grid->SetColors(1, 1, 0x008000);   // Green
            if (kind == edImagePickerDropDown) Grid->AddImageIdx(1, 1, 0, haLeft, vaTop);
        });
    }
    int ImageIdx()
    {
        int idx = -1;
        Grid->GetImageIdx(1, 1, idx);
        return idx;
    }
    // The cell as the user sees it: its text, its colour and its image.
    void ExpectCellAsItWas(const QString& cell, TEditorType kind, const char* after)
    {
        EXPECT_EQ(Grid->Cells(1, 1).toUtf8(), cell.toUtf8()) << after;
        EXPECT_EQ(Grid->GetColors(1, 1), TColor(0x008000)) << after;
        if (kind == edImagePickerDropDown) EXPECT_EQ(ImageIdx(), 0) << after;
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
        if (r.Kind == edImagePickerDropDown) EXPECT_EQ(ImageIdx(), 1);
    }
}
