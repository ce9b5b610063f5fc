#include "grid/base/grid_resources.h"

#include <QHash>
#include <QPainter>
#include <functional>

namespace {

// Corners and other pixels of this colour are left out when a glyph is drawn.
constexpr TColor KeyColor = clFuchsia;

struct GlyphLook {
    QColor Border, FillTop, FillBottom, Mark;
};

const GlyphLook XPEnabled{QColor(28, 81, 128), QColor(220, 220, 215), QColor(255, 255, 255), QColor(33, 161, 33)};
const GlyphLook XPDisabled{QColor(202, 200, 187), QColor(236, 233, 216), QColor(236, 233, 216), QColor(202, 200, 187)};
const GlyphLook FlatEnabled{QColor(64, 64, 64), QColor(255, 255, 255), QColor(255, 255, 255), QColor(0, 0, 0)};
const GlyphLook FlatDisabled{QColor(160, 160, 160), QColor(240, 240, 240), QColor(240, 240, 240), QColor(160, 160, 160)};

QImage Blank(int side)
{
    QImage img(side, side, QImage::Format_RGB32);
    img.fill(ColorToQColor(KeyColor));
    return img;
}

void FillBox(QImage& img, const GlyphLook& look)
{
    const int s = img.width();
    for (int y = 1; y < s - 1; ++y) {
        const double f = double(y - 1) / std::max(1, s - 3);
        const QColor c = QColor::fromRgbF(look.FillTop.redF() + f * (look.FillBottom.redF() - look.FillTop.redF()),
                                          look.FillTop.greenF() + f * (look.FillBottom.greenF() - look.FillTop.greenF()),
                                          look.FillTop.blueF() + f * (look.FillBottom.blueF() - look.FillTop.blueF()));
        for (int x = 1; x < s - 1; ++x) img.setPixelColor(x, y, c);
    }
    for (int i = 0; i < s; ++i) {
        img.setPixelColor(i, 0, look.Border);
        img.setPixelColor(i, s - 1, look.Border);
        img.setPixelColor(0, i, look.Border);
        img.setPixelColor(s - 1, i, look.Border);
    }
    {  // the corners stay key-coloured, so the top-left pixel is the key of every glyph
        const QColor key = ColorToQColor(KeyColor);
        img.setPixelColor(0, 0, key);
        img.setPixelColor(s - 1, 0, key);
        img.setPixelColor(0, s - 1, key);
        img.setPixelColor(s - 1, s - 1, key);
    }
}

QImage CheckGlyph(bool checked, const GlyphLook& look)
{
    QImage img = Blank(15);
    FillBox(img, look);
    if (checked) {
        // A three-pixel-thick tick from (3, 7) down to (6, 10) and up to (11, 5).
        for (int t = 0; t < 3; ++t) {
            for (int i = 0; i <= 3; ++i) img.setPixelColor(3 + i, 6 + i + t, look.Mark);
            for (int i = 0; i <= 5; ++i) img.setPixelColor(6 + i, 9 - i + t, look.Mark);
        }
    }
    return img;
}

QImage RadioGlyph(bool selected, const GlyphLook& look)
{
    constexpr int side = 10;
    QImage img = Blank(side);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(look.Border);
    p.setBrush(look.FillBottom);
    p.drawEllipse(QRect(0, 0, side - 1, side - 1));
    if (selected) {
        p.setPen(look.Mark);
        p.setBrush(look.Mark);
        p.drawEllipse(QRect(3, 3, 3, 3));
    }
    return img;
}

// The flat glyphs of the colour-tone look, and the close cross of the design panel.
const GlyphLook MetroLook{QColor(128, 128, 128), QColor(255, 255, 255), QColor(255, 255, 255), QColor(51, 51, 51)};

QImage CloseGlyph(QColor mark = QColor(0, 0, 128))
{
    QImage img = Blank(16);
    for (int i = 4; i < 12; ++i)
        for (int t = 0; t < 2; ++t) {
            img.setPixelColor(i + t, i, mark);
            img.setPixelColor(15 - i - t, i, mark);
        }
    return img;
}

// The filter row's drop-down glyph, 16 x 16: a small black arrow head pointing down.
QImage FilterGlyph()
{
    QImage img = Blank(16);
    for (int i = 0; i < 4; ++i)
        for (int x = 4 + i; x < 11 - i; ++x) img.setPixelColor(x, 7 + i, Qt::black);
    return img;
}

// The search footer's glyphs, 16 x 16: dark when enabled, grey in their disabled form.
const QColor SearchGlyphMark(0, 0, 128);
const QColor SearchGlyphGrey(160, 160, 160);

// A filled arrow head over a short shaft, pointing down or up.
QImage ArrowGlyph(bool down, bool disabled)
{
    QImage img = Blank(16);
    const QColor c = disabled ? SearchGlyphGrey : SearchGlyphMark;
    auto put = [&](int x, int y) { img.setPixelColor(x, down ? y : 15 - y, c); };
    for (int y = 3; y < 8; ++y)
        for (int x = 6; x < 10; ++x) put(x, y);
    for (int i = 0; i < 5; ++i)  // the head: rows 8 .. 12, each narrower by a pixel on either side
        for (int x = 3 + i; x < 13 - i; ++x) put(x, 8 + i);
    return img;
}

// A highlighter pen lying slanted, its yellow tip at the bottom left over a stroke of colour.
QImage HighlightGlyph(bool disabled)
{
    QImage img = Blank(16);
    const QColor outline = disabled ? SearchGlyphGrey : SearchGlyphMark;
    const QColor ink = disabled ? QColor(220, 220, 220) : QColor(255, 255, 0);
    for (int x = 1; x < 15; ++x)
        for (int y = 13; y < 15; ++y) img.setPixelColor(x, y, ink);
    for (int i = 0; i < 8; ++i)  // the pen's body, two outlines along the diagonal with ink between
        for (int t = 0; t < 4; ++t) img.setPixelColor(5 + i + t, 10 - i + t - 2, t == 0 || t == 3 ? outline : ink);
    img.setPixelColor(4, 11, outline);
    img.setPixelColor(3, 12, outline);
    return img;
}

// A node glyph: a box with a minus, and a plus while the node is contracted.  Leaves are
// 12 pixels square, the XP boxes 9.
QImage NodeGlyph(int side, bool contracted, QColor border, QColor fill)
{
    QImage img = Blank(side);
    QPainter p(&img);
    p.setPen(border);
    p.setBrush(fill);
    p.drawRect(QRect(0, 0, side - 1, side - 1));
    const int mid = side / 2;
    p.setPen(Qt::black);
    p.drawLine(2, mid, side - 3, mid);
    if (contracted) p.drawLine(mid, 2, mid, side - 3);
    return img;
}

// The mark at the origin of middle-button panning, 32 x 32: a circle with arrow heads
// for the directions the pan may go.
QImage PanOriginGlyph(bool vert, bool horz)
{
    QImage img = Blank(32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawEllipse(QRect(1, 1, 29, 29));
    p.setBrush(Qt::black);
    p.drawEllipse(QRect(14, 14, 3, 3));
    auto head = [&p](QPoint a, QPoint b, QPoint c) { p.drawPolygon(QPolygon({a, b, c})); };
    if (vert) {
        head({16, 4}, {11, 9}, {21, 9});
        head({16, 27}, {11, 22}, {21, 22});
    }
    if (horz) {
        head({4, 16}, {9, 11}, {9, 21});
        head({27, 16}, {22, 11}, {22, 21});
    }
    return img;
}

using Maker = std::function<QImage()>;

const QHash<QString, Maker>& Resources()
{
    static const QHash<QString, Maker> table = {
        {QStringLiteral("PSGCHK01"), [] { return CheckGlyph(true, FlatEnabled); }},
        {QStringLiteral("PSGCHK02"), [] { return CheckGlyph(false, FlatEnabled); }},
        {QStringLiteral("PSGCHK03"), [] { return CheckGlyph(true, FlatDisabled); }},
        {QStringLiteral("PSGCHK04"), [] { return CheckGlyph(false, FlatDisabled); }},
        {QStringLiteral("PSGCHK05"), [] { return CheckGlyph(true, XPEnabled); }},
        {QStringLiteral("PSGCHK06"), [] { return CheckGlyph(false, XPEnabled); }},
        {QStringLiteral("PSGCHK07"), [] { return CheckGlyph(true, XPDisabled); }},
        {QStringLiteral("PSGCHK08"), [] { return CheckGlyph(false, XPDisabled); }},
        {QStringLiteral("PSGRAD01"), [] { return RadioGlyph(true, FlatEnabled); }},
        {QStringLiteral("PSGRAD02"), [] { return RadioGlyph(false, FlatEnabled); }},
        {QStringLiteral("PSGRAD03"), [] { return RadioGlyph(true, FlatDisabled); }},
        {QStringLiteral("PSGRAD04"), [] { return RadioGlyph(false, FlatDisabled); }},
        {QStringLiteral("PSGRAD05"), [] { return RadioGlyph(true, XPEnabled); }},
        {QStringLiteral("PSGRAD06"), [] { return RadioGlyph(false, XPEnabled); }},
        {QStringLiteral("PSGRAD07"), [] { return RadioGlyph(true, XPDisabled); }},
        {QStringLiteral("PSGRAD08"), [] { return RadioGlyph(false, XPDisabled); }},
        {QStringLiteral("METROCHECKON"), [] { return CheckGlyph(true, MetroLook); }},
        {QStringLiteral("METROCHECKOFF"), [] { return CheckGlyph(false, MetroLook); }},
        {QStringLiteral("METRORADIOON"), [] { return RadioGlyph(true, MetroLook); }},
        {QStringLiteral("METRORADIOOFF"), [] { return RadioGlyph(false, MetroLook); }},
        {QStringLiteral("PSGCLOSE"), [] { return CloseGlyph(); }},
        {QStringLiteral("PSGFILT"), [] { return FilterGlyph(); }},
        {QStringLiteral("PSGCLOSEH"), [] { return CloseGlyph(QColor(0, 0, 255)); }},
        {QStringLiteral("PSGCLOSED"), [] { return CloseGlyph(QColor(0, 0, 64)); }},
        {QStringLiteral("PSGARDOWN"), [] { return ArrowGlyph(true, false); }},
        {QStringLiteral("PSGARDOWND"), [] { return ArrowGlyph(true, true); }},
        {QStringLiteral("PSGARUP"), [] { return ArrowGlyph(false, false); }},
        {QStringLiteral("PSGARUPD"), [] { return ArrowGlyph(false, true); }},
        {QStringLiteral("PSGHI"), [] { return HighlightGlyph(false); }},
        {QStringLiteral("PSGHID"), [] { return HighlightGlyph(true); }},
        {QStringLiteral("PSGLEAFCLOSE"), [] { return NodeGlyph(12, true, QColor(128, 128, 128), Qt::white); }},
        {QStringLiteral("PSGLEAFOPEN"), [] { return NodeGlyph(12, false, QColor(128, 128, 128), Qt::white); }},
        {QStringLiteral("XPNODEC"), [] { return NodeGlyph(9, true, QColor(120, 152, 181), QColor(240, 240, 234)); }},
        {QStringLiteral("XPNODEO"), [] { return NodeGlyph(9, false, QColor(120, 152, 181), QColor(240, 240, 234)); }},
        {QStringLiteral("INTLI1"), [] { return PanOriginGlyph(true, true); }},
        {QStringLiteral("INTLI2"), [] { return PanOriginGlyph(false, true); }},
        {QStringLiteral("INTLI3"), [] { return PanOriginGlyph(true, false); }},
    };
    return table;
}

}  // namespace

bool HasResourceBitmap(const QString& ResName)
{
    return Resources().contains(ResName.toUpper());
}

void LoadResourceBitmap(TBitmap& Bitmap, const QString& ResName)
{
    auto it = Resources().constFind(ResName.toUpper());
    if (it == Resources().constEnd()) throw EResNotFound(QStringLiteral("Resource %1 not found").arg(ResName));
    Bitmap.LoadFromImage(it.value()());
    Bitmap.SetTransparentColor(KeyColor);
    Bitmap.SetTransparent(true);
}
