#include <nlohmann/json.hpp>

#include "cli/CCommandLine.h"
#include "cli/CConsoleUserInterface.h"
#include "cli/Commands.h"
#include "model/CPagewellDoc.h"
#include "model/CProjectJson.h"
#include "platform/CFileSystem.h"

int RunImport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    std::string source;
    std::string target;
    CCommandLine cli("import");
    cli.App().add_option("FILE.json", source, "the project in its JSON form")->required()->type_name("");
    cli.App().add_option("OUT.pwl", target, "the project file to write")->required()->type_name("");
    if (const auto status = cli.Parse(args, out, err))
        return *status;
    // Only a regular file is read: a FIFO would block the command for ever.
    std::string text;
    if (CFileSystem::Real().ReadFile(source, text) != EFileError::None) {
        err << "pagewell-cli: cannot read " << source << '\n';
        return kExitUsage;
    }

    CConsoleUserInterface ui(err);
    CPagewellDoc doc(ui);
    try {
        CProjectJson::FromJson(CProjectJson::Parse(text), doc);
    } catch (const nlohmann::json::exception& e) {
        err << "pagewell-cli: " << source << ": invalid JSON: " << e.what() << '\n';
        return kExitUsage;
    } catch (const CJsonFormatError& e) {
        err << "pagewell-cli: " << source << ": " << e.what() << '\n';
        return kExitUsage;
    }
    // A project always has its root page; a file with an empty tree could not
    // be read back.
    if (doc.m_tree.IsEmpty()) {
        err << "pagewell-cli: " << source << ": the tree is empty; a project needs at least its root page\n";
        return kExitUsage;
    }
    return doc.DoFileSaveAs(target) ? kExitOk : kExitUsage;
}
