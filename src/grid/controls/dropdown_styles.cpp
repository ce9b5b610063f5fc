#include "grid/controls/dropdown_styles.h"

#include "grid/base/drawing_routines.h"
#include "grid/base/html_layout.h"
#include "platform/ui/graphics.h"
#include "platform/ui/image_list.h"

#include <QLocale>
#include <algorithm>
#include <cmath>

namespace {
// One row of the style tables; SetsBorder is false where the style leaves the form's border
// colour as it was.
struct TStyleRow {
    TProStyle Style;
    TColor DropDownColor, DropDownColorTo;
    bool SetsBorder;
    TColor DropDownBorderColor;
    TDropDownBarColors Header, Footer;
    TDropDownButtonColors Button;
};

// Hot, down, disabled and checked colours shared by most styles.
constexpr TColor HotFrom = 0xEBFDFF, HotTo = 0xACECFF, HotBorder = 0x99CEDB, DownFrom = 0xAAD9FF, DownTo = 0x6EBBFF,
                 DownBorder = 0x42AEFE, DisabledFrom = 0xF2F2F2, DisabledTo = 0xB6B6B6, CheckedFrom = 0x76AFF1,
                 CheckedTo = 0x4190F3, CheckedBorder = 0x45667B;

constexpr TDropDownButtonColors OfficeButton(TColor Color, TColor ColorTo)
{
    return {Color,    ColorTo,      clNone,       HotFrom,     HotTo,     HotBorder,    DownFrom,
            DownTo,   DownBorder,   DisabledFrom, DisabledTo,  CheckedFrom, CheckedTo, CheckedBorder};
}
constexpr TDropDownButtonColors Office2010Button(TColor Color, TColor ColorTo, TColor BorderColor)
{
    return {Color,    ColorTo,  BorderColor, 0x8AE3FD, clNone,   0x58CAF1, 0x6CD0FF,
            clNone,   0x308AC2, 0xF2F2F2,    0xB6B6B6, 0x45E1FE, clNone,   0x4FA0CE};
}
constexpr TDropDownBarColors Bar(TColor Color, TColor ColorTo, TColor FontColor, TColor BorderColor)
{
    return {Color, ColorTo, FontColor, BorderColor};
}

const TStyleRow Style_Rows[] = {
    {tsOffice2003Blue, 0xFFFFFF, clNone, false, clNone, Bar(0xFCE1CB, 0xE0A57D, 0x000000, 0x000000),
     Bar(0xFCE1CB, 0xE0A57D, 0x000000, 0x962D00), OfficeButton(0xFCE1CB, 0xE0A57D)},
    {tsOffice2003Silver, 0xFFFFFF, clNone, false, clNone, Bar(0xECE2E1, 0xB39698, 0x000000, 0x947C7C),
     Bar(0xECE2E1, 0xB39698, 0x000000, 0x947C7C), OfficeButton(0xECE2E1, 0xB39698)},
    {tsOffice2003Olive, 0xFFFFFF, clNone, true, clNone, Bar(0xCFF0EA, 0x8CC0B1, 0x000000, 0x588060),
     Bar(0xCFF0EA, 0x8CC0B1, 0x000000, 0x588060), OfficeButton(0xCFF0EA, 0x8CC0B1)},
    {tsOffice2003Classic, 0xF2F2F2, 0xF2F2F2, true, clNone, Bar(0x808080, 0x808080, 0xFFFFFF, 0x808080),
     Bar(0x808080, 0x808080, 0xFFFFFF, 0x808080),
     {0xFFFFFF, 0xC9D1D5, clNone, 0xD2BDB6, 0xD2BDB6, 0x808080, 0xB59285, 0xB59285, 0x808080, 0xD8D5D4, 0xD8D5D4,
      0xD8D5D4, 0xD8D5D4, 0x808080}},
    {tsOffice2007Luna, 0xF3E5DA, 0xF0DED0, true, clNone, Bar(0xFFEFE3, 0xFFD2AF, 0x723708, 0xFFD2AF),
     Bar(0xFFEFE3, 0xFFD2AF, 0x723708, 0xFFD2AF), OfficeButton(0xFFEFE3, 0xFFDDC4)},
    {tsOffice2007Obsidian, 0xFFFFFF, clNone, true, clNone, Bar(0xF2F1F0, 0xC9C2BD, 0x433C37, 0x5C534C),
     Bar(0xF2F1F0, 0xC9C2BD, 0x433C37, 0x5C534C), OfficeButton(0xF2F1F0, 0xC9C2BD)},
    {tsWindowsXP, 0xFFFFFF, clNone, false, clNone, Bar(0xFFFFFF, clBtnFace, 0x000000, 0x808080),
     Bar(0xFFFFFF, clBtnFace, 0x000000, 0x808080),
     {0xFFFFFF, clBtnFace, clNone, 0xEFD3C6, 0xEFD3C6, clHighlight, clInactiveCaption, clInactiveCaption,
      clHighlight, 0xB6B6B6, 0xB6B6B6, 0xB9D8DC, 0xB9D8DC, 0x000000}},
    {tsWhidbey, 0xF5F9FA, 0xF5F9FA, true, clNone, Bar(0xEBEEEF, 0x7E9898, 0xFFFFFF, 0x962D00),
     Bar(0xEBEEEF, 0x7E9898, 0xFFFFFF, 0x962D00), OfficeButton(0xFFFFFF, 0xDFEDF0)},
    {tsOffice2007Silver, 0xF8F4F1, 0xF0E8E3, true, clNone, Bar(0xF8F7F6, 0xE8E0DB, 0x8B4215, 0x74706F),
     Bar(0xF8F7F6, 0xE8E0DB, 0x8B4215, 0x74706F), OfficeButton(0xF9F8F8, 0xE4E2DF)},
    // the checked border is the down border of the same look
    {tsWindowsVista, 0xFFFFFF, 0xFFFFFF, true, 0x979797, Bar(0xFFFDF9, 0xFFFAF0, 0x000000, 0xFCF2DA),
     Bar(0xFFFAF0, 0xFFFDF9, 0x000000, 0xFCF2DA),
     {0xFFFDF9, 0xFFFAF0, 0xFCF2DA, 0xFEF9F0, 0xFFFAF0, 0xFCF2DA, 0xFEF9F0, 0xFDF0D7, 0xFEDF9A, 0xFFFFFF, 0xFFFFFF,
      0xFEF9F0, 0xFDF0D7, 0xFEDF9A}},
    {tsWindows7, 0xFFFFFF, 0xFFFFFF, true, 0x979797, Bar(0xFDFBFA, 0xFDF3EB, 0x000000, 0xFBD6B8),
     Bar(0xFDFBFA, 0xFDF3EB, 0x000000, 0xFBD6B8),
     {0xFDFBFA, 0xFDF3EB, 0xFBD6B8, 0xFDFBFA, 0xFDF3EB, 0xFBD6B8, 0xFCEBDC, 0xFCDBC1, 0xCEA27D, 0xFFFFFF, 0xFFFFFF,
      0xFEF9F0, 0xFCDBC1, 0xCEA27D}},
    {tsTerminal, 0xFFFFFF, 0xFFFFFF, true, 0x808080, Bar(clBtnFace, clBtnFace, 0x000000, clNone),
     Bar(clBtnFace, clBtnFace, 0x000000, clNone),
     {clBtnFace, clBtnFace, clNone, 0xC0C0C0, 0xC0C0C0, 0x808080, clHighlight, clHighlight, 0x808080, clBtnFace,
      clBtnFace, clBtnFace, clBtnFace, clHighlight}},
    {tsOffice2010Blue, 0xFFFFFF, 0xF1EFED, true, 0xEDEDEC, Bar(0xFDF6EF, 0xF0DAC7, 0x5B391E, 0xC7B29F),
     Bar(0xFDF6EF, 0xF0DAC7, 0x5B391E, 0xC7B29F), Office2010Button(0xFDF6EF, 0xF0DAC7, 0xC7B29F)},
    {tsOffice2010Silver, 0xFFFFFF, 0xF1EFED, true, 0xEDEDEC, Bar(0xFFFFFF, 0xEDE5E0, 0x5B391E, 0xD2CDC8),
     Bar(0xFFFFFF, 0xEDE5E0, 0x5B391E, 0xD2CDC8), Office2010Button(0xFFFFFF, 0xEDE5E0, 0xD2CDC8)},
    {tsOffice2010Black, 0xFFFFFF, 0xF1EFED, true, 0xEDEDEC, Bar(0xBFBFBF, 0x919191, 0xD7D7D6, 0x6D6D6D),
     Bar(0xBFBFBF, 0x919191, 0xD7D7D6, 0x6D6D6D), Office2010Button(0xBFBFBF, 0x919191, 0xD7D7D6)},
};

int Channel(TColor c, int shift) { return int((c >> shift) & 0xFF); }
TColor FromChannels(int r, int g, int b) { return TColor(r | (g << 8) | (b << 16)); }
// The nearest integer, ties to even.
int Nearest(double v) { return int(std::nearbyint(v)); }

void SetPenAndBrush(TCanvas* Canvas, TColor c)
{
    Canvas->Pen()->SetColor(c);
    Canvas->Brush()->SetColor(c);
    Canvas->Brush()->SetStyle(bsSolid);
}
}  // namespace

void TDropDownStyle::SetComponentStyle(TProStyle AStyle)
{
    FProStyle = AStyle;
    const auto row = std::find_if(std::begin(Style_Rows), std::end(Style_Rows),
                                  [AStyle](const TStyleRow& r) { return r.Style == AStyle; });
    if (row == std::end(Style_Rows)) return;   // tsCustom
    Colors.DropDownColor = row->DropDownColor;
    Colors.DropDownColorTo = row->DropDownColorTo;
    if (row->SetsBorder) Colors.DropDownBorderColor = row->DropDownBorderColor;
    Colors.Header = row->Header;
    Colors.Footer = row->Footer;
    Colors.ButtonAppearance = row->Button;
}

bool TDropDownStyle::SetColorTones(const TColorTones& ATones)
{
    Colors.ButtonColor = ATones.Background.BrushColor;
    Colors.ButtonColorHot = ATones.Hover.BrushColor;
    Colors.ButtonColorDown = ATones.Selected.BrushColor;
    Colors.ButtonBorderColor = ATones.Background.BorderColor;
    const bool changed = Colors.BorderColor != ATones.Background.BorderColor;
    Colors.BorderColor = ATones.Background.BorderColor;
    return changed;
}

void TSelectionLook::SetSelectionColorStyle(TSelectionColorStyle Style)
{
    FStyle = Style;
    switch (Style) {
    case scOffice2007: SelectionColor = 0xD7FFFD; SelectionColorTo = 0x58D4FC; break;
    case scWindowsVista: SelectionColor = 0xFDF8F1; SelectionColorTo = 0xFCEFD5; break;
    case scWindows7: SelectionColor = 0xFCEBDC; SelectionColorTo = 0xFCDBC1; break;
    case scCustom: break;
    }
}

void TSelectionLook::DrawSelection(TCanvas* Canvas, const TRect& Rect, TColor BackColor, int Part) const
{
    struct TBox { TColor Mirror, MirrorTo, InnerTop, InnerBottom, Border, Corner; };
    TBox box;
    switch (FStyle) {
    case scCustom:
        SetPenAndBrush(Canvas, SelectionColor);
        Canvas->Rectangle(Rect);
        return;
    case scOffice2007: box = {0x58D4FC, 0xB3F1FC, 0xF4FEFF, 0xCAF8FF, 0x8DD7D3, 0xC3D9DF}; break;
    case scWindowsVista: box = {clNone, clNone, 0xFDFBF6, 0xFDF5E7, 0xFDDE99, 0xFCEDCB}; break;
    case scWindows7: box = {clNone, clNone, 0xFDF4EB, 0xFDEADB, 0xCEA27D, 0xE0C5AE}; break;
    default: return;
    }
    DrawSelectionGradient(Canvas, SelectionColor, SelectionColorTo, box.Mirror, box.MirrorTo, box.InnerTop,
                          box.InnerBottom, box.Border, box.Corner, BackColor, Rect, Part);
}

void DrawGradient(TCanvas* Canvas, TColor FromColor, TColor ToColor, int Steps, const TRect& Rect, bool Horizontal)
{
    if (Steps == 0) Steps = 1;
    const int usable = Horizontal ? Rect.Right - 1 - Rect.Left : Rect.Bottom - 1 - Rect.Top;
    const TColor from = ColorToRGB(FromColor), to = ColorToRGB(ToColor);
    const double d = double(usable) / Steps;
    for (int i = 0; i < Steps; ++i) {
        auto mix = [&](int shift) {
            return Channel(from, shift) + Nearest(double(i) * (Channel(to, shift) - Channel(from, shift)) / Steps);
        };
        SetPenAndBrush(Canvas, FromChannels(mix(0), mix(8), mix(16)));
        TRect band = Rect;
        if (Horizontal) {
            band.Left = Rect.Left + Nearest(i * d);
            band.Right = band.Left + Nearest(d) + 1;
        } else {
            band.Top = Rect.Top + Nearest(i * d);
            band.Bottom = band.Top + Nearest(d) + 1;
        }
        Canvas->Rectangle(band);
    }
}

void DrawItemGradient(TCanvas* Canvas, TColor FromColor, TColor ToColor, int Steps, const TRect& Rect, bool Vertical)
{
    DrawGradient(Canvas, FromColor, ToColor, Steps, Rect, !Vertical);
}

TColor BlendColorPercent(TColor Color, TColor ColorTo, int Percent)
{
    if (Percent >= 100) return Color;
    if (Percent <= 0) return ColorTo;
    const double p = Percent / 100.0;
    const TColor a = ColorToRGB(Color), b = ColorToRGB(ColorTo);
    auto mix = [&](int shift) { return Nearest(p * Channel(a, shift) + (1 - p) * Channel(b, shift)); };
    return FromChannels(mix(0), mix(8), mix(16));
}

TColor ScaleColorChannels(TColor Color, int DeltaR, int DeltaG, int DeltaB)
{
    const TColor c = ColorToRGB(Color);
    auto scale = [](int channel, int delta) {
        // a channel holds at most 255: a larger delta would spill into the next channel
        if (channel == 0) return std::clamp(delta, 0, 255);
        return Nearest(std::min(100, 100 + delta) / 100.0 * channel);
    };
    return FromChannels(scale(Channel(c, 0), DeltaR), scale(Channel(c, 8), DeltaG), scale(Channel(c, 16), DeltaB));
}

void DrawBackgroundRect(TCanvas* Canvas, const TRect& Rect, TColor Color, TColor ColorTo, TColor BorderColor,
                        int BorderWidth, bool Vertical)
{
    if (!Canvas) return;
    if (ColorTo != clNone) {
        DrawGradient(Canvas, Color, ColorTo, 80, Rect, !Vertical);
    } else if (Color != clNone) {
        SetPenAndBrush(Canvas, Color);
        Canvas->FillRect(Rect);
    }
    if (BorderColor != clNone && BorderWidth > 0) {
        Canvas->Pen()->SetColor(BorderColor);
        Canvas->Pen()->SetWidth(BorderWidth);
        Canvas->Brush()->SetStyle(bsClear);
        Canvas->Rectangle(Rect);
        Canvas->Pen()->SetWidth(1);
    }
}

void DrawImageAndText(TCanvas* Canvas, const TRect& Rect, const QString& Text, const TCustomImageList* Images,
                      int ImageIndex)
{
    TRect text = Rect;
    uint32_t format = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS;
    if (Images && ImageIndex >= 0) {
        Images->Draw(Canvas, Rect.Left + 4, Rect.Top + (Rect.Height() - Images->Height()) / 2, ImageIndex);
        text.Left = Rect.Left + Images->Width() + 8;
    } else {
        format |= DT_CENTER;
    }
    Canvas->Brush()->SetStyle(bsClear);
    Canvas->DrawText(Text, text, format);
}

void DrawTransparentGlyph(TCanvas* Canvas, TBitmap& Bitmap, TColor BackColor, const TRect& Rect)
{
    if (Bitmap.Empty()) return;
    TBitmap part(std::max(Rect.Width(), 0), std::max(Rect.Height(), 0));
    part.Canvas()->Brush()->SetColor(BackColor);
    part.Canvas()->FillRect({0, 0, part.Width(), part.Height()});
    DrawTransparentBitmap(part.Canvas(), Bitmap, BackColor, {0, 0, part.Width(), part.Height()});
    Canvas->Draw(Rect.Left, Rect.Top, part);
}

QSize MeasureText(TCanvas* Canvas, const QString& Text)
{
    if (Text.isEmpty()) return {0, 0};
    TRect r{0, 0, 1000, 500};
    Canvas->DrawText(Text, r, DT_CALCRECT | DT_SINGLELINE);
    return {r.Width(), r.Height()};
}

QString FitTextToWidth(TCanvas* Canvas, const QString& Text, int Width, bool Ellipsis)
{
    if (MeasureText(Canvas, Text).width() <= Width) return Text;
    for (qsizetype n = Text.size() - 1; n > 0; --n) {
        const QString tried = Text.left(n) + (Ellipsis ? QStringLiteral("...") : QString());
        if (MeasureText(Canvas, tried).width() < Width) return tried;
    }
    return Text;
}

QSize DrawHtmlCaption(TCanvas* Canvas, const QString& Text, const TRect& Rect, TCustomImageList* Images, bool Draw)
{
    if (Text.isEmpty()) return {0, 0};
    THtmlRenderArgs args;
    args.ImageList = Images;
    args.MeasureOnly = !Draw;
    RenderHtmlCell(Canvas, Text, Rect, args);
    return {args.MeasuredWidth, args.MeasuredHeight};
}

QString CaseFoldText(const QString& Text, bool CaseSensitive) { return CaseSensitive ? Text : QLocale().toUpper(Text); }
