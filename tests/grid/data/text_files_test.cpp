// The grid's own text format (file and stream), ASCII and fixed-width text, and the number
// in a cell.
#include "grid/base/grid_error.h"
#include "grid/control/pro_string_grid.h"
#include "platform/core/exception.h"
#include "support/made_grid.h"
#include "file_bytes.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
QByteArray Utf16(const QString& s)
{
    QByteArray b;
    for (QChar c : s) {
        b.append(char(c.unicode() & 0xFF));
        b.append(char(c.unicode() >> 8));
    }
    return b;
}

struct TextGrid : MadeGridFixture<TProStringGrid> {
    TextGrid() : MadeGridFixture(2, 2) {}
    QTemporaryDir Dir;
    QString File(const char* name) const { return Dir.filePath(QString::fromLatin1(name)); }
    QStringList Contents() const
    {
        QStringList out;
        for (int r = 0; r < grid->RowCount(); ++r)
            for (int c = 0; c < grid->ColCount(); ++c) out << grid->Cells(c, r);
        return out;
    }
};
}  // namespace

TEST_F(TextGrid, FileFormatAndRoundTrip)
{
    grid->SetCells(0, 0, "a,b");
    grid->SetCells(1, 1, "two\r\nlines");
    grid->SetColWidths(1, 80);
    grid->SaveToFile(File("g.txt"));
    EXPECT_EQ(ReadBytes(File("g.txt")), "2,2\r\ncw 0,64\r\ncw 1,80\r\n0,0,a,b\r\n1,1,two\x09\x08lines\r\n");

    struct Case {
        const char* Name;
        bool Unicode, Multiline;
        QString Second;
    };
    const Case cases[] = {
        {"ANSI, multi-line cells", false, true, "two\r\nlines"},
        {"UTF-16, first line only", true, false, "two"},
    };
    for (const Case& c : cases) {
        grid->SetColCount(2);
        grid->SetRowCount(2);
        grid->SetCells(0, 1, "\u00e9\u20ac");
        grid->SaveToFile(File("g.txt"), c.Unicode);
        EXPECT_EQ(ReadBytes(File("g.txt")).startsWith("\xFF\xFE"), c.Unicode) << c.Name;
        auto* other = CreateGrid<TProStringGrid>();
        other->SetMultilinecells(c.Multiline);
        other->LoadFromFile(File("g.txt"));
        EXPECT_EQ(other->ColCount(), 2) << c.Name;
        EXPECT_EQ(other->RowCount(), 2) << c.Name;
        EXPECT_EQ(other->ColWidths(1), 80) << c.Name;
        EXPECT_EQ(other->Cells(0, 0), "a,b") << c.Name;
        EXPECT_EQ(other->Cells(0, 1), "\u00e9\u20ac") << c.Name;
        EXPECT_EQ(other->Cells(1, 1), c.Second) << c.Name;
        other->Free();
    }
}

TEST_F(TextGrid, BadFilesLeaveTheGridUnchanged)
{
    grid->SetCells(1, 1, "keep");
    struct Case {
        const char* Name;
        QByteArray Bytes;
    };
    const Case cases[] = {
        {"no counts", "0,0\r\n0,0,x\r\n"},
        {"huge counts", "2,999999999\r\n0,0,x\r\n"},
        {"too many columns", "100000,2\r\n"},
        {"binary", QByteArray("\x00\x01\x02\xff\xfe", 5)},
    };
    for (const Case& c : cases) {
        WriteBytes(File("bad.txt"), c.Bytes);
        EXPECT_THROW(grid->LoadFromFile(File("bad.txt")), EProGridError) << c.Name;
        EXPECT_EQ(Contents(), (QStringList{"", "", "", "keep"})) << c.Name;
    }
    // cells outside the counts are skipped, widths kept within a screen's reach
    WriteBytes(File("out.txt"), "2,2\r\ncw 1,2147483647\r\n5,0,far\r\n0,9,deep\r\n1,0,in\r\n");
    grid->LoadFromFile(File("out.txt"));
    EXPECT_EQ(grid->ColWidths(1), 32767);
    EXPECT_EQ(grid->Cells(1, 0), "in");
    EXPECT_EQ(grid->ColCount(), 2);
    EXPECT_THROW(grid->LoadFromFile(File("missing.txt")), EInOutError);
}

TEST_F(TextGrid, StreamStopsAtDataThatFollowsAndRefusesBadNumbers)
{
    grid->SetCells(1, 0, "x");
    grid->SetCells(0, 1, "multi\r\nline");
    QBuffer b;
    b.open(QIODevice::ReadWrite);
    grid->SaveToStream(b);
    const qint64 end = b.pos();
    b.write(Utf16("tail without commas\r\n"));
    b.seek(0);
    auto* other = CreateGrid<TProStringGrid>();
    other->SetColCount(5);
    other->LoadFromStream(b);
    EXPECT_EQ(b.pos(), end);
    EXPECT_EQ(other->ColCount(), 2);
    EXPECT_EQ(other->Cells(1, 0), "x");
    EXPECT_EQ(other->Cells(0, 1), "multi\r\nline");

    struct Case {
        const char* Name;
        QString Text;
    };
    const Case cases[] = {
        {"column that is no number", "2,2\r\na,1,x\r\n"},
        {"width that is no number", "2,2\r\ncw 0,wide\r\n"},
        {"count that is no number", "two,2\r\n"},
        {"huge count", "2,999999999\r\n"},
    };
    for (const Case& c : cases) {
        QBuffer bad;
        bad.setData(Utf16(c.Text));
        bad.open(QIODevice::ReadOnly);
        EXPECT_THROW(other->LoadFromStream(bad), Exception) << c.Name;
        EXPECT_EQ(other->ColCount(), 2) << c.Name;
        EXPECT_EQ(other->Cells(1, 0), "x") << c.Name;
    }
    other->Free();
}

TEST_F(TextGrid, AsciiAlignsColumnsAndContinuesLines)
{
    grid->SetColCount(3);
    grid->SetCells(0, 0, "left");
    grid->SetCells(1, 0, "r");
    grid->SetCells(2, 0, "c");
    grid->SetCells(0, 1, "ab");
    grid->SetCells(1, 1, "right");
    grid->SetCells(2, 1, "mid\r\nx");
    grid->OnGetAlignment = [](TObject*, int, int ACol, TAlignment& H, TVAlignment&) {
        if (ACol == 1) H = taRightJustify;
        if (ACol == 2) H = taCenter;
    };
    grid->SaveToASCII(File("a.txt"));
    // widths 4, 5 and 3; each column padded to width + 1
    EXPECT_EQ(ReadBytes(File("a.txt")), "left     r  c  \r\n"
                                        "ab   right mid \r\n");
    grid->SetMultilinecells(true);
    grid->AppendToASCII(File("a.txt"));
    EXPECT_EQ(ReadBytes(File("a.txt")), "left     r  c  \r\n"
                                        "ab   right mid \r\n"
                                        "left     r  c  \r\n"
                                        "ab   right mid \r\n"
                                        "            x \r\n");
}

TEST_F(TextGrid, FixedWidthSavesAndLoads)
{
    grid->SetColCount(2);
    grid->SetCells(0, 0, "abcdef");
    grid->SetCells(1, 0, "x");
    grid->SetCells(0, 1, "g");
    grid->SetCells(1, 1, "hij");
    TIntList widths(0, 0);
    widths.Add(4);
    grid->SaveToFixed(File("f.txt"), &widths);
    ASSERT_EQ(widths.Count(), 2);
    EXPECT_EQ(widths[1], 4);  // longest text + 1
    EXPECT_EQ(ReadBytes(File("f.txt")), "abcdx   \r\ng   hij \r\n");

    WriteBytes(File("in.txt"), "1234 6789 \r\nab   cd\r\nlast line\r\n");
    auto* other = CreateGrid<TProStringGrid>();
    other->SetFixedCols(0);
    other->SetFixedRows(0);
    other->SetRowCount(1);
    TIntList positions(0, 0);
    for (int p : {10, 1, 5}) positions.Add(p);
    other->LoadFromFixed(File("in.txt"), &positions, true, 2);
    EXPECT_EQ(positions[0], 1);
    EXPECT_EQ(positions[2], 10);
    EXPECT_EQ(other->ColCount(), 2);
    EXPECT_EQ(other->Cells(0, 0), "1234");
    EXPECT_EQ(other->Cells(1, 0), "6789");
    EXPECT_EQ(other->Cells(1, 1), "cd");
    EXPECT_EQ(other->RowCount(), 2);
    EXPECT_THROW(other->LoadFromFixed(File("none.txt"), &positions), EProGridError);
    other->Free();
}

TEST_F(TextGrid, CellToReal)
{
    grid->SetCells(1, 1, "(1,234.50)");
    EXPECT_DOUBLE_EQ(grid->CellToReal(0, 0), 0);
    EXPECT_DOUBLE_EQ(grid->CellToReal(1, 1), -1234.5);
    grid->SetCells(1, 0, "1.2.3");
    try {
        grid->CellToReal(1, 0);
        ADD_FAILURE() << "no error";
    } catch (const EProGridError& e) {
        EXPECT_EQ(e.Message(), "Error at position: 4 in Cell [1, 0].");
    }
}
