#include "shell/TFBoot.h"

#include "platform/core/icmp.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/lb_button.h"
#include "platform/ui/window_look.h"
#include "state/lang.h"
#include "state/model_table.h"
#include "state/net_util.h"
#include "state/shared_state.h"
#include "shell/update_commands.h"
#include "shell/update_device_list.h"
#include "shell/update_ping.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

TFBoot* FBoot = nullptr;

namespace {
constexpr int kWidth = 449;
}

TFBoot::TFBoot(QWidget* parent) : TUpdateFrame(parent), FClock(&Real_Ping_Clock())
{
    FSwallowInLast = true;

    P_IP_Address = new QWidget(this);
    P_IP_Address->resize(kWidth, 49);
    L_IP_Address = NewLabel(P_IP_Address, 16, 4);
    NewOctets(P_IP_Address, 23, 193);
    E_IP1 = FOctets[0], E_IP2 = FOctets[1], E_IP3 = FOctets[2], E_IP4 = FOctets[3];
    L_Dot1 = FDots[0], L_Dot2 = FDots[1], L_Dot3 = FDots[2];

    P_Eth_Search = new QWidget(this);
    P_Eth_Search->resize(kWidth, 185);
    L_List_Device = NewLabel(P_Eth_Search, 16, 19);
    Btn_Search = Make_Button(P_Eth_Search, "Btn_Search", 307, 6, 110, 28);
    ACG_List_Devices = Create_Device_List(P_Eth_Search);
    CB_Find_All_KVX = new QCheckBox(P_Eth_Search);
    CB_Find_All_KVX->move(16, 159);
    CB_Find_All_KVX->setChecked(true);

    P_Options = new QWidget(this);
    P_Options->resize(kWidth, 72);
    L_Update_Option = NewLabel(P_Options, 16, 4);
    CB_Update_Options = NewDropDownList(P_Options, 35, 23, 382);
    CB_Update_Option_Read_Back = new QCheckBox(P_Options);
    CB_Update_Option_Read_Back->move(16, 50);

    P_Serial = new QWidget(this);
    P_Serial->resize(kWidth, 51);
    L_COM_Port = NewLabel(P_Serial, 16, 4);
    CB_COM_Port = NewDropDownList(P_Serial, 35, 23, 342);
    Btn_COM_List = NewComListButton(P_Serial, 383, 18);

    Btn_Update->SetBounds(132, 6, 228, 28);
    Btn_Update->OnClick = [this] { Btn_UpdateClick(); };
    Btn_COM_List->OnClick = [this] { Btn_COM_ListClick(); };
    for (QWidget* p : {P_IP_Address, P_Eth_Search, P_Options, P_Serial}) p->hide();
}

TFBoot::~TFBoot() { Free_Device_List(ACG_List_Devices); }

void TFBoot::Set_Lang()
{
    const bool usb = Form_Type == 2;
    SetCaption(LT(usb ? 784 : 782));
    Set_Label(L_SW_Desc, LT(usb ? 785 : 783));
    ApplyTexts({
        {L_IP_Address, 786}, {L_COM_Port, 806},     {L_List_Device, 789},
        {CB_Find_All_KVX, 793}, {L_Update_Option, 794}, {CB_Update_Option_Read_Back, 798}});
    Btn_Search->SetCaption(LT(790));
    Set_Device_List_Headers(ACG_List_Devices, LT(791), LT(792));
    CB_Update_Options->clear();
    CB_Update_Options->addItems({LT(795), LT(796), LT(797)});
    CB_Update_Options->setCurrentIndex(0);
    Btn_Cancel->SetCaption(LT(799));
    Btn_Update->SetCaption(LT(800));
    int hint = 801;
    for (QLineEdit* e : {E_IP1, E_IP2, E_IP3, E_IP4}) e->setToolTip(LT(hint++));
    Btn_COM_List->SetHint(LT(808));
    Btn_Search->SetHint(LT(809));
    Set_Device_List_Hint(ACG_List_Devices, LT(810));
    CB_Find_All_KVX->setToolTip(LT(811));
    CB_Update_Options->setToolTip(LT(812));
    CB_Update_Option_Read_Back->setToolTip(LT(813));
    Btn_Cancel->SetHint(LT(814));
    Btn_Update->SetHint(LT(815));
}

void TFBoot::FormShow()
{
    Set_Lang();
    Show_SW_Code();
    for (QWidget* p : {P_IP_Address, P_Eth_Search, P_Options, P_Serial}) p->hide();

    const bool usb = Form_Type == 2;
    QWidget* top = usb ? P_Serial : P_IP_Address;
    top->move(0, Update_Title_Height);
    P_Eth_Search->move(0, Update_Title_Height + top->height());
    P_Options->move(0, Update_Title_Height + top->height());
    top->show();
    P_Options->show();
    LayoutFrame(kWidth, Update_Title_Height + top->height() + P_Options->height() + Update_Buttons_Height);
    // sized only now, after ShowModal centred it: centred again on the size it has
    CentreOnScreen();

    // title, the shown panel, options, buttons; the hidden panels come last
    QList<QWidget*> order;
    if (usb) order << CB_COM_Port << Btn_COM_List;
    else order << E_IP1 << E_IP2 << E_IP3 << E_IP4 << Btn_Search << CB_Find_All_KVX;
    order << CB_Update_Options << CB_Update_Option_Read_Back << Btn_Cancel << Btn_Update;
    if (usb) order << E_IP1 << E_IP2 << E_IP3 << E_IP4 << Btn_Search << CB_Find_All_KVX;
    else order << CB_COM_Port << Btn_COM_List;
    for (int i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);

    if (!usb) OctetsFromLastIP();
    CB_Update_Options->setCurrentIndex(Last_Update_Option);
    CB_Update_Option_Read_Back->setChecked(Last_Read_Back);
    if (usb) update_ComPort();
    QWidget* first = usb ? static_cast<QWidget*>(CB_COM_Port) : E_IP1;
    if (first->isVisibleTo(this) && first->isEnabled()) first->setFocus();
}

void TFBoot::update_ComPort()
{
    CB_COM_Port->clear();
    for (const QString& n : Enum_Com_Ports()) CB_COM_Port->addItem(QStringLiteral("COM") + n);
    CB_COM_Port->setCurrentIndex(0);
}

QString TFBoot::Update_Options(const QString& text) const
{
    QString s = text;
    for (const QString& w : Update_Option_Words(CB_Update_Options->currentIndex(), CB_Update_Option_Read_Back->isChecked()))
        s += w + QLatin1Char(' ');
    return s;
}

void TFBoot::PingReply(int bytesReceived) { ping_res = bytesReceived > 0 ? psAnswered : psNoData; }

bool TFBoot::Send_Ping()
{
    ping_res = psNone;
    FAddress.clear();
    if (!TypedAddress(FAddress)) return false;
    TPingResult r;
    RunBusy({Btn_Update, Btn_Cancel, E_IP1, E_IP2, E_IP3, E_IP4, CB_Update_Options, CB_Update_Option_Read_Back}, [&] {
        auto echo = Create_Icmp_Echo();
        r = Ping_Check(*echo, FAddress, Boot_Ping_Limit_Ms, *FClock, [this](int n) { PingReply(n); });
    });
    return r.Found();
}

bool TFBoot::Compile_XML_Parameter()
{
    return Write_Ethernet_Job(FAddress, Update_Choice_From_Option(CB_Update_Options->currentIndex(),
                                                                  CB_Update_Option_Read_Back->isChecked()));
}

void TFBoot::Btn_UpdateClick()
{
    Last_Update_Option = CB_Update_Options->currentIndex();
    Last_Read_Back = CB_Update_Option_Read_Back->isChecked();
    if (Form_Type == 2) {
        Start_Updater(USB_Update_Command(Model_Code, CB_COM_Port->currentText(), Last_Update_Option, Last_Read_Back));
        return;
    }
    if (Send_Ping()) {
        if (Compile_XML_Parameter()) Start_Ethernet_Update();
    } else if (ping_res == psNoData) {
        MessageDlg(LT(816), TMsgDlgType::mtWarning, mbOK);
    } else {
        MessageDlg(LT(817), TMsgDlgType::mtError, mbOK);
    }
}
