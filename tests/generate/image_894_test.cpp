#include "generate/gen_fixture.h"
#include "generate/image_dispatch.h"
#include "platform/core/exception.h"
#include "state/shared_state.h"

#include <gtest/gtest.h>

namespace {

// The 2048-byte block keeps its byte sum at 2044.
void Expect_Block_Sum(const QByteArray& image) { EXPECT_EQ(U32_At(image, 2044), Sum_Of(image, 0, 2044)); }

TEST(Image894, EmptyConfigurationIsTheDefaultBlockAlone)
{
    TGenConf conf(3);
    Build_And_Save();
    const QByteArray b = conf.Bank("bank.bin");
    ASSERT_EQ(b.size(), 2048);
    EXPECT_EQ(U32_At(b, 0), 250000u);
    EXPECT_EQ(U32_At(b, 4), 250000u);
    EXPECT_EQ(U32_At(b, 8), 9600u);
    EXPECT_EQ(U32_At(b, 20), 1u);
    EXPECT_EQ(U32_At(b, 28), 1000u);
    EXPECT_EQ(b.mid(40, 12), Bytes({192, 168, 0, 10, 255, 255, 255, 0, 255, 255, 255, 255}));
    EXPECT_EQ(U16_At(b, 52), 10000);
    EXPECT_EQ(U16_At(b, 54), 10001);
    EXPECT_EQ(U16_At(b, 56), 10001);
    EXPECT_EQ(U32_At(b, 60), 9600u);
    EXPECT_EQ(U32_At(b, 404), 0u);
    EXPECT_EQ(U32_At(b, 408), 0x68800u);
    EXPECT_EQ(U32_At(b, 412), 0u);
    EXPECT_EQ(U32_At(b, 420), 0u);
    EXPECT_EQ(U32_At(b, 424), 1u);
    EXPECT_EQ(Sum_Of(b, 428, 2044 - 428), 0u);
    // 2 x 355 + 165 + 1 + 235 + 370 + 765 + 1020 + 55 + 2 x 56 + 165 + 142 + 1
    EXPECT_EQ(U32_At(b, 2044), 3741u);
    EXPECT_FALSE(conf.Has_Bank("bank_k.bin"));
}

TEST(Image894, ParametersOnly)
{
    TGenConf conf(3);
    Write_ParGen({{"J1939_BAUDRATE", "6"},
                  {"J1939_TIMEOUT", "2"},
                  {"J1939_PEER_TO_PEER", "1"},
                  {"J1939_Device_ID", "0x20"},
                  {"ETHERNET_IP1", "10"},
                  {"ETHERNET_IP2", "0"},
                  {"ETHERNET_IP3", "0"},
                  {"ETHERNET_IP4", "261"},
                  {"ETHERNET_GAT1", "10"},
                  {"ETHERNET_Port", "70000"}});
    Build_And_Save();
    const QByteArray b = conf.Bank("bank.bin");
    ASSERT_EQ(b.size(), 2048);
    EXPECT_EQ(U32_At(b, 0), 500000u);
    EXPECT_EQ(U32_At(b, 4), 500000u);
    // octets keep their low 8 bits; no enable key: the gateway is 255.255.255.255
    EXPECT_EQ(b.mid(40, 12), Bytes({10, 0, 0, 5, 255, 255, 255, 0, 255, 255, 255, 255}));
    EXPECT_EQ(U16_At(b, 52), 10000);
    EXPECT_EQ(U16_At(b, 54), 4464);
    EXPECT_EQ(U16_At(b, 56), 4464);
    EXPECT_EQ(U32_At(b, 408), 0x68800u);
    EXPECT_EQ(U32_At(b, 416), 1u);
    EXPECT_EQ(U32_At(b, 420), 2000u);
    EXPECT_EQ(U32_At(b, 424), 32u);
    Expect_Block_Sum(b);

    // with the enable key the gateway keys count, the missing ones at their defaults
    Write_ParGen({{"ETHERNET_EN_GAT", "1"}, {"ETHERNET_GAT1", "10"}, {"J1939_BAUDRATE", "x"}});
    Build_And_Save();
    const QByteArray c = conf.Bank("bank.bin");
    EXPECT_EQ(c.mid(40, 12), Bytes({192, 168, 0, 10, 255, 255, 255, 0, 10, 168, 0, 1}));
    EXPECT_EQ(U32_At(c, 0), 250000u);
    EXPECT_EQ(U32_At(c, 420), 5000u);
    EXPECT_EQ(U16_At(c, 54), 502);
}

TEST(Image894, ReceiveFramesFollowTheBlock)
{
    TGenConf conf(3);
    Write_Table_File(File_J1939_Receive, "ReceiveNMEA2000",
                     {{{"DataPage", "1"}, {"PGN", "65265"}, {"SourceAddress", "3"}, {"CancelData", "y"}, {"OnRequest", "Y"},
                       {"OnReq_Time", "500"}},
                      {{"PGN", "0xEF00"}, {"TransportProtocol", "Y"}, {"StartByte", "2"}, {"NumBytes", "20"}},
                      {{"TransportProtocol", " Y"}, {"StartByte", "2"}, {"NumBytes", "20"}, {"OnReq_Time", "x"}}});
    Build_And_Save();
    const QByteArray b = conf.Bank("bank.bin");
    ASSERT_EQ(b.size(), 2048 + 3 * 32);
    EXPECT_EQ(U32_At(b, 404), 3u);
    EXPECT_EQ(U32_At(b, 408), 0x68800u);
    EXPECT_EQ(U32_At(b, 412), 36u);
    Expect_Block_Sum(b);
    // id, flags, 0, start byte, byte count, data offset, on-request time, 16 zeros
    const QByteArray row0 = Bytes({0x03, 0xF1, 0xFE, 0x01, 6, 0, 0, 0, 8, 0, 0, 0, 0xF4, 0x01, 0, 0}) + QByteArray(16, 0);
    const QByteArray row1 = Bytes({0x00, 0x00, 0xEF, 0x00, 1, 0, 2, 0, 20, 0, 8, 0, 0, 0, 0, 0}) + QByteArray(16, 0);
    const QByteArray row2 = Bytes({0, 0, 0, 0, 0, 0, 0, 0, 8, 0, 28, 0, 0, 0, 0, 0}) + QByteArray(16, 0);
    EXPECT_EQ(b.mid(2048, 96), row0 + row1 + row2);
}

TEST(Image894, MoreReceiveRowsThanTheTableHoldsAreRefused)
{
    TGenConf conf(3);
    Write_Table_File(File_J1939_Receive, "ReceiveNMEA2000", std::vector<TRowAttrs>(256));
    Build_And_Save();
    EXPECT_EQ(conf.Bank("bank.bin").size(), 2048 + 256 * 32);

    Write_Table_File(File_J1939_Receive, "ReceiveNMEA2000", std::vector<TRowAttrs>(257));
    try {
        Build_Device_Image();
        FAIL() << "not refused";
    } catch (const Exception& e) {
        EXPECT_TRUE(e.Message().startsWith("J1939_Receive.xml, row 257:")) << e.what();
    }
}

// RCobDef.xml rows of the 871 tests: a deleted single frame, a multi-packet frame starting
// at byte 1, and a single frame on data page 1.
std::vector<TRowAttrs> Cob_Rows()
{
    return {{{"DataPage", "0"}, {"PGN", "65265"}, {"ID_DEV", "3"}, {"MultiFrame", "N"}, {"Delete", "Y"}},
            {{"DataPage", "0"}, {"PGN", "61444"}, {"ID_DEV", "0"}, {"MultiFrame", "y"}, {"StartByte", "1"}, {"NByte", "20"}},
            {{"DataPage", "1"}, {"PGN", "256"}, {"ID_DEV", "0x10"}, {"MultiFrame", "N"}, {"StartByte", "x"}}};
}

std::vector<std::pair<const char*, QString>> Pargen_871()
{
    return {{"BaudRateCAN", "5"}, {"TimeOut_Data", "3"}, {"Peer_to_Peer", "1"}, {"Filter_FECA", "0"}, {"TimeOut_FECA", "100"},
            {"IP1", "192"},       {"IP2", "168"},         {"IP3", "1"},          {"IP4", "2"},          {"SN1", "255"},
            {"SN2", "255"},       {"SN3", "0"},           {"SN4", "0"},          {"PORT", "502"},       {"Protocol", "1"}};
}

TEST(Image871, EmptyConfigurationWritesTheCompactHeaderAndTheDefaultBlock)
{
    TGenConf conf(9);
    Build_And_Save();
    EXPECT_EQ(conf.Bank("bank.bin"), Bytes({8, 0, 0, 0, 8, 0, 0, 0}));
    const QByteArray k = conf.Bank("bank_k.bin");
    ASSERT_EQ(k.size(), 2048);
    EXPECT_EQ(U32_At(k, 2044), 3741u);
}

TEST(Image871, TablesOnlyAndParametersOnly)
{
    {
        TGenConf conf(9);
        Write_Table_File(File_J1939_Receive, "COBID", Cob_Rows());
        Build_And_Save();
        const QByteArray b = conf.Bank("bank.bin");
        ASSERT_EQ(b.size(), 41);
        EXPECT_EQ(U32_At(b, 0), 8u);
        EXPECT_EQ(U32_At(b, 4), 41u);
    }
    {
        TGenConf conf(9);
        Write_ParGen(Pargen_871());
        Build_And_Save();
        const QByteArray b = conf.Bank("bank.bin");
        ASSERT_EQ(b.size(), 61);
        EXPECT_EQ(U32_At(b, 4), 8u);
        EXPECT_EQ(b.mid(8, 21), Bytes({6, 3, 1, 0, 100, 0, 192, 168, 1, 2, 255, 255, 0, 0, 0xF6, 0x01, 1, 0, 0, 0, 0}));
        EXPECT_EQ(b.mid(29, 32), QByteArray(32, 0));
    }
}

TEST(Image871, BothImagesFromTablesAndParameters)
{
    TGenConf conf(9);
    Write_Table_File(File_J1939_Receive, "COBID", Cob_Rows());
    Write_ParGen(Pargen_871());
    Build_And_Save();

    const QByteArray b = conf.Bank("bank.bin");
    ASSERT_EQ(b.size(), 106);
    EXPECT_EQ(b.left(8), Bytes({8, 0, 0, 0, 41, 0, 0, 0}));
    EXPECT_EQ(b.mid(8, 33), Bytes({0, 0xF1, 0xFE, 3, 0, 0, 0, 0, 0, 0, 0,         //
                                   0, 0x04, 0xF0, 0, 1, 1, 0, 20, 0, 8, 0,         //
                                   1, 0x00, 0x01, 0x10, 0, 0, 0, 0, 0, 28, 0}));
    EXPECT_EQ(b.mid(41, 21), Bytes({6, 3, 1, 0, 100, 0, 192, 168, 1, 2, 255, 255, 0, 0, 0xF6, 0x01, 1, 3, 0, 36, 0}));
    EXPECT_EQ(b.mid(62, 32), Bytes({1}) + QByteArray(31, 0));
    // peer-to-peer clears the source byte, then ascending
    EXPECT_EQ(U32_At(b, 94), 0x00F00400u);
    EXPECT_EQ(U32_At(b, 98), 0x00FEF100u);
    EXPECT_EQ(U32_At(b, 102), 0x01010000u);

    const QByteArray k = conf.Bank("bank_k.bin");
    ASSERT_EQ(k.size(), 2048 + 96);
    EXPECT_EQ(U32_At(k, 0), 250000u);
    EXPECT_EQ(k.mid(40, 12), Bytes({192, 168, 1, 2, 255, 255, 0, 0, 255, 255, 255, 255}));
    EXPECT_EQ(U16_At(k, 54), 502);
    EXPECT_EQ(U32_At(k, 404), 3u);
    EXPECT_EQ(U32_At(k, 412), 36u);
    EXPECT_EQ(U32_At(k, 416), 1u);
    EXPECT_EQ(U32_At(k, 420), 3000u);
    EXPECT_EQ(U32_At(k, 424), 1u);
    Expect_Block_Sum(k);
    EXPECT_EQ(k.mid(2048, 12), Bytes({0x03, 0xF1, 0xFE, 0x00, 2, 0, 0, 0, 8, 0, 0, 0}));
    // start byte 1 is stored as 0 here, and kept as 1 in the compact record
    EXPECT_EQ(k.mid(2080, 12), Bytes({0x00, 0x04, 0xF0, 0x00, 1, 0, 0, 0, 20, 0, 8, 0}));
    EXPECT_EQ(k.mid(2112, 12), Bytes({0x10, 0x00, 0x01, 0x01, 0, 0, 0, 0, 8, 0, 28, 0}));
}

// Text before the root element of a hand-edited document.
const QByteArray Prolog = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- edited by hand -->\n";

TEST(Image871, CompactImageReadsFromTheDocumentElement)
{
    TGenConf conf(9);
    Write_Raw(File_J1939_Receive, Prolog + Table_File_Xml("COBID", {Cob_Rows()[0]}));
    QByteArray par = Prolog + "<Par_Gen>";
    for (const auto& [key, value] : Pargen_871()) par += QStringLiteral("<%1>%2</%1>").arg(key, value).toUtf8();
    Write_Raw(File_ParGen, par + "</Par_Gen>");
    Build_And_Save();

    // one row (P = 19), the parameters, the bitmap of the deleted row, the identifier
    // with its source byte cleared
    const QByteArray b = conf.Bank("bank.bin");
    EXPECT_EQ(b, Bytes({8, 0, 0, 0, 19, 0, 0, 0}) + Bytes({0, 0xF1, 0xFE, 3, 0, 0, 0, 0, 0, 0, 0}) +
                     Bytes({6, 3, 1, 0, 100, 0, 192, 168, 1, 2, 255, 255, 0, 0, 0xF6, 0x01, 1, 1, 0, 8, 0}) + Bytes({1}) +
                     QByteArray(31, 0) + Bytes({0x00, 0xF1, 0xFE, 0x00}));
    // the image of the other kind takes the first node, the declaration, as its root
    EXPECT_EQ(conf.Bank("bank_k.bin").size(), 2048);
}

TEST(Image871, StrictValuesEndTheBuildBeforeAnyFile)
{
    struct Case {
        const char* Name;
        std::vector<TRowAttrs> Rows;
        const char* Missing;   // ParGen key left out, or nullptr
        const char* Text;      // start of the error text
    };
    const Case cases[] = {
        {"PGN missing", {{{"DataPage", "0"}, {"ID_DEV", "1"}}}, nullptr, "RCobDef.xml, row 1, PGN"},
        {"NByte of a multi-packet row",
         {{{"DataPage", "0"}, {"PGN", "1"}, {"ID_DEV", "1"}}, {{"DataPage", "0"}, {"PGN", "1"}, {"ID_DEV", "1"}, {"MultiFrame", "Y"}, {"StartByte", "0"}, {"NByte", "abc"}}},
         nullptr, "RCobDef.xml, row 2, NByte"},
        {"parameter key missing", {}, "Protocol", "ParGen.xml, Protocol"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TGenConf conf(9);
        Write_Table_File(File_J1939_Receive, "COBID", c.Rows);
        auto keys = Pargen_871();
        if (c.Missing) std::erase_if(keys, [&](const auto& k) { return QLatin1String(k.first) == QLatin1String(c.Missing); });
        Write_ParGen(keys);
        try {
            Build_Device_Image();
            FAIL() << "no error";
        } catch (const EConvertError& e) {
            EXPECT_TRUE(e.Message().startsWith(c.Text)) << e.what();
        }
        EXPECT_FALSE(conf.Has_Bank("bank.bin"));
        EXPECT_FALSE(conf.Has_Bank("bank_k.bin"));
    }
}

TEST(Image871, MoreRowsThanTheIdentifierAreaHoldsAreRefused)
{
    TGenConf conf(9);
    Write_Table_File(File_J1939_Receive, "COBID",
                     std::vector<TRowAttrs>(251, {{"DataPage", "0"}, {"PGN", "1"}, {"ID_DEV", "1"}}));
    try {
        Build_Device_Image();
        FAIL() << "not refused";
    } catch (const Exception& e) {
        EXPECT_TRUE(e.Message().startsWith("RCobDef.xml, row 251:")) << e.what();
    }
}

}  // namespace
