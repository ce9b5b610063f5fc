// Drag and drop on shown grids: drops of every kind of data delivered as the window system
// delivers them, the drag a press and a move on the selection start (run through the grid's
// drag seam so that no drag loop blocks), moves within one grid and between two, and drops of
// bad data that must change nothing.
#include "grid/control/pro_string_grid.h"
#include "grid/data/cell_stream.h"
#include "grid/data/component_stream.h"
#include "support/fixtures.h"
#include "support/shown_grid.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QListWidget>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>

namespace {

const QString CellsType = QString::fromLatin1(GridCellsMimeType);

// Enter, move and drop of Data at P on a grid's viewport; the action the drop took
// (IgnoreAction when it was refused).
struct DropResult {
    bool EnterAccepted = false;
    bool MoveAccepted = false;
    Qt::DropAction Action = Qt::IgnoreAction;
};

DropResult Deliver(QWidget* V, const QMimeData& Data, QPoint P, Qt::KeyboardModifiers Mods = {},
                   Qt::DropActions Actions = Qt::CopyAction | Qt::MoveAction)
{
    DropResult res;
    QDragEnterEvent enter(P, Actions, &Data, Qt::LeftButton, Mods);
    QApplication::sendEvent(V, &enter);
    res.EnterAccepted = enter.isAccepted() && enter.dropAction() != Qt::IgnoreAction;
    QDragMoveEvent move(P, Actions, &Data, Qt::LeftButton, Mods);
    QApplication::sendEvent(V, &move);
    res.MoveAccepted = move.isAccepted();
    if (!res.MoveAccepted) {
        QDragLeaveEvent leave;
        QApplication::sendEvent(V, &leave);
        return res;
    }
    QDropEvent drop(QPointF(P), Actions, &Data, Qt::LeftButton, Mods);
    QApplication::sendEvent(V, &drop);
    res.Action = drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction;
    return res;
}

QString WriteFile(const QTemporaryDir& Dir, const char* Name, const QByteArray& Bytes)
{
    const QString path = Dir.filePath(QString::fromUtf8(Name));
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly) && f.write(Bytes) == Bytes.size()) << Name;
    return path;
}

QByteArray StreamOf(TProStringGrid* G, TRect R)
{
    QBuffer b;
    b.open(QIODevice::WriteOnly);
    G->SaveRectToBinStream(R, b);
    return b.data();
}

struct DragDropFixture : ShownGridFixture {
    MessageBoxRecorder Boxes;
    void SetUp() override
    {
        ShownGridFixture::SetUp();
        // A grid that edits its cells does not drag them; it takes drops as it takes pastes.
        TGridOptions o = G->Options();
        o.Include(goRangeSelect);
        o.Exclude(goEditing);
        G->SetOptions(o);
        G->Navigation()->SetAllowClipboardAlways(true);
        Fill(G);
        G->DragDropSettings()->SetOleDropTarget(true);
        G->DragDropSettings()->SetOleDropSource(true);
    }
    static void Fill(TProStringGrid* g)
    {
        for (int r = 1; r < g->RowCount(); ++r)
            for (int c = 1; c < g->ColCount(); ++c)
                g->SetCells(c, r, QStringLiteral("%1%2").arg(QChar('a' + c - 1)).arg(r));
    }
    // Texts of the block (c0, r0)-(c1, r1), rows joined by "|", cells by ",".
    static QString Block(TProStringGrid* g, int c0, int r0, int c1, int r1)
    {
        QStringList rows;
        for (int r = r0; r <= r1; ++r) {
            QStringList cells;
            for (int c = c0; c <= c1; ++c) cells << g->Cells(c, r);
            rows << cells.join(QLatin1Char(','));
        }
        return rows.join(QLatin1Char('|'));
    }
    QString Block(int c0, int r0, int c1, int r1) { return Block(G, c0, r0, c1, r1); }
    QStringList All(TProStringGrid* g)
    {
        QStringList s{QString::number(g->ColCount()), QString::number(g->RowCount())};
        for (int r = 0; r < g->RowCount(); ++r)
            for (int c = 0; c < g->ColCount(); ++c) s << g->Cells(c, r);
        return s;
    }
    // Press on cell (c, r), move the mouse in steps to (tx, ty) with the button held.
    void PressAndMove(int c, int r, QPoint To)
    {
        const QPoint from = In(c, r);
        QTest::mousePress(V(), Qt::LeftButton, {}, from);
        QTest::mouseMove(V(), from + QPoint(2, 0));
        QTest::mouseMove(V(), To);
        QApplication::processEvents();
    }
};

// ---- drops of other programs' data ----------------------------------------------------------

TEST_F(DragDropFixture, EveryKindOfDataDropsIntoTheCellUnderTheMouse)
{
    QTemporaryDir dir;
    const QString csv = WriteFile(dir, "Data.CSV", "x;y\n1;2\n");
    G->DragDropSettings()->SetOleDropRTF(true);
    struct Case {
        const char* name;
        std::function<void(QMimeData&)> make;
        const char* block;  // (1, 1)-(2, 2) afterwards
    } cases[] = {
        {"plain text with a multi-line field",
         [](QMimeData& m) { m.setText(QStringLiteral("x\t\"l1\nl2\"\r\nz\tw\r\n")); }, "x,l1\r\nl2|z,w"},
        {"text of a program that ends it with NUL",
         [](QMimeData& m) { m.setText(QStringLiteral("x\ty") + QChar(0) + QStringLiteral("junk")); }, "x,y|a2,b2"},
        {"rich text without a NUL, bounded by its size",
         [](QMimeData& m) { m.setData(QStringLiteral("text/rtf"), QByteArray("{\\rtf1 hi}")); }, "{\\rtf1 hi},b1|a2,b2"},
        {"rich text up to its NUL",
         [](QMimeData& m) { m.setData(QStringLiteral("text/rtf"), QByteArray("{\\rtf1 a}\0zz", 12)); }, "{\\rtf1 a},b1|a2,b2"},
        {"a link", [](QMimeData& m) { m.setUrls({QUrl(QStringLiteral("https://example.net/x"))}); },
         "https://example.net/x,b1|a2,b2"},
    };
    for (const Case& k : cases) {
        Fill(G);
        QMimeData m;
        k.make(m);
        const DropResult r = Deliver(V(), m, In(1, 1));
        EXPECT_TRUE(r.EnterAccepted) << k.name;
        EXPECT_EQ(r.Action, Qt::MoveAction) << k.name;
        EXPECT_EQ(Block(1, 1, 2, 2), QString::fromUtf8(k.block)) << k.name;
    }

    // A .csv file, whatever the case of its suffix, loads the grid.
    G->SetDelimiter(QLatin1Char(';'));
    QMimeData file;
    file.setUrls({QUrl::fromLocalFile(csv)});
    EXPECT_EQ(Deliver(V(), file, In(2, 2)).Action, Qt::MoveAction);
    EXPECT_EQ(Block(0, 0, 1, 1), QStringLiteral("x,y|1,2"));
}

TEST_F(DragDropFixture, TextGrowsTheGridAndSelectsWhatItFilled)
{
    std::vector<QRect> dropped;
    G->OnOleDropped = [&](TObject*, TGridRect R) { dropped.push_back(QRect(QPoint(R.Left, R.Top), QPoint(R.Right, R.Bottom))); };
    QMimeData m;
    m.setText(QStringLiteral("p\tq\tr\r\ns\tt\tu\r\n"));
    EXPECT_EQ(Deliver(V(), m, In(4, 5)).Action, Qt::MoveAction);
    EXPECT_EQ(G->ColCount(), 7);
    EXPECT_EQ(G->RowCount(), 7);
    EXPECT_EQ(Block(4, 5, 6, 6), QStringLiteral("p,q,r|s,t,u"));
    ASSERT_EQ(dropped.size(), 1u);
    EXPECT_EQ(dropped[0], QRect(QPoint(4, 5), QPoint(6, 6)));
}

TEST_F(DragDropFixture, BelowTheLastRowWholeRowsAreAppended)
{
    G->SetBounds(0, 0, 400, 200);
    TGridOptions o = G->Options();
    o.Include(goRowSelect);
    G->SetOptions(o);
    G->DragDropSettings()->SetOleEntireRows(true);
    G->DragDropSettings()->SetOleAppendRows(true);
    QMimeData m;
    m.setText(QStringLiteral("n1\tv1\r\nn2\tv2\r\n"));
    const int below = G->CellRect(1, 5).Bottom + 10;
    EXPECT_EQ(Deliver(V(), m, QPoint(30, below)).Action, Qt::MoveAction);
    EXPECT_EQ(G->RowCount(), 8);
    EXPECT_EQ(Block(1, 5, 4, 5), QStringLiteral("a5,b5,c5,d5"));
    EXPECT_EQ(Block(0, 6, 1, 7), QStringLiteral("n1,v1|n2,v2"));
}

TEST_F(DragDropFixture, EffectsRefusalsAndTheDropSwitch)
{
    QMimeData m;
    m.setText(QStringLiteral("new"));
    EXPECT_EQ(Deliver(V(), m, In(1, 1), Qt::ControlModifier).Action, Qt::CopyAction);
    EXPECT_EQ(Deliver(V(), m, In(2, 1), {}, Qt::CopyAction).Action, Qt::CopyAction);
    EXPECT_EQ(Block(1, 1, 2, 1), QStringLiteral("new,new"));

    // A header row, the drag-over event and the drop event may each refuse.
    EXPECT_FALSE(Deliver(V(), m, In(3, 0)).MoveAccepted);
    bool overAllows = false;
    G->OnOleDragOver = [&](TObject*, int, int, bool& Allow) { Allow = overAllows; };
    EXPECT_FALSE(Deliver(V(), m, In(3, 3)).MoveAccepted);
    overAllows = true;
    G->OnOleDrop = [](TObject*, int, int, const QString&, bool& Allow) { Allow = false; };
    EXPECT_EQ(Deliver(V(), m, In(3, 3)).Action, Qt::IgnoreAction);
    EXPECT_EQ(G->Cells(3, 3), QStringLiteral("c3"));
    G->OnOleDrop = nullptr;

    // Text is refused when the grid takes no text, and rich text while it is switched off.
    G->DragDropSettings()->SetOleAcceptText(false);
    EXPECT_FALSE(Deliver(V(), m, In(3, 3)).EnterAccepted);
    QMimeData rtf;
    rtf.setData(QStringLiteral("text/rtf"), QByteArray("{\\rtf1 x}"));
    G->DragDropSettings()->SetOleAcceptText(true);
    EXPECT_FALSE(Deliver(V(), rtf, In(3, 3)).EnterAccepted);

    // Without OleDropTarget the grid takes nothing.
    G->DragDropSettings()->SetOleDropTarget(false);
    Deliver(V(), m, In(4, 4));
    EXPECT_EQ(G->Cells(4, 4), QStringLiteral("d4"));
    EXPECT_TRUE(Boxes.Calls.empty());
}

TEST_F(DragDropFixture, OnlyOneRegularCsvOrXlsFileIsLoaded)
{
    QTemporaryDir dir;
    auto write = [&](const QString& name) {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("q,r\n");
        return dir.filePath(name);
    };
    QDir(dir.path()).mkpath(QStringLiteral("x.csv"));
    QDir(dir.path()).mkpath(QStringLiteral("y.csv.d"));
    const QString xlsx = write(QStringLiteral("a.xlsx")), csvtxt = write(QStringLiteral("a.csv.txt"));
    const QString csv1 = write(QStringLiteral("one.csv")), csv2 = write(QStringLiteral("two.csv"));
    const QString xls = write(QStringLiteral("b.XLS"));
    const QStringList before = All(G);
    for (const QStringList& files : {QStringList{xlsx}, QStringList{csvtxt}, QStringList{dir.filePath(QStringLiteral("x.csv"))},
                                     QStringList{dir.filePath(QStringLiteral("y.csv.d"))}, QStringList{csv1, csv2},
                                     QStringList{dir.filePath(QStringLiteral("missing.csv"))}}) {
        QMimeData m;
        QList<QUrl> urls;
        for (const QString& f : files) urls << QUrl::fromLocalFile(f);
        m.setUrls(urls);
        EXPECT_EQ(Deliver(V(), m, In(1, 1)).Action, Qt::IgnoreAction) << files.join(' ').toStdString();
        EXPECT_EQ(All(G), before) << files.join(' ').toStdString();
    }
    // A .xls file goes to the workbook loader (replaced here: the office's tests load workbooks).
    QString loaded;
    G->DropXLSLoader = [&](TProStringGrid*, const QString& f) { loaded = f; };
    QMimeData m;
    m.setUrls({QUrl::fromLocalFile(xls)});
    EXPECT_EQ(Deliver(V(), m, In(1, 1)).Action, Qt::MoveAction);
    EXPECT_EQ(loaded, xls);
    // The file event may refuse.
    G->OnOleDropFile = [](TObject*, int, int, const QString&, bool& Allow) { Allow = false; };
    m.setUrls({QUrl::fromLocalFile(csv1)});
    EXPECT_EQ(Deliver(V(), m, In(1, 1)).Action, Qt::IgnoreAction);
    EXPECT_EQ(All(G), before);
}

// ---- dropped cell streams ---------------------------------------------------------------------

TEST_F(DragDropFixture, ACellStreamPastesAsABlockUnderThePasteRules)
{
    GridWindow<TProStringGrid> other({.Cols = 3, .Rows = 3, .ScrollBars = ssNone});
    other.G->SetCells(0, 0, QStringLiteral("s00"));
    other.G->SetCells(1, 0, QStringLiteral("s10"));
    other.G->SetCells(0, 1, QStringLiteral("s01"));
    other.G->SetCells(1, 1, QStringLiteral("s11"));
    QMimeData block;
    block.setData(CellsType, StreamOf(other.G, {0, 0, 1, 1}));
    block.setText(QStringLiteral("ignored"));
    EXPECT_EQ(Deliver(V(), block, In(2, 2)).Action, Qt::MoveAction);
    EXPECT_EQ(Block(1, 1, 3, 3), QStringLiteral("a1,b1,c1|a2,s00,s10|a3,s01,s11"));

    // A whole grid's stream is placed as a block too: the grid keeps its size and cells.
    QBuffer whole;
    whole.open(QIODevice::WriteOnly);
    other.G->SaveToBinStream(whole);
    QMimeData full;
    full.setData(CellsType, whole.data());
    EXPECT_EQ(Deliver(V(), full, In(4, 4)).Action, Qt::MoveAction);
    EXPECT_EQ(G->ColCount(), 7);
    EXPECT_EQ(G->RowCount(), 7);
    EXPECT_EQ(Block(1, 1, 2, 1), QStringLiteral("a1,b1"));
    EXPECT_EQ(Block(4, 4, 5, 5), QStringLiteral("s00,s10|s01,s11"));

    // OnOleDrop and a grid that takes no pastes refuse it.
    const QStringList before = All(G);
    G->OnOleDrop = [](TObject*, int, int, const QString&, bool& Allow) { Allow = false; };
    EXPECT_EQ(Deliver(V(), block, In(1, 1)).Action, Qt::IgnoreAction);
    G->OnOleDrop = nullptr;
    G->Navigation()->SetAllowClipboardAlways(false);
    EXPECT_EQ(Deliver(V(), block, In(1, 1)).Action, Qt::IgnoreAction);
    EXPECT_EQ(All(G), before);
}

TEST_F(DragDropFixture, BadStreamsChangeNothing)
{
    GridWindow<TProStringGrid> other({.Cols = 3, .Rows = 3, .ScrollBars = ssNone});
    Fill(other.G);
    const QByteArray good = StreamOf(other.G, {0, 0, 2, 2});
    // A whole grid of 60000 x 60000 cells that carries three.
    QByteArray huge;
    {
        TComponentWriter w(huge);
        w.Begin(QStringLiteral("TGridPropIO"));
        w.Int("ColCount", 60000);
        w.Int("RowCount", 60000);
        w.String("ColWidths", QString());
        w.String("RowHeights", QString());
        w.Bool("FullGrid", true);
        w.Int("ID", 1);
        w.End();
        for (int i = 0; i < 3; ++i) {
            w.Begin(QStringLiteral("TGridCellIO"));
            w.Int("Col", i);
            w.Int("Row", 0);
            w.String("Cell", QStringLiteral("x"));
            w.Bool("HasProp", false);
            w.End();
        }
    }
    struct Case {
        const char* name;
        QByteArray data;
    } cases[] = {
        {"truncated", good.left(good.size() / 2)},
        {"garbage", QByteArray("\x01\x02\x03 not a stream \xff\xfe", 20)},
        {"empty", QByteArray()},
        {"huge counts", huge},
    };
    const QStringList before = All(G);
    for (const Case& k : cases) {
        QMimeData m;
        m.setData(CellsType, k.data);
        m.setText(QStringLiteral("fallback"));
        EXPECT_EQ(Deliver(V(), m, In(1, 1)).Action, Qt::IgnoreAction) << k.name;
        EXPECT_EQ(All(G), before) << k.name;
    }
}

// ---- columns ----------------------------------------------------------------------------------

TEST_F(DragDropFixture, ColumnsMoveOnlyWhenTheyComeFromThisProgramAndExist)
{
    G->DragDropSettings()->SetOleColumnReorder(true);
    G->SetCells(1, 0, QStringLiteral("A"));
    G->SetCells(3, 0, QStringLiteral("C"));
    std::vector<int> dropped;
    G->OnOleDropCol = [&](TObject*, int, int, int Col) { dropped.push_back(Col); };
    const QStringList before = All(G);
    // From another program: the column number is text, and a header row takes no text.
    std::unique_ptr<QMimeData> foreign(TProStringGrid::ColumnDragData(1));
    Deliver(V(), *foreign, In(3, 0));
    EXPECT_EQ(All(G), before);
    EXPECT_TRUE(dropped.empty());

    // From this program, through a real drag of the grid: out of range does nothing.
    auto dragColumn = [&](int col, QPoint at) {
        G->DragExec = [&](QDrag& d) { return Deliver(V(), *d.mimeData(), at).Action; };
        G->DragDropColumn(col);
        G->DragExec = nullptr;
    };
    for (int bad : {-1, 5, 99}) dragColumn(bad, In(3, 0));
    EXPECT_EQ(All(G), before);
    EXPECT_TRUE(dropped.empty());
    dragColumn(1, In(3, 0));
    EXPECT_EQ(Block(1, 0, 3, 1), QStringLiteral(",C,A|b1,c1,a1"));
    EXPECT_EQ(dropped, std::vector<int>{1});
}

TEST_F(DragDropFixture, AColumnFromTheColumnListIsShownWhereItIsDropped)
{
    G->SetCells(2, 0, QStringLiteral("B"));
    G->HideColumn(2);
    QListWidget list;
    list.addItem(QStringLiteral("B"));
    G->DragExec = [&](QDrag& d) { return Deliver(V(), *d.mimeData(), In(1, 0)).Action; };
    G->OleColumnDrag(2, 0, &list);
    EXPECT_EQ(list.count(), 0);
    EXPECT_FALSE(G->IsHiddenColumn(2));
    EXPECT_EQ(G->Cells(1, 0), QStringLiteral("B"));
    EXPECT_EQ(G->OleDragCol(), -1);
}

// ---- dragging out with the mouse --------------------------------------------------------------

TEST_F(DragDropFixture, AMoveOnTheSelectionDragsItsCells)
{
    G->Navigation()->SetAllowFmtClipboard(true);
    G->SetSelection({1, 1, 2, 2});
    std::unique_ptr<QMimeData> carried;
    QPixmap image;
    std::vector<QString> events;
    G->OnOleDrag = [&](TObject*, int ARow, int ACol, const QString& Data, bool&) {
        events.push_back(QStringLiteral("drag %1,%2 %3").arg(ACol).arg(ARow).arg(Data));
    };
    G->OnOleDragStart = [&](TObject*, int ARow, int ACol) { events.push_back(QStringLiteral("start %1,%2").arg(ACol).arg(ARow)); };
    G->OnOleDragStop = [&](TObject*, Qt::DropAction a) { events.push_back(QStringLiteral("stop %1").arg(int(a))); };
    G->DragExec = [&](QDrag& d) {
        carried.reset(new QMimeData);
        for (const QString& f : d.mimeData()->formats()) carried->setData(f, d.mimeData()->data(f));
        image = d.pixmap();
        return Qt::CopyAction;
    };
    PressAndMove(2, 2, In(2, 2) + QPoint(8, 0));
    QTest::mouseRelease(V(), Qt::LeftButton, {}, In(2, 2) + QPoint(8, 0));
    ASSERT_TRUE(carried);
    EXPECT_EQ(carried->text(), QStringLiteral("a1\tb1\r\na2\tb2\r\n"));
    EXPECT_TRUE(carried->html().contains(QStringLiteral("<td>b2</td>")));
    EXPECT_TRUE(carried->hasFormat(CellsType));
    EXPECT_FALSE(carried->hasFormat(QStringLiteral("text/rtf")));
    EXPECT_FALSE(image.isNull());
    EXPECT_EQ(events, (std::vector<QString>{"drag 2,2 b2", "start 2,2", "stop 1"}));
    // A copy keeps the cells and the selection.
    EXPECT_EQ(Block(1, 1, 2, 2), QStringLiteral("a1,b1|a2,b2"));
    EXPECT_TRUE(G->Selection() == (TGridRect{1, 1, 2, 2}));

    // A press on the selection released without moving selects the cell.
    QTest::mouseClick(V(), Qt::LeftButton, {}, In(1, 1));
    EXPECT_TRUE(G->Selection() == (TGridRect{1, 1, 1, 1}));
}

TEST_F(DragDropFixture, AMoveBetweenGridsTakesTheCellsAway)
{
    GridWindow<TProStringGrid> target({.Cols = 5, .Rows = 6, .ScrollBars = ssNone});
    target.Show();
    TGridOptions o = target.G->Options();
    o.Include(goEditing);
    target.G->SetOptions(o);
    target.G->DragDropSettings()->SetOleDropTarget(true);
    G->Navigation()->SetAllowFmtClipboard(true);
    G->SetSelection({1, 1, 2, 2});
    G->DragExec = [&](QDrag& d) { return Deliver(target.G->viewport(), *d.mimeData(), In(3, 3)).Action; };
    PressAndMove(1, 1, In(1, 1) + QPoint(10, 10));
    QTest::mouseRelease(V(), Qt::LeftButton, {}, In(1, 1) + QPoint(10, 10));
    EXPECT_EQ(Block(target.G, 3, 3, 4, 4), QStringLiteral("a1,b1|a2,b2"));
    EXPECT_EQ(Block(1, 1, 3, 2), QStringLiteral(",,c1|,,c2"));

    // Ctrl makes it a copy; a refusing target leaves the source as it was.
    Fill(G);
    G->SetSelection({1, 1, 2, 2});
    G->DragExec = [&](QDrag& d) {
        return Deliver(target.G->viewport(), *d.mimeData(), In(1, 1), Qt::ControlModifier).Action;
    };
    PressAndMove(1, 1, In(1, 1) + QPoint(10, 10));
    QTest::mouseRelease(V(), Qt::LeftButton, {}, In(1, 1) + QPoint(10, 10));
    EXPECT_EQ(Block(target.G, 1, 1, 2, 2), QStringLiteral("a1,b1|a2,b2"));
    target.G->OnOleDrop = [](TObject*, int, int, const QString&, bool& Allow) { Allow = false; };
    G->DragExec = [&](QDrag& d) { return Deliver(target.G->viewport(), *d.mimeData(), In(1, 1)).Action; };
    PressAndMove(1, 1, In(1, 1) + QPoint(10, 10));
    QTest::mouseRelease(V(), Qt::LeftButton, {}, In(1, 1) + QPoint(10, 10));
    EXPECT_EQ(Block(1, 1, 2, 2), QStringLiteral("a1,b1|a2,b2"));
}

TEST_F(DragDropFixture, AMoveOntoAnOverlappingPlaceKeepsWhatWasDropped)
{
    // The block (1,1)-(2,2) moved one cell down and right within the grid.
    G->SetSelection({1, 1, 2, 2});
    G->DragExec = [&](QDrag& d) { return Deliver(V(), *d.mimeData(), In(2, 2)).Action; };
    PressAndMove(1, 1, In(1, 1) + QPoint(12, 12));
    QTest::mouseRelease(V(), Qt::LeftButton, {}, In(1, 1) + QPoint(12, 12));
    EXPECT_EQ(Block(1, 1, 3, 3), QStringLiteral(",,c1|,a1,b1|a3,a2,b2"));
}

TEST_F(DragDropFixture, WholeRowsMovedWithinTheGridLeaveTheirOldPlace)
{
    TGridOptions o = G->Options();
    o.Include(goRowSelect);
    G->SetOptions(o);
    G->DragDropSettings()->SetOleRemoveRows(true);
    G->DragDropSettings()->SetOleInsertRows(true);
    G->DragDropSettings()->SetOleEntireRows(true);
    for (int r = 1; r < 6; ++r) G->SetCells(0, r, QString::number(r));
    G->SetSelection({1, 4, 4, 4});
    G->DragExec = [&](QDrag& d) { return Deliver(V(), *d.mimeData(), In(2, 2)).Action; };
    PressAndMove(2, 4, In(2, 4) + QPoint(0, 10));
    QTest::mouseRelease(V(), Qt::LeftButton, {}, In(2, 4) + QPoint(0, 10));
    EXPECT_EQ(G->RowCount(), 6);
    EXPECT_EQ(Block(0, 1, 1, 5), QStringLiteral("1,a1|4,a4|2,a2|3,a3|5,a5"));
}

TEST_F(DragDropFixture, TheDragImageOfAHugeSelectionFitsTheScreen)
{
    G->SetRowCount(100'000);
    G->SetSelection({1, 1, 4, 99'999});
    const QPixmap p = G->DragImage(G->Selection());
    ASSERT_FALSE(p.isNull());
    const QSize screen = G->screen()->availableSize();
    EXPECT_LE(p.width(), std::min(screen.width(), G->viewport()->width()));
    EXPECT_LE(p.height(), std::min(screen.height(), G->viewport()->height()));
    // The drag's data of such a block goes without the stream, which holds 16-bit rows.
    std::unique_ptr<QMimeData> m(G->CellsDragData(G->Selection(), 1, 1));
    EXPECT_FALSE(m->hasFormat(CellsType));
    EXPECT_TRUE(m->text().startsWith(QStringLiteral("a1\tb1\tc1\td1\r\n")));
}

}  // namespace

// ---- pastes and drops under the same rules ----------------------------------------------------

// Every way cells come in from outside, against a grid whose column 2 is read-only and that
// marks modified rows: only editable cells change, each through the paste events, as one undo
// step; dropped rows are marked modified.  A grid that does not edit takes none of it.
TEST_F(DragDropFixture, PastesAndDropsOfEveryKindFollowTheGridsRules)
{
    GridWindow<TProStringGrid> other({.Cols = 3, .Rows = 3, .ScrollBars = ssNone});
    other.G->SetCells(0, 0, QStringLiteral("x"));
    other.G->SetCells(1, 0, QStringLiteral("y"));
    other.G->SetCells(0, 1, QStringLiteral("z"));
    other.G->SetCells(1, 1, QStringLiteral("w"));
    const QByteArray stream = StreamOf(other.G, {0, 0, 1, 1});
    QTemporaryDir dir;
    const QString csv = WriteFile(dir, "load.csv", "q,r\n");

    G->Navigation()->SetAllowClipboardAlways(false);
    G->Navigation()->SetAllowClipboardShortCuts(true);
    G->DragDropSettings()->SetOleDropRTF(true);
    G->DragDropSettings()->SetOleAcceptFiles(false);
    G->ShowModified()->SetEnabled(true);
    G->OnCanEditCell = [](TObject*, int, int ACol, bool& Value) { Value = ACol != 2; };
    QStringList events;
    G->OnClipboardBeforePasteCell = [&](TObject*, int ACol, int ARow, QString&, bool&) {
        events << QStringLiteral("%1,%2").arg(ACol).arg(ARow);
    };

    enum TWay { Paste, Drop };
    struct Case {
        const char* name;
        TWay way;
        std::function<void(QMimeData&)> make;
        QPoint cell;
        const char* block;     // (1, 1)-(2, 2) afterwards, when the grid edits
        const char* written;   // the cells the paste events saw
        const char* modified;  // rows marked modified
    } cases[] = {
        {"text pasted", Paste, [](QMimeData& m) { m.setText(QStringLiteral("x\ty\r\nz\tw\r\n")); }, {1, 1},
         "x,b1|z,b2", "1,1 1,2", ""},
        {"cells pasted", Paste,
         [&](QMimeData& m) {
             m.setData(CellsType, stream);
             m.setText(QStringLiteral("ignored"));
         },
         {1, 1}, "x,b1|z,b2", "1,1 1,2", ""},
        {"text dropped", Drop, [](QMimeData& m) { m.setText(QStringLiteral("x\ty\r\nz\tw\r\n")); }, {1, 1},
         "x,b1|z,b2", "1,1 1,2", "1 2"},
        {"cells dropped", Drop, [&](QMimeData& m) { m.setData(CellsType, stream); }, {1, 1}, "x,b1|z,b2",
         "1,1 1,2", "1 2"},
        {"rich text dropped", Drop, [](QMimeData& m) { m.setData(QStringLiteral("text/rtf"), "{\\rtf1 x}"); },
         {1, 2}, "a1,b1|{\\rtf1 x},b2", "1,2", "2"},
        {"rich text dropped on the read-only column", Drop,
         [](QMimeData& m) { m.setData(QStringLiteral("text/rtf"), "{\\rtf1 x}"); }, {2, 1}, "a1,b1|a2,b2", "", ""},
        {"link dropped", Drop, [](QMimeData& m) { m.setUrls({QUrl(QStringLiteral("https://example.net/x"))}); },
         {1, 1}, "https://example.net/x,b1|a2,b2", "1,1", "1"},
        {"link dropped on the read-only column", Drop,
         [](QMimeData& m) { m.setUrls({QUrl(QStringLiteral("https://example.net/x"))}); }, {2, 2}, "a1,b1|a2,b2",
         "", ""},
        // A file manager's drag carries the path as text as well: without OleAcceptFiles the
        // file is not loaded, the path is only text.
        {"file dropped while files are not accepted", Drop,
         [&](QMimeData& m) {
             m.setUrls({QUrl::fromLocalFile(csv)});
             m.setText(csv);
         },
         {1, 1}, nullptr, "1,1", "1"},
    };
    for (bool editing : {true, false}) {
        TGridOptions o = G->Options();
        if (editing) o.Include(goEditing);
        else o.Exclude(goEditing);
        G->SetOptions(o);
        for (const Case& k : cases) {
            const std::string name = std::string(k.name) + (editing ? "" : ", grid not editing");
            Fill(G);
            for (int r = 0; r < G->RowCount(); ++r) G->SetRowModified(r, false);
            ROdeVivaZedaDure undo;
            G->SetUndoRedo(&undo);
            events.clear();
            auto* m = new QMimeData;
            k.make(*m);
            if (k.way == Paste) {
                QGuiApplication::clipboard()->setMimeData(m);
                G->FocusCell(k.cell.x(), k.cell.y());
                QTest::keyClick(G, Qt::Key_V, Qt::ControlModifier);
            } else {
                Deliver(V(), *m, In(k.cell.x(), k.cell.y()));
                delete m;
            }
            QStringList modified;
            for (int r = 0; r < G->RowCount(); ++r)
                if (G->GetRowModified(r)) modified << QString::number(r);
            EXPECT_EQ(G->ColCount(), 5) << name;
            if (!editing) {
                EXPECT_EQ(Block(1, 1, 2, 2), QStringLiteral("a1,b1|a2,b2")) << name;
                EXPECT_TRUE(events.isEmpty()) << name;
                EXPECT_FALSE(undo.CanUndo()) << name;
                EXPECT_TRUE(modified.isEmpty()) << name;
            } else {
                if (k.block) EXPECT_EQ(Block(1, 1, 2, 2), QString::fromUtf8(k.block)) << name;
                else EXPECT_EQ(G->Cells(1, 1), csv) << name;
                EXPECT_EQ(events.join(' '), QString::fromUtf8(k.written)) << name;
                EXPECT_EQ(modified.join(' '), QString::fromUtf8(k.modified)) << name;
                if (!events.isEmpty()) {
                    undo.Undo();
                    EXPECT_EQ(Block(1, 1, 2, 2), QStringLiteral("a1,b1|a2,b2")) << name;
                    EXPECT_FALSE(undo.CanUndo()) << name << ": one step";
                }
            }
            G->SetUndoRedo(nullptr);
        }
    }
}
