#include "support/shown_grid.h"

namespace {
struct NodeClick : ShownGridFixture {
    void SetUp() override
    {
        ShownGridFixture::SetUp();
        for (int r = 0; r < G->RowCount(); ++r) G->SetCells(1, r, QString::number(r));
        G->AddNode(1, 3);
    }
    QStringList Column1()
    {
        QStringList l;
        for (int r = 0; r < G->RowCount(); ++r) l << G->Cells(1, r);
        return l;
    }
    void ClickAt(int x, int row)
    {
        QTest::mouseClick(V(), Qt::LeftButton, {}, QPoint(x, In(0, row).y()));
        QApplication::processEvents();
    }
};
}  // namespace

TEST_F(NodeClick, TheGlyphContractsAndExpandsTheChildRows)
{
    std::vector<std::pair<QString, int>> fired;
    G->OnContractNode = [&](TObject*, int row, int real) { fired.emplace_back("contract", row * 100 + real); };
    G->OnExpandNode = [&](TObject*, int row, int real) { fired.emplace_back("expand", row * 100 + real); };

    ClickAt(40, 1);   // beside the glyph: nothing happens to the rows
    EXPECT_EQ(Column1(), QStringList({"0", "1", "2", "3", "4", "5"}));

    ClickAt(8, 1);
    EXPECT_TRUE(G->GetNodeState(1));
    EXPECT_EQ(Column1(), QStringList({"0", "1", "4", "5"}));
    ClickAt(8, 1);
    EXPECT_FALSE(G->GetNodeState(1));
    EXPECT_EQ(Column1(), QStringList({"0", "1", "2", "3", "4", "5"}));
    EXPECT_EQ(fired, (std::vector<std::pair<QString, int>>{{"contract", 101}, {"expand", 101}}));
}

TEST_F(NodeClick, ARefusedExpansionLeavesTheNodeContracted)
{
    G->OnBeforeExpandNode = [](TObject*, int, int, bool& allow) { allow = false; };
    ClickAt(8, 1);
    ClickAt(8, 1);
    EXPECT_TRUE(G->GetNodeState(1));
    EXPECT_EQ(Column1(), QStringList({"0", "1", "4", "5"}));
}

TEST_F(NodeClick, LeftAndRightOnAMergedNodeCellContractAndExpand)
{
    G->MergeCells(1, 1, 2, 1);
    G->FocusCell(1, 1, true);
    QTest::keyClick(G, Qt::Key_Left);
    EXPECT_TRUE(G->GetNodeState(1));
    EXPECT_EQ(Column1(), QStringList({"0", "1", "4", "5"}));
    G->FocusCell(1, 1, true);
    QTest::keyClick(G, Qt::Key_Right);
    EXPECT_FALSE(G->GetNodeState(1));
    EXPECT_EQ(Column1(), QStringList({"0", "1", "2", "3", "4", "5"}));
}
