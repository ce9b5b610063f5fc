#pragma once
// The colour picker: a drop-down edit that cannot be typed into and shows a box of the chosen
// colour with its text.  The pop-up offers a list of named colours (the item selector), a fixed
// palette, a honeycomb colour cube or a spectrum picture, by ColorSelectionStyle.
#include "grid/controls/color_selectors.h"
#include "grid/controls/item_selector.h"
#include "grid/controls/picker_list.h"
#include "grid/controls/pro_custom_dropdown.h"

enum TColorSelectionStyle { csList, csDiscrete, csColorCube, csSpectrum };
enum TColorValueText { cvtNone, cvtHex, cvtWebName, cvtRGB, cvtHTML };

class TColorItem {
public:
    explicit TColorItem(std::function<void()> Changed) : FChanged(std::move(Changed)) {}
    QString Caption() const { return FCaption; }
    void SetCaption(const QString& v);
    TColor Color() const { return FColor; }
    void SetColor(TColor v);
    QString Hint;
    bool FEnabled = true;
    TRect FRect;
    void Assign(const TColorItem& Source);

private:
    std::function<void()> FChanged;
    QString FCaption;
    TColor FColor = clNone;
};

using TColorItems = TNotifyingItems<TColorItem>;

// The text forms of a colour value: "FFFFFF" style hexadecimal of $00BBGGRR, a web colour
// name, "Red:r,Green:g,Blue:b" and "#RRGGBB".
QString ColorValueToText(TColor Color, TColorValueText Kind);

class TProColorPickerDropDown : public TProCustomDropDown {
public:
    explicit TProColorPickerDropDown(QWidget* AParent = nullptr);
    ~TProColorPickerDropDown() override;

    TColorSelectionStyle ColorSelectionStyle() const { return FColorSelectionStyle; }
    void SetColorSelectionStyle(TColorSelectionStyle v);
    TColorItems& Colors() { return FColors; }
    void SetColors(const TColorItems& v) { FColors.Assign(v); }
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int Value);
    TColor SelectedColor() const { return FSelectedColor; }
    void SetSelectedColor(TColor Value);
    virtual QString SelectedColorText() const;
    TColorValueText ColorValueText = cvtNone;
    bool ShowText() const { return FShowText; }
    void SetShowText(bool v);
    int ColorBoxWidth = 14, ColorBoxHeight = 14;
    int Columns = 1;
    TItemLayout Layout = ilCaptionRight;
    TItemAppearance& ItemAppearance() { return FItemAppearance; }
    void SetItemAppearance(const TItemAppearance& v) { FItemAppearance.Assign(v); }
    std::function<void(QObject* Sender)> OnSelect;
    std::function<void(QObject* Sender, TCanvas* Canvas, TRect R, int Index)> OnDrawColor;
    std::function<void(QObject* Sender, TCanvas* Canvas, TRect R)> OnDrawSelectedColor;

    void AddDefaultColors();
    void SelectFirst();
    void SelectLast();
    void SelectNext();
    void SelectPrevious();

    // The hosted controls (null until made).
    TProCustomItemSelector* ItemSelector() const { return FItemSelector; }
    TCustomColorSelector* ColorSelector() const { return FColorSelector; }
    TProColorCubePanel* ColorCubePanel() const { return FColorCubePanel; }
    TProColorSpectrumPanel* SpectrumPanel() const { return FSpectrumPanel; }

    void SetSelectionColorStyle(TSelectionColorStyle Style) override;
    void SetComponentStyle(TProStyle Style) override;

protected:
    void CreateDropDownForm() override;
    void BeforeDropDown() override;
    void SizeDropDownForm() override;
    void PlaceDropDownControl() override;
    void DoHideDropDown(bool Cancel) override;
    void DropDownFormDestroyed() override;
    void HandleWheelDown() override;
    void HandleWheelUp() override;
    void DrawFocusText(QPainter& p) override;
    void HandleKeyDown(QKeyEvent* e) override;
    // The type-ahead timer's end: the typed text is forgotten.
    void KeyTimerTimer() { FListKeys.KeyTimerTimer(); }

    void CreateListSelector();
    void CreateColorSelector();
    void CreateCubePanel();
    void CreateSpectrumPanel();
    void UpdateItemSelector();
    void LoadSelectorItems();
    void DrawSelectedColor(QPainter& p);

    TPickerListKeys FListKeys;

private:
    // Makes a palette, cube or spectrum once and hands it to the base; True when it was made.
    template <class TPanel> bool HostPanel(TPanel*& Field);
    // Makes the current style's control, hands it to the base and fills it from the picker.
    void PrepareStyleControl();
    // The form fitted to a palette, cube or spectrum.
    void SizeFormToControl();
    void SelectorItemSelect();
    void DiscreteSelect();
    void PanelSelect(TColor Color);
    void Step(int Step);
    void Wheel(bool Down);
    // A selection the picker makes itself: it does not close the drop-down.
    template <class F> void Internal(F f)
    {
        const bool old = FInternalCall;
        FInternalCall = true;
        f();
        FInternalCall = old;
    }

    TColorSelectionStyle FColorSelectionStyle = csList;
    TColorItems FColors;
    TItemAppearance FItemAppearance;
    int FItemIndex = -1;
    TColor FSelectedColor = clNone;
    bool FShowText = true;
    TProCustomItemSelector* FItemSelector = nullptr;
    TCustomColorSelector* FColorSelector = nullptr;
    TProColorCubePanel* FColorCubePanel = nullptr;
    TProColorSpectrumPanel* FSpectrumPanel = nullptr;
    bool FInternalCall = false;
    bool FDestroying = false;
    int FOldItemIndex = -1;
    TColor FOldSelectedColor = clNone;
};
