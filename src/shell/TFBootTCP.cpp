#include "shell/TFBootTCP.h"

#include "platform/core/icmp.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/lb_button.h"
#include "platform/ui/window_look.h"
#include "state/lang.h"
#include "state/model_table.h"
#include "state/net_util.h"
#include "state/shared_state.h"
#include "shell/update_commands.h"
#include "shell/update_ping.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

TFBootTCP* FBootTCP = nullptr;

TFBootTCP::TFBootTCP(QWidget* parent) : TUpdateWizard(parent), FClock(&Real_Ping_Clock()) {}

void TFBootTCP::FormCreate()
{
    Create_Page1();
    TUpdateWizard::FormCreate();
}

void TFBootTCP::Create_Page1()
{
    L_IP_Address = NewLabel(this, 16, 75);
    NewOctets(this, 97, 195);
    E_IP1 = FOctets[0], E_IP2 = FOctets[1], E_IP3 = FOctets[2], E_IP4 = FOctets[3];
    L_Dot1 = FDots[0], L_Dot2 = FDots[1], L_Dot3 = FDots[2];
    L_Ping = NewLabel(this, 16, 136);
    Btn_Ping = Make_Button(this, "Btn_Ping", 35, 155, 110, 28);
    LPing = NewLabel(this, 151, 163);
    FPage1 = {L_IP_Address, E_IP1, E_IP2, E_IP3, E_IP4, L_Dot1, L_Dot2, L_Dot3, L_Ping, Btn_Ping, LPing};

    // an address changed after its check is not proven
    for (QLineEdit* e : FOctets) QObject::connect(e, &QLineEdit::textChanged, this, [this] { Esegui_Ping = false; });
    Btn_Ping->OnClick = [this] { LbButton1Click(); };
    Btn_Next->OnClick = [this] { LbButton2Click(); };
    Btn_Update->OnClick = [this] { LbButton4Click(); };
    ShowPage1();
}

void TFBootTCP::Set_Lang()
{
    SetCaption(LT(302));
    Set_Label(L_SW_Desc, QStringLiteral("Update Device from Ethernet (UDP)"));
    ApplyTexts({{L_Ping, 304}, {L_Options, 308}, {CB_Firmware, 309}, {CB_Read_Firm, 310},
                                              {CB_Conf, 311}, {CB_Read_Conf, 312}});
    Btn_Ping->SetCaption(LT(305));
    Btn_Cancel->SetCaption(LT(306));
    Btn_Next->SetCaption(LT(307));
    Btn_Update->SetCaption(LT(313));
}

void TFBootTCP::FormShow()
{
    ShowPage1();
    LPing->clear();
    OctetsFromLastIP();
    Set_Label(L_IP_Address, LT(303) + QString::fromUtf16(Model_Info(Model_Code).HW_Code));
    Esegui_Ping = false;
    FProven.clear();
}

bool TFBootTCP::Valid_IP(const QString& ip, QString& p1, QString& p2, QString& p3, QString& p4) const
{
    return Split_IP_Address(ip, p1, p2, p3, p4);
}

void TFBootTCP::SetPingText(int index, TColor color)
{
    QPalette p = LPing->palette();
    p.setColor(QPalette::WindowText, ColorToQColor(color));
    LPing->setPalette(p);
    Set_Label(LPing, LT(index));
}

void TFBootTCP::PingReply(int bytesReceived) { ping_ = bytesReceived > 0 ? psAnswered : psNoData; }

void TFBootTCP::LbButton1Click()
{
    Esegui_Ping = false;
    ping_ = psNone;
    FProven.clear();
    QString address;
    if (!TypedAddress(address)) {
        SetPingText(316, clRed);
        return;
    }
    TPingResult r;
    RunBusy({Btn_Ping, Btn_Next, Btn_Cancel, E_IP1, E_IP2, E_IP3, E_IP4}, [&] {
        auto echo = Create_Icmp_Echo();
        r = Ping_Check(*echo, address, TCP_Ping_Limit_Ms, *FClock, [this](int n) { PingReply(n); });
    });
    if (r.Error) {
        SetPingText(316, clRed);
    } else if (r.Found()) {
        Esegui_Ping = true;
        FProven = address;
        SetPingText(314, clGreen);
    } else {
        SetPingText(315, clRed);
    }
}

void TFBootTCP::LbButton2Click()
{
    if (!Esegui_Ping) {
        MessageDlg(LT(317), TMsgDlgType::mtError, mbOK);
        return;
    }
    ShowPage2();
    Last_IP = FProven;
}

bool TFBootTCP::Compile_XML_Parameter() { return Write_Ethernet_Job(FProven, Choice()); }

void TFBootTCP::LbButton4Click()
{
    if (FProven.isEmpty()) return;   // only reachable from page 2, after a proven address
    if (Uses_Ethernet_Job(Model_Code)) {
        if (Compile_XML_Parameter()) Start_Ethernet_Update();
    } else Start_Updater(TCP_Update_Command(Model_Code, FProven, Choice()));
}
