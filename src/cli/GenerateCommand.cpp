#include <optional>

#include "cli/CConsoleUserInterface.h"
#include "cli/Commands.h"
#include "generator/CGenerationLog.h"
#include "model/CPagewellDoc.h"
#include "platform/CCodePage.h"

namespace {

constexpr const char* kGenerateUsage
    = "usage: pagewell-cli generate PROJECT.pwl [--dest DIR] [--no-lowercase]\n";

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
        } else if (args[i].starts_with("--") || bHaveProject) {
            return false;
        } else {
            parsed.strProject = args[i];
            bHaveProject = true;
        }
    }
    return bHaveProject;
}

} // namespace

int RunGenerate(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    CGenerateArgs parsed;
    if (!ParseArgs(args, parsed)) {
        err << kGenerateUsage;
        return kExitUsage;
    }
    CGenerateUserInterface ui(err);
    CPagewellDoc doc(ui);
    if (!doc.DoFileOpen(parsed.strProject))
        return kExitUsage;
    if (parsed.strDestination)
        doc.m_dlgGenerate.m_strDestination = CCodePage::FromUtf8(*parsed.strDestination);
    doc.m_dlgGenerate.m_bLowercase = parsed.bLowercase ? 1 : 0;

    const int messagesBefore = ui.GetMessageCount();
    doc.m_dlgGenerate.OnGenerate(doc);
    out << CCodePage::ToUtf8(ui.m_strLog);
    out.flush();
    const bool bFailed = ui.GetMessageCount() != messagesBefore
        || CGenerationLog::HasLineStarting(ui.m_strLog, "Unable to open");
    return bFailed ? kExitFailed : kExitOk;
}
