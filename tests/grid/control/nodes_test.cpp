#include "grid/control/pro_string_grid.h"
#include "id_rows_fixture.h"

#include <functional>
#include <gtest/gtest.h>

namespace {
constexpr int Rows = 10;

// A grid of 10 rows, each recognised by its text in column 1 ("<id>") and its height.
struct NodeFixture : IdRowsFixture {
    NodeFixture() : IdRowsFixture(1) {}
    void SetUp() override
    {
        grid = CreateGrid<TProStringGrid>();
        grid->SetColCount(3);
        grid->SetRowCount(Rows);
        for (int r = 0; r < Rows; ++r) {
            grid->SetCells(1, r, QString::number(r));
            grid->SetRowHeights(r, 20 + r);
        }
    }
    // Heights travel with their rows.
    void ExpectHeights(const std::string& what)
    {
        for (int r = 0; r < grid->RowCount(); ++r)
            EXPECT_EQ(grid->RowHeights(r), 20 + grid->Cells(1, r).toInt()) << what << " row " << r;
    }
    std::vector<int> Levels()
    {
        std::vector<int> l;
        for (int r = 0; r < grid->RowCount(); ++r)
            l.push_back(grid->HasCellProperties(0, r) ? grid->GetCellProperties(0, r)->NodeLevel() : 0);
        return l;
    }
};
const std::vector<int> All = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
}  // namespace

TEST_F(NodeFixture, ANodeHidesItsSpanAndShowsItAgainInPlace)
{
    grid->AddNode(1, 3);
    EXPECT_TRUE(grid->HasNodes());
    EXPECT_EQ(Levels(), std::vector<int>({0, 1, 1, 1, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(grid->GetNodeLevel(1), 1);
    EXPECT_EQ(grid->GetNodeLevel(2), -1);
    EXPECT_EQ(grid->GetNodeSpan(1), 3);
    grid->ContractNode(1);
    EXPECT_TRUE(grid->GetNodeState(1));
    EXPECT_EQ(Shown(), std::vector<int>({0, 1, 4, 5, 6, 7, 8, 9}));
    grid->ExpandNode(1);
    EXPECT_FALSE(grid->GetNodeState(1));
    EXPECT_EQ(Shown(), All);
    EXPECT_EQ(Levels(), std::vector<int>({0, 1, 1, 1, 0, 0, 0, 0, 0, 0}));

    grid->RemoveNode(1);
    EXPECT_FALSE(grid->HasNodes());
    EXPECT_FALSE(grid->IsNode(1));
    EXPECT_EQ(Levels(), std::vector<int>(Rows, 0));
}

TEST_F(NodeFixture, ContractAndExpandRoundTrips)
{
    struct Case {
        const char* Name;
        std::function<void(TProStringGrid*)> Build;   // nodes and hidden rows
        std::function<void(TProStringGrid*)> Contract;
        std::vector<int> Contracted;
        std::function<void(TProStringGrid*)> Expand;
        std::vector<int> Expanded;
    };
    const std::vector<Case> cases = {
        {"nested, inner contracted first",
         [](auto* g) { g->AddNode(1, 6); g->AddNode(3, 2); },
         [](auto* g) { g->ContractNode(3); g->ContractNode(1); }, {0, 1, 7, 8, 9},
         [](auto* g) { g->ExpandNode(1); }, All},
        {"nested, outer only",
         [](auto* g) { g->AddNode(1, 6); g->AddNode(3, 2); },
         [](auto* g) { g->ContractNode(1); }, {0, 1, 7, 8, 9},
         [](auto* g) { g->ExpandNode(1); }, All},
        {"a child hidden already",
         [](auto* g) { g->AddNode(1, 5); g->HideRow(3); },
         [](auto* g) { g->ContractNode(1); }, {0, 1, 6, 7, 8, 9},
         [](auto* g) { g->ExpandNode(1); }, All},
        {"a row above hidden already",
         [](auto* g) { g->AddNode(3, 4); g->HideRow(1); },
         [](auto* g) { g->ContractNode(3); }, {0, 2, 3, 7, 8, 9},
         [](auto* g) { g->ExpandNode(3); }, {0, 2, 3, 4, 5, 6, 7, 8, 9}},
        {"spans up to the next node",
         [](auto* g) { g->AddNode(1, 0); g->AddNode(5, 0); },
         [](auto* g) { g->ContractAll(); }, {0, 1, 5},
         [](auto* g) { g->ExpandAll(); }, All},
        {"contract all leaves inner nodes open",
         [](auto* g) { g->AddNode(1, 6); g->AddNode(3, 2); g->ContractNode(3); },
         [](auto* g) { g->ContractAll(); }, {0, 1, 7, 8, 9},
         [](auto* g) { g->ExpandNode(1); }, All},
        {"node state by display row",
         [](auto* g) { g->AddNode(1, 2); g->AddNode(4, 3); },
         [](auto* g) { g->SetNodeState(1, true); g->SetNodeState(3, true); }, {0, 1, 3, 4, 7, 8, 9},
         [](auto* g) { g->SetNodeState(3, false); g->SetNodeState(1, false); }, All},
        {"expand one contracts the others",
         [](auto* g) { g->AddNode(1, 3); g->AddNode(5, 3); g->ContractNode(5); g->CellNode()->SetExpandOne(true); },
         [](auto* g) { g->ExpandNode(5); }, {0, 1, 4, 5, 6, 7, 8, 9},
         [](auto* g) { g->CellNode()->SetExpandOne(false); g->ExpandAll(); }, All},
    };
    for (const Case& k : cases) {
        Reset();
        k.Build(grid);
        k.Contract(grid);
        EXPECT_EQ(Shown(), k.Contracted) << k.Name;
        ExpectHeights(k.Name);
        k.Expand(grid);
        EXPECT_EQ(Shown(), k.Expanded) << k.Name;
        ExpectHeights(k.Name);
        for (int r = 0; r < grid->RowCount(); ++r)
            if (grid->IsNode(r)) EXPECT_FALSE(grid->GetNodeState(r)) << k.Name << " node " << r << " reads contracted";
    }
}

TEST_F(NodeFixture, ParentRowsCountHiddenChildrenOut)
{
    grid->AddNode(1, 3);
    grid->AddNode(5, 3);
    grid->ContractNode(1);   // display rows: 0 1 | 4 5 6 7 8 9
    EXPECT_EQ(grid->GetParentRow(4), 3);   // real row 6 under the node at real row 5
    EXPECT_EQ(grid->GetParentRow(3), 3);   // a top-level node answers itself
    EXPECT_EQ(grid->GetParentRow(2), -1);  // real row 4 lies in no node
    EXPECT_EQ(grid->GetParentRow(6), -1);
}

TEST_F(NodeFixture, ChildRowsKeepSpansAndLevels)
{
    grid->AddNode(1, 3);
    grid->InsertChildRow(1, 0);
    // The node row's texts moved into the new row below it.
    EXPECT_EQ(grid->Cells(1, 1), QString());
    EXPECT_EQ(grid->Cells(1, 2), QStringLiteral("1"));
    EXPECT_EQ(grid->GetNodeSpan(1), 4);
    EXPECT_EQ(grid->GetSubNodeCount(1), 1);
    EXPECT_EQ(grid->GetCellProperties(0, 2)->NodeLevel(), 1);

    grid->InsertChildRow(3, 1);   // below a child row
    EXPECT_EQ(grid->GetNodeSpan(1), 5);
    EXPECT_EQ(grid->Cells(1, 4), QString());
    grid->ContractNode(1);
    EXPECT_EQ(Shown(), std::vector<int>({0, -1, 4, 5, 6, 7, 8, 9}));
    grid->ExpandNode(1);
    EXPECT_EQ(Shown(), std::vector<int>({0, -1, 1, 2, -1, 3, 4, 5, 6, 7, 8, 9}));

    grid->RemoveChildRow(4);
    EXPECT_EQ(grid->GetNodeSpan(1), 4);
    EXPECT_EQ(grid->GetSubNodeCount(1), 1);
    EXPECT_EQ(grid->RowCount(), Rows + 1);

    // Nested: a child of the inner node grows both spans.
    Reset();
    grid->AddNode(1, 6);
    grid->AddNode(3, 2);
    grid->InsertChildRow(4, 1);
    EXPECT_EQ(grid->GetNodeSpan(3), 3);
    EXPECT_EQ(grid->GetNodeSpan(1), 7);
    EXPECT_EQ(grid->GetCellProperties(0, 5)->NodeLevel(), 2);
    grid->ContractNode(1);
    EXPECT_EQ(Shown(), std::vector<int>({0, 1, 7, 8, 9}));
}

TEST_F(NodeFixture, GlyphHitTestAndLevels)
{
    grid->AddNode(1, 5);
    grid->AddNode(2, 2);
    EXPECT_EQ(grid->GetNodeLevel(2), 2);
    EXPECT_EQ(grid->GetNodeSpanType(1), 0);
    EXPECT_EQ(grid->GetNodeSpanType(3), 1);   // the last row of the inner branch
    EXPECT_EQ(grid->GetNodeSpanType(4), 2);
    EXPECT_EQ(grid->GetNodeSpanType(5), 1);
    struct Case { int Row, X; bool Hit; };
    for (const Case& k : std::vector<Case>{{1, 10, true}, {1, 20, false}, {1, 3, false}, {2, 20, true}, {2, 10, false}})
        EXPECT_EQ(grid->IsNodeGlyphClick(k.Row, k.X), k.Hit) << k.Row << " at " << k.X;
    grid->MouseActions()->SetPreciseNodeClick(false);
    EXPECT_TRUE(grid->IsNodeGlyphClick(1, 100));

    grid->ContractAll();
    grid->RemoveAllNodes();
    EXPECT_FALSE(grid->HasNodes());
    EXPECT_EQ(Shown(), All);
    EXPECT_EQ(Levels(), std::vector<int>(Rows, 0));
}
