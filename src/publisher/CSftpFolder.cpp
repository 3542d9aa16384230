#include "publisher/CSftpFolder.h"

#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>

#include <fcntl.h>
#include <libssh/libssh.h>
#include <libssh/sftp.h>
#include <unistd.h>

#include "publisher/IPublishPrompt.h"

namespace {

constexpr size_t kChunk = 32768;
// A record larger than this is not ours.
constexpr size_t kMaxRead = size_t { 256 } << 20;

std::string HomeSshFolder()
{
    const char* pHome = std::getenv("HOME");
    return std::string(pHome != nullptr && pHome[0] != '\0' ? pHome : ".") + "/.ssh";
}

std::string SftpReason(int code)
{
    switch (code) {
    case SSH_FX_NO_SUCH_FILE:
        return "no such file or folder";
    case SSH_FX_PERMISSION_DENIED:
        return "permission denied";
    case SSH_FX_NO_CONNECTION:
    case SSH_FX_CONNECTION_LOST:
        return "the connection was lost";
    case SSH_FX_FILE_ALREADY_EXISTS:
        return "a file of that name exists";
    case SSH_FX_FAILURE:
        return "the server refused (the disk may be full, or a file stands where a folder is needed)";
    default:
        return "error " + std::to_string(code);
    }
}

// The server key's "SHA256:..." fingerprint, empty when there is none.
std::string ServerFingerprint(ssh_session session)
{
    ssh_key key = nullptr;
    if (ssh_get_server_publickey(session, &key) != SSH_OK)
        return {};
    unsigned char* pHash = nullptr;
    size_t length = 0;
    std::string fingerprint;
    if (ssh_get_publickey_hash(key, SSH_PUBLICKEY_HASH_SHA256, &pHash, &length) == 0) {
        char* pText = ssh_get_fingerprint_hash(SSH_PUBLICKEY_HASH_SHA256, pHash, length);
        if (pText != nullptr)
            fingerprint = pText;
        ssh_string_free_char(pText);
        ssh_clean_pubkey_hash(&pHash);
    }
    ssh_key_free(key);
    return fingerprint;
}

constexpr uint8_t kFxpExtended = 200;
constexpr uint8_t kFxpStatus = 101;

void PutNumber(std::string& packet, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        packet += static_cast<char>((value >> shift) & 0xff);
}

uint32_t GetNumber(const unsigned char* p)
{
    return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16
        | static_cast<uint32_t>(p[2]) << 8 | p[3];
}

bool ReadExactly(ssh_channel channel, unsigned char* p, size_t count, int timeoutMs)
{
    while (count > 0) {
        const int n = ssh_channel_read_timeout(channel, p, static_cast<uint32_t>(count), 0, timeoutMs);
        if (n <= 0)
            return false;
        p += n;
        count -= static_cast<size_t>(n);
    }
    return true;
}

// OpenSSH's posix-rename@openssh.com: a rename that replaces the target in
// one step (the protocol's own rename refuses an existing target, and
// libssh offers no call for the extension). Sent and answered while no
// other request of the session is outstanding, so libssh's reader never
// sees the answer. Answers the SFTP status, or -1 when the channel failed.
int PosixRename(sftp_session sftp, const std::string& from, const std::string& to, int timeoutMs)
{
    static constexpr std::string_view kName = "posix-rename@openssh.com";
    const uint32_t id = ++sftp->id_counter;
    std::string body(1, static_cast<char>(kFxpExtended));
    PutNumber(body, id);
    for (const std::string_view text : { kName, std::string_view(from), std::string_view(to) }) {
        PutNumber(body, static_cast<uint32_t>(text.size()));
        body += text;
    }
    std::string packet;
    PutNumber(packet, static_cast<uint32_t>(body.size()));
    packet += body;
    if (ssh_channel_write(sftp->channel, packet.data(), static_cast<uint32_t>(packet.size()))
        != static_cast<int>(packet.size()))
        return -1;
    std::array<unsigned char, 4> length {};
    if (!ReadExactly(sftp->channel, length.data(), length.size(), timeoutMs))
        return -1;
    const uint32_t size = GetNumber(length.data());
    if (size < 9 || size > 65536)
        return -1;
    std::string reply(size, '\0');
    auto* pReply = reinterpret_cast<unsigned char*>(reply.data());
    if (!ReadExactly(sftp->channel, pReply, size, timeoutMs) || pReply[0] != kFxpStatus
        || GetNumber(pReply + 1) != id)
        return -1;
    return static_cast<int>(GetNumber(pReply + 5));
}

} // namespace

CSftpFolder::CSftpFolder(const CPublishTarget& target, IPublishPrompt& prompt, int nTimeoutSeconds)
    : m_pShared(std::make_shared<CShared>())
{
    m_pShared->target = target;
    m_pShared->pPrompt = &prompt;
    m_pShared->nTimeoutSeconds = nTimeoutSeconds;
}

CSftpFolder::CSftpFolder(std::shared_ptr<CShared> pShared)
    : m_pShared(std::move(pShared))
{ }

CSftpFolder::~CSftpFolder()
{
    Close();
}

std::unique_ptr<IRemoteFolder> CSftpFolder::Clone() const
{
    return std::unique_ptr<IRemoteFolder>(new CSftpFolder(m_pShared));
}

std::string CSftpFolder::GetFingerprint() const
{
    return m_strFingerprint;
}

void CSftpFolder::Close()
{
    if (m_pSftp != nullptr)
        sftp_free(m_pSftp);
    m_pSftp = nullptr;
    if (m_pSession != nullptr) {
        ssh_disconnect(m_pSession);
        ssh_free(m_pSession);
    }
    m_pSession = nullptr;
}

std::string CSftpFolder::PathOf(const std::string& name) const
{
    const std::string& folder = m_pShared->target.strPath;
    return folder == "/" ? "/" + name : folder + "/" + name;
}

std::string CSftpFolder::Failure(const std::string& what, const std::string& path) const
{
    const CPublishTarget& target = m_pShared->target;
    const int code = m_pSftp != nullptr ? sftp_get_error(m_pSftp) : SSH_FX_NO_CONNECTION;
    std::string reason = SftpReason(code);
    if (code == SSH_FX_NO_CONNECTION || code == SSH_FX_CONNECTION_LOST || code == SSH_FX_OK) {
        const char* pDetail = m_pSession != nullptr ? ssh_get_error(m_pSession) : "";
        reason = pDetail != nullptr && pDetail[0] != '\0' ? std::string("the connection failed: ") + pDetail
                                                          : std::string("the connection failed");
    }
    return "cannot " + what + " " + target.strHost + ":" + path + ": " + reason;
}

bool CSftpFolder::Open(std::string& error)
{
    Close();
    if (!Connect(error) || !CheckHostKey(error) || !Authenticate(error)) {
        Close();
        return false;
    }
    m_pSftp = sftp_new(m_pSession);
    if (m_pSftp == nullptr || sftp_init(m_pSftp) != SSH_OK) {
        error = "cannot start file transfer on " + m_pShared->target.strHost + ": "
            + ssh_get_error(m_pSession) + " (does the server offer SFTP?)";
        Close();
        return false;
    }
    m_bPosixRename = sftp_extension_supported(m_pSftp, "posix-rename@openssh.com", "1") != 0;
    return MakeFolder(error);
}

bool CSftpFolder::Connect(std::string& error)
{
    const CPublishTarget& target = m_pShared->target;
    m_pSession = ssh_new();
    if (m_pSession == nullptr) {
        error = "cannot start an SSH session";
        return false;
    }
    const std::string sshFolder = HomeSshFolder();
    const std::string knownHosts = sshFolder + "/known_hosts";
    const long timeout = m_pShared->nTimeoutSeconds;
    const int port = target.nPort;
    ssh_options_set(m_pSession, SSH_OPTIONS_HOST, target.strHost.c_str());
    ssh_options_set(m_pSession, SSH_OPTIONS_PORT, &port);
    if (!target.strUser.empty())
        ssh_options_set(m_pSession, SSH_OPTIONS_USER, target.strUser.c_str());
    ssh_options_set(m_pSession, SSH_OPTIONS_SSH_DIR, sshFolder.c_str());
    ssh_options_set(m_pSession, SSH_OPTIONS_KNOWNHOSTS, knownHosts.c_str());
    ssh_options_set(m_pSession, SSH_OPTIONS_TIMEOUT, &timeout);
    // Each write waits for the server's answer: without this, every small
    // packet waits out the peer's delayed acknowledgement.
    const int nNoDelay = 1;
    ssh_options_set(m_pSession, SSH_OPTIONS_NODELAY, &nNoDelay);
    if (ssh_connect(m_pSession) != SSH_OK) {
        error = "cannot connect to " + target.strHost + " port " + std::to_string(port) + ": "
            + ssh_get_error(m_pSession);
        return false;
    }
    return true;
}

bool CSftpFolder::CheckHostKey(std::string& error)
{
    const CPublishTarget& target = m_pShared->target;
    m_strFingerprint = ServerFingerprint(m_pSession);
    const std::string host = target.KnownHostsName();
    const ssh_known_hosts_e state = ssh_session_is_known_server(m_pSession);
    if (state == SSH_KNOWN_HOSTS_OK)
        return true;
    if (state == SSH_KNOWN_HOSTS_CHANGED || state == SSH_KNOWN_HOSTS_OTHER) {
        error = "the host key of " + host + " has changed (it is now " + m_strFingerprint
            + "): either the server was set up anew or someone is intercepting the connection. Nothing "
              "was sent. If you know the new key is right, remove the old one with: ssh-keygen -R '"
            + host + "'";
        return false;
    }
    if (state == SSH_KNOWN_HOSTS_ERROR || m_strFingerprint.empty()) {
        error = "cannot check the host key of " + host + ": " + ssh_get_error(m_pSession);
        return false;
    }
    // Unknown: another connection of this publish may have accepted it.
    std::lock_guard lock(m_pShared->mutex);
    if (m_pShared->strAcceptedKey != m_strFingerprint) {
        if (!m_pShared->pPrompt->AcceptHostKey(host, m_strFingerprint)) {
            error
                = "the host key of " + host + " is not known (" + m_strFingerprint + "); it was not accepted";
            return false;
        }
        m_pShared->strAcceptedKey = m_strFingerprint;
        std::error_code code;
        std::filesystem::create_directories(HomeSshFolder(), code);
        std::filesystem::permissions(HomeSshFolder(), std::filesystem::perms::owner_all, code);
        // Not remembered only costs the question next time.
        ssh_session_update_known_hosts(m_pSession);
    }
    return true;
}

bool CSftpFolder::Authenticate(std::string& error)
{
    const CPublishTarget& target = m_pShared->target;
    if (ssh_userauth_none(m_pSession, nullptr) == SSH_AUTH_SUCCESS)
        return true;
    const int methods = ssh_userauth_list(m_pSession, nullptr);
    if ((methods & SSH_AUTH_METHOD_PUBLICKEY) != 0
        && ssh_userauth_publickey_auto(m_pSession, nullptr, nullptr) == SSH_AUTH_SUCCESS)
        return true;
    if ((methods & (SSH_AUTH_METHOD_PASSWORD | SSH_AUTH_METHOD_INTERACTIVE)) != 0)
        return TryPassword(methods, error);
    error = "authentication failed for " + (target.strUser.empty() ? std::string() : target.strUser + "@")
        + target.strHost
        + ": the server accepted none of your keys (is the SSH agent running, or "
          "the key in ~/.ssh/authorized_keys on the server?)";
    return false;
}

bool CSftpFolder::TryPassword(int methods, std::string& error)
{
    const CPublishTarget& target = m_pShared->target;
    const std::string account
        = (target.strUser.empty() ? std::string() : target.strUser + "@") + target.strHost;
    std::lock_guard lock(m_pShared->mutex);
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (!m_pShared->password || attempt > 0)
            m_pShared->password = m_pShared->pPrompt->AskPassword(account, attempt > 0);
        if (!m_pShared->password) {
            // Declining to type it again after a refusal is still a refusal.
            error = "authentication failed for " + account
                + (attempt > 0 ? ": the password was refused" : ": no password given");
            return false;
        }
        const std::string& password = *m_pShared->password;
        int rc = SSH_AUTH_DENIED;
        if ((methods & SSH_AUTH_METHOD_PASSWORD) != 0)
            rc = ssh_userauth_password(m_pSession, nullptr, password.c_str());
        if (rc != SSH_AUTH_SUCCESS && (methods & SSH_AUTH_METHOD_INTERACTIVE) != 0) {
            rc = ssh_userauth_kbdint(m_pSession, nullptr, nullptr);
            while (rc == SSH_AUTH_INFO) {
                for (int i = 0; i < ssh_userauth_kbdint_getnprompts(m_pSession); ++i)
                    ssh_userauth_kbdint_setanswer(m_pSession, static_cast<unsigned>(i), password.c_str());
                rc = ssh_userauth_kbdint(m_pSession, nullptr, nullptr);
            }
        }
        if (rc == SSH_AUTH_SUCCESS)
            return true;
        if (rc == SSH_AUTH_ERROR)
            break;
    }
    m_pShared->password.reset();
    error = "authentication failed for " + account + ": the password was refused";
    return false;
}

bool CSftpFolder::MakeFolder(std::string& error)
{
    const std::string& folder = m_pShared->target.strPath;
    // Each missing folder of the path, from the top.
    for (size_t end = folder.find('/', 1);; end = folder.find('/', end + 1)) {
        const std::string part = folder.substr(0, end);
        sftp_attributes pAttributes = sftp_stat(m_pSftp, part.c_str());
        if (pAttributes == nullptr && sftp_get_error(m_pSftp) == SSH_FX_NO_SUCH_FILE
            && sftp_mkdir(m_pSftp, part.c_str(), 0755) != SSH_OK) {
            error = Failure("make the folder", part);
            return false;
        }
        const bool bFile = pAttributes != nullptr && pAttributes->type != SSH_FILEXFER_TYPE_DIRECTORY;
        sftp_attributes_free(pAttributes);
        if (bFile) {
            error = "cannot publish into " + m_pShared->target.strHost + ":" + part
                + ": it is a file where a folder is needed";
            return false;
        }
        if (end == std::string::npos)
            return true;
    }
}

bool CSftpFolder::List(std::vector<CRemoteEntry>& entries, std::string& error)
{
    entries.clear();
    const std::string& folder = m_pShared->target.strPath;
    sftp_dir pDir = m_pSftp != nullptr ? sftp_opendir(m_pSftp, folder.c_str()) : nullptr;
    if (pDir == nullptr) {
        error = Failure("list", folder);
        return false;
    }
    while (sftp_attributes pEntry = sftp_readdir(m_pSftp, pDir)) {
        const std::string name = pEntry->name != nullptr ? pEntry->name : "";
        CRemoteEntry entry { name, CRemoteEntry::EKind::Other };
        if (pEntry->type == SSH_FILEXFER_TYPE_REGULAR)
            entry.kind = CRemoteEntry::EKind::File;
        else if (pEntry->type == SSH_FILEXFER_TYPE_DIRECTORY)
            entry.kind = CRemoteEntry::EKind::Folder;
        else if (pEntry->type == SSH_FILEXFER_TYPE_SYMLINK)
            entry.kind = CRemoteEntry::EKind::Link;
        sftp_attributes_free(pEntry);
        if (name != "." && name != "..")
            entries.push_back(std::move(entry));
    }
    const bool bComplete = sftp_dir_eof(pDir) != 0;
    if (!bComplete)
        error = Failure("list", folder);
    sftp_closedir(pDir);
    return bComplete;
}

bool CSftpFolder::Read(const std::string& name, std::string& bytes, std::string& error)
{
    const std::string path = PathOf(name);
    sftp_file pFile = sftp_open(m_pSftp, path.c_str(), O_RDONLY, 0);
    if (pFile == nullptr) {
        error = Failure("read", path);
        return false;
    }
    bytes.clear();
    std::array<char, kChunk> buffer {};
    ssize_t n = 0;
    while ((n = sftp_read(pFile, buffer.data(), buffer.size())) > 0 && bytes.size() < kMaxRead)
        bytes.append(buffer.data(), static_cast<size_t>(n));
    if (n < 0)
        error = Failure("read", path);
    else if (bytes.size() >= kMaxRead)
        error = "cannot read " + m_pShared->target.strHost + ":" + path + ": it is too large";
    sftp_close(pFile);
    return n == 0;
}

bool CSftpFolder::Upload(const std::function<long(char*, size_t)>& read, const std::string& name,
    const std::atomic<bool>& cancel, std::string& error)
{
    const std::string temp = PathOf(MakeRemoteTempName());
    const std::string path = PathOf(name);
    sftp_file pFile
        = m_pSftp != nullptr ? sftp_open(m_pSftp, temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644) : nullptr;
    if (pFile == nullptr) {
        error = Failure("write", path);
        return false;
    }
    std::array<char, kChunk> buffer {};
    bool bOk = true;
    long n = 0;
    while (bOk && !cancel && (n = read(buffer.data(), buffer.size())) > 0)
        bOk = sftp_write(pFile, buffer.data(), static_cast<size_t>(n)) == n;
    if (!bOk)
        error = Failure("write", path);
    else if (n < 0)
        error = "cannot read the local file for " + name + ": " + std::strerror(errno);
    bOk = bOk && n == 0 && !cancel;
    if (sftp_close(pFile) != SSH_NO_ERROR && bOk) {
        error = Failure("write", path);
        bOk = false;
    }
    if (bOk && !Rename(temp, path, error))
        bOk = false;
    if (!bOk) {
        if (cancel)
            error = "cancelled";
        sftp_unlink(m_pSftp, temp.c_str());
    }
    return bOk;
}

bool CSftpFolder::Rename(const std::string& from, const std::string& to, std::string& error)
{
    if (m_bPosixRename) {
        const int status = PosixRename(m_pSftp, from, to, m_pShared->nTimeoutSeconds * 1000);
        if (status == SSH_FX_OK)
            return true;
        error = "cannot replace " + m_pShared->target.strHost + ":" + to + ": "
            + (status < 0 ? std::string("the connection failed") : SftpReason(status));
        return false;
    }
    // A server without the extension: the old file goes first, which leaves
    // a moment without it.
    if (sftp_rename(m_pSftp, from.c_str(), to.c_str()) == SSH_OK)
        return true;
    if (sftp_unlink(m_pSftp, to.c_str()) == SSH_OK
        && sftp_rename(m_pSftp, from.c_str(), to.c_str()) == SSH_OK)
        return true;
    error = Failure("replace", to);
    return false;
}

bool CSftpFolder::Put(const std::string& localPath, const std::string& name, const std::atomic<bool>& cancel,
    std::string& error)
{
    const int fd = open(localPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = "cannot read " + localPath + ": " + std::strerror(errno);
        return false;
    }
    const bool bOk = Upload(
        [fd](char* p, size_t size) { return static_cast<long>(::read(fd, p, size)); }, name, cancel, error);
    close(fd);
    return bOk;
}

bool CSftpFolder::PutBytes(const std::string& bytes, const std::string& name, std::string& error)
{
    CMemoryReader reader(bytes);
    const std::atomic<bool> never { false };
    return Upload(std::ref(reader), name, never, error);
}

bool CSftpFolder::Remove(const std::string& name, std::string& error)
{
    const std::string path = PathOf(name);
    if (m_pSftp != nullptr
        && (sftp_unlink(m_pSftp, path.c_str()) == SSH_OK || sftp_get_error(m_pSftp) == SSH_FX_NO_SUCH_FILE))
        return true;
    error = Failure("remove", path);
    return false;
}
