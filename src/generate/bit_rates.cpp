#include "generate/bit_rates.h"

#include <iterator>

namespace {
template <size_t N>
int32_t Lookup(const int32_t (&table)[N], int32_t index, int32_t outside)
{
    return index >= 0 && static_cast<size_t>(index) < N ? table[index] : outside;
}

constexpr int32_t J1939_Rates[] = {10000, 20000, 50000, 100000, 125000, 250000, 500000, 800000, 1000000};
constexpr int32_t CAN_Rates[] = {10000, 20000, 50000, 62500, 100000, 125000, 250000, 500000, 800000, 1000000};
constexpr int32_t Serial_Rates[] = {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};
}  // namespace

int32_t J1939_Bit_Rate_Of(int32_t index) { return Lookup(J1939_Rates, index, 250000); }
int32_t CANopen_Bit_Rate_Of(int32_t index) { return Lookup(J1939_Rates, index, 250000); }
int32_t CAN_Bit_Rate_Of(int32_t index) { return Lookup(CAN_Rates, index, 250000); }
int32_t Serial_Bit_Rate_Of(int32_t index) { return Lookup(Serial_Rates, index, 9600); }
