#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

// The arguments of one subcommand, read by CLI11 under the tool's rules: the
// usage line comes from the command table, "--help" prints the usage and
// the options on standard output and ends the command with 0, and a usage
// error names what was wrong, then shows the usage line, and ends it with 2.
class CCommandLine {
public:
    // command: a name from the command table.
    explicit CCommandLine(const std::string& command);

    // Where the subcommand declares its options and positional arguments.
    CLI::App& App() { return m_app; }

    // The exit status when the command ends here (help or usage error),
    // nothing when the arguments were read and the command goes on.
    std::optional<int> Parse(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

    // Refuses the arguments for a reason found after parsing.
    int UsageError(const std::string& message, std::ostream& err) const;

    // "usage: pagewell-cli NAME SYNOPSIS".
    const std::string& GetUsageLine() const { return m_strUsage; }

private:
    CLI::App m_app;
    std::string m_strCommand;
    std::string m_strUsage;
};
