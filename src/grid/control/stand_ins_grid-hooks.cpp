// Stand-ins for row structure, clearing and rich-text routines that other work provides; they
// keep this branch building and do the plain part of the job.
#include "grid/control/pro_string_grid.h"
#include "grid/render/grid_paint.h"

#include <QTextEdit>
#include <algorithm>

void TProStringGrid::CellToRich(int Col, int Row, QTextEdit* Richeditor)
{
    if (!Richeditor) return;
    const QString t = Cells(Col, Row);
    if (t.isEmpty()) Richeditor->clear();
    else LoadRichText(*Richeditor->document(), t);
}
