// The CAN-family parameter record and the QTB900 image, which is its block alone.
#include "generate/image_buffers.h"
#include "generate/image_can.h"
#include "image_expect.h"

namespace {


TEST(ImageQTB900, WithoutParametersTheBlockHoldsTheRecordDefaults)
{
    TGenConf conf(1006);
    Build_And_Save();
    const QByteArray bank = conf.Bank("bank.bin");
    ASSERT_EQ(bank.size(), 2048);
    EXPECT_TRUE(Bytes_At(bank, 0, Expected_Bytes(2044, {Can_Defaults})));
    EXPECT_TRUE(Bytes_At(bank, 2044, Raw({0xA5, 0x0D, 0x00, 0x00})));  // 3493
}

TEST(ImageQTB900, ParametersWithoutKeysTakeTheKeyDefaults)
{
    TGenConf conf(1006);
    Write_ParGen({});
    // table files play no part in this image
    Write_Table_File(File_J1939_Receive, "ReceiveNMEA2000", {{{"PGN", "1"}}});
    Build_And_Save();
    const QByteArray bank = conf.Bank("bank.bin");
    ASSERT_EQ(bank.size(), 2048);
    EXPECT_TRUE(Bytes_At(bank, 0,
                         Expected_Bytes(2044, {Can_Defaults, {{20, 4, 1000000}, {160, 4, 0x8CFFC400}, {164, 4, 0x8CFFB9C6},
                                                              {168, 4, 0x98FFC7C6}}})));
    EXPECT_EQ(U32_At(bank, 2044), 3772u);
}

TEST(ImageQTB900, KeysAndTheirConversions)
{
    struct Case {
        const char* key;
        const char* text;
        int off;
        uint32_t value;
    };
    const Case cases[] = {
        {"CAN_Baudrate", "3", 20, 62500},        {"CAN_Baudrate", "6", 20, 250000},
        {"CAN_Baudrate", "10", 20, 250000},      {"CAN_Baudrate", "-1", 20, 250000},
        {"CAN_Baudrate", "abc", 20, 1000000},    {"J1939_BAUDRATE", "9", 0, 250000},
        {"J1939_BAUDRATE", "0", 0, 10000},       {"J1939_BAUDRATE", "8", 0, 1000000},
        {"CUSTOM_CAN_RX", "0x7FF", 152, 0x7FF},  {"CUSTOM_CAN_TX", "1184", 156, 0x4A0},
        {"CUSTOM_CAN_TX", "", 156, 0x4A0},       {"CUSTOM_J1939_RX", "0x18FEF100", 160, 0x98FEF100},
        {"CUSTOM_J1939_TX1", "x", 164, 0x8CFFB9C6}, {"CUSTOM_J1939_TX2", "0x98000001", 168, 0x98000001},
        {"CUSTOM_CAN_TIMEOUT", "250", 172, 250}, {"CUSTOM_J1939_TIMEOUT", "0", 176, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.key) + " = " + c.text);
        TGenConf conf(1006);
        Write_ParGen({{c.key, QString::fromLatin1(c.text)}});
        Build_And_Save();
        const QByteArray bank = conf.Bank("bank.bin");
        EXPECT_EQ(U32_At(bank, c.off), c.value);
        EXPECT_EQ(U32_At(bank, 2044), Sum_Of(bank, 0, 2044));
    }
}

TEST(ParamRecCAN, BlockAtAnotherPositionTouchesOnlyItsOwnBytes)
{
    Init_Params_CAN();
    Param_Rec_CAN.CAN_Rx_Count = 0xFFFFFFFF;
    std::fill(std::begin(Image_Buf), std::end(Image_Buf), uint8_t(0xAA));
    Image_Len = 7;
    Write_Param_Block_CAN(0x4000);
    EXPECT_EQ(Image_Len, 7);
    const QByteArray image(reinterpret_cast<const char*>(Image_Buf), Image_Buf_Size);
    EXPECT_TRUE(Bytes_At(image, 0x3FF0, QByteArray(16, char(0xAA))));
    EXPECT_TRUE(Bytes_At(image, 0x4800, QByteArray(16, char(0xAA))));
    EXPECT_TRUE(Bytes_At(image, 0x4000, Expected_Bytes(2044, {Can_Defaults, {{136, 4, 0xFFFFFFFF}}})));
    // the defaults' 3493 plus four bytes of 255
    EXPECT_EQ(U32_At(image, 0x47FC), 3493u + 4 * 255);
}

}  // namespace
