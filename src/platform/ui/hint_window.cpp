#include "platform/ui/hint_window.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <memory>

namespace {

struct THintState {
    std::unique_ptr<THintWindow> Window;
    QPointer<QWidget> Control;
    TRect CursorRect;
    QTimer HideTimer;
};

// Made with the first hint; lives to the end of the program, past the application object.
THintState* GState = nullptr;

THintState& State()
{
    if (!GState) {
        GState = new THintState;
        GState->HideTimer.setSingleShot(true);
        QObject::connect(&GState->HideTimer, &QTimer::timeout, [] { CancelHint(); });
    }
    return *GState;
}

}  // namespace

THintWindow::THintWindow() : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void THintWindow::SetColor(TColor c)
{
    FColor = c;
    update();
}

TRect THintWindow::CalcHintRect(int maxWidth, const QString& hint, void*)
{
    TRect r{0, 0, maxWidth, 0};
    FCanvas.DrawText(hint, r, DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    // room for the frame and a margin
    r.Right += 6;
    r.Bottom += 2;
    return r;
}

void THintWindow::ActivateHint(const TRect& rect, const QString& hint)
{
    FCaption = hint;
    QRect g = rect.ToQRect();
    // kept on the screen it starts on
    if (QScreen* s = QGuiApplication::screenAt(g.topLeft())) {
        const QRect area = s->availableGeometry();
        if (g.right() > area.right()) g.moveRight(area.right());
        if (g.bottom() > area.bottom()) g.moveBottom(area.bottom());
    }
    setGeometry(g);
    show();
    update();
}

void THintWindow::ActivateHintData(const TRect& rect, const QString& hint, void*)
{
    ActivateHint(rect, hint);
}

void THintWindow::Paint()
{
    TRect r{0, 0, width(), height()};
    FCanvas.Brush()->SetColor(FColor);
    FCanvas.FillRect(r);
    FCanvas.Font()->SetColor(clInfoText);
    FCanvas.Brush()->SetStyle(bsClear);
    TRect text{3, 1, width() - 3, height() - 1};
    FCanvas.DrawText(FCaption, text, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    FCanvas.Brush()->SetStyle(bsSolid);
    FCanvas.Pen()->SetColor(clBlack);
    FCanvas.FrameRect(r);
}

void THintWindow::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    FCanvas.BeginPaint(&p);
    Paint();
    FCanvas.EndPaint();
}

static THintWindowClass& ApplicationHintClass()
{
    static THintWindowClass c;
    return c;
}

void SetApplicationHintWindowClass(THintWindowClass AClass) { ApplicationHintClass() = std::move(AClass); }

bool ShowControlHint(THintInfo& info, const std::function<intptr_t(THintInfo&)>& ask)
{
    CancelHint();
    if (ask(info) != 0 || info.HintStr.isEmpty()) return false;
    THintState& st = State();
    const THintWindowClass& make = info.HintWindowClass ? info.HintWindowClass : ApplicationHintClass();
    st.Window.reset(make ? make() : new THintWindow);
    st.Control = info.HintControl;
    st.CursorRect = info.CursorRect;
    st.Window->SetColor(info.HintColor);
    TRect r = st.Window->CalcHintRect(info.HintMaxWidth, info.HintStr, info.HintData);
    OffsetRect(r, info.HintPos.X, info.HintPos.Y);
    st.Window->ActivateHintData(r, info.HintStr, info.HintData);
    if (info.HideTimeout > 0) st.HideTimer.start(info.HideTimeout);
    return true;
}

void CancelHint()
{
    if (!GState) return;
    THintState& st = *GState;
    st.HideTimer.stop();
    st.Control = nullptr;
    if (st.Window) st.Window->hide();
}

void CancelHintOf(QWidget* control)
{
    if (GState && GState->Control == control) CancelHint();
}

THintWindow* ShownHintWindow()
{
    if (!GState) return nullptr;
    THintState& st = *GState;
    return st.Window && st.Window->isVisible() ? st.Window.get() : nullptr;
}

void HintMouseMoved(QWidget* control, const TPoint& p)
{
    if (!ShownHintWindow() || GState->Control != control) return;
    if (!PtInRect(GState->CursorRect, p)) CancelHint();
}
