#include "grid/base/grid_controls.h"

#include "grid/base/theme.h"
#include "platform/core/sysutils.h"

#include <QApplication>
#include <algorithm>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>


namespace {

QString StripAccel(const QString& Caption)
{
    QString s;
    for (int i = 0; i < Caption.size(); ++i) {
        if (Caption[i] == QLatin1Char('&') && i + 1 < Caption.size()) ++i;
        s += Caption[i];
    }
    return s;
}

int GrabAccel(QWidget* W, int OldId, const QString& Caption)
{
    if (OldId) W->releaseShortcut(OldId);
    const QKeySequence k = QKeySequence::mnemonic(Caption);
    return k.isEmpty() ? 0 : W->grabShortcut(k);
}

TFont FontOf(const QWidget* W)
{
    TFont f;
    const QFont q = W->font();
    f.SetName(q.family());
    if (q.pixelSize() > 0) f.SetHeight(-q.pixelSize());
    else f.SetSize(q.pointSize());
    return f;
}

}  // namespace

// ---- button --------------------------------------------------------------------------------

TProGridButton::TProGridButton(QWidget* AOwner) : QWidget(AOwner)
{
    FIsComCtl6 = IsComCtl6();
    FFont = FontOf(this);
    FFont.SetColor(clBtnText);
    setGeometry(0, 0, 22, 23);
    setMouseTracking(true);
    setAttribute(Qt::WA_Hover, false);
    FGlyph.OnChange = [this](TObject*) { update(); };
    FCaption = QString();
}

TProGridButton::~TProGridButton() { FGlyph.OnChange = nullptr; }

void TProGridButton::SetCaption(const QString& v)
{
    if (FCaption == v) return;
    FCaption = v;
    FShortcutId = GrabAccel(this, FShortcutId, v);
    update();
}

void TProGridButton::AssignGlyph(TBitmap& Target, const TBitmap& Source)
{
    Target.Assign(Source);
    if (!Target.Empty()) Target.SetTransparent(true);
    update();
}

void TProGridButton::SetGlyph(const TBitmap& v)
{
    AssignGlyph(FGlyph, v);
    if (FGlyphDisabled.Empty() && !FGlyph.Empty()) {
        QImage img = FGlyph.Image().convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                const QRgb p = img.pixel(x, y);
                const int g = int(Round((qRed(p) + qGreen(p) + qBlue(p)) / 3.0)) / 2 + 96;
                img.setPixel(x, y, qRgb(g, g, g));
            }
        FGlyphDisabled.LoadFromImage(img);
        FGlyphDisabled.SetTransparent(true);
    }
    BuildShade();
}

void TProGridButton::SetShaded(bool v)
{
    if (FShaded == v) return;
    FShaded = v;
    BuildShade();
    update();
}

void TProGridButton::BuildShade()
{
    if (FGlyph.Empty()) {
        FGlyphShade.SetSize(0, 0);
        return;
    }
    const QImage src = FGlyph.Image().convertToFormat(QImage::Format_RGB32);
    const QRgb clear = src.pixel(0, src.height() - 1);
    // The background of the shadow is the glyph's transparent colour, unless that is the
    // shadow's own grey.
    const QRgb back = (clear & 0xFFFFFF) == 0x808080 ? qRgb(255, 255, 255) : clear;
    QImage img(src.size(), QImage::Format_RGB32);
    for (int y = 0; y < src.height(); ++y)
        for (int x = 0; x < src.width(); ++x) img.setPixel(x, y, src.pixel(x, y) != clear ? qRgb(128, 128, 128) : back);
    FGlyphShade.LoadFromImage(img);
    FGlyphShade.SetTransparent(true);
}

void TProGridButton::SetGroupIndex(int v)
{
    if (FGroupIndex == v) return;
    FGroupIndex = v;
    UpdateExclusive();
}

void TProGridButton::SetAllowAllUp(bool v)
{
    if (FAllowAllUp == v) return;
    FAllowAllUp = v;
    UpdateExclusive();
}

void TProGridButton::SetDown(bool v)
{
    if (FGroupIndex == 0 && FStyle == tasButton) v = false;
    if (FStyle == tasCheck) {
        FDown = v;
        update();
        return;
    }
    if (v == FDown) return;
    if (FDown && !FAllowAllUp) return;
    FDown = v;
    FState = v ? bsExclusive : bsUp;
    update();
    if (v) UpdateExclusive();
}

// The parent's controls all hear of it; every other button of the group that is down goes up.
void TProGridButton::UpdateExclusive()
{
    if (FGroupIndex == 0 || !parentWidget()) return;
    for (QObject* o : parentWidget()->children())
        if (auto* b = dynamic_cast<TProGridButton*>(o)) b->ButtonPressed(FGroupIndex, this);
}

void TProGridButton::ButtonPressed(int Group, TProGridButton* Sender)
{
    if (Group != FGroupIndex || Sender == this) return;
    if (Sender->Down() && FDown) {
        FDown = false;
        FState = bsUp;
        update();
    }
    FAllowAllUp = Sender->AllowAllUp();
}

void TProGridButton::SetLook(int v)
{
    struct Preset {
        TColor Color, ColorTo, Hot, HotTo, Down, DownTo, Checked, CheckedTo, BorderDown, BorderHot;
    };
    static const Preset blue = {0xFDEADA, 0xE4AE88, 0xCCF4FF, 0x91D0FF, 0x4E91FE, 0x8ED3FF, 0x8ED3FF, 0x55ADFF, 0, 0};
    static const Preset presets[7] = {
        {0xEDF1F1, 0xDFEBEB, 0xFAFCFC, 0xE5ECED, 0xE0E6E7, 0xD8E0E1, 0xFFFFFF, clNone, 0xAF987A, 0xC3CECE},
        {clBtnFace, clNone, 0xEED2C1, clNone, 0xE2B598, clNone, 0xE8E6E1, clNone, 0xC56A31, 0xC56A31},
        blue,
        {0xCFF0EA, 0x8CC0B1, blue.Hot, blue.HotTo, blue.Down, blue.DownTo, blue.Checked, blue.CheckedTo, 0, 0},
        {0xECE2E1, 0xB39698, blue.Hot, blue.HotTo, blue.Down, blue.DownTo, blue.Checked, blue.CheckedTo, 0, 0},
        {clBtnFace, clNone, clBtnFace, clNone, 0xD8D3D2, clNone, 0xCAC7C7, clNone, clNone, clNone},
        {0xCAFFFF, 0xA6FFFF, 0xA8F0FD, 0x7CE9FC, 0x4DE0FB, 0x7AE9FC, 0xB5E6F2, 0x9CDDED, 0x808080, 0x808080},
    };
    if (v < 0 || v > 6) return;
    const Preset& p = presets[v];
    FLook = v;
    FColor = p.Color;
    FColorTo = p.ColorTo;
    FColorHot = p.Hot;
    FColorHotTo = p.HotTo;
    FColorDown = p.Down;
    FColorDownTo = p.DownTo;
    FColorChecked = p.Checked;
    FColorCheckedTo = p.CheckedTo;
    FBorderDownColor = p.BorderDown;
    FBorderHotColor = p.BorderHot;
    FBorderColor = clNone;
    FFlat = true;
    FRounded = v == 0;
    update();
}

void TProGridButton::SetAutoThemeAdapt(bool v)
{
    FAutoThemeAdapt = v;
    if (v) ThemeAdapt();
}

void TProGridButton::ThemeAdapt()
{
    switch (IsThemeActive() ? GetXPThemeScheme() : 0) {
    case 1: SetLook(2); break;
    case 2: SetLook(3); break;
    case 3: SetLook(4); break;
    default: SetLook(1); break;
    }
}

void TProGridButton::Click() { FireNotify(OnClick, this); }

void TProGridButton::UpdateTracking()
{
    if (!isEnabled()) return;
    const bool in = rect().contains(mapFromGlobal(QCursor::pos())) && underMouse();
    if (in == FMouseInControl) return;
    FMouseInControl = in;
    update();
}

void TProGridButton::mousePressEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton || !isEnabled()) return;
    const QPoint p = e->position().toPoint();
    if (FDropDownButton && p.x() >= width() - 12) {
        FState = bsUp;
        update();
        FireNotify(OnDropDown, this);
        if (FDropDownMenu) FDropDownMenu->popup(mapToGlobal(QPoint(0, height())));
        return;
    }
    if (!FDown || FStyle == tasCheck) {
        FState = bsDown;
        update();
    }
    FDragging = true;
}

void TProGridButton::mouseMoveEvent(QMouseEvent* e)
{
    if (!FDragging) return;
    const QPoint p = e->position().toPoint();
    const bool inside = p.x() >= 0 && p.x() < width() && p.y() >= 0 && p.y() <= height();
    TButtonState s = inside ? bsDown : bsUp;
    if (FDown) s = bsExclusive;
    if (FDown && FStyle == tasCheck) s = bsDown;
    if (s != FState) {
        FState = s;
        update();
    }
}

void TProGridButton::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton || !FDragging) return;
    FDragging = false;
    const QPoint p = e->position().toPoint();
    const bool inside = p.x() >= 0 && p.x() < width() && p.y() >= 0 && p.y() <= height();
    if (FGroupIndex == 0) {
        FState = bsUp;
        if (FStyle == tasCheck && inside) SetDown(!FDown);
    } else if (inside) {
        SetDown(!FDown);
        if (FDown) FState = bsExclusive;
        else FState = bsUp;
    } else if (FDown) {
        FState = bsExclusive;
    } else {
        FState = bsUp;
    }
    update();
    if (inside) Click();
}

void TProGridButton::mouseDoubleClickEvent(QMouseEvent*)
{
    if (FDown) FireNotify(OnDblClick, this);
}

void TProGridButton::enterEvent(QEnterEvent*)
{
    if (FDragging || !isEnabled()) return;
    FMouseInControl = true;
    update();
    FireNotify(OnMouseEnter, this);
}

void TProGridButton::leaveEvent(QEvent*)
{
    if (FDragging) return;
    if (FMouseInControl) {
        FMouseInControl = false;
        update();
    }
    FireNotify(OnMouseLeave, this);
}

void TProGridButton::changeEvent(QEvent* e)
{
    // A new desktop look or font: a theme-adapting button takes the matching look.
    if ((e->type() == QEvent::StyleChange || e->type() == QEvent::ApplicationFontChange) && FAutoThemeAdapt)
        ThemeAdapt();
    if (e->type() == QEvent::EnabledChange) {
        if (!isEnabled()) FMouseInControl = false;
        else UpdateTracking();
        update();
    }
    QWidget::changeEvent(e);
}

bool TProGridButton::event(QEvent* e)
{
    if (e->type() == QEvent::Shortcut && static_cast<QShortcutEvent*>(e)->shortcutId() == FShortcutId) {
        if (isEnabled()) Click();
        return true;
    }
    return QWidget::event(e);
}

bool TProGridButton::Pressed() const { return FState == bsDown && (FStyle != tasCheck || FDragging); }

void TProGridButton::DrawFill(TCanvas* Canvas, const TRect& R, TColor S, TColor E, TColor B)
{
    if (E == clNone) {
        Canvas->Brush()->SetStyle(bsSolid);
        Canvas->Brush()->SetColor(S);
        Canvas->Pen()->SetColor(B == clNone ? S : B);
        Canvas->Rectangle(R);
        return;
    }
    const TColor s = ColorToRGB(S), d = ColorToRGB(E);
    const int h = R.Height();
    Canvas->Brush()->SetStyle(bsSolid);
    for (int i = 0; i < 16; ++i) {
        auto step = [i](int a, int b) { return a + int(Round(double(i) * (b - a) / 16)); };
        Canvas->Brush()->SetColor(RGB(step(GetRValue(s), GetRValue(d)), step(GetGValue(s), GetGValue(d)),
                                      step(GetBValue(s), GetBValue(d))));
        const int top = R.Top + int(Round(double(i) * h / 16));
        const int next = R.Top + int(Round(double(i + 1) * h / 16));
        Canvas->FillRect(TRect{R.Left, top, R.Right, std::min(R.Bottom, next + 1)});
    }
    if (B != clNone) {
        Canvas->Brush()->SetColor(B);
        Canvas->FrameRect(R);
    }
}

void TProGridButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    TCanvas c;
    c.BeginPaint(&p);
    Paint(&c);
    c.EndPaint();
}

void TProGridButton::Paint(TCanvas* Canvas)
{
    // The state the look is drawn for: disabled follows the control, a checked button is down.
    if (!isEnabled()) {
        FState = bsDisabled;
        FDragging = false;
    } else if (FState == bsDisabled) {
        FState = FDown && FGroupIndex != 0 ? bsExclusive : bsUp;
    }
    if (FStyle == tasCheck && FDown) FState = bsDown;

    TRect R{0, 0, width(), height()};
    Canvas->Font()->Assign(FFont);
    const bool hot = FMouseInControl && isEnabled();
    const bool pressed = Pressed();

    // The face: flat gradients and borders (hot, pressed or checked), or the system's push button.
    if (FFlat) {
        if (FBorderDownColor == clNone || FRounded) InflateRect(R, -1, -1);
        Canvas->Pen()->SetWidth(1);
        if (!hot) {
            if (FStyle == tasCheck && FDown) {
                DrawFill(Canvas, R, FColorChecked, FColorCheckedTo, FBorderDownColor);
            } else if (FColorTo == clNone) {
                Canvas->Brush()->SetStyle(bsSolid);
                Canvas->Brush()->SetColor(FColor);
                Canvas->FillRect(R);
            } else {
                DrawFill(Canvas, R, FColor, FColorTo, FRounded ? clNone : (FDown ? FBorderDownColor : FBorderColor));
            }
            if (FBorderColor != clNone) {
                if (FRounded) {
                    Canvas->Brush()->SetStyle(bsClear);
                    Canvas->Pen()->SetColor(FBorderColor);
                    Canvas->RoundRect(R.Left - 1, R.Top - 1, R.Right + 1, R.Bottom + 1, 8, 8);
                    Canvas->Brush()->SetStyle(bsSolid);
                } else {
                    Canvas->Brush()->SetColor(FBorderColor);
                    Canvas->FrameRect(R);
                }
            }
        } else {
            TColor s = FColorHot, e = FColorHotTo, b = FBorderHotColor;
            if (pressed) {
                s = FColorDown;
                e = FColorDownTo;
                b = FBorderDownColor;
            } else if (FStyle == tasCheck && FDown) {
                s = FColorChecked;
                e = FColorCheckedTo;
                b = FBorderDownColor;
            }
            DrawFill(Canvas, R, s, e, FRounded ? clNone : b);
            const TColor frame = pressed ? FBorderDownColor : FBorderHotColor;
            if (FRounded && frame != clNone) {
                Canvas->Brush()->SetStyle(bsClear);
                Canvas->Pen()->SetColor(frame);
                Canvas->RoundRect(R.Left - 1, R.Top - 1, R.Right + 1, R.Bottom + 1, 8, 8);
                Canvas->Brush()->SetStyle(bsSolid);
            }
            if (FDropDownButton && b != clNone) {
                Canvas->Pen()->SetColor(b);
                Canvas->MoveTo(R.Right - 12, R.Top);
                Canvas->LineTo(R.Right - 12, R.Bottom);
            }
        }
        InflateRect(R, -1, -1);
    } else {
        uint32_t state = DFCS_BUTTONPUSH;
        if (FState == bsDown || FState == bsExclusive) state |= DFCS_PUSHED;
        if (hot) state |= DFCS_HOT;
        if (!isEnabled()) state |= DFCS_INACTIVE;
        Canvas->DrawFrameControl(R, DFC_BUTTON, state);
        InflateRect(R, -2, -2);
    }

    // A down button: an exclusive one gets the checked fill, a raised (not flat) one shifts glyph
    // and caption by a pixel.  A hot, shaded flat button lifts its glyph instead.
    QPoint glyphShift(0, 0), textShift(0, 0);
    if (FState == bsDown || FState == bsExclusive) {
        if (FState == bsExclusive && (!FFlat || !hot)) {
            TRect f = R;
            InflateRect(f, 1, 1);
            if (FColorCheckedTo != clNone) {
                DrawFill(Canvas, f, FColorChecked, FColorCheckedTo, clNone);
            } else {
                Canvas->Brush()->SetColor(FColorChecked);
                Canvas->FillRect(f);
            }
        }
        if (!FFlat) glyphShift = textShift = QPoint(1, 1);
    } else if (hot && FFlat && FShaded && isEnabled()) {
        glyphShift = QPoint(-1, -1);
    }

    // The drop-down triangle takes the right 12 pixels.
    if (FDropDownButton) {
        const int m = R.Top + R.Height() / 2;
        Canvas->Brush()->SetStyle(bsSolid);
        Canvas->Brush()->SetColor(FFont.Color());
        Canvas->Pen()->SetColor(FFont.Color());
        Canvas->Polygon({{R.Right - 8, m - 1}, {R.Right - 4, m - 1}, {R.Right - 6, m + 1}});
        R.Right -= 12;
    }

    // The glyph for the state, the normal glyph where that state has none.
    TBitmap* glyph = &FGlyph;
    if (!isEnabled()) {
        if (!FGlyphDisabled.Empty()) glyph = &FGlyphDisabled;
    } else if (hot && !pressed) {
        if (!FGlyphHot.Empty()) glyph = &FGlyphHot;
    } else if (pressed || FDown) {
        if (!FGlyphDown.Empty()) glyph = &FGlyphDown;
    }

    // Where glyph and caption go, by layout, margin and spacing (-1: shared out evenly).
    const QString text = FShowCaption ? StripAccel(FCaption) : QString();
    const QSize textSize = text.isEmpty() ? QSize(0, 0) : Canvas->TextExtent(text);
    const QSize glyphSize = glyph->Empty() ? QSize(0, 0) : QSize(glyph->Width(), glyph->Height());
    TButtonLayout layout = FLayout;
    if (layoutDirection() == Qt::RightToLeft) {
        if (layout == blGlyphLeft) layout = blGlyphRight;
        else if (layout == blGlyphRight) layout = blGlyphLeft;
    }
    const bool horz = layout == blGlyphLeft || layout == blGlyphRight;
    const int room = horz ? R.Width() : R.Height();
    const int g = horz ? glyphSize.width() : glyphSize.height();
    const int t = horz ? textSize.width() : textSize.height();
    int margin = FMargin, spacing = (text.isEmpty() || glyph->Empty()) ? 0 : FSpacing;
    if (margin == -1 && spacing == -1) {
        margin = spacing = (room - g - t) / 3;
    } else if (margin == -1) {
        margin = (room - g - spacing - t + 1) / 2;
    } else if (spacing == -1) {
        spacing = (room - margin - g - t) / 2;
    }
    QPoint gp, tp;
    switch (layout) {
    case blGlyphLeft:
        gp.setX(R.Left + margin);
        tp.setX(gp.x() + g + spacing);
        break;
    case blGlyphRight:
        gp.setX(R.Right - margin - g);
        tp.setX(gp.x() - spacing - t);
        break;
    case blGlyphTop:
        gp.setY(R.Top + margin);
        tp.setY(gp.y() + g + spacing);
        break;
    case blGlyphBottom:
        gp.setY(R.Bottom - margin - g);
        tp.setY(gp.y() - spacing - t);
        break;
    }
    if (horz) {
        gp.setY(R.Top + (R.Height() - glyphSize.height() + 1) / 2);
        tp.setY(R.Top + (R.Height() - textSize.height() + 1) / 2);
    } else {
        gp.setX(R.Left + (R.Width() - glyphSize.width() + 1) / 2);
        tp.setX(R.Left + (R.Width() - textSize.width() + 1) / 2);
    }
    // Without a caption the glyph keeps to the top-left corner of the face.
    if (text.isEmpty()) gp = QPoint(R.Left, R.Top);
    gp += glyphShift;

    if (!glyph->Empty()) {
        if (hot && FShaded && isEnabled() && !pressed && !FGlyphShade.Empty())
            Canvas->Draw(gp.x() + 2, gp.y() + 2, FGlyphShade);
        Canvas->Draw(gp.x(), gp.y(), *glyph);
    }

    // The caption, embossed when disabled.
    if (!text.isEmpty()) {
        TRect tr{tp.x(), tp.y(), tp.x() + textSize.width(), tp.y() + textSize.height()};
        OffsetRect(tr, textShift.x(), textShift.y());
        if (hot && FFlat && FShaded) OffsetRect(tr, 1, 1);
        Canvas->Brush()->SetStyle(bsClear);
        const uint32_t fmt = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
        if (!isEnabled()) {
            TRect shadow = tr;
            OffsetRect(shadow, 1, 1);
            Canvas->Font()->SetColor(clBtnHighlight);
            Canvas->DrawText(FCaption, shadow, fmt);
            Canvas->Font()->SetColor(clBtnShadow);
        }
        Canvas->DrawText(FCaption, tr, fmt);
        Canvas->Brush()->SetStyle(bsSolid);
    }
}

// ---- check box -----------------------------------------------------------------------------

TProCheckBox::TProCheckBox(QWidget* AOwner) : QWidget(AOwner)
{
    FIsWinXP = IsWinXPOrLater();
    FFont = FontOf(this);
    FFont.SetColor(clWindowText);
    resize(98, 20);
    setFocusPolicy(Qt::StrongFocus);
    FShortcutId = GrabAccel(this, 0, FCaption);
}

TProCheckBox::~TProCheckBox() = default;

void TProCheckBox::SetCaption(const QString& v)
{
    if (FCaption == v) return;
    FCaption = v;
    FShortcutId = GrabAccel(this, FShortcutId, v);
    update();
}

void TProCheckBox::SetDown(bool v)
{
    if (FDown == v) return;
    FDown = v;
    InvalidateBox();
}

void TProCheckBox::SetState(TCheckBoxState v)
{
    if (FState == v) return;
    FState = v;
    update(QRect(0, 0, 20, height()));
    if (FAlignment == taRightJustifyBox) update(QRect(width() - 20, 0, 20, height()));
}

void TProCheckBox::SetButtonVertAlign(TTextLayout v)
{
    FBtnVAlign = v;
    update();
}

void TProCheckBox::SetAlignment(TLeftRight v)
{
    FAlignment = v;
    update();
}

void TProCheckBox::SetEllipsis(bool v)
{
    FEllipsis = v;
    update();
}

void TProCheckBox::SetTransparent(bool v)
{
    FTransparent = v;
    update();
}

void TProCheckBox::SetColor(TColor v)
{
    FColor = v;
    update();
}

void TProCheckBox::Toggle()
{
    if (!FReadOnly) SetChecked(!Checked());
}

void TProCheckBox::Click() { FireNotify(OnClick, this); }

void TProCheckBox::mousePressEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton) return;
    if (focusPolicy() != Qt::NoFocus) setFocus(Qt::MouseFocusReason);
    FMouseDown = true;
    SetDown(true);
}

void TProCheckBox::mouseMoveEvent(QMouseEvent* e)
{
    if (!FMouseDown) return;
    const QPoint p = e->position().toPoint();
    SetDown(p.x() >= 0 && p.x() <= width() && p.y() >= 0 && p.y() <= height());
}

void TProCheckBox::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton) return;
    const bool pressed = FMouseDown;
    FMouseDown = false;
    SetDown(false);
    const QPoint p = e->position().toPoint();
    const bool inside = p.x() >= 0 && p.x() <= width() && p.y() >= 0 && p.y() <= height();
    if (inside && pressed && (hasFocus() || focusPolicy() == Qt::NoFocus)) {
        Toggle();
        Click();
    }
}

void TProCheckBox::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Space && !e->isAutoRepeat()) {
        SetDown(true);
        return;
    }
    if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && FReturnIsTab) {
        // Return moves on like Tab.
        focusNextChild();
        return;
    }
    QWidget::keyPressEvent(e);
}

void TProCheckBox::keyReleaseEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Space && !e->isAutoRepeat()) {
        SetDown(false);
        Toggle();
        Click();
        return;
    }
    QWidget::keyReleaseEvent(e);
}

void TProCheckBox::focusInEvent(QFocusEvent* e)
{
    FFocused = true;
    update();
    QWidget::focusInEvent(e);
}

void TProCheckBox::focusOutEvent(QFocusEvent* e)
{
    FFocused = false;
    update();
    QWidget::focusOutEvent(e);
}

void TProCheckBox::enterEvent(QEnterEvent*)
{
    FHot = true;
    InvalidateBox();
}

void TProCheckBox::leaveEvent(QEvent*)
{
    FHot = false;
    InvalidateBox();
}

bool TProCheckBox::event(QEvent* e)
{
    if (e->type() == QEvent::Shortcut && static_cast<QShortcutEvent*>(e)->shortcutId() == FShortcutId) {
        Toggle();
        if (focusPolicy() != Qt::NoFocus) setFocus(Qt::ShortcutFocusReason);
        return true;
    }
    return QWidget::event(e);
}

TRect TProCheckBox::BoxRect() const
{
    const bool right = FAlignment == taRightJustifyBox;
    const int x = right ? width() - 13 : 0;
    int y = 4;
    if (FBtnVAlign == tlCenter) y = height() / 2 - 6;
    else if (FBtnVAlign == tlBottom) y = height() - 17;
    return TRect{x, y, x + 13, y + 13};
}

void TProCheckBox::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    // A transparent box leaves its background alone: the parent's painting shows through,
    // as the platform's erase and paint of the parent under the box would draw it.
    if (!FTransparent) p.fillRect(rect(), ColorToQColor(FColor));
    TCanvas c;
    c.BeginPaint(&p);
    Paint(&c);
    c.EndPaint();
}

void TProCheckBox::Paint(TCanvas* Canvas)
{
    Canvas->Font()->Assign(FFont);
    uint32_t state = DFCS_BUTTONCHECK;
    if (FState == cbChecked) state |= DFCS_CHECKED;
    if (FState == cbGrayed) state = DFCS_BUTTON3STATE | DFCS_CHECKED | DFCS_INACTIVE;
    if (!isEnabled()) state |= DFCS_INACTIVE;
    if (FDown) state |= DFCS_PUSHED;
    if (FHot) state |= DFCS_HOT;
    Canvas->DrawFrameControl(BoxRect(), DFC_BUTTON, state);

    TRect r{0, 0, width(), height()};
    if (FAlignment == taRightJustifyBox) {
        r.Right -= 9;
        r.Left = 0;
    } else {
        r.Left += 9;
    }
    OffsetRect(r, 6, 4);
    uint32_t fmt = DT_LEFT | DT_TOP | DT_SINGLELINE;
    if (FEllipsis) fmt |= DT_END_ELLIPSIS;
    Canvas->Brush()->SetStyle(bsClear);
    if (!isEnabled()) {
        TRect s = r;
        OffsetRect(s, 1, 1);
        Canvas->Font()->SetColor(clWhite);
        Canvas->DrawText(FCaption, s, fmt);
        Canvas->Font()->SetColor(0x808080);
    }
    TRect tr = r;
    Canvas->DrawText(FCaption, tr, fmt);
    Canvas->Brush()->SetStyle(bsSolid);
    if (FFocused) {
        const QString plain = StripAccel(FCaption);
        Canvas->DrawFocusRect(TRect{r.Left - 2, r.Top, r.Left + Canvas->TextWidth(plain) + 1,
                                    r.Top + Canvas->TextHeight(plain) + 1});
    }
}

// ---- arrow window --------------------------------------------------------------------------

TArrowWindow::TArrowWindow(QWidget* AOwner, TArrowDirection Direction)
    : QWidget(AOwner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus),
      FDirection(Direction)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    int w = 0, h = 0;
    for (const TPoint& p : Arrow(Direction)) {
        w = std::max(w, p.X + 1);
        h = std::max(h, p.Y + 1);
    }
    resize(w, h);
    QPolygon poly;
    for (const TPoint& p : Arrow(Direction)) poly << QPoint(p.X, p.Y);
    setMask(QRegion(poly, Qt::WindingFill));
    hide();
}

std::vector<TPoint> TArrowWindow::Arrow(TArrowDirection Direction)
{
    switch (Direction) {
    case arrUp: return {{5, 0}, {10, 5}, {7, 5}, {7, 9}, {3, 9}, {3, 5}, {0, 5}};
    case arrDown: return {{3, 0}, {7, 0}, {7, 4}, {9, 4}, {5, 8}, {1, 4}, {3, 4}};
    case arrLeft: return {{0, 3}, {0, 7}, {4, 7}, {4, 10}, {8, 5}, {4, 0}, {4, 3}};
    case arrRight: return {{0, 5}, {4, 10}, {4, 7}, {8, 7}, {8, 3}, {4, 3}, {4, 0}};
    }
    return {};
}

void TArrowWindow::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), ColorToQColor(FColor));
}
