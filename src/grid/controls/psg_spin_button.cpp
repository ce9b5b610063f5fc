// The spin edit's button pair.
#include "grid/controls/psg_spin_button.h"

#include <QKeyEvent>
#include <QMouseEvent>

TPsgSpinButton::TPsgSpinButton(QWidget* AParent) : QWidget(AParent)
{
    FUpButton = new TProTimerSpeedButton(this);
    FDownButton = new TProTimerSpeedButton(this);
    FUpButton->ButtonDirection = bdUp;
    FDownButton->ButtonDirection = bdDown;
    FFocusedButton = FUpButton;
    for (TProTimerSpeedButton* b : {FUpButton, FDownButton}) {
        b->OnClick = [this, b] { Clicked(b); };
        connect(b, &QAbstractButton::pressed, this, [this, b] { ButtonPressed(b); });
    }
    setFocusPolicy(Qt::NoFocus);
    resize(15, 25);
}

void TPsgSpinButton::Clicked(TProTimerSpeedButton* b)
{
    if (b == FUpButton) {
        if (OnUpClick) OnUpClick(this);
    } else if (OnDownClick) {
        OnDownClick(this);
    }
}

void TPsgSpinButton::ButtonPressed(TProTimerSpeedButton* b)
{
    FocusBtn(b);
    if (FocusControl && FocusControl->focusPolicy() & Qt::TabFocus && FocusControl->isEnabled() &&
        !FocusControl->hasFocus())
        FocusControl->setFocus(Qt::MouseFocusReason);
    else if (focusPolicy() & Qt::TabFocus && !hasFocus() && isEnabled())
        setFocus(Qt::MouseFocusReason);
}

void TPsgSpinButton::FocusBtn(TProTimerSpeedButton* b)
{
    if (!(focusPolicy() & Qt::TabFocus) || !isEnabled() || b == FFocusedButton) return;
    FFocusedButton->TimeBtnState &= ~tbFocusRect;
    FFocusedButton = b;
    if (hasFocus()) FFocusedButton->TimeBtnState |= tbFocusRect;
    FUpButton->update();
    FDownButton->update();
}

void TPsgSpinButton::SetDirection(TSpinDirection v)
{
    if (v == FDirection) return;
    FDirection = v;
    if (v == spHorizontal) {
        resize(20, height());
        FUpButton->ButtonDirection = bdRight;
        FDownButton->ButtonDirection = bdLeft;
    } else {
        resize(15, height());
        FUpButton->ButtonDirection = bdUp;
        FDownButton->ButtonDirection = bdDown;
    }
    AdjustSize();
}

void TPsgSpinButton::SetIsWinXP(bool v)
{
    FIsWinXP = v;
    FUpButton->IsWinXP = FDownButton->IsWinXP = v;
}

void TPsgSpinButton::SetFlat(bool v)
{
    FUpButton->Flat = FDownButton->Flat = v;
    update();
}

void TPsgSpinButton::SetTransparent(bool v)
{
    FUpButton->Transparent = FDownButton->Transparent = v;
    update();
}

void TPsgSpinButton::AdjustSize()
{
    const int w = width(), h = height();
    if (FDirection == spVertical) {
        const int uh = h / 2;
        FUpButton->setGeometry(0, 0, w, uh);
        FDownButton->setGeometry(0, uh - 1, w, h - uh + 1);
    } else {
        FDownButton->setGeometry(0, 0, w / 2, h);
        FUpButton->setGeometry(w / 2 + 1, 0, w / 2, h);
    }
}

void TPsgSpinButton::resizeEvent(QResizeEvent*)
{
    const int minW = FDirection == spVertical ? 15 : 20;
    if (width() < minW) {
        resize(minW, height());
        return;
    }
    AdjustSize();
}

void TPsgSpinButton::keyPressEvent(QKeyEvent* e)
{
    switch (e->key()) {
    case Qt::Key_Space: Clicked(FFocusedButton); break;
    case Qt::Key_Up: FocusBtn(FUpButton); Clicked(FUpButton); break;
    case Qt::Key_Down: FocusBtn(FDownButton); Clicked(FDownButton); break;
    default: QWidget::keyPressEvent(e); return;
    }
}

void TPsgSpinButton::focusInEvent(QFocusEvent* e)
{
    FFocusedButton->TimeBtnState |= tbFocusRect;
    FFocusedButton->update();
    QWidget::focusInEvent(e);
}

void TPsgSpinButton::focusOutEvent(QFocusEvent* e)
{
    FFocusedButton->TimeBtnState &= ~tbFocusRect;
    FFocusedButton->update();
    QWidget::focusOutEvent(e);
}
