// Opening the item selector's drop-down with 10,000 and 100,000 items, typing ahead to an
// item near the end and closing, against a QComboBox with the same items (showPopup, the
// view's keyboard search, hidePopup) in the same run.  Both pop-ups are painted once while
// open.  Ours and the peer alternate; each case prints ratio <case> <ours/peer>, the median
// of the per-pair ratios, and the time to the first paint of our pop-up on standard error.
#include "grid/controls/item_selector.h"
#include "grid/controls/pro_custom_dropdown.h"
#include "paired_timing.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QListView>
#include <cstdio>

namespace {

constexpr int kPairs = 7;

// The drop-down under measure: an item selector in the pop-up.
class TSelectorDropDown : public TProCustomDropDown {
public:
    using TProCustomDropDown::TProCustomDropDown;
    TProCustomItemSelector* Selector = nullptr;

protected:
    void CreateDropDownForm() override
    {
        TProCustomDropDown::CreateDropDownForm();
        Selector = new TProCustomItemSelector(FDropDownForm);
        Selector->resize(200, 300);
        SetControl(Selector);
        DropDownHeader()->SetVisible(false);
        DropDownFooter()->SetVisible(false);
    }
};

QString Caption(int i) { return QStringLiteral("Item %1").arg(i, 6, 10, QLatin1Char('0')); }

void RunCase(const char* Name, int Count, QDialog& Dialog)
{
    auto* ours = new TSelectorDropDown(&Dialog);
    ours->setGeometry(10, 10, 200, 22);
    ours->DropDownForm();
    TSelectorItems& items = ours->Selector->Items();
    const auto fillStart = paired::Clock::now();
    items.BeginUpdate();
    for (int i = 0; i < Count; ++i) items.Add()->SetCaption(Caption(i));
    items.EndUpdate();
    const double oursFill = std::chrono::duration<double, std::milli>(paired::Clock::now() - fillStart).count();
    auto* peer = new QComboBox(&Dialog);
    peer->setGeometry(10, 40, 200, 22);
    QStringList captions;
    for (int i = 0; i < Count; ++i) captions << Caption(i);
    const auto peerFillStart = paired::Clock::now();
    peer->addItems(captions);
    const double peerFill = std::chrono::duration<double, std::milli>(paired::Clock::now() - peerFillStart).count();
    // what one does for a long list: one item height for all, no width taken from the items
    if (auto* list = qobject_cast<QListView*>(peer->view())) list->setUniformItemSizes(true);
    peer->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    peer->setMinimumContentsLength(12);
    ours->show();
    peer->show();

    const QString target = Caption(Count - 10);
    const QString prefix = target.toUpper();
    double firstPaint = 0;
    int peerFound = -1;
    paired::Side oursSide{nullptr, [&] {
                              const auto a = paired::Clock::now();
                              ours->ShowDropDown();
                              // the pop-up drawn whole, as on its first paint
                              (void)ours->DropDownForm()->grab();
                              firstPaint = std::max(firstPaint, std::chrono::duration<double, std::milli>(paired::Clock::now() - a).count());
                              ours->Selector->LookupItem(prefix);
                              ours->Selector->ScrollItemInView(ours->Selector->ItemIndex());
                              (void)ours->DropDownForm()->grab();
                              ours->HideDropDown(false);
                          }};
    paired::Side peerSide{nullptr, [&] {
                              peer->showPopup();
                              (void)peer->view()->window()->grab();
                              peer->view()->keyboardSearch(QString());   // a new search, not a continued one
                              peer->view()->keyboardSearch(target);
                              (void)peer->view()->window()->grab();
                              peerFound = peer->view()->currentIndex().row();
                              peer->hidePopup();
                          }};
    // warm up, and check that both found the item and showed their pop-up
    oursSide.Step();
    peerSide.Step();
    ours->ShowDropDown();
    peer->showPopup();
    if (!ours->DropDownForm()->isVisible() || !peer->view()->isVisible())
        std::fprintf(stderr, "  %s: a pop-up did not show (%d, %d)\n", Name, ours->DropDownForm()->isVisible(),
                     peer->view()->isVisible());
    ours->HideDropDown(false);
    peer->hidePopup();
    if (ours->Selector->ItemIndex() != Count - 10 || peerFound != Count - 10)
        std::fprintf(stderr, "  %s: the sides found different items (%d, %d)\n", Name, ours->Selector->ItemIndex(),
                     peerFound);
    firstPaint = 0;
    paired::Report(Name, paired::Run(kPairs, oursSide, peerSide));
    std::fprintf(stderr, "  %s: first paint of our pop-up at most %.1f ms\n", Name, firstPaint);
    std::fprintf(stderr, "  %s: filling (untimed above): ours %.1f ms with the layout, peer %.1f ms\n", Name, oursFill,
                 peerFill);
    delete ours;
    delete peer;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QDialog dialog;
    dialog.resize(400, 300);
    dialog.show();
    RunCase("item_selector_10k", 10000, dialog);
    RunCase("item_selector_100k", 100000, dialog);
    return 0;
}
