#pragma once
// Step 1: lists the configurations under PROJECTS and returns the chosen name.
#include "platform/ui/forms.h"
#include "platform/ui/window_look.h"

#include <QStringList>

class QListWidget;

class TFOpenConf : public TForm {
public:
    explicit TFOpenConf(QWidget* parent = nullptr);
    // Builds the controls, then the texts.
    void FormCreate() override;
    void FormShow() override;
    void Set_Lang();
    void ListBox1Click();
    void Load_Existing_Configuration();
    // Index in SL of the first name equal to name, letters a to z compared without case; -1.
    int Search_Open_Conf(const QString& name) const;

    QStringList SL;
    QString Name_Conf;   // kept from one showing to the next

    TTitlePanel Title{};
    QLabel* Label1 = nullptr;
    QListWidget* ListBox1 = nullptr;
    QFrame* P_Button = nullptr;
    TLbButton *Btn_OK = nullptr, *Btn_Cancel = nullptr;

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    void Create_Controls();
    void Place_Controls(const QSize& size);
};

extern TFOpenConf* FOpenConf;
