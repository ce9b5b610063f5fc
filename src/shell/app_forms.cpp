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

#include "state/model_table.h"

#include <algorithm>
#include <vector>

namespace {
std::vector<std::function<void()>>& Created()
{
    static std::vector<std::function<void()>> list;
    return list;
}
}  // namespace

void Keep_Form(std::function<void()> destroy) { Created().push_back(std::move(destroy)); }

namespace {
// A window of the start-up list with the models whose steps can open it; an empty list
// stands for every model.
struct TStartForm {
    const char* Name;
    std::vector<int> Models;
    void (*Create)(const QString& name);
};

// A window reached only by its name: its contents are built the first time it is asked for.
template <class T, T*& Variable>
void Create_Named(const QString& name)
{
    Create_Form(name, Variable, true);
}

// A window that another window reaches through its form variable: created whole at start-up.
template <class T, T*& Variable>
void Create_Whole(const QString& name)
{
    Create_Form(name, Variable);
}

// The start-up order of the windows after the main window.  The models follow the main
// window's routes: a window is created only where a visible step button can open it.
const TStartForm Start_Forms[] = {
    {"FNew_Project", {}, Create_Named<TFNew_Project, FNew_Project>},
    {"FOpenConf", {}, Create_Named<TFOpenConf, FOpenConf>},
    {"FAbout", {}, Create_Named<TFAbout, FAbout>},
    {"FSoftOptions", {}, Create_Named<TFSoftOptions, FSoftOptions>},
    {"FParGen", {}, Create_Named<TFParGen, FParGen>},
    {"FReceiveJ1939", {0, 7, 9}, Create_Named<TFReceiveJ1939, FReceiveJ1939>},
    {"FTransmitJ1939", {0}, Create_Named<TFTransmitJ1939, FTransmitJ1939>},
    {"FDefineRecJ1939", {0, 1, 7}, Create_Named<TFDefineRecJ1939, FDefineRecJ1939>},
    {"FDefineTransJ1939", {0, 1, 7}, Create_Named<TFDefineTransJ1939, FDefineTransJ1939>},
    {"FBootCAN", {0, 4, 5, 6, 8, 1006}, Create_Named<TFBootCAN, FBootCAN>},
    {"FModbusWriteRequest", {2}, Create_Named<TFModbusWriteRequest, FModbusWriteRequest>},
    {"FModbusReadRequest", {2}, Create_Named<TFModbusReadRequest, FModbusReadRequest>},
    {"FBootTCP", {1, 2, 3, 7, 9}, Create_Named<TFBootTCP, FBootTCP>},
    {"FReceive_J1939_892", {2, 5}, Create_Named<TFReceive_J1939_892, FReceive_J1939_892>},
    {"FTransmit_J1939_892", {2, 5}, Create_Named<TFTransmit_J1939_892, FTransmit_J1939_892>},
    {"FDefine_TPDO", {4}, Create_Named<TFDefine_TPDO, FDefine_TPDO>},
    {"FDefine_RPDO", {4}, Create_Named<TFDefine_RPDO, FDefine_RPDO>},
    {"FModbusReadReq_890", {5}, Create_Named<TFModbusReadReq_890, FModbusReadReq_890>},
    {"FModbusWriteReq_890", {5}, Create_Named<TFModbusWriteReq_890, FModbusWriteReq_890>},
    {"FDefine_Server_SDO_Read", {4}, Create_Named<TFDefine_Server_SDO_Read, FDefine_Server_SDO_Read>},
    {"FDefine_Server_SDO_Write", {4}, Create_Named<TFDefine_Server_SDO_Write, FDefine_Server_SDO_Write>},
    {"FDefine_Client_SDO", {4}, Create_Named<TFDefine_Client_SDO, FDefine_Client_SDO>},
    {"FDefine_NodeGuard", {4}, Create_Named<TFDefine_NodeGuard, FDefine_NodeGuard>},
    {"FReceive_J1939_Frame_896", {1, 3, 4, 6, 7, 8, 9, 10}, Create_Named<TFReceive_J1939_Frame_896, FReceive_J1939_Frame_896>},
    {"FTransmit_J1939_Frame_896", {1, 4, 6, 7, 8, 10}, Create_Named<TFTransmit_J1939_Frame_896, FTransmit_J1939_Frame_896>},
    {"FConf_Regs_890", {5}, Create_Whole<TFConf_Regs_890, FConf_Regs_890>},
    {"FReceive_CAN_Frames", {6, 10}, Create_Named<TFReceive_CAN_Frames, FReceive_CAN_Frames>},
    {"FTransmit_J1939_Frame_Atmel_872", {7}, Create_Named<TFTransmit_J1939_Frame_Atmel_872, FTransmit_J1939_Frame_Atmel_872>},
    {"FBootSer", {7, 9}, Create_Named<TFBootSer, FBootSer>},
    {"FTransmit_CAN_Frames", {6, 10}, Create_Named<TFTransmit_CAN_Frames, FTransmit_CAN_Frames>},
    {"FDefineDM1_J1939", {2}, Create_Named<TFDefineDM1_J1939, FDefineDM1_J1939>},
    {"FModbusReadRequest_DM1_J1939", {2}, Create_Named<TFModbusReadRequest_DM1_J1939, FModbusReadRequest_DM1_J1939>},
    {"FBoot", {0, 4, 5, 6, 10}, Create_Named<TFBoot, FBoot>},
};

bool Model_Shows(const TStartForm& f, int model)
{
    return f.Models.empty() || std::find(f.Models.begin(), f.Models.end(), model) != f.Models.end();
}
}  // namespace

QStringList Model_Form_Names(int model)
{
    QStringList names;
    for (const TStartForm& f : Start_Forms)
        if (Model_Shows(f, model)) names << QString::fromLatin1(f.Name);
    return names;
}

void Create_Main_Form(const QString& exeDir)
{
    FFabricateFirmWare = new TFFabricateFirmWare();
    FFabricateFirmWare->Create(exeDir);
    Create_Update_Forms();
}

void Create_Model_Forms()
{
    for (const TStartForm& f : Start_Forms)
        if (Model_Shows(f, Model_Code)) f.Create(QString::fromLatin1(f.Name));
}

void Create_Forms(const QString& exeDir)
{
    Create_Main_Form(exeDir);
    Create_Model_Forms();
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
