// Mini-HTML cells as they show in a grid: bold and coloured text, pictures, and a picture
// that cannot be had.
#include "grid/control/pro_string_grid.h"
#include "support/grid_shots.h"

#include <QBuffer>
#include <gtest/gtest.h>

namespace {

// A shown grid of 3 x 3 cells with a wide column 1; the current cell is the last one.
Grid<TProStringGrid> HtmlGrid()
{
    auto g = MakeGrid(3, 3);
    g->SetColWidths(1, 120);
    g->resize(300, 100);
    return g;
}

// Pixels of r that pass the test.
template <class F>
int Count(const QImage& img, const TRect& r, F test)
{
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x) n += test(QColor(img.pixel(x, y)));
    return n;
}

bool Dark(const QColor& c) { return c.lightness() < 100; }
bool Red(const QColor& c) { return c.red() > 200 && c.green() < 80 && c.blue() < 80; }
bool Green(const QColor& c) { return c.green() > 200 && c.red() < 80 && c.blue() < 80; }

TEST(HtmlCells, BoldAndColouredText)
{
    auto g = HtmlGrid();
    g->SetCells(1, 1, QStringLiteral("WWW"));
    QImage img = Shot(g->viewport());
    TRect r = g->CellRect(1, 1);
    const int plain = Count(img, r, Dark);
    ASSERT_GT(plain, 0);
    EXPECT_EQ(Count(img, r, Red), 0);

    g->SetCells(1, 1, QStringLiteral("<B>WWW</B>"));
    img = Shot(g->viewport());
    EXPECT_GT(Count(img, r, Dark), plain);

    g->SetCells(1, 1, QStringLiteral("<FONT color=\"clRed\">WWW</FONT>"));
    img = Shot(g->viewport());
    EXPECT_GT(Count(img, r, Red), 5);
    EXPECT_EQ(Count(img, r, Dark), 0);
}

TEST(HtmlCells, PicturesAndMissingPictures)
{
    auto g = HtmlGrid();
    TPictureContainer container;
    TPictureItem* item = container.Items()->Add();
    item->SetName(QStringLiteral("pic"));
    QImage green(10, 10, QImage::Format_RGB32);
    green.fill(Qt::green);
    QByteArray png;
    QBuffer buf(&png);
    buf.open(QIODevice::WriteOnly);
    green.save(&buf, "PNG");
    item->Picture()->LoadFromBytes(png);
    g->SetPictureContainer(&container);

    g->SetCells(1, 1, QStringLiteral("a<IMG src=\"pic\">b"));
    // a picture that is not there, and one whose file is no picture, draw nothing
    g->SetCells(1, 2, QStringLiteral("<IMG src=\"file:///no/such.png\"><IMG src=\"gone\">after"));
    g->SetCells(2, 2, QStringLiteral("next"));
    const QImage img = Shot(g->viewport());
    EXPECT_EQ(Count(img, g->CellRect(1, 1), Green), 100);
    EXPECT_GT(Count(img, g->CellRect(1, 2), Dark), 0);
    EXPECT_EQ(Count(img, g->CellRect(1, 2), Green), 0);
    EXPECT_GT(Count(img, g->CellRect(2, 2), Dark), 0);
    // the reference was tried once and kept
    ASSERT_EQ(g->ImageCache()->Count(), 1);
    EXPECT_TRUE(g->ImageCache()->GetPicture(0)->Empty());
}

TEST(HtmlCells, MeasuredForAutoSizing)
{
    auto g = HtmlGrid();
    g->SetCells(1, 1, QStringLiteral("ab<BR>abcdef<BR>a"));
    const QSize s = g->GetCellTextSize(1, 1, false, false);
    TCanvas* cv = g->Canvas();
    EXPECT_EQ(s.height(), 3 * cv->TextHeight(QStringLiteral("gh")) + 2);
    EXPECT_GT(s.width(), cv->TextWidth(QStringLiteral("abcd")));
}

}  // namespace
