// Test entry: a widgets application on the offscreen platform with a fixed look, so that
// geometry and text measures are the same on every machine.
#include "platform/ui/application.h"

#include <QApplication>
#include <QFont>
#include <QStyleFactory>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_FONT_DPI", "96");
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    ::testing::InitGoogleTest(&argc, argv);
    TApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 8));
    return RUN_ALL_TESTS();
}
