// The Publish window, run offscreen against a folder target: the plan that
// changes nothing, a publish on its own thread with progress and summary,
// an unchanged site that writes nothing, and names for every control.

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "DialogTestSupport.h"
#include "dialogs/CPublishDialog.h"
#include "model/CPagewellDoc.h"

namespace {

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class CPublishDialogTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        QVERIFY(m_workspace.isValid());
        qputenv("XDG_CACHE_HOME", (m_workspace.path() + "/cache").toUtf8());
        QDir::setCurrent(m_workspace.path());
        WriteFile("templates/Default.hdr.txt", "[@TAG=!][@TITLE=!]<[TAG]:[TITLE]>\n");
        WriteFile("images/pagewell.jpg", "jpg");
        WriteFile("images/bluerib.gif", "gif");
        QDir().mkpath("site");
    }

    void PublishesOffTheGuiThreadAndThenFindsNothingToDo()
    {
        CDialogTestUserInterface ui;
        CPagewellDoc document(ui);
        const HTREEITEM hRoot = document.CreateRootPage();
        document.m_tree.SetItemText(hRoot, "Home");
        document.m_tree.InsertItem("News", std::make_unique<CNode>(&document), hRoot, ETreeInsert::Last);
        document.m_dlgGenerate.m_strDestination = "site";
        const QString remote = m_workspace.path() + "/remote";

        CPublishDialog dialog(document);
        dialog.show();
        // Every control can be reached by a screen reader and the keyboard.
        for (QWidget* pWidget : dialog.findChildren<QWidget*>()) {
            if (qobject_cast<QLineEdit*>(pWidget) || qobject_cast<QPlainTextEdit*>(pWidget)
                || qobject_cast<QProgressBar*>(pWidget))
                QVERIFY2(!pWidget->accessibleName().isEmpty(), qPrintable(pWidget->objectName()));
            if (auto* pButton = qobject_cast<QAbstractButton*>(pWidget);
                pButton && pButton->objectName() != "close")
                QVERIFY2(pButton->text().contains('&'), qPrintable(pButton->text()));
        }
        QVERIFY(!Find<QPushButton>(&dialog, "cancel")->isEnabled());
        SetText(&dialog, "target", "file://" + remote + "/");

        Click(&dialog, "showPlan");
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.IsRunning(), 20000);
        auto* pLog = Find<QPlainTextEdit>(&dialog, "log");
        QVERIFY2(pLog->toPlainText().contains("Plan: 4 files to send"), qPrintable(pLog->toPlainText()));
        QVERIFY(!QFile::exists(remote + "/home.htm"));
        // The target typed in is the project's setting now.
        QCOMPARE(QString::fromStdString(document.m_dlgGenerate.GetSiteSettings().m_strPublish),
            "file://" + remote + "/");
        QVERIFY(document.IsModified());

        Click(&dialog, "publish");
        QVERIFY(dialog.IsRunning() || pLog->toPlainText().contains("Published"));
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.IsRunning(), 20000);
        QVERIFY2(pLog->toPlainText().contains("Published: 4 sent"), qPrintable(pLog->toPlainText()));
        QCOMPARE(Find<QProgressBar>(&dialog, "progress")->value(), 1000);
        QVERIFY(QFile::exists(remote + "/home.htm"));
        QVERIFY(QFile::exists(remote + "/.pagewell-published"));

        Click(&dialog, "publish");
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.IsRunning(), 20000);
        QVERIFY2(pLog->toPlainText().contains("Nothing to publish"), qPrintable(pLog->toPlainText()));
    }

private:
    QTemporaryDir m_workspace;
};

QTEST_MAIN(CPublishDialogTest)
#include "PublishDialogTest.moc"
