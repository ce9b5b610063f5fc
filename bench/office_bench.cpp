// A grid of 10,000 rows by 20 columns out to an .xlsx workbook and back in, through the office,
// against what a Qt programmer would do for the same job: write the cells as CSV and let the
// office convert it (soffice --headless --convert-to xlsx), then convert the workbook back to
// CSV and read that.  The sides alternate; the case prints the median of the per-pair ratios:
//   ratio office_roundtrip <ours/peer>       both sides attached to the same running office: the
//                                            peer has it convert over its own UNO connection
//                                            (load the CSV, store as xlsx; load the xlsx, store
//                                            as CSV), as a conversion handed to a running office
//                                            by soffice --convert-to ends that office (7.4)
//   ratio office_roundtrip_cold <ours/peer>  no office runs: every save and every load of our
//                                            side starts and ends one, as every conversion does
// Our side's office starts are counted through a start script that logs them; the run stops
// when a case does not start what it claims to.  Nothing is shown.
#include "grid/control/pro_string_grid.h"
#include "grid/data/office_server.h"
#include "paired_timing.h"
#include "platform/core/process.h"

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/bridge/UnoUrlResolver.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <cppuhelper/bootstrap.hxx>
#include <rtl/bootstrap.hxx>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <QUrl>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string_view>
#include <unistd.h>
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

// Ends the run with the reason; thrown, so that an office the run started is ended too.
[[noreturn]] void Fail(const char* What) { throw std::runtime_error(What); }

// One soffice conversion in the peer's profile; waits for its end.  With the peer's office
// running in that profile, the conversion is handed to it; else it starts an office itself.
void Convert(const QString& soffice, const QString& profile, const QString& to, const QString& file, const QString& dir)
{
    const QString params = QStringLiteral("--headless --norestore \"-env:UserInstallation=file://%1\" --infilter=CSV:44,34,76,1 "
                                          "--convert-to %2 --outdir \"%3\" \"%4\"")
                               .arg(profile, to, dir, file);
    const TStartedProcess p = StartProcess(soffice, params);
    if (!p.Started() || !WaitProcess(p.Pid, 120000).Ended) Fail("a conversion did not end");
}

// The peer's conversion over its own connection to a running office.
using rtl::OUString;

class TUnoPeer {
public:
    explicit TUnoPeer(const QString& Pipe, const QString& OfficeDir)
    {
        using namespace css;
        rtl::Bootstrap::set(OUString("URE_BOOTSTRAP"), U(QStringLiteral("vnd.sun.star.pathname:") + OfficeDir + QStringLiteral("/fundamentalrc")));
        const uno::Reference<uno::XComponentContext> local = cppu::defaultBootstrap_InitialComponentContext();
        const uno::Reference<bridge::XUnoUrlResolver> resolver = bridge::UnoUrlResolver::create(local);
        const uno::Reference<uno::XComponentContext> remote(
            resolver->resolve(U(QStringLiteral("uno:pipe,name=%1;urp;StarOffice.ComponentContext").arg(Pipe))), uno::UNO_QUERY_THROW);
        Desktop = frame::Desktop::create(remote);
    }
    // Loads From with its filter and stores it as To with another.
    void Convert(const QString& From, const char* FromFilter, const QString& To, const char* ToFilter)
    {
        using namespace css;
        const uno::Reference<lang::XComponent> doc =
            Desktop->loadComponentFromURL(Url(From), OUString("_blank"), 0, Args(FromFilter, true));
        uno::Reference<frame::XStorable>(doc, uno::UNO_QUERY_THROW)->storeToURL(Url(To), Args(ToFilter, false));
        uno::Reference<util::XCloseable>(doc, uno::UNO_QUERY_THROW)->close(true);
    }

private:
    css::uno::Reference<css::frame::XDesktop2> Desktop;
    static OUString U(const QString& s) { return OUString(reinterpret_cast<const sal_Unicode*>(s.utf16()), sal_Int32(s.size())); }
    static OUString Url(const QString& File) { return U(QUrl::fromLocalFile(File).toString(QUrl::FullyEncoded)); }
    static css::uno::Sequence<css::beans::PropertyValue> Args(const char* Filter, bool Load)
    {
        std::vector<css::beans::PropertyValue> v(1);
        v[0].Name = "FilterName";
        v[0].Value <<= OUString::createFromAscii(Filter);
        if (std::string_view(Filter).starts_with("Text")) {
            v.emplace_back();
            v.back().Name = "FilterOptions";
            v.back().Value <<= OUString("44,34,76,1");
        }
        if (Load) {
            v.emplace_back();
            v.back().Name = "Hidden";
            v.back().Value <<= true;
        } else {
            v.emplace_back();
            v.back().Name = "Overwrite";
            v.back().Value <<= true;
        }
        return css::uno::Sequence<css::beans::PropertyValue>(v.data(), sal_Int32(v.size()));
    }
};

int CountLines(const QString& file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) return 0;
    return int(f.readAll().count('\n'));
}
}  // namespace

int Run();

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    try {
        return Run();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}

int Run()
{
    QTemporaryDir tmp;
    const QString dir = tmp.path();
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty()) {
        std::fprintf(stderr, "soffice not found\n");
        return 1;
    }
    const QString officeBin = QFileInfo(QFileInfo(soffice).canonicalFilePath()).absolutePath() + QStringLiteral("/soffice.bin");
    // Our side's offices are started through a script that logs each start.
    const QString starts = dir + QStringLiteral("/starts");
    const QString script = dir + QStringLiteral("/soffice");
    {
        QFile f(script);
        if (!f.open(QIODevice::WriteOnly)) Fail("cannot write the start script");
        f.write(QStringLiteral("#!/bin/sh\necho >> \"%1\"\nexec \"%2\" \"$@\"\n").arg(starts, officeBin).toLocal8Bit());
        f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
    }
    TOfficeServer::SetProgramFile(script);
    TOfficeServer::SetPipeName(QStringLiteral("fabricat-bench-%1").arg(getpid()));

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
        if (back->RowCount() != kRows || back->Cells(2, kRows - 1) != rows.back()[2]) Fail("our side read back the wrong cells");
    };

    const QString peerDir = dir + QStringLiteral("/peer");
    const QString peerProfile = dir + QStringLiteral("/peer-profile");
    QDir().mkpath(peerDir);
    std::vector<QStringList> peerBack;
    const QString peerCsv = dir + QStringLiteral("/peer.csv");
    const QString peerXlsx = dir + QStringLiteral("/peer.xlsx");
    const QString peerBackCsv = peerDir + QStringLiteral("/peer.csv");
    auto writeCsv = [&] {
        // nothing of an earlier round may pass for this one's result
        QFile::remove(peerXlsx);
        QFile::remove(peerBackCsv);
        QFile f(peerCsv);
        if (!f.open(QIODevice::WriteOnly)) Fail("cannot write the peer's CSV");
        QTextStream out(&f);
        for (const QStringList& row : rows) {
            QStringList quoted;
            for (const QString& s : row) quoted << (s.contains(u',') ? u'"' + QString(s).replace(u'"', QStringLiteral("\"\"")) + u'"' : s);
            out << quoted.join(u',') << "\n";
        }
    };
    auto readCsv = [&] {
        QFile f(peerBackCsv);
        if (!f.open(QIODevice::ReadOnly)) Fail("the peer's conversion left no file");
        QTextStream in(&f);
        peerBack.clear();
        QString line;
        while (in.readLineInto(&line)) peerBack.push_back(line.split(u','));
        if (int(peerBack.size()) != kRows) Fail("the peer read back the wrong rows");
    };
    auto peerStep = [&] {
        writeCsv();
        Convert(soffice, peerProfile, QStringLiteral("xlsx"), peerCsv, dir);
        Convert(soffice, peerProfile, QStringLiteral("csv"), peerXlsx, peerDir);
        readCsv();
    };

    {
        // Both sides attached to one office, started once and kept for the attached case.
        TOfficeServer office(QStringLiteral("no office"), true);
        TUnoPeer uno(TOfficeServer::PipeName(), QFileInfo(officeBin).absolutePath());
        auto peerAttached = [&] {
            writeCsv();
            uno.Convert(peerCsv, "Text - txt - csv (StarCalc)", peerXlsx, "Calc MS Excel 2007 XML");
            uno.Convert(peerXlsx, "Calc MS Excel 2007 XML", peerBackCsv, "Text - txt - csv (StarCalc)");
            readCsv();
        };
        oursStep();
        peerAttached();
        const int before = CountLines(starts);
        paired::Report("office_roundtrip", paired::Run(kPairs, {nullptr, oursStep}, {nullptr, peerAttached}));
        if (CountLines(starts) != before) Fail("office_roundtrip: our side started an office");
    }
    peerStep();  // sets the peer's profile up, as our side's is by the case above
    const int before = CountLines(starts);
    paired::Report("office_roundtrip_cold", paired::Run(kPairs, {nullptr, oursStep}, {nullptr, peerStep}));
    // a save and a load per pair, each with an office of its own
    if (CountLines(starts) != before + 2 * kPairs) {
        std::fprintf(stderr, "%d starts for %d steps\n", CountLines(starts) - before, 2 * kPairs);
        Fail("office_roundtrip_cold: our side did not start an office for each step");
    }
    grid->Free();
    back->Free();
    return 0;
}
