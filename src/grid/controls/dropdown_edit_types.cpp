// The typed value of the drop-down edit: prefix and suffix around it, number formatting in
// the locale's separators, the caret rules of the value part, the character filter of the
// edit types, completion on focus loss, and cut, copy and paste.
#include "grid/controls/pro_custom_dropdown.h"

#include "grid/base/text_packing.h"
#include "platform/core/format_settings.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLocale>
#include <cmath>

namespace {

QChar Dec() { return LocaleDecimalSeparator(); }
QChar Thou() { return LocaleThousandSeparator(); }
bool IsDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }
bool IsHexDigit(QChar c)
{
    return IsDigit(c) || (c >= QLatin1Char('A') && c <= QLatin1Char('F')) || (c >= QLatin1Char('a') && c <= QLatin1Char('f'));
}
bool IsAsciiLetter(QChar c)
{
    return (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) || (c >= QLatin1Char('a') && c <= QLatin1Char('z'));
}
constexpr QChar Backspace = QChar(8);
constexpr QChar Minus = QLatin1Char('-');

} // namespace

int ClassifyEditText(const QString& S)
{
    if (S.isEmpty() || S.count(Minus) > 1 || S.count(Dec()) > 1) return 2;
    bool intOnly = true, decimal = true, hex = true;
    int lastThousand = -1;
    for (int i = 0; i < S.size(); ++i) {
        const QChar c = S[i];
        if (IsDigit(c) || c == Minus) continue;
        intOnly = false;
        if (!IsHexDigit(c)) hex = false;
        if (c == Dec()) {
            if (lastThousand >= 0 && i - lastThousand <= 3) decimal = false;
        } else if (c == Thou()) {
            if (lastThousand >= 0 && i - lastThousand <= 3) decimal = false;
            lastThousand = i;
        } else {
            decimal = false;
        }
    }
    if (intOnly) return 0;
    if (decimal) return 1;
    if (hex) return 5;
    return 2;
}

QString StripThousandSeparators(const QString& S)
{
    QString r = S;
    r.remove(Thou());
    return r;
}

int64_t HexTextToInt(const QString& S)
{
    // places beyond sixteen digits wrap away, as in a 64-bit register
    uint64_t v = 0, weight = 1;
    for (int i = int(S.size()) - 1; i >= 0 && weight != 0; --i) {
        const QChar c = S[i];
        int d = 0;
        if (IsDigit(c)) d = c.unicode() - '0';
        else if (c >= QLatin1Char('A') && c <= QLatin1Char('F')) d = c.unicode() - 'A' + 10;
        else if (c >= QLatin1Char('a') && c <= QLatin1Char('f')) d = c.unicode() - 'a' + 10;
        v += uint64_t(d) * weight;
        weight *= 16;
    }
    return int64_t(v);
}

QString FormatEditNumber(double X, int Precision, bool Thousands)
{
    if (!std::isfinite(X)) X = 0;
    if (Precision < 0) {
        QString g = QString::number(X, 'g', 15);
        g.replace(QLatin1Char('.'), Dec());
        return g;
    }
    const QString f = QString::number(X, 'f', Precision);
    QString intPart = f, frac;
    const int dot = int(f.indexOf(QLatin1Char('.')));
    if (dot >= 0) {
        intPart = f.left(dot);
        frac = f.mid(dot + 1);
    }
    QString sign;
    if (intPart.startsWith(Minus)) {
        sign = Minus;
        intPart.remove(0, 1);
    }
    if (Thousands)
        for (int i = int(intPart.size()) - 3; i > 0; i -= 3) intPart.insert(i, Thou());
    return sign + intPart + (frac.isEmpty() ? QString() : QString(Dec()) + frac);
}

// ---- the value ---------------------------------------------------------------------------

QString TProCustomDropDown::Text() const
{
    QString s = text();
    if (!FPrefix.isEmpty() && s.startsWith(FPrefix)) s.remove(0, FPrefix.size());
    if (!FSuffix.isEmpty()) s.chop(std::min(s.size(), FSuffix.size()));
    return s;
}

void TProCustomDropDown::SetText(const QString& Value)
{
    QString v = Value;
    const bool numeric = FEditType == etNumeric || FEditType == etFloat || FEditType == etMoney || FEditType == etHex;
    if (v.isEmpty() && numeric) v = QStringLiteral("0");
    if (FPrecision > 0 && !v.isEmpty() && v != QLatin1String("Error")) {
        if (FEditType == etMoney) v = FormatEditNumber(ParseFloat(v), FPrecision, true);
        else if (FEditType == etFloat) v = FormatEditNumber(ParseFloat(v), FPrecision, false);
    }
    if (FEditType == etHex) v = v.toUpper();
    setText(FPrefix + v + FSuffix);
    FOldText = v;
    SetModified(false);
    FIsModified = false;
}

void TProCustomDropDown::SetTextDirect(const QString& Value) { setText(Value); }

void TProCustomDropDown::ReplaceValue(const QString& Value, int Caret)
{
    setText(FPrefix + Value + FSuffix);
    SetSel(P() + std::clamp(Caret, 0, int(Value.size())), 0);
}

double TProCustomDropDown::ParseFloat(const QString& S) const
{
    QString s = StripThousandSeparators(S).trimmed();
    if (Dec() != QLatin1Char('.')) {
        if (s.contains(QLatin1Char('.'))) return 0;
        s.replace(Dec(), QLatin1Char('.'));
    }
    bool ok = false;
    const double v = s.toDouble(&ok);
    return ok && std::isfinite(v) ? v : 0;
}

double TProCustomDropDown::FloatValue() const
{
    const QString v = Text();
    switch (FEditType) {
    case etString: {
        // the number at the start, as the run-time conversion reads it: sign, digits, a
        // fraction after the decimal separator, an exponent
        const QString s = v.trimmed();
        int n = 0;
        auto digits = [&] {
            const int from = n;
            while (n < s.size() && IsDigit(s[n])) ++n;
            return n > from;
        };
        if (n < s.size() && (s[n] == Minus || s[n] == QLatin1Char('+'))) ++n;
        bool any = digits();
        if (n < s.size() && s[n] == Dec()) {
            ++n;
            any = digits() || any;
        }
        if (!any) return 0;
        if (n < s.size() && (s[n] == QLatin1Char('e') || s[n] == QLatin1Char('E'))) {
            const int mark = n++;
            if (n < s.size() && (s[n] == Minus || s[n] == QLatin1Char('+'))) ++n;
            if (!digits()) n = mark;
        }
        QString number = s.left(n);
        number.replace(Dec(), QLatin1Char('.'));
        bool ok = false;
        const double d = number.toDouble(&ok);
        return ok && std::isfinite(d) ? d : 0;
    }
    case etNumeric:
    case etFloat:
        if (v.isEmpty() || v == QLatin1String("Error") || v == QLatin1String("-")) return 0;
        return ParseFloat(v);
    case etMoney: {
        QString s = StripThousandSeparators(v);
        if (s.endsWith(Dec())) s.chop(1);
        if (s.isEmpty() || s == QLatin1String("-")) return 0;
        return ParseFloat(s);
    }
    case etHex: return double(HexTextToInt(v));
    default: return 0;
    }
}

void TProCustomDropDown::SetFloatValue(double X)
{
    switch (FEditType) {
    case etString:
    case etFloat: SetText(FormatEditNumber(X, FPrecision < 0 ? -1 : FPrecision, false)); break;
    case etNumeric: SetText(FormatEditNumber(X, FPrecision < 0 ? -1 : FPrecision, true)); break;
    case etMoney:
        SetText(FormatEditNumber(X, FPrecision < 0 ? -1 : FPrecision, false));
        FormatThousands();
        break;
    case etHex: SetText(QString::number(int64_t(std::trunc(std::clamp(X, -9.2e18, 9.2e18))), 16).toUpper()); break;
    default: break;
    }
    SetModifiedState(true);
}

void TProCustomDropDown::SetIntValue(int64_t N)
{
    switch (FEditType) {
    case etNumeric:
    case etFloat: SetText(QString::number(N)); break;
    case etMoney:
        SetText(QString::number(N));
        FormatThousands();
        break;
    case etHex: SetText(QString::number(N, 16).toUpper()); break;
    default: break;
    }
    SetModifiedState(true);
}

void TProCustomDropDown::FormatThousands()
{
    const QString value = Text();
    if (value.isEmpty()) return;
    const int c0 = cursorPosition();
    const int l0 = int(value.size());
    QString v = value;
    QString sign;
    if (v.startsWith(Minus)) {
        sign = Minus;
        v.remove(0, 1);
    }
    const int dec = int(v.indexOf(Dec()));
    const QString frac = dec >= 0 ? v.mid(dec, 255) : QString();
    const double whole = std::trunc(std::fabs(FloatValue()));
    QString digits = FormatEditNumber(whole, 0, AutoThousandSeparator);
    const QString result = sign + digits + frac;
    const QString full = FPrefix + result + FSuffix;
    // the rewrite of a value just typed is no change of its own
    FBlockChange = full != text();
    if (FBlockChange) setText(full);
    SetSel(std::max(0, c0 + int(result.size()) - l0), 0);
}

void TProCustomDropDown::SetEditType(TDropDownEditType v)
{
    if (v == FEditType) return;
    FEditType = v;
    if (v == etPassword) {
        setEchoMode(QLineEdit::Password);
        CanUndo = false;
    } else {
        setEchoMode(QLineEdit::Normal);
    }
    const int kind = ClassifyEditText(Text());
    if ((v == etNumeric && kind != 0) || (v == etHex && kind != 0 && kind != 5)) SetIntValue(0);
    else if ((v == etFloat || v == etMoney) && kind != 0 && kind != 1) SetFloatValue(0);
}

void TProCustomDropDown::SetPrecision(int v)
{
    if (v == FPrecision) return;
    if (FEditType != etString && FEditType != etFloat && FEditType != etMoney) return;
    FPrecision = v;
    const int kind = ClassifyEditText(Text());
    if (kind != 0 && kind != 1) SetFloatValue(0);
    else SetFloatValue(FloatValue());
}

void TProCustomDropDown::SetPrefix(const QString& v)
{
    const QString value = Text();
    FPrefix = v;
    setText(FPrefix + value + FSuffix);
}

void TProCustomDropDown::SetSuffix(const QString& v)
{
    const QString value = Text();
    FSuffix = v;
    setText(FPrefix + value + FSuffix);
}

void TProCustomDropDown::CompleteValue()
{
    const QString v = Text();
    const bool floatLike = FEditType == etFloat || FEditType == etMoney;
    if (FPrecision > 0 && floatLike && !(v.isEmpty() && AllowNumericNullValue)) {
        const bool modified = FIsModified;
        SetFloatValue(FloatValue());
        FIsModified = modified;
        SetModified(modified);
    }
    if (FEditType == etNumeric && v.isEmpty() && !AllowNumericNullValue) SetText(QStringLiteral("0"));
    if (floatLike && v.isEmpty() && !AllowNumericNullValue) SetFloatValue(0);
}

void TProCustomDropDown::SelectAll()
{
    SetSel(P(), V());
}

void TProCustomDropDown::SelectBeforeDecimal()
{
    const int d = int(Text().indexOf(Dec()));
    SetSel(d >= 0 ? P() + d : P(), 0);
}

void TProCustomDropDown::SelectAfterDecimal()
{
    const int d = int(Text().indexOf(Dec()));
    SetSel(d >= 0 ? P() + d + 1 : P(), 0);
}

void TProCustomDropDown::SetModifiedState(bool Value)
{
    if (!FEditorEnabled || isReadOnly()) return;
    SetModified(Value);
    FIsModified = Value;
}

int TProCustomDropDown::IntegerPartLength(const QString& S) const
{
    const QString s = StripThousandSeparators(S);
    const int d = int(s.indexOf(Dec()));
    int n = d >= 0 ? d + 1 : int(s.size()) + 1;
    if (Signed && (FEditType == etNumeric || FEditType == etFloat || FEditType == etMoney) && s.contains(Minus)) --n;
    return n;
}

// ---- caret rules ---------------------------------------------------------------------------

bool TProCustomDropDown::CaretRules(QKeyEvent* e)
{
    const int p = P(), end = P() + V();
    const bool shift = e->modifiers() & Qt::ShiftModifier;
    const int selEnd = hasSelectedText() ? selectionStart() + int(selectedText().size()) : cursorPosition();
    const int selStart = SelStart();
    switch (e->key()) {
    case Qt::Key_Right:
        if (!FSuffix.isEmpty() && selEnd >= end && !(shift && cursorPosition() < end)) return true;
        return false;
    case Qt::Key_Left:
        if (!FPrefix.isEmpty() && cursorPosition() <= p) return true;
        return false;
    case Qt::Key_End:
        if (FSuffix.isEmpty()) return false;
        if (shift) setSelection(cursorPosition(), end - cursorPosition());
        else SetSel(end, 0);
        return true;
    case Qt::Key_Home:
        if (FPrefix.isEmpty()) return false;
        if (shift) setSelection(end, p - end);
        else SetSel(p, 0);
        return true;
    case Qt::Key_Delete: {
        if (!FSuffix.isEmpty() && selEnd >= end && !hasSelectedText()) return true;
        if (selStart >= p && LengthLimit > 0) {
            QString after = Text();
            const int at = selStart - p;
            after.remove(at, hasSelectedText() ? int(selectedText().size()) : 1);
            if (IntegerPartLength(after) - 1 > LengthLimit) return true;
        }
        SetModifiedState(true);
        return false;
    }
    case Qt::Key_Backspace:
        if (!FPrefix.isEmpty() && !hasSelectedText() && cursorPosition() <= p) return true;
        return false;
    default: return false;
    }
}

// ---- the character filter ----------------------------------------------------------------

bool TProCustomDropDown::HandleChar(QKeyEvent* e)
{
    const QString t = e->text();
    const bool backspace = e->key() == Qt::Key_Backspace;
    if (!backspace && (t.isEmpty() || !t[0].isPrint())) return false;
    if (!FEditorEnabled) return true;
    const bool handled = FilterChar(e, backspace ? Backspace : t[0]);
    FIsModified = FIsModified || isModified();
    return handled;
}

bool TProCustomDropDown::FilterChar(QKeyEvent* e, QChar ch)
{
    const QString value = Text();
    const int p = P();
    const bool sel = hasSelectedText();
    const int caret = cursorPosition() - p;               // in the value
    const QString selected = selectedText();
    const bool wholeSelected = sel && selected.size() == value.size() && !value.isEmpty();
    const bool numeric = FEditType == etNumeric || FEditType == etFloat || FEditType == etMoney;
    auto pass = [&] {
        SetModifiedState(true);
        return false;
    };
    auto typeIt = [&](const QString& s) {
        insert(s);
        SetModifiedState(true);
        return true;
    };
    if (ExcelStyleDecimalSeparator && (e->modifiers() & Qt::KeypadModifier) &&
        (ch == QLatin1Char('.') || ch == QLatin1Char(',')))
        ch = Dec();
    if (ch == Backspace && !FPrefix.isEmpty() && caret <= 0 && !sel) return true;
    if (LengthLimit > 0 && ch != Backspace && ch != Dec() && !(ch == Minus && Signed) && !sel &&
        IntegerPartLength(value) - 1 >= LengthLimit) {
        const int d = int(value.indexOf(Dec()));
        if (d < 0 || caret <= d) return true;
    }
    if (ch == Backspace) return pass();
    if (numeric && !Signed && ch == Minus) return true;

    auto toggleSign = [&] {
        if (wholeSelected) {
            ReplaceValue(QStringLiteral("-"), 1);
        } else if (value.contains(Minus)) {
            ReplaceValue(value.mid(1), std::max(0, caret - 1));
        } else {
            ReplaceValue(QString(Minus) + value, caret + 1);
        }
        SetModifiedState(true);
        return true;
    };
    // the thousand-separator spacing and the full decimal part of etFloat and etMoney
    auto floatRules = [&](bool& eaten) {
        eaten = true;
        const bool isSep = ch == Dec() || ch == Thou();
        if (isSep && value.contains(Thou())) {
            int nearest = -1, best = INT_MAX;
            for (int i = 0; i < value.size(); ++i)
                if (value[i] == Thou() && std::abs(i - caret) < best) best = std::abs(i - caret), nearest = i;
            if (std::abs(nearest + 1 - caret) != 3) return true;
        }
        const int d = int(value.indexOf(Dec()));
        if (!sel && d >= 0 && caret > d && FPrecision > 0 && value.size() - d - 1 >= FPrecision && (IsDigit(ch) || ch == Dec())) {
            if (IsDigit(ch) && caret < value.size()) {
                setSelection(cursorPosition(), 1);
                insert(QString(ch));
                SetModifiedState(true);
            }
            return true;
        }
        if (ch == Dec() && value.isEmpty() && caret == 0) {
            ReplaceValue(QStringLiteral("0") + Dec(), 2);
            SetModifiedState(true);
            return true;
        }
        if (ch == Minus && !sel) return toggleSign();
        eaten = false;
        return false;
    };

    switch (FEditType) {
    case etNumeric:
        if (ch == Minus) return toggleSign();
        if (IsDigit(ch)) return pass();
        return !(e->modifiers() & Qt::ControlModifier);
    case etFloat: {
        if ((ch == QLatin1Char(',') || ch == QLatin1Char('.')) && ch != Dec() && ch != Thou()) return true;
        if (!(IsDigit(ch) || ch == QLatin1Char(',') || ch == QLatin1Char('.') || ch == Minus)) return true;
        if (ch == Dec() && !selected.contains(Dec()) && (value.contains(Dec()) || FPrecision == 0)) {
            if (FPrecision > 0) SelectAfterDecimal();
            return true;
        }
        bool eaten;
        const bool r = floatRules(eaten);
        if (eaten) return r;
        return pass();
    }
    case etMoney: {
        if (!(IsDigit(ch) || ch == Minus || ch == Dec())) return true;
        if (ch == Dec() && (value.contains(Dec()) || FPrecision == 0)) {
            if (FPrecision > 0 && wholeSelected) {
                SetText(QStringLiteral("0") + Dec() + QStringLiteral("0"));
                SetSel(p + 2, 0);
            }
            return true;
        }
        bool eaten;
        const bool r = floatRules(eaten);
        if (eaten) return r;
        insert(QString(ch));
        SetModifiedState(true);
        const QString now = Text();
        if (ch != Dec() && !now.isEmpty() && now != QLatin1String("-")) FormatThousands();
        return true;
    }
    case etUppercase: return typeIt(QLocale().toUpper(QString(ch)));
    case etLowerCase: return typeIt(QLocale().toLower(QString(ch)));
    case etMixedCase: {
        insert(QString(ch));
        const int at = cursorPosition();
        const QString v = CapitalizeWords(Text());
        setText(FPrefix + v + FSuffix);
        setCursorPosition(at);
        SetModifiedState(true);
        return true;
    }
    case etRange:
        if (!(IsDigit(ch) || IsRangeSeparator(ch))) return true;
        if (IsRangeSeparator(ch)) {
            if (caret <= 0) return true;
            if (IsRangeSeparator(value[caret - 1])) return true;
            if (caret < value.size() && IsRangeSeparator(value[caret])) return true;
        }
        return pass();
    case etHex:
        if (IsHexDigit(ch) || ch == Minus) return pass();
        return true;
    case etAlphaNumeric:
        if (IsDigit(ch) || IsAsciiLetter(ch)) return pass();
        return true;
    case etValidChars:
        if (ValidChars.contains(ch)) return pass();
        return true;
    case etString:
    case etPassword: return pass();
    }
    return pass();
}

// ---- clipboard -----------------------------------------------------------------------------

void TProCustomDropDown::CutToClipboard()
{
    if (!FEditorEnabled || isReadOnly()) return;
    FBlockCopy = true;
    bool allow = true;
    if (OnClipboardCut) OnClipboardCut(this, selectedText(), allow);
    if (allow) {
        QApplication::clipboard()->setText(selectedText());
        del();
        if (FEditType == etMoney) FormatThousands();
        SetModifiedState(true);
    }
    FBlockCopy = false;
}

void TProCustomDropDown::CopyToClipboard()
{
    bool allow = true;
    if (!FBlockCopy && OnClipboardCopy) OnClipboardCopy(this, selectedText(), allow);
    FBlockCopy = false;
    if (allow && hasSelectedText()) QApplication::clipboard()->setText(selectedText());
}

void TProCustomDropDown::PasteFromClipboard()
{
    if (isReadOnly()) return;
    const QString clip = QApplication::clipboard()->text();
    if (clip.isEmpty()) return;
    const QString value = Text();
    const int p = P();
    const bool sel = hasSelectedText();
    const int start = std::clamp(SelStart() - p, 0, int(value.size()));
    const int len = std::min(int(selectedText().size()), int(value.size()) - start);
    const QString newValue = value.left(start) + clip + value.mid(start + len);
    bool allow = true;
    if (OnClipboardPaste) OnClipboardPaste(this, newValue, allow);
    if (!allow) return;
    if (maxLength() > 0 && clip.size() + value.size() - len > maxLength()) return;
    const int kind = ClassifyEditText(newValue);
    bool pasted = true;
    switch (FEditType) {
    case etString:
    case etPassword: SetText(newValue); break;
    case etNumeric:
        if (kind == 0 && (Signed || !newValue.contains(Minus))) SetText(newValue);
        else pasted = false;
        break;
    case etFloat:
    case etMoney:
        if ((kind == 0 || kind == 1) && !(FPrecision == 0 && clip.contains(Dec())) && (Signed || !newValue.contains(Minus))) {
            SetText(newValue);
            SetFloatValue(FloatValue());
        } else {
            pasted = false;
        }
        break;
    case etUppercase: SetText(QLocale().toUpper(newValue)); break;
    case etLowerCase: SetText(QLocale().toLower(newValue)); break;
    case etMixedCase: SetText(CapitalizeWords(newValue)); break;
    case etAlphaNumeric:
    case etValidChars: {
        const bool ok = std::all_of(clip.begin(), clip.end(), [this](QChar c) {
            return FEditType == etValidChars ? ValidChars.contains(c) : (IsDigit(c) || IsAsciiLetter(c));
        });
        if (ok) SetText(newValue);
        else pasted = false;
        break;
    }
    case etRange:
    case etHex: pasted = false; break;
    }
    if (!pasted) return;
    SetModifiedState(true);
    if (FEditType == etMoney && Text().size() > 3) SelectAll();
    else if (sel) SetSel(p + start, int(clip.size()));
    else SetSel(p + start + int(clip.size()), 0);
}
