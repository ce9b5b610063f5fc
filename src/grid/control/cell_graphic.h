#pragma once
// The one graphic object a cell may carry: its kind decides what the cell draws besides or
// instead of its text and what a click on it does.  Several fields serve several kinds as
// plain numbers or colours; see the kinds' own operations.
#include "grid/base/grid_controls.h"
#include "platform/core/classes.h"
#include "platform/ui/canvas.h"

#include <QVariant>
#include <cstdint>
#include <functional>

enum TCellType : uint8_t {
    ctBitmap, ctIcon, ctNone, ctImageList, ctCheckBox, ctDataCheckBox, ctRotated, ctDataImage, ctNode, ctRadio,
    ctEmpty, ctImages, ctPicture, ctFilePicture, ctValue, ctProgress, ctComment, ctButton, ctBitButton,
    ctVirtCheckBox, ctRowCheckBox, ctProgressPie, ctSummary, ctRangeIndicator, ctXPProgress, ctInterface,
    ctScrollbar, ctRadioButton, ctBalloon, ctShape, ctRating, ctTriStateCheckBox, ctExpand
};
enum TCellHAlign { haLeft, haRight, haCenter, haBeforeText, haAfterText, haFull };
enum TCellVAlign { vaTop, vaBottom, vaCenter, vaUnderText, vaAboveText, vaFull };

// How a picture is fitted into its cell.
enum TStretchMode { noStretch, Stretch, StretchWithAspectRatio, Shrink, ShrinkWithAspectRatio };

class TProStringGrid;

// What an object placed in a cell (ctInterface) offers: it draws itself and tells its size.
class ICellGraphic {
public:
    virtual ~ICellGraphic() = default;
    virtual void Draw(TCanvas* Canvas, const TRect& R, TProStringGrid* Grid, bool Selected, int ARow, int ACol) = 0;
    virtual int CellWidth() = 0;
    virtual int CellHeight() = 0;
};

// Base of the objects a cell can hold by interface; the grid draws only those that also
// implement ICellGraphic.
class TInterfacedPersistent : public TPersistent {
public:
    QString ClassName() const override { return QStringLiteral("TInterfacedPersistent"); }
};

inline TCheckBoxState BoolToCheckBoxState(bool bChecked) { return bChecked ? cbChecked : cbUnchecked; }

class TCellGraphic : public TPersistent {
public:
    TCellGraphic() = default;
    ~TCellGraphic() override;
    TCellGraphic(const TCellGraphic&) = delete;
    TCellGraphic& operator=(const TCellGraphic&) = delete;
    QString ClassName() const override { return QStringLiteral("TCellGraphic"); }
    // Copies the kind and the plain fields of another graphic; the objects, the variant and
    // the tri-state value stay.
    void Assign(const TPersistent* Source) override;

    TCellType CellType() const { return FCellType; }
    void SetCellType(TCellType v) { FCellType = v; }
    // The kind's object: a bitmap, the options of a radio group (TGridStrings), an image index
    // list, a picture, an interfaced object.
    TObject* CellBitmap() const { return FCellBitmap; }
    void SetCellBitmap(TObject* v) { FCellBitmap = v; }
    TObject* CellIcon() const { return FCellIcon; }
    void SetCellIcon(TObject* v) { FCellIcon = v; }
    TCellVAlign CellVAlign() const { return FCellVAlign; }
    void SetCellVAlign(TCellVAlign v) { FCellVAlign = v; }
    TCellHAlign CellHAlign() const { return FCellHAlign; }
    void SetCellHAlign(TCellHAlign v) { FCellHAlign = v; }
    int CellIndex() const { return FCellIndex; }
    void SetCellIndex(int v) { FCellIndex = v; }
    bool CellTransparent() const { return FCellTransparent; }
    void SetCellTransparent(bool v) { FCellTransparent = v; }
    bool CellCreated() const { return FCellCreated; }
    void SetCellCreated(bool v) { FCellCreated = v; }
    bool CellBoolean() const { return FCellBoolean; }
    void SetCellBoolean(bool v) { FCellBoolean = v; }
    int CellAngle() const { return FCellAngle; }
    void SetCellAngle(int v) { FCellAngle = v; }
    double CellValue() const { return FCellValue; }
    void SetCellValue(double v) { FCellValue = v; }
    int CellErrFrom() const { return FCellErrFrom; }
    void SetCellErrFrom(int v) { FCellErrFrom = v; }
    int CellErrLen() const { return FCellErrLen; }
    void SetCellErrLen(int v) { FCellErrLen = v; }
    QString CellText() const { return FCellText; }
    void SetCellText(const QString& v) { FCellText = v; }
    QVariant CellVar() const { return FCellVar; }
    void SetCellVar(const QVariant& v) { FCellVar = v; }
    TCheckBoxState CellCheckBoxState() const { return FCellCheckBoxState; }
    void SetCellCheckBoxState(TCheckBoxState v) { FCellCheckBoxState = v; }

    // Each setter gives the graphic its kind and the listed fields and leaves the others.
    void SetBitmap(TObject* ABmp, bool Transparent, TCellHAlign hal, TCellVAlign val);
    void SetIcon(TObject* aicon, TCellHAlign hal, TCellVAlign val);
    void SetImageIdx(int idx, TCellHAlign hal, TCellVAlign val);
    void SetDataImage(int idx, TCellHAlign hal, TCellVAlign val);
    void SetMultiImage(int Col, int Row, int dir, TCellHAlign hal, TCellVAlign val, const std::function<void(TObject* Sender, int ACol, int ARow)>& Notifier);
    void SetPicture(TObject* APicture, bool Transparent, int StretchMode, int padding, TCellHAlign hal,
                    TCellVAlign val);
    void SetFilePicture(TObject* APicture, bool Transparent, int stretchmode, int padding, TCellHAlign hal,
                        TCellVAlign val);
    void SetButton(int bw, int bh, const QString& caption, TCellHAlign hal, TCellVAlign val);
    void SetBitButton(int bw, int bh, const QString& caption, TObject* Glyph, TCellHAlign hal, TCellVAlign val);
    void SetCheckBox(bool Value, bool Data, bool Flat, TCellHAlign hal, TCellVAlign val);
    void SetCheckBox(TCheckBoxState Value, bool Flat, TCellHAlign hal, TCellVAlign val);
    void SetRadioButton(bool Value, bool Flat, TCellHAlign hal, TCellVAlign val);
    // Angles are kept in 0..360 (360 stays 360).
    void SetAngle(int16_t AAngle);
    void SetInterfacedCell(TObject* AObject);

    // Drawn size of a picture kind fitted into a cw x rh cell by its stretch mode and padding;
    // other kinds answer Default.
    TPoint GetPictureSize(int cw, int rh, bool hastext, TPoint Default = {}) const;

    // The kind's object when it is a check box's or radio button's balloon list.
    void FreeBalloonList();

private:
    TCellType FCellType = ctNone;
    TObject* FCellBitmap = nullptr;
    TObject* FCellIcon = nullptr;
    TCellVAlign FCellVAlign = vaTop;
    TCellHAlign FCellHAlign = haLeft;
    int FCellIndex = 0;
    bool FCellTransparent = false;
    bool FCellCreated = false;
    bool FCellBoolean = false;
    int FCellAngle = 0;
    double FCellValue = 0;
    int FCellErrFrom = 0;
    int FCellErrLen = 0;
    QString FCellText;
    QVariant FCellVar;
    TCheckBoxState FCellCheckBoxState = cbUnchecked;
};
