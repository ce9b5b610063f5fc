#pragma once
// Notifications (WM_NOTIFY) that child controls send to the window they live on, with the
// platform's notification records, and the messages the tooltip window takes.  A message
// reaches any window object as a TMessageEvent, so that a control that is no grid can answer
// it in its event handler.
#include "platform/ui/messages.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QPoint>
#include <cstdint>

// The header every notification record starts with (WM_NOTIFY's lParam points to it).
struct TNMHdr {
    QObject* hwndFrom = nullptr;
    uintptr_t idFrom = 0;
    int code = 0;
};

struct TSystemTime {
    uint16_t wYear = 0, wMonth = 0, wDayOfWeek = 0, wDay = 0, wHour = 0, wMinute = 0, wSecond = 0,
             wMilliseconds = 0;
};

// A date-time picker's new date; dwFlags GDT_NONE when it was cleared.
struct TNMDateTimeChange {
    TNMHdr hdr;
    uint32_t dwFlags = 0;
    TSystemTime st;
};

// The tooltip asks for its text: the answer is a pointer to text that stays valid after the
// notification returns.
struct TNMTTDispInfo {
    TNMHdr hdr;
    const char16_t* lpszText = nullptr;
    uint32_t uFlags = 0;
    intptr_t lParam = 0;
    // Where the mouse rests, in the tool's client coordinates, when the tooltip knows it
    // (the cursor position is read otherwise).
    bool HasPos = false;
    QPoint Pos;
};

enum : int { DTN_DATETIMECHANGE = -759, TTN_GETDISPINFOW = -530, TTN_SHOW = -521, TTN_POP = -522 };
enum : uint32_t { GDT_VALID = 0, GDT_NONE = 1 };
// Tooltip window messages: colours as RGB values, the maximum width in pixels, the title with
// an icon (wParam 0 none, 1 information, 2 warning, 3 error; lParam a zero-terminated text).
enum : uint32_t {
    TTM_SETTIPBKCOLOR = 0x0413, TTM_SETTIPTEXTCOLOR = 0x0414, TTM_SETMAXTIPWIDTH = 0x0418, TTM_POP = 0x041C,
    TTM_SETTITLEW = 0x0421,
};

class TMessageEvent : public QEvent {
public:
    static QEvent::Type EventType()
    {
        static const int type = QEvent::registerEventType();
        return QEvent::Type(type);
    }
    explicit TMessageEvent(TMessage& m) : QEvent(EventType()), Message(m) {}
    TMessage& Message;
};

// Delivers a message to a window object at once; 0 when there is none or it did not answer.
inline intptr_t SendMessageTo(QObject* target, uint32_t msg, intptr_t wParam = 0, intptr_t lParam = 0)
{
    if (!target) return 0;
    TMessage m{msg, wParam, lParam, 0};
    TMessageEvent e(m);
    QCoreApplication::sendEvent(target, &e);
    return m.Result;
}
