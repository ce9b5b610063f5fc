// The twelve looks of the analog clock.
#include "grid/controls/pro_watch.h"

#include "platform/core/sysutils.h"

#include <algorithm>

namespace {

void Font(TFont* F, const char* Name, int Size = 0, bool Bold = false, TColor Color = clNone)
{
    F->SetName(QString::fromLatin1(Name));
    if (Size > 0) F->SetSize(Size);
    if (Bold) F->SetStyle(TFontStyles{fsBold});
    if (Color != clNone) F->SetColor(Color);
}

void Hands(TWatchAppearance& A, TColor C)
{
    A.SetHourPointer(C);
    A.SetMinutePointer(C);
}

} // namespace

void ApplyWatchStylePreset(TWatchAppearance& A, TWatchStyle Style, int W, int H, bool& Animation,
                           int& AnimationFactor, bool& ShowAMPM, bool& ShowNumbers)
{
    const int side = std::min(W, H);
    switch (Style) {
    case wsClassic:
        Font(A.AMPMFont(), "MS Sans Serif");
        Font(A.HourFont(), "Comic Sans MS", 10, true);
        A.SetHourMarkLength(8);
        A.SetHourPointerSize(5);
        A.SetMinuteMarkLength(4);
        Animation = true;
        AnimationFactor = 10;
        ShowAMPM = true;
        ShowNumbers = true;
        break;
    case wsTower:
        Font(A.AMPMFont(), "MS Sans Serif");
        A.SetBorderWidth(1);
        A.SetBackgroundColor(0xB1F0FE);
        A.SetBackgroundColorTo(0x5BCCE8);
        A.SetBackgroundGradient(wgDiagonalForward);
        A.SetCenterPointColor(0x002BD5);
        A.SetCenterPointSize(6);
        Font(A.HourFont(), "Century", 0, true);
        A.SetHourPointerSize(5);
        A.SetSecondPointer(0x002BD5);
        A.SetShape(wsRect);
        A.SetPointerStyle(psPointer);
        A.SetAMPMColorDirect(0xB1F0FE);
        A.SetTickMarks(tmHours);
        ShowNumbers = false;
        break;
    case wsFluorescent:
        Font(A.AMPMFont(), "MS Sans Serif");
        A.SetAMPMFrame(apRoundRect);
        A.SetBorderColor(0xFF3E3E);
        A.SetBackgroundColor(0x000000);
        A.SetBackgroundColorTo(0x000000);
        A.SetCenterPointColor(0xFF3E3E);
        A.SetCenterPointBorderColor(0x000000);
        A.SetCenterPointOuterBorderColor(0x000000);
        A.SetCenterPointSize(20);
        Font(A.HourFont(), "MS Sans Serif");
        A.SetHourColor(0xFF3E3E);
        Hands(A, 0xFF3E3E);
        A.SetMinuteColor(0xFF3E3E);
        A.SetHourMarkLength(10);
        A.SetHourMarkWidth(2);
        A.SetHourMarkStyle(hmsQuartDblLine);
        A.SetHourPointerSize(2);
        A.SetMinutePointerSize(2);
        A.SetShape(wsRoundRect);
        A.SetTickMarks(tmHours);
        ShowAMPM = false;
        ShowNumbers = false;
        break;
    case wsEmerald:
        Font(A.AMPMFont(), "MS Sans Serif", 0, false, 0xA00000);
        A.SetAMPMFrame(apRoundRect);
        A.SetBorderColor(0x3AE800);
        A.SetBackgroundColor(0x3AE800);
        A.SetBackgroundColorTo(0x000000);
        A.SetBackgroundGradient(wgDiagonalForward);
        A.SetCenterPointBorderColor(0x40FF00);
        A.SetCenterPointColor(0x38E100);
        A.SetCenterPointSize(16);
        A.SetCenterPointOuterBorderColor(0x000000);
        Font(A.HourFont(), "MS Sans Serif", 0, false, 0x3AE800);
        A.SetHourColor(0x3AE800);
        Hands(A, 0x40FF00);
        A.SetHourPointerSize(5);
        A.SetHourMarkStyle(hmsQuartDblLine);
        A.SetSecondPointer(0x00FFFF);
        A.SetShape(wsRect);
        A.SetPointerStyle(psPointer);
        A.SetAMPMColorDirect(clNone);
        A.SetTickMarks(tmHours);
        ShowNumbers = false;
        ShowAMPM = false;
        break;
    case wsBlueStar:
        Font(A.AMPMFont(), "MS Sans Serif", 0, false, 0xA00000);
        A.SetAMPMBorderColorDirect(clNone);
        A.SetAMPMColorDirect(clNone);
        A.SetAMPMFrame(apRoundRect);
        A.SetBorderColor(0xFFD5D5);
        A.SetBackgroundColor(0xFFD5D5);
        A.SetBackgroundColorTo(0xA00000);
        A.SetBackgroundGradient(wgRadial);
        Font(A.HourFont(), "MS Sans Serif", 0, false, 0xFFD5D5);
        Hands(A, 0xA00000);
        A.SetHourPointerSize(5);
        A.SetShape(wsRoundRect);
        A.SetPointerStyle(psPointer);
        ShowAMPM = true;
        ShowNumbers = true;
        break;
    case wsFuchsia:
        Font(A.AMPMFont(), "MS Sans Serif");
        A.SetAMPMFrame(apRoundRect);
        A.SetBorderColor(0xFFD0FF);
        A.SetBackgroundColor(0x000000);
        A.SetBackgroundColorTo(0x000000);
        A.SetCenterPointBorderColor(0xDD68DD);
        A.SetCenterPointOuterBorderColor(0x000000);
        A.SetCenterPointSize(20);
        Font(A.HourFont(), "MS Sans Serif");
        A.SetHourColor(0xFFD0FF);
        Hands(A, 0xFFD0FF);
        A.SetMinuteColor(0xFFD0FF);
        A.SetHourMarkLength(10);
        A.SetHourMarkWidth(2);
        A.SetHourMarkStyle(hmsQuartDblLine);
        A.SetHourPointerSize(2);
        A.SetMinutePointerSize(2);
        A.SetSecondPointer(0xDD68DD);
        A.SetShape(wsRect);
        A.SetTickMarks(tmQuartHours);
        ShowAMPM = false;
        ShowNumbers = false;
        break;
    case wsBlack:
        Font(A.AMPMFont(), "MS Sans Serif");
        A.SetBackgroundColor(0x202020);
        A.SetCenterPointBorderColor(0xFFFFFF);
        A.SetCenterPointOuterBorderColor(0xFFFFFF);
        A.SetCenterPointColor(0xFFFFFF);
        A.SetHourColor(0x585858);
        A.SetMinuteColor(0x585858);
        Font(A.HourFont(), "Century Gothic", 11, false, 0xFFFFFF);
        Hands(A, 0xFFFFFF);
        A.SetHourPointerSize(5);
        A.SetMinuteMarkLength(4);
        ShowAMPM = false;
        ShowNumbers = true;
        break;
    case wsBlackWhite:
        A.SetBorderWidth(8);
        A.SetCenterPointBorderColor(0x000000);
        A.SetCenterPointOuterBorderColor(0x000000);
        A.SetCenterPointSize(8);
        A.SetHourColor(0x585858);
        Font(A.HourFont(), "Century Gothic", 14, true, 0x000000);
        A.SetHourPointerSize(5);
        A.SetMinuteMarkLength(4);
        A.SetSecondPointer(0x000080);
        A.SetPointerStyle(psPointer);
        A.SetTickMarks(tmQuartHours);
        ShowAMPM = false;
        ShowNumbers = true;
        break;
    case wsGray:
        Font(A.AMPMFont(), "MS Sans Serif");
        A.SetBackgroundColor(0xD1D1D1);
        A.SetBackgroundColorTo(0x6C6C6C);
        A.SetBackgroundGradient(wgRadial);
        A.SetBorderColor(0x454545);
        A.SetCenterPointBorderColor(0x454545);
        Font(A.HourFont(), "Comic Sans MS");
        Hands(A, 0x4E4E4E);
        A.SetHourPointerShadow(clNone);
        A.SetMinutePointerShadow(clNone);
        A.SetHourPointerSize(1);
        A.SetMinutePointerSize(1);
        ShowAMPM = true;
        ShowNumbers = true;
        break;
    case wsSuperNova:
        A.SetBackgroundColorTo(0xD1D3D3);
        A.SetBorderColor(clNone);
        A.SetCenterPointOuterBorderColor(0x000000);
        A.SetCenterPointSize(10);
        // byte properties keep the low 8 bits
        A.SetHourMarkLength(uint8_t(Round(side / 4.5)));
        A.SetMinuteMarkLength(uint8_t(side / 3));
        ShowAMPM = false;
        ShowNumbers = false;
        break;
    case wsSports:
        A.SetBackgroundColor(0x000000);
        A.SetBorderWidth(1);
        A.SetCenterPointBorderColor(0xFF0000);
        A.SetCenterPointOuterBorderColor(0x000000);
        A.SetCenterPointColor(0x191919);
        A.SetCenterPointSize(uint8_t(Round(side / 3.6)));
        A.SetHourColor(0xABB0B1);
        Font(A.HourFont(), "Times New Roman", 9, false, 0x797979);
        A.SetHourPointer(0x0000FF);
        A.SetMinutePointer(0x00FFFF);
        A.SetHourPointerShadow(clNone);
        A.SetMinutePointerShadow(clNone);
        A.SetHourPointerSize(2);
        A.SetMinutePointerSize(2);
        A.SetMinuteMarkLength(1);
        A.SetSecondPointer(0x188BFE);
        A.SetTickMarks(tmQuartHours);
        ShowAMPM = false;
        ShowNumbers = true;
        break;
    case wsSmooth:
        A.SetBackgroundColorTo(0xABB0B1);
        A.SetBorderColor(0x585858);
        A.SetBorderWidth(1);
        A.SetCenterPointBorderColor(0x000000);
        A.SetCenterPointOuterBorderColor(0x4A4A4A);
        A.SetCenterPointColor(0xFFFFFF);
        A.SetCenterPointSize(6);
        A.SetHourColor(0xABB0B1);
        Font(A.HourFont(), "Times New Roman", 9, false, 0x797979);
        Hands(A, 0x4A4A4A);
        A.SetSecondPointer(0x4A4A4A);
        A.SetHourPointerShadow(0xB2B2B2);
        A.SetMinutePointerShadow(0xB2B2B2);
        A.SetHourPointerSize(2);
        A.SetMinutePointerSize(2);
        A.SetMinuteMarkLength(1);
        A.SetTickMarks(tmQuartHours);
        ShowAMPM = false;
        ShowNumbers = true;
        break;
    }
}
