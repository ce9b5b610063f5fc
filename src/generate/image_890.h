#pragma once
// Model 890 (J1939 / Modbus Master).  bank1.bin: the parameter block and the default data
// of the transmit frames; bank2.bin: the frame table, the Modbus requests and their
// register and status maps.  The record addresses bank2.bin as device address 0x50000.
#include "generate/image_892.h"

#include <QString>
#include <cstdint>
#include <vector>

struct TParam_Rec_890 {
    uint32_t J1939_Bit_Rate;
    uint32_t J1939_Timeout_ms;
    uint32_t J1939_Flags;          // bit 0 peer-to-peer
    uint32_t J1939_Own_Address;
    uint32_t Serial_Bit_Rate;
    uint32_t Serial_Parity;
    uint32_t Modbus_Timeout_ms;
    uint32_t Modbus_Cyclic_Delay_ms;
    uint32_t Serial_Stop_Bits;
    uint32_t Fld_36;
    uint32_t Fld_40;
    uint32_t J1939_Rx_Count;
    uint32_t Frame_Table_Addr;
    uint32_t J1939_Tx_Count;
    uint32_t Tx_Frames_Addr;
    uint32_t Write_Req_Count;
    uint32_t Write_Req_Addr;
    uint32_t Read_Req_Count;
    uint32_t Read_Req_Addr;
    uint32_t Rx_Data_Size;
    uint32_t Tx_Data_Size;
    uint32_t J1939_Bit_Rate_Copy;
};
static_assert(sizeof(TParam_Rec_890) == 88, "22 packed 32-bit fields");

// One Modbus request (20 bytes in the image).
struct TModbus_Req_890 {
    uint32_t Map_Addr;
    uint8_t Slave_ID;
    uint8_t Function;
    uint16_t Address;
    uint16_t NPoint;
    uint8_t Req_Flags;             // write requests: bit 0 on change, bit 1 on command
    uint32_t Poll_Time;
    uint32_t Max_Error;
};

// Where one register's bytes, or one coil's byte and bit, lie in the gateway memory.
struct TRegStatus_def {
    uint16_t HiByte;
    uint16_t LoByte;
};

constexpr int Frame_Capacity_890 = 1024;       // receive and transmit frames together
constexpr int Modbus_Req_Capacity_890 = 1024;  // write and read requests together
constexpr int32_t Default_Values_Size_890 = 2048;
constexpr uint32_t Bank2_Addr_890 = 0x50000;

extern TParam_Rec_890 Param_Rec_890;
extern TJ1939_Frame_892 Frame_Table_890[Frame_Capacity_890];
extern TModbus_Req_890 Modbus_Req_Table_890[Modbus_Req_Capacity_890];
extern std::vector<TRegStatus_def> Reg_Status_Map_Array;
extern uint8_t Default_Values_Area[Default_Values_Size_890];

void Init_Params_890();
void Clear_Frame_Table_890();
void Clear_Modbus_Table_890();
void Reset_Reg_Status_Map();
void Fill_Default_Values_Area();
void Read_ParGen_890();
void Read_J1939_Frames_890();
void Read_Modbus_Requests_890();
// Stores the byte values of `text` at `offset` when they are valid and exactly `count` of
// them.  Returns false, storing nothing, when such values would run past the area.
bool Parse_Default_Values(const QString& text, int32_t offset, int32_t count);
// Appends exactly `count` map entries from `index` (advanced); returns base + 4 x count.
int32_t Parse_Regs_Status_Map(const QString& text, int32_t count, int32_t base, int32_t& index, bool is_register);
void Write_Param_Block_890();
void Write_Tables_890();
