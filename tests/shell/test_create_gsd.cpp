#include "shell/create_gsd.h"
#include "shell/state/lang.h"
#include "shell/state/shared_state.h"
#include "support/fixtures.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

class CreateGsdTest : public ::testing::Test {
protected:
    TempExeDir Exe;
    ScopedModelCode Code{8};
    MessageBoxRecorder Boxes;
    FileDialogRecorder Dialogs;

    void SetUp() override
    {
        Conf_Dir = Exe.File(QStringLiteral("PROJECTS/conf"));
        QDir().mkpath(Conf_Dir);
        Set_Files();
    }
    static void Write(const QString& path, const QByteArray& text)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    static QByteArray Read(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QString InConf(const char* name) const { return Conf_Dir + QLatin1Char('/') + QLatin1String(name); }
};

TEST_F(CreateGsdTest, WithoutParametersRefusesBeforeTheDialog)
{
    Check_Create_GSD();
    EXPECT_EQ(Boxes.Texts(), QStringList{LT(714)});
    EXPECT_EQ(Boxes.Calls[0].Type, TMsgDlgType::mtError);
    EXPECT_TRUE(Dialogs.Calls.empty());
}

TEST_F(CreateGsdTest, SavesUnderTheChosenNameWithItsExtension)
{
    Write(File_ParGen, "<Par_Gen><Profi_Module>0</Profi_Module></Par_Gen>");
    Dialogs.Answers = {InConf("slave")};
    Check_Create_GSD();
    ASSERT_EQ(Dialogs.Calls.size(), 1u);
    EXPECT_TRUE(Dialogs.Calls[0].Save);
    EXPECT_EQ(Dialogs.Calls[0].InitialDir, Conf_Dir);
    EXPECT_EQ(Dialogs.Calls[0].Filter, "Generic Station Description (*.gsd)|*.gsd");
    EXPECT_TRUE(Boxes.Calls.empty());
    EXPECT_TRUE(Read(InConf("slave.gsd")).contains("\r\n#Profibus_DP\r\n"));
    EXPECT_FALSE(QFile::exists(InConf("slave")));
}

TEST_F(CreateGsdTest, CancelWritesNothing)
{
    Write(File_ParGen, "<Par_Gen/>");
    Check_Create_GSD();
    EXPECT_EQ(Dialogs.Calls.size(), 1u);
    EXPECT_EQ(QDir(Conf_Dir).entryList(QDir::Files), QStringList{"ParGen.xml"});
}

TEST_F(CreateGsdTest, AnExistingFileIsReplacedOnlyAfterYes)
{
    Write(File_ParGen, "<Par_Gen/>");
    Write(InConf("Slave.GSD"), "old");
    for (const int answer : {int(mrNo), int(mrYes)}) {
        Boxes.Clear();
        Boxes.Answers = {answer};
        Dialogs.Answers = {InConf("Slave.GSD")};
        Check_Create_GSD();
        ASSERT_EQ(Boxes.Calls.size(), 1u);
        EXPECT_EQ(Boxes.Calls[0].Text, LT(713));
        EXPECT_EQ(Boxes.Calls[0].Type, TMsgDlgType::mtConfirmation);
        EXPECT_EQ(Boxes.Calls[0].Buttons, unsigned(mbYes | mbNo));
        EXPECT_EQ(Read(InConf("Slave.GSD")) == "old", answer == mrNo);
    }
}

TEST_F(CreateGsdTest, BrokenLimitStopsBeforeTheDialog)
{
    Write(File_ParGen, "<Par_Gen><Profi_Module>1</Profi_Module></Par_Gen>");
    Write(File_J1939_Receive, "<ReceiveNMEA2000><row TransportProtocol=\"Y\" NumBytes=\"65\"/></ReceiveNMEA2000>");
    Check_Create_GSD();
    EXPECT_EQ(Boxes.Texts(), QStringList{LT(717)});
    EXPECT_TRUE(Dialogs.Calls.empty());
    EXPECT_FALSE(Check_Modules_Creation());
}

}  // namespace
