// The update windows: pages, address checks, COM lists, options and what they start.
#include "platform/core/icmp.h"
#include "platform/core/serial_ports.h"
#include "platform/core/xml.h"
#include "shell/TFBoot.h"
#include "shell/TFBootCAN.h"
#include "shell/TFBootSer.h"
#include "shell/TFBootTCP.h"
#include "shell/TFParGen.h"
#include "platform/ui/lb_button.h"
#include "state/lang.h"
#include "state/shared_state.h"
#include "shell/update_fakes.h"
#include "shell/update_device_list.h"
#include "shell_fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <array>
#include <gtest/gtest.h>

namespace {
// Ports present on the fake machine: opened, or held by another program.
struct FakePorts {
    std::map<int, TComProbe> Ports;
    ComPortProbe Old;
    FakePorts(std::map<int, TComProbe> ports) : Ports(std::move(ports))
    {
        Old = Set_Com_Port_Probe([this](int n) {
            auto it = Ports.find(n);
            return it == Ports.end() ? TComProbe::Failed : it->second;
        });
    }
    ~FakePorts() { Set_Com_Port_Probe(Old); }
};

// Every echo client the windows create answers on one script.
struct FakeNetwork {
    FakeClock Clock;
    std::vector<int> Replies;
    int Echoes = 0;
    std::function<void()> DuringCheck;
    IcmpEchoFactory Old;
    explicit FakeNetwork(std::vector<int> replies) : Replies(std::move(replies))
    {
        Old = Set_Icmp_Echo_Factory([this] {
            struct Echo : FakeEcho {
                FakeNetwork* Net;
                Echo(FakeNetwork* n) : FakeEcho(n->Clock, n->Replies), Net(n) {}
                void Send(const QString& h, const QByteArray& d) override
                {
                    ++Net->Echoes;
                    if (Net->DuringCheck) Net->DuringCheck();
                    if (Net->Replies.empty()) throw EIcmpError(QStringLiteral("unreachable"));
                    FakeEcho::Send(h, d);
                }
            };
            return std::make_unique<Echo>(this);
        });
    }
    ~FakeNetwork() { Set_Icmp_Echo_Factory(Old); }
};

QStringList Items(const QComboBox* c)
{
    QStringList l;
    for (int i = 0; i < c->count(); ++i) l << c->itemText(i);
    return l;
}

// A started program with a configuration open.
struct WindowFixture : ::testing::Test {
    ShellTest Shell{2};
    TempExeDir& Dir = Shell.Dir;
    MessageBoxRecorder& Boxes = Shell.Boxes;
    WindowFixture()
    {
        // the update windows of the other models' update paths, beside model 892's own
        if (!FBootCAN) Create_Form(QStringLiteral("FBootCAN"), FBootCAN);
        if (!FBootSer) Create_Form(QStringLiteral("FBootSer"), FBootSer);
        if (!FBoot) Create_Form(QStringLiteral("FBoot"), FBoot);
        // model 892's own windows build their contents the first time they are asked for
        Need_Form(QStringLiteral("FBootTCP"));
        Need_Form(QStringLiteral("FParGen"));
        Shell.Open_Conf(QStringLiteral("Plant"));
    }
    QString Program(const char* name) const { return Dir.File(QString::fromLatin1(name)); }
    QStringList Args(const char* name) const
    {
        QStringList l;
        return Recorded_Args(Program(name), l) ? l : QStringList{QStringLiteral("<not started>")};
    }
};

void SetAddress(QLineEdit* a, QLineEdit* b, QLineEdit* c, QLineEdit* d, const QStringList& parts)
{
    a->setText(parts[0]);
    b->setText(parts[1]);
    c->setText(parts[2]);
    d->setText(parts[3]);
}
}  // namespace

TEST_F(WindowFixture, TcpWindowNeedsAProvenAddressBeforeItsOptions)
{
    ScopedModelCode model(2);
    Last_IP = QStringLiteral(" 10 . 0.0 .7 ");
    FakeNetwork net(std::vector<int>(10, 0));
    TFBootTCP w;
    w.SetPingClock(&net.Clock);
    w.FormCreate();
    w.FormShow();
    EXPECT_EQ(w.Caption(), "Update Firmware from Etherner (UDP)");
    EXPECT_EQ(w.L_IP_Address->text(), "Insert the IP Address of GV58892");
    EXPECT_EQ(QStringList({w.E_IP1->text(), w.E_IP2->text(), w.E_IP3->text(), w.E_IP4->text()}),
              QStringList({"10", "0", "0", "7"}));
    EXPECT_FALSE(w.OnPage2());

    w.LbButton2Click();
    EXPECT_EQ(Boxes.Texts(), QStringList{"Device not found in network"});
    EXPECT_EQ(Boxes.Calls[0].Type, TMsgDlgType::mtError);
    EXPECT_FALSE(w.OnPage2());

    w.LbButton1Click();
    EXPECT_EQ(net.Echoes, 2);
    EXPECT_TRUE(w.Esegui_Ping);
    EXPECT_EQ(w.ping_, 1);
    EXPECT_EQ(w.LPing->text(), "Device Found!");
    EXPECT_EQ(w.LPing->palette().color(QPalette::WindowText), QColor(0, 0x80, 0));

    w.LbButton2Click();
    EXPECT_TRUE(w.OnPage2());
    EXPECT_TRUE(w.E_IP1->isHidden());
    EXPECT_TRUE(w.Btn_Cancel->isHidden());
    EXPECT_TRUE(w.Btn_Next->isHidden());
    EXPECT_FALSE(w.Btn_Update->isHidden());
    EXPECT_EQ(w.Btn_Update->pos(), QPoint(16, 6));
    EXPECT_EQ(w.CB_Read_Conf->pos(), QPoint(56, 165));
    EXPECT_EQ(Last_IP, "10.0.0.7");

    // the next show starts over on page 1
    w.FormShow();
    EXPECT_FALSE(w.OnPage2());
    EXPECT_FALSE(w.Esegui_Ping);
    EXPECT_TRUE(w.LPing->text().isEmpty());
}

TEST_F(WindowFixture, TcpWindowReportsEachWayACheckFails)
{
    struct Case {
        QStringList Address;
        std::vector<int> Replies;   // empty: the network raises
        int Echoes;
        const char* Text;
    } cases[] = {
        {{"10", "0", "0", "7"}, std::vector<int>(40, -1), 25, "Device Not Found!"},
        {{"10", "0", "0", "7"}, {}, 1, "Error!!! Check the Ip Address"},
        {{"300", "0", "0", "7"}, {0, 0}, 0, "Error!!! Check the Ip Address"},
        {{"10", "0", "0", "7."}, {0, 0}, 0, "Error!!! Check the Ip Address"},
    };
    ScopedModelCode model(2);
    for (const Case& c : cases) {
        FakeNetwork net(c.Replies);
        TFBootTCP w;
        w.SetPingClock(&net.Clock);
        w.FormCreate();
        w.FormShow();
        SetAddress(w.E_IP1, w.E_IP2, w.E_IP3, w.E_IP4, c.Address);
        w.LbButton1Click();
        EXPECT_EQ(net.Echoes, c.Echoes) << c.Text;
        EXPECT_EQ(w.LPing->text(), c.Text);
        EXPECT_EQ(w.LPing->palette().color(QPalette::WindowText), QColor(0xFF, 0, 0));
        EXPECT_FALSE(w.Esegui_Ping);
        w.LbButton2Click();
        EXPECT_FALSE(w.OnPage2());
    }
    EXPECT_EQ(Boxes.Calls.size(), 4u);
}

TEST_F(WindowFixture, CheckLocksItsButtonsAndTheWindow)
{
    ScopedModelCode model(2);
    FakeNetwork net({0, 0});
    TFBootTCP w;
    w.SetPingClock(&net.Clock);
    w.FormCreate();
    w.FormShow();
    w.show();
    bool checked = false;
    net.DuringCheck = [&] {
        checked = true;
        EXPECT_TRUE(w.Busy());
        for (QWidget* b : {static_cast<QWidget*>(w.Btn_Ping), static_cast<QWidget*>(w.Btn_Next),
                           static_cast<QWidget*>(w.Btn_Cancel), static_cast<QWidget*>(w.E_IP1)})
            EXPECT_FALSE(b->isEnabled());
        w.reject();   // Escape or the close box during the check
        EXPECT_TRUE(w.isVisible());
    };
    w.LbButton1Click();
    EXPECT_TRUE(checked);
    EXPECT_FALSE(w.Busy());
    EXPECT_TRUE(w.Btn_Ping->isEnabled());
    EXPECT_TRUE(w.E_IP1->isEnabled());
    EXPECT_TRUE(w.Esegui_Ping);
    // a changed address must be checked again
    w.E_IP4->setText(QStringLiteral("8"));
    EXPECT_FALSE(w.Esegui_Ping);
}

TEST_F(WindowFixture, DotMovesToTheNextOctet)
{
    TFBootTCP tcp;
    TFBoot boot;
    tcp.FormCreate();
    for (QLineEdit* e : {tcp.E_IP1, tcp.E_IP4, boot.E_IP1, boot.E_IP4}) e->clear();
    QTest::keyClicks(tcp.E_IP1, QStringLiteral("10."));
    QTest::keyClicks(tcp.E_IP4, QStringLiteral("5."));
    QTest::keyClicks(boot.E_IP1, QStringLiteral("10."));
    QTest::keyClicks(boot.E_IP4, QStringLiteral("5."));
    EXPECT_EQ(tcp.E_IP1->text(), "10");
    EXPECT_EQ(tcp.E_IP4->text(), "5.");
    EXPECT_EQ(boot.E_IP1->text(), "10");
    EXPECT_EQ(boot.E_IP4->text(), "5");
}

// An address typed over filled octets: each "." moves on and selects the next octet, so
// that its old value is replaced, in the update windows and the parameters window alike.
TEST_F(WindowFixture, AddressTypedOverFilledOctetsReplacesThem)
{
    TFBootTCP tcp;
    TFBoot boot;
    tcp.FormCreate();
    struct Case { TForm* Window; std::array<QLineEdit*, 4> Octets; };
    const Case cases[] = {
        {&tcp, {tcp.E_IP1, tcp.E_IP2, tcp.E_IP3, tcp.E_IP4}},
        {&boot, {boot.E_IP1, boot.E_IP2, boot.E_IP3, boot.E_IP4}},
        {FParGen, {FParGen->E_MTCPM_IP1, FParGen->E_MTCPM_IP2, FParGen->E_MTCPM_IP3, FParGen->E_MTCPM_IP4}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Window->metaObject()->className());
        c.Window->show();
        QApplication::setActiveWindow(c.Window);
        const QStringList old = {"127", "0", "0", "1"};
        for (int i = 0; i < 4; ++i) c.Octets[i]->setText(old[i]);
        c.Octets[0]->setFocus();
        c.Octets[0]->selectAll();
        ASSERT_EQ(QApplication::focusWidget(), c.Octets[0]);
        for (char ch : QByteArray("127.0.0.1")) QTest::keyClick(QApplication::focusWidget(), ch);
        QStringList typed;
        for (QLineEdit* e : c.Octets) typed << e->text();
        EXPECT_EQ(typed, old);
        EXPECT_EQ(QApplication::focusWidget(), c.Octets[3]);
        c.Window->hide();
    }
}

// The one-page window takes its size for the mode when it shows; it is centred on that size.
TEST_F(WindowFixture, BootWindowIsCentredOnItsSize)
{
    FakePorts ports({{3, TComProbe::Opened}});
    TFBoot w;
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    for (int formType : {2, 1, 1}) {
        SCOPED_TRACE(formType);
        w.Form_Type = formType;
        QRect shown;
        QTimer::singleShot(0, &w, [&] {
            shown = QRect(w.pos(), w.size());
            QTest::keyClick(&w, Qt::Key_Escape);
        });
        w.ShowModal();
        EXPECT_EQ(shown.size(), QSize(449, formType == 2 ? 232 : 230));
        EXPECT_EQ(shown.topLeft(), QPoint(screen.x() + (screen.width() - shown.width()) / 2,
                                          screen.y() + (screen.height() - shown.height()) / 2));
    }
}

TEST_F(WindowFixture, BootWindowLaysOutEachMode)
{
    FakePorts ports({{3, TComProbe::Opened}, {5, TComProbe::AccessDenied}, {12, TComProbe::Opened}});
    Last_IP = QStringLiteral("172.16.0.9");
    Last_Update_Option = 2;
    Last_Read_Back = true;
    TFBoot w;
    w.Form_Type = 1;
    w.FormShow();
    EXPECT_EQ(w.Caption(), "Update Device by Ethernet (UDP)");
    EXPECT_EQ(w.L_SW_Desc->text(), "Update Device Using the Ethernet Port");
    EXPECT_EQ(QSize(w.ClientWidth(), w.ClientHeight()), QSize(449, 230));
    EXPECT_FALSE(w.P_IP_Address->isHidden());
    EXPECT_FALSE(w.P_Options->isHidden());
    EXPECT_TRUE(w.P_Serial->isHidden());
    EXPECT_TRUE(w.P_Eth_Search->isHidden());
    EXPECT_EQ(w.P_IP_Address->geometry(), QRect(0, 69, 449, 49));
    EXPECT_EQ(w.P_Options->geometry(), QRect(0, 118, 449, 72));
    EXPECT_EQ(w.P_Buttons->geometry(), QRect(0, 190, 449, 40));
    EXPECT_EQ(w.E_IP4->text(), "9");
    EXPECT_EQ(Items(w.CB_Update_Options), QStringList({"Firmware + Configuration", "Firmware", "Configuration"}));
    EXPECT_EQ(w.CB_Update_Options->currentIndex(), 2);
    EXPECT_TRUE(w.CB_Update_Option_Read_Back->isChecked());
    EXPECT_EQ(Device_List_Header(w.ACG_List_Devices, 0), "IP Address");
    EXPECT_EQ(Device_List_Header(w.ACG_List_Devices, 1), "MAC Address");

    w.Form_Type = 2;
    w.FormShow();
    EXPECT_EQ(w.Caption(), "Update Device by USB");
    EXPECT_EQ(QSize(w.ClientWidth(), w.ClientHeight()), QSize(449, 232));
    EXPECT_TRUE(w.P_IP_Address->isHidden());
    EXPECT_FALSE(w.P_Serial->isHidden());
    EXPECT_EQ(w.P_Serial->geometry(), QRect(0, 69, 449, 51));
    EXPECT_EQ(w.P_Options->geometry(), QRect(0, 120, 449, 72));
    EXPECT_EQ(Items(w.CB_COM_Port), QStringList({"COM3", "COM5", "COM12"}));
    EXPECT_EQ(w.CB_COM_Port->currentIndex(), 0);
    EXPECT_EQ(w.Update_Options(QStringLiteral("x ")), "x NO NO PW PR ");

    // every show applies the texts, the hidden device list's headers too
    Lang_Texts[791] = QStringLiteral("Indirizzo IP");
    w.FormShow();
    EXPECT_EQ(Device_List_Header(w.ACG_List_Devices, 0), "Indirizzo IP");
}

TEST_F(WindowFixture, BootWindowWritesTheJobOnlyForAnAnsweringDevice)
{
    ScopedModelCode model(10);
    struct Case {
        QStringList Address;
        std::vector<int> Replies;
        int Echoes;
        const char* Box;   // nullptr: job written
        TMsgDlgType Type;
    } cases[] = {
        {{"10", "0", "0", "1"}, std::vector<int>(20, -1), 13, "Device Not Found!", TMsgDlgType::mtWarning},
        {{"10", "0", "0", "256"}, {0, 0}, 0, "Error!!! Check the Ip Address", TMsgDlgType::mtError},
        {{"10", "0", "0", "1"}, {}, 1, "Error!!! Check the Ip Address", TMsgDlgType::mtError},
        {{"10", "0", "0", " 1"}, {0, 0}, 2, nullptr, TMsgDlgType::mtError},
    };
    for (const Case& c : cases) {
        Boxes.Clear();
        QFile::remove(Dir.File(QStringLiteral("Ethernet_Update.xml")));
        FakeNetwork net(c.Replies);
        TFBoot w;
        w.SetPingClock(&net.Clock);
        w.Form_Type = 1;
        w.FormShow();
        SetAddress(w.E_IP1, w.E_IP2, w.E_IP3, w.E_IP4, c.Address);
        w.CB_Update_Options->setCurrentIndex(1);
        w.Btn_UpdateClick();
        EXPECT_EQ(net.Echoes, c.Echoes);
        EXPECT_EQ(Last_Update_Option, 1);
        if (c.Box) {
            ASSERT_EQ(Boxes.Calls.size(), 1u);
            EXPECT_EQ(Boxes.Calls[0].Text, c.Box);
            EXPECT_EQ(Boxes.Calls[0].Type, c.Type);
            EXPECT_FALSE(Dir.Exists(QStringLiteral("Ethernet_Update.xml")));
        } else {
            pugi::xml_document doc;
            ASSERT_TRUE(XmlLoadFile(doc, Dir.File(QStringLiteral("Ethernet_Update.xml"))));
            EXPECT_STREQ(XmlChild(XmlRoot(doc), "IP_Address_Dev").text().get(), "10.0.0.1");
            EXPECT_EQ(std::distance(XmlChild(XmlRoot(doc), "Operations").begin(), XmlChild(XmlRoot(doc), "Operations").end()), 1);
        }
    }
}

TEST_F(WindowFixture, ComWindowsListPortsAndRefuseNextWithoutOne)
{
    FakePorts ports({});
    TFBootCAN can;
    TFBootSer ser;
    for (TUpdateComWizard* w : {static_cast<TUpdateComWizard*>(&can), static_cast<TUpdateComWizard*>(&ser)}) {
        w->FormCreate();
        w->FormShow();
        EXPECT_EQ(w->CB_Com->count(), 0);
        w->Btn_NextClick();
        EXPECT_FALSE(w->OnPage2());
    }
    EXPECT_EQ(Boxes.Texts(), QStringList({"Error! Select the COM port to use for the Update",
                                          "Error! Select the COM port to use for the Update"}));

    ports.Ports = {{3, TComProbe::Opened}, {5, TComProbe::AccessDenied}, {12, TComProbe::Opened}};
    can.Btn_COM_ListClick();
    EXPECT_EQ(Items(can.CB_Com), QStringList({"COM3", "COM5", "COM12"}));
    ports.Ports[1] = TComProbe::Opened;   // a converter plugged in
    can.CB_Com->setCurrentIndex(2);
    can.Btn_COM_ListClick();
    EXPECT_EQ(can.CB_Com->currentText(), "COM1");

    EXPECT_EQ(can.Caption(), "Update Device by CAN Bus");
    EXPECT_EQ(can.CB_CAN_Search->count(), 12);
    EXPECT_EQ(can.CB_CAN_Search->itemText(11), "1000000");
    EXPECT_EQ(can.CB_CAN_Search->currentIndex(), 0);
    can.Btn_NextClick();
    EXPECT_TRUE(can.OnPage2());
    EXPECT_TRUE(can.CB_Com->isHidden());
    EXPECT_TRUE(can.CB_CAN_Search->isHidden());
    EXPECT_EQ(can.CB_Firmware->pos(), QPoint(36, 96));
    EXPECT_EQ(can.Btn_Update->pos(), QPoint(16, 6));
    // options keep their state, the page starts over
    can.CB_Read_Firm->setChecked(false);
    can.FormShow();
    EXPECT_FALSE(can.OnPage2());
    EXPECT_FALSE(can.CB_Read_Firm->isChecked());

    EXPECT_EQ(ser.Caption(), "Update Device by Serial");
    EXPECT_EQ(ser.L_Steps3->text(), "2 - Use the Dip-Switch to set the Boot Mode");
    EXPECT_EQ(ser.CB_Com->pos(), QPoint(54, 151));
}

TEST_F(WindowFixture, EachWindowStartsItsProgramWithItsChoices)
{
    FakePorts ports({{3, TComProbe::Opened}});
    FakeNetwork net(std::vector<int>(10, 0));
    const QString M = Master_Dir + QLatin1Char('/'), C = Conf_Dir + QLatin1Char('/');
    struct Case {
        int Model;
        std::function<void()> Drive;
        const char* Program;
        QStringList Args;
    } cases[] = {
        {5, [] {
             FBootCAN->FormShow();
             FBootCAN->CB_CAN_Search->setCurrentIndex(8);
             FBootCAN->CB_Read_Firm->setChecked(false);
             FBootCAN->Btn_NextClick();
             FBootCAN->Btn_UpdateClick();
         },
         "CAN_58890_Update.exe", {"COM3", "8", "FW", "NO", "PW", "PR", M + "sim58890.sim", C + "bin/"}},
        {7, [] {
             FBootSer->FormShow();
             FBootSer->Btn_NextClick();
             FBootSer->Btn_UpdateClick();
         },
         "Ser_58872_Update.exe", {"\\\\.\\COM3", "FW", "FR", "PW", "PR", "PG", "LP", M + "sim58872.sim", C + "bin/"}},
        {6, [] {
             FBoot->Form_Type = 2;
             FBoot->FormShow();
             FBoot->CB_Update_Options->setCurrentIndex(1);
             FBoot->CB_Update_Option_Read_Back->setChecked(false);
             FBoot->Btn_UpdateClick();
         },
         "USB_58897_Update.exe", {"\\\\.\\COM3", "FW", "NO", "NO", "NO", M + "sim58897.sim", C + "bin/bank.bin"}},
        {9, [&] {
             FBootTCP->SetPingClock(&net.Clock);
             FBootTCP->FormShow();
             SetAddress(FBootTCP->E_IP1, FBootTCP->E_IP2, FBootTCP->E_IP3, FBootTCP->E_IP4, {"192", "168", "2", "15"});
             FBootTCP->LbButton1Click();
             FBootTCP->LbButton2Click();
             FBootTCP->CB_Conf->setChecked(false);
             FBootTCP->LbButton4Click();
         },
         "TCP_58871K_Update.exe",
         {"192.168.2.15", "2007", "FW", "FR", "NO", "PR", M + "Sim58894.sim", C + "bin/bank_k.bin"}},
    };
    for (const Case& c : cases) {
        ScopedModelCode model(c.Model);
        Put_Recorder(Program(c.Program));
        c.Drive();
        EXPECT_EQ(Args(c.Program), c.Args) << c.Model;
    }
    EXPECT_TRUE(Boxes.Calls.empty()) << Boxes.Texts().join('|').toStdString();
    EXPECT_EQ(Last_Update_Option, 1);
    EXPECT_FALSE(Last_Read_Back);
}

TEST_F(WindowFixture, EthernetUpdateRunsOnTheJobJustWritten)
{
    FakeNetwork net(std::vector<int>(10, 0));
    Put_Recorder(Program("Ethernet_Update.exe"));
    {
        ScopedModelCode model(10);
        FBoot->SetPingClock(&net.Clock);
        FBoot->Form_Type = 1;
        FBoot->FormShow();
        SetAddress(FBoot->E_IP1, FBoot->E_IP2, FBoot->E_IP3, FBoot->E_IP4, {"10", "0", "0", "5"});
        FBoot->Btn_UpdateClick();
    }
    EXPECT_EQ(Args("Ethernet_Update.exe"), QStringList());
    const QByteArray job = Dir.Read(QStringLiteral("Ethernet_Update.exe.job"));
    EXPECT_TRUE(job.contains("<Title>Korvix - CV58860 Ethernet Update</Title>")) << job.constData();
    EXPECT_TRUE(job.contains("<IP_Address_Dev>10.0.0.5</IP_Address_Dev>"));

    // a job file that cannot be written is reported, and the old one is not run
    QFile::remove(Program("Ethernet_Update.exe.args"));
    QFile::remove(Dir.File(QStringLiteral("Ethernet_Update.xml")));
    QDir().mkdir(Dir.File(QStringLiteral("Ethernet_Update.xml")));
    FBootTCP->SetPingClock(&net.Clock);
    FBootTCP->FormShow();
    FBootTCP->LbButton1Click();
    FBootTCP->LbButton2Click();
    FBootTCP->LbButton4Click();
    EXPECT_EQ(Args("Ethernet_Update.exe"), QStringList{"<not started>"});
    ASSERT_EQ(Boxes.Calls.size(), 1u);
    EXPECT_EQ(Boxes.Calls[0].Type, TMsgDlgType::mtError);

    // a program that is not there is reported with the system's text
    Boxes.Clear();
    QDir(Dir.File(QStringLiteral("Ethernet_Update.xml"))).removeRecursively();
    QFile::remove(Program("Ethernet_Update.exe"));
    FBootTCP->LbButton4Click();
    ASSERT_EQ(Boxes.Calls.size(), 1u);
    EXPECT_TRUE(Boxes.Calls[0].Text.contains(QString::fromLocal8Bit(strerror(ENOENT)))) << Boxes.Calls[0].Text.toStdString();
}

TEST_F(WindowFixture, UpdateDeviceOfModel892EndsInTheEthernetUpdate)
{
    FakeNetwork net(std::vector<int>(10, 0));
    Put_Recorder(Program("Ethernet_Update.exe"));
    FBootTCP->SetPingClock(&net.Clock);
    bool shown = false;
    QTimer::singleShot(0, [&] {
        shown = FBootTCP->isVisible();
        SetAddress(FBootTCP->E_IP1, FBootTCP->E_IP2, FBootTCP->E_IP3, FBootTCP->E_IP4, {"192", "168", "2", "205"});
        FBootTCP->Btn_Ping->Click();
        FBootTCP->Btn_Next->Click();
        FBootTCP->Btn_Update->Click();
        FBootTCP->reject();
    });
    Shell.Main()->Btn_Click(Shell.Main()->Btn_CreateBin);
    EXPECT_TRUE(shown);
    EXPECT_TRUE(Dir.Exists(QStringLiteral("PROJECTS/Plant/bin/bank1.bin")));
    EXPECT_TRUE(Dir.Exists(QStringLiteral("PROJECTS/Plant/bin/bank2.bin")));
    EXPECT_EQ(Args("Ethernet_Update.exe"), QStringList());
    pugi::xml_document doc;
    ASSERT_TRUE(XmlLoadFile(doc, Program("Ethernet_Update.exe.job")));
    pugi::xml_node ops = XmlChild(XmlRoot(doc), "Operations");
    QStringList files;
    for (pugi::xml_node op : ops.children("Operation")) files << FromUtf8(XmlChild(op, "Ope_FileName").text().get());
    EXPECT_EQ(files, QStringList({Dir.File("MASTER/sim58892.sim"), Dir.File("PROJECTS/Plant/bin/bank1.bin"),
                                  Dir.File("PROJECTS/Plant/bin/bank2.bin")}));
    EXPECT_EQ(Last_IP, "192.168.2.205");
    EXPECT_TRUE(Boxes.Calls.empty()) << Boxes.Texts().join('|').toStdString();
}
