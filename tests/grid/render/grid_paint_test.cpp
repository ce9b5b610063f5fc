// What the grid paints around its cells: the coloured border, the focus ring, sizing lines,
// rich-text cells and the design panel.
#include "grid/base/drawing_routines.h"
#include "grid/control/grid_unit.h"
#include "grid/render/grid_paint.h"
#include "support/grid_shots.h"

#include <QApplication>
#include <QBitmap>
#include <QTest>
#include <QTextDocument>
#include <gtest/gtest.h>

namespace {
// A grid on a host window whose background is green, with the platform's frame.
struct HostedGrid {
    QWidget Host;
    Grid<TProStringGrid> G;
    HostedGrid()
    {
        QPalette p = Host.palette();
        p.setColor(QPalette::Window, QColor(0, 255, 0));
        Host.setPalette(p);
        Host.resize(400, 200);
        G.reset(CreateGrid<TProStringGrid>(&Host));
        G->SetColCount(4);
        G->SetRowCount(4);
        G->setGeometry(10, 10, 300, 150);
        Host.show();
    }
};

int CountIf(const QImage& img, const std::function<bool(QRgb)>& test)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) n += test(img.pixel(x, y));
    return n;
}

bool Reddish(QRgb p) { return qRed(p) > 150 && qGreen(p) < 90 && qBlue(p) < 90; }
bool Greenish(QRgb p) { return qGreen(p) > 150 && qRed(p) < 90 && qBlue(p) < 90; }
}  // namespace

TEST(GridPaint, BorderInTheWindowFrame)
{
    const TColor border = 0xB99D7F;
    struct Case {
        TGridLook Look;
        bool Flat, Fit;
        TColor Outer, Inner;  // pixels 0 and 1 from the left edge; clNone: not the border
    } cases[] = {
        {glXP, false, false, border, clNone},
        // Fitted: the inner line would lie under the cells of the platform's 1-pixel frame, so
        // the border takes the outer line.
        {glXP, false, true, border, clNone},
        {glVista, false, false, border, clNone},
        {glStandard, false, false, clNone, clNone},
        {glClassic, false, true, clNone, clNone},
        {glXP, true, false, clNone, clNone},
    };
    for (const auto& c : cases) {
        HostedGrid h;
        TProStringGrid* g = h.G.get();
        g->SetLook(c.Look);
        g->SetBorderColor(border);
        g->SetFitCellsInGrid(c.Fit);
        g->SetFlat(c.Flat);
        const QImage img = Shot(g);
        const int y = img.height() / 2;
        const std::string what = TProStringGrid::LookToString(c.Look).toStdString() + (c.Flat ? " flat" : "") +
                                 (c.Fit ? " fit" : "");
        if (c.Outer == clNone) EXPECT_NE(At(img, 0, y), border) << what;
        else EXPECT_EQ(At(img, 0, y), c.Outer) << what;
        if (c.Inner == clNone) EXPECT_NE(At(img, 1, y), border) << what;
        else EXPECT_EQ(At(img, 1, y), c.Inner) << what;
        // Top and right edges as well.
        if (c.Outer == border) {
            EXPECT_EQ(At(img, img.width() / 2, 0), border) << what;
            EXPECT_EQ(At(img, img.width() - 1, y), border) << what;
        }
    }
}

TEST(GridPaint, BorderWaitsForTheUpdateLock)
{
    HostedGrid h;
    TProStringGrid* g = h.G.get();
    g->SetFitCellsInGrid(false);
    const TColor border = g->BorderColor();
    g->StartUpdate();
    EXPECT_NE(At(Shot(g), 0, 50), border);
    g->ResetUpdate();
    EXPECT_EQ(At(Shot(g), 0, 50), border);
}

TEST(GridPaint, FocusWindowRingsTheCellAndLeavesItUncovered)
{
    auto g = MakeGrid();
    g->SetRowHeights(1, 20);
    const TRect cell = g->CellRect(1, 1);
    ASSERT_EQ(cell.Width(), 64);
    ASSERT_EQ(cell.Height(), 20);
    g->CreateFocusWindow(cell);
    TGridFocusWindow* w = g->FocusWindow();
    ASSERT_TRUE(w->isVisible());
    EXPECT_EQ(FocusFrameGrid(), g.get());
    EXPECT_EQ(w->size(), QSize(73, 29));
    EXPECT_EQ(w->pos(), g->viewport()->mapToGlobal(QPoint(cell.Left, cell.Top)) - QPoint(4, 4));
    const QRegion shown = w->mask();
    EXPECT_TRUE(shown.contains(QPoint(2, 2)));
    EXPECT_TRUE(shown.contains(QPoint(3, 14)));
    EXPECT_TRUE(shown.contains(QPoint(4 + 64, 14)));
    EXPECT_FALSE(shown.contains(QPoint(4, 4)));
    EXPECT_FALSE(shown.contains(QPoint(4 + 63, 4 + 19)));
    // The ring is the focus colour, nearly opaque; the cell's area carries nothing.
    const QImage layer = w->Layer().convertToFormat(QImage::Format_ARGB32);
    QRgb ring = 0;
    for (int x = 0; x < 9; ++x)
        if (qAlpha(layer.pixel(x, 14)) > qAlpha(ring)) ring = layer.pixel(x, 14);
    EXPECT_GT(qAlpha(ring), 100);
    EXPECT_NEAR(qRed(ring), 0x97, 8);
    EXPECT_NEAR(qGreen(ring), 0xD3, 8);
    EXPECT_NEAR(qBlue(ring), 0xFD, 8);
    EXPECT_LT(qAlpha(layer.pixel(36, 14)), 8);
    EXPECT_EQ(w->LayerOpacity(), 230);

    g->HideFocusWindow();
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(FocusFrameGrid(), nullptr);
}

TEST(GridPaint, SizingLinesVanishWhenDrawnTwice)
{
    auto g = MakeGrid();
    const QImage before = Shot(g->viewport());
    g->DrawSizingLineVert(100);
    g->DrawSizingLineHorz(30);
    const QImage on = Shot(g->viewport());
    int changedOnLines = 0, changedElsewhere = 0;
    for (int y = 0; y < on.height(); ++y)
        for (int x = 0; x < on.width(); ++x) {
            const bool changed = on.pixel(x, y) != before.pixel(x, y);
            (x == 100 || y == 30 ? changedOnLines : changedElsewhere) += changed;
        }
    // Dotted: about every other pixel of both lines is inverted.
    EXPECT_GT(changedOnLines, (on.height() + on.width()) / 3);
    EXPECT_EQ(changedElsewhere, 0);
    g->DrawSizingLineVert(100);
    g->DrawSizingLineHorz(30);
    EXPECT_EQ(Shot(g->viewport()), before);
}

TEST(GridPaint, RichTextCellsShowTheirColoursOrTheSelectionText)
{
    const QString red = QStringLiteral("{\\rtf1\\ansi{\\colortbl;\\red255\\green0\\blue0;}\\cf1\\b WWWW\\par}");
    struct Case {
        bool Selected, Keep;
        bool Red, Green;
    } cases[] = {{false, false, true, false}, {true, false, false, true}, {true, true, true, false}};
    for (const auto& c : cases) {
        auto g = MakeGrid();
        g->SetColWidths(1, 120);
        g->SetCells(1, 1, red);
        g->SetSelectionTextColor(0x00FF00);
        g->SetSelectionRTFKeep(c.Keep);
        if (c.Selected) g->SetSelection({1, 1, 2, 2});
        const TRect r = g->CellRect(1, 1);
        const QImage cell = Shot(g->viewport()).copy(r.ToQRect());
        EXPECT_EQ(CountIf(cell, Reddish) > 0, c.Red) << c.Selected << c.Keep;
        EXPECT_EQ(CountIf(cell, Greenish) > 0, c.Green) << c.Selected << c.Keep;
    }
}

TEST(GridPaint, RichTextFramesScaleTheOffsetToTheDevice)
{
    // 600 dpi with an offset of (2, 3): 12 and 18 device pixels.
    const TRichTextFrame f = RichTextFrame({0, 0, 600, 300}, 600, 600, {2, 3});
    EXPECT_EQ(f.MarginX, 12);
    EXPECT_EQ(f.MarginY, 18);
    EXPECT_EQ(f.Twips, (TRect{29, 43, 29 + 1382, 43 + 634}));
    // On the screen the twips come back as the cell less the offset.
    const TRichTextFrame s = RichTextFrame({96, 48, 192, 96}, 96, 96, {2, 2});
    EXPECT_EQ(s.Twips, (TRect{1470, 750, 1470 + 1380, 750 + 660}));
}

TEST(GridPaint, RtfReaderKeepsTextAndSkipsTables)
{
    QTextDocument doc;
    LoadRichText(doc, QStringLiteral("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\*\\generator x;}A\\'e9\\u8364?B\\par C\\{\\}\\par}"));
    EXPECT_EQ(doc.toPlainText(), QString::fromUtf8("A\u00e9\u20acB\nC{}"));
    LoadRichText(doc, QStringLiteral("plain {text}"));
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("plain {text}"));
}

TEST(GridPaint, PaintedEventFollowsEachPaint)
{
    auto g = MakeGrid();
    int painted = 0;
    g->OnPainted = [&](TObject* s) {
        EXPECT_EQ(s, g.get());
        ++painted;
    };
    Shot(g->viewport());
    EXPECT_EQ(painted, 1);
}

TEST(GridPaint, DesignPanelOnlyWhileDesigning)
{
    Grid<TProStringGrid> d(CreateGrid<TProStringGrid>(nullptr, true));
    d->resize(360, 200);
    d->show();
    auto run = MakeGrid();
    run->resize(360, 200);
    const TRect r = d->DesignHelperRect();
    EXPECT_EQ(r.Width(), 150);
    EXPECT_TRUE(Shows(Shot(d->viewport()), r, clInfoBk));
    EXPECT_FALSE(Shows(Shot(run->viewport()), r, clInfoBk));
    EXPECT_EQ(run->DesignHelperHitTest(r.Left + 30, r.Bottom - 3), -1);

    const int lh = (r.Height() - 18) / 4;
    auto lineY = [&](int i) { return r.Top + 2 + i * (lh + 4) + lh / 2; };
    EXPECT_EQ(d->DesignHelperHitTest(r.Right - 10, r.Top + 8), 4);
    for (int i = 1; i <= 3; ++i) EXPECT_EQ(d->DesignHelperHitTest(r.Left + 40, lineY(i)), i);
    EXPECT_EQ(d->DesignHelperHitTest(r.Left - 5, lineY(1)), -1);
    EXPECT_EQ(d->Perform(CM_DESIGNHITTEST, 0, MakeLParam(r.Left + 40, lineY(2))), 1);
    EXPECT_EQ(d->Perform(CM_DESIGNHITTEST, 0, MakeLParam(5, 5)), 0);

    const bool editing = d->Options().Contains(goEditing);
    d->DesignHelperClick(r.Left + 40, lineY(1));
    EXPECT_EQ(d->Options().Contains(goEditing), !editing);
    const bool numbers = d->ShowColNrs();
    d->DesignHelperClick(r.Left + 40, lineY(2));
    EXPECT_EQ(d->ShowColNrs(), !numbers);
    int checked = -2;
    d->OnDesignLookMenu = [&](const QStringList& items, int current) {
        EXPECT_EQ(items.at(5), QStringLiteral("Office 2007"));
        checked = current;
        return 5;
    };
    d->DesignHelperClick(r.Left + 40, lineY(3));
    EXPECT_EQ(checked, 6);  // "Windows XP", the look of a new grid
    EXPECT_EQ(d->Look(), glOffice2007);
    d->DesignHelperClick(r.Right - 10, r.Top + 8);
    EXPECT_FALSE(d->ShowDesignHelper());
    EXPECT_FALSE(Shows(Shot(d->viewport()), r, clInfoBk));
}
