// Two grids on an X display for a real drag of cells from one to the other: the source holds
// a selected block, the target takes drops.  The program prints where to press and where to
// release (screen coordinates), then waits for the cells to arrive and to leave the source;
// it exits 0 when they did and 1 when they had not after 40 seconds.  The driver
// (drag_drop_x11.sh) moves the pointer with xdotool.
#include "grid/control/pro_string_grid.h"
#include "platform/ui/application.h"

#include <QStyleFactory>
#include <QTimer>
#include <QWidget>
#include <cstdio>

namespace {
TProStringGrid* MakeGrid(QWidget* Parent, int Left)
{
    auto* g = CreateGrid<TProStringGrid>(Parent);
    g->SetBorderStyle(bsNone);
    g->SetScrollBars(ssNone);
    g->SetColCount(5);
    g->SetRowCount(6);
    g->SetBounds(Left, 0, 330, 140);
    TGridOptions o = g->Options();
    o.Include(goEditing);
    o.Include(goRangeSelect);
    g->SetOptions(o);
    return g;
}

QPoint Centre(TProStringGrid* g, int c, int r)
{
    const TRect k = g->CellRect(c, r);
    return g->viewport()->mapToGlobal(QPoint((k.Left + k.Right) / 2, (k.Top + k.Bottom) / 2));
}
}  // namespace

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QWidget window;
    window.resize(720, 160);
    window.move(0, 0);
    TProStringGrid* source = MakeGrid(&window, 0);
    TProStringGrid* target = MakeGrid(&window, 370);
    for (int r = 1; r < 6; ++r)
        for (int c = 1; c < 5; ++c) source->SetCells(c, r, QStringLiteral("%1%2").arg(QChar('a' + c - 1)).arg(r));
    // a grid that edits its cells does not drag them
    TGridOptions o = source->Options();
    o.Exclude(goEditing);
    source->SetOptions(o);
    source->DragDropSettings()->SetOleDropSource(true);
    target->DragDropSettings()->SetOleDropTarget(true);
    source->SetSelection({1, 1, 2, 2});
    window.show();

    int code = 1;
    QTimer::singleShot(500, [&] {
        const QPoint from = Centre(source, 1, 1), to = Centre(target, 2, 2);
        std::printf("press %d %d\ndrop %d %d\n", from.x(), from.y(), to.x(), to.y());
        std::fflush(stdout);
    });
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        const bool arrived = target->Cells(2, 2) == QLatin1String("a1") && target->Cells(3, 3) == QLatin1String("b2");
        const bool left = source->Cells(1, 1).isEmpty() && source->Cells(2, 2).isEmpty() &&
                          source->Cells(3, 1) == QLatin1String("c1");
        if (arrived && left) {
            code = 0;
            app.quit();
        }
    });
    poll.start(50);
    QTimer::singleShot(40000, [&] {
        std::printf("target (2,2)='%s' (3,3)='%s', source (1,1)='%s'\n", qPrintable(target->Cells(2, 2)),
                    qPrintable(target->Cells(3, 3)), qPrintable(source->Cells(1, 1)));
        app.quit();
    });
    app.exec();
    source->Free();
    target->Free();
    std::printf(code == 0 ? "moved\n" : "not moved\n");
    std::fflush(stdout);
    return code;
}
