#pragma once
// The raw CAN frame table of the J1939 / CAN gateways (models 897 and 860), and the image of
// model 897 (bank.bin): the CAN frame table, the CAN-family parameter block at 0x4000, then
// the J1939 receive and transmit sections.
#include <cstdint>

// One CAN frame: identifier (bit 31 = 29-bit), transmit cycle, receive time-out, transmit
// flags (bit 1 on data change, bit 2 on time), data length and the data positions of its
// bytes in the gateway memory (0xFFFF = no such byte).
struct TCAN_Frame_Entry {
    uint32_t Identifier;
    uint32_t Cycle_ms;
    uint32_t Timeout;
    uint8_t Flags;
    uint8_t Length;
    uint16_t Pos[8];
};

constexpr int CAN_Frames_Per_Half = 256;
constexpr int32_t CAN_Frame_Entry_Size = 32;
constexpr int32_t CAN_Table_Size = 2 * CAN_Frames_Per_Half * CAN_Frame_Entry_Size;
constexpr uint32_t CAN_Ext_Id_Flag = 0x80000000u;

// Receive frames at 0..255, transmit frames from 256.
extern TCAN_Frame_Entry CAN_Frame_Table[2 * CAN_Frames_Per_Half];

void Clear_CAN_Frame_Table();
// Fills the table from the two CAN table files and stores the two row counts in the CAN
// record and in the model 860 record.  Refuses more rows than a half holds.
void Read_CAN_Frames();
// The whole table into Image_Buf at 0.
void Write_CAN_Table();
// The whole table into `buffer` at `pos`; returns pos + 16384.
int32_t Write_CAN_Table_860(int32_t pos, uint8_t* buffer);

void Read_J1939_Frames_897();
void Read_ParGen_897();
