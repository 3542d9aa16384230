#pragma once

#include <ostream>
#include <string>
#include <vector>

// The subcommands of pagewell-cli. Each takes its arguments (without the
// program and subcommand names), writes to out and err, and returns the exit
// status: 0 success, 2 wrong arguments or unreadable input. "--help" among
// the arguments prints the subcommand's usage on out and returns 0.
int RunExport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunOutline(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// Prints the site settings of a project, one KEY=VALUE a line, after
// applying and saving the KEY=VALUE arguments when there are any.
int RunSettings(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunImport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// Generates the site of a project into its destination; exits 1 when the run
// reported a failure. bProcessEnds: the process ends right after the command
// (the program, not a test), so the project is left for the system to
// reclaim instead of being freed object by object.
int RunGenerate(
    const std::vector<std::string>& args, std::ostream& out, std::ostream& err, bool bProcessEnds = false);
// Checks a project's site without writing anything: one line per finding
// (or a JSON array with --json); exits 1 when something was found.
int RunCheck(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// Serves the project's site from memory over HTTP until Ctrl+C, rebuilding it
// when the project or the workspace changes.
int RunServe(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// Generates the site, then sends what changed to the publish target (an SSH
// server or a folder); exits 1 when something failed or a foreign file was
// in the way.
int RunPublish(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The whole tool: args[0] is the subcommand, or --help or --version.
int RunCli(
    const std::vector<std::string>& args, std::ostream& out, std::ostream& err, bool bProcessEnds = false);

// One row of the tool's command table (CliMain.cpp): what the overall usage
// lists and what a subcommand's own usage starts with.
struct CCliCommand {
    const char* pszName;
    // The arguments as the usage line shows them: "PROJECT.pwl [--dest DIR]".
    const char* pszSynopsis;
    const char* pszSummary;
    int (*pRun)(
        const std::vector<std::string>& args, std::ostream& out, std::ostream& err, bool bProcessEnds);
};

const std::vector<CCliCommand>& CliCommands();
// The row named name, or nullptr.
const CCliCommand* FindCliCommand(const std::string& name);

// text in lines of at most 79 columns, those after the first indented to
// column (the first is taken to start there).
std::string WrapText(const std::string& text, size_t column);

// The version that --version prints.
extern const char* const kCliVersion;

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;
