#pragma once
// Colours as 32-bit numbers: $00BBGGRR for plain colours, clNone ($1FFFFFFF) for "no
// colour", and $FF0000nn for the system colour with index nn, which ColorToRGB resolves
// when the colour is drawn.
#include <QColor>
#include <cstdint>

using TColor = int32_t;

constexpr TColor TColorSys(int index) { return static_cast<TColor>(0xFF000000u | static_cast<uint32_t>(index)); }

constexpr TColor clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000, clOlive = 0x008080,
                 clNavy = 0x800000, clPurple = 0x800080, clTeal = 0x808000, clGray = 0x808080,
                 clSilver = 0xC0C0C0, clRed = 0x0000FF, clLime = 0x00FF00, clYellow = 0x00FFFF,
                 clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00, clWhite = 0xFFFFFF,
                 clMoneyGreen = 0xC0DCC0, clSkyBlue = 0xF0CAA6, clCream = 0xF0FBFF, clMedGray = 0xA4A0A0,
                 clLtGray = 0xC0C0C0, clDkGray = 0x808080;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

constexpr TColor clScrollBar = TColorSys(0), clBackground = TColorSys(1), clActiveCaption = TColorSys(2),
                 clInactiveCaption = TColorSys(3), clMenu = TColorSys(4), clWindow = TColorSys(5),
                 clWindowFrame = TColorSys(6), clMenuText = TColorSys(7), clWindowText = TColorSys(8),
                 clCaptionText = TColorSys(9), clActiveBorder = TColorSys(10), clInactiveBorder = TColorSys(11),
                 clAppWorkSpace = TColorSys(12), clHighlight = TColorSys(13), clHighlightText = TColorSys(14),
                 clBtnFace = TColorSys(15), clBtnShadow = TColorSys(16), clGrayText = TColorSys(17),
                 clBtnText = TColorSys(18), clInactiveCaptionText = TColorSys(19), clBtnHighlight = TColorSys(20),
                 cl3DDkShadow = TColorSys(21), cl3DLight = TColorSys(22), clInfoText = TColorSys(23),
                 clInfoBk = TColorSys(24), clHotLight = TColorSys(26), clGradientActiveCaption = TColorSys(27),
                 clGradientInactiveCaption = TColorSys(28), clMenuHighlight = TColorSys(29), clMenuBar = TColorSys(30);

inline bool IsSystemColor(TColor c) { return (static_cast<uint32_t>(c) & 0xFF000000u) == 0xFF000000u; }

// The plain $00BBGGRR value of a colour, resolving system colours through the palette.
TColor ColorToRGB(TColor c);
// The colour as Qt sees it; clNone gives a transparent colour.
QColor ColorToQColor(TColor c);
TColor QColorToColor(const QColor& c);
inline TColor RGB(int r, int g, int b) { return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16); }
inline int GetRValue(TColor c) { return c & 0xFF; }
inline int GetGValue(TColor c) { return (c >> 8) & 0xFF; }
inline int GetBValue(TColor c) { return (c >> 16) & 0xFF; }
