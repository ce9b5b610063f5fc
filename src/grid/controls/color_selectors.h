#pragma once
// The colour selector panels a colour picker hosts in its pop-up: a palette of colour boxes
// in columns (TCustomColorSelector), a honeycomb of hexagonal colour cells
// (TProColorCubePanel) and a spectrum picture the colour under the mouse is picked from
// (TProColorSpectrumPanel).  The picture and the eyedropper cursor are drawn once by code.
#include "grid/controls/dropdown_styles.h"
#include "grid/controls/notifying_items.h"

#include <QCursor>
#include <QImage>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

// The 128 x 128 spectrum: the hue runs across the columns, from nearly white at the top through
// the saturated hue at row 64 to nearly black at the bottom.
const QImage& SpectrumBitmap();
// The eyedropper, 32 x 32, hot spot at its tip (1, 30).
const QCursor& PointerCursor();

// How a colour box joins the boxes above and below it.
enum TItemPos { ipStandAlone, ipTop, ipMiddle, ipBottom };

class TProCustomColorSelectorPanel : public QWidget {
public:
    explicit TProCustomColorSelectorPanel(QWidget* AParent = nullptr);
    TColor Color() const { return FColor; }
    void SetColor(TColor v);
    // Fired by the cube and the spectrum on a mouse release.
    std::function<void(QObject* Sender)> OnShouldHide;

protected:
    void paintEvent(QPaintEvent* e) override;
    TColor FColor = clBtnFace;
};

class TColorBoxItem {
public:
    explicit TColorBoxItem(std::function<void()> Changed) : FChanged(std::move(Changed)) {}
    TColor Color() const { return FColor; }
    void SetColor(TColor v);
    TItemPos ColorBoxPos = ipStandAlone;
    bool FEnabled = true;
    TRect FRect;
    bool HasRect = false;
    void Assign(const TColorBoxItem& Source);

private:
    std::function<void()> FChanged;
    TColor FColor = clNone;
};

using TColorBoxItems = TNotifyingItems<TColorBoxItem>;

class TColorBoxAppearance {
public:
    void Assign(const TColorBoxAppearance& Source);
    TColor BorderColor = 0xC5C5C5;
    TColor OuterBorderColorHot = 0x3694F2, InnerBorderColorHot = 0x94E2FF;
    TColor OuterBorderColorSelected = 0x0000FF, InnerBorderColorSelected = 0x94E2FF;
    std::function<void()> OnChange;
};

// The palette of colour boxes.
class TCustomColorSelector : public TProCustomColorSelectorPanel {
public:
    explicit TCustomColorSelector(QWidget* AParent = nullptr);
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int Index);
    int ItemHot() const { return FItemHot; }
    void SetItemHot(int Index);
    TColorBoxItems& Items() { return FItems; }
    void SetItems(const TColorBoxItems& v) { FItems.Assign(v); }
    int Columns() const { return FColumns; }
    void SetColumns(int v);
    int ColumnGap() const { return FColumnGap; }
    void SetColumnGap(int v);
    int ColorBoxWidth() const { return FColorBoxWidth; }
    void SetColorBoxWidth(int v);
    int ColorBoxHeight() const { return FColorBoxHeight; }
    void SetColorBoxHeight(int v);
    TColorBoxAppearance& ColorBoxAppearance() { return FColorBoxAppearance; }
    void SetColorBoxAppearance(const TColorBoxAppearance& v) { FColorBoxAppearance.Assign(v); }
    TSelectionColorStyle ItemColorStyle() const { return FItemColorStyle; }
    void SetItemColorStyle(TSelectionColorStyle v);
    TColor SelectedColor() const { return FSelectedColor; }
    void SetSelectedColor(TColor Value);
    std::function<void(QObject* Sender)> OnItemSelect;

    // The 60 boxes of the default palette, six rows of ten; the rows below the first join.
    void LoadDefaultPalette();
    int ItemAtPos(int X, int Y) const;
    // Keys 33 to 40 (Page Up ... Down), as the hosting edit passes them on.
    void HandleKey(int Key, bool EditorEnabled, bool DroppedDown);
    void SelectFirst() { SetItemIndex(FItems.Count() ? 0 : -1); }
    void SelectLast() { SetItemIndex(FItems.Count() - 1); }
    void SelectNext();
    void SelectPrevious();
    void HotNext();
    void HotPrevious();

    virtual void DrawItem(int Index, TCanvas& Canvas);
    virtual void GetItemsRect(TRect& Rect) const;
    virtual void GetItemSize(QSize& Size) const { Size = QSize(FColorBoxWidth, FColorBoxHeight); }
    virtual void UpdateLayout();
    virtual void InvalidateItem(int Index);

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;

private:
    int FItemIndex = -1, FItemHot = -1;
    int FOffSetX = 4, FOffSetY = 4, FColumnGap = 4, FColumns = 10;
    int FColorBoxHeight = 12, FColorBoxWidth = 12;
    TColorBoxAppearance FColorBoxAppearance;
    TColorBoxItems FItems;
    TSelectionColorStyle FItemColorStyle = scOffice2007;
    TColor FSelectedColor = clNone;
};

// The honeycomb of 127 hexagonal cells, 13 rows.
class TProColorCubePanel : public TProCustomColorSelectorPanel {
public:
    struct TCubeCell {
        TPoint Center;
        TColor Color;
    };
    explicit TProColorCubePanel(QWidget* AParent = nullptr);
    TColor SelectedColor() const { return FSelectedColor; }
    void SetSelectedColor(TColor Value) { SetSelection(Value, -1); }
    bool ShowRGBHint() const { return FShowRGBHint; }
    void SetShowRGBHint(bool v);
    int SelectedIndex() const { return FSelectedIndex; }
    int HotIndex() const { return FHotIndex; }
    TPoint CubeSize() const { return FCubeSize; }
    // Cells 1 to 127.
    const TCubeCell& Cell(int Index) const { return FCubeCells[size_t(Index)]; }
    void BuildCells();
    void ResetForShow();
    // The first cell whose centre lies within CubeSize.X of the point, -1 for none.
    int CellAtPos(int X, int Y) const;
    void SetSelection(TColor Color, int Index);
    static void DrawHexagon(TCanvas& Canvas, TPoint Centre, int W, int H);
    std::function<void(QObject* Sender)> OnSelect;

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    TCubeCell FCubeCells[128] = {};
    TPoint FCubeSize{6, 3};
    TColor FSelectedColor = clNone;
    int FSelectedIndex = -1, FHotIndex = -1;
    bool FShowRGBHint = true;
};

// The spectrum picture with a box for the chosen and one for the pointed-at colour.
class TProColorSpectrumPanel : public TProCustomColorSelectorPanel {
public:
    explicit TProColorSpectrumPanel(QWidget* AParent = nullptr);
    TColor SelectedColor() const { return FSelectedColor; }
    void SetSelectedColor(TColor Value) { FSelectedColor = Value; }
    TColor HotColor() const { return FHotColor; }
    QWidget* SpectrumImage() const { return FSpectrumImage; }
    TRect SelectedRect() const { return FSelectedRect; }
    TRect HotRect() const { return FHotRect; }
    void UpdateLayout();
    std::function<void(QObject* Sender)> OnSelect;

protected:
    void paintEvent(QPaintEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    QWidget* FSpectrumImage = nullptr;
    TColor FHotColor = clNone, FSelectedColor = 0xFFFFFF;
    TRect FHotRect, FSelectedRect;
};
