// CSV save and load and the HTML export of 100,000 rows by 20 columns, against what a Qt
// programmer would write for the same job in the same process: a QTextStream loop that joins
// (or splits) the rows at the separator, libcsv parsing the same file, and a QTextStream loop
// writing an escaped HTML table; the grid's binary cell stream against QDataStream and
// against the grid's own CSV load; the first CSV load of a fresh process.  The sides
// alternate; each case prints the median of the per-pair ratios: ratio <case> <ours/peer>.
// Nothing is shown.
#include "grid/control/pro_string_grid.h"
#include "paired_timing.h"

#include <QApplication>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTextStream>
#include <cstdlib>
#include <sys/resource.h>
#include <vector>

#ifdef FABRICAT_HAVE_LIBCSV
#include <csv.h>
#endif

namespace {
constexpr int kRows = 100000;
constexpr int kCols = 20;
constexpr int kPairs = 7;
// The cell stream counts rows in 16 bits: its cases use the first kBinRows rows.
constexpr int kBinRows = 30000;
// Fresh processes per side for the first load.
constexpr int kFirstPairs = 5;

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

// The peer's CSV load: lines split at the separator into rows of strings.
void PeerLoadCSV(const QString& File, std::vector<QStringList>& Read)
{
    QFile f(File);
    if (!f.open(QIODevice::ReadOnly)) std::abort();
    QTextStream in(&f);
    in.setEncoding(QStringConverter::Latin1);
    QString line;
    while (in.readLineInto(&line)) Read.push_back(line.split(u','));
}

// One first load in this fresh process (started by the parent with --first-load ours|peer
// <file>): the application and an empty grid made untimed, then the load; prints the ms.
int FirstLoad(const QString& Side, const QString& File)
{
    std::vector<QStringList> read;
    TProStringGrid* grid = CreateGrid<TProStringGrid>();
    rusage before{}, after{};
    getrusage(RUSAGE_SELF, &before);
    const double ms = Side == QLatin1String("ours") ? paired::TimeOnce(nullptr, [&] { grid->LoadFromCSV(File); })
                                                    : paired::TimeOnce(nullptr, [&] { PeerLoadCSV(File, read); });
    getrusage(RUSAGE_SELF, &after);
    // the time, then the page faults of fresh memory the load took
    std::printf("%.3f %ld\n", ms, after.ru_minflt - before.ru_minflt);
    grid->Free();
    return 0;
}

double FirstLoadInChild(const QString& Side, const QString& File, std::vector<long>& Faults)
{
    QProcess p;
    p.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--first-load"), Side, File});
    if (!p.waitForFinished(120000) || p.exitCode() != 0) std::abort();
    const QList<QByteArray> out = p.readAllStandardOutput().trimmed().split(' ');
    if (out.size() != 2) std::abort();
    Faults.push_back(out[1].toLong());
    return out[0].toDouble();
}
}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc == 4 && QByteArray(argv[1]) == "--first-load") return FirstLoad(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
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
        {[&] { read.clear(); }, [&] { PeerLoadCSV(peer, read); }});
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
    // The first load of a fresh process, each side in processes of its own, alternating.
    if (Runs("csv_first_load_vs_qtextstream")) {
        std::vector<double> o, p, ratio;
        std::vector<long> oursFaults, peerFaults;
        for (int i = 0; i < kFirstPairs; ++i) {
            const double a = i % 2 ? 0 : FirstLoadInChild(QStringLiteral("ours"), ours, oursFaults);
            const double b = FirstLoadInChild(QStringLiteral("peer"), peer, peerFaults);
            const double c = i % 2 ? FirstLoadInChild(QStringLiteral("ours"), ours, oursFaults) : a;
            o.push_back(c);
            p.push_back(b);
            ratio.push_back(c / b);
        }
        paired::Report("csv_first_load_vs_qtextstream", {paired::Median(o), paired::Median(p), paired::Median(ratio)});
        std::fprintf(stderr, "  csv_first_load_vs_qtextstream: page faults ours %ld, peer %ld\n", oursFaults.front(),
                     peerFaults.front());
    }
    if (target) target->Free();
    }

    // The binary cell stream of the first kBinRows rows: save and load against QDataStream
    // (counts, then every text), and the load against the grid's CSV load of the same cells.
    if (Runs("bin")) {
        const QString bin = dir + QStringLiteral("/fabricat_bench_ours.bin");
        const QString binCsv = dir + QStringLiteral("/fabricat_bench_ours_bin.csv");
        const QString data = dir + QStringLiteral("/fabricat_bench_peer.dat");
        TProStringGrid* part = CreateGrid<TProStringGrid>();
        part->SetColCount(kCols);
        part->SetRowCount(kBinRows);
        part->SetFixedRows(0);
        part->SetFixedCols(0);
        for (int r = 0; r < kBinRows; ++r)
            for (int c = 0; c < kCols; ++c) part->SetCells(c, r, rows[r][c]);
        auto peerSave = [&] {
            QFile f(data);
            if (!f.open(QIODevice::WriteOnly)) std::abort();
            QDataStream out(&f);
            out << qint32(kBinRows) << qint32(kCols);
            for (int r = 0; r < kBinRows; ++r)
                for (const QString& cell : rows[r]) out << cell;
        };
        std::vector<QStringList> read;
        auto peerLoad = [&] {
            QFile f(data);
            if (!f.open(QIODevice::ReadOnly)) std::abort();
            QDataStream in(&f);
            qint32 nr = 0, nc = 0;
            in >> nr >> nc;
            read.resize(size_t(nr));
            for (QStringList& row : read) {
                row.resize(nc);
                for (QString& cell : row) in >> cell;
            }
            if (in.status() != QDataStream::Ok) std::abort();
        };
        part->SaveToBinFile(bin);
        part->SaveToCSV(binCsv);
        peerSave();
        // both loads go into fresh grids without fixed cells, as the part was saved
        auto fresh = [](TProStringGrid*& Grid) {
            if (Grid) Grid->Free();
            Grid = CreateGrid<TProStringGrid>();
            Grid->SetFixedRows(0);
            Grid->SetFixedCols(0);
        };
        TProStringGrid* target = nullptr;
        auto freshGrid = [&] { fresh(target); };
        if (Runs("bin_save_vs_qdatastream"))
            paired::Report("bin_save_vs_qdatastream",
                           paired::Run(kPairs, {nullptr, [&] { part->SaveToBinFile(bin); }}, {nullptr, peerSave}));
        if (Runs("bin_load_vs_qdatastream"))
            paired::Report("bin_load_vs_qdatastream",
                           paired::Run(kPairs, {freshGrid, [&] { target->LoadFromBinFile(bin); }},
                                       {[&] { read.clear(); }, peerLoad}));
        if (Runs("bin_load_vs_csv_load")) {
            TProStringGrid* csvTarget = nullptr;
            const paired::Result r = paired::Run(kPairs, {freshGrid, [&] { target->LoadFromBinFile(bin); }},
                                                 {[&] { fresh(csvTarget); }, [&] { csvTarget->LoadFromCSV(binCsv); }});
            paired::Report("bin_load_vs_csv_load", r);
            if (csvTarget->Cells(kCols - 1, kBinRows - 1) != rows[kBinRows - 1][kCols - 1]) std::abort();
            csvTarget->Free();
        }
        if (target) {
            if (target->Cells(kCols - 1, kBinRows - 1) != rows[kBinRows - 1][kCols - 1]) std::abort();
            target->Free();
        }
        part->Free();
        QFile::remove(bin);
        QFile::remove(binCsv);
        QFile::remove(data);
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
