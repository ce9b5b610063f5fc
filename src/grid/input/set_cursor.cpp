// The cursor over the grid: the arrows of the row, column and select-all modes over the fixed
// cells, the cell selector's, else the platform's shape and then the cell's own.
#include "grid/control/pro_string_grid.h"

void TProStringGrid::WMSetCursor(TMessage& m) { HandleSetCursor(m); }

void TProStringGrid::HandleSetCursor(TMessage& m)
{
    const QPoint p = viewport()->mapFromGlobal(QCursor::pos());
    const TGridState state = GridState();
    const bool sizing = state == gsRowSizing || state == gsColSizing;
    if (FMouseSelectMode != msNormal && !sizing) {
        switch (FMouseSelectMode) {
        case msColumn: viewport()->setCursor(CursorOf(crSelectColumn)); break;
        case msRow: viewport()->setCursor(CursorOf(crSelectRow)); break;
        case msAll:
        case msResize: viewport()->setCursor(CursorOf(crSelectAll)); break;
        default: break;   // the link shape was set with the cell
        }
        m.Result = 1;
        return;
    }
    TBaseGrid::WMSetCursor(m);
    // Over a border that sizes a row or column the split shape stays.
    const Qt::CursorShape shape = viewport()->cursor().shape();
    if (GridState() != gsNormal || shape == Qt::SplitHCursor || shape == Qt::SplitVCursor) return;
    int c = -1, r = -1;
    MouseToCell(p.x(), p.y(), c, r);
    if (c >= 0 && r >= 0 && c < ColCount() && r < RowCount()) GetCellCursor(RealColIndex(c), r, p.x(), p.y());
}
