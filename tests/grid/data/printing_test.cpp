// Printing: grids printed to PDF files and read back (texts per page with pdftotext, lines
// by pixels with pdftoppm), the page layout rules, and the jobs that must end.
#include "grid/base/grid_error.h"
#include "grid/control/pro_string_grid.h"
#include "grid/data/print_layout.h"
#include "support/made_grid.h"

#include <QDate>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray RunTool(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(20000);
    return p.readAllStandardOutput();
}

struct PrintGrid : MadeGridFixture<TProStringGrid> {
    PrintGrid() : MadeGridFixture(3, 10) {}
    QTemporaryDir Dir;
    QString Pdf = Dir.filePath(QStringLiteral("grid.pdf"));

    void SetUp() override
    {
        MadeGridFixture::SetUp();
        QPrinter* pr = grid->Printer();
        pr->setOutputFormat(QPrinter::PdfFormat);
        pr->setOutputFileName(Pdf);
        pr->setPageSize(QPageSize(QPageSize::A4));
        pr->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
        grid->SetFixedCols(0);
        grid->SetFixedRows(0);
    }
    void Fill(int cols, int rows, int fixedRows = 0)
    {
        grid->SetColCount(cols);
        grid->SetRowCount(rows);
        grid->SetFixedRows(fixedRows);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c)
                grid->SetCells(c, r, r < fixedRows ? QStringLiteral("H%1").arg(c) : QStringLiteral("r%1c%2").arg(r).arg(c));
    }
    int Pages() const
    {
        const QString info = QString::fromUtf8(RunTool(QStringLiteral("pdfinfo"), {Pdf}));
        const auto m = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
        return m.hasMatch() ? m.captured(1).toInt() : 0;
    }
    QString Text(int page) const
    {
        return QString::fromUtf8(RunTool(QStringLiteral("pdftotext"),
                                     {QStringLiteral("-layout"), QStringLiteral("-f"), QString::number(page),
                                      QStringLiteral("-l"), QString::number(page), Pdf, QStringLiteral("-")}));
    }
    QImage Image(int page, int dpi) const
    {
        const QString base = Dir.filePath(QStringLiteral("page"));
        RunTool(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-f"),
                                         QString::number(page), QStringLiteral("-l"), QString::number(page),
                                         QStringLiteral("-png"), QStringLiteral("-singlefile"), Pdf, base});
        return QImage(base + QStringLiteral(".png"));
    }
    // The words of a page in reading order.
    QStringList Words(int page) const
    {
        return Text(page).split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    }
};

QStringList Matching(const QStringList& words, const char* pattern)
{
    QStringList out;
    const QRegularExpression re(QString::fromLatin1(pattern));
    for (const QString& w : words)
        if (re.match(w).hasMatch()) out << w;
    return out;
}

} // namespace

// Rows run over the pages in order, each once; the fixed row comes again on every page with
// RepeatFixedRows; the page number at the bottom right carries the total.
TEST_F(PrintGrid, RowsFlowOverPagesWithRepeatedHeaderAndPageNumbers)
{
    Fill(3, 120, 1);
    TPrintSettings* ps = grid->PrintSettings();
    ps->SetRepeatFixedRows(true);
    ps->SetPageNr(ppBottomRight);
    grid->Print();
    const int pages = Pages();
    ASSERT_GE(pages, 2);
    QStringList rows;
    for (int page = 1; page <= pages; ++page) {
        const QStringList words = Words(page);
        ASSERT_FALSE(words.isEmpty());
        EXPECT_EQ(words.mid(0, 3), (QStringList{"H0", "H1", "H2"})) << "page " << page;
        EXPECT_EQ(words.last(), QStringLiteral("%1/%2").arg(page).arg(pages));
        for (const QString& w : Matching(words, "^r\\d+c0$")) rows << w;
    }
    QStringList expected;
    for (int r = 1; r < 120; ++r) expected << QStringLiteral("r%1c0").arg(r);
    EXPECT_EQ(rows, expected);
}

// Time, date, title and page number land where they are placed; without the total on one page.
TEST_F(PrintGrid, HeaderAndFooterTexts)
{
    Fill(2, 3);
    TPrintSettings* ps = grid->PrintSettings();
    ps->SetTitle(ppTopCenter);
    ps->SetTitleText(QStringLiteral("Report"));
    ps->SetDate(ppTopLeft);
    ps->SetPageNr(ppBottomCenter);
    ps->SetPagePrefix(QStringLiteral("Page"));
    grid->Print();
    ASSERT_EQ(Pages(), 1);
    QStringList lines;
    for (const QString& line : Text(1).split(QLatin1Char('\n')))
        if (!line.simplified().isEmpty()) lines << line;
    const QString date = QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy"));
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_TRUE(lines.first().contains(date)) << lines.first().toStdString();
    EXPECT_TRUE(lines.first().contains(QStringLiteral("Report")));
    EXPECT_LT(lines.first().indexOf(date), lines.first().indexOf(QStringLiteral("Report")));
    EXPECT_EQ(lines.last().simplified(), QStringLiteral("Page 1"));
}

// Columns wider than a page go to column pages, numbered row page "-" column page, with the
// fixed column repeated at the left of each.
TEST_F(PrintGrid, ColumnPagesRepeatFixedColumns)
{
    Fill(6, 3);
    grid->SetFixedCols(1);
    for (int c = 1; c < 6; ++c) grid->SetCells(c, 0, QString(60, QChar(u'a' + c)));
    for (int r = 0; r < 3; ++r) grid->SetCells(0, r, QStringLiteral("K%1").arg(r));
    TPrintSettings* ps = grid->PrintSettings();
    ps->SetRepeatFixedCols(true);
    ps->SetPageNr(ppBottomRight);
    ps->SetPageNumSep(QString());
    grid->Print();
    const int pages = Pages();
    ASSERT_GE(pages, 2);
    for (int page = 1; page <= pages; ++page) {
        const QStringList words = Words(page);
        EXPECT_EQ(words.first(), QStringLiteral("K0")) << "page " << page;
        EXPECT_EQ(words.last(), QStringLiteral("1-%1").arg(page));
    }
}

// OnPrintStart chooses the pages; zero cancels the job.
TEST_F(PrintGrid, PrintStartChoosesPages)
{
    Fill(2, 150);
    grid->PrintSettings()->SetPageNr(ppTopLeft);
    int counted = 0;
    grid->OnPrintStart = [&](TObject*, int pages, int& from, int& to) {
        counted = pages;
        from = to = 2;
    };
    grid->Print();
    ASSERT_GE(counted, 3);
    ASSERT_EQ(Pages(), 1);
    EXPECT_EQ(Words(1).first(), QStringLiteral("2/%1").arg(counted));

    QFile::remove(Pdf);
    grid->OnPrintStart = [](TObject*, int, int& from, int& to) { from = 0, to = 0; };
    grid->Print();
    EXPECT_FALSE(QFile::exists(Pdf));
}

// Unless the pages are counted there is no total to print.
TEST_F(PrintGrid, FastPrintPrintsNoTotal)
{
    Fill(2, 150);
    grid->PrintSettings()->SetPageNr(ppBottomRight);
    grid->SetFastPrint(true);
    int told = 0;
    grid->OnPrintStart = [&](TObject*, int pages, int&, int&) { told = pages; };
    grid->Print();
    EXPECT_EQ(told, INT_MAX);
    ASSERT_GE(Pages(), 2);
    EXPECT_EQ(Words(1).last(), QStringLiteral("1"));
    EXPECT_EQ(Words(2).last(), QStringLiteral("2"));
}

// A row taller than the page, or a header and footer that leave no room, still take one row
// per page, clipped; the job ends.
TEST_F(PrintGrid, OversizedRowsTakeAPageEach)
{
    Fill(1, 3);
    grid->SetMultilinecells(true);
    QStringList many;
    for (int i = 0; i < 400; ++i) many << QStringLiteral("line%1").arg(i);
    grid->SetCells(0, 1, many.join(QLatin1Char('\n')));
    auto tall = grid->LayoutPrintPages(TGridRect{0, 0, 0, 2}, false, 2100, 2970);
    ASSERT_EQ(tall->Pages.size(), 3u);
    EXPECT_TRUE(tall->Pages[1].Rows.front().Clipped);

    grid->SetCells(0, 1, QStringLiteral("x"));
    grid->PrintSettings()->SetHeaderSize(5000);
    auto squeezed = grid->LayoutPrintPages(TGridRect{0, 0, 0, 2}, false, 2100, 2970);
    EXPECT_EQ(squeezed->Pages.size(), 3u);

    grid->Print();
    EXPECT_EQ(Pages(), 3);
}

// Fit to page: the factor scales the widths to the room between the margins, within the
// mode's direction, and never drops to zero or below.
TEST_F(PrintGrid, FitToPage)
{
    Fill(3, 2);
    TPrintSettings* ps = grid->PrintSettings();
    ps->SetLeftSize(100);
    ps->SetRightSize(100);
    auto widths = [&](TFitToPage mode, const char* text) {
        for (int c = 0; c < 3; ++c) grid->SetCells(c, 1, QString::fromLatin1(text));
        ps->SetFitToPage(mode);
        auto L = grid->LayoutPrintPages(TGridRect{0, 0, 2, 1}, false, 2100, 2970);
        return L->Widths;
    };
    const auto narrow = widths(fpNever, "ab");
    const auto wide = widths(fpNever, QByteArray(150, 'w').constData());
    ASSERT_GT(wide[0] * 3, 2100);
    EXPECT_EQ(widths(fpShrink, "ab"), narrow);
    EXPECT_EQ(widths(fpGrow, QByteArray(150, 'w').constData()), wide);
    for (const char* text : {"ab", "wwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwww"
                                   "wwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwww"}) {
        const auto fitted = widths(fpAlways, text);
        const int sum = fitted[0] + fitted[1] + fitted[2] + 3 * 20;
        EXPECT_LE(sum, 2100 - 200) << text;
        EXPECT_GE(sum, 2100 - 200 - 3) << text;
    }
    for (double factor : {0.0, -2.0}) {
        ps->SetFitToPage(fpCustom);
        grid->OnFitToPage = [&](TObject*, double& f, bool&) { f = factor; };
        auto L = grid->LayoutPrintPages(TGridRect{0, 0, 2, 1}, false, 2100, 2970);
        EXPECT_GT(L->Widths[0], 0) << factor;
        EXPECT_GT(L->FontScale, 0) << factor;
        EXPECT_EQ(L->Pages.size(), 1u);
    }
}

// The printed widths and positions cover every column of the grid, however many.
TEST_F(PrintGrid, WidthArraysFollowTheGrid)
{
    Fill(600, 1);
    grid->PrintSettings()->SetCentered(false);
    grid->LayoutPrintPages(TGridRect{0, 0, 599, 0}, false, 2100, 2970);
    EXPECT_GT(grid->GetPrintColWidth(599), 0);
    EXPECT_GE(grid->GetPrintColOffset(599), 0);
    EXPECT_THROW(grid->GetPrintColWidth(600), EProGridError);
}

// Centered columns leave equal room left and right; single borders draw the cell lines.
TEST_F(PrintGrid, CenteredBlockAndBorders)
{
    Fill(3, 2);
    grid->Print();
    const QImage img = Image(1, 72);
    ASSERT_FALSE(img.isNull());
    // the line across the top of the first row
    int lineY = -1;
    for (int y = 0; y < img.height() / 2 && lineY < 0; ++y) {
        int dark = 0;
        for (int x = 0; x < img.width(); ++x) dark += qGray(img.pixel(x, y)) < 160;
        if (dark > 20) lineY = y;
    }
    ASSERT_GE(lineY, 0);
    int left = -1, right = -1;
    for (int x = 0; x < img.width(); ++x)
        if (qGray(img.pixel(x, lineY)) < 160) {
            if (left < 0) left = x;
            right = x;
        }
    EXPECT_NEAR(left, img.width() - 1 - right, 2);
    // four vertical lines cross the row below the top line
    int crossings = 0;
    bool inLine = false;
    for (int x = 0; x < img.width(); ++x) {
        const bool dark = qGray(img.pixel(x, lineY + 3)) < 200;
        if (dark && !inLine) ++crossings;
        inLine = dark;
    }
    EXPECT_GE(crossings, 4);
}
