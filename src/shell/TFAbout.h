#pragma once
// Information: which gateway model and software version this build is.  Fixed English texts.
#include "platform/ui/forms.h"

class QLabel;
class TLbButton;

class TFAbout : public TForm {
public:
    explicit TFAbout(QWidget* parent = nullptr);
    // Builds the controls.
    void FormCreate() override;
    void FormShow() override;
    // The logo and the web address open the maker's home page for the model.
    void Label4Click();

    QLabel *Image1 = nullptr, *Label1 = nullptr, *L_Desc = nullptr, *L_Code_T = nullptr, *L_Version_T = nullptr,
           *L_Doc_T = nullptr, *L_SW_Code = nullptr, *L_Version = nullptr, *L_Doc_Code = nullptr, *Label4 = nullptr;
    TLbButton* Btn_OK = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
};

extern TFAbout* FAbout;
