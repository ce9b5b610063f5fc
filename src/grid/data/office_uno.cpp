// The office module: the UNO bridge to a headless LibreOffice and the spreadsheet and
// word-processor requests over it.  Built as a shared library of its own, the only code of
// the program that links the office's run-time libraries.
#include "grid/data/office_server.h"

#include "grid/base/grid_error.h"

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/bridge/UnoUrlResolver.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/container/XNameAccess.hpp>
#include <com/sun/star/container/XNamed.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/frame/XFrames.hpp>
#include <com/sun/star/frame/XFrame.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/lang/XMultiServiceFactory.hpp>
#include <com/sun/star/sheet/XCellRangeAddressable.hpp>
#include <com/sun/star/sheet/XCellRangeData.hpp>
#include <com/sun/star/sheet/XSheetCellCursor.hpp>
#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/sheet/XSpreadsheetView.hpp>
#include <com/sun/star/sheet/XSpreadsheets.hpp>
#include <com/sun/star/sheet/XUsedAreaCursor.hpp>
#include <com/sun/star/style/ParagraphAdjust.hpp>
#include <com/sun/star/table/XCell.hpp>
#include <com/sun/star/table/XCellRange.hpp>
#include <com/sun/star/text/ControlCharacter.hpp>
#include <com/sun/star/text/XBookmarksSupplier.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextContent.hpp>
#include <com/sun/star/text/XTextCursor.hpp>
#include <com/sun/star/text/XTextDocument.hpp>
#include <com/sun/star/text/XTextTable.hpp>
#include <com/sun/star/text/XTextTablesSupplier.hpp>
#include <com/sun/star/text/XTextViewCursorSupplier.hpp>
#include <com/sun/star/uno/RuntimeException.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <com/sun/star/view/XSelectionSupplier.hpp>
#include <cppuhelper/bootstrap.hxx>
#include <rtl/bootstrap.hxx>

#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>
#include <algorithm>
#include <atomic>
#include <csignal>
#include <unistd.h>

using css::uno::Any;
using rtl::OUString;
using css::uno::Reference;
using css::uno::Sequence;
using css::uno::UNO_QUERY;
using css::uno::UNO_QUERY_THROW;

namespace {
// Cells per request when a block is read or written: large enough that a block costs a few
// requests, small enough that one array stays a few megabytes.
constexpr int kCellsPerRequest = 1 << 20;

// How the program writes a number read from a sheet (set by the module's entry).
QString (*NumberText)(double) = nullptr;

OUString U(const QString& s) { return OUString(reinterpret_cast<const sal_Unicode*>(s.utf16()), sal_Int32(s.size())); }
QString Q(const OUString& s) { return QString(reinterpret_cast<const QChar*>(s.getStr()), s.getLength()); }

QString Reason(const css::uno::Exception& e)
{
    const QString m = Q(e.Message).trimmed();
    return m.isEmpty() ? QStringLiteral("the office refused the request") : m;
}

// Runs a request and turns the office's refusal into the grid's error.
template <class F>
auto Ask(const QString& What, F&& f) -> decltype(f())
{
    try {
        return f();
    } catch (const css::uno::Exception& e) {
        throw EProGridError(What + QStringLiteral(": ") + Reason(e));
    }
}

css::beans::PropertyValue Prop(const char* Name, const Any& Value)
{
    css::beans::PropertyValue p;
    p.Name = OUString::createFromAscii(Name);
    p.Value = Value;
    return p;
}

QString FileUrl(const QString& FileName) { return QUrl::fromLocalFile(QFileInfo(FileName).absoluteFilePath()).toString(QUrl::FullyEncoded); }

std::optional<QString> CellValue(const Any& a)
{
    switch (a.getValueTypeClass()) {
    case css::uno::TypeClass_STRING: {
        OUString s;
        a >>= s;
        if (s.isEmpty()) return std::nullopt;
        return Q(s);
    }
    case css::uno::TypeClass_DOUBLE: {
        double d = 0;
        a >>= d;
        return NumberText(d);
    }
    default: return std::nullopt;
    }
}

Sequence<Sequence<Any>> TextArray(const std::vector<QStringList>& Rows, size_t First, size_t Count, int Cols)
{
    Sequence<Sequence<Any>> out(static_cast<sal_Int32>(Count));
    Sequence<Any>* rows = out.getArray();
    for (size_t r = 0; r < Count; ++r) {
        const QStringList& src = Rows[First + r];
        rows[r].realloc(Cols);
        Any* cells = rows[r].getArray();
        for (int c = 0; c < Cols; ++c) cells[c] <<= U(c < src.size() ? src[c] : QString());
    }
    return out;
}

QString FilterFor(const QString& FileName, bool Sheet)
{
    const QString ext = QFileInfo(FileName).suffix().toLower();
    if (Sheet) {
        if (ext == QLatin1String("ods")) return QStringLiteral("calc8");
        if (ext == QLatin1String("xls")) return QStringLiteral("MS Excel 97");
        return QStringLiteral("Calc MS Excel 2007 XML");
    }
    if (ext == QLatin1String("odt")) return QStringLiteral("writer8");
    if (ext == QLatin1String("doc")) return QStringLiteral("MS Word 97");
    return QStringLiteral("MS Word 2007 XML");
}

// The office would make missing folders on its own; a save goes only where the user meant.
void CheckSaveTarget(const QString& FileName)
{
    const QFileInfo fi(FileName);
    if (FileName.isEmpty() || fi.isDir())
        throw EProGridError(QStringLiteral("Cannot save ") + FileName + QStringLiteral(": the name is a folder"));
    if (!QFileInfo(fi.absolutePath()).isDir())
        throw EProGridError(QStringLiteral("Cannot save ") + FileName + QStringLiteral(": the folder does not exist"));
}

void StoreAs(const Reference<css::lang::XComponent>& Doc, const QString& FileName, bool Sheet)
{
    CheckSaveTarget(FileName);
    Ask(QStringLiteral("Cannot save ") + FileName, [&] {
        Reference<css::frame::XStorable> st(Doc, UNO_QUERY_THROW);
        const css::beans::PropertyValue args[] = {Prop("FilterName", Any(U(FilterFor(FileName, Sheet)))),
                                                  Prop("Overwrite", Any(true))};
        st->storeAsURL(U(FileUrl(FileName)), Sequence<css::beans::PropertyValue>(args, 2));
    });
}

void CloseDoc(const Reference<css::lang::XComponent>& Doc)
{
    if (!Doc.is()) return;
    Ask(QStringLiteral("Cannot close the document"), [&] {
        Reference<css::util::XCloseable> c(Doc, UNO_QUERY);
        if (c.is())
            c->close(true);
        else
            Doc->dispose();
    });
}

// The process's own end of the bridge, made once; it lives as long as the process.
Reference<css::uno::XComponentContext> LocalContext()
{
    static Reference<css::uno::XComponentContext>* ctx = nullptr;
    if (ctx) return *ctx;
    QString dir = QStringLiteral("/usr/lib/libreoffice/program");
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (!soffice.isEmpty()) dir = QFileInfo(QFileInfo(soffice).canonicalFilePath()).absolutePath();
    const QString rc = dir + QStringLiteral("/fundamentalrc");
    if (!QFileInfo::exists(rc)) return {};
    try {
        rtl::Bootstrap::set(OUString("URE_BOOTSTRAP"), U(QStringLiteral("vnd.sun.star.pathname:") + rc));
        ctx = new Reference<css::uno::XComponentContext>(cppu::defaultBootstrap_InitialComponentContext());
    } catch (const css::uno::Exception&) {
        return {};
    }
    return *ctx;
}

// Working documents are loaded into frames named thus: a frame's name is the office's, never
// saved with a document, and it is given when the frame is made, before the document is
// loaded into it, so no other connection ever sees a working document unmarked.
const QString WorkFramePrefix = QStringLiteral("fabricat-work-");
constexpr sal_Int32 CreateFrame = 8;  // css::frame::FrameSearchFlag::CREATE

QString NewWorkFrameName()
{
    static std::atomic<int> made{0};
    return WorkFramePrefix + QStringLiteral("%1-%2").arg(getpid()).arg(++made);
}

template <class Doc>
Reference<Doc> LastOpen(const Reference<css::frame::XDesktop2>& Desktop)
{
    // One look at the frames: other connections open and close theirs meanwhile.
    constexpr sal_Int32 Children = 4;  // css::frame::FrameSearchFlag::CHILDREN
    const Sequence<Reference<css::frame::XFrame>> frames = Desktop->getFrames()->queryFrames(Children);
    for (sal_Int32 i = frames.getLength() - 1; i >= 0; --i) {
        try {
            const Reference<css::frame::XFrame>& frame = frames[i];
            if (!frame.is() || Q(frame->getName()).startsWith(WorkFramePrefix)) continue;
            Reference<css::frame::XController> ctl = frame->getController();
            if (!ctl.is()) continue;
            Reference<Doc> doc(ctl->getModel(), UNO_QUERY);
            if (doc.is()) return doc;
        } catch (const css::uno::RuntimeException&) {
            // closed since the look (disposed)
        }
    }
    return {};
}
}  // namespace

// ---- the connection ---------------------------------------------------------------------------

class TUnoBridge final : public TOfficeBridge {
public:
    explicit TUnoBridge(const Reference<css::uno::XComponentContext>& Local)
        : Resolver(css::bridge::UnoUrlResolver::create(Local))
    {
    }
    bool Attach(const QString& Pipe) override;
    bool Connect() override;
    bool Terminate() override;
    std::unique_ptr<TOfficeWorkbook> OpenWorkbook(const QString& FileName) override;
    std::unique_ptr<TOfficeWorkbook> AddWorkbook(bool ForUser) override;
    std::unique_ptr<TOfficeWorkbook> ActiveWorkbook() override;
    std::unique_ptr<TOfficeDocument> OpenDocument(const QString& FileName) override;
    std::unique_ptr<TOfficeDocument> AddDocument(bool ForUser) override;
    std::unique_ptr<TOfficeDocument> ActiveDocument() override;

private:
    Reference<css::bridge::XUnoUrlResolver> Resolver;
    Reference<css::uno::XComponentContext> Remote;
    Reference<css::frame::XDesktop2> Desktop;

    Reference<css::lang::XComponent> Load(const QString& Url, const QString& What, bool ForUser = false)
    {
        return Ask(What, [&] {
            const css::beans::PropertyValue args[] = {Prop("Hidden", Any(true))};
            if (ForUser)
                return Reference<css::lang::XComponent>(
                    Desktop->loadComponentFromURL(U(Url), OUString("_blank"), 0, Sequence<css::beans::PropertyValue>(args, 1)));
            // the frame is made with its name, then the document loaded into it
            Reference<css::frame::XFrame> frame = Desktop->findFrame(U(NewWorkFrameName()), CreateFrame);
            Reference<css::frame::XComponentLoader> loader(frame, UNO_QUERY_THROW);
            // a frame that received no document is not left behind
            auto drop = [&] {
                try {
                    frame->dispose();
                } catch (const css::uno::Exception&) {
                }
            };
            Reference<css::lang::XComponent> doc;
            try {
                doc = loader->loadComponentFromURL(U(Url), OUString("_self"), 0, Sequence<css::beans::PropertyValue>(args, 1));
            } catch (const css::uno::Exception&) {
                drop();
                throw;
            }
            if (!doc.is()) drop();
            return doc;
        });
    }
    Reference<css::lang::XComponent> LoadFile(const QString& FileName)
    {
        Reference<css::lang::XComponent> doc = Load(FileUrl(FileName), QStringLiteral("Cannot open ") + FileName);
        if (!doc.is()) throw EProGridError(QStringLiteral("Cannot open ") + FileName + QStringLiteral(": the office cannot read it"));
        return doc;
    }
};

bool TUnoBridge::Attach(const QString& Pipe)
{
    const OUString url = U(QStringLiteral("uno:pipe,name=") + Pipe + QStringLiteral(";urp;StarOffice.ComponentContext"));
    try {
        Remote.set(Resolver->resolve(url), UNO_QUERY);
    } catch (const css::uno::Exception&) {
        return false;
    }
    return Remote.is();
}

bool TUnoBridge::Connect()
{
    try {
        Desktop = css::frame::Desktop::create(Remote);
    } catch (const css::uno::Exception&) {
        return false;
    }
    return true;
}

bool TUnoBridge::Terminate()
{
    bool ending = true;
    try {
        if (Desktop.is()) ending = Desktop->terminate();
    } catch (const css::uno::Exception&) {
        // the bridge goes down with the office
    }
    Desktop.clear();
    Remote.clear();
    return ending;
}

// ---- spreadsheets -----------------------------------------------------------------------------

class TUnoWorkbook final : public TOfficeWorkbook {
public:
    int SheetCount() override;
    QString SheetName(int Sheet) override;
    int AddSheet(const QString& Name) override;
    int ActiveSheet() override;
    void SetActiveSheet(int Sheet) override;
    QPoint ActiveCell() override;
    void SetActiveCell(int Sheet, int Col, int Row) override;
    TOfficeRange UsedRange(int Sheet) override;
    TOfficeBlock ReadBlock(int Sheet, const TOfficeRange& R) override;
    void WriteBlock(int Sheet, int Col, int Row, const std::vector<QStringList>& Rows) override;
    void Save() override;
    void SaveAs(const QString& FileName) override;
    void Close() override;


    Reference<css::lang::XComponent> Doc;
    Reference<css::sheet::XSpreadsheetDocument> Book;

    Reference<css::container::XIndexAccess> Sheets() { return Reference<css::container::XIndexAccess>(Book->getSheets(), UNO_QUERY_THROW); }
    Reference<css::sheet::XSpreadsheet> SheetAt(int Index)
    {
        return Reference<css::sheet::XSpreadsheet>(Sheets()->getByIndex(Index), UNO_QUERY_THROW);
    }
    Reference<css::sheet::XSpreadsheetView> View()
    {
        Reference<css::frame::XModel> model(Doc, UNO_QUERY_THROW);
        return Reference<css::sheet::XSpreadsheetView>(model->getCurrentController(), UNO_QUERY);
    }
};

std::unique_ptr<TOfficeWorkbook> TUnoBridge::OpenWorkbook(const QString& FileName)
{
    Reference<css::lang::XComponent> doc = LoadFile(FileName);
    Reference<css::sheet::XSpreadsheetDocument> book(doc, UNO_QUERY);
    if (!book.is()) {
        CloseDoc(doc);
        throw EProGridError(QStringLiteral("Cannot open ") + FileName + QStringLiteral(": not a workbook"));
    }
    auto impl = std::make_unique<TUnoWorkbook>();
    impl->Doc = doc;
    impl->Book = book;
    return impl;
}

std::unique_ptr<TOfficeWorkbook> TUnoBridge::AddWorkbook(bool ForUser)
{
    const QString what = QStringLiteral("Cannot add a workbook");
    Reference<css::lang::XComponent> doc = Load(QStringLiteral("private:factory/scalc"), what, ForUser);
    Reference<css::sheet::XSpreadsheetDocument> book(doc, UNO_QUERY);
    if (!book.is()) throw EProGridError(what);
    auto impl = std::make_unique<TUnoWorkbook>();
    impl->Doc = doc;
    impl->Book = book;
    return impl;
}

std::unique_ptr<TOfficeWorkbook> TUnoBridge::ActiveWorkbook()
{
    Reference<css::sheet::XSpreadsheetDocument> book =
        Ask(QStringLiteral("Cannot reach the open workbooks"), [&] { return LastOpen<css::sheet::XSpreadsheetDocument>(Desktop); });
    if (!book.is()) return nullptr;
    auto impl = std::make_unique<TUnoWorkbook>();
    impl->Doc.set(book, UNO_QUERY);
    impl->Book = book;
    return impl;
}

int TUnoWorkbook::SheetCount()
{
    return Ask(QStringLiteral("Cannot read the sheets"), [&] { return int(Sheets()->getCount()); });
}

QString TUnoWorkbook::SheetName(int Sheet)
{
    return Ask(QStringLiteral("Cannot read the sheets"), [&] {
        Reference<css::container::XNamed> named(SheetAt(Sheet), UNO_QUERY_THROW);
        return Q(named->getName());
    });
}

int TUnoWorkbook::AddSheet(const QString& Name)
{
    return Ask(QStringLiteral("Cannot add the sheet ") + Name, [&] {
        const int at = int(Sheets()->getCount());
        Book->getSheets()->insertNewByName(U(Name), sal_Int16(at));
        return at;
    });
}

int TUnoWorkbook::ActiveSheet()
{
    return Ask(QStringLiteral("Cannot read the active sheet"), [&] {
        Reference<css::sheet::XSpreadsheetView> view = View();
        if (!view.is()) return 0;
        Reference<css::sheet::XCellRangeAddressable> a(view->getActiveSheet(), UNO_QUERY_THROW);
        return int(a->getRangeAddress().Sheet);
    });
}

void TUnoWorkbook::SetActiveSheet(int Sheet)
{
    Ask(QStringLiteral("Cannot activate the sheet"), [&] {
        Reference<css::sheet::XSpreadsheetView> view = View();
        if (view.is()) view->setActiveSheet(SheetAt(Sheet));
    });
}

QPoint TUnoWorkbook::ActiveCell()
{
    return Ask(QStringLiteral("Cannot read the active cell"), [&] {
        Reference<css::view::XSelectionSupplier> sel(View(), UNO_QUERY);
        if (!sel.is()) return QPoint(0, 0);
        Reference<css::sheet::XCellRangeAddressable> a(sel->getSelection(), UNO_QUERY);
        if (!a.is()) return QPoint(0, 0);
        const css::table::CellRangeAddress r = a->getRangeAddress();
        return QPoint(int(r.StartColumn), int(r.StartRow));
    });
}

void TUnoWorkbook::SetActiveCell(int Sheet, int Col, int Row)
{
    Ask(QStringLiteral("Cannot select the cell"), [&] {
        Reference<css::sheet::XSpreadsheetView> view = View();
        if (!view.is()) return;
        Reference<css::sheet::XSpreadsheet> sheet = SheetAt(Sheet);
        view->setActiveSheet(sheet);
        Reference<css::view::XSelectionSupplier> sel(view, UNO_QUERY_THROW);
        sel->select(Any(sheet->getCellByPosition(Col, Row)));
    });
}

TOfficeRange TUnoWorkbook::UsedRange(int Sheet)
{
    return Ask(QStringLiteral("Cannot read the used range"), [&] {
        Reference<css::sheet::XSheetCellCursor> cursor = SheetAt(Sheet)->createCursor();
        Reference<css::sheet::XUsedAreaCursor> used(cursor, UNO_QUERY_THROW);
        used->gotoStartOfUsedArea(false);
        used->gotoEndOfUsedArea(true);
        Reference<css::sheet::XCellRangeAddressable> a(cursor, UNO_QUERY_THROW);
        const css::table::CellRangeAddress r = a->getRangeAddress();
        return TOfficeRange{int(r.StartColumn), int(r.StartRow), int(r.EndColumn), int(r.EndRow)};
    });
}

TOfficeBlock TUnoWorkbook::ReadBlock(int Sheet, const TOfficeRange& R)
{
    TOfficeBlock out;
    if (R.Cols() <= 0 || R.Rows() <= 0) return out;
    Ask(QStringLiteral("Cannot read the cells"), [&] {
        Reference<css::sheet::XSpreadsheet> sheet = SheetAt(Sheet);
        const int step = std::max(1, kCellsPerRequest / R.Cols());
        out.reserve(size_t(R.Rows()));
        for (int top = R.Top; top <= R.Bottom; top += step) {
            const int bottom = std::min(R.Bottom, top + step - 1);
            Reference<css::sheet::XCellRangeData> data(sheet->getCellRangeByPosition(R.Left, top, R.Right, bottom), UNO_QUERY_THROW);
            const Sequence<Sequence<Any>> rows = data->getDataArray();
            for (const Sequence<Any>& row : rows) {
                std::vector<std::optional<QString>> cells;
                cells.reserve(size_t(row.getLength()));
                for (const Any& a : row) cells.push_back(CellValue(a));
                out.push_back(std::move(cells));
            }
        }
    });
    return out;
}

void TUnoWorkbook::WriteBlock(int Sheet, int Col, int Row, const std::vector<QStringList>& Rows)
{
    int cols = 0;
    for (const QStringList& r : Rows) cols = std::max(cols, int(r.size()));
    if (Rows.empty() || cols == 0) return;
    Ask(QStringLiteral("Cannot write the cells"), [&] {
        Reference<css::sheet::XSpreadsheet> sheet = SheetAt(Sheet);
        const size_t step = size_t(std::max(1, kCellsPerRequest / cols));
        for (size_t first = 0; first < Rows.size(); first += step) {
            const size_t count = std::min(step, Rows.size() - first);
            const int top = Row + int(first);
            Reference<css::sheet::XCellRangeData> data(
                sheet->getCellRangeByPosition(Col, top, Col + cols - 1, top + int(count) - 1), UNO_QUERY_THROW);
            data->setDataArray(TextArray(Rows, first, count, cols));
        }
    });
}

void TUnoWorkbook::Save()
{
    Ask(QStringLiteral("Cannot save the workbook"), [&] { Reference<css::frame::XStorable>(Doc, UNO_QUERY_THROW)->store(); });
}

void TUnoWorkbook::SaveAs(const QString& FileName) { StoreAs(Doc, FileName, true); }

void TUnoWorkbook::Close()
{
    CloseDoc(Doc);
    Doc.clear();
    Book.clear();
}

// ---- word-processor documents -----------------------------------------------------------------

class TUnoDocument final : public TOfficeDocument {
public:
    void TypeText(const QString& S) override;
    void TypeParagraph() override;
    QString Text() override;
    bool HasBookmark(const QString& Name) override;
    void AddBookmark(const QString& Name) override;
    void AddTable(TTablePlace Place, const QString& Bookmark, const std::vector<QStringList>& Rows) override;
    void AlignTableCell(int Col, int Row, TOfficeAlign Align) override;
    int TableCount() override;
    std::vector<QStringList> TableTexts(int Table) override;
    TOfficeAlign TableCellAlignment(int Table, int Col, int Row) override;
    void SaveAs(const QString& FileName) override;
    void Close() override;


    Reference<css::lang::XComponent> Doc;
    Reference<css::text::XTextDocument> TextDoc;
    Reference<css::text::XTextCursor> Cursor;
    Reference<css::text::XTextTable> Table;

    // The typing position: where the document's view has its cursor, else the start.
    Reference<css::text::XTextCursor> Selection()
    {
        if (Cursor.is()) return Cursor;
        Reference<css::frame::XModel> model(Doc, UNO_QUERY);
        Reference<css::text::XTextViewCursorSupplier> views(model.is() ? model->getCurrentController() : nullptr, UNO_QUERY);
        if (views.is()) {
            Reference<css::text::XTextRange> at(views->getViewCursor(), UNO_QUERY);
            if (at.is()) Cursor = at->getText()->createTextCursorByRange(at);
        }
        if (!Cursor.is()) Cursor = TextDoc->getText()->createTextCursor();
        return Cursor;
    }
    Reference<css::container::XNameAccess> Bookmarks()
    {
        return Reference<css::text::XBookmarksSupplier>(Doc, UNO_QUERY_THROW)->getBookmarks();
    }
    Reference<css::text::XTextTable> TableAt(int Index)
    {
        Reference<css::container::XIndexAccess> tables(Reference<css::text::XTextTablesSupplier>(Doc, UNO_QUERY_THROW)->getTextTables(),
                                                        UNO_QUERY_THROW);
        return Reference<css::text::XTextTable>(tables->getByIndex(Index), UNO_QUERY_THROW);
    }
    static Reference<css::beans::XPropertySet> CellParagraphs(const Reference<css::text::XTextTable>& T, int Col, int Row)
    {
        Reference<css::table::XCellRange> cells(T, UNO_QUERY_THROW);
        Reference<css::text::XText> text(cells->getCellByPosition(Col, Row), UNO_QUERY_THROW);
        Reference<css::text::XTextCursor> all = text->createTextCursor();
        all->gotoStart(false);
        all->gotoEnd(true);
        return Reference<css::beans::XPropertySet>(all, UNO_QUERY_THROW);
    }
};

namespace {
std::unique_ptr<TUnoDocument> DocumentOf(const Reference<css::lang::XComponent>& doc)
{
    Reference<css::text::XTextDocument> text(doc, UNO_QUERY);
    if (!text.is()) return nullptr;
    auto impl = std::make_unique<TUnoDocument>();
    impl->Doc = doc;
    impl->TextDoc = text;
    return impl;
}
}  // namespace

std::unique_ptr<TOfficeDocument> TUnoBridge::OpenDocument(const QString& FileName)
{
    Reference<css::lang::XComponent> doc = LoadFile(FileName);
    auto impl = DocumentOf(doc);
    if (!impl) {
        CloseDoc(doc);
        throw EProGridError(QStringLiteral("Cannot open ") + FileName + QStringLiteral(": not a text document"));
    }
    return impl;
}

std::unique_ptr<TOfficeDocument> TUnoBridge::AddDocument(bool ForUser)
{
    const QString what = QStringLiteral("Cannot add a document");
    auto impl = DocumentOf(Load(QStringLiteral("private:factory/swriter"), what, ForUser));
    if (!impl) throw EProGridError(what);
    return impl;
}

std::unique_ptr<TOfficeDocument> TUnoBridge::ActiveDocument()
{
    Reference<css::text::XTextDocument> text =
        Ask(QStringLiteral("Cannot reach the open documents"), [&] { return LastOpen<css::text::XTextDocument>(Desktop); });
    if (!text.is()) return nullptr;
    return DocumentOf(Reference<css::lang::XComponent>(text, UNO_QUERY));
}

void TUnoDocument::TypeText(const QString& S)
{
    Ask(QStringLiteral("Cannot type into the document"), [&] {
        Reference<css::text::XTextCursor> at = Selection();
        at->getText()->insertString(Reference<css::text::XTextRange>(at.get()), U(S), false);
    });
}

void TUnoDocument::TypeParagraph()
{
    Ask(QStringLiteral("Cannot type into the document"), [&] {
        Reference<css::text::XTextCursor> at = Selection();
        at->getText()->insertControlCharacter(Reference<css::text::XTextRange>(at.get()), css::text::ControlCharacter::PARAGRAPH_BREAK, false);
    });
}

QString TUnoDocument::Text()
{
    return Ask(QStringLiteral("Cannot read the document"), [&] { return Q(TextDoc->getText()->getString()); });
}

bool TUnoDocument::HasBookmark(const QString& Name)
{
    return Ask(QStringLiteral("Cannot read the bookmarks"), [&] { return bool(Bookmarks()->hasByName(U(Name))); });
}

void TUnoDocument::AddBookmark(const QString& Name)
{
    Ask(QStringLiteral("Cannot add the bookmark ") + Name, [&] {
        Reference<css::lang::XMultiServiceFactory> make(Doc, UNO_QUERY_THROW);
        Reference<css::text::XTextContent> mark(make->createInstance(OUString("com.sun.star.text.Bookmark")), UNO_QUERY_THROW);
        Reference<css::container::XNamed>(mark, UNO_QUERY_THROW)->setName(U(Name));
        Reference<css::text::XText> text = TextDoc->getText();
        text->insertTextContent(text->getEnd(), mark, false);
    });
}

void TUnoDocument::AddTable(TTablePlace Place, const QString& Bookmark, const std::vector<QStringList>& Rows)
{
    int cols = 0;
    for (const QStringList& r : Rows) cols = std::max(cols, int(r.size()));
    if (Rows.empty() || cols == 0) return;
    Ask(QStringLiteral("Cannot add the table"), [&] {
        Reference<css::lang::XMultiServiceFactory> make(Doc, UNO_QUERY_THROW);
        Reference<css::text::XTextTable> table(make->createInstance(OUString("com.sun.star.text.TextTable")), UNO_QUERY_THROW);
        table->initialize(sal_Int32(Rows.size()), cols);
        Reference<css::text::XText> text = TextDoc->getText();
        Reference<css::text::XTextRange> at;
        switch (Place) {
        case tpStart: at = text->getStart(); break;
        case tpEnd:
            text->insertControlCharacter(text->getEnd(), css::text::ControlCharacter::PARAGRAPH_BREAK, false);
            at = text->getEnd();
            break;
        case tpBookmark: {
            Reference<css::text::XTextContent> mark(Bookmarks()->getByName(U(Bookmark)), UNO_QUERY_THROW);
            at = mark->getAnchor();
            text = at->getText();
            break;
        }
        }
        text->insertTextContent(at, Reference<css::text::XTextContent>(table.get()), false);
        Reference<css::sheet::XCellRangeData>(table, UNO_QUERY_THROW)->setDataArray(TextArray(Rows, 0, Rows.size(), cols));
        Table = table;
    });
}

void TUnoDocument::AlignTableCell(int Col, int Row, TOfficeAlign Align)
{
    if (!Table.is()) return;
    Ask(QStringLiteral("Cannot align the table cell"), [&] {
        css::style::ParagraphAdjust a = css::style::ParagraphAdjust_LEFT;
        switch (Align) {
        case TOfficeAlign::Left: break;
        case TOfficeAlign::Right: a = css::style::ParagraphAdjust_RIGHT; break;
        case TOfficeAlign::Center: a = css::style::ParagraphAdjust_CENTER; break;
        case TOfficeAlign::Justify: a = css::style::ParagraphAdjust_BLOCK; break;
        }
        CellParagraphs(Table, Col, Row)->setPropertyValue(OUString("ParaAdjust"), Any(sal_Int16(a)));
    });
}

int TUnoDocument::TableCount()
{
    return Ask(QStringLiteral("Cannot read the tables"), [&] {
        Reference<css::container::XIndexAccess> tables(Reference<css::text::XTextTablesSupplier>(Doc, UNO_QUERY_THROW)->getTextTables(),
                                                        UNO_QUERY_THROW);
        return int(tables->getCount());
    });
}

std::vector<QStringList> TUnoDocument::TableTexts(int Table)
{
    return Ask(QStringLiteral("Cannot read the table"), [&] {
        std::vector<QStringList> out;
        const Sequence<Sequence<Any>> rows = Reference<css::sheet::XCellRangeData>(TableAt(Table), UNO_QUERY_THROW)->getDataArray();
        for (const Sequence<Any>& row : rows) {
            QStringList cells;
            for (const Any& a : row) cells << CellValue(a).value_or(QString());
            out.push_back(cells);
        }
        return out;
    });
}

TOfficeAlign TUnoDocument::TableCellAlignment(int Table, int Col, int Row)
{
    return Ask(QStringLiteral("Cannot read the table"), [&] {
        sal_Int16 a = 0;
        CellParagraphs(TableAt(Table), Col, Row)->getPropertyValue(OUString("ParaAdjust")) >>= a;
        switch (css::style::ParagraphAdjust(a)) {
        case css::style::ParagraphAdjust_RIGHT: return TOfficeAlign::Right;
        case css::style::ParagraphAdjust_CENTER: return TOfficeAlign::Center;
        case css::style::ParagraphAdjust_BLOCK: return TOfficeAlign::Justify;
        default: return TOfficeAlign::Left;
        }
    });
}

void TUnoDocument::SaveAs(const QString& FileName) { StoreAs(Doc, FileName, false); }

void TUnoDocument::Close()
{
    CloseDoc(Doc);
    Doc.clear();
    TextDoc.clear();
    Cursor.clear();
    Table.clear();
}

extern "C" Q_DECL_EXPORT TOfficeBridge* fabricat_new_office_bridge(QString (*Numbers)(double))
{
    NumberText = Numbers;
    // The bridge writes to the office's pipe: an office that hangs up (it ends, or drops a
    // connection that is going) must fail the request, not end this process.  A handler the
    // program set itself stays.
    struct sigaction pipe {};
    if (sigaction(SIGPIPE, nullptr, &pipe) == 0 && pipe.sa_handler == SIG_DFL) std::signal(SIGPIPE, SIG_IGN);
    const Reference<css::uno::XComponentContext> local = LocalContext();
    if (!local.is()) return nullptr;
    try {
        return new TUnoBridge(local);
    } catch (const css::uno::Exception&) {
        return nullptr;
    }
}
