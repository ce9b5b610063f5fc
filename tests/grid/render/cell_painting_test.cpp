// Cells as they show: small grids rendered offscreen, checked at the pixels their look fixes.
#include "grid/base/drawing_routines.h"
#include "grid/control/pro_column_grid.h"
#include "support/grid_shots.h"

#include <QElapsedTimer>
#include <QTest>
#include <gtest/gtest.h>

TEST(CellPainting, GridLinesAtTheRightAndBottomPixelOfEachCell)
{
    auto g = MakeGrid();
    const QImage img = Shot(g->viewport());
    const TRect r = g->CellRect(2, 2);
    const TColor line = Rgb(g->GridLineColor());
    EXPECT_EQ(At(img, r.Right - 1, r.Top + 5), line);
    EXPECT_EQ(At(img, r.Left + 5, r.Bottom - 1), line);
    EXPECT_EQ(At(img, r.Right - 2, r.Top + 5), Rgb(clWindow));
    // Fixed cells: the fixed line colour on their right edge.
    const TRect f = g->CellRect(2, 0);
    EXPECT_EQ(At(img, f.Right - 1, f.Top + 5), Rgb(g->GridFixedLineColor()));
}

TEST(CellPainting, WithoutLineWidthTheLinesTakeTheCellColour)
{
    auto g = MakeGrid();
    g->SetGridLineWidth(0);
    g->SetColors(2, 2, clYellow);
    const QImage img = Shot(g->viewport());
    const TRect r = g->CellRect(2, 2);
    EXPECT_EQ(At(img, r.Right - 1, r.Top + 5), Rgb(clYellow));
    EXPECT_FALSE(Shows(img, r, g->GridLineColor()));
}

TEST(CellPainting, HeaderIsAVerticalGradientWithItsEdges)
{
    auto g = MakeGrid();
    g->SetCells(2, 0, QString());
    const QImage img = Shot(g->viewport());
    const TRect r = g->CellRect(2, 0);
    const int x = r.Left + 20;
    // White highlight along the top and left, the gradient running from white to the button
    // face colour, then the dark line at the bottom.
    EXPECT_EQ(At(img, x, r.Top), Rgb(clWhite));
    EXPECT_EQ(At(img, r.Left, r.Top + 10), Rgb(clWhite));
    EXPECT_GE(GetRValue(At(img, x, r.Top + 1)), 250);
    const TColor nearBottom = At(img, x, r.Bottom - 3);
    EXPECT_NEAR(GetRValue(nearBottom), GetRValue(Rgb(clBtnFace)), 8);
    EXPECT_LT(GetRValue(nearBottom), 255);
    EXPECT_EQ(At(img, x, r.Bottom - 1), DarkenColorHalf(Rgb(clBtnFace)));
}

TEST(CellPainting, HiddenLastRowIsPlainGridColour)
{
    auto g = MakeGrid();
    g->SetCells(2, 4, QStringLiteral("WWWW"));
    g->SetHideLastRow(true);
    const QImage img = Shot(g->viewport());
    const TRect r = g->CellRect(2, 4);
    EXPECT_EQ(Ink(img, r, g->Color()), 0);
}

TEST(CellPainting, MergedBlockShowsItsTextOnceAndNoInnerLines)
{
    auto g = MakeGrid(5, 5);
    g->SetCells(1, 1, QStringLiteral("HH"));
    g->SetCells(2, 1, QStringLiteral("HH"));  // hidden under the block
    g->MergeCells(1, 1, 3, 2);
    const QImage img = Shot(g->viewport());
    const TRect block = g->CellRect(1, 1);
    ASSERT_EQ(block.Width(), 3 * 64);
    // Text only in the first column's part of the block, no grid line between its cells.
    const TRect first{block.Left, block.Top, block.Left + 40, block.Top + 20};
    const TRect rest{block.Left + 64, block.Top, block.Right - 2, block.Bottom - 2};
    EXPECT_GT(Ink(img, first, clWindow), 0);
    EXPECT_EQ(Ink(img, rest, clWindow), 0);
}

TEST(CellPainting, BlockScrolledUnderTheFixedRowIsClippedThere)
{
    auto g = MakeGrid(4, 12);
    g->resize(4 * 64 + 20, 5 * 24);
    g->SetColors(1, 1, clRed);
    g->MergeCells(1, 1, 1, 4);
    const QImage before = Shot(g->viewport());
    g->SetTopRow(3);
    const QImage after = Shot(g->viewport());
    const TRect header = g->CellRect(1, 0);
    // The header row looks the same; the block shows below it.
    for (int x = header.Left; x < header.Right; ++x)
        for (int y = header.Top; y < header.Bottom; ++y)
            ASSERT_EQ(At(after, x, y), At(before, x, y)) << x << "," << y;
    EXPECT_EQ(At(after, header.Left + 5, header.Bottom + 3), Rgb(clRed));
}

TEST(CellPainting, SelectionBoxPartsAcrossTheSelectedColumns)
{
    struct Probe : TProStringGrid {
        using TBaseGrid::SelectionBoxPart;
    };
    auto g = MakeGrid<Probe>(6, 4);
    struct Case {
        TGridRect Sel;
        int Col, Part;
    } cases[] = {
        {{1, 1, 3, 1}, 1, 1}, {{1, 1, 3, 1}, 2, 3}, {{1, 1, 3, 1}, 3, 2}, {{2, 1, 2, 2}, 2, 0}, {{3, 1, 1, 1}, 2, 3},
    };
    for (const Case& c : cases) {
        g->SetSelection(c.Sel);
        EXPECT_EQ(g->SelectionBoxPart(c.Col), c.Part) << c.Col;
    }
    // A selection box replaces the plain selection fill.
    g->SetSelectionStyle(ssWin7);
    g->SetSelection({1, 1, 3, 1});
    const QImage img = Shot(g->viewport());
    const TRect r = g->CellRect(2, 1);
    EXPECT_FALSE(Shows(img, r, g->SelectionColor()));
    EXPECT_NE(At(img, r.Left + 10, r.Top + r.Height() / 2), Rgb(clWindow));
}

TEST(CellPainting, HoverAndActiveRowColours)
{
    auto g = MakeGrid(5, 5);
    g->SetHoverRow(true);
    g->SetHoverRowIdx(3);
    g->SetHoverRowColor(clAqua);
    g->SetActiveRowShow(true);
    g->SetActiveRowColor(clLime);
    g->SetRow(2);
    g->SetCol(1);
    const QImage img = Shot(g->viewport());
    auto mid = [&](int c, int r) {
        const TRect x = g->CellRect(c, r);
        return At(img, x.Right - 4, x.Top + 4);
    };
    EXPECT_EQ(mid(3, 3), Rgb(clAqua));
    EXPECT_EQ(mid(3, 2), Rgb(clLime));
    // The current cell keeps the selection look; fixed cells of the hover row keep theirs.
    EXPECT_NE(mid(1, 2), Rgb(clLime));
    EXPECT_NE(mid(0, 3), Rgb(clAqua));
}

TEST(CellPainting, TextAlignmentWrapAndEllipsis)
{
    auto g = MakeGrid(4, 5);
    g->SetColWidths(1, 120);
    g->SetCells(1, 1, QStringLiteral("ab"));
    g->SetCells(2, 1, QStringLiteral("a long long long text"));
    g->OnGetAlignment = [](TObject*, int, int ACol, TAlignment& h, TVAlignment&) {
        if (ACol == 1) h = taRightJustify;
    };
    QImage img = Shot(g->viewport());
    const TRect r = g->CellRect(1, 1);
    EXPECT_EQ(Ink(img, {r.Left, r.Top, r.Left + 80, r.Bottom - 1}, clWindow), 0);
    EXPECT_GT(Ink(img, {r.Right - 30, r.Top, r.Right - 1, r.Bottom - 1}, clWindow), 0);
    // Word wrap puts the rest of a long text on the next line.
    const TRect w = g->CellRect(2, 1);
    g->SetRowHeights(1, 40);
    g->SetWordWrap(true);
    img = Shot(g->viewport());
    const TRect w2 = g->CellRect(2, 1);
    EXPECT_GT(Ink(img, {w2.Left, w2.Top + 18, w2.Right - 1, w2.Bottom - 1}, clWindow), 0);
    (void)w;
    // Without wrap, with the enhanced text size, the text ends in an ellipsis inside its cell.
    g->SetWordWrap(false);
    g->SetEnhTextSize(true);
    img = Shot(g->viewport());
    const TRect next = g->CellRect(3, 1);
    EXPECT_EQ(Ink(img, {next.Left, next.Top, next.Left + 10, next.Bottom - 1}, clWindow), 0);
}

TEST(CellPainting, DataCheckBoxColumnShowsTheStateOfItsText)
{
    auto g = MakeGrid<TProColumnGrid>(3, 5);
    g->Columns()->Items(2)->SetEditor(edDataCheckBox);
    g->SetCells(2, 1, QStringLiteral("Y"));
    g->SetCells(2, 2, QStringLiteral("N"));
    g->SetCells(2, 3, QStringLiteral("y"));  // case matters: unchecked
    const QImage img = Shot(g->viewport());
    auto box = [&](int r) {
        const TRect c = g->CellRect(2, r);
        return img.copy(c.Left + 1, c.Top + 1, 17, 17);
    };
    EXPECT_NE(box(1), box(2));
    EXPECT_EQ(box(2), box(3));
    // No text beside a data check box.
    const TRect c = g->CellRect(2, 1);
    EXPECT_EQ(Ink(img, {c.Left + 20, c.Top, c.Right - 2, c.Bottom - 2}, g->Color()), 0);
}

TEST(CellPainting, ClickingACellMovesTheSelectionLookAndTheFocusRectangle)
{
    auto g = MakeGrid(5, 5);
    g->SetCol(1);
    g->SetRow(1);
    g->SetFocus();
    const TRect target = g->CellRect(3, 3);
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, QPoint(target.Left + 10, target.Top + 10));
    ASSERT_EQ(g->Col(), 3);
    ASSERT_EQ(g->Row(), 3);
    QImage img = Shot(g->viewport());
    EXPECT_EQ(At(img, target.Left + 20, target.Top + 12), Rgb(g->SelectionColor()));
    const TRect old = g->CellRect(1, 1);
    EXPECT_EQ(At(img, old.Left + 20, old.Top + 12), Rgb(g->Color()));
    QTest::keyClick(g->viewport(), Qt::Key_Left);
    img = Shot(g->viewport());
    const TRect left = g->CellRect(2, 3);
    EXPECT_EQ(At(img, left.Left + 20, left.Top + 12), Rgb(g->SelectionColor()));
    EXPECT_EQ(At(img, target.Left + 20, target.Top + 12), Rgb(g->Color()));
}

// A word-wrapped cell holding one unbroken word of a million characters: sizing its row to
// the text costs about ten times what a hundred thousand characters cost, far from the
// hundred times a per-line measure of the rest of the word would cost; painting it breaks
// only the lines the cell shows. Each figure is the fastest of three runs, so that a busy
// machine does not decide.
TEST(CellPainting, HugeWrappedCellPaintsAndSizesInTimeOfItsLength)
{
    auto g = MakeGrid();
    ASSERT_TRUE(g->WordWrap());
    auto timed = [](auto f, int runs) {
        double best = 1e9;
        for (int i = 0; i < runs; ++i) {
            QElapsedTimer t;
            t.start();
            f();
            best = std::min(best, t.nsecsElapsed() / 1e9);
        }
        return best;
    };
    auto size = [&](int n, int runs) {
        g->SetCells(1, 1, QString(n, u'x'));
        return timed([&] { g->SetRowHeights(1, 24), g->AutoSizeRow(1); }, runs);
    };
    const double sizeSmall = size(100000, 3);
    const double sizeBig = size(1000000, 3);
    EXPECT_LT(sizeBig, 40 * sizeSmall) << sizeSmall << " s, " << sizeBig << " s";
    EXPECT_GT(g->RowHeights(1), 24);
    g->SetRowHeights(1, 24);
    const double paintBig = timed([&] { Shot(g->viewport()); }, 3);
    EXPECT_LT(paintBig, sizeBig / 3) << paintBig << " s, " << sizeBig << " s";
    // the painted cell still shows its first lines of x
    const QImage img = Shot(g->viewport());
    const TRect r = g->CellRect(1, 1);
    int dark = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x) dark += qGray(img.pixel(x, y)) < 128;
    EXPECT_GT(dark, 20);
}
