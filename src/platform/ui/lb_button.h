#pragma once
// The owner-drawn push button of every window: six drawing styles, colour presets, preset
// kinds with glyph, caption and modal result, a hot-track colour that can fade back, and
// the dialog-button roles (default, cancel, accelerator).
#include "platform/core/classes.h"
#include "platform/ui/canvas.h"

#include <QFont>
#include <QImage>
#include <QWidget>
#include <functional>
#include <memory>

class QMenu;
class QTimer;

using TLbAlignment = TAlignment;
enum TLbButtonStyle { bsNormal = 0, bsEncarta = 1, bsModern = 2, bsOld = 3, bsShape = 4, bsQuicken = 5 };
enum TLbColorStyle {
    lcsCustom = 0, lcsGold = 1, lcsChrome = 2, lcsBlue = 3, lcsRed = 4, lcsUltraFlat1 = 5, lcsUltraFlat2 = 6,
    lcsUltraFlatXP = 7, lcsAqua = 8, lcsDefault = 9, lcsQuicken = 10
};
enum TLbButtonKind {
    bkCustom = 0, bkOK = 1, bkCancel = 2, bkHelp = 3, bkYes = 4, bkNo = 5, bkClose = 6, bkAbort = 7, bkRetry = 8,
    bkIgnore = 9, bkAll = 10
};
enum TLbButtonLayout { blGlyphLeft = 0, blGlyphRight = 1, blGlyphTop = 2, blGlyphBottom = 3 };

// Everything one picture of a button depends on.
struct TLbButtonLook {
    int Width = 0, Height = 0;
    int HotTrackStep = 0;      // 0..8 eighths of the hot-track colour
    int NumGlyphs = 0;
    QImage Glyph;
    bool Down = false, Hot = false, Enabled = true, Flat = false, WordWrap = false, HasPopup = false;
    TLbButtonStyle Style = bsNormal;
    TColor Color = clBtnFace, ColorWhenDown = clNone, HotTrackColor = clNone;
    TColor LightColor = 0xFFFFFF, ShadowColor = 0x808080;
    TFont Font;
    TLbButtonLayout Layout = blGlyphLeft;
    QString Caption;
    TLbAlignment Alignment = taCenter;
};

// Paints a whole button from scratch; pixels of $FF00FF are meant to stay transparent.
void DrawButton(TCanvas& canvas, const TLbButtonLook& look);
// The canvas font of a widget font.
TFont FontFromQFont(const QFont& font, TColor color);

// Face colour between face and hot-track colour at step eighths.
TColor BlendHotTrackColor(TColor face, TColor hot, int step);

struct TLbColorPreset {
    TColor Color, LightColor, ShadowColor, ColorWhenDown, HotTrackColor, FontColor;
    bool Flat;
    TLbButtonStyle Style;
};
// The preset of a colour style; false for lcsCustom (nothing to apply).
bool GetColorStyleColors(TLbColorStyle cs, TLbColorPreset& preset);

// The built-in glyph strips of the kinds and the drop-down arrow.
QImage LbKindGlyph(TLbButtonKind kind);
QImage LbArrowGlyph();

class TLbButton : public QWidget {
    Q_OBJECT

public:
    explicit TLbButton(QWidget* parent = nullptr);
    ~TLbButton() override;

    QString Caption() const { return FCaption; }
    void SetCaption(const QString& s);
    TLbAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TLbAlignment a);
    bool Cancel() const { return FCancel; }
    void SetCancel(bool v);
    bool Default() const { return FDefault; }
    void SetDefault(bool v);
    TColor Color() const { return FColor; }
    void SetColor(TColor c);
    TLbColorStyle ColorStyle() const { return lcsCustom; }
    void SetColorStyle(TLbColorStyle cs);
    TColor ColorWhenDown() const { return FColorWhenDown; }
    void SetColorWhenDown(TColor c) { FColorWhenDown = c; }
    bool Enabled() const { return isEnabled(); }
    void SetEnabled(bool v);
    bool Flat() const { return FFlat; }
    void SetFlat(bool v);
    const QImage& Glyph() const { return FGlyph; }
    void SetGlyph(const QImage& picture);
    QString Hint() const { return toolTip(); }
    void SetHint(const QString& s) { setToolTip(s); }
    TColor HotTrackColor() const { return FHotTrackColor; }
    void SetHotTrackColor(TColor c) { FHotTrackColor = c; }
    const QFont& HotTrackFont() const { return FHTFont; }
    void SetHotTrackFont(const QFont& f) { FHTFont = f; }
    TColor FontColor() const { return FFontColor; }
    void SetFontColor(TColor c);
    TLbButtonKind Kind() const { return FKind; }
    void SetKind(TLbButtonKind k);
    TLbButtonLayout Layout() const { return FLayout; }
    void SetLayout(TLbButtonLayout l);
    TColor LightColor() const { return FLightColor; }
    void SetLightColor(TColor c);
    int ModalResult() const { return FModalResult; }
    void SetModalResult(int r);
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int n);
    QMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(QMenu* m);
    TColor ShadowColor() const { return FShadowColor; }
    void SetShadowColor(TColor c);
    bool SlowDecease() const { return FSlowDecease; }
    void SetSlowDecease(bool v);
    TLbButtonStyle Style() const { return FStyle; }
    void SetStyle(TLbButtonStyle s);
    // Shaped styles let the parent show through their transparent pixels.
    bool TransparentStyle() const { return FTransparent; }
    bool UseHotTrackFont() const { return FUseHTFont; }
    void SetUseHotTrackFont(bool v) { FUseHTFont = v; }
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool v);

    void SetBounds(int left, int top, int width, int height) { setGeometry(left, top, width, height); }

    std::function<void()> OnClick;
    std::function<void()> OnMouseEnter;
    std::function<void()> OnMouseExit;

    // Presses and clicks the button as the platform's click does.
    void Click();

    // State, for the window code and tests.
    bool Down() const { return bDown; }
    bool CursorOnButton() const { return bCursorOnButton; }
    int HotTrackStep() const { return FHotTrackStep; }
    bool Fading() const;
    // One tick of the fade (the timer runs it every 30 ms).
    void FadeStep();
    // The picture the button shows now, as it is painted.
    QImage Render() const;
    TLbButtonLook Look() const;

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void changeEvent(QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    // A window closed by a click on the button gets no leave event; shown again, the button
    // must not come back hot.
    void hideEvent(QHideEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void DoClick();
    void Repaint();
    void WatchWindow();
    bool DialogKey(int key, Qt::KeyboardModifiers mods);
    bool DialogChar(const QString& text);
    void CreateFadeTimer();

    TLbAlignment FAlignment = taCenter;
    TColor FShadowColor = 0x808080;
    TColor FColorWhenDown = clNone;
    TColor FColor = clBtnFace;
    TColor FFontColor = clBlack;
    bool FFlat = false;
    bool FWordWrap = false;
    QImage FGlyph;
    TColor FHotTrackColor = clNone;
    QFont FHTFont;
    TLbButtonKind FKind = bkCustom;
    TLbButtonLayout FLayout = blGlyphLeft;
    TColor FLightColor = 0xFFFFFF;
    int FModalResult = 0;
    int FNumGlyphs = 0;
    bool FUseHTFont = false;
    TLbButtonStyle FStyle = bsNormal;
    bool FTransparent = false;
    bool FDefault = false;
    bool FCancel = false;
    bool FSlowDecease = false;
    bool bDown = false;
    bool bCursorOnButton = false;
    bool FDestroying = false;
    int FKeyDown = 0;   // Enter or Space that went down on this button and is not yet released
    std::unique_ptr<QTimer> FThread;
    int FHotTrackStep = 0;
    QString FCaption;
    QMenu* FPopupMenu = nullptr;
    QWidget* FWatched = nullptr;
};
