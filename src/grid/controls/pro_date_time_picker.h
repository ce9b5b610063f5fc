#pragma once
// Date and time pickers that move on to the next field once a field is typed (AutoTab), and
// a picker for a date, a time or both (a companion time picker at its right end), with an
// optional label beside it.
#include "grid/controls/psg_combo.h"
#include "grid/controls/psg_date_time_picker.h"

#include <QLabel>
#include <QPointer>

class TCustomDateTimePicker : public TDateTimePicker {
public:
    explicit TCustomDateTimePicker(QWidget* AParent);
    TPickerLook Look;
    bool AutoTab() const { return FAutoTab; }
    virtual void SetAutoTab(bool v) { FAutoTab = v; }
    virtual void ShiftFocus();
    virtual bool SuppressFrame() const { return true; }
    virtual void SetBorderStyle(TBorderStyle v);
    // Sees each key first; True when it took the key.
    std::function<bool(QKeyEvent* e)> OnKeyDown;

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    // The values before the last typed digit.
    virtual void RememberValues();
    int FHour = 0, FMin = 0, FSec = 0;
    bool FAutoTab = false;
    int FSectionBefore = 0;
};

enum TProDateTimeKind { dkDate, dkTime, dkDateTime };

class TProDateTimePicker : public TCustomDateTimePicker {
public:
    explicit TProDateTimePicker(QWidget* AParent);
    ~TProDateTimePicker() override;

    TProDateTimeKind ProKind() const { return FKind; }
    void SetProKind(TProDateTimeKind v);
    TDateTime DateTime();
    virtual void SetDateTime(TDateTime v);
    void SetDate(TDateTime v);
    TDateTime Time();
    void SetTime(TDateTime v);
    QString TimeFormat() const { return FTimeFormat; }
    void SetTimeFormat(const QString& v);
    TCustomDateTimePicker* TimePicker() const { return FTimePicker; }
    void SetAutoTab(bool v) override;
    void ShiftFocus() override;
    bool SuppressFrame() const override { return false; }
    void SetBorderStyle(TBorderStyle v) override;

    QString LabelCaption() const { return FLabel ? FLabel->text() : QString(); }
    void SetLabelCaption(const QString& v);
    TLabelPosition LabelPosition() const { return FLabelPosition; }
    void SetLabelPosition(TLabelPosition v);
    int LabelMargin() const { return FLabelMargin; }
    void SetLabelMargin(int v);
    QLabel* PickerLabel() const { return FLabel; }
    // The label's font, used unless the picker takes its parent's font.
    QFont LabelFont() const { return FLabelFont; }
    void SetLabelFont(const QFont& v);
    bool LabelTransparent() const { return FLabelTransparent; }
    void SetLabelTransparent(bool v);
    // The label stays enabled when the picker is disabled.
    bool LabelAlwaysEnabled() const { return FLabelAlwaysEnabled; }
    void SetLabelAlwaysEnabled(bool v);
    // The label is bold while the picker has the focus.
    bool FocusLabel = false;
    std::function<void(QObject* Sender)> OnLabelClick;
    std::function<void(QObject* Sender)> OnLabelDblClick;
    std::function<void(QObject* Sender)> OnTimeChange;
    // The text both parts show: the date, a blank and the time.
    QString CombinedText() const;

    void UpdateTimePicker();
    void UpdateLabel();

protected:
    void RememberValues() override;
    void resizeEvent(QResizeEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void hideEvent(QHideEvent* e) override;
    void changeEvent(QEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    TProDateTimeKind FKind = dkDateTime;
    QString FTimeFormat;
    TCustomDateTimePicker* FTimePicker = nullptr;
    QPointer<QLabel> FLabel;
    TLabelPosition FLabelPosition = lpLeftTop;
    int FLabelMargin = 4;
    QFont FLabelFont;
    bool FLabelTransparent = false;
    bool FLabelAlwaysEnabled = false;
    int FYear = 0, FMonth = 0, FDay = 0;
};
