// Targets of the editors' table files: the window is made once, as the program makes it;
// each input becomes the window's table file, the window is shown (which loads it), each
// of its first frames is picked where it lists frames, and OK is pressed.  Message boxes
// go to the recorder.  The frame tables the other windows read hold a fixed set of frames.
#include "editors/can_frame_editors.h"
#include "editors/canopen_client_editors.h"
#include "editors/canopen_pdo_editors.h"
#include "editors/canopen_sdo_editors.h"
#include "editors/dm1_editor.h"
#include "editors/editor_fixture.h"
#include "editors/j1939_editors.h"
#include "editors/j1939_register_editors.h"
#include "editors/modbus_890_editors.h"
#include "editors/modbus_editors.h"
#include "fuzz_target.h"
#include "state/lang.h"
#include "state/shared_state.h"

#include <QFile>
#include <QListWidget>
#include <memory>

namespace {
// A frame row carrying the attributes of every frame table family.
std::string Frame_Row(const char* pgn, const char* tp, const char* bytes)
{
    return std::string("<row Priority='3' DataPage='0' DP='0' PGN='") + pgn +
           "' SourceAddress='1' ID_DEV='1' TransportProtocol='" + tp + "' MultiFrame='" + tp +
           "' StartByte='0' NumBytes='" + bytes + "' NByte='" + bytes + "' NumByte='" + bytes +
           "' CancelData='N' Delete='N' OnRequest='N' OnReq_Time='1000' TransmitionType='On Timer' SendTimer='100'"
           " DataChange='N' OnTimer='Y' OnTimer_Time='100' Mnemonic='m" + pgn + "'/>";
}
const std::string Frames = "<Frames>" + Frame_Row("0x100", "N", "8") + Frame_Row("0x200", "Y", "30") +
                           Frame_Row("0xFEF1", "N", "4") + "</Frames>";

void Write(const QString& path, const std::string& data)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) f.write(data.data(), qint64(data.size()));
}

// A table in the form the program writes: one row element per row, every column's
// attribute, with a value its column takes.
std::string Table_Seed(const TTableDesc& d, int rows, bool quoted)
{
    const char q = quoted ? '"' : '\'';
    std::string xml = "<" + d.Root.toStdString() + ">";
    for (int r = 0; r < rows; ++r) {
        xml += "<row";
        for (const TTableColumn& c : d.Columns) {
            const QString v = !c.Items.isEmpty() ? c.Items[r % c.Items.size()] : QString::number(r + 1);
            xml += " " + c.Attribute.toStdString() + "=" + q + v.toHtmlEscaped().toStdString() + q;
        }
        xml += "/>";
    }
    return xml + "</" + d.Root.toStdString() + "><!--SW_VERSION = 1.0-->";
}

// One editor target: the window class, the model it is made for, the table file it reads
// and seeds for windows whose files are not a plain table.
template <class T>
TFuzzTarget Editor(const char* name, int model, const QString& file, std::vector<std::string> seeds = {})
{
    struct State {
        std::unique_ptr<EditorEnv> Env;
        std::unique_ptr<T> Window;
    };
    auto s = std::make_shared<State>();
    auto init = [s, model] {
        s->Env = std::make_unique<EditorEnv>(model);
        s->Window = std::make_unique<T>();
        s->Window->FormCreate();
    };
    const QString* path = &file;   // the global the configuration sets
    auto run = [s, path](const std::string& input) {
        s->Env->Boxes.Clear();
        Write(File_J1939_Receive, Frames);
        Write(File_J1939_Transmit, Frames);
        Write(*path, input);
        T& w = *s->Window;
        w.FormShow();
        if constexpr (std::is_base_of_v<TFrameItemEditor, T>) {
            for (int k = 0; k < 3 && k < w.LB_J1939_Frames->count(); ++k) w.LB_J1939_Frames->setCurrentRow(k);
        }
        w.Btn_OKClick();
    };
    auto made = [s, seeds] {
        std::vector<std::string> out = seeds;
        if constexpr (std::is_base_of_v<TTableEditor, T>) {
            out.push_back(Table_Seed(s->Window->Desc(), 3, true));
            out.push_back(Table_Seed(s->Window->Desc(), 1, false));
        }
        out.push_back("<" + std::string("Table") + "/>");
        return out;
    };
    auto done = [s] {
        s->Window.reset();
        s->Env.reset();
    };
    return TFuzzTarget{name, init, run, made, done};
}

const TFuzzRegistration Editors({
    Editor<TFReceiveJ1939>("editor_j1939_receive", 0, File_J1939_Receive, {Frames}),
    Editor<TFReceive_J1939_892>("editor_j1939_receive_892", 2, File_J1939_Receive, {Frames}),
    Editor<TFReceive_J1939_Frame_896>("editor_j1939_receive_896", 8, File_J1939_Receive, {Frames}),
    Editor<TFTransmitJ1939>("editor_j1939_transmit", 0, File_J1939_Transmit, {Frames}),
    Editor<TFTransmit_J1939_892>("editor_j1939_transmit_892", 2, File_J1939_Transmit, {Frames}),
    Editor<TFTransmit_J1939_Frame_896>("editor_j1939_transmit_896", 8, File_J1939_Transmit, {Frames}),
    Editor<TFTransmit_J1939_Frame_Atmel_872>("editor_j1939_transmit_872", 7, File_J1939_Transmit, {Frames}),
    Editor<TFDefineRecJ1939>("editor_j1939_register_receive", 0, File_Define_J1939_Rec,
                             {"<DefineRecJ1939><row Num_Frame='1' Mod_Index='5' Byte_HiPart='1' Byte_LoPart='2'/>"
                              "<row Num_Frame='0' Mod_Index='0x20' Byte_HiPart='0' Byte_LoPart='8'/></DefineRecJ1939>"}),
    Editor<TFDefineTransJ1939>("editor_j1939_register_transmit", 0, File_Define_J1939_Tra,
                               {"<DefineTransJ1939><row Send_on_Write='0' Byte_LoPart='0' Byte_HiPart='8' Mod_Index='31'"
                                " Num_Frame='0'/><row Send_on_Write='1' Byte_LoPart='2' Byte_HiPart='1' Mod_Index='7'"
                                " Num_Frame='2'/></DefineTransJ1939>"}),
    Editor<TFModbusReadRequest>("editor_modbus_read", 2, File_Modbus_Read_Req),
    Editor<TFModbusWriteRequest>("editor_modbus_write", 2, File_Modbus_Write_Req),
    Editor<TFModbusReadRequest_DM1_J1939>("editor_modbus_read_dm1", 2, File_Modbus_Read_Req_DM1),
    Editor<TFDefineDM1_J1939>("editor_dm1_alarms", 2, File_Define_Alarms_DM1),
    Editor<TFModbusReadReq_890>("editor_modbus_read_890", 5, File_Modbus_Read_Req),
    Editor<TFModbusWriteReq_890>("editor_modbus_write_890", 5, File_Modbus_Write_Req),
    Editor<TFDefine_TPDO>("editor_canopen_tpdo", 4, File_CANopen_TPDO),
    Editor<TFDefine_RPDO>("editor_canopen_rpdo", 4, File_CANopen_RPDO),
    Editor<TFDefine_NodeGuard>("editor_canopen_nodeguard", 4, File_CANopen_Define_NodeGuard),
    Editor<TFDefine_Client_SDO>("editor_canopen_client_sdo", 4, File_CANopen_Define_Client_SDO,
                                {"<!--before--><J1939_Frames_SDOClient>"
                                 "<row Priority=\"0\" DataPage=\"1\" PGN=\"0xFEF1\" SA=\"0x10\" Mnemonic=\"req read\"/>"
                                 "<row Priority=\"5\" DataPage=\"1\" PGN=\"0xFEF2\" SA=\"0x11\" Mnemonic=\"ans read\"/>"
                                 "<row Priority=\"0\" DataPage=\"1\" PGN=\"0xFEF3\" Mnemonic=\"no SA\"/>"
                                 "</J1939_Frames_SDOClient>"}),
    Editor<TFDefine_Server_SDO_Read>("editor_canopen_server_sdo_read", 4, File_CANopen_Define_Server_SDO_Read,
                                     {"<DefineSDOServerRecJ1939>"
                                      "<row NrPdo=\"1\" Index=\"0x2000\" SubIndex=\"1\" Dimension=\"2\" B1=\"1\" B2=\"2\" B3=\"0\" B4=\"0\"/>"
                                      "<row NrPdo=\"2\" Index=\"0x2000\" SubIndex=\"2\" Dimension=\"1\" B1=\"3\" B2=\"0\" B3=\"0\" B4=\"0\"/>"
                                      "</DefineSDOServerRecJ1939>"}),
    Editor<TFDefine_Server_SDO_Write>("editor_canopen_server_sdo_write", 4, File_CANopen_Define_Server_SDO_Write,
                                      {"<DefineSDOServerTraJ1939>"
                                       "<row NrPdo=\"1\" Index=\"0x2001\" SubIndex=\"1\" Dimension=\"4\" B1=\"1\" B2=\"2\" B3=\"3\""
                                       " B4=\"4\" Send_SDO=\"1\"/></DefineSDOServerTraJ1939>"}),
    Editor<TFReceive_CAN_Frames>("editor_can_receive", 6, File_CAN_Define_Receive),
    Editor<TFTransmit_CAN_Frames>("editor_can_transmit", 6, File_CAN_Define_Transmit),
});
}  // namespace
