// The mouse buttons on the string grid: what a left press and release hit and do, the
// platform's mouse steps with their fixed-cell editing, the double click and the right button.
#include "grid/base/number_routines.h"
#include "grid/base/text_packing.h"
#include "grid/control/grid_selection.h"
#include "grid/control/pro_string_grid.h"
#include "platform/ui/url_opener.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <algorithm>

namespace {

// The one modifier the press reports: Alt, else Shift, else Ctrl.
TShiftState StrongestModifier(TShiftState s)
{
    if (s.Contains(ssAlt)) return {ssAlt};
    if (s.Contains(ssShift)) return {ssShift};
    if (s.Contains(ssCtrl)) return {ssCtrl};
    return {};
}

}  // namespace

// A followed link goes to a cell ("CELL://R<row>C<col>"), to the desktop's browser or mail
// program (http, https, mailto), or nowhere but the anchor event: a link in cell text may
// come from a file, and must never start a program or open a local file.
TProStringGrid::TAnchorTarget TProStringGrid::AnchorTarget(const QString& Anchor)
{
    const QString a = Anchor.trimmed();
    if (a.toUpper().contains(QStringLiteral("CELL://"))) return atCell;
    const int colon = int(a.indexOf(QLatin1Char(':')));
    if (colon <= 0) return atEventOnly;
    const QString scheme = a.left(colon).toLower();
    if (scheme == QLatin1String("mailto")) return a.size() > colon + 1 ? atBrowser : atEventOnly;
    if ((scheme == QLatin1String("http") || scheme == QLatin1String("https")) &&
        a.mid(colon + 1).startsWith(QLatin1String("//")) && a.size() > colon + 3)
        return atBrowser;
    return atEventOnly;
}

void TProStringGrid::FollowAnchor(int ACol, int ARow, const QString& Anchor)
{
    (void)ACol;
    (void)ARow;
    switch (AnchorTarget(Anchor)) {
    case atBrowser: OpenURL(Anchor.trimmed()); break;
    case atCell: {
        const int at = int(Anchor.toUpper().indexOf(QStringLiteral("CELL://")));
        QPoint cell;
        if (ParseRCCellRef(Anchor.mid(at + 7), cell) && cell.x() >= 0 && cell.y() >= 0 && cell.x() < ColCount() &&
            cell.y() < RowCount()) {
            MoveColRow(cell.x(), cell.y(), true, true);
            ScrollInView(cell.x(), cell.y());
        }
        break;
    }
    case atEventOnly: break;
    }
}

// ---------------------------------------------------------------- message routing

void TProStringGrid::WMLButtonDown(TMessage& m)
{
    if (m.Msg == WM_LBUTTONDBLCLK) HandleLeftDoubleClick(m);
    else HandleLeftButtonDown(m);
}

void TProStringGrid::WMMouseButton(TMessage& m)
{
    switch (m.Msg) {
    case WM_LBUTTONUP: HandleLeftButtonUp(m); break;
    case WM_RBUTTONDOWN: HandleRightButtonDown(m); break;
    case WM_RBUTTONUP: HandleRightButtonUp(m); break;
    default: TBaseGrid::WMMouseButton(m); break;
    }
}

void TProStringGrid::ClickCell(int ARow, int ACol)
{
    if (OnClickCell) OnClickCell(this, ARow, ACol);
}

void TProStringGrid::CheckBoxClick(int ACol, int ARow, bool State)
{
    if (OnCheckBoxClick) OnCheckBoxClick(this, ACol, ARow, State);
}

void TProStringGrid::ClickSort(int ACol)
{
    if (OnClickSort) OnClickSort(this, ACol);
}

void TProStringGrid::ReportSelectionChange(const TGridRect& Old)
{
    const TGridRect s = Selection();
    if (!(s == Old)) SelectionChanged(s.Left, s.Top, s.Right, s.Bottom);
}

void TProStringGrid::FixedEdit(int ACol, int ARow, TGridFixedCellEditor& AEditor, QStringList& Values)
{
    if (OnFixedEdit) OnFixedEdit(this, ACol, ARow, AEditor, Values);
}

// ---------------------------------------------------------------- left press

bool TProStringGrid::SelectFixedCells(int ACol, int ARow, TShiftState Shift)
{
    const bool fixedRow = ARow < FixedRows(), fixedCol = ACol < FixedCols();
    const bool rangeSelect = Options().Contains(goRangeSelect);
    auto select = [this](TGridRect r) { SetSelection(r); };
    if (fixedRow && fixedCol && FMouseActions->AllSelect() && rangeSelect && FMouseSelectMode == msAll) {
        SetFocus();
        TGridRect r{FixedCols(), FixedRows(), ColCount() - 1, RowCount() - 1};
        BeforeSelectAll(r);
        select(r);
        if (FActiveCellShow) Invalidate();
        return true;
    }
    if (fixedCol && !fixedRow && FMouseActions->RowSelect() && FMouseSelectMode == msRow) {
        if (FMouseActions->DisjunctCellSelect()) FSelect->ClearCells();
        const int from = Shift.Contains(ssShift) ? FPressSelection.Top : ARow;
        select({FixedCols(), std::min(from, ARow), ColCount() - 1, std::max(from, ARow)});
        FMouseSelectStart = from;
        if (FActiveCellShow) Invalidate();
        return true;
    }
    if (fixedRow && !fixedCol && FMouseActions->ColSelect() && rangeSelect && FMouseSelectMode == msColumn) {
        int from = ACol;
        if (Shift.Contains(ssShift))
            from = ACol < FPressSelection.Left ? FPressSelection.Right : FPressSelection.Left;
        select({std::min(from, ACol), FixedRows(), std::max(from, ACol), RowCount() - 1});
        FMouseSelectStart = from;
        if (FActiveCellShow) Invalidate();
        return true;
    }
    if (fixedRow && !fixedCol) Movecell = ACol;
    else if (fixedCol && !fixedRow) Movecell = ARow;
    if (Movecell >= 0) {
        const TRect r = CellRect(ACol, ARow);
        MoveOfsX = Clickposx - r.Left;
        MoveOfsY = Clickposy - r.Top;
    }
    return false;
}

void TProStringGrid::HandleLeftButtonDown(TMessage& Message)
{
    const int X = LoSigned(Message.LParam), Y = HiSigned(Message.LParam);
    const TShiftState Shift = KeysToShiftState(int(Message.WParam));
    const TShiftState strongest = StrongestModifier(Shift);
    FDoOnClick = FMouseDownMove = FMouseKeepDown = true;
    FSpinUpClick = FSpinDnClick = false;
    RepaintListViewHeaders(false);
    // the hovered fixed cell takes its pressed look
    if (FHoverFixedX >= 0 && FHoverFixedY >= 0) InvalidateCell(FHoverFixedX, FHoverFixedY);
    ColSized = Rowsized = false;
    // widths set by code before this press are no sizing by the mouse
    ColSizeFlg = false;
    FPressSelection = Selection();
    if (PressSelectionHandle(X, Y, Message)) return;

    int c = -1, r = -1;
    MouseToCell(X, Y, c, r);
    if (Options().Contains(goEditing) && FMouseActions->RangeSelectAndEdit() && !PointInGridRect(c, r, Selection()))
        SetOptions(Options() - goEditing);
    if (OnCanClickCell) {
        bool allow = true;
        OnCanClickCell(this, r, c, allow);
        if (!allow) return;
    }
    if (FCellSelectorMode) {
        CellSelectorClick(c, r);
        return;
    }
    if (FMouseActions->DisjunctCellSelect() && !(strongest == TShiftState{ssCtrl}) && c >= 0 && r >= 0 &&
        !IsFixed(c, r)) {
        FSelect->ClearCells();
        Invalidate();
    }

    SearchInc.clear();
    FMoveColInd = FMoveRowInd = -1;
    FSelectionClick = false;
    FPushedCellButton = {-1, -1};
    FOldKeepLeftCol = LeftCol();
    FOldTopRow = TopRow();
    NoteSizingPress(X, Y, c, r);

    if (c < 0 || r < 0) {
        HideEditor();
        if (!FFixedRowAlways) TBaseGrid::WMLButtonDown(Message);
        return;
    }
    TLeftPress P{X, Y, Shift, c, r, BaseCell(c, r)};
    P.RealCol = RealColIndex(P.Base.X);
    if (FMouseActions->CaretPositioning()) LButFlg = true;
    if (StartFixedSizing(X, Y)) return;

    P.Header = r < FixedRows() || c < FixedCols();
    P.Fixed = IsFixed(c, r);
    if (P.Header || P.Fixed) HideEditor();
    const TRect cr = CellRect(P.Base.X, P.Base.Y);
    if (FControlLook->SpinButtonsAlwaysVisible() && HasSpinEdit(P.RealCol, P.Base.Y) &&
        MirrorXInCell(X, cr) >= cr.Right - 18) {
        if (Y > cr.Top + (cr.Bottom - cr.Top) / 2) FSpinDnClick = true;
        else FSpinUpClick = true;
    }
    // The glyph of a node row expands or contracts it.
    if (HasNodes() && NodeGlyphPress(c, r, X, Y, Shift)) return;
    P.CellRect = CellRect(c, r);
    if (PressRadio(P)) return;
    if (PressDragStart(P)) return;
    // A press on a merged block selects its base cell.
    if (!P.Fixed && IsMergedCell(c, r) && !OnMouseDown)
        Message.LParam = MakeLParam(P.CellRect.Left + 2, P.CellRect.Top + 2);
    if (c >= ColCount() || r >= RowCount()) {
        TBaseGrid::WMLButtonDown(Message);
        return;
    }
    if (Colclicked >= 0 && Rowclicked >= 0) {
        const TRect k = CellRect(Colclicked, Rowclicked);
        Clickposdx = X - k.Right;
        Clickposdy = Y - k.Bottom;
    } else {
        Clickposdx = X;
        Clickposdy = Y;
    }

    if (PressDisjunctRowsCols(P, Message)) return;
    if (PressLink(P)) return;
    Movecell = -1;
    if (SelectFixedCells(c, r, Shift)) return;

    const bool editing = Options().Contains(goEditing) || FMouseActions->RangeSelectAndEdit();
    bool canEdit = editing;
    CanEditCell(P.RealCol, P.Base.Y, canEdit);
    // As for Space: the grid's editing switch decides first; a cell hook that answers from its
    // own settings alone (the column grid's) only narrows it.
    if (PressCheckBox(P, canEdit && editing)) return;
    PressCell(P, Message, canEdit);
}

// ---- a press on the selection that may become a drag of its cells (the drag starts when the
// mouse moves, input/hover_hints.cpp), or of its column from a header cell.

bool TProStringGrid::PressDragStart(const TLeftPress& P)
{
    if (!FDragDropSettings->OleDropSource() || Options().Contains(goEditing)) return false;
    const bool selected = !P.Header && PointInGridRect(P.Col, P.Row, Selection());
    if (!(selected || (P.Header && !FEnhRowColMove))) return false;
    if (HasButton(P.RealCol, P.Base.Y) || HasCheckBox(P.RealCol, P.Base.Y)) return false;
    if (P.Header && (FMouseActions->ColSelect() || FMouseActions->AllSelect())) return false;
    if (P.Col < FixedCols()) return false;
    if (Options().Contains(goColSizing) && (P.X - P.CellRect.Left <= 3 || P.CellRect.Right - P.X <= 3)) return false;
    SetFocus();
    if (OnMouseDown) OnMouseDown(this, mbLeft, P.Shift, P.X, P.Y);
    FSelectionClick = true;
    ClickCell(P.Row, P.Col);
    return true;
}

bool TProStringGrid::ReleaseSelectionClick(int ACol, int ARow, int X, int Y, TShiftState Shift)
{
    FSelectionClick = false;
    if (ACol < FixedCols() || ARow < FixedRows() || ACol >= ColCount() || ARow >= RowCount()) return false;
    const bool ctrl = Shift.Contains(ssCtrl);
    if (FMouseActions->DisjunctRowSelect()) {
        if (ctrl || FMouseActions->DisjunctRowSelectNoCtrl()) {
            const int flag = FMouseActions->RowSelectPersistent() ? RealRowIndex(ARow) : ARow;
            SetRowSelect(flag, !GetRowSelect(flag));
            if (OnMouseUp) OnMouseUp(this, mbLeft, {ssCtrl}, X, Y);
            return true;
        }
        ClearRowSelect();
    }
    // The press did not become a drag: the released cell is selected.
    if (Options().Contains(goRowSelect)) SetSelection({FixedCols(), ARow, ColCount() - 1, ARow});
    else SetSelection({ACol, ARow, ACol, ARow});
    return false;
}

// ---- the selection-resize handle: a press copies the selection, dragging sizes it, the
// release pastes the copy into it.

bool TProStringGrid::OnSelectionHandle(int X, int Y)
{
    if (!(FSelectionResizer && FSelectionRectangle)) return false;
    const TGridRect s = Selection();
    const TRect k = CellRect(s.Right, s.Bottom);
    return X >= k.Right - 6 && X <= k.Right && Y >= k.Bottom - 6 && Y <= k.Bottom;
}

bool TProStringGrid::PressSelectionHandle(int X, int Y, TMessage& Message)
{
    (void)Message;
    if (!OnSelectionHandle(X, Y)) return false;
    FDropSelection = Selection();
    CopySelectionToClipboard();
    FMouseResize = true;
    // The corner under the mouse follows it; the top-left cell stays where it is.
    const TGridRect s = FDropSelection;
    MoveCurrent(s.Left, s.Top, true, false);
    MoveAnchor({s.Right, s.Bottom});
    SetGridState(gsSelecting);
    MouseMove(KeysToShiftState(int(Message.WParam)), X, Y);
    Message.Result = 1;
    return true;
}

void TProStringGrid::ReleaseSelectionHandle()
{
    const TGridRect from = FDropSelection;
    if (OnSelectionResize) OnSelectionResize(this, from, Selection());
    const bool was = FEditDisable;
    FEditDisable = true;
    try {
        PasteSelectionFromClipboard();
    } catch (...) {
        FEditDisable = was;
        FMouseResize = false;
        throw;
    }
    FEditDisable = was;
    FMouseResize = false;
    if (OnSelectionResized) OnSelectionResized(this, from, Selection());
}

void TProStringGrid::NoteSizingPress(int X, int Y, int ACol, int ARow)
{
    // The cell whose right or bottom edge a sizing press may be on.
    if (ACol == 0) MouseToCell(X, Y - 4, Colclicked, Rowclicked);
    else if (ARow == 0) MouseToCell(X - 5, Y, Colclicked, Rowclicked);
    else MouseToCell(X - 5, Y - 4, Colclicked, Rowclicked);
    if (Colclicked >= 0 && Rowclicked >= 0) {
        Colclickedsize = ColWidths(Colclicked);
        Rowclickedsize = RowHeights(Rowclicked);
    }
    Clickposx = X;
    Clickposy = Y;
}

bool TProStringGrid::StartFixedSizing(int X, int Y)
{
    // The move handler found the edge of a fixed column or row under the mouse.
    if (FSizeFixed && !FDesigning) {
        FSizingFixed = true;
        FSizeFixedX = X;
        FSizingFixedCol = FixedEdgeIndex(true, X);
        DrawFixedSizingLine(true, X);
        return true;
    }
    if (FSizeFixedR && !FDesigning) {
        FSizingFixedR = true;
        FSizeFixedY = Y;
        FSizingFixedRow = FixedEdgeIndex(false, Y);
        DrawFixedSizingLine(false, Y);
        return true;
    }
    return false;
}

bool TProStringGrid::PressRadio(const TLeftPress& P)
{
    if (!IsRadio(P.RealCol, P.Base.Y)) return false;
    bool editable = true;
    CanEditCell(P.RealCol, P.Base.Y, editable);
    if (!editable && !FControlLook->RadioAlwaysActive()) return false;
    HideEditor();
    ClickRadioAt(P.RealCol, P.Base.Y, P.X - P.CellRect.Left, P.Y - P.CellRect.Top);
    SetFocus();
    return true;
}

bool TProStringGrid::PressDisjunctRowsCols(const TLeftPress& P, TMessage& Message)
{
    // A plain press starts afresh, Ctrl unflags a flagged row or column at the release.
    const int c = P.Col, r = P.Row;
    const int flagRow = FMouseActions->RowSelectPersistent() ? RealRowIndex(r) : r;
    if (FMouseActions->DisjunctRowSelect() && r >= FixedRows() && !(c == 0 && FMouseActions->HotmailRowSelect())) {
        if (P.Shift.Contains(ssShift)) {
            TBaseGrid::WMLButtonDown(Message);
            SetSelection({std::min(c, FPressSelection.Left), std::min(r, FPressSelection.Top),
                          std::max(c, FPressSelection.Left), std::max(r, FPressSelection.Top)});
            return true;
        }
        if (P.Shift.Contains(ssCtrl) || FMouseActions->DisjunctRowSelectNoCtrl()) {
            if (GetRowSelect(flagRow)) FDeselectState = true;
        } else {
            FMouseDown = true;
            if (!P.Shift.Contains(ssAlt)) ClearRowSelect();
        }
    }
    if (FMouseActions->DisjunctColSelect() && c >= FixedCols()) {
        if (P.Shift.Contains(ssCtrl) && GetColSelect(c)) {
            FDeselectState = true;
        } else {
            FMouseDown = true;
            ClearColSelect();
        }
    }
    return false;
}

bool TProStringGrid::PressLink(const TLeftPress& P)
{
    // A plain URL cell, or an anchor or form control of mini-HTML text.
    const QString text = Cells(P.RealCol, P.Base.Y);
    const int kind = CellTextKind(text, FEnableHTML);
    QString anchor;
    if (FURLShow && kind == 0 && IsURLText(text)) anchor = text;
    else if (kind == 1 && PressCellControl(P.Base.X, P.Base.Y, P.X, P.Y)) return true;
    else if (kind == 1) anchor = AnchorAt(P.Base.X, P.Base.Y, P.X, P.Y);
    if (!anchor.isEmpty()) {
        bool autoHandle = true;
        if (OnAnchorClick) OnAnchorClick(this, P.Base.Y, P.RealCol, anchor, autoHandle);
        if (autoHandle) FollowAnchor(P.Col, P.Row, anchor);
        return true;
    }
    if (kind == 1 && text.contains(QStringLiteral("<CONTROL"))) {
        ClickCell(P.Row, P.Col);
        HideEditor();
        SetSelection({P.Col, P.Row, P.Col, P.Row});
        return true;
    }
    return false;
}

bool TProStringGrid::PressCheckBox(const TLeftPress& P, bool CanEdit)
{
    const int c = P.Col, r = P.Row, rc = P.RealCol, br = P.Base.Y;
    const bool hotmail = c == 0 && FMouseActions->HotmailRowSelect();
    if (!(CanEdit || FControlLook->CheckAlwaysActive() || hotmail) ||
        !(HasCheckBox(rc, br) || HasRadioButton(rc, br)) || !IsInCheckBox(rc, br, P.X, P.Y))
        return false;
    HideEditor();
    SetFocus();
    if (HasRadioButton(rc, br)) {
        if (ToggleRadioButton(rc, br, true) && OnRadioButtonClick) OnRadioButtonClick(this, rc, br);
    } else {
        ToggleCheck(rc, br, true);
    }
    bool state = false;
    GetCheckBoxState(rc, RealRowIndex(br), state);
    if (!FNavigation->AlwaysEdit() && !P.Fixed) MoveColRow(c, r, true, true);
    CheckBoxClick(c, r, state);
    if (FHideFocusRect) RepaintCell(c, r);
    // A check box in a header row sets the whole column.
    if (r < FixedRows() && FMouseActions->CheckAllCheck()) {
        for (int row = FixedRows(); row < RowCount(); ++row) SetCheckBoxState(rc, RealRowIndex(row), state);
        Invalidate();
    }
    if (OnMouseDown) OnMouseDown(this, mbLeft, P.Shift, P.X, P.Y);
    Click();
    return true;
}

void TProStringGrid::PressCell(const TLeftPress& P, TMessage& Message, bool CanEdit)
{
    const int c = P.Col, r = P.Row, X = P.X, Y = P.Y;
    const TRect& cellRect = P.CellRect;
    const bool fixed = P.Fixed;
    const bool combo = FControlLook->DropDownAlwaysVisible() && !fixed && HasComboBox(P.RealCol, P.Base.Y);
    const bool dblOnly = FMouseActions->EditOnDblClickOnly();
    const bool directEdit = (CanEdit || (dblOnly && combo)) && (FMouseActions->DirectEdit() || combo);
    if (!fixed && directEdit) {
        HideEditor();
        SetFocus();
    }

    const TGridRect sel = Selection();
    const bool sameCell = PtInRect(cellRect, {X, Y}) && sel == TGridRect{P.Base.X, P.Base.Y, P.Base.X, P.Base.Y};
    bool editingOff = false;
    if (!sameCell && FMouseActions->RangeSelectAndEdit() && !fixed && !CanEdit && Options().Contains(goEditing)) {
        SetOptions(Options() - goEditing);
        editingOff = true;
    }
    if (fixed && !P.Header) {
        ClickCell(r, c);
        return;
    }

    if (!FSelHidden) {
        const bool alwaysEdit = FNavigation->AlwaysEdit();
        FNavigation->SetAlwaysEdit(false);
        const int top = TopRow();
        TBaseGrid::WMLButtonDown(Message);
        FNavigation->SetAlwaysEdit(alwaysEdit);
        if (FMouseActions->NoScrollOnPartialRow() && TopRow() != top) SetTopRow(top);
    }

    const bool sizingPress = r < FixedRows() && Options().Contains(goColSizing) &&
                             (X - cellRect.Left < 4 || cellRect.Right - X < 4);
    if (!sizingPress) ClickCell(r, c);

    if (!fixed && IsMergedCell(c, r) && (sameCell || FMouseActions->DirectEdit()) && CanEdit) ShowEditor();
    if (!fixed && directEdit && X > cellRect.Left + 3 && X < cellRect.Right - 3 && !HasClickControl(P.RealCol, P.Base.Y)) {
        if (dblOnly && combo) {
            SetOptions(Options() + goEditing);
            SetFocus();
        }
        SetSelection({P.Base.X, P.Base.Y, P.Base.X, P.Base.Y});
        ShowEditor();
    }
    if (editingOff) SetGridState(gsSelecting);
}

// ---------------------------------------------------------------- radio groups

void TProStringGrid::ClickRadioAt(int ACol, int ARow, int X, int Y)
{
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g || g->CellType() != ctRadio) return;
    const int dc = RealToDisplColumn(ACol);
    if (!IsFixed(dc, ARow)) MoveColRow(dc, ARow, true, true);
    auto* options = dynamic_cast<TGridStrings*>(g->CellBitmap());
    if (!options) return;
    TCanvas* cv = Canvas();
    cv->Font()->Assign(*GetCellFont(ACol, ARow));
    const TControlStyle style = FControlLook->ControlStyle();
    const int glyph = style == csWinXP || style == csTheme ? 16 : FControlLook->RadioSize();
    const bool horizontal = g->CellBoolean();
    int start = 0;
    for (int i = 0; i < options->Count(); ++i) {
        const int span = horizontal ? cv->TextWidth((*options)[i]) + glyph
                                    : std::max(glyph, cv->TextHeight(QStringLiteral("gh")));
        const int p = horizontal ? X : Y;
        if (p > start && p <= start + span) {
            // The text written back once tells the cell's listeners of the change.
            SetCells(ACol, ARow, (*options)[i]);
            SetRadioIdx(ACol, ARow, i);
            if (OnRadioClick) OnRadioClick(this, ACol, ARow, i);
            return;
        }
        start += span;
    }
}

// ---------------------------------------------------------------- left release

void TProStringGrid::HandleLeftButtonUp(TMessage& Message)
{
    const int X = LoSigned(Message.LParam), Y = HiSigned(Message.LParam);
    const TShiftState Shift = KeysToShiftState(int(Message.WParam));
    const bool movedOrSized = ColMoveFlg || ColSizeFlg || ColSized || Rowsized;
    ColMoveFlg = ColSizeFlg = FMouseDown = FMouseKeepDown = false;
    FMouseSelectMode = msNormal;
    if (FCtrlDown) {
        // a held button control of mini-HTML text is let go
        FCtrlDown = false;
        InvalidateCell(FCtrlXY.X, FCtrlXY.Y);
    }
    FMouseDownMove = false;
    RepaintListViewHeaders(true);
    if (FHoverFixedX >= 0 && FHoverFixedY >= 0) InvalidateCell(FHoverFixedX, FHoverFixedY);
    FMouseSelectStart = -1;
    if (!FDesigning) HideMoveArrows();

    if (FSizingFixed) {
        DrawFixedSizingLine(true, FSizeFixedX);
        FSizingFixed = FSizeFixed = false;
        if (FSizingFixedCol >= 0) {
            int left = 0;
            for (int i = 0; i < FSizingFixedCol; ++i) left += ColWidths(i);
            int w = std::max(0, X - left);
            SetColWidths(FSizingFixedCol, w);
            if (OnEndColumnSize) OnEndColumnSize(this, FSizingFixedCol);
            const int asked = w;
            if (OnUpdateColumnSize) OnUpdateColumnSize(this, FSizingFixedCol, w);
            if (w != asked) SetColWidths(FSizingFixedCol, std::max(0, w));
        }
        return;
    }
    if (FSizingFixedR) {
        DrawFixedSizingLine(false, FSizeFixedY);
        FSizingFixedR = FSizeFixedR = false;
        if (FSizingFixedRow >= 0) {
            int top = 0;
            for (int i = 0; i < FSizingFixedRow; ++i) top += RowHeights(i);
            SetRowHeights(FSizingFixedRow, std::max(0, Y - top));
            if (OnEndRowSize) OnEndRowSize(this, FSizingFixedRow);
        }
        return;
    }

    int c = -1, r = -1;
    MouseToCell(X, Y, c, r);
    if (FScrollHintShow) {
        FScrollHintWnd->hide();
        FScrollHintShow = false;
    }

    if (FDoOnClick && (r >= 0 && r < FixedRows() || c >= 0 && c < FixedCols())) {
        TGridDrawInfo info;
        CalcDrawInfo(info);
        TGridState edge = gsNormal;
        int idx = -1, pos = 0, ofs = 0;
        CalcSizingState(X, Y, edge, idx, pos, ofs, info);
        if (!(r < FixedRows() && edge == gsColSizing) && OnClick) OnClick(this);
    }
    FDoOnClick = false;

    if (FMouseActions->DisjunctRowSelect() && c >= 0 && r >= 0) {
        if (!(c == 0 && FMouseActions->HotmailRowSelect())) SelectionToRowSelect(false);
        if (r >= FixedRows() && FDeselectState) {
            SetRowSelect(FMouseActions->RowSelectPersistent() ? RealRowIndex(r) : r, false);
        }
        FDeselectState = false;
    }
    if (FMouseActions->DisjunctColSelect()) {
        SelectionToColSelect(false);
        if (FDeselectState && c >= FixedCols()) SetColSelect(c, false);
        FDeselectState = false;
    }

    if (FSelectionClick && ReleaseSelectionClick(c, r, X, Y, Shift)) return;

    // An enhanced column or row move ends here, and no sorting follows.
    const bool moveEnded = EndEnhancedMove();

    // The platform ends a selecting press (back to gsNormal, then its Click).
    TBaseGrid::WMMouseButton(Message);
    if (FMouseResize) ReleaseSelectionHandle();
    // A click on an expanded group header selects its group; after the platform's own release,
    // which would set the selection back to the clicked cell.
    if (c > 0 && r >= FixedRows() && r < RowCount() && FGrouping->AutoSelectGroup() && IsNode(r) && !GetNodeState(r)) {
        const int last = std::min(RowCount() - 1, r + std::max(1, GetNodeSpan(r)) - 1);
        if (FMouseActions->DisjunctRowSelect()) {
            for (int k = r + 1; k <= last; ++k)
                SetRowSelect(FMouseActions->RowSelectPersistent() ? RealRowIndex(k) : k, true);
            Invalidate();
        } else {
            SetSelection({FixedCols(), r, ColCount() - 1, last});
        }
    }

    if (movedOrSized || moveEnded || c < 0 || r < 0) return;
    const int rc = RealColIndex(c);
    if (c < FixedCols() && !FSortSettings->FixedCols()) return;
    if (HasCheckBox(rc, r) && OnCheckBoxMouseUp) {
        bool state = false;
        GetCheckBoxState(rc, RealRowIndex(r), state);
        OnCheckBoxMouseUp(this, rc, r, state);
    }
    if (IsRadio(rc, r) && OnRadioMouseUp) {
        int idx = -1;
        GetRadioIdx(rc, r, idx);
        OnRadioMouseUp(this, rc, r, idx);
    }
    if (FDblClk) {
        FDblClk = false;
        return;
    }
    const TRect cr = CellRect(c, r);
    if (r == 0 && Options().Contains(goColSizing) && (X - cr.Left < 4 || cr.Right - X < 4)) return;
    if ((X > cr.Right - 16 && FControlLook->FixedDropDownButton() && CanShowFixedDropDown(rc)) ||
        (MirrorXInCell(X, cr) > cr.Right - 16 && GetFilterList(rc)))
        return;

    // A click on the sort row sorts by the column.
    int pc = -1, pr = -1;
    MouseToCell(Clickposx, Clickposy, pc, pr);
    TSortSettings* ss = FSortSettings.get();
    const bool onGlyph = HasCheckBox(rc, r) && IsInCheckBox(rc, r, X, Y);
    if (r != ss->Row() || pr != ss->Row() || FixedRows() <= 0 || onGlyph || !ss->Show() || RowCount() <= 2)
        return;
    bool doSort = !IsIgnoredColumn(rc);
    if (OnCanSort) OnCanSort(this, rc, doSort);
    if (!doSort) {
        RepaintCell(c, r);
        return;
    }
    HeaderClickSort(rc, Shift);
}

void TProStringGrid::HeaderClickSort(int ACol, TShiftState Shift)
{
    TSortSettings* ss = FSortSettings.get();
    HideEditor();
    if (FSortRowXRef->Count() != RowCount()) InitSortXRef();
    const bool merged = ss->AutoColumnMerge();
    if (merged) SplitAllColumnCells();
    QElapsedTimer clock;
    clock.start();
    const bool keepLeft = Options().Contains(goRowSelect) && FNavigation->KeepHorizScroll();
    const int left = LeftCol();
    if (keepLeft) BeginUpdate();
    const auto done = [&] {
        if (keepLeft) {
            SetLeftCol(left);
            EndUpdate();
        }
    };
    try {
        if (ss->IndexShow()) {
            TSortIndexList* idx = FSortIndexes.get();
            const bool key = Shift.Contains(ss->IndexSortKey() == ikCtrl ? ssCtrl : ssShift);
            if (key) {
                if (idx->FindIndex(ACol) >= 0) idx->ToggleIndex(ACol);
                else idx->AddIndex(ACol, ss->InitSortDirection() == sdAscending);
            } else if (idx->Count() == 1 && idx->SortColumns(0) == ACol) {
                idx->ToggleIndex(ACol);
            } else {
                idx->Clear();
                idx->AddIndex(ACol, ss->InitSortDirection() == sdAscending);
            }
            if (HasNodes()) QSortGroupIndexed();
            else QSortIndexed();
            ss->SetColumn(idx->Count() > 0 ? idx->SortColumns(0) : -1);
        } else {
            bool undo = false;
            if (ss->Column() == ACol) {
                const TSortDirection from = ss->Direction();
                if (from != ss->InitSortDirection() && ss->UndoSort()) undo = true;
                else ss->SetDirection(from == sdAscending ? sdDescending : sdAscending);
            } else {
                ss->SetColumn(ACol);
                ss->SetDirection(ss->InitSortDirection());
            }
            if (undo) {
                QUnSort();
                ss->SetColumn(-1);
            } else if (HasNodes()) {
                QSortGroup();
            } else {
                QSort();
            }
        }
    } catch (...) {
        done();
        if (merged) RemergeColumnCells();
        throw;
    }
    done();
    FSortTime = clock.elapsed();
    if (merged) RemergeColumnCells();
    if (FControlList->Count() > 0) CellControlsUpdate(false);
    ClickSort(ss->Column());
    Invalidate();
}

// ---------------------------------------------------------------- the platform's steps

void TProStringGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    int c = -1, r = -1;
    MouseToCell(X, Y, c, r);
    const bool dbl = Shift.Contains(ssDouble);
    if (FMouseActions->RangeSelectAndEdit() && Button == mbLeft && !FMouseActions->EditOnDblClickOnly() && !dbl &&
        c >= 0 && r >= 0) {
        const bool current = c == Col() && r == Row();
        if (current && !Options().Contains(goEditing)) {
            bool editable = true;
            CanEditCell(RealColIndex(c), r, editable);
            if (editable) {
                SetOptions(Options() + goEditing);
                TBaseGrid::MouseDown(Button, Shift, X, Y);
                ShowEditor();
                return;
            }
        } else if (!current && Shift.Contains(ssShift) && Options().Contains(goEditing)) {
            SetOptions(Options() - goEditing);
            TBaseGrid::MouseDown(Button, Shift, X, Y);
            return;
        }
    }

    // A press on a fixed cell's drop-down button opens its menu (filter_drop_down.cpp).
    if (!dbl && FixedDropDownMouseDown(Button, c, r, X)) return;

    FEditStart = true;
    if (Shift.Contains(ssShift) && FSelectionRectangle) InvalidateGridRect(Selection());
    TBaseGrid::MouseDown(Button, Shift, X, Y);
    FEditStart = false;

    if (c >= 0 && r >= 0 && !dbl) {
        const TRect cr = CellRect(c, r);
        const bool insideX = X > cr.Left + 4 && X < cr.Right - 4;
        const bool insideY = Y > cr.Top + 4 && Y < cr.Bottom - 4;
        const TGridFixedCellEdit rowsEdit = FMouseActions->FixedRowsEdit(), colsEdit = FMouseActions->FixedColsEdit();
        const bool fixedRow = r < FixedRows(), fixedCol = c < FixedCols();
        bool open = false;
        if (Button == mbLeft) {
            open = (fixedRow && rowsEdit == fceLeftClick && (!Options().Contains(goColSizing) || insideX)) ||
                   (fixedCol && colsEdit == fceLeftClick && (!Options().Contains(goRowSizing) || insideY));
        } else if (Button == mbRight) {
            open = (fixedRow && rowsEdit == fceRightClick) || (fixedCol && colsEdit == fceRightClick);
        }
        if (open) {
            EditFixedCell(c, r);
            return;
        }
    }
    if (TStringGrid* other = FSyncGrid->Grid()) {
        if (FSyncGrid->SelectionColumn() && Col() < other->ColCount()) other->SetCol(Col());
        if (FSyncGrid->SelectionRow() && Row() < other->RowCount()) other->SetRow(Row());
    }
}

void TProStringGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (FDesigning) {
        TBaseGrid::MouseUp(Button, Shift, X, Y);
        return;
    }
    int c = -1, r = -1;
    MouseToCell(X, Y, c, r);
    const int openFilterCol = FFilterCol;
    if (FFilterCol >= 0 && (r != FFilterDropDownRow || RealColIndex(c) == FFilterCol)) {
        if (FDropList) FDropList->hide();
        FFilterCol = -1;
    }
    // The filter row's drop-down list opens on its glyph (filter_drop_down.cpp).
    FilterDropDownMouseUp(c, r, X, Y, openFilterCol);
    FDropDownDown = false;

    // Released beyond the grid while sizing: the sizing is dropped.
    if ((GridState() == gsColSizing && X >= ClientWidth()) || (GridState() == gsRowSizing && Y >= ClientHeight())) {
        SetGridState(gsNormal);
        DrawSizingLine();
        return;
    }

    if (FMouseActions->DisjunctCellSelect() && Button == mbLeft && c >= 0 && r >= 0) {
        const TPoint b = BaseCell(c, r);
        auto repaintListed = [this] {
            for (int v : FSelect->CellKeys()) RepaintCell(TGridSelection::KeyCol(v), TGridSelection::KeyRow(v));
        };
        if (!IsFixed(b.X, b.Y)) {
            bool allow = true;
            if (OnSelectCell) OnSelectCell(this, b.X, b.Y, allow);
            if (!allow) return;
            if (Shift.Contains(ssShift)) {
                FSelect->SetCellSelected(c, r, true);
            } else if (Shift.Contains(ssCtrl)) {
                FSelect->ToggleCell(b.X, b.Y);
            } else {
                repaintListed();
                FSelect->ClearCells();
                FSelect->SetCellSelected(b.X, b.Y, true);
            }
        } else if (!Shift.Contains(ssCtrl)) {
            FSelect->ClearCells();
            Invalidate();
        }
        const TGridRect s = Selection();
        if (s.Left == s.Right && s.Top == s.Bottom) {
            RepaintCell(b.X, b.Y);
        } else {
            for (int x = s.Left; x <= s.Right; ++x)
                for (int y = s.Top; y <= s.Bottom; ++y)
                    if (!(x == b.X && y == b.Y)) FSelect->SetCellSelected(x, y, true);
            repaintListed();
            RepaintCell(b.X, b.Y);
        }
    }

    if (!(FColMoving && Button == mbRight)) TBaseGrid::MouseUp(Button, Shift, X, Y);
    // Reported against the selection at the press, once the platform has ended the press.
    if (Button == mbLeft || (Button == mbRight && FMouseActions->SelectOnRightClick()))
        ReportSelectionChange(FPressSelection);
}

// ---------------------------------------------------------------- double click

void TProStringGrid::HandleLeftDoubleClick(TMessage& Message)
{
    const int X = LoSigned(Message.LParam), Y = HiSigned(Message.LParam);
    int c = -1, r = -1;
    MouseToCell(X, Y, c, r);
    const bool range = FMouseActions->RangeSelectAndEdit();
    if (range && c >= 0 && r >= 0 && !HasClickControl(RealColIndex(c), r)) FForceSel = true;
    if (c < 0) {
        if (FFixedRowAlways) {
            TBaseGrid::WMLButtonDown(Message);
            return;
        }
        c = ColCount() - 1;
        r = 0;
    }
    if (r < 0) {
        TBaseGrid::WMLButtonDown(Message);
        return;
    }
    const int rc = RealColIndex(c);

    // A double click on a header edge fits the column left of the edge to its contents.
    if (r < FixedRows() && Options().Contains(goColSizing) && FMouseActions->AutoSizeColOnDblClick()) {
        const TRect cr = CellRect(c, r);
        int col = -1;
        if (X - cr.Left < 3 && c > FixedCols()) col = c - 1;
        else if (cr.Right - X < 3 && c >= FixedCols()) col = c;
        if (col >= 0) {
            FDblClk = true;
            bool allow = true;
            if (OnColumnSize) OnColumnSize(this, col, allow);
            if (allow) {
                AutoSizeCol(col, 0);
                if (OnEndColumnSize) OnEndColumnSize(this, col);
            }
            FForceSel = false;
            TBaseGrid::WMLButtonDown(Message);
            return;
        }
    }
    if (HasClickControl(rc, r)) {
        TBaseGrid::WMLButtonDown(Message);
        return;
    }

    TBaseGrid::WMLButtonDown(Message);
    if (OnDblClickCell) OnDblClickCell(this, r, c);

    const bool fixed = IsFixed(c, r);
    auto editable = [&] {
        bool e = true;
        CanEditCell(rc, r, e);
        return e;
    };
    if (FMouseActions->EditOnDblClickOnly()) {
        if (!fixed) {
            // The edit permission as a range-select-and-edit grid answers it.
            const bool keep = FMouseActions->RangeSelectAndEdit();
            FMouseActions->SetRangeSelectAndEdit(true);
            const bool e = editable();
            FMouseActions->SetRangeSelectAndEdit(keep);
            if (e) {
                SetOptions(Options() + goEditing);
                ShowEditor();
            }
        }
    } else if (range && !fixed && editable()) {
        SetOptions(Options() + goEditing);
        const TRect b = CellRect(BaseCell(c, r).X, BaseCell(c, r).Y);
        MouseDown(mbLeft, {}, b.Left + 4, b.Top + 4);
    }
    FForceSel = false;
    if ((r < FixedRows() && FMouseActions->FixedRowsEdit() == fceDblClick) ||
        (c < FixedCols() && FMouseActions->FixedColsEdit() == fceDblClick))
        EditFixedCell(c, r);
}

// ---------------------------------------------------------------- right button

void TProStringGrid::HandleRightButtonDown(TMessage& Message)
{
    const int X = LoSigned(Message.LParam), Y = HiSigned(Message.LParam);
    FPressSelection = Selection();
    TBaseGrid::WMMouseButton(Message);
    int c = -1, r = -1;
    MouseToCell(X, Y, c, r);
    if (c < 0 || r < 0) return;
    const int rc = RealColIndex(c);
    if (FMouseActions->SelectOnRightClick() && !IsFixed(c, r) &&
        !(FMouseActions->DisjunctCellSelect() && IsSelected(c, r))) {
        if (!HasClickControl(rc, r)) {
            if (OnRightClickCell) {
                FocusCell(c, r, true);
            } else {
                Perform(WM_LBUTTONDOWN, Message.WParam | MK_LBUTTON, Message.LParam);
                Perform(WM_LBUTTONUP, Message.WParam, Message.LParam);
            }
        } else if (!IsSelected(c, r)) {
            const TPoint b = BaseCell(c, r);
            const int left = LeftCol();
            MoveColRow(b.X, b.Y, true, true);
            if (FNavigation->KeepHorizScroll()) SetLeftCol(left);
        }
    }
    if (OnRightClickCell) OnRightClickCell(this, r, c);
    if (FURLShow && FURLEdit && IsURLText(Cells(rc, r))) {
        MoveColRow(c, r, true, true);
        ShowEditor();
    }
}

void TProStringGrid::HandleRightButtonUp(TMessage& Message)
{
    TBaseGrid::WMMouseButton(Message);
}

// ---------------------------------------------------------------- fixed-cell editor

void TProStringGrid::EditFixedCell(int ACol, int ARow)
{
    if (!EditTrans || !ComboTrans || ACol < 0 || ARow < 0) return;
    // An open fixed-cell editor closes first, unless its value is refused.
    if (EditTrans->isVisible() && !EditTrans->StopEdit()) return;
    if (ComboTrans->isVisible() && !ComboTrans->StopEdit()) return;
    const int rc = RealColIndex(ACol);
    bool canEdit = true;
    if (OnCanEditCell) OnCanEditCell(this, ARow, rc, canEdit);
    if (!canEdit) return;
    FFixedColEdit = rc;
    FFixedRowEdit = ARow;
    EditTrans->FCol = ComboTrans->FCol = rc;
    EditTrans->FRow = ComboTrans->FRow = ARow;
    TGridFixedCellEditor kind =
        ACol == 0 ? FMouseActions->FixedColsEditor() : FMouseActions->FixedRowsEditor();
    QStringList values = FMouseActions->FixedComboValues();
    FixedEdit(ACol, ARow, kind, values);

    TRect r = CellRect(ACol, ARow);
    InflateRect(r, -1, -1);
    const QPoint at = viewport()->mapTo(this, QPoint(r.Left, r.Top));
    const QString text = Cells(rc, ARow);
    if (kind == fceEdit) {
        EditTrans->setGeometry(at.x(), at.y(), r.Width(), r.Height());
        EditTrans->setText(text);
        EditTrans->show();
        EditTrans->setFocus();
    } else {
        ComboTrans->setGeometry(at.x() - 1, at.y() - 1, r.Width() + 2, r.Height() + 1);
        ComboTrans->setEditable(kind == fceComboEdit);
        ComboTrans->clear();
        ComboTrans->addItems(values);
        if (kind == fceComboEdit) ComboTrans->setEditText(text);
        else ComboTrans->setCurrentIndex(int(values.indexOf(text)));
        ComboTrans->show();
        ComboTrans->setFocus();
    }
}
