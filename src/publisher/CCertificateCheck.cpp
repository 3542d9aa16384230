#include "publisher/CCertificateCheck.h"

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <openssl/evp.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>
#include <openssl/x509_vfy.h>

namespace {

int CheckIndex()
{
    static const int s_index = SSL_CTX_get_ex_new_index(0, nullptr, nullptr, nullptr, nullptr);
    return s_index;
}

int OnVerify(int nPreverifyOk, X509_STORE_CTX* pStore)
{
    auto* pSsl = static_cast<SSL*>(X509_STORE_CTX_get_ex_data(pStore, SSL_get_ex_data_X509_STORE_CTX_idx()));
    auto* pCheck = pSsl != nullptr
        ? static_cast<CCertificateCheck*>(SSL_CTX_get_ex_data(SSL_get_SSL_CTX(pSsl), CheckIndex()))
        : nullptr;
    return pCheck != nullptr ? pCheck->Verify(nPreverifyOk, pStore) : nPreverifyOk;
}

// libcurl hands over each connection's TLS context before the handshake.
CURLcode OnSslContext(CURL* /*pCurl*/, void* pContext, void* pCheck)
{
    auto* pCtx = static_cast<SSL_CTX*>(pContext);
    SSL_CTX_set_ex_data(pCtx, CheckIndex(), pCheck);
    SSL_CTX_set_verify(pCtx, SSL_VERIFY_PEER, &OnVerify);
    return CURLE_OK;
}

std::string Normalised(const std::string& fingerprint)
{
    std::string text;
    std::string_view rest(fingerprint);
    if (rest.size() >= 7 && (rest.substr(0, 7) == "SHA256:" || rest.substr(0, 7) == "sha256:"))
        rest.remove_prefix(7);
    for (const char c : rest) {
        if (c != ':')
            text += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return text;
}

std::string ConfigFolder()
{
    const char* pConfig = std::getenv("XDG_CONFIG_HOME");
    if (pConfig != nullptr && pConfig[0] == '/')
        return std::string(pConfig) + "/pagewell";
    const char* pHome = std::getenv("HOME");
    return std::string(pHome != nullptr ? pHome : ".") + "/.config/pagewell";
}

} // namespace

void CCertificateCheck::Apply(CURL* pCurl, const std::string& pinned)
{
    m_strPinned = pinned;
    m_strFingerprint.clear();
    m_strProblem.clear();
    m_bPinRefused = false;
    // An accepted certificate is trusted for what it is, whatever name it
    // is made out to: the handshake checks it (OnSslContext asks for the
    // peer's certificate in any case), so libcurl need not load the
    // system's store for every FTP data connection, which made each wait.
    curl_easy_setopt(pCurl, CURLOPT_SSL_VERIFYPEER, pinned.empty() ? 1L : 0L);
    curl_easy_setopt(pCurl, CURLOPT_SSL_VERIFYHOST, pinned.empty() ? 2L : 0L);
    curl_easy_setopt(pCurl, CURLOPT_SSL_CTX_FUNCTION, &OnSslContext);
    curl_easy_setopt(pCurl, CURLOPT_SSL_CTX_DATA, this);
}

int CCertificateCheck::Verify(int nPreverifyOk, void* pStoreContext)
{
    auto* pStore = static_cast<X509_STORE_CTX*>(pStoreContext);
    X509* pLeaf = X509_STORE_CTX_get0_cert(pStore);
    unsigned char* pDer = nullptr;
    const int size = pLeaf != nullptr ? i2d_X509(pLeaf, &pDer) : -1;
    if (size > 0)
        m_strFingerprint = FingerprintOf(pDer, static_cast<size_t>(size));
    OPENSSL_free(pDer);
    if (!m_strPinned.empty()) {
        if (size <= 0 || !SameFingerprint(m_strFingerprint, m_strPinned)) {
            m_bPinRefused = true;
            return 0;
        }
        X509_STORE_CTX_set_error(pStore, X509_V_OK);
        return 1;
    }
    if (nPreverifyOk == 0 && m_strProblem.empty())
        m_strProblem = X509_verify_cert_error_string(X509_STORE_CTX_get_error(pStore));
    return nPreverifyOk;
}

std::string CCertificateCheck::FingerprintOf(const unsigned char* pDer, size_t size)
{
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EVP_Digest(pDer, size, digest, &length, EVP_sha256(), nullptr);
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string text = "SHA256:";
    for (unsigned int i = 0; i < length; ++i) {
        if (i > 0)
            text += ':';
        text += kHex[digest[i] >> 4];
        text += kHex[digest[i] & 15];
    }
    return text;
}

bool CCertificateCheck::SameFingerprint(const std::string& a, const std::string& b)
{
    const std::string left = Normalised(a);
    return left.size() == 64 && left == Normalised(b);
}

std::string CKnownCertificates::FilePath()
{
    return ConfigFolder() + "/certificates";
}

std::optional<std::string> CKnownCertificates::Find(const std::string& hostAndPort)
{
    std::ifstream in(FilePath());
    for (std::string line; std::getline(in, line);) {
        const size_t space = line.find(' ');
        if (space != std::string::npos && line.substr(0, space) == hostAndPort)
            return line.substr(space + 1);
    }
    return std::nullopt;
}

bool CKnownCertificates::Remember(
    const std::string& hostAndPort, const std::string& fingerprint, std::string& error)
{
    std::ostringstream text;
    {
        std::ifstream in(FilePath());
        for (std::string line; std::getline(in, line);) {
            if (!line.starts_with(hostAndPort + " "))
                text << line << '\n';
        }
    }
    text << hostAndPort << ' ' << fingerprint << '\n';
    std::error_code code;
    std::filesystem::create_directories(ConfigFolder(), code);
    const std::string path = FilePath();
    const std::string temp = path + ".new";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out << text.str();
        if (!out.flush()) {
            error = "cannot write " + temp;
            return false;
        }
    }
    std::filesystem::rename(temp, path, code);
    if (code) {
        error = "cannot write " + path + ": " + code.message();
        return false;
    }
    return true;
}
