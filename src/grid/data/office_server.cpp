// The office connection: finding or starting the office's process and the checks on files
// before the office sees them.  What goes over the UNO bridge is the office module's.
#include "grid/data/office_server.h"

#include "grid/base/grid_error.h"
#include "grid/data/office_address.h"
#include "platform/core/modules.h"
#include "platform/core/process.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <QUrl>
#include <algorithm>
#include <atomic>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
QString& ProgramOverride()
{
    static QString s;
    return s;
}
QString& PipeOverride()
{
    static QString s;
    return s;
}

QString OfficeProgram()
{
    if (!ProgramOverride().isEmpty()) return QFileInfo(ProgramOverride()).isExecutable() ? ProgramOverride() : QString();
    QString p = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (p.isEmpty() && QFileInfo(QStringLiteral("/usr/lib/libreoffice/program/soffice")).isExecutable())
        p = QStringLiteral("/usr/lib/libreoffice/program/soffice");
    return p;
}

// Starts the office with its standard files on /dev/null, so that an office outliving this
// process holds none of its pipes; the parameters are split as a command line.
pid_t StartOffice(const QString& Program, const QString& Params)
{
    QStringList args = QProcess::splitCommand(Params);
    args.prepend(Program);
    std::vector<QByteArray> bytes;
    for (const QString& a : args) bytes.push_back(QFile::encodeName(a));
    std::vector<char*> argv;
    for (QByteArray& b : bytes) argv.push_back(b.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    for (int fd = 0; fd <= 2; ++fd) posix_spawn_file_actions_addopen(&files, fd, "/dev/null", fd == 0 ? O_RDONLY : O_WRONLY, 0);
    pid_t pid = -1;
    const int failed = posix_spawn(&pid, argv[0], &files, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&files);
    return failed ? -1 : pid;
}

// The office is handed only a regular file that is a whole office package.
void CheckOfficeFile(const QString& FileName)
{
    const QString what = QStringLiteral("Cannot open ") + FileName;
    if (!QFileInfo(FileName).isFile()) throw EProGridError(what + QStringLiteral(": the file does not exist"));
    if (!WholeOfficeFile(FileName)) throw EProGridError(what + QStringLiteral(": not a whole office file"));
}
}  // namespace

QString TOfficeServer::PipeName()
{
    if (!PipeOverride().isEmpty()) return PipeOverride();
    return QStringLiteral("fabricat-office-%1").arg(getuid());
}

void TOfficeServer::SetProgramFile(const QString& FileName) { ProgramOverride() = FileName; }
void TOfficeServer::SetPipeName(const QString& Name) { PipeOverride() = Name; }

namespace {
int& StartSeconds()
{
    static int s = 60;
    return s;
}
}  // namespace

void TOfficeServer::SetStartTimeout(int Seconds) { StartSeconds() = std::max(1, Seconds); }
int TOfficeServer::StartTimeout() { return StartSeconds(); }

TOfficeServer::TOfficeServer(const QString& NotFound, bool Share)
{
    auto make = reinterpret_cast<TNewOfficeBridge>(ModuleEntry(OfficeModule, OfficeModuleEntry));
    if (make) F.reset(make(&OfficeNumberText));
    if (!F) throw EProGridError(NotFound);
    FRunning = F->Attach(PipeName());
    if (!FRunning) StartOffice(NotFound, Share);
    if (!F->Connect()) {
        // an office started here is not left behind (the destructor does not run)
        EndOffice();
        throw EProGridError(NotFound);
    }
}

void TOfficeServer::StartOffice(const QString& NotFound, bool Share)
{
    const QString program = OfficeProgram();
    if (program.isEmpty()) throw EProGridError(NotFound);
    // A pipe of this connection alone, unless the office is to be shared.
    static std::atomic<int> started{0};
    const QString pipe = Share ? PipeName() : QStringLiteral("%1-%2-%3").arg(PipeName()).arg(getpid()).arg(++started);
    // A profile of its own, so that the user's office and its settings stay untouched.  Two
    // offices in one profile would be one: the second hands its arguments to the first and
    // ends.  The program's profile is taken by whoever holds its lock (the office inherits the
    // lock and keeps it while it runs); the others get a fresh profile each.
    const QString base = QDir::temp().filePath(QStringLiteral("fabricat-office-%1-profile").arg(getuid()));
    QString profile = base;
    FProfileLock = ::open(QFile::encodeName(base + QStringLiteral(".lock")).constData(), O_RDWR | O_CREAT, 0600);
    if (FProfileLock >= 0 && flock(FProfileLock, LOCK_EX | LOCK_NB) != 0) {
        ::close(FProfileLock);
        FProfileLock = -1;
    }
    if (FProfileLock < 0) {
        QByteArray own = QFile::encodeName(base + QStringLiteral("-XXXXXX"));
        if (!mkdtemp(own.data())) throw EProGridError(NotFound);
        FOwnProfile = profile = QFile::decodeName(own);
    }
    QDir().mkpath(profile);
    const QString params = QStringLiteral("--headless --invisible --norestore --nologo --nodefault --nolockcheck "
                                          "\"--accept=pipe,name=%1;urp;\" \"-env:UserInstallation=%2\"")
                               .arg(pipe, QUrl::fromLocalFile(profile).toString(QUrl::FullyEncoded));
    // The office's own binary where it lies beside the start script, so that the process
    // waited for and, failing all else, killed is the office itself.
    const QString binary = QFileInfo(QFileInfo(program).canonicalFilePath()).absolutePath() + QStringLiteral("/soffice.bin");
    const QString start = QFileInfo(binary).isExecutable() ? binary : program;
    FPid = ::StartOffice(start, params);
    if (FPid <= 0) {
        EndOffice();
        throw EProGridError(NotFound);
    }
    QElapsedTimer waited;
    waited.start();
    int restarts = 0;
    bool up = F->Attach(pipe);
    while (!up && waited.elapsed() < qint64(StartTimeout()) * 1000) {
        int status = 0;
        if (waitpid(FPid, &status, WNOHANG) == FPid) {
            FPid = -1;
            // The office sets up a new profile and then ends, asking to be started again (the
            // office's own start script does the same); any other end means it will not come up.
            constexpr int RestartAsked = 81;
            if (!WIFEXITED(status) || WEXITSTATUS(status) != RestartAsked || ++restarts > 3) break;
            FPid = ::StartOffice(start, params);
            if (FPid <= 0) break;
        }
        QThread::msleep(100);
        up = F->Attach(pipe);
    }
    if (!up) {
        EndOffice();
        throw EProGridError(NotFound);
    }
}

// Ends an office started here, at once, and lets go of its profile.
void TOfficeServer::EndOffice()
{
    if (FPid > 0) {
        kill(FPid, SIGKILL);
        WaitProcess(FPid, 5000);
        FPid = -1;
    }
    if (FProfileLock >= 0) ::close(FProfileLock);
    FProfileLock = -1;
    if (!FOwnProfile.isEmpty()) QDir(FOwnProfile).removeRecursively();
    FOwnProfile.clear();
}

TOfficeServer::~TOfficeServer()
{
    if (FPid > 0) {
        const bool ending = F->Terminate();
        if (!ending) kill(FPid, SIGTERM);
        if (WaitProcess(FPid, 30000).Ended) FPid = -1;
    }
    EndOffice();
}

std::unique_ptr<TOfficeWorkbook> TOfficeServer::OpenWorkbook(const QString& FileName)
{
    CheckOfficeFile(FileName);
    return F->OpenWorkbook(FileName);
}

std::unique_ptr<TOfficeDocument> TOfficeServer::OpenDocument(const QString& FileName)
{
    CheckOfficeFile(FileName);
    return F->OpenDocument(FileName);
}
