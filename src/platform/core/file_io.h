#pragma once
// Whole-file writes: the content goes to a temporary file beside the target, which then
// replaces the target, so a failed write never leaves a half file behind.
#include <QByteArray>
#include <QString>
#include <functional>
#include <limits>
#include <sys/types.h>

// One file being written.  The content goes to "<target>.tmp-XXXXXX" beside the target,
// which the target's old content survives until Commit renames it over the target.
// Write and Finish may fail (a full disk, an I/O error) and throw EInOutError with the
// platform's text; the temporary file is then removed with the object, the target
// untouched.  A set of files that must change together prepares each one with Write and
// Finish and only then commits them.
// Opening the temporary file also removes temporary files of the same target left behind
// by a writer that was killed (none that a running writer still holds).
class TAtomicFile {
public:
    explicit TAtomicFile(const QString& path);   // throws EInOutError
    ~TAtomicFile();                              // removes the temporary file unless committed
    TAtomicFile(const TAtomicFile&) = delete;
    TAtomicFile& operator=(const TAtomicFile&) = delete;

    const QString& Path() const { return FPath; }
    const QString& TempPath() const { return FTempPath; }
    void Write(const char* data, qsizetype size);
    void Write(const QByteArray& data) { Write(data.constData(), data.size()); }
    // Flushes the content to the disk and closes the temporary file; after it only the
    // rename is left.
    void Finish();
    // Replaces the target with the temporary file (finishing it first).
    void Commit();

private:
    // "Cannot write file <target>: <step>. <the platform's text for err>"
    [[noreturn]] void Fail(const char* step, int err) const;

    QString FPath;       // the target, symbolic links resolved
    QString FTempPath;
    int FFd = -1;
    bool FCommitted = false;
};

// Throws EInOutError with the platform's text when the file cannot be written.
void SaveFileAtomic(const QString& path, const QByteArray& data);
// Same, reporting instead of throwing: returns false and fills errorText.
bool TrySaveFileAtomic(const QString& path, const QByteArray& data, QString* errorText);

// Files read from outside are regular files of a bounded size: a FIFO or a device would
// block or never end, a folder means nothing.  The checks below are the one place that
// decides, for a path before it is opened and for an opened file alike.
enum class TFileCheck { Ok, Unreadable, NotRegular, TooLarge };
// The largest file ReadWholeFile reads unless told otherwise.
inline constexpr qint64 MaxReadFileSize = qint64(512) * 1024 * 1024;
// Why a file checked so cannot be read, as the end of a sentence ("it is not a regular
// file"); empty for Ok.
QString FileCheckText(TFileCheck check, qint64 maxSize);
// The file's type and size as stat(2) gives them, links followed; nothing is opened.
TFileCheck CheckRegularFile(const QString& path, qint64 maxSize = MaxReadFileSize);
// Whether the path names a regular file, of any size.
inline bool IsRegularFile(const QString& path) { return CheckRegularFile(path, std::numeric_limits<qint64>::max()) == TFileCheck::Ok; }
// Reads a whole regular file of at most maxSize bytes.  The file is opened without
// blocking and checked before a byte is read; one that grows past maxSize while it is read
// is refused.  data is changed only on Ok.
TFileCheck ReadRegularFile(const QString& path, qint64 maxSize, QByteArray& data);
// The same with the common cap; false when the file cannot be read.
bool ReadWholeFile(const QString& path, QByteArray& data);

// Every write of saved content goes through this function, in write(2)'s shape, so tests
// can play a full disk.  An empty function restores the system's write; the previous
// hook is returned.
using TFileWriteHook = std::function<ssize_t(int fd, const void* data, size_t size)>;
TFileWriteHook SetFileWriteHook(TFileWriteHook hook);
