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

bool KeepEditorKeys(QEvent* e, bool TabKept, const std::function<void(QKeyEvent*)>& KeyPress)
{
    if (e->type() != QEvent::ShortcutOverride && e->type() != QEvent::KeyPress) return false;
    auto* ke = static_cast<QKeyEvent*>(e);
    if (e->type() == QEvent::ShortcutOverride) {
        if (ke->key() != Qt::Key_Return && ke->key() != Qt::Key_Enter && ke->key() != Qt::Key_Escape) return false;
        e->accept();
        return true;
    }
    if ((ke->key() != Qt::Key_Tab && ke->key() != Qt::Key_Backtab) || !TabKept) return false;
    KeyPress(ke);
    return true;
}
