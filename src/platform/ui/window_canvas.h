#pragma once
// The canvas of a window, which can be drawn on at any time, not only while the window paints.
//
// During a paint it draws through the painter the window lends it (BeginPaint/EndPaint).
// Between paints it draws on an overlay that the window shows over its last paint, in two
// layers:
//  - what is drawn with an ordinary pen mode lands on a picture layer; it stays until a paint
//    that was not asked for by the overlay itself covers it again, as a window's own paint
//    covers what was drawn on it;
//  - what is drawn with a pen mode of the exclusive-or family (pmXor, pmNotXor, pmNot, and
//    focus rectangles) lands on a mask that is combined with whatever the window shows; so
//    the same line drawn twice is gone however often the window was painted in between.
// The window calls PaintOverlay at the end of each paint, on the same painter.
#include "platform/ui/canvas.h"

#include <QImage>
#include <QPointer>
#include <QRegion>

class QWidget;

class TWindowCanvas : public TCanvas {
public:
    explicit TWindowCanvas(QWidget* window);
    ~TWindowCanvas() override;

    void Release() override;

    // Lays the overlay over what the paint drew in region (window coordinates).
    void PaintOverlay(QPainter& painter, const QRegion& region);
    // Something was drawn between paints that the window still shows.
    bool HasOverlay() const;
    // Drops everything drawn between paints.
    void ClearOverlay();

protected:
    bool Open() override;
    QPainter* DrawingTarget(const TRect& bounds, bool combine) override;

private:
    bool MaskIsClear(const QRect& r) const;

    QPointer<QWidget> FWindow;
    QImage FPicture;            // ARGB, transparent where nothing was drawn
    QImage FMask;               // RGB, black where nothing was drawn
    std::unique_ptr<QPainter> FMaskPainter;
    QRegion FPictureArea;       // where the picture layer holds something
    QRegion FFresh;             // drawn since the window last showed it: its own paint keeps it
    QRect FMaskArea;            // bounds of what the mask may hold
};
