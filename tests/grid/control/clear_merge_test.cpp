#include "grid/control/grid_change_notifier.h"
#include "grid/control/pro_string_grid.h"

#include <functional>
#include <gtest/gtest.h>

namespace {
constexpr int Cols = 5;
constexpr int Rows = 7;

// One fixed row and column, every cell holding "c:r"; (1, 1) has a check box and a colour.
struct ClearFixture : ::testing::Test {
    void SetUp() override
    {
        G = CreateGrid<TProStringGrid>();
        G->SetColCount(Cols);
        G->SetRowCount(Rows);
        G->SetFixedRows(1);
        G->SetFixedCols(1);
        Fill();
        G->AddCheckBox(1, 1, true, false);
        G->SetColors(1, 1, 0x0000FF);
    }
    void TearDown() override { G->Free(); }
    void Fill()
    {
        for (int r = 0; r < G->RowCount(); ++r)
            for (int c = 0; c < G->TotalColCount(); ++c) G->SetCells(c, r, Text(c, r));
    }
    static QString Text(int c, int r) { return QStringLiteral("%1:%2").arg(c).arg(r); }
    QStringList Snapshot()
    {
        QStringList s;
        for (int r = 0; r < G->RowCount(); ++r)
            for (int c = 0; c < G->TotalColCount(); ++c) s << G->Cells(c, r);
        return s;
    }
    TProStringGrid* G = nullptr;
};

// A follower that records the ranges the grid reports.
struct Follower : TGridChangeNotifier {
    std::vector<TRect> Ranges;
    void CellsChanged(TRect R) override { Ranges.push_back(R); }
};
}  // namespace

TEST_F(ClearFixture, RangesAreClearedAndWhatSurvivesDependsOnTheRange)
{
    struct Case {
        const char* Name;
        std::function<void(TProStringGrid*)> Clear;
        std::function<bool(int c, int r)> Cleared;
        bool PropsKept;   // the check box and colour of (1, 1)
    };
    const std::vector<Case> cases = {
        {"rect", [](auto* g) { g->ClearRect(1, 1, 2, 2); },
         [](int c, int r) { return c >= 1 && c <= 2 && r >= 1 && r <= 2; }, false},
        {"rect, texts only",
         [](auto* g) {
             g->SetClearTextOnly(true);
             g->ClearRect(1, 1, 2, 2);
         },
         [](int c, int r) { return c >= 1 && c <= 2 && r >= 1 && r <= 2; }, true},
        {"reversed rect", [](auto* g) { g->ClearRect(2, 2, 1, 1); }, [](int, int) { return false; }, true},
        {"rows", [](auto* g) { g->ClearRows(2, 2); }, [](int, int r) { return r == 2 || r == 3; }, true},
        {"no rows", [](auto* g) { g->ClearRows(2, 0); }, [](int, int) { return false; }, true},
        {"cols", [](auto* g) { g->ClearCols(1, 1); }, [](int c, int) { return c == 1; }, false},
        {"normal rows (fixed right column kept)",
         [](auto* g) {
             g->SetFixedRightCols(1);
             g->ClearNormalRows(1, 1);
         },
         [](int c, int r) { return r == 1 && c >= 1 && c <= 3; }, false},
        {"normal cols (footer kept)",
         [](auto* g) {
             g->SetFixedFooters(1);
             g->ClearNormalCols(2, 2);
         },
         [](int c, int r) { return (c == 2 || c == 3) && r >= 1 && r <= 5; }, true},
        {"normal cells",
         [](auto* g) {
             g->SetFixedFooters(1);
             g->ClearNormalCells();
         },
         [](int c, int r) { return c >= 1 && r >= 1 && r <= 5; }, false},
        {"selection",
         [](auto* g) { g->SetSelection(TGridRect{2, 3, 3, 4}); g->ClearSelection(); },
         [](int c, int r) { return c >= 2 && c <= 3 && r >= 3 && r <= 4; }, true},
        {"selected rows",
         [](auto* g) {
             g->MouseActions()->SetDisjunctRowSelect(true);
             g->SetRowSelect(2, true);
             g->SetRowSelect(5, true);
             g->ClearSelection();
         },
         [](int, int r) { return r == 2 || r == 5; }, true},
        {"whole grid", [](auto* g) { g->Clear(); }, [](int, int) { return true; }, false},
    };
    for (const Case& k : cases) {
        TearDown();
        SetUp();
        k.Clear(G);
        for (int r = 0; r < G->RowCount(); ++r)
            for (int c = 0; c < G->ColCount(); ++c) {
                const bool cleared = k.Cleared(c, r);
                // (1, 1) shows its check box text when kept; compare the raw store
                const QString want = cleared ? QString() : Text(c, r);
                EXPECT_EQ(G->GetGridCell(c, r), want) << k.Name << " cell " << c << "," << r;
            }
        EXPECT_EQ(G->HasCheckBox(1, 1), k.PropsKept) << k.Name;
        EXPECT_EQ(G->GetColors(1, 1), k.PropsKept ? TColor(0x0000FF) : clNone) << k.Name;
    }
}

TEST_F(ClearFixture, ClearingTheWholeGridLeavesNoCellPropertiesAndReportsTheRange)
{
    Follower f;
    G->RegisterNotifier(&f);
    TRect reported{-1, -1, -1, -1};
    G->OnCellsChanged = [&](TObject*, TRect R) { reported = R; };
    G->ClearRect(1, 2, 3, 4);
    EXPECT_EQ(reported, (TRect{1, 2, 3, 4}));
    ASSERT_EQ(f.Ranges.size(), 1u);
    EXPECT_EQ(f.Ranges[0], (TRect{1, 2, 3, 4}));
    EXPECT_TRUE(G->HasCellProps());
    G->Clear();
    EXPECT_FALSE(G->HasCellProps());
    G->UnRegisterNotifier(&f);
    G->SetBlockCellChange(true);
    G->ClearRows(1, 1);
    EXPECT_EQ(f.Ranges.size(), 2u);
}

TEST_F(ClearFixture, HiddenColumnsAreClearedAndHiddenRowsOnlyByClearAll)
{
    G->HideColumn(2);
    G->HideRow(3);
    G->Clear();
    for (int r = 0; r < G->RowCount(); ++r)
        for (int c = 0; c < G->TotalColCount(); ++c) EXPECT_EQ(G->GetGridCell(c, r), QString()) << c << "," << r;
    G->UnHideColumn(2);
    EXPECT_EQ(G->Cells(2, 1), QString());
    G->UnHideRowsAll();
    EXPECT_EQ(G->Cells(1, 3), Text(1, 3)) << "Clear keeps the hidden row";

    Fill();
    G->HideRow(3);
    G->ClearAll();
    G->UnHideRowsAll();
    for (int c = 0; c < Cols; ++c) EXPECT_EQ(G->Cells(c, 3), QString()) << c;
}

TEST_F(ClearFixture, IndexesOutsideTheGridRaiseBeforeAnythingChanges)
{
    const QStringList before = Snapshot();
    const std::vector<std::pair<const char*, std::function<void()>>> calls = {
        {"ClearRect right", [&] { G->ClearRect(0, 0, Cols, 1); }},
        {"ClearRect bottom", [&] { G->ClearRect(0, 0, 1, Rows); }},
        {"ClearRect negative", [&] { G->ClearRect(-1, 0, 1, 1); }},
        {"ClearRows", [&] { G->ClearRows(Rows - 1, 2); }},
        {"ClearRows negative", [&] { G->ClearRows(-1, 1); }},
        {"ClearCols", [&] { G->ClearCols(Cols, 1); }},
        {"ClearNormalRows", [&] { G->ClearNormalRows(Rows, 1); }},
        {"ClearNormalCols", [&] { G->ClearNormalCols(-2, 1); }},
        {"TrimRect", [&] { G->TrimRect(0, 0, 0, Rows); }},
        {"TrimColumn", [&] { G->TrimColumn(Cols); }},
        {"TrimRow", [&] { G->TrimRow(Rows); }},
        {"ColorRect", [&] { G->ColorRect(0, 0, Cols, 0, 0xFF); }},
        {"MergeCols", [&] { G->MergeCols(1, Cols, " "); }},
        {"MergeColumnCells", [&] { G->MergeColumnCells(Cols, true); }},
        {"MergeRowCells", [&] { G->MergeRowCells(Rows, true); }},
        {"SplitColumnCells", [&] { G->SplitColumnCells(-1); }},
        {"SplitRowCells", [&] { G->SplitRowCells(Rows); }},
    };
    for (const auto& [name, call] : calls) {
        EXPECT_THROW(call(), EProGridError) << name;
        EXPECT_EQ(Snapshot(), before) << name;
    }
    EXPECT_EQ(G->ColCount(), Cols);
    EXPECT_EQ(G->GetColors(0, 0), clNone);
}

TEST_F(ClearFixture, TrimmingRemovesBlanksAndControlCharactersAtBothEnds)
{
    G->SetCells(1, 1, QStringLiteral("  x \t"));
    G->SetCells(2, 1, QStringLiteral("\r\na b\n"));
    G->SetCells(1, 2, QStringLiteral(" y "));
    G->TrimRow(1);
    EXPECT_EQ(G->Cells(1, 1), "x");
    EXPECT_EQ(G->Cells(2, 1), "a b");
    EXPECT_EQ(G->Cells(1, 2), " y ");
    G->TrimAll();
    EXPECT_EQ(G->Cells(1, 2), "y");
}

TEST_F(ClearFixture, ColorRectColoursEveryCellOfTheRectangle)
{
    G->ColorRect(2, 2, 3, 4, 0x00FF00);
    for (int r = 0; r < Rows; ++r)
        for (int c = 0; c < Cols; ++c) {
            const bool in = c >= 2 && c <= 3 && r >= 2 && r <= 4;
            if (c == 1 && r == 1) continue;
            EXPECT_EQ(G->GetColors(c, r), in ? TColor(0x00FF00) : clNone) << c << "," << r;
        }
}

TEST_F(ClearFixture, MergeColsJoinsTheTextsAndRemovesTheSecondColumn)
{
    G->SetCells(1, 1, "a");
    G->SetCells(2, 1, "b");
    G->SetCells(1, 2, "a");
    G->SetCells(2, 2, "");
    G->MergeCols(1, 2, " ");
    EXPECT_EQ(G->ColCount(), Cols - 1);
    EXPECT_EQ(G->Cells(1, 1), "a b");
    EXPECT_EQ(G->Cells(1, 2), "a");
    EXPECT_EQ(G->Cells(1, 0), Text(1, 0)) << "fixed rows are not joined";
    EXPECT_EQ(G->Cells(2, 1), Text(3, 1)) << "the columns after move up";
    // a column joined with itself stays
    G->MergeCols(1, 1, " ");
    EXPECT_EQ(G->ColCount(), Cols - 1);
    EXPECT_EQ(G->Cells(1, 1), "a b");
}

namespace {
// Spans (x, y) of the base cells of a column or row; covered cells read as "-".
QStringList ColumnSpans(TProStringGrid* g, int c)
{
    QStringList s;
    for (int r = g->FixedRows(); r < g->RowCount(); ++r) {
        if (g->IsMergedNonBaseCell(c, r)) s << "-";
        else s << QStringLiteral("%1").arg(g->CellSpan(c, r).Y);
    }
    return s;
}
QStringList RowSpans(TProStringGrid* g, int r)
{
    QStringList s;
    for (int c = g->FixedCols(); c < g->ColCount(); ++c) {
        if (g->IsMergedNonBaseCell(c, r)) s << "-";
        else s << QStringLiteral("%1").arg(g->CellSpan(c, r).X);
    }
    return s;
}
}  // namespace

TEST_F(ClearFixture, EqualTextsAreMergedAlongColumnsNestedAndSplitAgain)
{
    G->Clear();
    const QStringList col1 = {"a", "a", "b", "b", "b", "c"};
    const QStringList col2 = {"x", "x", "x", "y", "y", "z"};
    for (int i = 0; i < col1.size(); ++i) {
        G->SetCells(1, i + 1, col1[i]);
        G->SetCells(2, i + 1, col2[i]);
    }
    G->MergeColumnCells(1, true);
    EXPECT_EQ(ColumnSpans(G, 1), (QStringList{"1", "-", "2", "-", "-", "0"}));
    EXPECT_EQ(G->Cells(1, 4), "b");
    // merged after the first column, the x run is cut where the a block ends
    G->MergeColumnCells(2, false);
    EXPECT_EQ(ColumnSpans(G, 2), (QStringList{"1", "-", "0", "1", "-", "0"}));
    // merged as a main column, it is not
    G->SplitColumnCells(2);
    G->MergeColumnCells(2, true);
    EXPECT_EQ(ColumnSpans(G, 2), (QStringList{"2", "-", "-", "1", "-", "0"}));

    G->SplitColumnCells(1);
    EXPECT_EQ(ColumnSpans(G, 1), (QStringList{"0", "0", "0", "0", "0", "0"}));
    EXPECT_EQ(ColumnSpans(G, 2), (QStringList{"2", "-", "-", "1", "-", "0"}));
    EXPECT_EQ(G->Cells(1, 4), "b");
    G->SplitAllCells();
    EXPECT_EQ(ColumnSpans(G, 2), (QStringList{"0", "0", "0", "0", "0", "0"}));
    EXPECT_EQ(G->Cells(2, 2), "x");
}

TEST_F(ClearFixture, EqualTextsAreMergedAlongARowAndSplitAgain)
{
    G->SetColCount(6);
    G->SetFixedRightCols(1);
    const QStringList texts = {"x", "y", "y", "z", "z"};   // the last z is the fixed right column's
    for (int i = 0; i < texts.size(); ++i) G->SetCells(i + 1, 2, texts[i]);
    G->MergeRowCells(2, true);
    EXPECT_EQ(RowSpans(G, 2), (QStringList{"0", "1", "-", "0", "0"}));
    G->SplitRowCells(2);
    EXPECT_EQ(RowSpans(G, 2), (QStringList{"0", "0", "0", "0", "0"}));
    EXPECT_EQ(G->Cells(3, 2), "y");
}

TEST(ClearLarge, RowOperationsOnAHundredThousandRowsStayLinear)
{
    // A walk that costs rows x rows would not finish here in any reasonable time.
    auto* g = CreateGrid<TProStringGrid>();
    const int n = 100000;
    g->SetColCount(3);
    g->SetRowCount(n);
    g->SetFixedRows(1);
    for (int r = 1; r < n; ++r) {
        g->SetCells(1, r, QString::number(r / 4));
        g->SetCells(2, r, QStringLiteral(" v "));
    }
    g->MergeColumnCells(1, true);
    EXPECT_EQ(g->CellSpan(1, 4).Y, 3);
    g->SplitColumnCells(1);
    EXPECT_FALSE(g->IsMergedCell(1, 4));
    g->TrimColumn(2);
    EXPECT_EQ(g->Cells(2, n - 1), "v");
    g->HideRow(5);
    g->MouseActions()->SetDisjunctRowSelect(true);
    g->MouseActions()->SetRowSelectPersistent(true);
    g->SetRowSelect(n - 2, true);
    g->ClearSelection();
    EXPECT_EQ(g->Cells(1, n - 3), QString()) << "the flag of real row n-2 is present row n-3";
    EXPECT_EQ(g->Cells(1, n - 2), QString::number((n - 1) / 4));
    g->ClearNormalCells();
    EXPECT_EQ(g->Cells(2, n - 2), QString());
    g->Free();
}
