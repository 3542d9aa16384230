#include "cli/CConsoleUserInterface.h"
#include "cli/Commands.h"
#include "model/CPagewellDoc.h"
#include "platform/CCodePage.h"

namespace {

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
    for (size_t i = 1; i < args.size(); ++i) {
        const size_t eq = args[i].find('=');
        if (eq == std::string::npos) {
            err << "pagewell-cli: '" << args[i] << "' is not KEY=VALUE\n" << kUsage;
            return false;
        }
        CString error;
        if (!settings.Set(args[i].substr(0, eq), CCodePage::FromUtf8(args[i].substr(eq + 1)), error)) {
            err << "pagewell-cli: " << CCodePage::ToUtf8(error) << '\n';
            return false;
        }
    }
    return true;
}

} // namespace

int RunSettings(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.empty()) {
        err << kUsage;
        return kExitUsage;
    }
    CConsoleUserInterface ui(err);
    CPagewellDoc doc(ui);
    if (!doc.DoFileOpen(args[0]))
        return kExitUsage;
    CSiteSettings settings = doc.m_dlgGenerate.GetSiteSettings();
    if (args.size() > 1) {
        // Nothing is saved unless every assignment is accepted.
        if (!ApplyAssignments(args, settings, err))
            return kExitUsage;
        const CString old = doc.m_dlgGenerate.m_strSpare;
        doc.m_dlgGenerate.SetSiteSettings(settings);
        if (!old.empty() && !CSiteSettings::IsSettingsSpare(old) && doc.m_dlgGenerate.m_strSpare != old)
            err << "pagewell-cli: " << args[0]
                << ": the spare string held other data; the settings replace it\n";
        if (!doc.DoFileSave())
            return kExitFailed;
    }
    PrintSettings(settings, out);
    return kExitOk;
}
