#pragma once

#include <ostream>
#include <string>
#include <vector>

// The subcommands of pagewell-cli. Each takes its arguments (without the
// program and subcommand names), writes to out and err, and returns the exit
// status: 0 success, 2 wrong arguments or unreadable input.
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

// The whole tool: args[0] is the subcommand.
int RunCli(
    const std::vector<std::string>& args, std::ostream& out, std::ostream& err, bool bProcessEnds = false);

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;
