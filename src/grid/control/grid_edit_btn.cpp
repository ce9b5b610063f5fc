// The grid's edit-button, unit, check box and button editors.
#include "grid/control/grid_editor_keys.h"
#include "grid/control/pro_string_grid.h"
#include "platform/core/format_settings.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMimeData>
#include <QKeyEvent>
#include <QMouseEvent>

void TProStringGrid::EllipsClick(const QString& S, QString& Result)
{
    Result = S;
    if (OnEllipsClick) OnEllipsClick(this, Col(), Row(), Result);
}

// ---- TGridEditBtn ---------------------------------------------------------------------------

TGridEditBtn::TGridEditBtn(TProStringGrid* AOwner) : TPsgEditBtn(AOwner), TGridEditorHost(AOwner), FGrid(AOwner)
{
    setFrame(false);
    setEnabled(false);
    hide();
    SetButtonCaption(QStringLiteral("..."));
    OnClickBtn = [this](QObject* s) { ButtonClicked(s); };
    WorkMode = true;
    connect(this, &QLineEdit::textChanged, this, [this](const QString& s) {
        if (FGrid->EditMode && FGrid->OnEditChange) FGrid->OnEditChange(FGrid, FGrid->Col(), FGrid->Row(), s);
    });
}

void TGridEditBtn::SetButtonColors(const TButtonColors& c)
{
    Button()->ButtonColor = c.ButtonColor;
    Button()->ButtonColorHot = c.ButtonColorHot;
    Button()->ButtonColorDown = c.ButtonColorDown;
    Button()->ButtonBorderColor = c.ButtonBorderColor;
    Button()->update();
}

void TGridEditBtn::ButtonClicked(QObject*)
{
    QString r;
    FGrid->EllipsClick(text(), r);
    setText(r);
    selectAll();
    update();
    if (FStopEditAfterClick) {
        FGrid->HideInplaceEdit();
        FGrid->SetFocus();
    }
}

void TGridEditBtn::HandleKeyDown(int& Key, TShiftState Shift)
{
    TProStringGrid* g = FGrid;
    const bool handled = Key == VK_TAB || Key == VK_RETURN || Key == VK_ESCAPE || Key == VK_PRIOR ||
                         Key == VK_NEXT || Key == VK_UP || Key == VK_DOWN;
    if (!handled && g->OnKeyDown) g->OnKeyDown(g, Key, Shift);
    WorkMode = Key != VK_BACK && Key != VK_DELETE;
    FSelKeyDown = hasSelectedText() ? -1 : cursorPosition();   // -1: a selection, no caret to walk from
    if (Shift.Contains(ssCtrl) || !handled) return;
    if (Key == VK_ESCAPE) {
        Cancel();
        Key = 0;
        return;
    }
    if (Key == VK_TAB && g->EditorWantsTab()) {
        const bool ok = Commit();
        setText(g->FNewCellText);
        if (!ok) {
            end(false);
            Key = 0;
            return;
        }
        if (g->Options().Contains(goTabs)) {
            TabOutOfEditor(g, Shift);
            Key = 0;
            return;
        }
        g->PostMessage(WM_KEYDOWN, VK_TAB);
    } else if (Key == VK_RETURN || Key == VK_UP || Key == VK_DOWN) {
        const TEditorType kind = g->EditControl;
        const bool ok = Commit();
        setText(g->FNewCellText);
        if (!ok) {
            selectAll();
            update();
            g->FNoAutoAdvance = true;
            g->EditControl = kind;
            Key = 0;
            return;
        }
    }
    g->DoneInplaceEdit(Key, Shift);
    Key = 0;
}

bool TGridEditBtn::AcceptsChar(const QLineEdit* Edit, QChar Key, bool Ctrl, bool Numeric, bool Float)
{
    const ushort k = Key.unicode();
    if (k == 8 || k == 9 || k == 13 || k == 27) return true;
    const QString s = Edit->text();
    const QString sel = Edit->selectedText();
    const bool atStart = (Edit->hasSelectedText() ? Edit->selectionStart() : Edit->cursorPosition()) == 0;
    if (Numeric) {
        if (Key.isDigit()) return true;
        if (Key == QLatin1Char('-') && !s.contains(QLatin1Char('-')) && atStart) return true;
        if (Ctrl) return true;
        QApplication::beep();
        return false;
    }
    if (Float) {
        const bool candidate = Key.isDigit() || Key == QLatin1Char(',') || Key == QLatin1Char('-') || Key == QLatin1Char('.');
        if (!candidate) return Ctrl;
        if (Key == LocaleDecimalSeparator() && s.contains(Key) && !sel.contains(Key)) return false;
        if (Key == LocaleThousandSeparator()) return false;
        if (Key == QLatin1Char('-') && (!atStart || s.contains(Key)) && !sel.contains(Key)) {
            QApplication::beep();
            return false;
        }
        return true;
    }
    return true;
}

void TGridEditBtn::PasteText()
{
    if (!EditorEnabled() || isReadOnly()) return;
    TProStringGrid* g = FGrid;
    const QMimeData* md = QApplication::clipboard()->mimeData();
    bool allow = md && md->hasText();
    QString S = allow ? md->text() : QString();
    if (g->OnClipboardPaste) g->OnClipboardPaste(this, allow);
    if (allow && g->OnClipboardBeforePasteCell) g->OnClipboardBeforePasteCell(this, g->Col(), g->Row(), S, allow);
    if (!allow) return;
    // one line break that ends the text goes; a line break inside it stays
    const int nl = S.indexOf(QLatin1Char('\n'));
    if (nl >= 0 && nl == S.size() - 1) S.chop(S.size() > 1 && S.at(S.size() - 2) == QLatin1Char('\r') ? 2 : 1);
    const bool replace = hasSelectedText();
    const int at = replace ? selectionStart() : cursorPosition();
    QString t = text();
    if (replace) t.remove(at, selectedText().size());
    t.insert(at, S);
    setText(t);
    g->SetCurrentCell(text());
    const int end = std::min<int>(at + S.size(), text().size());
    if (replace) setSelection(at, end - at);
    else setCursorPosition(end);
}

void TGridEditBtn::contextMenuEvent(QContextMenuEvent* e)
{
    QMenu* menu = createStandardContextMenu();
    for (QAction* a : menu->actions())
        if (a->objectName() == QLatin1String("edit-paste")) {
            a->disconnect();
            connect(a, &QAction::triggered, this, [this] { PasteText(); });
        }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(e->globalPos());
}

void TGridEditBtn::keyPressEvent(QKeyEvent* e)
{
    if (!FGrid->EditMode) {
        TPsgEditBtn::keyPressEvent(e);
        return;
    }
    if (e->matches(QKeySequence::Paste)) {
        PasteText();
        return;
    }
    const TShiftState shift = ShiftStateOf(e);
    int key = VirtualKeyOf(e);
    const int before = key;
    HandleKeyDown(key, shift);
    if ((before != 0 && key == 0) || before == VK_RETURN || before == VK_TAB) return;   // typed Enter and Tab are swallowed
    const QString t = e->text();
    if (!t.isEmpty()) {
        QChar c = t.at(0);
        if (FGrid->OnKeyPress) FGrid->OnKeyPress(FGrid, c);
        if (c.isNull()) return;
        const TEditorType kind = FGrid->EditControl;
        if (!FilterChar(c, shift.Contains(ssCtrl), kind == edNumericEditBtn, kind == edFloatEditBtn)) return;
    }
    TPsgEditBtn::keyPressEvent(e);
}

void TGridEditBtn::keyReleaseEvent(QKeyEvent* e)
{
    TProStringGrid* g = FGrid;
    if (!g->EditMode || !isVisible()) {
        TPsgEditBtn::keyReleaseEvent(e);
        return;
    }
    int key = VirtualKeyOf(e);
    const TShiftState shift = ShiftStateOf(e);
    if (g->OnKeyUp) g->OnKeyUp(g, key, shift);
    // cursor walking: Left at the start or Right at the end of the text, from where the caret
    // stood when the key went down, leaves for the neighbour cell
    if ((key == VK_LEFT || key == VK_RIGHT) && g->Navigation()->CursorWalkEditor() && !shift.Contains(ssShift) &&
        !hasSelectedText()) {
        const bool left = key == VK_LEFT;
        if (left ? cursorPosition() == 0 && FSelKeyDown == 0 : FSelKeyDown == int(text().size())) {
            g->WalkOutOfEditor(text(), !left);
            return;
        }
    }
    if (key != VK_RETURN) TPsgEditBtn::keyReleaseEvent(e);
    // moving the caret sideways completes nothing
    if (key == VK_LEFT || key == VK_RIGHT || !g->EditMode || !isVisible()) return;
    QString completed;
    int typed = 0;
    if (!WorkMode || hasSelectedText() || !LookupCompletion(g, text(), cursorPosition(), completed, typed)) return;
    if (completed != text()) setText(completed);
    setSelection(typed, int(completed.size()) - typed);
}

bool TGridEditBtn::event(QEvent* e)
{
    if (KeepKeys(e, [this](QKeyEvent* k) { keyPressEvent(k); })) return true;
    return TPsgEditBtn::event(e);
}

void TGridEditBtn::focusOutEvent(QFocusEvent* e)
{
    TPsgEditBtn::focusOutEvent(e);
    if (FGrid->Destroying() || !FGrid->EditMode || !isVisible() || e->reason() == Qt::PopupFocusReason) return;
    FGrid->HideInplaceEdit();
}

void TGridEditBtn::mouseDoubleClickEvent(QMouseEvent* e)
{
    TPsgEditBtn::mouseDoubleClickEvent(e);
    if (FGrid->OnDblClickCell) FGrid->OnDblClickCell(FGrid, FGrid->Row(), FGrid->Col());
}

// ---- TGridUnitEditBtn -----------------------------------------------------------------------

TGridUnitEditBtn::TGridUnitEditBtn(TProStringGrid* AOwner)
    : TPsgUnitEditBtn(AOwner), TGridEditorHost(AOwner), FGrid(AOwner)
{
    setFrame(false);
    setEnabled(false);
    hide();
    SetButtonCaption(QStringLiteral("..."));
    OnClickBtn = [this](QObject* s) { ButtonClicked(s); };
    connect(this, &QLineEdit::textChanged, this, [this](const QString& s) {
        if (FGrid->EditMode && FGrid->OnEditChange) FGrid->OnEditChange(FGrid, FGrid->Col(), FGrid->Row(), s);
    });
}

void TGridUnitEditBtn::ButtonClicked(QObject*)
{
    QString r;
    FGrid->EllipsClick(text(), r);
    setText(r);
    selectAll();
    update();
}

void TGridUnitEditBtn::HandleKeyDown(int& Key, TShiftState Shift)
{
    TProStringGrid* g = FGrid;
    const bool handled = Key == VK_TAB || Key == VK_RETURN || Key == VK_ESCAPE || Key == VK_PRIOR ||
                         Key == VK_NEXT || Key == VK_UP || Key == VK_DOWN;
    if (!handled) return;
    if (Key == VK_ESCAPE) {
        Cancel();
        Key = 0;
        return;
    }
    if (Key == VK_TAB || Key == VK_RETURN || Key == VK_UP || Key == VK_DOWN) {
        const bool changed = Edited();
        if (!Commit()) {
            // the value and its unit both come back from the cell, so the unit is not doubled
            SetUnitID(QString());
            SetTextAndUnit(g->CurrentCell());
            return;
        }
        if (changed) {
            SetUnitID(QString());
            SetTextAndUnit(g->CurrentCell());
        }
        if (Key == VK_RETURN && g->Navigation()->AdvanceOnEnter()) {
            g->HideInplaceEdit();
            g->SetFocus();
            Key = 0;
            g->AdvanceEdit(g->Col(), g->Row(), false, false, true, false, g->EditMode);
            return;
        }
        if (Key == VK_TAB && g->Options().Contains(goTabs)) {
            TabOutOfEditor(g, Shift);
            Key = 0;
            return;
        }
    }
    g->DoneInplaceEdit(Key, Shift);
    Key = 0;
}

void TGridUnitEditBtn::keyPressEvent(QKeyEvent* e)
{
    if (!FGrid->EditMode) {
        TPsgUnitEditBtn::keyPressEvent(e);
        return;
    }
    int key = VirtualKeyOf(e);
    const int before = key;
    HandleKeyDown(key, ShiftStateOf(e));
    if ((before != 0 && key == 0) || before == VK_RETURN || before == VK_TAB || before == VK_ESCAPE) return;
    const QString t = e->text();
    if (!t.isEmpty() && FGrid->EditControl != edUnitEditBtn) {
        // the numeric and float unit kinds filter as the edit-button kinds do
        if (!TGridEditBtn::AcceptsChar(this, t.at(0), e->modifiers() & Qt::ControlModifier,
                                       FGrid->EditControl == edNumericUnitEditBtn,
                                       FGrid->EditControl == edFloatUnitEditBtn))
            return;
    }
    TPsgUnitEditBtn::keyPressEvent(e);
}

bool TGridUnitEditBtn::KeepsTab() const { return FGrid->Options().Contains(goTabs); }

bool TGridUnitEditBtn::event(QEvent* e)
{
    if (KeepKeys(e, [this](QKeyEvent* k) { keyPressEvent(k); })) return true;
    return TPsgUnitEditBtn::event(e);
}

void TGridUnitEditBtn::focusOutEvent(QFocusEvent* e)
{
    TPsgUnitEditBtn::focusOutEvent(e);
    if (FGrid->Destroying() || !FGrid->EditMode || !isVisible() || e->reason() == Qt::PopupFocusReason) return;
    if (UnitMenu() && UnitMenu()->isVisible()) return;
    FGrid->HideInplaceEdit();
}

// ---- TGridCheckBox --------------------------------------------------------------------------

TGridCheckBox::TGridCheckBox(TProStringGrid* AOwner) : QCheckBox(AOwner), TGridEditorHost(AOwner), FGrid(AOwner)
{
    setEnabled(false);
    hide();
}

void TGridCheckBox::mousePressEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton) toggle();
    e->accept();
}

void TGridCheckBox::mouseReleaseEvent(QMouseEvent* e) { e->accept(); }

void TGridCheckBox::keyPressEvent(QKeyEvent* e)
{
    TProStringGrid* g = FGrid;
    const int key = VirtualKeyOf(e);
    if (key == VK_SPACE) {
        toggle();
        return;
    }
    // Escape ends the edit as in every other editor, and never reaches the dialog
    if (key == VK_ESCAPE && g->EditMode) {
        Cancel();
        return;
    }
    const bool closes = key == VK_RETURN || key == VK_PRIOR || key == VK_NEXT || key == VK_END ||
                        (key >= VK_LEFT && key <= VK_DOWN);
    if (!closes || !g->EditMode) {
        QCheckBox::keyPressEvent(e);
        return;
    }
    g->HideInplaceEdit();
    g->SetFocus();
    if (key == VK_RETURN) g->AdvanceEdit(g->Col(), g->Row(), false, false, true, false, g->EditMode);
    if (key == VK_UP || key == VK_DOWN) g->Perform(WM_KEYDOWN, key);
}

void TGridCheckBox::keyReleaseEvent(QKeyEvent* e)
{
    // Space toggled on its press already
    if (e->key() == Qt::Key_Space) return;
    QCheckBox::keyReleaseEvent(e);
}

bool TGridCheckBox::event(QEvent* e)
{
    if (KeepKeys(e, {})) return true;
    return QCheckBox::event(e);
}

void TGridCheckBox::focusOutEvent(QFocusEvent* e)
{
    QCheckBox::focusOutEvent(e);
    if (FGrid->Destroying() || !FGrid->EditMode || !isVisible()) return;
    FGrid->HideInplaceEdit();
}

// ---- TGridButton ----------------------------------------------------------------------------

TGridButton::TGridButton(TProStringGrid* AOwner) : QPushButton(AOwner), TGridEditorHost(AOwner), FGrid(AOwner)
{
    setEnabled(false);
    hide();
    setAutoDefault(false);
    connect(this, &QPushButton::clicked, this, [this] {
        if (OnClick) OnClick();
    });
}

void TGridButton::Leave(int Key)
{
    TProStringGrid* g = FGrid;
    if (Key == VK_ESCAPE) {
        // the caption a click wrote goes; the cell gets its own text back
        Cancel();
    } else {
        g->EditMode = false;
        g->SetFocus();   // before hiding, so that the focus does not wander to the next control
        hide();
        setEnabled(false);
    }
    g->Perform(WM_KEYDOWN, Key);
}

void TGridButton::keyPressEvent(QKeyEvent* e)
{
    const int key = VirtualKeyOf(e);
    if (FGrid->EditMode && (key == VK_ESCAPE || (key >= VK_LEFT && key <= VK_DOWN))) {
        Leave(key);
        return;
    }
    // Enter ends the edit as in every other editor and never reaches the dialog's default
    // button; the cell holds what the clicks wrote
    if (FGrid->EditMode && key == VK_RETURN) {
        FinishEditorKey(FGrid, key, ShiftStateOf(e));
        return;
    }
    QPushButton::keyPressEvent(e);
}

void TGridButton::keyReleaseEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Space && FGrid->EditMode && !e->isAutoRepeat()) {
        QString r;
        FGrid->EllipsClick(text(), r);
        setText(r);
        FGrid->SetCurrentCell(r);
        setFocus();
        update();
    }
    QPushButton::keyReleaseEvent(e);
}

void TGridButton::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton && FGrid->EditMode && rect().contains(e->position().toPoint())) {
        QString r;
        FGrid->EllipsClick(text(), r);
        setText(r);
        FGrid->SetCurrentCell(r);
    }
    QPushButton::mouseReleaseEvent(e);
}

bool TGridButton::event(QEvent* e)
{
    if (KeepKeys(e, {})) return true;
    return QPushButton::event(e);
}
