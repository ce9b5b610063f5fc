#include "editors/modbus_editors.h"

#include "platform/core/sysutils.h"
#include "platform/core/xml.h"
#include "state/lang.h"
#include "state/model_table.h"
#include "state/par_gen.h"
#include "state/shared_state.h"

#include <QFileInfo>

TFModbusReadRequest* FModbusReadRequest = nullptr;
TFModbusWriteRequest* FModbusWriteRequest = nullptr;
TFModbusReadRequest_DM1_J1939* FModbusReadRequest_DM1_J1939 = nullptr;

namespace {
// Model 892's image holds this many read, DM1 read and write requests together.
constexpr int Modbus_Request_Capacity = 960;

// Row elements of a request file as the image builder counts them: every child of the
// document's first node.  No file, or one that cannot be parsed, counts nothing.
int File_Rows(const QString& path)
{
    if (path.isEmpty() || !QFileInfo::exists(path)) return 0;
    pugi::xml_document doc;
    if (!XmlLoadFile(doc, path)) return 0;
    const pugi::xml_node root = XmlRoot(doc);
    return int(std::distance(root.begin(), root.end()));
}

bool Bit_Type(const QString& type)
{
    const QString t = UpperCase(Trim(type));
    return t == QLatin1String("COIL STATUS") || t == QLatin1String("INPUT STATUS");
}

bool Coil_Type(const QString& type) { return UpperCase(Trim(type)) == QLatin1String("COIL STATUS"); }

// The columns and checks of a read request table; `dm1` for the table of the DM1 area.
TTableDesc Read_Desc(TModbusRequestEditor* e, bool dm1, const std::function<int()>& positions)
{
    TTableDesc s;
    s.GridName = QStringLiteral("ACG_Modbus_Read");
    s.File = dm1 ? &File_Modbus_Read_Req_DM1 : &File_Modbus_Read_Req;
    s.Root = dm1 ? QStringLiteral("ModbusReadRequest_DM1") : QStringLiteral("ModbusReadRequest");
    s.RowLimit = dm1 ? 100 : 480;
    s.ClientWidth = dm1 ? 834 : 833;
    s.KeyRule = krSkipEmpty;
    s.NumberHeader = 278;
    TTableColumn swap = Check_Column(712, 36, QStringLiteral("Swap"));
    swap.Missing = QStringLiteral("N");
    s.Columns = {
        Text_Column(324, 105, QStringLiteral("IP_Address")),
        Text_Column(325, 45, QStringLiteral("Port")),
        Text_Column(279, 53, QStringLiteral("SlaveID")),
        List_Column(280, 115, QStringLiteral("Type"),
                    {QStringLiteral("Coil Status"), QStringLiteral("Input Status"), QStringLiteral("Holding Register"),
                     QStringLiteral("Input Register")}),
        Text_Column(281, 53, QStringLiteral("Address")),
        Text_Column(282, 42, QStringLiteral("NPoint")),
        Text_Column(283, 57, QStringLiteral("PollTime")),
        Text_Column(284, 61, QStringLiteral("MaxError")),
        List_Column(285, 51, QStringLiteral("Position"), {}),
        List_Column(286, 55, QStringLiteral("StartBit"), Number_Items(0, 7)),
        swap,
        Text_Column(287, 95, QStringLiteral("Mnemonic")),
    };
    s.Caption = dm1 ? 721 : 276;
    s.DescText = dm1 ? 722 : 277;
    s.BtnOK = 288;
    s.BtnCancel = 289;
    s.BtnDelRow = 290;
    s.ErrorPrefix = 293;
    s.DeleteQuestion = 291;
    s.DeleteQuestionEnd = 292;
    const TColumnNames col(s.Columns);
    s.KeyCol = col(u"IP_Address");
    const int type = col(u"Type");
    auto npointMax = [e, type](int r) { return Bit_Type(e->Cell(type, r)) ? 2000 : 125; };
    s.Checks = {
        {319, {}, TTableEditor::In_Col(col(u"IP_Address"), [e, ip = col(u"IP_Address")](int r) { return Check_IP_Address(e->Cell(ip, r)); })},
        {323, {}, e->Out_Of(col(u"Port"), 1, 65535)},
        // the texts name the limit of each table: 1 to 247 for the DM1 requests, else 1 to 255
        {dm1 ? 294 : 268, {}, e->Out_Of(col(u"SlaveID"), 1, dm1 ? 247 : 255)},
        {295, {}, e->Is_Empty(type)},
        {296, {}, e->Out_Of(col(u"Address"), 0, 65535)},
        {297, {}, TTableEditor::In_Col(col(u"NPoint"), [e, npointMax, points = col(u"NPoint")](int r) {
             const int n = e->Num(points, r);
             return n < 1 || n > npointMax(r);
         }), [npointMax](int r) { return QString::number(npointMax(r)); }},
        {298, {}, e->Out_Of(col(u"PollTime"), 1, 100000000)},
        {299, {}, e->Out_Of(col(u"MaxError"), 0, 100000000)},
        {300, {}, TTableEditor::In_Col(col(u"Position"), [e, positions, position = col(u"Position")](int r) {
             const int p = e->Num(position, r);
             return p < 0 || p >= positions();
         }), [positions](int) { return QString::number(positions()); }},
        {301, {}, TTableEditor::In_Col(col(u"StartBit"), [e, type, bit = col(u"StartBit")](int r) { return Bit_Type(e->Cell(type, r)) && e->Cell(bit, r).isEmpty(); })},
    };
    return s;
}
}  // namespace

QStringList Number_Items(int from, int to)
{
    QStringList l;
    for (int i = from; i <= to; ++i) l << QString::number(i);
    return l;
}

bool Check_IP_Address(const QString& IP_Address)
{
    if (IP_Address.isEmpty()) return true;
    QString rest = IP_Address;
    for (int pass = 1; pass <= 4; ++pass) {
        QString part = rest;
        if (pass < 4) {
            // without a dot the part is empty and the next pass sees the whole text again
            const int dot = rest.indexOf(QLatin1Char('.'));
            part = dot >= 0 ? rest.left(dot) : QString();
            if (dot >= 0) rest = rest.mid(dot + 1);
        }
        const int v = StrToIntDef(part, -1);
        if (v < 0 || v > 255) return true;
    }
    return false;
}

bool DM1_Sending_On()
{
    TParGenMap elements;
    if (File_ParGen.isEmpty() || Read_ParGen_Elements(File_ParGen, elements) != TParGenRead::Loaded) return false;
    return elements.value(QStringLiteral("J1939_Send_DM1")) == QLatin1String("1");
}

int Modbus_Requests_Total(const QString& ownFile, int ownRows)
{
    int total = ownRows;
    for (const QString* f : {&File_Modbus_Read_Req, &File_Modbus_Read_Req_DM1, &File_Modbus_Write_Req}) {
        const bool own = *f == ownFile;
        // the image leaves the DM1 requests out while DM1 sending is off
        if (f == &File_Modbus_Read_Req_DM1 && !DM1_Sending_On()) {
            if (own) total -= ownRows;
            continue;
        }
        if (!own) total += File_Rows(*f);
    }
    return total;
}

void TModbusRequestEditor::FormShow()
{
    Grid()->Columns()->Items(Col(u"Position"))->ComboItems()->SetStrings(Number_Items(0, Position_Count() - 1));
    TTableEditor::FormShow();
}

int TModbusRequestEditor::Written_Rows() const
{
    int n = 0;
    for (int r = 1; r < Grid()->RowCount(); ++r)
        if (!Key_Empty(r)) ++n;
    return n;
}

QString TModbusRequestEditor::Total_Check() const
{
    const int total = Modbus_Requests_Total(*Desc().File, Written_Rows());
    if (total <= Modbus_Request_Capacity) return {};
    return QStringLiteral("The Modbus read, DM1 read and write requests of this configuration are %1 together; the "
                          "device holds at most %2. Remove %3 request(s) before saving.")
        .arg(total)
        .arg(Modbus_Request_Capacity)
        .arg(total - Modbus_Request_Capacity);
}

TTableDesc TFModbusReadRequest::Describe()
{
    TTableDesc s = Read_Desc(this, false, [this] { return app_NUM_DATA_BYTES_892; });
    s.AfterWalk = [this] { return Total_Check(); };
    return s;
}

int TFModbusReadRequest::Position_Count()
{
    app_NUM_DATA_BYTES_892 = DM1_Sending_On() ? Gateway_Memory_Size - DM1_Memory_Size : Gateway_Memory_Size;
    return app_NUM_DATA_BYTES_892;
}

TTableDesc TFModbusReadRequest_DM1_J1939::Describe()
{
    TTableDesc s = Read_Desc(this, true, [] { return DM1_Memory_Size; });
    s.AfterWalk = [this] { return Total_Check(); };
    return s;
}

TTableDesc TFModbusWriteRequest::Describe()
{
    TTableDesc s;
    s.GridName = QStringLiteral("ACG_Modbus_Write");
    s.File = &File_Modbus_Write_Req;
    s.Root = QStringLiteral("ModbusWriteRequest");
    s.RowLimit = 480;
    s.ClientWidth = 884;
    s.KeyRule = krSkipEmpty;
    s.NumberHeader = 251;
    TTableColumn swap = Check_Column(711, 36, QStringLiteral("Swap"));
    swap.Missing = QStringLiteral("N");
    s.Columns = {
        Text_Column(324, 105, QStringLiteral("IP_Address")),
        Text_Column(325, 45, QStringLiteral("Port")),
        Text_Column(252, 55, QStringLiteral("SlaveID")),
        List_Column(253, 100, QStringLiteral("Type"), {QStringLiteral("Coil Status"), QStringLiteral("Holding Register")}),
        Text_Column(254, 55, QStringLiteral("Address")),
        Text_Column(255, 45, QStringLiteral("NPoint")),
        Text_Column(256, 60, QStringLiteral("PollTime")),
        Check_Column(257, 67, QStringLiteral("OnChange")),
        Text_Column(258, 62, QStringLiteral("MaxError")),
        List_Column(259, 55, QStringLiteral("Position"), {}),
        List_Column(260, 55, QStringLiteral("StartBit"), Number_Items(0, 7)),
        swap,
        Text_Column(261, 80, QStringLiteral("Mnemonic")),
    };
    s.Caption = 249;
    s.DescText = 250;
    s.BtnOK = 262;
    s.BtnCancel = 263;
    s.BtnDelRow = 264;
    s.ErrorPrefix = 267;
    s.DeleteQuestion = 265;
    s.DeleteQuestionEnd = 266;
    const TColumnNames col(s.Columns);
    s.KeyCol = col(u"IP_Address");
    const int type = col(u"Type");
    auto npointMax = [this, type](int r) { return Coil_Type(Cell(type, r)) ? 1968 : 123; };
    s.Checks = {
        {322, {}, In_Col(col(u"IP_Address"), [this, ip = col(u"IP_Address")](int r) { return Check_IP_Address(Cell(ip, r)); })},
        {323, {}, Out_Of(col(u"Port"), 1, 65535)},
        {268, {}, Out_Of(col(u"SlaveID"), 1, 255)},
        {269, {}, Is_Empty(type)},
        {270, {}, Out_Of(col(u"Address"), 0, 65535)},
        {271, {}, In_Col(col(u"NPoint"), [this, npointMax, points = col(u"NPoint")](int r) {
             const int n = Num(points, r);
             return n < 1 || n > npointMax(r);
         }), [npointMax](int r) { return QString::number(npointMax(r)); }},
        {272, {}, Out_Of(col(u"PollTime"), 0, 100000000)},
        {273, {}, Out_Of(col(u"MaxError"), 0, 100000000)},
        {274, {}, Out_Of(col(u"Position"), 0, 4999)},
        {275, {}, In_Col(col(u"StartBit"), [this, type, bit = col(u"StartBit")](int r) { return Coil_Type(Cell(type, r)) && Cell(bit, r).isEmpty(); })},
    };
    s.AfterWalk = [this] { return Total_Check(); };
    return s;
}
