#pragma once
// Update over an RS232 COM port with the device in boot mode (models 872 and 871 of the
// serial variant): the steps to follow and the port, then the four options.
#include "shell/update_frame.h"

class TFBootSer : public TUpdateComWizard {
public:
    explicit TFBootSer(QWidget* parent = nullptr);

    QLabel* L_Steps1;
    QLabel* L_Steps2;
    QLabel* L_Steps3;
    QLabel* L_Steps4;
    QLabel* L_Steps5;

    void Set_Lang() override;

protected:
    int NoPortText() const override { return 702; }
    TUpdateCommand Command() const override;
};

extern TFBootSer* FBootSer;
