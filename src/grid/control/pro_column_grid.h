#pragma once
// The column-driven grid of the table windows: one column description per real column
// (visible or hidden) whose settings apply to every normal cell of that column without
// per-cell properties.
#include "grid/control/pro_string_grid.h"

#include <QMenu>

class QIODevice;

class TProColumnGrid;
class TGridColumnCollection;
class TEditLink;

// A column's pop-up menu: a plain menu that opens at a screen position.
class TPopupMenu : public QMenu {
public:
    using QMenu::QMenu;
    virtual void Popup(int X, int Y) { popup(QPoint(X, Y)); }
    // Set by the grid before the menu opens (the fixed cell's column).
    int Tag = 0;
};

enum TColumnPopupType {
    cpFixedCellsRClick, cpFixedCellsLClick, cpNormalCellsRClick, cpNormalCellsLClick, cpAllCellsRClick,
    cpAllCellsLClick
};

class TGridColumnItem : public TPersistent {
public:
    // An item made without a collection keeps the plain defaults.
    explicit TGridColumnItem(TGridColumnCollection* ACollection = nullptr);
    ~TGridColumnItem() override;
    TGridColumnItem(const TGridColumnItem&) = delete;
    TGridColumnItem& operator=(const TGridColumnItem&) = delete;
    QString ClassName() const override { return QStringLiteral("TGridColumnItem"); }

    // Copies every setting of another column item; any other source changes nothing.
    void Assign(const TPersistent* Source) override;
    // The look of another column, with the grid's own colour and font.
    void AssignVisuals(const TGridColumnItem* Source);

    TGridColumnCollection* Collection() const { return FCollection; }
    int Index() const;
    QString DisplayName() const;

    int AutoMinSize() const { return FAutoMinSize; }
    void SetAutoMinSize(int v) { FAutoMinSize = v; }
    int AutoMaxSize() const { return FAutoMaxSize; }
    void SetAutoMaxSize(int v) { FAutoMaxSize = v; }
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment v);
    TCellBorders Borders() const { return FBorders; }
    void SetBorders(TCellBorders v);
    TPen* BorderPen() { return &FBorderPen; }
    void SetBorderPen(const TPen* v);
    QString CheckFalse() const { return FCheckFalse; }
    void SetCheckFalse(const QString& v) { FCheckFalse = v; }
    QString CheckTrue() const { return FCheckTrue; }
    void SetCheckTrue(const QString& v) { FCheckTrue = v; }
    TColor Color() const { return FColor; }
    void SetColor(TColor v);
    TPopupMenu* ColumnPopup() const { return FColumnPopup; }
    // A menu that is destroyed leaves the column without one.
    void SetColumnPopup(TPopupMenu* v);
    TColumnPopupType ColumnPopupType() const { return FColumnPopupType; }
    void SetColumnPopupType(TColumnPopupType v) { FColumnPopupType = v; }
    TGridStrings* ComboItems() { return &FComboItems; }
    void SetComboItems(const TGridStrings* v) { FComboItems.Assign(v); }
    int DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(int v) { FDropDownCount = v; }
    int EditLength() const { return FEditLength; }
    void SetEditLength(int v) { FEditLength = v; }
    TEditLink* EditLink() const { return FEditLink; }
    void SetEditLink(TEditLink* v) { FEditLink = v; }
    QString EditMask() const { return FEditMask; }
    void SetEditMask(const QString& v) { FEditMask = v; }
    TEditorType Editor() const { return FEditor; }
    void SetEditor(TEditorType v);
    TGridStrings* Filter() { return &FFilter; }
    void SetFilter(const TGridStrings* v) { FFilter.Assign(v); }
    bool FilterCaseSensitive() const { return FFilterCaseSensitive; }
    void SetFilterCaseSensitive(bool v) { FFilterCaseSensitive = v; }
    bool Fixed() const { return FFixed; }
    void SetFixed(bool v);
    QString FloatFormat() const { return FFloatFormat; }
    void SetFloatFormat(const QString& v);
    TFont* Font() { return &FFont; }
    void SetFont(const TFont* v) { FFont.Assign(*v); }
    QString Header() const { return FHeader; }
    void SetHeader(const QString& Value);
    // The header field alone, as the grid's header list hands it back.
    void SetHeaderField(const QString& Value) { FHeader = Value; }
    TAlignment HeaderAlignment() const { return FHeaderAlignment; }
    void SetHeaderAlignment(TAlignment v);
    TFont* HeaderFont() { return &FHeaderFont; }
    void SetHeaderFont(const TFont* v);
    int MinSize() const { return FMinSize; }
    void SetMinSize(int v) { FMinSize = v; }
    int MaxSize() const { return FMaxSize; }
    void SetMaxSize(int v) { FMaxSize = v; }
    QString Name() const { return FName; }
    void SetName(const QString& v) { FName = v; }
    bool Password() const { return FPassword; }
    void SetPassword(bool v);
    bool PrintBorderCustom() const { return FPrintBorderCustom; }
    void SetPrintBorderCustom(bool v) { FPrintBorderCustom = v; }
    TCellBorders PrintBorders() const { return FPrintBorders; }
    void SetPrintBorders(TCellBorders v) { FPrintBorders = v; }
    TPen* PrintBorderPen() { return &FPrintBorderPen; }
    void SetPrintBorderPen(const TPen* v) { FPrintBorderPen.Assign(*v); }
    TColor PrintColor() const { return FPrintColor; }
    void SetPrintColor(TColor v) { FPrintColor = v; }
    bool PrintFontCustom() const { return FPrintFontCustom; }
    void SetPrintFontCustom(bool v) { FPrintFontCustom = v; }
    TFont* PrintFont() { return &FPrintFont; }
    void SetPrintFont(const TFont* v) { FPrintFont.Assign(*v); }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool v) { FReadOnly = v; }
    bool ShowBands() const { return FShowBands; }
    void SetShowBands(bool v);
    TSortStyle SortStyle() const { return FSortStyle; }
    void SetSortStyle(TSortStyle v) { FSortStyle = v; }
    QString SortPrefix() const { return FSortPrefix; }
    void SetSortPrefix(const QString& v) { FSortPrefix = v; }
    QString SortSuffix() const { return FSortSuffix; }
    void SetSortSuffix(const QString& v) { FSortSuffix = v; }
    int SpinMax() const { return FSpinMax; }
    void SetSpinMax(int v) { FSpinMax = v; }
    int SpinMin() const { return FSpinMin; }
    void SetSpinMin(int v) { FSpinMin = v; }
    int SpinStep() const { return FSpinStep; }
    void SetSpinStep(int v) { FSpinStep = v; }
    int Tag() const { return FTag; }
    void SetTag(int v) { FTag = v; }
    // The grid's width of the column; an item without collection has none.
    int Width() const;
    void SetWidth(int Value);
    int DefIdx() const { return FDefIdx; }
    void SetDefIdx(int v) { FDefIdx = v; }

    // The column's cells, through the grid.
    QString Rows(int ARow) const;
    void SetRows(int ARow, const QString& Value);
    int Ints(int ARow) const;
    void SetInts(int ARow, int Value);
    double Floats(int ARow) const;
    void SetFloats(int ARow, double Value);

private:
    friend class TGridColumnCollection;
    friend class TProColumnGrid;
    TProColumnGrid* Grid() const;
    void Changed();
    void InvalidateGrid();
    void AssignCommon(const TGridColumnItem* s);

    TGridColumnCollection* FCollection;
    int FAutoMinSize = 0;
    int FAutoMaxSize = 0;
    TAlignment FAlignment = taLeftJustify;
    TCellBorders FBorders;
    TPen FBorderPen;
    QString FCheckFalse = QStringLiteral("N");
    QString FCheckTrue = QStringLiteral("Y");
    TColor FColor = 0;
    TPopupMenu* FColumnPopup = nullptr;
    QMetaObject::Connection FPopupGone;
    TColumnPopupType FColumnPopupType = cpFixedCellsRClick;
    TGridStrings FComboItems;
    int FDropDownCount = 8;
    int FEditLength = 0;
    TEditLink* FEditLink = nullptr;
    QString FEditMask;
    TEditorType FEditor = edNormal;
    TGridStrings FFilter;
    bool FFilterCaseSensitive = false;
    bool FFixed = false;
    QString FFloatFormat;
    TFont FFont;
    QString FHeader;
    TAlignment FHeaderAlignment = taLeftJustify;
    TFont FHeaderFont;
    int FMinSize = 0;
    int FMaxSize = 0;
    QString FName;
    bool FPassword = false;
    bool FPrintBorderCustom = true;
    TCellBorders FPrintBorders = {cbTop, cbLeft, cbRight, cbBottom};
    TPen FPrintBorderPen;
    TColor FPrintColor = 0x00FFFFFF;
    bool FPrintFontCustom = true;
    TFont FPrintFont;
    bool FReadOnly = false;
    bool FShowBands = false;
    TSortStyle FSortStyle = ssAutomatic;
    QString FSortPrefix;
    QString FSortSuffix;
    int FSpinMax = 0;
    int FSpinMin = 0;
    int FSpinStep = 1;
    int FTag = 0;
    int FWidth = 50;
    int FDefIdx = 0;
};

class TGridColumnCollection : public TPersistent {
public:
    explicit TGridColumnCollection(TProColumnGrid* AOwner);
    ~TGridColumnCollection() override;
    QString ClassName() const override { return QStringLiteral("TGridColumnCollection"); }

    TProColumnGrid* Owner() const { return FOwner; }
    int Count() const { return int(FItems.size()); }
    // An index outside the collection raises the list-index error.
    TGridColumnItem* Items(int Index) const;
    TGridColumnItem* GetItem(int Index) const { return Items(Index); }
    void SetItem(int Index, const TGridColumnItem* Value) { Items(Index)->Assign(Value); }
    TGridColumnItem* operator[](int Index) const { return Items(Index); }
    // A new last item; after the first it takes the look of the item before it.
    TGridColumnItem* Add();
    TGridColumnItem* Insert(int Index);
    void Delete(int Index);
    void Clear();
    int IndexOf(const TGridColumnItem* Item) const;
    // Moves one item to another position (the others close up).
    void Move(int FromIndex, int ToIndex);
    // Rebuilds the items as copies of another collection's.
    void Assign(const TPersistent* Source) override;
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();

    // A column changed: the grid follows the number of items and the headers.
    virtual void Update(TGridColumnItem* Item);
    // Records each item's position as its designed place.
    void SetOrganization();
    // Moves the columns back to their designed places.
    void ResetOrganization();

    // Set while the grid itself changes the collection.
    bool FNoRecursiveUpdate = false;

private:
    friend class TProColumnGrid;
    TProColumnGrid* FOwner;
    std::vector<std::unique_ptr<TGridColumnItem>> FItems;
    int FUpdateCount = 0;
};

using TAfterColumnMovedEvent = std::function<void(TObject* Sender, int FromIndex, int ToIndex)>;
using TColumnPopupEvent = std::function<void(TObject* Sender, int ACol, int ARow, TPopupMenu* PopupMenu)>;

class TProColumnGrid : public TProStringGrid {
    friend class TGridColumnItem;
    friend class TGridColumnCollection;

public:
    explicit TProColumnGrid(QWidget* AOwner = nullptr, bool Designing = false);
    ~TProColumnGrid() override;
    QString ClassName() const override { return QStringLiteral("TProColumnGrid"); }

    TGridColumnCollection* Columns() const { return FColumnCollection.get(); }
    void SetColumns(const TGridColumnCollection* Value) { FColumnCollection->Assign(Value); }
    bool AutoFilterDisplay() const { return FAutoFilterDisplay; }
    void SetAutoFilterDisplay(bool v) { FAutoFilterDisplay = v; }
    TGridColumnItem* GetColumnByName(const QString& AValue) const;
    TGridColumnItem* SaveCol() const { return FSaveCol.get(); }

    void Loaded() override;
    // One item per real column, visible or hidden.
    void SyncColumnCount();
    // Headers left empty take the text of their header cell; the header list is rebuilt.
    void SyncColumnHeaders();
    // The column positions in the INI file Key, whatever ColumnSize names.
    void SaveColumnPositions(const QString& Key, const QString& Section);
    void LoadColumnPositions(const QString& Key, const QString& Section);
    // The published settings of every column as a small JSON text ("Items": one object per
    // column). Loading replaces the columns only when the whole text reads; otherwise it
    // raises EInOutError and leaves them as they were.
    void SaveColumnsToStream(QIODevice& Stream);
    void LoadColumnsFromStream(QIODevice& Stream);
    // The screen's scale changed by M/D (e.g. its DPI against the 96 the fonts were made
    // for): the fonts of the visible column count's items follow.
    void ApplyScaleChange(int M, int D) override;
    // Real columns in and out; the column descriptions and the cells move together.
    virtual void InsertCols(int ColIndex, int CCount);
    virtual void RemoveCols(int ColIndex, int CCount);
    // The grouped column's description is kept while the column is out of the grid.
    void Group(int Colindex) override;
    void UnGroup() override;
    int GetVersionNr() const override { return 0x03010301; }
    QString GetVersionString() const override;

    // Cell hooks: the column's settings first, then the grid's rules and events.
    void GetCellColor(int ACol, int ARow, TGridDrawState AState, TBrush* ABrush, TFont* AFont) override;
    void GetCellPrintColor(int ACol, int ARow, TGridDrawState AState, TBrush* ABrush, TFont* AFont) override;
    void GetCellBorder(int ACol, int ARow, TPen* APen, TCellBorders& Borders) override;
    void GetCellPrintBorder(int ACol, int ARow, TPen* APen, TCellBorders& Borders) override;
    void GetCellAlignHook(int ACol, int ARow, TAlignment& HAlign, TVAlignment& VAlign) override;
    void GetColFormat(int ACol, TSortStyle& AStyle, QString& Prefix, QString& Suffix) override;
    void GetCellEditor(int ACol, int ARow, TEditorType& AEditor) override;
    void IsFixedCell(int ACol, int ARow, bool& IsFixed) override;
    void CanEditCell(int ACol, int ARow, bool& CanEdit) override;
    void IsPasswordCellHook(int ACol, int ARow, bool& IsPassword) override;
    bool HasComboBox(int ACol, int ARow) override;
    void GetCheckTrue(int ACol, int ARow, QString& Value) override;
    void GetCheckFalse(int ACol, int ARow, QString& Value) override;
    bool GetFilterList(int ACol) override;
    void GetFloatFormat(int ACol, int ARow, QString& AFloatFormat) override;
    void UpdateColumnSize(int ACol, int& AWidth) override;
    void UpdateAutoColumnSize(int ACol, int& AWidth) override;
    void UpdateColumnHeaders() override;
    void CellsLoaded() override;
    void GetCellDefaults(int ACol, int ARow, TFont* AFont, TBrush* ABrush, TColor& AColorTo, TColor& AMirrorColor,
                         TColor& AMirrorColorTo, TAlignment& HA, TVAlignment& VA, bool& WW,
                         TCellGradientDirection& GD) override;
    QString GetEditMask(int ACol, int ARow) override;
    void DimensionsChanged() override;
    // A choice in the column's filter drop-down: its entry "name=condition" becomes the
    // column's filter condition.
    void FilterSelect(TObject* Sender, int ItemIndex) override;

    // A data check box column shows a check box in every normal cell through one shared
    // graphic, unless the cell has a graphic of its own.
    TCellGraphic* GetCellGraphic(int ACol, int ARow) override;
    TCellType GetCellType(int ACol, int ARow) override;

    TAfterColumnMovedEvent OnAfterColumnMoved;
    TColumnPopupEvent OnColumnPopup;

protected:
    virtual std::unique_ptr<TGridColumnCollection> CreateColumns();
    void ColumnMoved(int FromIndex, int ToIndex) override;
    void ColWidthsChanged() override;
    // A click on a column may open the column's pop-up menu below the cell.
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    int GetEditLimit() override;

private:
    // A normal cell of the column area: not fixed, not in the footers.
    bool IsDataCell(int ACol, int ARow);
    TGridColumnItem* ColumnAt(int ACol) const;

    std::unique_ptr<TGridColumnCollection> FColumnCollection;
    std::unique_ptr<TGridColumnItem> FSaveCol;
    bool FAutoFilterDisplay = false;
    bool FSyncing = false;
    // The shared graphic of the data check box columns; never attached to a cell.
    std::unique_ptr<TCellGraphic> FVirtCheckGraphic = std::make_unique<TCellGraphic>();
    // A normal cell of a data check box column.
    bool IsVirtCheckCell(int ACol, int ARow);
};
