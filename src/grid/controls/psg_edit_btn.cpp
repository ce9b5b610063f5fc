// The edit with a button, and its unit variant.
#include "grid/controls/psg_edit_btn.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QStyleOptionButton>

// ---- TProSpeedButton ------------------------------------------------------------------------

TProSpeedButton::TProSpeedButton(TPsgEditButton* AParent) : QAbstractButton(AParent), FPart(AParent)
{
    setFocusPolicy(Qt::NoFocus);
}

void TProSpeedButton::mouseReleaseEvent(QMouseEvent* e)
{
    QAbstractButton::mouseReleaseEvent(e);
    if (OnMouseUp) OnMouseUp(e->button());
}

void TProSpeedButton::enterEvent(QEnterEvent* e)
{
    Hot = true;
    update();
    QAbstractButton::enterEvent(e);
}

void TProSpeedButton::leaveEvent(QEvent* e)
{
    Hot = false;
    update();
    QAbstractButton::leaveEvent(e);
}

void TProSpeedButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setFont(font());
    QRect r = rect();
    const bool down = isDown();
    if (FPart->ButtonColor != clNone) {
        const TColor c = down ? FPart->ButtonColorDown : Hot ? FPart->ButtonColorHot : FPart->ButtonColor;
        const QColor q = ColorToQColor(c == clNone ? FPart->ButtonColor : c);
        p.fillRect(r, q);
        p.setPen(q);
        p.drawRect(r.adjusted(0, 0, -1, -1));
    } else {
        QStyleOptionButton o;
        o.initFrom(this);
        o.rect = r;
        o.state |= down ? QStyle::State_Sunken : QStyle::State_Raised;
        if (Hot) o.state |= QStyle::State_MouseOver;
        if (Flat) o.features |= QStyleOptionButton::Flat;
        style()->drawControl(QStyle::CE_PushButtonBevel, &o, &p, this);
        if (Flat) r.adjust(1, 1, -1, -1);
    }
    const QPoint shift = down ? QPoint(1, 1) : QPoint();
    if (!Glyph.isNull()) {
        const QPoint at((r.width() - Glyph.width()) / 2, (r.height() - Glyph.height()) / 2);
        p.drawPixmap(r.topLeft() + at + shift, Glyph);
    }
    p.setPen(Qt::black);
    p.drawText(r.translated(shift), Qt::AlignCenter | Qt::TextSingleLine, text());
}

// ---- TPsgEditButton -------------------------------------------------------------------------

TPsgEditButton::TPsgEditButton(QWidget* AParent) : QWidget(AParent)
{
    Button = new TProSpeedButton(this);
    Button->OnMouseUp = [this](Qt::MouseButton b) { Released(b); };
    setFocusPolicy(Qt::NoFocus);
    resize(20, 25);
}

void TPsgEditButton::Released(Qt::MouseButton b)
{
    if (b != Qt::LeftButton) return;
    if (OnClick) OnClick(this);
    if (FocusControl && (FocusControl->focusPolicy() & Qt::TabFocus) && FocusControl->isEnabled() &&
        !FocusControl->hasFocus())
        FocusControl->setFocus(Qt::MouseFocusReason);
}

void TPsgEditButton::resizeEvent(QResizeEvent*) { Button->setGeometry(0, 0, width(), height()); }

// ---- TPsgEditBtn ----------------------------------------------------------------------------

TPsgEditBtn::TPsgEditBtn(QWidget* AParent) : QLineEdit(AParent)
{
    FButton = new TPsgEditButton(this);
    FButton->resize(18, 18);
    FButton->FocusControl = this;
    FButton->OnClick = [this](QObject*) { ButtonClick(this); };
    setText(QStringLiteral("0"));
}

void TPsgEditBtn::ButtonClick(QObject* Sender)
{
    if (OnClickBtn) OnClickBtn(Sender);
}

void TPsgEditBtn::SetButtonWidth(int v)
{
    FButtonWidth = v;
    FButton->resize(v, FButton->height());
    resizeEvent(nullptr);
}

void TPsgEditBtn::SetRightAlign(bool v)
{
    FRightAlign = v;
    setAlignment((v ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
}

void TPsgEditBtn::keyPressEvent(QKeyEvent* e)
{
    const bool typing = !e->text().isEmpty() && e->text().at(0).unicode() >= 32 &&
                        !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    const bool editing = typing || e->key() == Qt::Key_Backspace || e->key() == Qt::Key_Delete ||
                         e->matches(QKeySequence::Paste) || e->matches(QKeySequence::Cut);
    if (editing && (!FEditorEnabled || (isReadOnly() && !typing))) return;
    if (e->key() == Qt::Key_F4 && !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        ButtonClick(this);
        return;
    }
    QLineEdit::keyPressEvent(e);
}

bool TPsgEditBtn::event(QEvent* e)
{
    if (e->type() == QEvent::ShortcutOverride && !FEditorEnabled) {
        auto* ke = static_cast<QKeyEvent*>(e);
        if (ke->matches(QKeySequence::Paste) || ke->matches(QKeySequence::Cut)) {
            e->accept();
            return true;
        }
    }
    return QLineEdit::event(e);
}

void TPsgEditBtn::contextMenuEvent(QContextMenuEvent* e)
{
    // paste and cut from the menu need typing allowed
    if (!FEditorEnabled) return;
    QLineEdit::contextMenuEvent(e);
}

void TPsgEditBtn::focusInEvent(QFocusEvent* e)
{
    const int caret = cursorPosition();
    const bool hadSelection = hasSelectedText();
    QLineEdit::focusInEvent(e);
    if (!AutoSelect) {
        // the line edit selects everything on Tab by itself
        if (!hadSelection && hasSelectedText()) setCursorPosition(caret);
    } else if (!(QApplication::mouseButtons() & Qt::LeftButton)) {
        selectAll();
    }
}

void TPsgEditBtn::SetEditRect()
{
    const int inset = hasFrame() ? 1 : 3;
    int right = FButton->width() + FUnitWidth + 5;
    if (FUnitWidth > 0) right += 3;
    setTextMargins(inset, 0, right - inset, 0);
}

void TPsgEditBtn::resizeEvent(QResizeEvent* e)
{
    if (e) QLineEdit::resizeEvent(e);
    const int w = FButton->width();
    if (hasFrame()) FButton->setGeometry(width() - w - 1, 1, w, height() - 2);
    else FButton->setGeometry(width() - w, 0, w, height());
    SetEditRect();
}

// ---- TPsgUnitEditBtn ------------------------------------------------------------------------

TPsgUnitEditBtn::TPsgUnitEditBtn(QWidget* AParent) : TPsgEditBtn(AParent)
{
    FUnitWidth = 20;
    SetRightAlign(true);
}

void TPsgUnitEditBtn::SetUnitID(const QString& v)
{
    FUnitID = v;
    update();
}

void TPsgUnitEditBtn::SetUnitSpace(int v)
{
    FUnitWidth = v;
    SetEditRect();
    update();
}

void TPsgUnitEditBtn::SetTextAndUnit(const QString& v)
{
    for (const QString& u : FUnits) {
        if (u.isEmpty()) continue;
        const int at = v.indexOf(u);
        if (at >= 0 && at == v.size() - u.size()) {
            setText(v.left(at));
            SetUnitID(u);
            return;
        }
    }
}

void TPsgUnitEditBtn::ButtonClick(QObject* Sender)
{
    if (OnClickBtn) OnClickBtn(Sender);
    delete FMenu.data();
    FMenu = new QMenu(this);
    FMenu->setAttribute(Qt::WA_DeleteOnClose);
    for (int k = 0; k < FUnits.size(); ++k) {
        QAction* a = FMenu->addAction(FUnits.at(k));
        QObject::connect(a, &QAction::triggered, this, [this, k] { MenuCommand(k + 1); });
    }
    FMenu->popup(mapToGlobal(QPoint(width() - 15, height())));
}

void TPsgUnitEditBtn::MenuCommand(int Id)
{
    if (Id < 1 || Id > FUnits.size()) return;
    const QString u = FUnits.at(Id - 1);
    const bool changed = u != FUnitID;
    SetUnitID(u);
    if (changed && OnUnitChanged) OnUnitChanged(this, u);
}

void TPsgUnitEditBtn::paintEvent(QPaintEvent* e)
{
    TPsgEditBtn::paintEvent(e);
    QPainter p(this);
    p.setFont(font());
    p.setPen(palette().color(QPalette::Text));
    const int right = width() - (Button()->width() + 3);
    p.drawText(QRect(right - FUnitWidth, 2, FUnitWidth, height() - 2), Qt::AlignLeft | Qt::AlignVCenter, FUnitID);
}
