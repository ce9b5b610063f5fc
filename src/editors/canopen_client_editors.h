#pragma once
// The J1939 frames of the gateway's CANopen SDO client, and the CANopen devices it guards
// with the frames that report their state.  Both keep five fixed J1939 frames, each a row
// of controls: priority and data page chosen from lists, PGN, source address and
// mnemonic typed.
#include "editors/table_editor.h"

#include <QString>

class QComboBox;
class QLineEdit;
namespace pugi {
class xml_node;
}

struct TFixed_Frame_Row {
    QComboBox* CB_Pri = nullptr;   // null: the frame has no priority choice (written as "0")
    QComboBox* CB_DP = nullptr;
    QLineEdit *E_PGN = nullptr, *E_SA = nullptr, *E_Mnemonic = nullptr;

    // Frame k (from 1): indexes 0, PGN "0x000k", source address "0x0k", no mnemonic.
    void Set_Defaults(int k);
    // The first check failing on the row: 1 the PGN, 2 the source address, 3 a list without
    // a choice; 0 when it passes.
    int Failure() const;
};

// The five rows from the children of the document-level element `root` of the file; a
// row that cannot be read takes its defaults.  Unreadable files are reported.
void Load_Fixed_Frames(TFixed_Frame_Row (&rows)[5], const QString& path, const char* root);
// Appends "row" elements with Priority, DataPage, PGN, SA and Mnemonic.
void Save_Fixed_Frames(const TFixed_Frame_Row (&rows)[5], pugi::xml_node root);

class TFDefine_Client_SDO : public TForm {
public:
    explicit TFDefine_Client_SDO(QWidget* parent = nullptr);

    void FormCreate() override;
    void FormShow() override;
    void Set_Lang();
    void Btn_OKClick();
    bool Controlla_Dati();
    QByteArray Table_Document() const;

    TTitlePanel Title{};
    QFrame* P_Button = nullptr;
    TLbButton *Btn_OK = nullptr, *Btn_Cancel = nullptr;
    QLabel *L_Title_Col_Pri = nullptr, *L_Title_Col_DP = nullptr, *L_Title_Col_PGN = nullptr, *L_Title_Col_SA = nullptr,
           *L_Title_Col_Mnemonic = nullptr;
    QLabel *L_Title_Row_Req_Read = nullptr, *L_Title_Row_Res_Read = nullptr, *L_Title_Row_Req_Write1 = nullptr,
           *L_Title_Row_Req_Write2 = nullptr, *L_Title_Row_Res_Write = nullptr;
    // Request read, answer read, request write 1/2 and 2/2, answer write.
    TFixed_Frame_Row Rows[5];
};

class TFDefine_NodeGuard : public TTableEditor {
public:
    void FormCreate() override;
    void FormShow() override;
    // Writes both files, or neither.
    bool Save_Table() override;
    void Set_Lang() override;
    QByteArray Frames_Document() const;

    QFrame *Panel1 = nullptr, *Panel2 = nullptr;
    QLabel *L_NG_J1939_Title1 = nullptr, *L_NG_J1939_Title2 = nullptr, *L_NG_J1939_Pri = nullptr,
           *L_NG_J1939_DP = nullptr, *L_NG_J1939_PGN = nullptr, *L_NG_J1939_SA = nullptr, *L_NG_J1939_Mnemonic = nullptr;
    TFixed_Frame_Row Rows[5];

protected:
    TTableDesc Describe() override;
};

extern TFDefine_Client_SDO* FDefine_Client_SDO;
extern TFDefine_NodeGuard* FDefine_NodeGuard;
