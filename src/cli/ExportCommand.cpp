#include <nlohmann/json.hpp>

#include "cli/CCommandLine.h"
#include "cli/CConsoleUserInterface.h"
#include "cli/Commands.h"
#include "cli/ProjectInput.h"
#include "model/CPagewellDoc.h"
#include "model/CProjectJson.h"

int RunExport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    std::string project;
    CCommandLine cli("export");
    cli.App().add_option("PROJECT.pwl", project, "the project file to print")->required()->type_name("");
    if (const auto status = cli.Parse(args, out, err))
        return *status;
    CConsoleUserInterface ui(err);
    CPagewellDoc doc(ui);
    // Opening applies the banner auto-expire rule, as in the program.
    if (!OpenProjectArgument(doc, project, "export", err))
        return kExitUsage;
    CProjectJson::WriteJson(doc, out);
    out << '\n';
    return kExitOk;
}
