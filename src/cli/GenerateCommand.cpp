#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "cli/CConsoleUserInterface.h"
#include "cli/Commands.h"
#include "generator/CGenerationLog.h"
#include "model/CPagewellDoc.h"
#include "platform/CCodePage.h"

namespace {

constexpr const char* kGenerateUsage
    = "usage: pagewell-cli generate PROJECT.pwl [--dest DIR] [--no-lowercase] [--clean]\n";

// Keeps the log that the run shows at its end.
class CGenerateUserInterface : public CConsoleUserInterface {
public:
    using CConsoleUserInterface::CConsoleUserInterface;

    void SetStatusText(EStatusLine line, const CString& text) override
    {
        if (line == EStatusLine::Log)
            m_strLog = text;
    }

    CString m_strLog;
};

struct CGenerateArgs {
    std::string strProject;
    std::optional<std::string> strDestination;
    bool bLowercase = true;
    bool bClean = false;
};

bool ParseArgs(const std::vector<std::string>& args, CGenerateArgs& parsed)
{
    bool bHaveProject = false;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--dest") {
            if (i + 1 >= args.size() || parsed.strDestination)
                return false;
            parsed.strDestination = args[++i];
        } else if (args[i] == "--no-lowercase") {
            parsed.bLowercase = false;
        } else if (args[i] == "--clean") {
            parsed.bClean = true;
        } else if (args[i].starts_with("--") || bHaveProject) {
            return false;
        } else {
            parsed.strProject = args[i];
            bHaveProject = true;
        }
    }
    return bHaveProject;
}

// Keeps a finished command's project (and the interface it refers to) from
// being freed: at the end of the process the system reclaims it at once,
// where freeing a large tree object by object takes a noticeable share of a
// run. Held through a global, so leak checkers see it as still reachable.
void LeaveForProcessExit(std::unique_ptr<CPagewellDoc> pDoc, std::unique_ptr<CGenerateUserInterface> pUi)
{
    struct CLeftOver {
        std::unique_ptr<CGenerateUserInterface> pUi;
        std::unique_ptr<CPagewellDoc> pDoc;
    };
    static auto* const s_pLeftOvers = new std::vector<CLeftOver>;
    s_pLeftOvers->push_back({ std::move(pUi), std::move(pDoc) });
}

} // namespace

int RunGenerate(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, bool bProcessEnds)
{
    CGenerateArgs parsed;
    if (!ParseArgs(args, parsed)) {
        err << kGenerateUsage;
        return kExitUsage;
    }
    auto pUi = std::make_unique<CGenerateUserInterface>(err);
    auto pDoc = std::make_unique<CPagewellDoc>(*pUi);
    CGenerateUserInterface& ui = *pUi;
    CPagewellDoc& doc = *pDoc;
    if (!doc.DoFileOpen(parsed.strProject))
        return kExitUsage;
    if (parsed.strDestination) {
        // A destination named on the command line is made when missing.
        std::error_code error;
        std::filesystem::create_directories(*parsed.strDestination, error);
        if (error) {
            err << "pagewell-cli: cannot create the folder " << *parsed.strDestination << ": "
                << error.message() << "\n";
            return kExitFailed;
        }
        doc.m_dlgGenerate.m_strDestination = CCodePage::FromUtf8(*parsed.strDestination);
    }
    doc.m_dlgGenerate.m_bLowercase = parsed.bLowercase ? 1 : 0;
    doc.m_dlgGenerate.m_bClean = parsed.bClean ? 1 : 0;

    const int messagesBefore = ui.GetMessageCount();
    doc.m_dlgGenerate.OnGenerate(doc);
    out << CCodePage::ToUtf8(ui.m_strLog);
    out.flush();
    const bool bFailed = ui.GetMessageCount() != messagesBefore
        || CGenerationLog::HasLineStarting(ui.m_strLog, "Unable to open");
    if (bProcessEnds)
        LeaveForProcessExit(std::move(pDoc), std::move(pUi));
    return bFailed ? kExitFailed : kExitOk;
}
