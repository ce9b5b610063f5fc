#include "platform/ui/string_grid.h"

#include "platform/ui/grid_detail.h"

using namespace grid_detail;

TStringGrid::TStringGrid(QWidget* parent) : TCustomGrid(parent) {}

TStringGrid::~TStringGrid() = default;

template <typename T>
const T* TStringGrid::FindItem(TCellBlocks<T> Column::*items, int col, int row) const
{
    if (col < 0 || row < 0 || col >= static_cast<int>(FColumns.size())) return nullptr;
    const int slot = FRowSlots.Slot(row);
    return slot == TRowSlots::None ? nullptr : (FColumns[col].*items).Find(slot);
}

template <typename T>
void TStringGrid::StoreItem(TCellBlocks<T> Column::*items, int col, int row, const T& value)
{
    if (col < 0 || row < 0) InvalidOp(kIndexOutOfRange);
    const bool empty = value == T();
    // Emptying what was never stored stores nothing: no column, slot or block for it.
    if (empty && !FindItem(items, col, row)) return;
    if (col >= static_cast<int>(FColumns.size())) FColumns.resize(col + 1);
    (FColumns[col].*items).At(FRowSlots.Claim(row)) = value;
    ++FStoreVersion;
    CellChanged(col, row);
}

QString TStringGrid::Cells(int col, int row) const
{
    const QString* s = FindItem(&Column::Texts, col, row);
    return s ? *s : QString();
}

void TStringGrid::SetCells(int col, int row, const QString& value)
{
    StoreItem(&Column::Texts, col, row, value);
}

TObject* TStringGrid::Objects(int col, int row) const
{
    TObject* const* o = FindItem(&Column::Objects, col, row);
    return o ? *o : nullptr;
}

void TStringGrid::SetObjects(int col, int row, TObject* value)
{
    StoreItem(&Column::Objects, col, row, value);
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
    FRowSlots.Insert(at, count);
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
    ++FStoreVersion;
    FRowSlots.Erase(at, count, [this](const std::vector<int>& freed) {
        for (Column& c : FColumns)
            for (int slot : freed) {
                c.Texts.Clear(slot);
                c.Objects.Clear(slot);
            }
    });
    // A store emptied by its rows leaving gives its blocks back.
    if (FRowSlots.InUse() == 0) {
        for (Column& c : FColumns) c = Column();
        FRowSlots.Reset();
    }
    RowSizesErased(at, count);
}

void TStringGrid::RowSizesErased(int at, int count)
{
    if (at < RowCount()) {
        const int n = RowCount();
        RowAxis().Erase(at, count);
        RowAxis().Insert(RowAxis().Count(), n - RowAxis().Count());
    }
    RowSizesMoved();
}

std::vector<int> TStringGrid::DetachStoreRows(int at, int count)
{
    if (at < 0 || count <= 0) return {};
    std::vector<int> kept = FRowSlots.Detach(at, count);
    RowSizesErased(at, count);
    return kept;
}

void TStringGrid::AttachStoreRow(int row, int slot)
{
    if (row >= 0 && slot != TRowSlots::None) FRowSlots.Attach(row, slot);
}

void TStringGrid::ReleaseStoreSlot(int slot)
{
    if (slot == TRowSlots::None) return;
    ++FStoreVersion;
    for (Column& c : FColumns) {
        c.Texts.Clear(slot);
        c.Objects.Clear(slot);
    }
    FRowSlots.Release(slot);
}

QString TStringGrid::SlotCell(int col, int slot) const
{
    if (col < 0 || slot < 0 || col >= static_cast<int>(FColumns.size())) return QString();
    const QString* s = FColumns[col].Texts.Find(slot);
    return s ? *s : QString();
}

void TStringGrid::SetSlotCell(int col, int slot, const QString& value)
{
    if (col < 0 || slot < 0) InvalidOp(kIndexOutOfRange);
    if (col >= static_cast<int>(FColumns.size())) FColumns.resize(col + 1);
    FColumns[col].Texts.At(slot) = value;
    ++FStoreVersion;
}

TObject* TStringGrid::SlotObject(int col, int slot) const
{
    if (col < 0 || slot < 0 || col >= static_cast<int>(FColumns.size())) return nullptr;
    TObject* const* o = FColumns[col].Objects.Find(slot);
    return o ? *o : nullptr;
}

void TStringGrid::SetSlotObject(int col, int slot, TObject* value)
{
    if (col < 0 || slot < 0) InvalidOp(kIndexOutOfRange);
    if (col >= static_cast<int>(FColumns.size())) FColumns.resize(col + 1);
    FColumns[col].Objects.At(slot) = value;
    ++FStoreVersion;
}

void TStringGrid::ReorderStoreRows(const std::vector<int>& order)
{
    FRowSlots.Reorder(order);
    if (RowAxis().HasSizes() && int(order.size()) <= RowCount()) {
        std::vector<int> all(order);
        for (int r = int(order.size()); r < RowCount(); ++r) all.push_back(r);
        RowAxis().Reorder(all);
    }
    RowSizesMoved();
}

void TStringGrid::InsertStoreCols(int at, int count)
{
    if (at < 0 || count <= 0 || at >= static_cast<int>(FColumns.size())) return;
    ++FStoreVersion;
    std::vector<Column> fresh(static_cast<size_t>(count));
    FColumns.insert(FColumns.begin() + at, std::make_move_iterator(fresh.begin()), std::make_move_iterator(fresh.end()));
    Invalidate();
}

void TStringGrid::EraseStoreCols(int at, int count)
{
    const int n = static_cast<int>(FColumns.size());
    if (at < 0 || count <= 0 || at >= n) return;
    ++FStoreVersion;
    FColumns.erase(FColumns.begin() + at, FColumns.begin() + std::min(n, at + count));
    Invalidate();
}

void TStringGrid::SwapStoreRows(int a, int b)
{
    if (a < 0 || b < 0 || a == b) return;
    FRowSlots.Swap(a, b);
    if (a < RowCount() && b < RowCount()) {
        const int ha = RowAxis().Size(a), hb = RowAxis().Size(b);
        if (ha != hb) {
            RowAxis().SetSize(a, hb);
            RowAxis().SetSize(b, ha);
            RowHeightsChanged();
        }
    }
    InvalidateRow(a);
    InvalidateRow(b);
}

void TStringGrid::SwapStoreCols(int a, int b)
{
    if (a < 0 || b < 0 || a == b) return;
    const size_t need = static_cast<size_t>(std::max(a, b)) + 1;
    if (FColumns.size() < need) FColumns.resize(need);
    ++FStoreVersion;
    std::swap(FColumns[static_cast<size_t>(a)], FColumns[static_cast<size_t>(b)]);
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
    FRowSlots.Move(fromIndex, toIndex);
    if (OnRowMoved) OnRowMoved(this, fromIndex, toIndex);
}
