#include <algorithm>
#include <fstream>
#include <sstream>

#include <nlohmann/json.hpp>

#include "cli/CCommandLine.h"
#include "cli/CConsoleUserInterface.h"
#include "cli/Commands.h"
#include "model/CPagewellDoc.h"
#include "model/CProjectJson.h"
#include "platform/CFileSystem.h"

namespace {

// "not a JSON document (line L, column C): REASON" for the parser's
// exception; the line and column count from 1, the column in bytes.
std::string NotJsonMessage(const std::string& text, const nlohmann::json::parse_error& error)
{
    const size_t end = std::min<size_t>(error.byte > 0 ? error.byte - 1 : 0, text.size());
    const size_t lineStart = text.rfind('\n', end == 0 ? 0 : end - 1);
    const auto line = 1 + std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(end), '\n');
    const size_t column = lineStart == std::string::npos || end == 0 ? end + 1 : end - lineStart;
    // The parser's message is "[json.exception.parse_error.N] parse error at
    // line L, column C: REASON"; only the reason is news.
    std::string reason = error.what();
    const size_t at = reason.find(": ", reason.find("column"));
    if (at != std::string::npos)
        reason = reason.substr(at + 2);
    return "not a JSON document (line " + std::to_string(line) + ", column " + std::to_string(column)
        + "): " + reason;
}

} // namespace

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
    } catch (const nlohmann::json::parse_error& e) {
        err << "pagewell-cli: " << source << ": " << NotJsonMessage(text, e) << '\n';
        return kExitUsage;
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
