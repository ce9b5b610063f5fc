#include "shell/TFFabricateFirmWare.h"
#include "state/lang.h"
#include "state/model_table.h"
#include "state/shared_state.h"
#include "support/fixtures.h"

#include "platform/ui/lb_button.h"

#include <QDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(StartUp, FirstStartInAnEmptyFolderThenCloseWritesDefaults)
{
    TempExeDir dir;
    QDir(dir.Path()).removeRecursively();
    QDir().mkpath(dir.Path());
    ScopedModelCode model(2);
    MessageBoxRecorder boxes;
    {
        TFFabricateFirmWare w;
        w.Create(dir.Path());
        for (const char* f : {"MASTER", "PROJECTS", "LANGUAGE"}) EXPECT_TRUE(dir.Exists(QString::fromLatin1(f))) << f;
        EXPECT_EQ(Last_IP, QStringLiteral("192.168.2.205"));
        EXPECT_EQ(Lang_Name, QStringLiteral("English"));
        EXPECT_FALSE(Enable_Internet);
        EXPECT_FALSE(Enable_Update);
        EXPECT_TRUE(Conf_Dir.isEmpty());
        EXPECT_EQ(Lang_Texts.size(), 827);
        EXPECT_EQ(w.Caption(), QStringLiteral("Korvix - Configurator CV58892 - J1939 / Modbus TCP Master "));
        EXPECT_EQ(SW_Code, QStringLiteral("CV58892"));
        EXPECT_EQ(File_ParGen, QString());
        w.close();
    }
    const QByteArray text = dir.Read(QStringLiteral("Fabricat.xml"));
    EXPECT_TRUE(text.contains("<projectname></projectname>") || text.contains("<projectname />") || text.contains("<projectname/>"))
        << text.constData();
    EXPECT_TRUE(text.contains("<ipaddress>192.168.2.205</ipaddress>"));
    EXPECT_TRUE(text.contains("<language>English</language>"));
    EXPECT_TRUE(text.contains("<enable_internet>0</enable_internet>"));
    EXPECT_TRUE(text.contains("<enable_update>0</enable_update>"));
    EXPECT_TRUE(boxes.Calls.empty());
}

TEST(StartUp, RememberedConfigurationWhoseFolderIsGoneStaysNamed)
{
    TempExeDir dir;
    dir.Write(QStringLiteral("Fabricat.xml"),
              "<Conf_Settings><lastproj><projectname>Gone</projectname></lastproj></Conf_Settings>");
    dir.Write(QStringLiteral("PROJECTS/Here/ParGen.xml"), "<Par_Gen/>");
    {
        TFFabricateFirmWare w;
        w.Create(dir.Path());
        EXPECT_TRUE(Conf_Dir.isEmpty());
        EXPECT_EQ(Conf_Name, QStringLiteral("Gone"));
        w.Save_Setting();
    }
    EXPECT_TRUE(dir.Read(QStringLiteral("Fabricat.xml")).contains("<projectname>Gone</projectname>"));

    dir.Write(QStringLiteral("Fabricat.xml"),
              "<Conf_Settings><lastproj><projectname>Here</projectname></lastproj></Conf_Settings>");
    TFFabricateFirmWare w;
    w.Create(dir.Path());
    EXPECT_EQ(Conf_Dir, dir.File(QStringLiteral("PROJECTS/Here")));
    EXPECT_EQ(File_ParGen, dir.File(QStringLiteral("PROJECTS/Here/ParGen.xml")));
}

QByteArray Remembering(const QByteArray& name)
{
    return "<Conf_Settings><lastproj><projectname>" + name + "</projectname></lastproj></Conf_Settings>";
}

// Fabricat.xml may be edited by hand: a remembered name opens a configuration only when the
// New dialog would accept it and a folder of that name is in PROJECTS.
TEST(StartUp, RememberedNameOutsideProjectsOpensNothing)
{
    ScopedModelCode model(2);
    struct Case { const char* Name; bool Opens; };
    const Case cases[] = {{"..", false}, {".", false}, {"../PROJECTS/Here", false}, {"Here/bin", false}, {"Here", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TempExeDir dir;
        dir.Write(QStringLiteral("Fabricat.xml"), Remembering(c.Name));
        dir.Write(QStringLiteral("PROJECTS/Here/bin/.keep"), QByteArray());
        MessageBoxRecorder boxes;
        TFFabricateFirmWare w;
        w.Create(dir.Path());
        EXPECT_EQ(Is_Conf_Open(), c.Opens);
        if (c.Opens) {
            EXPECT_EQ(Conf_Dir, dir.File(QStringLiteral("PROJECTS/Here")));
            continue;
        }
        // Set Communication is refused as with no configuration
        w.show();
        QTest::mouseClick(w.Btn_Prm_Gen, Qt::LeftButton);
        EXPECT_EQ(boxes.Texts(), QStringList({QStringLiteral("Project not valid")}));
        EXPECT_EQ(Conf_Name, QString::fromLatin1(c.Name));   // still remembered, as a name whose folder is gone
    }
}

// The remembered configuration's ParGen.xml is read when the main window shows; a damaged
// one is reported with the file's name, and the DM1 steps stay off.
TEST(StartUp, UnreadableParametersOfTheRememberedConfigurationAreNamed)
{
    ScopedModelCode model(2);
    TempExeDir dir;
    dir.Write(QStringLiteral("Fabricat.xml"), Remembering("A"));
    dir.Write(QStringLiteral("PROJECTS/A/ParGen.xml"), "<Par_Gen><J1939_Send_DM1>1</J1939_Send_DM1></Par>");
    MessageBoxRecorder boxes;
    TFFabricateFirmWare w;
    w.Create(dir.Path());
    w.show();
    ASSERT_EQ(boxes.Calls.size(), 1u);
    EXPECT_EQ(boxes.Calls[0].Type, TMsgDlgType::mtError);
    const QString text = boxes.Calls[0].Text;
    EXPECT_TRUE(text.contains(dir.File(QStringLiteral("PROJECTS/A/ParGen.xml")))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("mismatch"))) << text.toStdString();
    EXPECT_FALSE(w.Btn_Modbus_Read_DM1->Enabled());
    EXPECT_FALSE(w.Btn_Define_Alarms_DM1->Enabled());
    QTest::mouseClick(w.Btn_Define_Alarms_DM1, Qt::LeftButton);
    EXPECT_EQ(boxes.Calls.size(), 1u);
}

TEST(StartUp, SettingsThatCannotBeWrittenShowTheError)
{
    TempExeDir dir;
    TFFabricateFirmWare w;
    w.Create(dir.Path());
    QDir().mkdir(dir.File(QStringLiteral("Fabricat.xml")));
    MessageBoxRecorder boxes;
    w.Save_Setting();
    ASSERT_EQ(boxes.Calls.size(), 1u);
    EXPECT_EQ(boxes.Calls[0].Type, TMsgDlgType::mtError);
    EXPECT_TRUE(boxes.Calls[0].Text.contains(QStringLiteral("Fabricat.xml")));
}

}  // namespace
