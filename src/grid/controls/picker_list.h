#pragma once
// What the colour picker's list style and the image picker share: an item selector in the
// pop-up, stepped through by the keys of the edit, with a type-ahead text that lives 500 ms
// after the last typed key.
#include <QString>
#include <QTimer>
#include <functional>

class QKeyEvent;
class TProCustomItemSelector;
class TProCustomDropDown;

// The index a picker step leads to from Index in Count items (Step: 0 first, 1 last, 2 next,
// 3 previous), or Index itself when it leads nowhere.
int PickerStepIndex(int Index, int Count, int Step);

class TPickerListKeys {
public:
    TPickerListKeys();
    // A hot item of an open list becomes the selection (Enter): True when one was taken.
    static bool TakeHotItem(TProCustomItemSelector* Selector);
    // The keys after the edit's own handling; selections made here do not close the list.
    struct TContext {
        TProCustomItemSelector* Selector;
        int Columns;
        bool DroppedDown, EditorEnabled, Taken;
        int Count;                          // items of the picker
        std::function<void()> Reload;       // the selector's items from the picker's
        std::function<void(int)> Step;      // a picker step while closed (PickerStepIndex)
        std::function<void()> Select;       // the picker's OnSelect
        bool* InternalCall;
    };
    void HandleKey(QKeyEvent* e, const TContext& c);
    void KeyTimerTimer();
    const QString& CurSearch() const { return FCurSearch; }

private:
    QString FCurSearch;
    QTimer FKeyTimer;
};

// Sizing an open list: before the drop-down's own sizing the selector takes the size of its
// items where the drop-down gives none; after it the form grows by a scroll bar's width when
// the items are taller than the room left to them.
void FitSelectorToItems(TProCustomItemSelector* Selector, int DropDownWidth, int DropDownHeight);
void WidenFormForScrollBar(TProCustomDropDown* DropDown, TProCustomItemSelector* Selector);
