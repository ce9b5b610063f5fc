#pragma once
// The PROFIBUS limits of the J1939 / PROFIBUS slave gateway, checked before its image or its
// GSD file is made: no module above 64 bytes, at most 61 modules, at most 244 data bytes.

// 0 when the open configuration fits; otherwise the index of the language text that says
// which limit it breaks (717 module size, 718 module count, 719 data size).  The first
// failing check decides.
int Check_Profibus_Limits();
