#include "platform/ui/combo_notify.h"

#include "platform/ui/custom_grid.h"
#include "platform/ui/grid_detail.h"

#include <QAbstractItemView>
#include <QComboBox>

namespace {

// Watches the combo box's list window open and close.
class TComboPopupWatch : public QObject {
public:
    explicit TComboPopupWatch(QComboBox* combo) : QObject(combo), FCombo(combo) {}
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Show) NotifyGrid(FCombo, CBN_DROPDOWN);
        else if (e->type() == QEvent::Hide) NotifyGrid(FCombo, CBN_CLOSEUP);
        return false;
    }

private:
    QComboBox* FCombo;
};

}  // namespace

intptr_t NotifyGrid(QWidget* control, int code)
{
    for (QWidget* w = control ? control->parentWidget() : nullptr; w; w = w->parentWidget())
        if (auto* grid = dynamic_cast<TCustomGrid*>(w)) {
            if (grid->Destroying()) return 0;
            return grid->Perform(WM_COMMAND, MakeWParam(0, code), grid_detail::HandleOf(control));
        }
    return 0;
}

void ConnectComboNotifications(QComboBox* combo)
{
    QObject::connect(combo, &QComboBox::activated, combo, [combo](int) { NotifyGrid(combo, CBN_SELCHANGE); });
    QObject::connect(combo, &QComboBox::editTextChanged, combo,
                     [combo](const QString&) { NotifyGrid(combo, CBN_EDITCHANGE); });
    // the list's window exists once asked for; it shows and hides with the list
    combo->view()->window()->installEventFilter(new TComboPopupWatch(combo));
}
