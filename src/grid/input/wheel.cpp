// The grid's window procedure: what it does with a message before the platform grid sees
// it (end of the window, the edit-done notification, proportional bars, themes, the
// notifications of its editors), middle-button panning and the mouse wheel.
#include "grid/base/grid_resources.h"
#include "grid/base/theme.h"
#include "grid/control/grid_unit.h"
#include "grid/control/pro_inplace_edit.h"
#include "grid/control/pro_string_grid.h"
#include "platform/core/sysutils.h"
#include "platform/ui/grid_detail.h"

#include <QComboBox>
#include <QCursor>
#include <QLineEdit>

using grid_detail::HandleOf;

namespace {

constexpr int PanTimerID = 999;
constexpr int PanDeadZone = 5;

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
    const TGridRect entrySel = Selection();

    if (msg != 0 && msg == GridEditDoneMessage()) {
        if (OnEditCellDone) OnEditCellDone(this, int(Message.WParam), int(Message.LParam));
        if (FMouseActions->EditOnDblClickOnly()) {
            HideInplaceEdit();
            EditMode = false;
            SetOptions(Options() - goEditing);
        }
    }

    if (msg == WM_CANCELMODE && Screen()->Cursor() == crDrag &&
        (GridState() == gsRowMoving || GridState() == gsColMoving) && FEnhRowColMove) {
        Screen()->SetCursor(crDefault);
        if (MoveButton) {
            MoveButton->setEnabled(false);
            MoveButton->hide();
        }
        // The floating image of a dragged column or row goes with the move.
        delete MoveForm;
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
                    QLineEdit* source = nullptr;
                    if (DefaultEditType(t)) source = edit;
                    else if (SpinEditType(t) || ButtonEditType(t)) source = LineEditOf(EditCtrl);
                    if (source) StoreEditorText(Col(), GetRowEx(), source->text());
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

    const int row = GetRowEx();
    if (!(msg == WM_COMMAND && reflected)) TBaseGrid::WndProc(Message);
    if (GetRowEx() != row && FSyncGrid->SelectionRow()) SetRowEx(GetRowEx());
}

// ---------------------------------------------------------------- the wheel

bool TProStringGrid::HandleWheelMessage(TMessage& Message, const TGridRect& EntrySel)
{
    if (auto* parentGrid = dynamic_cast<TCustomGrid*>(parentWidget()))
        if (parentGrid->Perform(CM_MOUSEWHEEL, Message.WParam, Message.LParam) != 0) return false;
    const bool down = HiSigned(Message.WParam) < 0;
    const int keys = LoWord(Message.WParam);
    if ((keys & MK_CONTROL) && FIntelliZoom) {
        Zoom(down ? wheelscrl : -wheelscrl);
        AutoSizeCells(true, 4, 4);
        return true;
    }
    if (!FEnableWheel || (FFixedRowAlways && RowCount() == 1)) return true;

    const bool move = FMouseActions->WheelAction() == waMoveSelection;
    int step = FMouseActions->WheelIncrement() > 0 ? FMouseActions->WheelIncrement() : wheelscrl;
    int target = GetRowEx();
    if (move) {
        target += down ? step : -step;
    } else if (down) {
        // never past the last full page
        const int lastTop = std::max(FixedRows(), CalcMaxTopLeft({ColCount() - 1, RowCount() - 1}).Y);
        if (TopRow() < RowCount() - VisibleRowCount() && TopRow() + step >= FixedRows())
            SetTopRowEx(std::min(TopRow() + step, std::max(lastTop, TopRow())));
    } else {
        if (TopRow() - step < FixedRows()) step = TopRow() - FixedRows();
        if (TopRow() > FixedRows()) SetTopRowEx(TopRow() - step);
    }
    target = std::clamp(target, FixedRows(), std::max(FixedRows(), RowCount() - FFixedFooters - 1));
    if (Col() > ColCount() - 1 && GetRowEx() > RowCount() - 1) FocusCell(ColCount() - 1, RowCount() - 1, true);
    if (Col() > ColCount() - 1) SetCol(ColCount() - 1);
    else if (Col() < FixedCols() && FixedCols() < ColCount()) SetCol(FixedCols());

    int delta = 0;
    if (target >= 0 && target < RowCount()) {
        StartUpdate();
        const int left = LeftCol();
        if (FMouseActions->DisjunctRowSelect() && move) ClearRowSelect();
        delta = target - GetRowEx();
        if (move) {
            SetRowEx(target);
            if (GetRowEx() != target) {
                // refused or moved elsewhere: half the way that is left
                SetRowEx(GetRowEx() + int(Round((target - GetRowEx()) / 2.0)));
                if (TopRow() > FixedRows()) SetTopRowEx(TopRow() - 1);
            }
        }
        if (Options().Contains(goRowSelect) && FNavigation->KeepHorizScroll()) SetLeftCol(left);
        ResetUpdate();
    }
    bool handled = true;
    WheelMoved(delta, handled);
    if ((FMouseActions->WheelIncrement() != 0 || FMouseActions->DisjunctRowSelect()) && handled) {
        Message.Result = 1;
        TShiftState shift;
        TPoint pos{0, 0};
        if (FMouseActions->DisjunctRowSelect()) {
            shift = KeyboardStateToShiftState();
            pos = {LoSigned(Message.LParam), HiSigned(Message.LParam)};
        }
        bool h = false;
        if (down && OnMouseWheelDown) OnMouseWheelDown(this, shift, pos, h);
        if (!down && OnMouseWheelUp) OnMouseWheelUp(this, shift, pos, h);
    }
    const TGridRect sel = Selection();
    if (!(sel == EntrySel)) SelectionChanged(sel.Left, sel.Top, sel.Right, sel.Bottom);
    if (FSearchFooter->Visible() && TopRow() == RowCount() - VisibleRowCount()) ScrollAboveSearchFooter();
    return true;
}

bool TProStringGrid::WheelStepDown(TShiftState Shift, const TPoint& MousePos)
{
    return WheelStep(true, Shift, MousePos);
}

bool TProStringGrid::WheelStepUp(TShiftState Shift, const TPoint& MousePos)
{
    return WheelStep(false, Shift, MousePos);
}

bool TProStringGrid::WheelStep(bool Down, TShiftState Shift, const TPoint& MousePos)
{
    if (FMouseActions->WheelAction() == waScroll || !FEnableWheel) {
        bool handled = false;
        const TWheelEvent& event = Down ? OnMouseWheelDown : OnMouseWheelUp;
        if (event) event(this, Shift, MousePos, handled);
        return handled;
    }
    auto baseStep = [&] {
        return Down ? TBaseGrid::DoMouseWheelDown(Shift, MousePos) : TBaseGrid::DoMouseWheelUp(Shift, MousePos);
    };
    const bool directEdit = FMouseActions->DirectEdit();
    FMouseActions->SetDirectEdit(false);
    bool result = true;
    if (Options().Contains(goRowSelect) && FNavigation->KeepHorizScroll()) {
        StartUpdate();
        const int left = LeftCol();
        result = baseStep();
        SetLeftCol(left);
        ResetUpdate();
    } else {
        const bool editing = EditMode;
        if (Down || (GetRowEx() < RowCount() && Col() < ColCount())) result = baseStep();
        if (editing) SetFocus();
    }
    FMouseActions->SetDirectEdit(directEdit);
    return result;
}

// ---------------------------------------------------------------- panning

TRect TProStringGrid::PanOriginRect() const
{
    return {wheelpanpos.X - 16, wheelpanpos.Y - 16, wheelpanpos.X + 16, wheelpanpos.Y + 16};
}

void TProStringGrid::DrawPanOrigin()
{
    const QString name = FIntelliPan == ipVertical     ? QStringLiteral("INTLI3")
                         : FIntelliPan == ipHorizontal ? QStringLiteral("INTLI2")
                                                       : QStringLiteral("INTLI1");
    TBitmap mark;
    LoadResourceBitmap(mark, name);
    const TRect r = PanOriginRect();
    Canvas()->Draw(r.Left, r.Top, mark);
}

void TProStringGrid::InvalidatePanOrigin()
{
    InvalidateClientRect(PanOriginRect());
}

void TProStringGrid::EndPanning()
{
    SetMouseCapture(false);
    KillTimer(wheeltimer);
    SetCursor(prevcurs);
    SetShowHint(true);
    wheelpan = false;
    InvalidatePanOrigin();
}

void TProStringGrid::PanStep()
{
    const TGridRect entrySel = Selection();
    const QPoint p = viewport()->mapFromGlobal(QCursor::pos());
    int h = p.x() < wheelpanpos.X - PanDeadZone ? -1 : p.x() > wheelpanpos.X + PanDeadZone ? 1 : 0;
    int v = p.y() < wheelpanpos.Y - PanDeadZone ? -1 : p.y() > wheelpanpos.Y + PanDeadZone ? 1 : 0;
    if (FIntelliPan == ipHorizontal) v = 0;
    if (FIntelliPan == ipVertical) h = 0;
    static constexpr TCursor cursors[3][3] = {
        // h = -1, 0, +1
        {crPanUpLeft, crPanUp, crPanUpRight},          // v = -1
        {crPanLeft, crPanNeutral, crPanRight},         // v = 0
        {crPanDownLeft, crPanDown, crPanDownRight},    // v = +1
    };
    const TCursor cursor = cursors[v + 1][h + 1];

    const int lastRow = RowCount() - FFixedFooters - 1;
    const int lastCol = ColCount() - FFixedRightCols - 1;
    if (GetRowEx() > lastRow && lastRow >= FixedRows()) SetRowEx(lastRow);
    if (GetRowEx() < FixedRows() && FixedRows() < RowCount()) SetRowEx(FixedRows());
    if (Col() > lastCol && lastCol >= FixedCols()) SetCol(lastCol);
    if (Col() < FixedCols() && FixedCols() < ColCount()) SetCol(FixedCols());

    auto colShown = [this](int c) { return c >= LeftCol() && c <= LeftCol() + VisibleColCount() - 1; };
    auto rowShown = [this](int r) { return r >= TopRow() && r <= TopRow() + VisibleRowCount() - 1; };
    if (FMouseActions->WheelAction() == waMoveSelection) {
        if (h == -1 && Col() > FixedCols() && Col() - 1 >= FixedCols()) {
            if (!colShown(Col() - 1)) InvalidatePanOrigin();
            SetCol(Col() - 1);
        }
        if (h == 1 && Col() < lastCol && Col() + 1 <= ColCount() - 1) {
            if (!colShown(Col() + 1)) InvalidatePanOrigin();
            SetCol(Col() + 1);
        }
        if (v == -1 && GetRowEx() > FixedRows() && GetRowEx() - 1 >= 0) {
            if (!rowShown(GetRowEx() - 1)) InvalidatePanOrigin();
            SetRowEx(GetRowEx() - 1);
        }
        if (v == 1 && GetRowEx() < RowCount() - FFixedFooters - 1 && GetRowEx() + 1 <= RowCount() - 1) {
            if (!rowShown(GetRowEx() + 1)) InvalidatePanOrigin();
            SetRowEx(GetRowEx() + 1);
        }
    } else {
        const int maxLeft = ColCount() - VisibleColCount();
        const int maxTop = RowCount() - VisibleRowCount();
        if (h == -1 && LeftCol() > FixedCols()) {
            InvalidatePanOrigin();
            SetLeftCol(LeftCol() - 1);
        }
        if (h == 1 && LeftCol() < maxLeft) {
            InvalidatePanOrigin();
            SetLeftCol(LeftCol() + 1);
        }
        if (v == -1 && TopRow() > FixedRows()) {
            InvalidatePanOrigin();
            SetTopRowEx(TopRow() - 1);
        }
        if (v == 1 && TopRow() < maxTop) {
            InvalidatePanOrigin();
            SetTopRowEx(TopRow() + 1);
        }
    }
    if (cursor == crPanNeutral) SetCursor(FICursor);
    else SetCursor(cursor);
    DrawPanOrigin();
    const TGridRect sel = Selection();
    if (!(sel == entrySel)) SelectionChanged(sel.Left, sel.Top, sel.Right, sel.Bottom);
}

// ---------------------------------------------------------------- combo hooks

void TProStringGrid::ComboCloseUp(int ACol, int ARow)
{
    if (OnComboCloseUp) OnComboCloseUp(this, ARow, ACol);
}

void TProStringGrid::ComboDropDown(int ACol, int ARow)
{
    if (OnComboDropDown) OnComboDropDown(this, ARow, ACol);
}
