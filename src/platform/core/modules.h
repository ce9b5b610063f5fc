#pragma once
// Parts of the program that need libraries the first window does not (printing, picture
// downloads, the office suite) are built as modules: shared libraries beside the executable,
// loaded the first time they are asked for, so that starting the program does not load
// those libraries.  A module stays loaded until the process ends.
#include <QString>

// The entry point Symbol of the module lib<Module>.so in the executable's own folder, loaded
// on first use; null with the reason in *Error when the module or its entry is missing.
// Safe to call from any thread.
void* ModuleEntry(const char* Module, const char* Symbol, QString* Error = nullptr);

// Where modules are looked for: the folder of the running executable.
QString ModuleFolder();
// Tests point the look-up at another folder; an empty name brings back the executable's.
void SetModuleFolder(const QString& Folder);
