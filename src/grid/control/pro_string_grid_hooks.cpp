// The per-cell decisions (colour, border, alignment, editor, fixedness, editability ...):
// each hook applies the grid's own rules and per-cell properties, then lets the
// application's event decide.  Also the per-cell and row-wide property setters.
#include "grid/base/text_packing.h"
#include "grid/control/pro_string_grid.h"
#include "platform/core/sysutils.h"

// ---- hooks ---------------------------------------------------------------------------------

void TProStringGrid::GetCellHint(int ACol, int ARow, QString& HintStr, QString& WideHint)
{
    if (OnGridHint) OnGridHint(this, ARow, ACol, HintStr);
    if (OnGridWideHint) {
        OnGridWideHint(this, ARow, ACol, WideHint);
        if (!WideHint.isEmpty()) HintStr = PackWideText(WideHint);
    }
}

void TProStringGrid::GetCellColor(int ACol, int ARow, TGridDrawState AState, TBrush* ABrush, TFont* AFont)
{
    if (FActiveCellShow) {
        const int d = RealToDisplColumn(ACol);
        const bool rowHeader = ARow == Row() && FixedCols() > 0 && d == FixedCols() - 1;
        const bool colHeader = d == Col() && FixedRows() > 0 && ARow == FixedRows() - 1;
        if (rowHeader || colHeader) {
            AFont->Assign(FActiveCellFont);
            ABrush->SetColor(FActiveCellColor);
        }
    }
    if (HasCellProperties(ACol, ARow)) {
        TCellProperties* p = GetCellProperties(ACol, ARow);
        // A cell showing a graphic keeps its surroundings' background.
        if (p->BrushColor() != clNone && !p->GraphicObject()) ABrush->SetColor(p->BrushColor());
        if (p->FontColor() != clNone) AFont->SetColor(p->FontColor());
        if (!p->FontStyle().Empty()) AFont->SetStyle(p->FontStyle());
        if (p->FontSize() != 0) AFont->SetSize(p->FontSize());
        if (!p->FontName().isEmpty()) AFont->SetName(p->FontName());
    }
    if (OnGetCellColor) OnGetCellColor(this, ARow, ACol, AState, ABrush, AFont);
}

void TProStringGrid::GetCellPrintColor(int ACol, int ARow, TGridDrawState AState, TBrush* ABrush, TFont* AFont)
{
    if (OnGetCellPrintColor) OnGetCellPrintColor(this, ARow, ACol, AState, ABrush, AFont);
}

void TProStringGrid::GetCellBorder(int ACol, int ARow, TPen* APen, TCellBorders& Borders)
{
    // Group header rows are underlined and summary rows lined above, beside the node column.
    if (ACol > 0 && FGrouping->HeaderUnderline() && IsNode(ARow)) {
        Borders = TCellBorders{cbBottom};
        APen->SetColor(FGrouping->HeaderLineColor());
        APen->SetWidth(FGrouping->HeaderLineWidth());
    } else if (ACol > 0 && FGrouping->SummaryLine() && IsSummary(ARow)) {
        Borders = TCellBorders{cbTop};
        APen->SetColor(FGrouping->SummaryLineColor());
        APen->SetWidth(FGrouping->SummaryLineWidth());
    }
    if (OnGetCellBorder) OnGetCellBorder(this, ARow, ACol, APen, Borders);
}

void TProStringGrid::GetCellPrintBorder(int ACol, int ARow, TPen* APen, TCellBorders& Borders)
{
    if (OnGetCellPrintBorder) OnGetCellPrintBorder(this, ARow, ACol, APen, Borders);
}

void TProStringGrid::GetCellAlignHook(int ACol, int ARow, TAlignment& HAlign, TVAlignment& VAlign)
{
    if (ACol == 0 && FMouseActions->HotmailRowSelect()) HAlign = taCenter;
    if (OnGetAlignment) OnGetAlignment(this, ARow, ACol, HAlign, VAlign);
}

void TProStringGrid::GetColFormat(int ACol, TSortStyle& AStyle, QString& Prefix, QString& Suffix)
{
    if (OnGetFormat) OnGetFormat(this, ACol, AStyle, Prefix, Suffix);
}

void TProStringGrid::GetCellEditorType(int ACol, int ARow, TEditorType& AEditor)
{
    if (OnGetEditorType) OnGetEditorType(this, ACol, ARow, AEditor);
}

void TProStringGrid::GetCellEditor(int ACol, int ARow, TEditorType& AEditor)
{
    if (OnGetEditorType) OnGetEditorType(this, ACol, ARow, AEditor);
}

bool TProStringGrid::IsNoEditorCell(int ACol, int ARow)
{
    if (!OnGetEditorType) return false;
    TEditorType e = edNormal;
    OnGetEditorType(this, ACol, ARow, e);
    return e == edNone;
}

void TProStringGrid::IsFixedCell(int ACol, int ARow, bool& IsFixed)
{
    if (!IsFixed)
        IsFixed = ACol < FixedCols() || ARow < FixedRows() || (FFixedRowAlways && RowCount() == FFixedRowsMin) ||
                  (FFixedColAlways && ColCount() == FFixedColsMin);
    if (!IsFixed && OnIsFixedCell) OnIsFixedCell(this, ARow, ACol, IsFixed);
}

void TProStringGrid::CanEditCell(int ACol, int ARow, bool& CanEdit)
{
    int bx = ACol, by = ARow;
    ResolveBaseCell(ACol, ARow, bx, by);
    if (CanEdit && HasCellProperties(bx, by)) {
        CanEdit = !GetCellProperties(bx, by)->ReadOnly();
        if (!Options().Contains(goEditing) && !FEditDisable && !FMouseActions->RangeSelectAndEdit()) CanEdit = false;
    }
    if (bx < TotalColCount()) CanEditCellEvent(bx, by, CanEdit);
    else CanEdit = true;
}

void TProStringGrid::CanEditCellEvent(int ACol, int ARow, bool& CanEdit)
{
    if (OnCanEditCell) OnCanEditCell(this, ARow, ACol, CanEdit);
}

void TProStringGrid::IsPasswordCellHook(int ACol, int ARow, bool& IsPassword)
{
    if (OnIsPasswordCell) OnIsPasswordCell(this, ARow, ACol, IsPassword);
}

void TProStringGrid::GetWordWrapHook(int ACol, int ARow, bool& AWordWrap)
{
    if (OnGetWordWrap) OnGetWordWrap(this, ACol, ARow, AWordWrap);
}

bool TProStringGrid::HasComboBox(int ACol, int ARow)
{
    bool answer = false;
    if (OnHasComboBox) OnHasComboBox(this, ACol, ARow, answer);
    return answer;
}

bool TProStringGrid::HasSpinEdit(int ACol, int ARow)
{
    if (ACol < FixedCols() || ARow < FixedRows()) return false;
    bool answer = false;
    if (OnHasSpinEdit) OnHasSpinEdit(this, ACol, ARow, answer);
    return answer;
}

void TProStringGrid::GetCheckTrue(int ACol, int ARow, QString& Value)
{
    Value = FCheckTrue;
    if (OnGetCheckTrue) OnGetCheckTrue(this, ACol, ARow, Value);
}

void TProStringGrid::GetCheckFalse(int ACol, int ARow, QString& Value)
{
    Value = FCheckFalse;
    if (OnGetCheckFalse) OnGetCheckFalse(this, ACol, ARow, Value);
}

// ---- per-cell property arrays ----------------------------------------------------------------

namespace {
template <class T, class Get>
T ReadProp(TProStringGrid* g, int ACol, int ARow, T unset, Get get)
{
    return g->HasCellProperties(ACol, ARow) ? get(g->GetCellProperties(ACol, ARow)) : unset;
}
}

TColor TProStringGrid::GetColors(int ACol, int ARow)
{
    return ReadProp(this, ACol, ARow, TColor(clNone), [](TCellProperties* p) { return p->BrushColor(); });
}

void TProStringGrid::SetColors(int ACol, int ARow, TColor AColor)
{
    GetCellProperties(ACol, ARow)->SetBrushColor(AColor);
    if (FUpdateCount == 0) InvalidateCell(RealToDisplColumn(ACol), ARow);
}

TColor TProStringGrid::GetColorsTo(int ACol, int ARow)
{
    return ReadProp(this, ACol, ARow, TColor(clNone), [](TCellProperties* p) { return p->BrushColorTo(); });
}

void TProStringGrid::SetColorsTo(int ACol, int ARow, TColor AColor)
{
    GetCellProperties(ACol, ARow)->SetBrushColorTo(AColor);
    InvalidateCell(RealToDisplColumn(ACol), ARow);
}

TColor TProStringGrid::GetFontColors(int ACol, int ARow)
{
    return ReadProp(this, ACol, ARow, TColor(clNone), [](TCellProperties* p) { return p->FontColor(); });
}

void TProStringGrid::SetFontColors(int ACol, int ARow, TColor AColor)
{
    GetCellProperties(ACol, ARow)->SetFontColor(AColor);
    InvalidateCell(RealToDisplColumn(ACol), ARow);
}

TFontStyles TProStringGrid::GetFontStyles(int ACol, int ARow)
{
    return ReadProp(this, ACol, ARow, TFontStyles(), [](TCellProperties* p) { return p->FontStyle(); });
}

void TProStringGrid::SetFontStyles(int ACol, int ARow, TFontStyles AStyle)
{
    GetCellProperties(ACol, ARow)->SetFontStyle(AStyle);
    InvalidateCell(RealToDisplColumn(ACol), ARow);
}

int TProStringGrid::GetFontSizes(int ACol, int ARow)
{
    return ReadProp(this, ACol, ARow, 0, [](TCellProperties* p) { return p->FontSize(); });
}

void TProStringGrid::SetFontSizes(int ACol, int ARow, int ASize)
{
    GetCellProperties(ACol, ARow)->SetFontSize(ASize);
    InvalidateCell(RealToDisplColumn(ACol), ARow);
}

QString TProStringGrid::GetFontNames(int ACol, int ARow)
{
    return ReadProp(this, ACol, ARow, QString(), [](TCellProperties* p) { return p->FontName(); });
}

void TProStringGrid::SetFontNames(int ACol, int ARow, const QString& AName)
{
    GetCellProperties(ACol, ARow)->SetFontName(AName);
    InvalidateCell(RealToDisplColumn(ACol), ARow);
}

TAlignment TProStringGrid::GetAlignments(int ACol, int ARow)
{
    return ReadProp(this, ACol, ARow, taLeftJustify, [](TCellProperties* p) { return p->Alignment(); });
}

void TProStringGrid::SetAlignments(int ACol, int ARow, TAlignment AAlignment)
{
    GetCellProperties(ACol, ARow)->SetAlignment(AAlignment);
    InvalidateCell(RealToDisplColumn(ACol), ARow);
}

bool TProStringGrid::GetReadOnly(int ACol, int ARow)
{
    return ReadProp(this, ACol, ARow, false, [](TCellProperties* p) { return p->ReadOnly(); });
}

void TProStringGrid::SetReadOnly(int ACol, int ARow, bool Value)
{
    GetCellProperties(ACol, ARow)->SetReadOnly(Value);
    InvalidateCell(RealToDisplColumn(ACol), ARow);
}

TCellGradientDirection TProStringGrid::GetGradientDir(int ACol, int ARow)
{
    return ReadProp(this, ACol, ARow, GradientVertical, [](TCellProperties* p) { return p->GradientDirection(); });
}

void TProStringGrid::SetGradientDir(int ACol, int ARow, TCellGradientDirection Value)
{
    GetCellProperties(ACol, ARow)->SetGradientDirection(Value);
    InvalidateCell(RealToDisplColumn(ACol), ARow);
}

bool TProStringGrid::GetWordWraps(int ACol, int ARow) { return GetCellProperties(ACol, ARow)->WordWrap(); }

void TProStringGrid::SetWordWraps(int ACol, int ARow, bool Value)
{
    GetCellProperties(ACol, ARow)->SetWordWrap(Value);
    InvalidateCell(RealToDisplColumn(ACol), ARow);
}

void TProStringGrid::SetCellFont(int ACol, int ARow, TFont* AFont)
{
    TCellProperties* p = GetCellProperties(ACol, ARow);
    p->SetFontName(AFont->Name());
    p->SetFontSize(AFont->Size());
    p->SetFontStyle(AFont->Style());
    p->SetFontColor(AFont->Color());
    if (FUpdateCount == 0) InvalidateCell(RealToDisplColumn(ACol), ARow);
}

QWidget* TProStringGrid::GetCellControls(int ACol, int ARow)
{
    return ReadProp(this, ACol, ARow, static_cast<QWidget*>(nullptr), [](TCellProperties* p) { return p->Control(); });
}

void TProStringGrid::SetCellControls(int ACol, int ARow, QWidget* AControl)
{
    const int realRow = DisplToRealRow(ARow);
    const bool had = GetCellControls(ACol, ARow) != nullptr;
    if (had) {
        const int i = FControlList->ControlIndex(ACol, realRow);
        if (i >= 0) FControlList->RemoveControl(i);
    }
    if (!AControl) {
        if (had) GetCellProperties(ACol, ARow)->SetControl(nullptr);
        return;
    }
    FControlList->AddControl(ACol, realRow, AControl);
    GetCellProperties(ACol, ARow)->SetControl(AControl);
    AControl->setParent(viewport());
    const TRect r = CellRect(RealToDisplColumn(ACol), ARow);
    AControl->setGeometry(r.Left - 1, r.Top - 1, r.Right - r.Left + 1, r.Bottom - r.Top + 1);
}

// ---- row-wide ------------------------------------------------------------------------------
// clNone takes back only that one setting: the cells keep their merges, read-only flags,
// editor kinds, user objects and graphics.

void TProStringGrid::SetRowColor(int ARow, TColor AColor)
{
    for (int c = FixedCols(); c < AllColCount(); ++c) {
        if (AColor != clNone) GetCellProperties(c, ARow)->SetBrushColor(AColor);
        else if (HasCellProperties(c, ARow)) GetCellProperties(c, ARow)->SetBrushColor(clNone);
    }
    InvalidateRow(ARow);
}

void TProStringGrid::SetRowColorTo(int ARow, TColor AColor)
{
    for (int c = FixedCols(); c < AllColCount(); ++c) {
        if (AColor != clNone) GetCellProperties(c, ARow)->SetBrushColorTo(AColor);
        else if (HasCellProperties(c, ARow)) GetCellProperties(c, ARow)->SetBrushColorTo(clNone);
    }
    InvalidateRow(ARow);
}

void TProStringGrid::SetRowFontColor(int ARow, TColor AColor)
{
    for (int c = FixedCols(); c < AllColCount(); ++c) {
        if (AColor != clNone) GetCellProperties(c, ARow)->SetFontColor(AColor);
        else if (HasCellProperties(c, ARow)) GetCellProperties(c, ARow)->SetFontColor(clNone);
    }
    InvalidateRow(ARow);
}
