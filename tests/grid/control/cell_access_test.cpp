#include "grid/control/pro_string_grid.h"
#include "support/made_grid.h"

#include <gtest/gtest.h>

namespace {
struct CellFixture : MadeGridFixture<TProStringGrid> {
    CellFixture() : MadeGridFixture(0, 6) {}
};

template <class F>
QString ErrorOf(F f)
{
    try {
        f();
    } catch (const EProGridError& e) {
        return e.Message();
    }
    return QString();
}
}

TEST_F(CellFixture, IntegersReadFromTheStrippedTrimmedText)
{
    struct Case { const char* text; int value; };
    for (Case k : {Case{"", 0}, {"-", 0}, {"<b>42</b>", 42}, {" 7", 7}, {"-15", -15}, {"$1F", 31}}) {
        grid->SetCells(2, 3, QString::fromUtf8(k.text));
        EXPECT_EQ(grid->GetInts(2, 3), k.value) << k.text;
    }
    for (const char* bad : {"12abc", "abc", "1.5"}) {
        grid->SetCells(2, 3, QString::fromUtf8(bad));
        EXPECT_EQ(ErrorOf([&] { grid->GetInts(2, 3); }), QStringLiteral("Cell does not contain integer value")) << bad;
    }
    grid->SetInts(2, 3, -42);
    EXPECT_EQ(grid->Cells(2, 3), QStringLiteral("-42"));
}

TEST_F(CellFixture, FloatsReadThroughTheNumberNormalisation)
{
    struct Case { const char* text; double value; };
    for (Case k : {Case{"", 0}, {"-", 0}, {"3.5", 3.5}, {"(1,234.50)", -1234.5}, {"<i>2.25</i>", 2.25}, {"1e3", 1000}}) {
        grid->SetCells(1, 2, QString::fromUtf8(k.text));
        EXPECT_DOUBLE_EQ(grid->GetFloats(1, 2), k.value) << k.text;
    }
    // Text with no number in it is no number, not zero.
    for (const char* bad : {"abc", "1.2.3", "n/a"}) {
        grid->SetCells(1, 2, QString::fromUtf8(bad));
        EXPECT_EQ(ErrorOf([&] { grid->GetFloats(1, 2); }), QStringLiteral("Cell does not contain a float value"))
            << bad;
    }
}

TEST_F(CellFixture, FloatsAreWrittenWithTheFloatFormat)
{
    grid->SetFloats(2, 3, 3.14159);
    EXPECT_EQ(grid->Cells(2, 3), QStringLiteral("3.14"));
    grid->SetFloatFormat(QStringLiteral("%.3e V"));
    grid->SetFloats(2, 3, 1234.4);
    EXPECT_EQ(grid->Cells(2, 3), QStringLiteral("1.234e+03 V"));
    // A format without one floating-point conversion fails instead of reading garbage.
    for (const char* bad : {"%d", "%s", "no conversion", "%f %f", "%2000000000f", "%.2000000000f", "%1000.2f"}) {
        grid->SetFloatFormat(QString::fromUtf8(bad));
        EXPECT_THROW(grid->SetFloats(2, 3, 1.0), EConvertError) << bad;
    }
    EXPECT_EQ(grid->Cells(2, 3), QStringLiteral("1.234e+03 V"));
    grid->SetFloatFormat(QStringLiteral("%999.3f"));
    grid->SetFloats(2, 3, 1.5);
    EXPECT_EQ(grid->Cells(2, 3).trimmed(), QStringLiteral("1.500"));
}

TEST_F(CellFixture, RealRowAccessReachesHiddenRows)
{
    for (int r = 0; r < 6; ++r) grid->SetCells(2, r, QString::number(r * 10));
    grid->HideRow(2);
    EXPECT_EQ(grid->GetAllInts(2, 2), 20);
    EXPECT_EQ(grid->GetAllInts(2, 3), 30);
    grid->SetAllFloats(2, 2, 0.5);
    EXPECT_EQ(grid->GetCellsEx(2, 2), QStringLiteral("0.50"));
    EXPECT_EQ(grid->GetCellsEx(-1, 2), QString());
    EXPECT_EQ(grid->GetCellsEx(2, -1), QString());
    EXPECT_EQ(grid->GetGridCellsEx(2, 2), QStringLiteral("0.50"));
    EXPECT_THROW(grid->GetGridCellsEx(40, 2), EListError);
}

TEST_F(CellFixture, UserObjectsOfHiddenRowsStayReachable)
{
    TObject user;
    grid->SetObjectEx(3, 4, &user);
    grid->HideRow(4);
    EXPECT_EQ(grid->GetObjectsEx(3, 4), &user);
    EXPECT_NE(dynamic_cast<TCellProperties*>(grid->GetGridObjectsEx(3, 4)), nullptr);
    grid->SetObjectsEx(3, 4, nullptr);
    grid->UnHideRow(4);
    EXPECT_EQ(grid->GetObjectEx(3, 4), nullptr);
}

TEST_F(CellFixture, UsedCellsSpanEveryTextAndAnEmptyGridGivesZero)
{
    EXPECT_EQ(grid->GetUsedCells(), (TRect{0, 0, 0, 0}));
    grid->SetCells(2, 3, QStringLiteral("a"));
    grid->SetCells(4, 1, QStringLiteral("b"));
    EXPECT_EQ(grid->GetUsedCells(), (TRect{2, 1, 4, 3}));
}

TEST_F(CellFixture, CurrentCellOfAMergedBlockIsItsBaseCell)
{
    grid->MergeCells(1, 1, 2, 2);
    grid->SetCells(1, 1, QStringLiteral("base"));
    grid->SetCol(2);
    grid->SetRow(2);
    EXPECT_EQ(grid->CurrentCell(), QStringLiteral("base"));
    grid->SetCurrentCell(QStringLiteral("x"));
    EXPECT_EQ(grid->GetGridCell(1, 1), QStringLiteral("x"));
    EXPECT_EQ(grid->GetLinesInCell(1, 1), 1);
    grid->SetCells(3, 3, QStringLiteral("a\r\nb\r\nc"));
    EXPECT_EQ(grid->GetLinesInCell(3, 3), 3);
}

TEST_F(CellFixture, TypedWritesOnHiddenColumnsStoreUnderTheRealColumn)
{
    grid->HideColumn(1);
    grid->SetInts(3, 2, 7);
    EXPECT_EQ(grid->GetGridCell(3, 2), QStringLiteral("7"));
    EXPECT_EQ(grid->GetInts(3, 2), 7);
}
