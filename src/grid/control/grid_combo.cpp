// The grid's combo editor: its keys become the grid's commit, cancel and navigation steps.
#include "grid/control/grid_editor_keys.h"
#include "grid/control/pro_string_grid.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScreen>
#include <QWheelEvent>
#include <algorithm>

// The value the editor holds: a list with nothing chosen holds the cell's own text.
static QString EditorValue(const TGridCombo* cb)
{
    if (cb->isEditable() || cb->currentIndex() >= 0) return cb->currentText();
    return cb->placeholderText();
}

QString TGridCombo::CommittedText() const { return EditorValue(this); }

TGridCombo::TGridCombo(TProStringGrid* AOwner) : TPsgComboBox(AOwner), TGridEditorHost(AOwner), FGrid(AOwner)
{
    setEnabled(false);
    hide();
    ConnectComboNotifications(this);   // the grid hears of picks, edits, drop-downs and close-ups
    SetButtonWidth(16);
    installEventFilter(this);
    view()->installEventFilter(this);
    connect(this, &QComboBox::editTextChanged, this, [this](const QString&) {
        if (isEditable()) NotifyChange();
    });
    // a list changes its text with the item the user picks (or types, or wheels to)
    connect(this, &QComboBox::activated, this, [this](int) {
        if (!isEditable() && !FWheelStep) NotifyChange();
    });
}

void TGridCombo::NotifyChange()
{
    if (!FGrid->EditMode || !isVisible()) return;   // the combo is being filled for the cell
    (void)FGrid->CanEditModify();
    if (FGrid->OnEditChange) FGrid->OnEditChange(FGrid, FGrid->Col(), FGrid->Row(), EditorValue(this));
}

void TGridCombo::showPopup()
{
    TPsgComboBox::showPopup();
    QWidget* popup = view()->window();
    if (popup == window() || !popup->isVisible()) return;
    // as many lines as the column asks for, not a list as tall as the screen
    const int rowHeight = view()->sizeHintForRow(0);
    const int frame = popup->height() - view()->viewport()->height();
    int h = popup->height();
    if (rowHeight > 0) h = std::min(h, std::min(count(), maxVisibleItems()) * rowHeight + frame);
    const QPoint top = mapToGlobal(QPoint(0, 0));
    QPoint at(top.x(), top.y() + height());
    if (const QScreen* s = screen()) {
        const QRect area = s->availableGeometry();
        const int below = area.bottom() + 1 - at.y(), above = top.y() - area.top();
        if (h > below && above > below) {
            h = std::min(h, above);
            at.setY(top.y() - h);
        } else {
            h = std::min(h, std::max(below, rowHeight + frame));
        }
    }
    popup->setGeometry(at.x(), at.y(), popup->width(), h);
    view()->scrollTo(view()->currentIndex());
}

void TGridCombo::SizeDropDownWidth()
{
    int D = width();
    const QFontMetrics fm(font());
    const bool scrolls = maxVisibleItems() < count();
    for (int i = 0; i < count(); ++i) {
        const int t = fm.horizontalAdvance(itemText(i));
        if (scrolls) {
            if (t > D - 25) D = t + 25;
        } else if (t > D - 5) {
            D = t + 8;
        }
    }
    view()->setMinimumWidth(D);
}

static void ShowValue(TGridCombo* cb, const QString& s)
{
    if (cb->isEditable()) {
        cb->setEditText(s);
        return;
    }
    cb->setPlaceholderText(s);
    cb->setCurrentIndex(cb->IndexOfItem(s));
}

int TGridCombo::LookupIndex(const QString& Typed) const
{
    if (Typed.isEmpty()) return -1;
    int first = -1;
    for (int i = 0; i < count(); ++i) {
        const QString t = itemText(i);
        if (t.compare(Typed, Qt::CaseInsensitive) == 0) return i;
        if (first < 0 && t.startsWith(Typed, Qt::CaseInsensitive)) first = i;
    }
    return first;
}

void TGridCombo::CompleteTyped()
{
    QLineEdit* e = lineEdit();
    if (!e || !WorkMode || !FGrid->Lookup()) return;
    // what was typed: the text before the caret, or before the completed tail
    const int typed = e->hasSelectedText() ? e->selectionStart() : e->cursorPosition();
    const QString P = e->text().left(typed);
    if (P.isEmpty()) return;
    const Qt::CaseSensitivity cs = FGrid->LookupCaseSensitive() ? Qt::CaseSensitive : Qt::CaseInsensitive;
    auto complete = [&](const QString& item, int index) {
        // the typed part keeps its letter case; the completed tail is selected
        const QString t = (P + item.mid(P.size())).left(255);
        const bool changed = t != e->text();
        {
            const QSignalBlocker quiet(this);
            if (index >= 0) setCurrentIndex(index);
            setEditText(t);
        }
        e->setSelection(int(P.size()), int(t.size() - P.size()));
        if (changed) NotifyChange();
    };
    for (int i = 0; i < count(); ++i) {
        if (!itemText(i).startsWith(P, cs)) continue;
        complete(itemText(i), i);
        ItemIdx = i;
        ItemChange = true;
        return;
    }
    for (const QString& item : FGrid->LookupItems()->Strings()) {
        if (!item.startsWith(P, cs)) continue;
        complete(item, -1);
        return;
    }
}

void TGridCombo::DoChange()
{
    if (isEditable()) {
        CompleteTyped();
        return;
    }
    const int before = currentIndex();
    const int found = FTyped.isEmpty() ? FOpenIndex : LookupIndex(FTyped);
    ItemChange = found != before;
    ItemIdx = found;
    if (!ItemChange) return;
    setCurrentIndex(found);
    if (view()->isVisible() && found >= 0) view()->setCurrentIndex(model()->index(found, modelColumn(), rootModelIndex()));
    if (found >= 0) emit activated(found);
}

bool TGridCombo::StartLookup(QChar First)
{
    FOpenIndex = currentIndex();
    FTyped.clear();
    if (First.isNull()) return true;
    FTyped = First;
    DoChange();
    if (ItemIdx >= 0) return true;
    FTyped.clear();
    setCurrentIndex(FOpenIndex);
    return false;
}

// A character typed into a list extends the typed text and looks it up again; Backspace
// takes the last character back.
bool TGridCombo::TypeIntoList(QKeyEvent* e)
{
    if (isEditable() || e->text().isEmpty()) return false;
    if (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return false;
    QChar c = e->text().at(0);
    if (c.unicode() != 8 && c.unicode() < 32) return false;
    HandleKeyPress(c);
    if (c.isNull()) return true;
    if (c.unicode() == 8) FTyped.chop(1);
    else FTyped += c;
    DoChange();
    return true;
}

void TGridCombo::HandleKeyDown(int& Key, TShiftState Shift)
{
    Forced = false;
    const bool dropped = view()->isVisible();
    const bool list = !isEditable() || dropped;
    bool special = false;
    if (!(Shift.Contains(ssAlt) && Key == VK_DOWN)) {
        if (list) special = Key == VK_TAB || Key == VK_RETURN || Key == VK_ESCAPE || Key == VK_LEFT || Key == VK_RIGHT;
        else special = Key == VK_TAB || Key == VK_RETURN || Key == VK_ESCAPE || Key == VK_PRIOR || Key == VK_NEXT ||
                       Key == VK_END || Key == VK_UP || Key == VK_DOWN;
    }
    WorkMode = Key != VK_BACK && Key != VK_DELETE;
    TNavigation* nav = FGrid->Navigation();
    if ((Key == VK_UP || Key == VK_DOWN) && !Shift.Contains(ssAlt) && !nav->ComboGetUpDown() && !dropped) {
        FGrid->HideInplaceEdit();
        const bool alwaysEdit = nav->AlwaysEdit();
        nav->SetAlwaysEdit(false);
        FGrid->SetFocus();
        nav->SetAlwaysEdit(alwaysEdit);
        FGrid->Perform(WM_KEYDOWN, Key);
        Key = 0;
        return;
    }
    if (!special) return;
    if (dropped) hidePopup();
    if (Key == VK_ESCAPE) {
        // back to the cell's text, nothing written
        Cancel();
        Key = 0;
        return;
    }
    auto commit = [&]() {
        const bool changed = Edited();
        if (!Commit()) {
            ShowValue(this, FGrid->FNewCellText);
            if (isEditable() && lineEdit()) lineEdit()->selectAll();
            update();
            return false;
        }
        if (changed) ShowValue(this, FGrid->CurrentCell());
        return true;
    };
    if (Key == VK_RETURN || Key == VK_UP || Key == VK_DOWN) {
        if (!commit()) {
            Key = 0;
            FGrid->FNoAutoAdvance = true;
            return;
        }
    }
    if (Key == VK_TAB && FGrid->EditorWantsTab()) {
        if (!commit()) {
            Key = 0;
            return;
        }
        if (FGrid->Options().Contains(goTabs)) {
            FGrid->HideInplaceEdit();
            FGrid->SetFocus();
            FGrid->Perform(WM_KEYDOWN, VK_TAB);
            Key = 0;
            return;
        }
        FGrid->PostMessage(WM_KEYDOWN, VK_TAB);
    }
    if (list) {
        FGrid->HideInplaceEdit();
        if (Key == VK_LEFT || Key == VK_RIGHT) {
            FGrid->SetFocus();
            FGrid->Perform(WM_KEYDOWN, Key);
        }
        if (Key == VK_PRIOR || Key == VK_NEXT || (Key >= VK_LEFT && Key <= VK_DOWN)) Key = 0;
    } else if (Key == VK_END) {
        return;
    }
    FGrid->DoneInplaceEdit(Key, Shift);
    if (nav->AdvanceOnEnter() && nav->AdvanceAutoEdit() && Key == VK_RETURN) FGrid->ShowInplaceEdit();
    Key = 0;
}

void TGridCombo::HandleKeyPress(QChar& Key)
{
    if (FGrid->OnKeyPress) FGrid->OnKeyPress(FGrid, Key);   // the grid speaks for its editor
    if (Key.unicode() == 27) Key = QChar();
    if (Key.unicode() == 13 && OnReturnKey) OnReturnKey(this);
    if (Key.unicode() == 13 || Key.unicode() == 9) Key = QChar();
}

void TGridCombo::HandleKeyUp(int& Key, TShiftState Shift)
{
    QLineEdit* e = isEditable() ? lineEdit() : nullptr;
    if (e && (Key == VK_LEFT || Key == VK_RIGHT) && FGrid->Navigation()->CursorWalkEditor() && !Shift.Contains(ssShift) &&
        !e->hasSelectedText()) {
        // only from where the caret stood before the key: a Right onto the end stops there
        const bool left = Key == VK_LEFT;
        if (left ? e->cursorPosition() == 0 && FSelKeyDown == 0 : FSelKeyDown == int(e->text().size())) {
            Key = 0;
            FGrid->FNoAutoAdvance = false;
            FGrid->WalkOutOfEditor(e->text(), !left);
            return;
        }
    }
    FGrid->FNoAutoAdvance = false;
    // moving the caret completes nothing; a list looks up as it is typed into
    if (!isEditable() || (Key >= VK_PRIOR && Key <= VK_DOWN)) return;
    DoChange();
}

bool TGridCombo::HandleWantSpecialKey(QEvent* e)
{
    return KeepKeys(e, [this](QKeyEvent* ke) { RouteKey(ke); });
}

void TGridCombo::HandleExit()
{
    if (FGrid->EditMode && (FGrid->CurrentEditor() == edComboList || FGrid->CurrentEditor() == edComboEdit))
        FGrid->HideInplaceEdit();
}

bool TGridCombo::RouteKey(QKeyEvent* e)
{
    if (!FGrid->EditMode) return false;
    int key = QtKeyToVirtualKey(e->key());
    if (e->key() == Qt::Key_Backtab) key = VK_TAB;
    if (key == 0) return false;
    // a Tab the grid's editors do not keep goes to the window's focus order
    if (key == VK_TAB && !FGrid->EditorWantsTab()) return false;
    const int before = key;
    const int index = currentIndex();
    HandleKeyDown(key, ShiftStateOf(e));
    if (key == 0) return true;
    if (before == VK_RETURN || before == VK_ESCAPE) return true;   // never for the dialog around
    (void)index;
    return false;
}

bool TGridCombo::eventFilter(QObject* watched, QEvent* e)
{
    // the combo hands its keys to its line edit itself: the caret before each key, for walking
    if (e->type() == QEvent::KeyPress && watched == this && isEditable() && lineEdit())
        FSelKeyDown = lineEdit()->hasSelectedText() ? -1 : lineEdit()->cursorPosition();
    if (e->type() == QEvent::KeyRelease && watched == this && FGrid->EditMode) {
        auto* ke = static_cast<QKeyEvent*>(e);
        int key = QtKeyToVirtualKey(ke->key());
        HandleKeyUp(key, ShiftStateOf(ke));
    }
    if (e->type() == QEvent::KeyPress && (watched == this || watched == view())) {
        auto* ke = static_cast<QKeyEvent*>(e);
        if (watched == view() && (ke->key() == Qt::Key_Return || ke->key() == Qt::Key_Enter)) {
            // the highlighted item of the open list is the choice
            const int row = view()->currentIndex().row();
            if (row >= 0 && row != currentIndex()) {
                setCurrentIndex(row);
                emit activated(row);
            }
        }
        if (watched == view() && (ke->key() == Qt::Key_Up || ke->key() == Qt::Key_Down)) return false;
        if (RouteKey(ke)) return true;
        // a Tab the combo does not keep goes on to the window's focus order
        if (ke->key() == Qt::Key_Tab || ke->key() == Qt::Key_Backtab) return TPsgComboBox::eventFilter(watched, e);
        if (TypeIntoList(ke)) return true;
        if (watched == this && !ke->text().isEmpty()) {
            QChar c = ke->text().at(0);
            const int before = currentIndex();
            HandleKeyPress(c);
            if (c.isNull()) return true;
            QComboBox::keyPressEvent(ke);
            if (currentIndex() != before && currentIndex() >= 0 && !isEditable()) emit activated(currentIndex());
            return true;
        }
    }
    return TPsgComboBox::eventFilter(watched, e);
}

bool TGridCombo::event(QEvent* e)
{
    if (HandleWantSpecialKey(e)) return true;
    return TPsgComboBox::event(e);
}

void TGridCombo::focusOutEvent(QFocusEvent* e)
{
    TPsgComboBox::focusOutEvent(e);
    if (e->reason() == Qt::PopupFocusReason || e->reason() == Qt::ActiveWindowFocusReason) return;
    if (view()->isVisible()) return;
    HandleExit();
}

void TGridCombo::wheelEvent(QWheelEvent* e)
{
    const int i = currentIndex();
    if (e->angleDelta().y() < 0) {
        if (i + 1 < count()) setCurrentIndex(i + 1);
    } else if (i > 0) {
        setCurrentIndex(i - 1);
    }
    if (currentIndex() != i && currentIndex() >= 0) {
        if (FGrid->OnEditChange) FGrid->OnEditChange(FGrid, FGrid->RealColIndex(FGrid->Col()), FGrid->Row(), currentText());
        FWheelStep = true;
        emit activated(currentIndex());
        FWheelStep = false;
    }
    e->accept();
}
