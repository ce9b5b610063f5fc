// A program of its own that exports a grid to workbooks, so that tests can run two programs
// exporting against one office at the same moment:
//   office_export_helper <folder> <name> <cols> <rows> <times> [<pipe>]
// The cells read "<name> <col>/<row>"; they are saved <times> times in a row, to
// <folder>/<name>-<i>.xlsx, by SaveToXLS without a new sheet, as a program exporting into
// whatever the office has open would.  A pipe names the office to look for (one that does
// not listen makes each export start its own).  Exit 0 when all are saved, else 1 with the
// reason.
#include "grid/control/pro_string_grid.h"
#include "grid/data/office_server.h"
#include "platform/core/exception.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 6) {
        std::fprintf(stderr, "usage: office_export_helper <folder> <name> <cols> <rows> <times> [<pipe>]\n");
        return 2;
    }
    if (args.size() > 6) TOfficeServer::SetPipeName(args[6]);
    TOfficeServer::SetStartTimeout(240);
    const QString& name = args[2];
    const int cols = args[3].toInt(), rows = args[4].toInt(), times = args[5].toInt();
    TProStringGrid* grid = CreateGrid<TProStringGrid>();
    grid->SetColCount(cols);
    grid->SetRowCount(rows);
    grid->SetFixedCols(0);
    grid->SetFixedRows(0);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) grid->SetCells(c, r, QStringLiteral("%1 %2/%3").arg(name).arg(c).arg(r));
    int rc = 0;
    try {
        for (int i = 0; i < times; ++i) grid->SaveToXLS(QStringLiteral("%1/%2-%3.xlsx").arg(args[1], name).arg(i), false);
    } catch (const Exception& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.Message()));
        rc = 1;
    }
    grid->Free();
    return rc;
}
