#pragma once
// Paths: the program names its folders and files as the device tools expect; this joins
// them with the platform's separator.
#include <QString>

QString PathJoin(const QString& folder, const QString& name);
QString PathJoin(const QString& a, const QString& b, const QString& c);
QString ExtractFilePath(const QString& path);   // folder with trailing separator
QString ExtractFileDir(const QString& path);    // folder without trailing separator
QString ExtractFileName(const QString& path);
QString ExtractFileExt(const QString& path);    // with the dot, "" when none
QString ChangeFileExt(const QString& path, const QString& ext);
bool FileExists(const QString& path);
bool DirectoryExists(const QString& path);
bool CreateDir(const QString& path);            // one level
bool ForceDirectories(const QString& path);
// Finds a file in its folder ignoring the case of its name; returns the path as given when
// nothing matches.
QString FindFileNoCase(const QString& path);
