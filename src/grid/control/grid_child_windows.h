#pragma once
// The string grid's own child windows that are not editors: the footer strip, the search
// footer's panel, the hint window, the floating picture of a dragged header cell and the
// thin scroll indicator.
#include "grid/base/grid_controls.h"
#include "platform/ui/canvas.h"
#include "platform/ui/hint_window.h"
#include "platform/ui/image_list.h"
#include "platform/ui/messages.h"

#include <QLineEdit>
#include <QScrollBar>
#include <QWidget>
#include <functional>
#include <memory>

class TProStringGrid;
class TPictureContainer;

// The footer strip itself: a child of the grid along its bottom edge, below the cells.
class TFooterPanel : public QWidget {
public:
    explicit TFooterPanel(TProStringGrid* AOwner);
    ~TFooterPanel() override;
    // The grid's window exists: the panel takes its height and tells the application.
    void CreateWnd();
    TProStringGrid* Grid() const { return FGrid; }
    TCanvas* Canvas() { return FCanvas.get(); }
    // The template with every "<#n>" replaced by the text of column n of the current row.
    QString ExpandTemplate(const QString& Template) const;
    // Walks client x over the columns as laid out under the footer and returns the column
    // after the one under x (so the result - 1 is that column; LeftCol - 1 over the fixed
    // columns), or -1 beyond the last column.
    int ColumnWalk(int X) const;
    int LastHintX() const { return FLastHintX; }

protected:
    void paintEvent(QPaintEvent* e) override;
    bool event(QEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;

private:
    void Paint();
    int PaintFixedLastRow(const TRect& Client, int FooterWidth);
    int PaintPreview(const TRect& Client, int FooterWidth);
    int FooterWidth() const;
    TRect Mirror(TRect R) const;

    TProStringGrid* FGrid;
    std::unique_ptr<TCanvas> FCanvas;
    int FLastHintX = -1;
};

// The search footer's edit: Enter fires OnReturn, Ctrl+Enter OnCtrlReturn; neither is passed on.
class TRetEdit : public QLineEdit {
public:
    explicit TRetEdit(QWidget* AParent);
    std::function<void()> OnReturn, OnCtrlReturn;
    // A key that is an accelerator of the panel (Alt+letter) goes here first; true when taken.
    std::function<bool(const QString& Text)> OnDialogChar;

protected:
    void keyPressEvent(QKeyEvent* e) override;
};

// The search footer panel along the grid's bottom edge, with its edit, find buttons and
// match-case box; the grid's search footer settings are copied into it.
class TSearchPanel : public QWidget {
public:
    explicit TSearchPanel(QWidget* AOwner);
    TColor Color() const { return FColor; }
    void SetColor(TColor v) { FColor = v; update(); }
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor v) { FColorTo = v; update(); }
    std::function<void()> OnEditChange, OnBackwardClick, OnForwardClick, OnExitClick, OnHighLightClick;
    // Fired the first time the panel shows, its controls laid out.
    std::function<void()> OnCreated;
    // The edit's background colour (clWindow, or red for a text not found).
    void SetEditColor(TColor v);
    TColor EditColor() const { return FEditColor; }
    // Enables the find and highlight buttons exactly when the edit holds text, then fires
    // OnEditChange.
    void EditChanged();
    void EditReturn() { if (OnForwardClick) OnForwardClick(); }
    void EditCtrlReturn() { if (OnBackwardClick) OnBackwardClick(); }
    // The match-case box's left position read from the left edge (425, or 330 without the
    // highlight button).
    void SetMatchCaseLeft(int v);
    int MatchCaseLeft() const { return FMatchCaseLeft; }

    TRetEdit* FEdit = nullptr;
    TProGridButton* FForwardButton = nullptr;
    TProGridButton* FBackwardButton = nullptr;
    TProGridButton* FHiliteButton = nullptr;
    TProGridButton* FExitButton = nullptr;
    TProCheckBox* FMatchCase = nullptr;
    QString FFindNextCaption, FFindPrevCaption, FMatchCaseCaption, FHighLightCaption;
    QString FHintFindNext, FHintFindPrev, FHintClose, FHintHighlight;

protected:
    void paintEvent(QPaintEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void changeEvent(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    // Places every control at its position, mirrored in right-to-left mode.
    void LayOut();

    TColor FColor = clBtnFace;
    TColor FColorTo = clNone;
    TColor FEditColor = clWindow;
    int FMatchCaseLeft = 425;
    bool FCreated = false;
};

// The hint window of the grid: mini-HTML and packed wide text, a frame of its own
// (html_cells.cpp).  The grid keeps one for its sizing and scroll hints; cell hints use it
// through the hint class.
class THTMLHintWindow : public THintWindow {
public:
    // AOwner owns the window (null: whoever shows it).
    explicit THTMLHintWindow(QWidget* AOwner = nullptr);
    // data: the string grid the hint is for (as its QWidget), or null.
    TRect CalcHintRect(int MaxWidth, const QString& AHint, void* AData) override;
    void ActivateHint(const TRect& Rect, const QString& AHint) override;
    void ActivateHintData(const TRect& Rect, const QString& AHint, void* AData) override;
    int TextWidth() const { return FTextWidth; }
    int TextHeight() const { return FTextHeight; }
    QString WideCaption() const { return FWideCaption; }
    // Font name of the grid whose hint shows, for packed wide text (one for all grids).
    static QString GridFontName;

protected:
    void Paint() override;

private:
    // The text's size: measured as packed wide text or as mini-HTML within MaxWidth.
    QSize MeasureHint(const QString& AHint, int MaxWidth, bool& Wide);
    TCustomImageList* FImages = nullptr;
    TPictureContainer* FPictureContainer = nullptr;
    int FTextWidth = 0;
    int FTextHeight = 0;
    QString FWideCaption;
};

// The floating picture of a header cell while its column or row is dragged: a bordered
// pop-up window that paints the grid's top-left cell look with the caption over it
// (background.cpp).
class THeaderDragButton : public QWidget {
public:
    THeaderDragButton(QWidget* AParent, TProStringGrid* AGrid);
    TProStringGrid* Grid() const { return FGrid; }
    QString Caption() const { return FCaption; }
    void SetCaption(const QString& v);
    bool Flat() const { return FFlat; }
    void SetFlat(bool v) { FFlat = v; update(); }

protected:
    void paintEvent(QPaintEvent* e) override;
    virtual void Paint(TCanvas* Canvas);

private:
    TProStringGrid* FGrid;
    QString FCaption;
    bool FFlat = false;
};

enum TScrollDirection { sdVertical, sdHorizontal };

// A thin scroll position indicator along the right (vertical) or bottom (horizontal) edge of
// the cells, in place of the scroll bars of the metro look.  It lies over the cells and lets
// them show through; a press beside the thumb pages, a drag on it scrolls (background.cpp).
class TScrollControl : public QWidget {
public:
    explicit TScrollControl(QWidget* AOwner, TScrollDirection ADirection = sdVertical);
    TColor Color() const { return FColor; }
    void SetColor(TColor v);
    int ScrollWidth() const { return FScrollWidth; }
    void SetScrollWidth(int v) { FScrollWidth = v; update(); }
    TScrollDirection Direction() const { return FDirection; }
    // The grid it lies on, or nullptr.
    TProStringGrid* GetGrid() const;
    int TrackStart() const;
    int TrackLength() const;
    void GetThumb(int& Pos, int& Size) const;
    // Keeps its place along the edge of the grid's cells.
    void Realign();

protected:
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void Paint(TCanvas* Canvas);
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    int Extent() const { return FDirection == sdVertical ? height() : width(); }
    TColor FColor = 0xC0C0C0;
    int FScrollWidth = 4;
    bool FDownOnScroller = false;
    int FDownPos = 0;
    int FDownRow = 0;
    TScrollDirection FDirection;
};
