#pragma once
// Steps the grid's special editors share: writing the editor's value into the current cell
// through validation, ending the edit after a key, and the host every in-cell editor
// stands on.
#include "platform/ui/messages.h"

#include <QString>
#include <functional>

class QEvent;

class TProStringGrid;
class QKeyEvent;

// CurrentCell := Text, then validation; False when the value was refused.
bool CommitEditorText(TProStringGrid* Grid, const QString& Text);
// Ends the edit after a handled key; Enter with advance-and-edit opens the next cell's editor.
void FinishEditorKey(TProStringGrid* Grid, int Key, TShiftState Shift);
// Closes the editor and hands the Tab to the grid's navigation.
void TabOutOfEditor(TProStringGrid* Grid, TShiftState Shift);
// The key of a key event as a virtual key; Backtab is Tab.
int VirtualKeyOf(const QKeyEvent* e);
// Enter and Escape stay with an editor, never with the dialog around the grid; a Tab the
// editor keeps goes to KeyPress.  True when the event was taken.
bool KeepEditorKeys(QEvent* e, bool TabKept, const std::function<void(QKeyEvent*)>& KeyPress);

// Look-up completion of an editor's text from the grid's LookupItems (while Lookup is on):
// the first item that begins with the text before the caret completes it (at most 255
// characters), the typed part keeping its letter case.  False when nothing was typed before
// the caret or no item begins with it; else Completed is the new text, whose tail from
// Typed on is selected.
bool LookupCompletion(TProStringGrid* Grid, const QString& Text, int Caret, QString& Completed, int& Typed);

// The open / load / commit / cancel protocol of an in-cell editor.  An editor states how it
// produces the text it commits (CommittedText) and which Tab it keeps (KeepsTab); the host
// remembers the cell's own text and what the editor showed once loaded, so that an editor
// the user left unchanged, or cancelled, leaves the cell byte for byte as it was, whatever
// the control made of the text while loading it (clamping, reformatting, defaults).
class TGridEditorHost {
public:
    explicit TGridEditorHost(TProStringGrid* AGrid) : FHostGrid(AGrid) {}
    virtual ~TGridEditorHost() = default;
    // The text the editor would commit now.
    virtual QString CommittedText() const = 0;
    // What tells an edit from none: the committed text, and for an editor whose value is
    // more than its text (a colour, an image) that value too.
    virtual QString ValueKey() const { return CommittedText(); }
    // What the editor counts as unchanged, taken once the cell is loaded: by default what it
    // then shows.
    virtual QString LoadedKey() const { return ValueKey(); }
    // The editor keeps Tab from the dialog: by default while the grid's editors want it.
    virtual bool KeepsTab() const;
    // The grid loaded the current cell into the editor.
    void CellLoaded();
    // The user changed the value since it was loaded, and did not cancel.
    bool Edited() const { return FOpen && !FCancelled && ValueKey() != FLoadedKey; }
    bool Cancelled() const { return FCancelled; }
    // The text a commit stores: the cell's own text while nothing changed.
    QString TextToCommit() const { return Edited() || !FOpen ? CommittedText() : FCellText; }
    // CurrentCell := TextToCommit, then validation; False when the value was refused.
    bool Commit();
    // Escape: the cell gets its own text back, once, and the editor closes without storing.
    void Cancel();
    // The grid closed the editor.
    void Closed() { FOpen = false; }
    // The `event()` gate of every editor: Enter and Escape stay with it while it edits, and
    // a kept Tab goes to KeyPress.
    bool KeepKeys(QEvent* e, const std::function<void(QKeyEvent*)>& KeyPress) const;

protected:
    TProStringGrid* FHostGrid;

private:
    QString FCellText, FLoadedKey;
    bool FOpen = false;
    bool FCancelled = false;
};
