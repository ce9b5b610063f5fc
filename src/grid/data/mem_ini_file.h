#pragma once
// An INI file held in memory: read whole when opened, written back whole by UpdateFile.
// Section and key names are compared without regard to case; lines that are not key=value
// pairs (comments, blank lines) are kept as they stand.
#include <QString>
#include <QStringList>
#include <vector>

class TMemIniFile {
public:
    // Files larger than this are not read (and never written back).
    static constexpr qint64 MaxFileSize = 4 * 1024 * 1024;

    explicit TMemIniFile(const QString& FileName);
    // The whole INI text as a file would hold it (for tests and fuzzing).
    static TMemIniFile FromText(const QByteArray& Bytes);

    const QString& FileName() const { return FFileName; }
    // False when the file exists but could not be read whole; UpdateFile then writes nothing.
    bool Readable() const { return FReadable; }

    bool SectionExists(const QString& Section) const;
    bool ValueExists(const QString& Section, const QString& Ident) const;
    QString ReadString(const QString& Section, const QString& Ident, const QString& Default) const;
    int ReadInteger(const QString& Section, const QString& Ident, int Default) const;
    void WriteString(const QString& Section, const QString& Ident, const QString& Value);
    void WriteInteger(const QString& Section, const QString& Ident, int Value);

    QByteArray Text() const;
    // Writes the file whole through a temporary file; throws EInOutError when that fails or
    // the file could not be read, and the old file stays as it was.
    void UpdateFile() const;
    // The same for a load, which has lost nothing when the write-back fails: false then.
    bool TryUpdateFile() const;

private:
    TMemIniFile() = default;
    void Parse(const QByteArray& Bytes);
    struct TLine {
        QString Name;   // empty with Raw set: a line kept verbatim
        QString Value;
        bool Raw = false;
    };
    struct TSection {
        QString Name;
        std::vector<TLine> Lines;
    };
    const TSection* Find(const QString& Section) const;
    const TLine* Find(const TSection& s, const QString& Ident) const;

    QString FFileName;
    bool FReadable = true;
    bool FLatin1 = false;
    std::vector<TLine> FHead;   // lines before the first section
    std::vector<TSection> FSections;
};
