#include "generate/image_891.h"

#include "generate/bank_files.h"
#include "generate/bit_rates.h"
#include "generate/gen_document.h"
#include "generate/image_buffers.h"
#include "generate/image_builders.h"
#include "generate/image_writer.h"
#include "generate/param_block.h"
#include "platform/core/sysutils.h"
#include "state/shared_state.h"

#include <cstring>

TParam_Rec_891 Param_Rec_891;
uint32_t Rx_Data_Offsets_891[Rx_Frame_Capacity_891];

namespace {
// Reserved area after the record; always zero, copied into the block after its zeros.
uint8_t Reserved_891[1312];

// The block lies at this device address; the tables follow it.
constexpr uint32_t Block_Addr_891 = 0x68000;
constexpr int32_t Frame_Entry_Size = 16;
constexpr int32_t Map_Entry_Size = 12;

constexpr uint32_t Flag_Peer_To_Peer = 1;
constexpr uint32_t Flag_Remote_Request = 2;

// Entries are appended straight into the image; refuse a row that would not fit.
void Need(const TGenDocument& doc, int row, int32_t bytes)
{
    if (Image_Len + bytes > Image_Buf_Size)
        Refuse_Row(doc, row, QStringLiteral("the tables do not fit the %1 bytes of the image.").arg(Image_Buf_Size));
}
}  // namespace

void Init_Params_891()
{
    TParam_Rec_891& r = Param_Rec_891;
    std::memset(&r, 0, sizeof r);
    std::memset(Reserved_891, 0, sizeof Reserved_891);
    r.J1939_Bit_Rate = 250000;
    r.J1939_Bit_Rate_Copy = 250000;
    r.Serial_Bit_Rate = 9600;
    r.Fld_28 = 1000;
    r.Fld_52 = 1;
    r.Fld_104 = 2;
    r.Fld_112 = 255;
}

void Read_ParGen_891()
{
    TGenDocument doc;
    if (!doc.Load(File_ParGen)) return;
    TParam_Rec_891& r = Param_Rec_891;
    r.J1939_Bit_Rate = uint32_t(J1939_Bit_Rate_Of(doc.Key_Int("J1939_BAUDRATE", J1939_Default_Index)));
    r.J1939_Bit_Rate_Copy = r.J1939_Bit_Rate;
    r.J1939_Timeout = uint32_t(doc.Key_Int("J1939_TIMEOUT", 0));
    r.J1939_ModReg_Timeout = uint32_t(doc.Key_Int("J1939_ModReg_TO", 0));
    r.J1939_Flags = 0;
    if (doc.Key_Flag("J1939_PEER_TO_PEER")) r.J1939_Flags |= Flag_Peer_To_Peer;
    if (doc.Key_Flag("J1939_Remote_Request")) r.J1939_Flags |= Flag_Remote_Request;
    r.RTR_Pri_Dest = uint32_t(doc.Key_Int("J1939_RTR_Pri_Dest", 0));
    r.RTR_PGN1 = uint32_t(doc.Key_Int("J1939_RTR_PGN1", 0));
    r.RTR_PGN2 = uint32_t(doc.Key_Int("J1939_RTR_PGN2", 0));
    r.RTR_SA = uint32_t(doc.Key_Int("J1939_RTR_SA", 0));
    r.Serial_Bit_Rate = uint32_t(Serial_Bit_Rate_Of(doc.Key_Int("MODBUS_SLAVE_BAUDRATE", Serial_Default_Index)));
    r.Serial_Parity = uint32_t(doc.Key_Int("MODBUS_SLAVE_PARITY", 0));
    r.Modbus_Device_ID = uint32_t(doc.Key_Int("MODBUS_SLAVE_IDDEVICE", 10));
}

void Read_J1939_Receive_891()
{
    TParam_Rec_891& r = Param_Rec_891;
    r.Rx_Table_Addr = Block_Addr_891 + Param_Block_Size;
    Image_Len = Param_Block_Size;
    r.J1939_Rx_Count = 0;
    uint32_t offset = 0;
    TGenDocument doc;
    if (!doc.Load(File_J1939_Receive)) return;
    for (int i = 0; i < doc.Row_Count(); ++i) {
        Check_Capacity(doc, i, i, Rx_Frame_Capacity_891, QStringLiteral("receive frames"));
        Need(doc, i, Frame_Entry_Size);
        const TGenRow row = doc.Row(i);
        Rx_Data_Offsets_891[r.J1939_Rx_Count++] = offset;
        const uint32_t dataPage = uint32_t(row.Strict64_Low("DataPage"));
        const uint32_t pgn = uint32_t(row.Strict("PGN"));
        uint32_t id = ((dataPage << 16) + (pgn & 0xFFFF)) << 8;
        if (!(r.J1939_Flags & Flag_Peer_To_Peer)) id += uint32_t(row.Strict("SourceAddress")) & 0xFF;
        int32_t p = Put_U32(Image_Buf, Image_Len, id);
        const bool transport = row.Flag_Trim_Upper("TransportProtocol");
        p = Put_U16(Image_Buf, p, transport ? uint32_t(row.Strict("StartByte")) : 0);
        const uint16_t size = transport ? uint16_t(row.Strict("NumBytes")) : 8;
        p = Put_U16(Image_Buf, p, size);
        p = Put_U16(Image_Buf, p, 0);
        p = Put_U16(Image_Buf, p, offset);
        const uint8_t flags = (transport ? 1 : 0) | (row.Flag_Trim_Upper("CancelData") ? 2 : 0);
        p = Put_U8(Image_Buf, p, flags);
        Put_Fill(Image_Buf, p, 0, 3);
        offset += size;
        Image_Len += Frame_Entry_Size;
    }
}

void Read_J1939_Transmit_891()
{
    TParam_Rec_891& r = Param_Rec_891;
    r.Tx_Table_Addr = uint32_t(Image_Len) + Block_Addr_891;
    r.J1939_Tx_Count = 0;
    TGenDocument doc;
    if (!doc.Load(File_J1939_Transmit)) return;
    for (int i = 0; i < doc.Row_Count(); ++i) {
        Need(doc, i, Frame_Entry_Size);
        const TGenRow row = doc.Row(i);
        ++r.J1939_Tx_Count;
        const uint32_t priority = uint32_t(row.Strict64_Low("Priority"));
        const uint32_t dataPage = uint32_t(row.Strict("DataPage"));
        const uint32_t pgn = uint32_t(row.Strict("PGN"));
        const uint32_t sa = uint32_t(row.Strict("SourceAddress"));
        // bit 31: an extended (29-bit) identifier
        const uint32_t id = ((((priority * 4 + (dataPage & 0xFF)) << 16) + (pgn & 0xFFFF)) << 8) + (sa & 0xFF);
        int32_t p = Put_U32(Image_Buf, Image_Len, id | 0x80000000u);
        p = Put_U16(Image_Buf, p, 0);
        p = Put_U16(Image_Buf, p, 8);
        const bool onChange = UpperCase(Trim(row.Text("TransmitionType"))) == QLatin1String("ON DATA CHANGE");
        const uint8_t kind = onChange ? 4 : 8;
        p = Put_U16(Image_Buf, p, kind == 8 ? uint32_t(row.Strict("SendTimer")) : 0);
        p = Put_U16(Image_Buf, p, 8 * uint32_t(i));
        p = Put_U8(Image_Buf, p, kind);
        Put_Fill(Image_Buf, p, 0, 3);
        Image_Len += Frame_Entry_Size;
    }
}

namespace {
// The mapping rows of `path` that name one of `frames` frames, each written as the three
// register fields and the tail that `rest` writes; the others are left out.
void Read_Mappings_891(const QString& path, uint32_t frames, uint32_t& count, uint32_t& addr,
                       int32_t (*rest)(const TGenRow& row, int32_t p, int32_t n))
{
    addr = uint32_t(Image_Len) + Block_Addr_891;
    count = 0;
    TGenDocument doc;
    if (!doc.Load(path)) return;
    for (int i = 0; i < doc.Row_Count(); ++i) {
        const TGenRow row = doc.Row(i);
        const int32_t n = row.Int_Def("Num_Frame", -1);
        if (n < 0 || uint32_t(n) >= frames) continue;
        Need(doc, i, Map_Entry_Size);
        ++count;
        int32_t p = Put_U16(Image_Buf, Image_Len, uint32_t(row.Strict("Mod_Index")));
        p = Put_U16(Image_Buf, p, uint32_t(row.Strict("Byte_HiPart")));
        p = Put_U16(Image_Buf, p, uint32_t(row.Strict("Byte_LoPart")));
        p = rest(row, p, n);
        Put_Fill(Image_Buf, p, 0, Image_Len + Map_Entry_Size - p);
        Image_Len += Map_Entry_Size;
    }
}
}  // namespace

void Read_Define_Rec_891()
{
    TParam_Rec_891& r = Param_Rec_891;
    Read_Mappings_891(File_Define_J1939_Rec, r.J1939_Rx_Count, r.Define_Rec_Count, r.Define_Rec_Addr,
                      [](const TGenRow&, int32_t p, int32_t n) { return Put_U16(Image_Buf, p, Rx_Data_Offsets_891[n]); });
}

void Read_Define_Tra_891()
{
    TParam_Rec_891& r = Param_Rec_891;
    Read_Mappings_891(File_Define_J1939_Tra, r.J1939_Tx_Count, r.Define_Tra_Count, r.Define_Tra_Addr,
                      [](const TGenRow& row, int32_t p, int32_t n) {
                          p = Put_U16(Image_Buf, p, 8 * uint32_t(n));
                          p = Put_U8(Image_Buf, p, uint32_t(row.Strict("Send_on_Write")));
                          return Put_U8(Image_Buf, p, uint32_t(n));
                      });
}

void Write_Param_Block_891()
{
    uint32_t fields[44];
    std::memcpy(fields, &Param_Rec_891, sizeof fields);
    TParamBlockWriter w(Image_Buf, 0);
    for (uint32_t v : fields) w.U32(v);
    w.Zeros(732 - w.Record_Size());
    for (uint8_t b : Reserved_891) w.U8(b);
    w.Finish();
}

void Build_Image_891()
{
    Init_Params_891();
    Read_ParGen_891();
    Read_J1939_Receive_891();
    Read_J1939_Transmit_891();
    Read_Define_Rec_891();
    Read_Define_Tra_891();
    Write_Param_Block_891();
}

void Save_Bank_Files_891() { Save_Bank_Files({{"bank.bin", Image_Buf, Image_Len}}); }
