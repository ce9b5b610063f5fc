// The update lock that holds painting back during bulk changes, and the grid's own
// 500 ms timer: incremental look-up expiry, hover focus and blinking cells.
#include "grid/control/pro_string_grid.h"

#include "platform/core/sysutils.h"

#include <QCursor>

bool TProStringGrid::GridVisible() const
{
    // A grid not yet placed on a shown window still counts as visible; only an explicit
    // hide makes it invisible.
    return !(isHidden() && testAttribute(Qt::WA_WState_ExplicitShowHide));
}

void TProStringGrid::BeginUpdate()
{
    if (!GridVisible()) return;
    ++FUpdateCount;
    setUpdatesEnabled(false);
}

void TProStringGrid::EndUpdate()
{
    // An unbalanced end changes nothing.
    if (!GridVisible() || FUpdateCount == 0) return;
    if (--FUpdateCount != 0 || FTornDown) return;
    setUpdatesEnabled(true);
    // the proportional thumbs catch up with the counts changed under the lock
    if (FScrollProportional) {
        UpdateVScrollBar();
        UpdateHScrollBar();
    }
    // One repaint of the whole window for everything changed under the lock.
    Invalidate();
    PaintBorder();
}

void TProStringGrid::Paint()
{
    // The invalid region stays and is painted after the lock ends.
    if (FUpdateCount >= 1) return;
    Canvas()->Pen()->SetStyle(psSolid);
    Canvas()->Brush()->SetStyle(bsSolid);
    TBaseGrid::Paint();
    PaintAfterCells();
}

void TProStringGrid::WMTimer(TMessage& m)
{
    if (FGridTimerID != 0 && int(m.WParam) == FGridTimerID) HandleTimerMessage(m);
    else TBaseGrid::WMTimer(m);
}

void TProStringGrid::HandleTimerMessage(TMessage& Message)
{
    (void)Message;
    ++FTimerTicks;

    if (FNavigation && FNavigation->AutoGotoIncremental()) {
        ++SearchTics;
        if (SearchTics == 4) {
            SearchInc.clear();
            SearchTics = 0;
        }
    }

    if (FHovering && !FDesigning && isVisible()) {
        const QPoint p = viewport()->mapFromGlobal(QCursor::pos());
        if (viewport()->rect().contains(p)) {
            int c = -1, r = -1;
            MouseToCell(p.x(), p.y(), c, r);
            if (c >= FixedCols() && r >= FixedRows() && c < ColCount() && r < RowCount()) {
                setFocus();
                SetRow(r);
                SetCol(c);
            }
        }
    }

    if (!FEnableBlink) return;
    FGridBlink = !FGridBlink;
    auto blinkCell = [this](int displCol, int realCol, int row) {
        if (GetGridCell(realCol, row).toUpper().contains(QStringLiteral("<BLI"))) InvalidateCell(displCol, row);
    };
    const int lastCol = std::min(ColCount(), LeftCol() + VisibleColCount() + FNumHidden);
    const int lastRow = std::min(RowCount(), TopRow() + VisibleRowCount());
    for (int r = TopRow(); r < lastRow; ++r)
        for (int c = LeftCol(); c < lastCol; ++c) blinkCell(c, DisplToRealColumn(c), r);
    for (int r = 0; r < FixedRows(); ++r)
        for (int c = LeftCol(); c < lastCol; ++c) blinkCell(c, DisplToRealColumn(c), r);
    for (int c = 0; c < FixedCols(); ++c)
        for (int r = TopRow(); r < lastRow; ++r) blinkCell(c, DisplToRealColumn(c), r);
}

void TProStringGrid::WMSize(TMessage& m)
{
    if (FColumnSize && FOldSize > 0 && FColumnSize->SynchWithGrid() && !FTornDown) {
        if (EditorMode()) HideEditor();
        // Columns keep their share of the width they were designed for.
        const double factor =
            (BorderStyle() == bsSingle ? width() + 2.0 : double(width())) / double(FOldSize);
        int from = 0, to = ColCount() - 1;
        if (FColumnSize->SynchNormalCellsOnly()) {
            from = FixedCols();
            to = ColCount() - FFixedRightCols - 1;
        }
        for (int c = from; c <= to && c < FOrigColSizes->Count(); ++c)
            SetColWidths(c, int(Round(FOrigColSizes->GetInteger(c) * factor)));
    }
    // The stretch column fills what the other columns leave of the new width.
    bool stretched = false;
    if (FColumnSize && FColumnSize->Stretch() && FScrollBarAlways != saBoth && !FTornDown && ColCount() > 0) {
        const int stretchCol = FColumnSize->StretchColumn() == -1 ? ColCount() - 1 : FColumnSize->StretchColumn();
        int others = 0;
        for (int c = 0; c < ColCount(); ++c)
            if (c != stretchCol) others += ColWidths(c);
        if (stretchCol >= 0 && stretchCol < ColCount() && others < ClientWidth()) {
            StretchColumn(FColumnSize->StretchColumn());
            stretched = true;
        }
    }
    TBaseGrid::WMSize(m);
    if (stretched && FScrollBarAlways == saNone) return;
    if (FScrollProportional) {
        UpdateVScrollBar();
        UpdateHScrollBar();
    }
    if (stretched || FTornDown) return;
    FlatShowScrollBar(SB_HORZ, VisibleColCount() + FixedCols() < ColCount());
    FlatShowScrollBar(SB_VERT, VisibleRowCount() + FixedRows() < RowCount());
    UpdateFlatHScroll();
    UpdateFlatVScroll();
}
