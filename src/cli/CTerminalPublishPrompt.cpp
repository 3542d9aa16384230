#include "cli/CTerminalPublishPrompt.h"

#include <cstdlib>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include "publisher/CCertificateCheck.h"

namespace {

// A line read from the terminal with echo off; nothing without a terminal.
std::optional<std::string> ReadSecretLine(const std::string& prompt)
{
    const int fd = open("/dev/tty", O_RDWR | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return std::nullopt;
    termios old {};
    const bool bTerminal = tcgetattr(fd, &old) == 0;
    termios quiet = old;
    quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    if (bTerminal)
        tcsetattr(fd, TCSAFLUSH, &quiet);
    [[maybe_unused]] const ssize_t written = write(fd, prompt.data(), prompt.size());
    std::string line;
    char c = 0;
    bool bRead = false;
    while (read(fd, &c, 1) == 1) {
        bRead = true;
        if (c == '\n' || c == '\r')
            break;
        line += c;
    }
    if (bTerminal)
        tcsetattr(fd, TCSAFLUSH, &old);
    [[maybe_unused]] const ssize_t newline = write(fd, "\n", 1);
    close(fd);
    if (!bRead)
        return std::nullopt;
    return line;
}

} // namespace

bool CTerminalPublishPrompt::AcceptHostKey(const std::string& host, const std::string& fingerprint)
{
    if (!m_strAcceptedKey.empty() && m_strAcceptedKey == fingerprint)
        return true;
    m_err << "pagewell-cli: publish: the host key of " << host << " is not known yet; its fingerprint is\n  "
          << fingerprint << "\nCompare it with the one your host shows (for example in its control panel),"
          << " then publish again with\n  --accept-host-key " << fingerprint << "\n";
    if (!m_strAcceptedKey.empty())
        m_err << "(--accept-host-key named " << m_strAcceptedKey << ", which is not this key)\n";
    return false;
}

bool CTerminalPublishPrompt::AcceptCertificate(
    const std::string& host, const std::string& fingerprint, const std::string& reason)
{
    if (CCertificateCheck::SameFingerprint(m_strAcceptedCertificate, fingerprint))
        return true;
    m_err << "pagewell-cli: publish: the certificate of " << host << " is not trusted by this computer ("
          << reason << "); its fingerprint is\n  " << fingerprint
          << "\nCompare it with the one your host shows (for example in its control panel),"
          << " then publish again with\n  --accept-certificate " << fingerprint << "\n";
    if (!m_strAcceptedCertificate.empty())
        m_err << "(--accept-certificate named " << m_strAcceptedCertificate
              << ", which is not this certificate)\n";
    return false;
}

std::optional<std::string> CTerminalPublishPrompt::AskPassword(const std::string& account, bool bRetry)
{
    // The environment's password is tried once: asking again would not change it.
    if (const char* pPassword = std::getenv("PAGEWELL_PASSWORD"); pPassword != nullptr) {
        if (bRetry)
            return std::nullopt;
        return std::string(pPassword);
    }
    std::optional<std::string> password
        = ReadSecretLine(std::string(bRetry ? "Refused. " : "") + "Password for " + account + ": ");
    if (!password)
        m_err << "pagewell-cli: publish: " << account
              << " asks for a password and there is no terminal to ask on; set PAGEWELL_PASSWORD\n";
    return password;
}
