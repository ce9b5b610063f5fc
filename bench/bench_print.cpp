// Printing 10,000 x 20 cells to a PDF file against QTextDocument printing an HTML table of the
// same cells to a PDF of the same page size; and paging a print preview of the same grid.
// A plain main that prints `ratio <case> <ours/peer>` (see README.md).
#include "grid/control/pro_string_grid.h"
#include "grid/data/print_preview.h"
#include "paired_timing.h"
#include "platform/ui/custom_grid.h"

#include <QApplication>
#include <QDir>
#include <QPageSize>
#include <QPrinter>
#include <QTextDocument>

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
    for (int r = 0; r < rows; ++r) {
        html += QStringLiteral("<tr>");
        for (int c = 0; c < cols; ++c) {
            const QString t = QStringLiteral("r%1c%2").arg(r).arg(c);
            grid->SetCells(c, r, t);
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

    // Both warm.
    grid->Print();
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
    paired::Report("print_pdf_10000x20", pdf);

    // The preview: the first page (layout included) against each of the next 20 pages.
    std::vector<double> ratios;
    for (int run = 0; run < 5; ++run) {
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
    std::printf("ratio preview_next_page_vs_first %.4f\n", paired::Median(ratios));
    grid->Free();
    return 0;
}
