#include "platform/ui/window_canvas.h"

#include <QPainter>
#include <QWidget>

TWindowCanvas::TWindowCanvas(QWidget* window) : TCanvas(&FPicture), FWindow(window)
{
    // what is drawn between paints is shown by repainting its bounds, text included
    FTextBounds = true;
}

TWindowCanvas::~TWindowCanvas()
{
    Release();
}

void TWindowCanvas::Release()
{
    FCombineLayer = nullptr;
    if (FMaskPainter) {
        FMaskPainter->end();
        FMaskPainter.reset();
    }
    TCanvas::Release();
}

bool TWindowCanvas::Open()
{
    if (!FWindow) return false;
    const QSize size = FWindow->size();
    if (size.isEmpty()) return false;
    if (FPicture.size() != size) {
        // The layers follow the window's size and keep what they hold where it still fits.
        QImage picture(size, QImage::Format_ARGB32_Premultiplied);
        picture.fill(Qt::transparent);
        QImage mask(size, QImage::Format_RGB32);
        mask.fill(Qt::black);
        if (!FPicture.isNull()) {
            QPainter p(&picture);
            p.setCompositionMode(QPainter::CompositionMode_Source);
            p.drawImage(0, 0, FPicture);
            p.end();
            p.begin(&mask);
            p.setCompositionMode(QPainter::CompositionMode_Source);
            p.drawImage(0, 0, FMask);
        }
        FPicture = picture;
        FMask = mask;
        const QRect all(QPoint(0, 0), size);
        FPictureArea &= all;
        FMaskArea &= all;
    }
    if (!TCanvas::Open()) return false;
    FMaskPainter = std::make_unique<QPainter>(&FMask);
    FMaskPainter->setRenderHint(QPainter::Antialiasing, false);
    FCombineLayer = FMaskPainter.get();
    return true;
}

QPainter* TWindowCanvas::DrawingTarget(const TRect& bounds, bool combine)
{
    if (Lent()) return TCanvas::DrawingTarget(bounds, combine);
    if (!CanDraw()) return nullptr;
    const QRect r = bounds.ToQRect() & QRect(QPoint(0, 0), FPicture.size());
    if (!r.isEmpty()) {
        if (combine) FMaskArea |= r;
        else FPictureArea += r;
        FFresh += r;
        FWindow->update(r);
    }
    return combine ? FMaskPainter.get() : TCanvas::DrawingTarget(bounds, combine);
}

bool TWindowCanvas::HasOverlay() const
{
    return !FPictureArea.isEmpty() || !FMaskArea.isEmpty();
}

void TWindowCanvas::ClearOverlay()
{
    if (!HasOverlay()) return;
    Release();
    if (FWindow) FWindow->update(FPictureArea.boundingRect() | FMaskArea);
    FPicture.fill(Qt::transparent);
    FMask.fill(Qt::black);
    FPictureArea = QRegion();
    FMaskArea = QRect();
    FFresh = QRegion();
}

bool TWindowCanvas::MaskIsClear(const QRect& r) const
{
    for (int y = r.top(); y <= r.bottom(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(FMask.constScanLine(y));
        for (int x = r.left(); x <= r.right(); ++x)
            if (line[x] & 0xFFFFFF) return false;
    }
    return true;
}

void TWindowCanvas::PaintOverlay(QPainter& painter, const QRegion& region)
{
    if (!HasOverlay()) {
        FFresh = QRegion();
        return;
    }
    // The layers are read below; what is drawn on them next opens them again.
    if (!Lent()) Release();
    painter.save();
    painter.setClipping(false);
    if (!FPictureArea.isEmpty()) {
        // This paint covers what was drawn before it, except what the overlay itself asked
        // to be shown.
        const QRegion stale = (region - FFresh) & FPictureArea;
        if (!stale.isEmpty()) {
            QPainter clear(&FPicture);
            clear.setCompositionMode(QPainter::CompositionMode_Clear);
            for (const QRect& r : stale) clear.fillRect(r, Qt::transparent);
            FPictureArea -= stale;
        }
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        for (const QRect& r : region & FPictureArea) painter.drawImage(r.topLeft(), FPicture, r);
    }
    if (!FMaskArea.isEmpty()) {
        if (MaskIsClear(FMaskArea)) {
            FMaskArea = QRect();
        } else {
            painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
            for (const QRect& r : region & FMaskArea) painter.drawImage(r.topLeft(), FMask, r);
        }
    }
    painter.restore();
    FFresh -= region;
}
