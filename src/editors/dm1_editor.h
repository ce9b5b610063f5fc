#pragma once
// Model 892's DM1 alarm table: each row ties one J1939 diagnostic trouble code and its
// lamp states to a bit of the DM1 area of the gateway memory.
#include "editors/table_editor.h"

class TFDefineDM1_J1939 : public TTableEditor {
protected:
    TTableDesc Describe() override;
};

extern TFDefineDM1_J1939* FDefineDM1_J1939;
