// Spreadsheets, documents and databases exchanged with the grid, read back through the
// office and the database driver themselves.  One headless office serves the whole
// executable.
#include "grid/base/grid_error.h"
#include "grid/control/pro_string_grid.h"
#include "grid/data/office_address.h"
#include "grid/data/office_server.h"
#include "platform/core/exception.h"
#include "support/made_grid.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {
// The executable's office, on the program's pipe, so that the grid's operations and the
// helper programs attach to it.  A first start in a fresh profile on a loaded two-core machine
// has been seen to take well over a minute.
constexpr int kOfficeStartSeconds = 240;

class OfficeEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        TOfficeServer::SetStartTimeout(kOfficeStartSeconds);
        try {
            Office = std::make_unique<TOfficeServer>(QStringLiteral("no office"), true);
        } catch (const Exception&) {
            Missing = QStandardPaths::findExecutable(QStringLiteral("soffice")).isEmpty()
                          ? QStringLiteral("soffice is not installed")
                          : QStringLiteral("soffice did not come up within %1 s").arg(kOfficeStartSeconds);
        }
    }
    void TearDown() override { Office.reset(); }
    std::unique_ptr<TOfficeServer> Office;
    QString Missing;
};
OfficeEnvironment* const Env = static_cast<OfficeEnvironment*>(::testing::AddGlobalTestEnvironment(new OfficeEnvironment));

using Rows = std::vector<QStringList>;

struct OfficeGrid : MadeGridFixture<TProStringGrid> {
    OfficeGrid() : MadeGridFixture(3, 3) {}
    void SetUp() override
    {
        if (!Env->Office) GTEST_SKIP() << "the office does not start: " << Env->Missing.toStdString();
        MadeGridFixture::SetUp();
    }
    TOfficeServer& Office() { return *Env->Office; }
    QTemporaryDir Dir;
    QString File(const QString& name) const { return Dir.filePath(name); }
    void Fill(const Rows& rows)
    {
        grid->SetRowCount(int(rows.size()));
        grid->SetColCount(int(rows[0].size()));
        for (int r = 0; r < int(rows.size()); ++r)
            for (int c = 0; c < int(rows[r].size()); ++c) grid->SetCells(c, r, rows[r][c]);
    }
    Rows Contents() const
    {
        Rows out;
        for (int r = 0; r < grid->RowCount(); ++r) {
            QStringList row;
            for (int c = 0; c < grid->ColCount(); ++c) row << grid->Cells(c, r);
            out.push_back(row);
        }
        return out;
    }
    // A workbook made by the office itself, with rows of texts from (Col, Row).
    void MakeWorkbook(const QString& file, int col, int row, const Rows& rows)
    {
        auto book = Office().AddWorkbook();
        book->WriteBlock(0, col, row, rows);
        book->SaveAs(file);
        book->Close();
    }
    Rows ReadSheet(const QString& file, int sheet = 0)
    {
        auto book = Office().OpenWorkbook(file);
        const Rows out = UsedCells(*book, sheet);
        book->Close();
        return out;
    }
    static Rows UsedCells(TOfficeWorkbook& book, int sheet = 0)
    {
        Rows out;
        for (const auto& line : book.ReadBlock(sheet, book.UsedRange(sheet))) {
            QStringList row;
            for (const auto& cell : line) row << cell.value_or(QStringLiteral("<none>"));
            out.push_back(row);
        }
        return out;
    }
};
}  // namespace

TEST(OfficeAddress, ColumnNamesAndUsedRanges)
{
    const std::pair<int, const char*> names[] = {{1, "A"}, {26, "Z"}, {27, "AA"}, {52, "AZ"}, {702, "ZZ"}, {703, "AAA"}, {16384, "XFD"}};
    for (const auto& [n, name] : names) {
        EXPECT_EQ(XLSColumnName(n), QLatin1String(name));
        EXPECT_EQ(XLSColumnNumber(QLatin1String(name)), n);
    }
    EXPECT_EQ(XLSColumnNumber(QStringLiteral("xfd")), 16384);
    for (const char* bad : {"", "A1", "$A", "AAAAAAAAAAAAAAA", "Ä"}) EXPECT_EQ(XLSColumnNumber(QString::fromUtf8(bad)), -1) << bad;

    struct Case {
        const char* Address;
        int FirstCol, FirstRow, LastCol, LastRow;
        bool Valid;
    } cases[] = {
        {"$C$3:$E$5", 3, 3, 5, 5, true},
        {"$AAA$2:$XFD$1048576", 703, 2, 16384, 1048576, true},
        {"$3:$5", 1, 3, 256, 5, true},           // whole rows
        {"$B$4", 2, 4, 2, 4, true},
        {"B4", 1, 1, 1, 1, true},                // no "$" at all: A1
        {"$C$x:$E$5", 3, -1, 5, 5, false},
        {"$C$3:$B$5", 3, 3, 2, 5, false},        // reversed
        {"$C$99999999999:$E$5", 3, -1, 5, 5, false},
    };
    for (const Case& c : cases) {
        const TXLSUsedArea a = ParseXLSUsedArea(QLatin1String(c.Address));
        EXPECT_EQ(a.FirstCol, c.FirstCol) << c.Address;
        EXPECT_EQ(a.FirstRow, c.FirstRow) << c.Address;
        EXPECT_EQ(a.LastCol, c.LastCol) << c.Address;
        EXPECT_EQ(a.LastRow, c.LastRow) << c.Address;
        EXPECT_EQ(a.Valid(), c.Valid) << c.Address;
    }
    EXPECT_EQ(XLSRangeAddress(3, 3, 5, 5), QStringLiteral("$C$3:$E$5"));
    EXPECT_EQ(XLSRangeAddress(28, 7, 28, 7), QStringLiteral("$AB$7"));
    EXPECT_EQ(OfficeNumberText(3), QStringLiteral("3"));
    EXPECT_EQ(OfficeNumberText(-0.25), QStringLiteral("-0.25"));
    EXPECT_EQ(OfficeNumberText(1e20), QStringLiteral("1E20"));
    EXPECT_EQ(OfficeNumberText(1.5e-7), QStringLiteral("1.5E-7"));
}

// Without the office every operation raises its own error, leaves the grid and restores the cursor.
TEST(OfficeMissing, RaisesTheServersErrors)
{
    const QString pipe = QStringLiteral("fabricat-office-none-%1").arg(getpid());
    TOfficeServer::SetPipeName(pipe);
    TOfficeServer::SetProgramFile(QStringLiteral("/nonexistent/soffice"));
    TProStringGrid* grid = CreateGrid<TProStringGrid>();
    grid->SetCells(1, 1, QStringLiteral("kept"));
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("x.xlsx"));
    auto message = [](const std::function<void()>& f) {
        try {
            f();
        } catch (const EProGridError& e) {
            return e.Message();
        }
        return QStringLiteral("no error");
    };
    EXPECT_EQ(message([&] { grid->LoadFromXLS(file); }), QStringLiteral("Excel OLE server not found"));
    EXPECT_EQ(message([&] { grid->SaveToXLS(file, true); }), QStringLiteral("Excel OLE server not found"));
    EXPECT_EQ(message([&] { grid->GetXLSSheets(file); }), QStringLiteral("Excel OLE server not found"));
    EXPECT_EQ(message([&] { grid->SaveToDOC(dir.filePath(QStringLiteral("x.docx")), true); }), QStringLiteral("Word OLE server not found"));
    EXPECT_EQ(grid->Cells(1, 1), QStringLiteral("kept"));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_FALSE(QFileInfo::exists(file));
    TOfficeServer::SetPipeName(QString());
    TOfficeServer::SetProgramFile(QString());
    grid->Free();
}

// Grid to workbook and back, in every format, read back by the office too.
TEST_F(OfficeGrid, SheetRoundTripKeepsTextsAsTexts)
{
    const Rows cells = {{QStringLiteral("Name"), QStringLiteral("Formula"), QStringLiteral("Number")},
                        {QStringLiteral("Gr\u00fc\u00dfe \u20ac"), QStringLiteral("=1+1"), QStringLiteral("12")},
                        {QStringLiteral("two\r\nlines"), QString(), QStringLiteral("x")}};
    for (const char* ext : {"xlsx", "ods", "xls"}) {
        SCOPED_TRACE(ext);
        Fill(cells);
        grid->SetFixedRows(0);
        grid->SetFixedCols(0);
        const QString file = File(QStringLiteral("round.") + QLatin1String(ext));
        grid->SaveToXLS(file, true);
        const Rows back = ReadSheet(file);
        ASSERT_EQ(back.size(), 3u);
        EXPECT_EQ(back[1][1], QStringLiteral("=1+1"));      // a text, not the formula's 2
        EXPECT_EQ(back[1][0], cells[1][0]);
        EXPECT_EQ(back[2][0], QStringLiteral("two\nlines"));
        EXPECT_EQ(back[2][1], QStringLiteral("<none>"));

        grid->SetRowCount(1);
        grid->SetColCount(1);
        grid->LoadFromXLS(file);
        EXPECT_EQ(grid->ColCount(), 3);
        EXPECT_EQ(grid->RowCount(), 3);
        EXPECT_EQ(grid->Cells(1, 1), QStringLiteral("=1+1"));
        EXPECT_EQ(grid->Cells(2, 1), QStringLiteral("12"));
        EXPECT_EQ(grid->Cells(0, 2), QStringLiteral("two\nlines"));
    }
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(OfficeGrid, UsedRangeFromC3LoadsAsThreeByThreeAfterTheFixedCells)
{
    const QString file = File(QStringLiteral("used.xlsx"));
    MakeWorkbook(file, 2, 2, {{"a", "b", "c"}, {"d", "", "f"}, {"g", "h", "i"}});
    grid->SetFixedCols(1);
    grid->SetFixedRows(1);
    grid->SetSaveFixedCells(false);
    grid->SetCells(0, 0, QStringLiteral("corner"));
    grid->LoadFromXLS(file);
    EXPECT_EQ(grid->ColCount(), 4);
    EXPECT_EQ(grid->RowCount(), 4);
    EXPECT_EQ(grid->FixedCols(), 1);
    EXPECT_EQ(grid->FixedRows(), 1);
    EXPECT_EQ(grid->Cells(0, 0), QStringLiteral("corner"));
    EXPECT_EQ(Contents(), (Rows{{"corner", "", "", ""}, {"", "a", "b", "c"}, {"", "d", "", "f"}, {"", "g", "h", "i"}}));

    grid->SetSaveFixedCells(true);
    grid->LoadFromXLS(file);
    EXPECT_EQ(grid->ColCount(), 3);
    EXPECT_EQ(grid->RowCount(), 3);
    EXPECT_EQ(grid->Cells(0, 0), QStringLiteral("a"));
}

TEST_F(OfficeGrid, SheetsByNameAndAMissingSheet)
{
    const QString file = File(QStringLiteral("named.ods"));
    MakeWorkbook(file, 0, 0, {{"first"}});
    Fill({{"x", "y"}, {"1", "2"}});
    grid->SetFixedRows(0);
    grid->SaveToXLSSheet(file, QStringLiteral("Data"));
    const QStringList sheets = grid->GetXLSSheets(file);
    ASSERT_EQ(sheets.size(), 2);
    EXPECT_EQ(sheets[1], QStringLiteral("Data"));
    EXPECT_EQ(ReadSheet(file, 0), (Rows{{"first"}}));
    EXPECT_EQ(ReadSheet(file, 1), (Rows{{"x", "y"}, {"1", "2"}}));

    Fill({{"kept", "kept"}});
    try {
        grid->LoadFromXLSSheet(file, QStringLiteral("Nope"));
        FAIL() << "no error";
    } catch (const EProGridError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Excel worksheet Nope not found"));
    }
    EXPECT_EQ(Contents(), (Rows{{"kept", "kept"}}));
    grid->LoadFromXLSSheet(file, QStringLiteral("Data"));
    EXPECT_EQ(Contents(), (Rows{{"x", "y"}, {"1", "2"}}));
}

TEST_F(OfficeGrid, ExportGoesIntoTheOpenWorkbookAtItsActiveRow)
{
    auto book = Office().AddWorkbook(true);  // a user's open workbook
    book->SetActiveCell(0, 1, 4);
    Fill({{"h1", "h2"}, {"a", "b"}});
    grid->SetFixedRows(0);
    const QString file = File(QStringLiteral("active.xlsx"));
    grid->SaveToXLS(file, false);
    const TOfficeBlock block = book->ReadBlock(0, TOfficeRange{0, 0, 1, 5});
    book->Close();
    for (int r = 0; r < 4; ++r) EXPECT_FALSE(block[size_t(r)][0]) << r;
    EXPECT_EQ(block[4][0].value_or(QString()), QStringLiteral("h1"));
    EXPECT_EQ(block[5][1].value_or(QString()), QStringLiteral("b"));
    EXPECT_EQ(ReadSheet(file), (Rows{{"h1", "h2"}, {"a", "b"}}));  // saved from row 5 on
}

// Workbooks and documents that some exchange works on, in this program or another, are
// hidden and no user's: an export without a new sheet or document never writes into one
// of them, and the workbook or document it makes for itself is closed again.
TEST_F(OfficeGrid, ExportsNeverTakeAnotherExchangesWorkbookOrDocument)
{
    const Rows theirs = {{"other", "other", "other"}, {"other", "other", "other"}, {"other", "other", "other"}};
    auto other = Office().AddWorkbook();
    other->WriteBlock(0, 0, 0, theirs);
    auto otherDoc = Office().AddDocument();
    otherDoc->TypeText(QStringLiteral("other text"));
    Fill({{"a", "b"}, {"c", "d"}});
    grid->SetFixedRows(0);
    grid->SetFixedCols(0);
    for (int i = 0; i < 2; ++i) {  // the second time, the first export's workbook is no one's either
        const QString file = File(QStringLiteral("mine%1.xlsx").arg(i));
        grid->SaveToXLS(file, false);
        EXPECT_EQ(ReadSheet(file), (Rows{{"a", "b"}, {"c", "d"}})) << i;
    }
    EXPECT_EQ(UsedCells(*other), theirs);

    const QString docFile = File(QStringLiteral("mine.odt"));
    grid->SaveToDOC(docFile, false);
    auto back = Office().OpenDocument(docFile);
    EXPECT_EQ(back->TableCount(), 1);
    EXPECT_FALSE(back->Text().contains(QStringLiteral("other text")));
    back->Close();
    EXPECT_EQ(otherDoc->TableCount(), 0);
    EXPECT_EQ(otherDoc->Text(), QStringLiteral("other text"));
    other->Close();
    otherDoc->Close();
    // nothing of the exports stays open: the office holds no lock file beside them
    EXPECT_EQ(QDir(Dir.path()).entryList({QStringLiteral(".~lock*")}, QDir::Files | QDir::Hidden), QStringList());
}

// Two programs exporting at the same moment, one a large grid twice and the other a small one
// many times over: each file holds its own cells and nothing else, whether both attach to the
// running office or, with none listening, each export starts and ends an office of its own.
TEST_F(OfficeGrid, TwoProgramsExportingAtOnceSaveOnlyTheirOwnCells)
{
    struct Job {
        const char* Name;
        int Cols, Rows, Times;
    };
    // The first difference of a read-back sheet from the helper's cells, empty when none.
    auto difference = [](const Rows& got, const Job& job, const QString& name) -> QString {
        if (int(got.size()) != job.Rows) return QStringLiteral("%1 rows instead of %2").arg(got.size()).arg(job.Rows);
        for (int r = 0; r < job.Rows; ++r) {
            if (got[size_t(r)].size() != job.Cols)
                return QStringLiteral("%1 columns instead of %2").arg(got[size_t(r)].size()).arg(job.Cols);
            for (int c = 0; c < job.Cols; ++c) {
                const QString want = QStringLiteral("%1 %2/%3").arg(name).arg(c).arg(r);
                if (got[size_t(r)][c] != want) return QStringLiteral("cell %1/%2 holds \"%3\"").arg(c).arg(r).arg(got[size_t(r)][c]);
            }
        }
        return QString();
    };
    auto round = [&](int n, const std::vector<Job>& jobs, const QString& pipe) {
        SCOPED_TRACE(n);
        const QString folder = File(QString::number(n));
        ASSERT_TRUE(QDir().mkpath(folder));
        auto name = [n](const Job& job) { return QStringLiteral("%1%2").arg(QLatin1String(job.Name)).arg(n); };
        std::vector<std::unique_ptr<QProcess>> helpers;
        for (size_t k = 0; k < jobs.size(); ++k) {
            const Job& job = jobs[(size_t(n) + k) % jobs.size()];  // either starts first
            QStringList args{folder, name(job), QString::number(job.Cols), QString::number(job.Rows), QString::number(job.Times)};
            if (!pipe.isEmpty()) args << pipe;
            helpers.push_back(std::make_unique<QProcess>());
            helpers.back()->setProcessChannelMode(QProcess::MergedChannels);
            helpers.back()->start(QStringLiteral(FABRICAT_OFFICE_HELPER), args);
        }
        for (auto& h : helpers) {
            ASSERT_TRUE(h->waitForFinished((kOfficeStartSeconds + 120) * 1000));
            EXPECT_EQ(h->exitStatus(), QProcess::NormalExit);
            EXPECT_EQ(h->exitCode(), 0) << h->readAll().toStdString();
        }
        for (const Job& job : jobs)
            for (int i = 0; i < job.Times; ++i) {
                const QString file = QStringLiteral("%1/%2-%3.xlsx").arg(folder, name(job)).arg(i);
                const QString d = difference(ReadSheet(file), job, name(job));
                EXPECT_TRUE(d.isEmpty()) << job.Name << " " << i << ": " << d.toStdString();
            }
    };
    for (int n = 0; n < 3; ++n) round(n, {{"big", 20, 3000, 2}, {"small", 3, 4, 12}}, QString());
    round(3, {{"big", 20, 3000, 1}, {"small", 3, 4, 2}}, QStringLiteral("fabricat-office-test-none-%1").arg(getpid()));
}

TEST_F(OfficeGrid, BadWorkbooksRaiseAndChangeNothing)
{
    const QString good = File(QStringLiteral("good.xlsx"));
    MakeWorkbook(good, 0, 0, {{"a", "b"}, {"c", "d"}});
    QFile in(good);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    const QByteArray bytes = in.readAll();
    QByteArray binary(4096, '\0');
    for (int i = 0; i < binary.size(); ++i) binary[i] = char((i * 7919) & 0xFF);
    const std::pair<const char*, QByteArray> files[] = {{"truncated.xlsx", bytes.left(bytes.size() / 2)},
                                                        {"binary.xlsx", binary},
                                                        {"empty.xlsx", QByteArray()}};
    Fill({{"kept"}});
    for (const auto& [name, data] : files) {
        const QString file = File(QLatin1String(name));
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(data);
        out.close();
        EXPECT_THROW(grid->LoadFromXLS(file), Exception) << name;
        EXPECT_EQ(Contents(), (Rows{{"kept"}})) << name;
    }
    EXPECT_THROW(grid->LoadFromXLS(File(QStringLiteral("missing.xlsx"))), EProGridError);
    EXPECT_EQ(Contents(), (Rows{{"kept"}}));
}

// A save that cannot be made raises and leaves what was there.
TEST_F(OfficeGrid, FailedSavesRaise)
{
    Fill({{"a"}});
    QDir(Dir.path()).mkdir(QStringLiteral("folder.xlsx"));
    const QString folder = File(QStringLiteral("folder.xlsx"));
    const QString orphan = File(QStringLiteral("none/x.xlsx"));
    EXPECT_THROW(grid->SaveToXLS(folder, true), EProGridError);
    EXPECT_THROW(grid->SaveToXLS(orphan, true), EProGridError);
    EXPECT_THROW(grid->SaveToXLSSheet(orphan, QStringLiteral("S")), EProGridError);
    EXPECT_THROW(grid->SaveToDOC(File(QStringLiteral("none/x.docx")), true), EProGridError);
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_FALSE(QFileInfo::exists(File(QStringLiteral("none"))));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(OfficeGrid, DocumentTableKeepsTextsAndAlignment)
{
    Fill({{"Item", "Count", "Note"}, {"bolts", "12", "left"}, {"nuts", "7.5", "=1+1"}});
    grid->SetAutoNumAlign(true);
    grid->SetAlignments(2, 0, taCenter);
    for (const char* ext : {"docx", "odt"}) {
        SCOPED_TRACE(ext);
        const QString file = File(QStringLiteral("table.") + QLatin1String(ext));
        grid->SaveToDOC(file, true);
        auto doc = Office().OpenDocument(file);
        ASSERT_EQ(doc->TableCount(), 1);
        EXPECT_EQ(doc->TableTexts(0), Contents());
        EXPECT_EQ(doc->TableCellAlignment(0, 1, 1), TOfficeAlign::Right);
        EXPECT_EQ(doc->TableCellAlignment(0, 1, 2), TOfficeAlign::Right);
        EXPECT_EQ(doc->TableCellAlignment(0, 0, 1), TOfficeAlign::Left);
        EXPECT_EQ(doc->TableCellAlignment(0, 2, 0), TOfficeAlign::Center);
        doc->Close();
    }
}

TEST_F(OfficeGrid, AppendGoesToTheBookmarkElseToTheEnd)
{
    const QString file = File(QStringLiteral("report.odt"));
    {
        auto doc = Office().AddDocument();
        doc->TypeText(QStringLiteral("Intro"));
        doc->TypeParagraph();
        doc->AddBookmark(QStringLiteral("here"));
        doc->SaveAs(file);
        doc->Close();
    }
    Fill({{"a", "b"}});
    grid->AppendToDoc(file, QStringLiteral("here"));
    grid->AppendToDoc(file, QStringLiteral("nowhere"));
    auto doc = Office().OpenDocument(file);
    EXPECT_EQ(doc->TableCount(), 2);
    EXPECT_TRUE(doc->Text().contains(QStringLiteral("Intro")));
    EXPECT_TRUE(doc->HasBookmark(QStringLiteral("here")));
    EXPECT_EQ(doc->TableTexts(1), (Rows{{"a", "b"}}));
    doc->Close();
}

// ---- Access databases ---------------------------------------------------------------------------

namespace {
struct MdbGrid : MadeGridFixture<TProStringGrid> {
    MdbGrid() : MadeGridFixture(2, 2) {}
    void SetUp() override
    {
        Nwind = QStringLiteral(FABRICAT_TESTDATA "/mdb/nwind.mdb");
        if (!QFileInfo::exists(Nwind)) GTEST_SKIP() << "the sample databases are not there: " << FABRICAT_TESTDATA;
        MadeGridFixture::SetUp();
    }
    QString Nwind;
    QTemporaryDir Dir;
};
}  // namespace

TEST_F(MdbGrid, CustomersWithFieldNamesInTheFixedRow)
{
    grid->SetFixedCols(0);
    grid->SetFixedRows(1);
    grid->LoadFromMDBTable(Nwind, QStringLiteral("Customers"));
    EXPECT_EQ(grid->RowCount(), 92);
    EXPECT_EQ(grid->Cells(0, 0), QStringLiteral("CustomerID"));
    EXPECT_EQ(grid->Cells(1, 0), QStringLiteral("CompanyName"));
    EXPECT_EQ(grid->Cells(0, 1), QStringLiteral("ALFKI"));
    EXPECT_GE(grid->ColCount(), 10);

    grid->LoadFromMDBSQL(Nwind, QStringLiteral("SELECT CustomerID FROM Customers WHERE Country = 'Mexico'"));
    EXPECT_EQ(grid->ColCount(), 1);
    EXPECT_EQ(grid->RowCount(), 6);
}

// Names that would change the query or the connection text inject nothing.
TEST_F(MdbGrid, TableAndFileNamesInjectNothing)
{
    grid->SetFixedRows(1);
    grid->SetCells(0, 1, QStringLiteral("kept"));
    for (const char* table : {"Customers] WHERE 1=0 --", "Cust]]omers", "[Customers", ""})
        EXPECT_THROW(grid->LoadFromMDBTable(Nwind, QLatin1String(table)), EProGridError) << table;
    EXPECT_THROW(grid->LoadFromMDBTable(Nwind, QStringLiteral("Customers; DROP TABLE Orders")), EProGridError);
    EXPECT_EQ(grid->Cells(0, 1), QStringLiteral("kept"));

    const QString folder = Dir.filePath(QStringLiteral("a;DBQ=other.mdb;{b}"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString copy = folder + QStringLiteral("/n;w.mdb");
    ASSERT_TRUE(QFile::copy(Nwind, copy));
    grid->LoadFromMDBTable(copy, QStringLiteral("Customers"));
    EXPECT_EQ(grid->RowCount(), 92);
}

TEST_F(MdbGrid, BadDatabasesRaiseAndChangeNothing)
{
    QFile in(Nwind);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    const QByteArray bytes = in.readAll();
    QByteArray zeros(8192, '\0');
    const std::pair<const char*, QByteArray> files[] = {{"truncated.mdb", bytes.left(5000)},
                                                        {"header.mdb", bytes.left(0x20)},
                                                        {"zeros.mdb", zeros},
                                                        {"text.mdb", QByteArray("Standard Jet DB is not here")},
                                                        {"empty.mdb", QByteArray()}};
    grid->SetCells(1, 1, QStringLiteral("kept"));
    for (const auto& [name, data] : files) {
        const QString file = Dir.filePath(QLatin1String(name));
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(data);
        out.close();
        EXPECT_THROW(grid->LoadFromMDBTable(file, QStringLiteral("Customers")), EProGridError) << name;
    }
    EXPECT_THROW(grid->LoadFromMDBTable(Dir.filePath(QStringLiteral("missing.mdb")), QStringLiteral("Customers")), EProGridError);
    EXPECT_THROW(grid->LoadFromMDBTable(Nwind, QStringLiteral("NoSuchTable")), EProGridError);
    EXPECT_THROW(grid->LoadFromMDBSQL(Nwind, QStringLiteral("SELEKT nonsense")), EProGridError);
    EXPECT_EQ(grid->ColCount(), 2);
    EXPECT_EQ(grid->Cells(1, 1), QStringLiteral("kept"));
}
