// Widget tests run on the offscreen platform unless a platform was chosen, with one
// application for the whole run, created after GoogleTest has taken its flags.
#include <gtest/gtest.h>

#include <QApplication>

#include "window/appearance.h"

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    dravlet::appearance::installFontSubstitutes();
    return RUN_ALL_TESTS();
}
