#pragma once
// The parameter record shared by the CAN-family gateways (J1939 / CANopen, J1939 / CAN and
// the custom-frame gateway QTB900), and the QTB900 image, which is that record's block alone.
#include <cstdint>

struct TSection_Dir_Entry {
    uint32_t Count;
    uint32_t Start;  // from the block's first byte; device address once rebased
};

// 45 unsigned 32-bit fields, written in this order.
struct TParam_Rec_CAN {
    uint32_t J1939_Bit_Rate;
    uint32_t J1939_Timeout_ms;
    uint32_t J1939_Peer_Mode;
    uint32_t J1939_Own_Address;
    uint32_t CANopen_Node_ID;
    uint32_t CAN_Bit_Rate;
    uint32_t CANopen_Options;
    uint32_t CANopen_Start_Delay_ms;
    uint32_t SDO_Client_Timeout;  // tenths of a millisecond
    uint32_t NG_Send_Period_ms;
    TSection_Dir_Entry Section_Dir[7];
    uint32_t Client_SDO_IDs[5];
    uint32_t NG_Frame_IDs[5];
    uint32_t CAN_Rx_Count;
    uint32_t CAN_Rx_Table_Addr;
    uint32_t CAN_Tx_Count;
    uint32_t CAN_Tx_Table_Addr;
    uint32_t Custom_CAN_Rx_ID;
    uint32_t Custom_CAN_Tx_ID;
    uint32_t Custom_J1939_Rx_ID;
    uint32_t Custom_J1939_Tx1_ID;
    uint32_t Custom_J1939_Tx2_ID;
    uint32_t Custom_CAN_Timeout_ms;
    uint32_t Custom_J1939_Timeout_ms;
};
static_assert(sizeof(TParam_Rec_CAN) == 180, "the record is 45 packed 32-bit fields");

extern TParam_Rec_CAN Param_Rec_CAN;

// Sections of the J1939 / CANopen image, in Section_Dir order.
enum TCAN_Section { Sec_J1939_Rx, Sec_J1939_Tx, Sec_SDO_Read, Sec_SDO_Write, Sec_TPDO, Sec_RPDO, Sec_NG_Nodes };

// Where the parameter block lies in the device; section starts are rebased onto it.
constexpr uint32_t CAN_Block_Addr = 0x68000;

void Init_Params_CAN();
// Writes the record as a parameter block into Image_Buf at Block_Pos (bytes Block_Pos to
// Block_Pos + 2047); Image_Len is left to the caller.
void Write_Param_Block_CAN(int32_t Block_Pos);

void Read_ParGen_QTB900();
void Build_Image_QTB900();
