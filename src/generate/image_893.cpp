#include "generate/image_893.h"

#include "generate/bank_files.h"
#include "generate/bit_rates.h"
#include "generate/gen_document.h"
#include "generate/image_892.h"
#include "generate/image_buffers.h"
#include "generate/image_builders.h"
#include "generate/image_cob.h"
#include "generate/image_writer.h"
#include "state/model_table.h"
#include "state/shared_state.h"

#include <algorithm>

TJ1939_Rx_Entry J1939_Rx_Table_893[J1939_Frame_Capacity_893];
TJ1939_Tx_Entry J1939_Tx_Table_893[J1939_Frame_Capacity_893];
TReg_Map_Entry_893 Rx_Reg_Map_893[Reg_Map_Capacity_893];
TReg_Map_Entry_893 Tx_Reg_Map_893[Reg_Map_Capacity_893];

namespace {

bool Is_872() { return Model_Code == 7; }

// Device addresses of the tables in the main processor and in the second one.
struct TTable_Addrs {
    uint32_t Rx, Tx, Rx_Map, Tx_Map;
};
constexpr TTable_Addrs Main_Addrs{0x54000, 0x56000, 0x58000, 0x60000};
constexpr TTable_Addrs ESP32_Addrs{0x310000, 0x312000, 0x314000, 0x31C000};

void Set_Addrs(const TTable_Addrs& a)
{
    Param_Rec_892.J1939_Rx_Table_Addr = a.Rx;
    Param_Rec_892.J1939_Tx_Table_Addr = a.Tx;
    Param_Rec_892.Rx_Map_Addr = a.Rx_Map;
    Param_Rec_892.Tx_Map_Addr = a.Tx_Map;
}

struct TKeys_893 {
    const char* Baud;
    const char* Timeout;
    const char* Reg_Timeout;
    const char* Peer;
    const char* IP[4];
    const char* SM[4];
    const char* GAT[4];
    const char* En_GAT;
    const char* Port;
};

const TKeys_893 Keys_893{"J1939_BAUDRATE",
                         "J1939_TIMEOUT",
                         "J1939_ModReg_TO",
                         "J1939_PEER_TO_PEER",
                         {"MODBUS_TCP_SLAVE_IP1", "MODBUS_TCP_SLAVE_IP2", "MODBUS_TCP_SLAVE_IP3", "MODBUS_TCP_SLAVE_IP4"},
                         {"MODBUS_TCP_SLAVE_SM1", "MODBUS_TCP_SLAVE_SM2", "MODBUS_TCP_SLAVE_SM3", "MODBUS_TCP_SLAVE_SM4"},
                         {"MODBUS_TCP_SLAVE_GAT1", "MODBUS_TCP_SLAVE_GAT2", "MODBUS_TCP_SLAVE_GAT3", "MODBUS_TCP_SLAVE_GAT4"},
                         "MODBUS_TCP_SLAVE_EN_GAT",
                         "MODBUS_TCP_SLAVE_Port"};
const TKeys_893 Keys_872{"BaudRateCAN",
                         "TimeOut_Data",
                         "TO_ModReg",
                         "Peer_to_Peer",
                         {"IP1", "IP2", "IP3", "IP4"},
                         {"SN1", "SN2", "SN3", "SN4"},
                         {"GA1", "GA2", "GA3", "GA4"},
                         "Enable_GAT",
                         "PORT"};

// A map position: the byte position inside the frame moved onto the frame's data, 0 = none.
uint16_t Map_Pos(uint32_t inFrame, uint16_t dataOffset)
{
    const uint16_t p = static_cast<uint16_t>(inFrame);
    return p != 0 ? static_cast<uint16_t>(p + dataOffset) : 0;
}

void Refuse_Full_Map(const TGenDocument& doc, int row)
{
    Refuse_Row(doc, row, QStringLiteral("the device map holds at most %1 mappings").arg(Reg_Map_Capacity_893));
}

}  // namespace

void Clear_Frame_Tables_893()
{
    std::fill(std::begin(J1939_Rx_Table_893), std::end(J1939_Rx_Table_893), TJ1939_Rx_Entry{});
    std::fill(std::begin(J1939_Tx_Table_893), std::end(J1939_Tx_Table_893), TJ1939_Tx_Entry{});
}

void Clear_Register_Maps_893()
{
    std::fill(std::begin(Rx_Reg_Map_893), std::end(Rx_Reg_Map_893), TReg_Map_Entry_893{});
    std::fill(std::begin(Tx_Reg_Map_893), std::end(Tx_Reg_Map_893), TReg_Map_Entry_893{});
}

void Read_ParGen_893()
{
    TGenDocument doc;
    if (!doc.Load(File_ParGen)) return;
    const TKeys_893& k = Is_872() ? Keys_872 : Keys_893;
    TParam_Rec_892& r = Param_Rec_892;
    r.J1939_Bit_Rate = static_cast<uint32_t>(J1939_Bit_Rate_Of(doc.Key_Int(k.Baud, J1939_Default_Index)));
    r.J1939_Timeout_ms = static_cast<uint32_t>(doc.Key_Int(k.Timeout, 5)) * 1000u;
    r.Reg_Timeout_ms = static_cast<uint32_t>(doc.Key_Int(k.Reg_Timeout, 0));
    if (doc.Key_Flag(k.Peer)) r.J1939_Flags |= 1;
    r.J1939_Own_Address = static_cast<uint32_t>(doc.Key_Int("J1939_Device_ID", 1));
    if (Is_872()) {
        if (doc.Key_Flag("Filter_FECA")) r.J1939_Flags |= 2;
        r.FECA_Timeout_ms = static_cast<uint32_t>(doc.Key_Int("TimeOut_FECA", 50));
    }
    Read_Key_Octets(doc, k.IP, {192, 168, 0, 10}, r.IP_Address);
    Read_Key_Octets(doc, k.SM, {255, 255, 255, 0}, r.Subnet_Mask);
    Read_Key_Octets(doc, k.GAT, {192, 168, 0, 1}, r.Gateway_Address);
    if (!doc.Key_Flag(k.En_GAT)) Set_Octets(r.Gateway_Address, 255, 255, 255, 255);
    r.Modbus_Port = r.Modbus_Port_Copy = static_cast<uint16_t>(doc.Key_Int(k.Port, 502));
}

void Read_J1939_Frames_893()
{
    TParam_Rec_892& r = Param_Rec_892;
    r.J1939_Rx_Table_Addr = Main_Addrs.Rx;
    r.J1939_Rx_Count = 0;
    TGenDocument doc;
    if (doc.Load(File_J1939_Receive)) {
        Check_Row_Count(doc, J1939_Frame_Capacity_893);
        uint32_t running = 0;
        const TJ1939_Rx_Names& names = Is_872() ? Rx_Names_Cob : Rx_Names_J1939;
        const TStart_Rule start = Is_872() ? TStart_Rule::Minus_One : TStart_Rule::As_Read;
        for (int i = 0; i < doc.Row_Count(); ++i)
            J1939_Rx_Table_893[r.J1939_Rx_Count++] = Read_J1939_Rx_Row(doc.Row(i), names, start, running);
    }

    r.J1939_Tx_Table_Addr = Main_Addrs.Tx;
    r.J1939_Tx_Count = 0;
    if (doc.Load(File_J1939_Transmit)) {
        Check_Row_Count(doc, J1939_Frame_Capacity_893);
        uint32_t running = 0;
        for (int i = 0; i < doc.Row_Count(); ++i) {
            TJ1939_Tx_Entry e = Is_872() ? Read_J1939_Tx_Row(doc.Row(i), "DP", "ID_DEV", 1000)
                                          : Read_J1939_Tx_Row(doc.Row(i), "DataPage", "SourceAddress", 1000);
            e.Data_Offset = static_cast<uint16_t>(running);
            // the second processor packs the transmit data; the first gives each frame 8 bytes
            running += Is_872() ? e.Num_Byte : 8;
            J1939_Tx_Table_893[r.J1939_Tx_Count++] = e;
        }
    }
}

void Read_Define_Frames_893()
{
    TParam_Rec_892& r = Param_Rec_892;
    const char* index = Is_872() ? "Index" : "Mod_Index";
    // the frame a mapping row names, 0-based; negative when missing or not a number
    auto frame = [](const TGenRow& row) {
        return Model_Code == 7 ? int64_t(row.Int_Def("NrPdo", -1)) - 1 : int64_t(row.Int_Def("Num_Frame", -1));
    };

    r.Rx_Map_Addr = Main_Addrs.Rx_Map;
    r.Rx_Map_Count = 0;
    TGenDocument doc;
    if (doc.Load(File_Define_J1939_Rec)) {
        for (int i = 0; i < doc.Row_Count(); ++i) {
            const TGenRow row = doc.Row(i);
            const int64_t t = frame(row);
            if (t < 0 || t >= r.J1939_Rx_Count) continue;
            if (r.Rx_Map_Count >= Reg_Map_Capacity_893) Refuse_Full_Map(doc, i);
            const uint32_t v = Is_872() ? static_cast<uint32_t>(row.Int_Def("PosComp", 0))
                                        : static_cast<uint32_t>(row.Int_Def("Byte_HiPart", 0)) * 65536u +
                                              static_cast<uint32_t>(row.Int_Def("Byte_LoPart", 0));
            const uint16_t offset = J1939_Rx_Table_893[t].Data_Offset;
            Rx_Reg_Map_893[r.Rx_Map_Count++] = {static_cast<uint16_t>(row.Int_Def(index, 100)), static_cast<uint16_t>(t),
                                                Map_Pos(v >> 16, offset), Map_Pos(v & 0xFFFF, offset)};
        }
    }

    r.Tx_Map_Addr = Main_Addrs.Tx_Map;
    r.Tx_Map_Count = 0;
    if (doc.Load(File_Define_J1939_Tra)) {
        for (int i = 0; i < doc.Row_Count(); ++i) {
            const TGenRow row = doc.Row(i);
            const int64_t t = frame(row);
            if (t < 0 || t >= r.J1939_Tx_Count) continue;
            if (r.Tx_Map_Count >= Reg_Map_Capacity_893) Refuse_Full_Map(doc, i);
            uint16_t f = static_cast<uint16_t>(t);
            if (row.Int_Def(Is_872() ? "Write_J1939" : "Send_on_Write", 0) == 1) f |= 0x8000;
            uint32_t hi, lo;
            if (!Is_872() || (row.Has("Byte_HiPart") && row.Has("Byte_LoPart"))) {
                hi = static_cast<uint32_t>(row.Int_Def("Byte_HiPart", 0));
                lo = static_cast<uint32_t>(row.Int_Def("Byte_LoPart", 0));
            } else {
                const uint32_t pc = static_cast<uint32_t>(row.Int_Def("PosComp", 0));
                hi = (pc / 16) % 16;
                lo = pc % 16;
            }
            const uint16_t offset = J1939_Tx_Table_893[t].Data_Offset;
            Tx_Reg_Map_893[r.Tx_Map_Count++] = {static_cast<uint16_t>(row.Int_Def(index, 100)), f, Map_Pos(hi, offset),
                                                Map_Pos(lo, offset)};
        }
    }
}

int32_t Write_Tables_893(int32_t pos, uint8_t* buffer)
{
    for (const TJ1939_Rx_Entry& e : J1939_Rx_Table_893) pos = Write_J1939_Rx_Entry(buffer, pos, e);
    for (const TJ1939_Tx_Entry& e : J1939_Tx_Table_893) pos = Write_J1939_Tx_Entry(buffer, pos, e);
    for (const auto* map : {Rx_Reg_Map_893, Tx_Reg_Map_893})
        for (int i = 0; i < Reg_Map_Capacity_893; ++i) {
            pos = Put_U16(buffer, pos, map[i].Index);
            pos = Put_U16(buffer, pos, map[i].Frame);
            pos = Put_U16(buffer, pos, map[i].High_Pos);
            pos = Put_U16(buffer, pos, map[i].Low_Pos);
        }
    return pos;
}

void Build_Image_893_Main()
{
    Init_Params_892();
    Clear_Frame_Tables_893();
    Clear_Register_Maps_893();
    Read_ParGen_893();
    Read_J1939_Frames_893();
    Read_Define_Frames_893();
    Image_Len = 0;
    Image_Len = Write_Param_Block_892(Write_Tables_893(0, Image_Buf), Image_Buf);
    if (!Is_872()) return;
    ESP32_Len1 = 0;
    ESP32_Len2 = 0;
    Set_Addrs(ESP32_Addrs);
    ESP32_Len2 = Write_Tables_893(0, ESP32_Buf2);
    ESP32_Len1 = Write_Param_Block_892(0, ESP32_Buf1);
}

void Build_Tables_872()
{
    uint8_t* data = Bank_Data_Buf;
    uint8_t* pg = Bank_PG_Buf;
    std::fill(data, data + Bank_Buf_Size, 0xFF);
    std::fill(pg, pg + Bank_Buf_Size, 0xFF);

    constexpr int32_t Tx_Ids_At = 5000, Rx_Maps_At = 10000, Tx_Maps_At = 40000;
    TCob_Rx_Rows rx;
    TGenDocument doc;
    if (doc.Load(File_J1939_Receive)) rx = Read_Cob_Rx_Rows(TCompact_Doc(doc), data, 0);
    const int rxRows = static_cast<int>(rx.Ids.size());

    int txRows = 0;
    if (doc.Load(File_J1939_Transmit)) {
        const TCompact_Doc rows(doc);
        // the main image's transmit table is the smaller bound
        rows.Check_Row_Count(J1939_Frame_Capacity_893);
        txRows = rows.Row_Count();
        for (int j = 0; j < txRows; ++j) {
            const TGenRow row = rows.Row(j);
            const uint32_t id = static_cast<uint32_t>(row.Strict("Priority")) * 0x4000000u +
                                static_cast<uint32_t>(row.Strict("DP")) * 0x1000000u +
                                static_cast<uint32_t>(row.Strict("PGN")) * 0x100u + static_cast<uint32_t>(row.Strict("ID_DEV"));
            Put_U32(data, Tx_Ids_At + 4 * j, id);
        }
    }

    int rxMapRows = 0;
    if (doc.Load(File_Define_J1939_Rec)) {
        const TCompact_Doc rows(doc);
        rows.Check_Row_Count((Tx_Maps_At - Rx_Maps_At) / 8);
        rxMapRows = rows.Row_Count();
        for (int j = 0; j < rxMapRows; ++j) {
            const TGenRow row = rows.Row(j);
            const int32_t index = row.Strict("Index");
            const int32_t nrPdo = row.Strict("NrPdo");
            const uint32_t posComp = static_cast<uint32_t>(row.Strict("PosComp"));
            if (nrPdo < 1 || nrPdo > rxRows)
                Refuse_Row(doc, j, QStringLiteral("NrPdo %1 names no receive frame (1 to %2)").arg(nrPdo).arg(rxRows));
            int32_t pos = Rx_Maps_At + 8 * j;
            pos = Put_U16(data, pos, static_cast<uint32_t>(index));
            pos = Put_U16(data, pos, rx.Offsets[static_cast<size_t>(nrPdo - 1)]);
            pos = Put_U16(data, pos, posComp >> 16);
            Put_U16(data, pos, posComp & 0xFFFF);
        }
    }

    int txMapRows = 0;
    if (doc.Load(File_Define_J1939_Tra)) {
        const TCompact_Doc rows(doc);
        rows.Check_Row_Count((Bank_Data_Len_872 - Tx_Maps_At) / 5);
        txMapRows = rows.Row_Count();
        for (int j = 0; j < txMapRows; ++j) {
            const TGenRow row = rows.Row(j);
            int32_t pos = Tx_Maps_At + 5 * j;
            pos = Put_U16(data, pos, static_cast<uint32_t>(row.Strict("Index")));
            pos = Put_U8(data, pos, static_cast<uint32_t>(row.Strict("NrPdo")));
            pos = Put_U8(data, pos, static_cast<uint32_t>(row.Strict("PosComp")));
            Put_U8(data, pos, static_cast<uint32_t>(row.Strict_Or("Write_J1939", 0)));
        }
    }

    if (!doc.Load(File_ParGen)) return;
    const TCompact_Doc par(doc);
    int32_t pos = 0;
    pos = Put_U8(pg, pos, static_cast<uint32_t>(par.Strict_Key_Plus("BaudRateCAN", 1)));
    pos = Put_U8(pg, pos, static_cast<uint32_t>(par.Strict_Key("TimeOut_Data")));
    pos = Put_U16(pg, pos, static_cast<uint32_t>(par.Strict_Key("TO_ModReg")));
    const int32_t peer = par.Strict_Key("Peer_to_Peer");
    pos = Put_U8(pg, pos, static_cast<uint32_t>(peer));
    for (const char* key : {"IP1", "IP2", "IP3", "IP4", "SN1", "SN2", "SN3", "SN4"})
        pos = Put_U8(pg, pos, static_cast<uint32_t>(par.Strict_Key(key)));
    pos = Put_U16(pg, pos, static_cast<uint32_t>(par.Strict_Key("PORT")));
    pos = Put_U16(pg, pos, static_cast<uint32_t>(rxRows));
    pos = Put_U16(pg, pos, static_cast<uint32_t>(rxMapRows));
    Put_Bytes(pg, pos, rx.Delete_Bitmap, sizeof rx.Delete_Bitmap);
    // a key that is missing or not a number takes its value in brackets
    auto key = [&par](const char* name, int32_t def) { return static_cast<uint32_t>(par.Key_Int(name, def)); };
    pos = 60;
    pos = Put_U8(pg, pos, key("Filter_FECA", 0));
    pos = Put_U16(pg, pos, key("TimeOut_FECA", 50));
    pos = Put_U16(pg, pos, static_cast<uint32_t>(txRows));
    pos = Put_U16(pg, pos, static_cast<uint32_t>(txMapRows));
    pos = Put_U8(pg, pos, key("Write_J1939", 0));
    pos = Put_U8(pg, pos, key("Enable_SFE", 0));
    pos = Put_U16(pg, pos, key("Deley_FE", 100));
    for (const char* k : {"GA1", "GA2", "GA3", "GA4"}) pos = Put_U8(pg, pos, key(k, 255));
    for (const char* k : {"Enable_GAT", "Enable_FUN", "WMR_in_Read", "En_Rem_Req"}) pos = Put_U8(pg, pos, key(k, 0));
    for (const char* k : {"Pri_Des", "PGN1", "PGN2", "SA"}) pos = Put_U16(pg, pos, key(k, 0));
    Write_Rx_Id_List(pg, 500, rx.Ids, peer == 1);
}

void Build_Image_893()
{
    if (Is_872()) Build_Tables_872();
    Build_Image_893_Main();
}

void Save_Bank_Files_872()
{
    if (Is_872())
        Save_Bank_Files({{"bank_pg.bin", Bank_PG_Buf, Bank_PG_Len_872},
                         {"bank_data.bin", Bank_Data_Buf, Bank_Data_Len_872},
                         {"bank_ESP32_1.bin", ESP32_Buf1, ESP32_Len1},
                         {"bank_ESP32_2.bin", ESP32_Buf2, ESP32_Len2},
                         {"bank.bin", Image_Buf, Image_Size_893}});
    else
        Save_Bank_Files({{"bank.bin", Image_Buf, Image_Size_893}});
}
