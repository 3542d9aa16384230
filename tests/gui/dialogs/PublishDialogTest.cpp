// The Publish window, run offscreen against a folder target: the plan that
// changes nothing, a publish on its own thread with progress and summary,
// an unchanged site that writes nothing, and names for every control. Then
// against real servers on loopback: the certificate question, and the
// password and access key kept in (and forgotten from) a real keyring in a
// session bus of the test's own (with-keyring.sh).

#include <QCheckBox>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "DialogTestSupport.h"
#include "dialogs/CPublishDialog.h"
#include "model/CPagewellDoc.h"
#include "support/CFtpServer.h"
#include "support/CS3Server.h"

namespace {

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Answers the next secret question with the fields' texts (or Cancel when
// there are none), ticking the keyring box when bKeep; then runs next.
void AnswerSecret(const std::vector<std::pair<const char*, QString>>& fields, bool bKeep = false,
    std::function<void()> next = {})
{
    WhenModalOpens([=](QWidget* pWindow) {
        if (fields.empty()) {
            qobject_cast<QDialog*>(pWindow)->reject();
        } else {
            for (const auto& [name, text] : fields)
                SetText(pWindow, name, text);
            Find<QCheckBox>(pWindow, "keepSecret")->setChecked(bKeep);
            qobject_cast<QDialog*>(pWindow)->accept();
        }
        if (next)
            next();
    });
}

// Fails the test when any window asks something before the watchers are
// cancelled.
void NoQuestion(bool& bAsked)
{
    WhenModalOpens([&bAsked](QWidget* pWindow) {
        bAsked = true;
        pWindow->close();
    });
}

bool HasKeyring()
{
    return qgetenv("PAGEWELL_TEST_KEYRING") == "1";
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

    void AsksToTrustAnUntrustedCertificateOnceAndRefusesAChangedOne()
    {
        if (!CFtpServer::IsAvailable())
            QSKIP("pyftpdlib is not installed (scripts/install-deps test installs it)");
        qputenv("XDG_CONFIG_HOME", (m_workspace.path() + "/config").toUtf8());
        CFtpServer server((m_workspace.path() + "/ftpd-tls").toStdString(),
            (m_workspace.path() + "/remote").toStdString(), true);
        QVERIFY2(server.Start(), server.GetLog().c_str());
        CPagewellDoc& document = MakeDocument();
        CPublishDialog dialog(document);
        dialog.show();
        SetText(&dialog, "target", QString::fromStdString(server.Url("/www/")));
        const QString password = QString::fromLatin1(CFtpServer::kPassword);
        const QString fingerprint = QString::fromStdString(server.GetFingerprint());

        QString question;
        AnswerSecret({ { "password", password } }, false, [&] {
            WhenModalOpens([&](QWidget* pBox) {
                question = MessageBoxText(pBox);
                qobject_cast<QMessageBox*>(pBox)->button(QMessageBox::Yes)->click();
            });
        });
        Click(&dialog, "testConnection");
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.IsRunning(), 20000);
        auto* pLog = Find<QPlainTextEdit>(&dialog, "log");
        QVERIFY2(question.contains(fingerprint), qPrintable(question));
        QVERIFY2(pLog->toPlainText().contains("Connected"), qPrintable(pLog->toPlainText()));
        // Without a keyring the password is asked, and the user told why.
        if (!HasKeyring())
            QVERIFY2(pLog->toPlainText().contains("The desktop's keyring cannot be reached"),
                qPrintable(pLog->toPlainText()));
        QFile known(m_workspace.path() + "/config/pagewell/certificates");
        QVERIFY(known.open(QIODevice::ReadOnly));
        QVERIFY(known.readAll().contains(fingerprint.toLatin1()));

        server.Kill();
        server.ChangeCertificate();
        QVERIFY2(server.Start(), server.GetLog().c_str());
        bool bAsked = false;
        AnswerSecret({ { "password", password } }, false, [&] { NoQuestion(bAsked); });
        Click(&dialog, "testConnection");
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.IsRunning(), 20000);
        CancelModalWatchers();
        QVERIFY(!bAsked);
        QVERIFY2(pLog->toPlainText().contains("has changed"), qPrintable(pLog->toPlainText()));
    }

    void KeepsThePasswordInTheKeyringUntilForgotten()
    {
        if (!HasKeyring() || !CFtpServer::IsAvailable())
            QSKIP("needs gnome-keyring-daemon (run by with-keyring.sh) and pyftpdlib");
        CFtpServer server((m_workspace.path() + "/ftpd").toStdString(),
            (m_workspace.path() + "/remote").toStdString(), false);
        QVERIFY2(server.Start(), server.GetLog().c_str());
        CPagewellDoc& document = MakeDocument();
        CPublishDialog dialog(document);
        dialog.show();
        SetText(&dialog, "target", QString::fromStdString(server.Url("/www/")));
        auto* pLog = Find<QPlainTextEdit>(&dialog, "log");
        auto* pStatus = Find<QLabel>(&dialog, "status");

        AnswerSecret({ { "password", QString::fromLatin1(CFtpServer::kPassword) } }, true);
        Click(&dialog, "showPlan");
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.IsRunning(), 20000);
        // Plain FTP is named in the plan as the command line names it.
        QVERIFY2(
            pLog->toPlainText().contains("Warning: plain FTP: the password and the files travel unencrypted")
                && pLog->toPlainText().contains("Kept in the desktop's keyring")
                && pLog->toPlainText().contains("Plan: 4 files to send"),
            qPrintable(pLog->toPlainText()));

        bool bAsked = false;
        NoQuestion(bAsked);
        Click(&dialog, "publish");
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.IsRunning(), 20000);
        CancelModalWatchers();
        QVERIFY(!bAsked);
        QVERIFY2(pLog->toPlainText().contains("Published: 4 sent"), qPrintable(pLog->toPlainText()));

        Click(&dialog, "forgetPassword");
        QVERIFY2(pStatus->text().startsWith("Forgotten"), qPrintable(pStatus->text()));
        Click(&dialog, "forgetPassword");
        QVERIFY2(pStatus->text().startsWith("The keyring holds no secret"), qPrintable(pStatus->text()));
        AnswerSecret({}, false, [&] { bAsked = true; });
        Click(&dialog, "testConnection");
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.IsRunning(), 20000);
        QVERIFY(bAsked);
        QVERIFY2(pLog->toPlainText().contains("no password given"), qPrintable(pLog->toPlainText()));
    }

    void AsksForTheAccessKeyOfObjectStorageAndKeepsIt()
    {
        if (!HasKeyring() || !CS3Server::IsAvailable())
            QSKIP("needs gnome-keyring-daemon (run by with-keyring.sh) and the S3 test server");
        for (const char* name : { "AWS_ACCESS_KEY_ID", "AWS_SECRET_ACCESS_KEY", "AWS_SESSION_TOKEN" })
            qunsetenv(name);
        qputenv("AWS_SHARED_CREDENTIALS_FILE", (m_workspace.path() + "/no-credentials").toUtf8());
        CS3Server server((m_workspace.path() + "/s3").toStdString());
        QVERIFY2(server.Start(), server.GetLog().c_str());
        CPagewellDoc& document = MakeDocument();
        CPublishDialog dialog(document);
        dialog.show();
        SetText(&dialog, "target", QString::fromStdString(server.Url("www/", true)));
        auto* pLog = Find<QPlainTextEdit>(&dialog, "log");
        const QString keyId = QString::fromLatin1(CS3Server::kKeyId);
        const QString secret = QString::fromLatin1(CS3Server::kSecret);

        // A wrong secret kept is refused, asked again and replaced.
        QString retryText;
        AnswerSecret({ { "accessKeyId", keyId }, { "secretKey", "wrong" } }, true, [&] {
            WhenModalOpens([&](QWidget* pWindow) {
                for (auto* pLabel : pWindow->findChildren<QLabel*>())
                    retryText += pLabel->text();
                SetText(pWindow, "accessKeyId", keyId);
                SetText(pWindow, "secretKey", secret);
                Find<QCheckBox>(pWindow, "keepSecret")->setChecked(true);
                qobject_cast<QDialog*>(pWindow)->accept();
            });
        });
        Click(&dialog, "publish");
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.IsRunning(), 20000);
        QVERIFY2(retryText.contains("refused"), qPrintable(retryText));
        QVERIFY2(pLog->toPlainText().contains("Warning: plain http")
                && pLog->toPlainText().contains("Published: 4 sent"),
            qPrintable(pLog->toPlainText()));

        bool bAsked = false;
        NoQuestion(bAsked);
        Click(&dialog, "testConnection");
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.IsRunning(), 20000);
        CancelModalWatchers();
        QVERIFY(!bAsked);
        QVERIFY2(pLog->toPlainText().contains("Connected"), qPrintable(pLog->toPlainText()));
        // The secret went to the keyring and the server only.
        QDirIterator files(m_workspace.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            QFile file(files.next());
            if (!file.fileName().contains("/s3/") && file.open(QIODevice::ReadOnly))
                QVERIFY2(!file.readAll().contains(secret.toLatin1()), qPrintable(file.fileName()));
        }
    }

private:
    // A project of two pages whose site goes to the folder "site".
    CPagewellDoc& MakeDocument()
    {
        m_pDocument = std::make_unique<CPagewellDoc>(m_ui);
        const HTREEITEM hRoot = m_pDocument->CreateRootPage();
        m_pDocument->m_tree.SetItemText(hRoot, "Home");
        m_pDocument->m_tree.InsertItem(
            "News", std::make_unique<CNode>(m_pDocument.get()), hRoot, ETreeInsert::Last);
        m_pDocument->m_dlgGenerate.m_strDestination = "site";
        return *m_pDocument;
    }

    QTemporaryDir m_workspace;
    CDialogTestUserInterface m_ui;
    std::unique_ptr<CPagewellDoc> m_pDocument;
};

QTEST_MAIN(CPublishDialogTest)
#include "PublishDialogTest.moc"
