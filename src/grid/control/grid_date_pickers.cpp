// The grid's date and time editors.
#include "grid/control/grid_date_pickers.h"

#include "grid/control/grid_editor_keys.h"
#include "grid/control/grid_spin.h"
#include "grid/control/pro_string_grid.h"
#include "platform/core/date_text.h"
#include "platform/core/exception.h"
#include "platform/core/format_settings.h"
#include "platform/ui/date_time_values.h"

#include <QApplication>
#include <QKeyEvent>


enum TDateText { dtDate, dtTime, dtDateAndTime };

// A cell's text as a date, a time, or a date and a time of day after a blank; an empty text
// or one that is none gives the current date and time.
static TDateTime DateOrThrow(const QString& T, TDateText What)
{
    if (What == dtTime) return StrToTime(T);
    const int blank = What == dtDateAndTime ? T.indexOf(QLatin1Char(' ')) : -1;
    TDateTime D = StrToDate(blank < 0 ? T : T.left(blank));
    if (blank >= 0) {
        const TDateTime t = StrToTime(T.mid(blank + 1));
        D = D < 0 ? D - t : D + t;
    }
    return D;
}

static TDateTime DateOrNow(const QString& T, TDateText What)
{
    if (T.isEmpty()) return Now();
    try {
        return DateOrThrow(T, What);
    } catch (const Exception&) {
        return Now();
    }
}

// ---- TGridDatePicker ------------------------------------------------------------------------

TGridDatePicker::TGridDatePicker(TProStringGrid* AOwner)
    : TPsgDateTimePicker(AOwner), TGridEditorHost(AOwner), FGrid(AOwner)
{
    setFrame(false);   // the cell's own lines frame the editor
    setEnabled(false);
    hide();
    SetWeeknumbers(false);
    SetShowTodayCircle(true);
    OnChange = [this](QObject*) {
        if (FGrid->EditMode && FGrid->OnEditChange) FGrid->OnEditChange(FGrid, FGrid->Col(), FGrid->Row(), text());
    };
}

void TGridDatePicker::SetWeeknumbers(bool v)
{
    FWeeknumbers = v;
    SetWeekNumbers(v);
}

void TGridDatePicker::SetShowTodayCircle(bool v)
{
    FShowTodayCircle = v;
    SetShowTodayMark(v);
}

QString TGridDatePicker::CommittedText() const
{
    if (!Checked()) return QString();
    return Kind() == dtkTime ? TimeToStr(Time()) : DateToStr(Date());
}

bool TGridDatePicker::FieldComplete(Section S) const
{
    if (!(displayedSections() & S)) return true;
    const QString t = sectionText(S);
    bool ok = false;
    const int v = t.toInt(&ok);
    if (!ok) return !MonthDigitsPending();   // a month name: complete unless digits are under way
    int most = 59;
    switch (S) {
    case DaySection: most = 31; break;
    case MonthSection: most = 12; break;
    case HourSection: most = 23; break;
    case YearSection: return t.size() >= (displayFormat().contains(QLatin1String("yyyy")) ? 4 : 2);
    default: break;
    }
    // full, or another digit would pass the field's greatest value
    return t.size() >= 2 || v * 10 > most;
}

void TGridDatePicker::CheckShiftFocus()
{
    // a field counts as changed once its digits are complete: "1" of a day may still become
    // "12", and moving on after its first digit would send the second to the next field
    auto changed = [this](Section S, uint16_t Before) { return FieldComplete(S) && FieldValue(S) != Before; };
    if (Kind() == dtkTime) {
        if (changed(HourSection, Fth) || changed(MinuteSection, Ftm) || changed(SecondSection, Fts)) NextField();
        return;
    }
    const bool day = changed(DaySection, Fd), month = changed(MonthSection, Fm), year = changed(YearSection, Fy);
    const QString f = Format();
    if (!f.isEmpty()) {
        const QChar L = f.back().toLower();
        if ((day && L == QLatin1Char('d')) || (month && L == QLatin1Char('m')) || (year && L == QLatin1Char('y'))) return;
        if (day || month || year) NextField();
        return;
    }
    if (day || month) NextField();
}

void TGridDatePicker::HandleKeyDown(int& Key, TShiftState Shift)
{
    TProStringGrid* g = FGrid;
    if (Key != VK_TAB && Key != VK_RETURN && Key != VK_ESCAPE && Key != VK_PRIOR && Key != VK_NEXT && Key != VK_END)
        return;
    if (Key == VK_ESCAPE) {
        Cancel();
        Key = 0;
        return;
    }
    if (Key == VK_RETURN) {
        interpretText();
        if (!Commit()) {
            g->FNoAutoAdvance = true;
            Key = 0;
            return;
        }
    }
    if (Key == VK_TAB && g->EditorWantsTab()) {
        if (!Commit()) {
            Key = 0;
            return;
        }
        if (g->Options().Contains(goTabs)) {
            TabOutOfEditor(g, Shift);
            Key = 0;
            return;
        }
        g->PostMessage(WM_KEYDOWN, VK_TAB);
    }
    if (!DroppedDown()) g->DoneInplaceEdit(Key, Shift);
    Key = 0;
}

void TGridDatePicker::keyPressEvent(QKeyEvent* e)
{
    if (!FGrid->EditMode) {
        TPsgDateTimePicker::keyPressEvent(e);
        return;
    }
    int key = VirtualKeyOf(e);
    const int before = key;
    HandleKeyDown(key, ShiftStateOf(e));
    if (before != 0 && key == 0) return;
    const QString t = e->text();
    const bool digit = t.size() == 1 && t.at(0) >= QLatin1Char('0') && t.at(0) <= QLatin1Char('9');
    const int section = currentSectionIndex();
    if (digit) {
        Fy = uint16_t(FieldValue(YearSection));
        Fm = uint16_t(FieldValue(MonthSection));
        Fd = uint16_t(FieldValue(DaySection));
        Fth = uint16_t(FieldValue(HourSection));
        Ftm = uint16_t(FieldValue(MinuteSection));
        Fts = uint16_t(FieldValue(SecondSection));
        Ftms = uint16_t(time().msec());
    }
    TPsgDateTimePicker::keyPressEvent(e);
    // the platform moves on by itself once a field is full
    if (digit && currentSectionIndex() == section) CheckShiftFocus();
    if (!t.isEmpty() && FGrid->OnKeyPress) {
        QChar c = t.at(0);
        FGrid->OnKeyPress(FGrid, c);
    }
}

bool TGridDatePicker::event(QEvent* e)
{
    if (KeepKeys(e, [this](QKeyEvent* k) { keyPressEvent(k); })) return true;
    return TPsgDateTimePicker::event(e);
}

void TGridDatePicker::focusOutEvent(QFocusEvent* e)
{
    TPsgDateTimePicker::focusOutEvent(e);
    FOldDropped = DroppedDown();
    if (FGrid->Destroying() || !FGrid->EditMode || !isVisible()) return;
    if (e->reason() == Qt::PopupFocusReason || FOldDropped) return;   // the calendar is open
    FGrid->HideInplaceEdit();
}

// ---- TGridDateTimePicker --------------------------------------------------------------------

TGridDateTimePicker::TGridDateTimePicker(TProStringGrid* AOwner)
    : TProDateTimePicker(AOwner), TGridEditorHost(AOwner), FGrid(AOwner)
{
    setEnabled(false);
    hide();
    HookCompanion();
}

void TGridDateTimePicker::HookCompanion()
{
    if (TCustomDateTimePicker* t = TimePicker()) {
        t->OnKeyDown = [this](QKeyEvent* e) { return HandleKey(e); };
        t->removeEventFilter(this);
    }
}

QString TGridDateTimePicker::CommittedText() const
{
    auto* self = const_cast<TGridDateTimePicker*>(this);
    if (!self->Checked()) return QString();
    const TDateTime v = self->DateTime();
    return DateToStr(v) + QLatin1Char(' ') + FormatDateTime(FormatSettings().ShortTimeFormat, v);
}

bool TGridDateTimePicker::HandleKey(QKeyEvent* e)
{
    TProStringGrid* g = FGrid;
    if (!g->EditMode) return false;
    const int key = VirtualKeyOf(e);
    const TShiftState shift = ShiftStateOf(e);
    if (key == VK_ESCAPE) {
        SetDate(g->FOriginalDateTime);
        SetTime(g->FOriginalDateTime);
        Cancel();
        return true;
    }
    if (key == VK_RETURN) {
        g->HideInplaceEdit();
        g->SetFocus();
        if (g->Navigation()->AdvanceOnEnter()) g->AdvanceEdit(g->Col(), g->Row(), false, false, true, false, g->EditMode);
        return true;
    }
    if (key == VK_TAB && g->EditorWantsTab()) {
        const QString value = TextToCommit();
        g->HideInplaceEdit();
        g->SetFocus();
        g->SetCurrentCell(value);
        g->TabNavigate(shift.Contains(ssShift));
        return true;
    }
    return false;
}

void TGridDateTimePicker::keyPressEvent(QKeyEvent* e)
{
    if (HandleKey(e)) return;
    TProDateTimePicker::keyPressEvent(e);
}

bool TGridDateTimePicker::event(QEvent* e)
{
    if (KeepKeys(e, [this](QKeyEvent* k) { keyPressEvent(k); })) return true;
    return TProDateTimePicker::event(e);
}

// ---- the grid's side ------------------------------------------------------------------------

TGridDatePicker* TProStringGrid::DateTimePicker()
{
    if (!FDatePicker) FDatePicker = new TGridDatePicker(this);
    return FDatePicker;
}

TGridDateTimePicker* TProStringGrid::DateAndTimePicker()
{
    if (!FDateTimePicker) FDateTimePicker = new TGridDateTimePicker(this);
    return FDateTimePicker;
}

void TProStringGrid::DropSpinAndDateEditors()
{
    delete FSpinEdit;
    FSpinEdit = nullptr;
    delete FDatePicker;
    FDatePicker = nullptr;
    delete FDateTimePicker;
    FDateTimePicker = nullptr;
}

static void PaintBackground(QWidget* w, TColor Bk)
{
    QPalette pal = w->palette();
    pal.setColor(QPalette::Base, ColorToQColor(Bk));
    w->setPalette(pal);
}

TDateTime TProStringGrid::StartDate(const QString& T)
{
    if (T.isEmpty()) return Now();
    TDateTime D = Now();
    if (OnCustomStrToDate) {
        OnCustomStrToDate(this, T, D);
        return D;
    }
    try {
        D = DateOrThrow(T, dtDateAndTime);
    } catch (const Exception&) {
        return Now();
    }
    // the picker starts strictly inside the bounds
    if (FMaxDate != 0 && D > FMaxDate) D = FMaxDate - 1;
    if (FMinDate != 0 && D <= FMinDate) D = FMinDate + 1;
    return D;
}

void TProStringGrid::OpenDateEditor(int C, int ARow, const TRect& R, TColor Bk, const QString& T)
{
    const int W = R.Right - R.Left - 1, H = R.Bottom - R.Top - 1;
    EditMode = true;
    if (EditControl == edDateTimeEdit) {
        TGridDateTimePicker* p = DateAndTimePicker();
        const TDateTime D = DateOrNow(T, dtDateAndTime);
        FOriginalDateTime = D;
        p->SetProKind(dkDateTime);
        p->SetDateTime(D);
        p->SetBorderStyle(bsNone);
        p->setGeometry(R.Left, R.Top, W, H);
        p->HookCompanion();
        GetEditorProp(C, ARow, nullptr);
        p->CellLoaded();
        p->setEnabled(true);
        p->show();
        PaintBackground(p, Bk);
        p->setFocus(Qt::OtherFocusReason);
        p->setCurrentSectionIndex(0);
        p->setSelectedSection(p->currentSection());
        return;
    }
    TGridDatePicker* p = DateTimePicker();
    p->ReCreate();
    if (EditControl == edTimeEdit) {
        p->SetKind(dtkTime);
        p->SetTime(DateOrNow(T, dtTime));
    } else {
        p->SetKind(dtkDate);
        p->SetDateMode(EditControl == edDateEditUpDown ? dmUpDown : dmComboBox);
        p->SetDate(StartDate(T));
    }
    GetEditorProp(C, ARow, nullptr);
    p->setGeometry(R.Left, R.Top, W, H);
    p->CellLoaded();
    p->setEnabled(true);
    p->show();
    PaintBackground(p, Bk);
    p->setFocus(Qt::OtherFocusReason);
    p->setCurrentSectionIndex(0);
    p->setSelectedSection(p->currentSection());
    if (EditControl != edTimeEdit && MouseActions()->DirectDateDrop()) p->DropDown();
    EditCtrl = p;
}

void TProStringGrid::CloseDateEditor(int C, int ARow)
{
    QWidget* w = nullptr;
    if (EditControl == edDateTimeEdit) {
        TGridDateTimePicker* p = FDateTimePicker;
        if (!p) return;
        // a value left unchanged or cancelled keeps the cell's own text
        if (EditMode && p->Edited()) SetEditedCell(C, ARow, p->CommittedText());
        p->Closed();
        w = p;
    } else {
        TGridDatePicker* p = FDatePicker;
        if (!p) return;
        if (EditMode) {
            p->interpretText();
            if (p->Edited()) SetEditedCell(C, ARow, p->CommittedText());
        }
        p->Closed();
        w = p;
    }
    EditMode = false;
    if (w->isAncestorOf(QApplication::focusWidget()) || w->hasFocus()) SetFocus();
    w->hide();
    w->setEnabled(false);
}
