#include "checker/CTemplateCheck.h"

#include <array>
#include <climits>

#include "checker/CCheckContext.h"
#include "generator/CGenerationLog.h"
#include "generator/CMacroContext.h"
#include "generator/CNodeExpander.h"
#include "generator/CTemplateScanner.h"
#include "generator/IMacroEvaluator.h"
#include "model/CDocProperties.h"
#include "model/CNode.h"
#include "model/CSiteTree.h"
#include "platform/CFileLocator.h"
#include "platform/CFileSystem.h"
#include "platform/CTextLineReader.h"

namespace {

// Lets the scanner read every directive of a template: no conditional holds
// (so no rest of a line is dropped) and no macro is computed; the image
// macros' definitions are handed to the context.
class CScanOnlyEvaluator : public IMacroEvaluator {
public:
    CScanOnlyEvaluator(
        CCheckContext& context, const CMacroContext& macros, uint32_t type, const CString& path)
        : m_context(context)
        , m_macros(macros)
        , m_nType(type)
        , m_strPath(path)
    { }

    void Evaluate(int nMacro) override
    {
        if (IsImageMacro(nMacro))
            m_context.AddTemplateImage(
                m_nType, nMacro, m_macros.m_strDef[static_cast<size_t>(nMacro)], m_strPath);
    }
    int GetLevel() const override { return INT_MAX; }
    bool IsFollowedByLink() const override { return false; }

private:
    static bool IsImageMacro(int nMacro)
    {
        switch (nMacro) {
        case MACRO_LINE:
        case MACRO_IMAGE:
        case MACRO_BGIMAGE:
        case MACRO_BULLET:
        case MACRO_BACKBUTTON:
        case MACRO_HOMEBUTTON:
        case MACRO_UPBUTTON:
        case MACRO_NEWIMAGE:
        case MACRO_CONSTRIMAGE:
        case MACRO_UPDATEDIMAGE:
            return true;
        default:
            return false;
        }
    }

    CCheckContext& m_context;
    const CMacroContext& m_macros;
    uint32_t m_nType;
    CString m_strPath;
};

constexpr std::array<uint32_t, 3> kTypes = { NODE_PAGE, NODE_PARAGRAPH, NODE_LINK };

// The scanner's messages that mean a directive does nothing, the severity of
// each, and what to do.
struct CMessageRule {
    const char* pszPrefix;
    ESeverity severity;
    const char* pszHint;
};
constexpr std::array<CMessageRule, 4> kMessageRules = { {
    { "Unknown macro name (in template file) : ", ESeverity::Error,
        "use one of the macro names the templates know (see \"Templates in brief\" in the User Guide: Help > "
        "User Guide, or share/doc/pagewell/manual.html)" },
    { "Syntax error (in template file): ", ESeverity::Error,
        "write [@NAME=definition] or [?NAME=argument]; names have at most 31 characters" },
    { "Dont know how to assgn value to macro: ", ESeverity::Warning,
        "this macro is set by another one (HOME, PARENT, UP) or only tested; remove the assignment" },
    { "Dont know contitional statement: ", ESeverity::Warning, "only LEVEL and MORELINKS can be tested" },
} };

} // namespace

void CTemplateCheck::Run(CCheckContext& context)
{
    std::array<HTREEITEM, kTypes.size()> first {};
    std::array<size_t, kTypes.size()> counts {};
    for (HTREEITEM h = context.GetTree().GetRootItem(); h != nullptr; h = CSiteTree::GetNextPreOrder(h)) {
        const uint32_t type = h->GetNode()->m_nType;
        if (type >= kTypes.size())
            continue;
        if (counts[type]++ == 0)
            first[type] = h;
    }
    for (const uint32_t type : kTypes) {
        if (counts[type] > 0) {
            const CString path = CNodeExpander::GetTemplatePath(context.GetProps().m_strTemplate, type);
            CheckFile(context, type, path, first[type], counts[type]);
        }
    }
}

void CTemplateCheck::CheckFile(
    CCheckContext& context, uint32_t type, const CString& path, HTREEITEM hFirst, size_t nObjects)
{
    std::string contents;
    // A run treats a template that leads out of the workspace as missing.
    const bool bOutside = context.GetLocator().LiesOutside(path);
    const EFileError error = bOutside
        ? EFileError::BadPath
        : context.GetFiles().ReadFile(context.GetLocator().LocateForRead(path), contents);
    if (error != EFileError::None) {
        const CString what = bOutside       ? "lies outside the workspace"
            : error == EFileError::NotFound ? "is missing"
                                            : "cannot be read";
        context.Add(ESeverity::Error, hFirst,
            "the template file " + path + " " + what + ": " + std::to_string(nObjects)
                + " object(s) of this kind come out empty",
            "add the file to the workspace's \"templates\" folder, or choose a complete template set in the "
            "project properties");
        return;
    }
    ScanFile(context, type, path, contents);
}

void CTemplateCheck::ScanFile(
    CCheckContext& context, uint32_t type, const CString& path, const std::string& contents)
{
    CGenerationLog log;
    CMacroContext macros(log);
    CScanOnlyEvaluator evaluator(context, macros, type, path);
    CTemplateScanner scanner(macros, evaluator, log);
    std::vector<std::string> unclosed;
    scanner.CollectUnclosed(unclosed);
    CTextLineReader reader(contents);
    size_t nLine = 1;
    for (std::string piece; reader.ReadLine(piece);) {
        const size_t logBefore = log.GetText().size();
        const size_t unclosedBefore = unclosed.size();
        scanner.ScanLine(piece);
        macros.m_strOutput.clear();
        const CString where = path + ":" + std::to_string(nLine) + ": ";
        const std::string_view added = std::string_view(log.GetText()).substr(logBefore);
        // A conditional whose name failed is also reported as a conditional
        // the scanner cannot test: one finding says it.
        bool bNameFailed = false;
        for (size_t start = 0; start < added.size();) {
            const size_t end = added.find("\r\n", start);
            const std::string_view line = added.substr(start, end - start);
            start = end == std::string_view::npos ? added.size() : end + 2;
            // A directive no "]" closes takes the line end into its text, and
            // so into the message about it: the finding below says it.
            if (unclosed.size() > unclosedBefore && line.ends_with('\n'))
                continue;
            for (const CMessageRule& rule : kMessageRules) {
                if (!line.starts_with(rule.pszPrefix))
                    continue;
                const bool bConditional = &rule == &kMessageRules.back();
                if (!(bConditional && bNameFailed))
                    context.Add(rule.severity, nullptr, where + CString(line), rule.pszHint);
                bNameFailed = rule.severity == ESeverity::Error;
            }
        }
        for (size_t i = unclosedBefore; i < unclosed.size(); ++i) {
            CString text = unclosed[i];
            while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
                text.pop_back();
            context.Add(ESeverity::Error, nullptr, where + "no \"]\" closes the directive " + text,
                "close it on the same line; a line is read in pieces of at most 259 characters");
        }
        if (!piece.empty() && piece.back() == '\n')
            ++nLine;
    }
}
