#pragma once
// Drawing surface on QPainter with the geometry and text rules the drawing code is written
// against.
//
// Geometry: rectangles are (Left, Top, Right, Bottom) with the right and bottom edges
// excluded, so FillRect(0, 0, 10, 10) covers pixels 0..9; LineTo leaves out its end point;
// nothing is antialiased.  Pens, brushes and fonts are objects of the canvas that announce
// their changes, as callers keep and modify them between drawing calls.
#include "platform/core/classes.h"
#include "platform/core/sets.h"
#include "platform/ui/graphics.h"

#include <QFont>
#include <QImage>
#include <QRect>
#include <QRegion>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QPainter;
class QPaintDevice;
class QFontMetrics;

struct TPoint {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    TPoint TopLeft() const { return {Left, Top}; }
    TPoint BottomRight() const { return {Right, Bottom}; }
    QRect ToQRect() const { return QRect(Left, Top, Right - Left, Bottom - Top); }
    static TRect FromQRect(const QRect& r) { return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

inline TPoint Point(int x, int y) { return {x, y}; }
inline TRect Rect(int l, int t, int r, int b) { return {l, t, r, b}; }
inline TRect Bounds(int l, int t, int w, int h) { return {l, t, l + w, t + h}; }
inline bool IsRectEmpty(const TRect& r) { return r.Right <= r.Left || r.Bottom <= r.Top; }
inline bool PtInRect(const TRect& r, const TPoint& p) { return p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom; }
// Intersection of two rectangles; False (and an empty result) when they do not overlap.
bool IntersectRect(TRect& dst, const TRect& a, const TRect& b);
bool UnionRect(TRect& dst, const TRect& a, const TRect& b);
inline void OffsetRect(TRect& r, int dx, int dy) { r.Left += dx; r.Right += dx; r.Top += dy; r.Bottom += dy; }
inline void InflateRect(TRect& r, int dx, int dy) { r.Left -= dx; r.Right += dx; r.Top -= dy; r.Bottom += dy; }

// Base of the canvas tools: a change announces itself to the owner (the canvas re-applies
// the tool, a grid repaints).
class TGraphicsObject : public TPersistent {
public:
    TNotifyEvent OnChange;

protected:
    void Changed();
};

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;

class TFont : public TGraphicsObject {
public:
    TFont();
    TFont(const TFont& other);
    TFont& operator=(const TFont& other);

    void Assign(const TFont& src);
    void Assign(const TPersistent* src) override
    {
        if (auto* same = dynamic_cast<const TFont*>(src)) Assign(*same);
    }
    QString ClassName() const override { return QStringLiteral("TFont"); }

    QString Name() const { return FName; }
    void SetName(const QString& v);
    // Size in points; Height in pixels (negative: character height without internal leading),
    // both at 96 pixels per inch.
    int Size() const;
    void SetSize(int points);
    int Height() const { return FHeight; }
    void SetHeight(int pixels);
    TColor Color() const { return FColor; }
    void SetColor(TColor c);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles s);
    // Angle of the text in tenths of a degree, counter-clockwise.
    int Orientation() const { return FOrientation; }
    void SetOrientation(int tenths);

    static constexpr int PixelsPerInch = 96;

    const QFont& ToQFont() const;
    const QFontMetrics& Metrics() const;
    // Ascent and ascent + descent of a line, in pixels (kept: asked for every text drawn).
    int Ascent() const;
    int LineHeight() const;
    // True when text certainly fits in width pixels on one line (False: it may not).
    bool SurelyFits(const QString& text, int width) const;
    // The advance of one character alone (kept for Latin-1 ones, asked for one by one).
    int CharAdvance(QChar ch) const;
    // Equal for two fonts only when their Qt fonts are equal: fonts copied from one another
    // share it until one of them changes.
    quint64 Key() const { return FKey; }
    friend bool operator==(const TFont& a, const TFont& b);

private:
    struct Measures;
    const Measures& Measure() const;
    void Invalidate();
    QString FName = QStringLiteral("Tahoma");
    int FHeight = -11;
    TColor FColor = clWindowText;
    TFontStyles FStyle;
    int FOrientation = 0;
    quint64 FKey;
    mutable std::optional<QFont> FQFont;
    mutable std::shared_ptr<const Measures> FMeasures;
};

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TPenMode { pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
                pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor };

class TPen : public TGraphicsObject {
public:
    void Assign(const TPen& src);
    void Assign(const TPersistent* src) override
    {
        if (auto* same = dynamic_cast<const TPen*>(src)) Assign(*same);
    }
    QString ClassName() const override { return QStringLiteral("TPen"); }
    TColor Color() const { return FColor; }
    void SetColor(TColor c);
    int Width() const { return FWidth; }
    void SetWidth(int w);
    TPenStyle Style() const { return FStyle; }
    void SetStyle(TPenStyle s);
    TPenMode Mode() const { return FMode; }
    void SetMode(TPenMode m);

private:
    TColor FColor = clBlack;
    int FWidth = 1;
    TPenStyle FStyle = psSolid;
    TPenMode FMode = pmCopy;
};

enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

class TBrush : public TGraphicsObject {
public:
    void Assign(const TBrush& src);
    void Assign(const TPersistent* src) override
    {
        if (auto* same = dynamic_cast<const TBrush*>(src)) Assign(*same);
    }
    QString ClassName() const override { return QStringLiteral("TBrush"); }
    TColor Color() const { return FColor; }
    // Setting a colour makes a clear brush solid, so that a fill after it is seen.
    void SetColor(TColor c);
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle s);

private:
    TColor FColor = clWhite;
    TBrushStyle FStyle = bsSolid;
};

// Text format flags of DrawText, with the Windows values.
enum : uint32_t {
    DT_TOP = 0x0, DT_LEFT = 0x0, DT_CENTER = 0x1, DT_RIGHT = 0x2, DT_VCENTER = 0x4, DT_BOTTOM = 0x8,
    DT_WORDBREAK = 0x10, DT_SINGLELINE = 0x20, DT_EXPANDTABS = 0x40, DT_TABSTOP = 0x80,
    DT_NOCLIP = 0x100, DT_EXTERNALLEADING = 0x200, DT_CALCRECT = 0x400, DT_NOPREFIX = 0x800,
    DT_INTERNAL = 0x1000, DT_EDITCONTROL = 0x2000, DT_PATH_ELLIPSIS = 0x4000, DT_END_ELLIPSIS = 0x8000,
    DT_MODIFYSTRING = 0x10000, DT_RTLREADING = 0x20000, DT_WORD_ELLIPSIS = 0x40000,
    DT_NOFULLWIDTHCHARBREAK = 0x80000, DT_HIDEPREFIX = 0x100000, DT_PREFIXONLY = 0x200000,
};

class TBitmap;
class QWidget;

// Edge kinds and sides of DrawEdge.
enum : uint32_t {
    BDR_RAISEDOUTER = 0x1, BDR_SUNKENOUTER = 0x2, BDR_RAISEDINNER = 0x4, BDR_SUNKENINNER = 0x8,
    EDGE_RAISED = 0x5, EDGE_SUNKEN = 0xA, EDGE_ETCHED = 0x6, EDGE_BUMP = 0x9,
    BF_LEFT = 0x1, BF_TOP = 0x2, BF_RIGHT = 0x4, BF_BOTTOM = 0x8, BF_RECT = 0xF, BF_MIDDLE = 0x800,
    BF_SOFT = 0x1000, BF_ADJUST = 0x2000, BF_FLAT = 0x4000, BF_MONO = 0x8000,
};
// Kinds and states of DrawFrameControl.
enum : uint32_t {
    DFC_CAPTION = 1, DFC_MENU = 2, DFC_SCROLL = 3, DFC_BUTTON = 4,
    DFCS_BUTTONCHECK = 0x0, DFCS_BUTTONRADIO = 0x4, DFCS_BUTTON3STATE = 0x8, DFCS_BUTTONPUSH = 0x10,
    DFCS_SCROLLUP = 0x0, DFCS_SCROLLDOWN = 0x1, DFCS_SCROLLLEFT = 0x2, DFCS_SCROLLRIGHT = 0x3,
    DFCS_SCROLLCOMBOBOX = 0x5,
    DFCS_INACTIVE = 0x100, DFCS_PUSHED = 0x200, DFCS_CHECKED = 0x400, DFCS_HOT = 0x1000, DFCS_FLAT = 0x4000,
    DFCS_MONO = 0x8000,
};

// A canvas draws either through a painter lent to it for one paint (BeginPaint/EndPaint,
// the window case) or on a paint device it opens itself when first drawn on (a bitmap).
// Without either it still measures text, and drawing calls do nothing.  The canvas of a
// window, which can also be drawn on between paints, is TWindowCanvas (window_canvas.h).
class TCanvas {
public:
    TCanvas();
    explicit TCanvas(QPaintDevice* device);
    virtual ~TCanvas();
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    // area: the part of the window the paint covers (empty: all of it).
    void BeginPaint(QPainter* painter, const QRegion& area = QRegion());
    void EndPaint();
    // Closes the painter the canvas opened on its device (before the device changes).
    virtual void Release();
    bool CanDraw();
    QPainter* Painter();

    TFont* Font() { return &FFont; }
    TPen* Pen() { return &FPen; }
    TBrush* Brush() { return &FBrush; }
    void SetFont(const TFont& f) { FFont.Assign(f); }
    void SetPen(const TPen& p) { FPen.Assign(p); }
    void SetBrush(const TBrush& b) { FBrush.Assign(b); }

    TPoint PenPos() const { return FPenPos; }
    void SetPenPos(const TPoint& p) { FPenPos = p; }
    virtual void MoveTo(int x, int y);
    virtual void LineTo(int x, int y);
    virtual void Polyline(const std::vector<TPoint>& points);

    virtual void FillRect(const TRect& r);
    virtual void FrameRect(const TRect& r);
    virtual void Rectangle(int x1, int y1, int x2, int y2);
    void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    virtual void RoundRect(int x1, int y1, int x2, int y2, int x3, int y3);
    virtual void Ellipse(int x1, int y1, int x2, int y2);
    void Ellipse(const TRect& r) { Ellipse(r.Left, r.Top, r.Right, r.Bottom); }
    virtual void Polygon(const std::vector<TPoint>& points);
    virtual void DrawFocusRect(const TRect& r);

    virtual void TextOut(int x, int y, const QString& text);
    virtual void TextRect(const TRect& r, int x, int y, const QString& text);
    int TextWidth(const QString& text) const;
    int TextHeight(const QString& text) const;
    QSize TextExtent(const QString& text) const;

    // Pixels can be read back only from an image device; elsewhere they read as clNone.
    TColor Pixels(int x, int y);
    virtual void SetPixels(int x, int y, TColor c);

    virtual void Draw(int x, int y, TBitmap& bitmap);
    virtual void StretchDraw(const TRect& r, TBitmap& bitmap);
    // A decoded picture, scaled to fill r.
    virtual void StretchDrawImage(const TRect& r, const QImage& image);
    virtual void CopyRect(const TRect& dest, TCanvas& source, const TRect& src);

    // Clipping: the clip rectangle is the device (or, during a paint, the part of the window
    // the paint covers) narrowed by the calls below; SaveState/RestoreState keep and bring
    // back the clip and the drawing tools.
    TRect ClipRect();
    // Whether any part of r can be drawn on: during a paint, whether it lies in the part of
    // the window being painted.
    bool RectVisible(const TRect& r);
    void IntersectClipRect(const TRect& r);
    void SetClipRect(const TRect& r);
    void ResetClip();
    void SaveState();
    void RestoreState();

    // Draws text in r by the DT_* flags; returns the height of the text (for DT_VCENTER and
    // DT_BOTTOM the offset from the rectangle's top to the bottom of the text).  Drawn clipped,
    // a broken text ends with the last line the clip shows, and the height is that of the
    // lines made up to it.
    virtual int DrawText(const QString& text, TRect& r, uint32_t format);
    // Whether text is at most width pixels wide on one line; a long text is measured only
    // as far as it takes to tell.
    bool TextFits(const QString& text, int width) const;
    // The number of lines DrawText makes of text at width by format, counted up to limit.
    int TextLineCount(const QString& text, int width, uint32_t format, int limit) const;

    QPaintDevice* Device() const { return FDevice; }

    // ---- edges, frame controls, pies and themed parts of the platform
    // A 3-D edge of the given kind along the sides named in flags; with BF_ADJUST r is
    // shrunk by what was drawn.
    virtual bool DrawEdge(TRect& r, uint32_t edge, uint32_t flags);
    // The platform's button, check box, radio button or scroll arrow in r (DFC_*, DFCS_*).
    virtual bool DrawFrameControl(const TRect& r, uint32_t type, uint32_t state);
    // A pie cut out of the ellipse in (x1, y1, x2, y2), counter-clockwise from the ray through
    // (x3, y3) to the ray through (x4, y4), filled with the brush and outlined with the pen.
    virtual void Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    // A part of a visual-styles class ("button", "combobox", "spin", "progress", "header")
    // in its state, drawn by the style of window (null: the application's style).
    virtual bool DrawThemeBackground(QWidget* window, const QString& themeClass, int part, int state, const TRect& r);

protected:
    // The text actually put on the surface, for canvases that record instead of drawing.
    virtual void DrawTextLine(int x, int y, const QString& text, int underlineFrom, int underlineLen);
    // One line of single-line text placed in line (its height is the line's) by the
    // horizontal alignment of format, drawn with one aligned text call.
    virtual void DrawTextLineIn(const TRect& line, const QString& text, uint32_t format);
    // Left edge of a line of the given width in r, by the horizontal alignment of format.
    static int AlignedX(const TRect& r, int width, uint32_t format);
    // Opens a painter on the device, when no painter is lent.
    virtual bool Open();
    // The painter one drawing call goes to, or null when nothing can be drawn.  bounds is
    // the device area the call may touch; combine is set when the call combines with the
    // pixels underneath (a pen mode of the exclusive-or family, a focus rectangle).
    virtual QPainter* DrawingTarget(const TRect& bounds, bool combine);
    // A painter is lent for the paint under way.
    bool Lent() const { return FPainter && FPainter != FOwnPainter.get(); }
    void ApplyPen(QPainter& p);
    void ApplyBrush(QPainter& p);
    bool Opaque() const { return FBrush.Style() != bsClear; }
    // The part of the device drawing can reach: the clip within the paint's area.
    QRegion Drawable() const;

    // The painter on which combining calls draw the mask of what they change, not pixels
    // (exclusive-or with the mask gives what the call would have drawn on any pixels).
    QPainter* FCombineLayer = nullptr;
    // Drawing calls report the exact bounds of text too (they cost a measuring of the text).
    bool FTextBounds = false;

private:
    QPaintDevice* FDevice = nullptr;
    QPainter* FPainter = nullptr;
    std::unique_ptr<QPainter> FOwnPainter;
    QRegion FPaintArea;
    TFont FFont;
    TPen FPen;
    TBrush FBrush;
    TPoint FPenPos;
    struct State {
        TFont Font;
        TPen Pen;
        TBrush Brush;
        bool PainterSaved = false;
    };
    std::vector<State> FSaved;
    // What the painter was last given for text, so that cell after cell does not set it again.
    QPainter* FTextPainter = nullptr;
    quint64 FTextFont = 0;
    QRgb FTextColor = 0;
    // DT_RTLREADING of the text being drawn: lines are laid out right to left.
    bool FRtlReading = false;
};

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit };

// An off-screen picture with its own canvas.
class TBitmap : public TGraphicsObject {
public:
    TBitmap();
    TBitmap(int width, int height);
    ~TBitmap() override;
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    void Assign(const TBitmap& src);
    void Assign(const TPersistent* src) override
    {
        if (auto* same = dynamic_cast<const TBitmap*>(src)) Assign(*same);
    }
    QString ClassName() const override { return QStringLiteral("TBitmap"); }
    int Width() const { return FImage.width(); }
    int Height() const { return FImage.height(); }
    void SetWidth(int w) { SetSize(w, Height()); }
    void SetHeight(int h) { SetSize(Width(), h); }
    void SetSize(int w, int h);
    bool Empty() const { return FImage.isNull() || FImage.width() == 0 || FImage.height() == 0; }
    TPixelFormat PixelFormat() const { return FPixelFormat; }
    void SetPixelFormat(TPixelFormat f) { FPixelFormat = f; }
    // With Transparent, pixels of TransparentColor (by default the bottom-left pixel's) are
    // left out when the bitmap is drawn.
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool v);
    TColor TransparentColor();
    void SetTransparentColor(TColor c);
    bool LoadFromFile(const QString& fileName);
    void LoadFromImage(const QImage& image);

    TCanvas* Canvas() { return FCanvas.get(); }
    // The pixels, with any drawing still pending on the canvas finished first.
    const QImage& Image();
    // What Draw puts on a surface: the image with the transparent colour masked out.
    QImage DrawImage();

private:
    QImage FImage;
    std::unique_ptr<TCanvas> FCanvas;
    TPixelFormat FPixelFormat = pfDevice;
    bool FTransparent = false;
    TColor FTransparentColor = clDefault;
};
