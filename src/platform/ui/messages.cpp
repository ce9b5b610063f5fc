#include "platform/ui/messages.h"

#include <QApplication>
#include <QGuiApplication>
#include <QHash>
#include <QInputEvent>
#include <QMouseEvent>

uint32_t RegisterWindowMessage(const QString& name)
{
    static QHash<QString, uint32_t> registered;
    static uint32_t next = 0xC000;
    auto it = registered.constFind(name);
    if (it != registered.constEnd()) return it.value();
    registered.insert(name, next);
    return next++;
}

int WheelScrollLines()
{
    return QApplication::wheelScrollLines();
}

int QtKeyToVirtualKey(int k)
{
    if (k >= Qt::Key_A && k <= Qt::Key_Z) return 'A' + (k - Qt::Key_A);
    if (k >= Qt::Key_0 && k <= Qt::Key_9) return '0' + (k - Qt::Key_0);
    if (k >= Qt::Key_F1 && k <= Qt::Key_F24) return VK_F1 + (k - Qt::Key_F1);
    switch (k) {
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return VK_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Shift: return VK_SHIFT;
    case Qt::Key_Control: return VK_CONTROL;
    case Qt::Key_Alt: return VK_MENU;
    case Qt::Key_Pause: return VK_PAUSE;
    case Qt::Key_CapsLock: return VK_CAPITAL;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Space: return VK_SPACE;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_End: return VK_END;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_Print: return VK_SNAPSHOT;
    case Qt::Key_Insert: return VK_INSERT;
    case Qt::Key_Delete: return VK_DELETE;
    case Qt::Key_Help: return VK_HELP;
    case Qt::Key_Menu: return VK_APPS;
    case Qt::Key_NumLock: return VK_NUMLOCK;
    case Qt::Key_ScrollLock: return VK_SCROLL;
    case Qt::Key_Asterisk: return VK_MULTIPLY;
    case Qt::Key_Plus: return VK_ADD;
    case Qt::Key_Minus: return VK_SUBTRACT;
    case Qt::Key_Slash: return VK_DIVIDE;
    default: return 0;
    }
}

namespace {

TShiftState FromModifiers(Qt::KeyboardModifiers m, Qt::MouseButtons b)
{
    TShiftState s;
    if (m & Qt::ShiftModifier) s.Include(ssShift);
    if (m & Qt::AltModifier) s.Include(ssAlt);
    if (m & Qt::ControlModifier) s.Include(ssCtrl);
    if (b & Qt::LeftButton) s.Include(ssLeft);
    if (b & Qt::RightButton) s.Include(ssRight);
    if (b & Qt::MiddleButton) s.Include(ssMiddle);
    return s;
}

}  // namespace

TShiftState ShiftStateOf(const QInputEvent* e)
{
    Qt::MouseButtons buttons = Qt::NoButton;
    if (auto* me = dynamic_cast<const QMouseEvent*>(e)) buttons = me->buttons() | me->button();
    TShiftState s = FromModifiers(e->modifiers(), buttons);
    if (e->type() == QEvent::MouseButtonDblClick) s.Include(ssDouble);
    return s;
}

TShiftState KeyboardStateToShiftState()
{
    return FromModifiers(QGuiApplication::queryKeyboardModifiers(), QGuiApplication::mouseButtons());
}

int MouseKeyFlags(const QInputEvent* e)
{
    TShiftState s = ShiftStateOf(e);
    int f = 0;
    if (s.Contains(ssLeft)) f |= MK_LBUTTON;
    if (s.Contains(ssRight)) f |= MK_RBUTTON;
    if (s.Contains(ssMiddle)) f |= MK_MBUTTON;
    if (s.Contains(ssShift)) f |= MK_SHIFT;
    if (s.Contains(ssCtrl)) f |= MK_CONTROL;
    return f;
}

TShiftState KeysToShiftState(int mk)
{
    TShiftState s;
    if (mk & MK_SHIFT) s.Include(ssShift);
    if (mk & MK_CONTROL) s.Include(ssCtrl);
    if (mk & MK_LBUTTON) s.Include(ssLeft);
    if (mk & MK_RBUTTON) s.Include(ssRight);
    if (mk & MK_MBUTTON) s.Include(ssMiddle);
    return s;
}
