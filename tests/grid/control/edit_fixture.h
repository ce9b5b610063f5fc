#pragma once
// A column grid shown in a dialog with a default OK button, for driving the in-place
// editors with real key and mouse events.
#include "grid/control/pro_column_grid.h"
#include "grid/control/pro_inplace_edit.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

// The dialog's default OK button, which accepts it, below a 400 x 250 grid: Enter that the
// grid lets through closes the dialog.
inline QPushButton* AddOkButton(QDialog& dialog)
{
    auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    ok->setGeometry(320, 260, 60, 24);
    return ok;
}

// How a test opens an editor: F2, a typed character or a double click on the cell.
enum TOpen { ByF2, ByChar, ByDoubleClick };

// Columns: 1 plain text, 2 drop-down list (A, B, C, ABC), 3 read-only, 4 data check box.
struct EditFixture : ::testing::Test {
    QDialog Dialog;
    QPushButton* Ok = nullptr;
    QLineEdit* Other = nullptr;
    TProColumnGrid* Grid = nullptr;

    void SetUp() override
    {
        Ok = AddOkButton(Dialog);
        Other = new QLineEdit(&Dialog);
        Other->setGeometry(0, 260, 100, 24);
        Grid = CreateGrid<TProColumnGrid>(&Dialog);
        Grid->SetBounds(0, 0, 400, 250);
        Grid->SetRowCount(5);
        Grid->SetOptions(Grid->Options() + goEditing);
        Grid->Columns()->Items(2)->SetEditor(edComboList);
        for (const char* s : {"A", "B", "C", "ABC"}) Grid->Columns()->Items(2)->ComboItems()->Add(QString::fromLatin1(s));
        Grid->Columns()->Items(3)->SetReadOnly(true);
        Grid->Columns()->Items(4)->SetEditor(edDataCheckBox);
        Grid->SetCells(1, 1, QStringLiteral("abc"));
        Grid->SetCells(2, 1, QStringLiteral("B"));
        Grid->SetCells(3, 1, QStringLiteral("ro"));
        Grid->SetCells(4, 1, QStringLiteral("N"));
        Dialog.resize(400, 300);
        Dialog.show();
        QApplication::setActiveWindow(&Dialog);
        Dialog.activateWindow();
        Grid->SetFocus();
    }

    void Goto(int col, int row)
    {
        Grid->SetCol(col);
        Grid->SetRow(row);
    }
    TProInplaceEdit* Edit() const { return Grid->NormalEdit(); }
    bool EditShown() const { return Edit() && Edit()->isVisible(); }
    QWidget* Focused() const { return QApplication::focusWidget(); }
    // Keys go where the user's keyboard would send them: to the focused control.
    void Key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) { QTest::keyClick(Focused(), k, m); }
    void Type(const QString& s) { QTest::keyClicks(Focused(), s); }
    // Column 1 gets the editor kind and cell (1, 1) the text; the editor opens as `how` says
    // (with ByChar, `ch` is typed on the grid); Prepare runs once the cell holds its text.
    void OpenEditor(TEditorType kind, const QString& cell, TOpen how, const QString& ch = QString(),
                    const std::function<void()>& Prepare = {})
    {
        Grid->Columns()->Items(1)->SetEditor(kind);
        // edit on double click only takes goEditing away between edits
        Grid->MouseActions()->SetEditOnDblClickOnly(how == ByDoubleClick);
        if (how != ByDoubleClick) Grid->SetOptions(Grid->Options() + goEditing);
        Grid->SetCells(1, 1, cell);
        if (Prepare) Prepare();
        Goto(1, 1);
        Grid->SetFocus();
        switch (how) {
        case ByF2: Key(Qt::Key_F2); break;
        case ByChar: QTest::keyClicks(Grid, ch); break;
        case ByDoubleClick: {
            const TRect r = Grid->CellRect(1, 1);
            const QPoint at((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
            QTest::mouseDClick(Grid->viewport(), Qt::LeftButton, {}, at);
            // QTest's double click on a widget leaves the button down; the user lets it go
            QTest::mouseRelease(Grid->viewport(), Qt::LeftButton, {}, at);
            break;
        }
        }
    }
};
