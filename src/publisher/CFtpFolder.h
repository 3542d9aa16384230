#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <optional>

#include "publisher/CCertificateCheck.h"
#include "publisher/CPublishTarget.h"
#include "publisher/IRemoteFolder.h"

class CCurlSession;
class IPublishPrompt;

// A folder on an FTP server, through libcurl: ftps:// with explicit TLS
// (AUTH TLS on the usual port, the files too on encrypted connections),
// ftp:// in the clear. Passive mode. A certificate the system does not
// vouch for is trusted only when the user accepts its fingerprint, which is
// then remembered (CKnownCertificates); a remembered one that changed is
// refused. The password is asked through the prompt and kept in memory.
class CFtpFolder : public IRemoteFolder {
public:
    CFtpFolder(const CPublishTarget& target, IPublishPrompt& prompt, int nTimeoutSeconds = 30);
    ~CFtpFolder() override;

    bool Open(std::string& error) override;
    bool List(std::vector<CRemoteEntry>& entries, std::string& error) override;
    bool Read(const std::string& name, std::string& bytes, std::string& error) override;
    bool Put(const std::string& localPath, const std::string& name, const std::atomic<bool>& cancel,
        std::string& error) override;
    bool PutBytes(const std::string& bytes, const std::string& name, std::string& error) override;
    bool Remove(const std::string& name, std::string& error) override;
    std::unique_ptr<IRemoteFolder> Clone() const override;

    // Reads a listing of MLSD ("facts; name") or LIST (Unix "ls -l" lines).
    static std::vector<CRemoteEntry> ParseListing(const std::string& text, bool bMlsd);

private:
    // What every connection to the folder shares.
    struct CShared {
        CPublishTarget target;
        IPublishPrompt* pPrompt = nullptr;
        int nTimeoutSeconds = 30;
        std::mutex mutex;
        std::optional<std::string> password;
        bool bPasswordAsked = false;
        // The certificate accepted by the user ("" when the system's store decides).
        std::optional<std::string> trusted;
    };
    explicit CFtpFolder(std::shared_ptr<CShared> pShared);

    std::string UrlOf(const std::string& name) const;
    std::string PathOf(const std::string& name) const;
    // Runs one request (setup makes it on the session) and answers what
    // stands in the way as the user says: a certificate to accept, a
    // password to give again. false with a message naming what and path.
    bool Run(const std::function<void()>& setup, const std::string& what, const std::string& path,
        std::string& error);
    // The options every request has: TLS, the account, the timeouts.
    void SetCommon(const std::string& url);
    // Commands run in the folder (after changing into it).
    bool Commands(const std::vector<std::string>& commands, const std::string& what, const std::string& path,
        std::string& error);
    bool Upload(const std::function<long(char*, size_t)>& read, uint64_t nSize,
        const std::function<void()>& rewind, const std::string& name, const std::atomic<bool>& cancel,
        std::string& error);
    bool AskToTrust(std::string& error);
    bool AskPassword(bool bRetry, std::string& error);
    std::string Account() const;
    std::string Reason(int code) const;

    std::shared_ptr<CShared> m_pShared;
    std::unique_ptr<CCurlSession> m_pSession;
    CCertificateCheck m_check;
    std::string m_strPinned;
};
