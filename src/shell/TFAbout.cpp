#include "shell/TFAbout.h"

#include "platform/ui/url_opener.h"
#include "shell/TFFabricateFirmWare.h"
#include "platform/ui/lb_button.h"
#include "platform/ui/window_look.h"
#include "state/model_table.h"

#include <QEvent>
#include <QLabel>
#include <QPainter>

TFAbout* FAbout = nullptr;

namespace {
QPixmap Logo()
{
    QPixmap pm(81, 81);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setBrush(QColor(30, 80, 150));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRect(2, 2, 77, 77), 12, 12);
    p.setPen(Qt::white);
    QFont f(QStringLiteral("Verdana"));
    f.setPixelSize(44);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRect(2, 2, 77, 77), Qt::AlignCenter, QStringLiteral("K"));
    return pm;
}
}  // namespace

TFAbout::TFAbout(QWidget* parent) : TForm(parent)
{
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    Apply_Window_Colour(this, Window_Colour);
    SetCaption(QStringLiteral("About..."));
    setFont(QFont(QStringLiteral("Verdana"), 8));
}

void TFAbout::FormCreate()
{
    auto label = [this](const char* name, const QString& text, int left, int top) {
        QLabel* l = New_Label(this, name);
        l->move(left, top);
        Set_Label(l, text);
        return l;
    };
    Image1 = label("Image1", QString(), 12, 12);
    Image1->setPixmap(Logo());
    Image1->resize(81, 81);
    Image1->setCursor(Qt::PointingHandCursor);
    Label1 = label("Label1", QStringLiteral("Software Fabricat "), 108, 12);
    QFont bold = font();
    bold.setBold(true);
    Label1->setFont(bold);
    Label1->adjustSize();
    L_Desc = label("L_Desc", QString(), 108, 30);
    L_Code_T = label("L_Code_T", QStringLiteral("Software Code : "), 108, 52);
    L_Version_T = label("L_Version_T", QStringLiteral("Version :"), 108, 68);
    L_Doc_T = label("L_Doc_T", QStringLiteral("Document Code :"), 108, 84);
    L_SW_Code = label("L_SW_Code", QString(), 230, 52);
    L_Version = label("L_Version", QString(), 230, 68);
    L_Doc_Code = label("L_Doc_Code", QString(), 230, 84);
    Label4 = label("Label4", TFFabricateFirmWare::Maker_Site(), 12, 118);
    QFont link = font();
    link.setUnderline(true);
    Label4->setFont(link);
    QPalette pal = Label4->palette();
    pal.setColor(QPalette::WindowText, Qt::blue);
    Label4->setPalette(pal);
    Label4->adjustSize();
    Label4->setCursor(Qt::PointingHandCursor);
    Image1->installEventFilter(this);
    Label4->installEventFilter(this);
    Btn_OK = Make_Button(this, "Btn_OK", 306, 110, 88, 28);
    Btn_OK->SetGlyph(LbKindGlyph(bkOK));   // normal and grey image
    Btn_OK->SetCaption(QStringLiteral("OK"));
    Btn_OK->SetModalResult(mrOk);
    Btn_OK->SetColorWhenDown(clYellow);
    SetClientSize(406, 148);
}

void TFAbout::FormShow()
{
    if (!Is_Valid_Model_Code(Model_Code)) return;
    const TModelInfo& m = Model_Info(Model_Code);
    Set_Label(L_Desc, QString::fromUtf16(m.Description));
    Set_Label(L_SW_Code, QString::fromUtf16(m.SW_Code));
    Set_Label(L_Version, QString::fromUtf16(m.Version));
    Set_Label(L_Doc_Code, QString::fromUtf16(m.Doc_Code));
    SetClientSize(406, 148);
}

void TFAbout::Label4Click()
{
    if (!Is_Valid_Model_Code(Model_Code)) return;
    OpenURL(TFFabricateFirmWare::Home_Page_URL(QString::fromUtf16(Model_Info(Model_Code).SW_Code)));
}

bool TFAbout::eventFilter(QObject* watched, QEvent* e)
{
    if ((watched == Image1 || watched == Label4) && e->type() == QEvent::MouseButtonRelease) {
        Label4Click();
        return true;
    }
    return TForm::eventFilter(watched, e);
}
