#include "grid/control/grid_editor_keys.h"

#include "grid/control/grid_date_pickers.h"
#include "grid/control/grid_dropdowns.h"
#include "grid/control/grid_spin.h"
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

bool LookupCompletion(TProStringGrid* Grid, const QString& Text, int Caret, QString& Completed, int& Typed)
{
    if (!Grid->Lookup() || Grid->LookupItems()->Count() == 0) return false;
    const QString P = Text.left(Caret);
    // nothing typed before the caret (Home, say) would take the first item for the text
    if (P.isEmpty()) return false;
    const Qt::CaseSensitivity cs = Grid->LookupCaseSensitive() ? Qt::CaseSensitive : Qt::CaseInsensitive;
    for (const QString& item : Grid->LookupItems()->Strings()) {
        if (!item.startsWith(P, cs)) continue;
        Completed = (P + item.mid(P.size())).left(255);
        Typed = int(P.size());
        return true;
    }
    return false;
}

// ---- TGridEditorHost -----------------------------------------------------------------------

bool TGridEditorHost::KeepsTab() const { return FHostGrid->EditorWantsTab(); }

void TGridEditorHost::CellLoaded()
{
    FCellText = FHostGrid->CurrentCell();
    FLoadedKey = LoadedKey();
    FCancelled = false;
    FOpen = true;
}

bool TGridEditorHost::Commit() { return CommitEditorText(FHostGrid, TextToCommit()); }

void TGridEditorHost::Cancel()
{
    TProStringGrid* g = FHostGrid;
    if (!FCancelled && g->CurrentCell() != FCellText) g->SetCurrentCell(FCellText);
    FCancelled = true;
    g->DoneInplaceEdit(VK_ESCAPE, TShiftState());
}

bool TGridEditorHost::KeepKeys(QEvent* e, const std::function<void(QKeyEvent*)>& KeyPress) const
{
    return FHostGrid->EditMode && KeepEditorKeys(e, KeepsTab(), KeyPress);
}

TGridEditorHost* TProStringGrid::EditorHostOf(TEditorType Kind)
{
    switch (Kind) {
    case edSpinEdit: case edFloatSpinEdit: case edTimeSpinEdit: case edDateSpinEdit: return SpinEdit();
    case edDateEdit: case edDateEditUpDown: case edTimeEdit: return DateTimePicker();
    case edDateTimeEdit: return DateAndTimePicker();
    case edEditBtn: case edNumericEditBtn: case edFloatEditBtn: case edMaskEditBtn: return BtnEdit();
    case edUnitEditBtn: case edNumericUnitEditBtn: case edFloatUnitEditBtn: return BtnUnitEdit();
    case edCheckBox: return CheckEditor();
    case edButton: return ButtonEditor();
    default: return DropDownEditorOf(Kind);
    }
}
