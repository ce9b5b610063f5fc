#pragma once
// The main window: the step list of the build's model.  Its creation step runs the
// program's start-up; closing it writes the settings.
//
// Every button goes through Btn_Click.  New, Open, Close, Information and Options are
// fixed; every other button follows the route table, one action per button, refused while
// no configuration is open.  Windows built elsewhere join by registering their form under
// its name (form_registry.h); a route is replaced with Set_Route.
#include "platform/ui/forms.h"

#include <QString>
#include <functional>
#include <map>

class QFrame;
class QImage;
class QLabel;
class QTimer;
class TLbButton;

class TFFabricateFirmWare : public TForm {
public:
    explicit TFFabricateFirmWare(QWidget* parent = nullptr);

    // The creation step: start-up of the whole program with the executable's folder.
    void Create(const QString& exeDir);

    void Set_Files();
    // Writes Fabricat.xml; a failure is shown in an error box.
    void Save_Setting();
    void Set_Lang();
    // Set_Lang of this window and of every registered window.
    void Change_Language();

    void Btn_Click(TLbButton* Sender);
    using TRoute = std::function<void()>;
    // Replaces what a button does once a configuration is open; an empty route makes it inert.
    void Set_Route(TLbButton* button, TRoute route);
    bool Has_Route(TLbButton* button) const;

    void Create_New_Project();
    void Open_Project();
    void Show_ParGen_Form();
    void Check_DM1_Enable();
    int Select_Type_872();
    void Update_Device(int Type_Board);
    void Create_EDS();
    // Starts an external program (a full path) and waits for its end, at most 150 s; a
    // program that cannot be started is reported with the system's text.
    void Start_Program(const QString& NomeSW, const QString& Parameter, unsigned char tipo);

    // The version check timer: enabled only when both internet options are on.
    void Set_Update_Timer(bool enabled);
    void Timer_UpdateTimer();
    void L_KorvixClick();
    void LL_UpdateLinkClick(const QString& link);

    void FormShow() override;

    // The image build of Update_Device (Build_Device_Image, then Save_Device_Image);
    // replaceable so that the road after it can be exercised on its own.
    std::function<void()> Build_Images;
    // Selects the mode of the USB/Ethernet update window before it is shown; set by that
    // window when it is created.
    std::function<void(int)> Set_Boot_Form_Type;

    // The maker's web pages.
    static QString Maker_Site();
    static QString Home_Page_URL(const QString& swCode);
    static QString Download_Page_URL(const QString& hwCode);

    // Controls.
    QLabel *L_SW_Code, *L_SW_Desc, *L_Begin, *L_Name_Conf, *L_Name_Conf_L2, *L_Korvix, *LL_Update;
    QLabel* L_Step[8];   // L_Step_1 ... L_Step_8
    QFrame *Shape1, *Shape2;
    TLbButton *Btn_Info, *Btn_Opz, *Btn_Close;
    TLbButton *Btn_New, *Btn_Open, *Btn_Prm_Gen, *Btn_CreateBin, *Btn_CreateBin_USB, *Btn_Receive_J1939,
        *Btn_Define_Receive_J1939, *Btn_Transmit_J1939, *Btn_Define_Transmit_J1939, *Btn_Modbus_Write_Request,
        *Btn_Modbus_Read_Request, *Btn_Define_Receive_SDO, *Btn_Define_Transmit_SDO, *Btn_Define_Receive_TPDO,
        *Btn_Define_Transmit_RPDO, *Btn_CANopen_EDSFile, *Btn_Set_SDO_Client, *Btn_Set_NodeGuard, *Btn_Receive_CAN,
        *Btn_Transmit_CAN, *Btn_GSD_File, *Btn_Modbus_Read_DM1, *Btn_Define_Alarms_DM1;
    QTimer* Timer_Update;

protected:
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void Create_Controls();
    void Layout_Steps();
    void Init_Routes();
    void Show_Conf_Labels();
    TLbButton* Make_Step_Button(const char* name, const QImage& glyph);
    std::map<TLbButton*, TRoute> FRoutes;
};

extern TFFabricateFirmWare* FFabricateFirmWare;
