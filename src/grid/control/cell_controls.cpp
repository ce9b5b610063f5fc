// Form controls written into a cell's mini-HTML text: where they lie in the cell, what a
// press on one does, and the edit box or combo box that edits the value of an EDIT,
// PASSWORD, MASK or COMBO control over the control itself.
#include "grid/base/html_layout.h"
#include "grid/base/html_text.h"
#include "grid/base/pictures.h"
#include "grid/base/text_packing.h"
#include "grid/control/pro_string_grid.h"
#include "platform/ui/inplace_edit.h"

#include <QAbstractItemView>
#include <QKeyEvent>

// ---- the editor controls -------------------------------------------------------------------

TControlEdit::TControlEdit(TProStringGrid* AGrid) : QLineEdit(AGrid), FGrid(AGrid)
{
    setFrame(false);
    hide();
}

bool TControlEdit::event(QEvent* e)
{
    // Tab moves on to the cell's next control; it never reaches keyPressEvent.
    if (e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        if (k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab) {
            FGrid->ControlEditTab(k->key() == Qt::Key_Backtab || k->modifiers().testFlag(Qt::ShiftModifier));
            return true;
        }
        if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter || k->key() == Qt::Key_Escape) {
            // the key ends the edit, keeping the typed value, and never reaches the dialog
            FGrid->DoneCellControlEdit();
            return true;
        }
    }
    if (e->type() == QEvent::ShortcutOverride) {
        auto* k = static_cast<QKeyEvent*>(e);
        if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter || k->key() == Qt::Key_Escape) {
            e->accept();
            return true;
        }
    }
    return QLineEdit::event(e);
}

void TControlEdit::focusOutEvent(QFocusEvent* e)
{
    QLineEdit::focusOutEvent(e);
    if (isVisible()) FGrid->DoneCellControlEdit();
}

TControlCombo::TControlCombo(TProStringGrid* AGrid) : QComboBox(AGrid), FGrid(AGrid)
{
    hide();
    connect(this, &QComboBox::activated, this, [this](int index) { FGrid->ControlComboSelect(index); });
    view()->installEventFilter(this);
}

bool TControlCombo::eventFilter(QObject* watched, QEvent* e)
{
    // An open list takes the keys before the combo box: Enter and Escape there only close it.
    if (e->type() == QEvent::ShortcutOverride) {
        auto* k = static_cast<QKeyEvent*>(e);
        if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter || k->key() == Qt::Key_Escape) e->accept();
    }
    return QComboBox::eventFilter(watched, e);
}

bool TControlCombo::event(QEvent* e)
{
    if (e->type() == QEvent::KeyPress || e->type() == QEvent::ShortcutOverride) {
        auto* k = static_cast<QKeyEvent*>(e);
        const bool closing = k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter || k->key() == Qt::Key_Escape;
        if (e->type() == QEvent::ShortcutOverride) {
            if (closing) {
                e->accept();
                return true;
            }
        } else if (k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab) {
            FGrid->ControlEditTab(k->key() == Qt::Key_Backtab || k->modifiers().testFlag(Qt::ShiftModifier));
            return true;
        } else if (closing && !view()->isVisible()) {
            FGrid->DoneCellControlEdit();
            return true;
        }
    }
    return QComboBox::event(e);
}

void TControlCombo::focusOutEvent(QFocusEvent* e)
{
    QComboBox::focusOutEvent(e);
    // the open list takes the focus from the combo box: that is no leaving
    if (isVisible() && !view()->isVisible()) FGrid->DoneCellControlEdit();
}

// ---- where the controls lie ----------------------------------------------------------------

TRect TProStringGrid::HtmlLayoutRect(int ACol, int ARow)
{
    TRect R = CellRect(ACol, ARow);
    R.Left += FXYOffset.X + 1;
    R.Top += FXYOffset.Y + 1;
    if (HasCheckBox(DisplToRealColumn(ACol), ARow)) R.Left += FControlLook->CheckSize();
    return HtmlRectRightToLeft(Canvas(), Cells(DisplToRealColumn(ACol), ARow), R, CellRect(ACol, ARow));
}

bool TProStringGrid::HtmlCellHitTest(int ACol, int ARow, int X, int Y, const QString& ControlID, THtmlRenderArgs& A)
{
    const QString text = Cells(DisplToRealColumn(ACol), ARow);
    if (CellTextKind(text, FEnableHTML) != 1) return false;
    A = HtmlArgs();
    A.HitTestOnly = true;
    A.HitX = X;
    A.HitY = Y;
    A.ControlID = ControlID;
    A.WordWrap = !FEnhTextSize;
    return RenderHtmlCell(Canvas(), text, HtmlLayoutRect(ACol, ARow), A);
}

QString TProStringGrid::AnchorAt(int ACol, int ARow, int X, int Y)
{
    THtmlRenderArgs a;
    return HtmlCellHitTest(ACol, ARow, X, Y, QString(), a) ? a.AnchorHref : QString();
}

// ---- a press on a control ------------------------------------------------------------------

bool TProStringGrid::PressCellControl(int ACol, int ARow, int X, int Y)
{
    THtmlRenderArgs a;
    if (!HtmlCellHitTest(ACol, ARow, X, Y, QString(), a) || a.AnchorHref != QLatin1String("ctrl")) return false;
    const int rc = DisplToRealColumn(ACol);
    bool canEdit = Options().Contains(goEditing) || FEditDisable;
    CanEditCell(rc, ARow, canEdit);
    if (!canEdit) return false;
    if (FCtrlEditing) DoneCellControlEdit();
    QString text = Cells(rc, ARow);
    const QString id = a.ControlID, type = a.ControlType.toUpper();
    QString value = a.ControlValue;
    if (type == QLatin1String("BUTTON")) {
        FCtrlXY = {ACol, ARow};
        FCtrlDown = true;
        RepaintCell(ACol, ARow);
    } else if (type == QLatin1String("CHECK")) {
        value = value.toUpper() == QLatin1String("TRUE") ? QStringLiteral("FALSE") : QStringLiteral("TRUE");
        SetControlValue(text, id, value);
        SetCells(rc, ARow, text);
    } else if (type == QLatin1String("RADIO")) {
        text = ResetRadioControls(text);
        value = QStringLiteral("TRUE");
        SetControlValue(text, id, value);
        SetCells(rc, ARow, text);
    }
    if (OnControlClick) OnControlClick(this, ARow, ACol, id, type, value);
    ShowCellControlEditor(ACol, ARow, a.ControlRect, id, type, value);
    return true;
}

// ---- editing a control ---------------------------------------------------------------------

void TProStringGrid::EditCellControl(int ACol, int ARow, const QString& ControlID)
{
    const QString text = Cells(DisplToRealColumn(ACol), ARow);
    QString next;
    NextControlID(text, ControlID, next);
    if (next.isEmpty()) {
        SetFocus();
        return;
    }
    THtmlRenderArgs a;
    if (!HtmlCellHitTest(ACol, ARow, -1, -1, next, a)) {
        SetFocus();
        return;
    }
    ShowCellControlEditor(ACol, ARow, a.ControlRect, a.ControlID, a.ControlType.toUpper(), a.ControlValue);
}

void TProStringGrid::ShowCellControlEditor(int ACol, int ARow, const TRect& R, const QString& ID, const QString& Type,
                                           const QString& Value)
{
    const QString text = Cells(DisplToRealColumn(ACol), ARow);
    const int maxLen = GetControlMaxLen(text, ID);
    if (Type == QLatin1String("EDIT") || Type == QLatin1String("PASSWORD") || Type == QLatin1String("MASK")) {
        FCtrlXY = {ACol, ARow};
        FCtrlID = ID;
        FCtrlType = Type;
        FCtrlEditing = true;
        TControlEdit* e = FEditControl;
        e->setEchoMode(Type == QLatin1String("PASSWORD") ? QLineEdit::Password : QLineEdit::Normal);
        QString prop;
        if (Type == QLatin1String("MASK")) GetControlProp(text, ID, prop);
        e->setInputMask(Type == QLatin1String("MASK") ? QtInputMask(prop) : QString());
        e->setMaxLength(maxLen > 0 ? maxLen : 32767);
        e->setText(Value);
        e->setGeometry(R.Left + 1, R.Top + 8, R.Right - R.Left - 4, 14);
        e->show();
        e->raise();
        e->setFocus(Qt::OtherFocusReason);
    } else if (Type == QLatin1String("COMBO")) {
        FCtrlXY = {ACol, ARow};
        FCtrlID = ID;
        FCtrlType = Type;
        FCtrlEditing = true;
        TControlCombo* c = FComboControl;
        QStringList values;
        bool edit = true;
        int dropCount = 8;
        if (OnControlComboList) OnControlComboList(this, ARow, ACol, ID, Type, Value, values, edit, dropCount);
        const QSignalBlocker quiet(c);
        c->clear();
        c->addItems(values);
        c->setEditable(edit);
        c->setCurrentIndex(values.indexOf(Value));
        if (edit) c->setEditText(Value);
        c->setMaxVisibleItems(std::max(1, dropCount));
        if (edit && c->lineEdit()) c->lineEdit()->setMaxLength(maxLen > 0 ? maxLen : 32767);
        c->setGeometry(R.Left - 1, R.Top + 4, R.Right - R.Left, c->sizeHint().height());
        c->show();
        c->raise();
        c->setFocus(Qt::OtherFocusReason);
        c->showPopup();
    }
}

void TProStringGrid::DoneCellControlEdit()
{
    if (!FCtrlEditing) return;
    FCtrlEditing = false;
    QWidget* editor = FCtrlType == QLatin1String("COMBO") ? static_cast<QWidget*>(FComboControl)
                                                           : static_cast<QWidget*>(FEditControl);
    const QString value = FCtrlType == QLatin1String("COMBO") ? FComboControl->currentText() : FEditControl->text();
    const int rc = DisplToRealColumn(FCtrlXY.X);
    if (FCtrlXY.X >= 0 && FCtrlXY.Y >= 0 && rc < TotalColCount() && FCtrlXY.Y < RowCount()) {
        QString text = Cells(rc, FCtrlXY.Y);
        if (SetControlValue(text, FCtrlID, value)) SetCells(rc, FCtrlXY.Y, text);
    }
    // the grid takes the focus before the editor hides, so that it passes through no other control
    if (editor->hasFocus() || (FCtrlType == QLatin1String("COMBO") && FComboControl->view()->isVisible())) SetFocus();
    if (FCtrlType == QLatin1String("COMBO")) FComboControl->hidePopup();
    editor->hide();
    if (OnControlEditDone) OnControlEditDone(this, FCtrlXY.Y, FCtrlXY.X, FCtrlID, FCtrlType, value);
    FCtrlType.clear();
}

void TProStringGrid::ControlEditTab(bool Backward)
{
    (void)Backward;
    const TPoint cell = FCtrlXY;
    const QString id = FCtrlID;
    DoneCellControlEdit();
    // with automatic advancing Tab leaves the cell as Enter does in a normal cell
    if (FNavigation->AdvanceAuto()) AdvanceEdit(Col(), GetRowEx(), false, false, true, false, false);
    else EditCellControl(cell.X, cell.Y, id);
}

void TProStringGrid::ControlComboSelect(int ItemIndex)
{
    if (OnControlComboSelect)
        OnControlComboSelect(this, FCtrlXY.Y, FCtrlXY.X, ItemIndex, FCtrlID, FComboControl->itemText(ItemIndex));
}
