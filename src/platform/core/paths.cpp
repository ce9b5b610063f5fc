#include "platform/core/paths.h"

#include <QDir>
#include <QFileInfo>

QString PathJoin(const QString& folder, const QString& name)
{
    if (folder.endsWith(QLatin1Char('/'))) return folder + name;
    return folder + QLatin1Char('/') + name;
}

QString PathJoin(const QString& a, const QString& b, const QString& c) { return PathJoin(PathJoin(a, b), c); }

QString ExtractFilePath(const QString& path)
{
    const int i = path.lastIndexOf(QLatin1Char('/'));
    return i < 0 ? QString() : path.left(i + 1);
}

QString ExtractFileDir(const QString& path)
{
    const int i = path.lastIndexOf(QLatin1Char('/'));
    if (i < 0) return QString();
    return i == 0 ? QStringLiteral("/") : path.left(i);
}

QString ExtractFileName(const QString& path) { return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1); }

QString ExtractFileExt(const QString& path)
{
    const QString name = ExtractFileName(path);
    const int i = name.lastIndexOf(QLatin1Char('.'));
    return i < 0 ? QString() : name.mid(i);
}

QString ChangeFileExt(const QString& path, const QString& ext)
{
    const QString e = ExtractFileExt(path);
    return path.left(path.size() - e.size()) + ext;
}

bool FileExists(const QString& path)
{
    QFileInfo fi(path);
    return fi.exists() && !fi.isDir();
}

bool DirectoryExists(const QString& path)
{
    QFileInfo fi(path);
    return fi.exists() && fi.isDir();
}

bool CreateDir(const QString& path) { return QDir().mkdir(path); }

bool ForceDirectories(const QString& path) { return QDir().mkpath(path); }

QString FindFileNoCase(const QString& path)
{
    if (QFileInfo::exists(path)) return path;
    const QString dir = ExtractFileDir(path);
    const QString name = ExtractFileName(path);
    const QStringList entries = QDir(dir.isEmpty() ? QStringLiteral(".") : dir).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& e : entries)
        if (e.compare(name, Qt::CaseInsensitive) == 0) return dir.isEmpty() ? e : PathJoin(dir, e);
    return path;
}
