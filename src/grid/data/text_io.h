#pragma once
// Plain-text files of the grid without the grid: encodings, lines and the CSV parser.  The
// readers parse a whole input here first, so a bad file is refused before any cell changes.
#include "platform/core/file_io.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

enum class TTextEncoding { Ansi, Utf8, Utf16LE, Utf16BE };

// The encoding of a file's bytes and the length of its byte-order mark.  A mark names
// UTF-8 or UTF-16.  Without one, bytes that are valid UTF-8 and hold at least one multi-byte
// sequence are UTF-8 (as other programs write it), and anything else the ANSI code page.
TTextEncoding DetectTextEncoding(const QByteArray& Bytes, int* BomLength = nullptr);
// Whether the bytes are valid UTF-8 holding at least one multi-byte sequence.
bool IsMultiByteUtf8(QByteArrayView Bytes);
// Bytes as text in the encoding DetectTextEncoding finds.
QString DecodeText(const QByteArray& Bytes);
// Text as bytes, with the encoding's byte-order mark when Bom (never for Ansi).  Characters
// the ANSI code page lacks become "?".
QByteArray EncodeText(const QString& Text, TTextEncoding Encoding, bool Bom);
// Text for a file written without Unicode: the ANSI code page when it holds every character,
// else UTF-8 behind a byte-order mark, so that no character is lost.  Code page bytes that
// DetectTextEncoding would take for another encoding are written as UTF-8 with the mark too.
QByteArray EncodeAnsiFileText(const QString& Text);
// Lines ending at CR LF, LF or CR; a line break at the end starts no further line.
QStringList SplitTextLines(const QString& Text);

// The largest file a grid reader takes: a million rows of some hundred bytes each.
inline constexpr qint64 MaxLoadFileSize = MaxReadFileSize;
// The whole file for a grid reader, read through ReadRegularFile; nullopt when it cannot be
// opened, which each reader reports in its own words.  A file that is no regular file or is
// larger than MaxSize raises EProGridError "Cannot read file <name>: <why>" instead.
std::optional<QByteArray> ReadGridFile(const QString& FileName, qint64 MaxSize = MaxLoadFileSize);
// The whole file; throws EInOutError "Cannot open file <name>" when it cannot be opened, and
// EProGridError as ReadGridFile.
QByteArray ReadTextFile(const QString& FileName);

// A text file written whole, or appended to: an appended file keeps its bytes as they are
// and gets the new lines in its own encoding, after a line break when it lacks one.  An ANSI
// file becomes UTF-8 with a byte-order mark as a whole when a character the code page lacks
// comes, or when its bytes would read back as UTF-8 (EncodeAnsiFileText); OEM bytes
// (Latin1Bytes) stay as they are.
class TTextFileWriter {
public:
    // Append with MustExist: a missing file raises EInOutError; else it counts as empty.
    TTextFileWriter(const QString& FileName, TTextEncoding Encoding, bool Bom, bool Append, bool MustExist);
    ~TTextFileWriter();
    // What goes before the new text (a line break the old file lacks).
    QString Lead() const { return FLead; }
    // Writes through a temporary file; a failure raises EInOutError and keeps the old file.
    // Latin1Bytes: an 8-bit file takes the characters as bytes (texts already converted).
    void Save(const QString& Text, bool Latin1Bytes = false);
    // A part of the text, written now to the temporary file and emptied (its room kept), so
    // that a large text never lies whole in memory; Save writes the last part and commits.
    // A part must not end inside a surrogate pair.  Nothing replaces the old file before Save.
    void Put(QString& Part, bool Latin1Bytes = false);

private:
    void Write(const QString& Text, bool Latin1Bytes);
    // An ANSI file met a character its code page lacks: what was written so far is written
    // again as UTF-8 behind a byte-order mark, and the rest follows in UTF-8.
    void SwitchToUtf8();
    // Follows whether the ANSI bytes written so far are UTF-8 with a multi-byte sequence
    // (FLooksUtf8), which a reader would take them for, or surely not (FNotUtf8).  A sequence
    // cut at the end of a part waits in FUtf8Tail for the next.
    void NoteAnsiBytes(const QByteArray& Bytes);

    QString FFileName, FLead;
    QByteArray FOld;
    TTextEncoding FEncoding;
    bool FBom;
    bool FLooksUtf8 = false, FNotUtf8 = false;
    QByteArray FUtf8Tail, FHead;  // FHead: the first ANSI bytes, which must not look like a mark
    std::unique_ptr<TAtomicFile> FFile;
};

// Candidate separators of the CSV delimiter guess, in the order they are tried.
inline constexpr char16_t CSVDelimiterCandidates[] = {u',', u';', u'#', u'\t', u'|', u'@', u'*', u'-', u'+', u'&'};
// Occurrences of Ch not escaped by doubling: each odd run counts once, and a run that ends
// the text counts whatever its length.
int CountUnescaped(QChar Ch, QStringView S);
// The separator that splits the first two lines alike; QChar(0) when none does.
QChar GuessCSVDelimiter(QStringView L1, QStringView L2);

struct TCSVOptions {
    QChar Delimiter;          // QChar(0): no separator, each line is one field
    bool JavaCSV = false;     // "~" is a line break, "^" an empty field
    bool OemConvert = false;  // fields come in the OEM code page
};

// A CSV text as records of fields.  Record i holds Fields[Starts[i] .. Starts[i + 1]); an
// empty field after the last separator of a record is left out, so it writes nothing.
struct TCSVTable {
    std::vector<QString> Fields;
    std::vector<size_t> Starts{0};
    size_t RecordCount() const { return Starts.size() - 1; }
    size_t FieldCount(size_t Record) const { return Starts[Record + 1] - Starts[Record]; }
    const QString& Field(size_t Record, size_t Index) const { return Fields[Starts[Record] + Index]; }
};

// Parses records until the text ends or MaxRecords (> 0) were read, after skipping
// SkipRecords.  A field that starts with a double quote (after leading blanks) runs to the
// quote closing an odd run of quotes, across line breaks, which become CR LF; one never
// closed runs to the end of its line.  Character 11 (JavaCSV: "~") becomes CR LF.
TCSVTable ParseCSV(QStringView Text, const TCSVOptions& Options, int SkipRecords = 0, int MaxRecords = 0);
// The same walk, handing each kept field and the end of each kept record to a sink as they
// come.  A sink without Texts gets empty fields: the records are counted, no text is built.
class TCSVSink {
public:
    virtual ~TCSVSink() = default;
    virtual void Field(QString&& Text) = 0;
    virtual void EndRecord() = 0;
    bool Texts = true;
};
void ParseCSV(QStringView Text, const TCSVOptions& Options, int SkipRecords, int MaxRecords, TCSVSink& Sink);
// The same over the bytes of a file in the ANSI code page, read as DecodeText would read them.
void ParseAnsiCSV(QByteArrayView Bytes, const TCSVOptions& Options, int SkipRecords, int MaxRecords, TCSVSink& Sink);

// One field as the CSV writer puts it: quotes doubled, and quoted when it holds the
// separator, a quote or a line break.  Empty fields are "" with QuoteEmptyCells (JavaCSV: ^).
struct TCSVWriteOptions {
    QChar Delimiter = u',';
    bool JavaCSV = false;
    bool QuoteEmptyCells = true;
    bool AlwaysQuotes = false;
    bool OemConvert = false;
};
void AppendCSVField(QString& Out, const QString& Text, const TCSVWriteOptions& Options);
