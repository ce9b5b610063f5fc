#pragma once
// The flat, colourable date and time picker the grid's date, date up-down and time editors
// are built on.
#include "platform/ui/custom_grid.h"
#include "platform/ui/date_time_picker.h"
#include "platform/ui/graphics.h"

// The flat look shared by the pickers: a one-pixel frame in the border colour (metro style or
// disabled) and, in metro style, a coloured drop-down button.
struct TPickerLook {
    TColor BorderColor = clNone;
    TColor ButtonColor = clNone, ButtonColorHot = clNone, ButtonColorDown = clNone;
    TColor ButtonTextColor = clNone, ButtonTextColorHot = clNone, ButtonTextColorDown = clNone;
    TColor ButtonBorderColor = clNone;
    bool MetroStyle = false;
    TBorderStyle BorderStyle = bsNone;
};
void PaintPickerLook(TDateTimePicker* Picker, const TPickerLook& Look, bool ButtonHot, bool ButtonDown);

class TPsgDateTimePicker : public TDateTimePicker {
public:
    explicit TPsgDateTimePicker(QWidget* AParent);
    TPickerLook Look;
    void SetMetroStyle(bool v) { Look.MetroStyle = v; update(); }
    void SetBorderColor(TColor v) { Look.BorderColor = v; update(); }
    virtual void SetBorderStyle(TBorderStyle v);
    QString Version() const { return QStringLiteral("1.0.0.0"); }

protected:
    void paintEvent(QPaintEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;
    bool FButtonHover = false;
};
