// The background picture and gradient, and the scroll indicators of the metro look, read back
// pixel by pixel from offscreen renders.
#include "support/grid_shots.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Cells are 64 x 24 with one-pixel lines: column c starts at 65 * c, row r at 25 * r.
void FillBitmap(TBitmap& b, int w, int h, TColor c)
{
    b.SetSize(w, h);
    b.Canvas()->Brush()->SetColor(c);
    b.Canvas()->Brush()->SetStyle(bsSolid);
    b.Canvas()->FillRect({0, 0, w, h});
}

constexpr TColor Red = 0x0000FF, Green = 0x00FF00, Blue = 0xFF0000;

int Channel(TColor c, int shift) { return int((c >> shift) & 0xFF); }

}  // namespace

TEST(Background, TheDefaultDrawsNothing)
{
    // The default display tiles a picture, and there is none: the gradient colours, strong
    // here, must not show anywhere.
    auto g = MakeGrid(4, 5);
    EXPECT_EQ(g->BackGround()->Display(), bdTile);
    g->BackGround()->SetColor(Red);
    g->BackGround()->SetColorTo(Blue);
    const QImage img = Shot(g.get());
    EXPECT_EQ(At(img, 268, 60), Rgb(g->Color()));   // beyond the last column
    EXPECT_EQ(At(img, 100, 132), Rgb(g->Color()));  // below the last row
    EXPECT_EQ(At(img, 100, 35), Rgb(g->Color()));   // a normal cell
}

TEST(Background, AFixedPictureIsCutAtItsEdgesAndSparesFixedCells)
{
    auto g = MakeGrid(4, 5);
    TBitmap b;
    FillBitmap(b, 100, 40, Red);
    g->BackGround()->SetBitmap(b);
    g->BackGround()->SetDisplay(bdFixed);
    const QImage img = Shot(g.get());
    EXPECT_EQ(At(img, 70, 30), Red);        // cell (1, 1) under the picture
    EXPECT_EQ(At(img, 99, 39), Red);        // the picture's last pixel
    EXPECT_NE(At(img, 101, 30), Red);       // right of the picture
    EXPECT_NE(At(img, 70, 41), Red);        // below it
    EXPECT_NE(At(img, 30, 10), Red);        // the fixed cells keep their look
    EXPECT_NE(At(img, 70, 10), Red);
    EXPECT_NE(At(img, 10, 30), Red);

    g->BackGround()->SetCells(bcAll);
    const QImage all = Shot(g.get());
    EXPECT_EQ(At(all, 30, 10), Red);
}

TEST(Background, AGradientRunsAcrossCellsAndTheAreaBeyond)
{
    auto g = MakeGrid(4, 5);
    g->BackGround()->SetDisplay(bdGradientHorz);
    g->BackGround()->SetColor(Red);
    g->BackGround()->SetColorTo(Blue);
    const QImage img = Shot(g.get());
    auto reddish = [&](int x, int y) { return Channel(At(img, x, y), 0) > Channel(At(img, x, y), 16); };
    EXPECT_TRUE(reddish(70, 35));     // left cell
    EXPECT_FALSE(reddish(250, 35));   // right cell
    EXPECT_FALSE(reddish(272, 60));   // beyond the last column
    EXPECT_TRUE(reddish(10, 132));    // below the last row, at the left
    EXPECT_NE(At(img, 272, 60), Rgb(g->Color()));
}

// A grid placed in a window, sized at once.
struct PlacedGrid {
    QWidget Window;
    TProStringGrid* G;
    PlacedGrid(int cols, int rows, int w, int h)
    {
        G = CreateGrid<TProStringGrid>(&Window);
        G->SetBorderStyle(bsNone);
        G->SetScrollBars(ssNone);
        G->SetColCount(cols);
        G->SetRowCount(rows);
        G->SetCol(cols - 1);
        G->SetRow(rows - 1);
        G->SetBounds(0, 0, w, h);
        Window.resize(w + 20, h + 20);
        Window.show();
        QApplication::processEvents();
    }
    ~PlacedGrid() { G->Free(); }
};

TEST(Background, TilesStayWithTheCellsWhenScrolled)
{
    PlacedGrid p(8, 5, 4 * 65 + 10, 5 * 25);
    TProStringGrid* g = p.G;
    TBitmap b;
    FillBitmap(b, 10, 10, Red);
    b.Canvas()->Brush()->SetColor(Green);
    b.Canvas()->FillRect({5, 0, 10, 10});
    g->BackGround()->SetBitmap(b);
    auto row = [&](int x0) {
        const QImage img = Shot(g);
        std::vector<TColor> r;
        for (int k = 2; k < 40; ++k) r.push_back(At(img, x0 + k, 35));
        return r;
    };
    const std::vector<TColor> before = row(g->CellRect(3, 1).Left);   // column 3 in place
    EXPECT_NE(std::count(before.begin(), before.end(), Red), 0);
    EXPECT_NE(std::count(before.begin(), before.end(), Green), 0);
    g->SetLeftCol(2);
    ASSERT_EQ(g->LeftCol(), 2);
    EXPECT_EQ(row(g->CellRect(3, 1).Left), before);   // scrolled one place left, the same tiles
}

TEST(ScrollIndicators, ThumbSizePaintAndPaging)
{
    PlacedGrid p(3, 100, 3 * 65 + 40, 21 * 25);
    TProStringGrid* g = p.G;
    g->SetDefaultRowHeight(24);
    g->SetRowHeights(0, 24);
    g->SetScrollType(ssMetro);
    g->SetRow(1);
    g->SetTopRow(1);
    QApplication::processEvents();
    TScrollControl* v = g->VertScrollControl();
    ASSERT_NE(v, nullptr);
    ASSERT_EQ(g->VisibleRowCount(), 20);
    EXPECT_EQ(v->height(), g->ClientHeight());
    EXPECT_EQ(v->TrackStart(), 24);
    EXPECT_EQ(v->TrackLength(), 21 * 25 - 24);
    int pos = 0, size = 0;
    v->GetThumb(pos, size);
    EXPECT_EQ(pos, 24);
    EXPECT_EQ(size, 100);   // 501 * 20 / 100

    const QImage img = Shot(g);
    const int x = v->x() + 1;
    EXPECT_EQ(At(img, x, 60), Rgb(0xC0C0C0));
    EXPECT_NE(At(img, x, 200), Rgb(0xC0C0C0));
    EXPECT_NE(At(img, x - 8, 60), Rgb(0xC0C0C0));   // the cells beside it

    QTest::mouseClick(v, Qt::LeftButton, Qt::NoModifier, QPoint(2, 300));
    EXPECT_EQ(g->TopRow(), 21);
    QTest::mouseClick(v, Qt::LeftButton, Qt::NoModifier, QPoint(2, 30));
    EXPECT_EQ(g->TopRow(), 1);
    g->SetTopRow(75);
    v->GetThumb(pos, size);
    QTest::mouseClick(v, Qt::LeftButton, Qt::NoModifier, QPoint(2, pos + size + 5));
    EXPECT_EQ(g->TopRow(), 80);   // never beyond RowCount - VisibleRowCount

    g->SetRowCount(1000);
    v->GetThumb(pos, size);
    EXPECT_EQ(size, 20);
}
