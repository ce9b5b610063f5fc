#include "grid/base/drawing_routines.h"

#include "grid/base/grid_resources.h"
#include "platform/core/sysutils.h"

#include <QApplication>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QFontMetrics>
#include <QIcon>
#include <QStyle>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace {

struct Channels {
    int R, G, B;
};

Channels ChannelsOf(TColor c)
{
    const TColor rgb = ColorToRGB(c);
    return {GetRValue(rgb), GetGValue(rgb), GetBValue(rgb)};
}

void SetPenAndBrush(TCanvas* Canvas, TColor c)
{
    Canvas->Pen()->SetColor(c);
    Canvas->Brush()->SetColor(c);
}

void Line(TCanvas* Canvas, int x1, int y1, int x2, int y2)
{
    Canvas->MoveTo(x1, y1);
    Canvas->LineTo(x2, y2);
}

// A one-argument Format of the run-time library: %d, %u, %x, %f, %e, %g, %n, %s with
// optional width and precision, and %%.
QString FormatValue(const QString& Format, double Value, bool AsInteger)
{
    QString out;
    for (int i = 0; i < Format.size(); ++i) {
        const QChar ch = Format[i];
        if (ch != QLatin1Char('%')) {
            out += ch;
            continue;
        }
        if (i + 1 < Format.size() && Format[i + 1] == QLatin1Char('%')) {
            out += QLatin1Char('%');
            ++i;
            continue;
        }
        int j = i + 1;
        bool left = false;
        if (j < Format.size() && Format[j] == QLatin1Char('-')) {
            left = true;
            ++j;
        }
        int width = 0;
        while (j < Format.size() && Format[j].isDigit()) width = width * 10 + Format[j++].digitValue();
        int prec = -1;
        if (j < Format.size() && Format[j] == QLatin1Char('.')) {
            prec = 0;
            ++j;
            while (j < Format.size() && Format[j].isDigit()) prec = prec * 10 + Format[j++].digitValue();
        }
        if (j >= Format.size()) break;
        const QChar conv = Format[j].toLower();
        QString piece;
        const int64_t iv = AsInteger ? int64_t(Value) : Round(Value);
        switch (conv.unicode()) {
        case 'd':
        case 'u': piece = QString::number(iv); break;
        case 'x': piece = QString::number(iv, 16).toUpper(); break;
        case 'e': piece = QString::number(Value, 'E', prec < 0 ? 15 : prec); break;
        case 'g': piece = QString::number(Value, 'g', prec < 0 ? 15 : prec); break;
        case 'n': {
            QLocale loc;
            piece = loc.toString(Value, 'f', prec < 0 ? 2 : prec);
            break;
        }
        case 's': piece = AsInteger ? QString::number(iv) : QString::number(Value, 'g', 15); break;
        default: piece = QString::number(Value, 'f', prec < 0 ? 2 : prec); break;
        }
        if (piece.size() < width) piece = left ? piece.leftJustified(width) : piece.rightJustified(width);
        out += piece;
        i = j;
    }
    return out;
}

}  // namespace

const TSelectionColors& SelectionStyleColors(TGridSelectionStyle Style, bool Focused)
{
    static const TSelectionColors vista{0xFDF8F1, 0xFCEFD5, clNone, clNone, 0xFDFBF6, 0xFDF5E7, 0xFDDE99, 0xFCEDCB};
    static const TSelectionColors win7{0xFCEBDC, 0xFCDBC1, clNone, clNone, 0xFDF4EB, 0xFDEADB, 0xCEA27D, 0xE0C5AE};
    static const TSelectionColors office{0xD7FFFD, 0x58D4FC, 0x58D4FC, 0xB3F1FC, 0xF4FEFF, 0xCAF8FF, 0x8DD7D3, 0xC3D9DF};
    static const TSelectionColors unfocused{0xF8F8F8, 0xE5E5E5, clNone, clNone, 0xFBFAFA, 0xF0F0F0, 0xD9D9D9, 0xEFEFEF};
    if (!Focused) return unfocused;
    switch (Style) {
    case ssVista: return vista;
    case ssWin7: return win7;
    case ssOffice2007: return office;
    default: return unfocused;
    }
}

void GradientFillRect(TCanvas* Canvas, TColor Color, TColor ColorTo, int Steps, TRect R, bool Horizontal)
{
    if (R.Height() == 0) return;
    if (R.Top > R.Bottom) std::swap(R.Top, R.Bottom);
    if (Color == clNone || ColorTo == clNone) {
        const TColor c = Color != clNone ? Color : ColorTo;
        if (c == clNone) return;
        SetPenAndBrush(Canvas, c);
        Canvas->Rectangle(R);
        return;
    }
    const int n = (Horizontal ? R.Width() : R.Height()) - 1;
    Steps = std::max(std::min(Steps, n), 1);
    const Channels from = ChannelsOf(Color);
    const Channels to = ChannelsOf(ColorTo);
    const int thickness = int(std::trunc(double(n) / Steps + 1));
    for (int i = 0; i <= Steps; ++i) {
        const double f = double(i) / Steps;
        const TColor c = RGB(from.R + int(Round(f * (to.R - from.R))), from.G + int(Round(f * (to.G - from.G))),
                             from.B + int(Round(f * (to.B - from.B))));
        const int offset = int(std::trunc(double(i) * n / Steps));
        TRect band = R;
        if (Horizontal) {
            band.Left = R.Left + offset;
            band.Right = std::min(band.Left + thickness, R.Right);
        } else {
            band.Top = R.Top + offset;
            band.Bottom = std::min(band.Top + thickness, R.Bottom);
        }
        SetPenAndBrush(Canvas, c);
        Canvas->Brush()->SetStyle(bsSolid);
        Canvas->FillRect(band);
    }
}

void DrawGradientBackground(TCanvas* Canvas, TRect R, TColor Color, TColor ColorTo, TColor MirrorColor,
                            TColor MirrorColorTo, int Direction, TColor BorderColor, bool SidesOnly, bool Fill)
{
    const bool horizontal = Direction == 0;
    if (Fill && Color != clNone) {
        if (MirrorColor == clNone) {
            if (ColorTo == clNone) {
                Canvas->Brush()->SetStyle(bsSolid);
                Canvas->Pen()->SetWidth(1);
                SetPenAndBrush(Canvas, Color);
                R.Bottom += 1;
                Canvas->Rectangle(R);
            } else {
                GradientFillRect(Canvas, Color, ColorTo, 128, R, horizontal);
            }
        } else {
            TRect first = R, second = R;
            if (Direction == 1) first.Bottom = second.Top = R.Top + R.Height() / 2;
            else first.Right = second.Left = R.Left + R.Width() / 2;
            GradientFillRect(Canvas, Color, ColorTo, 128, first, horizontal);
            GradientFillRect(Canvas, MirrorColor, MirrorColorTo, 128, second, horizontal);
        }
    }
    if (BorderColor == clNone) return;
    if (SidesOnly) {
        Canvas->Pen()->SetColor(BorderColor);
        Line(Canvas, R.Left, R.Top, R.Left, R.Bottom);
        Line(Canvas, R.Right - 1, R.Top, R.Right - 1, R.Bottom);
    } else {
        Canvas->Brush()->SetColor(BorderColor);
        Canvas->FrameRect(R);
    }
}

void DrawSelectionGradient(TCanvas* Canvas, TColor ColorFrom, TColor ColorTo, TColor MirrorColor,
                           TColor MirrorColorTo, TColor InnerTopColor, TColor InnerBottomColor, TColor BorderColor,
                           TColor CornerColor, TColor BackColor, TRect Rc, int Part)
{
    const int L = Rc.Left, T = Rc.Top, R = Rc.Right - 1, B = Rc.Bottom - 2;
    const int M = T + (B - T) / 2;
    const bool leftEnd = Part == 0 || Part == 1;
    const bool rightEnd = Part == 0 || Part == 2;

    Canvas->Pen()->SetColor(InnerTopColor);
    Line(Canvas, L, T + 1, R, T + 1);
    if (leftEnd) Line(Canvas, L + 1, T + 1, L + 1, M);
    if (rightEnd) Line(Canvas, R - 2, T + 1, R - 2, M);

    Canvas->Pen()->SetColor(InnerBottomColor);
    Line(Canvas, L, B - 1, R, B - 1);
    if (leftEnd) Line(Canvas, L + 1, M, L + 1, B - 1);
    if (rightEnd) Line(Canvas, R - 2, M, R - 2, B - 1);

    const int li = leftEnd ? 2 : 0;
    const int ri = rightEnd ? 2 : 0;
    Canvas->Pen()->SetColor(BorderColor);
    Line(Canvas, L + li, T, R - ri, T);
    Line(Canvas, L + li, B, R - ri, B);
    if (rightEnd) Line(Canvas, R - 1, T + 2, R - 1, B - 1);
    if (leftEnd) Line(Canvas, L, T + 2, L, B - 1);

    // Rounded corners: the outer column at L (R - 1), the inner one at L + 1 (R - 2).
    auto corners = [&](int outer, int inner) {
        for (TPoint p : {TPoint{inner, T}, TPoint{inner, T + 1}, TPoint{outer, T + 1}, TPoint{inner, B},
                         TPoint{inner, B - 1}, TPoint{outer, B - 1}})
            Canvas->SetPixels(p.X, p.Y, CornerColor);
        Canvas->SetPixels(outer, T, BackColor);
        Canvas->SetPixels(outer, B, BackColor);
    };
    if (leftEnd) corners(L, L + 1);
    if (rightEnd) corners(R - 1, R - 2);

    const TRect fill{L + li, T + 2, R - ri, B - 1};
    if (ColorTo == clNone) {
        FillRectColor(Canvas, fill, ColorFrom);
    } else if (MirrorColor == clNone) {
        GradientFillRect(Canvas, ColorFrom, ColorTo, 16, fill, false);
    } else {
        TRect top = fill, bottom = fill;
        top.Bottom = bottom.Top = fill.Top + fill.Height() / 2;
        GradientFillRect(Canvas, ColorFrom, ColorTo, 16, top, false);
        GradientFillRect(Canvas, MirrorColor, MirrorColorTo, 16, bottom, false);
    }
}

void DrawSelectionGradient(TCanvas* Canvas, const TSelectionColors& C, TColor BackColor, TRect R, int Part)
{
    DrawSelectionGradient(Canvas, C.ColorFrom, C.ColorTo, C.MirrorColor, C.MirrorColorTo, C.InnerTopColor,
                          C.InnerBottomColor, C.BorderColor, C.CornerColor, BackColor, R, Part);
}

void FillRectColor(TCanvas* Canvas, const TRect& R, TColor Color)
{
    Canvas->Brush()->SetColor(Color);
    Canvas->FillRect(R);
}

TColor BlendColorAt(TColor Color, TColor ColorTo, int Min, int Max, int Pos)
{
    // An empty range has no blend to make.
    if (ColorTo == clNone || Max == Min) return Color;
    const Channels a = ChannelsOf(Color);
    const Channels b = ChannelsOf(ColorTo);
    auto mix = [&](int c1, int c2) { return c1 + int(Round(double(c2 - c1) / (Max - Min) * Pos)); };
    return RGB(mix(a.R, b.R), mix(a.G, b.G), mix(a.B, b.B));
}

TColor BrightenColor(TColor Color, int Percent)
{
    const Channels c = ChannelsOf(Color);
    auto up = [&](int v) { return int(v + Round(v * Percent / 100.0)) & 0xFF; };
    return RGB(up(c.R), up(c.G), up(c.B));
}

TColor DarkenColorHalf(TColor Color)
{
    const Channels c = ChannelsOf(Color);
    return RGB(c.R >> 1, c.G >> 1, c.B >> 1);
}

QString ColorToHex(TColor Color)
{
    const Channels c = ChannelsOf(Color);
    return QStringLiteral("%1%2%3")
        .arg(c.R, 2, 16, QLatin1Char('0'))
        .arg(c.G, 2, 16, QLatin1Char('0'))
        .arg(c.B, 2, 16, QLatin1Char('0'))
        .toUpper();
}

void DrawValueBar(TCanvas* Canvas, TRect R, int Value, int MaxValue, bool ShowText, TColor NegColor,
                  TColor PosColor)
{
    InflateRect(R, -2, -2);
    const int half = R.Width() / 2;
    const int mid = R.Left + half;
    if (MaxValue < 0) MaxValue = -MaxValue;
    Value = std::clamp(Value, -MaxValue, MaxValue);
    const int len = MaxValue == 0 ? 0 : int(Round(double(Value) * half / MaxValue));
    if (Value < 0) {
        SetPenAndBrush(Canvas, NegColor);
        Canvas->Rectangle(mid + len, R.Top, mid, R.Bottom);
    } else {
        SetPenAndBrush(Canvas, PosColor);
        Canvas->Rectangle(mid, R.Top, mid + len, R.Bottom);
    }
    if (ShowText) {
        // The value, centred over the bar.
        Canvas->Brush()->SetStyle(bsClear);
        TRect tr = R;
        Canvas->DrawText(QString::number(Value), tr, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
}

void DrawClassicProgress(TCanvas* Canvas, TRect R, TColor Color, TColor TextColor, TColor ColorTo,
                         TColor TextColorTo, double Position, int MarginX, int MarginY, int Min, int Max,
                         const QString& Format, TColor BorderColor, bool Printing)
{
    const TColor kept = Canvas->Brush()->Color();
    Canvas->Brush()->SetStyle(bsSolid);
    SetPenAndBrush(Canvas, Color);
    Canvas->Font()->SetColor(TextColor);

    QString text;
    int64_t percent;
    if (Format.isEmpty()) {
        percent = Round(Position);
        text = IntToStr(percent) + QLatin1Char('%');
    } else {
        const bool integer = Format.contains(QLatin1Char('d')) || Format.contains(QLatin1Char('u'));
        text = integer ? FormatValue(Format, double(Round(Position)), true) : FormatValue(Format, Position, false);
        percent = Max == Min ? 0 : Round((Position - Min) * 100 / (Max - Min));
    }
    percent = std::clamp<int64_t>(percent, 0, 100);

    InflateRect(R, -MarginX, -MarginY);
    const int barEnd = R.Left + int(Round(R.Width() * double(percent) / 100));
    const int s = Printing ? -1 : 1;
    const int tx = R.Left + (R.Width() - Canvas->TextWidth(text)) / 2;
    const int ty = R.Top + (R.Height() - Canvas->TextHeight(text) * s) / 2;

    Canvas->TextRect({R.Left, R.Top, barEnd, R.Bottom}, tx, ty, text);
    SetPenAndBrush(Canvas, ColorTo);
    Canvas->Font()->SetColor(TextColorTo);
    Canvas->TextRect({barEnd, R.Top, R.Right, R.Bottom}, tx, ty, text);

    InflateRect(R, 1, 1);
    if (BorderColor != clNone) {
        Canvas->Brush()->SetColor(BorderColor);
        Canvas->FrameRect(R);
    }
    InflateRect(R, 1, 1);
    Canvas->Brush()->SetColor(kept);
    Canvas->FrameRect(R);
}

namespace {

// One level-coloured segment of a gradient progress bar, from offset `from` of the usable
// length for `length` pixels.
void ProgressSegment(TCanvas* Canvas, const TRect& inner, bool vertical, int from, int length, TColor color,
                     TColor colorTo, const ProgressDrawInfo& Info)
{
    if (length <= 0) return;
    TRect seg = inner;
    if (vertical) {
        seg.Bottom = inner.Bottom - from;
        seg.Top = seg.Bottom - length;
    } else {
        seg.Left = inner.Left + from;
        seg.Right = seg.Left + length;
    }
    if (!Info.ShowGradient) {
        Canvas->Brush()->SetStyle(bsSolid);
        SetPenAndBrush(Canvas, color);
        Canvas->FillRect(seg);
        return;
    }
    // Two halves across the bar, each a gradient whose bands run along it.
    TRect a = seg, b = seg;
    if (vertical) a.Right = b.Left = seg.Left + seg.Width() / 2;
    else a.Bottom = b.Top = seg.Top + seg.Height() / 2;
    GradientFillRect(Canvas, colorTo, color, Info.Steps, a, vertical);
    GradientFillRect(Canvas, color, colorTo, Info.Steps, b, vertical);
}

}  // namespace

void DrawGradientProgress(TCanvas* Canvas, TRect R, int Percent, const ProgressDrawInfo& Info)
{
    auto frame = [&](bool filled) {
        Canvas->Pen()->SetColor(Info.ShowBorder ? Info.BorderColor : Info.BackgroundColor);
        if (filled) Canvas->Brush()->SetColor(Info.BackgroundColor);
        else Canvas->Brush()->SetStyle(bsClear);
        Canvas->Rectangle(R);
    };
    frame(true);
    const bool vertical = Info.Vertical;
    const int usable = (vertical ? R.Height() : R.Width()) - 4;
    if (Percent <= 0 || usable <= 0) return;
    Percent = std::min(Percent, 100);
    // Bars start one pixel inside the frame.
    const TRect inner{R.Left + 2, R.Top + 2, R.Right - 2, R.Bottom - 2};

    if (Info.Stacked) {
        int len1, len2 = 0, len3 = 0;
        if (Percent < Info.Level1Perc) {
            len1 = int(Round(Percent / 100.0 * usable));
        } else {
            len1 = int(Round(Info.Level1Perc / 100.0 * usable));
            if (Percent < Info.Level2Perc) {
                len2 = int(Round(usable * (Percent - Info.Level1Perc) / 100.0));
            } else {
                len2 = int(Round(usable * (Info.Level2Perc - Info.Level1Perc) / 100.0));
                len3 = Percent == 100 ? usable - len1 - len2 : int(Round(usable * (Percent - Info.Level2Perc) / 100.0));
            }
        }
        ProgressSegment(Canvas, inner, vertical, 0, len1, Info.Level0Color, Info.Level0ColorTo, Info);
        ProgressSegment(Canvas, inner, vertical, len1, len2, Info.Level1Color, Info.Level1ColorTo, Info);
        ProgressSegment(Canvas, inner, vertical, len1 + len2, len3, Info.Level3Color, Info.Level3ColorTo, Info);
    } else {
        TColor c, cTo;
        if (Percent < Info.Level1Perc) c = Info.Level0Color, cTo = Info.Level0ColorTo;
        else if (Percent < Info.Level2Perc) c = Info.Level1Color, cTo = Info.Level1ColorTo;
        else if (Percent < 100) c = Info.Level2Color, cTo = Info.Level2ColorTo;
        else c = Info.Level3Color, cTo = Info.Level3ColorTo;
        if (Info.CompletionSmooth) {
            ProgressSegment(Canvas, inner, vertical, 0, int(Round(Percent / 100.0 * usable)), c, cTo, Info);
        } else {
            // Blocks of 7 pixels with 2-pixel gaps, inset 2 pixels across the bar.
            TRect blocks = inner;
            if (vertical) InflateRect(blocks, -1, 0);
            else InflateRect(blocks, 0, -1);
            const int t = int(Round(double(Percent) * usable / 100));
            auto block = [&](int from, int length) {
                ProgressSegment(Canvas, blocks, vertical, from, length, c, cTo, Info);
            };
            // Block k covers 7 pixels from 9 k (from the first pixel inside the frame).
            if (t > 9) {
                for (int k = 0; k < t / 9; ++k) block(9 * k, 7);
                if (t % 9 > 2) block(9 * (t / 9), t % 9 - 1);
            } else if (t >= 2) {
                block(0, t - 1);
            }
            Canvas->Brush()->SetStyle(bsClear);
        }
    }

    if (Info.ShowPercentage) {
        const QString text = IntToStr(Percent) + QLatin1Char('%');
        if (Info.Font) Canvas->SetFont(*Info.Font);
        Canvas->Font()->SetColor(Info.CompleteFontColor);
        Canvas->Brush()->SetStyle(bsClear);
        const int cx = R.Left + R.Width() / 2, cy = R.Top + R.Height() / 2;
        const int tw = Canvas->TextWidth(text), th = Canvas->TextHeight(text);
        if (vertical) {
            Canvas->Font()->SetOrientation(900);
            Canvas->TextOut(cx - th / 2, cy + tw / 2, text);
            Canvas->Font()->SetOrientation(0);
        } else {
            Canvas->TextOut(cx - tw / 2, cy - th / 2, text);
        }
    }
    frame(false);
}

void DrawProgressPie(TCanvas* Canvas, TRect R, TColor Color, int Percent, bool Printing)
{
    (void)Printing;  // the wedge is drawn, not flood-filled, so no device needs to be read back
    Canvas->Pen()->SetColor(clGray);
    Canvas->Pen()->SetWidth(1);
    Canvas->Ellipse(R);
    const int cx = R.Left + R.Width() / 2;
    const int cy = R.Top + R.Height() / 2;
    const double angle = Percent / 100.0 * 2 * M_PI;
    const int ex = cx + int(Round((R.Width() + 1) * 0.5 * std::sin(angle)));
    const int ey = cy - int(Round((R.Height() + 1) * 0.5 * std::cos(angle)));
    if (Percent != 0) {
        const TColor keptBrush = Canvas->Brush()->Color();
        const TBrushStyle keptStyle = Canvas->Brush()->Style();
        Canvas->Brush()->SetColor(Color);
        // Clockwise from 12 o'clock to the angle is counter-clockwise from the angle back.
        if (std::abs(Percent) >= 100) Canvas->Ellipse(R);
        else if (Percent > 0) Canvas->Pie(R.Left, R.Top, R.Right, R.Bottom, ex, ey, cx, R.Top);
        else Canvas->Pie(R.Left, R.Top, R.Right, R.Bottom, cx, R.Top, ex, ey);
        Canvas->Brush()->SetColor(keptBrush);
        Canvas->Brush()->SetStyle(keptStyle);
    }
    Line(Canvas, cx, R.Top, cx, cy);
    Line(Canvas, cx, cy, ex, ey);
}

void DrawShape(TCanvas* Canvas, int X, int Y, int W, int H, TCellShape Shape, TColor BrushColor, TColor PenColor)
{
    if (int(Shape) < 0 || int(Shape) > csHalfStar) return;
    Canvas->Brush()->SetColor(BrushColor);
    Canvas->Pen()->SetColor(PenColor);
    if (Shape == csCircle || Shape == csSquare || Shape == csRoundSquare) W = H = std::min(W, H);
    auto star = [&](const std::vector<int>& degrees) {
        std::vector<TPoint> pts;
        const int cx = X + W / 2, cy = Y + H / 2;
        for (int deg : degrees) {
            const bool outer = (deg / 36) % 2 == 0;
            const double rx = outer ? W / 2 : (W / 2) / 3.0;
            const double ry = outer ? H / 2 : (H / 2) / 3.0;
            const double a = deg * M_PI / 180;
            pts.push_back({cx + int(Round(std::sin(a) * rx)), cy - int(Round(std::cos(a) * ry))});
        }
        Canvas->Polygon(pts);
    };
    const int V = W & ~1, q = V / 4;
    const int G = H & ~1, r = G / 4;
    switch (Shape) {
    case csRectangle:
    case csSquare: Canvas->Rectangle(X + 1, Y + 1, X + W - 1, Y + H - 1); break;
    case csCircle:
    case csEllips: Canvas->Ellipse(X, Y, X + W, Y + H); break;
    case csRoundRect:
    case csRoundSquare: Canvas->RoundRect(X, Y, X + W, Y + H, 10, 10); break;
    case csLineVert: Canvas->Rectangle(X + W / 2, Y, X + W / 2 + 1, Y + H); break;
    case csLineHorz: Canvas->Rectangle(X, Y + H / 2, X + W, Y + H / 2 + 1); break;
    case csTriangleLeft: Canvas->Polygon({{X + W, Y}, {X + W, Y + H}, {X, Y + H / 2}}); break;
    case csTriangleRight: Canvas->Polygon({{X, Y}, {X, Y + H}, {X + W, Y + H / 2}}); break;
    case csTriangleUp: Canvas->Polygon({{X, Y + H}, {X + W, Y + H}, {X + W / 2, Y}}); break;
    case csTriangleDown: Canvas->Polygon({{X, Y}, {X + W, Y}, {X + W / 2, Y + H}}); break;
    case csDiamond:
        Canvas->Polygon({{X, Y + H / 2}, {X + W / 2, Y}, {X + 2 * (W / 2), Y + H / 2}, {X + W / 2, Y + 2 * (H / 2)}});
        break;
    case csArrowUp:
        Canvas->Polygon({{X, Y + H / 2}, {X + V / 2, Y}, {X + V, Y + H / 2}, {X + 3 * q, Y + H / 2},
                         {X + 3 * q, Y + H}, {X + q, Y + H}, {X + q, Y + H / 2}});
        break;
    case csArrowDown:
        Canvas->Polygon({{X, Y + H / 2}, {X + V / 2, Y + H}, {X + V, Y + H / 2}, {X + 3 * q, Y + H / 2},
                         {X + 3 * q, Y}, {X + q, Y}, {X + q, Y + H / 2}});
        break;
    case csArrowLeft:
        Canvas->Polygon({{X, Y + G / 2}, {X + W / 2, Y}, {X + W / 2, Y + r}, {X + W, Y + r}, {X + W, Y + 3 * r},
                         {X + W / 2, Y + 3 * r}, {X + W / 2, Y + G}});
        break;
    case csArrowRight:
        Canvas->Polygon({{X + W, Y + G / 2}, {X + W / 2, Y}, {X + W / 2, Y + r}, {X, Y + r}, {X, Y + 3 * r},
                         {X + W / 2, Y + 3 * r}, {X + W / 2, Y + G}});
        break;
    case csStar: star({0, 36, 72, 108, 144, 180, 216, 252, 288, 324}); break;
    case csHalfStar: star({0, 180, 216, 252, 288, 324}); break;
    }
}

namespace {

const TColorTone& ToneOf(const TColorTones& Tones, int State)
{
    switch (State) {
    case 1: return Tones.Hover;
    case 2: return Tones.Selected;
    case 3: return Tones.Disabled;
    default: return Tones.Background;
    }
}

uint32_t FrameStateFlags(int Look, int State)
{
    uint32_t f = 0;
    if (Look == 2) f |= DFCS_FLAT;
    if (State == 1) f |= DFCS_HOT;
    if (State == 2) f |= DFCS_PUSHED;
    if (State == 3) f |= DFCS_INACTIVE;
    return f;
}

}  // namespace

void DrawComboButton(TCanvas* Canvas, QWidget* ThemeWindow, TRect R, int Look, int State, TColorTones Tones)
{
    TRect b{R.Right - 17 - 2, R.Top + 1, R.Right - 2, R.Bottom - 1};
    switch (Look) {
    case 0: Canvas->DrawThemeBackground(ThemeWindow, QStringLiteral("combobox"), 1, State == 3 ? 4 : 1, b); break;
    case 1:
    case 2:
        Canvas->DrawFrameControl(b, DFC_SCROLL,
                                 DFCS_SCROLLCOMBOBOX | (State == 3 ? DFCS_INACTIVE : 0) | (Look == 2 ? DFCS_FLAT : 0));
        break;
    default: {
        const TColorTone& tone = ToneOf(Tones, State);
        SetPenAndBrush(Canvas, tone.BrushColor);
        Canvas->Rectangle(b);
        Canvas->Pen()->SetColor(Tones.Background.BorderColor);
        Line(Canvas, b.Left + 1, b.Top, b.Left + 1, b.Bottom);
        SetPenAndBrush(Canvas, Tones.Background.TextColor);
        Canvas->Polygon({{b.Left + 5, b.Top + 8}, {b.Left + 11, b.Top + 8}, {b.Left + 8, b.Top + 11}});
        break;
    }
    }
}

void DrawThemedButton(TCanvas* Canvas, QWidget* ThemeWindow, TRect R, int Look, int State, TColorTones Tones)
{
    switch (Look) {
    case 0: Canvas->DrawThemeBackground(ThemeWindow, QStringLiteral("button"), 1, State + 1, R); break;
    case 1:
    case 2: Canvas->DrawFrameControl(R, DFC_BUTTON, DFCS_BUTTONPUSH | FrameStateFlags(Look, State)); break;
    default: {
        const TColorTone& tone = ToneOf(Tones, State);
        Canvas->Brush()->SetColor(tone.BrushColor);
        Canvas->Pen()->SetColor(tone.BorderColor);
        Canvas->Rectangle(R);
        break;
    }
    }
}

void DrawSpinButtons(TCanvas* Canvas, QWidget* ThemeWindow, TRect R, int Look, int State, TColorTones Tones)
{
    TRect b{R.Right - 15 - 1, R.Top - 1, R.Right - 1, R.Bottom - 1};
    const int mid = b.Top + b.Height() / 2;
    TRect up{b.Left, b.Top, b.Right, mid};
    TRect down{b.Left, mid, b.Right, b.Bottom};
    if (Look == 0) {
        const int st = State == 3 ? 4 : 1;
        Canvas->DrawThemeBackground(ThemeWindow, QStringLiteral("spin"), 1, st, up);
        Canvas->DrawThemeBackground(ThemeWindow, QStringLiteral("spin"), 2, st, down);
        return;
    }
    down.Top = mid + 1;
    if (Look == 1 || Look == 2) {
        const uint32_t f = FrameStateFlags(Look, State);
        Canvas->DrawFrameControl(up, DFC_SCROLL, DFCS_SCROLLUP | f);
        Canvas->DrawFrameControl(down, DFC_SCROLL, DFCS_SCROLLDOWN | f);
        return;
    }
    SetPenAndBrush(Canvas, ToneOf(Tones, State).BrushColor);
    Canvas->Rectangle(up);
    Canvas->Rectangle(down);
    SetPenAndBrush(Canvas, clBlack);
    Canvas->Polygon({{up.Left + 5, up.Top + 5}, {up.Left + 9, up.Top + 5}, {up.Left + 7, up.Top + 3}});
    Canvas->Polygon({{down.Left + 5, down.Top + 1}, {down.Left + 9, down.Top + 1}, {down.Left + 7, down.Top + 3}});
}

void DrawDownTriangle(TCanvas* Canvas, int X, int Y, TColor Color)
{
    SetPenAndBrush(Canvas, Color);
    Canvas->Polygon({{X - 3, Y}, {X + 3, Y}, {X, Y + 3}});
}

void DrawErrorUnderline(QWidget* Owner, TCanvas* Canvas, const QString& Text, TRect R, int YOffset, int Start,
                        int Length)
{
    if (Text.isEmpty() || Length <= 0) return;
    const QFontMetrics fm(Owner ? Owner->font() : Canvas->Font()->ToQFont());
    // x of the character at index i; beyond the text, 4 pixels past its last character.
    auto xOf = [&](int i) {
        if (i < Text.size()) return fm.horizontalAdvance(Text.left(std::max(i, 0)));
        return fm.horizontalAdvance(Text.left(Text.size() - 1)) + 4;
    };
    const int x1 = xOf(Start);
    const int x2 = xOf(Start + Length - 1);
    const int y = 0;
    Canvas->Pen()->SetColor(clRed);
    Canvas->Pen()->SetWidth(2);
    std::vector<TPoint> pts;
    int x = R.Left + x1;
    bool low = true;
    pts.push_back({x, R.Top + y + YOffset + 3});
    while (x < R.Left + x2 + 3) {
        x += 3;
        low = !low;
        pts.push_back({x, R.Top + y + YOffset + (low ? 3 : 0)});
    }
    low = !low;
    pts.push_back({x + 3, R.Top + y + YOffset + (low ? 3 : 0)});
    Canvas->Polyline(pts);
    Canvas->Pen()->SetWidth(1);
}

void DrawTransparentBitmap(TCanvas* Canvas, TBitmap& Bitmap, TColor BackColor, TRect R)
{
    if (Bitmap.Empty()) return;
    QImage img = Bitmap.Image().convertToFormat(QImage::Format_RGB32);
    const QRgb key = img.pixel(0, 0);
    const QRgb back = ColorToQColor(BackColor).rgb();
    for (int y = 0; y < img.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            if (line[x] == key) line[x] = back;
    }
    TBitmap copy;
    copy.LoadFromImage(img);
    Canvas->Draw(R.Left, R.Top, copy);
}

void DrawResourceBitmapTransparent(TCanvas* Canvas, TColor BackColor, TRect R, const QString& ResName)
{
    TBitmap bmp;
    LoadResourceBitmap(bmp, ResName);
    DrawTransparentBitmap(Canvas, bmp, BackColor, R);
}

void StretchBitmapDIB(TCanvas* Canvas, TRect R, TBitmap& Bitmap)
{
    if (Bitmap.Empty()) return;
    TBitmap copy;  // the plain bits, whatever transparency the bitmap has
    copy.LoadFromImage(Bitmap.Image());
    Canvas->StretchDraw(R, copy);
}

void DrawSystemIcon(TCanvas* Canvas, int X, int Y, const QString& PathOrIndex, bool Large, bool Draw, bool Stretch,
                    double Scale, QSize& Size)
{
    bool isIndex = false;
    const int index = PathOrIndex.trimmed().toInt(&isIndex);
    QIcon icon;
    if (isIndex) {
        if (QApplication::instance())
            icon = QApplication::style()->standardIcon(QStyle::StandardPixmap(std::clamp(index, 0, int(QStyle::SP_LineEditClearButton))));
    } else {
        QFileIconProvider provider;
        const QFileInfo info(PathOrIndex);
        icon = info.exists() ? provider.icon(info)
                             : provider.icon(PathOrIndex.endsWith(QLatin1Char('/')) || PathOrIndex.endsWith(QLatin1Char('\\'))
                                                 ? QFileIconProvider::Folder
                                                 : QFileIconProvider::File);
    }
    const int side = Large ? 32 : 16;
    Size = QSize(side, side);
    if (!Draw || icon.isNull()) return;
    TBitmap bmp;
    QImage img(side, side, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    {
        QPainter p(&img);
        icon.paint(&p, QRect(0, 0, side, side));
    }
    bmp.LoadFromImage(img);
    if (!Stretch) Canvas->Draw(X, Y, bmp);
    else StretchBitmapDIB(Canvas, {X, Y, X + int(Round(side * Scale)), Y + int(Round(side * Scale))}, bmp);
}

bool IsDirectory(const QString& Path)
{
    const QFileInfo info(Path);
    return info.exists() && info.isDir();
}

bool DynSetLayeredWindowAttributes(QWidget* Wnd, TColor ColorKey, uint8_t Alpha, uint32_t Flags)
{
    (void)ColorKey;
    if (Wnd && (Flags & LWA_ALPHA)) Wnd->setWindowOpacity(Alpha / 255.0);
    return true;
}

bool DynUpdateLayeredWindow(QWidget* Wnd, const TPoint* Dest, const QSize* Size, TBitmap* Source,
                            const TPoint* SourcePos, TColor ColorKey, uint8_t Alpha, uint32_t Flags)
{
    (void)Source;
    (void)SourcePos;
    (void)ColorKey;
    if (!Wnd) return true;
    if (Dest) Wnd->move(Dest->X, Dest->Y);
    if (Size) Wnd->resize(*Size);
    if (Flags & ULW_ALPHA) Wnd->setWindowOpacity(Alpha / 255.0);
    return true;
}
