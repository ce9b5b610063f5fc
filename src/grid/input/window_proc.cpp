// The grid's window procedure: what it does with a message before the platform grid sees
// it (end of the window, the edit-done notification, proportional bars, themes, the
// notifications of its editors, the start and end of middle-button panning, the wheel
// message), and the hook in front of a custom editor link's control.
#include "grid/base/theme.h"
#include "grid/control/grid_unit.h"
#include "grid/control/pro_inplace_edit.h"
#include "grid/control/pro_string_grid.h"
#include "platform/core/sysutils.h"
#include "platform/ui/grid_detail.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>

using grid_detail::HandleOf;

namespace {

constexpr int PanTimerID = 999;

// The text of an open editor control that has one line of text: the control itself, or the
// line edit inside it.
QLineEdit* LineEditOf(QWidget* w)
{
    if (!w) return nullptr;
    if (auto* e = qobject_cast<QLineEdit*>(w)) return e;
    return w->findChild<QLineEdit*>();
}

// Editor kinds whose text the default in-place edit holds, the spin editor holds, the
// edit-button editor holds.
bool DefaultEditType(int t)
{
    return t == 0 || (t >= 11 && t <= 16) || t == 18 || t == 19 || t == 39;
}
bool SpinEditType(int t) { return t == 1 || (t >= 20 && t <= 22); }
bool ButtonEditType(int t) { return t == 4 || t == 23 || t == 24 || t == 42; }

}  // namespace

// ---------------------------------------------------------------- the hook

void TProStringGrid::WindowMessageHook(TMessage& Message)
{
    const uint32_t msg = Message.Msg;
    if (msg == WM_DESTROY) {
        if (!FDesigning && FAutoThemeAdapt) GetThemeNotifier(this)->UnRegisterWindow(this);
        // (the drop target of OLE drags goes with the window by itself)
        if (FGridTimerID != 0) KillTimer(FGridTimerID);
    }
    if (Destroying() || FTornDown) {
        TBaseGrid::WndProc(Message);
        return;
    }
    if (HandleChangeNotification(Message)) return;
    const TGridRect entrySel = Selection();

    if (msg != 0 && msg == GridEditDoneMessage()) {
        if (OnEditCellDone) OnEditCellDone(this, int(Message.WParam), int(Message.LParam));
        if (FMouseActions->EditOnDblClickOnly()) {
            HideInplaceEdit();
            EditMode = false;
            SetOptions(Options() - goEditing);
        }
    }

    // The focus going to another control or window ends what the mouse holds (a column being
    // sized or moved), as the system's cancel-mode message does for a window losing it; the
    // grid's own editors taking the focus end nothing.
    if (msg == WM_KILLFOCUS) {
        QWidget* now = QApplication::focusWidget();
        if (!now) now = QApplication::activeWindow();
        // (the floating image of a dragged column is a window of the grid's own)
        bool own = false;
        for (QObject* o = now; o && !own; o = o->parent()) own = o == this;
        if (!own) Perform(WM_CANCELMODE);
    }

    if (msg == WM_CANCELMODE && Screen()->Cursor() == crDrag &&
        (GridState() == gsRowMoving || GridState() == gsColMoving) && FEnhRowColMove) {
        Screen()->SetCursor(crDefault);
        if (MoveButton) {
            MoveButton->setEnabled(false);
            MoveButton->hide();
        }
        // The floating image of a dragged column or row goes with the move.
        // (it may be the window being activated right now)
        if (MoveForm) {
            MoveForm->hide();
            MoveForm->deleteLater();
        }
        MoveForm = nullptr;
        HideMoveArrows();
        KillTimer(1);
        SetGridState(gsNormal);
    }

    if (msg == WM_PAINT) {
        if (FPaintCount == 0 && FScrollProportional && !FDesigning) {
            UpdateVScrollBar();
            UpdateHScrollBar();
        }
        ++FPaintCount;
    }
    if ((msg == WM_SIZE || msg == CM_UIACTIVATE || msg == WM_LBUTTONUP) && !FDesigning) {
        UpdateVScrollBar();
        UpdateHScrollBar();
    }
    if ((msg == WM_THEMECHANGED || msg == WM_OFFICETHEMECHANGED) && FAutoThemeAdapt) UpdateOfficeTheme();

    if (msg == WM_NCPAINT) {
        // the platform's frame, then the grid's own border (see HandleNCPaintMessage)
        TBaseGrid::WndProc(Message);
        return;
    }

    // A notification goes back to the control that sent it once: the platform would hand it
    // back again on the default path, and an edit would then report each change more than once.
    bool reflected = false;
    if (msg == WM_COMMAND) {
        const int code = HiWord(Message.WParam);
        const intptr_t sender = Message.LParam;
        auto reflect = [&] {
            if (reflected) return;
            reflected = true;
            TBaseGrid::WMCommand(Message);
        };
        if (code == EN_CHANGE) {
            reflect();
            if (FShowEditProcess) {
                TProInplaceEdit* edit = NormalEdit();
                if (edit) edit->setUpdatesEnabled(false);
                if (EditMode && !FEditStart) {
                    const int t = int(EditControl);
                    if (DefaultEditType(t)) {
                        if (edit) StoreEditorText(Col(), GetRowEx(), edit->text());
                    } else if (SpinEditType(t) || ButtonEditType(t)) {
                        if (QLineEdit* source = LineEditOf(EditCtrl)) StoreEditorText(Col(), GetRowEx(), source->text());
                    }
                }
                if (edit) edit->setUpdatesEnabled(true);
                return;
            }
        }
        if (sender != HandleOf(this)) reflect();
        const bool fromCombo = EditCombo && sender == HandleOf(EditCombo);
        auto fireComboEvents = [this] {
            const int i = EditCombo->currentIndex();
            const QString s = i == -1 ? EditCombo->currentText() : EditCombo->itemText(i);
            const int c = DisplToRealColumn(Col()), r = GetRowEx();
            if (OnComboChange) OnComboChange(this, c, r, i, s);
            if (OnComboObjectChange)
                OnComboObjectChange(this, c, r, i, s,
                                    i == -1 ? nullptr : static_cast<TObject*>(EditCombo->itemData(i).value<void*>()));
        };
        if ((code == CBN_SELCHANGE || code == CBN_EDITCHANGE) && fromCombo && EditMode) fireComboEvents();
        // (a custom editor link's combo box reports its changes here once such links exist)
        if (code == CBN_CLOSEUP && fromCombo) {
            if (FMouseActions->DirectComboClose()) {
                const int i = EditCombo->currentIndex();
                if (i >= 0 && EditCombo->isEditable()) EditCombo->setEditText(EditCombo->itemText(i));
                fireComboEvents();
                EditControl = edComboEdit;
                EditMode = true;
                const bool directEdit = FMouseActions->DirectEdit();
                FMouseActions->SetDirectEdit(false);
                HideInplaceEdit();
                FMouseActions->SetDirectEdit(directEdit);
                SetFocus();
            }
            ComboCloseUp(DisplToRealColumn(Col()), GetRowEx());
        }
        if (code == CBN_DROPDOWN && fromCombo) ComboDropDown(DisplToRealColumn(Col()), GetRowEx());
        if (code == CBN_EDITCHANGE && OnComboChange && EditCombo)
            OnComboChange(this, Col(), GetRowEx(), -1, EditCombo->currentText());
    }

    if (wheelmsg != 0 && wheelpan && FIntelliPan != ipNone && msg == WM_TIMER) PanStep();

    if (msg == WM_MBUTTONDOWN && wheelmsg != 0 && !wheelpan && FIntelliPan != ipNone && RowCount() > FixedRows()) {
        FICursor = crPanNeutral;
        prevcurs = Cursor();
        SetCursor(FICursor);
        wheelpan = true;
        wheeltimer = PanTimerID;
        SetTimer(wheeltimer, 10);
        wheelpanpos = {LoSigned(Message.LParam), HiSigned(Message.LParam)};
        SetMouseCapture(true);
        SetShowHint(false);
        DrawPanOrigin();
    } else if (wheelpan &&
               (msg == WM_MBUTTONDOWN || msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_KEYDOWN)) {
        EndPanning();
    }

    if (msg != 0 && msg == wheelmsg && !wheelpan) {
        if (HandleWheelMessage(Message, entrySel)) return;
    }
    if (msg == WM_MOUSEHWHEEL && wheelmsg != 0 && !wheelpan) {
        if (FEnableWheel) WheelColumns(HiSigned(Message.WParam) > 0, entrySel);
        return;
    }

    const int row = GetRowEx();
    if (!(msg == WM_COMMAND && reflected)) TBaseGrid::WndProc(Message);
    if (GetRowEx() != row && FSyncGrid->SelectionRow()) SetRowEx(GetRowEx());
}

void TProStringGrid::EditLinkWindowMessageHook(TMessage& Message)
{
    if (Message.Msg == WM_GETDLGCODE && Options().Contains(goTabs)) {
        Message.Result |= DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTCHARS;
        return;
    }
    if (FGridControlWndProc) FGridControlWndProc(Message);
}
