#pragma once
// The drop-down edit: a single-line edit holding a typed value between a fixed prefix and
// suffix, with an arrow button at its right edge and a pop-up form below or above it that
// hosts one control chosen by the descendant.  It is the base of every drop-down control:
// it creates, sizes, places, shows and hides the form, routes keys between the edit, the
// form and the hosted control, draws its border and focus, and carries an attached label.
//
// Descendants override the virtual operations (CreateDropDownForm to make their control and
// hand it to SetControl, BeforeDropDown to fill it, SizeDropDownForm, PlaceDropDownControl,
// AdaptDropDownHeight, the key and wheel operations).  The form is made on first use, after
// the most derived object exists, through DropDownForm().
#include "grid/controls/dropdown_buttons.h"
#include "grid/controls/dropdown_form.h"
#include "grid/controls/dropdown_styles.h"
#include "grid/controls/label_position.h"
#include "platform/ui/label.h"
#include "platform/ui/mask_edit.h"

#include <QPointer>
#include <functional>
#include <memory>

class TCustomImageList;
class TItemAppearance;

enum TDropPosition { dpAuto, dpDown, dpUp };
enum TDropDownEditType {
    etString, etNumeric, etFloat, etUppercase, etMixedCase, etLowerCase, etPassword, etMoney, etRange, etHex,
    etAlphaNumeric, etValidChars
};

// 0: only digits and "-"; 1: a decimal number; 5: only hexadecimal digits and "-"; 2: anything
// else, an empty text, more than one "-" or more than one decimal separator.
int ClassifyEditText(const QString& S);
QString StripThousandSeparators(const QString& S);
// Hexadecimal digits read from the right, 16 per place; other characters count 0.
int64_t HexTextToInt(const QString& S);
inline bool IsRangeSeparator(QChar C) { return C == QLatin1Char(',') || C == QLatin1Char('-') || C == QLatin1Char(';'); }
// X with Precision decimals in the locale's separators, with thousand separators when
// Thousands ("%.<n>n" and "%.<n>f"); Precision below 0: the shortest general form ("%g").
QString FormatEditNumber(double X, int Precision, bool Thousands);

class TProCustomDropDown : public TCustomMaskEdit {
public:
    explicit TProCustomDropDown(QWidget* AParent = nullptr);
    ~TProCustomDropDown() override;

    // ---- the drop-down
    void ShowDropDown() { DoShowDropDown(); }
    void HideDropDown(bool CancelChanges) { DoHideDropDown(CancelChanges); }
    bool DroppedDown() const { return FDroppedDown; }
    TDropDownEditButton* Button() const { return FButton; }
    // The pop-up form, made on first use.
    TDropDownForm* DropDownForm();
    QWidget* Control() const { return FControl; }
    void SetControl(QWidget* Control);
    QWidget* FocusControl() const { return FFocusControl; }
    void SetFocusControl(QWidget* v) { FFocusControl = v; }
    // What a click on the button or in a non-editable edit does.
    void ClickDropDown();

    // ---- look of the edit
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor v);
    TColor FocusBorderColor() const { return FFocusBorderColor; }
    void SetFocusBorderColor(TColor v);
    bool DisabledBorder() const { return FDisabledBorder; }
    void SetDisabledBorder(bool v);
    bool Flat = false;
    bool Etched = false;
    bool FocusDraw = true;
    // Entering the edit other than by a left click selects the whole value.
    bool AutoSelect = true;
    bool EditorEnabled() const { return FEditorEnabled; }
    void SetEditorEnabled(bool v);
    int DropDownButtonWidth() const { return FButtonWidth; }
    void SetDropDownButtonWidth(int v);
    void SetDropDownButtonGlyph(const TBitmap& v);
    QString DropDownButtonHint() const { return FButtonHint; }
    void SetDropDownButtonHint(const QString& v);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* v) { FImages = v; }
    QString Version() const;
    uint32_t GetVersionNr() const { return (1u << 24) | (2u << 16) | (1u << 8) | 4u; }
    // The smallest height that shows the font.
    int MinimumEditHeight() const;

    // ---- look of the form
    TColor DropDownColor() const { return FDropDownColor; }
    void SetDropDownColor(TColor v);
    TColor DropDownColorTo = clNone;
    TGradientDirection DropDownGradient = gdHorizontal;
    TColor DropDownBorderColor = clBlack;
    int DropDownBorderWidth = 1;
    bool DropDownShadow = true;
    bool ForceShadow = false;
    bool DropDownSizeable = true;
    bool DropDownEnabled = false;
    int DropDownWidth() const { return FDropDownWidth; }
    void SetDropDownWidth(int v);
    int DropDownHeight() const { return FDropDownHeight; }
    void SetDropDownHeight(int v);
    TDropPosition DropPosition = dpAuto;
    THeaderAppearance* DropDownHeader() const { return FDropDownHeader.get(); }
    void SetDropDownHeader(const THeaderAppearance& v) { FDropDownHeader->Assign(v); }
    TFooterAppearance* DropDownFooter() const { return FDropDownFooter.get(); }
    void SetDropDownFooter(const TFooterAppearance& v) { FDropDownFooter->Assign(v); }
    TProButtonAppearance* ButtonAppearance() const { return FButtonAppearance.get(); }
    void SetButtonAppearance(const TProButtonAppearance& v) { FButtonAppearance->Assign(v); }
    // The size the user last left the form at (-1: none).
    QSize UserDropDownSize() const { return {FUserDropDownWidth, FUserDropDownHeight}; }

    // ---- colour styles
    virtual void SetComponentStyle(TProStyle AStyle);
    TProStyle GetComponentStyle() const { return FStyle.ComponentStyle(); }
    virtual void SetColorTones(const TColorTones& ATones);
    // Colours an item selector's appearance for a component style (tsCustom: nothing).
    static void ApplyItemAppearanceStyle(TItemAppearance* Appearance, TProStyle Style);
    virtual void SetSelectionColorStyle(TSelectionColorStyle Style) { FSelection.SetSelectionColorStyle(Style); }
    TSelectionColorStyle SelectionColorStyle() const { return FSelection.Style(); }
    TColor SelectionColor() const { return FSelection.SelectionColor; }
    void SetSelectionColor(TColor v) { FSelection.SelectionColor = v; }
    TColor SelectionColorTo() const { return FSelection.SelectionColorTo; }
    void SetSelectionColorTo(TColor v) { FSelection.SelectionColorTo = v; }
    virtual void DrawSelection(TCanvas* Canvas, const TRect& R, TColor BackColor, int Part)
    {
        FSelection.DrawSelection(Canvas, R, BackColor, Part);
    }
    virtual void DrawItemGradient(TCanvas* Canvas, TColor FromColor, TColor ToColor, int Steps, const TRect& R,
                                  bool Vertical)
    {
        ::DrawItemGradient(Canvas, FromColor, ToColor, Steps, R, Vertical);
    }

    // ---- the attached label
    QString LabelCaption() const { return FLabelCaption; }
    void SetLabelCaption(const QString& v);
    TFont& LabelFont() { return FLabelFont; }
    void SetLabelFont(const TFont& v);
    int LabelMargin() const { return FLabelMargin; }
    void SetLabelMargin(int v);
    TLabelPosition LabelPosition() const { return FLabelPosition; }
    void SetLabelPosition(TLabelPosition v);
    bool LabelTransparent() const { return FLabelTransparent; }
    void SetLabelTransparent(bool v);
    bool LabelAlwaysEnabled = false;
    TLabel* Label() const { return FLabel; }
    void UpdateLabel();

    // ---- the typed value
    QString Text() const;
    virtual void SetText(const QString& Value);
    // The whole edit text, without prefix, suffix or formatting.
    void SetTextDirect(const QString& Value);
    double FloatValue() const;
    void SetFloatValue(double X);
    void SetIntValue(int64_t N);
    TDropDownEditType EditType() const { return FEditType; }
    void SetEditType(TDropDownEditType v);
    int Precision() const { return FPrecision; }
    void SetPrecision(int v);
    QString Prefix() const { return FPrefix; }
    void SetPrefix(const QString& v);
    QString Suffix() const { return FSuffix; }
    void SetSuffix(const QString& v);
    bool Signed = false;
    bool ReturnIsTab = false;
    int LengthLimit = 0;
    QString ValidChars;
    bool AllowNumericNullValue = false;
    bool ExcelStyleDecimalSeparator = false;
    bool AutoThousandSeparator = true;
    bool DefaultHandling = true;
    bool CanUndo = true;
    void SelectAll();
    void SelectBeforeDecimal();
    void SelectAfterDecimal();
    void SetModifiedState(bool Value);
    bool GetModifiedState() const { return FIsModified; }
    // The clipboard operations of the value part (also reached by the keys and the menu).
    void CutToClipboard();
    void CopyToClipboard();
    void PasteFromClipboard();
    void Assign(const TProCustomDropDown& Source);

    // ---- events
    std::function<void(QObject* Sender)> OnBeforeDropDown, OnBeforeDropUp, OnLabelClick, OnLabelDblClick, OnChange;
    std::function<void(QObject* Sender, bool& acceptdrop)> OnDropDown;
    std::function<void(QObject* Sender, bool Cancelled)> OnDropUp;
    std::function<void(QObject* Sender, TCanvas* ACanvas, TRect ARect)> OnDrawHeader, OnDrawFooter;
    std::function<void(QObject* Sender, QString& Text)> OnGetHeaderText, OnGetFooterText;
    std::function<void(QObject* Sender, int ButtonIndex)> OnDropDownHeaderButtonClick, OnDropDownFooterButtonClick;
    std::function<void(QObject* Sender, const QString& value, bool& allow)> OnClipboardCut, OnClipboardCopy,
        OnClipboardPaste;
    // The edit's own key-press event (Enter arrives here as '\r').
    std::function<void(QObject* Sender, QChar& Key)> OnKeyPress;

protected:
    virtual void DoLabelClick();
    virtual void DoLabelDblClick();
    virtual void CreateDropDownForm();
    virtual void CreateDropDownButton();
    virtual void UpdateDropDownButton();
    virtual void BeforeDropDown();
    virtual void AdaptDropDownHeight(int& Height) { (void)Height; }
    virtual void FocusDropDownControl();
    virtual void DoShowDropDown();
    virtual void PlaceDropDownControl();
    virtual void SizeDropDownForm();
    virtual void DoHideDropDown(bool Cancel);
    virtual void DropDownFormHidden();
    virtual void DropDownFormDestroyed() {}
    virtual void DropDownFormWheelDown() { HandleWheelDown(); }
    virtual void DropDownFormWheelUp() { HandleWheelUp(); }
    // Keys of the form and the hosted control reach the edit.
    virtual void DropDownFormKeyDown(QKeyEvent* e);
    virtual void DropDownFormKeyUp(QKeyEvent* e) { (void)e; }
    virtual void ControlKeyDown(QKeyEvent* e) { DropDownFormKeyDown(e); }
    virtual void DropDownFormResized() {}
    virtual void HandleWheelDown() {}
    virtual void HandleWheelUp() {}
    virtual void DrawFocusText(QPainter& p);
    virtual void SetEditRect();
    virtual void ResizeControl();

    // The edit's key handling: the drop-down keys, the caret rules and the character filter.
    virtual void HandleKeyDown(QKeyEvent* e);
    // A typed character (WM_CHAR); answers whether it was handled (refused or typed).
    virtual bool HandleChar(QKeyEvent* e);
    // Where the caret may go in the value part; True when the key was eaten.
    bool CaretRules(QKeyEvent* e);
    // The character filter of the edit types; True when the character was eaten.
    bool FilterChar(QKeyEvent* e, QChar ch);
    void FormatThousands();
    int IntegerPartLength(const QString& S) const;
    double ParseFloat(const QString& S) const;
    void CompleteValue();
    // Replaces the value part keeping prefix and suffix, the caret at Caret (value position).
    void ReplaceValue(const QString& Value, int Caret);
    int P() const { return int(FPrefix.size()); }
    int V() const { return int(Text().size()); }

    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    bool event(QEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void changeEvent(QEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;

    TDropDownForm* FDropDownForm = nullptr;
    TDropDownEditButton* FButton = nullptr;
    QWidget* FControl = nullptr;
    QWidget* FFocusControl = nullptr;
    bool FDroppedDown = false;
    bool FBlockChange = false;
    bool FBlockCopy = false;
    bool FIsModified = false;
    bool FButtonDown = false;
    bool FMouseInControl = false;
    QString FOldText;
    QString FOldString;

private:
    void DrawBorder(QPainter& p);
    void RefreshForm();
    std::unique_ptr<THeaderAppearance> FDropDownHeader;
    std::unique_ptr<TFooterAppearance> FDropDownFooter;
    std::unique_ptr<TProButtonAppearance> FButtonAppearance;
    TDropDownStyle FStyle;
    TSelectionLook FSelection;
    TColor FBorderColor = clNone, FFocusBorderColor = clNone;
    bool FDisabledBorder = true;
    bool FEditorEnabled = true;
    int FButtonWidth = 17;
    QString FButtonHint;
    TCustomImageList* FImages = nullptr;
    TColor FDropDownColor = 0xFFFFFF;
    int FDropDownWidth = 0, FDropDownHeight = 0;
    int FUserDropDownWidth = -1, FUserDropDownHeight = -1;
    QPointer<TLabel> FLabel;
    QString FLabelCaption;
    TFont FLabelFont;
    int FLabelMargin = 4;
    TLabelPosition FLabelPosition = lpLeftTop;
    bool FLabelTransparent = false;
    TDropDownEditType FEditType = etString;
    int FPrecision = 0;
    QString FPrefix, FSuffix;
};
