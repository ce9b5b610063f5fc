// The grid drop-down: the lookup grid, opening and closing, choosing in the list, the list
// search and the edit-side completion, and the grid's events passed on.
#include "grid/controls/pro_grid_dropdown.h"

#include "grid/base/grid_settings.h"
#include "platform/ui/image_list.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QStyle>
#include <cmath>

using namespace GridDropDown;

namespace {
// The item number a row's first cell object holds.
TObject* NumberObject(int N) { return reinterpret_cast<TObject*>(intptr_t(N)); }
int NumberOf(TObject* O) { return int(reinterpret_cast<intptr_t>(O)); }

bool IsNavigationKey(int Key)
{
    return Key == Qt::Key_PageUp || Key == Qt::Key_PageDown || Key == Qt::Key_End || Key == Qt::Key_Home ||
           Key == Qt::Key_Up || Key == Qt::Key_Down;
}

// The string list's search: the first entry equal to S, letter case aside.
int IndexOfText(const QStringList& List, const QString& S)
{
    for (int i = 0; i < List.size(); ++i)
        if (List.at(i).compare(S, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

int VerticalScrollBarWidth() { return QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent); }

// A canvas to measure texts with, in the given font.
struct TMeasure {
    QImage Surface{1, 1, QImage::Format_RGB32};
    TCanvas Canvas{&Surface};
    explicit TMeasure(const TFont& Font) { Canvas.Font()->Assign(Font); }
    int Width(const QString& S)
    {
        TRect r{0, 0, 1000, 500};
        Canvas.DrawText(S, r, DT_CALCRECT | DT_SINGLELINE);
        return r.Width();
    }
    int WrappedHeight(const QString& S, int W)
    {
        TRect r{0, 0, W, 500};
        return Canvas.DrawText(S, r, DT_CALCRECT | DT_WORDBREAK);
    }
};
} // namespace

// ---- the lookup grid -----------------------------------------------------------------------

TProColGrid::TProColGrid(QWidget* AOwner) : TProStringGrid(AOwner), FColumns(this) {}

TProColGrid::~TProColGrid() { Teardown(); }

void TProColGrid::AfterConstruction()
{
    TProStringGrid::AfterConstruction();
    FOldRow = Row();
    SetFixedRowAlways(true);
    SetFixedRows(1);
    SetFixedCols(0);
    TGridOptions o = Options();
    o.Include(goHorzLine);
    o.Include(goRowSelect);
    o.Exclude(goRangeSelect);
    SetOptions(o);
    SetBorderStyle(bsNone);
}

bool TProColGrid::ParentIsForm() const
{
    return FProDropDown && parentWidget() && parentWidget() == FProDropDown->FDropDownForm;
}

void TProColGrid::LoadFromDropDown(TCustomProGridDropDown* D)
{
    if (!D) return;
    FProDropDown = D;
    FColumns.Assign(D->FColumns);
    const int n = FColumns.Count();
    if (n < ColCount()) SetColCount(n);
    if (D->UseItems) SetRowCount(D->FItems->Count() + 1);
    for (int c = 0; c < n && c < ColCount(); ++c) SetColWidths(c, FColumns.Items(c)->Width);
    LineColor = D->LineColor;
    FixedLineColor = D->FixedLineColor;
    HeaderColor = D->HeaderColor;
    HeaderColorTo = D->HeaderColorTo;
    HeaderHeight = D->HeaderHeight;
    FHeaderFont.Assign(D->FHeaderFont);
    SetHoverRow(D->HoverRow);
    SetHoverRowColor(D->HoverRowColor);
    SetHoverRowColorTo(D->HoverRowColorTo);
    Images = D->Images();
    SetDefaultRowHeight(D->DropDownRowHeight());
    if (RowCount() > 0) SetRowHeights(0, HeaderHeight);
    TGridOptions o = Options();
    auto option = [&o](TGridOption Option, bool On) {
        if (On) o.Include(Option);
        else o.Exclude(Option);
    };
    option(goColSizing, D->ColumnSizing);
    option(goColMoving, D->ColumnMoving);
    option(goRowSizing, D->RowSizing);
    option(goRowMoving, D->RowMoving);
    SetOptions(o);
    if (D->AutoSizeColumns) {
        if (D->UseItems) AutoSizeColumns();
        else TProStringGrid::AutoSizeColumns(true, 4);
    }
    SizeWrappedRows();
}

void TProColGrid::LoadItems()
{
    if (!FProDropDown) return;
    const int n = FColumns.Count();
    if (n != ColCount()) SetColCount(n);
    for (int c = 0; c < n; ++c) {
        SetCells(c, 0, FColumns.Items(c)->Header);
        SetObjectEx(c, 0, NumberObject(-1));
    }
    const TDropDownItems& items = *FProDropDown->FItems;
    const int count = items.Count();
    if (count > 0) SetRowCount(FixedRows() + count);
    for (int c = 0; c < n; ++c) {
        QStringList col = Cols(c);
        for (int i = 0; i < count && i + 1 < col.size(); ++i) col[i + 1] = items.Items(i)->TextOf(c);
        SetCols(c, col);
    }
    for (int i = 0; i < count; ++i) SetObjectEx(0, i + 1, NumberObject(i));
}

void TProColGrid::AutoSizeColumns()
{
    for (int c = 0; c < FColumns.Count(); ++c)
        if (FColumns.Items(c)->AutoSize) AutoSizeColumn(c);
}

void TProColGrid::AutoSizeColumn(int Index)
{
    if (Index < 0 || Index >= FColumns.Count() || !FColumns.Items(Index)->AutoSize || !ParentIsForm()) return;
    TDropDownColumn* col = FColumns.Items(Index);
    const TDropDownItems& items = *FProDropDown->FItems;
    TMeasure m(col->Font());
    int W = 0;
    for (int r = 1; r < RowCount() && r - 1 < items.Count(); ++r) {
        const TDropDownItem* item = items.Items(r - 1);
        int w = col->ColumnType == ctImage && item->ImageIndex >= 0 && Images ? Images->Width() + 4 : 0;
        const QString t = item->TextOf(Index);
        if (!t.isEmpty()) w += m.Width(t) + 6;
        W = std::max(W, w);
    }
    col->Width = W;
    if (Index < ColCount()) SetColWidths(Index, W);
}

void TProColGrid::SizeWrappedRows()
{
    bool wrap = false;
    for (int c = 0; c < FColumns.Count(); ++c) wrap = wrap || FColumns.Items(c)->Wordwrap;
    if (!wrap || !ParentIsForm()) return;
    const bool useItems = FProDropDown->UseItems;
    const TDropDownItems& items = *FProDropDown->FItems;
    for (int r = FixedRows(); r < RowCount(); ++r) {
        int h = 24;
        for (int c = 0; c < FColumns.Count(); ++c) {
            const TDropDownColumn* col = FColumns.Items(c);
            if (!col->Wordwrap) continue;
            const TDropDownItem* item = useItems && r - 1 < items.Count() ? items.Items(r - 1) : nullptr;
            const QString t = useItems ? (item ? item->TextOf(c) : QString()) : Cells(c, r);
            int b = useItems && item && col->ColumnType == ctImage && item->ImageIndex >= 0 && Images
                        ? Images->Height() + 6
                        : 0;
            if (!t.isEmpty()) {
                TMeasure m(col->Font());
                b = std::max(b, m.WrappedHeight(t, col->Width) + 6);
            }
            h = std::max(h, b);
        }
        SetRowHeights(r, h);
    }
}

int TProColGrid::FullWidth()
{
    int w = 0;
    for (int c = 0; c < ColCount(); ++c) w += ColWidths(c);
    if (VisibleRowCount() + FixedRows() != RowCount()) w += VerticalScrollBarWidth();
    return w;
}

void TProColGrid::DoSelect()
{
    if (OnSelect) OnSelect(this);
}

void TProColGrid::HandleKeyDownMessage(TMessage& Message)
{
    const int key = int(Message.WParam);
    if (key == VK_TAB) return;
    FConfirmSelection = true;
    const TShiftState shift = KeyShiftState();
    if ((key == VK_UP || key == VK_DOWN) && shift.Contains(ssAlt)) {
        // Alt+Up/Down closes the list, as in the edit
        if (FProDropDown) {
            QKeyEvent k(QEvent::KeyPress, key == VK_UP ? Qt::Key_Up : Qt::Key_Down, Qt::AltModifier);
            FProDropDown->HandleKeyDown(&k);
        }
        return;
    }
    if (key == VK_RETURN) {
        // the grid sees no key; the row is chosen
        Message.WParam = 0;
        TProStringGrid::HandleKeyDownMessage(Message);
        DoSelect();
        return;
    }
    TProStringGrid::HandleKeyDownMessage(Message);
}

void TProColGrid::HandleCharMessage(TMessage& Message)
{
    if (Message.WParam == VK_RETURN) return;
    TProStringGrid::HandleCharMessage(Message);
}

void TProColGrid::WMGetDlgCode(TMessage& m)
{
    TProStringGrid::WMGetDlgCode(m);
    m.Result |= DLGC_WANTARROWS | DLGC_WANTTAB;
}

void TProColGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    FConfirmSelection = true;
    FOldRow = Row();
    TProStringGrid::MouseDown(Button, Shift, X, Y);
}

void TProColGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TProStringGrid::MouseUp(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    int c = -1, r = -1;
    MouseToCell(X, Y, c, r);
    if (c < 0 || r < FixedRows() || r >= RowCount()) return;
    if (HasCheckBox(DisplToRealColumn(c), r)) return;
    DoSelect();
}

void TProColGrid::WindowMessageHook(TMessage& Message)
{
    if (Message.Msg != WM_MOUSEWHEEL) {
        TProStringGrid::WindowMessageHook(Message);
        return;
    }
    // the current row follows the wheel; the entry is chosen only by a key or a click
    FMouseWheelSelection = true;
    FConfirmSelection = false;
    TProStringGrid::WindowMessageHook(Message);
    FMouseWheelSelection = false;
}

// ---- the drop-down: construction -------------------------------------------------------------

TCustomProGridDropDown::TCustomProGridDropDown(QWidget* AParent)
    : TProCustomDropDown(AParent), FColumns(this), FSearchFooter(std::make_unique<TSearchFooter>(this, false)),
      FMouseActions(std::make_unique<TMouseActions>()), FNavigation(std::make_unique<TNavigation>()),
      FBands(std::make_unique<TBands>())
{
    // the base applied its styles before this object existed: once more with the header
    TCustomProGridDropDown::SetComponentStyle(tsOffice2007Luna);
    SetDropDownColor(0xFFFFFF);
    SetDropDownHeight(200);
    FItems = CreateItems(this);
    FNavigation->SetHomeEndKey(heFirstLastRow);
    TCustomProGridDropDown::SetSelectionColorStyle(scOffice2007);
    DropDownForm();
    connect(this, &QLineEdit::textChanged, this, [this] { Change(); });
}

TCustomProGridDropDown::~TCustomProGridDropDown()
{
    // the grid's events call back into this object
    if (FProColGrid) {
        FProColGrid->removeEventFilter(this);
        FProColGrid->Free();
        FProColGrid = nullptr;
    }
}

QString TCustomProGridDropDown::Version() const
{
    const uint32_t v = GetVersionNr();
    return QStringLiteral("%1.%2.%3.%4").arg(v >> 24).arg((v >> 16) & 0xFF).arg((v >> 8) & 0xFF).arg(v & 0xFF);
}

std::unique_ptr<TDropDownItems> TCustomProGridDropDown::CreateItems(QObject* Owner)
{
    return std::make_unique<TDropDownItems>(Owner);
}

void TCustomProGridDropDown::CreateDropDownForm()
{
    TProCustomDropDown::CreateDropDownForm();
    if (FProColGrid) return;
    FProColGrid = CreateGrid<TProColGrid>(FDropDownForm);
    FProColGrid->SetDropDown(this);
    FProColGrid->SetBounds(0, 0, FProColGrid->width(), 180);
    FProColGrid->SetColor(DropDownColor());
    FProColGrid->Navigation()->SetHomeEndKey(heFirstLastRow);
    FProColGrid->installEventFilter(this);
    SetFocusControl(FProColGrid);
}

void TCustomProGridDropDown::Loaded()
{
    BuildLookupItems();
    if (FProColGrid) FProColGrid->LoadItems();
}

// ---- properties ----------------------------------------------------------------------------

void TCustomProGridDropDown::SetStyle(GridDropDown::TDropDownStyle v)
{
    FStyleKind = v;
    SetEditorEnabled(v == dsDropDown);
}

void TCustomProGridDropDown::SetDropDownRowHeight(int v)
{
    if (v > 0) FDropDownRowHeight = v;
}

void TCustomProGridDropDown::SetGridImages(TCustomImageList* v)
{
    FGridImages = v;
    if (FProColGrid) FProColGrid->SetGridImages(v);
}

int TCustomProGridDropDown::DataRows() const
{
    return FProColGrid ? FProColGrid->RowCount() - FProColGrid->FixedRows() : 0;
}

int TCustomProGridDropDown::GetEntryCount() const { return UseItems ? FItems->Count() : std::max(0, DataRows()); }

void TCustomProGridDropDown::SetItemIndex(int Value)
{
    if (UseItems) {
        if (Value >= FItems->Count()) return;
        FItemIndex = Value;
        SetTextQuiet(Value < 0 || LookupColumn < 0 ? QString() : FItems->Items(Value)->TextOf(LookupColumn));
        return;
    }
    if (!FProColGrid) {
        FItemIndex = Value;
        return;
    }
    if (Value == FItemIndex || Value >= FProColGrid->RowCount()) return;
    FItemIndex = Value;
    SetTextQuiet(Value < 0 ? QString() : FProColGrid->Cells(LookupColumn, Value + 1));
}

void TCustomProGridDropDown::SelectFirst()
{
    if (GetEntryCount() > 0) SetItemIndex(0);
}

void TCustomProGridDropDown::SelectLast()
{
    if (const int n = GetEntryCount(); n > 0) SetItemIndex(n - 1);
}

void TCustomProGridDropDown::SelectNext()
{
    const int n = GetEntryCount();
    if (n == 0) return;
    if (FItemIndex < 0) SetItemIndex(0);
    else if (FItemIndex < n - 1) SetItemIndex(FItemIndex + 1);
}

void TCustomProGridDropDown::SelectPrevious()
{
    if (GetEntryCount() == 0) return;
    if (FItemIndex < 0) SetItemIndex(0);
    else if (FItemIndex > 0) SetItemIndex(FItemIndex - 1);
}

void TCustomProGridDropDown::SelectNextPage()
{
    const int n = GetEntryCount();
    if (n == 0) return;
    if (FItemIndex < 0) SetItemIndex(0);
    else SetItemIndex(FItemIndex + 10 >= n ? n - 1 : FItemIndex + 10);
}

void TCustomProGridDropDown::SelectPreviousPage()
{
    if (GetEntryCount() == 0) return;
    SetItemIndex(FItemIndex < 0 || FItemIndex - 10 < 0 ? 0 : FItemIndex - 10);
}

int TCustomProGridDropDown::ItemOfRow(int Row) const
{
    if (!FProColGrid || Row < 0 || Row >= FProColGrid->RowCount()) return Row;
    return NumberOf(FProColGrid->GetObjectEx(0, Row));
}

int TCustomProGridDropDown::RowOfItem(int Item) const
{
    if (Item < 0 || !FProColGrid || DataRows() <= 0) return FItemIndex;
    for (int r = FProColGrid->FixedRows(); r < FProColGrid->RowCount(); ++r)
        if (NumberOf(FProColGrid->GetObjectEx(0, r)) == Item) return r;
    return FItemIndex;
}

// ---- colour styles -------------------------------------------------------------------------

void TCustomProGridDropDown::SetSelectionColorStyle(TSelectionColorStyle Style)
{
    switch (Style) {
    case scOffice2007:
        LineColor = 0xF1EDEB;
        FixedLineColor = 0xD1BBA4;
        break;
    case scWindowsVista:
    case scWindows7:
        LineColor = 0xECECF0;
        FixedLineColor = 0xD4D2D1;
        break;
    default: break;
    }
    TProCustomDropDown::SetSelectionColorStyle(Style);
}

void TCustomProGridDropDown::SetComponentStyle(TProStyle AStyle)
{
    TProCustomDropDown::SetComponentStyle(AStyle);
    struct TRow {
        TProStyle Style;
        TColor Header, HeaderTo;
        TSelectionColorStyle Selection;
        TColor Font;  // clNone: unchanged
        TColor Line, FixedLine;
    };
    static const TRow rows[] = {
        {tsOffice2003Blue, 0xD68759, 0x933803, scOffice2007, 0xFFFFFF, 0x962D00, 0x962D00},
        {tsOffice2003Silver, 0xBDA4A5, 0x957475, scOffice2007, clNone, 0x947C7C, 0x947C7C},
        {tsOffice2003Olive, 0x82C0AF, 0x447A63, scOffice2007, clNone, 0x588060, 0x588060},
        {tsOffice2003Classic, 0x808080, 0x808080, scOffice2007, clNone, 0x808080, 0x808080},
        {tsOffice2007Luna, 0xFFEFE3, 0xFFD2AF, scOffice2007, 0x723708, 0xFFD2AF, 0xFFD2AF},
        {tsOffice2007Obsidian, 0xF2F1F0, 0xC9C2BD, scOffice2007, 0x433C37, 0x5C534C, 0x5C534C},
        {tsWindowsXP, clBtnFace, clBtnFace, scCustom, 0x000000, 0xC0C0C0, 0x000000},
        {tsWhidbey, 0xEBEEEF, 0x7E9898, scOffice2007, 0xFFFFFF, 0x962D00, 0x962D00},
        {tsOffice2007Silver, 0xF8F7F6, 0xE8E0DB, scOffice2007, 0x8B4215, 0x74706F, 0x74706F},
        {tsWindowsVista, 0xFFFDF9, 0xFFFAF0, scWindowsVista, 0x000000, 0xFCF2DA, 0xFCF2DA},
        {tsWindows7, 0xFDFBFA, 0xFDF3EB, scWindows7, 0x000000, 0xFBD6B8, 0xFBD6B8},
        {tsTerminal, clBtnFace, clBtnFace, scCustom, 0x000000, 0x808080, 0x808080},
    };
    for (const TRow& r : rows) {
        if (r.Style != AStyle) continue;
        HeaderColor = r.Header;
        HeaderColorTo = r.HeaderTo;
        SetSelectionColorStyle(r.Selection);
        if (r.Font != clNone) FHeaderFont.SetColor(r.Font);
        LineColor = r.Line;
        FixedLineColor = r.FixedLine;
        if (AStyle == tsWindowsXP || AStyle == tsTerminal) {
            SetSelectionColor(clHighlight);
            SetSelectionColorTo(clHighlight);
            SelectionTextColor = clHighlightText;
        } else {
            SelectionTextColor = 0x000000;
        }
        return;
    }
}

// ---- opening -------------------------------------------------------------------------------

void TCustomProGridDropDown::BeforeDropDown()
{
    FDropDownForm->CancelOnDeActivate = false;
    if (TProColGrid* g = FProColGrid) {
        // the rows are loaded before the chosen item is looked for: moves of the current row
        // meanwhile choose nothing
        FLoadingList = true;
        // the rows are made anew from the items: rows a narrowing hid would come back twice
        if (UseItems) {
            RemoveNarrowing();
            FLookupEntry.clear();
        }
        g->LoadFromDropDown(this);
        g->SetColor(DropDownColor());
        TSortSettings* s = g->SortSettings();
        s->SetShow(Sorting != gsNone);
        s->SetIndexShow(Sorting == gsMultiColumn);
        FBalloonInit = false;
        BindGridEvents();
        g->SearchFooter()->Assign(FSearchFooter.get());
        g->MouseActions()->Assign(FMouseActions.get());
        g->Navigation()->Assign(FNavigation.get());
        g->Bands()->Assign(FBands.get());
        TGridOptions o = g->Options();
        o.Include(goThumbTracking);
        if (RowSelect) o.Include(goRowSelect);
        else o.Exclude(goRowSelect);
        if (GridEditable) o.Include(goEditing);
        else o.Exclude(goEditing);
        g->SetOptions(o);
        g->SetGridImages(FGridImages);
        g->SetComponentStyle(GetComponentStyle());
        if (UseItems) {
            FLoadingList = false;
            TProCustomDropDown::BeforeDropDown();
            FLoadingList = true;
            g->SetRowCount(FItems->Count() + 1);
            g->SetFixedRows(1);
            g->LoadItems();
            const int r = RowOfItem(FItemIndex);
            if (r >= g->FixedRows() && r < g->RowCount()) g->SetRowEx(r);
        } else {
            QString t;
            int row = -1;
            if (LookupText(Text(), t, row)) g->SetRowEx(row);
            else if (g->FixedRows() < g->RowCount()) g->SetRowEx(g->FixedRows());
        }
        if (s->Column() >= 0 && s->Show()) g->QSort();
        FLoadingList = false;
    }
    FOldItemIndex = FItemIndex;
    if (!UseItems) TProCustomDropDown::BeforeDropDown();
}

void TCustomProGridDropDown::AdaptDropDownHeight(int& Height)
{
    if (FDropDownRowHeight <= 0) return;
    const int H = DropDownHeader()->Visible() ? DropDownHeader()->Height : 0;
    const int F = DropDownFooter()->Visible() ? DropDownFooter()->Height : 0;
    const int fixed = H + F + HeaderHeight + 2;
    Height = fixed + ((Height - fixed) / FDropDownRowHeight) * FDropDownRowHeight + 4;
}

void TCustomProGridDropDown::DoShowDropDown()
{
    TProCustomDropDown::DoShowDropDown();
    TProColGrid* g = FProColGrid;
    if (!g || !FDroppedDown) return;
    if (!UseItems)
        while (FColumns.Count() < g->ColCount()) FColumns.Add();
    SizeColumnsToDropDown();
    if (g->VisibleRowCount() + g->FixedRows() < g->RowCount()) {
        const int cur = g->Row();
        if (g->VisibleRowCount() + g->TopRow() < cur || cur < g->TopRow()) g->SetTopRow(cur);
    }
    FSelRow = g->FixedRows();
    g->setFocusPolicy(Qt::StrongFocus);
    g->setFocus(Qt::PopupFocusReason);
}

void TCustomProGridDropDown::PlaceDropDownControl()
{
    SetControl(FProColGrid);
    TProCustomDropDown::PlaceDropDownControl();
}

void TCustomProGridDropDown::SizeDropDownForm()
{
    TProCustomDropDown::SizeDropDownForm();
    if (!DropDownAutoWidth || !FDropDownForm || !FProColGrid) return;
    FProColGrid->resize(FProColGrid->FullWidth(), FProColGrid->height());
    FDropDownForm->resize(FProColGrid->width() + 2 * DropDownBorderWidth, FDropDownForm->height());
}

void TCustomProGridDropDown::SizeColumnsToDropDown()
{
    TProColGrid* g = FProColGrid;
    if (!ColumnSizeWithDropDown || !g || !FDropDownForm) return;
    g->SetScrollBars(ssVertical);
    if (g->ColCount() == 0) return;
    double total = 1;
    for (int i = 0; i < g->ColCount(); ++i) total += g->ColWidths(i);
    double avail = FDropDownForm->width();
    if (g->VisibleRowCount() < g->RowCount() - g->FixedRows()) avail -= VerticalScrollBarWidth();
    const double factor = avail / total;
    double carry = 0;
    for (int i = 0; i < g->ColCount(); ++i) {
        const double width = g->ColWidths(i);
        const double exact = width * factor + carry;
        const int w = int(std::nearbyint(width * factor));
        carry = exact - w;
        if (carry > 1.0) {
            g->SetColWidths(i, w + 1);
            carry -= 1.0;
        } else {
            g->SetColWidths(i, w);
        }
    }
}

void TCustomProGridDropDown::DropDownFormResized()
{
    TProCustomDropDown::DropDownFormResized();
    SizeColumnsToDropDown();
}

// ---- closing and choosing ------------------------------------------------------------------

void TCustomProGridDropDown::DoHideDropDown(bool Cancel)
{
    if (FDropDownForm && FDropDownForm->isVisible()) {
        if (Cancel) {
            SetItemIndex(FOldItemIndex);
        } else if (FProColGrid && FProColGrid->FConfirmSelection) {
            SetItemIndex(UseItems ? ItemOfRow(FSelRow) : FSelRow - FProColGrid->FixedRows());
        }
        FOldItemIndex = FItemIndex;
        if (FProColGrid) FProColGrid->FConfirmSelection = false;
    }
    TProCustomDropDown::DoHideDropDown(Cancel);
}

void TCustomProGridDropDown::ListSelectCell(int ARow)
{
    FSelRow = ARow;
    if (FLoadingList || !FProColGrid || FProColGrid->FMouseWheelSelection) return;
    if (UseItems) {
        SetItemIndex(ItemOfRow(ARow));
    } else {
        SetTextQuiet(FProColGrid->Cells(LookupColumn, ARow));
        FItemIndex = ARow - FProColGrid->FixedRows();
    }
}

void TCustomProGridDropDown::ListSelect()
{
    TProColGrid* g = FProColGrid;
    if (!g) return;
    if (g->FConfirmSelection) SetItemIndex(UseItems ? ItemOfRow(g->Row()) : g->Row() - 1);
    if (!GridEditable) DoHideDropDown(false);
    if (OnSelect) OnSelect(this);
}

void TCustomProGridDropDown::ListCanSort() { FTempItemIndex = FItemIndex; }

void TCustomProGridDropDown::ListClickSort()
{
    const int r = RowOfItem(FTempItemIndex);
    if (r >= 0 && FProColGrid) FProColGrid->SetRowEx(r);
}

// ---- the grid's events ---------------------------------------------------------------------

namespace {
// A handler that fires Event when it is assigned, with the arguments the grid gave.
template <class F> F Relay(const F& Event)
{
    return [&Event](auto&&... a) {
        if (Event) Event(std::forward<decltype(a)>(a)...);
    };
}
} // namespace

void TCustomProGridDropDown::BindGridEvents()
{
    TProColGrid* g = FProColGrid;
    // Handlers that may open windows of their own keep the form from closing meanwhile.
    auto blocking = [this](auto& Event) {
        return [this, &Event](auto&&... a) {
            if (!Event) return;
            const bool was = FDropDownForm->BlockActivate;
            FDropDownForm->BlockActivate = true;
            Event(std::forward<decltype(a)>(a)...);
            FDropDownForm->BlockActivate = was;
        };
    };
    g->OnStartBlockFocus = [this](TObject*) { FDropDownForm->BlockActivate = true; };
    g->OnEndBlockFocus = [this](TObject*) { FDropDownForm->BlockActivate = false; };
    g->OnSelect = [this](TObject*) { ListSelect(); };
    g->OnAnchorClick = blocking(OnGridAnchorClick);
    g->OnAnchorEnter = Relay(OnGridAnchorEnter);
    g->OnAnchorExit = Relay(OnGridAnchorExit);
    g->OnAnchorHint = Relay(OnGridAnchorHint);
    g->OnButtonClick = blocking(OnGridButtonClick);
    g->OnColumnSize = Relay(OnGridColumnSize);
    g->OnColumnSizing = Relay(OnGridColumnSizing);
    g->OnEndColumnSize = Relay(OnGridEndColumnSize);
    g->OnRowSize = Relay(OnGridRowSize);
    g->OnRowSizing = Relay(OnGridRowSizing);
    g->OnEndRowSize = Relay(OnGridEndRowSize);
    g->OnRowMove = Relay(OnGridRowMove);
    g->OnRowMoving = Relay(OnGridRowMoving);
    g->OnRowMoved = Relay(OnGridRowMoved);
    g->OnColumnMove = Relay(OnGridColumnMove);
    g->OnColumnMoving = Relay(OnGridColumnMoving);
    g->OnColumnMoved = Relay(OnGridColumnMoved);
    // the custom drawing costs a call per cell: bound only when wanted
    g->OnCustomCellDraw = OnGridCustomCellDraw ? Relay(OnGridCustomCellDraw) : nullptr;
    g->OnCustomCellBkgDraw = OnGridCustomCellBkgDraw ? Relay(OnGridCustomCellBkgDraw) : nullptr;
    g->OnCellBalloon = Relay(OnGridCellBalloon);
    g->OnGetAlignment = [this](TObject* Sender, int ARow, int ACol, TAlignment& HAlign, TVAlignment& VAlign) {
        if (ACol >= 0 && ACol < FProColGrid->FColumns.Count()) HAlign = FProColGrid->FColumns.Items(ACol)->Alignment;
        if (OnGridGetAlignment) OnGridGetAlignment(Sender, ARow, ACol, HAlign, VAlign);
    };
    g->OnGetCellColor = [this](TObject* Sender, int ARow, int ACol, TGridDrawState AState, TBrush* ABrush,
                               TFont* AFont) {
        if (ACol >= 0 && ACol < FProColGrid->FColumns.Count() && ABrush)
            ABrush->SetColor(FProColGrid->FColumns.Items(ACol)->Color);
        if (OnGridGetCellColor) OnGridGetCellColor(Sender, ARow, ACol, AState, ABrush, AFont);
    };
    g->OnGetCellGradient = Relay(OnGridGetCellGradient);
    g->OnGetFloatFormat = [this](TObject* Sender, int ACol, int ARow, bool& IsFloat, QString& FloatFormat) {
        if (!OnGridGetFloatFormat) return;
        FloatFormat.clear();
        OnGridGetFloatFormat(Sender, ACol, ARow, IsFloat, FloatFormat);
    };
    g->OnGetEditorType = Relay(OnGridGetEditorType);
    g->OnGetEditorPropInt = Relay(OnGridGetEditorProp);
    g->OnCanEditCell = Relay(OnGridCanEditCell);
    g->OnEllipsClick = blocking(OnGridEllipsClick);
    g->OnGetDisplText = Relay(OnGridGetDiplText);
    g->OnGetFormat = Relay(OnGridGetFormat);
    g->OnGridHint = Relay(OnGridHint);
    g->OnMouseMove = [this](TObject* Sender, TShiftState Shift, int X, int Y) {
        // the balloon shows in the pop-up only after it was switched off and on once
        if (!FBalloonInit) {
            FBalloonInit = true;
            TBalloonSettings* b = FProColGrid->BalloonSettings();
            if (b->Enable()) {
                b->SetEnable(false);
                b->SetEnable(true);
            }
        }
        if (OnGridMouseMove) OnGridMouseMove(Sender, Shift, X, Y);
    };
    g->OnMouseDown = Relay(OnGridMouseDown);
    g->OnMouseUp = Relay(OnGridMouseUp);
    g->OnRightClickCell = Relay(OnGridRightClickCell);
    g->OnScrollHint = Relay(OnGridScrollHint);
    g->OnTopLeftChanged = [this](TObject*) {
        if (OnGridTopLeftChanged) OnGridTopLeftChanged(this);
    };
    g->OnSearchEditChange = Relay(OnGridSearchEditChange);
    g->OnAutoAddRow = Relay(OnGridAutoAddRow);
    g->OnAutoInsertRow = Relay(OnGridInsertRow);
    g->OnAutoInsertCol = Relay(OnGridInsertCol);
    g->OnAutoDeleteRow = Relay(OnGridDeleteRow);
    g->OnCanAddRow = Relay(OnGridCanAddRow);
    g->OnCanInsertRow = Relay(OnGridCanInsertRow);
    g->OnCanDeleteRow = Relay(OnGridCanDeleteRow);
    g->OnCheckBoxClick = Relay(OnGridCheckBoxClick);
    g->OnCanSort = [this](TObject*, int, bool&) { ListCanSort(); };
    g->OnClickSort = [this](TObject*, int) { ListClickSort(); };
    g->OnSelectCell = [this](TObject*, int, int ARow, bool&) { ListSelectCell(ARow); };
}

// ---- keys of the lookup grid ---------------------------------------------------------------

bool TCustomProGridDropDown::eventFilter(QObject* Watched, QEvent* e)
{
    if (Watched != FProColGrid || (e->type() != QEvent::KeyPress && e->type() != QEvent::KeyRelease &&
                                   e->type() != QEvent::ShortcutOverride))
        return TProCustomDropDown::eventFilter(Watched, e);
    auto* k = static_cast<QKeyEvent*>(e);
    if (e->type() == QEvent::ShortcutOverride) {
        // Enter and Escape belong to the list, not to the dialog around the drop-down
        if (k->key() == Qt::Key_Escape || k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) e->accept();
        return false;
    }
    if (e->type() == QEvent::KeyRelease) {
        GridKeyUp(k);
        return false;
    }
    const bool alt = k->modifiers() & Qt::AltModifier;
    const bool ctrl = k->modifiers() & Qt::ControlModifier;
    const int key = k->key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    const QString text = k->text();
    // characters go to the list search, never to the edit
    const bool typed = !text.isEmpty() && !ctrl && !enter && key != Qt::Key_Escape && key != Qt::Key_Tab &&
                       (text.at(0).isPrint() || text.at(0) == QLatin1Char('\b'));
    if (typed) {
        const bool editing = FProColGrid->Options().Contains(goEditing);
        QChar c = text.at(0);
        ControlKeyPress(c, alt);
        return !editing;
    }
    GridKeyDown(k);
    if (enter && !alt) {
        QChar c = QLatin1Char('\r');
        ControlKeyPress(c, alt);
        return false;
    }
    if (IsNavigationKey(key) && !alt) return false;
    // every other key acts as if pressed in the edit
    if (key == Qt::Key_Escape && !alt) {
        QChar c = QChar(27);
        ControlKeyPress(c, alt);
    }
    const bool handledByEdit = key == Qt::Key_Escape || key == Qt::Key_F4 || key == Qt::Key_Tab ||
                               key == Qt::Key_Backtab || alt;
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
        DoHideDropDown(false);
        return true;
    }
    QKeyEvent copy(QEvent::KeyPress, key, k->modifiers());
    TProCustomDropDown::ControlKeyDown(&copy);
    return handledByEdit;
}

void TCustomProGridDropDown::GridKeyDown(QKeyEvent* e)
{
    if (!OnGridKeyDown) return;
    int key = QtKeyToVirtualKey(e->key());
    OnGridKeyDown(this, key, ShiftStateOf(e));
}

void TCustomProGridDropDown::GridKeyUp(QKeyEvent* e)
{
    if (IsNavigationKey(e->key()) && !(e->modifiers() & Qt::AltModifier)) FLookupEntry.clear();
    if (!OnGridKeyUp) return;
    int key = QtKeyToVirtualKey(e->key());
    OnGridKeyUp(this, key, ShiftStateOf(e));
}

void TCustomProGridDropDown::ControlKeyPress(QChar& Key, bool Alt)
{
    TProColGrid* g = FProColGrid;
    const ushort k = Key.unicode();
    if (((k == 13 || k == 27) && !Alt) || g->Options().Contains(goEditing)) {
        FLookupEntry.clear();
    } else {
        int r = LookupInList(Key);
        // the row that holds the found item: after a sort it is not the item's own position
        if (UseItems && LookupMethod == lmLookup && r >= 0) r = RowOfItem(r);
        if (r >= g->FixedRows() && r < g->RowCount()) {
            if (g->VisibleRowCount() + g->FixedRows() < g->RowCount()) g->SetTopRow(r);
            g->SetRowEx(r);
            g->SetCol(0);
            g->RepaintRow(r);
        } else {
            FLookupEntry.clear();
        }
    }
    if (OnGridKeyPress) OnGridKeyPress(this, Key);
}

// ---- the list search -----------------------------------------------------------------------

bool TCustomProGridDropDown::LookupText(const QString& Value, QString& Text, int& Row)
{
    Row = -1;
    Text.clear();
    if (Value.isEmpty()) return false;
    const QString v = CaseSensitive ? Value : Value.toUpper();
    auto starts = [&](const QString& Candidate) {
        return CaseSensitive ? Candidate.startsWith(v) : Candidate.toUpper().startsWith(v);
    };
    if (UseItems) {
        for (int i = 0; i < FItems->Count(); ++i) {
            const QString t = FItems->Items(i)->TextOf(LookupColumn);
            if (!starts(t)) continue;
            Text = t;
            Row = i;
            return true;
        }
        return false;
    }
    if (!FProColGrid) return false;
    for (int r = FProColGrid->FixedRows(); r < FProColGrid->RowCount(); ++r) {
        const QString t = FProColGrid->Cells(LookupColumn, r);
        if (!starts(t)) continue;
        Text = t;
        Row = r;
        return true;
    }
    return false;
}

int TCustomProGridDropDown::LookupInList(QChar Key)
{
    if (LookupMethod == lmNone) return -1;
    if (Key == QLatin1Char('\b')) {
        if (hasSelectedText()) {
            QString t = text();
            t.remove(selectionStart(), selectedText().size());
            SetTextQuiet(t.mid(P(), t.size() - P() - Suffix().size()));
        } else {
            FLookupEntry.chop(1);
            SetTextQuiet(FLookupEntry);
        }
        setCursorPosition(P() + V());
        return -1;
    }
    if (Key != QLatin1Char('\t')) FLookupEntry += Key;
    const QString S = FLookupEntry.trimmed();
    const bool dropDown = FStyleKind == dsDropDown;
    if (LookupMethod == lmNarrowDown) {
        TProColGrid* g = FProColGrid;
        if (!g) return -1;
        if (S.isEmpty()) {
            RemoveNarrowing();
        } else {
            g->SetFixedRowAlways(true);
            g->NarrowDown(S, LookupColumn);
            if (dropDown && g->RowCount() > g->FixedRows()) {
                SetTextQuiet(g->Cells(LookupColumn, g->FixedRows()));
                SelectTail(int(FLookupEntry.size()));
            }
        }
        return g->FixedRows();
    }
    QString found;
    int row = -1;
    auto take = [&] {
        FItemIndex = row;
        SetTextQuiet(found);
        if (dropDown) SelectTail(int(FLookupEntry.size()));
        return row;
    };
    if (LookupText(S, found, row)) return take();
    if (dropDown) return -1;
    if (LookupText(QString(Key), found, row)) {
        FLookupEntry = Key;
        return take();
    }
    FLookupEntry.clear();
    return -1;
}

// ---- keys of the edit ----------------------------------------------------------------------

void TCustomProGridDropDown::HandleKeyDown(QKeyEvent* e)
{
    const int key = e->key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    const bool alt = e->modifiers() & Qt::AltModifier;
    const bool shift = e->modifiers() & Qt::ShiftModifier;
    TProColGrid* g = FProColGrid;
    if (enter && g) g->FConfirmSelection = true;

    // Enter while the grid edits a cell ends the editing and takes the row
    if (g && g->Options().Contains(goEditing) && g->GetEditMode() && enter && !shift) {
        g->HideInplaceEdit();
        SetTextQuiet(g->Cells(LookupColumn, g->Row()));
        FItemIndex = g->Row() - g->FixedRows();
        e->accept();
        return;
    }
    const bool lookup = LookupColumn >= 0 && FItems->Count() > 0;
    if (lookup) {
        if (key == Qt::Key_Backspace || key == Qt::Key_Escape || key == Qt::Key_Delete) workmode = false;
        else if (!enter) workmode = true;
        if (enter) {
            const int i = IndexOfText(FLookupItems, Text());
            if (i >= 0) {
                SetText(FLookupItems.at(i));
                SetItemIndex(i);
            }
        }
        if (key == Qt::Key_Escape || IsNavigationKey(key) || key == Qt::Key_Left || key == Qt::Key_Right)
            FLookupEntry.clear();
    }
    const QString typed = e->text();
    const bool character = !typed.isEmpty() && !(e->modifiers() & Qt::ControlModifier) && !enter &&
                           key != Qt::Key_Escape && key != Qt::Key_Tab &&
                           (typed.at(0).isPrint() || key == Qt::Key_Backspace);
    // Backspace of the list search takes back the selection or the last typed character
    const bool searchBack = key == Qt::Key_Backspace && LookupMethod != lmNone;
    if (!searchBack) {
        FUserEdit = true;
        TProCustomDropDown::HandleKeyDown(e);
        FUserEdit = false;
    } else {
        e->accept();
    }
    if (lookup && key == Qt::Key_Escape) SetItemIndex(IndexOfText(FLookupItems, Text()));

    if (isEnabled() && !alt && IsNavigationKey(key)) {
        FLookupEntry.clear();
        switch (key) {
        case Qt::Key_PageUp: SelectPreviousPage(); break;
        case Qt::Key_PageDown: SelectNextPage(); break;
        case Qt::Key_Up: SelectPrevious(); break;
        case Qt::Key_Down: SelectNext(); break;
        case Qt::Key_End:
            if (FStyleKind == dsDropDownList && !shift) SelectLast();
            break;
        case Qt::Key_Home:
            if (FStyleKind == dsDropDownList && !shift) SelectFirst();
            break;
        default: break;
        }
    }
    if (character && !isReadOnly()) {
        LookupInList(key == Qt::Key_Backspace ? QChar(QLatin1Char('\b')) : typed.at(0));
        if (AutoShowDropDown) ShowDropDown();
    }
}

void TCustomProGridDropDown::keyReleaseEvent(QKeyEvent* e)
{
    const int key = e->key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (!(enter && ReturnIsTab)) TProCustomDropDown::keyReleaseEvent(e);
    TProColGrid* g = FProColGrid;
    if (g && g->Options().Contains(goEditing) && g->GetEditMode() && enter && !(e->modifiers() & Qt::ShiftModifier)) {
        if (g->Col() == LookupColumn) HideDropDown(false);
        else g->HideInplaceEdit();
    }
    if (FItemChange) {
        SetItemIndex(FItemIdx);
        setSelection(text().size() - Suffix().size(), -(text().size() - Suffix().size() - P() - FItemSel));
        FItemChange = false;
    }
}

void TCustomProGridDropDown::focusInEvent(QFocusEvent* e)
{
    TProCustomDropDown::focusInEvent(e);
    if (e->reason() == Qt::PopupFocusReason) return;
    RemoveNarrowing();
    FLookupEntry.clear();
}

void TCustomProGridDropDown::RemoveNarrowing()
{
    // an empty narrowing text removes every filter and forgets the last text, so that the
    // next text narrows from the whole list
    if (FProColGrid) FProColGrid->NarrowDown(QString(), LookupColumn);
}

void TCustomProGridDropDown::HandleWheelDown()
{
    TProCustomDropDown::HandleWheelDown();
    SelectNext();
}

void TCustomProGridDropDown::HandleWheelUp()
{
    TProCustomDropDown::HandleWheelUp();
    SelectPrevious();
}

// ---- the edit-side completion --------------------------------------------------------------

void TCustomProGridDropDown::SetTextQuiet(const QString& Value)
{
    const bool was = FQuietText;
    FQuietText = true;
    SetText(Value);
    FQuietText = was;
}

void TCustomProGridDropDown::SelectTail(int Start)
{
    const int end = int(text().size() - Suffix().size());
    const int from = std::min(P() + Start, end);
    setSelection(end, from - end);
}

void TCustomProGridDropDown::Change()
{
    FItemChange = false;
    // only what the user types is completed; texts written by the control are not
    if (FQuietText || !FUserEdit || !workmode) return;
    SetModifiedState(!Text().isEmpty() && Text() != FOldValue);
    const QString current = Text();
    const int caret = std::clamp(cursorPosition() - P(), 0, int(current.size()));
    const QString typed = current.left(caret);
    auto matchCase = [this](const QString& S) { return MatchCase ? S : S.toUpper(); };
    const QString key = matchCase(current).left(caret);
    if (FLookupItems.isEmpty()) return;
    if (!key.isEmpty()) {
        for (int i = 0; i < FLookupItems.size(); ++i) {
            if (!matchCase(FLookupItems.at(i)).startsWith(key)) continue;
            const QString completed = current.left(key.size()) + FLookupItems.at(i).mid(key.size()).left(255);
            FItemIndex = i;
            FItemIdx = i;
            FItemSel = int(key.size());
            SetTextQuiet(completed);
            FItemChange = true;
            SelectTail(FItemSel);
            return;
        }
    }
    if (!typed.isEmpty()) {
        SetTextQuiet(typed);
        setCursorPosition(P() + int(typed.size()));
    }
}

void TCustomProGridDropDown::BuildLookupItems()
{
    if (LookupColumn < 0 || FItems->Count() == 0) return;
    FLookupItems.clear();
    FLookupItems.reserve(FItems->Count());
    for (int i = 0; i < FItems->Count(); ++i) FLookupItems << FItems->Items(i)->TextOf(LookupColumn);
}
