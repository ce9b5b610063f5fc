// The grid's CSV files: the writer and the reader over the parser of text_io.
#include "grid/control/pro_string_grid.h"
#include "grid/data/text_io.h"
#include "grid/data/update_lock.h"
#include "platform/core/exception.h"
#include "platform/core/file_io.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <cmath>
#include <vector>

void TProStringGrid::FileProgress(int Percent)
{
    if (Percent < 0) {
        FLastFileProgress = -1;
        return;
    }
    if (Percent == FLastFileProgress) return;
    FLastFileProgress = Percent;
    if (OnFileProgress) OnFileProgress(this, int16_t(Percent));
}

void TProStringGrid::SaveToCSV(const QString& FileName, bool Unicode) { WriteCSV(FileName, false, Unicode); }

void TProStringGrid::AppendToCSV(const QString& FileName, bool Unicode) { WriteCSV(FileName, true, Unicode); }

void TProStringGrid::ExportRows(int First, int Last, int Span, const std::function<void(int Row)>& Row)
{
    FileProgress(-1);
    ExportNotification(esExportStart, First);
    for (int r = First; r <= Last; ++r) {
        ExportNotification(esExportNewRow, r);
        Row(r);
        if (Span != 0) FileProgress(int(std::lround(100.0 * r / Span)));
    }
    ExportNotification(esExportDone, -1);
}

void TProStringGrid::WriteCSV(const QString& FileName, bool Append, bool Unicode)
{
    TTextFileWriter file(FileName, Unicode ? TTextEncoding::Utf8 : TTextEncoding::Ansi, Unicode, Append, true);
    TCSVWriteOptions o;
    o.Delimiter = FDelimiter.isNull() ? QChar(u',') : FDelimiter;
    o.JavaCSV = FJavaCSV;
    o.QuoteEmptyCells = FQuoteEmptyCells;
    o.AlwaysQuotes = FAlwaysQuotes;
    o.OemConvert = FOemConvert;

    const int c0 = SaveStartCol(), c1 = SaveEndCol() + (FSaveHiddenCells ? NumHiddenColumns() : 0);
    std::vector<int> real;
    for (int c = c0; c <= c1; ++c) real.push_back(FSaveHiddenCells ? c : DisplToRealColumn(c));
    // The text goes to the file in parts of about kPart characters, whole rows each.
    constexpr qsizetype kPart = 1 << 15;
    QString out = file.Lead();
    out.reserve(kPart + 1024);
    QString t;
    ExportRows(SaveStartRow(), SaveEndRow(), std::max(1, RowCount() - 1), [&](int r) {
        for (int c = c0; c <= c1; ++c) {
            if (c > c0) out.append(o.Delimiter);
            SaveCell(real[size_t(c - c0)], r, t);
            AppendCSVField(out, t, o);
        }
        out.append(QLatin1String("\r\n"));
        if (out.size() >= kPart) file.Put(out, FOemConvert);
    });
    // OEM texts are bytes already
    file.Save(out, FOemConvert);
}

namespace {
// The file as a stream for ReadCSV, read whole and checked first; false for an empty file,
// which loads nothing at all.
bool OpenCSVFile(const QString& FileName, QBuffer& Buffer)
{
    Buffer.setData(ReadTextFile(FileName));
    Buffer.open(QIODevice::ReadOnly);
    return Buffer.size() > 0;
}
}  // namespace

void TProStringGrid::LoadFromCSV(const QString& FileName, int MaxRows)
{
    QBuffer f;
    if (OpenCSVFile(FileName, f)) ReadCSV(f, false, MaxRows);
}

void TProStringGrid::InsertFromCSV(const QString& FileName, int MaxRows)
{
    QBuffer f;
    if (OpenCSVFile(FileName, f)) ReadCSV(f, true, MaxRows);
}

void TProStringGrid::LoadFromCSVStream(QIODevice& AStream, int MaxRows) { ReadCSV(AStream, false, MaxRows); }

void TProStringGrid::ReadCSV(QIODevice& Stream, bool Insert, int MaxRows)
{
    // An ANSI file is parsed from its bytes as they are; the others are decoded whole.
    const QByteArray bytes = Stream.readAll();
    int bom = 0;
    // OEM bytes without a mark are never taken for UTF-8
    const bool ansi = DetectTextEncoding(bytes, &bom) == TTextEncoding::Ansi || (FOemConvert && bom == 0);
    const QString decoded = ansi ? QString() : DecodeText(bytes);
    if (ansi ? bytes.isEmpty() : decoded.isEmpty()) throw Exception(QStringLiteral("File is empty"));

    // The separator: the grid's, or the one that splits the first two lines alike.
    TCSVOptions o;
    o.JavaCSV = FJavaCSV;
    o.OemConvert = FOemConvert;
    o.Delimiter = FDelimiter;
    if (o.Delimiter.isNull()) {
        QString head;  // of an ANSI file, the first two lines decoded
        if (ansi) {
            auto byteLineEnd = [&bytes](qsizetype i) {
                while (i < bytes.size() && bytes[i] != '\r' && bytes[i] != '\n') ++i;
                return i;
            };
            qsizetype e = byteLineEnd(0);
            if (e < bytes.size() && bytes[e] == '\r') ++e;
            if (e < bytes.size() && bytes[e] == '\n') ++e;
            head = DecodeText(bytes.left(byteLineEnd(e)));
        }
        const QStringView text = ansi ? QStringView(head) : QStringView(decoded);
        auto lineEnd = [&text](qsizetype from) {
            qsizetype i = from;
            while (i < text.size() && text[i] != u'\r' && text[i] != u'\n') ++i;
            return i;
        };
        const qsizetype e1 = lineEnd(0);
        qsizetype s2 = e1;
        if (s2 < text.size() && text[s2] == u'\r') ++s2;
        if (s2 < text.size() && text[s2] == u'\n') ++s2;
        const qsizetype e2 = s2 < text.size() ? lineEnd(s2) : s2;
        o.Delimiter = GuessCSVDelimiter(text.mid(0, e1), text.mid(s2, e2 - s2));
    }
    auto parse = [&](TCSVSink& sink, int skip) {
        if (ansi) ParseAnsiCSV(bytes, o, skip, MaxRows, sink);
        else ParseCSV(decoded, o, skip, MaxRows, sink);
    };
    // The records are counted first, without building their texts; the texts are built
    // while the cells are stored, so the parsed file never lies whole in memory.
    const int skip = FLoadFirstRow ? 0 : 1;
    struct TCountSink : TCSVSink {
        size_t Records = 0, Widest = 0, Fields = 0;
        void Field(QString&&) override { ++Fields; }
        void EndRecord() override
        {
            ++Records;
            Widest = std::max(Widest, Fields);
            Fields = 0;
        }
    } counted;
    counted.Texts = false;
    parse(counted, skip);

    // Where the rows go and how large the grid becomes, all known before anything changes.
    const bool footer = FFloatingFooter && FFloatingFooter->Visible();
    int startRow = SaveStartRow();
    if (Insert) startRow = footer ? RowCount() - 1 : RowCount();
    const int c0 = SaveStartCol();
    const int hidden = FSaveHiddenCells ? NumHiddenColumns() : 0;
    const qint64 lastCol = qint64(c0) + qint64(counted.Widest) - 1;
    const qint64 newRows = qint64(startRow) + qint64(counted.Records) + FFixedFooters;
    if (lastCol >= MaxLoadCols || newRows > MaxLoadRows)
        throw EProGridError(QStringLiteral("Too many rows or columns in CSV data"));

    FileProgress(-1);
    ImportNotification(isImportStart, startRow);
    TGridUpdateLock lock(this);
    QStringList kept;
    if (footer && RowCount() > 0) {
        const int last = RowCount() - 1;
        for (int c = 0; c < TotalColCount(); ++c) {
            if (Insert) kept.append(GetGridCell(c, last));
            SetGridCell(c, last, QString());
        }
    }
    if (lastCol >= qint64(ColCount()) + hidden) SetColCount(int(lastCol) + 1 - hidden);
    SetRowCount(int(newRows));
    FMaxRowCount = RowCount();
    struct TLoadSink : TCSVSink {
        TProStringGrid* Grid;
        int Col0, Row;
        size_t Records, Done = 0;
        int Col = 0;
        bool Started = false;
        void Start()
        {
            if (!Started) Grid->ImportNotification(isImportNewRow, Row);
            Started = true;
        }
        void Field(QString&& Text) override
        {
            Start();
            Grid->LoadCell(Col0 + Col++, Row, Text);
        }
        void EndRecord() override
        {
            Start();
            ++Done;
            if (Grid->OnFileProgress) Grid->FileProgress(int(std::lround(100.0 * double(Done) / double(Records))));
            ++Row;
            Col = 0;
            Started = false;
        }
    } load;
    load.Grid = this;
    load.Col0 = c0;
    load.Row = startRow;
    load.Records = counted.Records;
    parse(load, skip);
    if (footer && RowCount() > 0) {
        const int last = RowCount() - 1;
        for (int c = 0; c < TotalColCount(); ++c) SetGridCell(c, last, c < kept.size() ? kept[c] : QString());
    }
    lock.Release();
    ImportNotification(isImportDone, -1);
    CellsChanged({0, 0, ColCount(), RowCount()});
    CellsLoaded();
}
