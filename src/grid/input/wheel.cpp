// The mouse wheel over the grid: zoom with Ctrl, scrolling or moving the selection by its
// step, and the wheel steps the platform grid asks for.
#include "grid/control/pro_string_grid.h"
#include "platform/core/sysutils.h"

#include <algorithm>

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
    if (keys & MK_SHIFT) {
        WheelColumns(down, EntrySel);
        return true;
    }

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

void TProStringGrid::WheelColumns(bool Right, const TGridRect& EntrySel)
{
    // One column a notch: a column is much wider than the lines a notch scrolls.
    const int maxLeft = std::max(FixedCols(), CalcMaxTopLeft({ColCount() - 1, RowCount() - 1}).X);
    const int left = std::clamp(LeftCol() + (Right ? 1 : -1), FixedCols(), maxLeft);
    if (left != LeftCol()) SetLeftCol(left);
    const TGridRect sel = Selection();
    if (!(sel == EntrySel)) SelectionChanged(sel.Left, sel.Top, sel.Right, sel.Bottom);
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
