#pragma once
// Everything about one cell apart from its text: made on first use, so a grid of plain
// texts carries no per-cell objects.
#include "platform/core/classes.h"
#include "platform/ui/canvas.h"

class QWidget;
class TBaseGrid;

#ifndef FABRICAT_TALIGNMENT_DEFINED
#define FABRICAT_TALIGNMENT_DEFINED

#endif
enum TVAlignment { vtaTop, vtaCenter, vtaBottom };
enum TCellGradientDirection { GradientVertical, GradientHorizontal };
enum TColumnCalcType { acNONE, acSUM, acAVG, acCOUNT, acMIN, acMAX, acSPREAD, acCUSTOM, acDISTINCT, acSTDDEV };

// In-place editor kinds.
enum TEditorType {
    edNormal, edSpinEdit, edComboEdit, edComboList, edEditBtn, edCheckBox, edDateEdit, edDateEditUpDown,
    edTimeEdit, edButton, edDataCheckBox, edNumeric, edPositiveNumeric, edFloat, edCapital, edMixedCase,
    edPassword, edUnitEditBtn, edLowerCase, edUpperCase, edFloatSpinEdit, edTimeSpinEdit, edDateSpinEdit,
    edNumericEditBtn, edFloatEditBtn, edCustom, edRichEdit, edNone, edDateTimeEdit, edValidChars,
    edTrackbarDropDown, edMemoDropDown, edCalculatorDropDown, edTimePickerDropDown, edDetailDropDown,
    edGridDropDown, edColorPickerDropDown, edImagePickerDropDown, edProGridDropDown, edPositiveFloat,
    edNumericUnitEditBtn, edFloatUnitEditBtn, edMaskEditBtn
};

class TCellProperties : public TPersistent {
public:
    TCellProperties(TBaseGrid* AOwner, int ACol, int ARow);
    QString ClassName() const override { return QStringLiteral("TCellProperties"); }
    // Copies the cell's look, spans and objects from another properties object; the graphic,
    // gradient end, paint pass and calculation stay.
    void Assign(const TPersistent* Source) override;

    // Base cell of a merged block, from the coordinates given (not the owner's).
    TPoint GetBaseCell(int ACol, int ARow) const;

    TBaseGrid* OwnerGrid() const { return FOwnerGrid; }
    int OwnerCol() const { return FOwnerCol; }
    void SetOwnerCol(int v) { FOwnerCol = v; }
    int OwnerRow() const { return FOwnerRow; }
    void SetOwnerRow(int v) { FOwnerRow = v; }

    uintptr_t CellObject() const { return FObject; }
    void SetCellObject(uintptr_t v) { FObject = v; }
    TObject* GraphicObject() const { return FGraphicObject; }
    void SetGraphicObject(TObject* v) { FGraphicObject = v; }

    TBrushStyle BrushStyle() const { return FBrushStyle; }
    void SetBrushStyle(TBrushStyle v) { FBrushStyle = v; }
    TColor BrushColor() const { return FBrushColor; }
    void SetBrushColor(TColor v);
    TColor BrushColorTo() const { return FBrushColorTo; }
    void SetBrushColorTo(TColor v);
    int FontSize() const { return FFontSize; }
    void SetFontSize(int v) { FFontSize = v; }
    TColor FontColor() const { return FFontColor; }
    void SetFontColor(TColor v) { FFontColor = v; }
    TFontStyles FontStyle() const { return FFontStyle; }
    void SetFontStyle(TFontStyles v) { FFontStyle = v; }
    QString FontName() const { return FFontName; }
    void SetFontName(const QString& v) { FFontName = v; }

    int CellSpanX() const { return FCellSpanX; }
    void SetCellSpanX(int v) { FCellSpanX = v; }
    int CellSpanY() const { return FCellSpanY; }
    void SetCellSpanY(int v) { FCellSpanY = v; }
    bool IsBaseCell() const { return FIsBaseCell; }
    void SetIsBaseCell(bool v) { FIsBaseCell = v; }

    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int v) { FBorderWidth = v; }
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor v) { FBorderColor = v; }
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment v) { FAlignment = v; }
    TVAlignment VAlignment() const { return FVAlignment; }
    void SetVAlignment(TVAlignment v);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool v);

    int PaintID() const { return FPaintID; }
    void SetPaintID(int v) { FPaintID = v; }
    TColumnCalcType CalcType() const { return FCalcType; }
    void SetCalcType(TColumnCalcType v) { FCalcType = v; }
    TObject* CalcObject() const { return FCalcObject; }
    void SetCalcObject(TObject* v) { FCalcObject = v; }
    int NodeLevel() const { return FNodeLevel; }
    void SetNodeLevel(int v) { FNodeLevel = v; }
    TEditorType Editor() const { return FEditor; }
    void SetEditor(TEditorType v) { FEditor = v; }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool v) { FReadOnly = v; }
    TCellGradientDirection GradientDirection() const { return FGradientDirection; }
    void SetGradientDirection(TCellGradientDirection v) { FGradientDirection = v; }
    QWidget* Control() const { return FControl; }
    void SetControl(QWidget* v) { FControl = v; }

private:
    void RepaintOwnerCell();

    TBaseGrid* FOwnerGrid;
    int FOwnerCol;
    int FOwnerRow;
    uintptr_t FObject = 0;
    TObject* FGraphicObject = nullptr;
    TBrushStyle FBrushStyle = bsSolid;
    TColor FBrushColor = clNone;
    TColor FBrushColorTo = clNone;
    int FFontSize = 0;
    TColor FFontColor = clNone;
    TFontStyles FFontStyle;
    int FCellSpanY = -1;
    int FCellSpanX = -1;
    int FBorderWidth = 0;
    TColor FBorderColor = 0;
    TAlignment FAlignment = taLeftJustify;
    TVAlignment FVAlignment = vtaTop;
    int FPaintID = 0;
    bool FWordWrap;
    bool FIsBaseCell = true;
    TColumnCalcType FCalcType = acNONE;
    TObject* FCalcObject = nullptr;
    int FNodeLevel = 0;
    TEditorType FEditor = edNormal;
    QString FFontName;
    bool FReadOnly = false;
    TCellGradientDirection FGradientDirection = GradientVertical;
    QWidget* FControl = nullptr;
};
