#include "shell/TFNew_Project.h"

#include "platform/core/paths.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/lb_button.h"
#include "state/lang.h"
#include "state/shared_state.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>

TFNew_Project* FNew_Project = nullptr;

TFNew_Project::TFNew_Project(QWidget* parent) : TForm(parent)
{
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    Apply_Window_Colour(this, Window_Colour);
    resize(331, 162);
}

void TFNew_Project::Create_Controls()
{
    Title = Make_Title_Panel(this, SW_Code);
    Label1 = New_Label(this, "Label1");
    Label1->move(16, 70);
    E_New_Proj = new QLineEdit(this);
    E_New_Proj->setObjectName(QStringLiteral("E_New_Proj"));
    E_New_Proj->setGeometry(16, 94, 297, 21);
    // Enter in the name field acts as OK
    QObject::connect(E_New_Proj, &QLineEdit::returnPressed, this, [this] { Btn_OKClick(); });
    P_Button = Make_Button_Panel(this);
    Btn_OK = Make_Button(P_Button, "Btn_OK", 85, 6, 110, 28);
    Btn_OK->SetGlyph(Shell_Glyph('o'));
    Btn_OK->OnClick = [this] { Btn_OKClick(); };
    Btn_Cancel = Make_Button(P_Button, "Btn_Cancel", 203, 6, 110, 28);
    Btn_Cancel->SetGlyph(Shell_Glyph('c'));
    Btn_Cancel->SetModalResult(mrCancel);
}

void TFNew_Project::FormCreate()
{
    Create_Controls();
    Set_Label(Title.L_SW_Code, SW_Code);
    SetClientSize(331, 162);
    Set_Lang();
}

void TFNew_Project::Set_Lang()
{
    SetCaption(LT(24));
    Set_Label(Title.L_SW_Desc, LT(25));
    Set_Label(Label1, LT(26));
    Btn_OK->SetCaption(LT(27));
    Btn_Cancel->SetCaption(LT(28));
}

void TFNew_Project::FormShow()
{
    E_New_Proj->clear();
    E_New_Proj->setFocus();
}

bool TFNew_Project::Valid_Conf_Name(const QString& name)
{
    if (name.isEmpty()) return false;
    for (QChar c : name)
        if (c.unicode() < 32 || QStringLiteral("/\\:*?\"<>|").contains(c)) return false;
    if (name.endsWith(QLatin1Char('.')) || name.endsWith(QLatin1Char(' '))) return false;
    // device names, also with an extension
    const QString base = name.section(QLatin1Char('.'), 0, 0).trimmed().toUpper();
    static const QStringList devices = {QStringLiteral("CON"), QStringLiteral("PRN"), QStringLiteral("AUX"), QStringLiteral("NUL")};
    if (devices.contains(base)) return false;
    if (base.size() == 4 && (base.startsWith(QLatin1String("COM")) || base.startsWith(QLatin1String("LPT"))) &&
        base[3] >= QLatin1Char('1') && base[3] <= QLatin1Char('9'))
        return false;
    return true;
}

namespace {
// Windows compares folder names without regard to case; so do we, so that "Line1" and
// "LINE1" never become two configurations.
bool Conf_Folder_Exists(const QString& name)
{
    const QStringList dirs = QDir(Projects_Dir).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
    for (const QString& d : dirs)
        if (d.compare(name, Qt::CaseInsensitive) == 0) return true;
    return false;
}
}  // namespace

void TFNew_Project::Btn_OKClick()
{
    const QString name = E_New_Proj->text();
    if (name.isEmpty()) {
        ShowError(LT(31));
        return;
    }
    if (!Valid_Conf_Name(name)) {
        ShowError(LT(29));
        return;
    }
    if (Conf_Folder_Exists(name)) {
        ShowError(LT(30));
        return;
    }
    const QString folder = PathJoin(Projects_Dir, name);
    if (!CreateDir(folder)) {
        ShowError(LT(29));
        return;
    }
    ForceDirectories(PathJoin(folder, QStringLiteral("bin")));  // a failure here is not reported
    Conf_Name = name;
    Conf_Dir = folder;
    Set_Files();
    SetModalResult(mrOk);
}
