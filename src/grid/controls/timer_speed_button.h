#pragma once
// A push button that repeats its click while held: the first repeat 400 ms after the press,
// then every 100 ms.  The repeat timer is a member the tests can fire by hand.
#include "platform/ui/graphics.h"

#include <QAbstractButton>
#include <QTimer>
#include <functional>

enum TButtonDirection { bdLeft, bdRight, bdUp, bdDown };
enum TTimeBtnStateItem { tbFocusRect = 1, tbAllowTimer = 2 };

class TPsgSpinButton;

class TProTimerSpeedButton : public QAbstractButton {
public:
    explicit TProTimerSpeedButton(QWidget* AParent);
    int TimeBtnState = tbAllowTimer;
    TButtonDirection ButtonDirection = bdUp;
    bool IsWinXP = false;
    bool Flat = false;
    bool Transparent = false;
    bool MouseInControl() const { return FMouseIn; }
    // The repeat timer, made on the first press.
    QTimer* RepeatTimer() const { return FRepeatTimer; }
    // What the repeat timer does when it fires: 100 ms from now on, and a click while the
    // button is still held.
    void TimerExpired();
    std::function<void()> OnClick;

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;
    QSize sizeHint() const override { return {15, 8}; }

private:
    TPsgSpinButton* Pair() const;
    QTimer* FRepeatTimer = nullptr;
    bool FMouseIn = false;
};
