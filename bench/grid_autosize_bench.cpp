// Cost of fitting all 20 columns of a 100,000-row table to their contents: the grid's
// AutoSizeColumns against QTableView::resizeColumnsToContents over a plain table model
// holding the same texts, measured in one run, sides alternating:
//  - repeated_values: each column draws its texts from a pool of a few dozen to a few hundred
//    values (identifiers, numbers, flags, names), as the editors' tables do;
//  - distinct_values: every cell a text of its own ("R<row> C<col>").
// The view looks at 1,000 rows per column by default (its header's resize precision); the
// _peer_all_rows cases let it look at every row, as the grid does.
// Prints one line per case, "ratio <case> <ours/peer>", from the medians of each side.
// Run by hand with QT_QPA_PLATFORM=offscreen (see README.md).
#include "grid/control/pro_string_grid.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QTableView>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

constexpr int kRows = 100000;
constexpr int kCols = 20;

std::vector<QString> MakeTexts(bool Repeated)
{
    static const char* const words[] = {"Engine speed", "Coolant temperature", "Y", "N", "Oil pressure",
                                        "Fuel rate", "Battery", "Gear", "Ambient air", "DM1"};
    std::vector<QString> t;
    t.reserve(size_t(kRows) * kCols);
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kCols; ++c) {
            if (!Repeated) {
                t.push_back(QStringLiteral("R%1 C%2").arg(r).arg(c));
                continue;
            }
            const int pool = 30 + 17 * c;
            const int v = (r * 7 + c * 13) % pool;
            switch (c % 4) {
            case 0: t.push_back(QStringLiteral("0x18FE%1").arg(v, 4, 16, QLatin1Char('0')).toUpper()); break;
            case 1: t.push_back(QString::number(v * 37)); break;
            case 2: t.push_back(QLatin1String(words[v % 10]) + QLatin1Char(' ') + QString::number(v)); break;
            default: t.push_back(v % 2 ? QStringLiteral("Y") : QStringLiteral("N")); break;
            }
        }
    return t;
}

class TextModel : public QAbstractTableModel {
public:
    explicit TextModel(const std::vector<QString>& T) : FTexts(T) {}
    int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : kRows; }
    int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : kCols; }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role != Qt::DisplayRole || !index.isValid()) return {};
        return FTexts[size_t(index.row()) * kCols + index.column()];
    }
    QVariant headerData(int section, Qt::Orientation o, int role) const override
    {
        if (role != Qt::DisplayRole) return {};
        return o == Qt::Horizontal ? QVariant(QStringLiteral("Column %1").arg(section + 1)) : QVariant(section + 1);
    }

private:
    const std::vector<QString>& FTexts;
};

struct FreeGrid {
    void operator()(TProStringGrid* g) const { g->Free(); }
};
using Grid = std::unique_ptr<TProStringGrid, FreeGrid>;

// The texts below one header row, as the view shows them below its header.
Grid MakeGrid(const std::vector<QString>& T)
{
    Grid g(CreateGrid<TProStringGrid>());
    g->SetColCount(kCols);
    g->SetRowCount(kRows + 1);
    g->SetFixedCols(0);
    for (int c = 0; c < kCols; ++c) g->SetCells(c, 0, QStringLiteral("Column %1").arg(c + 1));
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kCols; ++c) g->SetCells(c, r + 1, T[size_t(r) * kCols + c]);
    g->resize(1280, 800);
    return g;
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double Ratio(int rounds, const std::function<void()>& ours, const std::function<void()>& peer)
{
    std::vector<double> a, b;
    QElapsedTimer t;
    for (int i = 0; i < rounds; ++i) {
        for (auto [step, out] : {std::pair{&ours, &a}, std::pair{&peer, &b}}) {
            t.start();
            (*step)();
            out->push_back(double(t.nsecsElapsed()));
        }
    }
    return Median(a) / Median(b);
}

void Print(const char* name, double ratio)
{
    std::printf("ratio %s %.2f\n", name, ratio);
    std::fflush(stdout);
}

void RunCase(const char* name, const char* allRowsName, bool Repeated)
{
    const std::vector<QString> texts = MakeTexts(Repeated);
    TextModel model(texts);
    Grid g = MakeGrid(texts);
    QTableView view;
    view.setModel(&model);
    view.resize(1280, 800);
    auto ours = [&] { g->AutoSizeColumns(true, 0); };
    auto peer = [&] { view.resizeColumnsToContents(); };
    Print(name, Ratio(7, ours, peer));
    view.horizontalHeader()->setResizeContentsPrecision(-1);
    Print(allRowsName, Ratio(3, ours, peer));
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    RunCase("repeated_values", "repeated_values_peer_all_rows", true);
    RunCase("distinct_values", "distinct_values_peer_all_rows", false);
    return 0;
}
