// Update Device with the real image builder: the road from an open model 892
// configuration to its bank files and the update window.
#include "platform/ui/lb_button.h"
#include "shell/shell_fixture.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <gtest/gtest.h>

namespace {
QByteArray Bank(const ShellTest& t, const char* name) { return t.Dir.Read(QStringLiteral("PROJECTS/A/bin/") + QLatin1String(name)); }

// A press on the button as the user makes it: an error of the click is shown in the
// application's error box.
void Press(TLbButton* b)
{
    b->window()->show();
    QTest::mouseClick(b, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
}
}  // namespace

TEST(UpdateDeviceImages, WritesBothBankFilesThenOpensTheUpdateWindow)
{
    ShellTest t(2);
    t.Stand_In("FBootTCP");
    t.Open_Conf("A");
    Press(t.Main()->Btn_CreateBin);
    EXPECT_TRUE(t.Boxes.Texts().isEmpty()) << t.Boxes.Texts().join('\n').toStdString();
    const QByteArray bank1 = Bank(t, "bank1.bin"), bank2 = Bank(t, "bank2.bin");
    ASSERT_EQ(bank1.size(), 32768);
    ASSERT_EQ(bank2.size(), 34816);
    // 250000 bit/s first, the byte sum of the default block at 2044
    EXPECT_EQ(bank1.left(4), QByteArray("\x90\xD0\x03\x00", 4));
    EXPECT_EQ(bank1.mid(2044, 4), QByteArray("\xB9\x04\x00\x00", 4));
    EXPECT_EQ(t.Shown, QStringList({"FBootTCP"}));
}

TEST(UpdateDeviceImages, AFailedBuildShowsItsTextAndOpensNothing)
{
    ShellTest t(2);
    t.Stand_In("FBootTCP");
    t.Open_Conf("A");
    QFile f(t.Dir.File(QStringLiteral("PROJECTS/A/Modbus_Read_Req.xml")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("<ModbusReadRequest><row IP_Address=\"10.0.0.1\" SlaveID=\"one\"/></ModbusReadRequest>");
    f.close();
    Press(t.Main()->Btn_CreateBin);
    EXPECT_EQ(t.Boxes.Texts(), QStringList({"Modbus_Read_Req.xml, row 1, SlaveID: 'one' is not a valid integer value"}));
    EXPECT_FALSE(t.Dir.Exists(QStringLiteral("PROJECTS/A/bin/bank1.bin")));
    EXPECT_FALSE(t.Dir.Exists(QStringLiteral("PROJECTS/A/bin/bank2.bin")));
    EXPECT_TRUE(t.Shown.isEmpty());
}

TEST(UpdateDeviceImages, AMissingBinFolderShowsThePlatformTextAndOpensNothing)
{
    ShellTest t(2);
    t.Stand_In("FBootTCP");
    t.Open_Conf("A");
    QDir(t.Dir.File(QStringLiteral("PROJECTS/A/bin"))).removeRecursively();
    Press(t.Main()->Btn_CreateBin);
    ASSERT_EQ(t.Boxes.Texts().size(), 1);
    EXPECT_TRUE(t.Boxes.Texts()[0].contains(QStringLiteral("bank1.bin"))) << t.Boxes.Texts()[0].toStdString();
    EXPECT_TRUE(t.Shown.isEmpty());
}
