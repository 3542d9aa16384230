#include <QApplication>
#include <QDir>
#include <QFile>
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
    // Each run has a home, settings, temporary files and a runtime folder
    // (the single-instance socket) of its own, so no two runs meet.
    const QTemporaryDir run;
    for (const char* pszName : { "HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "TMPDIR", "XDG_RUNTIME_DIR" }) {
        const QString folder = run.filePath(QString::fromLatin1(pszName).toLower());
        QDir().mkpath(folder);
        QFile::setPermissions(
            folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        qputenv(pszName, folder.toLocal8Bit());
    }
    CPreviewPane::PrepareEngine();
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
