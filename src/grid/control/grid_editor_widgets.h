#pragma once
// The in-place editor widgets of a string grid: drop-down lists, the combo editor, the
// header-cell editors, the check box, edit-button and button editors, and the editors of
// the form controls in a cell's mini-HTML text.
#include "grid/control/grid_editor_keys.h"
#include "grid/controls/psg_combo.h"
#include "grid/controls/psg_edit_btn.h"
#include "platform/core/classes.h"
#include "platform/ui/canvas.h"
#include "platform/ui/combo_notify.h"
#include "platform/ui/messages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <functional>

class TProStringGrid;

class TDropList : public QListWidget {
public:
    explicit TDropList(QWidget* AParent) : QListWidget(AParent) { resize(0, 0); hide(); }
    std::function<void(int ItemIndex)> OnSelect;
};

class TDropCheckList : public QListWidget {
public:
    explicit TDropCheckList(QWidget* AParent) : QListWidget(AParent) { resize(0, 0); hide(); }
    std::function<void(int ItemIndex)> OnSelect;
};

// Own colours of an editor's button (face, hot face, pressed face, border), clNone = the
// platform's.
struct TButtonColors {
    TColor ButtonColor = clNone;
    TColor ButtonColorHot = clNone;
    TColor ButtonColorDown = clNone;
    TColor ButtonBorderColor = clNone;
};

// In-place editor controls, created hidden and disabled over the grid.

// The grid's combo editor: turns its keys into the grid's commit, cancel and navigation
// steps (grid_combo.cpp).  The keys reach it through an event filter on itself and on its
// list, because an open list takes the keys before the combo box sees them.
class TGridCombo : public TPsgComboBox, public TGridEditorHost {
public:
    explicit TGridCombo(TProStringGrid* AOwner);
    // The edited text, or the chosen item; a list without a choice keeps the cell's text.
    QString CommittedText() const override;
    // A list's value is its item: an item that differs from the cell's text, if only in letter
    // case, is written in its own case.
    QString LoadedKey() const override { return isEditable() ? ValueKey() : placeholderText(); }
    TProStringGrid* Grid() const { return FGrid; }
    void SizeDropDownWidth();
    // The look-up of a list: the text typed since the editor opened selects the item it
    // leads to (an equal item first, else the first that begins with it, letter case
    // ignored); text that leads to no item selects none, so the cell keeps its own value.
    void DoChange();
    // Starts the look-up of a freshly opened list with the character that opened it (none
    // for a click or F2); False when that character leads to no item.
    bool StartLookup(QChar First);
    // The item `Typed` leads to, -1 for none.
    int LookupIndex(const QString& Typed) const;
    // The key steps; Key 0 means consumed.
    void HandleKeyDown(int& Key, TShiftState Shift);
    void HandleKeyPress(QChar& Key);
    void HandleExit();
    // After a key: cursor walking out of an editable combo's text (Left at its start, Right
    // at its end), else the look-up completion of what was typed (DoChange).
    void HandleKeyUp(int& Key, TShiftState Shift);
    // The text or the chosen item changed: OnEditChange.
    void NotifyChange();
    // Enter and Escape stay with the combo, Tab when the grid's editors want it (the window
    // takes it otherwise); True when the event was taken.
    bool HandleWantSpecialKey(QEvent* e);
    std::function<void(QObject* Sender)> OnReturnKey;
    bool Forced = false;
    bool WorkMode = true;
    int ItemIdx = -1;
    bool ItemChange = false;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
    bool event(QEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;

public:
    // The list opens below the cell (above it where the screen ends), never over the value.
    void showPopup() override;

private:
    bool RouteKey(QKeyEvent* e);
    bool TypeIntoList(QKeyEvent* e);
    TProStringGrid* FGrid;
    QString FTyped;        // the list's typed text since the editor opened
    int FOpenIndex = -1;   // the item the list opened with
    int FSelKeyDown = -1;  // the caret when the last key went down; -1 with a selection
    bool FWheelStep = false;   // a wheel step reports its own change
    // The completion of an editable combo's text from its items, then the grid's LookupItems.
    void CompleteTyped();
};

// The editors of header cells (editor_link.cpp): Enter or leaving one ends the edit, which
// stores the text into the header cell unless OnCellValidate refuses it; Escape closes it and
// the header keeps its own text.  Enter and Escape never reach the window around the grid.
// A header left unchanged keeps its text byte for byte, whatever the editor made of it
// (a list without the text as an item shows none).
struct TFixedCellEditState {
    TProStringGrid* FGrid = nullptr;
    int FRow = -1, FCol = -1;
    QString FCellText;     // the header cell's text when the editor opened
    QString FLoadedText;   // what the editor then showed
    bool FLeaving = false; // the editor hands the focus back itself
};

class TGridTransEdit : public QLineEdit, public TFixedCellEditState {
public:
    explicit TGridTransEdit(TProStringGrid* AGrid);
    // Ends the edit; False when the value was refused and the editor stays.
    bool StopEdit();

protected:
    bool event(QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
};

class TGridTransCombo : public QComboBox, public TFixedCellEditState {
public:
    explicit TGridTransCombo(TProStringGrid* AGrid);
    bool StopEdit();

protected:
    bool event(QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
};

// The check box editor: a press or Space toggles it; Enter, the page keys and the arrows
// close it (grid_edit_btn.cpp).
class TGridCheckBox : public QCheckBox, public TGridEditorHost {
public:
    explicit TGridCheckBox(TProStringGrid* AOwner);
    TProStringGrid* FGrid;
    void ReCreate() {}
    // Nothing is written back from the box.
    QString CommittedText() const override { return QString(); }
    bool KeepsTab() const override { return false; }

protected:
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
};

// The edit-button editor: the button and F4 fire the grid's OnEllipsClick; its keys commit,
// cancel and move in the grid (grid_edit_btn.cpp).
class TGridEditBtn : public TPsgEditBtn, public TObject, public TGridEditorHost {
public:
    explicit TGridEditBtn(TProStringGrid* AOwner);
    QString CommittedText() const override { return text(); }
    QString ClassName() const override { return QStringLiteral("TGridEditBtn"); }
    TProStringGrid* FGrid;
    void ReCreate() {}
    bool WorkMode = true;
    int FSelKeyDown = 0;   // the caret when the last key went down, -1 with a selection
    bool StopEditAfterClick() const { return FStopEditAfterClick; }
    void SetStopEditAfterClick(bool v) { FStopEditAfterClick = v; }
    void SetButtonColors(const TButtonColors& c);
    virtual void ButtonClicked(QObject* Sender);
    // The wrapper's key-down step; Key 0 means consumed.
    virtual void HandleKeyDown(int& Key, TShiftState Shift);
    // The numeric and float kinds' character filter over this editor's text and caret; False
    // refuses the character.
    bool FilterChar(QChar Key, bool Ctrl, bool Numeric, bool Float) { return AcceptsChar(this, Key, Ctrl, Numeric, Float); }
    // The same filter over any line edit's text and caret.
    static bool AcceptsChar(const QLineEdit* Edit, QChar Key, bool Ctrl, bool Numeric, bool Float);
    // Pastes the clipboard's text into the editor and the current cell, as the grid's paste
    // events allow.
    void PasteText();

protected:
    void contextMenuEvent(QContextMenuEvent* e) override;
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    bool FStopEditAfterClick = false;
};

class TGridUnitEditBtn : public TPsgUnitEditBtn, public TGridEditorHost {
public:
    explicit TGridUnitEditBtn(TProStringGrid* AOwner);
    TProStringGrid* FGrid;
    QString CommittedText() const override { return TextAndUnit(); }
    bool KeepsTab() const override;
    void ReCreate() {}
    virtual void ButtonClicked(QObject* Sender);
    void HandleKeyDown(int& Key, TShiftState Shift);

protected:
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
};

// The button editor: a release fires the grid's OnEllipsClick and OnButtonClick; Escape and
// the arrows close it (grid_edit_btn.cpp).
class TGridButton : public QPushButton, public TGridEditorHost {
public:
    explicit TGridButton(TProStringGrid* AOwner);
    TProStringGrid* FGrid;
    // The caption goes into the cell on a click; closing writes nothing more.
    QString CommittedText() const override { return QString(); }
    bool KeepsTab() const override { return false; }
    void ReCreate() {}
    std::function<void()> OnClick;

protected:
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    void Leave(int Key);
};

// The editors of the form controls in a cell's mini-HTML text (cell_controls.cpp): Tab moves
// on to the cell's next control, Enter and Escape end the edit and stay with the grid.
class TControlEdit : public QLineEdit {
public:
    explicit TControlEdit(TProStringGrid* AGrid);

protected:
    bool event(QEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    TProStringGrid* FGrid;
};

class TControlCombo : public QComboBox {
public:
    explicit TControlCombo(TProStringGrid* AGrid);

protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    TProStringGrid* FGrid;
};
