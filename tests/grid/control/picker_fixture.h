#pragma once
// The editor fixture's grid with images and the items of its pickers: three images (red,
// green, blue) and the items Alpha, Beta and Gamma in the detail, multi-column and grid
// drop-downs.
#include "edit_fixture.h"
#include "grid/control/grid_dropdowns.h"
#include "platform/ui/image_list.h"

struct PickerFixture : EditFixture {
    TCustomImageList Images{8, 8};
    void SetUp() override
    {
        EditFixture::SetUp();
        for (Qt::GlobalColor c : {Qt::red, Qt::green, Qt::blue}) {
            QImage img(8, 8, QImage::Format_ARGB32);
            img.fill(c);
            Images.Add(img);
        }
        Grid->SetGridImages(&Images);
        for (const char* c : {"Alpha", "Beta", "Gamma"}) {
            Grid->DetailPickerDropDown()->Items().Add()->SetCaption(QString::fromLatin1(c));
            Grid->GridDropDown()->Items().Add()->SetText({QString::fromLatin1(c), QStringLiteral("notes")});
            Grid->ProGridDropDown()->Items()->Add()->SetText({QString::fromLatin1(c), QStringLiteral("notes")});
        }
        for (int i = 0; i < 2; ++i) {
            Grid->GridDropDown()->Columns().Add();
            Grid->ProGridDropDown()->Columns()->Add();
        }
    }
    void TearDown() override { Grid->SetGridImages(nullptr); }
    // The image index of cell (1, 1), -1 for none.
    int ImageIdx()
    {
        int idx = -1;
        Grid->GetImageIdx(1, 1, idx);
        return idx;
    }
};
