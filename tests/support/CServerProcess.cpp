#include "support/CServerProcess.h"

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <thread>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/TestFiles.h"

namespace {

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

CServerProcess::CServerProcess(const std::string& folder)
    : m_strFolder(std::filesystem::absolute(folder))
    , m_nPort(PickFreePort())
{
    std::filesystem::create_directories(m_strFolder);
}

CServerProcess::~CServerProcess()
{
    Kill();
}

bool CServerProcess::Start(const std::vector<std::string>& argv)
{
    const std::string log = m_strFolder + "/server.log";
    m_pid = fork();
    if (m_pid == 0) {
        const int fd = open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
        dup2(fd, STDERR_FILENO);
        dup2(fd, STDOUT_FILENO);
        for (const char* name : { "HOME", "TMPDIR", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME" })
            setenv(name, m_strFolder.c_str(), 1);
        std::vector<char*> args;
        for (const std::string& arg : argv)
            args.push_back(const_cast<char*>(arg.c_str()));
        args.push_back(nullptr);
        execv(args[0], args.data());
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

void CServerProcess::Kill()
{
    if (m_pid <= 0)
        return;
    for (const pid_t pid : Descendants(m_pid))
        kill(pid, SIGKILL);
    waitpid(m_pid, nullptr, 0);
    m_pid = -1;
}

std::string CServerProcess::GetLog() const
{
    return ReadWholeFile(m_strFolder + "/server.log");
}
