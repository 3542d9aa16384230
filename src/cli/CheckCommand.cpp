#include <charconv>
#include <nlohmann/json.hpp>
#include <optional>

#include "checker/CBannerCheck.h"
#include "checker/CSiteChecker.h"
#include "cli/CConsoleUserInterface.h"
#include "cli/Commands.h"
#include "model/CPagewellDoc.h"
#include "platform/CClock.h"
#include "platform/CCodePage.h"

namespace {

constexpr const char* kCheckUsage
    = "usage: pagewell-cli check PROJECT.pwl [--json] [--as-of YYYY-MM-DD] [--soon DAYS]\n";

struct CCheckArgs {
    std::string strProject;
    bool bJson = false;
    std::optional<int64_t> asOf;
    int nSoonDays = 14;
};

std::optional<int> ParseDays(const std::string& text)
{
    int days = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), days);
    if (error != std::errc() || end != text.data() + text.size() || days < 0 || days > 36500)
        return std::nullopt;
    return days;
}

bool ParseArgs(const std::vector<std::string>& args, CCheckArgs& parsed)
{
    bool bHaveProject = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool bHasValue = i + 1 < args.size();
        if (arg == "--json") {
            parsed.bJson = true;
        } else if (arg == "--as-of") {
            if (!bHasValue || !(parsed.asOf = CBannerCheck::ParseDate(args[++i])))
                return false;
        } else if (arg == "--soon") {
            const std::optional<int> days = bHasValue ? ParseDays(args[++i]) : std::nullopt;
            if (!days)
                return false;
            parsed.nSoonDays = *days;
        } else if (arg.starts_with("--") || bHaveProject) {
            return false;
        } else {
            parsed.strProject = arg;
            bHaveProject = true;
        }
    }
    return bHaveProject;
}

nlohmann::json ToJson(const std::vector<CFinding>& findings)
{
    nlohmann::json array = nlohmann::json::array();
    for (const CFinding& finding : findings) {
        nlohmann::json path = nlohmann::json::array();
        for (const CString& tag : finding.path)
            path.push_back(CCodePage::ToUtf8(tag));
        array.push_back({ { "severity", finding.GetSeverityName() }, { "path", path },
            { "message", CCodePage::ToUtf8(finding.message) }, { "hint", CCodePage::ToUtf8(finding.hint) } });
    }
    return array;
}

} // namespace

int RunCheck(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    CCheckArgs parsed;
    if (!ParseArgs(args, parsed)) {
        err << kCheckUsage;
        return kExitUsage;
    }
    CConsoleUserInterface ui(err);
    CPagewellDoc doc(ui);
    // Opening applies the banner auto-expire rule with today's date, as the
    // program does: banners expired by now are already cleared.
    if (!doc.DoFileOpen(parsed.strProject))
        return kExitUsage;
    const CCheckOptions options { parsed.asOf.value_or(CClock::Now64()), parsed.nSoonDays };
    const std::vector<CFinding> findings = CSiteChecker::Check(doc, options);
    if (parsed.bJson) {
        out << ToJson(findings).dump(2) << '\n';
    } else {
        for (const CFinding& finding : findings)
            out << CCodePage::ToUtf8(finding.FormatLine()) << '\n';
    }
    return findings.empty() ? kExitOk : kExitFailed;
}
