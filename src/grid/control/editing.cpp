// Editability, the choice of the editor kind, cell selection, and showing, reading back and
// closing the in-place editors.
#include "grid/control/grid_spin.h"
#include "grid/control/pro_inplace_edit.h"
#include "grid/control/pro_string_grid.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>

bool TProStringGrid::IsDefaultEditKind(TEditorType k)
{
    switch (k) {
    case edNormal: case edNumeric: case edPositiveNumeric: case edFloat: case edCapital: case edMixedCase:
    case edPassword: case edLowerCase: case edUpperCase: case edValidChars: case edPositiveFloat: return true;
    default: return false;
    }
}

bool TProStringGrid::IsEditable(int ACol, int ARow)
{
    if (!Options().Contains(goEditing) && !MouseActions()->RangeSelectAndEdit() && !FEditDisable) return false;
    return CanEditCellEx(ACol, ARow);
}

bool TProStringGrid::CanEditCellEx(int ACol, int ARow)
{
    int bc = ACol, br = ARow;
    ResolveBaseCell(ACol, ARow, bc, br);
    bool CanEdit = true;
    CanEditCell(bc, br, CanEdit);
    bool Fixed = false;
    IsFixedCell(RealToDisplColumn(bc), br, Fixed);
    return CanEdit && !Fixed;
}

bool TProStringGrid::EditorWantsTab()
{
    return Options().Contains(goTabs) || bool(OnCellValidate) || bool(OnCellValidateWide);
}

bool TProStringGrid::IsPasswordCell(int ACol, int ARow)
{
    bool IsPassword = false;
    IsPasswordCellHook(ACol, ARow, IsPassword);
    return IsPassword;
}

void TProStringGrid::RepaintHeaderCells(int ACol1, int ARow1, int ACol2, int ARow2)
{
    for (auto [c, r] : {std::pair{ACol1, ARow1}, std::pair{ACol2, ARow2}}) {
        if (FixedRows() > 0) RepaintCell(c, FixedRows() - 1);
        if (FixedCols() > 0) RepaintCell(FixedCols() - 1, r);
    }
}

bool TProStringGrid::CanEditShow()
{
    if (FValidating) return false;
    bool R = TBaseGrid::CanEditShow();
    if (FDesigning) return R;
    int bc = RealColIndex(Col()), br = Row();
    ResolveBaseCell(RealColIndex(Col()), Row(), bc, br);
    if (R && !EditMode && HasClickControl(bc, br)) return false;
    if (R && !EditMode) {
        FNoEditChange = true;
        FCellCache = CurrentCell();
        EditControl = FDefaultEditor;
        GetCellEditor(bc, br, EditControl);
        if (EditControl == edNone) return false;
        EditMode = true;
        if (!FEditing) SaveOldCellText(Col(), Row());
        if (IsDefaultEditKind(EditControl)) {
            FShowEditProcess = true;
        } else {
            int dc = Col(), dr = Row();
            ResolveBaseCell(Col(), Row(), dc, dr);
            OpenCellEditor(dc, dr);
            FEntered = true;
            if (FFocusHelper->Enabled()) MoveFocusWindow();
            R = false;
        }
    }
    if (R) {
        FEntered = true;
        FEditing = true;
        if (FFocusHelper->Enabled()) MoveFocusWindow();
    }
    return R;
}

void TProStringGrid::RowChanging(int ACol, int ARow, bool& Allow)
{
    if (ARow != Row() && OnRowChanging) OnRowChanging(this, Row(), ARow, Allow);
    if (ACol != Col() && OnColChanging) OnColChanging(this, Col(), ACol, Allow);
    if (ACol == Col() && ARow == Row()) return;
    // the advance after Enter asked OnCellChanging itself
    if (OnCellChanging && !FDisableChange) OnCellChanging(this, Row(), Col(), ARow, ACol, Allow);
}

bool TProStringGrid::CanSelectCell(int ACol, int ARow)
{
    const TGridRect S = Selection();
    if (FForceSel) return true;
    if (!parentWidget()) return true;
    bool Allow = true, Result = false;
    FEditText = Cells(ACol, ARow);
    if (FFloatingFooter->Visible() && FFloatingFooter->FooterStyle() == fsFixedLastRow && ARow == RowCount() - 1)
        return false;
    if (ACol < 0 || ARow < 0) return false;
    if (IsMergedNonBaseCell(RealColIndex(ACol), ARow) && !Options().Contains(goRangeSelect)) {
        const TPoint b = BaseCell(RealColIndex(ACol), ARow);
        MoveColRow(RealToDisplColumn(b.X), b.Y, true, true);
        RepaintCell(RealToDisplColumn(b.X), b.Y);
        if (MouseActions()->DirectEdit() ||
            (ControlLook()->DropDownAlwaysVisible() && HasComboBox(RealColIndex(ACol), ARow)))
            ShowEditor();
        return false;
    }
    if (ACol == 0 && HasNodes() && !Options().Contains(goRowSelect)) return false;
    if (UseEnabledRows() && Navigation()->SkipDisabledRows() && !GetRowEnabled(ARow)) return false;
    const int OldCol = Col(), OldRow = Row();
    const int RC = RealColIndex(ACol);
    QString T = Cells(RC, ARow);
    const bool EditFocused = InplaceEditor() && InplaceEditor()->hasFocus();
    auto closeOpenEditor = [&] {
        if (FEditing) {
            HideInplaceEdit();
            T = Cells(RC, ARow);
        }
    };
    if (HasClickControl(RC, ARow)) {
        // A check box or button opens no editor: selecting it never makes a grid editable
        // that was not (the column grid's hook answers from its columns alone).
        const bool editing =
            Options().Contains(goEditing) || MouseActions()->RangeSelectAndEdit() || FEditDisable;
        bool CanEdit = true;
        CanEditCell(RC, ARow, CanEdit);
        CanEdit = CanEdit && editing;
        if (!FEditDisable)
            FEditDisable = !CanEdit && (Options().Contains(goEditing) || MouseActions()->RangeSelectAndEdit());
        if (!Options().Contains(goEditing) && !Options().Contains(goRowSelect) && CanEdit) {
            FEditChange = true;
            SetOptions(Options() + goEditing);
        }
    } else {
        bool CanEdit = Options().Contains(goEditing) || FEditDisable;
        CanEditCell(RC, ARow, CanEdit);
        if (CanEdit && MouseActions()->DirectEdit()) {
            EditControl = FDefaultEditor;
            if (IsNoEditorCell(RC, ARow)) CanEdit = false;
        }
        if (MouseActions()->EditOnDblClickOnly()) CanEdit = false;
        if (CanEdit) {
            FEditDisable = false;
            if (!Options().Contains(goEditing)) {
                FEditChange = true;
                if (!FEditing) SaveOldCellText(ACol, ARow);
                TGridOptions o = Options();
                if (o.Contains(goRowSelect) && MouseActions()->RangeSelectAndEdit()) o.Exclude(goRowSelect);
                SetOptions(o + goEditing);
                closeOpenEditor();
            }
        } else {
            closeOpenEditor();
            if (Options().Contains(goEditing)) {
                EditMode = false;
                FEditDisable = true;
                FEditChange = true;
                SetOptions(Options() - goEditing);
                SetEditorMode(false);
            }
        }
    }
    if (!FEditing || EditFocused) {
        RowChanging(ACol, ARow, Allow);
        if (IsFixed(ACol, ARow) || !Allow)
            Result = Allow && Options().Contains(goRowSelect) ? true : FixedRowAlways() && RowCount() == FixedRows();
        else Result = TBaseGrid::CanSelectCell(ACol, ARow);
    } else {
        const QString P = FCellCache;
        Result = ValidateCell(CurrentCell());
        RowChanging(ACol, ARow, Allow);
        if (!Allow) Result = false;
        if (Result) Result = TBaseGrid::CanSelectCell(ACol, ARow);
        if (!Result) T = P;
    }
    if (ActiveCellShow()) {
        RepaintHeaderCells(OldCol, OldRow, ACol, ARow);
        if (S.Left != OldCol && S.Top != OldRow) RepaintHeaderCells(S.Left, S.Top, ACol, ARow);
    }
    if (SelectionRectangle()) InvalidateGridRect(Selection());
    if (!Loading() && ARow != FOldRowSel && OnRowChanged) {
        OnRowChanged(this, FOldRowSel, ARow);
        FOldRowSel = ARow;
    }
    if (HasCellBorders()) InvalidateGridRect({0, S.Top, ColCount() - 1, S.Bottom});
    FCellCache = T;
    return Result;
}

void TProStringGrid::SimulateCellClick(int ACol, int ARow)
{
    const TRect r = CellRect(ACol, ARow);
    auto down = std::move(OnMouseDown);
    auto up = std::move(OnMouseUp);
    OnMouseDown = nullptr;
    OnMouseUp = nullptr;
    FForceSel = true;
    MouseDown(mbLeft, TShiftState(), r.Left + 2, r.Top + 2);
    MouseUp(mbLeft, TShiftState(), r.Left + 2, r.Top + 2);
    FForceSel = false;
    OnMouseDown = std::move(down);
    OnMouseUp = std::move(up);
}

// ---- the editors ---------------------------------------------------------------------------

TInplaceEdit* TProStringGrid::CreateEditor()
{
    return new TProInplaceEdit(this);
}

TProInplaceEdit* TProStringGrid::NormalEdit() const
{
    return static_cast<TProInplaceEdit*>(InplaceEditor());
}

QString TProStringGrid::EditorTextOfCell(int ACol, int ARow)
{
    FNoEditChange = true;
    const int C = RealColIndex(ACol);
    if (NormalEdit()) NormalEdit()->SetVAlign(GetCellAlignment(ACol, ARow).HA == taRightJustify);
    int bc = C, br = ARow;
    ResolveBaseCell(C, ARow, bc, br);
    return TBaseGrid::GetEditText(bc, br);
}

void TProStringGrid::StoreEditorText(int ACol, int ARow, const QString& Value)
{
    int bc = RealColIndex(ACol), br = ARow;
    ResolveBaseCell(RealColIndex(ACol), ARow, bc, br);
    TBaseGrid::SetEditText(bc, br, Value);
}

void TProStringGrid::SetEditedCell(int ACol, int ARow, const QString& Value)
{
    StoreEditorText(RealToDisplColumn(ACol), ARow, Value);
    SetCellEx(ACol, ARow, Value);
}

void TProStringGrid::NotifyEditingDone(int ACol, int ARow)
{
    if (OnEditingDone) OnEditingDone(this);
    EditMode = false;
    PostMessage(RegisterWindowMessage(QStringLiteral("GridEditDone")), ACol, ARow);
}

void TProStringGrid::ShowInplaceEdit()
{
    if (HasClickControl(RealColIndex(Col()), Row())) return;
    if (Row() < TopRow()) SetTopRow(Row());
    if (Col() < LeftCol()) SetLeftCol(Col());
    FEditText = CurrentCell();
    ShowEditor();
}

void TProStringGrid::HideInplaceEdit()
{
    if (!EditMode) return;
    HideEditor();
    CloseCellEditor(Col(), Row());
    EditMode = false;
    CanSelectCell(Col(), Row());
}

void TProStringGrid::DoneInplaceEdit(int Key, TShiftState Shift)
{
    FBlockFocus = true;
    FEditing = false;
    HideInplaceEdit();
    if (Key == VK_TAB || (Key >= VK_LEFT && Key <= VK_DOWN)) {
        int k = Key;
        KeyDown(k, Shift);
    }
    const bool alwaysEdit = Navigation()->AlwaysEdit();
    Navigation()->SetAlwaysEdit(false);
    SetFocus();
    if (Key == VK_RETURN) AdvanceEdit(Col(), Row(), false, false, true, false, EditMode);
    Navigation()->SetAlwaysEdit(alwaysEdit);
    FBlockFocus = false;
}

void TProStringGrid::RestoreCellCache()
{
    SetCellEx(RealColIndex(Col()), Row(), FCellCache);
    SetCellEx(RealColIndex(Col()), Row(), Cells(Col(), Row()));
}

void TProStringGrid::GetEditorProp(int ACol, int ARow, TEditLink* AEditLink)
{
    if (OnGetEditorProp) OnGetEditorProp(this, ACol, ARow, AEditLink);
    if (OnGetEditorPropInt) OnGetEditorPropInt(this, ACol, ARow, AEditLink);
}

// ---- special editors -----------------------------------------------------------------------

void TProStringGrid::OpenCellEditor(int ACol, int ARow)
{
    FEditing = FSpecialEditor = FEditActive = true;
    TRect R = CellRect(ACol, ARow);
    if (UseRightToLeftAlignment()) R.Left += 1;
    const int C = RealColIndex(ACol);
    const int W = R.Right - R.Left - 1, H = R.Bottom - R.Top - 1;
    TGridDrawState state;
    TBrush brush;
    TFont font;
    TColor to = clNone, mirror = clNone, mirrorTo = clNone;
    TAlignment ha = taLeftJustify;
    TVAlignment va = vtaTop;
    bool ww = false;
    TCellGradientDirection gd{};
    GetVisualProperties(ACol, Row(), state, false, false, true, &brush, to, mirror, mirrorTo, &font, ha, va, ww, gd);
    const TColor Bk = brush.Color();
    SetGridState(gsNormal);
    EditCtrl = nullptr;
    if (EditControl != edCustom) FLastValidation = true;
    const QString T = EditorTextOfCell(ACol, ARow);
    auto postStartChar = [&](QWidget* w) {
        if (FStartEditChar.isNull()) return;
        const QString s(FStartEditChar);
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, s);
        QApplication::sendEvent(w, &press);
    };
    switch (EditControl) {
    case edComboList:
    case edComboEdit: {
        TGridCombo* cb = EditCombo;
        EditMode = true;
        GetEditorProp(C, ARow, nullptr);
        cb->setEnabled(true);
        cb->setFont(font.ToQFont());
        cb->setEditable(EditControl == edComboEdit);
        // typing completes only as the grid's Lookup says, not by Qt's own completer
        if (cb->lineEdit()) cb->setCompleter(nullptr);
        bool reportFirst = false;
        if (EditControl == edComboEdit) {
            cb->setEditText(T);
            if (FComboIdx != -1 && cb->currentIndex() < 0) cb->setCurrentIndex(FComboIdx);
            if (FMaxComboLength > 0 && cb->lineEdit()) cb->lineEdit()->setMaxLength(FMaxComboLength);
        } else {
            int idx = cb->IndexOfItem(GetGridCell(C, ARow));
            if (idx < 0) idx = cb->IndexOfItem(T);
            if (idx < 0 && FComboIdx != -1) idx = FComboIdx;
            // A text that is no item stays the cell's text: the list shows it and selects
            // nothing, so that closing without a choice keeps it.
            cb->setPlaceholderText(T);
            cb->setCurrentIndex(idx);
            (void)reportFirst;
        }
        cb->CellLoaded();
        // a typed character that leads to no item of the list opens nothing
        if (EditControl == edComboList && !cb->StartLookup(FStartEditChar)) {
            cb->setEnabled(false);
            EditMode = FEditing = FSpecialEditor = FEditActive = false;
            FStartEditChar = QChar();
            break;
        }
        cb->setGeometry(R.Left, R.Top, W, H);
        cb->SetColor(Bk);
        const bool flat = FLook == glSoft || (FLook >= glZUZ && FLook <= glOffice2007);
        cb->SetFlat(flat);
        cb->SetEtched(flat);
        if (Navigation()->AutoComboDropSize()) cb->SizeDropDownWidth();
        else if (cb->DropWidth() > 0) cb->SetDropWidth(cb->DropWidth());
        cb->show();
        cb->setFocus(Qt::OtherFocusReason);
        if (MouseActions()->DirectComboDrop() || ControlLook()->DropDownAlwaysVisible()) cb->showPopup();
        if (EditControl == edComboEdit) postStartChar(cb);
        EditCtrl = cb;
        break;
    }
    case edEditBtn:
    case edNumericEditBtn:
    case edFloatEditBtn:
    case edMaskEditBtn:
    case edUnitEditBtn:
    case edNumericUnitEditBtn:
    case edFloatUnitEditBtn: {
        const bool unit = EditControl == edUnitEditBtn || EditControl == edNumericUnitEditBtn ||
                          EditControl == edFloatUnitEditBtn;
        QLineEdit* e = unit ? static_cast<QLineEdit*>(UnitEditBtn) : static_cast<QLineEdit*>(EditBtn);
        EditMode = true;
        e->setGeometry(R.Left, R.Top, W, H);
        e->setText(T);
        if (e == UnitEditBtn) {
            // a text without one of the units stays whole as the value
            UnitEditBtn->SetUnitID(QString());
            UnitEditBtn->SetTextAndUnit(T);
        }
        if (EditorMaxLength() > 0) e->setMaxLength(EditorMaxLength());
        e->setEnabled(true);
        e->show();
        e->setFocus(Qt::OtherFocusReason);
        GetEditorProp(C, ARow, nullptr);
        EditorHostOf(EditControl)->CellLoaded();
        postStartChar(e);
        EditCtrl = e;
        break;
    }
    case edCheckBox:
        EditMode = true;
        EditCheck->setGeometry(R.Left, R.Top, W, H);
        EditCheck->setText(T);
        EditCheck->setEnabled(true);
        EditCheck->setChecked(false);
        EditCheck->CellLoaded();
        EditCheck->show();
        EditCheck->setFocus(Qt::OtherFocusReason);
        break;
    case edButton:
        EditMode = true;
        GridButton->setGeometry(R.Left - 1, R.Top - 1, W + 2, H + 2);
        GridButton->setText(T);
        GridButton->CellLoaded();
        GridButton->show();
        GridButton->setEnabled(true);
        GridButton->setFocus(Qt::OtherFocusReason);
        EditCtrl = GridButton;
        break;
    case edCustom: OpenEditLink(C, ARow, R, Bk, font, T); break;
    case edRichEdit: OpenRichEditor(C, ARow, R, Bk); break;
    case edSpinEdit:
    case edFloatSpinEdit:
    case edTimeSpinEdit:
    case edDateSpinEdit:
        OpenSpinEditor(C, ARow, R, Bk, T);
        postStartChar(EditCtrl);
        // a press on the cell's spin buttons steps once; the press is used up
        if (FSpinUpClick) SpinEdit()->IncreaseValue(false);
        else if (FSpinDnClick) SpinEdit()->DecreaseValue(false);
        FSpinUpClick = FSpinDnClick = false;
        break;
    case edDateEdit:
    case edDateEditUpDown:
    case edTimeEdit:
    case edDateTimeEdit:
        OpenDateEditor(C, ARow, R, Bk, T);
        if (EditControl == edDateEdit || EditControl == edDateEditUpDown) postStartChar(EditCtrl);
        break;
    case edTrackbarDropDown:
    case edMemoDropDown:
    case edCalculatorDropDown:
    case edTimePickerDropDown:
    case edColorPickerDropDown:
    case edImagePickerDropDown:
    case edDetailDropDown:
    case edGridDropDown:
    case edProGridDropDown: OpenDropDownEditor(C, ARow, R, Bk, T); break;
    default: break;   // the kinds whose controls this grid does not have open nothing
    }
    FStartEditChar = QChar();
}

void TProStringGrid::CloseCellEditor(int ACol, int ARow)
{
    if (Destroying() || FTornDown) return;
    FSpecialEditor = false;
    FBlockKill = true;
    const int C = RealColIndex(ACol);
    FStartEditChar = QChar();
    auto hideCtrl = [this](QWidget* w) {
        if (w->hasFocus()) SetFocus();
        w->hide();
        w->setEnabled(false);
    };
    switch (EditControl) {
    case edComboEdit:
    case edComboList:
        if (EditMode) {
            EditMode = false;
            // a list that closes without a choice, or a value left unchanged or cancelled,
            // keeps the cell's own text
            if (EditCombo->Edited()) SetEditedCell(C, ARow, EditCombo->CommittedText());
            EditCombo->Closed();
            hideCtrl(EditCombo);
        }
        break;
    case edEditBtn:
    case edNumericEditBtn:
    case edFloatEditBtn:
    case edMaskEditBtn:
        if (EditMode) {
            EditMode = false;
            // a value left unchanged or cancelled keeps the cell's own text
            if (EditBtn->Edited()) SetEditedCell(C, ARow, EditBtn->text());
            EditBtn->Closed();
            hideCtrl(EditBtn);
        }
        break;
    case edUnitEditBtn:
    case edNumericUnitEditBtn:
    case edFloatUnitEditBtn:
        if (UnitEditBtn->Edited()) SetEditedCell(C, ARow, UnitEditBtn->TextAndUnit());
        UnitEditBtn->Closed();
        hideCtrl(UnitEditBtn);
        EditMode = false;
        break;
    case edCheckBox:
        hideCtrl(EditCheck);
        EditMode = false;
        break;
    case edButton:
        hideCtrl(GridButton);
        EditMode = false;
        break;
    case edCustom: CloseEditLink(C, ARow); break;
    case edRichEdit: CloseRichEditor(C, ARow); break;
    case edSpinEdit:
    case edFloatSpinEdit:
    case edTimeSpinEdit:
    case edDateSpinEdit: CloseSpinEditor(C, ARow); break;
    case edDateEdit:
    case edDateEditUpDown:
    case edTimeEdit:
    case edDateTimeEdit: CloseDateEditor(C, ARow); break;
    case edTrackbarDropDown:
    case edMemoDropDown:
    case edCalculatorDropDown:
    case edTimePickerDropDown:
    case edColorPickerDropDown:
    case edImagePickerDropDown:
    case edDetailDropDown:
    case edGridDropDown:
    case edProGridDropDown: CloseDropDownEditor(C, ARow); break;
    default: break;
    }
    if (EditControl != edNormal && FEditActive) NotifyEditingDone(C, ARow);
    FBlockKill = false;
    FEditActive = false;
}

// ---- the combo editor's item list ----------------------------------------------------------

void TProStringGrid::ClearComboString() { EditCombo->clear(); }
void TProStringGrid::AddComboString(const QString& s) { EditCombo->addItem(s); }

void TProStringGrid::AddComboStringObject(const QString& s, TObject* AObject)
{
    EditCombo->addItem(s, QVariant::fromValue(static_cast<void*>(AObject)));
}

bool TProStringGrid::RemoveComboString(const QString& s)
{
    const int i = EditCombo->IndexOfItem(s);
    if (i < 0) return false;
    EditCombo->removeItem(i);
    return true;
}

int TProStringGrid::GetComboCount() { return EditCombo->count(); }

bool TProStringGrid::SetComboSelectionString(const QString& s)
{
    const int i = EditCombo->IndexOfItem(s);
    if (i < 0) return false;
    FComboIdx = i;
    return true;
}

void TProStringGrid::SetComboIndex(int ACol, int ARow, int Value)
{
    GetEditorProp(ACol, ARow, nullptr);
    if (Value >= 0 && Value < EditCombo->count()) SetCellEx(ACol, ARow, EditCombo->itemText(Value));
}

int TProStringGrid::GetComboIndex(int ACol, int ARow)
{
    GetEditorProp(ACol, ARow, nullptr);
    return EditCombo->IndexOfItem(Cells(ACol, ARow));
}
