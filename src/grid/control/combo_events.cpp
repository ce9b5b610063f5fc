// The events of the grid's combo editor opening and closing its list.
#include "grid/control/pro_string_grid.h"

void TProStringGrid::ComboCloseUp(int ACol, int ARow)
{
    if (OnComboCloseUp) OnComboCloseUp(this, ARow, ACol);
}

void TProStringGrid::ComboDropDown(int ACol, int ARow)
{
    if (OnComboDropDown) OnComboDropDown(this, ARow, ACol);
}
