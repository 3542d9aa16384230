#include "dialogs/CPublishPrompt.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QThread>
#include <QVBoxLayout>
#include <qt6keychain/keychain.h>

namespace {

// Runs ask on the GUI thread and waits for its answer.
template <typename Result, typename Ask> Result OnGuiThread(QObject* pContext, Ask ask)
{
    if (QThread::currentThread() == pContext->thread())
        return ask();
    Result result {};
    QMetaObject::invokeMethod(
        pContext, [&] { result = ask(); }, Qt::BlockingQueuedConnection);
    return result;
}

std::optional<QString> ReadKeyring(const QString& account)
{
    QKeychain::ReadPasswordJob job(QString::fromLatin1(CPublishPrompt::kKeyringService));
    job.setAutoDelete(false);
    job.setInsecureFallback(false);
    job.setKey(account);
    QEventLoop loop;
    QObject::connect(&job, &QKeychain::Job::finished, &loop, &QEventLoop::quit);
    job.start();
    loop.exec();
    if (job.error() != QKeychain::NoError)
        return std::nullopt;
    return job.textData();
}

void WriteKeyring(const QString& account, const QString& password)
{
    auto* pJob = new QKeychain::WritePasswordJob(QString::fromLatin1(CPublishPrompt::kKeyringService));
    pJob->setInsecureFallback(false);
    pJob->setKey(account);
    pJob->setTextData(password);
    pJob->start();
}

} // namespace

CPublishPrompt::CPublishPrompt(QWidget* pParent)
    : m_pParent(pParent)
{ }

bool CPublishPrompt::AcceptHostKey(const std::string& host, const std::string& fingerprint)
{
    return OnGuiThread<bool>(this,
        [&] { return AskHostKeyNow(QString::fromStdString(host), QString::fromStdString(fingerprint)); });
}

std::optional<std::string> CPublishPrompt::AskPassword(const std::string& account, bool bRetry)
{
    return OnGuiThread<std::optional<std::string>>(
        this, [&] { return AskPasswordNow(QString::fromStdString(account), bRetry); });
}

bool CPublishPrompt::AcceptCertificate(
    const std::string& host, const std::string& fingerprint, const std::string& reason)
{
    return OnGuiThread<bool>(this, [&] {
        return AskCertificateNow(QString::fromStdString(host), QString::fromStdString(fingerprint),
            QString::fromStdString(reason));
    });
}

bool CPublishPrompt::AskCertificateNow(const QString& host, const QString& fingerprint, const QString& reason)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Untrusted certificate"),
        QStringLiteral("This computer does not trust the certificate of %1 (%2). Its fingerprint is\n\n%3\n\n"
                       "Compare it with the one your host shows (for example in its control panel). "
                       "Trust exactly this certificate and remember it?")
            .arg(host, reason, fingerprint),
        QMessageBox::Yes | QMessageBox::No, m_pParent);
    box.setDefaultButton(QMessageBox::No);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("&Trust"));
    box.button(QMessageBox::No)->setText(QStringLiteral("&Do not connect"));
    return box.exec() == QMessageBox::Yes;
}

bool CPublishPrompt::AskHostKeyNow(const QString& host, const QString& fingerprint)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Unknown server"),
        QStringLiteral("Pagewell has not connected to %1 before. Its key has the fingerprint\n\n%2\n\n"
                       "Compare it with the one your host shows (for example in its control panel). "
                       "Trust this server and remember its key?")
            .arg(host, fingerprint),
        QMessageBox::Yes | QMessageBox::No, m_pParent);
    box.setDefaultButton(QMessageBox::No);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("&Trust"));
    box.button(QMessageBox::No)->setText(QStringLiteral("&Do not connect"));
    return box.exec() == QMessageBox::Yes;
}

std::optional<std::string> CPublishPrompt::AskPasswordNow(const QString& account, bool bRetry)
{
    if (!bRetry) {
        if (const auto kept = ReadKeyring(account))
            return kept->toStdString();
    }
    QDialog dialog(m_pParent);
    dialog.setWindowTitle(QStringLiteral("Password"));
    auto* pLabel = new QLabel((bRetry ? QStringLiteral("The password was refused. ") : QString())
        + QStringLiteral("&Password for %1:").arg(account));
    auto* pEdit = new QLineEdit;
    pEdit->setObjectName("password");
    pEdit->setAccessibleName(QStringLiteral("Password"));
    pEdit->setEchoMode(QLineEdit::Password);
    pLabel->setBuddy(pEdit);
    auto* pKeep = new QCheckBox(QStringLiteral("&Keep it in the desktop's keyring"));
    pKeep->setObjectName("keepPassword");
    auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QObject::connect(pButtons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(pButtons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* pLayout = new QVBoxLayout(&dialog);
    pLayout->addWidget(pLabel);
    pLayout->addWidget(pEdit);
    pLayout->addWidget(pKeep);
    pLayout->addWidget(pButtons);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    if (pKeep->isChecked())
        WriteKeyring(account, pEdit->text());
    return pEdit->text().toStdString();
}
