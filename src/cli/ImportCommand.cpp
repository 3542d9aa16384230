#include <fstream>
#include <sstream>

#include <nlohmann/json.hpp>

#include "cli/CConsoleUserInterface.h"
#include "cli/CProjectJson.h"
#include "cli/Commands.h"
#include "model/CPagewellDoc.h"

int RunImport(const std::vector<std::string>& args, std::ostream& /*out*/, std::ostream& err)
{
    if (args.size() != 2) {
        err << "usage: pagewell-cli import FILE.json OUT.pwl\n";
        return kExitUsage;
    }
    std::ifstream in(args[0], std::ios::binary);
    if (!in) {
        err << "pagewell-cli: cannot read " << args[0] << '\n';
        return kExitUsage;
    }
    std::stringstream text;
    text << in.rdbuf();

    CConsoleUserInterface ui(err);
    CPagewellDoc doc(ui);
    try {
        CProjectJson::FromJson(CProjectJson::Parse(text.str()), doc);
    } catch (const nlohmann::json::exception& e) {
        err << "pagewell-cli: " << args[0] << ": invalid JSON: " << e.what() << '\n';
        return kExitUsage;
    } catch (const CJsonFormatError& e) {
        err << "pagewell-cli: " << args[0] << ": " << e.what() << '\n';
        return kExitUsage;
    }
    // A project always has its root page; a file with an empty tree could not
    // be read back.
    if (doc.m_tree.IsEmpty()) {
        err << "pagewell-cli: " << args[0] << ": the tree is empty; a project needs at least its root page\n";
        return kExitUsage;
    }
    return doc.DoFileSaveAs(args[1]) ? kExitOk : kExitUsage;
}
