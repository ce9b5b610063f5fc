// Fills 100,000 rows by 20 columns through the grid's cell access, reads every cell back and
// clears them, against QTableWidget with the same data, both in this one process: the sides
// run alternately, one round each per pair, and each case prints `ratio <case> <ours/peer>`,
// the median of the per-pair ratios.  The heap in use after the fill above what was in use
// before the grid existed goes to standard error with the times.
#include "grid/control/pro_string_grid.h"
#include "platform/ui/string_grid.h"

#include "paired_timing.h"

#include <QApplication>
#include <QTableWidget>
#include <malloc.h>
#include <memory>

namespace {

constexpr int kRows = 100000;
constexpr int kCols = 20;
constexpr int kPairs = 5;

size_t HeapInUse()
{
    struct mallinfo2 mi = mallinfo2();
    return mi.uordblks + mi.hblkhd;
}

// Every cell gets a text of its own (one allocation each), as cells read from a file do.
QString CellText(int c, int r)
{
    return QString::number(r * kCols + c);
}

// One kind of grid: made before the clock starts, then filled, read back and cleared in the
// timed step.  With Premade the texts are made before the clock starts and the grid only
// takes them over (the grid's own cost and structures); otherwise each text is made as its
// cell is filled (the caller's whole cost; the heap figure then includes the texts).
struct Kind {
    std::function<void()> Make;
    std::function<void(int, int, const QString&)> Fill;
    std::function<qsizetype(int, int)> Read;
    std::function<void()> Clear;
    std::function<void()> Drop;
};

struct Measured {
    std::vector<double> PeakMB;
};

paired::Side Round(Kind& k, bool Premade, std::vector<QString>& Pool, Measured& M)
{
    auto prepare = [&k, Premade, &Pool] {
        k.Drop();
        if (Premade && Pool.empty()) {
            Pool.reserve(size_t(kRows) * kCols);
            for (int r = 0; r < kRows; ++r)
                for (int c = 0; c < kCols; ++c) Pool.push_back(CellText(c, r));
        }
    };
    auto step = [&k, Premade, &Pool, &M] {
        const size_t base = HeapInUse();
        k.Make();
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < kCols; ++c) k.Fill(c, r, Premade ? Pool[size_t(r) * kCols + c] : CellText(c, r));
        M.PeakMB.push_back(double(HeapInUse() - base) / (1024.0 * 1024.0));
        qsizetype total = 0;
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < kCols; ++c) total += k.Read(c, r);
        if (total == 0) std::fprintf(stderr, "nothing read back\n");
        k.Clear();
    };
    return {prepare, step};
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Freed memory stays with the process for both sides alike: the first touch of fresh pages
    // is slow and erratic on virtual machines, and the sides alternate over the same heap.
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    QApplication app(argc, argv);

    std::unique_ptr<TStringGrid> plain;
    Kind stringGrid{[&] {
                        plain.reset(CreateGrid<TStringGrid>());
                        plain->SetColCount(kCols);
                        plain->SetRowCount(kRows);
                    },
                    [&](int c, int r, const QString& s) { plain->SetCells(c, r, s); },
                    [&](int c, int r) { return plain->Cells(c, r).size(); },
                    [&] {
                        for (int r = 0; r < kRows; ++r)
                            for (int c = 0; c < kCols; ++c) plain->SetCells(c, r, QString());
                    },
                    [&] { plain.reset(); }};
    TProStringGrid* pro = nullptr;
    Kind proGrid{[&] {
                     pro = CreateGrid<TProStringGrid>();
                     pro->SetColCount(kCols);
                     pro->SetRowCount(kRows);
                 },
                 [&](int c, int r, const QString& s) { pro->SetCells(c, r, s); },
                 [&](int c, int r) { return pro->Cells(c, r).size(); },
                 [&] { pro->ClearRect(0, 0, kCols - 1, kRows - 1); },
                 [&] {
                     if (pro) pro->Free();
                     pro = nullptr;
                 }};
    // The floor for any store that owns its texts: the same texts in one plain vector.
    std::vector<QString> texts;
    Kind textsOnly{[&] { texts.assign(size_t(kRows) * kCols, QString()); },
                   [&](int c, int r, const QString& s) { texts[size_t(r) * kCols + c] = s; },
                   [&](int c, int r) { return texts[size_t(r) * kCols + c].size(); },
                   [&] {
                       for (QString& s : texts) s = QString();
                   },
                   [&] { std::vector<QString>().swap(texts); }};
    std::unique_ptr<QTableWidget> table;
    Kind tableWidget{[&] { table = std::make_unique<QTableWidget>(kRows, kCols); },
                     [&](int c, int r, const QString& s) { table->setItem(r, c, new QTableWidgetItem(s)); },
                     [&](int c, int r) { return table->item(r, c)->text().size(); },
                     [&] { table->clearContents(); },
                     [&] { table.reset(); }};

    struct Case {
        const char* Name;
        Kind* Ours;
        bool Premade;
    };
    for (const Case& k : {Case{"TStringGrid/0", &stringGrid, false}, Case{"TProStringGrid/0", &proGrid, false},
                          Case{"TextsOnly/0", &textsOnly, false}, Case{"TStringGrid/1", &stringGrid, true},
                          Case{"TProStringGrid/1", &proGrid, true}, Case{"TextsOnly/1", &textsOnly, true}}) {
        std::vector<QString> pool;
        Measured ours, peer;
        paired::Side o = Round(*k.Ours, k.Premade, pool, ours);
        paired::Side p = Round(tableWidget, k.Premade, pool, peer);
        // One untimed round of each side first.
        paired::TimeOnce(o.Prepare, o.Step);
        paired::TimeOnce(p.Prepare, p.Step);
        ours.PeakMB.clear();
        peer.PeakMB.clear();
        const paired::Result r = paired::Run(kPairs, o, p);
        paired::Report(k.Name, r);
        std::fprintf(stderr, "  %s: heap after the fill ours %.1f MB, QTableWidget %.1f MB\n", k.Name,
                     paired::Median(ours.PeakMB), paired::Median(peer.PeakMB));
        k.Ours->Drop();
        tableWidget.Drop();
    }
    return 0;
}
