#include "platform/core/file_io.h"

#include "platform/core/exception.h"
#include "platform/core/paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
const QLatin1String kTempInfix(".tmp-");
constexpr int kTempSuffixLength = 6;
const char kTempAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

TFileWriteHook& WriteHook()
{
    static TFileWriteHook hook;
    return hook;
}

QByteArray Native(const QString& path) { return QFile::encodeName(path); }

QString FolderOf(const QString& path)
{
    const QString folder = ExtractFileDir(path);
    return folder.isEmpty() ? QStringLiteral(".") : folder;
}

bool IsTempNameOf(const QString& entry, const QString& name)
{
    if (entry.size() != name.size() + kTempInfix.size() + kTempSuffixLength) return false;
    if (!entry.startsWith(name) || QStringView(entry).mid(name.size(), kTempInfix.size()) != kTempInfix) return false;
    for (qsizetype i = entry.size() - kTempSuffixLength; i < entry.size(); ++i) {
        const char16_t c = entry[i].unicode();
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))) return false;
    }
    return true;
}

// A writer holds a lock on its temporary file until it is renamed or removed, so a file
// whose lock can be taken was left by a writer that died.
void RemoveStaleTemps(const QString& folder, const QString& name)
{
    const QStringList entries = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& entry : entries) {
        if (!IsTempNameOf(entry, name)) continue;
        const QByteArray path = Native(PathJoin(folder, entry));
        const int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat st{};
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0) ::unlink(path.constData());
        ::close(fd);
    }
}

QString TempSuffix()
{
    QString s;
    for (int i = 0; i < kTempSuffixLength; ++i)
        s += QLatin1Char(kTempAlphabet[QRandomGenerator::global()->bounded(int(sizeof kTempAlphabet) - 1)]);
    return s;
}
}  // namespace

TAtomicFile::TAtomicFile(const QString& path) : FPath(path)
{
    // a link stays a link: the file it points to is the one replaced
    const QFileInfo link(path);
    if (link.isSymLink() && !link.symLinkTarget().isEmpty()) FPath = link.symLinkTarget();
    const QByteArray target = Native(FPath);
    struct stat st{};
    const bool exists = ::stat(target.constData(), &st) == 0;
    // a folder would only refuse the final rename, after the whole content was written
    if (exists && S_ISDIR(st.st_mode)) Fail("a folder stands in its place", EISDIR);

    RemoveStaleTemps(FolderOf(FPath), ExtractFileName(FPath));

    for (int attempt = 0; attempt < 100 && FFd < 0; ++attempt) {
        const QString temp = FPath + kTempInfix + TempSuffix();
        FFd = ::open(Native(temp).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (FFd >= 0) FTempPath = temp;
        else if (errno != EEXIST) Fail("its temporary file cannot be created", errno);
    }
    if (FFd < 0) Fail("its temporary file cannot be created", EEXIST);
    ::flock(FFd, LOCK_EX | LOCK_NB);
    // the replacement keeps the old file's permissions
    if (exists) ::fchmod(FFd, st.st_mode & 07777);
}

TAtomicFile::~TAtomicFile()
{
    if (FFd >= 0) ::close(FFd);
    if (!FCommitted && !FTempPath.isEmpty()) ::unlink(Native(FTempPath).constData());
}

void TAtomicFile::Fail(const char* step, int err) const
{
    throw EInOutError(QStringLiteral("Cannot write file \"%1\": %2. %3")
                          .arg(FPath, QLatin1String(step), QString::fromLocal8Bit(std::strerror(err))));
}

void TAtomicFile::Write(const char* data, qsizetype size)
{
    if (FFd < 0) Fail("writing its content failed", EBADF);
    const TFileWriteHook hook = WriteHook();
    while (size > 0) {
        const ssize_t n = hook ? hook(FFd, data, size_t(size)) : ::write(FFd, data, size_t(size));
        if (n < 0) {
            if (errno == EINTR) continue;
            Fail("writing its content failed", errno);
        }
        // a regular file that takes nothing will take nothing on the next try either
        if (n == 0) Fail("writing its content failed", EIO);
        data += n;
        size -= n;
    }
}

void TAtomicFile::Finish()
{
    if (FFd < 0) return;
    // some file systems report a full disk or a lost write only here
    if (::fsync(FFd) != 0) Fail("flushing its content to the disk failed", errno);
    const int fd = FFd;
    FFd = -1;
    if (::close(fd) != 0 && errno != EINTR) Fail("flushing its content to the disk failed", errno);
}

void TAtomicFile::Commit()
{
    if (FCommitted) return;
    Finish();
    if (::rename(Native(FTempPath).constData(), Native(FPath).constData()) != 0) Fail("replacing the old file failed", errno);
    FCommitted = true;
    // the rename itself reaches the disk with its folder
    const int dfd = ::open(Native(FolderOf(FPath)).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
}

bool TrySaveFileAtomic(const QString& path, const QByteArray& data, QString* errorText)
{
    try {
        SaveFileAtomic(path, data);
        return true;
    } catch (const EInOutError& e) {
        if (errorText) *errorText = e.Message();
        return false;
    }
}

void SaveFileAtomic(const QString& path, const QByteArray& data)
{
    TAtomicFile f(path);
    f.Write(data);
    f.Commit();
}

namespace {
TFileCheck CheckStat(const struct stat& st, qint64 maxSize)
{
    if (!S_ISREG(st.st_mode)) return TFileCheck::NotRegular;
    if (qint64(st.st_size) > maxSize) return TFileCheck::TooLarge;
    return TFileCheck::Ok;
}

QString SizeText(qint64 size)
{
    constexpr qint64 kKB = 1024, kMB = 1024 * 1024;
    if (size >= kMB && size % kMB == 0) return QStringLiteral("%1 MB").arg(size / kMB);
    if (size >= kKB && size % kKB == 0) return QStringLiteral("%1 KB").arg(size / kKB);
    return QStringLiteral("%1 bytes").arg(size);
}
}  // namespace

QString FileCheckText(TFileCheck check, qint64 maxSize)
{
    switch (check) {
    case TFileCheck::Ok: break;
    case TFileCheck::Unreadable: return QStringLiteral("it cannot be opened");
    case TFileCheck::NotRegular: return QStringLiteral("it is not a regular file");
    case TFileCheck::TooLarge: return QStringLiteral("it is larger than ") + SizeText(maxSize);
    }
    return {};
}

TFileCheck CheckRegularFile(const QString& path, qint64 maxSize)
{
    struct stat st{};
    if (path.isEmpty() || ::stat(Native(path).constData(), &st) != 0) return TFileCheck::Unreadable;
    return CheckStat(st, maxSize);
}

TFileCheck ReadRegularFile(const QString& path, qint64 maxSize, QByteArray& data)
{
    // a buffer one byte larger than the cap tells a file that grows past it
    maxSize = std::clamp<qint64>(maxSize, 0, std::numeric_limits<qsizetype>::max() / 2);
    if (path.isEmpty()) return TFileCheck::Unreadable;
    // without O_NONBLOCK, opening a FIFO waits for a writer
    const int fd = ::open(Native(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return TFileCheck::Unreadable;
    struct TCloser {
        int Fd;
        ~TCloser() { ::close(Fd); }
    } closer{fd};
    struct stat st{};
    if (::fstat(fd, &st) != 0) return TFileCheck::Unreadable;
    if (const TFileCheck c = CheckStat(st, maxSize); c != TFileCheck::Ok) return c;

    QByteArray buf(std::min<qint64>(st.st_size, maxSize) + 1, Qt::Uninitialized);
    qint64 total = 0;
    for (;;) {
        if (total == buf.size()) {
            if (total > maxSize) return TFileCheck::TooLarge;
            // a file that reports no size (as some system files do) is read in growing steps
            buf.resize(std::min<qint64>(std::max<qint64>(total * 2, 64 * 1024), maxSize + 1));
        }
        const ssize_t n = ::read(fd, buf.data() + total, size_t(buf.size() - total));
        if (n < 0) {
            if (errno == EINTR) continue;
            return TFileCheck::Unreadable;
        }
        if (n == 0) break;
        total += n;
    }
    if (total > maxSize) return TFileCheck::TooLarge;
    buf.truncate(total);
    data = std::move(buf);
    return TFileCheck::Ok;
}

bool ReadWholeFile(const QString& path, QByteArray& data)
{
    return ReadRegularFile(path, MaxReadFileSize, data) == TFileCheck::Ok;
}

TFileWriteHook SetFileWriteHook(TFileWriteHook hook)
{
    TFileWriteHook old = WriteHook();
    WriteHook() = std::move(hook);
    return old;
}
