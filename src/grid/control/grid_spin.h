#pragma once
// The grid's spin editor: a spin edit whose keys commit, cancel and move in the grid.
#include "grid/control/grid_editor_keys.h"
#include "grid/controls/psg_spin_edit.h"
#include "platform/ui/messages.h"

class TProStringGrid;

class TGridSpin : public TPsgSpinEdit, public TGridEditorHost {
public:
    explicit TGridSpin(TProStringGrid* AOwner);
    TProStringGrid* FGrid;
    void ReCreate() {}
    void UpClick(QObject* Sender) override;
    void DownClick(QObject* Sender) override;
    void SpinClicked(bool Up);
    // The wrapper's key-down step; Key 0 means consumed.
    void HandleKeyDown(int& Key, TShiftState Shift);
    QString CommittedText() const override { return text(); }
    // Tab stays with the spin only when it moves between cells.
    bool KeepsTab() const override;

protected:
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
};
