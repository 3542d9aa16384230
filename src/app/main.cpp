#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>

#include "app/CDialogRegistry.h"
#include "app/CMainFrame.h"
#include "app/CPagewellApp.h"
#include "app/CPlatformMapping.h"
#include "app/CPreviewPane.h"
#include "app/CQtUserInterface.h"
#include "app/CRecentFileList.h"
#include "app/CSingleInstance.h"
#include "app/CSvgIcon.h"
#include "app/CommandIds.h"
#include "app/Resources.h"
#include "tree/CPagewellView.h"
#include "tree/CTreeDialogs.h"

#if __has_include("dialogs/RecordDialogs.h")
#include "dialogs/RecordDialogs.h"
#define PAGEWELL_HAVE_RECORD_DIALOGS 1
#endif

namespace {

const QCommandLineOption kNewInstance(QStringLiteral("new-instance"),
    QStringLiteral("Open a window of its own, even if the program already runs on this display."));

void SetNames()
{
    QCoreApplication::setApplicationName(QStringLiteral("Pagewell"));
    QCoreApplication::setApplicationVersion(QStringLiteral("0.3b"));
}

void DefineOptions(QCommandLineParser& parser)
{
    parser.setApplicationDescription(QStringLiteral("Builds a small static web site from an outline."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(
        QStringLiteral("project"), QStringLiteral("The project file (.pwl or .json) to open."));
    parser.addOption(kNewInstance);
}

// --help and --version print and end the program before a window system is
// needed, so that they work without a display (over ssh, in a build).
void AnswerWithoutDisplay(int argc, char* argv[])
{
    const QStringList quick { "-h", "--help", "-?", "--help-all", "-v", "--version" };
    bool bQuick = false;
    for (int i = 1; i < argc && !bQuick; ++i)
        bQuick = quick.contains(QString::fromLocal8Bit(argv[i]));
    if (!bQuick)
        return;
    const QCoreApplication core(argc, argv);
    SetNames();
    QCommandLineParser parser;
    DefineOptions(parser);
    parser.process(core);
}

} // namespace

int main(int argc, char* argv[])
{
    AnswerWithoutDisplay(argc, argv);
    CPreviewPane::PrepareEngine();
    QApplication application(argc, argv);
    InitPagewellResources();
    SetNames();
    QApplication::setDesktopFileName(QStringLiteral("pagewell"));
    QApplication::setWindowIcon(MakeSvgIcon({ QStringLiteral(":/icons/pagewell.svg") }));

    QCommandLineParser parser;
    DefineOptions(parser);
    parser.process(application);
    const QCommandLineOption& newInstance = kNewInstance;
    const QStringList args = parser.positionalArguments();
    const QString path = args.isEmpty() ? QString() : QFileInfo(args.first()).absoluteFilePath();

    // A project given while the program runs on this display opens in the
    // running window.
    CSingleInstance instance(PlatformMapping::SingleInstanceServerName());
    if (!path.isEmpty() && !parser.isSet(newInstance) && instance.SendToRunning(path))
        return 0;

    CDialogRegistry registry;
    RegisterTreeDialogs(registry);
#if defined(PAGEWELL_HAVE_RECORD_DIALOGS)
    RegisterRecordDialogs(registry);
#endif
    CQtUserInterface ui(registry);
    PlatformMapping::AdoptOldProfile();
    CRecentFileList recentFiles(PlatformMapping::ProfileFileName().toStdString(), kRecentFileCount);
    recentFiles.ReadList();

    CPagewellApp app(ui, recentFiles);
    app.m_strWindowState = PlatformMapping::WindowStateFileName();
    app.m_strRecoveryFolder = CRecoveryStore::DefaultFolder();
    app.m_bWatchFile = true;
    if (!app.InitInstance(path))
        return 0;
    CMainFrame* pFrame = app.GetMainFrame();
    ui.SetParentWidget(pFrame);
    if (!pFrame->HasRestoredState())
        pFrame->resize(960, 640);
    pFrame->show();
    pFrame->GetTreeView()->setFocus();

    QObject::connect(&instance, &CSingleInstance::openRequested, &app,
        [&app](const QString& requested) { app.OpenDocumentFile(requested); });
    instance.Listen();
    return QApplication::exec();
}
