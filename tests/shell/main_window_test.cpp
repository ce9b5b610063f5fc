#include "shell_fixture.h"

#include "platform/core/exception.h"
#include "platform/core/process.h"
#include "platform/ui/url_opener.h"
#include "platform/ui/lb_button.h"
#include "shell/TFNew_Project.h"
#include "shell/TFOpenConf.h"
#include "shell/TFSoftOptions.h"
#include "state/lang.h"
#include "state/shared_state.h"

#include <QApplication>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <csignal>
#include <gtest/gtest.h>
#include <map>
#include <set>

namespace {
struct Spot { const char* Button; int Top, Left; };
struct Layout {
    int Model;
    int Steps;
    std::vector<Spot> Buttons;   // the model's table buttons
    int BinTop;
    int UsbTop;                  // -1: hidden
};

const Layout kLayouts[] = {
    {0, 5, {{"Btn_Receive_J1939", 200, 80}, {"Btn_Define_Receive_J1939", 200, 258}, {"Btn_Transmit_J1939", 244, 80}, {"Btn_Define_Transmit_J1939", 244, 258}}, 288, 288},
    {1, 5, {{"Btn_Receive_J1939", 200, 80}, {"Btn_Define_Receive_J1939", 200, 258}, {"Btn_Transmit_J1939", 244, 80}, {"Btn_Define_Transmit_J1939", 244, 258}}, 288, -1},
    {2, 6, {{"Btn_Receive_J1939", 200, 80}, {"Btn_Modbus_Write_Request", 200, 258}, {"Btn_Transmit_J1939", 244, 80}, {"Btn_Modbus_Read_Request", 244, 258}, {"Btn_Define_Alarms_DM1", 288, 80}, {"Btn_Modbus_Read_DM1", 288, 258}}, 332, -1},
    {3, 4, {{"Btn_Receive_J1939", 200, 80}}, 244, -1},
    {4, 8, {{"Btn_Receive_J1939", 200, 80}, {"Btn_Define_Receive_SDO", 200, 258}, {"Btn_Define_Receive_TPDO", 200, 436}, {"Btn_Transmit_J1939", 244, 80}, {"Btn_Define_Transmit_SDO", 244, 258}, {"Btn_Define_Transmit_RPDO", 244, 436}, {"Btn_Set_SDO_Client", 288, 80}, {"Btn_Set_NodeGuard", 332, 80}, {"Btn_CANopen_EDSFile", 376, 80}}, 420, 420},
    {5, 5, {{"Btn_Receive_J1939", 200, 80}, {"Btn_Modbus_Write_Request", 200, 258}, {"Btn_Transmit_J1939", 244, 80}, {"Btn_Modbus_Read_Request", 244, 258}}, 288, 288},
    {6, 7, {{"Btn_Receive_J1939", 200, 80}, {"Btn_Transmit_J1939", 244, 80}, {"Btn_Receive_CAN", 288, 80}, {"Btn_Transmit_CAN", 332, 80}}, 376, 376},
    {7, 5, {{"Btn_Receive_J1939", 200, 80}, {"Btn_Define_Receive_J1939", 200, 258}, {"Btn_Transmit_J1939", 244, 80}, {"Btn_Define_Transmit_J1939", 244, 258}}, 288, -1},
    {8, 6, {{"Btn_Receive_J1939", 200, 80}, {"Btn_Transmit_J1939", 244, 80}, {"Btn_GSD_File", 288, 80}}, 332, -1},
    {9, 4, {{"Btn_Receive_J1939", 200, 80}}, 244, -1},
    {10, 7, {{"Btn_Receive_J1939", 200, 80}, {"Btn_Transmit_J1939", 244, 80}, {"Btn_Receive_CAN", 288, 80}, {"Btn_Transmit_CAN", 332, 80}}, 376, -1},
    {1006, 3, {}, 200, -1},
};

template <class T>
T* Child(QWidget* w, const char* name)
{
    T* c = w->findChild<T*>(QLatin1String(name));
    EXPECT_NE(c, nullptr) << name;
    return c;
}
}  // namespace

TEST(MainWindow, LayoutOfEveryModel)
{
    for (const Layout& l : kLayouts) {
        SCOPED_TRACE(l.Model);
        ShellTest t(l.Model, {}, TStartWindows::MainOnly);
        TFFabricateFirmWare* w = t.Main();
        EXPECT_EQ(w->ClientWidth(), 694);
        EXPECT_EQ(w->ClientHeight(), l.BinTop + 152);
        std::map<QString, QPoint> expected = {{"Btn_New", {80, 112}}, {"Btn_Open", {258, 112}}, {"Btn_Prm_Gen", {80, 156}},
                                              {"Btn_CreateBin", {80, l.BinTop}}, {"Btn_Info", {516, 8}},
                                              {"Btn_Opz", {574, 8}}, {"Btn_Close", {632, 8}}};
        for (const Spot& s : l.Buttons) expected[s.Button] = QPoint(s.Left, s.Top);
        if (l.UsbTop >= 0) expected["Btn_CreateBin_USB"] = QPoint(258, l.UsbTop);
        for (TLbButton* b : w->findChildren<TLbButton*>()) {
            auto it = expected.find(b->objectName());
            if (it == expected.end()) {
                EXPECT_TRUE(b->isHidden()) << b->objectName().toStdString();
                continue;
            }
            EXPECT_FALSE(b->isHidden()) << b->objectName().toStdString();
            EXPECT_EQ(b->pos(), it->second) << b->objectName().toStdString();
        }
        for (int k = 0; k < 8; ++k) {
            EXPECT_EQ(w->L_Step[k]->isHidden(), k >= l.Steps) << k;
            EXPECT_EQ(w->L_Step[k]->pos(), QPoint(16, 128 + 44 * k));
        }
        EXPECT_FALSE(w->L_Korvix->isHidden());
        EXPECT_EQ(w->L_Korvix->pos(), QPoint(565, 128 + 44 * (l.Steps - 1)));
        EXPECT_EQ(w->Shape1->geometry(), QRect(10, l.BinTop + 51, 674, 1));
        EXPECT_TRUE(w->LL_Update->isHidden());
    }
}

TEST(MainWindow, TextsAndConfigurationDisplay)
{
    ShellTest t(2);
    TFFabricateFirmWare* w = t.Main();
    EXPECT_EQ(w->Caption(), "Korvix - Configurator CV58892 - J1939 / Modbus TCP Master ");
    EXPECT_EQ(w->L_SW_Code->text(), "CV58892");
    EXPECT_EQ(w->L_Begin->text(), "Begin");
    EXPECT_EQ(w->L_Step[5]->text(), "Step 6");
    EXPECT_EQ(w->L_Step[7]->text(), "Step 8");
    EXPECT_EQ(w->Btn_New->Caption(), "New Configuration");
    EXPECT_EQ(w->Btn_CreateBin_USB->Caption(), "Update Device USB");
    EXPECT_EQ(w->Btn_Modbus_Read_DM1->Caption(), "Modbus Read DM1");
    EXPECT_EQ(w->Btn_Close->Hint(), "Close Configurator");
    EXPECT_EQ(w->Btn_Prm_Gen->Style(), bsNormal);
    EXPECT_EQ(w->Btn_New->Style(), bsEncarta);
    EXPECT_EQ(w->Btn_New->Alignment(), taLeftJustify);
    EXPECT_EQ(w->L_Name_Conf->text(), "None Configuration Opened ");
    EXPECT_EQ(w->L_Name_Conf_L2->text(), "Use Step1 to open or create new configuration");
    t.Open_Conf("Line1");
    w->Set_Lang();
    EXPECT_EQ(w->L_Name_Conf->text(), "Opened Configuration of the Converter : ");
    EXPECT_EQ(w->L_Name_Conf_L2->text(), "Line1");
}

TEST(MainWindow, StepButtonsRefusedWithoutConfiguration)
{
    ShellTest t(4, {}, TStartWindows::MainOnly);
    TFFabricateFirmWare* w = t.Main();
    for (const char* n : {"FParGen", "FReceive_J1939_Frame_896", "FDefine_TPDO", "FAbout", "FSoftOptions", "FNew_Project"})
        t.Stand_In(n);
    int built = 0;
    w->Build_Images = [&] { ++built; };
    for (TLbButton* b : {w->Btn_Prm_Gen, w->Btn_Receive_J1939, w->Btn_Define_Receive_TPDO, w->Btn_CreateBin}) {
        t.Boxes.Clear();
        w->Btn_Click(b);
        ASSERT_EQ(t.Boxes.Calls.size(), 1u);
        EXPECT_EQ(t.Boxes.Calls[0].Text, "Project not valid");
        EXPECT_EQ(t.Boxes.Calls[0].Type, TMsgDlgType::mtError);
    }
    EXPECT_TRUE(t.Shown.isEmpty());
    EXPECT_EQ(built, 0);
    // New, Information and Options need no configuration
    w->Btn_Click(w->Btn_Info);
    w->Btn_Click(w->Btn_Opz);
    w->Btn_Click(w->Btn_New);
    EXPECT_EQ(t.Shown, QStringList({"FAbout", "FSoftOptions", "FNew_Project"}));
}

TEST(MainWindow, RoutesByModel)
{
    struct Case { int Model; const char* DeviceType; const char* Button; const char* Form; };
    const Case cases[] = {
        {2, nullptr, "Btn_Receive_J1939", "FReceive_J1939_892"},
        {5, nullptr, "Btn_Transmit_J1939", "FTransmit_J1939_892"},
        {3, nullptr, "Btn_Receive_J1939", "FReceive_J1939_Frame_896"},
        {3, nullptr, "Btn_Transmit_J1939", "FTransmitJ1939"},
        {0, nullptr, "Btn_Receive_J1939", "FReceiveJ1939"},
        {1006, nullptr, "Btn_Transmit_J1939", "FTransmitJ1939"},
        {7, "1", "Btn_Receive_J1939", "FReceive_J1939_Frame_896"},
        {7, "0", "Btn_Receive_J1939", "FReceiveJ1939"},
        {7, "1", "Btn_Transmit_J1939", "FTransmit_J1939_Frame_896"},
        {7, "x", "Btn_Transmit_J1939", "FTransmit_J1939_Frame_Atmel_872"},
        {9, "1", "Btn_Transmit_J1939", "FTransmitJ1939"},
        {5, nullptr, "Btn_Modbus_Write_Request", "FModbusWriteReq_890"},
        {2, nullptr, "Btn_Modbus_Read_Request", "FModbusReadRequest"},
        {4, nullptr, "Btn_Define_Receive_SDO", "FDefine_Server_SDO_Read"},
        {4, nullptr, "Btn_Define_Transmit_RPDO", "FDefine_RPDO"},
        {6, nullptr, "Btn_Transmit_CAN", "FTransmit_CAN_Frames"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.Button) + " model " + std::to_string(c.Model));
        ShellTest t(c.Model, {}, TStartWindows::MainOnly);
        t.Stand_In(c.Form);
        t.Open_Conf("A", c.DeviceType ? QByteArray("<Par_Gen><Device_Type>") + c.DeviceType + "</Device_Type></Par_Gen>"
                                      : QByteArray());
        t.Main()->Btn_Click(t.Main()->findChild<TLbButton*>(c.Button));
        EXPECT_EQ(t.Shown, QStringList({c.Form}));
        EXPECT_TRUE(t.Boxes.Calls.empty());
    }
}

TEST(MainWindow, UpdateDeviceChoosesUpdateWindow)
{
    struct Case { int Model; int Board; const char* Form; int FormType; };
    const Case cases[] = {{2, 0, "FBootTCP", -1}, {9, 0, "FBootSer", -1}, {10, 0, "FBoot", 1},
                          {4, 1, "FBoot", 2},     {4, 0, "FBootCAN", -1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Model);
        ShellTest t(c.Model, {}, TStartWindows::MainOnly);
        for (const char* n : {"FBootTCP", "FBootSer", "FBoot", "FBootCAN"}) t.Stand_In(n);
        t.Open_Conf("A");
        QStringList order;
        int formType = -1;
        t.Main()->Build_Images = [&] { order << "build"; };
        t.Main()->Set_Boot_Form_Type = [&](int f) { formType = f; };
        t.Main()->Btn_Click(c.Board ? t.Main()->Btn_CreateBin_USB : t.Main()->Btn_CreateBin);
        EXPECT_EQ(order, QStringList({"build"}));
        EXPECT_EQ(t.Shown, QStringList({c.Form}));
        EXPECT_EQ(formType, c.FormType);
    }
    // a build that fails opens no update window
    ShellTest t(2);
    t.Stand_In("FBootTCP");
    t.Open_Conf("A");
    t.Main()->Build_Images = [] { throw Exception("disk full"); };
    EXPECT_THROW(t.Main()->Update_Device(0), Exception);
    EXPECT_TRUE(t.Shown.isEmpty());
}

TEST(MainWindow, DM1ButtonsFollowParametersAndOpenedConfiguration)
{
    ShellTest t(2);
    TFFabricateFirmWare* w = t.Main();
    RecordingForm* parGen = t.Stand_In("FParGen");
    t.Open_Conf("A", "<Par_Gen><J1939_Send_DM1>1</J1939_Send_DM1></Par_Gen>");
    // the parameters window writes "0": the buttons go off when it closes
    parGen->OnShow = [&] { t.Dir.Write("PROJECTS/A/ParGen.xml", "<Par_Gen><J1939_Send_DM1>0</J1939_Send_DM1></Par_Gen>"); };
    w->Btn_Click(w->Btn_Prm_Gen);
    EXPECT_FALSE(w->Btn_Modbus_Read_DM1->Enabled());
    EXPECT_FALSE(w->Btn_Define_Alarms_DM1->Enabled());
    parGen->OnShow = [&] { t.Dir.Write("PROJECTS/A/ParGen.xml", "<Par_Gen><J1939_Send_DM1>1</J1939_Send_DM1></Par_Gen>"); };
    w->Btn_Click(w->Btn_Prm_Gen);
    EXPECT_TRUE(w->Btn_Modbus_Read_DM1->Enabled());
    EXPECT_TRUE(w->Btn_Define_Alarms_DM1->Enabled());
    // opening a configuration without parameters turns them off again
    t.Dir.Write("PROJECTS/B/bin/.keep", QByteArray());
    OpenConfStandIn open;
    t.Replace_Form("FOpenConf", &open);
    open.Choose = "B";
    w->Btn_Click(w->Btn_Open);
    EXPECT_EQ(Conf_Name, "B");
    EXPECT_FALSE(w->Btn_Modbus_Read_DM1->Enabled());
    open.Choose = "A";
    w->Btn_Click(w->Btn_Open);
    EXPECT_TRUE(w->Btn_Modbus_Read_DM1->Enabled());
    // and so does creating one
    NewProjectStandIn create;
    t.Replace_Form("FNew_Project", &create);
    create.Name = "C";
    w->Btn_Click(w->Btn_New);
    EXPECT_EQ(Conf_Name, "C");
    EXPECT_EQ(w->L_Name_Conf_L2->text(), "C");
    EXPECT_FALSE(w->Btn_Modbus_Read_DM1->Enabled());
    EXPECT_FALSE(w->Btn_Define_Alarms_DM1->Enabled());
}

TEST(MainWindow, StartProgramWaitsAndReportsStartFailure)
{
    ShellTest t(2);
    const QString out = t.Dir.File("ran.txt");
    t.Dir.Write("Ethernet_Update.exe", "#!/bin/sh\nsleep 0.1\necho \"$1\" > '" + out.toUtf8() + "'\n");
    QFile::setPermissions(t.Dir.File("Ethernet_Update.exe"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    t.Main()->Start_Program(t.Dir.File("Ethernet_Update.exe"), "job.xml", 0);
    EXPECT_EQ(t.Dir.Read("ran.txt"), QByteArray("job.xml\n"));   // written before the wait ended
    EXPECT_TRUE(t.Boxes.Calls.empty());

    t.Main()->Start_Program(t.Dir.File("TCP_CV58892_Update.exe"), QString(), 0);
    ASSERT_EQ(t.Boxes.Calls.size(), 1u);
    EXPECT_EQ(t.Boxes.Calls[0].Type, TMsgDlgType::mtError);
    EXPECT_TRUE(t.Boxes.Calls[0].Text.startsWith(QString::fromLocal8Bit(strerror(ENOENT))));
}

TEST(MainWindow, StartProgramGivesUpAfter150Seconds)
{
    ShellTest t(2);
    t.Dir.Write("slow.exe", "#!/bin/sh\necho $$ > '" + t.Dir.File("pid").toUtf8() + "'\nexec sleep 60\n");
    QFile::setPermissions(t.Dir.File("slow.exe"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    int64_t now = 0;
    const auto started = [&] { return !t.Dir.Read("pid").trimmed().isEmpty(); };
    const TWaitClock old = SetWaitClock({[&] { return now; }, [&](int ms) {
        // let the script write its process id before the clock runs out
        for (int i = 0; i < 400 && now == 0 && !started(); ++i) QThread::msleep(5);
        now += ms;
    }});
    t.Main()->Start_Program(t.Dir.File("slow.exe"), QString(), 0);
    SetWaitClock(old);
    EXPECT_EQ(now, 150000);
    // the program runs on
    const QByteArray pid = t.Dir.Read("pid").trimmed();
    ASSERT_FALSE(pid.isEmpty());
    EXPECT_EQ(kill(pid.toInt(), 0), 0);
    kill(pid.toInt(), SIGKILL);
}

TEST(MainWindow, UpdateTimerAndLinks)
{
    const QByteArray on = "<Conf_Settings><lastinternet><enable_internet>1</enable_internet>"
                          "<enable_update>1</enable_update></lastinternet></Conf_Settings>";
    ShellTest t(2, on);
    TFFabricateFirmWare* w = t.Main();
    EXPECT_TRUE(w->Timer_Update->isActive());
    EXPECT_EQ(w->Timer_Update->interval(), 60000);

    FakeHttpServer server("HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\nVER. 1.300\r\n");
    qputenv("FABRICAT_VERSION_SERVER", "127.0.0.1:" + QByteArray::number(server.Port()));
    w->Timer_UpdateTimer();
    qunsetenv("FABRICAT_VERSION_SERVER");
    EXPECT_FALSE(w->LL_Update->isHidden());
    EXPECT_EQ(w->LL_Update->text(), "<a href=\"http://www.korvix.com/Home/download/download.asp#GV58892\">"
                                    "New Version Available. Click Here for more Details</a>");
    EXPECT_TRUE(w->Timer_Update->isActive());
    EXPECT_EQ(w->Timer_Update->interval(), 7200000);

    QStringList opened;
    const UrlOpenHandler old = SetUrlOpenHandler([&](const QString& u) { opened << u; return true; });
    w->L_KorvixClick();
    emit w->LL_Update->linkActivated("http://www.korvix.com/Home/download/download.asp#GV58892");
    SetUrlOpenHandler(old);
    EXPECT_EQ(opened, QStringList({"http://www.korvix.com/HOME/default.asp?frompg=CV58892",
                                   "http://www.korvix.com/Home/download/download.asp#GV58892"}));

    // Options ending with both switches off stops the timer
    RecordingForm* options = t.Stand_In("FSoftOptions");
    options->OnShow = [] { Enable_Update = false; };
    w->Btn_Click(w->Btn_Opz);
    EXPECT_FALSE(w->Timer_Update->isActive());
    EXPECT_TRUE(t.Dir.Read("Fabricat.xml").contains("<enable_update>0</enable_update>"));
}

namespace {
// The New dialog as a user drives it: the name typed, then Enter, which acts on its
// key-down in the name field and closes the dialog.
class EnterInNewDialog : public TFNew_Project {
public:
    int Shows = 0;
    int ShowModal() override
    {
        if (++Shows > 1) return mrCancel;   // a second showing would wait for a user forever
        QTimer::singleShot(0, this, [this] {
            QTest::keyClicks(E_New_Proj, QStringLiteral("Line1"));
            QTest::keyPress(E_New_Proj, Qt::Key_Return);
        });
        return TFNew_Project::ShowModal();
    }
};
}  // namespace

// The Enter that closed a message box or the New dialog went down there; its release
// reaches the step button that has the focus again, which must not click once more.
TEST(MainWindow, EnterReleasedAfterABoxOrTheNewDialogDoesNotClickAgain)
{
    ShellTest t(2);
    TFFabricateFirmWare* w = t.Main();
    w->show();
    QApplication::setActiveWindow(w);
    QTest::mouseClick(w->Btn_Receive_J1939, Qt::LeftButton);
    EXPECT_EQ(t.Boxes.Texts(), QStringList({"Project not valid"}));
    ASSERT_TRUE(w->Btn_Receive_J1939->hasFocus());
    QTest::keyRelease(w->Btn_Receive_J1939, Qt::Key_Return);
    EXPECT_EQ(t.Boxes.Calls.size(), 1u);
    // Enter pressed on the button itself clicks it
    QTest::keyClick(w->Btn_Receive_J1939, Qt::Key_Return);
    EXPECT_EQ(t.Boxes.Calls.size(), 2u);

    EnterInNewDialog dlg;
    dlg.FormCreate();
    t.Replace_Form("FNew_Project", &dlg);
    QTest::mouseClick(w->Btn_New, Qt::LeftButton);
    QTest::keyRelease(w->Btn_New, Qt::Key_Return);
    EXPECT_EQ(dlg.Shows, 1);
    EXPECT_EQ(Conf_Name, "Line1");
    EXPECT_EQ(w->L_Name_Conf_L2->text(), "Line1");
    EXPECT_EQ(t.Boxes.Calls.size(), 2u);
}

// A folder name or a language text is shown as it stands, never read as markup.
namespace {
void Expect_Plain(const QList<QLabel*>& labels)
{
    for (QLabel* l : labels)
        EXPECT_EQ(l->textFormat(), Qt::PlainText) << l->window()->objectName().toStdString() << " "
                                                  << l->objectName().toStdString() << " " << l->text().toStdString();
}
}  // namespace

TEST(MainWindow, NamesAndTextsShowAsPlainText)
{
    ShellTest t(2);
    TFFabricateFirmWare* w = t.Main();
    t.Dir.Write("PROJECTS/<i>Ital/bin/.keep", QByteArray());
    OpenConfStandIn open;
    open.Choose = "<i>Ital";
    t.Replace_Form("FOpenConf", &open);
    w->show();
    QTest::mouseClick(w->Btn_Open, Qt::LeftButton);
    ASSERT_EQ(Conf_Name, "<i>Ital");
    QLabel* shown = w->L_Name_Conf_L2;
    EXPECT_EQ(shown->text(), "<i>Ital");
    EXPECT_GE(shown->width(), shown->fontMetrics().horizontalAdvance(QStringLiteral("<i>Ital")));   // not an italic "Ital"

    // the same for every label of the windows; only the update notices are links
    QList<QLabel*> labels = w->findChildren<QLabel*>();
    labels.removeOne(w->LL_Update);
    for (const char* name : {"FNew_Project", "FOpenConf", "FAbout", "FParGen", "FBootTCP", "FSoftOptions"})
        labels += Find_Form(QLatin1String(name))->findChildren<QLabel*>();
    labels.removeOne(Find_Form(QStringLiteral("FSoftOptions"))->findChild<QLabel*>(QStringLiteral("LL_Check_Update")));
    Expect_Plain(labels);
}

// The update windows of the models with other update paths.
TEST(MainWindow, UpdateWindowTextsShowAsPlainText)
{
    for (int model : {4, 9}) {
        ShellTest t(model);
        QList<QLabel*> labels;
        for (const char* name : {"FBoot", "FBootCAN", "FBootSer"})
            if (TForm* f = Find_Form(QLatin1String(name))) labels += f->findChildren<QLabel*>();
        EXPECT_FALSE(labels.isEmpty()) << model;
        Expect_Plain(labels);
    }
}

// A window name nobody registered is an error, not a step that silently does nothing.
TEST(MainWindow, AStepWhoseWindowIsMissingSaysSo)
{
    ShellTest t(2);
    TFFabricateFirmWare* w = t.Main();
    t.Replace_Form("FAbout", nullptr);
    w->show();
    QTest::mouseClick(w->Btn_Info, Qt::LeftButton);
    ASSERT_EQ(t.Boxes.Calls.size(), 1u);
    EXPECT_EQ(t.Boxes.Calls[0].Type, TMsgDlgType::mtError);
    EXPECT_TRUE(t.Boxes.Calls[0].Text.contains("FAbout")) << t.Boxes.Calls[0].Text.toStdString();
}

// Start-up makes the windows that the model's step buttons open and no others: every shown
// button, with either device type where the model has two, reaches a window that exists, and
// every window made is reached by one, or is one of the dialogs of every model.
TEST(MainWindow, StartUpMakesTheWindowsOfTheModelOnly)
{
    QStringList everyForm;
    for (const Layout& l : kLayouts)
        for (const QString& n : Model_Form_Names(l.Model))
            if (!everyForm.contains(n)) everyForm << n;
    EXPECT_EQ(everyForm.size(), 33);
    for (const Layout& l : kLayouts) {
        SCOPED_TRACE(l.Model);
        ShellTest t(l.Model);
        const QStringList made = Model_Form_Names(l.Model);
        for (const QString& n : everyForm) EXPECT_EQ(Find_Form(n) != nullptr, made.contains(n)) << n.toStdString();
        for (const QString& n : made)
            if (n != "FOpenConf") t.Stand_In(n);
        t.Main()->Build_Images = [] {};
        t.Main()->show();
        const bool twoTypes = l.Model == 7 || l.Model == 9;
        for (const char* type : {"0", "1"}) {
            if (!twoTypes && *type == '1') break;
            t.Open_Conf("A", QByteArray("<Par_Gen><J1939_Send_DM1>1</J1939_Send_DM1><Device_Type>") + type +
                                 "</Device_Type></Par_Gen>");
            t.Main()->Check_DM1_Enable();
            for (TLbButton* b : t.Main()->findChildren<TLbButton*>()) {
                const QString name = b->objectName();
                if (b->isHidden() || name == "Btn_Open" || name == "Btn_Close" || name == "Btn_GSD_File" ||
                    name == "Btn_CANopen_EDSFile")
                    continue;
                const qsizetype before = t.Shown.size();
                EXPECT_NO_THROW(QTest::mouseClick(b, Qt::LeftButton)) << name.toStdString();
                EXPECT_EQ(t.Shown.size(), before + 1) << name.toStdString();
            }
        }
        EXPECT_TRUE(t.Boxes.Calls.empty()) << t.Boxes.Texts().join('\n').toStdString();
        QStringList reached = t.Shown;
        // the Open dialog runs for real above; the register map opens from the Modbus
        // request editors of model 890
        reached << "FOpenConf";
        if (l.Model == 5) reached << "FConf_Regs_890";
        for (const QString& n : made) EXPECT_TRUE(reached.contains(n)) << n.toStdString() << " is made but never opened";
    }
}

TEST(MainWindow, TheJ1939StepButtonsOpenTheTableEditors)
{
    struct Case { int Model; const char* Button; const char* Form; const char* Caption; int CaptionText; };
    const Case cases[] = {
        {2, "Btn_Receive_J1939", "FReceive_J1939_892", "Receive J1939", 72},
        {2, "Btn_Transmit_J1939", "FTransmit_J1939_892", "Transmit J1939", 93},
        {1, "Btn_Transmit_J1939", "FTransmit_J1939_Frame_896", "Transmit J1939 Frames", 548},
        {0, "Btn_Define_Receive_J1939", "FDefineRecJ1939", "Define Receive J1939", 114},
        {7, "Btn_Define_Transmit_J1939", "FDefineTransJ1939", "Define Receive J1939", 137},
        {6, "Btn_Receive_CAN", "FReceive_CAN_Frames", "Receive CAN Frames", 595},
        {10, "Btn_Transmit_CAN", "FTransmit_CAN_Frames", "Transmit CAN Frames", 630},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Form);
        ShellTest t(c.Model);
        t.Open_Conf("A");
        TForm* editor = Find_Form(c.Form);
        ASSERT_NE(editor, nullptr);
        bool shown = false;
        // the window runs modally: look at it, then leave it by its Cancel button
        QTimer::singleShot(0, [&] {
            shown = editor->isVisible();
            editor->findChild<TLbButton*>("Btn_Cancel")->Click();
        });
        t.Main()->Btn_Click(t.Main()->findChild<TLbButton*>(c.Button));
        EXPECT_TRUE(shown);
        EXPECT_EQ(editor->ModalResult(), mrCancel);
        EXPECT_TRUE(t.Boxes.Calls.empty()) << t.Boxes.Texts().join('\n').toStdString();
        // a change of language reaches the editor
        EXPECT_EQ(editor->Caption(), c.Caption);
        Lang_Texts[c.CaptionText] = "Neu";
        Apply_Lang_To_Forms();
        EXPECT_EQ(editor->Caption(), "Neu");
    }
}
