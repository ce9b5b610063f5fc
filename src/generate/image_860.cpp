#include "generate/image_860.h"

#include "generate/bank_files.h"
#include "generate/bit_rates.h"
#include "generate/gen_document.h"
#include "generate/image_897.h"
#include "generate/image_buffers.h"
#include "generate/image_builders.h"
#include "generate/image_writer.h"
#include "generate/param_block.h"
#include "state/shared_state.h"

#include <algorithm>
#include <cassert>

TParam_Rec_860 Param_Rec_860;
TJ1939_Rx_Entry J1939_Rx_Table_860[J1939_Frame_Capacity_860];
TJ1939_Tx_Entry J1939_Tx_Table_860[J1939_Frame_Capacity_860];

void Init_Params_860()
{
    TParam_Rec_860& r = Param_Rec_860;
    r = TParam_Rec_860{};
    r.J1939_Bit_Rate = 250000;
    r.CAN_Bit_Rate = 250000;
    Set_Octets(r.IP_Address, 192, 168, 2, 205);
    Set_Octets(r.Subnet_Mask, 255, 255, 255, 0);
    Set_Octets(r.Gateway_Address, 255, 255, 255, 255);
    r.CAN_Rx_Table_Addr = 0x60000;
    r.CAN_Tx_Table_Addr = 0x62000;
    r.J1939_Rx_Table_Addr = 0x64000;
    r.J1939_Tx_Table_Addr = 0x66000;
    r.J1939_Timeout_ms = 5000;
}

void Clear_Frame_Tables_860()
{
    std::fill(std::begin(J1939_Rx_Table_860), std::end(J1939_Rx_Table_860), TJ1939_Rx_Entry{});
    std::fill(std::begin(J1939_Tx_Table_860), std::end(J1939_Tx_Table_860), TJ1939_Tx_Entry{});
}

void Read_J1939_Frames_860()
{
    TParam_Rec_860& r = Param_Rec_860;
    r.J1939_Rx_Count = 0;
    r.J1939_Tx_Count = 0;
    TGenDocument doc;
    if (doc.Load(File_J1939_Receive)) {
        Check_Row_Count(doc, J1939_Frame_Capacity_860);
        uint32_t running = 0;
        for (int i = 0; i < doc.Row_Count(); ++i)
            J1939_Rx_Table_860[r.J1939_Rx_Count++] = Read_J1939_Rx_Row(doc.Row(i), Rx_Names_J1939, TStart_Rule::As_Read, running);
    }
    if (doc.Load(File_J1939_Transmit)) {
        Check_Row_Count(doc, J1939_Frame_Capacity_860);
        uint32_t running = 0;
        for (int i = 0; i < doc.Row_Count(); ++i) {
            TJ1939_Tx_Entry e = Read_J1939_Tx_Row(doc.Row(i), "DataPage", "SourceAddress", 0);
            e.Data_Offset = static_cast<uint16_t>(running);
            running += e.Num_Byte;
            J1939_Tx_Table_860[r.J1939_Tx_Count++] = e;
        }
    }
}

void Read_ParGen_860()
{
    TParam_Rec_860& r = Param_Rec_860;
    r.CAN_Rx_Table_Addr = 0x60000;
    r.CAN_Tx_Table_Addr = 0x62000;
    r.J1939_Rx_Table_Addr = 0x64000;
    r.J1939_Tx_Table_Addr = 0x66000;
    TGenDocument doc;
    if (!doc.Load(File_ParGen)) return;
    r.J1939_Bit_Rate = static_cast<uint32_t>(J1939_Bit_Rate_Of(doc.Key_Int("J1939_BAUDRATE", J1939_Default_Index)));
    r.J1939_Timeout_ms = static_cast<uint32_t>(doc.Key_Int("J1939_TIMEOUT", 0)) * 1000u;
    r.J1939_Peer_Mode = doc.Key_Flag("J1939_PEER_TO_PEER") ? 1 : 0;
    r.J1939_Own_Address = static_cast<uint32_t>(doc.Key_Int("J1939_Device_ID", 0));
    r.CAN_Bit_Rate = static_cast<uint32_t>(CAN_Bit_Rate_Of(doc.Key_Int("CAN_Baudrate", 9)));
    Read_Key_Octets(doc, {"ETHERNET_IP1", "ETHERNET_IP2", "ETHERNET_IP3", "ETHERNET_IP4"}, {192, 168, 0, 10}, r.IP_Address);
    Read_Key_Octets(doc, {"ETHERNET_SM1", "ETHERNET_SM2", "ETHERNET_SM3", "ETHERNET_SM4"}, {255, 255, 255, 0}, r.Subnet_Mask);
    Read_Key_Octets(doc, {"ETHERNET_GAT1", "ETHERNET_GAT2", "ETHERNET_GAT3", "ETHERNET_GAT4"}, {192, 168, 0, 1}, r.Gateway_Address);
    if (!doc.Key_Flag("ETHERNET_EN_GAT")) Set_Octets(r.Gateway_Address, 255, 255, 255, 255);
}

int32_t Write_Frame_Tables_860(int32_t pos, uint8_t* buffer)
{
    for (const TJ1939_Rx_Entry& e : J1939_Rx_Table_860) pos = Write_J1939_Rx_Entry(buffer, pos, e);
    for (const TJ1939_Tx_Entry& e : J1939_Tx_Table_860) {
        pos = Put_U32(buffer, pos, e.Identifier);
        pos = Put_U8(buffer, pos, e.Flags);
        pos = Put_Fill(buffer, pos, 0, 3);
        pos = Put_U16(buffer, pos, e.Num_Byte);
        pos = Put_U16(buffer, pos, e.Data_Offset);
        pos = Put_U32(buffer, pos, e.OnTimer_Time);
        pos = Put_Fill(buffer, pos, 0, 16);
    }
    return pos;
}

int32_t Write_Param_Block_860(int32_t pos, uint8_t* buffer)
{
    const TParam_Rec_860& r = Param_Rec_860;
    TParamBlockWriter w(buffer, pos);
    w.U32(r.J1939_Bit_Rate);
    w.U32(r.CAN_Bit_Rate);
    w.U32(0);
    w.U32(9600);
    w.U16(0);
    w.U16(0);
    w.U32(1);
    w.Zeros(16);
    assert(w.Record_Size() == 40);
    w.IPv4(r.IP_Address);
    w.IPv4(r.Subnet_Mask);
    w.IPv4(r.Gateway_Address);
    w.U16(10000);
    w.U16(10001);
    w.U16(10001);
    w.U16(0);
    w.U32(9600);
    // 64 .. 143: fixed zeros
    w.Zeros(144 - 64);
    w.U32(r.J1939_Rx_Count);
    w.U32(r.J1939_Tx_Count);
    w.U32(r.J1939_Peer_Mode);
    w.Zeros(272 - 156);
    w.U32(r.CAN_Rx_Table_Addr);
    w.U32(r.CAN_Tx_Table_Addr);
    w.Zeros(308 - 280);
    w.U32(r.CAN_Rx_Count);
    w.U32(r.CAN_Tx_Count);
    w.Zeros(344 - 316);
    w.U32(r.J1939_Rx_Table_Addr);
    w.U32(r.J1939_Tx_Table_Addr);
    w.U32(r.J1939_Own_Address);
    w.U32(r.J1939_Timeout_ms);
    assert(w.Record_Size() == Param_Rec_860_Size);
    return w.Finish();
}

void Build_Image_860()
{
    Init_Params_860();
    Clear_CAN_Frame_Table();
    Clear_Frame_Tables_860();
    Read_CAN_Frames();
    Read_J1939_Frames_860();
    Read_ParGen_860();
    Image_Len = 0;
    Image_Len = Write_CAN_Table_860(0, Image_Buf);
    Image_Len = Write_Frame_Tables_860(Image_Len, Image_Buf);
    Image_Len = Write_Param_Block_860(Image_Len, Image_Buf);
}

void Save_Bank_Files_860() { Save_Bank_Files({{"bank.bin", Image_Buf, Image_Len}}); }
