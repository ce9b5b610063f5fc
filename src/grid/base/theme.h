#pragma once
// Theme detection and the Office theme notifier.  The desktop's look comes from Qt's style
// (standing in for the visual-styles library); the Office theme setting is read from the
// registry stand-in.  On a system without Office keys detection answers none and the
// notifier stays inert.
#include "platform/core/classes.h"
#include "platform/core/registry.h"
#include "platform/ui/graphics.h"

#include <QEvent>
#include <QList>
#include <QMap>
#include <QObject>
#include <QPointer>
#include <QWidget>

class QFileSystemWatcher;

enum TProStyle {
    tsOffice2003Blue, tsOffice2003Silver, tsOffice2003Olive, tsOffice2003Classic, tsOffice2007Luna,
    tsOffice2007Obsidian, tsWindowsXP, tsWhidbey, tsCustom, tsOffice2007Silver, tsWindowsVista,
    tsWindows7, tsTerminal, tsOffice2010Blue, tsOffice2010Silver, tsOffice2010Black
};

struct TColorTone {
    TColor BrushColor = clNone;
    TColor BorderColor = clNone;
    TColor TextColor = clNone;
};

struct TColorTones {
    TColorTone Background, Foreground, Selected, Hover, Disabled;
};

class IProStyle {
public:
    virtual ~IProStyle() = default;
    virtual void SetComponentStyle(TProStyle AStyle) = 0;
};

class IProTones {
public:
    virtual ~IProTones() = default;
    virtual void SetColorTones(const TColorTones& ATones) = 0;
};

enum TOfficeTheme {
    ot2003Blue, ot2003Silver, ot2003Olive, ot2003Classic, ot2007Blue, ot2007Silver, ot2007Black,
    ot2010Blue, ot2010Silver, ot2010Black, otUnknown
};

// The theme "library": Qt's style, always at hand once bound.
void BindThemeApi();
void UnbindThemeApi();
bool ThemeApiLoaded();
bool IsThemeActive();

bool IsComCtl6();
bool IsVistaOrLater();
bool IsWinXPOrLater();
QString DefaultFontName();
// 1 NormalColor, 2 HomeStead, 3 Metallic, 0 none: the colour scheme of the desktop theme.
int GetXPThemeScheme();
// The same for a given colour-scheme name (the name occurs within the scheme's text).
int XPThemeSchemeOfColorName(const QString& ColorName);

int DetectOfficeVersion();
int ReadOfficeThemeValue(TRegistry& Registry, const QString& Key);
TOfficeTheme DetectOfficeStyle();

// Window message sent to the notifier window and every registered window when the Office
// theme setting changes: WParam = root key, LParam = the key path text.
constexpr unsigned WM_OFFICETHEMECHANGED = 0x0BB1;

class TWindowMessageEvent : public QEvent {
public:
    TWindowMessageEvent(unsigned Msg, intptr_t WParam, intptr_t LParam)
        : QEvent(EventType()), Msg(Msg), WParam(WParam), LParam(LParam) {}
    static QEvent::Type EventType();
    unsigned Msg;
    intptr_t WParam;
    intptr_t LParam;
};

// Sends a window message synchronously (the receiving window's handler runs before it returns).
void SendWindowMessage(QWidget* Wnd, unsigned Msg, intptr_t WParam, intptr_t LParam);

class THandleList {
public:
    int Count() const { return int(FItems.size()); }
    void Add(QWidget* Handle) { FItems.append(Handle); }
    void Delete(int Index) { FItems.removeAt(Index); }
    void Insert(int Index, QWidget* Handle) { FItems.insert(Index, Handle); }
    QWidget* GetInteger(int Index) const { return FItems.at(Index); }
    void SetInteger(int Index, QWidget* Handle) { FItems[Index] = Handle; }
    void DeleteValue(QWidget* Handle);
    bool HasValue(QWidget* Handle) const;

private:
    QList<QPointer<QWidget>> FItems;
};

// Watches a registry key and sends WM_OFFICETHEMECHANGED on a change of its values.  It runs
// on the GUI thread (the store's file is watched), so the window list needs no lock.
class TRegMonitorThread : public QObject {
public:
    TRegMonitorThread();
    ~TRegMonitorThread() override;

    QString Key() const { return FKey; }
    void SetKey(const QString& v) { FKey = v; }
    HKEY RootKey() const { return FRootKey; }
    void SetRootKey(HKEY v) { FRootKey = v; }
    bool WatchSub() const { return FWatchSub; }
    void SetWatchSub(bool v) { FWatchSub = v; }
    int Filter() const { return FFilter == 0 ? 15 : FFilter; }
    void SetFilter(int v) { FFilter = v; }
    QWidget* Wnd() const { return FWnd; }
    void SetWnd(QWidget* v) { FWnd = v; }
    THandleList& WinList() { return FWinList; }

    // Opens the key and starts watching; false with ErrorText set when the key is missing.
    bool Start();
    void Stop();
    bool Running() const { return FRunning; }
    const QString& ErrorText() const { return FErrorText; }
    // Compares the key's values with the last look and notifies the windows on a change.
    void CheckForChange();

private:
    QMap<QString, QVariant> Snapshot() const;
    void Notify();

    QString FKey;
    HKEY FRootKey = HKEY::HKEY_CURRENT_USER;
    bool FWatchSub = false;
    int FFilter = 0;
    QPointer<QWidget> FWnd;
    THandleList FWinList;
    bool FRunning = false;
    QString FErrorText;
    QString FKeyText;  // LParam of the message
    QMap<QString, QVariant> FLast;
    QFileSystemWatcher* FWatcher = nullptr;
};

// Hidden window that turns the theme message into its event.
class TThemeNotifierWindow : public QWidget {
public:
    explicit TThemeNotifierWindow(QWidget* Parent);
    TNotifyEvent OnOfficeThemeChange;

protected:
    bool event(QEvent* e) override;
};

// One per process; see GetThemeNotifier.
class TThemeNotifier : public QObject, public TObject {
public:
    explicit TThemeNotifier(QObject* AOwner);
    ~TThemeNotifier() override;
    QString ClassName() const override { return QStringLiteral("TThemeNotifier"); }

    TNotifyEvent OnOfficeThemeChange;
    TRegMonitorThread* RegMonitorThread() const { return FRegMonitorThread; }
    TThemeNotifierWindow* NotifierWindow() const { return FNotifier; }

    void RegisterWindow(QWidget* Handle);
    void UnRegisterWindow(QWidget* Hwnd);

private:
    TRegMonitorThread* FRegMonitorThread = nullptr;
    QPointer<TThemeNotifierWindow> FNotifier;
};

TThemeNotifier* GetThemeNotifier(QObject* AOwner);
