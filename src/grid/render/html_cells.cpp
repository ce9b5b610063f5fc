// Mini-HTML in the string grid: cells drawn and measured by the renderer, links made from
// URLs in cell texts, and the hint window that shows mini-HTML and packed wide texts.
#include "grid/base/html_layout.h"
#include "grid/base/html_text.h"
#include "grid/base/text_packing.h"
#include "grid/render/cell_drawing.h"

#include <QGuiApplication>
#include <algorithm>
#include <QScreen>

THtmlRenderArgs TProStringGrid::HtmlArgs()
{
    THtmlRenderArgs a;
    a.ImageList = FGridImages;
    a.URLColor = FURLColor;
    a.PictureCache = FImageCache.get();
    a.PictureContainer = FPictureContainer;
    a.ThemeWindow = this;
    // drawing, measuring and hit testing read the text the same way
    a.BiDiMode = layoutDirection() == Qt::RightToLeft ? 1 : 0;
    return a;
}

void TProStringGrid::DrawHTMLCell(TCellPaintContext& C, const QString& Text)
{
    THtmlRenderArgs a = HtmlArgs();
    a.HitX = C.Rect.Left;
    a.HitY = C.Rect.Top;
    a.FocusAnchorIndex = -1;
    a.HoverAnchorIndex = -1;
    a.ShadowOffset = 1;
    a.BlinkVisible = FGridBlink;
    a.WordWrap = !FEnhTextSize;
    a.ImageScale = 0;
    a.URLColor = C.URLColor;
    a.ShadowColor = clGray;
    a.MouseDown = FCtrlDown && C.DisplayCol == FCtrlXY.X && C.Row == FCtrlXY.Y;
    RenderHtmlCell(C.Canvas, Text, C.Rect, a);
    C.TextWidth = a.MeasuredWidth + 2;
}

TRect TProStringGrid::HtmlRectRightToLeft(TCanvas* Canvas, const QString& Text, const TRect& Layout, const TRect& Cell)
{
    if (!UseRightToLeftAlignment()) return Layout;
    TRect r = MirrorInCell(Layout, Cell);
    THtmlRenderArgs a = HtmlArgs();
    a.MeasureOnly = true;
    a.WordWrap = !FEnhTextSize;
    RenderHtmlCell(Canvas, Text, r, a);
    // one pixel more than the widest line, so that every line still fits as it did
    r.Left = std::max(r.Left, r.Right - a.MeasuredWidth - 1);
    return r;
}

QSize TProStringGrid::MeasureHTMLCell(int ACol, int ARow, const QString& Text, TRect R)
{
    (void)ACol;
    (void)ARow;
    THtmlRenderArgs a = HtmlArgs();
    a.MeasureOnly = true;
    RenderHtmlCell(Canvas(), Text, R, a);
    return {a.MeasuredWidth + 2, a.MeasuredHeight + 2};
}

bool TProStringGrid::InsertURLLink(const QString& S, const QString& Prefix, QString& HTML)
{
    return ::InsertURLLink(S, Prefix, HTML);
}

// ---- hint window ----------------------------------------------------------------------------

QString THTMLHintWindow::GridFontName;

THTMLHintWindow::THTMLHintWindow(QWidget* AOwner)
{
    if (AOwner) setParent(AOwner, windowFlags());
    hide();
}

QSize THTMLHintWindow::MeasureHint(const QString& AHint, int MaxWidth, bool& Wide)
{
    TCanvas* cv = Canvas();
    Wide = CellTextKind(AHint, true) == 5;
    if (Wide) {
        FWideCaption = UnpackWideText(AHint);
        if (!GridFontName.isEmpty()) cv->Font()->SetName(GridFontName);
        TRect r{0, 0, MaxWidth, 0};
        cv->DrawText(FWideCaption, r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        return {r.Width(), r.Height()};
    }
    THtmlRenderArgs a;
    a.MeasureOnly = true;
    a.ImageList = FImages;
    a.PictureContainer = FPictureContainer;
    a.URLColor = clBlue;
    RenderHtmlCell(cv, AHint, {0, 0, MaxWidth, 4096}, a);
    return {a.MeasuredWidth, a.MeasuredHeight};
}

TRect THTMLHintWindow::CalcHintRect(int MaxWidth, const QString& AHint, void* AData)
{
    (void)AData;
    bool wide = false;
    const QSize s = MeasureHint(AHint, MaxWidth, wide);
    return {0, 0, s.width(), s.height()};
}

void THTMLHintWindow::ActivateHintData(const TRect& Rect, const QString& AHint, void* AData)
{
    if (auto* grid = dynamic_cast<TProStringGrid*>(static_cast<QWidget*>(AData))) {
        FImages = grid->GridImages();
        FPictureContainer = grid->PictureContainer();
    }
    THintWindow::ActivateHintData(Rect, AHint, AData);
}

void THTMLHintWindow::ActivateHint(const TRect& Rect, const QString& AHint)
{
    bool wide = false;
    const QSize s = MeasureHint(AHint, 1008, wide);
    FTextWidth = s.width();
    FTextHeight = s.height();
    QRect g(Rect.Left, Rect.Top, FTextWidth + (wide ? 8 : 16), FTextHeight + 4);
    if (QScreen* screen = QGuiApplication::screenAt(g.topLeft())) {
        const QRect area = screen->geometry();
        if (g.right() > area.right() - 2) g.moveRight(area.right() - 2);
        if (g.bottom() > area.bottom() - 2) g.moveBottom(area.bottom() - 2);
    }
    THintWindow::ActivateHint(TRect::FromQRect(g), AHint);
}

void THTMLHintWindow::Paint()
{
    TCanvas* cv = Canvas();
    const TRect r{0, 0, width(), height()};
    cv->Brush()->SetColor(Color());
    cv->FillRect(r);
    cv->Pen()->SetColor(cl3DLight);
    cv->MoveTo(0, r.Bottom - 1);
    cv->LineTo(0, 0);
    cv->LineTo(r.Right - 1, 0);
    cv->Pen()->SetColor(cl3DDkShadow);
    cv->LineTo(r.Right - 1, r.Bottom - 1);
    cv->LineTo(0, r.Bottom - 1);
    const int top = (r.Height() - FTextHeight) / 2;
    TRect tr{4, top, r.Right - 4, top + FTextHeight + 8};
    cv->Brush()->SetStyle(bsClear);
    if (CellTextKind(Caption(), true) == 5) {
        if (!GridFontName.isEmpty()) cv->Font()->SetName(GridFontName);
        cv->DrawText(FWideCaption, tr, DT_SINGLELINE | DT_NOPREFIX);
    } else {
        THtmlRenderArgs a;
        a.ImageList = FImages;
        a.PictureContainer = FPictureContainer;
        a.URLColor = clBlue;
        a.HitX = a.HitY = -1;
        RenderHtmlCell(cv, Caption(), tr, a);
    }
    cv->Brush()->SetStyle(bsSolid);
}
