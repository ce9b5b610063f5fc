#pragma once
#include "platform/ui/cell_blocks.h"
#include "platform/ui/custom_grid.h"

// A grid with a text and an object per cell.  Cells are kept per column in plain vectors;
// cells beyond the current counts keep their contents, so lowering a count and raising it
// again shows them again.  Reading a cell that was never written gives an empty text.
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

    QString GetEditText(int col, int row) override;
    void SetEditText(int col, int row, const QString& value) override;

    std::function<void(TObject*, int col, int row, QString& value)> OnGetEditText;
    std::function<void(TObject*, int col, int row, const QString& value)> OnSetEditText;
    std::function<void(TObject*, int col, int row, const TRect& rect, TGridDrawState state)> OnDrawCell;
    std::function<void(TObject*, int col, int row, bool& canSelect)> OnSelectCell;
    std::function<void(TObject*, int fromIndex, int toIndex)> OnColumnMoved;
    std::function<void(TObject*, int fromIndex, int toIndex)> OnRowMoved;

protected:
    void DrawCell(int col, int row, const TRect& rect, TGridDrawState state) override;
    bool SelectCell(int col, int row) override;
    void ColumnMoved(int fromIndex, int toIndex) override;
    void RowMoved(int fromIndex, int toIndex) override;

private:
    struct Column {
        TCellBlocks<QString> Texts;
        TCellBlocks<TObject*> Objects;
    };
    void CellChanged(int col, int row);
    std::vector<Column> FColumns;
};
