#pragma once
// Model 895 (J1939 / PROFIBUS slave).  One image of 3968 bytes (bank.bin): the parameter
// block, then the receive and the transmit frame table of 30 entries each.
#include "generate/j1939_entry.h"

#include <cstdint>

class TGenDocument;

struct TParam_Rec_895 {
    uint32_t J1939_Bit_Rate;
    uint32_t J1939_Bit_Rate_Copy;
    uint32_t Profibus_Address;
    uint32_t J1939_Rx_Data_Size;   // input data bytes
    uint32_t J1939_Tx_Data_Size;   // output data bytes
    uint32_t Module_Per_Frame;
    uint32_t Send_Status;
    uint32_t J1939_Timeout_ms;
    uint32_t J1939_Flags;          // bit 0 peer-to-peer, bit 1 FECA filter
    uint32_t J1939_Own_Address;
    uint32_t FECA_Timeout;
    uint32_t J1939_Rx_Count;
    uint32_t J1939_Tx_Count;
    uint32_t J1939_Rx_Table_Addr;
    uint32_t J1939_Tx_Table_Addr;
    // the fields between are fixed values, see Write_Image_895
};
constexpr int32_t Param_Rec_895_Size = 196;
constexpr int J1939_Frame_Capacity_895 = 30;
constexpr int32_t Image_Size_895 = 2048 + 2 * J1939_Frame_Capacity_895 * J1939_Entry_Size;

extern TParam_Rec_895 Param_Rec_895;
extern TJ1939_Rx_Entry J1939_Rx_Table_895[J1939_Frame_Capacity_895];
extern TJ1939_Tx_Entry J1939_Tx_Table_895[J1939_Frame_Capacity_895];

// Refuses a frame file with more rows than a table of the image holds.  The GSD writer
// asks the same, so that no description is made for a configuration the image refuses.
void Check_J1939_Table_895(const TGenDocument& doc);

void Init_Params_895();
void Clear_Frame_Tables_895();
void Read_J1939_Frames_895();
// Runs after the frames: the status bytes add to the data sizes they computed.
void Read_ParGen_895();
void Write_Image_895();
