#include "support/CSshServer.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <pwd.h>
#include <unistd.h>

#include "support/TestFiles.h"

namespace {

constexpr const char* kSshd = "/usr/sbin/sshd";

int Run(const std::string& command)
{
    return std::system(command.c_str());
}

} // namespace

CSshServer::CSshServer(const std::string& folder, const std::string& home)
    : m_process(folder)
    , m_strFolder(m_process.GetFolder())
    , m_strHome(std::filesystem::absolute(home))
    , m_nPort(m_process.GetPort())
{
    std::filesystem::create_directories(m_strHome + "/.ssh");
    Run("ssh-keygen -q -t ed25519 -N '' -C test-host -f " + m_strFolder + "/host_key");
    Run("ssh-keygen -q -t ed25519 -N '' -C test-user -f " + m_strHome + "/.ssh/id_ed25519");
    std::filesystem::copy_file(m_strHome + "/.ssh/id_ed25519.pub", m_strFolder + "/authorized_keys");
    WriteConfig();
}

bool CSshServer::IsAvailable()
{
    return access(kSshd, X_OK) == 0 && Run("command -v ssh-keygen >/dev/null") == 0;
}

std::string CSshServer::GetUser() const
{
    const passwd* pUser = getpwuid(getuid());
    return pUser != nullptr ? pUser->pw_name : "root";
}

void CSshServer::WriteConfig() const
{
    std::ostringstream config;
    config << "Port " << m_nPort << "\nListenAddress 127.0.0.1\n"
           << "HostKey " << m_strFolder << "/host_key\n"
           << "PidFile none\n"
           << "AuthorizedKeysFile " << m_strFolder << "/authorized_keys\n"
           << "StrictModes no\nUsePAM no\nPasswordAuthentication no\nKbdInteractiveAuthentication no\n"
           << "PermitRootLogin prohibit-password\n"
           << "Subsystem sftp internal-sftp\nLogLevel ERROR\n";
    WriteWholeFile(m_strFolder + "/sshd_config", config.str());
}

bool CSshServer::Start()
{
    // The privilege-separated child needs its empty folder.
    std::error_code error;
    std::filesystem::create_directories("/run/sshd", error);
    return m_process.Start({ kSshd, "-D", "-e", "-f", m_strFolder + "/sshd_config" });
}

void CSshServer::Kill()
{
    m_process.Kill();
}

void CSshServer::ChangeHostKey()
{
    std::filesystem::remove(m_strFolder + "/host_key");
    std::filesystem::remove(m_strFolder + "/host_key.pub");
    Run("ssh-keygen -q -t ed25519 -N '' -C test-host -f " + m_strFolder + "/host_key");
}

void CSshServer::TrustHostKey() const
{
    std::ofstream known(m_strHome + "/.ssh/known_hosts", std::ios::app);
    known << "[127.0.0.1]:" << m_nPort << ' ' << ReadWholeFile(m_strFolder + "/host_key.pub");
}

std::string CSshServer::GetFingerprint() const
{
    const std::string out = m_strFolder + "/fingerprint";
    Run("ssh-keygen -l -E sha256 -f " + m_strFolder + "/host_key.pub > " + out);
    std::istringstream words(ReadWholeFile(out));
    std::string bits;
    std::string fingerprint;
    words >> bits >> fingerprint;
    return fingerprint;
}

std::string CSshServer::Url(const std::string& path) const
{
    return "sftp://" + GetUser() + "@127.0.0.1:" + std::to_string(m_nPort) + path;
}

std::string CSshServer::GetLog() const
{
    return m_process.GetLog();
}
