// Print preview: the window shown and paged with keys, laid out once; the preview and the
// single-page draw on a canvas.
#include "grid/control/pro_string_grid.h"
#include "grid/data/print_preview.h"
#include "platform/ui/canvas.h"
#include "support/made_grid.h"

#include <QImage>
#include <QPageSize>
#include <QPrinter>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct PreviewGrid : MadeGridFixture<TProStringGrid> {
    PreviewGrid() : MadeGridFixture(3, 200) {}
    void SetUp() override
    {
        MadeGridFixture::SetUp();
        grid->SetFixedRows(0);
        grid->SetFixedCols(0);
        grid->Printer()->setPageSize(QPageSize(QPageSize::A4));
        for (int r = 0; r < grid->RowCount(); ++r)
            for (int c = 0; c < grid->ColCount(); ++c) grid->SetCells(c, r, QStringLiteral("r%1c%2").arg(r).arg(c));
    }
};

bool SameImage(const QImage& a, const QImage& b) { return a.convertToFormat(QImage::Format_RGB32) == b.convertToFormat(QImage::Format_RGB32); }

} // namespace

TEST_F(PreviewGrid, WindowPagesWithKeysAndLaysOutOnce)
{
    int widthsAsked = 0;
    grid->OnPrintSetColumnWidth = [&](TObject*, int, int&) { ++widthsAsked; };
    TGridPrintPreview preview(grid);
    preview.show();
    preview.setFocus();
    ASSERT_GE(preview.PageCount(), 3);
    EXPECT_EQ(preview.Page(), 1);
    const QImage first = preview.grab().toImage();

    QTest::keyClick(&preview, Qt::Key_PageDown);
    EXPECT_EQ(preview.Page(), 2);
    const QImage second = preview.grab().toImage();
    EXPECT_FALSE(SameImage(first, second));
    QTest::keyClick(&preview, Qt::Key_End);
    EXPECT_EQ(preview.Page(), preview.PageCount());
    preview.grab();
    QTest::keyClick(&preview, Qt::Key_PageDown);
    EXPECT_EQ(preview.Page(), preview.PageCount());
    QTest::keyClick(&preview, Qt::Key_Home);
    EXPECT_EQ(preview.Page(), 1);
    QTest::keyClick(&preview, Qt::Key_PageUp);
    EXPECT_EQ(preview.Page(), 1);
    EXPECT_TRUE(SameImage(preview.grab().toImage(), first));
    // one layout for the whole preview: each column's width asked once
    EXPECT_EQ(widthsAsked, grid->ColCount());

    QTest::keyClick(&preview, Qt::Key_Escape);
    EXPECT_FALSE(preview.isVisible());
}

// The preview on a canvas draws the page chosen with PreviewPage, and tells so to the events.
TEST_F(PreviewGrid, CanvasPreviewDrawsTheChosenPage)
{
    auto draw = [&](int page) {
        QImage img(400, 560, QImage::Format_RGB32);
        img.fill(Qt::white);
        TCanvas canvas(&img);
        grid->SetPreviewPage(page);
        grid->PrintPreview(&canvas, TRect{0, 0, 400, 560});
        canvas.Release();
        return img;
    };
    bool previewing = false;
    int drawnPage = 0;
    grid->OnPrintPage = [&](TObject*, QPainter*, int page, int, int) {
        previewing = grid->IsPrintPreview();
        drawnPage = page;
    };
    const QImage one = draw(1), two = draw(2);
    EXPECT_EQ(drawnPage, 2);
    EXPECT_TRUE(previewing);
    EXPECT_FALSE(grid->IsPrintPreview());
    EXPECT_FALSE(SameImage(one, two));
    QImage blank(400, 560, QImage::Format_RGB32);
    blank.fill(Qt::white);
    EXPECT_FALSE(SameImage(one, blank));
}
