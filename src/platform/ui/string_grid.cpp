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

std::vector<int> TStringGrid::CurrentRowHeights() const
{
    std::vector<int> h(static_cast<size_t>(RowCount()));
    for (int r = 0; r < RowCount(); ++r) h[size_t(r)] = RowHeights(r);
    return h;
}

void TStringGrid::ApplyRowHeights(const std::vector<int>& heights)
{
    // The scroll range follows once, after all rows have their heights.
    bool changed = false;
    FApplyingHeights = true;
    for (int r = 0; r < RowCount() && r < int(heights.size()); ++r) {
        if (RowHeights(r) == heights[size_t(r)]) continue;
        SetRowHeights(r, heights[size_t(r)]);
        changed = true;
    }
    FApplyingHeights = false;
    if (changed) RowHeightsChanged();
}

void TStringGrid::RowHeightsChanged()
{
    if (!FApplyingHeights) TCustomGrid::RowHeightsChanged();
}

void TStringGrid::InsertStoreRows(int at, int count)
{
    if (at < 0 || count <= 0) return;
    for (Column& c : FColumns) {
        c.Texts.InsertRange(at, count);
        c.Objects.InsertRange(at, count);
    }
    if (at < RowCount()) {
        std::vector<int> h = CurrentRowHeights();
        h.insert(h.begin() + at, size_t(count), DefaultRowHeight());
        ApplyRowHeights(h);
    }
    Invalidate();
}

void TStringGrid::EraseStoreRows(int at, int count)
{
    if (at < 0 || count <= 0) return;
    for (Column& c : FColumns) {
        c.Texts.EraseRange(at, count);
        c.Objects.EraseRange(at, count);
    }
    if (at < RowCount()) {
        std::vector<int> h = CurrentRowHeights();
        h.erase(h.begin() + at, h.begin() + std::min(at + count, RowCount()));
        h.resize(size_t(RowCount()), DefaultRowHeight());
        ApplyRowHeights(h);
    }
    Invalidate();
}

void TStringGrid::ReorderStoreRows(const std::vector<int>& order)
{
    for (Column& c : FColumns) {
        c.Texts.Reorder(order);
        c.Objects.Reorder(order);
    }
    std::vector<int> h = CurrentRowHeights();
    std::vector<int> moved = h;
    for (size_t i = 0; i < order.size() && i < h.size(); ++i)
        moved[i] = order[i] < int(h.size()) ? h[size_t(order[i])] : DefaultRowHeight();
    ApplyRowHeights(moved);
    Invalidate();
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
    if (DefaultDrawing()) Canvas()->TextRect(rect, rect.Left + 2, rect.Top + 2, Cells(col, row));
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
