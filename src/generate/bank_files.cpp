#include "generate/bank_files.h"

#include "platform/core/exception.h"
#include "platform/core/file_io.h"
#include "platform/core/paths.h"
#include "state/shared_state.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <unistd.h>
#include <vector>

std::function<void(const QString& path)> Bank_Before_Replace;

QString Bank_File_Path(const char* name) { return PathJoin(Conf_Dir, QStringLiteral("bin"), QString::fromLatin1(name)); }

namespace {
[[noreturn]] void Cannot_Keep(const QString& path)
{
    throw EInOutError(QStringLiteral("Cannot write file \"%1\": its previous content cannot be kept aside.").arg(path));
}

// The files a set replaces, kept aside (as a second link, or a copy where the file system
// has no links) until the whole set is in place.
class TBank_Backups {
public:
    ~TBank_Backups()
    {
        for (const TEntry& e : FEntries)
            if (e.Had_Old) QFile::remove(e.Backup);
    }
    void Keep(const QString& path)
    {
        TEntry e{path, path + QStringLiteral(".prev"), QFileInfo::exists(path)};
        if (e.Had_Old) {
            QFile::remove(e.Backup);  // left by an earlier run that ended abruptly
            const QByteArray from = QFile::encodeName(path), to = QFile::encodeName(e.Backup);
            if (::link(from.constData(), to.constData()) != 0 && !QFile::copy(path, e.Backup))
                Cannot_Keep(path);
        }
        FEntries.push_back(e);
    }
    // Puts back the first `count` files: their old content, or no file where there was none.
    void Restore(size_t count)
    {
        for (size_t i = 0; i < count && i < FEntries.size(); ++i) {
            TEntry& e = FEntries[i];
            if (!e.Had_Old) {
                QFile::remove(e.Path);
                continue;
            }
            const QByteArray from = QFile::encodeName(e.Backup), to = QFile::encodeName(e.Path);
            if (std::rename(from.constData(), to.constData()) == 0) e.Had_Old = false;
        }
    }

private:
    struct TEntry {
        QString Path;
        QString Backup;
        bool Had_Old;  // while true the backup exists and is ours to remove
    };
    std::vector<TEntry> FEntries;
};
}  // namespace

void Save_Bank_Files(std::initializer_list<TBankFile> files)
{
    // every file is written to its temporary file before any of them replaces its target;
    // a temporary file not committed is removed with its writer
    // without a configuration the paths would point into the file system's root folder
    if (!Is_Conf_Open()) throw EInOutError(QStringLiteral("No configuration is open."));
    std::vector<std::unique_ptr<TAtomicFile>> pending;
    for (const TBankFile& bf : files) {
        // a folder of that name fails here, before any file moved
        auto f = std::make_unique<TAtomicFile>(Bank_File_Path(bf.Name));
        f->Write(reinterpret_cast<const char*>(bf.Buf), bf.Len);
        f->Finish();
        pending.push_back(std::move(f));
    }
    TBank_Backups backups;
    for (auto& f : pending) backups.Keep(f->Path());
    size_t done = 0;
    try {
        for (auto& f : pending) {
            if (Bank_Before_Replace) Bank_Before_Replace(f->Path());
            f->Commit();
            ++done;
        }
    } catch (...) {
        backups.Restore(done);
        throw;
    }
}
