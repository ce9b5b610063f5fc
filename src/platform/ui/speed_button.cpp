#include "platform/ui/speed_button.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionToolButton>

TSpeedButton::TSpeedButton(QWidget* AParent) : QWidget(AParent)
{
    setAttribute(Qt::WA_Hover);
    setFocusPolicy(Qt::NoFocus);
    resize(23, 22);
}

void TSpeedButton::SetGlyph(const TBitmap& v)
{
    FGlyph.Assign(v);
    update();
}

void TSpeedButton::SetCaption(const QString& v)
{
    if (FCaption == v) return;
    FCaption = v;
    update();
}

void TSpeedButton::Paint(TCanvas& Canvas)
{
    QStyleOptionToolButton opt;
    opt.initFrom(this);
    opt.state |= QStyle::State_AutoRaise;
    if (FState == sbDown || FState == sbExclusive) opt.state |= QStyle::State_Sunken;
    else opt.state |= QStyle::State_Raised;
    if (FMouseInControl && isEnabled()) opt.state |= QStyle::State_MouseOver;
    opt.text = FCaption;
    opt.toolButtonStyle = FGlyph.Width() > 0 ? Qt::ToolButtonTextBesideIcon : Qt::ToolButtonTextOnly;
    if (FGlyph.Width() > 0) {
        opt.icon = QIcon(QPixmap::fromImage(FGlyph.Image()));
        opt.iconSize = QSize(FGlyph.Width() / std::max(1, NumGlyphs), FGlyph.Height());
    }
    style()->drawComplexControl(QStyle::CC_ToolButton, &opt, Canvas.Painter(), this);
}

void TSpeedButton::paintEvent(QPaintEvent* e)
{
    QPainter p(this);
    TCanvas c;
    c.BeginPaint(&p, e->region());
    c.Font()->SetName(font().family());
    Paint(c);
    c.EndPaint();
}

void TSpeedButton::mousePressEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton && isEnabled()) {
        FState = sbDown;
        update();
    }
}

void TSpeedButton::mouseReleaseEvent(QMouseEvent* e)
{
    const bool wasDown = FState == sbDown;
    if (wasDown) {
        FState = sbUp;
        update();
    }
    if (!isEnabled()) return;
    if (OnMouseUp) OnMouseUp(this, e->button(), e->position().toPoint());
    if (wasDown && e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()) && OnClick) OnClick(this);
}

void TSpeedButton::enterEvent(QEnterEvent*)
{
    FMouseInControl = true;
    MouseEnter();
    update();
}

void TSpeedButton::leaveEvent(QEvent*)
{
    FMouseInControl = false;
    MouseLeave();
    update();
}

void TSpeedButton::changeEvent(QEvent* e)
{
    if (e->type() == QEvent::EnabledChange) {
        FState = isEnabled() ? sbUp : sbDisabled;
        update();
    }
    QWidget::changeEvent(e);
}
