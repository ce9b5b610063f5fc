// Cell validation, the single gate through which every editor commits a value, and the
// grid's focus and click moments around it.
#include "grid/control/grid_change_notifier.h"
#include "grid/control/pro_inplace_edit.h"
#include "grid/control/grid_selection.h"
#include "grid/control/pro_string_grid.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>

// A validation runs only while an edit is pending and none runs already (the events it fires
// may commit again).  While the scope lives the edit is closed and the grid is validating;
// when it ends, whatever the validation did, the cell's text is kept as the one the next edit
// starts from.
class TProStringGrid::TValidationScope {
public:
    TValidationScope(TProStringGrid* AGrid, const QString& NewValue)
    {
        if (!AGrid->FEditing || AGrid->FValidating) return;
        G = AGrid;
        G->FEditing = false;
        G->FValidating = true;
        Col = G->RealColIndex(G->FOldCol);
        Row = G->FOldRow;
        G->FNewCellText = NewValue;
    }
    ~TValidationScope()
    {
        if (!G) return;
        G->SaveOldCellText(G->Col(), G->Row());
        G->FValidating = false;
    }
    TValidationScope(const TValidationScope&) = delete;
    TValidationScope& operator=(const TValidationScope&) = delete;

    bool Active() const { return G != nullptr; }
    int Col = -1;  // the real column of the edited cell
    int Row = -1;

private:
    TProStringGrid* G = nullptr;
};

bool TProStringGrid::ValidateCell(const QString& NewValue)
{
    const TValidationScope scope(this, NewValue);
    if (!scope.Active()) return true;
    bool Valid = true;
    const int C = scope.Col;
    const int R = scope.Row;
    if (NewValue != FOldCellText || FAlwaysValidate) {
        const bool Changed = NewValue != FOldCellText;
        const bool advance = Navigation()->AdvanceOnEnter();
        Navigation()->SetAdvanceOnEnter(false);
        QString V = NewValue;
        if (FCellChecker && FCellChecker->AutoCorrect()) V = FCellChecker->Correct(C, R, V);
        if (OnCellValidate) OnCellValidate(this, C, R, V, Valid);
        if (V != FOldCellText && Valid) {
            FGridModified = true;
            if (FixedCols() > 0) {
                FSelect->SetRowModified(RealRowIndex(Row()), true);
                if (FShowModified->Enabled()) RepaintCell(0, Row());
            }
        }
        if (Valid) CalcFooterCol(C);
        if (FCellChecker && FCellChecker->AutoMarkError()) V = FCellChecker->MarkError(C, R, V);
        // (a value that comes back unchanged, validated only because AlwaysValidate is on,
        // would make an undo step that does nothing)
        if (Valid && UndoRedo() && V != FOldCellText) UndoRedo()->RegisterChange(C, R, FOldCellText, V);
        if (Valid && Changed) CellsChanged(TRect{C, R, C, R});
        Navigation()->SetAdvanceOnEnter(advance);
        FNewCellText = V;
        if (Valid) {
            SetCellEx(C, R, V);
            int bc = C, br = R;
            if (ResolveBaseCell(C, R, bc, br) && (bc != C || br != R)) SetCellEx(bc, br, V);
            if (FInvalidBalloon) FInvalidBalloon->hide();
        } else {
            // Refused: nothing of the typed value reaches the cell (a value the handler put
            // in its place does), and the editor stays open on the cell with the value.
            FLastValidation = false;
            SetCellEx(C, R, V != NewValue ? V : FOldCellText);
            if (Col() != FOldCol || Row() != R) MoveColRow(FOldCol, R, true, true);
            FValidating = false;
            FEditing = true;
            const bool open = EditMode && (FSpecialEditor ? EditCtrl && EditCtrl->isVisible()
                                                          : InplaceEditor() && InplaceEditor()->isVisible());
            if (!open) ShowInplaceEdit();
            FModified = FOldModifiedValue;
            QWidget* editor = FSpecialEditor ? EditCtrl : static_cast<QWidget*>(InplaceEditor());
            if (editor && (!FInvalidEntryTitle.isEmpty() || !FInvalidEntryText.isEmpty()))
                ShowInvalidEntryBalloon(editor);
        }
        FOldCellText = GetGridCell(C, R);
    }
    const bool wasValid = Valid;
    if (auto* w = FFocusWindow.Created(); wasValid && w) w->hide();
    return Valid;
}

bool TProStringGrid::ValidateCellWide(const QString& NewValue)
{
    const TValidationScope scope(this, NewValue);
    if (!scope.Active()) return true;
    bool Valid = true;
    const int C = scope.Col;
    const int R = scope.Row;
    if (NewValue != FOldCellTextWide || FAlwaysValidate) {
        QString V = NewValue;
        CalcFooterCol(C);
        if (OnCellValidateWide) OnCellValidateWide(this, C, R, V, Valid);
        if (NewValue != FOldCellTextWide) {
            FGridModified = true;
            if (FShowModified->Enabled() && FixedCols() > 0) {
                FSelect->SetRowModified(FOldRow, true);
                RepaintCell(0, FOldRow);
            }
        }
        FNewCellText = V;
        if (Valid) {
            SetWideCells(C, R, V);
        } else {
            SetWideCells(C, R, V != NewValue ? V : FOldCellTextWide);
            if (Col() != FOldCol || Row() != R) MoveColRow(FOldCol, R, true, true);
            FValidating = false;
            FEditing = true;
            if (!EditMode) ShowInplaceEdit();
        }
        FOldCellTextWide = GetWideCells(C, R);
    }
    return Valid;
}

void TProStringGrid::SaveOldCellText(int ACol, int ARow)
{
    FOldCol = ACol;
    FOldRow = ARow;
    const int C = RealColIndex(ACol);
    if (C >= 0 && ARow >= 0 && ARow < RowCount()) {
        FOldCellText = GetGridCell(C, ARow);
        FOldCellTextWide = GetWideCells(C, ARow);
    }
    FOldModifiedValue = FModified;
}

void TProStringGrid::CellsChanged(TRect R)
{
    if (OnCellsChanged) OnCellsChanged(this, R);
    // a copy: a follower may unregister itself while it hears the change
    const std::vector<TObject*> notifiers = FNotifierList;
    for (TObject* n : notifiers)
        if (auto* follower = dynamic_cast<TGridChangeNotifier*>(n)) follower->CellsChanged(R);
    CalcFooter(-1);
}

void TProStringGrid::ShowInvalidEntryBalloon(QWidget* Editor)
{
    // The platform's balloon tip: the title, the text and the icon next to the editor.
    if (!FInvalidBalloon) {
        auto* w = new QFrame(this, Qt::ToolTip);
        w->setFrameShape(QFrame::Box);
        auto* lay = new QHBoxLayout(w);
        lay->setContentsMargins(6, 4, 6, 4);
        auto* icon = new QLabel(w);
        icon->setObjectName(QStringLiteral("icon"));
        auto* text = new QLabel(w);
        text->setObjectName(QStringLiteral("text"));
        text->setTextFormat(Qt::PlainText);
        lay->addWidget(icon);
        lay->addWidget(text);
        FInvalidBalloon = w;
    }
    auto* icon = FInvalidBalloon->findChild<QLabel*>(QStringLiteral("icon"));
    auto* text = FInvalidBalloon->findChild<QLabel*>(QStringLiteral("text"));
    const QStyle::StandardPixmap px = FInvalidEntryIcon == ieError     ? QStyle::SP_MessageBoxCritical
                                      : FInvalidEntryIcon == ieWarning ? QStyle::SP_MessageBoxWarning
                                                                       : QStyle::SP_MessageBoxInformation;
    icon->setVisible(FInvalidEntryIcon != ieNone);
    if (FInvalidEntryIcon != ieNone) icon->setPixmap(style()->standardIcon(px).pixmap(16, 16));
    QString s = FInvalidEntryTitle;
    if (!FInvalidEntryText.isEmpty()) s += (s.isEmpty() ? QString() : QStringLiteral("\n")) + FInvalidEntryText;
    text->setText(s);
    FInvalidBalloon->adjustSize();
    FInvalidBalloon->move(Editor->mapToGlobal(QPoint(0, Editor->height())));
    FInvalidBalloon->show();
}

void TProStringGrid::ApplyVCLStyle()
{
    // Qt applies no application-wide visual style over the grid's own colours.
    FUseVCLStyles = false;
}

// ---- focus and click -----------------------------------------------------------------------

void TProStringGrid::Click()
{
    TBaseGrid::Click();
    FEntered = false;
    SaveOldCellText(Col(), Row());
}

void TProStringGrid::DoEnter()
{
    if (FBlockFocus) return;
    struct Save {
        TProStringGrid* G;
        ~Save() { G->SaveOldCellText(G->Col(), G->Row()); }
    } save{this};
    TBaseGrid::DoEnter();
    if (Options().Contains(goEditing) || MouseActions()->RangeSelectAndEdit()) CanSelectCell(Col(), Row());
}

void TProStringGrid::DoExit()
{
    if (FBlockKill) return;
    // Leaving the grid validates what the default edit holds; a refused value keeps the
    // editor open on it instead of being stored as the editor closes.
    TInplaceEdit* edit = InplaceEditor();
    if (EditMode && !FSpecialEditor && FEditing && edit && edit->isVisible()) {
        if (!ValidateCell(edit->Text())) {
            edit->SetText(FNewCellText);
            FExitRefused = true;
            return;
        }
        edit->SetText(FNewCellText);
    }
    TBaseGrid::DoExit();
}

void TProStringGrid::WMSetFocus(TMessage& m)
{
    TBaseGrid::WMSetFocus(m);
    if (HasCheckBox(RealColIndex(Col()), Row())) return;
    TCellProperties* p = HasCellProperties(RealColIndex(Col()), Row()) ? GetCellProperties(RealColIndex(Col()), Row())
                                                                         : nullptr;
    if (p && (p->CellSpanX() > 0 || p->CellSpanY() > 0)) InvalidateCell(Col(), Row());
}

void TProStringGrid::WMKillFocus(TMessage& m)
{
    if (FBlockKill) {
        m.Result = 1;
        return;
    }
    TBaseGrid::WMKillFocus(m);
}
