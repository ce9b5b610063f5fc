// CSV files: the parser and writer rules, round trips, files of other programs, bad input,
// appending and honest saves.
#include "grid/base/grid_error.h"
#include "grid/control/pro_string_grid.h"
#include "grid/data/text_io.h"
#include "platform/core/exception.h"
#include "platform/ui/inplace_edit.h"
#include "support/full_disk.h"
#include "support/made_grid.h"
#include "file_bytes.h"
#include "support/shown_grid.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace {
QStringList Records(const TCSVTable& t)
{
    QStringList out;
    for (size_t r = 0; r < t.RecordCount(); ++r) {
        QStringList fields;
        for (size_t k = 0; k < t.FieldCount(r); ++k) fields << t.Field(r, k);
        out << fields.join(u'|');
    }
    return out;
}

struct CsvGrid : MadeGridFixture<TProStringGrid> {
    CsvGrid() : MadeGridFixture(3, 3) {}
    QTemporaryDir Dir;
    QString File(const char* name) const { return Dir.filePath(QString::fromLatin1(name)); }
    void Fill(const std::vector<QStringList>& rows)
    {
        grid->SetRowCount(int(rows.size()));
        grid->SetColCount(int(rows[0].size()));
        for (int r = 0; r < int(rows.size()); ++r)
            for (int c = 0; c < int(rows[r].size()); ++c) grid->SetCells(c, r, rows[r][c]);
    }
    std::vector<QStringList> Contents() const
    {
        std::vector<QStringList> out;
        for (int r = 0; r < grid->RowCount(); ++r) {
            QStringList row;
            for (int c = 0; c < grid->ColCount(); ++c) row << grid->Cells(c, r);
            out.push_back(row);
        }
        return out;
    }
};
}  // namespace

TEST(CsvParse, FieldsQuotesAndLineBreaks)
{
    struct Case {
        const char* Name;
        const char* Text;
        bool Java;
        QStringList Expected;
    };
    const Case cases[] = {
        {"plain fields, CR LF and LF", "a,b\r\nc,d\ne", false, {"a|b", "c|d", "e"}},
        {"quoted separator and doubled quote", "\"x,y\",\"say \"\"hi\"\"\"", false, {"x,y|say \"hi\""}},
        {"leading blanks go, text after the closing quote too", "  a, \"b\"zz,c", false, {"a|b|c"}},
        {"a trailing separator writes nothing more", "a,b,\r\n,x", false, {"a|b", "|x"}},
        {"an empty line is an empty record", "a\r\n\r\nb", false, {"a", "", "b"}},
        {"quoted line breaks are read whole as CR LF", "\"one\ntwo\",x\r\n\"3\r\n4\"", false, {"one\r\ntwo|x", "3\r\n4"}},
        {"character 11 is a line break", "\"a\x0b" "b\",c", false, {"a\r\nb|c"}},
        {"a quote never closed runs to the end of its line", "\"abc,d\r\ne,f", false, {"abc,d", "e|f"}},
        {"empty quoted field", "\"\",x", false, {"|x"}},
        {"JavaCSV tilde and caret", "a~b,^,c", true, {"a\r\nb||c"}},
    };
    for (const Case& c : cases) {
        TCSVOptions o;
        o.Delimiter = u',';
        o.JavaCSV = c.Java;
        EXPECT_EQ(Records(ParseCSV(QString::fromLatin1(c.Text), o)), c.Expected) << c.Name;
    }
    TCSVOptions o;
    o.Delimiter = u',';
    EXPECT_EQ(Records(ParseCSV(u"h\r\n1\r\n2\r\n3", o, 1, 2)), (QStringList{"1", "2"})) << "skip and limit";
    o.Delimiter = QChar();
    EXPECT_EQ(Records(ParseCSV(u"a,b;c\r\nd", o)), (QStringList{"a,b;c", "d"})) << "no separator: one field per line";
}

TEST(CsvParse, DelimiterGuess)
{
    struct Case {
        const char* Name;
        const char16_t* L1;
        const char16_t* L2;
        QChar Expected;
    };
    const Case cases[] = {
        {"commas", u"a,b,c", u"1,2,3", u','},
        {"semicolons beat a comma inside a field", u"a;b,x;c", u"1;2;3", u';'},
        {"tabs", u"a\tb", u"1\t2", u'\t'},
        {"one comma and one semicolon each: the comma", u"a,b;c", u"1,2;3", u','},
        {"a doubled candidate is escaped", u"a##b#c", u"1#2#3", u'#'},
        {"one line: the most frequent", u"a;b;c,d", u"", u';'},
        {"nothing splits", u"abc", u"def", QChar()},
    };
    for (const Case& c : cases) EXPECT_EQ(GuessCSVDelimiter(c.L1, c.L2), c.Expected) << c.Name;
}

TEST(CsvWrite, FieldQuoting)
{
    struct Case {
        const char* Name;
        QString Text;
        TCSVWriteOptions Options;
        QString Expected;
    };
    TCSVWriteOptions plain, always, java, bare;
    always.AlwaysQuotes = true;
    java.JavaCSV = true;
    bare.QuoteEmptyCells = false;
    const Case cases[] = {
        {"plain", "abc", plain, "abc"},
        {"separator", "a,b", plain, "\"a,b\""},
        {"quote", "say \"hi\"", plain, "\"say \"\"hi\"\"\""},
        {"separator and quote", "a,\"b", plain, "\"a,\"\"b\""},
        {"leading blank is quoted", " a", plain, "\" a\""},
        {"line break unquoted becomes 11", "a\r\nb", plain, "\"a\x0b" "b\""},
        {"line break in a quoted field stays, as LF", "\"a\r\nb", plain, "\"\"\"a\nb\""},
        {"always quotes", "a\"b", always, "\"a\"\"b\""},
        {"empty", "", plain, "\"\""},
        {"empty without quotes", "", bare, ""},
        {"java empty", "", java, "^"},
        {"java line break", "a\r\nb", java, "a~b"},
        {"java separator is quoted", "a,b", java, "\"a,b\""},
    };
    for (const Case& c : cases) {
        QString out;
        AppendCSVField(out, c.Text, c.Options);
        EXPECT_EQ(out, c.Expected) << c.Name;
    }
}

TEST_F(CsvGrid, RoundTripsKeepEveryCell)
{
    struct Case {
        const char* Name;
        QChar Delimiter;
        bool Unicode, Java, Always;
        QString Special;  // a text of the encoding
    };
    const Case cases[] = {
        {"comma, ANSI", QChar(), false, false, false, QStringLiteral("caf\u00e9 \u20ac")},
        {"semicolon, UTF-8", u';', true, false, false, QStringLiteral("\u6f22\u5b57 \u00e9")},
        {"tab, always quoted", u'\t', true, false, true, QStringLiteral("x")},
        {"JavaCSV", QChar(), true, true, false, QStringLiteral("\u00fc")},
    };
    for (const Case& c : cases) {
        const std::vector<QStringList> rows = {
            {"a,b", "say \"hi\"", "two\r\nlines"},
            {"", "tab\there", c.Special},
            {" lead", "x;y", "<b>bold</b>"},
        };
        Fill(rows);
        grid->SetDelimiter(c.Delimiter);
        grid->SetJavaCSV(c.Java);
        grid->SetAlwaysQuotes(c.Always);
        grid->SaveToCSV(File("t.csv"), c.Unicode);
        for (int r = 0; r < 3; ++r)
            for (int k = 0; k < 3; ++k) grid->SetCells(k, r, "old");
        grid->SetRowCount(7);
        grid->LoadFromCSV(File("t.csv"));
        std::vector<QStringList> expected = rows;
        EXPECT_EQ(Contents(), expected) << c.Name;
        EXPECT_EQ(grid->Delimiter(), c.Delimiter) << c.Name;
    }
}

TEST_F(CsvGrid, HiddenColumnsAreLeftOutUnlessSaved)
{
    Fill({{"a", "b", "c"}});
    grid->HideColumn(1);
    grid->SaveToCSV(File("h.csv"));
    EXPECT_EQ(ReadBytes(File("h.csv")), "a,c\r\n");
    grid->SetSaveHiddenCells(true);
    grid->SaveToCSV(File("h.csv"));
    EXPECT_EQ(ReadBytes(File("h.csv")), "a,b,c\r\n");
}

TEST_F(CsvGrid, ReadsAFileAsASpreadsheetSavesIt)
{
    // CR LF between records, a bare LF inside quoted cells, doubled quotes, a UTF-8 mark.
    WriteBytes(File("sheet.csv"), "\xEF\xBB\xBF" "Name;Note;Price\r\n"
                                  "\"M\xC3\xBCller\";\"first line\nsecond line\";12,50\r\n"
                                  "Smith;\"says \"\"no\"\"; twice\";3\r\n");
    grid->LoadFromCSV(File("sheet.csv"));
    const std::vector<QStringList> expected = {
        {"Name", "Note", "Price"},
        {"M\u00fcller", "first line\r\nsecond line", "12,50"},
        {"Smith", "says \"no\"; twice", "3"},
    };
    EXPECT_EQ(Contents(), expected);
}

TEST_F(CsvGrid, LimitsSkipsAndInserts)
{
    WriteBytes(File("r.csv"), "h1,h2\r\n1,2\r\n3,4\r\n5,6\r\n");
    grid->LoadFromCSV(File("r.csv"), 2);
    EXPECT_EQ(grid->RowCount(), 2);
    EXPECT_EQ(grid->Cells(1, 1), "2");
    grid->SetLoadFirstRow(false);
    grid->LoadFromCSV(File("r.csv"));
    EXPECT_EQ(grid->RowCount(), 3);
    EXPECT_EQ(grid->Cells(0, 0), "1");
    grid->InsertFromCSV(File("r.csv"));
    EXPECT_EQ(grid->RowCount(), 6);
    EXPECT_EQ(grid->Cells(0, 2), "5");
    EXPECT_EQ(grid->Cells(0, 3), "1");
    EXPECT_EQ(grid->Cells(1, 5), "6");
    // a file of size 0 changes nothing
    WriteBytes(File("empty.csv"), "");
    grid->LoadFromCSV(File("empty.csv"));
    EXPECT_EQ(grid->RowCount(), 6);
    QBuffer none;
    none.open(QIODevice::ReadOnly);
    EXPECT_THROW(grid->LoadFromCSVStream(none), Exception);
}

TEST_F(CsvGrid, RefusedInputLeavesTheGridAlone)
{
    Fill({{"keep", "me"}, {"as", "is"}});
    const auto before = Contents();
    struct Case {
        const char* Name;
        QByteArray Bytes;
    };
    QByteArray wide = QByteArray(600, ',');  // more columns than the grid holds
    QByteArray tall;
    for (int i = 0; i < TProStringGrid::MaxLoadRows + 1; ++i) tall += "\n";
    const Case cases[] = {{"too many columns", wide}, {"too many rows", tall}, {"only a mark", "\xEF\xBB\xBF"}};
    for (const Case& c : cases) {
        QBuffer b;
        b.setData(c.Bytes);
        b.open(QIODevice::ReadOnly);
        EXPECT_THROW(grid->LoadFromCSVStream(b), Exception) << c.Name;
        EXPECT_EQ(Contents(), before) << c.Name;
    }
    // binary and wrongly encoded input still loads as text, without harm
    QBuffer bin;
    bin.setData(QByteArray("\xFF\xFE\x00\xD8,\x01\x02\x03\r\n\x00\x00\x80\x81", 14));
    bin.open(QIODevice::ReadOnly);
    grid->LoadFromCSVStream(bin);
    EXPECT_GE(grid->RowCount(), 1);
}

TEST_F(CsvGrid, AnEventThatRaisesLeavesTheGridAbleToPaint)
{
    grid->OnLoadCell = [](TObject*, int, int, QString&) { throw Exception(QStringLiteral("refused")); };
    QBuffer b;
    b.setData("a,b\n");
    b.open(QIODevice::ReadOnly);
    EXPECT_THROW(grid->LoadFromCSVStream(b), Exception);
    EXPECT_EQ(grid->UpdateCount(), 0);
}

TEST_F(CsvGrid, AppendingAddsRowsAndKeepsTheOldBytes)
{
    const QByteArray old = "\xEF\xBB\xBF" "x,\xC3\xA9\r\ny,z";  // no line break at its end
    WriteBytes(File("a.csv"), old);
    Fill({{"1", "\u00fc"}});
    grid->AppendToCSV(File("a.csv"));
    EXPECT_EQ(ReadBytes(File("a.csv")), old + "\r\n1,\xC3\xBC\r\n");
    EXPECT_THROW(grid->AppendToCSV(File("missing.csv")), EInOutError);
    EXPECT_FALSE(QFile::exists(File("missing.csv")));
}

TEST_F(CsvGrid, AFailedSaveKeepsTheOldFile)
{
    Fill({{"new", "data"}});
    struct Case {
        const char* Name;
        std::function<void(const QString&)> Save;
    };
    TIntList widths(0, 0);
    const Case cases[] = {
        {"SaveToCSV", [&](const QString& f) { grid->SaveToCSV(f); }},
        {"AppendToCSV", [&](const QString& f) { grid->AppendToCSV(f); }},
        {"SaveToFile", [&](const QString& f) { grid->SaveToFile(f); }},
        {"SaveToASCII", [&](const QString& f) { grid->SaveToASCII(f); }},
        {"AppendToASCII", [&](const QString& f) { grid->AppendToASCII(f); }},
        {"SaveToFixed", [&](const QString& f) { grid->SaveToFixed(f, &widths); }},
        {"SaveToHTML", [&](const QString& f) { grid->SaveToHTML(f); }},
        {"SaveToXML", [&](const QString& f) { grid->SaveToXML(f, "list", "rec"); }},
    };
    for (const Case& c : cases) {
        WriteBytes(File("old.txt"), "old content\r\n");
        {
            ScopedWriteHook full;
            EXPECT_THROW(c.Save(File("old.txt")), Exception) << c.Name;
        }
        EXPECT_EQ(ReadBytes(File("old.txt")), "old content\r\n") << c.Name;
        EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files), QStringList{"old.txt"}) << c.Name << ": no temporary left";
        // a folder where the file should go
        QDir(Dir.path()).mkdir("folder");
        EXPECT_THROW(c.Save(File("folder")), Exception) << c.Name;
    }
}

namespace {
// Records the progress hooks and whether queued events ran while loading.
class NotifyingGrid : public TProStringGrid {
public:
    using TProStringGrid::TProStringGrid;
    std::vector<int> States;
    void ImportNotification(TGridImportState AState, int ARow) override
    {
        (void)ARow;
        if (States.empty() || States.back() != int(AState)) States.push_back(int(AState));
    }
};
}  // namespace

TEST(CsvLoad, ReportsProgressWithoutRunningEvents)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("p.csv");
    QByteArray text;
    for (int i = 0; i < 50; ++i) text += QByteArray::number(i) + ",x\r\n";
    WriteBytes(file, text);
    auto* g = CreateGrid<NotifyingGrid>();
    bool ran = false, ranDuringLoad = false;
    QTimer::singleShot(0, [&] { ran = true; });
    QMetaObject::invokeMethod(QCoreApplication::instance(), [&] { ran = true; }, Qt::QueuedConnection);
    std::vector<int> progress;
    g->OnFileProgress = [&](TObject*, int16_t p) { progress.push_back(p); };
    g->OnLoadCell = [&](TObject*, int, int, QString&) { ranDuringLoad = ranDuringLoad || ran; };
    g->LoadFromCSV(file);
    EXPECT_FALSE(ranDuringLoad);
    EXPECT_EQ(g->States, (std::vector<int>{0, 1, 2}));
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.back(), 100);
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
    EXPECT_EQ(g->RowCount(), 50);
    g->Free();
}

using CsvShownGrid = ShownGridFixture;

TEST_F(CsvShownGrid, TypedCellsSaveAndLoadIntoAnotherGrid)
{
    CsvShownGrid& s = *this;
    s.G->SetOptions(s.G->Options() + goEditing);
    s.G->SetCol(1);
    s.G->SetRow(1);
    QTest::keyClicks(s.G, QStringLiteral("a,b"));
    ASSERT_NE(s.G->InplaceEditor(), nullptr);
    QTest::keyClick(s.G->InplaceEditor(), Qt::Key_Return);
    QTest::mouseClick(s.V(), Qt::LeftButton, {}, s.In(2, 1));
    QTest::keyClicks(s.G, QStringLiteral("\"q\""));
    QTest::keyClick(s.G->InplaceEditor(), Qt::Key_Return);
    QTemporaryDir dir;
    s.G->SaveToCSV(dir.filePath("typed.csv"));
    EXPECT_TRUE(ReadBytes(dir.filePath("typed.csv")).contains(",\"a,b\",\"\"\"q\"\"\","));
    auto* other = CreateGrid<TProStringGrid>();
    other->LoadFromCSV(dir.filePath("typed.csv"));
    EXPECT_EQ(other->Cells(1, 1), "a,b");
    EXPECT_EQ(other->Cells(2, 1), "\"q\"");
    EXPECT_EQ(other->RowCount(), s.G->RowCount());
    other->Free();
}
