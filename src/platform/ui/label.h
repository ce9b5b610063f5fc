#pragma once
// A caption beside a control: a click focuses the control it names, and click and double
// click reach their events.  A transparent label shows its parent through.
#include <QLabel>
#include <functional>

class TLabel : public QLabel {
public:
    explicit TLabel(QWidget* AParent = nullptr);
    QWidget* FocusControl() const { return FFocusControl; }
    void SetFocusControl(QWidget* v) { FFocusControl = v; }
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool v);
    std::function<void(QObject* Sender)> OnClick, OnDblClick;

protected:
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    QWidget* FFocusControl = nullptr;
    bool FTransparent = false;
};
