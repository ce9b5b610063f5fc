#include "grid/control/pro_inplace_edit.h"

#include "grid/base/number_routines.h"
#include "grid/base/text_packing.h"
#include "grid/control/pro_string_grid.h"
#include "platform/core/format_settings.h"
#include "platform/ui/grid_detail.h"

#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QRegularExpression>

using namespace grid_detail;

TProInplaceEdit::TProInplaceEdit(TProStringGrid* AOwner) : TInplaceEdit(AOwner), FGrid(AOwner) {}

void TProInplaceEdit::SetVAlign(bool v)
{
    FValign = v;
    setAlignment(v ? Qt::AlignRight | Qt::AlignVCenter : Qt::AlignLeft | Qt::AlignVCenter);
}

bool TProInplaceEdit::MultiLine() const
{
    return FGrid->WordWrap() || FGrid->Multilinecells();
}

void TProInplaceEdit::UpdateContents()
{
    FGrid->FNoEditChange = true;
    TInplaceEdit::UpdateContents();
    FGrid->FNoEditChange = false;
    setEchoMode(FGrid->CurrentEditor() == edPassword ? QLineEdit::Password : QLineEdit::Normal);
    FLengthLimit = FGrid->EditorMaxLength();
    // colours and font of the cell as it is drawn
    TGridDrawState state;
    TBrush brush;
    TFont font;
    font.Assign(*FGrid->Font());
    TColor to = clNone, mirror = clNone, mirrorTo = clNone;
    TAlignment ha = taLeftJustify;
    TVAlignment va = vtaTop;
    bool ww = false;
    TCellGradientDirection gd{};
    FGrid->GetVisualProperties(FGrid->Col(), FGrid->Row(), state, false, false, true, &brush, to, mirror, mirrorTo,
                               &font, ha, va, ww, gd);
    QPalette p = palette();
    p.setColor(QPalette::Base, ColorToQColor(brush.Color()));
    p.setColor(QPalette::Text, ColorToQColor(font.Color()));
    setPalette(p);
    setFont(font.ToQFont());
    FColE = FGrid->Col();
    FRowE = FGrid->Row();
    setAlignment((ha == taRightJustify ? Qt::AlignRight : ha == taCenter ? Qt::AlignHCenter : Qt::AlignLeft) |
                 Qt::AlignVCenter);
    FGrid->GetEditorProp(FGrid->RealColIndex(FGrid->Col()), FGrid->Row(), nullptr);
}

void TProInplaceEdit::BoundsChanged()
{
    const TRect r = FGrid->CellRect(FGrid->Col(), FGrid->Row());
    if (!IsRectEmpty(r)) setGeometry(r.Left, r.Top, r.Right - r.Left - 1, r.Bottom - r.Top - 1);
    setTextMargins(2, 2, 1, 0);
}

void TProInplaceEdit::InsertAtSelection(const QString& S)
{
    const int start = SelStart(), len = SelLength();
    QString t = text();
    t.replace(start, len, S);
    setText(t);
    if (len > 0) setSelection(start, int(S.size()));
    else setCursorPosition(start + int(S.size()));
}

void TProInplaceEdit::SelectAfterRefusal()
{
    if (FGrid->Navigation()->EditSelectAll()) selectAll();
    else setCursorPosition(int(text().size()));
}

bool TProInplaceEdit::HandleKeyDownMessage(int K, TShiftState Shift)
{
    FOldSelStart = SelStart();
    const bool ctrl = Shift.Contains(ssCtrl);
    TNavigation* nav = FGrid->Navigation();
    if (K == VK_ESCAPE) {
        // back to the text the cell had when editing began, without validation
        SetText(FGrid->FCellCache);
        FGrid->HideInplaceEdit();
        return true;
    }
    if (K == 'A' && ctrl && !Shift.Contains(ssAlt)) {
        selectAll();
        return false;
    }
    if (K == VK_RETURN && ctrl && !(nav->AllowCtrlEnter() && MultiLine())) return false;
    const QString T = text();
    const QString O = FGrid->FOldCellText;
    auto refused = [&] {
        SetText(FGrid->FNewCellText);
        SelectAfterRefusal();
        FGrid->FOldCellText = O;
        return false;
    };
    if (K == VK_TAB && FGrid->EditorWantsTab()) {
        if (!FGrid->ValidateCell(T)) return refused();
        SetText(FGrid->FNewCellText);
        FGrid->HideInplaceEdit();
        if (FGrid->Options().Contains(goTabs)) FGrid->Perform(WM_KEYDOWN, VK_TAB);
        else FGrid->PostMessage(WM_KEYDOWN, VK_TAB);
        return false;
    }
    if (K == VK_UP || K == VK_DOWN) {
        // a single line: the caret is always in the first and in the last line
        FGrid->FValidating = true;
        FGrid->SetCurrentCell(T);
        FGrid->FValidating = false;
        if (!FGrid->ValidateCell(T)) return refused();
        SetText(FGrid->FNewCellText);
    }
    if (K == VK_RETURN && !nav->LineFeedOnEnter() && !ctrl) {
        if (!FGrid->ValidateCell(T)) return refused();
        SetText(FGrid->FNewCellText);
    }
    if (!ctrl && !Shift.Contains(ssShift)) {
        if (K == VK_HOME) setCursorPosition(0);
        else if (K == VK_END) setCursorPosition(int(text().size()));
    }
    return true;
}

void TProInplaceEdit::KeyDown(int& key, TShiftState shift)
{
    FSelKeyDown = SelStart();
    if (key == VK_BACK || key == VK_DELETE) Workmode = false;
    else Workmode = true;
    if (key == VK_RETURN && !FGrid->Navigation()->AllowCtrlEnter() && MultiLine()) FGrid->FEditing = false;
    TInplaceEdit::KeyDown(key, shift);
}

void TProInplaceEdit::KeyPress(QChar& key)
{
    if (key.unicode() == 13 && !FGrid->Navigation()->LineFeedOnEnter()) {
        if (!FGrid->ValidateCell(text())) {
            SetText(FGrid->CurrentCell());
            key = QChar();
            return;
        }
    }
    TInplaceEdit::KeyPress(key);
}

bool TProInplaceEdit::HandleCharMessage(QChar& K)
{
    const char16_t c = K.unicode();
    const bool ctrl = QApplication::keyboardModifiers() & Qt::ControlModifier;
    if (c == 1 && ctrl) return false;
    if (c == 10 && ctrl && !(FGrid->Navigation()->AllowCtrlEnter() && MultiLine())) return false;
    if (FLengthLimit > 0 && text().size() == FLengthLimit && SelLength() == 0 && c != 8 && c != 27 && c != 13)
        return false;
    const bool control = c == 8 || c == 9 || c == 13 || c == 27;
    auto beep = [] {
        QApplication::beep();
        return false;
    };
    const QString t = text();
    switch (FGrid->CurrentEditor()) {
    case edNormal:
    case edPassword: return true;
    case edNumeric:
        if (control || (c >= '0' && c <= '9')) return true;
        if (c == '-' && !t.contains(QLatin1Char('-')) && SelStart() == 0) return true;
        return beep();
    case edPositiveNumeric:
        if (control || (c >= '0' && c <= '9')) return true;
        return beep();
    case edFloat:
    case edPositiveFloat: {
        const bool positive = FGrid->CurrentEditor() == edPositiveFloat;
        if (control || (c >= '0' && c <= '9')) return true;
        if (c == ',' || c == '.') {
            if (K == LocaleThousandSeparator() || K != LocaleDecimalSeparator()) return false;
            QString outside = t;
            outside.remove(SelStart(), SelLength());
            return !outside.contains(K);
        }
        if (c == '-') {
            if (positive) return false;
            if ((SelStart() == 0 && !t.contains(QLatin1Char('-'))) || selectedText().contains(QLatin1Char('-')))
                return true;
            return beep();
        }
        return ctrl;
    }
    case edCapital:
    case edUpperCase: K = K.toUpper(); return true;
    case edLowerCase: K = K.toLower(); return true;
    case edMixedCase: return true;
    case edValidChars: {
        if (c == 8 || c == 13) return true;
        const QString valid = FGrid->ValidChars();
        if (!valid.isEmpty() ? valid.contains(K) : (c <= 255 && FGrid->ValidCharSet().contains(K))) return true;
        return beep();
    }
    default: return false;
    }
}

void TProInplaceEdit::HandlePasteMessage()
{
    QString S = QApplication::clipboard()->text();
    bool Allow = !S.isEmpty();
    if (FGrid->OnClipboardPaste) FGrid->OnClipboardPaste(this, Allow);
    if (Allow && FGrid->OnClipboardBeforePasteCell)
        FGrid->OnClipboardBeforePasteCell(this, FGrid->Col(), FGrid->Row(), S, Allow);
    if (!Allow || (FLengthLimit >= 1 && FLengthLimit < S.size())) return;
    const qsizetype lb = S.indexOf(QRegularExpression(QStringLiteral("\r\n|\n|\r")));
    if (lb >= 0) {
        // an editor of single-line cells takes the first line only (word wrap only breaks
        // what is shown); one of multi-line cells drops a closing line break
        if (!FGrid->Multilinecells()) S.truncate(lb);
        else if (S.mid(lb) == QLatin1String("\r\n") || S.mid(lb) == QLatin1String("\n")) S.truncate(lb);
    }
    const int start = SelStart(), len = SelLength();
    QString N = text();
    N.replace(start, len, S);
    if (FLengthLimit < 1 || FLengthLimit >= N.size()) {
        const TEditorType k = FGrid->CurrentEditor();
        const int cls = ClassifyNumberText(N);
        bool take = true;
        switch (k) {
        case edNumeric:
        case edPositiveNumeric: take = cls == 0 && (!N.contains(QLatin1Char('-')) || k == edNumeric); break;
        case edFloat:
        case edPositiveFloat: take = (cls == 0 || cls == 1) && (!N.contains(QLatin1Char('-')) || k == edFloat); break;
        case edMixedCase: N = CapitalizeWords(N); break;
        case edLowerCase: N = N.toLower(); break;
        case edUpperCase: N = N.toUpper(); break;
        case edValidChars:
            for (QChar ch : N)
                if (!FGrid->ValidChars().contains(ch)) take = false;
            break;
        default: break;
        }
        if (take) {
            setText(N);
            if (len > 0) setSelection(start, int(S.size()));
            else setCursorPosition(start + int(S.size()));
        }
    }
    FGrid->SetCurrentCell(text());
    if (FGrid->OnClipboardAfterPasteCell) FGrid->OnClipboardAfterPasteCell(this, FGrid->Col(), FGrid->Row(), text());
}

void TProInplaceEdit::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case WM_KEYDOWN: {
        QKeyEvent* e = PendingKey();
        TShiftState shift = e ? ShiftStateOf(e) : KeyboardStateToShiftState();
        if (!HandleKeyDownMessage(int(m.WParam), shift)) {
            m.WParam = 0;
            return;
        }
        break;
    }
    case WM_CHAR: {
        QChar c(static_cast<char16_t>(m.WParam));
        if (!HandleCharMessage(c)) {
            m.WParam = 0;
            return;
        }
        m.WParam = c.unicode();
        if (FGrid->CurrentEditor() == edMixedCase && c.unicode() >= 32) {
            const int pos = SelStart();
            TInplaceEdit::WndProc(m);
            if (m.WParam == 0) return;
            SetText(CapitalizeWords(text()));
            setCursorPosition(pos + 1);
            Change();
            return;
        }
        break;
    }
    case WM_PASTE: HandlePasteMessage(); return;
    case WM_COPY:
    case WM_CUT: {
        bool Allow = true;
        auto& ev = m.Msg == WM_COPY ? FGrid->OnClipboardCopy : FGrid->OnClipboardCut;
        if (ev) ev(this, Allow);
        if (!Allow) return;
        break;
    }
    default: break;
    }
    TInplaceEdit::WndProc(m);
}

void TProInplaceEdit::Change()
{
    TInplaceEdit::Change();
    if (!FGrid->FNoEditChange && FGrid->OnEditChange) FGrid->OnEditChange(FGrid, FGrid->Col(), FGrid->Row(), text());
}

void TProInplaceEdit::focusInEvent(QFocusEvent* e)
{
    TInplaceEdit::focusInEvent(e);
    FGotFocus = true;
    FGrid->FNoEditChange = false;
    FLengthLimit = FGrid->EditorMaxLength();
    if (FLengthLimit != MaxLength()) SetMaxLength(FLengthLimit);   // (resetting it drops the selection)
    if (!FGrid->Navigation()->EditSelectAll()) setCursorPosition(int(text().size()));
}

void TProInplaceEdit::focusOutEvent(QFocusEvent* e)
{
    TInplaceEdit::focusOutEvent(e);
    if (FGrid->Destroying()) return;
    FGrid->FStartEditChar = QChar();
    if (e->reason() == Qt::ActiveWindowFocusReason || e->reason() == Qt::PopupFocusReason) return;
    QWidget* now = QApplication::focusWidget();
    if (FGrid->FExitRefused) {
        FGrid->FExitRefused = false;   // the grid's exit refused the value: the editor stays
        return;
    }
    if (now != FGrid && isVisible()) {
        // the focus went to another control: the value is validated; a refused one keeps
        // the editor open on what was typed
        if (!FGrid->ValidateCell(text())) {
            SetText(FGrid->FNewCellText);
            return;
        }
        SetText(FGrid->CurrentCell());
        FGrid->HideInplaceEdit();
        FGrid->FEditing = false;
        FGrid->EditMode = false;
        FGrid->CanSelectCell(FColE, FRowE);
    }
    FGrid->FNoEditChange = true;
    if (isVisible()) SetText(FGrid->CurrentCell());
    FGrid->FNoEditChange = false;
    if (FGotFocus) {
        FGotFocus = false;
        FGrid->NotifyEditingDone(FGrid->RealColIndex(FColE), FRowE);
    }
}
