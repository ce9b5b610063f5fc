#pragma once
// The main window's PROFIBUS steps of the J1939 / PROFIBUS slave gateway: the limits check
// that runs before its image or its GSD file is made, and the GSD step with its save dialog.

// True when the open configuration fits the PROFIBUS limits; otherwise shows the error box
// of the first limit it breaks and returns false.
bool Check_Modules_Creation();
// Asks for the file name (initial folder Conf_Dir, overwrite question) and writes the GSD
// file; refuses with an error box while the configuration has no parameters.
void Create_GSD_File();
// The GSD File button: the limits check, then the GSD step.
void Check_Create_GSD();
