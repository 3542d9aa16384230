#include "checker/CFileNameCheck.h"

#include <unordered_map>

#include "checker/CCheckContext.h"
#include "generator/CGenerationRun.h"
#include "model/CNode.h"
#include "model/CSiteTree.h"
#include "platform/CCodePage.h"
#include "platform/CPathRules.h"

namespace {

CString PathOf(HTREEITEM hItem)
{
    return CFinding { ESeverity::Error, CCheckContext::GetTagPath(hItem), {}, {} }.GetPathText();
}

CString FoldCase(CString name)
{
    CCodePage::CharLower(name);
    return name;
}

} // namespace

void CFileNameCheck::Run(CCheckContext& context)
{
    CheckPageFiles(context);
    CheckImageNames(context);
    CheckNesting(context);
}

void CFileNameCheck::CheckPageFiles(CCheckContext& context)
{
    const CSiteNames& names = context.GetNames();
    std::unordered_map<CString, HTREEITEM> exact;
    std::unordered_map<CString, HTREEITEM> folded;
    for (const HTREEITEM hPage : context.GetPages()) {
        const CString tag = names.GetTag(hPage);
        if (!CPathRules::IsPlainFileName(tag)) {
            context.Add(ESeverity::Error, hPage, "the generator writes no page for the tag \"" + tag + "\"",
                "use a tag without \"/\" or \"\\\" that is not \".\" or \"..\"");
            continue;
        }
        const CString file = names.GetPageFile(tag);
        const auto [itExact, bNew] = exact.emplace(file, hPage);
        if (!bNew) {
            const bool bLowered = itExact->second->GetLabel() != hPage->GetLabel();
            context.Add(ESeverity::Error, hPage,
                "writes the same file " + file + " as " + PathOf(itExact->second)
                    + (bLowered ? " (the tags are equal once lowered)" : ""),
                "give one of the two pages another tag");
            continue;
        }
        const auto [itFolded, bNewFolded] = folded.emplace(FoldCase(file), hPage);
        if (!bNewFolded) {
            context.Add(ESeverity::Warning, hPage,
                "the file " + file + " differs only in letter case from "
                    + names.GetPageFile(names.GetTag(itFolded->second)) + " of " + PathOf(itFolded->second)
                    + "; on disks and servers that ignore case one overwrites the other",
                "give one of the two pages another tag, or turn the lowercase option on and rename one");
        }
    }
}

void CFileNameCheck::CheckImageNames(CCheckContext& context)
{
    const auto& pageFiles = context.GetPageFiles();
    std::unordered_map<CString, bool> reported;
    for (const CCheckContext::CImageUse& use : context.GetImageUses()) {
        const CString base = context.GetNames().GetBaseName(use.strPath);
        const auto it = pageFiles.find(base);
        if (it == pageFiles.end() || !reported.emplace(base, true).second)
            continue;
        context.Add(ESeverity::Error, it->second,
            "the page file " + base + " has the name of the image " + use.strPath
                + ", which is copied beside the pages over it",
            "rename the image or give the page another tag");
    }
}

void CFileNameCheck::CheckNesting(CCheckContext& context)
{
    // A paragraph or link is expanded inside the expansion of the object
    // above it, up to its page; the generator stops at a fixed depth and the
    // object at that depth is left out with everything below it.
    constexpr int kMax = CGenerationRun::kMaxNesting;
    const CSiteTree& tree = context.GetTree();
    for (HTREEITEM h = tree.GetRootItem(); h != nullptr; h = CSiteTree::GetNextPreOrder(h)) {
        if (h->GetNode()->m_nType == NODE_PAGE)
            continue;
        int steps = 0;
        HTREEITEM hUp = h;
        while (hUp != nullptr && hUp->GetNode()->m_nType != NODE_PAGE && steps <= kMax) {
            hUp = hUp->GetParent();
            ++steps;
        }
        if (hUp != nullptr && steps == kMax) {
            context.Add(ESeverity::Error, h,
                "nested " + std::to_string(kMax)
                    + " levels below its page: the generator leaves it out, with "
                      "everything below it",
                "move it up, or make an object above it a page");
        }
    }
}
