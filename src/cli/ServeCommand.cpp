#include <csignal>
#include <ctime>
#include <optional>

#include "cli/CCommandLine.h"
#include "cli/CServedProject.h"
#include "cli/CSiteServer.h"
#include "cli/Commands.h"

namespace {

constexpr int kDefaultPort = 8080;
// How often the project and the workspace are looked at for changes.
constexpr long kPollNanoseconds = 300'000'000;

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
    std::string strProject;
    std::string strAddress = "127.0.0.1";
    int nPort = kDefaultPort;
    CCommandLine cli("serve");
    cli.App().add_option("PROJECT.pwl", strProject, "the project file")->required()->type_name("");
    cli.App()
        .add_option("--port", nPort, "the port to listen on (default 8080; 0 picks a free one)")
        ->type_name("N")
        ->check(CLI::Range(0, 65535).description(""));
    cli.App()
        .add_option("--bind", strAddress, "the address to listen on (default 127.0.0.1)")
        ->type_name("ADDRESS")
        ->check([](const std::string& text) {
            return text.empty() ? std::string("an empty address") : std::string();
        });
    cli.App().footer(
        "Exit status: 0 stopped with Ctrl+C, 1 cannot listen, 2 wrong arguments or unreadable project.");
    if (const auto status = cli.Parse(args, out, err))
        return *status;
    const CStopSignals signals;
    CSiteServer server;
    // The port first: a server that cannot have it builds nothing.
    std::string error;
    if (!server.Bind(strAddress, nPort, error)) {
        err << "pagewell-cli: serve: " << error << "\n";
        return kExitFailed;
    }
    CServedProject project(strProject, server, out, err);
    if (!project.Rebuild())
        return kExitUsage;
    server.Listen();
    const bool bIpv6 = strAddress.find(':') != std::string::npos;
    out << "Serving " << strProject << " at http://" << (bIpv6 ? "[" : "") << strAddress << (bIpv6 ? "]" : "")
        << ":" << server.GetPort() << "/ (Ctrl+C stops)\n";
    out.flush();
    while (!signals.WaitForStop(kPollNanoseconds))
        project.RebuildIfChanged();
    server.Stop();
    out << "Stopped\n";
    return kExitOk;
}
