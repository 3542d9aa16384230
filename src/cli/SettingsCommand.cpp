#include "cli/CCommandLine.h"
#include "cli/CConsoleUserInterface.h"
#include "cli/Commands.h"
#include "cli/ProjectInput.h"
#include "model/CPagewellDoc.h"
#include "platform/CCodePage.h"

namespace {

// Every key with its values and what it is for, from the key table, so that
// a new setting is listed without a word here.
std::string KeyList()
{
    std::string list = "Keys:\n";
    for (const CSiteSettings::CKey& key : CSiteSettings::Keys()) {
        list += "  " + std::string(key.strName);
        for (size_t i = 0; i < key.choices.size(); ++i)
            list += (i == 0 ? "=" : "|") + std::string(key.choices[i]);
        list += "\n      " + WrapText(std::string(key.strHelp), 6) + "\n";
    }
    return list;
}

constexpr const char* kUsage = "usage: pagewell-cli settings PROJECT.pwl [KEY=VALUE...]\n";

void PrintSettings(const CSiteSettings& settings, std::ostream& out)
{
    for (const CSiteSettings::CKey& key : CSiteSettings::Keys())
        out << key.strName << '=' << CCodePage::ToUtf8(settings.*key.pMember) << '\n';
}

// Applies every KEY=VALUE (values in UTF-8); false after a message on the
// first one that is refused, with settings partly changed.
bool ApplyAssignments(const std::vector<std::string>& args, CSiteSettings& settings, std::ostream& err)
{
    for (const std::string& assignment : args) {
        const size_t eq = assignment.find('=');
        if (eq == std::string::npos) {
            err << "pagewell-cli: '" << assignment << "' is not KEY=VALUE\n" << kUsage;
            return false;
        }
        CString error;
        if (!settings.Set(assignment.substr(0, eq), CCodePage::FromUtf8(assignment.substr(eq + 1)), error)) {
            err << "pagewell-cli: " << CCodePage::ToUtf8(error) << '\n';
            return false;
        }
    }
    return true;
}

} // namespace

int RunSettings(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    std::string project;
    std::vector<std::string> assignments;
    CCommandLine cli("settings");
    cli.App().add_option("PROJECT.pwl", project, "the project file")->required()->type_name("");
    cli.App().add_option("KEY=VALUE", assignments, "a setting to change (values in UTF-8)")->type_name("");
    cli.App().footer(KeyList()
        + "\nExit status: 0 success, 1 the project could not be saved, 2 wrong arguments or a refused\n"
          "setting (nothing is saved then) or unreadable project.");
    if (const auto status = cli.Parse(args, out, err))
        return *status;
    CConsoleUserInterface ui(err);
    CPagewellDoc doc(ui);
    if (!OpenProjectArgument(doc, project, "settings", err))
        return kExitUsage;
    CSiteSettings settings = doc.m_dlgGenerate.GetSiteSettings();
    if (!assignments.empty()) {
        // Nothing is saved unless every assignment is accepted.
        if (!ApplyAssignments(assignments, settings, err))
            return kExitUsage;
        const CString old = doc.m_dlgGenerate.m_strSpare;
        doc.m_dlgGenerate.SetSiteSettings(settings);
        if (!old.empty() && !CSiteSettings::IsSettingsSpare(old) && doc.m_dlgGenerate.m_strSpare != old)
            err << "pagewell-cli: " << project
                << ": the spare string held other data; the settings replace it\n";
        if (!doc.DoFileSave())
            return kExitFailed;
    }
    PrintSettings(settings, out);
    return kExitOk;
}
