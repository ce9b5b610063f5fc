#pragma once
// The J1939 frame tables: the frames the gateway receives and those it transmits, one
// window per model family.
#include "editors/table_editor.h"

// Receive tables.
class TFReceiveJ1939 : public TTableEditor {
protected:
    TTableDesc Describe() override;
};

class TFReceive_J1939_892 : public TTableEditor {
protected:
    TTableDesc Describe() override;
};

class TFReceive_J1939_Frame_896 : public TTableEditor {
protected:
    TTableDesc Describe() override;

private:
    int FTotal = 0;   // bytes of the rows checked so far
};

// Transmit tables.
class TFTransmitJ1939 : public TTableEditor {
protected:
    TTableDesc Describe() override;
};

class TFTransmit_J1939_892 : public TTableEditor {
protected:
    TTableDesc Describe() override;
};

class TFTransmit_J1939_Frame_896 : public TTableEditor {
protected:
    TTableDesc Describe() override;

private:
    int FTotal = 0;
};

class TFTransmit_J1939_Frame_Atmel_872 : public TTableEditor {
protected:
    TTableDesc Describe() override;
};

// A comma list of byte values against the frame's byte count: 1 good, 2 a value outside
// 0..255, 3 as many values as Num_Byte is not.
int Check_Default_Values(const QString& Def_Val, int Num_Byte);

extern TFReceiveJ1939* FReceiveJ1939;
extern TFReceive_J1939_892* FReceive_J1939_892;
extern TFReceive_J1939_Frame_896* FReceive_J1939_Frame_896;
extern TFTransmitJ1939* FTransmitJ1939;
extern TFTransmit_J1939_892* FTransmit_J1939_892;
extern TFTransmit_J1939_Frame_896* FTransmit_J1939_Frame_896;
extern TFTransmit_J1939_Frame_Atmel_872* FTransmit_J1939_Frame_Atmel_872;
