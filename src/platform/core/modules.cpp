#include "platform/core/modules.h"

#include <QFile>
#include <QFileInfo>
#include <dlfcn.h>
#include <map>
#include <mutex>

namespace {
std::mutex& Lock()
{
    static std::mutex m;
    return m;
}
QString& FolderOverride()
{
    static QString s;
    return s;
}
}  // namespace

QString ModuleFolder()
{
    std::lock_guard<std::mutex> guard(Lock());
    if (!FolderOverride().isEmpty()) return FolderOverride();
    // the executable itself, not Exe_Dir: tests play Exe_Dir in a folder of their own
    static const QString folder = QFileInfo(QFile::symLinkTarget(QStringLiteral("/proc/self/exe"))).absolutePath();
    return folder;
}

void SetModuleFolder(const QString& Folder)
{
    std::lock_guard<std::mutex> guard(Lock());
    FolderOverride() = Folder;
}

void* ModuleEntry(const char* Module, const char* Symbol, QString* Error)
{
    const QString file = ModuleFolder() + QStringLiteral("/lib") + QString::fromUtf8(Module) + QStringLiteral(".so");
    std::lock_guard<std::mutex> guard(Lock());
    // by file, so that a module once loaded stays the one its objects came from
    static std::map<QString, void*> handles;
    void*& handle = handles[file];
    if (!handle) {
        handle = dlopen(QFile::encodeName(file).constData(), RTLD_NOW | RTLD_LOCAL);
        if (!handle) {
            if (Error) *Error = QString::fromLocal8Bit(dlerror());
            return nullptr;
        }
    }
    void* entry = dlsym(handle, Symbol);
    if (!entry && Error) *Error = QStringLiteral("%1: no entry %2").arg(QString::fromUtf8(Module), QString::fromUtf8(Symbol));
    return entry;
}
