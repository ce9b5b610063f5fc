#pragma once
// The office suite behind the grid's spreadsheet and document exchange: a headless
// LibreOffice, reached over its UNO bridge on a pipe of this user.  No UNO type appears
// here: the office's side is the office module (office_uno.cpp, libfabricat_office.so),
// loaded with the office's run-time libraries the first time an office is asked for.
//
// Every request that the office refuses raises EProGridError with the office's reason.
#include <QPoint>
#include <QString>
#include <QStringList>
#include <sys/types.h>
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
    virtual ~TOfficeWorkbook() = default;
    virtual int SheetCount() = 0;
    virtual QString SheetName(int Sheet) = 0;
    // Appends a sheet of that name; its index.
    virtual int AddSheet(const QString& Name) = 0;
    virtual int ActiveSheet() = 0;
    virtual void SetActiveSheet(int Sheet) = 0;
    // The active cell of the workbook's view (column and row from 0).
    virtual QPoint ActiveCell() = 0;
    virtual void SetActiveCell(int Sheet, int Col, int Row) = 0;
    // The block from the first to the last used cell (A1 alone on an empty sheet).
    virtual TOfficeRange UsedRange(int Sheet) = 0;
    // Reads the block as arrays of whole rows, never cell by cell.
    virtual TOfficeBlock ReadBlock(int Sheet, const TOfficeRange& R) = 0;
    // Writes rows of texts from (Col, Row) on; every value becomes a text cell, so that a
    // text such as "=1+1" never turns into a formula.  Short rows are filled with empty cells.
    virtual void WriteBlock(int Sheet, int Col, int Row, const std::vector<QStringList>& Rows) = 0;
    // Stores under the file the workbook came from.
    virtual void Save() = 0;
    // Stores in the format the file's extension names (.xlsx, .ods, .xls).
    virtual void SaveAs(const QString& FileName) = 0;
    // Closes without saving.
    virtual void Close() = 0;
};

// A word-processor document open in the office.
class TOfficeDocument {
public:
    virtual ~TOfficeDocument() = default;
    // Types at the document's cursor, which then stands after the text.
    virtual void TypeText(const QString& S) = 0;
    virtual void TypeParagraph() = 0;
    virtual QString Text() = 0;
    virtual bool HasBookmark(const QString& Name) = 0;
    // Puts a bookmark over the end of the document.
    virtual void AddBookmark(const QString& Name) = 0;
    enum TTablePlace { tpStart, tpEnd, tpBookmark };
    // Adds a table of Rows.size() rows at the start, after a new paragraph at the end or at a
    // bookmark, and fills its cells (texts, as one array).  Later alignments go to this table.
    virtual void AddTable(TTablePlace Place, const QString& Bookmark, const std::vector<QStringList>& Rows) = 0;
    virtual void AlignTableCell(int Col, int Row, TOfficeAlign Align) = 0;
    virtual int TableCount() = 0;
    virtual std::vector<QStringList> TableTexts(int Table) = 0;
    virtual TOfficeAlign TableCellAlignment(int Table, int Col, int Row) = 0;
    // Stores in the format the file's extension names (.docx, .odt, .doc).
    virtual void SaveAs(const QString& FileName) = 0;
    virtual void Close() = 0;
};

// The office module's side of a connection: the UNO bridge and the requests over it.  The
// process of an office that the connection starts is TOfficeServer's.
class TOfficeBridge {
public:
    virtual ~TOfficeBridge() = default;
    // Attaches to the office that listens on the pipe; false while none does.
    virtual bool Attach(const QString& Pipe) = 0;
    // Once attached: reaches the office's desktop; false when the office refuses it.
    virtual bool Connect() = 0;
    // Asks the office to end and lets go of the bridge; true when the office is ending (it
    // agreed, or its bridge went down with it).
    virtual bool Terminate() = 0;
    // FileName is a whole office file (checked by the caller).
    virtual std::unique_ptr<TOfficeWorkbook> OpenWorkbook(const QString& FileName) = 0;
    // ForUser: a document as a user's own would be, which can be the active one; else a
    // working document of this connection.
    virtual std::unique_ptr<TOfficeWorkbook> AddWorkbook(bool ForUser) = 0;
    virtual std::unique_ptr<TOfficeWorkbook> ActiveWorkbook() = 0;
    virtual std::unique_ptr<TOfficeDocument> OpenDocument(const QString& FileName) = 0;
    virtual std::unique_ptr<TOfficeDocument> AddDocument(bool ForUser) = 0;
    virtual std::unique_ptr<TOfficeDocument> ActiveDocument() = 0;
};

// The module's entry: a new bridge whose numbers read from sheets are written by NumberText;
// null when the office's run-time cannot start on this machine.
using TNewOfficeBridge = TOfficeBridge* (*)(QString (*NumberText)(double));
inline constexpr const char* OfficeModule = "fabricat_office";
inline constexpr const char* OfficeModuleEntry = "fabricat_new_office_bridge";

// One connection to the office.  Made, it attaches to an office that listens on the
// program's pipe, else starts one headless and waits for it.  An office it started is told
// to quit when it goes; an office it found keeps running.
//
// An office started here listens on a pipe of this connection alone and runs in a profile
// that no other running office uses, so that no other process attaches to it and loses it
// mid-request when it ends.  Only a connection made with Share starts its office on the
// program's pipe, for the others to attach to while it lives (a session that keeps one
// office for many exchanges).
class TOfficeServer {
public:
    // NotFound: the error raised when the office is missing or does not come up.
    explicit TOfficeServer(const QString& NotFound, bool Share = false);
    ~TOfficeServer();
    TOfficeServer(const TOfficeServer&) = delete;
    TOfficeServer& operator=(const TOfficeServer&) = delete;
    bool WasRunning() const { return FRunning; }

    // Documents opened or added here are working documents: marked as the program's own in
    // the office, they are never any connection's active workbook or document, which is the
    // last one opened otherwise (by a user of the office).  Tests add a user's with ForUser.
    std::unique_ptr<TOfficeWorkbook> OpenWorkbook(const QString& FileName);
    std::unique_ptr<TOfficeWorkbook> AddWorkbook(bool ForUser = false) { return F->AddWorkbook(ForUser); }
    // The last workbook still open that is no working document; null when there is none.
    std::unique_ptr<TOfficeWorkbook> ActiveWorkbook() { return F->ActiveWorkbook(); }
    std::unique_ptr<TOfficeDocument> OpenDocument(const QString& FileName);
    std::unique_ptr<TOfficeDocument> AddDocument(bool ForUser = false) { return F->AddDocument(ForUser); }
    // The last document still open that is no working document; null when there is none.
    std::unique_ptr<TOfficeDocument> ActiveDocument() { return F->ActiveDocument(); }

    // The pipe the program's running office listens on: one per user, the same for every
    // process.
    static QString PipeName();
    // Where the office's start program lies (default: soffice on the search path).  Tests
    // point it, and the pipe, elsewhere to play a machine without the office.
    static void SetProgramFile(const QString& FileName);
    static void SetPipeName(const QString& Name);
    // Seconds to wait for a started office (default 60); a loaded test machine waits longer.
    static void SetStartTimeout(int Seconds);
    static int StartTimeout();

private:
    void StartOffice(const QString& NotFound, bool Share);
    void EndOffice();

    std::unique_ptr<TOfficeBridge> F;
    pid_t FPid = -1;
    bool FRunning = false;
    int FProfileLock = -1;      // held while the office runs in the program's profile
    QString FOwnProfile;        // a profile made for this office alone, removed at its end
};
