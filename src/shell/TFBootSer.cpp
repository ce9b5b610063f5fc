#include "shell/TFBootSer.h"

#include "platform/ui/lb_button.h"
#include "platform/ui/window_look.h"
#include "state/lang.h"
#include "state/model_table.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>

TFBootSer* FBootSer = nullptr;

TFBootSer::TFBootSer(QWidget* parent) : TUpdateComWizard(parent)
{
    L_Steps1 = NewLabel(this, 16, 75);
    L_Steps2 = NewLabel(this, 36, 93);
    L_Steps3 = NewLabel(this, 36, 112);
    L_Steps4 = NewLabel(this, 36, 131);
    L_Steps5 = NewLabel(this, 36, 176);
    CB_Com->move(54, 151);
    Btn_COM_List->move(209, 148);
    FPage1 << L_Steps1 << L_Steps2 << L_Steps3 << L_Steps4 << L_Steps5;
    ShowPage1();
}

void TFBootSer::Set_Lang()
{
    SetCaption(LT(686));
    Set_Label(L_SW_Desc, LT(687));
    Btn_COM_List->SetHint(LT(693));
    ApplyTexts({
        {L_Steps1, 688}, {L_Steps2, 689},    {L_Steps3, 690},     {L_Steps4, 691}, {L_Steps5, 692},
        {L_Options, 694}, {CB_Firmware, 695}, {CB_Read_Firm, 696}, {CB_Conf, 697}, {CB_Read_Conf, 698}});
    Btn_Cancel->SetCaption(LT(699));
    Btn_Next->SetCaption(LT(700));
    Btn_Update->SetCaption(LT(701));
}

TUpdateCommand TFBootSer::Command() const { return Ser_Update_Command(Model_Code, CB_Com->currentText(), Choice()); }
