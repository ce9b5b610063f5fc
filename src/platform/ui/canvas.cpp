#include "platform/ui/canvas.h"

#include "platform/core/sysutils.h"
#include "platform/core/file_io.h"

#include <QFontMetrics>
#include <QPaintDevice>
#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QWidget>
#include <cmath>
#include <algorithm>
#include <array>
#include <climits>
#include <deque>
#include <cstdlib>

// ---------------------------------------------------------------- rectangles

bool IntersectRect(TRect& dst, const TRect& a, const TRect& b)
{
    TRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right), std::min(a.Bottom, b.Bottom)};
    if (IsRectEmpty(r)) {
        dst = TRect{};
        return false;
    }
    dst = r;
    return true;
}

bool UnionRect(TRect& dst, const TRect& a, const TRect& b)
{
    if (IsRectEmpty(a)) dst = b;
    else if (IsRectEmpty(b)) dst = a;
    else dst = {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right), std::max(a.Bottom, b.Bottom)};
    return !IsRectEmpty(dst);
}

// ---------------------------------------------------------------- tools

void TGraphicsObject::Changed()
{
    FireNotify(OnChange, this);
}

namespace {
quint64 NextFontKey()
{
    static quint64 last = 0;
    return ++last;
}
}  // namespace

struct TFont::Measures {
    QFontMetrics Fm;
    int Ascent;
    int Descent;
    // Advances of the Latin-1 characters, measured as they are first asked for (-1: not yet).
    mutable std::array<int16_t, 256> Advance;
};

TFont::TFont() : FKey(NextFontKey()) {}

TFont::TFont(const TFont& other) : TGraphicsObject(), FKey(0)
{
    Assign(other);
}

TFont& TFont::operator=(const TFont& other)
{
    if (this != &other) Assign(other);
    return *this;
}

void TFont::Assign(const TFont& src)
{
    if (this == &src) return;
    FName = src.FName;
    FHeight = src.FHeight;
    FColor = src.FColor;
    FStyle = src.FStyle;
    FOrientation = src.FOrientation;
    // Fonts of one key share their Qt font and metrics, whichever of the two made them
    // first: a canvas given the grid's font for every cell builds them once, not per cell.
    const bool same = FKey == src.FKey;
    FKey = src.FKey;
    if (same && !src.FQFont) src.FQFont = FQFont;
    else FQFont = src.FQFont;
    if (same && !src.FMeasures) src.FMeasures = FMeasures;
    else FMeasures = src.FMeasures;   // metrics are immutable, so the two fonts may share them
    Changed();
}

void TFont::Invalidate()
{
    FKey = NextFontKey();
    FQFont.reset();
    FMeasures.reset();
    Changed();
}

void TFont::SetName(const QString& v)
{
    if (v == FName) return;
    FName = v;
    Invalidate();
}

int TFont::Size() const
{
    return -MulDiv(FHeight, 72, PixelsPerInch);
}

void TFont::SetSize(int points)
{
    SetHeight(-MulDiv(points, PixelsPerInch, 72));
}

void TFont::SetHeight(int pixels)
{
    if (pixels == FHeight) return;
    FHeight = pixels;
    Invalidate();
}

void TFont::SetColor(TColor c)
{
    if (c == FColor) return;
    FColor = c;
    Changed();   // the colour is not part of the Qt font
}

void TFont::SetStyle(TFontStyles s)
{
    if (s == FStyle) return;
    FStyle = s;
    Invalidate();
}

void TFont::SetOrientation(int tenths)
{
    if (tenths == FOrientation) return;
    FOrientation = tenths;
    Changed();
}

const QFont& TFont::ToQFont() const
{
    if (!FQFont) {
        QFont f = FName.isEmpty() ? QFont() : QFont(FName);
        // A negative height is the character height; a positive one includes the internal
        // leading, which only the font knows, so it is taken as the character height too.
        f.setPixelSize(std::max(1, std::abs(FHeight)));
        f.setBold(FStyle.Contains(fsBold));
        f.setItalic(FStyle.Contains(fsItalic));
        f.setUnderline(FStyle.Contains(fsUnderline));
        f.setStrikeOut(FStyle.Contains(fsStrikeOut));
        FQFont = f;
    }
    return *FQFont;
}

const TFont::Measures& TFont::Measure() const
{
    if (!FMeasures) {
        QFontMetrics fm(ToQFont());
        auto m = std::make_shared<Measures>(Measures{fm, fm.ascent(), fm.descent(), {}});
        m->Advance.fill(-1);
        FMeasures = std::move(m);
    }
    return *FMeasures;
}

bool TFont::SurelyFits(const QString& text, int width) const
{
    // The advances of the characters one by one, with room for what kerning can add, show
    // without shaping the text that it fits; anything else is left to the real measuring.
    int sum = 2 + int(text.size()) / 4;
    for (QChar ch : text) {
        if (ch.unicode() > 0xFF) return false;
        sum += CharAdvance(ch);
        if (sum > width) return false;
    }
    return true;
}

int TFont::CharAdvance(QChar ch) const
{
    const Measures& m = Measure();
    const char16_t u = ch.unicode();
    if (u > 0xFF) return m.Fm.horizontalAdvance(ch);
    int16_t& a = m.Advance[u];
    if (a < 0) a = int16_t(m.Fm.horizontalAdvance(ch));
    return a;
}

const QFontMetrics& TFont::Metrics() const
{
    return Measure().Fm;
}

int TFont::Ascent() const
{
    return Measure().Ascent;
}

int TFont::LineHeight() const
{
    return Measure().Ascent + Measure().Descent;
}

bool operator==(const TFont& a, const TFont& b)
{
    return a.FName == b.FName && a.FHeight == b.FHeight && a.FColor == b.FColor && a.FStyle == b.FStyle &&
           a.FOrientation == b.FOrientation;
}

void TPen::Assign(const TPen& src)
{
    if (this == &src) return;
    FColor = src.FColor;
    FWidth = src.FWidth;
    FStyle = src.FStyle;
    FMode = src.FMode;
    Changed();
}

void TPen::SetColor(TColor c)
{
    if (c == FColor) return;
    FColor = c;
    Changed();
}

void TPen::SetWidth(int w)
{
    if (w == FWidth) return;
    FWidth = w;
    Changed();
}

void TPen::SetStyle(TPenStyle s)
{
    if (s == FStyle) return;
    FStyle = s;
    Changed();
}

void TPen::SetMode(TPenMode m)
{
    if (m == FMode) return;
    FMode = m;
    Changed();
}

void TBrush::Assign(const TBrush& src)
{
    if (this == &src) return;
    FColor = src.FColor;
    FStyle = src.FStyle;
    Changed();
}

void TBrush::SetColor(TColor c)
{
    if (c == FColor && FStyle != bsClear) return;
    FColor = c;
    if (FStyle == bsClear) FStyle = bsSolid;
    Changed();
}

void TBrush::SetStyle(TBrushStyle s)
{
    if (s == FStyle) return;
    FStyle = s;
    Changed();
}

// ---------------------------------------------------------------- canvas

namespace {

QColor Solid(TColor c)
{
    // a pen, brush or font left at clNone paints as its low 24 bits do
    return ColorToQColor(ColorToRGB(c) & 0xFFFFFF);
}

QPainter::CompositionMode ModeOf(TPenMode m)
{
    switch (m) {
    case pmNot: return QPainter::RasterOp_NotDestination;
    case pmXor: return QPainter::RasterOp_SourceXorDestination;
    case pmNotXor: return QPainter::RasterOp_NotSourceXorDestination;
    case pmNotCopy: return QPainter::RasterOp_NotSource;
    case pmMerge: return QPainter::RasterOp_SourceOrDestination;
    case pmMask: return QPainter::RasterOp_SourceAndDestination;
    case pmNotMerge: return QPainter::RasterOp_NotSourceAndNotDestination;
    case pmNotMask: return QPainter::RasterOp_NotSourceOrNotDestination;
    case pmMaskPenNot: return QPainter::RasterOp_SourceAndNotDestination;
    case pmMaskNotPen: return QPainter::RasterOp_NotSourceAndDestination;
    case pmMergePenNot: return QPainter::RasterOp_SourceOrNotDestination;
    case pmMergeNotPen: return QPainter::RasterOp_NotSourceOrDestination;
    default: return QPainter::CompositionMode_SourceOver;
    }
}

// The pen modes whose result depends on the pixels underneath only through exclusive-or.
bool Combines(TPenMode m)
{
    return m == pmXor || m == pmNotXor || m == pmNot;
}

// What a combining pen mode does to any pixel, as the colour to exclusive-or it with.
QColor MaskOf(TPenMode m, const QColor& c)
{
    if (m == pmNot) return QColor(Qt::white);
    if (m == pmNotXor) return QColor(QRgb(~c.rgb() & 0xFFFFFF));
    return c;
}

}  // namespace

TCanvas::TCanvas() = default;

TCanvas::TCanvas(QPaintDevice* device) : FDevice(device) {}

TCanvas::~TCanvas()
{
    Release();
}

void TCanvas::BeginPaint(QPainter* painter, const QRegion& area)
{
    Release();
    FTextPainter = nullptr;
    FPaintArea = area;
    FPainter = painter;
    if (FPainter) FPainter->setRenderHint(QPainter::Antialiasing, false);
}

void TCanvas::EndPaint()
{
    if (FPainter && FPainter != FOwnPainter.get()) FPainter = nullptr;
    FTextPainter = nullptr;
    FPaintArea = QRegion();
    FSaved.clear();
}

void TCanvas::Release()
{
    if (FOwnPainter) {
        if (FPainter == FOwnPainter.get()) FPainter = nullptr;
        FOwnPainter->end();
        FOwnPainter.reset();
        FSaved.clear();
        FTextPainter = nullptr;
    }
}

bool TCanvas::CanDraw()
{
    if (FPainter) return FPainter->isActive();
    return Open();
}

bool TCanvas::Open()
{
    if (!FDevice || FDevice->width() <= 0 || FDevice->height() <= 0) return false;
    FOwnPainter = std::make_unique<QPainter>(FDevice);
    if (!FOwnPainter->isActive()) {
        FOwnPainter.reset();
        return false;
    }
    FOwnPainter->setRenderHint(QPainter::Antialiasing, false);
    FPainter = FOwnPainter.get();
    return true;
}

QPainter* TCanvas::Painter()
{
    // whoever takes the painter may change its font and pen
    FTextPainter = nullptr;
    return CanDraw() ? FPainter : nullptr;
}

QPainter* TCanvas::DrawingTarget(const TRect&, bool)
{
    return CanDraw() ? FPainter : nullptr;
}

void TCanvas::ApplyPen(QPainter& p)
{
    if (FPen.Style() == psClear || FPen.Mode() == pmNop) {
        p.setPen(Qt::NoPen);
        return;
    }
    QColor c = FPen.Mode() == pmBlack ? QColor(Qt::black) : FPen.Mode() == pmWhite ? QColor(Qt::white) : Solid(FPen.Color());
    const bool mask = &p == FCombineLayer;
    if (mask) c = MaskOf(FPen.Mode(), c);
    QPen pen(c);
    pen.setWidth(FPen.Width() <= 1 ? 0 : FPen.Width());
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    switch (FPen.Style()) {
    case psDash: pen.setStyle(Qt::DashLine); break;
    case psDot: pen.setStyle(Qt::DotLine); break;
    case psDashDot: pen.setStyle(Qt::DashDotLine); break;
    case psDashDotDot: pen.setStyle(Qt::DashDotDotLine); break;
    default: pen.setStyle(Qt::SolidLine); break;
    }
    p.setPen(pen);
    p.setCompositionMode(mask ? QPainter::RasterOp_SourceXorDestination : ModeOf(FPen.Mode()));
}

void TCanvas::ApplyBrush(QPainter& p)
{
    Qt::BrushStyle s = Qt::SolidPattern;
    switch (FBrush.Style()) {
    case bsClear: p.setBrush(Qt::NoBrush); return;
    case bsHorizontal: s = Qt::HorPattern; break;
    case bsVertical: s = Qt::VerPattern; break;
    case bsFDiagonal: s = Qt::FDiagPattern; break;
    case bsBDiagonal: s = Qt::BDiagPattern; break;
    case bsCross: s = Qt::CrossPattern; break;
    case bsDiagCross: s = Qt::DiagCrossPattern; break;
    default: break;
    }
    QColor c = Solid(FBrush.Color());
    if (&p == FCombineLayer) c = MaskOf(FPen.Mode(), c);
    p.setBrush(QBrush(c, s));
}

void TCanvas::MoveTo(int x, int y)
{
    FPenPos = {x, y};
}

void TCanvas::LineTo(int x, int y)
{
    TPoint from = FPenPos;
    FPenPos = {x, y};
    if (from == FPenPos || FPen.Style() == psClear || FPen.Mode() == pmNop) return;
    const int reach = std::max(1, FPen.Width());
    const TRect bounds{std::min(from.X, x) - reach, std::min(from.Y, y) - reach, std::max(from.X, x) + reach + 1,
                       std::max(from.Y, y) + reach + 1};
    QPainter* target = DrawingTarget(bounds, Combines(FPen.Mode()));
    if (!target) return;
    QPainter& p = *target;
    // The last point of the line is left out: step back one pixel along the line's major
    // axis (Bresenham) and draw to there inclusive.
    int dx = x - from.X, dy = y - from.Y;
    int steps = std::max(std::abs(dx), std::abs(dy));
    auto at = [&](int i) {
        return QPoint(from.X + static_cast<int>(Round(double(dx) * i / steps)),
                      from.Y + static_cast<int>(Round(double(dy) * i / steps)));
    };
    const bool thinSolid = FPen.Width() <= 1 && FPen.Style() == psSolid;
    if (thinSolid && (dx == 0 || dy == 0) && FPen.Mode() == pmCopy) {
        // The grid's lines: one fill, no pen to build.
        QPoint a(from.X, from.Y), b = at(steps - 1);
        p.fillRect(QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                         QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y()))),
                   Solid(FPen.Color()));
        return;
    }
    p.save();
    ApplyPen(p);
    if (thinSolid) {
        if (dx == 0 || dy == 0) {
            // a flat cap leaves the end point out
            p.drawLine(QPoint(from.X, from.Y), QPoint(x, y));
        } else {
            std::vector<QPoint> pts;
            pts.reserve(steps);
            for (int i = 0; i < steps; ++i) pts.push_back(at(i));
            p.drawPoints(pts.data(), static_cast<int>(pts.size()));
        }
    } else if (steps > 1) {
        p.drawLine(QPoint(from.X, from.Y), at(steps - 1));
    } else {
        p.drawPoint(from.X, from.Y);
    }
    p.restore();
}

void TCanvas::Polyline(const std::vector<TPoint>& points)
{
    if (points.empty()) return;
    TPoint keep = FPenPos;
    MoveTo(points[0].X, points[0].Y);
    for (size_t i = 1; i < points.size(); ++i) LineTo(points[i].X, points[i].Y);
    FPenPos = keep;
}

void TCanvas::FillRect(const TRect& r)
{
    if (IsRectEmpty(r) || FBrush.Style() == bsClear) return;
    QPainter* target = DrawingTarget(r, false);
    if (!target) return;
    QPainter& p = *target;
    if (FBrush.Style() == bsSolid) {
        p.fillRect(r.ToQRect(), Solid(FBrush.Color()));
    } else {
        p.save();
        ApplyBrush(p);
        p.setPen(Qt::NoPen);
        p.drawRect(r.ToQRect());
        p.restore();
    }
}

void TCanvas::FrameRect(const TRect& r)
{
    // A one-pixel frame in the brush colour, inside the rectangle.
    if (IsRectEmpty(r)) return;
    QPainter* target = DrawingTarget(r, false);
    if (!target) return;
    QColor c = Solid(FBrush.Color());
    QPainter& p = *target;
    p.fillRect(QRect(r.Left, r.Top, r.Width(), 1), c);
    p.fillRect(QRect(r.Left, r.Bottom - 1, r.Width(), 1), c);
    p.fillRect(QRect(r.Left, r.Top, 1, r.Height()), c);
    p.fillRect(QRect(r.Right - 1, r.Top, 1, r.Height()), c);
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2)
{
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    if (x2 - x1 < 1 || y2 - y1 < 1) return;
    const TRect bounds{x1, y1, x2, y2};
    bool pen = FPen.Style() != psClear && FPen.Mode() != pmNop;
    if (!pen) {
        // Without a pen the interior stops one pixel short of the right and bottom edges.
        QPainter* target = FBrush.Style() != bsClear ? DrawingTarget(bounds, false) : nullptr;
        if (target) {
            QPainter& p = *target;
            p.save();
            ApplyBrush(p);
            p.setPen(Qt::NoPen);
            p.drawRect(QRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1));
            p.restore();
        }
        return;
    }
    if (FBrush.Style() != bsClear && x2 - x1 > 2 && y2 - y1 > 2) {
        if (QPainter* fill = DrawingTarget(bounds, false)) {
            fill->save();
            ApplyBrush(*fill);
            fill->setPen(Qt::NoPen);
            fill->drawRect(QRect(x1 + 1, y1 + 1, x2 - x1 - 2, y2 - y1 - 2));
            fill->restore();
        }
    }
    QPainter* target = DrawingTarget(bounds, Combines(FPen.Mode()));
    if (!target) return;
    QPainter& p = *target;
    if (FPen.Width() <= 1 && FPen.Style() == psSolid && FPen.Mode() == pmCopy) {
        QColor c = Solid(FPen.Color());
        p.fillRect(QRect(x1, y1, x2 - x1, 1), c);
        p.fillRect(QRect(x1, y2 - 1, x2 - x1, 1), c);
        p.fillRect(QRect(x1, y1, 1, y2 - y1), c);
        p.fillRect(QRect(x2 - 1, y1, 1, y2 - y1), c);
        return;
    }
    p.save();
    ApplyPen(p);
    p.setBrush(Qt::NoBrush);
    int w = FPen.Width();
    if (FPen.Style() == psInsideFrame && w > 1) p.drawRect(QRectF(x1 + w / 2.0, y1 + w / 2.0, x2 - x1 - w, y2 - y1 - w));
    else p.drawRect(QRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1));
    p.restore();
}

void TCanvas::RoundRect(int x1, int y1, int x2, int y2, int x3, int y3)
{
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    if (x2 - x1 < 1 || y2 - y1 < 1) return;
    QPainter* target = DrawingTarget({x1, y1, x2, y2}, Combines(FPen.Mode()));
    if (!target) return;
    QPainter& p = *target;
    p.save();
    ApplyPen(p);
    ApplyBrush(p);
    p.drawRoundedRect(QRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1), x3 / 2.0, y3 / 2.0);
    p.restore();
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2)
{
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    if (x2 - x1 < 1 || y2 - y1 < 1) return;
    QPainter* target = DrawingTarget({x1, y1, x2, y2}, Combines(FPen.Mode()));
    if (!target) return;
    QPainter& p = *target;
    p.save();
    ApplyPen(p);
    ApplyBrush(p);
    p.drawEllipse(QRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1));
    p.restore();
}

void TCanvas::Polygon(const std::vector<TPoint>& points)
{
    if (points.size() < 2) return;
    std::vector<QPoint> pts;
    pts.reserve(points.size());
    for (const TPoint& t : points) pts.emplace_back(t.X, t.Y);
    const QRect box = QPolygon(static_cast<int>(pts.size()), &pts[0].rx()).boundingRect().adjusted(-1, -1, 2, 2);
    QPainter* target = DrawingTarget(TRect::FromQRect(box), Combines(FPen.Mode()));
    if (!target) return;
    QPainter& p = *target;
    p.save();
    ApplyPen(p);
    ApplyBrush(p);
    p.drawPolygon(pts.data(), static_cast<int>(pts.size()), Qt::OddEvenFill);
    p.restore();
}

void TCanvas::DrawFocusRect(const TRect& r)
{
    // Every other pixel of the frame inverted, so that drawing it twice removes it.
    if (IsRectEmpty(r)) return;
    QPainter* target = DrawingTarget(r, true);
    if (!target) return;
    std::vector<QPoint> pts;
    int i = 0;
    auto add = [&](int x, int y) {
        if ((i++ & 1) == 0) pts.emplace_back(x, y);
    };
    for (int x = r.Left; x < r.Right; ++x) add(x, r.Top);
    for (int y = r.Top + 1; y < r.Bottom; ++y) add(r.Right - 1, y);
    if (r.Height() > 1)
        for (int x = r.Right - 2; x >= r.Left; --x) add(x, r.Bottom - 1);
    if (r.Width() > 1)
        for (int y = r.Bottom - 2; y > r.Top; --y) add(r.Left, y);
    QPainter& p = *target;
    p.save();
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p.setPen(QPen(Qt::white, 0));
    p.drawPoints(pts.data(), static_cast<int>(pts.size()));
    p.restore();
}

// ---------------------------------------------------------------- text

int TCanvas::TextWidth(const QString& text) const
{
    return FFont.Metrics().horizontalAdvance(text);
}

int TCanvas::TextHeight(const QString& text) const
{
    return FFont.LineHeight();
}

QSize TCanvas::TextExtent(const QString& text) const
{
    return QSize(TextWidth(text), TextHeight(text));
}

void TCanvas::DrawTextLine(int x, int y, const QString& text, int underlineFrom, int underlineLen)
{
    if (text.isEmpty()) return;
    const QFontMetrics& fm = FFont.Metrics();
    TRect bounds;
    if (FTextBounds && !Lent()) {
        const int w = fm.horizontalAdvance(text), h = FFont.LineHeight();
        bounds = FFont.Orientation() == 0 ? Bounds(x, y, w, h) : TRect{x - w - h, y - w - h, x + w + h, y + w + h};
    }
    QPainter* target = DrawingTarget(bounds, false);
    if (!target) return;
    QPainter& p = *target;
    p.save();
    p.setFont(FFont.ToQFont());
    p.setPen(Solid(FFont.Color()));
    if (FRtlReading) p.setLayoutDirection(Qt::RightToLeft);
    if (FFont.Orientation() != 0) {
        p.translate(x, y);
        p.rotate(-FFont.Orientation() / 10.0);
        x = 0;
        y = 0;
    }
    p.drawText(x, y + FFont.Ascent(), text);
    if (underlineFrom >= 0 && underlineFrom < text.size()) {
        int x0 = x + fm.horizontalAdvance(text.left(underlineFrom));
        int w = fm.horizontalAdvance(text.mid(underlineFrom, underlineLen));
        p.fillRect(QRect(x0, y + FFont.Ascent() + 1, w, 1), Solid(FFont.Color()));
    }
    p.restore();
}

void TCanvas::TextOut(int x, int y, const QString& text)
{
    int w = TextWidth(text);
    if (Opaque()) {
        const TRect back = Bounds(x, y, w, TextHeight(text));
        if (QPainter* p = DrawingTarget(back, false)) p->fillRect(back.ToQRect(), Solid(FBrush.Color()));
    }
    DrawTextLine(x, y, text, -1, 0);
    FPenPos = {x + w, y};
}

void TCanvas::TextRect(const TRect& r, int x, int y, const QString& text)
{
    QPainter* target = DrawingTarget(r, false);
    if (!target) {
        DrawTextLine(x, y, text, -1, 0);
        return;
    }
    QPainter& p = *target;
    p.save();
    p.setClipRect(r.ToQRect(), p.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    if (Opaque()) p.fillRect(r.ToQRect(), Solid(FBrush.Color()));
    DrawTextLine(x, y, text, -1, 0);
    p.restore();
}

namespace {

struct TextLine {
    QString Text;
    int Underline = -1;   // index of the prefixed character in Text, -1 for none
    int Width = 0;
};

// "&x" underlines x, "&&" is a literal "&", a lone "&" at the end is dropped.
QString StripPrefixes(const QString& s, int& underline)
{
    QString out;
    out.reserve(s.size());
    underline = -1;
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] == u'&') {
            if (i + 1 >= s.size()) break;
            ++i;
            if (s[i] != u'&' && underline < 0) underline = static_cast<int>(out.size());
        }
        out += s[i];
    }
    return out;
}

// Tabs become blanks up to the next stop; stops are eight average characters apart.  A tab's
// place is the width of its line so far; past the first stretch of a long line it is taken on
// from the previous tab's stop, so that a line of many tabs costs its length, not its square.
QString ExpandTabs(const QString& s, const QFontMetrics& fm, int& underline)
{
    if (!s.contains(u'\t')) return s;
    constexpr qsizetype exactSpan = 256;
    int stop = std::max(1, 8 * fm.averageCharWidth());
    int space = std::max(1, fm.horizontalAdvance(u' '));
    QString out;
    out.reserve(s.size());
    qsizetype lineStart = 0, knownTo = 0;   // out[lineStart, knownTo) is knownX wide
    int knownX = 0;
    int shiftAt = underline, shift = 0;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c == u'\t') {
            const int x = out.size() - lineStart <= exactSpan
                              ? fm.horizontalAdvance(out.mid(lineStart))
                              : knownX + fm.horizontalAdvance(out.mid(knownTo));
            int next = (x / stop + 1) * stop;
            int n = std::max(1, (next - x + space - 1) / space);
            out += QString(n, u' ');
            knownTo = out.size();
            knownX = x + n * space;
            if (shiftAt > i) shift += n - 1;
        } else {
            out += c;
            if (c == u'\n' || c == u'\r') {
                lineStart = knownTo = out.size();
                knownX = 0;
            }
        }
    }
    if (underline >= 0) underline += shift;
    return out;
}

// Whether text is at most maxWidth wide.  A long text is measured over a prefix first, one
// a little longer than its characters' own advances say can fit, then over doubling
// prefixes: one already too wide settles it without shaping the rest.
bool Fits(const TFont& f, QStringView text, int maxWidth)
{
    const QFontMetrics& fm = f.Metrics();
    const qsizetype n = text.size();
    auto tooWide = [&](qsizetype k) {
        if (k < n && text[k - 1].isHighSurrogate()) ++k;
        return fm.horizontalAdvance(text.left(k).toString()) > maxWidth;
    };
    if (n > 32) {
        qsizetype k = 0;
        for (int x = 0; k < n && x <= maxWidth;) x += f.CharAdvance(text[k++]);
        k += k / 8 + 8;
        if (k < n && tooWide(k)) return false;
        for (k = std::max<qsizetype>(2 * k, 128); k < n; k *= 2)
            if (tooWide(k)) return false;
    }
    return fm.horizontalAdvance(text.toString()) <= maxWidth;
}

// The longest prefix length for which prefix + suffix fits.  The search starts where the
// characters' own advances reach the width and widens from there by doubling steps, so a
// long text is measured about as far as it fits, not to its end.
int Fit(const TFont& f, QStringView text, int maxWidth, const QString& suffix)
{
    const QFontMetrics& fm = f.Metrics();
    const int n = static_cast<int>(text.size());
    if (n == 0) return 0;
    auto fits = [&](int k) { return fm.horizontalAdvance(text.left(k).toString() + suffix) <= maxWidth; };
    int guess = 0;
    for (int x = suffix.isEmpty() ? 0 : fm.horizontalAdvance(suffix); guess < n; ++guess) {
        x += f.CharAdvance(text[guess]);
        if (x > maxWidth) break;
    }
    const int g = std::clamp(guess, 1, n);
    int lo = 0, hi = n;   // lo fits (0 is taken to), more than hi does not
    if (fits(g)) {
        lo = g;
        for (int step = 1; lo < n; step *= 2) {
            const int k = std::min(n, g + step);
            if (!fits(k)) {
                hi = k - 1;
                break;
            }
            lo = k;
        }
    } else {
        hi = g - 1;
        for (int step = 1; g - step > 0; step *= 2) {
            const int k = g - step;
            if (fits(k)) {
                lo = k;
                break;
            }
            hi = k - 1;
        }
    }
    while (lo < hi) {
        const int mid = (lo + hi + 1) / 2;
        if (fits(mid)) lo = mid;
        else hi = mid - 1;
    }
    return lo;
}

void EndEllipsis(TextLine& line, const TFont& f, int maxWidth)
{
    static const QString dots = QStringLiteral("...");
    int k = Fit(f, line.Text, maxWidth, dots);
    line.Text = line.Text.left(k) + dots;
    if (line.Underline >= k) line.Underline = -1;
}

void PathEllipsis(TextLine& line, const TFont& f, int maxWidth)
{
    static const QString dots = QStringLiteral("...");
    qsizetype sep = std::max(line.Text.lastIndexOf(u'\\'), line.Text.lastIndexOf(u'/'));
    if (sep < 0) {
        EndEllipsis(line, f, maxWidth);
        return;
    }
    QString tail = line.Text.mid(sep);
    int k = Fit(f, QStringView(line.Text).left(sep), maxWidth, dots + tail);
    line.Text = line.Text.left(k) + dots + tail;
    line.Underline = -1;
}

// Breaks one paragraph at blanks so that each line fits, appending the lines to out until it
// holds maxLines; a word wider than the line stays whole unless breakWords (the edit-control
// rule) is set.  The words of a line are found by trying twice as many until they no longer
// fit and then halving, each try measuring no further than its text can fit, and every word
// is scanned once: a paragraph costs about its length, however long its words and lines.
void WrapParagraph(std::vector<TextLine>& out, QStringView s, int underline, const TFont& f, int maxWidth,
                   bool breakWords, size_t maxLines)
{
    const qsizetype n = s.size();
    auto push = [&](qsizetype from, qsizetype to) {
        qsizetype end = to;
        while (end > from && s[end - 1] == u' ') --end;   // blanks at a break vanish
        TextLine l;
        l.Text = s.mid(from, end - from).toString();
        if (underline >= from && underline < end) l.Underline = static_cast<int>(underline - from);
        out.push_back(std::move(l));
    };
    if (n == 0) {
        if (out.size() < maxLines) out.push_back(TextLine{});
        return;
    }
    // The words ahead: a word is [Start, End), the blanks after it run to Next.
    struct Word {
        qsizetype Start, End, Next;
    };
    std::deque<Word> words;
    qsizetype scanned = 0;
    auto have = [&](size_t k) {   // word k is scanned; false when the paragraph has fewer
        while (words.size() <= k) {
            if (scanned >= n) return false;
            Word w{scanned, scanned, 0};
            while (w.End < n && s[w.End] != u' ') ++w.End;
            w.Next = w.End;
            while (w.Next < n && s[w.Next] == u' ') ++w.Next;
            scanned = w.Next;
            words.push_back(w);
        }
        return true;
    };
    while (out.size() < maxLines && have(0)) {
        const qsizetype lineStart = words[0].Start;
        auto fits = [&](size_t k) { return Fits(f, s.mid(lineStart, words[k - 1].End - lineStart), maxWidth); };
        // lo words fit; hi words (when set) do not
        size_t lo = 0, hi = 0;
        for (size_t k = 1;;) {
            const bool more = have(k - 1);
            if (!more) k = words.size();
            if (k <= lo) break;
            if (!fits(k)) {
                hi = k;
                break;
            }
            lo = k;
            if (!more) break;
            k *= 2;
        }
        while (hi > lo + 1) {
            const size_t mid = lo + (hi - lo) / 2;
            if (fits(mid)) lo = mid;
            else hi = mid;
        }
        qsizetype lastBreak;
        if (lo > 0) {
            lastBreak = words[lo - 1].Next;
            words.erase(words.begin(), words.begin() + qsizetype(lo));
        } else {
            // the first word alone is too wide
            Word& w = words.front();
            lastBreak = w.Next;
            qsizetype cut = w.Next;
            if (breakWords) cut = lineStart + std::max(1, Fit(f, s.mid(lineStart, w.End - lineStart), maxWidth, QString()));
            if (cut < w.End) {
                lastBreak = cut;
                w.Start = cut;
            } else {
                words.pop_front();
            }
        }
        push(lineStart, lastBreak);
    }
}

// The lines DrawText makes of text at width by format, no more than maxLines of them (a
// single line always).
std::vector<TextLine> BreakText(const QString& text, uint32_t format, const TFont& f, int width, size_t maxLines)
{
    const QFontMetrics& fm = f.Metrics();
    int underline = -1;
    QString plain = (format & DT_NOPREFIX) ? text : StripPrefixes(text, underline);
    if (format & (DT_HIDEPREFIX | DT_NOPREFIX)) underline = -1;
    if (format & DT_EXPANDTABS) plain = ExpandTabs(plain, fm, underline);

    std::vector<TextLine> lines;
    if (format & DT_SINGLELINE) {
        QString s;
        s.reserve(plain.size());
        int u = underline;
        for (qsizetype i = 0; i < plain.size(); ++i) {
            if (plain[i] == u'\r' || plain[i] == u'\n') {
                if (i < underline) --u;
                continue;
            }
            s += plain[i];
        }
        lines.push_back(TextLine{s, underline >= 0 ? u : -1, 0});
        return lines;
    }
    qsizetype start = 0;
    bool whole = false;
    for (qsizetype i = 0; i <= plain.size() && lines.size() < maxLines; ++i) {
        const bool end = i == plain.size();
        if (!end && plain[i] != u'\r' && plain[i] != u'\n') continue;
        const QStringView para = QStringView(plain).mid(start, i - start);
        const int u = (underline >= start && underline < i) ? static_cast<int>(underline - start) : -1;
        if (format & DT_WORDBREAK) WrapParagraph(lines, para, u, f, width, format & DT_EDITCONTROL, maxLines);
        else lines.push_back(TextLine{para.toString(), u, 0});
        if (end) {
            whole = true;
            break;
        }
        if (plain[i] == u'\r' && i + 1 < plain.size() && plain[i + 1] == u'\n') ++i;
        start = i + 1;
    }
    // a line break at the very end opens no further line
    if (whole && lines.size() > 1 && lines.back().Text.isEmpty() && !plain.isEmpty() &&
        (plain.endsWith(u'\n') || plain.endsWith(u'\r')))
        lines.pop_back();
    return lines;
}

}  // namespace

bool TCanvas::TextFits(const QString& text, int width) const
{
    return Fits(FFont, text, width);
}

int TCanvas::TextLineCount(const QString& text, int width, uint32_t format, int limit) const
{
    return static_cast<int>(BreakText(text, format, FFont, width, size_t(std::max(0, limit))).size());
}

int TCanvas::AlignedX(const TRect& r, int width, uint32_t format)
{
    if (format & DT_CENTER) return r.Left + (r.Width() - width) / 2;
    if (format & DT_RIGHT) return r.Right - width;
    return r.Left;
}

void TCanvas::DrawTextLineIn(const TRect& line, const QString& text, uint32_t format)
{
    if (text.isEmpty()) return;
    TRect bounds = line;
    if (FTextBounds && !Lent() && (format & DT_NOCLIP)) {
        const int w = TextWidth(text);
        bounds.Left = AlignedX(line, w, format);
        bounds.Right = bounds.Left + w;
    }
    QPainter* target = DrawingTarget(bounds, false);
    if (!target) return;
    QPainter& p = *target;
    int flags = Qt::TextSingleLine | Qt::AlignTop;
    flags |= (format & DT_CENTER) ? Qt::AlignHCenter : (format & DT_RIGHT) ? Qt::AlignRight : Qt::AlignLeft;
    if (format & DT_NOCLIP) flags |= Qt::TextDontClip;
    // The painter keeps the text's font and colour from cell to cell; every other drawing
    // call sets what it needs inside a save and restore of its own.
    const QColor color = Solid(FFont.Color());
    if (FTextPainter != &p || FTextFont != FFont.Key()) p.setFont(FFont.ToQFont());
    if (FTextPainter != &p || FTextColor != color.rgb()) p.setPen(color);
    FTextPainter = &p;
    FTextFont = FFont.Key();
    FTextColor = color.rgb();
    if (format & DT_RTLREADING) {
        // the line reads right to left; left and right stay where the flags put the text
        const Qt::LayoutDirection keep = p.layoutDirection();
        p.setLayoutDirection(Qt::RightToLeft);
        p.drawText(line.ToQRect(), flags | Qt::AlignAbsolute, text);
        p.setLayoutDirection(keep);
        return;
    }
    p.drawText(line.ToQRect(), flags, text);
}

int TCanvas::DrawText(const QString& text, TRect& r, uint32_t format)
{
    struct Reading {
        bool& Flag;
        ~Reading() { Flag = false; }
    } reading{FRtlReading};
    FRtlReading = format & DT_RTLREADING;
    const QFontMetrics& fm = FFont.Metrics();
    const int lineH = FFont.LineHeight() + ((format & DT_EXTERNALLEADING) ? fm.leading() : 0);
    const bool single = format & DT_SINGLELINE;
    const bool calc = format & DT_CALCRECT;
    const uint32_t ellipsis = format & (DT_PATH_ELLIPSIS | DT_END_ELLIPSIS | DT_WORD_ELLIPSIS);

    // The plain single-line text of a cell: nothing to strip, break, expand or shorten, no
    // background, and inside the rectangle's height: placed and drawn by one aligned call,
    // without measuring it first.
    if (single && !(format & (DT_CALCRECT | DT_EXPANDTABS)) && !ellipsis && !Opaque() && FFont.Orientation() == 0 &&
        ((format & DT_NOPREFIX) || !text.contains(u'&')) && !text.contains(u'\r') && !text.contains(u'\n')) {
        int y = r.Top;
        if (format & DT_VCENTER) y = r.Top + (r.Height() - lineH) / 2;
        else if (format & DT_BOTTOM) y = r.Bottom - lineH;
        if ((format & DT_NOCLIP) || (y >= r.Top && y + lineH <= r.Bottom)) {
            DrawTextLineIn({r.Left, y, r.Right, y + lineH}, text, format);
            return (format & (DT_VCENTER | DT_BOTTOM)) ? y + lineH - r.Top : lineH;
        }
    }

    // A word-broken text of one paragraph that fits on its first line is that line, at the
    // top: one measuring and one aligned call instead of breaking it word by word.
    if (!single && (format & DT_WORDBREAK) && !(format & (DT_CALCRECT | DT_EXPANDTABS)) && !ellipsis && !Opaque() &&
        FFont.Orientation() == 0 && ((format & DT_NOPREFIX) || !text.contains(u'&')) && !text.contains(u'\r') &&
        !text.contains(u'\n') && !text.endsWith(u' ') && ((format & DT_NOCLIP) || lineH <= r.Height()) &&
        (FFont.SurelyFits(text, r.Width()) || Fits(FFont, text, r.Width()))) {
        DrawTextLineIn({r.Left, r.Top, r.Right, r.Top + lineH}, text, format);
        return lineH;
    }

    // Text goes where ordinary drawing goes (never to a combining layer), clipped to r unless
    // DT_NOCLIP.  Lines below what the clip shows are neither broken nor drawn, and those above
    // it not drawn.
    QPainter* clip = !calc && !(format & DT_NOCLIP) ? DrawingTarget(r, false) : nullptr;
    int shownTop = INT_MIN, shownBottom = INT_MAX;
    if (!calc && !(format & DT_NOCLIP)) {
        shownTop = r.Top;
        shownBottom = r.Bottom;
    }
    if (clip) {
        clip->save();
        clip->setClipRect(r.ToQRect(), clip->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
        QRect shown = clip->clipBoundingRect().toAlignedRect();
        if (clip == FPainter && Lent() && !FPaintArea.isEmpty() && clip->transform().isIdentity())
            shown &= FPaintArea.boundingRect();
        if (shown.isEmpty()) {
            shownBottom = shownTop;
        } else {
            shownTop = std::max(shownTop, shown.top());
            shownBottom = std::min(shownBottom, shown.bottom() + 1);
        }
    }
    const int step = std::max(1, lineH);
    size_t maxLines = SIZE_MAX;
    if (!single && shownBottom != INT_MAX)
        maxLines = shownBottom <= r.Top ? 0 : size_t((qint64(shownBottom) - r.Top + step - 1) / step);
    std::vector<TextLine> lines = BreakText(text, format, FFont, r.Width(), maxLines);

    // Widths are measured where something depends on them.
    const bool needWidth = calc || (format & (DT_CENTER | DT_RIGHT)) || Opaque();
    int maxW = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        TextLine& l = lines[i];
        if (!single && shownTop != INT_MIN && r.Top + qint64(i + 1) * lineH <= shownTop) continue;
        if (ellipsis && !Fits(FFont, l.Text, r.Width())) {
            if (format & DT_PATH_ELLIPSIS) PathEllipsis(l, FFont, r.Width());
            else EndEllipsis(l, FFont, r.Width());
            l.Width = fm.horizontalAdvance(l.Text);
        } else if (needWidth) {
            l.Width = fm.horizontalAdvance(l.Text);
        }
        maxW = std::max(maxW, l.Width);
    }
    const int totalH = lineH * static_cast<int>(lines.size());

    if (calc) {
        r.Right = r.Left + maxW;
        r.Bottom = r.Top + totalH;
        return totalH;
    }

    // Vertical placement applies to single lines only: wrapped text starts at the top.
    int y = r.Top;
    if (single && (format & DT_VCENTER)) y = r.Top + (r.Height() - lineH) / 2;
    else if (single && (format & DT_BOTTOM)) y = r.Bottom - lineH;

    for (const TextLine& l : lines) {
        if (single || shownTop == INT_MIN || y + lineH > shownTop) {
            const int x = AlignedX(r, l.Width, format);
            if (Opaque() && l.Width > 0) {
                const TRect back = Bounds(x, y, l.Width, lineH);
                if (QPainter* p = DrawingTarget(back, false)) p->fillRect(back.ToQRect(), Solid(FBrush.Color()));
            }
            DrawTextLine(x, y, l.Text, l.Underline, 1);
        }
        y += lineH;
    }
    if (clip) clip->restore();
    return (single && (format & (DT_VCENTER | DT_BOTTOM))) ? y - r.Top : totalH;
}

// ---------------------------------------------------------------- pixels, pictures, clipping

TColor TCanvas::Pixels(int x, int y)
{
    if (!FDevice || FDevice->devType() != QInternal::Image) return clNone;
    const QImage* img = static_cast<const QImage*>(FDevice);
    if (!img->valid(x, y)) return clNone;
    return QColorToColor(QColor(img->pixel(x, y)));
}

void TCanvas::SetPixels(int x, int y, TColor c)
{
    if (QPainter* p = DrawingTarget(Bounds(x, y, 1, 1), false)) p->fillRect(QRect(x, y, 1, 1), Solid(c));
}

void TCanvas::Draw(int x, int y, TBitmap& bitmap)
{
    if (bitmap.Empty() || bitmap.Canvas() == this) return;
    if (QPainter* p = DrawingTarget(Bounds(x, y, bitmap.Width(), bitmap.Height()), false))
        p->drawImage(QPoint(x, y), bitmap.DrawImage());
}

void TCanvas::StretchDraw(const TRect& r, TBitmap& bitmap)
{
    if (bitmap.Empty() || IsRectEmpty(r) || bitmap.Canvas() == this) return;
    if (QPainter* p = DrawingTarget(r, false)) p->drawImage(r.ToQRect(), bitmap.DrawImage());
}

void TCanvas::StretchDrawImage(const TRect& r, const QImage& image)
{
    if (image.isNull() || IsRectEmpty(r)) return;
    if (QPainter* p = DrawingTarget(r, false)) p->drawImage(r.ToQRect(), image);
}

void TCanvas::CopyRect(const TRect& dest, TCanvas& source, const TRect& src)
{
    if (IsRectEmpty(dest) || IsRectEmpty(src) || !source.FDevice || source.FDevice->devType() != QInternal::Image)
        return;
    QPainter* p = DrawingTarget(dest, false);
    if (!p) return;
    QImage part = static_cast<const QImage*>(source.FDevice)->copy(src.ToQRect());
    p->save();
    p->setCompositionMode(ModeOf(pmCopy));
    p->drawImage(dest.ToQRect(), part);
    p->restore();
}

QRegion TCanvas::Drawable() const
{
    QPaintDevice* d = FPainter && FPainter->isActive() ? FPainter->device() : FDevice;
    QRegion area = d ? QRegion(0, 0, d->width(), d->height()) : QRegion();
    if (Lent() && !FPaintArea.isEmpty()) area &= FPaintArea;
    if (FPainter && FPainter->isActive() && FPainter->hasClipping()) area &= FPainter->clipRegion();
    return area;
}

TRect TCanvas::ClipRect()
{
    return TRect::FromQRect(Drawable().boundingRect());
}

bool TCanvas::RectVisible(const TRect& r)
{
    if (IsRectEmpty(r)) return false;
    const QRect q = r.ToQRect();
    // Asked once per cell in a paint: the common case takes no region arithmetic.
    if (Lent() && !FPainter->hasClipping() && !FPaintArea.isEmpty()) return FPaintArea.intersects(q);
    return Drawable().intersects(q);
}

void TCanvas::IntersectClipRect(const TRect& r)
{
    if (!CanDraw()) return;
    for (QPainter* p : {FPainter, FCombineLayer})
        if (p) p->setClipRect(r.ToQRect(), p->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
}

void TCanvas::SetClipRect(const TRect& r)
{
    if (!CanDraw()) return;
    for (QPainter* p : {FPainter, FCombineLayer})
        if (p) p->setClipRect(r.ToQRect(), Qt::ReplaceClip);
}

void TCanvas::ResetClip()
{
    for (QPainter* p : {FPainter, FCombineLayer})
        if (p) p->setClipping(false);
}

void TCanvas::SaveState()
{
    const bool saved = CanDraw();
    if (saved)
        for (QPainter* p : {FPainter, FCombineLayer})
            if (p) p->save();
    FSaved.push_back(State{FFont, FPen, FBrush, saved});
}

void TCanvas::RestoreState()
{
    if (FSaved.empty()) return;
    State s = FSaved.back();
    FSaved.pop_back();
    FFont.Assign(s.Font);
    FPen.Assign(s.Pen);
    FBrush.Assign(s.Brush);
    FTextPainter = nullptr;
    if (s.PainterSaved)
        for (QPainter* p : {FPainter, FCombineLayer})
            if (p) p->restore();
}

// ---------------------------------------------------------------- bitmap

TBitmap::TBitmap() : FCanvas(std::make_unique<TCanvas>(&FImage)) {}

TBitmap::TBitmap(int width, int height) : TBitmap()
{
    SetSize(width, height);
}

TBitmap::~TBitmap()
{
    FCanvas->Release();
}

void TBitmap::Assign(const TBitmap& src)
{
    if (this == &src) return;
    FCanvas->Release();
    src.FCanvas->Release();
    FImage = src.FImage;
    FPixelFormat = src.FPixelFormat;
    FTransparent = src.FTransparent;
    FTransparentColor = src.FTransparentColor;
    Changed();
}

void TBitmap::SetSize(int w, int h)
{
    w = std::max(0, w);
    h = std::max(0, h);
    if (w == Width() && h == Height()) return;
    FCanvas->Release();
    QImage img;
    if (w > 0 && h > 0) {
        img = QImage(w, h, FImage.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
        img.fill(Qt::white);
        if (!FImage.isNull()) {
            QPainter p(&img);
            p.setCompositionMode(QPainter::CompositionMode_Source);
            p.drawImage(0, 0, FImage);
        }
    }
    FImage = img;
    Changed();
}

void TBitmap::SetTransparent(bool v)
{
    if (v == FTransparent) return;
    FTransparent = v;
    Changed();
}

TColor TBitmap::TransparentColor()
{
    if (FTransparentColor != clDefault) return FTransparentColor;
    const QImage& img = Image();
    return img.isNull() ? clNone : QColorToColor(QColor(img.pixel(0, img.height() - 1)));
}

void TBitmap::SetTransparentColor(TColor c)
{
    FTransparentColor = c;
    Changed();
}

bool TBitmap::LoadFromFile(const QString& fileName)
{
    QImage img;
    // a FIFO or a device would block the reader or never end
    if (!IsRegularFile(fileName) || !img.load(fileName)) return false;
    LoadFromImage(img);
    return true;
}

void TBitmap::LoadFromImage(const QImage& image)
{
    FCanvas->Release();
    FImage = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    Changed();
}

const QImage& TBitmap::Image()
{
    FCanvas->Release();
    return FImage;
}

QImage TBitmap::DrawImage()
{
    const QImage& img = Image();
    if (!FTransparent || img.isNull()) return img;
    QRgb key = QColor(ColorToQColor(ColorToRGB(TransparentColor()) & 0xFFFFFF)).rgb() & 0xFFFFFF;
    QImage out = img.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            if ((line[x] & 0xFFFFFF) == key) line[x] = 0;
    }
    return out;
}

// ---- edges, frame controls, pies and themed parts -------------------------------------------

namespace {

// The two colours of one ring of an edge: top-left and bottom-right.
struct EdgeRing {
    TColor TopLeft, BottomRight;
};

void DrawRing(TCanvas& c, QPainter& p, TRect& r, const EdgeRing& ring, uint32_t flags)
{
    const QColor tl = Solid(ring.TopLeft), br = Solid(ring.BottomRight);
    if (flags & BF_TOP) p.fillRect(QRect(r.Left, r.Top, r.Width(), 1), tl);
    if (flags & BF_LEFT) p.fillRect(QRect(r.Left, r.Top, 1, r.Height()), tl);
    if (flags & BF_BOTTOM) p.fillRect(QRect(r.Left, r.Bottom - 1, r.Width(), 1), br);
    if (flags & BF_RIGHT) p.fillRect(QRect(r.Right - 1, r.Top, 1, r.Height()), br);
    (void)c;
    if (flags & BF_TOP) ++r.Top;
    if (flags & BF_LEFT) ++r.Left;
    if (flags & BF_BOTTOM) --r.Bottom;
    if (flags & BF_RIGHT) --r.Right;
}

QStyle* StyleOf(QWidget* window)
{
    if (window) return window->style();
    return QApplication::instance() ? QApplication::style() : nullptr;
}

}  // namespace

bool TCanvas::DrawEdge(TRect& r, uint32_t edge, uint32_t flags)
{
    TRect work = r;
    if (QPainter* target = IsRectEmpty(r) ? nullptr : DrawingTarget(r, false)) {
        QPainter& p = *target;
        const bool soft = flags & BF_SOFT;
        EdgeRing outer{clNone, clNone}, inner{clNone, clNone};
        if (flags & (BF_FLAT | BF_MONO)) {
            const TColor c = (flags & BF_MONO) ? clWindowFrame : clBtnShadow;
            if (edge & (BDR_RAISEDOUTER | BDR_SUNKENOUTER)) outer = {c, c};
            if (edge & (BDR_RAISEDINNER | BDR_SUNKENINNER)) inner = {clBtnFace, clBtnFace};
        } else {
            if (edge & BDR_RAISEDOUTER) outer = {soft ? clBtnHighlight : cl3DLight, cl3DDkShadow};
            else if (edge & BDR_SUNKENOUTER) outer = {soft ? cl3DDkShadow : clBtnShadow, clBtnHighlight};
            if (edge & BDR_RAISEDINNER) inner = {soft ? cl3DLight : clBtnHighlight, clBtnShadow};
            else if (edge & BDR_SUNKENINNER) inner = {soft ? clBtnShadow : cl3DDkShadow, cl3DLight};
        }
        if (outer.TopLeft != clNone) DrawRing(*this, p, work, outer, flags);
        if (inner.TopLeft != clNone) DrawRing(*this, p, work, inner, flags);
        if ((flags & BF_MIDDLE) && !IsRectEmpty(work)) p.fillRect(work.ToQRect(), Solid(clBtnFace));
    }
    if (flags & BF_ADJUST) r = work;
    return true;
}

bool TCanvas::DrawFrameControl(const TRect& r, uint32_t type, uint32_t state)
{
    if (IsRectEmpty(r)) return false;
    QStyle* style = StyleOf(nullptr);
    QPainter* target = style ? DrawingTarget(r, false) : nullptr;
    if (!target) return false;
    QPainter& p = *target;
    p.save();
    p.setClipRect(r.ToQRect(), Qt::IntersectClip);
    QStyleOptionButton opt;
    opt.rect = r.ToQRect();
    opt.state = QStyle::State_None;
    if (!(state & DFCS_INACTIVE)) opt.state |= QStyle::State_Enabled;
    if (state & DFCS_HOT) opt.state |= QStyle::State_MouseOver;
    if (state & DFCS_PUSHED) opt.state |= QStyle::State_Sunken;
    bool done = true;
    if (type == DFC_BUTTON) {
        const uint32_t kind = state & 0xFF;
        if (kind == DFCS_BUTTONPUSH) {
            opt.state |= (state & DFCS_PUSHED) ? QStyle::State_Sunken : QStyle::State_Raised;
            if (state & DFCS_FLAT) opt.features |= QStyleOptionButton::Flat;
            style->drawControl(QStyle::CE_PushButtonBevel, &opt, &p);
        } else if (kind == DFCS_BUTTONRADIO) {
            opt.state |= (state & DFCS_CHECKED) ? QStyle::State_On : QStyle::State_Off;
            style->drawPrimitive(QStyle::PE_IndicatorRadioButton, &opt, &p);
        } else {
            // A check box, grayed with the three-state kind
            if (state & DFCS_CHECKED) opt.state |= (kind & DFCS_BUTTON3STATE) ? QStyle::State_NoChange : QStyle::State_On;
            else opt.state |= QStyle::State_Off;
            if (state & DFCS_FLAT) {
                // the flat look: a plain one-pixel frame around the box
                p.fillRect(opt.rect, (state & DFCS_INACTIVE) ? Solid(clBtnFace) : Solid(clWindow));
                p.setPen(Solid(clBtnShadow));
                p.drawRect(opt.rect.adjusted(0, 0, -1, -1));
                QStyleOptionButton mark = opt;
                mark.rect = opt.rect.adjusted(1, 1, -1, -1);
                if (state & DFCS_CHECKED) style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &mark, &p);
            } else {
                style->drawPrimitive(QStyle::PE_IndicatorCheckBox, &opt, &p);
            }
        }
    } else if (type == DFC_SCROLL) {
        opt.state |= (state & DFCS_PUSHED) ? QStyle::State_Sunken : QStyle::State_Raised;
        if (!(state & DFCS_FLAT)) style->drawPrimitive(QStyle::PE_PanelButtonBevel, &opt, &p);
        else p.fillRect(opt.rect, Solid(clBtnFace));
        QStyleOption arrow;
        arrow.rect = opt.rect;
        arrow.state = opt.state;
        arrow.palette = opt.palette;
        switch (state & 0xFF) {
        case DFCS_SCROLLUP: style->drawPrimitive(QStyle::PE_IndicatorArrowUp, &arrow, &p); break;
        case DFCS_SCROLLLEFT: style->drawPrimitive(QStyle::PE_IndicatorArrowLeft, &arrow, &p); break;
        case DFCS_SCROLLRIGHT: style->drawPrimitive(QStyle::PE_IndicatorArrowRight, &arrow, &p); break;
        default: style->drawPrimitive(QStyle::PE_IndicatorArrowDown, &arrow, &p); break;
        }
    } else {
        done = false;
    }
    p.restore();
    return done;
}

void TCanvas::Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    if (x2 - x1 < 2 || y2 - y1 < 2) return;
    QPainter* target = DrawingTarget({x1, y1, x2, y2}, Combines(FPen.Mode()));
    if (!target) return;
    const double cx = (x1 + x2) / 2.0, cy = (y1 + y2) / 2.0;
    // Qt's angles run counter-clockwise from 3 o'clock, in sixteenths of a degree.
    auto angleOf = [&](int x, int y) {
        double a = std::atan2(cy - y, x - cx) * 180.0 / M_PI;
        return a < 0 ? a + 360 : a;
    };
    const double start = angleOf(x3, y3);
    double span = angleOf(x4, y4) - start;
    if (span <= 0) span += 360;
    QPainter& p = *target;
    p.save();
    ApplyPen(p);
    ApplyBrush(p);
    p.drawPie(QRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1), int(std::lround(start * 16)), int(std::lround(span * 16)));
    p.restore();
}

bool TCanvas::DrawThemeBackground(QWidget* window, const QString& themeClass, int part, int state, const TRect& r)
{
    if (IsRectEmpty(r)) return false;
    QStyle* style = StyleOf(window);
    QPainter* target = style ? DrawingTarget(r, false) : nullptr;
    if (!target) return false;
    const QString cls = themeClass.toLower();
    // Parts share one state scheme per group of four: normal, hot, pressed, disabled.
    const int group = (state - 1) / 4;
    const int within = (state - 1) % 4;
    QStyleOptionButton opt;
    if (window) opt.initFrom(window);
    opt.rect = r.ToQRect();
    opt.state = QStyle::State_None;
    if (within != 3) opt.state |= QStyle::State_Enabled;
    if (within == 1) opt.state |= QStyle::State_MouseOver;
    if (within == 2) opt.state |= QStyle::State_Sunken;
    QPainter& p = *target;
    p.save();
    p.setClipRect(r.ToQRect(), Qt::IntersectClip);
    bool done = true;
    if (cls == QLatin1String("button") && part == 1) {
        opt.state |= within == 2 ? QStyle::State_Sunken : QStyle::State_Raised;
        style->drawControl(QStyle::CE_PushButtonBevel, &opt, &p, window);
    } else if (cls == QLatin1String("button") && (part == 2 || part == 3)) {
        opt.state |= group == 0 ? QStyle::State_Off : group == 1 ? QStyle::State_On : QStyle::State_NoChange;
        style->drawPrimitive(part == 2 ? QStyle::PE_IndicatorRadioButton : QStyle::PE_IndicatorCheckBox, &opt, &p,
                             window);
    } else if (cls == QLatin1String("combobox") || cls == QLatin1String("spin")) {
        opt.state |= QStyle::State_Raised;
        style->drawPrimitive(QStyle::PE_PanelButtonBevel, &opt, &p, window);
        const bool upArrow = cls == QLatin1String("spin") && part == 1;
        style->drawPrimitive(upArrow ? QStyle::PE_IndicatorArrowUp : QStyle::PE_IndicatorArrowDown, &opt, &p, window);
    } else if (cls == QLatin1String("progress")) {
        if (part == 1) {
            style->drawPrimitive(QStyle::PE_Frame, &opt, &p, window);
        } else {
            p.fillRect(opt.rect, opt.palette.highlight());
        }
    } else if (cls == QLatin1String("header")) {
        QStyleOptionHeader h;
        if (window) h.initFrom(window);
        h.rect = opt.rect;
        h.state = opt.state | QStyle::State_Raised;
        style->drawControl(QStyle::CE_HeaderSection, &h, &p, window);
    } else {
        done = false;
    }
    p.restore();
    return done;
}
