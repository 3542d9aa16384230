#pragma once

#include <string>

#include "support/CServerProcess.h"

// pyftpdlib's FTP server for a test: one account (user "pagewell") whose
// home is a folder of the test, with explicit TLS and a self-signed
// certificate of its own (or in the clear), on a free loopback port.
class CFtpServer {
public:
    static constexpr const char* kUser = "pagewell";
    static constexpr const char* kPassword = "test-password";

    CFtpServer(const std::string& folder, const std::string& home, bool bTls);

    // Whether Python's pyftpdlib and OpenSSL binding are installed.
    static bool IsAvailable();
    bool Start();
    void Kill() { m_process.Kill(); }
    // A new certificate (takes effect on Start).
    void ChangeCertificate();
    // The certificate's "SHA256:AB:CD:..." fingerprint.
    std::string GetFingerprint() const;
    // ftps://pagewell@127.0.0.1:port + path (ftp:// without TLS).
    std::string Url(const std::string& path) const;
    std::string GetLog() const { return m_process.GetLog(); }

private:
    CServerProcess m_process;
    std::string m_strHome;
    bool m_bTls;
};
