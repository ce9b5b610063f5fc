#pragma once
// Writes the built images into the configuration's bin folder.
#include <QString>
#include <cstdint>
#include <initializer_list>

struct TBankFile {
    const char* Name;       // "bank1.bin", ...
    const uint8_t* Buf;
    int32_t Len;            // bytes written from the start of Buf
};

// Conf_Dir/bin/<name> for each file.  All files are first written to temporary files and
// only then renamed over the old ones, in the given order, so a failure leaves the files
// of the last successful build in place.  The bin folder is not created here.  Throws
// EInOutError with the platform's text when a file cannot be written.
void Save_Bank_Files(std::initializer_list<TBankFile> files);

QString Bank_File_Path(const char* name);
