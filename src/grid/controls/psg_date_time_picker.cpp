#include "grid/controls/psg_date_time_picker.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

void PaintPickerLook(TDateTimePicker* Picker, const TPickerLook& Look, bool ButtonHot, bool ButtonDown)
{
    QPainter p(Picker);
    const QRect r = Picker->rect();
    const int bw = Picker->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2;
    if (Look.MetroStyle && Picker->calendarPopup() && Look.ButtonColor != clNone) {
        const QRect b(r.right() - bw + 2, r.top() + 1, bw - 2, r.height() - 2);
        const TColor fill = ButtonDown ? Look.ButtonColorDown : ButtonHot ? Look.ButtonColorHot : Look.ButtonColor;
        p.fillRect(b, ColorToQColor(fill == clNone ? Look.ButtonColor : fill));
        if (Look.ButtonBorderColor != clNone) {
            p.setPen(ColorToQColor(Look.ButtonBorderColor));
            p.drawLine(b.topLeft(), b.bottomLeft());
        }
        const TColor tc = ButtonDown && Look.ButtonTextColorDown != clNone ? Look.ButtonTextColorDown : Look.ButtonTextColor;
        const QColor arrow = tc == clNone ? QColor(Qt::black) : ColorToQColor(tc);
        p.setPen(arrow);
        p.setBrush(arrow);
        const QPoint o = b.topLeft() + QPoint(0, (b.height() - 17) / 2);
        p.drawPolygon(QPolygon({o + QPoint(5, 7), o + QPoint(11, 7), o + QPoint(8, 10)}));
    }
    if (!Look.MetroStyle || (Picker->isEnabled() && Look.BorderColor == clNone)) return;
    p.setBrush(Qt::NoBrush);
    if (Look.BorderColor != clNone && Picker->isEnabled()) {
        p.setPen(ColorToQColor(Look.BorderColor));
        p.drawRect(r.adjusted(0, 0, -1, -1));
    } else {
        p.setPen(ColorToQColor(0xB99D7F));
        p.drawRect(r.adjusted(0, 0, -1, -1));
    }
}

TPsgDateTimePicker::TPsgDateTimePicker(QWidget* AParent) : TDateTimePicker(AParent)
{
    setMouseTracking(true);
    setFrame(Look.BorderStyle != bsNone);
}

void TPsgDateTimePicker::SetBorderStyle(TBorderStyle v)
{
    if (v == Look.BorderStyle) return;
    Look.BorderStyle = v;
    setFrame(v != bsNone);
    update();
}

void TPsgDateTimePicker::paintEvent(QPaintEvent* e)
{
    TDateTimePicker::paintEvent(e);
    PaintPickerLook(this, Look, FButtonHover, FButtonHover && (QApplication::mouseButtons() & Qt::LeftButton));
}

void TPsgDateTimePicker::mouseMoveEvent(QMouseEvent* e)
{
    const int bw = style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2;
    const int x = int(e->position().x());
    const bool hover = x > width() - bw && x < width();
    if (hover != FButtonHover) {
        FButtonHover = hover;
        update();
    }
    TDateTimePicker::mouseMoveEvent(e);
}

void TPsgDateTimePicker::leaveEvent(QEvent* e)
{
    FButtonHover = false;
    update();
    TDateTimePicker::leaveEvent(e);
}
