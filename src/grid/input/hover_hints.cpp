// The mouse over the string grid: hover row and fixed-cell hover, sizing edges of fixed
// columns and rows with their sizing line, row and column selection by dragging over the
// fixed cells, the link cursor, sizing events and hints, cell hints and the hint window.
#include "grid/base/text_packing.h"
#include "grid/control/pro_string_grid.h"
#include "platform/ui/notify.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

// ---------------------------------------------------------------- hover helpers

bool TProStringGrid::IsHoverFixedCell(int ACol, int ARow) const
{
    if (ACol < 0 || ARow < 0) return false;
    const bool inCols = ACol < FixedCols(), inRows = ARow < FixedRows();
    switch (FHoverFixedCells) {
    case hfAll: return inCols || inRows;
    case hfFixedColumns: return inCols;
    case hfFixedRows: return inRows;
    default: return false;
    }
}

void TProStringGrid::ResetFixedCellHighlight()
{
    FSizeFixed = FSizeFixedR = FNoMouseLeave = false;
    if (FHoverFixedCells == hfNone) return;
    const int x = FHoverFixedX, y = FHoverFixedY;
    FHoverFixedX = FHoverFixedY = -1;
    if (x >= 0 && y >= 0 && x < ColCount() && y < RowCount()) InvalidateCell(x, y);
}

// The fixed column (or row) whose right (bottom) edge lies less than 3 px from Pos; -1 when
// none.  Edges fall at the running sum of the sizes plus one pixel per cell.
int TProStringGrid::FixedEdgeIndex(bool Cols, int Pos) const
{
    const int n = Cols ? FixedCols() : FixedRows();
    int edge = 0;
    for (int i = 0; i < n; ++i) {
        edge += (Cols ? ColWidths(i) : RowHeights(i)) + 1;
        if (std::abs(Pos - edge) < 3) return i;
    }
    return -1;
}

void TProStringGrid::DrawFixedSizingLine(bool Cols, int Pos)
{
    // Drawn not-xor on the window between paints: the same line drawn again is gone.
    TCanvas* cv = Canvas();
    TPen keep;
    keep.Assign(*cv->Pen());
    cv->Pen()->SetColor(clBlack);
    cv->Pen()->SetStyle(psDot);
    cv->Pen()->SetMode(pmNotXor);
    cv->Pen()->SetWidth(1);
    if (Cols) {
        const int bottom = std::max(ClientHeight(), CalcCellRect(0, RowCount() - 1).Bottom);
        cv->MoveTo(Pos, 0);
        cv->LineTo(Pos, bottom);
    } else {
        const int right = std::max(ClientWidth(), CalcCellRect(ColCount() - 1, 0).Right);
        cv->MoveTo(0, Pos);
        cv->LineTo(right, Pos);
    }
    cv->Pen()->Assign(keep);
}

void TProStringGrid::UpdateFixedSizing(int X, int Y)
{
    int c = -1, r = -1;
    MouseToCell(X, Y, c, r);
    const bool valid = c >= 0 && r >= 0 && !FDesigning;
    FSizeFixed = valid && FMouseActions->SizeFixedCol() && FixedEdgeIndex(true, X) >= 0;
    FSizeFixedR = valid && FMouseActions->SizeFixedRow() && FixedEdgeIndex(false, Y) >= 0;
    if (FSizingFixed) {
        DrawFixedSizingLine(true, FSizeFixedX);
        FSizeFixedX = X;
        DrawFixedSizingLine(true, X);
    }
    if (FSizingFixedR) {
        DrawFixedSizingLine(false, FSizeFixedY);
        FSizeFixedY = Y;
        DrawFixedSizingLine(false, Y);
    }
}

void TProStringGrid::ShowSizingHint(int X, int Y)
{
    const bool colSizing = GridState() == gsColSizing || FSizingFixed;
    QString text;
    TGridCoord at{0, 0};
    if (colSizing) {
        int w = FSizeFixedX, col = Colclicked, row = Rowclicked;
        if (col < 0) {
            col = ColCount() - 1;
            row = 0;
        }
        if (!FSizingFixed) {
            w = X - CalcCellRect(col, std::max(row, 0)).Left - Clickposdx;
            at = {col, std::max(row, 0)};
        }
        text = QStringLiteral("cw=<b>%1</b>").arg(w);
    } else {
        int h = FSizeFixedY, col = Colclicked, row = Rowclicked;
        if (row < 0) {
            row = RowCount() - 1;
            col = 0;
        }
        if (!FSizingFixedR) {
            h = Y - CalcCellRect(std::max(col, 0), row).Top - Clickposdy;
            at = {std::max(col, 0), row};
        }
        text = QStringLiteral("rh=<b>%1</b>").arg(h);
    }
    TRect r = FScrollHintWnd->CalcHintRect(200, text, nullptr);
    const TRect cell = CalcCellRect(at.X, at.Y);
    const QPoint g = viewport()->mapToGlobal(QPoint(cell.Left, cell.Top));
    OffsetRect(r, g.x(), g.y());
    FScrollHintWnd->SetColor(FHintColor);
    FScrollHintWnd->ActivateHint(r, text);
    FScrollHintShow = true;
}

// ---------------------------------------------------------------- mouse move

void TProStringGrid::MouseMove(TShiftState Shift, int X, int Y)
{
    if (FMouseDownMove && FMouseActions->RangeSelectAndEdit() && Options().Contains(goEditing) && !EditorMode())
        EndRangeEdit();
    const TGridRect entry = Selection();

    int c = -1, r = -1;
    MouseToCell(X, Y, c, r);
    const bool valid = c >= 0 && r >= 0;
    if (valid && !FDesigning && HoverRow() && r != FHoverRowIdx) {
        const int old = FHoverRowIdx;
        FHoverRowIdx = r;
        if (old >= 0 && old < RowCount()) InvalidateRow(old);
        InvalidateRow(r);
    }
    if (FHoverFixedCells != hfNone && !FNoMouseLeave && (c != FHoverFixedX || r != FHoverFixedY)) {
        const int ox = FHoverFixedX, oy = FHoverFixedY;
        FHoverFixedX = c;
        FHoverFixedY = r;
        auto header = [this](int x, int y) { return x >= 0 && y >= 0 && (x < FixedCols() || y < FixedRows()); };
        if (header(ox, oy) && ox < ColCount() && oy < RowCount()) InvalidateCell(ox, oy);
        if (header(c, r)) InvalidateCell(c, r);
    }
    TrackHotFixedCell(c, r);

    // Whole rows or columns selected by dragging over the fixed cells.
    bool scrolledUp = false;
    if (FMouseSelectStart >= 0 && FMouseActions->RowSelect() && FMouseSelectMode == msRow) {
        if (r >= FixedRows() && r < RowCount() - FFixedFooters) {
            const int to = std::max(FixedRows(), r);
            SetSelection({FixedCols(), std::min(FMouseSelectStart, to), ColCount() - 1, std::max(FMouseSelectStart, to)});
        }
        if (Y > ClientHeight() - 4 && TopRow() < CalcMaxTopLeft({ColCount() - 1, RowCount() - 1}).Y) {
            SetTopRow(TopRow() + 1);
        } else if (FixedRows() > 0 && Y < RowHeights(0) && TopRow() > FixedRows()) {
            SetTopRow(TopRow() - 1);
            scrolledUp = true;
        }
    } else if (FMouseSelectStart >= 0 && FMouseActions->ColSelect() && FMouseSelectMode == msColumn && c >= 0) {
        const int to = std::max(FixedCols(), c);
        SetSelection({std::min(FMouseSelectStart, to), FixedRows(), std::max(FMouseSelectStart, to), RowCount() - 1});
    }

    UpdateFixedSizing(X, Y);
    // A press on the selection that moves on starts a drag; the drag has run when this returns.
    if (FSelectionClick && StartOleDrag(Shift, X, Y, c, r)) return;

    if (!FDesigning) {
        if (GridState() == gsColSizing) ColSized = true;
        if (GridState() == gsRowSizing) Rowsized = true;
        MovingStep(X, Y);
    }

    // The selection mode the cursor shows.
    bool handled = false;
    TMouseSelectMode mode = msNormal;
    if (valid) {
        TGridDrawInfo info;
        CalcDrawInfo(info);
        TGridState edge = gsNormal;
        int idx = -1, pos = 0, ofs = 0;
        CalcSizingState(X, Y, edge, idx, pos, ofs, info);
        const bool onBorder = edge != gsNormal || FSizeFixed || FSizeFixedR;
        const bool fixedRow = r < FixedRows(), fixedCol = c < FixedCols();
        if (fixedRow && fixedCol && FMouseActions->AllSelect()) mode = msAll;
        else if (fixedRow && !fixedCol && FMouseActions->ColSelect() && !onBorder) mode = msColumn;
        else if (fixedCol && (!fixedRow || scrolledUp) && r <= RowCount() - 1 && FMouseActions->RowSelect() &&
                 !onBorder)
            mode = msRow;
    }
    if (FMouseSelectStart < 0 || FMouseSelectMode == msNormal) FMouseSelectMode = mode;
    if (mode != msNormal) {
        Invokedchange = true;
        handled = true;
    }

    // The link cursor over a cell whose text is a URL.
    if (valid) {
        const int rc = RealColIndex(c);
        const QString text = Cells(rc, r);
        const int kind = CellTextKind(text, FEnableHTML);
        if (FURLShow && kind == 0 && IsURLText(text)) {
            Invokedchange = true;
            if (Cursor() != crHandPoint) SetCursor(crHandPoint);
            handled = true;
        } else if (kind == 1) {
            const QString anchor = AnchorAt(c, r, X, Y);
            if (!anchor.isEmpty()) {
                if (anchor != FAnchor) {
                    if (OnAnchorEnter) OnAnchorEnter(this, r, rc, anchor);
                    FAnchor = anchor;
                }
                if (Cursor() != crHandPoint) SetCursor(crHandPoint);
                handled = true;
            }
        }
        if (!FAnchor.isEmpty() && (kind != 1 || AnchorAt(c, r, X, Y).isEmpty())) {
            if (OnAnchorExit) OnAnchorExit(this, r, rc, QString());
            FAnchor.clear();
        }
    }
    if (!handled && Cursor() != FOldCursor) {
        Invokedchange = true;
        SetCursor(FOldCursor);
    }

    // A cell hint goes when the mouse reaches another cell.
    if (FLastHintPos.X >= 0) {
        int bc = -1, br = -1;
        if (!valid || !ResolveBaseCell(c, r, bc, br) || bc != FLastHintPos.X || br != FLastHintPos.Y) {
            CancelHintOf(this);
            FLastHintPos = {-1, -1};
        }
    }
    if (FBalloonSettings->Enable() && FLastBalloonPos.X >= 0) {
        int bc = -1, br = -1;
        if (!valid || !ResolveBaseCell(c, r, bc, br) || bc != FLastBalloonPos.X || br != FLastBalloonPos.Y) {
            SendMessageTo(BalloonToolTip(), TTM_POP);
            FLastBalloonPos = {-1, -1};
        }
    }

    TBaseGrid::MouseMove(Shift, X, Y);

    if (FNavigation->KeepHorizScroll() && FMouseKeepDown && GridState() != gsColMoving && LeftCol() != FOldKeepLeftCol)
        SetLeftCol(FOldKeepLeftCol);

    const bool colSizing = GridState() == gsColSizing || FSizingFixed;
    const bool rowSizing = GridState() == gsRowSizing || FSizingFixedR;
    if (colSizing && OnColumnSizing) {
        if (FSizingFixed) OnColumnSizing(this, 0, FSizeFixedX);
        else if (Colclicked >= 0) OnColumnSizing(this, Colclicked, X - CalcCellRect(Colclicked, 0).Left - Clickposdx);
    }
    if (rowSizing && OnRowSizing) {
        if (FSizingFixedR) OnRowSizing(this, 0, FSizeFixedY);
        else if (Rowclicked >= 0) OnRowSizing(this, Rowclicked, Y - CalcCellRect(0, Rowclicked).Top - Clickposdy);
    }
    if ((FDesigning || FHintShowSizing) && (colSizing || rowSizing)) ShowSizingHint(X, Y);

    ReportSelectionChange(entry);
}

// ---------------------------------------------------------------- leaving and hints

void TProStringGrid::CMMouseLeave(TMessage& m) { HandleMouseLeave(m); }

void TProStringGrid::HandleMouseLeave(TMessage& Message)
{
    TBaseGrid::CMMouseLeave(Message);
    FMouseSelectMode = msNormal;
    FSizeFixed = FSizeFixedR = false;
    if (!FNoMouseLeave && FHoverFixedCells != hfNone && FHoverFixedX >= 0 && FHoverFixedY >= 0) {
        const int x = FHoverFixedX, y = FHoverFixedY;
        FHoverFixedX = FHoverFixedY = -1;
        if (x < ColCount() && y < RowCount()) InvalidateCell(x, y);
    }
    // The mouse is outside every header cell now: the hot cell goes back to normal.
    TrackHotFixedCell(-1, -1);
    if (HoverRow() && FHoverRowIdx >= 0) {
        const int old = FHoverRowIdx;
        FHoverRowIdx = -1;
        if (old < RowCount()) InvalidateRow(old);
    }
}

void TProStringGrid::CMHintShow(TMessage& m) { HandleHintShow(m); }

void TProStringGrid::HandleHintShow(TMessage& Message)
{
    auto* info = reinterpret_cast<THintInfo*>(Message.LParam);
    if (info) PrepareCellHint(info->HintStr, *info);
    Message.Result = 0;
}

void TProStringGrid::PrepareCellHint(QString& HintStr, THintInfo& HintInfo)
{
    const int X = HintInfo.CursorPos.X, Y = HintInfo.CursorPos.Y;
    int c = -1, r = -1;
    MouseToCell(X, Y, c, r);
    THTMLHintWindow::GridFontName = Font()->Name();
    QPoint pos(X, Y);
    if (c >= 0 && r >= 0) {
        int bc = c, br = r;
        ResolveBaseCell(c, r, bc, br);
        FLastHintPos = {bc, br};
        const TRect cr = CellRect(bc, br);
        const int rc = RealColIndex(bc);
        pos = QPoint(X, cr.Bottom + 6);
        // The hint stays while the mouse is over its cell.
        HintInfo.CursorRect = cr;
        const QString text = Cells(rc, br);
        const int kind = CellTextKind(text, FEnableHTML);
        auto shown = [&] {
            if (kind == 5) return UnpackWideText(text);
            if (FHTMLHint || kind == 0) return text;
            return StripCellHtml(text);
        };
        const bool normal = !IsFixed(bc, br);
        if (FHintShowCells && normal) {
            pos.setY(cr.Top);
            HintStr = shown();
        }
        if (FHintShowLargeText) {
            const QSize s = GetCellTextSize(rc, br, false, false);
            if (s.width() > cr.Width() || s.height() > cr.Height()) {
                if (FHintShowLargeTextPos == hpCell) pos = QPoint(cr.Left, cr.Top);
                HintStr = shown();
            }
        }
        QString wide;
        GetCellHint(rc, br, HintStr, wide);
    }
    const int kind = CellTextKind(HintStr, true);
    if ((kind == 1 || kind == 5) && FUseInternalHintClass) {
        HintInfo.HintWindowClass = [] { return new THTMLHintWindow; };
        HintInfo.HintData = this;
    }
    const QPoint g = viewport()->mapToGlobal(pos);
    HintInfo.HintPos = {g.x(), g.y()};
    HintInfo.HintColor = FHintColor;
}
