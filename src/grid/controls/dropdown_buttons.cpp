// The drop-down arrow button and the header and footer push buttons.
#include "grid/controls/dropdown_buttons.h"

#include "grid/controls/pro_custom_dropdown.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/image_list.h"

#include <QDialog>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

// ---- the speed button ----------------------------------------------------------------------

TProDropDownSpeedButton::TProDropDownSpeedButton(TDropDownEditButton* AHolder) : TSpeedButton(AHolder), FHolder(AHolder) {}

void TProDropDownSpeedButton::SetButtonStyle(TButtonStyle v)
{
    FButtonStyle = v;
    update();
}

void TProDropDownSpeedButton::SetEtched(bool v)
{
    if (FEtched == v) return;
    FEtched = v;
    update();
}

void TProDropDownSpeedButton::SetFocused(bool v)
{
    if (FFocused == v) return;
    FFocused = v;
    update();
}

void TProDropDownSpeedButton::Paint(TCanvas& Canvas)
{
    if (FButtonStyle == bsDropDown) PaintDropDown(Canvas);
    else PaintButton(Canvas);
}

namespace {

void Arrow(TCanvas& Canvas, TColor Color)
{
    Canvas.Pen()->SetColor(Color);
    Canvas.Brush()->SetColor(Color);
    Canvas.Polygon({{5, 7}, {11, 7}, {8, 10}});
}

// The themed state: 4 disabled, 3 pressed, 2 hot, 1 normal.
int ThemeState(bool Enabled, bool Pressed, bool Hot) { return !Enabled ? 4 : Pressed ? 3 : Hot ? 2 : 1; }

} // namespace

void TProDropDownSpeedButton::PaintDropDown(TCanvas& Canvas)
{
    const TRect r{0, 0, width(), height()};
    TProCustomDropDown* edit = FHolder->FocusControl();
    if (FHolder->ButtonColor == clNone) {
        if (FGlyph.Width() > 0 && FGlyph.Height() > 0) {
            Canvas.Brush()->SetColor(clBtnFace);
            Canvas.FillRect(r);
            Canvas.Brush()->SetColor(0x808080);
            Canvas.FrameRect(r);
            TBitmap glyph;
            glyph.Assign(FGlyph);
            glyph.SetTransparent(true);
            Canvas.Draw(0, 0, glyph);
            return;
        }
        const bool enabled = edit ? edit->isEnabled() && !edit->isReadOnly() : isEnabled();
        if (enabled != isEnabled()) setEnabled(enabled);
        if (IsWinXP) {
            TRect t = r;
            t.Left += 1;
            Canvas.DrawThemeBackground(this, QStringLiteral("combobox"), 1, ThemeState(enabled, Pressed(), Hot()), t);
            return;
        }
        TRect t = r;
        Canvas.DrawFrameControl(t, DFC_BUTTON, DFCS_BUTTONPUSH | (Pressed() ? uint32_t(DFCS_PUSHED) : 0u) | (enabled ? 0u : uint32_t(DFCS_INACTIVE)));
        Canvas.Pen()->SetColor(clBtnFace);
        Canvas.MoveTo(width() - 2, 0);
        Canvas.LineTo(0, 0);
        Canvas.LineTo(0, height() - 1);
        Canvas.Pen()->SetColor(clWhite);
        Canvas.MoveTo(width() - 3, 1);
        Canvas.LineTo(1, 1);
        Canvas.LineTo(1, height() - 2);
        Arrow(Canvas, enabled ? clBlack : 0x808080);
        return;
    }
    // colour tones: flat, in the holder's colours
    const bool down = Pressed();
    const bool hot = Hot();
    TColor face = FHolder->ButtonColor, text = FHolder->ButtonTextColor;
    if (down) {
        if (FHolder->ButtonColorDown != clNone) face = FHolder->ButtonColorDown;
        if (FHolder->ButtonTextColorDown != clNone) text = FHolder->ButtonTextColorDown;
    } else if (hot) {
        if (FHolder->ButtonColorHot != clNone) face = FHolder->ButtonColorHot;
        if (FHolder->ButtonTextColorHot != clNone) text = FHolder->ButtonTextColorHot;
    }
    Canvas.Brush()->SetColor(face);
    Canvas.FillRect(r);
    const TColor border = edit ? edit->BorderColor() : clNone;
    if (border != clNone) {
        Canvas.Pen()->SetColor(border);
        Canvas.MoveTo(0, 0);
        Canvas.LineTo(0, height());
    }
    Arrow(Canvas, text == clNone ? clBlack : text);
}

void TProDropDownSpeedButton::PaintButton(TCanvas& Canvas)
{
    const TRect r{0, 0, width(), height()};
    TProCustomDropDown* edit = FHolder->FocusControl();
    if (edit) Canvas.Font()->SetName(edit->font().family());
    const bool down = Pressed();
    const int shift = down ? 1 : 0;
    const bool hasGlyph = FGlyph.Width() > 0 && FGlyph.Height() > 0;
    if (IsWinXP) {
        Canvas.Brush()->SetColor(clBtnFace);
        Canvas.FillRect(r);
        Canvas.DrawThemeBackground(this, QStringLiteral("button"), 1, ThemeState(isEnabled(), down, Hot()),
                                   {0, 0, width() + 1, height() + 1});
    } else {
        Canvas.Brush()->SetColor(clBtnFace);
        Canvas.FillRect(r);
        TRect e{0, 0, width() + 1, height() + 1};
        if (!down) Canvas.DrawEdge(e, FEtched ? EDGE_ETCHED : EDGE_RAISED, BF_RECT);
    }
    int textLeft = 3;
    if (hasGlyph) {
        TRect g{2, 2, width() - 2, height() - 2};
        int x = g.Left, y = g.Top;
        if (FCaption.isEmpty() && FGlyph.Width() <= g.Width()) x = g.Left + (g.Width() - FGlyph.Width()) / 2;
        if (FGlyph.Height() <= g.Height()) y = g.Top + (g.Height() - FGlyph.Height()) / 2;
        DrawTransparentGlyph(&Canvas, FGlyph, clBtnFace, Bounds(x + shift, y + shift, FGlyph.Width(), FGlyph.Height()));
        textLeft = x + FGlyph.Width() + 2;
    }
    if (!FCaption.isEmpty()) {
        Canvas.Brush()->SetStyle(bsClear);
        Canvas.Font()->SetColor(isEnabled() ? clBtnText : clGrayText);
        if (!hasGlyph) {
            TRect t{3 + shift, 1 + shift, width() - 3 + shift, height() - 1 + shift};
            Canvas.DrawText(FCaption, t, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        } else {
            TRect t{textLeft + shift, shift - 1, width() + shift, height() - 1 + shift};
            Canvas.DrawText(FCaption, t, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
        }
    }
}

// ---- the holder --------------------------------------------------------------------------

TDropDownEditButton::TDropDownEditButton(QWidget* AParent) : QWidget(AParent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    FButton = new TProDropDownSpeedButton(this);
    FButton->SetButtonStyle(bsDropDown);
    FButton->OnMouseUp = [this](QWidget*, Qt::MouseButton b, const QPoint& at) {
        if (b == Qt::LeftButton && FButton->rect().contains(at) && OnClick) OnClick(this);
    };
    resize(16, 25);
}

void TDropDownEditButton::SetButtonWidth(int v)
{
    FBWidth = v;
    resize(v, height());
}

void TDropDownEditButton::resizeEvent(QResizeEvent*)
{
    if (width() != FBWidth) {
        resize(FBWidth, height());
        return;
    }
    FButton->setGeometry(0, 0, FBWidth, height());
}

void TDropDownEditButton::changeEvent(QEvent* e)
{
    if (e->type() == QEvent::EnabledChange) FButton->setEnabled(isEnabled());
    QWidget::changeEvent(e);
}

// ---- the push-button appearance ------------------------------------------------------------

TProButtonAppearance::TProButtonAppearance()
    : FColorChecked(ScaleColorChannels(0xF5F0E1, -10, -10, 0)), FColorCheckedTo(ScaleColorChannels(0xF9D2B2, -10, -10, 0))
{
}

void TProButtonAppearance::Assign(const TProButtonAppearance& s)
{
    SetColor(s.FColor);
    SetColorTo(s.FColorTo);
    SetColorHot(s.FColorHot);
    SetColorHotTo(s.FColorHotTo);
    SetColorDown(s.FColorDown);
    SetColorDownTo(s.FColorDownTo);
    SetColorChecked(s.FColorChecked);
    SetColorCheckedTo(s.FColorCheckedTo);
    SetColorDisabled(s.FColorDisabled);
    SetColorDisabledTo(s.FColorDisabledTo);
    SetBorderColor(s.FBorderColor);
    SetBorderColorHot(s.FBorderColorHot);
    SetBorderColorDown(s.FBorderColorDown);
    SetBorderColorChecked(s.FBorderColorChecked);
    SetBorderColorDisabled(s.FBorderColorDisabled);
    SetGradient(s.FGradient);
}

void TProButtonAppearance::AssignColors(const TDropDownButtonColors& c)
{
    SetColor(c.Color);
    SetColorTo(c.ColorTo);
    SetBorderColor(c.BorderColor);
    SetColorHot(c.ColorHot);
    SetColorHotTo(c.ColorHotTo);
    SetBorderColorHot(c.BorderColorHot);
    SetColorDown(c.ColorDown);
    SetColorDownTo(c.ColorDownTo);
    SetBorderColorDown(c.BorderColorDown);
    SetColorDisabled(c.ColorDisabled);
    SetColorDisabledTo(c.ColorDisabledTo);
    SetColorChecked(c.ColorChecked);
    SetColorCheckedTo(c.ColorCheckedTo);
    SetBorderColorChecked(c.BorderColorChecked);
}

void TProButtonAppearance::SetGradient(TGradientDirection v)
{
    if (FGradient == v) return;
    FGradient = v;
    Changed();
}

// ---- the push button ---------------------------------------------------------------------

TProButton::TProButton(QWidget* AParent) : QWidget(AParent)
{
    setAttribute(Qt::WA_Hover);
    setFocusPolicy(Qt::TabFocus);
    resize(23, 22);
}

void TProButton::SetAppearance(TProButtonAppearance* v)
{
    FAppearance = v;
    update();
}

void TProButton::SetCaption(const QString& v)
{
    FCaption = v;
    // the caption's accelerator character clicks the button
    if (FShortcutId) releaseShortcut(FShortcutId);
    const QKeySequence mnemonic = QKeySequence::mnemonic(v);
    FShortcutId = mnemonic.isEmpty() ? 0 : grabShortcut(mnemonic);
    update();
}

void TProButton::SetImages(TCustomImageList* v)
{
    FImages = v;
    update();
}

void TProButton::SetImageIndex(int v)
{
    FImageIndex = v;
    update();
}

void TProButton::AutoSizeButton()
{
    if (!FAppearance) return;
    TCanvas c;
    c.SetFont(FAppearance->Font());
    QSize s = MeasureText(&c, FCaption);
    if (FImages && FImageIndex >= 0) s = s.expandedTo(QSize(FImages->Width(), FImages->Height()));
    resize(s.width() + 8, s.height() + 4);
}

void TProButton::DrawButton(TCanvas& Canvas)
{
    if (!FAppearance) return;
    const TProButtonAppearance& a = *FAppearance;
    TColor from, to, border;
    if (!isEnabled()) {
        from = a.ColorDisabled(), to = a.ColorDisabledTo(), border = a.BorderColorDisabled();
    } else if (FMouseDownInControl && FMouseInControl) {
        from = a.ColorDown(), to = clNone, border = a.BorderColorDown();
    } else if (FDown) {
        from = a.ColorChecked(), to = clNone, border = a.BorderColorChecked();
    } else if (FMouseInControl || hasFocus()) {
        from = a.ColorHot(), to = clNone, border = a.BorderColorHot();
    } else {
        from = a.Color(), to = a.ColorTo(), border = a.BorderColor();
    }
    const TRect r{0, 0, width(), height()};
    DrawBackgroundRect(&Canvas, r, from, to, border, 1, a.Gradient() == gdVertical);
    Canvas.Brush()->SetStyle(bsClear);
    Canvas.SetFont(a.Font());
    DrawImageAndText(&Canvas, r, FCaption, FImages, FImageIndex);
}

void TProButton::paintEvent(QPaintEvent* e)
{
    if (!isEnabled()) {
        FState = absDisabled;
        FDragging = false;
    } else if (FState == absDisabled) {
        FState = FDown && FGroupIndex != 0 ? absExclusive : absUp;
    }
    if (FStyle == tasCheck && FDown) FState = absDown;
    QPainter p(this);
    TCanvas c;
    c.BeginPaint(&p, e->region());
    DrawButton(c);
    c.EndPaint();
}

void TProButton::mousePressEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton || !isEnabled()) return;
    FMouseDownInControl = true;
    FMouseInControl = true;
    if (!FDown) FState = absDown;
    if (FStyle == tasCheck) FState = absDown;
    FDragging = true;
    update();
}

void TProButton::mouseMoveEvent(QMouseEvent* e)
{
    if (!FDragging) return;
    const QPoint p = e->position().toPoint();
    const bool inside = p.x() >= 0 && p.x() < width() && p.y() >= 0 && p.y() <= height();
    TProButtonState s = FDown ? absExclusive : absUp;
    if (inside) s = FDown ? absExclusive : absDown;
    if (FStyle == tasCheck && FDown) s = absDown;
    FMouseInControl = inside;
    if (s != FState) {
        FState = s;
        update();
    }
}

void TProButton::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton) return;
    FMouseDownInControl = false;
    update();
    if (!FDragging) return;
    FDragging = false;
    const bool inside = rect().contains(e->position().toPoint());
    if (FGroupIndex != 0) {
        if (inside) SetDown(!FDown);
        else if (FDown) FState = absExclusive;
    } else {
        FState = absUp;
        if (FStyle == tasCheck) SetDown(!FDown);
    }
    FMouseInControl = inside;
    if (inside) Click();
}

void TProButton::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter || e->key() == Qt::Key_Space) {
        if (!FDown) FState = absDown;
        update();
        FInternalClick = true;
        Click();
        FInternalClick = false;
        return;
    }
    QWidget::keyPressEvent(e);
}

void TProButton::enterEvent(QEnterEvent*)
{
    FMouseInControl = true;
    if (isEnabled()) update();
    if (OnMouseEnter) OnMouseEnter(this);
}

void TProButton::leaveEvent(QEvent*)
{
    FMouseInControl = false;
    if (isEnabled()) update();
    if (OnMouseLeave) OnMouseLeave(this);
}

void TProButton::changeEvent(QEvent* e)
{
    if (e->type() == QEvent::EnabledChange) update();
    QWidget::changeEvent(e);
}

bool TProButton::event(QEvent* e)
{
    if (e->type() == QEvent::FocusIn || e->type() == QEvent::FocusOut) update();
    if (e->type() == QEvent::Shortcut && isEnabled()) {
        Click();
        return true;
    }
    return QWidget::event(e);
}

void TProButton::SetDown(bool Value)
{
    if (FGroupIndex == 0 && FStyle == tasButton) Value = false;
    if (FStyle == tasCheck) {
        FDown = Value;
        FState = Value ? absDown : absUp;
        update();
        return;
    }
    if (Value == FDown || (FDown && !FAllowAllUp)) return;
    FDown = Value;
    FState = Value ? absExclusive : absUp;
    update();
    if (Value && parentWidget())
        for (TProButton* b : parentWidget()->findChildren<TProButton*>(Qt::FindDirectChildrenOnly))
            if (b != this) b->ButtonPressed(this);
}

void TProButton::ButtonPressed(TProButton* Sender)
{
    if (Sender->FGroupIndex != FGroupIndex || !Sender->FDown) return;
    if (FDown) {
        FDown = false;
        FState = absUp;
        update();
    }
    FAllowAllUp = Sender->FAllowAllUp;
}

void TProButton::Click()
{
    if (auto* form = qobject_cast<QDialog*>(window())) form->setResult(FModalResult);
    if (FProDropDown) {
        switch (FModalResult) {
        case mrOk: case mrYes: case 12: case 14: FProDropDown->HideDropDown(false); break;
        case mrCancel: case mrAbort: case mrIgnore: case mrNo: case 13: FProDropDown->HideDropDown(true); break;
        default: break;
        }
    }
    if (!FInternalClick && OnClick) OnClick(this);
}
