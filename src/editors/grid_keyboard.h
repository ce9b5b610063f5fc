#pragma once
// The keyboard of an editor window's grid.
#include "grid/control/pro_string_grid.h"

// Tab and Shift+Tab walk every cell of a row and on to the next row, whatever editor the
// cell has; Tab past the last cell goes on to the window's buttons.  Without this, Tab
// from some cells left the grid at once and the characters typed next were lost.  A click
// ticks a check box only on the box itself, so that selecting its cell changes nothing.
inline void Set_Editor_Grid_Input(TProStringGrid* g)
{
    g->SetOptions(g->Options() + goTabs);
    g->Navigation()->SetTabToNextAtEnd(true);
    g->MouseActions()->SetPreciseCheckBoxCheck(true);
}

// The keyboard on the grid's first data cell, so that typing starts in the table.
inline void Focus_First_Cell(TProStringGrid* g)
{
    if (g->RowCount() <= g->FixedRows()) return;
    g->SetRow(g->FixedRows());
    g->SetCol(g->FirstNavigableCol());
    g->setFocus(Qt::OtherFocusReason);
}
