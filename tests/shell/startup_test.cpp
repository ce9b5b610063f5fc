#include "shell/TFFabricateFirmWare.h"
#include "state/lang.h"
#include "state/model_table.h"
#include "state/shared_state.h"
#include "support/fixtures.h"

#include <QDir>
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
        EXPECT_EQ(File_ParGen, QStringLiteral("/ParGen.xml"));
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
