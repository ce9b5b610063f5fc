// Copy, cut and paste through the clipboard on a shown grid: the text of a selection, pasting
// text of other programs, growth, insertion, smart fills, the cell stream between grids, the
// undo of a paste, the clipboard keys and the selection-resize handle with real events.
#include "grid/control/pro_string_grid.h"
#include "grid/data/cell_stream.h"
#include "platform/core/format_settings.h"
#include "support/shown_grid.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace {

QString U(const char* s) { return QString::fromUtf8(s); }
QString ClipText() { return QGuiApplication::clipboard()->text(); }
void SetClipText(const QString& t) { QGuiApplication::clipboard()->setText(t); }

struct ClipboardFixture : ShownGridFixture {
    void SetUp() override
    {
        ShownGridFixture::SetUp();
        TGridOptions o = G->Options();
        o.Include(goEditing);
        o.Include(goRangeSelect);
        G->SetOptions(o);
        for (int r = 1; r < G->RowCount(); ++r)
            for (int c = 1; c < G->ColCount(); ++c) G->SetCells(c, r, QStringLiteral("%1%2").arg(QChar('a' + c - 1)).arg(r));
    }
    // Texts of the block (c0, r0)-(c1, r1), rows joined by "|", cells by ",".
    QString Block(int c0, int r0, int c1, int r1)
    {
        QStringList rows;
        for (int r = r0; r <= r1; ++r) {
            QStringList cells;
            for (int c = c0; c <= c1; ++c) cells << G->Cells(c, r);
            rows << cells.join(QLatin1Char(','));
        }
        return rows.join(QLatin1Char('|'));
    }
    void Select(int l, int t, int r, int b) { G->SetSelection(TGridRect{l, t, r, b}); }
};

TEST_F(ClipboardFixture, CopiedSelectionsAreTabbedRowsAndQuotedCells)
{
    Select(1, 1, 2, 2);
    G->CopySelectionToClipboard();
    EXPECT_EQ(ClipText(), U("a1\tb1\r\na2\tb2\r\n"));
    Select(1, 3, 3, 3);
    G->CopySelectionToClipboard();
    EXPECT_EQ(ClipText(), U("a3\tb3\tc3"));
    G->SetCells(1, 1, U("two\r\nlines"));
    G->SetCells(2, 1, U("tab\there \"q\""));
    Select(1, 1, 2, 1);
    G->CopySelectionToClipboard();
    EXPECT_EQ(ClipText(), U("\"two\nlines\"\t\"tab\there \"\"q\"\"\""));
    EXPECT_EQ(G->ClipLastOp(), TProStringGrid::coCopy);
}

TEST_F(ClipboardFixture, TextOfOtherProgramsPastesIntoTheCells)
{
    struct Case {
        const char* name;
        const char* text;
        const char* block;  // (1, 1)-(2, 2) afterwards
    } cases[] = {
        {"CR LF", "x\ty\r\nz\tw\r\n", "x,y|z,w"},
        {"LF only", "x\ty\nz\tw\n", "x,y|z,w"},
        {"CR only", "x\ty\rz\tw", "x,y|z,w"},
        {"spreadsheet multi-line cell", "\"l1\nl2\"\ty\r\nz\t\"say \"\"w\"\"\"\r\n", "l1\r\nl2,y|z,say \"w\""},
    };
    for (const Case& c : cases) {
        SetClipText(U(c.text));
        Select(1, 1, 1, 1);
        G->PasteSelectionFromClipboard();
        EXPECT_EQ(Block(1, 1, 2, 2), U(c.block)) << c.name;
        EXPECT_EQ(G->Cells(1, 3), U("a3")) << c.name;
    }
}

TEST_F(ClipboardFixture, CellsRoundTripThroughTheClipboardText)
{
    const QStringList texts{U("sep,;|"), U("tab\there"), U("two\r\nlines"), U("\"q\""),
                            U("äöü € 中"), U("<b>html</b>")};
    for (int i = 0; i < texts.size(); ++i) G->SetCells(1 + i % 2, 1 + i / 2, texts[i]);
    Select(1, 1, 2, 3);
    G->CopySelectionToClipboard();
    for (int r = 1; r <= 3; ++r) G->SetCells(3, r, QString()), G->SetCells(4, r, QString());
    Select(3, 1, 3, 1);
    G->PasteSelectionFromClipboard();
    for (int i = 0; i < texts.size(); ++i) EXPECT_EQ(G->Cells(3 + i % 2, 1 + i / 2), texts[i]) << i;
}

TEST_F(ClipboardFixture, PasteGrowsTheGridOnlyWhereAllowedAndOnce)
{
    G->SetFixedRows(0);
    G->SetFixedCols(0);
    G->SetColCount(2);
    G->SetRowCount(2);
    SetClipText(U("1\t2\t3\r\n4\t5\t6\r\n7\t8\t9\r\n"));
    G->Navigation()->SetAllowClipboardColGrow(false);
    G->Navigation()->SetAllowClipboardRowGrow(false);
    G->SetSaveFixedCells(true);
    G->PasteFromClipboard();
    EXPECT_EQ(G->ColCount(), 2);
    EXPECT_EQ(G->RowCount(), 2);
    EXPECT_EQ(Block(0, 0, 1, 1), U("1,2|4,5"));
    G->Navigation()->SetAllowClipboardColGrow(true);
    G->Navigation()->SetAllowClipboardRowGrow(true);
    G->PasteFromClipboard();
    EXPECT_EQ(G->ColCount(), 3);
    EXPECT_EQ(G->RowCount(), 3);
    EXPECT_EQ(Block(0, 0, 2, 2), U("1,2,3|4,5,6|7,8,9"));
}

TEST_F(ClipboardFixture, InsertModePutsNewRowsAtThePasteRow)
{
    G->Navigation()->SetClipboardPasteAction(paInsert);
    SetClipText(U("n1\r\nn2\r\n"));
    Select(1, 2, 1, 2);
    G->PasteSelectionFromClipboard();
    EXPECT_EQ(G->RowCount(), 8);
    EXPECT_EQ(Block(1, 1, 1, 5), U("a1|n1|n2|a2|a3"));
}

TEST_F(ClipboardFixture, CutEmptiesTheEditableCellsItCopied)
{
    G->OnCanEditCell = [](TObject*, int ARow, int ACol, bool& CanEdit) { CanEdit = !(ACol == 2 && ARow == 2); };
    Select(1, 1, 2, 2);
    G->CutSelectionToClipboard();
    EXPECT_EQ(ClipText(), U("a1\tb1\r\na2\tb2\r\n"));
    EXPECT_EQ(Block(1, 1, 2, 2), U(",|,b2"));
    EXPECT_EQ(G->ClipLastOp(), TProStringGrid::coCut);
    G->OnCanEditCell = nullptr;
    G->SetSaveFixedCells(false);
    G->CutToClipboard();
    EXPECT_EQ(Block(1, 1, 4, 5), U(",,,|,,,|,,,|,,,|,,,"));
    EXPECT_EQ(G->Cells(0, 1), U(""));
}

TEST_F(ClipboardFixture, SmartPasteFillsSeriesAndRepeatsValues)
{
    G->Navigation()->SetAllowSmartClipboard(true);
    G->SetRowCount(7);
    SetClipText(U("1\r\n3\r\n"));
    Select(1, 1, 1, 5);
    G->PasteSelectionFromClipboard();
    EXPECT_EQ(Block(1, 1, 1, 5), U("1|3|5|7|9"));

    {
        TFormatSettings f;
        f.DateSeparator = QLatin1Char('/');
        f.ShortDateFormat = QStringLiteral("dd/mm/yyyy");
        ScopedFormatSettings locale{f};
        SetClipText(U("15/01/2026\r\n15/02/2026\r\n"));
        Select(2, 1, 2, 4);
        G->PasteSelectionFromClipboard();
        EXPECT_EQ(Block(2, 1, 2, 4), U("15/01/2026|15/02/2026|15/03/2026|15/04/2026"));
    }

    SetClipText(U("z"));
    Select(2, 1, 4, 3);
    G->PasteSelectionFromClipboard();
    EXPECT_EQ(Block(2, 1, 4, 3), U("z,z,z|z,z,z|z,z,z"));
}

TEST_F(ClipboardFixture, SmartPasteFormatsFloatsAsTheCellsShowThemAndRefusesOtherFormats)
{
    G->Navigation()->SetAllowSmartClipboard(true);
    struct Case {
        const char* format;
        const char* block;  // (1, 1)-(1, 4) after pasting 1.5 and 2.5 into four rows
    } cases[] = {
        {"%.1f", "1.5|2.5|3.5|4.5"},
        {"<%.3e>", "1.5|<2.500e+00>|<3.500e+00>|<4.500e+00>"},
        {"%n", "1.5|2.50|3.50|4.50"},
        // Not a format for one float: the fill ends, nothing is read from beyond the value.
        {"%s", "1.5|2.5|a3|a4"},
        {"%d", "1.5|2.5|a3|a4"},
        {"%x", "1.5|2.5|a3|a4"},
        {"%.2f%s", "1.5|2.5|a3|a4"},
        {"%p", "1.5|2.5|a3|a4"},
        {"", "1.5|2.5|a3|a4"},
        {"100%", "1.5|2.5|a3|a4"},
    };
    for (const Case& k : cases) {
        for (int r = 1; r <= 4; ++r) G->SetCells(1, r, QStringLiteral("a%1").arg(r));
        G->SetFloatFormat(U(k.format));
        SetClipText(U("1.5\r\n2.5\r\n"));
        Select(1, 1, 1, 4);
        G->PasteSelectionFromClipboard();
        EXPECT_EQ(Block(1, 1, 1, 4), U(k.block)) << k.format;
    }
}

TEST_F(ClipboardFixture, SmartPasteEndsAnIntegerSeriesBeforeItLeavesTheRange)
{
    G->Navigation()->SetAllowSmartClipboard(true);
    struct Case {
        const char* pasted;
        const char* block;  // (1, 1)-(1, 4)
    } cases[] = {
        {"9223372036854775805\r\n9223372036854775806\r\n", "9223372036854775805|9223372036854775806|9223372036854775807|a4"},
        {"-9223372036854775807\r\n-9223372036854775808\r\n", "-9223372036854775807|-9223372036854775808|a3|a4"},
        // The step itself is beyond the range.
        {"-9223372036854775808\r\n9223372036854775807\r\n", "-9223372036854775808|9223372036854775807|a3|a4"},
        {"5\r\n-2\r\n", "5|-2|-9|-16"},
    };
    for (const Case& k : cases) {
        for (int r = 1; r <= 4; ++r) G->SetCells(1, r, QStringLiteral("a%1").arg(r));
        SetClipText(U(k.pasted));
        Select(1, 1, 1, 4);
        G->PasteSelectionFromClipboard();
        EXPECT_EQ(Block(1, 1, 1, 4), U(k.block)) << k.pasted;
    }
}

TEST_F(ClipboardFixture, CellStreamCarriesColoursAndMergesIntoAnotherGrid)
{
    G->Navigation()->SetAllowFmtClipboard(true);
    G->SetColors(1, 1, 0x00FF00);
    G->MergeCells(1, 2, 2, 1);
    Select(1, 1, 2, 2);
    G->CopySelectionToClipboard();
    ASSERT_TRUE(QGuiApplication::clipboard()->mimeData()->hasFormat(U(GridCellsMimeType)));

    GridWindow<TProStringGrid> second({.Cols = 4, .Rows = 4, .ScrollBars = ssNone});
    TGridOptions o = second.G->Options();
    o.Include(goEditing);
    second.G->SetOptions(o);
    second.G->SetSelection(TGridRect{2, 2, 2, 2});
    second.G->PasteSelectionFromClipboard();
    EXPECT_EQ(second.G->Cells(2, 2), U("a1"));
    EXPECT_EQ(second.G->GetCellProperties(2, 2)->BrushColor(), TColor(0x00FF00));
    EXPECT_EQ(second.G->CellSpan(2, 3), (TPoint{1, 0}));
}

TEST_F(ClipboardFixture, ACopyOfTheWholeGridPastesAsABlockWithoutClearingTheGrid)
{
    G->Navigation()->SetAllowFmtClipboard(true);
    G->SetSaveFixedCells(false);
    Select(1, 1, 4, 5);
    G->CopySelectionToClipboard();
    Select(2, 2, 2, 2);
    G->PasteSelectionFromClipboard();
    EXPECT_EQ(G->ColCount(), 6);
    EXPECT_EQ(G->RowCount(), 7);
    EXPECT_EQ(G->Cells(1, 1), U("a1"));
    EXPECT_EQ(G->Cells(2, 2), U("a1"));
    EXPECT_EQ(G->Cells(5, 6), U("d5"));
}

TEST_F(ClipboardFixture, PasteEventsMayChangeOrRefuseEachCell)
{
    QStringList after;
    G->OnClipboardBeforePasteCell = [](TObject*, int ACol, int, QString& Value, bool& Allow) {
        Allow = ACol != 2;
        Value = Value.toUpper();
    };
    G->OnClipboardAfterPasteCell = [&](TObject*, int ACol, int ARow, const QString& Value) {
        after << QStringLiteral("%1,%2=%3").arg(ACol).arg(ARow).arg(Value);
    };
    SetClipText(U("x	y	z"));
    Select(1, 1, 1, 1);
    G->PasteSelectionFromClipboard();
    EXPECT_EQ(Block(1, 1, 3, 1), U("X,b1,Z"));
    EXPECT_EQ(after, (QStringList{U("1,1=X"), U("3,1=Z")}));
    G->OnClipboardBeforePasteCell = nullptr;
    G->OnClipboardAfterPasteCell = nullptr;
}

TEST_F(ClipboardFixture, RichTextTravelsAsRtfWhenAllowed)
{
    G->Navigation()->SetAllowRTFClipboard(true);
    const QString rtf = U("{\\rtf1 bold}");
    G->SetCells(1, 1, rtf);
    Select(1, 1, 1, 1);
    G->CopySelectionToClipboard();
    const QMimeData* m = QGuiApplication::clipboard()->mimeData();
    ASSERT_TRUE(m->hasFormat(U("text/rtf")));
    EXPECT_EQ(m->data(U("text/rtf")), rtf.toLatin1() + QByteArray(1, '\0'));
    Select(3, 3, 3, 3);
    G->PasteSelectionFromClipboard();
    EXPECT_EQ(G->Cells(3, 3), rtf);
}

TEST_F(ClipboardFixture, SelectionAsTextReadsAndWritesTheBlockRaw)
{
    ROdeVivaZedaDure undo;
    G->SetUndoRedo(&undo);
    Select(3, 4, 4, 5);
    EXPECT_EQ(G->GetSelectionAsText(), U("c4\td4\r\nc5\td5\r\n"));
    G->SetSelectionAsText(U("1\t2\t3\n4\n5\n"));
    EXPECT_EQ(G->ColCount(), 6);
    EXPECT_EQ(G->RowCount(), 7);
    EXPECT_EQ(Block(3, 4, 5, 6), U("1,2,3|4,d5,|5,,"));
    EXPECT_FALSE(undo.CanUndo());
    G->SetUndoRedo(nullptr);
}

TEST_F(ClipboardFixture, AStreamThatIsNotWholeChangesNothing)
{
    G->Navigation()->SetAllowFmtClipboard(true);
    Select(1, 1, 2, 2);
    G->CopySelectionToClipboard();
    const QByteArray good = QGuiApplication::clipboard()->mimeData()->data(U(GridCellsMimeType));
    auto* mime = new QMimeData;
    mime->setData(U(GridCellsMimeType), good.left(good.size() - 5));
    mime->setText(U("text"));
    QGuiApplication::clipboard()->setMimeData(mime);
    const QString before = Block(0, 0, 4, 5);
    Select(3, 3, 3, 3);
    EXPECT_THROW(G->PasteSelectionFromClipboard(), Exception);
    EXPECT_EQ(Block(0, 0, 4, 5), before);
    EXPECT_EQ(G->RowCount(), 6);
}

TEST_F(ClipboardFixture, APasteIsOneUndoStepWithOldAndNewTexts)
{
    ROdeVivaZedaDure undo;
    G->SetUndoRedo(&undo);
    SetClipText(U("p\tq\r\nr\ts\r\n"));
    Select(1, 1, 1, 1);
    G->PasteSelectionFromClipboard();
    ASSERT_EQ(Block(1, 1, 2, 2), U("p,q|r,s"));
    undo.Undo();
    EXPECT_EQ(Block(1, 1, 2, 2), U("a1,b1|a2,b2"));
    EXPECT_FALSE(undo.CanUndo());
    undo.Redo();
    EXPECT_EQ(Block(1, 1, 2, 2), U("p,q|r,s"));
    G->SetUndoRedo(nullptr);
}

TEST_F(ClipboardFixture, ALargePasteGrowsOnceAndUndoesInOneStep)
{
    ROdeVivaZedaDure undo;
    undo.SetMaxLevel(50);
    G->SetUndoRedo(&undo);
    QString text;
    for (int r = 0; r < 20000; ++r) text += QStringLiteral("%1\tx\ty\r\n").arg(r);
    SetClipText(text);
    Select(1, 1, 1, 1);
    G->PasteSelectionFromClipboard();
    EXPECT_EQ(G->RowCount(), 20001);
    EXPECT_EQ(G->ColCount(), 5);
    EXPECT_EQ(G->Cells(1, 20000), U("19999"));
    undo.Undo();
    EXPECT_EQ(G->Cells(1, 1), U("a1"));
    EXPECT_EQ(G->Cells(1, 20000), U(""));
    G->SetUndoRedo(nullptr);
}

TEST_F(ClipboardFixture, ClipboardKeysCopyCutAndPaste)
{
    G->Navigation()->SetAllowClipboardShortCuts(true);
    G->FocusCell(1, 1);
    QTest::keyClick(G, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(G, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(ClipText(), U("a1\tb1"));

    QTest::keyClick(G, Qt::Key_Left);
    QTest::keyClick(G, Qt::Key_Down);
    QTest::keyClick(G, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Block(1, 2, 2, 2), U("a1,b1"));

    QTest::keyClick(G, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(ClipText(), U("a1"));
    EXPECT_EQ(Block(1, 2, 2, 2), U(",b1"));

    QTest::keyClick(G, Qt::Key_Down);
    QTest::keyClick(G, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(G->Cells(1, 3), U("a1"));

    bool asked = false;
    G->OnClipboardPaste = [&](TObject*, bool& Allow) {
        asked = true;
        Allow = false;
    };
    SetClipText(U("refused"));
    QTest::keyClick(G, Qt::Key_V, Qt::ControlModifier);
    EXPECT_TRUE(asked);
    EXPECT_EQ(G->Cells(1, 3), U("a1"));
    G->OnClipboardPaste = nullptr;
    EXPECT_FALSE(G->EditorMode());
}

TEST_F(ClipboardFixture, ClipboardKeysDoNothingWithoutTheShortCutsOption)
{
    SetClipText(U("unchanged"));
    G->FocusCell(1, 1);
    QTest::keyClick(G, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(ClipText(), U("unchanged"));
}

TEST_F(ClipboardFixture, TheResizeHandleCopiesAndFillsTheDraggedSelection)
{
    G->SetSelectionResizer(true);
    G->SetSelectionRectangle(true);
    G->Navigation()->SetAllowSmartClipboard(true);
    G->SetCells(1, 1, U("1"));
    G->SetCells(1, 2, U("2"));
    Select(1, 1, 1, 2);
    std::vector<std::pair<TGridRect, TGridRect>> events;
    G->OnSelectionResize = [&](TObject*, TGridRect a, TGridRect b) { events.push_back({a, b}); };
    G->OnSelectionResized = [&](TObject*, TGridRect a, TGridRect b) { events.push_back({a, b}); };
    const TRect k = G->CellRect(1, 2);
    const QPoint handle(k.Right - 2, k.Bottom - 2);
    QTest::mousePress(V(), Qt::LeftButton, Qt::NoModifier, handle);
    EXPECT_TRUE(G->MouseResizing());
    Move(In(1, 5).x(), In(1, 5).y());
    QTest::mouseRelease(V(), Qt::LeftButton, Qt::NoModifier, In(1, 5));
    QApplication::processEvents();
    EXPECT_FALSE(G->MouseResizing());
    EXPECT_EQ(Block(1, 1, 1, 5), U("1|2|3|4|5"));
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].first, (TGridRect{1, 1, 1, 2}));
    EXPECT_EQ(events[0].second, (TGridRect{1, 1, 1, 5}));
}

TEST_F(ClipboardFixture, APressBesideTheHandleSelectsAsUsual)
{
    G->SetSelectionResizer(true);
    G->SetSelectionRectangle(true);
    Select(1, 1, 1, 1);
    QTest::mouseClick(V(), Qt::LeftButton, Qt::NoModifier, In(2, 3));
    EXPECT_FALSE(G->MouseResizing());
    EXPECT_EQ(G->Selection(), (TGridRect{2, 3, 2, 3}));
}
}  // namespace
