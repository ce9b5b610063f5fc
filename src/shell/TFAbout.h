#pragma once
// Information: which gateway model and software version this build is.  Fixed English texts.
#include "platform/ui/forms.h"

class QLabel;
class TLbButton;

class TFAbout : public TForm {
public:
    explicit TFAbout(QWidget* parent = nullptr);
    void FormShow() override;
    // The logo and the web address open the maker's home page for the model.
    void Label4Click();

    QLabel *Image1, *Label1, *L_Desc, *L_Code_T, *L_Version_T, *L_Doc_T, *L_SW_Code, *L_Version, *L_Doc_Code, *Label4;
    TLbButton* Btn_OK;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
};

extern TFAbout* FAbout;
