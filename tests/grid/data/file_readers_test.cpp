// The grid's readers of file paths against what is no ordinary file (a FIFO, a device, a
// folder, a file beyond the size cap), and the encodings of text files written without
// Unicode.
#include "grid/base/grid_error.h"
#include "grid/base/int_list.h"
#include "grid/base/pictures.h"
#include "grid/control/grid_unit.h"
#include "grid/control/pro_string_grid.h"
#include "grid/data/text_io.h"
#include "platform/core/exception.h"
#include "platform/ui/canvas.h"
#include "platform/ui/inplace_edit.h"
#include "support/made_grid.h"
#include "support/shown_grid.h"
#include "file_bytes.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <fcntl.h>
#include <functional>
#include <mutex>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {
struct ReaderGrid : MadeGridFixture<TProStringGrid> {
    ReaderGrid() : MadeGridFixture(3, 2) {}
    QTemporaryDir Dir;
    QString File(const char* name) const { return Dir.filePath(QString::fromLatin1(name)); }
    QStringList Contents() const
    {
        QStringList out{QStringLiteral("%1x%2").arg(grid->ColCount()).arg(grid->RowCount())};
        for (int r = 0; r < grid->RowCount(); ++r)
            for (int c = 0; c < grid->ColCount(); ++c) out << grid->Cells(c, r);
        return out;
    }
};

// Should a reader wait in open(2) on a FIFO, a writer comes after a while and hands it a
// line, so the test fails instead of hanging.
class FifoRescue {
public:
    explicit FifoRescue(const QString& path) : FPath(QFile::encodeName(path))
    {
        FThread = std::thread([this] {
            std::unique_lock lock(FMutex);
            if (FDone.wait_for(lock, std::chrono::seconds(5), [this] { return FStop; })) return;
            const int fd = ::open(FPath.constData(), O_WRONLY | O_NONBLOCK);  // ENXIO: nobody waits
            if (fd >= 0) {
                (void)!::write(fd, "blocked,reader\r\n", 16);
                ::close(fd);
            }
        });
    }
    ~FifoRescue()
    {
        {
            std::lock_guard lock(FMutex);
            FStop = true;
        }
        FDone.notify_all();
        FThread.join();
    }

private:
    QByteArray FPath;
    std::mutex FMutex;
    std::condition_variable FDone;
    bool FStop = false;
    std::thread FThread;
};
}  // namespace

TEST_F(ReaderGrid, EveryReaderRefusesWhatIsNoOrdinaryFileAndLeavesTheGridAlone)
{
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 3; ++c) grid->SetCells(c, r, QStringLiteral("k%1%2").arg(c).arg(r));
    const QStringList before = Contents();

    const QString fifo = File("pipe.csv");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString big = File("big.csv");
    WriteBytes(big, "a,b\r\n");
    ASSERT_TRUE(QFile(big).resize(MaxLoadFileSize + 1));  // sparse: nothing is written
    QDir(Dir.path()).mkdir("folder.csv");

    struct Bad {
        const char* Name;
        QString Path;
        const char* Why;
    };
    const Bad bads[] = {
        {"FIFO", fifo, "it is not a regular file"},
        {"endless device", QStringLiteral("/dev/zero"), "it is not a regular file"},
        {"folder", File("folder.csv"), "it is not a regular file"},
        {"beyond the cap", big, "it is larger than "},
    };
    TIntList positions(0, 0);
    struct Reader {
        const char* Name;
        std::function<void(const QString&)> Load;
    };
    const Reader readers[] = {
        {"LoadFromCSV", [&](const QString& f) { grid->LoadFromCSV(f); }},
        {"InsertFromCSV", [&](const QString& f) { grid->InsertFromCSV(f); }},
        {"AppendToCSV", [&](const QString& f) { grid->AppendToCSV(f); }},
        {"AppendToASCII", [&](const QString& f) { grid->AppendToASCII(f); }},
        {"LoadFromFile", [&](const QString& f) { grid->LoadFromFile(f); }},
        {"LoadFromFixed", [&](const QString& f) { grid->LoadFromFixed(f, &positions, false, -1); }},
        {"LoadFromBinFile", [&](const QString& f) { grid->LoadFromBinFile(f); }},
        {"LoadFromXML", [&](const QString& f) { grid->LoadFromXML(f); }},
        {"LoadVisualProps", [&](const QString& f) { grid->LoadVisualProps(f); }},
    };
    positions.Add(1);
    positions.Add(3);
    for (const Reader& reader : readers) {
        for (const Bad& bad : bads) {
            const QString what = QStringLiteral("%1 on a %2").arg(reader.Name, bad.Name);
            QElapsedTimer clock;
            clock.start();
            QString message;
            {
                FifoRescue rescue(fifo);
                try {
                    reader.Load(bad.Path);
                } catch (const EProGridError& e) {
                    message = e.Message();
                } catch (const Exception& e) {
                    message = QStringLiteral("wrong class: ") + e.Message();
                }
            }
            EXPECT_TRUE(message.startsWith(QStringLiteral("Cannot read file ") + bad.Path + QStringLiteral(": ") + bad.Why))
                << qPrintable(what) << ": " << qPrintable(message);
            EXPECT_LT(clock.elapsed(), 4000) << qPrintable(what);
            EXPECT_EQ(Contents(), before) << qPrintable(what);
        }
    }
    // the files are as they were: the appending writers replaced nothing
    EXPECT_TRUE(QFileInfo(fifo).isFile() == false && QFileInfo(fifo).exists());
    EXPECT_EQ(QFileInfo(big).size(), MaxLoadFileSize + 1);
    EXPECT_TRUE(QFileInfo(File("folder.csv")).isDir());
}

TEST_F(ReaderGrid, PicturesAndVersionsOfPathsNeitherWaitNorRunForEver)
{
    const QString fifo = File("pipe.png");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString& path : {fifo, QStringLiteral("/dev/zero"), Dir.path()}) {
        QElapsedTimer clock;
        clock.start();
        {
            FifoRescue rescue(fifo);
            TBitmap bitmap;
            EXPECT_FALSE(bitmap.LoadFromFile(path)) << qPrintable(path);
            THTMLPicture picture;
            picture.LoadFromFile(path);
            EXPECT_TRUE(picture.Empty()) << qPrintable(path);
            EXPECT_EQ(GetFileVersion(path), -1) << qPrintable(path);
        }
        EXPECT_LT(clock.elapsed(), 4000) << qPrintable(path);
    }
}

TEST_F(ReaderGrid, VisualPropsStopAtTheirOwnCap)
{
    const QString file = File("look.ini");
    WriteBytes(file, "Color=clRed\r\n");
    ASSERT_TRUE(QFile(file).resize(2 * 1024 * 1024));
    const TColor color = grid->Color();
    try {
        grid->LoadVisualProps(file);
        ADD_FAILURE() << "a file of 2 MB was read";
    } catch (const EProGridError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Cannot read file ") + file + QStringLiteral(": it is larger than 1 MB"));
    }
    EXPECT_EQ(grid->Color(), color);
    // a missing file keeps its own words
    EXPECT_THROW(grid->LoadVisualProps(File("none.ini")), EInOutError);
    EXPECT_THROW(grid->LoadFromBinFile(File("none.bin")), EProGridError);
    EXPECT_THROW(grid->LoadFromCSV(File("none.csv")), EInOutError);
}

TEST(TextEncoding, BytesWithoutAMarkAreUtf8OnlyWhenValidAndMultiByte)
{
    struct Case {
        const char* Name;
        QByteArray Bytes;
        TTextEncoding Encoding;
        QString Text;
    };
    const Case cases[] = {
        {"ASCII only", "Zoe,1", TTextEncoding::Ansi, QStringLiteral("Zoe,1")},
        {"UTF-8 of another program", "Zo\xC3\xAB", TTextEncoding::Utf8, QStringLiteral("Zo\u00eb")},
        {"four-byte sequence", "a\xF0\x9F\x98\x80", TTextEncoding::Utf8, QString::fromUtf8("a\xF0\x9F\x98\x80")},
        {"cp1252 bytes", "Zo\xEB \x80", TTextEncoding::Ansi, QStringLiteral("Zo\u00eb \u20ac")},
        {"UTF-8 cut at the end", "Zo\xC3\xAB" "a\xE2\x9C", TTextEncoding::Ansi, QStringLiteral("Zo\u00c3\u00aba\u00e2\u0153")},
        {"overlong form", "\xC0\xAF" "x", TTextEncoding::Ansi, QStringLiteral("\u00c0\u00afx")},
        {"encoded surrogate", "\xED\xA0\x80", TTextEncoding::Ansi, QStringLiteral("\u00ed\u00a0\u20ac")},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", TTextEncoding::Ansi, QStringLiteral("\u00f4\u0090\u20ac\u20ac")},
        {"a lone continuation byte", "\xC3\xAB\xAB", TTextEncoding::Ansi, QStringLiteral("\u00c3\u00ab\u00ab")},
        {"UTF-8 mark", "\xEF\xBB\xBFZo\xC3\xAB", TTextEncoding::Utf8, QStringLiteral("Zo\u00eb")},
        {"UTF-16 mark", QByteArray("\xFF\xFEZ\0", 4), TTextEncoding::Utf16LE, QStringLiteral("Z")},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DetectTextEncoding(c.Bytes), c.Encoding) << c.Name;
        EXPECT_EQ(DecodeText(c.Bytes), c.Text) << c.Name;
    }
}

TEST(TextEncoding, AnsiFileTextTurnsUtf8OnlyForWhatTheCodePageLacks)
{
    struct Case {
        const char* Name;
        QString Text;
        QByteArray Bytes;
    };
    const Case cases[] = {
        {"ASCII", QStringLiteral("a,b\r\n"), "a,b\r\n"},
        {"Latin-1 and cp1252", QStringLiteral("caf\u00e9 \u20ac \u0081"), "caf\xE9 \x80 \x81"},
        {"check mark and CJK", QStringLiteral("\u2713 \u65e5\u672c"), "\xEF\xBB\xBF\xE2\x9C\x93 \xE6\x97\xA5\xE6\x9C\xAC"},
        {"C1 control the code page lacks", QStringLiteral("\u0080"), "\xEF\xBB\xBF\xC2\x80"},
        {"code page bytes that read as UTF-8", QStringLiteral("\u00dc\u00a0"), "\xEF\xBB\xBF\xC3\x9C\xC2\xA0"},
        {"code page bytes that start like a mark", QStringLiteral("\u00fe\u00ffa"), "\xEF\xBB\xBF\xC3\xBE\xC3\xBF" "a"},
        {"astral character", QString::fromUtf8("\xF0\x9F\x98\x80"), "\xEF\xBB\xBF\xF0\x9F\x98\x80"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EncodeAnsiFileText(c.Text), c.Bytes) << c.Name;
        EXPECT_EQ(DecodeText(EncodeAnsiFileText(c.Text)), c.Text) << c.Name;
    }
}

TEST_F(ReaderGrid, WritersWithoutUnicodeLoseNoCharacter)
{
    TIntList widths(0, 0);
    widths.Add(8);
    widths.Add(8);
    TIntList positions(0, 0);
    for (int p : {1, 9, 17}) positions.Add(p);
    struct Format {
        const char* Name;
        std::function<void(const QString&)> Save, Load;
        std::function<QString(const QString&)> Text;  // of the file, for the cells t and "x"
    };
    const Format formats[] = {
        {"CSV", [&](const QString& f) { grid->SaveToCSV(f, false); }, [&](const QString& f) { grid->LoadFromCSV(f); },
         [](const QString& t) { return t + QStringLiteral(",x\r\n"); }},
        {"grid text", [&](const QString& f) { grid->SaveToFile(f, false); }, [&](const QString& f) { grid->LoadFromFile(f); },
         [](const QString& t) { return QStringLiteral("2,1\r\ncw 0,64\r\ncw 1,64\r\n0,0,") + t + QStringLiteral("\r\n1,0,x\r\n"); }},
        {"fixed width", [&](const QString& f) { grid->SaveToFixed(f, &widths); },
         [&](const QString& f) { grid->LoadFromFixed(f, &positions, true, -1); },
         [](const QString& t) { return t + QString(8 - t.size(), u' ') + QStringLiteral("x       \r\n"); }},
    };
    struct Text {
        QString Cell;
        bool Utf8;
    };
    const Text texts[] = {
        {QStringLiteral("caf\u00e9 \u20ac"), false},  // the code page holds it: the bytes stay
        {QStringLiteral("\u2713 \u65e5\u672c"), true},  // it does not
        {QStringLiteral("\u00c3\u00a9"), true},          // its code page bytes would read as UTF-8
    };
    QStringEncoder cp1252("windows-1252");
    ASSERT_TRUE(cp1252.isValid());
    for (const Format& f : formats) {
        for (const Text& t : texts) {
            grid->SetColCount(2);
            grid->SetRowCount(1);
            grid->SetColWidths(0, 64);
            grid->SetColWidths(1, 64);
            grid->SetCells(0, 0, t.Cell);
            grid->SetCells(1, 0, "x");
            const QString file = File("t.txt");
            f.Save(file);
            const QString text = f.Text(t.Cell);
            const QByteArray expected = t.Utf8 ? "\xEF\xBB\xBF" + text.toUtf8() : QByteArray(cp1252.encode(text));
            EXPECT_EQ(ReadBytes(file), expected) << f.Name << " " << qPrintable(t.Cell);
            grid->SetCells(0, 0, "old");
            f.Load(file);
            EXPECT_EQ(grid->Cells(0, 0), t.Cell) << f.Name;
            EXPECT_EQ(grid->Cells(1, 0), "x") << f.Name;
        }
    }
    // a CSV file whose first cell starts like a UTF-16 mark in the code page
    grid->SetColCount(2);
    grid->SetCells(0, 0, QStringLiteral("\u00ff\u00fe"));
    grid->SaveToCSV(File("m.csv"), false);
    EXPECT_EQ(ReadBytes(File("m.csv")), "\xEF\xBB\xBF\xC3\xBF\xC3\xBE,x\r\n");
    grid->LoadFromCSV(File("m.csv"));
    EXPECT_EQ(grid->Cells(0, 0), QStringLiteral("\u00ff\u00fe"));
}

TEST_F(ReaderGrid, FilesOfOtherProgramsReadInTheirEncoding)
{
    struct Case {
        const char* Name;
        QByteArray Bytes;
        QString First;
    };
    const Case cases[] = {
        {"UTF-8 without a mark", "Zo\xC3\xAB,1\r\n", QStringLiteral("Zo\u00eb")},
        {"cp1252", "Zo\xEB,1\r\n", QStringLiteral("Zo\u00eb")},
        {"cp1252 that starts like UTF-8", "\xC3\xAB\xAB,1\r\n", QStringLiteral("\u00c3\u00ab\u00ab")},
    };
    for (const Case& c : cases) {
        WriteBytes(File("o.csv"), c.Bytes);
        grid->LoadFromCSV(File("o.csv"));
        EXPECT_EQ(grid->Cells(0, 0), c.First) << c.Name;
        EXPECT_EQ(grid->Cells(1, 0), "1") << c.Name;
    }
}

TEST_F(ReaderGrid, AppendingACharacterTheCodePageLacksTurnsTheWholeFileUtf8)
{
    // the old ANSI bytes, the first rows of the new text in several parts, then the check mark
    const int rows = 3000;
    grid->SetColCount(2);
    grid->SetRowCount(rows);
    for (int r = 0; r < rows; ++r) {
        grid->SetCells(0, r, QStringLiteral("row %1 \u00e9").arg(r));
        grid->SetCells(1, r, QStringLiteral("%1").arg(r * 7));
    }
    grid->SetCells(1, rows - 1, QStringLiteral("\u2713"));
    const QString file = File("a.csv");
    WriteBytes(file, "caf\xE9,\x80");  // no line break at its end
    grid->AppendToCSV(file, false);
    const QByteArray bytes = ReadBytes(file);
    ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF" "caf\xC3\xA9,\xE2\x82\xAC\r\nrow 0 \xC3\xA9,0\r\n"));
    EXPECT_TRUE(bytes.endsWith(QStringLiteral("row %1 \u00e9,\u2713\r\n").arg(rows - 1).toUtf8()));
    EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files), QStringList{"a.csv"}) << "no temporary left";

    auto* other = CreateGrid<TProStringGrid>();
    other->LoadFromCSV(file);
    EXPECT_EQ(other->RowCount(), rows + 1);
    EXPECT_EQ(other->Cells(0, 0), QStringLiteral("caf\u00e9"));
    EXPECT_EQ(other->Cells(1, 0), QStringLiteral("\u20ac"));
    EXPECT_EQ(other->Cells(0, 1500), QStringLiteral("row 1499 \u00e9"));
    EXPECT_EQ(other->Cells(1, rows), QStringLiteral("\u2713"));
    other->Free();

    // a file that is UTF-8 already takes the new rows in UTF-8, without a second mark
    WriteBytes(file, "Zo\xC3\xAB\r\n");
    grid->SetRowCount(1);
    grid->SetCells(0, 0, QStringLiteral("\u00fc"));
    grid->SetCells(1, 0, QStringLiteral("\u65e5"));
    grid->AppendToCSV(file, false);
    EXPECT_EQ(ReadBytes(file), "Zo\xC3\xAB\r\n\xC3\xBC,\xE6\x97\xA5\r\n");
}

using ReaderShownGrid = ShownGridFixture;

namespace {
// Types text of any script as a keyboard of that script would: key events that carry the
// characters (QTest::keyClicks knows ASCII only), each to the widget that has the focus.
void TypeText(QWidget* First, const QString& Text)
{
    for (QChar c : Text) {
        QWidget* to = QApplication::focusWidget() ? QApplication::focusWidget() : First;
        QTest::sendKeyEvent(QTest::Click, to, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}
}  // namespace

TEST_F(ReaderShownGrid, TypedTextTheCodePageLacksSurvivesAnAnsiSave)
{
    G->SetOptions(G->Options() + goEditing + goTabs);
    G->SetCol(1);
    G->SetRow(1);
    TypeText(G, QStringLiteral("\u2713 \u65e5\u672c"));
    ASSERT_NE(G->InplaceEditor(), nullptr);
    QTest::keyClick(G->InplaceEditor(), Qt::Key_Tab);
    TypeText(G, QStringLiteral("Zo\u00eb"));
    QTest::keyClick(G->InplaceEditor(), Qt::Key_Return);
    QTest::mouseClick(V(), Qt::LeftButton, {}, In(3, 1));
    TypeText(G, QStringLiteral("\u65e5"));
    QTest::keyClick(G->InplaceEditor(), Qt::Key_Escape);
    ASSERT_EQ(G->Cells(1, 1), QStringLiteral("\u2713 \u65e5\u672c"));
    ASSERT_EQ(G->Cells(2, 1), QStringLiteral("Zo\u00eb"));
    ASSERT_EQ(G->Cells(3, 1), QString());
    QTemporaryDir dir;
    const QString file = dir.filePath("typed.csv");
    G->SaveToCSV(file, false);
    EXPECT_TRUE(ReadBytes(file).startsWith("\xEF\xBB\xBF"));
    auto* other = CreateGrid<TProStringGrid>();
    other->LoadFromCSV(file);
    EXPECT_EQ(other->Cells(1, 1), QStringLiteral("\u2713 \u65e5\u672c"));
    EXPECT_EQ(other->Cells(2, 1), QStringLiteral("Zo\u00eb"));
    other->Free();
}
