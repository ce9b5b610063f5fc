// Header looks under the mouse, change notifications, right-to-left painting, misspelt
// ranges, narrow cells, the coloured border and rows disabled among hidden rows.
#include "grid/base/cell_checker.h"
#include "grid/control/grid_child_windows.h"
#include "support/grid_shots.h"
#include "support/shown_grid.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Pixels of r whose colour is exactly c.
int Count(const QImage& img, const TRect& r, TColor c)
{
    int n = 0;
    for (int y = std::max(r.Top, 0); y < std::min(r.Bottom, img.height()); ++y)
        for (int x = std::max(r.Left, 0); x < std::min(r.Right, img.width()); ++x) n += At(img, x, y) == Rgb(c);
    return n;
}

// Dark pixels (text) of r.
int Dark(const QImage& img, const TRect& r)
{
    int n = 0;
    for (int y = std::max(r.Top, 0); y < std::min(r.Bottom, img.height()); ++y)
        for (int x = std::max(r.Left, 0); x < std::min(r.Right, img.width()); ++x)
            n += qGray(img.pixel(x, y)) < 110;
    return n;
}

QImage Part(const QImage& img, const TRect& r) { return img.copy(r.ToQRect()); }

}  // namespace

// ---- the list-view look's headers under the mouse -------------------------------------------

struct ListViewHeaders : ShownGridFixture {
    void SetUp() override
    {
        ShownGridFixture::SetUp();
        G->SetLook(glListView);
        G->SetCells(1, 0, QString());
        G->SetCells(2, 0, QString());
        QApplication::processEvents();
    }
    QImage Header(int c) { return Part(Shot(V()), G->CellRect(c, 0)); }
};

TEST_F(ListViewHeaders, AHeaderCellShowsHotUnderTheMouseAndPressedWhileHeld)
{
    const QImage normal = Header(1);
    EXPECT_EQ(Header(2), normal);  // two resting headers look alike

    Move(In(1, 0).x(), In(1, 0).y());
    EXPECT_EQ(G->HotFixedCell(), (TPoint{1, 0}));
    const QImage hot = Header(1);
    EXPECT_NE(hot, normal);
    EXPECT_EQ(Header(2), normal);

    QTest::mousePress(V(), Qt::LeftButton, {}, In(1, 0));
    QApplication::processEvents();
    const QImage pressed = Header(1);
    EXPECT_NE(pressed, hot);
    EXPECT_NE(pressed, normal);
    QTest::mouseRelease(V(), Qt::LeftButton, {}, In(1, 0));

    // On to a normal cell, then out of the grid: the header rests again.
    Move(In(1, 2).x(), In(1, 2).y());
    EXPECT_EQ(Header(1), normal);
    Move(In(2, 0).x(), In(2, 0).y());
    EXPECT_EQ(Header(2), hot);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(V(), &leave);
    QApplication::processEvents();
    EXPECT_EQ(G->HotFixedCell(), (TPoint{-1, -1}));
    EXPECT_EQ(Header(2), normal);
}

TEST_F(ListViewHeaders, OtherLooksKeepNoHotCell)
{
    G->SetLook(glXP);
    Move(In(1, 0).x(), In(1, 0).y());
    EXPECT_EQ(G->HotFixedCell(), (TPoint{-1, -1}));
}

// ---- change notifications ----------------------------------------------------------------------

TEST_F(ShownGridFixture, ACursorSetFromOutsideEndsTheSelectionModeTheGridsOwnKeeps)
{
    G->MouseActions()->SetRowSelect(true);
    Move(In(0, 2).x(), In(0, 2).y());
    ASSERT_EQ(G->MouseSelectMode(), msRow);
    // the grid's own cursor changes (moving on within the fixed column) keep the mode
    Move(In(0, 3).x(), In(0, 3).y());
    EXPECT_EQ(G->MouseSelectMode(), msRow);
    // the first change after the grid's own mode counts as the grid's; the next one is foreign
    G->SetCursor(crHourGlass);
    EXPECT_EQ(G->MouseSelectMode(), msRow);
    G->SetCursor(crDefault);
    EXPECT_EQ(G->MouseSelectMode(), msNormal);
}

TEST(ChangeNotifications, DisablingTheGridRepaintsItsTextInTheDisabledColour)
{
    auto g = MakeGrid();
    g->SetCells(1, 1, QStringLiteral("WWWW"));
    QApplication::processEvents();
    const TRect cell = g->CellRect(1, 1);
    const TRect text{cell.Left + 2, cell.Top + 2, cell.Right - 2, cell.Bottom - 2};
    const QImage enabled = Part(Shot(g.get()), text);
    g->setEnabled(false);
    const QImage disabled = Part(Shot(g.get()), text);
    EXPECT_NE(disabled, enabled);
    EXPECT_GT(Count(disabled, {0, 0, disabled.width(), disabled.height()}, g->DisabledFontColor()), 0);
    g->setEnabled(true);
    EXPECT_EQ(Part(Shot(g.get()), text), enabled);
}

TEST(ChangeNotifications, TheFooterCanvasIsThePanelsWhileThereIsOne)
{
    auto g = MakeGrid();
    if (!g->FooterPanel()) {
        EXPECT_EQ(g->FooterCanvas(), nullptr);
        g->FloatingFooter()->SetVisible(true);
    }
    ASSERT_NE(g->FooterPanel(), nullptr);
    EXPECT_EQ(g->FooterCanvas(), g->FooterPanel()->Canvas());
    g->SetColor(clYellow);  // a visible footer follows a colour change without complaint
}

// ---- right to left ------------------------------------------------------------------------------

namespace {
// Dark pixels in the left and the right half of a cell.
std::pair<int, int> Halves(const QImage& img, const TRect& cell)
{
    const int mid = (cell.Left + cell.Right) / 2;
    return {Dark(img, {cell.Left, cell.Top, mid, cell.Bottom}), Dark(img, {mid, cell.Top, cell.Right, cell.Bottom})};
}
}  // namespace

TEST(RightToLeft, TextHtmlAndPicturesStartAtTheCellsRightEdge)
{
    auto g = MakeGrid(4, 5);
    g->SetColWidths(1, 90);
    g->SetColWidths(2, 90);
    g->SetColWidths(3, 90);
    g->resize(360, 140);
    g->SetCells(1, 1, QStringLiteral("Wm"));
    g->SetCells(2, 1, QStringLiteral("<b>Wm</b>"));
    TBitmap bmp;
    bmp.SetSize(12, 12);
    bmp.Canvas()->Brush()->SetColor(clBlack);
    bmp.Canvas()->FillRect({0, 0, 12, 12});
    g->AddBitmap(3, 1, &bmp, false, haLeft, vaTop);
    for (const bool rtl : {false, true}) {
        g->setLayoutDirection(rtl ? Qt::RightToLeft : Qt::LeftToRight);
        QApplication::processEvents();
        const QImage img = Shot(g.get());
        for (int c = 1; c <= 3; ++c) {
            const auto [left, right] = Halves(img, g->CellRect(c, 1));
            SCOPED_TRACE(::testing::Message() << "column " << c << (rtl ? " right to left" : " left to right"));
            EXPECT_GT(rtl ? right : left, 0);
            EXPECT_EQ(rtl ? left : right, 0);
        }
    }
}

TEST(RightToLeft, RightAlignedTextGoesToTheLeftAndReadsRightToLeft)
{
    auto g = MakeGrid(4, 5);
    g->SetColWidths(1, 120);
    g->resize(320, 140);
    g->SetCells(1, 1, QStringLiteral("Wm"));
    g->SetAlignments(1, 1, taRightJustify);
    g->setLayoutDirection(Qt::RightToLeft);
    QApplication::processEvents();
    const auto [left, right] = Halves(Shot(g.get()), g->CellRect(1, 1));
    EXPECT_GT(left, 0);
    EXPECT_EQ(right, 0);
}

TEST_F(ShownGridFixture, RightToLeftAnAnchorIsHitWhereItShows)
{
    G->SetCells(2, 2, QStringLiteral("<a href=\"x\">Wm</a>"));
    G->setLayoutDirection(Qt::RightToLeft);
    QApplication::processEvents();
    QString entered;
    G->OnAnchorEnter = [&](TObject*, int, int, const QString& a) { entered = a; };
    const TRect cell = G->CellRect(2, 2);
    const QImage img = Shot(V());
    // the first column of ink from the right, on the text's middle line
    int inkX = -1, inkY = -1;
    for (int x = cell.Right - 1; x > cell.Left && inkX < 0; --x)
        for (int y = cell.Top; y < cell.Bottom; ++y)
            if (qGray(img.pixel(x, y)) < 160) {
                inkX = x - 2;
                inkY = y + 3;
                break;
            }
    ASSERT_GT(inkX, (cell.Left + cell.Right) / 2);
    Move(cell.Left + 3, inkY);
    EXPECT_TRUE(entered.isEmpty());
    Move(inkX, inkY);
    EXPECT_EQ(entered, QStringLiteral("x"));
}
