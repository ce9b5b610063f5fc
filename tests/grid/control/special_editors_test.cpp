// The spin, date and time, edit-button, check box and button editors opened in a shown grid:
// opened with F2, a typed character or a double click, edited with real keys and clicks,
// committed with Enter and cancelled with Escape.
#include "edit_fixture.h"
#include "grid/control/grid_date_pickers.h"
#include "grid/control/grid_spin.h"
#include "editor_locale.h"
#include "platform/core/dateutils.h"

#include <QAbstractItemView>
#include <QCalendarWidget>
#include <QClipboard>
#include <QMenu>
#include <QMimeData>

namespace {

struct SpecialEditors : EditFixture {
    ScopedFormatSettings Locale{EditorTestLocale()};
    void SetUp() override
    {
        EditFixture::SetUp();
        Grid->BtnUnitEdit()->SetUnits({QStringLiteral("mm"), QStringLiteral("m")});
        Grid->OnEllipsClick = [](TObject*, int, int, QString& s) { s += QLatin1Char('!'); };
        // the spin steps within 0 .. 100
        Grid->Columns()->Items(1)->SetSpinMax(100);
    }
    void Open(TEditorType kind, const QString& cell, TOpen how, const QString& ch = QString())
    {
        OpenEditor(kind, cell, how, ch);
    }
};

struct Case {
    const char* What;
    TEditorType Kind;
    const char* Cell;
    TOpen How;
    const char* Typed;   // with ByChar: the opening character
    std::function<void(SpecialEditors&)> Edit;
    const char* AfterEnter;
};

} // namespace

TEST_F(SpecialEditors, EachKindOpensItsControlEditsAndCommitsWithEnter)
{
    auto keys = [](std::initializer_list<Qt::Key> list) {
        return [ks = std::vector<Qt::Key>(list)](SpecialEditors& f) {
            for (Qt::Key k : ks) f.Key(k);
        };
    };
    auto none = [](SpecialEditors&) {};
    const Case cases[] = {
        {"float spin", edFloatSpinEdit, "1.5", ByF2, "", keys({Qt::Key_PageUp}), "2.50"},
        {"spin, key up", edSpinEdit, "5", ByF2, "", keys({Qt::Key_Up}), "6"},
        {"spin, typed", edSpinEdit, "5", ByChar, "7", none, "7"},
        {"spin, Alt+PageUp below the maximum", edSpinEdit, "99", ByF2, "",
         [](SpecialEditors& f) { f.Key(Qt::Key_PageUp, Qt::AltModifier); f.Key(Qt::Key_PageUp, Qt::AltModifier); }, "100"},
        {"spin, wheel", edSpinEdit, "5", ByF2, "",
         [](SpecialEditors& f) {
             QWidget* w = f.Focused();
             const QPoint c = w->rect().center();
             QWheelEvent up(c, w->mapToGlobal(c), {}, {0, 120}, Qt::NoButton, {}, Qt::NoScrollPhase, false);
             QApplication::sendEvent(w, &up);
             QApplication::sendEvent(w, &up);
         }, "7"},
        {"spin, down button", edSpinEdit, "5", ByDoubleClick, "",
         [](SpecialEditors& f) { QTest::mouseClick(f.Grid->SpinEdit()->Button()->DownButton(), Qt::LeftButton); }, "4"},
        {"time spin", edTimeSpinEdit, "10:20:30", ByF2, "", keys({Qt::Key_Up}), "10:20:31"},
        {"date spin", edDateSpinEdit, "08/03/2024", ByF2, "", keys({Qt::Key_Up}), "08/03/2025"},
        {"date, typed day", edDateEdit, "08/03/2024", ByF2, "", [](SpecialEditors& f) { f.Type(QStringLiteral("1")); }, "01/03/2024"},
        {"date, typed opening character", edDateEdit, "08/03/2024", ByChar, "2", none, "02/03/2024"},
        {"date up-down", edDateEditUpDown, "08/03/2024", ByDoubleClick, "", keys({Qt::Key_Up}), "09/03/2024"},
        {"time", edTimeEdit, "10:20:30", ByF2, "", keys({Qt::Key_Up}), "11:20:30"},
        {"date and time", edDateTimeEdit, "08/03/2024 10:20", ByF2, "", keys({Qt::Key_Up}), "09/03/2024 10:20"},
        {"edit button, typed", edEditBtn, "abc", ByF2, "", [](SpecialEditors& f) { f.Key(Qt::Key_End); f.Type(QStringLiteral("d")); }, "abcd"},
        {"edit button, ellipsis", edEditBtn, "abc", ByDoubleClick, "",
         [](SpecialEditors& f) { QTest::mouseClick(f.Grid->BtnEdit()->Button()->Button, Qt::LeftButton); }, "abc!"},
        {"edit button, F4", edEditBtn, "abc", ByF2, "", keys({Qt::Key_F4}), "abc!"},
        {"numeric edit button", edNumericEditBtn, "12", ByF2, "",
         [](SpecialEditors& f) { f.Key(Qt::Key_End); f.Type(QStringLiteral("x3-")); }, "123"},
        {"float edit button", edFloatEditBtn, "1.5", ByF2, "",
         [](SpecialEditors& f) { f.Key(Qt::Key_End); f.Type(QStringLiteral(".2,")); }, "1.52"},
        {"unit edit, menu", edUnitEditBtn, "10mm", ByF2, "",
         [](SpecialEditors& f) {
             EXPECT_EQ(f.Grid->BtnUnitEdit()->text(), "10");
             f.Key(Qt::Key_F4);
             QMenu* m = f.Grid->BtnUnitEdit()->UnitMenu();
             ASSERT_NE(m, nullptr);
             m->setActiveAction(m->actions().at(1));
             QTest::keyClick(m, Qt::Key_Return);
             f.Grid->BtnUnitEdit()->setFocus();
         }, "10!m"},
    };
    for (const Case& c : cases) {
        Open(c.Kind, QString::fromLatin1(c.Cell), c.How, QString::fromLatin1(c.Typed));
        ASSERT_TRUE(Grid->GetEditMode()) << c.What;
        QWidget* editor = Focused();
        ASSERT_NE(editor, Grid) << c.What;
        ASSERT_TRUE(Grid->isAncestorOf(editor)) << c.What;
        c.Edit(*this);
        Key(Qt::Key_Return);
        EXPECT_FALSE(Grid->GetEditMode()) << c.What;
        EXPECT_EQ(Grid->Cells(1, 1), QString::fromLatin1(c.AfterEnter)) << c.What;
        EXPECT_TRUE(Dialog.isVisible()) << c.What;
        EXPECT_FALSE(editor->isVisible()) << c.What;
    }
}

TEST_F(SpecialEditors, EscapeRestoresTheCellText)
{
    struct Esc {
        TEditorType Kind;
        const char* Cell;
    };
    const Esc cases[] = {
        {edSpinEdit, "5"},          {edFloatSpinEdit, "1.50"},  {edTimeSpinEdit, "10:20:30"},
        {edDateSpinEdit, "08/03/2024"}, {edDateEdit, "08/03/2024"}, {edDateEditUpDown, "08/03/2024"},
        {edTimeEdit, "10:20:30"},   {edDateTimeEdit, "08/03/2024 10:20"}, {edEditBtn, "abc"},
        {edUnitEditBtn, "10mm"},
    };
    for (const Esc& c : cases) {
        Open(c.Kind, QString::fromLatin1(c.Cell), ByF2);
        ASSERT_TRUE(Grid->GetEditMode()) << c.Kind;
        // the edit-button kinds commit on Up; they get a typed character instead
        if (c.Kind == edEditBtn || c.Kind == edUnitEditBtn) Type(QStringLiteral("9"));
        else Key(Qt::Key_Up);
        Key(Qt::Key_Escape);
        EXPECT_FALSE(Grid->GetEditMode()) << c.Kind;
        EXPECT_EQ(Grid->Cells(1, 1), QString::fromLatin1(c.Cell)) << c.Kind;
        EXPECT_TRUE(Dialog.isVisible()) << c.Kind;
        EXPECT_EQ(Focused(), Grid) << c.Kind;
    }
}

TEST_F(SpecialEditors, ARefusedValueKeepsTheEditorOpenUntilAValidOne)
{
    Grid->OnCellValidate = [](TObject*, int, int, QString& value, bool& valid) { valid = value != QLatin1String("6"); };
    Open(edSpinEdit, QStringLiteral("5"), ByF2);
    Key(Qt::Key_Up);
    Key(Qt::Key_Return);
    EXPECT_TRUE(Grid->GetEditMode());
    EXPECT_EQ(Grid->Row(), 1);
    EXPECT_EQ(Grid->SpinEdit()->text(), "5");   // back to the cell's value
    EXPECT_EQ(Grid->Cells(1, 1), "5");
    Key(Qt::Key_Up);
    Key(Qt::Key_Up);
    Key(Qt::Key_Return);
    EXPECT_FALSE(Grid->GetEditMode());
    EXPECT_EQ(Grid->Cells(1, 1), "7");
}

TEST_F(SpecialEditors, TheSpinButtonsReportTheirStep)
{
    std::vector<std::pair<int, bool>> clicks;
    Grid->OnSpinClick = [&](TObject* s, int c, int r, int v, bool up) {
        EXPECT_EQ(s, Grid);
        EXPECT_EQ(c, 1);
        EXPECT_EQ(r, 1);
        clicks.push_back({v, up});
    };
    Open(edSpinEdit, QStringLiteral("5"), ByF2);
    QTest::mouseClick(Grid->SpinEdit()->Button()->UpButton(), Qt::LeftButton);
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    EXPECT_EQ(clicks, (std::vector<std::pair<int, bool>>{{6, true}, {5, false}, {4, false}}));
    Key(Qt::Key_Down, Qt::AltModifier);   // Alt+Down commits and moves down
    EXPECT_FALSE(Grid->GetEditMode());
    EXPECT_EQ(Grid->Cells(1, 1), "4");
    EXPECT_EQ(Grid->Row(), 2);
}

TEST_F(SpecialEditors, TheCheckBoxAndTheButtonEditors)
{
    Open(edCheckBox, QStringLiteral("Yes"), ByF2);
    QWidget* box = Focused();
    ASSERT_EQ(box, Grid->CheckEditor());
    EXPECT_FALSE(Grid->CheckEditor()->isChecked());
    Key(Qt::Key_Space);
    EXPECT_TRUE(Grid->CheckEditor()->isChecked());
    QTest::mouseClick(Grid->CheckEditor(), Qt::LeftButton);
    EXPECT_FALSE(Grid->CheckEditor()->isChecked());
    Key(Qt::Key_Down);   // closes and moves down
    EXPECT_FALSE(Grid->GetEditMode());
    EXPECT_EQ(Grid->Row(), 2);
    EXPECT_TRUE(Dialog.isVisible());

    int buttonClicks = 0;
    Grid->OnButtonClick = [&](TObject*, int c, int r) {
        EXPECT_EQ(c, 1);
        EXPECT_EQ(r, 1);
        ++buttonClicks;
    };
    Open(edButton, QStringLiteral("go"), ByF2);
    ASSERT_EQ(Focused(), Grid->ButtonEditor());
    QTest::mouseClick(Grid->ButtonEditor(), Qt::LeftButton);
    EXPECT_EQ(buttonClicks, 1);
    EXPECT_EQ(Grid->ButtonEditor()->text(), "go!");
    Key(Qt::Key_Escape);
    EXPECT_FALSE(Grid->GetEditMode());
    EXPECT_EQ(Grid->Cells(1, 1), "go");
    EXPECT_TRUE(Dialog.isVisible());
}

TEST_F(SpecialEditors, TheDateEditorsCalendarPicksADay)
{
    Open(edDateEdit, QStringLiteral("08/03/2024"), ByF2);
    TGridDatePicker* p = Grid->DateTimePicker();
    ASSERT_EQ(Focused(), p);
    QTest::keyClick(p, Qt::Key_F4);
    ASSERT_TRUE(p->DroppedDown());
    EXPECT_TRUE(Grid->GetEditMode());   // the calendar taking the focus keeps the editor
    QWidget* cal = p->calendarWidget()->findChild<QAbstractItemView*>();
    ASSERT_NE(cal, nullptr);
    QTest::keyClick(cal, Qt::Key_Down);
    QTest::keyClick(cal, Qt::Key_Return);
    EXPECT_FALSE(p->DroppedDown());
    p->setFocus();
    Key(Qt::Key_Return);
    EXPECT_FALSE(Grid->GetEditMode());
    EXPECT_EQ(Grid->Cells(1, 1), "15/03/2024");
}

TEST_F(SpecialEditors, PastingIntoTheEditButtonEditorFollowsThePasteEvents)
{
    struct Paste {
        const char* What;
        QMimeData* (*Data)();
        bool Allow;
        const char* Editor;   // after pasting into "ab|cd" (caret after "ab")
    };
    const Paste cases[] = {
        {"a word and its line break", [] { auto* m = new QMimeData; m->setText(QStringLiteral("xy\n")); return m; }, true, "abxycd"},
        {"a word and CR LF", [] { auto* m = new QMimeData; m->setText(QStringLiteral("xy\r\n")); return m; }, true, "abxycd"},
        {"refused by OnClipboardPaste", [] { auto* m = new QMimeData; m->setText(QStringLiteral("xy")); return m; }, false, "abcd"},
        {"no text at all", [] { auto* m = new QMimeData; m->setData(QStringLiteral("image/png"), QByteArray("\x89PNG\0\0", 6)); return m; }, true, "abcd"},
        {"an empty text", [] { auto* m = new QMimeData; m->setText(QString()); return m; }, true, "abcd"},
    };
    bool allow = true;
    Grid->OnClipboardPaste = [&](TObject* s, bool& a) {
        EXPECT_EQ(s, static_cast<TObject*>(Grid->BtnEdit()));
        a = a && allow;
    };
    for (const Paste& c : cases) {
        allow = c.Allow;
        QApplication::clipboard()->setMimeData(c.Data());
        Open(edEditBtn, QStringLiteral("abcd"), ByF2);
        TGridEditBtn* e = Grid->BtnEdit();
        e->deselect();
        e->setCursorPosition(2);
        Key(Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(e->text(), QString::fromLatin1(c.Editor)) << c.What;
        EXPECT_EQ(Grid->Cells(1, 1), QString::fromLatin1(c.Editor)) << c.What;
        Key(Qt::Key_Escape);
    }
    allow = true;

    // the value the before-paste event leaves is pasted, and a replaced selection stays selected
    Grid->OnClipboardBeforePasteCell = [](TObject*, int c, int r, QString& v, bool&) {
        EXPECT_EQ(c, 1);
        EXPECT_EQ(r, 1);
        v = v.toUpper();
    };
    QApplication::clipboard()->setText(QStringLiteral("zz"));
    Open(edEditBtn, QStringLiteral("abcd"), ByF2);
    TGridEditBtn* e = Grid->BtnEdit();
    e->setSelection(1, 2);
    Key(Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(e->text(), "aZZd");
    EXPECT_EQ(e->selectedText(), "ZZ");
    Key(Qt::Key_Return);
    EXPECT_EQ(Grid->Cells(1, 1), "aZZd");

    // a huge text is cut at the editor's length, and the cell holds what the editor shows
    Grid->OnClipboardBeforePasteCell = nullptr;
    QApplication::clipboard()->setText(QString(100000, QLatin1Char('q')));
    Open(edEditBtn, QString(), ByF2);
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Grid->BtnEdit()->text().size(), Grid->BtnEdit()->maxLength());
    EXPECT_EQ(Grid->Cells(1, 1), Grid->BtnEdit()->text());
    Key(Qt::Key_Escape);
}

TEST_F(SpecialEditors, TheDateEditorStartsInsideTheGridsBoundsOrWhereTheHookSays)
{
    struct DateCase {
        const char* What;
        TDateTime Min, Max;
        const char* Cell;
        TDateTime Expected;
    };
    const DateCase cases[] = {
        {"above the maximum", 0, EncodeDate(2024, 1, 1), "05/01/2024", EncodeDate(2023, 12, 31)},
        {"on the minimum", EncodeDate(2024, 1, 10), 0, "10/01/2024", EncodeDate(2024, 1, 11)},
        {"inside both", EncodeDate(2024, 1, 1), EncodeDate(2024, 2, 1), "15/01/2024", EncodeDate(2024, 1, 15)},
    };
    for (const DateCase& c : cases) {
        SCOPED_TRACE(c.What);
        Grid->SetMinDate(c.Min);
        Grid->SetMaxDate(c.Max);
        Open(edDateEdit, QString::fromLatin1(c.Cell), ByF2);
        EXPECT_EQ(Grid->DateTimePicker()->Date(), c.Expected);
        Key(Qt::Key_Escape);
        EXPECT_FALSE(Grid->GetEditMode());
    }

    // the hook's date is taken as it is, bounds or not
    Grid->SetMinDate(0);
    Grid->SetMaxDate(EncodeDate(2024, 1, 1));
    QString seen;
    Grid->OnCustomStrToDate = [&](TObject* s, const QString& t, TDateTime& d) {
        EXPECT_EQ(s, Grid);
        seen = t;
        d = EncodeDate(2025, 6, 7);
    };
    Open(edDateEditUpDown, QStringLiteral("next week"), ByF2);
    EXPECT_EQ(seen, "next week");
    EXPECT_EQ(Grid->DateTimePicker()->Date(), EncodeDate(2025, 6, 7));
    Key(Qt::Key_Return);
    EXPECT_EQ(Grid->Cells(1, 1), "next week");   // unchanged: the cell keeps its own text
    Open(edDateEditUpDown, QStringLiteral("next week"), ByF2);
    Key(Qt::Key_Up);
    Key(Qt::Key_Return);
    EXPECT_EQ(Grid->Cells(1, 1), "08/06/2025");
}

TEST_F(SpecialEditors, APressOnTheCellsSpinButtonsOpensTheEditorOneStepOn)
{
    Grid->Columns()->Items(1)->SetEditor(edSpinEdit);
    Grid->ControlLook()->SetSpinButtonsAlwaysVisible(true);
    Grid->OnHasSpinEdit = [](TObject*, int c, int, bool& has) { has = c == 1; };
    Grid->MouseActions()->SetDirectEdit(true);
    Grid->SetOptions(Grid->Options() + goEditing);
    const TRect r = Grid->CellRect(1, 1);
    struct PressCase {
        const char* What;
        QPoint At;
        const char* After;
    };
    const PressCase cases[] = {
        {"upper half", QPoint(r.Right - 5, r.Top + 2), "6"},
        {"lower half", QPoint(r.Right - 5, r.Bottom - 2), "4"},
        {"left of the buttons", QPoint(r.Right - 25, r.Top + 2), "5"},
    };
    for (const PressCase& c : cases) {
        SCOPED_TRACE(c.What);
        Grid->SetCells(1, 1, QStringLiteral("5"));
        QTest::mouseClick(Grid->viewport(), Qt::LeftButton, {}, c.At);
        ASSERT_EQ(Focused(), Grid->SpinEdit());
        EXPECT_EQ(Grid->SpinEdit()->text(), c.After);
        Key(Qt::Key_Return);
        EXPECT_FALSE(Grid->GetEditMode());
        EXPECT_EQ(Grid->Cells(1, 1), c.After);
        Goto(1, 1);
    }
    // the press is used up: F2 after a step opens without one
    QTest::mouseClick(Grid->viewport(), Qt::LeftButton, {}, cases[0].At);
    Key(Qt::Key_Return);
    Goto(1, 1);
    Key(Qt::Key_F2);
    EXPECT_EQ(Grid->SpinEdit()->text(), "6");
}

TEST_F(SpecialEditors, AltHomeAndEndStepTheSpinEditorToItsBoundsAndTabMovesOn)
{
    std::vector<std::pair<int, bool>> clicks;
    Grid->OnSpinClick = [&](TObject*, int, int, int v, bool up) { clicks.push_back({v, up}); };
    Open(edSpinEdit, QStringLiteral("5"), ByF2);
    Key(Qt::Key_Home, Qt::AltModifier);   // the maximum
    EXPECT_EQ(Grid->SpinEdit()->text(), "100");
    Key(Qt::Key_End, Qt::AltModifier);    // the minimum
    EXPECT_EQ(clicks, (std::vector<std::pair<int, bool>>{{100, true}, {0, false}}));
    EXPECT_EQ(Grid->Col(), 1);   // the keys stay with the editor
    EXPECT_EQ(Grid->Row(), 1);
    Type(QStringLiteral("42"));
    Grid->SetOptions(Grid->Options() + goTabs);
    Key(Qt::Key_Tab);
    EXPECT_EQ(Grid->Cells(1, 1), "42");
    EXPECT_EQ(Grid->Col(), 2);
    EXPECT_NE(Focused(), Grid->SpinEdit());
}
