#include "generate/image_890.h"

#include "generate/bank_files.h"
#include "generate/bit_rates.h"
#include "generate/gen_document.h"
#include "generate/image_buffers.h"
#include "generate/image_builders.h"
#include "generate/image_writer.h"
#include "generate/param_block.h"
#include "platform/core/sysutils.h"
#include "state/model_table.h"
#include "state/shared_state.h"

#include <cstring>

TParam_Rec_890 Param_Rec_890;
TJ1939_Frame_892 Frame_Table_890[Frame_Capacity_890];
TModbus_Req_890 Modbus_Req_Table_890[Modbus_Req_Capacity_890];
std::vector<TRegStatus_def> Reg_Status_Map_Array;
uint8_t Default_Values_Area[Default_Values_Size_890];

namespace {
constexpr uint32_t Flag_Peer_To_Peer = 1;
constexpr int32_t Modbus_Req_Size_890 = 20;
constexpr int32_t Map_Entry_Size_890 = 4;

// Text before the first `sep` and after it, both trimmed; false when `sep` is absent.
bool Split_At(const QString& s, QChar sep, QString& before, QString& after)
{
    const qsizetype at = s.indexOf(sep);
    if (at < 0) return false;
    before = Trim(s.left(at));
    after = Trim(s.mid(at + 1));
    return true;
}

// Refuses a request whose map no longer fits bank2.bin behind the frames and requests.
void Check_Bank2_Fits(const TGenDocument& doc, int row, uint32_t mapEntries)
{
    const TParam_Rec_890& r = Param_Rec_890;
    const int64_t bytes = int64_t(J1939_Frame_Size_892) * (r.J1939_Rx_Count + r.J1939_Tx_Count) +
                          int64_t(Modbus_Req_Size_890) * (r.Write_Req_Count + r.Read_Req_Count + 1) +
                          int64_t(Map_Entry_Size_890) * mapEntries;
    if (bytes > Image_Buf_Size)
        Refuse_Row(doc, row, QStringLiteral("the frames, requests and register maps do not fit the %1 bytes of the image.")
                                 .arg(Image_Buf_Size));
}

// The fields common to write and read requests; strict values end the build.
void Read_Request(const TGenRow& row, TModbus_Req_890& e, uint32_t& total)
{
    e.Slave_ID = uint8_t(row.Strict("SlaveID"));
    e.Address = uint16_t(row.Strict("Address"));
    e.NPoint = uint16_t(row.Strict("NPoint"));
    total += e.NPoint;
}

void Read_Maps(const QString& path, int first, int32_t& base, int32_t& index, bool (*is_register)(uint8_t))
{
    TGenDocument doc;
    if (!doc.Load(path)) return;
    for (int k = 0; k < doc.Row_Count(); ++k) {
        TModbus_Req_890& e = Modbus_Req_Table_890[first + k];
        e.Map_Addr = uint32_t(base);
        base = Parse_Regs_Status_Map(doc.Row(k).Text("Regs_Status_Map"), e.NPoint, base, index, is_register(e.Function));
    }
}
}  // namespace

void Init_Params_890()
{
    TParam_Rec_890& r = Param_Rec_890;
    std::memset(&r, 0, sizeof r);
    r.J1939_Bit_Rate = 1000000;
    r.Serial_Bit_Rate = 9600;
    r.Modbus_Timeout_ms = 1000;
    r.Modbus_Cyclic_Delay_ms = 100;
    r.Rx_Data_Size = 2000;
    r.Tx_Data_Size = 2000;
    r.J1939_Bit_Rate_Copy = 1000000;
}

void Clear_Frame_Table_890()
{
    for (TJ1939_Frame_892& f : Frame_Table_890) f = Cleared_J1939_Frame_892(0);
}

void Clear_Modbus_Table_890()
{
    for (TModbus_Req_890& e : Modbus_Req_Table_890) e = TModbus_Req_890{};
}

void Reset_Reg_Status_Map() { Reg_Status_Map_Array.clear(); }

void Fill_Default_Values_Area() { std::memset(Default_Values_Area, 0xFF, sizeof Default_Values_Area); }

void Read_ParGen_890()
{
    TGenDocument doc;
    if (!doc.Load(File_ParGen)) return;
    TParam_Rec_890& r = Param_Rec_890;
    r.J1939_Bit_Rate = uint32_t(J1939_Bit_Rate_Of(doc.Key_Int("J1939_BAUDRATE", J1939_Default_Index)));
    r.J1939_Bit_Rate_Copy = r.J1939_Bit_Rate;
    r.J1939_Timeout_ms = uint32_t(doc.Key_Int("J1939_TIMEOUT", 5)) * 1000;
    if (doc.Key_Flag("J1939_PEER_TO_PEER")) r.J1939_Flags |= Flag_Peer_To_Peer;
    r.J1939_Own_Address = uint32_t(doc.Key_Int("J1939_Device_ID", 1));
    r.Serial_Bit_Rate = uint32_t(Serial_Bit_Rate_Of(doc.Key_Int("MODBUS_MASTER_BAUDRATE", Serial_Default_Index)));
    // the device codes odd parity as 3
    const int32_t parity = doc.Key_Int("MODBUS_MASTER_PARITY", 0);
    r.Serial_Parity = parity == 1 ? 3 : uint32_t(parity);
    if (doc.Key_Int("MODBUS_MASTER_STOPBITS", 0) == 1) r.Serial_Stop_Bits = 2;
    r.Modbus_Timeout_ms = uint32_t(doc.Key_Int("MODBUS_MASTER_TimeOut", 1000));
    r.Modbus_Cyclic_Delay_ms = uint32_t(doc.Key_Int("MODBUS_MASTER_CyclicDelay", 100));
}

bool Parse_Default_Values(const QString& text, int32_t offset, int32_t count)
{
    if (text.isEmpty()) return true;
    std::vector<uint8_t> values;
    QString rest = text;
    while (!rest.isEmpty()) {
        QString item;
        if (!Split_At(rest, QLatin1Char(','), item, rest)) {
            item = Trim(rest);
            rest.clear();
        }
        if (item.isEmpty()) continue;
        const int32_t v = Doc_Int_Def(item, -1);
        if (v < 0 || v > 255) return true;
        values.push_back(uint8_t(v));
    }
    // no values: nothing to store, wherever the frame's data lie
    if (int64_t(values.size()) != count || count == 0) return true;
    if (offset < 0 || int64_t(offset) + count > Default_Values_Size_890) return false;
    std::memcpy(Default_Values_Area + offset, values.data(), values.size());
    return true;
}

void Read_J1939_Frames_890()
{
    TParam_Rec_890& r = Param_Rec_890;
    r.J1939_Rx_Count = 0;
    r.Frame_Table_Addr = Bank2_Addr_890;
    uint32_t offset = 0;
    TGenDocument doc;
    if (doc.Load(File_J1939_Receive)) {
        for (int i = 0; i < doc.Row_Count(); ++i) {
            Check_Capacity(doc, i, r.J1939_Rx_Count, Frame_Capacity_890, QStringLiteral("J1939 frames"));
            TJ1939_Frame_892& f = Frame_Table_890[r.J1939_Rx_Count];
            Read_J1939_Rx_Row_892(doc.Row(i), r.J1939_Flags & Flag_Peer_To_Peer, r.J1939_Timeout_ms, offset, f);
            f.Frame_Flags = 0;
            ++r.J1939_Rx_Count;
        }
    }
    r.Rx_Data_Size = offset;
    r.Tx_Frames_Addr = r.Frame_Table_Addr + uint32_t(J1939_Frame_Size_892) * r.J1939_Rx_Count;
    offset = 0;
    if (doc.Load(File_J1939_Transmit)) {
        for (int i = 0; i < doc.Row_Count(); ++i) {
            const uint32_t entry = r.J1939_Rx_Count + r.J1939_Tx_Count;
            Check_Capacity(doc, i, entry, Frame_Capacity_890, QStringLiteral("J1939 frames, receive and transmit together"));
            const TGenRow row = doc.Row(i);
            TJ1939_Frame_892& f = Frame_Table_890[entry];
            const uint32_t priority = uint32_t(row.Int_Def("Priority", 0));
            const uint32_t dataPage = uint32_t(row.Int_Def("DataPage", 0));
            const uint32_t pgn = uint32_t(row.Int_Def("PGN", 0));
            const uint32_t sa = uint32_t(row.Int_Def("SourceAddress", 0));
            f.Identifier = (priority << 26) + (dataPage << 24) + (pgn << 8) + sa;
            f.Send_Timer = 0;
            f.Frame_Flags = 1;
            if (row.Flag_Upper("Request")) f.Frame_Flags |= 64;
            if (row.Flag_Upper("DataChange")) f.Frame_Flags |= 32;
            if (row.Flag_Upper("OnTimer")) {
                f.Frame_Flags |= 16;
                f.Send_Timer = uint32_t(row.Strict_Or("SendTimer", 0));
            }
            const int32_t size = row.Int_Def("NumByte", 8);
            f.Multi_Frame = size > 8 ? 1 : 0;
            if (!Parse_Default_Values(Trim(row.Text("DefaultValues")), int32_t(offset), size))
                Refuse_Row(doc, i, QStringLiteral("the default values run past the %1 bytes of their area.")
                                       .arg(Default_Values_Size_890));
            f.Data_Offset = uint16_t(offset);
            f.Start_Byte = 0;
            f.Num_Bytes = uint16_t(size);
            offset += uint32_t(size);
            ++r.J1939_Tx_Count;
        }
    }
    r.Tx_Data_Size = offset;
    r.Write_Req_Addr = r.Tx_Frames_Addr + uint32_t(J1939_Frame_Size_892) * r.J1939_Tx_Count;
}

int32_t Parse_Regs_Status_Map(const QString& text, int32_t count, int32_t base, int32_t& index, bool is_register)
{
    QString s = Trim(text);
    int32_t n = 0;
    while (!s.isEmpty()) {
        QString skipped, a, b;
        if (!Split_At(s, QLatin1Char('['), skipped, s)) break;
        if (!Split_At(s, QLatin1Char(','), a, s)) break;
        if (!Split_At(s, QLatin1Char(']'), b, s)) break;
        const int32_t va = Doc_Int_Def(a, -1);
        const int32_t vb = Doc_Int_Def(b, -1);
        if (va == -1 || vb == -1) break;
        const bool valid = va >= 0 && va <= Gateway_Memory_Size && (is_register ? vb >= 0 && vb <= Gateway_Memory_Size : vb >= 1 && vb <= 8);
        if (!valid) continue;
        // pairs beyond the request's size are counted and dropped
        if (++n <= count) Reg_Status_Map_Array[size_t(index++)] = {uint16_t(va), uint16_t(vb)};
    }
    for (; n < count; ++n) Reg_Status_Map_Array[size_t(index++)] = {0, 0};
    return base + Map_Entry_Size_890 * count;
}

void Read_Modbus_Requests_890()
{
    TParam_Rec_890& r = Param_Rec_890;
    r.Write_Req_Count = 0;
    uint32_t total = 0;
    TGenDocument doc;
    const bool haveWrites = doc.Load(File_Modbus_Write_Req);
    if (haveWrites) {
        for (int i = 0; i < doc.Row_Count(); ++i) {
            Check_Capacity(doc, i, r.Write_Req_Count, Modbus_Req_Capacity_890, QStringLiteral("Modbus requests"));
            const TGenRow row = doc.Row(i);
            TModbus_Req_890& e = Modbus_Req_Table_890[r.Write_Req_Count];
            Read_Request(row, e, total);
            Check_Bank2_Fits(doc, i, total);
            const bool holding = UpperCase(row.Text("Type")) == QLatin1String("HOLDING REGISTER");
            e.Function = holding ? (e.NPoint == 1 ? 6 : 16) : (e.NPoint == 1 ? 5 : 15);
            e.Poll_Time = uint32_t(row.Strict64_Low("PollTime"));
            e.Req_Flags = 0;
            if (row.Flag_Exact("OnChange")) e.Req_Flags |= 1;
            if (row.Flag_Exact("OnCMD")) e.Req_Flags |= 2;
            e.Max_Error = uint32_t(row.Strict64_Low("MaxError"));
            ++r.Write_Req_Count;
        }
    }
    r.Read_Req_Addr = r.Write_Req_Addr + uint32_t(Modbus_Req_Size_890) * r.Write_Req_Count;
    r.Read_Req_Count = 0;
    const bool haveReads = doc.Load(File_Modbus_Read_Req);
    if (haveReads) {
        for (int i = 0; i < doc.Row_Count(); ++i) {
            const uint32_t entry = r.Write_Req_Count + r.Read_Req_Count;
            Check_Capacity(doc, i, entry, Modbus_Req_Capacity_890, QStringLiteral("Modbus requests, write and read together"));
            const TGenRow row = doc.Row(i);
            TModbus_Req_890& e = Modbus_Req_Table_890[entry];
            Read_Request(row, e, total);
            Check_Bank2_Fits(doc, i, total);
            const QString type = UpperCase(row.Text("Type"));
            e.Function = type == QLatin1String("COIL STATUS")      ? 1
                         : type == QLatin1String("INPUT STATUS")   ? 2
                         : type == QLatin1String("HOLDING REGISTER") ? 3
                                                                      : 4;
            e.Poll_Time = uint32_t(row.Strict64_Low("PollTime"));
            e.Max_Error = uint32_t(row.Strict64_Low("MaxError"));
            e.Req_Flags = 0;
            ++r.Read_Req_Count;
        }
    }
    Reg_Status_Map_Array.assign(total, TRegStatus_def{0, 0});
    int32_t index = 0;
    int32_t base = int32_t(r.Read_Req_Addr + uint32_t(Modbus_Req_Size_890) * r.Read_Req_Count);
    if (haveWrites) Read_Maps(File_Modbus_Write_Req, 0, base, index, [](uint8_t f) { return f != 5 && f != 15; });
    if (haveReads)
        Read_Maps(File_Modbus_Read_Req, int(r.Write_Req_Count), base, index, [](uint8_t f) { return f != 1 && f != 2; });
}

void Write_Param_Block_890()
{
    uint32_t fields[22];
    std::memcpy(fields, &Param_Rec_890, sizeof fields);
    TParamBlockWriter w(Image_Buf, 0);
    for (uint32_t v : fields) w.U32(v);
    const int32_t end = w.Finish();
    Image_Len = Put_Bytes(Image_Buf, end, Default_Values_Area, Default_Values_Size_890);
}

void Write_Tables_890()
{
    const TParam_Rec_890& r = Param_Rec_890;
    int32_t p = 0;
    for (uint32_t i = 0; i < r.J1939_Rx_Count + r.J1939_Tx_Count; ++i) p = Write_J1939_Frame_892(Image_Buf2, p, Frame_Table_890[i]);
    for (uint32_t i = 0; i < r.Write_Req_Count + r.Read_Req_Count; ++i) {
        const TModbus_Req_890& e = Modbus_Req_Table_890[i];
        p = Put_U32(Image_Buf2, p, e.Map_Addr);
        p = Put_U8(Image_Buf2, p, e.Slave_ID);
        p = Put_U8(Image_Buf2, p, e.Function);
        p = Put_U16(Image_Buf2, p, e.Address);
        p = Put_U16(Image_Buf2, p, e.NPoint);
        p = Put_U8(Image_Buf2, p, e.Req_Flags);
        p = Put_U8(Image_Buf2, p, 0);
        p = Put_U32(Image_Buf2, p, e.Poll_Time);
        p = Put_U32(Image_Buf2, p, e.Max_Error);
    }
    for (const TRegStatus_def& m : Reg_Status_Map_Array) {
        p = Put_U16(Image_Buf2, p, m.HiByte);
        p = Put_U16(Image_Buf2, p, m.LoByte);
    }
    Image_Len2 = p;
}

void Build_Image_890()
{
    Init_Params_890();
    Clear_Frame_Table_890();
    Clear_Modbus_Table_890();
    Reset_Reg_Status_Map();
    Fill_Default_Values_Area();
    Read_ParGen_890();
    Read_J1939_Frames_890();
    Read_Modbus_Requests_890();
    Write_Param_Block_890();
    Write_Tables_890();
}

void Save_Bank_Files_890() { Save_Bank_Files({{"bank1.bin", Image_Buf, Image_Len}, {"bank2.bin", Image_Buf2, Image_Len2}}); }
