#pragma once
// The frame every update window shares: a title panel with the software code and the
// window's description, a button panel along the bottom, the colours and the font; and
// the two-page layout (address or port, then four option boxes) of the wizard windows.
#include "platform/ui/forms.h"
#include "platform/ui/graphics.h"
#include "shell/update_commands.h"

#include <QList>
#include <initializer_list>
#include <utility>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class TLbButton;

constexpr int Update_Title_Height = 69;
constexpr int Update_Buttons_Height = 40;

class TUpdateFrame : public TForm {
public:
    explicit TUpdateFrame(QWidget* parent = nullptr);

    QWidget* P_Title;
    QLabel* L_SW_Code;
    QLabel* L_SW_Desc;
    QWidget* P_Buttons;
    TLbButton* Btn_Cancel;
    TLbButton* Btn_Update;

    // True while a check or an update runs; the window then refuses to close.
    bool Busy() const { return FBusy; }

protected:
    // Places the title panel at the top and the button panel at the bottom.
    void LayoutFrame(int clientWidth, int clientHeight);
    // L_SW_Code shows SW_Code.
    void Show_SW_Code();
    QLabel* NewLabel(QWidget* parent, int left, int top);
    // The four octet edits (initial text "0") at lefts 35, 91, 147, 203 and the three dot
    // labels between them, 8 pixels lower; the last dot sits at lastDotLeft.
    void NewOctets(QWidget* parent, int top, int lastDotLeft);
    // The edits take the parts of Last_IP when it is a valid address; else they keep
    // their texts.
    void OctetsFromLastIP();
    // The typed address, checked (see Device_Address); false when it is no address.
    bool TypedAddress(QString& address) const;
    QComboBox* NewDropDownList(QWidget* parent, int left, int top, int width);
    TLbButton* NewComListButton(QWidget* parent, int left, int top);

    // Sets each label's or box's text to the language text of that index.
    void ApplyTexts(std::initializer_list<std::pair<QWidget*, int>> texts);

    // Runs `work` with the given controls disabled and closing refused, so that a second
    // press never nests a check or an update inside the first.
    void RunBusy(const QList<QWidget*>& controls, const std::function<void()>& work);

    // Starts an update program and waits for it.
    void Start_Updater(const TUpdateCommand& cmd);
    // Writes the job file of Ethernet_Update.exe; false, after an error box with the
    // platform's text, when it cannot be written (an old job file must then not be run).
    bool Write_Ethernet_Job(const QString& address, const TUpdateChoice& choice);
    void Start_Ethernet_Update();

    // Filter of the octet edits: a "." moves on to the next edit instead of being typed.
    // Returns true when the key was swallowed.
    bool OctetKey(QLineEdit* edit, QChar key);
    QList<QLineEdit*> FOctets;
    QList<QLabel*> FDots;

    // Whether a "." typed in the last edit is swallowed too.
    bool FSwallowInLast = false;

    bool eventFilter(QObject* watched, QEvent* e) override;
    void done(int r) override;

private:
    bool FBusy = false;
};

// The two-page windows: page 1 is the window's own (address or COM port), page 2 the
// four option boxes and the Update button.
class TUpdateWizard : public TUpdateFrame {
public:
    explicit TUpdateWizard(QWidget* parent = nullptr);

    TLbButton* Btn_Next;
    QLabel* L_Options;
    QCheckBox* CB_Firmware;
    QCheckBox* CB_Read_Firm;
    QCheckBox* CB_Conf;
    QCheckBox* CB_Read_Conf;

    // Software code, size, the four boxes ticked, texts.
    void FormCreate() override;
    virtual void Set_Lang() = 0;

    // The boxes as they stand.
    TUpdateChoice Choice() const;
    bool OnPage2() const;

protected:
    void ShowPage1();
    void ShowPage2();
    // The controls of page 1, hidden by the page change.
    QList<QWidget*> FPage1;
};

// The wizards that update through a COM port: page 1 chooses the port.
class TUpdateComWizard : public TUpdateWizard {
public:
    explicit TUpdateComWizard(QWidget* parent = nullptr);

    QComboBox* CB_Com;
    TLbButton* Btn_COM_List;

    void FormShow() override;
    void Btn_COM_ListClick() { update_ComPort(); }
    void Btn_NextClick();
    void Btn_UpdateClick();
    // The numbers of the serial ports present, ascending.
    QStringList EnumPorts() const;
    void update_ComPort();

protected:
    // The text of the "select a port" error, and the window's program and arguments.
    virtual int NoPortText() const = 0;
    virtual TUpdateCommand Command() const = 0;
};

// Starts the program with its parameter text and waits for it to end, through the main
// window's Start_Program (at most 150 s; a program that cannot be started is reported).
void Start_Updater(const TUpdateCommand& cmd);
