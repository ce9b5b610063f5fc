#include "shell_fixture.h"

#include "platform/core/http_client.h"
#include "platform/ui/url_opener.h"
#include "shell/TFAbout.h"
#include "shell/TFNew_Project.h"
#include "shell/TFOpenConf.h"
#include "shell/TFSoftOptions.h"
#include "platform/ui/lb_button.h"
#include "state/shared_state.h"
#include "support/full_disk.h"
#include "support/scripted_server.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <condition_variable>
#include <gtest/gtest.h>
#include <memory>
#include <mutex>
#include <netdb.h>

namespace {
// Points the version check at a local port for the lifetime of the object.
struct ServerAt {
    explicit ServerAt(int port) { qputenv("FABRICAT_VERSION_SERVER", "127.0.0.1:" + QByteArray::number(port)); }
    ~ServerAt() { qunsetenv("FABRICAT_VERSION_SERVER"); }
};

QByteArray Answer(const QByteArray& body) { return "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n" + body; }

void WriteFlag(const TempExeDir& dir, const QString& name)
{
    QImage img(48, 48, QImage::Format_RGB32);
    img.fill(Qt::blue);
    img.save(dir.File("LANGUAGE/" + name), "BMP");
}
}  // namespace

TEST(VersionCheck, ConvVersion)
{
    const std::pair<const char*, int> cases[] = {{"1.205", 1205}, {"VER. 1.206", 1206}, {"1,205", 1205}, {"10.01", -1},
                                                 {"VER. 1.2", -1}, {"", -1}, {"VER.  3.300 ", 3300},
                                                 {"VER. $.FFF", -1}, {"VER. 1.+20", -1}};
    for (const auto& [text, value] : cases) EXPECT_EQ(TFSoftOptions::Conv_Version(text), value) << text;
}

TEST(VersionCheck, AnswersOfTheServer)
{
    struct Case { int Model; QByteArray Answer; bool Newer; };
    const Case cases[] = {
        {2, Answer("VER. 1.300"), true},
        {2, Answer("  ver. 1.300\r\n"), true},
        {2, Answer("VER. 1.205"), false},
        {2, Answer("VER. 1.204"), false},
        {2, Answer("VER. 0.000"), false},
        {2, Answer(""), false},
        {2, Answer("VER. 1.2"), false},
        // only "VER. <digits>.<digits>" is a version
        {2, Answer("VER. $.FFF"), false},
        {2, Answer("VERSION 9.999"), false},
        {2, Answer("<html>VER. 9.999</html>"), false},
        {2, "HTTP/1.0 404 Not Found\r\n\r\nVER. 9.999", false},
        {1006, Answer("VER. 1.101"), false},
        {1006, Answer("VER. 1.102"), true},
        {7, Answer("VER. 3.301"), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Answer.toStdString());
        ScopedModelCode model(c.Model);
        FakeHttpServer server(c.Answer);
        ServerAt at(server.Port());
        EXPECT_EQ(TFSoftOptions::Check_Version(), c.Newer);
    }
}

TEST(VersionCheck, RequestLineAndHeaders)
{
    ScopedModelCode model(1006);
    FakeHttpServer server(Answer("VER. 1.000"));
    ServerAt at(server.Port());
    TFSoftOptions::Check_Version();
    EXPECT_EQ(server.Request(), QByteArray("GET /home/download/GetversionSW.asp?nomesw=CV58891 HTTP/1.0\r\n"
                                           "Host: 127.0.0.1:" + QByteArray::number(server.Port()) + "\r\n"
                                           "Accept: text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8\r\n"
                                           "User-Agent: Mozilla/3.0 (compatible; Indy Library)\r\n\r\n"));
}

TEST(VersionCheck, NoServerAndSilentServerGiveNoNewVersionInTime)
{
    ScopedModelCode model(2);
    {
        ServerAt at(Closed_Port());
        EXPECT_FALSE(TFSoftOptions::Check_Version());
    }
    const int keep = TFSoftOptions::Version_Timeout_Ms;
    TFSoftOptions::Version_Timeout_Ms = 300;
    FakeHttpServer silent(QByteArray(), true);
    ServerAt at(silent.Port());
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(TFSoftOptions::Check_Version());
    EXPECT_LT(clock.elapsed(), 3000);

    // A resolver that does not answer is bounded by the same time-out.
    struct Gate {
        std::mutex M;
        std::condition_variable Cv;
        bool Open = false, Finished = false;
    };
    auto gate = std::make_shared<Gate>();
    const THostLookup system = SetHostLookup([gate](const char* host, const char* port, const addrinfo* hints,
                                                    addrinfo** result) {
        std::unique_lock<std::mutex> lock(gate->M);
        gate->Cv.wait(lock, [&] { return gate->Open; });
        const int rc = getaddrinfo(host, port, hints, result);
        gate->Finished = true;
        gate->Cv.notify_all();
        return rc;
    });
    {
        FakeHttpServer server(Answer("VER. 9.999"));
        ServerAt at2(server.Port());
        clock.restart();
        EXPECT_FALSE(TFSoftOptions::Check_Version());
        EXPECT_LT(clock.elapsed(), 3000);
    }
    SetHostLookup(system);
    {
        // let the abandoned lookup end before the test does
        std::unique_lock<std::mutex> lock(gate->M);
        gate->Open = true;
        gate->Cv.notify_all();
        EXPECT_TRUE(gate->Cv.wait_for(lock, std::chrono::seconds(5), [&] { return gate->Finished; }));
    }
    TFSoftOptions::Version_Timeout_Ms = keep;
}

TEST(Options, CheckUpdateButtonShowsLinkOrNoUpdate)
{
    ShellTest t(2);
    Need_Form(QStringLiteral("FSoftOptions"));
    {
        FakeHttpServer server(Answer("VER. 1.206"));
        ServerAt at(server.Port());
        FSoftOptions->Btn_Check_UpdateClick();
    }
    EXPECT_FALSE(FSoftOptions->LL_Check_Update->isHidden());
    EXPECT_EQ(FSoftOptions->LL_Check_Update->text(), "<a href=\"http://www.korvix.com/Home/download/download.asp#GV58892\">"
                                                      "New Version Available. Click Here for more Details</a>");
    ServerAt at(Closed_Port());
    FSoftOptions->Btn_Check_UpdateClick();
    EXPECT_EQ(FSoftOptions->LL_Check_Update->text(), "No Update Available");
}

// The window stays live while the server takes its time, and still gets the answer.
TEST(Options, CheckUpdateKeepsTheWindowLive)
{
    ShellTest t(2);
    Need_Form(QStringLiteral("FSoftOptions"));
    TFSoftOptions* o = FSoftOptions;
    Enable_Internet = Enable_Update = true;
    o->FormShow();
    o->show();
    o->PC_Options->setCurrentWidget(o->TS_Con_Options);
    TScriptedServer server([](TScriptedServer& s) {
        if (s.Pause(400)) s.Send(Answer("VER. 1.300"));
    });
    ServerAt at(server.Port());
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(20);
    QTest::mouseClick(o->Btn_Check_Update, Qt::LeftButton);
    EXPECT_GE(ticks, 5);
    EXPECT_EQ(o->LL_Check_Update->text(), "<a href=\"http://www.korvix.com/Home/download/download.asp#GV58892\">"
                                          "New Version Available. Click Here for more Details</a>");
}

// Switches turned off while the timed check waits for the server stay off.
TEST(Options, TimedCheckRespectsSwitchesTurnedOffMeanwhile)
{
    ShellTest t(2, "<Conf_Settings><lastinternet><enable_internet>1</enable_internet>"
                   "<enable_update>1</enable_update></lastinternet></Conf_Settings>");
    TScriptedServer server([](TScriptedServer& s) {
        if (s.Pause(300)) s.Send(Answer("VER. 1.000"));
    });
    ServerAt at(server.Port());
    QTimer::singleShot(50, [&] {
        Enable_Update = false;
        t.Main()->Set_Update_Timer(false);
    });
    t.Main()->Timer_UpdateTimer();
    EXPECT_FALSE(t.Main()->Timer_Update->isActive());
}

// A full disk at Close: the platform's text is shown and the old settings stay.
TEST(Options, FullDiskAtCloseShowsTheErrorAndKeepsTheSettings)
{
    const QByteArray old = "<Conf_Settings><lastlang><language>English</language></lastlang></Conf_Settings>";
    ShellTest t(2, old);
    t.Main()->show();
    ScopedWriteHook fullDisk;
    QTest::mouseClick(t.Main()->Btn_Close, Qt::LeftButton);
    ASSERT_EQ(t.Boxes.Calls.size(), 1u);
    EXPECT_TRUE(t.Boxes.Calls[0].Text.contains("No space left on device")) << t.Boxes.Calls[0].Text.toStdString();
    EXPECT_EQ(t.Dir.Read("Fabricat.xml"), old);
}

TEST(Options, LanguagePages)
{
    ShellTest t(2);
    Need_Form(QStringLiteral("FSoftOptions"));
    for (const char* n : {"Svenska", "english", "Dansk", "Suomi", "Norsk", "Polski", "Cesky"})
        t.Dir.Write(QString("LANGUAGE/%1.lng").arg(n), "STR 0 = x\n");
    t.Dir.Write("LANGUAGE/ReadOnly.lng", "STR 0 = x\n");
    QFile::setPermissions(t.Dir.File("LANGUAGE/ReadOnly.lng"), QFile::ReadOwner);
    WriteFlag(t.Dir, "Svenska.bmp");
    WriteFlag(t.Dir, "DefaultFlag.bmp");
    TFSoftOptions* o = FSoftOptions;
    o->FormShow();
    EXPECT_EQ(o->SL_Languages, QStringList({"Cesky.lng", "Dansk.lng", "english.lng", "Norsk.lng", "Polski.lng",
                                            "Suomi.lng", "Svenska.lng"}));
    EXPECT_EQ(o->L_Page_Lang->text(), "Page 1 / 2");
    EXPECT_EQ(o->L_Sel_Lang->text(), "Selected Language : English");
    EXPECT_TRUE(o->Btn_Prev->isHidden());
    EXPECT_FALSE(o->Btn_Next->isHidden());
    for (int k = 0; k < 6; ++k) EXPECT_FALSE(o->L_L[k]->isHidden()) << k;
    EXPECT_EQ(o->L_L[2]->text(), "english");
    EXPECT_FALSE(o->I_L[2]->isHidden());   // DefaultFlag.bmp
    o->Btn_NextClick(true);
    EXPECT_EQ(o->L_Page_Lang->text(), "Page 2 / 2");
    EXPECT_FALSE(o->L_L[0]->isHidden());
    EXPECT_TRUE(o->L_L[1]->isHidden());
    EXPECT_EQ(o->L_L[0]->text(), "Svenska");
    EXPECT_FALSE(o->Btn_Prev->isHidden());
    EXPECT_TRUE(o->Btn_Next->isHidden());
    o->Btn_NextClick(true);                // past the last page: stays
    EXPECT_EQ(o->Show_Page, 2);
    o->Btn_NextClick(false);
    EXPECT_EQ(o->L_Page_Lang->text(), "Page 1 / 2");

    // without any flag picture the name stands alone
    QFile::remove(t.Dir.File("LANGUAGE/DefaultFlag.bmp"));
    o->Update_Lang_Page(1);
    EXPECT_TRUE(o->I_L[2]->isHidden());
    EXPECT_FALSE(o->L_L[2]->isHidden());
}

TEST(Options, NoLanguageFiles)
{
    ShellTest t(2);
    Need_Form(QStringLiteral("FSoftOptions"));
    FSoftOptions->FormShow();
    EXPECT_EQ(FSoftOptions->L_Page_Lang->text(), "Page 1 / 0");
    EXPECT_FALSE(FSoftOptions->Btn_Next->isHidden());
    for (int k = 0; k < 6; ++k) EXPECT_TRUE(FSoftOptions->L_L[k]->isHidden());
    FSoftOptions->Btn_NextClick(true);
    EXPECT_EQ(FSoftOptions->Show_Page, 1);
}

TEST(Options, LanguageChangeReachesEveryWindowButCommitsOnlyWithOk)
{
    ShellTest t(2);
    Need_Form(QStringLiteral("FSoftOptions"));
    t.Dir.Write("LANGUAGE/Svenska.lng", "STR 12 = Oppna\nSTR 26 = Namn\nSTR 32 = Oppna konfiguration\n"
                                        "STR 189 = Alternativ\nSTR 194 = Sida \n");
    int otherWindow = 0;
    RecordingForm other("FParGen", &t.Shown);
    t.Replace_Form("FParGen", &other, [&] { ++otherWindow; });
    TFSoftOptions* o = FSoftOptions;
    o->FormShow();
    t.Boxes.Answers = {mrNo, mrYes};
    o->LangClick(1);   // No: nothing changes
    EXPECT_EQ(t.Main()->Btn_Open->Caption(), "Open Configuration");
    o->LangClick(1);
    ASSERT_EQ(t.Boxes.Calls.size(), 2u);
    EXPECT_EQ(t.Boxes.Calls[1].Text, "Do you want to change the Language from English to Svenska?");
    EXPECT_EQ(t.Boxes.Calls[1].Type, TMsgDlgType::mtConfirmation);
    EXPECT_EQ(t.Main()->Btn_Open->Caption(), "Oppna");
    EXPECT_EQ(FOpenConf->Caption(), "Oppna konfiguration");
    EXPECT_EQ(FNew_Project->Label1->text(), "Namn");
    EXPECT_EQ(o->Caption(), "Alternativ");
    EXPECT_EQ(o->L_Sel_Lang->text(), "Selected Language : Svenska");
    EXPECT_EQ(otherWindow, 1);
    EXPECT_EQ(Lang_Name, "English");       // Cancel would keep the old language

    o->Btn_OKClick();
    EXPECT_EQ(o->ModalResult(), mrOk);
    EXPECT_EQ(Lang_Name, "Svenska");
}

TEST(Options, InternetSwitches)
{
    ShellTest t(2);
    Need_Form(QStringLiteral("FSoftOptions"));
    TFSoftOptions* o = FSoftOptions;
    Enable_Internet = false;
    Enable_Update = true;
    o->FormShow();
    EXPECT_FALSE(o->CB_Update->isEnabled());
    EXPECT_TRUE(o->CB_Update->isChecked());
    EXPECT_FALSE(o->Btn_Check_Update->Enabled());
    o->CB_En_Con->setChecked(true);
    EXPECT_TRUE(o->CB_Update->isEnabled());
    EXPECT_TRUE(o->Btn_Check_Update->Enabled());
    o->CB_Update->setChecked(false);
    EXPECT_FALSE(o->Btn_Check_Update->Enabled());
    o->CB_Update->setChecked(true);
    o->Btn_OKClick();
    EXPECT_TRUE(Enable_Internet);
    EXPECT_TRUE(Enable_Update);
    EXPECT_TRUE(t.Main()->Timer_Update->isActive());
    // internet off: the update box keeps its state but the timer stops
    o->FormShow();
    o->CB_En_Con->setChecked(false);
    o->Btn_OKClick();
    EXPECT_FALSE(Enable_Internet);
    EXPECT_TRUE(Enable_Update);
    EXPECT_FALSE(t.Main()->Timer_Update->isActive());
}

TEST(About, ValuesAndHomePage)
{
    struct Case { int Model; const char* Code; const char* Version; const char* Doc; };
    const Case cases[] = {{2, "CV58892", "1.205", "DV58892"}, {7, "CV58872", "3.300", "DV58872"}, {1006, "ZAZOR900", "1.100", ""}};
    for (const Case& c : cases) {
        ShellTest t(c.Model);
        Need_Form(QStringLiteral("FAbout"));
        FAbout->FormShow();
        EXPECT_EQ(FAbout->L_SW_Code->text(), c.Code);
        EXPECT_EQ(FAbout->L_Version->text(), c.Version);
        EXPECT_EQ(FAbout->L_Doc_Code->text(), c.Doc);
        EXPECT_EQ(FAbout->ClientWidth(), 406);
        EXPECT_EQ(FAbout->ClientHeight(), 148);
        QStringList opened;
        const UrlOpenHandler old = SetUrlOpenHandler([&](const QString& u) { opened << u; return true; });
        FAbout->Label4Click();
        SetUrlOpenHandler(old);
        EXPECT_EQ(opened, QStringList({QString("http://www.korvix.com/HOME/default.asp?frompg=") + c.Code}));
    }
}
