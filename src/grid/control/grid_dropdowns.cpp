// The grid's drop-down editors: the key protocol they share, what sets each apart, and the
// grid's side (making them, opening them over a cell, reading them back, their relays).
#include "grid/control/grid_dropdowns.h"

#include "grid/control/grid_editor_keys.h"
#include "grid/control/pro_string_grid.h"
#include "platform/core/sysutils.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>

// ---- the protocol ---------------------------------------------------------------------------

template <class TControl>
TGridDropDown<TControl>::TGridDropDown(TProStringGrid* AOwner)
    : TControl(AOwner), TGridDropDownEditor(AOwner), FGrid(AOwner)
{
    this->setFrame(false);
    this->setEnabled(false);
    this->hide();
    // connected after the control's own change steps, so the control's value is complete
    QObject::connect(this, &QLineEdit::textChanged, this, [this] { Changed(); });
}

template <class TControl>
void TGridDropDown<TControl>::Changed()
{
    if (Loading || !FGrid->EditMode || !this->isVisible()) return;
    if (FGrid->OnEditChange) FGrid->OnEditChange(FGrid, FGrid->Col(), FGrid->Row(), this->Text());
}

template <class TControl>
bool TGridDropDown<TControl>::HandlesKey(int Key, bool Alt) const
{
    if (Alt && Key == VK_DOWN) return false;
    switch (Key) {
    case VK_TAB: case VK_RETURN: case VK_ESCAPE: case VK_PRIOR: case VK_NEXT: case VK_END: case VK_UP: case VK_DOWN:
        return true;
    default: return false;
    }
}

template <class TControl>
void TGridDropDown<TControl>::HandleKeyDown(QKeyEvent* e)
{
    if (!FGrid->EditMode || !this->isVisible()) return TControl::HandleKeyDown(e);
    const int K = VirtualKeyOf(e);
    const TShiftState Shift = ShiftStateOf(e);
    const bool alt = Shift.Contains(ssAlt);
    if (!alt && !this->EditorEnabled()) {
        // A control that cannot be typed into keeps its keys (F4, its arrows and page keys);
        // Enter and Escape reach the editor once the control has closed its list, Enter
        // keeping and Escape cancelling the list's choice.
        TControl::HandleKeyDown(e);
        if (K != VK_RETURN && K != VK_ESCAPE) return;
    } else if (!HandlesKey(K, alt)) {
        TControl::HandleKeyDown(e);
        return;
    }
    e->accept();
    EditorKey(e, K, Shift);
}

template <class TControl>
void TGridDropDown<TControl>::EditorKey(QKeyEvent* e, int K, TShiftState Shift)
{
    TProStringGrid* g = FGrid;
    if (K == VK_ESCAPE) {
        // an open list gives up its choice first
        if (this->DroppedDown()) this->HideDropDown(true);
        Loading = true;
        RestoreStart();
        Loading = false;
        this->Cancel();
        return;
    }
    if (CommitsKey(K)) {
        if (K == VK_RETURN) BeforeEnter();
        const bool changed = this->Edited();
        if (!this->Commit()) {
            SetEditorText(g->FNewCellText);
            this->selectAll();
            this->update();
            g->FNoAutoAdvance = true;
            return;
        }
        if (changed) SetEditorText(g->CurrentCell());
    }
    if (K == VK_TAB && g->EditorWantsTab()) {
        if (!this->Commit()) {
            SetEditorText(g->FNewCellText);
            this->end(false);
            return;
        }
        if (g->Options().Contains(goTabs)) {
            TabOutOfEditor(g, Shift);
            return;
        }
        g->PostMessage(WM_KEYDOWN, VK_TAB);
    }
    if (this->DroppedDown()) {
        this->HideDropDown(false);
    } else if (K == VK_END) {
        TControl::HandleKeyDown(e);
        return;
    }
    FinishEditorKey(g, K, Shift);
}

template <class TControl>
bool TGridDropDown<TControl>::HandleChar(QKeyEvent* e)
{
    if (!FGrid->EditMode || e->text().isEmpty()) return TControl::HandleChar(e);
    const QChar typed = e->text().at(0);
    QChar c = typed;
    if (FGrid->OnKeyPress) FGrid->OnKeyPress(this, c);
    if (c.isNull() || c == QChar(27) || c == QChar(13) || c == QChar(9)) return true;
    if (c == typed) return TControl::HandleChar(e);
    // the event put another character in place of the typed one
    QKeyEvent other(QEvent::KeyPress, 0, e->modifiers(), QString(c));
    if (!TControl::HandleChar(&other)) this->insert(QString(c));
    return true;
}

template <class TControl>
bool TGridDropDown<TControl>::event(QEvent* e)
{
    if (this->isVisible() && this->KeepKeys(e, [this](QKeyEvent* k) { this->keyPressEvent(k); })) return true;
    return TControl::event(e);
}

template <class TControl>
void TGridDropDown<TControl>::focusInEvent(QFocusEvent* e)
{
    TControl::focusInEvent(e);
    TProStringGrid* g = FGrid;
    if (!FCaretAtMouse || !g->LButFlg) return;
    const QPoint at = this->mapFromGlobal(QCursor::pos());
    if (!this->rect().contains(at)) return;
    this->deselect();
    this->setCursorPosition(this->cursorPositionAt(at));
    g->LButFlg = false;
}

template <class TControl>
void TGridDropDown<TControl>::focusOutEvent(QFocusEvent* e)
{
    TControl::focusOutEvent(e);
    // the control's own list taking the focus keeps the editor
    if (FGrid->Destroying() || !FGrid->EditMode || !this->isVisible() || e->reason() == Qt::PopupFocusReason ||
        this->DroppedDown())
        return;
    FGrid->HideInplaceEdit();
}

// ---- the members ----------------------------------------------------------------------------

TGridTrackbarDropDown::TGridTrackbarDropDown(TProStringGrid* AOwner) : TGridDropDown(AOwner)
{
    FCaretAtMouse = true;
    // The bar is made now, so that the arrow keys move a bar of the right range and write the
    // position into the edit before the list was ever opened.
    DropDownForm();
    SetMin(Min());
    SetMax(Max());
}

TGridMemoDropDown::TGridMemoDropDown(TProStringGrid* AOwner) : TGridDropDown(AOwner)
{
    FCaretAtMouse = true;
}

void TGridMemoDropDown::Changed()
{
    TGridDropDown::Changed();
    if (!Loading && FGrid->GetEditMode() && isVisible()) FGrid->MemoDropDownChange(this);
}

TGridCalculatorDropDown::TGridCalculatorDropDown(TProStringGrid* AOwner) : TGridDropDown(AOwner)
{
    FCaretAtMouse = true;
}

TGridTimepickerDropDown::TGridTimepickerDropDown(TProStringGrid* AOwner) : TGridDropDown(AOwner)
{
    FocusDraw = false;
}

TGridColorDropDown::TGridColorDropDown(TProStringGrid* AOwner) : TGridDropDown(AOwner) {}

bool TGridColorDropDown::HandlesKey(int Key, bool Alt) const
{
    if (Alt && Key == VK_DOWN) return false;
    if (Key == VK_TAB || Key == VK_RETURN || Key == VK_ESCAPE) return true;
    if (DroppedDown()) return false;
    switch (Key) {
    case VK_PRIOR: case VK_NEXT: case VK_END: case VK_HOME: case VK_UP: case VK_DOWN: return true;
    default: return false;
    }
}

TGridImageDropDown::TGridImageDropDown(TProStringGrid* AOwner) : TGridDropDown(AOwner) {}

QString TGridImageDropDown::EditorText() const
{
    const int i = ItemIndex();
    return i >= 0 && i < const_cast<TGridImageDropDown*>(this)->Items().Count()
               ? const_cast<TGridImageDropDown*>(this)->Items().GetItem(i)->Caption()
               : QString();
}

TGridGridDropDown::TGridGridDropDown(TProStringGrid* AOwner) : TGridDropDown(AOwner) {}

TGridDetailPickerDropDown::TGridDetailPickerDropDown(TProStringGrid* AOwner) : TGridDropDown(AOwner) {}

void TGridDetailPickerDropDown::HandleKeyDown(QKeyEvent* e)
{
    const int key = e->key();
    const bool listKey = key == Qt::Key_PageUp || key == Qt::Key_PageDown || key == Qt::Key_Up || key == Qt::Key_Down;
    if (FGrid->GetEditMode() && isVisible() && listKey && !(e->modifiers() & Qt::AltModifier)) {
        const bool open = DroppedDown();
        TProDetailDropDown::HandleKeyDown(e);
        if (open) return;
    }
    TGridDropDown::HandleKeyDown(e);
}

TGridProGridDropDown::TGridProGridDropDown(TProStringGrid* AOwner) : TGridDropDown(AOwner) {}

TProStringGrid* TGridProGridDropDown::Grid()
{
    DropDownForm();
    return GetGrid();
}

template class TGridDropDown<TProTrackBarDropDown>;
template class TGridDropDown<TProMemoDropDown>;
template class TGridDropDown<TProCalculatorDropdown>;
template class TGridDropDown<TProTimePickerDropDown>;
template class TGridDropDown<TProColorPickerDropDown>;
template class TGridDropDown<TProImagePickerDropDown>;
template class TGridDropDown<TProMultiColumnDropDown>;
template class TGridDropDown<TProDetailDropDown>;
template class TGridDropDown<TCustomProGridDropDown>;

// ---- the grid's side ------------------------------------------------------------------------

namespace {
// Makes a drop-down editor hidden and disabled over the grid, in the grid's style.
template <class W>
W* MakeDropDown(W*& Field, TProStringGrid* Grid, TProStyle Style)
{
    if (!Field) {
        Field = new W(Grid);
        Field->SetComponentStyle(Style);
    }
    return Field;
}
} // namespace

TGridTrackbarDropDown* TProStringGrid::TrackbarDropDown() { return MakeDropDown(FEditTrackBar, this, FStyle); }
TGridMemoDropDown* TProStringGrid::MemoDropDown() { return MakeDropDown(FEditMemo, this, FStyle); }
TGridCalculatorDropDown* TProStringGrid::CalculatorDropDown() { return MakeDropDown(FEditCalculator, this, FStyle); }
TGridTimepickerDropDown* TProStringGrid::TimePickerDropDown() { return MakeDropDown(FEditTimePicker, this, FStyle); }

TGridDetailPickerDropDown* TProStringGrid::DetailPickerDropDown()
{
    return MakeDropDown(FEditDetailPicker, this, FStyle);
}
TGridGridDropDown* TProStringGrid::GridDropDown() { return MakeDropDown(FEditGridPicker, this, FStyle); }
TGridProGridDropDown* TProStringGrid::ProGridDropDown() { return MakeDropDown(FEditProGridPicker, this, FStyle); }

TGridColorDropDown* TProStringGrid::ColorPickerDropDown()
{
    if (!FEditColorPicker) {
        MakeDropDown(FEditColorPicker, this, FStyle);
        FEditColorPicker->AddDefaultColors();
        FEditColorPicker->OnSelect = [this](QObject*) { ColorSelect(); };
    }
    return FEditColorPicker;
}

TGridImageDropDown* TProStringGrid::ImagePickerDropDown()
{
    if (!FEditImagePicker) {
        MakeDropDown(FEditImagePicker, this, FStyle);
        FEditImagePicker->OnSelect = [this](QObject*) { ImageSelect(); };
    }
    return FEditImagePicker;
}

TGridDropDownEditor* TProStringGrid::DropDownEditorOf(TEditorType Kind)
{
    switch (Kind) {
    case edTrackbarDropDown: return TrackbarDropDown();
    case edMemoDropDown: return MemoDropDown();
    case edCalculatorDropDown: return CalculatorDropDown();
    case edTimePickerDropDown: return TimePickerDropDown();
    case edColorPickerDropDown: return ColorPickerDropDown();
    case edImagePickerDropDown: return ImagePickerDropDown();
    case edDetailDropDown: return DetailPickerDropDown();
    case edGridDropDown: return GridDropDown();
    case edProGridDropDown: return ProGridDropDown();
    default: return nullptr;
    }
}

std::vector<TProCustomDropDown*> TProStringGrid::CreatedDropDownEditors() const
{
    std::vector<TProCustomDropDown*> list;
    for (TProCustomDropDown* d : std::initializer_list<TProCustomDropDown*>{
             FEditTrackBar, FEditMemo, FEditCalculator, FEditTimePicker, FEditColorPicker, FEditImagePicker,
             FEditDetailPicker, FEditGridPicker, FEditProGridPicker})
        if (d) list.push_back(d);
    return list;
}

void TProStringGrid::StyleDropDownEditors(TProStyle AStyle)
{
    for (TProCustomDropDown* d : CreatedDropDownEditors()) d->SetComponentStyle(AStyle);
}

void TProStringGrid::DropDropDownEditors()
{
    for (TProCustomDropDown* d : CreatedDropDownEditors()) {
        d->HideDropDown(false);
        delete d;
    }
    FEditTrackBar = nullptr;
    FEditMemo = nullptr;
    FEditCalculator = nullptr;
    FEditTimePicker = nullptr;
    FEditColorPicker = nullptr;
    FEditImagePicker = nullptr;
    FEditDetailPicker = nullptr;
    FEditGridPicker = nullptr;
    FEditProGridPicker = nullptr;
}

void TProStringGrid::RelayHeaderButtonClick(int ButtonIndex)
{
    if (OnDropDownHeaderButtonClick) OnDropDownHeaderButtonClick(this, Col(), Row(), ButtonIndex);
}

void TProStringGrid::RelayFooterButtonClick(int ButtonIndex)
{
    if (OnDropDownFooterButtonClick) OnDropDownFooterButtonClick(this, Col(), Row(), ButtonIndex);
}

void TProStringGrid::MemoDropDownChange(QObject* Sender)
{
    (void)Sender;
    StoreEditorText(Col(), Row(), MemoDropDown()->MemoText().join(QLatin1Char('\n')));
}

void TProStringGrid::ColorSelect()
{
    // the grid's own loading and restoring of the value is no choice of the user's
    if (FEditColorPicker->Loading) return;
    if (OnColorSelect)
        OnColorSelect(this, Col(), Row(), FEditColorPicker->SelectedColor(), FEditColorPicker->SelectedColorText());
}

void TProStringGrid::ImageSelect()
{
    if (FEditImagePicker->Loading) return;
    if (OnImageSelect) OnImageSelect(this, Col(), Row(), FEditImagePicker->ItemIndex());
}

static void SetEditorColor(QWidget* w, TColor Bk)
{
    QPalette pal = w->palette();
    pal.setColor(QPalette::Base, ColorToQColor(Bk));
    w->setPalette(pal);
}

void TProStringGrid::OpenDropDownEditor(int C, int ARow, const TRect& R, TColor Bk, const QString& T)
{
    TGridDropDownEditor* ed = DropDownEditorOf(EditControl);
    if (!ed) return;
    TProCustomDropDown* dd = ed->Control();
    EditMode = true;
    dd->SetDropDownFooter(*ControlLook()->DropDownFooter());
    dd->SetDropDownHeader(*ControlLook()->DropDownHeader());
    dd->SetComponentStyle(FStyle);
    dd->OnDropDownHeaderButtonClick = [this](QObject*, int i) { RelayHeaderButtonClick(i); };
    dd->OnDropDownFooterButtonClick = [this](QObject*, int i) { RelayFooterButtonClick(i); };
    const bool gridKind = EditControl == edGridDropDown || EditControl == edProGridDropDown;
    if (gridKind) {
        SetEditorColor(dd, Bk);
        dd->SetEditorEnabled(true);
    }
    if (EditControl == edProGridDropDown) FEditProGridPicker->Grid()->SetFixedRowAlways(true);
    GetEditorProp(C, ARow, nullptr);
    if (EditControl == edGridDropDown) {
        FEditGridPicker->BeginUpdate();
        FEditGridPicker->EndUpdate();
    } else if (EditControl == edProGridDropDown) {
        FEditProGridPicker->BeginUpdate();
        FEditProGridPicker->EndUpdate();
    }
    dd->setGeometry(R.Left, R.Top, R.Right - R.Left - 1, R.Bottom - R.Top - 1);
    dd->setEnabled(true);
    ed->Loading = true;
    switch (EditControl) {
    case edTrackbarDropDown: {
        TGridTrackbarDropDown* tb = FEditTrackBar;
        tb->SetPosition(StrToIntDef(T, 0));
        // the edit shows the position as the bar holds it
        tb->SetTextDirect(QString::number(tb->Position()));
        break;
    }
    case edMemoDropDown: dd->SetText(T); break;
    case edCalculatorDropDown:
        // every opening calculates from the cell's value, never from a cancelled calculation
        FEditCalculator->ResetCalculation();
        dd->SetText(T);
        break;
    case edTimePickerDropDown:
        dd->SetText(T);
        dd->SetEditorEnabled(true);
        break;
    case edDetailDropDown:
        dd->SetText(T);
        dd->SetEditorEnabled(true);
        break;
    case edGridDropDown:
        FEditGridPicker->SetItemIndex(T.isEmpty() ? 0 : FEditGridPicker->GetItemIndex(T));
        dd->SetText(T);
        break;
    case edProGridDropDown: {
        TGridProGridDropDown* pg = FEditProGridPicker;
        if (pg->UseItems) {
            QString found;
            int row = 0;
            if (!T.isEmpty()) pg->LookupText(T, found, row);   // -1 when nothing starts with T
            pg->SetItemIndex(row);
        }
        dd->SetText(T);
        break;
    }
    case edColorPickerDropDown:
        FEditColorPicker->SetSelectedColor(GetCellType(C, ARow) == ctShape ? GetShapeColor(C, ARow) : GetColors(C, ARow));
        break;
    case edImagePickerDropDown: {
        TGridImageDropDown* ip = FEditImagePicker;
        const TCellType t = GetCellType(C, ARow);
        if (t == ctImageList || t == ctDataImage) {
            ip->SetImages(GridImages());
            if (ip->Items().Count() == 0) ip->AddImagesFromImageList();
            int idx = -1;
            if (t == ctImageList) GetImageIdx(C, ARow, idx);
            else idx = StrToIntDef(Cells(C, ARow), -1);
            ip->SetImageIndex(idx);
        }
        ip->SetTextDirect(ip->ImageIndex() == -1 ? QString() : ip->EditorText());
        break;
    }
    default: break;
    }
    ed->Loading = false;
    ed->KeepStart();
    SetEditorColor(dd, Bk);
    dd->show();
    dd->setFocus(Qt::OtherFocusReason);
    if (EditControl == edDetailDropDown) {
        // a text that is an item's caption selects that item
        TGridDetailPickerDropDown* dp = FEditDetailPicker;
        const int i = dp->Items().IndexOf(dp->Text());
        if (i >= 0) {
            ed->Loading = true;
            dp->SetItemIndex(i);
            ed->Loading = false;
        }
    }
    ed->CellLoaded();
    // the memo shows the start of its text; in the others the first typed character replaces it
    if (EditControl == edMemoDropDown) dd->setCursorPosition(0);
    else if (dd->EditorEnabled()) dd->SelectAll();
    if (!FStartEditChar.isNull()) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(FStartEditChar));
        QApplication::sendEvent(dd, &press);
    }
    if (MouseActions()->DirectComboDrop()) dd->ShowDropDown();
    EditCtrl = dd;
}

void TProStringGrid::CloseDropDownEditor(int C, int ARow)
{
    TGridDropDownEditor* ed = DropDownEditorOf(EditControl);
    if (!ed || !EditMode) return;
    TProCustomDropDown* dd = ed->Control();
    EditMode = false;
    // an open list closes with its choice before the value is read
    dd->HideDropDown(false);
    // an editor left unchanged or cancelled leaves the cell, its colour and its image alone
    const bool store = ed->Edited();
    ed->Closed();
    switch (store ? EditControl : edNone) {
    case edNone: break;
    case edMemoDropDown: SetEditedCell(C, ARow, FEditMemo->MemoText().join(QLatin1Char('\n'))); break;
    case edColorPickerDropDown: {
        TColor K = FEditColorPicker->SelectedColor();
        QString S = FEditColorPicker->SelectedColorText();
        if (OnColorSelected) OnColorSelected(this, C, ARow, K, S);
        SetEditedCell(C, ARow, S);
        if (GetCellType(C, ARow) == ctShape) SetShapeColor(C, ARow, K);
        else SetColors(C, ARow, K);
        break;
    }
    case edImagePickerDropDown: {
        int N = FEditImagePicker->ImageIndex();
        if (OnImageSelected) OnImageSelected(this, C, ARow, N);
        const TCellType t = GetCellType(C, ARow);
        if (t == ctImageList) SetImageIdx(C, ARow, N);
        else if (t == ctDataImage) SetEditedCell(C, ARow, QString::number(N));
        break;
    }
    default: SetEditedCell(C, ARow, dd->Text()); break;
    }
    if (dd->hasFocus()) SetFocus();
    dd->hide();
    dd->setEnabled(false);
}
