// The recorded column order: where a column of the designed layout stands now, and putting
// the columns back.
#include "grid/control/pro_string_grid.h"

void TProStringGrid::ResetColumnOrder()
{
    UnHideColumnsAll();
    if (FColumnOrder->Count() == 0) {
        SetColumnOrder();
        return;
    }
    bool moved = true;
    while (moved) {
        moved = false;
        for (int i = 0; i < std::min(ColCount(), FColumnOrder->Count()); ++i) {
            const int e = FColumnOrder->GetInteger(i);
            if (e < i && e >= 0) {
                MoveColumn(i, e);
                moved = true;
            }
        }
    }
}

int TProStringGrid::ColumnPosition(int ACol)
{
    if (FColumnOrder->Count() == 0) return ACol;
    int p = ACol;
    const int n = std::min(TotalColCount(), FColumnOrder->Count());
    for (int i = 0; i < n; ++i) {
        if (FColumnOrder->GetInteger(i) == ACol) {
            p = i;
            break;
        }
    }
    // A grouped column is out of view.
    if (FGroupColumn != -1 && ACol >= FGroupColumn) --p;
    return p;
}

int TProStringGrid::ColumnAtPosition(int APos)
{
    if (FColumnOrder->Count() == 0) SetColumnOrder();
    if (APos < 0 || APos >= FColumnOrder->Count()) return APos;
    int v = FColumnOrder->GetInteger(APos);
    if (FGroupColumn != -1 && v >= FGroupColumn) ++v;
    return v;
}

int TProStringGrid::ColumnByHeader(const QString& AValue)
{
    for (int c = 0; c < TotalColCount(); ++c)
        if (GetCellsEx(c, 0) == AValue) return c;
    return -1;
}
