#include "generate/image_895.h"

#include "generate/bank_files.h"
#include "generate/bit_rates.h"
#include "generate/gen_document.h"
#include "generate/image_buffers.h"
#include "generate/image_builders.h"
#include "generate/param_block.h"
#include "state/shared_state.h"

#include <algorithm>
#include <cassert>

TParam_Rec_895 Param_Rec_895;
TJ1939_Rx_Entry J1939_Rx_Table_895[J1939_Frame_Capacity_895];
TJ1939_Tx_Entry J1939_Tx_Table_895[J1939_Frame_Capacity_895];

// the device has room for 30 frames each way; more would be dropped without a word
void Check_J1939_Table_895(const TGenDocument& doc) { Check_Row_Count(doc, J1939_Frame_Capacity_895); }

void Init_Params_895()
{
    TParam_Rec_895& r = Param_Rec_895;
    r = TParam_Rec_895{};
    r.J1939_Bit_Rate = r.J1939_Bit_Rate_Copy = 250000;
    r.J1939_Timeout_ms = 5000;
    r.J1939_Own_Address = 1;
    r.FECA_Timeout = 100;
    r.J1939_Rx_Table_Addr = 0x68800;
    r.J1939_Tx_Table_Addr = 0x68BC0;
}

void Clear_Frame_Tables_895()
{
    std::fill(std::begin(J1939_Rx_Table_895), std::end(J1939_Rx_Table_895), TJ1939_Rx_Entry{});
    std::fill(std::begin(J1939_Tx_Table_895), std::end(J1939_Tx_Table_895), TJ1939_Tx_Entry{});
}

void Read_J1939_Frames_895()
{
    TParam_Rec_895& r = Param_Rec_895;
    r.J1939_Rx_Table_Addr = 0x68800;
    uint32_t running = 0;
    TGenDocument doc;
    if (doc.Load(File_J1939_Receive)) {
        Check_J1939_Table_895(doc);
        for (int i = 0; i < doc.Row_Count(); ++i)
            J1939_Rx_Table_895[r.J1939_Rx_Count++] = Read_J1939_Rx_Row(doc.Row(i), Rx_Names_J1939, TStart_Rule::As_Read, running);
    }
    r.J1939_Rx_Data_Size = running;

    r.J1939_Tx_Table_Addr = 0x68BC0;
    r.J1939_Tx_Count = 0;
    if (doc.Load(File_J1939_Transmit)) {
        Check_J1939_Table_895(doc);
        for (int i = 0; i < doc.Row_Count(); ++i) {
            TJ1939_Tx_Entry e = Read_J1939_Tx_Row(doc.Row(i), "DataPage", "SourceAddress", 1000);
            e.Data_Offset = static_cast<uint16_t>(8 * i);
            J1939_Tx_Table_895[r.J1939_Tx_Count++] = e;
        }
    }
    r.J1939_Tx_Data_Size = 8 * r.J1939_Tx_Count;
}

void Read_ParGen_895()
{
    TGenDocument doc;
    if (!doc.Load(File_ParGen)) return;
    TParam_Rec_895& r = Param_Rec_895;
    r.J1939_Bit_Rate = r.J1939_Bit_Rate_Copy = static_cast<uint32_t>(J1939_Bit_Rate_Of(doc.Key_Int("Can_Baud", J1939_Default_Index)));
    r.J1939_Timeout_ms = static_cast<uint32_t>(doc.Key_Int("Can_TimeOut", 5)) * 1000u;
    r.J1939_Flags = (doc.Key_Flag("Can_Peer") ? 1 : 0) | (doc.Key_Flag("Filter_FECA") ? 2 : 0);
    r.FECA_Timeout = static_cast<uint32_t>(doc.Key_Int("TimeOut_FECA", 100));
    r.J1939_Own_Address = static_cast<uint32_t>(doc.Key_Int("J1939_Device_ID", 1));
    r.Profibus_Address = static_cast<uint32_t>(doc.Key_Int("Profi_ID", 10));
    if (doc.Key_Flag("Profi_Module")) r.Module_Per_Frame = 1;
    if (doc.Key_Flag("Profi_Send_J1939")) r.Send_Status = 1;
    if (r.Send_Status == 1) {
        // one status bit per transmit frame, in both directions
        const uint32_t s = (r.J1939_Tx_Count + 7) / 8;
        r.J1939_Rx_Data_Size += s;
        r.J1939_Tx_Data_Size += s;
    }
}

void Write_Image_895()
{
    const TParam_Rec_895& r = Param_Rec_895;
    TParamBlockWriter w(Image_Buf, 0);
    w.U32(r.J1939_Bit_Rate);
    w.U32(r.J1939_Bit_Rate_Copy);
    w.U32(9600);
    w.Zeros(16);
    w.U32(1000);
    w.U32(100);
    w.U32(0);
    w.U32(r.Profibus_Address);
    w.U32(r.J1939_Rx_Data_Size);
    w.U32(r.J1939_Tx_Data_Size);
    // 52 .. 155: fixed zeros
    w.Zeros(156 - 52);
    w.U32(r.Module_Per_Frame);
    w.U32(r.Send_Status);
    w.U32(r.J1939_Timeout_ms);
    w.U32(r.J1939_Flags);
    w.U32(r.J1939_Own_Address);
    w.U32(r.FECA_Timeout);
    w.U32(r.J1939_Rx_Count);
    w.U32(r.J1939_Tx_Count);
    w.U32(r.J1939_Rx_Table_Addr);
    w.U32(r.J1939_Tx_Table_Addr);
    assert(w.Record_Size() == Param_Rec_895_Size);
    int32_t pos = w.Finish();
    for (const TJ1939_Rx_Entry& e : J1939_Rx_Table_895) pos = Write_J1939_Rx_Entry(Image_Buf, pos, e);
    for (const TJ1939_Tx_Entry& e : J1939_Tx_Table_895) pos = Write_J1939_Tx_Entry(Image_Buf, pos, e);
    Image_Len = pos;
}

void Build_Image_895()
{
    Init_Params_895();
    Clear_Frame_Tables_895();
    Read_J1939_Frames_895();
    Read_ParGen_895();
    Write_Image_895();
}

void Save_Bank_Files_895() { Save_Bank_Files({{"bank.bin", Image_Buf, Image_Len}}); }
