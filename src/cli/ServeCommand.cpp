#include <csignal>
#include <ctime>
#include <optional>

#include "cli/CServedProject.h"
#include "cli/CSiteServer.h"
#include "cli/Commands.h"

namespace {

constexpr const char* kServeUsage = "usage: pagewell-cli serve PROJECT.pwl [--port N] [--bind ADDRESS]\n";
constexpr int kDefaultPort = 8080;
// How often the project and the workspace are looked at for changes.
constexpr long kPollNanoseconds = 300'000'000;

struct CServeArgs {
    std::string strProject;
    std::string strAddress = "127.0.0.1";
    int nPort = kDefaultPort;
};

std::optional<int> ParsePort(const std::string& text)
{
    if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const int port = std::stoi(text);
    return port <= 65535 ? std::optional<int>(port) : std::nullopt;
}

bool ParseArgs(const std::vector<std::string>& args, CServeArgs& parsed)
{
    bool bHaveProject = false;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--port" || args[i] == "--bind") {
            if (i + 1 >= args.size())
                return false;
            const std::string& value = args[++i];
            if (args[i - 1] == "--bind") {
                parsed.strAddress = value;
                continue;
            }
            const std::optional<int> port = ParsePort(value);
            if (!port)
                return false;
            parsed.nPort = *port;
        } else if (args[i].starts_with("--") || bHaveProject) {
            return false;
        } else {
            parsed.strProject = args[i];
            bHaveProject = true;
        }
    }
    return bHaveProject && !parsed.strAddress.empty();
}

// Ctrl+C and SIGTERM are taken in turn with the look for changes, on this
// thread: blocked here (the server's threads inherit the mask) and waited
// for with a time limit.
class CStopSignals {
public:
    CStopSignals()
    {
        sigemptyset(&m_set);
        sigaddset(&m_set, SIGINT);
        sigaddset(&m_set, SIGTERM);
        pthread_sigmask(SIG_BLOCK, &m_set, &m_old);
    }
    ~CStopSignals() { pthread_sigmask(SIG_SETMASK, &m_old, nullptr); }
    CStopSignals(const CStopSignals&) = delete;
    CStopSignals& operator=(const CStopSignals&) = delete;

    bool WaitForStop(long nanoseconds) const
    {
        const timespec timeout { 0, nanoseconds };
        return sigtimedwait(&m_set, nullptr, &timeout) > 0;
    }

private:
    sigset_t m_set {};
    sigset_t m_old {};
};

} // namespace

int RunServe(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    CServeArgs parsed;
    if (!ParseArgs(args, parsed)) {
        err << kServeUsage;
        return kExitUsage;
    }
    const CStopSignals signals;
    CSiteServer server;
    CServedProject project(parsed.strProject, server, out, err);
    if (!project.Rebuild())
        return kExitUsage;
    if (!server.Start(parsed.strAddress, parsed.nPort)) {
        err << "pagewell-cli serve: cannot listen on " << parsed.strAddress << ":" << parsed.nPort << "\n";
        return kExitFailed;
    }
    const bool bIpv6 = parsed.strAddress.find(':') != std::string::npos;
    out << "Serving " << parsed.strProject << " at http://" << (bIpv6 ? "[" : "") << parsed.strAddress
        << (bIpv6 ? "]" : "") << ":" << server.GetPort() << "/ (Ctrl+C stops)\n";
    out.flush();
    while (!signals.WaitForStop(kPollNanoseconds))
        project.RebuildIfChanged();
    server.Stop();
    out << "Stopped\n";
    return kExitOk;
}
