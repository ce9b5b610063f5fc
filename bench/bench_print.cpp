// Printing 10,000 x 20 cells to a PDF file against a plain QPainter loop onto the same kind of
// QPrinter (columns measured, rows paged, each cell's frame and text drawn), per page, and
// against QTextDocument printing an HTML table of the same cells; and paging a print preview
// of the same grid.  A plain main that prints `ratio <case> <ours/peer>` (see README.md).
#include "grid/control/pro_string_grid.h"
#include "grid/data/print_preview.h"
#include "paired_timing.h"
#include "platform/ui/custom_grid.h"

#include <QApplication>
#include <QDir>
#include <QFontMetrics>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QTextDocument>

namespace {
// What a Qt programmer writes to print a table: the columns sized to their widest text, as
// many rows as fit on a page, the columns that do not fit on further pages, each cell a frame
// and its text.  Returns the pages printed.
int PrintTableLoop(QPrinter& Printer, const std::vector<QStringList>& Rows, const QFont& Font)
{
    QPainter p;
    if (!p.begin(&Printer)) std::abort();
    // the table as on the screen, 96 units an inch, scaled onto the page
    const double scale = Printer.resolution() / 96.0;
    p.scale(scale, scale);
    p.setFont(Font);
    const QFontMetrics fm(Font);
    const int pad = fm.averageCharWidth() / 2;
    const int cols = Rows.empty() ? 0 : int(Rows.front().size());
    std::vector<int> widths(size_t(cols), 0);
    for (const QStringList& row : Rows)
        for (int c = 0; c < cols; ++c) widths[size_t(c)] = std::max(widths[size_t(c)], fm.horizontalAdvance(row[c]) + 2 * pad);
    const QSizeF page = QSizeF(p.viewport().size()) / scale;
    const int rowHeight = fm.height() + 2 * pad;
    int pages = 0;
    for (int first = 0; first < cols;) {
        int last = first, w = widths[size_t(first)];
        while (last + 1 < cols && w + widths[size_t(last + 1)] <= page.width()) w += widths[size_t(++last)];
        for (size_t r = 0; r < Rows.size();) {
            if (pages++ > 0) Printer.newPage();
            for (int y = 0; r < Rows.size() && y + rowHeight <= page.height(); ++r, y += rowHeight)
                for (int c = first, x = 0; c <= last; x += widths[size_t(c)], ++c) {
                    const QRect cell(x, y, widths[size_t(c)], rowHeight);
                    p.drawRect(cell);
                    p.drawText(cell.adjusted(pad, 0, -pad, 0), Qt::AlignLeft | Qt::AlignVCenter, Rows[r][c]);
                }
        }
        first = last + 1;
    }
    p.end();
    return pages;
}

// FABRICAT_BENCH_CASE runs the cases whose names start with it; all run without it.
bool Runs(const char* name)
{
    const QByteArray only = qgetenv("FABRICAT_BENCH_CASE");
    return only.isEmpty() || QByteArray(name).startsWith(only);
}
}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int cols = 20, rows = 10000;
    const QString dir = qEnvironmentVariable("FABRICAT_BENCH_DIR", QDir::tempPath());

    auto* grid = CreateGrid<TProStringGrid>();
    grid->SetColCount(cols);
    grid->SetRowCount(rows);
    QString html = QStringLiteral("<table border=1 cellspacing=0>");
    std::vector<QStringList> texts(rows);
    for (int r = 0; r < rows; ++r) {
        html += QStringLiteral("<tr>");
        for (int c = 0; c < cols; ++c) {
            const QString t = QStringLiteral("r%1c%2").arg(r).arg(c);
            grid->SetCells(c, r, t);
            texts[size_t(r)] << t;
            html += QStringLiteral("<td>") + t + QStringLiteral("</td>");
        }
        html += QStringLiteral("</tr>");
    }
    html += QStringLiteral("</table>");

    QPrinter* ours = grid->Printer();
    ours->setOutputFormat(QPrinter::PdfFormat);
    ours->setOutputFileName(dir + QStringLiteral("/bench_print_ours.pdf"));
    ours->setPageSize(QPageSize(QPageSize::A4));
    QPrinter peer(QPrinter::HighResolution);
    peer.setOutputFormat(QPrinter::PdfFormat);
    peer.setOutputFileName(dir + QStringLiteral("/bench_print_peer.pdf"));
    peer.setPageSize(QPageSize(QPageSize::A4));

    // Per page against the QPainter loop onto a printer like ours, both warm.
    QPrinter loop(QPrinter::HighResolution);
    loop.setOutputFormat(QPrinter::PdfFormat);
    loop.setOutputFileName(dir + QStringLiteral("/bench_print_loop.pdf"));
    loop.setPageSize(QPageSize(QPageSize::A4));
    const QFont font = grid->Font()->ToQFont();
    if (Runs("print_pdf_10000x20_per_page")) {
    grid->Print();
    const int ourPages = grid->PrintPageNum();
    const int loopPages = PrintTableLoop(loop, texts, font);
    const auto perPage = paired::Run(5, {nullptr, [&] { grid->Print(); }}, {nullptr, [&] { PrintTableLoop(loop, texts, font); }});
    std::fprintf(stderr, "  pages: ours %d, loop %d\n", ourPages, loopPages);
    // the pair's ratio per page: both sides' times over their own page counts
    paired::Report("print_pdf_10000x20_per_page_vs_qpainter_loop",
                   {perPage.Ours / ourPages, perPage.Peer / loopPages, perPage.Ratio * loopPages / ourPages});
    }

    // Against QTextDocument::print, both warm.
    if (Runs("print_pdf_10000x20_vs_qtextdocument")) {
    {
        QTextDocument doc;
        doc.setHtml(html);
        doc.print(&peer);
    }
    const auto pdf = paired::Run(
        5, {nullptr, [&] { grid->Print(); }}, {nullptr, [&] {
                                                   QTextDocument doc;
                                                   doc.setHtml(html);
                                                   doc.print(&peer);
                                               }});
    paired::Report("print_pdf_10000x20_vs_qtextdocument", pdf);
    }

    // The preview: the first page (layout included) against each of the next 20 pages.
    std::vector<double> ratios;
    for (int run = Runs("preview") ? 0 : 5; run < 5; ++run) {
        double first = 0;
        std::unique_ptr<TGridPrintPreview> preview;
        first = paired::TimeOnce(nullptr, [&] {
            preview = std::make_unique<TGridPrintPreview>(grid);
            preview->grab();
        });
        std::vector<double> next;
        for (int page = 2; page <= 21; ++page)
            next.push_back(paired::TimeOnce(nullptr, [&] {
                preview->SetPage(page);
                preview->grab();
            }));
        ratios.push_back(paired::Median(next) / first);
    }
    if (!ratios.empty()) std::printf("ratio preview_next_page_vs_first %.4f\n", paired::Median(ratios));
    grid->Free();
    return 0;
}
