// Model 896: the CAN-family block, then seven sections of records back to back.
#include "image_expect.h"
#include "platform/core/exception.h"

namespace {

// What a ParGen.xml without keys sets.
const std::vector<TField> Key_Defaults = {{16, 4, 5}, {20, 4, 1000000}, {28, 4, 10000}, {32, 4, 10000}, {36, 4, 1000}};

// Section_Dir entry k as (count, start).
std::vector<TField> Dir(std::initializer_list<std::pair<uint32_t, uint32_t>> entries)
{
    std::vector<TField> f;
    int k = 0;
    for (const auto& [count, start] : entries) {
        f.push_back({40 + 8 * k, 4, count});
        f.push_back({44 + 8 * k, 4, start});
        ++k;
    }
    return f;
}

const TRowAttrs Rx_Row = {{"DataPage", "0"}, {"PGN", "0xFEF1"}, {"SourceAddress", "0"}};
const TRowAttrs Tx_Row = {{"Priority", "6"}, {"DataPage", "0"}, {"PGN", "0xFEF1"}, {"SourceAddress", "0x21"}};

TEST(Image896, NoDocuments)
{
    TGenConf conf(4);
    Build_And_Save();
    const QByteArray bank = conf.Bank("bank.bin");
    ASSERT_EQ(bank.size(), 2048);
    EXPECT_TRUE(Bytes_At(bank, 0, Expected_Bytes(2044, {Can_Defaults})));
    EXPECT_EQ(U32_At(bank, 2044), 3493u);
}

TEST(Image896, ParametersOnlyRebaseEveryEmptySection)
{
    TGenConf conf(4);
    Write_ParGen({});
    Build_And_Save();
    const QByteArray bank = conf.Bank("bank.bin");
    ASSERT_EQ(bank.size(), 2048);
    EXPECT_TRUE(Bytes_At(bank, 0,
                         Expected_Bytes(2044, {Can_Defaults, Key_Defaults,
                                               Dir({{0, 0x68800}, {0, 0x68800}, {0, 0x68800}, {0, 0x68800}, {0, 0x68800},
                                                    {0, 0x68800}, {0, 0x68800}})})));
    EXPECT_EQ(U32_At(bank, 2044), Sum_Of(bank, 0, 2044));
}

TEST(Image896, OneFrameEachWay)
{
    TGenConf conf(4);
    Write_ParGen({});
    Write_Table_File(File_J1939_Receive, "ReceiveNMEA2000", {Rx_Row});
    Write_Table_File(File_J1939_Transmit, "ReceiveNMEA2000", {Tx_Row});
    Build_And_Save();
    const QByteArray bank = conf.Bank("bank.bin");
    ASSERT_EQ(bank.size(), 2076);
    EXPECT_TRUE(Bytes_At(bank, 0,
                         Expected_Bytes(2044, {Can_Defaults, Key_Defaults,
                                               Dir({{1, 0x68800}, {1, 0x68810}, {0, 0x6881C}, {0, 0x6881C}, {0, 0x6881C},
                                                    {0, 0x6881C}, {0, 0x6881C}})})));
    EXPECT_TRUE(Bytes_At(bank, 2048, Raw({0x00, 0xF1, 0xFE, 0x00, 0, 0, 0, 0, 8, 0, 0, 0, 0, 0, 0, 0})));
    EXPECT_TRUE(Bytes_At(bank, 2064, Raw({0x21, 0xF1, 0xFE, 0x18, 0, 0, 0, 0, 0, 0, 0, 0})));
}

TEST(Image896, EveryTableFilled)
{
    TGenConf conf(4);
    Write_ParGen({{"J1939_BAUDRATE", "6"}, {"J1939_TIMEOUT", "3"}, {"J1939_PEER_TO_PEER", "1"}, {"J1939_Device_ID", "0x21"},
                  {"CANopen_ID", "7"}, {"CANopen_Baud", "4"}, {"CANopen_Set_Operational", "1"}, {"CANopen_Net_Operational", "0"},
                  {"CANopen_Delay", "2"}, {"CANopen_En_SDO_Client", "1"}, {"CANopen_SDO_Client_TimeOut", "5000"},
                  {"CANopen_En_NodeGuard", "1"}, {"CANopen_NG_Send_Frames", "1"}, {"CANopen_NG_Time_Send_Frames", "2000"}});
    Write_Table_File(File_J1939_Receive, "ReceiveNMEA2000",
                     {{{"DataPage", "0"}, {"PGN", "0xFEF1"}, {"SourceAddress", "0"}, {"TransportProtocol", "y"}, {"CancelData", "Y"},
                       {"OnRequest", "y"}, {"StartByte", "3"}, {"NumBytes", "20"}, {"OnReq_Time", "250"}},
                      {{"DataPage", "0"}, {"PGN", "0x1FEF1"}, {"SourceAddress", "5"}, {"TransportProtocol", " Y"},
                       {"StartByte", "4"}, {"NumBytes", "30"}}});
    Write_Table_File(File_J1939_Transmit, "ReceiveNMEA2000",
                     {{{"Priority", "6"}, {"DataPage", "0"}, {"PGN", "0xFEF1"}, {"SourceAddress", "0x21"}, {"OnTimer", "y"},
                       {"OnTimer_Time", "100"}},
                      {{"Priority", "3"}, {"DataPage", "1"}, {"PGN", "0xEA00"}, {"SourceAddress", "0xFE"}, {"OnRequest", "Y"},
                       {"DataChange", "y"}}});
    Write_Table_File(File_CANopen_Define_Server_SDO_Read, "DefineSDOServerRecJ1939",
                     {{{"NrPdo", "2"}, {"Index", "0x2000"}, {"SubIndex", "1"}, {"Dimension", "2"}, {"B1", "3"}},
                      {{"NrPdo", "3"}, {"Index", "0x2000"}},
                      {{"NrPdo", "0"}, {"Index", "0x2000"}},
                      {{"NrPdo", ""}, {"Index", "0x2000"}}});
    Write_Table_File(File_CANopen_Define_Server_SDO_Write, "DefineSDOServerTraJ1939",
                     {{{"NrPdo", "1"}, {"Index", "0x2001"}, {"SubIndex", "0"}, {"Dimension", "1"}, {"B1", "1"}, {"B2", "2"},
                       {"Send_SDO", "1"}}});
    Write_Table_File(File_CANopen_TPDO, "Define_TPDO",
                     {{{"COB-ID", "0x181"}, {"Dimension", "8"}, {"Offset", "2"}, {"Frame_J1939", "1"}, {"DataChange", "Y"},
                       {"OnCAN", "y"}, {"OnTimer", "N"}, {"SendTimer", "50"}}});
    Write_Table_File(File_CANopen_RPDO, "Define_RPDO",
                     {{{"COB-ID", "0x201"}, {"Dimension", "4"}, {"Offset", "0"}, {"Frame_J1939", "2"}}});
    Write_Table_File(File_CANopen_Define_NodeGuard, "Node_Guarding",
                     {{{"NodeID", "3"}, {"GuardTime", "1000"}, {"LifeTimeFactor", "2"}},
                      {{"NodeID", "4"}, {"GuardTime", "500"}, {"LifeTimeFactor", "3"}}});
    Write_Table_File(File_CANopen_Define_Client_SDO, "J1939_Frames_SDOClient",
                     {{{"Priority", "6"}, {"DataPage", "0"}, {"PGN", "0xEF00"}, {"SA", "0x10"}},
                      {{"Priority", "6"}, {"DataPage", "0"}, {"PGN", "0xEF00"}, {"SA", "0x20"}},
                      {{"Priority", "6"}, {"DataPage", "0"}, {"PGN", "abc"}, {"SA", "0x30"}}});
    std::vector<TRowAttrs> ng;
    for (int r = 0; r < 4; ++r)
        ng.push_back({{"Priority", "7"}, {"DataPage", "0"}, {"PGN", QString::number(0xFF00 + r)}, {"SA", "0x30"}});
    ng.push_back({});
    Write_Table_File(File_CANopen_Define_NG_J1939_Frames, "NG_J1939_Frames", ng);
    Build_And_Save();

    const QByteArray bank = conf.Bank("bank.bin");
    ASSERT_EQ(bank.size(), 2172);
    EXPECT_TRUE(Bytes_At(bank, 0,
                         Expected_Bytes(2044, {Can_Defaults,
                                               {{0, 4, 500000}, {4, 4, 3000}, {8, 4, 1}, {12, 4, 0x21}, {16, 4, 7},
                                                {20, 4, 125000}, {24, 4, 1 + 4 + 8 + 16}, {28, 4, 2000}, {32, 4, 5000}, {36, 4, 2000},
                                                {96, 4, 0x00EF0010}, {100, 4, 0x18EF0020}, {116, 4, 0x1CFF0030},
                                                {120, 4, 0x1CFF0130}, {124, 4, 0x1CFF0230}, {128, 4, 0x1CFF0330}, {132, 4, 0}},
                                               Dir({{2, 0x68800}, {2, 0x68820}, {1, 0x68838}, {1, 0x68848}, {1, 0x6885C},
                                                    {1, 0x6886C}, {2, 0x68874}})})));
    EXPECT_EQ(U32_At(bank, 2044), Sum_Of(bank, 0, 2044));
    const std::pair<int, QByteArray> records[] = {
        // receive: transport frame of 20 bytes, then a plain one (" Y" is no flag) at data offset 20
        {2048, Raw({0x00, 0xF1, 0xFE, 0x00, 7, 0, 3, 0, 20, 0, 0, 0, 250, 0, 0, 0})},
        {2064, Raw({0x05, 0xF1, 0xFE, 0x01, 0, 0, 0, 0, 8, 0, 20, 0, 0, 0, 0, 0})},
        {2080, Raw({0x21, 0xF1, 0xFE, 0x18, 4, 0, 0, 0, 100, 0, 0, 0})},
        {2092, Raw({0xFE, 0x00, 0xEA, 0x0D, 3, 0, 8, 0, 0, 0, 0, 0})},
        // SDO read of receive frame 1 (data offset 20), one byte; the rows naming no frame are left out
        {2104, Raw({1, 0, 20, 0, 0x00, 0x20, 1, 1, 3, 0, 0, 0, 0, 0, 0, 0})},
        {2120, Raw({0, 0, 0, 0, 0x01, 0x20, 0, 2, 1, 0, 2, 0, 0, 0, 0, 0, 1, 0, 0, 0})},
        {2140, Raw({0x81, 0x01, 8, 3, 2, 0, 0, 0, 0, 0, 0, 0, 50, 0, 0, 0})},
        {2156, Raw({0x01, 0x02, 4, 0, 0, 0, 8, 0})},
        {2164, Raw({3, 2, 0xE8, 0x03, 4, 3, 0xF4, 0x01})},
    };
    for (const auto& [at, bytes] : records) EXPECT_TRUE(Bytes_At(bank, at, bytes)) << at;
}

TEST(Image896, ObjectSizes)
{
    TGenConf conf(4);
    Write_Table_File(File_J1939_Receive, "ReceiveNMEA2000", {Rx_Row});
    std::vector<TRowAttrs> rows;
    for (const char* d : {"0", "1", "2", "256", "x"}) rows.push_back({{"NrPdo", "1"}, {"Dimension", d}});
    Write_Table_File(File_CANopen_Define_Server_SDO_Read, "DefineSDOServerRecJ1939", rows);
    Build_And_Save();
    const QByteArray bank = conf.Bank("bank.bin");
    ASSERT_EQ(bank.size(), 2048 + 16 + 5 * 16);
    const int sizes[] = {4, 2, 1, 4, 4};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(U8_At(bank, 2064 + 16 * i + 7), sizes[i]) << i;
}

TEST(Image896, NodeGuardingAndTheFixedFrames)
{
    struct Case {
        const char* name;
        bool parGen;
        const char* enable;
        bool file;
        uint32_t options;
        uint32_t firstStart;
    };
    const Case cases[] = {
        {"enabled without its file", true, "1", false, 8, 0x68800},
        {"file while disabled", true, "0", true, 0, 0x68800},
        {"file without parameters", false, nullptr, true, 0, 2048},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TGenConf conf(4);
        if (c.parGen) Write_ParGen({{"CANopen_En_NodeGuard", QString::fromLatin1(c.enable)}});
        if (c.file) Write_Table_File(File_CANopen_Define_NodeGuard, "Node_Guarding", {{{"NodeID", "3"}}});
        // the fixed frames are read only together with the parameters
        Write_Table_File(File_CANopen_Define_Client_SDO, "J1939_Frames_SDOClient", {{{"PGN", "1"}}});
        Write_Table_File(File_CANopen_Define_NG_J1939_Frames, "NG_J1939_Frames", {{{"PGN", "1"}}});
        Build_And_Save();
        const QByteArray bank = conf.Bank("bank.bin");
        ASSERT_EQ(bank.size(), 2048);
        EXPECT_EQ(U32_At(bank, 24), c.options);
        EXPECT_EQ(U32_At(bank, 88), 0u);
        EXPECT_EQ(U32_At(bank, 92), c.firstStart);
        EXPECT_EQ(U32_At(bank, 96), c.parGen ? 0x100u : 0x101u);
        EXPECT_EQ(U32_At(bank, 116), c.parGen ? 0x100u : 0x101u);
        EXPECT_EQ(U32_At(bank, 100), 0x202u);
    }
}

TEST(Image896, TableFilesWithoutTheirRootElement)
{
    TGenConf conf(4);
    Write_ParGen({{"CANopen_En_NodeGuard", "1"}});
    Write_Table_File(File_CANopen_Define_NodeGuard, "Guards", {{{"NodeID", "3"}}});
    Write_Table_File(File_CANopen_Define_Client_SDO, "Frames", {{{"PGN", "1"}}});
    Build_And_Save();
    const QByteArray bank = conf.Bank("bank.bin");
    ASSERT_EQ(bank.size(), 2048);
    EXPECT_EQ(U32_At(bank, 88), 0u);
    EXPECT_EQ(U32_At(bank, 96), 0x101u);
}

TEST(Image896, WhatDoesNotFitIsRefused)
{
    struct Case {
        const char* name;
        std::function<void()> write;
        const char* text;
    };
    const Case cases[] = {
        {"receive frames",
         [] { Write_Table_File(File_J1939_Receive, "R", std::vector<TRowAttrs>(252, Rx_Row)); },
         "J1939_Receive.xml, row 252: the device holds at most 251 receive frames."},
        // (100001 - 2048 - 12) / 20 = 4897 write mappings fit
        {"image",
         [] {
             Write_Table_File(File_J1939_Transmit, "T", {Tx_Row});
             Write_Table_File(File_CANopen_Define_Server_SDO_Write, "W", std::vector<TRowAttrs>(4898, TRowAttrs{{"NrPdo", "1"}}));
         },
         "CANopen_Define_Server_SDO_Write.xml, row 4898: the sections do not fit the 100001 bytes of the image."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TGenConf conf(4);
        c.write();
        EXPECT_TRUE(Build_Fails_With(c.text));
        EXPECT_FALSE(conf.Has_Bank("bank.bin"));
    }
    // 251 receive frames fit
    TGenConf conf(4);
    Write_Table_File(File_J1939_Receive, "R", std::vector<TRowAttrs>(251, Rx_Row));
    Build_And_Save();
    EXPECT_EQ(conf.Bank("bank.bin").size(), 2048 + 251 * 16);
}

}  // namespace
