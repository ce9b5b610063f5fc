// Cell graphics as they show: where a graphic sits against the text, and the pixels of a few
// kinds in a small grid rendered offscreen.
#include "grid/control/pro_column_grid.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct FreeGrid {
    void operator()(TProStringGrid* g) const { g->Free(); }
};

// Columns 100 wide, rows 30 high, one fixed row and column; the current cell is the last one.
template <class T = TProStringGrid>
std::unique_ptr<T, FreeGrid> MakeGrid()
{
    std::unique_ptr<T, FreeGrid> g(CreateGrid<T>());
    g->SetColCount(4);
    g->SetRowCount(5);
    g->SetDefaultColWidth(100);
    g->SetDefaultRowHeight(30);
    g->SetCol(3);
    g->SetRow(4);
    g->SetBorderStyle(bsNone);
    g->SetScrollBars(ssNone);
    g->resize(420, 170);
    g->show();
    return g;
}

QImage Shot(QWidget* g) { return g->grab().toImage().convertToFormat(QImage::Format_RGB32); }
TColor At(const QImage& img, int x, int y) { return QColorToColor(QColor(img.pixel(x, y))); }

// The bounding box of the pixels of colour c inside r; empty when none.
TRect Box(const QImage& img, const TRect& r, TColor c)
{
    TRect b{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
            if (At(img, x, y) == ColorToRGB(c)) {
                b.Left = std::min(b.Left, x);
                b.Top = std::min(b.Top, y);
                b.Right = std::max(b.Right, x + 1);
                b.Bottom = std::max(b.Bottom, y + 1);
            }
    return b.Left == INT_MAX ? TRect{} : b;
}

int Count(const QImage& img, const TRect& r, TColor c)
{
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x) n += At(img, x, y) == ColorToRGB(c);
    return n;
}

TBitmap* Solid(TBitmap* b, int w, int h, TColor c)
{
    b->SetSize(w, h);
    b->Canvas()->Brush()->SetColor(c);
    b->Canvas()->FillRect({0, 0, w, h});
    return b;
}

}  // namespace

TEST(CellGraphicDrawing, PlacementAgainstTheTextByAlignments)
{
    auto g = MakeGrid();
    const TRect cell = g->CellRect(1, 1);
    // The content rectangle shrinks by the offset less one; the graphic keeps one pixel off
    // its edges.  XYOffset is (2, 2).
    const int left = cell.Left + 1 + 1, right = cell.Right - 1 - 1, top = cell.Top + 1 + 1;
    struct Case {
        TCellHAlign ha;
        TCellVAlign va;
        TAlignment text;
        int x, y;  // expected top-left of a 10 x 6 bitmap; -1: the cell's bottom less 6
    } cases[] = {
        {haLeft, vaTop, taLeftJustify, left, top},
        {haRight, vaTop, taLeftJustify, right - 10, top},
        {haCenter, vaCenter, taLeftJustify, left - 1 + (right - left + 2 - 10) / 2, -2},
        {haBeforeText, vaTop, taLeftJustify, left, top},
        {haAfterText, vaBottom, taRightJustify, right - 10, -1},
        {haFull, vaUnderText, taLeftJustify, left - 1, -3},
    };
    for (const Case& c : cases) {
        TBitmap bmp;
        Solid(&bmp, 10, 6, clRed);
        g->AddBitmap(1, 1, &bmp, false, c.ha, c.va);
        g->SetAlignments(1, 1, c.text);
        const TRect b = Box(Shot(g->viewport()), cell, clRed);
        SCOPED_TRACE(int(c.ha));
        EXPECT_EQ(b.Left, c.x);
        const int bottom = cell.Bottom - 1;  // the grid line
        const int innerBottom = bottom;
        const int y = c.y == -1 ? innerBottom - 1 - 6 : c.y == -2 ? top - 1 + (innerBottom - top + 1 - 6) / 2
                    : c.y == -3 ? innerBottom - 6 : c.y;
        EXPECT_EQ(b.Top, y);
        g->RemoveBitmap(1, 1);
    }
}

TEST(CellGraphicDrawing, ABitmapLargerThanItsCellIsCutAtTheCell)
{
    auto g = MakeGrid();
    TBitmap big;
    Solid(&big, 300, 300, clRed);
    g->AddBitmap(1, 1, &big, false, haLeft, vaTop);
    const QImage img = Shot(g->viewport());
    const TRect cell = g->CellRect(1, 1);
    EXPECT_GT(Count(img, cell, clRed), 0);
    const TRect right = g->CellRect(2, 1), below = g->CellRect(1, 2);
    EXPECT_EQ(Count(img, right, clRed), 0);
    EXPECT_EQ(Count(img, below, clRed), 0);
}

TEST(CellGraphicDrawing, ProgressBarFillsItsShareOfTheCell)
{
    auto g = MakeGrid();
    g->AddProgressEx(1, 1, clBlue, clWhite, clYellow, clBlack);
    g->SetCells(1, 1, QStringLiteral("50"));
    g->AddProgressEx(1, 2, clBlue, clWhite, clYellow, clBlack);
    g->SetCells(1, 2, QStringLiteral("100"));
    const QImage img = Shot(g->viewport());
    const TRect half = Box(img, g->CellRect(1, 1), clBlue), full = Box(img, g->CellRect(1, 2), clBlue);
    ASSERT_GT(full.Width(), 0);
    EXPECT_NEAR(half.Width() * 2, full.Width(), 2);
    EXPECT_GT(Count(img, g->CellRect(1, 1), clYellow), 0);  // the rest shows the background colour
    EXPECT_EQ(Count(img, g->CellRect(1, 2), clYellow), 0);
}

TEST(CellGraphicDrawing, RatingShowsFullHalfAndEmptyStars)
{
    auto g = MakeGrid();
    g->SetColWidths(1, 120);
    g->AddRating(1, 1, 5, clRed, clBlue);
    g->SetCells(1, 1, QStringLiteral("2.7"));  // 2.7 x 2 truncates to 5: two and a half stars
    const QImage img = Shot(g->viewport());
    const TRect cell = g->CellRect(1, 1);
    const int x0 = Box(img, cell, clRed).Left;
    auto star = [&](int i) { return TRect{x0 + 18 * i, cell.Top, x0 + 18 * i + 17, cell.Bottom - 1}; };
    EXPECT_EQ(Count(img, star(0), clBlue), 0);
    EXPECT_EQ(Count(img, star(1), clBlue), 0);
    EXPECT_GT(Count(img, star(2), clRed), 0);
    EXPECT_GT(Count(img, star(2), clBlue), 0);
    EXPECT_EQ(Count(img, star(3), clRed), 0);
    EXPECT_EQ(Count(img, star(4), clRed), 0);
    EXPECT_GT(Count(img, star(4), clBlue), 0);
}

TEST(CellGraphicDrawing, CommentMarkSitsInTheTopRightCornerAndFollowsTheClickedCell)
{
    auto g = MakeGrid();
    g->AddColorComment(2, 2, QStringLiteral("see"), clRed);
    g->AddComment(1, 1, QStringLiteral("plain"));
    QApplication::setActiveWindow(g.get());
    g->setFocus();
    const TRect cell = g->CellRect(2, 2);
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, QPoint(cell.Left + 10, cell.Top + 10));
    const QImage img = Shot(g->viewport());
    const TRect mark = Box(img, cell, clRed);
    EXPECT_EQ(mark.Right, cell.Right - 1);
    EXPECT_EQ(mark.Top, cell.Top);
    EXPECT_LE(mark.Width(), 6);
    EXPECT_LE(mark.Height(), 6);
    EXPECT_GT(Count(img, g->CellRect(1, 1), clRed), 0);  // ControlLook's comment colour
    g->ControlLook()->SetCommentColor(clNone);
    EXPECT_EQ(Count(Shot(g->viewport()), cell, clRed), 0);
}

TEST(CellGraphicDrawing, ButtonDrawsItsFaceAndCaptionAndRecordsItsPlace)
{
    auto g = MakeGrid();
    g->AddButton(1, 1, 60, 20, QStringLiteral("Go"), haRight, vaCenter);
    const QImage img = Shot(g->viewport());
    TRect r;
    g->GetCellGraphicRect(1, 1, r);
    const TRect cell = g->CellRect(1, 1);
    EXPECT_EQ(r.Width(), 60);
    EXPECT_EQ(r.Height(), 20);
    EXPECT_EQ(r.Right, cell.Right - 2);
    // The face differs from the cell's background; left of the button the cell stays plain.
    EXPECT_NE(At(img, r.Left + 3, r.Top + 3), ColorToRGB(g->Color()));
    EXPECT_EQ(Count(img, {cell.Left + 2, cell.Top + 2, r.Left - 2, cell.Bottom - 2}, g->Color()),
              (r.Left - 4 - cell.Left) * (cell.Height() - 4));
}

TEST(CellGraphicDrawing, DataCheckBoxOfAColumnGridShowsItsText)
{
    auto g = MakeGrid<TProColumnGrid>();
    g->Columns()->Items(2)->SetEditor(edDataCheckBox);
    g->SetCells(2, 1, QStringLiteral("Y"));
    g->SetCells(2, 2, QStringLiteral("N"));
    g->SetCells(2, 3, QStringLiteral("maybe"));
    const QImage img = Shot(g->viewport());
    auto box = [&](int row) {
        const TRect c = g->CellRect(2, row);
        return img.copy(c.Left, c.Top, 20, c.Height() - 1);
    };
    EXPECT_NE(box(1), box(2));
    EXPECT_EQ(box(2), box(3));
    g->SetCells(2, 3, QStringLiteral("Y"));
    EXPECT_EQ(box(1), [&] {
        const QImage again = Shot(g->viewport());
        const TRect c = g->CellRect(2, 3);
        return again.copy(c.Left, c.Top, 20, c.Height() - 1);
    }());
}
