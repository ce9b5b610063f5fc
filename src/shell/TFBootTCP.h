#pragma once
// Update over Ethernet with two pages: the device address proven by echoes, then what to
// write and read back.  Models 892 and 872 go through the job file and
// Ethernet_Update.exe, models 893, 894 and 871 through their TCP update programs.
#include "shell/update_frame.h"

class TPingClock;

class TFBootTCP : public TUpdateWizard {
public:
    explicit TFBootTCP(QWidget* parent = nullptr);

    QLabel* L_IP_Address = nullptr;
    QLineEdit* E_IP1 = nullptr;
    QLineEdit* E_IP2 = nullptr;
    QLineEdit* E_IP3 = nullptr;
    QLineEdit* E_IP4 = nullptr;
    QLabel* L_Dot1 = nullptr;
    QLabel* L_Dot2 = nullptr;
    QLabel* L_Dot3 = nullptr;
    QLabel* L_Ping = nullptr;
    TLbButton* Btn_Ping = nullptr;
    QLabel* LPing = nullptr;

    // True only after the last check proved the address now in the edits.
    bool Esegui_Ping = false;
    // Status of the last echo: 0 none yet, 1 answered with data, 2 without data.
    int ping_ = 0;

    // Builds page 1 (the address and its check), then the wizard's creation step.
    void FormCreate() override;
    void FormShow() override;
    void Set_Lang() override;

    void LbButton1Click();   // Ping
    void PingReply(int bytesReceived);
    void LbButton2Click();   // Next
    void LbButton4Click();   // Update
    bool Valid_IP(const QString& ip, QString& p1, QString& p2, QString& p3, QString& p4) const;
    // Writes the job file (models 892 and 872); false, reported, when it cannot be written.
    bool Compile_XML_Parameter();

    // The clock of the echo loop; tests install a fake.
    void SetPingClock(TPingClock* clock) { FClock = clock; }

private:
    void Create_Page1();
    void SetPingText(int index, TColor color);
    TPingClock* FClock;
    QString FProven;   // the address the last successful check proved
};

extern TFBootTCP* FBootTCP;
