#pragma once
// Shared helpers for the image builder tests: an open configuration in a fresh folder and
// writers for its documents (ParGen.xml and the table files), as the editors save them.
#include "support/fixtures.h"

#include <QByteArray>
#include <QString>
#include <initializer_list>
#include <utility>
#include <vector>

// Attributes of one table row, in order; a value of QString() leaves the attribute out.
using TRowAttrs = std::vector<std::pair<const char*, QString>>;

// <root><row a="..."/>...</root><!--SW_VERSION = 1.205-->
QByteArray Table_File_Xml(const char* root, const std::vector<TRowAttrs>& rows);
// Writes a table file at `path` (one of the File_* paths).
void Write_Table_File(const QString& path, const char* root, const std::vector<TRowAttrs>& rows);
// Writes File_ParGen: root Par_Gen with one element per key, in order.
void Write_ParGen(const std::vector<std::pair<const char*, QString>>& keys);
void Write_Raw(const QString& path, const QByteArray& data);

// A configuration "Conf" under PROJECTS of a fresh Exe_Dir, opened for `modelCode`:
// Conf_Dir set, the document paths set, and (unless withBin is false) its bin folder.
class TGenConf {
public:
    explicit TGenConf(int modelCode, bool withBin = true);
    // Conf_Dir/bin/<name>; empty when the file does not exist.
    QByteArray Bank(const char* name) const;
    bool Has_Bank(const char* name) const;
    QString Bin_Dir() const;

private:
    TempExeDir FExe;
    ScopedModelCode FModel;
};

// Little-endian reads of an image.
uint32_t U32_At(const QByteArray& image, int pos);
uint16_t U16_At(const QByteArray& image, int pos);
uint8_t U8_At(const QByteArray& image, int pos);
// Sum of bytes [from, from + count) as unsigned, modulo 2^32.
uint32_t Sum_Of(const QByteArray& image, int from, int count);

// Bytes written out as a list, for comparing image areas.
QByteArray Bytes(std::initializer_list<int> b);
// Builds and writes the images of the open configuration.
void Build_And_Save();
