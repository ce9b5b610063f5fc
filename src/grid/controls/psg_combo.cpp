#include "grid/controls/psg_combo.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionComboBox>

TPsgCustomCombo::TPsgCustomCombo(QWidget* AOwner) : QComboBox(AOwner)
{
    FButtonWidth = QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2;
    setMouseTracking(true);
}

TPsgCustomCombo::~TPsgCustomCombo()
{
    delete FLabel;
    FLabel = nullptr;
}

void TPsgCustomCombo::Loaded()
{
    if (FDropWidth > 0) SetDropWidth(FDropWidth);
    FOldColor = FLoadedColor;
    if (!(FFlatParentColor && !FFlat)) SetColor(FLoadedColor);
    if (FLabel && !FLabelAlwaysEnabled) FLabel->setEnabled(isEnabled());
    UpdateLabel();
    Init();
}

int TPsgCustomCombo::IndexOfItem(const QString& S) const
{
    for (int i = 0; i < count(); ++i)
        if (itemText(i).compare(S, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

void TPsgCustomCombo::SelectItem(const QString& AString)
{
    const int i = IndexOfItem(AString);
    if (i >= 0) setCurrentIndex(i);
}

void TPsgCustomCombo::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    setGeometry(ALeft, ATop, AWidth, AHeight);
    UpdateLabel();
}

void TPsgCustomCombo::SetColor(TColor c)
{
    FColor = c;
    ApplyColor();
}

void TPsgCustomCombo::ApplyColor()
{
    QPalette p = palette();
    p.setColor(QPalette::Base, ColorToQColor(FColor));
    p.setColor(QPalette::Button, ColorToQColor(FColor));
    setPalette(p);
    update();
}

void TPsgCustomCombo::SetButtonWidth(int v)
{
    if (v < 14 || v > 32) return;   // outside the button's range: ignored
    FButtonWidth = v;
    update();
}

void TPsgCustomCombo::SetFlat(bool v)
{
    if (v == FFlat) return;
    FFlat = v;
    if (FFlat && FFlatParentColor && parentWidget())
        SetColor(static_cast<TColor>(QColorToColor(parentWidget()->palette().color(QPalette::Window))));
    else SetColor(FLoadedColor);
    update();
}

void TPsgCustomCombo::SetDropWidth(int v)
{
    FDropWidth = v;
    if (v > 0) view()->setMinimumWidth(v);
}

QString TPsgCustomCombo::LabelCaption() const
{
    return FLabel ? FLabel->text() : QString();
}

void TPsgCustomCombo::SetLabelCaption(const QString& s)
{
    if (!FLabel) {
        FLabel = new QLabel(parentWidget());
        FLabel->setBuddy(this);
        FLabel->setFont(FLabelFont);
    }
    FLabel->setText(s);
    UpdateLabel();
}

void TPsgCustomCombo::SetLabelAlwaysEnabled(bool v)
{
    FLabelAlwaysEnabled = v;
    if (FLabel) FLabel->setEnabled(v || isEnabled());
}

void TPsgCustomCombo::UpdateLabel()
{
    if (!FLabel) return;
    FLabel->setAttribute(Qt::WA_TranslucentBackground, FLabelTransparent);
    FLabel->setFont(FLabelFont);
    FLabel->adjustSize();
    const int W = QFontMetrics(FLabelFont).boundingRect(QRect(0, 0, 1000, 255), 0, FLabel->text()).width();
    const int T = y(), L = x(), Wd = width(), Ht = height(), h = FLabel->height(), w = FLabel->width(),
              M = FLabelMargin;
    int top = T, left = L - W - M;
    switch (FLabelPosition) {
    case lpLeftTop: break;
    case lpLeftCenter: top = T + (Ht - h) / 2; break;
    case lpLeftBottom: top = T + Ht - h; break;
    case lpTopLeft: top = T - h - M; left = L; break;
    case lpBottomLeft: top = T + Ht + M; left = L; break;
    case lpLeftTopLeft: left = L - M; break;
    case lpLeftCenterLeft: top = T + (Ht - h) / 2; left = L - M; break;
    case lpLeftBottomLeft: top = T + Ht - h; left = L - M; break;
    case lpTopCenter: top = T - h - M; left = L + (Wd - w) / 2; break;
    case lpBottomCenter: top = T + Ht + M; left = L + (Wd - w) / 2; break;
    case lpRightTop: left = L + Wd + M; break;
    case lpRightCenter: top = T + (Ht - h) / 2; left = L + Wd + M; break;
    case lpRighBottom: top = T + Ht - h; left = L + Wd + M; break;
    case lpTopRight: case lpBottomRight: break;   // positions of the drop-down edits only
    }
    FLabel->move(left, top);
    FLabel->setVisible(isVisible());
}

void TPsgCustomCombo::showPopup()
{
    QComboBox::showPopup();
    update();
}

void TPsgCustomCombo::hidePopup()
{
    QComboBox::hidePopup();
    update();
    if (OnDropUp) OnDropUp(this);
}

bool TPsgCustomCombo::CustomPainting() const
{
    if (FIsVista && FButtonColor == clNone && FBorderColor == clNone) return false;
    return FFlat || FButtonColor != clNone || FBorderColor != clNone || (FFocusBorderColor != clNone && FHasFocus) ||
           (!isEnabled() && FIsThemed && !FDisabledBorder);
}

bool TPsgCustomCombo::IsFocusFramed() const
{
    return FFocusBorder && (FMouseInControl || FHasFocus);
}

void TPsgCustomCombo::paintEvent(QPaintEvent* e)
{
    if (!CustomPainting()) {
        QComboBox::paintEvent(e);
        return;
    }
    QPainter p(this);
    const QRect all = rect();
    p.fillRect(all, ColorToQColor(FColor));
    // text
    QRect textRect = all.adjusted(3, 0, -FButtonWidth - 4, 0);
    p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Text));
    p.drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft, currentIndex() >= 0 ? currentText() : placeholderText());
    // button
    QRect b = all.adjusted(all.width() - FButtonWidth + 2, 1, -1, -1);
    const bool down = QApplication::mouseButtons() != Qt::NoButton;
    if (FButtonColor != clNone) {
        TColor face = FButtonColor;
        if (FButtonHover && FButtonColorHot != clNone) face = FButtonColorHot;
        if (FButtonHover && down && FButtonColorDown != clNone) face = FButtonColorDown;
        p.fillRect(QRect(b.left() - 1, b.top() + 1, b.width(), b.height() - 2), ColorToQColor(face));
        if (FButtonBorderColor != clNone) {
            p.setPen(ColorToQColor(FButtonBorderColor));
            p.drawLine(b.left(), b.top(), b.left(), b.bottom());
        }
    }
    const TColor arrow = down && FButtonTextColorDown != clNone ? FButtonTextColorDown
                         : FButtonTextColor != clNone            ? FButtonTextColor
                                                                 : clBlack;
    const QPoint tri[3] = {{b.left() + 4, b.top() + 7}, {b.left() + 10, b.top() + 7}, {b.left() + 7, b.top() + 10}};
    p.setPen(ColorToQColor(arrow));
    p.setBrush(ColorToQColor(arrow));
    p.drawPolygon(tri, 3);
    // borders
    TColor k = FBorderColor;
    if (k == clNone || (FHasFocus && FFocusBorderColor != clNone)) k = FFocusBorderColor;
    p.setBrush(Qt::NoBrush);
    if (k == clNone) {
        const QColor outer = IsFocusFramed() ? palette().color(QPalette::Button)
                             : parentWidget() ? parentWidget()->palette().color(QPalette::Window)
                                              : palette().color(QPalette::Window);
        p.setPen(outer);
        p.drawRect(all.adjusted(0, 0, -1, -1));
        if (FFlat && FFlatLineColor != clNone) {
            p.setPen(ColorToQColor(FFlatLineColor));
            p.drawLine(0, height() - 1, width() - FButtonWidth - 1, height() - 1);
        }
    } else {
        p.setPen(ColorToQColor(k));
        p.drawRect(all.adjusted(0, 0, -1, -1));
    }
}

void TPsgCustomCombo::focusInEvent(QFocusEvent* e)
{
    QComboBox::focusInEvent(e);
    FHasFocus = true;
    if (FFocusColor != clNone) {
        FNormalColor = FColor;
        SetColor(FFocusColor);
    }
    if (FLabel && FFocusLabel) {
        QFont f = FLabel->font();
        f.setBold(true);
        FLabel->setFont(f);
    }
    update();
}

void TPsgCustomCombo::focusOutEvent(QFocusEvent* e)
{
    QComboBox::focusOutEvent(e);
    FHasFocus = false;
    if (FFocusColor != clNone && FNormalColor != clNone) SetColor(FNormalColor);
    if (FLabel) {
        QFont f = FLabel->font();
        f.setBold(false);
        FLabel->setFont(f);
    }
    update();
}

void TPsgCustomCombo::enterEvent(QEnterEvent* e)
{
    QComboBox::enterEvent(e);
    if (!isEnabled() || FMouseInControl) return;
    FMouseInControl = true;
    if (FAutoFocus && (!window() || window()->isActiveWindow())) setFocus();
    update();
}

void TPsgCustomCombo::leaveEvent(QEvent* e)
{
    QComboBox::leaveEvent(e);
    FMouseInControl = false;
    FButtonHover = false;
    update();
}

void TPsgCustomCombo::mouseMoveEvent(QMouseEvent* e)
{
    QComboBox::mouseMoveEvent(e);
    const int x = int(e->position().x());
    const bool hover = width() - FButtonWidth < x && x < width();
    if (hover != FButtonHover) {
        FButtonHover = hover;
        update();
    }
}

void TPsgCustomCombo::changeEvent(QEvent* e)
{
    QComboBox::changeEvent(e);
    if (e->type() == QEvent::EnabledChange) {
        if (FLabel && !FLabelAlwaysEnabled) FLabel->setEnabled(isEnabled());
        if (FFlat) {
            // a disabled flat combo takes its parent's colour, and gets its own back
            if (!isEnabled()) {
                FOldColor = FColor;
                if (parentWidget())
                    SetColor(static_cast<TColor>(QColorToColor(parentWidget()->palette().color(QPalette::Window))));
            } else {
                SetColor(FOldColor);
            }
        }
    }
}

void TPsgCustomCombo::moveEvent(QMoveEvent* e)
{
    QComboBox::moveEvent(e);
    UpdateLabel();
}

void TPsgCustomCombo::resizeEvent(QResizeEvent* e)
{
    QComboBox::resizeEvent(e);
    UpdateLabel();
}
