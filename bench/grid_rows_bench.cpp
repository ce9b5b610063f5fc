// Row structure on 100,000 filled rows by 20 columns, against Qt's models on the same data in
// the same run: hiding every second row and showing them all again (QSortFilterProxyModel
// refiltering a QAbstractTableModel shown in a QTableView), and inserting and removing 1,000
// filled rows in the middle (QStandardItemModel).  Prints one line per case: ratio <case>
// <ours/peer>, the median of the per-pair ratios with the sides alternating.
// Hiding and showing take a millisecond or two: both sides are warmed by one untimed round and
// timed in the thread's CPU time over 15 pairs (--wall: the wall clock instead).
// --invalidate-filter adds one timing of the proxy's incremental refilter, as a note;
// --million times hiding and showing on 1,000,000 rows by 20 columns (ours alone).
#include "grid/control/pro_string_grid.h"

#include "paired_timing.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTableView>
#include <cstring>

namespace {

constexpr int kRows = 100000;
constexpr int kCols = 20;
constexpr int kMiddle = kRows / 2;
constexpr int kBlock = 1000;
constexpr int kPairs = 7;
constexpr int kShortPairs = 15;

QString CellText(int c, int r)
{
    return QString::number(r * kCols + c);
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

// What a Qt programmer writes for a filter that changes: the condition, then invalidate(),
// which drops the mapping and rebuilds it in one pass when the view asks again.
class EverySecondRow : public QSortFilterProxyModel {
public:
    void SetHide(bool v, bool Incremental = false)
    {
        FHide = v;
        if (Incremental) invalidateFilter();
        else invalidate();
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex&) const override { return !FHide || row % 2 == 1; }

private:
    bool FHide = false;
};

TProStringGrid* FilledGrid(int Rows)
{
    TProStringGrid* grid = CreateGrid<TProStringGrid>();
    grid->SetColCount(kCols);
    grid->SetRowCount(Rows);
    for (int r = 0; r < Rows; ++r)
        for (int c = 0; c < kCols; ++c) grid->SetCells(c, r, CellText(c, r));
    return grid;
}

// A case whose steps are short: warmed first (the record pool and the proxy's mapping are
// made once), then timed by the chosen clock.
void ReportShort(const char* Name, const paired::Side& Ours, const paired::Side& Peer, paired::Timer Time)
{
    paired::TimeOnce(Ours.Prepare, Ours.Step);
    paired::TimeOnce(Peer.Prepare, Peer.Step);
    paired::Report(Name, paired::Run(kShortPairs, Ours, Peer, Time));
}

void EvenRows(TIntList& List, int Rows)
{
    for (int r = 0; r < Rows; r += 2) List.Add(r);
}

void Million()
{
    constexpr int rows = 1000000;
    TProStringGrid* grid = FilledGrid(rows);
    TIntList even(0, 0);
    EvenRows(even, rows);
    std::vector<double> hide, show;
    for (int i = 0; i < 3; ++i) {
        hide.push_back(paired::TimeOnce({}, [&] { grid->HideRowList(&even); }));
        show.push_back(paired::TimeOnce({}, [&] { grid->UnHideRowsAll(); }));
    }
    std::printf("ms hide_every_second_row_1m %.1f\nms unhide_all_1m %.1f\n", paired::Median(hide), paired::Median(show));
    grid->Free();
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    bool incremental = false;
    paired::Timer time = paired::CpuTimeOnce;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--million") == 0) {
            Million();
            return 0;
        }
        if (std::strcmp(argv[i], "--invalidate-filter") == 0) incremental = true;
        if (std::strcmp(argv[i], "--wall") == 0) time = paired::TimeOnce;
    }

    // Both sides shown at the same size; paints wait for the event loop, which the timed
    // steps do not enter.
    TProStringGrid* grid = FilledGrid(kRows);
    grid->resize(800, 600);
    grid->show();
    TextTable table;
    EverySecondRow proxy;
    proxy.setSourceModel(&table);
    QTableView view;
    view.setModel(&proxy);
    view.resize(800, 600);
    view.show();
    QApplication::processEvents();

    TIntList even(0, 0);
    EvenRows(even, kRows);
    ReportShort("hide_every_second_row", {[&] { grid->UnHideRowsAll(); }, [&] { grid->HideRowList(&even); }},
                {[&] { proxy.SetHide(false); proxy.rowCount(); }, [&] { proxy.SetHide(true); proxy.rowCount(); }}, time);
    ReportShort("unhide_all", {[&] { if (grid->NumHiddenRows() == 0) grid->HideRowList(&even); }, [&] { grid->UnHideRowsAll(); }},
                {[&] { proxy.SetHide(true); proxy.rowCount(); }, [&] { proxy.SetHide(false); proxy.rowCount(); }}, time);
    if (incremental) {
        proxy.SetHide(false);
        proxy.rowCount();
        const double hide = paired::TimeOnce({}, [&] { proxy.SetHide(true, true); proxy.rowCount(); });
        const double show = paired::TimeOnce({}, [&] { proxy.SetHide(false, true); proxy.rowCount(); });
        std::fprintf(stderr, "  note: invalidateFilter() peer: hide %.1f ms, unhide %.1f ms\n", hide, show);
    }
    grid->UnHideRowsAll();
    view.setModel(nullptr);

    QStandardItemModel items(kRows, kCols);
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kCols; ++c) items.setItem(r, c, new QStandardItem(CellText(c, r)));

    // Removed rows hold data: the untimed preparation inserts the block and fills its cells.
    const auto fillOurs = [&] {
        if (grid->RowCount() != kRows) return;
        grid->InsertRows(kMiddle, kBlock, true);
        for (int r = kMiddle; r < kMiddle + kBlock; ++r)
            for (int c = 0; c < kCols; ++c) grid->SetCells(c, r, CellText(c, r));
    };
    const auto fillPeer = [&] {
        if (items.rowCount() != kRows) return;
        items.insertRows(kMiddle, kBlock);
        for (int r = kMiddle; r < kMiddle + kBlock; ++r)
            for (int c = 0; c < kCols; ++c) items.setItem(r, c, new QStandardItem(CellText(c, r)));
    };
    paired::Report("insert_1000_rows",
                   paired::Run(kPairs, {[&] { if (grid->RowCount() > kRows) grid->RemoveRowsEx(kMiddle, kBlock); }, [&] { grid->InsertRows(kMiddle, kBlock, true); }},
                               {[&] { if (items.rowCount() > kRows) items.removeRows(kMiddle, kBlock); }, [&] { items.insertRows(kMiddle, kBlock); }}));
    paired::Report("remove_1000_filled_rows",
                   paired::Run(kPairs, {fillOurs, [&] { grid->RemoveRowsEx(kMiddle, kBlock); }},
                               {fillPeer, [&] { items.removeRows(kMiddle, kBlock); }}));

    grid->Free();
    return 0;
}
