#pragma once
// The further objects a string grid owns: their settings as far as the grid's construction,
// loading and copying need them.  Their behaviour (footer, balloon hints, nodes, looks,
// background, editors) is added with the features that use them.
#include "grid/base/cell_properties.h"
#include "grid/base/grid_settings.h"
#include "grid/base/int_list.h"
#include "grid/base/pictures.h"
#include "grid/base/theme.h"
#include "grid/control/cell_graphic.h"
#include "grid/controls/psg_combo.h"
#include "platform/ui/combo_notify.h"
#include "platform/ui/hint_window.h"
#include "platform/ui/image_list.h"
#include "platform/ui/messages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QStringList>
#include <QWidget>
#include <memory>

class TProStringGrid;

// A string list that reports its changes.
class TGridStrings : public TPersistent {
public:
    QString ClassName() const override { return QStringLiteral("TStringList"); }
    void Assign(const TPersistent* Source) override
    {
        if (auto* s = dynamic_cast<const TGridStrings*>(Source)) SetStrings(s->FItems);
    }
    TNotifyEvent OnChange;
    bool Sorted = false;
    bool IgnoreDuplicates = false;

    const QStringList& Strings() const { return FItems; }
    int Count() const { return int(FItems.size()); }
    QString operator[](int i) const { return FItems.value(i); }
    void SetStrings(const QStringList& v)
    {
        FItems = v;
        Normalise();
        Changed();
    }
    void Add(const QString& s)
    {
        if (IgnoreDuplicates && FItems.contains(s)) return;
        FItems.append(s);
        Normalise();
        Changed();
    }
    void Clear()
    {
        FItems.clear();
        Changed();
    }
    QString Text() const { return FItems.isEmpty() ? QString() : FItems.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"); }

private:
    void Changed() { FireNotify(OnChange, this); }
    void Normalise()
    {
        if (IgnoreDuplicates) FItems.removeDuplicates();
        if (Sorted) FItems.sort(Qt::CaseInsensitive);
    }
    QStringList FItems;
};

// One hidden row: its real index, height, texts and node level.
class TGridItem : public TObject {
public:
    QString ClassName() const override { return QStringLiteral("TGridItem"); }
    int Idx() const { return FIdx; }
    void SetIdx(int v) { FIdx = v; }
    int Height() const { return FHeight; }
    void SetHeight(int v) { FHeight = v; }
    QStringList& Items() { return FItems; }
    void SetItems(const QStringList& v) { FItems = v; }
    // The row's cell objects, one per column like Items; the item owns them while the row
    // is hidden and hands them back when it is shown.
    std::vector<TObject*>& Objects() { return FObjects; }
    ~TGridItem() override
    {
        for (TObject* o : FObjects) delete o;
    }
    int Level() const { return FLevel; }
    void SetLevel(int v) { FLevel = v; }

private:
    int FIdx = 0;
    int FHeight = 0;
    QStringList FItems;
    int FLevel = 0;
    std::vector<TObject*> FObjects;
};

enum TFooterStyle { fsFixedLastRow, fsColumnPreview, fsCustomPreview, fsCustomPaint };

class TFooterPanel;
class TCanvas;
// Value of a footer column whose calculation is custom.
using TCalcFooterEvent = std::function<void(TObject* Sender, int ACol, int ARow, QString& Value)>;
// Painting of the footer by the application: the column and the rectangle to paint in.
using TFooterPaintEvent = std::function<void(TFooterPanel* Sender, int AColumn, TCanvas* Canvas, TRect ARect)>;

// Settings of the strip below the grid that shows one row of values under the columns.
class TFloatingFooter : public TPersistent {
public:
    explicit TFloatingFooter(TProStringGrid* AGrid) : FGrid(AGrid) {}
    QString ClassName() const override { return QStringLiteral("TFloatingFooter"); }
    // Copies the style, column, template, colour, visibility and hint flag; the height, the
    // border colour, the calculation switch and the event stay.
    void Assign(const TPersistent* Source) override;

    int Height() const { return FHeight; }
    void SetHeight(int Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TFooterStyle FooterStyle() const { return FFooterStyle; }
    void SetFooterStyle(TFooterStyle Value);
    int Column() const { return FColumn; }
    void SetColumn(int Value);
    QString CustomTemplate() const { return FCustomTemplate; }
    void SetCustomTemplate(const QString& Value);
    bool CalculateHiddenRows() const { return FCalculateHiddenRows; }
    void SetCalculateHiddenRows(bool Value) { FCalculateHiddenRows = Value; }
    bool EnableCalculation() const { return FEnableCalculation; }
    void SetEnableCalculation(bool Value) { FEnableCalculation = Value; }
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool Value);
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor Value);
    // The calculation of a column, kept with the cell properties of its cell in the last row.
    TColumnCalcType ColumnCalc(int ACol) const;
    void SetColumnCalc(int ACol, TColumnCalcType Value);
    void Invalidate();

    TCalcFooterEvent OnCalcFooter;

private:
    TFooterPanel* Panel() const;

    TProStringGrid* FGrid;
    int FHeight = 22;
    bool FVisible = false;
    TColor FColor = clBtnFace;
    TFooterStyle FFooterStyle = fsFixedLastRow;
    int FColumn = 0;
    QString FCustomTemplate;
    bool FCalculateHiddenRows = true;
    bool FEnableCalculation = true;
    bool FShowHint = false;
    TColor FBorderColor = clNone;
};

// When scrolling during a drag starts (ms after entering a margin) and repeats.
class TDragScrollDelays : public TPersistent {
public:
    QString ClassName() const override { return QStringLiteral("TDragScrollDelays"); }
    void Assign(const TPersistent* Source) override
    {
        if (auto* s = dynamic_cast<const TDragScrollDelays*>(Source)) *this = *s;
    }
    GRID_FIELD(int, InitialDelay, 1000)
    GRID_FIELD(int, RepeatDelay, 0xFA)
};

// How near the grid's edges (pixels) a drag scrolls.
class TDragScrollMargins : public TPersistent {
public:
    QString ClassName() const override { return QStringLiteral("TDragScrollMargins"); }
    void Assign(const TPersistent* Source) override
    {
        if (auto* s = dynamic_cast<const TDragScrollMargins*>(Source)) *this = *s;
    }
    GRID_FIELD(int, TopMargin, 50)
    GRID_FIELD(int, BottomMargin, 50)
    GRID_FIELD(int, LeftMargin, 50)
    GRID_FIELD(int, RightMargin, 50)
};

class TDragScrollOptions : public TPersistent {
public:
    QString ClassName() const override { return QStringLiteral("TDragScrollOptions"); }
    void Assign(const TPersistent* Source) override
    {
        auto* s = dynamic_cast<const TDragScrollOptions*>(Source);
        if (!s) return;
        FMargins.Assign(&s->FMargins);
        FDelays.Assign(&s->FDelays);
        FActive = s->FActive;
    }
    GRID_FIELD(bool, Active, false)
    TDragScrollDelays* Delays() { return &FDelays; }
    TDragScrollMargins* Margins() { return &FMargins; }

private:
    TDragScrollDelays FDelays;
    TDragScrollMargins FMargins;
};

enum TControlStyle { csClassic, csFlat, csWinXP, csBorland, csZUZ, csGlyph, csTheme };

// Looks of the drop-down editors' header and footer, which the control look hands on.
class THeaderAppearance : public TPersistent {
public:
    explicit THeaderAppearance(QObject* AOwner) { (void)AOwner; }
    QString ClassName() const override { return QStringLiteral("THeaderAppearance"); }
    void Assign(const TPersistent* Source) override { (void)Source; }
};

class TFooterAppearance : public TPersistent {
public:
    explicit TFooterAppearance(QObject* AOwner) { (void)AOwner; }
    QString ClassName() const override { return QStringLiteral("TFooterAppearance"); }
    void Assign(const TPersistent* Source) override { (void)Source; }
};

// How the grid draws its in-cell controls (check boxes, radio buttons, buttons, progress
// bars) and the gradients of its hovered and pressed fixed cells, which it passes on to the
// grid.
class TControlLook : public TPersistent {
public:
    explicit TControlLook(TProStringGrid* AGrid);
    ~TControlLook() override;
    QString ClassName() const override { return QStringLiteral("TControlLook"); }
    void Assign(const TPersistent* Source) override;
    // The colours every style starts from.
    void Init();

    TColor Color() const { return FColor; }
    void SetColor(TColor v);
    TColor CommentColor() const { return FCommentColor; }
    void SetCommentColor(TColor v);
    TBitmap* CheckedGlyph() { return &FCheckedGlyph; }
    void SetCheckedGlyph(const TBitmap& v);
    TBitmap* UnCheckedGlyph() { return &FUnCheckedGlyph; }
    void SetUnCheckedGlyph(const TBitmap& v);
    TBitmap* RadioOnGlyph() { return &FRadioOnGlyph; }
    void SetRadioOnGlyph(const TBitmap& v);
    TBitmap* RadioOffGlyph() { return &FRadioOffGlyph; }
    void SetRadioOffGlyph(const TBitmap& v);

    // The fixed gradients: stored and passed to the grid without a repaint of their own.
    TColor FixedGradientFrom() const { return FFixedGradientFrom; }
    void SetFixedGradientFrom(TColor v);
    TColor FixedGradientTo() const { return FFixedGradientTo; }
    void SetFixedGradientTo(TColor v);
    TColor FixedGradientMirrorFrom() const { return FFixedGradientMirrorFrom; }
    void SetFixedGradientMirrorFrom(TColor v);
    TColor FixedGradientMirrorTo() const { return FFixedGradientMirrorTo; }
    void SetFixedGradientMirrorTo(TColor v);
    TColor FixedGradientHoverFrom() const { return FFixedGradientHoverFrom; }
    void SetFixedGradientHoverFrom(TColor v);
    TColor FixedGradientHoverTo() const { return FFixedGradientHoverTo; }
    void SetFixedGradientHoverTo(TColor v);
    TColor FixedGradientHoverMirrorFrom() const { return FFixedGradientHoverMirrorFrom; }
    void SetFixedGradientHoverMirrorFrom(TColor v);
    TColor FixedGradientHoverMirrorTo() const { return FFixedGradientHoverMirrorTo; }
    void SetFixedGradientHoverMirrorTo(TColor v);
    TColor FixedGradientHoverBorder() const { return FFixedGradientHoverBorder; }
    void SetFixedGradientHoverBorder(TColor v);
    TColor FixedGradientDownFrom() const { return FFixedGradientDownFrom; }
    void SetFixedGradientDownFrom(TColor v);
    TColor FixedGradientDownTo() const { return FFixedGradientDownTo; }
    void SetFixedGradientDownTo(TColor v);
    TColor FixedGradientDownMirrorFrom() const { return FFixedGradientDownMirrorFrom; }
    void SetFixedGradientDownMirrorFrom(TColor v);
    TColor FixedGradientDownMirrorTo() const { return FFixedGradientDownMirrorTo; }
    void SetFixedGradientDownMirrorTo(TColor v);
    TColor FixedGradientDownBorder() const { return FFixedGradientDownBorder; }
    void SetFixedGradientDownBorder(TColor v);

    int CheckSize() const { return FCheckSize; }
    void SetCheckSize(int v);
    int RadioSize() const { return FRadioSize; }
    void SetRadioSize(int v);
    TControlStyle ControlStyle() const { return FControlStyle; }
    void SetControlStyle(TControlStyle v);
    bool DropDownAlwaysVisible() const { return FDropDownAlwaysVisible; }
    void SetDropDownAlwaysVisible(bool v);
    bool SpinButtonsAlwaysVisible() const { return FSpinButtonsAlwaysVisible; }
    void SetSpinButtonsAlwaysVisible(bool v);
    bool FlatButton() const { return FFlatButton; }
    void SetFlatButton(bool v);
    bool NoDisabledCheckRadioLook() const { return FNoDisabledCheckRadioLook; }
    void SetNoDisabledCheckRadioLook(bool v);
    bool NoDisabledButtonLook() const { return FNoDisabledButtonLook; }
    void SetNoDisabledButtonLook(bool v);
    int ProgressMarginX() const { return FProgressMarginX; }
    void SetProgressMarginX(int v);
    int ProgressMarginY() const { return FProgressMarginY; }
    void SetProgressMarginY(int v);
    bool ProgressXP() const { return FProgressXP; }
    void SetProgressXP(bool v);
    THeaderAppearance* DropDownHeader() { return FDropDownHeader.get(); }
    void SetDropDownHeader(const THeaderAppearance* v) { FDropDownHeader->Assign(v); }
    TFooterAppearance* DropDownFooter() { return FDropDownFooter.get(); }
    void SetDropDownFooter(const TFooterAppearance* v) { FDropDownFooter->Assign(v); }
    // Plain settings: stored only.
    GRID_FIELD(int, DropDownCount, 8)
    GRID_FIELD(bool, FixedDropDownButton, false)
    GRID_FIELD(int, HintMaxWidth, 0)
    GRID_FIELD(bool, CheckAlwaysActive, false)
    GRID_FIELD(bool, RadioAlwaysActive, false)
    GRID_FIELD(TColor, ProgressBorderColor, 0x808080)

private:
    void Changed();
    // A setter that stores and repaints.
    template <class T>
    void Store(T& Field, const T& Value)
    {
        Field = Value;
        Changed();
    }

    TProStringGrid* FGrid;
    TColor FColor = 0;
    TColor FCommentColor = 0x0000FF;
    TBitmap FCheckedGlyph, FUnCheckedGlyph, FRadioOnGlyph, FRadioOffGlyph;
    TColor FFixedGradientFrom = clNone, FFixedGradientTo = clNone, FFixedGradientMirrorFrom = clNone,
           FFixedGradientMirrorTo = clNone;
    TColor FFixedGradientHoverFrom = 0x808080, FFixedGradientHoverTo = 0xFFFFFF,
           FFixedGradientHoverMirrorFrom = clNone, FFixedGradientHoverMirrorTo = clNone,
           FFixedGradientHoverBorder = 0xC0C0C0;
    TColor FFixedGradientDownFrom = 0x808080, FFixedGradientDownTo = 0xC0C0C0,
           FFixedGradientDownMirrorFrom = clNone, FFixedGradientDownMirrorTo = clNone,
           FFixedGradientDownBorder = 0x808080;
    int FCheckSize = 15;
    int FRadioSize = 10;
    TControlStyle FControlStyle = csTheme;
    bool FDropDownAlwaysVisible = false;
    bool FSpinButtonsAlwaysVisible = false;
    bool FFlatButton = false;
    bool FNoDisabledCheckRadioLook = false;
    bool FNoDisabledButtonLook = false;
    int FProgressMarginX = 2;
    int FProgressMarginY = 2;
    bool FProgressXP = false;
    std::unique_ptr<THeaderAppearance> FDropDownHeader;
    std::unique_ptr<TFooterAppearance> FDropDownFooter;
};

enum TNodeType { cnFlat, cn3D, cnGlyph, cnLeaf, cnXP };

class TCellNode : public TPersistent {
public:
    explicit TCellNode(TProStringGrid* AGrid) : FOwner(AGrid) {}
    QString ClassName() const override { return QStringLiteral("TCellNode"); }
    void Assign(const TPersistent* Source) override
    {
        auto* s = dynamic_cast<const TCellNode*>(Source);
        if (!s) return;
        FColor = s->FColor;
        FExpandOne = s->FExpandOne;
        FNodeColor = s->FNodeColor;
        FShowTree = s->FShowTree;
        FNodeIndent = s->FNodeIndent;
        FNodeType = s->FNodeType;
        FShowTreeFull = s->FShowTreeFull;
        FTreeColor = s->FTreeColor;
        FExpandGlyph.Assign(s->FExpandGlyph);
        FContractGlyph.Assign(s->FContractGlyph);
    }
    GRID_FIELD(TColor, Color, clSilver)
    GRID_FIELD(TColor, NodeColor, clBlack)
    // Expanding a node first contracts every other expanded node.
    GRID_FIELD(bool, ExpandOne, false)
    // The glyph look and the tree lines; a changed value repaints the grid.
    bool ShowTree() const { return FShowTree; }
    void SetShowTree(bool v);
    int NodeIndent() const { return FNodeIndent; }
    void SetNodeIndent(int v);
    TNodeType NodeType() const { return FNodeType; }
    void SetNodeType(TNodeType v);
    bool ShowTreeFull() const { return FShowTreeFull; }
    void SetShowTreeFull(bool v);
    TColor TreeColor() const { return FTreeColor; }
    void SetTreeColor(TColor v);
    TBitmap* ExpandGlyph() { return &FExpandGlyph; }
    TBitmap* ContractGlyph() { return &FContractGlyph; }
    void SetExpandGlyph(const TBitmap& v) { FExpandGlyph.Assign(v); }
    void SetContractGlyph(const TBitmap& v) { FContractGlyph.Assign(v); }

private:
    void Changed();
    TProStringGrid* FOwner;
    bool FShowTree = true;
    int FNodeIndent = 12;
    TNodeType FNodeType = cnXP;
    bool FShowTreeFull = true;
    TColor FTreeColor = 0x808080;
    TBitmap FExpandGlyph, FContractGlyph;
};

class TSizeWhileTyping : public TPersistent {
public:
    QString ClassName() const override { return QStringLiteral("TSizeWhileTyping"); }
    void Assign(const TPersistent* Source) override
    {
        if (auto* s = dynamic_cast<const TSizeWhileTyping*>(Source)) *this = *s;
    }
    GRID_FIELD(bool, Height, false)
    GRID_FIELD(bool, Width, false)
};

// THTMLPictureCache (pictures of mini-HTML cells, loaded once) is in grid/base/pictures.h,
// beside the renderer that fills it.

enum TBackgroundDisplay { bdTile, bdFixed, bdGradientHorz, bdGradientVert };
// Which cells show the background.
enum TBackGroundCells { bcNormal, bcFixed, bcAll };

// A picture placed or tiled behind the cells, or a gradient across the whole grid
// (background.cpp).  Every setter repaints the grid.
class TBackGround : public TPersistent {
public:
    explicit TBackGround(TProStringGrid* AGrid) : FGrid(AGrid) {}
    QString ClassName() const override { return QStringLiteral("TBackGround"); }
    void Assign(const TPersistent* Source) override;
    int Top() const { return FTop; }
    void SetTop(int v);
    int Left() const { return FLeft; }
    void SetLeft(int v);
    TBackgroundDisplay Display() const { return FDisplay; }
    void SetDisplay(TBackgroundDisplay v);
    TBackGroundCells Cells() const { return FCells; }
    void SetCells(TBackGroundCells v);
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor v);
    TColor Color() const { return FColor; }
    void SetColor(TColor v);
    TBitmap* Bitmap() { return &FBitmap; }
    const TBitmap* Bitmap() const { return &FBitmap; }
    void SetBitmap(const TBitmap& v);

private:
    void Changed();
    TProStringGrid* FGrid;
    int FTop = 0;
    int FLeft = 0;
    TBackgroundDisplay FDisplay = bdTile;
    TBackGroundCells FCells = bcNormal;
    TColor FColorTo = clBtnFace;
    TColor FColor = clWindow;
    TBitmap FBitmap;
};

// The options of the balloon hints: delays of -1 and colours of clNone leave the platform's.
class TBalloonSettings : public TPersistent {
public:
    QString ClassName() const override { return QStringLiteral("TBalloonSettings"); }
    // Copies all but Transparency from other balloon settings, Enable without the event.
    void Assign(const TPersistent* Source) override;
    TNotifyEvent OnEnableChange;
    bool Init() const { return FInit; }
    void SetInit(bool v) { FInit = v; }
    TColor BackgroundColor() const { return FBackgroundColor; }
    void SetBackgroundColor(TColor v) { FBackgroundColor = v; }
    TColor TextColor() const { return FTextColor; }
    void SetTextColor(TColor v) { FTextColor = v; }
    int ReshowDelay() const { return FReshowDelay; }
    void SetReshowDelay(int v) { FReshowDelay = v; }
    int InitialDelay() const { return FInitialDelay; }
    void SetInitialDelay(int v) { FInitialDelay = v; }
    int AutoHideDelay() const { return FAutoHideDelay; }
    void SetAutoHideDelay(int v) { FAutoHideDelay = v; }
    uint8_t Transparency() const { return FTransparency; }
    void SetTransparency(uint8_t v) { FTransparency = v; }
    bool Enable() const { return FEnable; }
    // Fires OnEnableChange on every call, changed or not.
    void SetEnable(bool v)
    {
        FEnable = v;
        FireNotify(OnEnableChange, this);
    }

private:
    bool FInit = false;
    TColor FBackgroundColor = clNone;
    TColor FTextColor = clNone;
    int FReshowDelay = -1;
    int FInitialDelay = -1;
    int FAutoHideDelay = -1;
    uint8_t FTransparency = 0;
    bool FEnable = false;
};

// ---- child windows ----

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

// The search footer panel along the grid's bottom edge, with its find buttons and its
// match-case box; the grid's search footer settings are copied into it.
class TSearchPanel : public QWidget {
public:
    explicit TSearchPanel(QWidget* AOwner);
    TColor Color() const { return FColor; }
    void SetColor(TColor v) { FColor = v; update(); }
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor v) { FColorTo = v; update(); }
    std::function<void()> OnEditChange, OnBackwardClick, OnForwardClick, OnExitClick, OnHighLightClick;

    TProGridButton* FForwardButton = nullptr;
    TProGridButton* FBackwardButton = nullptr;
    TProGridButton* FHiliteButton = nullptr;
    TProGridButton* FExitButton = nullptr;
    TProCheckBox* FMatchCase = nullptr;
    QString FFindNextCaption, FFindPrevCaption, FMatchCaseCaption, FHighLightCaption;
    QString FHintFindNext, FHintFindPrev, FHintClose, FHintHighlight;

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    TColor FColor = clBtnFace;
    TColor FColorTo = clNone;
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

class TDropList : public QListWidget {
public:
    explicit TDropList(QWidget* AParent) : QListWidget(AParent) { resize(0, 0); hide(); }
    std::function<void(int ItemIndex)> OnSelect;
};

class TDropCheckList : public QListWidget {
public:
    explicit TDropCheckList(QWidget* AParent) : QListWidget(AParent) { resize(0, 0); hide(); }
    std::function<void(int ItemIndex)> OnSelect;
};

// Own colours of an editor's button (face, hot face, pressed face, border), clNone = the
// platform's.
struct TButtonColors {
    TColor ButtonColor = clNone;
    TColor ButtonColorHot = clNone;
    TColor ButtonColorDown = clNone;
    TColor ButtonBorderColor = clNone;
};

// In-place editor controls, created hidden and disabled over the grid.

// The grid's combo editor: turns its keys into the grid's commit, cancel and navigation
// steps (grid_combo.cpp).  The keys reach it through an event filter on itself and on its
// list, because an open list takes the keys before the combo box sees them.
class TGridCombo : public TPsgComboBox {
public:
    explicit TGridCombo(TProStringGrid* AOwner);
    TProStringGrid* Grid() const { return FGrid; }
    void SizeDropDownWidth();
    void DoChange() {}
    // The key steps; Key 0 means consumed.
    void HandleKeyDown(int& Key, TShiftState Shift);
    void HandleKeyPress(QChar& Key);
    void HandleExit();
    std::function<void(QObject* Sender)> OnReturnKey;
    bool Forced = false;
    bool WorkMode = true;
    int ItemIdx = -1;
    bool ItemChange = false;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
    bool event(QEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;

private:
    bool RouteKey(QKeyEvent* e);
    TProStringGrid* FGrid;
};

// The editors of header cells (editor_link.cpp): leaving one ends the edit, which stores
// the text into the header cell unless OnCellValidate refuses it.
class TGridTransEdit : public QLineEdit {
public:
    explicit TGridTransEdit(TProStringGrid* AGrid);
    // Ends the edit; False when the value was refused and the editor stays.
    bool StopEdit();
    TProStringGrid* FGrid = nullptr;
    int FRow = -1, FCol = -1;

protected:
    bool event(QEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
};

class TGridTransCombo : public QComboBox {
public:
    explicit TGridTransCombo(TProStringGrid* AGrid);
    bool StopEdit();
    TProStringGrid* FGrid = nullptr;
    int FRow = -1, FCol = -1;

protected:
    bool event(QEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
};

class TGridCheckBox : public QCheckBox {
public:
    explicit TGridCheckBox(QWidget* AParent) : QCheckBox(AParent) { setEnabled(false); hide(); }
};

class TGridEditBtn : public QLineEdit {
public:
    explicit TGridEditBtn(QWidget* AParent) : QLineEdit(AParent) { setFrame(false); setEnabled(false); hide(); }
    QString ButtonCaption = QStringLiteral("...");
    bool IsWinXP = false;
    TButtonColors Button;
};

class TGridUnitEditBtn : public TGridEditBtn {
public:
    explicit TGridUnitEditBtn(QWidget* AParent) : TGridEditBtn(AParent) {}
    std::function<void(const QString& NewUnit)> OnUnitChanged;
};

class TGridButton : public QPushButton {
public:
    explicit TGridButton(QWidget* AParent) : QPushButton(AParent) { setEnabled(false); hide(); }
    std::function<void()> OnClick;
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

// The editors of the form controls in a cell's mini-HTML text (cell_controls.cpp): Tab moves
// on to the cell's next control, Enter and Escape end the edit and stay with the grid.
class TControlEdit : public QLineEdit {
public:
    explicit TControlEdit(TProStringGrid* AGrid);

protected:
    bool event(QEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    TProStringGrid* FGrid;
};

class TControlCombo : public QComboBox {
public:
    explicit TControlCombo(TProStringGrid* AGrid);

protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    TProStringGrid* FGrid;
};
