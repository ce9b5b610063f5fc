// The drop-down edit: construction, the life of the pop-up form, keys, focus and mouse,
// layout, border and focus drawing, and the attached label.  The typed value is in
// dropdown_edit_types.cpp.
#include "grid/controls/pro_custom_dropdown.h"

#include "platform/ui/label.h"

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QToolTip>

TProCustomDropDown::TProCustomDropDown(QWidget* AParent)
    : TCustomMaskEdit(AParent), FDropDownHeader(std::make_unique<THeaderAppearance>()),
      FDropDownFooter(std::make_unique<TFooterAppearance>()), FButtonAppearance(std::make_unique<TProButtonAppearance>())
{
    resize(200, 21);
    setAttribute(Qt::WA_Hover);
    CreateDropDownButton();
    SetText(QString());
    FOldText.clear();
    auto refresh = [this] { RefreshForm(); };
    FDropDownHeader->OnChange = refresh;
    FDropDownHeader->OnButtonsChanged = refresh;
    FDropDownFooter->OnChange = refresh;
    FDropDownFooter->OnButtonsChanged = refresh;
    SetSelectionColorStyle(scOffice2007);
    TProCustomDropDown::SetComponentStyle(tsOffice2007Luna);
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (FBlockChange) {
            FBlockChange = false;
            return;
        }
        if (OnChange) OnChange(this);
    });
}

TProCustomDropDown::~TProCustomDropDown()
{
    // the label lives on the parent and calls back into the edit
    delete FLabel.data();
    // the form's hide must not reach a half-destroyed edit
    if (FDropDownForm) {
        FDropDownForm->OnHide = nullptr;
        FDropDownForm->OnDeactivate = nullptr;
        delete FDropDownForm;
    }
}

QString TProCustomDropDown::Version() const
{
    const uint32_t v = GetVersionNr();
    return QStringLiteral("%1.%2.%3.%4").arg(v >> 24).arg((v >> 16) & 0xFF).arg((v >> 8) & 0xFF).arg(v & 0xFF);
}

TDropDownForm* TProCustomDropDown::DropDownForm()
{
    if (!FDropDownForm) CreateDropDownForm();
    return FDropDownForm;
}

void TProCustomDropDown::CreateDropDownForm()
{
    if (FDropDownForm) return;
    FDropDownForm = new TDropDownForm(this);
    FDropDownForm->resize(std::max(1, FDropDownWidth), std::max(1, FDropDownHeight));
    FDropDownForm->OnHide = [this] { DropDownFormHidden(); };
    FDropDownForm->OnDeactivate = [this] { DoHideDropDown(FDropDownForm->CancelOnDeActivate); };
    FDropDownForm->OnKeyDown = [this](QKeyEvent* e) { DropDownFormKeyDown(e); };
    FDropDownForm->OnKeyUp = [this](QKeyEvent* e) { DropDownFormKeyUp(e); };
    FDropDownForm->OnWheelDown = [this] { DropDownFormWheelDown(); };
    FDropDownForm->OnWheelUp = [this] { DropDownFormWheelUp(); };
    FDropDownForm->OnSizing = [this] { DropDownFormResized(); };
}

void TProCustomDropDown::CreateDropDownButton()
{
    if (FButton) return;
    FButton = new TDropDownEditButton(this);
    FButton->SetFocusControl(this);
    FButton->OnClick = [this](QObject*) { ClickDropDown(); };
    UpdateDropDownButton();
}

void TProCustomDropDown::UpdateDropDownButton()
{
    FButton->SetButtonWidth(FButtonWidth);
    FButton->resize(FButtonWidth, 17);
    FButton->show();
    ResizeControl();
}

void TProCustomDropDown::SetControl(QWidget* Control)
{
    if (Control == FControl) return;
    FControl = Control;
    if (FControl) PlaceDropDownControl();
}

void TProCustomDropDown::BeforeDropDown()
{
    if (OnBeforeDropDown) OnBeforeDropDown(this);
}

void TProCustomDropDown::FocusDropDownControl()
{
    if (FFocusControl && FFocusControl->focusPolicy() & Qt::TabFocus && FFocusControl->isEnabled() &&
        !FFocusControl->hasFocus())
        FFocusControl->setFocus(Qt::PopupFocusReason);
}

void TProCustomDropDown::PlaceDropDownControl()
{
    TDropDownForm* form = DropDownForm();
    if (!FControl) return;
    if (FControl->parentWidget() != form) FControl->setParent(form);
    const bool header = FDropDownHeader->Visible();
    FControl->move(DropDownBorderWidth, header ? FDropDownHeader->Height + 2 : DropDownBorderWidth);
    FControl->show();
    if (form->isVisible()) form->Realign();
}

void TProCustomDropDown::SizeDropDownForm()
{
    TDropDownForm* form = DropDownForm();
    const bool control = FControl && !FControl->isHidden();
    int w = FDropDownWidth > 0 ? FDropDownWidth : control ? FControl->width() : width();
    int h = FDropDownHeight;
    if (h <= 0) {
        h = 2 * DropDownBorderWidth;
        if (FDropDownHeader->Visible()) h += FDropDownHeader->Height;
        if (FDropDownFooter->Visible()) h += FDropDownFooter->Height;
        if (control) h += FControl->height();
    }
    form->resize(std::max(w, form->minimumWidth()), std::max(h, form->minimumHeight()));
}

void TProCustomDropDown::DoShowDropDown()
{
    TDropDownForm* form = DropDownForm();
    if (!form || form->isVisible() || !isEnabled() || isReadOnly()) return;
    BeforeDropDown();
    form->Shadow = DropDownShadow;
    form->InitializeAndUpdate();
    form->move(x(), y());
    form->setMinimumSize(80, 50);
    SizeDropDownForm();
    PlaceDropDownControl();
    // a size the user left the form at counts for the placing too, so the form stays on screen
    if (FUserDropDownWidth > 0 || FUserDropDownHeight > 0)
        form->resize(FUserDropDownWidth > 0 ? FUserDropDownWidth : form->width(),
                     FUserDropDownHeight > 0 ? FUserDropDownHeight : form->height());
    const QPoint p = mapToGlobal(QPoint(0, 0));
    QScreen* screen = QGuiApplication::screenAt(p);
    if (!screen) screen = this->screen();
    const QRect screenRect = screen->geometry();
    const int w = form->width(), h = form->height();
    int left = p.x(), top;
    const bool below = DropPosition == dpDown || (DropPosition == dpAuto && screenRect.bottom() + 1 > p.y() + h);
    top = below ? p.y() + height() - 1 : p.y() - h;
    bool accept = true;
    if (OnDropDown) OnDropDown(this, accept);
    if (!accept) return;
    // keep the form on the work area of the edit's screen
    const QRect work = screen->availableGeometry();
    if (left + w > work.right() + 1) left = work.right() + 1 - w;
    if (left < work.left()) left = work.left();
    if (top < work.top()) top = work.top();
    if (top + h > work.bottom() + 1 && !below) top = std::max(work.top(), work.bottom() + 1 - h);
    int H = h;
    AdaptDropDownHeight(H);
    FDroppedDown = true;
    form->setGeometry(left, top, w, H);
    form->Realign();
    form->show();
    FocusDropDownControl();
}

void TProCustomDropDown::ClickDropDown()
{
    TDropDownForm* form = DropDownForm();
    if (form->isVisible()) return;
    if (uint32_t(TPopupWindow::TickCount() - form->DeActivateTime()) > 250) DoShowDropDown();
}

void TProCustomDropDown::DoHideDropDown(bool Cancel)
{
    if (!FDropDownForm || !FDropDownForm->isVisible()) return;
    if (OnBeforeDropUp) OnBeforeDropUp(this);
    FUserDropDownWidth = FDropDownForm->width();
    FUserDropDownHeight = FDropDownForm->height();
    FDropDownForm->HidePopup();
    QToolTip::hideText();
    if (Cancel) SetText(FOldText);
    if (OnDropUp) OnDropUp(this, Cancel);
}

void TProCustomDropDown::DropDownFormHidden()
{
    FDroppedDown = false;
    if (focusPolicy() & Qt::TabFocus && isEnabled() && isVisible() && !hasFocus()) setFocus(Qt::PopupFocusReason);
}

void TProCustomDropDown::DropDownFormKeyDown(QKeyEvent* e)
{
    // keys pressed in the pop-up act as if typed in the edit
    keyPressEvent(e);
}

void TProCustomDropDown::RefreshForm()
{
    if (FDroppedDown && FDropDownForm) FDropDownForm->InitializeAndUpdate();
}

// ---- keys ------------------------------------------------------------------------------------

bool TProCustomDropDown::event(QEvent* e)
{
    if (e->type() == QEvent::ShortcutOverride) {
        // Escape and Enter belong to the edit while the form is open, so a dialog's buttons
        // do not take them
        auto* k = static_cast<QKeyEvent*>(e);
        if (FDroppedDown && (k->key() == Qt::Key_Escape || k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter)) {
            e->accept();
            return true;
        }
    }
    if (e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        if (FDroppedDown && (k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab)) DoHideDropDown(false);
    }
    return TCustomMaskEdit::event(e);
}

void TProCustomDropDown::keyPressEvent(QKeyEvent* e) { HandleKeyDown(e); }

void TProCustomDropDown::keyReleaseEvent(QKeyEvent* e) { TCustomMaskEdit::keyReleaseEvent(e); }

void TProCustomDropDown::HandleKeyDown(QKeyEvent* e)
{
    const int key = e->key();
    const bool alt = e->modifiers() & Qt::AltModifier;
    const bool ctrl = e->modifiers() & Qt::ControlModifier;
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    auto toggle = [this] {
        if (FDropDownForm && FDropDownForm->isVisible()) DoHideDropDown(false);
        else DoShowDropDown();
    };
    e->accept();
    if (alt && (key == Qt::Key_Up || key == Qt::Key_Down)) {
        toggle();
        return;
    }
    if (!FEditorEnabled) {
        if (isEnabled() && !isReadOnly()) {
            if (enter) DoHideDropDown(false);
            else if (key == Qt::Key_Escape) DoHideDropDown(true);
            else if (key == Qt::Key_F4) toggle();
        }
        // Enter and Escape go on to the dialog when they closed nothing
        if ((enter || key == Qt::Key_Escape) && !FDroppedDown) e->ignore();
        return;
    }
    if (ctrl && (key == Qt::Key_Tab || enter)) {
        e->ignore();
        return;
    }
    if (enter && ReturnIsTab) {
        if (FDroppedDown) DoHideDropDown(false);
        focusNextChild();
        return;
    }
    if (enter || key == Qt::Key_Escape) {
        const bool wasDropped = FDroppedDown;
        if (enter) {
            QChar k = QLatin1Char('\r');
            if (OnKeyPress) OnKeyPress(this, k);
            DoHideDropDown(false);
        } else {
            DoHideDropDown(true);
            if (!wasDropped && CanUndo) {
                SelectAll();
                SetModified(false);
                FIsModified = false;
            }
        }
        if (!wasDropped) e->ignore();
        return;
    }
    if (key == Qt::Key_F4) {
        toggle();
        return;
    }
    if (e->matches(QKeySequence::Cut)) {
        CutToClipboard();
        return;
    }
    if (e->matches(QKeySequence::Copy)) {
        CopyToClipboard();
        return;
    }
    if (e->matches(QKeySequence::Paste)) {
        PasteFromClipboard();
        return;
    }
    if (CaretRules(e)) return;
    if (HandleChar(e)) return;
    TCustomMaskEdit::keyPressEvent(e);
    if (key == Qt::Key_Delete && FEditType == etMoney) FormatThousands();
    if (cursorPosition() < P() && !hasSelectedText()) setCursorPosition(P());
}

// ---- focus and mouse -----------------------------------------------------------------------

void TProCustomDropDown::focusInEvent(QFocusEvent* e)
{
    const bool leftHeld = QApplication::mouseButtons() & Qt::LeftButton;
    const int caret = cursorPosition();
    const bool hadSelection = hasSelectedText();
    TCustomMaskEdit::focusInEvent(e);
    if (e->reason() == Qt::PopupFocusReason) return;
    // the line edit selects everything on Tab by itself; AutoSelect decides that here
    if (!AutoSelect && !hadSelection && hasSelectedText()) setCursorPosition(caret);
    if (FEditorEnabled) FOldString = Text();
    if (AutoSelect) {
        if (!leftHeld) SelectAll();
    } else if (FEditorEnabled && (FEditType == etFloat || FEditType == etMoney)) {
        SelectBeforeDecimal();
    }
    update();
}

void TProCustomDropDown::focusOutEvent(QFocusEvent* e)
{
    if (e->reason() != Qt::PopupFocusReason && !FDroppedDown) CompleteValue();
    TCustomMaskEdit::focusOutEvent(e);
    update();
}

void TProCustomDropDown::mousePressEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton && !FEditorEnabled) {
        setFocus(Qt::MouseFocusReason);
        ClickDropDown();
        return;
    }
    if (e->button() == Qt::LeftButton && hasSelectedText() && hasFocus()) {
        const int at = cursorPositionAt(e->position().toPoint());
        if (at >= selectionStart() && at <= selectionStart() + selectedText().size()) {
            FButtonDown = true;
            return;
        }
    }
    TCustomMaskEdit::mousePressEvent(e);
}

void TProCustomDropDown::mouseReleaseEvent(QMouseEvent* e)
{
    if (!FEditorEnabled || isReadOnly()) update();
    if (FButtonDown) {
        deselect();
        setCursorPosition(cursorPositionAt(e->position().toPoint()));
    }
    FButtonDown = false;
    TCustomMaskEdit::mouseReleaseEvent(e);
    if (!FEditorEnabled) return;
    // caret and selection stay in the value part
    const int p = P(), end = P() + V();
    if (hasSelectedText()) {
        const int s = selectionStart(), l = selectedText().size();
        if (s < p) SetSel(p, std::min(V(), std::max(0, s + l - p)));
        else if (s + l > end) SetSel(s, std::max(0, end - s));
    } else if (cursorPosition() < p) {
        SetSel(p, V());
    } else if (!FSuffix.isEmpty() && cursorPosition() > end) {
        setCursorPosition(end);
    }
}

void TProCustomDropDown::wheelEvent(QWheelEvent* e)
{
    TCustomMaskEdit::wheelEvent(e);
    if (e->angleDelta().y() < 0) HandleWheelDown();
    else if (e->angleDelta().y() > 0) HandleWheelUp();
}

void TProCustomDropDown::enterEvent(QEnterEvent* e)
{
    TCustomMaskEdit::enterEvent(e);
    if (isEnabled()) {
        FMouseInControl = true;
        update();
    }
}

void TProCustomDropDown::leaveEvent(QEvent* e)
{
    TCustomMaskEdit::leaveEvent(e);
    if (isEnabled()) {
        FMouseInControl = false;
        update();
    }
}

void TProCustomDropDown::changeEvent(QEvent* e)
{
    TCustomMaskEdit::changeEvent(e);
    if (e->type() == QEvent::EnabledChange) {
        FButton->setEnabled(isEnabled());
        if (FLabel && !LabelAlwaysEnabled) FLabel->setEnabled(isEnabled());
    } else if (e->type() == QEvent::FontChange) {
        SetEditRect();
        UpdateLabel();
    } else if (e->type() == QEvent::ReadOnlyChange) {
        FButton->Button()->update();
    }
}

// ---- layout ----------------------------------------------------------------------------------

int TProCustomDropDown::MinimumEditHeight() const
{
    const int tm = QFontMetrics(font()).height();
    const int sys = QFontMetrics(QApplication::font()).height();
    return tm + std::min(tm, sys) / 4;
}

void TProCustomDropDown::ResizeControl()
{
    if (!FButton) return;
    if (height() < MinimumEditHeight()) {
        resize(width(), MinimumEditHeight());
        return;
    }
    const int a = Flat ? 3 : 4;
    FButton->setGeometry(width() - FButtonWidth - a / 2, Flat ? 2 : a / 2, FButtonWidth, std::max(0, height() - a));
    SetEditRect();
    update();
}

void TProCustomDropDown::SetEditRect()
{
    setTextMargins(0, 0, FButtonWidth + 1, 0);
}

void TProCustomDropDown::resizeEvent(QResizeEvent* e)
{
    TCustomMaskEdit::resizeEvent(e);
    ResizeControl();
}

void TProCustomDropDown::moveEvent(QMoveEvent* e)
{
    TCustomMaskEdit::moveEvent(e);
    UpdateLabel();
}

void TProCustomDropDown::SetDropDownButtonWidth(int v)
{
    if (!FButton || v == FButtonWidth) return;
    FButtonWidth = v;
    FButton->SetButtonWidth(v);
    ResizeControl();
}

void TProCustomDropDown::SetDropDownButtonGlyph(const TBitmap& v) { FButton->SetGlyph(v); }

void TProCustomDropDown::SetDropDownButtonHint(const QString& v)
{
    if (v == FButtonHint) return;
    FButtonHint = v;
    FButton->setToolTip(v);
    FButton->Button()->setToolTip(v);
}

void TProCustomDropDown::SetEditorEnabled(bool v)
{
    FEditorEnabled = v;
    setCursor(v ? Qt::IBeamCursor : Qt::ArrowCursor);
    update();
}

void TProCustomDropDown::SetDropDownWidth(int v)
{
    FDropDownWidth = v;
    FUserDropDownWidth = -1;
}

void TProCustomDropDown::SetDropDownHeight(int v)
{
    FDropDownHeight = v;
    FUserDropDownHeight = -1;
}

void TProCustomDropDown::SetDropDownColor(TColor v)
{
    FDropDownColor = v;
    if (FDropDownForm) FDropDownForm->update();
}

// ---- colour styles ---------------------------------------------------------------------------

void TProCustomDropDown::SetComponentStyle(TProStyle AStyle)
{
    FStyle.SetComponentStyle(AStyle);
    if (AStyle == tsCustom) return;
    const TDropDownColors& c = FStyle.Colors;
    SetDropDownColor(c.DropDownColor);
    DropDownColorTo = c.DropDownColorTo;
    DropDownBorderColor = c.DropDownBorderColor;
    auto bar = [](THeaderAppearance& a, const TDropDownBarColors& b) {
        a.Color = b.Color;
        a.ColorTo = b.ColorTo;
        a.Font.SetColor(b.FontColor);
        a.BorderColor = b.BorderColor;
    };
    bar(*FDropDownHeader, c.Header);
    bar(*FDropDownFooter, c.Footer);
    FButtonAppearance->AssignColors(c.ButtonAppearance);
    RefreshForm();
}

void TProCustomDropDown::SetColorTones(const TColorTones& ATones)
{
    FStyle.SetColorTones(ATones);
    FButton->ButtonColor = ATones.Background.BrushColor;
    FButton->ButtonColorHot = ATones.Hover.BrushColor;
    FButton->ButtonColorDown = ATones.Selected.BrushColor;
    FButton->ButtonBorderColor = ATones.Background.BorderColor;
    SetBorderColor(ATones.Background.BorderColor);
    FButton->Button()->update();
}

// ---- border and focus drawing ----------------------------------------------------------------

void TProCustomDropDown::SetBorderColor(TColor v)
{
    if (FBorderColor == v) return;
    FBorderColor = v;
    update();
    FButton->Button()->update();
}

void TProCustomDropDown::SetFocusBorderColor(TColor v)
{
    FFocusBorderColor = v;
    update();
}

void TProCustomDropDown::SetDisabledBorder(bool v)
{
    if (FDisabledBorder == v) return;
    FDisabledBorder = v;
    update();
}

void TProCustomDropDown::paintEvent(QPaintEvent* e)
{
    TCustomMaskEdit::paintEvent(e);
    QPainter p(this);
    DrawBorder(p);
    DrawFocusText(p);
}

void TProCustomDropDown::DrawBorder(QPainter& p)
{
    if (isEnabled() && !Flat && FBorderColor == clNone && FFocusBorderColor == clNone) return;
    TCanvas c;
    c.BeginPaint(&p);
    const TRect r{0, 0, width(), height()};
    c.Brush()->SetStyle(bsClear);
    auto frame = [&](TColor color) {
        c.Brush()->SetColor(color);
        c.FrameRect(r);
    };
    if (!isEnabled() && FDisabledBorder) frame(0xC0C0C0);
    else if (FBorderColor != clNone) frame(hasFocus() && FFocusBorderColor != clNone ? FFocusBorderColor : FBorderColor);
    else if (FFocusBorderColor != clNone) {
        if (hasFocus()) frame(FFocusBorderColor);
    } else if (Flat) {
        if (FMouseInControl || hasFocus()) {
            TRect e = r;
            c.DrawEdge(e, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
            c.Brush()->SetColor(clBtnFace);
            c.FrameRect(e);
        } else {
            const TColor back = parentWidget() ? QColorToColor(parentWidget()->palette().color(QPalette::Window)) : clBtnFace;
            c.Brush()->SetColor(back);
            c.FrameRect(r);
            c.FrameRect({1, 1, width() - 1, height() - 1});
        }
    }
    c.EndPaint();
}

void TProCustomDropDown::DrawFocusText(QPainter& p)
{
    if (FEditorEnabled || !hasFocus() || !FocusDraw) return;
    TCanvas c;
    c.BeginPaint(&p);
    TRect r{2, 2, width() - FButtonWidth - 1, height() - 2};
    c.Brush()->SetColor(clHighlight);
    c.Pen()->SetColor(clBlack);
    c.Rectangle(r);
    c.Brush()->SetStyle(bsClear);
    c.Font()->SetName(font().family());
    c.Font()->SetColor(clHighlightText);
    TRect t{r.Left + 2, r.Top, r.Right - 3, r.Bottom};
    c.DrawText(Text(), t, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    c.EndPaint();
}

// ---- the attached label ----------------------------------------------------------------------

void TProCustomDropDown::SetLabelCaption(const QString& v)
{
    FLabelCaption = v;
    if (!FLabel) {
        FLabel = new TLabel(parentWidget());
        FLabel->SetFocusControl(this);
        FLabel->OnClick = [this](QObject*) { DoLabelClick(); };
        FLabel->OnDblClick = [this](QObject*) { DoLabelDblClick(); };
    }
    FLabel->setText(v);
    UpdateLabel();
}

void TProCustomDropDown::SetLabelFont(const TFont& v)
{
    FLabelFont.Assign(v);
    UpdateLabel();
}

void TProCustomDropDown::SetLabelMargin(int v)
{
    FLabelMargin = v;
    UpdateLabel();
}

void TProCustomDropDown::SetLabelPosition(TLabelPosition v)
{
    FLabelPosition = v;
    UpdateLabel();
}

void TProCustomDropDown::SetLabelTransparent(bool v)
{
    FLabelTransparent = v;
    UpdateLabel();
}

void TProCustomDropDown::DoLabelClick()
{
    if (OnLabelClick) OnLabelClick(this);
}

void TProCustomDropDown::DoLabelDblClick()
{
    if (OnLabelDblClick) OnLabelDblClick(this);
}

void TProCustomDropDown::UpdateLabel()
{
    if (!FLabel) return;
    FLabel->SetTransparent(FLabelTransparent);
    // an edit with a font of its own leaves the label its label font
    FLabel->setFont(testAttribute(Qt::WA_SetFont) ? FLabelFont.ToQFont() : font());
    const QFontMetrics fm(FLabel->font());
    const int Wt = fm.horizontalAdvance(FLabelCaption);
    FLabel->resize(Wt, fm.height());
    const int Lh = FLabel->height(), Lw = FLabel->width(), M = FLabelMargin;
    const int L = x(), T = y(), W = width(), H = height();
    const int vc = T + (H - Lh) / 2, hc = L + (W - Lw) / 2;
    QPoint at;
    switch (FLabelPosition) {
    case lpLeftTop: at = {L - Wt - M, T}; break;
    case lpLeftCenter: at = {L - Wt - M, vc}; break;
    case lpLeftBottom: at = {L - Wt - M, T + H - Lh}; break;
    case lpTopLeft: at = {L, T - Lh - M}; break;
    case lpBottomLeft: at = {L, T + H + M}; break;
    case lpLeftTopLeft: at = {L - M, T}; break;
    case lpLeftCenterLeft: at = {L - M, vc}; break;
    case lpLeftBottomLeft: at = {L - M, T + H - Lh}; break;
    case lpTopCenter: at = {hc, T - Lh - M}; break;
    case lpBottomCenter: at = {hc, T + H + M}; break;
    case lpRightTop: at = {L + W + M, T}; break;
    case lpRightCenter: at = {L + W + M, vc}; break;
    case lpRighBottom: at = {L + W + M, T + H - Lh}; break;
    case lpTopRight: at = {L + W - Lw, T - Lh - M}; break;
    case lpBottomRight: at = {L + W - Lw, T + H + M}; break;
    }
    FLabel->move(at);
    FLabel->setVisible(isVisibleTo(parentWidget()) || !parentWidget());
}

void TProCustomDropDown::contextMenuEvent(QContextMenuEvent* e)
{
    QMenu* menu = createStandardContextMenu();
    // the menu's clipboard entries go through the value part's rules
    for (QAction* a : menu->actions()) {
        std::function<void()> action;
        if (a->objectName() == QLatin1String("edit-cut")) action = [this] { CutToClipboard(); };
        else if (a->objectName() == QLatin1String("edit-copy")) action = [this] { CopyToClipboard(); };
        else if (a->objectName() == QLatin1String("edit-paste")) action = [this] { PasteFromClipboard(); };
        if (!action) continue;
        a->disconnect();
        connect(a, &QAction::triggered, this, action);
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(e->globalPos());
}

void TProCustomDropDown::Assign(const TProCustomDropDown& s)
{
    FocusDraw = s.FocusDraw;
    ForceShadow = s.ForceShadow;
    DropDownEnabled = s.DropDownEnabled;
    SetDropDownColor(s.FDropDownColor);
    DropDownColorTo = s.DropDownColorTo;
    DropDownGradient = s.DropDownGradient;
    DropDownBorderColor = s.DropDownBorderColor;
    DropDownBorderWidth = s.DropDownBorderWidth;
    DropDownShadow = s.DropDownShadow;
    SetDropDownWidth(s.FDropDownWidth);
    SetDropDownHeight(s.FDropDownHeight);
    DropDownSizeable = s.DropDownSizeable;
    SetEditType(s.FEditType);
    ReturnIsTab = s.ReturnIsTab;
    LengthLimit = s.LengthLimit;
    SetPrecision(s.FPrecision);
    SetPrefix(s.FPrefix);
    SetSuffix(s.FSuffix);
    DefaultHandling = s.DefaultHandling;
    CanUndo = s.CanUndo;
    ExcelStyleDecimalSeparator = s.ExcelStyleDecimalSeparator;
    ValidChars = s.ValidChars;
    Signed = s.Signed;
    AutoThousandSeparator = s.AutoThousandSeparator;
    FButtonAppearance->Assign(*s.FButtonAppearance);
    FDropDownHeader->Assign(*s.FDropDownHeader);
    FDropDownFooter->Assign(*s.FDropDownFooter);
    DropPosition = s.DropPosition;
    Flat = s.Flat;
    SetDropDownButtonWidth(s.FButtonWidth);
    SetDropDownButtonHint(s.FButtonHint);
    FEditorEnabled = s.FEditorEnabled;
    FButton->SetGlyph(s.FButton->Glyph());
    FButton->SetButtonCaption(s.FButton->ButtonCaption());
    Etched = s.Etched;
    FImages = s.FImages;
    SetSelectionColorStyle(s.SelectionColorStyle());
    SetSelectionColor(s.SelectionColor());
    SetSelectionColorTo(s.SelectionColorTo());
}
