// The program's own options, answered before any window system is asked
// for: --help and --version work over ssh and in a build without a display.
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#if defined(PAGEWELL_PROGRAM)
namespace {

TEST(ProgramOptions, HelpAndVersionNeedNoDisplay)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* pszName : { "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM" })
        env.remove(QString::fromLatin1(pszName));
    for (const char* pszName : { "HOME", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR", "TMPDIR" })
        env.insert(QString::fromLatin1(pszName), dir.path());
    const struct {
        const char* pszOption;
        const char* pszExpected;
    } cases[] = { { "--help", "--new-instance" }, { "-h", "project" }, { "--version", "Pagewell 0.3b" } };
    for (const auto& c : cases) {
        QProcess process;
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(PAGEWELL_PROGRAM), { QString::fromLatin1(c.pszOption) });
        ASSERT_TRUE(process.waitForFinished(30000)) << c.pszOption;
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << c.pszOption;
        EXPECT_EQ(process.exitCode(), 0) << c.pszOption << process.readAllStandardError().toStdString();
        EXPECT_TRUE(process.readAllStandardOutput().contains(c.pszExpected)) << c.pszOption;
    }
}

} // namespace
#endif
