#include "shell_fixture.h"

#include "state/shared_state.h"
#include "support/scripted_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

ShellTest::ShellTest(int model, const QByteArray& settings, TStartWindows windows) : Model(model)
{
    if (!settings.isEmpty()) Dir.Write("Fabricat.xml", settings);
    Create_Main_Form(Dir.Path());
    if (windows == TStartWindows::Model) Create_Model_Forms();
}

ShellTest::~ShellTest()
{
    // the program's own windows come back before they are freed; stand-ins simply leave
    for (auto it = FReplaced.rbegin(); it != FReplaced.rend(); ++it) {
        if (it->second) Register_Form(it->first, it->second);
        else Unregister_Form(it->first);
    }
    Destroy_Forms();
}

void ShellTest::Replace_Form(const QString& name, TForm* form, std::function<void()> setLang)
{
    FReplaced.emplace_back(name, Find_Form(name));
    Register_Form(name, form, std::move(setLang));
}

RecordingForm* ShellTest::Stand_In(const QString& name)
{
    FStandIns.push_back(std::make_unique<RecordingForm>(name, &Shown));
    Replace_Form(name, FStandIns.back().get());
    return FStandIns.back().get();
}

void ShellTest::Open_Conf(const QString& name, const QByteArray& parGen)
{
    Dir.Write("PROJECTS/" + name + "/bin/.keep", QByteArray());
    if (!parGen.isEmpty()) Dir.Write("PROJECTS/" + name + "/ParGen.xml", parGen);
    Conf_Name = name;
    Conf_Dir = Dir.File("PROJECTS/" + name);
    Set_Files();
}

FakeHttpServer::FakeHttpServer(QByteArray answer, bool silent) : FAnswer(std::move(answer)), FSilent(silent)
{
    FListen = BindLoopback(FPort);
    ::listen(FListen, 1);
    FThread = std::thread([this] {
        pollfd p{FListen, POLLIN, 0};
        if (::poll(&p, 1, 10000) <= 0) return;
        const int c = ::accept(FListen, nullptr, nullptr);
        if (c < 0) return;
        char buf[2048];
        QByteArray req;
        while (!req.contains("\r\n\r\n")) {
            pollfd q{c, POLLIN, 0};
            if (::poll(&q, 1, 10000) <= 0) break;
            const ssize_t n = ::recv(c, buf, sizeof buf, 0);
            if (n <= 0) break;
            req.append(buf, n);
        }
        FRequest = req;
        if (FSilent) {
            // wait until the client gives up and closes
            pollfd q{c, POLLIN, 0};
            while (::poll(&q, 1, 10000) > 0 && ::recv(c, buf, sizeof buf, 0) > 0) {
            }
        } else {
            ::send(c, FAnswer.constData(), FAnswer.size(), MSG_NOSIGNAL);
        }
        ::close(c);
        FDone = true;
    });
}

FakeHttpServer::~FakeHttpServer()
{
    ::shutdown(FListen, SHUT_RDWR);
    if (FThread.joinable()) FThread.join();
    ::close(FListen);
}

QByteArray FakeHttpServer::Request()
{
    if (FThread.joinable()) FThread.join();
    return FRequest;
}

int Closed_Port()
{
    int port = 0;
    const int fd = BindLoopback(port);
    ::close(fd);
    return port;
}
