// Filtering 100,000 rows by 20 columns against a QSortFilterProxyModel over a
// QAbstractTableModel of the same texts, in one process: filter to the rows whose column 3
// contains a text and take the filter off again; narrow down as typed, letter by letter, and
// clear.  The proxy tests its rows with QString::contains and is refiltered by invalidate(),
// what a Qt programmer writes for a "contains" filter.  Each step ends with the view ready to paint: the row count and the first page of
// cells read.  The sides alternate; each case prints ratio <case> <ours/peer>.  Nothing is
// shown.
#include "grid/control/pro_string_grid.h"
#include "paired_timing.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QSortFilterProxyModel>
#include <random>
#include <vector>

namespace {

constexpr int kRows = 100000;
constexpr int kCols = 20;
constexpr int kTextCol = 3;
constexpr int kPage = 30;
constexpr int kPairs = 9;
// About one row in five holds "ke"; the typed text narrows on to "kel" and "kelo".
const QString kFind = QStringLiteral("ke");
const QStringList kTyped = {QStringLiteral("k"), QStringLiteral("ke"), QStringLiteral("kel"), QStringLiteral("kelo")};

// Column 3 a word of eight letters from a small alphabet, the others the row's own texts.
QString Cell(int c, int r, std::mt19937& rnd)
{
    if (c != kTextCol) return QStringLiteral("r%1c%2").arg(r).arg(c);
    static const char letters[] = "abeklmnoqrst";
    QString w;
    for (int i = 0; i < 8; ++i) w += QChar(char16_t(letters[rnd() % 12]));
    return w;
}

class Table : public QAbstractTableModel {
public:
    explicit Table(const std::vector<QString>& Cells) : FCells(Cells) {}
    int rowCount(const QModelIndex& p = {}) const override { return p.isValid() ? 0 : kRows; }
    int columnCount(const QModelIndex& p = {}) const override { return p.isValid() ? 0 : kCols; }
    QVariant data(const QModelIndex& i, int role) const override
    {
        if (role != Qt::DisplayRole) return {};
        return FCells[size_t(i.row()) * kCols + size_t(i.column())];
    }

private:
    const std::vector<QString>& FCells;
};

// Keeps the rows whose key column contains the text; a new text refilters with invalidate(),
// which rebuilds the mapping in one pass when the view asks again.
class ContainsProxy : public QSortFilterProxyModel {
public:
    void SetText(const QString& Text, Qt::CaseSensitivity Cs)
    {
        FText = Text;
        FCs = Cs;
        invalidate();
    }

protected:
    bool filterAcceptsRow(int Row, const QModelIndex& Parent) const override
    {
        if (FText.isEmpty()) return true;
        const QAbstractItemModel* m = sourceModel();
        return m->data(m->index(Row, kTextCol, Parent)).toString().contains(FText, FCs);
    }

private:
    QString FText;
    Qt::CaseSensitivity FCs = Qt::CaseSensitive;
};

// What a view reads before its first paint.
qsizetype Sink = 0;
void ReadyToPaint(TProStringGrid* g)
{
    const int rows = g->RowCount();
    for (int r = g->FixedRows(); r < std::min(rows, g->FixedRows() + kPage); ++r)
        for (int c = 0; c < kCols; ++c) Sink += g->Cells(c, r).size();
}
void ReadyToPaint(QSortFilterProxyModel& p)
{
    const int rows = p.rowCount();
    for (int r = 0; r < std::min(rows, kPage); ++r)
        for (int c = 0; c < kCols; ++c) Sink += p.data(p.index(r, c)).toString().size();
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    std::mt19937 rnd(7);
    std::vector<QString> cells;
    cells.reserve(size_t(kRows) * kCols);
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kCols; ++c) cells.push_back(Cell(c, r, rnd));

    TProStringGrid* grid = CreateGrid<TProStringGrid>();
    grid->SetColCount(kCols);
    grid->SetRowCount(kRows + 1);
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kCols; ++c) grid->SetCells(c, r + 1, cells[size_t(r) * kCols + size_t(c)]);

    Table table(cells);
    ContainsProxy proxy;
    proxy.setSourceModel(&table);
    proxy.rowCount();

    // Filter on, view ready, filter off, view ready.
    {
        TFilterData* f = grid->Filter()->Add();
        f->SetColumn(kTextCol);
        f->SetCondition(QLatin1Char('*') + kFind + QLatin1Char('*'));
        const paired::Side ours{nullptr, [&] {
                                    grid->SetFilterActive(true);
                                    ReadyToPaint(grid);
                                    grid->SetFilterActive(false);
                                    ReadyToPaint(grid);
                                }};
        const paired::Side peer{nullptr, [&] {
                                    proxy.SetText(kFind, Qt::CaseSensitive);
                                    ReadyToPaint(proxy);
                                    proxy.SetText(QString(), Qt::CaseSensitive);
                                    ReadyToPaint(proxy);
                                }};
        ours.Step();
        peer.Step();
        paired::Report("filter_contains_and_remove", paired::Run(kPairs, ours, peer));
        std::fprintf(stderr, "  rows shown: %d\n", [&] {
            grid->SetFilterActive(true);
            const int n = grid->RowCount() - 1;
            grid->SetFilterActive(false);
            return n;
        }());
        grid->Filter()->Clear();
    }

    // Typed letter by letter, both ignoring case, then cleared.
    {
        const paired::Side ours{nullptr, [&] {
                                    for (const QString& t : kTyped) {
                                        grid->NarrowDown(t, kTextCol);
                                        ReadyToPaint(grid);
                                    }
                                    grid->NarrowDown(QString(), kTextCol);
                                    ReadyToPaint(grid);
                                }};
        const paired::Side peer{nullptr, [&] {
                                    for (const QString& t : kTyped) {
                                        proxy.SetText(t, Qt::CaseInsensitive);
                                        ReadyToPaint(proxy);
                                    }
                                    proxy.SetText(QString(), Qt::CaseInsensitive);
                                    ReadyToPaint(proxy);
                                }};
        ours.Step();
        peer.Step();
        paired::Report("narrow_down_as_typed", paired::Run(kPairs, ours, peer));
    }
    std::fprintf(stderr, "  (%lld)\n", static_cast<long long>(Sink));
    return 0;
}
