// A grid of 10,000 rows by 20 columns out to an .xlsx workbook and back in, through the office,
// against what a Qt programmer would do for the same job: write the cells as CSV and let the
// office convert it (soffice --headless --convert-to xlsx), then convert the workbook back to
// CSV and read that.  The sides alternate; the case prints the median of the per-pair ratios:
//   ratio office_roundtrip <ours/peer>       our side attaches to an office already running
//   ratio office_roundtrip_cold <ours/peer>  our side starts and ends its own office each time
// Nothing is shown.
#include "grid/control/pro_string_grid.h"
#include "grid/data/office_server.h"
#include "paired_timing.h"
#include "platform/core/process.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {
constexpr int kRows = 10000;
constexpr int kCols = 20;
constexpr int kPairs = 5;

QString CellText(int c, int r)
{
    switch (c % 4) {
    case 0: return QString::number(r * kCols + c);
    case 1: return QStringLiteral("0x%1").arg(r * 7 + c, 8, 16, QLatin1Char('0'));
    case 2: return QStringLiteral("Signal %1 of frame %2").arg(c).arg(r);
    default: return QString::number(double(r) / 8.0 + c, 'f', 3);
    }
}

// One soffice conversion, in a profile of its own; waits for its end.
void Convert(const QString& soffice, const QString& profile, const QString& to, const QString& file, const QString& dir)
{
    const QString params = QStringLiteral("--headless --norestore \"-env:UserInstallation=file://%1\" --infilter=CSV:44,34,76,1 "
                                          "--convert-to %2 --outdir \"%3\" \"%4\"")
                               .arg(profile, to, dir, file);
    const TStartedProcess p = StartProcess(soffice, params);
    if (!p.Started() || !WaitProcess(p.Pid, 120000).Ended) std::abort();
}
}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir tmp;
    const QString dir = tmp.path();
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty()) {
        std::fprintf(stderr, "soffice not found\n");
        return 1;
    }

    std::vector<QStringList> rows(kRows);
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kCols; ++c) rows[size_t(r)] << CellText(c, r);
    TProStringGrid* grid = CreateGrid<TProStringGrid>();
    grid->SetColCount(kCols);
    grid->SetRowCount(kRows);
    grid->SetFixedCols(0);
    grid->SetFixedRows(0);
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kCols; ++c) grid->SetCells(c, r, rows[size_t(r)][c]);
    TProStringGrid* back = CreateGrid<TProStringGrid>();

    const QString ours = dir + QStringLiteral("/ours.xlsx");
    auto oursStep = [&] {
        grid->SaveToXLS(ours, true);
        back->LoadFromXLS(ours);
        if (back->RowCount() != kRows || back->Cells(2, kRows - 1) != rows.back()[2]) std::abort();
    };

    const QString peerDir = dir + QStringLiteral("/peer");
    const QString peerProfile = dir + QStringLiteral("/peer-profile");
    QDir().mkpath(peerDir);
    std::vector<QStringList> peerBack;
    auto peerStep = [&] {
        const QString csv = dir + QStringLiteral("/peer.csv");
        {
            QFile f(csv);
            if (!f.open(QIODevice::WriteOnly)) std::abort();
            QTextStream out(&f);
            for (const QStringList& row : rows) {
                QStringList quoted;
                for (const QString& s : row) quoted << (s.contains(u',') ? u'"' + QString(s).replace(u'"', QStringLiteral("\"\"")) + u'"' : s);
                out << quoted.join(u',') << "\n";
            }
        }
        Convert(soffice, peerProfile, QStringLiteral("xlsx"), csv, dir);
        Convert(soffice, peerProfile, QStringLiteral("csv"), dir + QStringLiteral("/peer.xlsx"), peerDir);
        QFile f(peerDir + QStringLiteral("/peer.csv"));
        if (!f.open(QIODevice::ReadOnly)) std::abort();
        QTextStream in(&f);
        peerBack.clear();
        QString line;
        while (in.readLineInto(&line)) peerBack.push_back(line.split(u','));
        if (int(peerBack.size()) != kRows) std::abort();
    };

    {
        // Our side's office, started once and kept for the warm case.
        TOfficeServer office(QStringLiteral("no office"));
        oursStep();
        peerStep();
        paired::Report("office_roundtrip", paired::Run(kPairs, {nullptr, oursStep}, {nullptr, peerStep}));
    }
    paired::Report("office_roundtrip_cold", paired::Run(kPairs, {nullptr, oursStep}, {nullptr, peerStep}));
    grid->Free();
    back->Free();
    return 0;
}
