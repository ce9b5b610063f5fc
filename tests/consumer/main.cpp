// Uses what the grid's headers hand out: a grid, and the printer it prints on.
#include "grid/control/pro_string_grid.h"

#include <QApplication>
#include <QPrinter>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    TProStringGrid* grid = CreateGrid<TProStringGrid>();
    grid->SetCells(1, 1, QStringLiteral("x"));
    grid->Printer()->setPageOrientation(QPageLayout::Landscape);
    grid->Free();
    return 0;
}
