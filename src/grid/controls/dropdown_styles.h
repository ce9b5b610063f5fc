#pragma once
// Preset colour styles of the drop-down controls and the small drawing routines the drop-down
// family shares.  A style colours the pop-up form, its header and footer and their push
// buttons in one step; colour tones recolour the drop-down button and the edit border; a
// selection colour style gives list-like drop-downs the look of their selected item.
// Colours are $00BBGGRR; clNone means no colour.
#include "grid/base/theme.h"
#include "platform/ui/canvas.h"

#include <QSize>
#include <QString>

class TBitmap;
class TCustomImageList;

// Streamed as an integer: a value beyond the four may arrive and is kept (it draws nothing).
enum TSelectionColorStyle : int { scCustom, scOffice2007, scWindowsVista, scWindows7 };
enum TGradientDirection { gdHorizontal, gdVertical };

// The colours of a header or footer bar.
struct TDropDownBarColors {
    TColor Color = clNone;
    TColor ColorTo = clNone;
    TColor FontColor = clNone;
    TColor BorderColor = clNone;
    friend bool operator==(const TDropDownBarColors&, const TDropDownBarColors&) = default;
};

// The colours of the header's and footer's push buttons that a style sets
// (BorderColorDisabled is not one of them).
struct TDropDownButtonColors {
    TColor Color = clNone, ColorTo = clNone, BorderColor = clNone;
    TColor ColorHot = clNone, ColorHotTo = clNone, BorderColorHot = clNone;
    TColor ColorDown = clNone, ColorDownTo = clNone, BorderColorDown = clNone;
    TColor ColorDisabled = clNone, ColorDisabledTo = clNone;
    TColor ColorChecked = clNone, ColorCheckedTo = clNone, BorderColorChecked = clNone;
    friend bool operator==(const TDropDownButtonColors&, const TDropDownButtonColors&) = default;
};

// What the component style and the colour tones of a drop-down control colour.
struct TDropDownColors {
    TColor DropDownColor = clWhite;
    TColor DropDownColorTo = clNone;
    TColor DropDownBorderColor = clBlack;
    TDropDownBarColors Header, Footer;
    TDropDownButtonColors ButtonAppearance;
    // the drop-down button and the edit border (colour tones)
    TColor ButtonColor = clNone, ButtonColorHot = clNone, ButtonColorDown = clNone, ButtonBorderColor = clNone;
    TColor BorderColor = clNone;
    friend bool operator==(const TDropDownColors&, const TDropDownColors&) = default;
};

// The component style of a drop-down: the last style applied and the colours it set.
class TDropDownStyle {
public:
    // A new drop-down carries tsOffice2007Luna.
    TDropDownStyle() { SetComponentStyle(tsOffice2007Luna); }
    TProStyle ComponentStyle() const { return FProStyle; }
    // Records AStyle and, for every style but tsCustom, sets the form, header, footer and
    // header and footer button colours of its table row.
    void SetComponentStyle(TProStyle AStyle);
    // The drop-down button takes the background, hover and selected brush colours and the
    // background border colour; the edit border the background border colour.  Answers
    // whether the edit border changed (the edit and its button then repaint).
    bool SetColorTones(const TColorTones& ATones);

    TDropDownColors Colors;

private:
    TProStyle FProStyle = tsOffice2007Luna;
};

// The look of the selected item of a list-like drop-down.
class TSelectionLook {
public:
    // A new drop-down carries scOffice2007.
    TSelectionLook() { SetSelectionColorStyle(scOffice2007); }
    TSelectionColorStyle Style() const { return FStyle; }
    // Records Style; the preset styles set SelectionColor and SelectionColorTo, scCustom
    // keeps them.
    void SetSelectionColorStyle(TSelectionColorStyle Style);
    // scCustom fills Rect with SelectionColor; the presets draw the rounded selection box in
    // their colours (Part as for DrawSelectionGradient); a style beyond them draws nothing.
    void DrawSelection(TCanvas* Canvas, const TRect& Rect, TColor BackColor, int Part) const;

    TColor SelectionColor = clNone;
    TColor SelectionColorTo = clNone;

private:
    TSelectionColorStyle FStyle = scCustom;
};

// Steps bands (0 counts as 1) from FromColor to ToColor, left to right when Horizontal, else
// top to bottom; neighbouring bands overlap by one pixel.
void DrawGradient(TCanvas* Canvas, TColor FromColor, TColor ToColor, int Steps, const TRect& Rect, bool Horizontal);
// DrawGradient with the direction given as Vertical.
void DrawItemGradient(TCanvas* Canvas, TColor FromColor, TColor ToColor, int Steps, const TRect& Rect, bool Vertical);
// Percent of Color and the rest of ColorTo, per channel; 100 or more gives Color, 0 or less
// ColorTo.
TColor BlendColorPercent(TColor Color, TColor ColorTo, int Percent);
// Each non-zero channel scaled by min(100, 100 + delta) percent; a zero channel becomes
// delta within 0 to 255.
TColor ScaleColorChannels(TColor Color, int DeltaR, int DeltaG, int DeltaB);
// A gradient (80 steps) or solid fill, then a frame when BorderColor is set and BorderWidth
// above 0.  Nothing without a canvas.
void DrawBackgroundRect(TCanvas* Canvas, const TRect& Rect, TColor Color, TColor ColorTo, TColor BorderColor,
                        int BorderWidth, bool Vertical);
// The image (when ImageIndex >= 0 and Images is set) 4 pixels in from the left, then the text
// on one line with an end ellipsis, centred horizontally only without an image.
void DrawImageAndText(TCanvas* Canvas, const TRect& Rect, const QString& Text, const TCustomImageList* Images,
                      int ImageIndex);
// The glyph at Rect with its top-left pixel's colour, its transparent colour, as BackColor;
// the part of Rect past the glyph is BackColor.
void DrawTransparentGlyph(TCanvas* Canvas, TBitmap& Bitmap, TColor BackColor, const TRect& Rect);
// Width and height of Text drawn on one line; 0 by 0 for an empty text.
QSize MeasureText(TCanvas* Canvas, const QString& Text);
// Text, or its longest beginning (with "..." when Ellipsis) narrower than Width when Text is
// wider; Text itself when no beginning fits.
QString FitTextToWidth(TCanvas* Canvas, const QString& Text, int Width, bool Ellipsis);
// Lays Text out as the grid's mini-HTML in Rect, draws it unless only measuring, and answers
// its size; 0 by 0 for an empty text.
QSize DrawHtmlCaption(TCanvas* Canvas, const QString& Text, const TRect& Rect, TCustomImageList* Images, bool Draw);
// Text itself when CaseSensitive, else its upper case in the program's locale.
QString CaseFoldText(const QString& Text, bool CaseSensitive);
