// Command lines of the serial, CAN, USB and TCP update programs.
#include "state/shared_state.h"
#include "shell/update_fakes.h"
#include "shell/update_frame.h"
#include "shell_fixture.h"

#include <QProcess>
#include <gtest/gtest.h>

namespace {
struct CommandCase {
    const char* Window;
    int Model;
    TUpdateCommand Command;
    const char* Program;
    const char* Parameters;   // M = Master_Dir, C = Conf_Dir
};
}  // namespace

// Each program is started from Exe_Dir with its parameter text; a stand-in records the
// arguments it received.
TEST(UpdateCommands, EveryUpdaterIsStartedWithItsParameterText)
{
    ShellTest shell(2);
    TempExeDir& dir = shell.Dir;
    shell.Open_Conf(QStringLiteral("Line 2"));
    const TUpdateChoice all{true, true, true, true}, none{false, false, false, false};
    const TUpdateChoice readOnly{false, true, false, true}, mixed{true, false, false, true};
    const QString com3 = QStringLiteral("COM3"), address = QStringLiteral("192.168.2.205");
    const CommandCase cases[] = {
        {"CAN", 0, CAN_Update_Command(0, com3, 0, all), "CAN_58891_Update.exe", R"(COM3 0 FW FR PW PR "M/sim58891.sim" "C/bin/bank.bin")"},
        {"CAN", 4, CAN_Update_Command(4, com3, 11, none), "CAN_58896_Update.exe", R"(COM3 11 NO NO NO NO "M/sim58896.sim" "C/bin/bank.bin")"},
        {"CAN", 5, CAN_Update_Command(5, com3, 7, mixed), "CAN_58890_Update.exe", R"(COM3 7 FW NO NO PR "M/sim58890.sim" "C/bin/")"},
        {"CAN", 6, CAN_Update_Command(6, com3, 1, all), "CAN_58897_Update.exe", R"(COM3 1 FW FR PW PR "M/sim58897.sim" "C/bin/bank.bin")"},
        {"CAN", 8, CAN_Update_Command(8, com3, 9, readOnly), "CAN_58895_Update.exe", R"(COM3 9 NO FR NO PR "M/sim58895.sim" "C/bin/bank.bin")"},
        {"CAN", 1006, CAN_Update_Command(1006, com3, 0, all), "CAN_QTB900_Update.exe", R"(COM3 0 FW FR PW PR "M/simQTB900.sim" "C/bin/bank.bin")"},
        {"Ser", 7, Ser_Update_Command(7, com3, all), "Ser_58872_Update.exe", R"(\\.\COM3 FW FR PW PR PG LP "M/sim58872.sim" "C/bin/")"},
        {"Ser", 9, Ser_Update_Command(9, com3, mixed), "Ser_58871_Update.exe", R"(\\.\COM3 FW NO NO PR "M/sim58871.sim" "C/bin/")"},
        {"USB", 0, USB_Update_Command(0, com3, 0, true), "USB_58891_Update.exe", R"(\\.\COM3 FW FR PW PR "M/sim58891.sim" "C/bin/bank.bin")"},
        {"USB", 4, USB_Update_Command(4, com3, 1, false), "USB_58896_Update.exe", R"(\\.\COM3 FW NO NO NO "M/sim58896.sim" "C/bin/bank.bin")"},
        {"USB", 5, USB_Update_Command(5, com3, 2, true), "USB_58890_Update.exe", R"(\\.\COM3 NO NO PW PR "M/sim58890.sim" "C/bin/")"},
        {"USB", 6, USB_Update_Command(6, QString(), 1, true), "USB_58897_Update.exe", R"(\\.\ FW FR NO NO "M/sim58897.sim" "C/bin/bank.bin")"},
        {"TCP", 1, TCP_Update_Command(1, address, all), "TCP_58893_Update.exe", R"(192.168.2.205 2007 FW FR PW PR "M/sim58893.sim" "C/bin/bank.bin")"},
        {"TCP", 3, TCP_Update_Command(3, address, readOnly), "TCP_58894_Update.exe", R"(192.168.2.205 2007 NO FR NO PR "M/sim58894.sim" "C/bin/bank.bin")"},
        {"TCP", 9, TCP_Update_Command(9, address, mixed), "TCP_58871K_Update.exe", R"(192.168.2.205 2007 FW NO NO PR "M/Sim58894.sim" "C/bin/bank_k.bin")"},
    };
    for (const CommandCase& c : cases) {
        SCOPED_TRACE(std::string(c.Window) + " " + std::to_string(c.Model));
        EXPECT_EQ(c.Command.Program, dir.File(QString::fromLatin1(c.Program)));
        QString text;
        ASSERT_TRUE(Parameter_Text(c.Command, text));
        QString expected = QString::fromLatin1(c.Parameters);
        expected.replace(QLatin1String("\"M/"), QLatin1Char('"') + Master_Dir + QLatin1Char('/'));
        expected.replace(QLatin1String("\"C/"), QLatin1Char('"') + Conf_Dir + QLatin1Char('/'));
        EXPECT_EQ(text, expected);

        Put_Recorder(c.Command.Program);
        Start_Updater(c.Command);
        QStringList args;
        ASSERT_TRUE(Recorded_Args(c.Command.Program, args));
        // blanks separate, double quotes group
        EXPECT_EQ(args, QProcess::splitCommand(expected));
    }
    EXPECT_TRUE(shell.Boxes.Calls.empty());
}

TEST(UpdateCommands, ModelsWithoutSuchProgramGetNone)
{
    for (int m : {1, 2, 3, 7, 9, 10}) EXPECT_FALSE(CAN_Update_Command(m, "COM1", 0, {}).IsValid()) << m;
    for (int m : {0, 1, 2, 10}) EXPECT_FALSE(Ser_Update_Command(m, "COM1", {}).IsValid()) << m;
    for (int m : {1, 2, 7, 8, 10, 1006}) EXPECT_FALSE(USB_Update_Command(m, "COM1", 0, true).IsValid()) << m;
    for (int m : {0, 2, 7, 10}) EXPECT_FALSE(TCP_Update_Command(m, "1.2.3.4", {}).IsValid()) << m;
}

TEST(UpdateCommands, ArgumentThatQuotingCannotCarryIsRefused)
{
    ShellTest shell(0);
    Conf_Dir = shell.Dir.File(QStringLiteral("PROJECTS/a\"b"));
    const TUpdateCommand cmd = CAN_Update_Command(0, "COM1", 0, {});
    QString text = QStringLiteral("unchanged");
    EXPECT_FALSE(Parameter_Text(cmd, text));
    EXPECT_EQ(text, "unchanged");
    Put_Recorder(cmd.Program);
    Start_Updater(cmd);
    QStringList args;
    EXPECT_FALSE(Recorded_Args(cmd.Program, args));
    ASSERT_EQ(shell.Boxes.Calls.size(), 1u);
    EXPECT_EQ(shell.Boxes.Calls[0].Type, TMsgDlgType::mtError);
}
