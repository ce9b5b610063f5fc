#include "generate/image_894.h"

#include "generate/bank_files.h"
#include "generate/bit_rates.h"
#include "generate/gen_document.h"
#include "generate/image_buffers.h"
#include "generate/image_builders.h"
#include "generate/image_cob.h"
#include "generate/image_writer.h"
#include "generate/param_block.h"
#include "state/model_table.h"
#include "state/shared_state.h"

#include <algorithm>
#include <cassert>
#include <vector>

TParam_Rec_894 Param_Rec_894;
TJ1939_Rx_Entry J1939_Rx_Table_894[J1939_Rx_Capacity_894];

namespace {

bool Is_871() { return Model_Code == 9; }

struct TKeys_894 {
    const char* Baud;
    const char* Timeout;
    const char* Peer;
    const char* IP[4];
    const char* SM[4];
    const char* GAT[4];
    const char* En_GAT;
    const char* Port;
};

const TKeys_894 Keys_894{"J1939_BAUDRATE",
                         "J1939_TIMEOUT",
                         "J1939_PEER_TO_PEER",
                         {"ETHERNET_IP1", "ETHERNET_IP2", "ETHERNET_IP3", "ETHERNET_IP4"},
                         {"ETHERNET_SM1", "ETHERNET_SM2", "ETHERNET_SM3", "ETHERNET_SM4"},
                         {"ETHERNET_GAT1", "ETHERNET_GAT2", "ETHERNET_GAT3", "ETHERNET_GAT4"},
                         "ETHERNET_EN_GAT",
                         "ETHERNET_Port"};
const TKeys_894 Keys_871{"BaudRateCAN",
                         "TimeOut_Data",
                         "Peer_to_Peer",
                         {"IP1", "IP2", "IP3", "IP4"},
                         {"SN1", "SN2", "SN3", "SN4"},
                         {"GAT1", "GAT2", "GAT3", "GAT4"},
                         "Enable_GAT",
                         "PORT"};


}  // namespace

void Init_Params_894()
{
    TParam_Rec_894& r = Param_Rec_894;
    r = TParam_Rec_894{};
    r.J1939_Bit_Rate = r.J1939_Bit_Rate_Copy = 250000;
    Set_Octets(r.IP_Address, 192, 168, 0, 10);
    Set_Octets(r.Subnet_Mask, 255, 255, 255, 0);
    Set_Octets(r.Gateway_Address, 255, 255, 255, 255);
    r.Ethernet_Port = r.Ethernet_Port_Copy = 10001;
    r.J1939_Own_Address = 1;
}

void Clear_Frame_Table_894() { std::fill(std::begin(J1939_Rx_Table_894), std::end(J1939_Rx_Table_894), TJ1939_Rx_Entry{}); }

void Read_ParGen_894()
{
    TGenDocument doc;
    if (!doc.Load(File_ParGen)) return;
    const TKeys_894& k = Is_871() ? Keys_871 : Keys_894;
    TParam_Rec_894& r = Param_Rec_894;
    r.J1939_Bit_Rate = r.J1939_Bit_Rate_Copy = static_cast<uint32_t>(J1939_Bit_Rate_Of(doc.Key_Int(k.Baud, J1939_Default_Index)));
    r.J1939_Timeout_ms = static_cast<uint32_t>(doc.Key_Int(k.Timeout, 5)) * 1000u;
    if (doc.Key_Flag(k.Peer)) r.J1939_Flags |= 1;
    r.J1939_Own_Address = static_cast<uint32_t>(doc.Key_Int("J1939_Device_ID", 1));
    Read_Key_Octets(doc, k.IP, {192, 168, 0, 10}, r.IP_Address);
    Read_Key_Octets(doc, k.SM, {255, 255, 255, 0}, r.Subnet_Mask);
    Read_Key_Octets(doc, k.GAT, {192, 168, 0, 1}, r.Gateway_Address);
    if (!doc.Key_Flag(k.En_GAT)) Set_Octets(r.Gateway_Address, 255, 255, 255, 255);
    r.Ethernet_Port = r.Ethernet_Port_Copy = static_cast<uint16_t>(doc.Key_Int(k.Port, 502));
}

void Read_J1939_Receive_894()
{
    TParam_Rec_894& r = Param_Rec_894;
    r.J1939_Rx_Table_Addr = J1939_Rx_Table_Addr_894;
    r.J1939_Rx_Count = 0;
    uint32_t running = 0;
    TGenDocument doc;
    if (doc.Load(File_J1939_Receive)) {
        Check_Row_Count(doc, J1939_Rx_Capacity_894);
        const TJ1939_Rx_Names& names = Is_871() ? Rx_Names_Cob : Rx_Names_J1939;
        const TStart_Rule start = Is_871() ? TStart_Rule::Minus_One_Unless_Zero : TStart_Rule::As_Read;
        for (int i = 0; i < doc.Row_Count(); ++i)
            J1939_Rx_Table_894[r.J1939_Rx_Count++] = Read_J1939_Rx_Row(doc.Row(i), names, start, running);
    }
    r.J1939_Rx_Data_Size = running;
}

void Write_Param_Block_894()
{
    const TParam_Rec_894& r = Param_Rec_894;
    TParamBlockWriter w(Image_Buf, 0);
    w.U32(r.J1939_Bit_Rate);
    w.U32(r.J1939_Bit_Rate_Copy);
    w.U32(9600);
    w.Zeros(8);
    w.U32(1);
    w.U32(0);
    w.U32(1000);
    w.Zeros(8);
    assert(w.Record_Size() == 40);
    w.IPv4(r.IP_Address);
    w.IPv4(r.Subnet_Mask);
    w.IPv4(r.Gateway_Address);
    w.U16(10000);
    w.U16(r.Ethernet_Port);
    w.U16(r.Ethernet_Port_Copy);
    w.Zeros(2);
    w.U32(9600);
    // 64 .. 403: fixed zeros
    w.Zeros(404 - 64);
    w.U32(r.J1939_Rx_Count);
    w.U32(r.J1939_Rx_Table_Addr);
    w.U32(r.J1939_Rx_Data_Size);
    w.U32(r.J1939_Flags);
    w.U32(r.J1939_Timeout_ms);
    w.U32(r.J1939_Own_Address);
    assert(w.Record_Size() == Param_Rec_894_Size);
    // the rest of the block, reserved area included, is zero
    w.Finish();
}

void Write_Frame_Table_894()
{
    int32_t pos = Param_Block_Size;
    for (uint32_t i = 0; i < Param_Rec_894.J1939_Rx_Count; ++i) pos = Write_J1939_Rx_Entry(Image_Buf, pos, J1939_Rx_Table_894[i]);
    Image_Len = pos;
}

void Build_Image_894()
{
    Init_Params_894();
    Clear_Frame_Table_894();
    Read_ParGen_894();
    Read_J1939_Receive_894();
    Write_Param_Block_894();
    Write_Frame_Table_894();
}

void Build_Compact_Image_871()
{
    uint8_t* buf = Image_Buf2;
    Image_Len2 = 8;
    Put_U32(buf, 0, 8);
    TCob_Rx_Rows rx;
    TGenDocument doc;
    if (doc.Load(File_J1939_Receive)) rx = Read_Cob_Rx_Rows(TCompact_Doc(doc), buf, 8);
    const int n = static_cast<int>(rx.Ids.size());
    const int32_t p = 8 + Cob_Rx_Entry_Size * n;
    Put_U32(buf, 4, static_cast<uint32_t>(p));
    int32_t pos = p;
    TGenDocument parGen;
    if (parGen.Load(File_ParGen)) {
        const TCompact_Doc par(parGen);
        pos = Put_U8(buf, pos, static_cast<uint32_t>(par.Strict_Key_Plus("BaudRateCAN", 1)));
        pos = Put_U8(buf, pos, static_cast<uint32_t>(par.Strict_Key("TimeOut_Data")));
        const int32_t peer = par.Strict_Key("Peer_to_Peer");
        pos = Put_U8(buf, pos, static_cast<uint32_t>(peer));
        pos = Put_U8(buf, pos, static_cast<uint32_t>(par.Strict_Key("Filter_FECA")));
        pos = Put_U16(buf, pos, static_cast<uint32_t>(par.Strict_Key("TimeOut_FECA")));
        for (const char* key : {"IP1", "IP2", "IP3", "IP4", "SN1", "SN2", "SN3", "SN4"})
            pos = Put_U8(buf, pos, static_cast<uint32_t>(par.Strict_Key(key)));
        pos = Put_U16(buf, pos, static_cast<uint32_t>(par.Strict_Key("PORT")));
        pos = Put_U8(buf, pos, static_cast<uint32_t>(par.Strict_Key("Protocol")));
        pos = Put_U16(buf, pos, static_cast<uint32_t>(n));
        pos = Put_U16(buf, pos, rx.Data_Size);
        pos = Put_Bytes(buf, pos, rx.Delete_Bitmap, sizeof rx.Delete_Bitmap);
        pos = Write_Rx_Id_List(buf, pos, rx.Ids, peer == 1);
    }
    Image_Len2 = pos;
}

void Build_Image_871()
{
    Build_Compact_Image_871();
    Build_Image_894();
}

void Save_Bank_Files_894() { Save_Bank_Files({{"bank.bin", Image_Buf, Image_Len}}); }

void Save_Bank_Files_871() { Save_Bank_Files({{"bank_k.bin", Image_Buf, Image_Len}, {"bank.bin", Image_Buf2, Image_Len2}}); }
