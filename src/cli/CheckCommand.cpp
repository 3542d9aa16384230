#include <algorithm>

#include <nlohmann/json.hpp>
#include <optional>

#include "checker/CBannerCheck.h"
#include "checker/CSiteChecker.h"
#include "checker/CSpellCheck.h"
#include "checker/CSpelling.h"
#include "cli/CCommandLine.h"
#include "cli/CConsoleUserInterface.h"
#include "cli/Commands.h"
#include "cli/ProjectInput.h"
#include "model/CPagewellDoc.h"
#include "platform/CClock.h"
#include "platform/CCodePage.h"

namespace {

// Writes the findings as dump(2) of their JSON array would, one finding at a
// time: the paths of a deep tree's findings, written out in full, would not
// fit into memory together.
void WriteJson(const std::vector<CFinding>& findings, std::ostream& out)
{
    if (findings.empty()) {
        out << "[]\n";
        return;
    }
    out << "[";
    for (size_t i = 0; i < findings.size(); ++i) {
        const CFinding& finding = findings[i];
        nlohmann::json path = nlohmann::json::array();
        for (const CString& tag : finding.path.GetTags())
            path.push_back(CCodePage::ToUtf8(tag));
        const nlohmann::json object = { { "severity", finding.GetSeverityName() },
            { "path", std::move(path) }, { "message", CCodePage::ToUtf8(finding.message) },
            { "hint", CCodePage::ToUtf8(finding.hint) } };
        out << (i == 0 ? "\n  " : ",\n  ");
        const std::string text = object.dump(2);
        for (const char c : text) {
            out << c;
            if (c == '\n')
                out << "  ";
        }
    }
    out << "\n]\n";
}

// "3 errors, 2 warnings", "1 error, no warnings".
std::string CountLine(const std::vector<CFinding>& findings)
{
    const auto errors = std::count_if(findings.begin(), findings.end(),
        [](const CFinding& finding) { return finding.severity == ESeverity::Error; });
    const auto warnings = static_cast<std::ptrdiff_t>(findings.size()) - errors;
    const auto counted = [](std::ptrdiff_t n, const std::string& noun) {
        return (n == 0 ? std::string("no") : std::to_string(n)) + " " + noun + (n == 1 ? "" : "s");
    };
    return counted(errors, "error") + ", " + counted(warnings, "warning");
}

// Adds the spelling findings; false after a message when no dictionary fits.
bool CheckSpelling(
    const CPagewellDoc& doc, std::string name, std::vector<CFinding>& findings, std::ostream& err)
{
    const CString lang = doc.m_dlgGenerate.GetSiteSettings().m_strLang;
    if (name.empty())
        name = CSpelling::DictionaryFor(lang.empty() ? "en" : lang);
    CSpelling spelling;
    if (name.empty() || !spelling.Load(name)) {
        std::string installed;
        for (const std::string& each : CSpelling::InstalledDictionaries())
            installed += " " + each;
        err << "pagewell-cli: check: no spelling dictionary for '" << (name.empty() ? lang : name)
            << "'; installed:" << (installed.empty() ? " none" : installed)
            << " (--dictionary NAME picks one)\n";
        return false;
    }
    CSpellCheck::Run(doc.m_tree, spelling, findings);
    return true;
}

} // namespace

int RunCheck(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    std::string project;
    bool bJson = false;
    std::string asOfText;
    int nSoonDays = 14;
    bool bSpelling = false;
    std::string dictionary;
    CCommandLine cli("check");
    cli.App().add_option("PROJECT.pwl", project, "the project file")->required()->type_name("");
    cli.App().add_flag("--json", bJson, "print the findings as a JSON array");
    cli.App()
        .add_option("--as-of", asOfText, "check the banners as of this day (default: today)")
        ->type_name("YYYY-MM-DD");
    cli.App()
        .add_option("--soon", nSoonDays, "a banner expiring within this many days is reported (default 14)")
        ->type_name("DAYS")
        ->check(CLI::Range(0, 36500).description(""));
    cli.App().add_flag("--spelling", bSpelling,
        "also list the words of titles and texts the dictionary does not know (the site's lang picks it)");
    cli.App()
        .add_option("--dictionary", dictionary, "with --spelling: this dictionary, such as en_GB")
        ->type_name("NAME");
    cli.App().footer("Exit status: 0 no finding, 1 findings, 2 wrong arguments or unreadable project.");
    if (const auto status = cli.Parse(args, out, err))
        return *status;
    std::optional<int64_t> asOf;
    if (!asOfText.empty() && !(asOf = CBannerCheck::ParseDate(asOfText)))
        return cli.UsageError("--as-of: '" + asOfText + "' is not a day YYYY-MM-DD", err);
    CConsoleUserInterface ui(err);
    CPagewellDoc doc(ui);
    // Opening applies the banner auto-expire rule with today's date, as the
    // program does: banners expired by now are already cleared.
    if (!OpenProjectArgument(doc, project, "check", err))
        return kExitUsage;
    const CCheckOptions options { asOf.value_or(CClock::Now64()), nSoonDays };
    std::vector<CFinding> findings = CSiteChecker::Check(doc, options);
    if (bSpelling && !CheckSpelling(doc, dictionary, findings, err))
        return kExitUsage;
    if (bJson) {
        WriteJson(findings, out);
    } else {
        for (const CFinding& finding : findings)
            out << CCodePage::ToUtf8(finding.FormatLine()) << '\n';
        // On the error stream, so that the findings alone can be piped on.
        out.flush();
        err << CountLine(findings) << '\n';
    }
    return findings.empty() ? kExitOk : kExitFailed;
}
