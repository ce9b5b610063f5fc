#pragma once
// The range checks the communication parameters must pass before ParGen.xml is written.
#include "state/par_gen.h"

struct TParGenCheck {
    bool Ok = true;
    QString Message;  // the text of the first failure
    QString Key;      // the key whose value failed it
};

// Checks the model's values (as the parameters window collects them: texts as typed,
// list positions and flags) in the model's fixed order; the first failure ends the check.
// A number is decimal or hexadecimal with 0x; a blank or non-numeric text reads as -1.
TParGenCheck Check_ParGen(int modelCode, const TParGenMap& values);
