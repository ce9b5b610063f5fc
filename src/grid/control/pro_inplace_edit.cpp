#include "grid/control/pro_inplace_edit.h"

#include "grid/base/number_routines.h"
#include "grid/base/text_packing.h"
#include "grid/control/grid_editor_keys.h"
#include "grid/control/pro_string_grid.h"
#include "platform/core/format_settings.h"
#include "platform/ui/grid_detail.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QFontMetrics>
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

bool TProInplaceEdit::GridMultiLine() const
{
    return FGrid->WordWrap() || FGrid->Multilinecells();
}

bool TProInplaceEdit::TextKind() const
{
    switch (FGrid->CurrentEditor()) {
    case edNormal:
    case edCapital:
    case edMixedCase:
    case edLowerCase:
    case edUpperCase:
    case edValidChars: return true;
    default: return false;
    }
}

void TProInplaceEdit::UpdateContents()
{
    FGrid->FNoEditChange = true;
    // A grid whose cells hold line breaks edits in several lines (wrapped when the grid
    // wraps); a password and an edit mask stay on one.
    FWordWrap = FGrid->WordWrap();
    SetMultiLine(GridMultiLine() && FGrid->CurrentEditor() != edPassword &&
                     FGrid->GetEditMask(FGrid->Col(), FGrid->Row()).isEmpty(),
                 FWordWrap);
    TInplaceEdit::UpdateContents();
    // The cell's edit mask, in Qt's letters; the text is set again under the new mask.
    const QString mask = QtInputMask(EditMask());
    if (inputMask() != mask) {
        const QString t = text();
        setInputMask(mask);
        SetText(t);
    }
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

bool TProInplaceEdit::HandleKeyDownMessage(TMessage& Message, TShiftState Shift)
{
    FGrid->EditorKeyMessage(Message);
    const int K = int(Message.WParam);
    if (K == 0) return false;
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
    if (K == VK_RETURN && ctrl && !(nav->AllowCtrlEnter() && GridMultiLine())) return false;
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
    if ((K == VK_LEFT || K == VK_RIGHT) && Shift.Contains(ssShift) && nav->CursorWalkEditor()) {
        const int caret = cursorPosition();
        if (K == VK_LEFT ? caret == 0 : caret == int(text().size())) {
            CommitAndLeave(T, O);
            return false;
        }
    }
    FLeavesText = false;
    if ((K == VK_UP && CaretLine() == 0) || (K == VK_DOWN && CaretLine() == LastLine())) {
        // the caret leaves the text: the value goes to the cell first
        FGrid->FValidating = true;
        FGrid->SetCurrentCell(T);
        FGrid->FValidating = false;
        if (!FGrid->ValidateCell(T)) return refused();
        SetText(FGrid->FNewCellText);
        FLeavesText = true;   // (setting the text moved the caret: the key leaves all the same)
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

bool TProInplaceEdit::CommitAndLeave(const QString& T, const QString& O)
{
    FGrid->FValidating = true;
    FGrid->SetCurrentCell(T);
    FGrid->FValidating = false;
    if (!FGrid->ValidateCell(T)) {
        SetText(FGrid->FNewCellText);
        SelectAfterRefusal();
        update();
        FGrid->FOldCellText = O;
        return false;
    }
    SetText(FGrid->FNewCellText);
    FGrid->HideInplaceEdit();
    FGrid->SetFocus();
    return true;
}

void TProInplaceEdit::KeyDown(int& key, TShiftState shift)
{
    FSelKeyDown = SelStart();
    if (key == VK_BACK || key == VK_DELETE) Workmode = false;
    if (key == VK_RETURN) {
        if (!FGrid->Navigation()->AllowCtrlEnter() && GridMultiLine()) FGrid->FEditing = false;
        if ((shift.Contains(ssCtrl) || shift.Contains(ssShift)) && FGrid->SizeWhileTyping()->Height() &&
            FGrid->Multilinecells())
            GrowRowForNewLine();
    }
    // the caret moves between the edit's lines; the grid sees nothing
    if (!FLeavesText && ((key == VK_UP && CaretLine() > 0) || (key == VK_DOWN && CaretLine() < LastLine()))) return;
    FLeavesText = false;
    if (key != VK_BACK && key != VK_DELETE) Workmode = true;
    FGrid->EditorKeyDown(key, shift);
    TInplaceEdit::KeyDown(key, shift);
}

void TProInplaceEdit::GrowRowForNewLine()
{
    TColumnSize* cs = FGrid->ColumnSize();
    const bool synch = cs->SynchWithGrid();
    cs->SetSynchWithGrid(false);
    const int row = FGrid->Row();
    const int N = CountTextLines(text() + QLatin1String("\r\n "), true);
    if (N < FGrid->MaxLinesInRow(row)) {
        FGrid->AutoSizeRow(row);
    } else {
        const int h = QFontMetrics(font()).height();
        FGrid->SetRowHeights(row, FGrid->LimitRowHeight(N * (h + h / 8) + FGrid->CellOffsetY()));
    }
    cs->SetSynchWithGrid(synch);
    if (FGrid->OnEndRowSize) FGrid->OnEndRowSize(FGrid, row);
}

void TProInplaceEdit::WalkOut(int& Key, bool Forward)
{
    Key = 0;
    FGrid->WalkOutOfEditor(text(), Forward);
}

void TProStringGrid::WalkOutOfEditor(const QString& Text, bool Forward)
{
    const int col = Col(), row = Row();
    // A click control next door (a check box, a button) takes the current cell itself: no
    // editor opens on it.
    const int next = Forward ? col + CellSpan(RealColIndex(col), row).X + 1 : col - 1;
    const bool nextInside = Forward ? col < ColCount() - FixedRightCols() - 1 : col > FixedCols();
    if (nextInside && next < ColCount() && HasClickControl(RealColIndex(next), row)) {
        if (!ValidateCell(Text)) return;
        HideInplaceEdit();
        SetCol(next);
        return;
    }
    // A refused value keeps the editor on its cell.  A special editor stores its value on its
    // own cell before the move, whichever way it goes: the grid's move reads only the default
    // edit.
    const bool closeFirst = !Forward || FSpecialEditor;
    if (closeFirst && !ValidateCell(Text)) return;
    if (closeFirst) HideInplaceEdit();
    TNavigation* nav = Navigation();
    const TAdvanceDirection dir = nav->AdvanceDirection();
    nav->SetAdvanceDirection(adLeftRight);
    AdvanceEdit(col, row, true, false, Forward, false, false);
    nav->SetAdvanceDirection(dir);
    if (Col() == col && Row() == row) return;   // the move was refused
    if (EditMode) HideInplaceEdit();
    if (nav->CursorWalkAlwaysEdit()) ShowInplaceEdit();
    else SetFocus();
}

void TProInplaceEdit::KeyUp(int& key, TShiftState shift)
{
    TNavigation* nav = FGrid->Navigation();
    if ((key == VK_LEFT || key == VK_RIGHT) && nav->CursorWalkEditor() && shift.Empty() && !hasSelectedText()) {
        const bool left = key == VK_LEFT;
        if (left ? cursorPosition() == 0 && FSelKeyDown == 0 : FSelKeyDown == int(text().size())) {
            WalkOut(key, !left);
            return;
        }
    }
    TInplaceEdit::KeyUp(key, shift);
    // Moving the caret sideways completes nothing.
    if (key == VK_LEFT || key == VK_RIGHT || !isVisible()) return;
    DoChange();
    TSizeWhileTyping* size = FGrid->SizeWhileTyping();
    if (size->Width()) FGrid->AutoSizeCol(FGrid->Col());
    if (size->Height() && FGrid->WordWrap()) {
        TColumnSize* cs = FGrid->ColumnSize();
        const bool synch = cs->SynchWithGrid();
        cs->SetSynchWithGrid(false);
        FGrid->AutoSizeRow(FGrid->Row());
        cs->SetSynchWithGrid(synch);
        if (FGrid->OnEndRowSize) FGrid->OnEndRowSize(FGrid, FGrid->Row());
    }
}

void TProInplaceEdit::DoChange()
{
    QString completed;
    int typed = 0;
    if (!Workmode || hasSelectedText() || !LookupCompletion(FGrid, text(), cursorPosition(), completed, typed)) return;
    if (completed != text()) setText(completed);
    setSelection(typed, int(completed.size()) - typed);
    GotKey = false;
}

void TProInplaceEdit::HandleKeyUpMessage()
{
    if (!isVisible()) return;
    const int caret = cursorPosition();
    if (caret > 0) {
        // where the character before the caret begins
        const QRect r = cursorRect();
        const int w = QFontMetrics(font()).horizontalAdvance(text().at(caret - 1));
        FGrid->EditorCaretMoved(text(), TPoint{r.center().x() - w, r.top()}, caret);
    }
    FGrid->EditorFormulaMode(text().startsWith(QLatin1Char('=')));
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
    if (c == 10 && ctrl && !(FGrid->Navigation()->AllowCtrlEnter() && GridMultiLine())) return false;
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
    // the multi-line edit keeps its line breaks as the cells do
    if (MultiLine()) S.replace(QRegularExpression(QStringLiteral("\r\n|\n|\r")), QStringLiteral("\r\n"));
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
    FGrid->SetCurrentBaseCell(text());
    if (FGrid->OnClipboardAfterPasteCell) FGrid->OnClipboardAfterPasteCell(this, FGrid->Col(), FGrid->Row(), text());
}

void TProInplaceEdit::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case WM_KEYDOWN: {
        QKeyEvent* e = PendingKey();
        TShiftState shift = e ? ShiftStateOf(e) : KeyboardStateToShiftState();
        if (!HandleKeyDownMessage(m, shift)) {
            m.WParam = 0;
            return;
        }
        break;
    }
    case WM_SYSKEYDOWN:
        if (m.WParam == VK_BACK) FAltBack = true;
        break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        // (Alt may go up before Backspace does)
        if (m.WParam == VK_BACK) FAltBack = false;
        TInplaceEdit::WndProc(m);
        HandleKeyUpMessage();
        return;
    case WM_GETDLGCODE:
        TInplaceEdit::WndProc(m);
        if (FGrid->EditorWantsTab()) m.Result |= DLGC_WANTTAB;
        return;
    case WM_CHAR: {
        QChar c(static_cast<char16_t>(m.WParam));
        if (!HandleCharMessage(c)) {
            m.WParam = 0;
            return;
        }
        m.WParam = c.unicode();
        if (c.unicode() == 13 && MultiLine() && FGrid->Navigation()->LineFeedOnEnter() && TextKind()) {
            DefaultHandler(m);   // a line break, not the grid's Enter
            return;
        }
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
    TNavigation* nav = FGrid->Navigation();
    const bool byClick = FGrid->LButFlg;
    FGrid->LButFlg = false;
    if (!inputMask().isEmpty() && nav->ImproveMaskSel() && !byClick) {
        setSelection(0, 1);   // the first position of the mask, ready to be overtyped
        return;
    }
    if (!nav->EditSelectAll()) setCursorPosition(int(text().size()));
    if (byClick) {
        const QPoint p = mapFromGlobal(QCursor::pos());
        if (rect().contains(p)) setCursorPosition(cursorPositionAt(p));
    }
}

void TProInplaceEdit::focusOutEvent(QFocusEvent* e)
{
    TInplaceEdit::focusOutEvent(e);
    if (FGrid->Destroying()) return;
    FGrid->FStartEditChar = QChar();
    FGrid->EditorFormulaMode(false);
    if (e->reason() == Qt::ActiveWindowFocusReason || e->reason() == Qt::PopupFocusReason) return;
    if (FGrid->LookupHistory() && !text().isEmpty() &&
        !FGrid->LookupItems()->Strings().contains(text(), Qt::CaseInsensitive))
        FGrid->LookupItems()->Add(text());
    if (FAltBack) return;
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
    FGrid->EditorCaretMoved(text(), TPoint{-1, -1}, -1);
    if (FGotFocus) {
        FGotFocus = false;
        FGrid->NotifyEditingDone(FGrid->RealColIndex(FColE), FRowE);
    }
}
