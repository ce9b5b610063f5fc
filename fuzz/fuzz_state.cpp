// Targets of the program's own files: the language file, ParGen.xml of every model and the
// settings file, each read from a file as the program reads it.
#include "fuzz_target.h"
#include "state/lang.h"
#include "state/par_gen.h"
#include "state/settings.h"
#include "state/shared_state.h"
#include "support/fixtures.h"

#include <QFile>
#include <memory>

namespace {
std::unique_ptr<TempExeDir> Dir;

void Make_Dir() { Dir = std::make_unique<TempExeDir>(); }
void Drop_Dir() { Dir.reset(); }
QString Write(const QString& relative, const std::string& input)
{
    Dir->Write(relative, QByteArray(input.data(), qsizetype(input.size())));
    return Dir->File(relative);
}

// Every model: their ParGen.xml differ in keys.
const int ParGen_Models[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 1006};

const TFuzzRegistration State({
    {"lang_file", Make_Dir,
     [](const std::string& input) {
         Set_Default_Lang();
         Load_Lang_File(Write(QStringLiteral("LANGUAGE/Fuzz.lng"), input));
     },
     {}, Drop_Dir},
    {"par_gen", Make_Dir,
     [](const std::string& input) {
         const QString path = Write(QStringLiteral("PROJECTS/Fuzz/ParGen.xml"), input);
         for (int model : ParGen_Models) {
             TParGenMap values;
             QString error;
             Read_ParGen(path, model, values, &error);
         }
     },
     [] {
         std::vector<std::string> seeds;
         for (int model : ParGen_Models) seeds.push_back(ParGen_Document(model, ParGen_Defaults(model)).toStdString());
         return seeds;
     },
     Drop_Dir},
    {"settings_file", Make_Dir,
     [](const std::string& input) {
         Write(QFileInfo(Settings_File_Path()).fileName(), input);
         Read_Settings();
     },
     {}, Drop_Dir},
});
}  // namespace
