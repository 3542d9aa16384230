#include "publisher/CCurlSession.h"

#include <mutex>

namespace {

void InitOnce()
{
    // Not safe while other threads use libcurl: the first session is made
    // before a publish starts its transfer threads.
    static std::once_flag s_once;
    std::call_once(s_once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

} // namespace

CCurlSession::CCurlSession(int nTimeoutSeconds)
    : m_nTimeoutSeconds(nTimeoutSeconds)
{
    InitOnce();
    m_pCurl = curl_easy_init();
}

CCurlSession::~CCurlSession()
{
    curl_slist_free_all(m_pHeaders);
    for (curl_slist* pList : m_lists)
        curl_slist_free_all(pList);
    if (m_pCurl != nullptr)
        curl_easy_cleanup(m_pCurl);
}

void CCurlSession::Begin(const std::string& url, size_t nMaxBody)
{
    curl_easy_reset(m_pCurl);
    curl_slist_free_all(m_pHeaders);
    m_pHeaders = nullptr;
    for (curl_slist* pList : m_lists)
        curl_slist_free_all(pList);
    m_lists.clear();
    m_strBody.clear();
    m_nMaxBody = nMaxBody;
    m_bTooLarge = false;
    m_read = nullptr;
    m_pCancel = nullptr;
    m_bCancelled = false;
    m_bReadFailed = false;
    m_szError[0] = '\0';
    const long timeout = m_nTimeoutSeconds;
    curl_easy_setopt(m_pCurl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(m_pCurl, CURLOPT_ERRORBUFFER, m_szError);
    curl_easy_setopt(m_pCurl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(m_pCurl, CURLOPT_CONNECTTIMEOUT, timeout);
    curl_easy_setopt(m_pCurl, CURLOPT_SERVER_RESPONSE_TIMEOUT, timeout);
    curl_easy_setopt(m_pCurl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(m_pCurl, CURLOPT_LOW_SPEED_TIME, timeout);
    // Only the protocols a publish speaks, also after a redirect.
    curl_easy_setopt(m_pCurl, CURLOPT_PROTOCOLS_STR, "ftp,http,https");
    curl_easy_setopt(m_pCurl, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(m_pCurl, CURLOPT_WRITEFUNCTION, &CCurlSession::OnWrite);
    curl_easy_setopt(m_pCurl, CURLOPT_WRITEDATA, this);
}

void CCurlSession::SetUpload(
    const std::function<long(char*, size_t)>& read, uint64_t nSize, const std::atomic<bool>& cancel)
{
    m_read = read;
    m_pCancel = &cancel;
    curl_easy_setopt(m_pCurl, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(m_pCurl, CURLOPT_READFUNCTION, &CCurlSession::OnRead);
    curl_easy_setopt(m_pCurl, CURLOPT_READDATA, this);
    curl_easy_setopt(m_pCurl, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(nSize));
    // Cancel also ends a transfer that waits for the server.
    curl_easy_setopt(m_pCurl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(m_pCurl, CURLOPT_XFERINFOFUNCTION, &CCurlSession::OnProgress);
    curl_easy_setopt(m_pCurl, CURLOPT_XFERINFODATA, this);
}

int CCurlSession::OnProgress(void* pSession, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    auto& session = *static_cast<CCurlSession*>(pSession);
    if (session.m_pCancel != nullptr && *session.m_pCancel) {
        session.m_bCancelled = true;
        return 1;
    }
    return 0;
}

void CCurlSession::AddHeader(const std::string& line)
{
    m_pHeaders = curl_slist_append(m_pHeaders, line.c_str());
}

void CCurlSession::SetList(CURLoption option, const std::vector<std::string>& lines)
{
    curl_slist* pList = nullptr;
    for (const std::string& line : lines)
        pList = curl_slist_append(pList, line.c_str());
    m_lists.push_back(pList);
    curl_easy_setopt(m_pCurl, option, pList);
}

CURLcode CCurlSession::Perform()
{
    if (m_pHeaders != nullptr)
        curl_easy_setopt(m_pCurl, CURLOPT_HTTPHEADER, m_pHeaders);
    return curl_easy_perform(m_pCurl);
}

long CCurlSession::GetResponseCode() const
{
    long code = 0;
    curl_easy_getinfo(m_pCurl, CURLINFO_RESPONSE_CODE, &code);
    return code;
}

std::string CCurlSession::Describe(CURLcode code) const
{
    if (m_bCancelled)
        return "cancelled";
    if (m_bReadFailed)
        return "the local file could not be read";
    if (m_bTooLarge)
        return "the answer is too large";
    if (code == CURLE_OPERATION_TIMEDOUT)
        return "the server did not answer for " + std::to_string(m_nTimeoutSeconds) + " seconds";
    std::string text = m_szError[0] != '\0' ? m_szError : curl_easy_strerror(code);
    while (!text.empty() && (text.back() == '\n' || text.back() == ' '))
        text.pop_back();
    return text;
}

size_t CCurlSession::OnWrite(char* p, size_t size, size_t count, void* pSession)
{
    auto& session = *static_cast<CCurlSession*>(pSession);
    const size_t n = size * count;
    if (session.m_strBody.size() + n > session.m_nMaxBody) {
        session.m_bTooLarge = true;
        return 0;
    }
    session.m_strBody.append(p, n);
    return n;
}

size_t CCurlSession::OnRead(char* p, size_t size, size_t count, void* pSession)
{
    auto& session = *static_cast<CCurlSession*>(pSession);
    if (session.m_pCancel != nullptr && *session.m_pCancel) {
        session.m_bCancelled = true;
        return CURL_READFUNC_ABORT;
    }
    const long n = session.m_read(p, size * count);
    if (n < 0) {
        session.m_bReadFailed = true;
        return CURL_READFUNC_ABORT;
    }
    return static_cast<size_t>(n);
}
