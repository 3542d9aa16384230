#pragma once

#include <optional>
#include <string>

// A key pair of object storage; the secret stays in memory only.
struct CAccessKey {
    std::string strKeyId;
    std::string strSecret;
    std::string strSessionToken;
};

// The questions a publish may have to ask the user while it connects: the
// window asks them in a dialog (and may answer the secrets from the
// desktop's keyring), the command line answers from its options, the
// environment or the terminal. Called on the publishing thread.
class IPublishPrompt {
public:
    virtual ~IPublishPrompt() = default;

    // A host whose key known_hosts does not hold: true to trust the key (it
    // is then remembered there). host as known_hosts names it.
    virtual bool AcceptHostKey(const std::string& host, const std::string& fingerprint) = 0;
    // The password of account (user@host); nothing when the user declines.
    // bRetry: the last one given was refused.
    virtual std::optional<std::string> AskPassword(const std::string& account, bool bRetry) = 0;
    // A TLS certificate the system does not trust (self-signed, or not made
    // out to host): true to trust exactly this certificate ("SHA256:" and
    // its digest in hex) from now on. reason: what the check found.
    virtual bool AcceptCertificate(
        const std::string& /*host*/, const std::string& /*fingerprint*/, const std::string& /*reason*/)
    {
        return false;
    }
    // The access key of object storage when neither the environment nor
    // ~/.aws/credentials holds one; nothing when the user declines.
    // account: the bucket and endpoint; bRetry: the last one was refused.
    virtual std::optional<CAccessKey> AskAccessKey(const std::string& /*account*/, bool /*bRetry*/)
    {
        return std::nullopt;
    }
};
