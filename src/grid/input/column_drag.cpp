// A column dragged out of a list of columns onto the grid: the record of the drag and the
// drag data that names the column.
#include "grid/control/pro_string_grid.h"

#include <QListWidget>
#include <QMimeData>
#include <QPixmap>

namespace {
const QString ColumnFormat = QStringLiteral("application/x-prostringgrid-column");
}

void TProStringGrid::OleColumnDragStart(int ACol, int AIndex, QListWidget* AList)
{
    FOleDragCol = ACol;
    FOleDragIndex = AIndex;
    FOleDragList = AList;
}

QMimeData* TProStringGrid::ColumnDragData(int ACol)
{
    auto* data = new QMimeData;
    data->setData(ColumnFormat, QByteArray::number(ACol));
    data->setText(QString::number(ACol));
    return data;
}

int TProStringGrid::ColumnOfDragData(const QMimeData* Data)
{
    if (!Data || !Data->hasFormat(ColumnFormat)) return -1;
    bool ok = false;
    const int col = Data->data(ColumnFormat).toInt(&ok);
    return ok && col >= 0 ? col : -1;
}

Qt::DropAction TProStringGrid::OleColumnDrag(int ACol, int AIndex, QListWidget* AList)
{
    OleColumnDragStart(ACol, AIndex, AList);
    return RunDrag(ColumnDragData(ACol), {});
}
