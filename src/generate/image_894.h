#pragma once
// Models 894 and 871 (J1939 / Ethernet).  Model 894 has one image: its parameter block and
// its receive frame table (bank.bin).  Model 871 gets the same image (bank_k.bin) for its
// TCP-updated kind and a compact image (bank.bin) for its serially updated kind.
#include "generate/j1939_entry.h"

#include <cstdint>

struct TParam_Rec_894 {
    uint32_t J1939_Bit_Rate;
    uint32_t J1939_Bit_Rate_Copy;
    uint8_t IP_Address[4];
    uint8_t Subnet_Mask[4];
    uint8_t Gateway_Address[4];
    uint16_t Ethernet_Port;
    uint16_t Ethernet_Port_Copy;
    uint32_t J1939_Rx_Count;
    uint32_t J1939_Rx_Table_Addr;
    uint32_t J1939_Rx_Data_Size;
    uint32_t J1939_Flags;          // bit 0 peer-to-peer
    uint32_t J1939_Timeout_ms;
    uint32_t J1939_Own_Address;
    // the fields between are fixed values, see Write_Param_Block_894
};
constexpr int32_t Param_Rec_894_Size = 428;

constexpr int J1939_Rx_Capacity_894 = 256;
// Image offset 2048, where the frame table starts, is this device address.
constexpr uint32_t J1939_Rx_Table_Addr_894 = 0x68800;

extern TParam_Rec_894 Param_Rec_894;
extern TJ1939_Rx_Entry J1939_Rx_Table_894[J1939_Rx_Capacity_894];

void Init_Params_894();
void Clear_Frame_Table_894();
// The 894 keys, or the 871 keys when Model_Code is 9.
void Read_ParGen_894();
void Read_J1939_Receive_894();
void Write_Param_Block_894();
void Write_Frame_Table_894();
void Build_Compact_Image_871();
