#pragma once
// The grid's default in-place edit: filters typed and pasted characters by the cell's editor
// kind, validates its value on Enter, Tab, navigation keys and focus loss, and reports
// changes and the end of editing to the grid.
#include "platform/ui/inplace_edit.h"

class TProStringGrid;

class TProInplaceEdit : public TInplaceEdit {
public:
    explicit TProInplaceEdit(TProStringGrid* AOwner);
    QString ClassName() const override { return QStringLiteral("TProInplaceEdit"); }

    int LengthLimit() const { return FLengthLimit; }
    void SetLengthLimit(int v) { FLengthLimit = v; }
    bool VAlign() const { return FValign; }
    void SetVAlign(bool v);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool v) { FWordWrap = v; }
    // Puts S in place of the selection, or at the caret; S becomes the selection when there
    // was one, else the caret follows it.
    void InsertAtSelection(const QString& S);

    void UpdateContents() override;
    void BoundsChanged() override;
    void KeyDown(int& key, TShiftState shift) override;
    void KeyPress(QChar& key) override;
    // Walks to the next cell when the caret leaves the text, completes the typed text from
    // the grid's LookupItems and sizes the cell to what was typed.
    void KeyUp(int& key, TShiftState shift) override;
    // The look-up completion of the text before the caret, after each key-up.
    void DoChange();
    void WndProc(TMessage& m) override;
    void Change() override;

protected:
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    // The message-level key step; false when the key was consumed.
    bool HandleKeyDownMessage(TMessage& Message, TShiftState Shift);
    // Tells the grid where the caret stands and whether the text is a formula.
    void HandleKeyUpMessage();
    // Left at the text's start or Right at its end: on to the neighbour cell.
    void WalkOut(int& Key, bool Forward);
    // Shift+Left or Shift+Right out of the text: the value goes to the cell and the grid
    // takes the focus; false when validation refused it.
    bool CommitAndLeave(const QString& T, const QString& O);
    // The character filter of the editor kind; false when the character is dropped.
    bool HandleCharMessage(QChar& K);
    void HandlePasteMessage();
    void SelectAfterRefusal();
    // The grid wraps its cells or holds line breaks in them.
    bool GridMultiLine() const;
    // The editor kinds that take any text (an Enter of theirs may break the line).
    bool TextKind() const;
    // Ctrl or Shift+Enter in a grid of multi-line cells: the row makes room for one more line.
    void GrowRowForNewLine();

    TProStringGrid* FGrid;
    int FSelKeyDown = 0;
    int FOldSelStart = 0;
    int FLengthLimit = 0;
    bool FValign = false;
    bool FWordWrap = false;
    bool GotKey = false;
    bool FGotFocus = false;
    bool Workmode = true;
    int FColE = -1, FRowE = -1;
    bool FAltBack = false;
    bool FLeavesText = false;   // Up or Down left the text at the message step   // Alt+Backspace (undo) is down: a focus loss meanwhile is ignored
};
