#pragma once
// The up/down button pair of a spin edit: two auto-repeating buttons stacked or side by side.
#include "grid/controls/timer_speed_button.h"

#include <QWidget>
#include <functional>

enum TSpinDirection { spVertical, spHorizontal };

class TPsgSpinButton : public QWidget {
public:
    explicit TPsgSpinButton(QWidget* AParent);
    TProTimerSpeedButton* UpButton() const { return FUpButton; }
    TProTimerSpeedButton* DownButton() const { return FDownButton; }
    QWidget* FocusControl = nullptr;
    std::function<void(QObject* Sender)> OnUpClick;
    std::function<void(QObject* Sender)> OnDownClick;
    TSpinDirection Direction() const { return FDirection; }
    void SetDirection(TSpinDirection v);
    bool IsWinXP() const { return FIsWinXP; }
    void SetIsWinXP(bool v);
    void SetFlat(bool v);
    void SetTransparent(bool v);
    // Fills of the buttons; clNone leaves the platform's look.
    TColor ButtonColor = clNone, ButtonColorHot = clNone, ButtonColorDown = clNone;
    TColor ButtonTextColor = clNone, ButtonTextColorHot = clNone, ButtonTextColorDown = clNone;
    TColor ButtonBorderColor = 0;
    // Moves the focus mark to a button.
    void FocusBtn(TProTimerSpeedButton* b);
    TProTimerSpeedButton* FocusedButton() const { return FFocusedButton; }
    void ButtonPressed(TProTimerSpeedButton* b);

protected:
    void resizeEvent(QResizeEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    void AdjustSize();
    void Clicked(TProTimerSpeedButton* b);
    TProTimerSpeedButton* FUpButton;
    TProTimerSpeedButton* FDownButton;
    TProTimerSpeedButton* FFocusedButton;
    TSpinDirection FDirection = spVertical;
    bool FIsWinXP = false;
};
