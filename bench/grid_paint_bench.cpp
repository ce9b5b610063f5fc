// Paint cost of the grid control against QTableView over a plain table model holding the
// same 100,000 x 20 texts, both at 1280 x 800, measured in one run:
//  - repaint_one_cell: a repaint of one cell's rectangle, as after a cell change, a cursor
//    move or a timer tick;
//  - full_viewport_after_page_scroll: one page of scrolling, then a repaint of the whole
//    viewport;
//  - first_show: showing a widget that already holds its data, until its first paint is
//    done, as the first window of a fresh process (each side runs in processes of its own,
//    the program starting itself, so that neither inherits what the other set up).
// The column_grid_ cases repeat the last two with the column grid in the editors' look:
// gradient header row, numbered fixed column, one data check-box column.
// Prints one line per case, "ratio <case> <ours/peer>", from the medians of each side.
// Run by hand with QT_QPA_PLATFORM=offscreen (see README.md).
#include "grid/control/pro_column_grid.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QProcess>
#include <QScrollBar>
#include <QTableView>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

namespace {

constexpr int kRows = 100000;
constexpr int kCols = 20;
constexpr int kWidth = 1280;
constexpr int kHeight = 800;

const std::vector<QString>& Texts()
{
    static const std::vector<QString> texts = [] {
        std::vector<QString> t;
        t.reserve(size_t(kRows) * kCols);
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < kCols; ++c) t.push_back(QStringLiteral("R%1 C%2").arg(r).arg(c));
        return t;
    }();
    return texts;
}

class TextModel : public QAbstractTableModel {
public:
    int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : kRows; }
    int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : kCols; }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role != Qt::DisplayRole || !index.isValid()) return {};
        return Texts()[size_t(index.row()) * kCols + index.column()];
    }
};

struct FreeGrid {
    void operator()(TProStringGrid* g) const { g->Free(); }
};
using Grid = std::unique_ptr<TProStringGrid, FreeGrid>;

// The grid holds the texts of the model in its data cells, below one fixed row and beside
// one fixed column, as the view shows them below and beside its headers.  The column grid
// numbers its rows in the fixed column and shows column 3 as data check boxes.
Grid MakeGrid(bool columnGrid = false)
{
    Grid g(columnGrid ? CreateGrid<TProColumnGrid>() : CreateGrid<TProStringGrid>());
    g->SetColCount(kCols + 1);
    g->SetRowCount(kRows + 1);
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kCols; ++c) g->SetCells(c + 1, r + 1, Texts()[size_t(r) * kCols + c]);
    if (auto* cg = dynamic_cast<TProColumnGrid*>(g.get())) {
        for (int c = 1; c <= kCols; ++c) cg->SetCells(c, 0, QStringLiteral("Column %1").arg(c));
        for (int r = 1; r <= kRows; ++r) cg->SetCells(0, r, QString::number(r));
        cg->Columns()->Items(3)->SetEditor(edDataCheckBox);
    }
    // The same cell sizes as the view's, so that both show the same cells.
    QTableView sizes;
    g->SetDefaultColWidth(sizes.horizontalHeader()->defaultSectionSize());
    g->SetDefaultRowHeight(sizes.verticalHeader()->defaultSectionSize());
    g->resize(kWidth, kHeight);
    return g;
}

std::unique_ptr<QTableView> MakeView(TextModel& model)
{
    auto v = std::make_unique<QTableView>();
    v->setModel(&model);
    v->resize(kWidth, kHeight);
    return v;
}

void Show(QWidget& w)
{
    w.show();
    QApplication::processEvents();
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Runs both sides alternately, so that the machine's load falls on both alike.
double Ratio(int rounds, int perRound, const std::function<void()>& ours, const std::function<void()>& peer)
{
    std::vector<double> a, b;
    QElapsedTimer t;
    for (int i = 0; i < rounds; ++i) {
        for (auto [step, out] : {std::pair{&ours, &a}, std::pair{&peer, &b}}) {
            t.start();
            for (int k = 0; k < perRound; ++k) (*step)();
            out->push_back(double(t.nsecsElapsed()) / perRound);
        }
    }
    return Median(a) / Median(b);
}

// One first show in this process: prints its time in nanoseconds.
int FirstShow(const QString& side)
{
    TextModel model;
    Grid g;
    std::unique_ptr<QTableView> v;
    QWidget* w = nullptr;
    if (side == QLatin1String("ours")) w = (g = MakeGrid()).get();
    else if (side == QLatin1String("column")) w = (g = MakeGrid(true)).get();
    else w = (v = MakeView(model)).get();
    QElapsedTimer t;
    t.start();
    Show(*w);
    std::printf("%lld\n", static_cast<long long>(t.nsecsElapsed()));
    std::fflush(stdout);
    return 0;
}

double FirstShowRatio(int rounds, const char* ours = "ours")
{
    std::vector<double> a, b;
    for (int i = 0; i < rounds; ++i) {
        for (auto [side, out] : {std::pair{ours, &a}, std::pair{"peer", &b}}) {
            QProcess p;
            p.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--first-show"), QLatin1String(side)});
            p.waitForFinished(-1);
            out->push_back(p.readAllStandardOutput().trimmed().toDouble());
        }
    }
    return Median(a) / Median(b);
}

void Print(const char* name, double ratio)
{
    std::printf("ratio %s %.2f\n", name, ratio);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Texts();
    if (argc == 3 && QLatin1String(argv[1]) == QLatin1String("--first-show")) return FirstShow(QString::fromLatin1(argv[2]));
    TextModel model;

    {
        // Both widgets once, so that what a process sets up on its first window (fonts,
        // style, backing store) is not counted to either side.
        Grid g = MakeGrid();
        auto v = MakeView(model);
        Show(*g);
        Show(*v);
    }

    Grid grid = MakeGrid();
    auto view = MakeView(model);
    Show(*grid);
    Show(*view);

    {
        const int col = 5, row = 10;
        const QRect ours = grid->CellRect(col, row).ToQRect();
        const QRect peer = view->visualRect(model.index(row - 1, col - 1));
        Print("repaint_one_cell", Ratio(15, 200, [&] { grid->viewport()->repaint(ours); },
                                        [&] { view->viewport()->repaint(peer); }));
    }
    auto pageScroll = [&](TProStringGrid* g) {
        QScrollBar* bar = view->verticalScrollBar();
        auto ours = [&] {
            const int page = g->VisibleRowCount();
            int top = g->TopRow() + page;
            if (top + page >= g->RowCount()) top = g->FixedRows();
            g->SetTopRow(top);
            g->viewport()->repaint();
        };
        auto peer = [&] {
            int v = bar->value() + bar->pageStep();
            if (v >= bar->maximum()) v = 0;
            bar->setValue(v);
            view->viewport()->repaint();
        };
        return Ratio(15, 20, ours, peer);
    };
    Print("full_viewport_after_page_scroll", pageScroll(grid.get()));
    {
        Grid columnGrid = MakeGrid(true);
        Show(*columnGrid);
        Print("column_grid_full_viewport_after_page_scroll", pageScroll(columnGrid.get()));
    }
    Print("first_show", FirstShowRatio(11));
    Print("column_grid_first_show", FirstShowRatio(11, "column"));
    return 0;
}
