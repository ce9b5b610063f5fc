// Model 891: the parameter block first, then the frame and mapping tables back to back.
#include "image_expect.h"
#include "platform/core/exception.h"

namespace {

// The record as it starts, before any document is read.
const std::vector<TField> Rec_Defaults = {
    {0, 4, 250000}, {4, 4, 250000}, {8, 4, 9600}, {28, 4, 1000}, {52, 4, 1}, {104, 4, 2}, {112, 4, 255},
    {160, 4, 0x68800}, {164, 4, 0x68800}, {168, 4, 0x68800}, {172, 4, 0x68800},
};

TEST(Image891, EmptyConfiguration)
{
    TGenConf conf(0);
    Build_And_Save();
    const QByteArray bank = conf.Bank("bank.bin");
    ASSERT_EQ(bank.size(), 2048);
    EXPECT_TRUE(Bytes_At(bank, 0, Expected_Bytes(2044, {Rec_Defaults})));
    EXPECT_TRUE(Bytes_At(bank, 2044, Raw({0x90, 0x07, 0x00, 0x00})));  // 1936
}

TEST(Image891, ParameterKeys)
{
    struct Case {
        const char* name;
        std::vector<std::pair<const char*, QString>> keys;
        std::vector<TField> fields;  // over the defaults
    };
    const Case cases[] = {
        {"no keys", {}, {{8, 4, 115200}, {20, 4, 10}}},
        {"every key",
         {{"J1939_BAUDRATE", "6"}, {"J1939_TIMEOUT", "30"}, {"J1939_ModReg_TO", "0x100"}, {"J1939_PEER_TO_PEER", "1"},
          {"J1939_Remote_Request", "1"}, {"J1939_RTR_Pri_Dest", "6"}, {"J1939_RTR_PGN1", "65262"},
          {"J1939_RTR_PGN2", "0xFEF1"}, {"J1939_RTR_SA", "3"}, {"MODBUS_SLAVE_BAUDRATE", "5"},
          {"MODBUS_SLAVE_PARITY", "2"}, {"MODBUS_SLAVE_IDDEVICE", "247"}},
         {{0, 4, 500000}, {4, 4, 500000}, {8, 4, 38400}, {12, 4, 2}, {20, 4, 247}, {116, 4, 30}, {120, 4, 256},
          {124, 4, 3}, {128, 4, 6}, {132, 4, 65262}, {136, 4, 0xFEF1}, {140, 4, 3}}},
        {"out of range and unreadable",
         {{"J1939_BAUDRATE", "9"}, {"J1939_PEER_TO_PEER", "true"}, {"J1939_Remote_Request", "1"},
          {"MODBUS_SLAVE_BAUDRATE", "8"}, {"MODBUS_SLAVE_IDDEVICE", "ten"}, {"J1939_TIMEOUT", ""}},
         {{8, 4, 9600}, {20, 4, 10}, {124, 4, 2}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TGenConf conf(0);
        Write_ParGen(c.keys);
        Build_And_Save();
        const QByteArray bank = conf.Bank("bank.bin");
        ASSERT_EQ(bank.size(), 2048);
        EXPECT_TRUE(Bytes_At(bank, 0, Expected_Bytes(2044, {Rec_Defaults, c.fields})));
        EXPECT_EQ(U32_At(bank, 2044), Sum_Of(bank, 0, 2044));
    }
}

// Receive, transmit and both mapping tables filled.
void Write_Tables()
{
    Write_Table_File(File_J1939_Receive, "ReceiveJ1939",
                     {{{"DataPage", "1"}, {"PGN", "0xFEF1"}, {"SourceAddress", "0x21"}, {"TransportProtocol", " y "},
                       {"CancelData", "Y"}, {"StartByte", "2"}, {"NumBytes", "20"}},
                      {{"DataPage", "0"}, {"PGN", "0x1FEEE"}, {"SourceAddress", "0x103"}, {"TransportProtocol", "N"},
                       {"StartByte", "5"}, {"NumBytes", "x"}}});
    Write_Table_File(File_J1939_Transmit, "TransmitJ1939",
                     {{{"Priority", "6"}, {"DataPage", "0"}, {"PGN", "0xFEEE"}, {"SourceAddress", "0x80"},
                       {"TransmitionType", "ON TIMER"}, {"SendTimer", "100"}},
                      {{"Priority", "3"}, {"DataPage", "1"}, {"PGN", "0xEA00"}, {"SourceAddress", "0xFE"},
                       {"TransmitionType", "on data change"}}});
    Write_Table_File(File_Define_J1939_Rec, "DefineRecJ1939",
                     {{{"Num_Frame", "1"}, {"Mod_Index", "7"}, {"Byte_HiPart", "1"}, {"Byte_LoPart", "2"}},
                      {{"Num_Frame", "2"}, {"Mod_Index", "x"}},
                      {{"Num_Frame", "-1"}},
                      {{"Mod_Index", "9"}}});
    Write_Table_File(File_Define_J1939_Tra, "DefineTransJ1939",
                     {{{"Num_Frame", "1"}, {"Mod_Index", "3"}, {"Byte_HiPart", "4"}, {"Byte_LoPart", "5"}, {"Send_on_Write", "1"}}});
}

TEST(Image891, EveryTableFilled)
{
    TGenConf conf(0);
    Write_Tables();
    Build_And_Save();
    const QByteArray bank = conf.Bank("bank.bin");
    ASSERT_EQ(bank.size(), 2048 + 2 * 16 + 2 * 16 + 12 + 12);
    EXPECT_TRUE(Bytes_At(bank, 144, Expected_Bytes(32, {{{0, 4, 2}, {4, 4, 2}, {8, 4, 1}, {12, 4, 1}, {16, 4, 0x68800},
                                                         {20, 4, 0x68820}, {24, 4, 0x68840}, {28, 4, 0x6884C}}})));
    EXPECT_EQ(U32_At(bank, 2044), Sum_Of(bank, 0, 2044));
    // receive: a transport frame of 20 bytes, then a plain frame of 8 whose start byte is 0
    EXPECT_TRUE(Bytes_At(bank, 2048, Raw({0x21, 0xF1, 0xFE, 0x01, 2, 0, 20, 0, 0, 0, 0, 0, 3, 0, 0, 0})));
    EXPECT_TRUE(Bytes_At(bank, 2064, Raw({0x03, 0xEE, 0xFE, 0x00, 0, 0, 8, 0, 0, 0, 20, 0, 0, 0, 0, 0})));
    // transmit: timed, then on data change without a timer; bit 31 marks the extended identifier
    EXPECT_TRUE(Bytes_At(bank, 2080, Raw({0x80, 0xEE, 0xFE, 0x98, 0, 0, 8, 0, 100, 0, 0, 0, 8, 0, 0, 0})));
    EXPECT_TRUE(Bytes_At(bank, 2096, Raw({0xFE, 0x00, 0xEA, 0x8D, 0, 0, 8, 0, 0, 0, 8, 0, 4, 0, 0, 0})));
    // one mapping of receive frame 1 (data offset 20); the others name no frame
    EXPECT_TRUE(Bytes_At(bank, 2112, Raw({7, 0, 1, 0, 2, 0, 20, 0, 0, 0, 0, 0})));
    EXPECT_TRUE(Bytes_At(bank, 2124, Raw({3, 0, 4, 0, 5, 0, 8, 0, 1, 1, 0, 0})));
}

TEST(Image891, PeerToPeerReadsNoSourceAddress)
{
    TGenConf conf(0);
    Write_ParGen({{"J1939_PEER_TO_PEER", "1"}});
    Write_Table_File(File_J1939_Receive, "ReceiveJ1939", {{{"DataPage", "0"}, {"PGN", "0xFEEE"}}});
    Build_And_Save();
    EXPECT_EQ(U32_At(conf.Bank("bank.bin"), 2048), 0x00FEEE00u);
}

TEST(Image891, FailuresWriteNoFile)
{
    struct Case {
        const char* name;
        const QString* file;
        const char* root;
        TRowAttrs row;
        const char* text;
    };
    const Case cases[] = {
        {"receive data page", &File_J1939_Receive, "ReceiveJ1939", {{"DataPage", "abc"}, {"PGN", "1"}, {"SourceAddress", "1"}},
         "J1939_Receive.xml, row 1, DataPage"},
        {"transport frame without size", &File_J1939_Receive, "ReceiveJ1939",
         {{"DataPage", "0"}, {"PGN", "1"}, {"SourceAddress", "1"}, {"TransportProtocol", "Y"}, {"StartByte", "0"}},
         "J1939_Receive.xml, row 1, NumBytes"},
        {"transmit priority", &File_J1939_Transmit, "TransmitJ1939", {{"DataPage", "0"}, {"PGN", "1"}, {"SourceAddress", "1"}},
         "J1939_Transmit.xml, row 1, Priority"},
        {"timed frame without timer", &File_J1939_Transmit, "TransmitJ1939",
         {{"Priority", "6"}, {"DataPage", "0"}, {"PGN", "1"}, {"SourceAddress", "1"}, {"TransmitionType", "ON TIMER"}},
         "J1939_Transmit.xml, row 1, SendTimer"},
        {"accepted mapping", &File_Define_J1939_Tra, "DefineTransJ1939",
         {{"Num_Frame", "0"}, {"Mod_Index", "1"}, {"Byte_HiPart", "1"}, {"Byte_LoPart", "2"}, {"Send_on_Write", "y"}},
         "Define_J1939_Tra.xml, row 1, Send_on_Write"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TGenConf conf(0);
        // one good frame of each direction, so mapping rows are accepted
        Write_Table_File(File_J1939_Receive, "ReceiveJ1939", {{{"DataPage", "0"}, {"PGN", "1"}, {"SourceAddress", "1"}}});
        Write_Table_File(File_J1939_Transmit, "TransmitJ1939",
                         {{{"Priority", "6"}, {"DataPage", "0"}, {"PGN", "1"}, {"SourceAddress", "1"}, {"TransmitionType", "ON DATA CHANGE"}}});
        Write_Table_File(*c.file, c.root, {c.row});
        Write_Raw(Bank_File_Path("bank.bin"), "old");
        EXPECT_TRUE(Build_Fails_With<EConvertError>(c.text));
        EXPECT_EQ(conf.Bank("bank.bin"), QByteArray("old"));
    }
}

TEST(Image891, MoreReceiveFramesThanTheDeviceHoldsAreRefused)
{
    TGenConf conf(0);
    const std::vector<TRowAttrs> rows(251, TRowAttrs{{"DataPage", "0"}, {"PGN", "1"}, {"SourceAddress", "1"}});
    Write_Table_File(File_J1939_Receive, "ReceiveJ1939", rows);
    EXPECT_TRUE(Build_Fails_With("J1939_Receive.xml, row 251: the device holds at most 250 receive frames."));
    EXPECT_FALSE(conf.Has_Bank("bank.bin"));
    // 250 fit
    Write_Table_File(File_J1939_Receive, "ReceiveJ1939", std::vector<TRowAttrs>(rows.begin() + 1, rows.end()));
    Build_And_Save();
    EXPECT_EQ(conf.Bank("bank.bin").size(), 2048 + 250 * 16);
}

TEST(Image891, TablesThatDoNotFitTheImageAreRefused)
{
    TGenConf conf(0);
    Write_Table_File(File_J1939_Receive, "ReceiveJ1939", {{{"DataPage", "0"}, {"PGN", "1"}, {"SourceAddress", "1"}}});
    // (100001 - 2048 - 16) / 12 = 8161 mappings fit; the next is refused
    const std::vector<TRowAttrs> rows(8162, TRowAttrs{{"Num_Frame", "0"}, {"Mod_Index", "1"}, {"Byte_HiPart", "1"}, {"Byte_LoPart", "0"}});
    Write_Table_File(File_Define_J1939_Rec, "DefineRecJ1939", rows);
    EXPECT_TRUE(Build_Fails_With("Define_J1939_Rec.xml, row 8162:"));
    EXPECT_FALSE(conf.Has_Bank("bank.bin"));
}

}  // namespace
