#include "platform/ui/date_time_picker.h"

#include "platform/core/format_settings.h"
#include "platform/ui/date_format_qt.h"
#include "platform/ui/date_time_values.h"

#include <QCalendarWidget>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTextCharFormat>
#include <algorithm>
#include <cmath>

TDateTimePicker::TDateTimePicker(QWidget* AParent) : QDateTimeEdit(AParent)
{
    SetFullRange();
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
    // A time-only format pins the range to the value's day; a date picker used for a time
    // before must take every date again.
    if (FKind == dtkDate) SetFullRange();
    setCalendarPopup(FKind == dtkDate && FDateMode == dmComboBox);
    SetShowTodayMark(FTodayMark);
    FitText();
}

void TDateTimePicker::SetFullRange()
{
    setDateTimeRange(QDateTime(QDate(100, 1, 1), QTime(0, 0)), QDateTime(QDate(9999, 12, 31), QTime(23, 59, 59)));
}

void TDateTimePicker::FitText()
{
    QLineEdit* edit = lineEdit();
    if (!edit) return;
    QString f = FFormat;
    if (f.isEmpty()) f = FKind == dtkTime ? FormatSettings().LongTimeFormat : LocaleShortDateFormat();
    const QString asSet = QtDateTimeFormat(f);
    QString byNumber = asSet;
    byNumber.replace(QLatin1String("MMMM"), QLatin1String("MM")).replace(QLatin1String("MMM"), QLatin1String("MM"));
    // the line edit keeps 2 pixels each side and one for the caret
    const QMargins m = edit->textMargins();
    const int room = edit->contentsRect().width() - m.left() - m.right() - 5;
    edit->setFont(QFont());   // the picker's own font, unless it must shrink below
    auto fits = [&](const QString& format, const QFont& font) {
        return QFontMetrics(font).horizontalAdvance(locale().toString(dateTime(), format)) <= room;
    };
    const QString format = fits(asSet, edit->font()) ? asSet : byNumber;
    if (displayFormat() != format) setDisplayFormat(format);
    QFont small = edit->font();
    if (room <= 0 || fits(format, small)) return;
    // a picker on a narrow cell: the smallest size that still shows the whole value
    if (small.pixelSize() > 0) {
        for (int px = small.pixelSize() - 1; px >= 6; --px) {
            small.setPixelSize(px);
            if (fits(format, small)) break;
        }
    } else {
        for (qreal pt = small.pointSizeF() - 0.5; pt >= 4.5; pt -= 0.5) {
            small.setPointSizeF(pt);
            if (fits(format, small)) break;
        }
    }
    edit->setFont(small);
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
    if (TypeMonthDigit(e)) return;
    QDateTimeEdit::keyPressEvent(e);
}

bool TDateTimePicker::TypeMonthDigit(QKeyEvent* e)
{
    const QString t = e->text();
    const bool digit = t.size() == 1 && t.at(0) >= QLatin1Char('0') && t.at(0) <= QLatin1Char('9');
    const bool byName = displayFormat().contains(QLatin1String("MMM"));
    if (!digit || !byName || currentSection() != MonthSection ||
        (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        if (!t.isEmpty() || e->key() != Qt::Key_Shift) FMonthDigits.clear();
        return false;
    }
    FMonthDigits += t;
    const int month = FMonthDigits.toInt();
    if (month >= 1 && month <= 12) {
        const QDate d = date();
        setDate(QDate(d.year(), month, std::min(d.day(), QDate(d.year(), month, 1).daysInMonth())));
    }
    // two digits, or one that no second digit can follow (2 to 9), complete the month;
    // like a full number field it then moves on
    if (FMonthDigits.size() >= 2 || month * 10 > 12) {
        FMonthDigits.clear();
        NextField();
    } else {
        setSelectedSection(MonthSection);
    }
    return true;
}

void TDateTimePicker::NextField()
{
    const int i = currentSectionIndex();
    if (i + 1 >= sectionCount()) return;
    setCurrentSectionIndex(i + 1);
    setSelectedSection(currentSection());
}

void TDateTimePicker::showEvent(QShowEvent* e)
{
    QDateTimeEdit::showEvent(e);
    // the value and the width are final once shown
    FitText();
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
    FitText();
}

int TDateTimePicker::FieldValue(QDateTimeEdit::Section s) const
{
    // a month shown by name counts by its number
    if (s == MonthSection && (displayedSections() & s) && displayFormat().contains(QLatin1String("MMM")))
        return dateTime().date().month();
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
