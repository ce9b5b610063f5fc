// Row structure and nodes on 100,000 filled rows by 20 columns, against Qt on the same data in
// the same run: inserting and removing 1,000 filled rows in the middle (QStandardItemModel),
// and contracting then expanding 1,000 nodes of 50 children each, one by one and all at once
// (a QTreeView over a QStandardItemModel tree with the same rows).  Prints one line per case:
// ratio <case> <ours/peer>, the median of the per-pair ratios with the sides alternating.
#include "grid/control/pro_string_grid.h"

#include "paired_timing.h"

#include <QApplication>
#include <QStandardItemModel>
#include <QTreeView>

namespace {

constexpr int kRows = 100000;
constexpr int kCols = 20;
constexpr int kMiddle = kRows / 2;
constexpr int kBlock = 1000;
constexpr int kNodes = 1000;
constexpr int kChildren = 50;
constexpr int kSpan = kChildren + 1;   // the node row and its children

QString CellText(int c, int r) { return QString::number(r * kCols + c); }

QList<QStandardItem*> RowItems(int r)
{
    QList<QStandardItem*> row;
    for (int c = 0; c < kCols; ++c) row.append(new QStandardItem(CellText(c, r)));
    return row;
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

    // Inserting a block of rows in the middle, and removing a block of rows that hold data
    // (inserted and filled before the clock starts).  Neither side is shown here.
    paired::Report("insert_1000_rows",
                   paired::Run(7, {[&] { if (grid->RowCount() > kRows) grid->RemoveRows(kMiddle, kBlock); }, [&] { grid->InsertRows(kMiddle, kBlock, true); }},
                               {[&] { if (items.rowCount() > kRows) items.removeRows(kMiddle, kBlock); }, [&] { items.insertRows(kMiddle, kBlock); }}));
    paired::Report("remove_1000_filled_rows",
                   paired::Run(7,
                               {[&] {
                                    if (grid->RowCount() != kRows) return;
                                    grid->InsertRows(kMiddle, kBlock, true);
                                    for (int r = kMiddle; r < kMiddle + kBlock; ++r)
                                        for (int c = 0; c < kCols; ++c) grid->SetCells(c, r, CellText(c, r));
                                },
                                [&] { grid->RemoveRows(kMiddle, kBlock); }},
                               {[&] {
                                    if (items.rowCount() != kRows) return;
                                    items.insertRows(kMiddle, kBlock);
                                    for (int r = kMiddle; r < kMiddle + kBlock; ++r)
                                        for (int c = 0; c < kCols; ++c) items.setItem(r, c, new QStandardItem(CellText(c, r)));
                                },
                                [&] { items.removeRows(kMiddle, kBlock); }}));
    items.clear();

    // 1,000 nodes of 50 children at the top, then plain rows to 100,000.  The peer is what a Qt
    // programmer shows a tree with: a QTreeView over a QStandardItemModel holding the same
    // rows, each node a top-level row with its children below it.
    for (int i = 0; i < kNodes; ++i) grid->AddNode(i * kSpan, kSpan);
    QStandardItemModel tree;
    tree.setColumnCount(kCols);
    for (int i = 0; i < kNodes; ++i) {
        QList<QStandardItem*> node = RowItems(i * kSpan);
        for (int r = i * kSpan + 1; r < (i + 1) * kSpan; ++r) node.front()->appendRow(RowItems(r));
        tree.appendRow(node);
    }
    for (int r = kNodes * kSpan; r < kRows; ++r) tree.appendRow(RowItems(r));
    QTreeView view;
    view.setUniformRowHeights(true);
    view.setModel(&tree);
    view.expandAll();
    // Both sides shown at the same size; each step ends with the events it caused (layout
    // and paint), which the preparation flushes before the clock starts.
    grid->resize(800, 600);
    grid->show();
    view.resize(800, 600);
    view.show();
    const auto settle = [] { QApplication::processEvents(); };
    settle();
    const int top = kNodes + (kRows - kNodes * kSpan);
    const auto nodeIndex = [&](int i) { return tree.index(i, 0); };
    paired::Report("contract_expand_1000_nodes",
                   paired::Run(3,
                               {settle,
                                [&] {
                                    for (int i = 0; i < kNodes; ++i) grid->ContractNode(i * kSpan);
                                    settle();
                                    for (int i = 0; i < kNodes; ++i) grid->ExpandNode(i * kSpan);
                                    settle();
                                }},
                               {settle, [&] {
                                    for (int i = 0; i < kNodes; ++i) view.collapse(nodeIndex(i));
                                    settle();
                                    for (int i = 0; i < kNodes; ++i) view.expand(nodeIndex(i));
                                    settle();
                                }}));
    paired::Report("contract_expand_all_nodes",
                   paired::Run(7,
                               {settle,
                                [&] {
                                    grid->ContractAll();
                                    settle();
                                    grid->ExpandAll();
                                    settle();
                                }},
                               {settle, [&] {
                                    view.collapseAll();
                                    settle();
                                    view.expandAll();
                                    settle();
                                }}));
    if (grid->RowCount() != kRows || grid->Cells(1, kSpan - 1) != CellText(1, kSpan - 1) || tree.rowCount() != top) {
        std::fprintf(stderr, "a side lost rows\n");
        return 1;
    }

    grid->Free();
    return 0;
}
