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

TEST(Image895, EmptyConfiguration)
{
    TGenConf conf(8);
    const QByteArray b = Build_And_Save(conf);
    ASSERT_EQ(b.size(), 3968);
    EXPECT_EQ(U32_At(b, 0), 250000u);
    EXPECT_EQ(U32_At(b, 4), 250000u);
    EXPECT_EQ(U32_At(b, 8), 9600u);
    EXPECT_EQ(U32_At(b, 28), 1000u);
    EXPECT_EQ(U32_At(b, 32), 100u);
    EXPECT_EQ(U32_At(b, 40), 0u);
    EXPECT_EQ(U32_At(b, 164), 5000u);
    EXPECT_EQ(U32_At(b, 172), 1u);
    EXPECT_EQ(U32_At(b, 176), 100u);
    EXPECT_EQ(U32_At(b, 188), 0x68800u);
    EXPECT_EQ(U32_At(b, 192), 0x68BC0u);
    // 2 x 355 + 165 + 235 + 100 + 155 (5000) + 1 + 100 + 142 + 337
    EXPECT_EQ(U32_At(b, 2044), 1945u);
    EXPECT_EQ(b.mid(2048), QByteArray(1920, 0));
}

TEST(Image895, ParametersOnly)
{
    TGenConf conf(8);
    Write_ParGen({{"Can_Baud", "4"},
                  {"Can_TimeOut", "3"},
                  {"Can_Peer", "0"},
                  {"Filter_FECA", "1"},
                  {"TimeOut_FECA", "250"},
                  {"J1939_Device_ID", "9"},
                  {"Profi_Module", "1"},
                  {"Profi_Send_J1939", "1"}});
    const QByteArray b = Build_And_Save(conf);
    ASSERT_EQ(b.size(), 3968);
    EXPECT_EQ(U32_At(b, 0), 125000u);
    EXPECT_EQ(U32_At(b, 4), 125000u);
    EXPECT_EQ(U32_At(b, 40), 10u);   // no Profi_ID in the document
    EXPECT_EQ(U32_At(b, 44), 0u);    // no transmit frame, no status byte
    EXPECT_EQ(U32_At(b, 48), 0u);
    EXPECT_EQ(U32_At(b, 156), 1u);
    EXPECT_EQ(U32_At(b, 160), 1u);
    EXPECT_EQ(U32_At(b, 164), 3000u);
    EXPECT_EQ(U32_At(b, 168), 2u);
    EXPECT_EQ(U32_At(b, 172), 9u);
    EXPECT_EQ(U32_At(b, 176), 250u);
    EXPECT_EQ(U32_At(b, 2044), Sum_Of(b, 0, 2044));
}

TEST(Image895, FramesAndStatusBytes)
{
    TGenConf conf(8);
    Write_ParGen({{"Profi_Send_J1939", "1"}, {"Profi_ID", "5"}});
    Write_Table_File(File_J1939_Receive, "ReceiveNMEA2000",
                     {{{"PGN", "65265"}, {"SourceAddress", "1"}, {"OnRequest", "y"}, {"OnReq_Time", "100"}},
                      {{"TransportProtocol", "Y"}, {"StartByte", "4"}, {"NumBytes", "12"}}});
    std::vector<TRowAttrs> tx(9);
    tx[0] = {{"Priority", "3"}, {"PGN", "0xFF00"}, {"NumByte", "2"}, {"DataChange", "Y"}};
    tx[1] = {{"NumByte", "4"}, {"OnTimer", "Y"}, {"OnTimer_Time", "50"}};
    Write_Table_File(File_J1939_Transmit, "ReceiveNMEA2000", tx);
    const QByteArray b = Build_And_Save(conf);
    ASSERT_EQ(b.size(), 3968);
    EXPECT_EQ(U32_At(b, 40), 5u);
    // 8 + 12 receive bytes, 9 x 8 transmit bytes, and 2 status bytes in both
    EXPECT_EQ(U32_At(b, 44), 22u);
    EXPECT_EQ(U32_At(b, 48), 74u);
    EXPECT_EQ(U32_At(b, 180), 2u);
    EXPECT_EQ(U32_At(b, 184), 9u);
    EXPECT_EQ(U32_At(b, 2044), Sum_Of(b, 0, 2044));
    EXPECT_EQ(b.mid(2048, 32), Bytes({1, 0xF1, 0xFE, 0, 4, 0, 0, 0, 8, 0, 0, 0, 100, 0, 0, 0}) + QByteArray(16, 0));
    EXPECT_EQ(b.mid(2080, 16), Bytes({0, 0, 0, 0, 1, 0, 4, 0, 12, 0, 8, 0, 0, 0, 0, 0}));
    EXPECT_EQ(b.mid(2112, 3008 - 2112), QByteArray(3008 - 2112, 0));
    // transmit entries: data offsets 8 x index whatever the byte count
    EXPECT_EQ(b.mid(3008, 32), Bytes({0, 0, 0xFF, 0x0C, 2, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0xE8, 3, 0, 0}) + QByteArray(12, 0));
    EXPECT_EQ(b.mid(3040, 20), Bytes({0, 0, 0, 0, 4, 0, 0, 0, 4, 0, 8, 0, 0, 0, 0, 0, 50, 0, 0, 0}));
    EXPECT_EQ(b.mid(3072, 12), Bytes({0, 0, 0, 0, 0, 0, 0, 0, 8, 0, 16, 0}));
    EXPECT_EQ(b.mid(3008 + 9 * 32), QByteArray(21 * 32, 0));
}

TEST(Image895, MoreThanThirtyFramesAreRefused)
{
    for (const bool receive : {true, false}) {
        TGenConf conf(8);
        const QString path = receive ? File_J1939_Receive : File_J1939_Transmit;
        Write_Table_File(path, "ReceiveNMEA2000", std::vector<TRowAttrs>(30));
        EXPECT_EQ(Build_And_Save(conf).size(), 3968);
        Write_Table_File(path, "ReceiveNMEA2000", std::vector<TRowAttrs>(35));
        try {
            Build_Device_Image();
            FAIL() << "not refused";
        } catch (const Exception& e) {
            EXPECT_TRUE(e.Message().startsWith(receive ? "J1939_Receive.xml, row 31:" : "J1939_Transmit.xml, row 31:")) << e.what();
        }
    }
}

}  // namespace
