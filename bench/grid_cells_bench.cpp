// Fills 100,000 rows by 20 columns through the grid's cell access, reads every cell back
// and clears them, against QTableWidget with the same data in the same run.  Besides the
// time per round, each case reports the heap in use at its peak (after the fill) above
// what was in use before the grid existed.
#include "grid/control/pro_string_grid.h"
#include "platform/ui/string_grid.h"

#include <QApplication>
#include <QTableWidget>
#include <benchmark/benchmark.h>
#include <chrono>
#include <malloc.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int kRows = 100000;
constexpr int kCols = 20;

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

using Clock = std::chrono::steady_clock;
double Ms(Clock::time_point a, Clock::time_point b)
{
    return std::chrono::duration<double, std::milli>(b - a).count();
}

// Runs fill, read and clear on one grid kind; the hooks are the grid's own cell access.
// With range(0) = 0 each text is made as the cell is filled (the caller's whole cost, and
// the heap figure includes the texts); with 1 the texts are made before the clock starts
// and the grid only takes them over (the grid's own cost and structures).
template <typename Make, typename Fill, typename Read, typename Clear>
void Round(benchmark::State& state, Make make, Fill fill, Read read, Clear clear)
{
    const bool premade = state.range(0) == 1;
    double fillMs = 0, readMs = 0, clearMs = 0, peak = 0;
    // One untimed round first, in the fresh process: its time is reported as cold_ms.  The
    // timed rounds then find their heap in place (main keeps freed memory in the process),
    // so that they measure the grid rather than the first touch of fresh pages, which is
    // slow and erratic on virtual machines.
    bool warm = false;
    double coldMs = 0;
    auto once = [&](bool timed) {
        std::vector<QString> pool;
        if (premade) {
            pool.reserve(size_t(kRows) * kCols);
            for (int r = 0; r < kRows; ++r)
                for (int c = 0; c < kCols; ++c) pool.push_back(CellText(c, r));
        }
        const size_t base = HeapInUse();
        auto grid = make();
        auto t0 = Clock::now();
        if (premade) {
            for (int r = 0; r < kRows; ++r)
                for (int c = 0; c < kCols; ++c) fill(*grid, c, r, pool[size_t(r) * kCols + c]);
        } else {
            for (int r = 0; r < kRows; ++r)
                for (int c = 0; c < kCols; ++c) fill(*grid, c, r, CellText(c, r));
        }
        auto t1 = Clock::now();
        if (timed) peak = std::max(peak, double(HeapInUse() - base));
        qsizetype total = 0;
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < kCols; ++c) total += read(*grid, c, r);
        benchmark::DoNotOptimize(total);
        auto t2 = Clock::now();
        clear(*grid);
        auto t3 = Clock::now();
        if (!timed) {
            coldMs = Ms(t0, t3);
            return;
        }
        fillMs += Ms(t0, t1);
        readMs += Ms(t1, t2);
        clearMs += Ms(t2, t3);
        if (total == 0) state.SkipWithError("nothing read back");
    };
    for (auto _ : state) {
        if (!warm) {
            state.PauseTiming();
            once(false);
            warm = true;
            state.ResumeTiming();
        }
        once(true);
    }
    const double n = double(state.iterations());
    state.counters["fill_ms"] = fillMs / n;
    state.counters["read_ms"] = readMs / n;
    state.counters["clear_ms"] = clearMs / n;
    state.counters["total_ms"] = (fillMs + readMs + clearMs) / n;
    state.counters["cold_ms"] = coldMs;
    state.counters["peak_MB"] = peak / (1024.0 * 1024.0);
}

void BM_TStringGrid(benchmark::State& state)
{
    Round(
        state,
        [] {
            auto g = std::unique_ptr<TStringGrid>(CreateGrid<TStringGrid>());
            g->SetColCount(kCols);
            g->SetRowCount(kRows);
            return g;
        },
        [](TStringGrid& g, int c, int r, const QString& s) { g.SetCells(c, r, s); },
        [](TStringGrid& g, int c, int r) { return g.Cells(c, r).size(); },
        [](TStringGrid& g) {
            for (int r = 0; r < kRows; ++r)
                for (int c = 0; c < kCols; ++c) g.SetCells(c, r, QString());
        });
}

void BM_TProStringGrid(benchmark::State& state)
{
    struct Free {
        void operator()(TProStringGrid* g) const { g->Free(); }
    };
    Round(
        state,
        [] {
            auto g = std::unique_ptr<TProStringGrid, Free>(CreateGrid<TProStringGrid>());
            g->SetColCount(kCols);
            g->SetRowCount(kRows);
            return g;
        },
        [](TProStringGrid& g, int c, int r, const QString& s) { g.SetCells(c, r, s); },
        [](TProStringGrid& g, int c, int r) { return g.Cells(c, r).size(); },
        [](TProStringGrid& g) { g.ClearRect(0, 0, kCols - 1, kRows - 1); });
}

// The floor for any grid that owns its texts: the same texts kept in one plain vector.
void BM_TextsOnly(benchmark::State& state)
{
    struct Texts {
        std::vector<QString> V = std::vector<QString>(size_t(kRows) * kCols);
    };
    Round(
        state, [] { return std::make_unique<Texts>(); },
        [](Texts& t, int c, int r, const QString& s) { t.V[size_t(r) * kCols + c] = s; },
        [](Texts& t, int c, int r) { return t.V[size_t(r) * kCols + c].size(); },
        [](Texts& t) {
            for (QString& s : t.V) s = QString();
        });
}

void BM_QTableWidget(benchmark::State& state)
{
    Round(
        state,
        [] { return std::make_unique<QTableWidget>(kRows, kCols); },
        [](QTableWidget& t, int c, int r, const QString& s) { t.setItem(r, c, new QTableWidgetItem(s)); },
        [](QTableWidget& t, int c, int r) { return t.item(r, c)->text().size(); },
        [](QTableWidget& t) { t.clearContents(); });
}

}  // namespace

BENCHMARK(BM_TextsOnly)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_TStringGrid)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_TProStringGrid)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_QTableWidget)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

// Each case runs in a process of its own, so that one case's freed heap does not serve the
// next and the process's peak resident size belongs to that case alone.  With an explicit
// --benchmark_filter the cases run in this process.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    bool filtered = false;
    for (int i = 1; i < argc; ++i) filtered |= QByteArray(argv[i]).startsWith("--benchmark_filter");
    if (!filtered) {
        for (const char* name : {"BM_TextsOnly/0", "BM_TStringGrid/0", "BM_TProStringGrid/0", "BM_QTableWidget/0",
                                 "BM_TextsOnly/1", "BM_TStringGrid/1", "BM_TProStringGrid/1", "BM_QTableWidget/1"}) {
            fflush(stdout);
            pid_t pid = fork();
            if (pid == 0) {
                std::vector<std::string> args(argv, argv + argc);
                args.push_back(std::string("--benchmark_filter=^") + name + "/");
                std::vector<char*> cargs;
                for (auto& a : args) cargs.push_back(a.data());
                cargs.push_back(nullptr);
                execv("/proc/self/exe", cargs.data());
                _exit(127);
            }
            int status = 0;
            waitpid(pid, &status, 0);
            struct rusage ru {};
            getrusage(RUSAGE_CHILDREN, &ru);
            printf("%s: exit %d, peak resident size of the largest case process so far %ld MB\n", name,
                   WIFEXITED(status) ? WEXITSTATUS(status) : -1, ru.ru_maxrss / 1024);
        }
        return 0;
    }
    // Freed memory stays with the process for every case alike (see Round).
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    struct rusage ru {};
    getrusage(RUSAGE_SELF, &ru);
    printf("peak resident size of this process: %ld MB\n", ru.ru_maxrss / 1024);
    return 0;
}
