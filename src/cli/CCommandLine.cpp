#include "cli/CCommandLine.h"

#include "cli/Commands.h"

namespace {

// CLI11's help, with our usage line first in place of its own.
class CUsageFormatter : public CLI::Formatter {
public:
    explicit CUsageFormatter(std::string usage)
        : m_strUsage(std::move(usage))
    { }

    std::string make_help(
        const CLI::App* pApp, std::string /*name*/, CLI::AppFormatMode /*mode*/) const override
    {
        return m_strUsage + "\n\n" + pApp->get_description() + "\n" + make_positionals(pApp)
            + make_groups(pApp, CLI::AppFormatMode::Normal) + "\n" + make_footer(pApp);
    }

private:
    std::string m_strUsage;
};

std::string UsageLine(const std::string& command)
{
    const CCliCommand* pCommand = FindCliCommand(command);
    std::string line = "usage: pagewell-cli " + command;
    if (pCommand != nullptr && pCommand->pszSynopsis[0] != '\0')
        line += std::string(" ") + pCommand->pszSynopsis;
    return line;
}

} // namespace

CCommandLine::CCommandLine(const std::string& command)
    : m_app(FindCliCommand(command) != nullptr ? FindCliCommand(command)->pszSummary : "",
        "pagewell-cli " + command)
    , m_strCommand(command)
    , m_strUsage(UsageLine(command))
{
    m_app.formatter(std::make_shared<CUsageFormatter>(m_strUsage));
    m_app.set_help_flag("-h,--help", "show this text and exit");
    m_app.footer("Exit status: 0 success, 2 wrong arguments or unreadable input.");
}

std::optional<int> CCommandLine::Parse(
    const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    // CLI11 takes the arguments last first.
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        m_app.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        out << m_app.help();
        return kExitOk;
    } catch (const CLI::ParseError& e) {
        // CLI11 checks the required arguments before the unknown ones, so
        // "export -x" would say the project is missing.
        const std::vector<std::string> unread = m_app.remaining();
        if (!unread.empty() && unread[0].starts_with("-"))
            return UsageError(
                "unknown option '" + unread[0] + "' (a file name that begins with '-' follows '--')", err);
        return UsageError(e.what(), err);
    }
    return std::nullopt;
}

int CCommandLine::UsageError(const std::string& message, std::ostream& err) const
{
    err << "pagewell-cli: " << m_strCommand << ": " << message << '\n'
        << m_strUsage << "\n"
        << "Try 'pagewell-cli " << m_strCommand << " --help' for more information.\n";
    return kExitUsage;
}
