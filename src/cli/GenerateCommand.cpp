#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "cli/CCommandLine.h"
#include "cli/CConsoleUserInterface.h"
#include "cli/Commands.h"
#include "cli/ProjectInput.h"
#include "generator/CGenerationLog.h"
#include "model/CPagewellDoc.h"
#include "platform/CCodePage.h"

namespace {

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

void DefineArgs(CLI::App& app, CGenerateArgs& parsed)
{
    app.add_option("PROJECT.pwl", parsed.strProject, "the project file")->required()->type_name("");
    app.add_option_function<std::string>(
           "--dest", [&parsed](const std::string& folder) { parsed.strDestination = folder; },
           "write the site into DIR instead of the project's destination")
        ->type_name("DIR");
    app.add_flag_callback(
        "--no-lowercase", [&parsed] { parsed.bLowercase = false; },
        "keep the letter case of tags in file names and references");
    app.add_flag_callback(
        "--clean", [&parsed] { parsed.bClean = true; },
        "remove the files an earlier run wrote that this run no longer writes");
    app.footer("Exit status: 0 success, 1 the run reported a failure (on standard error or in the log),\n"
               "2 wrong arguments or unreadable project.");
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
    CCommandLine cli("generate");
    DefineArgs(cli.App(), parsed);
    if (const auto status = cli.Parse(args, out, err))
        return *status;
    auto pUi = std::make_unique<CGenerateUserInterface>(err);
    auto pDoc = std::make_unique<CPagewellDoc>(*pUi);
    CGenerateUserInterface& ui = *pUi;
    CPagewellDoc& doc = *pDoc;
    if (!OpenProjectArgument(doc, parsed.strProject, "generate", err))
        return kExitUsage;
    if (parsed.strDestination) {
        const CString destination = CCodePage::FromUtf8(*parsed.strDestination);
        if (!MakeDestinationFolder(destination, "generate", err))
            return kExitFailed;
        doc.m_dlgGenerate.m_strDestination = destination;
    }
    doc.m_dlgGenerate.m_bLowercase = parsed.bLowercase ? 1 : 0;
    doc.m_dlgGenerate.m_bClean = parsed.bClean ? 1 : 0;

    const int messagesBefore = ui.GetMessageCount();
    ui.SetRunMessages(true);
    doc.m_dlgGenerate.OnGenerate(doc);
    // In pieces: the log of a large site takes megabytes (one byte each
    // character, so a piece never splits one).
    constexpr size_t kPiece = size_t { 64 } * 1024;
    const std::string_view log = ui.m_strLog;
    for (size_t start = 0; start < log.size(); start += kPiece)
        out << CCodePage::ToUtf8(log.substr(start, kPiece));
    out.flush();
    const bool bFailed = ui.GetMessageCount() != messagesBefore
        || CGenerationLog::HasLineStarting(ui.m_strLog, "Unable to open");
    if (bProcessEnds)
        LeaveForProcessExit(std::move(pDoc), std::move(pUi));
    return bFailed ? kExitFailed : kExitOk;
}
