#pragma once
// The parameter window stores each bit rate as the index of its combo item; the builders
// turn the index into bit/s with these tables.
#include <cstdint>

// 10k, 20k, 50k, 100k, 125k, 250k, 500k, 800k, 1M; any other index 250000.
int32_t J1939_Bit_Rate_Of(int32_t index);
// The same nine rates as J1939.
int32_t CANopen_Bit_Rate_Of(int32_t index);
// 10k, 20k, 50k, 62.5k, 100k, 125k, 250k, 500k, 800k, 1M; any other index 250000.
int32_t CAN_Bit_Rate_Of(int32_t index);
// 1200 ... 115200; any other index 9600.
int32_t Serial_Bit_Rate_Of(int32_t index);

// Index the serial builders take for a missing or unreadable key (115200).
constexpr int32_t Serial_Default_Index = 7;
// Index the J1939 builders take for a missing or unreadable key (250000).
constexpr int32_t J1939_Default_Index = 5;
