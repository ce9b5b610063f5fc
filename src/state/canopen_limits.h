#pragma once
// What the object dictionary of the J1939 / CANopen gateway can hold.  The table editors
// refuse what the EDS writer could not describe, so both read these numbers from here.

// Receive and transmit PDOs each.
constexpr int Max_PDO = 10;
// Server SDO objects live in the manufacturer area of the dictionary.
constexpr int SDO_Index_Min = 0x2000;
constexpr int SDO_Index_Max = 0x5FFF;
constexpr int SDO_SubIndex_Min = 0;
constexpr int SDO_SubIndex_Max = 255;
