// The grid's settings readers: the look file (name=value lines), the column states text and
// the INI files of column widths, positions and print settings.  A refused input must leave
// the grid as it was; an accepted one must leave a grid that still draws and saves.
#include "fuzz_target.h"
#include "grid/control/grid_services.h"
#include "grid/control/pro_string_grid.h"
#include "platform/core/exception.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>
#include <memory>

namespace {
TProStringGrid* Grid = nullptr;
std::unique_ptr<QTemporaryDir> Dir;

void Make()
{
    Dir = std::make_unique<QTemporaryDir>();
    Grid = CreateGrid<TProStringGrid>();
}

void Drop()
{
    Grid->Free();
    Grid = nullptr;
    Dir.reset();
}

QString FilePath(const char* name) { return Dir->filePath(QString::fromLatin1(name)); }

QString WriteFile(const char* name, const std::string& input)
{
    const QString path = FilePath(name);
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) f.write(input.data(), qint64(input.size()));
    return path;
}

QByteArray ReadFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A grid of five columns, one moved and one hidden, with its default look.
void Reset()
{
    Grid->UnHideColumnsAll();
    Grid->ColumnOrder()->Clear();
    Grid->SetColCount(5);
    Grid->SetRowCount(4);
    for (int c = 0; c < 5; ++c) Grid->SetColWidths(c, 40 + c);
    Grid->MoveColumn(1, 3);
    Grid->HideColumn(2);
}

// Everything the readers may change, as the grid's own writers put it.
QByteArray Print()
{
    Grid->SaveVisualProps(FilePath("print_look.txt"));
    return ReadFile(FilePath("print_look.txt")) + Grid->ColumnStatesToString().toUtf8();
}

// Runs one load; a refused input must leave the grid unchanged.
template <class F>
void Load(F load)
{
    Reset();
    const QByteArray before = Print();
    try {
        load();
    } catch (const Exception&) {
        if (Print() != before) std::abort();
        return;
    }
    Print();
}

const TFuzzRegistration Settings({
    {"grid_visual_props", Make,
     [](const std::string& input) {
         Load([&] { Grid->LoadVisualProps(WriteFile("look.txt", input)); });
     },
     [] {
         if (!Grid) Make();
         Grid->SaveVisualProps(FilePath("seed.txt"));
         return std::vector<std::string>{ReadFile(FilePath("seed.txt")).toStdString()};
     },
     Drop},
    {"grid_column_states", Make,
     [](const std::string& input) {
         Load([&] { Grid->StringToColumnStates(QString::fromUtf8(input.data(), qsizetype(input.size()))); });
     },
     [] {
         return std::vector<std::string>{"5#41,40,43,44,64#1,0,2,3,4#1,1,0,1,1", "4#10,20,30,40##1,1,1,1",
                                         "4#10,20,30,40#-1,3,2,-1,1,0#1,1,1,1"};
     },
     Drop},
    {"grid_settings_ini", Make,
     [](const std::string& input) {
         Load([&] {
             const QString ini = WriteFile("grid.ini", input);
             Grid->ColumnSize()->SetLocation(clIniFile);
             Grid->ColumnSize()->SetKey(ini);
             Grid->ColumnSize()->SetSection(QStringLiteral("Cols"));
             Grid->LoadColPositions();
             Grid->LoadColSizes();
             Grid->LoadPrintSettings(ini, QStringLiteral("Print"));
         });
     },
     [] {
         return std::vector<std::string>{
             "[Cols]\r\nCol0=10\r\nCol1=20\r\nCol2=30\r\nCol3=40\r\nPos0=4\r\nPos1=3\r\nPos2=2\r\nPos3=1\r\nPos4=0\r\n"
             "[Print]\r\nColumnSpacing=7\r\nCentered=N\r\nBorders=6\r\nDate=3\r\nFontName=Arial\r\nFontSize=12\r\n"
             "FontStyle=5\r\nTitleLines=A\\nB\\n\r\nOrientation=1\r\n"};
     },
     Drop},
});
}  // namespace
