// The highlight marks a search leaves in the cells' texts, taken out again.
#include "grid/base/html_text.h"
#include "grid/control/pro_string_grid.h"

void TProStringGrid::UnHilightInGrid(bool DoFixed)
{
    const int c0 = DoFixed ? 0 : FixedCols(), r0 = DoFixed ? 0 : FixedRows();
    const int c1 = DoFixed ? ColCount() - 1 : ColCount() - FixedRightCols() - 1;
    const int r1 = DoFixed ? RowCount() - 1 : RowCount() - FixedFooters() - 1;
    for (int r = r0; r <= r1; ++r)
        for (int c = c0; c <= c1; ++c) {
            const QString s = GetGridCell(c, r);
            if (!s.contains(QLatin1String("<hi>"), Qt::CaseInsensitive)) continue;
            QString out;
            RemoveHTMLTag(s, QStringLiteral("hi"), out);
            SetGridCell(c, r, out);
        }
}
