// The main window's EDS File step writes the electronic data sheet of the open
// configuration under the name chosen in its save dialog.
#include "shell_fixture.h"

#include "platform/core/exception.h"
#include "platform/ui/lb_button.h"
#include "state/shared_state.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

QByteArray Read(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(CreateEds, WritesTheChosenFile)
{
    ShellTest t(4);
    FileDialogRecorder dialogs;
    t.Open_Conf("A");
    t.Dir.Write("PROJECTS/A/CANopen_RPDO.xml", "<Define_RPDO><row COB-ID=\"0x201\" Dimension=\"2\"/></Define_RPDO>");
    const QString target = t.Dir.File("PROJECTS/A/gateway.eds");
    dialogs.Answers = {target};
    t.Main()->Btn_Click(t.Main()->Btn_CANopen_EDSFile);
    ASSERT_EQ(dialogs.Calls.size(), 1u);
    EXPECT_TRUE(dialogs.Calls[0].Save);
    EXPECT_EQ(dialogs.Calls[0].InitialDir, Conf_Dir);
    EXPECT_EQ(dialogs.Calls[0].Filter, QStringLiteral("Electronic Data Sheet (*.eds)|*.eds"));
    const QByteArray text = Read(target);
    EXPECT_TRUE(text.startsWith("[FileInfo]\r\nFileName=s1.eds\r\n"));
    EXPECT_TRUE(text.contains("\r\nNrOfRXPDO=1\r\n"));
    EXPECT_TRUE(t.Boxes.Calls.empty());
}

TEST(CreateEds, CancelledDialogOrRefusedTablesWriteNothing)
{
    ShellTest t(4);
    FileDialogRecorder dialogs;
    t.Open_Conf("A");
    const QString target = t.Dir.File("PROJECTS/A/gateway.eds");
    dialogs.Answers = {QString()};
    t.Main()->Btn_Click(t.Main()->Btn_CANopen_EDSFile);
    EXPECT_FALSE(QFile::exists(target));

    const QByteArray row = "<row NrPdo=\"1\" Index=\"0x2000\" SubIndex=\"1\" Dimension=\"0\"/>";
    t.Dir.Write("PROJECTS/A/CANopen_Define_Server_SDO_Read.xml", "<R>" + row + "</R>");
    t.Dir.Write("PROJECTS/A/CANopen_Define_Server_SDO_Write.xml", "<W>" + row + "</W>");
    dialogs.Answers = {target};
    // the application's error box shows the text
    EXPECT_THROW(t.Main()->Btn_Click(t.Main()->Btn_CANopen_EDSFile), Exception);
    EXPECT_FALSE(QFile::exists(target));
}

}  // namespace
