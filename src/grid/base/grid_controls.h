#pragma once
// Small owner-drawn controls of the grid: a flat push or toggle button with glyphs, gradients
// and look presets, a check box that can paint over its parent's background (the search
// panel builds its buttons and option boxes from these), and the tiny arrow windows that
// point at the drop place while a column or row is dragged.
#include "platform/core/classes.h"
#include "platform/ui/canvas.h"
#include "platform/ui/graphics.h"
#include "platform/ui/lb_button.h"

#include <QMenu>
#include <QPointer>
#include <QWidget>
#include <memory>

// The glyph layouts of the platform's buttons serve here too.
using TButtonLayout = TLbButtonLayout;
enum TProGridButtonStyle { tasButton, tasCheck };

class TProGridButton : public QWidget, public TObject {
public:
    // (the drawing routines have a button state of their own)
    enum TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };
    explicit TProGridButton(QWidget* AOwner = nullptr);
    ~TProGridButton() override;
    QString ClassName() const override { return QStringLiteral("TProGridButton"); }

    QString Caption() const { return FCaption; }
    void SetCaption(const QString& v);
    TFont* Font() { return &FFont; }
    TColor Color() const { return FColor; }
    void SetColor(TColor v) { SetAndRepaint(FColor, v); }

    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int v);
    bool Down() const { return FDown; }
    void SetDown(bool v);
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool v);
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout v) { SetAndRepaint(FLayout, v); }
    int Spacing() const { return FSpacing; }
    void SetSpacing(int v) { SetAndRepaint(FSpacing, v); }
    int Margin() const { return FMargin; }
    void SetMargin(int v) { SetAndRepaint(FMargin, v); }
    bool Flat() const { return FFlat; }
    void SetFlat(bool v) { SetAndRepaint(FFlat, v); }
    bool Rounded() const { return FRounded; }
    void SetRounded(bool v) { SetAndRepaint(FRounded, v); }
    bool Shaded() const { return FShaded; }
    void SetShaded(bool v);
    bool ShowCaption() const { return FShowCaption; }
    void SetShowCaption(bool v) { SetAndRepaint(FShowCaption, v); }
    bool DropDownButton() const { return FDropDownButton; }
    void SetDropDownButton(bool v) { SetAndRepaint(FDropDownButton, v); }
    QMenu* DropDownMenu() const { return FDropDownMenu.data(); }
    void SetDropDownMenu(QMenu* v) { FDropDownMenu = v; }
    TProGridButtonStyle Style() const { return FStyle; }
    void SetStyle(TProGridButtonStyle v) { SetAndRepaint(FStyle, v); }
    bool AutoXPStyle() const { return FAutoXPStyle; }
    void SetAutoXPStyle(bool v) { SetAndRepaint(FAutoXPStyle, v); }
    bool AutoThemeAdapt() const { return FAutoThemeAdapt; }
    void SetAutoThemeAdapt(bool v);
    // Look presets 0 .. 6; other values change nothing.
    int Look() const { return FLook; }
    void SetLook(int v);
    // The preset that follows the desktop's colour scheme.
    void ThemeAdapt();

    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor v) { SetAndRepaint(FColorTo, v); }
    TColor ColorHot() const { return FColorHot; }
    void SetColorHot(TColor v) { SetAndRepaint(FColorHot, v); }
    TColor ColorHotTo() const { return FColorHotTo; }
    void SetColorHotTo(TColor v) { SetAndRepaint(FColorHotTo, v); }
    TColor ColorDown() const { return FColorDown; }
    void SetColorDown(TColor v) { SetAndRepaint(FColorDown, v); }
    TColor ColorDownTo() const { return FColorDownTo; }
    void SetColorDownTo(TColor v) { SetAndRepaint(FColorDownTo, v); }
    TColor ColorChecked() const { return FColorChecked; }
    void SetColorChecked(TColor v) { SetAndRepaint(FColorChecked, v); }
    TColor ColorCheckedTo() const { return FColorCheckedTo; }
    void SetColorCheckedTo(TColor v) { SetAndRepaint(FColorCheckedTo, v); }
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor v) { SetAndRepaint(FBorderColor, v); }
    TColor BorderDownColor() const { return FBorderDownColor; }
    void SetBorderDownColor(TColor v) { SetAndRepaint(FBorderDownColor, v); }
    TColor BorderHotColor() const { return FBorderHotColor; }
    void SetBorderHotColor(TColor v) { SetAndRepaint(FBorderHotColor, v); }

    // Setting the glyph also fills an empty disabled glyph with a grey copy and rebuilds
    // the shadow; the transparent colour of every glyph is its bottom-left pixel.
    TBitmap* Glyph() { return &FGlyph; }
    void SetGlyph(const TBitmap& v);
    TBitmap* GlyphDisabled() { return &FGlyphDisabled; }
    void SetGlyphDisabled(const TBitmap& v) { AssignGlyph(FGlyphDisabled, v); }
    TBitmap* GlyphHot() { return &FGlyphHot; }
    void SetGlyphHot(const TBitmap& v) { AssignGlyph(FGlyphHot, v); }
    TBitmap* GlyphDown() { return &FGlyphDown; }
    void SetGlyphDown(const TBitmap& v) { AssignGlyph(FGlyphDown, v); }
    TBitmap* GlyphShade() { return &FGlyphShade; }

    TButtonState State() const { return FState; }
    bool MouseInControl() const { return FMouseInControl; }
    void Click();

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TNotifyEvent OnDropDown;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

    // The group broadcast: Sender of GroupIndex went down.
    void ButtonPressed(int Group, TProGridButton* Sender);

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void changeEvent(QEvent* e) override;
    bool event(QEvent* e) override;

private:
    template <typename T> void SetAndRepaint(T& Field, T Value)
    {
        if (Field == Value) return;
        Field = Value;
        update();
    }
    void AssignGlyph(TBitmap& Target, const TBitmap& Source);
    void BuildShade();
    void UpdateExclusive();
    void UpdateTracking();
    void Paint(TCanvas* Canvas);
    // Fills R from S to E (16 bands, or plain when E is clNone), outlined in B.
    void DrawFill(TCanvas* Canvas, const TRect& R, TColor S, TColor E, TColor B);
    bool Pressed() const;

    TFont FFont;
    QString FCaption;
    TColor FColor = clBtnFace;
    bool FIsComCtl6 = false;
    int FGroupIndex = 0;
    TBitmap FGlyph;
    bool FDown = false;
    bool FDragging = false;
    bool FAllowAllUp = false;
    TButtonLayout FLayout = blGlyphLeft;
    int FSpacing = 4;
    bool FTransparent = true;
    int FMargin = -1;
    bool FFlat = true;
    bool FMouseInControl = false;
    TColor FColorTo = clNone;
    TColor FColorHot = 0xCAC7C7;
    TColor FColorHotTo = clNone;
    TColor FColorDown = 0xD8D3D2;
    TColor FColorDownTo = clNone;
    TColor FBorderColor = clNone;
    TColor FBorderDownColor = clNone;
    TColor FBorderHotColor = clNone;
    TBitmap FGlyphDisabled;
    TBitmap FGlyphHot;
    TBitmap FGlyphDown;
    TBitmap FGlyphShade;
    bool FShaded = true;
    TColor FColorChecked = 0x808080;
    TColor FColorCheckedTo = clNone;
    TProGridButtonStyle FStyle = tasButton;
    int FLook = 0;
    bool FRounded = false;
    bool FDropDownButton = false;
    bool FAutoThemeAdapt = false;
    bool FAutoXPStyle = false;
    QPointer<QMenu> FDropDownMenu;
    bool FShowCaption = true;
    TButtonState FState = bsUp;
    int FShortcutId = 0;
};

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
enum TTextLayout { tlTop, tlCenter, tlBottom };
enum TLeftRight { taLeftJustifyBox, taRightJustifyBox };

class TProCheckBox : public QWidget, public TObject {
public:
    explicit TProCheckBox(QWidget* AOwner = nullptr);
    ~TProCheckBox() override;
    QString ClassName() const override { return QStringLiteral("TProCheckBox"); }

    QString Caption() const { return FCaption; }
    void SetCaption(const QString& v);
    TFont* Font() { return &FFont; }
    bool Down() const { return FDown; }
    void SetDown(bool v);
    TCheckBoxState State() const { return FState; }
    void SetState(TCheckBoxState v);
    bool Checked() const { return FState == cbChecked; }
    void SetChecked(bool v) { SetState(v ? cbChecked : cbUnchecked); }
    bool ReturnIsTab() const { return FReturnIsTab; }
    void SetReturnIsTab(bool v) { FReturnIsTab = v; }
    TTextLayout ButtonVertAlign() const { return FBtnVAlign; }
    void SetButtonVertAlign(TTextLayout v);
    // Box left (taLeftJustifyBox) or right of the caption.
    TLeftRight Alignment() const { return FAlignment; }
    void SetAlignment(TLeftRight v);
    bool Ellipsis() const { return FEllipsis; }
    void SetEllipsis(bool v);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool v) { FReadOnly = v; }
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool v);
    bool TransparentChaching() const { return FTransparentCaching; }
    void SetTransparentChaching(bool v) { FTransparentCaching = v; }
    bool Hot() const { return FHot; }
    TColor Color() const { return FColor; }
    void SetColor(TColor v);

    // Flips Checked unless read-only.
    void Toggle();
    void Click();
    TNotifyEvent OnClick;

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;
    bool event(QEvent* e) override;

private:
    void Paint(TCanvas* Canvas);
    TRect BoxRect() const;
    void InvalidateBox() { update(QRect(0, 0, 16, 16)); }

    TFont FFont;
    TColor FColor = clBtnFace;
    bool FDown = false;
    TCheckBoxState FState = cbUnchecked;
    bool FFocused = false;
    bool FReturnIsTab = false;
    TTextLayout FBtnVAlign = tlTop;
    TLeftRight FAlignment = taLeftJustifyBox;
    bool FEllipsis = false;
    QString FCaption = QStringLiteral("TProCheckBox");
    bool FIsWinXP = false;
    bool FHot = false;
    bool FClicksDisabled = false;
    bool FReadOnly = false;
    bool FMouseDown = false;
    bool FTransparentCaching = false;
    bool FTransparent = false;
    int FShortcutId = 0;
};

enum TArrowDirection { arrUp, arrDown, arrLeft, arrRight };

// A bare popup in the shape of a small arrow, filled with its colour.
class TArrowWindow : public QWidget {
public:
    TArrowWindow(QWidget* AOwner, TArrowDirection Direction);
    TArrowDirection Dir() const { return FDirection; }
    TArrowDirection Direction() const { return FDirection; }
    TColor Color() const { return FColor; }
    void SetColor(TColor v)
    {
        FColor = v;
        update();
    }
    // The seven corner points of the arrow for a direction.
    static std::vector<TPoint> Arrow(TArrowDirection Direction);

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    TArrowDirection FDirection;
    TColor FColor = 0x00FF00;
};
