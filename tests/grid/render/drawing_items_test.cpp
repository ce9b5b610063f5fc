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
    auto g = MakeGrid(5, 5);
    for (int c = 1; c <= 4; ++c) g->SetColWidths(c, 90);
    g->resize(450, 140);
    g->SetCells(1, 1, QStringLiteral("Wm"));
    g->SetCells(2, 1, QStringLiteral("<b>Wm</b>"));
    TBitmap bmp;
    bmp.SetSize(12, 12);
    bmp.Canvas()->Brush()->SetColor(clBlack);
    bmp.Canvas()->FillRect({0, 0, 12, 12});
    g->AddBitmap(3, 1, &bmp, false, haLeft, vaTop);
    g->AddCheckBox(4, 1, true, false);
    for (const bool rtl : {false, true}) {
        g->setLayoutDirection(rtl ? Qt::RightToLeft : Qt::LeftToRight);
        QApplication::processEvents();
        const QImage img = Shot(g.get());
        for (int c = 1; c <= 4; ++c) {
            const auto [left, right] = Halves(img, g->CellRect(c, 1));
            SCOPED_TRACE(::testing::Message() << "column " << c << (rtl ? " right to left" : " left to right"));
            EXPECT_GT(rtl ? right : left, 0);
            EXPECT_EQ(rtl ? left : right, 0);
        }
        // beyond the last column the grid's colour shows, on whichever side that is
        const TRect last = g->CellRect(4, 1);
        const TRect beyond = rtl ? TRect{0, 0, last.Left - 1, 100} : TRect{last.Right + 1, 0, g->ClientWidth(), 100};
        EXPECT_EQ(Ink(img, beyond, g->Color()), 0);
    }
}

TEST(RightToLeft, TheSortArrowStaysInItsHeaderCell)
{
    auto plain = MakeGrid(4, 3), sorted = MakeGrid(4, 3);
    for (auto* g : {plain.get(), sorted.get()}) {
        g->SetColWidths(1, 100);
        g->resize(320, 100);
        g->SetCells(1, 0, QStringLiteral("Ab"));
        g->SortSettings()->SetColumn(1);
        g->setLayoutDirection(Qt::RightToLeft);
    }
    sorted->SortSettings()->SetShow(true);
    QApplication::processEvents();
    const QImage a = Shot(plain.get()), b = Shot(sorted.get());
    const TRect header = sorted->CellRect(1, 0);
    int inside = 0, outside = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y)) ++(PtInRect(header, {x, y}) ? inside : outside);
    EXPECT_GT(inside, 0);
    EXPECT_EQ(outside, 0);
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

// ---- misspelt ranges ----------------------------------------------------------------------------

namespace {
// Marks every "teh" as misspelt, as a spelling checker marks its finds.
class TehChecker : public TProStringGridCheck {
public:
    QString MarkError(int, int, const QString& s) override
    {
        QString out = s;
        return out.replace(QStringLiteral("teh"), QStringLiteral("<E>teh</E>"));
    }
};

// The columns of r that hold a red pixel: first and last, (-1, -1) when none.
std::pair<int, int> RedColumns(const QImage& img, const TRect& r)
{
    int first = -1, last = -1;
    for (int x = r.Left; x < r.Right; ++x)
        for (int y = r.Top; y < r.Bottom; ++y)
            if (At(img, x, y) == clRed) {
                if (first < 0) first = x;
                last = x;
                break;
            }
    return {first, last};
}
}  // namespace

TEST(MisspeltRanges, ACheckersMarksAreUnderlinedUnderTheWordOnly)
{
    auto g = MakeGrid(3, 4);
    g->SetColWidths(1, 150);
    g->resize(260, 120);
    g->SetCells(1, 1, QStringLiteral("cat teh dog"));
    TehChecker checker;
    checker.SetUseMarkError(true);
    g->SetCellChecker(&checker);
    EXPECT_FALSE(g->CheckCell(1, 1));
    g->SetCellChecker(nullptr);
    QApplication::processEvents();
    const TRect cell = g->CellRect(1, 1);
    const auto [first, last] = RedColumns(Shot(g.get()), cell);
    const QFontMetrics fm(g->Font()->ToQFont());
    const int start = cell.Left + g->XYOffset().X + fm.horizontalAdvance(QStringLiteral("cat "));
    ASSERT_GE(first, 0);
    EXPECT_NEAR(first, start, 3);
    EXPECT_NEAR(last, start + fm.horizontalAdvance(QStringLiteral("teh")), 4);
}

TEST(MisspeltRanges, AMarkerUnderlinesItsCharactersInPlainText)
{
    const TAlignment aligns[] = {taLeftJustify, taRightJustify, taCenter};
    for (const TAlignment a : aligns) {
        auto g = MakeGrid(3, 4);
        g->SetColWidths(1, 150);
        g->resize(260, 120);
        g->SetCells(1, 1, QStringLiteral("hello world"));
        g->SetAlignments(1, 1, a);
        const TRect cell = g->CellRect(1, 1);
        EXPECT_EQ(RedColumns(Shot(g.get()), cell).first, -1);
        g->AddMarker(1, 1, 6, 5);
        QApplication::processEvents();
        const QImage img = Shot(g.get());
        const auto [first, last] = RedColumns(img, cell);
        // the zig-zag lies under "world": the text's right part, wherever the text is placed
        const QFontMetrics fm(g->Font()->ToQFont());
        const int textW = fm.horizontalAdvance(QStringLiteral("hello world"));
        const int inner = cell.Width() - 2 * g->XYOffset().X;
        const int textLeft = cell.Left + g->XYOffset().X +
                             (a == taLeftJustify ? 0 : a == taRightJustify ? inner - textW : (inner - textW) / 2);
        SCOPED_TRACE(int(a));
        EXPECT_NEAR(first, textLeft + fm.horizontalAdvance(QStringLiteral("hello ")), 3);
        EXPECT_NEAR(last, textLeft + textW, 5);
        g->RemoveMarker(1, 1);
        EXPECT_EQ(RedColumns(Shot(g.get()), cell).first, -1);
    }
}

// ---- narrow cells -------------------------------------------------------------------------------

TEST(NarrowCells, TextWrapsOnlyIntoLinesThatShowWhole)
{
    auto wrapped = MakeGrid(3, 4);
    auto single = MakeGrid(3, 4);
    single->SetWordWrap(false);
    const QString texts[] = {QStringLiteral("Column 10"), QStringLiteral("first\r\nsecond"),
                             QStringLiteral("a rather long text")};
    for (const QString& t : texts) {
        for (auto* g : {wrapped.get(), single.get()}) {
            g->SetCells(1, 0, t);
            g->SetCells(1, 1, t);
        }
        QApplication::processEvents();
        const QImage a = Shot(wrapped.get()), b = Shot(single.get());
        SCOPED_TRACE(t.toStdString());
        // one line's room: the wrapped grid shows what the unwrapped one shows
        EXPECT_EQ(Part(a, wrapped->CellRect(1, 0)), Part(b, single->CellRect(1, 0)));
        EXPECT_EQ(Part(a, wrapped->CellRect(1, 1)), Part(b, single->CellRect(1, 1)));
    }
}

TEST(NarrowCells, ATallerRowShowsTheLinesThatFitAndNoneCutInHalf)
{
    auto g = MakeGrid(3, 4);
    const int lineH = QFontMetrics(g->Font()->ToQFont()).height();
    g->SetRowHeights(1, 2 * lineH + 2 * lineH / 3 + 4);  // two lines and two thirds of a third
    g->SetCells(1, 1, QStringLiteral("one\r\ntwo\r\nthree"));
    QApplication::processEvents();
    const TRect cell = g->CellRect(1, 1);
    const QImage img = Shot(g.get());
    const int top = cell.Top + g->XYOffset().Y;
    EXPECT_GT(Dark(img, {cell.Left, top, cell.Right, top + lineH}), 0);
    EXPECT_GT(Dark(img, {cell.Left, top + lineH, cell.Right, top + 2 * lineH}), 0);
    EXPECT_EQ(Dark(img, {cell.Left, top + 2 * lineH, cell.Right, cell.Bottom}), 0);
}

// ---- the coloured border, colours and disabled rows ---------------------------------------------

TEST(Border, AGridFittingItsCellsShowsItsColouredBorder)
{
    for (const bool fit : {true, false}) {
        auto g = MakeGrid();
        g->SetLook(glXP);
        g->SetBorderStyle(bsSingle);
        g->SetBorderColor(clRed);
        g->SetFitCellsInGrid(fit);
        QApplication::processEvents();
        const QImage img = Shot(g.get());
        const int H = img.height(), W = img.width();
        SCOPED_TRACE(fit);
        int red = 0;
        for (int x = 0; x < 3; ++x) red += At(img, x, H / 2) == clRed;
        EXPECT_EQ(red, 1);
        red = 0;
        for (int y = 0; y < 3; ++y) red += At(img, W / 2, y) == clRed;
        EXPECT_EQ(red, 1);
    }
}

TEST(Colours, NoneStaysNoneWhenResolved)
{
    EXPECT_EQ(ColorToRGB(clNone), clNone);
    EXPECT_EQ(ColorToRGB(0x123456), TColor(0x123456));
    EXPECT_EQ(ColorToRGB(clWindow), QColorToColor(QApplication::palette().color(QPalette::Base)));
}

TEST(DisabledRows, TheDisabledRowShowsGreyWhenRowsAboveItAreHidden)
{
    auto g = MakeGrid(3, 6);
    for (int r = 1; r < 6; ++r) g->SetCells(1, r, QStringLiteral("WWW"));
    g->HideRow(1);
    g->SetRowEnabled(2, false);  // the row shown second, which was row 3 before hiding
    QApplication::processEvents();
    const QImage img = Shot(g.get());
    const TColor grey = g->DisabledFontColor();
    for (int r = 1; r < g->RowCount() - 1; ++r) {
        const TRect c = g->CellRect(1, r);
        SCOPED_TRACE(r);
        EXPECT_EQ(Count(img, {c.Left + 2, c.Top + 2, c.Right - 2, c.Bottom - 2}, grey) > 0, r == 2);
    }
}

TEST(RightToLeft, APartOfTheWindowRepaintsTheCellsThatShowThere)
{
    auto g = MakeGrid(5, 4);
    for (int c = 1; c <= 4; ++c) g->SetColWidths(c, 90);
    g->resize(450, 120);
    g->SetCells(3, 1, QStringLiteral("Wm"));
    for (const bool rtl : {false, true}) {
        g->setLayoutDirection(rtl ? Qt::RightToLeft : Qt::LeftToRight);
        QApplication::processEvents();
        const TRect cell = g->CellRect(3, 1);
        QImage img(g->viewport()->size(), QImage::Format_RGB32);
        img.fill(Qt::magenta);
        g->viewport()->render(&img, QPoint(cell.Left, cell.Top), QRegion(cell.ToQRect()), {});
        SCOPED_TRACE(rtl);
        EXPECT_EQ(Count(img, cell, 0xFF00FF), 0);
        EXPECT_GT(Dark(img, cell), 0);
    }
}
