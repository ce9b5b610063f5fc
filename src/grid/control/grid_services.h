#pragma once
// Settings objects the string grid owns for its data services (sorting, filtering,
// grouping, printing, HTML export, drag and drop) and the column-size settings, with their
// defaults and Assign.  The services that read them live with those services.
#include "grid/base/grid_settings.h"
#include "grid/base/int_list.h"

#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class TProStringGrid;

// ---- Sorting -------------------------------------------------------------------------------

enum TSortDirection { sdAscending, sdDescending };
enum TSortBlankPosition { blFirst, blLast };
enum TIndexSortKey { ikShift, ikCtrl };
enum TSortStyle {
    ssAutomatic, ssAlphabetic, ssNumeric, ssDate, ssAlphaNoCase, ssAlphaCase, ssShortDateEU, ssShortDateUS,
    ssCustom, ssFinancial, ssAnsiAlphaCase, ssAnsiAlphaNoCase, ssRaw, ssHTML, ssImages, ssCheckBox,
    ssDateTime, ssTime, ssAlphaNumeric, ssAlphaNumericNoCase
};

class TSortSettings : public TPersistent {
public:
    explicit TSortSettings(TProStringGrid* AOwner) : FOwner(AOwner) {}
    QString ClassName() const override { return QStringLiteral("TSortSettings"); }
    void Assign(const TPersistent* Source) override;
    // "d<column>" / "u<column>", or "i;" and the index list's text with IndexShow.
    QString SaveToString() const;
    // Shows the sort indicator and sorts as the text says; raises for a one-character text.
    void LoadFromString(const QString& Value);
    // No sort column and no index list; the rows keep their order.
    void Remove();
    void ToggleDirection() { FDirection = FDirection == sdAscending ? sdDescending : sdAscending; }

    GRID_FIELD(bool, AutoSortForGrouping, true)
    GRID_FIELD(bool, AutoColumnMerge, false)
    GRID_FIELD(int, Column, -1)
    GRID_FIELD(bool, Show, false)
    GRID_FIELD(bool, IndexShow, false)
    GRID_FIELD(TColor, IndexColor, 0x00FFFF)
    GRID_FIELD(TIndexSortKey, IndexSortKey, ikShift)
    GRID_FIELD(bool, Full, true)
    GRID_FIELD(bool, SingleColumn, false)
    GRID_FIELD(bool, IgnoreBlanks, false)
    GRID_FIELD(TSortBlankPosition, BlankPos, blFirst)
    GRID_FIELD(bool, AutoFormat, true)
    GRID_FIELD(TSortDirection, Direction, sdAscending)
    GRID_FIELD(bool, IgnoreCase, false)
    GRID_FIELD(TSortDirection, InitSortDirection, sdAscending)
    GRID_FIELD(bool, FixedCols, false)
    GRID_FIELD(bool, NormalCellsOnly, false)
    int Row() const { return FRow; }
    // Raises unless the row is one of the grid's fixed rows.
    void SetRow(int v);
    GRID_FIELD(bool, UndoSort, false)
    GRID_FIELD(bool, SortOnVirtualCells, true)

    TColor HeaderColor() const { return FHeaderColor; }
    void SetHeaderColor(TColor v) { SetHeaderColour(FHeaderColor, v); }
    TColor HeaderColorTo() const { return FHeaderColorTo; }
    void SetHeaderColorTo(TColor v) { SetHeaderColour(FHeaderColorTo, v); }
    TColor HeaderMirrorColor() const { return FHeaderMirrorColor; }
    void SetHeaderMirrorColor(TColor v) { SetHeaderColour(FHeaderMirrorColor, v); }
    TColor HeaderMirrorColorTo() const { return FHeaderMirrorColorTo; }
    void SetHeaderMirrorColorTo(TColor v) { SetHeaderColour(FHeaderMirrorColorTo, v); }

    TBitmap* UpGlyph() { return &FUpGlyph; }
    TBitmap* DownGlyph() { return &FDownGlyph; }
    TBitmap* IndexUpGlyph() { return &FIndexUpGlyph; }
    TBitmap* IndexDownGlyph() { return &FIndexDownGlyph; }

private:
    void SetHeaderColour(TColor& field, TColor v);

    TProStringGrid* FOwner;
    int FRow = 0;
    TColor FHeaderColor = clNone;
    TColor FHeaderColorTo = clNone;
    TColor FHeaderMirrorColor = clNone;
    TColor FHeaderMirrorColorTo = clNone;
    TBitmap FUpGlyph, FDownGlyph, FIndexUpGlyph, FIndexDownGlyph;
};

// ---- Filtering -----------------------------------------------------------------------------

enum TFilterCells { fcVirtual, fcNormal, fcStripHTML, fcCalculated, fcRow };
enum TFilterOperation { foSHORT, foNONE, foAND, foXOR, foOR };
enum TFilterMethod { fmExpression, fmLiteral };
enum TFilterDropDownColumns { fdNormal, fdAll };

class TFilterData : public TPersistent {
public:
    QString ClassName() const override { return QStringLiteral("TFilterData"); }
    void Assign(const TPersistent* Source) override;

    GRID_FIELD(int16_t, Column, 0)
    GRID_FIELD(QString, Condition, QString())
    GRID_FIELD(bool, CaseSensitive, true)
    GRID_FIELD(TFilterCells, Data, fcVirtual)
    GRID_FIELD(QString, Prefix, QString())
    GRID_FIELD(QString, Suffix, QString())
    GRID_FIELD(TFilterOperation, Operation, foSHORT)
    GRID_FIELD(TFilterMethod, Method, fmExpression)
};

// The filter conditions of the grid, in evaluation order.
class TFilter : public TPersistent {
public:
    explicit TFilter(TProStringGrid* AOwner) : FOwner(AOwner) {}
    QString ClassName() const override { return QStringLiteral("TFilter"); }
    void Assign(const TPersistent* Source) override;

    int Count() const { return int(FItems.size()); }
    TFilterData* Add();
    TFilterData* GetItem(int Index) const;
    TFilterData* GetColFilter(int Col);
    bool HasFilter(int Col) const;
    // Drops every condition of the column (filter_drop_down.cpp).
    void RemoveColumnFilter(int Col);
    // A condition with the item defaults, appended whatever Index says.
    TFilterData* Insert(int Index)
    {
        (void)Index;
        FItems.push_back(std::make_unique<TFilterData>());
        return FItems.back().get();
    }
    void Clear() { FItems.clear(); }
    TProStringGrid* Owner() const { return FOwner; }

    // Whether the conditions are applied.  Setting it is the owner grid's FilterActive
    // setter (row_filter.cpp), which hides or shows the rows; OnActiveChange follows a change.
    bool FilterActive() const { return FFilterActive; }
    void SetFilterActive(bool Value);
    std::function<void(TObject* Sender)> OnActiveChange;

private:
    friend class TProStringGrid;
    TProStringGrid* FOwner;
    bool FFilterActive = false;
    std::vector<std::unique_ptr<TFilterData>> FItems;
};

class TFilterDropDown : public TGridSettings {
public:
    TFilterDropDown();
    QString ClassName() const override { return QStringLiteral("TFilterDropDown"); }
    void Assign(const TPersistent* Source) override;

    GRID_FIELD(bool, AutoSize, false)
    GRID_FIELD(TColor, Color, clWindow)
    GRID_FIELD(bool, ColumnWidth, false)
    GRID_FIELD(int, Height, 150)
    GRID_FIELD(int, Width, 150)

    TFont* Font() { return &FFont; }
    void SetFont(const TFont& v) { FFont.Assign(v); }
    TBitmap* Glyph() { return &FGlyph; }
    void SetGlyph(const TBitmap& v) { FGlyph.Assign(v); Changed(); }
    TBitmap* GlyphActive() { return &FGlyphActive; }
    void SetGlyphActive(const TBitmap& v) { FGlyphActive.Assign(v); Changed(); }

private:
    TFont FFont;
    TBitmap FGlyph, FGlyphActive;
};

// ---- Grouping, printing, HTML, drag and drop ---------------------------------------------

class TGrouping : public TPersistent {
public:
    explicit TGrouping(TProStringGrid* AOwner = nullptr) { (void)AOwner; }
    QString ClassName() const override { return QStringLiteral("TGrouping"); }
    void Assign(const TPersistent* Source) override;

    GRID_FIELD(bool, AutoSelectGroup, false)
    GRID_FIELD(bool, AutoCheckGroup, false)
    GRID_FIELD(QString, GroupCountFormat, QString())
    GRID_FIELD(TColor, HeaderColor, clNone)
    GRID_FIELD(TColor, HeaderColorTo, clNone)
    GRID_FIELD(TColor, HeaderTextColor, clNone)
    GRID_FIELD(bool, HeaderUnderline, false)
    GRID_FIELD(TColor, HeaderLineColor, 0xFF0000)
    GRID_FIELD(int, HeaderLineWidth, 2)
    GRID_FIELD(bool, MergeHeader, false)
    GRID_FIELD(bool, MergeSummary, false)
    GRID_FIELD(bool, ShowGroupCount, false)
    GRID_FIELD(bool, Summary, false)
    GRID_FIELD(TColor, SummaryColor, clNone)
    GRID_FIELD(TColor, SummaryColorTo, clNone)
    GRID_FIELD(TColor, SummaryTextColor, clNone)
    GRID_FIELD(bool, SummaryLine, false)
    GRID_FIELD(TColor, SummaryLineColor, 0xFF0000)
    GRID_FIELD(int, SummaryLineWidth, 2)
};

enum TPrintPosition { ppNone, ppTopLeft, ppTopRight, ppTopCenter, ppBottomLeft, ppBottomRight, ppBottomCenter };
enum TPrintBorders { pbNoborder, pbSingle, pbDouble, pbVertical, pbHorizontal, pbAround, pbAroundVertical,
                     pbAroundHorizontal, pbCustom };
enum TFitToPage { fpNever, fpGrow, fpShrink, fpAlways, fpCustom };
enum TPrinterOrientation { poPortrait, poLandscape };

class TPrintSettings : public TPersistent {
public:
    explicit TPrintSettings(TProStringGrid* AOwner = nullptr) { (void)AOwner; }
    QString ClassName() const override { return QStringLiteral("TPrintSettings"); }
    // Raises EConvertError for a source of another class.
    void Assign(const TPersistent* Source) override;

    GRID_FIELD(int, FooterSize, 0)
    GRID_FIELD(int, HeaderSize, 0)
    GRID_FIELD(TPrintPosition, Time, ppNone)
    GRID_FIELD(TPrintPosition, Date, ppNone)
    GRID_FIELD(QString, DateFormat, QStringLiteral("dd/mm/yyyy"))
    GRID_FIELD(TPrintPosition, PageNr, ppNone)
    GRID_FIELD(TPrintPosition, Title, ppNone)
    GRID_FIELD(QString, TitleText, QString())
    GRID_FIELD(QStringList, TitleLines, QStringList())
    GRID_FIELD(TPrintBorders, Borders, pbSingle)
    GRID_FIELD(TPenStyle, BorderStyle, psSolid)
    GRID_FIELD(TColor, BorderColor, clBlack)
    GRID_FIELD(bool, Centered, true)
    GRID_FIELD(bool, RepeatFixedRows, false)
    GRID_FIELD(bool, RepeatFixedCols, false)
    GRID_FIELD(int, LeftSize, 0)
    GRID_FIELD(int, RightSize, 0)
    GRID_FIELD(int, ColumnSpacing, 0)
    GRID_FIELD(int, RowSpacing, 0)
    GRID_FIELD(int, TitleSpacing, 0)
    GRID_FIELD(TPrinterOrientation, Orientation, poPortrait)
    GRID_FIELD(QString, PagePrefix, QString())
    GRID_FIELD(QString, PageSuffix, QString())
    GRID_FIELD(int, PageNumberOffset, 0)
    GRID_FIELD(int, MaxPagesOffset, 0)
    GRID_FIELD(int, FixedWidth, 0)
    GRID_FIELD(int, FixedHeight, 0)
    GRID_FIELD(bool, UseFixedHeight, false)
    GRID_FIELD(bool, UseFixedWidth, false)
    GRID_FIELD(TFitToPage, FitToPage, fpNever)
    GRID_FIELD(QString, JobName, QString())
    GRID_FIELD(QString, PageNumSep, QStringLiteral("/"))
    GRID_FIELD(bool, NoAutoSize, false)
    GRID_FIELD(bool, NoAutoSizeRow, false)
    GRID_FIELD(bool, PrintGraphics, false)
    GRID_FIELD(bool, UseDisplayFont, true)
    GRID_FIELD(bool, UseDefaultOrientation, false)
    GRID_FIELD(bool, FixedCellsAlways, false)

    TFont* Font() { return &FFont; }
    TFont* FixedFont() { return &FFixedFont; }
    TFont* HeaderFont() { return &FHeaderFont; }
    TFont* FooterFont() { return &FFooterFont; }

private:
    TFont FFont, FFixedFont, FHeaderFont, FFooterFont;
};

class THTMLSettings : public TPersistent {
public:
    THTMLSettings() : FColWidths(0, 0) {}
    QString ClassName() const override { return QStringLiteral("THTMLSettings"); }
    void Assign(const TPersistent* Source) override;

    GRID_FIELD(bool, AutoPreview, false)
    GRID_FIELD(int, BorderSize, 1)
    GRID_FIELD(int, CellSpacing, 0)
    GRID_FIELD(int, CellPadding, 0)
    GRID_FIELD(bool, ConvertSpecialChars, false)
    GRID_FIELD(bool, ExportImages, true)
    GRID_FIELD(QString, FooterFile, QString())
    GRID_FIELD(QString, HeaderFile, QString())
    GRID_FIELD(bool, NonBreakingText, false)
    GRID_FIELD(QString, PrefixTag, QString())
    GRID_FIELD(QString, SuffixTag, QString())
    GRID_FIELD(bool, SaveColor, true)
    GRID_FIELD(bool, SaveFonts, true)
    GRID_FIELD(QString, Summary, QString())
    GRID_FIELD(QString, TableStyle, QString())
    GRID_FIELD(int, Width, 100)
    GRID_FIELD(bool, XHTML, false)

    TIntList* ColWidths() { return &FColWidths; }

private:
    TIntList FColWidths;
};

class TDragDropSettings : public TPersistent {
public:
    explicit TDragDropSettings(TProStringGrid* AOwner = nullptr) { (void)AOwner; }
    QString ClassName() const override { return QStringLiteral("TDragDropSettings"); }
    void Assign(const TPersistent* Source) override;

    GRID_FIELD(bool, OleDropTarget, false)
    GRID_FIELD(bool, OleDropSource, false)
    GRID_FIELD(bool, OleAcceptText, true)
    GRID_FIELD(bool, OleAcceptFiles, true)
    GRID_FIELD(bool, OleAcceptURLs, true)
    GRID_FIELD(bool, OleDropRTF, false)
    GRID_FIELD(bool, OleEntireRows, false)
    GRID_FIELD(bool, OleAppendRows, false)
    GRID_FIELD(bool, OleInsertRows, false)
    GRID_FIELD(bool, OleRemoveRows, false)
    GRID_FIELD(bool, OleCopyAlways, false)
    GRID_FIELD(bool, OleColumnDragDrop, false)
    GRID_FIELD(bool, OleColumnReorder, false)
    GRID_FIELD(bool, OleColumnsOnly, false)
    GRID_FIELD(bool, ShowCells, true)
};

// ---- Column sizes --------------------------------------------------------------------------

enum TColumnSizeLocation { clRegistry, clIniFile };
enum TAutoSizeRows { arAll, arNormal, arFixed };

class TColumnSize : public TPersistent {
public:
    explicit TColumnSize(TProStringGrid* AOwner) : FOwner(AOwner) {}
    QString ClassName() const override { return QStringLiteral("TColumnSize"); }
    void Assign(const TPersistent* Source) override;

    GRID_FIELD(TAutoSizeRows, Rows, arAll)
    GRID_FIELD(bool, Save, false)
    GRID_FIELD(QString, Key, QString())
    GRID_FIELD(QString, Section, QString())
    GRID_FIELD(int, StretchColumn, -1)
    GRID_FIELD(bool, SynchWithGrid, false)
    GRID_FIELD(bool, SynchNormalCellsOnly, false)
    GRID_FIELD(TColumnSizeLocation, Location, clRegistry)

    bool Stretch() const { return FStretch; }
    // A grid on a window stretches the column at once.
    void SetStretch(bool v);

private:
    TProStringGrid* FOwner;
    bool FStretch = false;
};
