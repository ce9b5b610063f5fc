#pragma once
// The platform's date and time picker: a date or a time edited field by field, with an
// optional check box in front and a calendar that drops down for dates.  Values are
// TDateTime numbers; formats use the platform's format letters (translated for Qt).
#include "platform/core/dateutils.h"

#include <QCheckBox>
#include <QDateTimeEdit>
#include <functional>

enum TDateTimeKind { dtkDate, dtkTime };
enum TDTDateMode { dmComboBox, dmUpDown };

class TDateTimePicker : public QDateTimeEdit {
public:
    explicit TDateTimePicker(QWidget* AParent);

    TDateTimeKind Kind() const { return FKind; }
    void SetKind(TDateTimeKind v);
    TDTDateMode DateMode() const { return FDateMode; }
    void SetDateMode(TDTDateMode v);
    // Empty: the locale's short date format, or its long time format for a time.
    QString Format() const { return FFormat; }
    void SetFormat(const QString& v);

    TDateTime DateTimeValue() const;
    void SetDateTimeValue(TDateTime v);
    TDateTime Date() const;   // with the time of day
    void SetDate(TDateTime v);
    TDateTime Time() const;   // time of day only
    void SetTime(TDateTime v);

    bool ShowCheckbox() const { return FCheck != nullptr; }
    void SetShowCheckbox(bool v);
    bool Checked() const { return !FCheck || FCheck->isChecked(); }
    void SetChecked(bool v);
    QCheckBox* CheckBox() const { return FCheck; }

    // Calendar options: week numbers, and today's date marked.
    void SetWeekNumbers(bool v);
    void SetShowTodayMark(bool v);
    bool DroppedDown() const;
    // Drops the calendar down (F4, Alt+Down).
    void DropDown();
    // Moves to the next field with it selected, as the Right key of the platform's picker.
    void NextField();
    // A field's value as its text shows it, typed digits included (the value itself changes
    // only once the field is complete); fields the format does not show come from the value.
    int FieldValue(QDateTimeEdit::Section s) const;
    // A month shown by name takes its number typed as digits: True while the first digit of
    // a two-digit month waits for the second.
    bool MonthDigitsPending() const { return !FMonthDigits.isEmpty(); }

    std::function<void(QObject* Sender)> OnChange;

protected:
    void resizeEvent(QResizeEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void ApplyFormat();
    // The whole value shows in the editor's width: month names give way to month numbers,
    // then the text's font shrinks, as far as needed.
    void FitText();
    void SetFullRange();

private:
    TDateTimeKind FKind = dtkDate;
    TDTDateMode FDateMode = dmComboBox;
    QString FFormat;
    QCheckBox* FCheck = nullptr;
    bool FTodayMark = true;
    QString FMonthDigits;   // digits typed into a month shown by name
    bool TypeMonthDigit(QKeyEvent* e);
};
