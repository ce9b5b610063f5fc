// CSV save and load and the HTML export of 100,000 rows by 20 columns, against what a Qt
// programmer would write for the same job in the same process: a QTextStream loop that joins
// (or splits) the rows at the separator, libcsv parsing the same file, and a QTextStream loop
// writing an escaped HTML table.  The sides alternate; each case prints the median of the
// per-pair ratios: ratio <case> <ours/peer>.  Nothing is shown.
#include "grid/control/pro_string_grid.h"
#include "paired_timing.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTextStream>
#include <cstdlib>
#include <vector>

#ifdef FABRICAT_HAVE_LIBCSV
#include <csv.h>
#endif

namespace {
constexpr int kRows = 100000;
constexpr int kCols = 20;
constexpr int kPairs = 7;

// Texts of a configuration table: numbers, identifiers and words.
QString CellText(int c, int r)
{
    switch (c % 4) {
    case 0: return QString::number(r * kCols + c);
    case 1: return QStringLiteral("0x%1").arg(r * 7 + c, 8, 16, QLatin1Char('0'));
    case 2: return QStringLiteral("Signal %1 of frame %2").arg(c).arg(r);
    default: return QString::number(double(r) / 8.0 + c, 'f', 3);
    }
}

// FABRICAT_BENCH_CASE names the cases to run (a prefix of their names, "csv" or
// "csv_save_vs_qtextstream"); all run without it.  A group runs when one of its cases does.
bool Runs(const char* name)
{
    const QByteArray only = qgetenv("FABRICAT_BENCH_CASE");
    return only.isEmpty() || QByteArray(name).startsWith(only) || only.startsWith(name);
}

QString BenchDir()
{
    const QByteArray env = qgetenv("FABRICAT_BENCH_DIR");
    return env.isEmpty() ? QDir::tempPath() : QString::fromLocal8Bit(env);
}
}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString dir = BenchDir();
    const QString ours = dir + QStringLiteral("/fabricat_bench_ours.csv");
    const QString peer = dir + QStringLiteral("/fabricat_bench_peer.csv");

    // The same cells for both sides: the grid's store, and rows of strings for the peer.
    std::vector<QStringList> rows(kRows);
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kCols; ++c) rows[r] << CellText(c, r);
    TProStringGrid* grid = CreateGrid<TProStringGrid>();
    grid->SetColCount(kCols);
    grid->SetRowCount(kRows);
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kCols; ++c) grid->SetCells(c, r, rows[r][c]);

    // Save: the grid's writer against joining the rows into a QTextStream.
    if (Runs("csv")) {
        auto peerSave = [&] {
            QFile f(peer);
            if (!f.open(QIODevice::WriteOnly)) std::abort();
            QTextStream out(&f);
            out.setEncoding(QStringConverter::Latin1);
            for (const QStringList& row : rows) out << row.join(u',') << "\r\n";
        };
        // the files the loads read, whichever cases run
        grid->SaveToCSV(ours);
        peerSave();
        if (Runs("csv_save_vs_qtextstream")) {
            const paired::Result save = paired::Run(kPairs, {nullptr, [&] { grid->SaveToCSV(ours); }}, {nullptr, peerSave});
            paired::Report("csv_save_vs_qtextstream", save);
        }

    // Load: into a fresh grid, against splitting the lines into rows of strings.
    TProStringGrid* target = nullptr;
    std::vector<QStringList> read;
    auto freshGrid = [&] {
        if (target) target->Free();
        target = CreateGrid<TProStringGrid>();
    };
    if (Runs("csv_load_vs_qtextstream")) {
    const paired::Result load = paired::Run(
        kPairs, {freshGrid, [&] { target->LoadFromCSV(ours); }},
        {[&] { read.clear(); }, [&] {
             QFile f(peer);
             if (!f.open(QIODevice::ReadOnly)) std::abort();
             QTextStream in(&f);
             in.setEncoding(QStringConverter::Latin1);
             QString line;
             while (in.readLineInto(&line)) read.push_back(line.split(u','));
         }});
    paired::Report("csv_load_vs_qtextstream", load);
    if (target->Cells(kCols - 1, kRows - 1) != rows[kRows - 1][kCols - 1] || int(read.size()) != kRows) std::abort();
    }

#ifdef FABRICAT_HAVE_LIBCSV
    // Load against libcsv's parse alone of the same file (read into memory, fields counted).
    struct Counts {
        size_t Fields = 0, Rows = 0;
    } counts;
    if (Runs("csv_load_vs_libcsv_parse")) {
    const paired::Result parse = paired::Run(
        kPairs, {freshGrid, [&] { target->LoadFromCSV(ours); }},
        {[&] { counts = {}; }, [&] {
             QFile f(ours);
             if (!f.open(QIODevice::ReadOnly)) std::abort();
             const QByteArray bytes = f.readAll();
             csv_parser p;
             csv_init(&p, 0);
             csv_parse(&p, bytes.constData(), size_t(bytes.size()),
                       [](void*, size_t, void* d) { ++static_cast<Counts*>(d)->Fields; },
                       [](int, void* d) { ++static_cast<Counts*>(d)->Rows; }, &counts);
             csv_fini(&p, [](void*, size_t, void* d) { ++static_cast<Counts*>(d)->Fields; },
                      [](int, void* d) { ++static_cast<Counts*>(d)->Rows; }, &counts);
             csv_free(&p);
         }});
    paired::Report("csv_load_vs_libcsv_parse", parse);
    if (counts.Rows != size_t(kRows) || counts.Fields != size_t(kRows) * kCols) std::abort();
    }
#endif
    if (target) target->Free();
    }

    // HTML: the grid's export (styles per cell look, escaping) against an escaped table
    // written with a QTextStream.
    grid->HTMLSettings()->SetExportImages(false);
    QString html, plain;
    if (Runs("html")) {
    const paired::Result htmlResult = paired::Run(
        kPairs, {nullptr, [&] { html = grid->SaveToHTMLString(dir + QLatin1Char('/')); }},
        {nullptr, [&] {
             plain.clear();
             QTextStream out(&plain);
             out << "<table>\r\n";
             for (const QStringList& row : rows) {
                 out << "<tr>";
                 for (const QString& cell : row) out << "<td>" << cell.toHtmlEscaped() << "</td>";
                 out << "</tr>\r\n";
             }
             out << "</table>\r\n";
         }});
    paired::Report("html_export_vs_qtextstream", htmlResult);
    }

    grid->Free();
    QFile::remove(ours);
    QFile::remove(peer);
    return 0;
}
