#include "shell/TFSoftOptions.h"

#include "platform/core/http_client.h"
#include "platform/core/paths.h"
#include "platform/core/sysutils.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/url_opener.h"
#include "shell/TFFabricateFirmWare.h"
#include "platform/ui/lb_button.h"
#include "state/lang.h"
#include "state/model_table.h"
#include "state/shared_state.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QRegularExpression>
#include <QTabWidget>

TFSoftOptions* FSoftOptions = nullptr;
int TFSoftOptions::Version_Timeout_Ms = 5000;

namespace {
constexpr int Slots = 6;
// Models outside 0..10 (QTB900) ask as model 0.
int Version_Model() { return (Model_Code >= 0 && Model_Code <= 10) ? Model_Code : 0; }
}  // namespace

TFSoftOptions::TFSoftOptions(QWidget* parent) : TForm(parent)
{
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    Apply_Window_Colour(this, Window_Colour);
    resize(509, 373);
}

void TFSoftOptions::Create_Controls()
{
    Title = Make_Title_Panel(this, SW_Code);
    PC_Options = new QTabWidget(this);
    PC_Options->setObjectName(QStringLiteral("PC_Options"));
    PC_Options->setGeometry(8, 77, 493, 248);
    TS_Language = new QWidget;
    TS_Language->setObjectName(QStringLiteral("TS_Language"));
    TS_Con_Options = new QWidget;
    TS_Con_Options->setObjectName(QStringLiteral("TS_Con_Options"));
    PC_Options->addTab(TS_Language, QString());
    PC_Options->addTab(TS_Con_Options, QString());

    L_Sel_Lang = New_Label(TS_Language, "L_Sel_Lang");
    L_Sel_Lang->move(16, 10);
    for (int k = 0; k < Slots; ++k) {
        const int x = k < 3 ? 24 : 250, y = 36 + 54 * (k % 3);
        I_L[k] = New_Label(TS_Language, QStringLiteral("I_L%1").arg(k + 1).toLatin1().constData());
        I_L[k]->setGeometry(x, y, 48, 48);
        I_L[k]->setScaledContents(true);
        I_L[k]->setCursor(Qt::PointingHandCursor);
        I_L[k]->installEventFilter(this);
        L_L[k] = New_Label(TS_Language, QStringLiteral("L_L%1").arg(k + 1).toLatin1().constData());
        L_L[k]->move(x + 56, y + 16);
        L_L[k]->setCursor(Qt::PointingHandCursor);
        L_L[k]->installEventFilter(this);
    }
    L_Page_Lang = New_Label(TS_Language, "L_Page_Lang");
    L_Page_Lang->move(16, 200);
    Btn_Prev = Make_Button(TS_Language, "Btn_Prev", 250, 194, 100, 26);
    Btn_Prev->SetGlyph(Shell_Glyph('<'));
    Btn_Prev->OnClick = [this] { Btn_NextClick(false); };
    Btn_Next = Make_Button(TS_Language, "Btn_Next", 360, 194, 100, 26);
    Btn_Next->SetGlyph(Shell_Glyph('>'));
    Btn_Next->SetLayout(blGlyphRight);
    Btn_Next->OnClick = [this] { Btn_NextClick(true); };

    CB_En_Con = new QCheckBox(TS_Con_Options);
    CB_En_Con->setObjectName(QStringLiteral("CB_En_Con"));
    CB_En_Con->move(16, 16);
    CB_Update = new QCheckBox(TS_Con_Options);
    CB_Update->setObjectName(QStringLiteral("CB_Update"));
    CB_Update->move(36, 42);
    // a state set by code runs the handler as a click does
    QObject::connect(CB_En_Con, &QCheckBox::toggled, this, [this] { CB_En_ConClick(); });
    QObject::connect(CB_Update, &QCheckBox::toggled, this, [this] { CB_En_ConClick(); });
    Btn_Check_Update = Make_Button(TS_Con_Options, "Btn_Check_Update", 16, 80, 220, 28);
    Btn_Check_Update->SetGlyph(Shell_Glyph('u'));
    Btn_Check_Update->OnClick = [this] { Btn_Check_UpdateClick(); };
    LL_Check_Update = new QLabel(TS_Con_Options);
    LL_Check_Update->setObjectName(QStringLiteral("LL_Check_Update"));
    LL_Check_Update->setGeometry(16, 120, 440, 17);
    LL_Check_Update->setTextFormat(Qt::RichText);
    LL_Check_Update->hide();
    QObject::connect(LL_Check_Update, &QLabel::linkActivated, this, [this](const QString& l) { LL_Check_UpdateLinkClick(l); });

    P_Button = Make_Button_Panel(this);
    Btn_OK = Make_Button(P_Button, "Btn_OK", 509 - 16 - 220 - 8, 6, 110, 28);
    Btn_OK->SetGlyph(Shell_Glyph('o'));
    Btn_OK->OnClick = [this] { Btn_OKClick(); };
    Btn_Cancel = Make_Button(P_Button, "Btn_Cancel", 509 - 16 - 110, 6, 110, 28);
    Btn_Cancel->SetGlyph(Shell_Glyph('c'));
    Btn_Cancel->SetModalResult(mrCancel);
}

void TFSoftOptions::FormCreate()
{
    Create_Controls();
    SL_Languages.clear();
    Set_Label(Title.L_SW_Code, SW_Code);
    SetClientSize(509, 373);
    Set_Lang();
}

void TFSoftOptions::Set_Lang()
{
    SetCaption(LT(189));
    Set_Label(Title.L_SW_Desc, LT(190));
    PC_Options->setTabText(0, LT(191));
    PC_Options->setTabText(1, LT(192));
    Set_Label(L_Sel_Lang, LT(193) + Language_In_Use);
    Set_Label(L_Page_Lang, LT(194) + QStringLiteral("1") + LT(195) + QStringLiteral("1"));
    Btn_Prev->SetCaption(LT(196));
    Btn_Next->SetCaption(LT(197));
    CB_En_Con->setText(LT(198));
    CB_En_Con->adjustSize();
    CB_Update->setText(LT(199));
    CB_Update->adjustSize();
    Btn_Check_Update->SetCaption(LT(200));
    Btn_OK->SetCaption(LT(201));
    Btn_Cancel->SetCaption(LT(202));
}

void TFSoftOptions::FormShow()
{
    Language_In_Use = Lang_Name;
    Create_Lang_List();
    Update_CheckBox();
    LL_Check_Update->hide();
    PC_Options->setCurrentWidget(TS_Language);
    CB_En_Con->setChecked(Enable_Internet);
    CB_Update->setChecked(Enable_Update);
}

void TFSoftOptions::Create_Lang_List()
{
    SL_Languages.clear();
    const QFileInfoList files = QDir(Language_Dir).entryInfoList(
        {QStringLiteral("*.lng")}, QDir::Files | QDir::Hidden | QDir::System | QDir::CaseSensitive);
    for (const QFileInfo& fi : files) {
        // a read-only file is not offered
        if (!fi.isFile() || !(fi.permissions() & QFileDevice::WriteOwner)) continue;
        SL_Languages << fi.fileName();
    }
    std::sort(SL_Languages.begin(), SL_Languages.end(),
              [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    Show_Page = 1;
    Update_Lang_Page(1);
}

void TFSoftOptions::Update_Lang_Page(int p)
{
    const int count = SL_Languages.size();
    const int pages = (count + 5) / 6;
    Set_Label(L_Sel_Lang, LT(193) + Language_In_Use);
    Set_Label(L_Page_Lang, LT(194) + QString::number(p) + LT(195) + QString::number(pages));
    Btn_Prev->setVisible(p != 1);
    Btn_Next->setVisible(p != pages);
    const int n = std::min(count - 6 * (p - 1), 6);
    for (int k = 1; k <= Slots; ++k) {
        QLabel* flag = I_L[k - 1];
        QLabel* name = L_L[k - 1];
        flag->setVisible(k <= n);
        name->setVisible(k <= n);
        if (k > n) continue;
        const QString lang = SL_Languages[6 * (p - 1) + k - 1].chopped(4);
        Set_Label(name, lang);
        QString pic = FindFileNoCase(PathJoin(Language_Dir, lang + QStringLiteral(".bmp")));
        if (!FileExists(pic)) pic = FindFileNoCase(PathJoin(Language_Dir, QStringLiteral("DefaultFlag.bmp")));
        QPixmap pm;
        if (FileExists(pic) && pm.load(pic)) flag->setPixmap(pm);
        else flag->hide();
    }
}

void TFSoftOptions::Btn_NextClick(bool next)
{
    const int pages = (SL_Languages.size() + 5) / 6;
    if (next) {
        if (pages >= Show_Page + 1) ++Show_Page;
    } else if (Show_Page >= 2) {
        --Show_Page;
    }
    Update_Lang_Page(Show_Page);
}

void TFSoftOptions::LangClick(int k)
{
    const int i = 6 * (Show_Page - 1) + k - 1;
    if (i < 0 || i >= SL_Languages.size()) return;
    const QString name = SL_Languages[i].chopped(4);
    if (MessageDlg(LT(205) + Language_In_Use + LT(206) + name + LT(207), TMsgDlgType::mtConfirmation, mbYes | mbNo) != mrYes)
        return;
    Language_In_Use = name;
    // the texts change now; the remembered language only with OK
    const QString keep = Lang_Name;
    Lang_Name = name;
    Load_Lang();
    Lang_Name = keep;
    if (FFabricateFirmWare) FFabricateFirmWare->Change_Language();
    else Set_Lang();
    Set_Label(L_Sel_Lang, LT(193) + Language_In_Use);
}

void TFSoftOptions::Update_CheckBox()
{
    CB_Update->setEnabled(CB_En_Con->isChecked());
    if (!CB_En_Con->isChecked()) Btn_Check_Update->SetEnabled(false);
    Btn_Check_Update->SetEnabled(CB_Update->isEnabled() && CB_Update->isChecked());
}

void TFSoftOptions::CB_En_ConClick() { Update_CheckBox(); }

void TFSoftOptions::Btn_Check_UpdateClick()
{
    // events run during the check
    const QPointer<TFSoftOptions> self(this);
    const bool newer = Check_Version();
    if (!self) return;
    if (newer) {
        const QString address = TFFabricateFirmWare::Download_Page_URL(Check_HW_Code());
        LL_Check_Update->setText(QStringLiteral("<a href=\"") + address.toHtmlEscaped() + QStringLiteral("\">") + LT(203).toHtmlEscaped() + QStringLiteral("</a>"));
    } else {
        LL_Check_Update->setText(LT(204).toHtmlEscaped());
    }
    LL_Check_Update->show();
}

void TFSoftOptions::LL_Check_UpdateLinkClick(const QString& link) { OpenURL(link); }

void TFSoftOptions::Btn_OKClick()
{
    Lang_Name = Language_In_Use;
    Enable_Internet = CB_En_Con->isChecked();
    Enable_Update = CB_Update->isChecked();
    if (FFabricateFirmWare) FFabricateFirmWare->Set_Update_Timer(Enable_Internet && Enable_Update);
    SetModalResult(mrOk);
}

bool TFSoftOptions::eventFilter(QObject* watched, QEvent* e)
{
    if (e->type() == QEvent::MouseButtonRelease)
        for (int k = 0; k < Slots; ++k)
            if (watched == I_L[k] || watched == L_L[k]) {
                LangClick(k + 1);
                return true;
            }
    return TForm::eventFilter(watched, e);
}

// ------------------------------------------------------------------------- version check

QString TFSoftOptions::Check_SW_Code() { return QString::fromUtf16(Check_SW_Codes[Version_Model()]); }

QString TFSoftOptions::Own_Version() { return QString::fromUtf16(Model_Info(Version_Model()).Version); }

QString TFSoftOptions::Check_HW_Code() { return QString::fromUtf16(Model_Info(Version_Model()).HW_Code); }

QString TFSoftOptions::Version_Server()
{
    const QString env = qEnvironmentVariable("FABRICAT_VERSION_SERVER").trimmed();
    return env.isEmpty() ? TFFabricateFirmWare::Maker_Site() : env;
}

int TFSoftOptions::Conv_Version(const QString& text)
{
    const int blank = text.indexOf(QLatin1Char(' '));
    const QString s = Trim(blank < 0 ? text : text.mid(blank + 1));
    if (s.size() < 5) return -1;
    // decimal digits only: the run-time's integer syntax would read "$FFF" as hexadecimal
    int v = 0;
    for (const int i : {0, 2, 3, 4}) {
        const char16_t c = s[i].unicode();
        if (c < '0' || c > '9') return -1;
        v = v * 10 + (c - '0');
    }
    return v;
}

bool TFSoftOptions::Check_Version()
{
    THttpRequest rq;
    SplitHostPort(Version_Server(), rq.Host, rq.Port);
    rq.Target = "/home/download/GetversionSW.asp?nomesw=" + Check_SW_Code().toUtf8();
    const QByteArray host = rq.Host.toUtf8() + (rq.Port == 80 ? QByteArray() : ":" + QByteArray::number(rq.Port));
    rq.Headers = {{"Host", host},
                  {"Accept", "text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8"},
                  {"User-Agent", "Mozilla/3.0 (compatible; Indy Library)"}};
    rq.TimeoutMs = Version_Timeout_Ms;
    // any failure is the answer that no newer version exists; the window stays live meanwhile
    const THttpResult answer = HttpGet10Responsive(rq);
    const QString reply = answer.Ok ? QString::fromUtf8(answer.Body) : QString();
    const QString r = Trim(reply).toUpper();
    if (r.isEmpty() || r == QLatin1String("VER. 0.000")) return false;
    static const QRegularExpression versionReply(QStringLiteral("^VER\\. [0-9]+\\.[0-9]+$"));
    if (!versionReply.match(r).hasMatch()) return false;
    const int own = Conv_Version(Own_Version());
    const int remote = Conv_Version(Trim(reply));
    return own != -1 && remote != -1 && remote > own;
}
