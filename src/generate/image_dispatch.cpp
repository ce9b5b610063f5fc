#include "generate/image_dispatch.h"

#include "generate/image_builders.h"
#include "state/model_table.h"

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
    {0, Build_Image_891, Save_Bank_Files_891},
    // 893
    {1, Build_Image_893, Save_Bank_Files_872},
    // 892
    {2, Build_Image_892, Save_Bank_Files_892},
    // 894
    {3, Build_Image_894, Save_Bank_Files_894},
    // 896
    {4, Build_Image_896, Save_Bank_Files_896},
    // 890
    {5, Build_Image_890, Save_Bank_Files_890},
    // 897
    {6, Build_Image_897, Save_Bank_Files_897},
    // 872
    {7, Build_Image_893, Save_Bank_Files_872},
    // 895
    {8, Build_Image_895, Save_Bank_Files_895},
    // 871
    {9, Build_Image_871, Save_Bank_Files_871},
    // 860
    {10, Build_Image_860, Save_Bank_Files_860},
    // QTB900
    {1006, Build_Image_QTB900, Save_Bank_Files_QTB900},
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
