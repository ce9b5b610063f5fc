#include "platform/core/serial_ports.h"
#include "state/model_table.h"
#include "state/net_util.h"
#include "state/shared_state.h"
#include "support/fixtures.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

TEST(ModelTable, CodesOfAllTwelveModels)
{
    struct Row { int code; const char16_t* sw; const char16_t* caption; const char16_t* hw; const char16_t* version; };
    const Row rows[] = {
        {0, u"CV58891", u"Korvix - Configurator CV58891 - J1939 / Modbus Slave ", u"GV58891", u"1.101"},
        {2, u"CV58892", u"Korvix - Configurator CV58892 - J1939 / Modbus TCP Master ", u"GV58892", u"1.205"},
        {7, u"CV58872", u"Korvix - Configurator CV58872 - J1939 / Modbus TCP Slave ", u"GV58872", u"3.300"},
        {10, u"CV58860", u"Korvix - Configurator CV58860 - J1939 / CAN ", u"GV58860", u"1.002"},
        {1006, u"ZAZOR900", u"Korvix - Configurator QTB900 - J1939 / CAN ", u"QTB900", u"1.100"},
    };
    for (const Row& r : rows) {
        const TModelInfo& m = Model_Info(r.code);
        EXPECT_EQ(QString::fromUtf16(m.SW_Code), QString::fromUtf16(r.sw)) << r.code;
        EXPECT_EQ(QString::fromUtf16(m.Caption), QString::fromUtf16(r.caption)) << r.code;
        EXPECT_EQ(QString::fromUtf16(m.HW_Code), QString::fromUtf16(r.hw)) << r.code;
        EXPECT_EQ(QString::fromUtf16(m.Version), QString::fromUtf16(r.version)) << r.code;
    }
    for (int i = 0; i < Model_Count; ++i) {
        EXPECT_EQ(Model_Index(Model_Codes[i]), i);
        EXPECT_EQ(QString::fromUtf16(Model_SW_Codes[i]), QString::fromUtf16(Model_Info(Model_Codes[i]).SW_Code));
        EXPECT_EQ(QString::fromUtf16(Model_Descriptions[i]), QString::fromUtf16(Model_Info(Model_Codes[i]).Description));
        if (i < 11) EXPECT_EQ(QString::fromUtf16(Check_SW_Codes[i]), QString::fromUtf16(Model_SW_Codes[i]));
    }
    EXPECT_EQ(Model_Index(11), -1);
    EXPECT_EQ(Model_Index(-1), -1);
}

TEST(SetFiles, PathsFollowTheConfigurationAndTheModel)
{
    TempExeDir dir;
    for (int code : Model_Codes) {
        ScopedModelCode model(code);
        // no configuration: no path at all, never one at the root of the file system
        Conf_Dir.clear();
        Set_Files();
        EXPECT_EQ(File_ParGen, QString());
        EXPECT_EQ(File_CAN_Define_Transmit, QString());
        Conf_Dir = QStringLiteral("/p/PROJECTS/A");
        Set_Files();
        const bool cob = code == 7 || code == 9;
        EXPECT_EQ(File_ParGen, QStringLiteral("/p/PROJECTS/A/ParGen.xml"));
        EXPECT_EQ(File_J1939_Receive, cob ? QStringLiteral("/p/PROJECTS/A/RCobDef.xml") : QStringLiteral("/p/PROJECTS/A/J1939_Receive.xml"));
        EXPECT_EQ(File_Define_J1939_Rec, cob ? QStringLiteral("/p/PROJECTS/A/RInfoCob.xml") : QStringLiteral("/p/PROJECTS/A/Define_J1939_Rec.xml"));
        EXPECT_EQ(File_J1939_Transmit, cob ? QStringLiteral("/p/PROJECTS/A/TCobDef.xml") : QStringLiteral("/p/PROJECTS/A/J1939_Transmit.xml"));
        EXPECT_EQ(File_Define_J1939_Tra, cob ? QStringLiteral("/p/PROJECTS/A/TInfoCob.xml") : QStringLiteral("/p/PROJECTS/A/Define_J1939_Tra.xml"));
        EXPECT_EQ(File_Modbus_Read_Req_DM1, QStringLiteral("/p/PROJECTS/A/Modbus_Read_Req_DM1.xml"));
        EXPECT_EQ(File_CANopen_Define_NG_J1939_Frames, QStringLiteral("/p/PROJECTS/A/CANopen_Define_NG_J1939_Frames.xml"));
        EXPECT_EQ(File_CAN_Define_Transmit, QStringLiteral("/p/PROJECTS/A/CAN_Define_Transmit.xml"));
    }
}

TEST(InitFolders, CreatesTheThreeFoldersBesideTheExecutable)
{
    TempExeDir dir;
    for (const char* f : {"MASTER", "PROJECTS", "LANGUAGE"}) {
        EXPECT_TRUE(QDir(dir.File(QString::fromLatin1(f))).exists()) << f;
    }
    EXPECT_EQ(Projects_Dir, dir.File(QStringLiteral("PROJECTS")));
}

TEST(SplitIpAddress, Cases)
{
    struct Case { const char* ip; bool ok; const char* p1; const char* p2; const char* p3; const char* p4; };
    const Case cases[] = {
        {"192.168.2.205", true, "192", "168", "2", "205"},
        {"  10 . 0 .\t1 . 2  ", true, "10", "0", "1", "2"},
        {"0.0.0.0", true, "0", "0", "0", "0"},
        {"255.255.255.255", true, "255", "255", "255", "255"},
        {"1.2.3", false, "1", "2", "", ""},
        {"1.2.3.256", false, "1", "2", "3", "256"},
        {"1.2.3.4.5", false, "1", "2", "3", "4.5"},
        {"a.b.c.d", false, "a", "b", "c", "d"},
        {"1.2.3.", false, "1", "2", "3", ""},
        {"-1.2.3.4", false, "-1", "2", "3", "4"},
    };
    for (const Case& c : cases) {
        QString a, b, d, e;
        EXPECT_EQ(Split_IP_Address(QString::fromLatin1(c.ip), a, b, d, e), c.ok) << c.ip;
        EXPECT_EQ(a, QString::fromLatin1(c.p1)) << c.ip;
        EXPECT_EQ(b, QString::fromLatin1(c.p2)) << c.ip;
        EXPECT_EQ(d, QString::fromLatin1(c.p3)) << c.ip;
        EXPECT_EQ(e, QString::fromLatin1(c.p4)) << c.ip;
    }
}

TEST(EnumComPorts, ListsFreeAndBusyPortsInOrder)
{
    auto old = Set_Com_Port_Probe([](int n) {
        if (n == 3) return TComProbe::Opened;
        if (n == 5) return TComProbe::AccessDenied;
        if (n == 4) return TComProbe::NotPermitted;   // no rights on the device: useless for an update
        return TComProbe::Failed;
    });
    EXPECT_EQ(Enum_Com_Ports(), (QStringList{QStringLiteral("3"), QStringLiteral("5")}));
    Set_Com_Port_Probe(old);

    EXPECT_EQ(Com_Port_Device(1), QStringLiteral("/dev/ttyS0"));
    EXPECT_EQ(Com_Port_Device(64), QStringLiteral("/dev/ttyS63"));
    EXPECT_EQ(Com_Port_Device(65), QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(Com_Port_Device(129), QStringLiteral("/dev/ttyACM0"));
    EXPECT_EQ(Com_Port_Device(256), QStringLiteral("/dev/ttyAMA63"));
    EXPECT_EQ(Com_Port_Device(0), QString());
    EXPECT_EQ(Com_Port_Device(257), QString());
}

TEST(EnumComPorts, DeviceWithoutRightsIsNotPermitted)
{
    QTemporaryDir dir;
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther);
    const QString node = dir.filePath(QStringLiteral("ttyS0"));
    {
        QFile f(node);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    QFile::setPermissions(node, QFileDevice::Permissions());
    if (::geteuid() != 0) {
        EXPECT_EQ(Probe_Com_Device(node), TComProbe::NotPermitted);
        return;
    }
    // root opens everything: probe from a child that has become an ordinary user
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(100);
        ::_exit(static_cast<int>(Probe_Com_Device(node)));
    }
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 100) GTEST_SKIP() << "cannot become an ordinary user";
    EXPECT_EQ(WEXITSTATUS(status), static_cast<int>(TComProbe::NotPermitted));
}

}  // namespace
