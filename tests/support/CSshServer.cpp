#include "support/CSshServer.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <thread>
#include <vector>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/TestFiles.h"

namespace {

constexpr const char* kSshd = "/usr/sbin/sshd";

int PickFreePort()
{
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof(address);
    int port = 0;
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0
        && getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    close(fd);
    return port;
}

bool Accepts(int port)
{
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port));
    const bool bConnected = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
    close(fd);
    return bConnected;
}

int Run(const std::string& command)
{
    return std::system(command.c_str());
}

// Every process below pid, found through /proc.
std::vector<pid_t> Descendants(pid_t pid)
{
    std::vector<pid_t> found { pid };
    for (size_t i = 0; i < found.size(); ++i) {
        for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
            const std::string name = entry.path().filename();
            if (name.find_first_not_of("0123456789") != std::string::npos)
                continue;
            std::ifstream status(entry.path() / "status");
            for (std::string line; std::getline(status, line);) {
                if (line.starts_with("PPid:") && std::stoi(line.substr(5)) == found[i])
                    found.push_back(std::stoi(name));
            }
        }
    }
    return found;
}

} // namespace

CSshServer::CSshServer(const std::string& folder, const std::string& home)
    : m_strFolder(std::filesystem::absolute(folder))
    , m_strHome(std::filesystem::absolute(home))
    , m_nPort(PickFreePort())
{
    std::filesystem::create_directories(m_strHome + "/.ssh");
    std::filesystem::create_directories(m_strFolder);
    Run("ssh-keygen -q -t ed25519 -N '' -C test-host -f " + m_strFolder + "/host_key");
    Run("ssh-keygen -q -t ed25519 -N '' -C test-user -f " + m_strHome + "/.ssh/id_ed25519");
    std::filesystem::copy_file(m_strHome + "/.ssh/id_ed25519.pub", m_strFolder + "/authorized_keys");
    WriteConfig();
}

CSshServer::~CSshServer()
{
    Kill();
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
    const std::string log = m_strFolder + "/sshd.log";
    const std::string config = m_strFolder + "/sshd_config";
    m_pid = fork();
    if (m_pid == 0) {
        const int fd = open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
        dup2(fd, STDERR_FILENO);
        dup2(fd, STDOUT_FILENO);
        setenv("HOME", m_strFolder.c_str(), 1);
        setenv("TMPDIR", m_strFolder.c_str(), 1);
        setenv("XDG_CONFIG_HOME", m_strFolder.c_str(), 1);
        setenv("XDG_CACHE_HOME", m_strFolder.c_str(), 1);
        setenv("XDG_DATA_HOME", m_strFolder.c_str(), 1);
        execl(kSshd, kSshd, "-D", "-e", "-f", config.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    const auto tEnd = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < tEnd) {
        if (Accepts(m_nPort))
            return true;
        if (waitpid(m_pid, nullptr, WNOHANG) == m_pid) {
            m_pid = -1;
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

void CSshServer::Kill()
{
    if (m_pid <= 0)
        return;
    for (const pid_t pid : Descendants(m_pid))
        kill(pid, SIGKILL);
    waitpid(m_pid, nullptr, 0);
    m_pid = -1;
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
    return ReadWholeFile(m_strFolder + "/sshd.log");
}
