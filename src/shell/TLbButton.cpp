#include "shell/TLbButton.h"

#include "platform/ui/forms.h"

#include <QApplication>
#include <QCheckBox>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>

namespace {
constexpr TColor clTransparentKey = 0xFF00FF;  // pixels left in this colour show the parent

QColor Q(TColor c) { return ColorToQColor(ColorToRGB(c)); }

// Drawing with the original's pixel rules: rectangles exclude their right and bottom
// edges, a line leaves out its end point.
struct Pixels {
    QPainter& P;
    void Fill(int l, int t, int r, int b, TColor c)
    {
        if (r > l && b > t) P.fillRect(QRect(l, t, r - l, b - t), Q(c));
    }
    // Horizontal or vertical line from a to b without b.
    void Line(QPoint a, QPoint b, TColor c)
    {
        if (a.y() == b.y()) {
            if (b.x() > a.x()) Fill(a.x(), a.y(), b.x(), a.y() + 1, c);
            else if (b.x() < a.x()) Fill(b.x() + 1, a.y(), a.x() + 1, a.y() + 1, c);
        } else if (a.x() == b.x()) {
            if (b.y() > a.y()) Fill(a.x(), a.y(), a.x() + 1, b.y(), c);
            else Fill(a.x(), b.y() + 1, a.x() + 1, a.y() + 1, c);
        }
    }
    void Poly(std::initializer_list<QPoint> pts, TColor c)
    {
        const QPoint* prev = nullptr;
        for (const QPoint& p : pts) {
            if (prev) Line(*prev, p, c);
            prev = &p;
        }
    }
    void Frame(int l, int t, int r, int b, TColor c)
    {
        if (r - l < 1 || b - t < 1) return;
        Fill(l, t, r, t + 1, c);
        Fill(l, b - 1, r, b, c);
        Fill(l, t, l + 1, b, c);
        Fill(r - 1, t, r, b, c);
    }
    void RoundFrame(int l, int t, int r, int b, int e, TColor c)
    {
        P.save();
        P.setRenderHint(QPainter::Antialiasing, false);
        P.setBrush(Qt::NoBrush);
        P.setPen(QPen(Q(c), 0));
        P.drawRoundedRect(QRect(l, t, r - l - 1, b - t - 1), e / 2.0, e / 2.0);
        P.restore();
    }
    void RoundFill(int l, int t, int r, int b, int e, TColor c)
    {
        P.save();
        P.setRenderHint(QPainter::Antialiasing, false);
        P.setPen(Qt::NoPen);
        P.setBrush(Q(c));
        P.drawRoundedRect(QRect(l, t, r - l, b - t), e / 2.0, e / 2.0);
        P.restore();
    }
};

void DrawButtonGradient(Pixels& px, TColor from, TColor to, int left, int top, int right, int bottom)
{
    const int span = bottom - top;
    const TColor f = ColorToRGB(from), t = ColorToRGB(to);
    double r = GetRValue(f), g = GetGValue(f), b = GetBValue(f);
    const double dr = (GetRValue(t) - r) / 31.0, dg = (GetGValue(t) - g) / 31.0, db = (GetBValue(t) - b) / 31.0;
    const int band = span / 31 + 1;
    for (int i = 0; i <= 31; ++i) {
        const int y = top + (i * span) / 31;
        px.Fill(left, y, right, std::min(bottom, y + band), RGB(int(r), int(g), int(b)));
        r += dr;
        g += dg;
        b += db;
    }
}

// The image's pixels in the colour of its bottom-left pixel are left out.
QImage WithAutoTransparency(const QImage& img)
{
    QImage out = img.convertToFormat(QImage::Format_ARGB32);
    if (out.isNull()) return out;
    const QRgb key = out.pixel(0, out.height() - 1) | 0xFF000000u;
    for (int y = 0; y < out.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            if ((line[x] | 0xFF000000u) == key) line[x] = 0;
    }
    return out;
}

void DrawGlyphPart(QPainter& p, int x, int y, const QImage& strip, int imageLeft, int gw, int gh)
{
    if (gw <= 0 || gh <= 0) return;
    // starts as the strip's top-left part, so an index past the strip shows the first image
    QImage slice = strip.copy(0, 0, gw, gh).convertToFormat(QImage::Format_RGB32);
    {
        QPainter sp(&slice);
        sp.drawImage(-imageLeft, 0, strip);
    }
    p.drawImage(x, y, WithAutoTransparency(slice));
}

int QtAlign(TLbAlignment a)
{
    switch (a) {
    case taLeftJustify: return Qt::AlignLeft;
    case taRightJustify: return Qt::AlignRight;
    default: return Qt::AlignHCenter;
    }
}

// The caption's word-wrapped extent in a box b wide, as DT_CALCRECT measures it.
QSize MeasureCaption(const QFontMetrics& fm, const QString& text, int b)
{
    if (text.isEmpty()) return QSize(0, fm.height());
    const QRect r = fm.boundingRect(QRect(0, 0, std::max(b, 1), 0), Qt::TextWordWrap | Qt::TextShowMnemonic | Qt::AlignLeft, text);
    return r.size();
}

// Inverts every other pixel of a rectangle's outline, like the platform's focus rectangle.
void DrawFocusRect(QImage& img, int l, int t, int r, int b)
{
    auto inv = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= img.width() || y >= img.height()) return;
        img.setPixel(x, y, img.pixel(x, y) ^ 0x00FFFFFFu);
    };
    for (int x = l; x < r; x += 2) {
        inv(x, t);
        inv(x, b - 1);
    }
    for (int y = t + 2; y < b - 1; y += 2) {
        inv(l, y);
        inv(r - 1, y);
    }
}

// What the form's active control is, the way the original's class names tell buttons apart.
bool FocusIsPushButton(QWidget* w)
{
    if (!w) return false;
    if (qobject_cast<QRadioButton*>(w) || qobject_cast<QCheckBox*>(w)) return false;
    return dynamic_cast<TLbButton*>(w) || qobject_cast<QPushButton*>(w) || qobject_cast<QToolButton*>(w);
}

// The accelerator test: the character after a single "&" of the caption, any case.
bool IsAccel(const QString& ch, const QString& caption)
{
    if (ch.size() != 1) return false;
    for (int i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != QLatin1Char('&')) continue;
        if (caption[i + 1] == QLatin1Char('&')) {
            ++i;
            continue;
        }
        return caption[i + 1].toUpper() == ch[0].toUpper();
    }
    return false;
}
}  // namespace

TColor BlendHotTrackColor(TColor face, TColor hot, int step)
{
    const TColor f = ColorToRGB(face), h = ColorToRGB(hot);
    const double w = step / 8.0;
    auto ch = [&](int a, int b) { return int(a * (1 - w) + b * w); };
    return RGB(ch(GetRValue(f), GetRValue(h)), ch(GetGValue(f), GetGValue(h)), ch(GetBValue(f), GetBValue(h)));
}

void DrawButton(QImage& bitmap, const TLbButtonLook& lk)
{
    const int W = lk.Width, H = lk.Height;
    QPainter p(&bitmap);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    Pixels px{p};
    const bool enabled = lk.Enabled;
    const bool down = enabled && lk.Down;
    const int s = (down && lk.Style != bsEncarta) ? 1 : 0;

    TColor F = ColorToRGB(lk.Color);
    if (enabled && lk.HotTrackColor != clNone) F = BlendHotTrackColor(lk.Color, lk.HotTrackColor, lk.HotTrackStep);
    if (down && lk.ColorWhenDown != clNone) F = ColorToRGB(lk.ColorWhenDown);

    switch (lk.Style) {
    case bsShape: px.Fill(0, 0, W, H, clTransparentKey); break;
    case bsNormal:
    case bsEncarta:
    case bsOld: px.Fill(0, 0, W, H, F); break;
    case bsModern:
        DrawButtonGradient(px, lk.LightColor, F, 2, 2, W - 2, H / 4 + s);
        DrawButtonGradient(px, F, lk.LightColor, 2, H / 4 + s, W - 2, H - 1);
        break;
    case bsQuicken: break;
    }

    const TColor light = ColorToRGB(lk.LightColor), shadow = ColorToRGB(lk.ShadowColor);
    const bool frame = !lk.Flat || (enabled && (lk.Hot || down));
    switch (lk.Style) {
    case bsNormal:
    case bsEncarta:
        if (frame) {
            px.Poly({{0, H - 1}, {0, 0}, {W - 1, 0}}, down ? shadow : light);
            px.Poly({{W - 1, 0}, {W - 1, H - 1}, {0, H - 1}}, down ? light : shadow);
        }
        break;
    case bsOld:
        if (frame) {
            const TColor dk = ColorToRGB(cl3DDkShadow);
            if (down) px.Poly({{1, H - 3}, {1, 1}, {W - 2, 1}}, shadow);
            else px.Poly({{W - 2, 0}, {W - 2, H - 2}, {0, H - 2}}, shadow);
            px.Poly({{0, H - 1}, {0, 0}, {W - 1, 0}}, down ? dk : light);
            px.Poly({{W - 1, 0}, {W - 1, H - 1}, {-1, H - 1}}, down ? light : dk);
        }
        break;
    case bsModern:
        px.Frame(1, 1, W - 1, H - 1, down ? shadow : F);
        // outside the rounded corners the parent shows
        px.Fill(0, 0, W, 1, clTransparentKey);
        px.Fill(0, H - 1, W, H, clTransparentKey);
        px.Fill(0, 0, 1, H, clTransparentKey);
        px.Fill(W - 1, 0, W, H, clTransparentKey);
        px.RoundFrame(0, 0, W, H, 6, shadow);
        break;
    case bsQuicken:
        px.RoundFill(0, 1, W, H, 4, F);
        px.Line({4, 0}, {W - 5, 0}, shadow);
        px.Line({4, H - 1}, {W - 5, H - 1}, shadow);
        break;
    case bsShape: break;
    }

    QFont font = lk.Font;
    if (lk.Style == bsEncarta && down) font.setBold(true);
    font.setStyleStrategy(QFont::NoAntialias);
    p.setFont(font);
    const QFontMetrics fm(font, &bitmap);

    const int gh = lk.Glyph.isNull() ? 0 : lk.Glyph.height();
    const int gw = lk.NumGlyphs > 0 ? lk.Glyph.width() / lk.NumGlyphs : 0;
    int index = 0;
    if (!enabled) index = 1;
    else {
        if (lk.Hot && lk.NumGlyphs > 3) index = 3;
        if (down && lk.NumGlyphs > 2) index = 2;
    }

    int B = W - 8;
    if ((lk.Layout == blGlyphLeft || lk.Layout == blGlyphRight) && lk.Style != bsShape && gw > 0) B = W - 8 - (gw + 4);
    B = std::max(B, 0);
    QString caption = lk.Caption;
    if (!lk.WordWrap)
        while (!caption.isEmpty() && fm.horizontalAdvance(caption) > B) caption.chop(1);
    const QSize ext = MeasureCaption(fm, caption, B);
    const int th = ext.height(), tw = caption.isEmpty() ? 0 : ext.width();
    const int format = Qt::TextWordWrap | Qt::TextShowMnemonic | Qt::AlignTop | QtAlign(lk.Alignment);

    if (lk.Style == bsShape) {
        DrawGlyphPart(p, (W - gw) / 2, (H - gh) / 2, lk.Glyph, index * gw, gw, gh);
        p.setPen(Q(lk.FontColor));
        p.drawText(QRect(s, (H - th) / 2 + s, W - s, H - ((H - th) / 2 + s)),
                   Qt::TextWordWrap | Qt::TextShowMnemonic | Qt::AlignTop | Qt::AlignHCenter, caption);
    } else {
        int tx = s + 4, ty = 0, gx = 0, gy = 0;
        if (lk.Layout == blGlyphLeft || lk.Layout == blGlyphRight) {
            ty = (H - th) / 2 + s;
            gy = (H - gh) / 2 + s;
            const int T = caption.isEmpty() ? 0 : tw + 4;
            if (lk.Layout == blGlyphLeft) {
                if (gw > 0) tx += gw + 4;
                if (lk.WordWrap) gx = s + 4;
                else if (lk.Alignment == taLeftJustify) gx = s + 4;
                else if (lk.Alignment == taRightJustify) gx = W - 4 - gw - T + s;
                else gx = (W - gw) / 2 + s - T / 2;
            } else {
                if (lk.WordWrap) gx = s + 4 + T;
                else if (lk.Alignment == taLeftJustify) gx = s + 4 + T;
                else if (lk.Alignment == taRightJustify) gx = W - 4 - gw + s;
                else gx = (W - gw) / 2 + s + T / 2;
            }
        } else {
            const int bh = th + (gh > 0 ? gh + 4 : 0);
            const int y0 = (H - bh) / 2 + s;
            if (lk.Layout == blGlyphTop) {
                gy = y0;
                ty = y0 + gh;
            } else {
                ty = y0;
                gy = y0 + th;
            }
            if (lk.Alignment == taLeftJustify) gx = s + 4;
            else if (lk.Alignment == taRightJustify) gx = W - gw - 4 + s;
            else gx = (W - gw) / 2 + s;
        }
        p.setPen(Q(enabled ? lk.FontColor : clGray));
        p.drawText(QRect(tx, ty, B, th), format, caption);
        DrawGlyphPart(p, gx, gy, lk.Glyph, index * gw, gw, gh);
    }

    if (lk.HasPopup) p.drawImage(W - 11, H / 2 - 1, WithAutoTransparency(LbArrowGlyph()));
}

bool GetColorStyleColors(TLbColorStyle cs, TLbColorPreset& r)
{
    // Color, Light, Shadow, WhenDown, HotTrack, Font, Flat, Style
    static const TLbColorPreset kPresets[] = {
        {0x00C0C0, 0x00FFFF, 0x008080, clNone, 0x00DFDF, 0x000000, false, bsModern},     // gold
        {0xC0C0C0, 0xFFFFFF, 0x808080, clNone, clNone, 0x000000, false, bsModern},       // chrome
        {0xFF8000, 0xFFFF00, 0xFF0000, clNone, clNone, 0x000000, false, bsModern},       // blue
        {0x0000FF, 0xC0C0FF, 0x0000C0, clNone, clNone, 0x000000, false, bsModern},       // red
        {clBtnFace, 0xB59284, 0xB59284, 0xB59284, 0xDED3D6, 0x000000, true, bsNormal},   // ultra flat 1
        {clBtnFace, 0x000000, 0x000000, 0x24DABC, 0x8CF6E4, 0x000000, true, bsNormal},   // ultra flat 2
        {0xD1D8DB, 0xB59284, 0xB59285, 0xB59285, 0xD2BDB6, 0x000000, true, bsNormal},    // ultra flat XP
        {0xECCE94, 0xFCE6D4, 0x000000, clNone, clNone, 0x000000, false, bsModern},       // aqua
        {clBtnFace, 0xFFFFFF, 0x808080, clNone, clNone, 0x000000, false, bsNormal},      // default
        {0x603000, 0xC0C0C0, 0xC0C0C0, 0xAD6529, 0xCEAE9C, 0xFFFFFF, false, bsQuicken},  // quicken
    };
    if (cs <= lcsCustom || cs > lcsQuicken) return false;
    r = kPresets[cs - 1];
    return true;
}

namespace {
// Our own two-image kind pictures (normal, then grey) on an olive background.
QImage MakeKindGlyph(TLbButtonKind kind)
{
    const int h = kind == bkAll ? 19 : 18;
    QImage img(2 * (kind == bkAll ? 18 : 18), h, QImage::Format_RGB32);
    img.fill(QColor(0x80, 0x80, 0x00));
    QPainter p(&img);
    for (int i = 0; i < 2; ++i) {
        const int x0 = i * 18;
        QColor c;
        switch (kind) {
        case bkOK: case bkYes: case bkAll: c = QColor(0, 128, 0); break;
        case bkCancel: case bkNo: case bkAbort: c = QColor(192, 0, 0); break;
        case bkHelp: case bkRetry: case bkIgnore: c = QColor(0, 0, 128); break;
        default: c = QColor(0, 0, 0); break;
        }
        if (i == 1) c = QColor(128, 128, 128);
        QPen pen(c, 2);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        switch (kind) {
        case bkOK:
        case bkYes:
            p.drawPolyline(QPolygon({QPoint(x0 + 3, 9), QPoint(x0 + 7, 13), QPoint(x0 + 15, 4)}));
            break;
        case bkAll:
            p.drawPolyline(QPolygon({QPoint(x0 + 2, 9), QPoint(x0 + 5, 12), QPoint(x0 + 10, 5)}));
            p.drawPolyline(QPolygon({QPoint(x0 + 7, 12), QPoint(x0 + 10, 15), QPoint(x0 + 16, 6)}));
            break;
        case bkCancel:
        case bkAbort:
            p.drawLine(x0 + 4, 4, x0 + 13, 13);
            p.drawLine(x0 + 13, 4, x0 + 4, 13);
            break;
        case bkNo:
            p.drawEllipse(QRect(x0 + 3, 3, 11, 11));
            p.drawLine(x0 + 5, 12, x0 + 12, 5);
            break;
        case bkHelp:
            p.drawText(QRect(x0, 0, 18, 18), Qt::AlignCenter, QStringLiteral("?"));
            break;
        case bkClose:
            p.drawRect(QRect(x0 + 4, 2, 9, 13));
            p.drawPoint(x0 + 10, 9);
            break;
        case bkRetry:
            p.drawArc(QRect(x0 + 3, 3, 11, 11), 30 * 16, 300 * 16);
            p.drawLine(x0 + 13, 3, x0 + 13, 7);
            break;
        case bkIgnore:
            p.drawLine(x0 + 3, 9, x0 + 14, 9);
            p.drawLine(x0 + 10, 5, x0 + 14, 9);
            p.drawLine(x0 + 10, 13, x0 + 14, 9);
            break;
        default: break;
        }
    }
    return img;
}
}  // namespace

QImage LbKindGlyph(TLbButtonKind kind)
{
    if (kind == bkCustom) return QImage();
    return MakeKindGlyph(kind);
}

QImage LbArrowGlyph()
{
    QImage img(5, 3, QImage::Format_RGB32);
    img.fill(Qt::white);
    for (int y = 0; y < 3; ++y)
        for (int x = y; x < 5 - y; ++x) img.setPixel(x, y, qRgb(0, 0, 0));
    return img;
}

// ---------------------------------------------------------------------------------------

TLbButton::TLbButton(QWidget* parent) : QWidget(parent)
{
    resize(100, 23);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_Hover, false);
    setMouseTracking(false);
    FHTFont = font();
    CreateFadeTimer();
}

TLbButton::~TLbButton()
{
    FDestroying = true;
    if (FWatched) FWatched->removeEventFilter(this);
}

void TLbButton::CreateFadeTimer()
{
    FThread = std::make_unique<QTimer>();
    FThread->setInterval(30);
    QObject::connect(FThread.get(), &QTimer::timeout, this, [this] { FadeStep(); });
}

bool TLbButton::Fading() const { return FThread && FThread->isActive(); }

void TLbButton::Repaint()
{
    if (isVisible()) repaint();
}

void TLbButton::SetCaption(const QString& s)
{
    FCaption = s;
    update();
}

void TLbButton::SetAlignment(TLbAlignment a)
{
    FAlignment = a;
    Repaint();
}

void TLbButton::SetCancel(bool v)
{
    FCancel = v;
    WatchWindow();
}

void TLbButton::SetDefault(bool v)
{
    FDefault = v;
    WatchWindow();
}

void TLbButton::SetColor(TColor c)
{
    FColor = c;
    update();
}

void TLbButton::SetFontColor(TColor c)
{
    FFontColor = c;
    update();
}

void TLbButton::SetColorStyle(TLbColorStyle cs)
{
    TLbColorPreset pr;
    if (!GetColorStyleColors(cs, pr)) return;
    SetColor(pr.Color);
    FLightColor = pr.LightColor;
    FShadowColor = pr.ShadowColor;
    FColorWhenDown = pr.ColorWhenDown;
    FHotTrackColor = pr.HotTrackColor;
    FFlat = pr.Flat;
    FFontColor = pr.FontColor;
    // the style goes in directly: the window's transparency stays as Style last set it
    FStyle = pr.Style;
    Repaint();
}

void TLbButton::SetEnabled(bool v)
{
    setEnabled(v);
    bDown = false;
    Repaint();
}

void TLbButton::SetFlat(bool v)
{
    FFlat = v;
    Repaint();
}

void TLbButton::SetGlyph(const QImage& picture)
{
    FGlyph = picture;
    FNumGlyphs = (picture.isNull() || picture.height() == 0) ? 0 : picture.width() / picture.height();
    FKind = bkCustom;
    update();
}

void TLbButton::SetKind(TLbButtonKind k)
{
    static const struct { int Result; const char16_t* Caption; } kKinds[] = {
        {0, u""}, {1, u"OK"}, {2, u"Abbrechen"}, {0, u"Hilfe"}, {6, u"Ja"}, {7, u"Nein"}, {0, u"Schließen"},
        {3, u"Abbrechen"}, {4, u"Wiederholen"}, {5, u"Ignorieren"}, {12, u"Alle"},
    };
    if (k != bkCustom && k >= bkOK && k <= bkAll) {
        FNumGlyphs = 2;
        SetModalResult(kKinds[k].Result);
        FGlyph = LbKindGlyph(k);
        SetCaption(QString::fromUtf16(kKinds[k].Caption));
    }
    FKind = k;
    update();
}

void TLbButton::SetLayout(TLbButtonLayout l)
{
    FLayout = l;
    Repaint();
}

void TLbButton::SetLightColor(TColor c)
{
    FLightColor = c;
    Repaint();
}

void TLbButton::SetModalResult(int r)
{
    FModalResult = r;
    FKind = bkCustom;
}

void TLbButton::SetNumGlyphs(int n)
{
    FNumGlyphs = n;
    update();
}

void TLbButton::SetPopupMenu(QMenu* m)
{
    FPopupMenu = m;
    update();
}

void TLbButton::SetShadowColor(TColor c)
{
    FShadowColor = c;
    Repaint();
}

void TLbButton::SetSlowDecease(bool v)
{
    FSlowDecease = v;
    if (v) {
        if (!FThread) CreateFadeTimer();
    } else if (FThread) {
        FHotTrackStep = 0;
        FThread.reset();
    }
    update();
}

void TLbButton::SetStyle(TLbButtonStyle s)
{
    FStyle = s;
    FTransparent = s == bsModern || s == bsShape || s == bsQuicken;
    update();
}

void TLbButton::SetWordWrap(bool v)
{
    FWordWrap = v;
    Repaint();
}

void TLbButton::Click()
{
    bDown = true;
    DoClick();
}

void TLbButton::DoClick()
{
    if (!isVisible() || !isEnabled() || !bDown) return;
    bDown = false;
    if (OnClick) OnClick();
    if (FModalResult != 0)
        if (auto* form = dynamic_cast<TForm*>(window())) form->SetModalResult(FModalResult);
    if (FPopupMenu) FPopupMenu->popup(mapToGlobal(QPoint(0, height())));
}

void TLbButton::FadeStep()
{
    if (FDestroying) return;
    --FHotTrackStep;
    if (FHotTrackStep <= 0) {
        if (FThread) FThread->stop();
        FHotTrackStep = 0;
    }
    Repaint();
}

TLbButtonLook TLbButton::Look() const
{
    TLbButtonLook lk;
    lk.Width = width();
    lk.Height = height();
    lk.HotTrackStep = FHotTrackStep;
    lk.NumGlyphs = FNumGlyphs;
    lk.Glyph = FGlyph;
    lk.Down = bDown;
    lk.Hot = bCursorOnButton || hasFocus();
    lk.Enabled = isEnabled();
    lk.Flat = FFlat;
    lk.WordWrap = FWordWrap;
    lk.HasPopup = FPopupMenu != nullptr;
    lk.Style = FStyle;
    lk.Color = FColor;
    lk.ColorWhenDown = FColorWhenDown;
    lk.HotTrackColor = FHotTrackColor;
    lk.LightColor = FLightColor;
    lk.ShadowColor = FShadowColor;
    lk.Font = (lk.Hot && FUseHTFont) ? FHTFont : font();
    lk.FontColor = FFontColor;
    lk.Layout = FLayout;
    lk.Caption = FCaption;
    lk.Alignment = FAlignment;
    return lk;
}

QImage TLbButton::Render() const
{
    const int W = width(), H = height();
    QImage bmp(std::max(W, 1), std::max(H, 1), QImage::Format_RGB32);
    const bool keyed = FStyle == bsModern || FStyle == bsShape || FStyle == bsQuicken;
    bmp.fill(keyed ? QColor(0xFF, 0x00, 0xFF) : Q(FColor));
    TLbButtonLook lk = Look();
    if (FStyle == bsOld && hasFocus()) {
        QImage inner(std::max(W - 2, 1), std::max(H - 2, 1), QImage::Format_RGB32);
        lk.Width = W - 2;
        lk.Height = H - 2;
        if (bDown) lk.LightColor = FShadowColor;
        DrawButton(inner, lk);
        QPainter p(&bmp);
        p.drawImage(1, 1, inner);
        Pixels px{p};
        px.Frame(0, 0, W, H, clBlack);
    } else {
        DrawButton(bmp, lk);
    }
    if (hasFocus() && isEnabled() && FStyle != bsShape) DrawFocusRect(bmp, 4, 4, W - 4, H - 4);
    if (!keyed) return bmp;
    // the parent shows through wherever the key colour is left
    QImage out = bmp.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            if ((line[x] & 0x00FFFFFFu) == 0x00FF00FFu) line[x] = 0;
    }
    return out;
}

void TLbButton::paintEvent(QPaintEvent*)
{
    if (FDestroying) return;
    QPainter p(this);
    p.drawImage(0, 0, Render());
}

void TLbButton::mousePressEvent(QMouseEvent* e)
{
    QWidget::mousePressEvent(e);
    if (isEnabled() && e->button() == Qt::LeftButton) {
        bDown = true;
        setFocus(Qt::MouseFocusReason);
        Repaint();
    }
}

void TLbButton::mouseDoubleClickEvent(QMouseEvent* e)
{
    // a double click arrives as a second press
    mousePressEvent(e);
}

void TLbButton::mouseReleaseEvent(QMouseEvent* e)
{
    QWidget::mouseReleaseEvent(e);
    // the mouse is captured: a release anywhere after a press on the button clicks it
    if (bDown) Click();
    bDown = false;
    Repaint();
}

void TLbButton::keyPressEvent(QKeyEvent* e)
{
    const int k = e->key();
    if (k == Qt::Key_Return || k == Qt::Key_Enter || k == Qt::Key_Space) {
        if (isEnabled()) {
            bDown = true;
            Repaint();
        }
        e->accept();
        return;
    }
    QWidget::keyPressEvent(e);
}

void TLbButton::keyReleaseEvent(QKeyEvent* e)
{
    const int k = e->key();
    if (!e->isAutoRepeat() && (k == Qt::Key_Return || k == Qt::Key_Enter || k == Qt::Key_Space)) {
        Click();
        Repaint();
        e->accept();
        return;
    }
    QWidget::keyReleaseEvent(e);
    Repaint();
}

void TLbButton::enterEvent(QEnterEvent* e)
{
    QWidget::enterEvent(e);
    if (!isEnabled() || !isVisible() || !parentWidget() || !parentWidget()->isVisible()) return;
    bCursorOnButton = true;
    FHotTrackStep = 8;
    Repaint();
    if (OnMouseEnter) OnMouseEnter();
}

void TLbButton::leaveEvent(QEvent* e)
{
    QWidget::leaveEvent(e);
    bCursorOnButton = false;
    if (FSlowDecease) {
        if (FThread && !FThread->isActive()) FThread->start();
    } else {
        FHotTrackStep = 0;
        Repaint();
    }
    if (isEnabled() && isVisible() && parentWidget() && parentWidget()->isVisible() && OnMouseExit) OnMouseExit();
}

void TLbButton::focusInEvent(QFocusEvent* e)
{
    QWidget::focusInEvent(e);
    Repaint();
}

void TLbButton::focusOutEvent(QFocusEvent* e)
{
    QWidget::focusOutEvent(e);
    Repaint();
}

void TLbButton::changeEvent(QEvent* e)
{
    QWidget::changeEvent(e);
    if (e->type() == QEvent::EnabledChange) bDown = false;
    if (e->type() == QEvent::ParentChange) WatchWindow();
}

void TLbButton::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    WatchWindow();
}

// The form offers Enter, Escape and accelerator characters that its focused control left
// alone; the button listens on its window for them.
void TLbButton::WatchWindow()
{
    QWidget* w = window();
    if (w == this) w = nullptr;
    if (w == FWatched) return;
    if (FWatched) FWatched->removeEventFilter(this);
    FWatched = w;
    if (FWatched) FWatched->installEventFilter(this);
}

bool TLbButton::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == FWatched && e->type() == QEvent::KeyPress && !FDestroying) {
        auto* ke = static_cast<QKeyEvent*>(e);
        if (DialogKey(ke->key(), ke->modifiers())) return true;
        if (DialogChar(ke->text())) return true;
    }
    return QWidget::eventFilter(watched, e);
}

bool TLbButton::DialogKey(int key, Qt::KeyboardModifiers mods)
{
    const bool enter = (key == Qt::Key_Return || key == Qt::Key_Enter) && FDefault;
    const bool esc = key == Qt::Key_Escape && FCancel &&
                     !(mods & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) && isVisible() && isEnabled();
    if (!enter && !esc) return false;
    // a focused push button handles Enter itself
    if (FocusIsPushButton(QApplication::focusWidget())) return false;
    bDown = true;
    DoClick();
    return true;
}

bool TLbButton::DialogChar(const QString& text)
{
    if (!IsAccel(text, FCaption) || !isVisible() || !isEnabled() || !parentWidget() || !parentWidget()->isVisible()) return false;
    bDown = true;
    DoClick();
    return true;
}
