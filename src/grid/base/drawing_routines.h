#pragma once
// Free drawing routines shared by cell painting, in-cell graphics, the selection look,
// printing and the drop-down controls.  Each draws on the canvas it is given and leaves the
// pen, brush and font as it set them; callers restore what they need.  Colours are $00BBGGRR;
// system colours are resolved where a routine computes with channels.
#include "grid/base/base_grid.h"
#include "grid/base/theme.h"
#include "platform/ui/canvas.h"

#include <QSize>
#include <QString>

class QWidget;

enum TCellShape {
    csRectangle, csCircle, csTriangleLeft, csTriangleRight, csTriangleUp, csTriangleDown, csDiamond, csLineVert,
    csLineHorz, csRoundRect, csEllips, csSquare, csRoundSquare, csStar, csArrowUp, csArrowDown, csArrowLeft,
    csArrowRight, csHalfStar
};

// What the caller takes from the grid's progress appearance for DrawGradientProgress.
struct ProgressDrawInfo {
    TColor Level0Color = clNone, Level0ColorTo = clNone;
    TColor Level1Color = clNone, Level1ColorTo = clNone;
    TColor Level2Color = clNone, Level2ColorTo = clNone;
    TColor Level3Color = clNone, Level3ColorTo = clNone;
    int Level1Perc = 0;
    int Level2Perc = 0;
    TColor BorderColor = clNone;
    bool ShowBorder = false;
    bool Stacked = false;
    bool ShowPercentage = false;
    TFont* Font = nullptr;  // not owned
    TColor CompleteFontColor = clNone;
    bool CompletionSmooth = false;
    bool ShowGradient = false;
    int Steps = 0;
    TColor BackgroundColor = clNone;
    bool Vertical = false;
};

// Button looks and states of DrawComboButton, DrawThemedButton and DrawSpinButtons.
enum TButtonLook { blThemed = 0, blClassic = 1, blFlat = 2, blTones = 3 };
enum TButtonState { bsNormalState = 0, bsHotState = 1, bsDownState = 2, bsDisabledState = 3 };

// The colours of one selection box, in the argument order of DrawSelectionGradient.
struct TSelectionColors {
    TColor ColorFrom, ColorTo, MirrorColor, MirrorColorTo, InnerTopColor, InnerBottomColor, BorderColor,
        CornerColor;
};
// The box colours of a selection style; an unfocused grid has one set for all styles.
// ssDefault draws no box and answers the unfocused set.
const TSelectionColors& SelectionStyleColors(TGridSelectionStyle Style, bool Focused);

void GradientFillRect(TCanvas* Canvas, TColor Color, TColor ColorTo, int Steps, TRect R, bool Horizontal);
// Direction 0: left to right (halves left and right), 1: top to bottom (halves top and bottom).
void DrawGradientBackground(TCanvas* Canvas, TRect R, TColor Color, TColor ColorTo, TColor MirrorColor,
                            TColor MirrorColorTo, int Direction, TColor BorderColor, bool SidesOnly, bool Fill);
// Part 0: the whole selection in one cell, 1 its left end, 2 its right end, 3 a middle cell.
void DrawSelectionGradient(TCanvas* Canvas, TColor ColorFrom, TColor ColorTo, TColor MirrorColor,
                           TColor MirrorColorTo, TColor InnerTopColor, TColor InnerBottomColor, TColor BorderColor,
                           TColor CornerColor, TColor BackColor, TRect R, int Part);
void DrawSelectionGradient(TCanvas* Canvas, const TSelectionColors& Colors, TColor BackColor, TRect R, int Part);
void FillRectColor(TCanvas* Canvas, const TRect& R, TColor Color);

TColor BlendColorAt(TColor Color, TColor ColorTo, int Min, int Max, int Pos);
TColor BrightenColor(TColor Color, int Percent);
TColor DarkenColorHalf(TColor Color);
QString ColorToHex(TColor Color);

void DrawValueBar(TCanvas* Canvas, TRect R, int Value, int MaxValue, bool ShowText, TColor NegColor, TColor PosColor);
void DrawClassicProgress(TCanvas* Canvas, TRect R, TColor Color, TColor TextColor, TColor ColorTo, TColor TextColorTo,
                         double Position, int MarginX, int MarginY, int Min, int Max, const QString& Format,
                         TColor BorderColor, bool Printing);
void DrawGradientProgress(TCanvas* Canvas, TRect R, int Percent, const ProgressDrawInfo& Info);
void DrawProgressPie(TCanvas* Canvas, TRect R, TColor Color, int Percent, bool Printing);
void DrawShape(TCanvas* Canvas, int X, int Y, int Width, int Height, TCellShape Shape, TColor BrushColor,
               TColor PenColor);

// ThemeWindow: the window whose style draws the themed look (null: the application's).
void DrawComboButton(TCanvas* Canvas, QWidget* ThemeWindow, TRect R, int Look, int State, TColorTones Tones);
void DrawThemedButton(TCanvas* Canvas, QWidget* ThemeWindow, TRect R, int Look, int State, TColorTones Tones);
void DrawSpinButtons(TCanvas* Canvas, QWidget* ThemeWindow, TRect R, int Look, int State, TColorTones Tones);
void DrawDownTriangle(TCanvas* Canvas, int X, int Y, TColor Color);
// Red zig-zag under the characters Start .. Start + Length - 1 (0-based) of a single-line
// Text laid out in Owner's font from R's top-left.
void DrawErrorUnderline(QWidget* Owner, TCanvas* Canvas, const QString& Text, TRect R, int YOffset, int Start,
                        int Length);

void DrawTransparentBitmap(TCanvas* Canvas, TBitmap& Bitmap, TColor BackColor, TRect R);
// Raises EResNotFound when the program carries no bitmap of that name.
void DrawResourceBitmapTransparent(TCanvas* Canvas, TColor BackColor, TRect R, const QString& ResName);
void StretchBitmapDIB(TCanvas* Canvas, TRect R, TBitmap& Bitmap);
// PathOrIndex: a file or folder path, or the number of one of the desktop's standard icons.
void DrawSystemIcon(TCanvas* Canvas, int X, int Y, const QString& PathOrIndex, bool Large, bool Draw, bool Stretch,
                    double Scale, QSize& Size);
bool IsDirectory(const QString& Path);

// Layered windows: the stand-in sets the window's opacity and position; True on success.
constexpr uint32_t LWA_COLORKEY = 0x1, LWA_ALPHA = 0x2, ULW_COLORKEY = 0x1, ULW_ALPHA = 0x2, ULW_OPAQUE = 0x4;
bool DynSetLayeredWindowAttributes(QWidget* Wnd, TColor ColorKey, uint8_t Alpha, uint32_t Flags);
bool DynUpdateLayeredWindow(QWidget* Wnd, const TPoint* Dest, const QSize* Size, TBitmap* Source,
                            const TPoint* SourcePos, TColor ColorKey, uint8_t Alpha, uint32_t Flags);
