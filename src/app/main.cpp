// Program entry: the only place that knows the build's gateway model.
#include "platform/ui/application.h"
#include "shell/TFFabricateFirmWare.h"
#include "shell/app_forms.h"
#include "shell/font_setup.h"
#include "state/model_table.h"

#include <QStyleFactory>

#ifndef FABRICAT_MODEL_CODE
#define FABRICAT_MODEL_CODE 2
#endif

static_assert((FABRICAT_MODEL_CODE >= 0 && FABRICAT_MODEL_CODE <= 10) || FABRICAT_MODEL_CODE == 1006,
              "FABRICAT_MODEL_CODE must be 0..10 or 1006");

int main(int argc, char** argv)
{
    TFontSetup fonts;   // fontconfig reads its configuration while the application starts
    TApplication app(argc, argv);
    Model_Code = FABRICAT_MODEL_CODE;
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    fonts.Wait();
    Create_Forms(QCoreApplication::applicationDirPath());
    FFabricateFirmWare->CentreOnScreen();
    FFabricateFirmWare->show();
    const int rc = app.exec();
    Destroy_Forms();
    return rc;
}
