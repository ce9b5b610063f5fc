#include "shell/shell_look.h"

#include "shell/TLbButton.h"
#include "shell/state/shared_state.h"

#include <QFrame>
#include <QLabel>
#include <QResizeEvent>

namespace {
// Keeps a panel across its form's width (and at its bottom) when the form is resized.
class PanelKeeper : public QObject {
public:
    PanelKeeper(QWidget* form, QFrame* panel, bool bottom) : QObject(panel), FPanel(panel), FBottom(bottom)
    {
        form->installEventFilter(this);
        Fit(form->size());
    }
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Resize) Fit(static_cast<QResizeEvent*>(e)->size());
        return false;
    }

private:
    void Fit(const QSize& s)
    {
        const int h = FPanel->height();
        FPanel->setGeometry(0, FBottom ? s.height() - h : 0, s.width(), h);
    }
    QFrame* FPanel;
    bool FBottom;
};
}  // namespace

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

TTitlePanel Make_Title_Panel(QWidget* form)
{
    TTitlePanel t;
    t.P_Title = new QFrame(form);
    t.P_Title->setObjectName(QStringLiteral("P_Title"));
    t.P_Title->resize(form->width(), 69);
    Apply_Window_Colour(t.P_Title, clWhite);
    new PanelKeeper(form, t.P_Title, false);
    QPalette grey = form->palette();
    grey.setColor(QPalette::WindowText, ColorToQColor(clGray));
    t.L_SW_Code = new QLabel(t.P_Title);
    t.L_SW_Code->setObjectName(QStringLiteral("L_SW_Code"));
    QFont big = form->font();
    big.setPointSize(24);
    t.L_SW_Code->setFont(big);
    t.L_SW_Code->setPalette(grey);
    t.L_SW_Code->move(16, 4);
    Set_Label(t.L_SW_Code, SW_Code);
    t.L_SW_Desc = new QLabel(t.P_Title);
    t.L_SW_Desc->setObjectName(QStringLiteral("L_SW_Desc"));
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
    new PanelKeeper(form, p, true);
    return p;
}

void Set_Label(QLabel* l, const QString& text)
{
    l->setText(text);
    l->adjustSize();
}
