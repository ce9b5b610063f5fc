#include "generate/bank_files.h"
#include "generate/bit_rates.h"
#include "generate/gen_document.h"
#include "generate/gen_fixture.h"
#include "generate/image_cob.h"
#include "generate/image_dispatch.h"
#include "generate/param_block.h"
#include "platform/core/exception.h"
#include "state/shared_state.h"

#include <QDir>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

TEST(ParamBlock, ZeroFillsAfterTheRecordAndClosesWithTheByteSum)
{
    // a record of 296 bytes 0xFF, written at a position other than 0 over stale bytes
    std::vector<uint8_t> buf(4096, 0xAA);
    TParamBlockWriter w(buf.data(), 1000);
    for (int i = 0; i < 296; ++i) w.U8(0xFF);
    EXPECT_EQ(w.Finish(), 3048);
    for (int i = 1296; i < 3044; ++i) ASSERT_EQ(buf[i], 0) << i;
    // 296 x 255 = 75,480 = 0x000126D8
    EXPECT_EQ(buf[3044], 0xD8);
    EXPECT_EQ(buf[3045], 0x26);
    EXPECT_EQ(buf[3046], 0x01);
    EXPECT_EQ(buf[3047], 0x00);
    EXPECT_EQ(buf[999], 0xAA);
    EXPECT_EQ(buf[3048], 0xAA);
}

TEST(ParamBlock, FieldsAreLeastSignificantByteFirst)
{
    std::vector<uint8_t> buf(2048, 0xAA);
    TParamBlockWriter w(buf.data(), 0);
    w.U32(0x11223344);
    w.U16(0x5566);
    w.IPv4({192, 168, 0, 10});
    EXPECT_EQ(w.Record_Size(), 10);
    w.Finish();
    const std::vector<uint8_t> head = {0x44, 0x33, 0x22, 0x11, 0x66, 0x55, 0xC0, 0xA8, 0x00, 0x0A, 0x00};
    EXPECT_EQ(std::vector<uint8_t>(buf.begin(), buf.begin() + 11), head);
    // 68+51+34+17 + 102+85 + 192+168+0+10 = 727 = 0x2D7
    EXPECT_EQ(buf[2044], 0xD7);
    EXPECT_EQ(buf[2045], 0x02);
}

TEST(BitRates, IndexTables)
{
    struct Case { int32_t index, j1939, canopen, can, serial; };
    const Case cases[] = {
        {-1, 250000, 250000, 250000, 9600},
        {0, 10000, 10000, 10000, 1200},
        {1, 20000, 20000, 20000, 2400},
        {2, 50000, 50000, 50000, 4800},
        {3, 100000, 100000, 62500, 9600},
        {4, 125000, 125000, 100000, 19200},
        {5, 250000, 250000, 125000, 38400},
        {6, 500000, 500000, 250000, 57600},
        {7, 800000, 800000, 500000, 115200},
        {8, 1000000, 1000000, 800000, 9600},
        {9, 250000, 250000, 1000000, 9600},
        {10, 250000, 250000, 250000, 9600},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index);
        EXPECT_EQ(J1939_Bit_Rate_Of(c.index), c.j1939);
        EXPECT_EQ(CANopen_Bit_Rate_Of(c.index), c.canopen);
        EXPECT_EQ(CAN_Bit_Rate_Of(c.index), c.can);
        EXPECT_EQ(Serial_Bit_Rate_Of(c.index), c.serial);
    }
}

namespace {
// A one-row table file whose only row carries `attrs`; returns the loaded document.
struct OneRow {
    TempExeDir exe;
    TGenDocument doc;
    explicit OneRow(const TRowAttrs& attrs)
    {
        const QString path = exe.File(QStringLiteral("Table.xml"));
        Write_Table_File(path, "AnyRoot", {attrs});
        EXPECT_TRUE(doc.Load(path));
    }
    TGenRow Row() const { return doc.Row(0); }
};
}  // namespace

TEST(GenDocument, NumberConversions)
{
    struct Case { QString text; int32_t forgiving; bool strictOk; int32_t strict; };
    const QString missing;  // attribute left out
    const Case cases[] = {
        {QStringLiteral("42"), 42, true, 42},
        {QStringLiteral(" 0x1F"), 31, true, 31},
        {QStringLiteral("0X1f"), 31, true, 31},
        {QStringLiteral("$10"), 16, true, 16},
        {QStringLiteral("-7"), -7, true, -7},
        {QStringLiteral("+7"), 7, true, 7},
        {QStringLiteral("0xFFFFFFFF"), -1, true, -1},
        {QStringLiteral("-$10"), -16, true, -16},
        {QStringLiteral("-2147483648"), INT32_MIN, true, INT32_MIN},
        {QStringLiteral("2147483648"), 77, false, 0},
        // a bare "x", as the editors take it
        {QStringLiteral("x1F"), 31, true, 31},
        {QStringLiteral("X1F"), 31, true, 31},
        {QStringLiteral("0x"), 77, false, 0},
        {QStringLiteral("12 "), 77, false, 0},
        {QStringLiteral("abc"), 77, false, 0},
        {QStringLiteral(""), 77, false, 0},
        {QStringLiteral("1.5"), 77, false, 0},
        {QStringLiteral("4294967296"), 77, false, 0},
        {missing, 77, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.isNull() ? std::string("(missing)") : c.text.toStdString());
        OneRow t({{"V", c.text}});
        EXPECT_EQ(t.Row().Int_Def("V", 77), c.forgiving);
        EXPECT_EQ(t.Row().Strict_Or("V", 77), c.strictOk ? c.strict : 77);
        if (c.strictOk) EXPECT_EQ(t.Row().Strict("V"), c.strict);
        else EXPECT_THROW(t.Row().Strict("V"), EConvertError);
    }
}

TEST(GenDocument, StrictSixtyFourBitKeepsTheLowWord)
{
    OneRow t({{"A", QStringLiteral("4294967297")},
              {"B", QStringLiteral("-1")},
              {"C", QStringLiteral("x")},
              {"E", QStringLiteral("-9223372036854775807")},
              {"F", QStringLiteral("x10")},
              {"G", QStringLiteral("-9223372036854775808")},
              {"H", QStringLiteral("9223372036854775808")}});
    EXPECT_EQ(t.Row().Strict64_Low("A"), 1);
    EXPECT_EQ(t.Row().Strict64_Low("B"), -1);
    EXPECT_EQ(t.Row().Strict64_Low("E"), 1);
    EXPECT_EQ(t.Row().Strict64_Low("G"), 0);
    EXPECT_EQ(t.Row().Strict64_Low("F"), 16);
    for (const char* a : {"C", "D", "H"}) EXPECT_THROW(t.Row().Strict64_Low(a), EConvertError) << a;
}

TEST(GenDocument, StrictErrorNamesFileRowAndAttribute)
{
    TempExeDir exe;
    const QString path = exe.File(QStringLiteral("Modbus_Read_Req.xml"));
    Write_Table_File(path, "ModbusReadRequest", {{{"SlaveID", QStringLiteral("1")}}, {{"SlaveID", QStringLiteral("abc")}}});
    TGenDocument doc;
    ASSERT_TRUE(doc.Load(path));
    try {
        doc.Row(1).Strict("SlaveID");
        FAIL() << "no conversion error";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Modbus_Read_Req.xml, row 2, SlaveID: 'abc' is not a valid integer value"));
    }
}

TEST(GenDocument, IPv4Addresses)
{
    struct Case { QString text; bool ok; uint32_t value; };
    const Case cases[] = {
        {QStringLiteral("192.168.1.20"), true, 0xC0A80114},
        {QStringLiteral(" 10 . 0 .\t0. 1 "), true, 0x0A000001},
        {QStringLiteral("300.1.1.1"), true, 0x2C010101},  // each part modulo 256
        {QStringLiteral("0x0A.0.0.$FF"), true, 0x0A0000FF},
        {QStringLiteral("192.168.1"), false, 0},
        {QStringLiteral("1.2.3.4.5"), false, 0},
        {QStringLiteral("1..3.4"), false, 0},
        {QStringLiteral("a.b.c.d"), false, 0},
        {QString(), false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        OneRow t({{"IP_Address", c.text}});
        if (c.ok) EXPECT_EQ(t.Row().Strict_IPv4("IP_Address"), c.value);
        else EXPECT_THROW(t.Row().Strict_IPv4("IP_Address"), EConvertError);
    }
}

TEST(GenDocument, Flags)
{
    struct Case { QString text; bool exact, upper, trimUpper; };
    const Case cases[] = {
        {QStringLiteral("Y"), true, true, true},
        {QStringLiteral("y"), false, true, true},
        {QStringLiteral(" Y"), false, false, true},
        {QStringLiteral("N"), false, false, false},
        {QStringLiteral("YES"), false, false, false},
        {QString(), false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        OneRow t({{"F", c.text}});
        EXPECT_EQ(t.Row().Flag_Exact("F"), c.exact);
        EXPECT_EQ(t.Row().Flag_Upper("F"), c.upper);
        EXPECT_EQ(t.Row().Flag_Trim_Upper("F"), c.trimUpper);
    }
}

TEST(GenDocument, ParGenKeys)
{
    TempExeDir exe;
    const QString path = exe.File(QStringLiteral("ParGen.xml"));
    Write_Raw(path, "<?xml version=\"1.0\"?><Other><A>5</A><B>x</B><F1>1</F1><F2> 1</F2><F3>true</F3>"
                    "<N><A>9</A></N><E></E></Other>");
    TGenDocument doc;
    ASSERT_TRUE(doc.Load(path));
    // a declaration is the first node: it is the root, and has no keys
    EXPECT_EQ(doc.Key_Int("A", -1), -1);

    Write_Raw(path, "<Other><A>5</A><B>x</B><F1>1</F1><F2> 1</F2><F3>true</F3><N><A>9</A></N><E></E>"
                    "<X>x1F</X><H>0X1F</H></Other><!--c-->");
    ASSERT_TRUE(doc.Load(path));
    EXPECT_EQ(doc.Key_Int("A", -1), 5);
    EXPECT_EQ(doc.Key_Int("B", -1), -1);
    EXPECT_EQ(doc.Key_Int("X", -1), 31);
    EXPECT_EQ(doc.Key_Int("H", -1), 31);
    // the compact images' strict keys follow the same syntax
    const TCompact_Doc compact(doc);
    EXPECT_EQ(compact.Strict_Key("H"), 31);
    EXPECT_EQ(compact.Strict_Key("X"), 31);
    EXPECT_THROW(compact.Strict_Key("B"), EConvertError);
    EXPECT_EQ(doc.Key_Int("Missing", -1), -1);
    EXPECT_EQ(doc.Key_Int("N", -1), -1);  // holds an element, not a text
    EXPECT_EQ(doc.Key_Int("E", -1), -1);
    QString t;
    EXPECT_TRUE(doc.Key_Text("E", t));
    EXPECT_TRUE(t.isEmpty());
    EXPECT_TRUE(doc.Key_Flag("F1"));
    EXPECT_FALSE(doc.Key_Flag("F2"));
    EXPECT_FALSE(doc.Key_Flag("F3"));
    EXPECT_FALSE(doc.Key_Flag("Missing"));
}

TEST(GenDocument, MissingFilesAreSkippedBrokenFilesEndTheBuild)
{
    TempExeDir exe;
    TGenDocument doc;
    EXPECT_FALSE(doc.Load(exe.File(QStringLiteral("None.xml"))));
    EXPECT_EQ(doc.Row_Count(), 0);

    const QString path = exe.File(QStringLiteral("Broken.xml"));
    Write_Raw(path, "<ReceiveJ1939><row DataPage=\"0\"></ReceiveJ1939>");
    EXPECT_THROW(doc.Load(path), Exception);

    // a comment before the root: the comment is the root and holds no rows
    Write_Raw(path, "<!--x--><ReceiveJ1939><row DataPage=\"0\"/></ReceiveJ1939>");
    ASSERT_TRUE(doc.Load(path));
    EXPECT_EQ(doc.Row_Count(), 0);
}

TEST(BankFiles, WritesEveryFileWhole)
{
    TGenConf conf(2);
    const uint8_t a[] = {1, 2, 3, 4}, b[] = {9, 8};
    Save_Bank_Files({{"bank1.bin", a, 3}, {"bank2.bin", b, 2}});
    EXPECT_EQ(conf.Bank("bank1.bin"), QByteArray("\x01\x02\x03", 3));
    EXPECT_EQ(conf.Bank("bank2.bin"), QByteArray("\x09\x08", 2));
    // replaced and truncated
    Save_Bank_Files({{"bank1.bin", b, 1}});
    EXPECT_EQ(conf.Bank("bank1.bin"), QByteArray("\x09", 1));
    EXPECT_EQ(QDir(conf.Bin_Dir()).entryList(QDir::Files).size(), 2);  // no temporary file left
}

TEST(BankFiles, AFileThatCannotBeWrittenChangesNothing)
{
    TGenConf conf(2);
    const uint8_t old[] = {7}, fresh[] = {1, 2};
    Save_Bank_Files({{"bank1.bin", old, 1}});
    // bank2.bin is a folder: it cannot be written, so bank1.bin keeps its old content too
    ASSERT_TRUE(QDir(conf.Bin_Dir()).mkdir(QStringLiteral("bank2.bin")));
    try {
        Save_Bank_Files({{"bank1.bin", fresh, 2}, {"bank2.bin", fresh, 2}});
        FAIL() << "no error";
    } catch (const EInOutError& e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("bank2.bin"))) << e.what();
    }
    EXPECT_EQ(conf.Bank("bank1.bin"), QByteArray("\x07", 1));
    EXPECT_EQ(QDir(conf.Bin_Dir()).entryList(QDir::Files).size(), 1);
}

TEST(BankFiles, AReplacementThatFailsPutsTheWholeSetBack)
{
    // the last file of the set is refused after the first ones are in place
    struct Case { const char* name; bool oldSet; };
    for (const Case c : {Case{"over an earlier set", true}, Case{"without an earlier set", false}}) {
        SCOPED_TRACE(c.name);
        TGenConf conf(7);
        struct Unhook { ~Unhook() { Bank_Before_Replace = nullptr; } } unhook;
        const uint8_t old[] = {7}, fresh[] = {1, 2};
        if (c.oldSet) Save_Bank_Files({{"bank_pg.bin", old, 1}, {"bank_data.bin", old, 1}, {"bank.bin", old, 1}});
        const QStringList before = QDir(conf.Bin_Dir()).entryList(QDir::Files);
        Bank_Before_Replace = [](const QString& path) {
            if (path.endsWith(QLatin1String("/bank.bin"))) throw EInOutError(QStringLiteral("refused"));
        };
        EXPECT_THROW(Save_Bank_Files({{"bank_pg.bin", fresh, 2}, {"bank_data.bin", fresh, 2}, {"bank.bin", fresh, 2}}),
                     EInOutError);
        EXPECT_EQ(QDir(conf.Bin_Dir()).entryList(QDir::Files), before);  // nothing added, nothing left behind
        for (const char* name : {"bank_pg.bin", "bank_data.bin", "bank.bin"})
            EXPECT_EQ(conf.Bank(name), c.oldSet ? QByteArray("\x07", 1) : QByteArray()) << name;
    }
}

TEST(BankFiles, MissingBinFolderIsAnError)
{
    TGenConf conf(2, /*withBin=*/false);
    const uint8_t a[] = {1};
    EXPECT_THROW(Save_Bank_Files({{"bank1.bin", a, 1}}), EInOutError);
    EXPECT_FALSE(QDir(conf.Bin_Dir()).exists());
}

TEST(BankFiles, NothingIsWrittenWithoutAConfiguration)
{
    TempExeDir exe;  // no configuration open: the paths would start at the root folder
    const uint8_t a[] = {1};
    EXPECT_THROW(Save_Bank_Files({{"bank1.bin", a, 1}}), EInOutError);
}

TEST(Dispatch, SumsBeyondThe32BitRangeAreConversionErrors)
{
    // values whose arithmetic would leave the signed 32-bit range: refused where the sum is
    // stored, a frame number like any other that names no frame where it is only compared
    struct Case {
        const char* name;
        int model;
        std::function<void()> write;
        const char* error;  // start of the message; nullptr when the build passes
    };
    const QString max = QStringLiteral("2147483647");
    const Case cases[] = {
        {"871 bit rate index", 9, [&] { Write_ParGen({{"BaudRateCAN", max}}); }, "ParGen.xml, BaudRateCAN: "},
        {"872 bit rate index", 7, [&] { Write_ParGen({{"BaudRateCAN", max}}); }, "ParGen.xml, BaudRateCAN: "},
        {"892 DM1 alarm position", 2,
         [&] {
             Write_ParGen({{"J1939_Send_DM1", "1"}});
             Write_Table_File(File_Define_Alarms_DM1, "DefineAlarmsDM1", {{{"Position", max}}});
         },
         "Define_Alarms_DM1.xml, row 1, Position: "},
        {"892 DM1 read position", 2,
         [&] {
             Write_ParGen({{"J1939_Send_DM1", "1"}});
             Write_Table_File(File_Modbus_Read_Req_DM1, "ModbusReadRequestDM1",
                              {{{"IP_Address", "10.0.0.1"}, {"SlaveID", "1"}, {"Type", "COIL STATUS"}, {"NPoint", "1"},
                                {"Address", "0"}, {"PollTime", "0"}, {"MaxError", "0"}, {"Position", max}}});
         },
         "Modbus_Read_Req_DM1.xml, row 1, Position: "},
        {"872 transmit map of the lowest frame number", 7,
         [&] {
             Write_Table_File(File_J1939_Transmit, "TCobDef", {{{"Priority", "6"}, {"DP", "0"}, {"PGN", "1"}, {"ID_DEV", "2"}}});
             Write_Table_File(File_Define_J1939_Tra, "TInfoCob",
                              {{{"Index", "1"}, {"NrPdo", "-2147483648"}, {"PosComp", "0"}}});
         },
         nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TGenConf conf(c.model);
        c.write();
        if (!c.error) {
            EXPECT_NO_THROW(Build_Device_Image());
            continue;
        }
        try {
            Build_Device_Image();
            ADD_FAILURE() << "no conversion error";
        } catch (const EConvertError& e) {
            EXPECT_TRUE(e.Message().startsWith(QLatin1String(c.error))) << e.what();
        }
    }
}

TEST(Dispatch, ACodeWithoutBuilderDoesNothing)
{
    TGenConf conf(99);
    Build_Device_Image();
    Save_Device_Image();
    EXPECT_TRUE(QDir(conf.Bin_Dir()).entryList(QDir::Files).isEmpty());
}
