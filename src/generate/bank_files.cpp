#include "generate/bank_files.h"

#include "platform/core/exception.h"
#include "platform/core/file_io.h"
#include "platform/core/paths.h"
#include "state/shared_state.h"

#include <memory>
#include <vector>

QString Bank_File_Path(const char* name) { return PathJoin(Conf_Dir, QStringLiteral("bin"), QString::fromLatin1(name)); }

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
    for (auto& f : pending) f->Commit();
}
