#include "generate/bank_files.h"

#include "platform/core/exception.h"
#include "platform/core/paths.h"
#include "shell/state/shared_state.h"

#include <QSaveFile>
#include <memory>
#include <vector>

QString Bank_File_Path(const char* name) { return PathJoin(Conf_Dir, QStringLiteral("bin"), QString::fromLatin1(name)); }

void Save_Bank_Files(std::initializer_list<TBankFile> files)
{
    std::vector<std::unique_ptr<QSaveFile>> pending;
    auto fail = [&](const QSaveFile& f) {
        const QString text = QStringLiteral("Cannot create file \"%1\". %2").arg(f.fileName(), f.errorString());
        for (auto& p : pending) p->cancelWriting();
        throw EInOutError(text);
    };
    for (const TBankFile& bf : files) {
        auto f = std::make_unique<QSaveFile>(Bank_File_Path(bf.Name));
        // a target that is a folder must fail, not be written around
        f->setDirectWriteFallback(false);
        if (!f->open(QIODevice::WriteOnly)) fail(*f);
        pending.push_back(std::move(f));
        QSaveFile& cur = *pending.back();
        if (cur.write(reinterpret_cast<const char*>(bf.Buf), bf.Len) != bf.Len) fail(cur);
    }
    for (auto& f : pending)
        if (!f->commit()) fail(*f);
}
