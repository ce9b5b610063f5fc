// Minimal stand-ins for routines built on other branches; they go when the real ones arrive.
#include "grid/control/pro_string_grid.h"

void TProStringGrid::AdvanceEdit(int ACol, int ARow, bool Always, bool AutoEdit, bool Forward, bool Recursing,
                                 bool DoEdit)
{
    (void)Always;
    (void)Recursing;
    if (!Navigation()->AdvanceOnEnter() && !Always) return;
    // One cell on in reading order, over the normal cells.
    int c = ACol + (Forward ? 1 : -1), r = ARow;
    if (c >= ColCount()) {
        c = FixedCols();
        ++r;
    } else if (c < FixedCols()) {
        c = ColCount() - 1;
        --r;
    }
    if (r < FixedRows() || r >= RowCount()) return;
    FocusCell(c, r, true);
    if (AutoEdit && DoEdit && Navigation()->AdvanceAutoEdit()) ShowInplaceEdit();
}

void TProStringGrid::ExportNotification(TGridExportState AState, int ARow)
{
    (void)AState;
    (void)ARow;
}
