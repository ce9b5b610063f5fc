// Scrolling and sizing: the scroll messages with their hints, proportional thumbs, the
// stretch column, proportional sizing of all columns or rows, and scrolling while something
// is dragged near the grid's edges.
#include "grid/base/grid_error.h"
#include "grid/control/pro_string_grid.h"
#include "platform/core/sysutils.h"
#include "platform/ui/grid_detail.h"

#include <QCoreApplication>
#include <QCursor>
#include <QScrollBar>
#include <QTimer>
#include <cmath>

using grid_detail::HandleOf;

// ---------------------------------------------------------------- scroll messages

void TProStringGrid::ShowScrollHint(const QString& Text)
{
    TRect r = FScrollHintWnd->CalcHintRect(100, Text, nullptr);
    const QPoint p = QCursor::pos();
    r.Left += p.x() + 10;
    r.Right += p.x() + 10;
    r.Top += p.y();
    r.Bottom += p.y();
    FScrollHintWnd->SetColor(FHintColor);
    FScrollHintWnd->ActivateHint(r, Text);
    FScrollHintShow = true;
}

void TProStringGrid::CheckBoxEditorHide()
{
    if (Col() < ColCount() && Row() < RowCount() && HasCheckBox(DisplToRealColumn(Col()), Row())) HideEditor();
}

void TProStringGrid::HandleHorzScroll(TMessage& Message)
{
    const int code = LoWord(Message.WParam);
    const int pos = HiWord(Message.WParam);
    const int C = MulDiv(pos, ColCount() - VisibleColCount() - FixedCols(), 127) + FixedCols();
    if (FScrollHints == shHorizontal || FScrollHints == shBoth) {
        if (code == SB_ENDSCROLL) {
            FScrollHintWnd->ReleaseHandle();
            FScrollHintShow = false;
        } else if (code == SB_THUMBTRACK) {
            QString text = QStringLiteral("Col : %1").arg(C);
            if (OnScrollHint) OnScrollHint(this, C, text);
            ShowScrollHint(text);
        }
    }
    // (The flat bars here are the window's own, on the same thumb range: their positions need
    // no conversion.)
    if (code == SB_THUMBTRACK && FScrollSynch) SetLeftCol(std::clamp(C, FixedCols(), std::max(FixedCols(), ColCount() - 1)));
    if (FixedCols() == 0 && Col() <= C) HideInplaceEdit();
    TBaseGrid::WMHScroll(Message);
    // (A fixed background picture: the view is painted whole after every scroll.)
    if (code == SB_ENDSCROLL && UseRightToLeftAlignment() && FMergeCount > 0) Invalidate();
    if (code == SB_ENDSCROLL && ColCount() == 1) Repaint();
    UpdateFlatHScroll();
    UpdateFlatVScroll();
    CheckBoxEditorHide();
    UpdateFooter();
}

void TProStringGrid::HandleVertScroll(TMessage& Message)
{
    if (FDesigning) {
        TBaseGrid::WMVScroll(Message);
        return;
    }
    const int code = LoWord(Message.WParam);
    const int pos = HiWord(Message.WParam);
    if (FScrollBar.Created() && Message.LParam != 0 && Message.LParam == HandleOf(FScrollBar.Created())) {
        // the scroll bar placed in a cell
        const int old = FScrollBar->value();
        int to = old;
        switch (code) {
        case SB_LINEUP: to = std::max(FScrollBar->minimum(), old - 10); break;
        case SB_LINEDOWN: to = std::min(FScrollBar->maximum(), old + 10); break;
        case SB_PAGEUP: to = old - 100; break;
        case SB_PAGEDOWN: to = old + 100; break;
        case SB_THUMBTRACK: to = pos; break;
        default: break;
        }
        FScrollBar->setValue(to);
        if (FScrollBar->value() != old) {
            Message.Result = 1;
            SetScrollPosition(FScrollCol, FScrollRow, FScrollBar->value());
            RepaintCell(RealToDisplColumn(FScrollCol), FScrollRow);
            if (OnScrollCell)
                OnScrollCell(this, FScrollCol, FScrollRow, FScrollBar->value(), FScrollBar->minimum(),
                             FScrollBar->maximum());
        }
        return;
    }
    const int R = MulDiv(pos, RowCount() - VisibleRowCount() - FixedRows(), 127) + FixedRows();
    if (FScrollHints == shVertical || FScrollHints == shBoth) {
        if (code == SB_ENDSCROLL) {
            FScrollHintWnd->ReleaseHandle();
            FScrollHintShow = false;
        } else if (code == SB_THUMBTRACK) {
            QString text = QStringLiteral("Row : %1").arg(R);
            if (OnScrollHint) OnScrollHint(this, R, text);
            ShowScrollHint(text);
        }
    }
    if (code == SB_THUMBTRACK && FScrollSynch) SetTopRow(std::clamp(R, FixedRows(), std::max(FixedRows(), RowCount() - 1)));
    const bool footer = FSearchFooter->Visible();
    if ((code == SB_ENDSCROLL || code == SB_LINEDOWN) && footer && LastRowAboveSearchFooter()) {
        Message.Result = 1;
        return;
    }
    TBaseGrid::WMVScroll(Message);
    if (footer && TopRow() == RowCount() - VisibleRowCount()) {
        if (code == SB_LINEUP && TopRow() > FixedRows()) SetTopRow(TopRow() - 1);
        else if (code == SB_ENDSCROLL || code == SB_LINEDOWN) ScrollAboveSearchFooter();
    }
    UpdateFlatVScroll();
    UpdateFlatHScroll();
    CheckBoxEditorHide();
}

// ---------------------------------------------------------------- proportional thumbs

void TProStringGrid::UpdateHScrollBar()
{
    UpdateProportionalBar(true);
}

void TProStringGrid::UpdateVScrollBar()
{
    UpdateProportionalBar(false);
}

// The thumb's share of the bar is the share of the scrolling cells in view; positions stay
// in 0..127 (range max, page max - 126).
void TProStringGrid::UpdateProportionalBar(bool Horz)
{
    if (FLoading || FDesigning || !FScrollProportional || FScrollLock || FTornDown) return;
    if (!Horz && VisibleRowCount() + FixedRows() >= RowCount()) return;
    const int bar = Horz ? SB_HORZ : SB_VERT;
    const int n = Horz ? ColCount() : RowCount();
    const int fixed = Horz ? FixedCols() : FixedRows();
    const int first = Horz ? LeftCol() : GetTopRowEx();
    const int64_t L = GridLineWidth();
    int64_t F = L, S = L, H = L, T = 0;
    for (int i = 0; i < n; ++i) {
        const int64_t w = Horz ? ColWidths(i) : RowHeights(i);
        T += w;
        if (i < fixed) {
            F += L + w;
        } else {
            S += L + w;
            if (i < first) H += L + w;
        }
    }
    if (S <= 0) return;
    const int64_t W = Horz ? Width() : Height();
    // a fixed area wider than the control leaves no room: the smallest thumb
    const float e = std::max(0.0f, float(W - F) / float(S));
    if (!(e < 0.9999f)) return;
    const int max = int(std::trunc((e + 127.0f) / (1.0f - e)));
    int pos = Horz ? GetScrollPos(bar) : 127;
    if (W < S) pos = int(std::trunc(double(H) / double(S - W) * 128.0));
    if (Horz && F + S - W < 5) return;
    TScrollInfo si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMin = 0;
    si.nMax = max;
    si.nPage = unsigned(std::max(1, max - 126));
    si.nPos = pos;
    SetScrollInfo(bar, si, true);
    if (!Horz) {
        UpdateFlatVScroll();
        return;
    }
    UpdateFlatHScroll();
    if (FScrollBarAlways != saHorz && FScrollBarAlways != saBoth)
        ShowScrollBar(SB_HORZ, T >= W && (ScrollBars() == ssHorizontal || ScrollBars() == ssBoth));
}

// ---------------------------------------------------------------- stretching and sizing

void TProStringGrid::StretchColumn(int ACol)
{
    if (FLoading || FTornDown || Destroying() || QCoreApplication::closingDown()) return;
    if (ACol == -1) ACol = ColCount() - 1;
    // -1 and 0 .. ColCount - 1 are the only columns there are
    if (ACol >= ColCount() || ACol < -1) throw EProGridError(QStringLiteral("Stretch column index out of range"));
    if (ColCount() == 0 || !FColumnSize->Stretch() || FIsColChanging) return;
    FIsColChanging = true;
    ColchgFlg = false;
    const int cw = ClientWidth();
    if (ColCount() == 1) {
        SetColWidths(ACol, cw);
    } else {
        int others = 0;
        for (int c = 0; c < ColCount(); ++c)
            if (c != ACol) others += ColWidths(c);
        if (others < cw) SetColWidths(ACol, cw - others - 1);
        else if (LeftCol() == FixedCols()) SetColWidths(ACol, DefaultColWidth());
    }
    ColchgFlg = true;
    FIsColChanging = false;
    // (the floating footer's panel follows the grid's bottom with the footer itself)
}

void TProStringGrid::ColumnWidthsAltered()
{
    if (FAllSizing) {
        // one of the widths the proportional sizing below sets
        TBaseGrid::ColWidthsChanged();
        return;
    }
    if (ColchgFlg && FColumnSize->Stretch()) StretchColumn(FColumnSize->StretchColumn());
    if (FDesigning && FScrollHintShow) {
        FScrollHintWnd->ReleaseHandle();
        FScrollHintShow = false;
    }
    TBaseGrid::ColWidthsChanged();
    ColSizeFlg = true;
    if (ColSized && Colclicked >= 0 && Colclicked < ColCount() && FMouseActions->AllColumnSize() &&
        Colclickedsize > 0) {
        const double nw = ColWidths(Colclicked);
        FAllSizing = true;
        for (int c = FixedCols(); c < ColCount(); ++c)
            if (c != Colclicked) SetColWidths(c, int(Round(ColWidths(c) * nw / Colclickedsize)));
        FAllSizing = false;
    }
    if (ColSized && OnEndColumnSize) OnEndColumnSize(this, Colclicked);
    if (ColSized && Colclicked >= 0 && Colclicked < ColCount()) {
        int w = ColWidths(Colclicked);
        UpdateColumnSize(Colclicked, w);
        if (w != ColWidths(Colclicked)) {
            ColSized = false;
            SetColWidths(Colclicked, w);
        }
    }
    if (ColSized) Colclicked = Rowclicked = -1;
    if (EditMode && EditCtrl) {
        const TRect r = CellRect(Col(), Row());
        EditCtrl->setGeometry(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
    }
    ColSized = false;
    CheckBoxEditorHide();
    UpdateFooter();
    CellControlsUpdate(false);
    if (FColumnSize->Stretch() && FScrollProportional) UpdateVScrollBar();
}

void TProStringGrid::RowHeightsAltered()
{
    if (FAllSizing) {
        TBaseGrid::RowHeightsChanged();
        return;
    }
    if (FDesigning && FScrollHintShow) {
        FScrollHintWnd->ReleaseHandle();
        FScrollHintShow = false;
    }
    TBaseGrid::RowHeightsChanged();
    if (Rowsized && Rowclicked >= 0 && Rowclicked < RowCount() && FMouseActions->AllRowSize() &&
        Rowclickedsize > 0) {
        const double nh = RowHeights(Rowclicked);
        FAllSizing = true;
        for (int r = FixedRows(); r < RowCount(); ++r)
            if (r != Rowclicked) SetRowHeights(r, int(Round(RowHeights(r) * nh / Rowclickedsize)));
        FAllSizing = false;
    }
    if (Rowsized && OnEndRowSize) OnEndRowSize(this, Rowclicked);
    if (Rowsized) Colclicked = Rowclicked = -1;
    Rowsized = false;
    CheckBoxEditorHide();
    CellControlsUpdate(false);
}

void TProStringGrid::DimensionsChanged()
{
    if (!parentWidget() || FLoading || FTornDown || QCoreApplication::closingDown()) return;
    if (FColumnSize->Stretch()) StretchColumn(FColumnSize->StretchColumn());
    // the platform has laid out its bars for the new counts already
    FlatShowScrollBar(SB_VERT, VisibleRowCount() + FixedRows() < RowCount());
    UpdateFlatVScroll();
    FlatShowScrollBar(SB_HORZ, VisibleColCount() + FixedCols() < ColCount());
    UpdateFlatHScroll();
    // the thumb's share follows the rows there are now (once, after a bulk change)
    if (FScrollProportional && FUpdateCount == 0) {
        UpdateVScrollBar();
        UpdateHScrollBar();
    }
}

void TProStringGrid::Zoom(int X)
{
    if (FZoomFactor + X < -10 || FZoomFactor + X > 10) return;
    FZoomFactor += X;
    FScrollLock = true;
    for (int c = 0; c < ColCount(); ++c)
        if (ColWidths(c) > 0 && ColWidths(c) + X > 0) SetColWidths(c, ColWidths(c) + X);
    for (int r = 0; r < RowCount(); ++r)
        if (RowHeights(r) > 0 && RowHeights(r) + X > 0) SetRowHeights(r, RowHeights(r) + X);
    FScrollLock = false;
    if (FScrollProportional) {
        UpdateVScrollBar();
        UpdateHScrollBar();
    }
    Invalidate();
}

// ---------------------------------------------------------------- scrolling while dragging

void TProStringGrid::HandleDragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept)
{
    auto freeTimer = [this] {
        delete FDragTmr;
        FDragTmr = nullptr;
    };
    if (!FDragScrollOptions->Active()) {
        freeTimer();
        TBaseGrid::DragOver(Source, X, Y, State, Accept);
        return;
    }
    const bool wasEmpty = FDragScrollDirection.Empty();
    FDragScrollDirection = {};
    if (State == dsDragEnter || State == dsDragMove) {
        const TDragScrollMargins* m = FDragScrollOptions->Margins();
        if (Y < m->TopMargin()) FDragScrollDirection += dsdUp;
        else if (Y > Height() - m->BottomMargin()) FDragScrollDirection += dsdDown;
        if (X < m->LeftMargin()) FDragScrollDirection += dsdLeft;
        else if (X > Width() - m->RightMargin()) FDragScrollDirection += dsdRight;
        if (FDragScrollDirection.Empty()) {
            freeTimer();
        } else if (!FDragTmr) {
            FDragTmr = new QTimer(parentWidget() ? static_cast<QObject*>(parentWidget()) : this);
            FDragTmr->setInterval(FDragScrollOptions->Delays()->InitialDelay());
            QObject::connect(FDragTmr, &QTimer::timeout, this, [this] { DragScrollTimer(this); });
            FDragTmr->start();
        } else if (!wasEmpty) {
            FDragTmr->setInterval(FDragScrollOptions->Delays()->InitialDelay());
        }
    } else if (State == dsDragLeave) {
        freeTimer();
    }
    TBaseGrid::DragOver(Source, X, Y, State, Accept);
}

void TProStringGrid::DragScrollTimer(TObject* Sender)
{
    (void)Sender;
    if (!FDragTmr) return;
    if (!FDragScrollOptions->Active()) {
        FDragTmr->deleteLater();
        FDragTmr = nullptr;
        return;
    }
    FDragTmr->setInterval(FDragScrollOptions->Delays()->RepeatDelay());
    TDragScrollDirection dir = FDragScrollDirection;
    bool canScroll = true;
    if (OnDragScroll) OnDragScroll(this, TopRow(), LeftCol(), dir, canScroll);
    if (!canScroll) return;
    if (dir.Contains(dsdUp) && TopRow() > FixedRows()) SetTopRow(TopRow() - 1);
    if (dir.Contains(dsdDown) && TopRow() + VisibleRowCount() < RowCount()) SetTopRow(TopRow() + 1);
    if (dir.Contains(dsdLeft) && LeftCol() > FixedCols()) SetLeftCol(LeftCol() - 1);
    if (dir.Contains(dsdRight) && VisibleColCount() + LeftCol() < ColCount()) SetLeftCol(LeftCol() + 1);
}
