#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <optional>

#include "publisher/CPublishTarget.h"
#include "publisher/IRemoteFolder.h"

class IPublishPrompt;
struct ssh_session_struct;
struct sftp_session_struct;

// A folder on an SSH server (sftp://), through libssh. The server's key is
// checked against ~/.ssh/known_hosts (of $HOME); authentication tries the
// SSH agent and the user's keys, then a password asked through the prompt
// and kept in memory only. Every call is bounded by the timeout: a server
// that stops answering ends the call with a message instead of a hang.
class CSftpFolder : public IRemoteFolder {
public:
    CSftpFolder(const CPublishTarget& target, IPublishPrompt& prompt, int nTimeoutSeconds = 30);
    ~CSftpFolder() override;

    bool Open(std::string& error) override;
    bool List(std::vector<CRemoteEntry>& entries, std::string& error) override;
    bool Read(const std::string& name, std::string& bytes, std::string& error) override;
    bool Put(const std::string& localPath, const std::string& name, const std::atomic<bool>& cancel,
        std::string& error) override;
    bool PutBytes(const std::string& bytes, const std::string& name, std::string& error) override;
    bool Remove(const std::string& name, std::string& error) override;
    std::unique_ptr<IRemoteFolder> Clone() const override;

    // The server key's SHA256 fingerprint, once connected.
    std::string GetFingerprint() const;

private:
    // What every connection to the folder shares.
    struct CShared {
        CPublishTarget target;
        IPublishPrompt* pPrompt = nullptr;
        int nTimeoutSeconds = 30;
        std::mutex mutex;
        std::string strAcceptedKey;
        std::optional<std::string> password;
    };
    explicit CSftpFolder(std::shared_ptr<CShared> pShared);

    bool Connect(std::string& error);
    bool CheckHostKey(std::string& error);
    bool Authenticate(std::string& error);
    bool TryPassword(int methods, std::string& error);
    bool MakeFolder(std::string& error);
    // Renames from over to in one step where the server can.
    bool Rename(const std::string& from, const std::string& to, std::string& error);
    void Close();
    std::string PathOf(const std::string& name) const;
    // A message for the last SFTP failure of what on path.
    std::string Failure(const std::string& what, const std::string& path) const;
    // Sends what read gives (bytes into a buffer, 0 at the end, -1 on a
    // failure) under a temporary name, then renames it over name.
    bool Upload(const std::function<long(char*, size_t)>& read, const std::string& name,
        const std::atomic<bool>& cancel, std::string& error);

    std::shared_ptr<CShared> m_pShared;
    ssh_session_struct* m_pSession = nullptr;
    sftp_session_struct* m_pSftp = nullptr;
    std::string m_strFingerprint;
    bool m_bPosixRename = false;
};
