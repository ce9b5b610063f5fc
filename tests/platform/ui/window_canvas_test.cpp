#include "platform/ui/string_grid.h"
#include "support/grid_window.h"

#include <QApplication>
#include <QScreen>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

namespace {

// A string grid that notes the cells it draws.
class CellLog : public TStringGrid {
public:
    using TStringGrid::TStringGrid;
    std::vector<std::pair<int, int>> Drawn;

protected:
    void DrawCell(int col, int row, const TRect& rect, TGridDrawState state) override
    {
        Drawn.emplace_back(col, row);
        TStringGrid::DrawCell(col, row, rect, state);
    }
};

// A shown grid of 300 x 150 client pixels without a border, with a text in every cell;
// cells are 64 x 24 with one-pixel lines.  Screen() reads what the window shows without
// painting it again, as a user would see it.
struct WindowFixture : ::testing::Test, GridWindow<CellLog> {
    WindowFixture() : GridWindow({.Width = 300, .Height = 150}) {}
    void SetUp() override
    {
        for (int c = 0; c < 5; ++c)
            for (int r = 0; r < 5; ++r) G->SetCells(c, r, QStringLiteral("%1:%2").arg(c).arg(r));
        Show();
    }
    QImage Screen()
    {
        QApplication::processEvents();
        const QPoint at = G->viewport()->mapTo(&Window, QPoint(0, 0));
        return Window.screen()
            ->grabWindow(Window.winId())
            .toImage()
            .copy(QRect(at, G->viewport()->size()))
            .convertToFormat(QImage::Format_RGB32);
    }
    // Pixels that differ between two shots.
    static std::vector<QPoint> Changed(const QImage& a, const QImage& b)
    {
        std::vector<QPoint> out;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x)
                if (a.pixel(x, y) != b.pixel(x, y)) out.emplace_back(x, y);
        return out;
    }
    void Line(TPenMode mode, int x, int y0, int y1)
    {
        TCanvas* c = G->Canvas();
        c->Pen()->SetMode(mode);
        c->Pen()->SetColor(clBlack);
        c->MoveTo(x, y0);
        c->LineTo(x, y1);
        c->Pen()->SetMode(pmCopy);
    }
};

}  // namespace

TEST_F(WindowFixture, NotXorLineBetweenPaintsShowsOverTheLastPaintAndGoesWhenDrawnAgain)
{
    const QImage before = Screen();
    Line(pmNotXor, 100, 0, 100);
    const QImage once = Screen();
    const auto changed = Changed(before, once);
    ASSERT_EQ(changed.size(), 100u);   // the end point is left out
    for (const QPoint& p : changed) {
        EXPECT_EQ(p.x(), 100);
        // black exclusive-nor inverts whatever the paint left there
        EXPECT_EQ(once.pixel(p) & 0xFFFFFF, ~before.pixel(p) & 0xFFFFFF) << p.y();
    }

    // a paint of the cells underneath keeps the line over the new paint ...
    G->SetCells(1, 1, QStringLiteral("changed"));
    const QImage repainted = Screen();
    // ... and the second line takes it away again
    Line(pmNotXor, 100, 0, 100);
    const QImage after = Screen();
    EXPECT_EQ(after, G->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32));
    EXPECT_NE(after, before);   // the new text shows
    const auto kept = Changed(after, repainted);
    ASSERT_EQ(kept.size(), 100u);
    for (const QPoint& p : kept) EXPECT_EQ(repainted.pixel(p) & 0xFFFFFF, ~after.pixel(p) & 0xFFFFFF);
}

TEST_F(WindowFixture, OrdinaryDrawingBetweenPaintsShowsUntilAPaintCoversIt)
{
    const QImage before = Screen();
    TCanvas* c = G->Canvas();
    c->Brush()->SetColor(clRed);
    c->FillRect(Rect(70, 30, 90, 40));
    QImage shown = Screen();
    EXPECT_EQ(Changed(before, shown).size(), 200u);
    EXPECT_EQ(QColor(shown.pixel(70, 30)), QColor(Qt::red));
    EXPECT_EQ(QColor(shown.pixel(89, 39)), QColor(Qt::red));
    // text too, where it was drawn
    c->Brush()->SetStyle(bsClear);
    c->TextOut(200, 60, QStringLiteral("WWW"));
    const QImage text = Screen();
    const auto written = Changed(shown, text);
    ASSERT_FALSE(written.empty());
    for (const QPoint& p : written)
        EXPECT_TRUE(QRect(200, 60, c->TextWidth(QStringLiteral("WWW")), c->TextHeight(QStringLiteral("WWW"))).contains(p));

    // a paint elsewhere leaves it; a paint of its cell covers it
    G->InvalidateCell(3, 3);
    EXPECT_EQ(QColor(Screen().pixel(70, 30)), QColor(Qt::red));
    G->InvalidateCell(1, 1);
    G->InvalidateCell(3, 2);
    EXPECT_EQ(Screen(), before);
}

TEST_F(WindowFixture, APaintOfOneCellDrawsOnlyThatCell)
{
    G->Drawn.clear();
    G->InvalidateCell(2, 3);
    QApplication::processEvents();
    EXPECT_EQ(G->Drawn, (std::vector<std::pair<int, int>>{{2, 3}}));

    // a rectangle over the corner of four cells draws those four
    G->Drawn.clear();
    G->InvalidateClientRect(Rect(125, 45, 135, 55));
    QApplication::processEvents();
    std::sort(G->Drawn.begin(), G->Drawn.end());
    EXPECT_EQ(G->Drawn, (std::vector<std::pair<int, int>>{{1, 1}, {1, 2}, {2, 1}, {2, 2}}));
}

TEST_F(WindowFixture, SizingLineFollowsAColumnDragAndGoesOnRelease)
{
    G->SetOptions(G->Options() + goColSizing);
    const QImage before = Screen();
    QTest::mousePress(G->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(130, 10));   // line after column 1
    ASSERT_EQ(G->GridState(), gsColSizing);
    const auto atPress = Changed(before, Screen());
    ASSERT_FALSE(atPress.empty());
    for (const QPoint& p : atPress) EXPECT_EQ(p.x(), 129);   // on the column's line

    QTest::mouseMove(G->viewport(), QPoint(151, 10));
    const QImage dragged = Screen();
    const auto atMove = Changed(before, dragged);
    ASSERT_FALSE(atMove.empty());
    for (const QPoint& p : atMove) EXPECT_EQ(p.x(), 150);   // moved with the pointer; the first is gone
    // a dotted line down the whole grid
    EXPECT_LT(atMove.front().y(), 3);
    EXPECT_GT(atMove.back().y(), 120);

    QTest::mouseRelease(G->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(151, 10));
    EXPECT_EQ(G->ColWidths(1), 85);
    EXPECT_EQ(Screen(), G->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32));
}
