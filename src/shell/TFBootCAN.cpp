#include "shell/TFBootCAN.h"

#include "platform/ui/lb_button.h"
#include "platform/ui/window_look.h"
#include "state/lang.h"
#include "state/model_table.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>

TFBootCAN* FBootCAN = nullptr;

TFBootCAN::TFBootCAN(QWidget* parent) : TUpdateComWizard(parent)
{
    L_COM_List = NewLabel(this, 16, 75);
    L_Baud = NewLabel(this, 16, 136);
    CB_CAN_Search = NewDropDownList(this, 36, 158, 149);
    FPage1 << L_COM_List << L_Baud << CB_CAN_Search;
    ShowPage1();
}

void TFBootCAN::Set_Lang()
{
    SetCaption(LT(163));
    Set_Label(L_SW_Desc, LT(164));
    Btn_COM_List->SetHint(LT(165));
    ApplyTexts({{L_COM_List, 166}, {L_Baud, 167},       {L_Options, 180},
                                              {CB_Firmware, 181}, {CB_Read_Firm, 182}, {CB_Conf, 183},
                                              {CB_Read_Conf, 184}});
    CB_CAN_Search->clear();
    for (int i = 168; i <= 179; ++i) CB_CAN_Search->addItem(LT(i));
    CB_CAN_Search->setCurrentIndex(0);
    Btn_Cancel->SetCaption(LT(185));
    Btn_Next->SetCaption(LT(186));
    Btn_Update->SetCaption(LT(187));
}

TUpdateCommand TFBootCAN::Command() const
{
    return CAN_Update_Command(Model_Code, CB_Com->currentText(), CB_CAN_Search->currentIndex(), Choice());
}
