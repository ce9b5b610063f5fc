#pragma once
// Options: the user-interface language among the language files present, the internet
// switches, and the check for a newer version of the configurator.
#include "platform/ui/forms.h"
#include "platform/ui/window_look.h"

#include <QStringList>

class QCheckBox;
class QTabWidget;

class TFSoftOptions : public TForm {
public:
    explicit TFSoftOptions(QWidget* parent = nullptr);
    // Builds the controls, then the texts.
    void FormCreate() override;
    void FormShow() override;
    void Set_Lang();

    void Create_Lang_List();
    void Update_Lang_Page(int p);
    void Btn_NextClick(bool next);          // Next, or Previous
    void LangClick(int k);                  // slot 1..6
    void Update_CheckBox();
    void CB_En_ConClick();
    void Btn_Check_UpdateClick();
    void LL_Check_UpdateLinkClick(const QString& link);
    void Btn_OKClick();

    // True when the version server reports a version newer than this build's.
    static bool Check_Version();
    static int Conv_Version(const QString& text);
    // The version server, "host" or "host:port": the environment variable
    // FABRICAT_VERSION_SERVER, else the maker's site.
    static QString Version_Server();
    static int Version_Timeout_Ms;
    // The query value, own version and hardware code the version check uses for the model.
    static QString Check_SW_Code();
    static QString Own_Version();
    static QString Check_HW_Code();

    int Show_Page = 1;
    QStringList SL_Languages;
    QString Language_In_Use;

    TTitlePanel Title{};
    QTabWidget* PC_Options = nullptr;
    QWidget *TS_Language = nullptr, *TS_Con_Options = nullptr;
    QLabel *L_Sel_Lang = nullptr, *L_Page_Lang = nullptr;
    QLabel* I_L[6] = {};   // I_L1 ... I_L6: flags
    QLabel* L_L[6] = {};   // L_L1 ... L_L6: names
    TLbButton *Btn_Prev = nullptr, *Btn_Next = nullptr;
    QCheckBox *CB_En_Con = nullptr, *CB_Update = nullptr;
    TLbButton* Btn_Check_Update = nullptr;
    QLabel* LL_Check_Update = nullptr;
    QFrame* P_Button = nullptr;
    TLbButton *Btn_OK = nullptr, *Btn_Cancel = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void Create_Controls();
};

extern TFSoftOptions* FSoftOptions;
