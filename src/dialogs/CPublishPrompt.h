#pragma once

#include <QObject>
#include <QString>

#include "publisher/IPublishPrompt.h"

class QWidget;

// The window's answers to a publish's questions, asked on the GUI thread
// while the publishing thread waits: an unknown host key is shown with its
// fingerprint for the user to accept, and so is a TLS certificate the
// system does not trust; a password or an access key of object storage is
// taken from the desktop's keyring when one was kept there for the target,
// otherwise asked, and kept there when the user ticks the box. Never
// written to a file of ours.
class CPublishPrompt : public QObject, public IPublishPrompt {
    Q_OBJECT
public:
    explicit CPublishPrompt(QWidget* pParent);

    // The address of the target the next publish goes to: the name of its
    // entry in the keyring. GUI thread, before the publish starts.
    void SetTarget(const QString& url) { m_strTarget = url; }

    bool AcceptHostKey(const std::string& host, const std::string& fingerprint) override;
    std::optional<std::string> AskPassword(const std::string& account, bool bRetry) override;
    bool AcceptCertificate(
        const std::string& host, const std::string& fingerprint, const std::string& reason) override;
    std::optional<CAccessKey> AskAccessKey(const std::string& account, bool bRetry) override;

signals:
    // What the user should know about the keyring (it cannot be reached, so
    // the secret is asked each time); on the GUI thread.
    void Notice(const QString& text);

private:
    bool AskHostKeyNow(const QString& host, const QString& fingerprint);
    bool AskCertificateNow(const QString& host, const QString& fingerprint, const QString& reason);
    std::optional<std::string> AskPasswordNow(const QString& account, bool bRetry);
    std::optional<CAccessKey> AskAccessKeyNow(const QString& account, bool bRetry);
    // The kept secret of the target, unless the last one was refused.
    std::optional<QString> KeptSecret(bool bRetry);
    void Keep(const QString& secret);

    QWidget* m_pParent;
    QString m_strTarget;
};
