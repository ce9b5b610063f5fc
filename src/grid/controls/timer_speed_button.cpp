// Auto-repeating button of the spin button pair.
#include "grid/controls/timer_speed_button.h"
#include "grid/controls/psg_spin_button.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>
#include <QStyleOption>

TProTimerSpeedButton::TProTimerSpeedButton(QWidget* AParent) : QAbstractButton(AParent)
{
    setFocusPolicy(Qt::NoFocus);
    connect(this, &QAbstractButton::clicked, this, [this] {
        if (OnClick) OnClick();
    });
}

TPsgSpinButton* TProTimerSpeedButton::Pair() const { return dynamic_cast<TPsgSpinButton*>(parentWidget()); }

void TProTimerSpeedButton::mousePressEvent(QMouseEvent* e)
{
    QAbstractButton::mousePressEvent(e);
    if (e->button() == Qt::LeftButton && (TimeBtnState & tbAllowTimer)) {
        if (!FRepeatTimer) {
            FRepeatTimer = new QTimer(this);
            connect(FRepeatTimer, &QTimer::timeout, this, [this] { TimerExpired(); });
        }
        FRepeatTimer->start(400);
    }
    if (parentWidget()) parentWidget()->update();
}

void TProTimerSpeedButton::mouseReleaseEvent(QMouseEvent* e)
{
    QAbstractButton::mouseReleaseEvent(e);
    if (FRepeatTimer) FRepeatTimer->stop();
    if (parentWidget()) parentWidget()->update();
}

void TProTimerSpeedButton::TimerExpired()
{
    if (FRepeatTimer) FRepeatTimer->setInterval(100);
    if (!isDown()) return;
    try {
        if (OnClick) OnClick();
    } catch (...) {
        if (FRepeatTimer) FRepeatTimer->stop();
        throw;
    }
}

void TProTimerSpeedButton::enterEvent(QEnterEvent* e)
{
    FMouseIn = true;
    update();
    QAbstractButton::enterEvent(e);
}

void TProTimerSpeedButton::leaveEvent(QEvent* e)
{
    FMouseIn = false;
    update();
    QAbstractButton::leaveEvent(e);
}

void TProTimerSpeedButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRect r = rect();
    const TPsgSpinButton* pair = Pair();
    if (pair && pair->ButtonColor != clNone) {
        const TColor c = isDown() ? pair->ButtonColorDown : FMouseIn ? pair->ButtonColorHot : pair->ButtonColor;
        p.fillRect(r, ColorToQColor(c));
        p.setPen(ColorToQColor(c));
        p.drawRect(r.adjusted(0, 0, -1, -1));
        QPolygon tri;
        switch (ButtonDirection) {
        case bdLeft: tri << QPoint(5, 5) << QPoint(3, 7) << QPoint(5, 9); break;
        case bdRight: tri << QPoint(3, 5) << QPoint(5, 7) << QPoint(3, 9); break;
        case bdUp: tri << QPoint(4, 4) << QPoint(8, 4) << QPoint(6, 2); break;
        case bdDown: tri << QPoint(4, 2) << QPoint(8, 2) << QPoint(6, 4); break;
        }
        tri.translate(r.topLeft());
        p.setPen(Qt::black);
        p.setBrush(Qt::black);
        p.drawPolygon(tri);
        return;
    }
    // the platform's button face with its arrow
    QStyleOptionButton bo;
    bo.initFrom(this);
    bo.rect = r;
    bo.state |= isDown() ? QStyle::State_Sunken : QStyle::State_Raised;
    if (Flat) bo.features |= QStyleOptionButton::Flat;
    if (!Transparent) style()->drawControl(QStyle::CE_PushButtonBevel, &bo, &p, this);
    QStyleOption ao;
    ao.initFrom(this);
    ao.rect = r.adjusted(2, 1, -2, -1);
    const QStyle::PrimitiveElement pe = ButtonDirection == bdUp     ? QStyle::PE_IndicatorArrowUp
                                        : ButtonDirection == bdDown ? QStyle::PE_IndicatorArrowDown
                                        : ButtonDirection == bdLeft ? QStyle::PE_IndicatorArrowLeft
                                                                    : QStyle::PE_IndicatorArrowRight;
    style()->drawPrimitive(pe, &ao, &p, this);
}
