#pragma once
#include "platform/ui/cell_blocks.h"
#include "platform/ui/custom_grid.h"

// A grid with a text and an object per cell.  Rows map to storage slots shared by all
// columns, and each column keeps its cells by slot; cells beyond the current counts keep
// their contents, so lowering a count and raising it again shows them again.  Reading a cell
// that was never written gives an empty text.
class TStringGrid : public TCustomGrid {
public:
    explicit TStringGrid(QWidget* parent = nullptr);
    ~TStringGrid() override;
    QString ClassName() const override { return QStringLiteral("TStringGrid"); }

    virtual QString Cells(int col, int row) const;
    virtual void SetCells(int col, int row, const QString& value);
    TObject* Objects(int col, int row) const;
    void SetObjects(int col, int row, TObject* value);
    QStringList Cols(int col) const;
    void SetCols(int col, const QStringList& texts);
    QStringList Rows(int row) const;
    void SetRows(int row, const QStringList& texts);

    // Row structure in bulk: the texts and objects of every stored column (also those beyond
    // ColCount, and rows beyond RowCount) move together with their rows' slots, and the row
    // heights within RowCount move with them.  Objects are moved or dropped, never freed.  RowCount
    // is the caller's: raise it before inserting, lower it after erasing.
    // `count` empty rows of the default height at `at`; the rows from there move down.
    void InsertStoreRows(int at, int count);
    // Rows [at, at + count) leave; the rows after them move up.
    void EraseStoreRows(int at, int count);
    // Row i takes what row order[i] held, for i < order.size() (a permutation of those rows,
    // no more than RowCount of them).
    void ReorderStoreRows(const std::vector<int>& order);
    // Columns in bulk, likewise: the cells of every stored column move with their columns.
    // `count` empty columns at `at`; the columns from there move right.  The widths of the
    // columns within ColCount are the caller's.
    void InsertStoreCols(int at, int count);
    // Columns [at, at + count) leave (objects dropped, never freed); the columns after move left.
    void EraseStoreCols(int at, int count);
    // Two rows exchange their cells and, within RowCount, their heights; two columns their
    // cells (widths are the caller's).
    void SwapStoreRows(int a, int b);
    // Rows [at, at + count) leave like EraseStoreRows, but their cells stay in the store under
    // the slots handed back in row order, reachable by slot (every column's, also columns
    // inserted, erased or moved later) until AttachStoreRow gives the slot to a row again or
    // ReleaseStoreSlot empties it (objects dropped, never freed).
    std::vector<int> DetachStoreRows(int at, int count);
    // A row without a slot (an empty row just inserted) takes a detached slot.
    void AttachStoreRow(int row, int slot);
    void ReleaseStoreSlot(int slot);
    int StoredColumns() const { return static_cast<int>(FColumns.size()); }
    QString SlotCell(int col, int slot) const;
    void SetSlotCell(int col, int slot, const QString& value);
    TObject* SlotObject(int col, int slot) const;
    void SetSlotObject(int col, int slot, TObject* value);
    void SwapStoreCols(int a, int b);
    // Changes whenever a stored text or object is written or dropped (not when rows only
    // move), so that what is derived from the cells can be kept until then.
    quint64 StoreVersion() const { return FStoreVersion; }

    QString GetEditText(int col, int row) override;
    void SetEditText(int col, int row, const QString& value) override;

    std::function<void(TObject*, int col, int row, QString& value)> OnGetEditText;
    std::function<void(TObject*, int col, int row, const QString& value)> OnSetEditText;
    std::function<void(TObject*, int col, int row, const TRect& rect, TGridDrawState state)> OnDrawCell;
    std::function<void(TObject*, int col, int row, bool& canSelect)> OnSelectCell;
    std::function<void(TObject*, int fromIndex, int toIndex)> OnColumnMoved;
    std::function<void(TObject*, int fromIndex, int toIndex)> OnRowMoved;

protected:
    // Calls f(col, row, object) for every stored object from row `fromRow` on, column by
    // column, each in row order.
    template <typename F>
    void ForEachStoredObject(int fromRow, F f)
    {
        for (size_t c = 0; c < FColumns.size(); ++c) {
            TCellBlocks<TObject*>& objects = FColumns[c].Objects;
            if (objects.Empty()) continue;
            FRowSlots.ForEach(fromRow, [&](int row, int slot) {
                if (TObject** o = objects.Find(slot); o && *o) f(int(c), row, *o);
            });
        }
    }
    void DrawCell(int col, int row, const TRect& rect, TGridDrawState state) override;
    bool SelectCell(int col, int row) override;
    void ColumnMoved(int fromIndex, int toIndex) override;
    void RowMoved(int fromIndex, int toIndex) override;

private:
    // A column's cells by slot.
    struct Column {
        TCellBlocks<QString> Texts;
        TCellBlocks<TObject*> Objects;
    };
    template <typename T>
    const T* FindItem(TCellBlocks<T> Column::*items, int col, int row) const;
    template <typename T>
    void StoreItem(TCellBlocks<T> Column::*items, int col, int row, const T& value);
    void CellChanged(int col, int row);
    // After the row axis changed in bulk: scroll range and paint, once.
    void RowSizesMoved();
    // The heights of rows [at, at + count) leave, the rows after them move up.
    void RowSizesErased(int at, int count);
    std::vector<Column> FColumns;
    TRowSlots FRowSlots;
    quint64 FStoreVersion = 0;
};
