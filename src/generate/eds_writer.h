#pragma once
// The CANopen electronic data sheet (EDS, EDS version 4.0) of the J1939 / CANopen gateway,
// written from its PDO and server SDO tables.
#include "state/canopen_limits.h"

#include <QString>
#include <cstdint>
#include <vector>

struct PDO_Def {
    uint16_t COB_ID = 0;
    uint8_t Dimension = 0;
};

extern PDO_Def RPDO_Defs[Max_PDO];
extern PDO_Def TPDO_Defs[Max_PDO];
extern int32_t Num_RPDO;
extern int32_t Num_TPDO;

struct SDO_Sub_Type {
    uint8_t Sub = 0;
    uint8_t Quantity = 0;  // 2 = one byte, 1 = two bytes, anything else four bytes
    bool Readonly = false;
    QString Mnemonic;
};

struct SDO_Index {
    uint16_t Index = 0;
    std::vector<SDO_Sub_Type> Sub_Indexs;
};

extern std::vector<SDO_Index> SDO_Index_List;

// Writes the EDS to FileName (replacing it).  Throws when a table holds a value that cannot
// be written (the file is then left untouched) or when the file cannot be written.
void Write_EDS_File(const QString& FileName);

void Read_EDS_PDO_Files();
void Read_EDS_SDO_Files();
// Position of Index in SDO_Index_List, -1 when absent.
int32_t Find_SDO_Index(int32_t Index);
