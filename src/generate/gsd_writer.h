#pragma once
// PROFIBUS DP device description (GSD) of the J1939 / PROFIBUS slave gateway.  The
// modules follow the configuration's J1939 frames: received frames are input data for
// the master, transmitted frames output data.
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

struct TGSD_Sizes {
    int Profi_Module = 0;       // 1 = one module per J1939 frame, otherwise modules of up to 64 bytes
    int Profi_Send_J1939 = 0;   // 1 = one status bit per transmit frame in both directions
    std::vector<int> Rx_Frame_Sizes;   // whole sizes, so that no oversized frame passes as a small one
    // 64-bit: thirty frames of any size add up without overflow, and are then refused
    int64_t Input_Len = 0;
    int64_t Output_Len = 0;
    int Status_Bytes = 0;
    int64_t In_Modules = 0;
    int64_t Out_Modules = 0;
};

extern TGSD_Sizes GSD_Sizes;

// One module of the description: input (0x42) or output (0x82) data of Size bytes.
struct TGSD_Module {
    bool Input;
    int Size;
};

// Module numbers are one identifier byte.
constexpr int Max_GSD_Modules = 255;

// Fills GSD_Sizes from ParGen.xml and the two J1939 frame files of the open configuration.
// Refuses, with an Exception naming the file and row, a frame file the device image refuses
// too and a received frame of negative size.
void Compute_GSD_Sizes();
// The modules in the order they are numbered, from GSD_Sizes.  The status modules are left
// out when there is no transmit frame, since they would carry no data.  A per-frame module
// outside 1 to 64 bytes cannot be described by its identifier byte and is refused with an
// Exception naming the file and row; so is a list of more than Max_GSD_Modules modules.
std::vector<TGSD_Module> GSD_Modules();
// The whole text, one entry per line, from GSD_Sizes.
QStringList GSD_Lines();
// Computes the sizes and saves the text (ASCII, CR LF after every line) through a temporary
// file; throws EInOutError when the file cannot be written.
void Write_GSD_File(const QString& fileName);
// The name the file is saved under: the chosen one, with ".gsd" appended unless it already
// ends in ".gsd" (in any letter case).
QString GSD_File_Name(const QString& chosen);
