#pragma once
// The looks a string grid owns: how it draws its in-cell controls and fixed-cell gradients,
// the looks its drop-down editors take over, and the background behind its cells.
#include "grid/base/grid_settings.h"
// the looks of the drop-down editors' header and footer, which the control look hands on
#include "grid/controls/dropdown_form.h"
#include "platform/ui/canvas.h"

#include <memory>

class TProStringGrid;

enum TControlStyle { csClassic, csFlat, csWinXP, csBorland, csZUZ, csGlyph, csTheme };

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
