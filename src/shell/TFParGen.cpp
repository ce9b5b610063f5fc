#include "shell/TFParGen.h"

#include "platform/core/exception.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/lb_button.h"
#include "shell/octet_edits.h"
#include "platform/ui/window_look.h"
#include "state/lang.h"
#include "state/model_table.h"
#include "state/par_gen_checks.h"
#include "state/shared_state.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>

TFParGen* FParGen = nullptr;

namespace {

constexpr int kGroupWidth = 296;
constexpr int kEditHeight = 21;
constexpr int kCheckHeight = 17;
constexpr int kLabelHeight = 13;
constexpr int kCollapsedHeight = 26;
constexpr TColor kBackground = 0xEDF7F8;  // RGB 248, 247, 237

const QStringList kJ1939Bauds{"10K", "20K", "50K", "100K", "125K", "250K", "500K", "800K", "1000K"};
const QStringList kSerialBauds{"1200", "2400", "4800", "9600", "19200", "37400", "57600", "115200"};
const QStringList kParities{"NONE", "ODD", "EVEN"};

QLabel* NewLabel(QWidget* parent, const char* name, int left, int top, const QString& text, int width = 128)
{
    QLabel* l = New_Label(parent, name);
    l->setText(text);
    l->setGeometry(left, top, width, kLabelHeight);
    return l;
}

QLineEdit* NewEdit(QWidget* parent, const char* name, int left, int top, int width = 132)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    e->setGeometry(left, top, width, kEditHeight);
    return e;
}

QComboBox* NewList(QWidget* parent, const char* name, int left, int top, int width, const QStringList& items)
{
    auto* c = new QComboBox(parent);
    c->setObjectName(QLatin1String(name));
    c->setGeometry(left, top, width, kEditHeight);
    c->addItems(items);
    return c;
}

QCheckBox* NewCheck(QWidget* parent, const char* name, int left, int top, int width, const QString& text)
{
    auto* c = new QCheckBox(text, parent);
    c->setObjectName(QLatin1String(name));
    c->setGeometry(left, top, width, kCheckHeight);
    return c;
}

QGroupBox* NewGroup(QWidget* parent, const char* name, const QString& caption)
{
    auto* g = new QGroupBox(caption, parent);
    g->setObjectName(QLatin1String(name));
    g->setGeometry(8, 70, kGroupWidth, 100);
    return g;
}

// The small collapse (minus) and expand (plus) pictures.
QImage SignGlyph(bool plus)
{
    QImage img(9, 9, QImage::Format_RGB32);
    img.fill(QColor(255, 0, 255));
    QPainter p(&img);
    p.setPen(QColor(40, 40, 40));
    p.drawLine(1, 4, 7, 4);
    if (plus) p.drawLine(4, 1, 4, 7);
    return img;
}

TLbButton* NewButton(QWidget* parent, const char* name, int left, int top, int width, int height, const QImage& glyph,
                     TLbButtonStyle style, TColor hotTrack)
{
    auto* b = new TLbButton(parent);
    b->setObjectName(QLatin1String(name));
    b->SetBounds(left, top, width, height);
    b->SetStyle(style);
    b->SetColor(kBackground);
    b->SetLightColor(clGray);
    b->SetColorWhenDown(0x0080FF);
    b->SetHotTrackColor(hotTrack);
    b->SetGlyph(glyph);
    return b;
}

void Place(QWidget* w, int top)
{
    w->move(w->x(), top);
    w->show();
}

void SetShown(std::initializer_list<QWidget*> ws, bool shown)
{
    for (QWidget* w : ws) w->setVisible(shown);
}

int Bottom(const QWidget* w) { return w->y() + w->height(); }

}  // namespace

TFParGen::TFParGen(QWidget* parent) : TForm(parent)
{
    setObjectName(QStringLiteral("FParGen"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint | Qt::WindowTitleHint);
    QFont f(QStringLiteral("Verdana"));
    f.setPixelSize(11);
    setFont(f);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, ColorToQColor(kBackground));
    setPalette(pal);
}

void TFParGen::Create_Controls()
{
    L_SW_Code = NewLabel(this, "L_SW_Code", 16, 8, QString(), 280);
    QFont big = font();
    big.setPixelSize(32);
    L_SW_Code->setFont(big);
    L_SW_Code->resize(280, 34);
    L_SW_Desc = NewLabel(this, "L_SW_Desc", 16, 42, QString(), 280);
    QFont bold = font();
    bold.setBold(true);
    L_SW_Desc->setFont(bold);
    for (QLabel* l : {L_SW_Code, L_SW_Desc}) l->setStyleSheet(QStringLiteral("color: gray"));

    Btn_OK = NewButton(this, "Btn_OK", 74, 0, 112, 28, LbKindGlyph(bkOK), bsEncarta, clYellow);
    Btn_Cancel = NewButton(this, "Btn_Cancel", 192, 0, 112, 28, LbKindGlyph(bkCancel), bsEncarta, clYellow);
    Btn_OK->OnClick = [this] { Btn_OKClick(); };
    Btn_Cancel->OnClick = [this] { Btn_CancelClick(); };
    // Enter in a field is OK, as in the program's other windows
    Btn_OK->SetDefault(true);

    Build_J1939();
    Build_Other_Groups();

    // Change tracking: every edit and list, and every check box but the two PROFIBUS ones.
    for (QLineEdit* e : findChildren<QLineEdit*>())
        connect(e, &QLineEdit::textChanged, this, [this, e] { On_Change(e); });
    for (QComboBox* c : findChildren<QComboBox*>())
        connect(c, &QComboBox::currentIndexChanged, this, [this, c] { On_Change(c); });
    for (QCheckBox* c : findChildren<QCheckBox*>())
        if (c != CB_PROFIS_Module_for_J1939 && c != CB_PROFIS_Send_J1939_by_PROFIBUS)
            connect(c, &QCheckBox::toggled, this, [this, c] { On_Click(c); });
    for (TAddress* a : {&FTcpSlave, &FTcpMaster, &FEthernet})
        for (QLineEdit* e : a->Octets) e->installEventFilter(this);
    // The buttons were made first; Tab reaches them after the fields.
    // each gateway check box sits above its octets, and is made after them
    const std::pair<const TAddress*, QCheckBox*> gateways[] = {
        {&FTcpSlave, CB_ModTCPs_EN_GAT}, {&FTcpMaster, CB_MTCPM_EN_GAT}, {&FEthernet, CB_ETH_EN_GAT}};
    for (const auto& [address, check] : gateways) setTabOrder(address->Octets[7], check);
}

void TFParGen::Build_J1939()
{
    QGroupBox* g = GB_J1939 = NewGroup(this, "GB_J1939", QStringLiteral(" J1939 "));
    L_J1939_Baud = NewLabel(g, "L_J1939_Baud", 16, 24, QStringLiteral("Baudrate"), 66);
    CB_Baud_J1939 = NewList(g, "CB_Baud_J1939", 85, 21, 195, kJ1939Bauds);
    L_J1939_TO = NewLabel(g, "L_J1939_TO", 16, 58, QStringLiteral("TimeOut Data (s)"));
    E_TO_J1939 = NewEdit(g, "E_TO_J1939", 148, 55);
    L_J1939_MR_TO = NewLabel(g, "L_J1939_MR_TO", 16, 92, QStringLiteral("Modbus Reg. TimeOut"));
    E_J1939_ModReg_TO = NewEdit(g, "E_J1939_ModReg_TO", 148, 89);
    CB_En_Peer_J1939 = NewCheck(g, "CB_En_Peer_J1939", 16, 126, 264, QStringLiteral("Enable Peer to Peer"));
    CB_En_Remote_Req_J1939 =
        NewCheck(g, "CB_En_Remote_Req_J1939", 16, 160, 264, QStringLiteral("Enable Remote Request (RTR)"));
    L_J1939_RTR_Pri_Dest =
        NewLabel(g, "L_J1939_RTR_Pri_Dest", 16, 194, QStringLiteral("Priority and Destination (RTR)"), 180);
    E_J1939_RTR_Pri_Dest = NewEdit(g, "E_J1939_RTR_Pri_Dest", 198, 191, 82);
    L_J1939_RTR_PGN = NewLabel(g, "L_J1939_RTR_PGN", 16, 228, QStringLiteral("PGN (RTR)"), 96);
    E_J1939_RTR_PGN1 = NewEdit(g, "E_J1939_RTR_PGN1", 114, 225, 78);
    E_J1939_RTR_PGN2 = NewEdit(g, "E_J1939_RTR_PGN2", 198, 225, 82);
    L_J1939_RTR_SA = NewLabel(g, "L_J1939_RTR_SA", 16, 262, QStringLiteral("Source Address (RTR)"), 180);
    E_J1939_RTR_SA = NewEdit(g, "E_J1939_RTR_SA", 198, 259, 82);
    L_J1939_DevID = NewLabel(g, "L_J1939_DevID", 16, 160, QStringLiteral("Device ID J1939"));
    E_J1939_DevID = NewEdit(g, "E_J1939_DevID", 148, 157);
    CB_J1939_FilterFECA = NewCheck(g, "CB_J1939_FilterFECA", 16, 296, 128, QStringLiteral("Filter FECA (ms)"));
    E_J1939_FilterFECA = NewEdit(g, "E_J1939_FilterFECA", 148, 294);
    CB_J1939_SendFrame = NewCheck(g, "CB_J1939_SendFrame", 16, 330, 178, QStringLiteral("Send Frame Every (ms)"));
    E_J1939_SendFrame = NewEdit(g, "E_J1939_SendFrame", 197, 328, 83);
    CB_J1939_Send_DM1 = NewCheck(g, "CB_J1939_Send_DM1", 16, 160, 264, QStringLiteral("Enable Send DM1"));
    CB_J1939_StopSendFrame = NewCheck(g, "CB_J1939_StopSendFrame", 16, 194, 270,
                                      QStringLiteral("Stop Send Frames if a Modbus Request Fail"));
    L_J1939_SSF_NumFails = NewLabel(g, "L_J1939_SSF_NumFails", 32, 228, QStringLiteral("Number of Fails"), 112);
    E_J1939_SSF_NumFails = NewEdit(g, "E_J1939_SSF_NumFails", 148, 225);
    Add_Group(g, &GB_J1939_Visible, 398, {L_J1939_Baud, CB_Baud_J1939});
}

void TFParGen::Build_Address(QGroupBox* g, TAddress& a, const char* editPrefix, const char* labelPrefix, QLabel*& ip,
                             QLabel*& sm, QLabel*& port, QLineEdit*& portEdit)
{
    const QByteArray e = QByteArray("E_") + editPrefix;
    const QByteArray l = QByteArray("L_") + labelPrefix;
    ip = NewLabel(g, (l + "_IP").constData(), 16, 24, QStringLiteral("IP ADDRESS"));
    sm = NewLabel(g, (l + "_SM").constData(), 16, 79, QStringLiteral("SUBNET Mask"));
    static const int lefts[] = {16, 82, 148, 214};
    static const int tops[] = {43, 98, 154};
    static const char* const rows[] = {"IP", "SM", "GAT"};
    for (int r = 0; r < 3; ++r) {
        for (int i = 0; i < 4; ++i) {
            a.Octets[r * 4 + i] = NewEdit(g, (e + rows[r] + QByteArray::number(i + 1)).constData(), lefts[i], tops[r], 60);
            if (i < 3)
                a.Dots[r * 3 + i] = NewLabel(g, (l + "_Dot_" + rows[r] + QByteArray::number(i + 1)).constData(),
                                             lefts[i] + 62, tops[r] + 5, QStringLiteral("."), 4);
        }
    }
    port = NewLabel(g, (l + "_Port").constData(), 16, 191, QStringLiteral("Port"), 60);
    portEdit = NewEdit(g, (e + "PORT").constData(), 82, 188, 192);
}

void TFParGen::Build_Other_Groups()
{
    QGroupBox* g = GB_Modbus_Slave = NewGroup(this, "GB_Modbus_Slave", QStringLiteral(" Modbus Slave "));
    L_ModSlave_Baud = NewLabel(g, "L_ModSlave_Baud", 16, 24, QStringLiteral("Baudrate"), 66);
    CB_Baud_Modbus_Slave = NewList(g, "CB_Baud_Modbus_Slave", 84, 21, 191, kSerialBauds);
    L_ModSlave_Par = NewLabel(g, "L_ModSlave_Par", 16, 58, QStringLiteral("Parity"), 66);
    CB_Par_Modbus_Slave = NewList(g, "CB_Par_Modbus_Slave", 84, 55, 191, kParities);
    L_ModSlave_ID = NewLabel(g, "L_ModSlave_ID", 16, 92, QStringLiteral("ID Device"), 66);
    E_ID_Modbus_Slave = NewEdit(g, "E_ID_Modbus_Slave", 84, 89, 191);
    Add_Group(g, &GB_Modbus_Slave_Visible, 125, {L_ModSlave_Baud, CB_Baud_Modbus_Slave});

    // The three address groups share one design: octets, gateway, port.
    g = GB_Modbus_TCP_Slave = NewGroup(this, "GB_Modbus_TCP_Slave", QStringLiteral(" Modbus TCP Slave "));
    Build_Address(g, FTcpSlave, "", "ModTCPs", L_ModTCPs_IP, L_ModTCPs_SM, L_ModTCPs_Port, E_PORT);
    CB_ModTCPs_EN_GAT = NewCheck(g, "CB_ModTCPs_EN_GAT", 16, 134, 200, QStringLiteral("GATEWAY"));
    CB_ModTCPs_EnWriteOnReq =
        NewCheck(g, "CB_ModTCPs_EnWriteOnReq", 16, 225, 270, QStringLiteral("Enable write J1939 on request"));
    CB_ModTCPs_EnFunStatus =
        NewCheck(g, "CB_ModTCPs_EnFunStatus", 16, 259, 270, QStringLiteral("Enable Modbus Fun 1, 2, 5 and 15"));
    CB_ModTCPs_WriteModRegInRead = NewCheck(g, "CB_ModTCPs_WriteModRegInRead", 16, 293, 270,
                                            QStringLiteral("Write Modbus Registers also in read mode"));
    Add_Group(g, &GB_Modbus_TCP_Slave_Visible, 325, {L_ModTCPs_IP});

    g = GB_Modbus_TCP_Master = NewGroup(this, "GB_Modbus_TCP_Master", QStringLiteral(" Modbus TCP Master "));
    Build_Address(g, FTcpMaster, "MTCPM_", "ModTCPm", L_ModTCPm_IP, L_ModTCPm_SM, L_ModTCPm_Port, E_MTCPM_PORT);
    CB_MTCPM_EN_GAT = NewCheck(g, "CB_MTCPM_EN_GAT", 16, 134, 200, QStringLiteral("GATEWAY"));
    L_MTCPM_TO = NewLabel(g, "L_MTCPM_TO", 16, 225, QStringLiteral("TimeOut (ms)"));
    E_TO_Modbus_TCP_Master = NewEdit(g, "E_TO_Modbus_TCP_Master", 148, 222);
    L_MTCPM_CD = NewLabel(g, "L_MTCPM_CD", 16, 259, QStringLiteral("Cyclic Delay (ms)"));
    E_CD_Modbus_TCP_Master = NewEdit(g, "E_CD_Modbus_TCP_Master", 148, 256);
    Add_Group(g, &GB_Modbus_TCP_Master_Visible, 292, {L_ModTCPm_IP});

    g = GB_Ethernet = NewGroup(this, "GB_Ethernet", QStringLiteral(" Ethernet "));
    Build_Address(g, FEthernet, "ETH_", "Eth", L_Eth_IP, L_Eth_SM, L_Eth_Port, E_ETH_PORT);
    CB_ETH_EN_GAT = NewCheck(g, "CB_ETH_EN_GAT", 16, 134, 200, QStringLiteral("GATEWAY"));
    L_Ethernet_Protocol = NewLabel(g, "L_Ethernet_Protocol", 16, 225, QStringLiteral("Protocol"), 60);
    CB_Ethernet_Protocol = NewList(g, "CB_Ethernet_Protocol", 82, 222, 192, {QStringLiteral("UDP"), QStringLiteral("TCP")});
    Add_Group(g, &GB_Ethernet_Visible, 224, {L_Eth_IP});

    // The octet edits are named after their group's controls.
    const auto bind = [](const TAddress& a, std::array<QLineEdit**, 12> members) {
        for (int i = 0; i < 12; ++i) *members[i] = a.Octets[i];
    };
    bind(FTcpSlave, {&E_IP1, &E_IP2, &E_IP3, &E_IP4, &E_SM1, &E_SM2, &E_SM3, &E_SM4, &E_GAT1, &E_GAT2, &E_GAT3, &E_GAT4});
    bind(FTcpMaster, {&E_MTCPM_IP1, &E_MTCPM_IP2, &E_MTCPM_IP3, &E_MTCPM_IP4, &E_MTCPM_SM1, &E_MTCPM_SM2, &E_MTCPM_SM3,
                      &E_MTCPM_SM4, &E_MTCPM_GAT1, &E_MTCPM_GAT2, &E_MTCPM_GAT3, &E_MTCPM_GAT4});
    bind(FEthernet, {&E_ETH_IP1, &E_ETH_IP2, &E_ETH_IP3, &E_ETH_IP4, &E_ETH_SM1, &E_ETH_SM2, &E_ETH_SM3, &E_ETH_SM4,
                     &E_ETH_GAT1, &E_ETH_GAT2, &E_ETH_GAT3, &E_ETH_GAT4});

    g = GB_CANopen = NewGroup(this, "GB_CANopen", QStringLiteral(" CANopen "));
    L_ID_CANopen = NewLabel(g, "L_ID_CANopen", 16, 24, QStringLiteral("ID Device"));
    E_ID_CANopen = NewEdit(g, "E_ID_CANopen", 148, 21);
    L_Baud_CANopen = NewLabel(g, "L_Baud_CANopen", 16, 58, QStringLiteral("Baudrate"));
    CB_Baud_CANopen = NewList(g, "CB_Baud_CANopen", 148, 55, 132, kJ1939Bauds);
    CB_Set_Ope_CANopen =
        NewCheck(g, "CB_Set_Ope_CANopen", 16, 92, 264, QStringLiteral("Set Operational State at Start-Up"));
    CB_Net_Ope_CANopen =
        NewCheck(g, "CB_Net_Ope_CANopen", 16, 126, 224, QStringLiteral("Network Start at Start-up. Delay (s)"));
    E_NO_Delay_CANopen = NewEdit(g, "E_NO_Delay_CANopen", 244, 124, 36);
    CB_En_SDO_Client_CANopen = NewCheck(g, "CB_En_SDO_Client_CANopen", 16, 160, 264, QStringLiteral("Enable SDO Client"));
    L_SDO_Client_TO_CANopen = NewLabel(g, "L_SDO_Client_TO_CANopen", 32, 191, QStringLiteral("TimeOut SDO (1/10 ms)"), 146);
    E_SDO_Client_TO_CANopen = NewEdit(g, "E_SDO_Client_TO_CANopen", 180, 188, 100);
    CB_En_NodeGuard_CANopen = NewCheck(g, "CB_En_NodeGuard_CANopen", 16, 228, 264, QStringLiteral("Enable NodeGuarding"));
    CB_NG_SendFrame_CANopen =
        NewCheck(g, "CB_NG_SendFrame_CANopen", 16, 262, 264, QStringLiteral("Send state on J1939 Network"));
    L_NG_SF_Time_CANopen = NewLabel(g, "L_NG_SF_Time_CANopen", 32, 296, QStringLiteral("Send Frames every (ms)"), 146);
    E_NG_SF_Time_CANopen = NewEdit(g, "E_NG_SF_Time_CANopen", 180, 293, 100);
    Add_Group(g, &GB_CANopen_Visible, 329, {L_ID_CANopen, E_ID_CANopen});

    g = GB_Modbus_Master = NewGroup(this, "GB_Modbus_Master", QStringLiteral(" Modbus Master "));
    L_ModMaster_Baud = NewLabel(g, "L_ModMaster_Baud", 16, 24, QStringLiteral("Baudrate"));
    CB_Baud_Modbus_Master = NewList(g, "CB_Baud_Modbus_Master", 148, 21, 132, kSerialBauds);
    L_ModMaster_Par = NewLabel(g, "L_ModMaster_Par", 16, 58, QStringLiteral("Parity"));
    CB_Par_Modbus_Master = NewList(g, "CB_Par_Modbus_Master", 148, 55, 132, kParities);
    L_ModMaster_StopBit = NewLabel(g, "L_ModMaster_StopBit", 16, 92, QStringLiteral("Stop Bits"));
    CB_StopBit_Modbus_Master =
        NewList(g, "CB_StopBit_Modbus_Master", 148, 89, 132, {QStringLiteral("1"), QStringLiteral("2")});
    L_ModMaster_TO = NewLabel(g, "L_ModMaster_TO", 16, 126, QStringLiteral("TimeOut (ms)"));
    E_TO_Modbus_Master = NewEdit(g, "E_TO_Modbus_Master", 148, 123);
    L_ModMaster_CD = NewLabel(g, "L_ModMaster_CD", 16, 160, QStringLiteral("Cyclic Delay (ms)"));
    E_CD_Modbus_Master = NewEdit(g, "E_CD_Modbus_Master", 148, 157);
    Add_Group(g, &GB_Modbus_Master_Visible, 193, {L_ModMaster_Baud, CB_Baud_Modbus_Master});

    g = GB_CAN = NewGroup(this, "GB_CAN", QStringLiteral(" CAN "));
    L_CAN_Baud = NewLabel(g, "L_CAN_Baud", 16, 24, QStringLiteral("Baudrate"), 66);
    CAN_Baud = NewList(g, "CAN_Baud", 84, 21, 196,
                       {"10K", "20K", "50K", "62.5K", "100K", "125K", "250K", "500K", "800K", "1000K"});
    Add_Group(g, &GB_CAN_Visible, 58, {L_CAN_Baud, CAN_Baud});

    g = GB_select_Device = NewGroup(this, "GB_select_Device", QStringLiteral(" Select Device "));
    CB_Select_Device = NewList(g, "CB_Select_Device", 16, 21, 259, {});
    Add_Group(g, &GB_Select_Device_Visible, 58, {CB_Select_Device});

    g = GB_PROFIBUS_Slave = NewGroup(this, "GB_PROFIBUS_Slave", QStringLiteral(" PROFIBUS Slave "));
    L_PROFIS_IDDev = NewLabel(g, "L_PROFIS_IDDev", 16, 24, QStringLiteral("ID Device"));
    E_ID_DEV_PROFI_Slave = NewEdit(g, "E_ID_DEV_PROFI_Slave", 148, 21);
    L_PROFIS_Baud = NewLabel(g, "L_PROFIS_Baud", 16, 58, QStringLiteral("Baudrate"));
    CB_Baud_PROFI_Slave = NewList(g, "CB_Baud_PROFI_Slave", 148, 55, 132, {QStringLiteral("Auto Baudrate")});
    CB_Baud_PROFI_Slave->setEnabled(false);
    CB_PROFIS_Module_for_J1939 =
        NewCheck(g, "CB_PROFIS_Module_for_J1939", 16, 92, 264, QStringLiteral("Module for Every J1939 Frames"));
    CB_PROFIS_Send_J1939_by_PROFIBUS = NewCheck(g, "CB_PROFIS_Send_J1939_by_PROFIBUS", 16, 126, 264,
                                                QStringLiteral("Send J1939 Frames with PROFIBUS"));
    Add_Group(g, &GB_PROFIBUS_Slave_Visible, 158, {L_PROFIS_IDDev, E_ID_DEV_PROFI_Slave});

    g = GB_Custom = NewGroup(this, "GB_Custom", QStringLiteral(" QTB900 Custom Frames "));
    struct CustomRow {
        QLabel** Label;
        const char* LabelName;
        const char* Text;
        QLineEdit** Edit;
        const char* EditName;
        int Top;
    };
    const CustomRow rows[] = {
        {&L_Custom_CAN_RX, "L_Custom_CAN_RX", "Frame CAN RX", &E_Custom_CAN_RX, "E_Custom_CAN_RX", 21},
        {&L_Custom_CAN_TX, "L_Custom_CAN_TX", "Frame CAN TX", &E_Custom_CAN_TX, "E_Custom_CAN_TX", 54},
        {&L_Custom_J1939_RX, "L_Custom_J1939_RX", "Frame J1939 RX", &E_Custom_J1939_RX, "E_Custom_J1939_RX", 89},
        {&L_Custom_J1939_TX1, "L_Custom_J1939_TX1", "Frame J1939 1 TX", &E_Custom_J1939_TX1, "E_Custom_J1939_TX1", 122},
        {&L_Custom_J1939_TX2, "L_Custom_J1939_TX2", "Frame J1939 2 TX", &E_Custom_J1939_TX2, "E_Custom_J1939_TX2", 156},
        {&L_CAN_Timeout, "L_CAN_Timeout", "TimeOut CAN (ms)", &E_CAN_Timeout, "E_CAN_Timeout", 190},
        {&L_J1939_Timeout, "L_J1939_Timeout", "TimeOut J1939 (ms)", &E_J1939_Timeout, "E_J1939_Timeout", 224},
    };
    for (const CustomRow& r : rows) {
        *r.Label = NewLabel(g, r.LabelName, 16, r.Top + 3, QLatin1String(r.Text));
        *r.Edit = NewEdit(g, r.EditName, 148, r.Top);
    }
    // It opens at the height its rows need and takes its expanded height on the first expand.
    Add_Group(g, &GB_Custom_Visible, 278, {L_Custom_CAN_RX, E_Custom_CAN_RX}, Bottom(E_J1939_Timeout) + 15);
}

TFParGen::TGroup& TFParGen::Add_Group(QGroupBox* box, bool* expanded, int expandedHeight, QList<QWidget*> firstRow,
                                      int designHeight)
{
    box->resize(kGroupWidth, designHeight > 0 ? designHeight : expandedHeight);
    TGroup grp;
    grp.Box = box;
    grp.Expanded = expanded;
    grp.ExpandedHeight = expandedHeight;
    grp.FirstRow = std::move(firstRow);
    const QByteArray n = box->objectName().toLatin1();
    grp.Collapse = NewButton(box, ("Btn_" + n + "_Collapse").constData(), 280, 10, 11, 11, SignGlyph(false), bsEncarta,
                             clSkyBlue);
    grp.Expand = NewButton(box, ("Btn_" + n + "_Expand").constData(), 280, 10, 11, 11, SignGlyph(true), bsEncarta,
                           clSkyBlue);
    TLbButton* c = grp.Collapse;
    TLbButton* e = grp.Expand;
    // Too small to show a focus frame: the mouse works them, Tab passes them by.
    c->setFocusPolicy(Qt::NoFocus);
    e->setFocusPolicy(Qt::NoFocus);
    c->OnClick = [this, c] { Btn_GB_Collapse(c); };
    e->OnClick = [this, e] { Btn_GB_Expande(e); };
    FGroups.push_back(std::move(grp));
    return FGroups.back();
}

TFParGen::TGroup* TFParGen::Group_Of(TLbButton* sender)
{
    for (TGroup& g : FGroups)
        if (g.Collapse == sender || g.Expand == sender) return &g;
    return nullptr;
}

void TFParGen::Set_Group_Height(QGroupBox* box, int height)
{
    for (const TGroup& g : FGroups)
        if (g.Box == box && !*g.Expanded) return;  // a collapsed group keeps its header height
    box->resize(kGroupWidth, height);
}

// ---------------------------------------------------------------------------------------
// Creation and layout

void TFParGen::FormCreate()
{
    Create_Controls();
    L_SW_Code->setText(SW_Code);
    for (const TGroup& g : FGroups) g.Box->hide();
    {
        const QSignalBlocker block(CB_Select_Device);
        CB_Select_Device->clear();
        if (Model_Code == 9)
            CB_Select_Device->addItems({QStringLiteral("Device with Jumper"), QStringLiteral("Device with Dip-Switch")});
        else
            CB_Select_Device->addItems({QStringLiteral("Device till April 2014 (with Jumper)"),
                                        QStringLiteral("Device from May 2014 (with Dip-Switch)")});
        CB_Select_Device->setCurrentIndex(0);
    }
    if (Model_Code == 6) {
        CB_Baud_J1939->addItems({QStringLiteral("667K"), QStringLiteral("750K")});
        CB_Baud_J1939->setCurrentIndex(5);
    }
    Collapse_Expand_Creation();
    Move_GroupBoxs();
    Set_Lang();
}

void TFParGen::Collapse_Expand_Creation()
{
    for (TGroup& g : FGroups) {
        *g.Expanded = true;
        g.Collapse->move(280, 10);
        g.Expand->move(280, 10);
        g.Collapse->show();
        g.Expand->hide();
    }
}

void TFParGen::Arrange_J1939()
{
    // Everything below the TimeOut Data row is placed per model; start from all hidden.
    SetShown({L_J1939_MR_TO, E_J1939_ModReg_TO, CB_En_Remote_Req_J1939, L_J1939_RTR_Pri_Dest, E_J1939_RTR_Pri_Dest,
              L_J1939_RTR_PGN, E_J1939_RTR_PGN1, E_J1939_RTR_PGN2, L_J1939_RTR_SA, E_J1939_RTR_SA, L_J1939_DevID,
              E_J1939_DevID, CB_J1939_FilterFECA, E_J1939_FilterFECA, CB_J1939_SendFrame, E_J1939_SendFrame},
             false);
    SetShown({L_J1939_TO, E_TO_J1939, CB_En_Peer_J1939}, Model_Code != 1006);
    const auto devId = [this](int top) {
        Place(L_J1939_DevID, top);
        Place(E_J1939_DevID, top - 3);
    };
    const auto remoteBlock = [this] {
        SetShown({CB_En_Remote_Req_J1939, L_J1939_RTR_Pri_Dest, E_J1939_RTR_Pri_Dest, L_J1939_RTR_PGN,
                  E_J1939_RTR_PGN1, E_J1939_RTR_PGN2, L_J1939_RTR_SA, E_J1939_RTR_SA},
                 true);
    };
    QWidget* last = E_J1939_DevID;
    switch (Model_Code) {
    case 0:
        SetShown({L_J1939_MR_TO, E_J1939_ModReg_TO}, true);
        Place(CB_En_Peer_J1939, 126);
        remoteBlock();
        last = E_J1939_RTR_SA;
        break;
    case 1:
        SetShown({L_J1939_MR_TO, E_J1939_ModReg_TO}, true);
        Place(CB_En_Peer_J1939, 126);
        devId(160);
        break;
    case 2:
        Place(CB_En_Peer_J1939, 92);
        devId(126);
        SetShown({CB_J1939_Send_DM1, CB_J1939_StopSendFrame, L_J1939_SSF_NumFails, E_J1939_SSF_NumFails}, true);
        last = E_J1939_SSF_NumFails;
        break;
    case 8:
        Place(CB_En_Peer_J1939, 92);
        Place(CB_J1939_FilterFECA, 126);
        Place(E_J1939_FilterFECA, 123);
        devId(160);
        break;
    case 7:
    case 9:
        return;  // arranged by device type
    case 1006:
        last = CB_Baud_J1939;
        break;
    default:  // 894, 896, 890, 897, 860
        Place(CB_En_Peer_J1939, 92);
        devId(126);
        break;
    }
    Set_Group_Height(GB_J1939, Bottom(last) + 15);
}

void TFParGen::Move_GroupBoxs()
{
    const bool m872 = Model_Code == 7;
    SetShown({CB_J1939_FilterFECA, E_J1939_FilterFECA, CB_J1939_SendFrame, E_J1939_SendFrame, CB_ModTCPs_EnWriteOnReq,
              CB_ModTCPs_EnFunStatus, CB_ModTCPs_WriteModRegInRead},
             m872);
    Set_Group_Height(GB_Modbus_TCP_Slave, m872 ? 325 : 224);
    SetShown({L_Ethernet_Protocol, CB_Ethernet_Protocol}, Model_Code == 9);
    SetShown({CB_J1939_Send_DM1, CB_J1939_StopSendFrame, L_J1939_SSF_NumFails, E_J1939_SSF_NumFails}, false);
    Arrange_J1939();
    if (Model_Code == 10) {
        SetShown({L_Eth_Port, E_ETH_PORT, L_Ethernet_Protocol, CB_Ethernet_Protocol}, false);
        Set_Group_Height(GB_Ethernet, Bottom(E_ETH_GAT4) + 15);
    }
    if (Model_Code == 3) Set_Group_Height(GB_Ethernet, 224);

    switch (Model_Code) {
    case 0: Stack({GB_J1939, GB_Modbus_Slave}); break;
    case 1: Stack({GB_J1939, GB_Modbus_TCP_Slave}); break;
    case 2: Stack({GB_J1939, GB_Modbus_TCP_Master}); break;
    case 3: Stack({GB_J1939, GB_Ethernet}); break;
    case 4: Stack({GB_J1939, GB_CANopen}); break;
    case 5: Stack({GB_J1939, GB_Modbus_Master}); break;
    case 6: Stack({GB_J1939, GB_CAN}); break;
    case 10: Stack({GB_J1939, GB_CAN, GB_Ethernet}); break;
    case 8: Stack({GB_J1939, GB_PROFIBUS_Slave}); break;
    case 1006: Stack({GB_J1939, GB_CAN, GB_Custom}); break;
    case 7:
    case 9:
        GB_select_Device->move(8, 70);
        GB_select_Device->show();
        if (Model_Code == 7)
            RePosition_Objects_872();
        else
            RePosition_Objects_871();
        break;
    default: break;
    }
}

void TFParGen::Stack(const QList<QGroupBox*>& groups)
{
    int top = 70;
    int bottom = top;
    for (QGroupBox* g : groups) {
        g->move(8, top);
        g->show();
        bottom = Bottom(g);
        top = bottom + 6;
    }
    Btn_OK->move(74, bottom + 13);
    Btn_Cancel->move(192, bottom + 13);
    SetClientSize(312, bottom + 54);
    Order_Tabs(groups);
}

void TFParGen::Order_Tabs(const QList<QGroupBox*>& groups)
{
    // Tab goes down the groups as they stand, each group's fields in their own order, then OK
    // and Cancel: the groups were made in another order than some models stack them.
    QList<QWidget*> road;
    for (QGroupBox* g : groups)
        for (QWidget* w = nextInFocusChain(); w != this; w = w->nextInFocusChain())
            if (g->isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus)) road << w;
    road << Btn_OK << Btn_Cancel;
    for (int i = 1; i < road.size(); ++i) setTabOrder(road[i - 1], road[i]);
}

void TFParGen::RePosition_Objects_872()
{
    const bool oldDevice = CB_Select_Device->currentIndex() == 0;
    SetShown({L_J1939_TO, E_TO_J1939, L_J1939_MR_TO, E_J1939_ModReg_TO}, true);
    Place(CB_En_Peer_J1939, 126);
    SetShown({CB_J1939_Send_DM1, CB_J1939_StopSendFrame, L_J1939_SSF_NumFails, E_J1939_SSF_NumFails}, false);
    SetShown({CB_En_Remote_Req_J1939, L_J1939_RTR_Pri_Dest, E_J1939_RTR_Pri_Dest, L_J1939_RTR_PGN, E_J1939_RTR_PGN1,
              E_J1939_RTR_PGN2, L_J1939_RTR_SA, E_J1939_RTR_SA, CB_J1939_SendFrame, E_J1939_SendFrame},
             oldDevice);
    SetShown({L_J1939_DevID, E_J1939_DevID}, !oldDevice);
    if (oldDevice) {
        Place(CB_J1939_FilterFECA, 296);
        Place(E_J1939_FilterFECA, 294);
        Set_Group_Height(GB_J1939, Bottom(E_J1939_SendFrame) + 15);
    } else {
        Place(CB_J1939_FilterFECA, 194);
        Place(E_J1939_FilterFECA, 192);
        Place(L_J1939_DevID, 160);
        Place(E_J1939_DevID, 157);
        Set_Group_Height(GB_J1939, Bottom(E_J1939_FilterFECA) + 15);
    }
    SetShown({CB_ModTCPs_EnWriteOnReq, CB_ModTCPs_EnFunStatus, CB_ModTCPs_WriteModRegInRead}, oldDevice);
    Set_Group_Height(GB_Modbus_TCP_Slave, oldDevice ? 325 : 224);
    Stack({GB_select_Device, GB_J1939, GB_Modbus_TCP_Slave});
}

void TFParGen::RePosition_Objects_871()
{
    const bool oldDevice = CB_Select_Device->currentIndex() == 0;
    SetShown({L_J1939_TO, E_TO_J1939}, true);
    SetShown({L_J1939_Baud, CB_Baud_J1939}, GB_J1939_Visible);
    SetShown({L_J1939_MR_TO, E_J1939_ModReg_TO, CB_En_Remote_Req_J1939, L_J1939_RTR_Pri_Dest, E_J1939_RTR_Pri_Dest,
              L_J1939_RTR_PGN, E_J1939_RTR_PGN1, E_J1939_RTR_PGN2, L_J1939_RTR_SA, E_J1939_RTR_SA, CB_J1939_SendFrame,
              E_J1939_SendFrame, CB_J1939_Send_DM1, CB_J1939_StopSendFrame, L_J1939_SSF_NumFails, E_J1939_SSF_NumFails},
             false);
    Place(CB_En_Peer_J1939, 92);
    SetShown({L_J1939_DevID, E_J1939_DevID}, !oldDevice);
    SetShown({CB_J1939_FilterFECA, E_J1939_FilterFECA}, oldDevice);
    if (oldDevice) {
        Place(CB_J1939_FilterFECA, 126);
        Place(E_J1939_FilterFECA, 124);
        Set_Group_Height(GB_J1939, Bottom(E_J1939_FilterFECA) + 15);
    } else {
        Place(L_J1939_DevID, 126);
        Place(E_J1939_DevID, 123);
        Set_Group_Height(GB_J1939, Bottom(E_J1939_DevID) + 15);
    }

    QList<QWidget*> gateway{CB_ETH_EN_GAT, E_ETH_GAT1, E_ETH_GAT2, E_ETH_GAT3, E_ETH_GAT4};
    for (int i = 6; i < 9; ++i) gateway << FEthernet.Dots[i];
    for (QWidget* w : gateway) w->setVisible(!oldDevice);
    SetShown({L_Ethernet_Protocol, CB_Ethernet_Protocol}, oldDevice);
    if (oldDevice) {
        Place(L_Eth_Port, 135);
        Place(E_ETH_PORT, 132);
        Place(L_Ethernet_Protocol, 169);
        Place(CB_Ethernet_Protocol, 166);
        Set_Group_Height(GB_Ethernet, Bottom(CB_Ethernet_Protocol) + 15);
    } else {
        Place(L_Eth_Port, 191);
        Place(E_ETH_PORT, 188);
        Set_Group_Height(GB_Ethernet, Bottom(E_ETH_PORT) + 15);
    }
    Stack({GB_select_Device, GB_J1939, GB_Ethernet});
}

void TFParGen::Btn_GB_Collapse(TLbButton* sender)
{
    TGroup* g = Group_Of(sender);
    if (!g) return;
    g->Box->resize(kGroupWidth, kCollapsedHeight);
    for (QWidget* w : g->FirstRow) w->hide();
    // the rows below the header are cut off, not hidden: Tab must not walk into them
    for (QWidget* w : g->Box->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (w != g->Collapse && w != g->Expand && w->isEnabled()) {
            w->setEnabled(false);
            g->Disabled << w;
        }
    g->Collapse->hide();
    g->Expand->show();
    *g->Expanded = false;
    Move_GroupBoxs();
}

void TFParGen::Btn_GB_Expande(TLbButton* sender)
{
    TGroup* g = Group_Of(sender);
    if (!g) return;
    g->Box->resize(kGroupWidth, g->ExpandedHeight);
    for (QWidget* w : g->FirstRow) w->show();
    for (QWidget* w : g->Disabled) w->setEnabled(true);
    g->Disabled.clear();
    g->Expand->hide();
    g->Collapse->show();
    *g->Expanded = true;
    Move_GroupBoxs();
}

// ---------------------------------------------------------------------------------------
// Language

void TFParGen::Set_Lang()
{
    SetCaption(LT(37));
    L_SW_Desc->setText(LT(38));
    Btn_OK->SetCaption(LT(55));
    Btn_Cancel->SetCaption(LT(56));

    GB_J1939->setTitle(LT(39));
    L_J1939_Baud->setText(LT(40));
    L_J1939_TO->setText(LT(41));
    L_J1939_MR_TO->setText(LT(42));
    CB_En_Peer_J1939->setText(LT(43));
    CB_En_Remote_Req_J1939->setText(LT(44));
    L_J1939_RTR_Pri_Dest->setText(LT(45));
    L_J1939_RTR_PGN->setText(LT(46));
    L_J1939_RTR_SA->setText(LT(47));
    L_J1939_DevID->setText(LT(226));
    CB_J1939_Send_DM1->setText(LT(720));
    CB_J1939_StopSendFrame->setText(LT(824));
    L_J1939_SSF_NumFails->setText(LT(825));

    GB_Modbus_Slave->setTitle(LT(48));
    L_ModSlave_Baud->setText(LT(49));
    L_ModSlave_Par->setText(LT(50));
    L_ModSlave_ID->setText(LT(51));
    CB_Par_Modbus_Slave->clear();
    CB_Par_Modbus_Slave->addItems({LT(52), LT(53), LT(54)});
    CB_Par_Modbus_Slave->setCurrentIndex(0);

    GB_Modbus_TCP_Slave->setTitle(LT(208));
    L_ModTCPs_IP->setText(LT(209));
    L_ModTCPs_SM->setText(LT(210));
    CB_ModTCPs_EN_GAT->setText(LT(211));
    L_ModTCPs_Port->setText(LT(212));

    GB_Modbus_TCP_Master->setTitle(LT(227));
    L_ModTCPm_IP->setText(LT(228));
    L_ModTCPm_SM->setText(LT(229));
    CB_MTCPM_EN_GAT->setText(LT(230));
    L_ModTCPm_Port->setText(LT(231));
    L_MTCPM_TO->setText(LT(232));
    L_MTCPM_CD->setText(LT(233));

    GB_Ethernet->setTitle(LT(344));
    L_Eth_IP->setText(LT(209));
    L_Eth_SM->setText(LT(210));
    CB_ETH_EN_GAT->setText(LT(211));
    L_Eth_Port->setText(LT(212));
    L_Ethernet_Protocol->setText(LT(760));

    GB_CANopen->setTitle(LT(345));
    L_ID_CANopen->setText(LT(346));
    L_Baud_CANopen->setText(LT(40));
    CB_Set_Ope_CANopen->setText(LT(347));
    CB_Net_Ope_CANopen->setText(LT(348));
    CB_En_SDO_Client_CANopen->setText(LT(349));
    L_SDO_Client_TO_CANopen->setText(LT(350));
    CB_En_NodeGuard_CANopen->setText(LT(351));
    CB_NG_SendFrame_CANopen->setText(LT(352));
    L_NG_SF_Time_CANopen->setText(LT(353));

    GB_Modbus_Master->setTitle(LT(354));
    L_ModMaster_Baud->setText(LT(49));
    L_ModMaster_Par->setText(LT(50));
    L_ModMaster_StopBit->setText(LT(705));
    L_ModMaster_TO->setText(LT(355));
    L_ModMaster_CD->setText(LT(356));

    GB_CAN->setTitle(LT(593));
    L_CAN_Baud->setText(LT(594));

    for (const TGroup& g : FGroups) {
        if (g.Box == GB_Custom) continue;
        g.Collapse->SetHint(LT(703));
        g.Expand->SetHint(LT(704));
    }
}

// ---------------------------------------------------------------------------------------
// Values

QWidget* TFParGen::Control(const QString& name) const
{
    QWidget* w = findChild<QWidget*>(name);
    Q_ASSERT_X(w, "TFParGen", "every key names a control of the window");
    return w;
}

TParGenMap TFParGen::Values() const
{
    TParGenMap v;
    for (const TParKey& k : ParGen_Keys(Model_Code)) {
        switch (k.Kind) {
        case TParKind::Text: v.insert(k.Name, static_cast<QLineEdit*>(Control(k.Control))->text()); break;
        case TParKind::Index:
            v.insert(k.Name, QString::number(static_cast<QComboBox*>(Control(k.Control))->currentIndex()));
            break;
        case TParKind::Flag:
            v.insert(k.Name, static_cast<QCheckBox*>(Control(k.Control))->isChecked() ? QStringLiteral("1")
                                                                                      : QStringLiteral("0"));
            break;
        case TParKind::Constant: v.insert(k.Name, k.Default); break;
        }
    }
    return v;
}

void TFParGen::Apply_Values(const TParGenMap& values)
{
    for (const TParKey& k : ParGen_Keys(Model_Code)) {
        if (k.Control.isEmpty()) continue;
        const QString v = values.value(k.Name, k.Default);
        switch (k.Kind) {
        case TParKind::Text: static_cast<QLineEdit*>(Control(k.Control))->setText(v); break;
        // the list takes the position unchecked: one it does not have clears the selection
        case TParKind::Index: static_cast<QComboBox*>(Control(k.Control))->setCurrentIndex(v.toInt()); break;
        case TParKind::Flag: static_cast<QCheckBox*>(Control(k.Control))->setChecked(v == QLatin1String("1")); break;
        case TParKind::Constant: static_cast<QComboBox*>(Control(k.Control))->setCurrentIndex(k.Default.toInt()); break;
        }
    }
}

void TFParGen::Load_ParGen()
{
    TParGenMap values;
    QString error;
    // A damaged document must not be replaced by defaults at the next OK: the showing is
    // abandoned and the application's error report names the file.
    if (Read_ParGen(File_ParGen, Model_Code, values, &error) == TParGenRead::Damaged) throw Exception(error);
    Apply_Values(values);
}

// ---------------------------------------------------------------------------------------
// Showing, OK and Cancel

int TFParGen::ShowModal()
{
    Load_ParGen();
    FLoaded = true;
    const int r = TForm::ShowModal();
    FLoaded = false;
    return r;
}

void TFParGen::FormShow()
{
    if (!FLoaded) Load_ParGen();
    FLoaded = false;
    if (Model_Code == 7) RePosition_Objects_872();
    if (Model_Code == 9) RePosition_Objects_871();
    Is_Change = false;
    Focus_First_Field();
}

void TFParGen::Focus_First_Field()
{
    for (QWidget* w = nextInFocusChain(); w && w != this; w = w->nextInFocusChain())
        if (!dynamic_cast<TLbButton*>(w) && (w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(this) && w->isEnabled()) {
            w->setFocus(Qt::OtherFocusReason);
            return;
        }
}

void TFParGen::Show_Field_Of(const QString& key)
{
    const TParKey* k = ParGen_Key(Model_Code, key);
    QWidget* field = k && !k->Control.isEmpty() ? Control(k->Control) : nullptr;
    for (QWidget* w = field; w; w = w->parentWidget())
        for (TGroup& g : FGroups)
            if (g.Box == w) {
                if (!*g.Expanded) Btn_GB_Expande(g.Expand);
                return;
            }
}

void TFParGen::FormActivate()
{
    if (y() < 0) move(x(), 0);
}

void TFParGen::changeEvent(QEvent* event)
{
    TForm::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
}

void TFParGen::mouseDoubleClickEvent(QMouseEvent*) { FormDblClick(); }

void TFParGen::keyPressEvent(QKeyEvent* event)
{
    // No button of this window answers Escape; the dialog must not end on it either.
    if (event->key() == Qt::Key_Escape) return;
    TForm::keyPressEvent(event);
}

bool TFParGen::Controllo_Dati()
{
    const TParGenCheck r = Check_ParGen(Model_Code, Values());
    if (r.Ok) return true;
    // the message names a field: a collapsed group would hide it
    Show_Field_Of(r.Key);
    ShowError(r.Message);
    return false;
}

void TFParGen::Btn_OKClick()
{
    if (!Controllo_Dati()) return;
    // A failed write throws; the window then stays open without a result.
    Write_ParGen(File_ParGen, Model_Code, Values());
    SetModalResult(mrOk);
}

void TFParGen::Btn_CancelClick()
{
    if (Is_Change && MessageDlg(LT(57), TMsgDlgType::mtConfirmation, mbYes | mbNo) != mrYes) return;
    SetModalResult(mrCancel);
}

void TFParGen::On_Change(QWidget* sender)
{
    Is_Change = true;
    if (sender == CB_Select_Device) {
        if (Model_Code == 7) RePosition_Objects_872();
        if (Model_Code == 9) RePosition_Objects_871();
    }
}

void TFParGen::On_Click(QWidget*) { Is_Change = true; }

void TFParGen::KeyPress(QLineEdit* sender, QChar& key)
{
    if (key != QLatin1Char('.')) return;
    key = QChar();
    const TAddress* shown = nullptr;
    switch (Model_Code) {
    case 1:
    case 7: shown = &FTcpSlave; break;
    case 2: shown = &FTcpMaster; break;
    case 3:
    case 9:
    case 10: shown = &FEthernet; break;
    default: return;
    }
    Octet_Dot(shown->Octets, sender);
}

bool TFParGen::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* ke = static_cast<QKeyEvent*>(event);
        if (ke->text() == QLatin1String(".")) {
            QChar key = QLatin1Char('.');
            KeyPress(static_cast<QLineEdit*>(watched), key);
            return key.isNull();
        }
    }
    return TForm::eventFilter(watched, event);
}
