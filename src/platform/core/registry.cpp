#include "platform/core/registry.h"

#include "platform/core/exception.h"

#include <QSettings>

namespace {
QSettings* gStore = nullptr;

QSettings& DefaultStore()
{
    static QSettings store(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Fabricat"),
                           QStringLiteral("Registry"));
    return store;
}

const char* RootName(HKEY root)
{
    switch (root) {
    case HKEY::HKEY_CLASSES_ROOT: return "HKEY_CLASSES_ROOT";
    case HKEY::HKEY_CURRENT_USER: return "HKEY_CURRENT_USER";
    case HKEY::HKEY_LOCAL_MACHINE: return "HKEY_LOCAL_MACHINE";
    case HKEY::HKEY_USERS: return "HKEY_USERS";
    }
    return "HKEY_CURRENT_USER";
}
}

QSettings& RegistryStore() { return gStore ? *gStore : DefaultStore(); }
void SetRegistryStore(QSettings* store) { gStore = store; }

QString TRegistry::GroupOf(HKEY root, const QString& Key)
{
    QString path = Key;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (path.startsWith(QLatin1Char('/'))) path.remove(0, 1);
    while (path.endsWith(QLatin1Char('/'))) path.chop(1);
    return QString::fromLatin1(RootName(root)) + (path.isEmpty() ? QString() : QLatin1Char('/') + path);
}

bool TRegistry::KeyExists(const QString& Key) const
{
    QSettings& s = RegistryStore();
    s.beginGroup(GroupOf(FRootKey, Key));
    const bool exists = !s.childKeys().isEmpty() || !s.childGroups().isEmpty();
    s.endGroup();
    return exists;
}

bool TRegistry::OpenKey(const QString& Key, bool CanCreate)
{
    if (!CanCreate && !KeyExists(Key)) return false;
    FCurrentKey = GroupOf(FRootKey, Key);
    FOpen = true;
    return true;
}

bool TRegistry::OpenKeyReadOnly(const QString& Key) { return OpenKey(Key, false); }

QString TRegistry::ValuePath(const QString& Name) const { return FCurrentKey + QLatin1Char('/') + Name; }

bool TRegistry::ValueExists(const QString& Name) const
{
    return FOpen && RegistryStore().contains(ValuePath(Name));
}

int TRegistry::ReadInteger(const QString& Name) const
{
    if (!ValueExists(Name)) throw Exception(QStringLiteral("Invalid data type for '%1'").arg(Name));
    bool ok = false;
    const int v = RegistryStore().value(ValuePath(Name)).toInt(&ok);
    if (!ok) throw Exception(QStringLiteral("Invalid data type for '%1'").arg(Name));
    return v;
}

QString TRegistry::ReadString(const QString& Name) const
{
    return ValueExists(Name) ? RegistryStore().value(ValuePath(Name)).toString() : QString();
}

void TRegistry::WriteInteger(const QString& Name, int Value)
{
    if (FOpen) RegistryStore().setValue(ValuePath(Name), Value);
}

void TRegistry::WriteString(const QString& Name, const QString& Value)
{
    if (FOpen) RegistryStore().setValue(ValuePath(Name), Value);
}
