#include "platform/ui/label.h"

#include <QMouseEvent>

TLabel::TLabel(QWidget* AParent) : QLabel(AParent)
{
    setAutoFillBackground(true);
    setTextFormat(Qt::PlainText);
}

void TLabel::SetTransparent(bool v)
{
    FTransparent = v;
    setAutoFillBackground(!v);
    update();
}

void TLabel::mouseReleaseEvent(QMouseEvent* e)
{
    QLabel::mouseReleaseEvent(e);
    if (e->button() != Qt::LeftButton || !rect().contains(e->position().toPoint())) return;
    if (FFocusControl && FFocusControl->isEnabled()) FFocusControl->setFocus(Qt::MouseFocusReason);
    if (OnClick) OnClick(this);
}

void TLabel::mouseDoubleClickEvent(QMouseEvent* e)
{
    QLabel::mouseDoubleClickEvent(e);
    if (e->button() == Qt::LeftButton && OnDblClick) OnDblClick(this);
}
