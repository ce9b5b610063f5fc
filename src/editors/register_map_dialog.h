#pragma once
// Model 890's map dialog: one row per point of a Modbus request, each naming the J1939
// frame bytes (and for coils and inputs the bit) that the point is exchanged with.  It
// lists the frames of the table concerned and turns a chosen frame and byte into the byte
// position the map text holds.  It writes no file; the request editor reads its grid.
#include "grid/control/pro_column_grid.h"
#include "platform/ui/forms.h"
#include "platform/ui/window_look.h"

#include <QString>
#include <vector>

class QComboBox;
class QFrame;
class QLabel;
class QSplitter;
class TLbButton;

struct TFrame_J1939 {
    QString Description;
    int NumByte = 0;
    int Offset_Start = 0;   // the bytes of all earlier frames
};

// The frames of the transmit table (Show_Type 1) or the receive table (0), in table order,
// with their byte counts and offsets.  No file, or one that cannot be read, gives none.
// A byte count outside 0 to Longest_Frame is read as the nearest of these bounds; the
// warning naming its rows goes to `warning` when given (empty when every count fitted).
std::vector<TFrame_J1939> Load_Frames_890(int Show_Type, QString* warning = nullptr);

// One group "[a,b]" taken from the front of s (text before "[" is skipped), s left trimmed
// after it; false when s holds no complete group.  a and b are -1 when they are no numbers.
// A view, so that a long map text is walked once instead of copied per group.
bool Take_Map_Group(QStringView& s, int& a, int& b);
// A group within range: byte positions 0..2000, and for bit types a bit 1..8.
bool Map_Group_Valid(int a, int b, bool registers);

// The columns of the map grid: the point (a register or a status), then the two numbers
// of its group: the frame positions of a register's high and low byte, or the frame
// position and the bit of a status.
enum TMapColumn : int { mcPoint = 0, mcFirst = 1, mcSecond = 2, mcCount = 3 };

class TFConf_Regs_890 : public TForm {
public:
    explicit TFConf_Regs_890(QWidget* parent = nullptr);
    ~TFConf_Regs_890() override;

    void FormCreate() override;
    void FormShow() override;
    void Set_Lang();

    void Decode_String_Setting();
    void CB_Sel_FrameJ1939Change();
    void Btn_ImportClick();
    void ACG_Modbus_RegsDblClickCell(TObject* Sender, int ARow, int ACol);
    // The map text of the grid: one group per row, cells parsed with default 0.
    QString Conf_Points() const;

    // Set by the caller before showing.
    int Show_Type = 1;
    QString STR_SlaveID, STR_Address, STR_Type, STR_NPoint, STR_Conf_Points;
    // Set by the dialog.
    int Type_Points = 1;
    int NB = 0;
    int Num_MAX_Byte = 0;
    std::vector<TFrame_J1939> Def_J1939;

    TTitlePanel Title{};
    QFrame* Panel1 = nullptr;
    QLabel *L_Slave_ID = nullptr, *L_Address = nullptr, *L_Type = nullptr, *L_NPoint = nullptr;
    QSplitter* Splitter1 = nullptr;
    QFrame* P_Compile = nullptr;
    QLabel *L_J1939Frame = nullptr, *L_SelByte = nullptr;
    QComboBox *CB_Sel_FrameJ1939 = nullptr, *CB_Available_Byte = nullptr;
    TLbButton* Btn_Import = nullptr;
    TProColumnGrid* ACG_Modbus_Regs = nullptr;
    QFrame* P_Button = nullptr;
    TLbButton *Btn_OK = nullptr, *Btn_Cancel = nullptr;

protected:
    // The keyboard starts on the map's first cell.
    void showEvent(QShowEvent* e) override;

private:
    void Set_Mode_Texts();
    void Fill_Bytes(int frame);
};

extern TFConf_Regs_890* FConf_Regs_890;
