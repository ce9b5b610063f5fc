#include "shell/app_forms.h"

#include "editors/can_frame_editors.h"
#include "editors/canopen_client_editors.h"
#include "editors/canopen_pdo_editors.h"
#include "editors/canopen_sdo_editors.h"
#include "editors/dm1_editor.h"
#include "editors/j1939_editors.h"
#include "editors/j1939_register_editors.h"
#include "editors/modbus_890_editors.h"
#include "editors/modbus_editors.h"
#include "editors/register_map_dialog.h"
#include "shell/TFAbout.h"
#include "shell/TFBoot.h"
#include "shell/TFBootCAN.h"
#include "shell/TFBootSer.h"
#include "shell/TFBootTCP.h"
#include "shell/TFFabricateFirmWare.h"
#include "shell/TFNew_Project.h"
#include "shell/TFOpenConf.h"
#include "shell/TFParGen.h"
#include "shell/TFSoftOptions.h"
#include "shell/update_device.h"

#include <vector>

namespace {
std::vector<std::function<void()>>& Created()
{
    static std::vector<std::function<void()>> list;
    return list;
}
}  // namespace

void Keep_Form(std::function<void()> destroy) { Created().push_back(std::move(destroy)); }

void Create_Forms(const QString& exeDir)
{
    FFabricateFirmWare = new TFFabricateFirmWare();
    FFabricateFirmWare->Create(exeDir);
    Create_Form(QStringLiteral("FNew_Project"), FNew_Project);
    Create_Form(QStringLiteral("FOpenConf"), FOpenConf);
    Create_Form(QStringLiteral("FAbout"), FAbout);
    Create_Form(QStringLiteral("FSoftOptions"), FSoftOptions);
    Create_Form(QStringLiteral("FParGen"), FParGen);
    Create_Form(QStringLiteral("FReceiveJ1939"), FReceiveJ1939);
    Create_Form(QStringLiteral("FTransmitJ1939"), FTransmitJ1939);
    Create_Form(QStringLiteral("FDefineRecJ1939"), FDefineRecJ1939);
    Create_Form(QStringLiteral("FDefineTransJ1939"), FDefineTransJ1939);
    Create_Form(QStringLiteral("FBootCAN"), FBootCAN);
    Create_Form(QStringLiteral("FModbusWriteRequest"), FModbusWriteRequest);
    Create_Form(QStringLiteral("FModbusReadRequest"), FModbusReadRequest);
    Create_Form(QStringLiteral("FBootTCP"), FBootTCP);
    Create_Form(QStringLiteral("FReceive_J1939_892"), FReceive_J1939_892);
    Create_Form(QStringLiteral("FTransmit_J1939_892"), FTransmit_J1939_892);
    Create_Form(QStringLiteral("FDefine_TPDO"), FDefine_TPDO);
    Create_Form(QStringLiteral("FDefine_RPDO"), FDefine_RPDO);
    Create_Form(QStringLiteral("FModbusReadReq_890"), FModbusReadReq_890);
    Create_Form(QStringLiteral("FModbusWriteReq_890"), FModbusWriteReq_890);
    Create_Form(QStringLiteral("FDefine_Server_SDO_Read"), FDefine_Server_SDO_Read);
    Create_Form(QStringLiteral("FDefine_Server_SDO_Write"), FDefine_Server_SDO_Write);
    Create_Form(QStringLiteral("FDefine_Client_SDO"), FDefine_Client_SDO);
    Create_Form(QStringLiteral("FDefine_NodeGuard"), FDefine_NodeGuard);
    Create_Form(QStringLiteral("FReceive_J1939_Frame_896"), FReceive_J1939_Frame_896);
    Create_Form(QStringLiteral("FTransmit_J1939_Frame_896"), FTransmit_J1939_Frame_896);
    Create_Form(QStringLiteral("FConf_Regs_890"), FConf_Regs_890);
    Create_Form(QStringLiteral("FReceive_CAN_Frames"), FReceive_CAN_Frames);
    Create_Form(QStringLiteral("FTransmit_J1939_Frame_Atmel_872"), FTransmit_J1939_Frame_Atmel_872);
    Create_Form(QStringLiteral("FBootSer"), FBootSer);
    Create_Form(QStringLiteral("FTransmit_CAN_Frames"), FTransmit_CAN_Frames);
    Create_Form(QStringLiteral("FDefineDM1_J1939"), FDefineDM1_J1939);
    Create_Form(QStringLiteral("FModbusReadRequest_DM1_J1939"), FModbusReadRequest_DM1_J1939);
    Create_Form(QStringLiteral("FBoot"), FBoot);
    Create_Update_Forms();
}

void Destroy_Forms()
{
    auto& list = Created();
    while (!list.empty()) {
        auto destroy = std::move(list.back());
        list.pop_back();
        destroy();
    }
    delete FFabricateFirmWare;
    FFabricateFirmWare = nullptr;
}
