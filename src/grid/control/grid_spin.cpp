// The grid's spin editor.
#include "grid/control/grid_spin.h"

#include "grid/control/grid_editor_keys.h"
#include "grid/control/pro_string_grid.h"

#include <QKeyEvent>
#include <QWheelEvent>

TGridSpin::TGridSpin(TProStringGrid* AOwner) : TPsgSpinEdit(AOwner), TGridEditorHost(AOwner), FGrid(AOwner)
{
    MaxValue = 100;
    MinValue = 0;
    Increment = 1;
    setFrame(false);
    setEnabled(false);
    hide();
    connect(this, &QLineEdit::textChanged, this, [this](const QString& s) {
        if (FGrid->EditMode && FGrid->OnEditChange) FGrid->OnEditChange(FGrid, FGrid->Col(), FGrid->Row(), s);
    });
}

void TGridSpin::UpClick(QObject* Sender)
{
    TPsgSpinEdit::UpClick(Sender);
    SpinClicked(true);
}

void TGridSpin::DownClick(QObject* Sender)
{
    TPsgSpinEdit::DownClick(Sender);
    SpinClicked(false);
}

void TGridSpin::SpinClicked(bool Up)
{
    TProStringGrid* g = FGrid;
    const int c = g->Col(), r = g->Row();
    switch (SpinType()) {
    case sptNormal: if (g->OnSpinClick) g->OnSpinClick(g, c, r, Value(), Up); break;
    case sptFloat: if (g->OnFloatSpinClick) g->OnFloatSpinClick(g, c, r, FloatValue(), Up); break;
    case sptDate: if (g->OnDateSpinClick) g->OnDateSpinClick(g, c, r, DateValue(), Up); break;
    case sptTime: if (g->OnTimeSpinClick) g->OnTimeSpinClick(g, c, r, TimeValue(), Up); break;
    }
}

void TGridSpin::HandleKeyDown(int& Key, TShiftState Shift)
{
    TProStringGrid* g = FGrid;
    const bool stepper = Key == VK_PRIOR || Key == VK_NEXT || Key == VK_END || Key == VK_HOME;
    if (stepper) {
        // equal bounds mean no range
        if (SpinType() == sptNormal) {
            const int v = Value();
            const bool ranged = MinValue != MaxValue;
            if (Key == VK_PRIOR && (!ranged || v + Increment <= MaxValue)) SetValue(v + Increment);
            if (Key == VK_NEXT && (!ranged || v - Increment >= MinValue)) SetValue(v - Increment);
            if (Key == VK_END) SetValue(MinValue);
            if (Key == VK_HOME) SetValue(MaxValue);
        } else if (SpinType() == sptFloat) {
            const double v = FloatValue();
            const bool ranged = MinFloatValue != MaxFloatValue;
            if (Key == VK_PRIOR && (!ranged || v + IncrementFloat <= MaxFloatValue)) SetFloatValue(v + IncrementFloat);
            if (Key == VK_NEXT && (!ranged || v - IncrementFloat >= MinFloatValue)) SetFloatValue(v - IncrementFloat);
            if (Key == VK_END) SetFloatValue(MinFloatValue);
            if (Key == VK_HOME) SetFloatValue(MaxFloatValue);
        }
        if (g->OnSpinClick)
            g->OnSpinClick(g, g->Col(), g->Row(), Value(), Key == VK_PRIOR || Key == VK_HOME);
        return;
    }
    if (Key != VK_TAB && Key != VK_RETURN && Key != VK_ESCAPE && Key != VK_UP && Key != VK_DOWN) return;
    if (Key == VK_ESCAPE) {
        // the cell keeps its own text, whatever the spin would make of it
        Cancel();
        Key = 0;
        return;
    }
    const bool changed = Edited();
    if (!Commit()) {
        setText(g->CurrentCell());
        end(false);
        g->FNoAutoAdvance = true;
        Key = 0;
        return;
    }
    if (changed) setText(g->CurrentCell());
    if (Key == VK_TAB && g->Options().Contains(goTabs)) {
        TabOutOfEditor(g, Shift);
        Key = 0;
        return;
    }
    FinishEditorKey(g, Key, Shift);
    Key = 0;
}

void TGridSpin::keyPressEvent(QKeyEvent* e)
{
    if (!FGrid->EditMode) {
        TPsgSpinEdit::keyPressEvent(e);
        return;
    }
    const TShiftState shift = ShiftStateOf(e);
    int key = VirtualKeyOf(e);
    const bool plainStep = (key == VK_UP || key == VK_DOWN || key == VK_PRIOR || key == VK_NEXT) && !shift.Contains(ssAlt);
    if (plainStep) {
        // the control steps and the editor stays
        TPsgSpinEdit::keyPressEvent(e);
        if (key == VK_UP || key == VK_PRIOR) SpinClicked(true);
        else SpinClicked(false);
        return;
    }
    const int before = key;
    HandleKeyDown(key, shift);
    if (before != 0 && key == 0) return;
    if (before == VK_PRIOR || before == VK_NEXT) return;
    if (before == VK_RETURN || before == VK_ESCAPE || before == VK_TAB) return;   // typed Enter and Tab are swallowed
    TPsgSpinEdit::keyPressEvent(e);
    // Home and End stepped the value: the line edit leaves Alt+Home/End unhandled, and passed on
    // to the grid they would move the current cell under the open editor
    if (before == VK_HOME || before == VK_END) e->accept();
}

bool TGridSpin::KeepsTab() const { return FGrid->Options().Contains(goTabs); }

bool TGridSpin::event(QEvent* e)
{
    if (KeepKeys(e, [this](QKeyEvent* k) { keyPressEvent(k); })) return true;
    return TPsgSpinEdit::event(e);
}

void TGridSpin::focusOutEvent(QFocusEvent* e)
{
    TPsgSpinEdit::focusOutEvent(e);
    if (FGrid->Destroying() || !FGrid->EditMode || !isVisible()) return;
    if (e->reason() == Qt::PopupFocusReason) return;
    FGrid->HideInplaceEdit();
}

void TGridSpin::wheelEvent(QWheelEvent* e)
{
    // one step per notch, as the buttons do
    const int dy = e->angleDelta().y();
    if (dy > 0) UpClick(this);
    else if (dy < 0) DownClick(this);
    e->accept();
}

// ---- the grid's side ------------------------------------------------------------------------

#include "grid/base/number_routines.h"
#include "platform/core/date_text.h"
#include "platform/core/exception.h"
#include "platform/core/sysutils.h"
#include "platform/ui/date_time_values.h"

TGridSpin* TProStringGrid::SpinEdit()
{
    if (!FSpinEdit) FSpinEdit = new TGridSpin(this);
    return FSpinEdit;
}

// The integer of a text's leading digits, with an optional sign; 0 when there are none.
static int LeadingInteger(const QString& T)
{
    const QString s = Trim(T);
    int i = 0;
    if (i < s.size() && (s.at(i) == QLatin1Char('-') || s.at(i) == QLatin1Char('+'))) ++i;
    int k = i;
    while (k < s.size() && s.at(k).isDigit() && k - i < 10) ++k;
    if (k == i) return 0;
    int32_t v = 0;
    return TryStrToInt(s.left(k), v) ? v : 0;
}

void TProStringGrid::OpenSpinEditor(int C, int ARow, const TRect& R, TColor Bk, const QString& T)
{
    TGridSpin* sp = SpinEdit();
    EditMode = true;
    sp->ReCreate();
    sp->setGeometry(R.Left, R.Top, R.Right - R.Left - 1, R.Bottom - R.Top - 1);
    QPalette pal = sp->palette();
    pal.setColor(QPalette::Base, ColorToQColor(Bk));
    sp->setPalette(pal);
    sp->ExcelStyleDecimalSeparator = FExcelStyleDecimalSeparator;
    GetEditorProp(C, ARow, nullptr);
    switch (EditControl) {
    case edSpinEdit:
        sp->SetValue(LeadingInteger(T));
        sp->SetSpinType(sptNormal);
        break;
    case edFloatSpinEdit: {
        const QString n = NormalizeNumberText(T);
        sp->setText(n);
        sp->SetFloatValue(sp->FloatValue());
        sp->SetSpinType(sptFloat);
        break;
    }
    case edTimeSpinEdit:
        sp->setText(T);
        sp->SetSpinType(sptTime);
        break;
    default: {
        TDateTime d = Now();
        if (!T.isEmpty()) {
            try {
                d = StrToDate(T);
            } catch (const Exception&) {
                d = Now();
            }
        }
        sp->SetDateValue(d);
        sp->SetSpinType(sptDate);
        break;
    }
    }
    sp->CellLoaded();
    sp->setEnabled(true);
    sp->show();
    sp->setFocus(Qt::OtherFocusReason);
    EditCtrl = sp;
}

void TProStringGrid::CloseSpinEditor(int C, int ARow)
{
    TGridSpin* sp = FSpinEdit;
    EditMode = false;
    if (!sp) return;
    const int D = RealToDisplColumn(C);
    // a value left unchanged or cancelled keeps the cell's own text
    const bool store = sp->Edited();
    sp->Closed();
    if (!store) {
    } else if (sp->AllowEmptyValue && Trim(sp->text()).isEmpty()) SetCellEx(C, ARow, QString());
    else {
        switch (EditControl) {
        case edSpinEdit: SetInts(D, ARow, sp->Value()); break;
        case edFloatSpinEdit: SetFloats(D, ARow, sp->FloatValue()); break;
        case edTimeSpinEdit: SetEditedCell(C, ARow, sp->text()); break;
        default: SetDates(D, ARow, sp->DateValue()); break;
        }
    }
    if (sp->hasFocus()) SetFocus();
    sp->hide();
    sp->setEnabled(false);
}
