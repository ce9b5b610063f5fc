#pragma once
// Models 893 and 872 (J1939 / Modbus TCP slave).  One image (bank.bin): the two J1939 frame
// tables, the two register maps and the parameter block of the model 892 record.  Model 872
// adds the same tables and block for its second processor (bank_ESP32_2.bin,
// bank_ESP32_1.bin) and two compact banks (bank_pg.bin, bank_data.bin).
#include "generate/j1939_entry.h"

#include <cstdint>

// One register mapping: register index, frame (transmit: bit 15 = write the register to
// J1939), absolute positions of the high and low byte in the data area (0 = none).
struct TReg_Map_Entry_893 {
    uint16_t Index;
    uint16_t Frame;
    uint16_t High_Pos;
    uint16_t Low_Pos;
};

constexpr int J1939_Frame_Capacity_893 = 256;
constexpr int Reg_Map_Capacity_893 = 4096;
constexpr int32_t Reg_Map_Entry_Size_893 = 8;
constexpr int32_t Tables_Size_893 = 2 * J1939_Frame_Capacity_893 * J1939_Entry_Size + 2 * Reg_Map_Capacity_893 * Reg_Map_Entry_Size_893;
constexpr int32_t Image_Size_893 = Tables_Size_893 + 2048;
constexpr int32_t Bank_PG_Len_872 = 3000;
constexpr int32_t Bank_Data_Len_872 = 65535;

extern TJ1939_Rx_Entry J1939_Rx_Table_893[J1939_Frame_Capacity_893];
extern TJ1939_Tx_Entry J1939_Tx_Table_893[J1939_Frame_Capacity_893];
extern TReg_Map_Entry_893 Rx_Reg_Map_893[Reg_Map_Capacity_893];
extern TReg_Map_Entry_893 Tx_Reg_Map_893[Reg_Map_Capacity_893];

void Build_Image_893_Main();
void Clear_Frame_Tables_893();
void Clear_Register_Maps_893();
void Read_ParGen_893();
void Read_J1939_Frames_893();
void Read_Define_Frames_893();
// The two frame tables and the two maps, each whole, from `pos`; returns pos + 81920.
int32_t Write_Tables_893(int32_t pos, uint8_t* buffer);
void Build_Tables_872();
