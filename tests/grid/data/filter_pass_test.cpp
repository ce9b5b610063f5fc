// Filter passes: which rows a pass hides, stacking and removing passes, narrowing down as
// typed, and filter passes among rows hidden by the application and by contracted nodes.
#include "grid/control/pro_string_grid.h"
#include "support/made_grid.h"

#include <gtest/gtest.h>
#include <set>

namespace {

// Ten data rows under a header: key in column 0, then a word, a number and a two-word text.
struct FilterFixture : MadeGridFixture<TProStringGrid> {
    FilterFixture() : MadeGridFixture(4, 11) {}
    void SetUp() override
    {
        MadeGridFixture::SetUp();
        const char* words[] = {"apple", "Apricot", "banana", "cherry", "apple", "date", "Banana", "fig", "grape", "kiwi"};
        const char* numbers[] = {"5", "12", "7", "30", "-2", "12", "100", "8", "0", "3.5"};
        const char* texts[] = {"red fruit", "orange one", "yellow", "red", "green fruit", "brown", "yellow one", "purple", "green", "brown fruit"};
        for (int i = 0; i < 10; ++i) {
            grid->SetCells(0, i + 1, QStringLiteral("k%1").arg(i));
            grid->SetCells(1, i + 1, QString::fromUtf8(words[i]));
            grid->SetCells(2, i + 1, QString::fromUtf8(numbers[i]));
            grid->SetCells(3, i + 1, QString::fromUtf8(texts[i]));
            grid->SetRowHeights(i + 1, 20 + i);
        }
        Snapshot = Rows();
    }
    // Every present row: its cells and height.
    QStringList Rows() const
    {
        QStringList out;
        for (int r = 0; r < grid->RowCount(); ++r)
            out << QStringLiteral("%1|%2|%3|%4|%5")
                       .arg(grid->Cells(0, r), grid->Cells(1, r), grid->Cells(2, r), grid->Cells(3, r))
                       .arg(grid->RowHeights(r));
        return out;
    }
    // The keys of the data rows shown.
    QString Keys() const
    {
        QStringList k;
        for (int r = 1; r < grid->RowCount(); ++r) k << grid->Cells(0, r).mid(1);
        return k.join(QLatin1Char(' '));
    }
    TFilterData* Add(int col, const char* condition, TFilterOperation op = foNONE)
    {
        TFilterData* f = grid->Filter()->Add();
        f->SetColumn(int16_t(col));
        f->SetCondition(QString::fromUtf8(condition));
        f->SetOperation(op);
        return f;
    }
    // The mappings and the hidden flags agree with the real rows the test knows hidden.
    void ExpectHidden(const std::set<int>& hidden)
    {
        const int all = grid->RowCount() + int(hidden.size());
        ASSERT_EQ(grid->NumHiddenRows(), int(hidden.size()));
        int present = 0;
        for (int real = 0; real < all; ++real) {
            EXPECT_EQ(grid->IsHiddenRow(real), hidden.count(real) == 1) << real;
            EXPECT_EQ(grid->RealToDisplRow(real), present) << real;
            if (hidden.count(real)) continue;
            EXPECT_EQ(grid->DisplToRealRow(present), real) << present;
            EXPECT_EQ(grid->Cells(0, present), real == 0 ? QString() : QStringLiteral("k%1").arg(real - 1)) << real;
            ++present;
        }
    }
    QStringList Snapshot;
};

}  // namespace

TEST_F(FilterFixture, APassHidesTheRowsThatFailItsConditionsAndRemovingItPutsEveryRowBack)
{
    struct Cond {
        int Col;
        const char* Condition;
        TFilterOperation Op = foNONE;
        bool CaseSensitive = true;
        TFilterCells Data = fcVirtual;
    };
    struct Case {
        const char* Name;
        std::vector<Cond> Conds;
        const char* Shown;
    };
    const Case cases[] = {
        {"plain value", {{1, "apple"}}, "0 4"},
        {"value any case", {{1, "apple", foNONE, false}}, "0 4"},
        {"case counts", {{1, "banana"}}, "2"},
        {"case ignored", {{1, "banana", foNONE, false}}, "2 6"},
        {"leading star", {{1, "*e"}}, "0 4 5 8"},
        {"stars both sides", {{1, "*an*"}}, "2 6"},
        {"question marks", {{1, "?i?"}}, "7"},
        {"star in the middle", {{1, "a*e"}}, "0 4"},
        {"quoted text with a space", {{3, "\"red fruit\""}}, "0"},
        {"star around a quoted space", {{3, "\"* fruit\""}}, "0 4 9"},
        {"greater than", {{2, ">10"}}, "1 3 5 6"},
        {"at most", {{2, "<=5"}}, "0 4 8 9"},
        {"not", {{1, "!apple"}}, "1 2 3 5 6 7 8 9"},
        {"or in the condition", {{1, "fig|kiwi"}}, "7 9"},
        {"range with and", {{2, ">5&<30"}}, "1 2 5 7"},
        {"two columns and", {{1, "a*", foNONE, false}, {2, ">0", foAND}}, "0 1"},
        {"two columns or", {{1, "fig"}, {2, "30", foOR}}, "3 7"},
        {"xor", {{1, "apple"}, {3, "*fruit", foXOR}}, "9"},
        {"short cut", {{1, "zzz", foSHORT}, {2, "5", foOR}}, ""},
        {"whole row", {{0, "YELLOW", foNONE, true, fcRow}}, "2 6"},
        {"nothing fails", {{1, "*"}}, "0 1 2 3 4 5 6 7 8 9"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        grid->Filter()->Clear();
        for (const Cond& k : c.Conds) {
            TFilterData* f = Add(k.Col, k.Condition, k.Op);
            f->SetCaseSensitive(k.CaseSensitive);
            f->SetData(k.Data);
        }
        grid->ApplyFilter();
        EXPECT_EQ(Keys(), QString::fromUtf8(c.Shown));
        EXPECT_EQ(grid->FilterLevel(), 1);
        EXPECT_FALSE(grid->RemoveLastFilter());
        EXPECT_EQ(grid->FilterLevel(), 0);
        EXPECT_EQ(Rows(), Snapshot);
    }
    EXPECT_FALSE(grid->RemoveLastFilter());
}

TEST_F(FilterFixture, PassesStackAndComeOffLastFirst)
{
    Add(2, ">0");
    grid->ApplyFilter();
    EXPECT_EQ(Keys(), "0 1 2 3 5 6 7 9");
    grid->Filter()->Clear();
    Add(1, "a*", foNONE)->SetCaseSensitive(false);
    grid->ApplyFilter();
    EXPECT_EQ(Keys(), "0 1");
    ExpectHidden({3, 4, 5, 6, 7, 8, 9, 10});
    // A pass that hides nothing still counts as a pass.
    grid->ApplyFilter();
    EXPECT_EQ(grid->FilterLevel(), 3);
    EXPECT_TRUE(grid->RemoveLastFilter());
    EXPECT_TRUE(grid->RemoveLastFilter());
    EXPECT_EQ(Keys(), "0 1 2 3 5 6 7 9");
    ExpectHidden({5, 9});
    grid->RemoveAllFilters();
    EXPECT_EQ(Rows(), Snapshot);
    EXPECT_EQ(grid->Filter()->Count(), 1);
    // With nothing left to remove, the conditions go.
    grid->RemoveAllFilters();
    EXPECT_EQ(grid->Filter()->Count(), 0);
}

TEST_F(FilterFixture, ProgressIsReportedPerTestedRowAndNodeRowsStayWhenOnlyNormalCellsAreFiltered)
{
    grid->AddNode(3, 2);
    Add(1, "apple");
    std::vector<int> progress;
    grid->OnFilterProgress = [&](TObject*, int p) { progress.push_back(p); };
    grid->ApplyFilter();
    // Row 3 (a node) is not tested: nine rows of ten, then the closing report.
    EXPECT_EQ(progress, (std::vector<int>{10, 20, 30, 40, 50, 60, 70, 80, 90, 100}));
    EXPECT_EQ(Keys(), "0 2 4");
    grid->RemoveLastFilter();
    grid->SetFilterNormalCellsOnly(false);
    grid->ApplyFilter();
    EXPECT_EQ(Keys(), "0 4");
}

TEST_F(FilterFixture, CustomFilterHasTheLastWordAndFilterRowHidesOneRow)
{
    Add(1, "apple");
    grid->OnCustomFilter = [](TObject*, int ARow, bool& Accept) {
        if (ARow == 9) Accept = true;
    };
    grid->ApplyFilter();
    EXPECT_EQ(Keys(), "0 4 8");
    grid->RemoveLastFilter();
    grid->OnCustomFilter = nullptr;
    grid->FilterRow(2);
    grid->FilterRow(1);
    EXPECT_EQ(Keys(), "0 2 3 4 5 6 7 8 9");
    ExpectHidden({2});
}

TEST_F(FilterFixture, FilterActiveAppliesAndRemovesAPassAndKeepsTheLevelsTrue)
{
    Add(1, "*a*", foNONE)->SetCaseSensitive(false);
    int changes = 0;
    grid->Filter()->OnActiveChange = [&](TObject*) { ++changes; };
    grid->SetRow(10);
    grid->SetFilterActive(true);
    EXPECT_TRUE(grid->FilterActive());
    EXPECT_EQ(Keys(), "0 1 2 4 5 6 8");
    EXPECT_EQ(grid->TopRow(), 1);
    // Through the condition list's own switch too.
    grid->Filter()->SetFilterActive(false);
    EXPECT_FALSE(grid->FilterActive());
    EXPECT_EQ(Rows(), Snapshot);
    EXPECT_EQ(grid->FilterLevel(), 0);
    grid->Filter()->SetFilterActive(false);
    EXPECT_EQ(changes, 2);
    // Switching off takes only the switch's own pass away, and its level with it.
    grid->NarrowDown(QStringLiteral("r"), 3);
    grid->SetFilterActive(true);
    grid->SetFilterActive(false);
    grid->SetFilterActive(true);
    EXPECT_EQ(grid->FilterLevel(), 2);
    grid->RemoveAllFilters();
    EXPECT_EQ(Rows(), Snapshot);
}

TEST_F(FilterFixture, NarrowingDownAddsAPassPerLetterAndTakesOneOffPerLetterRemoved)
{
    grid->NarrowDown(QStringLiteral("a"), 1);
    EXPECT_TRUE(grid->FixedRowAlways());
    EXPECT_EQ(Keys(), "0 1 2 4 5 6 8");
    grid->NarrowDown(QStringLiteral("ap"), 1);
    grid->NarrowDown(QStringLiteral("app"), 1);
    EXPECT_EQ(Keys(), "0 4");
    EXPECT_EQ(grid->FilterLevel(), 3);
    grid->NarrowDown(QStringLiteral("ap"), 1);
    EXPECT_EQ(grid->FilterLevel(), 2);
    EXPECT_EQ(Keys(), "0 1 4 8");
    // Not a letter more or less: everything off, then one pass.
    grid->NarrowDown(QStringLiteral("an"), 1);
    EXPECT_EQ(grid->FilterLevel(), 1);
    EXPECT_EQ(Keys(), "2 6");
    EXPECT_EQ(grid->Filter()->GetItem(0)->Condition(), QStringLiteral("*an*"));
    grid->NarrowDown(QString(), 1);
    EXPECT_EQ(grid->FilterLevel(), 0);
    EXPECT_EQ(Rows(), Snapshot);
    EXPECT_EQ(grid->LastFilter(), QString());

    // A text with a space is one text; a whole-row search looks in every column.
    grid->NarrowDown(QStringLiteral("d f"), 3);
    EXPECT_EQ(grid->Filter()->GetItem(0)->Condition(), QStringLiteral("\"*d f*\""));
    EXPECT_EQ(Keys(), "0");
    grid->NarrowDown(QString(), 3);
    grid->NarrowDown(QStringLiteral("3"), -1);
    EXPECT_EQ(Keys(), "3 9");
    grid->NarrowDown(QString(), -1);
    EXPECT_EQ(Rows(), Snapshot);
}

TEST_F(FilterFixture, PassesOverRowsHiddenOtherwiseComeOffInAnyOrderWithEveryRowBackInPlace)
{
    // Real rows: 0 header, 1..10 data (key k0..k9).  The application hides 3 and 4; a node at
    // 6 covers 6..8 and is contracted (7 and 8 hidden); then two filter passes.
    using Step = std::function<void(TProStringGrid*)>;
    const Step unhideApp = [](TProStringGrid* g) { g->UnHideRows(3, 4); };
    const Step expandNode = [](TProStringGrid* g) { g->ExpandNode(6); };
    const Step dropPass = [](TProStringGrid* g) { g->RemoveLastFilter(); };
    struct Order {
        const char* Name;
        std::vector<std::pair<Step, std::set<int>>> Steps;  // each step and the hidden rows after it
    };
    // Pass 1 (column 2 > 0) hides k4 (real 5) and k8 (real 9); pass 2 (column 1 starting
    // with a or b, any case) hides k9 (real 10) and leaves the node row k5 alone.
    const std::set<int> both = {3, 4, 5, 7, 8, 9, 10};
    const Order orders[] = {
        {"passes first", {{dropPass, {3, 4, 5, 7, 8, 9}}, {dropPass, {3, 4, 7, 8}}, {expandNode, {3, 4}}, {unhideApp, {}}}},
        {"node first", {{expandNode, {3, 4, 5, 9, 10}}, {unhideApp, {5, 9, 10}}, {dropPass, {5, 9}}, {dropPass, {}}}},
        {"mixed", {{unhideApp, {5, 7, 8, 9, 10}}, {dropPass, {5, 7, 8, 9}}, {expandNode, {5, 9}}, {dropPass, {}}}},
    };
    for (const Order& o : orders) {
        SCOPED_TRACE(o.Name);
        grid->HideRows(3, 4);
        grid->AddNode(6, 3);
        grid->ContractNode(6);
        ExpectHidden({3, 4, 7, 8});
        grid->Filter()->Clear();
        Add(2, ">0");
        grid->ApplyFilter();
        ExpectHidden({3, 4, 5, 7, 8, 9});
        grid->Filter()->Clear();
        Add(1, "a*|b*")->SetCaseSensitive(false);
        grid->ApplyFilter();
        ExpectHidden(both);
        for (const auto& [step, hidden] : o.Steps) {
            step(grid);
            ExpectHidden(hidden);
        }
        grid->RemoveNode(6);
        EXPECT_EQ(grid->FilterLevel(), 0);
        EXPECT_EQ(Rows(), Snapshot);
    }
}

TEST_F(FilterFixture, AFilterPassNeverShowsRowsItDidNotHide)
{
    grid->HideRow(2);
    Add(1, "apple");
    grid->SetFilterActive(true);
    EXPECT_EQ(Keys(), "0 4");
    // Showing the application's row keeps the filter's rows hidden, and the other way round.
    grid->UnHideRowsAll();
    EXPECT_EQ(Rows(), Snapshot);
    EXPECT_EQ(grid->FilterLevel(), 0);
    grid->HideRow(2);
    grid->ApplyFilter();
    grid->UnHideRows(2, 10);
    EXPECT_EQ(Keys(), "0 1 4");
    grid->RemoveLastFilter();
    EXPECT_EQ(Rows(), Snapshot);

    // Narrowing down to nothing and back keeps the application's row hidden, with its cells.
    grid->HideRow(3);
    grid->NarrowDown(QStringLiteral("b"), 1);
    grid->NarrowDown(QString(), 1);
    EXPECT_EQ(Keys(), "0 1 3 4 5 6 7 8 9");
    grid->UnHideRow(3);
    EXPECT_EQ(Rows(), Snapshot);
}

TEST_F(FilterFixture, ConditionsAddedJoinWithAndAndInsertedOnesKeepTheDefaults)
{
    TFilter* f = grid->Filter();
    EXPECT_EQ(f->Add()->Operation(), foNONE);
    EXPECT_EQ(f->Add()->Operation(), foAND);
    TFilterData* i = f->Insert(0);
    EXPECT_EQ(f->GetItem(2), i);
    EXPECT_EQ(i->Operation(), foSHORT);
    f->GetItem(1)->SetColumn(2);
    f->GetColFilter(2)->SetCondition(QStringLiteral("x"));
    EXPECT_EQ(f->GetItem(1)->Condition(), QStringLiteral("x"));
    f->RemoveColumnFilter(0);
    EXPECT_EQ(f->Count(), 1);
    EXPECT_TRUE(f->HasFilter(2));
}

TEST_F(FilterFixture, OnlyAFixedRowCarriesTheFilterGlyphs)
{
    grid->SetFixedRows(2);
    grid->SetFilterDropDownRow(1);
    EXPECT_EQ(grid->FilterDropDownRow(), 1);
    grid->SetFilterDropDownRow(2);
    EXPECT_EQ(grid->FilterDropDownRow(), 1);
}

TEST_F(FilterFixture, RowsInsertedAndDeletedWhileFilteredKeepTheRecordsOnTheirRows)
{
    Add(1, "*a*", foNONE)->SetCaseSensitive(false);
    grid->ApplyFilter();
    EXPECT_EQ(Keys(), "0 1 2 4 5 6 8");
    // Present row 3 is k2; a row inserted before it and the row of k4 removed.
    grid->InsertRows(3, 1, true);
    grid->SetCells(0, 3, QStringLiteral("new"));
    grid->RemoveRows(grid->RealToDisplRow(6), 1);
    grid->RemoveLastFilter();
    QStringList keys;
    for (int r = 1; r < grid->RowCount(); ++r) keys << grid->Cells(0, r);
    EXPECT_EQ(keys.join(' '), "k0 k1 new k2 k3 k5 k6 k7 k8 k9");
}
