#pragma once
// A borderless pop-up window (Qt::Popup): it closes itself on a mouse press outside it and
// when it loses activation.  Such a close is a deactivation: OnDeactivate runs (while the
// window is still visible) and the time is stamped; a hide the program asks for is not one.
// Keys pressed while it is open reach OnKeyDown, OnKeyPress and OnKeyUp.
#include <QWidget>
#include <cstdint>
#include <functional>

class QKeyEvent;

class TPopupWindow : public QWidget {
public:
    explicit TPopupWindow(QWidget* AParent = nullptr);

    // Milliseconds of a wrapping 32-bit tick count; tests replace it.
    static std::function<uint32_t()> TickCount;
    // The tick count of the last deactivation.
    uint32_t DeActivateTime() const { return FDeActivateTime; }
    // While set, activation changes are ignored.
    bool BlockActivate = false;
    // Hides the window without counting it as a deactivation.
    void HidePopup();
    // What a deactivation does; without it the window hides itself.
    std::function<void()> OnDeactivate;
    std::function<void()> OnHide;
    std::function<void(QKeyEvent*)> OnKeyDown, OnKeyPress, OnKeyUp;

protected:
    void Deactivate();
    void closeEvent(QCloseEvent* e) override;
    void hideEvent(QHideEvent* e) override;
    void changeEvent(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;

private:
    uint32_t FDeActivateTime = 0;
    bool FHiding = false;
    bool FWasActive = false;
};
