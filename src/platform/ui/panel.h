#pragma once
// A custom-drawn control that can hold children: it paints its background in Color and
// hands the rest of the painting to Paint on a canvas.
#include "platform/ui/canvas.h"

#include <QWidget>

class TCustomPanel : public QWidget {
public:
    explicit TCustomPanel(QWidget* AParent = nullptr);
    TColor Color() const { return FColor; }
    void SetColor(TColor v);

protected:
    // Called with the canvas of the paint under way; the default fills the client area.
    virtual void Paint(TCanvas& Canvas);
    void paintEvent(QPaintEvent* e) override;

    TColor FColor = clBtnFace;
};
