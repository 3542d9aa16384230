#include <algorithm>
#include <iomanip>
#include <sstream>

#include <CLI/CLI.hpp>

#include "cli/Commands.h"

#ifndef PAGEWELL_VERSION_TEXT
#error "the build defines PAGEWELL_VERSION_TEXT"
#endif

const char* const kCliVersion = PAGEWELL_VERSION_TEXT;

namespace {

template <int (*Run)(const std::vector<std::string>&, std::ostream&, std::ostream&)>
int IgnoringProcessEnd(
    const std::vector<std::string>& args, std::ostream& out, std::ostream& err, bool /*bProcessEnds*/)
{
    return Run(args, out, err);
}

// Every subcommand of the tool: a new one is its RunX function (in its own
// file, declared in Commands.h) and one row here.
const std::vector<CCliCommand> kCommands = {
    { "export", "PROJECT.pwl", "print the project as JSON (UTF-8)", IgnoringProcessEnd<RunExport> },
    { "import", "FILE.json OUT.pwl", "write a project file from its JSON form",
        IgnoringProcessEnd<RunImport> },
    { "outline", "PROJECT.pwl", "print the site's outline", IgnoringProcessEnd<RunOutline> },
    { "generate", "PROJECT.pwl [--dest DIR] [--no-lowercase] [--clean]",
        "generate the site (the current directory is the workspace); prints the log", RunGenerate },
    { "serve", "PROJECT.pwl [--port N] [--bind ADDRESS]",
        "serve the site at http://127.0.0.1:8080/ and reload open pages when it changes",
        IgnoringProcessEnd<RunServe> },
    { "settings", "PROJECT.pwl [KEY=VALUE...]",
        "show or change the site settings ('settings --help' lists the keys)",
        IgnoringProcessEnd<RunSettings> },
    { "check", "PROJECT.pwl [--json] [--as-of YYYY-MM-DD] [--soon DAYS] [--spelling]",
        "check the site without writing anything; one line per finding, exit 1 if any",
        IgnoringProcessEnd<RunCheck> },
    { "publish", "PROJECT.pwl [--to URL] [--dry-run] [--jobs N] [--accept-host-key FP] [--overwrite-foreign]",
        "generate the site, then send what changed to its host (sftp://) or folder (file://)",
        IgnoringProcessEnd<RunPublish> },
};

std::string Usage()
{
    constexpr size_t kColumn = 33;
    std::ostringstream text;
    text << "usage: pagewell-cli COMMAND ARGS\n\nCommands:\n";
    for (const CCliCommand& command : kCommands) {
        const std::string call = std::string("  ") + command.pszName + ' ' + command.pszSynopsis;
        text << call;
        if (call.size() + 1 > kColumn)
            text << '\n' << std::string(kColumn, ' ');
        else
            text << std::string(kColumn - call.size(), ' ');
        text << WrapText(command.pszSummary, kColumn) << '\n';
    }
    text << std::left << std::setw(kColumn) << "  --help"
         << "show this text\n"
         << std::setw(kColumn) << "  --version"
         << "show the version\n"
         << "\n'pagewell-cli COMMAND --help' shows the options of a command.\n";
    return text.str();
}

int UsageError(const std::string& message, std::ostream& err)
{
    err << "pagewell-cli: " << message << '\n' << Usage();
    return kExitUsage;
}

} // namespace

// text in lines of at most 79 columns, those after the first indented to column.
std::string WrapText(const std::string& text, size_t column)
{
    constexpr size_t kWidth = 79;
    std::string wrapped;
    size_t used = column;
    std::istringstream words(text);
    for (std::string word; words >> word;) {
        if (used > column && used + 1 + word.size() > kWidth) {
            wrapped += '\n' + std::string(column, ' ');
            used = column;
        } else if (used > column) {
            wrapped += ' ';
            ++used;
        }
        wrapped += word;
        used += word.size();
    }
    return wrapped;
}

const std::vector<CCliCommand>& CliCommands()
{
    return kCommands;
}

const CCliCommand* FindCliCommand(const std::string& name)
{
    const auto it = std::find_if(kCommands.begin(), kCommands.end(),
        [&name](const CCliCommand& command) { return name == command.pszName; });
    return it == kCommands.end() ? nullptr : &*it;
}

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, bool bProcessEnds)
{
    // The tool's own options come before the command; the first other
    // argument is the command, and it and everything after stay unread here.
    CLI::App app("Pagewell's command-line tool", "pagewell-cli");
    app.prefix_command();
    app.set_help_flag("-h,--help");
    app.set_version_flag("--version", std::string("pagewell-cli ") + kCliVersion);
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        out << Usage();
        return kExitOk;
    } catch (const CLI::CallForVersion& e) {
        out << e.what() << '\n';
        return kExitOk;
    } catch (const CLI::ParseError& e) {
        return UsageError(e.what(), err);
    }
    const std::vector<std::string> rest = app.remaining();
    if (rest.empty())
        return UsageError("no command given", err);
    if (rest[0].starts_with("-"))
        return UsageError("unknown option '" + rest[0] + "'", err);
    const CCliCommand* pCommand = FindCliCommand(rest[0]);
    if (pCommand == nullptr)
        return UsageError("unknown command '" + rest[0] + "'", err);
    return pCommand->pRun({ rest.begin() + 1, rest.end() }, out, err, bProcessEnds);
}
