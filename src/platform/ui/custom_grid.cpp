#include "platform/ui/custom_grid.h"

#include "platform/core/sysutils.h"
#include "platform/ui/grid_detail.h"
#include "platform/ui/inplace_edit.h"

#include <QApplication>
#include <QCursor>
#include <QDialog>
#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>
#include <algorithm>

using namespace grid_detail;

namespace {

// The grid's own scroll range: the thumb's position in 128 steps, whatever the count.
constexpr int kBarRange = 127;

}  // namespace

// Passes the releases and wheel turns of the window's scroll bars to the grid, which turns
// them into scroll and wheel messages.
class TScrollBarFilter : public QObject {
public:
    explicit TScrollBarFilter(TCustomGrid* grid) : QObject(grid), FGrid(grid) {}

    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (FGrid->FDestroying) return false;
        const int bar = o == FGrid->verticalScrollBar() ? SB_VERT : SB_HORZ;
        switch (e->type()) {
        case QEvent::MouseButtonRelease: FGrid->ScrollBarReleased(bar, e); return true;
        case QEvent::Wheel: FGrid->SendWheel(static_cast<QWheelEvent*>(e)); return true;
        default: return false;
        }
    }

private:
    TCustomGrid* FGrid;
};

TCustomGrid::TCustomGrid(QWidget* parent) : QAbstractScrollArea(parent), FCanvas(viewport())
{
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    FFont.OnChange = [this](TObject*) {
        if (!FDestroying) Perform(CM_FONTCHANGED);
    };
    viewport()->setAcceptDrops(true);
    FBarFilter = new TScrollBarFilter(this);
    for (int bar : {SB_HORZ, SB_VERT}) {
        QScrollBar* w = BarWidget(bar);
        w->installEventFilter(FBarFilter);
        connect(w, &QScrollBar::actionTriggered, this, [this, bar](int action) { ScrollBarAction(bar, action); });
        connect(w, &QScrollBar::sliderReleased, this, [this, bar, w] {
            Perform(bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL, MakeWParam(SB_THUMBPOSITION, w->sliderPosition()));
            ApplyBar(bar);
        });
    }
    resize(320, 120);
}

TCustomGrid::~TCustomGrid()
{
    FDestroying = true;
    CancelHintOf(this);
    // the bars outlive this part of the grid while QWidget takes its children down
    delete FBarFilter;
    FBarFilter = nullptr;
    for (int bar : {SB_HORZ, SB_VERT}) BarWidget(bar)->disconnect(this);
    for (auto& t : FTimers) t.second.stop();
    FFont.OnChange = nullptr;
    // The editor goes while this grid is whole: its focus change must not reach a half
    // destroyed grid.
    delete FInplaceEdit;
    FInplaceEdit = nullptr;
}

void TCustomGrid::AfterConstruction()
{
    HandleNeeded();
    UpdateScrollRange();
}

void TCustomGrid::BeforeDestruction()
{
    // the window goes: the most derived grid hears of it while it is still whole
    if (FHandleAllocated && !FDestroySent && !FDestroying) {
        FDestroySent = true;
        Perform(WM_DESTROY);
    }
    FDestroying = true;
}

void TCustomGrid::Free()
{
    BeforeDestruction();
    delete this;
}

void TCustomGrid::HandleNeeded()
{
    if (FHandleAllocated) return;
    FHandleAllocated = true;
    CreateWnd();
}

// ---------------------------------------------------------------- dimensions

void TCustomGrid::ChangeSize(int newColCount, int newRowCount)
{
    const int oldCols = FCols.Count(), oldRows = FRows.Count();
    if (oldCols == newColCount && oldRows == newRowCount) return;
    FCols.SetCount(newColCount);
    FRows.SetCount(newRowCount);
    if (!FTabStops.empty()) FTabStops.resize(FCols.Count(), true);

    // The current cell and the anchor stay inside the grid.
    FAnchor.X = std::min(FAnchor.X, FCols.Count() - 1);
    FAnchor.Y = std::min(FAnchor.Y, FRows.Count() - 1);
    if (FCurrent.X >= FCols.Count() || FCurrent.Y >= FRows.Count()) {
        int c = std::min(FCurrent.X, FCols.Count() - 1), r = std::min(FCurrent.Y, FRows.Count() - 1);
        MoveCurrent(c, r, true, false);
        if (FCurrent.X >= FCols.Count() || FCurrent.Y >= FRows.Count()) {
            FCurrent = {c, r};   // a refused move may not leave it outside
            FAnchor = FCurrent;
        }
    }
    TGridCoord maxTL = CalcMaxTopLeft({FCols.Count() - 1, FRows.Count() - 1});
    TGridCoord tl{std::clamp(FTopLeft.X, FCols.FixedCount(), std::max(FCols.FixedCount(), maxTL.X)),
                  std::clamp(FTopLeft.Y, FRows.FixedCount(), std::max(FRows.FixedCount(), maxTL.Y))};
    if (!(tl == FTopLeft)) MoveTopLeft(tl.X, tl.Y);
    SizeChanged(oldCols, oldRows);
    Invalidate();
    UpdateScrollRange();
    if (FEditorMode) UpdateEditor();
}

void TCustomGrid::SetColCount(int v)
{
    if (v < 1) v = 1;
    if (v == FCols.Count()) return;
    if (v <= FCols.FixedCount()) TCustomGrid::SetFixedCols(v - 1);
    ChangeSize(v, FRows.Count());
    if (FOptions.Contains(goRowSelect)) FAnchor.X = FCols.Count() - 1;
}

void TCustomGrid::SetRowCount(int v)
{
    if (v < 1) v = 1;
    if (v == FRows.Count()) return;
    if (v <= FRows.FixedCount()) TCustomGrid::SetFixedRows(v - 1);
    ChangeSize(FCols.Count(), v);
}

void TCustomGrid::SetFixedCols(int v)
{
    if (v < 0) InvalidOp(kIndexOutOfRange);
    if (v >= FCols.Count()) InvalidOp(kFixedColTooBig);
    FCols.SetFixedCount(v);
    FixedAreaChanged();
}

void TCustomGrid::SetFixedRows(int v)
{
    if (v < 0) InvalidOp(kIndexOutOfRange);
    if (v >= FRows.Count()) InvalidOp(kFixedRowTooBig);
    FRows.SetFixedCount(v);
    FixedAreaChanged();
}

void TCustomGrid::FixedAreaChanged()
{
    // back to the first normal cell, as the platform does on every change of the fixed area
    FTopLeft = {FCols.FixedCount(), FRows.FixedCount()};
    FCurrent = FTopLeft;
    FAnchor = FCurrent;
    if (FOptions.Contains(goRowSelect)) FAnchor.X = FCols.Count() - 1;
    Invalidate();
    UpdateScrollRange();
}

void TCustomGrid::SetDefaultColWidth(int v)
{
    FCols.SetDefaultSize(v);
    ColWidthsChanged();
    Invalidate();
}

void TCustomGrid::SetDefaultRowHeight(int v)
{
    FRows.SetDefaultSize(v);
    RowHeightsChanged();
    Invalidate();
}

int TCustomGrid::ColWidths(int index) const
{
    return FCols.Size(index);
}

void TCustomGrid::SetColWidths(int index, int v)
{
    if (index < 0 || index >= FCols.Count()) InvalidOp(kIndexOutOfRange);
    if (!FCols.SetSize(index, v)) return;
    ColWidthsChanged();
    Invalidate();
}

int TCustomGrid::RowHeights(int index) const
{
    return FRows.Size(index);
}

void TCustomGrid::SetRowHeights(int index, int v)
{
    if (index < 0 || index >= FRows.Count()) InvalidOp(kIndexOutOfRange);
    if (!FRows.SetSize(index, v)) return;
    RowHeightsChanged();
    Invalidate();
}

void TCustomGrid::SetGridLineWidth(int v)
{
    if (v == FGridLineWidth) return;
    FGridLineWidth = std::max(0, v);
    UpdateScrollRange();
    Invalidate();
    if (FEditorMode) UpdateEditor();
}

int TCustomGrid::AxisExtent(const TGridAxis& axis, int from, int to) const
{
    // Negative when `to` lies before `from`: the distance back to a cell scrolled out of view.
    from = std::clamp(from, 0, axis.Count());
    to = std::clamp(to, 0, axis.Count());
    return axis.Offset(to) - axis.Offset(from) + (to - from) * FGridLineWidth;
}

int TCustomGrid::CellStart(const TGridAxis& axis, int first, int index) const
{
    if (index < axis.FixedCount()) return AxisExtent(axis, 0, index);
    return AxisExtent(axis, 0, axis.FixedCount()) + AxisExtent(axis, first, index);
}

int TCustomGrid::GridWidth() const
{
    return AxisExtent(FCols, 0, FCols.Count());
}

int TCustomGrid::GridHeight() const
{
    return AxisExtent(FRows, 0, FRows.Count());
}

void TCustomGrid::ColWidthsChanged()
{
    UpdateScrollRange();
    if (FEditorMode) UpdateEditor();
}

void TCustomGrid::RowHeightsChanged()
{
    UpdateScrollRange();
    if (FEditorMode) UpdateEditor();
}

// ---------------------------------------------------------------- look

void TCustomGrid::SetColor(TColor c)
{
    if (c == FColor) return;
    FColor = c;
    Invalidate();
    Perform(CM_COLORCHANGED);
}

void TCustomGrid::SetFixedColor(TColor c)
{
    if (c == FFixedColor) return;
    FFixedColor = c;
    Invalidate();
}

void TCustomGrid::SetBorderStyle(TBorderStyle s)
{
    FBorderStyle = s;
    setFrameShape(s == bsNone ? QFrame::NoFrame : QFrame::StyledPanel);
    UpdateScrollRange();
}

void TCustomGrid::SetScrollBars(TScrollStyle s)
{
    if (s == FScrollBars) return;
    FScrollBars = s;
    UpdateScrollRange();
}

void TCustomGrid::SetDefaultDrawing(bool v)
{
    if (v == FDefaultDrawing) return;
    FDefaultDrawing = v;
    Invalidate();
}

void TCustomGrid::SetOptions(TGridOptions o)
{
    if (o.Contains(goRowSelect)) o.Exclude(goAlwaysShowEditor);   // a whole row is never edited
    if (o == FOptions) return;
    FOptions = o;
    if (!FEditorMode) {
        if (FOptions.Contains(goAlwaysShowEditor)) ShowEditor();
        else HideEditor();
    } else if (!FOptions.Contains(goEditing)) {
        HideEditor();
    }
    if (FOptions.Contains(goRowSelect)) MoveCurrent(FCurrent.X, FCurrent.Y, true, false);
    Invalidate();
}

void TCustomGrid::SetCursor(TCursor c)
{
    FCursor = c;
    viewport()->setCursor(CursorOf(c));
    Perform(CM_CURSORCHANGED);
}

bool TCustomGrid::TabStops(int col) const
{
    if (col < 0 || col >= static_cast<int>(FTabStops.size())) return true;
    return FTabStops[col];
}

void TCustomGrid::SetTabStops(int col, bool v)
{
    if (col < 0 || col >= FCols.Count()) InvalidOp(kIndexOutOfRange);
    if (FTabStops.empty()) FTabStops.assign(FCols.Count(), true);
    FTabStops[col] = v;
}

void TCustomGrid::ChangeGridOrientation(bool rightToLeft)
{
    setLayoutDirection(rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
    Invalidate();
}

// ---------------------------------------------------------------- position

TGridRect TCustomGrid::Selection() const
{
    return {std::min(FCurrent.X, FAnchor.X), std::min(FCurrent.Y, FAnchor.Y), std::max(FCurrent.X, FAnchor.X),
            std::max(FCurrent.Y, FAnchor.Y)};
}

void TCustomGrid::SetSelection(const TGridRect& r)
{
    TGridRect old = Selection();
    FAnchor = r.TopLeft();
    FCurrent = r.BottomRight();
    SelectionMoved(old);
}

void TCustomGrid::SelectionMoved(const TGridRect& oldSel)
{
    InvalidateGridRect(oldSel);
    InvalidateGridRect(Selection());
}

void TCustomGrid::SetCol(int v)
{
    if (v != FCurrent.X) FocusCell(v, FCurrent.Y, true);
}

void TCustomGrid::SetRow(int v)
{
    if (v != FCurrent.Y) FocusCell(FCurrent.X, v, true);
}

void TCustomGrid::SetLeftCol(int v)
{
    if (v != FTopLeft.X) MoveTopLeft(v, FTopLeft.Y);
}

void TCustomGrid::SetTopRow(int v)
{
    if (v != FTopLeft.Y) MoveTopLeft(FTopLeft.X, v);
}

void TCustomGrid::FocusCell(int col, int row, bool moveAnchor)
{
    MoveCurrent(col, row, moveAnchor, true);
    UpdateEditor();
    Click();
}

void TCustomGrid::MoveColRow(int col, int row, bool moveAnchor, bool show)
{
    MoveCurrent(col, row, moveAnchor, show);
}

void TCustomGrid::MoveCurrent(int col, int row, bool moveAnchor, bool show)
{
    if (col < 0 || row < 0 || col >= FCols.Count() || row >= FRows.Count()) InvalidOp(kIndexOutOfRange);
    if (!SelectCell(col, row)) return;
    TGridRect old = Selection();
    FCurrent = {col, row};
    if (!FOptions.Contains(goAlwaysShowEditor)) HideEditor();
    if (moveAnchor || !FOptions.Contains(goRangeSelect)) {
        FAnchor = FCurrent;
        if (FOptions.Contains(goRowSelect)) FAnchor.X = FCols.Count() - 1;
    }
    if (FOptions.Contains(goRowSelect)) FCurrent.X = FCols.FixedCount();
    if (show) ClampInView(FCurrent);
    SelectionMoved(old);
}

void TCustomGrid::MoveAnchor(const TGridCoord& anchor)
{
    if (!FOptions.Contains(goRangeSelect)) {
        MoveCurrent(anchor.X, anchor.Y, true, true);
        return;
    }
    TGridRect old = Selection();
    FAnchor = anchor;
    if (FOptions.Contains(goRowSelect)) FAnchor.X = FCols.Count() - 1;
    ClampInView(anchor);
    SelectionMoved(old);
}

void TCustomGrid::CalcAxis(TGridAxisDrawInfo& a, bool horz) const
{
    const TGridAxis& axis = horz ? FCols : FRows;
    a.EffectiveLineWidth = FGridLineWidth;
    a.FixedCellCount = axis.FixedCount();
    a.FirstGridCell = horz ? FTopLeft.X : FTopLeft.Y;
    a.GridCellCount = axis.Count();
    a.GridExtent = horz ? ClientWidth() : ClientHeight();
    a.FixedBoundary = AxisExtent(axis, 0, a.FixedCellCount);
    int pos = a.FixedBoundary;
    a.LastFullVisibleCell = a.FirstGridCell;
    a.FullVisBoundary = pos;
    for (int i = a.FirstGridCell; i < a.GridCellCount && pos < a.GridExtent; ++i) {
        pos += axis.Size(i) + FGridLineWidth;
        if (pos <= a.GridExtent) {
            a.LastFullVisibleCell = i;
            a.FullVisBoundary = pos;
        }
    }
    a.GridBoundary = std::min(pos, a.GridExtent);
}

void TCustomGrid::CalcDrawInfo(TGridDrawInfo& info) const
{
    CalcAxis(info.Horz, true);
    CalcAxis(info.Vert, false);
}

int TCustomGrid::VisibleColCount() const
{
    TGridAxisDrawInfo a;
    CalcAxis(a, true);
    return std::max(0, a.LastFullVisibleCell - FTopLeft.X + 1);
}

int TCustomGrid::VisibleRowCount() const
{
    TGridAxisDrawInfo a;
    CalcAxis(a, false);
    return std::max(0, a.LastFullVisibleCell - FTopLeft.Y + 1);
}

TGridCoord TCustomGrid::CalcMaxTopLeft(const TGridCoord& coord) const
{
    // The smallest top-left from which the given cell is the last one fully in view: the
    // first j with cells [j, last] fitting beside the fixed cells, found on the running sums.
    auto axis = [&](const TGridAxis& ax, int last, int extent) {
        const int fixed = ax.FixedCount();
        if (last <= fixed) return fixed;
        const int room = extent - AxisExtent(ax, 0, fixed);
        int lo = fixed, hi = last;   // the answer lies in [lo, hi]; hi always qualifies as a fallback
        while (lo < hi) {
            const int mid = lo + (hi - lo) / 2;
            if (AxisExtent(ax, mid, last + 1) <= room) hi = mid;
            else lo = mid + 1;
        }
        return lo;
    };
    return {axis(FCols, coord.X, ClientWidth()), axis(FRows, coord.Y, ClientHeight())};
}

void TCustomGrid::ClampInView(const TGridCoord& coord)
{
    if (!HandleAllocated()) return;
    TGridDrawInfo info;
    CalcDrawInfo(info);
    TGridCoord tl = FTopLeft;
    if (coord.X >= FCols.FixedCount()) {
        if (coord.X < tl.X) tl.X = coord.X;
        else if (coord.X > info.Horz.LastFullVisibleCell) tl.X = CalcMaxTopLeft(coord).X;
    }
    if (coord.Y >= FRows.FixedCount()) {
        if (coord.Y < tl.Y) tl.Y = coord.Y;
        else if (coord.Y > info.Vert.LastFullVisibleCell) tl.Y = CalcMaxTopLeft(coord).Y;
    }
    MoveTopLeft(tl.X, tl.Y);
}

void TCustomGrid::MoveTopLeft(int left, int top)
{
    left = std::clamp(left, FCols.FixedCount(), std::max(FCols.FixedCount(), FCols.Count() - 1));
    top = std::clamp(top, FRows.FixedCount(), std::max(FRows.FixedCount(), FRows.Count() - 1));
    if (left == FTopLeft.X && top == FTopLeft.Y) return;
    FTopLeft = {left, top};
    UpdateScrollPos();
    viewport()->update();
    TopLeftChanged();
}

void TCustomGrid::TopLeftChanged()
{
    if (FEditorMode && FInplaceEdit) FInplaceEdit->UpdateLoc(CellRect(FCurrent.X, FCurrent.Y));
    if (OnTopLeftChanged) OnTopLeftChanged(this);
}

// ---------------------------------------------------------------- geometry

int TCustomGrid::ClientWidth() const
{
    int w = width() - 2 * frameWidth();
    if (FVBarOn) w -= verticalScrollBar()->sizeHint().width();
    return std::max(0, w);
}

int TCustomGrid::ClientHeight() const
{
    int h = height() - 2 * frameWidth() - FBottomReserve;
    if (FHBarOn) h -= horizontalScrollBar()->sizeHint().height();
    return std::max(0, h);
}

void TCustomGrid::AddBottomAligned(QWidget* Panel)
{
    FBottomAligned.push_back(Panel);
    QObject::connect(Panel, &QObject::destroyed, this, [this, Panel] {
        std::erase(FBottomAligned, Panel);
        if (!FDestroying) RealignBottom();
    });
    RealignBottom();
}

void TCustomGrid::AddBottomOverlay(QWidget* Panel)
{
    FBottomOverlays.push_back(Panel);
    QObject::connect(Panel, &QObject::destroyed, this, [this, Panel] { std::erase(FBottomOverlays, Panel); });
    RealignBottom();
}

void TCustomGrid::RealignBottom()
{
    if (FRealigning) return;
    FRealigning = true;
    int reserve = 0;
    for (QWidget* w : FBottomAligned)
        if (!w->isHidden()) reserve += w->height();
    if (reserve != FBottomReserve) {
        FBottomReserve = reserve;
        setViewportMargins(0, 0, 0, reserve);
        UpdateScrollRange();
    }
    int y = frameWidth() + ClientHeight() + reserve;
    for (QWidget* w : FBottomAligned) {
        if (w->isHidden()) continue;
        y -= w->height();
        w->setGeometry(frameWidth(), y, ClientWidth(), w->height());
        w->raise();
    }
    // the overlays lie over the cells' bottom edge, the vertical scroll bar left free
    for (QWidget* w : FBottomOverlays) {
        const int x = isRightToLeft() && FVBarOn ? width() - frameWidth() - ClientWidth() : frameWidth();
        w->setGeometry(x, frameWidth() + ClientHeight() - w->height(), ClientWidth(), w->height());
        w->raise();
    }
    FRealigning = false;
}

void TCustomGrid::SetBounds(int left, int top, int w, int h)
{
    setGeometry(left, top, w, h);
    UpdateScrollRange();
}

TRect TCustomGrid::MirrorRect(const TRect& r) const
{
    if (!UseRightToLeftAlignment() || IsRectEmpty(r)) return r;
    const int w = ClientWidth();
    return {w - r.Right, r.Top, w - r.Left, r.Bottom};
}

TRect TCustomGrid::BoxRect(int left, int top, int right, int bottom) const
{
    // Client rectangle of the visible part of a block of cells; empty when none is visible.
    auto axis = [&](const TGridAxis& ax, int first, int extent, int from, int to, int& a, int& b) {
        const int fixed = ax.FixedCount();
        if (from > to) std::swap(from, to);
        if (from >= fixed && from < first) from = first;   // scrolled out at the start
        if (from < fixed && to >= fixed && to < first) to = fixed - 1;
        if (from > to) return false;
        const int s = CellStart(ax, first, from);
        if (s >= extent) return false;
        a = s;
        b = std::min(CellStart(ax, first, to) + ax.Size(to), extent);
        return true;
    };
    TRect r;
    if (left < 0 || top < 0 || right >= FCols.Count() || bottom >= FRows.Count()) return r;
    if (!axis(FCols, FTopLeft.X, ClientWidth(), left, right, r.Left, r.Right) ||
        !axis(FRows, FTopLeft.Y, ClientHeight(), top, bottom, r.Top, r.Bottom))
        return TRect{};
    return MirrorRect(r);
}

TRect TCustomGrid::CellRect(int col, int row) const
{
    return BoxRect(col, row, col, row);
}

TRect TCustomGrid::CalcCellRect(int col, int row) const
{
    const int x = CellStart(FCols, FTopLeft.X, col), y = CellStart(FRows, FTopLeft.Y, row);
    return MirrorRect({x, y, x + ColWidths(col), y + RowHeights(row)});
}

TGridCoord TCustomGrid::CalcCoordFromPoint(int x, int y) const
{
    auto axis = [&](const TGridAxis& ax, int first, int extent, int p) {
        if (p < 0 || p >= extent) return -1;
        const int fixedEnd = AxisExtent(ax, 0, ax.FixedCount());
        if (p < fixedEnd) return ax.CellAt(0, p, FGridLineWidth);
        return ax.CellAt(first, p - fixedEnd, FGridLineWidth);
    };
    // Right to left, the first column sits at the right edge.
    if (UseRightToLeftAlignment()) x = ClientWidth() - 1 - x;
    return {axis(FCols, FTopLeft.X, ClientWidth(), x), axis(FRows, FTopLeft.Y, ClientHeight(), y)};
}

TGridCoord TCustomGrid::MouseCoord(int x, int y) const
{
    TGridCoord c = CalcCoordFromPoint(x, y);
    if (c.X < 0) c.Y = -1;
    else if (c.Y < 0) c.X = -1;
    return c;
}

void TCustomGrid::MouseToCell(int x, int y, int& col, int& row) const
{
    TGridCoord c = MouseCoord(x, y);
    col = c.X;
    row = c.Y;
}

// ---------------------------------------------------------------- repaint

void TCustomGrid::Invalidate()
{
    viewport()->update();
}

void TCustomGrid::Repaint()
{
    viewport()->repaint();
}

void TCustomGrid::InvalidateClientRect(const TRect& r)
{
    if (!IsRectEmpty(r)) viewport()->update(r.ToQRect());
}

void TCustomGrid::InvalidateGridRect(const TGridRect& g)
{
    if (!isVisible()) return;
    const int cols = FCols.Count(), rows = FRows.Count(), fixedCols = FCols.FixedCount(), fixedRows = FRows.FixedCount();
    TGridRect r{std::max(0, g.Left), std::max(0, g.Top), std::min(cols - 1, g.Right), std::min(rows - 1, g.Bottom)};
    if (r.Left > r.Right || r.Top > r.Bottom) return;
    InvalidateClientRect(BoxRect(r.Left, r.Top, r.Right, r.Bottom));
    // fixed cells and scrolled cells are separate areas; the rectangle above covers both
    // only when the block lies in one of them
    if (r.Left < fixedCols && r.Right >= fixedCols) InvalidateClientRect(BoxRect(FTopLeft.X, r.Top, r.Right, r.Bottom));
    if (r.Top < fixedRows && r.Bottom >= fixedRows) InvalidateClientRect(BoxRect(r.Left, FTopLeft.Y, r.Right, r.Bottom));
    // A cell that reaches beyond its own box (a merged block) does so across the edge of the
    // block: the cells along the edge that can show bring their whole rectangles.
    auto shown = [&](const TGridAxis& ax, int first, int extent, int from, int to, auto&& each) {
        for (int i = from; i <= to && i < ax.FixedCount(); ++i) each(i);
        for (int i = std::max(from, first); i <= to && CellStart(ax, first, i) < extent; ++i) each(i);
    };
    shown(FCols, FTopLeft.X, ClientWidth(), r.Left, r.Right, [&](int c) {
        InvalidateCell(c, r.Top);
        if (r.Bottom != r.Top) InvalidateCell(c, r.Bottom);
    });
    shown(FRows, FTopLeft.Y, ClientHeight(), r.Top, r.Bottom, [&](int row) {
        InvalidateCell(r.Left, row);
        if (r.Right != r.Left) InvalidateCell(r.Right, row);
    });
}

void TCustomGrid::InvalidateCell(int col, int row)
{
    if (!isVisible()) return;
    InvalidateClientRect(IntersectWithClient(CellRect(col, row)));
}

TRect TCustomGrid::IntersectWithClient(const TRect& r) const
{
    TRect out;
    if (!IntersectRect(out, r, ClientRect())) return TRect{};
    return out;
}

void TCustomGrid::InvalidateCol(int col)
{
    InvalidateGridRect({col, 0, col, FRows.Count() - 1});
}

void TCustomGrid::InvalidateRow(int row)
{
    InvalidateGridRect({0, row, FCols.Count() - 1, row});
}

// ---------------------------------------------------------------- painting

void TCustomGrid::paintEvent(QPaintEvent* e)
{
    // A sizing line still on the window after sizing ended (the release or a cancel asks
    // for this paint) goes first.
    if (FSizingLineState != gsNormal && FGridState != FSizingLineState) DrawSizingLine();
    QPainter p(viewport());
    FCanvas.BeginPaint(&p, e->region());
    FInPaint = true;
    try {
        Paint();
        FCanvas.PaintOverlay(p, e->region());
    } catch (...) {
        FInPaint = false;
        FCanvas.EndPaint();
        throw;
    }
    FInPaint = false;
    FCanvas.EndPaint();
}

void TCustomGrid::Paint()
{
    TGridDrawInfo info;
    CalcDrawInfo(info);
    const TGridRect sel = Selection();
    const bool focused = IsActiveControl();
    const int lw = FGridLineWidth;
    // Only the cells in the part of the window being painted are drawn.  Cells are laid out
    // left to right here; right to left, the window's part is mirrored to match.
    const TRect clip = MirrorRect(FCanvas.ClipRect());
    if (IsRectEmpty(clip)) return;

    auto drawRange = [&](int c0, int c1, int r0, int r1, int x0, int y0) {
        int y = y0;
        for (int r = r0; r <= r1 && y < info.Vert.GridExtent && y < clip.Bottom; ++r) {
            const int h = RowHeights(r);
            if (y + h + lw <= clip.Top) {
                y += h + lw;
                continue;
            }
            int x = x0;
            for (int c = c0; c <= c1 && x < info.Horz.GridExtent && x < clip.Right; ++c) {
                const int w = ColWidths(c);
                if (x + w + lw <= clip.Left || !FCanvas.RectVisible(MirrorRect({x, y, x + w + lw, y + h + lw}))) {
                    x += w + lw;
                    continue;
                }
                TRect where{x, y, x + w, y + h};
                TGridDrawState state;
                const bool fixed = c < FCols.FixedCount() || r < FRows.FixedCount();
                if (fixed) state.Include(gdFixed);
                else {
                    if (focused && r == FCurrent.Y && c == FCurrent.X) state.Include(gdFocused);
                    if (PointInGridRect(c, r, sel)) state.Include(gdSelected);
                    if (FOptions.Contains(goRowSelect) && PointInGridRect(c, r, sel)) state.Include(gdRowSelected);
                }
                if (FDefaultDrawing) {
                    FCanvas.SetFont(FFont);
                    if (fixed) FCanvas.Brush()->SetColor(FFixedColor);
                    else if (state.Contains(gdSelected) &&
                             (!state.Contains(gdFocused) || FOptions.Contains(goDrawFocusSelected) ||
                              FOptions.Contains(goRowSelect))) {
                        FCanvas.Brush()->SetColor(clHighlight);
                        FCanvas.Font()->SetColor(clHighlightText);
                    } else FCanvas.Brush()->SetColor(FColor);
                    FCanvas.FillRect(where);
                }
                DrawCell(c, r, where, state);
                if (FDefaultDrawing && state.Contains(gdFocused) && !FOptions.Contains(goRowSelect) &&
                    !(FEditorMode && FInplaceEdit && FInplaceEdit->isVisible()))
                    FCanvas.DrawFocusRect(where);
                if (lw > 0) {
                    const bool vert = fixed ? FOptions.Contains(goFixedVertLine) : FOptions.Contains(goVertLine);
                    const bool horz = fixed ? FOptions.Contains(goFixedHorzLine) : FOptions.Contains(goHorzLine);
                    FCanvas.Brush()->SetColor(fixed ? clBlack : clSilver);
                    if (vert) FCanvas.FillRect({x + w, y, x + w + lw, y + h + lw});
                    if (horz) FCanvas.FillRect({x, y + h, x + w + lw, y + h + lw});
                    if (!vert) {
                        FCanvas.Brush()->SetColor(FColor);
                        FCanvas.FillRect({x + w, y, x + w + lw, y + h});
                    }
                }
                x += w + lw;
            }
            y += h + lw;
        }
    };
    const int fixedW = info.Horz.FixedBoundary, fixedH = info.Vert.FixedBoundary;
    drawRange(0, FCols.FixedCount() - 1, 0, FRows.FixedCount() - 1, 0, 0);
    drawRange(FTopLeft.X, FCols.Count() - 1, 0, FRows.FixedCount() - 1, fixedW, 0);
    drawRange(0, FCols.FixedCount() - 1, FTopLeft.Y, FRows.Count() - 1, 0, fixedH);
    drawRange(FTopLeft.X, FCols.Count() - 1, FTopLeft.Y, FRows.Count() - 1, fixedW, fixedH);

    // what lies beyond the last cells
    FCanvas.Brush()->SetColor(FColor);
    if (info.Horz.GridBoundary < info.Horz.GridExtent)
        FCanvas.FillRect(MirrorRect({info.Horz.GridBoundary, 0, info.Horz.GridExtent, info.Vert.GridExtent}));
    if (info.Vert.GridBoundary < info.Vert.GridExtent)
        FCanvas.FillRect(MirrorRect({0, info.Vert.GridBoundary, info.Horz.GridBoundary, info.Vert.GridExtent}));
}

// ---------------------------------------------------------------- editing

bool TCustomGrid::CanEditShow()
{
    return FOptions.Contains(goEditing) && !FOptions.Contains(goRowSelect) && FEditorMode && HandleAllocated() &&
           (FOptions.Contains(goAlwaysShowEditor) || IsActiveControl());
}

TInplaceEdit* TCustomGrid::CreateEditor()
{
    return new TInplaceEdit(this);
}

void TCustomGrid::SetEditorMode(bool v)
{
    if (!v) HideEditor();
    else {
        ShowEditor();
        if (FInplaceEdit) FInplaceEdit->Deselect();
    }
}

void TCustomGrid::ShowEditor()
{
    FEditorMode = true;
    UpdateEditor();
}

void TCustomGrid::HideEditor()
{
    FEditorMode = false;
    HideEdit();
}

void TCustomGrid::HideEdit()
{
    if (!FInplaceEdit) return;
    UpdateText();
    FInplaceCol = -1;
    FInplaceRow = -1;
    FInplaceEdit->Hide();
}

void TCustomGrid::UpdateText()
{
    if (FInplaceCol != -1 && FInplaceRow != -1 && FInplaceEdit && !FEditUpdate) {
        FEditUpdate = true;
        try {
            SetEditText(FInplaceCol, FInplaceRow, FInplaceEdit->Text());
        } catch (...) {
            FEditUpdate = false;
            throw;
        }
        FEditUpdate = false;
    }
}

void TCustomGrid::ShowEditorChar(QChar ch)
{
    ShowEditor();
    if (FInplaceEdit && FInplaceEdit->isVisible()) FInplaceEdit->Perform(WM_CHAR, ch.unicode());
}

void TCustomGrid::UpdateEditor()
{
    if (!CanEditShow()) return;
    auto load = [this] {
        FInplaceCol = FCurrent.X;
        FInplaceRow = FCurrent.Y;
        FInplaceEdit->UpdateContents();
        FCanEditModify = FInplaceEdit->MaxLength() != -1;
        FInplaceEdit->SelectAll();
    };
    if (!FInplaceEdit) {
        FInplaceEdit = CreateEditor();
        load();
    } else if (FCurrent.X != FInplaceCol || FCurrent.Y != FInplaceRow) {
        HideEdit();
        load();
    }
    if (CanEditShow()) FInplaceEdit->Move(CellRect(FCurrent.X, FCurrent.Y));
}

void TCustomGrid::InvalidateEditor()
{
    FInplaceCol = -1;
    FInplaceRow = -1;
    UpdateEditor();
}

// ---------------------------------------------------------------- structure

void TCustomGrid::MoveColumn(int fromIndex, int toIndex)
{
    if (fromIndex == toIndex) return;
    if (fromIndex < 0 || toIndex < 0 || fromIndex >= FCols.Count() || toIndex >= FCols.Count()) InvalidOp(kIndexOutOfRange);
    FCols.Move(fromIndex, toIndex);
    if (!FTabStops.empty()) {
        std::vector<char> t(FTabStops.begin(), FTabStops.end());
        MoveItem(t, fromIndex, toIndex);
        FTabStops.assign(t.begin(), t.end());
    }
    MoveAdjust(FCurrent.X, fromIndex, toIndex);
    MoveAdjust(FAnchor.X, fromIndex, toIndex);
    if (FInplaceCol >= 0) MoveAdjust(FInplaceCol, fromIndex, toIndex);
    InvalidateGridRect({std::min(fromIndex, toIndex), 0, std::max(fromIndex, toIndex), FRows.Count() - 1});
    ColumnMoved(fromIndex, toIndex);
    if (FCols.HasSizes()) ColWidthsChanged();
    if (FEditorMode) UpdateEditor();
}

void TCustomGrid::MoveRow(int fromIndex, int toIndex)
{
    if (fromIndex == toIndex) return;
    if (fromIndex < 0 || toIndex < 0 || fromIndex >= FRows.Count() || toIndex >= FRows.Count()) InvalidOp(kIndexOutOfRange);
    FRows.Move(fromIndex, toIndex);
    MoveAdjust(FCurrent.Y, fromIndex, toIndex);
    MoveAdjust(FAnchor.Y, fromIndex, toIndex);
    if (FInplaceRow >= 0) MoveAdjust(FInplaceRow, fromIndex, toIndex);
    InvalidateGridRect({0, std::min(fromIndex, toIndex), FCols.Count() - 1, std::max(fromIndex, toIndex)});
    RowMoved(fromIndex, toIndex);
    if (FRows.HasSizes()) RowHeightsChanged();
    if (FEditorMode) UpdateEditor();
}

void TCustomGrid::DeleteColumn(int col)
{
    TCustomGrid::MoveColumn(col, FCols.Count() - 1);
    TCustomGrid::SetColCount(FCols.Count() - 1);
}

void TCustomGrid::DeleteRow(int row)
{
    TCustomGrid::MoveRow(row, FRows.Count() - 1);
    TCustomGrid::SetRowCount(FRows.Count() - 1);
}

// ---------------------------------------------------------------- keyboard

void TCustomGrid::KeyDown(int& key, TShiftState shift)
{
    if (OnKeyDown) OnKeyDown(this, key, shift);
    if (key == 0) return;
    const bool rowSelect = FOptions.Contains(goRowSelect);
    TGridDrawInfo info;
    CalcDrawInfo(info);
    const int pageWidth = std::max(1, info.Horz.LastFullVisibleCell - LeftCol() + 1);
    const int pageHeight = std::max(1, info.Vert.LastFullVisibleCell - TopRow() + 1);
    TGridCoord tl = FTopLeft, cur = FCurrent;
    if (shift.Contains(ssCtrl)) {
        switch (key) {
        case VK_UP: --tl.Y; break;
        case VK_DOWN: ++tl.Y; break;
        case VK_LEFT:
            if (!rowSelect) {
                cur.X -= pageWidth;
                tl.X -= pageWidth;
            }
            break;
        case VK_RIGHT:
            if (!rowSelect) {
                cur.X += pageWidth;
                tl.X += pageWidth;
            }
            break;
        case VK_PRIOR: cur.Y = TopRow(); break;
        case VK_NEXT: cur.Y = info.Vert.LastFullVisibleCell; break;
        case VK_HOME:
            cur.X = FCols.FixedCount();
            cur.Y = FRows.FixedCount();
            break;
        case VK_END:
            cur.X = FCols.Count() - 1;
            cur.Y = FRows.Count() - 1;
            break;
        default: break;
        }
    } else {
        switch (key) {
        case VK_UP: --cur.Y; break;
        case VK_DOWN: ++cur.Y; break;
        case VK_LEFT:
            if (rowSelect) --tl.X;
            else --cur.X;
            break;
        case VK_RIGHT:
            if (rowSelect) ++tl.X;
            else ++cur.X;
            break;
        case VK_NEXT:
            cur.Y += pageHeight;
            tl.Y += pageHeight;
            break;
        case VK_PRIOR:
            cur.Y -= pageHeight;
            tl.Y -= pageHeight;
            break;
        case VK_HOME:
            if (rowSelect) tl.X = FCols.FixedCount();
            else cur.X = FCols.FixedCount();
            break;
        case VK_END:
            if (rowSelect) tl.X = CalcMaxTopLeft({FCols.Count() - 1, FRows.Count() - 1}).X;
            else cur.X = FCols.Count() - 1;
            break;
        case VK_TAB:
            if (!shift.Contains(ssAlt)) {
                // to the next (Shift: previous) tab stop, wrapping over the rows
                do {
                    if (shift.Contains(ssShift)) {
                        if (--cur.X < FCols.FixedCount()) {
                            cur.X = FCols.Count() - 1;
                            if (--cur.Y < FRows.FixedCount()) cur.Y = FRows.Count() - 1;
                        }
                        shift = TShiftState();
                    } else if (++cur.X >= FCols.Count()) {
                        cur.X = FCols.FixedCount();
                        if (++cur.Y >= FRows.Count()) cur.Y = FRows.FixedCount();
                    }
                } while (!TabStops(cur.X) && cur.X != FCurrent.X);
            }
            break;
        case VK_F2: SetEditorMode(true); break;
        default: break;
        }
    }
    TGridCoord maxTL = CalcMaxTopLeft({FCols.Count() - 1, FRows.Count() - 1});
    tl.X = std::clamp(tl.X, FCols.FixedCount(), std::max(FCols.FixedCount(), maxTL.X));
    tl.Y = std::clamp(tl.Y, FRows.FixedCount(), std::max(FRows.FixedCount(), maxTL.Y));
    if (tl.X != FTopLeft.X || tl.Y != FTopLeft.Y) MoveTopLeft(tl.X, tl.Y);
    cur.X = std::clamp(cur.X, FCols.FixedCount(), FCols.Count() - 1);
    cur.Y = std::clamp(cur.Y, FRows.FixedCount(), FRows.Count() - 1);
    if (cur.X != FCurrent.X || cur.Y != FCurrent.Y) FocusCell(cur.X, cur.Y, !shift.Contains(ssShift));
}

void TCustomGrid::KeyPress(QChar& key)
{
    if (OnKeyPress) OnKeyPress(this, key);
    if (!FOptions.Contains(goAlwaysShowEditor) && key.unicode() == 13) {
        if (FEditorMode) HideEditor();
        else ShowEditor();
        key = QChar();
    }
}

void TCustomGrid::KeyUp(int& key, TShiftState shift)
{
    if (OnKeyUp) OnKeyUp(this, key, shift);
}

// ---------------------------------------------------------------- mouse

void TCustomGrid::CalcSizingState(int x, int y, TGridState& state, int& index, int& sizingPos, int& sizingOfs,
                                  const TGridDrawInfo& info)
{
    state = gsNormal;
    index = -1;
    // A boundary is hit within a few pixels either side of its line.
    auto scan = [&](bool horz, int p) -> bool {
        const TGridAxisDrawInfo& a = horz ? info.Horz : info.Vert;
        int pos = 0;
        auto test = [&](int i) {
            pos += horz ? ColWidths(i) : RowHeights(i);
            int line = pos + a.EffectiveLineWidth / 2;
            if (p >= line - 2 && p <= line + 2) {
                index = i;
                sizingPos = pos;
                sizingOfs = pos - p;
                return true;
            }
            pos += a.EffectiveLineWidth;
            return false;
        };
        for (int i = 0; i < a.FixedCellCount; ++i)
            if (test(i)) return true;
        for (int i = a.FirstGridCell; i < a.GridCellCount && pos < a.GridExtent; ++i)
            if (test(i)) return true;
        return false;
    };
    if (FOptions.Contains(goColSizing) && y >= 0 && y < info.Vert.FixedBoundary && scan(true, x)) state = gsColSizing;
    else if (FOptions.Contains(goRowSizing) && x >= 0 && x < info.Horz.FixedBoundary && scan(false, y))
        state = gsRowSizing;
}

void TCustomGrid::DrawSizingLine()
{
    // The line is drawn exclusive-or on the window, over whatever it shows: drawing it again
    // at the same place takes it away.  The line shown follows the sizing position, and
    // goes when sizing ends.
    TPen keep;
    keep.Assign(*FCanvas.Pen());
    FCanvas.Pen()->SetStyle(psDot);
    FCanvas.Pen()->SetMode(pmNotXor);
    FCanvas.Pen()->SetColor(clBlack);
    FCanvas.Pen()->SetWidth(1);
    auto draw = [this](TGridState state, int pos) {
        TGridDrawInfo info;
        CalcDrawInfo(info);
        if (state == gsRowSizing) {
            FCanvas.MoveTo(0, pos);
            FCanvas.LineTo(info.Horz.GridBoundary, pos);
        } else {
            FCanvas.MoveTo(pos, 0);
            FCanvas.LineTo(pos, info.Vert.GridBoundary);
        }
    };
    if (FSizingLineState != gsNormal) draw(FSizingLineState, FSizingLinePos);
    FSizingLineState = gsNormal;
    if (FGridState == gsColSizing || FGridState == gsRowSizing) {
        FSizingLineState = FGridState;
        FSizingLinePos = FSizingPos;
        draw(FSizingLineState, FSizingLinePos);
    }
    FCanvas.Pen()->Assign(keep);
}

void TCustomGrid::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (!hasFocus() && !(FInplaceEdit && FInplaceEdit->hasFocus())) SetFocus();
    if (button == mbLeft && shift.Contains(ssDouble)) {
        DblClick();
    } else if (button == mbLeft) {
        TGridDrawInfo info;
        CalcDrawInfo(info);
        CalcSizingState(x, y, FGridState, FSizingIndex, FSizingPos, FSizingOfs, info);
        if (FGridState != gsNormal) {
            DrawSizingLine();
        } else {
            TGridCoord hit = CalcCoordFromPoint(x, y);
            if (hit.X >= FCols.FixedCount() && hit.Y >= FRows.FixedCount()) {
                if (FOptions.Contains(goEditing)) {
                    if (hit == FCurrent) ShowEditor();
                    else {
                        MoveCurrent(hit.X, hit.Y, true, true);
                        UpdateEditor();
                    }
                    Click();
                } else {
                    FGridState = gsSelecting;
                    SetTimer(1, 60);
                    if (shift.Contains(ssShift)) MoveAnchor(hit);
                    else MoveCurrent(hit.X, hit.Y, true, true);
                }
            } else if (FOptions.Contains(goRowMoving) && hit.X >= 0 && hit.X < FCols.FixedCount() && hit.Y >= FRows.FixedCount()) {
                FMoveIndex = hit.Y;
                FMovePos = FMoveIndex;
                if (BeginRowDrag(FMoveIndex, FMovePos, {x, y})) {
                    FGridState = gsRowMoving;
                    SetTimer(1, 60);
                }
            } else if (FOptions.Contains(goColMoving) && hit.Y >= 0 && hit.Y < FRows.FixedCount() && hit.X >= FCols.FixedCount()) {
                FMoveIndex = hit.X;
                FMovePos = FMoveIndex;
                if (BeginColumnDrag(FMoveIndex, FMovePos, {x, y})) {
                    FGridState = gsColMoving;
                    SetTimer(1, 60);
                }
            }
        }
    }
    if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TCustomGrid::MouseMove(TShiftState shift, int x, int y)
{
    switch (FGridState) {
    case gsSelecting: {
        TGridCoord hit = CalcCoordFromPoint(x, y);
        if (hit.X >= FCols.FixedCount() && hit.Y >= FRows.FixedCount() && !(hit == FAnchor)) MoveAnchor(hit);
        break;
    }
    case gsColSizing:
        FSizingPos = x + FSizingOfs;
        DrawSizingLine();
        break;
    case gsRowSizing:
        FSizingPos = y + FSizingOfs;
        DrawSizingLine();
        break;
    case gsColMoving: {
        TGridCoord hit = CalcCoordFromPoint(x, y);
        if (hit.X >= FCols.FixedCount()) FMovePos = hit.X;
        break;
    }
    case gsRowMoving: {
        TGridCoord hit = CalcCoordFromPoint(x, y);
        if (hit.Y >= FRows.FixedCount()) FMovePos = hit.Y;
        break;
    }
    default: break;
    }
    if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TCustomGrid::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    switch (FGridState) {
    case gsSelecting:
        MouseMove(shift, x, y);
        KillTimer(1);
        FGridState = gsNormal;
        UpdateEditor();
        Click();
        break;
    case gsColSizing:
    case gsRowSizing: {
        const bool cols = FGridState == gsColSizing;
        FGridState = gsNormal;
        TRect r = BoxRect(cols ? FSizingIndex : 0, cols ? 0 : FSizingIndex, cols ? FSizingIndex : 0, cols ? 0 : FSizingIndex);
        int size = std::max(0, FSizingPos - (cols ? r.Left : r.Top));
        if (cols) SetColWidths(FSizingIndex, size);
        else SetRowHeights(FSizingIndex, size);
        viewport()->update();
        break;
    }
    case gsColMoving:
    case gsRowMoving: FinishMove(); break;
    default: break;
    }
    if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

void TCustomGrid::FinishMove()
{
    const bool cols = FGridState == gsColMoving;
    FGridState = gsNormal;
    KillTimer(1);
    TPoint pt{};
    bool ok = cols ? EndColumnDrag(FMoveIndex, FMovePos, pt) : EndRowDrag(FMoveIndex, FMovePos, pt);
    if (ok && FMovePos != FMoveIndex && FMoveIndex >= 0 && FMovePos >= 0) {
        if (cols) TCustomGrid::MoveColumn(FMoveIndex, FMovePos);
        else TCustomGrid::MoveRow(FMoveIndex, FMovePos);
    }
}

bool TCustomGrid::DoMouseWheel(TShiftState shift, int wheelDelta, const TPoint& mousePos)
{
    bool handled = false;
    for (int d = std::abs(wheelDelta); d >= WHEEL_DELTA; d -= WHEEL_DELTA)
        handled = (wheelDelta < 0 ? DoMouseWheelDown(shift, mousePos) : DoMouseWheelUp(shift, mousePos)) || handled;
    return handled;
}

bool TCustomGrid::DoMouseWheelDown(TShiftState shift, const TPoint& mousePos)
{
    return WheelStep(OnMouseWheelDown, shift, mousePos, +1);
}

bool TCustomGrid::DoMouseWheelUp(TShiftState shift, const TPoint& mousePos)
{
    return WheelStep(OnMouseWheelUp, shift, mousePos, -1);
}

bool TCustomGrid::WheelStep(const TWheelEvent& event, TShiftState shift, const TPoint& mousePos, int direction)
{
    bool handled = false;
    if (event) event(this, shift, mousePos, handled);
    if (handled) return true;
    // one notch moves the current row by the desktop's lines per notch (-1: a page)
    int lines = WheelScrollLines();
    if (lines < 0) lines = std::max(1, VisibleRowCount());
    const int to = std::clamp(Row() + direction * lines, FRows.FixedCount(), FRows.Count() - 1);
    if (to != Row()) TCustomGrid::SetRow(to);
    return true;
}

void TCustomGrid::Click()
{
    if (OnClick) OnClick(this);
}

void TCustomGrid::DblClick()
{
    if (OnDblClick) OnDblClick(this);
}

void TCustomGrid::DoEnter()
{
    if (OnEnter) OnEnter(this);
}

void TCustomGrid::DoExit()
{
    if (OnExit) OnExit(this);
    if (!FOptions.Contains(goAlwaysShowEditor)) HideEditor();
}

// ---------------------------------------------------------------- messages

intptr_t TCustomGrid::Perform(uint32_t msg, intptr_t wParam, intptr_t lParam)
{
    TMessage m{msg, wParam, lParam, 0};
    WndProc(m);
    return m.Result;
}

void TCustomGrid::PostMessage(uint32_t msg, intptr_t wParam, intptr_t lParam)
{
    QMetaObject::invokeMethod(
        this, [this, msg, wParam, lParam] { Perform(msg, wParam, lParam); }, Qt::QueuedConnection);
}

void TCustomGrid::WndProc(TMessage& m)
{
    Dispatch(m);
}

void TCustomGrid::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_CHAR: WMChar(m); break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: WMKeyDown(m); break;
    case WM_KEYUP:
    case WM_SYSKEYUP: WMKeyUp(m); break;
    case WM_GETDLGCODE: WMGetDlgCode(m); break;
    case WM_HSCROLL: WMHScroll(m); break;
    case WM_VSCROLL: WMVScroll(m); break;
    case WM_KILLFOCUS: WMKillFocus(m); break;
    case WM_SETFOCUS: WMSetFocus(m); break;
    case WM_SETCURSOR: WMSetCursor(m); break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: WMLButtonDown(m); break;
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
    case WM_MOUSEMOVE: WMMouseButton(m); break;
    case WM_MOUSEWHEEL: WMMouseWheel(m); break;
    case WM_PAINT: WMPaint(m); break;
    case WM_NCPAINT: WMNCPaint(m); break;
    case WM_COMMAND: WMCommand(m); break;
    case CM_HINTSHOW: CMHintShow(m); break;
    case WM_TIMER: WMTimer(m); break;
    case WM_SIZE: WMSize(m); break;
    case WM_CANCELMODE: WMCancelMode(m); break;
    case CM_FONTCHANGED: CMFontChanged(m); break;
    case CM_MOUSELEAVE: CMMouseLeave(m); break;
    case CM_MOUSEENTER: CMMouseEnter(m); break;
    case CM_DESIGNHITTEST: CMDesignHitTest(m); break;
    case CM_EXIT: CMExit(m); break;
    case CM_ENTER: CMEnter(m); break;
    default: DefaultHandler(m); break;
    }
}

void TCustomGrid::DefaultHandler(TMessage& m)
{
    // What the window does with a message nobody settled: Qt has done it already, or
    // there is nothing to do.
}

void TCustomGrid::WMChar(TMessage& m)
{
    QChar c(static_cast<char16_t>(m.WParam));
    if (FOptions.Contains(goEditing) && (c.unicode() == 8 || c.unicode() >= 32)) {
        ShowEditorChar(c);
        return;
    }
    KeyPress(c);
    m.WParam = c.unicode();
}

TShiftState TCustomGrid::KeyShiftState() const
{
    return FPendingKey ? ShiftStateOf(FPendingKey) : KeyboardStateToShiftState();
}

void TCustomGrid::WMKeyDown(TMessage& m)
{
    int key = static_cast<int>(m.WParam);
    KeyDown(key, KeyShiftState());
    m.WParam = key;
}

void TCustomGrid::WMKeyUp(TMessage& m)
{
    int key = static_cast<int>(m.WParam);
    KeyUp(key, KeyShiftState());
    m.WParam = key;
}

void TCustomGrid::WMGetDlgCode(TMessage& m)
{
    m.Result = DLGC_WANTARROWS;
    if (FOptions.Contains(goRowSelect)) return;
    if (FOptions.Contains(goTabs)) m.Result |= DLGC_WANTTAB;
    if (FOptions.Contains(goEditing)) m.Result |= DLGC_WANTCHARS;
    // while editing, Enter and Escape belong to the grid, not to the dialog around it
    if (FEditorMode) m.Result |= DLGC_WANTALLKEYS;
}

void TCustomGrid::WMHScroll(TMessage& m)
{
    ScrollMessage(m, true);
}

void TCustomGrid::WMVScroll(TMessage& m)
{
    ScrollMessage(m, false);
}

void TCustomGrid::ScrollMessage(TMessage& m, bool horz)
{
    // The position (thumb codes only) is in the bar's own units.
    const int bar = horz ? SB_HORZ : SB_VERT;
    const int code = LoWord(m.WParam), pos = HiWord(m.WParam);
    const int fixed = horz ? FCols.FixedCount() : FRows.FixedCount();
    const int first = horz ? FTopLeft.X : FTopLeft.Y;
    const TGridCoord maxTL = CalcMaxTopLeft({FCols.Count() - 1, FRows.Count() - 1});
    const int maxFirst = std::max(fixed, horz ? maxTL.X : maxTL.Y);
    const int page = std::max(1, horz ? VisibleColCount() : VisibleRowCount());
    int to = first;
    switch (code) {
    case SB_LINEUP: --to; break;
    case SB_LINEDOWN: ++to; break;
    case SB_PAGEUP: to -= page; break;
    case SB_PAGEDOWN: to += page; break;
    case SB_THUMBPOSITION: to = BarPosToTopLeft(bar, pos); break;
    case SB_THUMBTRACK:
        if (FOptions.Contains(goThumbTracking)) to = BarPosToTopLeft(bar, pos);
        break;
    case SB_TOP: to = fixed; break;
    case SB_BOTTOM: to = maxFirst; break;
    default: return;
    }
    // code may have scrolled further than the bar reaches; the bar does not push it further
    to = std::clamp(to, fixed, std::max(maxFirst, first));
    if (horz) MoveTopLeft(to, FTopLeft.Y);
    else MoveTopLeft(FTopLeft.X, to);
}

void TCustomGrid::WMKillFocus(TMessage& m)
{
    InvalidateGridRect(Selection());
    if (FInplaceEdit && m.WParam != HandleOf(FInplaceEdit) && !FOptions.Contains(goAlwaysShowEditor))
        FInplaceEdit->Hide();
}

void TCustomGrid::WMSetFocus(TMessage& m)
{
    if (!FInplaceEdit || m.WParam != HandleOf(FInplaceEdit)) {
        InvalidateGridRect(Selection());
        UpdateEditor();
    }
}

void TCustomGrid::WMSetCursor(TMessage& m)
{
    QPoint p = viewport()->mapFromGlobal(QCursor::pos());
    TGridDrawInfo info;
    CalcDrawInfo(info);
    TGridState state = FGridState;
    int index = -1, pos = 0, ofs = 0;
    if (state == gsNormal) CalcSizingState(p.x(), p.y(), state, index, pos, ofs, info);
    if (state == gsColSizing) viewport()->setCursor(Qt::SplitHCursor);
    else if (state == gsRowSizing) viewport()->setCursor(Qt::SplitVCursor);
    else viewport()->setCursor(CursorOf(FCursor));
    m.Result = 1;
}

void TCustomGrid::WMLButtonDown(TMessage& m)
{
    WMMouseButton(m);
}

void TCustomGrid::WMMouseButton(TMessage& m)
{
    const int x = LoSigned(m.LParam), y = HiSigned(m.LParam);
    TShiftState shift = KeysToShiftState(static_cast<int>(m.WParam));
    switch (m.Msg) {
    case WM_LBUTTONDOWN: MouseDown(mbLeft, shift, x, y); break;
    case WM_LBUTTONDBLCLK: MouseDown(mbLeft, shift + ssDouble, x, y); break;
    case WM_RBUTTONDOWN: MouseDown(mbRight, shift, x, y); break;
    case WM_RBUTTONDBLCLK: MouseDown(mbRight, shift + ssDouble, x, y); break;
    case WM_MBUTTONDOWN: MouseDown(mbMiddle, shift, x, y); break;
    case WM_MBUTTONDBLCLK: MouseDown(mbMiddle, shift + ssDouble, x, y); break;
    case WM_LBUTTONUP: MouseUp(mbLeft, shift, x, y); break;
    case WM_RBUTTONUP: MouseUp(mbRight, shift, x, y); break;
    case WM_MBUTTONUP: MouseUp(mbMiddle, shift, x, y); break;
    case WM_MOUSEMOVE: MouseMove(shift, x, y); break;
    default: break;
    }
}

void TCustomGrid::WMMouseWheel(TMessage& m)
{
    TShiftState shift = KeysToShiftState(LoWord(m.WParam));
    TPoint pos{LoSigned(m.LParam), HiSigned(m.LParam)};
    QPoint client = viewport()->mapFromGlobal(QPoint(pos.X, pos.Y));
    m.Result = DoMouseWheel(shift, HiSigned(m.WParam), {client.x(), client.y()}) ? 1 : 0;
}

void TCustomGrid::WMPaint(TMessage& m)
{
    // the platform paints the cells; sent by code outside a paint, it asks for one
    if (FPendingPaint) paintEvent(FPendingPaint);
    else viewport()->update();
    m.Result = 0;
}

void TCustomGrid::WMNCPaint(TMessage& m)
{
    // the platform's frame, and the corner between two scroll bars
    if (QPainter* p = FNonClientCanvas ? FNonClientCanvas->Painter() : nullptr) {
        drawFrame(p);
        if (FVBarOn && FHBarOn) {
            const QPoint corner = verticalScrollBar()->mapTo(this, QPoint(0, verticalScrollBar()->height()));
            p->fillRect(QRect(corner, QSize(verticalScrollBar()->width(), horizontalScrollBar()->height())),
                        palette().window());
        }
    } else {
        InvalidateFrame();
    }
    m.Result = 0;
}

void TCustomGrid::WMCommand(TMessage& m)
{
    // a child's notification goes back to the child, which may act on it itself
    for (QWidget* w : findChildren<QWidget*>())
        if (HandleOf(w) == m.LParam) {
            if (auto* e = dynamic_cast<TInplaceEdit*>(w)) m.Result = e->Perform(CN_COMMAND, m.WParam, m.LParam);
            return;
        }
}

void TCustomGrid::WMTimer(TMessage& m)
{
    if (m.WParam != 1) return;
    if (FGridState != gsSelecting && FGridState != gsColMoving && FGridState != gsRowMoving) return;
    // dragging beyond the cells scrolls them
    QPoint p = viewport()->mapFromGlobal(QCursor::pos());
    TGridCoord tl = FTopLeft;
    if (p.y() < 0) --tl.Y;
    else if (p.y() >= ClientHeight()) ++tl.Y;
    if (p.x() < 0) --tl.X;
    else if (p.x() >= ClientWidth()) ++tl.X;
    if (!(tl == FTopLeft)) {
        TGridCoord maxTL = CalcMaxTopLeft({FCols.Count() - 1, FRows.Count() - 1});
        MoveTopLeft(std::clamp(tl.X, FCols.FixedCount(), std::max(FCols.FixedCount(), maxTL.X)),
                    std::clamp(tl.Y, FRows.FixedCount(), std::max(FRows.FixedCount(), maxTL.Y)));
        MouseMove(KeyboardStateToShiftState(), std::clamp(p.x(), 0, ClientWidth() - 1),
                  std::clamp(p.y(), 0, ClientHeight() - 1));
    }
}

void TCustomGrid::WMSize(TMessage& m)
{
    UpdateScrollRange();
    if (UseRightToLeftAlignment()) Invalidate();
    Resize();
}

void TCustomGrid::WMCancelMode(TMessage& m)
{
    if (FGridState != gsNormal) {
        KillTimer(1);
        FGridState = gsNormal;
        viewport()->update();
    }
}

void TCustomGrid::CMFontChanged(TMessage& m)
{
    if (FInplaceEdit) FInplaceEdit->setFont(FFont.ToQFont());
    Invalidate();
}

void TCustomGrid::CMMouseLeave(TMessage& m)
{
    FMouseInside = false;
}

void TCustomGrid::CMExit(TMessage& m)
{
    DoExit();
}

void TCustomGrid::CMEnter(TMessage& m)
{
    DoEnter();
}

// ---------------------------------------------------------------- timers, focus, capture

void TCustomGrid::SetTimer(int id, int intervalMs)
{
    FTimers[id].start(intervalMs, this);
}

void TCustomGrid::KillTimer(int id)
{
    auto it = FTimers.find(id);
    if (it != FTimers.end()) {
        it->second.stop();
        FTimers.erase(it);
    }
}

bool TCustomGrid::TimerActive(int id) const
{
    auto it = FTimers.find(id);
    return it != FTimers.end() && it->second.isActive();
}

void TCustomGrid::timerEvent(QTimerEvent* e)
{
    for (auto& t : FTimers)
        if (t.second.timerId() == e->timerId()) {
            int id = t.first;
            Perform(WM_TIMER, id);
            return;
        }
    QAbstractScrollArea::timerEvent(e);
}

void TCustomGrid::SetMouseCapture(bool on)
{
    if (on == FCapture) return;
    FCapture = on;
    if (on) viewport()->grabMouse();
    else viewport()->releaseMouse();
}

bool TCustomGrid::Focused() const
{
    return hasFocus();
}

void TCustomGrid::SetFocus()
{
    setFocus(Qt::OtherFocusReason);
}

bool TCustomGrid::IsActiveControl() const
{
    QWidget* f = QApplication::focusWidget();
    return f && (f == this || f == FInplaceEdit);
}

// ---------------------------------------------------------------- scroll bars

QScrollBar* TCustomGrid::BarWidget(int bar) const
{
    return bar == SB_VERT ? verticalScrollBar() : horizontalScrollBar();
}

int TCustomGrid::BarMaxPos(int bar) const
{
    // the platform's last position: the thumb's page ends at the range's end
    const TScrollInfo& i = FBar[bar == SB_VERT ? 1 : 0].Info;
    return std::max(i.nMin, i.nMax - std::max(0, static_cast<int>(i.nPage) - 1));
}

void TCustomGrid::ApplyBar(int bar)
{
    const TScrollInfo& i = Bar(bar).Info;
    QScrollBar* w = BarWidget(bar);
    const bool was = FUpdatingScroll;
    FUpdatingScroll = true;
    w->setRange(i.nMin, BarMaxPos(bar));
    w->setPageStep(static_cast<int>(i.nPage));
    // a dragged thumb stays under the mouse; it takes the position when released
    if (!w->isSliderDown()) w->setValue(i.nPos);
    FUpdatingScroll = was;
}

bool TCustomGrid::SetBarShown(int bar, bool show)
{
    TBarState& b = Bar(bar);
    if (b.Shown == show) return false;
    b.Shown = show;
    const Qt::ScrollBarPolicy policy = show ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
    if (bar == SB_VERT) {
        FVBarOn = show;
        setVerticalScrollBarPolicy(policy);
    } else {
        FHBarOn = show;
        setHorizontalScrollBarPolicy(policy);
    }
    if (!FBottomAligned.empty() || !FBottomOverlays.empty()) RealignBottom();
    return true;
}

int TCustomGrid::TopLeftToBarPos(int bar) const
{
    const bool horz = bar != SB_VERT;
    const TScrollInfo& i = FBar[horz ? 0 : 1].Info;
    const int span = BarMaxPos(bar) - i.nMin;
    const int fixed = horz ? FCols.FixedCount() : FRows.FixedCount();
    const int first = horz ? FTopLeft.X : FTopLeft.Y;
    const TGridCoord maxTL = CalcMaxTopLeft({FCols.Count() - 1, FRows.Count() - 1});
    // scrolled by code beyond the usual last top row, the thumb stands at the end
    const int last = std::max(horz ? maxTL.X : maxTL.Y, first);
    if (span <= 0 || last <= fixed) return i.nMin;
    return i.nMin + MulDiv(first - fixed, span, last - fixed);
}

int TCustomGrid::BarPosToTopLeft(int bar, int pos) const
{
    const bool horz = bar != SB_VERT;
    const TScrollInfo& i = FBar[horz ? 0 : 1].Info;
    const int span = BarMaxPos(bar) - i.nMin;
    const int fixed = horz ? FCols.FixedCount() : FRows.FixedCount();
    const int first = horz ? FTopLeft.X : FTopLeft.Y;
    const TGridCoord maxTL = CalcMaxTopLeft({FCols.Count() - 1, FRows.Count() - 1});
    const int last = std::max(horz ? maxTL.X : maxTL.Y, first);
    if (span <= 0 || last <= fixed) return fixed;
    return fixed + MulDiv(std::clamp(pos, i.nMin, i.nMin + span) - i.nMin, last - fixed, span);
}

void TCustomGrid::UpdateScrollPos()
{
    for (int bar : {SB_HORZ, SB_VERT}) {
        Bar(bar).Info.nPos = TopLeftToBarPos(bar);
        ApplyBar(bar);
    }
}

void TCustomGrid::UpdateScrollRange()
{
    if (FUpdatingScroll || FDestroying) return;
    FUpdatingScroll = true;
    // Showing one bar narrows the room for the other; a few rounds settle it.  A bar is
    // shown or hidden when the grid's verdict changes, so that one shown or hidden through
    // ShowScrollBar stays so until then.
    for (int round = 0; round < 3; ++round) {
        const TGridCoord maxTL = CalcMaxTopLeft({FCols.Count() - 1, FRows.Count() - 1});
        const bool v = (FScrollBars == ssVertical || FScrollBars == ssBoth) &&
                       std::max(maxTL.Y, FTopLeft.Y) > FRows.FixedCount();
        const bool h = (FScrollBars == ssHorizontal || FScrollBars == ssBoth) &&
                       std::max(maxTL.X, FTopLeft.X) > FCols.FixedCount();
        bool changed = false;
        for (auto [bar, need] : {std::pair{SB_VERT, v}, std::pair{SB_HORZ, h}}) {
            TBarState& b = Bar(bar);
            if (need == b.Needed) continue;
            b.Needed = need;
            changed = SetBarShown(bar, need) || changed;
        }
        if (!changed) break;
    }
    // the grid's own range; a derived grid's stays as it set it
    for (int bar : {SB_HORZ, SB_VERT}) {
        TBarState& b = Bar(bar);
        if (b.Owned) continue;
        b.Info.nMin = 0;
        b.Info.nMax = b.Needed ? kBarRange : 0;
        b.Info.nPage = 0;
    }
    FUpdatingScroll = false;
    // the room may have grown: keep the top-left cell where it can be
    TGridCoord maxTL = CalcMaxTopLeft({FCols.Count() - 1, FRows.Count() - 1});
    if (FTopLeft.X > std::max(FCols.FixedCount(), maxTL.X) || FTopLeft.Y > std::max(FRows.FixedCount(), maxTL.Y))
        MoveTopLeft(std::min(FTopLeft.X, std::max(FCols.FixedCount(), maxTL.X)), std::min(FTopLeft.Y, std::max(FRows.FixedCount(), maxTL.Y)));
    UpdateScrollPos();
}

int TCustomGrid::SetScrollInfo(int bar, const TScrollInfo& si, bool)
{
    TBarState& b = Bar(bar);
    const bool shape = si.fMask & (SIF_RANGE | SIF_PAGE);
    if (si.fMask & SIF_RANGE) {
        b.Info.nMin = si.nMin;
        b.Info.nMax = std::max(si.nMin, si.nMax);
    }
    if (si.fMask & SIF_PAGE) b.Info.nPage = si.nPage;
    if (shape) b.Owned = true;
    // a page never exceeds the range
    b.Info.nPage = std::min<unsigned>(b.Info.nPage, static_cast<unsigned>(b.Info.nMax - b.Info.nMin + 1));
    if (si.fMask & SIF_POS) b.Info.nPos = si.nPos;
    b.Info.nPos = std::clamp(b.Info.nPos, b.Info.nMin, BarMaxPos(bar));
    ApplyBar(bar);
    if (shape) {
        // as on the platform: a range that scrolls shows the bar, one that does not hides it
        // (or disables it, when asked to)
        const bool scrolls = BarMaxPos(bar) > b.Info.nMin;
        ShowScrollBar(bar, scrolls || (si.fMask & SIF_DISABLENOSCROLL));
        EnableScrollBar(bar, scrolls ? ESB_ENABLE_BOTH : ESB_DISABLE_BOTH);
    }
    return b.Info.nPos;
}

bool TCustomGrid::GetScrollInfo(int bar, TScrollInfo& si) const
{
    const TScrollInfo& i = FBar[bar == SB_VERT ? 1 : 0].Info;
    if (si.fMask & SIF_RANGE) {
        si.nMin = i.nMin;
        si.nMax = i.nMax;
    }
    if (si.fMask & SIF_PAGE) si.nPage = i.nPage;
    if (si.fMask & SIF_POS) si.nPos = i.nPos;
    if (si.fMask & SIF_TRACKPOS) {
        const QScrollBar* w = BarWidget(bar);
        si.nTrackPos = w->isSliderDown() ? w->sliderPosition() : i.nPos;
    }
    return true;
}

void TCustomGrid::SetScrollRange(int bar, int minPos, int maxPos, bool redraw)
{
    TScrollInfo si;
    si.fMask = SIF_RANGE;
    si.nMin = minPos;
    si.nMax = maxPos;
    SetScrollInfo(bar, si, redraw);
}

void TCustomGrid::GetScrollRange(int bar, int& minPos, int& maxPos) const
{
    TScrollInfo si;
    si.fMask = SIF_RANGE;
    GetScrollInfo(bar, si);
    minPos = si.nMin;
    maxPos = si.nMax;
}

int TCustomGrid::SetScrollPos(int bar, int pos, bool redraw)
{
    const int old = GetScrollPos(bar);
    TScrollInfo si;
    si.fMask = SIF_POS;
    si.nPos = pos;
    SetScrollInfo(bar, si, redraw);
    return old;
}

int TCustomGrid::GetScrollPos(int bar) const
{
    return FBar[bar == SB_VERT ? 1 : 0].Info.nPos;
}

void TCustomGrid::ReleaseScrollRange(int bar)
{
    TBarState& b = Bar(bar);
    b.Owned = false;
    // the grid decides afresh whether the bar shows
    b.Needed = b.Shown;
    UpdateScrollRange();
}

void TCustomGrid::ShowScrollBar(int bar, bool show)
{
    // the client area changes size with it, which sends WM_SIZE
    if (bar == SB_HORZ || bar == SB_BOTH) SetBarShown(SB_HORZ, show);
    if (bar == SB_VERT || bar == SB_BOTH) SetBarShown(SB_VERT, show);
}

void TCustomGrid::EnableScrollBar(int bar, int arrows)
{
    for (int b : {SB_HORZ, SB_VERT})
        if (bar == b || bar == SB_BOTH) BarWidget(b)->setEnabled(arrows != ESB_DISABLE_BOTH);
}

void TCustomGrid::ScrollBarAction(int bar, int action)
{
    if (FUpdatingScroll || FDestroying) return;
    int code = -1;
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd: code = SB_LINEDOWN; break;
    case QAbstractSlider::SliderSingleStepSub: code = SB_LINEUP; break;
    case QAbstractSlider::SliderPageStepAdd: code = SB_PAGEDOWN; break;
    case QAbstractSlider::SliderPageStepSub: code = SB_PAGEUP; break;
    case QAbstractSlider::SliderToMinimum: code = SB_TOP; break;
    case QAbstractSlider::SliderToMaximum: code = SB_BOTTOM; break;
    case QAbstractSlider::SliderMove: code = SB_THUMBTRACK; break;
    default: return;
    }
    QScrollBar* w = BarWidget(bar);
    // the platform gives a position with the thumb codes only
    const int pos = code == SB_THUMBTRACK ? w->sliderPosition() : 0;
    Perform(bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL, MakeWParam(code, pos));
    // the thumb stands where the grid put it, unless it is being dragged
    if (code != SB_THUMBTRACK && !FDestroying) w->setSliderPosition(Bar(bar).Info.nPos);
}

void TCustomGrid::ScrollBarReleased(int bar, QEvent* release)
{
    // the bar ends its own press first (a dragged thumb sends its position), then the
    // platform closes the scroll
    static_cast<QObject*>(BarWidget(bar))->event(release);
    if (static_cast<QMouseEvent*>(release)->button() == Qt::LeftButton && !FDestroying)
        Perform(bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL, MakeWParam(SB_ENDSCROLL, 0));
}

void TCustomGrid::InvalidateFrame()
{
    update(QRegion(rect()).subtracted(QRegion(contentsRect())));
}

// ---------------------------------------------------------------- Qt events

bool TCustomGrid::KeyGoesToDialog(QWidget* control, int vk, const std::function<intptr_t(uint32_t, intptr_t)>& ask)
{
    int mask = 0;
    switch (vk) {
    case VK_RETURN:
    case VK_ESCAPE: mask = DLGC_WANTALLKEYS; break;
    default: return false;
    }
    if (ask(CM_WANTSPECIALKEY, vk) != 0) return false;
    if (ask(WM_GETDLGCODE, 0) & mask) return false;
    auto* dialog = qobject_cast<QDialog*>(control->window());
    if (!dialog) return false;
    if (vk == VK_ESCAPE) return true;
    for (QPushButton* b : dialog->findChildren<QPushButton*>())
        if (b->isDefault() && b->isVisible() && b->isEnabled()) return true;
    return false;
}

bool TCustomGrid::event(QEvent* e)
{
    if (FDestroying) return QAbstractScrollArea::event(e);
    switch (e->type()) {
    case QEvent::Paint: {
        // The grid's own widget shows only the frame and the corner between the bars: its
        // non-client area.  A derived grid draws its border after the platform's frame.
        QPainter p(this);
        TCanvas canvas;
        canvas.BeginPaint(&p);
        TCanvas* outer = FNonClientCanvas;
        FNonClientCanvas = &canvas;
        Perform(WM_NCPAINT, 1);
        FNonClientCanvas = outer;
        canvas.EndPaint();
        return true;
    }
    case QEvent::WindowActivate: {
        // the focus comes back to the window after this; what it will be is known already
        QWidget* f = window()->focusWidget();
        if (f && (f == this || f == FInplaceEdit)) Perform(CM_UIACTIVATE);
        break;
    }
    case QEvent::ThemeChange:
    case QEvent::StyleChange: Perform(WM_THEMECHANGED); break;
    default: break;
    }
    if (e->type() == QEvent::KeyPress) {
        auto* ke = static_cast<QKeyEvent*>(e);
        if (ke->key() == Qt::Key_Tab || ke->key() == Qt::Key_Backtab) {
            if (Perform(WM_GETDLGCODE) & (DLGC_WANTTAB | DLGC_WANTALLKEYS)) keyPressEvent(ke);
            else if (!(ke->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
                focusNextPrevChild(ke->key() == Qt::Key_Tab && !(ke->modifiers() & Qt::ShiftModifier));
            // a Tab the grid does not want moves the focus or is dropped; it never moves the cell
            return true;
        }
    }
    return QAbstractScrollArea::event(e);
}

bool TCustomGrid::viewportEvent(QEvent* e)
{
    if (!FDestroying) {
        switch (e->type()) {
        case QEvent::Enter:
            FMouseInside = true;
            Perform(CM_MOUSEENTER);
            break;
        case QEvent::Leave:
            CancelHintOf(this);
            Perform(CM_MOUSELEAVE);
            break;
        case QEvent::Paint: {
            QPaintEvent* outer = FPendingPaint;
            FPendingPaint = static_cast<QPaintEvent*>(e);
            Perform(WM_PAINT);
            FPendingPaint = outer;
            return true;
        }
        case QEvent::ToolTip: ShowHintAt(static_cast<QHelpEvent*>(e)); return true;
        default: break;
        }
    }
    return QAbstractScrollArea::viewportEvent(e);
}

void TCustomGrid::ShowHintAt(QHelpEvent* e)
{
    if (!FShowHint) {
        CancelHint();
        return;
    }
    THintInfo info;
    info.HintControl = this;
    info.CursorPos = {e->pos().x(), e->pos().y()};
    info.CursorRect = ClientRect();
    // below the mouse pointer, clear of it
    info.HintPos = {e->globalPos().x(), e->globalPos().y() + 20};
    info.HintStr = FHint;
    ShowControlHint(info, [this](THintInfo& i) { return Perform(CM_HINTSHOW, 0, reinterpret_cast<intptr_t>(&i)); });
}

void TCustomGrid::SendKey(QKeyEvent* e, bool down)
{
    QKeyEvent* outer = FPendingKey;
    FPendingKey = e;
    const int vk = QtKeyToVirtualKey(e->key());
    const bool alt = e->modifiers() & Qt::AltModifier;
    if (!down) {
        Perform(alt ? WM_SYSKEYUP : WM_KEYUP, vk);
        FPendingKey = outer;
        return;
    }
    TMessage m{static_cast<uint32_t>(alt ? WM_SYSKEYDOWN : WM_KEYDOWN), vk, 0, 0};
    if (vk != 0) WndProc(m);
    else m.WParam = 1;
    // Typed characters follow the key; with Alt held they are dialog characters, the
    // accelerators of the grid's own controls.
    if (m.WParam != 0)
        for (QChar c : TypedText(e)) Perform(alt ? CM_DIALOGCHAR : WM_CHAR, c.unicode());
    FPendingKey = outer;
}

void TCustomGrid::keyPressEvent(QKeyEvent* e)
{
    const int vk = QtKeyToVirtualKey(e->key());
    auto ask = [this](uint32_t msg, intptr_t w) { return Perform(msg, w); };
    if (KeyGoesToDialog(this, vk, ask)) {
        e->ignore();
        return;
    }
    SendKey(e, true);
    e->accept();
}

void TCustomGrid::keyReleaseEvent(QKeyEvent* e)
{
    SendKey(e, false);
}

void TCustomGrid::SendMouse(uint32_t msg, QMouseEvent* e)
{
    QPoint p = e->position().toPoint();
    // a hint goes when the mouse leaves its place or a button goes down
    if (e->type() == QEvent::MouseMove) HintMouseMoved(this, {p.x(), p.y()});
    else if (e->type() != QEvent::MouseButtonRelease && ShownHintWindow()) CancelHint();
    if (e->type() != QEvent::MouseMove || e->buttons() == Qt::NoButton) {
        // the platform asks for the cursor before each move
        if (e->type() == QEvent::MouseMove) Perform(WM_SETCURSOR, HandleOf(this), 1);
    }
    Perform(msg, MouseKeyFlags(e), MakeLParam(p.x(), p.y()));
}

void TCustomGrid::mousePressEvent(QMouseEvent* e)
{
    if (FDestroying) return;
    uint32_t msg = e->button() == Qt::RightButton ? WM_RBUTTONDOWN : e->button() == Qt::MiddleButton ? WM_MBUTTONDOWN : WM_LBUTTONDOWN;
    SendMouse(msg, e);
}

void TCustomGrid::mouseReleaseEvent(QMouseEvent* e)
{
    if (FDestroying) return;
    uint32_t msg = e->button() == Qt::RightButton ? WM_RBUTTONUP : e->button() == Qt::MiddleButton ? WM_MBUTTONUP : WM_LBUTTONUP;
    SendMouse(msg, e);
}

void TCustomGrid::mouseDoubleClickEvent(QMouseEvent* e)
{
    if (FDestroying) return;
    uint32_t msg = e->button() == Qt::RightButton    ? WM_RBUTTONDBLCLK
                   : e->button() == Qt::MiddleButton ? WM_MBUTTONDBLCLK
                                                     : WM_LBUTTONDBLCLK;
    SendMouse(msg, e);
}

void TCustomGrid::mouseMoveEvent(QMouseEvent* e)
{
    if (FDestroying) return;
    SendMouse(WM_MOUSEMOVE, e);
}

void TCustomGrid::wheelEvent(QWheelEvent* e)
{
    if (FDestroying) return;
    SendWheel(e);
}

void TCustomGrid::SendWheel(QWheelEvent* e)
{
    // Taken whatever the grid does with it, so that the window around does not scroll too.
    e->accept();
    // Qt's horizontal delta is positive to the left; WM_MOUSEHWHEEL's is positive to the right.
    const int delta = e->angleDelta().y(), hdelta = -e->angleDelta().x();
    if (delta == 0 && hdelta == 0) return;
    // Touchpads turn in small steps: they add up to whole notches, one message each, and a
    // turn back starts afresh.
    auto accumulate = [](int& acc, int d) {
        if (acc != 0 && d != 0 && (d > 0) != (acc > 0)) acc = 0;
        acc += d;
    };
    accumulate(FWheelAccumulator, delta);
    accumulate(FHWheelAccumulator, hdelta);
    int keys = 0;
    if (e->modifiers() & Qt::ShiftModifier) keys |= MK_SHIFT;
    if (e->modifiers() & Qt::ControlModifier) keys |= MK_CONTROL;
    if (e->buttons() & Qt::LeftButton) keys |= MK_LBUTTON;
    if (e->buttons() & Qt::RightButton) keys |= MK_RBUTTON;
    if (e->buttons() & Qt::MiddleButton) keys |= MK_MBUTTON;
    const QPoint g = e->globalPosition().toPoint();
    while (std::abs(FWheelAccumulator) >= WHEEL_DELTA && !FDestroying) {
        const int notch = FWheelAccumulator > 0 ? WHEEL_DELTA : -WHEEL_DELTA;
        FWheelAccumulator -= notch;
        Perform(WM_MOUSEWHEEL, MakeWParam(keys, notch), MakeLParam(g.x(), g.y()));
    }
    while (std::abs(FHWheelAccumulator) >= WHEEL_DELTA && !FDestroying) {
        const int notch = FHWheelAccumulator > 0 ? WHEEL_DELTA : -WHEEL_DELTA;
        FHWheelAccumulator -= notch;
        Perform(WM_MOUSEHWHEEL, MakeWParam(keys, notch), MakeLParam(g.x(), g.y()));
    }
}

bool TCustomGrid::SendDrag(QDropEvent* e, TDragState state)
{
    const QPoint p = e->position().toPoint();
    bool accept = false;
    DragOver(dynamic_cast<TObject*>(e->source()), p.x(), p.y(), state, accept);
    return accept;
}

void TCustomGrid::dragEnterEvent(QDragEnterEvent* e)
{
    if (FDestroying) return;
    const bool accept = SendDrag(e, dsDragEnter);
    // taken in any case, so that the moves keep coming (a grid scrolls under a drag it
    // cannot take); only an accepted drag may drop
    e->accept();
    if (!accept) e->setDropAction(Qt::IgnoreAction);
}

void TCustomGrid::dragMoveEvent(QDragMoveEvent* e)
{
    if (FDestroying) return;
    if (SendDrag(e, dsDragMove)) e->acceptProposedAction();
    else e->ignore();
}

void TCustomGrid::dragLeaveEvent(QDragLeaveEvent*)
{
    if (FDestroying) return;
    bool accept = false;
    DragOver(nullptr, -1, -1, dsDragLeave, accept);
}

void TCustomGrid::dropEvent(QDropEvent* e)
{
    if (FDestroying) return;
    const QPoint p = e->position().toPoint();
    TObject* source = dynamic_cast<TObject*>(e->source());
    // the drag leaves before it drops, as on the platform
    bool accept = false;
    DragOver(source, p.x(), p.y(), dsDragLeave, accept);
    DragDrop(source, p.x(), p.y());
    e->acceptProposedAction();
}

void TCustomGrid::DragOver(TObject* source, int x, int y, TDragState state, bool& accept)
{
    accept = false;
    if (!OnDragOver) return;
    accept = true;
    OnDragOver(this, source, x, y, state, accept);
}

void TCustomGrid::DragDrop(TObject* source, int x, int y)
{
    if (OnDragDrop) OnDragDrop(this, source, x, y);
}

void TCustomGrid::focusInEvent(QFocusEvent* e)
{
    QAbstractScrollArea::focusInEvent(e);
    if (FDestroying) return;
    if (!FFocusInside) {
        FFocusInside = true;
        Perform(CM_ENTER);
    }
    Perform(WM_SETFOCUS, 0);
}

void TCustomGrid::focusOutEvent(QFocusEvent* e)
{
    QAbstractScrollArea::focusOutEvent(e);
    if (FDestroying) return;
    QWidget* now = QApplication::focusWidget();
    Perform(WM_KILLFOCUS, HandleOf(now));
    if (e->reason() == Qt::ActiveWindowFocusReason || e->reason() == Qt::PopupFocusReason) return;
    if (now != FInplaceEdit && FFocusInside) {
        FFocusInside = false;
        Perform(CM_EXIT);
    }
}

void TCustomGrid::resizeEvent(QResizeEvent* e)
{
    QAbstractScrollArea::resizeEvent(e);
    if (!FBottomAligned.empty() || !FBottomOverlays.empty()) RealignBottom();
    if (!FDestroying) Perform(WM_SIZE);
}

void TCustomGrid::showEvent(QShowEvent* e)
{
    QAbstractScrollArea::showEvent(e);
    HandleNeeded();
    UpdateScrollRange();
}
