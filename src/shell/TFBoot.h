#pragma once
// The one-page update window in two modes: Ethernet (model 860: address, update option,
// read-back; pings, writes the job file and starts Ethernet_Update.exe) and USB (the
// USB-connected models: COM port and the same options; starts USB_<code>_Update.exe).
#include "platform/ui/graphics.h"
#include "shell/update_frame.h"

class TPingClock;
class TProColumnGrid;

class TFBoot : public TUpdateFrame {
public:
    explicit TFBoot(QWidget* parent = nullptr);
    ~TFBoot() override;

    // 1 Ethernet, 2 USB; set by the main window before it shows the window.
    int Form_Type = 1;
    // Status of the last echo of Send_Ping: 0 none yet, 1 answered with data, 2 without.
    int ping_res = 0;

    QWidget* P_IP_Address;
    QLabel* L_IP_Address;
    QLineEdit* E_IP1;
    QLineEdit* E_IP2;
    QLineEdit* E_IP3;
    QLineEdit* E_IP4;
    QLabel* L_Dot1;
    QLabel* L_Dot2;
    QLabel* L_Dot3;

    QWidget* P_Eth_Search;
    QLabel* L_List_Device;
    TLbButton* Btn_Search;
    // The device list is never shown; only its two column headers follow the language.
    TProColumnGrid* ACG_List_Devices;
    QCheckBox* CB_Find_All_KVX;

    QWidget* P_Options;
    QLabel* L_Update_Option;
    QComboBox* CB_Update_Options;
    QCheckBox* CB_Update_Option_Read_Back;

    QWidget* P_Serial;
    QLabel* L_COM_Port;
    QComboBox* CB_COM_Port;
    TLbButton* Btn_COM_List;

    void FormShow() override;
    void Set_Lang();
    // Pings the typed address; true when the last echo was answered with data.
    bool Send_Ping();
    void PingReply(int bytesReceived);
    bool Compile_XML_Parameter();
    void Btn_UpdateClick();
    void Btn_COM_ListClick() { update_ComPort(); }
    void update_ComPort();
    // The text followed by the four option words of the chosen update option.
    QString Update_Options(const QString& text) const;

    void SetPingClock(TPingClock* clock) { FClock = clock; }

private:
    TPingClock* FClock;
    QString FAddress;   // the address the last Send_Ping checked
};

extern TFBoot* FBoot;
