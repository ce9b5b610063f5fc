// Sorting 100,000 rows by 20 columns by a numeric and by a text column, ascending and
// descending, against Qt's peers on the same data in the same process: QSortFilterProxyModel
// sorting a QAbstractTableModel, and QStandardItemModel::sort.  Every timed sort starts from
// the same unsorted order; the sides alternate and each case prints the median of the ratios
// of the pairs: ratio <case> <ours/peer>.  Nothing is shown.
#include "grid/control/pro_string_grid.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <random>
#include <vector>

namespace {

constexpr int kRows = 100000;
constexpr int kCols = 20;
constexpr int kNumberCol = 1;
constexpr int kTextCol = 2;
constexpr int kRepeats = 7;

using Clock = std::chrono::steady_clock;

// Column 0 the row's number, column 1 a price with two decimals, column 2 a word of six
// letters, the others filler texts.
struct Data {
    std::vector<double> Numbers;
    std::vector<QString> Texts;
    Data()
    {
        std::mt19937 rnd(42);
        for (int r = 0; r < kRows; ++r) {
            Numbers.push_back(double(rnd() % 10000000) / 100.0);
            QString w;
            for (int i = 0; i < 6; ++i) w += QChar(char16_t('a' + rnd() % 26));
            Texts.push_back(w);
        }
    }
    QString Cell(int c, int r) const
    {
        if (c == 0) return QString::number(r);
        if (c == kNumberCol) return QString::number(Numbers[size_t(r)], 'f', 2);
        if (c == kTextCol) return Texts[size_t(r)];
        return QString::number(r * kCols + c);
    }
};

// The table as a Qt programmer would give it to a proxy: numbers as numbers, so the proxy
// compares them as numbers.
class Table : public QAbstractTableModel {
public:
    explicit Table(const Data& d) : FData(d)
    {
        FCells.reserve(size_t(kRows) * kCols);
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < kCols; ++c) FCells.push_back(d.Cell(c, r));
    }
    int rowCount(const QModelIndex& p = {}) const override { return p.isValid() ? 0 : kRows; }
    int columnCount(const QModelIndex& p = {}) const override { return p.isValid() ? 0 : kCols; }
    QVariant data(const QModelIndex& i, int role) const override
    {
        if (role != Qt::DisplayRole) return {};
        if (i.column() == kNumberCol) return FData.Numbers[size_t(i.row())];
        return FCells[size_t(i.row()) * kCols + size_t(i.column())];
    }

private:
    const Data& FData;
    std::vector<QString> FCells;
};

double Ms(const std::function<void()>& f)
{
    const auto a = Clock::now();
    f();
    return std::chrono::duration<double, std::milli>(Clock::now() - a).count();
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const Data data;

    TProStringGrid* grid = CreateGrid<TProStringGrid>();
    grid->SetColCount(kCols);
    grid->SetRowCount(kRows + 1);
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kCols; ++c) grid->SetCells(c, r + 1, data.Cell(c, r));
    // Ties keep their order on every side: no tie-breaking by further columns.
    grid->SortSettings()->SetFull(false);
    grid->InitSortXRef();

    Table table(data);
    QSortFilterProxyModel proxy;
    proxy.setSourceModel(&table);
    proxy.rowCount();

    // Left to the end of the process: the model's destructor takes minutes on two million items.
    auto& items = *new QStandardItemModel(kRows, kCols);
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kCols; ++c) {
            auto* item = new QStandardItem;
            if (c == 0) item->setData(r, Qt::DisplayRole);
            else if (c == kNumberCol) item->setData(data.Numbers[size_t(r)], Qt::DisplayRole);
            else item->setData(data.Cell(c, r), Qt::DisplayRole);
            items.setItem(r, c, item);
        }

    struct Case {
        const char* Name;
        int Col;
        bool Descending;
    } cases[] = {
        {"sort_numeric_ascending", kNumberCol, false},
        {"sort_numeric_descending", kNumberCol, true},
        {"sort_text_ascending", kTextCol, false},
        {"sort_text_descending", kTextCol, true},
    };
    for (const Case& k : cases) {
        std::vector<double> proxyRatios, itemRatios, ours, peer, peer2;
        // One untimed round warms every side.
        for (int i = 0; i <= kRepeats; ++i) {
            grid->QUnSort();
            proxy.sort(-1);
            items.sort(0, Qt::AscendingOrder);
            const double a = Ms([&] { grid->Sort(k.Col, k.Descending ? sdDescending : sdAscending); });
            const double b = Ms([&] {
                proxy.sort(k.Col, k.Descending ? Qt::DescendingOrder : Qt::AscendingOrder);
                proxy.rowCount();
            });
            const double c = Ms([&] { items.sort(k.Col, k.Descending ? Qt::DescendingOrder : Qt::AscendingOrder); });
            if (i == 0) continue;
            ours.push_back(a);
            peer.push_back(b);
            peer2.push_back(c);
            proxyRatios.push_back(a / b);
            itemRatios.push_back(a / c);
        }
        // The three agree on the order.
        for (int r = 0; r < kRows; r += 9973) {
            const QString g = grid->Cells(0, r + 1);
            const QString p = proxy.index(r, 0).data().toString();
            const QString s = items.index(r, 0).data().toString();
            if (g != p || g != s)
                std::fprintf(stderr, "  %s: row %d differs: %s %s %s\n", k.Name, r, qPrintable(g), qPrintable(p),
                             qPrintable(s));
        }
        std::printf("ratio %s %.3f\n", k.Name, Median(proxyRatios));
        std::printf("ratio %s_standard_item_model %.3f\n", k.Name, Median(itemRatios));
        std::fprintf(stderr, "  %s: ours %.1f ms, proxy %.1f ms, standard item model %.1f ms\n", k.Name, Median(ours),
                     Median(peer), Median(peer2));
    }
    std::fflush(stdout);
    grid->Free();
    return 0;
}
