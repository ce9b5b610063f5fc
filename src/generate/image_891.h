#pragma once
// Model 891 (J1939 / Modbus Slave).  One image, bank.bin: the parameter block, then the
// receive frames, transmit frames, receive mappings and transmit mappings back to back.
// The record holds each table's device address, the block lying at 0x68000.
#include <cstdint>

struct TParam_Rec_891 {
    uint32_t J1939_Bit_Rate;
    uint32_t J1939_Bit_Rate_Copy;
    uint32_t Serial_Bit_Rate;
    uint32_t Serial_Parity;
    uint32_t Fld_16;
    uint32_t Modbus_Device_ID;
    uint32_t Fld_24;
    uint32_t Fld_28;         // 1000
    uint32_t Fld_32[5];
    uint32_t Fld_52;         // 1
    uint32_t Fld_56[12];
    uint32_t Fld_104;        // 2
    uint32_t Fld_108;
    uint32_t Fld_112;        // 255
    uint32_t J1939_Timeout;
    uint32_t J1939_ModReg_Timeout;
    uint32_t J1939_Flags;    // bit 0 peer-to-peer, bit 1 remote request
    uint32_t RTR_Pri_Dest;
    uint32_t RTR_PGN1;
    uint32_t RTR_PGN2;
    uint32_t RTR_SA;
    uint32_t J1939_Rx_Count;
    uint32_t J1939_Tx_Count;
    uint32_t Define_Rec_Count;
    uint32_t Define_Tra_Count;
    uint32_t Rx_Table_Addr;
    uint32_t Tx_Table_Addr;
    uint32_t Define_Rec_Addr;
    uint32_t Define_Tra_Addr;
};
static_assert(sizeof(TParam_Rec_891) == 176, "44 packed 32-bit fields");

// The receive frame table of the device holds 250 frames.
constexpr int Rx_Frame_Capacity_891 = 250;

extern TParam_Rec_891 Param_Rec_891;
// Data offset of each receive frame, by frame number.
extern uint32_t Rx_Data_Offsets_891[Rx_Frame_Capacity_891];

void Init_Params_891();
void Read_ParGen_891();
void Read_J1939_Receive_891();
void Read_J1939_Transmit_891();
void Read_Define_Rec_891();
void Read_Define_Tra_891();
void Write_Param_Block_891();
