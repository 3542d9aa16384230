#include "publisher/CS3Folder.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "generator/CSiteRenderer.h"
#include "publisher/CAccessKeys.h"
#include "publisher/CCurlSession.h"
#include "publisher/CPublishedManifest.h"
#include "publisher/CSha256.h"

namespace {

// Percent-encodes all but the unreserved characters (and "/" when kept),
// as the signature's canonical form has it.
std::string Encode(std::string_view text, bool bKeepSlash)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (std::isalnum(u) != 0 || c == '-' || c == '_' || c == '.' || c == '~' || (bKeepSlash && c == '/'))
            encoded += c;
        else {
            encoded += '%';
            encoded += kHex[u >> 4];
            encoded += kHex[u & 15];
        }
    }
    return encoded;
}

std::string XmlDecode(std::string_view text)
{
    std::string decoded;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '&') {
            decoded += text[i];
            continue;
        }
        const size_t semicolon = text.find(';', i);
        const std::string_view entity = text.substr(i + 1, semicolon - i - 1);
        if (semicolon == std::string_view::npos) {
            decoded += text.substr(i);
            break;
        }
        if (entity == "amp")
            decoded += '&';
        else if (entity == "lt")
            decoded += '<';
        else if (entity == "gt")
            decoded += '>';
        else if (entity == "quot")
            decoded += '"';
        else if (entity == "apos")
            decoded += '\'';
        else if (entity.starts_with('#')) {
            const bool bHex = entity.size() > 1 && (entity[1] == 'x' || entity[1] == 'X');
            const unsigned long code
                = std::strtoul(std::string(entity.substr(bHex ? 2 : 1)).c_str(), nullptr, bHex ? 16 : 10);
            // Names are bytes: a code above 127 is written as UTF-8.
            if (code < 0x80)
                decoded += static_cast<char>(code);
            else if (code < 0x800) {
                decoded += static_cast<char>(0xC0 | (code >> 6));
                decoded += static_cast<char>(0x80 | (code & 0x3F));
            } else {
                decoded += static_cast<char>(0xE0 | ((code >> 12) & 0x0F));
                decoded += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
                decoded += static_cast<char>(0x80 | (code & 0x3F));
            }
        }
        i = semicolon;
    }
    return decoded;
}

// The text of each <tag> element within xml, in order.
std::vector<std::string_view> Elements(std::string_view xml, std::string_view tag)
{
    std::vector<std::string_view> found;
    const std::string open = "<" + std::string(tag) + ">";
    const std::string close = "</" + std::string(tag) + ">";
    for (size_t pos = xml.find(open); pos != std::string_view::npos; pos = xml.find(open, pos)) {
        const size_t start = pos + open.size();
        const size_t end = xml.find(close, start);
        if (end == std::string_view::npos)
            break;
        found.push_back(xml.substr(start, end - start));
        pos = end + close.size();
    }
    return found;
}

std::string FirstElement(std::string_view xml, std::string_view tag)
{
    const auto found = Elements(xml, tag);
    return found.empty() ? std::string() : XmlDecode(found.front());
}

} // namespace

CS3Folder::CS3Folder(
    const CPublishTarget& target, IPublishPrompt& prompt, CObjectOptions options, int nTimeoutSeconds)
    : m_pShared(std::make_shared<CShared>())
{
    m_pShared->target = target;
    m_pShared->pPrompt = &prompt;
    m_pShared->options = std::move(options);
    m_pShared->nTimeoutSeconds = nTimeoutSeconds;
}

CS3Folder::CS3Folder(std::shared_ptr<CShared> pShared)
    : m_pShared(std::move(pShared))
{ }

CS3Folder::~CS3Folder() = default;

std::unique_ptr<IRemoteFolder> CS3Folder::Clone() const
{
    return std::unique_ptr<IRemoteFolder>(new CS3Folder(m_pShared));
}

bool CS3Folder::ParseListing(const std::string& xml, const std::string& prefix,
    std::vector<CRemoteEntry>& entries, std::string& nextToken)
{
    if (xml.find("<ListBucketResult") == std::string::npos)
        return false;
    const auto add = [&](const std::string& key, CRemoteEntry::EKind kind) {
        if (!key.starts_with(prefix))
            return;
        std::string name = key.substr(prefix.size());
        if (kind == CRemoteEntry::EKind::Folder && name.ends_with('/'))
            name.pop_back();
        // A name with a slash lies deeper; an empty one marks the folder.
        if (!name.empty() && name.find('/') == std::string::npos)
            entries.push_back({ std::move(name), kind });
    };
    for (const std::string_view contents : Elements(xml, "Contents"))
        add(FirstElement(contents, "Key"), CRemoteEntry::EKind::File);
    for (const std::string_view common : Elements(xml, "CommonPrefixes"))
        add(FirstElement(common, "Prefix"), CRemoteEntry::EKind::Folder);
    nextToken = FirstElement(xml, "IsTruncated") == "true" ? FirstElement(xml, "NextContinuationToken") : "";
    return true;
}

std::string CS3Folder::KeyOf(const std::string& name) const
{
    const std::string& prefix = m_pShared->target.strPrefix;
    return prefix.empty() ? name : prefix + "/" + name;
}

std::string CS3Folder::UrlOf(const std::string& name, const std::string& query) const
{
    const CPublishTarget& target = m_pShared->target;
    std::string url = target.strEndpoint;
    if (target.bPathStyle)
        url += "/" + target.strBucket + "/";
    else
        url.insert(url.find("://") + 3, target.strBucket + ".");
    if (!target.bPathStyle)
        url += "/";
    url += Encode(name.empty() ? "" : KeyOf(name), true);
    return query.empty() ? url : url + "?" + query;
}

bool CS3Folder::FindKey(bool bRetry, std::string& error)
{
    const CPublishTarget& target = m_pShared->target;
    std::lock_guard lock(m_pShared->mutex);
    if (m_pShared->key && !bRetry)
        return true;
    const std::string account = target.strBucket + " at " + target.strEndpoint;
    std::string source;
    if (!bRetry)
        m_pShared->key = CAccessKeys::Find(target.strProfile, source);
    if (!m_pShared->key || bRetry) {
        m_pShared->key = m_pShared->pPrompt->AskAccessKey(account, bRetry);
        m_pShared->bKeyFromPrompt = true;
    }
    if (!m_pShared->key) {
        error = "no access key for " + account
            + (target.strProfile.empty()
                    ? ": set AWS_ACCESS_KEY_ID and AWS_SECRET_ACCESS_KEY, or add a [default] profile to "
                    : ": the profile " + target.strProfile + " is not in ")
            + CAccessKeys::CredentialsFilePath();
        return false;
    }
    return true;
}

void CS3Folder::Begin(const std::string& url, const std::string& bodySha256)
{
    if (m_pSession == nullptr)
        m_pSession = std::make_unique<CCurlSession>(m_pShared->nTimeoutSeconds);
    m_pSession->Begin(url);
    CURL* pCurl = m_pSession->Handle();
    const std::string sigv4 = "aws:amz:" + m_pShared->target.strRegion + ":s3";
    curl_easy_setopt(pCurl, CURLOPT_AWS_SIGV4, sigv4.c_str());
    std::lock_guard lock(m_pShared->mutex);
    curl_easy_setopt(pCurl, CURLOPT_USERNAME, m_pShared->key->strKeyId.c_str());
    curl_easy_setopt(pCurl, CURLOPT_PASSWORD, m_pShared->key->strSecret.c_str());
    if (!m_pShared->key->strSessionToken.empty())
        m_pSession->AddHeader("x-amz-security-token: " + m_pShared->key->strSessionToken);
    // Each request sends its body at once rather than waiting to be asked.
    m_pSession->AddHeader("Expect:");
    m_pSession->AddHeader("x-amz-content-sha256: " + bodySha256);
}

bool CS3Folder::Finish(const std::string& what, const std::string& name, std::string& error, long alsoFine)
{
    const CPublishTarget& target = m_pShared->target;
    const CURLcode code = m_pSession->Perform();
    const std::string object = target.Describe() + (name.empty() ? "" : "/" + name);
    if (code != CURLE_OK) {
        if (m_pSession->WasCancelled())
            error = "cancelled";
        else if (code == CURLE_COULDNT_CONNECT || code == CURLE_COULDNT_RESOLVE_HOST)
            error = "cannot connect to " + target.strHost + " port " + std::to_string(target.nPort) + ": "
                + m_pSession->Describe(code);
        else
            error = "cannot " + what + " " + object + ": " + m_pSession->Describe(code);
        return false;
    }
    const long status = m_pSession->GetResponseCode();
    if (status < 300 || status == alsoFine)
        return true;
    const std::string& body = m_pSession->GetBody();
    const std::string errorCode = FirstElement(body, "Code");
    const std::string message = FirstElement(body, "Message");
    std::string reason;
    if (errorCode == "SignatureDoesNotMatch" || errorCode == "InvalidAccessKeyId")
        reason = "the access key was refused";
    else if (errorCode == "NoSuchBucket")
        reason = "there is no bucket " + target.strBucket + " at " + target.strEndpoint;
    else if (status == 403)
        reason = "access denied";
    else if (status >= 500)
        reason = "the server failed";
    else
        reason = "the server refused";
    error = "cannot " + what + " " + object + ": " + reason + " (HTTP " + std::to_string(status)
        + (errorCode.empty() ? "" : " " + errorCode) + (message.empty() ? "" : ": " + message) + ")";
    return false;
}

bool CS3Folder::Open(std::string& error)
{
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (!FindKey(attempt > 0, error))
            return false;
        const std::string prefix
            = m_pShared->target.strPrefix.empty() ? "" : m_pShared->target.strPrefix + "/";
        Begin(UrlOf("", "list-type=2&max-keys=1&prefix=" + Encode(prefix, false)));
        if (Finish("list", "", error))
            return true;
        // A key the user typed may be typed again; one from a file is not.
        const bool bRefused = error.find("access key was refused") != std::string::npos;
        std::lock_guard lock(m_pShared->mutex);
        if (!bRefused || !m_pShared->bKeyFromPrompt)
            return false;
    }
    return false;
}

bool CS3Folder::List(std::vector<CRemoteEntry>& entries, std::string& error)
{
    entries.clear();
    const std::string prefix = m_pShared->target.strPrefix.empty() ? "" : m_pShared->target.strPrefix + "/";
    std::string token;
    do {
        // The parameters in the order of the signature's canonical form.
        std::string query = token.empty() ? "" : "continuation-token=" + Encode(token, false) + "&";
        query += "delimiter=%2F&list-type=2&prefix=" + Encode(prefix, false);
        Begin(UrlOf("", query));
        if (!Finish("list", "", error))
            return false;
        if (!ParseListing(m_pSession->GetBody(), prefix, entries, token)) {
            error = "cannot list " + m_pShared->target.Describe() + ": the server's answer is not a listing";
            return false;
        }
    } while (!token.empty());
    return true;
}

bool CS3Folder::Read(const std::string& name, std::string& bytes, std::string& error)
{
    Begin(UrlOf(name));
    if (!Finish("read", name, error))
        return false;
    bytes = m_pSession->GetBody();
    return true;
}

bool CS3Folder::Upload(const std::function<long(char*, size_t)>& read, uint64_t nSize,
    const std::string& sha256, const std::string& name, const std::atomic<bool>& cancel, std::string& error)
{
    Begin(UrlOf(name), sha256);
    m_pSession->SetUpload(read, nSize, cancel);
    const CObjectOptions& options = m_pShared->options;
    const bool bRecord = name == CPublishedManifest::kFileName;
    m_pSession->AddHeader("Content-Type: "
        + (bRecord ? std::string("text/plain; charset=utf-8")
                   : CSiteRenderer::ContentType(name, options.strPageCharset)));
    if (!options.strCacheControl.empty() && !bRecord)
        m_pSession->AddHeader("Cache-Control: " + options.strCacheControl);
    return Finish("write", name, error);
}

bool CS3Folder::Put(const std::string& localPath, const std::string& name, const std::atomic<bool>& cancel,
    std::string& error)
{
    std::string sha256;
    uint64_t nSize = 0;
    if (!CSha256::HexOfFile(localPath, sha256, nSize)) {
        error = "cannot read " + localPath + ": " + std::strerror(errno);
        return false;
    }
    const int fd = open(localPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = "cannot read " + localPath + ": " + std::strerror(errno);
        return false;
    }
    const bool bOk = Upload([fd](char* p, size_t size) { return static_cast<long>(::read(fd, p, size)); },
        nSize, sha256, name, cancel, error);
    close(fd);
    return bOk;
}

bool CS3Folder::PutBytes(const std::string& bytes, const std::string& name, std::string& error)
{
    CMemoryReader reader(bytes);
    const std::atomic<bool> never { false };
    return Upload(std::ref(reader), bytes.size(), CSha256::HexOf(bytes), name, never, error);
}

bool CS3Folder::Remove(const std::string& name, std::string& error)
{
    Begin(UrlOf(name));
    curl_easy_setopt(m_pSession->Handle(), CURLOPT_CUSTOMREQUEST, "DELETE");
    // An object that is not there is not an error.
    return Finish("remove", name, error, 404);
}
