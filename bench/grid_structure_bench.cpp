// Row structure and nodes on 100,000 filled rows by 20 columns, against QStandardItemModel on
// the same data in the same run: inserting and removing 1,000 rows in the middle, and
// contracting then expanding 1,000 nodes of 50 children each (the peer removes the same
// 50,000 child rows and inserts them again with their texts).  Prints one line per case:
// ratio <case> <ours/peer>, medians of the repetitions.  Neither grid nor model is shown.
#include "grid/control/pro_string_grid.h"

#include <QApplication>
#include <QStandardItemModel>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kRows = 100000;
constexpr int kCols = 20;
constexpr int kMiddle = kRows / 2;
constexpr int kBlock = 1000;
constexpr int kNodes = 1000;
constexpr int kChildren = 50;
constexpr int kSpan = kChildren + 1;   // the node row and its children

QString CellText(int c, int r) { return QString::number(r * kCols + c); }

using Clock = std::chrono::steady_clock;

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double TimeMs(int repeats, const std::function<void()>& prepare, const std::function<void()>& step)
{
    std::vector<double> ms;
    for (int i = 0; i < repeats; ++i) {
        if (prepare) prepare();
        const auto a = Clock::now();
        step();
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - a).count());
    }
    return Median(ms);
}

void Report(const char* name, double ours, double peer)
{
    std::printf("ratio %s %.3f\n", name, ours / peer);
    std::fprintf(stderr, "  %s: ours %.2f ms, peer %.2f ms\n", name, ours, peer);
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);

    TProStringGrid* grid = CreateGrid<TProStringGrid>();
    grid->SetColCount(kCols);
    grid->SetRowCount(kRows);
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kCols; ++c) grid->SetCells(c, r, CellText(c, r));

    QStandardItemModel items(kRows, kCols);
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kCols; ++c) items.setItem(r, c, new QStandardItem(CellText(c, r)));

    // Inserting and removing a block of rows in the middle.
    const double insertOurs = TimeMs(7, [&] { if (grid->RowCount() > kRows) grid->RemoveRows(kMiddle, kBlock); },
                                     [&] { grid->InsertRows(kMiddle, kBlock, true); });
    const double removeOurs = TimeMs(7, [&] { if (grid->RowCount() == kRows) grid->InsertRows(kMiddle, kBlock, true); },
                                     [&] { grid->RemoveRows(kMiddle, kBlock); });
    const double insertPeer = TimeMs(7, [&] { if (items.rowCount() > kRows) items.removeRows(kMiddle, kBlock); },
                                     [&] { items.insertRows(kMiddle, kBlock); });
    const double removePeer = TimeMs(7, [&] { if (items.rowCount() == kRows) items.insertRows(kMiddle, kBlock); },
                                     [&] { items.removeRows(kMiddle, kBlock); });
    Report("insert_1000_rows", insertOurs, insertPeer);
    Report("remove_1000_rows", removeOurs, removePeer);

    // 1,000 nodes of 50 children at the top of the grid, contracted one by one from the top
    // and expanded one by one again.
    for (int i = 0; i < kNodes; ++i) grid->AddNode(i * kSpan, kSpan);
    const double nodesOurs = TimeMs(3, nullptr, [&] {
        for (int i = 0; i < kNodes; ++i) grid->ContractNode(i * kSpan);
        for (int i = 0; i < kNodes; ++i) grid->ExpandNode(i * kSpan);
    });
    if (grid->RowCount() != kRows || grid->Cells(1, kSpan - 1) != CellText(1, kSpan - 1)) {
        std::fprintf(stderr, "the grid lost rows\n");
        return 1;
    }
    // The peer: each node's children leave the model as one block (bottom-up, so that the
    // node rows keep their places) and come back with their texts.
    // The texts are kept aside before the clock starts, as the grid keeps them.
    std::vector<QString> kept;
    kept.reserve(size_t(kNodes) * kChildren * kCols);
    for (int i = 0; i < kNodes; ++i)
        for (int r = i * kSpan + 1; r < (i + 1) * kSpan; ++r)
            for (int c = 0; c < kCols; ++c) kept.push_back(CellText(c, r));
    const double nodesPeer = TimeMs(3, nullptr, [&] {
        for (int i = kNodes - 1; i >= 0; --i) items.removeRows(i * kSpan + 1, kChildren);
        size_t k = 0;
        for (int i = 0; i < kNodes; ++i) {
            const int first = i * kSpan + 1;
            items.insertRows(first, kChildren);
            for (int r = 0; r < kChildren; ++r)
                for (int c = 0; c < kCols; ++c) items.setItem(first + r, c, new QStandardItem(kept[k++]));
        }
    });
    Report("contract_expand_1000_nodes", nodesOurs, nodesPeer);

    grid->Free();
    return 0;
}
