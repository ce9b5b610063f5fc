// Minimal stand-ins for row, column, node and data-service routines that other parts of
// the grid provide; dropped when those are in.
#include "grid/control/pro_string_grid.h"

#include <QRegularExpression>

void TProStringGrid::RemoveCols(int ColIndex, int CCount)
{
    const int total = TotalColCount();
    if (CCount <= 0 || ColIndex < 0 || ColIndex >= total) return;
    CCount = std::min(CCount, total - ColIndex);
    ClearCols(ColIndex, CCount);
    for (int c = ColIndex; c + CCount < total; ++c) {
        for (int r = 0; r < RowCount(); ++r) {
            SetGridCell(c, r, GetGridCell(c + CCount, r));
            SetGridObject(c, r, GetGridObject(c + CCount, r));
            SetGridCell(c + CCount, r, QString());
            SetGridObject(c + CCount, r, nullptr);
        }
    }
    SetColCount(ColCount() - CCount);
}

void TProStringGrid::AddRow()
{
    SetRowCount(RowCount() + 1);
    ClearRows(RowCount() - 1, 1);
}

void TProStringGrid::CanAddRow(bool& CanAdd)
{
    if (OnCanAddRow) OnCanAddRow(this, CanAdd);
}

void TProStringGrid::RemoveAllNodes() {}

QString TProStringGrid::UnMarkText(const QString& S)
{
    static const QRegularExpression tag(QStringLiteral("<\\s*/?\\s*e\\s*>"), QRegularExpression::CaseInsensitiveOption);
    QString r = S;
    r.remove(tag);
    r.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    r.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    return r;
}
