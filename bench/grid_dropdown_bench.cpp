// The grid drop-down with 100,000 rows of 3 columns: open it, narrow the list down by typing
// five characters, pick the first remaining row with Enter and close, against a QComboBox
// whose view is a QTableView over a QSortFilterProxyModel of a QStandardItemModel with the
// same data, filtered on the first column as typed (showPopup, the prefix set after each
// character, the first row made current, hidePopup).  Both pop-ups are painted once when
// opened and once after the typing.  Ours and the peer alternate; the case prints
// ratio grid_dropdown <ours/peer>, the median of the per-pair ratios.
#include "grid/controls/pro_grid_dropdown.h"
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

namespace {

constexpr int kRows = 100000;
constexpr int kPairs = 7;

// Column texts: a code that only starts with its letter, so "starts with" and "contains"
// keep the same rows.
QString Code(int i) { return QStringLiteral("K%1").arg(i, 6, 10, QLatin1Char('0')); }
QString Name(int i) { return QStringLiteral("Name %1").arg(i % 977); }
QString Value(int i) { return QString::number(i * 7 % 100003); }

void Press(QWidget* W, Qt::Key Key, const QString& Text = QString())
{
    QKeyEvent down(QEvent::KeyPress, Key, Qt::NoModifier, Text);
    QApplication::sendEvent(W, &down);
    QKeyEvent up(QEvent::KeyRelease, Key, Qt::NoModifier, Text);
    QApplication::sendEvent(W, &up);
}

Qt::Key KeyOf(QChar c)
{
    return c.isDigit() ? Qt::Key(Qt::Key_0 + c.digitValue()) : Qt::Key(Qt::Key_A + (c.toUpper().unicode() - 'A'));
}

// The peer's filter: the rows whose first column starts with the typed text, compared as
// text (cheaper than a regular expression per row).
class TPrefixFilter : public QSortFilterProxyModel {
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;
    void SetPrefix(const QString& Prefix)
    {
        FPrefix = Prefix;
        invalidateFilter();
    }

protected:
    bool filterAcceptsRow(int Row, const QModelIndex& Parent) const override
    {
        return FPrefix.isEmpty() ||
               sourceModel()->index(Row, 0, Parent).data().toString().startsWith(FPrefix, Qt::CaseInsensitive);
    }

private:
    QString FPrefix;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QDialog dialog;
    dialog.resize(500, 300);
    dialog.show();
    const QString typed = QStringLiteral("k0123");   // leaves K012300 .. K012399

    auto* ours = new TProGridDropDown(&dialog);
    ours->setGeometry(10, 10, 200, 22);
    ours->LookupMethod = GridDropDown::lmNarrowDown;
    for (const char* h : {"Code", "Name", "Value"}) ours->Columns()->Add()->Header = QString::fromLatin1(h);
    ours->Items()->Clear();
    for (int i = 0; i < kRows; ++i) ours->Items()->Add()->SetText({Code(i), Name(i), Value(i)});
    ours->EndUpdate();
    ours->DropDownHeader()->SetVisible(false);
    ours->DropDownFooter()->SetVisible(false);

    auto* peer = new QComboBox(&dialog);
    peer->setGeometry(10, 40, 200, 22);
    auto* model = new QStandardItemModel(kRows, 3, peer);
    model->setHorizontalHeaderLabels({"Code", "Name", "Value"});
    for (int i = 0; i < kRows; ++i) {
        model->setItem(i, 0, new QStandardItem(Code(i)));
        model->setItem(i, 1, new QStandardItem(Name(i)));
        model->setItem(i, 2, new QStandardItem(Value(i)));
    }
    auto* proxy = new TPrefixFilter(peer);
    proxy->setSourceModel(model);
    auto* view = new QTableView;
    // what one does for a long list: one row height for all, no sizing from the contents
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setDefaultSectionSize(22);
    view->verticalHeader()->hide();
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    peer->setModel(proxy);
    peer->setView(view);
    peer->setMinimumContentsLength(12);
    peer->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    ours->show();
    peer->show();

    int oursPicked = -1, peerPicked = -1;
    paired::Side oursSide{nullptr, [&] {
                              ours->ShowDropDown();
                              (void)ours->DropDownForm()->grab();
                              QWidget* grid = ours->GetGrid();
                              for (QChar c : typed) Press(grid, KeyOf(c), QString(c));
                              (void)ours->DropDownForm()->grab();
                              Press(grid, Qt::Key_Return);
                              oursPicked = ours->ItemIndex();
                          }};
    QString filter;
    paired::Side peerSide{nullptr, [&] {
                              filter.clear();
                              proxy->SetPrefix(QString());
                              peer->showPopup();
                              (void)view->window()->grab();
                              for (QChar c : typed) {
                                  filter += c;
                                  proxy->SetPrefix(filter);
                                  view->setCurrentIndex(proxy->index(0, 0));
                              }
                              (void)view->window()->grab();
                              const int row = proxy->mapToSource(view->currentIndex()).row();
                              peer->hidePopup();
                              proxy->SetPrefix(QString());
                              peer->setCurrentIndex(proxy->mapFromSource(model->index(row, 0)).row());
                              peerPicked = peer->currentIndex();
                          }};
    // warm up, and check that both sides picked the same row
    oursSide.Step();
    peerSide.Step();
    if (oursPicked != 12300 || peerPicked != 12300 || ours->DroppedDown())
        std::fprintf(stderr, "  grid_dropdown: the sides picked %d and %d (open: %d)\n", oursPicked, peerPicked,
                     ours->DroppedDown());
    paired::Report("grid_dropdown", paired::Run(kPairs, oursSide, peerSide));
    // where the time goes, one more run of each side in steps
    auto ms = [](paired::Clock::time_point a) {
        return std::chrono::duration<double, std::milli>(paired::Clock::now() - a).count();
    };
    auto t = paired::Clock::now();
    ours->ShowDropDown();
    (void)ours->DropDownForm()->grab();
    const double oursOpen = ms(t);
    t = paired::Clock::now();
    for (QChar c : typed) Press(ours->GetGrid(), KeyOf(c), QString(c));
    (void)ours->DropDownForm()->grab();
    const double oursType = ms(t);
    t = paired::Clock::now();
    Press(ours->GetGrid(), Qt::Key_Return);
    const double oursPick = ms(t);
    t = paired::Clock::now();
    proxy->SetPrefix(QString());
    peer->showPopup();
    (void)view->window()->grab();
    const double peerOpen = ms(t);
    t = paired::Clock::now();
    filter.clear();
    for (QChar c : typed) {
        filter += c;
        proxy->SetPrefix(filter);
        view->setCurrentIndex(proxy->index(0, 0));
    }
    (void)view->window()->grab();
    const double peerType = ms(t);
    t = paired::Clock::now();
    const int row = proxy->mapToSource(view->currentIndex()).row();
    peer->hidePopup();
    proxy->SetPrefix(QString());
    peer->setCurrentIndex(proxy->mapFromSource(model->index(row, 0)).row());
    const double peerPick = ms(t);
    std::fprintf(stderr, "  steps (ms): open ours %.1f peer %.1f, typing ours %.1f peer %.1f, pick ours %.1f peer %.1f\n",
                 oursOpen, peerOpen, oursType, peerType, oursPick, peerPick);
    delete ours;
    delete peer;
    return 0;
}
