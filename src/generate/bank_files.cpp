#include "generate/bank_files.h"

#include "platform/core/exception.h"
#include "platform/core/paths.h"
#include "state/shared_state.h"

#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <cstring>
#include <memory>
#include <vector>

QString Bank_File_Path(const char* name) { return PathJoin(Conf_Dir, QStringLiteral("bin"), QString::fromLatin1(name)); }

namespace {
[[noreturn]] void Cannot_Create(const QString& path, const QString& reason)
{
    throw EInOutError(QStringLiteral("Cannot create file \"%1\". %2").arg(path, reason));
}
}  // namespace

void Save_Bank_Files(std::initializer_list<TBankFile> files)
{
    // every file is written to its temporary file before any of them replaces its target;
    // a temporary file not committed is removed with its QSaveFile
    // without a configuration the paths would point into the file system's root folder
    if (!Is_Conf_Open()) throw EInOutError(QStringLiteral("No configuration is open."));
    std::vector<std::unique_ptr<QSaveFile>> pending;
    for (const TBankFile& bf : files) {
        const QString path = Bank_File_Path(bf.Name);
        // a folder of that name would only refuse the final rename, after earlier files moved
        if (QFileInfo(path).isDir()) Cannot_Create(path, QString::fromLocal8Bit(std::strerror(EISDIR)));
        auto f = std::make_unique<QSaveFile>(path);
        f->setDirectWriteFallback(false);
        if (!f->open(QIODevice::WriteOnly)) Cannot_Create(path, f->errorString());
        if (f->write(reinterpret_cast<const char*>(bf.Buf), bf.Len) != bf.Len) Cannot_Create(path, f->errorString());
        pending.push_back(std::move(f));
    }
    for (auto& f : pending)
        if (!f->commit()) Cannot_Create(f->fileName(), f->errorString());
}
