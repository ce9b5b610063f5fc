// The glyphs drawn at one end of a cell (node box, filter glyph, always-visible editor buttons,
// row indicator) take the mirrored end in a right-to-left grid, and are hit where drawn.
#include "grid/control/grid_spin.h"
#include "support/shown_grid.h"

#include <QListWidget>
#include <functional>

namespace {

struct GlyphCase {
    const char* What;
    int Col, Row;
    std::function<void(TProStringGrid*, bool)> Show;             // sets up, with the glyph or not
    std::function<void(ShownGridFixture&, QPoint)> ClickChecks;  // none: nothing to click
    QRgb Colour = 0;  // the glyph's own colour, when setting it up moves the cell's edges too
};

void PrintTo(const GlyphCase& c, std::ostream* os) { *os << c.What; }

struct RtlGlyphs : ShownGridFixture, ::testing::WithParamInterface<GlyphCase> {
    void SetUp() override
    {
        ShownGridFixture::SetUp();
        G->FocusCell(4, 5, true);
    }
    QImage Grab()
    {
        G->Invalidate();
        QApplication::processEvents();
        return V()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    void Direction(Qt::LayoutDirection d)
    {
        G->setLayoutDirection(d);
        G->FocusCell(4, 5, true);
    }
    // Where the glyph is drawn: the pixels of cell c that differ from the picture without it
    // (above the lines at its foot, which a grid with nodes draws differently).
    QRect Drawn(const QImage& off, const GlyphCase& c)
    {
        const QImage on = Grab();
        const QRect cell = G->CellRect(c.Col, c.Row).ToQRect().adjusted(0, 0, 0, -2);
        QRect box;
        for (int y = cell.top(); y <= cell.bottom(); ++y)
            for (int x = cell.left(); x <= cell.right(); ++x)
                if (c.Colour ? on.pixel(x, y) == c.Colour : off.pixel(x, y) != on.pixel(x, y))
                    box |= QRect(x, y, 1, 1);
        return box;
    }
};

}  // namespace

TEST_P(RtlGlyphs, TheGlyphTakesTheMirroredEndOfItsCellAndIsHitThere)
{
    const GlyphCase& c = GetParam();
    c.Show(G, false);
    const QImage ltrOff = Grab();
    Direction(Qt::RightToLeft);
    const QImage rtlOff = Grab();

    c.Show(G, true);
    const QRect rtlCell = G->CellRect(c.Col, c.Row).ToQRect();
    const QRect rtl = Drawn(rtlOff, c);
    Direction(Qt::LeftToRight);
    const QRect ltrCell = G->CellRect(c.Col, c.Row).ToQRect();
    const QRect ltr = Drawn(ltrOff, c);
    ASSERT_FALSE(ltr.isEmpty());
    ASSERT_FALSE(rtl.isEmpty());
    // as far from the cell's right edge as the left-to-right glyph is from its left edge
    EXPECT_NEAR(rtlCell.right() - rtl.right(), ltr.left() - ltrCell.left(), 2) << c.What;
    EXPECT_NEAR(rtl.width(), ltr.width(), 2) << c.What;

    if (c.ClickChecks) {
        SCOPED_TRACE("left to right");
        c.ClickChecks(*this, ltr.center());
    }
    Direction(Qt::RightToLeft);
    if (c.ClickChecks) {
        SCOPED_TRACE("right to left");
        c.ClickChecks(*this, rtl.center());
    }
}

namespace {

void Click(ShownGridFixture& f, QPoint at)
{
    QTest::mouseClick(f.V(), Qt::LeftButton, {}, at);
    QApplication::processEvents();
}

const GlyphCase Cases[] = {
    {"node", 0, 1,
     [](TProStringGrid* g, bool on) {
         g->CellNode()->SetShowTree(false);
         if (on) g->AddNode(1, 3);
     },
     [](ShownGridFixture& f, QPoint at) {
         Click(f, at);
         EXPECT_TRUE(f.G->GetNodeState(1));
         EXPECT_EQ(f.G->RowCount(), 4);
         Click(f, at);
         EXPECT_FALSE(f.G->GetNodeState(1));
         EXPECT_EQ(f.G->RowCount(), 6);
         // beside the glyph, in the middle of the cell, the node stays open
         Click(f, f.In(0, 1));
         EXPECT_FALSE(f.G->GetNodeState(1));
     }},
    {"filter glyph", 1, 0,
     [](TProStringGrid* g, bool on) {
         for (int r = 1; r < g->RowCount(); ++r) g->SetCells(1, r, QString::number(r % 2));
         if (on) g->SetFilterDropDownAuto(true);
     },
     [](ShownGridFixture& f, QPoint at) {
         Click(f, at);
         QListWidget* l = f.G->DropList();
         ASSERT_TRUE(l->isVisible());
         // it opens inside the grid, under the glyph
         EXPECT_TRUE(QRect(QPoint(0, 0), f.V()->size()).contains(l->geometry().topLeft()));
         EXPECT_LE(l->geometry().left(), at.x());
         EXPECT_GE(l->geometry().right(), at.x());
         QTest::keyClick(l, Qt::Key_Escape);
         QApplication::processEvents();
         EXPECT_FALSE(l->isVisible());
     }},
    {"spin buttons", 2, 2,
     [](TProStringGrid* g, bool on) {
         g->SetOptions(g->Options() + goEditing);
         g->MouseActions()->SetDirectEdit(true);
         g->ControlLook()->SetSpinButtonsAlwaysVisible(on);
         g->OnHasSpinEdit = [](TObject*, int c, int, bool& has) { has = c == 2; };
         g->OnGetEditorType = [](TObject*, int c, int, TEditorType& e) {
             if (c == 2) e = edSpinEdit;
         };
     },
     [](ShownGridFixture& f, QPoint at) {
         f.G->SetCells(2, 2, QStringLiteral("5"));
         Click(f, QPoint(at.x(), f.G->CellRect(2, 2).Top + 2));
         ASSERT_TRUE(f.G->GetEditMode());
         EXPECT_EQ(f.G->SpinEdit()->text(), "6");
         QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
         QApplication::processEvents();
         EXPECT_FALSE(f.G->GetEditMode());
     }},
    {"drop-down button", 3, 2,
     [](TProStringGrid* g, bool on) {
         g->ControlLook()->SetDropDownAlwaysVisible(on);
         g->OnHasComboBox = [](TObject*, int c, int, bool& has) { has = c == 3; };
     },
     {}},
    {"row indicator", 0, 5,
     [](TProStringGrid* g, bool on) {
         TBitmap b(8, 8);
         b.Canvas()->Brush()->SetColor(clRed);
         b.Canvas()->FillRect({0, 0, 8, 8});
         // its bottom-left pixel gives the colour drawn transparent
         b.Canvas()->Brush()->SetColor(clLime);
         b.Canvas()->FillRect({0, 7, 1, 8});
         if (on) g->SetRowIndicator(b);
     },
     {}, qRgb(255, 0, 0)},
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(Glyphs, RtlGlyphs, ::testing::ValuesIn(Cases),
                         [](const auto& info) {
                             QString n = QString::fromUtf8(info.param.What);
                             n.remove(QLatin1Char(' ')).remove(QLatin1Char('-'));
                             return n.toStdString();
                         });
