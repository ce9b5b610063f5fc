#include "shell/create_gsd.h"

#include "generate/gsd_checks.h"
#include "generate/gsd_writer.h"
#include "platform/core/paths.h"
#include "platform/ui/dialogs.h"
#include "state/lang.h"
#include "state/shared_state.h"

bool Check_Modules_Creation()
{
    const int text = Check_Profibus_Limits();
    if (text == 0) return true;
    ShowError(LT(text));
    return false;
}

void Create_GSD_File()
{
    if (!FileExists(File_ParGen)) {
        ShowError(LT(714));
        return;
    }
    FileDialogCall dialog{};
    dialog.Save = true;
    dialog.InitialDir = Conf_Dir;
    dialog.Filter = QStringLiteral("Generic Station Description (*.gsd)|*.gsd");
    const QString chosen = ExecuteFileDialog(dialog);
    if (chosen.isEmpty()) return;
    const QString name = GSD_File_Name(chosen);
    if (FileExists(name) && MessageDlg(LT(713), TMsgDlgType::mtConfirmation, mbYes | mbNo) != mrYes) return;
    Write_GSD_File(name);
}

void Check_Create_GSD()
{
    if (Check_Modules_Creation()) Create_GSD_File();
}
