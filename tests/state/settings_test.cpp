#include "platform/core/exception.h"
#include "state/settings.h"
#include "state/shared_state.h"
#include "support/fixtures.h"
#include "support/full_disk.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

struct SettingsCase {
    const char* name;
    const char* file;  // nullptr: no file
    const char* confName;
    const char* lastIp;
    const char* lang;
    bool internet;
    bool update;
};

const char* const kFull =
    "<Conf_Settings><lastproj><projectname>Plant A</projectname></lastproj>"
    "<lastipadd><ipaddress>10.0.0.7</ipaddress></lastipadd><lastlang><language>Italiano</language></lastlang>"
    "<lastinternet><enable_internet>1</enable_internet><enable_update>1</enable_update></lastinternet></Conf_Settings>";

TEST(Settings, ReadingTakesEachGroupOnItsOwn)
{
    const SettingsCase cases[] = {
        {"missing file", nullptr, "", "192.168.2.205", "English", false, false},
        {"empty file", "", "", "192.168.2.205", "English", false, false},
        {"not xml", "this is not <xml", "", "192.168.2.205", "English", false, false},
        {"binary", "\x01\x02\x03", "", "192.168.2.205", "English", false, false},
        {"full", kFull, "Plant A", "10.0.0.7", "Italiano", true, true},
        {"other root name",
         "<Whatever><lastproj><projectname>P</projectname></lastproj><lastlang><language>X</language></lastlang></Whatever>", "P",
         "192.168.2.205", "X", false, false},
        {"comment first", "<!-- c --><Conf_Settings><lastproj><projectname>P</projectname></lastproj></Conf_Settings>", "",
         "192.168.2.205", "English", false, false},
        {"internet without update",
         "<C><lastinternet><enable_internet>1</enable_internet></lastinternet></C>", "", "192.168.2.205", "English", true, false},
        {"flag words and blanks",
         "<C><lastinternet><enable_internet>true</enable_internet><enable_update> 1</enable_update></lastinternet></C>", "",
         "192.168.2.205", "English", false, false},
        {"empty language", "<C><lastlang><language></language></lastlang></C>", "", "192.168.2.205", "", false, false},
        {"wrong structure in one group",
         "<C><lastproj><projectname><x/></projectname></lastproj><lastipadd><ipaddress>1.2.3.4</ipaddress></lastipadd></C>", "",
         "1.2.3.4", "English", false, false},
        {"not direct children", "<C><wrap><lastipadd><ipaddress>1.2.3.4</ipaddress></lastipadd></wrap></C>", "",
         "192.168.2.205", "English", false, false},
    };
    for (const SettingsCase& c : cases) {
        TempExeDir dir;
        if (c.file) dir.Write(QStringLiteral("Fabricat.xml"), QByteArray(c.file));
        Conf_Name = QStringLiteral("stale");
        Read_Settings();
        EXPECT_EQ(Conf_Name, QString::fromUtf8(c.confName)) << c.name;
        EXPECT_EQ(Last_IP, QString::fromUtf8(c.lastIp)) << c.name;
        EXPECT_EQ(Lang_Name, QString::fromUtf8(c.lang)) << c.name;
        EXPECT_EQ(Enable_Internet, c.internet) << c.name;
        EXPECT_EQ(Enable_Update, c.update) << c.name;
    }
}

TEST(Settings, WriteThenReadRoundTrip)
{
    TempExeDir dir;
    Conf_Name = QStringLiteral("Line <2> & \"B\"");
    Last_IP = QStringLiteral("172.16.0.9");
    Lang_Name = QStringLiteral("Deutsch");
    Enable_Internet = true;
    Enable_Update = false;
    Write_Settings();
    const QByteArray text = dir.Read(QStringLiteral("Fabricat.xml"));
    EXPECT_TRUE(text.startsWith("<Conf_Settings>")) << text.constData();
    const int order[] = {int(text.indexOf("<lastproj>")), int(text.indexOf("<lastipadd>")), int(text.indexOf("<lastlang>")),
                         int(text.indexOf("<lastinternet>")), int(text.indexOf("<enable_internet>1<")),
                         int(text.indexOf("<enable_update>0<"))};
    for (int i = 1; i < 6; ++i) EXPECT_LT(order[i - 1], order[i]) << i;

    Conf_Name = Last_IP = Lang_Name = QString();
    Enable_Internet = Enable_Update = true;
    Read_Settings();
    EXPECT_EQ(Conf_Name, QStringLiteral("Line <2> & \"B\""));
    EXPECT_EQ(Last_IP, QStringLiteral("172.16.0.9"));
    EXPECT_EQ(Lang_Name, QStringLiteral("Deutsch"));
    EXPECT_TRUE(Enable_Internet);
    EXPECT_FALSE(Enable_Update);
}

TEST(Settings, FailedWriteRaisesAndKeepsTheOldFile)
{
    TempExeDir dir;
    // the settings path taken by a folder makes the write fail even as root
    QDir().mkdir(dir.File(QStringLiteral("Fabricat.xml")));
    Last_IP = QStringLiteral("1.1.1.1");
    EXPECT_THROW(Write_Settings(), EInOutError);
}

TEST(Settings, FullDiskFailsTheWriteAndKeepsTheOldFile)
{
    TempExeDir dir;
    dir.Write(QStringLiteral("Fabricat.xml"), kFull);
    Last_IP = QStringLiteral("1.1.1.1");
    ScopedWriteHook fullDisk;
    try {
        Write_Settings();
        ADD_FAILURE() << "the write reported success";
    } catch (const EInOutError& e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("No space left on device"))) << e.Message().toStdString();
    }
    EXPECT_EQ(dir.Read(QStringLiteral("Fabricat.xml")), QByteArray(kFull));
    EXPECT_EQ(QDir(dir.Path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("Fabricat.xml")});
}

}  // namespace
