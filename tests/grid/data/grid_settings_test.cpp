// Column widths, positions and states kept in INI files, the registry stand-in and a text;
// hand-written files with bad values change nothing.
#include "grid/control/grid_services.h"
#include "grid/control/pro_string_grid.h"
#include "grid/data/mem_ini_file.h"
#include "platform/core/exception.h"
#include "platform/core/registry.h"
#include "support/made_grid.h"
#include "support/shown_grid.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>
#include <memory>

namespace {

void WriteFile(const QString& name, const QByteArray& bytes)
{
    QFile f(name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray ReadFile(const QString& name)
{
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A grid of 5 columns whose header cells name them, the registry playing in a file of the test.
struct SettingsGrid : MadeGridFixture<TProStringGrid> {
    SettingsGrid() : MadeGridFixture(5, 3) {}
    QTemporaryDir Dir;
    std::unique_ptr<QSettings> Registry;
    void SetUp() override
    {
        MadeGridFixture::SetUp();
        Registry = std::make_unique<QSettings>(Dir.filePath("registry.ini"), QSettings::IniFormat);
        SetRegistryStore(Registry.get());
        Name(grid);
    }
    void TearDown() override
    {
        SetRegistryStore(nullptr);
        MadeGridFixture::TearDown();
    }
    QString Ini() const { return Dir.filePath("grid.ini"); }
    static void Name(TProStringGrid* g)
    {
        for (int c = 0; c < g->TotalColCount(); ++c) g->SetCells(c, 0, QStringLiteral("H%1").arg(c));
    }
    void Place(TProStringGrid* g, TColumnSizeLocation loc) const
    {
        g->ColumnSize()->SetLocation(loc);
        g->ColumnSize()->SetKey(loc == clIniFile ? Ini() : QStringLiteral("Software\\Fabricat\\Test"));
        g->ColumnSize()->SetSection(QStringLiteral("Cols"));
    }
    // The headers of the shown columns, and the widths.
    static QString Headers(TProStringGrid* g)
    {
        QStringList h;
        for (int c = 0; c < g->ColCount(); ++c) h << g->Cells(g->RealColIndex(c), 0);
        return h.join(' ');
    }
    static std::vector<int> Widths(TProStringGrid* g)
    {
        std::vector<int> w;
        for (int c = 0; c < g->ColCount(); ++c) w.push_back(g->ColWidths(c));
        return w;
    }
    // A grid of the same make as the fixture's, to load into.
    struct Fresh {
        Fresh() : G(CreateGrid<TProStringGrid>())
        {
            G->SetColCount(5);
            G->SetRowCount(3);
            Name(G);
        }
        ~Fresh() { G->Free(); }
        TProStringGrid* G;
    };
};

}  // namespace

TEST_F(SettingsGrid, WidthsAndPositionsRoundTripInEveryPlace)
{
    for (TColumnSizeLocation loc : {clIniFile, clRegistry}) {
        SCOPED_TRACE(int(loc));
        Fresh a;
        Place(a.G, loc);
        a.G->SetColWidths(1, 30);
        a.G->SetColWidths(3, 90);
        a.G->MoveColumn(1, 3);   // H0 H2 H3 H1 H4
        a.G->HideColumn(4);
        const std::vector<int> widths = Widths(a.G);
        a.G->SaveColSizes();
        a.G->SaveColPositions();

        Fresh b;
        Place(b.G, loc);
        b.G->LoadColPositions();
        b.G->HideColumn(4);
        b.G->LoadColSizes();
        EXPECT_EQ(Headers(b.G), QStringLiteral("H0 H2 H3 H1"));
        EXPECT_EQ(Widths(b.G), widths);
        EXPECT_EQ(b.G->ColumnAtPosition(1), 2);
    }
    // The INI file holds the names the settings are kept under.
    const QByteArray ini = ReadFile(Ini());
    for (const char* line : {"[Cols]", "Col1=64", "Col2=90", "Col3=30", "Pos0=0", "Pos1=2", "Pos3=1"})
        EXPECT_TRUE(ini.contains(line)) << line;
}

TEST_F(SettingsGrid, HiddenColumnsStayHiddenWhereverTheyMove)
{
    Place(grid, clIniFile);
    WriteFile(Ini(), "[Cols]\r\nPos0=4\r\nPos1=3\r\nPos2=2\r\nPos3=1\r\nPos4=0\r\n");
    grid->HideColumn(1);   // H1
    grid->LoadColPositions();
    EXPECT_EQ(Headers(grid), QStringLiteral("H4 H3 H2 H0"));
    EXPECT_EQ(grid->NumHiddenColumns(), 1);
}

TEST_F(SettingsGrid, HandWrittenColumnFilesWithBadValuesChangeNothing)
{
    Place(grid, clIniFile);
    const std::vector<int> before = Widths(grid);
    const struct {
        const char* text;
    } cases[] = {
        {"[Cols]\nPos0=1\nPos1=0\n"},                              // too short
        {"[Cols]\nPos0=1\nPos1=0\nPos2=2\nPos3=3\nPos4=9\n"},      // out of range
        {"[Cols]\nPos0=1\nPos1=1\nPos2=2\nPos3=3\nPos4=4\n"},      // not a permutation
        {"[Cols]\nPos0=-7\nPos1=0\nPos2=2\nPos3=3\nPos4=4\n"},
        {"[Cols]\nPos0=1\nPos1=x\nPos2=2\nPos3=3\nPos4=0\n"},      // not a number
        {"[Other]\nPos0=1\nPos1=0\nPos2=2\nPos3=3\nPos4=4\n"},     // no Pos0 in the section
        {"[Cols]\nCol0=abc\nCol1=-5\nCol2=99999999\nCol3= 1 2\nCol4=\n"},
        {"\xff\xfe\x00[\x00C\x00o\x00l\x00s\x00]\x00\n\x00"},   // UTF-16, not ours
        {"[Cols\nPos0=4\n\x01\x02\x03=\n==\n[]\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        WriteFile(Ini(), QByteArray(c.text));
        grid->LoadColPositions();
        grid->LoadColSizes();
        EXPECT_EQ(Headers(grid), QStringLiteral("H0 H1 H2 H3 H4"));
        EXPECT_EQ(Widths(grid), before);
    }
    // A valid line among bad ones still applies.
    WriteFile(Ini(), "; widths\n[cols]\ncol0=bad\nCOL2=40\n");
    grid->LoadColSizes();
    EXPECT_EQ(grid->ColWidths(2), 40);
    EXPECT_EQ(grid->ColWidths(0), before[0]);
    // Lines the grid does not own survive the write-back.
    grid->SaveColSizes();
    const QByteArray kept = ReadFile(Ini());
    EXPECT_TRUE(kept.startsWith("; widths\r\n[cols]\r\ncol0=")) << kept.constData();
    EXPECT_TRUE(kept.contains("col0=64")) << kept.constData();
}

TEST_F(SettingsGrid, NothingIsStoredWithoutKeyOrSection)
{
    grid->ColumnSize()->SetLocation(clIniFile);
    grid->ColumnSize()->SetKey(Ini());
    grid->SaveColSizes();
    grid->SaveColPositions();
    EXPECT_FALSE(QFile::exists(Ini()));
}

TEST_F(SettingsGrid, AFailedSaveKeepsTheOldFileAndSaysSo)
{
    Place(grid, clIniFile);
    grid->ColumnSize()->SetKey(Dir.filePath("missing/grid.ini"));
    EXPECT_THROW(grid->SaveColSizes(), EInOutError);
    {
        // a grid freed with Save set saves its widths on the way out, failing quietly
        Fresh saving;
        Place(saving.G, clIniFile);
        saving.G->ColumnSize()->SetKey(Dir.filePath("missing/grid.ini"));
        saving.G->ColumnSize()->SetSave(true);
    }
    {
        Fresh saving;
        Place(saving.G, clIniFile);
        saving.G->SetColWidths(2, 21);
        saving.G->ColumnSize()->SetSave(true);
    }
    EXPECT_TRUE(ReadFile(Ini()).contains("Col2=21"));
    // a file too large to be read whole is never overwritten
    Place(grid, clIniFile);
    WriteFile(Ini(), QByteArray(TMemIniFile::MaxFileSize + 1, 'x'));
    EXPECT_THROW(grid->SaveColSizes(), EInOutError);
    grid->LoadColSizes();
    EXPECT_EQ(QFile(Ini()).size(), TMemIniFile::MaxFileSize + 1);
}

// ---- column states text ----------------------------------------------------------------------

TEST_F(SettingsGrid, ColumnStatesTextHoldsCountWidthsOrderAndVisibility)
{
    for (int c = 0; c < 5; ++c) grid->SetColWidths(c, 40 + c);
    grid->MoveColumn(0, 1);   // H1 H0 H2 H3 H4
    grid->HideColumn(2);
    const QString text = grid->ColumnStatesToString();
    const QStringList f = text.split('#');
    ASSERT_EQ(f.size(), 4);
    EXPECT_EQ(f[0], QStringLiteral("5"));
    EXPECT_EQ(f[1].split(',').size(), 5);
    EXPECT_TRUE(f[1].startsWith(QStringLiteral("41,40,43,44,"))) << f[1].toStdString();
    EXPECT_EQ(f[2], QStringLiteral("1,0,2,3,4"));
    EXPECT_EQ(f[3], QStringLiteral("1,1,0,1,1"));

    Fresh b;
    b.G->StringToColumnStates(text);
    EXPECT_EQ(Headers(b.G), QStringLiteral("H1 H0 H3 H4"));
    EXPECT_EQ(Widths(b.G), (std::vector<int>{41, 40, 43, 44}));
    EXPECT_EQ(b.G->NumHiddenColumns(), 1);
    EXPECT_EQ(b.G->ColumnStatesToString(), text);
    // a text without "#" is ignored
    b.G->StringToColumnStates(QStringLiteral("5,1,2"));
    EXPECT_EQ(b.G->ColumnStatesToString(), text);
}

TEST_F(SettingsGrid, MalformedColumnStatesRaiseBeforeAnythingChanges)
{
    grid->SetColWidths(2, 33);
    const QString before = grid->ColumnStatesToString();
    const char* cases[] = {
        "5#1,2,3,4,5",                                   // fields missing
        "x#64,64,64,64,64#0,1,2,3,4#1,1,1,1,1",
        "2147483647#64#0#1",                            // unbounded count
        "-3#64#0#1",
        "0###",
        "5#64,64,abc,64,64#0,1,2,3,4#1,1,1,1,1",
        "5#64,64,-1,64,64#0,1,2,3,4#1,1,1,1,1",
        "5#64,64#0,1,2,3,4#1,1,1,1,1",                  // too few widths
        "5#64,64,64,64,64#0,1,2,3#1,1,1,1,1",           // order too short
        "5#64,64,64,64,64#0,1,1,3,4#1,1,1,1,1",         // not a permutation
        "5#64,64,64,64,64#0,1,2,3,77#1,1,1,1,1",
        "5#64,64,64,64,64#0,1,2,3,4#1,1,1",             // visibility too short
        "5#64,64,64,64,64#0,1,2,3,4#1,1,2,1,1",
    };
    for (const char* c : cases) {
        SCOPED_TRACE(c);
        EXPECT_THROW(grid->StringToColumnStates(QString::fromLatin1(c)), EConvertError);
        EXPECT_EQ(grid->ColumnStatesToString(), before);
    }
    // An empty order field keeps the initial order; -1 entries are skipped.
    grid->StringToColumnStates(QStringLiteral("4#10,20,30,40##1,1,1,1"));
    EXPECT_EQ(Headers(grid), QStringLiteral("H0 H1 H2 H3"));
    EXPECT_EQ(Widths(grid), (std::vector<int>{10, 20, 30, 40}));
    grid->StringToColumnStates(QStringLiteral("4#10,20,30,40#-1,3,2,-1,1,0#1,1,1,1"));
    EXPECT_EQ(Headers(grid), QStringLiteral("H3 H2 H1 H0"));
}

// ---- a shown grid ----------------------------------------------------------------------------

namespace {
struct ShownSettings : ShownGridFixture {
    QTemporaryDir Dir;
    void Keep(TProStringGrid* g) const
    {
        g->ColumnSize()->SetLocation(clIniFile);
        g->ColumnSize()->SetKey(Dir.filePath("shown.ini"));
        g->ColumnSize()->SetSection(QStringLiteral("Grid"));
    }
};
}  // namespace

TEST_F(ShownSettings, ColumnWidthsAndOrderSizedAndMovedByMouseSurviveSaveAndLoad)
{
    for (int c = 0; c < 5; ++c) G->SetCells(c, 0, QStringLiteral("H%1").arg(c));
    G->SetOptions(G->Options() + goColSizing + goColMoving);
    Keep(G);
    // widen column 1 by its right edge, then drag column 1's header onto column 3
    Move(129, 10);
    QTest::mousePress(V(), Qt::LeftButton, Qt::NoModifier, QPoint(129, 10));
    QTest::mouseMove(V(), QPoint(145, 10));
    QTest::mouseRelease(V(), Qt::LeftButton, Qt::NoModifier, QPoint(145, 10));
    ASSERT_EQ(G->ColWidths(1), 80);
    const QPoint from = In(1, 0), to = In(3, 0);
    Move(from.x(), from.y());
    QTest::mousePress(V(), Qt::LeftButton, Qt::NoModifier, from);
    for (int i = 1; i <= 4; ++i) {
        QTest::mouseMove(V(), from + (to - from) * i / 4);
        QApplication::processEvents();
    }
    QTest::mouseRelease(V(), Qt::LeftButton, Qt::NoModifier, to);
    QApplication::processEvents();
    QStringList moved;
    for (int c = 0; c < 5; ++c) moved << G->Cells(c, 0);
    ASSERT_EQ(moved.join(' '), QStringLiteral("H0 H2 H3 H1 H4"));
    G->SaveColPositions();
    G->SaveColSizes();

    // A second shown grid keeping its sizes loads them when its window is made.
    GridWindow<TProStringGrid> again({.Cols = 5, .Rows = 6, .ScrollBars = ssNone});
    for (int c = 0; c < 5; ++c) again.G->SetCells(c, 0, QStringLiteral("H%1").arg(c));
    Keep(again.G);
    again.G->LoadColPositions();
    again.G->ColumnSize()->SetSave(true);
    again.G->Loaded();
    again.ShowFocused();
    QStringList order;
    for (int c = 0; c < 5; ++c) order << again.G->Cells(c, 0);
    EXPECT_EQ(order.join(' '), QStringLiteral("H0 H2 H3 H1 H4"));
    EXPECT_EQ(again.G->ColWidths(3), 80);
    EXPECT_EQ(again.G->ColWidths(1), 64);
    // and the loaded grid still answers the keyboard on its moved columns
    again.G->SetCol(1);
    QTest::keyClick(again.G->viewport(), Qt::Key_Right);
    EXPECT_EQ(again.G->Col(), 2);
}

// ---- visual properties file ------------------------------------------------------------------

namespace {
QStringList LinesOf(const QByteArray& b)
{
    QStringList l = QString::fromUtf8(b).split(QStringLiteral("\r\n"));
    if (!l.isEmpty() && l.last().isEmpty()) l.removeLast();
    return l;
}
}  // namespace

TEST_F(SettingsGrid, VisualPropsAreWrittenInTheirOrderAndReadBack)
{
    const QString file = Dir.filePath("look.txt");
    grid->SaveVisualProps(file);
    QStringList keys;
    for (const QString& l : LinesOf(ReadFile(file))) keys << l.section('=', 0, 0);
    const QStringList font = {"Color", "Style", "Size", "Name"};
    QStringList expected = {"Color", "HintColor", "SelectionColor", "SelectionColorTo", "SelectionMirrorColor",
                            "SelectionMirrorColorTo", "SelectionTextColor", "URLColor", "URLShow", "URLShowInText",
                            "ScrollColor", "ActiveRowColor", "ActiveRowShow", "ActiveCellShow"};
    for (const QString& k : font) expected << "Font." + k;
    expected << "ActiveCellColor" << "ActiveCellColorTo";
    for (const QString& k : font) expected << "ActiveCellFont." + k;
    for (const QString& k : font) expected << "FixedFont." + k;
    expected << QStringList{"Balloon.BackgroundColor", "Balloon.TextColor", "Balloon.Transparency",
                            "Bands.PrimaryColor", "Bands.SecondaryColor", "Bands.Active", "SortSettings.IndexColor",
                            "FloatingFooter.Color", "ControlLook.CheckSize", "ControlLook.Color",
                            "ControlLook.CommentColor", "ControlLook.ControlStyle", "ControlLook.FixedGradientFrom",
                            "ControlLook.FixedGradientTo", "ControlLook.RadioSize", "ControlLook.FlatButton",
                            "ControlLook.ProgressBorderColor", "ControlLook.ProgressXP", "Look", "SearchFooter.Color",
                            "SearchFooter.ColorTo", "Grouping.HeaderColor", "Grouping.HeaderColorTo",
                            "Grouping.HeaderTextColor", "Grouping.HeaderUnderline", "Grouping.HeaderLineColor",
                            "Grouping.HeaderLineWidth", "Grouping.SummaryColor", "Grouping.SummaryColorTo",
                            "Grouping.SummaryTextColor", "Grouping.SummaryLine", "Grouping.SummaryLineColor",
                            "Grouping.SummaryLineWidth", "GridLineColor", "GridFixedLineColor", "BackGround.Top",
                            "BackGround.Left", "BackGround.Display", "BackGround.Cells", "BackGround.Color",
                            "BackGround.ColorTo"};
    EXPECT_EQ(keys.join(' ').toStdString(), expected.join(' ').toStdString());

    // Changed values travel to a fresh grid; the default grid's file reads back unchanged.
    grid->SetColor(clWindow);
    grid->SetSelectionColor(RGB(1, 2, 3));
    grid->SetURLShow(true);
    grid->Font()->SetStyle(TFontStyles{} + fsBold + fsStrikeOut);
    grid->Font()->SetSize(13);
    grid->FixedFont()->SetName(QStringLiteral("DejaVu Sans"));
    grid->Bands()->SetActive(true);
    grid->ControlLook()->SetControlStyle(csFlat);
    grid->BackGround()->SetDisplay(bdGradientVert);
    grid->Grouping()->SetHeaderLineWidth(5);
    grid->BalloonSettings()->SetTransparency(77);
    grid->SaveVisualProps(file);
    const QStringList lines = LinesOf(ReadFile(file));
    for (const char* l : {"Color=clWindow", "SelectionColor=$00030201", "URLShow=true", "Font.Style=fsBold,fsStrikeOut",
                          "Font.Size=13", "FixedFont.Name=DejaVu Sans", "ControlLook.ControlStyle=csFlat",
                          "BackGround.Display=bdGradientVert", "Balloon.Transparency=77", "Grouping.HeaderLineWidth=5"})
        EXPECT_TRUE(lines.contains(QString::fromLatin1(l))) << l;
    Fresh b;
    b.G->LoadVisualProps(file);
    const QString again = Dir.filePath("again.txt");
    b.G->SaveVisualProps(again);
    EXPECT_EQ(ReadFile(again), ReadFile(file));
    EXPECT_EQ(b.G->SelectionColor(), RGB(1, 2, 3));
    EXPECT_EQ(b.G->ControlLook()->ControlStyle(), csFlat);
}

TEST_F(SettingsGrid, BadVisualPropsFilesChangeNothing)
{
    const QString file = Dir.filePath("look.txt");
    grid->SaveVisualProps(file);
    const QByteArray good = ReadFile(file);
    // The good file with one line replaced.
    const auto with = [&good](const char* key, const char* line) {
        QStringList lines = LinesOf(good);
        for (QString& l : lines)
            if (l.startsWith(QLatin1String(key) + '=')) l = QString::fromLatin1(line);
        return (lines.join("\r\n") + "\r\n").toUtf8();
    };
    grid->SetColor(clRed);
    grid->SaveVisualProps(Dir.filePath("before.txt"));
    const QByteArray before = ReadFile(Dir.filePath("before.txt"));
    const QByteArray cases[] = {
        with("Font.Size", "Font.Sizes=8"),                  // a missing integer
        with("Font.Size", "Font.Size=eight"),
        with("Font.Size", "Font.Size=99999999999"),
        with("Balloon.Transparency", "Balloon.Transparency=300"),
        with("HintColor", "HintColor=clNoSuchColour"),
        with("URLColor", "URLColor=$1234567890"),
        QByteArray("\x00\x01\x02\xff\xfe", 5),
        QByteArray(),
    };
    for (const QByteArray& c : cases) {
        SCOPED_TRACE(c.left(60).constData());
        WriteFile(file, c);
        EXPECT_THROW(grid->LoadVisualProps(file), EConvertError);
        grid->SaveVisualProps(Dir.filePath("after.txt"));
        EXPECT_EQ(ReadFile(Dir.filePath("after.txt")), before);
    }
    // Names of enumerations match in any case; unknown ones change nothing; empty colours are clNone.
    QByteArray mixed = with("ControlLook.ControlStyle", "ControlLook.ControlStyle=CSWINXP");
    mixed.replace("BackGround.Cells=bcNormal", "BackGround.Cells=bcEverything");
    mixed.replace("SearchFooter.Color=clWhite", "SearchFooter.Color=");
    WriteFile(file, mixed);
    grid->LoadVisualProps(file);
    EXPECT_EQ(grid->ControlLook()->ControlStyle(), csWinXP);
    EXPECT_EQ(grid->BackGround()->Cells(), bcNormal);
    EXPECT_EQ(grid->SearchFooter()->Color(), clNone);

    try {
        grid->LoadVisualProps(Dir.filePath("none.txt"));
        ADD_FAILURE();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Cannot open file " + Dir.filePath("none.txt"));
    }
    const QString bad = Dir.filePath("no/such/look.txt");
    try {
        grid->SaveVisualProps(bad);
        ADD_FAILURE();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Cannot Create " + bad);
    }
}

// ---- print settings --------------------------------------------------------------------------

TEST_F(SettingsGrid, PrintSettingsReadFromAnEmptyFileTakeTheDefaults)
{
    TPrintSettings* ps = grid->PrintSettings();
    ps->SetBorders(pbDouble);
    ps->Font()->SetStyle(TFontStyles{} + fsItalic);
    WriteFile(Ini(), "");
    grid->LoadPrintSettings(Ini(), QStringLiteral("Print"));
    const std::vector<std::pair<const char*, int>> ints = {
        {"ColumnSpacing", ps->ColumnSpacing()}, {"RowSpacing", ps->RowSpacing()}, {"TitleSpacing", ps->TitleSpacing()},
        {"FooterSize", ps->FooterSize()}, {"HeaderSize", ps->HeaderSize()}, {"LeftSize", ps->LeftSize()},
        {"RightSize", ps->RightSize()}, {"FontSize", ps->Font()->Size()}, {"HeaderFontSize", ps->HeaderFont()->Size()},
        {"FooterFontSize", ps->FooterFont()->Size()}, {"FixedHeight", ps->FixedHeight()}, {"Borders", ps->Borders()},
        {"Date", ps->Date()}, {"FontColor", ps->Font()->Color()}};
    const std::map<std::string, int> expected = {
        {"ColumnSpacing", 20}, {"RowSpacing", 20}, {"TitleSpacing", 20}, {"FooterSize", 100}, {"HeaderSize", 100},
        {"LeftSize", 100}, {"RightSize", 100}, {"FontSize", 10}, {"HeaderFontSize", 10}, {"FooterFontSize", 10},
        {"FixedHeight", 0}, {"Borders", 0}, {"Date", 0}, {"FontColor", 0}};
    for (const auto& [name, value] : ints) EXPECT_EQ(value, expected.at(name)) << name;
    EXPECT_TRUE(ps->Centered());
    EXPECT_FALSE(ps->UseDisplayFont());
    EXPECT_EQ(ps->Font()->Name(), QStringLiteral("Arial"));
    EXPECT_EQ(ps->FooterFont()->Name(), QStringLiteral("Arial"));
    EXPECT_TRUE(ps->TitleLines().isEmpty());
    // the load writes the file back
    EXPECT_TRUE(QFile::exists(Ini()));
}

TEST_F(SettingsGrid, PrintSettingsRoundTripThroughTheirIniFile)
{
    TPrintSettings* ps = grid->PrintSettings();
    ps->SetColumnSpacing(7);
    ps->SetCentered(false);
    ps->SetRepeatFixedRows(true);
    ps->SetUseDefaultOrientation(true);
    ps->SetBorders(pbAroundVertical);
    ps->SetBorderColor(clRed);
    ps->SetBorderStyle(psDot);
    ps->SetPageNr(ppBottomCenter);
    ps->SetTitleText(QStringLiteral("Frames, receive"));
    ps->SetFitToPage(fpShrink);
    ps->HeaderFont()->SetName(QStringLiteral("DejaVu Sans"));
    ps->HeaderFont()->SetSize(14);
    ps->HeaderFont()->SetStyle(TFontStyles{} + fsBold + fsUnderline);
    ps->SetOrientation(poLandscape);
    ps->SetPagePrefix(QStringLiteral("Page "));
    ps->SetTitleLines({QStringLiteral("A"), QStringLiteral("B")});
    ps->SetPrintGraphics(true);
    grid->SavePrintSettings(Ini(), QStringLiteral("Print"));

    const QByteArray file = ReadFile(Ini());
    for (const char* line : {"[Print]\r\nColumnSpacing=7\r\nRowSpacing=", "Centered=N", "RepeatFixedRows=Y",
                             "UseDefOrientation=Y", "Borders=6", "BorderColor=255", "BorderStyle=2", "PageNr=6",
                             "FitToPage=2", "HeaderFontName=DejaVu Sans", "HeaderFontSize=14", "HeaderFontStyle=5",
                             "Orientation=1", "TitleLines=A\\nB\\n", "PrintGraphics=Y\r\n"})
        EXPECT_TRUE(file.contains(line)) << line;
    // keys in their order
    QStringList keys;
    for (const QString& l : LinesOf(file).mid(1)) keys << l.section('=', 0, 0);
    EXPECT_EQ(keys.join(' ').toStdString(),
              "ColumnSpacing RowSpacing TitleSpacing FixedHeight FixedWidth Centered NoAutoSize UseFixedHeight "
              "UseFixedWidth RepeatFixedRows RepeatFixedCols UseDisplFont UseDefOrientation Borders BorderColor "
              "BorderStyle Date PageNr Title Time DateFormat TitleText FooterSize HeaderSize LeftSize RightSize "
              "FitToPage FontName FontSize FontStyle FontColor HeaderFontName HeaderFontSize HeaderFontStyle "
              "HeaderFontColor FooterFontName FooterFontSize FooterFontStyle FooterFontColor PageNumSep PageSuffix "
              "PagePrefix Orientation TitleLines PrintGraphics");

    Fresh b;
    b.G->LoadPrintSettings(Ini(), QStringLiteral("Print"));
    TPrintSettings* r = b.G->PrintSettings();
    EXPECT_EQ(r->ColumnSpacing(), 7);
    EXPECT_FALSE(r->Centered());
    EXPECT_TRUE(r->RepeatFixedRows());
    EXPECT_EQ(r->Borders(), pbAroundVertical);
    EXPECT_EQ(r->BorderColor(), clRed);
    EXPECT_EQ(r->BorderStyle(), psDot);
    EXPECT_EQ(r->PageNr(), ppBottomCenter);
    EXPECT_EQ(r->TitleText(), QStringLiteral("Frames, receive"));
    EXPECT_EQ(r->FitToPage(), fpShrink);
    EXPECT_EQ(r->HeaderFont()->Name(), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(r->HeaderFont()->Size(), 14);
    EXPECT_TRUE(r->HeaderFont()->Style() == TFontStyles{} + fsBold + fsUnderline);
    EXPECT_EQ(r->Orientation(), poLandscape);
    EXPECT_EQ(r->PagePrefix(), QStringLiteral("Page "));
    EXPECT_EQ(r->TitleLines(), (QStringList{"A", "B"}));
    EXPECT_TRUE(r->PrintGraphics());
}

TEST_F(SettingsGrid, HandWrittenPrintSettingsWithBadValues)
{
    TPrintSettings* ps = grid->PrintSettings();
    ps->SetBorders(pbDouble);
    ps->SetBorderStyle(psDash);
    ps->SetFitToPage(fpGrow);
    ps->SetOrientation(poLandscape);
    WriteFile(Ini(), "[print]\nborders=9\nBorderStyle=-1\nFitToPage=x\nOrientation=2\nDate=7\nTime=-3\n"
                     "Centered=y\nPrintGraphics=Yes\nFontSize=-4\nColumnSpacing=1e3\nTitleLines=only\n"
                     "HeaderFontStyle=2\n");
    grid->LoadPrintSettings(Ini(), QStringLiteral("Print"));
    EXPECT_EQ(ps->Borders(), pbDouble);
    EXPECT_EQ(ps->BorderStyle(), psDash);
    EXPECT_EQ(ps->FitToPage(), fpNever);   // unreadable: the default 0
    EXPECT_EQ(ps->Orientation(), poLandscape);
    EXPECT_EQ(ps->Date(), ppNone);
    EXPECT_EQ(ps->Time(), ppNone);
    EXPECT_FALSE(ps->Centered());
    EXPECT_FALSE(ps->PrintGraphics());
    EXPECT_EQ(ps->Font()->Size(), 10);
    EXPECT_EQ(ps->ColumnSpacing(), 20);
    EXPECT_EQ(ps->TitleLines(), QStringList{"only"});
    EXPECT_TRUE(ps->HeaderFont()->Style() == TFontStyles{} + fsItalic);

    // a file too large to read changes nothing and is kept
    WriteFile(Ini(), QByteArray(TMemIniFile::MaxFileSize + 10, '['));
    ps->SetColumnSpacing(3);
    EXPECT_THROW(grid->LoadPrintSettings(Ini(), QStringLiteral("Print")), EInOutError);
    EXPECT_EQ(ps->ColumnSpacing(), 3);
    EXPECT_THROW(grid->SavePrintSettings(Ini(), QStringLiteral("Print")), EInOutError);
    EXPECT_EQ(QFile(Ini()).size(), TMemIniFile::MaxFileSize + 10);
}

TEST_F(SettingsGrid, ScaleChangeCarriesTheFixedAndActiveCellFonts)
{
    grid->FixedFont()->SetSize(8);
    grid->ActiveCellFont()->SetSize(10);
    grid->ApplyScaleChange(96, 96);
    EXPECT_EQ(grid->FixedFont()->Size(), 8);
    grid->ApplyScaleChange(144, 96);
    EXPECT_EQ(grid->FixedFont()->Size(), 12);
    EXPECT_EQ(grid->ActiveCellFont()->Size(), 15);
}
