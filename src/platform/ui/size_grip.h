#pragma once
// Sizing a top-level window by dragging its bottom-right corner: a press starts it, moves
// resize the window by the distance the mouse went, within the window's minimum size.
#include <QPoint>
#include <QSize>

class QWidget;

class TSizeGrip {
public:
    explicit TSizeGrip(QWidget* AWindow) : FWindow(AWindow) {}
    bool Sizing() const { return FSizing; }
    void Begin(const QPoint& GlobalPos);
    void Move(const QPoint& GlobalPos);
    void End() { FSizing = false; }

private:
    QWidget* FWindow;
    bool FSizing = false;
    QPoint FStart;
    QSize FStartSize;
};
