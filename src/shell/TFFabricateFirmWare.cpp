#include "shell/TFFabricateFirmWare.h"

#include "platform/core/exception.h"
#include "platform/core/paths.h"
#include "platform/ui/dialogs.h"
#include "shell/state/lang.h"
#include "shell/state/model_table.h"
#include "shell/state/settings.h"
#include "shell/state/shared_state.h"

#include <QCloseEvent>
#include <QKeyEvent>

TFFabricateFirmWare* FFabricateFirmWare = nullptr;

TFFabricateFirmWare::TFFabricateFirmWare(QWidget* parent) : TForm(parent)
{
    setModal(false);
    setWindowFlags(Qt::Window);
}

void TFFabricateFirmWare::Create(const QString& exeDir)
{
    Lang_Texts.clear();
    Init_Folders(exeDir);
    Read_Settings();
    const TModelInfo& m = Model_Table();
    Main_Caption = QString::fromUtf16(m.Caption);
    SW_Code = QString::fromUtf16(m.SW_Code);
    SW_Desc = QString::fromUtf16(m.Description);
    SetCaption(Main_Caption);
    Load_Lang();
    const QString confFolder = PathJoin(Projects_Dir, Conf_Name);
    Conf_Dir = (!Conf_Name.isEmpty() && DirectoryExists(confFolder)) ? confFolder : QString();
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
