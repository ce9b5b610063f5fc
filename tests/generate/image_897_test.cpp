#include "generate/gen_fixture.h"
#include "generate/image_dispatch.h"
#include "platform/core/exception.h"
#include "state/shared_state.h"

#include <gtest/gtest.h>

namespace {

QByteArray Build_And_Save(const TGenConf& conf)
{
    ::Build_And_Save();
    return conf.Bank("bank.bin");
}

const QByteArray Cleared_CAN_Entry = QByteArray(16, 0) + QByteArray(16, char(0xFF));

void Expect_Cleared_CAN_Table(const QByteArray& b, int from, int to)
{
    for (int i = from; i < to; ++i) ASSERT_EQ(b.mid(32 * i, 32), Cleared_CAN_Entry) << "entry " << i;
}

constexpr int Block = 16384;

// A receive frame of 3 data bytes and two transmit frames, the second a 29-bit one.
void Write_CAN_Files()
{
    Write_Table_File(File_CAN_Define_Receive, "Receive_CAN",
                     {{{"Cob-ID", "0x123"}, {"Type", "2.0A (11bits)"}, {"Dimension", "3"}, {"Byte1", "10"}, {"Byte2", "11"},
                       {"Byte3", "12"}, {"Byte4", "junk"}, {"TimeOut", "500"}}});
    Write_Table_File(File_CAN_Define_Transmit, "Transmit_CAN",
                     {{{"Cob-ID", "256"}, {"Dimension", "8"}, {"Byte1", "0"}, {"Byte2", "1"}, {"Byte3", "2"}, {"Byte4", "3"},
                       {"Byte5", "4"}, {"Byte6", "5"}, {"Byte7", "6"}, {"Byte8", "1999"}, {"DataChange", "y"}, {"Time", " Y"},
                       {"Time_ms", "abc"}},
                      {{"Cob-ID", "0x18FF0001"}, {"Type", "2.0B (29bits)"}, {"Dimension", "1"}, {"Byte1", "5"}, {"Time", "Y"},
                       {"Time_ms", "100"}}});
}

void Expect_CAN_Rows(const QByteArray& b, int table)
{
    EXPECT_EQ(b.mid(table, 32), Bytes({0x23, 1, 0, 0, 0, 0, 0, 0, 0xF4, 1, 0, 0, 0, 0, 3, 0, 10, 0, 11, 0, 12, 0}) +
                                    QByteArray(10, char(0xFF)));
    EXPECT_EQ(b.mid(table + 8192, 32), Bytes({0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 8, 0,  //
                                              0, 0, 1, 0, 2, 0, 3, 0, 4, 0, 5, 0, 6, 0, 0xCF, 0x07}));
    EXPECT_EQ(b.mid(table + 8224, 32), Bytes({1, 0, 0xFF, 0x98, 100, 0, 0, 0, 0, 0, 0, 0, 0, 4, 1, 0, 5, 0}) +
                                           QByteArray(14, char(0xFF)));
}

TEST(Image897, EmptyConfiguration)
{
    TGenConf conf(6);
    const QByteArray b = Build_And_Save(conf);
    ASSERT_EQ(b.size(), 18432);
    Expect_Cleared_CAN_Table(b, 0, 512);
    EXPECT_EQ(U32_At(b, Block + 20), 0xFAu);
    EXPECT_EQ(U32_At(b, Block + 40), 0u);
    EXPECT_EQ(U32_At(b, Block + 44), 2048u);
    EXPECT_EQ(U32_At(b, Block + 48), 0u);
    EXPECT_EQ(U32_At(b, Block + 52), 2048u);
    EXPECT_EQ(U32_At(b, Block + 136), 0u);
    EXPECT_EQ(U32_At(b, Block + 144), 0u);
    // every field at its default
    EXPECT_EQ(U32_At(b, Block + 2044), 3493u);
}

TEST(Image897, ParametersOnly)
{
    struct Case {
        const char* Baud;
        uint32_t BitRate;
    };
    for (const Case& c : {Case{"9", 667000}, Case{"10", 750000}, Case{"11", 250000}, Case{"8", 1000000}}) {
        TGenConf conf(6);
        Write_ParGen({{"J1939_BAUDRATE", c.Baud}, {"J1939_TIMEOUT", "3"}, {"J1939_PEER_TO_PEER", "1"}, {"J1939_Device_ID", "7"}});
        const QByteArray b = Build_And_Save(conf);
        ASSERT_EQ(b.size(), 18432);
        EXPECT_EQ(U32_At(b, Block + 0), c.BitRate) << c.Baud;
        EXPECT_EQ(U32_At(b, Block + 4), 3000u);
        EXPECT_EQ(U32_At(b, Block + 8), 1u);
        EXPECT_EQ(U32_At(b, Block + 12), 7u);
        EXPECT_EQ(U32_At(b, Block + 20), 1000000u);
        EXPECT_EQ(U32_At(b, Block + 44), 0x68800u);
        EXPECT_EQ(U32_At(b, Block + 52), 0x68800u);
        // the sections the model does not use keep their unrebased start
        EXPECT_EQ(U32_At(b, Block + 60), 2048u);
        EXPECT_EQ(U32_At(b, Block + 2044), Sum_Of(b, Block, 2044));
    }
}

TEST(Image897, EveryTableFilled)
{
    TGenConf conf(6);
    Write_CAN_Files();
    Write_ParGen({{"CAN_Baudrate", "3"}});
    Write_Table_File(File_J1939_Receive, "ReceiveNMEA2000",
                     {{{"PGN", "0xFECA"}, {"SourceAddress", "0"}, {"TransportProtocol", "Y"}, {"StartByte", "1"}, {"NumBytes", "20"},
                       {"OnReq_Time", "9"}},
                      {{"DataPage", "1"}, {"CancelData", "Y"}}});
    Write_Table_File(File_J1939_Transmit, "ReceiveNMEA2000",
                     {{{"Priority", "6"}, {"PGN", "65280"}, {"SourceAddress", "0x21"}, {"OnTimer", "Y"}, {"OnTimer_Time", "250"}},
                      {{"DataChange", "y"}},
                      {{"OnRequest", "Y"}}});
    const QByteArray b = Build_And_Save(conf);
    ASSERT_EQ(b.size(), 18500);
    Expect_CAN_Rows(b, 0);
    Expect_Cleared_CAN_Table(b, 1, 256);
    Expect_Cleared_CAN_Table(b, 258, 512);
    EXPECT_EQ(U32_At(b, Block + 20), 62500u);
    EXPECT_EQ(b.mid(Block + 40, 16), Bytes({2, 0, 0, 0, 0x00, 0x88, 6, 0, 3, 0, 0, 0, 0x20, 0x88, 6, 0}));
    EXPECT_EQ(U32_At(b, Block + 136), 1u);
    EXPECT_EQ(U32_At(b, Block + 144), 2u);
    EXPECT_EQ(U32_At(b, Block + 2044), Sum_Of(b, Block, 2044));
    EXPECT_EQ(b.mid(18432, 32), Bytes({0, 0xCA, 0xFE, 0, 1, 0, 1, 0, 20, 0, 0, 0, 9, 0, 0, 0,  //
                                       0, 0, 0, 1, 2, 0, 0, 0, 8, 0, 20, 0, 0, 0, 0, 0}));
    EXPECT_EQ(b.mid(18464, 36), Bytes({0x21, 0, 0xFF, 0x18, 4, 0, 0, 0, 0xFA, 0, 0, 0,  //
                                       0, 0, 0, 0, 2, 0, 8, 0, 0, 0, 0, 0,               //
                                       0, 0, 0, 0, 1, 0, 16, 0, 0, 0, 0, 0}));
}

TEST(Image897, MalformedOrTooManyCANRowsWriteNothing)
{
    struct Case {
        const char* Name;
        bool Transmit;
        std::vector<TRowAttrs> Rows;
        const char* Text;
    };
    const TRowAttrs good{{"Cob-ID", "1"}, {"Dimension", "2"}, {"Byte1", "0"}, {"Byte2", "1"}, {"TimeOut", "0"}};
    TRowAttrs noTimeout = good;
    noTimeout.pop_back();
    TRowAttrs shortData = good;
    shortData[3].second = "x";
    const Case cases[] = {
        {"receive time-out missing", false, {good, noTimeout}, "CAN_Define_Receive.xml, row 2, TimeOut"},
        {"data position not a number", true, {shortData}, "CAN_Define_Transmit.xml, row 1, Byte2"},
        {"identifier missing", true, {{{"Dimension", "0"}}}, "CAN_Define_Transmit.xml, row 1, Cob-ID"},
        {"257 transmit rows", true, std::vector<TRowAttrs>(257, good), "CAN_Define_Transmit.xml, row 257:"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TGenConf conf(6);
        Write_Table_File(c.Transmit ? File_CAN_Define_Transmit : File_CAN_Define_Receive, "CAN", c.Rows);
        try {
            Build_Device_Image();
            FAIL() << "no error";
        } catch (const Exception& e) {
            EXPECT_TRUE(e.Message().startsWith(c.Text)) << e.what();
        }
        EXPECT_FALSE(conf.Has_Bank("bank.bin"));
    }
    // a full half is accepted
    TGenConf conf(6);
    Write_Table_File(File_CAN_Define_Transmit, "CAN", std::vector<TRowAttrs>(256, good));
    EXPECT_EQ(Build_And_Save(conf).size(), 18432);
}

TEST(Image897, J1939SectionsBeyondTheImageBufferAreRefused)
{
    TGenConf conf(6);
    // (100001 - 18432) / 16 = 5098 receive rows fit
    Write_Table_File(File_J1939_Receive, "ReceiveNMEA2000", std::vector<TRowAttrs>(5099));
    try {
        Build_Device_Image();
        FAIL() << "not refused";
    } catch (const Exception& e) {
        EXPECT_TRUE(e.Message().startsWith("J1939_Receive.xml, row 5099:")) << e.what();
    }
}

constexpr int Block860 = 32768;

TEST(Image860, EmptyConfiguration)
{
    TGenConf conf(10);
    const QByteArray b = Build_And_Save(conf);
    ASSERT_EQ(b.size(), 34816);
    Expect_Cleared_CAN_Table(b, 0, 512);
    EXPECT_EQ(b.mid(16384, 16384), QByteArray(16384, 0));
    EXPECT_EQ(U32_At(b, Block860 + 0), 250000u);
    EXPECT_EQ(U32_At(b, Block860 + 4), 250000u);
    EXPECT_EQ(U32_At(b, Block860 + 12), 9600u);
    EXPECT_EQ(U32_At(b, Block860 + 20), 1u);
    EXPECT_EQ(b.mid(Block860 + 40, 12), Bytes({192, 168, 2, 205, 255, 255, 255, 0, 255, 255, 255, 255}));
    EXPECT_EQ(U16_At(b, Block860 + 52), 10000);
    EXPECT_EQ(U16_At(b, Block860 + 54), 10001);
    EXPECT_EQ(U16_At(b, Block860 + 56), 10001);
    EXPECT_EQ(U32_At(b, Block860 + 60), 9600u);
    EXPECT_EQ(U32_At(b, Block860 + 272), 0x60000u);
    EXPECT_EQ(U32_At(b, Block860 + 276), 0x62000u);
    EXPECT_EQ(U32_At(b, Block860 + 344), 0x64000u);
    EXPECT_EQ(U32_At(b, Block860 + 348), 0x66000u);
    EXPECT_EQ(U32_At(b, Block860 + 352), 0u);
    EXPECT_EQ(U32_At(b, Block860 + 356), 5000u);
    // 2 x 355 + 165 + 1 + 567 + 765 + 1020 + 55 + 2 x 56 + 165 + 6 + 38 + 70 + 102 + 155
    EXPECT_EQ(U32_At(b, Block860 + 2044), 3931u);
}

TEST(Image860, ParametersOnly)
{
    TGenConf conf(10);
    Write_ParGen({});
    QByteArray b = Build_And_Save(conf);
    EXPECT_EQ(U32_At(b, Block860 + 0), 250000u);
    EXPECT_EQ(U32_At(b, Block860 + 4), 1000000u);
    EXPECT_EQ(U32_At(b, Block860 + 356), 0u);
    EXPECT_EQ(b.mid(Block860 + 40, 12), Bytes({192, 168, 0, 10, 255, 255, 255, 0, 255, 255, 255, 255}));

    for (const auto& [enable, gateway] : {std::pair{"1", Bytes({10, 0, 0, 1})}, {"Y", Bytes({255, 255, 255, 255})}}) {
        Write_ParGen({{"ETHERNET_EN_GAT", enable},
                      {"ETHERNET_GAT1", "10"},
                      {"ETHERNET_GAT2", "0"},
                      {"ETHERNET_GAT3", "0"},
                      {"ETHERNET_GAT4", "1"},
                      {"J1939_BAUDRATE", "9"},
                      {"J1939_PEER_TO_PEER", "1"},
                      {"J1939_Device_ID", "33"},
                      {"J1939_TIMEOUT", "2"}});
        b = Build_And_Save(conf);
        EXPECT_EQ(b.mid(Block860 + 48, 4), gateway) << enable;
        EXPECT_EQ(U32_At(b, Block860 + 0), 250000u);
        EXPECT_EQ(U32_At(b, Block860 + 152), 1u);
        EXPECT_EQ(U32_At(b, Block860 + 352), 33u);
        EXPECT_EQ(U32_At(b, Block860 + 356), 2000u);
        EXPECT_EQ(U32_At(b, Block860 + 2044), Sum_Of(b, Block860, 2044));
    }
}

TEST(Image860, EveryTableFilled)
{
    TGenConf conf(10);
    Write_CAN_Files();
    Write_Table_File(File_J1939_Receive, "ReceiveNMEA2000",
                     {{{"TransportProtocol", "N"}, {"StartByte", "3"}, {"NumBytes", "30"}, {"OnReq_Time", "7"}},
                      {{"TransportProtocol", "y"}, {"StartByte", "3"}, {"NumBytes", "30"}}});
    Write_Table_File(File_J1939_Transmit, "ReceiveNMEA2000",
                     {{{"NumByte", "4"}, {"Priority", "6"}, {"PGN", "1"}, {"OnTimer_Time", "20"}},
                      {{"DataChange", "Y"}},
                      {{"NumByte", "2"}}});
    const QByteArray b = Build_And_Save(conf);
    ASSERT_EQ(b.size(), 34816);
    Expect_CAN_Rows(b, 0);
    EXPECT_EQ(b.mid(16384, 64), Bytes({0, 0, 0, 0, 0, 0, 0, 0, 8, 0, 0, 0, 7, 0, 0, 0}) + QByteArray(16, 0) +
                                    Bytes({0, 0, 0, 0, 1, 0, 3, 0, 30, 0, 8, 0, 0, 0, 0, 0}) + QByteArray(16, 0));
    EXPECT_EQ(b.mid(16448, 24576 - 16448), QByteArray(24576 - 16448, 0));
    // transmit: sizes 4, 8, 2 and data offsets 0, 4, 12; the timer sits at 12
    EXPECT_EQ(b.mid(24576, 16), Bytes({0, 1, 0, 0x18, 0, 0, 0, 0, 4, 0, 0, 0, 20, 0, 0, 0}));
    EXPECT_EQ(b.mid(24608, 16), Bytes({0, 0, 0, 0, 2, 0, 0, 0, 8, 0, 4, 0, 0, 0, 0, 0}));
    EXPECT_EQ(b.mid(24640, 16), Bytes({0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 12, 0, 0, 0, 0, 0}));
    EXPECT_EQ(U32_At(b, Block860 + 144), 2u);
    EXPECT_EQ(U32_At(b, Block860 + 148), 3u);
    EXPECT_EQ(U32_At(b, Block860 + 308), 1u);
    EXPECT_EQ(U32_At(b, Block860 + 312), 2u);
    EXPECT_EQ(U32_At(b, Block860 + 2044), Sum_Of(b, Block860, 2044));
}

TEST(Image860, MoreJ1939RowsThanATableHoldsAreRefused)
{
    TGenConf conf(10);
    Write_Table_File(File_J1939_Transmit, "ReceiveNMEA2000", std::vector<TRowAttrs>(257));
    try {
        Build_Device_Image();
        FAIL() << "not refused";
    } catch (const Exception& e) {
        EXPECT_TRUE(e.Message().startsWith("J1939_Transmit.xml, row 257:")) << e.what();
    }
    EXPECT_FALSE(conf.Has_Bank("bank.bin"));
}

}  // namespace
