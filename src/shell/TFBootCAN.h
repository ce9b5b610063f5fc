#pragma once
// Update over the CAN bus through a USB-to-CAN converter on a COM port (models 891, 896,
// 890, 897, 895 and QTB900): port and baud rate, then the four options.
#include "shell/update_frame.h"

class TFBootCAN : public TUpdateComWizard {
public:
    explicit TFBootCAN(QWidget* parent = nullptr);

    QLabel* L_COM_List;
    QLabel* L_Baud;
    QComboBox* CB_CAN_Search;

    void Set_Lang() override;

protected:
    int NoPortText() const override { return 188; }
    TUpdateCommand Command() const override;
};

extern TFBootCAN* FBootCAN;
