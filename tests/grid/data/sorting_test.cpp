// Sorting the grid's rows: tables of cells before and after for every style and setting,
// random tables against a plain reference sort, index sorts, groups, the undo of several
// sorts, what moves with the rows, a crafted order of 100,000 rows, and the header click.
#include "grid/control/grid_selection.h"
#include "grid/control/pro_string_grid.h"
#include "platform/core/format_settings.h"
#include "support/made_grid.h"
#include "support/shown_grid.h"

#include <QTest>
#include <algorithm>
#include <functional>
#include <random>

namespace {

using Table = std::vector<QStringList>;

QStringList L(std::initializer_list<const char*> l)
{
    QStringList s;
    for (const char* t : l) s << QString::fromUtf8(t);
    return s;
}

// A grid with one fixed row above the rows of a table.
struct SortFixture : MadeGridFixture<TProStringGrid> {
    SortFixture() : MadeGridFixture(3, 2) {}
    void Load(const Table& t)
    {
        grid->SetColCount(int(t.front().size()));
        grid->SetRowCount(int(t.size()) + 1);
        for (int r = 0; r < int(t.size()); ++r)
            for (int c = 0; c < int(t[size_t(r)].size()); ++c) grid->SetCells(c, r + 1, t[size_t(r)][c]);
    }
    Table Rows()
    {
        Table t;
        for (int r = 1; r < grid->RowCount(); ++r) {
            QStringList row;
            for (int c = 0; c < grid->ColCount(); ++c) row << grid->Cells(c, r);
            t.push_back(row);
        }
        return t;
    }
    QStringList Column(int c)
    {
        QStringList s;
        for (int r = 1; r < grid->RowCount(); ++r) s << grid->Cells(c, r);
        return s;
    }
    void Style(TSortStyle s, const char* prefix = "")
    {
        grid->OnGetFormat = [s, prefix](TObject*, int, TSortStyle& st, QString& p, QString&) {
            st = s;
            p = QString::fromUtf8(prefix);
        };
    }
    ScopedFormatSettings Locale{TFormatSettings{}};
};

struct StyleCase {
    const char* Name;
    std::function<void(SortFixture&)> Setup;
    QStringList Before;  // column 0; column 1 holds the row's number before the sort
    TSortDirection Direction;
    QStringList After;
};

}  // namespace

TEST_F(SortFixture, EveryStyleAndBlankPlacement)
{
    auto none = [](SortFixture&) {};
    auto blanks = [](TSortBlankPosition p) {
        return [p](SortFixture& f) {
            f.grid->SortSettings()->SetIgnoreBlanks(true);
            f.grid->SortSettings()->SetBlankPos(p);
        };
    };
    auto style = [](TSortStyle s, const char* prefix = "") { return [s, prefix](SortFixture& f) { f.Style(s, prefix); }; };
    const StyleCase cases[] = {
        {"numeric, blank counts as 0", style(ssNumeric), L({"10", "9", ""}), sdAscending, L({"", "9", "10"})},
        {"numeric, blank last", [&](SortFixture& f) { f.Style(ssNumeric); blanks(blLast)(f); }, L({"10", "", "9"}),
         sdAscending, L({"9", "10", ""})},
        {"numeric descending, blank last", [&](SortFixture& f) { f.Style(ssNumeric); blanks(blLast)(f); },
         L({"10", "", "9"}), sdDescending, L({"10", "9", ""})},
        {"numeric descending, blank first", [&](SortFixture& f) { f.Style(ssNumeric); blanks(blFirst)(f); },
         L({"9", "", "10"}), sdDescending, L({"", "10", "9"})},
        {"automatic numbers", none, L({"10", "9", "-1.5", "2e1"}), sdAscending, L({"-1.5", "9", "10", "2e1"})},
        {"automatic mixed is alphabetic both ways", none, L({"10", "abc", "9"}), sdAscending, L({"10", "9", "abc"})},
        {"automatic mixed, word first", none, L({"abc", "9", "10"}), sdAscending, L({"10", "9", "abc"})},
        {"alphabetic is case-sensitive", style(ssAlphabetic), L({"b", "B", "a"}), sdAscending, L({"B", "a", "b"})},
        {"alpha no case keeps tied rows", style(ssAlphaNoCase), L({"b", "a", "B"}), sdAscending, L({"a", "b", "B"})},
        {"alpha no case descending keeps tied rows", style(ssAlphaNoCase), L({"b", "a", "B"}), sdDescending,
         L({"b", "B", "a"})},
        {"financial with prefix", style(ssFinancial, "$"), L({"$1,200", "$950", "$1,000.5"}), sdAscending,
         L({"$950", "$1,000.5", "$1,200"})},
        {"date", style(ssDate), L({"02/01/2020", "01/02/2020", "31/12/2019"}), sdAscending,
         L({"31/12/2019", "02/01/2020", "01/02/2020"})},
        {"automatic date", none, L({"02/01/2020", "01/02/2020", "31/12/2019"}), sdDescending,
         L({"01/02/2020", "02/01/2020", "31/12/2019"})},
        {"short date US", style(ssShortDateUS), L({"02/01/2020", "01/02/2020", "12/31/2019"}), sdAscending,
         L({"12/31/2019", "01/02/2020", "02/01/2020"})},
        {"short date EU", style(ssShortDateEU), L({"02/01/2020", "01/02/2020", "bad"}), sdAscending,
         L({"bad", "02/01/2020", "01/02/2020"})},
        {"date time", style(ssDateTime), L({"01/01/2020 10:00", "01/01/2020 09:00"}), sdAscending,
         L({"01/01/2020 09:00", "01/01/2020 10:00"})},
        {"time", style(ssTime), L({"10:00", "9:30", "23:59"}), sdAscending, L({"9:30", "10:00", "23:59"})},
        {"html without tags", style(ssHTML), L({"<b>b</b>", "a", "<i>c</i>"}), sdAscending, L({"a", "<b>b</b>", "<i>c</i>"})},
        {"locale-aware without case", style(ssAnsiAlphaNoCase), L({"b", "A", "c"}), sdAscending, L({"A", "b", "c"})},
        {"locale-aware with case", style(ssAnsiAlphaCase), L({"b", "a", "c"}), sdDescending, L({"c", "b", "a"})},
        {"alphanumeric of numbers", style(ssAlphaNumeric), L({"10", "9"}), sdAscending, L({"9", "10"})},
        {"alphanumeric of words", style(ssAlphaNumeric), L({"10", "9", "x"}), sdAscending, L({"10", "9", "x"})},
        {"custom by length",
         [](SortFixture& f) {
             f.Style(ssCustom);
             f.grid->OnCustomCompare = [](TObject*, const QString& a, const QString& b, int& r) {
                 r = a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
             };
         },
         L({"ccc", "a", "bb"}), sdAscending, L({"a", "bb", "ccc"})},
        {"custom without event leaves the order", style(ssCustom), L({"c", "a", "b"}), sdAscending, L({"c", "a", "b"})},
        {"raw by row texts",
         [](SortFixture& f) {
             f.Style(ssRaw);
             f.grid->OnRawCompare = [&f](TObject*, int c, int r1, int r2, int& r) {
                 r = f.grid->Cells(c, r1).compare(f.grid->Cells(c, r2));
             };
         },
         L({"z", "x", "y"}), sdDescending, L({"z", "y", "x"})},
    };
    for (const StyleCase& k : cases) {
        grid->OnGetFormat = nullptr;
        grid->OnCustomCompare = nullptr;
        grid->OnRawCompare = nullptr;
        grid->SortSettings()->SetIgnoreBlanks(false);
        grid->SortSettings()->SetFull(false);
        Table t;
        for (int i = 0; i < k.Before.size(); ++i) t.push_back({k.Before[i], QString::number(i)});
        Load(t);
        k.Setup(*this);
        grid->Sort(0, k.Direction);
        EXPECT_EQ(Column(0), k.After) << k.Name;
    }
}

TEST_F(SortFixture, CheckBoxesAndImagesSortByStateAndIndex)
{
    Load({L({"", "a"}), L({"", "b"}), L({"", "c"})});
    grid->AddCheckBox(0, 1, true, false);
    grid->AddCheckBox(0, 2, false, false);
    grid->AddCheckBox(0, 3, true, false);
    grid->Sort(0, sdAscending);
    EXPECT_EQ(Column(1), L({"b", "a", "c"}));
    grid->Sort(0, sdDescending);  // Full: ties by the next column
    EXPECT_EQ(Column(1), L({"c", "a", "b"}));
}

TEST_F(SortFixture, TiesGoToTheNextColumnsWithFullAndKeepTheirOrderOtherwise)
{
    const Table t = {L({"1", "b", "x"}), L({"1", "a", "y"}), L({"0", "c", "z"}), L({"1", "a", "w"})};
    Load(t);
    grid->SortSettings()->SetFull(true);
    grid->Sort(0, sdAscending);
    EXPECT_EQ(Column(2), L({"z", "w", "y", "x"}));
    Load(t);
    grid->SortSettings()->SetFull(false);
    grid->Sort(0, sdAscending);
    EXPECT_EQ(Column(2), L({"z", "x", "y", "w"}));
    grid->Sort(0, sdDescending);
    EXPECT_EQ(Column(2), L({"x", "y", "w", "z"}));
    // An ignored column is all-equal: the next column decides.
    Load(t);
    grid->SortSettings()->SetFull(true);
    grid->IgnoreColumns()->Add(0);
    grid->Sort(0, sdAscending);
    EXPECT_EQ(Column(2), L({"w", "y", "x", "z"}));
    grid->IgnoreColumns()->Clear();
    // Column -1 changes nothing.
    Load(t);
    grid->Sort(-1, sdAscending);
    EXPECT_EQ(Rows(), t);
}

// Random tables of numbers and words with many ties against a plain reference: a stable sort
// of the rows by the rules of each style, column after column.
TEST_F(SortFixture, RandomTablesMatchAReferenceSort)
{
    std::mt19937 rnd(11);
    const char* words[] = {"", "apple", "Apple", "pear", "b", "B", "10", "zz"};
    for (int round = 0; round < 24; ++round) {
        const bool desc = round % 2, ignoreBlanks = round % 3 == 0, full = round % 4 != 1;
        const TSortBlankPosition pos = round % 5 < 2 ? blFirst : blLast;
        Table t;
        for (int r = 0; r < 60; ++r) {
            const int n = int(rnd() % 7);
            t.push_back({n == 0 ? QString() : QString::number(n * 3 % 5 - 1), QString::fromUtf8(words[rnd() % 8]),
                         QString::number(r)});
        }
        Load(t);
        auto* ss = grid->SortSettings();
        ss->SetIgnoreBlanks(ignoreBlanks);
        ss->SetBlankPos(pos);
        ss->SetFull(full);
        grid->OnGetFormat = [](TObject*, int c, TSortStyle& s, QString&, QString&) {
            s = c == 0 ? ssNumeric : c == 1 ? ssAlphaNoCase : ssAlphabetic;
        };
        grid->Sort(round % 3 == 2 ? 1 : 0, desc ? sdDescending : sdAscending);

        const int first = round % 3 == 2 ? 1 : 0;
        Table expected = t;
        auto cmpCol = [&](int c, const QString& a, const QString& b) {
            if (ignoreBlanks && a.isEmpty() != b.isEmpty()) return a.isEmpty() == (pos == blFirst) ? -1 : 1;
            int r = 0;
            if (c == 0) r = a.toDouble() < b.toDouble() ? -1 : a.toDouble() > b.toDouble() ? 1 : 0;
            else if (c == 1) r = a.toUpper() < b.toUpper() ? -1 : a.toUpper() > b.toUpper() ? 1 : 0;
            else r = a < b ? -1 : a > b ? 1 : 0;
            return desc ? -r : r;
        };
        std::stable_sort(expected.begin(), expected.end(), [&](const QStringList& a, const QStringList& b) {
            for (int c = first; c <= (full ? 2 : first); ++c)
                if (const int r = cmpCol(c, a[c], b[c])) return r < 0;
            return false;
        });
        ASSERT_EQ(Rows(), expected) << "round " << round;
    }
}

TEST_F(SortFixture, IndexedSortsByEachEntryInItsDirection)
{
    Load({L({"1", "a", "r1"}), L({"2", "b", "r2"}), L({"1", "b", "r3"}), L({"2", "a", "r4"})});
    grid->SortIndexes()->AddIndex(1, true);
    grid->SortIndexes()->AddIndex(0, false);
    grid->QSortIndexed();
    EXPECT_EQ(Column(2), L({"r4", "r1", "r2", "r3"}));
    grid->SortIndexes()->Clear();
    EXPECT_THROW(grid->QSortIndexed(), EProGridError);
}

TEST_F(SortFixture, GroupsSortTheirChildRowsOnly)
{
    // node A with 3 children, node B with 1 child (not sorted), node C with 2 children.
    Load({L({"A", "x"}), L({"3", ""}), L({"1", ""}), L({"2", ""}), L({"B", ""}), L({"9", ""}), L({"C", ""}),
          L({"8", ""}), L({"7", ""})});
    grid->AddNode(1, 4);
    grid->AddNode(5, 2);
    grid->AddNode(7, 3);
    grid->SortSettings()->SetColumn(0);
    grid->QSortGroup();
    EXPECT_EQ(Column(0), L({"A", "1", "2", "3", "B", "9", "C", "7", "8"}));
    EXPECT_TRUE(grid->IsNode(1) && grid->IsNode(5) && grid->IsNode(7));
    EXPECT_EQ(grid->GetNodeSpan(1), 4);
    grid->SortIndexes()->AddIndex(0, false);
    grid->QSortGroupIndexed();
    EXPECT_EQ(Column(0), L({"A", "3", "2", "1", "B", "9", "C", "8", "7"}));
}

TEST_F(SortFixture, UnsortAfterSeveralSortsRestoresTheFirstOrder)
{
    std::mt19937 rnd(5);
    Table t;
    for (int r = 0; r < 40; ++r) t.push_back({QString::number(rnd() % 9), QString::number(rnd() % 4), QString::number(r)});
    Load(t);
    grid->SetCompares(0);
    grid->SetSwaps(0);
    grid->InitSortXRef();
    grid->Sort(0, sdAscending);
    EXPECT_GT(grid->Compares(), 0);
    EXPECT_GT(grid->Swaps(), 0);
    EXPECT_LT(grid->Swaps(), 41);
    grid->Sort(1, sdDescending);
    grid->SortIndexes()->AddIndex(2, false);
    grid->QSortIndexed();
    // The cross-reference names each row's place before the first sort.
    for (int r = 1; r < grid->RowCount(); ++r) EXPECT_EQ(grid->SortRowXRef()->GetInteger(r) - 1, grid->Cells(2, r).toInt());
    grid->QUnSort();
    EXPECT_EQ(Rows(), t);
    // A second undo changes nothing.
    grid->QUnSort();
    EXPECT_EQ(Rows(), t);
}

TEST_F(SortFixture, RowMarksPropertiesHeightsAndFixedRowsFollowTheSort)
{
    Load({L({"c", "0"}), L({"a", "1"}), L({"b", "2"}), L({"footer", "f"})});
    grid->SetFixedFooters(1);
    grid->ShowModified()->SetEnabled(true);
    grid->MouseActions()->SetDisjunctRowSelect(true);
    grid->SetRowModified(1, true);        // "c"
    grid->SetRowSelect(2, true);          // "a"
    grid->SetColors(1, 3, clRed);         // "b"
    grid->SetRowHeights(1, 40);           // "c"
    grid->Sort(0, sdAscending);
    EXPECT_EQ(Column(0), L({"a", "b", "c", "footer"}));
    EXPECT_TRUE(grid->GetRowModified(3));
    EXPECT_FALSE(grid->GetRowModified(1));
    EXPECT_TRUE(grid->GetRowSelect(1));
    EXPECT_FALSE(grid->GetRowSelect(2));
    EXPECT_EQ(grid->GetColors(1, 2), TColor(clRed));
    EXPECT_EQ(grid->GetCellProperties(1, 2)->OwnerRow(), 2);
    EXPECT_EQ(grid->RowHeights(3), 40);
    // The current row follows its data with MoveRowOnSort, else it stays.
    grid->MouseActions()->SetDisjunctRowSelect(false);
    grid->SetRow(1);  // "a"
    grid->Sort(0, sdDescending);
    EXPECT_EQ(grid->Row(), 1);
    grid->Navigation()->SetMoveRowOnSort(true);
    grid->Sort(0, sdAscending);
    EXPECT_EQ(grid->Row(), 3);  // "c", the row that was current
    EXPECT_EQ(grid->Cells(0, 3), QStringLiteral("c"));
}

TEST_F(SortFixture, DisjunctSelectionsFollowTheirRowsInASortAndInSortSwaps)
{
    Load({L({"c", "0"}), L({"a", "1"}), L({"b", "2"})});
    grid->MouseActions()->SetDisjunctCellSelect(true);
    grid->MouseActions()->SetDisjunctRowSelect(true);
    grid->SetSelectedCells(1, 1, true);  // "c"
    grid->SetRowSelect(3, true);         // "b"
    grid->Sort(0, sdAscending);
    EXPECT_EQ(Column(0), L({"a", "b", "c"}));
    EXPECT_TRUE(grid->GetSelectedCells(1, 3));
    EXPECT_FALSE(grid->GetSelectedCells(1, 1));
    EXPECT_TRUE(grid->GetRowSelect(2));
    EXPECT_FALSE(grid->GetRowSelect(3));
    // The swap primitive moves the row flags without MoveRowOnSort, and the selected cells.
    grid->SortSwapRows(2, 3);
    EXPECT_EQ(Column(0), L({"a", "c", "b"}));
    EXPECT_TRUE(grid->GetSelectedCells(1, 2));
    EXPECT_TRUE(grid->GetRowSelect(3));
    EXPECT_FALSE(grid->GetRowSelect(2));
}

TEST_F(SortFixture, NormalCellsOnlyKeepsColumnZeroAndSingleColumnMovesOneColumn)
{
    Load({L({"1", "c", "x"}), L({"2", "a", "y"}), L({"3", "b", "z"})});
    grid->SetFixedCols(1);
    grid->SortSettings()->SetNormalCellsOnly(true);
    grid->Sort(1, sdAscending);
    EXPECT_EQ(Column(0), L({"1", "2", "3"}));
    EXPECT_EQ(Column(2), L({"y", "z", "x"}));
    grid->SortSettings()->SetSingleColumn(true);
    grid->Sort(1, sdDescending);
    EXPECT_EQ(Column(1), L({"c", "b", "a"}));
    EXPECT_EQ(Column(2), L({"y", "z", "x"}));
}

// Orders that drive a middle-pivot partition sort deep (organ pipe, saw teeth, all equal):
// each of 100,000 rows sorts in n log n comparisons without recursion.
TEST_F(SortFixture, AHundredThousandRowsInAdversarialOrders)
{
    constexpr int n = 100000;
    const std::function<int(int)> orders[] = {
        [](int i) { return i < n / 2 ? i : n - 1 - i; },
        [](int i) { return i % 17; },
        [](int) { return 7; },
    };
    grid->SetColCount(2);
    grid->SetRowCount(n + 1);
    for (const auto& value : orders) {
        for (int r = 0; r < n; ++r) {
            grid->SetCells(0, r + 1, QString::number(value(r)));
            grid->SetCells(1, r + 1, QString::number(r));
        }
        grid->InitSortXRef();
        grid->SetCompares(0);
        grid->SortSettings()->SetFull(false);
        grid->Sort(0, sdAscending);
        EXPECT_LT(grid->Compares(), 20 * n);
        for (int r = 2; r <= n; ++r) {
            const int a = grid->Cells(0, r - 1).toInt(), b = grid->Cells(0, r).toInt();
            ASSERT_TRUE(a < b || (a == b && grid->Cells(1, r - 1).toInt() < grid->Cells(1, r).toInt())) << r;
        }
        grid->QUnSort();
        for (int r = 1; r <= n; r += 997) ASSERT_EQ(grid->Cells(1, r).toInt(), r - 1);
    }
}

TEST_F(SortFixture, SortSettingsTextRoundTrip)
{
    Load({L({"2", "b"}), L({"1", "a"}), L({"3", "c"})});
    auto* ss = grid->SortSettings();
    EXPECT_THROW(ss->LoadFromString(QStringLiteral("u")), Exception);
    ss->LoadFromString(QStringLiteral("d1"));
    EXPECT_TRUE(ss->Show());
    EXPECT_EQ(ss->Column(), 1);
    EXPECT_EQ(Column(0), L({"3", "2", "1"}));
    EXPECT_EQ(ss->SaveToString(), QStringLiteral("d1"));
    ss->LoadFromString(QStringLiteral("ux"));  // no number: nothing sorts
    EXPECT_EQ(ss->Column(), 1);
    EXPECT_EQ(ss->Direction(), sdAscending);
    ss->LoadFromString(QStringLiteral("i;u0;d1"));
    EXPECT_TRUE(ss->IndexShow());
    EXPECT_EQ(Column(0), L({"1", "2", "3"}));
    EXPECT_EQ(ss->SaveToString(), QStringLiteral("i;u0;d1"));
    ss->Remove();
    EXPECT_EQ(ss->Column(), -1);
    EXPECT_EQ(grid->SortIndexes()->Count(), 0);
}

// ---- the header click on a shown grid ------------------------------------------------------

struct HeaderSortFixture : ShownGridFixture {
    void Click(QPoint p, Qt::KeyboardModifiers m = Qt::NoModifier)
    {
        QTest::mouseClick(V(), Qt::LeftButton, m, p);
        QApplication::processEvents();
        // Far apart in time, so no click makes a double click with the one before.
        QTest::qWait(QApplication::doubleClickInterval() + 20);
    }
    QStringList Column(int c)
    {
        QStringList s;
        for (int r = 1; r < G->RowCount(); ++r) s << G->Cells(c, r);
        return s;
    }
};

TEST_F(HeaderSortFixture, ClicksSortUpDownAndBack)
{
    const char* texts[] = {"pear", "apple", "fig", "kiwi", "date"};
    for (int r = 1; r <= 5; ++r) {
        G->SetCells(2, r, QString::fromUtf8(texts[r - 1]));
        G->SetCells(3, r, QString::number(r));
    }
    G->SortSettings()->SetShow(true);
    G->SortSettings()->SetUndoSort(true);
    std::vector<int> fired;
    G->OnClickSort = [&](TObject*, int c) { fired.push_back(c); };
    Click(In(2, 0));
    EXPECT_EQ(Column(2), L({"apple", "date", "fig", "kiwi", "pear"}));
    Click(In(2, 0));
    EXPECT_EQ(Column(2), L({"pear", "kiwi", "fig", "date", "apple"}));
    Click(In(2, 0));
    EXPECT_EQ(Column(3), L({"1", "2", "3", "4", "5"}));
    EXPECT_EQ(fired, (std::vector<int>{2, 2, -1}));
    // A click on a normal row sorts nothing.
    Click(In(3, 2));
    EXPECT_EQ(Column(3), L({"1", "2", "3", "4", "5"}));
}

TEST_F(HeaderSortFixture, ShiftClickAddsAnIndexColumnAndMergedColumnsAreMergedAgain)
{
    const char* a[] = {"x", "y", "x", "y", "x"};
    const char* b[] = {"3", "1", "2", "5", "4"};
    for (int r = 1; r <= 5; ++r) {
        G->SetCells(1, r, QString::fromUtf8(a[r - 1]));
        G->SetCells(2, r, QString::fromUtf8(b[r - 1]));
    }
    G->SortSettings()->SetShow(true);
    G->SortSettings()->SetIndexShow(true);
    G->SortSettings()->SetAutoColumnMerge(true);
    G->MergedColumns()->Add(1);
    Click(In(1, 0));
    Click(In(2, 0), Qt::ShiftModifier);
    EXPECT_EQ(G->SortIndexes()->Count(), 2);
    EXPECT_EQ(Column(1), L({"x", "x", "x", "y", "y"}));
    EXPECT_EQ(Column(2), L({"2", "3", "4", "1", "5"}));
    EXPECT_EQ(G->SortSettings()->Column(), 1);
    // The x rows form one merged block again, the y rows another.
    EXPECT_EQ(G->CellSpan(1, 1).Y, 2);
    EXPECT_EQ(G->CellSpan(1, 4).Y, 1);
    // Without the key the list becomes the clicked column alone.
    Click(In(2, 0));
    EXPECT_EQ(G->SortIndexes()->Count(), 1);
    EXPECT_EQ(Column(2), L({"1", "2", "3", "4", "5"}));
}
