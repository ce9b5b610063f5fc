#pragma once
// The PDO tables of the J1939 / CANopen gateway: the transmit PDOs, each fed by a J1939
// receive frame, and the receive PDOs, each feeding a J1939 transmit frame.
#include "editors/table_editor.h"

#include <QStringList>

// What both PDO windows share: the J1939 Frame column, whose items are the frames of a
// frame table as it stands when the window is shown, stored in the file by frame number.
class TPdoEditor : public TTableEditor {
public:
    void FormShow() override;

    // The frame item texts in item order; item k (from 1) stands for frame number k.
    QStringList SL;

    // "k;PGN;SourceAddress;" of the k-th row element of a frame table.
    static QString Frame_Item(int k, const QString& pgn, const QString& sourceAddress);

protected:
    // The frame table whose frames the column offers.
    virtual const QString& Frame_File() const = 0;
    // Columns 1 to 4 with their header texts from `header` on.
    std::vector<TTableColumn> Pdo_Columns(int header);
    // The checks every PDO passes, with their messages from `msg` on.
    std::vector<TTableCheck> Pdo_Checks(const TColumnNames& col, int msg);

private:
    void Load_Frames();
    QStringList FUnbound;   // rows of the last load whose frame number names no frame
};

class TFDefine_TPDO : public TPdoEditor {
protected:
    TTableDesc Describe() override;
    const QString& Frame_File() const override;
};

class TFDefine_RPDO : public TPdoEditor {
protected:
    TTableDesc Describe() override;
    const QString& Frame_File() const override;
};

extern TFDefine_TPDO* FDefine_TPDO;
extern TFDefine_RPDO* FDefine_RPDO;
