#pragma once

#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "checker/CHtmlTagReader.h"
#include "checker/ICheck.h"
#include "model/CTreeItem.h"
#include "platform/CString.h"

// The links and images of body texts and link objects: links to pages of the
// site that will not be written ("TAG.htm", or "TAG.html" when the site's
// pages end in ".htm"), or to an anchor no object of that page provides
// ("TAG.htm#ANCHOR", "#ANCHOR"); images that are neither
// copied by the run nor in the destination; images without an alt text; a
// link object whose address is missing or still "http://".
class CLinkCheck : public ICheck {
public:
    void Run(CCheckContext& context) override;

private:
    void CheckText(HTREEITEM hItem, std::string_view text);
    void CheckLinkObject(HTREEITEM hItem);
    void CheckReference(HTREEITEM hItem, std::string_view reference);
    void CheckAnchor(HTREEITEM hItem, HTREEITEM hPage, std::string_view reference, std::string_view anchor);
    void CheckImage(HTREEITEM hItem, const CHtmlTagReader::CTag& tag);
    // The anchors of a page file: "main" (the templates' top of page), the
    // tags of the objects written into it, and the named anchors of their
    // texts.
    const std::unordered_set<CString>& GetAnchors(HTREEITEM hPage);
    // The page a file name leads to once the generator rewrote it, or null.
    HTREEITEM FindPage(std::string_view file);
    // The page whose tag equals tag but for letter case, or null.
    HTREEITEM FindPageNoCase(const CString& tag);
    bool IsCopiedImage(std::string_view name);

    CCheckContext* m_pContext = nullptr;
    std::unordered_map<HTREEITEM, std::unordered_set<CString>> m_anchors;
    std::unordered_map<CString, HTREEITEM> m_foldedPageTags;
    std::unordered_set<CString> m_copiedImages;
};
