// Moving a column by dragging its header cell and a row by dragging its fixed-column cell:
// the floating image of the header, the arrows that mark where it goes, scrolling at the
// edges, the cursor; and what follows every column or row move: the column order, hidden
// column and hidden row data, the sort column and a synchronised grid.
#include "grid/control/pro_string_grid.h"
#include "platform/ui/cursors.h"

#include <algorithm>

namespace {
// Real columns the visibility tables cover.
constexpr int MappedColumns = TProStringGrid::MaxColumns - 1;

template <class Seq>
void Rotate(Seq& s, int From, int To)
{
    if (From == To || From < 0 || To < 0 || From >= int(s.size()) || To >= int(s.size())) return;
    if (From < To) std::rotate(s.begin() + From, s.begin() + From + 1, s.begin() + To + 1);
    else std::rotate(s.begin() + To, s.begin() + From, s.begin() + From + 1);
}
}  // namespace

// ---- after a move ------------------------------------------------------------------------------

void TProStringGrid::ColumnMoved(int FromIndex, int ToIndex)
{
    const int rf = DisplToRealColumn(FromIndex);
    const int rt = DisplToRealColumn(ToIndex);
    const int n = FColumnOrder->Count();
    if (rf >= 0 && rt >= 0 && rf < n && rt < n) {
        const int entry = FColumnOrder->GetInteger(rf);
        FColumnOrder->Delete(rf);
        FColumnOrder->Insert(rt, entry);
    }
    // The platform carried the shown widths along; hidden columns keep theirs by real column.
    const bool hidden = FNumHidden > 0;
    if (hidden && rf < MappedColumns && rt < MappedColumns) {
        Rotate(FVisibleCol, rf, rt);
        Rotate(FAllColWidths, rf, rt);
    }
    if (FEnhRowColMove) ColMoveFlg = true;
    TBaseGrid::ColumnMoved(hidden ? rf : FromIndex, hidden ? rt : ToIndex);
    if (FSortSettings->Column() >= 0) FSortSettings->SetColumn(TGridAxis::ShiftForMove(FSortSettings->Column(), rf, rt));
    if (FSortSettings->IndexShow()) {
        // Each entry's direction stays with it.
        for (int i = 0; i < FSortIndexes->Count(); ++i)
            FSortIndexes->SetSortColumns(i, TGridAxis::ShiftForMove(FSortIndexes->SortColumns(i), rf, rt));
    }
    // The platform has moved the current column already.
    if (FFloatingFooter->Visible()) UpdateFooter();
    SyncMove(true, FromIndex, ToIndex);
}

void TProStringGrid::RowMoved(int FromIndex, int ToIndex)
{
    // OnRowMoved fires once, after the heights followed too.
    auto moved = std::move(OnRowMoved);
    OnRowMoved = nullptr;
    try {
        TBaseGrid::RowMoved(FromIndex, ToIndex);
    } catch (...) {
        OnRowMoved = std::move(moved);
        throw;
    }
    OnRowMoved = std::move(moved);
    if (FEnhRowColMove) ColMoveFlg = true;
    if (OnRowMoved) OnRowMoved(this, FromIndex, ToIndex);
    SyncMove(false, FromIndex, ToIndex);
}

void TProStringGrid::SyncMove(bool Columns, int FromIndex, int ToIndex)
{
    if (FSyncedMove || !(Columns ? FSyncGrid->MoveColumn() : FSyncGrid->MoveRow())) return;
    TStringGrid* other = FSyncGrid->Grid();
    if (!other || other == this) return;
    // A grid too small for the move is left as it is.
    const int count = Columns ? other->ColCount() : other->RowCount();
    if (FromIndex >= count || ToIndex >= count) return;
    auto* pro = dynamic_cast<TProStringGrid*>(other);
    if (pro) pro->FSyncedMove = true;
    try {
        if (Columns) other->MoveColumn(FromIndex, ToIndex);
        else other->MoveRow(FromIndex, ToIndex);
    } catch (...) {
        if (pro) pro->FSyncedMove = false;
        throw;
    }
    if (pro) pro->FSyncedMove = false;
}

bool TProStringGrid::EndRowDrag(int& Origin, int& Destination, const TPoint& MousePt)
{
    (void)Origin;
    (void)MousePt;
    // The footer row stays last.
    return !(FFloatingFooter->Visible() && FFloatingFooter->FooterStyle() == fsFixedLastRow &&
             Destination == RowCount() - 1);
}

// ---- while the mouse drags -------------------------------------------------------------------

TArrowWindow* TProStringGrid::MoveArrow(TArrowDirection Direction) const
{
    switch (Direction) {
    case arrUp: return ArwU;
    case arrDown: return ArwD;
    case arrLeft: return ArwL;
    case arrRight: return ArwR;
    }
    return nullptr;
}

void TProStringGrid::HideMoveArrows()
{
    for (TArrowWindow* a : {ArwU.Created(), ArwD.Created(), ArwL.Created(), ArwR.Created()})
        if (a) a->hide();
}

void TProStringGrid::MovingStep(int X, int Y)
{
    if (FDesigning) return;
    const TGridState state = GridState();
    if (state == gsColMoving || state == gsRowMoving) {
        bool allow = true;
        if (state == gsColMoving && OnColumnMove) OnColumnMove(this, Movecell, allow);
        if (state == gsRowMoving && OnRowMove) OnRowMove(this, Movecell, allow);
        if (!allow) {
            KillTimer(1);
            SetGridState(gsNormal);
            return;
        }
    }
    const bool moving = GridState() == gsColMoving || GridState() == gsRowMoving;
    if (!moving || RowCount() <= 1 || (X == Clickposx && Y == Clickposy) || !FEnhRowColMove || FSizingFixed ||
        FSizingFixedR || !MoveButton || Movecell < 0)
        return;
    const bool cols = GridState() == gsColMoving;
    bool allow = true;
    StartBlockFocus();
    int c = -1, r = -1;
    MouseToCell(X, Y, c, r);
    const bool showCells = FDragDropSettings->ShowCells();

    // The image of the dragged header, or of the whole column or row.
    if (cols && Movecell >= FixedCols() && r >= 0) {
        if (showCells && !MoveForm) {
            const int last = std::min(RowCount() - 1, TopRow() + VisibleRowCount() - FixedRows());
            MoveForm = SelectionToForm({Movecell, 0, Movecell, std::max(0, last)});
            MoveForm->show();
        }
        MoveButton->SetCaption(Cells(DisplToRealColumn(Movecell), 0));
        MoveButton->resize(ColWidths(Movecell), RowHeights(r));
        MoveButton->update();
    } else if (!cols && Movecell >= FixedRows() && c >= 0) {
        if (showCells && !MoveForm) {
            const int last = std::min(ColCount() - 1, LeftCol() + VisibleColCount() - FixedCols());
            MoveForm = SelectionToForm({0, Movecell, std::max(0, last), Movecell});
            MoveForm->show();
        }
        MoveButton->SetCaption(Cells(0, Movecell));
        MoveButton->resize(ColWidths(c), RowHeights(Movecell));
        MoveButton->update();
    }
    const QPoint at = viewport()->mapToGlobal(QPoint(X - MoveOfsX, Y - MoveOfsY));
    MoveButton->move(at);
    if (MoveForm) {
        if (UseRightToLeftAlignment()) MoveForm->move(at.x() + ColWidths(0) - MoveForm->width(), at.y());
        else MoveForm->move(at);
    }

    auto screenRect = [this](int ACol, int ARow) {
        const TRect k = CellRect(ACol, ARow);
        const QPoint tl = viewport()->mapToGlobal(QPoint(k.Left, k.Top));
        return TRect{tl.x(), tl.y(), tl.x() + k.Width(), tl.y() + k.Height()};
    };
    if (cols) {
        const int t = FMoveColInd;
        const bool shown = t >= FixedCols() && t >= LeftCol() && t < LeftCol() + VisibleColCount() && t < ColCount();
        if (shown && c >= 0) {
            const TRect k = screenRect(t, 0);
            const int x = t < Movecell ? k.Left - 5 : k.Left + ColWidths(t) - 5;
            if (ArwU) ArwU->move(x, k.Bottom);
            if (ArwD) ArwD->move(x, k.Top - 8);
        }
        for (TArrowWindow* a : {ArwU.get(), ArwD.get()})
            if (a) a->setVisible(shown && c >= 0);
        FMoveColInd = c;
        FMoveRowInd = 0;
        if (OnColumnMoving) OnColumnMoving(this, c, allow);
    } else {
        const bool footerRow = FFloatingFooter->Visible() && FFloatingFooter->FooterStyle() == fsFixedLastRow;
        const int t = FMoveRowInd;
        const bool shown = t >= FixedRows() && t >= TopRow() && t < TopRow() + VisibleRowCount() && t < RowCount() &&
                           !(footerRow && t == RowCount() - 1);
        if (shown && r >= 0) {
            const TRect k = screenRect(0, t);
            const int y = t < Movecell ? k.Top - 5 : k.Top + RowHeights(t) - 5;
            if (ArwL) ArwL->move(k.Left - 10, y);
            if (ArwR) ArwR->move(k.Right, y);
        }
        for (TArrowWindow* a : {ArwL.get(), ArwR.get()})
            if (a) a->setVisible(shown && r >= 0);
        FMoveColInd = 0;
        FMoveRowInd = r;
        if (OnRowMoving) OnRowMoving(this, r, allow);
    }

    // Scrolling at the edges.
    if (cols && VisibleColCount() < ColCount() - FixedCols()) {
        int fixedWidth = 0;
        for (int i = 0; i < FixedCols(); ++i) fixedWidth += ColWidths(i);
        if (X < fixedWidth && LeftCol() > FixedCols()) {
            SetLeftCol(LeftCol() - 1);
            Repaint();
        } else if (X > ClientWidth() && LeftCol() + VisibleColCount() < ColCount()) {
            SetLeftCol(LeftCol() + 1);
            Repaint();
        }
    } else if (!cols && VisibleRowCount() < RowCount() - FixedRows()) {
        int fixedHeight = 0;
        for (int i = 0; i < FixedRows(); ++i) fixedHeight += RowHeights(i);
        if (Y < fixedHeight && TopRow() > FixedRows()) {
            SetTopRow(TopRow() - 1);
            Repaint();
        } else if (Y > ClientHeight() && TopRow() + VisibleRowCount() < RowCount()) {
            SetTopRow(TopRow() + 1);
            Repaint();
        }
    }

    if (!showCells && MoveButton->isHidden()) MoveButton->show();
    MoveButton->setEnabled(true);
    Screen()->SetCursor(allow ? crDrag : crNoDrop);
}

bool TProStringGrid::EndEnhancedMove()
{
    const TCursor cursor = Screen()->Cursor();
    const bool moving = GridState() == gsColMoving || GridState() == gsRowMoving;
    const bool dragging = cursor == crDrag || cursor == crNoDrop;
    if (!moving || !FEnhRowColMove || !dragging) {
        // A move refused on the way leaves its image to take away.
        if (MoveButton.Shown() && !moving) {
            MoveButton->setEnabled(false);
            MoveButton->hide();
            if (dragging) Screen()->SetCursor(crDefault);
        }
        delete MoveForm;
        MoveForm = nullptr;
        return false;
    }
    const bool cols = GridState() == gsColMoving;
    if (MoveButton) {
        MoveButton->setEnabled(false);
        MoveButton->hide();
    }
    delete MoveForm;
    MoveForm = nullptr;
    EndBlockFocus();
    Screen()->SetCursor(crDefault);
    KillTimer(1);
    SetGridState(gsNormal);
    if (cursor == crNoDrop) {
        if (cols) InvalidateRow(0);
        else InvalidateCol(0);
        return true;
    }
    if (cols && FMoveColInd >= FixedCols() && FMoveColInd < ColCount() && FMoveColInd != Movecell)
        MoveColumn(Movecell, FMoveColInd);
    else if (!cols && FMoveRowInd >= FixedRows() && FMoveRowInd < RowCount() && FMoveRowInd != Movecell)
        MoveRow(Movecell, FMoveRowInd);
    return true;
}
