// Grouping 100,000 rows by 20 columns by a column of 1,000 distinct texts, and ungrouping,
// against the same two-level tree built as a QStandardItemModel under a QTreeView, in one
// process on the same data.  Both widgets are shown; each step ends by processing the events
// it caused.  Prints `ratio <case> <ours/peer>` per case (median of the per-pair ratios).
#include "grid/control/pro_string_grid.h"
#include "paired_timing.h"

#include <QApplication>
#include <QStandardItemModel>
#include <QTreeView>
#include <algorithm>
#include <malloc.h>
#include <numeric>
#include <random>
#include <vector>

namespace {

constexpr int kRows = 100000;
constexpr int kCols = 20;
constexpr int kKeyCol = 3;
constexpr int kKeys = 1000;
constexpr int kPairs = 5;

// Column 0 the row's number, column 3 one of 1,000 keys at random, the others texts of their own.
struct Data {
    std::vector<QString> Cells;
    Data()
    {
        std::mt19937 rnd(42);
        Cells.reserve(size_t(kRows) * kCols);
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < kCols; ++c) {
                if (c == 0) Cells.push_back(QString::number(r));
                else if (c == kKeyCol) Cells.push_back(QStringLiteral("key%1").arg(rnd() % kKeys, 4, 10, QLatin1Char('0')));
                else Cells.push_back(QString::number(r * kCols + c));
            }
    }
    const QString& Cell(int c, int r) const { return Cells[size_t(r) * kCols + size_t(c)]; }
};

// What a Qt programmer writes to show the rows grouped: the rows in key order (stable), one
// top-level item per key with its rows as children, every column but the key, in a model
// built before the view sees it; the view shows it expanded.
QStandardItemModel* BuildTree(const Data& d)
{
    std::vector<int> order(kRows);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return d.Cell(kKeyCol, a) < d.Cell(kKeyCol, b); });
    auto* model = new QStandardItemModel(0, kCols - 1);
    QStandardItem* root = model->invisibleRootItem();
    QStandardItem* parent = nullptr;
    const QString* key = nullptr;
    for (int r : order) {
        if (!key || *key != d.Cell(kKeyCol, r)) {
            key = &d.Cell(kKeyCol, r);
            parent = new QStandardItem(*key);
            root->appendRow(parent);
        }
        QList<QStandardItem*> row;
        row.reserve(kCols - 1);
        for (int c = 0; c < kCols; ++c)
            if (c != kKeyCol) row.append(new QStandardItem(d.Cell(c, r)));
        parent->appendRow(row);
    }
    return model;
}

void Settle() { QApplication::processEvents(); }

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // Freed memory stays with the process for both sides alike.
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    mallopt(M_MMAP_THRESHOLD, 1 << 30);
    const Data data;

    QWidget gridWindow;
    TProStringGrid* grid = CreateGrid<TProStringGrid>(&gridWindow);
    grid->SetBounds(0, 0, 800, 600);
    gridWindow.resize(800, 600);
    grid->SetColCount(kCols);
    grid->SetRowCount(kRows + 1);
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kCols; ++c) grid->SetCells(c, r + 1, data.Cell(c, r));
    // Ties keep their order on both sides: no tie-breaking by further columns.
    grid->SortSettings()->SetFull(false);
    gridWindow.show();

    QTreeView view;
    view.setUniformRowHeights(true);
    view.resize(800, 600);
    view.show();
    QStandardItemModel* model = nullptr;
    Settle();

    // Each round starts from the rows in their first order (column 0 holds the row number).
    const auto unsortGrid = [&] {
        grid->Sort(0, sdAscending);
        Settle();
    };
    const auto dropTree = [&] {
        view.setModel(nullptr);
        delete model;
        model = nullptr;
        Settle();
    };
    const paired::Side oursGroup{unsortGrid, [&] {
                                     grid->Group(kKeyCol);
                                     Settle();
                                 }};
    const paired::Side oursBoth{unsortGrid, [&] {
                                    grid->Group(kKeyCol);
                                    Settle();
                                    grid->UnGroup();
                                    Settle();
                                }};
    const paired::Side peer{dropTree, [&] {
                                model = BuildTree(data);
                                view.setModel(model);
                                view.expandAll();
                                Settle();
                            }};

    // One untimed round of each side; the grouped grid and the tree must agree.
    peer.Prepare();
    peer.Step();
    oursGroup.Prepare();
    oursGroup.Step();
    int headers = 0, mismatches = 0;
    for (int r = 1; r < grid->RowCount(); ++r) {
        if (!grid->IsNode(r)) continue;
        const QStandardItem* p = model->item(headers++);
        if (!p || p->text() != grid->GetGridCell(1, r) || p->rowCount() != grid->GetNodeSpan(r) - 1) ++mismatches;
    }
    if (headers != model->rowCount() || mismatches)
        std::fprintf(stderr, "  grid and tree differ: %d headers against %d, %d mismatches\n", headers, model->rowCount(),
                     mismatches);
    grid->UnGroup();

    paired::Report("group_1000_keys", paired::Run(kPairs, [&] {
        paired::Side s = oursGroup;
        // The grouping of the step before goes first, untimed.
        s.Prepare = [&] {
            grid->UnGroup();
            unsortGrid();
        };
        return s;
    }(), peer));
    grid->UnGroup();
    paired::Report("group_and_ungroup_1000_keys", paired::Run(kPairs, oursBoth, peer));
    dropTree();
    grid->Free();
    return 0;
}
