#include "generate/gsd_checks.h"

#include "generate/gen_document.h"
#include "state/shared_state.h"

#include <cstdint>

int Check_Profibus_Limits()
{
    TGenDocument par;
    const bool loaded = par.Load(File_ParGen);
    const bool modulePerFrame = loaded && par.Key_Flag("Profi_Module");
    const bool sendStatus = loaded && par.Key_Flag("Profi_Send_J1939");
    if (!modulePerFrame && !sendStatus) return 0;

    // a missing file counts as no rows
    TGenDocument rx, tx;
    rx.Load(File_J1939_Receive);
    tx.Load(File_J1939_Transmit);
    if (modulePerFrame) {
        for (int i = 0; i < rx.Row_Count(); ++i) {
            const TGenRow row = rx.Row(i);
            if (row.Flag_Trim_Upper("TransportProtocol") && row.Int_Def("NumBytes", 0) > 64) return 717;
        }
        if (sendStatus && rx.Row_Count() + tx.Row_Count() + 2 > 61) return 718;
    }
    if (sendStatus) {
        const int status = (tx.Row_Count() + 7) / 8;
        if (status > 0) {
            int64_t total = status;
            for (int i = 0; i < rx.Row_Count(); ++i) {
                const TGenRow row = rx.Row(i);
                total += row.Flag_Exact("TransportProtocol") ? row.Int_Def("NumBytes", 0) : 8;
            }
            if (total > 244) return 719;
        }
    }
    return 0;
}
