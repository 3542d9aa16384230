// The "Generate HTML pages" dialog, run offscreen: its texts, the exchange of
// the settings, the progress of a run, and a whole run of the example project
// compared with the command-line tool's.

#include <QCheckBox>
#include <QDirIterator>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QUrl>
#include <QtTest>

#include "DialogTestSupport.h"
#include "app/QtText.h"
#include "dialogs/CGenerateDialog.h"
#include "generator/CGenerateDlg.h"
#include "model/CPagewellDoc.h"

namespace {

// Every file below folder, relative path to contents.
QMap<QString, QByteArray> ReadTree(const QString& folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            files.insert(QDir(folder).relativeFilePath(path), file.readAll());
    }
    return files;
}

} // namespace

class CGenerateDialogTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { CancelModalWatchers(); }

    void ShowsTheSettings()
    {
        CGenerateDlg record;
        record.m_strDestination = "/srv/site";
        record.m_bLowercase = 0;
        CGenerateDialog dialog(record, {});
        dialog.show();

        QCOMPARE(dialog.windowTitle(), QString("Generate HTML pages"));
        QCOMPARE(Find<QLineEdit>(&dialog, "destination")->text(), QString("/srv/site"));
        auto* pLowercase = Find<QCheckBox>(&dialog, "lowercase");
        QCOMPARE(pLowercase->text(), QString("Convert all filenames and file references to lowercase"));
        QVERIFY(!pLowercase->isChecked());
        QCOMPARE(Find<QPushButton>(&dialog, "close")->text(), QString("Close"));
        QVERIFY(Find<QPushButton>(&dialog, "close")->isDefault());
        QCOMPARE(Find<QPushButton>(&dialog, "generate")->text(), QString("Generate"));
        QCOMPARE(Find<QLabel>(&dialog, "currentFile")->text(), QString("Current file"));
        QCOMPARE(Find<QLabel>(&dialog, "currentTag")->text(), QString("Current tag"));
        QVERIFY(Find<QPlainTextEdit>(&dialog, "log")->isReadOnly());
        QVERIFY(Find<QPlainTextEdit>(&dialog, "log")->toPlainText().isEmpty());
        bool bIntroduction = false;
        for (const QLabel* pLabel : dialog.findChildren<QLabel*>())
            bIntroduction
                = bIntroduction || pLabel->text() == QString::fromLatin1(CGenerateDialog::kIntroduction);
        QVERIFY(bIntroduction);
        QCOMPARE(IGenerationDisplay::Active(), static_cast<IGenerationDisplay*>(&dialog));
    }

    // The clean choice is a habit of the user's: the next dialog, for any
    // project, starts with the box as it was left.
    void RemembersTheCleanChoice()
    {
        CWorkspace workspace;
        for (const bool bClean : { true, false }) {
            CGenerateDlg record;
            record.m_strDestination = PathFromQString(workspace.Path());
            CGenerateDialog dialog(record, [](CGenerateDlg&) {});
            dialog.show();
            if (Find<QCheckBox>(&dialog, "clean")->isChecked() != bClean)
                Click(&dialog, "clean");
            Click(&dialog, "generate");
            QCOMPARE(record.m_bClean, bClean ? 1 : 0);

            CGenerateDlg other;
            other.m_bClean = bClean ? 0 : 1;
            CGenerateDialog next(other, {});
            QCOMPARE(Find<QCheckBox>(&next, "clean")->isChecked(), bClean);
        }
    }

    // Generate takes the controls into the record, then runs; the run's
    // progress and status lines show while it goes, the log at its end.
    void GenerateRunsWithTheControlsValues()
    {
        CWorkspace workspace;
        workspace.AddFolder("new");
        CGenerateDlg record;
        record.m_strDestination = "/old";
        CString seenDestination;
        int32_t seenLowercase = -1;
        QString fileDuringRun, tagDuringRun;
        int posDuringRun = -1, maxDuringRun = -1;
        CGenerateDialog* pDialog = nullptr;
        CGenerateDialog dialog(record, [&](CGenerateDlg& settings) {
            seenDestination = settings.m_strDestination;
            seenLowercase = settings.m_bLowercase;
            IGenerationDisplay* pDisplay = IGenerationDisplay::Active();
            QVERIFY(pDisplay != nullptr);
            pDisplay->SetProgressRange(0, 3);
            pDisplay->SetProgressPos(0);
            pDisplay->StepProgress();
            pDisplay->StepProgress();
            pDisplay->SetStatusText(EStatusLine::CurrentFile, "/new/index.htm");
            pDisplay->SetStatusText(EStatusLine::CurrentTag, "Index");
            fileDuringRun = Find<QLabel>(pDialog, "currentFile")->text();
            tagDuringRun = Find<QLabel>(pDialog, "currentTag")->text();
            posDuringRun = Find<QProgressBar>(pDialog, "progress")->value();
            maxDuringRun = Find<QProgressBar>(pDialog, "progress")->maximum();
            pDisplay->StepProgress();
            pDisplay->StepProgress(); // more steps than counted keep the bar full
            QCOMPARE(Find<QProgressBar>(pDialog, "progress")->value(), 3);
            pDisplay->SetStatusText(
                EStatusLine::Log, "Generating... /new/index.htm\r\nCopying file a to b\r\n");
            pDisplay->SetStatusText(EStatusLine::CurrentFile, "Done...");
            pDisplay->SetProgressPos(0);
            pDisplay->SetStatusText(EStatusLine::CurrentTag, "");
        });
        pDialog = &dialog;
        dialog.show();
        SetText(&dialog, "destination", "new");
        Click(&dialog, "lowercase");
        Click(&dialog, "generate");

        QCOMPARE(ToQString(seenDestination), QString("new"));
        QCOMPARE(seenLowercase, 0);
        QCOMPARE(fileDuringRun, QString("/new/index.htm"));
        QCOMPARE(tagDuringRun, QString("Index"));
        QCOMPARE(posDuringRun, 2);
        QCOMPARE(maxDuringRun, 3);
        QVERIFY(dialog.isVisible()); // the dialog stays open
        QCOMPARE(Find<QPlainTextEdit>(&dialog, "log")->toPlainText(),
            QString("Generating... /new/index.htm\nCopying file a to b\n"));
        QCOMPARE(Find<QLabel>(&dialog, "currentFile")->text(), QString("Done..."));
        QCOMPARE(Find<QLabel>(&dialog, "currentTag")->text(), QString());
        QCOMPARE(Find<QProgressBar>(&dialog, "progress")->value(), 0);
    }

    // "Close" takes the values; Escape keeps those of the last Generate.
    void LeavingTheDialog_data()
    {
        QTest::addColumn<bool>("generateFirst");
        QTest::addColumn<bool>("close");
        QTest::addColumn<QString>("destination");
        QTest::addColumn<int>("lowercase");

        QTest::newRow("close") << false << true << "/typed" << 0;
        QTest::newRow("escape") << false << false << "/old" << 1;
        QTest::newRow("generate, edit, escape") << true << false << "generated" << 0;
        QTest::newRow("generate, edit, close") << true << true << "/typed" << 1;
    }
    void LeavingTheDialog()
    {
        QFETCH(bool, generateFirst);
        QFETCH(bool, close);
        QFETCH(QString, destination);
        QFETCH(int, lowercase);
        CWorkspace workspace;
        workspace.AddFolder("generated");
        CGenerateDlg record;
        record.m_strDestination = "/old";
        int runs = 0;
        CGenerateDialog dialog(record, [&runs](CGenerateDlg&) { ++runs; });
        dialog.show();
        if (generateFirst) {
            SetText(&dialog, "destination", "generated");
            Click(&dialog, "lowercase");
            Click(&dialog, "generate");
            QCOMPARE(runs, 1);
            Click(&dialog, "lowercase");
        } else {
            Click(&dialog, "lowercase");
        }
        SetText(&dialog, "destination", "/typed");
        if (close)
            Click(&dialog, "close");
        else
            QTest::keyClick(&dialog, Qt::Key_Escape);
        QTRY_VERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(close ? QDialog::Accepted : QDialog::Rejected));
        QCOMPARE(ToQString(record.m_strDestination), destination);
        QCOMPARE(record.m_bLowercase, lowercase);
    }

    // "No" to the question returns to the dialog: nothing runs and nothing is
    // made. A destination that exists is not asked about.
    void AMissingFolderIsAskedAboutOnce_data()
    {
        QTest::addColumn<bool>("exists");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<int>("questions");
        QTest::addColumn<int>("runs");
        QTest::newRow("exists") << true << false << 0 << 1;
        QTest::newRow("missing, no") << false << false << 1 << 0;
        QTest::newRow("missing, yes") << false << true << 1 << 1;
    }
    void AMissingFolderIsAskedAboutOnce()
    {
        QFETCH(bool, exists);
        QFETCH(bool, yes);
        QFETCH(int, questions);
        QFETCH(int, runs);
        CWorkspace workspace;
        if (exists)
            workspace.AddFolder("out/site");
        CGenerateDlg record;
        int nRuns = 0;
        CGenerateDialog dialog(record, [&nRuns](CGenerateDlg&) { ++nRuns; });
        dialog.show();
        SetText(&dialog, "destination", "out/site");
        int nQuestions = 0;
        WhenModalOpens([&](QWidget* pBox) {
            ++nQuestions;
            qobject_cast<QMessageBox*>(pBox)->button(yes ? QMessageBox::Yes : QMessageBox::No)->click();
        });
        Click(&dialog, "generate");
        QCOMPARE(nQuestions, questions);
        QCOMPARE(nRuns, runs);
        QCOMPARE(QFileInfo(workspace.Path() + "/out/site").isDir(), exists || yes);
        QVERIFY(dialog.isVisible());
        QVERIFY(
            !Find<QPushButton>(&dialog, "openInBrowser")->isVisible()); // nothing written, nothing offered
    }

    // The example project generated from the dialog, through the document's
    // Generate command, gives exactly the files of the command-line tool.
    void WholeRunMatchesTheCommandLineTool()
    {
#ifndef PAGEWELL_CLI
        QSKIP("the command-line tool is not built");
#else
        CWorkspace workspace; // no resource folders: the bundled ones serve both
        const QString cli = QStringLiteral(PAGEWELL_CLI);
        const QString project = workspace.Path() + "/example.pwl";
        QCOMPARE(QProcess::execute(
                     cli, { "import", QStringLiteral(PAGEWELL_SOURCE_DIR "/examples/site.json"), project }),
            0);
        workspace.AddFolder("cli");
        QProcess generate;
        generate.setWorkingDirectory(workspace.Path());
        generate.start(cli, { "generate", project, "--dest", workspace.Path() + "/cli" });
        QVERIFY(generate.waitForFinished(60000));
        const QByteArray cliLog = generate.readAllStandardOutput();

        CDialogTestUserInterface ui;
        CPagewellDoc document(ui);
        QVERIFY(document.DoFileOpen(PathFromQString(project)));
        document.SetModifiedFlag(false);
        QString shownLog, shownFile, question;
        int shownPos = -1;
        bool bOfferedBeforeRun = true;
        QUrl homePage;
        WhenModalOpens([&](QWidget* pDialog) {
            // The folder does not exist yet: one question, then the run.
            SetText(pDialog, "destination", workspace.Path() + "/gui/site");
            bOfferedBeforeRun = Find<QPushButton>(pDialog, "openInBrowser")->isVisible();
            WhenModalOpens(
                [&](QWidget* pBox) {
                    question = MessageBoxText(pBox);
                    qobject_cast<QMessageBox*>(pBox)->button(QMessageBox::Yes)->click();
                },
                pDialog);
            Click(pDialog, "generate");
            if (Find<QPushButton>(pDialog, "openInBrowser")->isVisible())
                homePage = static_cast<CGenerateDialog*>(pDialog)->GetHomePageUrl();
            shownLog = Find<QPlainTextEdit>(pDialog, "log")->toPlainText();
            shownFile = Find<QLabel>(pDialog, "currentFile")->text();
            shownPos = Find<QProgressBar>(pDialog, "progress")->value();
            Click(pDialog, "close");
        });
        document.OnGenerate();

        QCOMPARE(ui.m_nUndisplayedCalls, 0);
        QVERIFY(ui.m_messages.empty());
        QCOMPARE(ui.m_beeps.size(), size_t { 1 });
        QCOMPARE(shownFile, QString("Done..."));
        QCOMPARE(shownPos, 0);
        QVERIFY(!document.IsModified());
        QCOMPARE(ToQString(document.m_dlgGenerate.m_strDestination), workspace.Path() + "/gui/site");
        QCOMPARE(question,
            QStringLiteral("The folder %1/gui/site does not exist. Create it?").arg(workspace.Path()));
        QVERIFY(!bOfferedBeforeRun);
        QCOMPARE(homePage, QUrl::fromLocalFile(workspace.Path() + "/gui/site/index.html"));

        const QMap<QString, QByteArray> cliFiles = ReadTree(workspace.Path() + "/cli");
        const QMap<QString, QByteArray> guiFiles = ReadTree(workspace.Path() + "/gui/site");
        QVERIFY(cliFiles.contains("index.html"));
        QCOMPARE(guiFiles.keys(), cliFiles.keys());
        for (auto it = cliFiles.cbegin(); it != cliFiles.cend(); ++it)
            QVERIFY2(guiFiles.value(it.key()) == it.value(), qPrintable(it.key()));
        // The same log, but for the destination folder's name.
        QString expectedLog = QString::fromUtf8(cliLog).replace("\r\n", "\n");
        expectedLog.replace(workspace.Path() + "/cli", workspace.Path() + "/gui/site");
        QVERIFY(shownLog.contains("Generating... "));
        QCOMPARE(shownLog, expectedLog);
#endif
    }
};

QTEST_MAIN(CGenerateDialogTest)
#include "GenerateDialogTest.moc"
