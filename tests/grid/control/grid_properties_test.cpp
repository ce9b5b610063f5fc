// Grid properties whose setters do more than store: clamps, side effects, header lists,
// listeners, zoom and the dialog-key answer.
#include "grid/control/pro_column_grid.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {
struct Props : ::testing::Test {
    TProStringGrid* G = nullptr;
    void SetUp() override
    {
        G = CreateGrid<TProStringGrid>();
        G->SetColCount(4);
        G->SetRowCount(5);
    }
    void TearDown() override { G->Free(); }
};
}  // namespace

TEST_F(Props, MixerFactorIsKeptWithinAHundred)
{
    const struct {
        int in, stored;
    } cases[] = {{150, 100}, {-5, 0}, {30, 30}, {100, 100}, {0, 0}};
    for (const auto& c : cases) {
        G->SetSelectionColorMixerFactor(c.in);
        EXPECT_EQ(G->SelectionColorMixerFactor(), c.stored) << c.in;
    }
}

TEST_F(Props, SpreadSheetSwitchesSpreadsheetEditingOnWhateverTheValue)
{
    G->SetOptions(TGridOptions{});
    G->SetSpreadSheet(false);
    EXPECT_TRUE(G->SelectionRectangle());
    EXPECT_TRUE(G->SelectionResizer());
    EXPECT_TRUE(G->Navigation()->AllowSmartClipboard());
    EXPECT_TRUE(G->Options().Contains(goRangeSelect));
    EXPECT_TRUE(G->Options().Contains(goEditing));
    EXPECT_TRUE(G->MouseActions()->RangeSelectAndEdit());
}

TEST_F(Props, HeaderListsWriteTheFixedRowAndColumn)
{
    G->SetFixedRows(0);
    G->SetColumnHeaderList({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    EXPECT_EQ(G->Cells(0, 0), QString());
    G->SetFixedRows(1);
    G->SetColumnHeaderList({QStringLiteral("one\\ntwo"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d"),
                            QStringLiteral("beyond")});
    EXPECT_EQ(G->Cells(0, 0), QStringLiteral("one\rtwo"));
    EXPECT_EQ(G->Cells(3, 0), QStringLiteral("d"));
    // Changing the list rewrites the row.
    G->ColumnHeaders()->SetStrings({QStringLiteral("x")});
    EXPECT_EQ(G->Cells(0, 0), QStringLiteral("x"));
    G->SetRowHeaderList({QString(), QStringLiteral("r1"), QStringLiteral("r2")});
    EXPECT_EQ(G->Cells(0, 2), QStringLiteral("r2"));
    G->ClearRowHeaders();
    EXPECT_EQ(G->Cells(0, 2), QString());
}

TEST_F(Props, ZoomGrowsSizesWithinTenPixels)
{
    const int w = G->ColWidths(1), h = G->RowHeights(1);
    for (int i = 0; i < 3; ++i) G->Zoom(3);
    EXPECT_EQ(G->ColWidths(1), w + 9);
    EXPECT_EQ(G->RowHeights(1), h + 9);
    G->Zoom(3);  // would make 12
    EXPECT_EQ(G->ZoomFactor(), 9);
    EXPECT_EQ(G->ColWidths(1), w + 9);
    G->Zoom(-9);
    EXPECT_EQ(G->ColWidths(1), w);
    // A hidden column stays hidden.
    G->SetColWidths(2, 0);
    G->Zoom(2);
    EXPECT_EQ(G->ColWidths(2), 0);
}

TEST_F(Props, ListenersAndPrintLayoutAndVersion)
{
    TObject a, b;
    G->RegisterNotifier(&a);
    G->RegisterNotifier(&a);
    G->RegisterNotifier(&b);
    EXPECT_EQ(G->Notifiers().size(), 2u);
    G->UnRegisterNotifier(&a);
    G->UnRegisterNotifier(&a);
    EXPECT_EQ(G->Notifiers().size(), 1u);

    G->MaxWidths.resize(4);
    G->MaxWidths[3] = 77;
    EXPECT_EQ(G->GetPrintColWidth(3), 77);
    try {
        G->GetPrintColWidth(600);
        ADD_FAILURE();
    } catch (const EProGridError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Columns is not in valid range"));
    }
    EXPECT_THROW(G->GetPrintColOffset(-1), EProGridError);
    EXPECT_EQ(G->Version(), QStringLiteral("6.2.1.3"));
    EXPECT_EQ(G->GetVersionString(), QStringLiteral("6.2.1.3 Sep, 2012"));
}

TEST_F(Props, DialogCodeWantsCharactersWithoutEditing)
{
    TMessage m{WM_GETDLGCODE};
    G->SetOptions(TGridOptions{goFixedVertLine});
    G->Perform(WM_GETDLGCODE);
    G->WMGetDlgCode(m);
    EXPECT_TRUE(m.Result & DLGC_WANTCHARS);
}

TEST_F(Props, VerticalAlignmentGivesItsTextFlag)
{
    const struct {
        TVAlignment a;
        uint32_t flag;
    } cases[] = {{vtaTop, 0}, {vtaCenter, 4}, {vtaBottom, 8}};
    for (const auto& c : cases) {
        G->SetVAlignment(c.a);
        EXPECT_EQ(G->VAlignFlag(), c.flag);
    }
}

TEST_F(Props, SizingVetoesStopAColumnSizeOnTheHeader)
{
    QWidget w;
    G->setParent(&w);
    G->SetBorderStyle(bsNone);
    G->SetScrollBars(ssNone);
    G->SetOptions(G->Options() + goColSizing);
    G->SetBounds(0, 0, 400, 200);
    w.resize(400, 200);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    int asked = -1;
    G->OnColumnSize = [&](TObject*, int c, bool& allow) { asked = c, allow = false; };
    const int edge = G->CellRect(1, 0).Right;
    EXPECT_TRUE(G->IsOnSizingBorder(edge - 1, 5));
    EXPECT_FALSE(G->IsOnSizingBorder(edge - 20, 5));
    const int before = G->ColWidths(1);
    QTest::mousePress(G->viewport(), Qt::LeftButton, {}, QPoint(edge - 1, 5));
    QTest::mouseMove(G->viewport(), QPoint(edge + 30, 5));
    QTest::mouseRelease(G->viewport(), Qt::LeftButton, {}, QPoint(edge + 30, 5));
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(G->ColWidths(1), before);
    G->setParent(nullptr);
}
