#include "platform/ui/popup_window.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <chrono>

std::function<uint32_t()> TPopupWindow::TickCount = [] {
    using namespace std::chrono;
    return static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
};

TPopupWindow::TPopupWindow(QWidget* AParent) : QWidget(AParent, Qt::Popup | Qt::FramelessWindowHint)
{
    setAttribute(Qt::WA_Hover);
}

void TPopupWindow::HidePopup()
{
    if (!isVisible()) return;
    FHiding = true;
    hide();
    FHiding = false;
}

void TPopupWindow::Deactivate()
{
    if (BlockActivate || FHiding || !isVisible()) return;
    FDeActivateTime = TickCount();
    if (OnDeactivate) OnDeactivate();
    else HidePopup();
}

void TPopupWindow::closeEvent(QCloseEvent* e)
{
    // Qt closes a pop-up on a press outside it: that is a deactivation, ignored while blocked
    if (!FHiding && BlockActivate) {
        e->ignore();
        return;
    }
    if (!FHiding) Deactivate();
    e->accept();
}

void TPopupWindow::hideEvent(QHideEvent* e)
{
    QWidget::hideEvent(e);
    FWasActive = false;
    if (OnHide) OnHide();
}

void TPopupWindow::changeEvent(QEvent* e)
{
    QWidget::changeEvent(e);
    if (e->type() != QEvent::ActivationChange) return;
    if (isActiveWindow()) FWasActive = true;
    else if (FWasActive) Deactivate();
}

void TPopupWindow::keyPressEvent(QKeyEvent* e)
{
    if (OnKeyDown) OnKeyDown(e);
    if (e->isAccepted() && !e->text().isEmpty() && OnKeyPress) OnKeyPress(e);
}

void TPopupWindow::keyReleaseEvent(QKeyEvent* e)
{
    if (OnKeyUp) OnKeyUp(e);
}
