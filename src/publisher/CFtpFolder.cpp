#include "publisher/CFtpFolder.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "publisher/CCurlSession.h"
#include "publisher/IPublishPrompt.h"

namespace {

// Percent-encodes what a URL path may not hold as it is (";" too: libcurl
// reads ";type=" at the end of an FTP path as the transfer mode).
std::string EncodePath(const std::string& path)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    for (const char c : path) {
        const auto u = static_cast<unsigned char>(c);
        if (std::isalnum(u) != 0 || std::strchr("/-._~!$&'()*+,=@", c) != nullptr)
            encoded += c;
        else {
            encoded += '%';
            encoded += kHex[u >> 4];
            encoded += kHex[u & 15];
        }
    }
    return encoded;
}

// One line of a Unix "ls -l" listing: the kind from its first letter, the
// name after the eighth field.
std::optional<CRemoteEntry> ParseListLine(std::string_view line)
{
    if (line.empty() || line.starts_with("total "))
        return std::nullopt;
    size_t pos = 0;
    for (int field = 0; field < 8; ++field) {
        pos = line.find_first_not_of(' ', pos);
        pos = pos == std::string_view::npos ? pos : line.find(' ', pos);
        if (pos == std::string_view::npos)
            return std::nullopt;
    }
    std::string_view name = line.substr(pos + 1);
    CRemoteEntry entry { {}, CRemoteEntry::EKind::Other };
    if (line[0] == '-')
        entry.kind = CRemoteEntry::EKind::File;
    else if (line[0] == 'd')
        entry.kind = CRemoteEntry::EKind::Folder;
    else if (line[0] == 'l') {
        entry.kind = CRemoteEntry::EKind::Link;
        name = name.substr(0, name.find(" -> "));
    }
    entry.strName = std::string(name);
    return entry;
}

// One line of MLSD: "fact=value;fact=value; name".
std::optional<CRemoteEntry> ParseMlsdLine(std::string_view line)
{
    const size_t space = line.find(' ');
    if (space == std::string_view::npos)
        return std::nullopt;
    std::string type;
    for (std::string_view facts = line.substr(0, space); !facts.empty();) {
        const size_t semicolon = facts.find(';');
        std::string fact(facts.substr(0, semicolon));
        facts = semicolon == std::string_view::npos ? std::string_view() : facts.substr(semicolon + 1);
        std::transform(fact.begin(), fact.end(), fact.begin(),
            [](char c) { return static_cast<char>(std::tolower(c)); });
        if (fact.starts_with("type="))
            type = fact.substr(5);
    }
    CRemoteEntry entry { std::string(line.substr(space + 1)), CRemoteEntry::EKind::Other };
    if (type == "file")
        entry.kind = CRemoteEntry::EKind::File;
    else if (type == "dir" || type == "cdir" || type == "pdir")
        entry.kind = CRemoteEntry::EKind::Folder;
    else if (type.starts_with("os.unix=slink") || type.starts_with("os.unix=symlink"))
        entry.kind = CRemoteEntry::EKind::Link;
    return entry;
}

bool IsConnectFailure(CURLcode code)
{
    return code == CURLE_COULDNT_CONNECT || code == CURLE_COULDNT_RESOLVE_HOST
        || code == CURLE_OPERATION_TIMEDOUT || code == CURLE_WEIRD_SERVER_REPLY;
}

} // namespace

CFtpFolder::CFtpFolder(const CPublishTarget& target, IPublishPrompt& prompt, int nTimeoutSeconds)
    : m_pShared(std::make_shared<CShared>())
{
    m_pShared->target = target;
    m_pShared->pPrompt = &prompt;
    m_pShared->nTimeoutSeconds = nTimeoutSeconds;
}

CFtpFolder::CFtpFolder(std::shared_ptr<CShared> pShared)
    : m_pShared(std::move(pShared))
{ }

CFtpFolder::~CFtpFolder() = default;

std::unique_ptr<IRemoteFolder> CFtpFolder::Clone() const
{
    return std::unique_ptr<IRemoteFolder>(new CFtpFolder(m_pShared));
}

std::vector<CRemoteEntry> CFtpFolder::ParseListing(const std::string& text, bool bMlsd)
{
    std::vector<CRemoteEntry> entries;
    std::string_view rest(text);
    while (!rest.empty()) {
        const size_t lf = rest.find('\n');
        std::string_view line = rest.substr(0, lf);
        rest = lf == std::string_view::npos ? std::string_view() : rest.substr(lf + 1);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        auto entry = bMlsd ? ParseMlsdLine(line) : ParseListLine(line);
        if (entry && entry->strName != "." && entry->strName != ".." && !entry->strName.empty())
            entries.push_back(std::move(*entry));
    }
    return entries;
}

std::string CFtpFolder::UrlOf(const std::string& name) const
{
    const CPublishTarget& target = m_pShared->target;
    const bool bBrackets = target.strHost.find(':') != std::string::npos;
    std::string url = "ftp://" + (bBrackets ? "[" + target.strHost + "]" : target.strHost) + ":"
        + std::to_string(target.nPort) + EncodePath(target.strPath);
    if (!url.ends_with('/'))
        url += '/';
    return url + EncodePath(name);
}

std::string CFtpFolder::PathOf(const std::string& name) const
{
    const std::string& folder = m_pShared->target.strPath;
    return name.empty() ? folder : folder == "/" ? "/" + name : folder + "/" + name;
}

std::string CFtpFolder::Account() const
{
    const CPublishTarget& target = m_pShared->target;
    return (target.strUser.empty() ? std::string() : target.strUser + "@") + target.strHost;
}

void CFtpFolder::SetCommon(const std::string& url)
{
    if (m_pSession == nullptr)
        m_pSession = std::make_unique<CCurlSession>(m_pShared->nTimeoutSeconds);
    m_pSession->Begin(url);
    CURL* pCurl = m_pSession->Handle();
    const CPublishTarget& target = m_pShared->target;
    if (target.eScheme == CPublishTarget::EScheme::Ftps) {
        curl_easy_setopt(pCurl, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL));
        m_check.Apply(pCurl, m_strPinned);
    }
    std::lock_guard lock(m_pShared->mutex);
    curl_easy_setopt(pCurl, CURLOPT_USERNAME, target.strUser.empty() ? "anonymous" : target.strUser.c_str());
    curl_easy_setopt(pCurl, CURLOPT_PASSWORD, m_pShared->password ? m_pShared->password->c_str() : "");
}

bool CFtpFolder::AskPassword(bool bRetry, std::string& error)
{
    std::lock_guard lock(m_pShared->mutex);
    if (!bRetry && m_pShared->bPasswordAsked) {
        if (m_pShared->password)
            return true;
        error = "authentication failed for " + Account() + ": no password given";
        return false;
    }
    m_pShared->bPasswordAsked = true;
    m_pShared->password = m_pShared->pPrompt->AskPassword(Account(), bRetry);
    if (!m_pShared->password) {
        error = "authentication failed for " + Account()
            + (bRetry ? ": the password was refused" : ": no password given");
        return false;
    }
    return true;
}

bool CFtpFolder::AskToTrust(std::string& error)
{
    const CPublishTarget& target = m_pShared->target;
    const std::string fingerprint = m_check.GetFingerprint();
    const std::string host = target.HostAndPort();
    if (fingerprint.empty()) {
        error = "cannot check the certificate of " + host;
        return false;
    }
    const std::string reason
        = m_check.GetProblem().empty() ? "it is not made out to " + target.strHost : m_check.GetProblem();
    std::lock_guard lock(m_pShared->mutex);
    if (!m_pShared->trusted || !CCertificateCheck::SameFingerprint(*m_pShared->trusted, fingerprint)) {
        if (!m_pShared->pPrompt->AcceptCertificate(host, fingerprint, reason)) {
            error = "the certificate of " + host + " is not trusted (" + reason + "; " + fingerprint
                + "); it was not accepted";
            return false;
        }
        m_pShared->trusted = fingerprint;
        // Not remembered only costs the question next time.
        std::string ignored;
        CKnownCertificates::Remember(host, fingerprint, ignored);
    }
    m_strPinned = *m_pShared->trusted;
    return true;
}

std::string CFtpFolder::Reason(int code) const
{
    std::string reason;
    switch (code) {
    case CURLE_LOGIN_DENIED:
        return "authentication failed for " + Account() + ": the user name or password was refused";
    case CURLE_REMOTE_ACCESS_DENIED:
        reason = "a file where a folder is needed, or permission denied";
        break;
    case CURLE_UPLOAD_FAILED:
        reason = "the server refused the file (permission denied, or the disk is full)";
        break;
    case CURLE_REMOTE_DISK_FULL:
        reason = "the server's disk is full";
        break;
    case CURLE_REMOTE_FILE_NOT_FOUND:
        reason = "no such file or folder";
        break;
    case CURLE_QUOTE_ERROR:
        reason = "the server refused the command";
        break;
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    case CURLE_GOT_NOTHING:
    case CURLE_PARTIAL_FILE:
    case CURLE_FTP_ACCEPT_FAILED:
    case CURLE_FTP_CANT_GET_HOST:
        reason = "the connection was lost";
        break;
    default:
        return m_pSession->Describe(static_cast<CURLcode>(code));
    }
    return reason + " (" + m_pSession->Describe(static_cast<CURLcode>(code)) + ")";
}

bool CFtpFolder::Run(
    const std::function<void()>& setup, const std::string& what, const std::string& path, std::string& error)
{
    const CPublishTarget& target = m_pShared->target;
    bool bTriedSystem = false;
    std::string changedTo;
    for (int attempt = 0; attempt < 6; ++attempt) {
        setup();
        const CURLcode code = m_pSession->Perform();
        if (code == CURLE_OK)
            return true;
        if (m_pSession->WasCancelled()) {
            error = "cancelled";
            return false;
        }
        const bool bTls = target.eScheme == CPublishTarget::EScheme::Ftps;
        // Another certificate than the accepted one: trusted only when the
        // system's store vouches for it.
        if (bTls && !m_strPinned.empty() && m_check.PinRefused() && !bTriedSystem) {
            changedTo = m_check.GetFingerprint();
            bTriedSystem = true;
            m_strPinned.clear();
            continue;
        }
        if (bTls && m_strPinned.empty()
            && (code == CURLE_PEER_FAILED_VERIFICATION || !m_check.GetProblem().empty())) {
            if (bTriedSystem) {
                error = "the certificate of " + target.HostAndPort() + " has changed (it is now " + changedTo
                    + "): either the server was set up anew or someone is intercepting the connection. "
                      "Nothing was sent. If you know the new certificate is right, remove the line of "
                    + target.HostAndPort() + " from " + CKnownCertificates::FilePath()
                    + " and accept it again";
                return false;
            }
            if (!AskToTrust(error))
                return false;
            continue;
        }
        if (code == CURLE_LOGIN_DENIED && !target.strUser.empty()) {
            if (attempt < 2 && AskPassword(true, error))
                continue;
            error = Reason(code);
            return false;
        }
        if (IsConnectFailure(code))
            error = "cannot connect to " + target.strHost + " port " + std::to_string(target.nPort) + ": "
                + m_pSession->Describe(code);
        else
            error = "cannot " + what + " " + target.strHost + ":" + path + ": " + Reason(code);
        return false;
    }
    error = "cannot " + what + " " + target.strHost + ":" + path + ": too many attempts";
    return false;
}

bool CFtpFolder::Open(std::string& error)
{
    {
        std::lock_guard lock(m_pShared->mutex);
        if (!m_pShared->trusted)
            m_pShared->trusted = CKnownCertificates::Find(m_pShared->target.HostAndPort()).value_or("");
        m_strPinned = *m_pShared->trusted;
    }
    if (!m_pShared->target.strUser.empty() && !AskPassword(false, error))
        return false;
    // Changing into the folder makes each missing part of it.
    return Run(
        [&] {
            SetCommon(UrlOf(""));
            curl_easy_setopt(m_pSession->Handle(), CURLOPT_NOBODY, 1L);
            curl_easy_setopt(m_pSession->Handle(), CURLOPT_FTP_CREATE_MISSING_DIRS,
                static_cast<long>(CURLFTP_CREATE_DIR_RETRY));
        },
        "publish into", PathOf(""), error);
}

bool CFtpFolder::List(std::vector<CRemoteEntry>& entries, std::string& error)
{
    entries.clear();
    if (Run(
            [&] {
                SetCommon(UrlOf(""));
                curl_easy_setopt(m_pSession->Handle(), CURLOPT_CUSTOMREQUEST, "MLSD");
            },
            "list", PathOf(""), error)) {
        entries = ParseListing(m_pSession->GetBody(), true);
        return true;
    }
    // A server without MLSD ("command not understood") lists as ls -l does.
    const long response = m_pSession->GetResponseCode();
    if (response != 500 && response != 501 && response != 502)
        return false;
    if (!Run([&] { SetCommon(UrlOf("")); }, "list", PathOf(""), error))
        return false;
    entries = ParseListing(m_pSession->GetBody(), false);
    return true;
}

bool CFtpFolder::Read(const std::string& name, std::string& bytes, std::string& error)
{
    if (!Run([&] { SetCommon(UrlOf(name)); }, "read", PathOf(name), error))
        return false;
    bytes = m_pSession->GetBody();
    return true;
}

bool CFtpFolder::Commands(const std::vector<std::string>& commands, const std::string& what,
    const std::string& path, std::string& error)
{
    return Run(
        [&] {
            SetCommon(UrlOf(""));
            curl_easy_setopt(m_pSession->Handle(), CURLOPT_NOBODY, 1L);
            m_pSession->SetList(CURLOPT_POSTQUOTE, commands);
        },
        what, path, error);
}

bool CFtpFolder::Upload(const std::function<long(char*, size_t)>& read, uint64_t nSize,
    const std::function<void()>& rewind, const std::string& name, const std::atomic<bool>& cancel,
    std::string& error)
{
    const std::string temp = MakeRemoteTempName();
    const bool bSent = Run(
        [&] {
            rewind();
            SetCommon(UrlOf(temp));
            m_pSession->SetUpload(read, nSize, cancel);
            m_pSession->SetList(CURLOPT_POSTQUOTE, { "RNFR " + temp, "RNTO " + name });
        },
        "write", PathOf(name), error);
    if (bSent)
        return true;
    std::string ignored;
    // A server that renames only onto a free name: the old file goes first,
    // which leaves a moment without it.
    if (!cancel && error.find("refused the command") != std::string::npos
        && Commands({ "*DELE " + name, "RNFR " + temp, "RNTO " + name }, "replace", PathOf(name), ignored))
        return true;
    // What was sent is cleared away now, or by the next publish.
    Commands({ "*DELE " + temp }, "remove", PathOf(temp), ignored);
    if (cancel)
        error = "cancelled";
    return false;
}

bool CFtpFolder::Put(const std::string& localPath, const std::string& name, const std::atomic<bool>& cancel,
    std::string& error)
{
    const int fd = open(localPath.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat info { };
    if (fd < 0 || fstat(fd, &info) != 0) {
        error = "cannot read " + localPath + ": " + std::strerror(errno);
        if (fd >= 0)
            close(fd);
        return false;
    }
    const bool bOk = Upload([fd](char* p, size_t size) { return static_cast<long>(::read(fd, p, size)); },
        static_cast<uint64_t>(info.st_size), [fd] { lseek(fd, 0, SEEK_SET); }, name, cancel, error);
    close(fd);
    return bOk;
}

bool CFtpFolder::PutBytes(const std::string& bytes, const std::string& name, std::string& error)
{
    CMemoryReader reader(bytes);
    const std::atomic<bool> never { false };
    return Upload(
        std::ref(reader), bytes.size(), [&] { reader.Rewind(); }, name, never, error);
}

bool CFtpFolder::Remove(const std::string& name, std::string& error)
{
    if (Commands({ "DELE " + name }, "remove", PathOf(name), error))
        return true;
    // A file that is not there is not an error.
    std::vector<CRemoteEntry> entries;
    std::string ignored;
    if (List(entries, ignored) && std::none_of(entries.begin(), entries.end(), [&](const CRemoteEntry& e) {
            return e.strName == name;
        })) {
        error.clear();
        return true;
    }
    return false;
}
