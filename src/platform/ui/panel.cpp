#include "platform/ui/panel.h"

#include <QPaintEvent>
#include <QPainter>

TCustomPanel::TCustomPanel(QWidget* AParent) : QWidget(AParent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TCustomPanel::SetColor(TColor v)
{
    if (FColor == v) return;
    FColor = v;
    update();
}

void TCustomPanel::Paint(TCanvas& Canvas)
{
    if (FColor == clNone) return;
    Canvas.Brush()->SetColor(FColor);
    Canvas.FillRect({0, 0, width(), height()});
}

void TCustomPanel::paintEvent(QPaintEvent* e)
{
    QPainter p(this);
    TCanvas c;
    c.BeginPaint(&p, e->region());
    Paint(c);
    c.EndPaint();
}
