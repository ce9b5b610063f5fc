// What the grid shows behind and over its cells: the background picture or gradient in the
// cells and beyond the last row and column, the thin scroll indicators of the metro look,
// and the floating header image of a column or row being moved.
#include "grid/base/drawing_routines.h"
#include "grid/base/html_layout.h"
#include "grid/render/cell_drawing.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {
// Steps bands (0 counts as 1) whose channels run from From to To, left to right when
// Horizontal, else top to bottom; pen and brush keep the last band's colour.
void DrawGradient(TCanvas* Canvas, TColor From, TColor To, bool Horizontal, TRect R, int Steps)
{
    const int extent = Horizontal ? R.Width() : R.Height();
    if (extent <= 0 || R.Width() <= 0 || R.Height() <= 0) return;
    Steps = std::clamp(Steps, 1, extent);
    const TColor a = ColorToRGB(From), b = ColorToRGB(To);
    auto channel = [](TColor c, int shift) { return int((c >> shift) & 0xFF); };
    for (int i = 0; i < Steps; ++i) {
        const double f = Steps > 1 ? double(i) / (Steps - 1) : 0.0;
        auto mix = [&](int shift) {
            return int(std::nearbyint(channel(a, shift) + f * (channel(b, shift) - channel(a, shift))));
        };
        const TColor c = TColor(mix(0) | (mix(8) << 8) | (mix(16) << 16));
        TRect band = R;
        if (Horizontal) {
            band.Left = R.Left + i * extent / Steps;
            band.Right = R.Left + (i + 1) * extent / Steps;
        } else {
            band.Top = R.Top + i * extent / Steps;
            band.Bottom = R.Top + (i + 1) * extent / Steps;
        }
        Canvas->Pen()->SetColor(c);
        Canvas->Brush()->SetColor(c);
        Canvas->Brush()->SetStyle(bsSolid);
        Canvas->FillRect(band);
    }
}

// Tiles of Bitmap over R from (R.Left - 1, R.Top - 1), the first row and column of tiles
// starting at the phase inside the picture; each tile is cut at R's right and bottom.
void TileBitmap(TCanvas* Canvas, TBitmap* Bitmap, const TRect& R, int PhaseX, int PhaseY)
{
    const int bw = Bitmap->Width(), bh = Bitmap->Height();
    if (bw <= 0 || bh <= 0) return;
    Bitmap->Image();  // finishes drawing still pending on the picture
    int sy = PhaseY;
    for (int y = R.Top - 1; y < R.Bottom;) {
        const int h = std::min(bh - sy, R.Bottom - y);
        int sx = PhaseX;
        for (int x = R.Left - 1; x < R.Right;) {
            const int w = std::min(bw - sx, R.Right - x);
            Canvas->CopyRect({x, y, x + w, y + h}, *Bitmap->Canvas(), {sx, sy, sx + w, sy + h});
            x += w;
            sx = 0;
        }
        y += h;
        sy = 0;
    }
}
}  // namespace

// ---- the settings ----------------------------------------------------------------------------

void TBackGround::Changed()
{
    if (FGrid) FGrid->Invalidate();
}

void TBackGround::Assign(const TPersistent* Source)
{
    auto* s = dynamic_cast<const TBackGround*>(Source);
    if (!s || s == this) return;
    FTop = s->FTop;
    FLeft = s->FLeft;
    FDisplay = s->FDisplay;
    FCells = s->FCells;
    FColorTo = s->FColorTo;
    FColor = s->FColor;
    FBitmap.Assign(s->FBitmap);
    Changed();
}

void TBackGround::SetTop(int v) { FTop = v; Changed(); }
void TBackGround::SetLeft(int v) { FLeft = v; Changed(); }
void TBackGround::SetDisplay(TBackgroundDisplay v) { FDisplay = v; Changed(); }
void TBackGround::SetCells(TBackGroundCells v) { FCells = v; Changed(); }
void TBackGround::SetColorTo(TColor v) { FColorTo = v; Changed(); }
void TBackGround::SetColor(TColor v) { FColor = v; Changed(); }

void TBackGround::SetBitmap(const TBitmap& v)
{
    FBitmap.Assign(v);
    Changed();
}

bool TProStringGrid::HasBackgroundPicture() const { return !FBackGround->Bitmap()->Empty(); }

// ---- the cells' background ------------------------------------------------------------------------

void TProStringGrid::DrawCellBackground(TCellPaintContext& C)
{
    const TBackGroundCells cells = FBackGround->Cells();
    if (C.State.Contains(gdFixed) ? cells == bcNormal : cells == bcFixed) return;
    const TRect& R = C.Rect;
    const int lw = GridLineWidth();
    const TColor own = GetColors(C.RealCol, C.Row);
    const TBackgroundDisplay d = FBackGround->Display();
    if (HasBackgroundPicture() && own == clNone && !(C.State.Contains(gdSelected) && FShowSelection)) {
        const TRect r{R.Left - lw + 1, R.Top - lw + 1, R.Right, R.Bottom};
        if (d == bdTile) DrawBackGroundTiled(C.Canvas, C.DisplayCol, C.Row, r);
        else DrawBackGroundFixed(C.Canvas, r);
    }
    if (d != bdGradientHorz && d != bdGradientVert) return;
    if (own != clNone) {
        // Controls keep the gradient around them.
        const TCellType t = GetCellType(C.RealCol, C.Row);
        if (t != ctCheckBox && t != ctDataCheckBox && t != ctRadio && t != ctButton && t != ctRadioButton) return;
    }
    const bool selectedLook = (C.State.Contains(gdSelected) && !C.State.Contains(gdFocused)) ||
                              (C.State.Contains(gdFocused) && Options().Contains(goDrawFocusSelected));
    if (!FShowSelection || !selectedLook)
        DrawBackGroundGradient(C.Canvas, {R.Left - 1, R.Top - lw, R.Right, R.Bottom + lw - 1});
}

void TProStringGrid::DrawBackGroundFixed(TCanvas* ACanvas, TRect R)
{
    TBitmap* bmp = FBackGround->Bitmap();
    if (bmp->Empty()) return;
    const int l = FBackGround->Left(), t = FBackGround->Top();
    const TRect pic{l, t, l + bmp->Width(), t + bmp->Height()};
    const TRect dest{std::max(R.Left, pic.Left), std::max(R.Top, pic.Top), std::min(R.Right, pic.Right),
                     std::min(R.Bottom, pic.Bottom)};
    if (dest.Left >= dest.Right || dest.Top >= dest.Bottom) return;
    ACanvas->Brush()->SetStyle(bsClear);
    bmp->Image();
    ACanvas->CopyRect(dest, *bmp->Canvas(), {dest.Left - l, dest.Top - t, dest.Right - l, dest.Bottom - t});
    ACanvas->Brush()->SetStyle(bsSolid);
}

void TProStringGrid::DrawBackGroundTiled(TCanvas* ACanvas, int ACol, int ARow, TRect R)
{
    TBitmap* bmp = FBackGround->Bitmap();
    if (bmp->Empty()) return;
    // The tiles stay with the cells' content, wherever they are scrolled to.
    const bool normal = FBackGround->Cells() == bcNormal;
    int x0 = 0, y0 = 0;
    for (int c = normal ? FixedCols() : 0; c < ACol; ++c) x0 += ColWidths(c);
    for (int r = normal ? FixedRows() : 0; r < ARow; ++r) y0 += RowHeights(r);
    TileBitmap(ACanvas, bmp, R, x0 % bmp->Width(), y0 % bmp->Height());
}

void TProStringGrid::DrawBackGroundGradient(TCanvas* ACanvas, TRect R)
{
    const TColor from = FBackGround->Color(), to = FBackGround->ColorTo();
    const bool horz = FBackGround->Display() == bdGradientHorz;
    // One gradient runs across the whole grid; each cell shows its slice.
    TColor c1, c2;
    if (horz) {
        c1 = BlendColorAt(from, to, 0, ClientWidth(), R.Left);
        c2 = BlendColorAt(from, to, 0, ClientWidth(), R.Right);
    } else {
        c1 = BlendColorAt(from, to, 0, ClientHeight(), R.Top);
        c2 = BlendColorAt(from, to, 0, ClientHeight(), R.Bottom);
    }
    ACanvas->Brush()->SetColor(c2);
    ACanvas->Pen()->SetColor(c2);
    DrawGradient(ACanvas, c1, c2, horz, R, 128);
}

// ---- beyond the last row and column --------------------------------------------------------

void TProStringGrid::DrawAreaBackGroundFixed(TRect R) { DrawBackGroundFixed(Canvas(), R); }

void TProStringGrid::DrawAreaBackGroundTiled(TRect R)
{
    TileBitmap(Canvas(), FBackGround->Bitmap(), R, 0, 0);
}

void TProStringGrid::DrawBackGroundArea()
{
    const bool rowsBeyond = TopRow() + VisibleRowCount() < RowCount();
    const bool colsBeyond = LeftCol() + VisibleColCount() < ColCount();
    const TBackgroundDisplay d = FBackGround->Display();
    const bool gradient = d == bdGradientHorz || d == bdGradientVert;
    if ((rowsBeyond && colsBeyond) || (gradient && FBackGround->ColorTo() == clNone)) return;
    // The client height already ends above the search and footer panels.
    const int bottom = ClientHeight(), right = ClientWidth();
    const int lw = GridLineWidth();
    std::vector<TRect> area;
    if (!colsBeyond && ColCount() > 0) {
        const int x = CalcCellRect(ColCount() - 1, 0).Right + lw;
        if (x < right) area.push_back({x, 0, right, bottom});
    }
    if (!rowsBeyond && RowCount() > 0) {
        const int y = CalcCellRect(0, RowCount() - 1).Bottom + lw;
        if (y < bottom) area.push_back({0, y, right, bottom});
    }
    if (area.empty()) return;
    TCanvas* cv = Canvas();
    const TRect client{0, 0, right, bottom};
    const bool picture = HasBackgroundPicture();
    for (const TRect& part : area) {
        cv->SaveState();
        cv->IntersectClipRect(part);
        if (!picture && gradient) {
            DrawGradient(cv, FBackGround->Color(), FBackGround->ColorTo(), d == bdGradientHorz, client, 128);
        } else if (picture && d != bdTile) {
            DrawAreaBackGroundFixed(client);
        } else if (picture && FBackGround->Cells() != bcFixed) {
            TRect r = client;
            if (FBackGround->Cells() == bcNormal) {
                const TRect first = CalcCellRect(FixedCols(), FixedRows());
                r.Left = first.Left + FXYOffset.X;
                r.Top = first.Top + FXYOffset.Y;
            }
            DrawAreaBackGroundTiled(r);
        }
        cv->RestoreState();
    }
}

// ---- scroll indicators -------------------------------------------------------------------------

void TProStringGrid::CreateScrollControls()
{
    if (!vscrlctrl) {
        vscrlctrl = new TScrollControl(viewport(), sdVertical);
        vscrlctrl->show();
    }
    if (!hscrlctrl) {
        hscrlctrl = new TScrollControl(viewport(), sdHorizontal);
        hscrlctrl->show();
    }
}

void TProStringGrid::FreeScrollControls()
{
    delete vscrlctrl;
    vscrlctrl = nullptr;
    delete hscrlctrl;
    hscrlctrl = nullptr;
}

bool TProStringGrid::HasScrollControls() const { return vscrlctrl || hscrlctrl; }

TScrollControl::TScrollControl(QWidget* AOwner, TScrollDirection ADirection) : QWidget(AOwner), FDirection(ADirection)
{
    // Not filling its background lets the cells show through around the thumb.
    setAutoFillBackground(false);
    if (AOwner) AOwner->installEventFilter(this);
    Realign();
}

void TScrollControl::SetColor(TColor v)
{
    if (v == FColor) return;
    FColor = v;
    update();
}

TProStringGrid* TScrollControl::GetGrid() const
{
    QWidget* p = parentWidget();
    if (auto* g = dynamic_cast<TProStringGrid*>(p)) return g;
    // Lying on the grid's cell area.
    return p ? dynamic_cast<TProStringGrid*>(p->parentWidget()) : nullptr;
}

void TScrollControl::Realign()
{
    QWidget* p = parentWidget();
    if (!p) return;
    if (FDirection == sdVertical) setGeometry(p->width() - 6, 0, 6, p->height());
    else setGeometry(0, p->height() - 6, p->width(), 6);
}

bool TScrollControl::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == parentWidget() && e->type() == QEvent::Resize) Realign();
    return QWidget::eventFilter(watched, e);
}

int TScrollControl::TrackStart() const
{
    TProStringGrid* g = GetGrid();
    if (!g) return 0;
    int s = 0;
    if (FDirection == sdVertical)
        for (int i = 0; i < g->FixedRows(); ++i) s += g->RowHeights(i);
    else
        for (int i = 0; i < g->FixedCols(); ++i) s += g->ColWidths(i);
    return s;
}

int TScrollControl::TrackLength() const
{
    TProStringGrid* g = GetGrid();
    if (!g) return 0;
    int n = Extent() - TrackStart();
    if (FDirection == sdVertical)
        for (int i = std::max(0, g->RowCount() - g->FixedFooters()); i < g->RowCount(); ++i) n -= g->RowHeights(i);
    else
        for (int i = std::max(0, g->ColCount() - g->FixedRightCols()); i < g->ColCount(); ++i) n -= g->ColWidths(i);
    return n;
}

void TScrollControl::GetThumb(int& Pos, int& Size) const
{
    Pos = Size = 0;
    TProStringGrid* g = GetGrid();
    if (!g) return;
    const bool vert = FDirection == sdVertical;
    const int count = vert ? g->RowCount() : g->ColCount();
    const int fixed = vert ? g->FixedRows() : g->FixedCols();
    const int visible = vert ? g->VisibleRowCount() : g->VisibleColCount();
    const int first = vert ? g->TopRow() : g->LeftCol();
    if (count <= 0) return;
    const double v = double(visible) / count;
    const double p = count > fixed ? double(first - fixed) / (count - fixed) : 0.0;
    const int length = TrackLength();
    Pos = TrackStart() + int(std::nearbyint(length * p));
    Size = std::max(20, int(std::nearbyint(length * v)));
    if (Pos + Size > Extent()) Pos = Extent() - Size;
}

void TScrollControl::Paint(TCanvas* Canvas)
{
    TProStringGrid* g = GetGrid();
    if (!g) return;
    int pos = 0, size = 0;
    GetThumb(pos, size);
    Canvas->Pen()->SetColor(FColor);
    Canvas->Brush()->SetColor(FColor);
    Canvas->Brush()->SetStyle(bsSolid);
    if (FDirection == sdVertical && g->VisibleRowCount() < g->RowCount() - g->FixedRows())
        Canvas->Rectangle(0, pos, FScrollWidth, pos + size);
    else if (FDirection == sdHorizontal && g->VisibleColCount() < g->ColCount() - g->FixedCols())
        Canvas->Rectangle(pos, 0, pos + size, FScrollWidth);
}

void TScrollControl::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    TCanvas c;
    c.BeginPaint(&p);
    Paint(&c);
    c.EndPaint();
}

void TScrollControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    (void)Button;
    (void)Shift;
    TProStringGrid* g = GetGrid();
    if (!g) return;
    const bool vert = FDirection == sdVertical;
    int pos = 0, size = 0;
    GetThumb(pos, size);
    const int at = vert ? Y : X;
    const int first = vert ? g->TopRow() : g->LeftCol();
    const int fixed = vert ? g->FixedRows() : g->FixedCols();
    const int visible = vert ? g->VisibleRowCount() : g->VisibleColCount();
    const int count = vert ? g->RowCount() : g->ColCount();
    int to = first;
    if (at < pos) {
        to = std::max(fixed, first - visible);
    } else if (at >= pos + size) {
        to = std::min(first + visible, count - visible);
    } else {
        FDownOnScroller = true;
        FDownPos = at;
        FDownRow = first;
        return;
    }
    if (vert) g->SetTopRow(to);
    else g->SetLeftCol(to);
}

void TScrollControl::MouseMove(TShiftState Shift, int X, int Y)
{
    (void)Shift;
    TProStringGrid* g = GetGrid();
    if (!g || !FDownOnScroller) return;
    if (FDirection == sdVertical) {
        const int span = height() - g->RowHeights(0);
        if (span <= 0) return;
        const int moved = int(std::nearbyint(double(Y - FDownPos) / span * g->RowCount()));
        g->SetTopRow(std::max(g->FixedRows(), std::min(moved + FDownRow, g->RowCount() - g->VisibleRowCount())));
    } else {
        const int span = width() - g->ColWidths(0);
        if (span <= 0) return;
        const int moved = int(std::nearbyint(double(X - FDownPos) / span * g->ColCount()));
        g->SetLeftCol(std::max(g->FixedCols(), std::min(moved + FDownRow, g->ColCount() - g->VisibleColCount())));
    }
}

void TScrollControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    (void)Button;
    (void)Shift;
    (void)X;
    (void)Y;
    FDownOnScroller = false;
}

void TScrollControl::mousePressEvent(QMouseEvent* e)
{
    const QPoint p = e->position().toPoint();
    MouseDown(e->button() == Qt::RightButton ? mbRight : mbLeft, ShiftStateOf(e), p.x(), p.y());
}

void TScrollControl::mouseMoveEvent(QMouseEvent* e)
{
    const QPoint p = e->position().toPoint();
    MouseMove(ShiftStateOf(e), p.x(), p.y());
}

void TScrollControl::mouseReleaseEvent(QMouseEvent* e)
{
    const QPoint p = e->position().toPoint();
    MouseUp(e->button() == Qt::RightButton ? mbRight : mbLeft, ShiftStateOf(e), p.x(), p.y());
}

// ---- the dragged header's image --------------------------------------------------------------

THeaderDragButton::THeaderDragButton(QWidget* AParent, TProStringGrid* AGrid)
    : QWidget(AParent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus),
      FGrid(AGrid)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setEnabled(false);
    hide();
}

void THeaderDragButton::SetCaption(const QString& v)
{
    if (v == FCaption) return;
    FCaption = v;
    update();
}

void THeaderDragButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    TCanvas c;
    c.BeginPaint(&p);
    Paint(&c);
    c.EndPaint();
}

void THeaderDragButton::Paint(TCanvas* Canvas)
{
    TRect r{0, 0, width(), height()};
    // A window with a border: the cell look inside it.
    Canvas->Pen()->SetColor(clBlack);
    Canvas->Brush()->SetColor(clBtnFace);
    Canvas->Rectangle(r);
    r = {1, 1, width() - 1, height() - 1};
    if (!FGrid) return;
    FGrid->PaintCellExt(Canvas, 0, 0, r, TGridDrawState{});
    Canvas->Font()->Assign(*FGrid->FixedFont());
    Canvas->Brush()->SetStyle(bsClear);
    if (!FCaption.contains(QStringLiteral("</"))) {
        TRect t = r;
        Canvas->DrawText(FCaption, t, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    } else {
        THtmlRenderArgs a;
        a.ImageList = FGrid->GridImages();
        a.PictureCache = FGrid->ImageCache();
        a.PictureContainer = FGrid->PictureContainer();
        a.URLColor = 0xFF0000;
        a.ThemeWindow = FGrid;
        a.HitX = r.Left;
        a.HitY = r.Top;
        RenderHtmlCell(Canvas, FCaption, r, a);
    }
    Canvas->Brush()->SetStyle(bsSolid);
}
