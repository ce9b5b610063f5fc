// The floating footer: settings, the row of calculated values under the columns, the panel
// below the cells that follows scrolling and reports clicks.
#include "support/grid_shots.h"
#include "support/shown_grid.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {
// 4 columns, 1 fixed row, rows 1..9 hold 1..9 in column 1 and the last row is the footer.
Grid<TProStringGrid> FooterGrid()
{
    auto g = MakeGrid(4, 11);
    for (int r = 1; r < 10; ++r) g->SetCells(1, r, QString::number(r));
    g->FloatingFooter()->SetVisible(true);
    return g;
}
}  // namespace

TEST(FloatingFooter, ShowingItInTheLastRowStyleMakesTheLastRowTheFooter)
{
    auto g = MakeGrid(4, 6);
    TFloatingFooter* f = g->FloatingFooter();
    f->SetVisible(true);
    EXPECT_EQ(g->FixedFooters(), 1);
    EXPECT_TRUE(g->HideLastRow());
    EXPECT_TRUE(g->FooterPanel()->isVisible());
    EXPECT_EQ(g->FooterPanel()->height(), f->Height() - 1);
    f->SetVisible(false);
    EXPECT_EQ(g->FixedFooters(), 0);
    EXPECT_FALSE(g->HideLastRow());
    EXPECT_EQ(g->FooterPanel()->height(), 0);

    f->SetFooterStyle(fsColumnPreview);
    f->SetVisible(true);
    EXPECT_EQ(g->FixedFooters(), 0);
    EXPECT_FALSE(g->HideLastRow());
}

TEST(FloatingFooter, AssignCopiesTheLookButNotHeightBorderOrEvent)
{
    auto a = MakeGrid();
    auto b = MakeGrid();
    TFloatingFooter* f = a->FloatingFooter();
    f->SetHeight(40);
    f->SetBorderColor(clRed);
    f->SetColor(clYellow);
    f->SetColumn(2);
    f->SetCustomTemplate(QStringLiteral("x"));
    f->SetFooterStyle(fsCustomPreview);
    f->SetShowHint(true);
    f->OnCalcFooter = [](TObject*, int, int, QString&) {};
    f->SetVisible(true);
    TFloatingFooter* t = b->FloatingFooter();
    t->Assign(f);
    EXPECT_EQ(t->Color(), clYellow);
    EXPECT_EQ(t->Column(), 2);
    EXPECT_EQ(t->CustomTemplate(), QStringLiteral("x"));
    EXPECT_EQ(t->FooterStyle(), fsCustomPreview);
    EXPECT_TRUE(t->ShowHint());
    EXPECT_TRUE(t->Visible());
    EXPECT_NE(t->Height(), 40);
    EXPECT_EQ(t->BorderColor(), clNone);
    EXPECT_FALSE(t->OnCalcFooter);
}

TEST(FloatingFooter, TemplateTagsTakeTheCurrentRowsCells)
{
    auto g = MakeGrid(4, 5);
    g->SetCells(2, 2, QStringLiteral("ABC"));
    g->SetRow(2);
    TFooterPanel* p = g->FooterPanel();
    const struct {
        const char* tmpl;
        const char* shown;
    } cases[] = {
        {"Total <#2>", "Total ABC"},
        {"<#2>-<#2>!", "ABC-ABC!"},
        {"a<#x>b", "ab"},          // not a number: dropped
        {"a<#99>b", "ab"},         // no such column
        {"a<#-1>b", "ab"},
        {"a<#2 and more", "a"},    // never closed: the template ends there
        {"plain", "plain"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(p->ExpandTemplate(QString::fromLatin1(c.tmpl)), QString::fromLatin1(c.shown)) << c.tmpl;
}

TEST(FloatingFooter, ColumnCalculationsFillTheFooterRow)
{
    auto g = FooterGrid();
    TFloatingFooter* f = g->FloatingFooter();
    const int last = g->RowCount() - 1;
    g->SetCells(2, 1, QStringLiteral("x"));  // column 2: a text first, then numbers
    for (int r = 2; r < 10; ++r) g->SetCells(2, r, QString::number(r));
    f->SetColumnCalc(1, acSUM);
    EXPECT_EQ(g->Cells(1, last), QStringLiteral("45.00"));
    f->SetColumnCalc(1, acCOUNT);
    EXPECT_EQ(g->Cells(1, last), QStringLiteral("9"));
    f->SetColumnCalc(1, acMAX);
    EXPECT_EQ(g->Cells(1, last), QStringLiteral("9.00"));
    EXPECT_EQ(f->ColumnCalc(1), acMAX);
    EXPECT_EQ(f->ColumnCalc(0), acNONE);
    // The minimum of a column that starts with a text has no value: the footer cell is empty.
    f->SetColumnCalc(2, acMIN);
    EXPECT_EQ(g->Cells(2, last), QString());
    // A custom column asks the grid's event.
    g->OnCalcFooter = [](TObject*, int ACol, int, QString& v) { v = QStringLiteral("c%1").arg(ACol); };
    f->SetColumnCalc(3, acCUSTOM);
    EXPECT_EQ(g->Cells(3, last), QStringLiteral("c3"));
    // Editing a value and recalculating follows it.
    f->SetColumnCalc(1, acSUM);
    g->SetCells(1, 1, QStringLiteral("11"));
    g->CalcFooter(-1);
    EXPECT_EQ(g->Cells(1, last), QStringLiteral("55.00"));
    // Switched off, nothing is written.
    f->SetEnableCalculation(false);
    g->SetCells(1, 1, QStringLiteral("1"));
    g->CalcFooter(-1);
    EXPECT_EQ(g->Cells(1, last), QStringLiteral("55.00"));
}

TEST(FloatingFooter, CountOfTenRowsWithOneFixedIsEight)
{
    auto g = MakeGrid(3, 10);
    g->FloatingFooter()->SetVisible(true);
    g->FloatingFooter()->SetColumnCalc(1, acCOUNT);
    EXPECT_EQ(g->Cells(1, 9), QStringLiteral("8"));
}

TEST(ColumnCalculations, FollowTheirCountingRules)
{
    auto g = MakeGrid(3, 9);
    const char* values[] = {"2", "4", "4", "4", "5", "5", "7", "9"};
    for (int r = 1; r < 9; ++r) g->SetCells(1, r, QString::fromLatin1(values[r - 1]));
    EXPECT_DOUBLE_EQ(g->ColumnStdDev(1, 1, 8), 2.0);
    EXPECT_DOUBLE_EQ(g->ColumnSum(1, -1, -1), 40.0);
    EXPECT_DOUBLE_EQ(g->ColumnDistinct(1, 1, 8), 5.0);
    EXPECT_DOUBLE_EQ(g->ColumnMin(1, 1, 8), 2.0);

    g->SetCells(2, 1, QStringLiteral("10"));
    g->SetCells(2, 2, QString());
    g->SetCells(2, 3, QStringLiteral("abc"));
    EXPECT_DOUBLE_EQ(g->ColumnAvg(2, 1, 3), 10.0 / 3);  // the text is skipped but counts in the divisor
    EXPECT_THROW(g->ColumnMin(2, 3, 3), EProGridError);
    EXPECT_THROW(g->ColumnStdDev(2, 1, 3), EProGridError);
    // A merged block counts once, through its base cell.
    g->MergeCells(1, 1, 1, 2);
    EXPECT_DOUBLE_EQ(g->ColumnSum(1, 1, 8), 36.0);
    g->OnColumnCalc = [](TObject*, int, int F, int T, double& r) { r = T - F; };
    EXPECT_DOUBLE_EQ(g->ColumnCustomCalc(1, 2, 7), 5.0);
}

TEST(FloatingFooter, PaintsTheLastRowUnderTheColumnsAndABorderOnlyWhenColoured)
{
    auto g = FooterGrid();
    g->SetGridLineWidth(1);
    TFloatingFooter* f = g->FloatingFooter();
    f->SetColor(clYellow);
    g->SetColors(2, g->RowCount() - 1, clAqua);
    QApplication::processEvents();
    TFooterPanel* p = g->FooterPanel();
    // Below the cell area, as wide as it.
    EXPECT_EQ(p->y(), g->ClientHeight());
    EXPECT_EQ(p->width(), g->ClientWidth());
    QImage img = Shot(p);
    const int w = 4 * 64 + 4;  // four columns of 64 with their lines
    // Column 1: its calculated value in the fixed look.
    g->FloatingFooter()->SetColumnCalc(1, acSUM);
    img = Shot(p);
    EXPECT_TRUE(Shows(img, {66, 2, 66 + 63, p->height() - 1}, clBlack));
    EXPECT_EQ(At(img, 2 * 65 + 5, 8), Rgb(clAqua));    // column 2: its own cell colour
    EXPECT_EQ(At(img, w + 6, 8), Rgb(g->Color()));     // beyond the columns: the grid's colour
    EXPECT_NE(At(img, 70 + 5, 0), Rgb(clRed));
    f->SetBorderColor(clRed);
    img = Shot(p);
    EXPECT_EQ(At(img, 70 + 5, 0), Rgb(clRed));
}

struct FooterShown : ShownGridFixture {
    void SetUp() override
    {
        ShownGridFixture::SetUp();
        G->SetColCount(12);
        G->SetRowCount(8);
        G->SetFixedCols(1);
        G->SetFixedRows(1);
        G->FloatingFooter()->SetVisible(true);
        QApplication::processEvents();
    }
};

TEST_F(FooterShown, ItTakesRoomFromTheCellsAndAClickNamesTheColumnUnderIt)
{
    TFooterPanel* p = G->FooterPanel();
    ASSERT_TRUE(p->isVisible());
    EXPECT_EQ(G->ClientHeight() + p->height(), G->height());
    int row = -2, col = -2;
    G->OnClickCell = [&](TObject*, int r, int c) { row = r, col = c; };
    // Scrolled right: the first scrolling column is no longer column 1.
    G->SetLeftCol(4);
    QApplication::processEvents();
    QTest::mouseClick(p, Qt::LeftButton, {}, QPoint(G->ColWidths(0) + 10, p->height() / 2));
    EXPECT_EQ(row, G->RowCount() - 1);
    EXPECT_EQ(col, 4);
    // Over the fixed column: the column before the first scrolling one.
    QTest::mouseClick(p, Qt::LeftButton, {}, QPoint(5, p->height() / 2));
    EXPECT_EQ(col, 3);
    // Past the last column nothing is named.
    col = -2;
    EXPECT_EQ(p->ColumnWalk(5000), -1);
}

TEST_F(FooterShown, TheLastRowIsNotPaintedAmongTheCellsAndTheKeysStopAboveIt)
{
    G->SetCol(2);
    G->SetRow(1);
    for (int i = 0; i < 20; ++i) QTest::keyClick(V(), Qt::Key_Down);
    EXPECT_EQ(G->Row(), G->RowCount() - 2);
    QTest::keyClick(V(), Qt::Key_End, Qt::ControlModifier);
    EXPECT_LT(G->Row(), G->RowCount() - 1);
}
