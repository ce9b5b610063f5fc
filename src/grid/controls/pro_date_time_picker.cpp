#include "grid/controls/pro_date_time_picker.h"

#include <QMouseEvent>

#include "platform/ui/date_time_values.h"

#include <QKeyEvent>
#include <cmath>

// ---- TCustomDateTimePicker ------------------------------------------------------------------

TCustomDateTimePicker::TCustomDateTimePicker(QWidget* AParent) : TDateTimePicker(AParent)
{
    Look.BorderColor = 0;
}

void TCustomDateTimePicker::SetBorderStyle(TBorderStyle v)
{
    if (v == Look.BorderStyle) return;
    Look.BorderStyle = v;
    setFrame(v != bsNone);
    update();
}

void TCustomDateTimePicker::RememberValues()
{
    FHour = FieldValue(HourSection);
    FMin = FieldValue(MinuteSection);
    FSec = FieldValue(SecondSection);
}

void TCustomDateTimePicker::ShiftFocus()
{
    if (Kind() != dtkTime) return;
    if (FieldValue(HourSection) != FHour || FieldValue(MinuteSection) != FMin || FieldValue(SecondSection) != FSec)
        NextField();
}

void TCustomDateTimePicker::keyPressEvent(QKeyEvent* e)
{
    if (OnKeyDown && OnKeyDown(e)) return;
    const QString t = e->text();
    const bool digit = FAutoTab && t.size() == 1 && t.at(0) >= QLatin1Char('0') && t.at(0) <= QLatin1Char('9');
    if (digit) {
        RememberValues();
        FSectionBefore = currentSectionIndex();
    }
    TDateTimePicker::keyPressEvent(e);
    // the platform moves on by itself once a field is full
    if (digit && currentSectionIndex() == FSectionBefore) ShiftFocus();
}

void TCustomDateTimePicker::paintEvent(QPaintEvent* e)
{
    TDateTimePicker::paintEvent(e);
    if (!SuppressFrame()) PaintPickerLook(this, Look, false, false);
}

// ---- TProDateTimePicker ---------------------------------------------------------------------

TProDateTimePicker::TProDateTimePicker(QWidget* AParent) : TCustomDateTimePicker(AParent)
{
    Look.BorderStyle = bsSingle;
    SetProKind(dkDateTime);
}

TProDateTimePicker::~TProDateTimePicker() { delete FLabel.data(); }

void TProDateTimePicker::SetProKind(TProDateTimeKind v)
{
    FKind = v;
    SetKind(v == dkTime ? dtkTime : dtkDate);
    if (v == dkDateTime && !FTimePicker) {
        FTimePicker = new TCustomDateTimePicker(this);
        FTimePicker->SetKind(dtkTime);
        FTimePicker->SetAutoTab(AutoTab());
        FTimePicker->setFrame(false);
        FTimePicker->resize(90, 17);
        FTimePicker->hide();
        FTimePicker->OnChange = [this](QObject*) {
            if (OnChange) OnChange(this);
            if (OnTimeChange) OnTimeChange(this);
        };
    }
    UpdateTimePicker();
}

TDateTime TProDateTimePicker::DateTime()
{
    if (FTimePicker) TDateTimePicker::SetTime(FTimePicker->Time());
    return DateTimeValue();
}

void TProDateTimePicker::SetDateTime(TDateTime v)
{
    int h, n, s, z;
    DecodeTime(v, h, n, s, z);
    TDateTime t = 0;
    TryEncodeTime(h, n, s, 0, t);
    const double day = std::trunc(v);
    SetDateTimeValue(day < 0 ? day - t : day + t);
    if (FKind == dkDateTime && !FTimePicker) SetProKind(dkDateTime);
    if (FTimePicker) FTimePicker->SetDateTimeValue(DateTimeValue());
}

void TProDateTimePicker::SetDate(TDateTime v)
{
    const TDateTime t = Time();
    const double day = std::trunc(v);
    SetDateTime(day < 0 ? day - t : day + t);
}

TDateTime TProDateTimePicker::Time()
{
    if (FKind == dkDateTime && FTimePicker) return FTimePicker->Time();
    return TDateTimePicker::Time();
}

void TProDateTimePicker::SetTime(TDateTime v)
{
    TDateTimePicker::SetTime(v);
    if (FKind == dkDateTime && FTimePicker) FTimePicker->SetTime(v);
    UpdateTimePicker();
}

void TProDateTimePicker::SetTimeFormat(const QString& v)
{
    FTimeFormat = v;
    if (FTimePicker) FTimePicker->SetFormat(v);
    if (FKind == dkTime) SetFormat(v);
    UpdateTimePicker();
}

void TProDateTimePicker::SetAutoTab(bool v)
{
    TCustomDateTimePicker::SetAutoTab(v);
    if (FTimePicker) FTimePicker->SetAutoTab(v);
}

void TProDateTimePicker::SetBorderStyle(TBorderStyle v)
{
    TCustomDateTimePicker::SetBorderStyle(v);
    UpdateTimePicker();
}

QString TProDateTimePicker::CombinedText() const
{
    if (FKind == dkDateTime && FTimePicker) return text() + QLatin1Char(' ') + FTimePicker->text();
    return text();
}

void TProDateTimePicker::RememberValues()
{
    TCustomDateTimePicker::RememberValues();
    FYear = FieldValue(YearSection);
    FMonth = FieldValue(MonthSection);
    FDay = FieldValue(DaySection);
}

void TProDateTimePicker::ShiftFocus()
{
    if (FKind == dkTime) {
        TCustomDateTimePicker::ShiftFocus();
        return;
    }
    const bool day = FieldValue(DaySection) != FDay, month = FieldValue(MonthSection) != FMonth,
               year = FieldValue(YearSection) != FYear;
    auto toCompanion = [this] {
        if (FTimePicker && FTimePicker->isVisible()) {
            FTimePicker->setFocus(Qt::TabFocusReason);
            FTimePicker->setCurrentSectionIndex(0);
            FTimePicker->setSelectedSection(FTimePicker->currentSection());
        }
    };
    const QString f = Format();
    if (f.isEmpty()) {
        if (day || month) NextField();
        else if (year) toCompanion();
        return;
    }
    const QChar c = f.back().toLower();
    if ((day && c == QLatin1Char('d')) || (month && c == QLatin1Char('m')) || (year && c == QLatin1Char('y')))
        toCompanion();
    else if (day || month || year)
        NextField();
}

void TProDateTimePicker::UpdateTimePicker()
{
    if (!FTimePicker) return;
    FTimePicker->setEnabled(isEnabled() && (Checked() || !ShowCheckbox()));
    const bool visible = FKind == dkDateTime;
    if (!visible) {
        delete FTimePicker;
        FTimePicker = nullptr;
        return;
    }
    FTimePicker->SetFormat(FTimeFormat);
    FTimePicker->setFont(font());
    FTimePicker->setPalette(palette());
    const int a = FTimePicker->fontMetrics().horizontalAdvance(FTimePicker->text().left(255)) + 31;
    const int b = 0;
    FTimePicker->setGeometry(width() - a - b - 34, 1, a, height() - b - 2);
    FTimePicker->show();
}

void TProDateTimePicker::SetLabelCaption(const QString& v)
{
    if (!FLabel) {
        FLabel = new QLabel(parentWidget());
        FLabel->setBuddy(this);
        FLabel->setFont(FLabelFont);
        FLabel->setEnabled(isEnabled() || FLabelAlwaysEnabled);
        FLabel->installEventFilter(this);
    }
    FLabel->setText(v);
    FLabel->adjustSize();
    UpdateLabel();
}

void TProDateTimePicker::SetLabelPosition(TLabelPosition v)
{
    FLabelPosition = v;
    UpdateLabel();
}

void TProDateTimePicker::SetLabelMargin(int v)
{
    FLabelMargin = v;
    UpdateLabel();
}

void TProDateTimePicker::SetLabelFont(const QFont& v)
{
    FLabelFont = v;
    UpdateLabel();
}

void TProDateTimePicker::SetLabelTransparent(bool v)
{
    FLabelTransparent = v;
    UpdateLabel();
}

void TProDateTimePicker::SetLabelAlwaysEnabled(bool v)
{
    FLabelAlwaysEnabled = v;
    if (v && FLabel) FLabel->setEnabled(true);
    update();
}

void TProDateTimePicker::UpdateLabel()
{
    if (!FLabel) return;
    if (FLabel->parentWidget() != parentWidget()) FLabel->setParent(parentWidget());
    FLabel->setAutoFillBackground(!FLabelTransparent);
    // a picker without a font of its own lends the label its font; FocusLabel makes it bold while
    // the picker has the focus
    QFont f = testAttribute(Qt::WA_SetFont) ? FLabelFont : font();
    if (FocusLabel && hasFocus()) f.setBold(true);
    if (f != FLabel->font()) {
        FLabel->setFont(f);
        FLabel->adjustSize();
    }
    const int L = x(), T = y(), W = width(), H = height();
    const int lw = FLabel->width(), lh = FLabel->height(), m = FLabelMargin;
    const int tw = FLabel->fontMetrics().horizontalAdvance(FLabel->text());
    const int centreTop = lh < H ? T + (H - lh) / 2 : T - (lh - H) / 2;
    const int centreLeft = W > lw ? L + (W - lw) / 2 : L - (lw - W) / 2;
    int top = T, left = L;
    switch (FLabelPosition) {
    case lpLeftTop: top = T; left = L - tw - m; break;
    case lpLeftCenter: top = centreTop; left = L - tw - m; break;
    case lpLeftBottom: top = T + H - lh; left = L - tw - m; break;
    case lpTopLeft: top = T - lh - m; left = L; break;
    case lpBottomLeft: top = T + H + m; left = L; break;
    case lpLeftTopLeft: top = T; left = L - m; break;
    case lpLeftCenterLeft: top = centreTop; left = L - m; break;
    case lpLeftBottomLeft: top = T + H - lh; left = L - m; break;
    case lpTopCenter: top = T - lh - m; left = centreLeft; break;
    case lpBottomCenter: top = T + H + m; left = centreLeft; break;
    case lpRightTop: top = T; left = L + W + m; break;
    case lpRightCenter: top = centreTop; left = L + W + m; break;
    case lpRighBottom: top = T + H - lh; left = L + W + m; break;
    case lpTopRight: case lpBottomRight: break;   // positions of the drop-down edits only
    }
    FLabel->move(left, top);
    FLabel->setVisible(isVisible());
}

void TProDateTimePicker::resizeEvent(QResizeEvent* e)
{
    TCustomDateTimePicker::resizeEvent(e);
    UpdateTimePicker();
    UpdateLabel();
}

void TProDateTimePicker::moveEvent(QMoveEvent* e)
{
    TCustomDateTimePicker::moveEvent(e);
    UpdateLabel();
}

void TProDateTimePicker::showEvent(QShowEvent* e)
{
    TCustomDateTimePicker::showEvent(e);
    UpdateTimePicker();
    if (FLabel) FLabel->show();
}

void TProDateTimePicker::hideEvent(QHideEvent* e)
{
    TCustomDateTimePicker::hideEvent(e);
    if (FLabel) FLabel->hide();
}

void TProDateTimePicker::changeEvent(QEvent* e)
{
    TCustomDateTimePicker::changeEvent(e);
    if (e->type() == QEvent::EnabledChange) {
        if (FTimePicker) FTimePicker->setEnabled(isEnabled() && (Checked() || !ShowCheckbox()));
        if (FLabel && !FLabelAlwaysEnabled) FLabel->setEnabled(isEnabled());
    }
    if (e->type() == QEvent::FontChange) UpdateLabel();
}

void TProDateTimePicker::focusInEvent(QFocusEvent* e)
{
    TCustomDateTimePicker::focusInEvent(e);
    if (FocusLabel) UpdateLabel();
}

void TProDateTimePicker::focusOutEvent(QFocusEvent* e)
{
    TCustomDateTimePicker::focusOutEvent(e);
    if (FocusLabel) UpdateLabel();
}

bool TProDateTimePicker::eventFilter(QObject* o, QEvent* e)
{
    const bool release = e->type() == QEvent::MouseButtonRelease, dbl = e->type() == QEvent::MouseButtonDblClick;
    // mouse events only: the label may be half destroyed when others come
    if ((release || dbl) && o == FLabel.data() && static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) {
        if (release && OnLabelClick) OnLabelClick(this);
        if (dbl && OnLabelDblClick) OnLabelDblClick(this);
    }
    return TCustomDateTimePicker::eventFilter(o, e);
}
