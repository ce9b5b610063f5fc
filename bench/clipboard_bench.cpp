// Copying 100,000 x 20 cells to the clipboard as text and pasting them back, against Qt's
// model/view on the same data in the same run.  Ours: CopyToClipBoard of the whole grid, and
// PasteFromClipboard of that text into an empty grid (which grows to the block).  Peer: the
// model's data() of every cell read into the same tab-separated text and set on the clipboard,
// and the clipboard's text split into rows and fields and stored into a table model between
// beginResetModel and endResetModel (the fastest sound way to fill a model; the data holds no
// quotes, so a plain split reads it right).  Sides alternate; each case prints
// ratio <case> <ours/peer>, the median of the per-pair ratios.  Nothing is shown.
#include "grid/control/pro_string_grid.h"
#include "paired_timing.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QClipboard>
#include <QTableView>

namespace {

constexpr int kRows = 100000;
constexpr int kCols = 20;
constexpr int kPairs = 7;

QString CellText(int c, int r) { return QString::number(r * kCols + c); }

class TextTable : public QAbstractTableModel {
public:
    using QAbstractTableModel::beginResetModel;
    using QAbstractTableModel::endResetModel;
    int rowcount = 0;
    std::vector<QString> cells;
    int rowCount(const QModelIndex& p = {}) const override { return p.isValid() ? 0 : rowcount; }
    int columnCount(const QModelIndex& p = {}) const override { return p.isValid() ? 0 : kCols; }
    QVariant data(const QModelIndex& i, int role) const override
    {
        if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
        return cells[size_t(i.row()) * kCols + size_t(i.column())];
    }
    void Fill()
    {
        beginResetModel();
        rowcount = kRows;
        cells.clear();
        cells.reserve(size_t(kRows) * kCols);
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < kCols; ++c) cells.push_back(CellText(c, r));
        endResetModel();
    }
};

TProStringGrid* MakeGrid(bool Filled)
{
    auto* g = CreateGrid<TProStringGrid>();
    g->SetFixedRows(0);
    g->SetFixedCols(0);
    TGridOptions o = g->Options();
    o.Include(goEditing);
    g->SetOptions(o);
    g->SetColCount(Filled ? kCols : 1);
    g->SetRowCount(Filled ? kRows : 1);
    if (Filled)
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < kCols; ++c) g->SetCells(c, r, CellText(c, r));
    return g;
}

// The peer's copy: the view's model read into the clipboard text.
void PeerCopy(QTableView& view)
{
    const QAbstractItemModel* m = view.model();
    QString text;
    const int rows = m->rowCount(), cols = m->columnCount();
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            if (c) text += QLatin1Char('\t');
            text += m->data(m->index(r, c)).toString();
        }
        text += QStringLiteral("\r\n");
    }
    QGuiApplication::clipboard()->setText(text);
}

void PeerPaste(TextTable& model)
{
    const QString text = QGuiApplication::clipboard()->text();
    model.beginResetModel();
    model.cells.clear();
    model.rowcount = 0;
    for (QStringView line : QStringView(text).split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
        if (line.isEmpty()) continue;
        int c = 0;
        for (QStringView f : line.split(QLatin1Char('\t'))) {
            if (c++ < kCols) model.cells.push_back(f.toString());
        }
        for (; c < kCols; ++c) model.cells.emplace_back();
        ++model.rowcount;
    }
    model.endResetModel();
}
}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TProStringGrid* source = MakeGrid(true);
    TextTable model;
    model.Fill();
    QTableView view;
    view.setModel(&model);

    const paired::Result copy = paired::Run(kPairs, {nullptr, [&] { source->CopyToClipBoard(); }},
                                            {nullptr, [&] { PeerCopy(view); }});
    paired::Report("clipboard_copy_text", copy);

    TProStringGrid* target = nullptr;
    TextTable pasted;
    const QString ours = [&] {
        source->CopyToClipBoard();
        return QGuiApplication::clipboard()->text();
    }();
    const paired::Result paste = paired::Run(
        kPairs,
        {[&] {
             if (target) target->Free();
             target = MakeGrid(false);
             QGuiApplication::clipboard()->setText(ours);
         },
         [&] { target->PasteFromClipboard(); }},
        {[&] { QGuiApplication::clipboard()->setText(ours); }, [&] { PeerPaste(pasted); }});
    paired::Report("clipboard_paste_text", paste);
    if (target->Cells(kCols - 1, kRows - 1) != CellText(kCols - 1, kRows - 1) || pasted.rowcount != kRows) {
        std::fprintf(stderr, "pasted data differ\n");
        return 1;
    }
    target->Free();
    source->Free();
    return 0;
}
