#include "generate/image_dispatch.h"

#include "generate/image_builders.h"
#include "shell/state/model_table.h"

namespace {
struct TImageModel {
    int Code;
    void (*Build)();
    void (*Save)();
};

// One row per model.  Keep a comment line between rows: each model's row is then its own
// change.
const TImageModel Image_Models[] = {
    // 891
    {0, nullptr, nullptr},
    // 893
    {1, nullptr, nullptr},
    // 892
    {2, Build_Image_892, Save_Bank_Files_892},
    // 894
    {3, nullptr, nullptr},
    // 896
    {4, nullptr, nullptr},
    // 890
    {5, nullptr, nullptr},
    // 897
    {6, nullptr, nullptr},
    // 872
    {7, nullptr, nullptr},
    // 895
    {8, nullptr, nullptr},
    // 871
    {9, nullptr, nullptr},
    // 860
    {10, nullptr, nullptr},
    // QTB900
    {1006, nullptr, nullptr},
};

const TImageModel* Current()
{
    for (const TImageModel& m : Image_Models)
        if (m.Code == Model_Code) return &m;
    return nullptr;
}
}  // namespace

void Build_Device_Image()
{
    if (const TImageModel* m = Current(); m && m->Build) m->Build();
}

void Save_Device_Image()
{
    if (const TImageModel* m = Current(); m && m->Save) m->Save();
}
