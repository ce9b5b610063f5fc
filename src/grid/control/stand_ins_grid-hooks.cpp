// Stand-ins for row structure, clearing and rich-text routines that other work provides; they
// keep this branch building and do the plain part of the job.
#include "grid/control/pro_string_grid.h"
#include "grid/render/grid_paint.h"

#include <QTextEdit>
#include <algorithm>

void TProStringGrid::InsertNormalRow(int ARow) { InsertRows(RealToDisplRow(ARow), 1, true); }

void TProStringGrid::InsertChildRow(int ARow, int InsertAt)
{
    (void)InsertAt;
    InsertRows(RealToDisplRow(ARow) + 1, 1, true);
}

void TProStringGrid::RemoveNormalRow(int ARow) { RemoveRowsHook(RealToDisplRow(ARow), 1); }

void TProStringGrid::RemoveChildRow(int ARow) { RemoveRowsHook(RealToDisplRow(ARow), 1); }

void TProStringGrid::RemoveRowsHook(int ARow, int Count) { RemoveRowsEx(ARow, Count); }

void TProStringGrid::ClearRows(int RowIndex, int RCount)
{
    if (RowCount() == 0 || ColCount() == 0 || RCount <= 0) return;
    ClearRect(0, RowIndex, ColCount() + NumHiddenColumns() - 1, std::min(RowCount() - 1, RowIndex + RCount - 1));
}

void TProStringGrid::CellToRich(int Col, int Row, QTextEdit* Richeditor)
{
    if (!Richeditor) return;
    const QString t = Cells(Col, Row);
    if (t.isEmpty()) Richeditor->clear();
    else LoadRichText(*Richeditor->document(), t);
}
