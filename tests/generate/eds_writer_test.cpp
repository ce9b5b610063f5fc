// The CANopen EDS file: fixed template, PDO objects, server SDO objects, and the refusals
// that keep the file importable.
#include "generate/eds_writer.h"

#include "platform/core/exception.h"
#include "state/shared_state.h"
#include "generate/gen_fixture.h"
#include "platform/core/paths.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

class EdsWriter : public ::testing::Test {
protected:
    TGenConf Conf{4};

    static void Table(const QString& path, const char* root, const std::vector<TRowAttrs>& rows) { Write_Table_File(path, root, rows); }

    static QString Out(const QString& name) { return PathJoin(Exe_Dir, name); }
    static QByteArray Read(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    static QString Target() { return Out(QStringLiteral("device.eds")); }

    // Writes the file and returns its lines (split at CR LF).
    QStringList Write()
    {
        Write_EDS_File(Target());
        const QString text = QString::fromLatin1(Read(Target()));
        EXPECT_FALSE(text.contains(QRegularExpression(QStringLiteral("[^\\r]\\n|\\r[^\\n]"))));
        return text.split(QStringLiteral("\r\n"));
    }

    // The key lines of one section.
    static QStringList Section(const QStringList& lines, const QString& name)
    {
        const qsizetype at = lines.indexOf(QLatin1Char('[') + name + QLatin1Char(']'));
        if (at < 0) return {QStringLiteral("<missing>")};
        QStringList keys;
        for (qsizetype i = at + 1; i < lines.size() && !lines[i].isEmpty(); ++i) keys << lines[i];
        return keys;
    }

    static QStringList Headers(const QStringList& lines)
    {
        QStringList h;
        for (const QString& l : lines)
            if (l.startsWith(QLatin1Char('['))) h << l.mid(1, l.size() - 2);
        return h;
    }
};

QStringList Lines(std::initializer_list<const char*> l)
{
    QStringList r;
    for (const char* s : l) r << QString::fromLatin1(s);
    return r;
}

TEST_F(EdsWriter, WithoutTablesWritesTheTemplateExactly)
{
    const QString expected = QStringLiteral(
        "[FileInfo]\r\nFileName=s1.eds\r\nFileVersion=1\r\nFileRevision=0\r\nEDSVersion=4.0\r\n"
        "Description=Example for CANopen Library.\r\nCreationTime=12:09PM\r\nCreationDate=08-15-2005\r\n"
        "CreatedBy=support@example.com\r\nModificationTime=12:01PM\r\nModificationDate=12-09-2013\r\n"
        "ModifiedBy=support@example.com\r\n\r\n"
        "[DeviceInfo]\r\nVendorName=port GmbH Halle\r\nVendorNumber=0x34\r\nProductName=CANopen Library Example \"s1\"\r\n"
        "ProductNumber=0x80015\r\nRevisionNumber=0x0\r\nOrderCode=0564/1\r\nBaudRate_10=1\r\nBaudRate_20=1\r\n"
        "BaudRate_50=1\r\nBaudRate_125=1\r\nBaudRate_250=1\r\nBaudRate_500=1\r\nBaudRate_800=0\r\nBaudRate_1000=1\r\n"
        "DynamicChannelsSupported=0\r\nGroupMessaging=0\r\nLSS_Supported=0\r\nGranularity=0\r\nSimpleBootUpSlave=1\r\n"
        "SimpleBootUpMaster=0\r\nNrOfRXPDO=0\r\nNrOfTXPDO=0\r\n\r\n"
        "[Comments]\r\nLines=0\r\n\r\n"
        "[DummyUsage]\r\nDummy0001=0\r\nDummy0002=0\r\nDummy0003=0\r\nDummy0004=0\r\nDummy0005=0\r\nDummy0006=0\r\n"
        "Dummy0007=0\r\n\r\n"
        "[MandatoryObjects]\r\nSupportedObjects=3\r\n1=0x1000\r\n2=0x1001\r\n3=0x1018\r\n\r\n"
        "[OptionalObjects]\r\nSupportedObjects=5\r\n1=0x1005\r\n2=0x1006\r\n3=0x1008\r\n4=0x1017\r\n5=0x1280\r\n\r\n"
        "[ManufacturerObjects]\r\nSupportedObjects=0\r\n\r\n"
        "[1000]\r\nParameterName=Device Type\r\nObjectType=0x07\r\nDataType=0x0007\r\nAccessType=const\r\n"
        "DefaultValue=0x0000000\r\nPDOMapping=0\r\n\r\n"
        "[1001]\r\nParameterName=Error Register\r\nObjectType=0x07\r\nDataType=0x0005\r\nAccessType=ro\r\n"
        "DefaultValue=0x00\r\nPDOMapping=0\r\n\r\n"
        "[1005]\r\nParameterName=COB-ID SYNC\r\nObjectType=0x07\r\nDataType=0x0007\r\nAccessType=rw\r\n"
        "DefaultValue=0x80000080\r\nPDOMapping=0\r\n\r\n"
        "[1006]\r\nParameterName=Communication Cycle Period\r\nObjectType=0x07\r\nDataType=0x0007\r\nAccessType=rw\r\n"
        "DefaultValue=0x00000000\r\nPDOMapping=0\r\n\r\n"
        "[1008]\r\nParameterName=Manufacturer Device Name\r\nObjectType=0x07\r\nDataType=0x0009\r\nAccessType=const\r\n"
        "DefaultValue=s1\r\nPDOMapping=0\r\n\r\n"
        "[1017]\r\nParameterName=Producer Heartbeat Time\r\nObjectType=0x07\r\nDataType=0x0006\r\nAccessType=rw\r\n"
        "DefaultValue=0x000003E8\r\nPDOMapping=0\r\n\r\n"
        "[1018]\r\nSubNumber=5\r\nParameterName=Identity Object\r\nObjectType=0x09\r\n\r\n"
        "[1018sub0]\r\nParameterName=number of entries\r\nObjectType=0x07\r\nDataType=0x0005\r\nAccessType=ro\r\n"
        "DefaultValue=0x4\r\nPDOMapping=0\r\n\r\n"
        "[1018sub1]\r\nParameterName=Vendor Id\r\nObjectType=0x07\r\nDataType=0x0007\r\nAccessType=ro\r\nPDOMapping=0\r\n\r\n"
        "[1018sub2]\r\nParameterName=Product Code\r\nObjectType=0x07\r\nDataType=0x0007\r\nAccessType=ro\r\nPDOMapping=0\r\n\r\n"
        "[1018sub3]\r\nParameterName=Revision number\r\nObjectType=0x07\r\nDataType=0x0007\r\nAccessType=ro\r\nPDOMapping=0\r\n\r\n"
        "[1018sub4]\r\nParameterName=Serial number\r\nObjectType=0x07\r\nDataType=0x0007\r\nAccessType=ro\r\nPDOMapping=0\r\n\r\n"
        "[1280]\r\nSubNumber=4\r\nParameterName=Client SDO Parameter 1\r\nObjectType=0x09\r\n\r\n"
        "[1280sub0]\r\nParameterName=Number of Entries\r\nObjectType=0x07\r\nDataType=0x0005\r\nAccessType=ro\r\n"
        "DefaultValue=0x03\r\nPDOMapping=0\r\n\r\n"
        "[1280sub1]\r\nParameterName=COB-ID Client -> Server\r\nObjectType=0x07\r\nDataType=0x0007\r\nAccessType=rw\r\n"
        "PDOMapping=0\r\n\r\n"
        "[1280sub2]\r\nParameterName=COB-ID Server -> Client\r\nObjectType=0x07\r\nDataType=0x0007\r\nAccessType=rw\r\n"
        "PDOMapping=0\r\n\r\n"
        "[1280sub3]\r\nParameterName=Node ID of the SDO Server\r\nObjectType=0x07\r\nDataType=0x0005\r\nAccessType=rw\r\n"
        "PDOMapping=0\r\n\r\n"
        "\r\n");
    Write_EDS_File(Target());
    EXPECT_EQ(QString::fromLatin1(Read(Target())), expected);
    // a second run over the same target replaces the file with the same text
    Write_EDS_File(Target());
    EXPECT_EQ(QString::fromLatin1(Read(Target())), expected);
}

TEST_F(EdsWriter, OneReceivePdoOfEightBytes)
{
    Table(File_CANopen_RPDO, "Define_RPDO", {{{"COB-ID", "0x201"}, {"Dimension", "8"}, {"Offset", "0"}, {"Frame_J1939", "1"}}});
    const QStringList l = Write();
    EXPECT_EQ(Section(l, QStringLiteral("DeviceInfo")).mid(20), Lines({"NrOfRXPDO=1", "NrOfTXPDO=0"}));
    EXPECT_EQ(Section(l, QStringLiteral("OptionalObjects")),
              Lines({"SupportedObjects=8", "1=0x1005", "2=0x1006", "3=0x1008", "4=0x1017", "5=0x1280", "6=0x1400",
                     "7=0x1600", "8=0x6000"}));
    EXPECT_EQ(Section(l, QStringLiteral("1400")),
              Lines({"SubNumber=4", "ParameterName=Receive PDO Communication Parameter", "ObjectType=0x09"}));
    EXPECT_EQ(Section(l, QStringLiteral("1400sub0")),
              Lines({"ParameterName=Number of Entries", "ObjectType=0x07", "DataType=0x0005", "AccessType=ro",
                     "DefaultValue=0x03", "PDOMapping=0"}));
    EXPECT_EQ(Section(l, QStringLiteral("1400sub1")),
              Lines({"ParameterName=COB-ID", "ObjectType=0x07", "DataType=0x0007", "AccessType=rw",
                     "DefaultValue=0x00000201", "PDOMapping=0"}));
    EXPECT_EQ(Section(l, QStringLiteral("1400sub2")),
              Lines({"ParameterName=Transmission Type", "ObjectType=0x07", "DataType=0x0005", "AccessType=rw",
                     "DefaultValue=0xFE", "PDOMapping=0"}));
    EXPECT_EQ(Section(l, QStringLiteral("1400sub3")),
              Lines({"ParameterName=Inhibit Time", "ObjectType=0x07", "DataType=0x0006", "AccessType=rw",
                     "DefaultValue=0x0", "PDOMapping=0"}));
    EXPECT_EQ(Section(l, QStringLiteral("1600")),
              Lines({"SubNumber=9", "ParameterName=Receive PDO Mapping Parameter", "ObjectType=0x09"}));
    EXPECT_EQ(Section(l, QStringLiteral("1600sub0")).at(4), QStringLiteral("DefaultValue=0x08"));
    EXPECT_EQ(Section(l, QStringLiteral("1600sub1")),
              Lines({"ParameterName=Mapping Entry 1", "ObjectType=0x07", "DataType=0x0007", "AccessType=ro",
                     "DefaultValue=0x60000108", "PDOMapping=0"}));
    EXPECT_EQ(Section(l, QStringLiteral("1600sub8")).at(4), QStringLiteral("DefaultValue=0x60000808"));
    EXPECT_EQ(Section(l, QStringLiteral("6000")), Lines({"SubNumber=9", "ParameterName=RPDO1", "ObjectType=0x08"}));
    EXPECT_EQ(Section(l, QStringLiteral("6000sub0")),
              Lines({"ParameterName=Number of Entries", "ObjectType=0x07", "DataType=0x0005", "AccessType=ro",
                     "DefaultValue=0x8", "PDOMapping=0"}));
    EXPECT_EQ(Section(l, QStringLiteral("6000sub1")),
              Lines({"ParameterName=b1", "ObjectType=0x07", "DataType=0x0005", "AccessType=rww", "DefaultValue=0x0",
                     "PDOMapping=1"}));
    // each object is its main section followed by its sub-indexes, then the closing empty lines
    const QStringList h = Headers(l);
    EXPECT_EQ(h.mid(h.indexOf(QStringLiteral("1400"))).join(QLatin1Char(' ')),
              QStringLiteral("1400 1400sub0 1400sub1 1400sub2 1400sub3 1600 1600sub0 1600sub1 1600sub2 1600sub3 1600sub4 "
                             "1600sub5 1600sub6 1600sub7 1600sub8 6000 6000sub0 6000sub1 6000sub2 6000sub3 6000sub4 "
                             "6000sub5 6000sub6 6000sub7 6000sub8"));
    EXPECT_EQ(l.mid(l.size() - 4), Lines({"PDOMapping=1", "", "", ""}));
}

TEST_F(EdsWriter, SeveralPdosInObjectOrder)
{
    Table(File_CANopen_RPDO, "Define_RPDO",
          {{{"COB-ID", "0x201"}, {"Dimension", "1"}}, {{"COB-ID", "0x202"}, {"Dimension", "1"}}, {{"COB-ID", "515"}, {"Dimension", "2"}}});
    Table(File_CANopen_TPDO, "Define_TPDO", {{{"COB-ID", "0x181"}, {"Dimension", "1"}}, {{"Dimension", "1"}}});
    const QStringList l = Write();
    EXPECT_EQ(Section(l, QStringLiteral("OptionalObjects")),
              Lines({"SupportedObjects=20", "1=0x1005", "2=0x1006", "3=0x1008", "4=0x1017", "5=0x1280", "6=0x1400",
                     "7=0x1401", "8=0x1402", "9=0x1600", "10=0x1601", "11=0x1602", "12=0x1800", "13=0x1801",
                     "14=0x1A00", "15=0x1A01", "16=0x6000", "17=0x6001", "18=0x6002", "19=0x6050", "20=0x6051"}));
    QStringList mains;
    for (const QString& s : Headers(l))
        if (!s.contains(QStringLiteral("sub"))) mains << s;
    EXPECT_EQ(mains.join(QLatin1Char(' ')),
              QStringLiteral("FileInfo DeviceInfo Comments DummyUsage MandatoryObjects OptionalObjects ManufacturerObjects "
                             "1000 1001 1005 1006 1008 1017 1018 1280 1400 1401 1402 1600 1601 1602 1800 1801 1A00 1A01 "
                             "6000 6001 6002 6050 6051"));
    EXPECT_EQ(Section(l, QStringLiteral("1401")).at(1), QStringLiteral("ParameterName=Receive PDO Communication Parameter 2"));
    EXPECT_EQ(Section(l, QStringLiteral("1402sub1")).at(4), QStringLiteral("DefaultValue=0x00000203"));
    EXPECT_EQ(Section(l, QStringLiteral("1601")).at(1), QStringLiteral("ParameterName=Receive PDO Mapping Parameter 2"));
    EXPECT_EQ(Section(l, QStringLiteral("1800")).at(1), QStringLiteral("ParameterName=Transmit PDO Communication Parameter 1"));
    EXPECT_EQ(Section(l, QStringLiteral("1800sub1")).at(4), QStringLiteral("DefaultValue=0x40000181"));
    EXPECT_EQ(Section(l, QStringLiteral("1801sub1")).at(4), QStringLiteral("DefaultValue=0x40000201"));
    EXPECT_EQ(Section(l, QStringLiteral("1A01")).at(1), QStringLiteral("ParameterName=Transmit PDO Mapping Parameter 2"));
    EXPECT_EQ(Section(l, QStringLiteral("1A01sub1")).at(4), QStringLiteral("DefaultValue=0x60510108"));
    EXPECT_EQ(Section(l, QStringLiteral("6001sub0")).at(3), QStringLiteral("AccessType=ro"));
    EXPECT_EQ(Section(l, QStringLiteral("6002sub0")).at(3), QStringLiteral("AccessType=rw"));
    EXPECT_EQ(Section(l, QStringLiteral("6002sub2")).at(0), QStringLiteral("ParameterName=d2"));
    EXPECT_EQ(Section(l, QStringLiteral("6050")).at(1), QStringLiteral("ParameterName=TPDO1"));
    EXPECT_EQ(Section(l, QStringLiteral("6050sub0")).at(3), QStringLiteral("AccessType=rw"));
    EXPECT_EQ(Section(l, QStringLiteral("6051sub1")),
              Lines({"ParameterName=m1", "ObjectType=0x07", "DataType=0x0005", "AccessType=rwr", "DefaultValue=0x0",
                     "PDOMapping=1"}));
}

TEST_F(EdsWriter, TenthPdosUseTheirOwnLettersAndIndexes)
{
    const std::vector<TRowAttrs> rows(10, TRowAttrs{{"COB-ID", "0x181"}, {"Dimension", "8"}});
    Table(File_CANopen_RPDO, "Define_RPDO", rows);
    Table(File_CANopen_TPDO, "Define_TPDO", rows);
    const QStringList l = Write();
    EXPECT_EQ(Section(l, QStringLiteral("OptionalObjects")).first(), QStringLiteral("SupportedObjects=65"));
    EXPECT_EQ(Section(l, QStringLiteral("OptionalObjects")).last(), QStringLiteral("65=0x6059"));
    EXPECT_EQ(Section(l, QStringLiteral("1409")).at(1), QStringLiteral("ParameterName=Receive PDO Communication Parameter 10"));
    EXPECT_EQ(Section(l, QStringLiteral("1A09sub8")).at(4), QStringLiteral("DefaultValue=0x60590808"));
    const std::pair<const char*, const char*> names[] = {{"6007sub1", "ParameterName=j1"}, {"6008sub1", "ParameterName=k1"},
                                                         {"6009sub1", "ParameterName=i1"}, {"6059sub8", "ParameterName=u8"},
                                                         {"6009", "ParameterName=RPDO10"}};
    for (const auto& [section, name] : names) EXPECT_EQ(Section(l, QLatin1String(section)).at(section[4] ? 0 : 1), QLatin1String(name)) << section;
}

TEST_F(EdsWriter, PdoDimensionDefaultsAndLimits)
{
    Table(File_CANopen_RPDO, "Define_RPDO",
          {{{"COB-ID", "0x201"}, {"Dimension", "0"}}, {{"Dimension", "12"}}, {{"Dimension", "abc"}}, {{"COB-ID", "x"}}, {{"Dimension", "264"}}});
    const QStringList l = Write();
    EXPECT_EQ(Section(l, QStringLiteral("1600")).first(), QStringLiteral("SubNumber=1"));
    EXPECT_EQ(Section(l, QStringLiteral("1600sub0")).at(4), QStringLiteral("DefaultValue=0x00"));
    EXPECT_EQ(Section(l, QStringLiteral("1600sub1")).first(), QStringLiteral("<missing>"));
    EXPECT_EQ(Section(l, QStringLiteral("6000")).first(), QStringLiteral("SubNumber=1"));
    EXPECT_EQ(Section(l, QStringLiteral("6000sub0")).at(4), QStringLiteral("DefaultValue=0x0"));
    for (const char* s : {"1601", "1602", "1603"}) EXPECT_EQ(Section(l, QLatin1String(s)).first(), QStringLiteral("SubNumber=9")) << s;
    EXPECT_EQ(Section(l, QStringLiteral("1403sub1")).at(4), QStringLiteral("DefaultValue=0x00000201"));
    // 264 keeps its low byte, 8
    EXPECT_EQ(Section(l, QStringLiteral("1604")).first(), QStringLiteral("SubNumber=9"));
}

TEST_F(EdsWriter, ServerSdoObjectsFollowThePdosAndAreListed)
{
    Table(File_CANopen_RPDO, "Define_RPDO", {{{"COB-ID", "0x201"}, {"Dimension", "1"}}});
    Table(File_CANopen_Define_Server_SDO_Read, "DefineSDOServerRecJ1939",
          {{{"NrPdo", "1"}, {"Index", "0x2000"}, {"SubIndex", "1"}, {"Dimension", "2"}},
           {{"NrPdo", "1"}, {"Index", "0x2001"}, {"SubIndex", "0"}, {"Dimension", "0"}},
           {{"NrPdo", "1"}, {"Index", "0x2000"}, {"SubIndex", "26"}, {"Dimension", "0"}}});
    Table(File_CANopen_Define_Server_SDO_Write, "DefineSDOServerTraJ1939",
          {{{"NrPdo", "1"}, {"Index", "8192"}, {"SubIndex", "2"}, {"Dimension", "1"}, {"Send_SDO", "1"}}});
    const QStringList l = Write();
    EXPECT_EQ(Section(l, QStringLiteral("ManufacturerObjects")), Lines({"SupportedObjects=2", "1=0x2000", "2=0x2001"}));
    const QStringList h = Headers(l);
    EXPECT_EQ(h.mid(h.indexOf(QStringLiteral("6000sub1")) + 1).join(QLatin1Char(' ')),
              QStringLiteral("2000 2000sub1 2000sub1A 2000sub2 2001 2001sub0"));
    EXPECT_EQ(Section(l, QStringLiteral("2000")),
              Lines({"SubNumber=3", "ParameterName=Application Variables", "ObjectType=0x09"}));
    EXPECT_EQ(Section(l, QStringLiteral("2000sub1")),
              Lines({"ParameterName=Application Variable", "ObjectType=0x7", "DataType=0x0005", "LowLimit=0x00",
                     "HighLimit=0xFF", "DefaultValue=0x00", "AccessType=ro", "PDOMapping=0"}));
    EXPECT_EQ(Section(l, QStringLiteral("2000sub2")),
              Lines({"ParameterName=Application Variable", "ObjectType=0x7", "DataType=0x0006", "LowLimit=0x0000",
                     "HighLimit=0xFFFF", "DefaultValue=0x0000", "AccessType=rw", "PDOMapping=0"}));
    EXPECT_EQ(Section(l, QStringLiteral("2001sub0")),
              Lines({"ParameterName=Application Variable", "ObjectType=0x7", "DataType=0x0007", "LowLimit=0x00000000",
                     "HighLimit=0xFFFFFFFF", "DefaultValue=0x00000000", "AccessType=ro", "PDOMapping=0"}));
    EXPECT_EQ(Section(l, QStringLiteral("2001")).first(), QStringLiteral("SubNumber=1"));
    EXPECT_EQ(l.mid(l.size() - 4), Lines({"PDOMapping=0", "", "", ""}));
}

// Every refusal leaves an existing target untouched.
TEST_F(EdsWriter, RefusalsWriteNothing)
{
    struct Case {
        const char* name;
        TRowAttrs read, write;
        int pdoRows;
        const char* text;
    };
    const Case cases[] = {
        {"same index and sub-index in both tables",
         {{"Index", "0x2000"}, {"SubIndex", "1"}, {"Dimension", "0"}},
         {{"Index", "0x2000"}, {"SubIndex", "1"}, {"Dimension", "2"}}, 0,
         "Index 0x2000 sub-index 0x01 is defined both in CANopen_Define_Server_SDO_Read.xml and in "
         "CANopen_Define_Server_SDO_Write.xml"},
        {"missing sub-index", {{"Index", "0x2000"}, {"Dimension", "0"}}, {}, 0,
         "CANopen_Define_Server_SDO_Read.xml, row 1, SubIndex: the value is missing"},
        {"letters as dimension", {{"Index", "0x2000"}, {"SubIndex", "1"}, {"Dimension", "four"}}, {}, 0,
         "'four' is not a valid integer value"},
        {"index outside the manufacturer area", {{"Index", "0x6000"}, {"SubIndex", "1"}, {"Dimension", "0"}}, {}, 0,
         "CANopen_Define_Server_SDO_Read.xml, row 1: the index 0x6000 lies outside 0x2000 to 0x5FFF."},
        {"sub-index above 255", {}, {{"Index", "0x2000"}, {"SubIndex", "256"}, {"Dimension", "0"}}, 0,
         "CANopen_Define_Server_SDO_Write.xml, row 1: the sub-index 256 lies outside 0 to 255."},
        {"eleven PDOs", {}, {}, 11, "CANopen_TPDO.xml, row 11: at most 10 PDOs can be defined."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(File_CANopen_Define_Server_SDO_Read);
        QFile::remove(File_CANopen_Define_Server_SDO_Write);
        QFile::remove(File_CANopen_TPDO);
        if (!c.read.empty()) Table(File_CANopen_Define_Server_SDO_Read, "DefineSDOServerRecJ1939", {c.read});
        if (!c.write.empty()) Table(File_CANopen_Define_Server_SDO_Write, "DefineSDOServerTraJ1939", {c.write});
        if (c.pdoRows) Table(File_CANopen_TPDO, "Define_TPDO", std::vector(size_t(c.pdoRows), TRowAttrs{{"Dimension", "1"}}));
        Write_Raw(Target(), "old");
        try {
            Write_EDS_File(Target());
            ADD_FAILURE() << "no error";
        } catch (const Exception& e) {
            EXPECT_TRUE(e.Message().contains(QLatin1String(c.text))) << e.Message().toStdString();
        }
        EXPECT_EQ(Read(Target()), QByteArray("old"));
    }
}

TEST_F(EdsWriter, SameSubIndexTwiceInOneTableIsRefused)
{
    Table(File_CANopen_Define_Server_SDO_Write, "DefineSDOServerTraJ1939",
          {{{"Index", "0x3000"}, {"SubIndex", "4"}, {"Dimension", "0"}}, {{"Index", "0x3000"}, {"SubIndex", "4"}, {"Dimension", "1"}}});
    try {
        Write();
        ADD_FAILURE() << "no error";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("CANopen_Define_Server_SDO_Write.xml, row 2: Index 0x3000 sub-index 0x04 is "
                                              "defined twice; an EDS file can describe it only once."));
    }
    EXPECT_FALSE(QFile::exists(Target()));
}

TEST_F(EdsWriter, UnwritableTargetIsReported)
{
    EXPECT_THROW(Write_EDS_File(Out(QStringLiteral("no/such/folder/x.eds"))), EInOutError);
    // a malformed table stops the run before anything is written
    Write_Raw(File_CANopen_RPDO, "<Define_RPDO><row");
    EXPECT_THROW(Write_EDS_File(Target()), Exception);
    EXPECT_FALSE(QFile::exists(Target()));
}

}  // namespace
