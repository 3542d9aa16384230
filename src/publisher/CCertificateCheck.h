#pragma once

#include <optional>
#include <string>

#include <curl/curl.h>

// The TLS certificate of one connection, checked as the handshake sees it:
// by the system's store (and the host name, which libcurl checks), or,
// once the user accepted a certificate the store does not vouch for, by
// that certificate's fingerprint alone. Either way nothing is sent before
// the check passed.
class CCertificateCheck {
public:
    // Makes the next requests of pCurl check this way: pinned empty, by the
    // system's store; otherwise only the certificate with that fingerprint.
    void Apply(CURL* pCurl, const std::string& pinned);

    // The server certificate's "SHA256:AB:CD:..." once the handshake saw it.
    const std::string& GetFingerprint() const { return m_strFingerprint; }
    // Why the system's store refused it; empty when it did not.
    const std::string& GetProblem() const { return m_strProblem; }
    // Whether a pinned certificate was refused: the server shows another.
    bool PinRefused() const { return m_bPinRefused; }

    // "SHA256:" and the digest of DER bytes in colon-separated hex.
    static std::string FingerprintOf(const unsigned char* pDer, size_t size);
    // Whether two fingerprints are the same, written with or without colons
    // and in either case.
    static bool SameFingerprint(const std::string& a, const std::string& b);

    // Called from the TLS library; public for its callbacks only.
    int Verify(int nPreverifyOk, void* pStore);

private:
    std::string m_strPinned;
    std::string m_strFingerprint;
    std::string m_strProblem;
    bool m_bPinRefused = false;
};

// The certificates the user accepted, remembered for each host and port in
// $XDG_CONFIG_HOME/pagewell/certificates (~/.config when it is not set), one
// "host:port SHA256:..." line each. Not a secret: only what to trust.
class CKnownCertificates {
public:
    static std::string FilePath();
    static std::optional<std::string> Find(const std::string& hostAndPort);
    // Replaces the line of hostAndPort; false with a message when the file
    // cannot be written (the certificate is then trusted for this publish).
    static bool Remember(const std::string& hostAndPort, const std::string& fingerprint, std::string& error);
};
