#pragma once
// The grid's cell store on the platform string grid.  A cell's text stays in the base
// matrix; everything else about the cell lives in one TCellProperties held in the base's
// object matrix and made on first use, so a grid of plain texts carries no per-cell objects.
// Merged blocks live entirely in the spans of those properties.
#include "grid/base/cell_properties.h"
#include "grid/base/grid_error.h"
#include "grid/base/undo_redo.h"
#include "platform/ui/string_grid.h"

enum TGridSelectionStyle { ssDefault, ssVista, ssWin7, ssOffice2007 };
enum THoverRowCell { hcNormal, hcFixed, hcSelected };
using THoverRowCells = TSet<THoverRowCell>;

using TGetDisplTextEvent = std::function<void(TObject* Sender, int ACol, int ARow, QString& Value)>;
using TGetDisplWideTextEvent = std::function<void(TObject* Sender, int ACol, int ARow, QString& Value)>;

class TBaseGrid : public TStringGrid {
    friend class TCellProperties;

public:
    explicit TBaseGrid(QWidget* AOwner = nullptr);
    ~TBaseGrid() override;
    QString ClassName() const override { return QStringLiteral("TBaseGrid"); }

    // ---- cell access: Cells of the grid; real column, present row ----
    QString GetCellEx(int ACol, int ARow);
    void SetCellEx(int ACol, int ARow, const QString& Value);
    // Reading a cell runs the display-text hooks, which may change the grid.
    QString Cells(int ACol, int ARow) const override { return const_cast<TBaseGrid*>(this)->GetCellEx(ACol, ARow); }
    void SetCells(int ACol, int ARow, const QString& Value) override { SetCellEx(ACol, ARow, Value); }

    bool HasCellProperties(int ACol, int ARow) const;
    TCellProperties* GetCellProperties(int ACol, int ARow);
    void SetCellProperties(int ACol, int ARow, TCellProperties* Value);
    TObject* GetObjectEx(int ACol, int ARow);
    void SetObjectEx(int ACol, int ARow, TObject* Value);
    TObject* GetGraphicObjectEx(int ACol, int ARow);
    void SetGraphicObjectEx(int ACol, int ARow, TObject* Value);
    TObject* CellPropsGraphic(TCellProperties* Props) const { return Props ? Props->GraphicObject() : nullptr; }

    // The raw base matrix: no merge redirection, no hooks, no repaint of their own.
    QString GetGridCell(int ACol, int ARow) { return TStringGrid::Cells(ACol, ARow); }
    void SetGridCell(int ACol, int ARow, const QString& Value) { TStringGrid::SetCells(ACol, ARow, Value); }
    TObject* GetGridObject(int ACol, int ARow) { return TStringGrid::Objects(ACol, ARow); }
    void SetGridObject(int ACol, int ARow, TObject* Value) { TStringGrid::SetObjects(ACol, ARow, Value); }

    void RepaintCell(int ACol, int ARow);
    void FreePropRect(int FromCol, int FromRow, int ToCol, int ToRow);
    void FreeCellProperties(int ACol, int ARow);
    void FreeAllProps();
    void WipeRow(int ARow);
    void WipeCol(int ACol);
    void WipeCell(int ACol, int ARow);

    // ---- merged cells ----
    virtual void MergeCells(int c, int r, int spanx, int spany);
    virtual void SplitCells(int c, int r);
    TPoint BaseCell(int ACol, int ARow);
    bool IsBaseCell(int ACol, int ARow);
    bool ResolveBaseCell(int ACol, int ARow, int& BaseCol, int& BaseRow);
    bool IsMergedCell(int ACol, int ARow);
    bool IsMergedNonBaseCell(int ACol, int ARow);
    bool IsXMergedCell(int ACol, int ARow);
    bool IsYMergedCell(int ACol, int ARow);
    TPoint CellSpan(int ACol, int ARow);
    TPoint CellExt(int ACol, int ARow);
    TRect FullCell(int ACol, int ARow);
    // The cell's rectangle, or its whole block's for a merged cell; ACol is a display column.
    TRect CellRect(int ACol, int ARow) const override;
    TPoint CellSize(int ACol, int ARow);
    int MinRowSpan(int ARow);
    int MaxRowSpan(int ARow);
    bool RowSpanIdentical(int ARow1, int ARow2);
    bool ColSpanIdentical(int ACol1, int ACol2);
    void SnapToBaseCell();
    int MergeCount() const { return FMergeCount; }
    // Merged blocks across row structure changes.  The blocks are collected before the rows
    // move (old row indexes) and re-spanned afterwards, given where each old row went (-1 when
    // it left the store): a block then covers its surviving rows and the rows inserted between
    // them.  Blocks the change does not cut keep their spans, which are relative to the base.
    struct TRowMerge {
        int Col, Row, Width, Height;
    };
    std::vector<TRowMerge> MergesCutByRemoval(int ARow, int ACount);
    std::vector<TRowMerge> MergesCutByInsertion(int ARow);
    void RespanMerges(const std::vector<TRowMerge>& Blocks, const std::function<int(int)>& NewRow);

    // ---- grid-wide settings ----
    // The grid draws its own cells and lines: these are its settings, while the base's own
    // drawing stays off and its line width 0.
    bool DefaultDrawing() const override { return FDefaultDrawing; }
    void SetDefaultDrawing(bool v) override;
    int GridLineWidth() const override { return FGridLineWidth; }
    void SetGridLineWidth(int v) override;
    TColor GridLineColor() const { return FGridLineColor; }
    void SetGridLineColor(TColor v);
    TColor GridFixedLineColor() const { return FGridFixedLineColor; }
    void SetGridFixedLineColor(TColor v);
    int PaintID() const { return FPaintID; }
    bool HideLastRow() const { return FHideLastRow; }
    void SetHideLastRow(bool v) { FHideLastRow = v; }
    int NormalRowCount() const { return FNormalRowCount; }
    void SetNormalRowCount(int v) { FNormalRowCount = v; }
    ROdeVivaZedaDure* UndoRedo() const { return FUndoRedo.data(); }
    void SetUndoRedo(ROdeVivaZedaDure* v);
    virtual bool WordWrap() const { return FWordWrap; }
    virtual void SetWordWrap(bool v) { FWordWrap = v; }
    bool ActiveRowShow() const { return FActiveRowShow; }
    void SetActiveRowShow(bool v);
    TColor ActiveRowColor() const { return FActiveRowColor; }
    void SetActiveRowColor(TColor v);
    TColor ActiveRowColorTo() const { return FActiveRowColorTo; }
    void SetActiveRowColorTo(TColor v);
    TColor ActiveRowMirrorColor() const { return FActiveRowMirrorColor; }
    void SetActiveRowMirrorColor(TColor v);
    TColor ActiveRowMirrorColorTo() const { return FActiveRowMirrorColorTo; }
    void SetActiveRowMirrorColorTo(TColor v);
    TGridSelectionStyle SelectionStyle() const { return FSelectionStyle; }
    void SetSelectionStyle(TGridSelectionStyle v);
    int HoverRowIdx() const { return FHoverRowIdx; }
    void SetHoverRowIdx(int v) { FHoverRowIdx = v; }
    bool HoverRow() const { return FHoverRow; }
    void SetHoverRow(bool v) { FHoverRow = v; }
    THoverRowCells HoverRowCells() const { return FHoverRowCells; }
    void SetHoverRowCells(THoverRowCells v) { FHoverRowCells = v; }
    TColor HoverRowColor() const { return FHoverRowColor; }
    void SetHoverRowColor(TColor v) { FHoverRowColor = v; }
    TColor HoverRowColorTo() const { return FHoverRowColorTo; }
    void SetHoverRowColorTo(TColor v) { FHoverRowColorTo = v; }
    bool ShowSel() const { return FShowSel; }
    bool HasCellProps() const { return FHasCellProps; }

    TGetDisplTextEvent OnGetDisplText;
    TGetDisplWideTextEvent OnGetDisplWideText;

    // ---- virtual hooks, filled in by the string grid ----
    virtual bool IsFixed(int ACol, int ARow);
    virtual int GetRowIndent(int ARow);
    virtual bool HasNodes();
    virtual void DrawCellContent(TCanvas* Canvas, int ACol, int ARow, TRect Rect, TGridDrawState State);
    // A cell painted on any canvas, merged blocks honoured; PaintCellExt paints the rectangle
    // given, without merge handling and content, a selected cell in the active row colours.
    void PaintCell(TCanvas* ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState AState);
    void PaintCellExt(TCanvas* ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState AState);
    virtual void LastRowChanged();
    virtual void GetDisplText(int ACol, int ARow, QString& Value);
    virtual void GetDisplWideText(int ACol, int ARow, QString& Value);
    virtual void GetCellDefaults(int ACol, int ARow, TFont* AFont, TBrush* ABrush, TColor& AColorTo,
                                 TColor& AMirrorColor, TColor& AMirrorColorTo, TAlignment& HA, TVAlignment& VA,
                                 bool& WW, TCellGradientDirection& GD);
    virtual void CellTextChanged(int ACol, int ARow);
    virtual bool HasCellBorders();
    virtual bool IsVCLStyled();
    virtual void GetVisualProperties(int ACol, int ARow, TGridDrawState& AState, bool Print, bool Select,
                                     bool Remap, TBrush* ABrush, TColor& AColorTo, TColor& AMirrorColor,
                                     TColor& AMirrorColorTo, TFont* AFont, TAlignment& HA, TVAlignment& VA,
                                     bool& WW, TCellGradientDirection& GD);
    // Between the columns the store is indexed by (real) and the columns as they show
    // (display); the same while no column is hidden.
    virtual int DisplColIndex(int ACol) const;
    virtual int RealColIndex(int ACol) const { return ACol; }
    virtual int TotalColCount() const;

protected:
    // Cell selection and keys over merged blocks.
    bool SelectCell(int ACol, int ARow) override;
    void KeyDown(int& Key, TShiftState Shift) override;
    virtual bool CanSelectCell(int ACol, int ARow);
    virtual void HandleKeyDown(int& Key, TShiftState Shift);
    // Cell painting: the frame common to all cells, then the content hook.
    void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
    virtual void PaintGridCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState);
    // The frame common to all cells: merged blocks once per pass, background, the grid's
    // own lines, then the content hook.
    void DoPaintCell(TCanvas* Canvas, int ACol, int ARow, TRect Rect, TGridDrawState State, bool UseMerge);
    // Part of a selection box a cell of column ACol draws: 1 left end, 2 right end, 3 middle,
    // 0 a single column.
    int SelectionBoxPart(int ACol) const;
    int FixedColsWidth();
    int FixedRowsHeight();
    void Paint() override;
    // After a scroll merged fixed cells are drawn again whole.
    void TopLeftChanged() override;
    void RepaintMergedFixedCols();
    void RepaintMergedFixedRows();
    bool DoMouseWheelDown(TShiftState Shift, const TPoint& MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, const TPoint& MousePos) override;

    bool FDefaultDrawing = false;
    int FGridLineWidth = 1;
    TColor FGridLineColor = 0xC0C0C0;
    TColor FGridFixedLineColor = 0x808080;
    int FPaintID = 1;
    bool FHideLastRow = false;
    int FNormalRowCount = 0;
    // Cleared by itself when the undo component goes away.
    QPointer<ROdeVivaZedaDure> FUndoRedo;
    bool FWordWrap = true;
    bool FActiveRowShow = false;
    TColor FActiveRowColor = clInfoBk;
    TColor FActiveRowColorTo = clNone;
    TColor FActiveRowMirrorColor = clNone;
    TColor FActiveRowMirrorColorTo = clNone;
    TGridSelectionStyle FSelectionStyle = ssDefault;
    int FHoverRowIdx = -1;
    bool FHoverRow = false;
    THoverRowCells FHoverRowCells = {hcNormal, hcSelected};
    TColor FHoverRowColor = clInfoBk;
    TColor FHoverRowColorTo = clNone;
    bool FShowSel = true;
    bool FHasCellProps = false;
    int FMergeCount = 0;
    // Extent of the cells that ever got properties (they may lie beyond lowered counts).
    int FPropsCols = 0;
    int FPropsRows = 0;

    // Links the undo component to this grid.
    virtual void AttachUndoRedo(ROdeVivaZedaDure* v);

private:
    TCellProperties* PropsOf(int ACol, int ARow) const;
    // Writes the spans of a block of AWidth x AHeight cells whose base cell is (ACol, ARow).
    void SetBlockSpans(int ACol, int ARow, int AWidth, int AHeight);
    void CollectRowMerges(int ARow, int ACount, bool CoveredAboveOnly, std::vector<TRowMerge>& Blocks);
    TCellProperties* MakeCellProperties(int ACol, int ARow, bool ResetCalc);
    void SetColourAndInvalidate(TColor& field, TColor v);
};
