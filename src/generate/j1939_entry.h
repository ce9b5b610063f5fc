#pragma once
// What the Ethernet, Modbus TCP slave, PROFIBUS and CAN gateways share in their images: the
// 32-byte J1939 frame entries, the reading of one frame row, and the refusals of rows that
// do not fit a table.
#include <QString>
#include <cstdint>

class TGenDocument;
class TGenRow;

constexpr int32_t J1939_Entry_Size = 32;

// Attribute names of a receive row: the J1939 frame editors write SourceAddress,
// TransportProtocol, CancelData and NumBytes; the COB editors of the two-kind gateways
// ID_DEV, MultiFrame, Delete and NByte.
struct TJ1939_Rx_Names {
    const char* Source;
    const char* Multi;
    const char* Cancel;
    const char* Count;
};
extern const TJ1939_Rx_Names Rx_Names_J1939;
extern const TJ1939_Rx_Names Rx_Names_Cob;

// One received frame: identifier, flags (bit 0 multi-packet, bit 1 cancel, bit 2 on
// request), start byte, byte count, data offset and on-request time.
struct TJ1939_Rx_Entry {
    uint32_t Identifier;
    uint8_t Flags;
    uint16_t Start_Byte;
    uint16_t Num_Bytes;
    uint16_t Data_Offset;
    uint32_t OnReq_Time;
};

// How a multi-packet row's start byte is stored.
enum class TStart_Rule { As_Read, Minus_One, Minus_One_Unless_Zero };

// Reads one receive row, every number with default 0 and every flag upper-cased: a single
// frame stores start byte 0 and 8 bytes.  The entry takes the running data offset, which
// then grows by its byte count.
TJ1939_Rx_Entry Read_J1939_Rx_Row(const TGenRow& row, const TJ1939_Rx_Names& names, TStart_Rule start,
                                  uint32_t& runningOffset);
// identifier, flags, 0, start byte, byte count, data offset, on-request time, 16 zeros
int32_t Write_J1939_Rx_Entry(uint8_t* buf, int32_t pos, const TJ1939_Rx_Entry& e);
// The same without the 16 zeros: the 16-byte entry of the CAN-family images.
int32_t Write_J1939_Rx_Entry_16(uint8_t* buf, int32_t pos, const TJ1939_Rx_Entry& e);

// One transmitted frame: identifier, flags (bit 0 on request, bit 1 on data change, bit 2
// on timer), byte count, data offset and timer period.
struct TJ1939_Tx_Entry {
    uint32_t Identifier;
    uint8_t Flags;
    uint16_t Num_Byte;
    uint16_t Data_Offset;
    uint32_t OnTimer_Time;
};

// Reads one transmit row (Priority, the data page and source attributes given, PGN,
// NumByte default 8, OnTimer_Time with the caller's default); the data offset is left to
// the caller.
TJ1939_Tx_Entry Read_J1939_Tx_Row(const TGenRow& row, const char* dataPage, const char* source, uint32_t timerDefault);
// identifier, flags, 0, 0, byte count, data offset, 0, timer period, 12 zeros
int32_t Write_J1939_Tx_Entry(uint8_t* buf, int32_t pos, const TJ1939_Tx_Entry& e);

// Refuses the first row beyond a table of `capacity` rows (Refuse_Row).
void Check_Row_Count(const TGenDocument& doc, int capacity);
// The same for `rows` rows of `doc` read from another root.
void Check_Row_Count(const TGenDocument& doc, int rows, int capacity);
// Four octet keys, each with its default, low 8 bits.
void Read_Key_Octets(const TGenDocument& doc, const char* const (&keys)[4], const int32_t (&defs)[4], uint8_t (&dst)[4]);
void Set_Octets(uint8_t (&dst)[4], uint8_t a, uint8_t b, uint8_t c, uint8_t d);
