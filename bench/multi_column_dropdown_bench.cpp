// The multi-column drop-down with 100,000 rows of three columns: open it, type five characters
// into the open list (each one looks up the first row whose first column starts with what was
// typed and makes it the current row), take the row with Enter and close.  The peer is a
// QComboBox whose view is a QTableView over a QStandardItemModel of the same texts behind a
// QSortFilterProxyModel that keeps the rows whose first column starts with the typed text
// (case-insensitive), refiltered for each character; it opens, narrows down five times, takes
// the first row left and closes.  Both pop-ups are painted once after opening and once after
// the typing.  Ours and the peer alternate; the case prints ratio multicolumn_dropdown
// <ours/peer>, the median of the per-pair ratios of 15 pairs, timed in the thread's CPU time:
// our step takes a few milliseconds, which one time slice of another process on the core
// would double (--wall: the wall clock instead).
#include "grid/controls/pro_multi_column_dropdown.h"
#include "paired_timing.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QHeaderView>
#include <QKeyEvent>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTableView>
#include <cstdio>
#include <cstring>

namespace {

constexpr int kPairs = 15;
constexpr int kRows = 100000;

// Unique six-digit texts in an order unlike the row order, so that each typed digit narrows
// the rows down.
QString Name(int i) { return QString::number(100000 + int((qint64(i) * 7919) % kRows)); }
QString Code(int i) { return QStringLiteral("C%1").arg(i); }
QString Note(int i) { return QStringLiteral("note of row %1").arg(i); }

// The rows whose first column starts with the typed text.
class TPrefixFilter : public QSortFilterProxyModel {
public:
    // A new prefix: the mapping is dropped and built again on first use, which with a view
    // attached costs far less than the row-by-row removals of invalidateFilter().
    void SetPrefix(const QString& p)
    {
        FPrefix = p;
        invalidate();
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override
    {
        return sourceModel()->index(row, 0, parent).data().toString().startsWith(FPrefix, Qt::CaseInsensitive);
    }

private:
    QString FPrefix;
};

void SendKey(QWidget* w, int key, const QString& text)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &release);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QDialog dialog;
    dialog.resize(400, 300);
    dialog.show();

    auto* ours = new TProMultiColumnDropDown(&dialog);
    ours->setGeometry(10, 10, 200, 22);
    ours->DropDownHeader()->SetVisible(false);
    ours->DropDownFooter()->SetVisible(false);
    for (const char* h : {"Name", "Code", "Note"}) ours->Columns().Add()->Header = QString::fromLatin1(h);
    ours->BeginUpdate();
    for (int i = 0; i < kRows; ++i) ours->Items().Add()->SetText({Name(i), Code(i), Note(i)});
    ours->EndUpdate();

    auto* model = new QStandardItemModel(kRows, 3, &dialog);
    model->setHorizontalHeaderLabels({"Name", "Code", "Note"});
    for (int i = 0; i < kRows; ++i) {
        model->setItem(i, 0, new QStandardItem(Name(i)));
        model->setItem(i, 1, new QStandardItem(Code(i)));
        model->setItem(i, 2, new QStandardItem(Note(i)));
    }
    auto* proxy = new TPrefixFilter;
    proxy->setSourceModel(model);
    auto* peer = new QComboBox(&dialog);
    peer->setGeometry(10, 40, 200, 22);
    peer->setModel(proxy);
    auto* table = new QTableView;
    // what one does for a long table: rows of one fixed height, columns not fitted to the texts
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setDefaultSectionSize(22);
    table->verticalHeader()->hide();
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    peer->setView(table);
    peer->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    peer->setMinimumContentsLength(12);
    // a list pop-up, not a menu-like one: its height is taken from the first rows only
    peer->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    ours->show();
    peer->show();

    const int target = kRows - 10;
    const QString typed = Name(target).left(5);
    int oursPicked = -1, peerPicked = -1;
    paired::Side oursSide{nullptr, [&] {
                              ours->ShowDropDown();
                              (void)ours->DropDownForm()->grab();
                              QWidget* list = ours->ListGrid();
                              for (QChar c : typed) SendKey(list, c.unicode(), QString(c));
                              (void)ours->DropDownForm()->grab();
                              SendKey(list, Qt::Key_Return, QStringLiteral("\r"));
                              oursPicked = ours->ItemIndex();
                          }};
    paired::Side peerSide{[&] {
                              proxy->SetPrefix(QString());
                              (void)proxy->rowCount();   // the filter applied before the timing
                              QCoreApplication::processEvents();
                          },
                          [&] {
                              peer->showPopup();
                              (void)table->window()->grab();
                              for (int k = 1; k <= typed.size(); ++k) proxy->SetPrefix(typed.left(k));
                              (void)table->window()->grab();
                              peer->setCurrentIndex(0);
                              peer->hidePopup();
                              peerPicked = proxy->mapToSource(proxy->index(0, 0)).row();
                          }};
    // warm up, and check that both took the same row and closed
    oursSide.Step();
    peerSide.Prepare();
    peerSide.Step();
    if (oursPicked != peerPicked || ours->DroppedDown() || table->isVisible())
        std::fprintf(stderr, "  the sides differ: rows %d and %d, open %d and %d\n", oursPicked, peerPicked,
                     ours->DroppedDown(), table->isVisible());
    const bool wall = argc > 1 && std::strcmp(argv[1], "--wall") == 0;
    paired::Report("multicolumn_dropdown",
                   paired::Run(kPairs, oursSide, peerSide, wall ? paired::TimeOnce : paired::CpuTimeOnce));
    std::fprintf(stderr, "  typed %s, row taken %d\n", qPrintable(typed), oursPicked);
    delete ours;
    delete peer;
    return 0;
}
