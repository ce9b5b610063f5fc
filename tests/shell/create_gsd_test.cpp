#include "platform/ui/lb_button.h"
#include "shell/create_gsd.h"
#include "shell/shell_fixture.h"
#include "state/lang.h"
#include "state/shared_state.h"
#include "support/fixtures.h"

#include <QDir>
#include <QFile>
#include <QTest>
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

namespace {

TEST(MainWindowGsd, GsdButtonWritesTheFileChosen)
{
    ShellTest t(8);
    t.Open_Conf("A", "<Par_Gen><Profi_Module>1</Profi_Module></Par_Gen>");
    FileDialogRecorder dialogs;
    dialogs.Answers = {Conf_Dir + "/slave"};
    t.Main()->Btn_Click(t.Main()->Btn_GSD_File);
    EXPECT_TRUE(t.Boxes.Calls.empty());
    QFile f(Conf_Dir + "/slave.gsd");
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().contains("\r\nMax_Module=0\r\n"));
}

TEST(MainWindowGsd, GsdButtonRefusesTablesTheImageRefuses)
{
    // neither PROFIBUS option is set, so the limits check passes; the writer itself refuses
    ShellTest t(8);
    t.Open_Conf("A", "<Par_Gen><Profi_Module>0</Profi_Module></Par_Gen>");
    QFile rx(File_J1939_Receive);
    ASSERT_TRUE(rx.open(QIODevice::WriteOnly));
    rx.write("<r>" + QByteArray("<row/>").repeated(31) + "</r>");
    rx.close();
    FileDialogRecorder dialogs;
    dialogs.Answers = {Conf_Dir + "/slave"};
    t.Main()->show();
    QTest::mouseClick(t.Main()->Btn_GSD_File, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    ASSERT_EQ(t.Boxes.Calls.size(), 1u);
    EXPECT_EQ(t.Boxes.Calls[0].Type, TMsgDlgType::mtError);
    EXPECT_TRUE(t.Boxes.Calls[0].Text.startsWith("J1939_Receive.xml, row 31: ")) << t.Boxes.Calls[0].Text.toStdString();
    EXPECT_FALSE(QFile::exists(Conf_Dir + "/slave.gsd"));
}

TEST(MainWindowGsd, UpdateDeviceOfModel895ChecksTheLimitsFirst)
{
    ShellTest t(8);
    t.Stand_In("FBootCAN");
    t.Open_Conf("A", "<Par_Gen><Profi_Send_J1939>1</Profi_Send_J1939></Par_Gen>");
    QFile rx(File_J1939_Receive), tx(File_J1939_Transmit);
    ASSERT_TRUE(rx.open(QIODevice::WriteOnly) && tx.open(QIODevice::WriteOnly));
    rx.write("<r>" + QByteArray("<row/>").repeated(31) + "</r>");
    tx.write("<r><row/></r>");
    rx.close();
    tx.close();
    int builds = 0;
    t.Main()->Build_Images = [&] { ++builds; };
    t.Main()->Btn_Click(t.Main()->Btn_CreateBin);
    EXPECT_EQ(t.Boxes.Texts(), QStringList{LT(719)});
    EXPECT_EQ(builds, 0);
    EXPECT_TRUE(t.Shown.isEmpty());
}

}  // namespace
