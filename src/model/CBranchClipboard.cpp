#include "model/CBranchClipboard.h"

#include <set>

#include <nlohmann/json.hpp>

#include "generator/CGenerateDlg.h"
#include "model/CDocProperties.h"
#include "model/CNode.h"
#include "model/CProjectJson.h"
#include "model/CTreeCommands.h"
#include "platform/CCodePage.h"

namespace {

constexpr const char* kMarker = "pagewell-branch";

// Tags compare as file names do on the web: without regard to ASCII case.
CString Folded(const CString& tag)
{
    CString folded = tag;
    CCodePage::AsciiLower(folded);
    return folded;
}

CString FreeTag(const CString& tag, const std::set<CString>& taken)
{
    for (int n = 2;; ++n) {
        const CString suffix = "-" + std::to_string(n);
        const CString candidate = tag.substr(0, CTreeCommands::kMaxTagLength - suffix.size()) + suffix;
        if (!taken.contains(Folded(candidate)))
            return candidate;
    }
}

} // namespace

std::string CBranchClipboard::ToText(HTREEITEM hItem)
{
    nlohmann::ordered_json top;
    top[kMarker] = 1;
    top["tree"] = nlohmann::ordered_json::array({ CProjectJson::BranchToJson(hItem) });
    return top.dump(2) + "\n";
}

std::string CBranchClipboard::Outline(HTREEITEM hItem)
{
    std::string text;
    const int nTop = CSiteTree::GetLevel(hItem);
    for (HTREEITEM h = hItem; h != nullptr; h = CSiteTree::GetNextPreOrder(h)) {
        if (h != hItem && CSiteTree::GetLevel(h) <= nTop)
            break;
        const CString& title = h->GetNode()->m_strTitle;
        const CString firstLine = title.substr(0, title.find_first_of("\r\n"));
        text += std::string(static_cast<size_t>(2 * (CSiteTree::GetLevel(h) - nTop)), ' ')
            + CCodePage::ToUtf8(h->GetLabel()) + ": " + CCodePage::ToUtf8(firstLine) + "\n";
    }
    return text;
}

bool CBranchClipboard::FromText(const std::string& text, CSiteTree& scratch, std::string& error)
{
    try {
        nlohmann::ordered_json json = CProjectJson::Parse(text);
        if (!json.is_object() || !json.contains(kMarker) || !json.contains("tree")) {
            error = "not a branch of an outline";
            return false;
        }
        json.erase(kMarker);
        CDocProperties props;
        CGenerateDlg generate;
        CProjectJson::FromJson(json, props, scratch, generate);
    } catch (const std::exception& e) {
        error = e.what();
        return false;
    }
    if (scratch.GetRootItem() == nullptr) {
        error = "an empty branch";
        return false;
    }
    return true;
}

std::vector<std::pair<CString, CString>> CBranchClipboard::FreeTags(
    const CSiteTree& target, CSiteTree& scratch)
{
    std::set<CString> taken;
    for (HTREEITEM h = target.GetRootItem(); h != nullptr; h = CSiteTree::GetNextPreOrder(h))
        taken.insert(Folded(h->GetLabel()));
    std::vector<std::pair<CString, CString>> renames;
    for (HTREEITEM h = scratch.GetRootItem(); h != nullptr; h = CSiteTree::GetNextPreOrder(h)) {
        const CString tag = h->GetLabel();
        if (taken.contains(Folded(tag))) {
            const CString fresh = FreeTag(tag, taken);
            scratch.SetItemText(h, fresh);
            renames.emplace_back(tag, fresh);
            taken.insert(Folded(fresh));
        } else {
            taken.insert(Folded(tag));
        }
    }
    return renames;
}
