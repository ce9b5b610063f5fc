#include "grid/controls/pro_multi_column_dropdown.h"

#include "platform/ui/image_list.h"

#include <QKeyEvent>
#include <QScrollBar>
#include <QStyle>
#include <cmath>

namespace MultiColumnDropDown {

// ---- the list grid -----------------------------------------------------------------------------

TProColGrid::TProColGrid(QWidget* AParent) : TStringGrid(AParent), FColumns(this)
{
    SetFixedRows(1);
    SetFixedCols(0);
    TGridOptions o = Options();
    o.Include(goHorzLine).Include(goRowSelect).Exclude(goRangeSelect).Exclude(goDrawFocusSelected);
    SetOptions(o);
    SetDefaultDrawing(false);
    SetBorderStyle(bsNone);
    TCustomGrid::SetGridLineWidth(0);
}

void TProColGrid::SetGridLineWidth(int v)
{
    FLineWidth = v;
    TCustomGrid::SetGridLineWidth(0);
    Invalidate();
}

void TProColGrid::LoadFromDropDown(TProMultiColumnDropDown* DropDown)
{
    FProDropDown = DropDown;
    FColumns.Assign(DropDown->Columns());
    // the class library's grid keeps at least one row and one column; one row has no fixed row
    SetColCount(std::max(1, FColumns.Count()));
    SetRowCount(DropDown->Items().Count() + 1);
    if (RowCount() > 1) {
        SetFixedRows(1);
        SetRow(1);
    } else {
        SetFixedRows(0);
    }
    for (int i = 0; i < FColumns.Count(); ++i) SetColWidths(i, FColumns.Items(i)->Width);
    LineColor = DropDown->LineColor;
    FixedLineColor = DropDown->FixedLineColor;
    HeaderColor = DropDown->HeaderColor;
    HeaderColorTo = DropDown->HeaderColorTo;
    HeaderHeight = DropDown->HeaderHeight;
    FHeaderFont.Assign(DropDown->HeaderFont());
    Images = DropDown->Images();
    SetDefaultRowHeight(DropDown->DropDownRowHeight());
    SetRowHeights(0, HeaderHeight);
    TGridOptions o = Options();
    if (DropDown->ColumnSizing) o.Include(goColSizing);
    else o.Exclude(goColSizing);
    SetOptions(o);
    AutoSizeColumns();
    SizeWrappedRows();
}

void TProColGrid::AutoSizeColumns()
{
    for (int i = 0; i < FColumns.Count(); ++i)
        if (FColumns.Items(i)->AutoSize) AutoSizeColumn(i);
}

void TProColGrid::AutoSizeColumn(int Index)
{
    if (!FProDropDown || parentWidget() != FProDropDown->DropDownForm()) return;
    TDropDownColumn* column = FColumns.Items(Index);
    const QFontMetrics& fm = column->Font().Metrics();
    const TDropDownItems& items = FProDropDown->Items();
    int widest = 0;
    for (int i = 0; i < items.Count(); ++i) {
        const TDropDownItem* item = items.Items(i);
        if (Index >= item->Text().size()) continue;
        int w = 0;
        if (column->ColumnType == ctImage && Images && item->ImageIndex >= 0) w += Images->Width() + 4;
        const QString& t = item->Text().at(Index);
        if (!t.isEmpty()) w += fm.horizontalAdvance(t) + 6;
        widest = std::max(widest, w);
    }
    column->Width = widest;
    SetColWidths(Index, widest);
}

void TProColGrid::SizeWrappedRows()
{
    if (!FProDropDown || parentWidget() != FProDropDown->DropDownForm()) return;
    bool wraps = false;
    for (int c = 0; c < FColumns.Count(); ++c) wraps = wraps || FColumns.Items(c)->Wordwrap;
    if (!wraps) return;
    const TDropDownItems& items = FProDropDown->Items();
    TCanvas canvas;
    for (int i = 0; i < items.Count(); ++i) {
        const TDropDownItem* item = items.Items(i);
        int h = 24;
        for (int c = 0; c < FColumns.Count(); ++c) {
            const TDropDownColumn* column = FColumns.Items(c);
            if (!column->Wordwrap) continue;
            if (column->ColumnType == ctImage && Images && item->ImageIndex >= 0) h = std::max(h, Images->Height() + 6);
            if (c < item->Text().size() && !item->Text().at(c).isEmpty()) {
                const QRect r = column->Font().Metrics().boundingRect(QRect(0, 0, std::max(1, ColWidths(c)), 100000),
                                                                     Qt::TextWordWrap, item->Text().at(c));
                h = std::max(h, r.height() + 6);
            }
        }
        SetRowHeights(i + 1, h);
    }
}

int TProColGrid::FullWidth() const
{
    int w = 0;
    for (int c = 0; c < ColCount(); ++c) w += ColWidths(c);
    if (VisibleRowCount() + FixedRows() < RowCount()) w += style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    return w;
}

void TProColGrid::DoSelect()
{
    if (OnSelect) OnSelect(this);
}

void TProColGrid::DrawCell(int col, int row, const TRect& rect, TGridDrawState state)
{
    (void)state;
    if (FProDropDown) FProDropDown->PaintListCell(Canvas(), col, row, rect);
}

bool TProColGrid::SelectCell(int col, int row)
{
    if (OnSelectRow) OnSelectRow(row);
    return TStringGrid::SelectCell(col, row);
}

void TProColGrid::KeyDown(int& key, TShiftState shift)
{
    FConfirmSelection = true;
    if (!FProDropDown) return TStringGrid::KeyDown(key, shift);
    // the key goes on to the edit as a key only: characters typed in the list search it, they
    // are not typed into the edit
    QPointer<TProColGrid> self(this);
    if (const QKeyEvent* k = PendingKey()) {
        QKeyEvent e(QEvent::KeyPress, k->key(), k->modifiers());
        FProDropDown->ControlKeyDown(&e);
    }
    if (!self) return;
    if ((key == VK_UP || key == VK_DOWN) && shift.Contains(ssAlt)) return;
    TStringGrid::KeyDown(key, shift);
    if (key == VK_RETURN) DoSelect();
}

void TProColGrid::KeyPress(QChar& key)
{
    if (FProDropDown) FProDropDown->ControlKeyPress(key);
}

void TProColGrid::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    FConfirmSelection = true;
    TStringGrid::MouseDown(button, shift, x, y);
    FOldRow = Row();
}

void TProColGrid::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TStringGrid::MouseUp(button, shift, x, y);
    const TGridCoord c = MouseCoord(x, y);
    if (c.Y >= FixedRows() && c.Y < RowCount()) DoSelect();
}

bool TProColGrid::DoMouseWheel(TShiftState shift, int wheelDelta, const TPoint& mousePos)
{
    // the row follows the wheel; only a key or a click makes it the choice
    FMouseWheelSelection = true;
    FConfirmSelection = false;
    const bool handled = TStringGrid::DoMouseWheel(shift, wheelDelta, mousePos);
    FMouseWheelSelection = false;
    return handled;
}

} // namespace MultiColumnDropDown

using namespace MultiColumnDropDown;

// ---- the drop-down -------------------------------------------------------------------------------

TProMultiColumnDropDown::TProMultiColumnDropDown(QWidget* AParent)
    : TProLookupDropDown(AParent), FColumns(this), FItems(this)
{
    FHeaderFont.SetColor(0x723708);
    SetDropDownColor(0xFFFFFF);
    SetDropDownHeight(200);
    SetSelectionColorStyle(scOffice2007);
}

QString TProMultiColumnDropDown::ItemText(int Index, int Column) const
{
    if (Index < 0 || Index >= FItems.Count() || Column < 0) return QString();
    const QStringList& t = FItems.Items(Index)->Text();
    return Column < t.size() ? t.at(Column) : QString();
}

void TProMultiColumnDropDown::SetItemIndex(int Value)
{
    if (Value >= FItems.Count()) return;
    FItemIndex = std::max(-1, Value);
    // the same text again keeps the edit's selection
    const QString t = ItemText(FItemIndex, LookupColumn);
    if (t != Text()) SetText(t);
}

int TProMultiColumnDropDown::GetItemIndex(const QString& Value) const
{
    return FItems.IndexInColumn(LookupColumn, Value);
}

void TProMultiColumnDropDown::Assign(const TProMultiColumnDropDown& Source)
{
    TProCustomDropDown::Assign(Source);
    CaseSensitive = Source.CaseSensitive;
    DropDownAutoWidth = Source.DropDownAutoWidth;
    FDropDownRowHeight = Source.FDropDownRowHeight;
    LineColor = Source.LineColor;
    FixedLineColor = Source.FixedLineColor;
    ColumnSizing = Source.ColumnSizing;
    ColumnSizeWithDropDown = Source.ColumnSizeWithDropDown;
    FColumns.Assign(Source.FColumns);
    HeaderColor = Source.HeaderColor;
    HeaderColorTo = Source.HeaderColorTo;
    HeaderHeight = Source.HeaderHeight;
    FHeaderFont.Assign(Source.FHeaderFont);
    LookupColumn = Source.LookupColumn;
    SelectionTextColor = Source.SelectionTextColor;
    FItems.Assign(Source.FItems);
    FItemIndex = Source.FItemIndex;
}

void TProMultiColumnDropDown::BuildLookupItems()
{
    if (LookupColumn < 0 || FItems.Count() == 0) return;
    FLookupItems.clear();
    FLookupItems.reserve(FItems.Count());
    for (int i = 0; i < FItems.Count(); ++i) FLookupItems.append(ItemText(i, LookupColumn));
}

// ---- selection steps ---------------------------------------------------------------------------

void TProMultiColumnDropDown::SelectFirst()
{
    if (FItems.Count()) SetItemIndex(0);
}

void TProMultiColumnDropDown::SelectLast()
{
    if (FItems.Count()) SetItemIndex(FItems.Count() - 1);
}

void TProMultiColumnDropDown::SelectNext()
{
    if (FItems.Count()) SetItemIndex(PickerStepIndex(FItemIndex, FItems.Count(), 2));
}

void TProMultiColumnDropDown::SelectPrevious()
{
    if (FItems.Count()) SetItemIndex(PickerStepIndex(FItemIndex, FItems.Count(), 3));
}

void TProMultiColumnDropDown::SelectNextPage()
{
    if (FItems.Count()) SetItemIndex(FItemIndex < 0 ? 0 : std::min(FItemIndex + 10, FItems.Count() - 1));
}

void TProMultiColumnDropDown::SelectPreviousPage()
{
    if (FItems.Count()) SetItemIndex(FItemIndex < 0 || FItemIndex - 10 < 0 ? 0 : FItemIndex - 10);
}

// ---- the pop-up ----------------------------------------------------------------------------------

void TProMultiColumnDropDown::CreateDropDownForm()
{
    TProLookupDropDown::CreateDropDownForm();
    if (FProColGrid) return;
    FProColGrid = CreateGrid<TProColGrid>(FDropDownForm);
    FProColGrid->SetDropDown(this);
    FProColGrid->setGeometry(0, 0, FProColGrid->width(), 180);
    FProColGrid->SetColor(DropDownColor());
    SetFocusControl(FProColGrid);
}

void TProMultiColumnDropDown::BeforeDropDown()
{
    TProLookupDropDown::BeforeDropDown();
    DropDownForm()->CancelOnDeActivate = false;
    FShowing = true;
    FProColGrid->LoadFromDropDown(this);
    TGridOptions o = FProColGrid->Options();
    FProColGrid->SetOptions(o.Include(goThumbTracking));
    FProColGrid->SetColor(DropDownColor());
    FProColGrid->OnSelectRow = [this](int Row) { ListSelectCell(Row); };
    FProColGrid->OnSelect = [this](QObject*) { ListSelect(); };
    const int row = FItemIndex + 1;
    if (FProColGrid->RowCount() > 1) FProColGrid->SetRow(row < FProColGrid->FixedRows() ? 1 : row);
    FOldItemIndex = FItemIndex;
}

void TProMultiColumnDropDown::AdaptDropDownHeight(int& Height)
{
    const int H = DropDownHeader()->Visible() ? DropDownHeader()->Height : 0;
    const int F = DropDownFooter()->Visible() ? DropDownFooter()->Height : 0;
    const int fixed = H + F + HeaderHeight + 2;
    Height = fixed + std::max(0, Height - fixed) / FDropDownRowHeight * FDropDownRowHeight;
}

void TProMultiColumnDropDown::DoShowDropDown()
{
    TProLookupDropDown::DoShowDropDown();
    if (FProColGrid && FDroppedDown) {
        SizeColumnsToDropDown();
        if (FProColGrid->RowCount() > 1) {
            const int row = FItemIndex < 0 ? 1 : FItemIndex + 1;
            FProColGrid->SetRow(row);
            if (IsRectEmpty(FProColGrid->CellRect(0, row)))
                FProColGrid->SetTopRow(std::max(FProColGrid->FixedRows(), row - FProColGrid->VisibleRowCount() + 1));
        }
    }
    FShowing = false;
}

void TProMultiColumnDropDown::PlaceDropDownControl()
{
    SetControl(FProColGrid);
    TProLookupDropDown::PlaceDropDownControl();
}

void TProMultiColumnDropDown::SizeDropDownForm()
{
    TProLookupDropDown::SizeDropDownForm();
    if (!DropDownAutoWidth || !FDropDownForm || !FProColGrid) return;
    FProColGrid->resize(FProColGrid->FullWidth(), FProColGrid->height());
    FDropDownForm->resize(FProColGrid->width() + 2 * DropDownBorderWidth, FDropDownForm->height());
}

void TProMultiColumnDropDown::SizeColumnsToDropDown()
{
    if (!ColumnSizeWithDropDown || !FProColGrid || FColumns.Count() == 0) return;
    FProColGrid->SetScrollBars(ssVertical);
    int total = 1;
    for (int i = 0; i < FColumns.Count(); ++i) total += FColumns.Items(i)->Width;
    int avail = DropDownForm()->width();
    if (FProColGrid->VisibleRowCount() < FProColGrid->RowCount() - FProColGrid->FixedRows())
        avail -= FProColGrid->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const double factor = double(avail) / total;
    double carry = 0;
    for (int i = 0; i < FColumns.Count() && i < FProColGrid->ColCount(); ++i) {
        const int width = FColumns.Items(i)->Width;
        const double exact = width * factor + carry;
        // halves round to even
        const int w = int(std::nearbyint(width * factor));
        carry = exact - w;
        if (carry > 1.0) {
            FProColGrid->SetColWidths(i, w + 1);
            carry -= 1.0;
        } else {
            FProColGrid->SetColWidths(i, w);
        }
    }
}

void TProMultiColumnDropDown::DoHideDropDown(bool Cancel)
{
    if (!FDropDownForm || !FDropDownForm->isVisible()) return TProLookupDropDown::DoHideDropDown(Cancel);
    TProLookupDropDown::DoHideDropDown(Cancel);
    if (Cancel) SetItemIndex(FOldItemIndex);
    else if (FProColGrid && FProColGrid->ConfirmSelection()) SetItemIndex(FProColGrid->Row() - 1);
    FOldItemIndex = FItemIndex;
}

void TProMultiColumnDropDown::DropDownFormResized()
{
    TProLookupDropDown::DropDownFormResized();
    SizeColumnsToDropDown();
}

void TProMultiColumnDropDown::HandleWheelDown()
{
    TProLookupDropDown::HandleWheelDown();
    SelectNext();
}

void TProMultiColumnDropDown::HandleWheelUp()
{
    TProLookupDropDown::HandleWheelUp();
    SelectPrevious();
}

// ---- the list's events -------------------------------------------------------------------------

void TProMultiColumnDropDown::ListSelectCell(int Row)
{
    if (FProColGrid->MouseWheelSelection() || FShowing) return;
    SetItemIndex(Row - 1);
}

void TProMultiColumnDropDown::ListSelect()
{
    if (FProColGrid->ConfirmSelection()) SetItemIndex(FProColGrid->Row() - 1);
    DoHideDropDown(false);
    if (OnSelect) OnSelect(this);
}

void TProMultiColumnDropDown::ControlKeyDown(QKeyEvent* e)
{
    const int key = e->key();
    const bool alt = e->modifiers() & Qt::AltModifier;
    // the list moves its own row on these
    if (!alt && (key == Qt::Key_PageUp || key == Qt::Key_PageDown || key == Qt::Key_Up || key == Qt::Key_Down)) return;
    TProLookupDropDown::ControlKeyDown(e);
}

void TProMultiColumnDropDown::ControlKeyPress(QChar Key)
{
    const ushort k = Key.unicode();
    if (k == 13 || k == 27 || FProColGrid->Options().Contains(goEditing)) {
        FLookupEntry.clear();
        return;
    }
    const int r = LookupInList(Key);
    if (r == -1) {
        FLookupEntry.clear();
        return;
    }
    TProColGrid* g = FProColGrid;
    const int row = r + 1;
    if (row < g->TopRow() || row > g->TopRow() + g->VisibleRowCount()) g->SetTopRow(row);
    g->SetRow(row);
    g->SetCol(0);
}

int TProMultiColumnDropDown::FindLookupText(const QString& Value) const
{
    if (!FProColGrid || Value.isEmpty() || LookupColumn < 0) return -1;
    const Qt::CaseSensitivity cs = CaseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
    for (int i = 0; i < FItems.Count(); ++i) {
        const QStringList& t = FItems.Items(i)->Text();
        if (LookupColumn < t.size() && t.at(LookupColumn).startsWith(Value, cs)) return i;
    }
    return -1;
}

int TProMultiColumnDropDown::LookupInList(QChar Key)
{
    if (Key.unicode() == 8) {
        if (hasSelectedText()) {
            const QString t = Text();
            const int s = std::max(0, selectionStart() - P());
            SetText(t.left(s) + t.mid(s + selectedText().size()));
        } else {
            FLookupEntry.chop(1);
            SetText(FLookupEntry);
        }
        setCursorPosition(P() + Text().size());
        return -1;
    }
    if (Key.unicode() != 9) FLookupEntry += Key;
    auto take = [this](int i) {
        FItemIndex = i;
        SetText(ItemText(i, LookupColumn));
    };
    int i = FindLookupText(FLookupEntry);
    if (i >= 0) {
        take(i);
        const int len = int(Text().size());
        SetSel(P() + std::min(int(FLookupEntry.size()), len), std::max(0, len - int(FLookupEntry.size())));
        return i;
    }
    i = FindLookupText(QString(Key));
    if (i >= 0) {
        take(i);
        FLookupEntry = QString(Key);
        return i;
    }
    FLookupEntry.clear();
    return -1;
}

int TProMultiColumnDropDown::LookupIndexOf(const QString& S) const
{
    for (int i = 0; i < FLookupItems.size(); ++i)
        if (FLookupItems.at(i).compare(S, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

// ---- keys of the edit ----------------------------------------------------------------------------

void TProMultiColumnDropDown::HandleKeyDown(QKeyEvent* e)
{
    const int key = e->key();
    if (LookupColumn < 0 || FItems.Count() == 0) {
        TProLookupDropDown::HandleKeyDown(e);
        return HandleNavigationKey(e);
    }
    LookupModeFromKey(key);
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        const int i = LookupIndexOf(Text());
        if (i >= 0) {
            SetText(FLookupItems.at(i));
            SetItemIndex(i);
        }
    }
    TProLookupDropDown::HandleKeyDown(e);
    if (key == Qt::Key_Escape) SetItemIndex(LookupIndexOf(Text()));
    HandleNavigationKey(e);
}

void TProMultiColumnDropDown::HandleNavigationKey(QKeyEvent* e)
{
    if (!isEnabled() || (e->modifiers() & Qt::AltModifier)) return;
    switch (e->key()) {
    case Qt::Key_PageUp: SelectPreviousPage(); break;
    case Qt::Key_PageDown: SelectNextPage(); break;
    case Qt::Key_Up: SelectPrevious(); break;
    case Qt::Key_Down: SelectNext(); break;
    case Qt::Key_End:
        if (!EditorEnabled()) SelectLast();
        break;
    case Qt::Key_Home:
        if (!EditorEnabled()) SelectFirst();
        break;
    }
}

// ---- painting the list ---------------------------------------------------------------------------

void TProMultiColumnDropDown::PaintListCell(TCanvas* Canvas, int Col, int Row, const TRect& Rect)
{
    if (OnDropDownDrawItem) return OnDropDownDrawItem(this, Col, Row, Canvas, Rect);
    TProColGrid* g = FProColGrid;
    const int cols = g->ColCount();
    const int place = cols == 1 ? 0 : Col == 0 ? 1 : Col == cols - 1 ? 2 : 3;
    const bool header = Row < g->FixedRows();
    const TDropDownColumn* column = Col < FColumns.Count() ? FColumns.Items(Col) : nullptr;
    TColor colour = g->Color();
    TAlignment alignment = taLeftJustify;
    bool wrap = false, ellipsis = false;
    const TFont* font = &g->HeaderFont();
    int image = -1;
    QString text;
    if (column) {
        colour = column->Color, alignment = column->Alignment, wrap = column->Wordwrap, ellipsis = column->Ellipsis;
        font = &column->Font();
        if (!header && Row >= 1 && Row - 1 < FItems.Count()) {
            const TDropDownItem* item = FItems.Items(Row - 1);
            if (column->ColumnType == ctImage) image = item->ImageIndex;
            if (Col < item->Text().size()) text = item->Text().at(Col);
        }
    }
    if (OnDropDownGetItemText) OnDropDownGetItemText(this, Col, Row, text);
    const bool selected = !header && Row == g->Row();
    if (!header) {
        if (selected) {
            DrawSelection(Canvas, Rect, colour, place);
        } else {
            Canvas->Brush()->SetStyle(bsSolid);
            Canvas->Brush()->SetColor(colour);
            Canvas->FillRect(Rect);
        }
    } else {
        text = column ? column->Header : QString();
        image = -1;
        if (HeaderColor == clNone || HeaderColorTo == clNone) {
            Canvas->Brush()->SetStyle(bsSolid);
            Canvas->Brush()->SetColor(HeaderColor);
            Canvas->FillRect(Rect);
        } else {
            DrawItemGradient(Canvas, HeaderColor, HeaderColorTo, 80, Rect, true);
        }
    }
    // lines at the bottom and right edges, inside the cell
    const int lw = header ? 1 : g->GridLineWidth();
    const TColor lineColour = header ? g->FixedLineColor : g->LineColor;
    const TGridOptions o = g->Options();
    if (lw > 0 && lineColour != clNone) {
        const int c = header ? 1 : (lw + 1) / 2;
        Canvas->Pen()->SetStyle(psSolid);
        Canvas->Pen()->SetWidth(lw);
        Canvas->Pen()->SetColor(lineColour);
        if (header ? o.Contains(goFixedHorzLine) : o.Contains(goHorzLine)) {
            Canvas->MoveTo(Rect.Left - c + 1, Rect.Bottom - c);
            Canvas->LineTo(Rect.Right - c + 1, Rect.Bottom - c);
        }
        if (header ? o.Contains(goFixedVertLine) : o.Contains(goVertLine)) {
            const int x = Rect.Right - c + (g->UseRightToLeftAlignment() ? 1 : 0);
            Canvas->MoveTo(x, Rect.Bottom - c);
            Canvas->LineTo(x, Rect.Top - c);
        }
    }
    TRect r = Rect;
    const int inset = g->GridLineWidth();
    r.Left += inset, r.Top += inset, r.Right -= inset, r.Bottom -= inset;
    int textLeft = r.Left + 2;
    if (Images() && image >= 0) {
        const int ih = Images()->Height();
        const int y = ih >= r.Height() ? r.Top : r.Top + (r.Height() - ih) / 2;
        Images()->Draw(Canvas, r.Left + 2, y, image);
        textLeft = r.Left + Images()->Width() + 4;
    }
    if (text.isEmpty()) return;
    r.Left = textLeft;
    Canvas->SetFont(header ? g->HeaderFont() : *font);
    if (selected) Canvas->Font()->SetColor(SelectionTextColor);
    Canvas->Brush()->SetStyle(bsClear);
    uint32_t flags = DT_NOPREFIX | DT_EXPANDTABS | DT_VCENTER;
    flags |= wrap ? DT_WORDBREAK | DT_EDITCONTROL : DT_SINGLELINE;
    flags |= alignment == taRightJustify ? DT_RIGHT : alignment == taCenter ? DT_CENTER : DT_LEFT;
    if (ellipsis) flags |= DT_END_ELLIPSIS;
    Canvas->DrawText(text, r, flags);
}

// ---- colour styles -----------------------------------------------------------------------------

void TProMultiColumnDropDown::SetSelectionColorStyle(TSelectionColorStyle Style)
{
    switch (Style) {
    case scOffice2007:
        LineColor = 0xF1EDEB, FixedLineColor = 0xD1BBA4;
        SetSelectionColor(0x5EC1F1);
        break;
    case scWindowsVista:
    case scWindows7:
        SetSelectionColor(0xEACAB6);
        LineColor = 0xECECF0, FixedLineColor = 0xD4D2D1;
        break;
    default: break;
    }
    TProLookupDropDown::SetSelectionColorStyle(Style);
}

void TProMultiColumnDropDown::SetComponentStyle(TProStyle Style)
{
    TProLookupDropDown::SetComponentStyle(Style);
    struct TLook {
        TProStyle Style;
        TColor HeaderColor, HeaderColorTo;
        TSelectionColorStyle Selection;
        TColor HeaderFont, SelectionText, Line, FixedLine;
    };
    // HeaderFont clNone: the header font keeps its colour
    static const TLook looks[] = {
        {tsOffice2003Blue, 0xD68759, 0x933803, scOffice2007, 0xFFFFFF, 0x000000, 0x962D00, 0x962D00},
        {tsOffice2003Silver, 0xBDA4A5, 0x957475, scOffice2007, clNone, 0x000000, 0x947C7C, 0x947C7C},
        {tsOffice2003Olive, 0x82C0AF, 0x447A63, scOffice2007, clNone, 0x000000, 0x588060, 0x588060},
        {tsOffice2003Classic, 0x808080, 0x808080, scOffice2007, clNone, 0x000000, 0x808080, 0x808080},
        {tsOffice2007Luna, 0xFFEFE3, 0xFFD2AF, scOffice2007, 0x723708, 0x000000, 0xFFD2AF, 0xFFD2AF},
        {tsOffice2007Obsidian, 0xF2F1F0, 0xC9C2BD, scOffice2007, 0x433C37, 0x000000, 0x5C534C, 0x5C534C},
        {tsWindowsXP, clBtnFace, clBtnFace, scCustom, 0x000000, clHighlightText, 0xC0C0C0, 0x000000},
        {tsWhidbey, 0xEBEEEF, 0x7E9898, scOffice2007, 0xFFFFFF, 0x000000, 0x962D00, 0x962D00},
        {tsOffice2007Silver, 0xF8F7F6, 0xE8E0DB, scOffice2007, 0x8B4215, 0x000000, 0x74706F, 0x74706F},
        {tsWindowsVista, 0xFFFDF9, 0xFFFAF0, scWindowsVista, 0x000000, 0x000000, 0xFCF2DA, 0xFCF2DA},
        {tsWindows7, 0xFDFBFA, 0xFDF3EB, scWindows7, 0x000000, 0x000000, 0xFBD6B8, 0xFBD6B8},
        {tsTerminal, clBtnFace, clBtnFace, scCustom, 0x000000, clHighlightText, 0x808080, 0x808080},
        {tsOffice2010Blue, 0xEDDBCD, clNone, scCustom, 0x5B391E, 0x000000, 0xEEDDCF, 0xEEDDCF},
        {tsOffice2010Silver, 0xEDE9E5, clNone, scCustom, 0x5B391E, 0x000000, 0xEEDDCF, 0xEEDDCF},
        {tsOffice2010Black, 0x828282, clNone, scCustom, 0xD7D7D6, 0x000000, 0xEEDDCF, 0xEEDDCF},
    };
    for (const TLook& l : looks) {
        if (l.Style != Style) continue;
        HeaderColor = l.HeaderColor, HeaderColorTo = l.HeaderColorTo;
        SetSelectionColorStyle(l.Selection);
        if (l.HeaderFont != clNone) FHeaderFont.SetColor(l.HeaderFont);
        SelectionTextColor = l.SelectionText;
        LineColor = l.Line, FixedLineColor = l.FixedLine;
        if (Style == tsWindowsXP || Style == tsTerminal) SetSelectionColor(clHighlight), SetSelectionColorTo(clHighlight);
        if (l.Selection == scCustom && l.HeaderColorTo == clNone) SetSelectionColor(0x6CD0FF), SetSelectionColorTo(0x6CD0FF);
    }
}
