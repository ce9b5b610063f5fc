#pragma once
// The server SDO objects of the J1939 / CANopen gateway: objects of the manufacturer area
// of its dictionary made of bytes of J1939 frames.  One window maps the objects a CANopen
// client reads onto receive frames, the other the objects it writes onto transmit frames.
// The frames are listed on the left, the selected frame's objects beside them, and an
// entry panel creates, modifies, deletes, copies and pastes objects.
#include "platform/ui/forms.h"
#include "platform/ui/window_look.h"

#include <QString>
#include <vector>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class TLbButton;

class TServerSDOEditor : public TForm {
public:
    struct TSDO {
        QString Index;          // as typed
        QString SubIndex;       // as typed
        int Dimension = 0;      // 0 = 4 bytes, 1 = 2 bytes, 2 = 1 byte
        int Byte1 = 0, Byte2 = 0, Byte3 = 0, Byte4 = 0;   // 0 = none, k = frame byte k; Byte1 the MSB
        int Send_on_Write = 0;  // write window: 1 = a write of the object sends the frame
    };
    struct TJ1939_Frame {
        QString Data_Page, PGN, Source_Address;
        int Num_Byte = 8;
        std::vector<TSDO> Lista_SDOs;
    };

    explicit TServerSDOEditor(bool write, QWidget* parent = nullptr);

    void FormCreate() override;
    void FormShow() override;
    void Set_Lang();

    void LB_J1939_FramesClick();
    void LB_SDOsClick();
    void CB_Dim_SDOChange();
    void Btn_Click(TLbButton* Sender);
    void Add_SDO();
    void Delete_SDO();
    void Modify_SDO();
    void Copy_SDO();
    void Paste_SDO();
    void Btn_OKClick();
    bool Check_SDO_in_Use(int index, int subindex, int app_ind_J1939, int app_ind_MR) const;
    void Aggiorna_Lista_Frame();
    void Aggiorna_Lista_SDOs();
    void Aggiorna_Green_Fields();
    void Aggiorna_Lista_Byte();
    void Aggiorna_Byte_SDO();

    // The document OK writes.
    QByteArray Table_Document() const;
    // The selected frame and object positions; -1 when there is none.
    int Selected_Frame() const;
    int Selected_SDO() const;

    bool Write_Window() const { return FWrite; }
    const QString& Table_File() const;

    std::vector<TJ1939_Frame> Lista_J1939_Frame;
    // The copy buffer, kept from one showing to the next.
    QString ACopy_Index, ACopy_SubIndex;
    int ACopy_Dimension = 0, ACopy_Byte1 = 0, ACopy_Byte2 = 0, ACopy_Byte3 = 0, ACopy_Byte4 = 0, ACopy_Send_on_Write = 0;

    TTitlePanel Title{};
    QFrame* P_Button = nullptr;
    QLabel *L_J1939_Frame_Desc1 = nullptr, *L_J1939_Frame_Desc2 = nullptr, *L_SDO_List_Desc1 = nullptr,
           *L_SDO_List_Desc2 = nullptr, *L_SDO_Ind_Desc1 = nullptr, *L_SDO_Ind_Desc2 = nullptr,
           *L_SDO_SubInd_Desc = nullptr, *L_SDO_DIm_Desc = nullptr, *L_SDO_Byte1 = nullptr, *L_SDO_Byte2 = nullptr,
           *L_SDO_Byte3 = nullptr, *L_SDO_Byte4 = nullptr, *L_SDO_Send_on_Write = nullptr;
    QListWidget *LB_J1939_Frames = nullptr, *LB_SDOs = nullptr;
    QLineEdit *E_Index_SDO = nullptr, *E_Sub_SDO = nullptr;
    QComboBox *CB_Dim_SDO = nullptr, *CB_Byte1_SDO = nullptr, *CB_Byte2_SDO = nullptr, *CB_Byte3_SDO = nullptr,
              *CB_Byte4_SDO = nullptr, *CB_SDO_Send_on_Write = nullptr;
    TLbButton *Btn_Create = nullptr, *Btn_Modify = nullptr, *Btn_Delete = nullptr, *Btn_Copy = nullptr,
              *Btn_Paste = nullptr, *Btn_OK = nullptr, *Btn_Cancel = nullptr;

private:
    // The language text of the read window's index `read`, in this window.
    QString Text(int read) const;
    void Build();
    void Load();
    // The object of the entry panel; false (after an error box) when it cannot be stored
    // at frame `frame`, object `sdo` (-1: a new object).
    bool Entry(TSDO& out, int frame, int sdo) const;
    // Why the table cannot be written as it stands; empty when it can.
    QString Refusal() const;
    // The pairs of index and sub-index the other window's table holds.
    std::vector<std::pair<int, int>> Other_Table_Pairs() const;
    QString Object_Name(int frame, const TSDO& o) const;
    QComboBox* Byte_Selector(int k) const;

    bool FWrite;
    bool FRefreshing = false;   // the lists are being refilled, not clicked
};

class TFDefine_Server_SDO_Read : public TServerSDOEditor {
public:
    explicit TFDefine_Server_SDO_Read(QWidget* parent = nullptr) : TServerSDOEditor(false, parent) {}
};

class TFDefine_Server_SDO_Write : public TServerSDOEditor {
public:
    explicit TFDefine_Server_SDO_Write(QWidget* parent = nullptr) : TServerSDOEditor(true, parent) {}
};

extern TFDefine_Server_SDO_Read* FDefine_Server_SDO_Read;
extern TFDefine_Server_SDO_Write* FDefine_Server_SDO_Write;
