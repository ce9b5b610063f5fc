// The job file of Ethernet_Update.exe: document order, texts and operations per model.
#include "platform/core/exception.h"
#include "platform/core/xml.h"
#include "state/shared_state.h"
#include "shell/update_job.h"
#include "support/fixtures.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {
QStringList Names(pugi::xml_node n)
{
    QStringList l;
    for (pugi::xml_node c = n.first_child(); c; c = c.next_sibling()) l << QString::fromUtf8(c.name());
    return l;
}

QString Text(pugi::xml_node n, const char* name) { return QString::fromUtf8(XmlChild(n, name).text().get()); }

// One operation as "file:start:bank:readback:css:gotoapp", the file relative to Exe_Dir.
QString Signature(pugi::xml_node op)
{
    QString file = Text(op, "Ope_FileName");
    file.remove(0, Exe_Dir.size() + 1);
    return QStringList{file, Text(op, "Ope_Start_Address"), Text(op, "Ope_Bank_Type"), Text(op, "Ope_Read_Back"),
                       Text(op, "Ope_Write_CSS"), Text(op, "Ope_GoToApp_After")}
        .join(QLatin1Char(':'));
}

QString Operations(pugi::xml_node ops)
{
    QStringList l;
    for (pugi::xml_node op = ops.first_child(); op; op = op.next_sibling()) l << Signature(op);
    return l.join(QLatin1Char(' '));
}

struct JobFixture : ::testing::Test {
    TempExeDir Dir;
    pugi::xml_document Doc;
    JobFixture() { Conf_Dir = Dir.File(QStringLiteral("PROJECTS/Plant A")); }
    pugi::xml_node Load()
    {
        EXPECT_TRUE(XmlLoadFile(Doc, Dir.File(QStringLiteral("Ethernet_Update.xml"))));
        return XmlRoot(Doc);
    }
};

const QStringList kOperationChildren = {
    "Ope_Protection_Enabled", "Ope_GoToBoot_Before", "Ope_GoToApp_Before", "Ope_IP_Address", "Ope_Port",
    "Ope_Port_Sec", "Ope_Erase_Memory", "Ope_FileName", "Ope_Start_Address", "Ope_Memory_Type", "Ope_Bank_Type",
    "Ope_Read_Back", "Ope_Write_CSS", "Ope_Address_CSS", "Ope_Command_CSS", "Ope_Write_Internal_Data",
    "Ope_WID_Address", "Ope_WID_Command", "Ope_WID_Data", "Ope_GoToApp_After"};
}  // namespace

TEST_F(JobFixture, Model892DocumentHasEveryElementInOrder)
{
    Save_Ethernet_Job(2, QStringLiteral("10.0.0.7"), TUpdateChoice{});
    const QByteArray bytes = Dir.Read(QStringLiteral("Ethernet_Update.xml"));
    EXPECT_TRUE(bytes.startsWith("<Ethernet_Update>")) << "nothing stands before the root";
    EXPECT_FALSE(bytes.contains("=\"")) << "values are element texts only";

    pugi::xml_node root = Load();
    EXPECT_EQ(Names(Doc), QStringList{"Ethernet_Update"});
    EXPECT_EQ(Names(root), (QStringList{"Version", "Title", "IP_Address_Dev", "Application_Port", "Boot_Port",
                                        "Boot_Port_Sec", "Address_Protection", "Protections", "Operations"}));
    EXPECT_EQ(Text(root, "Version"), "1000");
    EXPECT_EQ(Text(root, "Title"), "Korvix - CV58892 Ethernet Update");
    EXPECT_EQ(Text(root, "IP_Address_Dev"), "10.0.0.7");
    EXPECT_EQ(Text(root, "Application_Port"), "10000");
    EXPECT_EQ(Text(root, "Boot_Port"), "2008");
    EXPECT_EQ(Text(root, "Boot_Port_Sec"), "2007");
    EXPECT_EQ(Text(root, "Address_Protection"), "0x78000");
    pugi::xml_node prot = XmlChild(root, "Protections");
    EXPECT_EQ(Names(prot), (QStringList{"Protection", "Protection"}));
    EXPECT_STREQ(prot.first_child().text().get(), "0x9B");
    EXPECT_STREQ(prot.last_child().text().get(), "0x187");

    pugi::xml_node op = XmlChild(XmlChild(root, "Operations"), "Operation");
    EXPECT_EQ(Names(op), kOperationChildren);
    const QStringList fixed = {"", "0", "0", "", "2008", "2007", "0"};
    for (int i = 0; i < fixed.size(); ++i) EXPECT_EQ(Text(op, kOperationChildren[i].toLatin1()), fixed[i]) << i;
    EXPECT_EQ(Text(op, "Ope_FileName"), Dir.File(QStringLiteral("MASTER/sim58892.sim")));
    EXPECT_EQ(Text(op, "Ope_Memory_Type"), "0");
    EXPECT_EQ(Text(op, "Ope_Address_CSS"), "0x78100");
    EXPECT_EQ(Text(op, "Ope_Command_CSS"), "0x0B");
    EXPECT_EQ(Text(op, "Ope_Write_Internal_Data"), "0");
    EXPECT_EQ(Text(op, "Ope_WID_Address"), "0x78200");
    EXPECT_EQ(Text(op, "Ope_WID_Command"), "0x0B");
    EXPECT_EQ(Text(op, "Ope_WID_Data"), "");
    EXPECT_EQ(Text(op.next_sibling(), "Ope_Address_CSS"), "0x50100");
}

TEST_F(JobFixture, Model892OperationsFollowTheFourBoxes)
{
    const QString F1 = "MASTER/sim58892.sim:0x8000:1:1:1:", F0 = "MASTER/sim58892.sim:0x8000:1:0:1:";
    const QString C1 = "PROJECTS/Plant A/bin/bank1.bin:0x68000:2:1:0:0 PROJECTS/Plant A/bin/bank2.bin:0x58000:2:1:0:1";
    const QString C0 = "PROJECTS/Plant A/bin/bank1.bin:0x68000:2:0:0:0 PROJECTS/Plant A/bin/bank2.bin:0x58000:2:0:0:1";
    struct Case {
        TUpdateChoice Choice;
        QString Expected;
    } cases[] = {
        {{true, true, true, true}, F1 + "0 " + C1},
        {{true, true, true, false}, F1 + "0 " + C0},
        {{true, false, true, true}, F0 + "0 " + C1},
        {{true, false, true, false}, F0 + "0 " + C0},
        {{true, true, false, true}, F1 + "1"},
        {{true, true, false, false}, F1 + "1"},
        {{true, false, false, true}, F0 + "1"},
        {{true, false, false, false}, F0 + "1"},
        {{false, true, true, true}, C1},
        {{false, true, true, false}, C0},
        {{false, false, true, true}, C1},
        {{false, false, true, false}, C0},
        {{false, true, false, true}, ""},
        {{false, true, false, false}, ""},
        {{false, false, false, true}, ""},
        {{false, false, false, false}, ""},
    };
    for (const Case& c : cases) {
        Save_Ethernet_Job(2, QStringLiteral("192.168.2.205"), c.Choice);
        pugi::xml_node root = Load();
        EXPECT_EQ(Operations(XmlChild(root, "Operations")), c.Expected)
            << c.Choice.Firmware << c.Choice.Read_Firm << c.Choice.Conf << c.Choice.Read_Conf;
        EXPECT_FALSE(XmlChild(root, "ESP32"));
    }
}

TEST_F(JobFixture, Model872WritesTheCoProcessorToo)
{
    Save_Ethernet_Job(7, QStringLiteral("192.168.2.205"), TUpdateChoice{true, false, true, true});
    pugi::xml_node root = Load();
    EXPECT_EQ(Text(root, "Title"), "Korvix - CV58872 Ethernet Update");
    EXPECT_EQ(Names(root).last(), "ESP32");
    EXPECT_EQ(Names(XmlChild(root, "Protections")), QStringList{"Protection"});
    EXPECT_EQ(Text(XmlChild(root, "Protections"), "Protection"), "0xD8");
    EXPECT_EQ(Operations(XmlChild(root, "Operations")),
              "MASTER/sim58872K.sim:0x8000:1:0:1:0 PROJECTS/Plant A/bin/bank.bin:0x54000:2:1:0:1");
    pugi::xml_node esp = XmlChild(root, "ESP32");
    EXPECT_EQ(Names(esp), (QStringList{"Address_Protection", "Operations"}));
    EXPECT_EQ(Text(esp, "Address_Protection"), "0x7800");
    EXPECT_EQ(Operations(XmlChild(esp, "Operations")),
              "MASTER/Sim58872_ESP32.sim:0x110000:1:0:0:0 PROJECTS/Plant A/bin/bank_ESP32_1.bin:0x09000:2:1:0:0 "
              "PROJECTS/Plant A/bin/bank_ESP32_2.bin:0x310000:2:1:0:1");

    Save_Ethernet_Job(7, QStringLiteral("192.168.2.205"), TUpdateChoice{true, true, false, false});
    root = Load();
    EXPECT_EQ(Operations(XmlChild(root, "Operations")), "MASTER/sim58872K.sim:0x8000:1:1:1:1");
    EXPECT_EQ(Operations(XmlChild(XmlChild(root, "ESP32"), "Operations")), "MASTER/Sim58872_ESP32.sim:0x110000:1:1:0:1");
}

TEST_F(JobFixture, Model860FollowsTheUpdateOption)
{
    const QString F = "MASTER/Sim58860.sim:0x8000:1:", C = "PROJECTS/Plant A/bin/bank.bin:0x60000:2:";
    struct Case {
        int Option;
        bool ReadBack;
        QString Expected;
    } cases[] = {
        {0, true, F + "1:1:0 " + C + "1:0:1"},
        {0, false, F + "0:1:0 " + C + "0:0:1"},
        {1, true, F + "1:1:1"},
        {2, false, C + "0:0:1"},
    };
    for (const Case& c : cases) {
        Save_Ethernet_Job(10, QStringLiteral("192.168.2.205"), Update_Choice_From_Option(c.Option, c.ReadBack));
        pugi::xml_node root = Load();
        EXPECT_EQ(Operations(XmlChild(root, "Operations")), c.Expected) << c.Option << c.ReadBack;
    }
    pugi::xml_node root = Load();
    EXPECT_EQ(Text(root, "Title"), "Korvix - CV58860 Ethernet Update");
    EXPECT_EQ(Text(XmlChild(root, "Protections"), "Protection"), "0x179");
    // no internal-data elements in this model's operations
    QStringList sixteen = kOperationChildren;
    sixteen.erase(sixteen.begin() + 15, sixteen.begin() + 19);
    EXPECT_EQ(Names(XmlChild(XmlChild(root, "Operations"), "Operation")), sixteen);
}

TEST_F(JobFixture, FirmwareNameIsMatchedWithoutRegardToCase)
{
    Dir.Write(QStringLiteral("MASTER/sim58860.sim"), "fw");
    pugi::xml_document doc;
    Build_Ethernet_Job(doc, 10, QStringLiteral("1.2.3.4"), Update_Choice_From_Option(1, false));
    EXPECT_EQ(Text(XmlChild(XmlChild(XmlRoot(doc), "Operations"), "Operation"), "Ope_FileName"),
              Dir.File(QStringLiteral("MASTER/sim58860.sim")));
}

TEST_F(JobFixture, FailedWriteRaisesAndLeavesNoFile)
{
    Exe_Dir = Dir.File(QStringLiteral("missing"));
    EXPECT_THROW(Save_Ethernet_Job(2, QStringLiteral("1.2.3.4"), TUpdateChoice{}), EInOutError);
    EXPECT_FALSE(QDir(Dir.File(QStringLiteral("missing"))).exists());
}
