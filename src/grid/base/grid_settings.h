#pragma once
// The grid's settings objects: plain holders of options, each with a change event that the
// owning grid handles.  Assign copies only from an object of the same class.  Also the focus
// frame window, the alpha mask bitmap and the mask routines the focus frame is drawn with.
#include "platform/core/classes.h"
#include "platform/ui/canvas.h"

#include <QImage>
#include <QStringList>
#include <QWidget>

class QObject;
class TStringGrid;

// A stored setting: getter, setter and field.
#define GRID_FIELD(T, N, D)                         \
public:                                             \
    T N() const { return F##N; }                    \
    void Set##N(const T& v) { F##N = v; }           \
private:                                            \
    T F##N = D;                                     \
public:

// A setting whose setter fires the change event (always).
#define GRID_FIELD_EVENT(T, N, D)                   \
public:                                             \
    T N() const { return F##N; }                    \
    void Set##N(const T& v) { F##N = v; Changed(); }\
private:                                            \
    T F##N = D;                                     \
public:

// A setting whose setter fires the change event only when the value changes.
#define GRID_FIELD_EVENT_CHANGED(T, N, D)           \
public:                                             \
    T N() const { return F##N; }                    \
    void Set##N(const T& v) { if (F##N == v) return; F##N = v; Changed(); } \
private:                                            \
    T F##N = D;                                     \
public:

class TGridSettings : public TPersistent {
public:
    TNotifyEvent OnChange;

protected:
    void Changed() { FireNotify(OnChange, this); }
};

enum TSearchDirection { sdTopBottom, sdLeftRight };

class TSearchFooter : public TGridSettings {
public:
    TSearchFooter(QObject* AOwner, bool InitDesign);
    QString ClassName() const override { return QStringLiteral("TSearchFooter"); }
    void Assign(const TPersistent* Source) override;

    GRID_FIELD_EVENT_CHANGED(bool, Visible, false)
    GRID_FIELD_EVENT(TColor, Color, 0xFFFFFF)
    GRID_FIELD_EVENT(TColor, ColorTo, clBtnFace)
    GRID_FIELD_EVENT_CHANGED(bool, ShowFindNext, true)
    GRID_FIELD_EVENT_CHANGED(bool, ShowFindPrev, true)
    GRID_FIELD_EVENT_CHANGED(bool, ShowMatchCase, true)
    GRID_FIELD_EVENT_CHANGED(bool, ShowHighLight, true)
    GRID_FIELD_EVENT_CHANGED(bool, ShowClose, true)
    GRID_FIELD_EVENT(QString, FindNextCaption, QString())
    GRID_FIELD_EVENT(QString, FindPrevCaption, QString())
    GRID_FIELD_EVENT(QString, MatchCaseCaption, QString())
    GRID_FIELD_EVENT(QString, HighLightCaption, QString())
    GRID_FIELD_EVENT(QString, HintFindNext, QString())
    GRID_FIELD_EVENT(QString, HintFindPrev, QString())
    GRID_FIELD_EVENT(QString, HintHighlight, QString())
    GRID_FIELD_EVENT(QString, HintClose, QString())
    GRID_FIELD_EVENT(bool, AutoThemeAdapt, false)
    GRID_FIELD(bool, AutoSearch, true)
    GRID_FIELD(bool, AlwaysHighLight, false)
    GRID_FIELD(int, SearchColumn, -1)
    GRID_FIELD(bool, SearchActiveColumnOnly, false)
    GRID_FIELD(bool, SearchMatchStart, false)
    GRID_FIELD(bool, SearchFixedCells, false)
    GRID_FIELD(bool, SearchHiddenRows, false)
    GRID_FIELD(TSearchDirection, SearchDirection, sdTopBottom)
    GRID_FIELD(QString, LastSearch, QString())

    TFont* Font() { return &FFont; }
    void SetFont(const TFont& v) { FFont.Assign(v); Changed(); }

private:
    TFont FFont;
};

enum TClipboardPasteAction { paReplace, paInsert };
enum TAdvanceDirection { adLeftRight, adTopBottom, adLeftRightInRow, adTopBottomInCol };
enum TInsertPosition { pInsertBefore, pInsertAfter };
enum THomeEndAction { heFirstLastColumn, heFirstLastRow, heFirstLastCell };
enum TCursorAdvance { caDefault, caSnake, caLoop };

class TNavigation : public TGridSettings {
public:
    QString ClassName() const override { return QStringLiteral("TNavigation"); }
    void Assign(const TPersistent* Source) override;

    GRID_FIELD(bool, AllowInsertRow, false)
    GRID_FIELD(bool, AllowDeleteRow, false)
    GRID_FIELD(bool, AdvanceOnEnter, false)
    GRID_FIELD_EVENT_CHANGED(bool, AdvanceInsert, false)
    GRID_FIELD(bool, AutoGotoWhenSorted, false)
    GRID_FIELD(bool, AutoGotoIncremental, false)
    GRID_FIELD(bool, AutoComboDropSize, false)
    GRID_FIELD(bool, AllowClipboardShortCuts, false)
    GRID_FIELD(bool, AllowRTFClipboard, false)
    GRID_FIELD(bool, AllowSmartClipboard, false)
    GRID_FIELD(bool, AllowClipboardAlways, false)
    GRID_FIELD(bool, AllowClipboardColGrow, true)
    GRID_FIELD(bool, AllowClipboardRowGrow, true)
    GRID_FIELD(TClipboardPasteAction, ClipboardPasteAction, paReplace)
    GRID_FIELD(bool, CopyHTMLTagsToClipboard, true)
    GRID_FIELD_EVENT_CHANGED(TAdvanceDirection, AdvanceDirection, adLeftRight)
    GRID_FIELD(bool, AdvanceAutoEdit, true)
    GRID_FIELD(bool, CursorWalkEditor, false)
    GRID_FIELD(bool, CursorWalkAlwaysEdit, true)
    GRID_FIELD(bool, MoveRowOnSort, false)
    GRID_FIELD(bool, KeepScrollOnSort, false)
    GRID_FIELD(bool, ImproveMaskSel, false)
    GRID_FIELD(bool, AlwaysEdit, false)
    GRID_FIELD(TInsertPosition, InsertPosition, pInsertBefore)
    GRID_FIELD(bool, LineFeedOnEnter, false)
    GRID_FIELD(THomeEndAction, HomeEndKey, heFirstLastColumn)
    GRID_FIELD(bool, KeepHorizScroll, false)
    GRID_FIELD(bool, AllowFmtClipboard, false)
    GRID_FIELD(bool, TabToNextAtEnd, false)
    GRID_FIELD(bool, EditSelectAll, true)
    GRID_FIELD(TAdvanceDirection, TabAdvanceDirection, adLeftRight)
    GRID_FIELD(bool, SkipFixedCells, true)
    GRID_FIELD(bool, SkipDisabledRows, true)
    GRID_FIELD(bool, AllowCtrlEnter, true)
    GRID_FIELD(bool, AppendOnArrowDown, false)
    GRID_FIELD(bool, LeftRightRowSelect, true)
    GRID_FIELD(bool, MoveScrollOnly, false)
    GRID_FIELD(bool, ComboGetUpDown, true)
    GRID_FIELD(bool, AdvanceOnEnterLoop, true)
    GRID_FIELD(TCursorAdvance, CursorAdvance, caDefault)
    GRID_FIELD(bool, AdvanceSkipReadOnlyCells, true)
    GRID_FIELD(bool, CursorMoveRows, false)

    bool AdvanceAuto() const { return FAdvanceAuto; }
    // Automatic advance implies advancing on Enter.
    void SetAdvanceAuto(bool v);

private:
    bool FAdvanceAuto = false;
};

enum TGridFixedCellEdit { fceNone, fceDblClick, fceLeftClick, fceRightClick };
enum TGridFixedCellEditor { fceEdit, fceComboEdit, fceComboList };
enum TWheelAction { waMoveSelection, waScroll };

class TMouseActions : public TGridSettings {
public:
    explicit TMouseActions(QObject* AOwner = nullptr) { (void)AOwner; }
    QString ClassName() const override { return QStringLiteral("TMouseActions"); }
    void Assign(const TPersistent* Source) override;

    TNotifyEvent OnInvalidate;
    std::function<void(TObject* Sender, bool& IsDesigning)> OnIsDesigning;
    TNotifyEvent OnDisableEdit;

    GRID_FIELD(bool, ColSelect, false)
    GRID_FIELD(bool, RowSelect, false)
    GRID_FIELD(bool, AllSelect, false)
    GRID_FIELD(bool, DirectEdit, false)
    GRID_FIELD(bool, DirectComboDrop, false)
    GRID_FIELD(bool, DirectComboClose, false)
    GRID_FIELD(bool, DirectDateClose, false)
    GRID_FIELD(bool, DirectDateDrop, false)
    GRID_FIELD(bool, AllColumnSize, false)
    GRID_FIELD(bool, AllRowSize, false)
    GRID_FIELD(bool, CaretPositioning, false)
    GRID_FIELD(bool, SizeFixedCol, false)
    GRID_FIELD(bool, SizeFixedRow, false)
    GRID_FIELD(TGridFixedCellEdit, FixedRowsEdit, fceNone)
    GRID_FIELD(TGridFixedCellEdit, FixedColsEdit, fceNone)
    GRID_FIELD(TGridFixedCellEditor, FixedRowsEditor, fceEdit)
    GRID_FIELD(TGridFixedCellEditor, FixedColsEditor, fceEdit)
    GRID_FIELD(bool, RangeSelectAndEdit, false)
    GRID_FIELD(bool, NoAutoRangeScroll, false)
    GRID_FIELD(bool, PreciseCheckBoxCheck, false)
    GRID_FIELD(bool, PreciseNodeClick, true)
    GRID_FIELD(bool, CheckAllCheck, false)
    GRID_FIELD(bool, NodeAllExpandContract, false)
    GRID_FIELD(bool, MoveRowOnNodeClick, false)
    GRID_FIELD(bool, RowSelectPersistent, false)
    GRID_FIELD(bool, SelectOnRightClick, false)
    GRID_FIELD(bool, NoScrollOnPartialRow, false)
    GRID_FIELD(int, WheelIncrement, 0)
    GRID_FIELD(bool, AutoSizeColOnDblClick, true)
    GRID_FIELD(bool, DisjunctRowSelectNoCtrl, false)

    bool DisjunctRowSelect() const { return FDisjunctRowSelect; }
    void SetDisjunctRowSelect(bool v);
    // Plain field access, without the setter's rules.
    bool& DisjunctRowSelectDirect() { return FDisjunctRowSelect; }
    bool DisjunctColSelect() const { return FDisjunctColSelect; }
    void SetDisjunctColSelect(bool v);
    bool DisjunctCellSelect() const { return FDisjunctCellSelect; }
    void SetDisjunctCellSelect(bool v);
    bool HotmailRowSelect() const { return FHotmailRowSelect; }
    void SetHotmailRowSelect(bool v);
    bool EditOnDblClickOnly() const { return FEditOnDblClickOnly; }
    void SetEditOnDblClickOnly(bool v);
    TWheelAction WheelAction() const { return FWheelAction; }
    void SetWheelAction(TWheelAction v);
    const QStringList& FixedComboValues() const { return FFixedComboValues; }
    void SetFixedComboValues(const QStringList& v) { FFixedComboValues = v; }

private:
    bool Designing();

    bool FDisjunctRowSelect = false;
    bool FDisjunctColSelect = false;
    bool FDisjunctCellSelect = false;
    bool FHotmailRowSelect = false;
    bool FEditOnDblClickOnly = false;
    TWheelAction FWheelAction = waMoveSelection;
    QStringList FFixedComboValues;
};

class TSyncGrid : public TPersistent {
public:
    explicit TSyncGrid(TStringGrid* AOwner) : FOwner(AOwner) {}
    QString ClassName() const override { return QStringLiteral("TSyncGrid"); }
    void Assign(const TPersistent* Source) override;

    TStringGrid* Grid() const { return FGrid; }
    // The grid cannot be kept in step with itself.
    void SetGrid(TStringGrid* v)
    {
        if (v != FOwner || v == nullptr) FGrid = v;
    }

    GRID_FIELD(bool, ScrollHorizontal, false)
    GRID_FIELD(bool, ScrollVertical, false)
    GRID_FIELD(bool, SelectionRow, false)
    GRID_FIELD(bool, SelectionColumn, false)
    GRID_FIELD(bool, MoveRow, false)
    GRID_FIELD(bool, MoveColumn, false)

private:
    TStringGrid* FOwner;
    TStringGrid* FGrid = nullptr;
};

// Banded row colours.
class TBands : public TGridSettings {
public:
    QString ClassName() const override { return QStringLiteral("TBands"); }
    void Assign(const TPersistent* Source) override;

    bool Active() const { return FActive; }
    void SetActive(bool v);
    TColor PrimaryColor() const { return FPrimaryColor; }
    void SetPrimaryColor(TColor v);
    TColor SecondaryColor() const { return FSecondaryColor; }
    void SetSecondaryColor(TColor v);
    int PrimaryLength() const { return FPrimaryLength; }
    void SetPrimaryLength(int v);
    int SecondaryLength() const { return FSecondaryLength; }
    void SetSecondaryLength(int v);
    int TotalLength() const { return FTotalLength; }

    GRID_FIELD(bool, Print, false)

private:
    void ChangedWhenActive()
    {
        if (FActive) Changed();
    }
    bool FActive = false;
    int FTotalLength = 2;
    int FSecondaryLength = 1;
    int FPrimaryLength = 1;
    TColor FSecondaryColor = clWindow;
    TColor FPrimaryColor = clInfoBk;
};

class TFocusHelper : public TPersistent {
public:
    explicit TFocusHelper(QObject* AOwner = nullptr) { (void)AOwner; }
    QString ClassName() const override { return QStringLiteral("TFocusHelper"); }
    void Assign(const TPersistent* Source) override;
    GRID_FIELD(bool, Enabled, false)
};

class TShowModified : public TGridSettings {
public:
    QString ClassName() const override { return QStringLiteral("TShowModified"); }
    void Assign(const TPersistent* Source) override;
    GRID_FIELD(bool, Enabled, false)
    GRID_FIELD_EVENT(TColor, Color, 0x00FFFF)
};

enum TProgressStyle { psXP, psClassic };

class TGridProgressAppearance : public TGridSettings {
public:
    QString ClassName() const override { return QStringLiteral("TGridProgressAppearance"); }
    void Assign(const TPersistent* Source) override;

    GRID_FIELD_EVENT_CHANGED(TColor, UnCompleteFontColor, clWindowText)
    GRID_FIELD_EVENT_CHANGED(TColor, CompleteColor, 0x0000FF)
    GRID_FIELD_EVENT_CHANGED(TColor, UnCompleteColor, clNone)
    GRID_FIELD_EVENT_CHANGED(TColor, CompleteFontColor, 0xFF0000)
    GRID_FIELD_EVENT_CHANGED(bool, Stacked, false)
    GRID_FIELD_EVENT_CHANGED(bool, ShowPercentage, true)
    GRID_FIELD_EVENT_CHANGED(bool, ShowBorder, false)
    GRID_FIELD_EVENT_CHANGED(bool, CompletionSmooth, true)
    GRID_FIELD_EVENT_CHANGED(bool, ShowGradient, true)
    GRID_FIELD_EVENT_CHANGED(int, Level2Perc, 90)
    GRID_FIELD_EVENT_CHANGED(int, Level1Perc, 70)
    GRID_FIELD_EVENT_CHANGED(int, Steps, 11)
    GRID_FIELD_EVENT_CHANGED(TColor, Level3Color, 0x0000FF)
    GRID_FIELD_EVENT_CHANGED(TColor, Level1Color, 0x00FFFF)
    GRID_FIELD_EVENT_CHANGED(TColor, Level0Color, 0x00FF00)
    GRID_FIELD_EVENT_CHANGED(TColor, Level3ColorTo, 0xCACAFF)
    GRID_FIELD_EVENT_CHANGED(TColor, Level2ColorTo, 0xA8D3FF)
    GRID_FIELD_EVENT_CHANGED(TColor, Level0ColorTo, 0xE1FFE1)
    GRID_FIELD_EVENT_CHANGED(TColor, Level1ColorTo, 0xCAFFFF)
    GRID_FIELD_EVENT_CHANGED(TColor, BorderColor, 0x000000)
    GRID_FIELD_EVENT_CHANGED(TColor, Level2Color, 0x53A9FF)
    GRID_FIELD_EVENT_CHANGED(TProgressStyle, Style, psXP)
};

// The focus frame: a disabled, topmost tool window without a frame that the grid shapes
// and fades around its current cell.
class TGridFocusWindow : public QWidget {
public:
    explicit TGridFocusWindow(QWidget* AOwner);
    TColor Color() const { return FColor; }
    void SetColor(TColor v) { FColor = v; update(); }
    // The per-pixel alpha picture the window shows (premultiplied), at a constant opacity.
    void SetLayer(const QImage& Image, uint8_t Opacity);
    const QImage& Layer() const { return FLayer; }
    uint8_t LayerOpacity() const { return FOpacity; }

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    TColor FColor = 0x0000FF;
    QImage FLayer;
    uint8_t FOpacity = 255;
};

class TGridAlphaMask : public TBitmap {
public:
    TGridAlphaMask() { SetPixelFormat(pf32bit); }
    uint8_t Opacity = 255;
    void Assign(const TBitmap& Source);
    // Premultiplied alpha from a 24-bit bitmap and a mask of its size (red channel = alpha).
    void MergeMask(TBitmap& Mask, TBitmap& Bitmap, TColor Color);
};

void CreateRoundRectMask(TBitmap& Bitmap, int Width, int Height, int PenWidth, int Radius, int Blur);
// Gaussian blur of a 24-bit mask; raises "Blur only works for 24-bit bitmaps" otherwise.
void BlurBitmap(TBitmap& Bitmap, int Radius);
