#pragma once
#include "platform/ui/canvas.h"

#include <QStringList>
#include <vector>

// A canvas that records what is drawn instead of painting it, for tests of drawing code.
class TRecordingCanvas : public TCanvas {
public:
    struct Op {
        QString Kind;            // "FillRect", "FrameRect", "Rectangle", "Text", "Line", ...
        TRect R;
        QString Text;
        TColor Color = clNone;   // brush colour for fills, pen colour for lines, font colour for text
        TFontStyles Style;
        std::vector<TPoint> Points;
    };
    std::vector<Op> Ops;

    void Clear() { Ops.clear(); }
    QStringList Texts() const;

    void LineTo(int x, int y) override;
    void FillRect(const TRect& r) override;
    void FrameRect(const TRect& r) override;
    void Rectangle(int x1, int y1, int x2, int y2) override;
    void RoundRect(int x1, int y1, int x2, int y2, int x3, int y3) override;
    void Ellipse(int x1, int y1, int x2, int y2) override;
    void Polygon(const std::vector<TPoint>& points) override;
    void DrawFocusRect(const TRect& r) override;
    void SetPixels(int x, int y, TColor c) override;
    void Draw(int x, int y, TBitmap& bitmap) override;
    void StretchDraw(const TRect& r, TBitmap& bitmap) override;
    void CopyRect(const TRect& dest, TCanvas& source, const TRect& src) override;

protected:
    void DrawTextLine(int x, int y, const QString& text, int underlineFrom, int underlineLen) override;
    void DrawTextLineIn(const TRect& line, const QString& text, uint32_t format) override;
};
