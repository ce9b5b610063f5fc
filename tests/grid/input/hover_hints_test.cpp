// The mouse over a shown string grid: hover looks, cursors and hints.
#include "grid/base/drawing_routines.h"
#include "support/shown_grid.h"

#include <QApplication>
#include <QHelpEvent>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct HoverFixture : ShownGridFixture {
    void SetUp() override
    {
        ShownGridFixture::SetUp();
        // the current cell out of the way of the looks checked
        G->SetCol(4);
        G->SetRow(5);
    }
    TColor PixelOf(int c, int r)
    {
        QApplication::processEvents();
        const QImage img = Window.screen()->grabWindow(Window.winId()).toImage();
        const TRect k = G->CellRect(c, r);
        return QColorToColor(QColor(img.pixel(k.Right - 8, k.Bottom - 4)));
    }
    // What the platform sends when the mouse rests.
    void RestAt(QPoint p)
    {
        QHelpEvent e(QEvent::ToolTip, p, V()->mapToGlobal(p));
        QApplication::sendEvent(V(), &e);
    }
};

}  // namespace

TEST_F(HoverFixture, HoverRowIsLitUnderTheMouseAndGoesWhenItLeaves)
{
    G->SetHoverRow(true);
    G->SetHoverRowColor(clYellow);
    const TColor plain = PixelOf(2, 2);
    Move(In(2, 2).x(), In(2, 2).y());
    EXPECT_EQ(PixelOf(2, 2), ColorToRGB(clYellow));
    EXPECT_EQ(PixelOf(3, 2), ColorToRGB(clYellow));
    EXPECT_EQ(PixelOf(2, 3), plain);
    Move(In(2, 3).x(), In(2, 3).y());
    EXPECT_EQ(PixelOf(2, 2), plain);
    EXPECT_EQ(PixelOf(2, 3), ColorToRGB(clYellow));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(V(), &leave);
    EXPECT_EQ(G->HoverRowIdx(), -1);
    EXPECT_EQ(PixelOf(2, 3), plain);
}

TEST_F(HoverFixture, FixedCellHoverFollowsTheMouseOverTheCellsItCovers)
{
    G->SetHoverFixedCells(hfFixedRows);
    EXPECT_TRUE(G->IsHoverFixedCell(2, 0));
    EXPECT_FALSE(G->IsHoverFixedCell(0, 2));
    const TColor plain = PixelOf(2, 0);
    Move(In(2, 0).x(), In(2, 0).y());
    EXPECT_NE(PixelOf(2, 0), plain);
    Move(In(2, 2).x(), In(2, 2).y());
    EXPECT_EQ(PixelOf(2, 0), plain);
}

TEST_F(HoverFixture, APressOnAHoveredFixedCellShowsItsPressedLookUntilTheRelease)
{
    G->SetStyle(gsWindowsVista);   // a style whose hover and pressed gradients differ
    G->SetHoverFixedCells(hfFixedRows);
    Move(In(2, 0).x(), In(2, 0).y());
    const TColor hovered = PixelOf(2, 0);
    QTest::mousePress(V(), Qt::LeftButton, {}, In(2, 0));
    EXPECT_NE(PixelOf(2, 0), hovered) << "pressed";
    QTest::mouseRelease(V(), Qt::LeftButton, {}, In(2, 0));
    EXPECT_EQ(PixelOf(2, 0), hovered) << "released";
}

TEST_F(HoverFixture, CursorShowsTheSizingEdgeAndTheLinkHand)
{
    G->SetOptions(G->Options() + goColSizing);
    Move(129, 10);   // the line after column 1, in the fixed row
    EXPECT_EQ(V()->cursor().shape(), Qt::SplitHCursor);
    Move(100, 10);
    EXPECT_NE(V()->cursor().shape(), Qt::SplitHCursor);

    G->SetURLShow(true);
    G->SetCells(2, 2, QStringLiteral("https://example.com"));
    Move(In(2, 2).x(), In(2, 2).y());
    EXPECT_EQ(G->Cursor(), crHandPoint);
    Move(In(3, 2).x(), In(3, 2).y());
    EXPECT_EQ(G->Cursor(), crDefault);
}

TEST_F(HoverFixture, HeaderCellsSetTheSelectionModeTheCursorShows)
{
    G->MouseActions()->SetRowSelect(true);
    G->MouseActions()->SetColSelect(true);
    G->MouseActions()->SetAllSelect(true);
    struct Case {
        QPoint At;
        TMouseSelectMode Mode;
    };
    const Case cases[] = {{In(0, 3), msRow}, {In(2, 0), msColumn}, {In(0, 0), msAll}, {In(2, 2), msNormal}};
    for (const Case& c : cases) {
        Move(c.At.x(), c.At.y());
        EXPECT_EQ(G->MouseSelectMode(), c.Mode) << c.At.x() << "," << c.At.y();
    }
}

TEST_F(HoverFixture, CellHintShowsTheTextAndGoesOnTheNextCell)
{
    G->SetShowHint(true);
    G->SetHintShowCells(true);
    G->SetHTMLHint(true);
    G->SetCells(2, 2, QStringLiteral("A <b>long</b> text"));
    RestAt(In(2, 2));
    THintWindow* w = ShownHintWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(G->LastHintPos(), (TPoint{2, 2}));
    EXPECT_EQ(w->Color(), G->HintColor());
    // marked-up text goes to the grid's own hint window, which measures the text it shows:
    // the bold word makes it wider than the plain text
    auto* html = dynamic_cast<THTMLHintWindow*>(w);
    ASSERT_NE(html, nullptr);
    EXPECT_EQ(html->Caption(), QStringLiteral("A <b>long</b> text"));
    const int plain = html->Canvas()->TextWidth(QStringLiteral("A long text"));
    EXPECT_GT(html->TextWidth(), plain);
    EXPECT_LT(html->TextWidth(), plain + 12);
    Move(In(2, 2).x() + 5, In(2, 2).y());
    EXPECT_NE(ShownHintWindow(), nullptr);
    Move(In(3, 2).x(), In(3, 2).y());
    EXPECT_EQ(ShownHintWindow(), nullptr);
    EXPECT_EQ(G->LastHintPos(), (TPoint{-1, -1}));

    // a listener can give any cell a hint
    G->SetHintShowCells(false);
    G->OnGridHint = [](TObject*, int r, int c, QString& h) { h = QStringLiteral("cell %1,%2").arg(c).arg(r); };
    RestAt(In(1, 3));
    ASSERT_NE(ShownHintWindow(), nullptr);
    EXPECT_EQ(ShownHintWindow()->Caption(), QStringLiteral("cell 1,3"));
    // without ShowHint nothing shows
    CancelHint();
    G->SetShowHint(false);
    RestAt(In(1, 3));
    EXPECT_EQ(ShownHintWindow(), nullptr);
}

TEST_F(HoverFixture, LargeTextHintSitsOverTheCellOrBelowTheCursor)
{
    G->SetShowHint(true);
    G->SetHintShowLargeText(true);
    G->SetCells(1, 1, QStringLiteral("a text far too long for a cell of this width"));
    G->SetCells(1, 2, QStringLiteral("short"));
    RestAt(In(1, 2));
    EXPECT_EQ(ShownHintWindow(), nullptr);
    RestAt(In(1, 1));
    ASSERT_NE(ShownHintWindow(), nullptr);
    CancelHint();
    // where the hint goes: over the cell, or at the cursor 6 px below the cell
    auto place = [&] {
        THintInfo info;
        info.CursorPos = {In(1, 1).x(), In(1, 1).y()};
        QString text;
        G->PrepareCellHint(text, info);
        EXPECT_EQ(text, G->Cells(1, 1));
        return V()->mapFromGlobal(QPoint(info.HintPos.X, info.HintPos.Y));
    };
    const TRect cell = G->CellRect(1, 1);
    EXPECT_EQ(place(), QPoint(cell.Left, cell.Top));
    G->SetHintShowLargeTextPos(hpMouse);
    EXPECT_EQ(place(), QPoint(In(1, 1).x(), cell.Bottom + 6));
}
