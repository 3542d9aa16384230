#pragma once

#include <ostream>
#include <string>

#include "publisher/IPublishPrompt.h"

// The command line's answers to a publish's questions: a host key is
// accepted only when it is the one named by --accept-host-key, a
// certificate the system does not trust only when --accept-certificate
// names it; a password
// comes from PAGEWELL_PASSWORD, or is asked on the terminal without echo
// (never when there is no terminal).
class CTerminalPublishPrompt : public IPublishPrompt {
public:
    CTerminalPublishPrompt(std::string acceptedKey, std::string acceptedCertificate, std::ostream& err)
        : m_strAcceptedKey(std::move(acceptedKey))
        , m_strAcceptedCertificate(std::move(acceptedCertificate))
        , m_err(err)
    { }

    bool AcceptHostKey(const std::string& host, const std::string& fingerprint) override;
    bool AcceptCertificate(
        const std::string& host, const std::string& fingerprint, const std::string& reason) override;
    std::optional<std::string> AskPassword(const std::string& account, bool bRetry) override;

private:
    std::string m_strAcceptedKey;
    std::string m_strAcceptedCertificate;
    std::ostream& m_err;
};
