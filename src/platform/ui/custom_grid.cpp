#include "platform/ui/custom_grid.h"

#include "platform/ui/grid_detail.h"
#include "platform/ui/inplace_edit.h"

#include <QApplication>
#include <QCursor>
#include <QDialog>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>
#include <algorithm>

using namespace grid_detail;

namespace {

Qt::CursorShape ShapeOf(TCursor c)
{
    switch (c) {
    case crNone: return Qt::BlankCursor;
    case crCross: return Qt::CrossCursor;
    case crIBeam: return Qt::IBeamCursor;
    case crSizeNESW: return Qt::SizeBDiagCursor;
    case crSizeNS: return Qt::SizeVerCursor;
    case crSizeNWSE: return Qt::SizeFDiagCursor;
    case crSizeWE: return Qt::SizeHorCursor;
    case crUpArrow: return Qt::UpArrowCursor;
    case crHourGlass:
    case crSQLWait: return Qt::WaitCursor;
    case crDrag:
    case crMultiDrag: return Qt::DragMoveCursor;
    case crNoDrop:
    case crNo: return Qt::ForbiddenCursor;
    case crHSplit: return Qt::SplitHCursor;
    case crVSplit: return Qt::SplitVCursor;
    case crAppStart: return Qt::BusyCursor;
    case crHelp: return Qt::WhatsThisCursor;
    case crHandPoint: return Qt::PointingHandCursor;
    case crSizeAll: return Qt::SizeAllCursor;
    default: return Qt::ArrowCursor;
    }
}

}  // namespace

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
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this,
            [this](int action) { ScrollBarAction(Qt::Vertical, action); });
    connect(horizontalScrollBar(), &QScrollBar::actionTriggered, this,
            [this](int action) { ScrollBarAction(Qt::Horizontal, action); });
    connect(verticalScrollBar(), &QScrollBar::sliderReleased, this, [this] {
        Perform(WM_VSCROLL, MakeWParam(SB_THUMBPOSITION, verticalScrollBar()->sliderPosition()));
    });
    connect(horizontalScrollBar(), &QScrollBar::sliderReleased, this, [this] {
        Perform(WM_HSCROLL, MakeWParam(SB_THUMBPOSITION, horizontalScrollBar()->sliderPosition()));
    });
    resize(320, 120);
}

TCustomGrid::~TCustomGrid()
{
    FDestroying = true;
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

void TCustomGrid::ResetSizes(std::vector<int>& sizes, int count, int def)
{
    if (!sizes.empty()) sizes.resize(count, def);
}

void TCustomGrid::ChangeSize(int newColCount, int newRowCount)
{
    const int oldCols = FColCount, oldRows = FRowCount;
    if (oldCols == newColCount && oldRows == newRowCount) return;
    FColCount = newColCount;
    FRowCount = newRowCount;
    ResetSizes(FColWidths, FColCount, FDefaultColWidth);
    ResetSizes(FRowHeights, FRowCount, FDefaultRowHeight);
    if (!FTabStops.empty()) FTabStops.resize(FColCount, true);

    // The current cell and the anchor stay inside the grid.
    FAnchor.X = std::min(FAnchor.X, FColCount - 1);
    FAnchor.Y = std::min(FAnchor.Y, FRowCount - 1);
    if (FCurrent.X >= FColCount || FCurrent.Y >= FRowCount) {
        int c = std::min(FCurrent.X, FColCount - 1), r = std::min(FCurrent.Y, FRowCount - 1);
        MoveCurrent(c, r, true, false);
        if (FCurrent.X >= FColCount || FCurrent.Y >= FRowCount) {
            FCurrent = {c, r};   // a refused move may not leave it outside
            FAnchor = FCurrent;
        }
    }
    TGridCoord maxTL = CalcMaxTopLeft({FColCount - 1, FRowCount - 1});
    TGridCoord tl{std::clamp(FTopLeft.X, FFixedCols, std::max(FFixedCols, maxTL.X)),
                  std::clamp(FTopLeft.Y, FFixedRows, std::max(FFixedRows, maxTL.Y))};
    if (!(tl == FTopLeft)) MoveTopLeft(tl.X, tl.Y);
    SizeChanged(oldCols, oldRows);
    Invalidate();
    UpdateScrollRange();
    if (FEditorMode) UpdateEditor();
}

void TCustomGrid::SetColCount(int v)
{
    if (v < 1) v = 1;
    if (v == FColCount) return;
    if (v <= FFixedCols) SetFixedCols(v - 1);
    ChangeSize(v, FRowCount);
    if (FOptions.Contains(goRowSelect)) FAnchor.X = FColCount - 1;
}

void TCustomGrid::SetRowCount(int v)
{
    if (v < 1) v = 1;
    if (v == FRowCount) return;
    if (v <= FFixedRows) SetFixedRows(v - 1);
    ChangeSize(FColCount, v);
}

void TCustomGrid::SetFixedCols(int v)
{
    if (v < 0) InvalidOp(kIndexOutOfRange);
    if (v >= FColCount) InvalidOp(kFixedColTooBig);
    FFixedCols = v;
    // back to the first normal cell, as the platform does on every change of the fixed area
    FTopLeft = {FFixedCols, FFixedRows};
    FCurrent = FTopLeft;
    FAnchor = FCurrent;
    if (FOptions.Contains(goRowSelect)) FAnchor.X = FColCount - 1;
    Invalidate();
    UpdateScrollRange();
}

void TCustomGrid::SetFixedRows(int v)
{
    if (v < 0) InvalidOp(kIndexOutOfRange);
    if (v >= FRowCount) InvalidOp(kFixedRowTooBig);
    FFixedRows = v;
    FTopLeft = {FFixedCols, FFixedRows};
    FCurrent = FTopLeft;
    FAnchor = FCurrent;
    if (FOptions.Contains(goRowSelect)) FAnchor.X = FColCount - 1;
    Invalidate();
    UpdateScrollRange();
}

void TCustomGrid::SetDefaultColWidth(int v)
{
    FDefaultColWidth = v;
    FColWidths.clear();
    ColWidthsChanged();
    Invalidate();
}

void TCustomGrid::SetDefaultRowHeight(int v)
{
    FDefaultRowHeight = v;
    FRowHeights.clear();
    RowHeightsChanged();
    Invalidate();
}

int TCustomGrid::ColWidths(int index) const
{
    if (index < 0 || index >= FColCount || FColWidths.empty()) return FDefaultColWidth;
    return FColWidths[index];
}

void TCustomGrid::SetColWidths(int index, int v)
{
    if (index < 0 || index >= FColCount) InvalidOp(kIndexOutOfRange);
    if (FColWidths.empty()) FColWidths.assign(FColCount, FDefaultColWidth);
    if (FColWidths[index] == v) return;
    FColWidths[index] = v;
    ColWidthsChanged();
    Invalidate();
}

int TCustomGrid::RowHeights(int index) const
{
    if (index < 0 || index >= FRowCount || FRowHeights.empty()) return FDefaultRowHeight;
    return FRowHeights[index];
}

void TCustomGrid::SetRowHeights(int index, int v)
{
    if (index < 0 || index >= FRowCount) InvalidOp(kIndexOutOfRange);
    if (FRowHeights.empty()) FRowHeights.assign(FRowCount, FDefaultRowHeight);
    if (FRowHeights[index] == v) return;
    FRowHeights[index] = v;
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

int TCustomGrid::AxisExtent(const std::vector<int>& sizes, int def, int count, int from, int to) const
{
    // Sum of the cells [from, to) with their lines.
    from = std::max(0, from);
    to = std::min(count, to);
    if (to <= from) return 0;
    int sum = 0;
    if (sizes.empty()) sum = (to - from) * def;
    else
        for (int i = from; i < to; ++i) sum += sizes[i];
    return sum + (to - from) * FGridLineWidth;
}

int TCustomGrid::GridWidth() const
{
    return AxisExtent(FColWidths, FDefaultColWidth, FColCount, 0, FColCount);
}

int TCustomGrid::GridHeight() const
{
    return AxisExtent(FRowHeights, FDefaultRowHeight, FRowCount, 0, FRowCount);
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
    viewport()->setCursor(QCursor(ShapeOf(c)));
}

bool TCustomGrid::TabStops(int col) const
{
    if (col < 0 || col >= static_cast<int>(FTabStops.size())) return true;
    return FTabStops[col];
}

void TCustomGrid::SetTabStops(int col, bool v)
{
    if (col < 0 || col >= FColCount) InvalidOp(kIndexOutOfRange);
    if (FTabStops.empty()) FTabStops.assign(FColCount, true);
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
    if (col < 0 || row < 0 || col >= FColCount || row >= FRowCount) InvalidOp(kIndexOutOfRange);
    if (!SelectCell(col, row)) return;
    TGridRect old = Selection();
    FCurrent = {col, row};
    if (!FOptions.Contains(goAlwaysShowEditor)) HideEditor();
    if (moveAnchor || !FOptions.Contains(goRangeSelect)) {
        FAnchor = FCurrent;
        if (FOptions.Contains(goRowSelect)) FAnchor.X = FColCount - 1;
    }
    if (FOptions.Contains(goRowSelect)) FCurrent.X = FFixedCols;
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
    if (FOptions.Contains(goRowSelect)) FAnchor.X = FColCount - 1;
    ClampInView(anchor);
    SelectionMoved(old);
}

void TCustomGrid::CalcAxis(TGridAxisDrawInfo& a, bool horz) const
{
    const std::vector<int>& sizes = horz ? FColWidths : FRowHeights;
    const int def = horz ? FDefaultColWidth : FDefaultRowHeight;
    a.EffectiveLineWidth = FGridLineWidth;
    a.FixedCellCount = horz ? FFixedCols : FFixedRows;
    a.FirstGridCell = horz ? FTopLeft.X : FTopLeft.Y;
    a.GridCellCount = horz ? FColCount : FRowCount;
    a.GridExtent = horz ? ClientWidth() : ClientHeight();
    a.FixedBoundary = AxisExtent(sizes, def, a.GridCellCount, 0, a.FixedCellCount);
    int pos = a.FixedBoundary;
    a.LastFullVisibleCell = a.FirstGridCell;
    a.FullVisBoundary = pos;
    int i = a.FirstGridCell;
    for (; i < a.GridCellCount && pos < a.GridExtent; ++i) {
        int size = (sizes.empty() ? def : sizes[i]) + FGridLineWidth;
        pos += size;
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
    // The smallest top-left from which the given cell is the last one fully in view.
    auto axis = [&](bool horz, int last) {
        const std::vector<int>& sizes = horz ? FColWidths : FRowHeights;
        const int def = horz ? FDefaultColWidth : FDefaultRowHeight;
        const int fixed = horz ? FFixedCols : FFixedRows;
        const int count = horz ? FColCount : FRowCount;
        const int room = (horz ? ClientWidth() : ClientHeight()) - AxisExtent(sizes, def, count, 0, fixed);
        int used = 0, i = last;
        while (i >= fixed) {
            used += (sizes.empty() ? def : sizes[i]) + FGridLineWidth;
            if (used > room) break;
            --i;
        }
        return std::max(fixed, std::min(last, i + 1));
    };
    return {axis(true, coord.X), axis(false, coord.Y)};
}

void TCustomGrid::ClampInView(const TGridCoord& coord)
{
    if (!HandleAllocated()) return;
    TGridDrawInfo info;
    CalcDrawInfo(info);
    TGridCoord tl = FTopLeft;
    if (coord.X >= FFixedCols) {
        if (coord.X < tl.X) tl.X = coord.X;
        else if (coord.X > info.Horz.LastFullVisibleCell) tl.X = CalcMaxTopLeft(coord).X;
    }
    if (coord.Y >= FFixedRows) {
        if (coord.Y < tl.Y) tl.Y = coord.Y;
        else if (coord.Y > info.Vert.LastFullVisibleCell) tl.Y = CalcMaxTopLeft(coord).Y;
    }
    MoveTopLeft(tl.X, tl.Y);
}

void TCustomGrid::MoveTopLeft(int left, int top)
{
    left = std::clamp(left, FFixedCols, std::max(FFixedCols, FColCount - 1));
    top = std::clamp(top, FFixedRows, std::max(FFixedRows, FRowCount - 1));
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
    int h = height() - 2 * frameWidth();
    if (FHBarOn) h -= horizontalScrollBar()->sizeHint().height();
    return std::max(0, h);
}

void TCustomGrid::SetBounds(int left, int top, int w, int h)
{
    setGeometry(left, top, w, h);
    UpdateScrollRange();
}

TRect TCustomGrid::BoxRect(int left, int top, int right, int bottom) const
{
    // Client rectangle of the visible part of a block of cells; empty when none is visible.
    auto axis = [&](bool horz, int from, int to, int& a, int& b) {
        const std::vector<int>& sizes = horz ? FColWidths : FRowHeights;
        const int def = horz ? FDefaultColWidth : FDefaultRowHeight;
        const int fixed = horz ? FFixedCols : FFixedRows;
        const int count = horz ? FColCount : FRowCount;
        const int first = horz ? FTopLeft.X : FTopLeft.Y;
        const int extent = horz ? ClientWidth() : ClientHeight();
        // Start of cell i; cells past the client area all start at its end, so that the
        // walk never goes further than the cells in view.
        auto start = [&](int i) {
            if (i < fixed) return AxisExtent(sizes, def, count, 0, i);
            int pos = AxisExtent(sizes, def, count, 0, fixed);
            if (sizes.empty()) return std::min(extent, pos + (i - first) * (def + FGridLineWidth));
            for (int k = first; k < i && pos < extent; ++k) pos += sizes[k] + FGridLineWidth;
            return std::min(pos, extent);
        };
        if (from > to) std::swap(from, to);
        if (from >= fixed && from < first) from = first;          // scrolled out at the start
        if (from < fixed && to >= fixed && to < first) to = fixed - 1;
        if (from > to) return false;
        const int s = start(from);
        if (s >= extent) return false;
        a = s;
        b = std::min(start(to) + (sizes.empty() ? def : sizes[to]), extent);
        return true;
    };
    TRect r;
    if (left < 0 || top < 0 || right >= FColCount || bottom >= FRowCount) return r;
    if (!axis(true, left, right, r.Left, r.Right) || !axis(false, top, bottom, r.Top, r.Bottom)) return TRect{};
    return r;
}

TRect TCustomGrid::CellRect(int col, int row) const
{
    return BoxRect(col, row, col, row);
}

TGridCoord TCustomGrid::CalcCoordFromPoint(int x, int y) const
{
    auto axis = [&](bool horz, int p) {
        const std::vector<int>& sizes = horz ? FColWidths : FRowHeights;
        const int def = horz ? FDefaultColWidth : FDefaultRowHeight;
        const int fixed = horz ? FFixedCols : FFixedRows;
        const int count = horz ? FColCount : FRowCount;
        const int first = horz ? FTopLeft.X : FTopLeft.Y;
        const int extent = horz ? ClientWidth() : ClientHeight();
        if (p < 0 || p >= extent) return -1;
        int pos = 0;
        for (int i = 0; i < fixed; ++i) {
            pos += (sizes.empty() ? def : sizes[i]) + FGridLineWidth;
            if (p < pos) return i;
        }
        for (int i = first; i < count && pos < extent; ++i) {
            pos += (sizes.empty() ? def : sizes[i]) + FGridLineWidth;
            if (p < pos) return i;
        }
        return -1;
    };
    return {axis(true, x), axis(false, y)};
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
    // Only the part in view matters; clip the block to the cells that can show.
    TGridRect r{std::max(0, g.Left), std::max(0, g.Top), std::min(FColCount - 1, g.Right), std::min(FRowCount - 1, g.Bottom)};
    if (r.Left > r.Right || r.Top > r.Bottom) return;
    InvalidateClientRect(BoxRect(r.Left, r.Top, r.Right, r.Bottom));
    // fixed cells and scrolled cells are separate areas; the rectangle above covers both
    // only when the block lies in one of them
    if (r.Left < FFixedCols && r.Right >= FFixedCols) InvalidateClientRect(BoxRect(FTopLeft.X, r.Top, r.Right, r.Bottom));
    if (r.Top < FFixedRows && r.Bottom >= FFixedRows) InvalidateClientRect(BoxRect(r.Left, FTopLeft.Y, r.Right, r.Bottom));
}

void TCustomGrid::InvalidateCell(int col, int row)
{
    if (!isVisible()) return;
    if (col >= FFixedCols && col < FTopLeft.X) return;
    if (row >= FFixedRows && row < FTopLeft.Y) return;
    InvalidateClientRect(BoxRect(col, row, col, row));
}

void TCustomGrid::InvalidateCol(int col)
{
    InvalidateGridRect({col, 0, col, FRowCount - 1});
}

void TCustomGrid::InvalidateRow(int row)
{
    InvalidateGridRect({0, row, FColCount - 1, row});
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
    // Only the cells in the part of the window being painted are drawn.
    const TRect clip = FCanvas.ClipRect();
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
                if (x + w + lw <= clip.Left || !FCanvas.RectVisible({x, y, x + w + lw, y + h + lw})) {
                    x += w + lw;
                    continue;
                }
                TRect where{x, y, x + w, y + h};
                TGridDrawState state;
                const bool fixed = c < FFixedCols || r < FFixedRows;
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
    drawRange(0, FFixedCols - 1, 0, FFixedRows - 1, 0, 0);
    drawRange(FTopLeft.X, FColCount - 1, 0, FFixedRows - 1, fixedW, 0);
    drawRange(0, FFixedCols - 1, FTopLeft.Y, FRowCount - 1, 0, fixedH);
    drawRange(FTopLeft.X, FColCount - 1, FTopLeft.Y, FRowCount - 1, fixedW, fixedH);

    // what lies beyond the last cells
    FCanvas.Brush()->SetColor(FColor);
    if (info.Horz.GridBoundary < info.Horz.GridExtent)
        FCanvas.FillRect({info.Horz.GridBoundary, 0, info.Horz.GridExtent, info.Vert.GridExtent});
    if (info.Vert.GridBoundary < info.Vert.GridExtent)
        FCanvas.FillRect({0, info.Vert.GridBoundary, info.Horz.GridBoundary, info.Vert.GridExtent});
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
    if (fromIndex < 0 || toIndex < 0 || fromIndex >= FColCount || toIndex >= FColCount) InvalidOp(kIndexOutOfRange);
    if (!FColWidths.empty()) MoveItem(FColWidths, fromIndex, toIndex);
    if (!FTabStops.empty()) {
        std::vector<char> t(FTabStops.begin(), FTabStops.end());
        MoveItem(t, fromIndex, toIndex);
        FTabStops.assign(t.begin(), t.end());
    }
    MoveAdjust(FCurrent.X, fromIndex, toIndex);
    MoveAdjust(FAnchor.X, fromIndex, toIndex);
    if (FInplaceCol >= 0) MoveAdjust(FInplaceCol, fromIndex, toIndex);
    InvalidateGridRect({std::min(fromIndex, toIndex), 0, std::max(fromIndex, toIndex), FRowCount - 1});
    ColumnMoved(fromIndex, toIndex);
    if (!FColWidths.empty()) ColWidthsChanged();
    if (FEditorMode) UpdateEditor();
}

void TCustomGrid::MoveRow(int fromIndex, int toIndex)
{
    if (fromIndex == toIndex) return;
    if (fromIndex < 0 || toIndex < 0 || fromIndex >= FRowCount || toIndex >= FRowCount) InvalidOp(kIndexOutOfRange);
    if (!FRowHeights.empty()) MoveItem(FRowHeights, fromIndex, toIndex);
    MoveAdjust(FCurrent.Y, fromIndex, toIndex);
    MoveAdjust(FAnchor.Y, fromIndex, toIndex);
    if (FInplaceRow >= 0) MoveAdjust(FInplaceRow, fromIndex, toIndex);
    InvalidateGridRect({0, std::min(fromIndex, toIndex), FColCount - 1, std::max(fromIndex, toIndex)});
    RowMoved(fromIndex, toIndex);
    if (!FRowHeights.empty()) RowHeightsChanged();
    if (FEditorMode) UpdateEditor();
}

void TCustomGrid::DeleteColumn(int col)
{
    MoveColumn(col, FColCount - 1);
    SetColCount(FColCount - 1);
}

void TCustomGrid::DeleteRow(int row)
{
    MoveRow(row, FRowCount - 1);
    SetRowCount(FRowCount - 1);
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
            cur.X = FFixedCols;
            cur.Y = FFixedRows;
            break;
        case VK_END:
            cur.X = FColCount - 1;
            cur.Y = FRowCount - 1;
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
            if (rowSelect) tl.X = FFixedCols;
            else cur.X = FFixedCols;
            break;
        case VK_END:
            if (rowSelect) tl.X = CalcMaxTopLeft({FColCount - 1, FRowCount - 1}).X;
            else cur.X = FColCount - 1;
            break;
        case VK_TAB:
            if (!shift.Contains(ssAlt)) {
                // to the next (Shift: previous) tab stop, wrapping over the rows
                do {
                    if (shift.Contains(ssShift)) {
                        if (--cur.X < FFixedCols) {
                            cur.X = FColCount - 1;
                            if (--cur.Y < FFixedRows) cur.Y = FRowCount - 1;
                        }
                        shift = TShiftState();
                    } else if (++cur.X >= FColCount) {
                        cur.X = FFixedCols;
                        if (++cur.Y >= FRowCount) cur.Y = FFixedRows;
                    }
                } while (!TabStops(cur.X) && cur.X != FCurrent.X);
            }
            break;
        case VK_F2: SetEditorMode(true); break;
        default: break;
        }
    }
    TGridCoord maxTL = CalcMaxTopLeft({FColCount - 1, FRowCount - 1});
    tl.X = std::clamp(tl.X, FFixedCols, std::max(FFixedCols, maxTL.X));
    tl.Y = std::clamp(tl.Y, FFixedRows, std::max(FFixedRows, maxTL.Y));
    if (tl.X != FTopLeft.X || tl.Y != FTopLeft.Y) MoveTopLeft(tl.X, tl.Y);
    cur.X = std::clamp(cur.X, FFixedCols, FColCount - 1);
    cur.Y = std::clamp(cur.Y, FFixedRows, FRowCount - 1);
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
            if (hit.X >= FFixedCols && hit.Y >= FFixedRows) {
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
            } else if (FOptions.Contains(goRowMoving) && hit.X >= 0 && hit.X < FFixedCols && hit.Y >= FFixedRows) {
                FMoveIndex = hit.Y;
                FMovePos = FMoveIndex;
                if (BeginRowDrag(FMoveIndex, FMovePos, {x, y})) {
                    FGridState = gsRowMoving;
                    SetTimer(1, 60);
                }
            } else if (FOptions.Contains(goColMoving) && hit.Y >= 0 && hit.Y < FFixedRows && hit.X >= FFixedCols) {
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
        if (hit.X >= FFixedCols && hit.Y >= FFixedRows && !(hit == FAnchor)) MoveAnchor(hit);
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
        if (hit.X >= FFixedCols) FMovePos = hit.X;
        break;
    }
    case gsRowMoving: {
        TGridCoord hit = CalcCoordFromPoint(x, y);
        if (hit.Y >= FFixedRows) FMovePos = hit.Y;
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
        if (cols) MoveColumn(FMoveIndex, FMovePos);
        else MoveRow(FMoveIndex, FMovePos);
    }
}

bool TCustomGrid::DoMouseWheel(TShiftState shift, int wheelDelta, const TPoint& mousePos)
{
    bool handled = false;
    for (int d = std::abs(wheelDelta); d >= 120; d -= 120)
        handled = (wheelDelta < 0 ? DoMouseWheelDown(shift, mousePos) : DoMouseWheelUp(shift, mousePos)) || handled;
    return handled;
}

bool TCustomGrid::DoMouseWheelDown(TShiftState shift, const TPoint& mousePos)
{
    bool handled = false;
    if (OnMouseWheelDown) OnMouseWheelDown(this, shift, mousePos, handled);
    if (!handled) {
        if (Row() < FRowCount - 1) SetRow(Row() + 1);
        handled = true;
    }
    return handled;
}

bool TCustomGrid::DoMouseWheelUp(TShiftState shift, const TPoint& mousePos)
{
    bool handled = false;
    if (OnMouseWheelUp) OnMouseWheelUp(this, shift, mousePos, handled);
    if (!handled) {
        if (Row() > FFixedRows) SetRow(Row() - 1);
        handled = true;
    }
    return handled;
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

void TCustomGrid::WMKeyDown(TMessage& m)
{
    int key = static_cast<int>(m.WParam);
    KeyDown(key, FPendingKey ? ShiftStateOf(FPendingKey) : KeyboardStateToShiftState());
    m.WParam = key;
}

void TCustomGrid::WMKeyUp(TMessage& m)
{
    int key = static_cast<int>(m.WParam);
    KeyUp(key, FPendingKey ? ShiftStateOf(FPendingKey) : KeyboardStateToShiftState());
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
    const int code = LoWord(m.WParam), pos = HiSigned(m.WParam);
    const int maxLeft = CalcMaxTopLeft({FColCount - 1, FRowCount - 1}).X;
    int left = FTopLeft.X;
    switch (code) {
    case SB_LINELEFT: --left; break;
    case SB_LINERIGHT: ++left; break;
    case SB_PAGELEFT: left -= std::max(1, VisibleColCount()); break;
    case SB_PAGERIGHT: left += std::max(1, VisibleColCount()); break;
    case SB_THUMBPOSITION: left = pos; break;
    case SB_THUMBTRACK:
        if (FOptions.Contains(goThumbTracking)) left = pos;
        break;
    case SB_TOP: left = FFixedCols; break;
    case SB_BOTTOM: left = maxLeft; break;
    default: break;
    }
    MoveTopLeft(std::clamp(left, FFixedCols, std::max(FFixedCols, maxLeft)), FTopLeft.Y);
}

void TCustomGrid::WMVScroll(TMessage& m)
{
    const int code = LoWord(m.WParam), pos = HiSigned(m.WParam);
    const int maxTop = CalcMaxTopLeft({FColCount - 1, FRowCount - 1}).Y;
    int top = FTopLeft.Y;
    switch (code) {
    case SB_LINEUP: --top; break;
    case SB_LINEDOWN: ++top; break;
    case SB_PAGEUP: top -= std::max(1, VisibleRowCount()); break;
    case SB_PAGEDOWN: top += std::max(1, VisibleRowCount()); break;
    case SB_THUMBPOSITION: top = pos; break;
    case SB_THUMBTRACK:
        if (FOptions.Contains(goThumbTracking)) top = pos;
        break;
    case SB_TOP: top = FFixedRows; break;
    case SB_BOTTOM: top = maxTop; break;
    default: break;
    }
    MoveTopLeft(FTopLeft.X, std::clamp(top, FFixedRows, std::max(FFixedRows, maxTop)));
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
    else viewport()->setCursor(QCursor(ShapeOf(FCursor)));
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
        TGridCoord maxTL = CalcMaxTopLeft({FColCount - 1, FRowCount - 1});
        MoveTopLeft(std::clamp(tl.X, FFixedCols, std::max(FFixedCols, maxTL.X)),
                    std::clamp(tl.Y, FFixedRows, std::max(FFixedRows, maxTL.Y)));
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

void TCustomGrid::UpdateScrollPos()
{
    FUpdatingScroll = true;
    horizontalScrollBar()->setValue(FTopLeft.X);
    verticalScrollBar()->setValue(FTopLeft.Y);
    FUpdatingScroll = false;
}

void TCustomGrid::UpdateScrollRange()
{
    if (FUpdatingScroll || FDestroying) return;
    FUpdatingScroll = true;
    // Showing one bar narrows the room for the other; two rounds settle it.
    for (int round = 0; round < 3; ++round) {
        TGridCoord maxTL = CalcMaxTopLeft({FColCount - 1, FRowCount - 1});
        bool v = (FScrollBars == ssVertical || FScrollBars == ssBoth) && maxTL.Y > FFixedRows;
        bool h = (FScrollBars == ssHorizontal || FScrollBars == ssBoth) && maxTL.X > FFixedCols;
        if (v == FVBarOn && h == FHBarOn) {
            verticalScrollBar()->setRange(FFixedRows, std::max(FFixedRows, maxTL.Y));
            verticalScrollBar()->setPageStep(std::max(1, VisibleRowCount()));
            horizontalScrollBar()->setRange(FFixedCols, std::max(FFixedCols, maxTL.X));
            horizontalScrollBar()->setPageStep(std::max(1, VisibleColCount()));
            break;
        }
        FVBarOn = v;
        FHBarOn = h;
        setVerticalScrollBarPolicy(v ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
        setHorizontalScrollBarPolicy(h ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    }
    FUpdatingScroll = false;
    // the room may have grown: keep the top-left cell where it can be
    TGridCoord maxTL = CalcMaxTopLeft({FColCount - 1, FRowCount - 1});
    if (FTopLeft.X > std::max(FFixedCols, maxTL.X) || FTopLeft.Y > std::max(FFixedRows, maxTL.Y))
        MoveTopLeft(std::min(FTopLeft.X, std::max(FFixedCols, maxTL.X)), std::min(FTopLeft.Y, std::max(FFixedRows, maxTL.Y)));
    UpdateScrollPos();
}

void TCustomGrid::ApplyScrollBars()
{
    UpdateScrollRange();
}

void TCustomGrid::ScrollBarAction(Qt::Orientation o, int action)
{
    if (FUpdatingScroll) return;
    QScrollBar* bar = o == Qt::Vertical ? verticalScrollBar() : horizontalScrollBar();
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
    const uint32_t msg = o == Qt::Vertical ? WM_VSCROLL : WM_HSCROLL;
    Perform(msg, MakeWParam(code, bar->sliderPosition()));
    // the slider shows where the grid went, unless the thumb is being dragged freely
    if (code != SB_THUMBTRACK || FOptions.Contains(goThumbTracking))
        bar->setSliderPosition(o == Qt::Vertical ? FTopLeft.Y : FTopLeft.X);
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
            Perform(CM_MOUSELEAVE);
            break;
        default: break;
        }
    }
    return QAbstractScrollArea::viewportEvent(e);
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
    if (m.WParam != 0 && !alt)
        for (QChar c : TypedText(e)) Perform(WM_CHAR, c.unicode());
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
    int keys = 0;
    if (e->modifiers() & Qt::ShiftModifier) keys |= MK_SHIFT;
    if (e->modifiers() & Qt::ControlModifier) keys |= MK_CONTROL;
    if (e->buttons() & Qt::LeftButton) keys |= MK_LBUTTON;
    if (e->buttons() & Qt::RightButton) keys |= MK_RBUTTON;
    if (e->buttons() & Qt::MiddleButton) keys |= MK_MBUTTON;
    QPoint g = e->globalPosition().toPoint();
    int delta = e->angleDelta().y();
    if (delta == 0) return;
    if (Perform(WM_MOUSEWHEEL, MakeWParam(keys, delta), MakeLParam(g.x(), g.y())) != 0) e->accept();
    else e->ignore();
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
    if (!FDestroying) Perform(WM_SIZE);
}

void TCustomGrid::showEvent(QShowEvent* e)
{
    QAbstractScrollArea::showEvent(e);
    HandleNeeded();
    UpdateScrollRange();
}
