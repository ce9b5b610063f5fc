// What follows a scroll of the grid: controls placed in cells and the per-cell scroll bar,
// open special editors, the footer; the grid's key-up step; and the translucent snapshot of
// a cell range shown while dragging.
#include "grid/control/grid_selection.h"
#include "grid/control/pro_string_grid.h"

#include <QLabel>
#include <QPainter>
#include <QScrollBar>

// ---- controls in cells --------------------------------------------------------------------

void TProStringGrid::ShiftCellControls(const TAxisShift& Shift, bool Rows)
{
    for (int i = FControlList->Count() - 1; i >= 0; --i) {
        TControlItem* item = FControlList->GetControl(i);
        const int to = Shift(Rows ? item->Y() : item->X());
        if (to < 0) {
            if (item->Control()) item->Control()->setVisible(false);
            FControlList->RemoveControl(i);
        } else if (Rows) {
            item->SetY(to);
        } else {
            item->SetX(to);
        }
    }
}

void TProStringGrid::CellControlsUpdate(bool RebuildList)
{
    if (!HandleAllocated()) return;
    if (RebuildList) {
        while (FControlList->Count() > 0) FControlList->RemoveControl(FControlList->Count() - 1);
        for (int c = 0; c < ColCount(); ++c)
            for (int r = 0; r < RowCount(); ++r)
                if (HasCellProperties(c, r))
                    if (QWidget* w = GetCellProperties(c, r)->Control()) FControlList->AddControl(c, r, w);
    }

    if (FScrollBar.Shown()) {
        const bool outside = Row() < TopRow() || Col() < LeftCol() || Col() >= LeftCol() + VisibleColCount()
                             || Row() >= TopRow() + VisibleRowCount();
        if (outside) {
            FScrollBar->resize(FScrollBar->width(), 0);
        } else {
            const TRect r = CellRect(Col(), Row());
            FScrollBar->setGeometry(r.Right - FScrollBar->width(), r.Top, FScrollBar->width(), r.Bottom - r.Top);
        }
    }
    if (FControlList->Count() == 0) return;

    // Whether the entry's cell is within the visible range; greater-than on purpose, so a
    // partly visible cell one beyond keeps its control.
    auto inside = [this](int D, int R, bool hiddenRow) {
        return !(D < LeftCol() || D > LeftCol() + VisibleColCount() || R < TopRow() || R > TopRow() + VisibleRowCount()
                 || hiddenRow);
    };
    for (int i = 0; i < FControlList->Count(); ++i) {
        TControlItem* item = FControlList->GetControl(i);
        QWidget* w = item->Control();
        if (!w) continue;
        const bool hiddenRow = IsHiddenRow(item->Y());
        const bool hiddenCol = item->X() < MaxColumns && !VisibleCol(item->X());
        if (hiddenRow || hiddenCol) w->hide();
        const int D = RealToDisplColumn(item->X());
        const int R = RealToDisplRow(item->Y());
        if (R < FixedRows() || D < FixedCols()) continue;
        if (!inside(D, R, hiddenRow) || hiddenCol) {
            w->hide();
        } else {
            const TRect cr = CellRect(D, R);
            w->setGeometry(cr.Left - 1, cr.Top - 1, cr.Right - cr.Left + 1, cr.Bottom - cr.Top + 1);
            w->show();
        }
    }
    // A second pass lets each shown control lay itself out again.
    for (int i = 0; i < FControlList->Count(); ++i) {
        TControlItem* item = FControlList->GetControl(i);
        const int D = RealToDisplColumn(item->X());
        const int R = RealToDisplRow(item->Y());
        if (R < FixedRows() || D < FixedCols() || !inside(D, R, IsHiddenRow(item->Y()))) continue;
        QWidget* w = GetCellControls(item->X(), R);
        if (!w || !w->isVisible()) continue;
        w->update();
        w->resize(w->width() + 1, w->height());
        w->resize(w->width() - 1, w->height());
    }
}

// ---- scroll notification ------------------------------------------------------------------

void TProStringGrid::TopLeftChanged()
{
    TBaseGrid::TopLeftChanged();
    const TGridRect sel = Selection();
    if (FSelectionRectangle && sel.Top != sel.Bottom) Invalidate();
    const TBackgroundDisplay bd = FBackGround->Display();
    if (bd == bdFixed || bd == bdTile || ((bd == bdGradientHorz || bd == bdGradientVert) && FBackGround->ColorTo() != clNone))
        if (HasBackgroundPicture() || bd == bdGradientHorz || bd == bdGradientVert) Invalidate();
    // A special editor does not scroll with the cells: it is closed with its value kept.
    // The default edit stays open and is moved by the platform grid.
    if (EditMode && EditControl != edNormal) HideInplaceEdit();
    UpdateFlatVScroll();
    UpdateFlatHScroll();
    UpdateFooter();
    CellControlsUpdate(false);
    FOldLeftCol = LeftCol();
    FOldTopRow = TopRow();
    if (FDesigning) Invalidate();
    if (TStringGrid* other = FSyncGrid ? FSyncGrid->Grid() : nullptr) {
        if (FSyncGrid->ScrollVertical() && other->TopRow() != TopRow()) other->SetTopRow(TopRow());
        if (FSyncGrid->ScrollHorizontal() && other->LeftCol() != LeftCol()) other->SetLeftCol(LeftCol());
    }
}

// ---- key up -------------------------------------------------------------------------------

void TProStringGrid::KeyUp(int& Key, TShiftState Shift)
{
    if ((Key >= VK_PRIOR && Key <= VK_END && Key != VK_HOME) || (Key >= VK_LEFT && Key <= VK_DOWN) || Key == VK_INSERT
        || Key == VK_DELETE)
        SearchInc.clear();
    TGridRect o = Selection();
    if (o.Left > o.Right) std::swap(o.Left, o.Right);
    if (o.Top > o.Bottom) std::swap(o.Top, o.Bottom);
    TBaseGrid::KeyUp(Key, Shift);

    const bool arrow = Key >= VK_LEFT && Key <= VK_DOWN;
    const bool tab = Key == VK_TAB;
    if (FNavigation->AlwaysEdit() && (arrow || (tab && Options().Contains(goTabs))) && !HasClickControl(Col(), Row()))
        ShowInplaceEdit();

    const TGridRect sel = Selection();
    if (!(sel == FMoveSelection) && (tab || arrow)) SelectionChanged(sel.Left, sel.Top, sel.Right, sel.Bottom);

    const bool disjunct = FMouseActions->DisjunctCellSelect() && !Options().Contains(goEditing);
    TGridRect s = sel;
    if (s.Left > s.Right) std::swap(s.Left, s.Right);
    if (s.Top > s.Bottom) std::swap(s.Top, s.Bottom);
    if (disjunct && Shift.Contains(ssShift)) {
        for (int r = o.Top; r <= o.Bottom; ++r)
            for (int c = o.Left; c <= o.Right; ++c)
                FSelect->SetCellSelected(c, r, false);
        for (int r = s.Top; r <= s.Bottom; ++r)
            for (int c = s.Left; c <= s.Right; ++c)
                if (!(c == Col() && r == Row())) FSelect->SetCellSelected(c, r, true);
    }
    if (Key == VK_SPACE && disjunct) {
        const TPoint b = BaseCell(Col(), Row());
        auto repaintSelected = [&] {
            for (int v : FSelect->CellKeys()) RepaintCell(TGridSelection::KeyCol(v), TGridSelection::KeyRow(v));
        };
        if (!IsFixed(b.X, b.Y)) {
            bool allow = true;
            if (OnSelectCell) OnSelectCell(this, b.X, b.Y, allow);
            if (!allow) return;
            if (Shift.Contains(ssCtrl)) {
                FSelect->ToggleCell(b.X, b.Y);
            } else {
                repaintSelected();
                FSelect->ClearCells();
                FSelect->SetCellSelected(b.X, b.Y, true);
            }
        }
        if (s.Left != s.Right || s.Top != s.Bottom) {
            for (int r = s.Top; r <= s.Bottom; ++r)
                for (int c = s.Left; c <= s.Right; ++c)
                    if (!(c == b.X && r == b.Y)) FSelect->SetCellSelected(c, r, true);
            repaintSelected();
        }
        RepaintCell(Col(), Row());
    }
}

// ---- selection snapshot -------------------------------------------------------------------

TNoActiveForm::TNoActiveForm(QWidget* AOwner) : TForm(AOwner)
{
    // A pop-up that never takes the focus or the activation, and lets clicks fall through.
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setEnabled(false);
}

TNoActiveForm* TProStringGrid::SelectionToForm(TGridRect ARect)
{
    const QImage s = viewport()->grab().toImage();
    TRect a = CalcCellRect(ARect.Left, ARect.Top);
    TRect z = CalcCellRect(ARect.Right, ARect.Bottom);
    if (z.Left < a.Left) std::swap(a, z);
    if (z.Bottom < a.Bottom) {
        std::swap(a.Top, z.Top);
        std::swap(a.Bottom, z.Bottom);
    }
    const int w = std::max(1, z.Right - a.Left + 1);
    const int h = std::max(1, z.Bottom - a.Top + 1);
    QPixmap p(w, h);
    p.fill(Qt::white);
    {
        QPainter painter(&p);
        painter.drawImage(QPoint(0, 0), s, QRect(a.Left + 1, a.Top + 1, w, h));
        painter.setPen(ColorToQColor(GridFixedLineColor()));
        if (ARect.Left == 0 && FixedCols() > 0 && Options().Contains(goFixedHorzLine)) painter.drawLine(0, 0, 0, h);
        if (ARect.Top == 0 && FixedRows() > 0 && Options().Contains(goFixedVertLine)) painter.drawLine(0, 0, w, 0);
    }
    auto* f = new TNoActiveForm(this);
    f->resize(w, h);
    auto* image = new QLabel(f);
    image->setGeometry(0, 0, w, h);
    image->setPixmap(p);
    f->setWindowOpacity(192.0 / 255.0);
    return f;
}
