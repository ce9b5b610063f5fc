#pragma once
// Command lines of the external update programs (serial, CAN, USB and TCP).  Each is built
// as a list of arguments and handed over as one parameter text in which only blanks
// separate and double quotes group; no shell is involved, and an argument that this
// quoting cannot carry is refused, so nothing the user typed or chose can add or split
// arguments.
#include "shell/update_job.h"

#include <QString>
#include <QStringList>

struct TUpdateCommand {
    QString Program;         // full path in Exe_Dir
    QStringList Arguments;
    bool IsValid() const { return !Program.isEmpty(); }
};

// The four option words: "FW"/"NO", "FR"/"NO", "PW"/"NO", "PR"/"NO", each from its own box.
QStringList Option_Words(const TUpdateChoice& c);
// The words of the one-page window's update option (0 both, 1 firmware, 2 configuration).
QStringList Update_Option_Words(int option, bool readBack);

// Each returns an invalid command for a model that has no such program.
// CAN: COM port text (as "COM3"), baud-rate index, option words, firmware, configuration.
TUpdateCommand CAN_Update_Command(int modelCode, const QString& comPort, int baudIndex, const TUpdateChoice& c);
// Serial boot mode (models 872, 871 without Ethernet): "\\.\COMn", words, for 872 "PG" "LP".
TUpdateCommand Ser_Update_Command(int modelCode, const QString& comPort, const TUpdateChoice& c);
// USB: "\\.\COMn" and the update option's words.
TUpdateCommand USB_Update_Command(int modelCode, const QString& comPort, int option, bool readBack);
// TCP (models 893, 894, 871 with Ethernet): address, "2007", words, firmware, configuration.
TUpdateCommand TCP_Update_Command(int modelCode, const QString& address, const TUpdateChoice& c);

// The parameter text of the command: arguments separated by one blank, paths in double
// quotes.  False when an argument holds a double quote, which no quoting can carry.
bool Parameter_Text(const TUpdateCommand& cmd, QString& text);
