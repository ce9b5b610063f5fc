#include "platform/core/file_io.h"

#include "platform/core/exception.h"

#include <QFile>
#include <QSaveFile>

bool TrySaveFileAtomic(const QString& path, const QByteArray& data, QString* errorText)
{
    QSaveFile f(path);
    // a target that is a folder must fail, not be replaced
    f.setDirectWriteFallback(false);
    QString err;
    if (!f.open(QIODevice::WriteOnly)) {
        err = f.errorString();
    } else if (f.write(data) != data.size()) {
        err = f.errorString();
        f.cancelWriting();
    } else if (!f.commit()) {
        err = f.errorString();
    }
    if (err.isEmpty()) return true;
    if (errorText) *errorText = QStringLiteral("Cannot create file \"%1\". %2").arg(path, err);
    return false;
}

void SaveFileAtomic(const QString& path, const QByteArray& data)
{
    QString err;
    if (!TrySaveFileAtomic(path, data, &err)) throw EInOutError(err);
}

bool ReadWholeFile(const QString& path, QByteArray& data)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return false;
    data = f.readAll();
    return true;
}
