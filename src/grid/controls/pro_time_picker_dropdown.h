#pragma once
// The time drop-down: a time of day shown as text in a masked edit, set on an analog clock
// (and, on request, a time picker below it) in the pop-up form.  While the form is open
// every completed change on the clock writes the time and the text; closing takes the
// clock's time, a cancelled close brings back the time the form opened with.  The text
// cannot be typed unless EditorEnabled is switched on; then Up and Down step the part of
// the time under the caret.
#include "grid/controls/pro_custom_dropdown.h"
#include "grid/controls/pro_watch.h"

class TCustomPanel;
class TDateTimePicker;

class TProTimePickerDropDown : public TProCustomDropDown {
public:
    explicit TProTimePickerDropDown(QWidget* AParent = nullptr);
    ~TProTimePickerDropDown() override;

    TDateTime Time() const { return FTime; }
    // Writes the text; the open clock and picker follow.  OnTimeChange does not fire.
    void SetTime(TDateTime Value);
    // One part of the time (values out of range are ignored); OnTimeChange fires.
    void SetHourOfTime(int Value);
    void SetMinuteOfTime(int Value);
    void SetSecondOfTime(int Value);
    bool ShowSeconds() const { return FShowSeconds; }
    void SetShowSeconds(bool v);
    // These take effect at the next opening.
    bool ShowTimePicker = false;
    bool ShowWatchAMPM = true;
    bool ShowWatchNumbers = true;
    bool Animation = true;
    int AnimationFactor = 10;
    TWatchAppearance* WatchAppearance() { return FWatchAppearance.get(); }
    void SetWatchAppearance(const TWatchAppearance& v) { FWatchAppearance->Assign(&v); }
    TWatchSettings* WatchSettings() { return FWatchSettings.get(); }
    void SetWatchSettings(const TWatchSettings& v) { FWatchSettings->Assign(&v); }
    std::function<void(QObject* Sender)> OnTimeChange;

    void SetComponentStyle(TProStyle AStyle) override;
    // Two-digit hour and minute, and second with ShowSeconds, joined by the locale's time
    // separator.
    QString FormatTimeText(int Hour, int Minute, int Second) const;

    TProWatch* Watch() const { return FProWatch; }
    TDateTimePicker* Picker() const { return FDateTimePicker; }
    TCustomPanel* PanelCtrl() const { return FPanelCtrl; }

protected:
    void CreateDropDownForm() override;
    void BeforeDropDown() override;
    void DoHideDropDown(bool Cancel) override;
    void DropDownFormHidden() override;
    void DropDownFormKeyDown(QKeyEvent* e) override;
    void ControlKeyDown(QKeyEvent* e) override;
    void HandleKeyDown(QKeyEvent* e) override;
    bool eventFilter(QObject* Watched, QEvent* e) override;

private:
    // Parses a typed hour and minute (and second) back into the time.
    void Change();
    void WatchChange();
    void PickerChange();
    void WriteTime(TDateTime Value);
    void SetPartOfTime(int Part, int Value);
    QString Mask() const;

    std::unique_ptr<TWatchAppearance> FWatchAppearance;
    std::unique_ptr<TWatchSettings> FWatchSettings;
    TDateTime FTime = 0;
    TDateTime FTimeAtOpen = 0;
    bool FShowSeconds = true;
    bool FInternalCall = false;
    TProWatch* FProWatch = nullptr;
    TDateTimePicker* FDateTimePicker = nullptr;
    TCustomPanel* FPanelCtrl = nullptr;
};
