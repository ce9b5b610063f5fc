#include "shell/update_device_list.h"

#include "grid/control/pro_column_grid.h"

TProColumnGrid* Create_Device_List(QWidget* parent)
{
    TProColumnGrid* g = CreateGrid<TProColumnGrid>(parent);
    g->setGeometry(35, 38, 382, 115);
    g->SetColCount(2);
    g->SetFixedCols(0);
    g->SetRowCount(2);
    g->Columns()->Items(0)->SetWidth(180);
    g->Columns()->Items(1)->SetWidth(180);
    Set_Device_List_Headers(g, QStringLiteral("IP Address"), QStringLiteral("MAC Address"));
    return g;
}

void Free_Device_List(TProColumnGrid* grid) { grid->Free(); }

void Set_Device_List_Headers(TProColumnGrid* grid, const QString& ip, const QString& mac)
{
    grid->Columns()->Items(0)->SetHeader(ip);
    grid->Columns()->Items(1)->SetHeader(mac);
}

QString Device_List_Header(TProColumnGrid* grid, int column) { return grid->Cells(column, 0); }

void Set_Device_List_Hint(TProColumnGrid* grid, const QString& hint) { grid->setToolTip(hint); }
