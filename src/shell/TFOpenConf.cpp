#include "shell/TFOpenConf.h"

#include "platform/ui/lb_button.h"
#include "state/lang.h"
#include "state/shared_state.h"

#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QResizeEvent>

TFOpenConf* FOpenConf = nullptr;

TFOpenConf::TFOpenConf(QWidget* parent) : TForm(parent)
{
    Apply_Window_Colour(this, Window_Colour);
    resize(377, 351);
}

void TFOpenConf::Create_Controls()
{
    Title = Make_Title_Panel(this, SW_Code);
    Label1 = New_Label(this, "Label1");
    Label1->move(16, 70);
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    QObject::connect(ListBox1, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0) ListBox1Click();
    });
    P_Button = Make_Button_Panel(this);
    Btn_OK = Make_Button(P_Button, "Btn_OK", 0, 6, 110, 28);
    Btn_OK->SetGlyph(Shell_Glyph('o'));
    Btn_OK->SetModalResult(mrOk);
    Btn_Cancel = Make_Button(P_Button, "Btn_Cancel", 0, 6, 110, 28);
    Btn_Cancel->SetGlyph(Shell_Glyph('c'));
    Btn_Cancel->SetModalResult(mrCancel);
}

void TFOpenConf::FormCreate()
{
    Create_Controls();
    Set_Label(Title.L_SW_Code, SW_Code);
    resize(377, 351);
    Place_Controls(size());
    Set_Lang();
}

void TFOpenConf::Set_Lang()
{
    SetCaption(LT(32));
    Set_Label(Title.L_SW_Desc, LT(33));
    Set_Label(Label1, LT(34));
    Btn_OK->SetCaption(LT(35));
    Btn_Cancel->SetCaption(LT(36));
}

void TFOpenConf::resizeEvent(QResizeEvent* e)
{
    TForm::resizeEvent(e);
    Place_Controls(e->size());
}

void TFOpenConf::Place_Controls(const QSize& size)
{
    // before the creation step there is nothing to place
    if (!ListBox1) return;
    // the list follows all four sides, the buttons the right edge
    const int w = size.width(), h = size.height();
    ListBox1->setGeometry(16, 94, std::max(0, w - 32), std::max(0, h - 94 - 40 - 8));
    Btn_Cancel->move(w - 16 - 110, 6);
    Btn_OK->move(w - 16 - 110 - 8 - 110, 6);
}

void TFOpenConf::Load_Existing_Configuration()
{
    SL.clear();
    // hidden folders are not listed; the names are sorted, as the folder enumeration has no order
    SL = QDir(Projects_Dir).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
}

int TFOpenConf::Search_Open_Conf(const QString& name) const
{
    auto lower = [](QString s) {
        for (QChar& c : s)
            if (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) c = QChar(c.unicode() + 32);
        return s;
    };
    const QString key = lower(name);
    for (int i = 0; i < SL.size(); ++i)
        if (lower(SL[i]) == key) return i;
    return -1;
}

void TFOpenConf::FormShow()
{
    Load_Existing_Configuration();
    ListBox1->blockSignals(true);
    ListBox1->clear();
    ListBox1->addItems(SL);
    ListBox1->blockSignals(false);
    const QString current = Conf_Dir.mid(Projects_Dir.size() + 1);
    const int i = Search_Open_Conf(current);
    if (i >= 0) ListBox1->setCurrentRow(i);
    else if (ListBox1->count() > 0) ListBox1->setCurrentRow(0);
    if (ListBox1->currentRow() >= 0) Name_Conf = ListBox1->currentItem()->text();
}

void TFOpenConf::ListBox1Click()
{
    if (QListWidgetItem* it = ListBox1->currentItem()) Name_Conf = it->text();
}
