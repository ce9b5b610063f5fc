// Check box, radio button and sort indicator glyphs of the string grid.
#include "grid/base/grid_resources.h"
#include "grid/control/pro_string_grid.h"
#include "platform/core/sysutils.h"

#include <algorithm>

namespace {

// Keeps a glyph inside its cell: a glyph larger than the cell must not reach a neighbour or
// the fixed cells.  An empty rectangle clips nothing.
class CellClip {
public:
    CellClip(TCanvas* Canvas, const TRect& Clip) : FCanvas(Canvas), FOn(!IsRectEmpty(Clip))
    {
        if (!FOn) return;
        FCanvas->SaveState();
        FCanvas->IntersectClipRect(Clip);
    }
    ~CellClip()
    {
        if (FOn) FCanvas->RestoreState();
    }
    CellClip(const CellClip&) = delete;
    CellClip& operator=(const CellClip&) = delete;

private:
    TCanvas* FCanvas;
    bool FOn;
};

// Resource glyphs are loaded for each draw and freed afterwards; they carry their key colour.
void DrawResourceGlyph(TCanvas* Canvas, int X, int Y, const QString& ResName)
{
    TBitmap bmp;
    LoadResourceBitmap(bmp, ResName);
    Canvas->Draw(X, Y, bmp);
}

// A user's glyph, drawn with its bottom-left pixel's colour left out; an empty one draws nothing.
void DrawUserGlyph(TCanvas* Canvas, int X, int Y, TBitmap* Glyph)
{
    if (!Glyph || Glyph->Empty()) return;
    TBitmap copy;
    copy.Assign(*Glyph);
    copy.SetTransparent(true);
    Canvas->Draw(X, Y, copy);
}

void Line(TCanvas* Canvas, int x1, int y1, int x2, int y2)
{
    Canvas->MoveTo(x1, y1);
    Canvas->LineTo(x2, y2);
}

}  // namespace

void TProStringGrid::DrawCheck(TRect ARect, bool Checked, bool Enabled, bool Grayed, TControlStyle Style,
                               bool TriState, int TriStateValue)
{
    DrawCheck(Canvas(), ARect, Checked, Enabled, Grayed, Style, TriState, TriStateValue);
}

void TProStringGrid::DrawCheck(TCanvas* Canvas, TRect ARect, bool Checked, bool Enabled, bool Grayed,
                               TControlStyle Style, bool TriState, int TriStateValue, const TRect& Clip)
{
    TControlLook* look = FControlLook.get();
    if (look->NoDisabledCheckRadioLook() || look->CheckAlwaysActive()) Enabled = true;
    if (Style == csTheme && !(FIsComCtl6 && FIsWinXP)) Style = csClassic;
    if (TriState) {
        Checked = TriStateValue == 1;
        Grayed = TriStateValue == 2;
    }
    CellClip clip(Canvas, Clip);
    if (UseRightToLeftAlignment()) {
        const int cw = ClientWidth();
        ARect = {cw - ARect.Right, ARect.Top, cw - ARect.Left, ARect.Bottom};
    }
    const int size = look->CheckSize();
    const int L = ARect.Left, T = ARect.Top, R = ARect.Right, B = ARect.Bottom;
    switch (Style) {
    case csClassic:
    case csFlat: {
        uint32_t state = DFCS_BUTTONCHECK;
        if (Checked) state |= DFCS_CHECKED;
        if (Grayed) state |= DFCS_CHECKED | DFCS_BUTTON3STATE;
        if (Style == csFlat) state |= DFCS_FLAT;
        if (!Enabled) state |= DFCS_INACTIVE;
        Canvas->DrawFrameControl(Bounds(L + (ARect.Width() - size) / 2, T + (ARect.Height() - size) / 2, size, size),
                                 DFC_BUTTON, state);
        break;
    }
    case csWinXP:
        DrawResourceGlyph(Canvas, L, T,
                          Checked ? (Enabled ? QStringLiteral("PSGCHK05") : QStringLiteral("PSGCHK07"))
                                  : (Enabled ? QStringLiteral("PSGCHK06") : QStringLiteral("PSGCHK08")));
        break;
    case csZUZ:
        DrawResourceGlyph(Canvas, L, T,
                          Checked ? (Enabled ? QStringLiteral("PSGCHK01") : QStringLiteral("PSGCHK03"))
                                  : (Enabled ? QStringLiteral("PSGCHK02") : QStringLiteral("PSGCHK04")));
        break;
    case csBorland: {
        Canvas->Brush()->SetColor(Enabled ? clBtnFace : clBtnShadow);
        Canvas->Pen()->SetColor(clBtnFace);
        Canvas->Rectangle(ARect);
        Canvas->Pen()->SetColor(clBtnHighlight);
        Canvas->MoveTo(L, B);
        Canvas->LineTo(L, T);
        Canvas->LineTo(R, T);
        Canvas->Pen()->SetColor(clBtnShadow);
        Canvas->LineTo(R, B);
        Canvas->LineTo(L, B);
        if (Checked) {
            Canvas->Pen()->SetColor(Enabled ? look->Color() : clGray);
            Canvas->Pen()->SetWidth(1);
            Line(Canvas, L + 2, T + size / 2, L + 2, B - 2);
            Line(Canvas, L + 3, T - 1 + size / 2, L + 3, B - 3);
            Line(Canvas, L + 2, B - 2, R - 2, T + 2);
            Line(Canvas, L + 3, B - 2, R - 1, T + 2);
        }
        break;
    }
    case csGlyph: DrawUserGlyph(Canvas, L, T, Checked ? look->CheckedGlyph() : look->UnCheckedGlyph()); break;
    case csTheme: {
        const int state = Grayed ? (Enabled ? 9 : 12) : Checked ? (Enabled ? 5 : 8) : (Enabled ? 1 : 4);
        Canvas->DrawThemeBackground(this, QStringLiteral("button"), 3, state, Bounds(L, T, size, size));
        break;
    }
    }
}

void TProStringGrid::DrawRadio(TCanvas* Canvas, TRect ARect, int Count, int Index, bool Horizontal, bool Disabled,
                               TGridStrings* Items, bool Selected, int ACol, int ARow, TControlStyle Style,
                               double Scale, bool BottomUp, const TRect& Clip)
{
    TControlLook* look = FControlLook.get();
    if (look->NoDisabledCheckRadioLook() || look->RadioAlwaysActive()) Disabled = false;
    if (Style == csTheme && !FIsWinXP) Style = csClassic;
    CellClip clip(Canvas, Clip);
    Canvas->Brush()->SetStyle(bsClear);
    if (Selected && FShowSelection) Canvas->Font()->SetColor(FSelectionTextColor);

    const bool classic = Style == csClassic || Style == csFlat;
    const int radioSize = look->RadioSize();
    const int lineHeight = Canvas->TextHeight(QStringLiteral("gh"));
    const int rowHeight = std::max(16, lineHeight);
    const QString cellText = Index == -1 ? GetCellEx(ACol, ARow) : QString();
    int captionsBefore = 0;

    for (int i = 1; i <= Count; ++i) {
        const bool hasCaption = Items && i - 1 < Items->Count();
        const QString caption = hasCaption ? (*Items)[i - 1] : QString();
        const bool on = i == Index + 1 || (Index == -1 && hasCaption && caption == cellText);
        // Top of row i of a vertical layout, counted from the bottom when BottomUp.
        auto rowTop = [&](int pitch, int first) {
            return BottomUp ? ARect.Bottom - first - pitch * i : ARect.Top + first + pitch * (i - 1);
        };
        int gx, gy, tx, ty;
        if (classic) {
            const int side = int(Round(Scale * (Style == csFlat ? radioSize + 2 : radioSize)));
            if (Horizontal) {
                gx = ARect.Left + 2 + (i - 1) * radioSize + captionsBefore;
                gy = ARect.Top + (ARect.Height() - side) / 2;
                tx = gx + int(Round(Scale * radioSize));
                ty = gy - 2;
            } else {
                gy = rowTop(lineHeight, 2);
                const bool anyCaption = Items && Items->Count() > 0;
                gx = anyCaption ? ARect.Left + 2 : ARect.Left + (ARect.Width() - side) / 2;
                tx = ARect.Left + 2 + int(Round(Scale * (radioSize + 4)));
                ty = gy;
            }
            uint32_t state = DFCS_BUTTONRADIO;
            if (Style == csFlat) state |= DFCS_FLAT;
            if (Disabled) state |= DFCS_INACTIVE;
            if (on) state |= DFCS_CHECKED;
            Canvas->DrawFrameControl(Bounds(gx, gy, side, side), DFC_BUTTON, state);
        } else {
            const bool bitmap = Style == csWinXP || Style == csZUZ || Style == csGlyph;
            if (Horizontal) {
                gx = ARect.Left + captionsBefore + 16 * i - 14;
                gy = ARect.Top + (ARect.Height() - 16) / 2;
                tx = gx + 16;
                ty = ARect.Top + (ARect.Height() - lineHeight) / 2;
            } else {
                gx = ARect.Left;
                gy = rowTop(rowHeight, 0);
                tx = ARect.Left + (bitmap ? 18 : 20);
                ty = gy + (rowHeight - lineHeight) / 2;
            }
            if (bitmap) ty += 1;
            const int L = gx, T = gy;
            if (Style == csBorland) {
                Canvas->Brush()->SetStyle(bsSolid);
                Canvas->Brush()->SetColor(clBtnFace);
                Canvas->Pen()->SetColor(clBtnFace);
                Canvas->Polygon({{L + 2, T + 8}, {L + 8, T + 2}, {L + 14, T + 8}, {L + 8, T + 14}});
                Canvas->Pen()->SetColor(on ? clGray : clWhite);
                Canvas->MoveTo(L + 2, T + 8);
                Canvas->LineTo(L + 8, T + 2);
                Canvas->LineTo(L + 14, T + 8);
                Canvas->Pen()->SetColor(on ? clWhite : clGray);
                Canvas->LineTo(L + 8, T + 14);
                Canvas->LineTo(L + 2, T + 8);
                if (on) {
                    Canvas->Brush()->SetColor(look->Color());
                    Canvas->Pen()->SetColor(look->Color());
                    Canvas->Polygon({{L + 5, T + 8}, {L + 8, T + 5}, {L + 11, T + 8}, {L + 8, T + 11}});
                }
                Canvas->Brush()->SetStyle(bsClear);
            } else if (Style == csTheme) {
                const int state = on ? (Disabled ? 8 : 5) : (Disabled ? 4 : 1);
                Canvas->DrawThemeBackground(this, QStringLiteral("button"), 2, state, Bounds(L, T, 16, 16));
            } else if (Style == csGlyph) {
                TBitmap* g = on ? look->RadioOnGlyph() : look->RadioOffGlyph();
                if (g && !g->Empty()) DrawUserGlyph(Canvas, L + (16 - g->Width()) / 2, T + (16 - g->Height()) / 2, g);
            } else {
                const bool xp = Style == csWinXP;
                const QString name = QStringLiteral("PSGRAD%1").arg(
                    (xp ? 4 : 0) + (on ? (Disabled ? 3 : 1) : (Disabled ? 4 : 2)), 2, 10, QLatin1Char('0'));
                TBitmap bmp;
                LoadResourceBitmap(bmp, name);
                Canvas->Draw(L + (16 - bmp.Width()) / 2, T + (16 - bmp.Height()) / 2, bmp);
            }
        }
        if (hasCaption) {
            Canvas->Brush()->SetStyle(bsClear);
            Canvas->TextOut(tx, ty, caption);
            captionsBefore += Canvas->TextWidth(caption);
        }
    }
}

void TProStringGrid::DrawSortIndicator(TCanvas* Canvas, int ACol, int X, int Y, const TRect& Clip)
{
    TSortSettings* sort = FSortSettings.get();
    CellClip clip(Canvas, Clip);
    const bool glyphs = !sort->UpGlyph()->Empty() && !sort->DownGlyph()->Empty();
    if (UseRightToLeftAlignment()) X = ClientWidth() - X - 4 - (glyphs ? sort->UpGlyph()->Width() + 7 : 7);

    if (sort->IndexShow()) {
        const int P = FSortIndexes->FindIndex(ACol);
        if (P < 0) return;
        const bool descending = !FSortIndexes->SortDirections(P);
        const bool indexGlyphs = !sort->IndexUpGlyph()->Empty() && !sort->IndexDownGlyph()->Empty();
        Canvas->Brush()->SetColor(sort->IndexColor());
        Canvas->Pen()->SetColor(clBlack);
        const TFont kept = *Canvas->Font();
        Canvas->Font()->SetColor(clBlack);
        Canvas->Font()->SetSize(6);
        if (indexGlyphs) DrawUserGlyph(Canvas, X - 7, Y - 7, descending ? sort->IndexDownGlyph() : sort->IndexUpGlyph());
        else if (descending) Canvas->Polygon({{X - 7, Y - 5}, {X + 7, Y - 5}, {X, Y + 8}});
        else Canvas->Polygon({{X - 6, Y + 8}, {X + 6, Y + 8}, {X, Y - 4}});
        Canvas->Brush()->SetStyle(bsClear);
        Canvas->TextOut(X - 2, descending ? Y - 4 : Y - 2, IntToStr(P + 1));
        Canvas->SetFont(kept);
        return;
    }

    const bool descending = sort->Direction() == sdDescending;
    if (!glyphs) {
        Canvas->Pen()->SetColor(clWhite);
        if (descending) {
            Canvas->MoveTo(X + 4, Y - 4);
            Canvas->LineTo(X, Y + 4);
            Canvas->Pen()->SetColor(clGray);
            Canvas->LineTo(X - 4, Y - 4);
            Canvas->LineTo(X + 4, Y - 4);
        } else {
            Canvas->MoveTo(X - 4, Y + 4);
            Canvas->LineTo(X + 4, Y + 4);
            Canvas->LineTo(X, Y - 4);
            Canvas->Pen()->SetColor(clGray);
            Canvas->LineTo(X - 4, Y + 4);
        }
        Canvas->Pen()->SetColor(clBlack);
    } else {
        DrawUserGlyph(Canvas, X - 4, Y - 4, descending ? sort->DownGlyph() : sort->UpGlyph());
        Canvas->Brush()->SetColor(FixedColor());
    }
}
