#include "generate/gen_fixture.h"
#include "generate/image_dispatch.h"
#include "platform/core/exception.h"
#include "state/shared_state.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

constexpr int Block = 81920;

QStringList Bin_Files(const TGenConf& conf) { return QDir(conf.Bin_Dir()).entryList(QDir::Files, QDir::Name); }

TEST(Image893, EmptyConfiguration)
{
    TGenConf conf(1);
    Build_And_Save();
    EXPECT_EQ(Bin_Files(conf), QStringList{"bank.bin"});
    const QByteArray b = conf.Bank("bank.bin");
    ASSERT_EQ(b.size(), 83968);
    EXPECT_EQ(b.left(Block), QByteArray(Block, 0));
    EXPECT_EQ(U32_At(b, Block + 0), 250000u);
    EXPECT_EQ(U32_At(b, Block + 28), 0u);
    EXPECT_EQ(U32_At(b, Block + 144), 0u);
    EXPECT_EQ(U32_At(b, Block + 148), 0u);
    EXPECT_EQ(U32_At(b, Block + 204), 0x54000u);
    EXPECT_EQ(U32_At(b, Block + 208), 0x56000u);
    EXPECT_EQ(U32_At(b, Block + 260), 0u);
    EXPECT_EQ(U32_At(b, Block + 264), 0u);
    EXPECT_EQ(U32_At(b, Block + 268), 0x58000u);
    EXPECT_EQ(U32_At(b, Block + 272), 0x60000u);
    EXPECT_EQ(U32_At(b, Block + 276), 0u);
    // 355 (250000) + 165 (9600) + 8 + 55 (10000) + 165 + 8 + 69 + 101 + 133 + 6 (the four addresses)
    EXPECT_EQ(U32_At(b, Block + 2044), 1065u);
}

TEST(Image893, ParametersOnly)
{
    TGenConf conf(1);
    Write_ParGen({{"J1939_BAUDRATE", "7"},
                  {"J1939_ModReg_TO", "300"},
                  {"J1939_PEER_TO_PEER", "1"},
                  {"MODBUS_TCP_SLAVE_IP4", "7"},
                  {"MODBUS_TCP_SLAVE_GAT1", "10"},
                  {"MODBUS_TCP_SLAVE_GAT2", "0"},
                  {"MODBUS_TCP_SLAVE_GAT3", "0"},
                  {"MODBUS_TCP_SLAVE_GAT4", "1"},
                  {"MODBUS_TCP_SLAVE_EN_GAT", "1"},
                  {"MODBUS_TCP_SLAVE_Port", "503"},
                  {"TimeOut_FECA", "9"}});
    Build_And_Save();
    const QByteArray b = conf.Bank("bank.bin");
    ASSERT_EQ(b.size(), 83968);
    EXPECT_EQ(U32_At(b, Block + 0), 800000u);
    EXPECT_EQ(U32_At(b, Block + 28), 1u);
    EXPECT_EQ(b.mid(Block + 40, 12), Bytes({192, 168, 0, 7, 255, 255, 255, 0, 10, 0, 0, 1}));
    EXPECT_EQ(U16_At(b, Block + 54), 503);
    EXPECT_EQ(U16_At(b, Block + 56), 503);
    EXPECT_EQ(U32_At(b, Block + 152), 1u);
    EXPECT_EQ(U32_At(b, Block + 252), 300u);
    EXPECT_EQ(U32_At(b, Block + 256), 0u);   // the FECA time-out is not a key of this model
    EXPECT_EQ(U32_At(b, Block + 276), 5000u);
    EXPECT_EQ(U32_At(b, Block + 2044), Sum_Of(b, Block, 2044));
}

TEST(Image893, FramesAndRegisterMaps)
{
    TGenConf conf(1);
    Write_Table_File(File_J1939_Receive, "ReceiveNMEA2000",
                     {{{"PGN", "100"}},
                      {{"PGN", "0xFEF1"}, {"SourceAddress", "3"}, {"TransportProtocol", "Y"}, {"StartByte", "3"}, {"NumBytes", "20"}},
                      {{"DataPage", "1"}}});
    Write_Table_File(File_J1939_Transmit, "TransmitJ1939",
                     {{{"Priority", "6"}, {"PGN", "65280"}, {"NumByte", "4"}, {"OnTimer", "y"}, {"OnTimer_Time", "250"}},
                      {{"NumByte", "2"}, {"OnRequest", "Y"}}});
    Write_Table_File(File_Define_J1939_Rec, "DefineRecJ1939",
                     {{{"Num_Frame", "1"}, {"Mod_Index", "7"}, {"Byte_HiPart", "2"}, {"Byte_LoPart", "0"}},
                      {{"Num_Frame", "3"}, {"Mod_Index", "8"}},
                      {{"Mod_Index", "8"}},
                      {{"Num_Frame", "0"}, {"Byte_LoPart", "5"}}});
    Write_Table_File(File_Define_J1939_Tra, "DefineTransJ1939",
                     {{{"Num_Frame", "1"}, {"Mod_Index", "9"}, {"Byte_HiPart", "1"}, {"Byte_LoPart", "2"}, {"Send_on_Write", "1"}},
                      {{"Num_Frame", "2"}}});
    Build_And_Save();
    const QByteArray b = conf.Bank("bank.bin");
    ASSERT_EQ(b.size(), 83968);
    // receive frames: data offsets 0, 8, 28
    EXPECT_EQ(b.mid(0, 12), Bytes({0, 100, 0, 0, 0, 0, 0, 0, 8, 0, 0, 0}));
    EXPECT_EQ(b.mid(32, 12), Bytes({3, 0xF1, 0xFE, 0, 1, 0, 3, 0, 20, 0, 8, 0}));
    EXPECT_EQ(b.mid(64, 12), Bytes({0, 0, 0, 1, 0, 0, 0, 0, 8, 0, 28, 0}));
    EXPECT_EQ(b.mid(96, 32), QByteArray(32, 0));
    // transmit frames: 8 data bytes each whatever their byte count; timer 1000 by default
    EXPECT_EQ(b.mid(8192, 32), Bytes({0, 0, 0xFF, 0x18, 4, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0xFA, 0, 0, 0}) + QByteArray(12, 0));
    EXPECT_EQ(b.mid(8224, 20), Bytes({0, 0, 0, 0, 1, 0, 0, 0, 2, 0, 8, 0, 0, 0, 0, 0, 0xE8, 0x03, 0, 0}));
    // receive map: rows naming frame 3 (= the frame count) or no frame are skipped
    EXPECT_EQ(b.mid(16384, 24), Bytes({7, 0, 1, 0, 10, 0, 0, 0, 100, 0, 0, 0, 0, 0, 5, 0}) + QByteArray(8, 0));
    EXPECT_EQ(b.mid(49152, 16), Bytes({9, 0, 0x01, 0x80, 9, 0, 10, 0}) + QByteArray(8, 0));
    EXPECT_EQ(U32_At(b, Block + 144), 3u);
    EXPECT_EQ(U32_At(b, Block + 148), 2u);
    EXPECT_EQ(U32_At(b, Block + 260), 2u);
    EXPECT_EQ(U32_At(b, Block + 264), 1u);
    EXPECT_EQ(U32_At(b, Block + 2044), Sum_Of(b, Block, 2044));
}

TEST(Image893, TablesBeyondTheirSizeAreRefused)
{
    TGenConf conf(1);
    Write_Table_File(File_J1939_Transmit, "TransmitJ1939", std::vector<TRowAttrs>(257));
    try {
        Build_Device_Image();
        FAIL() << "not refused";
    } catch (const Exception& e) {
        EXPECT_TRUE(e.Message().startsWith("J1939_Transmit.xml, row 257:")) << e.what();
    }
    Write_Table_File(File_J1939_Transmit, "TransmitJ1939", std::vector<TRowAttrs>(1));
    Write_Table_File(File_Define_J1939_Tra, "DefineTransJ1939", std::vector<TRowAttrs>(4097, {{"Num_Frame", "0"}}));
    try {
        Build_Device_Image();
        FAIL() << "not refused";
    } catch (const Exception& e) {
        EXPECT_TRUE(e.Message().startsWith("Define_J1939_Tra.xml, row 4097:")) << e.what();
    }
    EXPECT_FALSE(conf.Has_Bank("bank.bin"));
}

std::vector<std::pair<const char*, QString>> Pargen_872()
{
    return {{"BaudRateCAN", "6"}, {"TimeOut_Data", "2"}, {"TO_ModReg", "300"}, {"Peer_to_Peer", "1"},    {"J1939_Device_ID", "5"},
            {"IP1", "10"},        {"IP2", "0"},          {"IP3", "0"},          {"IP4", "7"},             {"SN1", "255"},
            {"SN2", "255"},       {"SN3", "255"},        {"SN4", "0"},          {"PORT", "502"},          {"GA1", "10"},
            {"GA2", "0"},         {"GA3", "0"},          {"GA4", "1"},          {"Enable_GAT", "1"}};
}

void Write_872_Tables()
{
    Write_Table_File(File_J1939_Receive, "COBID",
                     {{{"DataPage", "0"}, {"PGN", "65265"}, {"ID_DEV", "3"}, {"MultiFrame", "N"}},
                      {{"DataPage", "0"}, {"PGN", "61444"}, {"ID_DEV", "0"}, {"MultiFrame", "Y"}, {"StartByte", "1"}, {"NByte", "4"},
                       {"Delete", "y"}}});
    Write_Table_File(File_J1939_Transmit, "COBID",
                     {{{"Priority", "6"}, {"DP", "0"}, {"PGN", "65280"}, {"ID_DEV", "0x21"}, {"NumByte", "4"}},
                      {{"Priority", "3"}, {"DP", "1"}, {"PGN", "2"}, {"ID_DEV", "1"}, {"NumByte", "2"}}});
    Write_Table_File(File_Define_J1939_Rec, "RInfoCob", {{{"Index", "10"}, {"NrPdo", "2"}, {"PosComp", "0x00010002"}}});
    Write_Table_File(File_Define_J1939_Tra, "TInfoCob",
                     {{{"Index", "11"}, {"NrPdo", "1"}, {"PosComp", "0x21"}},
                      {{"Index", "12"}, {"NrPdo", "2"}, {"PosComp", "0x21"}, {"Byte_HiPart", "3"}, {"Byte_LoPart", "0"}, {"Write_J1939", "1"}}});
}

TEST(Image872, EmptyConfigurationWritesFiveFiles)
{
    TGenConf conf(7);
    Build_And_Save();
    EXPECT_EQ(Bin_Files(conf), QStringList({"bank.bin", "bank_ESP32_1.bin", "bank_ESP32_2.bin", "bank_data.bin", "bank_pg.bin"}));
    EXPECT_EQ(conf.Bank("bank_pg.bin"), QByteArray(3000, char(0xFF)));
    EXPECT_EQ(conf.Bank("bank_data.bin"), QByteArray(65535, char(0xFF)));
    EXPECT_EQ(conf.Bank("bank_ESP32_2.bin"), QByteArray(81920, 0));
    const QByteArray e1 = conf.Bank("bank_ESP32_1.bin");
    ASSERT_EQ(e1.size(), 2048);
    EXPECT_EQ(U32_At(e1, 204), 0x310000u);
    EXPECT_EQ(U32_At(e1, 208), 0x312000u);
    EXPECT_EQ(U32_At(e1, 268), 0x314000u);
    EXPECT_EQ(U32_At(e1, 272), 0x31C000u);
    // 355 + 165 + 8 + 55 + 165 + 8 + 49 + 81 + 113 + 241
    EXPECT_EQ(U32_At(e1, 2044), 1240u);
    const QByteArray b = conf.Bank("bank.bin");
    ASSERT_EQ(b.size(), 83968);
    EXPECT_EQ(U32_At(b, Block + 2044), 1065u);
}

TEST(Image872, ParametersOnly)
{
    TGenConf conf(7);
    Write_ParGen(Pargen_872());
    Build_And_Save();
    const QByteArray pg = conf.Bank("bank_pg.bin");
    ASSERT_EQ(pg.size(), 3000);
    // no rows: counts 0, an empty bitmap and no identifier list
    EXPECT_EQ(pg.left(19), Bytes({7, 2, 0x2C, 0x01, 1, 10, 0, 0, 7, 255, 255, 255, 0, 0xF6, 0x01, 0, 0, 0, 0}));
    EXPECT_EQ(pg.mid(19, 32), QByteArray(32, 0));
    EXPECT_EQ(pg.mid(60, 27), Bytes({0, 50, 0, 0, 0, 0, 0, 0, 0, 100, 0, 10, 0, 0, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(pg.mid(87), QByteArray(3000 - 87, char(0xFF)));
    EXPECT_EQ(conf.Bank("bank_data.bin"), QByteArray(65535, char(0xFF)));
    const QByteArray b = conf.Bank("bank.bin");
    ASSERT_EQ(b.size(), 83968);
    EXPECT_EQ(b.left(Block), QByteArray(Block, 0));
    EXPECT_EQ(U32_At(b, Block + 0), 500000u);
    EXPECT_EQ(b.mid(Block + 40, 12), Bytes({10, 0, 0, 7, 255, 255, 255, 0, 10, 0, 0, 1}));
    EXPECT_EQ(U32_At(b, Block + 152), 1u);
    EXPECT_EQ(U32_At(b, Block + 256), 50u);
    EXPECT_EQ(U32_At(b, Block + 2044), Sum_Of(b, Block, 2044));
    EXPECT_EQ(conf.Bank("bank_ESP32_2.bin"), QByteArray(Block, 0));
}

TEST(Image872, EveryTableFilled)
{
    TGenConf conf(7);
    Write_872_Tables();
    Write_ParGen(Pargen_872());
    Build_And_Save();

    const QByteArray pg = conf.Bank("bank_pg.bin");
    ASSERT_EQ(pg.size(), 3000);
    EXPECT_EQ(pg.left(20), Bytes({7, 2, 0x2C, 0x01, 1, 10, 0, 0, 7, 255, 255, 255, 0, 0xF6, 0x01, 2, 0, 1, 0, 0x02}));
    EXPECT_EQ(pg.mid(20, 31), QByteArray(31, 0));
    EXPECT_EQ(pg.mid(51, 9), QByteArray(9, char(0xFF)));
    EXPECT_EQ(pg.mid(60, 27), Bytes({0, 50, 0, 2, 0, 2, 0, 0, 0, 100, 0, 10, 0, 0, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(pg.mid(87, 413), QByteArray(413, char(0xFF)));
    // peer-to-peer clears the source bytes; ascending
    EXPECT_EQ(U32_At(pg, 500), 0x00F00400u);
    EXPECT_EQ(U32_At(pg, 504), 0x00FEF100u);
    EXPECT_EQ(pg.mid(508), QByteArray(3000 - 508, char(0xFF)));

    const QByteArray d = conf.Bank("bank_data.bin");
    ASSERT_EQ(d.size(), 65535);
    EXPECT_EQ(d.left(22), Bytes({0, 0xF1, 0xFE, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0x04, 0xF0, 0, 1, 1, 0, 4, 0, 8, 0}));
    EXPECT_EQ(d.mid(22, 5000 - 22), QByteArray(5000 - 22, char(0xFF)));
    EXPECT_EQ(U32_At(d, 5000), 0x18FF0021u);
    EXPECT_EQ(U32_At(d, 5004), 0x0D000201u);
    EXPECT_EQ(U32_At(d, 5008), 0xFFFFFFFFu);
    EXPECT_EQ(d.mid(10000, 10), Bytes({10, 0, 8, 0, 1, 0, 2, 0, 0xFF, 0xFF}));
    EXPECT_EQ(d.mid(40000, 11), Bytes({11, 0, 1, 0x21, 0, 12, 0, 2, 0x21, 1, 0xFF}));

    const QByteArray b = conf.Bank("bank.bin");
    ASSERT_EQ(b.size(), 83968);
    EXPECT_EQ(b.mid(32, 12), Bytes({0, 0x04, 0xF0, 0, 3, 0, 0, 0, 4, 0, 8, 0}));
    // the second processor packs transmit data: offsets 0 and 4
    EXPECT_EQ(b.mid(8224, 12), Bytes({1, 2, 0, 0x0D, 0, 0, 0, 0, 2, 0, 4, 0}));
    EXPECT_EQ(b.mid(16384, 8), Bytes({10, 0, 1, 0, 9, 0, 10, 0}));
    EXPECT_EQ(b.mid(49152, 16), Bytes({11, 0, 0, 0, 2, 0, 1, 0, 12, 0, 0x01, 0x80, 7, 0, 0, 0}));
    EXPECT_EQ(U32_At(b, Block + 0), 500000u);
    EXPECT_EQ(U32_At(b, Block + 28), 5u);
    EXPECT_EQ(b.mid(Block + 40, 12), Bytes({10, 0, 0, 7, 255, 255, 255, 0, 10, 0, 0, 1}));
    EXPECT_EQ(U16_At(b, Block + 54), 502);
    EXPECT_EQ(U32_At(b, Block + 144), 2u);
    EXPECT_EQ(U32_At(b, Block + 148), 2u);
    EXPECT_EQ(U32_At(b, Block + 152), 1u);
    EXPECT_EQ(U32_At(b, Block + 252), 300u);
    EXPECT_EQ(U32_At(b, Block + 256), 50u);
    EXPECT_EQ(U32_At(b, Block + 260), 1u);
    EXPECT_EQ(U32_At(b, Block + 264), 2u);
    EXPECT_EQ(U32_At(b, Block + 276), 2000u);
    EXPECT_EQ(U32_At(b, Block + 2044), Sum_Of(b, Block, 2044));

    // the second processor's copies
    EXPECT_EQ(conf.Bank("bank_ESP32_2.bin"), b.left(Block));
    const QByteArray e1 = conf.Bank("bank_ESP32_1.bin");
    ASSERT_EQ(e1.size(), 2048);
    QByteArray same = b.mid(Block, 2044);
    for (const auto& [off, addr] : {std::pair{204, 0x310000u}, {208, 0x312000u}, {268, 0x314000u}, {272, 0x31C000u}})
        for (int i = 0; i < 4; ++i) same[off + i] = static_cast<char>(addr >> (8 * i));
    EXPECT_EQ(e1.left(2044), same);
    EXPECT_EQ(U32_At(e1, 2044), Sum_Of(e1, 0, 2044));
}

TEST(Image872, CompactBanksReadFromTheDocumentElement)
{
    TGenConf conf(7);
    Write_872_Tables();
    Write_ParGen(Pargen_872());
    // hand-edited files: a declaration and a comment before the root element
    for (const QString& path : {File_J1939_Receive, File_J1939_Transmit, File_Define_J1939_Rec, File_Define_J1939_Tra, File_ParGen}) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray text = f.readAll();
        f.close();
        Write_Raw(path, "<?xml version=\"1.0\"?>\n<!-- edited by hand -->\n" + text);
    }
    Build_And_Save();

    const QByteArray pg = conf.Bank("bank_pg.bin");
    EXPECT_EQ(pg.left(20), Bytes({7, 2, 0x2C, 0x01, 1, 10, 0, 0, 7, 255, 255, 255, 0, 0xF6, 0x01, 2, 0, 1, 0, 0x02}));
    EXPECT_EQ(pg.mid(60, 19), Bytes({0, 50, 0, 2, 0, 2, 0, 0, 0, 100, 0, 10, 0, 0, 1, 1, 0, 0, 0}));
    EXPECT_EQ(U32_At(pg, 500), 0x00F00400u);
    EXPECT_EQ(U32_At(pg, 504), 0x00FEF100u);
    const QByteArray d = conf.Bank("bank_data.bin");
    EXPECT_EQ(d.left(22), Bytes({0, 0xF1, 0xFE, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0x04, 0xF0, 0, 1, 1, 0, 4, 0, 8, 0}));
    EXPECT_EQ(U32_At(d, 5000), 0x18FF0021u);
    EXPECT_EQ(U32_At(d, 5004), 0x0D000201u);
    EXPECT_EQ(d.mid(10000, 8), Bytes({10, 0, 8, 0, 1, 0, 2, 0}));
    EXPECT_EQ(d.mid(40000, 10), Bytes({11, 0, 1, 0x21, 0, 12, 0, 2, 0x21, 1}));
}

TEST(Image872, RefusalsWriteNothing)
{
    struct Case {
        const char* Name;
        const char* Missing;     // ParGen key left out
        const char* NrPdo;       // of the receive map row
        const char* Text;
    };
    const Case cases[] = {
        {"strict key missing", "PORT", "2", "ParGen.xml, PORT"},
        {"map row names no receive frame", nullptr, "3", "RInfoCob.xml, row 1: NrPdo 3"},
        {"frame number 0", nullptr, "0", "RInfoCob.xml, row 1: NrPdo 0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TGenConf conf(7);
        Write_872_Tables();
        Write_Table_File(File_Define_J1939_Rec, "RInfoCob", {{{"Index", "10"}, {"NrPdo", c.NrPdo}, {"PosComp", "0"}}});
        auto keys = Pargen_872();
        if (c.Missing) std::erase_if(keys, [&](const auto& k) { return QLatin1String(k.first) == QLatin1String(c.Missing); });
        Write_ParGen(keys);
        try {
            Build_Device_Image();
            FAIL() << "no error";
        } catch (const Exception& e) {
            EXPECT_TRUE(e.Message().startsWith(c.Text)) << e.what();
        }
        EXPECT_TRUE(Bin_Files(conf).isEmpty());
    }
}

}  // namespace
