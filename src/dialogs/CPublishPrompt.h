#pragma once

#include <QObject>

#include "publisher/IPublishPrompt.h"

class QWidget;

// The window's answers to a publish's questions, asked on the GUI thread
// while the publishing thread waits: an unknown host key is shown with its
// fingerprint for the user to accept, and so is a TLS certificate the
// system does not trust; a password is taken from the desktop's
// keyring when one was kept there, otherwise asked, and kept there when the
// user ticks the box. Never written to a file of ours.
class CPublishPrompt : public QObject, public IPublishPrompt {
    Q_OBJECT
public:
    explicit CPublishPrompt(QWidget* pParent);

    bool AcceptHostKey(const std::string& host, const std::string& fingerprint) override;
    std::optional<std::string> AskPassword(const std::string& account, bool bRetry) override;
    bool AcceptCertificate(
        const std::string& host, const std::string& fingerprint, const std::string& reason) override;

    // The keyring's entries are named by account ("user@host").
    static constexpr const char* kKeyringService = "Pagewell publishing";

private:
    bool AskHostKeyNow(const QString& host, const QString& fingerprint);
    bool AskCertificateNow(const QString& host, const QString& fingerprint, const QString& reason);
    std::optional<std::string> AskPasswordNow(const QString& account, bool bRetry);

    QWidget* m_pParent;
};
