#include "platform/ui/string_grid.h"

#include <QApplication>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <numeric>

namespace {

// Rows of texts and objects as the grid must show them, changed alongside the grid.
struct Model {
    struct Row {
        std::vector<QString> Texts;
        std::vector<TObject*> Objects;
    };
    std::vector<Row> Rows;
    Row& At(int r)
    {
        if (int(Rows.size()) <= r) Rows.resize(size_t(r) + 1);
        return Rows[size_t(r)];
    }
    QString Text(int c, int r) const
    {
        if (r >= int(Rows.size()) || c >= int(Rows[size_t(r)].Texts.size())) return {};
        return Rows[size_t(r)].Texts[size_t(c)];
    }
    TObject* Object(int c, int r) const
    {
        if (r >= int(Rows.size()) || c >= int(Rows[size_t(r)].Objects.size())) return nullptr;
        return Rows[size_t(r)].Objects[size_t(c)];
    }
};

// A string grid whose store is checked against the model over every stored row and column,
// also those beyond RowCount and ColCount.
struct StoreFixture : ::testing::Test {
    static constexpr int kCols = 6, kRows = 14;
    std::unique_ptr<TStringGrid> G{CreateGrid<TStringGrid>()};
    Model M;
    std::vector<std::unique_ptr<TObject>> Owned;

    void Fill()
    {
        G->SetColCount(4);
        G->SetRowCount(10);
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < kCols; ++c) {
                if ((r + c) % 3 == 0) continue;   // some empty cells
                const QString t = QStringLiteral("%1:%2").arg(c).arg(r);
                G->SetCells(c, r, t);
                Model::Row& row = M.At(r);
                row.Texts.resize(kCols);
                row.Texts[size_t(c)] = t;
                if (c == 1 || c == 5) {
                    Owned.push_back(std::make_unique<TObject>());
                    G->SetObjects(c, r, Owned.back().get());
                    row.Objects.resize(kCols);
                    row.Objects[size_t(c)] = Owned.back().get();
                }
            }
    }
    void ExpectMatches(const std::string& what) const
    {
        for (int r = 0; r < kRows + 8; ++r)
            for (int c = 0; c < kCols + 1; ++c) {
                ASSERT_EQ(G->Cells(c, r), M.Text(c, r)) << what << ", cell " << c << "," << r;
                ASSERT_EQ(G->Objects(c, r), M.Object(c, r)) << what << ", object " << c << "," << r;
            }
    }
};

// The grid's ForEachStoredObject, open to the tests.
class ObjectWalkGrid : public TStringGrid {
public:
    using TStringGrid::TStringGrid;
    std::vector<std::pair<int, int>> StoredObjectCells(int fromRow)
    {
        std::vector<std::pair<int, int>> out;
        ForEachStoredObject(fromRow, [&](int c, int r, TObject*) { out.emplace_back(c, r); });
        return out;
    }
};

}  // namespace

TEST_F(StoreFixture, BulkRowChangesKeepEveryStoredCellWithItsRow)
{
    struct Step {
        std::string Name;
        std::function<void(TStringGrid&, Model&)> Apply;
    };
    auto reorder = [](TStringGrid& g, Model& m, const std::vector<int>& order) {
        g.ReorderStoreRows(order);
        std::vector<Model::Row> before = m.Rows;
        for (size_t i = 0; i < order.size(); ++i) m.At(int(i)) = before[size_t(order[i])];
    };
    // One sequence, so that rows carried by one step are moved again by the next.
    const std::vector<Step> steps = {
        {"insert in the middle",
         [](TStringGrid& g, Model& m) {
             g.InsertStoreRows(3, 2);
             m.Rows.insert(m.Rows.begin() + 3, 2, {});
         }},
        {"erase across RowCount",
         [](TStringGrid& g, Model& m) {
             g.EraseStoreRows(8, 4);
             m.Rows.erase(m.Rows.begin() + 8, m.Rows.begin() + 12);
         }},
        {"reverse the rows within RowCount",
         [&](TStringGrid& g, Model& m) {
             std::vector<int> o(10);
             std::iota(o.rbegin(), o.rend(), 0);
             reorder(g, m, o);
         }},
        {"insert at row 0",
         [](TStringGrid& g, Model& m) {
             g.InsertStoreRows(0, 1);
             m.Rows.insert(m.Rows.begin(), 1, {});
         }},
        {"erase past the last stored row",
         [](TStringGrid& g, Model& m) {
             g.EraseStoreRows(5, 1000);
             m.Rows.resize(5);
         }},
        {"insert past the last stored row changes nothing",
         [](TStringGrid& g, Model&) { g.InsertStoreRows(40, 3); }},
    };
    Fill();
    ExpectMatches("filled");
    for (const Step& s : steps) {
        s.Apply(*G, M);
        ExpectMatches(s.Name);
        if (HasFatalFailure()) return;
    }
}

TEST_F(StoreFixture, RowsWrittenAfterAnEraseStartEmpty)
{
    Fill();
    G->EraseStoreRows(2, 5);
    M.Rows.erase(M.Rows.begin() + 2, M.Rows.begin() + 7);
    // New rows, and rows never written before, take storage the erased rows held: only what
    // is written to them shows.
    G->InsertStoreRows(1, 3);
    M.Rows.insert(M.Rows.begin() + 1, 3, {});
    for (int r : {1, 2, 3, 30}) {
        G->SetCells(0, r, QStringLiteral("new %1").arg(r));
        M.At(r).Texts = {QStringLiteral("new %1").arg(r)};
    }
    ExpectMatches("rewritten");
}

TEST_F(StoreFixture, ErasingEveryRowEmptiesTheStoreForNewCells)
{
    Fill();
    G->EraseStoreRows(0, kRows);
    for (int c = 0; c < kCols; ++c) EXPECT_EQ(G->Cols(c), QStringList(10, QString())) << c;
    G->SetCells(5, 7, QStringLiteral("x"));
    EXPECT_EQ(G->Cells(5, 7), "x");
    EXPECT_EQ(G->Cells(1, 7), "");
    EXPECT_EQ(G->Objects(5, 7), nullptr);
    EXPECT_EQ(G->Cells(5, 0), "");
}

TEST(StringGridStore, StoredObjectsAreReportedAtTheirCurrentRows)
{
    std::unique_ptr<ObjectWalkGrid> g(CreateGrid<ObjectWalkGrid>());
    g->SetRowCount(10);
    TObject a, b;
    g->SetObjects(1, 2, &a);
    g->SetObjects(0, 5, &b);
    g->SetCells(2, 9, QStringLiteral("text only"));
    g->InsertStoreRows(0, 3);   // (1,2) -> (1,5), (0,5) -> (0,8)
    using Cells = std::vector<std::pair<int, int>>;
    EXPECT_EQ(g->StoredObjectCells(0), (Cells{{0, 8}, {1, 5}}));
    EXPECT_EQ(g->StoredObjectCells(6), (Cells{{0, 8}}));
    g->ReorderStoreRows({0, 1, 2, 3, 4, 8, 6, 7, 5});
    EXPECT_EQ(g->StoredObjectCells(6), (Cells{{1, 8}}));
}

TEST(StringGridStore, DraggingARowHeaderCarriesCellsBeyondColCount)
{
    QWidget window;
    auto* g = CreateGrid<TStringGrid>(&window);
    g->SetBorderStyle(bsNone);
    g->SetOptions(g->Options() + goRowMoving);
    window.resize(400, 200);
    g->SetBounds(0, 0, 400, 200);
    window.show();
    QApplication::processEvents();
    for (int r = 0; r < 5; ++r) {
        g->SetCells(1, r, QStringLiteral("r%1").arg(r));
        g->SetCells(8, r, QStringLiteral("hidden r%1").arg(r));   // column 8 lies beyond ColCount
    }
    // Rows are 24 pixels high with one-pixel lines: row r starts at 25 * r.
    QTest::mousePress(g->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(10, 30));
    g->Perform(WM_MOUSEMOVE, MK_LBUTTON, MakeLParam(10, 85));
    QTest::mouseRelease(g->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(10, 85));
    EXPECT_EQ(g->Cols(1), (QStringList{"r0", "r2", "r3", "r1", "r4"}));
    EXPECT_EQ(g->Cols(8), (QStringList{"hidden r0", "hidden r2", "hidden r3", "hidden r1", "hidden r4"}));
}
