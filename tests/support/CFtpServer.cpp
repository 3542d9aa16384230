#include "support/CFtpServer.h"

#include <cstdlib>
#include <filesystem>

#include "support/TestFiles.h"

namespace {

constexpr const char* kPython = "/usr/bin/python3";

int Run(const std::string& command)
{
    return std::system(command.c_str());
}

} // namespace

CFtpServer::CFtpServer(const std::string& folder, const std::string& home, bool bTls)
    : m_process(folder)
    , m_strHome(std::filesystem::absolute(home))
    , m_bTls(bTls)
{
    std::filesystem::create_directories(m_strHome);
    if (m_bTls)
        ChangeCertificate();
}

bool CFtpServer::IsAvailable()
{
    return Run(std::string(kPython) + " -c 'import pyftpdlib, OpenSSL' 2>/dev/null") == 0
        && Run("command -v openssl >/dev/null") == 0;
}

bool CFtpServer::Start()
{
    const std::string& folder = m_process.GetFolder();
    return m_process.Start({ kPython, PAGEWELL_SOURCE_DIR "/tests/support/ftp-server.py",
        std::to_string(m_process.GetPort()), m_strHome, kUser, kPassword, m_bTls ? folder + "/cert.pem" : "-",
        m_bTls ? folder + "/key.pem" : "-" });
}

void CFtpServer::ChangeCertificate()
{
    const std::string& folder = m_process.GetFolder();
    Run("openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 2 -subj "
        "/CN=localhost"
        " -keyout "
        + folder + "/key.pem -out " + folder + "/cert.pem 2>/dev/null");
}

std::string CFtpServer::GetFingerprint() const
{
    const std::string& folder = m_process.GetFolder();
    Run("openssl x509 -noout -fingerprint -sha256 -in " + folder + "/cert.pem > " + folder + "/fingerprint");
    std::string text = ReadWholeFile(folder + "/fingerprint");
    text = text.substr(text.find('=') + 1);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return "SHA256:" + text;
}

std::string CFtpServer::Url(const std::string& path) const
{
    return std::string(m_bTls ? "ftps://" : "ftp://") + kUser
        + "@127.0.0.1:" + std::to_string(m_process.GetPort()) + path;
}
