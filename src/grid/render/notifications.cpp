// The grid's answers to the platform's change notifications (enabled, colour, font, cursor),
// the footer panel's canvas, and the hot header cell of the list-view look.
#include "grid/control/grid_child_windows.h"
#include "grid/control/grid_settings_objects.h"
#include "grid/control/pro_string_grid.h"

#include <QEvent>

TCanvas* TProStringGrid::FooterCanvas() const { return FFooterPanel ? FFooterPanel->Canvas() : nullptr; }

void TProStringGrid::changeEvent(QEvent* e)
{
    TBaseGrid::changeEvent(e);
    if (Destroying() || FTornDown) return;
    switch (e->type()) {
    case QEvent::EnabledChange: Perform(CM_ENABLEDCHANGED); break;
    case QEvent::PaletteChange: Perform(CM_COLORCHANGED); break;
    default: break;
    }
}

bool TProStringGrid::HandleChangeNotification(TMessage& Message)
{
    switch (Message.Msg) {
    case CM_ENABLEDCHANGED: HandleEnabledChanged(Message); return true;
    case CM_COLORCHANGED: HandleColorChanged(Message); return true;
    case CM_FONTCHANGED: HandleFontChanged(Message); return true;
    case CM_CURSORCHANGED: HandleCursorChanged(Message); return true;
    default: return false;
    }
}

void TProStringGrid::HandleEnabledChanged(TMessage& Message)
{
    TBaseGrid::WndProc(Message);
    Invalidate();
}

void TProStringGrid::HandleColorChanged(TMessage& Message)
{
    TBaseGrid::WndProc(Message);
    if (FFloatingFooter && FFloatingFooter->Visible() && FFooterPanel) FFooterPanel->update();
}

void TProStringGrid::HandleFontChanged(TMessage& Message) { TBaseGrid::WndProc(Message); }

void TProStringGrid::HandleCursorChanged(TMessage& Message)
{
    TBaseGrid::WndProc(Message);
    // A cursor set from outside ends the selection mode the grid's own cursor stood for.
    if (!Invokedchange) FMouseSelectMode = msNormal;
    Invokedchange = false;
}

// ---- the list-view look's hot header cell ---------------------------------------------------

bool TProStringGrid::IsHeaderCell(int ACol, int ARow) const
{
    return ACol >= 0 && ARow >= 0 && ACol < ColCount() && ARow < RowCount() &&
           (ACol < FixedCols() || ARow < FixedRows());
}

void TProStringGrid::TrackHotFixedCell(int ACol, int ARow)
{
    if (FLook != glListView || (FHotFixedCell.X == ACol && FHotFixedCell.Y == ARow)) return;
    const TPoint old = FHotFixedCell;
    FHotFixedCell = {ACol, ARow};
    if (IsHeaderCell(old.X, old.Y)) InvalidateCell(old.X, old.Y);
    if (IsHeaderCell(ACol, ARow)) InvalidateCell(ACol, ARow);
}

void TProStringGrid::RepaintListViewHeaders(bool Released)
{
    if (FLook != glListView) return;
    if (IsHeaderCell(FHotFixedCell.X, FHotFixedCell.Y)) InvalidateCell(FHotFixedCell.X, FHotFixedCell.Y);
    if (!Released) return;
    if (RowCount() > 0) InvalidateRow(0);
    if (FixedCols() > 0 && ColCount() > 0) InvalidateCol(0);
}
