#pragma once
// Process-wide state of the configurator.  Written only from the GUI thread by the
// owners named in each comment; read everywhere.
#include <QString>

extern QString Exe_Dir;        // folder of the executable, no trailing separator
extern QString Master_Dir;     // Exe_Dir/MASTER: firmware files
extern QString Projects_Dir;   // Exe_Dir/PROJECTS: one sub-folder per configuration
extern QString Language_Dir;   // Exe_Dir/LANGUAGE: language files and flags
extern QString Conf_Name;      // remembered or open configuration
extern QString Conf_Dir;       // folder of the open configuration; empty while none is open
extern QString Main_Caption;
extern QString SW_Code;
extern QString SW_Desc;
extern QString Last_IP;
extern int Last_Update_Option;
extern bool Last_Read_Back;
extern QString Lang_Name;
extern bool Enable_Internet;
extern bool Enable_Update;

// The configuration's documents, rebuilt by Set_Files.
extern QString File_ParGen;
extern QString File_J1939_Receive;
extern QString File_Define_J1939_Rec;
extern QString File_J1939_Transmit;
extern QString File_Define_J1939_Tra;
extern QString File_Modbus_Write_Req;
extern QString File_Modbus_Read_Req;
extern QString File_Modbus_Read_Req_DM1;
extern QString File_Define_Alarms_DM1;
extern QString File_CANopen_TPDO;
extern QString File_CANopen_RPDO;
extern QString File_CANopen_Define_Server_SDO_Read;
extern QString File_CANopen_Define_Server_SDO_Write;
extern QString File_CANopen_Define_Client_SDO;
extern QString File_CANopen_Define_NodeGuard;
extern QString File_CANopen_Define_NG_J1939_Frames;
extern QString File_CAN_Define_Receive;
extern QString File_CAN_Define_Transmit;

constexpr const char* Default_Last_IP = "192.168.2.205";
constexpr const char* Default_Lang_Name = "English";

// A configuration is open exactly when Conf_Dir is not empty.
inline bool Is_Conf_Open() { return !Conf_Dir.isEmpty(); }

// Rebuilds the 18 document paths from Conf_Dir and Model_Code; all empty while no
// configuration is open.
void Set_Files();

// Sets Exe_Dir and the three folders beside it, creating the folders when missing
// (a failed creation is ignored).
void Init_Folders(const QString& exeDir);

// Back to the state of a fresh process (start-up and tests).
void Reset_Shared_State();
