#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "app/CPreviewPane.h"

int main(int argc, char* argv[])
{
    // Also when listing the tests, which runs without the test environment.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The web engine draws in software: test machines have no GPU.
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_CHROMIUM_FLAGS"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu");
    // The window's settings (the preview's state) go to a folder of the run.
    const QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    CPreviewPane::PrepareEngine();
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
