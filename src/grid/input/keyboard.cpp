// Keyboard handling of the string grid: the key-down message, which settles the grid's own keys
// before the platform grid moves the cell, the key-down step after it, the Tab step shared with
// the in-place editors, the characters that open the editor, and the dialog characters.
#include "grid/base/text_packing.h"
#include "grid/control/pro_string_grid.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLocale>
#include <algorithm>

namespace {

bool IsCheckCell(TCellType t)
{
    return t == ctCheckBox || t == ctDataCheckBox || t == ctVirtCheckBox || t == ctRowCheckBox ||
           t == ctTriStateCheckBox;
}

bool IsMoveKey(int key) { return key >= VK_PRIOR && key <= VK_DOWN; }

}  // namespace

// ---- helpers ----------------------------------------------------------------------------------

bool TProStringGrid::KeyCellEditable(int ACol, int ARow)
{
    if (ARow < 0 || ARow >= RowCount()) return false;
    return IsEditable(ACol, ARow);
}

void TProStringGrid::PostTabToParent(bool Backward)
{
    // The window around the grid takes the Tab once this key is done, as a posted key would.
    QMetaObject::invokeMethod(
        this, [this, Backward] { focusNextPrevChild(!Backward); }, Qt::QueuedConnection);
}

bool TProStringGrid::IsTabStop(int ACol, int ARow)
{
    bool canSelect = Options().Contains(goEditing) ? KeyCellEditable(DisplToRealColumn(ACol), ARow)
                                                   : !IsFixed(ACol, ARow);
    if (OnSelectCell) OnSelectCell(this, ACol, ARow, canSelect);
    return canSelect;
}

int TProStringGrid::FirstTabStopCol(int ARow)
{
    for (int c = 0; c < ColCount(); ++c)
        if (IsTabStop(c, ARow)) return c;
    return -1;
}

int TProStringGrid::LastTabStopCol(int ARow)
{
    for (int c = ColCount() - 1; c >= 0; --c)
        if (IsTabStop(c, ARow)) return c;
    return -1;
}

int TProStringGrid::FirstNavigableCol() { return FixedCols() == 0 && HasNodes() ? 1 : FixedCols(); }

int TProStringGrid::VisibleFixedRightCols()
{
    int n = 0;
    for (int c = ColCount() - FixedRightCols(); c < ColCount(); ++c)
        if (c >= 0 && !IsHiddenColumn(DisplToRealColumn(c))) ++n;
    return n;
}

bool TProStringGrid::IsLastNormalRow()
{
    return Row() == RowCount() - FixedFooters() - 1 || (FFloatingFooter->Visible() && Row() == RowCount() - 2);
}

void TProStringGrid::SelectionChanged(int ALeft, int ATop, int ARight, int ABottom)
{
    // These looks draw the selection across its cells.
    if (FLook == glVista || FLook == glWin7 || FLook == glOffice2007) InvalidateCellRange(Selection());
    FSelChange = true;
    if (OnSelectionChanged) OnSelectionChanged(this, ALeft, ATop, ARight, ABottom);
}

void TProStringGrid::AutoAddRow()
{
    bool canAdd = true;
    if (OnCanAddRow) OnCanAddRow(this, canAdd);
    if (!canAdd) return;
    const bool floating = FFloatingFooter->Visible();
    QStringList footer;
    if (floating) footer = Rows(RowCount() - 1);
    AddRowHook();
    const int last = RowCount() - 1;
    auto clearRow = [this](int r) {
        for (int c = 0; c < StoreColCount(); ++c) {
            SetCells(c, r, QString());
            SetObjects(c, r, nullptr);
        }
    };
    if (floating) {
        clearRow(last - 1);
        SetRows(last, footer);
    } else {
        clearRow(last);
    }
    if (floating || FixedFooters() > 0) SetRow(Row() + 1);
    if (floating) CalcFooter(-1);
    if (OnAutoAddRow) OnAutoAddRow(this, RowCount() - FixedFooters() - 1);
}

// ---- the Tab step ----------------------------------------------------------------------------------

bool TProStringGrid::TabNavigate(bool Backward)
{
    if (OnKeyDown) {
        int key = VK_TAB;
        OnKeyDown(this, key, Backward ? TShiftState{ssShift} : TShiftState{});
        if (key != VK_TAB) return true;
    }
    if (Col() == FLastTabCol && Row() == FLastTabRow) return true;
    FLastTabCol = Col();
    FLastTabRow = Row();
    struct Guard {
        TProStringGrid* g;
        ~Guard() { g->FLastTabCol = g->FLastTabRow = -1; }
    } guard{this};

    // A grid without any cell to stop on hands the focus on rather than going round for ever.
    bool anyStop = false;
    for (int r = FixedRows(); r < RowCount() && !anyStop; ++r) anyStop = FirstTabStopCol(r) >= 0;
    if (!anyStop) {
        PostTabToParent(Backward);
        return false;
    }

    bool result = true;
    const int lastNormal = RowCount() - FixedFooters() - 1;
    const int lastCol = ColCount() - VisibleFixedRightCols() - 1;
    // The wraps that set a one-cell selection keep the cell in view as a move would.
    auto goCell = [this](int c, int r) {
        if (FIsDBVersion) {
            SetRow(r);
            SetCol(c);
        } else {
            SetSelection({c, r, c, r});
            ScrollInView(c, r);
        }
    };
    auto endOfGrid = [&] {
        if (parentWidget() && FNavigation->TabToNextAtEnd()) {
            PostTabToParent(false);
            result = false;
        }
    };
    auto baseCell = [this](int c, int r) { return IsBaseCell(DisplToRealColumn(c), r); };

    // One step; the caller repeats it while it lands on a cell it may not edit.
    auto step = [&] {
        const bool leftRight = FNavigation->TabAdvanceDirection() == adLeftRight;
        if (Backward && !leftRight) {
            if (Row() > FixedRows()) {
                SetRow(Row() - 1);
            } else {
                SetRow(lastNormal);
                SetCol(Col() > FirstNavigableCol() ? Col() - 1 : lastCol);
            }
        } else if (Backward && Col() > FirstNavigableCol()) {
            int c = Col() - 1;
            while (c >= FirstNavigableCol() && !(IsTabStop(c, Row()) && baseCell(c, Row()))) --c;
            if (c >= FirstNavigableCol()) {
                SetCol(c);
            } else {
                const bool wrapped = Row() <= FixedRows();
                const int r = wrapped ? lastNormal : Row() - 1;
                const int tc = LastTabStopCol(r);
                goCell(tc >= 0 ? tc : Col(), r);
                if (wrapped) ScrollInView(Col(), Row());
                SnapToBaseCell();
            }
        } else if (Backward) {
            int c = lastCol;
            while (c > FixedCols() && !IsTabStop(c, Row())) --c;
            const int r = Row() > FixedRows() ? Row() - 1 : lastNormal;
            goCell(c, r);
        } else if (!leftRight) {
            const int s = CellSpan(RealCol(), Row()).Y;
            if (Row() + s + 1 < RowCount() - FixedFooters()) {
                SetRow(Row() + s + 1);
            } else {
                GotoFirstRow();
                if (Col() < lastCol) {
                    SetCol(Col() + 1);
                } else {
                    SetCol(FirstNavigableCol());
                    endOfGrid();
                }
            }
        } else {
            // forward along the row; a cell covered by a merge is passed
            for (int hops = 0; hops <= ColCount(); ++hops) {
                const int s = CellSpan(RealCol(), Row()).X;
                if (Col() + s + 1 >= lastCol + 1) break;
                int c = Col() + s + 1;
                while (c <= lastCol && !IsTabStop(c, Row())) ++c;
                if (c <= lastCol) {
                    SetCol(c);
                    if (baseCell(c, Row())) return;
                    continue;
                }
                FForceSel = true;
                if (Row() < lastNormal) {
                    const int nr = Row() + 1;
                    const int ftc = FirstTabStopCol(nr);
                    const int nc = ftc >= 0 ? ftc : FixedCols();
                    bool allow = true;
                    if (OnRowChanging) OnRowChanging(this, Row(), nr, allow);
                    if (OnCellChanging) OnCellChanging(this, Row(), Col(), nr, nc, allow);
                    if (OnColChanging) OnColChanging(this, Col(), nc, allow);
                    if (allow) goCell(nc, nr);
                } else {
                    const int ftc = FirstTabStopCol(FixedRows());
                    goCell(ftc >= 0 ? ftc : FixedCols(), FixedRows());
                    endOfGrid();
                }
                FForceSel = false;
                return;
            }
            // at the last column
            if (Row() < lastNormal) {
                int c = FirstNavigableCol();
                while (c < ColCount() && !(baseCell(c, Row() + 1) && IsTabStop(c, Row() + 1))) ++c;
                if (c < ColCount()) {
                    FForceSel = true;
                    goCell(c, Row() + 1);
                    FForceSel = false;
                    return;
                }
                for (int r = Row() + 2; r <= lastNormal; ++r) {
                    if (const int ftc = FirstTabStopCol(r); ftc >= 0) {
                        goCell(ftc, r);
                        return;
                    }
                }
                // nothing below: go on from the last row
                goCell(ColCount() - 1, lastNormal);
            }
            if (FNavigation->TabToNextAtEnd() || !FNavigation->AdvanceInsert()) {
                GotoFirstRow();
            } else {
                bool canAdd = true;
                if (OnCanAddRow) OnCanAddRow(this, canAdd);
                if (canAdd) {
                    if (FFloatingFooter->Visible()) {
                        InsertRows(RowCount() - 1, 1, true);
                        SetRow(RowCount() - 2);
                    } else {
                        SetRowCount(RowCount() + 1);
                        SetRow(RowCount() - 1);
                    }
                    if (OnAutoAddRow) OnAutoAddRow(this, RowCount() - FixedFooters() - 1);
                } else {
                    GotoFirstRow();
                }
            }
            const int ftc = FirstTabStopCol(Row());
            SetCol(ftc >= 0 ? ftc : FixedCols());
            endOfGrid();
        }
    };

    // Each repetition moves on; one pass over every cell is the most it can take.
    const int limit = ColCount() * RowCount() + 1;
    int passes = 0;
    do step();
    while (result && Options().Contains(goEditing) && !KeyCellEditable(RealCol(), Row()) && ++passes < limit);

    if (result && FNavigation->AdvanceAutoEdit() && !HasClickControl(RealCol(), Row())) {
        // a click in the new cell, which opens the editor where editing is allowed
        const TRect r = CellRect(Col(), Row());
        if (r.Width() > 0 && r.Height() > 0) {
            MouseDown(mbLeft, {}, r.Left + 2, r.Top + 2);
            MouseUp(mbLeft, {}, r.Left + 2, r.Top + 2);
        }
    }
    if (FNavigation->AlwaysEdit()) SetFocus();
    return result;
}

// ---- the key-down message ------------------------------------------------------------------------

// The grid settles its own keys first, each group in turn; a group that consumes the key ends
// the message there, so a later group never sees it.  Whatever is left goes to the platform
// grid, which moves the current cell; rows are inserted, selected or deleted after that move.
void TProStringGrid::HandleKeyDownMessage(TMessage& Message)
{
    const int key = int(Message.WParam);
    const TShiftState shift = KeyShiftState();
    FMoveSelection = Selection();
    const bool rowSelect = Options().Contains(goRowSelect);
    TKeyDownState K{Message, key, shift, shift.Contains(ssCtrl), shift.Contains(ssShift), shift.Contains(ssAlt),
                    Row(), LeftCol(), DisplToRealColumn(Col()), rowSelect, false};
    // Row-select grids may keep their horizontal scroll on vertical keys.
    K.KeepHoriz = (key == VK_PRIOR || key == VK_NEXT || key == VK_UP || key == VK_DOWN) && rowSelect &&
                  LeftCol() != FixedCols() && FNavigation->KeepHorizScroll();

    if (KeyDropList(K) || KeyScrollOnly(K) || KeyEnterOrF2(K)) return;
    KeySearchFooterFocus(K.Key, K.Ctrl);
    KeyCellControl(K);
    if (KeyHomeEnd(K) || KeyLeftRight(K) || KeyTab(K) || KeySkipFixedCells(K)) return;
    if (KeyMoveCell(K) || KeyClipboard(K) || KeyInsertRow(K) || KeySelectAll(K)) return;
    KeySelectionFlags(K);
    KeyDeleteRow(K);
    if (!(Selection() == FMoveSelection)) {
        const TGridRect s = Selection();
        SelectionChanged(s.Left, s.Top, s.Right, s.Bottom);
        FMoveSelection = s;
    }
}

void TProStringGrid::KeyDownEvent(const TKeyDownState& K)
{
    if (!OnKeyDown) return;
    int k = K.Key;
    OnKeyDown(this, k, K.Shift);
}

void TProStringGrid::SwallowKey(TKeyDownState& K)
{
    KeyDownEvent(K);
    K.Message.WParam = 0;
    K.Message.Result = 1;
}

void TProStringGrid::SettleKey(TKeyDownState& K)
{
    KeyDownEvent(K);
    K.Message.Result = 0;
}

// With MoveScrollOnly the vertical keys scroll the rows and leave the current cell where it is.
bool TProStringGrid::KeyScrollOnly(TKeyDownState& K)
{
    const int key = K.Key;
    if (!(FNavigation->MoveScrollOnly() && (key == VK_PRIOR || key == VK_NEXT || key == VK_END || key == VK_HOME ||
                                            key == VK_UP || key == VK_DOWN)))
        return false;
    const int top = TopRow(), vis = VisibleRowCount();
    switch (key) {
    case VK_PRIOR: SetTopRow(vis + FixedRows() < top ? top - vis : FixedRows()); break;
    case VK_NEXT:
        if (top + vis < RowCount()) SetTopRow(top + vis);
        break;
    case VK_END: SetTopRow(std::max(FixedRows(), RowCount() - vis)); break;
    case VK_HOME: SetTopRow(FixedRows()); break;
    case VK_UP:
        if (top > FixedRows()) SetTopRow(top - 1);
        break;
    case VK_DOWN:
        if (top + vis < RowCount()) SetTopRow(top + 1);
        break;
    }
    K.Message.Result = 1;
    return true;
}

// Enter and F2 open the editor where the cell may be edited, and end here where it may not
// or where the cell holds form controls.
bool TProStringGrid::KeyEnterOrF2(TKeyDownState& K)
{
    const int key = K.Key, realCol = K.RealCol;
    TMouseActions* ma = FMouseActions.get();
    auto editingOn = [this] {
        TGridOptions o = Options();
        o.Include(goEditing);
        SetOptions(o);
    };
    auto controlCell = [this] {
        const QString s = Cells(RealCol(), Row());
        return CellTextKind(s, FEnableHTML) == 1 && s.toUpper().contains(QStringLiteral("<CONTROL"));
    };

    const bool enterOrF2 = key == VK_RETURN || key == VK_F2;
    // A grid edited on double-click only still lets Enter or F2 open an editable cell: the
    // cell is judged as a range-select grid would judge it.
    if (ma->EditOnDblClickOnly() && enterOrF2 && !Options().Contains(goEditing)) {
        const bool was = ma->RangeSelectAndEdit();
        ma->SetRangeSelectAndEdit(true);
        const bool editable = KeyCellEditable(realCol, Row());
        ma->SetRangeSelectAndEdit(was);
        if (editable) editingOn();
    }
    // A range-select grid opens the editor itself on Enter or F2.
    if (ma->RangeSelectAndEdit() && !Options().Contains(goEditing) && enterOrF2) {
        if (!KeyCellEditable(realCol, Row())) {
            SwallowKey(K);
            return true;
        }
        editingOn();
        ShowInplaceEdit();
    }
    // A cell that may not be edited swallows Enter and F2, so that no editor opens on it.
    if (enterOrF2) {
        if (Options().Contains(goEditing) && !KeyCellEditable(realCol, Row())) {
            SwallowKey(K);
            return true;
        }
        if (controlCell()) {
            // the keys belong to the form controls of the cell: they open its first one
            SaveOldCellText(Col(), Row());
            EditCellControl(Col(), Row(), QString());
            K.Message.Result = 1;
            return true;
        }
    }
    if (key == VK_RETURN && !KeyCellEditable(realCol, Row())) {
        SwallowKey(K);
        return true;
    }
    return false;
}

// Enter and Space work the cell's own control: Space toggles a check box or picks a radio
// entry, either key clicks a button; the key goes on to the later steps all the same.
void TProStringGrid::KeyCellControl(TKeyDownState& K)
{
    const int key = K.Key, realCol = K.RealCol;
    if (!((key == VK_RETURN || key == VK_SPACE) && HasClickControl(realCol, Row()))) return;
    // The grid's editing switch decides first: a cell hook that answers from its own settings
    // alone (the column grid's) only narrows it.
    const bool editing = Options().Contains(goEditing) || FMouseActions->RangeSelectAndEdit();
    bool canEdit = editing;
    CanEditCell(realCol, Row(), canEdit);
    canEdit = canEdit && editing;
    const TPoint b = BaseCell(realCol, Row());
    const TCellType type = GetCellType(b.X, b.Y);
    if (key == VK_SPACE && IsCheckCell(type) && (canEdit || FControlLook->CheckAlwaysActive())) {
        ToggleCheck(realCol, Row(), true);
        if (FShowModified->Enabled()) SetRowModified(Row(), true);
        bool state = false;
        GetCheckBoxState(realCol, RealRowIndex(Row()), state);
        if (OnCheckBoxClick) OnCheckBoxClick(this, realCol, Row(), state);
    } else if (key == VK_SPACE && type == ctRadio && (canEdit || FControlLook->RadioAlwaysActive())) {
        ClickRadio(realCol, Row(), true);
        int idx = -1;
        GetRadioIdx(realCol, Row(), idx);
        if (OnRadioClick) OnRadioClick(this, realCol, Row(), idx);
    } else if (key == VK_SPACE && type == ctRadioButton && (canEdit || FControlLook->RadioAlwaysActive())) {
        SetRadioButtonColumnIndex(realCol, Row());
        if (OnRadioButtonClick) OnRadioButtonClick(this, realCol, Row());
    } else if (type == ctButton && canEdit) {
        if (OnButtonClick) OnButtonClick(this, realCol, Row());
    }
    RepaintCell(Col(), Row());
}

// Home and End go where the navigation's HomeEndKey says; with Shift they extend the
// selection.  A combination the setting does not name is left to the platform grid.
bool TProStringGrid::KeyHomeEnd(TKeyDownState& K)
{
    const int key = K.Key;
    if (!((key == VK_HOME || key == VK_END) && !(FFixedRowAlways && RowCount() == 1))) return false;
    TNavigation* nav = FNavigation.get();
    TMouseActions* ma = FMouseActions.get();
    const bool ctrl = K.Ctrl, shifted = K.Shifted, rowSelect = K.RowSelect;
    const int startRow = K.StartRow, startLeft = K.StartLeft;
    const THomeEndAction he = nav->HomeEndKey();
    const bool home = key == VK_HOME;
    auto rowRange = [&](int newRow) {
        if (!shifted && ma->DisjunctRowSelect()) {
            ClearRowSelect();
            SelectionToRowSelect(false);
        } else if (shifted) {
            SetSelection({0, startRow, ColCount() - 1, newRow});
            if (ma->DisjunctRowSelect()) SelectionToRowSelect(false);
        }
        if (rowSelect && nav->KeepHorizScroll()) SetLeftCol(startLeft);
    };
    bool settled = true;
    if (he == heFirstLastCell && !ctrl) {
        SetCol(home ? FixedCols() : ColCount() - 1);
        SetRow(home ? FixedRows() : RowCount() - 1);
        SnapToBaseCell();
    } else if (he == heFirstLastRow && !ctrl) {
        int newRow = FixedRows();
        if (!home) {
            newRow = FFloatingFooter->Visible() && RowCount() > 2 ? RowCount() - 2 : RowCount() - FixedFooters() - 1;
        }
        if (shifted) FocusCell(Col(), newRow, false);
        else SetRow(newRow);
        if (!home && (FFloatingFooter->Visible() || FixedFooters() > 0))
            SetTopRow(std::max(FixedRows(), RowCount() - VisibleRowCount()));
        SnapToBaseCell();
        rowRange(newRow);
    } else if (he == heFirstLastColumn && ctrl && home) {
        SetRow(FixedRows());
        const int ftc = FirstTabStopCol(Row());
        SetCol(ftc >= 0 ? ftc : FixedCols());
        SnapToBaseCell();
        SetLeftCol(FirstNavigableCol());
    } else if (he == heFirstLastColumn && !ctrl && !rowSelect) {
        if (shifted) {
            SetSelection({Col(), Row(), home ? FixedCols() : ColCount() - FixedRightCols() - 1, Row()});
            InvalidateRow(Row());
        } else if (home) {
            const int ftc = FirstTabStopCol(Row());
            SetCol(ftc >= 0 ? ftc : FixedCols());
            SnapToBaseCell();
            SetLeftCol(FirstNavigableCol());
        } else {
            SetCol(ColCount() - 1);
            SnapToBaseCell();
            SetLeftCol(std::max(FixedCols(), ColCount() - VisibleColCount()));
        }
    } else {
        settled = false;
    }
    if (settled) {
        SettleKey(K);
        return true;
    }
    return false;
}

// Left and Right on node rows and in row-select grids.
bool TProStringGrid::KeyLeftRight(TKeyDownState& K)
{
    const int key = K.Key;
    TNavigation* nav = FNavigation.get();
    // A node row whose current cell is merged: Right expands it, Left contracts it.
    if ((key == VK_RIGHT || key == VK_LEFT) && IsNode(Row()) && IsMergedCell(Col(), Row())) {
        if (key == VK_RIGHT) ExpandNode(RealRowIndex(Row()));
        else ContractNode(RealRowIndex(Row()));
    }

    // A row-select grid wider than its window scrolls sideways on Left and Right (with Ctrl
    // when LeftRightRowSelect leaves the plain keys to the cell).
    if (K.RowSelect && !IsNode(Row()) && VisibleColCount() < ColCount() && (key == VK_LEFT || key == VK_RIGHT)) {
        const bool scroll = nav->LeftRightRowSelect() ? K.Ctrl : true;
        if (scroll) {
            if (key == VK_LEFT && LeftCol() > FixedCols()) SetLeftCol(LeftCol() - 1);
            if (key == VK_RIGHT && LeftCol() + VisibleColCount() < ColCount()) SetLeftCol(LeftCol() + 1);
            if (!nav->LeftRightRowSelect()) {
                SettleKey(K);
                return true;
            }
        }
    }
    return false;
}

bool TProStringGrid::KeyDropList(TKeyDownState& K)
{
    const bool drop = (K.Key == VK_F4 && !K.Alt && !K.Ctrl) || (K.Key == VK_DOWN && K.Alt && !K.Ctrl);
    if (!drop || EditMode || !Options().Contains(goEditing) || !KeyCellEditable(K.RealCol, Row())) return false;
    TEditorType e = FDefaultEditor;
    GetCellEditor(K.RealCol, Row(), e);
    if (e != edComboList && e != edComboEdit) return false;
    ShowEditor();
    if (EditMode && EditCombo->isVisible() && !EditCombo->view()->isVisible()) EditCombo->showPopup();
    SwallowKey(K);
    return true;
}

// A grid that takes Tab steps through its cells with it (Shift+Tab backwards).
bool TProStringGrid::KeyTab(TKeyDownState& K)
{
    if (!(K.Key == VK_TAB && Options().Contains(goTabs))) return false;
    TabNavigate(K.Shifted);
    const TGridRect s = Selection();
    if (!(s == FMoveSelection)) SelectionChanged(s.Left, s.Top, s.Right, s.Bottom);
    return true;
}

// Arrows jump over fixed cells inside the body to the next normal cell that way.
bool TProStringGrid::KeySkipFixedCells(TKeyDownState& K)
{
    const int key = K.Key;
    if (!(FNavigation->SkipFixedCells() && IsMoveKey(key) && key >= VK_LEFT)) return false;
    const bool rowSelect = K.RowSelect;
    int k = key;
    if (UseRightToLeftAlignment() && (k == VK_LEFT || k == VK_RIGHT)) k = k == VK_LEFT ? VK_RIGHT : VK_LEFT;
    const int endCol = ColCount() - FixedRightCols(), endRow = RowCount() - FixedFooters();
    bool jumped = false;
    if (k == VK_LEFT && Col() > FixedCols() && IsFixed(Col() - 1, Row())) {
        int c = Col() - 1;
        while (c >= FixedCols() && IsFixed(c, Row())) --c;
        if (c >= FixedCols()) SetCol(c);
        jumped = true;
    } else if (k == VK_RIGHT && Col() < endCol && Col() + 1 < ColCount() && IsFixed(Col() + 1, Row())) {
        int c = Col() + 1;
        while (c < endCol && IsFixed(c, Row())) ++c;
        if (c < endCol) SetCol(c);
        jumped = true;
    } else if (k == VK_UP && Row() > FixedRows() && IsFixed(Col(), Row() - 1)) {
        int r = Row() - 1;
        if (rowSelect) {
            SetRow(r);
        } else {
            while (r >= FixedRows() && IsFixed(Col(), r)) --r;
            if (r >= FixedRows()) SetRow(r);
        }
        jumped = true;
    } else if (k == VK_DOWN && Row() < endRow && Row() + 1 < RowCount() && IsFixed(Col(), Row() + 1)) {
        int r = Row() + 1;
        if (rowSelect) {
            // one step onto a fixed body row, but never onto the fixed footer rows
            if (r < endRow) SetRow(r);
        } else {
            while (r < endRow && IsFixed(Col(), r)) ++r;
            if (r < endRow) SetRow(r);
        }
        jumped = true;
    }
    if (jumped) {
        KeyDownEvent(K);
        K.Message.WParam = 0;
        return true;
    }
    return false;
}

// The platform grid moves the current cell.  Before it, Down on the last normal row appends
// a row and the selection rectangle is repainted where the selection is now.  A visible
// search footer keeps the last rows above it: at the end of the rows the keys that would
// move under it are consumed here, and the others run with the top row held.
bool TProStringGrid::KeyMoveCell(TKeyDownState& K)
{
    const int key = K.Key;
    TMessage& Message = K.Message;
    if (key == VK_DOWN && IsLastNormalRow() && FNavigation->AppendOnArrowDown()) AutoAddRow();

    if (FSelectionRectangle && !(Selection() == FMoveSelection)) {
        InvalidateGridRect(Selection());
        FMoveSelection = Selection();
    }

    const bool footer = FSearchFooter->Visible() && FSearchPanel;
    const bool atEnd = footer && TopRow() >= RowCount() - VisibleRowCount();
    const bool lastRow = Row() >= RowCount() - 1;
    const bool plainKey = key != VK_SHIFT && key != VK_MENU && !IsMoveKey(key);
    const bool footerKey = key == VK_NEXT || key == VK_END || (lastRow && (key == VK_LEFT || key == VK_RIGHT || key == VK_DOWN));
    const int footerTop = TopRow();
    if (atEnd) {
        if (key == VK_DOWN && lastRow) {
            ScrollAboveSearchFooter();
            Message.Result = 1;
            KeyDownEvent(K);
            return true;
        }
        if (lastRow && ((key == VK_RIGHT && Col() == ColCount() - 1) || (key == VK_LEFT && Col() == FixedCols()))) {
            Message.Result = 1;
            KeyDownEvent(K);
            return true;
        }
    }
    const bool footerLock = atEnd && (footerKey || plainKey);
    if (footerLock) BeginUpdate();

    if (K.KeepHoriz) BeginUpdate();
    TBaseGrid::WMKeyDown(Message);
    if (footer) {
        if (atEnd && plainKey) SetTopRow(footerTop);
        if (footerLock) EndUpdate();
        if (footerKey && Row() == RowCount() - 1) {
            const int limit = ClientHeight() - FSearchPanel->height() + 2;
            while (CellRect(Col(), Row()).Bottom > limit && TopRow() < Row()) SetTopRow(TopRow() + 1);
        }
    }
    if (K.KeepHoriz) {
        SetLeftCol(K.StartLeft);
        EndUpdate();
    }
    return false;
}

// Clipboard keys, with AllowClipboardShortCuts: Ctrl+X and Shift+Delete cut, Ctrl+C and
// Ctrl+Insert copy, Ctrl+V and Shift+Insert paste; the application may refuse each through its
// event, and the key is settled either way.
bool TProStringGrid::KeyClipboard(TKeyDownState& K)
{
    if (!FNavigation->AllowClipboardShortCuts() || K.Alt) return false;
    enum { None, Cut, Copy, Paste } op = None;
    if (K.Ctrl && K.Key == 'X') op = Cut;
    else if (K.Ctrl && K.Key == 'V') op = Paste;
    else if (K.Ctrl && (K.Key == VK_INSERT || K.Key == 'C')) op = Copy;
    else if (K.Shifted && !K.Ctrl && K.Key == VK_INSERT) op = Paste;
    else if (K.Shifted && !K.Ctrl && K.Key == VK_DELETE) op = Cut;
    if (op == None) return false;
    bool allow = true;
    const auto& event = op == Cut ? OnClipboardCut : op == Copy ? OnClipboardCopy : OnClipboardPaste;
    if (event) event(this, allow);
    if (allow) {
        if (op == Cut) CutSelectionToClipboard();
        else if (op == Copy) CopySelectionToClipboard();
        else PasteSelectionFromClipboard();
    }
    SwallowKey(K);
    return true;
}

// Insert (without modifiers) inserts a row before or after the current one, as the
// navigation's InsertPosition says, when the application allows it.
bool TProStringGrid::KeyInsertRow(TKeyDownState& K)
{
    TNavigation* nav = FNavigation.get();
    if (!(K.Key == VK_INSERT && !K.Ctrl && !K.Shifted && !K.Alt && nav->AllowInsertRow())) return false;
    bool canInsert = true;
    if (OnCanInsertRow) OnCanInsertRow(this, Row(), canInsert);
    if (!canInsert) return true;
    const bool filtered = PauseFilter();
    int at = Row(), newRow = Row();
    if (nav->InsertPosition() == pInsertAfter) {
        if (FFixedRowAlways && RowCount() == FixedRows()) {
            newRow = 1;
        } else {
            at = Row() + 1;
            newRow = at;
        }
    }
    InsertRowHook(at);
    if (OnAutoInsertRow) OnAutoInsertRow(this, DisplToRealRow(at));
    newRow = ResumeFilter(filtered, newRow);
    SetRow(std::min(newRow, RowCount() - 1));
    CalcFooter(-1);
    return true;
}

// Ctrl+A selects every normal cell of a grid that selects rows or ranges; a click on the
// last cell lets the selection end there as if the mouse had made it.
bool TProStringGrid::KeySelectAll(TKeyDownState& K)
{
    TMouseActions* ma = FMouseActions.get();
    if (!(K.Ctrl && K.Key == 'A' && (K.RowSelect || Options().Contains(goRangeSelect)))) return false;
    const TGridRect all{FirstNavigableCol(), FixedRows(), ColCount() - FixedRightCols() - 1,
                        RowCount() - FixedFooters() - 1};
    if (all.Right < all.Left || all.Bottom < all.Top) return true;
    if (ma->DisjunctRowSelect())
        for (int r = all.Top; r <= all.Bottom; ++r)
            SetRowSelect(ma->RowSelectPersistent() ? DisplToRealRow(r) : r, true);
    SelectAllHook(all);
    SetSelection(all);
    FocusCell(all.Right, all.Bottom, false);
    const TRect cr = CellRect(all.Right, all.Bottom);
    if (cr.Width() > 0 && cr.Height() > 0) {
        MouseDown(mbLeft, {}, cr.Left + 2, cr.Top + 2);
        MouseUp(mbLeft, {}, cr.Left + 2, cr.Top + 2);
    }
    FocusCell(all.Right, all.Bottom, false);
    SetSelection(all);
    return true;
}

// The disjunct row and column flags follow the keys: a plain move flags only the new row or
// column, Shift flags the whole selection, Ctrl keeps the flags there are; Space toggles the
// current row's and column's flag.  Persistent row flags are kept by real row.
void TProStringGrid::KeySelectionFlags(TKeyDownState& K)
{
    const int key = K.Key;
    const bool ctrl = K.Ctrl, shifted = K.Shifted;
    TMouseActions* ma = FMouseActions.get();
    const int flagRow = ma->DisjunctRowSelect() && ma->RowSelectPersistent() ? DisplToRealRow(Row()) : Row();
    if (IsMoveKey(key)) {
        if (ma->DisjunctRowSelect()) {
            if (!shifted && !ctrl) ClearRowSelect();
            if (shifted) SelectionToRowSelect(true);
            else SetRowSelect(flagRow, true);
        }
        if (ma->DisjunctColSelect()) {
            if (!shifted && !ctrl) ClearColSelect();
            if (shifted) SelectionToColSelect(true);
            else SetColSelect(Col(), true);
        }
    }
    if (key == VK_SPACE) {
        if (ma->DisjunctRowSelect()) SetRowSelect(flagRow, !GetRowSelect(flagRow));
        if (ma->DisjunctColSelect()) SetColSelect(Col(), !GetColSelect(Col()));
    }
}

// Delete (without Alt) removes the current row when the navigation and the application allow
// it; the footers are calculated anew.
void TProStringGrid::KeyDeleteRow(TKeyDownState& K)
{
    if (!(K.Key == VK_DELETE && !K.Alt && FNavigation->AllowDeleteRow() &&
          RowCount() - FixedFooters() - FixedRows() >= 1))
        return;
    const bool filtered = PauseFilter();
    bool canDelete = true;
    if (OnCanDeleteRow) OnCanDeleteRow(this, DisplToRealRow(Row()), canDelete);
    if (canDelete) RemoveRowHook(Row());
    if (filtered && RowCount() > FixedRows()) SetRow(ResumeFilter(true, Row()));
    else ResumeFilter(filtered, Row());
    if (canDelete) {
        if (FFloatingFooter->Visible() && Row() == RowCount() - 1 && RowCount() > 1) SetRow(RowCount() - 2);
        CalcFooter(-1);
    }
}

void TProStringGrid::HandleKeyUpMessage(TMessage& Message) { TBaseGrid::WMKeyUp(Message); }

// Ctrl+F with a visible search footer takes the focus to the footer's edit; the key goes on.
void TProStringGrid::KeySearchFooterFocus(int Key, bool Ctrl)
{
    if (Ctrl && Key == 'F' && FSearchFooter->Visible() && FSearchPanel) FSearchPanel->FEdit->setFocus();
}

// ---- the key-down step, after the platform moved the cell ------------------------------------

void TProStringGrid::HandleKeyDown(int& Key, TShiftState Shift)
{
    FLastKeyCell = {Col(), Row()};
    const int startRow = Row();
    TBaseGrid::HandleKeyDown(Key, Shift);
    const TGridRect sel = Selection();
    const int from = std::min(sel.Top, sel.Bottom), to = std::max(sel.Top, sel.Bottom);
    const bool ctrl = Shift.Contains(ssCtrl);
    TNavigation* nav = FNavigation.get();

    // Ctrl+Up/Down move the selected rows, never into the fixed footer rows
    if (ctrl && nav->CursorMoveRows() && Key == VK_DOWN && to < RowCount() - FixedFooters() - 1) {
        if (from == to) {
            MoveRow(from, from + 1);
            SetRow(startRow + 1);
        } else {
            MoveRows(from, from + 1, to - from + 1);
            SetSelection({FixedCols(), from + 1, ColCount() - 1, to + 1});
        }
    } else if (ctrl && nav->CursorMoveRows() && Key == VK_UP && from > FixedRows()) {
        if (from == to) {
            MoveRow(from, from - 1);
            SetRow(startRow - 1);
        } else {
            MoveRows(from, from - 1, to - from + 1);
            SetSelection({FixedCols(), from - 1, ColCount() - 1, to - 1});
        }
    }

    // wrapping at the edges
    if (nav->CursorAdvance() != caDefault) {
        const bool snake = nav->CursorAdvance() == caSnake;
        const int lastNormal = RowCount() - FixedFooters() - 1, lastCol = ColCount() - FixedRightCols() - 1;
        if (Key == VK_LEFT && FLastKeyCell.X == FixedCols()) {
            SetCol(lastCol);
            if (snake && Row() > FixedRows()) SetRow(Row() - 1);
        } else if (Key == VK_UP && FLastKeyCell.Y == FixedRows()) {
            SetRow(lastNormal);
            if (snake && Col() > FixedCols()) SetCol(Col() - 1);
        } else if (Key == VK_RIGHT && FLastKeyCell.X == ColCount() - 1) {
            SetCol(FixedCols());
            if (snake && Row() < lastNormal) SetRow(Row() + 1);
        } else if (Key == VK_DOWN && FLastKeyCell.Y == RowCount() - 1) {
            SetRow(FixedRows());
            if (snake && Col() < lastCol) SetCol(Col() + 1);
        }
    }

    // disabled rows are passed over; a row the move landed on counts as refused
    if (FUseEnabledRows && nav->SkipDisabledRows() && (Key == VK_UP || Key == VK_DOWN) &&
        (Row() == startRow || !GetRowEnabled(Row()))) {
        const int dir = Key == VK_UP ? -1 : 1;
        int r = (Row() == startRow ? startRow : Row()) + dir;
        while (r > FixedRows() && r < RowCount() - 1 && !GetRowEnabled(r)) r += dir;
        if (r >= FixedRows() && r < RowCount() && GetRowEnabled(r)) SetRow(r);
        else if (!GetRowEnabled(Row())) SetRow(startRow);
    }

    if (TStringGrid* other = FSyncGrid->Grid()) {
        if (FSyncGrid->SelectionColumn()) other->TStringGrid::SetCol(Col());
        if (FSyncGrid->SelectionRow()) other->TStringGrid::SetRow(Row());
    }
}

// ---- characters ----------------------------------------------------------------------------------

void TProStringGrid::HandleCharMessage(TMessage& Message)
{
    QChar ch(char16_t(Message.WParam));
    const int realCol = DisplToRealColumn(Col());
    const bool ctrl = KeyShiftState().Contains(ssCtrl);
    TMouseActions* ma = FMouseActions.get();
    auto editingOn = [this] {
        TGridOptions o = Options();
        o.Include(goEditing);
        SetOptions(o);
    };

    const QString text = Cells(realCol, Row());
    if (CellTextKind(text, FEnableHTML) == 1 && text.toUpper().contains(QStringLiteral("<CONTROL"))) {
        Message.Result = 1;
        return;
    }
    if (ma->EditOnDblClickOnly()) {
        bool canEdit = true;
        CanEditCell(realCol, Row(), canEdit);
        if (canEdit) editingOn();
    }
    if (FNavigation->AllowClipboardShortCuts() && ctrl &&
        (ch.unicode() == 3 || ch.unicode() == 22 || ch.unicode() == 24)) {
        Message.WParam = 0;
        return;
    }
    const bool clickControl = HasClickControl(realCol, Row());
    if (ma->RangeSelectAndEdit() && !clickControl && KeyCellEditable(realCol, Row()) && ch.unicode() != VK_TAB &&
        ch.unicode() != VK_ESCAPE && !ctrl) {
        if (OnKeyPress) {
            QChar copy = ch;
            OnKeyPress(this, copy);
        }
        FStartEditChar = ch;
        editingOn();
        const bool inView = Col() >= LeftCol() && Col() <= LeftCol() + VisibleColCount() && Row() >= TopRow() &&
                            Row() <= TopRow() + VisibleRowCount();
        if (!inView) ScrollInView(Col(), Row());
        const TRect r = CellRect(Col(), Row());
        MouseDown(mbLeft, {}, r.Left + 2, r.Top + 2);
        MouseUp(mbLeft, {}, r.Left + 2, r.Top + 2);
        TBaseGrid::WMChar(Message);
        return;
    }
    // the keypad's decimal key types the locale's separator
    if (FExcelStyleDecimalSeparator && ch == QLatin1Char('.') && PendingKey() &&
        (PendingKey()->modifiers() & Qt::KeypadModifier)) {
        ch = QLocale().decimalPoint().at(0);
        Message.WParam = ch.unicode();
    }
    if (ch.unicode() == VK_RETURN && clickControl && FNavigation->AdvanceOnEnter()) {
        TBaseGrid::WMChar(Message);
        return;
    }
    if (Options().Contains(goEditing) && (ch.unicode() == 8 || (ch.unicode() >= 32 && ch.unicode() <= 255))) {
        if (OnKeyPress) OnKeyPress(this, ch);
        FStartEditChar = ch;
        Message.WParam = ch.unicode();
        if (!clickControl && !ch.isNull()) ShowEditorChar(ch);
        return;
    }
    TBaseGrid::WMChar(Message);
}

void TProStringGrid::HandleKeyPress(QChar& Key)
{
    const int realCol = DisplToRealColumn(Col());
    if (Key.unicode() == VK_ESCAPE) {
        if (OnKeyPress) OnKeyPress(this, Key);
        return;
    }
    if (Key.unicode() == VK_RETURN) {
        const bool clickControl = HasClickControl(realCol, Row());
        if (!KeyCellEditable(realCol, Row()) && !FNavigation->AdvanceOnEnter()) {
            if (OnKeyPress) OnKeyPress(this, Key);
            Key = QChar();
            return;
        }
        if (!hasFocus() || clickControl) {
            AdvanceEdit(Col(), Row(), false, false, true, false, EditMode);
            if (!FNavigation->AdvanceAutoEdit()) {
                if (OnKeyPress) OnKeyPress(this, Key);
                Key = QChar();
                return;
            }
            if (clickControl) {
                if (OnKeyPress) OnKeyPress(this, Key);
                if (FNavigation->AdvanceOnEnter()) ShowInplaceEdit();
                return;
            }
        }
    }
    if (!Options().Contains(goEditing) && FNavigation->AutoGotoWhenSorted()) KeyIncrementalSearch(Key);
    TBaseGrid::KeyPress(Key);
}

// Typed characters look up the first row of the sort column that starts with them; with
// AutoGotoIncremental they add up (Backspace takes the last one back) until the timer or a
// failed look-up clears them.
void TProStringGrid::KeyIncrementalSearch(QChar Key)
{
    const bool backspace = Key.unicode() == 8;
    if (!backspace && Key.unicode() < 32) return;
    if (FNavigation->AutoGotoIncremental()) {
        if (backspace) SearchInc.chop(1);
        else SearchInc += Key;
        SearchTics = 0;
    } else {
        SearchInc = backspace ? QString() : QString(Key);
    }
    if (SearchInc.isEmpty()) return;
    const int row = Search(SearchInc.toUpper());
    if (row < 0) SearchInc.clear();
    else SetRow(row);
}

// ---- dialog characters --------------------------------------------------------------------------

void TProStringGrid::HandleDialogChar(TMessage& Message)
{
    // Only the search footer's buttons take accelerator letters, the first one that matches.
    Message.Result = 0;
    if (!FSearchFooter->Visible() || !FSearchPanel) return;
    const QChar ch(char16_t(Message.WParam));
    if (ch.isNull()) return;
    const QKeySequence typed(Qt::ALT | Qt::Key(ch.toUpper().unicode()));
    TSearchPanel* p = FSearchPanel;
    const std::pair<TProGridButton*, void (TProStringGrid::*)()> buttons[] = {
        {p->FForwardButton, &TProStringGrid::SearchFooterFindNext},
        {p->FBackwardButton, &TProStringGrid::SearchFooterFindPrevious},
        {p->FHiliteButton, &TProStringGrid::SearchFooterHighlight}};
    for (const auto& [button, action] : buttons) {
        if (QKeySequence::mnemonic(button->Caption()) != typed) continue;
        if (!button->isVisibleTo(p) || !button->isEnabled()) continue;
        // The highlight button toggles as a click on it would.
        if (button == p->FHiliteButton) button->SetDown(!button->Down());
        (this->*action)();
        Message.Result = 1;
        return;
    }
}

void TProStringGrid::DefaultHandler(TMessage& m)
{
    if (m.Msg == CM_DIALOGCHAR) HandleDialogChar(m);
    else if (m.Msg == WM_NOTIFY) HandleNotifyMessage(m);
    else TBaseGrid::DefaultHandler(m);
}
