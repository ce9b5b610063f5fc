#pragma once
// Model 860 (J1939 / CAN, updated over Ethernet).  One image of 34816 bytes (bank.bin): the
// raw CAN frame table, the J1939 receive and transmit tables of 256 entries each, and the
// parameter block last.
#include "generate/j1939_entry.h"

#include <cstdint>

struct TParam_Rec_860 {
    uint32_t J1939_Bit_Rate;
    uint32_t CAN_Bit_Rate;
    uint8_t IP_Address[4];
    uint8_t Subnet_Mask[4];
    uint8_t Gateway_Address[4];
    uint32_t J1939_Rx_Count;
    uint32_t J1939_Tx_Count;
    uint32_t J1939_Peer_Mode;
    uint32_t CAN_Rx_Table_Addr;
    uint32_t CAN_Tx_Table_Addr;
    uint32_t CAN_Rx_Count;
    uint32_t CAN_Tx_Count;
    uint32_t J1939_Rx_Table_Addr;
    uint32_t J1939_Tx_Table_Addr;
    uint32_t J1939_Own_Address;
    uint32_t J1939_Timeout_ms;
    // the fields between are fixed values, see Write_Param_Block_860
};
constexpr int32_t Param_Rec_860_Size = 360;
constexpr int J1939_Frame_Capacity_860 = 256;
constexpr int32_t Image_Size_860 = 34816;

extern TParam_Rec_860 Param_Rec_860;
extern TJ1939_Rx_Entry J1939_Rx_Table_860[J1939_Frame_Capacity_860];
extern TJ1939_Tx_Entry J1939_Tx_Table_860[J1939_Frame_Capacity_860];

void Init_Params_860();
void Clear_Frame_Tables_860();
void Read_J1939_Frames_860();
void Read_ParGen_860();
// Both J1939 tables whole from `pos`; returns pos + 16384.
int32_t Write_Frame_Tables_860(int32_t pos, uint8_t* buffer);
// The record as a parameter block at `pos`; returns pos + 2048.
int32_t Write_Param_Block_860(int32_t pos, uint8_t* buffer);
