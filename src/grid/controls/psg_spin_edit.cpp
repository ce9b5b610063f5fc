// The spin edit: stepping, clamping, the character filter and the layout of its buttons.
#include "grid/controls/psg_spin_edit.h"

#include "platform/core/date_text.h"
#include "platform/core/exception.h"
#include "platform/core/format_settings.h"
#include "platform/core/sysutils.h"
#include "platform/ui/date_time_values.h"

#include <QApplication>
#include <QKeyEvent>
#include <QStyle>
#include <cmath>

namespace {

template <typename T> T Clamped(T v, T lo, T hi)
{
    if (lo == hi) return v;
    if (v < lo) return lo;
    if (v > hi) return hi;
    return v;
}

bool TextToFloat(const QString& text, double& v)
{
    QString s = Trim(text);
    if (s.isEmpty()) return false;
    const QChar dec = LocaleDecimalSeparator();
    if (dec != QLatin1Char('.')) {
        if (s.contains(QLatin1Char('.'))) return false;
        s.replace(dec, QLatin1Char('.'));
    }
    bool ok = false;
    v = s.toDouble(&ok);
    return ok && std::isfinite(v);
}

QString FloatToText(double v, int precision)
{
    QString s = precision != 0 ? QString::number(v, 'f', precision) : QString::number(v, 'g', 15);
    if (LocaleDecimalSeparator() != QLatin1Char('.')) s.replace(QLatin1Char('.'), LocaleDecimalSeparator());
    return s;
}

double Frac(double v) { return v - std::trunc(v); }

} // namespace

TPsgSpinEdit::TPsgSpinEdit(QWidget* AParent) : QLineEdit(AParent)
{
    FButton = new TPsgSpinButton(this);
    FButton->resize(15, 17);
    FButton->FocusControl = this;
    FButton->OnUpClick = [this](QObject* s) { UpClick(s); };
    FButton->OnDownClick = [this](QObject* s) { DownClick(s); };
    setText(QStringLiteral("0"));
}

// ---- values ---------------------------------------------------------------------------------

int TPsgSpinEdit::Value() const
{
    const QString s = Trim(text());
    if (s.isEmpty()) return 0;
    int32_t v;
    return TryStrToInt(s, v) ? v : MinValue;
}

void TPsgSpinEdit::SetValue(int v)
{
    setText(QString::number(Clamped(v, MinValue, MaxValue)));
    if (!FEditorEnabled) selectAll();
}

double TPsgSpinEdit::FloatValue() const
{
    double v;
    return TextToFloat(text(), v) ? v : MinFloatValue;
}

void TPsgSpinEdit::SetFloatValue(double v)
{
    setText(FloatToText(Clamped(v, MinFloatValue, MaxFloatValue), FPrecision));
}

void TPsgSpinEdit::SetPrecision(int v)
{
    FPrecision = v;
    if (FSpinType == sptFloat) SetFloatValue(FloatValue());
}

TDateTime TPsgSpinEdit::DateValue() const
{
    const QString s = text();
    if (s.isEmpty() || s == QLatin1String("0")) return Now();
    try {
        return StrToDate(s);
    } catch (const Exception&) {
        return MinDateValue;
    }
}

void TPsgSpinEdit::SetDateValue(TDateTime v)
{
    FDateValue = Clamped(v, MinDateValue, MaxDateValue);
    const int caret = cursorPosition();
    setText(DateToStr(FDateValue));
    setCursorPosition(caret);
}

TDateTime TPsgSpinEdit::TimeValue() const
{
    try {
        return StrToTime(text());
    } catch (const Exception&) {
        return 0;
    }
}

void TPsgSpinEdit::SetTimeValue(TDateTime v)
{
    FTimeValue = Clamped(v, MinDateValue, MaxDateValue);
    const int caret = cursorPosition();
    setText(ShowSeconds ? TimeToStr(FTimeValue) : FormatDateTime(QStringLiteral("h:nn"), FTimeValue));
    setCursorPosition(caret);
}

void TPsgSpinEdit::SetSpinType(TPsgSpinType v)
{
    FSpinType = v;
    switch (v) {
    case sptNormal: SetValue(Value()); break;
    case sptFloat: SetFloatValue(FloatValue()); break;
    case sptDate: SetDateValue(DateValue()); break;
    case sptTime: SetTimeValue(TimeValue()); break;
    }
}

// ---- stepping -------------------------------------------------------------------------------

void TPsgSpinEdit::IncreaseValue(bool Page) { Step(+1, Page); }
void TPsgSpinEdit::DecreaseValue(bool Page) { Step(-1, Page); }
void TPsgSpinEdit::UpClick(QObject*) { IncreaseValue(false); }
void TPsgSpinEdit::DownClick(QObject*) { DecreaseValue(false); }

void TPsgSpinEdit::Step(int Sign, bool Page)
{
    if (isReadOnly()) {
        QApplication::beep();
        return;
    }
    const int c = cursorPosition();
    try {
        switch (FSpinType) {
        case sptNormal: SetValue(Value() + Sign * Increment); break;
        case sptFloat: SetFloatValue(FloatValue() + Sign * (Page ? IncrementFloatPage : IncrementFloat)); break;
        case sptDate: {
            const QString fmt = LocaleShortDateFormat().toUpper();
            const bool monthFirst = fmt.indexOf(QLatin1Char('M')) < fmt.indexOf(QLatin1Char('D'));
            const QString s = text();
            const QChar sep = LocaleDateSeparator();
            const int p1 = Pos(QString(sep), s);
            const int p2 = p1 > 0 ? s.indexOf(sep, p1) + 1 : 0;
            const TDateTime d = DateValue();
            enum { Day, Month, Year } field;
            if (c < p1) field = monthFirst ? Month : Day;
            else if (c < p2) field = monthFirst ? Day : Month;
            else field = Year;
            TDateTime r = d;
            if (field == Day) r = d + Sign;
            else if (field == Month) r = IncMonth(d, Sign);
            else {
                int y, m, dd;
                DecodeDate(d, y, m, dd);
                r = EncodeDate(y + Sign, m, dd) + Frac(d);
            }
            SetDateValue(r);
            break;
        }
        case sptTime: {
            const QString s = text();
            const QChar sep = LocaleTimeSeparator();
            const int q1 = Pos(QString(sep), s);
            const int q2 = q1 > 0 ? s.indexOf(sep, q1) + 1 : 0;
            TDateTime step;
            if (c < q1) step = EncodeTime(IncrementHours, 0, 0, 0);
            else if (ShowSeconds && (q2 == 0 || c >= q2)) step = EncodeTime(0, 0, IncrementSeconds, 0);
            else step = EncodeTime(0, IncrementMinutes, 0, 0);
            TDateTime t = TimeValue();
            if (Sign > 0) t += step;
            else {
                t = t + 1 - step;
                if (t > 1) t -= 1;
            }
            SetTimeValue(Frac(t));
            break;
        }
        }
    } catch (const Exception&) {
        // a step that forms no date or time leaves the value as it was
    }
}

// ---- typing ---------------------------------------------------------------------------------

bool TPsgSpinEdit::IsValidChar(QChar Key) const
{
    if (Key.unicode() == 8) return FEditorEnabled;
    const TFormatSettings& fs = FormatSettings();
    const bool control = Key.unicode() < 32;
    bool ok = Key == fs.DecimalSeparator || Key == fs.ThousandSeparator || Key == fs.TimeSeparator ||
              Key == fs.DateSeparator || Key.isNumber() || Key == QLatin1Char('-') ||
              (control && Key.unicode() != 13);
    auto sepRule = [&](QChar sep) {
        return (FSpinType == sptNormal || FSpinType == sptFloat) &&
               (sep == fs.DecimalSeparator || sep == fs.ThousandSeparator || sep == QLatin1Char('-') ||
                sep == QLatin1Char('+'));
    };
    if (Key == fs.TimeSeparator && FSpinType != sptTime) ok = sepRule(fs.TimeSeparator);
    if (Key == fs.DateSeparator && FSpinType != sptDate) ok = sepRule(fs.DateSeparator);
    const QString s = text();
    const int selStart = hasSelectedText() ? selectionStart() : cursorPosition();
    if (Key == QLatin1Char('-'))
        ok = selStart == 0 && (!s.contains(QLatin1Char('-')) || selectedText().contains(QLatin1Char('-')));
    if (FSpinType == sptNormal && !(Key.isNumber() || Key == QLatin1Char('-'))) ok = false;
    if (FSpinType == sptFloat && Key.unicode() != 27 && Key.unicode() != 13 && Key.unicode() != 8) {
        if (Key == fs.ThousandSeparator) ok = false;
        if (Key == fs.DecimalSeparator && s.contains(fs.DecimalSeparator) &&
            !selectedText().contains(fs.DecimalSeparator))
            ok = false;
        const int f = s.indexOf(fs.DecimalSeparator) + 1;
        if (FPrecision > 0 && f > 0 && cursorPosition() >= f && !hasSelectedText() && s.size() >= f + FPrecision)
            ok = false;
    }
    if (FSpinType == sptTime && Key == fs.TimeSeparator && s.count(fs.TimeSeparator) >= 2) ok = false;
    if (!FEditorEnabled && !control) ok = false;
    return ok;
}

bool TPsgSpinEdit::FilterChar(QKeyEvent* e)
{
    const QString t = e->text();
    if (t.isEmpty()) return false;
    QChar k = t.at(0);
    // Ctrl+letter arrives as its control character
    if ((e->modifiers() & Qt::ControlModifier) && e->key() >= Qt::Key_A && e->key() <= Qt::Key_Z)
        k = QChar(e->key() - Qt::Key_A + 1);
    if (ExcelStyleDecimalSeparator && k == QLatin1Char('.') && (e->modifiers() & Qt::KeypadModifier))
        k = LocaleDecimalSeparator();
    if (!IsValidChar(k)) {
        QApplication::beep();
        return true;
    }
    if (k != t.at(0) && k.unicode() >= 32) {
        insert(QString(k));
        return true;
    }
    return false;
}

void TPsgSpinEdit::keyPressEvent(QKeyEvent* e)
{
    switch (e->key()) {
    case Qt::Key_PageUp: IncreaseValue(true); return;
    case Qt::Key_PageDown: DecreaseValue(true); return;
    case Qt::Key_Up: IncreaseValue(false); return;
    case Qt::Key_Down: DecreaseValue(false); return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (ReturnIsTab) {
            focusNextChild();
            return;
        }
        break;
    case Qt::Key_Delete:
        if (!FEditorEnabled) return;
        break;
    default: break;
    }
    if ((e->key() == Qt::Key_Backspace || e->key() == Qt::Key_Delete || !e->text().isEmpty()) && FilterChar(e))
        return;
    if (e->matches(QKeySequence::Paste) || e->matches(QKeySequence::Cut)) {
        if (!FEditorEnabled || isReadOnly()) return;
    }
    QLineEdit::keyPressEvent(e);
}

bool TPsgSpinEdit::event(QEvent* e)
{
    // paste and cut through the shortcut map or the context menu need typing allowed
    if (e->type() == QEvent::ShortcutOverride) {
        auto* ke = static_cast<QKeyEvent*>(e);
        if ((ke->matches(QKeySequence::Paste) || ke->matches(QKeySequence::Cut)) && !FEditorEnabled) {
            e->accept();
            return true;
        }
    }
    return QLineEdit::event(e);
}

void TPsgSpinEdit::focusInEvent(QFocusEvent* e)
{
    const int caret = cursorPosition();
    const bool hadSelection = hasSelectedText();
    QLineEdit::focusInEvent(e);
    if (!AutoSelect) {
        // the line edit selects everything on Tab by itself
        if (!hadSelection && hasSelectedText()) setCursorPosition(caret);
    } else if (!(QApplication::mouseButtons() & Qt::LeftButton) || !FEditorEnabled) {
        selectAll();
    }
}

void TPsgSpinEdit::focusOutEvent(QFocusEvent* e)
{
    QLineEdit::focusOutEvent(e);
    switch (FSpinType) {
    case sptNormal: {
        const int v = Value();
        if (v != Clamped(v, MinValue, MaxValue)) SetValue(v);
        break;
    }
    case sptFloat: {
        const double v = FloatValue();
        if (v != Clamped(v, MinFloatValue, MaxFloatValue)) SetFloatValue(v);
        break;
    }
    case sptDate: {
        const TDateTime v = DateValue();
        if (v != Clamped(v, MinDateValue, MaxDateValue)) SetDateValue(v);
        break;
    }
    case sptTime: {
        const TDateTime v = TimeValue();
        if (v != Clamped(v, MinDateValue, MaxDateValue)) SetTimeValue(v);
        break;
    }
    }
}

// ---- layout ---------------------------------------------------------------------------------

void TPsgSpinEdit::SetDirection(TSpinDirection v)
{
    FButton->SetDirection(v);
    resize(width() + 1, height());
    resize(width() - 1, height());
}

void TPsgSpinEdit::SetEditAlign(TEditAlign v)
{
    FEditAlign = v;
    setAlignment(v == eaRight ? Qt::AlignRight | Qt::AlignVCenter
                 : v == eaCenter ? Qt::AlignHCenter | Qt::AlignVCenter
                                 : Qt::AlignLeft | Qt::AlignVCenter);
}

int TPsgSpinEdit::GetMinHeight() const
{
    const int th = fontMetrics().height();
    const int sys = QFontMetrics(QApplication::font()).height();
    return th + std::min(th, sys) / 4 + 2 + (hasFrame() ? 4 : 0);
}

void TPsgSpinEdit::SetEditRect()
{
    // the text keeps clear of the buttons
    const int inset = hasFrame() ? 0 : 3;
    setTextMargins(inset, 0, FButton->width() + 2 + inset, 0);
}

void TPsgSpinEdit::resizeEvent(QResizeEvent* e)
{
    QLineEdit::resizeEvent(e);
    const int w = FButton->width();
    if (hasFrame()) FButton->setGeometry(width() - w - 1, 1, w, height() - 2);
    else FButton->setGeometry(width() - w, 0, w, height());
    SetEditRect();
}
