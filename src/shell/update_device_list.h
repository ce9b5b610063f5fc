#pragma once
// The device list of the one-page update window: a two-column grid, never shown, whose
// column headers follow the language.  Kept apart from the window's own code because the
// grid's and the push button's alignment names clash in one translation unit.
#include <QString>

class QWidget;
class TProColumnGrid;

// Two columns of 180 pixels, no fixed column, two rows, headers "IP Address" and
// "MAC Address", at (35, 38) with 382 x 115 pixels.
TProColumnGrid* Create_Device_List(QWidget* parent);
void Free_Device_List(TProColumnGrid* grid);
void Set_Device_List_Headers(TProColumnGrid* grid, const QString& ip, const QString& mac);
// The text of a header cell.
QString Device_List_Header(TProColumnGrid* grid, int column);
void Set_Device_List_Hint(TProColumnGrid* grid, const QString& hint);
