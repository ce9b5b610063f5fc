#include "editors/can_frame_editors.h"

#include "platform/core/sysutils.h"
#include "state/shared_state.h"

TFReceive_CAN_Frames* FReceive_CAN_Frames = nullptr;
TFTransmit_CAN_Frames* FTransmit_CAN_Frames = nullptr;

namespace {
const QString Standard_Frame = QStringLiteral("2.0A (11bits)");
const QStringList Frame_Types{Standard_Frame, QStringLiteral("2.0B (29bits)")};

// The data memory positions a frame's bytes may name.
constexpr int Last_Data_Position = 1999;
constexpr int Longest_Time = 100000000;

// The first eleven columns, headers from `header` on: identifier, type, length and the
// eight data byte positions.
std::vector<TTableColumn> Frame_Columns(int header)
{
    std::vector<TTableColumn> cols{
        Text_Column(header, 75, QStringLiteral("Cob-ID")),
        List_Column(header + 1, 85, QStringLiteral("Type"), Frame_Types),
        Text_Column(header + 2, 65, QStringLiteral("Dimension")),
    };
    for (int k = 1; k <= 8; ++k) cols.push_back(Text_Column(header + 2 + k, 40, QStringLiteral("Byte%1").arg(k)));
    return cols;
}

// The checks both tables share, messages from `msg` on (type, the two identifier ranges,
// length, then Byte1 to Byte8).  A byte beyond the frame's length is not the frame's and
// is not tested.
std::vector<TTableCheck> Frame_Checks(const TTableEditor* e, const TColumnNames& col, int msg)
{
    const int type = col(u"Type"), id = col(u"Cob-ID"), length = col(u"Dimension");
    auto standard = [e, type](int r) { return Trim(e->Cell(type, r)) == Standard_Frame; };
    std::vector<TTableCheck> checks{
        {msg, {}, e->Is_Blank(type)},
        {msg + 1, {}, [standard, out = e->Out_Of(id, 0, 2047)](int r) { return standard(r) && out(r); }},
        {msg + 2, {}, [standard, out = e->Out_Of(id, 0, 0x1FFFFFFF)](int r) { return !standard(r) && out(r); }},
        {msg + 3, {}, e->Out_Of(length, 1, 8)},
    };
    for (int k = 1; k <= 8; ++k) {
        const int byte = col(QStringLiteral("Byte%1").arg(k));
        checks.push_back({msg + 3 + k, {}, [e, k, length, out = e->Out_Of(byte, 0, Last_Data_Position)](int r) {
                              return e->Num(length, r) >= k && out(r);
                          }});
    }
    return checks;
}
}  // namespace

TTableDesc TFReceive_CAN_Frames::Describe()
{
    TTableDesc s;
    s.File = &File_CAN_Define_Receive;
    s.Root = QStringLiteral("Receive_CAN");
    s.ClientWidth = 800;
    s.NumberHeader = 601;
    s.Columns = Frame_Columns(602);
    s.Columns.push_back(Text_Column(613, 64, QStringLiteral("TimeOut")));
    s.Columns.push_back(Text_Column(614, 124, QStringLiteral("Mnemonic")));
    s.Caption = 595;
    s.DescText = 596;
    s.BtnOK = 597;
    s.BtnCancel = 598;
    s.BtnDelRow = 599;
    s.BtnInsRow = 600;
    s.ErrorPrefix = 615;
    s.DeleteQuestion = 629;
    const TColumnNames col(s.Columns);
    s.KeyCol = col(u"Cob-ID");
    s.Checks = Frame_Checks(this, col, 616);
    s.Checks.push_back({628, {}, Out_Of(col(u"TimeOut"), 0, Longest_Time)});
    return s;
}

TTableDesc TFTransmit_CAN_Frames::Describe()
{
    TTableDesc s;
    s.File = &File_CAN_Define_Transmit;
    s.Root = QStringLiteral("Transmit_CAN");
    s.ClientWidth = 913;
    s.NumberHeader = 636;
    s.Columns = Frame_Columns(637);
    s.Columns.push_back(Check_Column(648, 80, QStringLiteral("DataChange")));
    s.Columns.push_back(Check_Column(649, 35, QStringLiteral("Time")));
    s.Columns.push_back(Text_Column(650, 64, QStringLiteral("Time_ms")));
    s.Columns.push_back(Text_Column(651, 125, QStringLiteral("Mnemonic")));
    s.Caption = 630;
    s.DescText = 631;
    s.BtnOK = 632;
    s.BtnCancel = 633;
    s.BtnDelRow = 634;
    s.BtnInsRow = 635;
    s.ErrorPrefix = 652;
    s.DeleteQuestion = 666;
    const TColumnNames col(s.Columns);
    s.KeyCol = col(u"Cob-ID");
    s.Checks = Frame_Checks(this, col, 653);
    // the period matters only to a frame sent on time: the cell is exactly "Y" then
    s.Checks.push_back({665, {}, In_Col(col(u"Time_ms"), [this, time = col(u"Time"), out = Out_Of(col(u"Time_ms"), 0, Longest_Time)](int r) {
                            return Cell(time, r) == QLatin1String("Y") && out(r);
                        })});
    return s;
}
