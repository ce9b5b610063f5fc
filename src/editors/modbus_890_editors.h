#pragma once
// Model 890's Modbus master tables: the read requests, whose data go into the bytes of the
// J1939 transmit frames, and the write requests, whose data come from the bytes of the
// J1939 receive frames.  Each request carries a map text, "[a,b]" per point, edited in the
// map dialog.
#include "editors/table_editor.h"

// The map text of a request against its number of points: 1 valid, 2 syntax error, 3 a
// value out of range, 4 not one group per point.  TypePoint: a register type.
int Check_Map(const QString& str_map, int NumPoint, bool TypePoint);

// What the two request windows share: the map column, its check and the map dialog.
class TModbusReq890Editor : public TTableEditor {
public:
    void FormCreate() override;
    // Edits the map of a request row in the map dialog; Cancel there leaves it as it was.
    void Set_Map(int Index_Row);
    void Btn_RegMapClick();
    void Map_DblClickCell(TObject* Sender, int ARow, int ACol);

protected:
    // 1: a read table (transmit frames), 0: a write table (receive frames).
    virtual int Show_Type() const = 0;
    // The type of the row is one of registers.
    virtual bool Register_Type(int row) const = 0;
    // The attribute of the map column.
    static constexpr QStringView Map_Attribute = u"Regs_Status_Map";
    // The most points a request of the row's type can have, and the row check's message
    // that names it.
    virtual int NPoint_Max(int row) const = 0;
    virtual int NPoint_Msg() const = 0;
    // NPoint between 1 and NPoint_Max, for the columns `names`.
    TTableCheck NPoint_Check(const TColumnNames& names);
    // The map checks, run after the row's own checks, for the columns `names`.
    std::vector<TTableCheck> Map_Checks(const TColumnNames& names);
    // Counts the data bytes of those frames, before each check.
    void Read_Frame_Bytes();

private:
    int FFrame_Bytes = 0;   // data bytes of the frames the maps point into, read per check
    int FBeyond = 0;        // the first position of the failing row that lies past them
};

class TFModbusReadReq_890 : public TModbusReq890Editor {
protected:
    TTableDesc Describe() override;
    int Show_Type() const override { return 1; }
    bool Register_Type(int row) const override;
    int NPoint_Max(int row) const override;
    int NPoint_Msg() const override { return 297; }
};

class TFModbusWriteReq_890 : public TModbusReq890Editor {
protected:
    TTableDesc Describe() override;
    int Show_Type() const override { return 0; }
    bool Register_Type(int row) const override;
    int NPoint_Max(int row) const override;
    int NPoint_Msg() const override { return 271; }
};

extern TFModbusReadReq_890* FModbusReadReq_890;
extern TFModbusWriteReq_890* FModbusWriteReq_890;
