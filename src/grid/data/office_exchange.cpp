// The grid's cells into and out of spreadsheets and word-processor documents, through the
// office suite.
#include "grid/base/grid_error.h"
#include "grid/control/pro_string_grid.h"
#include "grid/data/office_address.h"
#include "grid/data/office_server.h"
#include "grid/data/update_lock.h"
#include "grid/data/wait_cursor.h"
#include "platform/core/exception.h"

#include <QFileInfo>

namespace {
const QString& ExcelMissing()
{
    static const QString s = QStringLiteral("Excel OLE server not found");
    return s;
}

// A workbook or document that the operation opened or added for itself: closed when the
// operation ends, also when it fails, so that an office that keeps running holds none of
// them.  A user's open workbook or document, written into, is no working one and stays open.
template <class T>
struct TWorking {
    std::unique_ptr<T> Doc;
    ~TWorking()
    {
        try {
            if (Doc) Doc->Close();
        } catch (const Exception&) {
            // what mattered was read or saved before; a failed close loses nothing
        }
    }
};

// The last sheet of that name, -1 for none.
int SheetNamed(TOfficeWorkbook& Book, const QString& Name)
{
    int found = -1;
    const int n = Book.SheetCount();
    for (int i = 0; i < n; ++i)
        if (Book.SheetName(i) == Name) found = i;
    return found;
}
}  // namespace

QStringList TProStringGrid::GetXLSSheets(const QString& FileName)
{
    TWaitCursor wait;
    TOfficeServer office(ExcelMissing());
    TWorking<TOfficeWorkbook> reading{office.OpenWorkbook(FileName)};
    QStringList names;
    const int n = reading.Doc->SheetCount();
    for (int i = 0; i < n; ++i) names << reading.Doc->SheetName(i);
    return names;
}

void TProStringGrid::LoadFromXLS(const QString& Filename) { ImportXLSSheet(Filename, QString()); }

void TProStringGrid::LoadFromXLSSheet(const QString& Filename, const QString& SheetName) { ImportXLSSheet(Filename, SheetName); }

void TProStringGrid::ImportXLSSheet(const QString& Filename, const QString& SheetName)
{
    TWaitCursor wait;
    TOfficeServer office(ExcelMissing());
    TWorking<TOfficeWorkbook> reading{office.OpenWorkbook(Filename)};
    TOfficeWorkbook& book = *reading.Doc;
    int sheet = book.ActiveSheet();
    if (!SheetName.isEmpty()) {
        sheet = SheetNamed(book, SheetName);
        if (sheet < 0) throw EProGridError(QStringLiteral("Excel worksheet ") + SheetName + QStringLiteral(" not found"));
    }

    const TOfficeRange used = book.UsedRange(sheet);
    const TXLSUsedArea area = ParseXLSUsedArea(XLSRangeAddress(used.Left + 1, used.Top + 1, used.Right + 1, used.Bottom + 1));
    if (!area.Valid()) throw Exception(QStringLiteral("Incorrect XLS file"));
    const int a = (FSaveFixedCells || FSaveFixedCols) ? 0 : FixedCols();
    const int b = (FSaveFixedCells || FSaveFixedRows) ? 0 : FixedRows();
    const qint64 cols = qint64(area.Cols()) + a, rows = qint64(area.Rows()) + b;
    if (cols > MaxLoadCols || rows > MaxLoadRows || qint64(area.Cols()) * area.Rows() > MaxLoadXLSCells)
        throw EProGridError(QStringLiteral("Too many rows or columns in XLS file ") + Filename);

    // The whole block is read before the grid changes.
    TOfficeBlock block;
    try {
        block = book.ReadBlock(sheet, TOfficeRange{area.FirstCol - 1, area.FirstRow - 1, area.LastCol - 1, area.LastRow - 1});
    } catch (const EProGridError&) {
        throw Exception(QStringLiteral("Incorrect XLS file"));
    }

    const int fixedCols = FixedCols(), fixedRows = FixedRows();
    TGridUpdateLock lock(this);
    SetColCount(int(cols));
    SetRowCount(int(rows));
    if (fixedCols < ColCount() && FixedCols() != fixedCols) SetFixedCols(fixedCols);
    if (fixedRows < RowCount() && FixedRows() != fixedRows) SetFixedRows(fixedRows);
    for (size_t r = 0; r < block.size() && b + qint64(r) < RowCount(); ++r) {
        const auto& line = block[r];
        for (size_t c = 0; c < line.size() && a + qint64(c) < ColCount(); ++c)
            if (line[c]) LoadCell(a + int(c), b + int(r), *line[c]);
    }
    lock.Release();
    CellsChanged({0, 0, ColCount(), RowCount()});
    CellsLoaded();
}

void TProStringGrid::SaveToXLS(const QString& Filename, bool CreateNewSheet) { ExportXLSSheet(Filename, QString(), CreateNewSheet); }

void TProStringGrid::SaveToXLSSheet(const QString& Filename, const QString& SheetName) { ExportXLSSheet(Filename, SheetName, false); }

void TProStringGrid::ExportXLSSheet(const QString& Filename, const QString& SheetName, bool CreateNewSheet)
{
    TWaitCursor wait;
    // The cells first, as one block; line breaks keep their LF only.
    std::vector<QStringList> cells;
    const int c0 = SaveStartCol(), r0 = SaveStartRow();
    std::vector<int> real;
    for (int c = c0; c < ColCount(); ++c) real.push_back(DisplToRealColumn(c));
    cells.reserve(size_t(std::max(0, RowCount() - r0)));
    QString t;
    for (int r = r0; r < RowCount(); ++r) {
        QStringList row;
        row.reserve(qsizetype(real.size()));
        for (int rc : real) {
            SaveCell(rc, r, t);
            row << t.remove(u'\r');
        }
        cells.push_back(std::move(row));
    }

    TOfficeServer office(ExcelMissing());
    TWorking<TOfficeWorkbook> working;
    std::unique_ptr<TOfficeWorkbook> active;
    bool opened = false;
    int sheet = 0, firstRow = 0;
    if (!SheetName.isEmpty()) {
        // An existing file that the office cannot read is reported, never written over.
        if (QFileInfo(Filename).isFile()) {
            working.Doc = office.OpenWorkbook(Filename);
            opened = true;
        } else {
            working.Doc = office.AddWorkbook();
        }
        sheet = SheetNamed(*working.Doc, SheetName);
        if (sheet < 0) sheet = working.Doc->AddSheet(SheetName);
    } else {
        if (!CreateNewSheet) active = office.ActiveWorkbook();
        if (active) {
            sheet = active->ActiveSheet();
            firstRow = active->ActiveCell().y();
        } else {
            working.Doc = office.AddWorkbook();
        }
    }
    TOfficeWorkbook& book = active ? *active : *working.Doc;
    book.WriteBlock(sheet, 0, firstRow, cells);
    if (opened)
        book.Save();
    else
        book.SaveAs(Filename);
}

void TProStringGrid::SaveToDOC(const QString& Filename, bool CreateNewDocument) { ExportDOC(Filename, QString(), false, CreateNewDocument); }

void TProStringGrid::AppendToDoc(const QString& Filename, const QString& Bookmark) { ExportDOC(Filename, Bookmark, true, false); }

void TProStringGrid::ExportDOC(const QString& Filename, const QString& Bookmark, bool Append, bool CreateNewDocument)
{
    TWaitCursor wait;
    // The whole grid, fixed cells included, and the alignment of each cell.
    std::vector<QStringList> cells;
    std::vector<std::vector<TAlignment>> aligns;
    std::vector<int> real;
    for (int c = 0; c < ColCount(); ++c) real.push_back(DisplToRealColumn(c));
    QString t;
    for (int r = 0; r < RowCount(); ++r) {
        QStringList row;
        std::vector<TAlignment> rowAligns;
        for (int rc : real) {
            SaveCell(rc, r, t);
            row << t;
            rowAligns.push_back(GetCellAlignment(rc, r).HA);
        }
        cells.push_back(std::move(row));
        aligns.push_back(std::move(rowAligns));
    }

    TOfficeServer office(QStringLiteral("Word OLE server not found"));
    TWorking<TOfficeDocument> working;
    std::unique_ptr<TOfficeDocument> active;
    if (Append) {
        working.Doc = office.OpenDocument(Filename);
    } else {
        if (!CreateNewDocument) active = office.ActiveDocument();
        if (!active) working.Doc = office.AddDocument();
    }
    TOfficeDocument* doc = active ? active.get() : working.Doc.get();
    doc->TypeText(windowTitle());
    doc->TypeParagraph();
    TOfficeDocument::TTablePlace place = TOfficeDocument::tpStart;
    if (Append) place = !Bookmark.isEmpty() && doc->HasBookmark(Bookmark) ? TOfficeDocument::tpBookmark : TOfficeDocument::tpEnd;

    ExportNotification(esExportStart, 0);
    doc->AddTable(place, Bookmark, cells);
    for (int r = 0; r < int(aligns.size()); ++r) {
        ExportNotification(esExportNextRow, r);
        for (int c = 0; c < int(aligns[size_t(r)].size()); ++c) {
            const TAlignment ha = aligns[size_t(r)][size_t(c)];
            if (ha == taRightJustify)
                doc->AlignTableCell(c, r, TOfficeAlign::Right);
            else if (ha == taCenter)
                doc->AlignTableCell(c, r, TOfficeAlign::Center);
        }
    }
    ExportNotification(esExportDone, -1);
    doc->SaveAs(Filename);
}
