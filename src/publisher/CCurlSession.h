#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <curl/curl.h>

// One libcurl handle of a publish: the connection it opens is kept from one
// request to the next. Every request is bounded: a connection that takes
// longer than the timeout to open, or a transfer that moves nothing for
// that long, ends with a message instead of a hang.
class CCurlSession {
public:
    explicit CCurlSession(int nTimeoutSeconds);
    ~CCurlSession();
    CCurlSession(const CCurlSession&) = delete;
    CCurlSession& operator=(const CCurlSession&) = delete;

    CURL* Handle() const { return m_pCurl; }
    // Forgets the options of the last request (the connection stays) and
    // sets the ones every request has; the answer's body goes to the
    // session's buffer (GetBody), up to nMaxBody bytes.
    void Begin(const std::string& url, size_t nMaxBody = kMaxBody);
    // Sends what read gives (bytes into a buffer; 0 at the end, -1 on a
    // failure) as the request's body, stopping when cancel is set.
    void SetUpload(
        const std::function<long(char*, size_t)>& read, uint64_t nSize, const std::atomic<bool>& cancel);
    // Adds a header to the request (kept until the next Begin).
    void AddHeader(const std::string& line);
    // Sets an option that takes a list of lines (FTP commands).
    void SetList(CURLoption option, const std::vector<std::string>& lines);
    CURLcode Perform();

    long GetResponseCode() const;
    const std::string& GetBody() const { return m_strBody; }
    // What went wrong, in words: libcurl's detail when it has one.
    std::string Describe(CURLcode code) const;
    bool WasCancelled() const { return m_bCancelled; }

    static constexpr size_t kMaxBody = size_t { 256 } << 20;

private:
    static size_t OnWrite(char* p, size_t size, size_t count, void* pSession);
    static size_t OnRead(char* p, size_t size, size_t count, void* pSession);
    static int OnProgress(void* pSession, curl_off_t, curl_off_t, curl_off_t, curl_off_t);

    CURL* m_pCurl = nullptr;
    int m_nTimeoutSeconds;
    curl_slist* m_pHeaders = nullptr;
    std::vector<curl_slist*> m_lists;
    std::string m_strBody;
    size_t m_nMaxBody = kMaxBody;
    bool m_bTooLarge = false;
    std::function<long(char*, size_t)> m_read;
    const std::atomic<bool>* m_pCancel = nullptr;
    bool m_bCancelled = false;
    bool m_bReadFailed = false;
    char m_szError[CURL_ERROR_SIZE] = {};
};
