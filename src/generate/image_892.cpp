#include "generate/image_892.h"

#include "generate/bank_files.h"
#include "generate/bit_rates.h"
#include "generate/gen_document.h"
#include "generate/image_buffers.h"
#include "generate/image_builders.h"
#include "generate/image_writer.h"
#include "generate/j1939_entry.h"
#include "generate/param_block.h"
#include "platform/core/exception.h"
#include "platform/core/sysutils.h"
#include "state/model_table.h"
#include "state/shared_state.h"

#include <cstddef>

static_assert(sizeof(TParam_Rec_892) == Param_Rec_892_Size);
static_assert(offsetof(TParam_Rec_892, IP_Address) == 40);
static_assert(offsetof(TParam_Rec_892, Modbus_Req_Count) == 72);
static_assert(offsetof(TParam_Rec_892, J1939_Rx_Count) == 144);
static_assert(offsetof(TParam_Rec_892, J1939_Rx_Table_Addr) == 204);
static_assert(offsetof(TParam_Rec_892, Reg_Timeout_ms) == 252);
static_assert(offsetof(TParam_Rec_892, Modbus_Read_Count) == 292);

TParam_Rec_892 Param_Rec_892;
TModbus_Req_892 Modbus_Req_Table_892[Modbus_Req_Capacity_892];
TJ1939_Frame_892 J1939_Rx_Table_892[J1939_Frame_Capacity_892];
TJ1939_Frame_892 J1939_Tx_Table_892[J1939_Frame_Capacity_892];
TDM1_Alarm_892 DM1_Alarm_Table_892[DM1_Alarm_Capacity_892];
uint32_t J1939_Cancel_ms = 0;

namespace {
constexpr uint32_t Flag_Peer_To_Peer = 1;
constexpr uint32_t Flag_Send_DM1 = 4;
// DM1 positions are relative to the DM1 area at the end of the gateway memory.
constexpr int32_t DM1_Area_Start = Gateway_Memory_Size - DM1_Memory_Size;

enum class TReqKind { Read, DM1_Read, Write };

void Read_Request(const TGenRow& row, TReqKind kind, TModbus_Req_892& e)
{
    e.Slave_IP = row.Strict_IPv4("IP_Address");
    e.Port = static_cast<uint16_t>(row.Strict_Or("Port", 502));
    e.Slave_ID = static_cast<uint8_t>(row.Strict("SlaveID"));
    const char* type = row.Raw("Type");
    if (kind != TReqKind::Write) {
        if (Upper_Equals(type, "COIL STATUS")) e.Function = 1;
        else if (Upper_Equals(type, "INPUT STATUS")) e.Function = 2;
        else if (Upper_Equals(type, "HOLDING REGISTER")) e.Function = 3;
        else if (Upper_Equals(type, "INPUT REGISTER")) e.Function = 4;
        e.NPoint = static_cast<uint16_t>(row.Strict("NPoint"));
        e.Byte_Count = static_cast<uint8_t>(e.Function == 1 || e.Function == 2 ? (e.NPoint + 7) / 8 : 2 * (e.NPoint % 256));
    } else {
        e.NPoint = static_cast<uint16_t>(row.Strict("NPoint"));
        if (Upper_Equals(type, "COIL STATUS")) e.Function = e.NPoint == 1 ? 5 : 15;
        else if (Upper_Equals(type, "HOLDING REGISTER")) e.Function = e.NPoint == 1 ? 6 : 16;
    }
    e.Address = static_cast<uint16_t>(row.Strict("Address"));
    e.Poll_Time = static_cast<uint32_t>(row.Strict("PollTime"));
    e.Max_Error = static_cast<uint32_t>(row.Strict("MaxError"));
    if (kind == TReqKind::Write) e.Req_Flags = row.Flag_Upper("OnChange") ? 1 : 0;
    e.Position = static_cast<uint16_t>(kind == TReqKind::DM1_Read ? row.Strict_Plus("Position", DM1_Area_Start) : row.Strict("Position"));
    // a register has no start bit: the editors leave it empty there, which reads as 0; a bit
    // request, and any text given, still read strictly
    const bool registers = e.Function == 3 || e.Function == 4 || e.Function == 6 || e.Function == 16;
    e.Start_Bit = static_cast<uint16_t>(registers && Trim(row.Text("StartBit")).isEmpty() ? 0 : row.Strict("StartBit"));
    if (row.Flag_Upper("Swap")) e.Req_Flags |= 2;
}

// Reads every row of one request file into the table from entry k on.
void Read_Request_File(const QString& path, TReqKind kind, int& k)
{
    TGenDocument doc;
    if (!doc.Load(path)) return;
    const int n = doc.Row_Count();
    for (int i = 0; i < n; ++i) {
        if (k >= Modbus_Req_Capacity_892)
            Refuse_Row(doc, i, QStringLiteral("too many Modbus requests. The device holds at most %1 read, DM1 read and "
                                              "write requests together.").arg(Modbus_Req_Capacity_892));
        Read_Request(doc.Row(i), kind, Modbus_Req_Table_892[k]);
        ++k;
    }
}

// The diagnostic trouble code of an alarm, in the table's byte order (DM1 wire order
// reversed), after the SPN conversion methods of J1939-73 with occurrence count 0.
void Set_DTC(uint8_t (&dtc)[4], uint32_t s, uint32_t f, int32_t c, int32_t v)
{
    f &= 0x1F;
    if (c != 0 && (v == 1 || v == 2)) {
        dtc[0] = 0x80;
        dtc[1] = static_cast<uint8_t>((s & 7) * 32 + f);
        const uint8_t lo = static_cast<uint8_t>(s >> 3), hi = static_cast<uint8_t>(s >> 11);
        dtc[2] = v == 1 ? lo : hi;
        dtc[3] = v == 1 ? hi : lo;
    } else {
        dtc[0] = c == 0 ? 0x00 : 0x80;
        dtc[1] = static_cast<uint8_t>(((s >> 16) & 7) * 32 + f);
        dtc[2] = static_cast<uint8_t>(s >> 8);
        dtc[3] = static_cast<uint8_t>(s);
    }
}

int32_t Write_Request(uint8_t* buf, int32_t pos, const TModbus_Req_892& e)
{
    pos = Put_U16(buf, pos, e.Position);
    pos = Put_U16(buf, pos, e.Start_Bit);
    pos = Put_U32(buf, pos, e.Poll_Time);
    pos = Put_U8(buf, pos, e.Slave_ID);
    pos = Put_U8(buf, pos, e.Function);
    pos = Put_U16(buf, pos, e.Address);
    pos = Put_U16(buf, pos, e.NPoint);
    pos = Put_U16(buf, pos, e.Port);
    pos = Put_U32(buf, pos, e.Slave_IP);
    pos = Put_Fill(buf, pos, 0, 4);
    pos = Put_U32(buf, pos, e.Max_Error);
    pos = Put_Fill(buf, pos, 0, 2);
    pos = Put_U8(buf, pos, e.Byte_Count);
    return Put_U8(buf, pos, e.Req_Flags);
}

int32_t Write_Alarm(uint8_t* buf, int32_t pos, const TDM1_Alarm_892& a)
{
    pos = Put_U16(buf, pos, a.Position);
    pos = Put_U8(buf, pos, a.Bit_Pos);
    pos = Put_U8(buf, pos, 0);
    pos = Put_Bytes(buf, pos, a.DTC, 4);
    return Put_Bytes(buf, pos, a.Lamps, 8);
}
}  // namespace

void Init_Params_892()
{
    Param_Rec_892 = TParam_Rec_892{};
    Param_Rec_892.J1939_Bit_Rate = 250000;
    Param_Rec_892.Fld_12 = 9600;
    Param_Rec_892.Fld_16 = 8;
    Param_Rec_892.Fld_52 = 10000;
    Param_Rec_892.Fld_60 = 9600;
    Param_Rec_892.Fld_64 = 8;
}

void Clear_Modbus_Table_892()
{
    for (TModbus_Req_892& e : Modbus_Req_Table_892) e = TModbus_Req_892{};
}

TJ1939_Frame_892 Cleared_J1939_Frame_892(uint8_t frameFlags)
{
    TJ1939_Frame_892 f{};
    f.Identifier = 0xFFFFFFFF;
    f.Send_Timer = 0xFFFFFFFF;
    f.Cancel_Timeout_ms = 0xFFFFFFFF;
    f.Frame_Flags = frameFlags;
    return f;
}

void Clear_J1939_Tables_892()
{
    for (TJ1939_Frame_892& f : J1939_Rx_Table_892) f = Cleared_J1939_Frame_892(0);
    for (TJ1939_Frame_892& f : J1939_Tx_Table_892) f = Cleared_J1939_Frame_892(1);
}

void Clear_DM1_Table_892()
{
    for (TDM1_Alarm_892& a : DM1_Alarm_Table_892) a = TDM1_Alarm_892{};
}

void Read_ParGen_892()
{
    TParam_Rec_892& r = Param_Rec_892;
    Set_Octets(r.Fld_96, 1, 0, 0, 16);
    r.Fld_58 = 0;
    r.Fld_116 = 2000;
    r.Fld_120 = 2000;

    TGenDocument doc;
    if (!doc.Load(File_ParGen)) return;
    r.J1939_Bit_Rate = static_cast<uint32_t>(J1939_Bit_Rate_Of(doc.Key_Int("J1939_BAUDRATE", J1939_Default_Index)));
    J1939_Cancel_ms = static_cast<uint32_t>(doc.Key_Int("J1939_TIMEOUT", 5)) * 1000u;
    if (doc.Key_Flag("J1939_PEER_TO_PEER")) r.J1939_Flags |= Flag_Peer_To_Peer;
    r.J1939_Own_Address = static_cast<uint32_t>(doc.Key_Int("J1939_Device_ID", 1));
    if (doc.Key_Flag("J1939_Send_DM1")) r.J1939_Flags |= Flag_Send_DM1;
    r.SSF_Num_Fails = 0;
    if (doc.Key_Flag("J1939_Stop_Send_Frames")) {
        // a missing element gives 0, a text that is no number 1
        QString t;
        if (doc.Key_Text("J1939_SSF_Num_Fails", t)) r.SSF_Num_Fails = static_cast<uint32_t>(Doc_Int_Def(t, 1));
    }
    Read_Key_Octets(doc, {"MODBUS_TCP_MASTER_IP1", "MODBUS_TCP_MASTER_IP2", "MODBUS_TCP_MASTER_IP3", "MODBUS_TCP_MASTER_IP4"},
                {192, 168, 0, 10}, r.IP_Address);
    Read_Key_Octets(doc, {"MODBUS_TCP_MASTER_SM1", "MODBUS_TCP_MASTER_SM2", "MODBUS_TCP_MASTER_SM3", "MODBUS_TCP_MASTER_SM4"},
                {255, 255, 255, 0}, r.Subnet_Mask);
    Read_Key_Octets(doc, {"MODBUS_TCP_MASTER_GAT1", "MODBUS_TCP_MASTER_GAT2", "MODBUS_TCP_MASTER_GAT3", "MODBUS_TCP_MASTER_GAT4"},
                {192, 168, 0, 1}, r.Gateway_Address);
    if (!doc.Key_Flag("MODBUS_TCP_MASTER_EN_GAT")) Set_Octets(r.Gateway_Address, 255, 255, 255, 255);
    r.Modbus_Port = static_cast<uint16_t>(doc.Key_Int("MODBUS_TCP_MASTER_Port", 502));
    r.Modbus_Port_Copy = r.Modbus_Port;
    r.Modbus_Timeout_ms = static_cast<uint32_t>(doc.Key_Int("MODBUS_TCP_MASTER_TimeOut", 1000));
    r.Modbus_Cyclic_Delay_ms = static_cast<uint32_t>(doc.Key_Int("MODBUS_TCP_MASTER_CyclicDelay", 100));
}

void Read_Modbus_Requests_892()
{
    int k = 0;
    Read_Request_File(File_Modbus_Read_Req, TReqKind::Read, k);
    Param_Rec_892.Modbus_Read_Count = static_cast<uint32_t>(k);
    if (Param_Rec_892.J1939_Flags & Flag_Send_DM1) Read_Request_File(File_Modbus_Read_Req_DM1, TReqKind::DM1_Read, k);
    Read_Request_File(File_Modbus_Write_Req, TReqKind::Write, k);
    Param_Rec_892.Modbus_Req_Count = static_cast<uint32_t>(k);
}

void Read_J1939_Rx_Row_892(const TGenRow& row, bool peerToPeer, uint32_t cancelMs, uint32_t& runningOffset,
                           TJ1939_Frame_892& f)
{
    const uint32_t dataPage = static_cast<uint32_t>(row.Int_Def("DataPage", 0));
    const uint32_t pgn = static_cast<uint32_t>(row.Int_Def("PGN", 0));
    f.Identifier = ((dataPage << 16) + pgn) << 8;
    if (!peerToPeer) f.Identifier += static_cast<uint32_t>(row.Int_Def("SourceAddress", 0));
    f.Cancel_Timeout_ms = row.Flag_Exact("CancelData") ? cancelMs : 0;
    f.Data_Offset = static_cast<uint16_t>(runningOffset);
    if (row.Flag_Exact("TransportProtocol")) {
        f.Multi_Frame = 1;
        f.Start_Byte = static_cast<uint16_t>(row.Strict_Or("StartByte", 0));
        f.Num_Bytes = static_cast<uint16_t>(row.Strict_Or("NumBytes", 0));
        runningOffset += f.Num_Bytes;
        return;
    }
    f.Multi_Frame = 0;
    const int32_t s = row.Int_Def("StartByte", -1);
    const int32_t n = row.Int_Def("NumBytes", -1);
    if (s == -1 || n == -1) {
        f.Start_Byte = 0;
        f.Num_Bytes = 8;
        runningOffset += 8;
    } else {
        f.Start_Byte = static_cast<uint16_t>(s);
        f.Num_Bytes = static_cast<uint16_t>(n);
        runningOffset += static_cast<uint32_t>(n);
    }
}

void Read_J1939_Frames_892()
{
    TParam_Rec_892& r = Param_Rec_892;
    TGenDocument doc;
    if (doc.Load(File_J1939_Receive)) {
        uint32_t offset = 0;
        Check_Row_Count(doc, J1939_Frame_Capacity_892);
        const int n = doc.Row_Count();
        for (int i = 0; i < n; ++i) {
            TJ1939_Frame_892& f = J1939_Rx_Table_892[r.J1939_Rx_Count];
            Read_J1939_Rx_Row_892(doc.Row(i), r.J1939_Flags & Flag_Peer_To_Peer, J1939_Cancel_ms, offset, f);
            f.Send_Timer = 0;
            ++r.J1939_Rx_Count;
        }
    }
    if (doc.Load(File_J1939_Transmit)) {
        uint32_t offset = 0;
        Check_Row_Count(doc, J1939_Frame_Capacity_892);
        const int n = doc.Row_Count();
        for (int i = 0; i < n; ++i) {
            const TGenRow row = doc.Row(i);
            TJ1939_Frame_892& f = J1939_Tx_Table_892[r.J1939_Tx_Count];
            const uint32_t priority = static_cast<uint32_t>(row.Strict("Priority"));
            const uint32_t dataPage = static_cast<uint32_t>(row.Strict("DataPage"));
            const uint32_t pgn = static_cast<uint32_t>(row.Strict("PGN"));
            const uint32_t sa = static_cast<uint32_t>(row.Strict("SourceAddress"));
            f.Identifier = ((((priority * 4 + dataPage) << 16) + pgn) << 8) + sa;
            f.Send_Timer = 0;
            if (row.Flag_Upper("Request")) f.Frame_Flags |= 64;
            if (row.Flag_Upper("DataChange")) f.Frame_Flags |= 32;
            if (row.Flag_Upper("OnTimer")) {
                f.Frame_Flags |= 16;
                f.Send_Timer = static_cast<uint32_t>(row.Strict_Or("SendTimer", 0));
            }
            const int32_t size = row.Int_Def("NumByte", 8);
            f.Multi_Frame = size > 8 ? 1 : 0;
            f.Data_Offset = static_cast<uint16_t>(offset);
            f.Start_Byte = 0;
            f.Num_Bytes = static_cast<uint16_t>(size);
            offset += static_cast<uint32_t>(size);
            ++r.J1939_Tx_Count;
        }
    }
}

void Read_DM1_Alarms_892()
{
    TParam_Rec_892& r = Param_Rec_892;
    r.DM1_Alarm_Count = 0;
    r.DM1_Table_Addr = DM1_Table_Addr_892;
    if (!(r.J1939_Flags & Flag_Send_DM1)) return;
    TGenDocument doc;
    if (!doc.Load(File_Define_Alarms_DM1)) return;
    static const char* const lamps[8] = {"MIL", "RSL", "AWL", "PL", "FMIL", "FRSL", "FAWL", "FPL"};
    Check_Row_Count(doc, DM1_Alarm_Capacity_892);
    const int n = doc.Row_Count();
    for (int i = 0; i < n; ++i) {
        const TGenRow row = doc.Row(i);
        TDM1_Alarm_892& a = DM1_Alarm_Table_892[r.DM1_Alarm_Count];
        a.Position = static_cast<uint16_t>(row.Strict_Plus("Position", DM1_Area_Start));
        a.Bit_Pos = static_cast<uint8_t>(row.Int_Def("Bit_Pos", 0));
        const int32_t s = row.Strict("SNP");
        const int32_t f = row.Strict("FMI");
        const int32_t c = row.Strict("CM");
        const int32_t v = row.Strict("Ver_CM");
        Set_DTC(a.DTC, static_cast<uint32_t>(s), static_cast<uint32_t>(f), c, v);
        for (int l = 0; l < 8; ++l) a.Lamps[l] = static_cast<uint8_t>(row.Strict(lamps[l]));
        ++r.DM1_Alarm_Count;
    }
}

int32_t Write_Param_Block_892(int32_t pos, uint8_t* buffer)
{
    const TParam_Rec_892& r = Param_Rec_892;
    TParamBlockWriter w(buffer, pos);
    w.U32(r.J1939_Bit_Rate);
    w.U32(r.Fld_4);
    w.U32(r.Fld_8);
    w.U32(r.Fld_12);
    w.U16(r.Fld_16);
    w.U16(r.Fld_18);
    w.U32(r.Fld_20);
    w.U32(r.Fld_24);
    w.U32(r.J1939_Own_Address);
    w.U32(r.Modbus_Timeout_ms);
    w.U32(r.Modbus_Cyclic_Delay_ms);
    w.IPv4(r.IP_Address);
    w.IPv4(r.Subnet_Mask);
    w.IPv4(r.Gateway_Address);
    w.U16(r.Fld_52);
    w.U16(r.Modbus_Port);
    w.U16(r.Modbus_Port_Copy);
    w.U16(r.Fld_58);
    w.U32(r.Fld_60);
    w.U16(r.Fld_64);
    w.U16(r.Fld_66);
    w.U32(r.Fld_68);
    w.U32(r.Modbus_Req_Count);
    w.U32(r.Fld_76);
    for (uint8_t b : r.Fld_80) w.U8(b);
    for (uint8_t b : r.Fld_96) w.U8(b);
    for (uint8_t b : r.Fld_100) w.U8(b);
    w.U16(r.Fld_104);
    w.U16(r.Fld_106);
    w.U32(r.Fld_108);
    w.U32(r.Fld_112);
    w.U32(r.Fld_116);
    w.U32(r.Fld_120);
    w.U32(r.Fld_124);
    for (uint8_t b : r.Fld_128) w.U8(b);
    for (uint32_t v : r.Fld_132) w.U32(v);
    w.U32(r.J1939_Rx_Count);
    w.U32(r.J1939_Tx_Count);
    w.U32(r.J1939_Flags);
    for (uint32_t v : r.Fld_156) w.U32(v);
    w.U32(r.J1939_Rx_Table_Addr);
    w.U32(r.J1939_Tx_Table_Addr);
    for (uint32_t v : r.Fld_212) w.U32(v);
    w.U32(r.Reg_Timeout_ms);
    w.U32(r.FECA_Timeout_ms);
    w.U32(r.Rx_Map_Count);
    w.U32(r.Tx_Map_Count);
    w.U32(r.Rx_Map_Addr);
    w.U32(r.Tx_Map_Addr);
    w.U32(r.J1939_Timeout_ms);
    w.U32(r.DM1_Alarm_Count);
    w.U32(r.DM1_Table_Addr);
    w.U32(r.SSF_Num_Fails);
    w.U32(r.Modbus_Read_Count);
    return w.Finish();
}

void Write_Modbus_Table_892()
{
    int32_t pos = Param_Block_Size;
    for (const TModbus_Req_892& e : Modbus_Req_Table_892) pos = Write_Request(Image_Buf, pos, e);
    Image_Len = pos;
}

int32_t Write_J1939_Frame_892(uint8_t* buf, int32_t pos, const TJ1939_Frame_892& f)
{
    pos = Put_U32(buf, pos, f.Identifier);
    pos = Put_U32(buf, pos, f.Send_Timer);
    pos = Put_U32(buf, pos, f.Cancel_Timeout_ms);
    pos = Put_U16(buf, pos, f.Data_Offset);
    pos = Put_U16(buf, pos, f.Start_Byte);
    pos = Put_U16(buf, pos, f.Num_Bytes);
    pos = Put_Fill(buf, pos, 0, 10);
    pos = Put_U16(buf, pos, f.Multi_Frame);
    pos = Put_U8(buf, pos, f.Frame_Flags);
    return Put_U8(buf, pos, 0);
}

void Write_J1939_Tables_892()
{
    Image_Len2 = 0;
    for (const TJ1939_Frame_892& f : J1939_Rx_Table_892) Image_Len2 = Write_J1939_Frame_892(Image_Buf2, Image_Len2, f);
    for (const TJ1939_Frame_892& f : J1939_Tx_Table_892) Image_Len2 = Write_J1939_Frame_892(Image_Buf2, Image_Len2, f);
}

void Write_DM1_Table_892()
{
    Image_Len2 = 2 * J1939_Frame_Capacity_892 * J1939_Frame_Size_892;
    for (const TDM1_Alarm_892& a : DM1_Alarm_Table_892) Image_Len2 = Write_Alarm(Image_Buf2, Image_Len2, a);
}

void Build_Image_892()
{
    // every build starts from nothing: no value of an earlier build or configuration
    J1939_Cancel_ms = 0;
    Init_Params_892();
    Clear_Modbus_Table_892();
    Clear_J1939_Tables_892();
    Clear_DM1_Table_892();

    Read_ParGen_892();
    Read_Modbus_Requests_892();
    Read_J1939_Frames_892();
    Read_DM1_Alarms_892();

    Image_Len = 0;
    Image_Len = Write_Param_Block_892(0, Image_Buf);
    Write_Modbus_Table_892();
    Write_J1939_Tables_892();
    Write_DM1_Table_892();
}

void Save_Bank_Files_892()
{
    Save_Bank_Files({{"bank1.bin", Image_Buf, Image_Len}, {"bank2.bin", Image_Buf2, Image_Len2}});
}
