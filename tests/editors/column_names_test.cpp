// The editors name their columns by attribute: per model, each name yields the grid column
// that holds it, a column the model hides keeps its place, and a name the model's table
// does not have yields none.
#include "editor_fixture.h"
#include "editors/canopen_pdo_editors.h"
#include "editors/j1939_editors.h"
#include "editors/modbus_890_editors.h"
#include "editors/modbus_editors.h"

#include <functional>
#include <gtest/gtest.h>

namespace {
using Factory = std::function<std::unique_ptr<TTableEditor>()>;
template <class T>
Factory Of()
{
    return [] { return std::unique_ptr<TTableEditor>(Make_Editor<T>()); };
}
}  // namespace

TEST(EditorColumnNames, EachNameYieldsItsColumnForTheModel)
{
    struct Case {
        const char* Window;
        int Model;
        Factory Make;
        const char* Attribute;
        int Column;   // -1: the model's table has no such column
        bool Hidden = false;
    } const cases[] = {
        // model 890 shows On Command, the other models hide it: the later columns stay put
        {"modbus write 890", 5, Of<TFModbusWriteReq_890>(), "OnCMD", 7},
        {"modbus write 890", 5, Of<TFModbusWriteReq_890>(), "MaxError", 8},
        {"modbus write 890", 5, Of<TFModbusWriteReq_890>(), "Regs_Status_Map", 9},
        {"modbus write 892", 2, Of<TFModbusWriteReq_890>(), "OnCMD", 7, true},
        {"modbus write 892", 2, Of<TFModbusWriteReq_890>(), "MaxError", 8},
        {"modbus write 892", 2, Of<TFModbusWriteReq_890>(), "Regs_Status_Map", 9},
        {"modbus read 890", 5, Of<TFModbusReadReq_890>(), "Regs_Status_Map", 7},
        // the transmit table of the 896 family hides its byte count where the model has none
        {"transmit 896 of 872", 7, Of<TFTransmit_J1939_Frame_896>(), "NumByte", 5},
        {"transmit 896 of 872", 7, Of<TFTransmit_J1939_Frame_896>(), "DP", 2},
        {"transmit 896 of 872", 7, Of<TFTransmit_J1939_Frame_896>(), "DataPage", -1},
        {"transmit 896 of 872", 7, Of<TFTransmit_J1939_Frame_896>(), "OnTimer_Time", 9},
        {"transmit 896 of 896", 8, Of<TFTransmit_J1939_Frame_896>(), "NumByte", 5, true},
        {"transmit 896 of 896", 8, Of<TFTransmit_J1939_Frame_896>(), "ID_DEV", -1},
        {"transmit 896 of 896", 8, Of<TFTransmit_J1939_Frame_896>(), "SourceAddress", 4},
        {"transmit 896 of 896", 8, Of<TFTransmit_J1939_Frame_896>(), "OnTimer_Time", 9},
        // the transmit table of model 892 hides its default values except on model 890's image
        {"transmit 892", 2, Of<TFTransmit_J1939_892>(), "DefaultValues", 10, true},
        {"transmit 892", 2, Of<TFTransmit_J1939_892>(), "Mnemonic", 11},
        {"transmit 892 of 890", 5, Of<TFTransmit_J1939_892>(), "DefaultValues", 10},
        // the RCobDef.xml family names four receive columns its own way
        {"receive 872", 7, Of<TFReceiveJ1939>(), "ID_DEV", 3},
        {"receive 872", 7, Of<TFReceiveJ1939>(), "NByte", 6},
        {"receive 872", 7, Of<TFReceiveJ1939>(), "NumBytes", -1},
        {"receive 891", 0, Of<TFReceiveJ1939>(), "NumBytes", 6},
        {"receive 896 of 871", 9, Of<TFReceive_J1939_Frame_896>(), "MultiFrame", 4},
        {"receive 896 of 871", 9, Of<TFReceive_J1939_Frame_896>(), "OnReq_Time", 9},
        {"modbus read 892", 2, Of<TFModbusReadRequest>(), "Position", 9},
        {"modbus write 892", 2, Of<TFModbusWriteRequest>(), "Position", 10},
        {"TPDO", 4, Of<TFDefine_TPDO>(), "Frame_J1939", 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QStringLiteral("%1, %2").arg(QLatin1String(c.Window), QLatin1String(c.Attribute)).toStdString());
        EditorEnv env(c.Model);
        const auto e = c.Make();
        EXPECT_EQ(TColumnNames(e->Desc().Columns).Find(QString::fromLatin1(c.Attribute)), c.Column);
        if (c.Column < 0) continue;
        EXPECT_EQ(e->Col(QString::fromLatin1(c.Attribute)), c.Column);
        EXPECT_EQ(e->Grid()->IsHiddenColumn(c.Column), c.Hidden);
    }
}
