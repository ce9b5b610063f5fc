#include "platform/ui/inplace_edit.h"

#include "platform/ui/grid_detail.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QCursor>
#include <QDialog>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>
#include <algorithm>
#include <memory>

using namespace grid_detail;

TInplaceEdit::TInplaceEdit(TCustomGrid* grid) : QLineEdit(grid->viewport()), FGrid(grid)
{
    setFrame(false);
    setAttribute(Qt::WA_MacShowFocusRect, false);
    QWidget::hide();
    // As an edit control does, it tells its parent of every change of its text (set by code
    // too); the parent hands the notification back, and only a change the user made reaches
    // Change.
    connect(this, &QLineEdit::textChanged, this, [this](const QString&) {
        if (!FGrid->FDestroying) FGrid->Perform(WM_COMMAND, MakeWParam(0, EN_CHANGE), HandleOf(this));
    });
}

TInplaceEdit::~TInplaceEdit() = default;

void TInplaceEdit::SetText(const QString& s)
{
    FSettingText = true;
    setText(s);
    FSettingText = false;
}

void TInplaceEdit::SetMaxLength(int n)
{
    FMaxLength = n;
    setMaxLength(n > 0 ? n : 32767);
}

void TInplaceEdit::Deselect()
{
    setSelection(text().size(), 0);
    deselect();
}

int TInplaceEdit::SelStart() const
{
    return hasSelectedText() ? selectionStart() : cursorPosition();
}

int TInplaceEdit::SelLength() const
{
    return hasSelectedText() ? static_cast<int>(selectedText().size()) : 0;
}

void TInplaceEdit::UpdateLoc(const TRect& loc)
{
    // A cell out of view hides the editor; back in view it shows again, and takes the
    // focus when the grid has it.
    if (IsRectEmpty(loc)) {
        Hide();
        return;
    }
    setGeometry(loc.ToQRect());
    show();
    BoundsChanged();
    if (FGrid->hasFocus()) SetFocus();
}

void TInplaceEdit::Move(const TRect& loc)
{
    UpdateLoc(loc);
    if (isVisible() && FGrid->IsActiveControl()) SetFocus();
}

void TInplaceEdit::Hide()
{
    if (!isVisible()) return;
    // the focus goes to the grid before the edit hides, so that it never passes through
    // another control of the window on the way
    if (hasFocus()) FGrid->SetFocus();
    QWidget::hide();
}

void TInplaceEdit::SetFocus()
{
    setFocus(Qt::OtherFocusReason);
}

intptr_t TInplaceEdit::Perform(uint32_t msg, intptr_t wParam, intptr_t lParam)
{
    TMessage m{msg, wParam, lParam, 0};
    WndProc(m);
    return m.Result;
}

void TInplaceEdit::UpdateContents()
{
    setFont(FGrid->Font()->ToQFont());   // the grid's font, not the application's
    SetText(FGrid->GetEditText(FGrid->Col(), FGrid->Row()));
    SetMaxLength(FGrid->GetEditLimit());
    SetEditMask(FGrid->GetEditMask(FGrid->Col(), FGrid->Row()));
}

void TInplaceEdit::BoundsChanged()
{
    setTextMargins(2, 0, 0, 0);
}

void TInplaceEdit::KeyDown(int& key, TShiftState shift)
{
    auto sendToParent = [&] {
        FGrid->KeyDown(key, shift);
        key = 0;
    };
    auto parentEvent = [&] {
        if (FGrid->OnKeyDown) FGrid->OnKeyDown(FGrid, key, shift);
    };
    const bool forward = FGrid->Options().Contains(goAlwaysShowEditor);
    const bool ctrl = shift.Contains(ssCtrl);
    const int len = static_cast<int>(text().size());
    const bool leftSide = SelStart() == 0 && (SelLength() == 0 || SelLength() == len);
    const bool rightSide = (SelStart() == len && SelLength() == 0) || (SelStart() == 0 && SelLength() == len);
    switch (key) {
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_ESCAPE: sendToParent(); break;
    case VK_INSERT:
        if (shift.Empty()) sendToParent();
        else if (shift == TShiftState(ssShift) && !FGrid->CanEditModify()) key = 0;
        break;
    case VK_LEFT:
    case VK_HOME:
        if (forward && (ctrl || leftSide)) sendToParent();
        break;
    case VK_RIGHT:
    case VK_END:
        if (forward && (ctrl || rightSide)) sendToParent();
        break;
    case VK_F2:
        parentEvent();
        if (key == VK_F2) {
            Deselect();
            key = 0;
            return;
        }
        break;
    case VK_TAB:
        if (!shift.Contains(ssAlt)) sendToParent();
        break;
    case VK_DELETE:
        if (ctrl) sendToParent();
        else if (!FGrid->CanEditModify()) key = 0;
        break;
    default: break;
    }
    if (key != 0) parentEvent();
}

void TInplaceEdit::KeyPress(QChar& key)
{
    FGrid->KeyPress(key);
    const char16_t c = key.unicode();
    if (c >= 32 && !FGrid->CanEditAcceptKey(key)) {
        key = QChar();
        QApplication::beep();
    }
    switch (key.unicode()) {
    case 9:
    case 27: key = QChar(); break;
    case 13:
        selectAll();
        key = QChar();
        break;
    case 8:
    case 22:
    case 24:
        if (!FGrid->CanEditModify()) key = QChar();
        break;
    default:
        if (key.unicode() >= 32 && !FGrid->CanEditModify()) key = QChar();
        break;
    }
}

void TInplaceEdit::KeyUp(int& key, TShiftState shift)
{
    if (FGrid->OnKeyUp) FGrid->OnKeyUp(FGrid, key, shift);
}

void TInplaceEdit::Change()
{
    FGrid->UpdateText();
}

void TInplaceEdit::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        int key = static_cast<int>(m.WParam);
        TShiftState shift = FPendingKey ? ShiftStateOf(FPendingKey) : KeyboardStateToShiftState();
        KeyDown(key, shift);
        m.WParam = key;
        if (key != 0) DefaultHandler(m);
        break;
    }
    case WM_CHAR: {
        QChar c(static_cast<char16_t>(m.WParam));
        KeyPress(c);
        m.WParam = c.unicode();
        if (!c.isNull()) DefaultHandler(m);
        break;
    }
    case WM_KEYUP:
    case WM_SYSKEYUP: {
        int key = static_cast<int>(m.WParam);
        KeyUp(key, FPendingKey ? ShiftStateOf(FPendingKey) : KeyboardStateToShiftState());
        m.WParam = key;
        if (key != 0) DefaultHandler(m);
        break;
    }
    case CN_COMMAND:
        if (HiWord(m.WParam) == EN_CHANGE && !FSettingText) Change();
        break;
    case WM_GETDLGCODE:
        // it only exists while the grid edits, so it keeps Enter and Escape from the dialog
        m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTALLKEYS;
        if (FGrid->Options().Contains(goTabs)) m.Result |= DLGC_WANTTAB;
        break;
    default: DefaultHandler(m); break;
    }
}

void TInplaceEdit::DefaultHandler(TMessage& m)
{
    switch (m.Msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        // keys that type something are handled with their character
        if (FPendingKey && TypedText(FPendingKey).isEmpty()) QLineEdit::keyPressEvent(FPendingKey);
        break;
    case WM_CHAR: TypeChar(QChar(static_cast<char16_t>(m.WParam))); break;
    case WM_KEYUP:
        if (FPendingKey) QLineEdit::keyReleaseEvent(FPendingKey);
        break;
    case WM_SETTEXT: break;
    case WM_CUT: cut(); break;
    case WM_COPY: copy(); break;
    case WM_PASTE: paste(); break;
    case EM_SETSEL: setSelection(LoWord(m.WParam), LoWord(m.LParam) - LoWord(m.WParam)); break;
    case EM_SETREADONLY: setReadOnly(m.WParam != 0); break;
    default: break;
    }
}

void TInplaceEdit::TypeChar(QChar c)
{
    if (FPendingKey && FPendingKey->text() == QString(c)) {
        QLineEdit::keyPressEvent(FPendingKey);
        return;
    }
    // a character the handlers changed, or one sent by code
    Qt::KeyboardModifiers mods = FPendingKey ? FPendingKey->modifiers() : Qt::NoModifier;
    int qtKey = 0;
    if (c.unicode() == 8) qtKey = Qt::Key_Backspace;
    else if (c.unicode() == 13) qtKey = Qt::Key_Return;
    QKeyEvent synth(QEvent::KeyPress, qtKey, mods, QString(c));
    QLineEdit::keyPressEvent(&synth);
}

bool TInplaceEdit::event(QEvent* e)
{
    if (e->type() == QEvent::KeyPress) {
        auto* ke = static_cast<QKeyEvent*>(e);
        if (ke->key() == Qt::Key_Tab || ke->key() == Qt::Key_Backtab) {
            if (Perform(WM_GETDLGCODE) & (DLGC_WANTTAB | DLGC_WANTALLKEYS)) keyPressEvent(ke);
            else if (!(ke->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
                focusNextPrevChild(ke->key() == Qt::Key_Tab && !(ke->modifiers() & Qt::ShiftModifier));
            return true;
        }
    }
    return QLineEdit::event(e);
}

void TInplaceEdit::keyPressEvent(QKeyEvent* e)
{
    if (FGrid->FDestroying) return;
    for (auto [seq, msg] : {std::pair{QKeySequence::Paste, WM_PASTE}, std::pair{QKeySequence::Copy, WM_COPY},
                            std::pair{QKeySequence::Cut, WM_CUT}}) {
        if (e->matches(seq)) {
            Perform(msg);
            e->accept();
            return;
        }
    }
    int vk = QtKeyToVirtualKey(e->key());
    auto ask = [this](uint32_t msg, intptr_t w) { return Perform(msg, w); };
    if (TCustomGrid::KeyGoesToDialog(this, vk, ask)) {
        e->ignore();
        return;
    }
    QKeyEvent* outer = FPendingKey;
    FPendingKey = e;
    TMessage down{static_cast<uint32_t>(e->modifiers() & Qt::AltModifier ? WM_SYSKEYDOWN : WM_KEYDOWN), vk, 0, 0};
    const QString typed = TypedText(e);
    if (vk != 0 || typed.isEmpty()) WndProc(down);
    else down.WParam = 1;   // a character without a key code of its own
    if (down.WParam != 0 && !typed.isEmpty() && isVisible()) {
        for (QChar c : typed) {
            TMessage ch{WM_CHAR, c.unicode(), 0, 0};
            WndProc(ch);
        }
    }
    FPendingKey = outer;
    e->accept();
}

void TInplaceEdit::keyReleaseEvent(QKeyEvent* e)
{
    QKeyEvent* outer = FPendingKey;
    FPendingKey = e;
    Perform(WM_KEYUP, QtKeyToVirtualKey(e->key()));
    FPendingKey = outer;
}

void TInplaceEdit::focusInEvent(QFocusEvent* e)
{
    QLineEdit::focusInEvent(e);
    if (FGrid->FDestroying) return;
    if (!FGrid->FFocusInside) {
        FGrid->FFocusInside = true;
        FGrid->Perform(CM_ENTER);
    }
}

void TInplaceEdit::focusOutEvent(QFocusEvent* e)
{
    QLineEdit::focusOutEvent(e);
    if (FGrid->FDestroying) return;
    if (e->reason() == Qt::ActiveWindowFocusReason || e->reason() == Qt::PopupFocusReason) return;
    QWidget* now = QApplication::focusWidget();
    if (now != FGrid && FGrid->FFocusInside) {
        FGrid->FFocusInside = false;
        FGrid->Perform(CM_EXIT);
    }
}

void TInplaceEdit::contextMenuEvent(QContextMenuEvent* e)
{
    std::unique_ptr<QMenu> menu(createStandardContextMenu());
    for (QAction* a : menu->actions()) {
        uint32_t msg = 0;
        if (a->objectName() == QLatin1String("edit-paste")) msg = WM_PASTE;
        else if (a->objectName() == QLatin1String("edit-copy")) msg = WM_COPY;
        else if (a->objectName() == QLatin1String("edit-cut")) msg = WM_CUT;
        if (!msg) continue;
        a->disconnect();
        connect(a, &QAction::triggered, this, [this, msg] { Perform(msg); });
    }
    menu->exec(e->globalPos());
}

void TInplaceEdit::mouseDoubleClickEvent(QMouseEvent* e)
{
    QLineEdit::mouseDoubleClickEvent(e);
}

QString QtInputMask(const QString& EditMask)
{
    if (EditMask.isEmpty()) return QString();
    const QStringList fields = EditMask.split(QLatin1Char(';'));
    const QString mask = fields.value(0);
    QChar blank = QLatin1Char('_');
    if (fields.size() > 2 && !fields[2].isEmpty()) blank = fields[2][0];
    static const QString qtLetters = QStringLiteral("AaNnXx90DdHhBb#><!\\[]{}");
    QString out;
    for (int i = 0; i < mask.size(); ++i) {
        const QChar c = mask[i];
        switch (c.unicode()) {
        case 'L': out += QLatin1Char('A'); break;
        case 'l': out += QLatin1Char('a'); break;
        case 'A': out += QLatin1Char('N'); break;
        case 'a': out += QLatin1Char('n'); break;
        case 'C': out += QLatin1Char('X'); break;
        case 'c': out += QLatin1Char('x'); break;
        case '0': out += QLatin1Char('9'); break;
        case '9': out += QLatin1Char('0'); break;
        case '#': out += QLatin1Char('#'); break;
        case '>': out += QLatin1Char('>'); break;
        case '<':
            if (i + 1 < mask.size() && mask[i + 1] == QLatin1Char('>')) {
                out += QLatin1Char('!');
                ++i;
            } else {
                out += QLatin1Char('<');
            }
            break;
        case '!': break;
        case '_': out += QLatin1Char(' '); break;
        case '\\':
            if (++i < mask.size()) {
                if (qtLetters.contains(mask[i])) out += QLatin1Char('\\');
                out += mask[i];
            }
            break;
        default:
            if (qtLetters.contains(c)) out += QLatin1Char('\\');
            out += c;
        }
    }
    // Qt's blank character follows the last ';'; a ';' of the blank itself is not possible there
    if (blank != QLatin1Char(';')) out += QLatin1Char(';') + blank;
    return out;
}
