#pragma once
// Model 896 (J1939 / CANopen).  One image, bank.bin: the CAN-family parameter block, then
// seven record sections back to back (J1939 receive and transmit frames, server SDO read
// and write mappings, transmit and receive PDOs, guarded nodes), each described by its
// Section_Dir entry.
#include <cstdint>

// Data offsets of the receive frames, by frame number.
constexpr int Rx_Offset_Capacity_896 = 251;
extern uint32_t Rx_Offset_Table[Rx_Offset_Capacity_896];
