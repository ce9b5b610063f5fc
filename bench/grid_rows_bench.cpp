// Row structure on 100,000 filled rows by 20 columns, against Qt's models on the same data in
// the same run: hiding every second row and showing them all again (QSortFilterProxyModel
// filtering a QAbstractTableModel), and inserting and removing 1,000 rows in the middle
// (QStandardItemModel).  Prints one line per case: ratio <case> <ours/peer>, medians of the
// repetitions.  Neither grid nor model is shown.
#include "grid/control/pro_string_grid.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QSortFilterProxyModel>
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
constexpr int kRepeats = 7;

QString CellText(int c, int r)
{
    return QString::number(r * kCols + c);
}

using Clock = std::chrono::steady_clock;

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Times `step` once per repetition after `prepare` (untimed).
double TimeMs(const std::function<void()>& prepare, const std::function<void()>& step)
{
    std::vector<double> ms;
    for (int i = 0; i < kRepeats; ++i) {
        if (prepare) prepare();
        const auto a = Clock::now();
        step();
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - a).count());
    }
    return Median(ms);
}

// The same texts as a plain table model, for the proxy to filter.
class TextTable : public QAbstractTableModel {
public:
    TextTable()
    {
        FCells.reserve(size_t(kRows) * kCols);
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < kCols; ++c) FCells.push_back(CellText(c, r));
    }
    int rowCount(const QModelIndex& p = {}) const override { return p.isValid() ? 0 : kRows; }
    int columnCount(const QModelIndex& p = {}) const override { return p.isValid() ? 0 : kCols; }
    QVariant data(const QModelIndex& i, int role) const override
    {
        if (role != Qt::DisplayRole) return {};
        return FCells[size_t(i.row()) * kCols + size_t(i.column())];
    }

private:
    std::vector<QString> FCells;
};

class EverySecondRow : public QSortFilterProxyModel {
public:
    bool Hide = false;
    void Refilter() { invalidateFilter(); }

protected:
    bool filterAcceptsRow(int row, const QModelIndex&) const override { return !Hide || row % 2 == 1; }
};

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

    TextTable table;
    EverySecondRow proxy;
    proxy.setSourceModel(&table);
    proxy.rowCount();

    // Hiding and showing: the proxy builds its row mapping when asked for its row count.
    TIntList even(0, 0);
    for (int r = 0; r < kRows; r += 2) even.Add(r);
    const double hideOurs = TimeMs([&] { grid->UnHideRowsAll(); }, [&] { grid->HideRowList(&even); });
    const double showOurs = TimeMs([&] { if (grid->NumHiddenRows() == 0) grid->HideRowList(&even); },
                                   [&] { grid->UnHideRowsAll(); });
    const double hidePeer = TimeMs([&] { proxy.Hide = false; proxy.Refilter(); proxy.rowCount(); },
                                   [&] { proxy.Hide = true; proxy.Refilter(); proxy.rowCount(); });
    const double showPeer = TimeMs([&] { proxy.Hide = true; proxy.Refilter(); proxy.rowCount(); },
                                   [&] { proxy.Hide = false; proxy.Refilter(); proxy.rowCount(); });
    Report("hide_every_second_row", hideOurs, hidePeer);
    Report("unhide_all", showOurs, showPeer);
    grid->UnHideRowsAll();

    QStandardItemModel items(kRows, kCols);
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kCols; ++c) items.setItem(r, c, new QStandardItem(CellText(c, r)));

    const double insertOurs = TimeMs([&] { if (grid->RowCount() > kRows) grid->RemoveRowsEx(kMiddle, kBlock); },
                                     [&] { grid->InsertRows(kMiddle, kBlock, true); });
    const double removeOurs = TimeMs([&] { if (grid->RowCount() == kRows) grid->InsertRows(kMiddle, kBlock, true); },
                                     [&] { grid->RemoveRowsEx(kMiddle, kBlock); });
    const double insertPeer = TimeMs([&] { if (items.rowCount() > kRows) items.removeRows(kMiddle, kBlock); },
                                     [&] { items.insertRows(kMiddle, kBlock); });
    const double removePeer = TimeMs([&] { if (items.rowCount() == kRows) items.insertRows(kMiddle, kBlock); },
                                     [&] { items.removeRows(kMiddle, kBlock); });
    Report("insert_1000_rows", insertOurs, insertPeer);
    Report("remove_1000_rows", removeOurs, removePeer);

    grid->Free();
    return 0;
}
