#pragma once
// Modbus registers mapped onto the data bytes of J1939 frames: for each frame of the
// receive (or transmit) frame table, the registers that take their high and low byte from
// (or give them to) bytes of that frame.  Frames are named by their position in the frame
// table file; the window holds no copy of the frame table.
#include "editors/frame_item_editor.h"
#include "editors/table_editor.h"

#include <QString>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;

// One register of a frame: byte numbers are 1-based, 0 meaning none.
struct TMod_Reg {
    QString Ind_Mod;   // the register index as typed
    int32_t HiPart = 0;
    int32_t LoPart = 0;
    int32_t Write = 0;   // transmit: 1 = a Modbus write to the register sends the frame
};

// One frame of the frame table and the registers mapped on it, in creation (or file) order.
struct TJ1939_Frame {
    QString Priority;   // transmit only
    QString Data_Page;
    QString PGN;
    QString Source_Address;
    int32_t Num_Byte = 8;   // the bytes the byte selectors offer
    std::vector<TMod_Reg> Lista_Mod_Reg;
};

// What tells the receive window from the transmit window.
struct TMappingDesc {
    bool Transmit = false;
    const QString* Frame_File = nullptr;     // the frame table
    const QString* Mapping_File = nullptr;   // the mapping this window writes
};

class TDefineJ1939 : public TFrameItemEditorOf<TJ1939_Frame, TMod_Reg, &TJ1939_Frame::Lista_Mod_Reg> {
public:
    explicit TDefineJ1939(QWidget* parent = nullptr);

    void FormCreate() override;
    void FormShow() override;
    void Set_Lang();

    void LB_J1939_FramesClick() override;
    void LB_Modbus_RegsClick();
    void Btn_OKClick() override;

    void Add_Mod_Reg() { Add_Item(); }
    void Modify_Mod_Reg() { Modify_Item(); }
    void Delete_Mod_Reg() { Delete_Item(); }
    void Copy_Mod_Reg() { Copy_Item(); }
    void Paste_Mod_Reg();
    // A register other than the one at (app_ind_J1939, app_ind_MR) already has the index.
    bool Check_Mod_Reg_in_Use(int32_t ind_MR, int32_t app_ind_J1939, int32_t app_ind_MR) const;

    void Aggiorna_Lista_ModReg() { Refresh_Item_List(); }
    void Aggiorna_Green_Fields();
    void Aggiorna_Lista_Byte();

    // The mapping document as OK writes it.
    QByteArray Mapping_Document() const;
    // The first register whose high or low byte is not a byte of its frame (the frame
    // table changed since it was mapped): its message, and the frame and register it names
    // are selected.  Empty when every register fits its frame.
    QString Check_Stale_Mapping();

    const TMappingDesc& Desc() const { return FDesc; }
    // The selected register; -1 when none counts as selected.
    int Selected_Register() const { return Selected_Item(); }

    QString ACopy_Ind_Mod;
    int32_t ACopy_HiPort = 0, ACopy_LoPort = 0, ACopy_Write = 0;

    QLabel *L_Mod_Reg_Desc1 = nullptr, *L_Mod_Reg_Desc2 = nullptr, *L_Mod_Ind_Desc1 = nullptr,
           *L_Mod_Ind_Desc2 = nullptr, *L_High_Part_Desc1 = nullptr, *L_High_Part_Desc2 = nullptr,
           *L_Low_Part_Desc1 = nullptr, *L_Low_Part_Desc2 = nullptr, *L_Send_on_Write = nullptr;
    QListWidget* LB_Modbus_Regs = nullptr;
    QLineEdit* E_Index_Modbus = nullptr;
    QComboBox *CB_Byte_High_Part = nullptr, *CB_Byte_Low_Part = nullptr, *CB_SendJ1939_OnModWrite = nullptr;

protected:
    virtual TMappingDesc Describe() = 0;
    void Item_Click() override { LB_Modbus_RegsClick(); }
    void Paste_Item() override { Paste_Mod_Reg(); }
    QString Frame_Line(int frame) const override;
    QString Item_Line(int frame, int reg) const override;
    // The index and bytes of the entry fields, checked for a register at (frame, reg); false
    // after the error box.
    bool Entry(TMod_Reg& out, int frame, int reg) const override;
    void Copy_To_Buffer(int frame, int reg) override;

private:
    void Build();
    void Load_Frames();
    void Load_Mapping();
    // Lang_Texts of the window: the receive window's index `i` (114 ...), moved to the
    // transmit window's.
    QString Text(int receiveIndex) const;
    // Selects a register of a frame as the user's picks would.
    void Show_Register(int frame, int reg);

    TMappingDesc FDesc;
};

class TFDefineRecJ1939 : public TDefineJ1939 {
protected:
    TMappingDesc Describe() override;
};

class TFDefineTransJ1939 : public TDefineJ1939 {
protected:
    TMappingDesc Describe() override;
};

extern TFDefineRecJ1939* FDefineRecJ1939;
extern TFDefineTransJ1939* FDefineTransJ1939;
