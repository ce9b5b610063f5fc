// Changes reported by the grid's settings objects and editors that need no more than a
// repaint or the grid's own event.
#include "grid/control/pro_string_grid.h"

void TProStringGrid::ShowModifiedChanged(TObject*) { InvalidateCol(0); }

void TProStringGrid::BandsChanged(TObject*) { Invalidate(); }

void TProStringGrid::UnitChanged(TObject*, const QString& NewUnit)
{
    if (OnUnitChanged) OnUnitChanged(this, Col(), Row(), NewUnit);
}
