// The entry points of fuzz_readers: an offscreen application with the tests' fixed look,
// the target named by FABRICAT_FUZZ_TARGET, and its inputs.  Under libFuzzer the target's
// own seeds are written into the first corpus folder named on the command line.
#include "fuzz_target.h"
#include "platform/ui/application.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QStyleFactory>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {
std::vector<TFuzzTarget>& Targets()
{
    static std::vector<TFuzzTarget> list;
    return list;
}
const TFuzzTarget* Picked = nullptr;

void List_Targets()
{
    std::fprintf(stderr, "set FABRICAT_FUZZ_TARGET to one of:\n");
    for (const TFuzzTarget& t : Targets()) std::fprintf(stderr, "  %s\n", t.Name);
}

// Seeds into the first folder among the arguments, named seed-<n>; files already there stay.
void Write_Seeds(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (argv[i][0] == '-' || !QFileInfo(QString::fromLocal8Bit(argv[i])).isDir()) continue;
        const QDir dir(QString::fromLocal8Bit(argv[i]));
        const std::vector<std::string> seeds = Fuzz_Builtin_Seeds();
        for (size_t k = 0; k < seeds.size(); ++k) {
            QFile f(dir.filePath(QStringLiteral("seed-%1").arg(k)));
            if (f.exists() || !f.open(QIODevice::WriteOnly)) continue;
            f.write(seeds[k].data(), qint64(seeds[k].size()));
        }
        return;
    }
}
}  // namespace

TFuzzRegistration::TFuzzRegistration(std::vector<TFuzzTarget> targets)
{
    for (TFuzzTarget& t : targets) Targets().push_back(std::move(t));
}

std::vector<std::string> Fuzz_Builtin_Seeds() { return Picked && Picked->Seeds ? Picked->Seeds() : std::vector<std::string>{}; }
const char* Fuzz_Target_Name() { return Picked ? Picked->Name : ""; }

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    const QByteArray name = qgetenv("FABRICAT_FUZZ_TARGET");
    for (const TFuzzTarget& t : Targets())
        if (name == t.Name) Picked = &t;
    if (!Picked) {
        std::fprintf(stderr, "fuzz: no target named \"%s\"\n", name.constData());
        List_Targets();
        std::exit(2);
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_FONT_DPI", "96");
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    // The application lives as long as the process: libFuzzer never returns to a caller.
    static int appArgc = 1;
    static char* appArgv[] = {(*argv)[0], nullptr};
    static auto* app = new TApplication(appArgc, appArgv);
    (void)app;
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 8));
    Picked->Init();
    // runs before the destructors of the globals that were made before main
    std::atexit([] {
        if (Picked->Done) Picked->Done();
    });
    Write_Seeds(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Picked->Run(std::string(reinterpret_cast<const char*>(data), size));
    return 0;
}
