#pragma once
// The plain CAN frames of the J1939 / CAN gateways: the frames received, each with a
// time-out, and the frames sent on a data change and/or periodically.  Each data byte of
// a frame is tied to a position of the gateway's data memory.
#include "editors/table_editor.h"

class TFReceive_CAN_Frames : public TTableEditor {
protected:
    TTableDesc Describe() override;
};

class TFTransmit_CAN_Frames : public TTableEditor {
protected:
    TTableDesc Describe() override;
};

extern TFReceive_CAN_Frames* FReceive_CAN_Frames;
extern TFTransmit_CAN_Frames* FTransmit_CAN_Frames;
