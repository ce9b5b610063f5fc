// Small members around editing: the current base cell as an editor writes it, the values of a
// cell's form controls, the cell cursor hook and the end of range editing.
#include "grid/base/html_text.h"
#include "grid/control/pro_string_grid.h"

void TProStringGrid::SetCurrentBaseCell(const QString& Value)
{
    // StoreEditorText takes the display column and resolves the merged block itself.
    StoreEditorText(Col(), Row(), Value);
}

QString TProStringGrid::GetCtrlVal(int ACol, int ARow, const QString& ID)
{
    QString value;
    if (!GetControlValue(Cells(ACol, ARow), ID, value)) return QString();
    return value;
}

void TProStringGrid::SetCtrlVal(int ACol, int ARow, const QString& ID, const QString& Value)
{
    QString text = Cells(ACol, ARow);
    if (SetControlValue(text, ID, Value)) SetCells(ACol, ARow, text);
}

void TProStringGrid::GetCellCursor(int ACol, int ARow, int X, int Y)
{
    if (!OnGetCellCursor) return;
    TCursor cursor = Cursor();
    OnGetCellCursor(this, ACol, ARow, X, Y, cursor);
    // The shape holds until the next mouse move asks again, as a cursor set for the moment does.
    viewport()->setCursor(CursorOf(cursor));
}

void TProStringGrid::EndRangeEdit() { SetOptions(Options() - goEditing); }
