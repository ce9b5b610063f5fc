#pragma once
// The image picker: a drop-down edit that cannot be typed into and shows the chosen item's
// picture centred in it.  The pop-up lists the items (picture or image-list image, and caption)
// in the item selector.  Items can be filled from the image list or from picture files.
#include "grid/controls/item_selector.h"
#include "grid/controls/notifying_items.h"
#include "grid/controls/picker_list.h"
#include "grid/controls/pro_custom_dropdown.h"

class TImageItem {
public:
    explicit TImageItem(std::function<void()> Changed) : FChanged(std::move(Changed)) {}
    QString Caption() const { return FCaption; }
    void SetCaption(const QString& v);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int v);
    const QImage& Image() const { return FImage; }
    void SetImage(const QImage& v) { FImage = v; }
    QString Hint;
    bool FEnabled = true;
    TRect FRect;
    void Assign(const TImageItem& Source);

private:
    std::function<void()> FChanged;
    QString FCaption;
    int FImageIndex = -1;
    QImage FImage;
};

class TImageItems : public TNotifyingItems<TImageItem> {
public:
    using TNotifyingItems::TNotifyingItems;
    TImageItem* GetItem(int Index) const { return Items(Index); }
    void SetItem(int Index, const TImageItem& v) { Items(Index)->Assign(v); }
};

class TProImagePickerDropDown : public TProCustomDropDown {
public:
    // Picture files larger than this are not read (their item stays without a picture).
    static constexpr qint64 MaxPictureFileSize = 16 * 1024 * 1024;
    // Nor are pictures of more pixels than this.
    static constexpr qint64 MaxPicturePixels = 4096LL * 4096LL;

    explicit TProImagePickerDropDown(QWidget* AParent = nullptr);

    TImageItems& Items() { return FItems; }
    void SetItems(const TImageItems& v) { FItems.Assign(v); }
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int Value);
    int ImageIndex() const;
    void SetImageIndex(int Value);
    int Columns = 1;
    TItemLayout Layout = ilCaptionRight;
    TItemAppearance& ItemAppearance() { return FItemAppearance; }
    void SetItemAppearance(const TItemAppearance& v) { FItemAppearance.Assign(v); }
    std::function<void(QObject* Sender)> OnSelect;
    std::function<void(QObject* Sender, TCanvas* Canvas, TRect R, int Index)> OnDrawItem;
    std::function<void(QObject* Sender, TCanvas* Canvas, TRect R)> OnDrawSelectedImage;

    void SelectFirst() { Step(0); }
    void SelectLast() { Step(1); }
    void SelectNext() { Step(2); }
    void SelectPrevious() { Step(3); }
    void AddImagesFromImageList();
    // AFolder is a folder and a file mask ("pics/*.png"); every regular file that matches it
    // gets an item, in the order the file system lists them.  Folders, links to folders,
    // FIFOs, sockets and devices are passed over: reading a FIFO would block.
    void AddImagesFromFolder(const QString& AFolder, bool SetImageCaption);
    void AddImageFile(const QString& FileName, bool SetImageCaption);

    TProCustomItemSelector* ItemSelector() const { return FItemSelector; }
    void SetSelectionColorStyle(TSelectionColorStyle Style) override;
    void SetComponentStyle(TProStyle Style) override;

protected:
    void CreateDropDownForm() override;
    void BeforeDropDown() override;
    void SizeDropDownForm() override;
    void DoHideDropDown(bool Cancel) override;
    void HandleWheelDown() override;
    void HandleWheelUp() override;
    void DrawFocusText(QPainter& p) override;
    void HandleKeyDown(QKeyEvent* e) override;
    void KeyTimerTimer() { FListKeys.KeyTimerTimer(); }
    void UpdateItemSelector();
    void LoadSelectorItems();
    void DrawSelectedImage(QPainter& p);

private:
    void Step(int Step);
    void Wheel(bool Down);
    void SelectorItemSelect();

    TImageItems FItems;
    TItemAppearance FItemAppearance;
    int FItemIndex = -1;
    TProCustomItemSelector* FItemSelector = nullptr;
    bool FInternalCall = false;
    TPickerListKeys FListKeys;
    int FOldItemIndex = -1;
};
