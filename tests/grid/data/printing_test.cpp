// Printing: grids printed to PDF files and read back (texts per page with pdftotext, lines
// by pixels with pdftoppm), the page layout rules, and the jobs that must end.
#include "grid/base/grid_error.h"
#include "grid/control/pro_string_grid.h"
#include "grid/data/print_layout.h"
#include "support/made_grid.h"

#include <QDate>
#include <QFile>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <set>

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

namespace {

// Dark pixels of an image, or of one row of it.
int DarkPixels(const QImage& img, int threshold = 128)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) n += qGray(img.pixel(x, y)) < threshold;
    return n;
}

bool HasColour(const QImage& img, QRgb colour)
{
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (std::abs(qRed(img.pixel(x, y)) - qRed(colour)) < 40 &&
                std::abs(qGreen(img.pixel(x, y)) - qGreen(colour)) < 40 &&
                std::abs(qBlue(img.pixel(x, y)) - qBlue(colour)) < 40)
                return true;
    return false;
}

// Runs of dark pixels along the row y of an image: (start, length).
std::vector<std::pair<int, int>> DarkRuns(const QImage& img, int y, int threshold = 100)
{
    std::vector<std::pair<int, int>> runs;
    for (int x = 0; x < img.width(); ++x) {
        if (qGray(img.pixel(x, y)) >= threshold) continue;
        if (!runs.empty() && runs.back().first + runs.back().second == x) ++runs.back().second;
        else runs.push_back({x, 1});
    }
    return runs;
}

} // namespace

// A block merged across two columns prints once, without the covered cell's text and without
// the line between its columns; mini-HTML and rich text cells print their text without markup.
TEST_F(PrintGrid, MergedBlocksHtmlAndRichTextCells)
{
    Fill(3, 3);
    grid->SetCells(0, 1, QStringLiteral("Mrg"));
    grid->SetCells(1, 1, QStringLiteral("Covered"));
    grid->MergeCells(0, 1, 2, 1);
    grid->SetCells(2, 2, QStringLiteral("<b>Bold</b> and <i>slanted</i>"));
    grid->SetCells(2, 0, QStringLiteral("{\\rtf1\\ansi {\\b Rich} words\\par}"));
    grid->Print();
    const QString text = Text(1);
    EXPECT_EQ(text.count(QStringLiteral("Mrg")), 1);
    EXPECT_FALSE(text.contains(QStringLiteral("Covered")));
    EXPECT_TRUE(text.contains(QStringLiteral("Bold and slanted"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Rich words"))) << text.toStdString();
    EXPECT_FALSE(text.contains(QLatin1Char('<')) || text.contains(QStringLiteral("rtf")));

    // the line between the first two columns crosses rows 0 and 2, not the merged row 1
    const QImage img = Image(1, 100);
    auto layout = grid->LayoutPrintPages(TGridRect{0, 0, 2, 2}, false, 2100, 2970);
    const int x = int(std::lround(grid->GetPrintColOffset(1) / 254.0 * 100));
    auto darkNear = [&](int y) {
        for (int dx = -2; dx <= 2; ++dx)
            if (qGray(img.pixel(x + dx, y)) < 160) return true;
        return false;
    };
    const auto& rows = layout->Pages.front().Rows;
    ASSERT_EQ(rows.size(), 3u);
    auto middle = [&](int i) { return int(std::lround((rows[size_t(i)].Top + rows[size_t(i)].Height / 2.0) / 254.0 * 100)); };
    EXPECT_TRUE(darkNear(middle(0)));
    EXPECT_FALSE(darkNear(middle(1)));
    EXPECT_TRUE(darkNear(middle(2)));
}

// With PrintGraphics a check box cell prints its box; without, the empty cell prints nothing.
TEST_F(PrintGrid, CheckBoxPrintsWithPrintGraphics)
{
    Fill(1, 1);
    grid->SetCells(0, 0, QString());
    grid->AddCheckBox(0, 0, true, false);
    TPrintSettings* ps = grid->PrintSettings();
    ps->SetBorders(pbNoborder);
    grid->Print();
    EXPECT_EQ(DarkPixels(Image(1, 100)), 0);
    ps->SetPrintGraphics(true);
    grid->Print();
    const QImage img = Image(1, 100);
    EXPECT_GT(DarkPixels(img), 10);
    // the box, frame included, has a check box's size on the screen, printed at its size in mm
    int minX = img.width(), maxX = -1;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qGray(img.pixel(x, y)) < 245) minX = std::min(minX, x), maxX = std::max(maxX, x);
    const double side = grid->ControlLook()->CheckSize() / 96.0 * 100;
    EXPECT_NEAR(maxX - minX + 1, side, 3);
}

// The print hooks are asked for the printed cells and what they answer is printed: the
// colour hook's brush, the border hook's pen and sides, the owner drawing and the measured size.
TEST_F(PrintGrid, PrintHooksAreCalledAndUsed)
{
    Fill(2, 2);
    std::set<std::pair<int, int>> colour, border, drawn, sized;
    grid->OnGetCellPrintColor = [&](TObject*, int ARow, int ACol, TGridDrawState, TBrush* ABrush, TFont*) {
        colour.insert({ACol, ARow});
        if (ACol == 1 && ARow == 1) ABrush->SetColor(clRed);
    };
    grid->OnGetCellPrintBorder = [&](TObject*, int ARow, int ACol, TPen* APen, TCellBorders& Borders) {
        border.insert({ACol, ARow});
        if (ACol == 0 && ARow == 0) {
            APen->SetColor(clBlue);
            APen->SetWidth(15);
            Borders = TCellBorders{cbBottom};
        }
    };
    grid->OnCustomCellDraw = [&](TObject*, TCanvas* Canvas, int ACol, int ARow, TGridDrawState, TRect R,
                                 bool Printing) {
        EXPECT_TRUE(Printing);
        drawn.insert({ACol, ARow});
        if (ACol == 0 && ARow == 1) Canvas->TextOut(R.Left + 2, R.Top + 2, QStringLiteral("Owner"));
    };
    grid->OnCustomCellSize = [&](TObject*, TCanvas*, int ACol, int ARow, TPoint& ASize, bool Printing) {
        EXPECT_TRUE(Printing);
        sized.insert({ACol, ARow});
        if (ACol == 1 && ARow == 0) ASize.X = 600;
    };
    grid->Print();
    const std::set<std::pair<int, int>> all{{0, 0}, {1, 0}, {0, 1}, {1, 1}};
    EXPECT_EQ(colour, all);
    EXPECT_EQ(border, all);
    EXPECT_EQ(drawn, all);
    EXPECT_EQ(sized, all);
    EXPECT_GE(grid->GetPrintColWidth(1), 600);
    const QImage img = Image(1, 100);
    EXPECT_TRUE(HasColour(img, qRgb(255, 0, 0)));
    EXPECT_TRUE(HasColour(img, qRgb(0, 0, 255)));
    EXPECT_TRUE(Text(1).contains(QStringLiteral("Owner")));
}

// Printing only the selection follows a disjunct row or column selection.
TEST_F(PrintGrid, DisjunctSelectionsPrintOnlyTheirRowsOrColumns)
{
    struct Case {
        bool Rows;
        QStringList Expected;
    };
    for (const Case& c : {Case{true, {"r1c0", "r1c1", "r1c2", "r4c0", "r4c1", "r4c2"}},
                          Case{false, {"r0c1", "r1c1", "r2c1", "r3c1", "r4c1", "r5c1"}}}) {
        Fill(3, 6);
        grid->MouseActions()->SetDisjunctRowSelect(c.Rows);
        grid->MouseActions()->SetDisjunctColSelect(!c.Rows);
        if (c.Rows) {
            grid->SetRowSelect(1, true);
            grid->SetRowSelect(4, true);
        } else {
            grid->SetColSelect(1, true);
            grid->SetSelection(TGridRect{0, 0, 2, 5});
        }
        grid->PrintSelectedRows();
        EXPECT_EQ(Matching(Words(1), "^r\\d+c\\d+$"), c.Expected) << (c.Rows ? "rows" : "columns");
        grid->MouseActions()->SetDisjunctRowSelect(false);
        grid->MouseActions()->SetDisjunctColSelect(false);
    }
}

// pbDouble: thick lines at the left and right of a repeated fixed column, none on the page
// whose fixed column is its own.
TEST_F(PrintGrid, DoubleBordersMarkRepeatedFixedColumns)
{
    Fill(6, 3);
    grid->SetFixedCols(1);
    for (int c = 1; c < 6; ++c) grid->SetCells(c, 0, QString(60, QChar(u'a' + c)));
    TPrintSettings* ps = grid->PrintSettings();
    ps->SetRepeatFixedCols(true);
    ps->SetBorders(pbDouble);
    ps->SetCentered(false);
    ps->SetLeftSize(100);
    grid->Print();
    ASSERT_GE(Pages(), 2);
    auto layout = grid->LayoutPrintPages(TGridRect{0, 0, 5, 2}, false, 2100, 2970);
    auto thickRuns = [&](int page) {
        const auto& row = layout->Pages[size_t(page - 1)].Rows[1];
        const QImage img = Image(page, 100);
        const int y = int(std::lround((row.Top + row.Height / 2.0) / 254.0 * 100));
        std::vector<int> at;
        for (auto [x, n] : DarkRuns(img, y))
            if (n >= 3) at.push_back(x + n / 2);
        return at;
    };
    EXPECT_TRUE(thickRuns(1).empty());
    const auto& cp = layout->ColPages[1];
    ASSERT_EQ(cp.FirstOwn, 1);
    const std::vector<int> at = thickRuns(2);
    ASSERT_EQ(at.size(), 2u);
    EXPECT_NEAR(at[0], cp.Cols[0].Left / 254.0 * 100, 2);
    EXPECT_NEAR(at[1], cp.Cols[1].Left / 254.0 * 100, 2);
}

// Mini-HTML title lines print as one text without their tags, and the grid starts below them.
TEST_F(PrintGrid, HtmlTitleTakesItsHeight)
{
    Fill(2, 2);
    TPrintSettings* ps = grid->PrintSettings();
    ps->SetTitle(ppTopLeft);
    const int plainTop = grid->LayoutPrintPages(TGridRect{0, 0, 1, 1}, false, 2100, 2970)->Pages[0].Rows[0].Top;
    ps->SetTitleLines({QStringLiteral("<b>Big</b> title"), QStringLiteral("<font size=\"5\">second</font> line")});
    auto layout = grid->LayoutPrintPages(TGridRect{0, 0, 1, 1}, false, 2100, 2970);
    EXPECT_GT(layout->TitleHeight, 0);
    EXPECT_GE(layout->Pages[0].Rows[0].Top, plainTop + layout->TitleHeight);
    grid->Print();
    const QString text = Text(1);
    EXPECT_TRUE(text.contains(QStringLiteral("Big title"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("second line")));
    EXPECT_FALSE(text.contains(QLatin1Char('<')));
    EXPECT_LT(text.indexOf(QStringLiteral("second")), text.indexOf(QStringLiteral("r0c0")));
}

// The print dialog's page range is what prints; a cancelled dialog prints nothing.
TEST_F(PrintGrid, PrintWithDialogPrintsTheChosenRange)
{
    Fill(2, 150);
    grid->PrintSettings()->SetPageNr(ppBottomRight);
    bool accept = true;
    int asked = 0;
    auto previous = TProStringGrid::SetPrintDialogHandler([&](QPrinter* Printer, QWidget*) {
        ++asked;
        Printer->setFromTo(2, 2);
        return accept;
    });
    EXPECT_TRUE(grid->PrintWithDialog());
    ASSERT_EQ(Pages(), 1);
    EXPECT_TRUE(Words(1).last().startsWith(QStringLiteral("2/")));
    QFile::remove(Pdf);
    accept = false;
    EXPECT_FALSE(grid->PrintWithDialog());
    EXPECT_FALSE(QFile::exists(Pdf));
    EXPECT_EQ(asked, 2);
    TProStringGrid::SetPrintDialogHandler(previous);
}

// Cells print with their screen look: a long single line in a column sized as on the screen
// ends in an ellipsis, a cell with an end colour prints as a gradient, rotated text stands up.
TEST_F(PrintGrid, EllipsisGradientAndRotatedText)
{
    Fill(3, 1);
    grid->SetEnhTextSize(true);
    grid->SetWordWrap(false);
    grid->SetColWidths(0, 60);
    grid->SetCells(0, 0, QStringLiteral("Averyveryverylongword and more words"));
    grid->SetColWidths(1, 60);
    grid->SetCells(1, 0, QString());
    grid->SetColors(1, 0, clBlue);
    grid->SetColorsTo(1, 0, clRed);
    grid->SetColWidths(2, 60);
    grid->SetRowHeights(0, 80);
    grid->AddRotated(2, 0, 90, QStringLiteral("Upwards"));
    TPrintSettings* ps = grid->PrintSettings();
    ps->SetNoAutoSize(true);
    ps->SetNoAutoSizeRow(true);
    ps->SetBorders(pbNoborder);
    ps->SetCentered(false);
    grid->Print();
    const QString text = Text(1);
    EXPECT_TRUE(text.contains(QStringLiteral("..."))) << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("more words")));

    auto layout = grid->LayoutPrintPages(TGridRect{0, 0, 2, 0}, false, 2100, 2970);
    const auto& row = layout->Pages[0].Rows[0];
    const QImage img = Image(1, 100);
    auto px = [](double tenths) { return int(std::lround(tenths / 254.0 * 100)); };
    const int gx = px(grid->GetPrintColOffset(1) + grid->GetPrintColWidth(1) / 2.0);
    const QRgb top = img.pixel(gx, px(row.Top) + 2), bottom = img.pixel(gx, px(row.Top + row.Height) - 3);
    EXPECT_GT(qBlue(top), qRed(top));
    EXPECT_GT(qRed(bottom), qBlue(bottom));

    // the rotated text's ink is taller than wide
    int minX = img.width(), maxX = -1, minY = img.height(), maxY = -1;
    const int left = px(grid->GetPrintColOffset(2));
    for (int y = px(row.Top); y < px(row.Top + row.Height); ++y)
        for (int x = left; x < img.width(); ++x)
            if (qGray(img.pixel(x, y)) < 128) {
                minX = std::min(minX, x), maxX = std::max(maxX, x);
                minY = std::min(minY, y), maxY = std::max(maxY, y);
            }
    ASSERT_GE(maxX, 0);
    EXPECT_GT(maxY - minY, 2 * (maxX - minX));
}

// A cell holding line breaks prints them as lines, as the screen draws the word-wrapped cell
// (the default), and its row is as tall as its lines.
TEST_F(PrintGrid, LineBreaksInACellPrintAsLines)
{
    Fill(2, 2);
    ASSERT_TRUE(grid->WordWrap());
    grid->SetCells(0, 0, QStringLiteral("line1\r\nline2"));
    grid->SetCells(1, 0, QStringLiteral("one\rtwo\nthree"));
    grid->PrintSettings()->SetBorders(pbNoborder);
    grid->Print();
    const QStringList lines = Text(1).split(QLatin1Char('\n'));
    auto lineOf = [&](const QString& word) {
        for (int i = 0; i < lines.size(); ++i)
            if (lines[i].contains(word)) return i;
        return -1;
    };
    EXPECT_FALSE(Text(1).contains(QStringLiteral("line1line2")));
    ASSERT_GE(lineOf("line1"), 0);
    EXPECT_EQ(lineOf("line2"), lineOf("line1") + 1);
    EXPECT_EQ(lineOf("two"), lineOf("one") + 1);
    EXPECT_EQ(lineOf("three"), lineOf("one") + 2);
    EXPECT_LT(lineOf("three"), lineOf("r1c0"));   // the next row comes below all three
}
