#include "editors/modbus_890_editors.h"

#include "editors/register_map_dialog.h"
#include "platform/core/sysutils.h"
#include "platform/ui/lb_button.h"
#include "state/lang.h"
#include "state/model_table.h"
#include "state/shared_state.h"

TFModbusReadReq_890* FModbusReadReq_890 = nullptr;
TFModbusWriteReq_890* FModbusWriteReq_890 = nullptr;

namespace {
constexpr int Max_Slave_ID = 247;

QString Type_Of(const QString& cell) { return UpperCase(Trim(cell)); }
}  // namespace

int Check_Map(const QString& str_map, int NumPoint, bool TypePoint)
{
    const QString text = Trim(str_map);
    QStringView s = text;
    int count = 0;
    do {
        int a, b;
        if (!Take_Map_Group(s, a, b) || a == -1 || b == -1) return 2;
        if (!Map_Group_Valid(a, b, TypePoint)) return 3;
        ++count;
    } while (!s.isEmpty());
    return count == NumPoint ? 1 : 4;
}

void TModbusReq890Editor::FormCreate()
{
    TTableEditor::FormCreate();
    Btn_RegMap->OnClick = [this] { Btn_RegMapClick(); };
    Grid()->OnDblClickCell = [this](TObject* s, int r, int c) { Map_DblClickCell(s, r, c); };
}

std::vector<TTableCheck> TModbusReq890Editor::Map_Checks(const TColumnNames& names)
{
    const int col = names(Map_Attribute);
    auto result = [this, col, points = names(u"NPoint")](int r) {
        return Check_Map(Cell(col, r), Num(points, r), Register_Type(r));
    };
    TTableCheck syntax;
    syntax.Fails = [result](int r) { return result(r) >= 2; };
    syntax.Whole = [result](int r) { return QString::number(result(r)); };
    syntax.Kind = TMsgDlgType::mtInformation;
    // A map that points past the data bytes of the frames (the frame table shrank after
    // the map was made) would move data the gateway has no frame for.
    TTableCheck beyond;
    beyond.Fails = [this, col](int r) {
        const QString text = Cell(col, r);
        QStringView s = text;
        int a, b;
        while (Take_Map_Group(s, a, b)) {
            for (int p : {a, Register_Type(r) ? b : 0})
                if (p > FFrame_Bytes) {
                    FBeyond = p;
                    return true;
                }
        }
        return false;
    };
    beyond.Whole = [this](int r) {
        return Row_Message(r, -1) + QStringLiteral("!! The map points at byte %1, but the J1939 %2 frames hold %3 data "
                                                   "byte(s). Map the request again.")
                                        .arg(FBeyond)
                                        .arg(Show_Type() == 1 ? QStringLiteral("transmit") : QStringLiteral("receive"))
                                        .arg(FFrame_Bytes);
    };
    return {syntax, beyond};
}

TTableCheck TModbusReq890Editor::NPoint_Check(const TColumnNames& names)
{
    return {NPoint_Msg(), {}, [this, points = names(u"NPoint")](int r) {
                const int n = Num(points, r);
                return n < 1 || n > NPoint_Max(r);
            }, [this](int r) { return QString::number(NPoint_Max(r)); }};
}

void TModbusReq890Editor::Read_Frame_Bytes()
{
    const std::vector<TFrame_J1939> frames = Load_Frames_890(Show_Type());
    FFrame_Bytes = frames.empty() ? 0 : frames.back().Offset_Start + frames.back().NumByte;
}

void TModbusReq890Editor::Set_Map(int Index_Row)
{
    TFConf_Regs_890* d = FConf_Regs_890;
    if (!d) return;
    // the dialog has a row per point: more points than a request can have are refused with
    // the row check's own message before the dialog would build them
    const int most = NPoint_Max(Index_Row);
    if (Num(Col(u"NPoint"), Index_Row) > most) {
        ShowError(Row_Message(Index_Row, NPoint_Msg()) + QString::number(most));
        return;
    }
    d->Show_Type = Show_Type();
    d->STR_SlaveID = Cell(Col(u"SlaveID"), Index_Row);
    d->STR_Type = Cell(Col(u"Type"), Index_Row);
    d->STR_Address = Cell(Col(u"Address"), Index_Row);
    d->STR_NPoint = Cell(Col(u"NPoint"), Index_Row);
    d->STR_Conf_Points = Cell(Col(Map_Attribute), Index_Row);
    if (d->ShowModal() != mrOk) return;
    Grid()->SetCells(Col(Map_Attribute), Index_Row, d->Conf_Points());
}

void TModbusReq890Editor::Btn_RegMapClick()
{
    const int row = Grid()->Row();
    if (row < 1 || row >= Grid()->RowCount() || Key_Empty(row)) return;
    Set_Map(row);
}

void TModbusReq890Editor::Map_DblClickCell(TObject*, int ARow, int ACol)
{
    if (ACol != Col(Map_Attribute) || ARow < 1 || ARow >= Grid()->RowCount() || Key_Empty(ARow)) return;
    Set_Map(ARow);
}

TTableDesc TFModbusReadReq_890::Describe()
{
    TTableDesc s;
    s.GridName = QStringLiteral("ACG_Modbus_Read");
    s.File = &File_Modbus_Read_Req;
    s.Root = QStringLiteral("ModbusReadRequest");
    s.RowLimit = 480;
    s.ClientWidth = 750;
    s.KeyRule = krSkipEmpty;
    s.NumberHeader = 278;
    s.Columns = {
        Text_Column(279, 60, QStringLiteral("SlaveID")),
        List_Column(280, 115, QStringLiteral("Type"),
                    {QStringLiteral("Coil Status"), QStringLiteral("Input Status"), QStringLiteral("Holding Register"),
                     QStringLiteral("Input Register")}),
        Text_Column(281, 55, QStringLiteral("Address")),
        Text_Column(282, 55, QStringLiteral("NPoint")),
        Text_Column(283, 60, QStringLiteral("PollTime")),
        Text_Column(284, 60, QStringLiteral("MaxError")),
        Text_Column(710, 200, Map_Attribute.toString()),
        Text_Column(287, 121, QStringLiteral("Mnemonic")),
    };
    s.Caption = 276;
    s.DescText = 277;
    s.BtnOK = 288;
    s.BtnCancel = 289;
    s.BtnDelRow = 290;
    s.BtnInsRow = 377;
    s.RegMapCaption = QStringLiteral("Map");
    s.ErrorPrefix = 293;
    s.DeleteQuestion = 291;
    s.DeleteQuestionEnd = 292;
    const TColumnNames col(s.Columns);
    s.KeyCol = col(u"SlaveID");
    s.Checks = {
        {294, {}, Out_Of(col(u"SlaveID"), 1, Max_Slave_ID)},
        {295, {}, Is_Empty(col(u"Type"))},
        {296, {}, Out_Of(col(u"Address"), 0, 65535)},
        NPoint_Check(col),
        {298, {}, Out_Of(col(u"PollTime"), 1, 100000000)},
        {299, {}, Out_Of(col(u"MaxError"), 0, 100000000)},
    };
    for (TTableCheck& c : Map_Checks(col)) s.Checks.push_back(std::move(c));
    s.BeforeWalk = [this] { Read_Frame_Bytes(); };
    return s;
}

int TFModbusReadReq_890::NPoint_Max(int row) const { return Register_Type(row) ? 125 : 2000; }
int TFModbusWriteReq_890::NPoint_Max(int row) const { return Register_Type(row) ? 123 : 1968; }

bool TFModbusReadReq_890::Register_Type(int row) const
{
    const QString t = Type_Of(Cell(Col(u"Type"), row));
    return t != QLatin1String("COIL STATUS") && t != QLatin1String("INPUT STATUS");
}

TTableDesc TFModbusWriteReq_890::Describe()
{
    TTableDesc s;
    s.GridName = QStringLiteral("ACG_Modbus_Write");
    s.File = &File_Modbus_Write_Req;
    s.Root = QStringLiteral("ModbusWriteRequest");
    s.RowLimit = 480;
    s.ClientWidth = 880;
    s.KeyRule = krSkipEmpty;
    s.NumberHeader = 251;
    TTableColumn onCmd = Check_Column(822, 55, QStringLiteral("OnCMD"));
    onCmd.Missing = QStringLiteral("N");
    onCmd.Hidden = Model_Code != 5;
    s.Columns = {
        Text_Column(252, 55, QStringLiteral("SlaveID")),
        List_Column(253, 100, QStringLiteral("Type"), {QStringLiteral("Coil Status"), QStringLiteral("Holding Register")}),
        Text_Column(254, 55, QStringLiteral("Address")),
        Text_Column(255, 45, QStringLiteral("NPoint")),
        Text_Column(256, 58, QStringLiteral("PollTime")),
        Check_Column(257, 66, QStringLiteral("OnChange")),
        onCmd,
        Text_Column(258, 62, QStringLiteral("MaxError")),
        Text_Column(709, 200, Map_Attribute.toString()),
        Text_Column(261, 120, QStringLiteral("Mnemonic")),
    };
    s.Caption = 249;
    s.DescText = 250;
    s.BtnOK = 262;
    s.BtnCancel = 263;
    s.BtnDelRow = 264;
    s.BtnInsRow = 378;
    s.RegMapCaption = QStringLiteral("Map");
    s.ErrorPrefix = 267;
    // the question of the read table, as in the window of the model's other request table
    s.DeleteQuestion = 291;
    s.DeleteQuestionEnd = 292;
    const TColumnNames col(s.Columns);
    s.KeyCol = col(u"SlaveID");
    s.Checks = {
        {268, {}, Out_Of(col(u"SlaveID"), 1, Max_Slave_ID)},
        {269, {}, Is_Empty(col(u"Type"))},
        {270, {}, Out_Of(col(u"Address"), 0, 65535)},
        NPoint_Check(col),
        {272, {}, Out_Of(col(u"PollTime"), 0, 100000000)},
        {273, {}, Out_Of(col(u"MaxError"), 0, 100000000)},
    };
    for (TTableCheck& c : Map_Checks(col)) s.Checks.push_back(std::move(c));
    s.BeforeWalk = [this] { Read_Frame_Bytes(); };
    return s;
}

bool TFModbusWriteReq_890::Register_Type(int row) const { return Type_Of(Cell(Col(u"Type"), row)) != QLatin1String("COIL STATUS"); }
