#include "state/shared_state.h"

#include "platform/core/paths.h"
#include "state/model_table.h"

QString Exe_Dir, Master_Dir, Projects_Dir, Language_Dir, Conf_Name, Conf_Dir, Main_Caption, SW_Code, SW_Desc, Last_IP;
int Last_Update_Option = 0;
bool Last_Read_Back = false;
QString Lang_Name;
bool Enable_Internet = false;
bool Enable_Update = false;

QString File_ParGen, File_J1939_Receive, File_Define_J1939_Rec, File_J1939_Transmit, File_Define_J1939_Tra,
    File_Modbus_Write_Req, File_Modbus_Read_Req, File_Modbus_Read_Req_DM1, File_Define_Alarms_DM1, File_CANopen_TPDO,
    File_CANopen_RPDO, File_CANopen_Define_Server_SDO_Read, File_CANopen_Define_Server_SDO_Write,
    File_CANopen_Define_Client_SDO, File_CANopen_Define_NodeGuard, File_CANopen_Define_NG_J1939_Frames,
    File_CAN_Define_Receive, File_CAN_Define_Transmit;

void Set_Files()
{
    // with no configuration open every path is empty: a path under an empty folder would
    // name a file at the root of the file system
    auto f = [](const char* name) { return Is_Conf_Open() ? PathJoin(Conf_Dir, QLatin1String(name)) : QString(); };
    const bool cob = Model_Code == 7 || Model_Code == 9;
    File_ParGen = f("ParGen.xml");
    File_J1939_Receive = f(cob ? "RCobDef.xml" : "J1939_Receive.xml");
    File_Define_J1939_Rec = f(cob ? "RInfoCob.xml" : "Define_J1939_Rec.xml");
    File_J1939_Transmit = f(cob ? "TCobDef.xml" : "J1939_Transmit.xml");
    File_Define_J1939_Tra = f(cob ? "TInfoCob.xml" : "Define_J1939_Tra.xml");
    File_Modbus_Write_Req = f("Modbus_Write_Req.xml");
    File_Modbus_Read_Req = f("Modbus_Read_Req.xml");
    File_Modbus_Read_Req_DM1 = f("Modbus_Read_Req_DM1.xml");
    File_Define_Alarms_DM1 = f("Define_Alarms_DM1.xml");
    File_CANopen_TPDO = f("CANopen_TPDO.xml");
    File_CANopen_RPDO = f("CANopen_RPDO.xml");
    File_CANopen_Define_Server_SDO_Read = f("CANopen_Define_Server_SDO_Read.xml");
    File_CANopen_Define_Server_SDO_Write = f("CANopen_Define_Server_SDO_Write.xml");
    File_CANopen_Define_Client_SDO = f("CANopen_Define_Client_SDO.xml");
    File_CANopen_Define_NodeGuard = f("CANopen_Define_NodeGuard.xml");
    File_CANopen_Define_NG_J1939_Frames = f("CANopen_Define_NG_J1939_Frames.xml");
    File_CAN_Define_Receive = f("CAN_Define_Receive.xml");
    File_CAN_Define_Transmit = f("CAN_Define_Transmit.xml");
}

void Init_Folders(const QString& exeDir)
{
    Exe_Dir = exeDir;
    Master_Dir = PathJoin(Exe_Dir, QStringLiteral("MASTER"));
    if (!DirectoryExists(Master_Dir)) CreateDir(Master_Dir);
    Projects_Dir = PathJoin(Exe_Dir, QStringLiteral("PROJECTS"));
    if (!DirectoryExists(Projects_Dir)) CreateDir(Projects_Dir);
    Language_Dir = PathJoin(Exe_Dir, QStringLiteral("LANGUAGE"));
    if (!DirectoryExists(Language_Dir)) CreateDir(Language_Dir);
}

void Reset_Shared_State()
{
    Exe_Dir = Master_Dir = Projects_Dir = Language_Dir = Conf_Name = Conf_Dir = QString();
    Main_Caption = SW_Code = SW_Desc = Last_IP = Lang_Name = QString();
    Last_Update_Option = 0;
    Last_Read_Back = false;
    Enable_Internet = Enable_Update = false;
    for (QString* p : {&File_ParGen, &File_J1939_Receive, &File_Define_J1939_Rec, &File_J1939_Transmit, &File_Define_J1939_Tra,
                       &File_Modbus_Write_Req, &File_Modbus_Read_Req, &File_Modbus_Read_Req_DM1, &File_Define_Alarms_DM1,
                       &File_CANopen_TPDO, &File_CANopen_RPDO, &File_CANopen_Define_Server_SDO_Read,
                       &File_CANopen_Define_Server_SDO_Write, &File_CANopen_Define_Client_SDO, &File_CANopen_Define_NodeGuard,
                       &File_CANopen_Define_NG_J1939_Frames, &File_CAN_Define_Receive, &File_CAN_Define_Transmit})
        p->clear();
}
