#include "platform/ui/string_grid.h"

#include "platform/ui/grid_detail.h"

using namespace grid_detail;

TStringGrid::TStringGrid(QWidget* parent) : TCustomGrid(parent) {}

TStringGrid::~TStringGrid() = default;

QString TStringGrid::Cells(int col, int row) const
{
    if (col < 0 || row < 0 || col >= static_cast<int>(FColumns.size())) return QString();
    const QString* s = FColumns[col].Texts.Find(row);
    return s ? *s : QString();
}

void TStringGrid::SetCells(int col, int row, const QString& value)
{
    if (col < 0 || row < 0) InvalidOp(kIndexOutOfRange);
    if (col >= static_cast<int>(FColumns.size())) {
        if (value.isEmpty()) return;   // nothing stored, nothing to clear
        FColumns.resize(col + 1);
    }
    Column& c = FColumns[col];
    if (value.isEmpty() && !c.Texts.Find(row)) return;
    c.Texts.At(row) = value;
    CellChanged(col, row);
}

TObject* TStringGrid::Objects(int col, int row) const
{
    if (col < 0 || row < 0 || col >= static_cast<int>(FColumns.size())) return nullptr;
    TObject* const* o = FColumns[col].Objects.Find(row);
    return o ? *o : nullptr;
}

void TStringGrid::SetObjects(int col, int row, TObject* value)
{
    if (col < 0 || row < 0) InvalidOp(kIndexOutOfRange);
    if (col >= static_cast<int>(FColumns.size())) {
        if (!value) return;
        FColumns.resize(col + 1);
    }
    Column& c = FColumns[col];
    if (!value && !c.Objects.Find(row)) return;
    c.Objects.At(row) = value;
    CellChanged(col, row);
}

void TStringGrid::CellChanged(int col, int row)
{
    InvalidateCell(col, row);
}

QStringList TStringGrid::Cols(int col) const
{
    QStringList out;
    out.reserve(RowCount());
    for (int r = 0; r < RowCount(); ++r) out << Cells(col, r);
    return out;
}

void TStringGrid::SetCols(int col, const QStringList& texts)
{
    for (int r = 0; r < RowCount(); ++r) SetCells(col, r, r < texts.size() ? texts[r] : QString());
}

QStringList TStringGrid::Rows(int row) const
{
    QStringList out;
    out.reserve(ColCount());
    for (int c = 0; c < ColCount(); ++c) out << Cells(c, row);
    return out;
}

void TStringGrid::SetRows(int row, const QStringList& texts)
{
    for (int c = 0; c < ColCount(); ++c) SetCells(c, row, c < texts.size() ? texts[c] : QString());
}

void TStringGrid::RowSizesMoved()
{
    if (RowAxis().HasSizes()) RowHeightsChanged();
    Invalidate();
}

void TStringGrid::InsertStoreRows(int at, int count)
{
    if (at < 0 || count <= 0) return;
    for (Column& c : FColumns) {
        c.Texts.InsertRange(at, count);
        c.Objects.InsertRange(at, count);
    }
    // The row count stays: the new heights come in at `at`, the last ones drop off.
    if (at < RowCount()) {
        const int n = RowCount();
        RowAxis().Insert(at, count);
        RowAxis().Erase(n, count);
    }
    RowSizesMoved();
}

void TStringGrid::EraseStoreRows(int at, int count)
{
    if (at < 0 || count <= 0) return;
    for (Column& c : FColumns) {
        c.Texts.EraseRange(at, count);
        c.Objects.EraseRange(at, count);
    }
    if (at < RowCount()) {
        const int n = RowCount();
        RowAxis().Erase(at, count);
        RowAxis().Insert(RowAxis().Count(), n - RowAxis().Count());
    }
    RowSizesMoved();
}

void TStringGrid::ReorderStoreRows(const std::vector<int>& order)
{
    for (Column& c : FColumns) {
        c.Texts.Reorder(order);
        c.Objects.Reorder(order);
    }
    if (int(order.size()) <= RowCount()) {
        std::vector<int> all(order);
        for (int r = int(order.size()); r < RowCount(); ++r) all.push_back(r);
        RowAxis().Reorder(all);
    }
    RowSizesMoved();
}

QString TStringGrid::GetEditText(int col, int row)
{
    QString s = Cells(col, row);
    if (OnGetEditText) OnGetEditText(this, col, row, s);
    return s;
}

void TStringGrid::SetEditText(int col, int row, const QString& value)
{
    if (value != Cells(col, row)) SetCells(col, row, value);
    if (OnSetEditText) OnSetEditText(this, col, row, value);
}

void TStringGrid::DrawCell(int col, int row, const TRect& rect, TGridDrawState state)
{
    if (DefaultDrawing()) {
        // The grid has filled the cell with the brush already: only the text is drawn, as
        // one aligned call clipped to the cell.
        TCanvas* c = Canvas();
        const TBrushStyle brush = c->Brush()->Style();
        c->Brush()->SetStyle(bsClear);
        TRect r{rect.Left + 2, rect.Top + 2, rect.Right, rect.Bottom};
        c->DrawText(Cells(col, row), r, DT_SINGLELINE | DT_NOPREFIX);
        c->Brush()->SetStyle(brush);
    }
    if (OnDrawCell) OnDrawCell(this, col, row, rect, state);
}

bool TStringGrid::SelectCell(int col, int row)
{
    bool ok = true;
    if (OnSelectCell) OnSelectCell(this, col, row, ok);
    return ok;
}

void TStringGrid::ColumnMoved(int fromIndex, int toIndex)
{
    const int need = std::max(fromIndex, toIndex) + 1;
    if (static_cast<int>(FColumns.size()) < need) FColumns.resize(need);
    MoveItem(FColumns, fromIndex, toIndex);
    if (OnColumnMoved) OnColumnMoved(this, fromIndex, toIndex);
}

void TStringGrid::RowMoved(int fromIndex, int toIndex)
{
    for (Column& c : FColumns) {
        if (!c.Texts.Empty()) c.Texts.Move(fromIndex, toIndex);
        if (!c.Objects.Empty()) c.Objects.Move(fromIndex, toIndex);
    }
    if (OnRowMoved) OnRowMoved(this, fromIndex, toIndex);
}
