#pragma once
// The flat combo box: a combo box with an optional flat look, its own border and button
// painting in custom colours, focus colours and an attached label.
#include "grid/controls/label_position.h"
#include "platform/ui/graphics.h"

#include <QComboBox>
#include <QFont>
#include <functional>

class QLabel;


class TPsgCustomCombo : public QComboBox {
public:
    explicit TPsgCustomCombo(QWidget* AOwner = nullptr);
    ~TPsgCustomCombo() override;

    virtual void Loaded();
    void Init() { FNormalColor = FColor; }
    // Selects the item equal to AString (letter case ignored); unchanged when it is none.
    void SelectItem(const QString& AString);
    virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    // The index of the first item equal to S without regard to letter case, -1 when none.
    int IndexOfItem(const QString& S) const;
    int ItemIndex() const { return currentIndex(); }
    void SetItemIndex(int i) { setCurrentIndex(i); }

    TColor Color() const { return FColor; }
    void SetColor(TColor c);
    int ButtonWidth() const { return FButtonWidth; }
    void SetButtonWidth(int v);
    bool Flat() const { return FFlat; }
    void SetFlat(bool v);
    bool Etched() const { return FEtched; }
    void SetEtched(bool v) { FEtched = v; update(); }
    TColor FlatLineColor() const { return FFlatLineColor; }
    void SetFlatLineColor(TColor v) { FFlatLineColor = v; update(); }
    bool FlatParentColor() const { return FFlatParentColor; }
    void SetFlatParentColor(bool v) { FFlatParentColor = v; update(); }
    int DropWidth() const { return FDropWidth; }
    void SetDropWidth(int v);
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor v) { if (v != FBorderColor) { FBorderColor = v; update(); } }
    TColor FocusColor() const { return FFocusColor; }
    void SetFocusColor(TColor v) { FFocusColor = v; }
    TColor FocusBorderColor() const { return FFocusBorderColor; }
    void SetFocusBorderColor(TColor v) { FFocusBorderColor = v; update(); }
    bool FocusBorder() const { return FFocusBorder; }
    void SetFocusBorder(bool v) { FFocusBorder = v; }
    bool AutoFocus() const { return FAutoFocus; }
    void SetAutoFocus(bool v) { FAutoFocus = v; }
    bool DisabledBorder() const { return FDisabledBorder; }
    void SetDisabledBorder(bool v) { FDisabledBorder = v; update(); }
    bool FocusLabel() const { return FFocusLabel; }
    void SetFocusLabel(bool v) { FFocusLabel = v; }
    TColor ButtonColor() const { return FButtonColor; }
    void SetButtonColor(TColor v) { FButtonColor = v; update(); }
    TColor ButtonColorHot() const { return FButtonColorHot; }
    void SetButtonColorHot(TColor v) { FButtonColorHot = v; }
    TColor ButtonColorDown() const { return FButtonColorDown; }
    void SetButtonColorDown(TColor v) { FButtonColorDown = v; }
    TColor ButtonBorderColor() const { return FButtonBorderColor; }
    void SetButtonBorderColor(TColor v) { FButtonBorderColor = v; }
    TColor ButtonTextColor() const { return FButtonTextColor; }
    void SetButtonTextColor(TColor v) { FButtonTextColor = v; }
    TColor ButtonTextColorDown() const { return FButtonTextColorDown; }
    void SetButtonTextColorDown(TColor v) { FButtonTextColorDown = v; }

    // The attached label, made when a caption is first set.
    QLabel* Label() const { return FLabel; }
    QString LabelCaption() const;
    void SetLabelCaption(const QString& s);
    TLabelPosition LabelPosition() const { return FLabelPosition; }
    void SetLabelPosition(TLabelPosition v) { FLabelPosition = v; UpdateLabel(); }
    int LabelMargin() const { return FLabelMargin; }
    void SetLabelMargin(int v) { FLabelMargin = v; UpdateLabel(); }
    bool LabelTransparent() const { return FLabelTransparent; }
    void SetLabelTransparent(bool v) { FLabelTransparent = v; UpdateLabel(); }
    bool LabelAlwaysEnabled() const { return FLabelAlwaysEnabled; }
    void SetLabelAlwaysEnabled(bool v);
    QFont LabelFont() const { return FLabelFont; }
    void SetLabelFont(const QFont& f) { FLabelFont = f; UpdateLabel(); }
    void UpdateLabel();

    std::function<void(QObject* Sender)> OnDropUp;

    bool FIsWinXP = false;
    bool FIsVista = false;
    bool FIsThemed = false;
    bool FIsComCtl6 = false;

    void showPopup() override;
    void hidePopup() override;

protected:
    void paintEvent(QPaintEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void changeEvent(QEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    bool CustomPainting() const;
    bool IsFocusFramed() const;
    void ApplyColor();

    bool FHasFocus = false;
    bool FMouseInControl = false;
    bool FButtonHover = false;

private:
    bool FAutoFocus = false;
    bool FFlat = false;
    bool FEtched = false;
    TColor FColor = clWindow;
    TColor FOldColor = clWindow;
    TColor FLoadedColor = clWindow;
    int FButtonWidth;
    bool FFocusBorder = false;
    int FDropWidth = 0;
    bool FLabelAlwaysEnabled = false;
    bool FLabelTransparent = false;
    int FLabelMargin = 4;
    QFont FLabelFont;
    TLabelPosition FLabelPosition = lpLeftTop;
    QLabel* FLabel = nullptr;
    TColor FFlatLineColor = clNone;
    bool FFlatParentColor = true;
    TColor FFocusColor = clNone;
    TColor FFocusBorderColor = clNone;
    TColor FBorderColor = clNone;
    bool FDisabledBorder = true;
    TColor FNormalColor = clNone;
    bool FFocusLabel = false;
    TColor FButtonColorDown = clNone, FButtonBorderColor = clNone, FButtonTextColor = clNone,
           FButtonTextColorHot = clNone, FButtonColor = clNone, FButtonColorHot = clNone,
           FButtonTextColorDown = clNone;
};

class TPsgComboBox : public TPsgCustomCombo {
public:
    using TPsgCustomCombo::TPsgCustomCombo;
};
