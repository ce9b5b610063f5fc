#pragma once
// Step 1: creates a configuration folder (with its bin folder) under PROJECTS and opens it.
#include "platform/ui/forms.h"
#include "platform/ui/window_look.h"

class QLineEdit;

class TFNew_Project : public TForm {
public:
    explicit TFNew_Project(QWidget* parent = nullptr);
    // Builds the controls, then the texts.
    void FormCreate() override;
    void FormShow() override;
    void Set_Lang();
    void Btn_OKClick();

    // A name a configuration folder can carry: nothing that leaves PROJECTS or that a
    // Windows file system refuses (separators, reserved characters and device names,
    // a trailing dot or blank).
    static bool Valid_Conf_Name(const QString& name);

    TTitlePanel Title{};
    QLabel* Label1 = nullptr;
    QLineEdit* E_New_Proj = nullptr;
    QFrame* P_Button = nullptr;
    TLbButton *Btn_OK = nullptr, *Btn_Cancel = nullptr;

private:
    void Create_Controls();
};

extern TFNew_Project* FNew_Project;
