#include <iostream>

#include "cli/Commands.h"

namespace {

constexpr const char* kUsage = "usage: pagewell-cli COMMAND ARGS\n"
                               "\n"
                               "Commands:\n"
                               "  export PROJECT.pwl             print the project as JSON (UTF-8)\n"
                               "  import FILE.json OUT.pwl       write a project file from its JSON form\n"
                               "  outline PROJECT.pwl            print the site's outline\n"
                               "  generate PROJECT.pwl [--dest DIR] [--no-lowercase]\n"
                               "                                 generate the site (the current directory\n"
                               "                                 is the workspace); prints the log\n"
                               "  settings PROJECT.pwl [KEY=VALUE...]\n"
                               "                                 show or change the site settings (lang,\n"
                               "                                 description, baseurl, markup, encoding)\n"
                               "  --help                         show this text\n";

} // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, bool bProcessEnds)
{
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        out << kUsage;
        return kExitOk;
    }
    if (args.empty()) {
        err << kUsage;
        return kExitUsage;
    }
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (args[0] == "export")
        return RunExport(rest, out, err);
    if (args[0] == "outline")
        return RunOutline(rest, out, err);
    if (args[0] == "import")
        return RunImport(rest, out, err);
    if (args[0] == "settings")
        return RunSettings(rest, out, err);
    if (args[0] == "generate")
        return RunGenerate(rest, out, err, bProcessEnds);
    err << "pagewell-cli: unknown command '" << args[0] << "'\n" << kUsage;
    return kExitUsage;
}
