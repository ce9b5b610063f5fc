#pragma once
// The string grid: the cell store with typed columns, hidden columns and rows, fixed areas
// and footers, and the owned settings objects and editor controls.  Index spaces: Cells takes
// a real column and a present row; Col, LeftCol, ColWidths are display columns.
#include "grid/base/base_grid.h"
#include "grid/base/cell_checker.h"
#include "grid/base/drawing_routines.h"
#include "grid/base/pictures.h"
#include "grid/control/cell_graphic.h"
#include "grid/control/grid_child_windows.h"
#include "grid/control/grid_editor_widgets.h"
#include "grid/control/grid_item.h"
#include "grid/control/grid_look_settings.h"
#include "grid/control/grid_services.h"
#include "grid/control/grid_settings_objects.h"
#include "grid/control/on_demand.h"
#include "grid/data/find_types.h"
#include "grid/data/print_device.h"
#include "platform/core/dateutils.h"
#include "platform/ui/forms.h"
#include "platform/ui/picture.h"

#include <QDialog>
#include <QIODevice>
#include <QPointer>
#include <QTimer>
#include <array>
#include <unordered_map>
#include <memory>

class TGridFocusWindow;
class QTextEdit;
class TProInplaceEdit;
class TEditLink;
class TProRichEdit;
class TBalloonToolTip;
// spin, date and edit-button editors
class TGridEditorHost;
class TGridSpin;
class TGridDatePicker;
class TGridDateTimePicker;
class TGridDropDownEditor;
class TGridTrackbarDropDown;
class TGridMemoDropDown;
class TGridCalculatorDropDown;
class TGridTimepickerDropDown;
class TGridColorDropDown;
class TGridImageDropDown;
class TGridDetailPickerDropDown;
class TGridGridDropDown;
class TGridProGridDropDown;
class TProCustomDropDown;
template <class TControl> class TGridDropDown;
class QMimeData;
class QDrag;
struct TCellStream;
class TPopupMenu;
struct TCellPaintContext;
struct THtmlRenderArgs;

enum TGridLook { glStandard, glSoft, glClassic, glZUZ, glXP, glListView, glVista, glWin7, glOffice2007, glCustom };
// The grid's own styles, one for each component style of the same position.
enum TProGridStyle {
    gsOffice2003Blue, gsOffice2003Silver, gsOffice2003Olive, gsOffice2003Classic, gsOffice2007Luna,
    gsOffice2007Obsidian, gsWindowsXP, gsWhidbey, gsCustom, gsOffice2007Silver, gsWindowsVista,
    gsWindows7, gsTerminal, gsOffice2010Blue, gsOffice2010Silver, gsOffice2010Black
};
enum TXPColorScheme { xpNone, xpBlue, xpGreen, xpGray, vistaAero };
enum TScrollType { ssNormal, ssFlat, ssEncarta, ssMetro };
enum TScrollHintType { shNone, shVertical, shHorizontal, shBoth };
enum TScrollBarAlways { saNone, saVert, saHorz, saBoth };
enum TIntelliPan { ipVertical, ipHorizontal, ipBoth, ipNone };
enum TDragScrollDirectionItem { dsdUp, dsdDown, dsdLeft, dsdRight };
using TDragScrollDirection = TSet<TDragScrollDirectionItem>;
enum THoverFixedCells { hfNone, hfFixedRows, hfFixedColumns, hfAll };
enum THintShowLargeTextPos { hpCell, hpMouse };
enum TInvalidEntryIcon { ieNone, ieInfo, ieWarning, ieError };
enum TMouseSelectMode { msNormal, msColumn, msRow, msAll, msURL, msResize };

using TRowChangedEvent = std::function<void(TObject* Sender, int OldRow, int NewRow)>;
using TGetEditMaskEvent = std::function<void(TObject* Sender, int ACol, int ARow, QString& Value)>;
using TButtonClickEvent = std::function<void(TObject* Sender, int ACol, int ARow)>;
using TUnitChangedEvent = std::function<void(TObject* Sender, int ACol, int ARow, const QString& NewUnit)>;

// Sides of a cell that get a border line.
enum TCellBorder { cbTop, cbLeft, cbRight, cbBottom };
using TCellBorders = TSet<TCellBorder>;

// Per-cell decision events: the argument order follows each event's published type.
using TGridHintEvent = std::function<void(TObject* Sender, int ARow, int ACol, QString& HintStr)>;
using TGetCellColorEvent =
    std::function<void(TObject* Sender, int ARow, int ACol, TGridDrawState AState, TBrush* ABrush, TFont* AFont)>;
using TGetCellBorderEvent = std::function<void(TObject* Sender, int ARow, int ACol, TPen* APen, TCellBorders& Borders)>;
using TGetAlignmentEvent =
    std::function<void(TObject* Sender, int ARow, int ACol, TAlignment& HAlign, TVAlignment& VAlign)>;
using TGetFormatEvent =
    std::function<void(TObject* Sender, int ACol, TSortStyle& AStyle, QString& aPrefix, QString& aSuffix)>;
using TGetEditorTypeEvent = std::function<void(TObject* Sender, int ACol, int ARow, TEditorType& AEditor)>;
using TCellBoolRowColEvent = std::function<void(TObject* Sender, int ARow, int ACol, bool& Value)>;
using TCellBoolColRowEvent = std::function<void(TObject* Sender, int ACol, int ARow, bool& Value)>;
using TGetCheckEvent = std::function<void(TObject* Sender, int ACol, int ARow, QString& Value)>;
using TGetColumnFilterEvent = std::function<void(TObject* Sender, int Column, TGridStrings* Filter)>;
using TFilterSelectEvent =
    std::function<void(TObject* Sender, int Column, int ItemIndex, const QString& FriendlyName, QString& FilterCondition)>;
using TFilterCheckEvent = std::function<void(TObject* Sender, int Column, int ItemIndex, const QString& FriendlyName,
                                             QString& FilterCondition, TDropCheckList* CheckList)>;
using TFixedDropDownClickEvent =
    std::function<void(TObject* Sender, int ACol, int ARow, TPopupMenu*& AMenu, bool& KeepFixedCellHighlighted)>;
using TCheckBoxClickEvent = std::function<void(TObject* Sender, int ACol, int ARow, bool State)>;
using TRadioClickEvent = std::function<void(TObject* Sender, int ACol, int ARow, int AIdx)>;
using TRadioButtonClickEvent = std::function<void(TObject* Sender, int ACol, int ARow)>;
using TGetFloatFormatEvent =
    std::function<void(TObject* Sender, int ACol, int ARow, bool& IsFloat, QString& FloatFormat)>;

// The entry of a cell in the disjunct cell selection: (row shl 16) or column.
int CellKey(int ACol, int ARow);

class TAxisShift;
class TGridSelection;

// A pop-up form that never becomes the active window and lets clicks pass.
class TNoActiveForm : public TForm {
public:
    explicit TNoActiveForm(QWidget* AOwner);
};

// A selection listener of the grid; the grid keeps one at a time.
class ITProStringGridSelect {
public:
    virtual ~ITProStringGridSelect() = default;
};

class QPrinter;
class QPainter;

class TProStringGrid : public TBaseGrid {
public:
    // The number of real columns whose visibility and remembered width the grid keeps.
    static constexpr int MaxColumns = 513;

    // Designing: the grid is placed in a form designer (no editor controls, no focus window).
    explicit TProStringGrid(QWidget* AOwner = nullptr, bool Designing = false);
    ~TProStringGrid() override;
    QString ClassName() const override { return QStringLiteral("TProStringGrid"); }

    // Tears the grid down while its most derived class still exists; destructors of derived
    // grids call it first so that their overrides take part.  Runs once.
    void Teardown();

    // ---- lifecycle ----
    void CreateWnd() override;
    void AfterConstruction() override;
    void BeforeDestruction() override;
    virtual void Loaded();
    bool IsLoaded() const { return FLoaded; }
    bool Loading() const { return FLoading; }
    void SetLoading(bool v) { FLoading = v; }
    bool Designing() const { return FDesigning; }
    // Copies another string grid; any other source changes nothing.
    virtual void Assign(const TObject* Source);
    virtual void AssignCells(const TObject* Source);

    // ---- dimensions ----
    // The platform's counts and positions with this grid's rules on top; RowCount, ColCount,
    // Col, Row and TopRow read as the platform holds them.
    void SetRowCount(int Value) override;
    void SetColCount(int Value) override;
    int FixedRows() const override;
    void SetFixedRows(int Value) override;
    int FixedCols() const override;
    void SetFixedCols(int Value) override;
    void SetCol(int Value) override;
    int GetRowEx() const { return TStringGrid::Row(); }
    void SetRowEx(int Value);
    void SetRow(int Value) override { SetRowEx(Value); }
    int GetTopRowEx() const { return TStringGrid::TopRow(); }
    void SetTopRowEx(int Value);
    void SetTopRow(int Value) override { SetTopRowEx(Value); }
    int GetRealCol() { return DisplToRealColumn(Col()); }
    int GetRealRow() { return DisplToRealRow(Row()); }
    void SetDefaultRowHeight(int Value) override;
    int FixedRowHeight() const { return FFixedRowHeight; }
    void SetFixedRowHeight(int Value);
    int FixedColWidth() const { return ColWidths(0); }
    void SetFixedColWidth(int Value);
    int FixedFooters() const { return FFixedFooters; }
    void SetFixedFooters(int Value);
    int FixedRightCols() const { return FFixedRightCols; }
    void SetFixedRightCols(int Value);
    bool FixedRowAlways() const { return FFixedRowAlways; }
    bool AutoFilterUpdate() const { return FAutoFilterUpdate; }
    void SetAutoFilterUpdate(bool v) { FAutoFilterUpdate = v; }
    void SetFixedRowAlways(bool v) { FFixedRowAlways = v; }
    bool FixedColAlways() const { return FFixedColAlways; }
    void SetFixedColAlways(bool v) { FFixedColAlways = v; }
    int FixedRowsMin() const { return FFixedRowsMin; }
    int FixedColsMin() const { return FFixedColsMin; }
    int MaxRowCount() const { return FMaxRowCount; }
    int MaxColCount() const { return FMaxColCount; }
    TAlignment DefaultAlignment() const { return FDefaultAlignment; }
    void SetDefaultAlignment(TAlignment v);
    bool WordWrap() const override { return FWordWrapEx; }
    void SetWordWrap(bool Value) override;
    int AllRowCount() { return TotalRowCount(); }
    int TotalRowCount() { return RowCount() + HiddenRowCount(); }
    int AllColCount() { return TotalColCount(); }
    int TotalColCount() const override { return ColCount() + FNumHidden; }
    int NumHiddenColumns() const { return FNumHidden; }
    int HiddenRowCount() const { return int(FGridItems.size()); }

    int SaveStartCol() const;
    int SaveStartRow() const;
    int SaveEndCol() const;
    int SaveEndRow() const;
    int SaveColCount() const;
    int SaveRowCount() const;
    bool SaveFixedCells() const { return FSaveFixedCells; }
    void SetSaveFixedCells(bool v) { FSaveFixedCells = v; }
    bool SaveFixedRows() const { return FSaveFixedRows; }
    void SetSaveFixedRows(bool v) { FSaveFixedRows = v; }
    bool SaveFixedCols() const { return FSaveFixedCols; }
    void SetSaveFixedCols(bool v) { FSaveFixedCols = v; }

    void ScrollInView(int ColIndex, int RowIndex);
    void HideSelection();
    void UnHideSelection();
    bool SelectionHidden() const { return FSelHidden; }
    void MoveColumn(int FromIndex, int ToIndex) override;
    void MoveRow(int FromIndex, int ToIndex) override;
    void MoveRows(int FromIndex, int ToIndex, int Count);
    void UpdateEditMode();
    void ScreenToCell(QPoint pt, int& ACol, int& ARow);

    // ---- index mapping ----
    // Visibility and remembered width of a real column; a column outside the kept range
    // raises "Invalid column accessed".
    bool VisibleCol(int RealCol) const;
    void SetVisibleCol(int RealCol, bool Visible);
    int AllColWidths(int RealCol) const;
    void SetAllColWidths(int RealCol, int Width);
    int RealToDisplColumn(int ACol) const;
    int DisplToRealColumn(int ACol) const;
    int DisplToRealRow(int ARow) const;
    int RealToDisplRow(int ARow) const;

    // ---- cell defaults ----
    QString FloatFormat() const { return FFloatFormat; }
    void SetFloatFormat(const QString& v) { FFloatFormat = v; }
    QString CheckTrue() const { return FCheckTrue; }
    void SetCheckTrue(const QString& v) { FCheckTrue = v; }
    QString CheckFalse() const { return FCheckFalse; }
    void SetCheckFalse(const QString& v) { FCheckFalse = v; }
    QString EditMask() const { return FEditMask; }
    void SetEditMask(const QString& v) { FEditMask = v; }
    QChar PasswordChar() const { return FPasswordChar; }
    TEditorType DefaultEditor() const { return FDefaultEditor; }
    void SetDefaultEditor(TEditorType v) { FDefaultEditor = v; }
    TVAlignment VAlignment() const { return FVAlignment; }
    bool EnableHTML() const { return FEnableHTML; }
    TColor URLColor() const { return FURLColor; }
    // Mini-HTML cells: named pictures, the image list of "IDX:" sources, pictures loaded by reference.
    TPictureContainer* PictureContainer() const { return FPictureContainer; }
    void SetPictureContainer(TPictureContainer* v) { FPictureContainer = v; Invalidate(); }
    TCustomImageList* GridImages() const { return FGridImages; }
    void SetGridImages(TCustomImageList* v) { FGridImages = v; Invalidate(); }
    THTMLPictureCache* ImageCache() const { return FImageCache.get(); }
    TColor DisabledFontColor() const { return FDisabledFontColor; }
    bool UseDisabledFont() const { return FUseDisabledFont; }
    virtual QString GetEditMask(int ACol, int ARow);
    TFont* GetCellFont(int ACol, int ARow);

    // ---- looks ----
    TGridLook Look() const { return FLook; }
    void SetLook(TGridLook Value);
    TProStyle Style() const { return FStyle; }
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor v);
    TColor HintColor() const { return FHintColor; }
    TColor HighlightColor() const { return FHighlightColor; }
    TColor HighlightTextColor() const { return FHighLightTextColor; }
    TColor SelectionColor() const { return FSelectionColor; }
    TColor SelectionColorTo() const { return FSelectionColorTo; }
    TColor SelectionTextColor() const { return FSelectionTextColor; }
    int SelectionColorMixerFactor() const { return FSelectionColorMixerFactor; }
    bool ShowSelection() const { return FShowSelection; }
    TColor ActiveCellColor() const { return FActiveCellColor; }
    TColor ActiveCellColorTo() const { return FActiveCellColorTo; }
    bool ActiveCellShow() const { return FActiveCellShow; }
    void SetActiveCellShow(bool v) { FActiveCellShow = v; Invalidate(); }
    TFont* FixedFont() { return &FFixedFont; }
    TFont* ActiveCellFont() { return &FActiveCellFont; }
    TColor ProGradFrom() const { return FProGradFrom; }
    TColor ProGradTo() const { return FProGradTo; }
    TScrollType ScrollType() const { return FScrollType; }
    TColor ScrollColor() const { return FScrollColor; }
    int ScrollWidth() const { return FScrollWidth; }
    TScrollBarAlways ScrollBarAlways() const { return FScrollBarAlways; }
    TPoint XYOffset() const { return FXYOffset; }
    const TColorTones& Tones() const { return FTones; }
    bool IntegralHeight() const { return FIntegralHeight; }
    void SetIntegralHeight(bool v);
    bool AutoThemeAdapt() const { return FAutoThemeAdapt; }
    void SetAutoThemeAdapt(bool v);
    bool IsWinXP() const { return FIsWinXP; }
    bool IsWin7() const { return FIsWin7; }
    bool IsWinVista() const { return FIsWinVista; }
    bool IsComCtl6Grid() const { return FIsComCtl6; }

    // ---- owned objects ----
    TSearchFooter* SearchFooter() { return FSearchFooter.get(); }
    TNavigation* Navigation() { return FNavigation.get(); }
    TMouseActions* MouseActions() { return FMouseActions.get(); }
    TSyncGrid* SyncGrid() { return FSyncGrid.get(); }
    TBands* Bands() { return FBands.get(); }
    TFocusHelper* FocusHelper() { return FFocusHelper.get(); }
    TShowModified* ShowModified() { return FShowModified.get(); }
    TGridProgressAppearance* ProgressAppearance() { return FProgressAppearance.get(); }
    TPrintSettings* PrintSettings() { return FPrintSettings.get(); }
    THTMLSettings* HTMLSettings() { return FHTMLSettings.get(); }
    TSortSettings* SortSettings() { return FSortSettings.get(); }
    TDragDropSettings* DragDropSettings() { return FDragDropSettings.get(); }
    TDragScrollOptions* DragScrollOptions() { return FDragScrollOptions.get(); }
    TControlLook* ControlLook() { return FControlLook.get(); }
    TColumnSize* ColumnSize() { return FColumnSize.get(); }
    TCellNode* CellNode() { return FCellNode.get(); }
    TSizeWhileTyping* SizeWhileTyping() { return FSizeWhileTyping.get(); }
    TGrouping* Grouping() { return FGrouping.get(); }
    TGridStrings* ColumnHeaders() { return FColumnHeaders.get(); }
    TGridStrings* RowHeaders() { return FRowHeaders.get(); }
    TGridStrings* LookupItems() { return FLookupItems.get(); }
    TGridStrings* FilterList() { return FFilterList.get(); }
    TSortIndexList* SortIndexes() { return FSortIndexes.get(); }
    TFloatingFooter* FloatingFooter() { return FFloatingFooter.get(); }
    TFilter* Filter() { return FFilter.get(); }
    TFilterDropDown* FilterDropDown() { return FFilterDropDown.get(); }
    TBalloonSettings* BalloonSettings() { return FBalloonSettings.get(); }
    TBackGround* BackGround() { return FBackGround.get(); }
    TControlList* ControlList() { return FControlList.get(); }
    TIntList* ColumnOrder() { return FColumnOrder.get(); }
    TIntList* IgnoreColumns() { return FIgnoreColumns.get(); }
    TIntList* OrigColSizes() { return FOrigColSizes.get(); }
    TIntList* MergedColumns() { return FMergedColumns.get(); }
    TCellGraphic* CellGraphic() { return FCellGraphic.get(); }
    TFooterPanel* FooterPanel() const { return FFooterPanel; }
    TSearchPanel* SearchPanel() const { return FSearchPanel; }
    TDropList* DropList() const { return FDropList; }
    TDropCheckList* DropCheckList() const { return FDropCheckList; }
    TGridFocusWindow* FocusWindow() const { return FFocusWindow; }
    TGridCombo* EditComboControl() const { return EditCombo; }
    TProStringGridCheck* CellChecker() const { return FCellChecker; }
    void SetCellChecker(TProStringGridCheck* v) { FCellChecker = v; }
    std::vector<TGridItem*> GridItems() const;
    bool HasEditorControls() const { return EditCombo != nullptr; }
    // How many of the in-place editor controls exist yet (they are made on first use).
    int CreatedEditorControls() const;

    // ---- events ----
    TRowChangedEvent OnRowChanged;
    TNotifyEvent OnGridResize;
    TGetEditMaskEvent OnGetEditMask;
    TButtonClickEvent OnButtonClick;
    TUnitChangedEvent OnUnitChanged;
    TNotifyEvent OnFilterDone;

    // ---- properties, headers, listeners, zoom ----
    TColor SelectionMirrorColor() const { return FSelectionMirrorColor; }
    void SetSelectionMirrorColor(TColor v) { SetChanged(FSelectionMirrorColor, v); }
    TColor SelectionMirrorColorTo() const { return FSelectionMirrorColorTo; }
    void SetSelectionMirrorColorTo(TColor v) { SetChanged(FSelectionMirrorColorTo, v); }
    // Kept within 0 .. 100.
    void SetSelectionColorMixerFactor(int v);
    void SetHighlightColor(TColor v);
    void SetHighlightTextColor(TColor v);
    void SetVAlignment(TVAlignment v);
    uint32_t VAlignFlag() const { return FVAlign; }
    bool SpreadSheet() const { return FSpreadSheet; }
    void SetSpreadSheet(bool v);
    bool UseHTMLHints() const { return FUseHTMLHints; }
    void SetUseHTMLHints(bool v);
    TCursor GridCursor() const { return Cursor(); }
    void SetGridCursor(TCursor v);
    void UpdateXYOffset(int X, int Y) { FXYOffset = {X, Y}; }
    void SetActiveCellFont(const TFont& v) { FActiveCellFont.Assign(v); Invalidate(); }
    void SetFixedFont(const TFont& v) { FFixedFont.Assign(v); Invalidate(); }
    void SetLookupItems(const TGridStrings* v) { if (v) FLookupItems->Assign(v); }
    // The owned settings objects take a copy of the one given.
    void SetBackGround(const TPersistent* v) { FBackGround->Assign(v); Invalidate(); }
    void SetRowIndicator(const TBitmap& v) { FRowIndicator->Assign(v); RepaintCell(0, Row()); }
    void SetShowModified(const TPersistent* v) { FShowModified->Assign(v); }
    void SetBalloon(const TPersistent* v) { FBalloonSettings->Assign(v); }
    void SetProgressAppearance(const TPersistent* v) { FProgressAppearance->Assign(v); }
    void SetFocusHelper(const TPersistent* v) { FFocusHelper->Assign(v); }
    void SetDragScrollOptions(const TPersistent* v) { FDragScrollOptions->Assign(v); }
    void SetSortSettings(const TPersistent* v) { FSortSettings->Assign(v); }
    // The platform selection; with the active cell shown its headers follow.
    TGridRect GridSelection() const { return Selection(); }
    void SetGridSelection(const TGridRect& v);
    // "6.2.1.3" and the like: the four bytes of the version number.
    QString Version() const { return VersionText(GetVersionNr()); }
    static QString VersionText(int VersionNr);
    virtual int GetVersionNr() const { return 0x06020103; }
    virtual QString GetVersionString() const { return Version() + QStringLiteral(" Sep, 2012"); }
    void SetColumnHeaderList(const QStringList& v);
    void SetRowHeaderList(const QStringList& v);
    void ClearColumnHeaders();
    void ClearRowHeaders();
    void RegisterSelListener(std::shared_ptr<ITProStringGridSelect> AListener) { FISelect = std::move(AListener); }
    void UnRegisterSelListener(const std::shared_ptr<ITProStringGridSelect>&) { FISelect.reset(); }
    ITProStringGridSelect* SelListener() const { return FISelect.get(); }
    void RegisterNotifier(TObject* ANotifier);
    void UnRegisterNotifier(TObject* ANotifier);
    const std::vector<TObject*>& Notifiers() const { return FNotifierList; }
    // Widths and offsets of the last print layout.
    int GetPrintColWidth(int ACol) const;
    int GetPrintColOffset(int ACol) const;
    std::vector<int> MaxWidths;
    std::vector<int> Indents;
    bool IsOnSizingBorder(int X, int Y);
    void CalcSizingState(int X, int Y, TGridState& State, int& Index, int& SizingPos, int& SizingOfs,
                         const TGridDrawInfo& FixedInfo) override;
    void WMGetDlgCode(TMessage& m) override;
private:
    template <typename T> void SetChanged(T& Field, const T& Value)
    {
        if (Field == Value) return;
        Field = Value;
        Invalidate();
    }
    std::shared_ptr<ITProStringGridSelect> FISelect;
    bool FSpreadSheet = false;
    bool FUseHTMLHints = false;
public:

    // ---- what follows a scroll; key up; snapshot of a cell range ----
    void TopLeftChanged() override;
    void KeyUp(int& Key, TShiftState Shift) override;
    // A translucent picture of the cells of ARect in a window that never activates; the
    // caller shows, moves and frees it.
    TNoActiveForm* SelectionToForm(TGridRect ARect);
    virtual bool HasBackgroundPicture() const;

    // ---- floating footer and column calculations ----
    TFooterPaintEvent OnFooterPaint;
    TNotifyEvent OnCreatedFloatingFooter;
    TCalcFooterEvent OnCalcFooter;
    // Repaints the footer panel.
    void UpdateFooter();
    // Calculations over the rows FromRow .. ToRow of a real column; -1 for either bound means
    // the normal rows, without fixed and footer rows.
    double ColumnSum(int ACol, int FromRow, int ToRow);
    double ColumnAvg(int ACol, int FromRow, int ToRow);
    double ColumnMin(int ACol, int FromRow, int ToRow);
    double ColumnMax(int ACol, int FromRow, int ToRow);
    double ColumnStdDev(int ACol, int FromRow, int ToRow);
    double ColumnDistinct(int ACol, int FromRow, int ToRow);
    double ColumnCustomCalc(int ACol, int FromRow, int ToRow);
    std::function<void(TObject* Sender, int ACol, int FromRow, int ToRow, double& Res)> OnColumnCalc;
private:
    void UpdateFooterCell(int ACol, int Last, int First, int LastData, int HiddenRows);
public:

    // ---- hooks for the features built on this grid ----
    virtual void UpdateFloatingFooter(int ACol);
    virtual void CalcFooter(int ACol);
    virtual void ClearRect(int ACol1, int ARow1, int ACol2, int ARow2);
    virtual void UnHideColumnsAll();
    virtual void ExpandAll();
    virtual bool HasNodesHook() { return FNumNodes > 0; }
    virtual void RemoveRowsEx(int ARow, int ACount);
    virtual void InsertRows(int ARow, int ACount, bool UpdateCellControls);
    // Row and column structure: inserting, removing, appending and swapping rows and columns
    // with their texts, properties, sizes and flags.  Rows are display rows, columns real
    // columns unless said otherwise; an index outside the grid raises EInvalidGridOperation
    // before anything changes.
    virtual void RemoveRows(int RowIndex, int RCount);
    // Frees the removed rows' cell properties, then removes the rows and their cell controls.
    virtual void RemoveRowsHook(int ARow, int Count);
    void RemoveRowsInternal(int ARow, int Count, bool DoControls);
    void AddRow();
    void AddColumn();
    virtual void InsertCols(int ColIndex, int CCount);
    virtual void RemoveCols(int ColIndex, int CCount);
    void SwapRows(int ARow1, int ARow2);
    void SwapColumns(int ACol1, int ACol2);
    // The swap primitive of sorting (store rows).
    virtual void SortSwapRows(int ARow1, int ARow2);
    // Exchanges the raw texts and objects of two cells.
    void SwapCells(TGridCoord FromCell, TGridCoord ToCell);
    void RemoveNormalRow(int ARow);
    // ARow is a real row; hidden rows below it keep their places.
    void InsertNormalRow(int ARow);
    void RemoveCheckedRows(int CheckBoxColumn, bool RemoveChecked);
    void RemoveDuplicates(int ACol, bool DoCase);
    void RemoveSelectedRows();
    void RemoveUnSelectedRows();
    void RemoveSelectedCols();
    void RemoveUnSelectedCols();
    void HideSelectedRows();
    void HideUnSelectedRows();
    virtual void CanAddRow(bool& CanAdd);
    virtual void CanInsertRow(int ARow, bool& CanInsert);
    int Swaps() const { return FSwaps; }
    void SetSwaps(int v) { FSwaps = v; }
    int SortRow() const { return FSortRow; }
    void SetSortRow(int v) { FSortRow = v; }
    virtual void MoveToCell(int ACol, int ARow);
    virtual void SelectionToRowSelect(bool Select);
    virtual void ScrollAboveSearchFooter();
    virtual void StretchColumn(int ACol);
    virtual void DimensionsChanged();
    virtual void UpdateScrollBarAlways(bool Force);
    virtual void SetColumnOrder();
    // Places the controls of cells over their cells as scrolled, hides those out of view;
    // RebuildList first collects them anew from the cells.
    virtual void CellControlsUpdate(bool RebuildList);
    // The entries of the cell-control list follow a change of the real rows (Rows) or of the
    // columns; the controls of removed rows or columns are hidden and leave the list (the
    // controls themselves are their owner's).
    void ShiftCellControls(const TAxisShift& Shift, bool Rows);
    // The per-row marks kept in use: modified rows while they are shown, disabled rows once
    // some row was disabled.  Row structure changes shift these by display row.
    unsigned RowMarkStores() const;
    virtual void SearchFooterChanged(TObject* Sender);
    virtual void ShowColumnHeaders();
    virtual void ShowRowHeaders();
    virtual void UpdateColumnHeaders();
    virtual void SaveColSizes();
    virtual void LoadColSizes();
    virtual void InitOrigColSizes();
    virtual void BalloonInit();
    virtual void BalloonDone();
    // Balloon hints, settings change relays and the start of a column drag out of a list
    TBalloonToolTip* HToolTip() const { return FHToolTip; }
    void BalloonEnableChanged(TObject* Sender);
    void ShowModifiedChanged(TObject* Sender);
    void BandsChanged(TObject* Sender);
    void UnitChanged(TObject* Sender, const QString& NewUnit);
    // Put in front of a custom editor link's control: with goTabs the control keeps arrows,
    // Tab and characters from its dialog.
    void EditLinkWindowMessageHook(TMessage& Message);
    // The user starts dragging entry AIndex, which stands for the hidden column ACol, out of
    // AList; the drop of that column on the grid takes the record.
    void OleColumnDragStart(int ACol, int AIndex, QListWidget* AList);
    // Records the drag and runs it with the column as its data.
    Qt::DropAction OleColumnDrag(int ACol, int AIndex, QListWidget* AList);
    // Drag data of one column: its index in the column format, and as text.
    static QMimeData* ColumnDragData(int ACol);
    static int ColumnOfDragData(const QMimeData* Data);
    int OleDragCol() const { return FOleDragCol; }
    int OleDragIndex() const { return FOleDragIndex; }
    QListWidget* OleDragList() const { return FOleDragList.data(); }
    TBalloonToolTip* FHToolTip = nullptr;
    int FOleDragIndex = 0;
    QPointer<QListWidget> FOleDragList;
    std::function<void(TMessage& Message)> FGridControlWndProc;
    virtual void MoveFocusWindow();
    virtual void MergedColumnsChanged();
    virtual void CellsChanged(TRect R);
    virtual void CellsLoaded();
    virtual void LoadCell(int ACol, int ARow, const QString& Value);
    virtual void SaveCell(int ACol, int ARow, QString& Value);
    virtual void SaveToStream(QIODevice& Stream);
    virtual void LoadFromStream(QIODevice& Stream);
    virtual void FilterSelect(TObject* Sender, int ItemIndex);
    virtual void FilterCheckSelect(TObject* Sender, int ItemIndex);
    virtual void NavigationChanged(TObject* Sender) { (void)Sender; }
    virtual void MouseActionsChanged(TObject* Sender) { (void)Sender; }
    virtual void IsDesigning(bool& Value) { Value = FDesigning; }
    virtual void InvalidateHook(TObject* Sender) { (void)Sender; Invalidate(); }
    virtual void GridButtonClick();
    virtual void AddRowHook() { SetRowCount(RowCount() + 1); }
    virtual void GotoFirstRow() { SetRow(FixedRows()); }
    virtual bool AllowFmtClipboard() { return FNavigation->AllowFmtClipboard(); }

    // TBaseGrid hooks
    bool IsFixed(int ACol, int ARow) override;
    bool IsVCLStyled() override { return FUseVCLStyles; }
    int DisplColIndex(int ACol) const override { return RealToDisplColumn(ACol); }
    void LastRowChanged() override;

    void Invalidate() override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    bool SizeWithForm() const { return FSizeWithForm; }
    void SetSizeWithForm(bool v) { FSizeWithForm = v; }
    // The owning form was resized: grow with it, then re-stretch the stretch column.
    virtual void FormResized();

    // ==== update lock and the grid timer ====
    // Bulk changes nest inside BeginUpdate/EndUpdate; only the outermost EndUpdate paints,
    // once.  A grid that has been hidden ignores both.
    void BeginUpdate();
    void EndUpdate();
    // Lock levels without switching drawing off or on, for short internal changes.
    void StartUpdate() { ++FUpdateCount; }
    void ResetUpdate() { FUpdateCount = 0; }
    bool LockUpdate() const { return FUpdateCount != 0; }
    void SetLockUpdate(bool Value) { Value ? BeginUpdate() : EndUpdate(); }
    int UpdateCount() const { return FUpdateCount; }
    bool HasCellBorders() override { return bool(OnGetCellBorder); }
    static constexpr int GridTimerInterval = 500;
    int GridTimerID() const { return FGridTimerID; }
    int TimerTicks() const { return FTimerTicks; }
    bool GridBlink() const { return FGridBlink; }
    bool EnableBlink() const { return FEnableBlink; }
    void SetEnableBlink(bool v) { FEnableBlink = v; }
    bool Hovering() const { return FHovering; }
    void SetHovering(bool v) { if (v != FHovering) FHovering = v; }
    // The grid width the saved column sizes refer to (SynchWithGrid scales from it).
    int OldSize() const { return FOldSize; }
    void SetOldSize(int v) { FOldSize = v; }
    // One tick of the grid's own timer.
    virtual void HandleTimerMessage(TMessage& Message);
    // The incremental look-up text and its age in timer ticks.
    QString SearchInc;
    int SearchTics = 0;

    // ==== find, replace, highlighting and the search footer (data/find_replace.cpp,
    // data/text_tagging.cpp, data/search_footer.cpp, data/column_calc.cpp) ====
    // Next matching cell after StartCell in one scan of the range, (-1, -1) when none; an empty
    // text matches nothing.  Columns are display columns; rows are present rows, or real rows
    // with fnIncludeHiddenRows.
    TPoint Find(TPoint StartCell, const QString& S, TFindParams FindParams);
    TPoint FindWide(TPoint StartCell, const QString& S, TFindParams FindParams);
    TPoint FindFirst(const QString& S, TFindParams FindParams);
    TPoint FindNext();
    // Replaces OrigStr by NewStr in the stored text of every matching cell, outside mini-HTML
    // tags; the number of cells changed.
    int Replace(const QString& OrigStr, const QString& NewStr, TFindParams FindParams);
    // Incremental look-up: the first row whose text in the sort column starts with S (S is
    // upper-cased by the caller), -1 when none.
    int Search(const QString& S);
    TPoint SearchCell{-1, -1};
    int FindCol = 0;
    int FindRow = 0;
    bool FindBusy = false;
    QString IncrSearchText() const { return SearchInc; }

    // Tagging: wraps every visible occurrence of a text in a "hi" (highlight) or "e" (mark)
    // tag pair, and takes those tags out again.
    QString HilightText(bool DoCase, const QString& S, const QString& Text);
    QString MarkText(bool DoCase, const QString& S, const QString& Text);
    QString UnHilightText(const QString& S);
    void HilightInCell(bool DoCase, int ACol, int ARow, const QString& HiText);
    void HilightInCol(bool DoFixed, bool DoCase, int ACol, const QString& HiText);
    void HilightInRow(bool DoFixed, bool DoCase, int ARow, const QString& HiText);
    void HilightInGrid(bool DoFixed, bool DoCase, const QString& HiText);
    void MarkInCell(bool DoCase, int ACol, int ARow, const QString& HiText);
    void MarkInCol(bool DoFixed, bool DoCase, int ACol, const QString& HiText);
    void MarkInRow(bool DoFixed, bool DoCase, int ARow, const QString& HiText);
    void MarkInGrid(bool DoFixed, bool DoCase, const QString& HiText);
    void UnHilightInCell(int ACol, int ARow);
    void UnHilightInCol(bool DoFixed, int ACol);
    void UnHilightInRow(bool DoFixed, int ARow);
    void UnHilightInGrid(bool DoFixed);
    void UnMarkInCell(int ACol, int ARow);
    void UnMarkInCol(bool DoFixed, int ACol);
    void UnMarkInRow(bool DoFixed, int ARow);
    void UnMarkInGrid(bool DoFixed);

    // Row calculations over the base cells fromCol .. toCol of a row.
    double RowSum(int ARow, int fromCol, int toCol);
    double RowAvg(int ARow, int fromCol, int toCol);
    double RowMin(int ARow, int fromCol, int toCol);
    double RowMax(int ARow, int fromCol, int toCol);

    // Search footer actions, wired to the search panel's edit and buttons.
    void SearchFooterEditChange();
    void SearchFooterFindNext();
    void SearchFooterFindPrevious();
    void SearchFooterHighlight();
    void SearchFooterClose();
    virtual void SearchFooterAction(const QString& Value, int ACol, int ARow, TSearchAction SearchAction);
    std::function<void(TObject* Sender, const QString& Value, bool& DefaultSearch)> OnSearchEditChange;
    std::function<void(TObject* Sender, const QString& Value, int ACol, int ARow, TSearchAction SearchAction)>
        OnSearchFooterAction;
    TNotifyEvent OnSearchFooterClose;
    TNotifyEvent OnCreatedSearchFooter;

private:
    TPoint FindCellText(TPoint StartCell, const QString& S, TFindParams FindParams);
    bool MatchFindCell(int ACol, int ARow, TFindParams FindParams);
    void TagTextInRange(const QString& Text, const QString& Tag, bool DoCase, int FromCol, int FromRow, int ToCol,
                        int ToRow);
    void UnTagTextInRange(const QString& Tag, int FromCol, int FromRow, int ToCol, int ToRow);
    void WireSearchPanel();
    void KeySearchFooterFocus(int Key, bool Ctrl);
    void KeyIncrementalSearch(QChar Key);
    void SearchFooterFind(bool Backward);
    void SearchFooterTagRange(bool Tag);
    TFindParams FFindParams;
    QString SearchCache;
    // Plain-text cells the tagging turned into mini-HTML: their text before and the text it
    // wrote last.  Such a cell gets its old text back when its last tag goes and it is unchanged.
    QHash<quint64, std::pair<QString, QString>> FTagEncoded;

public:

    // ==== hidden columns and rows ====
    void HideColumn(int ACol) { HideColumns(ACol, ACol); }
    void UnHideColumn(int ACol) { UnHideColumns(ACol, ACol); }
    void HideColumns(int FromCol, int ToCol);
    void UnHideColumns(int FromCol, int ToCol);
    bool IsHiddenColumn(int ACol) const;
    int RealColIndex(int ACol) const override { return DisplToRealColumn(ACol); }
    int RealCol() const { return DisplToRealColumn(Col()); }
    bool IsIgnoredColumn(int ACol) const;
    void HideRow(int ARow) { HideRows(ARow, ARow); }
    void HideRows(int FromRow, int ToRow);
    void HideRowsEx(int FromRow, int ToRow);
    void HideRowList(TIntList* RowList);
    void UnHideRow(int ARow);
    void UnHideRows(int FromRow, int ToRow);
    void UnHideRowsAll();
    void UnHideRowList();
    bool IsHiddenRow(int ARow) const;
    int NumHiddenRows() const { return HiddenRowCount(); }
    int RealRowIndex(int ARow) const { return DisplToRealRow(ARow); }
    int DisplRowIndex(int ARow) const { return RealToDisplRow(ARow); }
    int RealRow() const { return DisplToRealRow(Row()); }
    // The saved texts of a hidden row; nullptr when the row is not hidden.
    QStringList* GetHiddenRowItems(int ARow);
    int FilterLevel() const { return FFilterLevel; }
    void SetFilterLevel(int v) { FFilterLevel = v; }

    // Row filter: whether a row passes the filter conditions (row_filter.cpp)
    virtual bool RowMatchesFilter(int ARow);
    std::function<void(TObject* Sender, int ARow, bool& AcceptRow)> OnCustomFilter;

    // ==== filtering (grid/data/row_filter.cpp, filter_drop_down.cpp) ====
    // Passes stack: each hides rows of what the passes before it left; they are removed
    // last first.  Rows hidden otherwise (HideRows, contracted nodes) stay hidden throughout.
    bool FilterActive() const { return FFilter->FilterActive(); }
    void SetFilterActive(bool Value);
    void ApplyFilter();
    // Shows the last pass's rows again; True while passes remain.
    bool RemoveLastFilter();
    void RemoveAllFilters();
    // Incremental filter as typed: a letter added narrows, a letter taken off widens.
    // AColumn -1 searches whole rows.
    void NarrowDown(const QString& ACondition, int AColumn = -1);
    // Hides the display row when it fails the conditions.
    void FilterRow(int ARow);
    // The row keys insert and delete with the filter off: PauseFilter switches an active
    // filter off (the current row staying on its data) and says whether it was on;
    // ResumeFilter switches it on again and gives the present row of KeepRow's data, or the
    // next row shown when that one is filtered out.
    bool PauseFilter();
    int ResumeFilter(bool WasActive, int KeepRow);
    // The filter drop-down is a check list (several values) rather than a list.
    bool FilterDropDownCheck() const { return FFilterDropDownCheck; }
    void SetFilterDropDownCheck(bool v) { FFilterDropDownCheck = v; }
    bool FilterNormalCellsOnly() const { return FFilterNormalCellsOnly; }
    void SetFilterNormalCellsOnly(bool v) { FFilterNormalCellsOnly = v; }
    QString LastFilter() const { return FLastFilter; }
    // The popup menu of the fixed cells' drop-down button; nullptr for none.
    TPopupMenu* FixedDropDownMenu() const { return FFixedDropDownMenu; }
    void SetFixedDropDownMenu(TPopupMenu* v) { FFixedDropDownMenu = v; }
    std::function<void(TObject* Sender, int Progress)> OnFilterProgress;
    TFilterSelectEvent OnFilterSelect;
    TFilterCheckEvent OnFilterCheck;
    TFixedDropDownClickEvent OnFixedDropDownClick;
    std::function<void(TObject* Sender, int ACol, bool& CanShow)> OnCanShowFixedDropDown;

    // ==== cell access and typed values ====
    QString GetWideCells(int ACol, int ARow) { return Cells(ACol, ARow); }
    void SetWideCells(int ACol, int ARow, const QString& Value) { SetCells(ACol, ARow, Value); }
    QString GetStrippedCell(int ACol, int ARow);
    // By real row: hidden rows are reached through their saved texts.
    QString GetCellsEx(int ACol, int ARow);
    void SetCellsEx(int ACol, int ARow, const QString& Value);
    QString GetGridCellsEx(int ACol, int ARow);
    void SetGridCellsEx(int ACol, int ARow, const QString& Value);
    QString GetWideCellsEx(int ACol, int ARow) { return GetCellsEx(ACol, ARow); }
    void SetWideCellsEx(int ACol, int ARow, const QString& Value) { SetCellsEx(ACol, ARow, Value); }
    TObject* GetObjectsEx(int ACol, int ARow);
    void SetObjectsEx(int ACol, int ARow, TObject* AObject);
    TObject* GetGridObjectsEx(int ACol, int ARow);
    int GetInts(int ACol, int ARow);
    void SetInts(int ACol, int ARow, int Value);
    int Ints(int ACol, int ARow) { return GetInts(ACol, ARow); }
    int GetAllInts(int ACol, int ARow);
    void SetAllInts(int ACol, int ARow, int Value);
    double GetFloats(int ACol, int ARow);
    void SetFloats(int ACol, int ARow, double Value);
    double Floats(int ACol, int ARow) { return GetFloats(ACol, ARow); }
    double GetAllFloats(int ACol, int ARow);
    void SetAllFloats(int ACol, int ARow, double Value);
    QString GetOriginalCells(int ACol, int ARow);
    void SetOriginalCells(int ACol, int ARow, const QString& Value);
    QString GetUnSortedCell(int ACol, int ARow);
    void SetUnSortedCell(int ACol, int ARow, const QString& Value);
    int SortedRowIndex(int ARow);
    int UnSortedRowIndex(int ARow);
    TIntList* SortRowXRef() { return FSortRowXRef.get(); }
    QString CurrentCell();
    void SetCurrentCell(const QString& Value);
    QString GetCurrentBaseCell();
    int GetLinesInCell(int ACol, int ARow);
    TRect GetUsedCells();
    virtual void GetFloatFormat(int ACol, int ARow, QString& AFloatFormat);

    // ==== cell attribute hooks ====
    virtual void GetCellHint(int ACol, int ARow, QString& HintStr, QString& WideHint);
    virtual void GetCellColor(int ACol, int ARow, TGridDrawState AState, TBrush* ABrush, TFont* AFont);
    virtual void GetCellPrintColor(int ACol, int ARow, TGridDrawState AState, TBrush* ABrush, TFont* AFont);
    virtual void GetCellBorder(int ACol, int ARow, TPen* APen, TCellBorders& Borders);
    virtual void GetCellPrintBorder(int ACol, int ARow, TPen* APen, TCellBorders& Borders);
    virtual void GetCellAlignHook(int ACol, int ARow, TAlignment& HAlign, TVAlignment& VAlign);
    virtual void GetColFormat(int ACol, TSortStyle& AStyle, QString& Prefix, QString& Suffix);
    virtual void GetCellEditorType(int ACol, int ARow, TEditorType& AEditor);
    virtual void GetCellEditor(int ACol, int ARow, TEditorType& AEditor);
    virtual bool IsNoEditorCell(int ACol, int ARow);
    virtual void IsFixedCell(int ACol, int ARow, bool& IsFixed);
    virtual void CanEditCell(int ACol, int ARow, bool& CanEdit);
    virtual void CanEditCellEvent(int ACol, int ARow, bool& CanEdit);
    virtual void IsPasswordCellHook(int ACol, int ARow, bool& IsPassword);
    virtual void GetWordWrapHook(int ACol, int ARow, bool& AWordWrap);
    virtual bool HasComboBox(int ACol, int ARow);
    virtual bool HasSpinEdit(int ACol, int ARow);
    virtual void GetCheckTrue(int ACol, int ARow, QString& Value);
    virtual void GetCheckFalse(int ACol, int ARow, QString& Value);
    virtual bool GetFilterList(int ACol);
    bool FilterDropDownAuto() const { return FFilterDropDownAuto; }
    void SetFilterDropDownAuto(bool v)
    {
        FFilterDropDownAuto = v;
        Invalidate();
    }
    bool FilterIncremental() const { return FFilterIncremental; }
    void SetFilterIncremental(bool v) { FFilterIncremental = v; }
    QString FilterDropDownClear() const { return FFilterDropDownClear; }
    void SetFilterDropDownClear(const QString& v) { FFilterDropDownClear = v; }
    TFilterDropDownColumns FilterDropDownColumns() const { return FFilterDropDownColumns; }
    void SetFilterDropDownColumns(TFilterDropDownColumns v) { FFilterDropDownColumns = v; }
    // The column whose filter drop-down is open, -1 when none.
    int FilterCol() const { return FFilterCol; }
    void SetFilterCol(int v) { FFilterCol = v; }
    bool EditDisable() const { return FEditDisable; }
    void SetEditDisable(bool v) { FEditDisable = v; }

    // Per-cell property arrays: real column, present row; reading a cell without properties
    // gives the not-set value and makes nothing.
    TColor GetColors(int ACol, int ARow);
    void SetColors(int ACol, int ARow, TColor AColor);
    TColor GetColorsTo(int ACol, int ARow);
    void SetColorsTo(int ACol, int ARow, TColor AColor);
    TColor GetFontColors(int ACol, int ARow);
    void SetFontColors(int ACol, int ARow, TColor AColor);
    TFontStyles GetFontStyles(int ACol, int ARow);
    void SetFontStyles(int ACol, int ARow, TFontStyles AStyle);
    int GetFontSizes(int ACol, int ARow);
    void SetFontSizes(int ACol, int ARow, int ASize);
    QString GetFontNames(int ACol, int ARow);
    void SetFontNames(int ACol, int ARow, const QString& AName);
    TAlignment GetAlignments(int ACol, int ARow);
    void SetAlignments(int ACol, int ARow, TAlignment AAlignment);
    bool GetReadOnly(int ACol, int ARow);
    void SetReadOnly(int ACol, int ARow, bool Value);
    TCellGradientDirection GetGradientDir(int ACol, int ARow);
    void SetGradientDir(int ACol, int ARow, TCellGradientDirection Value);
    bool GetWordWraps(int ACol, int ARow);
    void SetWordWraps(int ACol, int ARow, bool Value);
    void SetCellFont(int ACol, int ARow, TFont* AFont);
    QWidget* GetCellControls(int ACol, int ARow);
    void SetCellControls(int ACol, int ARow, QWidget* AControl);
    // Row-wide: columns FixedCols .. AllColCount - 1; clNone clears that one setting only.
    void SetRowColor(int ARow, TColor AColor);
    void SetRowColorTo(int ARow, TColor AColor);
    void SetRowFontColor(int ARow, TColor AColor);

    TGridHintEvent OnGridHint;
    TGridHintEvent OnGridWideHint;
    TGetCellColorEvent OnGetCellColor;
    TGetCellColorEvent OnGetCellPrintColor;
    TGetCellBorderEvent OnGetCellBorder;
    TGetCellBorderEvent OnGetCellPrintBorder;
    TGetAlignmentEvent OnGetAlignment;
    TGetFormatEvent OnGetFormat;
    TGetEditorTypeEvent OnGetEditorType;
    TCellBoolRowColEvent OnIsFixedCell;
    TCellBoolRowColEvent OnCanEditCell;
    TCellBoolRowColEvent OnIsPasswordCell;
    TCellBoolColRowEvent OnGetWordWrap;
    TCellBoolColRowEvent OnHasComboBox;
    TCellBoolColRowEvent OnHasSpinEdit;
    TGetCheckEvent OnGetCheckTrue;
    TGetCheckEvent OnGetCheckFalse;
    TGetColumnFilterEvent OnGetColumnFilter;
    TGetFloatFormatEvent OnGetFloatFormat;

    // ==== column order ====
    void ResetColumnOrder();
    int ColumnPosition(int ACol);
    int ColumnAtPosition(int APos);
    int ColumnByHeader(const QString& AValue);
    int GroupColumn() const { return FGroupColumn; }
    // -1 ungroups, a column above 0 groups by it, 0 does nothing.
    void SetGroupColumn(int v);

    // ==== grouping and group calculations (data/grouping.cpp) ====
    // Sorts by the column, puts a node header row before every run of equal texts (and a
    // summary row after it with Grouping.Summary) and takes the column out; UnGroup puts the
    // column and its texts back and removes the header and summary rows.  Column 0 holds the
    // node glyphs and is never grouped.
    virtual void Group(int Colindex);
    virtual void UnGroup();
    // Splits every group again by the runs of equal texts of another column, under child
    // header rows whose node value is the column; SubUnGroup removes them again.
    virtual void SubGroup(int Colindex);
    virtual void SubUnGroup(int Colindex);
    // Methods: 1 sum, 2 average, 3 minimum, 4 maximum, 5 count, 6 custom, 7 distinct count,
    // 8 standard deviation; written into each expanded group's header (summary) row.
    void GroupCalc(int Colindex, int Method);
    void GroupSum(int Colindex);
    void GroupAvg(int Colindex);
    void GroupMin(int Colindex);
    void GroupMax(int Colindex);
    void GroupCount(int Colindex);
    void GroupDistinct(int Colindex);
    void GroupStdDev(int Colindex);
    void GroupCustomCalc(int Colindex);
    // Fires OnGroupCalc with Res starting at 0.
    virtual void DoGroupCalc(int ACol, int FromRow, int ToRow, double& Res);
    std::function<void(TObject* Sender, int ACol, int FromRow, int ToRow, double& Res)> OnGroupCalc;
    // Inserts empty rows that end up at the display rows Targets, all in one pass; hidden rows,
    // row marks and cell controls follow as with InsertRows.
    void InsertRowSet(std::vector<int> Targets);
private:
    void GroupRows(int Colindex);
    void UnGroupRows();
    void SubGroupRows(int Colindex);
    // Header (summary) row colours on the whole row, or on the cells FromCol .. last merged.
    void GroupRowLook(int ARow, bool Header);
    void GroupMergeLook(int ARow, int FromCol, bool Header);
    int FGroupWidth = 0;
    QString FGroupCaption, FGroupFooter;
public:
    // Clamps of a user's and an automatic column sizing; the grid itself sets no limits.
    virtual void UpdateColumnSize(int ACol, int& AWidth) { if (OnUpdateColumnSize) OnUpdateColumnSize(this, ACol, AWidth); }
    virtual void UpdateAutoColumnSize(int ACol, int& AWidth) { if (OnUpdateColumnSize) OnUpdateColumnSize(this, ACol, AWidth); }

    // Auto sizing and auto numbering (auto_sizing.cpp).  Columns are display columns.
    bool SizeGrowOnly() const { return FSizeGrowOnly; }
    void SetSizeGrowOnly(bool v) { FSizeGrowOnly = v; }
    int MinColWidth() const { return FMinColWidth; }
    void SetMinColWidth(int v) { FMinColWidth = v; }
    int MaxColWidth() const { return FMaxColWidth; }
    void SetMaxColWidth(int v) { FMaxColWidth = v; }
    int MinRowHeight() const { return FMinRowHeight; }
    void SetMinRowHeight(int v) { FMinRowHeight = v; }
    int MaxRowHeight() const { return FMaxRowHeight; }
    void SetMaxRowHeight(int v) { FMaxRowHeight = v; }
    int AutoNumberStart() const { return FAutoNumberStart; }
    void SetAutoNumberStart(int v) { FAutoNumberStart = v; }
    int AutoNumberOffset() const { return FAutoNumberOffset; }
    void SetAutoNumberOffset(int v) { FAutoNumberOffset = v; }
    TSortDirection AutoNumberDirection() const { return FAutoNumberDirection; }
    void SetAutoNumberDirection(TSortDirection v) { FAutoNumberDirection = v; }
    // The text inset of a cell: the offset, doubled unless it applies to the top left only.
    int CellOffsetX() const { return FXYOffsetTopLeftOnly ? FXYOffset.X : 2 * FXYOffset.X; }
    int CellOffsetY() const { return FXYOffsetTopLeftOnly ? FXYOffset.Y : 2 * FXYOffset.Y; }
    int MaxLinesInRow(int ARow);
    // A width (height) brought within the column (row) limits.
    int LimitColWidth(int W) const;
    int LimitRowHeight(int H) const;
    void AutoSizeCol(int ACol, int Padding = 0);
    void AutoSizeColumns(bool DoFixedCols, int Padding = 0);
    void AutoSizeRow(int ARow, int Padding = 0);
    void AutoSizeRows(bool DoFixedRows, int Padding = 0);
    void AutoFitColumns(bool DoFixedCells = true);
    void SizeToCols();
    void SizeToRows();
    void SizeToCells();
    void AutoNumberCol(int ACol);
    void AutoNumberRow(int ARow);
    virtual void AutoSizeColInternal(int ACol, bool GrowOnly);
    virtual void AutoSizeRowInternal(int ARow, bool GrowOnly, int Padding);
private:
    // The widest text of the cells of display column ACol over rows [First, Last], with what
    // the cells add beside their text.
    int WidestCellInColumn(int ACol, int First, int Last);
    bool FSizeGrowOnly = false;
    int FMaxColWidth = 0;
    int FMaxRowHeight = 0;
    int FAutoNumberStart = 0;
    int FAutoNumberOffset = 0;
    TSortDirection FAutoNumberDirection = sdAscending;
public:

    // ==== display attributes and cell content drawing ====
    // The look of a cell, always resolved in one order: grid defaults, bands and fixed areas,
    // cell properties, the look's fixed gradient, hooks and events, then the selection.
    // ACol is a display column; with Remap properties and hooks are read at the real column.
    void GetVisualProperties(int ACol, int ARow, TGridDrawState& AState, bool Print, bool Select, bool Remap,
                             TBrush* ABrush, TColor& AColorTo, TColor& AMirrorColor, TColor& AMirrorColorTo,
                             TFont* AFont, TAlignment& HA, TVAlignment& VA, bool& WW,
                             TCellGradientDirection& GD) override;
    // The font alone: ACol decides the fixed test, RCol the cell properties.
    void GetFontProperties(int ACol, int RCol, int ARow, TGridDrawState& AState, TFont* AFont, TBrush* ABrush,
                           bool Remap);
    struct TCellAlignment {
        TAlignment HA = taLeftJustify;
        TVAlignment VA = vtaTop;
    };
    TCellAlignment GetCellAlignment(int ACol, int ARow);
    virtual QString GetFormattedCell(int ACol, int ARow);
    void GetDisplText(int ACol, int ARow, QString& Value) override;
    // The text shown for a formula cell.
    virtual void GetCellText(int ACol, int ARow, QString& Value);
    // Text extent of a cell (real column); VS: height wrapped to the cell width, SB: room for
    // a button.
    QSize GetCellTextSize(int ACol, int ARow, bool VS, bool SB);
    QSize CalcCellTextSize(int RealCol, int DisplayCol, int ARow, bool VS, bool SB);
    bool HasSortIndicator(int ACol, int ARow);
    int GetRowIndent(int ARow) override;
    bool HasNodes() override { return HasNodesHook(); }
    TColor MixSelectionColor(TColor SelColor, TColor CellColor, bool Mixer, int Factor);
    // Selection flags as far as the look reads them.
    virtual bool IsSelected(int ACol, int ARow);
    bool GetRowSelect(int ARow) const;
    bool GetColSelect(int ACol) const;
    bool GetRowModified(int ARow) const;
    bool GetRowEnabled(int ARow) const;

    bool Multilinecells() const { return FMultilinecells; }
    void SetMultilinecells(bool v) { FMultilinecells = v; Invalidate(); }
    bool EnhTextSize() const { return FEnhTextSize; }
    void SetEnhTextSize(bool v) { FEnhTextSize = v; Invalidate(); }
    bool URLShow() const { return FURLShow; }
    void SetURLShow(bool v);
    bool URLFull() const { return FURLFull; }
    void SetURLFull(bool v);
    bool URLShowInText() const { return FURLShowInText; }
    void SetURLShowInText(bool v);
    void SetURLColor(TColor v);
    int ZoomFactor() const { return FZoomFactor; }
    void SetZoomFactor(int v) { FZoomFactor = v; Invalidate(); }
    bool AutoNumAlign() const { return FAutoNumAlign; }
    void SetAutoNumAlign(bool v) { FAutoNumAlign = v; Invalidate(); }
    bool UseEnabledRows() const { return FUseEnabledRows; }
    bool SelectionColorMixer() const { return FSelectionColorMixer; }
    void SetSelectionColorMixer(bool v) { SetChanged(FSelectionColorMixer, v); }
    void SetSelectionColor(TColor v) { SetChanged(FSelectionColor, v); }
    void SetSelectionColorTo(TColor v) { SetChanged(FSelectionColorTo, v); }
    void SetSelectionTextColor(TColor v) { SetChanged(FSelectionTextColor, v); }
    void SetShowSelection(bool v);
    bool Flat() const { return FFlat; }
    void SetFlat(bool v) { FFlat = v; if (!FLoading) Invalidate(); }
    // The flat scroll bars are in use.
    bool FlatScrollBars() const { return FIsFlat; }
    bool HideFocusRect() const { return FHideFocusRect; }
    void SetHideFocusRect(bool v) { FHideFocusRect = v; Invalidate(); }
    bool NoDefaultDraw() const { return FNoDefaultDraw; }
    void SetNoDefaultDraw(bool v) { FNoDefaultDraw = v; }
    bool NoImageAndText() const { return FNoImageAndText; }
    void SetNoImageAndText(bool v) { FNoImageAndText = v; }
    THoverFixedCells HoverFixedCells() const { return FHoverFixedCells; }
    void SetHoverFixedCells(THoverFixedCells v) { FHoverFixedCells = v; }
    TBitmap* RowIndicator() { return FRowIndicator.get(); }
    bool XYOffsetTopLeftOnly() const { return FXYOffsetTopLeftOnly; }
    void SetXYOffset(TPoint v) { FXYOffset = v; Invalidate(); }
    bool SelectionRectangle() const { return FSelectionRectangle; }
    void SetSelectionRectangle(bool v) { SetChanged(FSelectionRectangle, v); }
    bool SelectionResizer() const { return FSelectionResizer; }
    void SetSelectionResizer(bool v) { SetChanged(FSelectionResizer, v); }
    TColor SelectionRectangleColor() const { return FSelectionRectangleColor; }
    void SetSelectionRectangleColor(TColor v) { FSelectionRectangleColor = v; Invalidate(); }
    int FilterDropDownRow() const { return FFilterDropDownRow; }
    // Only a fixed row can carry the filter glyphs; another value is ignored.
    void SetFilterDropDownRow(int v)
    {
        if (v >= FixedRows()) return;
        FFilterDropDownRow = v;
        Invalidate();
    }
    void SetXYOffsetTopLeftOnly(bool v) { FXYOffsetTopLeftOnly = v; }

    using TGetCellGradientEvent = std::function<void(TObject* Sender, int ARow, int ACol, TColor& Color,
                                                     TColor& ColorTo, TColor& ColorMirror, TColor& ColorMirrorTo,
                                                     TCellGradientDirection& GD)>;
    using TCustomCellDrawEvent = std::function<void(TObject* Sender, TCanvas* Canvas, int ACol, int ARow,
                                                    TGridDrawState AState, TRect ARect, bool Printing)>;
    using TDrawCellEvent = std::function<void(TObject* Sender, int ACol, int ARow, TRect Rect, TGridDrawState State)>;
    using TGetCellBorderPropEvent = std::function<void(TObject* Sender, int ARow, int ACol, TPen* LeftPen,
                                                       TPen* TopPen, TPen* RightPen, TPen* BottomPen)>;
    TGetCellGradientEvent OnGetCellGradient;
    TCustomCellDrawEvent OnCustomCellBkgDraw;
    TCustomCellDrawEvent OnCustomCellDraw;
    TDrawCellEvent OnDrawCell;
    TGetCellBorderPropEvent OnGetCellBorderProp;

    // Content of one cell, after the base frame filled it and drew its lines.
    void DrawCellContent(TCanvas* Canvas, int ACol, int ARow, TRect Rect, TGridDrawState State) override;

protected:
    void PaintGridCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
    // Steps of the content drawing, sharing one context.
    virtual void DrawCellDefault(TCellPaintContext& C);
    virtual void DrawCellBorders(TCellPaintContext& C);
    // Mini-HTML cells (html_cells.cpp).
    virtual void DrawHTMLCell(TCellPaintContext& C, const QString& Text);
    // Rich text is drawn by a later feature (nothing yet); tree lines of node rows are drawn
    // with the cell graphics.
    virtual void DrawRichTextCell(int ACol, int ARow, TRect R, TCanvas* Canvas);
    virtual void DrawTreeLines(TCellPaintContext& C);
    virtual QSize MeasureHTMLCell(int ACol, int ARow, const QString& Text, TRect R);
    virtual bool InsertURLLink(const QString& S, const QString& Prefix, QString& HTML);
    // Rotation angle of a rotated-text cell, 0 for any other.
    virtual int IsRotated(int ACol, int ARow);
    // Background picture or gradient of a cell.
    virtual void DrawCellBackground(TCellPaintContext& C);
    // Whether a fixed cell of the real column shows a drop-down button.
    virtual bool CanShowFixedDropDown(int ACol);
    // Size and placement of the cell's graphic, and the graphic itself in R.
    TCellGraphic* GetCellGraphicInfo(int ACol, int ARow, int& Width, int& Height, bool& TextBeside,
                                     TCellHAlign& HAlign, TCellVAlign& VAlign);
    virtual void DrawCellGraphic(TCellPaintContext& C, TRect& R);

private:
    // The parts of DrawCellGraphic.  PlaceCellGraphic gives the graphic's rectangle in R: its
    // own alignment, and for check boxes the text's.  Each Draw* draws the kinds of one family
    // in R or at G; the bars shrink R by the progress margins as they draw in it.
    TRect PlaceCellGraphic(const TCellPaintContext& C, const TRect& R);
    void DrawCheckGraphic(TCellPaintContext& C, const TRect& R, const TRect& G, bool Enabled, TControlStyle Style);
    void DrawPictureGraphic(TCellPaintContext& C, const TRect& G);
    void DrawBarGraphic(TCellPaintContext& C, TRect& R);
    void DrawCommentMark(TCellPaintContext& C, const TRect& R);
    void DrawShapeGraphic(TCellPaintContext& C, const TRect& G);

protected:
    void DrawFixedCellLook(TCellPaintContext& C);
    void DrawFixedCellEdges(TCellPaintContext& C);
    void DrawAlwaysVisibleButtons(TCellPaintContext& C);
    void DrawSelectionRectangle(TCellPaintContext& C);
    // A mouse button is held down over the grid (kept by the mouse handling).
    bool FMouseDown = false;
    // The fixed-cell drop-down part is pressed.
    bool FDropDownDown = false;
    bool FMultilinecells = false;
    bool FEnhTextSize = false;
    bool FURLShow = false;
    bool FURLFull = false;
    bool FURLShowInText = false;
    int FZoomFactor = 0;
    bool FAutoNumAlign = false;
    bool FUseEnabledRows = false;
    bool FSelectionColorMixer = false;
    bool FHideFocusRect = false;
    bool FNoDefaultDraw = false;
    bool FNoImageAndText = false;
    bool FXYOffsetTopLeftOnly = false;
    bool FSelectionRectangle = false;
    bool FSelectionResizer = false;
    int FFilterDropDownRow = 0;
    // Vertical text flag of the last cell drawn.
    uint32_t FVAlign = 0;
    // Gradients of a hovered and of a pressed fixed cell.
    TColor FProGradHoverFrom = 0, FProGradHoverTo = 0, FProGradHoverMirrorFrom = clNone,
           FProGradHoverMirrorTo = clNone, FProGradHoverBorder = 0;
    TColor FProGradDownFrom = 0, FProGradDownTo = 0, FProGradDownMirrorFrom = clNone,
           FProGradDownMirrorTo = clNone, FProGradDownBorder = 0;

public:
    // ==== cell graphics, check boxes and radio controls ====
    // Columns are real columns and rows display rows unless said otherwise; the queries
    // answer for the base cell of a merged block.  Two kinds of cell show a control without
    // an object of their own (the row check box column, a column grid's data check box
    // column): GetCellGraphic and GetCellType answer for them with a shared graphic.
    virtual TCellGraphic* GetCellGraphic(int ACol, int ARow);
    virtual TCellType GetCellType(int ACol, int ARow);
    // A fresh graphic (kind ctNone) in place of the cell's own; the cell text stays.
    TCellGraphic* CreateCellGraphic(int ACol, int ARow);
    bool RemoveCellGraphic(int ACol, int ARow);
    bool RemoveCellGraphicType(int ACol, int ARow, TCellType CellType);
    bool HasClickControl(int ACol, int ARow);

    // A cell beyond the grid raises "Invalid cell".
    void AddCheckBox(int ACol, int ARow, bool State, bool Data);
    void AddCheckBox(int ACol, int ARow, TCheckBoxState State);
    void AddCheckBoxColumn(int ACol, bool DefaultState = false, bool DataCheckBox = false);
    void AddTriStateCheckBoxColumn(int ACol, TCheckBoxState State);
    void RemoveCheckBox(int ACol, int ARow);
    void RemoveCheckBoxColumn(int ACol);
    bool HasCheckBox(int ACol, int ARow);
    bool HasDataCheckBox(int ACol, int ARow);
    // With hidden rows, ARow of the state getters and setters is a real row.
    bool GetCheckBoxState(int ACol, int ARow, bool& State);
    bool GetCheckBoxState(int ACol, int ARow, TCheckBoxState& State);
    bool SetCheckBoxState(int ACol, int ARow, bool State);
    bool SetCheckBoxState(int ACol, int ARow, TCheckBoxState State);
    bool IsChecked(int ACol, int ARow);
    bool ToggleCheckBox(int ACol, int ARow) { return ToggleCheck(ACol, ARow, false); }
    // The toggle of a click or the space key (FromUser): asks CanEditCell unless check boxes
    // are always active.  A row or column outside the grid raises "Invalid cell".
    virtual bool ToggleCheck(int ACol, int ARow, bool FromUser);
    bool ApplyCheckBoxState(int ACol, int ARow, bool State);
    void CheckAll(int ACol);
    void UnCheckAll(int ACol);
    // Whether (XPos, YPos) hits the check box glyph of the cell.
    bool IsInCheckBox(int ACol, int ARow, int XPos, int YPos);
    virtual void CheckBoxChange(int ACol, int ARow, bool State);
    // A toggle for the undo component (the old and new check texts); nothing while the grid
    // has none.
    virtual void RegisterCheckUndo(int ACol, int ARow, bool NewState);

    void AddRadio(int ACol, int ARow, int DirRadio, int IdxRadio, TGridStrings* sl);
    TGridStrings* CreateRadio(int ACol, int ARow, int DirRadio, int IdxRadio);
    bool GetRadioIdx(int ACol, int ARow, int& IdxRadio);
    bool SetRadioIdx(int ACol, int ARow, int IdxRadio);
    TGridStrings* GetRadioStrings(int ACol, int ARow);
    bool IsRadio(int ACol, int ARow);
    void RemoveRadio(int ACol, int ARow) { RemoveCellGraphicType(ACol, ARow, ctRadio); }
    // Moves a radio group to its next option; always False.
    bool ClickRadio(int ACol, int ARow, bool FromUser);
    void AddRadioButton(int ACol, int ARow, bool State = false);
    void RemoveRadioButton(int ACol, int ARow);
    bool HasRadioButton(int ACol, int ARow);
    void AddRadioButtonColumn(int ACol);
    void RemoveRadioButtonColumn(int ACol);
    bool IsRadioButtonChecked(int ACol, int ARow);
    bool SetRadioButtonState(int ACol, int ARow, bool State);
    void SetRadioButtonColumnIndex(int ACol, int Index);
    int GetRadioButtonColumnIndex(int ACol);
    // The click on a radio button: checks it and unchecks the others of its column.
    virtual bool ToggleRadioButton(int ACol, int ARow, bool FromUser);

    TCheckBoxClickEvent OnCheckBoxChange;
    TCheckBoxClickEvent OnCheckBoxClick;
    TCheckBoxClickEvent OnCheckBoxMouseUp;
    TRadioClickEvent OnRadioClick;
    TRadioClickEvent OnRadioMouseUp;
    TRadioButtonClickEvent OnRadioButtonClick;

    // Nodes: expanding and contracting child rows.  A node row holds a ctNode graphic in
    // column 0 and heads a span of rows (its own included); contracting it hides the others.
    // The queries take display rows, the operations marked "real" real rows.
    void AddNode(int ARow, int Span);          // real
    void AddSummary(int ARow);                 // real
    void RemoveNode(int ARow);                 // real
    void RemoveAllNodes();
    virtual bool IsNode(int ARow);
    virtual bool IsSummary(int ARow);
    // Span of a node row (its own row included, 0: up to the next node); -1 for other rows.
    virtual int GetNodeSpan(int ARow);
    void SetNodeSpan(int ARow, int Span);
    void UpdateNodeSpan(int ARow, int Delta);
    int GetSubNodeCount(int ARow);
    void UpdateSubNodeCount(int ARow, int Delta);
    // True when the node is contracted.
    virtual bool GetNodeState(int ARow);
    void SetNodeState(int ARow, bool Value);
    int GetNodeLevel(int ARow);
    virtual int GetParentRow(int ARow);
    void ExpandNode(int ARow);                 // real
    void ContractNode(int ARow);               // real
    void ContractAll();
    void InsertChildRow(int ARow, int InsertAt);   // real
    void RemoveChildRow(int ARow);             // real
    bool IsNodeGlyphClick(int ARow, int X);
    int NumNodes() const { return FNumNodes; }
    std::function<void(TObject* Sender, int ARow, int ARowReal, bool& Allow)> OnBeforeExpandNode;
    std::function<void(TObject* Sender, int ARow, int ARowReal, bool& Allow)> OnBeforeContractNode;
    std::function<void(TObject* Sender, int ARow, int ARowReal)> OnExpandNode;
    std::function<void(TObject* Sender, int ARow, int ARowReal)> OnContractNode;
protected:
    void ExpandNodeInternal(int ARow);
    // A press on the glyph of a node row: expands or contracts it; False when the press is
    // not on a node glyph.
    bool NodeGlyphPress(int ACol, int ARow, int X, int Y, TShiftState Shift);
    // Adds Delta to the node levels of display rows [From, From + Count).
    void ShiftNodeLevels(int From, int Count, int Delta);
    TCellGraphic* NodeGraphic(int ARow);
    int NodeEndRow(int ARow);
    int FNumNodes = 0;
    bool FNodeAllExpanded = true;
public:
    // Selected rows of the row check boxes (real rows).
    bool RowSelect(int ARow) const;
    void SetRowSelect(int ARow, bool Value);
    int RowSelectCount() const;

    // ==== other cell objects: pictures, images, buttons, progress, shapes, ratings, comments ====
    // Every Add and Create replaces the cell's graphic.  Create-made objects belong to the
    // graphic; objects handed to Add stay the caller's.  Has... queries look at the base cell
    // of a merged block, the others at the cell itself.
    void AddBitmap(int ACol, int ARow, TBitmap* ABmp, bool Transparent, TCellHAlign hal, TCellVAlign val);
    TBitmap* CreateBitmap(int ACol, int ARow, bool Transparent, TCellHAlign hal, TCellVAlign val);
    void RemoveBitmap(int ACol, int ARow) { RemoveCellGraphicType(ACol, ARow, ctBitmap); }
    TBitmap* GetBitmap(int ACol, int ARow);
    bool HasBitmap(int ACol, int ARow) { return GetBitmap(ACol, ARow) != nullptr; }
    void AddIcon(int ACol, int ARow, TIcon* AIcon, TCellHAlign hal, TCellVAlign val);
    TIcon* CreateIcon(int ACol, int ARow, TCellHAlign hal, TCellVAlign val);
    void RemoveIcon(int ACol, int ARow) { RemoveCellGraphicType(ACol, ARow, ctIcon); }
    void AddPicture(int ACol, int ARow, TPicture* APicture, bool Transparent, TStretchMode StretchMode, int Padding,
                    TCellHAlign hal, TCellVAlign val);
    TPicture* CreatePicture(int ACol, int ARow, bool Transparent, TStretchMode StretchMode, int Padding,
                            TCellHAlign hal, TCellVAlign val);
    void RemovePicture(int ACol, int ARow) { RemoveCellGraphicType(ACol, ARow, ctPicture); }
    TPicture* GetPicture(int ACol, int ARow);
    bool HasPicture(int ACol, int ARow) { return GetPicture(ACol, ARow) != nullptr; }
    void AddFilePicture(int ACol, int ARow, TFilePicture* AFilePicture, bool Transparent, TStretchMode StretchMode,
                        int Padding, TCellHAlign hal, TCellVAlign val);
    TFilePicture* CreateFilePicture(int ACol, int ARow, bool Transparent, TStretchMode StretchMode, int Padding,
                                    TCellHAlign hal, TCellVAlign val);
    void RemoveFilePicture(int ACol, int ARow) { RemoveCellGraphicType(ACol, ARow, ctFilePicture); }
    TFilePicture* GetFilePicture(int ACol, int ARow);
    // Images of GridImages; without that list these change nothing.
    void AddImageIdx(int ACol, int ARow, int Aidx, TCellHAlign hal, TCellVAlign val);
    void RemoveImageIdx(int ACol, int ARow) { RemoveCellGraphicType(ACol, ARow, ctImageList); }
    bool GetImageIdx(int ACol, int ARow, int& idx);
    void SetImageIdx(int ACol, int ARow, int Idx);
    // The image shown is the cell text as a number (Aidx is written into an empty cell).
    void AddDataImage(int ACol, int ARow, int Aidx, TCellHAlign hal, TCellVAlign val);
    bool HasDataImage(int ACol, int ARow);
    void RemoveDataImage(int ACol, int ARow);
    // Several images, side by side (Dir 0) or stacked, listed in GetCellImages.
    void AddMultiImage(int ACol, int ARow, int Dir, TCellHAlign hal, TCellVAlign val);
    void RemoveMultiImage(int ACol, int ARow) { RemoveCellGraphicType(ACol, ARow, ctImages); }
    TIntList* GetCellImages(int ACol, int ARow);
    // A change of a cell's image list repaints the cell.
    void CellImagesChanged(TObject* Sender, int ACol, int ARow);
    virtual TCustomImageList* GetGridImages(int ACol, int ARow) { (void)ACol; (void)ARow; return FGridImages; }
    void AddInterfacedCell(int ACol, int ARow, TInterfacedPersistent* AObject);
    void RemoveInterfacedCell(int ACol, int ARow) { RemoveCellGraphicType(ACol, ARow, ctInterface); }
    TInterfacedPersistent* GetInterfacedCell(int ACol, int ARow);

    // Buttons (bw x bh; the drawing records where in the cell a button sits).
    void AddButton(int ACol, int ARow, int bw, int bh, const QString& Caption, TCellHAlign hal, TCellVAlign val);
    void AddBitButton(int ACol, int ARow, int bw, int bh, const QString& Caption, TBitmap* Glyph, TCellHAlign hal,
                      TCellVAlign val);
    TBitmap* CreateBitButton(int ACol, int ARow, int bw, int bh, const QString& Caption, TCellHAlign hal,
                             TCellVAlign val);
    bool HasButton(int ACol, int ARow);
    void RemoveButton(int ACol, int ARow);
    void RemoveBitButton(int ACol, int ARow) { RemoveCellGraphicType(ACol, ARow, ctBitButton); }
    void RemoveAllButtons();
    // ACol is a display column.
    void SetButtonText(int ACol, int ARow, const QString& Caption);
    QString GetButtonText(int ACol, int ARow);
    void PushButton(int ACol, int ARow, bool Push);
    // Client rectangle of the button of (display column ACol, ARow); empty without one.
    void GetCellGraphicRect(int ACol, int ARow, TRect& R);

    // Progress bars, pies and range indicators: the value is the cell text.
    void AddProgress(int ACol, int ARow, TColor FGColor, TColor BKColor);
    void AddProgressEx(int ACol, int ARow, TColor FGColor, TColor FGTextColor, TColor BKColor, TColor BKTextColor);
    void AddProgressFormatted(int ACol, int ARow, TColor FGColor, TColor FGTextColor, TColor BKColor,
                              TColor BKTextColor, const QString& Fmt, int Min, int Max);
    void RemoveProgress(int ACol, int ARow) { RemoveCellGraphicType(ACol, ARow, ctProgress); }
    bool HasProgress(int ACol, int ARow);
    void AddProProgress(int ACol, int ARow, int Min, int Max);
    void RemoveProProgress(int ACol, int ARow) { RemoveCellGraphicType(ACol, ARow, ctXPProgress); }
    void AddProgressPie(int ACol, int ARow, TColor Color, int Value);
    void SetProgressPie(int ACol, int ARow, int Value);
    void RemoveProgressPie(int ACol, int ARow) { RemoveCellGraphicType(ACol, ARow, ctProgressPie); }
    void AddRangeIndicator(int ACol, int ARow, int Range, TColor NegColor, TColor PosColor, bool ShowValue);
    void RemoveRangeIndicator(int ACol, int ARow) { RemoveCellGraphicType(ACol, ARow, ctRangeIndicator); }

    void AddShape(int ACol, int ARow, TCellShape Shape, TColor FillColor, TColor LineColor, TCellHAlign hal,
                  TCellVAlign val);
    void RemoveShape(int ACol, int ARow) { RemoveCellGraphicType(ACol, ARow, ctShape); }
    void SetShapeColor(int ACol, int ARow, TColor FillColor);
    TColor GetShapeColor(int ACol, int ARow);
    // Scale stars; the rating is the cell text.
    void AddRating(int ACol, int ARow, int Scale, TColor FillColor, TColor EmptyColor);
    void RemoveRating(int ACol, int ARow) { RemoveCellGraphicType(ACol, ARow, ctRating); }
    bool HasRating(int ACol, int ARow);
    // Asked before a click changes a rating; fires OnRatingChange.
    virtual bool RatingChange(int ACol, int ARow, double& NewRate);
    std::function<void(TObject* Sender, int ACol, int ARow, double& NewRate, bool& Allow)> OnRatingChange;

    // Small scroll bars in cells; with AutoRange the range follows the cell text's height.
    struct TScrollProp {
        int PageSize = 0;
        int Range = 0;
    };
    void AddScrollBar(int ACol, int ARow, bool AutoRange);
    void RemoveScrollBar(int ACol, int ARow) { RemoveCellGraphicType(ACol, ARow, ctScrollbar); }
    bool HasScrollBar(int ACol, int ARow);
    bool HasAutoRangeScrollBar(int ACol, int ARow);
    void SetScrollPosition(int ACol, int ARow, int Pos);
    int GetScrollPosition(int ACol, int ARow);
    void SetScrollProp(int ACol, int ARow, TScrollProp Prop);
    TScrollProp GetScrollProp(int ACol, int ARow);
    void CellTextChanged(int ACol, int ARow) override;

    void AddComment(int ACol, int ARow, const QString& Comment);
    void AddColorComment(int ACol, int ARow, const QString& Comment, TColor Color);
    void RemoveComment(int ACol, int ARow) { RemoveCellGraphicType(ACol, ARow, ctComment); }
    void RemoveAllComments();
    bool IsComment(int ACol, int ARow, QString& Comment);
    QString GetComment(int ACol, int ARow);
    void SetComment(int ACol, int ARow, const QString& Value);

    // Text markers (error underlines) on any graphic; a bare cell gets a ctEmpty carrier.
    void AddMarker(int ACol, int ARow, int ErrPos, int ErrLen);
    void RemoveMarker(int ACol, int ARow);
    void RemoveAllMarkers();
    void GetMarker(int ACol, int ARow, int& ErrPos, int& ErrLen);

    // Balloons: on a bare cell, or riding on a check box or radio button.
    enum TBalloonIcon { biNone, biInfo, biWarning, biError };
    void AddBalloon(int ACol, int ARow, const QString& Title, const QString& Text, TBalloonIcon Icon);
    bool HasBalloon(int ACol, int ARow);
    bool IsBalloon(int ACol, int ARow, QString& Title, QString& Text, TBalloonIcon& Icon);
    void RemoveBalloon(int ACol, int ARow);

    // Expand buttons: the row is ExpandedHeight high when expanded, its height at adding
    // when not; the mouse handling sets the height.
    void AddExpand(int ACol, int ARow, int ExpandedHeight);
    void RemoveExpand(int ACol, int ARow) { RemoveCellGraphicType(ACol, ARow, ctExpand); }
    bool HasExpand(int ACol, int ARow);
    bool ToggleExpand(int ACol, int ARow);
    bool GetExpandState(int ACol, int ARow);
    int GetExpandHeight(int ACol, int ARow, bool Expanded);
    void GetExpandRect(int ACol, int ARow, TRect& R);

    // Rotated text (angle in degrees, kept in 0..360).
    void AddRotated(int ACol, int ARow, int16_t AAngle, const QString& s);
    void SetRotated(int ACol, int ARow, int16_t AAngle);
    void RemoveRotated(int ACol, int ARow) { RemoveCellGraphicType(ACol, ARow, ctRotated); }
    bool IsRotated(int ACol, int ARow, int& aAngle);

    // Size of the cell's graphic for auto sizing and for printing.
    virtual TPoint GetCellGraphicSize(int ACol, int ARow);
    virtual void CalcCellGraphicSize(int ACol, int ARow, TPoint& Size, int ExtraHeight = 0);
    virtual TPoint CalcPrintGraphicSize(int ACol, int ARow, int CellWidth, int CellHeight, double Scale);
    // The bitmap, icon or image index of the image kinds; -1 for the others.
    intptr_t CellGraphicValue(int ACol, int ARow);
    // Where text rotated by Angle starts in ARect (shrunk by 2 first) for the alignments.
    virtual void CalcRotatedTextOrigin(TRect& ARect, int Angle, TVAlignment VA, TAlignment HA, const QString& Text);
    // Whether the cell shows the sort indicator of its column.
    bool IsSortIndicatorCell(int RealCol, int ARow);
    // Span of a node row as its tree lines see it: 1 the last row of a span, 2 a row inside.
    virtual int GetNodeSpanType(int ARow);
    // Cell whose button is under the mouse, (-1, -1) when none.
    TPoint FHoverButton{-1, -1};

protected:
    // The kinds with more than a call to draw them.
    void DrawRotatedCell(TCellPaintContext& C, TRect& R, const TRect& G);
    void DrawProgressCell(TCellPaintContext& C, TRect& R);
    void DrawCellButton(TCellPaintContext& C, TRect& R, TRect G);
    void DrawNodeGlyph(TCellPaintContext& C, TRect& R);
    TPoint GraphicSize(int ACol, int ARow, int CellWidth, int CellHeight, int ExtraHeight, bool Print, double Scale);

public:

    // ==== check box, radio button and sort indicator glyphs ====
    // Each draws in the given control style; the forms with a canvas draw there, the others
    // on the grid's canvas.  Clip, when not empty, is the cell: nothing is drawn outside it.
    void DrawCheck(TRect ARect, bool Checked, bool Enabled, bool Grayed, TControlStyle Style, bool TriState,
                   int TriStateValue);
    void DrawCheck(TCanvas* Canvas, TRect ARect, bool Checked, bool Enabled, bool Grayed, TControlStyle Style,
                   bool TriState, int TriStateValue, const TRect& Clip = TRect());
    void DrawRadio(TCanvas* Canvas, TRect ARect, int Count, int Index, bool Horizontal, bool Disabled,
                   TGridStrings* Items, bool Selected, int ACol, int ARow, TControlStyle Style, double Scale,
                   bool BottomUp, const TRect& Clip = TRect());
    // X, Y: the centre of the glyph.
    void DrawSortIndicator(TCanvas* Canvas, int ACol, int X, int Y, const TRect& Clip = TRect());

    // ==== looks, component styles, colour tones; what is painted around the cells ====
    friend class TControlLook;
    // The gradient set of a hovered or pressed fixed cell.
    struct TFixedGradient {
        TColor From, To, MirrorFrom, MirrorTo, Border;
    };
    TFixedGradient HoverGradient() const
    {
        return {FProGradHoverFrom, FProGradHoverTo, FProGradHoverMirrorFrom, FProGradHoverMirrorTo, FProGradHoverBorder};
    }
    TFixedGradient DownGradient() const
    {
        return {FProGradDownFrom, FProGradDownTo, FProGradDownMirrorFrom, FProGradDownMirrorTo, FProGradDownBorder};
    }
    TColor ProGradMirrorFrom() const { return FProGradMirrorFrom; }
    TColor ProGradMirrorTo() const { return FProGradMirrorTo; }
    // The fixed gradient colours, stored as plain RGB values.
    void SetZUZGradientFrom(TColor v);
    void SetZUZGradientTo(TColor v);
    void SetZUZGradientMirrorFrom(TColor v);
    void SetZUZGradientMirrorTo(TColor v);
    void SetActiveCellColor(TColor v) { FActiveCellColor = v; Invalidate(); }
    void SetActiveCellColorTo(TColor v) { FActiveCellColorTo = v; Invalidate(); }
    void SetScrollType(TScrollType Value);
    virtual void SetStyle(TProGridStyle AStyle);
    void SetComponentStyle(TProStyle AStyle);
    void SetColorTones(const TColorTones& ATones);
    void SetTheme(TXPColorScheme Scheme);
    // Follows the desktop's Office theme with the matching component style.
    void UpdateOfficeTheme();
    TOfficeTheme OldOfficeTheme() const { return FOldOfficeTheme; }
    // Names of a look for the visual-properties file and for the design panel; empty for
    // glCustom.
    static QString LookToString(TGridLook ALook);
    static QString LookToDisplayName(TGridLook ALook);

    bool FitCellsInGrid() const { return FFitCellsInGrid; }
    void SetFitCellsInGrid(bool v) { FFitCellsInGrid = v; PaintBorder(); }
    bool SelectionRTFKeep() const { return FSelectionRTFKeep; }
    void SetSelectionRTFKeep(bool v) { FSelectionRTFKeep = v; Invalidate(); }
    bool ShowDesignHelper() const { return FShowDesignHelper; }
    void SetShowDesignHelper(bool v);
    bool ShowColNrs() const { return FShowColNrs; }
    TNotifyEvent OnPainted;
    // The coloured control border, over the platform's frame.
    void PaintBorder();
    // The translucent ring around the cell being edited (ARect: the cell, client pixels).
    void CreateFocusWindow(TRect ARect);
    void HideFocusWindow();
    // Dotted exclusive-or lines while a column or row is sized; drawing one twice removes it.
    void DrawSizingLineVert(int X);
    void DrawSizingLineHorz(int Y);
    // The quick configuration panel of the form designer: 1 "Allow edit", 2 "Column
    // numbers", 3 "Set look", 4 the close glyph, -1 elsewhere.
    virtual void PaintDesignHelper();
    virtual void DesignHelperClick(int X, int Y);
    int DesignHelperHitTest(int X, int Y);
    TRect DesignHelperRect();
    // Picks a look from the design panel's menu; -1 for none (tests replace it).
    std::function<int(const QStringList& Items, int Checked)> OnDesignLookMenu;

protected:
    void WMNCPaint(TMessage& m) override { HandleNCPaintMessage(m); }
    void CMDesignHitTest(TMessage& m) override { HandleDesignHitTestMessage(m); }
    void HandleNCPaintMessage(TMessage& m);
    void HandleDesignHitTestMessage(TMessage& m);
    // What the paint adds after all cells: the edited cell's frame, the background beyond
    // the cells, the design panel, OnPainted.
    void PaintAfterCells();
    // The picture or gradient beyond the last row and column.
    virtual void DrawBackGroundArea();

private:
    void ApplyLookColours(TGridLook Value);
    void StyleDropDownEditors(TProStyle AStyle);
    bool FSelectionRTFKeep = false;

public:
    // ==== selection: the rectangle, disjunct row, column and cell flags, modified and disabled rows ====
    // Flags are per display row and column (per real row with RowSelectPersistent); a cell of
    // the disjunct cell list is (row << 16) | column.
    void SetColSelect(int ACol, bool Value);
    int ColSelectCount() const;
    int SelectedRowCount();
    int SelectedColCount();
    int SelectedCellsCount();
    int GetSelectedRow(int i) const;
    TGridCoord GetSelectedCell(int i) const;
    bool GetSelectedCells(int i, int j) const;
    void SetSelectedCells(int i, int j, bool Value);
    void SelectRows(int RowIndex, int RCount);
    void UnSelectRows(int RowIndex, int RCount);
    void SelectCols(int ColIndex, int CCount);
    void UnSelectCols(int ColIndex, int CCount);
    void SelectRange(int FromCol, int ToCol, int FromRow, int ToRow);
    void SelectCells(int FromCol, int FromRow, int ToCol, int ToRow);
    void ClearRowSelect();
    void ClearColSelect();
    void ClearSelectedCells();
    virtual void SelectionToColSelect(bool All);
    QString SelectedText();
    void SetRowModified(int ARow, bool Value);
    int ModifiedRowCount() const;
    void ClearModifiedRows();
    void SetRowEnabled(int ARow, bool Value);
    void InvalidateCellRange(const TGridRect& R);
    bool ExcelClipboardFormat() const { return FExcelClipboardFormat; }
    void SetExcelClipboardFormat(bool v) { FExcelClipboardFormat = v; }
    bool SelChange() const { return FSelChange; }
    void SetSelChange(bool v) { FSelChange = v; }
    std::function<void(TObject* Sender, int ARow, bool AState, bool& Allow)> OnRowDisjunctSelect;
    std::function<void(TObject* Sender, int ARow)> OnRowDisjunctSelected;

    // ==== clearing, trimming and merging by content; cell checks, fills, dates, repaints and moving to a cell ====
    // (clear_merge.cpp, cell_fills.cpp)  Rows are present rows; the columns of the clearing
    // and trimming ranges are store columns, or display columns with SaveHiddenCells.  An
    // index outside the grid raises "Invalid row accessed" / "Invalid column accessed" before
    // anything changes; reversed or empty ranges do nothing.
    void ClearRows(int RowIndex, int RCount);
    void ClearCols(int ColIndex, int CCount);
    void ClearNormalRows(int RowIndex, int RCount);
    void ClearNormalCols(int ColIndex, int CCount);
    void ClearNormalCells();
    void ClearSelection();
    void Clear();
    void ClearAll();
    virtual void TrimRect(int ACol1, int ARow1, int ACol2, int ARow2);
    void TrimColumn(int ACol);
    void TrimRow(int ARow);
    void TrimAll();
    void ColorRect(int ACol1, int ARow1, int ACol2, int ARow2, TColor AColor);
    void MergeCols(int ColIndex1, int ColIndex2, const QString& Separator);
    // Runs of equal texts become one cell; unless MainMerge a run also has to lie within one
    // block of the columns (rows) merged before, so that merging nests.
    void MergeColumnCells(int ColIndex, bool MainMerge);
    void MergeRowCells(int RowIndex, bool MainMerge);
    void SplitColumnCells(int ColIndex);
    void SplitRowCells(int RowIndex);
    void SplitAllCells();
    bool ClearTextOnly() const { return FClearTextOnly; }
    void SetClearTextOnly(bool v) { FClearTextOnly = v; }
    bool SaveHiddenCells() const { return FSaveHiddenCells; }
    void SetSaveHiddenCells(bool v) { FSaveHiddenCells = v; }
    bool BlockCellChange() const { return FBlockCellChange; }
    void SetBlockCellChange(bool v) { FBlockCellChange = v; }

    // Checks through CellChecker: True when no text had to change (always without a checker).
    bool CheckCell(int ACol, int ARow);
    bool CheckCells(int FromCol, int FromRow, int ToCol, int ToRow);
    bool CheckCol(bool DoFixed, int ACol);
    bool CheckRow(bool DoFixed, int ARow);
    bool CheckGrid(bool DoFixed);
    // Fills of the normal cells (DoFixed: every cell).  FormatFill's format takes the column
    // and the row as its two integer arguments ("%d"/"%1" style).
    void TextFill(bool DoFixed, const QString& Txt);
    void FormatFill(bool DoFixed, const QString& Fmt);
    void RandomFill(bool DoFixed, int Rnd);
    void LinearFill(bool DoFixed);
    void SetDates(int ACol, int ARow, TDateTime Value);
    TDateTime GetDates(int ACol, int ARow);
    void SetTimes(int ACol, int ARow, TDateTime Value);
    TDateTime GetTimes(int ACol, int ARow);
    bool ShowNullDates() const { return FShowNullDates; }
    void SetShowNullDates(bool v) { FShowNullDates = v; }
    // Invalidation of display cells, rows, columns and a cell range.
    void RepaintRect(TRect r);
    void RepaintRow(int ARow);
    void RepaintCol(int ACol);
    void GotoCell(int ACol, int ARow);
    void EditCell(int ACol, int ARow);
    using TBaseGrid::FocusCell;
    // The single cell (ACol, ARow) becomes the selection.
    void FocusCell(int ACol, int ARow);
    // The move to the next cell after Enter, as Navigation says; see cell_fills.cpp.
    void AdvanceEdit(int ACol, int ARow, bool Always, bool AutoEdit, bool Forward, bool Recursing, bool DoEdit);
    // The first cell, row by row, whose raw text is SubStr.
    bool IsCell(const QString& SubStr, int& ACol, int& ARow);
    bool IsWideCell(int ACol, int ARow);
    static TForm* FindParentForm(QWidget* Control);
    bool DisableChange() const { return FDisableChange; }
    using TAutoAdvanceEvent =
        std::function<void(TObject* Sender, int OldRow, int OldCol, int& NewRow, int& NewCol, bool& Allow)>;
    TAutoAdvanceEvent OnAutoAdvance;
    std::function<void(TObject* Sender, int ACol)> OnAutoInsertCol;

protected:
    int FAECol = -1, FAERow = -1;
    bool FDisableChange = false;
    bool FBlockCellChange = false;

private:
    // Checks a store-column range before a clearing or trimming changes anything.
    void CheckClearRange(int ACol1, int ARow1, int ACol2, int ARow2) const;
    void ClearStoreRect(int ACol1, int ARow1, int ACol2, int ARow2);
    // The cells DoFixed names, each given its text.
    void FillCells(bool DoFixed, const std::function<QString(int, int)>& Text);
    bool AdvanceStep(int& ACol, int& ARow, bool Forward, TPoint Span);

public:
    // The text without the marks that a search left in it.
    QString UnMarkText(const QString& S);

    // ==== keyboard: key-down messages and steps, Tab steps, characters and dialog keys ====
    virtual void HandleKeyDownMessage(TMessage& Message);

private:
    // A key-down message as its steps see it: the key and shift state it came with, and the
    // current row, left column, real column and row-select mode when it arrived.
    struct TKeyDownState {
        TMessage& Message;
        int Key;
        TShiftState Shift;
        bool Ctrl, Shifted, Alt;
        int StartRow, StartLeft, RealCol;
        bool RowSelect;
        // A vertical key of a row-select grid that keeps its horizontal scroll.
        bool KeepHoriz;
    };
    // The application's OnKeyDown sees the key (a copy: it cannot change it).  SwallowKey also
    // consumes the key and marks the message handled; SettleKey marks it settled by the grid.
    void KeyDownEvent(const TKeyDownState& K);
    void SwallowKey(TKeyDownState& K);
    void SettleKey(TKeyDownState& K);
    // The key groups of HandleKeyDownMessage, in the order it runs them.  Each returning bool
    // returns True when it ended the message, and no later group runs.
    bool KeyScrollOnly(TKeyDownState& K);
    bool KeyEnterOrF2(TKeyDownState& K);
    void KeyCellControl(TKeyDownState& K);
    bool KeyHomeEnd(TKeyDownState& K);
    bool KeyLeftRight(TKeyDownState& K);
    bool KeyTab(TKeyDownState& K);
    bool KeySkipFixedCells(TKeyDownState& K);
    bool KeyMoveCell(TKeyDownState& K);
    bool KeyInsertRow(TKeyDownState& K);
    bool KeySelectAll(TKeyDownState& K);
    void KeySelectionFlags(TKeyDownState& K);
    void KeyDeleteRow(TKeyDownState& K);
    // Alt+Down and F4 on a list cell open its editor with the list dropped down.
    bool KeyDropList(TKeyDownState& K);

public:
    virtual void HandleKeyUpMessage(TMessage& Message);
    virtual void HandleCharMessage(TMessage& Message);
    virtual void HandleDialogChar(TMessage& Message);
    virtual void HandleKeyPress(QChar& Key);
    // One Tab (Backward: Shift+Tab) step; False when the focus was passed on out of the grid.
    bool TabNavigate(bool Backward);
    bool IsTabStop(int ACol, int ARow);
    int FirstTabStopCol(int ARow);
    int LastTabStopCol(int ARow);
    int FirstNavigableCol();
    int VisibleFixedRightCols();
    bool IsLastNormalRow();
    void AutoAddRow();
    virtual void EditorKeyDown(int& Key, TShiftState Shift) { (void)Key; (void)Shift; }
    virtual void EditorKeyMessage(TMessage& Message) { (void)Message; }
    virtual void SelectionChanged(int ALeft, int ATop, int ARight, int ABottom);
    bool ExcelStyleDecimalSeparator() const { return FExcelStyleDecimalSeparator; }
    void SetExcelStyleDecimalSeparator(bool v) { FExcelStyleDecimalSeparator = v; }
    bool IsDBVersion() const { return FIsDBVersion; }
    void SetIsDBVersion(bool v) { FIsDBVersion = v; }
    std::function<void(TObject* Sender, int ALeft, int ATop, int ARight, int ABottom)> OnSelectionChanged;
    std::function<void(TObject* Sender, bool& CanAdd)> OnCanAddRow;
    std::function<void(TObject* Sender, int ARow)> OnAutoAddRow;
    std::function<void(TObject* Sender, int ARow, bool& CanInsert)> OnCanInsertRow;
    std::function<void(TObject* Sender, int ARow)> OnAutoInsertRow;
    std::function<void(TObject* Sender, int ARow, bool& CanDelete)> OnCanDeleteRow;
    std::function<void(TObject* Sender, int OldRow, int NewRow, bool& Allow)> OnRowChanging;
    std::function<void(TObject* Sender, int OldRow, int OldCol, int NewRow, int NewCol, bool& Allow)> OnCellChanging;
    std::function<void(TObject* Sender, int OldCol, int NewCol, bool& Allow)> OnColChanging;

protected:
    void WMKeyDown(TMessage& m) override { HandleKeyDownMessage(m); }
    void WMKeyUp(TMessage& m) override { HandleKeyUpMessage(m); }
    void WMChar(TMessage& m) override { HandleCharMessage(m); }
    void KeyPress(QChar& Key) override { HandleKeyPress(Key); }
    void HandleKeyDown(int& Key, TShiftState Shift) override;
    void DefaultHandler(TMessage& m) override;
    // Whether the cell (real column) may be edited from the keyboard.
    bool KeyCellEditable(int ACol, int ARow);
    // Passes the focus on to the next (previous) control of the window, after this key.
    void PostTabToParent(bool Backward);
    TGridRect FMoveSelection{};
    TPoint FLastKeyCell{};
    bool FForceSel = false;
    bool FIsDBVersion = false;
    bool FExcelStyleDecimalSeparator = false;
    QChar FStartEditChar;

protected:
    // Drops flags and selected cells that lie beyond the grid after it shrank.
    void ClampSelectionToGrid();
    bool FSelChange = false;
    bool FExcelClipboardFormat = false;

public:
    // ==== editing: editability, editor choice, the in-place editors and cell validation ====
    bool IsEditable(int ACol, int ARow);
    bool CanEditCellEx(int ACol, int ARow);
    bool CanEditShow() override;
    bool CanSelectCell(int ACol, int ARow) override;
    void Select() { CanSelectCell(Col(), Row()); }
    void SimulateCellClick(int ACol, int ARow);
    bool EditorWantsTab();
    virtual void RowChanging(int ACol, int ARow, bool& Allow);
    bool IsPasswordCell(int ACol, int ARow);
    void RepaintHeaderCells(int ACol1, int ARow1, int ACol2, int ARow2);
    void OpenCellEditor(int ACol, int ARow);
    void CloseCellEditor(int ACol, int ARow);
    virtual void SetEditedCell(int ACol, int ARow, const QString& Value);
    void NotifyEditingDone(int ACol, int ARow);
    void ShowInplaceEdit();
    void HideInplaceEdit();
    void DoneInplaceEdit(int Key, TShiftState Shift);
    void HideCellEdit() { CloseCellEditor(Col(), Row()); }
    void ShowCellEdit() { Perform(WM_KEYDOWN, VK_F2); }
    virtual void RestoreCellCache();
    QString EditorTextOfCell(int ACol, int ARow);
    void StoreEditorText(int ACol, int ARow, const QString& Value);
    QString GetEditText(int ACol, int ARow) override { return EditorTextOfCell(ACol, ARow); }
    void SetEditText(int ACol, int ARow, const QString& Value) override { StoreEditorText(ACol, ARow, Value); }
    int GetEditLimit() override { return FMaxEditLength; }
    int EditorMaxLength() { return GetEditLimit(); }
    TInplaceEdit* CreateEditor() override;
    TProInplaceEdit* NormalEdit() const;
    TGridCombo* Combobox() const { return EditCombo; }
    QWidget* EditCtrlWidget() const { return EditCtrl; }
    bool GetEditMode() const { return EditMode; }
    TEditorType CurrentEditor() const { return EditControl; }
    bool EditActive() const { return FEditActive; }
    bool Editing() const { return FEditing; }
    bool ShowEditProcess() const { return FShowEditProcess; }
    QString CellCache() const { return FCellCache; }
    QChar StartEditChar() const { return FStartEditChar; }
    void SetStartEditChar(QChar c) { FStartEditChar = c; }
    int MaxEditLength() const { return FMaxEditLength; }
    void SetMaxEditLength(int v);
    int MaxComboLength() const { return FMaxComboLength; }
    void SetMaxComboLength(int v) { FMaxComboLength = v; }
    // The characters an edValidChars cell accepts; ValidCharSet serves when ValidChars is empty.
    QString ValidChars() const { return FValidChars; }
    void SetValidChars(const QString& v) { FValidChars = v; }
    QString ValidCharSet() const { return FValidCharSet; }
    void SetValidCharSet(const QString& v) { FValidCharSet = v; }
    void ClearComboString();
    void AddComboString(const QString& s);
    void AddComboStringObject(const QString& s, TObject* AObject);
    bool RemoveComboString(const QString& s);
    int GetComboCount();
    void SetComboSelection(int idx) { FComboIdx = idx; }
    bool SetComboSelectionString(const QString& s);
    void SetComboIndex(int ACol, int ARow, int Value);
    int GetComboIndex(int ACol, int ARow);
    virtual void GetEditorProp(int ACol, int ARow, TEditLink* AEditLink);

    // Custom editor link, rich-text editor and header-cell editors (editor_link.cpp)
    TEditLink* EditLink() const { return FEditLink; }
    void SetEditLink(TEditLink* v) { FEditLink = v; }
    // The rich edit that renders rich-text cells (never shown), and the one that edits them.
    TProRichEdit* RichEdit();
    TProRichEdit* InplaceRichEdit();
    void CellToRich(int ACol, int ARow, TProRichEdit* Richeditor);
    QString RichToString(TProRichEdit* Richeditor);
    void RichToCell(int ACol, int ARow, TProRichEdit* Richeditor);
    TGridTransEdit* FixedCellEdit() const { return EditTrans; }
    TGridTransCombo* FixedCellCombo() const { return ComboTrans; }
    std::function<void(TObject* Sender)> OnRichEditSelectionChange;
private:
    friend class TEditLink;
    friend class TProRichEdit;
    void OpenEditLink(int C, int ARow, const TRect& R, TColor Bk, const TFont& AFont, const QString& T);
    void CloseEditLink(int C, int ARow);
    void OpenRichEditor(int C, int ARow, const TRect& R, TColor Bk);
    void CloseRichEditor(int C, int ARow);
    TEditLink* FEditLink = nullptr;
    QPointer<TProRichEdit> FRichEdit;
    QPointer<TProRichEdit> FInplaceRichEdit;
public:
    // Cell validation: the one gate every editor's value passes.
    virtual bool ValidateCell(const QString& NewValue);
    virtual bool ValidateCellWide(const QString& NewValue);
    virtual void SaveOldCellText(int ACol, int ARow);
    virtual void CalcFooterCol(int ACol) { CalcFooter(ACol); }
    void ApplyVCLStyle();
    bool AlwaysValidate() const { return FAlwaysValidate; }
    void SetAlwaysValidate(bool v) { FAlwaysValidate = v; }
    bool Modified() const { return FModified; }
    void SetModified(bool v) { FModified = v; }
    bool GridModified() const { return FGridModified; }
    bool LastValidation() const { return FLastValidation; }
    QString InvalidEntryTitle() const { return FInvalidEntryTitle; }
    void SetInvalidEntryTitle(const QString& v) { FInvalidEntryTitle = v; }
    QString InvalidEntryText() const { return FInvalidEntryText; }
    void SetInvalidEntryText(const QString& v) { FInvalidEntryText = v; }
    TInvalidEntryIcon InvalidEntryIcon() const { return FInvalidEntryIcon; }
    void SetInvalidEntryIcon(TInvalidEntryIcon v) { FInvalidEntryIcon = v; }
    // The balloon that shows why a value was refused, next to the editor; nullptr when none.
    QWidget* InvalidEntryBalloon() const { return FInvalidBalloon; }
    std::function<void(TObject* Sender, int ACol, int ARow, QString& Value, bool& Valid)> OnCellValidate;
    std::function<void(TObject* Sender, int ACol, int ARow, QString& Value, bool& Valid)> OnCellValidateWide;
    std::function<void(TObject* Sender, TRect R)> OnCellsChanged;
    TNotifyEvent OnEditingDone;
    std::function<void(TObject* Sender, int ACol, int ARow, const QString& Value)> OnEditChange;
    std::function<void(TObject* Sender, int ACol, int ARow, int ItemIndex, const QString& ASelection)> OnComboChange;
    std::function<void(TObject* Sender, int ACol, int ARow, int ItemIndex, const QString& ASelection,
                       TObject* AObject)> OnComboObjectChange;
    std::function<void(TObject* Sender, int ACol, int ARow, TEditLink* AEditLink)> OnGetEditorProp;
    std::function<void(TObject* Sender, bool& Allow)> OnClipboardPaste, OnClipboardCopy, OnClipboardCut;
    std::function<void(TObject* Sender, int ACol, int ARow, QString& Value, bool& Allow)> OnClipboardBeforePasteCell;
    std::function<void(TObject* Sender, int ACol, int ARow, const QString& Value)> OnClipboardAfterPasteCell;

protected:
    void Click() override;
    void DoEnter() override;
    void DoExit() override;
    void WMSetFocus(TMessage& m) override;
    void WMKillFocus(TMessage& m) override;
    void ShowInvalidEntryBalloon(QWidget* Editor);
    // The start and end shared by ValidateCell and ValidateCellWide (cell_validation.cpp).
    class TValidationScope;
    // A default-edit kind: the grid's own text edit serves it.
    static bool IsDefaultEditKind(TEditorType k);
    bool FEditing = false;
    bool FValidating = false;
    bool FEntered = false;
    bool FEditActive = false;
    bool FSpecialEditor = false;
    bool FShowEditProcess = false;
    bool FNoEditChange = false;
    bool FBlockFocus = false;
    bool FBlockKill = false;
    bool FAlwaysValidate = false;
    bool FGridModified = false;
    bool FModified = false;
    bool FOldModifiedValue = false;
    bool FNoAutoAdvance = false;
    bool FExitRefused = false;
    int FOldCol = -1, FOldRow = -1;
    int FMaxEditLength = 0, FMaxComboLength = 0;
    QString FCellCache, FEditText, FOldCellText, FOldCellTextWide, FNewCellText;
    QString FInvalidEntryTitle, FInvalidEntryText, FValidChars, FValidCharSet;
    QWidget* EditCtrl = nullptr;
    QPointer<QWidget> FInvalidBalloon;
    // Left at the start or Right at the end of an editor's text (cursor walking): on to the
    // neighbour cell, a click control's cell itself, else the next editable cell that way.
    void WalkOutOfEditor(const QString& Text, bool Forward);
    friend class TProInplaceEdit;
    friend class TFooterPanel;
    friend class TGridCombo;

public:
    // ==== scroll bars, scrolling and sizing, the window message hook, the wheel and panning ====
    // (scroll_bars.cpp, scrolling.cpp, window_proc.cpp, wheel.cpp, panning.cpp)
    TScrollHintType ScrollHints() const { return FScrollHints; }
    void SetScrollHints(TScrollHintType v) { FScrollHints = v; }
    bool ScrollSynch() const { return FScrollSynch; }
    void SetScrollSynch(bool v) { FScrollSynch = v; }
    bool ScrollProportional() const { return FScrollProportional; }
    void SetScrollProportional(bool Value);
    void SetScrollBarAlways(TScrollBarAlways Value);
    void SetScrollColor(TColor Value);
    void SetScrollWidth(int Value);
    TColor ArrowColor() const;
    void SetArrowColor(TColor Value);
    TIntelliPan IntelliPan() const { return FIntelliPan; }
    void SetIntelliPan(TIntelliPan v) { FIntelliPan = v; }
    bool IntelliZoom() const { return FIntelliZoom; }
    void SetIntelliZoom(bool v) { FIntelliZoom = v; }
    bool EnableWheel() const { return FEnableWheel; }
    void SetEnableWheel(bool v) { FEnableWheel = v; }
    bool Panning() const { return wheelpan; }
    TPoint PanOrigin() const { return wheelpanpos; }
    // Thumb size and place of the proportional bars.
    void UpdateHScrollBar();
    void UpdateVScrollBar();
    void StretchRightColumn() { StretchColumn(ColCount() - 1); }
    // The flat scroll bars: the window's own bars drawn in the chosen flat look.
    void InitFlatScrollBars();
    void DoneFlatScrollBars();
    void SetFlatScrollProp(int Index, int Value);
    void SetFlatScrollInfo(int Bar, const TScrollInfo& Info);
    void FlatShowScrollBar(int Bar, bool Show);
    // Refresh the flat bars from the window's bars; also the place where a change of the
    // first visible row or column hands the bars their new state.
    void UpdateFlatVScroll();
    void UpdateFlatHScroll();
    void ApplyFlatScrollStyle();
    void ApplyFlatScrollColor();
    void ApplyFlatScrollWidth();
    void RefreshFlatScrollBars();
    // The thin scroll controls of the metro look.
    virtual void CreateScrollControls();
    virtual void FreeScrollControls();
    virtual bool HasScrollControls() const;
    // Whether the last row already shows whole above the search panel.
    virtual bool LastRowAboveSearchFooter();
    // Grows every shown column and row by X pixels (the zoom factor stays in -10..10).
    void Zoom(int X);
    virtual void AutoSizeCells(bool DoFixedCells, int PaddingX, int PaddingY);
    // Called after every wheel step of the hook with the row change aimed at.
    virtual void WheelMoved(int ADelta, bool& AHandled) { (void)ADelta; (void)AHandled; }
    virtual void WindowMessageHook(TMessage& Message);
    virtual void HandleHorzScroll(TMessage& Message);
    virtual void HandleVertScroll(TMessage& Message);
    virtual bool WheelStepDown(TShiftState Shift, const TPoint& MousePos);
    virtual bool WheelStepUp(TShiftState Shift, const TPoint& MousePos);
    virtual void ColumnWidthsAltered();
    virtual void RowHeightsAltered();
    virtual void HandleDragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept);
    void DragScrollTimer(TObject* Sender);
    QTimer* DragScrollTimerObject() const { return FDragTmr; }
    TDragScrollDirection DragScrollDirection() const { return FDragScrollDirection; }
    std::function<void(TObject* Sender, int ARow, QString& hintstr)> OnScrollHint;
    std::function<void(TObject* Sender, int ACol, int ARow, int ScrollPosition, int ScrollMin, int ScrollMax)>
        OnScrollCell;
    std::function<void(TObject* Sender, int TopRow, int LeftCol, TDragScrollDirection& DragScrollDir,
                       bool& CanScroll)> OnDragScroll;
    // The combo editor's list closed or opened (real column).
    virtual void ComboCloseUp(int ACol, int ARow);
    virtual void ComboDropDown(int ACol, int ARow);
    std::function<void(TObject* Sender, int ARow, int ACol)> OnComboCloseUp;
    std::function<void(TObject* Sender, int ARow, int ACol)> OnComboDropDown;
    std::function<void(TObject* Sender, int ACol, int ARow)> OnEditCellDone;

protected:
    void WndProc(TMessage& m) override { WindowMessageHook(m); }
    void WMHScroll(TMessage& m) override { HandleHorzScroll(m); }
    void WMVScroll(TMessage& m) override { HandleVertScroll(m); }
    bool DoMouseWheelDown(TShiftState Shift, const TPoint& MousePos) override { return WheelStepDown(Shift, MousePos); }
    bool DoMouseWheelUp(TShiftState Shift, const TPoint& MousePos) override { return WheelStepUp(Shift, MousePos); }
    void ColWidthsChanged() override { ColumnWidthsAltered(); }
    void RowHeightsChanged() override { RowHeightsAltered(); }
    void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) override
    {
        HandleDragOver(Source, X, Y, State, Accept);
    }

private:
    void PanStep();
    void EndPanning();
    TRect PanOriginRect() const;
    void DrawPanOrigin();
    void InvalidatePanOrigin();
    // The wheel message: true when settled here.
    bool HandleWheelMessage(TMessage& Message, const TGridRect& EntrySel);
    bool WheelStep(bool Down, TShiftState Shift, const TPoint& MousePos);
    void ShowScrollHint(const QString& Text);
    void UpdateProportionalBar(bool Horz);
    void CheckBoxEditorHide();
    TScrollHintType FScrollHints = shNone;
    bool FScrollSynch = false;
    bool FScrollProportional = false;
    bool FScrollLock = false;
    bool FIsColChanging = false;
    bool FAllSizing = false;
    int FScrollCol = -1, FScrollRow = -1;
    TIntelliPan FIntelliPan = ipVertical;
    TPoint wheelpanpos{};
    int wheeltimer = 0;
    TCursor prevcurs = crDefault;
    TCursor FICursor = crDefault;
    QPointer<QTimer> FDragTmr;
    TDragScrollDirection FDragScrollDirection;
    int FPaintCount = 0;
    // Properties of the flat bars (style, background colour, width), per bar.
    struct TFlatProps {
        int VStyle = 0, HStyle = 0;
        TColor VColor = clNone, HColor = clNone;
        int CXVScroll = 0, CYHScroll = 0;
    } FFlatProps;
    void ApplyFlatLook();

public:

protected:
    void Resize() override;
    bool eventFilter(QObject* watched, QEvent* e) override;

    // Platform notification of a count change.
    void SizeChanged(int OldColCount, int OldRowCount) override;

private:
    void CreateSubObjects(bool InitDesign);
    void CreateEditorControls();
    void CheckRealColumn(int RealCol) const;
    int HorizontalScrollBarHeight() const;

    bool FDesigning;
    bool FTornDown = false;
    bool FLoaded = false;
    bool FLoading = false;

    // dimension and mapping state
    std::array<bool, MaxColumns> FVisibleCol;
    std::array<int, MaxColumns> FAllColWidths{};
    int FNumHidden = 0;
    std::vector<std::unique_ptr<TGridItem>> FGridItems;
    int FFixedFooters = 0;
    int FFixedRightCols = 0;
    bool FFixedRowAlways = false;
    bool FFixedColAlways = false;
    int FFixedRowsMin = 0;
    int FFixedColsMin = 0;
    int FFixedRowHeight = 0;
    int FMaxRowCount = 0;
    int FMaxColCount = 0;
    bool FSelHidden = false;
    TGridRect FOldSelection{};
    bool FNilObjects = false;
    int FMinRowHeight = 0;
    int FMinColWidth = 0;

    // cell defaults
    QString FFloatFormat;
    QString FCheckTrue;
    QString FCheckFalse;
    QString FEditMask;
    QChar FPasswordChar;
    QChar FDelimiter;
    TEditorType FDefaultEditor = edNormal;
    TAlignment FDefaultAlignment = taLeftJustify;
    TVAlignment FVAlignment = vtaTop;
    bool FWordWrapEx = false;
    bool FEnableHTML = false;
    TColor FURLColor = 0;
    TColor FDisabledFontColor = 0;
    bool FUseDisabledFont = false;
    TFont cf;

    // looks
    TGridLook FLook = glStandard;
    TProStyle FStyle = tsOffice2003Blue;
    TColor FBorderColor = 0;
    TColor FHintColor = 0;
    TColor FHighlightColor = 0;
    TColor FHighLightTextColor = 0;
    TColor FSelectionColor = 0;
    TColor FSelectionColorTo = 0;
    TColor FSelectionMirrorColor = 0;
    TColor FSelectionMirrorColorTo = 0;
    TColor FSelectionTextColor = 0;
    int FSelectionColorMixerFactor = 0;
    TColor FSelectionRectangleColor = 0;
    bool FShowSelection = false;
    bool FActiveCellShow = false;
    TColor FActiveCellColor = 0;
    TColor FActiveCellColorTo = 0;
    TFont FFixedFont;
    TFont FActiveCellFont;
    TColor FProGradFrom = 0;
    TColor FProGradTo = 0;
    TColor FProGradMirrorFrom = 0;
    TColor FProGradMirrorTo = 0;
    TScrollType FScrollType = ssNormal;
    TColor FScrollColor = 0;
    int FScrollWidth = 0;
    TScrollBarAlways FScrollBarAlways = saNone;
    bool FIsFlat = false;
    bool FFlat = false;
    TPoint FXYOffset{};
    TColorTones FTones;
    bool FIntegralHeight = false;
    bool FAutoThemeAdapt = false;
    bool FUseVCLStyles = false;

    // platform detection
    bool FIsWinXP = false;
    bool FIsWin7 = false;
    bool FIsWinVista = false;
    bool FIsComCtl6 = false;

    // run-state
    int FUpdateCount = 0;
    int FOldLeftCol = 0;
    int FOldTopRow = 0;
    int FOldRowSel = -1;
    int FGridTimerID = 0;
    unsigned wheelmsg = 0;
    int wheelscrl = 0;
    bool wheelpan = false;
    bool FEditChange = false;
    TCursor FOldCursor = crDefault;

    // construction values of the features built on this grid
    int FLastTabCol = -1;
    int FLastTabRow = -1;
    int FHoverlink = -1;
    bool FShowColNrs = false;
    int FOleDragCol = -1;
    TOfficeTheme FOldOfficeTheme = otUnknown;
    int FLastDesignChoice = -1;
    bool FFitCellsInGrid = false;
    bool FFilterNormalCellsOnly = false;
    bool FLastValidation = false;
    bool FAutoFilterUpdate = false;
    int FFilterCol = -1;
    int FHoverFixedX = -1;
    int FHoverFixedY = -1;
    THoverFixedCells FHoverFixedCells = hfNone;
    bool FUseInternalHintClass = false;
    THintShowLargeTextPos FHintShowLargeTextPos = hpCell;
    TFilterDropDownColumns FFilterDropDownColumns = fdNormal;
    QString FXMLEncoding;
    QString FFilterDropDownClear;
    bool FShowDesignHelper = false;
    bool FEnhRowColMove = false;
    TPoint FPushedCellButton{-1, -1};
    int FOldSize = -1;
    bool FEnableWheel = false;
    int FGroupColumn = -1;
    TPoint FClipTopLeft{-1, -1};
    bool FIntelliZoom = false;
    bool FLoadFirstRow = false;
    TInvalidEntryIcon FInvalidEntryIcon = ieNone;
    bool FQuoteEmptyCells = false;
    TMouseSelectMode FMouseSelectMode = msNormal;
    int FMouseSelectStart = -1;
    bool FShowNullDates = false;
    bool FSaveFixedCells = false;
    bool FSaveFixedRows = false;
    bool FSaveFixedCols = false;
    bool FSaveVirtCells = false;
    bool FSaveHiddenCells = false;
    bool FClearTextOnly = false;
    int FComboIdx = -1;
    int FPrintPageFrom = 0;
    int FPrintPageTo = 0;
    TPoint FLastHintPos{-1, -1};
    bool ColchgFlg = false;
    int Colclicked = -1;
    int Rowclicked = -1;
    bool FSaveWithHTML = false;
    bool EditMode = false;
    TEditorType EditControl = edNormal;

    // owned objects, in creation order
    TFooterPanel* FFooterPanel = nullptr;
    TSearchPanel* FSearchPanel = nullptr;
    std::unique_ptr<TFocusHelper> FFocusHelper;
    std::unique_ptr<TSearchFooter> FSearchFooter;
    std::unique_ptr<TFloatingFooter> FFloatingFooter;
    std::unique_ptr<TPrintSettings> FPrintSettings;
    std::unique_ptr<THTMLSettings> FHTMLSettings;
    std::unique_ptr<TSortSettings> FSortSettings;
    std::unique_ptr<TDragDropSettings> FDragDropSettings;
    std::unique_ptr<TDragScrollOptions> FDragScrollOptions;
    std::unique_ptr<TControlLook> FControlLook;
    std::unique_ptr<TNavigation> FNavigation;
    std::unique_ptr<TColumnSize> FColumnSize;
    std::unique_ptr<TCellNode> FCellNode;
    std::unique_ptr<TBands> FBands;
    std::unique_ptr<TSizeWhileTyping> FSizeWhileTyping;
    std::unique_ptr<TMouseActions> FMouseActions;
    std::unique_ptr<TGrouping> FGrouping;
    std::unique_ptr<TGridStrings> FColumnHeaders;
    std::unique_ptr<THTMLPictureCache> FImageCache;
    TPictureContainer* FPictureContainer = nullptr;
    TCustomImageList* FGridImages = nullptr;
    std::unique_ptr<TIntList> FOrigColSizes;
    std::unique_ptr<TGridStrings> FRowHeaders;
    std::unique_ptr<TGridStrings> Sortlist;
    std::unique_ptr<TGridStrings> FLookupItems;
    // Row, column and cell selection flags, selected rows, modified and disabled rows.
    std::unique_ptr<TGridSelection> FSelect;
    std::unique_ptr<TSortIndexList> FSortIndexes;
    std::unique_ptr<TIntList> FSortRowXRef, FUnSortRowXRef, FMergedColumns;
    std::unique_ptr<TBitmap> FRowIndicator;
    std::unique_ptr<TBackGround> FBackGround;
    THTMLHintWindow* FScrollHintWnd = nullptr;
    std::unique_ptr<TControlList> FControlList;
    std::unique_ptr<TGridProgressAppearance> FProgressAppearance;
    std::unique_ptr<TSyncGrid> FSyncGrid;
    std::unique_ptr<TFilter> FFilter;
    std::unique_ptr<TBalloonSettings> FBalloonSettings;
    std::unique_ptr<TShowModified> FShowModified;
    std::vector<TObject*> FNotifierList;
    std::unique_ptr<TIntList> FColumnOrder;
    std::unique_ptr<TCellGraphic> FCellGraphic;
    std::unique_ptr<TIntList> FIgnoreColumns;
    std::unique_ptr<TFilterDropDown> FFilterDropDown;
    TDropList* FDropList = nullptr;
    TDropCheckList* FDropCheckList = nullptr;
    std::unique_ptr<TGridStrings> FFilterList;

    // editor controls (not while designing)
    TOnDemand<TGridFocusWindow> FFocusWindow;
    TOnDemand<TArrowWindow> ArwU;
    TOnDemand<TArrowWindow> ArwD;
    TOnDemand<TArrowWindow> ArwL;
    TOnDemand<TArrowWindow> ArwR;
    TOnDemand<TGridCombo> EditCombo;
    TOnDemand<TGridTransEdit> EditTrans;
    TOnDemand<TGridTransCombo> ComboTrans;
    TOnDemand<TGridCheckBox> EditCheck;
    TOnDemand<TGridEditBtn> EditBtn;
    TOnDemand<TGridUnitEditBtn> UnitEditBtn;
    TOnDemand<TGridButton> GridButton;
    TOnDemand<THeaderDragButton> MoveButton;
    TOnDemand<TControlEdit> FEditControl;
    TOnDemand<TControlCombo> FComboControl;
    TOnDemand<QScrollBar> FScrollBar;
    TOnDemand<QScrollBar> FPaintScrollBar;

    QPointer<TProStringGridCheck> FCellChecker;
    QPointer<QWidget> FOwnerForm;   // (no QDialog pointer: it is read while the dialog is being destroyed)
    int PrevSizeX = 0;
    int PrevSizeY = 0;
    bool FSizeWithForm = false;

    // ==== update lock, hidden columns and rows, cell hooks ====
protected:
    void Paint() override;
    void WMTimer(TMessage& m) override;
    void WMSize(TMessage& m) override;
    // Keeps the recorded column order in step with every column move.
    void ColumnMoved(int FromIndex, int ToIndex) override;
    // Whether the grid counts as shown: not hidden on purpose (it may lack a parent yet).
    bool GridVisible() const;
    // Raises "Invalid column accessed" for a real column outside the visibility tables.
    void CheckColumnIndex(int ACol, int Limit) const;
    // Row moves on the store that keep the cell objects, which travel with hidden rows.  The
    // store keeps the hidden columns' cells beyond ColCount, and these take them along.
    int StoreColCount();
    void ClearStoreRow(int ARow);
    // Owner rows of the cell properties from FromRow on, after rows moved.
    void RenumberStoreRows(int FromRow);
    // The present rows `Rows` leave the store in one pass; the rows after them move up and
    // merged blocks close over the gaps.  Their cell properties are freed, or left to whoever
    // took them over (hidden rows).  With Kept the rows' slots stay in the store and are
    // handed back there, in ascending row order.
    void TakeOutRows(std::vector<int> Rows, bool FreeProps, std::vector<int>* Kept = nullptr);
    // Empty rows that end up at the present rows `Targets`, in one pass; Fill(k, row) fills
    // the k-th of them (ascending) before merged blocks they land in grow over them.
    void PutInEmptyRows(std::vector<int> Targets, const std::function<void(size_t, int)>& Fill = {});
    // Hidden-row records hold the rows' storage slots; no cell is copied.
    friend class TGridItem;
    // The present rows `Rows` (ascending) leave into records of the real rows `Idx`, as filter
    // pass `FilterPass` (-1: hidden otherwise), keeping their heights when KeepHeight.
    void HideStoreRows(const std::vector<int>& Rows, const std::vector<int>& Idx, int FilterPass, bool KeepHeight);
    void RestoreRow(TGridItem* Item, int ARow);
    // Shows again, in one pass, the rows of the records [First, Last) that Take accepts and
    // frees those records; with LastTarget >= 0 no row lands beyond it (the rows before it
    // shift up).  The number of rows shown.
    int ShowRecords(size_t First, size_t Last, const std::function<bool(const TGridItem&)>& Take, int LastTarget = -1);
    // The records whose real rows lie in FromReal .. ToReal, as positions [first, last).
    std::pair<size_t, size_t> HiddenRange(int FromReal, int ToReal) const;
    // Hides the present rows `Rows` as the next filter pass.
    void HideFilterPass(std::vector<int> Rows);
    // Changes whenever rows are hidden or shown again.
    quint64 FHiddenRowsVersion = 0;
    // Filtering state (row_filter.cpp, filter_drop_down.cpp).
    int FFilterFixedRows = 0;
    bool FFilterDropDownCheck = false;
    QString FLastFilter;
    TPopupMenu* FFixedDropDownMenu = nullptr;
    // The automatic drop-down list of a column, kept until the data under it changes.
    struct TFilterListCache {
        quint64 Store = 0, Hidden = 0;
        int Rows = -1, Fixed = -1, Footers = -1;
        bool Incremental = false;
        QString Clear;
        std::unordered_map<int, QStringList> Columns;
    };
    TFilterListCache FFilterListCache;
    // The conditions of the pass that runs, prepared once (row_filter.cpp).
    struct TFilterPlan;
    const TFilterPlan* FFilterPlan = nullptr;
    bool RowMatchesPlan(const TFilterPlan& Plan, int ARow);
    void RestoreLastPass();
    void CollectFilterValues(int ACol, QStringList& Entries);
    // The column's texts listed by CollectFilterValues, by entry; empty when the list is not
    // the grid's own.
    QHash<QString, QString> AutoFilterValues(int ACol) const;
    void ShowFilterDropDown(int ACol, int ARow);
    void ReplaceNarrowCondition(const QString& ACondition, int AColumn);

protected:
    // Mouse steps of the filter drop-down and the fixed cells' drop-down button
    // (filter_drop_down.cpp): the release that opens a column's list, and the press on a
    // fixed cell's button; True when the press was the button's.
    void FilterDropDownMouseUp(int ACol, int ARow, int X, int Y, int OpenCol);
    bool FixedDropDownMouseDown(TMouseButton Button, int ACol, int ARow, int X);
    std::vector<int> HiddenIdxSorted() const;
    // Row and column structure helpers: the real rows of hidden row items follow rows that
    // left or entered the real row sequence (both ascending real rows).
    void HiddenRowsRemoved(const std::vector<int>& RealRows);
    void HiddenRowsInserted(int RealRow, int Count);
    // Raises EInvalidGridOperation unless [From, From + Count) lies within [0, Limit).
    static void CheckRange(int From, int Count, int Limit);
    // Removes the display rows `Rows` (any order) in one pass, with their flags, heights and
    // merged-block shares; the current cell and the cell controls follow.
    void RemoveRowSet(std::vector<int> Rows, bool FreeProps);
    // Hides the display rows `Rows` in one pass, each remembered at its real row.
    void HideDisplayRows(std::vector<int> Rows);
    // Shows every hidden row whose real row lies in [FromReal, ToReal], each at its place.
    void ShowHiddenRange(int FromReal, int ToReal);
    // Moves store columns [From, From + Count) out and closes the gap / opens Count empty
    // columns at At; merged blocks, owner columns, widths and visibility follow.
    void EraseStoreColumns(int From, int Count);
    void InsertStoreColumns(int At, int Count);
    int FSwaps = 0;
    int FSortRow = -1;
    bool FColMoving = false;
    bool FEditDisable = false;
    bool FFilterDropDownAuto = false;
    bool FFilterIncremental = false;

private:
    int FTimerTicks = 0;
    bool FGridBlink = false;
    bool FEnableBlink = false;
    bool FHovering = false;
    int FFilterLevel = 0;
    // ==== mouse: press, release, double click, right button, move, hover and hints ====
public:
    using TClickCellEvent = std::function<void(TObject* Sender, int ARow, int ACol)>;
    using TCanClickCellEvent = std::function<void(TObject* Sender, int ARow, int ACol, bool& Allow)>;
    using TAnchorClickEvent =
        std::function<void(TObject* Sender, int ARow, int ACol, const QString& Anchor, bool& AutoHandle)>;
    using TAnchorEvent = std::function<void(TObject* Sender, int ARow, int ACol, const QString& Anchor)>;
    using TAnchorHintEvent = std::function<void(TObject* Sender, int ARow, int ACol, QString& Anchor)>;
    using TSizingEvent = std::function<void(TObject* Sender, int AIndex, int ASize)>;
    using TIndexEvent = std::function<void(TObject* Sender, int AIndex)>;
    using TIndexAllowEvent = std::function<void(TObject* Sender, int AIndex, bool& Allow)>;
    using TUpdateColumnSizeEvent = std::function<void(TObject* Sender, int ACol, int& AWidth)>;
    using TSelectionChangedEvent = std::function<void(TObject* Sender, int ALeft, int ATop, int ARight, int ABottom)>;
    using TFixedEditEvent =
        std::function<void(TObject* Sender, int ACol, int ARow, TGridFixedCellEditor& AEditor, QStringList& Values)>;

    // ==== form controls of mini-HTML cell text (cell_controls.cpp) ====
    using TControlClickEvent = std::function<void(TObject* Sender, int ARow, int ACol, const QString& CtrlID,
                                                  const QString& CtrlType, const QString& CtrlVal)>;
    using TControlComboListEvent =
        std::function<void(TObject* Sender, int ARow, int ACol, const QString& CtrlID, const QString& CtrlType,
                           const QString& CtrlVal, QStringList& Values, bool& Edit, int& DropCount)>;
    using TControlComboSelectEvent = std::function<void(TObject* Sender, int ARow, int ACol, int ItemIndex,
                                                        const QString& CtrlID, const QString& CtrlValue)>;
    // Opens the editor on the control after ControlID in the cell's tab order (the first for
    // an empty ID); without one the grid takes the focus back.
    void EditCellControl(int ACol, int ARow, const QString& ControlID);
    void ShowCellControlEditor(int ACol, int ARow, const TRect& R, const QString& ID, const QString& Type,
                               const QString& Value);
    // Writes the edited value into the control's tag and hides the editor.
    void DoneCellControlEdit();
    void ControlEditTab(bool Backward);
    void ControlComboSelect(int ItemIndex);
    bool ControlEditing() const { return FCtrlEditing; }
    TControlEdit* ControlEditor() const { return FEditControl; }
    TControlCombo* ControlComboEditor() const { return FComboControl; }
    TControlClickEvent OnControlClick;
    TControlClickEvent OnControlEditDone;
    TControlComboListEvent OnControlComboList;
    TControlComboSelectEvent OnControlComboSelect;

    // Where a followed link goes (see AnchorTarget in mouse.cpp).
    enum TAnchorTarget { atCell, atBrowser, atEventOnly };
    static TAnchorTarget AnchorTarget(const QString& Anchor);

    bool HintShowCells() const { return FHintShowCells; }
    void SetHintShowCells(bool v) { FHintShowCells = v; }
    bool HintShowLargeText() const { return FHintShowLargeText; }
    void SetHintShowLargeText(bool v) { FHintShowLargeText = v; }
    THintShowLargeTextPos HintShowLargeTextPos() const { return FHintShowLargeTextPos; }
    void SetHintShowLargeTextPos(THintShowLargeTextPos v) { FHintShowLargeTextPos = v; }
    bool HintShowSizing() const { return FHintShowSizing; }
    void SetHintShowSizing(bool v) { FHintShowSizing = v; }
    bool AnchorHint() const { return FAnchorHint; }
    void SetAnchorHint(bool v) { FAnchorHint = v; }
    bool HTMLHint() const { return FHTMLHint; }
    void SetHTMLHint(bool v) { FHTMLHint = v; }
    bool URLEdit() const { return FURLEdit; }
    void SetURLEdit(bool v) { FURLEdit = v; }
    void SetHintColor(TColor v) { FHintColor = v; }
    TMouseSelectMode MouseSelectMode() const { return FMouseSelectMode; }
    TPoint LastHintPos() const { return FLastHintPos; }
    THTMLHintWindow* ScrollHintWindow() const { return FScrollHintWnd; }
    bool ScrollHintShowing() const { return FScrollHintShow; }

    void ClickRadioAt(int ACol, int ARow, int X, int Y);
    void EditFixedCell(int ACol, int ARow);
    void ResetFixedCellHighlight();
    bool IsHoverFixedCell(int ACol, int ARow) const;
    void PrepareCellHint(QString& HintStr, THintInfo& HintInfo);
    virtual void ClickCell(int ARow, int ACol);
    virtual void CheckBoxClick(int ACol, int ARow, bool State);
    virtual void ClickSort(int ACol);
    virtual void FixedEdit(int ACol, int ARow, TGridFixedCellEditor& AEditor, QStringList& Values);
    virtual void BeforeSelectAll(TGridRect& Rect) { (void)Rect; }
    virtual void CellSelectorClick(int ACol, int ARow) { (void)ACol; (void)ARow; }

    TCanClickCellEvent OnCanClickCell;
    TClickCellEvent OnClickCell;
    TClickCellEvent OnDblClickCell;
    TClickCellEvent OnRightClickCell;
    TAnchorClickEvent OnAnchorClick;
    TAnchorEvent OnAnchorEnter;
    TAnchorEvent OnAnchorExit;
    TAnchorHintEvent OnAnchorHint;
    TSizingEvent OnColumnSizing;
    TSizingEvent OnRowSizing;
    TIndexEvent OnEndColumnSize;
    TIndexEvent OnEndRowSize;
    TUpdateColumnSizeEvent OnUpdateColumnSize;
    TIndexAllowEvent OnColumnSize;
    TIndexAllowEvent OnRowSize;
    TIndexAllowEvent OnCanSort;
    TIndexEvent OnClickSort;
    TFixedEditEvent OnFixedEdit;

protected:
    void WMLButtonDown(TMessage& m) override;
    void WMMouseButton(TMessage& m) override;
    void CMHintShow(TMessage& m) override;
    void CMMouseLeave(TMessage& m) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void HandleLeftButtonDown(TMessage& Message);
    void HandleLeftButtonUp(TMessage& Message);
    void HandleLeftDoubleClick(TMessage& Message);
    void HandleRightButtonDown(TMessage& Message);
    void HandleRightButtonUp(TMessage& Message);
    void HandleMouseLeave(TMessage& Message);
    void HandleHintShow(TMessage& Message);
    // Cell-selector mode of descendants: every left press goes to CellSelectorClick.
    bool FCellSelectorMode = false;

private:
    // Left press into the press state; the platform's handling of a message.
    void InheritedMouse(TMessage& m) { TBaseGrid::WMMouseButton(m); }
    void FollowAnchor(int ACol, int ARow, const QString& Anchor);
    // The anchor of the mini-HTML text under a client point; empty when none.
    QString AnchorAt(int ACol, int ARow, int X, int Y);
    // The cell's mini-HTML layout rectangle, and a hit test of its layout at a client point
    // (or of the control ControlID).
    TRect HtmlLayoutRect(int ACol, int ARow);
    // Render arguments with the grid's images, pictures, link colour and theme window.
    THtmlRenderArgs HtmlArgs();
    bool HtmlCellHitTest(int ACol, int ARow, int X, int Y, const QString& ControlID, THtmlRenderArgs& A);
    // A press on a form control of the cell that may be edited; false when there is none.
    bool PressCellControl(int ACol, int ARow, int X, int Y);
    TPoint FCtrlXY{-1, -1};
    QString FCtrlID, FCtrlType;
    bool FCtrlEditing = false;
    bool FCtrlDown = false;
    // The steps of HandleLeftButtonDown, each for what the press hit; those returning bool
    // return true when they handled the press.
    struct TLeftPress {
        int X = 0, Y = 0;
        TShiftState Shift;
        int Col = -1, Row = -1;  // display cell under the mouse
        TPoint Base;             // base cell of a merged block
        int RealCol = -1;        // real column of the base cell
        TRect CellRect;
        bool Header = false;     // in a fixed row or column
        bool Fixed = false;      // a fixed cell (IsFixed)
    };
    void NoteSizingPress(int X, int Y, int ACol, int ARow);
    bool StartFixedSizing(int X, int Y);
    bool PressRadio(const TLeftPress& P);
    bool PressDisjunctRowsCols(const TLeftPress& P, TMessage& Message);
    bool PressLink(const TLeftPress& P);
    bool PressCheckBox(const TLeftPress& P, bool CanEdit);
    void PressCell(const TLeftPress& P, TMessage& Message, bool CanEdit);
    bool SelectFixedCells(int ACol, int ARow, TShiftState Shift);
    void UpdateFixedSizing(int X, int Y);
    void ShowSizingHint(int X, int Y);
    void ReportSelectionChange(const TGridRect& Old);
    int FixedEdgeIndex(bool Cols, int Pos) const;
    void DrawFixedSizingLine(bool Cols, int Pos);
    bool FDoOnClick = false, FMouseDownMove = false, FMouseKeepDown = false, FDeselectState = false;
    bool FSelectionClick = false, FDblClk = false, LButFlg = false, FEditStart = false;
    bool FSizeFixed = false, FSizingFixed = false, FSizeFixedR = false, FSizingFixedR = false;
    int FSizingFixedCol = -1, FSizeFixedX = 0, FSizingFixedRow = -1, FSizeFixedY = 0;
    int Colclickedsize = 0, Rowclickedsize = 0, Clickposx = 0, Clickposy = 0, Clickposdx = 0, Clickposdy = 0;
    int Movecell = -1, MoveOfsX = 0, MoveOfsY = 0, FMoveColInd = -1, FMoveRowInd = -1, FOldKeepLeftCol = 0;
    bool ColMoveFlg = false, ColSizeFlg = false, ColSized = false, Rowsized = false, Invokedchange = false;
    bool FNoMouseLeave = false, FScrollHintShow = false;
    bool FHintShowCells = false, FHintShowLargeText = false, FHintShowSizing = false, FAnchorHint = false;
    bool FHTMLHint = false, FURLEdit = false;
    int FFixedColEdit = -1, FFixedRowEdit = -1;
    QString FAnchor, FLastAnchorHint;
    TGridRect FPressSelection{};

    // ==== hooks, notifications, column and row moving, background (grid_hooks.cpp,
    // col_row_moving.cpp, background.cpp) ====
public:
    enum TGridExportState { esExportStart, esExportNewRow, esExportDone, esExportSelRow, esExportFail, esExportNextRow };
    enum TGridImportState { isImportStart, isImportNewRow, isImportDone, isImportSelRow };
    using TCellSaveLoadEvent = std::function<void(TObject* Sender, int ACol, int ARow, QString& Value)>;
    using TGridBalloonEvent =
        std::function<void(TObject* Sender, int ACol, int ARow, QString& ATitle, QString& AText, int& AIcon)>;
    using TMoveAllowEvent = std::function<void(TObject* Sender, int AIndex, bool& Allow)>;
    // Progress of an export or import, for descendants.
    virtual void ExportNotification(TGridExportState AState, int ARow) { (void)AState; (void)ARow; }
    virtual void ImportNotification(TGridImportState AState, int ARow) { (void)AState; (void)ARow; }
    // A row inserted or deleted from the keyboard; the only normal row is emptied instead of
    // deleted.
    virtual void InsertRowHook(int ARow);
    virtual void RemoveRowHook(int ARow);
    virtual void FilterDone();
    virtual void EditorCaretMoved(const QString& Text, TPoint Caret, int Index)
    {
        (void)Text; (void)Caret; (void)Index;
    }
    virtual void StartBlockFocus();
    virtual void EndBlockFocus();
    // WM_NOTIFY from a child control or the balloon tooltip.
    virtual void HandleNotifyMessage(TMessage& Message);
    void SetSyncGrid(const TPersistent* v) { FSyncGrid->Assign(v); }
    bool SaveVirtCells() const { return FSaveVirtCells; }
    void SetSaveVirtCells(bool v) { FSaveVirtCells = v; }
    bool SaveWithHTML() const { return FSaveWithHTML; }
    void SetSaveWithHTML(bool v) { FSaveWithHTML = v; }
    bool SaveWithRTF() const { return FSaveWithRTF; }
    void SetSaveWithRTF(bool v) { FSaveWithRTF = v; }
    // The text the balloon tooltip reads after the notification, and the cell it is for.
    const char16_t* ToolTipBuffer() const { return FToolTipBuffer.data(); }
    TPoint LastBalloonPos() const { return FLastBalloonPos; }
    TCellSaveLoadEvent OnSaveCell;
    TCellSaveLoadEvent OnLoadCell;
    std::function<void(TObject* Sender, int ARow)> OnAutoDeleteRow;
    std::function<void(TObject* Sender, int ACol, int ARow, double ADateTime)> OnDateTimeChange;
    TGridBalloonEvent OnCellBalloon;
    TNotifyEvent OnStartBlockFocus;
    TNotifyEvent OnEndBlockFocus;

    // Moving columns and rows by dragging their header cells.
    bool EnhRowColMove() const { return FEnhRowColMove; }
    void SetEnhRowColMove(bool v) { FEnhRowColMove = v; }
    THeaderDragButton* HeaderDragButton() const { return MoveButton; }
    TNoActiveForm* MoveImageForm() const { return MoveForm; }
    // The arrows marking where a dragged column (up, down) or row (left, right) goes.
    TArrowWindow* MoveArrow(TArrowDirection Direction) const;
    TMoveAllowEvent OnColumnMove;
    TMoveAllowEvent OnRowMove;
    TMoveAllowEvent OnColumnMoving;
    TMoveAllowEvent OnRowMoving;

    // The metro look's scroll indicators (nullptr without them).
    TScrollControl* VertScrollControl() const { return vscrlctrl; }
    TScrollControl* HorzScrollControl() const { return hscrlctrl; }

protected:
    void RowMoved(int FromIndex, int ToIndex) override;
    bool EndRowDrag(int& Origin, int& Destination, const TPoint& MousePt) override;
    // The dragged header's image, the arrows and the cursor at one mouse step; the end of the
    // move at the release (true when a move ended there).
    void MovingStep(int X, int Y);
    bool EndEnhancedMove();
    void HideMoveArrows();
    // The background of the cell area R (D6 of the cell painter).
    void DrawBackGroundFixed(TCanvas* ACanvas, TRect R);
    void DrawBackGroundTiled(TCanvas* ACanvas, int ACol, int ARow, TRect R);
    void DrawBackGroundGradient(TCanvas* ACanvas, TRect R);
    void DrawAreaBackGroundFixed(TRect R);
    void DrawAreaBackGroundTiled(TRect R);

private:
    // A last normal row kept (it is emptied) rather than deleted.
    bool KeepsLastNormalRow();
    // Repeats a column or row move on the synchronised grid.
    void SyncMove(bool Columns, int FromIndex, int ToIndex);
    QString RichPlainText(int ACol, int ARow);
    std::array<char16_t, 2049> FToolTipBuffer{};
    TPoint FLastBalloonPos{-1, -1};
    bool FSaveWithRTF = false;
    bool FSyncedMove = false;
    TNoActiveForm* MoveForm = nullptr;
    TScrollControl* vscrlctrl = nullptr;
    TScrollControl* hscrlctrl = nullptr;

public:
    // The balloon tooltip window, which receives the TTM_ messages.
    virtual QObject* BalloonToolTip();
    // ==== drawing notifications and the list-view look (render/notifications.cpp) ====
public:
    // The canvas of the footer panel, null while the grid has none.
    TCanvas* FooterCanvas() const;
    // The header cell the mouse is over in the list-view look, (-1, -1) when none.
    TPoint HotFixedCell() const { return FHotFixedCell; }

protected:
    void changeEvent(QEvent* e) override;
    void HandleEnabledChanged(TMessage& Message);
    void HandleColorChanged(TMessage& Message);
    void HandleFontChanged(TMessage& Message);
    void HandleCursorChanged(TMessage& Message);

private:
    // Settles the platform's change notifications; false for any other message.
    bool HandleChangeNotification(TMessage& Message);
    // Moves the list-view look's hot header cell to (ACol, ARow), repainting both cells.
    void TrackHotFixedCell(int ACol, int ARow);
    // The list-view look's headers at a press (the hot cell shows pressed) and at the
    // release (row 0, and column 0 with fixed columns, rest again).
    void RepaintListViewHeaders(bool Released);
    bool IsHeaderCell(int ACol, int ARow) const;
    // The list-view look of a header cell: the style's header section, hot or pressed.
    void DrawListViewHeader(TCellPaintContext& C);
    // Where the text rectangle tr of a cell lies in a right-to-left grid: mirrored within R.
    TRect MirrorInCell(const TRect& tr, const TRect& R) const;
    // The glyph routines take left-to-right positions and mirror them in a right-to-left
    // grid; these turn a position on the window into the one that lands there.
    TRect GlyphRect(const TRect& Drawn) const;
    int SortIndicatorX(int DrawnX) const;
    // A node cell's glyph and tree lines are laid out as in a left-to-right cell starting at
    // x 0; this is where Local lands in the cell Cell (mirrored from its right edge right to left).
    TRect NodeCellRect(const TRect& Local, const TRect& Cell) const;
    // The point of the cell R that a left-to-right hit test of X should look at: X itself, or
    // right to left its mirror within R.
    int MirrorXInCell(int X, const TRect& R) const;
    // Right to left, where mini-HTML laid out in Layout (of the cell Cell) goes: mirrored
    // within the cell and ending at its right; Layout itself left to right.
    TRect HtmlRectRightToLeft(TCanvas* Canvas, const QString& Text, const TRect& Layout, const TRect& Cell);
    // A word-broken text that needs more lines than tr shows: drawn on one line when only
    // one fits, else cut after the last line that fits whole.
    void FitWrappedText(TCanvas* Canvas, QString& Text, TRect& tr, uint32_t& Flags);
    // The red zig-zag under the characters Pos .. Pos + Len - 1 of a text drawn in tr.
    void DrawMarkedRange(TCanvas* Canvas, const QString& Text, const TRect& tr, uint32_t Flags, int YOffset, int Pos,
                         int Len);
    TPoint FHotFixedCell{-1, -1};

    // ==== spin, date and time, and edit-button editors (grid_spin.cpp, grid_date_pickers.cpp,
    // grid_edit_btn.cpp) ====
public:
    // Made on first use, hidden and disabled between uses.
    TGridSpin* SpinEdit();
    TGridDatePicker* DateTimePicker();
    TGridDateTimePicker* DateAndTimePicker();
    TGridEditBtn* BtnEdit() const { return EditBtn; }
    TGridUnitEditBtn* BtnUnitEdit() const { return UnitEditBtn; }
    TGridCheckBox* CheckEditor() const { return EditCheck; }
    TGridButton* ButtonEditor() const { return GridButton; }
    std::function<void(TObject* Sender, int ACol, int ARow, int AValue, bool UpDown)> OnSpinClick;
    std::function<void(TObject* Sender, int ACol, int ARow, double AValue, bool UpDown)> OnFloatSpinClick;
    std::function<void(TObject* Sender, int ACol, int ARow, TDateTime AValue, bool UpDown)> OnDateSpinClick;
    std::function<void(TObject* Sender, int ACol, int ARow, TDateTime AValue, bool UpDown)> OnTimeSpinClick;
    std::function<void(TObject* Sender, int ACol, int ARow, QString& S)> OnEllipsClick;
    // Fires OnEllipsClick for the current cell with the editor's text; Result is the text
    // the event leaves.
    void EllipsClick(const QString& S, QString& Result);

private:
    friend class TGridEditorHost;
    // The host of the special editor of a kind, nullptr for the kinds without one.
    TGridEditorHost* EditorHostOf(TEditorType Kind);
    friend class TGridSpin;
    friend class TGridDatePicker;
    friend class TGridDateTimePicker;
    friend class TGridEditBtn;
    friend class TGridUnitEditBtn;
    friend class TGridCheckBox;
    friend class TGridButton;
    void OpenSpinEditor(int C, int ARow, const TRect& R, TColor Bk, const QString& T);
    void CloseSpinEditor(int C, int ARow);
    void OpenDateEditor(int C, int ARow, const TRect& R, TColor Bk, const QString& T);
    void CloseDateEditor(int C, int ARow);
    // The date a date editor opens with for the cell text T.
    TDateTime StartDate(const QString& T);
    // Deletes the editors made on first use, before the grid itself goes.
    void DropSpinAndDateEditors();
    TGridSpin* FSpinEdit = nullptr;
    TGridDatePicker* FDatePicker = nullptr;
    TGridDateTimePicker* FDateTimePicker = nullptr;
    TDateTime FOriginalDateTime = 0;

public:
    // Bounds the date editors start within (0: none) and the text-to-date hook they open with.
    TDateTime MinDate() const { return FMinDate; }
    void SetMinDate(TDateTime v) { FMinDate = v; }
    TDateTime MaxDate() const { return FMaxDate; }
    void SetMaxDate(TDateTime v) { FMaxDate = v; }
    std::function<void(TObject* Sender, const QString& S, TDateTime& D)> OnCustomStrToDate;
    // The press that opened the editor hit the upper or lower half of the cell's spin buttons.
    bool FSpinUpClick = false;
    bool FSpinDnClick = false;

private:
    TDateTime FMinDate = 0;
    TDateTime FMaxDate = 0;

    // ==== drop-down editors (grid_dropdowns.cpp) ====
public:
    // Made on first use, hidden and disabled between uses.
    TGridTrackbarDropDown* TrackbarDropDown();
    TGridMemoDropDown* MemoDropDown();
    TGridCalculatorDropDown* CalculatorDropDown();
    TGridTimepickerDropDown* TimePickerDropDown();
    TGridColorDropDown* ColorPickerDropDown();
    TGridImageDropDown* ImagePickerDropDown();
    TGridDetailPickerDropDown* DetailPickerDropDown();
    TGridGridDropDown* GridDropDown();
    TGridProGridDropDown* ProGridDropDown();
    // The colour and image pickers chose: OnColorSelect and OnImageSelect for the current cell.
    virtual void ColorSelect();
    virtual void ImageSelect();
    // A header or footer button of a drop-down editor's list was clicked.
    void RelayHeaderButtonClick(int ButtonIndex);
    void RelayFooterButtonClick(int ButtonIndex);
    // The memo editor's lines changed: they go into the current cell at once.
    void MemoDropDownChange(QObject* Sender);
    std::function<void(TObject* Sender, int ACol, int ARow, TColor Color, const QString& Value)> OnColorSelect;
    std::function<void(TObject* Sender, int ACol, int ARow, int Index)> OnImageSelect;
    // Asked when a colour or image editor closes, with the value it will store.
    std::function<void(TObject* Sender, int ACol, int ARow, TColor& Color, QString& Value)> OnColorSelected;
    std::function<void(TObject* Sender, int ACol, int ARow, int& Index)> OnImageSelected;
    std::function<void(TObject* Sender, int ACol, int ARow, int ButtonIndex)> OnDropDownHeaderButtonClick;
    std::function<void(TObject* Sender, int ACol, int ARow, int ButtonIndex)> OnDropDownFooterButtonClick;

private:
    template <class TControl> friend class TGridDropDown;
    TGridDropDownEditor* DropDownEditorOf(TEditorType Kind);
    std::vector<TProCustomDropDown*> CreatedDropDownEditors() const;
    void OpenDropDownEditor(int C, int ARow, const TRect& R, TColor Bk, const QString& T);
    void CloseDropDownEditor(int C, int ARow);
    // Deletes the drop-down editors, before the grid itself goes.
    void DropDropDownEditors();
    TGridTrackbarDropDown* FEditTrackBar = nullptr;
    TGridMemoDropDown* FEditMemo = nullptr;
    TGridCalculatorDropDown* FEditCalculator = nullptr;
    TGridTimepickerDropDown* FEditTimePicker = nullptr;
    TGridColorDropDown* FEditColorPicker = nullptr;
    TGridImageDropDown* FEditImagePicker = nullptr;
    TGridDetailPickerDropDown* FEditDetailPicker = nullptr;
    TGridGridDropDown* FEditGridPicker = nullptr;
    TGridProGridDropDown* FEditProGridPicker = nullptr;

public:
    // ==== typing look-up, editor hooks, current base cell, form-control values, cell cursor
    // (control/edit_support.cpp, pro_inplace_edit.cpp, grid_combo.cpp, input/set_cursor.cpp) ====
    // Typing in the default edit or an editable combo completes the text from the first item
    // that begins with it (the combo's own items first, then LookupItems).
    bool Lookup() const { return FLookup; }
    void SetLookup(bool v) { FLookup = v; }
    bool LookupCaseSensitive() const { return FLookupCaseSensitive; }
    void SetLookupCaseSensitive(bool v) { FLookupCaseSensitive = v; }
    // Every text an editor leaves with is remembered as a look-up item (the combo's items).
    bool LookupHistory() const { return FLookupHistory; }
    void SetLookupHistory(bool v) { FLookupHistory = v; }
    // Told whether the default edit's text is a formula (starts with "="); empty here.
    virtual void EditorFormulaMode(bool Active) { (void)Active; }
    // The current cell, or the base cell of its merged block, written as an editor writes it.
    void SetCurrentBaseCell(const QString& Value);
    // The value of the mini-HTML form control with that ID in a cell ('' without one); the
    // setter rewrites the control's tag and writes the cell only when the control is there.
    QString GetCtrlVal(int ACol, int ARow, const QString& ID);
    void SetCtrlVal(int ACol, int ARow, const QString& ID, const QString& Value);
    // The cursor over a cell: OnGetCellCursor may put another in place of the grid's.
    virtual void GetCellCursor(int ACol, int ARow, int X, int Y);
    std::function<void(TObject* Sender, int ACol, int ARow, int X, int Y, TCursor& ACursor)> OnGetCellCursor;
    // Ends editing of a range-select-and-edit grid: goEditing goes.
    virtual void EndRangeEdit();
    // Sees the rectangle of a select-all by key just before it is applied; empty here.
    virtual void SelectAllHook(const TGridRect& R) { (void)R; }
    // Fired after OnGetEditorProp with the column first and the row second.
    std::function<void(TObject* Sender, int ACol, int ARow, TEditLink* AEditLink)> OnGetEditorPropInt;

protected:
    // The cursor over the grid: the platform's, then the cell's own (input/set_cursor.cpp).
    void WMSetCursor(TMessage& m) override;
    void HandleSetCursor(TMessage& m);

private:
    // The horizontal wheel, or Shift with the wheel: the columns scroll sideways (wheel.cpp).
    void WheelColumns(bool Right, const TGridRect& EntrySel);
    bool FLookup = false;
    bool FLookupCaseSensitive = false;
    bool FLookupHistory = false;

public:
    // ==== sorting (data/sorting.cpp) ====
    // The normal rows by SortSettings.Column, by SortIndexes, inside the deepest expanded
    // groups, and back to the order the cross-reference records.  Rows that compare equal keep
    // their order; every sort moves the rows once.
    virtual void QSort();
    virtual void QSortIndexed();
    virtual void QSortGroup();
    virtual void QSortGroupIndexed();
    virtual void QUnSort();
    void Sort(int Column, TSortDirection Direction);
    void SortByColumn(int Col);
    // Only the rows Left..Right, by one column in SortSettings.Direction or by SortIndexes.
    void QuickSort(int Col, int Left, int Right);
    void QuickSortIndexed(int Left, int Right);
    // One exchange step: the rows swap when they are out of order in Col (ties: next columns).
    bool SortLine(int Col, int ARow1, int ARow2);
    // -1, 0 or 1: 1 when the first row's cell sorts after the second's in ascending terms.
    int CompareCells(int ACol, int ARow1, int ARow2, TSortDirection Direction);
    void InitSortXRef();
    // Splits the merged cells of every column; merges again the columns in MergedColumns.
    void SplitAllColumnCells();
    void RemergeColumnCells();
    int Compares() const { return FCompares; }
    void SetCompares(int v) { FCompares = v; }
    // Milliseconds the last header-click sort took.
    int64_t SortTime() const { return FSortTime; }
    std::function<void(TObject* Sender, const QString& str1, const QString& str2, int& Res)> OnCustomCompare;
    std::function<void(TObject* Sender, int ACol, int Row1, int Row2, int& Res)> OnRawCompare;

private:
    struct TSortColumnSource SortColumnSource(int ACol, bool Descending, int FirstRow);
    // (column, descending) in the order ties are decided.
    std::vector<std::pair<int, bool>> SortColumns(bool Indexed, int Col);
    std::vector<int> SortedRows(const std::vector<int>& Rows, const std::vector<std::pair<int, bool>>& Columns);
    // Row i takes what row Order[i] held, with everything that belongs to the row.
    void ApplyRowOrder(const std::vector<int>& Order);
    void RunSort(bool Indexed, bool Grouped, bool PlainFrame);
    void QuickSortRange(int Col, int Left, int Right, bool Indexed);
    // The header click in the sort row (input/mouse.cpp).
    void HeaderClickSort(int ACol, TShiftState Shift);
    int FCompares = 0;
    int64_t FSortTime = 0;

public:
    // ==== cell stream and clipboard (data/cell_stream.cpp, data/clipboard.cpp) ====
    enum TClipOperation { coCut, coCopy };
    // The cells Rect.Left..Right x Rect.Top..Bottom (real indexes, corners included) as a grid
    // cell stream; a rectangle reaching beyond row or column 65535 raises EProGridError.
    void SaveRectToBinStream(TRect Rect, QIODevice& Stream);
    void SaveToBinStream(QIODevice& Stream);
    void SaveToBinFile(const QString& FileName);
    // The whole stream is read and checked first; a malformed one raises and changes nothing.
    void LoadAtPointFromBinStream(TPoint Point, QIODevice& Stream);
    void LoadFromBinStream(QIODevice& Stream);
    void LoadFromBinFile(const QString& FileName);
    // The ID this grid writes into stream headers; IsOwnStreamID tells a stream this process wrote.
    int GridStreamID();
    static bool IsOwnStreamID(qint64 ID);

    void CopyToClipBoard();
    void CopySelectionToClipboard();
    void CutToClipboard();
    void CutSelectionToClipboard();
    void PasteFromClipboard();
    void PasteSelectionFromClipboard();
    QString GetSelectionAsText();
    void SetSelectionAsText(const QString& Value);
    // The clipboard text of a block of display columns and present rows.
    void BuildClipboardText(TGridRect R, bool SelectedOnly, QString& Text);
    // Pastes what Data carries at (ACol, ARow): the cell stream, else rich text, else text;
    // the number of cells pasted, with the block's rows and columns.
    int PasteMimeData(const QMimeData* Data, int ACol, int ARow, int& Rows, int& Cols);
    int PasteText(int ACol, int ARow, int& Rows, int& Cols, const QString& Text);
    TClipOperation ClipLastOp() const { return FClipLastOp; }
    TPoint ClipTopLeft() const { return FClipTopLeft; }
    std::function<void(TObject* Sender, int ACol, int ARow, QString& Value, bool& Allow)>
        OnClipboardBeforePasteWideCell;
    std::function<void(TObject* Sender, int ACol, int ARow, const QString& Value)> OnClipboardAfterPasteWideCell;
    // The selection-resize handle: the selection when the handle was pressed, and as it stands.
    std::function<void(TObject* Sender, TGridRect OldSel, TGridRect NewSel)> OnSelectionResize;
    std::function<void(TObject* Sender, TGridRect OldSel, TGridRect NewSel)> OnSelectionResized;
    bool MouseResizing() const { return FMouseResize; }

protected:
    virtual void PasteCellText(int ACol, int ARow, const QString& Value);
    virtual void BeginPasteCells() {}
    virtual void EndPasteCells() {}
    virtual void CellsPasted(TPoint ClipTopLeft, TRect R, TClipOperation LastOp)
    {
        (void)ClipTopLeft; (void)R; (void)LastOp;
    }
    virtual bool CanPasteCells() { return true; }
    // The square at the bottom-right corner of the selection's last cell.
    bool OnSelectionHandle(int X, int Y);
    // A press on the handle copies the selection; the release pastes it into the new one.
    bool PressSelectionHandle(int X, int Y, TMessage& Message);
    void ReleaseSelectionHandle();

private:
    // The clipboard keys of the key-down message (input/keyboard.cpp).
    bool KeyClipboard(TKeyDownState& K);
    // With Paste the cells go through the paste rules: only cells a paste may change, with the
    // paste events and undo records; properties and graphics only with their written text.
    void ApplyCellStream(const TCellStream& S, TPoint Point, bool Paste = false);
    void CopyRectToClipboard(TGridRect R, bool SelectedOnly);
    int PasteCells(int ACol, int ARow, int& Rows, int& Cols);
    void ExtendSelectionToMerges();
    void SmartPaste(int Pasted, TGridRect Sel, int Rows, int Cols);
    // Grows the grid to hold a block of Rows x Cols cells at (ACol, ARow) as far as allowed
    // and capped; inserts the rows first with paInsert.
    void GrowForPaste(int ACol, int ARow, int Rows, int Cols, bool Insert);
    bool PasteAllowedAt(int RealCol, int ARow);
    // Whether the cell was written.
    bool PasteOneCell(int ACol, int ARow, QString Value, bool Events);
    int FStreamID = 0;
    TClipOperation FClipLastOp = coCopy;
    bool FPasteAll = false;
    bool FMouseResize = false;
    TGridRect FDropSelection{};

public:
    // ==== drag and drop (data/drag_drop.cpp) ====
    // What a drag carries, as a drop takes it.
    enum TDropFormat { dfText, dfFile, dfCol, dfRTF, dfURL, dfGridCells };
    using TDropFormats = TSet<TDropFormat>;
    // The formats of drag data; a column counts only when the drag comes from this process.
    static TDropFormats DropFormatsOf(const QMimeData* Data, bool FromThisProcess);
    // The drag data of the cells R (display columns): their text, as HTML, the rich text of
    // the cell (ACol, ARow) while OleDropRTF is on, and the cell stream with AllowFmtClipboard.
    QMimeData* CellsDragData(TGridRect R, int ACol, int ARow);
    // Run a drag of cells or of one column; the effect the target took, IgnoreAction when the
    // drag was cancelled or nothing took it.
    Qt::DropAction DragDropText(QMimeData* Data);
    Qt::DropAction DragDropColumn(int ACol);
    // The image shown beside the cursor while cells are dragged: the visible part of R, no
    // larger than the screen.
    QPixmap DragImage(TGridRect R);
    // Runs a drag in place of QDrag::exec when set.
    std::function<Qt::DropAction(QDrag& Drag)> DragExec;
    // Loads a dropped .xls file in place of LoadFromXLS when set.
    std::function<void(TProStringGrid* Grid, const QString& FileName)> DropXLSLoader;
    // The cells the last drop on this grid filled (display columns); Left < 0 when none.
    TGridRect OleDropRect() const { return FOleDropRect; }

    std::function<void(TObject* Sender, int ARow, int ACol, const QString& Data, bool& Allow)> OnOleDrag;
    std::function<void(TObject* Sender, int ARow, int ACol)> OnOleDragStart;
    std::function<void(TObject* Sender, Qt::DropAction OLEEffect)> OnOleDragStop;
    std::function<void(TObject* Sender, int ARow, int ACol, bool& Allow)> OnOleDragOver;
    std::function<void(TObject* Sender, int ARow, int ACol, const QString& Data, bool& Allow)> OnOleDrop;
    std::function<void(TObject* Sender, int ARow, int ACol, int DropCol)> OnOleDropCol;
    std::function<void(TObject* Sender, int ARow, int ACol, const QString& FileName, bool& Allow)> OnOleDropFile;
    std::function<void(TObject* Sender, int ARow, int ACol, const QString& URL, bool& Allow)> OnOleDropURL;
    std::function<void(TObject* Sender, TGridRect ARect)> OnOleDropped;

protected:
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dragMoveEvent(QDragMoveEvent* e) override;
    void dragLeaveEvent(QDragLeaveEvent* e) override;
    void dropEvent(QDropEvent* e) override;
    // After a drop into cells: marks the dropped rows modified with ShowModified.
    virtual void OleDropped();

private:
    // The target of a drop at (X, Y) (client coordinates); Append: below the last row with
    // OleEntireRows and OleAppendRows.  False outside the cells.
    bool OleDropCell(int X, int Y, bool Cols, int& ACol, int& ARow, bool& Append);
    void DragMouseMove(QPoint Pt, bool& Allow, TDropFormats Formats);
    // Each answers whether the drop was taken.
    bool DropText(QPoint Pt, const QString& S);
    bool DropStream(QPoint Pt, const QMimeData* Data);
    bool DropCol(QPoint Pt, int Col);
    bool DropRTF(QPoint Pt, const QString& S);
    bool DropFiles(QPoint Pt, const QStringList& Files);
    bool DropURL(QPoint Pt, const QString& S);
    Qt::DropAction DropEffect(const QDropEvent* e) const;
    bool PasteEnabled();
    // One text into one cell as a paste does it (rules, events, one undo step).
    bool PasteSingleCell(int ACol, int ARow, const QString& Value);
    // A press on a selected cell that may become a drag; the move that starts it (true when
    // a drag ran); a release without a drag.
    bool PressDragStart(const TLeftPress& P);
    bool StartOleDrag(TShiftState Shift, int X, int Y, int ACol, int ARow);
    bool ReleaseSelectionClick(int ACol, int ARow, int X, int Y, TShiftState Shift);
    Qt::DropAction RunDrag(QMimeData* Data, const QPixmap& Image);
    bool FOleDropOk = false;
    TDropFormats FOleDropFormats;
    TGridRect FOleDropRect{-1, -1, -1, -1};

public:
    // ==== text, CSV, ASCII and fixed-width files (data/text_files.cpp, data/csv_files.cpp) ====
    // Every reader parses its whole input before the grid changes: bad input raises and
    // leaves the grid as it was.  Loads beyond these counts are refused.
    static constexpr int MaxLoadRows = 1048576;
    static constexpr int MaxLoadCols = MaxColumns - 1;
    // Unicode: UTF-16 with a byte-order mark (CSV: UTF-8 with one); else the ANSI code page.
    // Every save is written whole through a temporary file; a failed one raises EInOutError
    // and keeps the old file.
    void SaveToFile(const QString& FileName, bool Unicode = false);
    void LoadFromFile(const QString& FileName);
    void SaveToCSV(const QString& FileName, bool Unicode = false);
    void AppendToCSV(const QString& FileName, bool Unicode = false);
    // MaxRows > 0 reads at most that many lines.
    void LoadFromCSV(const QString& FileName, int MaxRows = 0);
    void InsertFromCSV(const QString& FileName, int MaxRows = 0);
    void LoadFromCSVStream(QIODevice& AStream, int MaxRows = 0);
    void SaveToASCII(const QString& FileName, bool Unicode = false);
    void AppendToASCII(const QString& FileName, bool Unicode = false);
    // Widths in characters per saved column; missing ones are appended to the list.
    void SaveToFixed(const QString& FileName, TIntList* Positions);
    // 1-based character positions; the list is sorted in place.
    void LoadFromFixed(const QString& FileName, TIntList* Positions, bool DoTrim = true, int MaxRows = -1);
    double CellToReal(int ACol, int ARow);
    // The length of the longest line of a column's saved texts over all rows.
    int MaxColumnTextLength(int ACol);
    QChar Delimiter() const { return FDelimiter; }
    void SetDelimiter(QChar v) { FDelimiter = v; }
    bool JavaCSV() const { return FJavaCSV; }
    void SetJavaCSV(bool v) { FJavaCSV = v; }
    bool QuoteEmptyCells() const { return FQuoteEmptyCells; }
    void SetQuoteEmptyCells(bool v) { FQuoteEmptyCells = v; }
    bool AlwaysQuotes() const { return FAlwaysQuotes; }
    void SetAlwaysQuotes(bool v) { FAlwaysQuotes = v; }
    bool OemConvert() const { return FOemConvert; }
    void SetOemConvert(bool v) { FOemConvert = v; }
    bool LoadFirstRow() const { return FLoadFirstRow; }
    void SetLoadFirstRow(bool v) { FLoadFirstRow = v; }
    // Percent done of a file operation, fired when the value changes.
    std::function<void(TObject* Sender, int16_t Progress)> OnFileProgress;

    // ==== HTML and XML (data/html_export.cpp, data/xml_files.cpp) ====
    void SaveToHTML(const QString& FileName, bool Show = false, bool Unicode = false);
    void AppendToHTML(const QString& FileName, bool Show = false, bool Unicode = false);
    // The HTML table; pictures go to Dir + "images/".
    QString SaveToHTMLString(const QString& Dir);
    // The grid as HTML on the clipboard (text/html), and as plain text.
    void CopyToClipBoardAsHTML();
    // FieldDescr names the fields' tags in column order (FIELD<i> for the others).
    void SaveToXML(const QString& FileName, const QString& ListDescr, const QString& RecordDescr,
                   const QStringList& FieldDescr = {}, bool ExportEmptyCells = false);
    void LoadFromXML(const QString& FileName, bool LevelToRow = false, bool LoadFieldDescr = false);
    // The encoding the XML file is written in and its declaration names.
    QString XMLEncoding() const { return FXMLEncoding; }
    void SetXMLEncoding(const QString& v) { FXMLEncoding = v; }
    // The CSS declarations of a cell's look, joined by ";".
    QString CellStyleToCSS(TFont* AFont, TColor ABrushColor, TAlignment HA, TVAlignment VA);

protected:
    virtual void WriteCSV(const QString& FileName, bool Append, bool Unicode);
    virtual void ReadCSV(QIODevice& Stream, bool Insert, int MaxRows);
    virtual void WriteASCII(const QString& FileName, bool Append, bool Unicode);
    virtual void WriteHTMLFile(const QString& FileName, bool Append, bool Unicode, bool Show);

private:
    friend struct TGridTextLoad;
    // Fires OnFileProgress when the percentage changed; -1 starts a new operation.
    void FileProgress(int Percent);
    // The rows First..Last of an export with its notifications, and the progress of each row
    // as a share of Span (none when Span is 0).
    void ExportRows(int First, int Last, int Span, const std::function<void(int Row)>& Row);
    int FLastFileProgress = -1;
    bool FJavaCSV = false;
    bool FAlwaysQuotes = false;
    bool FOemConvert = false;

    // ==== spreadsheets, documents and databases (data/office_exchange.cpp,
    // data/database_import.cpp) ====
public:
    // Through the office suite: .xlsx, .ods and .xls workbooks, .docx and .odt documents.  A
    // missing office raises "Excel OLE server not found" or "Word OLE server not found"; a
    // request the office refuses, a save included, raises EProGridError with its reason.
    QStringList GetXLSSheets(const QString& FileName);
    // The active sheet, or the sheet of that name.  The grid changes only once the whole used
    // range is read; a range beyond MaxLoadRows x MaxLoadCols or MaxLoadXLSCells is refused.
    void LoadFromXLS(const QString& Filename);
    void LoadFromXLSSheet(const QString& Filename, const QString& SheetName);
    static constexpr qint64 MaxLoadXLSCells = 16 * 1024 * 1024;
    // Cells are written as texts ("=1+1" stays a text).  Without CreateNewSheet, into the
    // workbook open last in a running office, from its active cell's row on.
    void SaveToXLS(const QString& Filename, bool CreateNewSheet);
    void SaveToXLSSheet(const QString& Filename, const QString& SheetName);
    // The whole grid as a table of a new document, or of the document that was open last.
    void SaveToDOC(const QString& Filename, bool CreateNewDocument);
    // The grid as a table at the bookmark, else at the end of the document.
    void AppendToDoc(const QString& Filename, const QString& Bookmark);
    // Access databases, read through ODBC; field names go to the last fixed row.
    void LoadFromMDBSQL(const QString& Filename, const QString& SQL);
    // The table's name is quoted; a name that cannot be quoted is refused.
    void LoadFromMDBTable(const QString& Filename, const QString& Table);

protected:
    void ImportXLSSheet(const QString& Filename, const QString& SheetName);
    void ExportXLSSheet(const QString& Filename, const QString& SheetName, bool CreateNewSheet);
    void ExportDOC(const QString& Filename, const QString& Bookmark, bool Append, bool CreateNewDocument);

    // ==== printing and print preview (data/printing.cpp, data/print_preview.cpp) ====
public:
    struct TPrintLayout;
    void Print();
    void PrintSelection();
    void PrintRect(const TGridRect& Gridrect);
    void PrintSelectedRows();
    void PrintSelectedCols();
    // Draw the page PreviewPage of a range into a rectangle of a canvas (device units).
    void PrintPreview(TCanvas* Canvas, const TRect& Displayrect);
    void PrintPreviewRect(TCanvas* Canvas, const TRect& Displayrect, const TGridRect& Gridrect);
    void PrintPreviewSelection(TCanvas* Canvas, const TRect& Displayrect);
    void PrintPreviewSelectedRows(TCanvas* Canvas, const TRect& Displayrect);
    void PrintPreviewSelectedCols(TCanvas* Canvas, const TRect& Displayrect);
    void SetPreviewPage(int Value) { FPrintPageFrom = FPrintPageTo = Value; }
    // Page 1 of the whole grid / of a range into a rectangle, without counting or start event.
    void PrintDraw(TCanvas* Canvas, const TRect& DrawRect);
    void PrintDrawRect(TCanvas* Canvas, const TRect& DrawRect, const TGridRect& Gridrect);
    int MapFontHeight(int PointSize) const;
    int MapFontSize(int Height) const;
    // The printer jobs go to (made on first use, when the printing module is loaded); point
    // it at a PDF file to print to one.  Raises EProGridError when printing is not available.
    QPrinter* Printer();
    TPrintDevice* PrintDevice();
    // Asks for the printer and the page range in the print dialog, then prints the grid.
    bool PrintWithDialog(QWidget* Parent = nullptr);
    // Lays out a range on pages of PageWidth x PageHeight (0.1 mm) once, for drawing page by page.
    std::shared_ptr<TPrintLayout> LayoutPrintPages(const TGridRect& Gridrect, bool SelectedOnly, int PageWidth,
                                                   int PageHeight, int StopAfterPage = 0);
    int PrintLayoutPageCount(const TPrintLayout& Layout) const;
    // Draws one page of a layout; the painter's transform maps 0.1 mm with y growing upwards.
    void DrawPrintPage(QPainter* Painter, const TPrintLayout& Layout, int PageNr, int PageTotal);
    bool FastPrint() const { return FFastPrint; }
    void SetFastPrint(bool v) { FFastPrint = v; }
    bool IsPrintPreview() const { return FIsPrintPreview; }
    int PrintPageNum() const { return FPrintPageNum; }
    std::function<void(TObject* Sender, int NrOfPages, int& FromPage, int& ToPage)> OnPrintStart;
    std::function<void(TObject* Sender, QPainter* Canvas, int PageNr, int PageXSize, int PageYSize)> OnPrintPage;
    std::function<void(TObject* Sender, QPainter* Canvas, int LastRow, int LastRowOffset, int LastPage, int PageXSize,
                       int PageYSize)> OnPrintPageDone;
    std::function<void(TObject* Sender, int PageNr, bool& Cancel)> OnPrintCancel;
    std::function<void(TObject* Sender, int ARow, bool& NewPage)> OnPrintNewPage;
    std::function<void(TObject* Sender, int PageNum, int PageColNum, QString& PageNumString)> OnPrintGetPageNum;
    std::function<void(TObject* Sender, int ACol, int& Width)> OnPrintSetColumnWidth;
    std::function<void(TObject* Sender, int ARow, int& Height)> OnPrintSetRowHeight;
    std::function<void(TObject* Sender, double& ScaleFactor, bool& Allow)> OnFitToPage;
    // May change a measured cell's size (0.1 mm while printing).
    std::function<void(TObject* Sender, TCanvas* Canvas, int ACol, int ARow, TPoint& ASize, bool Printing)>
        OnCustomCellSize;
    // The print dialog PrintWithDialog runs (true: print); replaceable so that no test shows a
    // real one. Returns the previous handler; an empty one brings back the real dialog.
    using TPrintDialogHandler = std::function<bool(QPrinter* Printer, QWidget* Parent)>;
    static TPrintDialogHandler SetPrintDialogHandler(TPrintDialogHandler Handler);
    // Printed size of a cell's content (0.1 mm), fonts and graphics scaled by Scale.
    TPoint CalcPrintCellSize(int ACol, int ARow, double Scale = 1.0);

protected:
    virtual void PrintGetPageNum(int PageNum, int PageColNum, QString& Text);

private:
    int PrintGridRect(const TGridRect& Range, bool SelectedOnly);
    void PreviewGridRect(TCanvas* Canvas, const TRect& Displayrect, bool SelectedOnly, const TGridRect& Range);
    bool PrintRowSelected(int ARow) const;
    bool PrintColSelected(int ACol) const;
    QString PrintPageNumberText(const TPrintLayout& Layout, int PageNr, int PageTotal);
    TPoint CalcPrintCellSize(TCanvas& Measure, int ACol, int ARow, double Scale);
    // One printed cell or merged block in Box (0.1 mm, top down from the page top).
    void DrawPrintCell(QPainter* Painter, int ACol, int ARow, const QRectF& Box, double Scale, int Spacing,
                       int Margin, bool Clipped);
    // A title made of mini-HTML title lines, or an empty text.
    QString PrintHtmlTitle() const;
    TGridRect FPrintRect{};
    int FPrintPageNum = 0;
    double FPrintFontScale = 1.0;
    bool FFastPrint = false, FIsPrintPreview = false;
    std::unique_ptr<TPrintDevice> FPrinter;

    // ---- settings kept outside the program (grid_settings_files.cpp) ----
public:
    // The column order list as "Pos" + position in the ColumnSize place; loading applies
    // only a complete permutation of the grid's columns.
    virtual void SaveColPositions();
    virtual void LoadColPositions();
    // Count, widths, order and visibility of all columns as one text ("#" between the
    // fields). Loading checks the whole text first and raises EConvertError, the grid
    // unchanged, when any field is malformed; a text without "#" is ignored.
    QString ColumnStatesToString();
    void StringToColumnStates(const QString& Value);
    // The look of the grid as key=value lines.
    void SaveVisualProps(const QString& FileName);
    void LoadVisualProps(const QString& FileName);
    // PrintSettings in the section Section of the INI file Key.
    void SavePrintSettings(const QString& Key, const QString& Section);
    void LoadPrintSettings(const QString& Key, const QString& Section);
    // The form's scale changed by M/D: the fixed and active-cell fonts follow like the main font.
    virtual void ApplyScaleChange(int M, int D);

protected:
    // The column positions in a given place, whatever ColumnSize names.
    void SaveColPositionsAt(TColumnSizeLocation Location, const QString& Key, const QString& Section);
    void LoadColPositionsAt(TColumnSizeLocation Location, const QString& Key, const QString& Section);

private:
    // The initial index of the column at a real position (itself when no order is recorded).
    int InitialColumnAt(int RealCol) const;
    // Moves the columns, all shown, so that position i holds the column of initial index
    // Order[i] (a permutation of the real columns), and records that order.
    void ApplyColumnOrder(const std::vector<int>& Order);
};

// Cell text without its markup: line-break tags become line breaks, other tags go.
QString StripCellHtml(const QString& s);

// Whether the base cell shows a control whose state is the cell text (printing asks).
bool IsDataControlCell(TProStringGrid* Grid, int ACol, int ARow);

// The cursor shown over URL cells; every grid sets it when it is created.
extern int HandCursor;
