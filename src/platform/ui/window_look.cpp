#include "platform/ui/window_look.h"

#include "platform/ui/lb_button.h"

#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QResizeEvent>

namespace {
// Calls its fitting function with the form's size now and on every resize of the form.
class SizeFollower : public QObject {
public:
    SizeFollower(QWidget* form, QObject* owner, std::function<void(const QSize&)> fit)
        : QObject(owner), FFit(std::move(fit))
    {
        form->installEventFilter(this);
        FFit(form->size());
    }
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Resize) FFit(static_cast<QResizeEvent*>(e)->size());
        return false;
    }

private:
    std::function<void(const QSize&)> FFit;
};

// Keeps a panel across its form's width (and at its bottom) when the form is resized.
void Keep_Panel(QWidget* form, QFrame* panel, bool bottom)
{
    Follow_Form_Size(form, panel, [panel, bottom](const QSize& s) {
        const int h = panel->height();
        panel->setGeometry(0, bottom ? s.height() - h : 0, s.width(), h);
    });
}
}  // namespace

void Follow_Form_Size(QWidget* form, QObject* owner, std::function<void(const QSize&)> fit)
{
    new SizeFollower(form, owner, std::move(fit));
}

void Apply_Window_Colour(QWidget* w, TColor colour)
{
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, ColorToQColor(colour));
    w->setPalette(pal);
    w->setAutoFillBackground(true);
}

void Apply_Button_Look(TLbButton* b)
{
    b->SetColor(Window_Colour);
    b->SetLightColor(clGray);
    b->SetColorWhenDown(0x0080FF);
    b->SetHotTrackColor(clYellow);
    b->SetNumGlyphs(1);
}

TLbButton* Make_Button(QWidget* parent, const char* name, int left, int top, int width, int height)
{
    auto* b = new TLbButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(left, top, width, height);
    Apply_Button_Look(b);
    b->SetStyle(bsEncarta);
    return b;
}

QImage Shell_Glyph(char kind)
{
    const QColor key(0x80, 0x80, 0x00);
    QImage img(16, 16, QImage::Format_RGB32);
    img.fill(key);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    switch (kind) {
    case 'o':
        p.setPen(QPen(QColor(0, 140, 0), 2.5));
        p.drawPolyline(QPolygonF({QPointF(3, 8), QPointF(6.5, 12), QPointF(13, 4)}));
        break;
    case 'c':
        p.setPen(QPen(QColor(200, 0, 0), 2.5));
        p.drawLine(QPointF(4, 4), QPointF(12, 12));
        p.drawLine(QPointF(12, 4), QPointF(4, 12));
        break;
    case '>':
    case '<': {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(30, 80, 150));
        const bool right = kind == '>';
        p.drawPolygon(QPolygonF({QPointF(right ? 5 : 11, 3), QPointF(right ? 12 : 4, 8), QPointF(right ? 5 : 11, 13)}));
        break;
    }
    case 'u':
        p.setPen(QPen(QColor(30, 80, 150), 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(2.5, 2.5, 11, 11));
        p.drawEllipse(QRectF(5.5, 2.5, 5, 11));
        p.drawLine(QPointF(2.5, 8), QPointF(13.5, 8));
        break;
    default:
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(30, 80, 150));
        p.drawEllipse(QRectF(4, 4, 8, 8));
        break;
    }
    p.end();
    img.setPixel(0, 15, key.rgb());
    return img;
}

TTitlePanel Make_Title_Panel(QWidget* form, const QString& swCode)
{
    TTitlePanel t;
    t.P_Title = new QFrame(form);
    t.P_Title->setObjectName(QStringLiteral("P_Title"));
    t.P_Title->resize(form->width(), 69);
    Apply_Window_Colour(t.P_Title, clWhite);
    Keep_Panel(form, t.P_Title, false);
    QPalette grey = form->palette();
    grey.setColor(QPalette::WindowText, ColorToQColor(clGray));
    t.L_SW_Code = New_Label(t.P_Title, "L_SW_Code");
    QFont big = form->font();
    big.setPointSize(24);
    t.L_SW_Code->setFont(big);
    t.L_SW_Code->setPalette(grey);
    t.L_SW_Code->move(16, 4);
    Set_Label(t.L_SW_Code, swCode);
    t.L_SW_Desc = New_Label(t.P_Title, "L_SW_Desc");
    QFont bold = form->font();
    bold.setBold(true);
    t.L_SW_Desc->setFont(bold);
    t.L_SW_Desc->setPalette(grey);
    t.L_SW_Desc->move(16, 46);
    return t;
}

QFrame* Make_Button_Panel(QWidget* form)
{
    auto* p = new QFrame(form);
    p->setObjectName(QStringLiteral("P_Button"));
    p->resize(form->width(), 40);
    Keep_Panel(form, p, true);
    return p;
}

QLabel* New_Label(QWidget* parent, const char* name)
{
    auto* l = new QLabel(parent);
    if (name) l->setObjectName(QLatin1String(name));
    l->setTextFormat(Qt::PlainText);
    return l;
}

void Set_Label(QLabel* l, const QString& text)
{
    l->setText(text);
    l->adjustSize();
}
