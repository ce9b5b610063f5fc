#include "platform/ui/lb_button.h"

#include "platform/ui/application.h"
#include "platform/ui/forms.h"

#include <QApplication>
#include <QCheckBox>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>

namespace {
constexpr TColor clTransparentKey = 0xFF00FF;  // pixels left in this colour show the parent

QColor Q(TColor c) { return ColorToQColor(ColorToRGB(c) & 0xFFFFFF); }

void DrawButtonGradient(TCanvas& c, TColor from, TColor to, int left, int top, int right, int bottom)
{
    const int span = bottom - top;
    const TColor f = ColorToRGB(from), t = ColorToRGB(to);
    double r = GetRValue(f), g = GetGValue(f), b = GetBValue(f);
    const double dr = (GetRValue(t) - r) / 31.0, dg = (GetGValue(t) - g) / 31.0, db = (GetBValue(t) - b) / 31.0;
    const int band = span / 31 + 1;
    for (int i = 0; i <= 31; ++i) {
        const int y = top + (i * span) / 31;
        c.Brush()->SetColor(RGB(int(r), int(g), int(b)));
        c.FillRect(Rect(left, y, right, std::min(bottom, y + band)));
        r += dr;
        g += dg;
        b += db;
    }
}

// One image of the strip, drawn with the colour of its bottom-left pixel left out.
void DrawGlyphPart(TCanvas& c, int x, int y, const QImage& strip, int imageLeft, int gw, int gh)
{
    if (gw <= 0 || gh <= 0) return;
    TBitmap whole;
    whole.LoadFromImage(strip);
    // the slice starts as the strip's top-left part, so an index past the strip shows the first image
    TBitmap slice;
    slice.LoadFromImage(strip);
    slice.SetSize(gw, gh);
    slice.Canvas()->Draw(-imageLeft, 0, whole);
    slice.SetTransparent(true);
    c.Draw(x, y, slice);
}

uint32_t AlignFlag(TLbAlignment a)
{
    switch (a) {
    case taLeftJustify: return DT_LEFT;
    case taRightJustify: return DT_RIGHT;
    default: return DT_CENTER;
    }
}

// Whether the form's active control is a push button, which takes Enter itself; radio
// buttons and check boxes are not push buttons here.
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

TFont FontFromQFont(const QFont& q, TColor color)
{
    TFont f;
    f.SetName(q.family());
    if (q.pixelSize() > 0) f.SetHeight(-q.pixelSize());
    else f.SetSize(int(q.pointSizeF() + 0.5));
    TFontStyles st;
    if (q.bold()) st.Include(fsBold);
    if (q.italic()) st.Include(fsItalic);
    if (q.underline()) st.Include(fsUnderline);
    if (q.strikeOut()) st.Include(fsStrikeOut);
    f.SetStyle(st);
    f.SetColor(color);
    return f;
}

TColor BlendHotTrackColor(TColor face, TColor hot, int step)
{
    const TColor f = ColorToRGB(face), h = ColorToRGB(hot);
    const double w = step / 8.0;
    auto ch = [&](int a, int b) { return int(a * (1 - w) + b * w); };
    return RGB(ch(GetRValue(f), GetRValue(h)), ch(GetGValue(f), GetGValue(h)), ch(GetBValue(f), GetBValue(h)));
}

void DrawButton(TCanvas& c, const TLbButtonLook& lk)
{
    const int W = lk.Width, H = lk.Height;
    const bool enabled = lk.Enabled;
    const bool down = enabled && lk.Down;
    const int s = (down && lk.Style != bsEncarta) ? 1 : 0;

    TColor F = ColorToRGB(lk.Color);
    if (enabled && lk.HotTrackColor != clNone) F = BlendHotTrackColor(lk.Color, lk.HotTrackColor, lk.HotTrackStep);
    if (down && lk.ColorWhenDown != clNone) F = ColorToRGB(lk.ColorWhenDown);

    c.Pen()->SetStyle(psSolid);
    c.Pen()->SetWidth(1);
    switch (lk.Style) {
    case bsShape:
        c.Brush()->SetColor(clTransparentKey);
        c.FillRect(Rect(0, 0, W, H));
        break;
    case bsNormal:
    case bsEncarta:
    case bsOld:
        c.Brush()->SetColor(F);
        c.FillRect(Rect(0, 0, W, H));
        break;
    case bsModern:
        DrawButtonGradient(c, lk.LightColor, F, 2, 2, W - 2, H / 4 + s);
        DrawButtonGradient(c, F, lk.LightColor, 2, H / 4 + s, W - 2, H - 1);
        break;
    case bsQuicken: break;
    }
    c.Brush()->SetStyle(bsClear);

    const TColor light = lk.LightColor, shadow = lk.ShadowColor;
    const bool frame = !lk.Flat || (enabled && (lk.Hot || down));
    auto pen = [&](TColor col) { c.Pen()->SetColor(col); };
    switch (lk.Style) {
    case bsNormal:
    case bsEncarta:
        if (frame) {
            pen(down ? shadow : light);
            c.MoveTo(0, H - 1);
            c.LineTo(0, 0);
            c.LineTo(W - 1, 0);
            pen(down ? light : shadow);
            c.LineTo(W - 1, H - 1);
            c.LineTo(0, H - 1);
        }
        break;
    case bsOld:
        if (frame) {
            pen(shadow);
            if (down) {
                c.MoveTo(1, H - 3);
                c.LineTo(1, 1);
                c.LineTo(W - 2, 1);
            } else {
                c.MoveTo(W - 2, 0);
                c.LineTo(W - 2, H - 2);
                c.LineTo(0, H - 2);
            }
            pen(down ? cl3DDkShadow : light);
            c.MoveTo(0, H - 1);
            c.LineTo(0, 0);
            c.LineTo(W - 1, 0);
            pen(down ? light : cl3DDkShadow);
            c.LineTo(W - 1, H - 1);
            c.LineTo(-1, H - 1);
        }
        break;
    case bsModern:
        pen(down ? shadow : F);
        c.Rectangle(1, 1, W - 1, H - 1);
        pen(shadow);
        c.RoundRect(0, 0, W, H, 6, 6);
        break;
    case bsQuicken:
        c.Pen()->SetStyle(psClear);
        c.Brush()->SetColor(F);
        c.RoundRect(0, 1, W, H, 4, 4);
        c.Brush()->SetStyle(bsClear);
        c.Pen()->SetStyle(psSolid);
        pen(shadow);
        c.MoveTo(4, 0);
        c.LineTo(W - 5, 0);
        c.MoveTo(4, H - 1);
        c.LineTo(W - 5, H - 1);
        break;
    case bsShape: break;
    }

    c.SetFont(lk.Font);
    if (lk.Style == bsEncarta && down) c.Font()->SetStyle(lk.Font.Style() + TFontStyles(fsBold));

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
        while (!caption.isEmpty() && c.TextWidth(caption) > B) caption.chop(1);
    TRect calc = Rect(0, 0, B, 0);
    c.DrawText(caption, calc, DT_CALCRECT | DT_WORDBREAK);
    const int th = calc.Height(), tw = calc.Width();
    const uint32_t format = DT_WORDBREAK | AlignFlag(lk.Alignment);

    if (lk.Style == bsShape) {
        DrawGlyphPart(c, (W - gw) / 2, (H - gh) / 2, lk.Glyph, index * gw, gw, gh);
        TRect r = Rect(s, (H - th) / 2 + s, W, H);
        c.DrawText(caption, r, DT_CENTER | DT_WORDBREAK);
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
        if (!enabled) c.Font()->SetColor(clGray);
        TRect r = Rect(tx, ty, tx + B, ty + th);
        c.DrawText(caption, r, format);
        DrawGlyphPart(c, gx, gy, lk.Glyph, index * gw, gw, gh);
    }

    if (lk.HasPopup) {
        TBitmap arrow;
        arrow.LoadFromImage(LbArrowGlyph());
        arrow.SetTransparentColor(clWhite);
        arrow.SetTransparent(true);
        c.Draw(W - 11, H / 2 - 1, arrow);
    }
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
    QImage img(36, h, QImage::Format_RGB32);
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
    if (OnClick) {
        // The error of a click is shown here, as the application shows any other: passed up
        // through Qt's event delivery, which is built without exception cleanup, it would leak
        // the event being delivered.
        try {
            OnClick();
        } catch (const std::exception& e) {
            TApplication::ShowException(e);
            return;
        }
    }
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
    lk.Font = FontFromQFont((lk.Hot && FUseHTFont) ? FHTFont : font(), FFontColor);
    lk.Layout = FLayout;
    lk.Caption = FCaption;
    lk.Alignment = FAlignment;
    return lk;
}

QImage TLbButton::Render() const
{
    const int W = std::max(width(), 1), H = std::max(height(), 1);
    const bool keyed = FStyle == bsModern || FStyle == bsShape || FStyle == bsQuicken;
    TBitmap bmp(W, H);
    TCanvas& c = *bmp.Canvas();
    c.Brush()->SetColor(keyed ? clTransparentKey : FColor);
    c.FillRect(Rect(0, 0, W, H));
    TLbButtonLook lk = Look();
    if (FStyle == bsOld && hasFocus()) {
        // drawn two pixels smaller, moved by one and outlined in black
        TBitmap inner(std::max(W - 2, 1), std::max(H - 2, 1));
        lk.Width = W - 2;
        lk.Height = H - 2;
        if (bDown) lk.LightColor = FShadowColor;
        DrawButton(*inner.Canvas(), lk);
        c.Draw(1, 1, inner);
        c.Brush()->SetStyle(bsClear);
        c.Pen()->SetColor(clBlack);
        c.Rectangle(0, 0, W, H);
    } else {
        DrawButton(c, lk);
    }
    if (hasFocus() && isEnabled() && FStyle != bsShape) c.DrawFocusRect(Rect(4, 4, W - 4, H - 4));
    if (!keyed) return bmp.Image();
    // the parent shows through wherever the key colour is left
    bmp.SetTransparentColor(clTransparentKey);
    bmp.SetTransparent(true);
    return bmp.DrawImage();
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
        // a button that takes no focus leaves the keyboard where it is
        if (focusPolicy() & Qt::ClickFocus) setFocus(Qt::MouseFocusReason);
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
        if (!e->isAutoRepeat()) FKeyDown = k;
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
        // only the release of a key that went down here: the Enter that closed a message
        // box or confirmed an edit elsewhere must not click the button that has the focus now
        const bool ours = FKeyDown == k;
        FKeyDown = 0;
        if (ours) Click();
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
    FKeyDown = 0;
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

void TLbButton::hideEvent(QHideEvent* e)
{
    QWidget::hideEvent(e);
    bCursorOnButton = false;
    FHotTrackStep = 0;
    if (FThread) FThread->stop();
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
