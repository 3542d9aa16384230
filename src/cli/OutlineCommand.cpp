#include "cli/CCommandLine.h"
#include "cli/CConsoleUserInterface.h"
#include "cli/Commands.h"
#include "cli/ProjectInput.h"
#include "model/CPagewellDoc.h"
#include "platform/CCodePage.h"

namespace {

const char* TypeName(uint32_t type)
{
    switch (type) {
    case NODE_PAGE:
        return "page";
    case NODE_PARAGRAPH:
        return "section";
    case NODE_LINK:
        return "link";
    default:
        return "object";
    }
}

// The title on one line: its line ends shown as " | ".
std::string OneLine(const CString& title)
{
    std::string out;
    for (const char c : CCodePage::ToUtf8(title)) {
        if (c == '\r')
            continue;
        if (c == '\n')
            out += " | ";
        else
            out += c;
    }
    return out;
}

} // namespace

int RunOutline(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    std::string project;
    CCommandLine cli("outline");
    cli.App()
        .add_option("PROJECT.pwl", project, "the project file whose outline to print")
        ->required()
        ->type_name("");
    if (const auto status = cli.Parse(args, out, err))
        return *status;
    CConsoleUserInterface ui(err);
    CPagewellDoc doc(ui);
    if (!OpenProjectArgument(doc, project, "outline", err))
        return kExitUsage;
    for (HTREEITEM h = doc.m_tree.GetRootItem(); h != nullptr; h = CSiteTree::GetNextPreOrder(h)) {
        const CNode& node = *h->GetNode();
        out << std::string(2 * static_cast<size_t>(CSiteTree::GetLevel(h)), ' ') << TypeName(node.m_nType)
            << ' ' << CCodePage::ToUtf8(h->GetLabel()) << ": " << OneLine(node.m_strTitle) << '\n';
    }
    return kExitOk;
}
