// What a cell shows inside the frame the base grid paints: the fixed-cell look, the row
// indicator and modified bar, text, borders, the cell's graphic (cell_graphic_drawing.cpp),
// the owner-draw events and the focus rectangle.
#include "grid/render/cell_drawing.h"

#include "grid/base/drawing_routines.h"
#include "grid/base/text_packing.h"

#include <algorithm>

void TProStringGrid::PaintGridCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState)
{
    const TRect r = ARect;
    TBaseGrid::PaintGridCell(ACol, ARow, r, AState);
}

// ---- content -------------------------------------------------------------------------------

void TProStringGrid::DrawCellContent(TCanvas* Canvas, int ACol, int ARow, TRect ARect, TGridDrawState AState)
{
    TCellPaintContext C;
    C.Canvas = Canvas;
    C.Rect = ARect;
    C.DisplayCol = ACol;
    C.RealCol = DisplToRealColumn(ACol);
    C.Row = ARow;
    C.State = AState;
    TMouseActions* ma = FMouseActions.get();
    C.SelectRow = ma->DisjunctRowSelect() && ma->RowSelectPersistent() ? DisplToRealRow(ARow) : ARow;
    C.FilterGlyph = ARow == FFilterDropDownRow && (FFilterDropDownAuto || OnGetColumnFilter) && GetFilterList(C.RealCol);
    TRect& R = C.Rect;
    TBrush* brush = Canvas->Brush();
    TFont* font = Canvas->Font();

    C.WordWrap = WordWrap();
    GetVisualProperties(ACol, ARow, C.State, false, false, true, brush, C.ColorTo, C.MirrorColor, C.MirrorColorTo, font,
                        C.HAlign, C.VAlign, C.WordWrap, C.GradientDir);
    C.Graphic = GetCellGraphicInfo(C.RealCol, ARow, C.GraphicWidth, C.GraphicHeight, C.TextBeside, C.GraphicHAlign,
                                   C.GraphicVAlign);

    if (C.State.Contains(gdSelected) && !C.State.Contains(gdFocused) && FSelectionColor == clNone)
        brush->SetColor(clHighlight);
    if (FZoomFactor != 0) font->SetSize(font->Size() + FZoomFactor);
    C.SavedBrushColor = brush->Color();
    C.SavedFontColor = font->Color();

    const int fixedCols = FixedCols(), fixedRows = FixedRows();
    C.FixedLook = IsFixed(ACol, ARow) || ACol < fixedCols || ARow < fixedRows;
    // The hover-row colour of the frame stays visible on fixed cells of the hover row.
    if (ARow == HoverRowIdx() && HoverRowCells().Contains(hcFixed)) C.FixedLook = false;

    const bool gradientLook =
        FLook == glZUZ || FLook == glXP || FLook == glVista || FLook == glWin7 || FLook == glOffice2007;
    if (C.FixedLook && !C.Styled && gradientLook) DrawFixedCellLook(C);
    if (C.FixedLook && !C.Styled && FLook == glListView && !FFlat) DrawListViewHeader(C);

    int indicatorWidth = 0;
    if (C.RealCol == 0 && GetRowEx() == ARow && fixedCols > 0 && FRowIndicator && !FRowIndicator->Empty() &&
        !(RowCount() == fixedRows && FFixedRowAlways)) {
        TBitmap* b = FRowIndicator.get();
        b->SetTransparent(true);
        int y = R.Top;
        if (FVAlignment == vtaCenter) y = R.Top + (R.Height() - b->Height()) / 2;
        else if (FVAlignment == vtaBottom) y = R.Bottom - b->Height();
        // Right to left, the indicator takes the cell's right end.
        Canvas->Draw(MirrorInCell(Bounds(R.Left + 2, y, b->Width(), b->Height()), R).Left, y, *b);
        indicatorWidth = b->Width();
        if (UseRightToLeftAlignment()) R.Right -= indicatorWidth + 2;
        else R.Left += indicatorWidth + 2;
    }

    if (ACol == 0 && FShowModified->Enabled() && GetRowModified(RealRowIndex(ARow))) {
        brush->SetColor(FShowModified->Color());
        Canvas->Pen()->SetColor(FShowModified->Color());
        Canvas->Rectangle(R.Right - 4, R.Top, R.Right, R.Bottom);
        brush->SetColor(C.SavedBrushColor);
    }

    if (OnCustomCellBkgDraw) OnCustomCellBkgDraw(this, Canvas, C.RealCol, ARow, C.State, R, false);

    const int leftBeforeButtons = R.Left, rightBeforeButtons = R.Right;
    DrawAlwaysVisibleButtons(C);

    const bool ownerDraws = (OnDrawCell || OnCustomCellDraw) && FNoDefaultDraw;
    if (!(C.Graphic && FNoImageAndText) && !ownerDraws) DrawCellDefault(C);

    R.Left = leftBeforeButtons;
    R.Right = rightBeforeButtons;
    brush->SetColor(C.SavedBrushColor);
    font->SetColor(C.SavedFontColor);
    InflateRect(R, 1, 1);
    DrawCellBorders(C);
    if (indicatorWidth > 0 && UseRightToLeftAlignment()) R.Right += indicatorWidth;
    else if (indicatorWidth > 0) R.Left -= indicatorWidth;

    if (C.FixedLook && !FFlat) DrawFixedCellEdges(C);

    if (FFixedRightCols > 0 && C.RealCol >= ColCount() + FNumHidden - FFixedRightCols && FLook != glClassic && FFlat) {
        TPen* pen = Canvas->Pen();
        pen->SetColor(0x808080);
        pen->SetWidth(1);
        const TGridOptions o = Options();
        if (o.Contains(goFixedHorzLine)) {
            Canvas->MoveTo(R.Left - 1, R.Top - 1);
            Canvas->LineTo(R.Right + 1, R.Top - 1);
            Canvas->MoveTo(R.Left - 1, R.Bottom + 1);
            Canvas->LineTo(R.Right + 1, R.Bottom + 1);
        }
        if (o.Contains(goFixedVertLine)) {
            Canvas->MoveTo(R.Left - 1, R.Top - 1);
            Canvas->LineTo(R.Left - 1, R.Bottom + 1);
            Canvas->MoveTo(R.Right + 1, R.Top - 1);
            Canvas->LineTo(R.Right + 1, R.Bottom + 1);
        }
    }

    if (C.RealCol == 0 && ARow >= fixedRows && HasNodes() && FCellNode->ShowTree()) DrawTreeLines(C);

    if (C.Graphic) {
        TRect g = R;
        if (C.FixedLook) g.Top += 1;
        DrawCellGraphic(C, g);
        R = g;
    }

    if (OnDrawCell) {
        const int lw = GridLineWidth();
        OnDrawCell(this, C.RealCol, ARow, TRect{R.Left + 1, R.Top + 1, R.Right - lw, R.Bottom - lw}, C.State);
    }
    if (OnCustomCellDraw) OnCustomCellDraw(this, Canvas, C.RealCol, ARow, C.State, R, false);

    if (!FHideFocusRect) {
        int bc = C.RealCol, br = ARow;
        ResolveBaseCell(C.RealCol, ARow, bc, br);
        if (DisplColIndex(bc) == Col() && br == GetRowEx() && Focused() && !Options().Contains(goRowSelect) &&
            GetRowEx() >= fixedRows && Col() >= fixedCols) {
            const int lw = GridLineWidth();
            InflateRect(R, lw - 1, lw - 1);
            R.Right -= 1;
            R.Bottom -= 1;
            Canvas->DrawFocusRect(R);
        }
    }
}

void TProStringGrid::DrawFixedCellLook(TCellPaintContext& C)
{
    TRect& R = C.Rect;
    TCanvas* cv = C.Canvas;
    const int ACol = C.DisplayCol, ARow = C.Row;
    const bool hoverAllowed = FHoverFixedCells == hfAll || (FHoverFixedCells == hfFixedRows && ARow < FixedRows()) ||
                              (FHoverFixedCells == hfFixedColumns && ACol < FixedCols());
    const bool moving = GridState() == gsColMoving;
    const bool hovered = (FHoverFixedX == ACol && FHoverFixedY == ARow && !moving) || (moving && MoveIndex() == ACol);
    if (hoverAllowed && hovered && !FDesigning) {
        R.Bottom += 1;
        const bool pressed = FMouseDownMove || moving;
        const bool dropDown = pressed && FControlLook->FixedDropDownButton() && CanShowFixedDropDown(C.RealCol);
        auto hover = [&](const TRect& r, bool frame) {
            DrawGradientBackground(cv, r, FProGradHoverFrom, FProGradHoverTo, FProGradHoverMirrorFrom,
                                   FProGradHoverMirrorTo, 1, frame ? FProGradHoverBorder : clNone, false, true);
        };
        auto down = [&](const TRect& r, bool frame) {
            DrawGradientBackground(cv, r, FProGradDownFrom, FProGradDownTo, FProGradDownMirrorFrom,
                                   FProGradDownMirrorTo, 1, frame ? FProGradDownBorder : clNone, false, true);
        };
        if (!pressed) {
            hover(R, true);
        } else if (dropDown) {
            const TRect left{R.Left, R.Top, R.Right - 16, R.Bottom}, right{R.Right - 16, R.Top, R.Right, R.Bottom};
            if (FDropDownDown) {
                down(right, false);
                hover(left, false);
            } else {
                down(left, false);
                hover(right, false);
            }
        } else {
            down(R, true);
        }
        if (dropDown) {
            TPen* pen = cv->Pen();
            pen->SetColor(FDropDownDown ? FProGradDownBorder : FProGradHoverBorder);
            cv->MoveTo(R.Right - 16, R.Top);
            cv->LineTo(R.Right - 16, R.Bottom);
            DrawDownTriangle(cv, R.Right - 8, R.Top + 8, clBlack);
            R.Right -= 16;
        }
        return;
    }
    if (FActiveCellShow && ((ACol + 1 == FixedCols() && FixedCols() > 0 && ARow == GetRowEx()) ||
                            (ARow + 1 == FixedRows() && FixedRows() > 0 && ACol == Col()))) {
        DrawGradientBackground(cv, R, FActiveCellColor, FActiveCellColorTo, clNone, clNone, 1, clNone, false, true);
        return;
    }
    const TColor border = FLook == glVista ? clWhite : clNone;
    TSortSettings* ss = FSortSettings.get();
    if (ss->Column() != -1 && ss->HeaderColor() != clNone && ss->Column() == C.RealCol && ARow == FixedRows() - 1 &&
        (ACol >= FixedCols() || ss->FixedCols())) {
        DrawGradientBackground(cv, R, ss->HeaderColor(), ss->HeaderColorTo(), ss->HeaderMirrorColor(),
                               ss->HeaderMirrorColorTo(), 1, clNone, false, true);
    } else if (!FFlat) {
        DrawGradientBackground(cv, R, cv->Brush()->Color(), C.ColorTo, C.MirrorColor, C.MirrorColorTo, 1, border, true,
                               true);
    }
}

void TProStringGrid::DrawAlwaysVisibleButtons(TCellPaintContext& C)
{
    TControlLook* cl = FControlLook.get();
    if (IsFixed(C.DisplayCol, C.Row) || !(cl->DropDownAlwaysVisible() || cl->SpinButtonsAlwaysVisible())) return;
    int look = cl->FlatButton() ? 2 : FIsWinXP ? 0 : 1;
    if (FFlat && FTones.Background.BrushColor != clNone) look = 3;
    bool editable = true;
    CanEditCell(C.RealCol, C.Row, editable);
    const int state = editable ? 0 : 3;
    TRect& R = C.Rect;
    // The routines draw a button at the right end of the rectangle they get, Inset pixels in;
    // right to left, that end is moved to where the mirrored button ends and the button's
    // room is taken from the cell's left.
    const bool rtl = UseRightToLeftAlignment();
    auto place = [&](TRect B, int Width, int Inset) {
        if (rtl) B.Right = MirrorInCell({B.Right - Inset - Width, 0, B.Right - Inset, 0}, R).Right + Inset;
        return B;
    };
    auto take = [&] {
        if (rtl) R.Left += 16;
        else R.Right -= 16;
    };
    if (cl->DropDownAlwaysVisible() && HasComboBox(C.RealCol, C.Row)) {
        DrawComboButton(C.Canvas, this, place(TRect{R.Left - 2, R.Top - 1, R.Right + 1, R.Bottom}, 17, 2), look, state,
                        FTones);
        take();
    }
    if (cl->SpinButtonsAlwaysVisible() && HasSpinEdit(C.RealCol, C.Row)) {
        DrawSpinButtons(C.Canvas, this, place(R, 15, 1), look, state, FTones);
        take();
    }
}

void TProStringGrid::DrawFixedCellEdges(TCellPaintContext& C)
{
    TRect& R = C.Rect;
    TCanvas* cv = C.Canvas;
    TPen* pen = cv->Pen();
    const TGridOptions o = Options();
    const TColor dark = DarkenColorHalf(FixedColor());
    switch (FLook) {
    case glClassic:
        R.Top -= 1;
        R.Bottom += 1;
        R.Left -= 1;
        cv->DrawEdge(R, BDR_RAISEDINNER, BF_LEFT);
        cv->DrawEdge(R, BDR_RAISEDINNER, BF_TOP);
        cv->DrawEdge(R, BDR_RAISEDOUTER | BDR_RAISEDINNER, BF_RIGHT | BF_BOTTOM);
        pen->SetColor(clBlack);
        cv->MoveTo(R.Right - 1, R.Top);
        cv->LineTo(R.Right - 1, R.Bottom - 1);
        cv->LineTo(R.Left - 1, R.Bottom - 1);
        break;
    case glZUZ:
    case glXP:
        R.Bottom += 1;
        if (o.Contains(goFixedHorzLine)) {
            pen->SetColor(dark);
            cv->MoveTo(R.Left, R.Bottom - 1);
            cv->LineTo(R.Right - 1, R.Bottom - 1);
            pen->SetColor(clWhite);
            cv->MoveTo(R.Right - 2, R.Top + 1);
            cv->LineTo(R.Left + 1, R.Top + 1);
            cv->LineTo(R.Left + 1, R.Bottom - 1);
        }
        break;
    case glSoft:
        R.Right += 1;
        R.Bottom += 1;
        if (o.Contains(goFixedHorzLine)) {
            pen->SetColor(dark);
            cv->MoveTo(R.Left, R.Bottom - 1);
            cv->LineTo(R.Right - 1, R.Bottom - 1);
            pen->SetColor(clWhite);
            cv->MoveTo(R.Right, R.Top + 1);
            cv->LineTo(R.Left + 1, R.Top + 1);
            cv->LineTo(R.Left + 1, R.Bottom - 1);
        }
        if (o.Contains(goFixedVertLine)) {
            pen->SetColor(dark);
            cv->MoveTo(R.Right - 2, R.Top);
            cv->LineTo(R.Right - 2, R.Bottom - 1);
            pen->SetColor(clWhite);
            cv->MoveTo(R.Right - 1, R.Top);
            cv->LineTo(R.Right - 1, R.Bottom - 1);
        }
        break;
    default:
        break;
    }
}

void TProStringGrid::DrawCellDefault(TCellPaintContext& C)
{
    TCanvas* cv = C.Canvas;
    TBrush* brush = cv->Brush();
    TFont* font = cv->Font();
    TRect& R = C.Rect;
    const int fixedCols = FixedCols(), fixedRows = FixedRows();
    const int lw = GridLineWidth();

    // D1: the selection look of the content.
    C.URLColor = FURLColor;
    const bool rowSelected = FMouseActions->DisjunctRowSelect() && GetRowSelect(C.SelectRow) &&
                             Options().Contains(goRowSelect) && fixedCols <= C.RealCol &&
                             C.RealCol < ColCount() - FFixedRightCols;
    if ((C.State.Contains(gdSelected) || rowSelected) && !IsFixed(RealToDisplColumn(C.RealCol), C.SelectRow)) {
        if (FShowSelection) {
            if (FSelectionColor != clNone) brush->SetColor(FSelectionColor);
            if (FSelectionTextColor != clNone && isEnabled()) font->SetColor(FSelectionTextColor);
            C.URLColor = FSelectionTextColor;
        } else if (!Focused() || HasCheckBox(C.RealCol, C.Row)) {
            brush->SetColor(C.SavedBrushColor);
            font->SetColor(C.SavedFontColor);
            C.URLColor = FURLColor;
        }
    }

    // D2: the text.
    QString text = GetFormattedCell(C.RealCol, C.Row);
    int kind = CellTextKind(text, FEnableHTML);
    if (kind == 3) {
        GetCellText(C.RealCol, C.Row, text);
        kind = CellTextKind(text, FEnableHTML);
    }
    bool password = false;
    IsPasswordCellHook(C.RealCol, C.Row, password);
    if (password) text.fill(FPasswordChar.isNull() ? QLatin1Char('*') : FPasswordChar);

    // D3
    TRect tr = R;
    if (C.FixedLook) {
        tr.Left += lw;
        tr.Top += lw;
    }

    // D4: the filter glyph.
    if (C.FilterGlyph) {
        TBitmap* glyph = FFilter->HasFilter(C.RealCol) ? FFilterDropDown->GlyphActive() : FFilterDropDown->Glyph();
        const TRect at = MirrorInCell({R.Right - 16, R.Top, R.Right, R.Top + 16}, R);
        if (glyph->Empty()) {
            DrawResourceBitmapTransparent(cv, FixedColor(), at, QStringLiteral("PSGFILT"));
        } else {
            glyph->SetTransparent(true);
            cv->Draw(at.Left, at.Top, *glyph);
        }
    }

    // D5: unselected cells of a disjunct selection take the grid's colours.
    if (C.RealCol >= fixedCols && C.Row >= fixedRows && !FMouseDown &&
        ((FMouseActions->DisjunctRowSelect() && !GetRowSelect(C.SelectRow)) ||
         (FMouseActions->DisjunctColSelect() && !GetColSelect(C.DisplayCol)))) {
        C.URLColor = FURLColor;
        brush->SetColor(Color());
        font->SetColor(Font()->Color());
        GetCellColor(C.RealCol, C.Row, C.State, brush, font);
    }

    // D6: background picture or gradient.
    DrawCellBackground(C);

    // D7: the selection rectangle.
    if (FSelectionRectangle && !C.FixedLook) DrawSelectionRectangle(C);

    if (!C.TextBeside) return;

    // D8: room for the offset and the graphic.
    tr.Left += FXYOffset.X;
    if (!FXYOffsetTopLeftOnly) tr.Right -= FXYOffset.X;
    tr.Top += FXYOffset.Y;
    C.TextHeight = cv->TextHeight(QStringLiteral("hg"));
    switch (C.Graphic ? C.GraphicHAlign : haLeft) {
    case haBeforeText:
        tr.Left += C.GraphicWidth;
        break;
    case haAfterText:
        tr.Right -= C.GraphicWidth;
        break;
    default:
        break;
    }
    if (C.Graphic && C.GraphicVAlign == vaAboveText) tr.Top += C.GraphicHeight;
    if (C.Graphic && C.GraphicVAlign == vaUnderText) tr.Bottom -= C.GraphicHeight;
    int sortShift = 0;
    if (C.Graphic && (C.GraphicHAlign == haLeft || (C.GraphicHAlign == haBeforeText && C.HAlign == taLeftJustify)))
        sortShift = C.GraphicWidth;
    if (C.RealCol == 0 && HasNodes() && GetCellType(0, C.Row) != ctNode) tr.Left += GetRowIndent(C.Row);

    if (kind == 1) {
        if (C.FilterGlyph) tr.Right -= 18;
        tr.Left -= 1;
        const TRect saved = R;
        R = HtmlRectRightToLeft(cv, text, tr, saved);
        DrawHTMLCell(C, text);
        R = saved;
        return;
    }
    if (kind == 2) {
        cv->Pen()->SetColor(brush->Color());
        if (!(C.State.Contains(gdSelected) && !C.State.Contains(gdFocused) && FSelectionColor == clNone))
            cv->FillRect(tr);
        brush->SetStyle(bsClear);
        DrawRichTextCell(C.RealCol, C.Row, tr, cv);
        brush->SetStyle(bsSolid);
        font->SetColor(clBlack);
        return;
    }

    // D9: plain text.
    const bool sortCell = C.Row == FSortSettings->Row() && FSortSettings->Show() && C.RealCol == FSortSettings->Column();
    if (C.HAlign == taCenter && sortCell) tr.Left += 10;
    const bool link = FURLShow && IsURLText(GetCellEx(C.RealCol, C.Row));
    if (link) {
        if (!FURLFull) StripURLScheme(text);
        TFontStyles st = font->Style();
        st.Include(fsUnderline);
        font->SetStyle(st);
        font->SetColor(C.URLColor);
    }
    uint32_t flags = DT_EDITCONTROL;
    if (CountTextLines(text, FMultilinecells) == 1 && !C.WordWrap) {
        const int cr = int(text.indexOf(QLatin1Char('\r')));
        if (cr >= 0) text.truncate(cr);
        flags = DT_SINGLELINE;
        if (FEnhTextSize) flags |= DT_END_ELLIPSIS;
    }
    if (C.WordWrap && !FMultilinecells && FEnhTextSize) flags |= DT_END_ELLIPSIS;
    // Tabs are expanded; a text without one needs no expanding.
    if (text.contains(QLatin1Char('\t'))) flags |= DT_EXPANDTABS;
    flags |= DT_NOPREFIX;
    flags |= C.HAlign == taRightJustify ? DT_RIGHT : C.HAlign == taCenter ? DT_CENTER : DT_LEFT;
    const uint32_t vflag = C.VAlign == vtaCenter ? DT_VCENTER : C.VAlign == vtaBottom ? DT_BOTTOM : DT_TOP;
    flags |= vflag;
    FVAlign = vflag;
    if (C.WordWrap || FMultilinecells) flags |= DT_WORDBREAK | DT_EDITCONTROL;
    else flags |= DT_SINGLELINE;
    brush->SetStyle(bsClear);
    if (C.FilterGlyph) tr.Right -= 16;
    if (flags & DT_WORDBREAK) FitWrappedText(cv, text, tr, flags);
    // Right to left, the text keeps its insets on the mirrored side, reads right to left and
    // starts at the cell's right edge.
    if (UseRightToLeftAlignment()) {
        tr = MirrorInCell(tr, R);
        if (flags & DT_RIGHT) flags &= ~DT_RIGHT;
        else if (!(flags & DT_CENTER)) flags |= DT_RIGHT;
        flags |= DT_RTLREADING;
    }
    if (C.Graphic && !text.isEmpty()) {
        TRect calc = tr;
        cv->DrawText(text, calc, flags | DT_CALCRECT);
        C.TextWidth = calc.Width() + 2;
    }
    if (!text.isEmpty()) cv->DrawText(text, tr, flags);
    brush->SetStyle(bsSolid);

    int errPos = 0, errLen = 0;
    if (C.Graphic) GetMarker(C.RealCol, C.Row, errPos, errLen);
    if (errLen > 0 && (C.Graphic->CellType() == ctEmpty || C.Graphic->CellType() == ctValue))
        DrawMarkedRange(cv, text, tr, flags, C.TextHeight, errPos, errLen);

    if (IsSortIndicatorCell(C.RealCol, C.Row)) {
        TRect r = R;
        if (C.FilterGlyph) r.Right -= 16;
        const int w = std::max(0, std::min(r.Width() - 16, cv->TextWidth(text)));
        int x = r.Left + w + sortShift + 10;
        if (C.HAlign == taRightJustify) x = r.Right - w - 10;
        else if (C.HAlign == taCenter) x = r.Left + 8;
        int y = r.Top + 8;
        if (C.VAlign == vtaCenter) y = r.Top + r.Height() / 2;
        else if (C.VAlign == vtaBottom) y = r.Bottom - 8;
        // right to left the arrow sits on the mirrored side of the text
        if (UseRightToLeftAlignment()) x = SortIndicatorX(r.Left + r.Right - x);
        const int position = FSortIndexes->IndexOf(C.RealCol);
        if (position < 1 || FSortSettings->IndexShow()) DrawSortIndicator(cv, C.RealCol, x, y, R);
    }
    if (link) {
        TFontStyles st = font->Style();
        st.Exclude(fsUnderline);
        font->SetStyle(st);
    }
}

void TProStringGrid::DrawSelectionRectangle(TCellPaintContext& C)
{
    TGridRect sel = Selection();
    if (!(sel.Left <= C.DisplayCol && C.DisplayCol <= sel.Right && sel.Top <= C.Row && C.Row <= sel.Bottom)) return;
    // A selected block gets all four sides: the selection narrows to the block.
    if (IsMergedCell(C.RealCol, C.Row)) {
        const TPoint b = BaseCell(DisplToRealColumn(sel.Left), sel.Top);
        sel = TGridRect{RealToDisplColumn(b.X), b.Y, RealToDisplColumn(b.X), b.Y};
    }
    TCanvas* cv = C.Canvas;
    TPen* pen = cv->Pen();
    const TRect& R = C.Rect;
    const int lw = GridLineWidth();
    pen->SetColor(FSelectionRectangleColor);
    pen->SetWidth(2);
    const int right = C.DisplayCol == sel.Right ? R.Right - 1 : R.Right;
    if (C.DisplayCol == sel.Left) {
        cv->MoveTo(R.Left - lw + 1, R.Bottom);
        cv->LineTo(R.Left - lw + 1, R.Top - lw);
    }
    if (C.DisplayCol == sel.Right) {
        cv->MoveTo(R.Right - 1, R.Bottom);
        cv->LineTo(R.Right - 1, R.Top - lw);
    }
    if (C.Row == sel.Top) {
        cv->MoveTo(R.Left - lw, R.Top - lw + 1);
        cv->LineTo(right, R.Top - lw + 1);
    }
    if (C.Row == sel.Bottom) {
        cv->MoveTo(R.Left - lw, R.Bottom);
        cv->LineTo(right, R.Bottom);
    }
    if (FSelectionResizer && C.DisplayCol == sel.Right && C.Row == sel.Bottom) {
        cv->Brush()->SetColor(FSelectionRectangleColor);
        cv->FillRect(TRect{R.Right - 4, R.Bottom - 4, R.Right + 1, R.Bottom + 1});
    }
    pen->SetWidth(1);
}

void TProStringGrid::DrawCellBorders(TCellPaintContext& C)
{
    TCanvas* cv = C.Canvas;
    TPen pen;
    pen.Assign(*cv->Pen());
    TCellBorders borders;
    GetCellBorder(C.RealCol, C.Row, &pen, borders);
    if (borders.Empty()) return;
    TPen left, top, right, bottom;
    left.Assign(pen);
    top.Assign(pen);
    right.Assign(pen);
    bottom.Assign(pen);
    if (OnGetCellBorderProp) OnGetCellBorderProp(this, C.Row, C.RealCol, &left, &top, &right, &bottom);
    TPen saved;
    saved.Assign(*cv->Pen());
    TRect R = C.Rect;
    const int h = (pen.Width() + 1) / 2;
    const int hv = Options().Contains(goVertLine) ? h : 0;
    const int hh = Options().Contains(goHorzLine) ? h : 0;
    const int lw = GridLineWidth();
    R.Left += hv;
    R.Right -= hv;
    R.Bottom -= hh;
    if (borders.Contains(cbLeft)) {
        cv->SetPen(left);
        cv->MoveTo(std::max(0, R.Left), R.Top);
        cv->LineTo(std::max(0, R.Left), R.Bottom);
    }
    if (borders.Contains(cbRight)) {
        cv->SetPen(right);
        cv->MoveTo(R.Right - 1, R.Top);
        cv->LineTo(R.Right - 1, R.Bottom);
    }
    if (borders.Contains(cbTop)) {
        cv->SetPen(top);
        R.Top += hh;
        const int y = lw == 0 ? R.Top + 1 : std::max(0, R.Top - lw);
        cv->MoveTo(R.Left, y);
        cv->LineTo(R.Right, y);
    }
    if (borders.Contains(cbBottom)) {
        cv->SetPen(bottom);
        cv->MoveTo(R.Left - lw - 1, R.Bottom - 1);
        cv->LineTo(R.Right, R.Bottom - 1);
    }
    cv->SetPen(saved);
}
