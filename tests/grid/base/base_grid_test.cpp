#include "grid/base/base_grid.h"
#include "support/made_grid.h"

#include <gtest/gtest.h>

namespace {
// A cell store that records the text-change and last-row notifications.
class RecordingGrid : public TBaseGrid {
public:
    std::vector<std::pair<int, int>> changed;
    int lastRowChanged = 0;
    void CellTextChanged(int ACol, int ARow) override { changed.emplace_back(ACol, ARow); }
    void LastRowChanged() override { ++lastRowChanged; }
};

// Counts its own destruction, to see which objects the grid frees.
class Tracked : public TObject {
public:
    Tracked(QString name, int& deaths) : FName(std::move(name)), FDeaths(deaths) {}
    ~Tracked() override { ++FDeaths; }
    QString ClassName() const override { return FName; }

private:
    QString FName;
    int& FDeaths;
};

struct GridFixture : MadeGridFixture<RecordingGrid> {
    GridFixture() : MadeGridFixture(6, 8) {}
};
}

TEST_F(GridFixture, PlainTextsCarryNoPropertyObjects)
{
    for (int c = 0; c < 6; ++c)
        for (int r = 0; r < 8; ++r) grid->SetCells(c, r, QStringLiteral("%1/%2").arg(c).arg(r));
    EXPECT_EQ(grid->Cells(3, 5), QStringLiteral("3/5"));
    EXPECT_FALSE(grid->HasCellProps());
    for (int c = 0; c < 6; ++c)
        for (int r = 0; r < 8; ++r) ASSERT_EQ(grid->GetGridObject(c, r), nullptr);
    EXPECT_TRUE(grid->changed.empty());  // no properties: no text-change hook
    EXPECT_EQ(grid->GetObjectEx(3, 5), nullptr);
    EXPECT_FALSE(grid->HasCellProperties(3, 5));
}

TEST_F(GridFixture, PropertiesAreMadeOnFirstUseWithTheCellDefaults)
{
    grid->SetWordWrap(false);
    TCellProperties* p = grid->GetCellProperties(2, 3);
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(grid->HasCellProps());
    EXPECT_EQ(grid->GetCellProperties(2, 3), p);  // made once
    EXPECT_EQ(p->OwnerCol(), 2);
    EXPECT_EQ(p->OwnerRow(), 3);
    EXPECT_FALSE(p->WordWrap());
    EXPECT_EQ(p->BrushColor(), grid->Color());
    EXPECT_EQ(p->BrushColorTo(), clNone);
    EXPECT_EQ(p->FontName(), grid->Font()->Name());
    EXPECT_EQ(p->CellSpanX(), -1);
    EXPECT_EQ(p->CellSpanY(), -1);
    EXPECT_TRUE(p->IsBaseCell());
    EXPECT_EQ(p->Editor(), edNormal);
    EXPECT_EQ(p->Alignment(), taLeftJustify);
    EXPECT_EQ(p->VAlignment(), vtaTop);
    // Neighbours stay without.
    EXPECT_FALSE(grid->HasCellProperties(2, 4));

    EXPECT_THROW(grid->GetCellProperties(-1, 0), EProGridError);
}

TEST_F(GridFixture, StoringAnObjectKeepsAnEmptyCellEmpty)
{
    int deaths = 0;
    Tracked user(QStringLiteral("TUser"), deaths);
    grid->SetObjectEx(1, 1, &user);
    EXPECT_EQ(grid->Cells(1, 1), QString());
    EXPECT_EQ(grid->GetObjectEx(1, 1), &user);
    EXPECT_TRUE(grid->HasCellProperties(1, 1));

    grid->SetCells(4, 4, QStringLiteral("kept"));
    grid->SetObjectEx(4, 4, &user);
    EXPECT_EQ(grid->Cells(4, 4), QStringLiteral("kept"));
}

TEST_F(GridFixture, DisplayHooksRunOnlyBelowTheNormalRowCount)
{
    grid->SetCells(0, 1, QStringLiteral("abc"));
    grid->SetCells(0, 6, QStringLiteral("raw"));
    grid->SetNormalRowCount(5);
    grid->OnGetDisplText = [](TObject*, int, int, QString& v) { v = v.toUpper(); };
    EXPECT_EQ(grid->Cells(0, 1), QStringLiteral("ABC"));
    EXPECT_EQ(grid->Cells(0, 6), QStringLiteral("raw"));

    grid->OnGetDisplText = nullptr;
    grid->OnGetDisplWideText = [](TObject*, int, int, QString&) {};
    const QString expected = QStringLiteral("|\\") + QChar(0) + QLatin1Char('a') + QChar(0) + QLatin1Char('b') +
                             QChar(0) + QLatin1Char('c');
    EXPECT_EQ(grid->Cells(0, 1), expected);
}

TEST_F(GridFixture, WritingTheHiddenLastRowNotifiesOnce)
{
    grid->SetHideLastRow(true);
    grid->SetCells(2, 7, QStringLiteral("total"));
    EXPECT_EQ(grid->lastRowChanged, 1);
    grid->SetCells(2, 6, QStringLiteral("x"));
    EXPECT_EQ(grid->lastRowChanged, 1);
}

TEST_F(GridFixture, FreeingReleasesOnlyCellGraphicsAndProperties)
{
    int graphics = 0, others = 0, users = 0;
    auto* graphic = new Tracked(QStringLiteral("TCellGraphic"), graphics);
    Tracked other(QStringLiteral("TPicture"), others);
    Tracked user(QStringLiteral("TUser"), users);
    grid->SetGraphicObjectEx(0, 0, graphic);
    grid->SetGraphicObjectEx(1, 0, &other);
    grid->SetObjectEx(2, 0, &user);
    grid->GetCellProperties(3, 0)->SetCalcObject(&user);
    grid->FreeAllProps();
    EXPECT_EQ(graphics, 1);
    EXPECT_EQ(others, 0);
    EXPECT_EQ(users, 0);
    EXPECT_FALSE(grid->HasCellProperties(0, 0));
}

TEST_F(GridFixture, PropertiesBeyondALoweredCountAreKeptAndFreedWithTheGrid)
{
    int graphics = 0;
    grid->SetGraphicObjectEx(5, 7, new Tracked(QStringLiteral("TCellGraphic"), graphics));
    grid->SetCells(5, 7, QStringLiteral("far"));
    grid->SetRowCount(3);
    grid->SetColCount(2);
    grid->SetRowCount(8);
    grid->SetColCount(6);
    EXPECT_EQ(grid->Cells(5, 7), QStringLiteral("far"));
    EXPECT_TRUE(grid->HasCellProperties(5, 7));
    grid->SetRowCount(3);
    grid->Free();
    grid = CreateGrid<RecordingGrid>();
    EXPECT_EQ(graphics, 1);
}

TEST_F(GridFixture, WipingAMergedRowEmptiesEachCellItself)
{
    grid->SetCells(1, 1, QStringLiteral("base"));
    grid->SetCells(2, 2, QStringLiteral("hidden"));
    grid->MergeCells(1, 1, 2, 2);
    // Wiping drops the objects without freeing them (after row moves they live on elsewhere).
    std::unique_ptr<TCellProperties> dropped[] = {std::unique_ptr<TCellProperties>(grid->GetCellProperties(1, 2)),
                                                  std::unique_ptr<TCellProperties>(grid->GetCellProperties(2, 2))};
    grid->WipeRow(2);
    EXPECT_EQ(grid->GetGridCell(1, 1), QStringLiteral("base"));
    EXPECT_EQ(grid->GetGridCell(2, 2), QString());
    EXPECT_FALSE(grid->HasCellProperties(1, 2));

    grid->MergeCells(3, 3, 2, 2);
    grid->SetCells(3, 3, QStringLiteral("block"));
    grid->changed.clear();
    std::unique_ptr<TCellProperties> wiped(grid->GetCellProperties(4, 4));
    grid->WipeCell(4, 4);
    EXPECT_EQ(grid->GetGridCell(3, 3), QString());
    ASSERT_EQ(grid->changed.size(), 1u);
    EXPECT_EQ(grid->changed[0], std::make_pair(3, 3));
}
