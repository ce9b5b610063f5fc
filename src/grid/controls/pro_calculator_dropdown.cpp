// The calculator drop-down: the state machine of its keys, the keys typed into the edit and
// into the pop-up, and the life of the button panel.
#include "grid/controls/pro_calculator_dropdown.h"

#include "platform/core/format_settings.h"

#include <QKeyEvent>
#include <cmath>

namespace {
QChar Dec() { return LocaleDecimalSeparator(); }
const QString ErrorText = QStringLiteral("Error");

// The display read as a number: thousand separators dropped, the locale's decimal separator.
bool ParseDisplay(const QString& S, double& X)
{
    QString s = StripThousandSeparators(S);
    if (Dec() != QLatin1Char('.')) {
        if (s.contains(QLatin1Char('.'))) return false;
        s.replace(Dec(), QLatin1Char('.'));
    }
    bool ok = false;
    const double v = s.toDouble(&ok);
    if (!ok || !std::isfinite(v)) return false;
    X = v;
    return true;
}

QString PrintfG(double X)
{
    QString s = QString::asprintf("%g", X);
    s.replace(QLatin1Char('.'), Dec());
    return s;
}
} // namespace

TProCalculatorDropdown::TProCalculatorDropdown(QWidget* AParent) : TProCustomDropDown(AParent)
{
    SetDropDownColor(0xFFFFFF);
    SetDropDownWidth(230);
    DropDownHeader()->SetVisible(false);
    DropDownFooter()->SetVisible(false);
    SetEditType(etFloat);
    SetPrecision(2);
}

bool TProCalculatorDropdown::Shown() const { return !FClosed && FDropDownForm && FDropDownForm->isVisible(); }

// ---- the form and the panel ----------------------------------------------------------------

void TProCalculatorDropdown::CreateDropDownForm()
{
    TProCustomDropDown::CreateDropDownForm();
    if (FPanel) return;
    FPanel = new TCustomButtonPanel(FDropDownForm);
    FPanel->SetOwnerDropDown(this);
    FPanel->SetEdit(this);
    FPanel->resize(DropDownWidth(), 150);
    FPanel->CreateButtons();
    FPanel->OnButtonClick = [this](QObject*, int Index) { ButtonClick(Index); };
    SetControl(FPanel);
}

void TProCalculatorDropdown::BeforeDropDown()
{
    TProCustomDropDown::BeforeDropDown();
    FDropDownForm->CancelOnDeActivate = false;
    FPanel->SetButtonAppearance(FCalcButtonAppearance);
    FPanel->SetColor(DropDownColor());
    FPanel->ArrangeButtons();
    FPanel->update();
    FNewValue = true;
    FDecimalPos = 0;
    FClosed = false;
    FTextBeforeDrop = Text();
}

void TProCalculatorDropdown::DoHideDropDown(bool Cancel)
{
    // cancelling gives back the value from before the drop-down, not the last result shown
    if (Cancel && FDroppedDown) FOldText = FTextBeforeDrop;
    TProCustomDropDown::DoHideDropDown(Cancel);
}

void TProCalculatorDropdown::SetComponentStyle(TProStyle AStyle)
{
    TProCustomDropDown::SetComponentStyle(AStyle);
    const TProButtonAppearance& b = *ButtonAppearance();
    TButtonAppearance& a = FCalcButtonAppearance;
    a.SetColor(b.Color());
    a.SetColorTo(b.ColorTo());
    a.SetColorHot(b.ColorHot());
    a.SetColorHotTo(b.ColorHotTo());
    a.SetColorDown(b.ColorDown());
    a.SetColorDownTo(b.ColorDownTo());
    a.SetColorDisabled(b.ColorDisabled());
    a.SetColorDisabledTo(b.ColorDisabledTo());
    a.SetBorderColor(b.BorderColor());
    a.SetBorderColorHot(b.BorderColorHot());
    a.SetBorderColorDown(b.BorderColorDown());
}

// ---- the value -----------------------------------------------------------------------------

double TProCalculatorDropdown::Value()
{
    if (Text().isEmpty()) SetText(QStringLiteral("0"));
    double x = 0;
    return ParseDisplay(Text(), x) ? x : 0;
}

void TProCalculatorDropdown::SetValue(double v) { SetText(PrintfG(v)); }

void TProCalculatorDropdown::SetShowThousandSeparator(bool v)
{
    if (v == FShowThousandSeparator) return;
    FShowThousandSeparator = v;
    SetEditType(v ? etMoney : etFloat);
    SetFloatValue(FloatValue());
}

bool TProCalculatorDropdown::ReadDisplay(double& X)
{
    if (Text().isEmpty() || Text() == ErrorText) SetText(QStringLiteral("0"));
    return ParseDisplay(Text(), X);
}

void TProCalculatorDropdown::ShowNumber(double X)
{
    if (std::isfinite(X)) SetFloatValue(X);
    else ShowError();
}

void TProCalculatorDropdown::ShowError() { SetText(ErrorText); }

bool TProCalculatorDropdown::MaxLengthReached() const
{
    // QLineEdit's default length limit means no limit
    const int m = maxLength();
    return m > 0 && m < 32767 && text().size() >= m;
}

// ---- the state machine ---------------------------------------------------------------------

bool TProCalculatorDropdown::CompletePending()
{
    double x = 0;
    if (!ReadDisplay(x)) return false;
    double acc = FAccumulator;
    switch (FPending) {
    case opAdd: acc += x; break;
    case opMultiply: acc *= x; break;
    case opSubtract: acc -= x; break;
    case opDivide:
        if (x == 0) {
            FAccumulator = 0;
            ShowError();
            return true;
        }
        acc /= x;
        break;
    case opNone: acc = x; break;
    }
    if (!std::isfinite(acc)) {
        // an overflow is an error, not a silent 0
        FAccumulator = 0;
        ShowError();
        return true;
    }
    FAccumulator = acc;
    ShowNumber(FAccumulator);
    FNewValue = true;
    return true;
}

void TProCalculatorDropdown::Operation(TPendingOp Op)
{
    if (CompletePending()) FPending = Op;
}

void TProCalculatorDropdown::CalcResult()
{
    if (!CompletePending()) return;
    if (Text().isEmpty()) SetText(QStringLiteral("0"));
    FPending = opNone;
    double x = 0;
    if (Text() != ErrorText && ReadDisplay(x)) FAccumulator = x;
}

void TProCalculatorDropdown::Percent()
{
    double x = 0;
    if (!ReadDisplay(x)) return;
    const double r = FAccumulator * x / 100;
    if (std::isfinite(r)) SetText(PrintfG(r));
    else ShowError();
}

void TProCalculatorDropdown::Digit(int D)
{
    if (FNewValue || (FloatValue() == 0 && FDecimalPos == 0)) {
        SetText(QString::number(D));
        FNewValue = false;
        return;
    }
    const double v = FloatValue();
    double r;
    if (FDecimalPos > 0) {
        r = v >= 0 ? v + double(D) / FDecimalPos : v - double(D) / FDecimalPos;
        // past the tenth decimal place digits no longer change a double's display
        if (FDecimalPos < 1000000000) FDecimalPos *= 10;
    } else {
        r = v >= 0 ? v * 10 + D : v * 10 - D;
    }
    ShowNumber(r);
}

void TProCalculatorDropdown::ResetCalculation()
{
    FAccumulator = 0;
    FPending = opNone;
    FNewValue = true;
    FDecimalPos = 0;
}

void TProCalculatorDropdown::ClearAll(bool ResetDecimal)
{
    SetText(QStringLiteral("0"));
    FAccumulator = 0;
    FPending = opNone;
    if (ResetDecimal) FDecimalPos = 0;
}

void TProCalculatorDropdown::ButtonClick(int Index)
{
    if (!FPanel || Index < 0 || Index >= FPanel->Buttons().Count()) return;
    const TButtonItem& b = *FPanel->Buttons().Items(Index);
    if (b.Enabled) RunKey(b.Tag);
}

void TProCalculatorDropdown::RunKey(int Code)
{
    BeforeCalcInput();
    if ((Code >= ckAdd && Code <= ckSign) || (Code >= ckClear && Code <= ckPercent)) FDecimalPos = 0;
    const bool entry = (Code >= 0 && Code <= 9) || Code == ckSign || Code == ckPoint;
    if (entry && MaxLengthReached()) return;
    double x = 0;
    switch (Code) {
    case ckAdd: Operation(opAdd); break;
    case ckSubtract: Operation(opSubtract); break;
    case ckMultiply: Operation(opMultiply); break;
    case ckDivide: Operation(opDivide); break;
    case ckEquals: CalcResult(); break;
    case ckPercent: Percent(); break;
    case ckSqrt:
        x = FloatValue();
        if (x >= 0) ShowNumber(std::sqrt(x));
        else ShowError();
        break;
    case ckReciprocal:
        x = FloatValue();
        if (x != 0) ShowNumber(1 / x);
        else ShowError();
        break;
    case ckSign: {
        QString t = Text();
        if (t.contains(QLatin1Char('-'))) t.remove(0, 1);
        else t.prepend(QLatin1Char('-'));
        SetText(t);
        break;
    }
    case ckPoint:
        if (!Text().contains(Dec())) SetText(Text() + Dec());
        FDecimalPos = 10;
        if (FNewValue) SetText(QStringLiteral("0"));
        FNewValue = false;
        break;
    case ckClear: ClearAll(true); break;
    case ckClearEntry:
    case ckOn: ClearAll(false); break;
    case ckBack:
        if (FPending == opNone) SetText(FormatEditNumber(FloatValue(), -1, false).chopped(1));
        break;
    case ckMemoryClear: FMemory = 0; break;
    case ckMemoryRecall: ShowNumber(FMemory); break;
    case ckMemoryStore:
        if (ReadDisplay(x)) FMemory = x;
        break;
    case ckMemoryAdd:
        if (ReadDisplay(x)) FMemory += x;
        break;
    default:
        if (Code >= 0 && Code <= 9) Digit(Code);
        else return;
    }
    SetModifiedState(true);
}

// ---- keys ----------------------------------------------------------------------------------

void TProCalculatorDropdown::HandleKeyDown(QKeyEvent* e)
{
    const int key = e->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && !(e->modifiers() & Qt::ControlModifier) && !Shown())
        CalcResult();
    TProCustomDropDown::HandleKeyDown(e);
    if (key == Qt::Key_Delete && (Text().isEmpty() || Text() == ErrorText)) SetText(QStringLiteral("0"));
}

bool TProCalculatorDropdown::HandleChar(QKeyEvent* e)
{
    const bool backspace = e->key() == Qt::Key_Backspace;
    const QString t = e->text();
    if (!backspace && (t.isEmpty() || !t[0].isPrint())) return false;
    const QChar ch = backspace ? QChar(8) : t[0];
    if (!Shown()) {
        switch (ch.unicode()) {
        case '=': CalcResult(); break;
        case '%': Percent(); break;
        case '*': Operation(opMultiply); break;
        case '+': Operation(opAdd); break;
        case '-': Operation(opSubtract); break;
        case '/': Operation(opDivide); break;
        case 'C':
        case 'c':
            SetText(QStringLiteral("0"));
            FNewValue = true;
            FPending = opNone;
            break;
        default: break;
        }
    }
    const bool digit = ch >= QLatin1Char('0') && ch <= QLatin1Char('9');
    if (!digit && ch != Dec() && !backspace && ch != QLatin1Char('-')) return true;
    if (digit && (Text() == QLatin1String("0") || FNewValue)) {
        ReplaceValue(QString(ch), 1);
        FNewValue = false;
        return true;
    }
    if (backspace && Text().size() == 1) {
        SetText(QStringLiteral("0"));
        return true;
    }
    if (ch == Dec() && Text().contains(Dec())) return true;
    return TProCustomDropDown::HandleChar(e);
}

void TProCalculatorDropdown::DropDownFormKeyDown(QKeyEvent* e)
{
    const int key = e->key();
    e->accept();
    if ((e->modifiers() & Qt::AltModifier) && (key == Qt::Key_Up || key == Qt::Key_Down)) {
        DoHideDropDown(false);
        return;
    }
    switch (key) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_F4: DoHideDropDown(false); return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        BeforeCalcInput();
        CalcResult();
        DoHideDropDown(false);
        return;
    case Qt::Key_Escape: DoHideDropDown(true); return;
    case Qt::Key_Backspace: {
        QString t = Text();
        if (t == ErrorText) t.clear();
        else t.chop(1);
        SetText(t.isEmpty() ? QStringLiteral("0") : t);
        return;
    }
    default: break;
    }
    const QString t = e->text();
    if (t.isEmpty() || !t[0].isPrint()) return;
    const QChar ch = t[0];
    switch (ch.unicode()) {
    case '%': RunKey(ckPercent); return;
    case '*': RunKey(ckMultiply); return;
    case '+': RunKey(ckAdd); return;
    case '-': RunKey(ckSubtract); return;
    case '/': RunKey(ckDivide); return;
    case '=': RunKey(ckEquals); return;
    case 'C':
    case 'c':
        RunKey(ckClear);
        FNewValue = true;
        return;
    default: break;
    }
    BeforeCalcInput();
    const bool digit = ch >= QLatin1Char('0') && ch <= QLatin1Char('9');
    if (digit && MaxLengthReached() && !FNewValue && Text() != QLatin1String("0")) return;
    // digits and the decimal separator are typed into the display as into the edit
    if (digit || ch == Dec()) keyPressEvent(e);
}
