// Middle-button panning: the mark at its origin, each timer step that scrolls or moves the
// current cell toward the mouse, and its end.
#include "grid/base/grid_resources.h"
#include "grid/control/pro_string_grid.h"

#include <QCursor>

namespace {
constexpr int PanDeadZone = 5;
}  // namespace

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
