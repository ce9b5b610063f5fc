// Every file the program saves fails whole on a full disk: the save reports the platform's
// text and the file keeps its old content.
#include "shell_fixture.h"

#include "generate/bank_files.h"
#include "generate/eds_writer.h"
#include "generate/gsd_writer.h"
#include "platform/core/exception.h"
#include "shell/update_job.h"
#include "state/par_gen.h"
#include "state/settings.h"
#include "state/shared_state.h"
#include "support/full_disk.h"

#include <QDir>
#include <QFileInfo>
#include <functional>
#include <gtest/gtest.h>

namespace {

TEST(FullDisk, EverySaveFailsAndKeepsTheOldFile)
{
    static const uint8_t bank[2048] = {1};
    struct Case {
        const char* Name;
        int Model;
        const char* File;   // below Exe_Dir
        std::function<void(const QString& path)> Save;
    };
    const Case cases[] = {
        {"settings", 2, "Fabricat.xml", [](const QString&) { Write_Settings(); }},
        {"parameters", 2, "PROJECTS/A/ParGen.xml", [](const QString& p) { Write_ParGen(p, 2, ParGen_Defaults(2)); }},
        {"bank file", 2, "PROJECTS/A/bin/bank.bin", [](const QString&) { Save_Bank_Files({{"bank.bin", bank, 2048}}); }},
        {"EDS", 4, "PROJECTS/A/gateway.eds", [](const QString& p) { Write_EDS_File(p); }},
        {"GSD", 8, "PROJECTS/A/slave.gsd", [](const QString& p) { Write_GSD_File(p); }},
        {"update job", 2, "Ethernet_Update.xml", [](const QString&) { Save_Ethernet_Job(2, "192.168.2.205", {}); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        ShellTest t(c.Model);
        t.Open_Conf("A", "<Par_Gen><Profi_Module>0</Profi_Module></Par_Gen>");
        const QString path = t.Dir.File(c.File);
        const QByteArray old = "old content";
        t.Dir.Write(c.File, old);
        {
            ScopedWriteHook fullDisk;
            try {
                c.Save(path);
                ADD_FAILURE() << "the save reported success";
            } catch (const EInOutError& e) {
                EXPECT_TRUE(e.Message().contains("No space left on device")) << e.Message().toStdString();
            }
        }
        EXPECT_EQ(t.Dir.Read(c.File), old);
        EXPECT_EQ(QDir(QFileInfo(path).path()).entryList({"*.tmp-*"}, QDir::Files | QDir::Hidden), QStringList());
        // and with room on the disk the same save goes through
        c.Save(path);
        EXPECT_NE(t.Dir.Read(c.File), old);
    }
}

}  // namespace
