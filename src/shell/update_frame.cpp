#include "shell/update_frame.h"

#include "platform/core/exception.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/graphics.h"
#include "shell/TFFabricateFirmWare.h"
#include "platform/ui/lb_button.h"
#include "shell/octet_edits.h"
#include "platform/ui/window_look.h"
#include "state/lang.h"
#include "state/net_util.h"
#include "state/model_table.h"
#include "state/shared_state.h"
#include "shell/update_commands.h"
#include "shell/update_ping.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>

namespace {
// Two arrows in a circle: "read the list again".
QImage RefreshGlyph()
{
    QImage img(18, 18, QImage::Format_RGB32);
    img.fill(ColorToQColor(clFuchsia));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 96, 160), 2));
    p.drawArc(QRect(3, 3, 12, 12), 30 * 16, 150 * 16);
    p.drawArc(QRect(3, 3, 12, 12), 210 * 16, 150 * 16);
    p.drawLine(14, 3, 14, 7);
    p.drawLine(14, 7, 10, 7);
    p.drawLine(4, 15, 4, 11);
    p.drawLine(4, 11, 8, 11);
    return img;
}
}  // namespace

TUpdateFrame::TUpdateFrame(QWidget* parent) : TForm(parent)
{
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    Apply_Window_Colour(this, Window_Colour);
    QFont verdana(QStringLiteral("Verdana"));
    verdana.setPixelSize(11);
    setFont(verdana);

    const TTitlePanel title = Make_Title_Panel(this, SW_Code);
    P_Title = title.P_Title;
    L_SW_Code = title.L_SW_Code;
    L_SW_Desc = title.L_SW_Desc;
    P_Buttons = Make_Button_Panel(this);
    Btn_Cancel = Make_Button(P_Buttons, "Btn_Cancel", 16, 6, 110, 28);
    Btn_Cancel->SetModalResult(mrCancel);
    Btn_Update = Make_Button(P_Buttons, "Btn_Update", 252, 6, 228, 28);
}

void TUpdateFrame::LayoutFrame(int clientWidth, int clientHeight)
{
    SetClientSize(clientWidth, clientHeight);
    // the panels follow a shown window by themselves; a hidden one is placed here
    P_Title->setGeometry(0, 0, clientWidth, Update_Title_Height);
    P_Buttons->setGeometry(0, clientHeight - Update_Buttons_Height, clientWidth, Update_Buttons_Height);
}

void TUpdateFrame::Show_SW_Code()
{
    Set_Label(L_SW_Code, SW_Code);
}

QLabel* TUpdateFrame::NewLabel(QWidget* parent, int left, int top)
{
    QLabel* l = New_Label(parent);
    l->move(left, top);
    return l;
}

void TUpdateFrame::NewOctets(QWidget* parent, int top, int lastDotLeft)
{
    for (int i = 0; i < 4; ++i) {
        auto* e = new QLineEdit(QStringLiteral("0"), parent);
        e->setGeometry(35 + 56 * i, top, 41, 21);
        e->installEventFilter(this);
        FOctets << e;
    }
    for (int left : {83, 139, lastDotLeft}) {
        QLabel* d = NewLabel(parent, left, top + 8);
        d->setText(QStringLiteral("."));
        FDots << d;
    }
}

void TUpdateFrame::OctetsFromLastIP()
{
    QString p[4];
    if (Last_IP.isEmpty() || !Split_IP_Address(Last_IP, p[0], p[1], p[2], p[3])) return;
    for (int i = 0; i < 4; ++i) FOctets[i]->setText(p[i]);
}

bool TUpdateFrame::TypedAddress(QString& address) const
{
    return Device_Address(FOctets[0]->text(), FOctets[1]->text(), FOctets[2]->text(), FOctets[3]->text(), address);
}

QComboBox* TUpdateFrame::NewDropDownList(QWidget* parent, int left, int top, int width)
{
    auto* c = new QComboBox(parent);
    c->setGeometry(left, top, width, 21);
    c->setEditable(false);
    return c;
}

TLbButton* TUpdateFrame::NewComListButton(QWidget* parent, int left, int top)
{
    TLbButton* b = Make_Button(parent, "Btn_COM_List", left, top, 34, 28);
    b->SetGlyph(RefreshGlyph());
    return b;
}

void TUpdateFrame::ApplyTexts(std::initializer_list<std::pair<QWidget*, int>> texts)
{
    for (const auto& [w, i] : texts) {
        if (auto* l = qobject_cast<QLabel*>(w)) {
            Set_Label(l, LT(i));
        } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
            b->setText(LT(i));
            b->adjustSize();
        }
    }
}

void TUpdateFrame::RunBusy(const QList<QWidget*>& controls, const std::function<void()>& work)
{
    QList<QWidget*> disabled;
    for (QWidget* w : controls)
        if (w->isEnabled()) {
            w->setEnabled(false);
            disabled << w;
        }
    FBusy = true;
    struct Restore {
        TUpdateFrame* Self;
        QList<QWidget*>& Controls;
        ~Restore()
        {
            Self->FBusy = false;
            for (QWidget* w : Controls) w->setEnabled(true);
        }
    } restore{this, disabled};
    work();
}

void TUpdateFrame::Start_Updater(const TUpdateCommand& cmd)
{
    RunBusy({Btn_Update, Btn_Cancel}, [&] { ::Start_Updater(cmd); });
}

bool TUpdateFrame::Write_Ethernet_Job(const QString& address, const TUpdateChoice& choice)
{
    try {
        Save_Ethernet_Job(Model_Code, address, choice);
        return true;
    } catch (const Exception& e) {
        ShowError(e.Message());
        return false;
    }
}

void TUpdateFrame::Start_Ethernet_Update() { Start_Updater(TUpdateCommand{Ethernet_Update_Program(), {}}); }

bool TUpdateFrame::OctetKey(QLineEdit* edit, QChar key)
{
    if (key != QLatin1Char('.')) return false;
    if (Octet_Dot(FOctets, edit)) return true;
    // the last octet keeps its "." unless the window swallows it there too
    return FSwallowInLast && !FOctets.isEmpty() && edit == FOctets.last();
}

bool TUpdateFrame::eventFilter(QObject* watched, QEvent* e)
{
    if (e->type() == QEvent::KeyPress) {
        auto* edit = qobject_cast<QLineEdit*>(watched);
        const QString text = static_cast<QKeyEvent*>(e)->text();
        if (edit && text.size() == 1 && OctetKey(edit, text[0])) return true;
    }
    return TForm::eventFilter(watched, e);
}

void TUpdateFrame::done(int r)
{
    if (FBusy) return;
    TForm::done(r);
}

TUpdateWizard::TUpdateWizard(QWidget* parent) : TUpdateFrame(parent)
{
    Btn_Next = Make_Button(P_Buttons, "Btn_Next", 134, 6, 110, 28);
    Btn_Next->SetLayout(blGlyphRight);
    L_Options = NewLabel(this, 16, 75);
    auto box = [this](int left, int top) {
        auto* c = new QCheckBox(this);
        c->move(left, top);
        c->setChecked(true);
        return c;
    };
    CB_Firmware = box(36, 96);
    CB_Read_Firm = box(56, 119);
    CB_Conf = box(36, 142);
    CB_Read_Conf = box(56, 165);
    LayoutFrame(350, 233);
}

void TUpdateWizard::FormCreate()
{
    Show_SW_Code();
    LayoutFrame(350, 233);
    for (QCheckBox* c : {CB_Firmware, CB_Read_Firm, CB_Conf, CB_Read_Conf}) c->setChecked(true);
    Set_Lang();
}

TUpdateChoice TUpdateWizard::Choice() const
{
    return TUpdateChoice{CB_Firmware->isChecked(), CB_Read_Firm->isChecked(), CB_Conf->isChecked(),
                         CB_Read_Conf->isChecked()};
}

bool TUpdateWizard::OnPage2() const { return !CB_Firmware->isHidden(); }

void TUpdateWizard::ShowPage1()
{
    for (QWidget* w : FPage1) w->show();
    for (QWidget* w : {static_cast<QWidget*>(L_Options), static_cast<QWidget*>(CB_Firmware),
                       static_cast<QWidget*>(CB_Read_Firm), static_cast<QWidget*>(CB_Conf),
                       static_cast<QWidget*>(CB_Read_Conf), static_cast<QWidget*>(Btn_Update)})
        w->hide();
    Btn_Cancel->show();
    Btn_Next->show();
    Btn_Update->move(252, 6);
}

void TUpdateWizard::ShowPage2()
{
    for (QWidget* w : FPage1) w->hide();
    Btn_Cancel->hide();
    Btn_Next->hide();
    L_Options->move(16, 75);
    CB_Firmware->move(36, 96);
    CB_Read_Firm->move(56, 119);
    CB_Conf->move(36, 142);
    CB_Read_Conf->move(56, 165);
    for (QWidget* w : {static_cast<QWidget*>(L_Options), static_cast<QWidget*>(CB_Firmware),
                       static_cast<QWidget*>(CB_Read_Firm), static_cast<QWidget*>(CB_Conf),
                       static_cast<QWidget*>(CB_Read_Conf)})
        w->show();
    Btn_Update->move(16, 6);
    Btn_Update->show();
}

TUpdateComWizard::TUpdateComWizard(QWidget* parent) : TUpdateWizard(parent)
{
    CB_Com = NewDropDownList(this, 36, 97, 149);
    Btn_COM_List = NewComListButton(this, 191, 94);
    FPage1 = {CB_Com, Btn_COM_List};
    Btn_COM_List->OnClick = [this] { Btn_COM_ListClick(); };
    Btn_Next->OnClick = [this] { Btn_NextClick(); };
    Btn_Update->OnClick = [this] { Btn_UpdateClick(); };
}

void TUpdateComWizard::FormShow()
{
    update_ComPort();
    ShowPage1();
}

QStringList TUpdateComWizard::EnumPorts() const { return Enum_Com_Ports(); }

void TUpdateComWizard::update_ComPort()
{
    CB_Com->clear();
    for (const QString& n : EnumPorts()) CB_Com->addItem(QStringLiteral("COM") + n);
    CB_Com->setCurrentIndex(0);
}

void TUpdateComWizard::Btn_NextClick()
{
    if (CB_Com->currentText().isEmpty()) {
        MessageDlg(LT(NoPortText()), TMsgDlgType::mtError, mbOK);
        return;
    }
    ShowPage2();
}

void TUpdateComWizard::Btn_UpdateClick() { Start_Updater(Command()); }

void Start_Updater(const TUpdateCommand& cmd)
{
    if (!cmd.IsValid()) return;
    QString parameters;
    if (!Parameter_Text(cmd, parameters)) {
        ShowError(QStringLiteral("A path holds a double quote and cannot be handed to the update program:\n%1")
                      .arg(cmd.Arguments.join(QLatin1Char('\n'))));
        return;
    }
    FFabricateFirmWare->Start_Program(cmd.Program, parameters, 0);
}
