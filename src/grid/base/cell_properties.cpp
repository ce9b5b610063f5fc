#include "grid/base/cell_properties.h"

#include "grid/base/base_grid.h"

TCellProperties::TCellProperties(TBaseGrid* AOwner, int ACol, int ARow)
    : FOwnerGrid(AOwner), FOwnerCol(ACol), FOwnerRow(ARow), FWordWrap(AOwner ? AOwner->WordWrap() : true)
{
    if (FOwnerGrid) FOwnerGrid->FHasCellProps = true;
}

void TCellProperties::Assign(const TPersistent* Source)
{
    const auto* s = dynamic_cast<const TCellProperties*>(Source);
    if (!s) return;
    FIsBaseCell = s->FIsBaseCell;
    FCellSpanX = s->FCellSpanX;
    FCellSpanY = s->FCellSpanY;
    FOwnerRow = s->FOwnerRow;
    FOwnerCol = s->FOwnerCol;
    FObject = s->FObject;
    FAlignment = s->FAlignment;
    FBorderColor = s->FBorderColor;
    FBorderWidth = s->FBorderWidth;
    FBrushColor = s->FBrushColor;
    FBrushStyle = s->FBrushStyle;
    FFontColor = s->FFontColor;
    FFontStyle = s->FFontStyle;
    FFontName = s->FFontName;
    FFontSize = s->FFontSize;
    FReadOnly = s->FReadOnly;
    FEditor = s->FEditor;
    FVAlignment = s->FVAlignment;
    FWordWrap = s->FWordWrap;
    FNodeLevel = s->FNodeLevel;
    FControl = s->FControl;
}

TPoint TCellProperties::GetBaseCell(int ACol, int ARow) const
{
    if (!FIsBaseCell && FCellSpanX != -1 && FCellSpanY != -1) return {ACol - FCellSpanX, ARow - FCellSpanY};
    return {ACol, ARow};
}

void TCellProperties::RepaintOwnerCell()
{
    if (FOwnerGrid) FOwnerGrid->RepaintCell(FOwnerCol, FOwnerRow);
}

void TCellProperties::SetBrushColor(TColor v)
{
    FBrushColor = v;
    RepaintOwnerCell();
}

void TCellProperties::SetBrushColorTo(TColor v)
{
    FBrushColorTo = v;
    RepaintOwnerCell();
}

void TCellProperties::SetVAlignment(TVAlignment v)
{
    FVAlignment = v;
    RepaintOwnerCell();
}

void TCellProperties::SetWordWrap(bool v)
{
    FWordWrap = v;
    RepaintOwnerCell();
}
