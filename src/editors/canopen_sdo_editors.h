#pragma once
// The server SDO objects of the J1939 / CANopen gateway: objects of the manufacturer area
// of its dictionary made of bytes of J1939 frames.  One window maps the objects a CANopen
// client reads onto receive frames, the other the objects it writes onto transmit frames.
// The frames are listed on the left, the selected frame's objects beside them, and an
// entry panel creates, modifies, deletes, copies and pastes objects.
#include "editors/frame_item_editor.h"

#include <QString>
#include <vector>

class QComboBox;
class QLineEdit;

// An object of the dictionary made of bytes of a frame.
struct TServer_SDO {
    QString Index;          // as typed
    QString SubIndex;       // as typed
    int Dimension = 0;      // 0 = 4 bytes, 1 = 2 bytes, 2 = 1 byte
    int Byte1 = 0, Byte2 = 0, Byte3 = 0, Byte4 = 0;   // 0 = none, k = frame byte k; Byte1 the MSB
    int Send_on_Write = 0;  // write window: 1 = a write of the object sends the frame
};
struct TServer_SDO_Frame {
    QString Data_Page, PGN, Source_Address;
    int Num_Byte = 8;
    std::vector<TServer_SDO> Lista_SDOs;
};

class TServerSDOEditor : public TFrameItemEditorOf<TServer_SDO_Frame, TServer_SDO, &TServer_SDO_Frame::Lista_SDOs> {
public:
    using TSDO = TServer_SDO;
    using TJ1939_Frame = TServer_SDO_Frame;

    explicit TServerSDOEditor(bool write, QWidget* parent = nullptr);

    void FormCreate() override;
    void FormShow() override;
    void Set_Lang();

    void LB_J1939_FramesClick() override;
    void LB_SDOsClick();
    void CB_Dim_SDOChange();
    void Add_SDO() { Add_Item(); }
    void Delete_SDO() { Delete_Item(); }
    void Modify_SDO() { Modify_Item(); }
    void Copy_SDO() { Copy_Item(); }
    void Paste_SDO();
    void Btn_OKClick() override;
    bool Check_SDO_in_Use(int index, int subindex, int app_ind_J1939, int app_ind_MR) const;
    void Aggiorna_Lista_SDOs() { Refresh_Item_List(); }
    void Aggiorna_Green_Fields();
    void Aggiorna_Lista_Byte();
    void Aggiorna_Byte_SDO();

    // The document OK writes.
    QByteArray Table_Document() const;
    // The selected object's position; -1 when there is none.
    int Selected_SDO() const { return Selected_Item(); }

    bool Write_Window() const { return FWrite; }
    const QString& Table_File() const;

    // The copy buffer, kept from one showing to the next.
    QString ACopy_Index, ACopy_SubIndex;
    int ACopy_Dimension = 0, ACopy_Byte1 = 0, ACopy_Byte2 = 0, ACopy_Byte3 = 0, ACopy_Byte4 = 0, ACopy_Send_on_Write = 0;

    QLabel *L_SDO_List_Desc1 = nullptr, *L_SDO_List_Desc2 = nullptr, *L_SDO_Ind_Desc1 = nullptr,
           *L_SDO_Ind_Desc2 = nullptr, *L_SDO_SubInd_Desc = nullptr, *L_SDO_DIm_Desc = nullptr, *L_SDO_Byte1 = nullptr,
           *L_SDO_Byte2 = nullptr, *L_SDO_Byte3 = nullptr, *L_SDO_Byte4 = nullptr, *L_SDO_Send_on_Write = nullptr;
    QListWidget* LB_SDOs = nullptr;
    QLineEdit *E_Index_SDO = nullptr, *E_Sub_SDO = nullptr;
    QComboBox *CB_Dim_SDO = nullptr, *CB_Byte1_SDO = nullptr, *CB_Byte2_SDO = nullptr, *CB_Byte3_SDO = nullptr,
              *CB_Byte4_SDO = nullptr, *CB_SDO_Send_on_Write = nullptr;

protected:
    void Item_Click() override { LB_SDOsClick(); }
    void Paste_Item() override { Paste_SDO(); }
    QString Frame_Line(int frame) const override;
    QString Item_Line(int frame, int item) const override;
    bool Entry(TSDO& out, int frame, int sdo) const override;
    void Copy_To_Buffer(int frame, int sdo) override;

private:
    // The language text of the read window's index `read`, in this window.
    QString Text(int read) const;
    void Build();
    void Load();
    // Why the table cannot be written as it stands; empty when it can.
    QString Refusal() const;
    // The pairs of index and sub-index the other window's table holds.
    std::vector<std::pair<int, int>> Other_Table_Pairs() const;
    QString Object_Name(int frame, const TSDO& o) const;
    QComboBox* Byte_Selector(int k) const;

    bool FWrite;
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
