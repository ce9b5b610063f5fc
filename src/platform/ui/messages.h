#pragma once
// Windows window messages as our controls see them: Qt events are turned into a TMessage
// with the Windows message number and parameters (WM_*, VK_*, MK_*), so that handlers can
// be written against the numbers, and code can send or post such messages to a control.
#include "platform/core/sets.h"

#include <QString>
#include <cstdint>

class QKeyEvent;
class QMouseEvent;
class QInputEvent;

struct TMessage {
    uint32_t Msg = 0;
    intptr_t WParam = 0;
    intptr_t LParam = 0;
    intptr_t Result = 0;
};

inline int LoWord(intptr_t v) { return static_cast<int>(v & 0xFFFF); }
inline int HiWord(intptr_t v) { return static_cast<int>((v >> 16) & 0xFFFF); }
// Signed halves, for coordinates and wheel deltas.
inline int LoSigned(intptr_t v) { return static_cast<int16_t>(v & 0xFFFF); }
inline int HiSigned(intptr_t v) { return static_cast<int16_t>((v >> 16) & 0xFFFF); }
inline intptr_t MakeLParam(int lo, int hi) { return static_cast<intptr_t>(static_cast<uint32_t>((lo & 0xFFFF) | ((hi & 0xFFFF) << 16))); }
inline intptr_t MakeWParam(int lo, int hi) { return MakeLParam(lo, hi); }

// Message numbers.
enum : uint32_t {
    WM_NULL = 0x0000, WM_CREATE = 0x0001, WM_DESTROY = 0x0002, WM_MOVE = 0x0003, WM_SIZE = 0x0005,
    WM_ACTIVATE = 0x0006, WM_SETFOCUS = 0x0007, WM_KILLFOCUS = 0x0008, WM_ENABLE = 0x000A,
    WM_SETREDRAW = 0x000B, WM_SETTEXT = 0x000C, WM_GETTEXT = 0x000D, WM_PAINT = 0x000F, WM_CLOSE = 0x0010,
    WM_ERASEBKGND = 0x0014, WM_CANCELMODE = 0x001F, WM_SETCURSOR = 0x0020, WM_MOUSEACTIVATE = 0x0021,
    WM_WINDOWPOSCHANGING = 0x0046, WM_WINDOWPOSCHANGED = 0x0047, WM_NOTIFY = 0x004E,
    WM_NCHITTEST = 0x0084, WM_NCPAINT = 0x0085, WM_NCACTIVATE = 0x0086, WM_GETDLGCODE = 0x0087,
    WM_NCLBUTTONDOWN = 0x00A1,
    WM_KEYDOWN = 0x0100, WM_KEYUP = 0x0101, WM_CHAR = 0x0102, WM_SYSKEYDOWN = 0x0104, WM_SYSKEYUP = 0x0105,
    WM_COMMAND = 0x0111, WM_TIMER = 0x0113, WM_HSCROLL = 0x0114, WM_VSCROLL = 0x0115,
    WM_MOUSEMOVE = 0x0200, WM_LBUTTONDOWN = 0x0201, WM_LBUTTONUP = 0x0202, WM_LBUTTONDBLCLK = 0x0203,
    WM_RBUTTONDOWN = 0x0204, WM_RBUTTONUP = 0x0205, WM_RBUTTONDBLCLK = 0x0206, WM_MBUTTONDOWN = 0x0207,
    WM_MBUTTONUP = 0x0208, WM_MBUTTONDBLCLK = 0x0209, WM_MOUSEWHEEL = 0x020A, WM_MOUSEHWHEEL = 0x020E, WM_SIZING = 0x0214,
    WM_CUT = 0x0300, WM_COPY = 0x0301, WM_PASTE = 0x0302, WM_CLEAR = 0x0303, WM_UNDO = 0x0304,
    WM_THEMECHANGED = 0x031A, WM_USER = 0x0400,

    // Messages of the class library, from its base number on.
    CM_BASE = 0xB000,
    CM_ACTIVATE = CM_BASE + 0, CM_DEACTIVATE = CM_BASE + 1, CM_GOTFOCUS = CM_BASE + 2, CM_LOSTFOCUS = CM_BASE + 3,
    CM_CANCELMODE = CM_BASE + 4, CM_DIALOGKEY = CM_BASE + 5, CM_DIALOGCHAR = CM_BASE + 6,
    CM_FOCUSCHANGED = CM_BASE + 7, CM_PARENTFONTCHANGED = CM_BASE + 8, CM_PARENTCOLORCHANGED = CM_BASE + 9,
    CM_HITTEST = CM_BASE + 10, CM_VISIBLECHANGED = CM_BASE + 11, CM_ENABLEDCHANGED = CM_BASE + 12,
    CM_COLORCHANGED = CM_BASE + 13, CM_FONTCHANGED = CM_BASE + 14, CM_CURSORCHANGED = CM_BASE + 15,
    CM_TEXTCHANGED = CM_BASE + 18, CM_MOUSEENTER = CM_BASE + 19, CM_MOUSELEAVE = CM_BASE + 20,
    CM_BUTTONPRESSED = CM_BASE + 24, CM_ENTER = CM_BASE + 27, CM_EXIT = CM_BASE + 28,
    CM_DESIGNHITTEST = CM_BASE + 29, CM_HINTSHOW = CM_BASE + 48, CM_UIACTIVATE = CM_BASE + 41,
    CM_WANTSPECIALKEY = CM_BASE + 58, CM_MOUSEWHEEL = CM_BASE + 67, CM_STYLECHANGED = CM_BASE + 68,

    // A notification that a parent hands back to the child control that sent it.
    CN_BASE = 0xBC00, CN_COMMAND = CN_BASE + WM_COMMAND, CN_NOTIFY = CN_BASE + WM_NOTIFY,

    // Edit-control messages that the grid's editors send to themselves.
    EM_GETSEL = 0x00B0, EM_SETSEL = 0x00B1, EM_GETRECT = 0x00B2, EM_SETRECT = 0x00B3, EM_SETRECTNP = 0x00B4,
    EM_SETREADONLY = 0x00CF, EM_SETPASSWORDCHAR = 0x00CC, EM_CHARFROMPOS = 0x00D7,
};

// Scroll-bar request codes (low word of the scroll messages' wParam).
enum : int {
    SB_LINEUP = 0, SB_LINEDOWN = 1, SB_PAGEUP = 2, SB_PAGEDOWN = 3, SB_THUMBPOSITION = 4, SB_THUMBTRACK = 5,
    SB_TOP = 6, SB_BOTTOM = 7, SB_ENDSCROLL = 8,
    SB_HORZ = 0, SB_VERT = 1,
};
// Scroll-bar ids for the scroll-bar calls (SB_HORZ and SB_VERT above, and both at once).
constexpr int SB_BOTH = 3;
constexpr int SB_LINELEFT = SB_LINEUP, SB_LINERIGHT = SB_LINEDOWN, SB_PAGELEFT = SB_PAGEUP, SB_PAGERIGHT = SB_PAGEDOWN;

// What a scroll-info call reads or writes, and how a bar is enabled.
enum : uint32_t {
    SIF_RANGE = 0x01, SIF_PAGE = 0x02, SIF_POS = 0x04, SIF_DISABLENOSCROLL = 0x08, SIF_TRACKPOS = 0x10,
    SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS,
};
enum : int { ESB_ENABLE_BOTH = 0, ESB_DISABLE_LTUP = 1, ESB_DISABLE_RTDN = 2, ESB_DISABLE_BOTH = 3 };

struct TScrollInfo {
    uint32_t fMask = SIF_ALL;
    int nMin = 0;
    int nMax = 0;
    unsigned nPage = 0;
    int nPos = 0;
    int nTrackPos = 0;
};

// Notification codes of WM_COMMAND (high word of wParam) from edit and combo-box controls.
enum : int {
    EN_SETFOCUS = 0x0100, EN_KILLFOCUS = 0x0200, EN_CHANGE = 0x0300, EN_UPDATE = 0x0400,
    CBN_SELCHANGE = 1, CBN_DBLCLK = 2, CBN_SETFOCUS = 3, CBN_KILLFOCUS = 4, CBN_EDITCHANGE = 5,
    CBN_EDITUPDATE = 6, CBN_DROPDOWN = 7, CBN_CLOSEUP = 8, CBN_SELENDOK = 9, CBN_SELENDCANCEL = 10,
};

// One notch of the mouse wheel in WM_MOUSEWHEEL's delta.
constexpr int WHEEL_DELTA = 120;

// Answers to WM_GETDLGCODE: which keys a control keeps from its dialog.
enum : int {
    DLGC_WANTARROWS = 0x0001, DLGC_WANTTAB = 0x0002, DLGC_WANTALLKEYS = 0x0004, DLGC_WANTMESSAGE = 0x0004,
    DLGC_HASSETSEL = 0x0008, DLGC_WANTCHARS = 0x0080,
};

// Mouse-message key flags (wParam of the mouse messages).
enum : int { MK_LBUTTON = 0x01, MK_RBUTTON = 0x02, MK_SHIFT = 0x04, MK_CONTROL = 0x08, MK_MBUTTON = 0x10 };

// Virtual-key codes.  Letters and digits are their upper-case character codes.
enum : int {
    VK_LBUTTON = 0x01, VK_RBUTTON = 0x02, VK_CANCEL = 0x03, VK_MBUTTON = 0x04, VK_BACK = 0x08, VK_TAB = 0x09,
    VK_CLEAR = 0x0C, VK_RETURN = 0x0D, VK_SHIFT = 0x10, VK_CONTROL = 0x11, VK_MENU = 0x12, VK_PAUSE = 0x13,
    VK_CAPITAL = 0x14, VK_ESCAPE = 0x1B, VK_SPACE = 0x20, VK_PRIOR = 0x21, VK_NEXT = 0x22, VK_END = 0x23,
    VK_HOME = 0x24, VK_LEFT = 0x25, VK_UP = 0x26, VK_RIGHT = 0x27, VK_DOWN = 0x28, VK_SELECT = 0x29,
    VK_PRINT = 0x2A, VK_SNAPSHOT = 0x2C, VK_INSERT = 0x2D, VK_DELETE = 0x2E, VK_HELP = 0x2F,
    VK_LWIN = 0x5B, VK_RWIN = 0x5C, VK_APPS = 0x5D,
    VK_NUMPAD0 = 0x60, VK_MULTIPLY = 0x6A, VK_ADD = 0x6B, VK_SEPARATOR = 0x6C, VK_SUBTRACT = 0x6D,
    VK_DECIMAL = 0x6E, VK_DIVIDE = 0x6F,
    VK_F1 = 0x70, VK_F2 = 0x71, VK_F3 = 0x72, VK_F4 = 0x73, VK_F5 = 0x74, VK_F6 = 0x75, VK_F7 = 0x76,
    VK_F8 = 0x77, VK_F9 = 0x78, VK_F10 = 0x79, VK_F11 = 0x7A, VK_F12 = 0x7B,
    VK_NUMLOCK = 0x90, VK_SCROLL = 0x91,
};

enum TShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateItem>;
enum TMouseButton { mbLeft, mbRight, mbMiddle };

// A number of its own for a message name, the same for the same name during the run
// (0xC000 and up, as the platform hands them out).
uint32_t RegisterWindowMessage(const QString& name);

// Rows or lines one notch of the wheel scrolls, as the desktop sets it; -1 means a page.
int WheelScrollLines();

// Translation of Qt input to the platform's terms.
int QtKeyToVirtualKey(int qtKey);
TShiftState ShiftStateOf(const QInputEvent* e);
// The shift state of the keyboard and mouse buttons right now.
TShiftState KeyboardStateToShiftState();
// wParam key flags of a mouse message.
int MouseKeyFlags(const QInputEvent* e);
TShiftState KeysToShiftState(int mkFlags);
