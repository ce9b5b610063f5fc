#pragma once
// Whole-file writes: the content goes to a temporary file beside the target, which then
// replaces the target, so a failed write never leaves a half file behind.
#include <QByteArray>
#include <QString>
#include <functional>
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
// Reads a whole file; false when it cannot be read.
bool ReadWholeFile(const QString& path, QByteArray& data);

// Every write of saved content goes through this function, in write(2)'s shape, so tests
// can play a full disk.  An empty function restores the system's write; the previous
// hook is returned.
using TFileWriteHook = std::function<ssize_t(int fd, const void* data, size_t size)>;
TFileWriteHook SetFileWriteHook(TFileWriteHook hook);
