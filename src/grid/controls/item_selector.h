#pragma once
// The item selector: a scrolling grid of items (an image or a colour box with an optional
// mini-HTML caption left, right, above or below it) in a fixed number of columns with one
// common item size.  The mouse makes items hot and selects them; the hosting drop-down moves
// selection and hot item through the navigation operations and finds items by a typed
// prefix.  The container owns items, settings and appearance; its inner panel lays out,
// paints and hit-tests the items.
#include "grid/controls/dropdown_styles.h"

#include <QImage>
#include <QScrollArea>
#include <functional>
#include <memory>
#include <vector>

class TCustomImageList;
class TProCustomItemSelector;

class TSelectorItem {
public:
    explicit TSelectorItem(std::function<void()> Changed) : FChanged(std::move(Changed)) {}
    QString Caption() const { return FCaption; }
    void SetCaption(const QString& v);
    TColor Color() const { return FColor; }
    void SetColor(TColor v);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int v);
    // The item's own picture (copied; no notification).
    const QImage& Image() const { return FImage; }
    void SetImage(const QImage& v) { FImage = v; }
    QString Hint;
    bool Enabled = true;
    // The item's rectangle in the inner panel, set by the layout.
    TRect FRect;
    bool HasRect = false;
    void Assign(const TSelectorItem& Source);
    // The caption as plain text, trimmed and upper-cased, as the lookup compares it.
    const QString& LookupText() const { return FLookupText; }
    // The caption's measured size, kept while caption, font and images stay the same.
    QSize CaptionSize(TCanvas& Canvas, TCustomImageList* Images) const;

private:
    void Changed()
    {
        if (FChanged) FChanged();
    }
    std::function<void()> FChanged;
    QString FCaption, FLookupText;
    TColor FColor = clNone;
    int FImageIndex = -1;
    QImage FImage;
    mutable QSize FCaptionSize;
    mutable quint64 FMeasuredFont = 0;
    mutable const TCustomImageList* FMeasuredImages = nullptr;
    mutable bool FMeasured = false;
};

// The items; a change of one, or of the list, fires OnChange (once at the end of an update).
class TSelectorItems {
public:
    TSelectorItem* Add();
    int Count() const { return int(FItems.size()); }
    TSelectorItem* Items(int Index) const { return FItems.at(size_t(Index)).get(); }
    void Clear();
    void Delete(int Index);
    void Assign(const TSelectorItems& Source);
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();
    std::function<void()> OnChange;

private:
    void Changed();
    std::vector<std::unique_ptr<TSelectorItem>> FItems;
    int FUpdateCount = 0;
    bool FPending = false;
};

class TItemAppearance {
public:
    TItemAppearance();
    void Assign(const TItemAppearance& Source);
    TColor ColorHot, ColorHotTo, ColorMirrorHot, ColorMirrorHotTo;
    TColor ColorSelected, ColorSelectedTo, ColorMirrorSelected, ColorMirrorSelectedTo;
    TColor BorderColor, BorderColorTop, BorderColorBottom, EdgeColor;
    TColor BorderColorHot = clNone, BorderColorSelected = clNone;
    TColor ColorHotText = clBlack, ColorSelectedText = clBlack;
    TFont Font;
    TSelectionColorStyle ColorStyle() const { return FColorStyle; }
    // A preset style sets its colours; scCustom and the current style change nothing.
    void SetColorStyle(TSelectionColorStyle v);
    std::function<void()> OnChange;

private:
    TSelectionColorStyle FColorStyle = scCustom;
};

enum TSelectorType { stImage, stColor };
enum TItemLayout { ilCaptionLeft, ilCaptionRight, ilCaptionTop, ilCaptionBottom };

// The inner panel of the item selector.
class TCustomItemSelector : public QWidget {
public:
    // Raises "Invalid parent" unless AOwner is an item selector.
    explicit TCustomItemSelector(QObject* AOwner);
    TProCustomItemSelector* ProItemSelector() const { return FProItemSelector; }
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int v);
    int ItemHot() const { return FItemHot; }
    void SetItemHot(int v);
    void SelectFirst();
    void SelectLast();
    void SelectNext();
    void SelectPrevious();
    void HotNext();
    void HotPrevious();
    bool LookupItem(const QString& S);
    // The item under a point of the panel, -1 for none.
    int ItemAtPos(const QPoint& P) const;
    virtual void DrawItem(int Index, TCanvas& Canvas);
    virtual void GetItemsRect(TRect& Rect) const;
    virtual void GetItemSize(QSize& Size);
    virtual void InvalidateItem(int Index);
    virtual void UpdateLayout();
    std::function<void(QObject* Sender)> OnItemSelect;

protected:
    void paintEvent(QPaintEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;

private:
    // The items whose rows cross the band from Top to Bottom (panel coordinates).
    std::pair<int, int> ItemsInBand(int Top, int Bottom) const;
    TProCustomItemSelector* FProItemSelector;
    int FItemIndex = -1, FItemHot = -1;
    int FOffSetX = 2, FOffSetY = 2, FItemOffSetX = 4, FItemOffSetY = 4, FCaptionGap = 4;
    QSize FItemSize;
    TPoint FOrigin;
};

class TProCustomItemSelector : public QScrollArea {
public:
    explicit TProCustomItemSelector(QWidget* AParent = nullptr);
    ~TProCustomItemSelector() override;
    TSelectorItems& Items() { return FItems; }
    void SetItems(const TSelectorItems& v) { FItems.Assign(v); }
    int ItemIndex() const { return FItemSelectorPanel ? FItemSelectorPanel->ItemIndex() : -1; }
    void SetItemIndex(int v);
    int ItemHot() const { return FItemSelectorPanel ? FItemSelectorPanel->ItemHot() : -1; }
    TSelectorType SelectorType() const { return FSelectorType; }
    void SetSelectorType(TSelectorType v);
    TItemLayout ItemLayout = ilCaptionRight;
    int Columns() const { return FColumns; }
    void SetColumns(int v);
    int ColorBoxWidth() const { return FColorBoxWidth; }
    void SetColorBoxWidth(int v);
    int ColorBoxHeight() const { return FColorBoxHeight; }
    void SetColorBoxHeight(int v);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* v);
    TItemAppearance& ItemAppearance() { return FItemAppearance; }
    void SetItemAppearance(const TItemAppearance& v) { FItemAppearance.Assign(v); }
    TColor Color() const { return FColor; }
    void SetColor(TColor v);
    TCustomItemSelector* Panel() const { return FItemSelectorPanel; }

    void UpdateSelectorPanel();
    void SelectFirst();
    void SelectLast();
    void SelectNext();
    void SelectPrevious();
    void HotNext();
    void HotPrevious();
    bool LookupItem(const QString& S) { return FItemSelectorPanel && FItemSelectorPanel->LookupItem(S); }
    void ScrollItemInView(int Index);
    int GetVisibleItemCount() const;
    QSize GetSelectorSize() const;

    std::function<void(QObject* Sender)> OnItemSelect;
    std::function<void(QObject* Sender, TCanvas* Canvas, TRect R, int Index)> OnDrawItem;
    std::function<void(QObject* Sender, QSize& ASize)> OnItemSize;

private:
    TSelectorItems FItems;
    TItemAppearance FItemAppearance;
    TCustomItemSelector* FItemSelectorPanel = nullptr;
    TSelectorType FSelectorType = stImage;
    int FColumns = 1;
    int FColorBoxWidth = 14, FColorBoxHeight = 14;
    TCustomImageList* FImages = nullptr;
    TColor FColor = clWindow;
};
