// Property setters of the string grid that do more than store a value, its header lists,
// listeners and zoom.
#include "grid/base/html_text.h"
#include "grid/base/text_packing.h"
#include "grid/control/pro_inplace_edit.h"
#include "grid/control/pro_string_grid.h"

#include <algorithm>

void TProStringGrid::SetSelectionColorMixerFactor(int v) { SetChanged(FSelectionColorMixerFactor, std::clamp(v, 0, 100)); }

void TProStringGrid::SetHighlightColor(TColor v)
{
    if (v == FHighlightColor) return;
    FHighlightColor = v;
    SetHTMLHighlightColors(FHighlightColor, FHighLightTextColor);
    Invalidate();
}

void TProStringGrid::SetHighlightTextColor(TColor v)
{
    if (v == FHighLightTextColor) return;
    FHighLightTextColor = v;
    SetHTMLHighlightColors(FHighlightColor, FHighLightTextColor);
    Invalidate();
}

void TProStringGrid::SetShowSelection(bool v)
{
    if (v == FShowSelection) return;
    FShowSelection = v;
    FShowSel = v;
    Invalidate();
}

void TProStringGrid::SetMaxEditLength(int v)
{
    FMaxEditLength = v;
    if (TProInplaceEdit* e = NormalEdit()) e->setMaxLength(v > 0 ? v : 32767);
}

void TProStringGrid::SetVAlignment(TVAlignment v)
{
    FVAlignment = v;
    FVAlign = v == vtaCenter ? 4u : v == vtaBottom ? 8u : 0u;
    if (!LockUpdate()) Invalidate();
}

void TProStringGrid::SetSpreadSheet(bool v)
{
    FSpreadSheet = v;
    // Whatever the value: spreadsheet selection and editing are switched on.
    SetSelectionRectangle(true);
    SetSelectionResizer(true);
    FNavigation->SetAllowSmartClipboard(true);
    SetOptions(Options() + goRangeSelect + goEditing);
    FMouseActions->SetRangeSelectAndEdit(true);
}

void TProStringGrid::SetAutoThemeAdapt(bool v)
{
    if (v == FAutoThemeAdapt) return;
    FAutoThemeAdapt = v;
    FSearchFooter->SetAutoThemeAdapt(v);
    if (v) {
        UpdateOfficeTheme();
        Invalidate();
    }
    if (FDesigning || FLoading || !HandleAllocated()) return;
    if (v) GetThemeNotifier(this)->RegisterWindow(this);
    else GetThemeNotifier(this)->UnRegisterWindow(this);
}

void TProStringGrid::SetIntegralHeight(bool v)
{
    FIntegralHeight = v;
    SetBounds(x(), y(), width(), height());
}

void TProStringGrid::SetUseHTMLHints(bool v)
{
    FUseHTMLHints = v;
    SetApplicationHintWindowClass(v ? THintWindowClass([] { return new THTMLHintWindow; }) : THintWindowClass());
}

void TProStringGrid::SetGridCursor(TCursor v)
{
    SetCursor(v);
    FOldCursor = v;
}

void TProStringGrid::SetGridSelection(const TGridRect& v)
{
    SetSelection(v);
    if (FActiveCellShow) {
        InvalidateRow(0);
        InvalidateCol(0);
    }
    if (ActiveRowShow()) InvalidateRow(v.Bottom);
}

QString TProStringGrid::VersionText(int VersionNr)
{
    const unsigned v = unsigned(VersionNr);
    return QStringLiteral("%1.%2.%3.%4").arg(v >> 24).arg((v >> 16) & 0xFF).arg((v >> 8) & 0xFF).arg(v & 0xFF);
}

// ---- headers ------------------------------------------------------------------------------

void TProStringGrid::SetColumnHeaderList(const QStringList& v)
{
    if (FixedRows() > 0) ClearColumnHeaders();
    FColumnHeaders->SetStrings(v);
}

void TProStringGrid::SetRowHeaderList(const QStringList& v)
{
    if (FDesigning && FixedCols() > 0) ClearRowHeaders();
    FRowHeaders->SetStrings(v);
}

void TProStringGrid::ShowColumnHeaders()
{
    if (FixedRows() == 0) return;
    const QStringList& h = FColumnHeaders->Strings();
    for (int i = 0; i < h.size() && i < TotalColCount(); ++i) SetCells(i, 0, BackslashNToCR(h[i]));
}

void TProStringGrid::ShowRowHeaders()
{
    if (FixedCols() == 0) return;
    const QStringList& h = FRowHeaders->Strings();
    for (int i = 0; i < h.size() && i < RowCount(); ++i) SetCells(0, i, BackslashNToCR(h[i]));
}

void TProStringGrid::ClearColumnHeaders()
{
    if (RowCount() == 0) return;
    for (int i = 0; i < ColCount(); ++i) SetCells(i, 0, QString());
}

void TProStringGrid::ClearRowHeaders()
{
    if (ColCount() == 0) return;
    for (int i = 0; i < RowCount(); ++i) SetCells(0, i, QString());
}

// ---- listeners ----------------------------------------------------------------------------

void TProStringGrid::RegisterNotifier(TObject* ANotifier)
{
    if (ANotifier && std::find(FNotifierList.begin(), FNotifierList.end(), ANotifier) == FNotifierList.end())
        FNotifierList.push_back(ANotifier);
}

void TProStringGrid::UnRegisterNotifier(TObject* ANotifier) { std::erase(FNotifierList, ANotifier); }

// ---- print layout -------------------------------------------------------------------

int TProStringGrid::GetPrintColWidth(int ACol) const
{
    if (ACol < 0 || ACol >= int(MaxWidths.size())) throw EProGridError(QStringLiteral("Columns is not in valid range"));
    return MaxWidths[size_t(ACol)];
}

int TProStringGrid::GetPrintColOffset(int ACol) const
{
    if (ACol < 0 || ACol >= int(Indents.size())) throw EProGridError(QStringLiteral("Columns is not in valid range"));
    return Indents[size_t(ACol)];
}

// ---- sizing and dialog keys ---------------------------------------------------------------

void TProStringGrid::WMGetDlgCode(TMessage& m)
{
    TBaseGrid::WMGetDlgCode(m);
    if (FNavigation->AutoGotoWhenSorted() || !Options().Contains(goEditing)) m.Result |= DLGC_WANTCHARS;
}

void TProStringGrid::CalcSizingState(int X, int Y, TGridState& State, int& Index, int& SizingPos, int& SizingOfs,
                                     const TGridDrawInfo& FixedInfo)
{
    TBaseGrid::CalcSizingState(X, Y, State, Index, SizingPos, SizingOfs, FixedInfo);
    if (State == gsNormal) return;
    TGridCoord c = MouseCoord(X - 6, Y);
    if (c.Y >= 0 && c.Y < FixedRows() && c.X >= 0 && OnColumnSize) {
        bool allow = true;
        OnColumnSize(this, c.X, allow);
        if (!allow) {
            State = gsNormal;
            FSizeFixed = false;
        }
    }
    c = MouseCoord(X, Y - 6);
    if (c.X >= 0 && c.X < FixedCols() && c.Y >= 0 && OnRowSize) {
        bool allow = true;
        OnRowSize(this, c.Y, allow);
        if (!allow) State = gsNormal;
    }
}

bool TProStringGrid::IsOnSizingBorder(int X, int Y)
{
    const TGridCoord c = MouseCoord(X, Y);
    if (c.X < 0 || c.Y < 0) return false;
    const TRect r = CellRect(c.X, c.Y);
    if (c.Y <= FixedRows() && Options().Contains(goColSizing) && (std::abs(X - r.Left) < 4 || std::abs(X - r.Right) < 4))
        return true;
    if (c.X <= FixedCols() && Options().Contains(goRowSizing) && (std::abs(Y - r.Top) <= 3 || std::abs(Y - r.Bottom) <= 3))
        return true;
    return false;
}
