#include "grid/data/text_io.h"

#include "grid/base/grid_error.h"
#include "grid/base/text_packing.h"
#include "platform/core/exception.h"
#include "platform/core/file_io.h"

#include <QFile>
#include <QHash>
#include <QStringDecoder>
#include <algorithm>
#include <cstring>

namespace {
// Windows-1252, the ANSI code page of the files: 0x80..0x9F differ from Latin-1 (the five
// unassigned bytes stand for themselves).
constexpr char16_t kAnsiHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

const QHash<char16_t, char>& AnsiHighBytes()
{
    static const QHash<char16_t, char> map = [] {
        QHash<char16_t, char> m;
        for (int i = 0; i < 32; ++i) m.insert(kAnsiHigh[i], char(0x80 + i));
        return m;
    }();
    return map;
}

QString DecodeAnsi(const char* p, qsizetype n)
{
    // Latin-1 but for 0x80..0x9F: one pass takes the bytes as Latin-1 and notes whether any
    // of those came; only then is the text mapped again
    QString s(n, Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(s.data());
    const uchar* in = reinterpret_cast<const uchar*>(p);
    bool high = false;
    for (qsizetype i = 0; i < n; ++i) {
        out[i] = in[i];
        high |= (in[i] & 0xE0) == 0x80;
    }
    if (!high) return s;
    for (qsizetype i = 0; i < n; ++i) {
        const uchar b = in[i];
        if (b >= 0x80 && b < 0xA0) out[i] = kAnsiHigh[b - 0x80];
    }
    return s;
}

// Lost: whether a character the code page lacks became "?".
QByteArray EncodeAnsi(const QString& s, bool* Lost = nullptr)
{
    // Latin-1 in one pass; a character outside it sends the text through the table
    const qsizetype size = s.size();
    const char16_t* p = reinterpret_cast<const char16_t*>(s.constData());
    if (Lost) *Lost = false;
    QByteArray b(size, Qt::Uninitialized);
    char* out = b.data();
    bool other = false;
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = p[i];
        out[i] = char(c);
        other |= char16_t(c - 0x80) < 0x20 || c > 0xFF;
    }
    if (!other) return b;
    qsizetype n = 0;
    bool lost = false;
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = p[i];
        if (c < 0x80 || (c >= 0xA0 && c < 0x100)) {
            out[n++] = char(c);
        } else if (QChar::isHighSurrogate(c) && i + 1 < size && QChar::isLowSurrogate(p[i + 1])) {
            out[n++] = '?';
            lost = true;
            ++i;
        } else {
            const auto it = AnsiHighBytes().constFind(c);
            lost |= it == AnsiHighBytes().constEnd();
            out[n++] = it != AnsiHighBytes().constEnd() ? *it : '?';
        }
    }
    b.truncate(n);
    if (Lost) *Lost = lost;
    return b;
}

QString DecodeUtf16(const char* p, qsizetype n, bool BigEndian)
{
    QString s(n / 2, Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(s.data());
    for (qsizetype i = 0; i + 1 < n; i += 2) {
        const uchar a = uchar(p[i]), b = uchar(p[i + 1]);
        out[i / 2] = BigEndian ? char16_t((a << 8) | b) : char16_t(a | (b << 8));
    }
    return s;
}

inline bool IsBreak(char16_t c) { return c == u'\r' || c == u'\n'; }
inline bool IsBreak(QChar c) { return IsBreak(c.unicode()); }

// The characters the CSV parser reads: decoded text, or the bytes of an ANSI file read as
// they come, so that the whole file is never decoded at once.
struct TTextSource {
    QStringView S;
    qsizetype size() const { return S.size(); }
    char16_t operator[](qsizetype i) const { return S[i].unicode(); }
    qsizetype IndexOf(char16_t c, qsizetype From) const { return S.indexOf(QChar(c), From); }
    QString Text(qsizetype From, qsizetype Length) const { return S.mid(From, Length).toString(); }
};

struct TAnsiSource {
    const char* P;
    qsizetype N;
    qsizetype size() const { return N; }
    char16_t operator[](qsizetype i) const
    {
        const uchar b = uchar(P[i]);
        return (b & 0xE0) == 0x80 ? kAnsiHigh[b - 0x80] : char16_t(b);
    }
    // for the ASCII characters the parser looks for, which no other byte decodes to
    qsizetype IndexOf(char16_t c, qsizetype From) const
    {
        if (From >= N) return -1;
        const void* hit = std::memchr(P + From, int(c), size_t(N - From));
        return hit ? static_cast<const char*>(hit) - P : -1;
    }
    QString Text(qsizetype From, qsizetype Length) const { return DecodeAnsi(P + From, Length); }
};

// The last quote of the first odd run of quotes after the opening quote at Open; -1 when the
// text has none.  NoCloseFrom remembers an opening quote whose scan reached the end: every
// run of quotes after it is even, so a later opening quote closes only within its own run.
template <class TSource>
qsizetype FindClosingQuote(const TSource& s, qsizetype Open, qsizetype& NoCloseFrom)
{
    const qsizetype n = s.size();
    auto runAt = [&](qsizetype q) {
        qsizetype k = 0;
        while (q + k < n && s[q + k] == u'"') ++k;
        return k;
    };
    if (NoCloseFrom >= 0 && Open > NoCloseFrom) {
        const qsizetype k = runAt(Open + 1);
        return (k % 2 == 1) ? Open + k : -1;
    }
    qsizetype j = Open + 1;
    for (;;) {
        const qsizetype q = s.IndexOf(u'"', j);
        if (q < 0) {
            NoCloseFrom = Open;
            return -1;
        }
        const qsizetype k = runAt(q);
        if (k % 2 == 1) return q + k - 1;
        j = q + k;
    }
}

// The quoted field's text between From and To: doubled quotes single, line breaks CR LF.
template <class TSource>
QString QuotedText(const TSource& s, qsizetype From, qsizetype To)
{
    QString t;
    t.reserve(To - From);
    for (qsizetype j = From; j < To; ++j) {
        const char16_t c = s[j];
        if (c == u'"' && j + 1 < To && s[j + 1] == u'"') {
            t.append(QChar(c));
            ++j;
        } else if (c == u'\r') {
            t.append(QLatin1String("\r\n"));
            if (j + 1 < To && s[j + 1] == u'\n') ++j;
        } else if (c == u'\n') {
            t.append(QLatin1String("\r\n"));
        } else {
            t.append(QChar(c));
        }
    }
    return t;
}
}  // namespace

namespace {
enum class TUtf8Scan { Invalid, Ascii, MultiByte };

// Whether bytes are UTF-8, and with a multi-byte sequence.  Incomplete: where given, a
// sequence cut by the end of the bytes is no fault and its length is stored there.
TUtf8Scan ScanUtf8(QByteArrayView Bytes, qsizetype* Incomplete)
{
    if (Incomplete) *Incomplete = 0;
    const uchar* p = reinterpret_cast<const uchar*>(Bytes.data());
    const uchar* const end = p + Bytes.size();
    bool multi = false;
    while (p < end) {
        // ASCII eight bytes at a time
        if (end - p >= 8) {
            quint64 w;
            std::memcpy(&w, p, 8);
            if (!(w & 0x8080808080808080ULL)) {
                p += 8;
                continue;
            }
        }
        const uchar c = *p;
        if (c < 0x80) {
            ++p;
            continue;
        }
        // no overlong forms, no surrogates, nothing beyond U+10FFFF
        qsizetype len;
        uchar lo = 0x80, hi = 0xBF;  // the second byte's range
        if (c >= 0xC2 && c <= 0xDF) {
            len = 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            len = 3;
            if (c == 0xE0) lo = 0xA0;
            if (c == 0xED) hi = 0x9F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            len = 4;
            if (c == 0xF0) lo = 0x90;
            if (c == 0xF4) hi = 0x8F;
        } else {
            return TUtf8Scan::Invalid;
        }
        const qsizetype have = std::min<qsizetype>(len, end - p);
        if (have > 1 && (p[1] < lo || p[1] > hi)) return TUtf8Scan::Invalid;
        for (qsizetype k = 2; k < have; ++k)
            if ((p[k] & 0xC0) != 0x80) return TUtf8Scan::Invalid;
        if (have < len) {
            if (!Incomplete) return TUtf8Scan::Invalid;
            *Incomplete = have;
            break;
        }
        multi = true;
        p += len;
    }
    return multi ? TUtf8Scan::MultiByte : TUtf8Scan::Ascii;
}
}  // namespace

bool IsMultiByteUtf8(QByteArrayView Bytes) { return ScanUtf8(Bytes, nullptr) == TUtf8Scan::MultiByte; }

TTextEncoding DetectTextEncoding(const QByteArray& b, int* BomLength)
{
    int len = 0;
    TTextEncoding e = TTextEncoding::Ansi;
    if (b.startsWith("\xEF\xBB\xBF")) {
        e = TTextEncoding::Utf8;
        len = 3;
    } else if (b.startsWith("\xFF\xFE")) {
        e = TTextEncoding::Utf16LE;
        len = 2;
    } else if (b.startsWith("\xFE\xFF")) {
        e = TTextEncoding::Utf16BE;
        len = 2;
    } else if (IsMultiByteUtf8(b)) {
        e = TTextEncoding::Utf8;
    }
    if (BomLength) *BomLength = len;
    return e;
}

QString DecodeText(const QByteArray& b)
{
    int bom = 0;
    const TTextEncoding e = DetectTextEncoding(b, &bom);
    const char* p = b.constData() + bom;
    const qsizetype n = b.size() - bom;
    switch (e) {
    case TTextEncoding::Utf8: {
        // the mark is gone already: a second one is the text's own first character
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
        return utf8.decode(QByteArrayView(p, n));
    }
    case TTextEncoding::Utf16LE: return DecodeUtf16(p, n, false);
    case TTextEncoding::Utf16BE: return DecodeUtf16(p, n, true);
    case TTextEncoding::Ansi: break;
    }
    return DecodeAnsi(p, n);
}

QByteArray EncodeText(const QString& Text, TTextEncoding Encoding, bool Bom)
{
    switch (Encoding) {
    case TTextEncoding::Ansi: return EncodeAnsi(Text);
    case TTextEncoding::Utf8: {
        QByteArray b = Text.toUtf8();
        return Bom ? QByteArray("\xEF\xBB\xBF") + b : b;
    }
    case TTextEncoding::Utf16LE:
    case TTextEncoding::Utf16BE: {
        const bool be = Encoding == TTextEncoding::Utf16BE;
        QByteArray b;
        b.reserve((Text.size() + 1) * 2);
        if (Bom) b.append(be ? "\xFE\xFF" : "\xFF\xFE", 2);
        for (QChar c : Text) {
            const char16_t u = c.unicode();
            const char lo = char(u & 0xFF), hi = char(u >> 8);
            b.append(be ? hi : lo);
            b.append(be ? lo : hi);
        }
        return b;
    }
    }
    return {};
}

QByteArray EncodeAnsiFileText(const QString& Text)
{
    bool lost = false;
    QByteArray b = EncodeAnsi(Text, &lost);
    // code page bytes that happen to be UTF-8, or to start like a byte-order mark, would read
    // back as other characters
    return lost || DetectTextEncoding(b) != TTextEncoding::Ansi ? EncodeText(Text, TTextEncoding::Utf8, true) : b;
}

QStringList SplitTextLines(const QString& Text)
{
    QStringList lines;
    const qsizetype n = Text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = Text[i];
        if (!IsBreak(c)) continue;
        lines.append(Text.mid(start, i - start));
        if (c == u'\r' && i + 1 < n && Text[i + 1] == u'\n') ++i;
        start = i + 1;
    }
    if (start < n) lines.append(Text.mid(start));
    return lines;
}

std::optional<QByteArray> ReadGridFile(const QString& FileName, qint64 MaxSize)
{
    QByteArray bytes;
    const TFileCheck check = ReadRegularFile(FileName, MaxSize, bytes);
    if (check == TFileCheck::Unreadable) return std::nullopt;
    if (check != TFileCheck::Ok)
        throw EProGridError(QStringLiteral("Cannot read file ") + FileName + QStringLiteral(": ") + FileCheckText(check, MaxSize));
    return bytes;
}

QByteArray ReadTextFile(const QString& FileName)
{
    std::optional<QByteArray> bytes = ReadGridFile(FileName);
    if (!bytes) throw EInOutError(QStringLiteral("Cannot open file ") + FileName);
    return std::move(*bytes);
}

TTextFileWriter::TTextFileWriter(const QString& FileName, TTextEncoding Encoding, bool Bom, bool Append, bool MustExist)
    : FFileName(FileName), FEncoding(Encoding), FBom(Bom)
{
    if (!Append || (!MustExist && !QFile::exists(FileName))) return;
    FOld = ReadTextFile(FileName);
    if (FOld.isEmpty()) return;
    FEncoding = DetectTextEncoding(FOld);
    FBom = false;
    if (FEncoding == TTextEncoding::Ansi) NoteAnsiBytes(FOld);
    if (!FOld.endsWith('\n') && !FOld.endsWith('\r') && !FOld.endsWith(QByteArray("\n\0", 2)) &&
        !FOld.endsWith(QByteArray("\r\0", 2)))
        FLead = QStringLiteral("\r\n");
}

TTextFileWriter::~TTextFileWriter() = default;

void TTextFileWriter::Write(const QString& Text, bool Latin1Bytes)
{
    QByteArray bytes;
    if (FEncoding == TTextEncoding::Ansi) {
        bool lost = false;
        bytes = Latin1Bytes ? Text.toLatin1() : EncodeAnsi(Text, &lost);
        if (lost) SwitchToUtf8();
        else if (Latin1Bytes) FNotUtf8 = true;  // OEM bytes stay as they are
        else NoteAnsiBytes(bytes);
    }
    if (!FFile) {
        FFile = std::make_unique<TAtomicFile>(FFileName);
        if (!FOld.isEmpty()) FFile->Write(FOld);
        FOld.clear();
    }
    if (FEncoding != TTextEncoding::Ansi) bytes = EncodeText(Text, FEncoding, FBom);
    FBom = false;  // the mark goes with the first part
    FFile->Write(bytes);
}

void TTextFileWriter::NoteAnsiBytes(const QByteArray& Bytes)
{
    if (FHead.size() < 3) FHead += Bytes.left(3 - FHead.size());
    if (FNotUtf8) return;
    const QByteArray scan = FUtf8Tail.isEmpty() ? Bytes : FUtf8Tail + Bytes;
    qsizetype cut = 0;
    switch (ScanUtf8(scan, &cut)) {
    case TUtf8Scan::Invalid: FNotUtf8 = true; return;
    case TUtf8Scan::MultiByte: FLooksUtf8 = true; break;
    case TUtf8Scan::Ascii: break;
    }
    FUtf8Tail = scan.right(cut);
}

void TTextFileWriter::SwitchToUtf8()
{
    // The new temporary file is made while the old one is still held, so it is not taken
    // for one left behind; the old one goes with its object.
    auto next = std::make_unique<TAtomicFile>(FFileName);
    next->Write("\xEF\xBB\xBF", 3);
    if (FFile) {
        QFile written(FFile->TempPath());
        const bool opened = written.open(QIODevice::ReadOnly);
        const qint64 size = opened ? written.size() : -1;
        qint64 copied = 0;
        // one byte is one character, so any piece decodes alone
        while (opened && copied < size) {
            const QByteArray part = written.read(1 << 20);
            if (part.isEmpty()) break;
            next->Write(DecodeAnsi(part.constData(), part.size()).toUtf8());
            copied += part.size();
        }
        if (copied != size)
            throw EInOutError(QStringLiteral("Cannot write file \"%1\": its temporary file cannot be read back").arg(FFileName));
    } else if (!FOld.isEmpty()) {
        next->Write(DecodeAnsi(FOld.constData(), FOld.size()).toUtf8());
        FOld.clear();
    }
    FFile = std::move(next);
    FEncoding = TTextEncoding::Utf8;
    FBom = false;
}

void TTextFileWriter::Put(QString& Part, bool Latin1Bytes)
{
    Write(Part, Latin1Bytes);
    Part.resize(0);
}

void TTextFileWriter::Save(const QString& Text, bool Latin1Bytes)
{
    Write(Text, Latin1Bytes);
    // code page bytes that are UTF-8 as a whole, or start like a byte-order mark, would read
    // back as other characters
    int mark = 0;
    DetectTextEncoding(FHead, &mark);
    if (FEncoding == TTextEncoding::Ansi && ((FLooksUtf8 && !FNotUtf8 && FUtf8Tail.isEmpty()) || mark > 0))
        SwitchToUtf8();
    FFile->Commit();
}

int CountUnescaped(QChar Ch, QStringView S)
{
    int count = 0;
    const qsizetype n = S.size();
    for (qsizetype i = 0; i < n;) {
        if (S[i] != Ch) {
            ++i;
            continue;
        }
        qsizetype k = 0;
        while (i + k < n && S[i + k] == Ch) ++k;
        if (i + k == n || k % 2 == 1) ++count;
        i += k;
    }
    return count;
}

QChar GuessCSVDelimiter(QStringView L1, QStringView L2)
{
    int best = 0;
    QChar found;
    // equal counts in both lines, unescaped occurrences first, then plain ones
    for (const bool unescaped : {true, false}) {
        for (char16_t d : CSVDelimiterCandidates) {
            const int a = unescaped ? CountUnescaped(d, L1) : int(L1.count(QChar(d)));
            const int b = unescaped ? CountUnescaped(d, L2) : int(L2.count(QChar(d)));
            if (a == b && a > best) {
                best = a;
                found = d;
            }
        }
        if (!found.isNull()) return found;
    }
    for (char16_t d : CSVDelimiterCandidates) {
        const int a = int(L1.count(QChar(d))), b = int(L2.count(QChar(d)));
        if (a > best || b > best) {
            best = std::max(a, b);
            found = d;
        }
    }
    return found;
}

namespace {
template <class TSource>
void ParseRecords(const TSource& s, const TCSVOptions& o, int SkipRecords, int MaxRecords, TCSVSink& Sink)
{
    const qsizetype n = s.size();
    const char16_t d = o.Delimiter.unicode();
    const bool split = d != 0;
    const bool texts = Sink.Texts;
    qsizetype noClose = -1;
    qsizetype i = 0;
    int skipped = 0;
    size_t kept = 0;
    // the mark of a line break inside an unquoted field
    const char16_t mark = o.JavaCSV ? u'~' : u'\x0b';
    const char16_t stop = split ? d : u'\n';  // the separator, or a break again without one
    auto atFieldEnd = [&](qsizetype j) {
        if (j >= n) return true;
        const char16_t c = s[j];
        return IsBreak(c) || c == stop;
    };

    while (i < n) {
        const bool keep = skipped >= SkipRecords;
        const bool build = keep && texts;
        for (;;) {
            // leading blanks go while two characters of the line remain
            while (i + 1 < n && s[i] == u' ' && !IsBreak(s[i + 1])) ++i;
            if (i >= n || IsBreak(s[i])) break;  // an empty rest writes nothing
            QString field;
            bool converted = true;  // the field may hold line break marks or OEM text
            if (s[i] == u'"') {
                const qsizetype close = FindClosingQuote(s, i, noClose);
                if (close >= 0) {
                    if (build) field = QuotedText(s, i + 1, close);
                    i = close + 1;
                    while (!atFieldEnd(i)) ++i;  // text after the closing quote is dropped
                } else {
                    // never closed: the rest of the line, without a quote at its end
                    qsizetype e = i + 1;
                    while (e < n && !IsBreak(s[e])) ++e;
                    qsizetype to = e;
                    if (to > i + 1 && s[to - 1] == u'"') --to;
                    if (build) field = UndoubleChar(u'"', s.Text(i + 1, to - i - 1));
                    i = e;
                }
            } else {
                const qsizetype from = i;
                bool marks = false;
                for (; i < n; ++i) {
                    const char16_t c = s[i];
                    if (IsBreak(c) || c == stop) break;
                    marks |= c == mark;
                }
                if (build) {
                    field = s.Text(from, i - from);
                    converted = marks || o.OemConvert || (o.JavaCSV && field == QLatin1String("^"));
                }
            }
            if (keep) {
                if (build && converted) {
                    if (o.OemConvert) OemToText(field);
                    if (o.JavaCSV) TildeToCRLF(field);
                    else VTabToCRLF(field);
                }
                Sink.Field(std::move(field));
            }
            if (i < n && split && s[i] == d) {
                ++i;
                continue;
            }
            break;
        }
        // the rest of a line after a closed quote and its break
        while (i < n && !IsBreak(s[i])) ++i;
        if (i < n) {
            if (s[i] == u'\r' && i + 1 < n && s[i + 1] == u'\n') ++i;
            ++i;
        }
        if (!keep) {
            ++skipped;
            continue;
        }
        Sink.EndRecord();
        if (MaxRecords > 0 && ++kept >= size_t(MaxRecords)) break;
    }
}
}  // namespace

void ParseCSV(QStringView Text, const TCSVOptions& Options, int SkipRecords, int MaxRecords, TCSVSink& Sink)
{
    ParseRecords(TTextSource{Text}, Options, SkipRecords, MaxRecords, Sink);
}

void ParseAnsiCSV(QByteArrayView Bytes, const TCSVOptions& Options, int SkipRecords, int MaxRecords, TCSVSink& Sink)
{
    ParseRecords(TAnsiSource{Bytes.data(), Bytes.size()}, Options, SkipRecords, MaxRecords, Sink);
}

TCSVTable ParseCSV(QStringView Text, const TCSVOptions& Options, int SkipRecords, int MaxRecords)
{
    struct TTableSink : TCSVSink {
        TCSVTable Table;
        void Field(QString&& Text) override { Table.Fields.push_back(std::move(Text)); }
        void EndRecord() override { Table.Starts.push_back(Table.Fields.size()); }
    } sink;
    ParseCSV(Text, Options, SkipRecords, MaxRecords, sink);
    return std::move(sink.Table);
}

void AppendCSVField(QString& Out, const QString& Text, const TCSVWriteOptions& o)
{
    const char16_t d = o.Delimiter.unicode();
    // a field without separator, quote or line break, and not starting with a blank, goes as it is
    auto plain = [d](const QString& t) {
        constexpr quint64 special = (quint64(1) << u'"') | (quint64(1) << u'\r') | (quint64(1) << u'\n');
        const char16_t* p = reinterpret_cast<const char16_t*>(t.constData());
        bool hit = false;
        for (qsizetype i = 0, n = t.size(); i < n; ++i) {
            const char16_t c = p[i];
            hit |= c == d || (c < 64 && ((special >> c) & 1));
        }
        return !hit;
    };
    if (!o.AlwaysQuotes && !o.OemConvert && !Text.isEmpty() && Text[0] != u' ' && plain(Text)) {
        Out.append(Text);
        return;
    }
    QString t = Text;
    if (t.contains(u'"')) t.replace(u'"', QLatin1String("\"\""));
    if (o.OemConvert) TextToOem(t);
    bool quoted = false;
    auto wrap = [&t, &quoted] {
        t = QLatin1Char('"') + t + QLatin1Char('"');
        quoted = true;
    };
    if (o.AlwaysQuotes) wrap();
    else if (!t.contains(d) && t.contains(u'"')) wrap();
    // the reader drops leading blanks of unquoted fields
    else if (t.startsWith(u' ') && !t.contains(d)) wrap();
    if (t.isEmpty()) {
        if (o.JavaCSV) t = QStringLiteral("^");
        else if (o.QuoteEmptyCells) t = QStringLiteral("\"\"");
    }
    const bool hasBreak = t.contains(u'\r') || t.contains(u'\n');
    if (t.contains(d) || hasBreak) {
        if (o.JavaCSV) {
            // every line break one "~"; a separator inside is quoted so that it reads back
            t.replace(QLatin1String("\r\n"), QLatin1String("~"));
            t.replace(u'\r', u'~');
            t.replace(u'\n', u'~');
            if (!quoted && t.contains(d)) wrap();
        } else if (quoted) {
            // a quoted field keeps its line breaks, as LF, and is read back whole
            t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
            t.replace(u'\r', u'\n');
        } else {
            CSVQuoteMultiLine(t);
        }
    }
    Out.append(t);
}
