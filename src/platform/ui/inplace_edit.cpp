#include "platform/ui/inplace_edit.h"

#include "platform/ui/grid_detail.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QCursor>
#include <QDialog>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextLayout>
#include <QAbstractTextDocumentLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>
#include <algorithm>
#include <climits>
#include <memory>

using namespace grid_detail;

// The single-line edit inside the editor.  Its keys, focus and context menu are the
// editor's: it only shows the text and takes the mouse.
class TInplaceEdit::TLine : public QLineEdit {
public:
    TLine(TInplaceEdit* owner) : QLineEdit(owner), FOwner(owner)
    {
        setFrame(false);
        setAttribute(Qt::WA_MacShowFocusRect, false);
        setFocusProxy(owner);
    }
    void BaseKeyPress(QKeyEvent* e) { QLineEdit::keyPressEvent(e); }
    void BaseKeyRelease(QKeyEvent* e) { QLineEdit::keyReleaseEvent(e); }
    QRect CaretRect() const { return cursorRect(); }

protected:
    void keyPressEvent(QKeyEvent* e) override { QCoreApplication::sendEvent(FOwner, e); }
    void keyReleaseEvent(QKeyEvent* e) override { QCoreApplication::sendEvent(FOwner, e); }
    void contextMenuEvent(QContextMenuEvent* e) override { FOwner->contextMenuEvent(e); }

private:
    TInplaceEdit* FOwner;
};

// The multi-line edit inside the editor, made for cells that wrap or hold line breaks.
class TInplaceEdit::TMemo : public QPlainTextEdit {
public:
    TMemo(TInplaceEdit* owner) : QPlainTextEdit(owner), FOwner(owner)
    {
        setFrameShape(QFrame::NoFrame);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setTabChangesFocus(true);
        document()->setDocumentMargin(1);
        setFocusProxy(owner);
        viewport()->setFocusProxy(owner);
    }
    void BaseKeyPress(QKeyEvent* e) { QPlainTextEdit::keyPressEvent(e); }
    void BaseKeyRelease(QKeyEvent* e) { QPlainTextEdit::keyReleaseEvent(e); }
    void SetMargins(int l, int t, int r, int b) { setViewportMargins(l, t, r, b); }

protected:
    void keyPressEvent(QKeyEvent* e) override { QCoreApplication::sendEvent(FOwner, e); }
    void keyReleaseEvent(QKeyEvent* e) override { QCoreApplication::sendEvent(FOwner, e); }
    void contextMenuEvent(QContextMenuEvent* e) override { FOwner->contextMenuEvent(e); }

private:
    TInplaceEdit* FOwner;
};

TInplaceEdit::TInplaceEdit(TCustomGrid* grid) : QWidget(grid->viewport()), FGrid(grid)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    FLine = new TLine(this);
    QWidget::hide();
    // As an edit control does, it tells its parent of every change of its text (set by code
    // too); the parent hands the notification back, and only a change the user made reaches
    // Change.
    connect(FLine, &QLineEdit::textChanged, this, [this](const QString&) { NotifyTextChanged(); });
}

TInplaceEdit::~TInplaceEdit() = default;

void TInplaceEdit::NotifyTextChanged()
{
    if (!FGrid->FDestroying && !FSwitching) FGrid->Perform(WM_COMMAND, MakeWParam(0, EN_CHANGE), HandleOf(this));
}

QWidget* TInplaceEdit::Inner() const
{
    return FMultiLine ? static_cast<QWidget*>(FMemo) : FLine;
}

void TInplaceEdit::Forward(QEvent* e)
{
    static_cast<QObject*>(Inner())->event(e);
}

void TInplaceEdit::SetMultiLine(bool v, bool WordWrap)
{
    if (v && !FMemo) {
        FMemo = new TMemo(this);
        FMemo->setGeometry(rect());
        FMemo->hide();
        // (the document also reports changes of its layout options: only a new text counts)
        connect(FMemo, &QPlainTextEdit::textChanged, this, [this] {
            if (!FMultiLine) return;
            QString t = text();
            if (t == FMemoText) return;
            FMemoText = std::move(t);
            NotifyTextChanged();
        });
    }
    if (FMemo) {
        FMemo->setLineWrapMode(WordWrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
        FMemo->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    }
    if (v == FMultiLine) return;
    const QString t = text();
    const bool focused = hasFocus();
    if (focused) {
        QFocusEvent out(QEvent::FocusOut, Qt::OtherFocusReason);
        Forward(&out);
    }
    Inner()->hide();
    FMultiLine = v;
    Inner()->setGeometry(rect());
    Inner()->show();
    // the text only moves to the other edit: no change to report
    FSwitching = true;
    SetText(t);
    FSwitching = false;
    if (focused) {
        QFocusEvent in(QEvent::FocusIn, Qt::OtherFocusReason);
        Forward(&in);
    }
}

int TInplaceEdit::ToDocPos(int pos) const
{
    const QString t = text();
    pos = std::clamp(pos, 0, int(t.size()));
    // inside a CR LF pair: before the pair
    if (pos > 0 && pos < t.size() && t[pos - 1] == QLatin1Char('\r') && t[pos] == QLatin1Char('\n')) --pos;
    // (counted by hand: Qt 6.4 counts -1 pairs in a text shorter than the pair)
    int pairs = 0;
    for (int i = 1; i < pos; ++i)
        if (t[i - 1] == QLatin1Char('\r') && t[i] == QLatin1Char('\n')) ++pairs;
    return pos - pairs;
}

int TInplaceEdit::FromDocPos(int pos) const
{
    QTextBlock b = FMemo->document()->findBlock(pos);
    if (!b.isValid()) b = FMemo->document()->lastBlock();
    return pos + b.blockNumber();
}

namespace {

// The visual lines of a laid-out block (an empty one has one).
int LinesOf(const QTextBlock& b)
{
    b.document()->documentLayout()->blockBoundingRect(b);   // lays the block out
    return std::max(1, b.layout() ? b.layout()->lineCount() : 1);
}

}  // namespace

int TInplaceEdit::CaretLine() const
{
    if (!FMultiLine) return 0;
    const QTextCursor c = FMemo->textCursor();
    const QTextBlock cb = c.block();
    int n = 0;
    for (QTextBlock b = FMemo->document()->begin(); b.isValid() && b != cb; b = b.next()) n += LinesOf(b);
    LinesOf(cb);
    const QTextLine line = cb.layout() ? cb.layout()->lineForTextPosition(c.positionInBlock()) : QTextLine();
    return n + (line.isValid() ? line.lineNumber() : 0);
}

int TInplaceEdit::LastLine() const
{
    if (!FMultiLine) return 0;
    int n = 0;
    for (QTextBlock b = FMemo->document()->begin(); b.isValid(); b = b.next()) n += LinesOf(b);
    return n - 1;
}

QString TInplaceEdit::text() const
{
    if (!FMultiLine) return FLine->text();
    QString t;
    for (QTextBlock b = FMemo->document()->begin(); b.isValid(); b = b.next()) {
        if (b != FMemo->document()->begin()) t += QLatin1String("\r\n");
        t += b.text();
    }
    return t;
}

void TInplaceEdit::setText(const QString& s)
{
    if (!FMultiLine) {
        FLine->setText(s);
        return;
    }
    QString t = s;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    FMemo->setPlainText(t);
    FMemo->moveCursor(QTextCursor::End);   // as a single-line edit leaves it
}

int TInplaceEdit::cursorPosition() const
{
    return FMultiLine ? FromDocPos(FMemo->textCursor().position()) : FLine->cursorPosition();
}

void TInplaceEdit::setCursorPosition(int pos)
{
    if (!FMultiLine) {
        FLine->setCursorPosition(pos);
        return;
    }
    QTextCursor c = FMemo->textCursor();
    c.setPosition(ToDocPos(pos));
    FMemo->setTextCursor(c);
}

bool TInplaceEdit::hasSelectedText() const
{
    return FMultiLine ? FMemo->textCursor().hasSelection() : FLine->hasSelectedText();
}

QString TInplaceEdit::selectedText() const
{
    if (!FMultiLine) return FLine->selectedText();
    return FMemo->textCursor().selectedText().replace(QChar::ParagraphSeparator, QLatin1String("\r\n"));
}

int TInplaceEdit::selectionStart() const
{
    if (!FMultiLine) return FLine->selectionStart();
    const QTextCursor c = FMemo->textCursor();
    return c.hasSelection() ? FromDocPos(c.selectionStart()) : -1;
}

void TInplaceEdit::setSelection(int Start, int Length)
{
    if (!FMultiLine) {
        FLine->setSelection(Start, Length);
        return;
    }
    QTextCursor c = FMemo->textCursor();
    c.setPosition(ToDocPos(Start));
    c.setPosition(ToDocPos(Start + Length), QTextCursor::KeepAnchor);
    FMemo->setTextCursor(c);
}

void TInplaceEdit::selectAll()
{
    if (FMultiLine) FMemo->selectAll();
    else FLine->selectAll();
}

void TInplaceEdit::deselect()
{
    if (!FMultiLine) {
        FLine->deselect();
        return;
    }
    QTextCursor c = FMemo->textCursor();
    c.clearSelection();
    FMemo->setTextCursor(c);
}

int TInplaceEdit::maxLength() const
{
    return FLine->maxLength();
}

void TInplaceEdit::setMaxLength(int n)
{
    FLine->setMaxLength(n);
}

void TInplaceEdit::setAlignment(Qt::Alignment a)
{
    FAlignment = a;
    FLine->setAlignment(a);
    if (FMemo) {
        QTextOption o = FMemo->document()->defaultTextOption();
        o.setAlignment(a & Qt::AlignHorizontal_Mask);
        FMemo->document()->setDefaultTextOption(o);
    }
}

QString TInplaceEdit::inputMask() const
{
    return FLine->inputMask();
}

void TInplaceEdit::setInputMask(const QString& m)
{
    FLine->setInputMask(m);
}

QLineEdit::EchoMode TInplaceEdit::echoMode() const
{
    return FLine->echoMode();
}

void TInplaceEdit::setEchoMode(QLineEdit::EchoMode m)
{
    FLine->setEchoMode(m);
}

void TInplaceEdit::setTextMargins(int left, int top, int right, int bottom)
{
    FLine->setTextMargins(left, top, right, bottom);
    if (FMemo) FMemo->SetMargins(left, top, right, bottom);
}

bool TInplaceEdit::isReadOnly() const
{
    return FLine->isReadOnly();
}

void TInplaceEdit::setReadOnly(bool v)
{
    FLine->setReadOnly(v);
    if (FMemo) FMemo->setReadOnly(v);
}

QRect TInplaceEdit::cursorRect() const
{
    if (!FMultiLine) return FLine->CaretRect().translated(FLine->pos());
    const QRect r = FMemo->cursorRect();
    return r.translated(FMemo->viewport()->mapTo(this, QPoint(0, 0)));
}

int TInplaceEdit::cursorPositionAt(const QPoint& p) const
{
    if (!FMultiLine) return FLine->cursorPositionAt(FLine->mapFrom(this, p));
    return FromDocPos(FMemo->cursorForPosition(FMemo->viewport()->mapFrom(this, p)).position());
}

void TInplaceEdit::cut()
{
    if (FMultiLine) FMemo->cut();
    else FLine->cut();
}

void TInplaceEdit::copy()
{
    if (FMultiLine) FMemo->copy();
    else FLine->copy();
}

void TInplaceEdit::paste()
{
    if (FMultiLine) FMemo->paste();
    else FLine->paste();
}

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
    setSelection(int(text().size()), 0);
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
        if (FPendingKey && TypedText(FPendingKey).isEmpty()) BaseKeyPress(FPendingKey);
        break;
    case WM_CHAR: TypeChar(QChar(static_cast<char16_t>(m.WParam))); break;
    case WM_KEYUP:
        if (FPendingKey) {
            if (FMultiLine) FMemo->BaseKeyRelease(FPendingKey);
            else FLine->BaseKeyRelease(FPendingKey);
        }
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

void TInplaceEdit::BaseKeyPress(QKeyEvent* e)
{
    if (FMultiLine) FMemo->BaseKeyPress(e);
    else FLine->BaseKeyPress(e);
}

void TInplaceEdit::TypeChar(QChar c)
{
    if (FMultiLine) {
        const char16_t u = c.unicode();
        // the edit's length limit counts a line break as two characters
        const int room = FMaxLength > 0 ? FMaxLength - int(text().size()) + SelLength() : INT_MAX;
        if (u == 13 || u == 10) {
            if (room >= 2) FMemo->textCursor().insertBlock();
            return;
        }
        if (u >= 32 && room < 1) return;
    }
    if (FPendingKey && FPendingKey->text() == QString(c)) {
        BaseKeyPress(FPendingKey);
        return;
    }
    // a character the handlers changed, or one sent by code
    Qt::KeyboardModifiers mods = FPendingKey ? FPendingKey->modifiers() : Qt::NoModifier;
    int qtKey = 0;
    if (c.unicode() == 8) qtKey = Qt::Key_Backspace;
    else if (c.unicode() == 13) qtKey = Qt::Key_Return;
    QKeyEvent synth(QEvent::KeyPress, qtKey, mods, QString(c));
    BaseKeyPress(&synth);
}

bool TInplaceEdit::event(QEvent* e)
{
    switch (e->type()) {
    case QEvent::KeyPress: {
        auto* ke = static_cast<QKeyEvent*>(e);
        if (ke->key() == Qt::Key_Tab || ke->key() == Qt::Key_Backtab) {
            if (Perform(WM_GETDLGCODE) & (DLGC_WANTTAB | DLGC_WANTALLKEYS)) keyPressEvent(ke);
            else if (!(ke->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
                focusNextPrevChild(ke->key() == Qt::Key_Tab && !(ke->modifiers() & Qt::ShiftModifier));
            return true;
        }
        break;
    }
    case QEvent::ShortcutOverride:
        // the edit's own keys (the clipboard's, undo) are not the window's shortcuts
        Forward(e);
        return true;
    case QEvent::InputMethod: Forward(e); return true;
    default: break;
    }
    return QWidget::event(e);
}

QVariant TInplaceEdit::inputMethodQuery(Qt::InputMethodQuery q) const
{
    return Inner()->inputMethodQuery(q);
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
    QString typed = TypedText(e);
    // Ctrl+Enter types a line feed, as it does in the platform's edits
    if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && (e->modifiers() & Qt::ControlModifier))
        typed = QString(QChar(10));
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
    Forward(e);
    if (FGrid->FDestroying) return;
    if (!FGrid->FFocusInside) {
        FGrid->FFocusInside = true;
        FGrid->Perform(CM_ENTER);
    }
}

void TInplaceEdit::focusOutEvent(QFocusEvent* e)
{
    Forward(e);
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
    std::unique_ptr<QMenu> menu(FMultiLine ? FMemo->createStandardContextMenu() : FLine->createStandardContextMenu());
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

// Mouse events sent to the editor itself go to the edit that shows the text.
void TInplaceEdit::ForwardMouse(QMouseEvent* e)
{
    QWidget* target = FMultiLine ? FMemo->viewport() : static_cast<QWidget*>(FLine);
    QMouseEvent copy(e->type(), target->mapFrom(this, e->position().toPoint()), e->scenePosition(),
                     e->globalPosition(), e->button(), e->buttons(), e->modifiers());
    QCoreApplication::sendEvent(target, &copy);
}

void TInplaceEdit::mousePressEvent(QMouseEvent* e) { ForwardMouse(e); }
void TInplaceEdit::mouseMoveEvent(QMouseEvent* e) { ForwardMouse(e); }
void TInplaceEdit::mouseReleaseEvent(QMouseEvent* e) { ForwardMouse(e); }
void TInplaceEdit::mouseDoubleClickEvent(QMouseEvent* e) { ForwardMouse(e); }

void TInplaceEdit::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    Inner()->setGeometry(rect());
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
