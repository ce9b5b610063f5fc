#include "editors/j1939_editors.h"

#include "platform/core/sysutils.h"
#include "state/lang.h"
#include "state/model_table.h"
#include "state/shared_state.h"

TFReceiveJ1939* FReceiveJ1939 = nullptr;
TFReceive_J1939_892* FReceive_J1939_892 = nullptr;
TFReceive_J1939_Frame_896* FReceive_J1939_Frame_896 = nullptr;
TFTransmitJ1939* FTransmitJ1939 = nullptr;
TFTransmit_J1939_892* FTransmit_J1939_892 = nullptr;
TFTransmit_J1939_Frame_896* FTransmit_J1939_Frame_896 = nullptr;
TFTransmit_J1939_Frame_Atmel_872* FTransmit_J1939_Frame_Atmel_872 = nullptr;

namespace {
const QStringList Data_Pages{QStringLiteral("0"), QStringLiteral("1")};

// The attributes of the receive tables' columns that the RCobDef.xml family (cob) names
// its own way.
struct TReceive_Attributes {
    QString Source_Address, Multi_Frame, Num_Bytes, Cancel;
};

TReceive_Attributes Receive_Attributes(bool cob)
{
    if (cob) return {QStringLiteral("ID_DEV"), QStringLiteral("MultiFrame"), QStringLiteral("NByte"), QStringLiteral("Delete")};
    return {QStringLiteral("SourceAddress"), QStringLiteral("TransportProtocol"), QStringLiteral("NumBytes"),
            QStringLiteral("CancelData")};
}

// The first seven columns of the receive tables, with the header of the first at `header`.
std::vector<TTableColumn> Receive_Columns(int header, const TReceive_Attributes& a, int numBytesWidth)
{
    return {
        List_Column(header, 65, QStringLiteral("DataPage"), Data_Pages),
        Text_Column(header + 1, 75, QStringLiteral("PGN")),
        Text_Column(header + 2, 95, a.Source_Address),
        Check_Column(header + 3, 115, a.Multi_Frame),
        Text_Column(header + 4, 65, QStringLiteral("StartByte")),
        Text_Column(header + 5, numBytesWidth, a.Num_Bytes),
        Check_Column(header + 6, 75, a.Cancel),
    };
}

// The texts of the two older receive windows.
void Receive_Texts(TTableDesc& s)
{
    s.File = &File_J1939_Receive;
    s.NumberHeader = 74;
    s.Caption = 72;
    s.DescText = 73;
    s.BtnOK = 83;
    s.BtnCancel = 84;
    s.BtnDelRow = 85;
    s.ErrorPrefix = 87;
    s.DeleteQuestion = 86;
}

void Transmit_Texts(TTableDesc& s)
{
    s.File = &File_J1939_Transmit;
    s.Root = QStringLiteral("TransmitJ1939");
    s.NumberHeader = 95;
    s.Caption = 93;
    s.DescText = 94;
    s.BtnOK = 103;
    s.BtnCancel = 104;
    s.BtnDelRow = 105;
    s.ErrorPrefix = 107;
    s.DeleteQuestion = 106;
}

// Transport-protocol rows: Num Bytes at least 1 and Start Byte + Num Bytes within 1785.
TTableCheck Multi_Frame_Sum(const TTableEditor* e, const TColumnNames& col, const TReceive_Attributes& a, int msg)
{
    return {msg, {}, [e, multi = col(a.Multi_Frame), start = col(u"StartByte"), num = col(a.Num_Bytes)](int r) {
                const int first = e->Num(start, r), count = e->Num(num, r);
                return e->Ticked(multi, r) && (count < 1 || qint64(first) + count > 1785);
            }};
}

// A check that runs only when the row's cell `col` is ticked.
std::function<bool(int)> If_Ticked(const TTableEditor* e, int col, std::function<bool(int)> f)
{
    return [e, col, f = std::move(f)](int r) { return e->Ticked(col, r) && f(r); };
}
}  // namespace

TTableDesc TFReceiveJ1939::Describe()
{
    const bool cob = Model_Code == 7 || Model_Code == 9;
    TTableDesc s;
    Receive_Texts(s);
    s.Root = cob ? QStringLiteral("COBID") : QStringLiteral("ReceiveJ1939");
    const TReceive_Attributes a = Receive_Attributes(cob);
    s.Columns = Receive_Columns(75, a, 70);
    s.Columns.push_back(Text_Column(82, 140, QStringLiteral("Mnemonic")));
    const TColumnNames col(s.Columns);
    s.KeyCol = col(u"PGN");
    const bool from0 = Model_Code == 7;
    s.Checks = {
        {88, {}, Is_Empty(col(u"DataPage"))},
        {89, {}, Out_Of(col(u"PGN"), 0, 65535)},
        {90, {}, Out_Of(col(a.Source_Address), 0, 255)},
        {from0 ? 685 : 91, {}, If_Ticked(this, col(a.Multi_Frame), Out_Of(col(u"StartByte"), from0 ? 0 : 1, 1785))},
        Multi_Frame_Sum(this, col, a, 92),
    };
    return s;
}

TTableDesc TFReceive_J1939_892::Describe()
{
    TTableDesc s;
    Receive_Texts(s);
    s.Root = QStringLiteral("ReceiveJ1939");
    const TReceive_Attributes a = Receive_Attributes(false);
    s.Columns = Receive_Columns(75, a, 70);
    s.Columns.push_back(Text_Column(82, 140, QStringLiteral("Mnemonic")));
    const TColumnNames col(s.Columns);
    s.KeyCol = col(u"PGN");
    const int multi = col(a.Multi_Frame), start = col(u"StartByte"), num = col(a.Num_Bytes);
    // a single frame: an empty Start Byte counts as 0 and an empty Num Bytes as 8
    auto single = [this, multi](int r) { return !Ticked(multi, r); };
    s.Checks = {
        {88, {}, Is_Empty(col(u"DataPage"))},
        {89, {}, Out_Of(col(u"PGN"), 0, 65535)},
        {90, {}, Out_Of(col(a.Source_Address), 0, 255)},
        {326, {}, [this, single, start](int r) { return single(r) && (Num(start, r, 0) < 0 || Num(start, r, 0) > 7); }},
        {327, {}, [this, single, start, num](int r) {
             const int first = Num(start, r, 0), count = Num(num, r, 8);
             return single(r) && (count < 1 || qint64(first) + count > 8);
         }},
        // the text that names 0 as the lowest Start Byte, as this check allows
        {685, {}, If_Ticked(this, multi, Out_Of(start, 0, 1785))},
        Multi_Frame_Sum(this, col, a, 92),
    };
    return s;
}

TTableDesc TFReceive_J1939_Frame_896::Describe()
{
    const bool cob = Model_Code == 7 || Model_Code == 9;
    TTableDesc s;
    s.File = &File_J1939_Receive;
    s.Root = cob ? QStringLiteral("COBID") : QStringLiteral("ReceiveNMEA2000");
    s.RowLimit = Model_Code == 8 ? 30 : 250;
    s.ClientWidth = 876;
    s.NumberHeader = 528;
    const TReceive_Attributes a = Receive_Attributes(cob);
    s.Columns = Receive_Columns(529, a, 71);
    TTableColumn onRequest = Check_Column(536, 75, QStringLiteral("OnRequest"));
    onRequest.Missing = QStringLiteral("N");
    TTableColumn time = Text_Column(537, 65, QStringLiteral("OnReq_Time"));
    time.Missing = QStringLiteral("1000");
    s.Columns.push_back(onRequest);
    s.Columns.push_back(time);
    s.Columns.push_back(Text_Column(538, 119, QStringLiteral("Mnemonic")));
    const TColumnNames col(s.Columns);
    s.Columns[size_t(col(u"PGN") - 1)].Width = 65;
    s.KeyCol = col(u"PGN");
    s.Caption = 522;
    s.DescText = 523;
    s.BtnOK = 524;
    s.BtnCancel = 525;
    s.BtnDelRow = 526;
    s.BtnInsRow = 527;
    s.ErrorPrefix = 539;
    s.DeleteQuestion = 547;
    const bool from1 = Model_Code == 9;
    const bool small = Model_Code == 8;
    s.BeforeWalk = [this] { FTotal = 0; };
    const int multi = col(a.Multi_Frame);
    s.Checks = {
        {540, {}, Is_Blank(col(u"DataPage"))},
        {541, {}, Out_Of(col(u"PGN"), 0, 65535)},
        {542, {}, Out_Of(col(a.Source_Address), 0, 255)},
        {from1 ? 779 : 543, {}, If_Ticked(this, multi, Out_Of(col(u"StartByte"), from1 ? 1 : 0, 1785))},
        Multi_Frame_Sum(this, col, a, 544),
        {small ? -1 : 545,
         small ? QStringLiteral("Error in row %1!! The Configuration use more of 244 bytes") : QString(),
         [this, small, multi, num = col(a.Num_Bytes)](int r) {
             FTotal += Ticked(multi, r) ? Num(num, r) : 8;
             return FTotal > (small ? 244 : Gateway_Memory_Size);
         }},
        {546, {}, If_Ticked(this, col(u"OnRequest"), Out_Of(col(u"OnReq_Time"), 2, 10000000))},
    };
    return s;
}

TTableDesc TFTransmitJ1939::Describe()
{
    TTableDesc s;
    Transmit_Texts(s);
    s.Columns = {
        Text_Column(96, 65, QStringLiteral("Priority")),
        List_Column(97, 65, QStringLiteral("DataPage"), Data_Pages),
        Text_Column(98, 75, QStringLiteral("PGN")),
        Text_Column(99, 95, QStringLiteral("SourceAddress")),
        List_Column(100, 110, QStringLiteral("TransmitionType"),
                    {QStringLiteral("On Data Change"), QStringLiteral("On Timer")}),
        Text_Column(101, 75, QStringLiteral("SendTimer")),
        Text_Column(102, 220, QStringLiteral("Mnemonic")),
    };
    const TColumnNames col(s.Columns);
    s.KeyCol = col(u"PGN");
    auto type = [this, c = col(u"TransmitionType")](int r) { return UpperCase(Trim(Cell(c, r))); };
    s.Checks = {
        {108, {}, Out_Of(col(u"Priority"), 0, 7)},
        {109, {}, Is_Empty(col(u"DataPage"))},
        {110, {}, Out_Of(col(u"PGN"), 0, 65535)},
        {111, {}, Out_Of(col(u"SourceAddress"), 0, 239)},
        {112, {}, [type](int r) { return type(r) != QLatin1String("ON DATA CHANGE") && type(r) != QLatin1String("ON TIMER"); }},
        {113, {}, In_Col(col(u"SendTimer"), [type, timer = Out_Of(col(u"SendTimer"), 1, 65535)](int r) {
             return type(r) == QLatin1String("ON TIMER") && timer(r);
         })},
    };
    return s;
}

TTableDesc TFTransmit_J1939_892::Describe()
{
    const bool defaults = Model_Code == 5;
    TTableDesc s;
    Transmit_Texts(s);
    s.ClientWidth = defaults ? 954 : 774;
    TTableColumn values = Text_Column(819, 180, QStringLiteral("DefaultValues"));
    values.Hidden = !defaults;
    s.Columns = {
        Text_Column(96, 50, QStringLiteral("Priority")),
        List_Column(97, 65, QStringLiteral("DataPage"), Data_Pages),
        Text_Column(98, 65, QStringLiteral("PGN")),
        Text_Column(99, 95, QStringLiteral("SourceAddress")),
        Text_Column(329, 65, QStringLiteral("NumByte")),
        Check_Column(330, 53, QStringLiteral("Request")),
        Check_Column(331, 78, QStringLiteral("DataChange")),
        Check_Column(332, 57, QStringLiteral("OnTimer")),
        Text_Column(333, 70, QStringLiteral("SendTimer")),
        values,
        Text_Column(102, 110, QStringLiteral("Mnemonic")),
    };
    const TColumnNames col(s.Columns);
    s.KeyCol = col(u"PGN");
    auto defaultValues = [this, defaults, values = col(u"DefaultValues"), bytes = col(u"NumByte")](int r) {
        const QString v = Trim(Cell(values, r));
        return defaults && !v.isEmpty() ? Check_Default_Values(v, Num(bytes, r)) : 1;
    };
    s.Checks = {
        {108, {}, Out_Of(col(u"Priority"), 0, 7)},
        {109, {}, Is_Empty(col(u"DataPage"))},
        {110, {}, Out_Of(col(u"PGN"), 0, 65535)},
        {111, {}, Out_Of(col(u"SourceAddress"), 0, 239)},
        {328, {}, Out_Of(col(u"NumByte"), 1, 1785)},
        {113, {}, If_Ticked(this, col(u"OnTimer"), Out_Of(col(u"SendTimer"), 1, 65535))},
        {820, {}, [defaultValues](int r) { return defaultValues(r) == 2; }},
        {821, {}, [defaultValues](int r) { return defaultValues(r) == 3; }},
    };
    return s;
}

TTableDesc TFTransmit_J1939_Frame_896::Describe()
{
    const bool cob = Model_Code == 7;
    const bool numByte = Model_Code == 7 || Model_Code == 10;
    TTableDesc s;
    s.File = &File_J1939_Transmit;
    s.Root = cob ? QStringLiteral("COBID") : QStringLiteral("ReceiveNMEA2000");
    s.RowLimit = Model_Code == 8 ? 30 : 250;
    s.ClientWidth = 784;
    s.NumberHeader = 554;
    TTableColumn bytes = Text_Column(707, 60, QStringLiteral("NumByte"));
    if (numByte)
        bytes.Missing = QStringLiteral("8");
    else {
        bytes.FixedText = QStringLiteral("8");
        bytes.Hidden = true;
    }
    auto flag = [](int header, int width, const char* name) {
        TTableColumn c = Check_Column(header, width, QLatin1String(name));
        c.Missing = QStringLiteral("N");
        return c;
    };
    TTableColumn time = Text_Column(562, 64, QStringLiteral("OnTimer_Time"));
    time.Missing = QStringLiteral("1000");
    const QString dataPage = cob ? QStringLiteral("DP") : QStringLiteral("DataPage");
    const QString sourceAddress = cob ? QStringLiteral("ID_DEV") : QStringLiteral("SourceAddress");
    s.Columns = {
        Text_Column(555, 60, QStringLiteral("Priority")),
        List_Column(556, 65, dataPage, Data_Pages),
        Text_Column(557, 65, QStringLiteral("PGN")),
        Text_Column(558, 95, sourceAddress),
        bytes,
        flag(559, 75, "OnRequest"),
        flag(560, 80, "DataChange"),
        flag(561, 60, "OnTimer"),
        time,
        Text_Column(563, 93, QStringLiteral("Mnemonic")),
    };
    s.Caption = 548;
    s.DescText = 549;
    s.BtnOK = 550;
    s.BtnCancel = 551;
    s.BtnDelRow = 552;
    s.BtnInsRow = 553;
    s.ErrorPrefix = 564;
    s.DeleteQuestion = 570;
    s.BeforeWalk = [this] { FTotal = 0; };
    const TColumnNames col(s.Columns);
    s.KeyCol = col(u"Priority");
    s.Checks = {
        {565, {}, Out_Of(col(u"Priority"), 0, 7)},
        {566, {}, Is_Blank(col(dataPage))},
        {567, {}, Out_Of(col(u"PGN"), 0, 131071)},
        {568, {}, Out_Of(col(sourceAddress), 0, 255)},
        {708, {}, [this, numByte, bytes = col(u"NumByte")](int r) {
             if (!numByte) return false;
             const int n = Num(bytes, r);
             if (n < 1 || n > 1785) return true;
             FTotal += n;
             return false;
         }},
        {569, {}, If_Ticked(this, col(u"OnTimer"), Out_Of(col(u"OnTimer_Time"), 1, 10000000))},
    };
    if (numByte) s.AfterWalk = [this] { return FTotal > 2048 ? LT(823) : QString(); };
    return s;
}

TTableDesc TFTransmit_J1939_Frame_Atmel_872::Describe()
{
    TTableDesc s;
    s.File = &File_J1939_Transmit;
    s.Root = QStringLiteral("COBID");
    s.NumberHeader = 673;
    s.Columns = {
        Text_Column(674, 65, QStringLiteral("Priority")),
        List_Column(675, 65, QStringLiteral("DP"), Data_Pages),
        Text_Column(676, 75, QStringLiteral("PGN")),
        Text_Column(677, 95, QStringLiteral("ID_DEV")),
        Text_Column(678, 410, QStringLiteral("Mnemonic")),
    };
    s.Caption = 667;
    s.DescText = 668;
    s.BtnOK = 669;
    s.BtnCancel = 670;
    s.BtnDelRow = 671;
    s.BtnInsRow = 672;
    s.ErrorPrefix = 679;
    s.DeleteQuestion = 684;
    const TColumnNames col(s.Columns);
    s.KeyCol = col(u"PGN");
    s.Checks = {
        {680, {}, Out_Of(col(u"Priority"), 0, 7)},
        {681, {}, Is_Blank(col(u"DP"))},
        {682, {}, Out_Of(col(u"PGN"), 0, 65535)},
        {683, {}, Out_Of(col(u"ID_DEV"), 0, 255)},
    };
    return s;
}

int Check_Default_Values(const QString& Def_Val, int Num_Byte)
{
    int count = 0;
    for (const QString& piece : Def_Val.split(QLatin1Char(','))) {
        const QString v = Trim(piece);
        if (v.isEmpty()) continue;
        const int n = StrToIntDef(v, -1);
        if (n < 0 || n > 255) return 2;
        ++count;
    }
    return count != Num_Byte ? 3 : 1;
}
