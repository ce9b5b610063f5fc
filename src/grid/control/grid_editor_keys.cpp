#include "grid/control/grid_editor_keys.h"

#include "grid/control/pro_string_grid.h"

#include <QKeyEvent>

bool CommitEditorText(TProStringGrid* Grid, const QString& Text)
{
    Grid->SetCurrentCell(Text);
    return Grid->ValidateCell(Text);
}

void FinishEditorKey(TProStringGrid* Grid, int Key, TShiftState Shift)
{
    Grid->DoneInplaceEdit(Key, Shift);
    TNavigation* nav = Grid->Navigation();
    if (Key == VK_RETURN && nav->AdvanceOnEnter() && nav->AdvanceAutoEdit()) Grid->ShowInplaceEdit();
}

void TabOutOfEditor(TProStringGrid* Grid, TShiftState Shift)
{
    Grid->HideInplaceEdit();
    Grid->SetFocus();
    Grid->TabNavigate(Shift.Contains(ssShift));
}

int VirtualKeyOf(const QKeyEvent* e)
{
    if (e->key() == Qt::Key_Backtab) return VK_TAB;
    return QtKeyToVirtualKey(e->key());
}
