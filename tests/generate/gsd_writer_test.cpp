#include "generate/gsd_checks.h"
#include "generate/gsd_writer.h"
#include "generate/image_builders.h"
#include "platform/core/exception.h"
#include "state/shared_state.h"
#include "generate/gen_fixture.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <utility>

namespace {

using Attrs = TRowAttrs;

// A configuration of the PROFIBUS slave gateway in a fresh folder.
class GsdTest : public ::testing::Test {
protected:
    TGenConf Conf{8};

    static void ParGen(const char* profiModule, const char* sendStatus)
    {
        Write_ParGen({{"Profi_Module", profiModule}, {"Profi_Send_J1939", sendStatus}});
    }
    static void Rows(const QString& path, const std::vector<Attrs>& rows) { Write_Table_File(path, "ReceiveNMEA2000", rows); }
    static void Frames(const QString& path, int n, const Attrs& row = {}) { Rows(path, std::vector<Attrs>(n, row)); }
    // The text as saved, split at CR LF; the last line ends with CR LF too.
    QStringList Saved(const QString& name)
    {
        const QString path = Conf_Dir + QLatin1Char('/') + name;
        Write_GSD_File(path);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray data = f.readAll();
        EXPECT_TRUE(data.endsWith("\r\n"));
        for (char c : data) EXPECT_TRUE(static_cast<unsigned char>(c) < 128);
        QStringList lines = QString::fromLatin1(data).split(QStringLiteral("\r\n"));
        lines.removeLast();
        for (const QString& l : lines) EXPECT_FALSE(l.contains(QLatin1Char('\n')) || l.contains(QLatin1Char('\r')));
        return lines;
    }
    static QStringList From(const QStringList& lines, const QString& first, int count)
    {
        const int i = lines.indexOf(first);
        EXPECT_GE(i, 0) << first.toStdString();
        return i < 0 ? QStringList() : lines.mid(i, count);
    }
    // The module definitions and the slot list, from the first module line to the end.
    static QStringList ModulesAndSlots(const QStringList& lines)
    {
        const int i = lines.indexOf(QStringLiteral(";==== Module-Definition-List =================================================="));
        return lines.mid(i + 3);
    }
};

TEST_F(GsdTest, PerFrameExampleWithStatusModules)
{
    ParGen("1", "1");
    Frames(File_J1939_Receive, 1, {{"TransportProtocol", "N"}, {"NumBytes", "3"}});
    Frames(File_J1939_Transmit, 1);
    const QStringList l = Saved(QStringLiteral("a.gsd"));

    // banner, then the description proper
    ASSERT_GT(l.size(), 30);
    EXPECT_EQ(l[0], ";");
    EXPECT_EQ(l[1], ";*********************** J1939 / PROFIBUS Slave - Converter *************************");
    for (int i = 2; i < 20; ++i) {
        EXPECT_EQ(l[i].size(), 85) << i;
        EXPECT_TRUE(l[i].startsWith(";*") && l[i].endsWith("*")) << i;
    }
    EXPECT_EQ(l[2], ";* " + QString(80, '=') + " *");
    EXPECT_EQ(l[4], ";* Vendor:   Korvix" + QString(65, ' ') + "*");
    EXPECT_TRUE(l[14].startsWith(";* Function:       J1939 / PROFIBUS Slave - Converter   "));
    EXPECT_TRUE(l[17].startsWith(";* Order Number : GV58895 "));
    EXPECT_EQ(l[20], ";" + QString(84, '*'));
    EXPECT_EQ(l[21], "");
    EXPECT_EQ(l[22], "");
    EXPECT_EQ(l[23], "#Profibus_DP");

    EXPECT_EQ(From(l, "Modular_Station=1", 8),
              QStringList({"Modular_Station=1", "Max_Module=4", "Modul_Offset=1", "Max_Input_Len=9", "Max_Output_Len=9",
                           "Max_Data_Len=18", "Max_Diag_Data_Len=18", ""}));
    EXPECT_EQ(ModulesAndSlots(l), QStringList({
                                      "Module=\"DI  (PORT1)    \" 0x42,0x07,0x00,0x01", "1", "EndModule",
                                      "Module=\"DI  (PORT2)    \" 0x42,0x00,0x00,0x02", "2", "EndModule",
                                      "Module=\"DO  (PORT3)    \" 0x82,0x07,0x00,0x03", "3", "EndModule",
                                      "Module=\"DO  (PORT4)    \" 0x82,0x00,0x00,0x04", "4", "EndModule",
                                      "", "", "",
                                      "SlotDefinition",
                                      "Slot(1) = \"Slot 1\" 1 1",
                                      "Slot(2) = \"Slot 2\" 2 2",
                                      "Slot(3) = \"Slot 3\" 3 3",
                                      "Slot(4) = \"Slot 4\" 4 4",
                                      "EndSlotDefinition",
                                      "", "", "", "",
                                  }));
}

TEST_F(GsdTest, NoFramesGivesNoModules)
{
    ParGen("0", "0");
    const QStringList l = Saved(QStringLiteral("a.gsd"));
    EXPECT_EQ(From(l, "Max_Module=0", 5),
              QStringList({"Max_Module=0", "Modul_Offset=1", "Max_Input_Len=0", "Max_Output_Len=0", "Max_Data_Len=0"}));
    EXPECT_EQ(ModulesAndSlots(l), QStringList({"", "", "", "SlotDefinition", "EndSlotDefinition", "", "", "", ""}));
}

TEST_F(GsdTest, PackedModesSplitTheDataIntoModulesOf64Bytes)
{
    ParGen("0", "1");
    Frames(File_J1939_Receive, 10);
    Frames(File_J1939_Transmit, 10);
    const QStringList l = Saved(QStringLiteral("a.gsd"));
    EXPECT_EQ(GSD_Sizes.Status_Bytes, 2);
    EXPECT_EQ(From(l, "Max_Module=4", 5),
              QStringList({"Max_Module=4", "Modul_Offset=1", "Max_Input_Len=82", "Max_Output_Len=82", "Max_Data_Len=164"}));
    EXPECT_EQ(ModulesAndSlots(l).mid(0, 12), QStringList({
                                                  "Module=\"DI  (PORT1)    \" 0x42,0x3F,0x00,0x01", "1", "EndModule",
                                                  "Module=\"DI  (PORT2)    \" 0x42,0x11,0x00,0x02", "2", "EndModule",
                                                  "Module=\"DO  (PORT3)    \" 0x82,0x3F,0x00,0x03", "3", "EndModule",
                                                  "Module=\"DO  (PORT4)    \" 0x82,0x11,0x00,0x04", "4", "EndModule",
                                              }));
    EXPECT_TRUE(l.contains("Slot(4) = \"Slot 4\" 4 4"));
    EXPECT_FALSE(l.contains("Slot(5) = \"Slot 5\" 5 5"));
}

struct ModuleCase {
    const char* Name;
    const char* ProfiModule;
    const char* SendStatus;
    std::vector<Attrs> Rx;
    int Tx;
    QStringList Modules;   // the module lines, in order
    int InputLen, OutputLen;
};

TEST_F(GsdTest, ModuleLists)
{
    const Attrs tp20{{"TransportProtocol", "y"}, {"NumBytes", "20"}};
    const Attrs tp64{{"TransportProtocol", "Y"}, {"NumBytes", "64"}};
    const Attrs tpN{{"TransportProtocol", "N"}, {"NumBytes", "20"}};
    const ModuleCase cases[] = {
        {"exactly two full input modules", "0", "0", {tp64, tp64}, 0,
         {"Module=\"DI  (PORT1)    \" 0x42,0x3F,0x00,0x01", "Module=\"DI  (PORT2)    \" 0x42,0x3F,0x00,0x02"}, 128, 0},
        {"transport frame sizes, lower-case flag", "1", "0", {tp20, tpN}, 0,
         {"Module=\"DI  (PORT1)    \" 0x42,0x13,0x00,0x01", "Module=\"DI  (PORT2)    \" 0x42,0x07,0x00,0x02"}, 28, 0},
        {"per frame without status: receive then transmit", "1", "0", {{}, {}}, 2,
         {"Module=\"DI  (PORT1)    \" 0x42,0x07,0x00,0x01", "Module=\"DI  (PORT2)    \" 0x42,0x07,0x00,0x02",
          "Module=\"DO  (PORT3)    \" 0x82,0x07,0x00,0x03", "Module=\"DO  (PORT4)    \" 0x82,0x07,0x00,0x04"}, 16, 16},
        {"status without transmit frames has no status modules", "1", "1", {{}}, 0,
         {"Module=\"DI  (PORT1)    \" 0x42,0x07,0x00,0x01"}, 8, 0},
        {"a frame of 0 bytes packs into nothing", "0", "0", {{{"TransportProtocol", "Y"}, {"NumBytes", "0"}}, {}}, 1,
         {"Module=\"DI  (PORT1)    \" 0x42,0x07,0x00,0x01", "Module=\"DO  (PORT2)    \" 0x82,0x07,0x00,0x02"}, 8, 8},
        {"nine transmit frames give two status bytes", "1", "1", {}, 9,
         {"Module=\"DI  (PORT1)    \" 0x42,0x01,0x00,0x01", "Module=\"DO  (PORT2)    \" 0x82,0x07,0x00,0x02",
          "Module=\"DO  (PORT3)    \" 0x82,0x07,0x00,0x03", "Module=\"DO  (PORT4)    \" 0x82,0x07,0x00,0x04",
          "Module=\"DO  (PORT5)    \" 0x82,0x07,0x00,0x05", "Module=\"DO  (PORT6)    \" 0x82,0x07,0x00,0x06",
          "Module=\"DO  (PORT7)    \" 0x82,0x07,0x00,0x07", "Module=\"DO  (PORT8)    \" 0x82,0x07,0x00,0x08",
          "Module=\"DO  (PORT9)    \" 0x82,0x07,0x00,0x09", "Module=\"DO  (PORT10)    \" 0x82,0x07,0x00,0x0A",
          "Module=\"DO  (PORT11)    \" 0x82,0x01,0x00,0x0B"}, 2, 74},
        {"a mode value other than 0 and 1 packs like 0", "2", "1", {{}}, 1,
         {"Module=\"DI  (PORT1)    \" 0x42,0x08,0x00,0x01", "Module=\"DO  (PORT2)    \" 0x82,0x08,0x00,0x02"}, 9, 9},
    };
    for (const ModuleCase& c : cases) {
        SCOPED_TRACE(c.Name);
        ParGen(c.ProfiModule, c.SendStatus);
        Rows(File_J1939_Receive, c.Rx);
        Frames(File_J1939_Transmit, c.Tx);
        const QStringList l = Saved(QStringLiteral("a.gsd"));
        QStringList modules;
        for (const QString& line : l)
            if (line.startsWith("Module=")) modules << line;
        EXPECT_EQ(modules, c.Modules);
        const int n = static_cast<int>(c.Modules.size());
        EXPECT_TRUE(l.contains(QStringLiteral("Max_Module=%1").arg(n)));
        EXPECT_TRUE(l.contains(QStringLiteral("Slot(%1) = \"Slot %1\" %1 %1").arg(n)) || n == 0);
        EXPECT_FALSE(l.contains(QStringLiteral("Slot(%1) = \"Slot %1\" %1 %1").arg(n + 1)));
        EXPECT_TRUE(l.contains(QStringLiteral("Max_Input_Len=%1").arg(c.InputLen)));
        EXPECT_TRUE(l.contains(QStringLiteral("Max_Output_Len=%1").arg(c.OutputLen)));
        EXPECT_TRUE(l.contains(QStringLiteral("Max_Data_Len=%1").arg(c.InputLen + c.OutputLen)));
    }
}

struct RefusalCase {
    const char* Name;
    const char* ProfiModule;
    std::vector<Attrs> Rx;
    int Tx;
    const char* Error;  // part of the message
};

TEST_F(GsdTest, DescriptionsThatNoDeviceCanUseAreRefusedAndNothingWritten)
{
    // the writer refuses on its own: with the status bits off the main window checks nothing
    const Attrs tp{{"TransportProtocol", "Y"}};
    auto sized = [](const char* n) { return Attrs{{"TransportProtocol", "Y"}, {"NumBytes", n}}; };
    const RefusalCase cases[] = {
        {"a per-frame module above 64 bytes", "1", {{}, sized("300")}, 0, "J1939_Receive.xml, row 2: a frame of 300 bytes"},
        {"a per-frame module of 0 bytes", "1", {sized("0")}, 0, "J1939_Receive.xml, row 1: a frame of 0 bytes"},
        {"a negative frame size", "0", {{}, sized("-100")}, 0, "J1939_Receive.xml, row 2: "},
        {"more receive rows than the image holds", "0", std::vector<Attrs>(31), 0, "J1939_Receive.xml, row 31: "},
        {"more transmit rows than the image holds", "1", {}, 31, "J1939_Transmit.xml, row 31: "},
        {"more than 255 packed modules", "0", std::vector<Attrs>(30, sized("545")), 0, "256 PROFIBUS modules"},
        {"sizes whose sum leaves 32 bits", "0", std::vector<Attrs>(30, sized("2147483647")), 0, "PROFIBUS modules"},
    };
    const QString path = Conf_Dir + QStringLiteral("/a.gsd");
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(c.Name);
        ParGen(c.ProfiModule, "0");
        Rows(File_J1939_Receive, c.Rx);
        Frames(File_J1939_Transmit, c.Tx);
        try {
            Write_GSD_File(path);
            ADD_FAILURE() << "no refusal";
        } catch (const Exception& e) {
            EXPECT_TRUE(e.Message().contains(QLatin1String(c.Error))) << e.what();
        }
        EXPECT_FALSE(QFile::exists(path));
    }
}

TEST_F(GsdTest, FrameFilesAreRefusedExactlyWhereTheImageRefusesThem)
{
    ParGen("0", "0");
    for (const int rows : {30, 31}) {
        SCOPED_TRACE(rows);
        Frames(File_J1939_Receive, rows);
        bool imageRefuses = false, gsdRefuses = false;
        try {
            Build_Image_895();
        } catch (const Exception&) {
            imageRefuses = true;
        }
        try {
            Compute_GSD_Sizes();
        } catch (const Exception&) {
            gsdRefuses = true;
        }
        EXPECT_EQ(imageRefuses, rows > 30);
        EXPECT_EQ(gsdRefuses, imageRefuses);
    }
}

TEST_F(GsdTest, UnwritableTargetRaisesAFileError)
{
    ParGen("0", "0");
    QDir().mkpath(Conf_Dir + QStringLiteral("/taken.gsd"));
    EXPECT_THROW(Write_GSD_File(Conf_Dir + QStringLiteral("/taken.gsd")), EInOutError);
}

TEST(GsdFileName, ExtensionIsAddedOnlyWhenMissing)
{
    const std::pair<const char*, const char*> cases[] = {
        {"/p/Slave.GSD", "/p/Slave.GSD"},
        {"/p/slave", "/p/slave.gsd"},
        {"/p/a.gsd.txt", "/p/a.gsd.txt.gsd"},
        {"/p/x.gsd.gsd", "/p/x.gsd.gsd"},
    };
    for (const auto& [chosen, saved] : cases) EXPECT_EQ(GSD_File_Name(chosen), saved) << chosen;
}

struct LimitCase {
    const char* Name;
    const char* ProfiModule;
    const char* SendStatus;
    std::vector<Attrs> Rx;
    int Tx;
    int Expected;
};

TEST_F(GsdTest, ProfibusLimits)
{
    const Attrs tp65{{"TransportProtocol", " y "}, {"NumBytes", "65"}};
    const Attrs tp64{{"TransportProtocol", "Y"}, {"NumBytes", "64"}};
    const Attrs tp243{{"TransportProtocol", "Y"}, {"NumBytes", "243"}};
    const Attrs tp244{{"TransportProtocol", "Y"}, {"NumBytes", "244"}};
    const LimitCase cases[] = {
        {"module of 65 bytes per frame", "1", "0", {tp65}, 0, 717},
        {"module of 64 bytes per frame", "1", "0", {tp64}, 0, 0},
        {"65 bytes packed", "0", "0", {tp65}, 0, 0},
        {"62 modules", "1", "1", std::vector<Attrs>(30), 30, 718},
        {"61 modules", "1", "1", std::vector<Attrs>(29), 30, 0},
        {"module count untested without status", "1", "0", std::vector<Attrs>(30), 30, 0},
        {"no transmit rows skip the size test", "0", "1", std::vector<Attrs>(31), 0, 0},
        {"241 bytes", "0", "1", std::vector<Attrs>(30), 1, 0},
        {"249 bytes", "0", "1", std::vector<Attrs>(31), 1, 719},
        {"244 bytes", "0", "1", {tp243}, 1, 0},
        {"245 bytes", "0", "1", {tp244}, 1, 719},
        {"size test takes only an exact Y", "0", "1", {{{"TransportProtocol", "y"}, {"NumBytes", "300"}}}, 1, 0},
    };
    for (const LimitCase& c : cases) {
        SCOPED_TRACE(c.Name);
        ParGen(c.ProfiModule, c.SendStatus);
        Rows(File_J1939_Receive, c.Rx);
        Frames(File_J1939_Transmit, c.Tx);
        EXPECT_EQ(Check_Profibus_Limits(), c.Expected);
    }
}

TEST_F(GsdTest, LimitsPassWithoutParameters)
{
    Frames(File_J1939_Receive, 40, {{"TransportProtocol", "Y"}, {"NumBytes", "100"}});
    EXPECT_EQ(Check_Profibus_Limits(), 0);
}

}  // namespace
