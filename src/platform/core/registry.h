#pragma once
// The Windows registry's key-and-value model, on QSettings: a key path under a root key is a
// settings group ("HKEY_CURRENT_USER/Software/..."), a value is an entry of that group.
// Tests replace the store with a settings file of their own.
#include <QString>
#include <QVariant>
#include <memory>

class QSettings;

enum class HKEY { HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS };

// The process-wide store; nullptr restores the default (the user's settings folder).
QSettings& RegistryStore();
void SetRegistryStore(QSettings* store);

class TRegistry {
public:
    explicit TRegistry(HKEY root = HKEY::HKEY_CURRENT_USER) : FRootKey(root) {}

    HKEY RootKey() const { return FRootKey; }
    void SetRootKey(HKEY v) { FRootKey = v; }

    bool KeyExists(const QString& Key) const;
    bool OpenKey(const QString& Key, bool CanCreate);
    bool OpenKeyReadOnly(const QString& Key);
    void CloseKey() { FCurrentKey.clear(); FOpen = false; }
    const QString& CurrentPath() const { return FCurrentKey; }

    bool ValueExists(const QString& Name) const;
    // Throws an Exception when the value is missing or not an integer.
    int ReadInteger(const QString& Name) const;
    QString ReadString(const QString& Name) const;
    void WriteInteger(const QString& Name, int Value);
    void WriteString(const QString& Name, const QString& Value);

    // The settings group of a key path under a root.
    static QString GroupOf(HKEY root, const QString& Key);

private:
    QString ValuePath(const QString& Name) const;

    HKEY FRootKey;
    QString FCurrentKey;
    bool FOpen = false;
};
