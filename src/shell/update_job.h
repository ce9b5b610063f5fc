#pragma once
// The job file Ethernet_Update.xml that Ethernet_Update.exe reads: which files to write
// to which device addresses, for the models updated through it (892, 872, 860).
#include <QByteArray>
#include <QString>

namespace pugi { class xml_document; }

// What to write and read back.  The one-page window maps its update option onto these:
// firmware unless option 2, configuration unless option 1, both read-backs from its box.
struct TUpdateChoice {
    bool Firmware = true;
    bool Read_Firm = true;
    bool Conf = true;
    bool Read_Conf = true;
};
TUpdateChoice Update_Choice_From_Option(int option, bool readBack);

// True for the models whose update goes through the job file.
bool Uses_Ethernet_Job(int modelCode);

// Builds the whole job document for modelCode (2, 7 or 10) from Master_Dir and Conf_Dir.
void Build_Ethernet_Job(pugi::xml_document& doc, int modelCode, const QString& address, const TUpdateChoice& choice);
QString Ethernet_Job_File();   // Exe_Dir/Ethernet_Update.xml
QString Ethernet_Update_Program();   // Exe_Dir/Ethernet_Update.exe
// Writes the job file whole; throws EInOutError with the platform's text on failure.
void Save_Ethernet_Job(int modelCode, const QString& address, const TUpdateChoice& choice);
