#include "shell/update_device.h"

#include "generate/image_dispatch.h"
#include "shell/TFBoot.h"
#include "shell/TFBootCAN.h"
#include "shell/TFBootSer.h"
#include "shell/TFBootTCP.h"
#include "shell/TFFabricateFirmWare.h"
#include "shell/app_forms.h"

void Create_Update_Forms()
{
    FFabricateFirmWare->Build_Images = [] {
        Build_Device_Image();
        Save_Device_Image();
    };
    FFabricateFirmWare->Set_Boot_Form_Type = [](int formType) {
        if (FBoot) FBoot->Form_Type = formType;
    };
}
