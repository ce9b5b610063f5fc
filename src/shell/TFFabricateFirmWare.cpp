#include "shell/TFFabricateFirmWare.h"

#include "generate/eds_writer.h"
#include "generate/image_dispatch.h"
#include "platform/core/exception.h"
#include "platform/core/paths.h"
#include "platform/core/process.h"
#include "platform/core/sysutils.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/url_opener.h"
#include "shell/TFNew_Project.h"
#include "shell/TFOpenConf.h"
#include "shell/TFSoftOptions.h"
#include "platform/ui/lb_button.h"
#include "shell/create_gsd.h"
#include "shell/form_registry.h"
#include "platform/ui/window_look.h"
#include "state/lang.h"
#include "state/model_table.h"
#include "state/par_gen.h"
#include "state/settings.h"
#include "state/shared_state.h"

#include <QCloseEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QTimer>

TFFabricateFirmWare* FFabricateFirmWare = nullptr;

namespace {
constexpr int First_Check_Interval = 60000;
constexpr int Check_Interval = 7200000;
constexpr int Program_Wait_Ms = 149999;   // gives up at the first poll after 150 s

// Our own pictures of the three picture buttons, on a key colour that stays transparent.
QImage Picture(char kind)
{
    QImage img(32, 32, QImage::Format_RGB32);
    img.fill(QColor(0x80, 0x80, 0x00));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    switch (kind) {
    case 'i':
        p.setBrush(QColor(40, 90, 170));
        p.setPen(Qt::NoPen);
        p.drawEllipse(QRect(3, 3, 26, 26));
        p.setBrush(Qt::white);
        p.drawEllipse(QRect(14, 8, 4, 4));
        p.drawRect(QRect(14, 14, 4, 11));
        break;
    case 'o':
        p.setPen(QPen(QColor(90, 90, 90), 4));
        for (int a = 0; a < 180; a += 45) {
            p.save();
            p.translate(16, 16);
            p.rotate(a);
            p.drawLine(-13, 0, 13, 0);
            p.restore();
        }
        p.setBrush(QColor(150, 150, 150));
        p.drawEllipse(QRect(8, 8, 16, 16));
        p.setBrush(QColor(0x80, 0x80, 0x00));
        p.setPen(Qt::NoPen);
        p.drawEllipse(QRect(12, 12, 8, 8));
        break;
    default:
        p.setPen(QPen(QColor(190, 30, 30), 5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(7, 7, 25, 25);
        p.drawLine(25, 7, 7, 25);
        break;
    }
    p.end();
    img.setPixel(0, 31, qRgb(0x80, 0x80, 0x00));
    return img;
}

QLabel* MakeLabel(QWidget* parent, const char* name, int pointSize, bool bold)
{
    QLabel* l = New_Label(parent, name);
    QFont f = parent->font();
    if (pointSize > 0) f.setPointSize(pointSize);
    f.setBold(bold);
    l->setFont(f);
    QPalette pal = l->palette();
    pal.setColor(QPalette::WindowText, ColorToQColor(clGray));
    l->setPalette(pal);
    return l;
}

void Place(QWidget* w, int top, int left)
{
    w->move(left, top);
}
}  // namespace

TFFabricateFirmWare::TFFabricateFirmWare(QWidget* parent) : TForm(parent)
{
    setModal(false);
    // fixed single border without title-bar buttons: the Close button ends the program
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    Create_Controls();
    Init_Routes();
    Build_Images = [] {
        Build_Device_Image();
        Save_Device_Image();
    };
}

TLbButton* TFFabricateFirmWare::Make_Step_Button(const char* name, const QImage& glyph)
{
    auto* b = new TLbButton(this);
    b->setObjectName(QLatin1String(name));
    b->resize(170, 36);
    Apply_Button_Look(b);
    b->SetStyle(bsEncarta);
    b->SetAlignment(taLeftJustify);
    b->SetGlyph(glyph);
    b->OnClick = [this, b] { Btn_Click(b); };
    return b;
}

void TFFabricateFirmWare::Create_Controls()
{
    setFont(QFont(QStringLiteral("Verdana"), 8));
    Apply_Window_Colour(this, Window_Colour);

    L_SW_Code = MakeLabel(this, "L_SW_Code", 24, false);
    L_SW_Desc = MakeLabel(this, "L_SW_Desc", 0, true);
    L_Begin = MakeLabel(this, "L_Begin", 0, true);
    Shape2 = new QFrame(this);
    Shape2->setObjectName(QStringLiteral("Shape2"));
    Shape2->setFrameShape(QFrame::Box);
    Shape2->setStyleSheet(QStringLiteral("QFrame#Shape2 { border: 1px solid #C0C0C0; background: transparent; }"));
    Shape2->resize(348, 36);
    L_Name_Conf = MakeLabel(this, "L_Name_Conf", 0, false);
    L_Name_Conf_L2 = MakeLabel(this, "L_Name_Conf_L2", 0, false);
    static const char* const stepNames[8] = {"L_Step_1", "L_Step_2", "L_Step_3", "L_Step_4",
                                             "L_Step_5", "L_Step_6", "L_Step_7", "L_Step_8"};
    for (int k = 0; k < 8; ++k) L_Step[k] = MakeLabel(this, stepNames[k], 0, true);
    L_Korvix = MakeLabel(this, "L_Korvix", 0, true);
    L_Korvix->setCursor(Qt::PointingHandCursor);
    Set_Label(L_Korvix, Maker_Site());
    L_Korvix->installEventFilter(this);
    Shape1 = new QFrame(this);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setFrameShape(QFrame::HLine);
    Shape1->setStyleSheet(QStringLiteral("QFrame#Shape1 { border: none; background: #000000; }"));

    LL_Update = new QLabel(this);
    LL_Update->setObjectName(QStringLiteral("LL_Update"));
    LL_Update->setTextFormat(Qt::RichText);
    LL_Update->setGeometry(208, 19, 294, 17);
    LL_Update->hide();
    QObject::connect(LL_Update, &QLabel::linkActivated, this, [this](const QString& link) { LL_UpdateLinkClick(link); });

    auto picture = [this](const char* name, char kind) {
        auto* b = new TLbButton(this);
        b->setObjectName(QLatin1String(name));
        b->resize(50, 50);
        Apply_Button_Look(b);
        b->SetGlyph(Picture(kind));
        b->OnClick = [this, b] { Btn_Click(b); };
        return b;
    };
    Btn_Info = picture("Btn_Info", 'i');
    Btn_Opz = picture("Btn_Opz", 'o');
    Btn_Close = picture("Btn_Close", 'x');

    // one picture shared by every step button
    const QImage step = Shell_Glyph('s');
    Btn_New = Make_Step_Button("Btn_New", step);
    Btn_Open = Make_Step_Button("Btn_Open", step);
    Btn_Prm_Gen = Make_Step_Button("Btn_Prm_Gen", step);
    Btn_Prm_Gen->SetStyle(bsNormal);
    Btn_CreateBin = Make_Step_Button("Btn_CreateBin", step);
    Btn_CreateBin_USB = Make_Step_Button("Btn_CreateBin_USB", step);
    Btn_Receive_J1939 = Make_Step_Button("Btn_Receive_J1939", step);
    Btn_Define_Receive_J1939 = Make_Step_Button("Btn_Define_Receive_J1939", step);
    Btn_Transmit_J1939 = Make_Step_Button("Btn_Transmit_J1939", step);
    Btn_Define_Transmit_J1939 = Make_Step_Button("Btn_Define_Transmit_J1939", step);
    Btn_Modbus_Write_Request = Make_Step_Button("Btn_Modbus_Write_Request", step);
    Btn_Modbus_Read_Request = Make_Step_Button("Btn_Modbus_Read_Request", step);
    Btn_Define_Receive_SDO = Make_Step_Button("Btn_Define_Receive_SDO", step);
    Btn_Define_Transmit_SDO = Make_Step_Button("Btn_Define_Transmit_SDO", step);
    Btn_Define_Receive_TPDO = Make_Step_Button("Btn_Define_Receive_TPDO", step);
    Btn_Define_Transmit_RPDO = Make_Step_Button("Btn_Define_Transmit_RPDO", step);
    Btn_CANopen_EDSFile = Make_Step_Button("Btn_CANopen_EDSFile", step);
    Btn_Set_SDO_Client = Make_Step_Button("Btn_Set_SDO_Client", step);
    Btn_Set_NodeGuard = Make_Step_Button("Btn_Set_NodeGuard", step);
    Btn_Receive_CAN = Make_Step_Button("Btn_Receive_CAN", step);
    Btn_Transmit_CAN = Make_Step_Button("Btn_Transmit_CAN", step);
    Btn_GSD_File = Make_Step_Button("Btn_GSD_File", step);
    Btn_Modbus_Read_DM1 = Make_Step_Button("Btn_Modbus_Read_DM1", step);
    Btn_Define_Alarms_DM1 = Make_Step_Button("Btn_Define_Alarms_DM1", step);
    // these three keep their English captions in every language
    Btn_GSD_File->SetCaption(QStringLiteral("GSD File"));
    Btn_Modbus_Read_DM1->SetCaption(QStringLiteral("Modbus Read DM1"));
    Btn_Define_Alarms_DM1->SetCaption(QStringLiteral("Define Alarms DM1"));

    Timer_Update = new QTimer(this);
    Timer_Update->setInterval(First_Check_Interval);
    QObject::connect(Timer_Update, &QTimer::timeout, this, [this] { Timer_UpdateTimer(); });
}

void TFFabricateFirmWare::Layout_Steps()
{
    // fixed part
    Place(L_SW_Code, 8, 16);
    Place(L_SW_Desc, 42, 16);
    Place(L_Begin, 84, 16);
    Place(Shape2, 70, 80);
    Place(L_Name_Conf, 75, 87);
    Place(L_Name_Conf_L2, 88, 87);
    for (QWidget* w : {static_cast<QWidget*>(L_SW_Code), static_cast<QWidget*>(L_SW_Desc), static_cast<QWidget*>(L_Begin),
                       static_cast<QWidget*>(Shape2), static_cast<QWidget*>(L_Name_Conf), static_cast<QWidget*>(L_Name_Conf_L2)})
        w->show();
    Place(Btn_Info, 8, 516);
    Place(Btn_Opz, 8, 574);
    Place(Btn_Close, 8, 632);
    for (int k = 0; k < 8; ++k) {
        Place(L_Step[k], 128 + 44 * k, 16);
        L_Step[k]->hide();
    }
    Place(L_Korvix, 392, 565);
    L_Korvix->hide();
    for (TLbButton* b : findChildren<TLbButton*>(QString(), Qt::FindDirectChildrenOnly)) b->hide();
    for (TLbButton* b : {Btn_Info, Btn_Opz, Btn_Close}) b->show();
    Place(Btn_New, 112, 80);
    Place(Btn_Open, 112, 258);
    Place(Btn_Prm_Gen, 156, 80);
    Place(Btn_CreateBin, 332, 80);
    for (TLbButton* b : {Btn_New, Btn_Open, Btn_Prm_Gen, Btn_CreateBin}) b->show();

    // the model's part
    struct Pos { TLbButton* b; int top, left; };
    std::vector<Pos> buttons;
    int steps = 0, binTop = 0, usbTop = -1;
    switch (Model_Code) {
    case 0: case 1: case 7:
        steps = 5;
        buttons = {{Btn_Receive_J1939, 200, 80}, {Btn_Define_Receive_J1939, 200, 258},
                   {Btn_Transmit_J1939, 244, 80}, {Btn_Define_Transmit_J1939, 244, 258}};
        binTop = 288;
        if (Model_Code == 0) usbTop = 288;
        break;
    case 2:
        steps = 6;
        buttons = {{Btn_Receive_J1939, 200, 80}, {Btn_Modbus_Write_Request, 200, 258}, {Btn_Transmit_J1939, 244, 80},
                   {Btn_Modbus_Read_Request, 244, 258}, {Btn_Define_Alarms_DM1, 288, 80}, {Btn_Modbus_Read_DM1, 288, 258}};
        binTop = 332;
        break;
    case 3: case 9:
        steps = 4;
        buttons = {{Btn_Receive_J1939, 200, 80}};
        binTop = 244;
        break;
    case 4:
        steps = 8;
        buttons = {{Btn_Receive_J1939, 200, 80}, {Btn_Define_Receive_SDO, 200, 258}, {Btn_Define_Receive_TPDO, 200, 436},
                   {Btn_Transmit_J1939, 244, 80}, {Btn_Define_Transmit_SDO, 244, 258}, {Btn_Define_Transmit_RPDO, 244, 436},
                   {Btn_Set_SDO_Client, 288, 80}, {Btn_Set_NodeGuard, 332, 80}, {Btn_CANopen_EDSFile, 376, 80}};
        binTop = 420;
        usbTop = 420;
        break;
    case 5:
        steps = 5;
        buttons = {{Btn_Receive_J1939, 200, 80}, {Btn_Modbus_Write_Request, 200, 258}, {Btn_Transmit_J1939, 244, 80},
                   {Btn_Modbus_Read_Request, 244, 258}};
        binTop = 288;
        usbTop = 288;
        break;
    case 6: case 10:
        steps = 7;
        buttons = {{Btn_Receive_J1939, 200, 80}, {Btn_Transmit_J1939, 244, 80}, {Btn_Receive_CAN, 288, 80},
                   {Btn_Transmit_CAN, 332, 80}};
        binTop = 376;
        if (Model_Code == 6) usbTop = 376;
        break;
    case 8:
        steps = 6;
        buttons = {{Btn_Receive_J1939, 200, 80}, {Btn_Transmit_J1939, 244, 80}, {Btn_GSD_File, 288, 80}};
        binTop = 332;
        break;
    default:  // 1006
        steps = 3;
        binTop = 200;
        break;
    }
    for (int k = 0; k < steps; ++k) L_Step[k]->show();
    for (const Pos& p : buttons) {
        Place(p.b, p.top, p.left);
        p.b->show();
    }
    Place(Btn_CreateBin, binTop, 80);
    if (usbTop >= 0) {
        Place(Btn_CreateBin_USB, usbTop, 258);
        Btn_CreateBin_USB->show();
    }
    Place(L_Korvix, L_Step[steps - 1]->y(), 565);
    L_Korvix->show();
    Shape1->setGeometry(10, binTop + 51, 674, 1);
    SetClientSize(694, binTop + 152);
}

void TFFabricateFirmWare::Create(const QString& exeDir)
{
    Lang_Texts.clear();
    Layout_Steps();
    Init_Folders(exeDir);
    Read_Settings();
    Set_Update_Timer(Enable_Internet && Enable_Update);
    const TModelInfo& m = Model_Table();
    Main_Caption = QString::fromUtf16(m.Caption);
    SW_Code = QString::fromUtf16(m.SW_Code);
    SW_Desc = QString::fromUtf16(m.Description);
    SetCaption(Main_Caption);
    Set_Label(L_SW_Code, SW_Code);
    Set_Label(L_SW_Desc, SW_Desc);
    Load_Lang();
    // the remembered name comes from a file anyone may edit: only a name the New dialog
    // accepts, which keeps it inside PROJECTS, and that names a folder there is opened
    const bool reopen = TFNew_Project::Valid_Conf_Name(Conf_Name) && DirectoryExists(PathJoin(Projects_Dir, Conf_Name));
    Conf_Dir = reopen ? PathJoin(Projects_Dir, Conf_Name) : QString();
    Set_Lang();
    Set_Files();
}

void TFFabricateFirmWare::Set_Files() { ::Set_Files(); }

void TFFabricateFirmWare::Save_Setting()
{
    try {
        Write_Settings();
    } catch (const Exception& e) {
        ShowError(e.Message());
    }
}

void TFFabricateFirmWare::Show_Conf_Labels()
{
    if (Is_Conf_Open()) {
        Set_Label(L_Name_Conf, LT(10));
        Set_Label(L_Name_Conf_L2, Conf_Name);
    } else {
        Set_Label(L_Name_Conf, LT(8));
        Set_Label(L_Name_Conf_L2, LT(9));
    }
}

void TFFabricateFirmWare::Set_Lang()
{
    Set_Label(L_Begin, LT(0));
    for (int k = 0; k < 7; ++k) Set_Label(L_Step[k], LT(1 + k));
    Set_Label(L_Step[7], LT(336));
    const std::pair<TLbButton*, int> captions[] = {
        {Btn_New, 11}, {Btn_Open, 12}, {Btn_Prm_Gen, 13}, {Btn_Receive_J1939, 14}, {Btn_Transmit_J1939, 15},
        {Btn_Define_Receive_J1939, 16}, {Btn_Define_Transmit_J1939, 17}, {Btn_CreateBin, 18}, {Btn_CreateBin_USB, 818},
        {Btn_Modbus_Write_Request, 334}, {Btn_Modbus_Read_Request, 335}, {Btn_Define_Receive_SDO, 337},
        {Btn_Define_Transmit_SDO, 338}, {Btn_Define_Receive_TPDO, 339}, {Btn_Define_Transmit_RPDO, 340},
        {Btn_Set_SDO_Client, 341}, {Btn_Set_NodeGuard, 342}, {Btn_CANopen_EDSFile, 343}, {Btn_Receive_CAN, 591},
        {Btn_Transmit_CAN, 592}};
    for (const auto& [b, i] : captions) b->SetCaption(LT(i));
    Btn_Info->SetHint(LT(19));
    Btn_Opz->SetHint(LT(20));
    Btn_Close->SetHint(LT(21));
    Show_Conf_Labels();
}

void TFFabricateFirmWare::Change_Language()
{
    Set_Lang();
    Apply_Lang_To_Forms();
}

// ------------------------------------------------------------------------------- routing

void TFFabricateFirmWare::Set_Route(TLbButton* button, TRoute route) { FRoutes[button] = std::move(route); }

bool TFFabricateFirmWare::Has_Route(TLbButton* button) const
{
    auto it = FRoutes.find(button);
    return it != FRoutes.end() && it->second;
}

void TFFabricateFirmWare::Init_Routes()
{
    auto show = [](QString name) { return [name] { Show_Form(name); }; };
    Set_Route(Btn_Prm_Gen, [this] { Show_ParGen_Form(); });
    Set_Route(Btn_Receive_J1939, [this] {
        switch (Model_Code) {
        case 2: case 5: Show_Form(QStringLiteral("FReceive_J1939_892")); break;
        case 1: case 3: case 4: case 6: case 8: case 10: Show_Form(QStringLiteral("FReceive_J1939_Frame_896")); break;
        case 7: case 9:
            Show_Form(Select_Type_872() == 1 ? QStringLiteral("FReceive_J1939_Frame_896") : QStringLiteral("FReceiveJ1939"));
            break;
        default: Show_Form(QStringLiteral("FReceiveJ1939")); break;
        }
    });
    Set_Route(Btn_Transmit_J1939, [this] {
        switch (Model_Code) {
        case 2: case 5: Show_Form(QStringLiteral("FTransmit_J1939_892")); break;
        case 1: case 4: case 6: case 8: case 10: Show_Form(QStringLiteral("FTransmit_J1939_Frame_896")); break;
        case 7:
            Show_Form(Select_Type_872() == 1 ? QStringLiteral("FTransmit_J1939_Frame_896")
                                             : QStringLiteral("FTransmit_J1939_Frame_Atmel_872"));
            break;
        default: Show_Form(QStringLiteral("FTransmitJ1939")); break;
        }
    });
    Set_Route(Btn_Define_Receive_J1939, show(QStringLiteral("FDefineRecJ1939")));
    Set_Route(Btn_Define_Transmit_J1939, show(QStringLiteral("FDefineTransJ1939")));
    Set_Route(Btn_Modbus_Write_Request, [] {
        Show_Form(Model_Code == 5 ? QStringLiteral("FModbusWriteReq_890") : QStringLiteral("FModbusWriteRequest"));
    });
    Set_Route(Btn_Modbus_Read_Request, [] {
        Show_Form(Model_Code == 5 ? QStringLiteral("FModbusReadReq_890") : QStringLiteral("FModbusReadRequest"));
    });
    Set_Route(Btn_Modbus_Read_DM1, show(QStringLiteral("FModbusReadRequest_DM1_J1939")));
    Set_Route(Btn_Define_Alarms_DM1, show(QStringLiteral("FDefineDM1_J1939")));
    Set_Route(Btn_Define_Receive_TPDO, show(QStringLiteral("FDefine_TPDO")));
    Set_Route(Btn_Define_Transmit_RPDO, show(QStringLiteral("FDefine_RPDO")));
    Set_Route(Btn_Define_Receive_SDO, show(QStringLiteral("FDefine_Server_SDO_Read")));
    Set_Route(Btn_Define_Transmit_SDO, show(QStringLiteral("FDefine_Server_SDO_Write")));
    Set_Route(Btn_Set_SDO_Client, show(QStringLiteral("FDefine_Client_SDO")));
    Set_Route(Btn_Set_NodeGuard, show(QStringLiteral("FDefine_NodeGuard")));
    Set_Route(Btn_CANopen_EDSFile, [this] { Create_EDS(); });
    Set_Route(Btn_Receive_CAN, show(QStringLiteral("FReceive_CAN_Frames")));
    Set_Route(Btn_Transmit_CAN, show(QStringLiteral("FTransmit_CAN_Frames")));
    Set_Route(Btn_GSD_File, [] { Check_Create_GSD(); });
    Set_Route(Btn_CreateBin_USB, [this] { Update_Device(1); });
    Set_Route(Btn_CreateBin, [this] { Update_Device(0); });
}

void TFFabricateFirmWare::Btn_Click(TLbButton* Sender)
{
    if (Sender == Btn_New) {
        Create_New_Project();
    } else if (Sender == Btn_Open) {
        Open_Project();
    } else if (Sender == Btn_Close) {
        close();
    } else if (Sender == Btn_Info) {
        Show_Form(QStringLiteral("FAbout"));
    } else if (Sender == Btn_Opz) {
        if (Show_Form(QStringLiteral("FSoftOptions")) == mrOk) {
            Save_Setting();
            Set_Update_Timer(Enable_Internet && Enable_Update);
        }
    } else if (!Is_Conf_Open()) {
        ShowError(LT(22));
    } else {
        auto it = FRoutes.find(Sender);
        if (it != FRoutes.end() && it->second) it->second();
    }
}

// ------------------------------------------------------------------------ configurations

void TFFabricateFirmWare::Create_New_Project()
{
    if (Show_Form(QStringLiteral("FNew_Project")) != mrOk) return;
    Show_Conf_Labels();
    // the DM1 buttons follow the configuration now open
    Check_DM1_Enable();
}

void TFFabricateFirmWare::Open_Project()
{
    auto& dlg = dynamic_cast<TFOpenConf&>(Need_Form(QStringLiteral("FOpenConf")));
    if (dlg.ShowModal() != mrOk) return;
    Conf_Name = dlg.Name_Conf;
    Conf_Dir = Conf_Name.isEmpty() ? QString() : PathJoin(Projects_Dir, Conf_Name);
    Show_Conf_Labels();
    Set_Files();
    Check_DM1_Enable();
}

void TFFabricateFirmWare::Show_ParGen_Form()
{
    Show_Form(QStringLiteral("FParGen"));
    if (Model_Code == 2) Check_DM1_Enable();
}

namespace {
// The elements of the open configuration's ParGen.xml; none without a configuration or a
// file.  A document that cannot be parsed ends the action with the text that names the
// file, as the parameters window gives it.
TParGenMap ParGen_Elements()
{
    TParGenMap elements;
    if (!Is_Conf_Open()) return elements;
    QString error;
    if (Read_ParGen_Elements(File_ParGen, elements, &error) == TParGenRead::Damaged) throw Exception(error);
    return elements;
}
}  // namespace

void TFFabricateFirmWare::Check_DM1_Enable()
{
    if (Model_Code != 2) return;
    // off first: a document that cannot be read leaves them as for a configuration without DM1
    Btn_Modbus_Read_DM1->SetEnabled(false);
    Btn_Define_Alarms_DM1->SetEnabled(false);
    const bool on = ParGen_Elements().value(QStringLiteral("J1939_Send_DM1")) == QLatin1String("1");
    Btn_Modbus_Read_DM1->SetEnabled(on);
    Btn_Define_Alarms_DM1->SetEnabled(on);
}

int TFFabricateFirmWare::Select_Type_872()
{
    const TParGenMap elements = ParGen_Elements();
    if (Model_Code != 7 && Model_Code != 9) return 0;
    const auto it = elements.constFind(QStringLiteral("Device_Type"));
    return it == elements.constEnd() ? 0 : StrToIntDef(*it, 0);
}

void TFFabricateFirmWare::Update_Device(int Type_Board)
{
    if (Model_Code == 8 && !Check_Modules_Creation()) return;
    Build_Images();   // a failed build throws: its text is shown and no update window opens
    auto boot = [this](int formType) {
        if (Set_Boot_Form_Type) Set_Boot_Form_Type(formType);
        Show_Form(QStringLiteral("FBoot"));
    };
    switch (Model_Code) {
    case 1: case 2: case 3: Show_Form(QStringLiteral("FBootTCP")); break;
    case 7: case 9: Show_Form(Select_Type_872() == 1 ? QStringLiteral("FBootTCP") : QStringLiteral("FBootSer")); break;
    case 10: boot(1); break;
    default:
        if (Type_Board == 1) boot(2);
        else Show_Form(QStringLiteral("FBootCAN"));
        break;
    }
}

void TFFabricateFirmWare::Create_EDS()
{
    FileDialogCall call;
    call.Save = true;
    call.InitialDir = Conf_Dir;
    call.Filter = QStringLiteral("Electronic Data Sheet (*.eds)|*.eds");
    call.DefaultExt = QStringLiteral("eds");
    const QString name = ExecuteFileDialog(call);
    if (!name.isEmpty()) Write_EDS_File(name);
}

void TFFabricateFirmWare::Start_Program(const QString& NomeSW, const QString& Parameter, unsigned char tipo)
{
    (void)tipo;  // every program is started with its window shown
    const TStartedProcess p = StartProcess(NomeSW, Parameter);
    if (!p.Started()) {
        ShowError(p.Error + QLatin1Char('\n') + NomeSW);
        return;
    }
    WaitProcess(p.Pid, Program_Wait_Ms);
}

// ------------------------------------------------------------------- version check, links

void TFFabricateFirmWare::Set_Update_Timer(bool enabled)
{
    if (!enabled) Timer_Update->stop();
    else if (!Timer_Update->isActive()) Timer_Update->start();
}

void TFFabricateFirmWare::Timer_UpdateTimer()
{
    Timer_Update->stop();
    // events run during the check
    const QPointer<TFFabricateFirmWare> self(this);
    const bool newer = TFSoftOptions::Check_Version();
    if (!self) return;
    if (newer) {
        LL_Update->setText(QStringLiteral("<a href=\"%1\">%2</a>")
                               .arg(Download_Page_URL(QString::fromUtf16(Model_Table().HW_Code)).toHtmlEscaped(), LT(23).toHtmlEscaped()));
        LL_Update->show();
    } else {
        LL_Update->hide();
    }
    Timer_Update->setInterval(Check_Interval);
    // the Options dialog may have switched the check off meanwhile
    if (Enable_Internet && Enable_Update) Timer_Update->start();
}

QString TFFabricateFirmWare::Maker_Site() { return QStringLiteral("www.korvix.com"); }

QString TFFabricateFirmWare::Home_Page_URL(const QString& swCode)
{
    return QStringLiteral("http://%1/HOME/default.asp?frompg=%2").arg(Maker_Site(), swCode);
}

QString TFFabricateFirmWare::Download_Page_URL(const QString& hwCode)
{
    return QStringLiteral("http://%1/Home/download/download.asp#%2").arg(Maker_Site(), hwCode);
}

void TFFabricateFirmWare::L_KorvixClick() { OpenURL(Home_Page_URL(SW_Code)); }

void TFFabricateFirmWare::LL_UpdateLinkClick(const QString& link) { OpenURL(link); }

// ----------------------------------------------------------------------------- window

void TFFabricateFirmWare::FormShow()
{
    if (Model_Code == 2) Check_DM1_Enable();
}

bool TFFabricateFirmWare::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == L_Korvix && e->type() == QEvent::MouseButtonRelease) {
        L_KorvixClick();
        return true;
    }
    return TForm::eventFilter(watched, e);
}

void TFFabricateFirmWare::closeEvent(QCloseEvent* e)
{
    Save_Setting();
    TForm::closeEvent(e);
}

void TFFabricateFirmWare::keyPressEvent(QKeyEvent* e)
{
    // the main window is no dialog: Escape does not close it
    if (e->key() == Qt::Key_Escape) return;
    TForm::keyPressEvent(e);
}
