#include "shell/app_forms.h"

#include "shell/TFAbout.h"
#include "shell/TFFabricateFirmWare.h"
#include "shell/TFNew_Project.h"
#include "shell/TFOpenConf.h"
#include "shell/TFParGen.h"
#include "shell/TFSoftOptions.h"
#include "shell/update_device.h"

#include <vector>

namespace {
std::vector<std::function<void()>>& Created()
{
    static std::vector<std::function<void()>> list;
    return list;
}
}  // namespace

void Keep_Form(std::function<void()> destroy) { Created().push_back(std::move(destroy)); }

void Create_Forms(const QString& exeDir)
{
    FFabricateFirmWare = new TFFabricateFirmWare();
    FFabricateFirmWare->Create(exeDir);
    Create_Form(QStringLiteral("FNew_Project"), FNew_Project);
    Create_Form(QStringLiteral("FOpenConf"), FOpenConf);
    Create_Form(QStringLiteral("FAbout"), FAbout);
    Create_Form(QStringLiteral("FSoftOptions"), FSoftOptions);
    Create_Form(QStringLiteral("FParGen"), FParGen);
    Create_Update_Forms();
}

void Destroy_Forms()
{
    auto& list = Created();
    while (!list.empty()) {
        auto destroy = std::move(list.back());
        list.pop_back();
        destroy();
    }
    delete FFabricateFirmWare;
    FFabricateFirmWare = nullptr;
}
