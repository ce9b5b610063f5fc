#include "grid/controls/pro_time_picker_dropdown.h"

#include "platform/core/format_settings.h"
#include "platform/ui/date_time_picker.h"
#include "platform/ui/panel.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QVBoxLayout>
#include <cmath>

namespace {

QString TwoDigits(int N) { return N < 10 ? QStringLiteral("0%1").arg(N) : QString::number(N); }

QString TrimBlanks(const QString& S)
{
    int a = 0, b = int(S.size());
    while (a < b && S[a] == QLatin1Char(' ')) ++a;
    while (b > a && S[b - 1] == QLatin1Char(' ')) --b;
    return S.mid(a, b - a);
}

// The first character, and the second when there is one, are digits; an empty part passes.
bool StartsWithDigits(const QString& S)
{
    if (S.isEmpty()) return true;
    if (!S[0].isDigit()) return false;
    return S.size() < 2 || S[1].isDigit();
}

// An empty part counts as 0; anything else must be a whole number.
bool PartValue(const QString& S, int& Value)
{
    if (S.isEmpty()) {
        Value = 0;
        return true;
    }
    bool ok = false;
    Value = S.toInt(&ok);
    return ok && Value >= 0;
}

bool IsStepKey(const QKeyEvent* e)
{
    const int k = e->key();
    return !(e->modifiers() & Qt::AltModifier) &&
           (k == Qt::Key_PageUp || k == Qt::Key_PageDown || k == Qt::Key_Up || k == Qt::Key_Down);
}

} // namespace

TProTimePickerDropDown::TProTimePickerDropDown(QWidget* AParent)
    : TProCustomDropDown(AParent), FWatchAppearance(std::make_unique<TWatchAppearance>()),
      FWatchSettings(std::make_unique<TWatchSettings>())
{
    // the base applied its style before the clock's appearance existed
    ApplyWatchComponentStyle(*FWatchAppearance, GetComponentStyle());
    SetEditorEnabled(false);
    DropDownEnabled = true;
    DropDownHeader()->SetVisible(false);
    DropDownFooter()->SetVisible(false);
    SetEditMask(Mask());
    FInternalCall = true;
    SetTextDirect(FormatTimeText(0, 0, 0));
    FInternalCall = false;
    connect(this, &QLineEdit::textChanged, this, [this] { Change(); });
}

TProTimePickerDropDown::~TProTimePickerDropDown()
{
    if (FProWatch) FProWatch->OnChange = nullptr;
    if (FDateTimePicker) FDateTimePicker->OnChange = nullptr;
}

QString TProTimePickerDropDown::Mask() const
{
    const QString sep = LocaleTimeSeparator();
    return FShowSeconds ? QStringLiteral("!90") + sep + QStringLiteral("00") + sep + QStringLiteral("00;1; ")
                        : QStringLiteral("!90") + sep + QStringLiteral("00;1; ");
}

QString TProTimePickerDropDown::FormatTimeText(int Hour, int Minute, int Second) const
{
    const QString sep = LocaleTimeSeparator();
    QString s = TwoDigits(Hour) + sep + TwoDigits(Minute);
    if (FShowSeconds) s += sep + TwoDigits(Second);
    return s;
}

void TProTimePickerDropDown::WriteTime(TDateTime Value)
{
    FTime = Value;
    const TTimeParts p = TimeParts(Value);
    // the text follows the time; the change step must not parse it back (it would drop
    // seconds the text does not show)
    FInternalCall = true;
    SetTextDirect(FormatTimeText(p.H, p.M, p.S));
    FInternalCall = false;
    if (DroppedDown() && FProWatch) {
        FProWatch->SetTime(Value);
        if (ShowTimePicker && FDateTimePicker) FDateTimePicker->SetTime(Value);
    }
}

void TProTimePickerDropDown::SetTime(TDateTime Value)
{
    if (Value == FTime) return;
    WriteTime(Value);
}

void TProTimePickerDropDown::SetPartOfTime(int Part, int Value)
{
    TTimeParts p = TimeParts(FTime);
    int* field = Part == 0 ? &p.H : Part == 1 ? &p.M : &p.S;
    const int limit = Part == 0 ? 23 : 59;
    if (Value == *field || Value < 0 || Value > limit) return;
    *field = Value;
    SetTime(std::floor(FTime) + EncodeTime(p.H, p.M, p.S, p.MS));
    if (OnTimeChange) OnTimeChange(this);
}

void TProTimePickerDropDown::SetHourOfTime(int Value) { SetPartOfTime(0, Value); }
void TProTimePickerDropDown::SetMinuteOfTime(int Value) { SetPartOfTime(1, Value); }
void TProTimePickerDropDown::SetSecondOfTime(int Value) { SetPartOfTime(2, Value); }

void TProTimePickerDropDown::SetShowSeconds(bool v)
{
    if (v == FShowSeconds) return;
    FShowSeconds = v;
    const TDateTime keep = FTime;
    FInternalCall = true;
    SetEditMask(QString());
    SetText(QString());
    FInternalCall = false;
    SetEditMask(Mask());
    WriteTime(keep);
}

void TProTimePickerDropDown::SetComponentStyle(TProStyle AStyle)
{
    TProCustomDropDown::SetComponentStyle(AStyle);
    // the base's constructor gets here before the appearance exists
    if (FWatchAppearance) ApplyWatchComponentStyle(*FWatchAppearance, AStyle);
}

void TProTimePickerDropDown::Change()
{
    if (FInternalCall) return;
    const QString typed = Text();
    QString t = TrimBlanks(typed);
    if (t.size() != 5) return;
    const QChar sep = LocaleTimeSeparator();
    if (t.count(sep) != (FShowSeconds ? 2 : 1)) return;
    t.replace(QLatin1Char(' '), QLatin1Char('0'));
    const int first = int(t.indexOf(sep));
    const QString hour = TrimBlanks(t.left(first));
    if (!StartsWithDigits(hour)) return;
    const QString rest = TrimBlanks(t.mid(first + 1));
    QString minute = rest, second;
    if (FShowSeconds) {
        const int next = int(rest.indexOf(sep));
        minute = TrimBlanks(rest.left(next));
        second = TrimBlanks(rest.mid(next + 1));
    }
    if (!StartsWithDigits(minute) || !StartsWithDigits(second)) return;
    int h, m, s;
    TDateTime value;
    if (!PartValue(hour, h) || !PartValue(minute, m) || !PartValue(second, s) || !TryEncodeTime(h, m, s, 0, value))
        return;
    FTime = value;
    const QString formatted = FormatTimeText(h, m, s);
    if (formatted != typed && m == 0 && s == 0) {
        FInternalCall = true;
        SetText(formatted);
        FInternalCall = false;
    }
}

void TProTimePickerDropDown::HandleKeyDown(QKeyEvent* e)
{
    TProCustomDropDown::HandleKeyDown(e);
    // with EditorEnabled off the base drops Up and Down before they reach the time
    if (!EditorEnabled()) return;
    const bool alt = (e->modifiers() & Qt::AltModifier) || (QGuiApplication::queryKeyboardModifiers() & Qt::AltModifier);
    if (alt || (e->modifiers() & Qt::ControlModifier)) return;
    if (e->key() != Qt::Key_Up && e->key() != Qt::Key_Down) return;
    const QString t = Text();
    const int caret = cursorPosition() - int(Prefix().size());
    const QChar sep = LocaleTimeSeparator();
    const int first = int(t.indexOf(sep)) + 1;   // 1-based, 0 when absent
    int part = 0;
    if (caret >= first) {
        const int next = int(t.mid(first).indexOf(sep)) + 1;
        part = caret - first >= next && FShowSeconds ? 2 : 1;
    }
    const TTimeParts p = TimeParts(FTime);
    const int value = part == 0 ? p.H : part == 1 ? p.M : p.S;
    const int top = part == 0 ? 23 : 59;
    const int stepped = e->key() == Qt::Key_Up ? (value == 0 ? top : value - 1) : (value == top ? 0 : value + 1);
    SetPartOfTime(part, stepped);
    setCursorPosition(caret + int(Prefix().size()));
}

// ---- the pop-up

void TProTimePickerDropDown::CreateDropDownForm()
{
    TProCustomDropDown::CreateDropDownForm();
    if (!FPanelCtrl) {
        FPanelCtrl = new TCustomPanel(FDropDownForm);
        FPanelCtrl->setGeometry(0, 0, 170, 180);
        auto* layout = new QVBoxLayout(FPanelCtrl);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
    }
    if (!FProWatch) {
        FProWatch = new TProWatch(FPanelCtrl);
        FPanelCtrl->layout()->addWidget(FProWatch);
    }
    SetControl(FPanelCtrl);
}

void TProTimePickerDropDown::BeforeDropDown()
{
    TProCustomDropDown::BeforeDropDown();
    FTimeAtOpen = FTime;
    FPanelCtrl->resize(170, 170);
    // a click outside closes and keeps the clock's time
    DropDownForm()->CancelOnDeActivate = false;
    FPanelCtrl->SetColor(DropDownColor());
    FProWatch->SetAppearance(*FWatchAppearance);
    FProWatch->SetSettings(*FWatchSettings);
    FProWatch->SetShowAMPM(ShowWatchAMPM);
    FProWatch->SetShowNumbers(ShowWatchNumbers);
    FProWatch->SetAnimation(Animation);
    FProWatch->SetAnimationFactor(AnimationFactor);
    FProWatch->OnChange = nullptr;
    if (!FWatchSettings->Auto()) FProWatch->SetTime(FTime);
    FProWatch->OnChange = [this](QObject*) { WatchChange(); };
    if (ShowTimePicker) {
        if (!FDateTimePicker) {
            FDateTimePicker = new TDateTimePicker(FPanelCtrl);
            FDateTimePicker->SetKind(dtkTime);
            FDateTimePicker->installEventFilter(this);
            FPanelCtrl->layout()->addWidget(FDateTimePicker);
        }
        FDateTimePicker->OnChange = nullptr;
        FDateTimePicker->show();
        FDateTimePicker->SetFormat(FShowSeconds ? QStringLiteral("HH:mm:ss") : QStringLiteral("HH:mm"));
        FDateTimePicker->SetTime(FTime);
        FDateTimePicker->raise();
        FDateTimePicker->OnChange = [this](QObject*) { PickerChange(); };
        FPanelCtrl->resize(170, FDateTimePicker->sizeHint().height() + 170);
    } else if (FDateTimePicker)
        FDateTimePicker->hide();
}

void TProTimePickerDropDown::DoHideDropDown(bool Cancel)
{
    const bool open = FDropDownForm && FDropDownForm->isVisible();
    TProCustomDropDown::DoHideDropDown(Cancel);
    if (!open || !FProWatch) return;
    // a cancelled close brings back the time the form opened with, and its text
    if (Cancel) WriteTime(FTimeAtOpen);
    FProWatch->SetTime(FTime);
}

void TProTimePickerDropDown::DropDownFormHidden()
{
    TProCustomDropDown::DropDownFormHidden();
    if (FProWatch) SetTime(FProWatch->Time());
}

void TProTimePickerDropDown::DropDownFormKeyDown(QKeyEvent* e)
{
    if (!IsStepKey(e)) TProCustomDropDown::DropDownFormKeyDown(e);
    if (FDropDownForm && FDropDownForm->isVisible() && FProWatch) FProWatch->HandleKey(e->key());
}

void TProTimePickerDropDown::ControlKeyDown(QKeyEvent* e)
{
    if (!IsStepKey(e)) TProCustomDropDown::DropDownFormKeyDown(e);
}

bool TProTimePickerDropDown::eventFilter(QObject* Watched, QEvent* e)
{
    // the picker's keys reach the edit, except those the picker steps its fields with
    if (Watched == FDateTimePicker && e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        const int key = k->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape || key == Qt::Key_F4 ||
            ((k->modifiers() & Qt::AltModifier) && (key == Qt::Key_Up || key == Qt::Key_Down))) {
            ControlKeyDown(k);
            return true;
        }
    }
    return TProCustomDropDown::eventFilter(Watched, e);
}

void TProTimePickerDropDown::WatchChange()
{
    if (FDateTimePicker && ShowTimePicker && FDateTimePicker->Time() != FProWatch->Time()) {
        FDateTimePicker->OnChange = nullptr;
        FDateTimePicker->SetTime(FProWatch->Time());
        FDateTimePicker->OnChange = [this](QObject*) { PickerChange(); };
        if (OnTimeChange) OnTimeChange(this);
    }
    SetTime(FProWatch->Time());
}

void TProTimePickerDropDown::PickerChange()
{
    if (FDateTimePicker && FProWatch && !FWatchSettings->Auto()) FProWatch->SetTime(FDateTimePicker->Time());
}
