#include "grid/base/theme.h"

#include "platform/core/exception.h"
#include "platform/ui/custom_grid.h"

#include <QApplication>
#include <QFileSystemWatcher>
#include <QSettings>
#include <QStyle>

namespace {
bool gThemeApiLoaded = false;
TThemeNotifier* gThemeNotifier = nullptr;

const QString kOffice14Common = QStringLiteral("Software\\Microsoft\\Office\\14.0\\Common");
const QString kOffice12Common = QStringLiteral("Software\\Microsoft\\Office\\12.0\\Common");
const QString kOffice14General = QStringLiteral("Software\\Microsoft\\Office\\14.0\\Common\\General");
const QString kOffice12General = QStringLiteral("Software\\Microsoft\\Office\\12.0\\Common\\General");

// The desktop theme's colour-scheme name.  Qt's styles carry none, so the XP schemes never
// match on this platform.
QString CurrentThemeColorName() { return QString(); }
}

void BindThemeApi() { gThemeApiLoaded = true; }
void UnbindThemeApi() { gThemeApiLoaded = false; }
bool ThemeApiLoaded() { return gThemeApiLoaded; }

bool IsThemeActive()
{
    // The plain "Windows" style is the classic look; every other style draws themed parts.
    const QStyle* style = qApp ? QApplication::style() : nullptr;
    return style && style->name().compare(QStringLiteral("windows"), Qt::CaseInsensitive) != 0;
}

// No version resource exists here; a missing version counts as a current library.
bool IsComCtl6() { return true; }
// The desktops this runs on are at least as capable as Windows 7.
bool IsVistaOrLater() { return true; }
bool IsWinXPOrLater() { return true; }

QString DefaultFontName() { return IsVistaOrLater() ? QStringLiteral("Segoe UI") : QStringLiteral("Tahoma"); }

int XPThemeSchemeOfColorName(const QString& ColorName)
{
    if (ColorName.isEmpty()) return 0;
    if (QStringLiteral("NormalColor").contains(ColorName)) return 1;
    if (QStringLiteral("HomeStead").contains(ColorName)) return 2;
    if (QStringLiteral("Metallic").contains(ColorName)) return 3;
    return 0;
}

int GetXPThemeScheme()
{
    if (!IsWinXPOrLater()) return 0;
    if (!IsThemeActive() || !IsComCtl6()) return 0;
    return XPThemeSchemeOfColorName(CurrentThemeColorName());
}

int DetectOfficeVersion()
{
    TRegistry reg(HKEY::HKEY_CURRENT_USER);
    if (reg.KeyExists(kOffice14General)) return 2;
    if (reg.KeyExists(kOffice12General)) return 1;
    return 0;
}

int ReadOfficeThemeValue(TRegistry& Registry, const QString& Key)
{
    if (!Registry.OpenKeyReadOnly(Key)) return -1;
    int v = -1;
    if (Registry.ValueExists(QStringLiteral("Theme"))) {
        try {
            v = Registry.ReadInteger(QStringLiteral("Theme"));
        } catch (const Exception&) {
            v = -1;
        }
    }
    Registry.CloseKey();
    return v;
}

TOfficeTheme DetectOfficeStyle()
{
    TRegistry reg(HKEY::HKEY_CURRENT_USER);
    int v = ReadOfficeThemeValue(reg, kOffice14Common);
    switch (v) {
    case -1: break;
    case 1: return ot2010Blue;
    case 2: return ot2010Silver;
    case 3: return ot2010Black;
    default: return ot2003Blue;
    }
    v = ReadOfficeThemeValue(reg, kOffice12Common);
    switch (v) {
    case -1: break;
    case 1: return ot2007Blue;
    case 2: return ot2007Silver;
    case 3: return ot2007Black;
    default: return ot2003Blue;
    }
    switch (GetXPThemeScheme()) {
    case 1: return ot2003Blue;
    case 2: return ot2003Olive;
    case 3: return ot2003Silver;
    default: return ot2003Classic;
    }
}

QEvent::Type TWindowMessageEvent::EventType()
{
    static const QEvent::Type type = QEvent::Type(QEvent::registerEventType());
    return type;
}

void SendWindowMessage(QWidget* Wnd, unsigned Msg, intptr_t WParam, intptr_t LParam)
{
    if (!Wnd) return;
    // A grid takes it through its window procedure; other windows as an event.
    if (auto* grid = dynamic_cast<TCustomGrid*>(Wnd)) {
        grid->Perform(Msg, WParam, LParam);
        return;
    }
    TWindowMessageEvent e(Msg, WParam, LParam);
    QCoreApplication::sendEvent(Wnd, &e);
}

void THandleList::DeleteValue(QWidget* Handle)
{
    const qsizetype i = FItems.indexOf(Handle);
    if (i >= 0) FItems.removeAt(i);
}

bool THandleList::HasValue(QWidget* Handle) const { return FItems.contains(Handle); }

TRegMonitorThread::TRegMonitorThread() = default;

TRegMonitorThread::~TRegMonitorThread() { Stop(); }

QMap<QString, QVariant> TRegMonitorThread::Snapshot() const
{
    QSettings& s = RegistryStore();
    s.sync();
    QMap<QString, QVariant> values;
    s.beginGroup(TRegistry::GroupOf(FRootKey, FKey));
    const QStringList keys = FWatchSub ? s.allKeys() : s.childKeys();
    for (const QString& k : keys) values.insert(k, s.value(k));
    s.endGroup();
    return values;
}

bool TRegMonitorThread::Start()
{
    TRegistry reg(FRootKey);
    if (!reg.OpenKeyReadOnly(FKey)) {
        FErrorText = QStringLiteral("Unable to open registry key ") + FKey;
        return false;
    }
    FKeyText = FKey;
    FLast = Snapshot();
    FRunning = true;
    const QString file = RegistryStore().fileName();
    if (!file.isEmpty()) {
        FWatcher = new QFileSystemWatcher(this);
        FWatcher->addPath(file);
        QObject::connect(FWatcher, &QFileSystemWatcher::fileChanged, this, [this, file] {
            // A store rewritten through a rename drops out of the watch: watch it again.
            if (!FWatcher->files().contains(file)) FWatcher->addPath(file);
            CheckForChange();
        });
    }
    return true;
}

void TRegMonitorThread::Stop()
{
    FRunning = false;
    delete FWatcher;
    FWatcher = nullptr;
}

void TRegMonitorThread::CheckForChange()
{
    if (!FRunning) return;
    const QMap<QString, QVariant> now = Snapshot();
    if (now == FLast) return;
    FLast = now;
    Notify();
}

void TRegMonitorThread::Notify()
{
    const intptr_t wparam = intptr_t(FRootKey);
    const intptr_t lparam = reinterpret_cast<intptr_t>(&FKeyText);
    if (FWnd) SendWindowMessage(FWnd, WM_OFFICETHEMECHANGED, wparam, lparam);
    // A handler may change the list; walk a copy.
    QList<QWidget*> targets;
    for (int i = 0; i < FWinList.Count(); ++i) targets << FWinList.GetInteger(i);
    for (QWidget* w : targets) SendWindowMessage(w, WM_OFFICETHEMECHANGED, wparam, lparam);
}

TThemeNotifierWindow::TThemeNotifierWindow(QWidget* Parent) : QWidget(Parent) { hide(); }

bool TThemeNotifierWindow::event(QEvent* e)
{
    if (e->type() == TWindowMessageEvent::EventType() &&
        static_cast<TWindowMessageEvent*>(e)->Msg == WM_OFFICETHEMECHANGED) {
        if (OnOfficeThemeChange) OnOfficeThemeChange(nullptr);
        return true;
    }
    return QWidget::event(e);
}

TThemeNotifier::TThemeNotifier(QObject* AOwner) : QObject(AOwner)
{
    const int o = DetectOfficeVersion();
    if (o == 0) return;
    FNotifier = new TThemeNotifierWindow(qobject_cast<QWidget*>(AOwner));
    FNotifier->OnOfficeThemeChange = [this](TObject*) {
        if (OnOfficeThemeChange) OnOfficeThemeChange(this);
    };
    FRegMonitorThread = new TRegMonitorThread();
    FRegMonitorThread->SetWnd(FNotifier);
    FRegMonitorThread->SetFilter(4);
    FRegMonitorThread->SetKey(o == 2 ? kOffice14Common : kOffice12Common);
    FRegMonitorThread->SetRootKey(HKEY::HKEY_CURRENT_USER);
    FRegMonitorThread->SetWatchSub(true);
    if (!FRegMonitorThread->Start()) {
        delete FRegMonitorThread;
        FRegMonitorThread = nullptr;
    }
}

TThemeNotifier::~TThemeNotifier()
{
    delete FRegMonitorThread;
    FRegMonitorThread = nullptr;
    // The notifier window may already have gone with its parent.
    delete FNotifier.data();
    if (gThemeNotifier == this) gThemeNotifier = nullptr;
}

void TThemeNotifier::RegisterWindow(QWidget* Handle)
{
    if (FRegMonitorThread && !FRegMonitorThread->WinList().HasValue(Handle))
        FRegMonitorThread->WinList().Add(Handle);
}

void TThemeNotifier::UnRegisterWindow(QWidget* Hwnd)
{
    if (FRegMonitorThread) FRegMonitorThread->WinList().DeleteValue(Hwnd);
}

TThemeNotifier* GetThemeNotifier(QObject* AOwner)
{
    if (!gThemeNotifier) gThemeNotifier = new TThemeNotifier(AOwner);
    return gThemeNotifier;
}
