#include "dialogs/CPublishPrompt.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QThread>
#include <QVBoxLayout>

#include "dialogs/CPublishKeyring.h"

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

// A question with a secret to type: the fields (label, object name,
// hidden), a box to keep the answer in the keyring, OK and Cancel.
class CSecretDialog : public QDialog {
public:
    CSecretDialog(QWidget* pParent, const QString& title, const QString& intro)
        : QDialog(pParent)
        , m_pLayout(new QVBoxLayout(this))
    {
        setWindowTitle(title);
        if (!intro.isEmpty()) {
            auto* pIntro = new QLabel(intro);
            pIntro->setWordWrap(true);
            m_pLayout->addWidget(pIntro);
        }
    }

    QLineEdit* AddField(const QString& label, const char* objectName, bool bHidden)
    {
        auto* pLabel = new QLabel(label);
        auto* pEdit = new QLineEdit;
        pEdit->setObjectName(QString::fromLatin1(objectName));
        pEdit->setAccessibleName(QString(label).remove(QLatin1Char('&')).remove(QLatin1Char(':')));
        if (bHidden)
            pEdit->setEchoMode(QLineEdit::Password);
        pLabel->setBuddy(pEdit);
        m_pLayout->addWidget(pLabel);
        m_pLayout->addWidget(pEdit);
        return pEdit;
    }

    // Shows the window; whether the user pressed OK, and whether to keep.
    bool Ask(bool& bKeep)
    {
        auto* pKeep = new QCheckBox(QStringLiteral("&Keep it in the desktop's keyring"));
        pKeep->setObjectName("keepSecret");
        auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        QObject::connect(pButtons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        QObject::connect(pButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        m_pLayout->addWidget(pKeep);
        m_pLayout->addWidget(pButtons);
        const bool bOk = exec() == QDialog::Accepted;
        bKeep = pKeep->isChecked();
        return bOk;
    }

private:
    QVBoxLayout* m_pLayout;
};

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

std::optional<CAccessKey> CPublishPrompt::AskAccessKey(const std::string& account, bool bRetry)
{
    return OnGuiThread<std::optional<CAccessKey>>(
        this, [&] { return AskAccessKeyNow(QString::fromStdString(account), bRetry); });
}

std::optional<QString> CPublishPrompt::KeptSecret(bool bRetry)
{
    if (bRetry || m_strTarget.isEmpty())
        return std::nullopt;
    QString problem;
    auto kept = CPublishKeyring::Read(m_strTarget, problem);
    if (!problem.isEmpty())
        emit Notice(QStringLiteral("The desktop's keyring cannot be reached (%1): the secret is asked for "
                                   "each time and kept nowhere.")
                        .arg(problem));
    return kept;
}

void CPublishPrompt::Keep(const QString& secret)
{
    QString problem;
    if (CPublishKeyring::Write(m_strTarget, secret, problem))
        emit Notice(QStringLiteral("Kept in the desktop's keyring for %1.").arg(m_strTarget));
    else
        emit Notice(QStringLiteral("The desktop's keyring did not keep it (%1): it will be asked for again.")
                        .arg(problem));
}

std::optional<std::string> CPublishPrompt::AskPasswordNow(const QString& account, bool bRetry)
{
    if (const auto kept = KeptSecret(bRetry))
        return kept->toStdString();
    CSecretDialog dialog(m_pParent, QStringLiteral("Password"),
        bRetry ? QStringLiteral("The password was refused.") : QString());
    QLineEdit* pPassword
        = dialog.AddField(QStringLiteral("&Password for %1:").arg(account), "password", true);
    bool bKeep = false;
    if (!dialog.Ask(bKeep))
        return std::nullopt;
    if (bKeep)
        Keep(pPassword->text());
    return pPassword->text().toStdString();
}

std::optional<CAccessKey> CPublishPrompt::AskAccessKeyNow(const QString& account, bool bRetry)
{
    QString keyId;
    QString secret;
    if (const auto kept = KeptSecret(bRetry); kept && CPublishKeyring::SplitAccessKey(*kept, keyId, secret))
        return CAccessKey { keyId.toStdString(), secret.toStdString(), {} };
    CSecretDialog dialog(m_pParent, QStringLiteral("Access key"),
        (bRetry ? QStringLiteral("The access key was refused. ") : QString())
            + QStringLiteral("Neither the environment nor the credentials file holds an access key for %1.")
                  .arg(account));
    QLineEdit* pKeyId = dialog.AddField(QStringLiteral("Access &key ID:"), "accessKeyId", false);
    QLineEdit* pSecret = dialog.AddField(QStringLiteral("&Secret access key:"), "secretKey", true);
    bool bKeep = false;
    if (!dialog.Ask(bKeep) || pKeyId->text().trimmed().isEmpty() || pSecret->text().isEmpty())
        return std::nullopt;
    if (bKeep)
        Keep(CPublishKeyring::JoinAccessKey(pKeyId->text().trimmed(), pSecret->text()));
    return CAccessKey { pKeyId->text().trimmed().toStdString(), pSecret->text().toStdString(), {} };
}
