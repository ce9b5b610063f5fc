// Looks, component styles and colour tones: each writes a whole set of the grid's colours at
// once, and the control look passes its fixed-cell gradients on to the grid.
#include "grid/base/drawing_routines.h"
#include "grid/base/grid_resources.h"
#include "grid/control/pro_string_grid.h"

#include <iterator>

// ---- TControlLook --------------------------------------------------------------------------

TControlLook::TControlLook(TProStringGrid* AGrid) : FGrid(AGrid)
{
    Init();
    FDropDownHeader = std::make_unique<THeaderAppearance>(AGrid);
    FDropDownFooter = std::make_unique<TFooterAppearance>(AGrid);
}

TControlLook::~TControlLook() = default;

void TControlLook::Init()
{
    FColor = 0;
    FCommentColor = 0x0000FF;
    SetProgressBorderColor(0x808080);
    FFixedGradientFrom = FFixedGradientTo = FFixedGradientMirrorFrom = FFixedGradientMirrorTo = clNone;
    FFixedGradientHoverTo = 0xFFFFFF;
    FFixedGradientHoverFrom = 0x808080;
    FFixedGradientHoverBorder = 0xC0C0C0;
    FFixedGradientDownTo = 0xC0C0C0;
    FFixedGradientDownFrom = 0x808080;
    FFixedGradientDownBorder = 0x808080;
    // The mirror halves go to the grid as well, so a style never keeps an old mirror.
    SetFixedGradientHoverMirrorFrom(clNone);
    SetFixedGradientHoverMirrorTo(clNone);
    SetFixedGradientDownMirrorFrom(clNone);
    SetFixedGradientDownMirrorTo(clNone);
}

void TControlLook::Assign(const TPersistent* Source)
{
    auto* s = dynamic_cast<const TControlLook*>(Source);
    if (!s) return;
    FCheckSize = s->FCheckSize;
    FRadioSize = s->FRadioSize;
    FControlStyle = s->FControlStyle;
    FCheckedGlyph.Assign(s->FCheckedGlyph);
    FUnCheckedGlyph.Assign(s->FUnCheckedGlyph);
    FRadioOnGlyph.Assign(s->FRadioOnGlyph);
    FRadioOffGlyph.Assign(s->FRadioOffGlyph);
    FProgressMarginX = s->FProgressMarginX;
    FProgressMarginY = s->FProgressMarginY;
    FCommentColor = s->FCommentColor;
    FColor = s->FColor;
    SetProgressBorderColor(s->ProgressBorderColor());
    SetCheckAlwaysActive(s->CheckAlwaysActive());
    SetRadioAlwaysActive(s->RadioAlwaysActive());
    FFixedGradientFrom = s->FFixedGradientFrom;
    FFixedGradientTo = s->FFixedGradientTo;
    FFixedGradientMirrorFrom = s->FFixedGradientMirrorFrom;
    FFixedGradientMirrorTo = s->FFixedGradientMirrorTo;
    FFixedGradientHoverFrom = s->FFixedGradientHoverFrom;
    FFixedGradientHoverTo = s->FFixedGradientHoverTo;
    FFixedGradientHoverMirrorFrom = s->FFixedGradientHoverMirrorFrom;
    FFixedGradientHoverMirrorTo = s->FFixedGradientHoverMirrorTo;
    FFixedGradientHoverBorder = s->FFixedGradientHoverBorder;
    FFixedGradientDownFrom = s->FFixedGradientDownFrom;
    FFixedGradientDownTo = s->FFixedGradientDownTo;
    FFixedGradientDownMirrorFrom = s->FFixedGradientDownMirrorFrom;
    FFixedGradientDownMirrorTo = s->FFixedGradientDownMirrorTo;
    FFixedGradientDownBorder = s->FFixedGradientDownBorder;
    FDropDownAlwaysVisible = s->FDropDownAlwaysVisible;
    FSpinButtonsAlwaysVisible = s->FSpinButtonsAlwaysVisible;
    SetDropDownCount(s->DropDownCount());
    FDropDownFooter->Assign(s->FDropDownFooter.get());
    FDropDownHeader->Assign(s->FDropDownHeader.get());
    SetHintMaxWidth(s->HintMaxWidth());
}

void TControlLook::Changed()
{
    if (FGrid) FGrid->Invalidate();
}

void TControlLook::SetColor(TColor v) { Store(FColor, v); }
void TControlLook::SetCommentColor(TColor v) { Store(FCommentColor, v); }
void TControlLook::SetCheckedGlyph(const TBitmap& v) { FCheckedGlyph.Assign(v); Changed(); }
void TControlLook::SetUnCheckedGlyph(const TBitmap& v) { FUnCheckedGlyph.Assign(v); Changed(); }
void TControlLook::SetRadioOnGlyph(const TBitmap& v) { FRadioOnGlyph.Assign(v); Changed(); }
void TControlLook::SetRadioOffGlyph(const TBitmap& v) { FRadioOffGlyph.Assign(v); Changed(); }
void TControlLook::SetCheckSize(int v) { Store(FCheckSize, v); }
void TControlLook::SetRadioSize(int v) { Store(FRadioSize, v); }
void TControlLook::SetControlStyle(TControlStyle v) { Store(FControlStyle, v); }
void TControlLook::SetDropDownAlwaysVisible(bool v) { Store(FDropDownAlwaysVisible, v); }
void TControlLook::SetSpinButtonsAlwaysVisible(bool v) { Store(FSpinButtonsAlwaysVisible, v); }
void TControlLook::SetFlatButton(bool v) { Store(FFlatButton, v); }
void TControlLook::SetNoDisabledCheckRadioLook(bool v) { Store(FNoDisabledCheckRadioLook, v); }
void TControlLook::SetNoDisabledButtonLook(bool v) { Store(FNoDisabledButtonLook, v); }
void TControlLook::SetProgressMarginX(int v) { Store(FProgressMarginX, v); }
void TControlLook::SetProgressMarginY(int v) { Store(FProgressMarginY, v); }
void TControlLook::SetProgressXP(bool v) { Store(FProgressXP, v); }

// The normal gradient goes through the grid's setters (which repaint); a "not set" start or
// end colour leaves the grid's own as it is, while the mirror half always follows.
void TControlLook::SetFixedGradientFrom(TColor v)
{
    FFixedGradientFrom = v;
    if (FGrid && v != clNone) FGrid->SetZUZGradientFrom(v);
}

void TControlLook::SetFixedGradientTo(TColor v)
{
    FFixedGradientTo = v;
    if (FGrid && v != clNone) FGrid->SetZUZGradientTo(v);
}

void TControlLook::SetFixedGradientMirrorFrom(TColor v)
{
    FFixedGradientMirrorFrom = v;
    if (FGrid) FGrid->SetZUZGradientMirrorFrom(v);
}

void TControlLook::SetFixedGradientMirrorTo(TColor v)
{
    FFixedGradientMirrorTo = v;
    if (FGrid) FGrid->SetZUZGradientMirrorTo(v);
}

namespace {
// Stores a hover or pressed colour and hands it to the grid's copy: always for the mirror
// half, otherwise only when it is set.
void PassOn(TColor& Own, TColor* GridCopy, TColor v, bool Always)
{
    Own = v;
    if (GridCopy && (Always || v != clNone)) *GridCopy = v;
}
}  // namespace

#define GRID_COPY(F) (FGrid ? &FGrid->F : nullptr)
void TControlLook::SetFixedGradientHoverFrom(TColor v) { PassOn(FFixedGradientHoverFrom, GRID_COPY(FProGradHoverFrom), v, false); }
void TControlLook::SetFixedGradientHoverTo(TColor v) { PassOn(FFixedGradientHoverTo, GRID_COPY(FProGradHoverTo), v, false); }
void TControlLook::SetFixedGradientHoverBorder(TColor v) { PassOn(FFixedGradientHoverBorder, GRID_COPY(FProGradHoverBorder), v, false); }
void TControlLook::SetFixedGradientHoverMirrorFrom(TColor v) { PassOn(FFixedGradientHoverMirrorFrom, GRID_COPY(FProGradHoverMirrorFrom), v, true); }
void TControlLook::SetFixedGradientHoverMirrorTo(TColor v) { PassOn(FFixedGradientHoverMirrorTo, GRID_COPY(FProGradHoverMirrorTo), v, true); }
void TControlLook::SetFixedGradientDownFrom(TColor v) { PassOn(FFixedGradientDownFrom, GRID_COPY(FProGradDownFrom), v, false); }
void TControlLook::SetFixedGradientDownTo(TColor v) { PassOn(FFixedGradientDownTo, GRID_COPY(FProGradDownTo), v, false); }
void TControlLook::SetFixedGradientDownBorder(TColor v) { PassOn(FFixedGradientDownBorder, GRID_COPY(FProGradDownBorder), v, false); }
void TControlLook::SetFixedGradientDownMirrorFrom(TColor v) { PassOn(FFixedGradientDownMirrorFrom, GRID_COPY(FProGradDownMirrorFrom), v, true); }
void TControlLook::SetFixedGradientDownMirrorTo(TColor v) { PassOn(FFixedGradientDownMirrorTo, GRID_COPY(FProGradDownMirrorTo), v, true); }
#undef GRID_COPY

// ---- the grid's colour setters ---------------------------------------------------------------

namespace {
// A system colour is resolved to its value; "not set" stays not set.
TColor StoredRGB(TColor v) { return v == clNone ? clNone : ColorToRGB(v); }
}  // namespace

void TProStringGrid::SetZUZGradientFrom(TColor v) { FProGradFrom = StoredRGB(v); Invalidate(); }
void TProStringGrid::SetZUZGradientTo(TColor v) { FProGradTo = StoredRGB(v); Invalidate(); }
void TProStringGrid::SetZUZGradientMirrorFrom(TColor v) { FProGradMirrorFrom = StoredRGB(v); Invalidate(); }
void TProStringGrid::SetZUZGradientMirrorTo(TColor v) { FProGradMirrorTo = StoredRGB(v); Invalidate(); }

void TProStringGrid::SetURLColor(TColor v)
{
    if (v == FURLColor) return;
    FURLColor = v;
    if (FURLShow) Invalidate();
}

void TProStringGrid::SetURLShow(bool v)
{
    if (v == FURLShow) return;
    FURLShow = v;
    Invalidate();
}

void TProStringGrid::SetURLShowInText(bool v)
{
    if (v == FURLShowInText) return;
    FURLShowInText = v;
    Invalidate();
}

void TProStringGrid::SetURLFull(bool v)
{
    FURLFull = v;
    if (FURLShow) Invalidate();
}

// ---- looks -----------------------------------------------------------------------------------

namespace {
void SetHoverGradient(TControlLook* cl, TColor From, TColor To, TColor MirrorFrom, TColor MirrorTo)
{
    cl->SetFixedGradientHoverFrom(From);
    cl->SetFixedGradientHoverTo(To);
    cl->SetFixedGradientHoverMirrorFrom(MirrorFrom);
    cl->SetFixedGradientHoverMirrorTo(MirrorTo);
}

void SetDownGradient(TControlLook* cl, TColor From, TColor To, TColor MirrorFrom, TColor MirrorTo)
{
    cl->SetFixedGradientDownFrom(From);
    cl->SetFixedGradientDownTo(To);
    cl->SetFixedGradientDownMirrorFrom(MirrorFrom);
    cl->SetFixedGradientDownMirrorTo(MirrorTo);
}

void SetHeaderColors(TSortSettings* ss, TColor From, TColor To, TColor MirrorFrom, TColor MirrorTo)
{
    ss->SetHeaderColor(From);
    ss->SetHeaderColorTo(To);
    ss->SetHeaderMirrorColor(MirrorFrom);
    ss->SetHeaderMirrorColorTo(MirrorTo);
}
}  // namespace

void TProStringGrid::SetLook(TGridLook Value)
{
    if (Value == FLook) return;
    FLook = Value;
    TControlLook* cl = FControlLook.get();
    if (Value != glCustom) {
        cl->SetFixedGradientMirrorFrom(clNone);
        cl->SetFixedGradientMirrorTo(clNone);
        cl->SetFixedGradientFrom(clNone);
        cl->SetFixedGradientTo(clNone);
        FProGradFrom = FProGradTo = FProGradMirrorFrom = FProGradMirrorTo = clNone;
        FSortSettings->SetHeaderColor(clNone);
    }
    switch (Value) {
    case glVista:
        SetStyle(gsWindowsVista);
        FStyle = tsWindowsVista;
        SetSelectionStyle(ssVista);
        break;
    case glWin7:
        SetStyle(gsWindows7);
        FStyle = tsWindows7;
        SetSelectionStyle(ssWin7);
        break;
    case glOffice2007:
        SetStyle(gsOffice2007Luna);
        FStyle = tsOffice2007Luna;
        SetSelectionStyle(ssOffice2007);
        break;
    case glCustom: break;
    default: ApplyLookColours(Value); break;
    }
    SetScrollType(ssNormal);
    SetBorderStyle(bsSingle);
    SetBorderColor(0xB99D7F);
    Invalidate();
    if (!FLoading && FFooterPanel) FFooterPanel->update();
}

void TProStringGrid::ApplyLookColours(TGridLook Value)
{
    if (!FDesigning) StyleDropDownEditors(tsWindowsXP);
    SetSelectionStyle(ssDefault);
    if (FLoading) return;
    TControlLook* cl = FControlLook.get();
    const bool plain = Value == glStandard || Value == glSoft || Value == glClassic;
    if (plain) {
        SetFixedColor(clBtnFace);
        cl->SetFixedGradientFrom(clBtnFace);
        cl->SetFixedGradientTo(clNone);
    } else {
        cl->SetFixedGradientFrom(0xFFFFFF);
        cl->SetFixedGradientTo(clBtnFace);
    }
    SetGridFixedLineColor(0x808080);
    cl->SetFixedGradientMirrorFrom(clNone);
    cl->SetFixedGradientMirrorTo(clNone);
    FProGradMirrorFrom = FProGradMirrorTo = clNone;
    SetGridLineColor(0xC0C0C0);
    if (plain || Value == glListView) {
        SetActiveCellColor(0x808080);
        SetActiveCellColorTo(clNone);
        SetSelectionColor(clHighlight);
        SetSelectionTextColor(clHighlightText);
        FSearchFooter->SetColor(clBtnFace);
        FSearchFooter->SetColorTo(clBtnFace);
        return;
    }
    // glZUZ and glXP
    SetActiveCellColor(0xEACAB6);
    SetActiveCellColorTo(clNone);
    SetSelectionColor(0xEACAB6);
    SetSelectionColorTo(clNone);
    SetSelectionTextColor(0);
    FSearchFooter->SetColor(FProGradFrom);
    FSearchFooter->SetColorTo(FProGradTo);
    cl->SetFixedGradientFrom(0xFFFFFF);
    cl->SetFixedGradientTo(Value == glXP ? clBtnFace : 0xC0C0C0);
    SetHoverGradient(cl, 0xCFD0D1, 0xBEC6C8, 0xBEC6C8, 0xABBCBF);
    SetDownGradient(cl, 0x868788, 0x737C7E, 0x737C7E, 0x627376);
}

QString TProStringGrid::LookToString(TGridLook ALook)
{
    static const char* const names[] = {"glStandard", "glSoft",  "glClassic", "glZUZ",       "glXP",
                                        "glListView", "glVista", "glWin7",    "glOffice2007"};
    return ALook < glCustom ? QString::fromLatin1(names[ALook]) : QString();
}

QString TProStringGrid::LookToDisplayName(TGridLook ALook)
{
    static const char* const names[] = {"Standard", "Soft",          "Classic",   "ZUZ",       "Windows XP",
                                        "ListView", "Windows Vista", "Windows 7", "Office2007"};
    return ALook < glCustom ? QString::fromLatin1(names[ALook]) : QString();
}

// ---- styles ----------------------------------------------------------------------------------

namespace {
// Stand-ins in the style table for the grid's own gradient colours at the time of writing,
// and for a value the style leaves alone.
constexpr TColor GradFrom = 0x7F000001;
constexpr TColor MirrorTo = 0x7F000002;
constexpr TColor Keep = 0x7F000003;

enum TLookGradient { lgKeep, lgGradient, lgNone };

struct TStyleColours {
    int Look;  // -1: the look stays
    bool Writes;
    TColor From, To, MirrorFrom, MirrorTo;
    TLookGradient ControlLookGradient;
    TColor Active, ActiveTo, Line, FixedLine, FooterFrom, FooterTo, Selection, SelectionTo, SelectionText;
};

constexpr TColor BF = clBtnFace;
constexpr TColor NO = clNone;

// One row per style, in the order of TProGridStyle.
const TStyleColours StyleTable[] = {
    {glXP, true, 0xFCE1CB, 0xE0A57D, NO, NO, lgGradient, 0x94E6FB, 0x1595EE, 0xC0C0C0, 0x808080, GradFrom, NO, 0x94E6FB, 0x1595EE, 0},
    {glXP, true, 0xECE2E1, 0xB39698, NO, NO, lgGradient, 0x94E6FB, 0x1595EE, 0xC0C0C0, 0x808080, GradFrom, NO, 0x94E6FB, 0x1595EE, 0},
    {glXP, true, 0xCFF0EA, 0x8CC0B1, NO, NO, lgGradient, 0x94E6FB, 0x1595EE, 0xC0C0C0, 0x808080, GradFrom, NO, 0x94E6FB, 0x1595EE, 0},
    {glXP, true, 0xFFFFFF, 0xCCD4D8, NO, NO, lgNone, 0xD8D5D4, 0xD8D5D4, 0xC0C0C0, 0x808080, 0xFFFFFF, NO, Keep, Keep, Keep},
    {glOffice2007, true, 0xFBF9F6, 0xE8DBD2, NO, NO, lgGradient, 0x9DD8F9, 0x5EC1F1, 0xF1EDEB, 0xD1BBA4, GradFrom, NO, 0x5EC1F1, Keep, 0},
    {glOffice2007, true, 0xF7F7F7, 0xDEDEDE, NO, NO, lgGradient, 0x9DD8F9, 0x5EC1F1, 0xE5D7D0, 0x808080, GradFrom, NO, 0x5EC1F1, Keep, 0},
    {glXP, true, BF, BF, NO, NO, lgNone, BF, BF, 0xC0C0C0, 0x808080, BF, NO, Keep, Keep, Keep},
    {-1, true, 0xFFFFFF, BF, NO, NO, lgNone, 0x94E6FB, 0x1595EE, 0xC0C0C0, 0x808080, 0xFFFFFF, NO, Keep, Keep, Keep},
    {-1, false, 0, 0, 0, 0, lgKeep, 0, 0, 0, 0, 0, 0, Keep, Keep, Keep},
    {glOffice2007, true, 0xF3F3F1, 0xCAC9C8, Keep, Keep, lgGradient, 0x99CCFF, 0x699CFF, 0xE5D7D0, 0x808080, GradFrom, MirrorTo, 0x95C7F5, Keep, 0},
    {glVista, true, 0xFFFFFF, 0xFFFFFF, 0xFAF8F7, 0xF4F2F1, lgNone, 0xFDF8F1, 0xFCEFD5, 0xECECF0, 0xD4D2D1, 0xFFFFFF, 0xF4F2F1, 0xEACAB6, Keep, 0},
    {glWin7, true, 0xFDFCFA, 0xFAF0E6, 0xF4E6DC, 0xF7E9DD, lgNone, 0xFCEBDC, 0xFCDBC1, 0xECECF0, 0xD4D2D1, 0xFDFCFA, 0xF7E9DD, 0xEACAB6, Keep, 0},
    {glStandard, false, 0, 0, 0, 0, lgKeep, 0, 0, 0, 0, 0, 0, Keep, Keep, Keep},
    {glOffice2007, true, 0xF5E7DA, 0xF5E7DA, 0xF5E7DA, 0xF5E7DA, lgNone, 0x5BD5FF, 0x71EFFF, 0xC0C0C0, 0xC7B0A0, GradFrom, MirrorTo, 0xFFDBB7, Keep, 0},
    {glOffice2007, true, 0xE8E3DF, 0xE8E3DF, 0xE8E3DF, 0xE8E3DF, lgNone, 0x5BD5FF, 0x71EFFF, 0xC0C0C0, 0xBAB5B1, GradFrom, MirrorTo, 0xFFDBB7, Keep, 0},
    {glOffice2007, true, 0x6A6A6A, 0x6A6A6A, 0x6A6A6A, 0x6A6A6A, lgNone, 0x5BD5FF, 0x71EFFF, 0xC0C0C0, 0x444444, GradFrom, MirrorTo, 0xFFDBB7, Keep, 0},
};
static_assert(std::size(StyleTable) == gsOffice2010Black + 1);
}  // namespace

void TProStringGrid::SetStyle(TProGridStyle AStyle)
{
    SetSelectionColor(clHighlight);
    SetSelectionColorTo(clNone);
    SetSelectionTextColor(clHighlightText);
    SetSelectionStyle(ssDefault);
    TSortSettings* ss = FSortSettings.get();
    SetHeaderColors(ss, clNone, clNone, clNone, clNone);
    TControlLook* cl = FControlLook.get();
    cl->Init();

    const TStyleColours& s = StyleTable[AStyle];
    if (s.Look >= 0) SetLook(TGridLook(s.Look));
    if (s.Writes) {
        FProGradFrom = s.From;
        FProGradTo = s.To;
        if (s.MirrorFrom != Keep) FProGradMirrorFrom = s.MirrorFrom;
        if (s.MirrorTo != Keep) FProGradMirrorTo = s.MirrorTo;
        SetActiveCellColor(s.Active);
        SetActiveCellColorTo(s.ActiveTo);
        SetGridLineColor(s.Line);
        SetGridFixedLineColor(s.FixedLine);
        auto resolve = [this](TColor c) { return c == GradFrom ? FProGradFrom : c == MirrorTo ? FProGradMirrorTo : c; };
        FSearchFooter->SetColor(resolve(s.FooterFrom));
        FSearchFooter->SetColorTo(resolve(s.FooterTo));
        if (s.Selection != Keep) FSelectionColor = s.Selection;
        if (s.SelectionTo != Keep) FSelectionColorTo = s.SelectionTo;
        if (s.SelectionText != Keep) FSelectionTextColor = s.SelectionText;
    }

    auto gradientToControlLook = [&] {
        cl->SetFixedGradientFrom(FProGradFrom);
        cl->SetFixedGradientTo(FProGradTo);
    };
    auto noControlLookGradient = [&] {
        cl->SetFixedGradientFrom(clNone);
        cl->SetFixedGradientTo(clNone);
    };
    switch (AStyle) {
    case gsOffice2007Luna:
        gradientToControlLook();
        SetHoverGradient(cl, 0xE4E2DF, 0xDBD3CD, 0xDBD3CD, 0xD2C5BC);
        cl->SetFixedGradientHoverBorder(0xB79F87);
        SetDownGradient(cl, 0xE4C19D, 0xE4C19D, 0xE4C19D, 0xE4C19D);
        cl->SetFixedGradientDownBorder(0xE4C19D);
        if (FLook == glOffice2007) SetSelectionStyle(ssOffice2007);
        break;
    case gsWindowsVista:
        FProGradHoverFrom = 0xFFF7E3;
        FProGradHoverTo = 0xFFF7E3;
        FProGradHoverMirrorFrom = 0xFFEDBD;
        FProGradHoverMirrorTo = 0xFBE7B7;
        FProGradHoverBorder = 0xE3C993;
        cl->SetFixedGradientMirrorFrom(FProGradMirrorFrom);
        cl->SetFixedGradientMirrorTo(FProGradMirrorTo);
        SetHoverGradient(cl, FProGradHoverFrom, FProGradHoverTo, FProGradHoverMirrorFrom, FProGradHoverMirrorTo);
        cl->SetFixedGradientHoverBorder(FProGradHoverBorder);
        SetDownGradient(cl, 0xF9E4BC, 0xF9E4BC, 0xF7D68D, 0xF5D18A);
        cl->SetFixedGradientDownBorder(0xAE904F);
        SetHeaderColors(ss, 0xFCF9F2, 0xFCF9F2, 0xF9F1E1, 0xF6ECD8);
        gradientToControlLook();
        noControlLookGradient();
        SetSelectionStyle(ssVista);
        break;
    case gsWindows7:
        FProGradHoverFrom = 0xFDF8F3;
        FProGradHoverTo = 0xF9F3EF;
        FProGradHoverMirrorFrom = clNone;
        FProGradHoverMirrorTo = clNone;
        FProGradHoverBorder = 0xEEE8E3;
        cl->SetFixedGradientMirrorFrom(FProGradMirrorFrom);
        cl->SetFixedGradientMirrorTo(FProGradMirrorTo);
        SetHoverGradient(cl, 0xFEFBF8, 0xFAF2ED, 0xF4E4D7, 0xE8D2C1);
        SetDownGradient(cl, 0xF1E8DD, 0xF1E4D8, 0xECDBCF, 0xEDDCCF);
        cl->SetFixedGradientDownBorder(0xD5BCAA);
        SetHeaderColors(ss, 0xFCF9F2, 0xFCF9F2, 0xF9F1E1, 0xF6ECD8);
        noControlLookGradient();
        SetSelectionStyle(ssWin7);
        break;
    case gsOffice2010Blue:
    case gsOffice2010Silver:
    case gsOffice2010Black: {
        FProGradHoverFrom = FProGradHoverTo = FProGradHoverMirrorFrom = FProGradHoverMirrorTo = FProGradHoverBorder =
            clNone;
        gradientToControlLook();
        cl->SetFixedGradientMirrorFrom(FProGradMirrorFrom);
        cl->SetFixedGradientMirrorTo(FProGradMirrorTo);
        SetHoverGradient(cl, 0x6BDFFF, 0xAFEFFF, 0xAFEFFF, 0xE6FCFF);
        cl->SetFixedGradientHoverBorder(0x3ABFE8);
        SetDownGradient(cl, 0x5BD5FF, 0x64E0FF, 0x64E0FF, 0x71EFFF);
        cl->SetFixedGradientDownBorder(0x308AC2);
        const TColor header = AStyle == gsOffice2010Blue ? 0xD6CEC7 : AStyle == gsOffice2010Silver ? 0xAAAAAA : 0xBABABA;
        SetHeaderColors(ss, header, header, header, header);
        noControlLookGradient();
        SetSelectionStyle(ssDefault);
        break;
    }
    case gsWindowsXP:
        noControlLookGradient();
        SetLook(glXP);
        break;
    default:
        if (s.ControlLookGradient == lgGradient) gradientToControlLook();
        else if (s.ControlLookGradient == lgNone) noControlLookGradient();
        break;
    }
    Invalidate();
}

void TProStringGrid::SetComponentStyle(TProStyle AStyle)
{
    FStyle = AStyle;
    SetStyle(TProGridStyle(AStyle));
    if (!FDesigning) StyleDropDownEditors(AStyle);
    if (AStyle != tsCustom && FScrollType == ssMetro) SetScrollType(ssNormal);
}

void TProStringGrid::SetColorTones(const TColorTones& ATones)
{
    FTones = ATones;
    SetLook(glClassic);
    SetFlat(true);
    SetScrollType(ssMetro);

    SetFixedColor(ATones.Foreground.BrushColor);
    FFixedFont.SetColor(ATones.Foreground.TextColor);
    FFixedFont.SetName(DefaultFontName());
    Font()->SetName(DefaultFontName());
    SetColor(ATones.Background.BrushColor);
    Font()->SetColor(ATones.Background.TextColor);
    SetSelectionColor(ATones.Selected.BrushColor);
    SetSelectionTextColor(ATones.Selected.TextColor);
    SetSelectionColorTo(clNone);
    SetGridLineColor(0xE6E6E6);
    SetGridFixedLineColor(BrightenColor(ATones.Foreground.BrushColor, -20));
    SetBorderStyle(bsNone);

    TControlLook* cl = FControlLook.get();
    cl->SetControlStyle(csGlyph);
    LoadResourceBitmap(*cl->CheckedGlyph(), QStringLiteral("metrocheckon"));
    LoadResourceBitmap(*cl->UnCheckedGlyph(), QStringLiteral("metrocheckoff"));
    LoadResourceBitmap(*cl->RadioOffGlyph(), QStringLiteral("metroradiooff"));
    LoadResourceBitmap(*cl->RadioOnGlyph(), QStringLiteral("metroradioon"));

    if (!FDesigning) {
        const TButtonColors button{ATones.Background.BrushColor, ATones.Hover.BrushColor, ATones.Selected.BrushColor,
                                   ATones.Background.BorderColor};
        if (EditBtn) EditBtn->SetButtonColors(button);
        if (EditCombo) {
            EditCombo->SetBorderColor(Color());
            EditCombo->SetButtonColor(button.ButtonColor);
            EditCombo->SetButtonColorHot(button.ButtonColorHot);
            EditCombo->SetButtonColorDown(button.ButtonColorDown);
            EditCombo->SetButtonBorderColor(button.ButtonBorderColor);
            EditCombo->SetFlat(true);
        }
        // The spin and date editors and the drop-down editors are made by this grid on
        // demand only; there are none to recolour.
    }

    cl->SetFlatButton(true);
    FFloatingFooter->SetColor(ATones.Foreground.BrushColor);
    FSearchFooter->SetColor(ATones.Foreground.BrushColor);
    FSearchFooter->SetColorTo(ATones.Foreground.BrushColor);
    FCellNode->SetNodeType(cnFlat);
    Invalidate();
}

void TProStringGrid::SetTheme(TXPColorScheme Scheme)
{
    struct TThemeColours {
        TColor From, To, MirrorFrom, MirrorTo, Active, ActiveTo, Footer, FooterTo;
    };
    TThemeColours t{};
    switch (Scheme) {
    case xpBlue: t = {0xFCE1CB, 0xE0A57D, clNone, clNone, 0x94E6FB, 0x1595EE, 0xFCE1CB, 0xE0A57D}; break;
    case xpGreen: t = {0xCFF0EA, 0x8CC0B1, clNone, clNone, 0x94E6FB, 0x1595EE, 0xCFF0EA, 0x8CC0B1}; break;
    case xpGray: t = {0xECE2E1, 0xB39698, clNone, clNone, 0x94E6FB, 0x1595EE, 0xECE2E1, 0xB39698}; break;
    case vistaAero: t = {0xFFFFFF, 0xFFFFFF, 0xFAF8F7, 0xF4F2F1, 0x94E6FB, 0x1595EE, 0xECE2E1, 0xB39698}; break;
    case xpNone: t = {0xFFFFFF, clBtnFace, clNone, clNone, 0xFFFFFF, 0xFFD9B3, 0xFFFFFF, 0xFFD9B3}; break;
    }
    FProGradFrom = t.From;
    FProGradTo = t.To;
    FProGradMirrorFrom = t.MirrorFrom;
    FProGradMirrorTo = t.MirrorTo;
    SetActiveCellColor(t.Active);
    SetActiveCellColorTo(t.ActiveTo);
    FSearchFooter->SetColor(t.Footer);
    FSearchFooter->SetColorTo(t.FooterTo);
    TControlLook* cl = FControlLook.get();
    cl->SetFixedGradientFrom(Scheme == xpNone ? clNone : t.From);
    cl->SetFixedGradientTo(Scheme == xpNone ? clNone : t.To);
    Invalidate();
}

void TProStringGrid::UpdateOfficeTheme()
{
    if (FDesigning) return;
    const TOfficeTheme theme = DetectOfficeStyle();
    if (theme != FOldOfficeTheme) {
        static const TProStyle styles[] = {tsOffice2003Blue,   tsOffice2003Silver, tsOffice2003Olive,
                                           tsOffice2003Classic, tsOffice2007Luna,  tsOffice2007Silver,
                                           tsOffice2007Obsidian, tsOffice2010Blue, tsOffice2010Silver,
                                           tsOffice2010Black};
        if (theme != otUnknown) SetComponentStyle(styles[theme]);
    }
    FOldOfficeTheme = theme;
}
