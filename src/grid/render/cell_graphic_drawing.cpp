// The graphic of a cell: its size, its place beside, before, after, over or under the text,
// and how each kind draws; node glyphs and the tree lines of node rows; sizes for auto sizing
// and printing.
#include "grid/render/cell_drawing.h"

#include "grid/base/drawing_routines.h"
#include "platform/ui/image_list.h"

#include <algorithm>
#include <cmath>

namespace {

bool IsCheckKind(TCellType t)
{
    switch (t) {
    case ctCheckBox:
    case ctDataCheckBox:
    case ctVirtCheckBox:
    case ctRowCheckBox:
    case ctRadioButton:
    case ctTriStateCheckBox:
        return true;
    default:
        return false;
    }
}

// Colours kept in the graphic's object fields.
TColor ColorField(TObject* o) { return TColor(reinterpret_cast<intptr_t>(o)); }

ICellGraphic* DrawsItself(TCellGraphic* g) { return dynamic_cast<ICellGraphic*>(g->CellBitmap()); }

}  // namespace

int TProStringGrid::IsRotated(int ACol, int ARow)
{
    int angle = 0;
    return IsRotated(ACol, ARow, angle) ? angle : 0;
}

bool TProStringGrid::IsSortIndicatorCell(int RealCol, int ARow)
{
    return HasSortIndicator(RealCol, ARow) &&
           (RealCol == FSortSettings->Column() || FSortIndexes->IndexOf(RealCol) >= 0) && FixedRows() > 0 &&
           (RealCol >= FixedCols() || FSortSettings->FixedCols());
}

// ---- size and placement ----------------------------------------------------------------------

TCellGraphic* TProStringGrid::GetCellGraphicInfo(int ACol, int ARow, int& Width, int& Height, bool& TextBeside,
                                                 TCellHAlign& HAlign, TCellVAlign& VAlign)
{
    Width = Height = 0;
    TextBeside = true;
    HAlign = haLeft;
    VAlign = vaTop;
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g) return nullptr;
    HAlign = g->CellHAlign();
    VAlign = g->CellVAlign();
    const int check = FControlLook->CheckSize(), radio = FControlLook->RadioSize();
    auto size = [&](int w, int h) {
        Width = w;
        Height = h;
    };
    switch (g->CellType()) {
    case ctBitmap:
    case ctIcon:
        if (auto* b = dynamic_cast<TBitmap*>(g->CellType() == ctBitmap ? g->CellBitmap() : g->CellIcon()))
            size(b->Width(), b->Height());
        break;
    case ctImageList:
    case ctDataImage:
        if (TCustomImageList* il = GetGridImages(ACol, ARow)) size(il->Width(), il->Height());
        TextBeside = g->CellType() == ctImageList;
        break;
    case ctImages:
        if (TCustomImageList* il = GetGridImages(ACol, ARow)) {
            const int n = GetCellImages(ACol, ARow) ? GetCellImages(ACol, ARow)->Count() : 0;
            if (g->CellBoolean()) size(n * il->Width(), il->Height());
            else size(il->Width(), n * il->Height());
        }
        break;
    case ctCheckBox:
    case ctTriStateCheckBox:
        size(check, check);
        break;
    case ctDataCheckBox:
    case ctVirtCheckBox:
    case ctRowCheckBox:
        size(check, check);
        TextBeside = false;
        break;
    case ctRotated:
    case ctRadio:
    case ctProgress:
    case ctRangeIndicator:
    case ctXPProgress:
        TextBeside = false;
        break;
    case ctPicture:
    case ctFilePicture: {
        const TRect cell = CellRect(RealToDisplColumn(ACol), ARow);
        const TPoint p = g->GetPictureSize(cell.Width(), cell.Height(), true);
        size(p.X, p.Y);
        break;
    }
    case ctButton:
    case ctBitButton: {
        const auto s = uint32_t(g->CellIndex());
        size(int(s & 0xFFFFu), int(s >> 16));
        break;
    }
    case ctProgressPie:
        size(20, 20);
        break;
    case ctInterface:
        if (ICellGraphic* i = DrawsItself(g)) size(i->CellWidth(), i->CellHeight());
        break;
    case ctRadioButton:
        size(radio + 4, radio + 4);
        break;
    case ctShape: {
        const int side = RowHeights(ARow) - 2 * FXYOffset.Y;
        size(side, side);
        break;
    }
    case ctRating:
        size(g->CellAngle() * 18, 16);
        TextBeside = false;
        break;
    default:
        break;
    }
    return g;
}

// The graphic's rectangle in R for a W x H graphic: its own horizontal placement against the
// text's alignment and width, and the vertical one.
static TRect PlaceGraphic(const TRect& R, int W, int H, TCellHAlign HA, TCellVAlign VA, TAlignment TextHA, int TW)
{
    TRect G{R.Left + 1, R.Top + 1, R.Left + 1 + W, R.Top + 1 + H};
    const int width = R.Width();
    switch (HA) {
    case haRight:
        G.Right = R.Right - 1;
        G.Left = G.Right - W;
        break;
    case haCenter:
        G.Left = W < width ? R.Left + (width - W) / 2 : R.Left + 1;
        G.Right = G.Left + W;
        break;
    case haFull:
        G.Left = R.Left;
        G.Right = R.Right;
        break;
    case haBeforeText:
    case haAfterText: {
        const bool before = HA == haBeforeText;
        switch (TextHA) {
        case taLeftJustify: G.Left = before ? R.Left + 1 : R.Left + TW; break;
        case taRightJustify: G.Left = before ? R.Right - TW - W : R.Right - W - 1; break;
        case taCenter: G.Left = R.Left + (before ? 0 : TW) + (width - TW - W) / 2; break;
        }
        G.Right = G.Left + W;
        if (G.Left < R.Left) G.Left = R.Left + 1;
        break;
    }
    default:
        break;
    }
    switch (VA) {
    case vaBottom:
        G.Bottom = R.Bottom - 1;
        G.Top = G.Bottom - H;
        break;
    case vaCenter:
        G.Top = H < R.Height() ? R.Top + (R.Height() - H) / 2 : R.Top + 1;
        G.Bottom = G.Top + H;
        break;
    case vaUnderText:
        G.Top = R.Bottom - H;
        G.Bottom = R.Bottom;
        break;
    case vaFull:
        G.Top = R.Top;
        G.Bottom = R.Bottom;
        break;
    default:
        break;
    }
    return G;
}

// ---- drawing ---------------------------------------------------------------------------------

void TProStringGrid::DrawCellGraphic(TCellPaintContext& C, TRect& R)
{
    TCellGraphic* g = C.Graphic;
    if (!g) return;
    const TCellType kind = g->CellType();

    if (kind != ctNode && kind != ctProgress && kind != ctRangeIndicator && kind != ctXPProgress)
        InflateRect(R, -(FXYOffset.X - 1), -(FXYOffset.Y - 1));
    const TRect G = PlaceCellGraphic(C, R);
    bool enabled = true;
    const TControlStyle style = FControlLook->ControlStyle();
    if (IsCheckKind(kind)) CanEditCell(C.RealCol, C.Row, enabled);

    switch (kind) {
    case ctCheckBox:
    case ctRowCheckBox:
    case ctDataCheckBox:
    case ctVirtCheckBox:
    case ctTriStateCheckBox:
    case ctRadioButton:
    case ctRadio:
        DrawCheckGraphic(C, R, G, enabled, style);
        break;
    case ctBitmap:
    case ctIcon:
    case ctPicture:
    case ctFilePicture:
    case ctImageList:
    case ctDataImage:
    case ctImages:
        DrawPictureGraphic(C, G);
        break;
    case ctRotated:
        DrawRotatedCell(C, R, G);
        break;
    case ctNode:
        DrawNodeGlyph(C, R);
        break;
    case ctProgress:
        DrawProgressCell(C, R);
        break;
    case ctXPProgress:
    case ctRangeIndicator:
        DrawBarGraphic(C, R);
        break;
    case ctComment:
        DrawCommentMark(C, R);
        break;
    case ctButton:
    case ctBitButton:
    case ctExpand:
        DrawCellButton(C, R, G);
        break;
    case ctInterface:
        if (ICellGraphic* i = DrawsItself(g))
            i->Draw(C.Canvas, TRect{R.Left - 1, R.Top - 1, R.Right, R.Bottom}, this, C.State.Contains(gdSelected),
                    C.Row, C.RealCol);
        break;
    case ctProgressPie:
    case ctShape:
    case ctRating:
        DrawShapeGraphic(C, G);
        break;
    default:
        break;
    }
}

TRect TProStringGrid::PlaceCellGraphic(const TCellPaintContext& C, const TRect& R)
{
    TCellGraphic* g = C.Graphic;
    const TCellType kind = g->CellType();
    const int W = C.GraphicWidth, H = C.GraphicHeight;
    const int TW = C.TextWidth > 0 ? C.TextWidth + 2 : C.TextWidth;

    TCellVAlign va = g->CellVAlign();
    if (IsCheckKind(kind) && C.VAlign != FVAlignment)
        va = C.VAlign == vtaTop ? vaTop : C.VAlign == vtaCenter ? vaCenter : vaBottom;
    TRect G = PlaceGraphic(R, W, H, g->CellHAlign(), va, C.HAlign, TW);

    if (IsCheckKind(kind)) {
        // Check boxes follow the text's alignment, not their own.
        const bool dataKind = kind == ctDataCheckBox || kind == ctVirtCheckBox || kind == ctRowCheckBox;
        switch (C.HAlign) {
        case taLeftJustify:
            G.Left = R.Left + 1;
            break;
        case taRightJustify:
            G.Left = std::max(R.Left + 1, R.Right - (dataKind ? 0 : C.TextWidth) - W - 1);
            break;
        case taCenter:
            if (!dataKind && C.TextWidth >= 1)
                G.Left = std::max(R.Left + 1, R.Left + std::max(0, R.Right - C.TextWidth - R.Left) / 2 - W);
            else
                G.Left = R.Left + std::max(0, R.Right - W - R.Left) / 2;
            break;
        }
        G.Right = G.Left + W;
    }
    // Right to left, the graphic sits on the mirrored side of the cell.
    return MirrorInCell(G, R);
}

void TProStringGrid::DrawCheckGraphic(TCellPaintContext& C, const TRect& R, const TRect& G, bool Enabled,
                                      TControlStyle Style)
{
    TCellGraphic* g = C.Graphic;
    TCanvas* cv = C.Canvas;
    switch (g->CellType()) {
    // A glyph larger than its cell stays inside the cell (the clip R).
    case ctCheckBox:
    case ctRowCheckBox:
        DrawCheck(cv, GlyphRect(G), g->CellBoolean(), Enabled, g->CellAngle() > 0, Style, false, 0, R);
        break;
    case ctDataCheckBox:
    case ctVirtCheckBox: {
        QString checkTrue;
        GetCheckTrue(C.RealCol, C.Row, checkTrue);
        DrawCheck(cv, GlyphRect(G), GetCellEx(C.RealCol, C.Row) == checkTrue, Enabled, false, Style, false, 0, R);
        break;
    }
    case ctTriStateCheckBox:
        DrawCheck(cv, GlyphRect(G), false, Enabled, g->CellAngle() > 0, Style, true, g->CellCheckBoxState(), R);
        break;
    case ctRadioButton: {
        const int size = FControlLook->RadioSize();
        const TRect s{G.Left + FXYOffset.X, G.Top, G.Left + FXYOffset.X + size, G.Top + size};
        DrawRadio(cv, s, 1, g->CellBoolean() ? 0 : -1, false, !Enabled, nullptr, false, C.RealCol, C.Row, Style, 1.0,
                  false, R);
        break;
    }
    case ctRadio: {
        CanEditCell(C.RealCol, C.Row, Enabled);
        TGridStrings* items = GetRadioStrings(C.RealCol, C.Row);
        DrawRadio(cv, R, items ? items->Count() : 0, g->CellIndex(), g->CellBoolean(), !Enabled, items,
                  C.State.Contains(gdSelected), C.RealCol, C.Row, Style, 1.0, false, R);
        break;
    }
    default:
        break;
    }
}

void TProStringGrid::DrawPictureGraphic(TCellPaintContext& C, const TRect& G)
{
    TCellGraphic* g = C.Graphic;
    const TCellType kind = g->CellType();
    TCanvas* cv = C.Canvas;
    switch (kind) {
    case ctBitmap:
    case ctIcon: {
        auto* b = dynamic_cast<TBitmap*>(kind == ctBitmap ? g->CellBitmap() : g->CellIcon());
        if (!b || b->Empty()) break;
        // A picture larger than its cell is cut at the cell's edges.
        cv->SaveState();
        cv->IntersectClipRect(C.Rect);
        const bool kept = b->Transparent();
        if (kind == ctBitmap) b->SetTransparent(g->CellTransparent());
        cv->Draw(G.Left, G.Top, *b);
        if (kind == ctBitmap) b->SetTransparent(kept);
        cv->RestoreState();
        break;
    }
    case ctPicture: {
        auto* p = dynamic_cast<TPicture*>(g->CellBitmap());
        TBitmap* b = p ? p->Graphic() : nullptr;
        if (!b) break;
        cv->SaveState();
        cv->IntersectClipRect(C.Rect);
        if (g->CellAngle() != 0) cv->StretchDraw(G, *b);
        else cv->Draw(G.Left, G.Top, *b);
        cv->RestoreState();
        break;
    }
    case ctFilePicture:
        if (auto* p = dynamic_cast<TFilePicture*>(g->CellBitmap())) p->DrawPicture(cv, G);
        break;
    case ctImageList:
    case ctDataImage:
    case ctImages: {
        TCustomImageList* il = GetGridImages(C.RealCol, C.Row);
        if (!il) break;
        if (kind == ctImageList) {
            il->Draw(cv, G.Left, G.Top, g->CellIndex());
        } else if (kind == ctDataImage) {
            const int index = GetInts(C.RealCol, C.Row) + g->CellIndex();
            if (index < il->Count()) il->Draw(cv, G.Left, G.Top, index);
        } else if (TIntList* list = GetCellImages(C.RealCol, C.Row)) {
            int x = G.Left, y = G.Top;
            for (int i = 0; i < list->Count(); ++i) {
                il->Draw(cv, x, y, (*list)[i]);
                if (g->CellBoolean()) x += il->Width();
                else y += il->Height();
            }
        }
        break;
    }
    default:
        break;
    }
}

void TProStringGrid::DrawBarGraphic(TCellPaintContext& C, TRect& R)
{
    TCellGraphic* g = C.Graphic;
    TCanvas* cv = C.Canvas;
    if (g->CellType() == ctRangeIndicator) {
        InflateRect(R, -FControlLook->ProgressMarginX(), -FControlLook->ProgressMarginY());
        DrawValueBar(cv, R, GetInts(C.RealCol, C.Row), g->CellIndex(), g->CellBoolean(), ColorField(g->CellBitmap()),
                     ColorField(g->CellIcon()));
        return;
    }
    TGridProgressAppearance* pa = FProgressAppearance.get();
    ProgressDrawInfo info;
    info.Level0Color = pa->Level0Color();
    info.Level0ColorTo = pa->Level0ColorTo();
    info.Level1Color = pa->Level1Color();
    info.Level1ColorTo = pa->Level1ColorTo();
    info.Level2Color = pa->Level2Color();
    info.Level2ColorTo = pa->Level2ColorTo();
    info.Level3Color = pa->Level3Color();
    info.Level3ColorTo = pa->Level3ColorTo();
    info.Level1Perc = pa->Level1Perc();
    info.Level2Perc = pa->Level2Perc();
    info.BorderColor = pa->BorderColor();
    info.ShowBorder = pa->ShowBorder();
    info.Stacked = pa->Stacked();
    info.ShowPercentage = pa->ShowPercentage();
    info.CompletionSmooth = pa->CompletionSmooth();
    info.ShowGradient = pa->ShowGradient();
    info.Steps = pa->Steps();
    info.CompleteFontColor = pa->CompleteFontColor();
    info.Font = Font();
    info.BackgroundColor = pa->UnCompleteColor() != clNone ? pa->UnCompleteColor() : cv->Brush()->Color();
    info.Vertical = false;
    InflateRect(R, -FControlLook->ProgressMarginX(), -FControlLook->ProgressMarginY());
    R.Right -= 1;
    R.Bottom -= 1;
    const int span = g->CellErrLen() - g->CellErrFrom();
    const int value = GetInts(C.RealCol, C.Row);
    const int percent = span == 0 ? 0 : int(std::nearbyint(std::abs(value - g->CellErrFrom()) * 100.0 / span));
    DrawGradientProgress(cv, R, percent, info);
}

void TProStringGrid::DrawCommentMark(TCellPaintContext& C, const TRect& R)
{
    TCellGraphic* g = C.Graphic;
    TCanvas* cv = C.Canvas;
    const TColor look = FControlLook->CommentColor();
    if (look == clNone) return;
    const TColor mark = g->CellAngle() != clNone ? TColor(g->CellIndex()) : look;
    const int x = R.Right + FXYOffset.X, y = R.Top - FXYOffset.Y;
    cv->Brush()->SetColor(mark);
    cv->Brush()->SetStyle(bsSolid);
    cv->Pen()->SetColor(mark);
    cv->Polygon({{x - 8, y + 1}, {x - 3, y + 1}, {x - 3, y + 6}});
    cv->Brush()->SetColor(Color());
}

void TProStringGrid::DrawShapeGraphic(TCellPaintContext& C, const TRect& G)
{
    TCellGraphic* g = C.Graphic;
    TCanvas* cv = C.Canvas;
    switch (g->CellType()) {
    case ctProgressPie:
        DrawProgressPie(cv, Bounds(G.Left, G.Top, 20, 20), ColorField(g->CellBitmap()), g->CellAngle(), false);
        break;
    case ctShape:
        DrawShape(cv, G.Left, G.Top, G.Width() - 1, G.Height() - 1, TCellShape(g->CellAngle()), g->CellIndex(),
                  ColorField(g->CellBitmap()));
        break;
    case ctRating: {
        const double v = std::trunc(GetFloats(C.RealCol, C.Row) * 2) / 2;
        const TColor fill = g->CellIndex(), empty = ColorField(g->CellBitmap());
        for (int i = 0; i < g->CellAngle(); ++i) {
            const int x = G.Left + 18 * i;
            DrawShape(cv, x, G.Top, 16, 16, csStar, i + 1 <= v ? fill : empty, i + 1 <= v ? fill : empty);
            if (i < v && v < i + 1) DrawShape(cv, x, G.Top, 16, 16, csHalfStar, fill, fill);
        }
        break;
    }
    default:
        break;
    }
}

void TProStringGrid::DrawRotatedCell(TCellPaintContext& C, TRect& R, const TRect& G)
{
    TCellGraphic* g = C.Graphic;
    TCanvas* cv = C.Canvas;
    const QString text = GetCellEx(C.RealCol, C.Row);
    TRect origin = R;
    CalcRotatedTextOrigin(origin, g->CellAngle(), C.VAlign, C.HAlign, text);
    TFont kept;
    kept.Assign(*cv->Font());
    cv->Font()->SetOrientation(g->CellAngle() * 10);
    InflateRect(R, -2, -2);
    const TBrushStyle brushStyle = cv->Brush()->Style();
    cv->Brush()->SetStyle(bsClear);
    cv->TextRect(R, origin.Left, origin.Top, text);
    cv->Brush()->SetStyle(brushStyle);
    cv->SetFont(kept);
    if (IsSortIndicatorCell(C.RealCol, C.Row))
        DrawSortIndicator(cv, C.RealCol, SortIndicatorX(G.Right - 10), G.Top + 8, C.Rect);
}

void TProStringGrid::CalcRotatedTextOrigin(TRect& ARect, int Angle, TVAlignment VA, TAlignment HA,
                                           const QString& Text)
{
    InflateRect(ARect, -2, -2);
    const double a = Angle * M_PI / 180.0;
    const double w = Canvas()->TextWidth(Text), h = Canvas()->TextHeight(Text);
    // Corners of the text box turned counter-clockwise about its top-left corner.
    const double xs[4] = {0, w * std::cos(a), w * std::cos(a) + h * std::sin(a), h * std::sin(a)};
    const double ys[4] = {0, -w * std::sin(a), -w * std::sin(a) + h * std::cos(a), h * std::cos(a)};
    const double minX = *std::min_element(xs, xs + 4), maxX = *std::max_element(xs, xs + 4);
    const double minY = *std::min_element(ys, ys + 4), maxY = *std::max_element(ys, ys + 4);
    const int bw = int(std::lround(maxX - minX)), bh = int(std::lround(maxY - minY));
    int left = ARect.Left, top = ARect.Top;
    if (HA == taRightJustify) left = ARect.Right - bw;
    else if (HA == taCenter) left = ARect.Left + (ARect.Width() - bw) / 2;
    if (VA == vtaBottom) top = ARect.Bottom - bh;
    else if (VA == vtaCenter) top = ARect.Top + (ARect.Height() - bh) / 2;
    ARect.Left = left - int(std::lround(minX));
    ARect.Top = top - int(std::lround(minY));
}

void TProStringGrid::DrawProgressCell(TCellPaintContext& C, TRect& R)
{
    TCellGraphic* g = C.Graphic;
    TCanvas* cv = C.Canvas;
    const double value = GetFloats(C.RealCol, C.Row);
    TControlLook* cl = FControlLook.get();
    const TControlStyle style = cl->ControlStyle();
    if ((style == csWinXP || style == csTheme) && FIsWinXP && cl->ProgressXP()) {
        InflateRect(R, -cl->ProgressMarginX(), -cl->ProgressMarginY());
        cv->DrawThemeBackground(this, QStringLiteral("progress"), 1, 0, R);
        InflateRect(R, -2, -2);
        const int fill = int(std::nearbyint(std::clamp(value, 0.0, 100.0) * R.Width() / 100));
        cv->DrawThemeBackground(this, QStringLiteral("progress"), 3, 1, TRect{R.Left, R.Top, R.Left + fill, R.Bottom});
        return;
    }
    InflateRect(R, -2, -2);
    const TColor bar = ColorField(g->CellBitmap()), back = ColorField(g->CellIcon());
    const TColor barText = g->CellBoolean() ? TColor(g->CellIndex()) : TColor(ColorToRGB(bar) ^ 0xFFFFFF);
    const TColor backText = g->CellBoolean() ? TColor(g->CellAngle()) : TColor(ColorToRGB(back) ^ 0xFFFFFF);
    DrawClassicProgress(cv, R, bar, barText, back, backText, value, cl->ProgressMarginY(), cl->ProgressMarginX(),
                        g->CellErrFrom(), g->CellErrLen(), g->CellText(), cl->ProgressBorderColor(), false);
}

void TProStringGrid::DrawCellButton(TCellPaintContext& C, TRect& R, TRect G)
{
    TCellGraphic* g = C.Graphic;
    TCanvas* cv = C.Canvas;
    const TCellType kind = g->CellType();
    if (kind == ctExpand) G = TRect{R.Right - 13, R.Top, R.Right, R.Top + 13};
    const TRect cell = CellRect(C.DisplayCol, C.Row);
    g->SetCellValue(double((uint32_t(uint16_t(G.Top - cell.Top)) << 16) | uint16_t(G.Left - cell.Left)));

    bool enabled = true;
    if (!FControlLook->NoDisabledButtonLook()) CanEditCell(C.RealCol, C.Row, enabled);
    int look = FControlLook->FlatButton() ? 2 : FIsWinXP ? 0 : 1;
    if (FFlat && FTones.Background.BrushColor != clNone) look = 3;
    int state = 0;
    if (g->CellBoolean()) state = 2;
    else if (FHoverButton.X == C.RealCol && FHoverButton.Y == C.Row) state = 1;
    if (!enabled && kind != ctExpand) state = 3;
    DrawThemedButton(cv, this, G, look, state, FTones);
    if (g->CellBoolean()) OffsetRect(G, 1, 1);

    if (kind == ctExpand) {
        // A chevron: up while expanded, down while collapsed.
        TPen* pen = cv->Pen();
        pen->SetColor(clBlack);
        const int r = R.Right, t = R.Top;
        if (g->CellVar().toBool()) cv->Polyline({{r - 10, t + 8}, {r - 7, t + 5}, {r - 3, t + 9}});
        else cv->Polyline({{r - 10, t + 5}, {r - 7, t + 8}, {r - 3, t + 4}});
        return;
    }

    const QString caption = g->CellText();
    TRect text = G;
    text.Left += 1;
    auto* glyph = kind == ctBitButton ? dynamic_cast<TBitmap*>(g->CellBitmap()) : nullptr;
    if (glyph && !glyph->Empty()) {
        int top = (G.Height() - glyph->Height()) / 2;
        if (top < 1) top = 3;
        const bool beside = !caption.isEmpty() || glyph->Width() > G.Width();
        const int left = beside ? G.Left + 3 : G.Left + (G.Width() - glyph->Width()) / 2;
        glyph->SetTransparent(true);
        cv->Draw(left, G.Top + top, *glyph);
        if (beside) text.Left = G.Left + glyph->Width() + 4;
    }
    if (caption.isEmpty()) return;
    uint32_t flags = DT_CENTER | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX;
    flags |= caption.contains(QLatin1Char('\r')) ? DT_WORDBREAK : DT_SINGLELINE;
    const TBrushStyle brushStyle = cv->Brush()->Style();
    const TColor fontColor = cv->Font()->Color();
    cv->Brush()->SetStyle(bsClear);
    if (look == 3) {
        const TColorTone* tones[] = {&FTones.Background, &FTones.Hover, &FTones.Selected, &FTones.Disabled};
        cv->Font()->SetColor(tones[state]->TextColor);
    }
    cv->DrawText(caption, text, flags);
    cv->Font()->SetColor(fontColor);
    cv->Brush()->SetStyle(brushStyle);
}

// ---- nodes and tree lines --------------------------------------------------------------------

void TProStringGrid::DrawNodeGlyph(TCellPaintContext& C, TRect& R)
{
    TCellGraphic* g = C.Graphic;
    TCanvas* cv = C.Canvas;
    TCellNode* cn = FCellNode.get();
    const int row = C.Row, ni = cn->NodeIndent(), indent = GetRowIndent(row);
    const bool collapsed = g->CellBoolean();
    // The glyph is laid out as in a left-to-right cell starting at x 0; right to left, each of
    // its boxes and lines takes the mirrored place from the cell's right edge.
    const TRect cell = R;
    auto at = [&](const TRect& b) { return NodeCellRect(b, cell); };

    R.Left = indent - ni;
    if (cn->ShowTree() && row >= FixedRows()) {
        TPen* pen = cv->Pen();
        pen->SetColor(cn->TreeColor());
        pen->SetWidth(1);
        const int x = at(Bounds(R.Left + ni / 2 + 2, 0, 1, 0)).Left;
        const int mid = R.Top + R.Height() / 2;
        if (row + 1 < RowCount() && GetRowIndent(row + 1) > 0 &&
            !(!GetNodeState(row) && GetRowIndent(row + 1) < indent)) {
            cv->MoveTo(x, mid);
            cv->LineTo(x, R.Bottom);
        }
        if (row > 0 && GetRowIndent(row - 1) >= indent) {
            cv->MoveTo(x, R.Top);
            cv->LineTo(x, R.Top + 6);
        }
        if (C.RealCol < FixedCols() && !FFlat &&
            (FLook == glSoft || FLook == glZUZ || FLook == glXP))
            R.Left += 1;
    }

    R.Left = indent - ni / 2 - 4;
    if (UseRightToLeftAlignment()) R = at(TRect{R.Left, R.Top, cell.Width(), R.Bottom});
    auto glyphAt = [&](int left, int top, int width, int height) {
        return at(Bounds(indent - ni / 2 - 4 + left, top, width, height));
    };
    TColor back = cv->Brush()->Color();
    if (back == clNone) back = FixedCols() == 0 ? Color() : FixedColor();
    TMouseActions* ma = FMouseActions.get();
    if (FShowSelection &&
        ((C.State.Contains(gdSelected) && !ma->DisjunctRowSelect()) ||
         (ma->DisjunctRowSelect() && GetRowSelect(C.SelectRow) && Options().Contains(goRowSelect) &&
          C.RealCol >= FixedCols())))
        back = FSelectionColor;

    const int height = R.Height();
    TNodeType type = cn->NodeType();
    if (type == cn3D) {
        FillRectColor(cv, TRect{R.Left, R.Top, R.Right, R.Bottom}, cn->Color());
        TPen* pen = cv->Pen();
        pen->SetColor(clWhite);
        cv->MoveTo(R.Left, R.Bottom - 1);
        cv->LineTo(R.Left, R.Top);
        cv->LineTo(R.Right - 1, R.Top);
        pen->SetColor(0x808080);
        cv->LineTo(R.Right - 1, R.Bottom - 1);
        cv->LineTo(R.Left, R.Bottom - 1);
    }
    switch (type) {
    case cnLeaf: {
        DrawResourceBitmapTransparent(cv, back, glyphAt(0, R.Top + (height - 12) / 2, 12, 12),
                                      collapsed ? QStringLiteral("PSGLEAFCLOSE") : QStringLiteral("PSGLEAFOPEN"));
        return;
    }
    case cnXP: {
        DrawResourceBitmapTransparent(cv, back, glyphAt(4, R.Top + (height - 10) / 2, 10, 10),
                                      collapsed ? QStringLiteral("XPNODEC") : QStringLiteral("XPNODEO"));
        return;
    }
    case cnGlyph:
        if (!cn->ContractGlyph()->Empty() && !cn->ExpandGlyph()->Empty()) {
            TBitmap* glyph = collapsed ? cn->ContractGlyph() : cn->ExpandGlyph();
            const int top = R.Top + (height - cn->ContractGlyph()->Height()) / 2;
            DrawTransparentBitmap(cv, *glyph, back, glyphAt(0, top, glyph->Width(), glyph->Height()));
            return;
        }
        break;
    default:
        break;
    }
    // A box with a minus, and a plus while collapsed.
    cv->Brush()->SetColor(cn->Color());
    cv->Brush()->SetStyle(bsSolid);
    TRect box = glyphAt(4, R.Top + std::max(0, height - 8) / 2, 8, 8);
    const int l = box.Left, t = box.Top;
    if (type == cnFlat) {
        cv->Pen()->SetColor(cn->NodeColor());
        cv->Rectangle(box.Left, box.Top, box.Right + 1, box.Bottom + 1);
        cv->MoveTo(l + 2, t + 4);
        cv->LineTo(l + 7, t + 4);
        if (collapsed) {
            cv->MoveTo(l + 4, t + 2);
            cv->LineTo(l + 4, t + 7);
        }
    } else {
        cv->FillRect(box);
        cv->DrawEdge(box, collapsed ? EDGE_RAISED : EDGE_SUNKEN, BF_RECT | BF_SOFT);
    }
}

void TProStringGrid::DrawTreeLines(TCellPaintContext& C)
{
    TCanvas* cv = C.Canvas;
    TCellNode* cn = FCellNode.get();
    const int row = C.Row, ni = cn->NodeIndent(), indent = GetRowIndent(row);
    TPen* pen = cv->Pen();
    pen->SetColor(cn->TreeColor());
    pen->SetWidth(1);
    auto level = [this](int r) { return HasCellProperties(0, r) ? GetCellProperties(0, r)->NodeLevel() : 0; };
    const int L = level(row);
    TRect R = C.Rect;
    R.Left = indent;
    const int x = indent - ni + ni / 2 + 2;
    const int mid = R.Top + R.Height() / 2;
    const int right = UseRightToLeftAlignment() ? C.Rect.Width() : R.Right;
    auto line = [&](int x1, int y1, int x2, int y2) {
        cv->MoveTo(NodeCellRect(Bounds(x1, 0, 1, 0), C.Rect).Left, y1);
        cv->LineTo(NodeCellRect(Bounds(x2, 0, 1, 0), C.Rect).Left, y2);
    };
    if (L > 0) line(x, mid, cn->ShowTreeFull() ? right : R.Left + 4, mid);
    switch (GetNodeSpanType(row)) {
    case 1: line(x, R.Top, x, mid); break;
    case 2: line(x, R.Top, x, R.Bottom + 4); break;
    default: break;
    }
    if (HasCellProperties(0, row) && L > 0) {
        for (int i = 1; i <= L; ++i) {
            const int xi = x - ni * i;
            if (row >= RowCount() - 1) {
                line(xi, R.Top, xi, mid);
                if (i < L) line(xi, mid, x + ni - ni * i, mid);
            } else if (level(row + 1) != 0) {
                line(xi, R.Top, xi, R.Bottom + 4);
            } else {
                line(xi, R.Top, xi, mid);
                if (i < L) line(xi, mid, x + ni - ni * i, mid);
            }
        }
    }
    pen->SetStyle(psSolid);
}

// ---- sizes for auto sizing and printing --------------------------------------------------------

TPoint TProStringGrid::GetCellGraphicSize(int ACol, int ARow)
{
    TPoint size;
    CalcCellGraphicSize(ACol, ARow, size, 0);
    return size;
}

// The size of a graphic as sizing sees it; Print switches to the printing rules.
TPoint TProStringGrid::GraphicSize(int ACol, int ARow, int CellWidth, int CellHeight, int ExtraHeight, bool Print,
                                   double Scale)
{
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g) return {};
    const bool hasText = !Cells(ACol, ARow).isEmpty();
    const TCellHAlign ha = g->CellHAlign();
    const TCellVAlign va = g->CellVAlign();
    const bool beside = ha == haBeforeText || ha == haAfterText;
    const bool stacked = va == vaUnderText || va == vaAboveText;
    const int check = FControlLook->CheckSize(), radio = FControlLook->RadioSize();
    TPoint s;
    bool fullCorrection = !Print;
    switch (g->CellType()) {
    case ctIcon:
    case ctBitmap: {
        auto* b = dynamic_cast<TBitmap*>(g->CellType() == ctBitmap ? g->CellBitmap() : g->CellIcon());
        if (!b) break;
        if (Print) {
            s = {b->Width(), b->Height()};
            break;
        }
        s.X = beside || !hasText ? b->Width() : 0;
        s.Y = g->CellType() == ctIcon || stacked || !hasText ? b->Height() : 0;
        break;
    }
    case ctImageList:
    case ctDataImage:
    case ctImages: {
        TCustomImageList* il = GetGridImages(ACol, ARow);
        if (!il) break;
        if (g->CellType() == ctImages || (Print && g->CellType() == ctDataImage)) {
            bool textBeside = true;
            TCellHAlign h1;
            TCellVAlign v1;
            GetCellGraphicInfo(ACol, ARow, s.X, s.Y, textBeside, h1, v1);
            break;
        }
        s.X = beside || !hasText ? il->Width() : 0;
        s.Y = stacked || !hasText ? il->Height() : 0;
        break;
    }
    case ctPicture:
    case ctFilePicture: {
        if (Print) {
            const TPoint p = g->GetPictureSize(CellWidth, CellHeight, hasText);
            s = {int(std::nearbyint(p.X / Scale)), int(std::nearbyint(p.Y / Scale))};
        } else {
            s = g->GetPictureSize(CellWidth - FXYOffset.X - 1, CellHeight - FXYOffset.Y - ExtraHeight - 1, hasText);
        }
        break;
    }
    case ctButton:
    case ctBitButton: {
        const auto size = uint32_t(g->CellIndex());
        s = {int(size & 0xFFFFu), int(size >> 16)};
        if (hasText) {
            if (ha == haCenter || stacked) s.X = 0;
            else if (ha == haFull) {
                s.X = Canvas()->TextWidth(g->CellText()) + 4;
                fullCorrection = false;
            }
            if (!stacked) s.Y = 0;
        } else if (ha == haFull && !g->CellText().isEmpty()) {
            TFont kept;
            kept.Assign(*Canvas()->Font());
            Canvas()->SetFont(*Font());
            s.X = Canvas()->TextWidth(g->CellText()) + 4;
            Canvas()->SetFont(kept);
            fullCorrection = false;
        }
        break;
    }
    case ctInterface:
        if (ICellGraphic* i = DrawsItself(g)) {
            s = {i->CellWidth(), i->CellHeight()};
            if (s.X == 0) s.X = CellWidth;
            if (s.Y == 0) s.Y = CellHeight;
        }
        break;
    case ctProgressPie: s = {20, 20}; break;
    case ctRadioButton: s = {radio, radio}; break;
    case ctCheckBox:
    case ctDataCheckBox:
    case ctVirtCheckBox:
    case ctRowCheckBox:
    case ctTriStateCheckBox: s = {check, check}; break;
    case ctRadio: {
        TGridStrings* items = GetRadioStrings(ACol, ARow);
        const int n = items ? items->Count() : 0;
        const int th = Canvas()->TextHeight(QStringLiteral("gh"));
        if (g->CellBoolean()) {
            for (int i = 0; i < n; ++i) s.X += Canvas()->TextWidth((*items)[i]) + 12;
            s.Y = th;
        } else {
            int widest = 0;
            for (int i = 0; i < n; ++i) widest = std::max(widest, Canvas()->TextWidth((*items)[i]));
            s.X = std::max(12, widest + 12);
            s.Y = Print ? th * n : std::max(16, th) * n;
        }
        break;
    }
    case ctRating:
        if (!Print) s = {g->CellAngle() * 18, 16};
        fullCorrection = false;
        break;
    case ctNode:
        if (Print) s = {20, 20};
        break;
    case ctProgress:
    case ctXPProgress:
        if (Print) s = {CellWidth, CellHeight};
        break;
    case ctShape:
        if (Print) s.X = s.Y = RowHeights(ARow) - 2 * FXYOffset.Y;
        break;
    default:
        break;
    }
    if (fullCorrection) {
        if (va == vaFull) s.Y = CellHeight;
        if (ha == haFull) s.X = CellWidth;
    }
    return s;
}

void TProStringGrid::CalcCellGraphicSize(int ACol, int ARow, TPoint& Size, int ExtraHeight)
{
    const TRect cell = CellRect(RealToDisplColumn(ACol), ARow);
    Size = GraphicSize(ACol, ARow, cell.Width(), cell.Height(), ExtraHeight, false, 1.0);
}

TPoint TProStringGrid::CalcPrintGraphicSize(int ACol, int ARow, int CellWidth, int CellHeight, double Scale)
{
    return GraphicSize(ACol, ARow, CellWidth, CellHeight, 0, true, Scale == 0 ? 1.0 : Scale);
}
