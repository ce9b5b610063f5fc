#pragma once
// The program's hint: one small window at a time that shows a control's hint text.  A
// control is asked first with CM_HINTSHOW (lParam: the THintInfo below), may change the
// text, the place and the window class there, or answer non-zero to show nothing.
#include "platform/ui/canvas.h"
#include "platform/ui/graphics.h"

#include <QString>
#include <QWidget>
#include <functional>

class THintWindow;

// Makes the window a hint is shown in; empty means THintWindow.
using THintWindowClass = std::function<THintWindow*()>;

struct THintInfo {
    QWidget* HintControl = nullptr;
    THintWindowClass HintWindowClass;
    TPoint HintPos;             // screen position of the hint's top-left corner
    int HintMaxWidth = 300;
    TColor HintColor = clInfoBk;
    TRect CursorRect;           // client area of the control in which the hint stays
    TPoint CursorPos;           // client position of the mouse
    int ReshowTimeout = 0;
    int HideTimeout = 2500;     // ms; 0 keeps it until cancelled
    QString HintStr;
    void* HintData = nullptr;
};

class THintWindow : public QWidget {
public:
    THintWindow();
    TColor Color() const { return FColor; }
    void SetColor(TColor c);
    QString Caption() const { return FCaption; }
    TCanvas* Canvas() { return &FCanvas; }

    // The size the text needs, within maxWidth.
    virtual TRect CalcHintRect(int maxWidth, const QString& hint, void* data);
    // Shows the hint over the screen rectangle, without taking the focus.
    virtual void ActivateHint(const TRect& rect, const QString& hint);
    virtual void ActivateHintData(const TRect& rect, const QString& hint, void* data);
    void ReleaseHandle() { hide(); }

protected:
    virtual void Paint();
    void paintEvent(QPaintEvent* e) override;

private:
    TColor FColor = clInfoBk;
    QString FCaption;
    TCanvas FCanvas;
};

// Asks info.HintControl with CM_HINTSHOW through `ask`, then shows the hint unless the
// control refused it or left no text.  Returns whether a hint is shown.
bool ShowControlHint(THintInfo& info, const std::function<intptr_t(THintInfo&)>& ask);
// The window class of hints whose control names none (the application's hint window class).
void SetApplicationHintWindowClass(THintWindowClass AClass);
// Takes down the hint that shows (the application's CancelHint).
void CancelHint();
// Takes down the hint that shows for `control`, if any.
void CancelHintOf(QWidget* control);
// The hint window that shows now, or nullptr.
THintWindow* ShownHintWindow();
// Called as the mouse moves over a control: leaving the hint's cursor rectangle (or the
// control) takes the hint down.
void HintMouseMoved(QWidget* control, const TPoint& clientPos);
