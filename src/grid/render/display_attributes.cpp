// The look of a cell (font, colours, alignment, word wrap), the text it shows, and the
// measuring of that text.
#include "grid/render/display_attributes.h"

#include "grid/base/drawing_routines.h"
#include "grid/base/number_routines.h"
#include "grid/base/text_packing.h"
#include "grid/control/grid_selection.h"
#include "grid/control/pro_string_grid.h"
#include "platform/core/exception.h"
#include "platform/core/sysutils.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>

TColor MixColors(TColor Color1, TColor Color2, int Percent)
{
    if (Percent >= 100) return Color1;
    if (Percent < 1 || Color1 == clNone) return Color2;
    if (Color2 == clNone) return Color1;
    const TColor c1 = ColorToRGB(Color1), c2 = ColorToRGB(Color2);
    const double p = Percent / 100.0;
    auto mix = [p](int a, int b) { return int(std::min<int64_t>(255, Round(p * a + (1 - p) * b))); };
    return RGB(mix(GetRValue(c1), GetRValue(c2)), mix(GetGValue(c1), GetGValue(c2)), mix(GetBValue(c1), GetBValue(c2)));
}

QString FormatIntValue(const QString& format, int value)
{
    static const QRegularExpression one(QStringLiteral("^([^%]|%%)*%[-+ 0#]*[0-9]*[dD]([^%]|%%)*$"));
    if (!one.match(format).hasMatch())
        throw EConvertError(QStringLiteral("Format '%1' invalid or incompatible with argument").arg(format));
    QString spec = format;
    spec.replace(QLatin1Char('D'), QLatin1Char('d'));
    return QString::asprintf(spec.toLatin1().constData(), value);
}

TColor TProStringGrid::MixSelectionColor(TColor SelColor, TColor CellColor, bool Mixer, int Factor)
{
    return Mixer ? MixColors(SelColor, CellColor, Factor) : SelColor;
}

// ---- the look -------------------------------------------------------------------------------

void TProStringGrid::GetVisualProperties(int ACol, int ARow, TGridDrawState& AState, bool Print, bool Select,
                                         bool Remap, TBrush* ABrush, TColor& AColorTo, TColor& AMirrorColor,
                                         TColor& AMirrorColorTo, TFont* AFont, TAlignment& HA, TVAlignment& VA,
                                         bool& WW, TCellGradientDirection& GD)
{
    const int fc = FixedCols(), fr = FixedRows(), cc = ColCount(), rc = RowCount();
    const bool printFonts = Print && !FPrintSettings->UseDisplayFont();
    if (ACol >= fc && ARow >= fr) AFont->Assign(printFonts ? *FPrintSettings->Font() : *Font());
    else AFont->Assign(printFonts ? *FPrintSettings->FixedFont() : FFixedFont);

    const int rcol = Remap ? DisplToRealColumn(ACol) : ACol;
    TMouseActions* ma = FMouseActions.get();
    const int srow = ((ma->DisjunctRowSelect() && ma->RowSelectPersistent()) || FUseEnabledRows) ? DisplToRealRow(ARow) : ARow;

    ABrush->SetColor(clNone);
    AColorTo = AMirrorColor = AMirrorColorTo = clNone;

    // Properties are read where the cell's text lives: its kind too, so that both answers
    // concern the same cell when columns are hidden.
    bool brushByProps = false;
    if (HasCellProperties(rcol, ARow)) {
        TCellProperties* p = GetCellProperties(rcol, ARow);
        switch (GetCellType(rcol, ARow)) {
        case ctNone:
        case ctRotated:
        case ctEmpty:
            if (p->BrushColor() != clNone) {
                ABrush->SetColor(p->BrushColor());
                brushByProps = true;
            }
            break;
        default:
            ABrush->SetColor(p->BrushColor());
            break;
        }
        if (p->FontColor() != clNone) AFont->SetColor(p->FontColor());
        if (!p->FontStyle().Empty()) AFont->SetStyle(p->FontStyle());
        if (p->FontSize() != 0) AFont->SetSize(p->FontSize());
        if (!p->FontName().isEmpty()) AFont->SetName(p->FontName());
        WW = p->WordWrap();
        AColorTo = p->BrushColorTo();
        GD = p->GradientDirection();
    }

    if (AState.Contains(gdSelected)) GD = GradientVertical;

    if (ABrush->Color() == clNone) {
        ABrush->SetColor(Color());
        TBands* b = FBands.get();
        if (b->Active() && (!Print || b->Print()) && b->TotalLength() > 0 && ACol >= fc &&
            ACol < cc + FNumHidden - FFixedRightCols && ARow >= fr && ARow < rc - FFixedFooters)
            ABrush->SetColor((ARow - fr) % b->TotalLength() < b->PrimaryLength() ? b->PrimaryColor() : b->SecondaryColor());
        if (ACol < fc || ARow < fr || ACol >= cc - FFixedRightCols || ARow >= rc - FFixedFooters)
            ABrush->SetColor(FixedColor());
    }

    const bool fixedCell = IsFixed(ACol, ARow) || ACol < fc || ARow < fr;
    if (fixedCell && !brushByProps) {
        if (!Print) {
            ABrush->SetColor(FixedColor());
            AFont->Assign(FFixedFont);
            AState.Include(gdFixed);
        }
        if (FLook > glClassic) {
            ABrush->SetColor(FProGradFrom);
            AColorTo = FProGradTo;
            AMirrorColor = FProGradMirrorFrom;
            AMirrorColorTo = FProGradMirrorTo;
        }
    }

    if (Print) GetCellPrintColor(rcol, ARow, AState, ABrush, AFont);
    else GetCellColor(rcol, ARow, AState, ABrush, AFont);

    if (OnGetCellGradient) {
        TColor c = ABrush->Color();
        OnGetCellGradient(this, ARow, rcol, c, AColorTo, AMirrorColor, AMirrorColorTo, GD);
        ABrush->SetColor(c);
    }

    const TColor r1 = ABrush->Color(), r2 = AFont->Color();
    auto selectedLook = [&] {
        ABrush->SetColor(FSelectionColor);
        AColorTo = FSelectionColorTo;
        AMirrorColor = FSelectionMirrorColor;
        AMirrorColorTo = FSelectionMirrorColorTo;
        if (FSelectionTextColor != clNone) AFont->SetColor(FSelectionTextColor);
    };

    const bool selectable = Select && !Print && FShowSelection && !fixedCell && ACol >= fc && ARow >= fr;
    if (selectable && ma->DisjunctRowSelect()) {
        const bool rowSelected = GetRowSelect(srow);
        if (((FMouseDown && ARow == GetRowEx()) || !rowSelected) &&
            (!FMouseDown || rowSelected || !AState.Contains(gdSelected))) {
            AState.Exclude(gdSelected);
        } else {
            AState = TGridDrawState{gdSelected};
            selectedLook();
        }
    }
    if (selectable && ma->DisjunctColSelect()) {
        const bool colSelected = GetColSelect(ACol);
        if (((!FMouseDown || ACol != Col()) && colSelected) ||
            (FMouseDown && !colSelected && AState.Contains(gdSelected))) {
            AState = TGridDrawState{gdSelected};
            selectedLook();
        }
    }

    const bool disjunct = ma->DisjunctRowSelect() || ma->DisjunctColSelect();
    if ((selectable && IsSelected(ACol, ARow) && !disjunct) ||
        (AState.Contains(gdSelected) && FMouseDown && FShowSelection)) {
        const TColor cell = ABrush->Color();
        selectedLook();
        if (cell != Color())
            ABrush->SetColor(MixSelectionColor(FSelectionColor, cell, FSelectionColorMixer, FSelectionColorMixerFactor));
        AState.Include(gdSelected);
    }

    if (ma->DisjunctCellSelect() && FShowSelection) {
        if (FSelect->CellSelected(ACol, ARow)) {
            selectedLook();
            AState.Include(gdSelected);
        } else if (ACol == Col() && ARow == GetRowEx()) {
            AState.Exclude(gdSelected);
            ABrush->SetColor(r1);
            AFont->SetColor(r2);
        }
    }

    if (FUseDisabledFont) {
        // the enabled flags are kept per shown row
        if (FUseEnabledRows && !GetRowEnabled(ARow)) AFont->SetColor(FDisabledFontColor);
        if (!isEnabled()) AFont->SetColor(FDisabledFontColor);
    }

    if (ma->DisjunctRowSelect() && FSelectionColorTo == clNone && IsSelected(ACol, ARow) && ARow != GetRowEx())
        ABrush->SetColor(BrightenColor(ABrush->Color(), 7));

    GetWordWrapHook(rcol, ARow, WW);
    const TCellAlignment a = GetCellAlignment(rcol, ARow);
    HA = a.HA;
    VA = a.VA;
}

void TProStringGrid::GetFontProperties(int ACol, int RCol, int ARow, TGridDrawState& AState, TFont* AFont,
                                       TBrush* ABrush, bool Remap)
{
    (void)Remap;
    const bool fixedCell = IsFixed(ACol, ARow) || ACol < FixedCols() || ARow < FixedRows();
    AFont->Assign(fixedCell ? FFixedFont : *Font());
    if (HasCellProperties(RCol, ARow)) {
        TCellProperties* p = GetCellProperties(RCol, ARow);
        if (p->FontColor() != clNone) AFont->SetColor(p->FontColor());
        if (!p->FontStyle().Empty()) AFont->SetStyle(p->FontStyle());
        if (p->FontSize() != 0) AFont->SetSize(p->FontSize());
        if (!p->FontName().isEmpty()) AFont->SetName(p->FontName());
    }
    GetCellColor(RCol, ARow, AState, ABrush, AFont);
}

namespace {
// "|\" + any character + "=": a packed wide text holding a formula.
bool IsPackedFormula(const QString& s)
{
    return s.size() >= 4 && s[0] == QLatin1Char('|') && s[1] == QLatin1Char('\\') && s[3] == QLatin1Char('=');
}
}  // namespace

TProStringGrid::TCellAlignment TProStringGrid::GetCellAlignment(int ACol, int ARow)
{
    TCellAlignment a{FDefaultAlignment, FVAlignment};
    bool formula = false;
    if (FAutoNumAlign) {
        QString s = GetCellEx(ACol, ARow);
        formula = s.startsWith(QLatin1Char('=')) || IsPackedFormula(s);
        if (formula) GetCellText(ACol, ARow, s);
        const int kind = ClassifyNumberText(Trim(s));
        if (kind == 0 || kind == 1 || kind == 5) a.HA = taRightJustify;
    }
    if (HasCellProperties(ACol, ARow) && !formula) a.HA = GetCellProperties(ACol, ARow)->Alignment();
    GetCellAlignHook(ACol, ARow, a.HA, a.VA);
    return a;
}

void TProStringGrid::GetCellText(int ACol, int ARow, QString& Value) { Value = GetCellEx(ACol, ARow); }

QString TProStringGrid::GetFormattedCell(int ACol, int ARow)
{
    const QString text = GetCellEx(ACol, ARow);
    if (!OnGetFloatFormat) return text;
    const int kind = ClassifyNumberText(text);
    bool isFloat = kind == 0 || kind == 1 || kind == 5;
    QString format = FFloatFormat;
    OnGetFloatFormat(this, ACol, ARow, isFloat, format);
    if (!isFloat || format.isEmpty()) return text;
    // A format that does not suit the value leaves the text as it is.
    try {
        if (format.contains(QLatin1Char('d'))) return FormatIntValue(format, GetInts(ACol, ARow));
        return FormatFloatValue(format, GetFloats(ACol, ARow));
    } catch (const Exception&) {
        return text;
    }
}

void TProStringGrid::GetDisplText(int ACol, int ARow, QString& Value)
{
    TBaseGrid::GetDisplText(ACol, ARow, Value);
    if (FURLShowInText) {
        static const char* const prefixes[] = {"HTTP://", "WWW.", "MAILTO:", "HTTPS://", "NNTP://", "FILE://", "FTP://"};
        for (const char* p : prefixes) {
            QString html;
            if (InsertURLLink(Value, QLatin1String(p), html)) {
                Value = html;
                break;
            }
        }
    }
    if (FGrouping->ShowGroupCount() && ACol == 1 && GetCellType(0, ARow) == ctNode) {
        // Rows in the group: the node's span less its sub-nodes and itself.
        const TCellGraphic* g = GetCellGraphic(0, ARow);
        const int count = g ? g->CellIndex() - g->CellErrFrom() - 1 : 0;
        const QString fmt = FGrouping->GroupCountFormat();
        QString shown;
        try {
            shown = fmt.isEmpty() ? QStringLiteral(" (%1)").arg(count) : FormatIntValue(fmt, count);
        } catch (const Exception&) {
            shown = QStringLiteral(" (%1)").arg(count);
        }
        Value += shown;
    }
}

bool TProStringGrid::HasSortIndicator(int ACol, int ARow)
{
    const int last = ARow + CellSpan(ACol, ARow).Y;
    return last == FSortSettings->Row() && FSortSettings->Show() && RowCount() > FixedRows() + 1;
}

int TProStringGrid::GetRowIndent(int ARow)
{
    if (!HasNodes() || ARow < 0 || !HasCellProperties(0, ARow)) return 0;
    return GetCellProperties(0, ARow)->NodeLevel() * FCellNode->NodeIndent();
}

// ---- measuring ------------------------------------------------------------------------------

QSize TProStringGrid::GetCellTextSize(int ACol, int ARow, bool VS, bool SB)
{
    return CalcCellTextSize(ACol, RealToDisplColumn(ACol), ARow, VS, SB);
}

QSize TProStringGrid::CalcCellTextSize(int RealCol, int DisplayCol, int ARow, bool VS, bool SB)
{
    QString text = GetFormattedCell(RealCol, ARow);
    const int kind = CellTextKind(text, FEnableHTML);
    TCanvas* cv = Canvas();
    // The font of the cell as it is painted: the fixed test at the display column, the
    // properties at the real one.
    TGridDrawState state;
    TFont font;
    TBrush brush;
    GetFontProperties(DisplayCol, RealCol, ARow, state, &font, &brush, true);
    if ((ARow < FixedRows() || DisplayCol < FixedCols()) && FActiveCellShow &&
        FActiveCellFont.Style().Contains(fsBold)) {
        TFontStyles st = font.Style();
        st.Include(fsBold);
        font.SetStyle(st);
    }
    if (FZoomFactor != 0) font.SetSize(font.Size() + FZoomFactor);
    cv->SetFont(font);
    cv->SetBrush(brush);
    if (kind == 3) GetCellText(RealCol, ARow, text);

    TRect r = CellRect(DisplayCol, ARow);
    if (FXYOffsetTopLeftOnly) {
        r.Left += FXYOffset.X;
        r.Top += FXYOffset.Y;
    } else {
        InflateRect(r, -FXYOffset.X, -FXYOffset.Y);
    }
    if (SB) r.Right -= 17;

    if (kind == 1) {
        if (!VS) r.Right = 65535;
        r.Bottom = 65535;
        return MeasureHTMLCell(RealCol, ARow, text, r);
    }

    const int angle = IsRotated(RealCol, ARow);
    int w = 0, h = 0;
    if (VS) {
        InflateRect(r, -2, -2);
        if (EditorMode() && Col() == DisplayCol && Row() == ARow && text.endsWith(QLatin1Char('\n')))
            text += QLatin1Char('w');
        TRect calc = r;
        const uint32_t flags = DT_CALCRECT | DT_EXPANDTABS | DT_NOPREFIX | DT_EDITCONTROL |
                               (angle != 0 ? DT_SINGLELINE : DT_WORDBREAK);
        h = cv->DrawText(text, calc, flags);
        w = r.Width();
    } else {
        int lines = 0;
        QString rest = text;
        do {
            QString line;
            if (FMultilinecells) CutFirstLine(rest, true, line);
            else {
                line = rest;
                rest.clear();
            }
            if (kind == 0 && FURLShow && !FURLFull) StripURLScheme(line);
            w = std::max(w, cv->TextWidth(line));
            ++lines;
        } while (!rest.isEmpty());
        h = cv->TextHeight(QStringLiteral("gh")) * lines;
    }
    if (angle != 0) {
        const double a = angle * M_PI / 180.0;
        const int wc = std::abs(int(w * std::cos(a))), hs = std::abs(int(h * std::sin(a)));
        const int ws = std::abs(int(w * std::sin(a))), hc = std::abs(int(h * std::cos(a)));
        w = std::abs(hs - wc) + 12;
        h = std::abs(hc - ws) + 12;
    }
    return {w, h};
}
