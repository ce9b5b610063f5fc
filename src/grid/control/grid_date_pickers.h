#pragma once
// The grid's date, date up-down and time editor, and its date-and-time editor.
#include "grid/controls/pro_date_time_picker.h"
#include "grid/controls/psg_date_time_picker.h"
#include "grid/control/grid_editor_keys.h"
#include "platform/ui/messages.h"

class TProStringGrid;

class TGridDatePicker : public TPsgDateTimePicker, public TGridEditorHost {
public:
    explicit TGridDatePicker(TProStringGrid* AOwner);
    TProStringGrid* FGrid;
    void ReCreate() {}
    uint16_t Fy = 0, Fm = 0, Fd = 0, Fth = 0, Ftm = 0, Fts = 0, Ftms = 0;
    bool FOldDropped = false;
    bool Weeknumbers() const { return FWeeknumbers; }
    void SetWeeknumbers(bool v);
    bool ShowToday = true;
    bool ShowTodayCircle() const { return FShowTodayCircle; }
    void SetShowTodayCircle(bool v);
    // After a typed digit: on to the next field unless the changed one is the format's last.
    void CheckShiftFocus();
    // The field holds all the digits it can take.
    bool FieldComplete(Section S) const;
    // The wrapper's key-down step; Key 0 means consumed.
    void HandleKeyDown(int& Key, TShiftState Shift);
    // The value in the grid's own date or time format, whatever the picker shows; empty
    // while unchecked.
    QString CommittedText() const override;

protected:
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    bool FWeeknumbers = false, FShowTodayCircle = true;
};

class TGridDateTimePicker : public TProDateTimePicker, public TGridEditorHost {
public:
    explicit TGridDateTimePicker(TProStringGrid* AOwner);
    TProStringGrid* FGrid;
    // Hooks the companion time picker's keys; the grid calls it whenever it shows the editor.
    void HookCompanion();
    // True when the key was taken.
    bool HandleKey(QKeyEvent* e);
    // The date and the time of day in the grid's own formats; empty while unchecked.
    QString CommittedText() const override;

protected:
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
};
