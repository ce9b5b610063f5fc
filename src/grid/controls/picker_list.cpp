#include "grid/controls/picker_list.h"

#include "grid/controls/item_selector.h"
#include "grid/controls/pro_custom_dropdown.h"

#include <QKeyEvent>
#include <QStyle>

int PickerStepIndex(int Index, int Count, int Step)
{
    if (Count <= 0) return Index;
    switch (Step) {
    case 0: return 0;
    case 1: return Count - 1;
    case 2: return Index < 0 ? 0 : std::min(Index + 1, Count - 1);
    case 3: return Index < 0 ? 0 : std::max(Index - 1, 0);
    }
    return Index;
}

TPickerListKeys::TPickerListKeys()
{
    FKeyTimer.setInterval(500);
    QObject::connect(&FKeyTimer, &QTimer::timeout, [this] { KeyTimerTimer(); });
}

void TPickerListKeys::KeyTimerTimer()
{
    FKeyTimer.stop();
    FCurSearch.clear();
}

bool TPickerListKeys::TakeHotItem(TProCustomItemSelector* Selector)
{
    if (!Selector || Selector->ItemHot() < 0) return false;
    Selector->SetItemIndex(Selector->ItemHot());
    return true;
}

void TPickerListKeys::HandleKey(QKeyEvent* e, const TContext& c)
{
    TProCustomItemSelector* s = c.Selector;
    if (!s) return;
    const int key = e->key();
    auto internal = [&](const std::function<void()>& f) {
        const bool old = *c.InternalCall;
        *c.InternalCall = true;
        f();
        *c.InternalCall = old;
    };
    const int count = s->Items().Count();
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!c.Taken && c.Select) c.Select();
        break;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: {
        if (count != c.Count) c.Reload();
        // a page is at least one item, also with items of no height
        const int n = std::max(1, s->GetVisibleItemCount());
        const int last = s->Items().Count() - 1;
        if (last < 0) break;
        const int at = key == Qt::Key_PageUp ? std::max(0, s->ItemIndex() - n) : std::min(last, s->ItemIndex() + n);
        internal([&] { s->SetItemIndex(at); });
        s->ScrollItemInView(s->ItemIndex());
        break;
    }
    case Qt::Key_End:
    case Qt::Key_Home:
        if (c.DroppedDown) internal([&] { key == Qt::Key_End ? s->SelectLast() : s->SelectFirst(); });
        else c.Step(key == Qt::Key_End ? 1 : 0);
        break;
    case Qt::Key_Left:
    case Qt::Key_Right:
        if (c.DroppedDown && !c.EditorEnabled)
            internal([&] { key == Qt::Key_Left ? s->SelectPrevious() : s->SelectNext(); });
        break;
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (c.DroppedDown) {
            const int at = s->ItemIndex() < 0 ? 0 : s->ItemIndex() + (key == Qt::Key_Up ? -c.Columns : c.Columns);
            if (at >= 0 && at < count) internal([&] { s->SetItemIndex(at); });
        } else {
            c.Step(key == Qt::Key_Up ? 3 : 2);
        }
        break;
    default:
        // type-ahead on printable keys (letters arrive as their upper-case key codes); shift and
        // the other keys without a character do not break the typed text
        if ((e->modifiers() & Qt::ControlModifier) || key < 0x20 || key > 0x7E) break;
        FCurSearch += QChar(key);
        internal([&] { s->LookupItem(FCurSearch); });
        FKeyTimer.start();
        break;
    }
}

void FitSelectorToItems(TProCustomItemSelector* Selector, int DropDownWidth, int DropDownHeight)
{
    const QSize own = Selector->GetSelectorSize();
    if (DropDownWidth < 1) Selector->resize(own.width(), Selector->height());
    if (DropDownHeight < 1) Selector->resize(Selector->width(), own.height());
}

void WidenFormForScrollBar(TProCustomDropDown* DropDown, TProCustomItemSelector* Selector)
{
    TDropDownForm* form = DropDown->DropDownForm();
    int room = form->height() - 2 * DropDown->DropDownBorderWidth;
    if (DropDown->DropDownHeader()->Visible()) room -= DropDown->DropDownHeader()->Height;
    if (DropDown->DropDownFooter()->Visible()) room -= DropDown->DropDownFooter()->Height;
    if (Selector->GetSelectorSize().height() > room)
        form->resize(form->width() + Selector->style()->pixelMetric(QStyle::PM_ScrollBarExtent), form->height());
}
