// Drops on a grid: each input becomes the data of a drag from another program (the cell stream,
// text, rich text, a list of addresses, a column number, by the bits of its first byte) that
// enters, moves over and drops on a small grid.  A drop that was refused with an error must
// leave the grid as it was; what it accepted is drawn.
#include "fuzz_target.h"
#include "grid/control/pro_string_grid.h"
#include "grid/data/cell_stream.h"
#include "platform/ui/dialogs.h"

#include <QApplication>
#include <QBuffer>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <cstdlib>

namespace {

int Errors = 0;

TProStringGrid* MakeGrid()
{
    auto* g = CreateGrid<TProStringGrid>();
    g->SetColCount(4);
    g->SetRowCount(5);
    g->SetBounds(0, 0, 260, 120);
    TGridOptions o = g->Options();
    o.Include(goEditing);
    g->SetOptions(o);
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 4; ++c) g->SetCells(c, r, QStringLiteral("%1.%2").arg(c).arg(r));
    g->MergeCells(2, 2, 2, 2);
    auto* d = g->DragDropSettings();
    d->SetOleDropTarget(true);
    d->SetOleDropRTF(true);
    d->SetOleColumnReorder(true);
    return g;
}

QStringList Snapshot(TProStringGrid* g)
{
    QStringList s{QString::number(g->ColCount()), QString::number(g->RowCount())};
    for (int r = 0; r < g->RowCount(); ++r)
        for (int c = 0; c < g->ColCount(); ++c) s << g->GetGridCell(c, r);
    return s;
}

const TFuzzRegistration Targets({
    {"grid_drop",
     [] {
         SetMessageBoxHandler([](const MessageBoxCall&) {
             ++Errors;
             return int(mrOk);
         });
     },
     [](const std::string& input) {
         if (input.empty()) return;
         const unsigned kind = uchar(input[0]);
         const QByteArray data(input.data() + 1, qsizetype(input.size() - 1));
         QMimeData mime;
         if (kind & 1) mime.setData(QString::fromLatin1(GridCellsMimeType), data);
         if (kind & 2) mime.setData(QStringLiteral("text/plain"), data);
         if (kind & 4) mime.setData(QStringLiteral("text/rtf"), data);
         if (kind & 8) mime.setData(QStringLiteral("text/uri-list"), data);
         if (kind & 16) mime.setData(QStringLiteral("application/x-prostringgrid-column"), data);
         TProStringGrid* g = MakeGrid();
         if (kind & 32) {
             auto* d = g->DragDropSettings();
             d->SetOleEntireRows(true);
             d->SetOleAppendRows(true);
             d->SetOleInsertRows(true);
         }
         const QPoint at(70 + int(kind >> 6) * 40, 30);
         const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
         const QStringList before = Snapshot(g);
         const int errors = Errors;
         QWidget* v = g->viewport();
         QDragEnterEvent enter(at, actions, &mime, Qt::LeftButton, {});
         QApplication::sendEvent(v, &enter);
         QDragMoveEvent move(at, actions, &mime, Qt::LeftButton, {});
         QApplication::sendEvent(v, &move);
         QDropEvent drop(QPointF(at), actions, &mime, Qt::LeftButton, {});
         QApplication::sendEvent(v, &drop);
         if (Errors != errors && Snapshot(g) != before) std::abort();
         g->grab();
         g->Free();
     },
     [] {
         std::vector<std::string> seeds;
         TProStringGrid* g = MakeGrid();
         QBuffer b;
         b.open(QIODevice::WriteOnly);
         g->SaveRectToBinStream({0, 0, 2, 2}, b);
         seeds.push_back("\1" + b.data().toStdString());
         seeds.push_back("\3" + b.data().toStdString());
         g->Free();
         seeds.push_back(std::string("\2", 1) + "a\tb\r\n\"two\nlines\"\tc\r\n");
         seeds.push_back(std::string("\x22", 1) + "a\tb\r\nc\td\r\n");
         seeds.push_back(std::string("\4", 1) + "{\\rtf1 bold}");
         seeds.push_back(std::string("\x08", 1) + "https://example.net/a\r\nfile:///tmp/none.csv\r\n");
         seeds.push_back(std::string("\x10", 1) + "2");
         return seeds;
     }},
});
}  // namespace
