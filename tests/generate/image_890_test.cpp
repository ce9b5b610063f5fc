// Model 890: bank1.bin holds the block and the default data of the transmit frames,
// bank2.bin the frames, the Modbus requests and their register and status maps.
#include "generate/image_890.h"
#include "image_expect.h"
#include "platform/core/exception.h"

namespace {

const std::vector<TField> Rec_Defaults = {
    {0, 4, 1000000}, {16, 4, 9600}, {24, 4, 1000}, {28, 4, 100},
    {48, 4, 0x50000}, {56, 4, 0x50000}, {64, 4, 0x50000}, {72, 4, 0x50000}, {84, 4, 1000000},
};

TEST(Image890, EmptyConfiguration)
{
    TGenConf conf(5);
    Build_And_Save();
    const QByteArray bank1 = conf.Bank("bank1.bin");
    ASSERT_EQ(bank1.size(), 4096);
    EXPECT_TRUE(Bytes_At(bank1, 0, Expected_Bytes(2044, {Rec_Defaults})));
    EXPECT_TRUE(Bytes_At(bank1, 2044, Raw({0x2A, 0x03, 0x00, 0x00})));  // 810
    EXPECT_TRUE(Bytes_At(bank1, 2048, QByteArray(2048, char(0xFF))));
    EXPECT_TRUE(conf.Has_Bank("bank2.bin"));
    EXPECT_EQ(conf.Bank("bank2.bin").size(), 0);
}

TEST(Image890, ParameterKeys)
{
    struct Case {
        const char* name;
        std::vector<std::pair<const char*, QString>> keys;
        std::vector<TField> fields;  // over the defaults
    };
    const std::vector<TField> keyDefaults = {{0, 4, 250000}, {4, 4, 5000}, {12, 4, 1}, {16, 4, 115200}, {84, 4, 250000}};
    const Case cases[] = {
        {"no keys", {}, {}},
        {"odd parity, two stop bits",
         {{"J1939_BAUDRATE", "4"}, {"J1939_TIMEOUT", "0"}, {"J1939_PEER_TO_PEER", "1"}, {"J1939_Device_ID", "0x21"},
          {"MODBUS_MASTER_BAUDRATE", "3"}, {"MODBUS_MASTER_PARITY", "1"}, {"MODBUS_MASTER_STOPBITS", "1"},
          {"MODBUS_MASTER_TimeOut", "300"}, {"MODBUS_MASTER_CyclicDelay", "0"}},
         {{0, 4, 125000}, {4, 4, 0}, {8, 4, 1}, {12, 4, 0x21}, {16, 4, 9600}, {20, 4, 3}, {24, 4, 300}, {28, 4, 0},
          {32, 4, 2}, {84, 4, 125000}}},
        {"even parity, one stop bit", {{"MODBUS_MASTER_PARITY", "2"}, {"MODBUS_MASTER_STOPBITS", "0"}}, {{20, 4, 2}}},
        {"unreadable", {{"MODBUS_MASTER_PARITY", "odd"}, {"MODBUS_MASTER_STOPBITS", "2"}, {"MODBUS_MASTER_BAUDRATE", "9"}},
         {{16, 4, 9600}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TGenConf conf(5);
        Write_ParGen(c.keys);
        Build_And_Save();
        const QByteArray bank1 = conf.Bank("bank1.bin");
        ASSERT_EQ(bank1.size(), 4096);
        EXPECT_TRUE(Bytes_At(bank1, 0, Expected_Bytes(2044, {Rec_Defaults, keyDefaults, c.fields})));
        EXPECT_EQ(U32_At(bank1, 2044), Sum_Of(bank1, 0, 2044));
    }
}

TEST(Image890, EveryTableFilled)
{
    TGenConf conf(5);
    Write_ParGen({{"J1939_TIMEOUT", "2"}});
    Write_Table_File(File_J1939_Receive, "ReceiveJ1939",
                     {{{"DataPage", "0"}, {"PGN", "0xFEF1"}, {"SourceAddress", "3"}, {"TransportProtocol", "Y"},
                       {"CancelData", "Y"}, {"StartByte", "1"}, {"NumBytes", "20"}},
                      {{"DataPage", "0"}, {"PGN", "0xFEF2"}, {"SourceAddress", "4"}, {"CancelData", "y"}}});
    Write_Table_File(File_J1939_Transmit, "TransmitJ1939",
                     {{{"Priority", "6"}, {"DataPage", "0"}, {"PGN", "0xFEF1"}, {"SourceAddress", "0x21"}, {"NumByte", "3"},
                       {"DataChange", "Y"}, {"OnTimer", "y"}, {"SendTimer", "500"}, {"DefaultValues", "1, 2, 3"}}});
    Write_Table_File(File_Modbus_Write_Req, "ModbusWriteRequest",
                     {{{"SlaveID", "7"}, {"Type", "holding register"}, {"Address", "100"}, {"NPoint", "2"}, {"PollTime", "1000"},
                       {"MaxError", "3"}, {"OnChange", "Y"}, {"OnCMD", "Y"}, {"Regs_Status_Map", "[10,11][12,13]"}}});
    Write_Table_File(File_Modbus_Read_Req, "ModbusReadRequest",
                     {{{"SlaveID", "9"}, {"Type", "COIL STATUS"}, {"Address", "0"}, {"NPoint", "3"}, {"PollTime", "200"},
                       {"MaxError", "5"}, {"Regs_Status_Map", " [5,1] [6,9][ 7 , 2 ]"}}});
    Build_And_Save();

    const QByteArray bank1 = conf.Bank("bank1.bin");
    ASSERT_EQ(bank1.size(), 4096);
    EXPECT_TRUE(Bytes_At(bank1, 0,
                         Expected_Bytes(2044, {{{0, 4, 250000}, {4, 4, 2000}, {12, 4, 1}, {16, 4, 115200}, {24, 4, 1000},
                                                {28, 4, 100}, {44, 4, 2}, {48, 4, 0x50000}, {52, 4, 1}, {56, 4, 0x50040},
                                                {60, 4, 1}, {64, 4, 0x50060}, {68, 4, 1}, {72, 4, 0x50074}, {76, 4, 28},
                                                {80, 4, 3}, {84, 4, 250000}}})));
    EXPECT_EQ(U32_At(bank1, 2044), Sum_Of(bank1, 0, 2044));
    EXPECT_TRUE(Bytes_At(bank1, 2048, Raw({1, 2, 3, 0xFF})));
    EXPECT_TRUE(Bytes_At(bank1, 2051, QByteArray(2045, char(0xFF))));

    const QByteArray bank2 = conf.Bank("bank2.bin");
    ASSERT_EQ(bank2.size(), 3 * 32 + 2 * 20 + 5 * 4);
    const QByteArray ff(4, char(0xFF));
    EXPECT_TRUE(Bytes_At(bank2, 0, Raw({0x03, 0xF1, 0xFE, 0x00}) + ff + Raw({0xD0, 0x07, 0, 0, 0, 0, 1, 0, 20, 0}) +
                                       QByteArray(10, '\0') + Raw({1, 0, 0, 0})));
    EXPECT_TRUE(Bytes_At(bank2, 32, Raw({0x04, 0xF2, 0xFE, 0x00}) + ff + Raw({0, 0, 0, 0, 20, 0, 0, 0, 8, 0}) +
                                        QByteArray(10, '\0') + Raw({0, 0, 0, 0})));
    EXPECT_TRUE(Bytes_At(bank2, 64, Raw({0x21, 0xF1, 0xFE, 0x18, 0xF4, 0x01, 0, 0}) + ff + Raw({0, 0, 0, 0, 3, 0}) +
                                        QByteArray(10, '\0') + Raw({0, 0, 49, 0})));
    EXPECT_TRUE(Bytes_At(bank2, 96, Raw({0x88, 0x00, 0x05, 0x00, 7, 16, 100, 0, 2, 0, 3, 0, 0xE8, 0x03, 0, 0, 3, 0, 0, 0})));
    EXPECT_TRUE(Bytes_At(bank2, 116, Raw({0x90, 0x00, 0x05, 0x00, 9, 1, 0, 0, 3, 0, 0, 0, 200, 0, 0, 0, 5, 0, 0, 0})));
    EXPECT_TRUE(Bytes_At(bank2, 136, Raw({10, 0, 11, 0, 12, 0, 13, 0, 5, 0, 1, 0, 7, 0, 2, 0, 0, 0, 0, 0})));
}

TEST(Image890, RegisterAndStatusMaps)
{
    struct Case {
        const char* text;
        int32_t count;
        bool reg;
        std::vector<std::pair<int, int>> entries;
    };
    const Case cases[] = {
        {"[10,11][12,13]", 3, true, {{10, 11}, {12, 13}, {0, 0}}},
        {"[10,11][12,13]", 1, true, {{10, 11}}},
        {"[5,0][5,1]", 2, false, {{5, 1}, {0, 0}}},
        {"[5,2001]", 1, true, {{0, 0}}},
        {"[2000,2000][2001,1]", 2, true, {{2000, 2000}, {0, 0}}},
        {"[5,x][6,7]", 2, true, {{0, 0}, {0, 0}}},
        {"[5,8][6,9]", 2, false, {{5, 8}, {0, 0}}},
        {"", 1, true, {{0, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Reg_Status_Map_Array.assign(size_t(c.count) + 1, TRegStatus_def{0xEEEE, 0xEEEE});
        int32_t index = 1;
        EXPECT_EQ(Parse_Regs_Status_Map(QString::fromLatin1(c.text), c.count, 0x50100, index, c.reg), 0x50100 + 4 * c.count);
        EXPECT_EQ(index, 1 + c.count);
        EXPECT_EQ(Reg_Status_Map_Array[0].HiByte, 0xEEEE);
        for (size_t i = 0; i < c.entries.size(); ++i) {
            EXPECT_EQ(Reg_Status_Map_Array[i + 1].HiByte, c.entries[i].first) << i;
            EXPECT_EQ(Reg_Status_Map_Array[i + 1].LoByte, c.entries[i].second) << i;
        }
    }
}

TEST(Image890, TransmitFramesAndTheirDefaultValues)
{
    TGenConf conf(5);
    const auto frame = [](const char* numByte, const QString& values) {
        return TRowAttrs{{"Priority", "x"}, {"NumByte", QString::fromLatin1(numByte)}, {"DefaultValues", values}};
    };
    Write_Table_File(File_J1939_Transmit, "TransmitJ1939",
                     {frame("3", "1, 2, 3"), frame("2", "1,2,3"), frame("3", "4,,5,6"), frame("2", "7,256"), frame("x", ""),
                      frame("1", " 0x10 "), frame("9", QString()),
                      {{"OnTimer", "Y"}, {"SendTimer", "soon"}, {"Request", "y"}}});
    Build_And_Save();
    const QByteArray bank1 = conf.Bank("bank1.bin");
    QByteArray area(2048, char(0xFF));
    for (const auto& [off, v] : std::vector<std::pair<int, int>>{{0, 1}, {1, 2}, {2, 3}, {5, 4}, {6, 5}, {7, 6}, {18, 0x10}})
        area[off] = char(v);
    EXPECT_TRUE(Bytes_At(bank1, 2048, area));
    EXPECT_EQ(U32_At(bank1, 80), 3u + 2 + 3 + 2 + 8 + 1 + 9 + 8);
    const QByteArray bank2 = conf.Bank("bank2.bin");
    ASSERT_EQ(bank2.size(), 8 * 32);
    // identifier parts never fail; data offsets run on; more than 8 bytes is a multi-frame
    EXPECT_EQ(U32_At(bank2, 0), 0u);
    const std::pair<int, int> offsetsAndSizes[] = {{0, 3}, {3, 2}, {5, 3}, {8, 2}, {10, 8}, {18, 1}, {19, 9}, {28, 8}};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(U16_At(bank2, 32 * i + 12), offsetsAndSizes[i].first) << i;
        EXPECT_EQ(U16_At(bank2, 32 * i + 16), offsetsAndSizes[i].second) << i;
        EXPECT_EQ(U16_At(bank2, 32 * i + 28), i == 6 ? 1 : 0) << i;
    }
    // a timer that is not a number leaves the timer flag and a zero timer
    EXPECT_EQ(U32_At(bank2, 7 * 32 + 4), 0u);
    EXPECT_EQ(U8_At(bank2, 7 * 32 + 30), 1 + 16 + 64);
}

// Function codes by type and size, flags by their exact texts, and coil maps for coil writes
// and status reads.
TEST(Image890, RequestFunctionsFlagsAndMapKinds)
{
    TGenConf conf(5);
    const auto req = [](const char* slave, const char* type, const char* address, const char* npoint, const char* poll,
                        const char* maxError, std::vector<std::pair<const char*, QString>> more) {
        TRowAttrs r = {{"SlaveID", slave}, {"Type", type}, {"Address", address}, {"NPoint", npoint}, {"PollTime", poll},
                       {"MaxError", maxError}};
        r.insert(r.end(), more.begin(), more.end());
        return r;
    };
    Write_Table_File(File_Modbus_Write_Req, "ModbusWriteRequest",
                     {req("1", "coil status", "10", "1", "100", "2", {{"OnChange", "y"}, {"Regs_Status_Map", "[5,9][6,2]"}}),
                      req("2", "COIL STATUS", "20", "2", "200", "3", {{"OnCMD", "Y"}}),
                      req("3", "Holding Register", "30", "1", "300", "4", {{"OnChange", "Y"}, {"Regs_Status_Map", "[7,1999]"}})});
    Write_Table_File(File_Modbus_Read_Req, "ModbusReadRequest",
                     {req("4", "input status", "0", "1", "10", "0", {{"Regs_Status_Map", "[8,3]"}}),
                      req("5", "holding register", "0", "1", "10", "0", {{"OnChange", "Y"}, {"Regs_Status_Map", "[8,300]"}}),
                      req("6", "INPUT REGISTER", "0", "0", "10", "0", {{"Regs_Status_Map", "[1,1]"}})});
    Build_And_Save();
    const QByteArray bank1 = conf.Bank("bank1.bin");
    EXPECT_TRUE(Bytes_At(bank1, 60, Expected_Bytes(16, {{{0, 4, 3}, {4, 4, 0x50000}, {8, 4, 3}, {12, 4, 0x5003C}}})));
    const QByteArray bank2 = conf.Bank("bank2.bin");
    ASSERT_EQ(bank2.size(), 6 * 20 + 6 * 4);
    EXPECT_TRUE(Bytes_At(bank2, 0,
                         Raw({0x78, 0x00, 0x05, 0x00, 1, 5, 10, 0, 1, 0, 0, 0, 100, 0, 0, 0, 2, 0, 0, 0,
                              0x7C, 0x00, 0x05, 0x00, 2, 15, 20, 0, 2, 0, 2, 0, 200, 0, 0, 0, 3, 0, 0, 0,
                              0x84, 0x00, 0x05, 0x00, 3, 6, 30, 0, 1, 0, 1, 0, 0x2C, 0x01, 0, 0, 4, 0, 0, 0,
                              0x88, 0x00, 0x05, 0x00, 4, 2, 0, 0, 1, 0, 0, 0, 10, 0, 0, 0, 0, 0, 0, 0,
                              0x8C, 0x00, 0x05, 0x00, 5, 3, 0, 0, 1, 0, 0, 0, 10, 0, 0, 0, 0, 0, 0, 0,
                              0x90, 0x00, 0x05, 0x00, 6, 4, 0, 0, 0, 0, 0, 0, 10, 0, 0, 0, 0, 0, 0, 0,
                              6, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 7, 0, 0xCF, 0x07, 8, 0, 3, 0, 8, 0, 0x2C, 0x01})));
}

// An empty list of default values stores nothing, so it never runs past the area.
TEST(Image890, NoDefaultValuesBeyondTheAreaAreNoRefusal)
{
    TGenConf conf(5);
    Write_Table_File(File_J1939_Transmit, "TransmitJ1939", {{{"NumByte", "2049"}}, {{"NumByte", "0"}, {"DefaultValues", " , "}}});
    Build_And_Save();
    const QByteArray bank1 = conf.Bank("bank1.bin");
    ASSERT_EQ(bank1.size(), 4096);
    EXPECT_EQ(U32_At(bank1, 80), 2049u);
    EXPECT_TRUE(Bytes_At(bank1, 2048, QByteArray(2048, char(0xFF))));
    const QByteArray bank2 = conf.Bank("bank2.bin");
    ASSERT_EQ(bank2.size(), 2 * 32);
    EXPECT_EQ(U16_At(bank2, 32 + 12), 2049);  // the second frame's data offset
    EXPECT_EQ(U16_At(bank2, 32 + 16), 0);     // and its size
}

TEST(Image890, StrictRequestValuesWriteNoFile)
{
    struct Case {
        const char* name;
        bool write;
        TRowAttrs row;
        const char* text;
    };
    const TRowAttrs good = {{"SlaveID", "1"}, {"Type", "INPUT REGISTER"}, {"Address", "0"}, {"NPoint", "1"}, {"PollTime", "100"},
                            {"MaxError", "1"}};
    const auto with = [&](const char* attr, const QString& v) {
        TRowAttrs r = good;
        for (auto& [k, val] : r)
            if (qstrcmp(k, attr) == 0) val = v;
        return r;
    };
    const Case cases[] = {
        {"write slave id", true, with("SlaveID", "x"), "Modbus_Write_Req.xml, row 1, SlaveID"},
        {"write point count missing", true, with("NPoint", QString()), "Modbus_Write_Req.xml, row 1, NPoint"},
        {"read poll time missing", false, with("PollTime", QString()), "Modbus_Read_Req.xml, row 1, PollTime"},
        {"read error count", false, with("MaxError", "abc"), "Modbus_Read_Req.xml, row 1, MaxError"},
        {"read address", false, with("Address", "1.5"), "Modbus_Read_Req.xml, row 1, Address"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TGenConf conf(5);
        Write_Table_File(c.write ? File_Modbus_Write_Req : File_Modbus_Read_Req, "Requests", {c.row});
        Write_Raw(Bank_File_Path("bank1.bin"), "old");
        EXPECT_TRUE(Build_Fails_With<EConvertError>(c.text));
        EXPECT_EQ(conf.Bank("bank1.bin"), QByteArray("old"));
        EXPECT_FALSE(conf.Has_Bank("bank2.bin"));
    }
}

TEST(Image890, WhatDoesNotFitTheImageIsRefused)
{
    const TRowAttrs rx = {{"PGN", "1"}};
    const TRowAttrs req = {{"SlaveID", "1"}, {"Address", "0"}, {"NPoint", "1"}, {"PollTime", "100"}, {"MaxError", "1"}};
    struct Case {
        const char* name;
        std::function<void()> write;
        const char* text;
    };
    const Case cases[] = {
        {"receive frames",
         [&] { Write_Table_File(File_J1939_Receive, "R", std::vector<TRowAttrs>(1025, rx)); },
         "J1939_Receive.xml, row 1025: the device holds at most 1024 J1939 frames."},
        {"frames of both directions",
         [&] {
             Write_Table_File(File_J1939_Receive, "R", std::vector<TRowAttrs>(1000, rx));
             Write_Table_File(File_J1939_Transmit, "T", std::vector<TRowAttrs>(25, rx));
         },
         "J1939_Transmit.xml, row 25: the device holds at most 1024 J1939 frames, receive and transmit together."},
        {"requests of both kinds",
         [&] {
             Write_Table_File(File_Modbus_Write_Req, "W", std::vector<TRowAttrs>(1000, req));
             Write_Table_File(File_Modbus_Read_Req, "R", std::vector<TRowAttrs>(25, req));
         },
         "Modbus_Read_Req.xml, row 25: the device holds at most 1024 Modbus requests, write and read together."},
        {"register maps",
         [&] {
             TRowAttrs big = req;
             big[2].second = QStringLiteral("30000");
             Write_Table_File(File_Modbus_Write_Req, "W", {req, big});
         },
         "Modbus_Write_Req.xml, row 2: the frames, requests and register maps do not fit"},
        {"default values past their area",
         [&] {
             Write_Table_File(File_J1939_Transmit, "T",
                              {{{"NumByte", "2040"}}, {{"NumByte", "8"}, {"DefaultValues", "1,2,3,4,5,6,7,8"}},
                               {{"NumByte", "2"}, {"DefaultValues", "1,2"}}});
         },
         "J1939_Transmit.xml, row 3: the default values run past the 2048 bytes of their area."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TGenConf conf(5);
        c.write();
        EXPECT_TRUE(Build_Fails_With(c.text));
        EXPECT_FALSE(conf.Has_Bank("bank1.bin"));
        EXPECT_FALSE(conf.Has_Bank("bank2.bin"));
    }
}

}  // namespace
