#pragma once
// The grid drop-down: an edit whose pop-up hosts a whole string grid, the lookup grid, with a
// header row, header-click sorting, narrowing down as the user types, editing, cell controls
// and the grid's events passed on under OnGrid... names.  Its rows come from the drop-down's
// own Items (copied into the grid at every opening) or, with UseItems off, from whatever the
// application put into the grid (GetGrid).  The edit shows the chosen entry's text in
// LookupColumn; typing completes from that column or narrows the list down.
//
// The lookup grid shares its name with the multi-column drop-down's list, so it lives in the
// namespace GridDropDown, with the columns and items both drop-downs describe their lists by.
#include "grid/control/pro_string_grid.h"
#include "grid/controls/dropdown_columns.h"
#include "grid/controls/pro_custom_dropdown.h"

#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class TCustomProGridDropDown;

namespace GridDropDown {

// the columns and items, shared with the other table drop-down
using namespace DropDownList;

// lmLookup: incremental search with completion; lmNarrowDown: the grid keeps the rows that
// start with the typed text; lmNone: no search.
enum TLookupMethod { lmLookup, lmNarrowDown, lmNone };
// dsDropDown: the text can be typed; dsDropDownList: it only comes from the list.
enum TDropDownStyle { dsDropDown, dsDropDownList };
enum TGridSorting { gsNone, gsSingleColumn, gsMultiColumn };

// The lookup grid.  It paints as the string grid paints in the drop-down's component style;
// its header and line colours and header font are kept for the application.
class TProColGrid : public TProStringGrid {
public:
    explicit TProColGrid(QWidget* AOwner = nullptr);
    ~TProColGrid() override;
    QString ClassName() const override { return QStringLiteral("TProColGrid"); }
    void AfterConstruction() override;

    TCustomProGridDropDown* ProDropDown() const { return FProDropDown; }
    void SetDropDown(TCustomProGridDropDown* DropDown) { FProDropDown = DropDown; }
    TDropDownColumns* Columns() { return &FColumns; }
    void SetColumns(const TDropDownColumns& v) { FColumns.Assign(v); }
    TColor HeaderColor = 0xFFFFFF, HeaderColorTo = 0x808080;
    TColor LineColor = 0x808080, FixedLineColor = 0x808080;
    TCustomImageList* Images = nullptr;
    int HeaderHeight = 25;
    TFont* HeaderFont() { return &FHeaderFont; }
    void SetHeaderFont(const TFont& v) { FHeaderFont.Assign(v); }
    std::function<void(TObject* Sender)> OnSelect;

    // Takes the drop-down's columns, sizes and looks.
    void LoadFromDropDown(TCustomProGridDropDown* DropDown);
    // Writes the header row and one row per item (the item number in the row's first object).
    void LoadItems();
    // Sizes every AutoSize column to its widest item text.
    void AutoSizeColumns();
    using TProStringGrid::AutoSizeColumns;
    void AutoSizeColumn(int Index);
    // Rows of a list with a Wordwrap column grow to their wrapped texts, never below 24.
    void SizeWrappedRows();
    // The width that shows every column, with the vertical scroll bar when not all rows fit.
    int FullWidth();

    // Set by a key or mouse press in the grid and by Enter in the edit; cleared by a wheel
    // step.  Closing takes the current row only while it is set.
    bool FConfirmSelection = false;
    bool FMouseWheelSelection = false;
    int FOldRow = 0;

protected:
    // Enter in the grid or a release over a data row.
    virtual void DoSelect();
    void HandleKeyDownMessage(TMessage& Message) override;
    void HandleCharMessage(TMessage& Message) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void WindowMessageHook(TMessage& Message) override;
    void WMGetDlgCode(TMessage& m) override;

private:
    friend class ::TCustomProGridDropDown;
    bool ParentIsForm() const;
    TCustomProGridDropDown* FProDropDown = nullptr;
    TDropDownColumns FColumns;
    TFont FHeaderFont;
};

} // namespace GridDropDown

class TCustomProGridDropDown : public TProCustomDropDown {
public:
    using TColumnType = GridDropDown::TColumnType;
    using TLookupMethod = GridDropDown::TLookupMethod;
    using TGridSorting = GridDropDown::TGridSorting;
    using TDropDownColumns = GridDropDown::TDropDownColumns;
    using TDropDownItems = GridDropDown::TDropDownItems;
    using TProColGrid = GridDropDown::TProColGrid;

    explicit TCustomProGridDropDown(QWidget* AParent = nullptr);
    ~TCustomProGridDropDown() override;
    uint32_t GetVersionNr() const { return (6u << 24) | (0u << 16) | (1u << 8) | 1u; }
    QString Version() const;

    // The lookup grid; with UseItems off the application fills it and reads it.
    TProColGrid* GetGrid() const { return FProColGrid; }

    // ---- columns and items
    TDropDownColumns* Columns() { return &FColumns; }
    void SetColumns(const TDropDownColumns& v) { FColumns.Assign(v); }
    TDropDownItems* Items() { return FItems.get(); }
    void SetItems(const TDropDownItems& v) { FItems->Assign(v); }
    bool UseItems = true;
    // Changes of Items between the two rebuild the lookup list at EndUpdate.
    void BeginUpdate() {}
    void EndUpdate() { BuildLookupItems(); }
    // The number of items.
    int RowCount() const { return FItems->Count(); }

    // ---- the chosen entry
    // An item index, or a data-row index (grid row - 1) without UseItems.
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int Value);
    // The first entry whose text in LookupColumn starts with Value; Row is the item index
    // (UseItems) or the grid row.
    bool LookupText(const QString& Value, QString& Text, int& Row);
    void SelectFirst();
    void SelectLast();
    void SelectNext();
    void SelectPrevious();
    void SelectNextPage();
    void SelectPreviousPage();
    // The item number a grid row holds (the row itself without a grid or past RowCount), and
    // the first data row that holds Item.
    int ItemOfRow(int Row) const;
    int RowOfItem(int Item) const;

    // ---- searching
    int LookupColumn = 0;
    TLookupMethod LookupMethod = GridDropDown::lmLookup;
    GridDropDown::TDropDownStyle Style() const { return FStyleKind; }
    void SetStyle(GridDropDown::TDropDownStyle v);
    // Case rule of the list search, and of the edit-side completion.
    bool CaseSensitive = false;
    bool MatchCase = false;
    bool MatchStart = true;
    bool AutoShowDropDown = false;

    // ---- the lookup grid's look
    int HeaderHeight = 25;
    TColor HeaderColor = 0xFFFFFF, HeaderColorTo = 0x808080;
    TFont* HeaderFont() { return &FHeaderFont; }
    void SetHeaderFont(const TFont& v) { FHeaderFont.Assign(v); }
    TColor LineColor = 0xF1EDEB, FixedLineColor = 0xD1BBA4;
    TColor SelectionTextColor = 0;
    int DropDownRowHeight() const { return FDropDownRowHeight; }
    // Heights below 1 are refused: the form is cut to whole rows of this height.
    void SetDropDownRowHeight(int v);
    bool DropDownAutoWidth = true;
    bool ColumnSizeWithDropDown = true;
    bool AutoSizeColumns = true;
    bool ColumnSizing = false, ColumnMoving = false, RowSizing = false, RowMoving = false;
    bool RowSelect = true;
    // An editable grid does not close when a row is chosen.
    bool GridEditable = false;
    TGridSorting Sorting = GridDropDown::gsNone;
    TCustomImageList* GridImages() const { return FGridImages; }
    void SetGridImages(TCustomImageList* v);
    bool HoverRow = false;
    TColor HoverRowColor = TColor(0xFF000018), HoverRowColorTo = clNone;
    // Copied into the lookup grid at every opening.
    TSearchFooter* SearchFooter() { return FSearchFooter.get(); }
    void SetSearchFooter(const TPersistent* v) { FSearchFooter->Assign(v); }
    TMouseActions* MouseActions() { return FMouseActions.get(); }
    void SetMouseActions(const TPersistent* v) { FMouseActions->Assign(v); }
    TNavigation* Navigation() { return FNavigation.get(); }
    void SetNavigation(const TPersistent* v) { FNavigation->Assign(v); }
    TBands* Bands() { return FBands.get(); }
    void SetBands(const TPersistent* v) { FBands->Assign(v); }

    void SetSelectionColorStyle(TSelectionColorStyle Style) override;
    void SetComponentStyle(TProStyle AStyle) override;

    // ---- events
    std::function<void(QObject* Sender)> OnSelect;
    // The grid's events, with the grid as Sender unless noted.
    TProStringGrid::TAnchorClickEvent OnGridAnchorClick;
    TProStringGrid::TAnchorEvent OnGridAnchorEnter, OnGridAnchorExit;
    TProStringGrid::TAnchorHintEvent OnGridAnchorHint;
    TButtonClickEvent OnGridButtonClick;
    TProStringGrid::TIndexAllowEvent OnGridCanSort;
    TProStringGrid::TIndexEvent OnGridClickSort;
    decltype(TProStringGrid::OnCustomCompare) OnGridCustomCompare;
    decltype(TProStringGrid::OnRawCompare) OnGridRawCompare;
    TProStringGrid::TIndexAllowEvent OnGridColumnSize, OnGridRowSize;
    TProStringGrid::TSizingEvent OnGridColumnSizing, OnGridRowSizing;
    TProStringGrid::TIndexEvent OnGridEndColumnSize, OnGridEndRowSize;
    TProStringGrid::TMoveAllowEvent OnGridRowMove, OnGridRowMoving, OnGridColumnMove, OnGridColumnMoving;
    decltype(TStringGrid::OnRowMoved) OnGridRowMoved;
    decltype(TStringGrid::OnColumnMoved) OnGridColumnMoved;
    TProStringGrid::TCustomCellDrawEvent OnGridCustomCellDraw, OnGridCustomCellBkgDraw;
    TProStringGrid::TGridBalloonEvent OnGridCellBalloon;
    TGetAlignmentEvent OnGridGetAlignment;
    TGetCellColorEvent OnGridGetCellColor;
    TProStringGrid::TGetCellGradientEvent OnGridGetCellGradient;
    TGetFloatFormatEvent OnGridGetFloatFormat;
    TGetEditorTypeEvent OnGridGetEditorType;
    decltype(TProStringGrid::OnGetEditorPropInt) OnGridGetEditorProp;
    TCellBoolRowColEvent OnGridCanEditCell;
    decltype(TProStringGrid::OnEllipsClick) OnGridEllipsClick;
    decltype(TBaseGrid::OnGetDisplText) OnGridGetDiplText;
    TGetFormatEvent OnGridGetFormat;
    TGridHintEvent OnGridHint;
    decltype(TCustomGrid::OnMouseMove) OnGridMouseMove;
    decltype(TCustomGrid::OnMouseDown) OnGridMouseDown, OnGridMouseUp;
    // Sender: the drop-down.
    std::function<void(QObject* Sender, int& Key, TShiftState Shift)> OnGridKeyDown, OnGridKeyUp;
    std::function<void(QObject* Sender, QChar& Key)> OnGridKeyPress;
    TProStringGrid::TClickCellEvent OnGridRightClickCell;
    decltype(TProStringGrid::OnScrollHint) OnGridScrollHint;
    std::function<void(QObject* Sender)> OnGridTopLeftChanged;
    decltype(TProStringGrid::OnSearchEditChange) OnGridSearchEditChange;
    decltype(TProStringGrid::OnSpinClick) OnGridSpinClick;
    decltype(TProStringGrid::OnAutoAddRow) OnGridAutoAddRow;
    decltype(TProStringGrid::OnAutoInsertRow) OnGridInsertRow;
    decltype(TProStringGrid::OnAutoInsertCol) OnGridInsertCol;
    decltype(TProStringGrid::OnAutoDeleteRow) OnGridDeleteRow;
    decltype(TProStringGrid::OnCanAddRow) OnGridCanAddRow;
    decltype(TProStringGrid::OnCanInsertRow) OnGridCanInsertRow;
    decltype(TProStringGrid::OnCanDeleteRow) OnGridCanDeleteRow;
    TCheckBoxClickEvent OnGridCheckBoxClick;

    // The list search text (what was typed since the control was entered or last navigated).
    QString LookupEntry() const { return FLookupEntry; }
    void Loaded();

protected:
    virtual std::unique_ptr<TDropDownItems> CreateItems(QObject* Owner);
    void CreateDropDownForm() override;
    void BeforeDropDown() override;
    void AdaptDropDownHeight(int& Height) override;
    void DoShowDropDown() override;
    void PlaceDropDownControl() override;
    void SizeDropDownForm() override;
    void DoHideDropDown(bool Cancel) override;
    void DropDownFormResized() override;
    void HandleWheelDown() override;
    void HandleWheelUp() override;
    void HandleKeyDown(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    bool eventFilter(QObject* Watched, QEvent* e) override;

    // Keys of the lookup grid: the navigation keys stay in the grid, the others reach the edit.
    virtual void GridKeyDown(QKeyEvent* e);
    virtual void GridKeyUp(QKeyEvent* e);
    // A character typed in the lookup grid: the list search.
    virtual void ControlKeyPress(QChar& Key, bool Alt);
    // The list search for a character typed in the edit or the grid; the found item or row,
    // or -1.
    int LookupInList(QChar Key);
    // The edit-side completion on every change of the text.
    void Change();
    void BuildLookupItems();
    void SizeColumnsToDropDown();
    int GetEntryCount() const;

    void ListSelectCell(int ARow);
    void ListSelect();
    void ListCanSort();
    void ListClickSort();

private:
    friend class GridDropDown::TProColGrid;
    void BindGridEvents();
    void RemoveNarrowing();
    // Sets the edit text from the list search or a choice: no completion runs on it.
    void SetTextQuiet(const QString& Value);
    // Selects the edit text from Start to its end, the caret at Start.
    void SelectTail(int Start);
    int DataRows() const;

    TProColGrid* FProColGrid = nullptr;
    TDropDownColumns FColumns;
    std::unique_ptr<TDropDownItems> FItems;
    TFont FHeaderFont;
    GridDropDown::TDropDownStyle FStyleKind = GridDropDown::dsDropDown;
    int FItemIndex = -1;
    int FDropDownRowHeight = 22;
    TCustomImageList* FGridImages = nullptr;
    std::unique_ptr<TSearchFooter> FSearchFooter;
    std::unique_ptr<TMouseActions> FMouseActions;
    std::unique_ptr<TNavigation> FNavigation;
    std::unique_ptr<TBands> FBands;

    QStringList FLookupItems;
    bool workmode = true;
    bool FItemChange = false;
    int FItemIdx = -1, FItemSel = 0;
    QString FLookupEntry;
    int FSelRow = 0;
    int FOldItemIndex = -1;
    int FTempItemIndex = -1;
    bool FBalloonInit = false;
    // While the list is loaded at opening, moves of the current row choose nothing.
    bool FLoadingList = false;
    QString FOldValue;
    // The text changes while the user types (completion runs only then), and while the
    // completion or the list search writes it.
    bool FUserEdit = false;
    bool FQuietText = false;
};

class TProGridDropDown : public TCustomProGridDropDown {
public:
    using TCustomProGridDropDown::TCustomProGridDropDown;
};
