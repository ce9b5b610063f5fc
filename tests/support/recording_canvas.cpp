#include "support/recording_canvas.h"

QStringList TRecordingCanvas::Texts() const
{
    QStringList out;
    for (const Op& op : Ops)
        if (op.Kind == QLatin1String("Text")) out << op.Text;
    return out;
}

void TRecordingCanvas::LineTo(int x, int y)
{
    Ops.push_back(Op{QStringLiteral("Line"), TRect{PenPos().X, PenPos().Y, x, y}, {}, Pen()->Color(), {}, {}});
    MoveTo(x, y);
}

void TRecordingCanvas::FillRect(const TRect& r)
{
    if (Brush()->Style() == bsClear) return;
    Ops.push_back(Op{QStringLiteral("FillRect"), r, {}, Brush()->Color(), {}, {}});
}

void TRecordingCanvas::FrameRect(const TRect& r)
{
    Ops.push_back(Op{QStringLiteral("FrameRect"), r, {}, Brush()->Color(), {}, {}});
}

void TRecordingCanvas::Rectangle(int x1, int y1, int x2, int y2)
{
    Ops.push_back(Op{QStringLiteral("Rectangle"), TRect{x1, y1, x2, y2}, {}, Pen()->Color(), {}, {}});
}

void TRecordingCanvas::RoundRect(int x1, int y1, int x2, int y2, int, int)
{
    Ops.push_back(Op{QStringLiteral("RoundRect"), TRect{x1, y1, x2, y2}, {}, Pen()->Color(), {}, {}});
}

void TRecordingCanvas::Ellipse(int x1, int y1, int x2, int y2)
{
    Ops.push_back(Op{QStringLiteral("Ellipse"), TRect{x1, y1, x2, y2}, {}, Pen()->Color(), {}, {}});
}

void TRecordingCanvas::Polygon(const std::vector<TPoint>& points)
{
    Ops.push_back(Op{QStringLiteral("Polygon"), {}, {}, Brush()->Color(), {}, points});
}

void TRecordingCanvas::DrawFocusRect(const TRect& r)
{
    Ops.push_back(Op{QStringLiteral("FocusRect"), r, {}, clNone, {}, {}});
}

void TRecordingCanvas::SetPixels(int x, int y, TColor c)
{
    Ops.push_back(Op{QStringLiteral("Pixel"), TRect{x, y, x + 1, y + 1}, {}, c, {}, {}});
}

void TRecordingCanvas::Draw(int x, int y, TBitmap& bitmap)
{
    Ops.push_back(Op{QStringLiteral("Draw"), Bounds(x, y, bitmap.Width(), bitmap.Height()), {}, clNone, {}, {}});
}

void TRecordingCanvas::StretchDraw(const TRect& r, TBitmap&)
{
    Ops.push_back(Op{QStringLiteral("Draw"), r, {}, clNone, {}, {}});
}

void TRecordingCanvas::CopyRect(const TRect& dest, TCanvas&, const TRect&)
{
    Ops.push_back(Op{QStringLiteral("CopyRect"), dest, {}, clNone, {}, {}});
}

void TRecordingCanvas::DrawTextLine(int x, int y, const QString& text, int, int)
{
    if (text.isEmpty()) return;
    Ops.push_back(Op{QStringLiteral("Text"), Bounds(x, y, TextWidth(text), TextHeight(text)), text, Font()->Color(),
                     Font()->Style(), {}});
}

void TRecordingCanvas::DrawTextLineIn(const TRect& line, const QString& text, uint32_t format)
{
    // Recorded where the canvas places it, as a line drawn at its measured position.
    DrawTextLine(AlignedX(line, TextWidth(text), format), line.Top, text, -1, 0);
}
