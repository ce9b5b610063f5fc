#pragma once
// Step 1: lists the configurations under PROJECTS and returns the chosen name.
#include "platform/ui/forms.h"
#include "platform/ui/window_look.h"

#include <QStringList>

class QListWidget;

class TFOpenConf : public TForm {
public:
    explicit TFOpenConf(QWidget* parent = nullptr);
    void FormCreate() override;
    void FormShow() override;
    void Set_Lang();
    void ListBox1Click();
    void Load_Existing_Configuration();
    // Index in SL of the first name equal to name, letters a to z compared without case; -1.
    int Search_Open_Conf(const QString& name) const;

    QStringList SL;
    QString Name_Conf;   // kept from one showing to the next

    TTitlePanel Title;
    QLabel* Label1;
    QListWidget* ListBox1;
    QFrame* P_Button;
    TLbButton *Btn_OK, *Btn_Cancel;

protected:
    void resizeEvent(QResizeEvent* e) override;
};

extern TFOpenConf* FOpenConf;
