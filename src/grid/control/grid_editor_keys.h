#pragma once
// Steps the grid's special editors share: writing the editor's value into the current cell
// through validation, and ending the edit after a key.
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
