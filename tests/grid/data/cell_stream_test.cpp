// The grid cell stream: grid -> stream -> grid round trips of texts, properties, merges and
// pictures; placing a rectangle at another point; streams that are truncated, binary or claim
// huge counts leave the grid as it was; what is never written or read.
#include "grid/control/pro_string_grid.h"
#include "grid/data/cell_stream.h"
#include "support/made_grid.h"

#include <QBuffer>
#include <QDir>
#include <QTemporaryDir>
#include <functional>
#include <random>

namespace {

QString U(const char* s) { return QString::fromUtf8(s); }

// Records of a stream made by hand, as another program may write them.
void Header(TComponentWriter& w, int Cols, int Rows, bool Full, qint64 ID, const char* Widths = "",
            const char* Heights = "")
{
    w.Begin(U("TGridPropIO"));
    w.Int("ColCount", Cols);
    w.Int("RowCount", Rows);
    w.String("ColWidths", U(Widths));
    w.String("RowHeights", U(Heights));
    w.Bool("FullGrid", Full);
    w.Int("ID", ID);
    w.End();
}

void CellRecord(TComponentWriter& w, int Col, int Row, const char* Text, bool HasProp)
{
    w.Begin(U("TGridCellIO"));
    w.Int("Col", Col);
    w.Int("Row", Row);
    w.String("Cell", U(Text));
    w.Bool("HasProp", HasProp);
    w.End();
}

struct CellStreamFixture : MadeGridFixture<TProStringGrid> {
    CellStreamFixture() : MadeGridFixture(5, 6) {}
    void SetUp() override
    {
        MadeGridFixture::SetUp();
        other = CreateGrid<TProStringGrid>();
        other->SetColCount(3);
        other->SetRowCount(3);
    }
    void TearDown() override
    {
        other->Free();
        MadeGridFixture::TearDown();
    }
    QByteArray Stream(TProStringGrid* g, TRect r)
    {
        QBuffer b;
        b.open(QIODevice::WriteOnly);
        g->SaveRectToBinStream(r, b);
        return b.data();
    }
    QByteArray Whole(TProStringGrid* g)
    {
        QBuffer b;
        b.open(QIODevice::WriteOnly);
        g->SaveToBinStream(b);
        return b.data();
    }
    static void Load(TProStringGrid* g, const QByteArray& data, TPoint at = {0, 0})
    {
        QBuffer b;
        b.setData(data);
        b.open(QIODevice::ReadOnly);
        g->LoadAtPointFromBinStream(at, b);
    }
    // Every text of a grid with its size, to compare before and after.
    static QStringList Snapshot(TProStringGrid* g)
    {
        QStringList s{QString::number(g->ColCount()), QString::number(g->RowCount())};
        for (int r = 0; r < g->RowCount(); ++r)
            for (int c = 0; c < g->ColCount(); ++c) s << g->Cells(c, r);
        return s;
    }
    TProStringGrid* other = nullptr;
};

TEST_F(CellStreamFixture, TextsComeBackWholeInAnotherGrid)
{
    const QStringList texts{U("plain"),        U("sep,;\t|"),     U("two\r\nlines"), U("\"quoted\""),
                            U("äöü ß € 中文"),  U("<b>bold</b>"),  QString(300, QLatin1Char('x')),
                            U("")};
    for (int i = 0; i < texts.size(); ++i) grid->SetCells(i % 5, i / 5, texts[i]);
    grid->SetColWidths(2, 91);
    grid->SetRowHeights(1, 33);
    Load(other, Whole(grid));
    EXPECT_EQ(other->ColCount(), 5);
    EXPECT_EQ(other->RowCount(), 6);
    for (int i = 0; i < texts.size(); ++i) EXPECT_EQ(other->Cells(i % 5, i / 5), texts[i]) << i;
    EXPECT_EQ(other->ColWidths(2), 91);
    EXPECT_EQ(other->RowHeights(1), 33);
}

TEST_F(CellStreamFixture, PropertiesMergesCheckBoxesAndPicturesComeBack)
{
    grid->SetColors(1, 1, 0x00FF00);
    grid->SetFontColors(1, 1, 0x0000FF);
    grid->SetFontStyles(1, 1, TFontStyles{fsBold, fsItalic});
    grid->GetCellProperties(2, 1)->SetAlignment(taCenter);
    grid->GetCellProperties(2, 1)->SetFontName(U("Liberation Sans"));
    grid->MergeCells(1, 3, 2, 2);
    grid->SetCells(1, 3, U("merged"));
    grid->AddCheckBox(4, 1, true, false);
    TBitmap* bmp = grid->CreateBitmap(3, 1, false, haLeft, vaTop);
    QImage img(4, 3, QImage::Format_RGB32);
    img.fill(QColor(10, 20, 30));
    bmp->LoadFromImage(img);

    // Kinds that keep plain numbers where others keep an object.
    grid->AddProgress(0, 4, 0xFF, 0xFFFFFF);
    grid->AddProgress(0, 5, 0xFF00, 0xFFFFFF);
    grid->SetCells(0, 4, U("40"));
    grid->SetCells(0, 5, U("0"));

    Load(other, Whole(grid));
    EXPECT_EQ(other->GetCellType(0, 4), ctProgress);
    EXPECT_EQ(other->GetCellType(0, 5), ctProgress);
    EXPECT_EQ(other->Cells(0, 4), U("40"));
    EXPECT_EQ(other->Cells(0, 5), U("0"));
    TCellProperties* p = other->GetCellProperties(1, 1);
    EXPECT_EQ(p->BrushColor(), TColor(0x00FF00));
    EXPECT_EQ(p->FontColor(), TColor(0x0000FF));
    EXPECT_TRUE(p->FontStyle().Contains(fsBold) && p->FontStyle().Contains(fsItalic));
    EXPECT_EQ(other->GetCellProperties(2, 1)->Alignment(), taCenter);
    EXPECT_EQ(other->GetCellProperties(2, 1)->FontName(), U("Liberation Sans"));
    EXPECT_EQ(other->CellSpan(1, 3), (TPoint{1, 1}));
    EXPECT_EQ(other->Cells(2, 4), U("merged"));
    bool checked = false;
    EXPECT_TRUE(other->HasCheckBox(4, 1));
    other->GetCheckBoxState(4, 1, checked);
    EXPECT_TRUE(checked);
    ASSERT_TRUE(other->HasBitmap(3, 1));
    EXPECT_EQ(other->GetBitmap(3, 1)->Image().pixelColor(2, 2), QColor(10, 20, 30));
}

TEST_F(CellStreamFixture, ARectangleLandsAtThePointAndLeavesTheSizeAlone)
{
    for (int r = 3; r <= 5; ++r)
        for (int c = 2; c <= 4; ++c) grid->SetCells(c, r, QStringLiteral("%1/%2").arg(c).arg(r));
    other->SetColCount(6);
    other->SetRowCount(7);
    Load(other, Stream(grid, TRect{2, 3, 4, 5}), {0, 1});
    EXPECT_EQ(other->ColCount(), 6);
    EXPECT_EQ(other->RowCount(), 7);
    EXPECT_EQ(other->Cells(0, 1), U("2/3"));
    EXPECT_EQ(other->Cells(2, 3), U("4/5"));
    EXPECT_EQ(other->Cells(3, 3), U(""));
    EXPECT_EQ(other->Cells(0, 0), U(""));
}

TEST_F(CellStreamFixture, BadStreamsRaiseAndChangeNothing)
{
    for (int c = 0; c < 5; ++c) grid->SetCells(c, 2, QStringLiteral("v%1").arg(c));
    const QByteArray good = Whole(grid);
    other->SetCells(1, 1, U("keep"));
    const QStringList before = Snapshot(other);

    // Every cut of a full-grid stream: the grid is not cleared or resized on a stream it
    // cannot read whole.
    for (qsizetype n = 0; n < good.size(); n += 7) {
        const QByteArray cut = good.left(n);
        try {
            Load(other, cut);
            ADD_FAILURE() << "a stream cut at " << n << " loaded";
        } catch (const Exception&) {
        }
        ASSERT_EQ(Snapshot(other), before) << "cut at " << n;
    }
    // Random bytes, and random bytes behind a valid signature.
    std::mt19937 rnd(7);
    for (int i = 0; i < 200; ++i) {
        QByteArray junk(int(rnd() % 300), '\0');
        for (char& ch : junk) ch = char(rnd());
        if (i % 2) junk.prepend("TPF0");
        try {
            Load(other, junk);
        } catch (const Exception&) {
        }
        ASSERT_EQ(Snapshot(other), before) << i;
    }
}

TEST_F(CellStreamFixture, HeaderCountsTheCellsDoNotCarryAreRefused)
{
    struct Case {
        const char* name;
        int cols, rows;
        bool full;
        const char* widths;
    } cases[] = {
        {"full grid far larger than its cells", 60000, 60000, true, ""},
        {"full grid one cell short", 2, 2, true, ""},
        {"beyond 16 bits", 70000, 1, false, ""},
        {"width list not a number", 1, 1, true, "12,abc"},
    };
    other->SetCells(0, 0, U("keep"));
    const QStringList before = Snapshot(other);
    for (const Case& c : cases) {
        QByteArray data;
        TComponentWriter w(data);
        Header(w, c.cols, c.rows, c.full, 1, c.widths);
        for (int i = 0; i < 3; ++i) CellRecord(w, i, 0, "x", false);
        EXPECT_THROW(Load(other, data), Exception) << c.name;
        EXPECT_EQ(Snapshot(other), before) << c.name;
    }
}

TEST_F(CellStreamFixture, CellRecordsOfOtherWritersAreReadByName)
{
    // A cell record as another writer may lay it out; each loads into a 2 x 1 grid, whose
    // second cell keeps "keep" unless the record is refused, and then nothing changes.
    struct Case {
        const char* name;
        std::function<void(TComponentWriter&)> record;
        const char* expected;  // the text of cell (0, 0), or nullptr: the stream is refused
    } cases[] = {
        {"properties in another order",
         [](TComponentWriter& w) {
             w.Begin(U("TGridCellIO"));
             w.Bool("HasProp", false);
             w.String("Cell", U("t"));
             w.Int("Row", 0);
             w.Int("Col", 0);
             w.End();
         },
         "t"},
        {"the first of a repeated property counts",
         [](TComponentWriter& w) {
             w.Begin(U("TGridCellIO"));
             w.String("Cell", U("first"));
             w.String("Cell", U("second"));
             w.End();
         },
         "first"},
        {"unknown properties are passed over",
         [](TComponentWriter& w) {
             w.Begin(U("TGridCellIO"));
             w.Int("Colour", 5);
             w.String("Cell", U("\u00e9\u6f22"));
             w.End();
         },
         "\u00e9\u6f22"},
        {"no properties: an empty first cell",
         [](TComponentWriter& w) {
             w.Begin(U("TGridCellIO"));
             w.End();
         },
         ""},
        {"a text where a number belongs",
         [](TComponentWriter& w) {
             w.Begin(U("TGridCellIO"));
             w.String("Col", U("0"));
             w.End();
         },
         nullptr},
        {"a column beyond 16 bits",
         [](TComponentWriter& w) {
             w.Begin(U("TGridCellIO"));
             w.Int("Col", 70000);
             w.End();
         },
         nullptr},
        {"a number where the text belongs",
         [](TComponentWriter& w) {
             w.Begin(U("TGridCellIO"));
             w.Int("Cell", 3);
             w.End();
         },
         nullptr},
        {"another record's class",
         [](TComponentWriter& w) {
             w.Begin(U("TGridCellPropIO"));
             w.String("Cell", U("t"));
             w.End();
         },
         nullptr},
    };
    for (const Case& c : cases) {
        other->SetColCount(2);
        other->SetRowCount(1);
        other->SetFixedCols(0);
        other->SetFixedRows(0);
        other->SetCells(0, 0, U("old"));
        other->SetCells(1, 0, U("keep"));
        const QStringList before = Snapshot(other);
        QByteArray data;
        TComponentWriter w(data);
        Header(w, 1, 1, false, 1);
        c.record(w);
        if (!c.expected) {
            EXPECT_THROW(Load(other, data), Exception) << c.name;
            EXPECT_EQ(Snapshot(other), before) << c.name;
            continue;
        }
        Load(other, data);
        EXPECT_EQ(other->Cells(0, 0), U(c.expected)) << c.name;
        EXPECT_EQ(other->Cells(1, 0), U("keep")) << c.name;
    }
}

TEST_F(CellStreamFixture, ShortWidthListsAreReadAsFarAsTheyGo)
{
    QByteArray data;
    TComponentWriter w(data);
    Header(w, 3, 1, true, 1, "40", "30,31,32,33,34");
    for (int i = 0; i < 3; ++i) CellRecord(w, i, 0, "", false);
    Load(other, data);
    EXPECT_EQ(other->ColCount(), 3);
    EXPECT_EQ(other->RowCount(), 1);
    EXPECT_EQ(other->ColWidths(0), 40);
    EXPECT_EQ(other->RowHeights(0), 30);
}

TEST_F(CellStreamFixture, ObjectReferencesAreNeverWrittenNorRead)
{
    grid->GetCellProperties(1, 1)->SetCellObject(0x1234);
    const QByteArray data = Whole(grid);
    EXPECT_FALSE(data.contains("CellObject"));
    EXPECT_FALSE(data.contains("Control"));

    // A stream of another program that carries them: read as nothing.
    QByteArray foreign;
    TComponentWriter w(foreign);
    Header(w, 1, 1, false, 99);
    CellRecord(w, 0, 0, "t", true);
    w.Begin(U("TGridCellPropIO"));
    w.Int("CellProperties.CellObject", 0x7fff1234);
    w.Ident("CellProperties.Control", U("Button1"));
    w.Int("CellProperties.BrushColor", 0xFF);
    w.Bool("HasGraphic", false);
    w.End();
    Load(other, foreign, {1, 1});
    EXPECT_EQ(other->Cells(1, 1), U("t"));
    EXPECT_EQ(other->GetCellProperties(1, 1)->CellObject(), 0u);
    EXPECT_EQ(other->GetCellProperties(1, 1)->Control(), nullptr);
    EXPECT_EQ(other->GetCellProperties(1, 1)->BrushColor(), TColor(0xFF));
}

TEST_F(CellStreamFixture, RowsBeyondSixteenBitsRaiseInsteadOfWrapping)
{
    grid->SetRowCount(65540);
    grid->SetCells(0, 65537, U("far"));
    QBuffer b;
    b.open(QIODevice::WriteOnly);
    EXPECT_THROW(grid->SaveToBinStream(b), EProGridError);
    EXPECT_TRUE(b.data().isEmpty());
}

TEST_F(CellStreamFixture, FilePicturesOpenOnlyFromStreamsOfThisProgram)
{
    auto stream = [](qint64 id) {
        QByteArray data;
        TComponentWriter w(data);
        Header(w, 1, 1, false, id);
        CellRecord(w, 0, 0, "", true);
        w.Begin(U("TGridCellPropIO"));
        w.Bool("HasGraphic", true);
        w.End();
        w.Begin(U("TGridGraphicIO"));
        w.Ident("CellGraphic.CellType", U("ctFilePicture"));
        w.End();
        w.Begin(U("TGridFilePicIO"));
        w.String("Picture.Filename", U("/dev/zero"));
        w.End();
        return data;
    };
    qint64 foreign = 12345;
    while (TProStringGrid::IsOwnStreamID(foreign)) ++foreign;
    Load(other, stream(foreign), {1, 1});
    EXPECT_EQ(other->GetFilePicture(1, 1), nullptr);
    Load(other, stream(grid->GridStreamID()), {1, 1});
    ASSERT_NE(other->GetFilePicture(1, 1), nullptr);
    EXPECT_EQ(other->GetFilePicture(1, 1)->Filename(), U("/dev/zero"));
}

TEST_F(CellStreamFixture, BinaryFilesRoundTripAndAFailedWriteKeepsTheOldFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(U("grid.bin"));
    grid->SetCells(2, 2, U("saved"));
    grid->SaveToBinFile(path);
    other->LoadFromBinFile(path);
    EXPECT_EQ(other->Cells(2, 2), U("saved"));
    EXPECT_EQ(other->RowCount(), 6);

    QDir(dir.path()).mkdir(U("folder"));
    EXPECT_THROW(grid->SaveToBinFile(dir.filePath(U("folder"))), EProGridError);
    EXPECT_THROW(other->LoadFromBinFile(dir.filePath(U("missing.bin"))), EProGridError);
}
}  // namespace
