// Find, replace and column calculations on 100,000 rows by 20 columns, against Qt's models on
// the same data in the same run: every cell containing a text (QAbstractItemModel::match with
// Qt::MatchContains over each column), replace all (match, then setData of the replaced
// text), and sum, average and minimum of a column (a loop over the table model's data()).
// Ours and the peer alternate; each case prints ratio <case> <ours/peer>, the median of the
// per-pair ratios.  Neither grid nor model is shown.
#include "grid/control/pro_string_grid.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kRows = 100000;
constexpr int kCols = 20;
constexpr int kRepeats = 7;
constexpr int kCalcCol = 5;
const QString kText = QStringLiteral("777");
const QString kNew = QStringLiteral("seven");

QString CellText(int c, int r) { return QString::number(r * kCols + c); }

using Clock = std::chrono::steady_clock;

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double TimeMs(const std::function<void()>& step)
{
    const auto a = Clock::now();
    step();
    return std::chrono::duration<double, std::milli>(Clock::now() - a).count();
}

// The same texts as an editable table model.
class TextTable : public QAbstractTableModel {
public:
    TextTable() { Fill(); }
    void Fill()
    {
        FCells.clear();
        FCells.reserve(size_t(kRows) * kCols);
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < kCols; ++c) FCells.push_back(CellText(c, r));
    }
    int rowCount(const QModelIndex& p = {}) const override { return p.isValid() ? 0 : kRows; }
    int columnCount(const QModelIndex& p = {}) const override { return p.isValid() ? 0 : kCols; }
    QVariant data(const QModelIndex& i, int role) const override
    {
        if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
        return FCells[size_t(i.row()) * kCols + size_t(i.column())];
    }
    bool setData(const QModelIndex& i, const QVariant& v, int role) override
    {
        if (role != Qt::EditRole) return false;
        FCells[size_t(i.row()) * kCols + size_t(i.column())] = v.toString();
        emit dataChanged(i, i, {role});
        return true;
    }
    Qt::ItemFlags flags(const QModelIndex& i) const override
    {
        return QAbstractTableModel::flags(i) | Qt::ItemIsEditable;
    }

private:
    std::vector<QString> FCells;
};

// The grid holds the data in columns 0 .. kCols-1 with one fixed header row above.
void FillGrid(TProStringGrid* g)
{
    g->BeginUpdate();
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kCols; ++c) g->SetCells(c, r + 1, CellText(c, r));
    g->EndUpdate();
}

struct Case {
    const char* Name;
    std::function<long()> Ours, Peer;
    std::function<void()> Refill;  // untimed, before each run of a case that changes cells
};

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    TProStringGrid* g = CreateGrid<TProStringGrid>();
    g->SetColCount(kCols);
    g->SetRowCount(kRows + 1);
    g->SetFixedCols(0);
    g->SetFixedRows(1);
    FillGrid(g);
    TextTable model;

    const Case cases[] = {
        {"find_contains",
         [&] {
             long n = 0;
             TPoint at{-1, -1};
             for (;;) {
                 at = g->Find(at, kText, {});
                 if (at.X < 0) break;
                 ++n;
             }
             return n;
         },
         [&] {
             long n = 0;
             for (int c = 0; c < kCols; ++c)
                 n += model.match(model.index(0, c), Qt::DisplayRole, kText, -1, Qt::MatchContains).size();
             return n;
         },
         nullptr},
        {"column_sum_avg_min",
         [&] {
             const double s = g->ColumnSum(kCalcCol, 1, kRows);
             const double a = g->ColumnAvg(kCalcCol, 1, kRows);
             const double m = g->ColumnMin(kCalcCol, 1, kRows);
             return long(s / 1000 + a + m);
         },
         [&] {
             // Three passes, as the grid's three calls make.
             auto value = [&](int r) { return model.data(model.index(r, kCalcCol), Qt::DisplayRole).toDouble(); };
             double s = 0, a = 0, m = value(0);
             for (int r = 0; r < kRows; ++r) s += value(r);
             for (int r = 0; r < kRows; ++r) a += value(r);
             a /= kRows;
             for (int r = 1; r < kRows; ++r) m = std::min(m, value(r));
             return long(s / 1000 + a + m);
         },
         nullptr},
        {"replace_all",
         [&] { return long(g->Replace(kText, kNew, {})); },
         [&] {
             long n = 0;
             for (int c = 0; c < kCols; ++c)
                 for (const QModelIndex& i :
                      model.match(model.index(0, c), Qt::DisplayRole, kText, -1, Qt::MatchContains)) {
                     QString s = i.data(Qt::EditRole).toString();
                     s.replace(kText, kNew, Qt::CaseInsensitive);
                     model.setData(i, s, Qt::EditRole);
                     ++n;
                 }
             return n;
         },
         [&] {
             FillGrid(g);
             model.Fill();
         }},
    };

    for (const Case& c : cases) {
        // Warm both, and check they did the same work.
        if (c.Refill) c.Refill();
        const long ours = c.Ours();
        const long peer = c.Peer();
        if (ours != peer) std::fprintf(stderr, "%s: ours %ld, peer %ld\n", c.Name, ours, peer);
        std::vector<double> ratios, oursMs, peerMs;
        for (int i = 0; i < kRepeats; ++i) {
            if (c.Refill) c.Refill();
            const bool oursFirst = i % 2 == 0;
            double o = 0, p = 0;
            if (oursFirst) o = TimeMs([&] { c.Ours(); });
            p = TimeMs([&] { c.Peer(); });
            if (!oursFirst) o = TimeMs([&] { c.Ours(); });
            oursMs.push_back(o);
            peerMs.push_back(p);
            ratios.push_back(o / p);
        }
        std::printf("ratio %s %.2f   (ours %.1f ms, peer %.1f ms, %ld cells)\n", c.Name, Median(ratios),
                    Median(oursMs), Median(peerMs), ours);
        std::fflush(stdout);
    }
    g->Free();
    return 0;
}
