#pragma once
// The office suite behind the grid's spreadsheet and document exchange: a headless
// LibreOffice, reached over its UNO bridge on a pipe of this user.  No UNO type appears
// here, so nothing but office_server.cpp needs the office's headers.
//
// Every request that the office refuses raises EProGridError with the office's reason.
#include <QPoint>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

// A block of cells, 0-based and inclusive.
struct TOfficeRange {
    int Left = 0, Top = 0, Right = -1, Bottom = -1;
    int Cols() const { return Right - Left + 1; }
    int Rows() const { return Bottom - Top + 1; }
};

// Cell values row by row, as texts; a cell without a value (empty, an error) is absent.
using TOfficeBlock = std::vector<std::vector<std::optional<QString>>>;

enum class TOfficeAlign { Left, Right, Center, Justify };

// A spreadsheet document open in the office.  Sheets are counted from 0.
class TOfficeWorkbook {
public:
    ~TOfficeWorkbook();
    int SheetCount();
    QString SheetName(int Sheet);
    // Appends a sheet of that name; its index.
    int AddSheet(const QString& Name);
    int ActiveSheet();
    void SetActiveSheet(int Sheet);
    // The active cell of the workbook's view (column and row from 0).
    QPoint ActiveCell();
    void SetActiveCell(int Sheet, int Col, int Row);
    // The block from the first to the last used cell (A1 alone on an empty sheet).
    TOfficeRange UsedRange(int Sheet);
    // Reads the block as arrays of whole rows, never cell by cell.
    TOfficeBlock ReadBlock(int Sheet, const TOfficeRange& R);
    // Writes rows of texts from (Col, Row) on; every value becomes a text cell, so that a
    // text such as "=1+1" never turns into a formula.  Short rows are filled with empty cells.
    void WriteBlock(int Sheet, int Col, int Row, const std::vector<QStringList>& Rows);
    // Stores under the file the workbook came from.
    void Save();
    // Stores in the format the file's extension names (.xlsx, .ods, .xls).
    void SaveAs(const QString& FileName);
    // Closes without saving.
    void Close();

    struct TImpl;

private:
    friend class TOfficeServer;
    explicit TOfficeWorkbook(std::unique_ptr<TImpl> Impl);
    std::unique_ptr<TImpl> F;
};

// A word-processor document open in the office.
class TOfficeDocument {
public:
    ~TOfficeDocument();
    // Types at the document's cursor, which then stands after the text.
    void TypeText(const QString& S);
    void TypeParagraph();
    QString Text();
    bool HasBookmark(const QString& Name);
    // Puts a bookmark over the end of the document.
    void AddBookmark(const QString& Name);
    enum TTablePlace { tpStart, tpEnd, tpBookmark };
    // Adds a table of Rows.size() rows at the start, after a new paragraph at the end or at a
    // bookmark, and fills its cells (texts, as one array).  Later alignments go to this table.
    void AddTable(TTablePlace Place, const QString& Bookmark, const std::vector<QStringList>& Rows);
    void AlignTableCell(int Col, int Row, TOfficeAlign Align);
    int TableCount();
    std::vector<QStringList> TableTexts(int Table);
    TOfficeAlign TableCellAlignment(int Table, int Col, int Row);
    // Stores in the format the file's extension names (.docx, .odt, .doc).
    void SaveAs(const QString& FileName);
    void Close();

    struct TImpl;

private:
    friend class TOfficeServer;
    explicit TOfficeDocument(std::unique_ptr<TImpl> Impl);
    std::unique_ptr<TImpl> F;
};

// One connection to the office.  Made, it attaches to an office that listens on the
// program's pipe, else starts one headless with a private profile and waits for the pipe.
// An office it started is told to quit when it goes; an office it found keeps running.
class TOfficeServer {
public:
    // NotFound: the error raised when the office is missing or does not come up.
    explicit TOfficeServer(const QString& NotFound);
    ~TOfficeServer();
    TOfficeServer(const TOfficeServer&) = delete;
    TOfficeServer& operator=(const TOfficeServer&) = delete;
    bool WasRunning() const;

    std::unique_ptr<TOfficeWorkbook> OpenWorkbook(const QString& FileName);
    std::unique_ptr<TOfficeWorkbook> AddWorkbook();
    // The workbook opened last that is still open; null when there is none.
    std::unique_ptr<TOfficeWorkbook> ActiveWorkbook();
    std::unique_ptr<TOfficeDocument> OpenDocument(const QString& FileName);
    std::unique_ptr<TOfficeDocument> AddDocument();
    // The document opened last that is still open; null when there is none.
    std::unique_ptr<TOfficeDocument> ActiveDocument();

    // The pipe the program's office listens on: one per user, the same for every process.
    static QString PipeName();
    // Where the office's start program lies (default: soffice on the search path).  Tests
    // point it, and the pipe, elsewhere to play a machine without the office.
    static void SetProgramFile(const QString& FileName);
    static void SetPipeName(const QString& Name);
    // Seconds to wait for a started office's pipe.
    static constexpr int StartTimeout = 60;

private:
    struct TImpl;
    std::unique_ptr<TImpl> F;
};
