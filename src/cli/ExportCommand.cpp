#include <nlohmann/json.hpp>

#include "cli/CConsoleUserInterface.h"
#include "cli/CProjectJson.h"
#include "cli/Commands.h"
#include "model/CPagewellDoc.h"

int RunExport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.size() != 1) {
        err << "usage: pagewell-cli export PROJECT.pwl\n";
        return kExitUsage;
    }
    CConsoleUserInterface ui(err);
    CPagewellDoc doc(ui);
    // Opening applies the banner auto-expire rule, as in the program.
    if (!doc.DoFileOpen(args[0]))
        return kExitUsage;
    CProjectJson::WriteJson(doc, out);
    out << '\n';
    return kExitOk;
}
