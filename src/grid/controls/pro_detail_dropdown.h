#pragma once
// The detail drop-down: an edit whose pop-up lists detail items, each an image (its own
// picture or one of the image list), a caption and mini-HTML notes below it.  The edit shows
// the chosen item's caption; typing completes the text from the captions, and keys typed
// while the list is open step through it or find an item by its first letters.
#include "grid/controls/item_selector.h"
#include "grid/controls/notifying_items.h"
#include "grid/controls/picker_list.h"
#include "grid/controls/pro_custom_dropdown.h"

class TObject;

class TDetailItem {
public:
    explicit TDetailItem(std::function<void()> Changed) : FChanged(std::move(Changed)) {}
    QString Caption() const { return FCaption; }
    void SetCaption(const QString& v);
    QString Notes() const { return FNotes; }
    void SetNotes(const QString& v) { FNotes = v; }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int v);
    // The item's own picture (copied); drawn in place of the image list's image.
    const QImage& Image() const { return FImage; }
    void SetImage(const QImage& v) { FImage = v; }
    TObject* ItemObject = nullptr;   // not owned
    int Tag = 0;
    bool Enabled = true;
    void Assign(const TDetailItem& Source);

private:
    void Changed()
    {
        if (FChanged) FChanged();
    }
    std::function<void()> FChanged;
    QString FCaption, FNotes;
    int FImageIndex = -1;
    QImage FImage;
};

// A collection with the typed item access of the drop-downs' item lists.
template <class T> class TTypedItems : public TNotifyingItems<T> {
public:
    using TNotifyingItems<T>::TNotifyingItems;
    T* GetItem(int Index) const { return this->Items(Index); }
    void SetItem(int Index, const T& v) { this->Items(Index)->Assign(v); }
};

class TDetailItems : public TTypedItems<TDetailItem> {
public:
    using TTypedItems::TTypedItems;
    // The first item whose caption equals Caption exactly, -1 for none.
    int IndexOf(const QString& Caption) const;
};

// A drop-down edit whose typing is completed from a list of texts (the lookup entries): the
// first entry that starts with the text before the caret fills in the rest, selected, with
// the caret after the typed part.  Backspace, Delete and Escape switch the completion off until
// the next other key.  Text set by code completes nothing.
class TProLookupDropDown : public TProCustomDropDown {
public:
    explicit TProLookupDropDown(QWidget* AParent = nullptr);
    void SetText(const QString& Value) override;
    bool MatchCase = false;

protected:
    virtual int LookupCount() const = 0;
    virtual QString LookupEntry(int Index) const = 0;
    // A completion took entry Index (the index is stored, the item is not taken yet).
    virtual void LookupCompleted(int Index) = 0;
    // The key is released after a completion of entry Index.
    virtual void SelectCompleted(int Index) = 0;
    // Every change of the edit text.
    virtual void Change();
    // The lookup mode after a key: off after Backspace, Delete and Escape, unchanged after Enter.
    void LookupModeFromKey(int Key);
    void keyReleaseEvent(QKeyEvent* e) override;
    virtual void HandleKeyUp(QKeyEvent* e);
    QString MatchCaseText(const QString& S) const { return MatchCase ? S : S.toUpper(); }

    // lookup mode: completion runs only while it is on
    bool FWorkMode = true;
    // the completion memo: a completion happened, of which item, after how many typed characters
    bool FItemChange = false;
    int FItemIdx = -1, FItemSel = 0;

private:
    bool FInChange = false;
    bool FCodeSet = false;
};

class TProDetailDropDown : public TProLookupDropDown {
public:
    explicit TProDetailDropDown(QWidget* AParent = nullptr);

    TDetailItems& Items() { return FItems; }
    void SetItems(const TDetailItems& v) { FItems.Assign(v); }
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int Value);
    int ItemHeight() const { return FItemHeight; }
    // At least one pixel: the list divides its height by it.
    void SetItemHeight(int v) { FItemHeight = std::max(1, v); }
    TItemLayout Layout = ilCaptionRight;
    TFont& CaptionFont() { return FCaptionFont; }
    void SetCaptionFont(const TFont& v) { FCaptionFont.Assign(v); }
    TFont& NotesFont() { return FNotesFont; }
    void SetNotesFont(const TFont& v) { FNotesFont.Assign(v); }
    TItemAppearance& ItemAppearance() { return FItemAppearance; }
    void SetItemAppearance(const TItemAppearance& v) { FItemAppearance.Assign(v); }
    bool MatchStart = false;   // completion always matches at the start
    std::function<void(QObject* Sender)> OnSelect;
    std::function<void(QObject* Sender, TCanvas* Canvas, TRect R)> OnDrawSelectedImage;

    void SelectFirst() { Step(0); }
    void SelectLast() { Step(1); }
    void SelectNext() { Step(2); }
    void SelectPrevious() { Step(3); }

    TProCustomItemSelector* ItemSelector() const { return FItemSelector; }
    void SetSelectionColorStyle(TSelectionColorStyle Style) override;
    void SetComponentStyle(TProStyle Style) override;

protected:
    void CreateDropDownForm() override;
    void BeforeDropDown() override;
    void DoShowDropDown() override;
    void SizeDropDownForm() override;
    void DoHideDropDown(bool Cancel) override;
    void DropDownFormResized() override;
    void HandleWheelDown() override;
    void HandleWheelUp() override;
    void HandleKeyDown(QKeyEvent* e) override;
    int LookupCount() const override { return FItems.Count(); }
    QString LookupEntry(int Index) const override { return FItems.Items(Index)->Caption(); }
    void LookupCompleted(int Index) override { FItemIndex = Index; }
    void SelectCompleted(int Index) override { SetItemIndex(Index); }
    void KeyTimerTimer() { FListKeys.KeyTimerTimer(); }
    void UpdateSelector();
    void FillSelectorItems();
    void DrawSelectorItem(TCanvas* Canvas, TRect R, int Index);
    void SelectorItemSize(QSize& ASize);

private:
    void Step(int Step);
    void Wheel(bool Down);
    void SelectorItemSelect();
    // The list keys of the edit; True when the key ends there.
    bool HandleListKey(QKeyEvent* e);

    TDetailItems FItems;
    TItemAppearance FItemAppearance;
    TFont FCaptionFont, FNotesFont;
    int FItemIndex = -1;
    int FItemHeight = 22;
    TProCustomItemSelector* FItemSelector = nullptr;
    bool FInternalCall = false;
    TPickerListKeys FListKeys;
    int FOldItemIndex = -1;
};
