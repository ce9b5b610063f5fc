#pragma once
// Writes the built images into the configuration's bin folder.
#include <QString>
#include <cstdint>
#include <functional>
#include <initializer_list>

struct TBankFile {
    const char* Name;       // "bank1.bin", ...
    const uint8_t* Buf;
    int32_t Len;            // bytes written from the start of Buf
};

// Conf_Dir/bin/<name> for each file.  The set is replaced all or nothing: every file is
// first written to a temporary file, the old files are kept aside, and only then are the
// new ones renamed into place, in the given order; when one of them fails, those already
// renamed are put back, so a failure leaves the files of the last successful build.  The
// bin folder is not created here.  Throws EInOutError with the platform's text when a file
// cannot be written.
void Save_Bank_Files(std::initializer_list<TBankFile> files);

// Runs before each new file replaces its target; an exception thrown there stands for a
// replacement the file system refuses.  For tests: nothing sets it otherwise.
extern std::function<void(const QString& path)> Bank_Before_Replace;

QString Bank_File_Path(const char* name);
