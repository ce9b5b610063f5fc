#pragma once
// What one cell's content drawing shares between its steps.
#include "grid/control/pro_string_grid.h"

struct TCellPaintContext {
    TCanvas* Canvas = nullptr;
    TRect Rect;               // the content rectangle; steps move its edges and put them back
    int DisplayCol = 0;
    int RealCol = 0;
    int Row = 0;
    TGridDrawState State;
    int SelectRow = 0;        // row of disjunct row-selection look-ups
    bool FilterGlyph = false;
    int ScrollOffset = 0;
    TAlignment HAlign = taLeftJustify;
    TVAlignment VAlign = vtaTop;
    bool WordWrap = false;
    TCellGradientDirection GradientDir = GradientVertical;
    TColor ColorTo = clNone;
    TColor MirrorColor = clNone;
    TColor MirrorColorTo = clNone;
    TCellGraphic* Graphic = nullptr;
    int GraphicWidth = 0;
    int GraphicHeight = 0;
    bool TextBeside = true;
    TCellHAlign GraphicHAlign = haLeft;
    TCellVAlign GraphicVAlign = vaTop;
    bool FixedLook = false;
    bool Styled = false;
    TColor SavedBrushColor = clNone;
    TColor SavedFontColor = clNone;
    TColor URLColor = clNone;
    int TextWidth = 0;
    int TextHeight = 0;
};
