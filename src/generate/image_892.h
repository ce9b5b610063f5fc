#pragma once
// Model 892 (J1939 / Modbus TCP Master).  bank1.bin: the parameter block and the Modbus
// request table; bank2.bin: the J1939 receive and transmit frame tables and the DM1 alarms.
// The parameter record, its defaults and its block writer also serve models 893 and 872;
// the frame layout and the receive-row reading also serve model 890.
#include <cstdint>

class TGenRow;

// The parameter record: 296 bytes, field by field in block order.  Unnamed fields carry
// their block offset in the name.
struct TParam_Rec_892 {
    uint32_t J1939_Bit_Rate;
    uint32_t Fld_4, Fld_8, Fld_12;
    uint16_t Fld_16, Fld_18;
    uint32_t Fld_20, Fld_24;
    uint32_t J1939_Own_Address;
    uint32_t Modbus_Timeout_ms;
    uint32_t Modbus_Cyclic_Delay_ms;
    uint8_t IP_Address[4];
    uint8_t Subnet_Mask[4];
    uint8_t Gateway_Address[4];
    uint16_t Fld_52;
    uint16_t Modbus_Port;
    uint16_t Modbus_Port_Copy;
    uint16_t Fld_58;
    uint32_t Fld_60;
    uint16_t Fld_64, Fld_66;
    uint32_t Fld_68;
    uint32_t Modbus_Req_Count;
    uint32_t Fld_76;
    uint8_t Fld_80[16];
    uint8_t Fld_96[4];
    uint8_t Fld_100[4];
    uint16_t Fld_104, Fld_106;
    uint32_t Fld_108, Fld_112, Fld_116, Fld_120, Fld_124;
    uint8_t Fld_128[4];
    uint32_t Fld_132[3];
    uint32_t J1939_Rx_Count;
    uint32_t J1939_Tx_Count;
    uint32_t J1939_Flags;          // bit 0 peer-to-peer, bit 1 FECA filter (893/872), bit 2 DM1 sending
    uint32_t Fld_156[12];
    uint32_t J1939_Rx_Table_Addr;
    uint32_t J1939_Tx_Table_Addr;
    uint32_t Fld_212[10];
    uint32_t Reg_Timeout_ms;       // 893/872
    uint32_t FECA_Timeout_ms;      // 872
    uint32_t Rx_Map_Count;
    uint32_t Tx_Map_Count;
    uint32_t Rx_Map_Addr;
    uint32_t Tx_Map_Addr;
    uint32_t J1939_Timeout_ms;     // 893/872
    uint32_t DM1_Alarm_Count;
    uint32_t DM1_Table_Addr;
    uint32_t SSF_Num_Fails;
    uint32_t Modbus_Read_Count;
};
constexpr int32_t Param_Rec_892_Size = 296;

// One Modbus request (32 bytes in the image).
struct TModbus_Req_892 {
    uint16_t Position;
    uint16_t Start_Bit;
    uint32_t Poll_Time;
    uint8_t Slave_ID;
    uint8_t Function;
    uint16_t Address;
    uint16_t NPoint;
    uint16_t Port;
    uint32_t Slave_IP;
    uint32_t Max_Error;
    uint8_t Byte_Count;
    uint8_t Req_Flags;             // bit 0 write on change, bit 1 swap
};

// One J1939 frame (32 bytes in the image).
struct TJ1939_Frame_892 {
    uint32_t Identifier;
    uint32_t Send_Timer;
    uint32_t Cancel_Timeout_ms;
    uint16_t Data_Offset;
    uint16_t Start_Byte;
    uint16_t Num_Bytes;
    uint16_t Multi_Frame;
    uint8_t Frame_Flags;           // transmit: bit 0 always, 4 on timer, 5 on change, 6 on request
};

// One DM1 alarm (16 bytes in the image).
struct TDM1_Alarm_892 {
    uint16_t Position;
    uint8_t Bit_Pos;
    uint8_t DTC[4];
    uint8_t Lamps[8];              // MIL, RSL, AWL, PL, FMIL, FRSL, FAWL, FPL
};

// The image carries 960 requests (2048 + 960 x 32 = 32,768 bytes), 512 frames of each
// direction and 128 alarms; more rows are refused.
constexpr int Modbus_Req_Capacity_892 = 960;
constexpr int J1939_Frame_Capacity_892 = 512;
constexpr int DM1_Alarm_Capacity_892 = 128;
constexpr int32_t Modbus_Req_Size_892 = 32;
constexpr int32_t J1939_Frame_Size_892 = 32;
constexpr int32_t DM1_Alarm_Size_892 = 16;
constexpr int32_t Bank1_Len_892 = 32768;
constexpr int32_t Bank2_Len_892 = 34816;
constexpr uint32_t DM1_Table_Addr_892 = 0x60000;

extern TParam_Rec_892 Param_Rec_892;
extern TModbus_Req_892 Modbus_Req_Table_892[Modbus_Req_Capacity_892];
extern TJ1939_Frame_892 J1939_Rx_Table_892[J1939_Frame_Capacity_892];
extern TJ1939_Frame_892 J1939_Tx_Table_892[J1939_Frame_Capacity_892];
extern TDM1_Alarm_892 DM1_Alarm_Table_892[DM1_Alarm_Capacity_892];
// J1939_TIMEOUT x 1000, stored in receive frames whose data are cancelled.
extern uint32_t J1939_Cancel_ms;

void Init_Params_892();
void Clear_Modbus_Table_892();
void Clear_J1939_Tables_892();
void Clear_DM1_Table_892();
void Read_ParGen_892();
void Read_Modbus_Requests_892();
void Read_J1939_Frames_892();
void Read_DM1_Alarms_892();
// Writes Param_Rec_892 as a parameter block at `pos`; returns pos + 2048.
int32_t Write_Param_Block_892(int32_t pos, uint8_t* buffer);
void Write_Modbus_Table_892();
void Write_J1939_Tables_892();
void Write_DM1_Table_892();

// A frame in its cleared state: identifier, timer and time-out 0xFFFFFFFF, the rest 0 but
// Frame_Flags.
TJ1939_Frame_892 Cleared_J1939_Frame_892(uint8_t frameFlags);
// Writes one frame in its 32-byte layout at `pos`; returns pos + 32.
int32_t Write_J1939_Frame_892(uint8_t* buf, int32_t pos, const TJ1939_Frame_892& f);
// Fills identifier, cancel time-out, data offset, start byte, byte count and multi-frame
// of a receive frame from its row, and advances the running data offset.  Send_Timer and
// Frame_Flags are left to the caller.
void Read_J1939_Rx_Row_892(const TGenRow& row, bool peerToPeer, uint32_t cancelMs, uint32_t& runningOffset,
                           TJ1939_Frame_892& f);
