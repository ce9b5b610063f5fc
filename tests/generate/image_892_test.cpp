#include "generate/gen_fixture.h"
#include "generate/image_dispatch.h"
#include "platform/core/exception.h"
#include "state/shared_state.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {
struct Field {
    int off;
    int width;  // bytes
    uint32_t value;
};

void Put(QByteArray& b, int off, int width, uint32_t v)
{
    for (int i = 0; i < width; ++i) b[off + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

// The record fields every model 892 block carries whatever the documents hold.
const std::vector<Field> Record_Constants = {
    {12, 4, 9600}, {16, 2, 8}, {52, 2, 10000}, {60, 4, 9600}, {64, 2, 8},
    {96, 1, 1}, {97, 1, 0}, {98, 1, 0}, {99, 1, 16}, {116, 4, 2000}, {120, 4, 2000}, {284, 4, 0x60000},
};
// ParGen.xml present but without any key.
const std::vector<Field> Record_Key_Defaults = {
    {0, 4, 250000}, {28, 4, 1}, {32, 4, 1000}, {36, 4, 100},
    {40, 1, 192}, {41, 1, 168}, {42, 1, 0}, {43, 1, 10},
    {44, 1, 255}, {45, 1, 255}, {46, 1, 255}, {47, 1, 0},
    {48, 4, 0xFFFFFFFF}, {54, 2, 502}, {56, 2, 502},
};

// The expected 2048-byte block: the fields, zeros, and the byte sum at 2044.
QByteArray Block(const std::vector<Field>& a, const std::vector<Field>& b = {})
{
    QByteArray blk(2048, '\0');
    for (const Field& f : a) Put(blk, f.off, f.width, f.value);
    for (const Field& f : b) Put(blk, f.off, f.width, f.value);
    Put(blk, 2044, 4, Sum_Of(blk, 0, 2044));
    return blk;
}

struct Req {
    uint16_t position = 0, startBit = 0;
    uint32_t poll = 0;
    uint8_t slave = 0, function = 0;
    uint16_t address = 0, npoint = 0, port = 0;
    uint32_t ip = 0, maxError = 0;
    uint8_t byteCount = 0, flags = 0;
};

QByteArray Req_Bytes(const Req& r)
{
    QByteArray b(32, '\0');
    Put(b, 0, 2, r.position);
    Put(b, 2, 2, r.startBit);
    Put(b, 4, 4, r.poll);
    Put(b, 8, 1, r.slave);
    Put(b, 9, 1, r.function);
    Put(b, 10, 2, r.address);
    Put(b, 12, 2, r.npoint);
    Put(b, 14, 2, r.port);
    Put(b, 16, 4, r.ip);
    Put(b, 24, 4, r.maxError);
    Put(b, 30, 1, r.byteCount);
    Put(b, 31, 1, r.flags);
    return b;
}

struct Frame {
    uint32_t id = 0, timer = 0, cancel = 0;
    uint16_t offset = 0, start = 0, size = 0, multi = 0;
    uint8_t flags = 0;
};

QByteArray Frame_Bytes(const Frame& f)
{
    QByteArray b(32, '\0');
    Put(b, 0, 4, f.id);
    Put(b, 4, 4, f.timer);
    Put(b, 8, 4, f.cancel);
    Put(b, 12, 2, f.offset);
    Put(b, 14, 2, f.start);
    Put(b, 16, 2, f.size);
    Put(b, 28, 2, f.multi);
    Put(b, 30, 1, f.flags);
    return b;
}

constexpr int Rx_Table = 0;
constexpr int Tx_Table = 16384;
constexpr int DM1_Table = 32768;

QByteArray Entry(const QByteArray& image, int table, int index, int size = 32) { return image.mid(table + index * size, size); }
QByteArray Request(const QByteArray& bank1, int index) { return bank1.mid(2048 + index * 32, 32); }

void Update() { Build_And_Save(); }

// The update ends with an error of class E whose text names `part`.
template <class E>
void Expect_Update_Fails(const QString& part)
{
    try {
        Update();
        ADD_FAILURE() << "the update went through";
    } catch (const E& e) {
        EXPECT_TRUE(e.Message().contains(part)) << e.what();
    }
}

TRowAttrs Read_Row(const QString& ip, const QString& type, int npoint, int position)
{
    return {{"IP_Address", ip}, {"Port", QStringLiteral("502")}, {"SlaveID", QStringLiteral("1")}, {"Type", type},
            {"Address", QStringLiteral("0")}, {"NPoint", QString::number(npoint)}, {"PollTime", QStringLiteral("100")},
            {"MaxError", QStringLiteral("3")}, {"Position", QString::number(position)}, {"StartBit", QStringLiteral("0")},
            {"Swap", QStringLiteral("N")}, {"Mnemonic", QStringLiteral("m")}};
}

// An alarm row whose every strict attribute is valid.
TRowAttrs Alarm_Row()
{
    TRowAttrs r = {{"Position", QStringLiteral("1")}, {"SNP", QStringLiteral("1")}, {"FMI", QStringLiteral("1")},
                   {"CM", QStringLiteral("0")}, {"Ver_CM", QStringLiteral("4")}};
    for (const char* lamp : {"MIL", "RSL", "AWL", "PL", "FMIL", "FRSL", "FAWL", "FPL"}) r.push_back({lamp, QStringLiteral("1")});
    return r;
}

TRowAttrs Tx_Row()
{
    return {{"Priority", QStringLiteral("6")}, {"DataPage", QStringLiteral("0")}, {"PGN", QStringLiteral("1")},
            {"SourceAddress", QStringLiteral("2")}};
}

TRowAttrs Write_Row(const QString& type, int npoint, const QString& onChange, const QString& swap)
{
    TRowAttrs r = Read_Row(QStringLiteral("10.0.0.2"), type, npoint, 50);
    r.push_back({"OnChange", onChange});
    for (auto& a : r)
        if (QByteArray(a.first) == "Swap") a.second = swap;
    return r;
}
}  // namespace

TEST(Image892, EmptyConfigurationGivesDefaultImages)
{
    TGenConf conf(2);
    Update();

    QByteArray bank1 = Block(Record_Constants, {{0, 4, 250000}});
    // checksum worked out by hand: 355 + 165 + 8 + 55 + 165 + 8 + 17 + 430 + 6 = 1209
    ASSERT_EQ(bank1.mid(2044, 4), Bytes({0xB9, 0x04, 0x00, 0x00}));
    bank1.append(QByteArray(30720, '\0'));
    EXPECT_EQ(conf.Bank("bank1.bin").size(), 32768);
    EXPECT_EQ(conf.Bank("bank1.bin"), bank1);

    QByteArray bank2;
    const QByteArray rx = QByteArray(12, '\xFF') + QByteArray(20, '\0');
    const QByteArray tx = QByteArray(12, '\xFF') + QByteArray(18, '\0') + Bytes({0x01, 0x00});
    for (int i = 0; i < 512; ++i) bank2 += rx;
    for (int i = 0; i < 512; ++i) bank2 += tx;
    bank2 += QByteArray(2048, '\0');
    EXPECT_EQ(conf.Bank("bank2.bin").size(), 34816);
    EXPECT_EQ(conf.Bank("bank2.bin"), bank2);
}

TEST(Image892, ParGenWithoutKeysGivesTheKeyDefaults)
{
    TGenConf conf(2);
    Write_ParGen({});
    Update();
    const QByteArray bank1 = conf.Bank("bank1.bin");
    EXPECT_EQ(bank1.left(2048), Block(Record_Constants, Record_Key_Defaults));
    EXPECT_EQ(bank1.mid(2044, 4), Bytes({0x62, 0x10, 0x00, 0x00}));

    // a receive frame with cancel data shows J1939_TIMEOUT's default of 5 s
    Write_Table_File(File_J1939_Receive, "ReceiveJ1939", {{{"PGN", QStringLiteral("1")}, {"CancelData", QStringLiteral("Y")}}});
    Update();
    EXPECT_EQ(U32_At(Entry(conf.Bank("bank2.bin"), Rx_Table, 0), 8), 5000u);
}

TEST(Image892, ParGenKeysFillTheRecord)
{
    TGenConf conf(2);
    Write_ParGen({{"J1939_BAUDRATE", QStringLiteral("6")},
                  {"J1939_TIMEOUT", QStringLiteral("2")},
                  {"J1939_PEER_TO_PEER", QStringLiteral("1")},
                  {"J1939_Device_ID", QStringLiteral("0x20")},
                  {"J1939_Send_DM1", QStringLiteral("1")},
                  {"J1939_Stop_Send_Frames", QStringLiteral("1")},
                  {"J1939_SSF_Num_Fails", QStringLiteral("7")},
                  {"MODBUS_TCP_MASTER_IP1", QStringLiteral("10")},
                  {"MODBUS_TCP_MASTER_IP2", QStringLiteral("1")},
                  {"MODBUS_TCP_MASTER_IP3", QStringLiteral("258")},  // low 8 bits: 2
                  {"MODBUS_TCP_MASTER_IP4", QStringLiteral("3")},
                  {"MODBUS_TCP_MASTER_SM1", QStringLiteral("255")},
                  {"MODBUS_TCP_MASTER_SM2", QStringLiteral("255")},
                  {"MODBUS_TCP_MASTER_SM3", QStringLiteral("0")},
                  {"MODBUS_TCP_MASTER_SM4", QStringLiteral("0")},
                  {"MODBUS_TCP_MASTER_EN_GAT", QStringLiteral("1")},
                  {"MODBUS_TCP_MASTER_GAT1", QStringLiteral("10")},
                  {"MODBUS_TCP_MASTER_GAT2", QStringLiteral("1")},
                  {"MODBUS_TCP_MASTER_GAT3", QStringLiteral("x")},  // default 0
                  {"MODBUS_TCP_MASTER_GAT4", QStringLiteral("254")},
                  {"MODBUS_TCP_MASTER_Port", QStringLiteral("70000")},  // low 16 bits: 4464
                  {"MODBUS_TCP_MASTER_TimeOut", QStringLiteral("1500")},
                  {"MODBUS_TCP_MASTER_CyclicDelay", QStringLiteral("250")}});
    Update();
    const QByteArray bank1 = conf.Bank("bank1.bin");
    EXPECT_EQ(bank1.left(2048), Block(Record_Constants, {{0, 4, 500000}, {28, 4, 32}, {32, 4, 1500}, {36, 4, 250},
                                                         {40, 4, 0x0302010A}, {44, 4, 0x0000FFFF}, {48, 4, 0xFE00010A},
                                                         {54, 2, 4464}, {56, 2, 4464}, {152, 4, 5}, {288, 4, 7}}));
}

TEST(Image892, ParGenKeyFallbacks)
{
    struct Case {
        std::vector<std::pair<const char*, QString>> keys;
        int off;
        uint32_t expected;
    };
    const Case cases[] = {
        {{{"J1939_BAUDRATE", QStringLiteral("abc")}}, 0, 250000},
        {{{"J1939_BAUDRATE", QStringLiteral("9")}}, 0, 250000},
        {{{"J1939_BAUDRATE", QStringLiteral("-1")}}, 0, 250000},
        {{{"J1939_BAUDRATE", QStringLiteral("0")}}, 0, 10000},
        {{{"J1939_BAUDRATE", QStringLiteral("8")}}, 0, 1000000},
        // the number of failures is read only while stopping is on; a missing element gives 0
        {{{"J1939_Stop_Send_Frames", QStringLiteral("0")}, {"J1939_SSF_Num_Fails", QStringLiteral("5")}}, 288, 0},
        {{{"J1939_Stop_Send_Frames", QStringLiteral("1")}}, 288, 0},
        {{{"J1939_Stop_Send_Frames", QStringLiteral("1")}, {"J1939_SSF_Num_Fails", QStringLiteral("many")}}, 288, 1},
        // gateway only with the exact flag "1"
        {{{"MODBUS_TCP_MASTER_EN_GAT", QStringLiteral("true")}}, 48, 0xFFFFFFFF},
        {{{"MODBUS_TCP_MASTER_EN_GAT", QStringLiteral("1")}}, 48, 0x0100A8C0},
        {{{"J1939_PEER_TO_PEER", QStringLiteral(" 1")}, {"J1939_Send_DM1", QStringLiteral("1")}}, 152, 4},
        {{{"J1939_Device_ID", QStringLiteral("")}}, 28, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys.front().first + std::string("=") + c.keys.front().second.toStdString());
        TGenConf conf(2);
        Write_ParGen(c.keys);
        Update();
        EXPECT_EQ(U32_At(conf.Bank("bank1.bin"), c.off), c.expected);
    }
}

TEST(Image892, ModbusRequestsFollowEachOtherAcrossTheThreeFiles)
{
    for (const bool dm1 : {true, false}) {
        SCOPED_TRACE(dm1 ? "DM1 on" : "DM1 off");
        TGenConf conf(2);
        Write_ParGen({{"J1939_Send_DM1", dm1 ? QStringLiteral("1") : QStringLiteral("0")}});
        Write_Table_File(File_Modbus_Read_Req, "ModbusReadRequest",
                         {Read_Row(QStringLiteral("10.0.0.1"), QStringLiteral("HOLDING REGISTER"), 1, 0),
                          Read_Row(QStringLiteral("10.0.0.1"), QStringLiteral("HOLDING REGISTER"), 1, 2),
                          Read_Row(QStringLiteral("10.0.0.1"), QStringLiteral("HOLDING REGISTER"), 1, 4)});
        Write_Table_File(File_Modbus_Read_Req_DM1, "ModbusReadRequest_DM1",
                         {Read_Row(QStringLiteral("10.0.0.1"), QStringLiteral("COIL STATUS"), 8, 0),
                          Read_Row(QStringLiteral("10.0.0.1"), QStringLiteral("COIL STATUS"), 8, 99)});
        Write_Table_File(File_Modbus_Write_Req, "ModbusWriteRequest",
                         {Write_Row(QStringLiteral("HOLDING REGISTER"), 2, QStringLiteral("N"), QStringLiteral("N"))});
        Update();
        const QByteArray bank1 = conf.Bank("bank1.bin");
        EXPECT_EQ(U32_At(bank1, 292), 3u);            // read requests
        EXPECT_EQ(U32_At(bank1, 72), dm1 ? 6u : 4u);  // all requests
        EXPECT_EQ(U32_At(bank1, 2044), Sum_Of(bank1, 0, 2044));
        EXPECT_EQ(U16_At(Request(bank1, 2), 0), 4);
        if (dm1) {
            EXPECT_EQ(U16_At(Request(bank1, 3), 0), 1900);
            EXPECT_EQ(U16_At(Request(bank1, 4), 0), 1999);
            EXPECT_EQ(U8_At(Request(bank1, 4), 9), 1);
        }
        const int w = dm1 ? 5 : 3;
        EXPECT_EQ(U8_At(Request(bank1, w), 9), 16);  // write, several registers
        EXPECT_EQ(U16_At(Request(bank1, w), 0), 50);
        EXPECT_EQ(Request(bank1, w + 1), QByteArray(32, '\0'));
    }
}

TEST(Image892, RequestEntryLayout)
{
    TGenConf conf(2);
    Write_Table_File(File_Modbus_Read_Req, "ModbusReadRequest",
                     {{{"IP_Address", QStringLiteral("192.168.1.20")}, {"SlaveID", QStringLiteral("7")},
                       {"Type", QStringLiteral("holding register")}, {"Address", QStringLiteral("0x100")},
                       {"NPoint", QStringLiteral("10")}, {"PollTime", QStringLiteral("1000")},
                       {"MaxError", QStringLiteral("3")}, {"Position", QStringLiteral("10")},
                       {"StartBit", QStringLiteral("5")}, {"Swap", QStringLiteral("y")}}});
    Update();
    // no Port: 502; Function 3; Byte_Count 2 x 10; swap bit 1
    EXPECT_EQ(Request(conf.Bank("bank1.bin"), 0),
              Bytes({0x0A, 0x00, 0x05, 0x00, 0xE8, 0x03, 0x00, 0x00, 0x07, 0x03, 0x00, 0x01, 0x0A, 0x00, 0xF6, 0x01,
                     0x14, 0x01, 0xA8, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x14, 0x02}));
}

TEST(Image892, RequestFunctionsByteCountsAndFlags)
{
    struct Case {
        bool write;
        QString type;
        int npoint;
        QString onChange, swap, port;
        uint8_t function, byteCount, flags;
        uint16_t port16;
    };
    const QString Y = QStringLiteral("Y"), N = QStringLiteral("N"), none;
    const Case cases[] = {
        {false, QStringLiteral("Coil Status"), 10, none, N, QStringLiteral("502"), 1, 2, 0, 502},
        {false, QStringLiteral("INPUT STATUS"), 16, none, N, QStringLiteral("502"), 2, 2, 0, 502},
        {false, QStringLiteral("INPUT REGISTER"), 200, none, N, QStringLiteral("503"), 4, 144, 0, 503},
        {false, QStringLiteral("Holding Register"), 3, none, none, QStringLiteral("abc"), 3, 6, 0, 502},
        {false, QStringLiteral("REGISTER"), 3, none, Y, QStringLiteral("502"), 0, 6, 2, 502},
        {true, QStringLiteral("COIL STATUS"), 1, none, N, QStringLiteral("502"), 5, 0, 0, 502},
        {true, QStringLiteral("COIL STATUS"), 8, N, N, QStringLiteral("502"), 15, 0, 0, 502},
        {true, QStringLiteral("holding register"), 1, Y, N, QStringLiteral("502"), 6, 0, 1, 502},
        {true, QStringLiteral("HOLDING REGISTER"), 4, QStringLiteral("y"), Y, QStringLiteral("502"), 16, 0, 3, 502},
        {true, QStringLiteral("INPUT REGISTER"), 4, N, N, QStringLiteral("502"), 0, 0, 0, 502},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type.toStdString() + " " + std::to_string(c.npoint));
        TGenConf conf(2);
        TRowAttrs row = c.write ? Write_Row(c.type, c.npoint, c.onChange, c.swap)
                                : Read_Row(QStringLiteral("10.0.0.1"), c.type, c.npoint, 0);
        for (auto& a : row) {
            if (QByteArray(a.first) == "Swap") a.second = c.swap;
            if (QByteArray(a.first) == "Port") a.second = c.port;
        }
        Write_Table_File(c.write ? File_Modbus_Write_Req : File_Modbus_Read_Req, "Requests", {row});
        Update();
        const QByteArray e = Request(conf.Bank("bank1.bin"), 0);
        EXPECT_EQ(U8_At(e, 9), c.function);
        EXPECT_EQ(U8_At(e, 30), c.byteCount);
        EXPECT_EQ(U8_At(e, 31), c.flags);
        EXPECT_EQ(U16_At(e, 14), c.port16);
        EXPECT_EQ(U16_At(e, 12), c.npoint);
    }
}

// A register has no start bit: the editors leave it empty, and such a row builds with start
// bit 0.  A bit request still needs one, and a text given is read strictly for every type.
TEST(Image892, AnEmptyStartBitBuildsForRegistersOnly)
{
    struct Case {
        bool write;
        const char* type;
        QString startBit;
        int expected;   // -1: the build stops on StartBit
    };
    const QString empty = QStringLiteral(""), blanks = QStringLiteral("  "), missing;
    const Case cases[] = {
        {false, "Holding Register", empty, 0},
        {false, "INPUT REGISTER", blanks, 0},
        {false, "Holding Register", missing, 0},
        {true, "Holding Register", empty, 0},
        {false, "Holding Register", QStringLiteral("x3"), 3},
        {false, "Holding Register", QStringLiteral("b"), -1},
        {false, "Coil Status", empty, -1},
        {false, "Input Status", missing, -1},
        {true, "Coil Status", empty, -1},
        {false, "REGISTER", empty, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.type) + " [" + c.startBit.toStdString() + "]" + (c.write ? " write" : ""));
        TGenConf conf(2);
        TRowAttrs row = c.write ? Write_Row(QString::fromLatin1(c.type), 2, QStringLiteral("N"), QStringLiteral("N"))
                                : Read_Row(QStringLiteral("10.0.0.1"), QString::fromLatin1(c.type), 2, 7);
        for (auto& a : row)
            if (QByteArray(a.first) == "StartBit") a.second = c.startBit;
        Write_Table_File(c.write ? File_Modbus_Write_Req : File_Modbus_Read_Req, "Requests", {row});
        if (c.expected < 0) {
            Expect_Update_Fails<EConvertError>(QStringLiteral("StartBit"));
            EXPECT_FALSE(conf.Has_Bank("bank1.bin"));
            continue;
        }
        Update();
        EXPECT_EQ(U16_At(Request(conf.Bank("bank1.bin"), 0), 2), c.expected);
    }
}

TEST(Image892, MoreRequestsThanTheImageHoldsAreRefused)
{
    TGenConf conf(2);
    std::vector<TRowAttrs> reads(480, Read_Row(QStringLiteral("10.0.0.1"), QStringLiteral("HOLDING REGISTER"), 1, 0));
    std::vector<TRowAttrs> writes(480, Write_Row(QStringLiteral("HOLDING REGISTER"), 1, QStringLiteral("N"), QStringLiteral("N")));
    writes.back() = Write_Row(QStringLiteral("COIL STATUS"), 1, QStringLiteral("N"), QStringLiteral("N"));
    Write_Table_File(File_Modbus_Read_Req, "ModbusReadRequest", reads);
    Write_Table_File(File_Modbus_Write_Req, "ModbusWriteRequest", writes);
    Update();  // 960 requests fill the table to its last entry
    const QByteArray bank1 = conf.Bank("bank1.bin");
    ASSERT_EQ(bank1.size(), 32768);
    EXPECT_EQ(U32_At(bank1, 72), 960u);
    EXPECT_EQ(U8_At(Request(bank1, 959), 9), 5);

    writes.push_back(writes.front());
    Write_Table_File(File_Modbus_Write_Req, "ModbusWriteRequest", writes);
    Expect_Update_Fails<Exception>(QStringLiteral("960"));
    EXPECT_EQ(conf.Bank("bank1.bin"), bank1);
}

TEST(Image892, ReceiveFrames)
{
    TGenConf conf(2);
    Write_ParGen({{"J1939_TIMEOUT", QStringLiteral("3")}});
    Write_Table_File(File_J1939_Receive, "ReceiveJ1939",
                     {{{"DataPage", QStringLiteral("1")}, {"PGN", QStringLiteral("65262")}, {"SourceAddress", QStringLiteral("3")},
                       {"TransportProtocol", QStringLiteral("Y")}, {"CancelData", QStringLiteral("Y")},
                       {"StartByte", QStringLiteral("2")}, {"NumBytes", QStringLiteral("20")}},
                      {{"PGN", QStringLiteral("0xFEEE")}, {"TransportProtocol", QStringLiteral("N")},
                       {"CancelData", QStringLiteral("y")}, {"NumBytes", QStringLiteral("4")}},
                      {{"PGN", QStringLiteral("x")}, {"SourceAddress", QStringLiteral("0x80")},
                       {"TransportProtocol", QStringLiteral("y")}, {"StartByte", QStringLiteral("2")}, {"NumBytes", QStringLiteral("4")}},
                      {{"TransportProtocol", QStringLiteral("Y")}, {"StartByte", QStringLiteral("a")}, {"NumBytes", QStringLiteral("b")}},
                      {{"NumBytes", QStringLiteral("1")}}});
    Update();
    const QByteArray bank2 = conf.Bank("bank2.bin");
    // transport 20 bytes, single frame without start byte (8 bytes), single 2+4
    EXPECT_EQ(Entry(bank2, Rx_Table, 0), Frame_Bytes({0x01FEEE03, 0, 3000, 0, 2, 20, 1, 0}));
    EXPECT_EQ(Entry(bank2, Rx_Table, 1), Frame_Bytes({0x00FEEE00, 0, 0, 20, 0, 8, 0, 0}));
    EXPECT_EQ(Entry(bank2, Rx_Table, 2), Frame_Bytes({0x00000080, 0, 0, 28, 2, 4, 0, 0}));
    // transport frame whose start byte and size are unreadable: 0 and 0
    EXPECT_EQ(Entry(bank2, Rx_Table, 3), Frame_Bytes({0, 0, 0, 32, 0, 0, 1, 0}));
    EXPECT_EQ(Entry(bank2, Rx_Table, 4), Frame_Bytes({0, 0, 0, 32, 0, 8, 0, 0}));
    EXPECT_EQ(Entry(bank2, Rx_Table, 5), Frame_Bytes({0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0, 0, 0, 0, 0}));
    EXPECT_EQ(U32_At(conf.Bank("bank1.bin"), 144), 5u);
}

TEST(Image892, PeerToPeerLeavesTheSourceAddressOut)
{
    for (const bool peer : {true, false}) {
        TGenConf conf(2);
        Write_ParGen({{"J1939_PEER_TO_PEER", peer ? QStringLiteral("1") : QStringLiteral("0")}});
        Write_Table_File(File_J1939_Receive, "ReceiveJ1939",
                         {{{"DataPage", QStringLiteral("0")}, {"PGN", QStringLiteral("65262")}, {"SourceAddress", QStringLiteral("3")}}});
        Update();
        EXPECT_EQ(U32_At(Entry(conf.Bank("bank2.bin"), Rx_Table, 0), 0), peer ? 0x00FEEE00u : 0x00FEEE03u);
    }
}

TEST(Image892, TransmitFrames)
{
    TGenConf conf(2);
    auto row = [](TRowAttrs extra) {
        TRowAttrs r = {{"Priority", QStringLiteral("6")}, {"DataPage", QStringLiteral("0")}, {"PGN", QStringLiteral("0xFEEE")},
                       {"SourceAddress", QStringLiteral("0x80")}};
        r.insert(r.end(), extra.begin(), extra.end());
        return r;
    };
    Write_Table_File(File_J1939_Transmit, "TransmitJ1939",
                     {row({{"NumByte", QStringLiteral("20")}, {"OnTimer", QStringLiteral("Y")}, {"SendTimer", QStringLiteral("100")}}),
                      row({{"NumByte", QStringLiteral("4")}, {"Request", QStringLiteral("y")}, {"DataChange", QStringLiteral("Y")}}),
                      row({{"OnTimer", QStringLiteral("y")}, {"SendTimer", QStringLiteral("soon")}}),
                      row({{"NumByte", QStringLiteral("8")}, {"OnTimer", QStringLiteral("N")}, {"SendTimer", QStringLiteral("100")}})});
    Update();
    const QByteArray bank2 = conf.Bank("bank2.bin");
    EXPECT_EQ(Entry(bank2, Tx_Table, 0), Frame_Bytes({0x18FEEE80, 100, 0xFFFFFFFF, 0, 0, 20, 1, 1 | 16}));
    EXPECT_EQ(Entry(bank2, Tx_Table, 1), Frame_Bytes({0x18FEEE80, 0, 0xFFFFFFFF, 20, 0, 4, 0, 1 | 32 | 64}));
    EXPECT_EQ(Entry(bank2, Tx_Table, 2), Frame_Bytes({0x18FEEE80, 0, 0xFFFFFFFF, 24, 0, 8, 0, 1 | 16}));
    EXPECT_EQ(Entry(bank2, Tx_Table, 3), Frame_Bytes({0x18FEEE80, 0, 0xFFFFFFFF, 32, 0, 8, 0, 1}));
    EXPECT_EQ(Entry(bank2, Tx_Table, 4), Frame_Bytes({0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0, 0, 0, 0, 1}));
    EXPECT_EQ(U32_At(conf.Bank("bank1.bin"), 148), 4u);
}

TEST(Image892, DM1Alarms)
{
    TGenConf conf(2);
    Write_ParGen({{"J1939_Send_DM1", QStringLiteral("1")}});
    auto alarm = [](const char* cm, const char* ver) {
        return TRowAttrs{{"Position", QStringLiteral("5")}, {"Bit_Pos", QStringLiteral("3")}, {"SNP", QStringLiteral("100")},
                         {"FMI", QStringLiteral("1")}, {"CM", QString::fromLatin1(cm)}, {"Ver_CM", QString::fromLatin1(ver)},
                         {"MIL", QStringLiteral("1")}, {"RSL", QStringLiteral("2")}, {"AWL", QStringLiteral("3")},
                         {"PL", QStringLiteral("0")}, {"FMIL", QStringLiteral("1")}, {"FRSL", QStringLiteral("2")},
                         {"FAWL", QStringLiteral("3")}, {"FPL", QStringLiteral("0")}};
    };
    TRowAttrs last = alarm("0", "4");
    last[1].second = QStringLiteral("bit");  // Bit_Pos falls back to 0
    last[2].second = QStringLiteral("524287");
    last[3].second = QStringLiteral("33");  // FMI keeps 5 bits
    Write_Table_File(File_Define_Alarms_DM1, "Define_Alarms_DM1", {alarm("0", "4"), alarm("1", "1"), alarm("1", "2"), alarm("1", "3"), last});
    Update();
    const QByteArray bank2 = conf.Bank("bank2.bin");
    const QByteArray lamps = Bytes({1, 2, 3, 0, 1, 2, 3, 0});
    const QByteArray head = Bytes({0x71, 0x07, 0x03, 0x00});  // 1905 = 0x771, bit 3
    EXPECT_EQ(Entry(bank2, DM1_Table, 0, 16), head + Bytes({0x00, 0x01, 0x00, 0x64}) + lamps);
    EXPECT_EQ(Entry(bank2, DM1_Table, 1, 16), head + Bytes({0x80, 0x81, 0x0C, 0x00}) + lamps);
    EXPECT_EQ(Entry(bank2, DM1_Table, 2, 16), head + Bytes({0x80, 0x81, 0x00, 0x0C}) + lamps);
    EXPECT_EQ(Entry(bank2, DM1_Table, 3, 16), head + Bytes({0x80, 0x01, 0x00, 0x64}) + lamps);
    // S = 0x7FFFF: (7 x 32 + 1), 0xFF, 0xFF
    EXPECT_EQ(Entry(bank2, DM1_Table, 4, 16), Bytes({0x71, 0x07, 0x00, 0x00, 0x00, 0xE1, 0xFF, 0xFF}) + lamps);
    EXPECT_EQ(Entry(bank2, DM1_Table, 5, 16), QByteArray(16, '\0'));
    const QByteArray bank1 = conf.Bank("bank1.bin");
    EXPECT_EQ(U32_At(bank1, 280), 5u);
    EXPECT_EQ(U32_At(bank1, 284), 0x60000u);
}

TEST(Image892, DM1FilesAreIgnoredWhileDM1SendingIsOff)
{
    TGenConf conf(2);
    Write_Table_File(File_Define_Alarms_DM1, "Define_Alarms_DM1", {{{"Position", QStringLiteral("junk")}}});
    Write_Table_File(File_Modbus_Read_Req_DM1, "ModbusReadRequest_DM1", {{{"Position", QStringLiteral("junk")}}});
    Update();
    const QByteArray bank1 = conf.Bank("bank1.bin");
    EXPECT_EQ(U32_At(bank1, 72), 0u);
    EXPECT_EQ(U32_At(bank1, 280), 0u);
    EXPECT_EQ(conf.Bank("bank2.bin").mid(DM1_Table), QByteArray(2048, '\0'));
}

TEST(Image892, AFailedBuildWritesNoFile)
{
    struct Case {
        const char* what;
        QString* path;
        const char* root;
        TRowAttrs row;
        const char* attr;
    };
    const TRowAttrs good = Read_Row(QStringLiteral("10.0.0.1"), QStringLiteral("COIL STATUS"), 1, 0);
    auto with = [&](const char* name, const QString& value) {
        TRowAttrs r = good;
        for (auto& a : r)
            if (QByteArray(a.first) == name) a.second = value;
        return r;
    };
    const TRowAttrs tx = Tx_Row();
    auto txWith = [&](const char* name, const QString& value) {
        TRowAttrs r = tx;
        for (auto& a : r)
            if (QByteArray(a.first) == name) a.second = value;
        return r;
    };
    TRowAttrs alarm = Alarm_Row();
    alarm.pop_back();  // no FPL
    const Case cases[] = {
        {"ip with two dots", &File_Modbus_Read_Req, "R", with("IP_Address", QStringLiteral("192.168.1")), "IP_Address"},
        {"ip part letters", &File_Modbus_Write_Req, "W", with("IP_Address", QStringLiteral("192.168.x.1")), "IP_Address"},
        {"slave id", &File_Modbus_Read_Req, "R", with("SlaveID", QStringLiteral("abc")), "SlaveID"},
        {"npoint missing", &File_Modbus_Read_Req, "R", with("NPoint", QString()), "NPoint"},
        {"address", &File_Modbus_Read_Req, "R", with("Address", QStringLiteral("0x")), "Address"},
        {"poll time", &File_Modbus_Read_Req, "R", with("PollTime", QStringLiteral("1s")), "PollTime"},
        {"max error", &File_Modbus_Write_Req, "W", with("MaxError", QStringLiteral("")), "MaxError"},
        {"position", &File_Modbus_Read_Req, "R", with("Position", QStringLiteral("p")), "Position"},
        {"dm1 position", &File_Modbus_Read_Req_DM1, "D", with("Position", QString()), "Position"},
        {"start bit", &File_Modbus_Read_Req, "R", with("StartBit", QStringLiteral("b")), "StartBit"},
        {"priority", &File_J1939_Transmit, "T", txWith("Priority", QStringLiteral("high")), "Priority"},
        {"data page", &File_J1939_Transmit, "T", txWith("DataPage", QString()), "DataPage"},
        {"pgn", &File_J1939_Transmit, "T", txWith("PGN", QStringLiteral("FEEE")), "PGN"},
        {"source", &File_J1939_Transmit, "T", txWith("SourceAddress", QStringLiteral("")), "SourceAddress"},
        {"alarm fmi", &File_Define_Alarms_DM1, "A", [&] { TRowAttrs r = alarm; r[2].second = QStringLiteral("f"); return r; }(), "FMI"},
        {"alarm lamp missing", &File_Define_Alarms_DM1, "A", alarm, "FPL"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TGenConf conf(2);
        Write_ParGen({{"J1939_Send_DM1", QStringLiteral("1")}});
        Write_Table_File(*c.path, c.root, {c.row});
        Expect_Update_Fails<EConvertError>(QString::fromLatin1(c.attr));
        EXPECT_FALSE(conf.Has_Bank("bank1.bin"));
        EXPECT_FALSE(conf.Has_Bank("bank2.bin"));
    }
}

TEST(Image892, ABrokenDocumentEndsTheBuildAndKeepsTheLastImages)
{
    TGenConf conf(2);
    Update();
    const QByteArray bank1 = conf.Bank("bank1.bin"), bank2 = conf.Bank("bank2.bin");
    Write_Raw(File_ParGen, "<Par_Gen><J1939_BAUDRATE>6</J1939_BAUDRATE>");
    EXPECT_THROW(Update(), Exception);
    EXPECT_EQ(conf.Bank("bank1.bin"), bank1);
    EXPECT_EQ(conf.Bank("bank2.bin"), bank2);
}

TEST(Image892, NothingOfAnEarlierBuildCarriesOver)
{
    TGenConf conf(2);
    Write_ParGen({{"J1939_TIMEOUT", QStringLiteral("7")}, {"J1939_Send_DM1", QStringLiteral("1")},
                  {"J1939_PEER_TO_PEER", QStringLiteral("1")}});
    Write_Table_File(File_J1939_Receive, "ReceiveJ1939",
                     {{{"PGN", QStringLiteral("1")}, {"CancelData", QStringLiteral("Y")}},
                      {{"PGN", QStringLiteral("2")}}});
    Write_Table_File(File_J1939_Transmit, "TransmitJ1939",
                     {{{"Priority", QStringLiteral("3")}, {"DataPage", QStringLiteral("0")}, {"PGN", QStringLiteral("1")},
                       {"SourceAddress", QStringLiteral("1")}}});
    Write_Table_File(File_Modbus_Read_Req, "ModbusReadRequest",
                     {Read_Row(QStringLiteral("10.0.0.1"), QStringLiteral("COIL STATUS"), 1, 0)});
    Update();
    ASSERT_EQ(U32_At(Entry(conf.Bank("bank2.bin"), Rx_Table, 0), 8), 7000u);

    // the same configuration without ParGen.xml and with a single receive frame
    QFile::remove(File_ParGen);
    QFile::remove(File_J1939_Transmit);
    QFile::remove(File_Modbus_Read_Req);
    Write_Table_File(File_J1939_Receive, "ReceiveJ1939", {{{"PGN", QStringLiteral("1")}, {"CancelData", QStringLiteral("Y")}}});
    Update();
    const QByteArray bank1 = conf.Bank("bank1.bin"), bank2 = conf.Bank("bank2.bin");
    EXPECT_EQ(bank1.left(2048), Block(Record_Constants, {{0, 4, 250000}, {144, 4, 1}}));
    EXPECT_EQ(bank1.mid(2048), QByteArray(30720, '\0'));
    // the time-out of the earlier configuration is gone; the source address is read again
    EXPECT_EQ(Entry(bank2, Rx_Table, 0), Frame_Bytes({0x100, 0, 0, 0, 0, 8, 0, 0}));
    EXPECT_EQ(Entry(bank2, Rx_Table, 1), Frame_Bytes({0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0, 0, 0, 0, 0}));
    EXPECT_EQ(Entry(bank2, Tx_Table, 0), Frame_Bytes({0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0, 0, 0, 0, 1}));
}

TEST(Image892, MissingBinFolderIsReportedAndWritesNothing)
{
    TGenConf conf(2, /*withBin=*/false);
    Build_Device_Image();
    EXPECT_THROW(Save_Device_Image(), EInOutError);
    EXPECT_FALSE(conf.Has_Bank("bank1.bin"));
}

TEST(Image892, MoreFramesOrAlarmsThanTheImageHoldsAreRefused)
{
    struct Case {
        QString* path;
        int rows;
        TRowAttrs row;
    };
    const TRowAttrs alarm = Alarm_Row();
    const TRowAttrs tx = Tx_Row();
    const Case cases[] = {
        {&File_J1939_Receive, 512, {{"PGN", QStringLiteral("1")}}},
        {&File_J1939_Transmit, 512, tx},
        {&File_Define_Alarms_DM1, 128, alarm},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path->toStdString());
        TGenConf conf(2);
        Write_ParGen({{"J1939_Send_DM1", QStringLiteral("1")}});
        Write_Table_File(*c.path, "Table", std::vector<TRowAttrs>(c.rows, c.row));
        EXPECT_NO_THROW(Update());
        QFile::remove(conf.Bin_Dir() + QStringLiteral("/bank1.bin"));
        Write_Table_File(*c.path, "Table", std::vector<TRowAttrs>(c.rows + 1, c.row));
        Expect_Update_Fails<Exception>(QString::number(c.rows));
        EXPECT_FALSE(conf.Has_Bank("bank1.bin"));
    }
}
