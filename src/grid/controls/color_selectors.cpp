#include "grid/controls/color_selectors.h"

#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

// ---- resources --------------------------------------------------------------------------------

const QImage& SpectrumBitmap()
{
    static const QImage image = [] {
        QImage img(128, 128, QImage::Format_RGB32);
        for (int y = 0; y < 128; ++y) {
            // lightness from nearly white (0.97) down to nearly black, the pure hue at row 64
            const double l = 0.5 + 0.5 * double(64 - y) / 68.0;
            for (int x = 0; x < 128; ++x) img.setPixelColor(x, y, QColor::fromHslF(double(x) / 128.0, 1.0, l));
        }
        return img;
    }();
    return image;
}

const QCursor& PointerCursor()
{
    static const QCursor cursor = [] {
        QImage img(32, 32, QImage::Format_ARGB32);
        img.fill(Qt::transparent);
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing, false);
        // the glass tube from the tip at (1, 30) up to the bulb
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(Qt::white);
        p.drawPolygon(QPolygon({QPoint(1, 30), QPoint(3, 24), QPoint(17, 10), QPoint(21, 14), QPoint(7, 28)}));
        p.setBrush(Qt::black);
        p.drawPolygon(QPolygon({QPoint(16, 8), QPoint(23, 15), QPoint(21, 17), QPoint(14, 10)}));
        p.drawEllipse(QRect(20, 3, 9, 9));
        p.end();
        return QCursor(QPixmap::fromImage(img), 1, 30);
    }();
    return cursor;
}

// ---- the panel base --------------------------------------------------------------------------

TProCustomColorSelectorPanel::TProCustomColorSelectorPanel(QWidget* AParent) : QWidget(AParent) {}

void TProCustomColorSelectorPanel::SetColor(TColor v)
{
    if (v == FColor) return;
    FColor = v;
    update();
}

void TProCustomColorSelectorPanel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), ColorToQColor(FColor));
}

// ---- colour boxes ------------------------------------------------------------------------------

void TColorBoxItem::SetColor(TColor v)
{
    if (v == FColor) return;
    FColor = v;
    if (FChanged) FChanged();
}

void TColorBoxItem::Assign(const TColorBoxItem& Source)
{
    SetColor(Source.FColor);
    ColorBoxPos = Source.ColorBoxPos;
    FEnabled = Source.FEnabled;
}

void TColorBoxAppearance::Assign(const TColorBoxAppearance& s)
{
    BorderColor = s.BorderColor;
    OuterBorderColorHot = s.OuterBorderColorHot;
    InnerBorderColorHot = s.InnerBorderColorHot;
    OuterBorderColorSelected = s.OuterBorderColorSelected;
    InnerBorderColorSelected = s.InnerBorderColorSelected;
}

// ---- the palette -------------------------------------------------------------------------------

TCustomColorSelector::TCustomColorSelector(QWidget* AParent) : TProCustomColorSelectorPanel(AParent)
{
    setMouseTracking(true);
    UpdateLayout();
}

void TCustomColorSelector::LoadDefaultPalette()
{
    static const TColor palette[6][10] = {
        {0xFFFFFF, 0x000000, 0xE1ECEE, 0x7D491F, 0xBD814F, 0x4D50C0, 0x59BB9B, 0xA26480, 0xC6AC4B, 0x4696F7},
        {0xF2F2F2, 0x7F7F7F, 0xC3D9DD, 0xDACEC2, 0xF1E5DB, 0xDBDCF2, 0xDDF1EB, 0xECE0E5, 0xF3EEDB, 0xDAEAFD},
        {0xD8D8D8, 0x595959, 0x97BDC4, 0xE2B38D, 0xE4CCB8, 0xB7B9E5, 0xBCE3D7, 0xD9C1CC, 0xE8DDB7, 0xB5D5FB},
        {0xBFBFBF, 0x3F3F3F, 0x538993, 0xD48D54, 0xD7B395, 0x9496D9, 0x9BD6C3, 0xC7A2B2, 0xDCCD92, 0x8FC0FA},
        {0xA5A5A5, 0x262626, 0x294449, 0x5D3617, 0x926036, 0x343795, 0x3C9276, 0x7A495F, 0x9B8531, 0x096CE3},
        {0x7F7F7F, 0x0C0C0C, 0x101B1D, 0x3E240F, 0x614024, 0x232463, 0x28614F, 0x51313F, 0x675820, 0x064897},
    };
    static const TItemPos pos[6] = {ipStandAlone, ipTop, ipMiddle, ipMiddle, ipMiddle, ipBottom};
    FItems.Clear();
    FItemIndex = FItemHot = -1;
    for (int r = 0; r < 6; ++r)
        for (int c = 0; c < 10; ++c) {
            TColorBoxItem* item = FItems.Add();
            item->SetColor(palette[r][c]);
            item->ColorBoxPos = pos[r];
        }
    UpdateLayout();
}

void TCustomColorSelector::GetItemsRect(TRect& Rect) const
{
    Rect = {FOffSetX, FOffSetY, width() - FOffSetX, height() - FOffSetY};
}

void TCustomColorSelector::UpdateLayout()
{
    if (FItems.Count() == 0) {
        resize(100, 50);
        return;
    }
    FItemHot = -1;
    QSize size;
    GetItemSize(size);
    const int w = size.width(), h = size.height();
    TRect r;
    GetItemsRect(r);
    const int L = r.Left, T = r.Top;
    int x = L, y = T, inRow = 0, widest = 0;
    bool rowGap = false;
    const int n = FItems.Count();
    for (int i = 0; i < n; ++i) {
        TColorBoxItem* item = FItems.Items(i);
        item->FRect = {x, y, x + w, y + h};
        item->HasRect = true;
        ++inRow;
        if (i == n - 1) break;
        if (item->ColorBoxPos == ipStandAlone) rowGap = true;
        if (inRow < FColumns) {
            x += w + FColumnGap;
        } else {
            widest = std::max(widest, x);
            if (rowGap) y += FColumnGap, rowGap = false;
            y += h;
            x = L;
            inRow = 0;
        }
    }
    widest = std::max(widest, x);
    resize(widest + w + L + 1, y + h + T);
    update();
}

void TCustomColorSelector::SetColumns(int v)
{
    if (v == FColumns || v < 1) return;
    FColumns = v;
    UpdateLayout();
}

void TCustomColorSelector::SetColumnGap(int v)
{
    if (v == FColumnGap) return;
    FColumnGap = v;
    UpdateLayout();
}

void TCustomColorSelector::SetColorBoxWidth(int v)
{
    if (v == FColorBoxWidth) return;
    FColorBoxWidth = v;
    UpdateLayout();
}

void TCustomColorSelector::SetColorBoxHeight(int v)
{
    if (v == FColorBoxHeight) return;
    FColorBoxHeight = v;
    UpdateLayout();
}

void TCustomColorSelector::SetItemColorStyle(TSelectionColorStyle v)
{
    if (v == FItemColorStyle) return;
    FItemColorStyle = v;
    if (v == scCustom) return;
    // the three preset looks share the same box colours
    FColorBoxAppearance.Assign(TColorBoxAppearance());
    update();
}

void TCustomColorSelector::InvalidateItem(int Index)
{
    if (Index >= 0 && Index < FItems.Count() && FItems.Items(Index)->HasRect)
        update(FItems.Items(Index)->FRect.ToQRect().adjusted(-1, -1, 2, 2));
}

void TCustomColorSelector::SetItemIndex(int Index)
{
    if (Index >= FItems.Count()) return;
    if (Index >= 0 && !FItems.Items(Index)->FEnabled) return;
    if (FItemIndex != Index) InvalidateItem(FItemIndex);
    FItemIndex = Index;
    if (Index < 0) return;
    FSelectedColor = FItems.Items(Index)->Color();
    InvalidateItem(Index);
    if (OnItemSelect) OnItemSelect(this);
}

void TCustomColorSelector::SetItemHot(int Index)
{
    if (Index >= FItems.Count()) return;
    if (Index >= 0 && !FItems.Items(Index)->FEnabled) return;
    if (FItemHot != Index) InvalidateItem(FItemHot);
    FItemHot = Index;
    InvalidateItem(Index);
}

void TCustomColorSelector::SetSelectedColor(TColor Value)
{
    if (Value == FSelectedColor) return;
    FSelectedColor = Value;
    if (Value == clNone) {
        InvalidateItem(FItemIndex);
        FItemIndex = -1;
        return;
    }
    for (int i = 0; i < FItems.Count(); ++i)
        if (FItems.Items(i)->Color() == Value) return SetItemIndex(i);
    SetItemIndex(-1);
}

void TCustomColorSelector::SelectNext()
{
    if (FItemIndex + 1 < FItems.Count()) SetItemIndex(FItemIndex + 1);
}

void TCustomColorSelector::SelectPrevious()
{
    if (FItemIndex - 1 >= 0) SetItemIndex(FItemIndex - 1);
}

void TCustomColorSelector::HotNext()
{
    if (FItemHot + 1 < FItems.Count()) SetItemHot(FItemHot + 1);
}

void TCustomColorSelector::HotPrevious()
{
    if (FItemHot - 1 >= 0) SetItemHot(FItemHot - 1);
}

void TCustomColorSelector::HandleKey(int Key, bool EditorEnabled, bool DroppedDown)
{
    if (!isEnabled() || Key < 33 || Key > 40) return;
    const bool arrowsSideways = !(EditorEnabled && !DroppedDown);
    switch (Key) {
    case 33:   // Page Up
    case 36:   // Home
        SelectFirst();
        break;
    case 34:   // Page Down
    case 35:   // End
        SelectLast();
        break;
    case 37:   // Left
        if (arrowsSideways) SelectPrevious();
        break;
    case 39:   // Right
        if (arrowsSideways) SelectNext();
        break;
    case 38:   // Up
    case 40: { // Down
        if (!DroppedDown) {
            Key == 38 ? SelectPrevious() : SelectNext();
            break;
        }
        const int at = FItemIndex < 0 ? 0 : FItemIndex + (Key == 38 ? -FColumns : FColumns);
        if (at >= 0 && at < FItems.Count()) SetItemIndex(at);
        break;
    }
    }
}

int TCustomColorSelector::ItemAtPos(int X, int Y) const
{
    for (int i = 0; i < FItems.Count(); ++i) {
        const TRect& r = FItems.Items(i)->FRect;
        if (FItems.Items(i)->HasRect && X >= r.Left && X < r.Right && Y >= r.Top && Y < r.Bottom) return i;
    }
    return -1;
}

void TCustomColorSelector::DrawItem(int Index, TCanvas& Canvas)
{
    if (Index < 0 || Index >= FItems.Count() || !FItems.Items(Index)->HasRect) return;
    const TColorBoxItem* item = FItems.Items(Index);
    TRect r = item->FRect;
    TColor B = FColorBoxAppearance.BorderColor, I = clNone;
    const bool hot = Index == FItemHot, selected = Index == FItemIndex;
    if (hot) B = FColorBoxAppearance.OuterBorderColorHot, I = FColorBoxAppearance.InnerBorderColorHot;
    if (selected) B = FColorBoxAppearance.OuterBorderColorSelected, I = FColorBoxAppearance.InnerBorderColorSelected;
    Canvas.Brush()->SetStyle(bsSolid);
    if (item->Color() != clNone) {
        Canvas.Pen()->SetColor(item->Color());
        Canvas.Brush()->SetColor(item->Color());
        Canvas.Rectangle(r);
    }
    if (hot || selected) {
        Canvas.Brush()->SetStyle(bsSolid);
        if (B != clNone) {
            Canvas.Brush()->SetColor(B);
            Canvas.FrameRect(r);
            r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
        }
        if (I != clNone) {
            Canvas.Brush()->SetColor(I);
            Canvas.FrameRect(r);
        }
        return;
    }
    if (B == clNone) return;
    Canvas.Pen()->SetColor(B);
    auto line = [&](int x1, int y1, int x2, int y2) {
        Canvas.MoveTo(x1, y1);
        Canvas.LineTo(x2, y2);
    };
    const int L = r.Left, T = r.Top, R = r.Right - 1, Bm = r.Bottom - 1;
    switch (item->ColorBoxPos) {
    case ipStandAlone:
        line(L, T, R, T), line(R, T, R, Bm), line(R, Bm, L, Bm), line(L, Bm, L, T);
        break;
    case ipTop:
        line(L, Bm + 1, L, T), line(L, T, R, T), line(R, T, R, Bm + 1);
        break;
    case ipMiddle:
        line(L, T, L, Bm + 1), line(R, T, R, Bm + 1);
        break;
    case ipBottom:
        line(L, T, L, Bm), line(L, Bm, R, Bm), line(R, T, R, Bm + 1);
        break;
    }
}

void TCustomColorSelector::paintEvent(QPaintEvent* e)
{
    TProCustomColorSelectorPanel::paintEvent(e);
    QPainter p(this);
    TCanvas c;
    c.BeginPaint(&p);
    for (int i = 0; i < FItems.Count(); ++i) DrawItem(i, c);
    c.EndPaint();
}

void TCustomColorSelector::mousePressEvent(QMouseEvent* e)
{
    const int i = ItemAtPos(e->position().toPoint().x(), e->position().toPoint().y());
    if (e->button() == Qt::LeftButton && i >= 0 && FItems.Items(i)->FEnabled) SetItemIndex(i);
}

void TCustomColorSelector::mouseMoveEvent(QMouseEvent* e)
{
    const int i = ItemAtPos(e->position().toPoint().x(), e->position().toPoint().y());
    SetItemHot(i >= 0 && FItems.Items(i)->FEnabled ? i : -1);
}

void TCustomColorSelector::leaveEvent(QEvent*) { SetItemHot(-1); }

// ---- the cube ----------------------------------------------------------------------------------

TProColorCubePanel::TProColorCubePanel(QWidget* AParent) : TProCustomColorSelectorPanel(AParent)
{
    setMouseTracking(true);
    setToolTipDuration(-1);
    BuildCells();
    resize(182, 160);
}

void TProColorCubePanel::BuildCells()
{
    static const std::vector<std::vector<TColor>> rows = {
        {0x663300, 0x996633, 0xCC6633, 0x993300, 0x990000, 0xCC0000, 0x660000},
        {0x666600, 0x996600, 0xCC9900, 0xCC6600, 0xCC3300, 0xFF0000, 0xFF3333, 0x993333},
        {0x808000, 0x999900, 0xCCCC33, 0xFFCC00, 0xFF9900, 0xFF6600, 0xFF6633, 0xCC3333, 0x996666},
        {0x669933, 0x99CC00, 0xCCFF00, 0xFFFF00, 0xFFCC33, 0xFF9933, 0xFF9966, 0xFF6666, 0xFF0066, 0xCC0066},
        {0x339933, 0x66CC00, 0x99FF00, 0xCCFF66, 0xFFFF66, 0xFFCC66, 0xFFCC99, 0xFF9999, 0xFF6699, 0xFF3399, 0xFF0099},
        {0x006600, 0x00CC00, 0x00FF00, 0x99FF66, 0xCCFF99, 0xFFFFCC, 0xFFECCC, 0xFFCCCC, 0xFF99CC, 0xFF66CC, 0xFF00CC,
         0xCC0099},
        {0x003300, 0x008000, 0x33CC33, 0x66FF66, 0x99FF99, 0xCCFFCC, 0xFFFFFF, 0xFFCCFF, 0xFF99FF, 0xFF66FF, 0xFF00FF,
         0xCC00CC, 0x660066},
        {0x006633, 0x009900, 0x33FF66, 0x66FF99, 0x99FFCC, 0xCCFFFF, 0xCCCCFF, 0xCC99FF, 0xCC66FF, 0xCC33FF, 0x9900CC,
         0x800080},
        {0x003333, 0x009966, 0x33FF99, 0x66FFCC, 0x99FFFF, 0x99CCFF, 0x9999FF, 0x9966FF, 0x9933FF, 0x9933CC, 0x990099},
        {0x336666, 0x00CC99, 0x33FFCC, 0x66FFFF, 0x66CCFF, 0x6699FF, 0x807CFF, 0x6600FF, 0x9300D6, 0x663399},
        {0x008080, 0x00CCCC, 0x00FFFF, 0x00CCFF, 0x3399FF, 0x0066FF, 0x5050FF, 0x6600CC, 0x330066},
        {0x336699, 0x0099CC, 0x0099FF, 0x0066CC, 0x0033FF, 0x0000FF, 0x0000CC, 0x330099},
        {0x003366, 0x006699, 0x0033CC, 0x003399, 0x000099, 0x000080, 0x2100A5},
    };
    FCubeSize = {6, 3};
    int n = 1;
    for (int r = 1; r <= 13; ++r) {
        const int y = 20 + 10 * (r - 1);
        int x = r <= 7 ? 55 - 6 * (r - 1) : 19 + 6 * (r - 7);
        for (TColor c : rows[size_t(r - 1)]) {
            FCubeCells[n++] = {{x, y}, c};
            x += 2 * FCubeSize.X;
        }
    }
}

void TProColorCubePanel::ResetForShow()
{
    FHotIndex = -1;
    resize(182, 160);
}

void TProColorCubePanel::SetShowRGBHint(bool v)
{
    FShowRGBHint = v;
    if (!v) setToolTip(QString());
}

int TProColorCubePanel::CellAtPos(int X, int Y) const
{
    const int r2 = FCubeSize.X * FCubeSize.X;
    for (int i = 1; i <= 127; ++i) {
        const int dx = X - FCubeCells[i].Center.X, dy = Y - FCubeCells[i].Center.Y;
        if (dx * dx + dy * dy <= r2) return i;
    }
    return -1;
}

void TProColorCubePanel::SetSelection(TColor Color, int Index)
{
    FSelectedColor = Color;
    if (Index >= 1 && Index <= 127) {
        FSelectedIndex = Index;
        return;
    }
    FSelectedIndex = -1;
    for (int i = 1; i <= 127; ++i)
        if (FCubeCells[i].Color == Color) {
            FSelectedIndex = i;
            break;
        }
}

void TProColorCubePanel::DrawHexagon(TCanvas& Canvas, TPoint Centre, int W, int H)
{
    const TPoint q{Centre.X - W, Centre.Y - 2 * H};
    Canvas.Polygon({{q.X, q.Y + H},
                    {q.X + W, q.Y},
                    {q.X + 2 * W, q.Y + H},
                    {q.X + 2 * W, q.Y + 3 * H},
                    {q.X + W, q.Y + 4 * H},
                    {q.X, q.Y + 3 * H}});
}

void TProColorCubePanel::paintEvent(QPaintEvent* e)
{
    TProCustomColorSelectorPanel::paintEvent(e);
    QPainter p(this);
    TCanvas c;
    c.BeginPaint(&p);
    auto frames = [&](const TPoint& centre, TColor outer) {
        c.Brush()->SetStyle(bsClear);
        c.Pen()->SetColor(outer);
        DrawHexagon(c, centre, 5, 3);
        c.Pen()->SetColor(clWhite);
        DrawHexagon(c, centre, 4, 2);
    };
    for (int i = 1; i <= 127; ++i) {
        const TCubeCell& cell = FCubeCells[i];
        c.Brush()->SetStyle(bsSolid);
        c.Brush()->SetColor(cell.Color);
        c.Pen()->SetColor(cell.Color);
        DrawHexagon(c, cell.Center, FCubeSize.X, FCubeSize.Y);
        if (i == FHotIndex) frames(cell.Center, clRed);
        if (i == FSelectedIndex) frames(cell.Center, clBlack);
    }
    c.EndPaint();
}

void TProColorCubePanel::mousePressEvent(QMouseEvent* e)
{
    const QPoint pt = e->position().toPoint();
    const int i = CellAtPos(pt.x(), pt.y());
    if (e->button() != Qt::LeftButton || i < 0) return;
    SetSelection(FCubeCells[i].Color, i);
    update();
    if (OnSelect) OnSelect(this);
}

void TProColorCubePanel::mouseMoveEvent(QMouseEvent* e)
{
    const QPoint pt = e->position().toPoint();
    const int i = CellAtPos(pt.x(), pt.y());
    if (i < 0) {
        if (FShowRGBHint) {
            setToolTip(QString());
            QToolTip::hideText();
        }
        return;
    }
    if (i == FHotIndex) return;
    FHotIndex = i;
    update();
    if (FShowRGBHint) {
        const TColor c = FCubeCells[i].Color;
        setToolTip(QStringLiteral("Red: %1,  Green: %2,  Blue: %3").arg(GetRValue(c)).arg(GetGValue(c)).arg(GetBValue(c)));
        QToolTip::hideText();
    }
}

void TProColorCubePanel::mouseReleaseEvent(QMouseEvent*)
{
    if (OnShouldHide) OnShouldHide(this);
}

// ---- the spectrum ------------------------------------------------------------------------------

namespace {
// The picture of the spectrum panel; its mouse events go to the panel through a filter.
class TSpectrumImage : public QWidget {
public:
    explicit TSpectrumImage(QWidget* AParent) : QWidget(AParent)
    {
        resize(128, 128);
        setMouseTracking(true);
        setCursor(PointerCursor());
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.drawImage(0, 0, SpectrumBitmap());
    }
};
} // namespace

TProColorSpectrumPanel::TProColorSpectrumPanel(QWidget* AParent) : TProCustomColorSelectorPanel(AParent)
{
    FSpectrumImage = new TSpectrumImage(this);
    FSpectrumImage->installEventFilter(this);
    UpdateLayout();
}

void TProColorSpectrumPanel::UpdateLayout()
{
    resize(150, 174);
    FSpectrumImage->move((width() - FSpectrumImage->width()) / 2, 10);
    const int PL = FSpectrumImage->x(), PW = FSpectrumImage->width();
    const int PB = FSpectrumImage->y() + FSpectrumImage->height();
    FSelectedRect = {PL - 1, PB + 8, PL + PW / 2 - 2, PB + 28};
    FHotRect = {FSelectedRect.Right + 4, FSelectedRect.Top, PL + PW + 1, FSelectedRect.Bottom};
    FHotColor = clNone;
    update();
}

void TProColorSpectrumPanel::paintEvent(QPaintEvent* e)
{
    TProCustomColorSelectorPanel::paintEvent(e);
    QPainter p(this);
    TCanvas c;
    c.BeginPaint(&p);
    const TRect pic = TRect::FromQRect(FSpectrumImage->geometry());
    c.Brush()->SetStyle(bsSolid);
    c.Brush()->SetColor(clWhite);
    c.FrameRect({pic.Left - 1, pic.Top - 1, pic.Right + 1, pic.Bottom + 1});
    c.Brush()->SetColor(clGray);
    c.FrameRect({pic.Left - 2, pic.Top - 2, pic.Right + 2, pic.Bottom + 2});
    c.FrameRect({pic.Left - 3, pic.Top - 3, pic.Right + 3, pic.Bottom + 3});
    auto box = [&](const TRect& r, TColor fill) {
        c.Brush()->SetStyle(bsSolid);
        c.Brush()->SetColor(clGray);
        c.FrameRect({r.Left - 1, r.Top - 1, r.Right + 1, r.Bottom + 1});
        c.Pen()->SetColor(clWhite);
        if (fill == clNone) c.Brush()->SetStyle(bsClear);
        else c.Brush()->SetColor(fill);
        c.Rectangle(r);
    };
    box(FSelectedRect, FSelectedColor);
    box(FHotRect, FHotColor);
    c.EndPaint();
}

bool TProColorSpectrumPanel::eventFilter(QObject* o, QEvent* e)
{
    if (o != FSpectrumImage) return false;
    if (e->type() == QEvent::MouseMove || e->type() == QEvent::MouseButtonPress) {
        const QPoint pt = static_cast<QMouseEvent*>(e)->position().toPoint();
        const QImage& img = SpectrumBitmap();
        if (img.valid(pt)) {
            FHotColor = QColorToColor(img.pixelColor(pt));
            update(FHotRect.ToQRect().adjusted(-1, -1, 1, 1));
        }
        if (e->type() == QEvent::MouseButtonPress && static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton &&
            FHotColor != clNone) {
            FSelectedColor = FHotColor;
            update(FSelectedRect.ToQRect().adjusted(-1, -1, 1, 1));
            if (OnSelect) OnSelect(this);
        }
        return true;
    }
    if (e->type() == QEvent::MouseButtonRelease) {
        if (OnShouldHide) OnShouldHide(this);
        return true;
    }
    return false;
}

void TProColorSpectrumPanel::mouseReleaseEvent(QMouseEvent*)
{
    if (OnShouldHide) OnShouldHide(this);
}
