#include "generate/image_897.h"

#include "generate/bank_files.h"
#include "generate/bit_rates.h"
#include "generate/gen_document.h"
#include "generate/image_860.h"
#include "generate/image_buffers.h"
#include "generate/image_builders.h"
#include "generate/image_can.h"
#include "generate/image_writer.h"
#include "generate/j1939_entry.h"
#include "state/shared_state.h"

#include <algorithm>

TCAN_Frame_Entry CAN_Frame_Table[2 * CAN_Frames_Per_Half];

namespace {

constexpr int32_t Block_Pos_897 = CAN_Table_Size;                // 0x4000
constexpr int32_t J1939_Sections_897 = Block_Pos_897 + 2048;       // 0x4800
constexpr int32_t Rx_Entry_Size_897 = 16;
constexpr int32_t Tx_Entry_Size_897 = 12;

TCAN_Frame_Entry Cleared_Entry()
{
    TCAN_Frame_Entry e{};
    std::fill(std::begin(e.Pos), std::end(e.Pos), 0xFFFF);
    return e;
}

// Identifier, 29-bit marker, data length and data positions: what both halves share.
void Read_Frame_Row(const TGenRow& row, TCAN_Frame_Entry& e)
{
    e.Identifier = static_cast<uint32_t>(row.Strict64_Low("Cob-ID"));
    if (row.Text("Type") == QLatin1String("2.0B (29bits)")) e.Identifier |= CAN_Ext_Id_Flag;
    e.Length = static_cast<uint8_t>(row.Strict("Dimension"));
    static const char* const bytes[8] = {"Byte1", "Byte2", "Byte3", "Byte4", "Byte5", "Byte6", "Byte7", "Byte8"};
    for (int k = 0; k < 8; ++k) e.Pos[k] = k < e.Length ? static_cast<uint16_t>(row.Strict(bytes[k])) : 0xFFFF;
}

// Reads one half of the table; returns its row count.
int Read_Half(const QString& path, int first, bool transmit)
{
    TGenDocument doc;
    if (!doc.Load(path)) return 0;
    Check_Row_Count(doc, CAN_Frames_Per_Half);
    for (int i = 0; i < doc.Row_Count(); ++i) {
        const TGenRow row = doc.Row(i);
        TCAN_Frame_Entry& e = CAN_Frame_Table[first + i];
        Read_Frame_Row(row, e);
        if (transmit) {
            e.Flags = (row.Flag_Upper("DataChange") ? 2 : 0) | (row.Flag_Upper("Time") ? 4 : 0);
            e.Cycle_ms = static_cast<uint32_t>(row.Int_Def("Time_ms", 0));
        } else {
            e.Timeout = static_cast<uint32_t>(row.Strict("TimeOut"));
        }
    }
    return doc.Row_Count();
}

// The J1939 bit rates of this model go beyond the common table.
int32_t J1939_Bit_Rate_897(int32_t index)
{
    if (index == 9) return 667000;
    if (index == 10) return 750000;
    return J1939_Bit_Rate_Of(index);
}

}  // namespace

void Clear_CAN_Frame_Table() { std::fill(std::begin(CAN_Frame_Table), std::end(CAN_Frame_Table), Cleared_Entry()); }

void Read_CAN_Frames()
{
    const uint32_t rx = static_cast<uint32_t>(Read_Half(File_CAN_Define_Receive, 0, false));
    const uint32_t tx = static_cast<uint32_t>(Read_Half(File_CAN_Define_Transmit, CAN_Frames_Per_Half, true));
    Param_Rec_CAN.CAN_Rx_Count = Param_Rec_860.CAN_Rx_Count = rx;
    Param_Rec_CAN.CAN_Tx_Count = Param_Rec_860.CAN_Tx_Count = tx;
}

int32_t Write_CAN_Table_860(int32_t pos, uint8_t* buffer)
{
    for (const TCAN_Frame_Entry& e : CAN_Frame_Table) {
        pos = Put_U32(buffer, pos, e.Identifier);
        pos = Put_U32(buffer, pos, e.Cycle_ms);
        pos = Put_U32(buffer, pos, e.Timeout);
        pos = Put_U8(buffer, pos, 0);
        pos = Put_U8(buffer, pos, e.Flags);
        pos = Put_U8(buffer, pos, e.Length);
        pos = Put_U8(buffer, pos, 0);
        for (uint16_t p : e.Pos) pos = Put_U16(buffer, pos, p);
    }
    return pos;
}

void Write_CAN_Table() { Write_CAN_Table_860(0, Image_Buf); }

void Read_J1939_Frames_897()
{
    TSection_Dir_Entry* dir = Param_Rec_CAN.Section_Dir;
    int32_t pos = J1939_Sections_897;
    Image_Len = pos;
    dir[Sec_J1939_Rx].Start = static_cast<uint32_t>(pos - Block_Pos_897);
    // the sections run to the end of the image buffer; a row that would pass it is refused
    auto need = [&pos](const TGenDocument& doc, int row, int32_t size) {
        if (pos + size > Image_Buf_Size)
            Refuse_Row(doc, row, QStringLiteral("the J1939 frames do not fit the %1 bytes of the image").arg(Image_Buf_Size));
    };
    TGenDocument doc;
    if (doc.Load(File_J1939_Receive)) {
        dir[Sec_J1939_Rx].Count = static_cast<uint32_t>(doc.Row_Count());
        uint32_t running = 0;
        for (int i = 0; i < doc.Row_Count(); ++i) {
            need(doc, i, Rx_Entry_Size_897);
            pos = Write_J1939_Rx_Entry_16(Image_Buf, pos, Read_J1939_Rx_Row(doc.Row(i), Rx_Names_J1939, TStart_Rule::As_Read, running));
        }
    }
    dir[Sec_J1939_Tx].Start = static_cast<uint32_t>(pos - Block_Pos_897);
    if (doc.Load(File_J1939_Transmit)) {
        dir[Sec_J1939_Tx].Count = static_cast<uint32_t>(doc.Row_Count());
        for (int i = 0; i < doc.Row_Count(); ++i) {
            need(doc, i, Tx_Entry_Size_897);
            const TJ1939_Tx_Entry e = Read_J1939_Tx_Row(doc.Row(i), "DataPage", "SourceAddress", 0);
            pos = Put_U32(Image_Buf, pos, e.Identifier);
            pos = Put_U8(Image_Buf, pos, e.Flags);
            pos = Put_U8(Image_Buf, pos, 0);
            pos = Put_U16(Image_Buf, pos, static_cast<uint32_t>(8 * i));
            pos = Put_U32(Image_Buf, pos, e.OnTimer_Time);
        }
    }
    Image_Len = pos;
}

void Read_ParGen_897()
{
    TGenDocument doc;
    if (!doc.Load(File_ParGen)) return;
    TParam_Rec_CAN& p = Param_Rec_CAN;
    p.Section_Dir[Sec_J1939_Rx].Start += CAN_Block_Addr;
    p.Section_Dir[Sec_J1939_Tx].Start += CAN_Block_Addr;
    p.J1939_Bit_Rate = static_cast<uint32_t>(J1939_Bit_Rate_897(doc.Key_Int("J1939_BAUDRATE", J1939_Default_Index)));
    p.J1939_Timeout_ms = static_cast<uint32_t>(doc.Key_Int("J1939_TIMEOUT", 0)) * 1000u;
    p.J1939_Peer_Mode = doc.Key_Flag("J1939_PEER_TO_PEER") ? 1 : 0;
    p.J1939_Own_Address = static_cast<uint32_t>(doc.Key_Int("J1939_Device_ID", 0));
    p.CAN_Bit_Rate = static_cast<uint32_t>(CAN_Bit_Rate_Of(doc.Key_Int("CAN_Baudrate", 9)));
}

void Build_Image_897()
{
    Init_Params_CAN();
    Clear_CAN_Frame_Table();
    Read_CAN_Frames();
    Write_CAN_Table();
    Read_J1939_Frames_897();
    Read_ParGen_897();
    Write_Param_Block_CAN(Block_Pos_897);
}

void Save_Bank_Files_897() { Save_Bank_Files({{"bank.bin", Image_Buf, Image_Len}}); }
