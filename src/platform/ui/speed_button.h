#pragma once
// A flat tool button that paints itself: a glyph and a caption on the style's button face,
// hot while the mouse is over it, pressed while the left button is held on it.  Descendants
// replace the painting (Paint) and read the state.
#include "platform/ui/canvas.h"

#include <QWidget>
#include <functional>

enum TSpeedButtonState { sbUp, sbDisabled, sbDown, sbExclusive };

class TSpeedButton : public QWidget {
public:
    explicit TSpeedButton(QWidget* AParent = nullptr);

    TBitmap& Glyph() { return FGlyph; }
    void SetGlyph(const TBitmap& v);
    int NumGlyphs = 1;
    QString Caption() const { return FCaption; }
    void SetCaption(const QString& v);
    TSpeedButtonState State() const { return FState; }
    bool MouseInControl() const { return FMouseInControl; }

    // The left button released over the button (before OnClick); OnClick follows when it was
    // released inside.
    std::function<void(QWidget* Sender, Qt::MouseButton Button, const QPoint& At)> OnMouseUp;
    std::function<void(QWidget* Sender)> OnClick;

protected:
    // The style's tool-button face with the glyph left of the caption.
    virtual void Paint(TCanvas& Canvas);
    virtual void MouseEnter() {}
    virtual void MouseLeave() {}
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void changeEvent(QEvent* e) override;

    TBitmap FGlyph;
    QString FCaption;
    TSpeedButtonState FState = sbUp;
    bool FMouseInControl = false;
};
