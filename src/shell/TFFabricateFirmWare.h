#pragma once
// The main window: the step list of the build's model.  Its creation step runs the
// program's start-up; closing it writes the settings.
#include "platform/ui/forms.h"

class TFFabricateFirmWare : public TForm {
public:
    explicit TFFabricateFirmWare(QWidget* parent = nullptr);

    // The creation step: start-up of the whole program with the executable's folder.
    void Create(const QString& exeDir);

    void Set_Files();
    // Writes Fabricat.xml; a failure is shown in an error box.
    void Save_Setting();

protected:
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
};

extern TFFabricateFirmWare* FFabricateFirmWare;
