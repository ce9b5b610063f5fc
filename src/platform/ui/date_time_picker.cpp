#include "platform/ui/date_time_picker.h"

#include "platform/core/format_settings.h"
#include "platform/ui/date_format_qt.h"
#include "platform/ui/date_time_values.h"

#include <QCalendarWidget>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTextCharFormat>
#include <cmath>

TDateTimePicker::TDateTimePicker(QWidget* AParent) : QDateTimeEdit(AParent)
{
    setDateTimeRange(QDateTime(QDate(100, 1, 1), QTime(0, 0)), QDateTime(QDate(9999, 12, 31), QTime(23, 59, 59)));
    setCalendarPopup(true);
    setCurrentSectionIndex(0);
    ApplyFormat();
    setDateTime(QDateTime::currentDateTime());
    connect(this, &QDateTimeEdit::dateTimeChanged, this, [this] {
        if (OnChange) OnChange(this);
    });
}

void TDateTimePicker::ApplyFormat()
{
    QString f = FFormat;
    if (f.isEmpty()) f = FKind == dtkTime ? FormatSettings().LongTimeFormat : LocaleShortDateFormat();
    setDisplayFormat(QtDateTimeFormat(f));
    setCalendarPopup(FKind == dtkDate && FDateMode == dmComboBox);
    SetShowTodayMark(FTodayMark);
}

void TDateTimePicker::SetKind(TDateTimeKind v)
{
    FKind = v;
    ApplyFormat();
}

void TDateTimePicker::SetDateMode(TDTDateMode v)
{
    FDateMode = v;
    ApplyFormat();
}

void TDateTimePicker::SetFormat(const QString& v)
{
    FFormat = v;
    ApplyFormat();
}

TDateTime TDateTimePicker::DateTimeValue() const
{
    QDateTime dt = dateTime();
    dt.setTime(QTime(dt.time().hour(), dt.time().minute(), dt.time().second()));
    return DateTimeOf(dt);
}

void TDateTimePicker::SetDateTimeValue(TDateTime v) { setDateTime(QDateTimeOf(v)); }
TDateTime TDateTimePicker::Date() const { return DateTimeValue(); }

void TDateTimePicker::SetDate(TDateTime v)
{
    const QDateTime d = QDateTimeOf(v);
    setDateTime(QDateTime(d.date(), time()));
}

TDateTime TDateTimePicker::Time() const
{
    const double v = DateTimeValue();
    return std::fabs(v - std::trunc(v));
}

void TDateTimePicker::SetTime(TDateTime v) { setTime(QDateTimeOf(v).time()); }

void TDateTimePicker::SetShowCheckbox(bool v)
{
    if (v == ShowCheckbox()) return;
    if (v) {
        FCheck = new QCheckBox(this);
        FCheck->setChecked(true);
        FCheck->setFocusPolicy(Qt::NoFocus);
        FCheck->show();
        connect(FCheck, &QCheckBox::toggled, this, [this](bool on) {
            // the fields are greyed while unchecked
            QPalette p = palette();
            p.setColor(QPalette::Text, on ? QPalette().color(QPalette::Text) : QPalette().color(QPalette::Disabled, QPalette::Text));
            setPalette(p);
            if (OnChange) OnChange(this);
        });
    } else {
        delete FCheck;
        FCheck = nullptr;
    }
    resizeEvent(nullptr);
}

void TDateTimePicker::SetChecked(bool v)
{
    if (FCheck) FCheck->setChecked(v);
}

void TDateTimePicker::SetWeekNumbers(bool v)
{
    if (QCalendarWidget* c = calendarWidget())
        c->setVerticalHeaderFormat(v ? QCalendarWidget::ISOWeekNumbers : QCalendarWidget::NoVerticalHeader);
}

void TDateTimePicker::SetShowTodayMark(bool v)
{
    FTodayMark = v;
    if (!calendarPopup()) return;
    QCalendarWidget* c = calendarWidget();
    if (!c) return;
    QTextCharFormat f;
    if (v) {
        f.setFontWeight(QFont::Bold);
        f.setForeground(QColor(0xC0, 0, 0));
        f.setFontUnderline(true);
    }
    c->setDateTextFormat(QDate::currentDate(), f);
}

bool TDateTimePicker::DroppedDown() const
{
    return calendarPopup() && calendarWidget() && calendarWidget()->window()->isVisible();
}

void TDateTimePicker::DropDown()
{
    if (!calendarPopup() || DroppedDown()) return;
    // Qt drops the calendar on a press of the arrow button
    const QPointF at(width() - 4, height() / 2);
    QMouseEvent press(QEvent::MouseButtonPress, at, mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QDateTimeEdit::mousePressEvent(&press);
}

void TDateTimePicker::keyPressEvent(QKeyEvent* e)
{
    if (calendarPopup() && (e->key() == Qt::Key_F4 || (e->key() == Qt::Key_Down && (e->modifiers() & Qt::AltModifier)))) {
        DropDown();
        return;
    }
    QDateTimeEdit::keyPressEvent(e);
}

void TDateTimePicker::NextField()
{
    const int i = currentSectionIndex();
    if (i + 1 >= sectionCount()) return;
    setCurrentSectionIndex(i + 1);
    setSelectedSection(currentSection());
}

void TDateTimePicker::resizeEvent(QResizeEvent* e)
{
    if (e) QDateTimeEdit::resizeEvent(e);
    // the check box sits in front of the fields
    if (FCheck) {
        const int s = std::min(height(), 16);
        FCheck->setGeometry(2, (height() - s) / 2, s + 2, s);
        lineEdit()->setTextMargins(s + 4, 0, 0, 0);
    } else if (lineEdit()) {
        lineEdit()->setTextMargins(0, 0, 0, 0);
    }
}

int TDateTimePicker::FieldValue(QDateTimeEdit::Section s) const
{
    if (displayedSections() & s) {
        // a year counts once all its digits are typed
        if (s == YearSection && sectionText(s).size() < (displayFormat().contains(QLatin1String("yyyy")) ? 4 : 2))
            return dateTime().date().year();
        bool ok = false;
        const int v = sectionText(s).toInt(&ok);
        return ok ? v : -1;
    }
    const QDateTime dt = dateTime();
    switch (s) {
    case YearSection: return dt.date().year();
    case MonthSection: return dt.date().month();
    case DaySection: return dt.date().day();
    case HourSection: return dt.time().hour();
    case MinuteSection: return dt.time().minute();
    case SecondSection: return dt.time().second();
    default: return 0;
    }
}
