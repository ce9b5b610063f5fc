#pragma once
// A panel of push buttons drawn by the panel itself, each a list item with a caption, an
// optional picture and a rectangle.  As a calculator panel it builds and arranges the
// calculator's 28 keys; as a custom panel its buttons keep the rectangles given to them.
#include "grid/controls/item_selector.h"
#include "platform/ui/canvas.h"
#include "platform/ui/panel.h"
#include "platform/ui/picture.h"

#include <QLineEdit>
#include <QPointer>
#include <functional>
#include <memory>
#include <vector>

class TCustomImageList;
class TProCustomDropDown;

// The look of the panel's buttons.  Only the font and the two text colours take part in
// painting; the face colours are kept for the drop-down's colour styles.
class TButtonAppearance {
public:
    TButtonAppearance();
    void Assign(const TButtonAppearance& Source);

#define BUTTON_APPEARANCE_COLOR(Name, Default)                                                                         \
public:                                                                                                                \
    TColor Name() const { return F##Name; }                                                                            \
    void Set##Name(TColor v)                                                                                           \
    {                                                                                                                  \
        if (F##Name == v) return;                                                                                      \
        F##Name = v;                                                                                                   \
        Changed();                                                                                                     \
    }                                                                                                                  \
                                                                                                                       \
private:                                                                                                               \
    TColor F##Name = Default;
    BUTTON_APPEARANCE_COLOR(Color, 0x9A915F)
    BUTTON_APPEARANCE_COLOR(ColorTo, 0xB0A170)
    BUTTON_APPEARANCE_COLOR(ColorHot, 0x9F6F1C)
    BUTTON_APPEARANCE_COLOR(ColorHotTo, 0xD5C244)
    BUTTON_APPEARANCE_COLOR(ColorDown, 0x4B2F08)
    BUTTON_APPEARANCE_COLOR(ColorDownTo, 0xADB514)
    BUTTON_APPEARANCE_COLOR(GlowColorHot, 0xD5C244)
    BUTTON_APPEARANCE_COLOR(GlowColorDown, 0xD5C244)
    BUTTON_APPEARANCE_COLOR(BorderColor, 0)
    BUTTON_APPEARANCE_COLOR(BorderColorHot, 0)
    BUTTON_APPEARANCE_COLOR(BorderColorDown, 0)
    BUTTON_APPEARANCE_COLOR(ColorChecked, 0xF5D8CA)
    BUTTON_APPEARANCE_COLOR(ColorCheckedTo, 0xF9BDA0)
    BUTTON_APPEARANCE_COLOR(BorderColorChecked, 0xFF0000)
    BUTTON_APPEARANCE_COLOR(ColorDisabled, 0xF2F2F2)
    BUTTON_APPEARANCE_COLOR(ColorDisabledTo, 0xF2F2F2)
    BUTTON_APPEARANCE_COLOR(TextColor, 0)
    BUTTON_APPEARANCE_COLOR(SpecialTextColor, 0x80)
#undef BUTTON_APPEARANCE_COLOR

public:
    // Stored without a change notice, like the font.
    TColor ShineColor = 0xFFFFFF;
    TFont& Font() { return FFont; }
    const TFont& Font() const { return FFont; }
    void SetFont(const TFont& v) { FFont.Assign(v); }
    std::function<void()> OnChange;

private:
    void Changed()
    {
        if (OnChange) OnChange();
    }
    TFont FFont;
};

class TButtonItem {
public:
    QString Caption;
    TColor CaptionColor = 0xFFFFFF;
    int ImageIndex = -1;
    TPicture& Image() { return FImage; }
    const TPicture& Image() const { return FImage; }
    // For the calculator: the key code.
    int Tag = 0;
    bool Enabled = true;
    QString Name;
    // Special buttons are drawn in the special text colour.
    bool Special = false;
    int Left = 0, Top = 0, Width = 0, Height = 0;
    TRect Rect() const { return {Left, Top, Left + Width, Top + Height}; }
    void Assign(const TButtonItem& Source);

private:
    TPicture FImage;
};

class TButtonItems {
public:
    TButtonItem* Add();
    TButtonItem* Insert(int Index);
    int Count() const { return int(FItems.size()); }
    TButtonItem* Items(int Index) const { return FItems.at(Index).get(); }
    void Clear();
    void Assign(const TButtonItems& Source);
    std::function<void()> OnChange;

private:
    void Changed()
    {
        if (OnChange) OnChange();
    }
    std::vector<std::unique_ptr<TButtonItem>> FItems;
};

enum TButtonPanelType { plCalculator, plCustom };

class TCustomButtonPanel : public TCustomPanel {
public:
    explicit TCustomButtonPanel(QWidget* AParent = nullptr);

    TButtonItems& Buttons() { return FButtons; }
    void SetButtons(const TButtonItems& v) { FButtons.Assign(v); }
    TButtonPanelType ButtonPanelType() const { return FButtonPanelType; }
    void SetButtonPanelType(TButtonPanelType v);
    TItemLayout ButtonLayout() const { return FButtonLayout; }
    void SetButtonLayout(TItemLayout v);
    TButtonAppearance& ButtonAppearance() { return FButtonAppearance; }
    void SetButtonAppearance(const TButtonAppearance& v) { FButtonAppearance.Assign(v); }
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* v);
    QLineEdit* Edit() const { return FEdit.data(); }
    void SetEdit(QLineEdit* v) { FEdit = v; }
    TSelectionColorStyle ItemColorStyle = scCustom;
    TProCustomDropDown* OwnerDropDown() const { return FOwnerDropDown; }
    void SetOwnerDropDown(TProCustomDropDown* v) { FOwnerDropDown = v; }
    std::function<void(QObject* Sender, int Index)> OnButtonClick;

    int HotIndex() const { return FHotIndex; }
    int DownIndex() const { return FDownIndex; }
    // The first button in list order whose rectangle holds P; -1: none.
    int ButtonAt(const QPoint& P) const;

    virtual void DrawButton(int Index, TCanvas* Canvas);
    virtual void GetButtonsRect(TRect& Rect);
    virtual void GetButtonSize(QSize& Size);
    virtual void ClearButtons();
    virtual void ResetButtons();
    virtual void CreateButtons();
    virtual void ArrangeButtons();
    virtual void InvalidateButton(int Index);

    int PanelMarginX = 8, PanelMarginY = 8, ButtonMarginX = 4, ButtonMarginY = 4, CaptionGap = 0;

protected:
    virtual void DoButtonClick(int Index);
    void Paint(TCanvas& Canvas) override;
    void resizeEvent(QResizeEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;

private:
    QImage ButtonImage(const TButtonItem& Item) const;
    void Repaint();
    TButtonItems FButtons;
    TButtonPanelType FButtonPanelType = plCalculator;
    TItemLayout FButtonLayout = ilCaptionRight;
    TButtonAppearance FButtonAppearance;
    TCustomImageList* FImages = nullptr;
    QPointer<QLineEdit> FEdit;
    TProCustomDropDown* FOwnerDropDown = nullptr;
    int FHotIndex = -1, FDownIndex = -1;
};
