#pragma once
// The buttons of the drop-down family: the arrow button at the right edge of a drop-down
// edit (a holder around a speed button that paints a combo-box arrow or a push button), and
// the custom-drawn push buttons of the pop-up form's header and footer, coloured by a shared
// button appearance.
#include "grid/base/grid_controls.h"
#include "grid/controls/dropdown_styles.h"
#include "platform/ui/speed_button.h"

#include <QWidget>
#include <functional>

class TCustomImageList;
class TProCustomDropDown;
class TDropDownEditButton;

enum TButtonStyle { bsButton, bsDropDown };

// The speed button inside the drop-down button.
class TProDropDownSpeedButton : public TSpeedButton {
public:
    explicit TProDropDownSpeedButton(TDropDownEditButton* AHolder);
    TButtonStyle ButtonStyle() const { return FButtonStyle; }
    void SetButtonStyle(TButtonStyle v);
    bool Etched() const { return FEtched; }
    void SetEtched(bool v);
    bool Focused() const { return FFocused; }
    void SetFocused(bool v);
    // The button never paints pressed.
    void SetUp() { FUp = true; }
    // Themed painting through the Qt style (on by default, like a themed system).
    bool IsWinXP = true;
    bool Hot() const { return FMouseInControl; }
    bool Pressed() const { return (FState == sbDown || FState == sbExclusive) && !FUp; }

protected:
    void Paint(TCanvas& Canvas) override;

private:
    void PaintDropDown(TCanvas& Canvas);
    void PaintButton(TCanvas& Canvas);
    TDropDownEditButton* FHolder;
    TButtonStyle FButtonStyle = bsButton;
    bool FEtched = false, FFocused = false, FUp = false;
};

// The drop-down button: a holder as wide as the button width, the speed button filling it.
class TDropDownEditButton : public QWidget {
public:
    explicit TDropDownEditButton(QWidget* AParent);
    TProDropDownSpeedButton* Button() const { return FButton; }
    // The drop-down edit the button belongs to.
    TProCustomDropDown* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TProCustomDropDown* v) { FFocusControl = v; }
    int ButtonWidth() const { return FBWidth; }
    void SetButtonWidth(int v);
    TBitmap& Glyph() { return FButton->Glyph(); }
    void SetGlyph(const TBitmap& v) { FButton->SetGlyph(v); }
    int NumGlyphs() const { return FButton->NumGlyphs; }
    void SetNumGlyphs(int v) { FButton->NumGlyphs = v; }
    QString ButtonCaption() const { return FButton->Caption(); }
    void SetButtonCaption(const QString& v) { FButton->SetCaption(v); }
    // Colour tones: with ButtonColor set the arrow button is drawn flat in these colours.
    TColor ButtonColor = clNone, ButtonColorHot = clNone, ButtonColorDown = clNone;
    TColor ButtonTextColor = clNone, ButtonTextColorHot = clNone, ButtonTextColorDown = clNone;
    TColor ButtonBorderColor = clNone;
    // Fired when the left button is released on the speed button.
    std::function<void(QObject* Sender)> OnClick;

protected:
    void resizeEvent(QResizeEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    TProDropDownSpeedButton* FButton;
    TProCustomDropDown* FFocusControl = nullptr;
    int FBWidth = 16;
};

// Colours per state of the header and footer push buttons.
class TProButtonAppearance {
public:
    TProButtonAppearance();
    void Assign(const TProButtonAppearance& Source);
    // Copies the colours a component style sets.
    void AssignColors(const TDropDownButtonColors& c);

#define PRO_APPEARANCE_COLOR(Name)                                                                                     \
    TColor Name() const { return F##Name; }                                                                            \
    void Set##Name(TColor v)                                                                                           \
    {                                                                                                                  \
        if (F##Name == v) return;                                                                                      \
        F##Name = v;                                                                                                   \
        Changed();                                                                                                     \
    }
    PRO_APPEARANCE_COLOR(Color)
    PRO_APPEARANCE_COLOR(ColorTo)
    PRO_APPEARANCE_COLOR(BorderColor)
    PRO_APPEARANCE_COLOR(ColorHot)
    PRO_APPEARANCE_COLOR(ColorHotTo)
    PRO_APPEARANCE_COLOR(BorderColorHot)
    PRO_APPEARANCE_COLOR(ColorDown)
    PRO_APPEARANCE_COLOR(ColorDownTo)
    PRO_APPEARANCE_COLOR(BorderColorDown)
    PRO_APPEARANCE_COLOR(ColorDisabled)
    PRO_APPEARANCE_COLOR(ColorDisabledTo)
    PRO_APPEARANCE_COLOR(BorderColorDisabled)
    PRO_APPEARANCE_COLOR(ColorChecked)
    PRO_APPEARANCE_COLOR(ColorCheckedTo)
    PRO_APPEARANCE_COLOR(BorderColorChecked)
#undef PRO_APPEARANCE_COLOR
    TGradientDirection Gradient() const { return FGradient; }
    void SetGradient(TGradientDirection v);
    TFont& Font() { return FFont; }
    const TFont& Font() const { return FFont; }
    void SetFont(const TFont& v) { FFont.Assign(v); }
    std::function<void()> OnChange;

private:
    void Changed()
    {
        if (OnChange) OnChange();
    }
    TColor FColor = clNone, FColorTo = clNone, FBorderColor = clNone;
    TColor FColorHot = 0xF5F0E1, FColorHotTo = 0xF9D2B2, FBorderColorHot = 0x808080;
    TColor FColorDown = 0xF5D8CA, FColorDownTo = 0xF9BDA0, FBorderColorDown = 0x800000;
    TColor FColorDisabled = 0xF2F2F2, FColorDisabledTo = clNone, FBorderColorDisabled = 0x808080;
    TColor FColorChecked, FColorCheckedTo, FBorderColorChecked = 0xFF0000;
    TGradientDirection FGradient = gdVertical;
    TFont FFont;
};

// tasButton or tasCheck, as the grid's own buttons have them.
using TProButtonStyle = TProGridButtonStyle;
enum TProButtonState { absUp, absDisabled, absDown, absDropDown, absExclusive };

// A push button of the form's header or footer, drawn from a shared appearance.
class TProButton : public QWidget {
public:
    explicit TProButton(QWidget* AParent);

    TProButtonAppearance* Appearance() const { return FAppearance; }
    void SetAppearance(TProButtonAppearance* v);
    QString Caption() const { return FCaption; }
    void SetCaption(const QString& v);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* v);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int v);
    int ModalResult() const { return FModalResult; }
    void SetModalResult(int v) { FModalResult = v; }
    TProCustomDropDown* ProDropDown() const { return FProDropDown; }
    void SetProDropDown(TProCustomDropDown* v) { FProDropDown = v; }
    TProButtonStyle Style() const { return FStyle; }
    void SetStyle(TProButtonStyle v) { FStyle = v; }
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int v) { FGroupIndex = v; }
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool v) { FAllowAllUp = v; }
    bool Down() const { return FDown; }
    void SetDown(bool Value);
    TProButtonState State() const { return FState; }
    bool Hot() const { return FMouseInControl; }
    int Tag = 0;

    // Sized to the caption (and image) in the appearance's font.
    void AutoSizeButton();
    // The click: the modal result closes the drop-down; OnClick follows unless the click
    // came from the keyboard.
    void Click();
    std::function<void(QObject* Sender)> OnClick, OnMouseEnter, OnMouseLeave;

protected:
    virtual void DrawButton(TCanvas& Canvas);
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void changeEvent(QEvent* e) override;
    bool event(QEvent* e) override;

private:
    void ButtonPressed(TProButton* Sender);
    TProButtonAppearance* FAppearance = nullptr;
    TCustomImageList* FImages = nullptr;
    QString FCaption;
    int FImageIndex = -1;
    int FModalResult = 0;
    TProCustomDropDown* FProDropDown = nullptr;
    TProButtonStyle FStyle = tasButton;
    TProButtonState FState = absUp;
    bool FDown = false, FAllowAllUp = false, FMouseInControl = false, FMouseDownInControl = false;
    bool FDragging = false, FInternalClick = false;
    int FGroupIndex = 0;
    int FShortcutId = 0;
};
