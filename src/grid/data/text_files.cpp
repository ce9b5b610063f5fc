// The grid's own text format (files and streams), column-aligned ASCII, fixed-width text
// and the number in a cell.
#include "grid/base/html_text.h"
#include "grid/base/number_routines.h"
#include "grid/base/text_packing.h"
#include "grid/control/pro_string_grid.h"
#include "grid/data/text_io.h"
#include "grid/data/wait_cursor.h"
#include "platform/core/exception.h"
#include "platform/core/file_io.h"
#include "platform/core/sysutils.h"

#include <QGuiApplication>
#include <cmath>
#include <vector>

namespace {
// Column widths read from a file stay within what a screen can show, so that sums of them
// cannot overflow.
constexpr int kMaxLoadWidth = 32767;
int LoadedWidth(int w) { return std::clamp(w, 0, kMaxLoadWidth); }

struct TTextCell {
    int Col, Row;
    QString Text;
};

// Cell texts end at CR (an LF after it belongs to the break).
QStringList CellLines(const QString& S)
{
    QStringList lines;
    QString rest = S, line;
    do {
        CutFirstLine(rest, true, line);
        lines.append(line);
    } while (!rest.isEmpty());
    return lines;
}

void WriteStreamLine(QByteArray& out, const QString& line)
{
    for (QChar c : line) {
        out.append(char(c.unicode() & 0xFF));
        out.append(char(c.unicode() >> 8));
    }
    out.append("\r\0\n\0", 4);
}

}  // namespace

// ---- grid text file --------------------------------------------------------------------------

void TProStringGrid::SaveToFile(const QString& FileName, bool Unicode)
{
    const int h = FSaveHiddenCells ? NumHiddenColumns() : 0;
    const int c0 = SaveStartCol(), c1 = SaveEndCol() + h, r0 = SaveStartRow(), r1 = SaveEndRow();
    QString out = QStringLiteral("%1,%2\r\n").arg(SaveColCount() + h).arg(SaveRowCount());
    for (int c = c0; c <= c1; ++c) {
        const int w = IsHiddenColumn(c) ? AllColWidths(c) : ColWidths(RealToDisplColumn(c));
        out += QStringLiteral("cw %1,%2\r\n").arg(c).arg(w);
    }
    QString t;
    ExportRows(r0, r1, std::max(1, SaveRowCount() - 1), [&](int r) {
        for (int c = c0; c <= c1; ++c) {
            SaveCell(c, r, t);
            if (t.isEmpty()) continue;
            out += QStringLiteral("%1,%2,").arg(c).arg(r);
            out += PackLineBreaks(t);
            out += QLatin1String("\r\n");
        }
    });
    SaveFileAtomic(FileName, Unicode ? EncodeText(out, TTextEncoding::Utf16LE, true) : EncodeAnsiFileText(out));
}

void TProStringGrid::LoadFromFile(const QString& FileName)
{
    const QStringList lines = SplitTextLines(DecodeText(ReadTextFile(FileName)));
    const int a = (FSaveFixedCells || FSaveFixedCols) ? 0 : FixedCols();
    const int b = (FSaveFixedCells || FSaveFixedRows) ? 0 : FixedRows();
    qint64 cols = ColCount(), rows = RowCount();
    if (!lines.isEmpty() && !lines[0].isEmpty()) {
        const QString& first = lines[0];
        const qsizetype comma = first.indexOf(u',');
        cols = a + qint64(StrToIntPartial(comma < 0 ? first : first.left(comma)));
        rows = b + qint64(comma < 0 ? 0 : StrToIntPartial(first.mid(comma + 1)));
    }
    if (cols == 0 || rows == 0)
        throw EProGridError(QStringLiteral("File contains no data or corrupt file ") + FileName);
    if (cols > MaxLoadCols || rows > MaxLoadRows)
        throw EProGridError(QStringLiteral("Too many rows or columns in file ") + FileName);

    // Every line is read before the grid changes; cells and widths outside the grid are skipped.
    std::vector<std::pair<int, int>> widths;
    std::vector<TTextCell> cells;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QString& line = lines[i];
        if (line.startsWith(QLatin1String("cw"))) {
            const QString rest = line.mid(3);
            const qsizetype comma = rest.indexOf(u',');
            if (comma < 0) continue;
            const int index = StrToIntPartial(rest.left(comma));
            if (index >= 0 && index < cols) widths.emplace_back(index, LoadedWidth(StrToIntPartial(rest.mid(comma + 1))));
            continue;
        }
        const qsizetype p1 = line.indexOf(u',');
        const qsizetype p2 = p1 < 0 ? -1 : line.indexOf(u',', p1 + 1);
        if (p2 < 0) continue;
        const int c = StrToIntPartial(line.left(p1));
        const int r = StrToIntPartial(line.mid(p1 + 1, p2 - p1 - 1));
        if (c < cols && r < rows) cells.push_back({c, r, UnpackLineBreaks(line.mid(p2 + 1), FMultilinecells)});
    }

    FileProgress(-1);
    ImportNotification(isImportStart, b);
    BeginUpdate();
    SetColCount(int(cols));
    SetRowCount(int(rows));
    for (const auto& [index, width] : widths) SetColWidths(index, width);
    int lastRow = -1;
    for (const TTextCell& k : cells) {
        if (k.Row != lastRow) ImportNotification(isImportNewRow, lastRow = k.Row);
        LoadCell(k.Col, k.Row, k.Text);
        FileProgress(int(std::lround(100.0 * k.Row / std::max<qint64>(1, rows - 1))));
    }
    EndUpdate();
    ImportNotification(isImportDone, -1);
    CellsChanged({0, 0, ColCount(), RowCount()});
    CellsLoaded();
}

// ---- grid text stream ------------------------------------------------------------------------

void TProStringGrid::SaveToStream(QIODevice& Stream)
{
    QByteArray out;
    WriteStreamLine(out, QStringLiteral("%1,%2").arg(SaveColCount()).arg(SaveRowCount()));
    for (int i = 0; i < ColCount(); ++i) WriteStreamLine(out, QStringLiteral("cw %1,%2").arg(i).arg(ColWidths(i)));
    const int c0 = SaveStartCol(), r0 = SaveStartRow();
    QString t;
    for (int r = r0; r <= SaveEndRow(); ++r) {
        for (int c = c0; c <= SaveEndCol(); ++c) {
            SaveCell(c, r, t);
            if (t.isEmpty()) continue;
            WriteStreamLine(out, QStringLiteral("%1,%2,%3").arg(c - c0).arg(r - r0).arg(PackLineBreaks(t)));
        }
    }
    Stream.write(out);
}

void TProStringGrid::LoadFromStream(QIODevice& Stream)
{
    // The grid text runs to the first line that is no cell line; data after it stays
    // readable.  All of it is read, and its numbers checked, before the grid changes.
    const qint64 origin = Stream.pos();
    const QByteArray bytes = Stream.readAll();
    const qsizetype units = bytes.size() / 2;
    auto unit = [&bytes](qsizetype i) {
        return char16_t(uchar(bytes[2 * i]) | (uchar(bytes[2 * i + 1]) << 8));
    };
    qsizetype pos = 0;  // in code units
    // One line ending at CR, the character after the CR consumed; false at the end.
    auto readLine = [&](QString& line) {
        line.clear();
        if (pos >= units) return false;
        while (pos < units) {
            const char16_t u = unit(pos++);
            if (u == 13) {
                if (pos < units) ++pos;
                return true;
            }
            line.append(QChar(u));
        }
        return true;
    };
    if (bytes.isEmpty()) return;
    const int c0 = SaveStartCol(), r0 = SaveStartRow();
    QString line;
    readLine(line);
    qint64 cols = ColCount(), rows = RowCount();
    if (!line.isEmpty()) {
        const qsizetype comma = line.indexOf(u',');
        cols = qint64(StrToInt(line.left(comma))) + c0;
        rows = qint64(StrToInt(line.mid(comma + 1))) + r0;
        if (cols < 0 || rows < 0 || cols > MaxLoadCols || rows > MaxLoadRows)
            throw EProGridError(QStringLiteral("Too many rows or columns in grid text"));
    }
    std::vector<std::pair<int, int>> widths;
    std::vector<TTextCell> cells;
    qsizetype end = pos;
    while (readLine(line)) {
        if (line.startsWith(QLatin1String("cw"))) {
            const QString rest = line.mid(3);
            const qsizetype comma = rest.indexOf(u',');
            widths.emplace_back(StrToInt(rest.left(comma)), LoadedWidth(StrToInt(rest.mid(comma + 1))));
        } else {
            const qsizetype p1 = line.indexOf(u',');
            const qsizetype p2 = p1 < 0 ? -1 : line.indexOf(u',', p1 + 1);
            if (p2 < 0) break;
            const qint64 c = qint64(StrToInt(line.left(p1))) + c0;
            const qint64 r = qint64(StrToInt(line.mid(p1 + 1, p2 - p1 - 1))) + r0;
            if (c >= 0 && r >= 0 && c < cols && r < rows)
                cells.push_back({int(c), int(r), UnpackLineBreaks(line.mid(p2 + 1), true)});
        }
        end = pos;
    }
    Stream.seek(origin + 2 * qint64(end));

    BeginUpdate();
    SetColCount(int(cols));
    SetRowCount(int(rows));
    for (const auto& [index, width] : widths)
        if (index >= 0 && index < ColCount()) SetColWidths(index, width);
    for (const TTextCell& k : cells)
        if (k.Col < TotalColCount()) LoadCell(k.Col, k.Row, k.Text);
    EndUpdate();
    CellsChanged({0, 0, ColCount(), RowCount()});
    CellsLoaded();
}

// ---- ASCII -----------------------------------------------------------------------------------

int TProStringGrid::MaxColumnTextLength(int ACol)
{
    int longest = 0;
    QString t;
    for (int r = 0; r < RowCount(); ++r) {
        SaveCell(ACol, r, t);
        for (const QString& line : CellLines(t)) longest = std::max(longest, int(line.size()));
    }
    return longest;
}

void TProStringGrid::SaveToASCII(const QString& FileName, bool Unicode) { WriteASCII(FileName, false, Unicode); }

void TProStringGrid::AppendToASCII(const QString& FileName, bool Unicode) { WriteASCII(FileName, true, Unicode); }

void TProStringGrid::WriteASCII(const QString& FileName, bool Append, bool Unicode)
{
    TWaitCursor wait;
    TTextFileWriter file(FileName, Unicode ? TTextEncoding::Utf16LE : TTextEncoding::Ansi, Unicode, Append, false);
    const int a = (FSaveFixedCells || FSaveFixedCols) ? 0 : FixedCols();
    const int b = (FSaveFixedCells || FSaveFixedRows) ? 0 : FixedRows();
    const int cols = ColCount() + (FSaveHiddenCells ? NumHiddenColumns() : 0);
    std::vector<int> real, width;
    for (int c = a; c < cols; ++c) {
        real.push_back(FSaveHiddenCells ? c : DisplToRealColumn(c));
        width.push_back(std::min(255, MaxColumnTextLength(real.back())));
    }
    auto aligned = [](QString s, int w, TAlignment ha) {
        if (ha == taRightJustify) {
            if (s.size() < w) s = QString(w - s.size(), u' ') + s;
        } else if (ha == taCenter) {
            while (s.size() < w) s = QLatin1Char(' ') + s + QLatin1Char(' ');
        }
        return s;
    };
    QString out = file.Lead();
    QString t;
    ExportRows(b, RowCount() - 1, 0, [&](int r) {
        QString main;
        QStringList more;
        int start = 0;
        for (size_t k = 0; k < real.size(); ++k) {
            SaveCell(real[k], r, t);
            const QStringList lines = CellLines(t);
            const TAlignment ha = GetCellAlignment(real[k], r).HA;
            QString first = aligned(lines[0], width[k], ha);
            if (first.size() < width[k] + 1) first += QString(width[k] + 1 - first.size(), u' ');
            main += first;
            if (FMultilinecells) {
                for (qsizetype i = 1; i < lines.size(); ++i) {
                    if (more.size() < i) more.append(QString());
                    QString& m = more[i - 1];
                    if (m.size() < start) m += QString(start - m.size(), u' ');
                    m += aligned(lines[i], width[k], ha);
                }
            }
            start += width[k] + 1;
        }
        out += main + QLatin1String("\r\n");
        for (const QString& m : more) out += m + QLatin1String("\r\n");
    });
    file.Save(out);
}

// ---- fixed width -----------------------------------------------------------------------------

void TProStringGrid::SaveToFixed(const QString& FileName, TIntList* Positions)
{
    const int c0 = SaveStartCol(), c1 = SaveEndCol() + (FSaveHiddenCells ? NumHiddenColumns() : 0);
    auto realCol = [this](int c) { return FSaveHiddenCells ? c : DisplToRealColumn(c); };
    for (int c = c0 + Positions->Count(); c <= c1; ++c) Positions->Add(MaxColumnTextLength(realCol(c)) + 1);
    QString out, t;
    for (int r = SaveStartRow(); r <= SaveEndRow(); ++r) {
        for (int c = c0; c <= c1; ++c) {
            const int w = std::max(0, Positions->GetInteger(c - c0));
            SaveCell(realCol(c), r, t);
            out += t.size() > w ? t.left(w) : t + QString(w - t.size(), u' ');
        }
        out += QLatin1String("\r\n");
    }
    try {
        SaveFileAtomic(FileName, EncodeAnsiFileText(out));
    } catch (const EInOutError& e) {
        throw EProGridError(QStringLiteral("Cannot Create file ") + FileName + QStringLiteral(": ") + e.Message());
    }
}

void TProStringGrid::LoadFromFixed(const QString& FileName, TIntList* Positions, bool DoTrim, int MaxRows)
{
    const std::optional<QByteArray> bytes = ReadGridFile(FileName);
    if (!bytes) throw EProGridError(QStringLiteral("File ") + FileName + QStringLiteral(" not found"));
    const QStringList lines = SplitTextLines(DecodeText(*bytes));
    std::vector<int> pos;
    for (int i = 0; i < Positions->Count(); ++i) pos.push_back(Positions->GetInteger(i));
    std::sort(pos.begin(), pos.end());
    const qsizetype limit = MaxRows == -1 ? lines.size() : std::min<qsizetype>(lines.size(), std::max(1, MaxRows));
    const int newCols = FixedCols() + int(pos.size()) - 1;
    const qint64 r0 = SaveStartRow();
    if (newCols > MaxLoadCols || r0 + limit > MaxLoadRows)
        throw EProGridError(QStringLiteral("Too many rows or columns in file ") + FileName);
    for (int i = 0; i < int(pos.size()); ++i) Positions->SetInteger(i, pos[size_t(i)]);

    BeginUpdate();
    if (newCols > 0) SetColCount(newCols);
    if (r0 + limit > RowCount()) SetRowCount(int(r0 + limit));
    const int c0 = SaveStartCol();
    for (qsizetype i = 0; i < limit; ++i) {
        const int row = int(r0 + i);
        for (size_t k = 1; k < pos.size(); ++k) {
            const int from = std::max(1, pos[k - 1]);
            QString field = lines[i].mid(from - 1, std::max(0, pos[k] - from));
            if (DoTrim) field = field.trimmed();
            LoadCell(c0 + int(k) - 1, row, field);
        }
    }
    EndUpdate();
    CellsChanged({0, 0, ColCount(), RowCount()});
    CellsLoaded();
}

// ---- numbers ---------------------------------------------------------------------------------

double TProStringGrid::CellToReal(int ACol, int ARow)
{
    const QString s = Cells(ACol, ARow);
    if (s.isEmpty()) return 0;
    const QString n = NormalizeNumberText(s);
    bool ok = false;
    const double v = n.toDouble(&ok);
    if (ok) return v;
    // the first character that makes the text no number
    int bad = 1;
    for (int len = 1; len <= n.size(); ++len) {
        bool part = false;
        const QString head = n.left(len);
        head.toDouble(&part);
        if (!part && head != QLatin1String("-") && head != QLatin1String("+") && head != QLatin1String(".")) {
            bad = len;
            break;
        }
    }
    throw EProGridError(QStringLiteral("Error at position: %1 in Cell [%2, %3].").arg(bad).arg(ACol).arg(ARow));
}
