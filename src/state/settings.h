#pragma once
// The program settings file Fabricat.xml beside the executable.
#include <QString>

QString Settings_File_Path();
// Reads the settings into the shared state; every group that cannot be read takes its
// defaults.  Conf_Dir is left to the caller.
void Read_Settings();
// Writes the settings from the shared state; throws EInOutError when the file cannot be
// written.
void Write_Settings();
