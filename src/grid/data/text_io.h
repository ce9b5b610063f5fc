#pragma once
// Plain-text files of the grid without the grid: encodings, lines and the CSV parser.  The
// readers parse a whole input here first, so a bad file is refused before any cell changes.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <cstddef>
#include <memory>
#include <vector>

class TAtomicFile;

enum class TTextEncoding { Ansi, Utf8, Utf16LE, Utf16BE };

// The encoding a byte-order mark names (Ansi without one) and the mark's length.
TTextEncoding DetectTextEncoding(const QByteArray& Bytes, int* BomLength = nullptr);
// Bytes as text: a byte-order mark picks UTF-8 or UTF-16, else the ANSI code page.
QString DecodeText(const QByteArray& Bytes);
// Text as bytes, with the encoding's byte-order mark when Bom (never for Ansi).  Characters
// the ANSI code page lacks become "?".
QByteArray EncodeText(const QString& Text, TTextEncoding Encoding, bool Bom);
// Lines ending at CR LF, LF or CR; a line break at the end starts no further line.
QStringList SplitTextLines(const QString& Text);
// The whole file; throws EInOutError "Cannot open file <name>" when it cannot be read.
QByteArray ReadTextFile(const QString& FileName);

// A text file written whole, or appended to: an appended file keeps its bytes as they are
// and gets the new lines in its own encoding, after a line break when it lacks one.
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

    QString FFileName, FLead;
    QByteArray FOld;
    TTextEncoding FEncoding;
    bool FBom;
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
