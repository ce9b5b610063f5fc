#pragma once
// The communication parameters window: one window for every gateway model.  It holds the
// controls of all models in eleven collapsible group boxes and shows, arranges and stacks
// only those of the build's model.  Each showing loads ParGen.xml (or the defaults); OK
// checks the values and writes the document, Cancel writes nothing.
#include "platform/ui/forms.h"
#include "state/par_gen.h"

#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class TLbButton;

class TFParGen : public TForm {
public:
    explicit TFParGen(QWidget* parent = nullptr);

    // Window life: creation once (which builds the controls), then one FormShow per showing.
    void FormCreate() override;
    void FormShow() override;
    void FormActivate();
    void FormDblClick() {}
    // A ParGen.xml that is not well-formed throws (the application reports it) and the
    // window does not open.
    int ShowModal() override;

    void Btn_OKClick();
    void Btn_CancelClick();
    void Btn_GB_Collapse(TLbButton* sender);
    void Btn_GB_Expande(TLbButton* sender);
    void On_Change(QWidget* sender);
    void On_Click(QWidget* sender);
    // '.' in an octet edit moves to the next octet of the model's address group; the dot
    // itself is always dropped (key becomes 0).
    void KeyPress(QLineEdit* sender, QChar& key);
    void Move_GroupBoxs();
    void RePosition_Objects_872();
    void RePosition_Objects_871();
    void Collapse_Expand_Creation();
    void Set_Lang();
    // The checks of the build's model over the controls; shows the first failure.
    bool Controllo_Dati();

    // The model's values as the controls hold them, in the document's encoding.
    TParGenMap Values() const;
    // Puts values into the controls of the model's keys.
    void Apply_Values(const TParGenMap& values);

    bool Is_Change = false;
    bool GB_J1939_Visible = true;
    bool GB_Modbus_Slave_Visible = true;
    bool GB_Modbus_TCP_Slave_Visible = true;
    bool GB_Select_Device_Visible = true;
    bool GB_Modbus_Master_Visible = true;
    bool GB_Modbus_TCP_Master_Visible = true;
    bool GB_CANopen_Visible = true;
    bool GB_CAN_Visible = true;
    bool GB_Ethernet_Visible = true;
    bool GB_PROFIBUS_Slave_Visible = true;
    bool GB_Custom_Visible = true;

    QLabel *L_SW_Code, *L_SW_Desc;
    TLbButton *Btn_OK, *Btn_Cancel;

    QGroupBox *GB_J1939, *GB_Modbus_Slave, *GB_Modbus_TCP_Slave, *GB_Modbus_TCP_Master, *GB_Ethernet, *GB_CANopen,
        *GB_Modbus_Master, *GB_CAN, *GB_select_Device, *GB_PROFIBUS_Slave, *GB_Custom;

    // J1939
    QLabel *L_J1939_Baud, *L_J1939_TO, *L_J1939_MR_TO, *L_J1939_RTR_Pri_Dest, *L_J1939_RTR_PGN, *L_J1939_RTR_SA,
        *L_J1939_DevID, *L_J1939_SSF_NumFails;
    QComboBox* CB_Baud_J1939;
    QLineEdit *E_TO_J1939, *E_J1939_ModReg_TO, *E_J1939_RTR_Pri_Dest, *E_J1939_RTR_PGN1, *E_J1939_RTR_PGN2,
        *E_J1939_RTR_SA, *E_J1939_DevID, *E_J1939_FilterFECA, *E_J1939_SendFrame, *E_J1939_SSF_NumFails;
    QCheckBox *CB_En_Peer_J1939, *CB_En_Remote_Req_J1939, *CB_J1939_FilterFECA, *CB_J1939_SendFrame,
        *CB_J1939_Send_DM1, *CB_J1939_StopSendFrame;

    // Modbus slave
    QLabel *L_ModSlave_Baud, *L_ModSlave_Par, *L_ModSlave_ID;
    QComboBox *CB_Baud_Modbus_Slave, *CB_Par_Modbus_Slave;
    QLineEdit* E_ID_Modbus_Slave;

    // Modbus TCP slave
    QLabel *L_ModTCPs_IP, *L_ModTCPs_SM, *L_ModTCPs_Port;
    QLineEdit *E_IP1, *E_IP2, *E_IP3, *E_IP4, *E_SM1, *E_SM2, *E_SM3, *E_SM4, *E_GAT1, *E_GAT2, *E_GAT3, *E_GAT4,
        *E_PORT;
    QCheckBox *CB_ModTCPs_EN_GAT, *CB_ModTCPs_EnWriteOnReq, *CB_ModTCPs_EnFunStatus, *CB_ModTCPs_WriteModRegInRead;

    // Modbus TCP master
    QLabel *L_ModTCPm_IP, *L_ModTCPm_SM, *L_ModTCPm_Port, *L_MTCPM_TO, *L_MTCPM_CD;
    QLineEdit *E_MTCPM_IP1, *E_MTCPM_IP2, *E_MTCPM_IP3, *E_MTCPM_IP4, *E_MTCPM_SM1, *E_MTCPM_SM2, *E_MTCPM_SM3,
        *E_MTCPM_SM4, *E_MTCPM_GAT1, *E_MTCPM_GAT2, *E_MTCPM_GAT3, *E_MTCPM_GAT4, *E_MTCPM_PORT,
        *E_TO_Modbus_TCP_Master, *E_CD_Modbus_TCP_Master;
    QCheckBox* CB_MTCPM_EN_GAT;

    // Ethernet
    QLabel *L_Eth_IP, *L_Eth_SM, *L_Eth_Port, *L_Ethernet_Protocol;
    QLineEdit *E_ETH_IP1, *E_ETH_IP2, *E_ETH_IP3, *E_ETH_IP4, *E_ETH_SM1, *E_ETH_SM2, *E_ETH_SM3, *E_ETH_SM4,
        *E_ETH_GAT1, *E_ETH_GAT2, *E_ETH_GAT3, *E_ETH_GAT4, *E_ETH_PORT;
    QCheckBox* CB_ETH_EN_GAT;
    QComboBox* CB_Ethernet_Protocol;

    // CANopen
    QLabel *L_ID_CANopen, *L_Baud_CANopen, *L_SDO_Client_TO_CANopen, *L_NG_SF_Time_CANopen;
    QLineEdit *E_ID_CANopen, *E_NO_Delay_CANopen, *E_SDO_Client_TO_CANopen, *E_NG_SF_Time_CANopen;
    QComboBox* CB_Baud_CANopen;
    QCheckBox *CB_Set_Ope_CANopen, *CB_Net_Ope_CANopen, *CB_En_SDO_Client_CANopen, *CB_En_NodeGuard_CANopen,
        *CB_NG_SendFrame_CANopen;

    // Modbus master
    QLabel *L_ModMaster_Baud, *L_ModMaster_Par, *L_ModMaster_StopBit, *L_ModMaster_TO, *L_ModMaster_CD;
    QComboBox *CB_Baud_Modbus_Master, *CB_Par_Modbus_Master, *CB_StopBit_Modbus_Master;
    QLineEdit *E_TO_Modbus_Master, *E_CD_Modbus_Master;

    // CAN
    QLabel* L_CAN_Baud;
    QComboBox* CAN_Baud;

    // Select device
    QComboBox* CB_Select_Device;

    // PROFIBUS slave
    QLabel *L_PROFIS_IDDev, *L_PROFIS_Baud;
    QLineEdit* E_ID_DEV_PROFI_Slave;
    QComboBox* CB_Baud_PROFI_Slave;
    QCheckBox *CB_PROFIS_Module_for_J1939, *CB_PROFIS_Send_J1939_by_PROFIBUS;

    // Custom frames
    QLabel *L_Custom_CAN_RX, *L_Custom_CAN_TX, *L_Custom_J1939_RX, *L_Custom_J1939_TX1, *L_Custom_J1939_TX2,
        *L_CAN_Timeout, *L_J1939_Timeout;
    QLineEdit *E_Custom_CAN_RX, *E_Custom_CAN_TX, *E_Custom_J1939_RX, *E_Custom_J1939_TX1, *E_Custom_J1939_TX2,
        *E_CAN_Timeout, *E_J1939_Timeout;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The Tab order of the stacked groups' fields, then OK and Cancel.
    void Order_Tabs(const QList<QGroupBox*>& groups);
    // The keyboard on the first field the model shows.
    void Focus_First_Field();
    // Expands the group that holds the control of a key, when it is collapsed.
    void Show_Field_Of(const QString& key);
    // One group box with its collapse state and the controls its collapse hides.
    struct TGroup {
        QGroupBox* Box = nullptr;
        bool* Expanded = nullptr;
        TLbButton* Collapse = nullptr;
        TLbButton* Expand = nullptr;
        QList<QWidget*> FirstRow;
        int ExpandedHeight = 0;
        // The controls the collapse put out of the keyboard's reach, to be given back.
        QList<QWidget*> Disabled;
    };
    // The twelve octet edits of an address group in focus order, and its dot labels.
    struct TAddress {
        std::array<QLineEdit*, 12> Octets{};
        std::array<QLabel*, 9> Dots{};
    };

    // The controls of every model, their change tracking and the octet edits' filter.
    void Create_Controls();
    void Build_J1939();
    void Build_Address(QGroupBox* box, TAddress& a, const char* editPrefix, const char* labelPrefix, QLabel*& ip,
                       QLabel*& sm, QLabel*& port, QLineEdit*& portEdit);
    void Build_Other_Groups();
    TGroup& Add_Group(QGroupBox* box, bool* expanded, int expandedHeight, QList<QWidget*> firstRow,
                      int designHeight = 0);
    TGroup* Group_Of(TLbButton* sender);
    void Set_Group_Height(QGroupBox* box, int height);
    void Stack(const QList<QGroupBox*>& groups);
    void Arrange_J1939();
    void Load_ParGen();
    QWidget* Control(const QString& name) const;

    std::vector<TGroup> FGroups;
    TAddress FTcpSlave, FTcpMaster, FEthernet;
    bool FLoaded = false;  // ShowModal has already loaded the document for this showing
};

extern TFParGen* FParGen;
