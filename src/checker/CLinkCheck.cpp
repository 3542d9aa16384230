#include "checker/CLinkCheck.h"

#include <vector>

#include "checker/CCheckContext.h"
#include "generator/CMacroEvaluator.h"
#include "generator/CPageLinks.h"
#include "model/CNode.h"
#include "model/CSiteTree.h"
#include "platform/CCodePage.h"
#include "platform/CFileSystem.h"
#include "platform/CPathRules.h"

namespace {

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t' || text.front() == '\n'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\n'))
        text.remove_suffix(1);
    return text;
}

// "http:", "mailto:" and the like: a reference that leaves the site.
bool HasScheme(std::string_view reference)
{
    const size_t colon = reference.find_first_of(":/?#");
    return colon != std::string_view::npos && colon > 0 && reference[colon] == ':';
}

bool IsUnfinishedAddress(std::string_view reference)
{
    return reference == "http://" || reference == "https://";
}

bool EndsWithNoCase(std::string_view text, std::string_view ending)
{
    return text.size() >= ending.size()
        && CHtmlTagReader::EqualNoCase(text.substr(text.size() - ending.size()), ending);
}

CString Folded(CString text)
{
    CCodePage::CharLower(text);
    return text;
}

CString WithoutCr(std::string_view text)
{
    CString result;
    result.reserve(text.size());
    for (const char c : text) {
        if (c != '\r')
            result += c;
    }
    return result;
}

void AddNamedAnchors(std::string_view text, std::unordered_set<CString>& anchors)
{
    if (text.find('<') == std::string_view::npos)
        return;
    CHtmlTagReader reader(text);
    for (CHtmlTagReader::CTag tag; reader.Next(tag);) {
        for (const char* pszAttribute : { "name", "id" }) {
            if (const auto value = tag.Get(pszAttribute))
                anchors.emplace(*value);
        }
    }
}

} // namespace

void CLinkCheck::Run(CCheckContext& context)
{
    m_pContext = &context;
    for (const CCheckContext::CImageUse& use : context.GetImageUses())
        m_copiedImages.insert(context.GetNames().GetBaseName(use.strPath));
    for (HTREEITEM h = context.GetTree().GetRootItem(); h != nullptr; h = CSiteTree::GetNextPreOrder(h)) {
        const CNode& node = *h->GetNode();
        CheckText(h, node.m_strText);
        if (node.m_nType == NODE_LINK)
            CheckLinkObject(h);
    }
    m_pContext = nullptr;
}

void CLinkCheck::CheckText(HTREEITEM hItem, std::string_view text)
{
    if (text.find('<') == std::string_view::npos)
        return;
    CHtmlTagReader reader(text);
    for (CHtmlTagReader::CTag tag; reader.Next(tag);) {
        if (tag.Is("a")) {
            if (const auto href = tag.Get("href"))
                CheckReference(hItem, Trim(*href));
        } else if (tag.Is("img")) {
            CheckImage(hItem, tag);
        }
    }
}

void CLinkCheck::CheckLinkObject(HTREEITEM hItem)
{
    // The address is found as the LINK macro finds it.
    const CString title = WithoutCr(hItem->GetNode()->m_strTitle);
    const size_t start = CMacroEvaluator::FindUrlStart(title);
    if (start == std::string_view::npos || Trim(std::string_view(title).substr(start)).empty()) {
        m_pContext->Add(ESeverity::Error, hItem, "the link has no address",
            "write the link text, a line break and the address in its title");
        return;
    }
    CheckReference(hItem, Trim(std::string_view(title).substr(start)));
}

void CLinkCheck::CheckReference(HTREEITEM hItem, std::string_view reference)
{
    if (IsUnfinishedAddress(reference)) {
        m_pContext->Add(ESeverity::Error, hItem, "the link's address is still \"" + CString(reference) + "\"",
            "complete the address, or remove the link");
        return;
    }
    if (reference.empty() || HasScheme(reference) || CPathRules::BeginsWithSeparator(reference))
        return;
    const size_t hash = reference.find('#');
    std::string_view file = reference.substr(0, hash);
    file = file.substr(0, file.find('?'));
    const std::string_view anchor
        = hash == std::string_view::npos ? std::string_view() : reference.substr(hash + 1);
    if (file.empty()) {
        if (!anchor.empty())
            CheckAnchor(hItem, CSiteNames::GetPageItem(hItem), reference, anchor);
        return;
    }
    // Only the site's own pages are known; other files are the user's.
    const size_t nExtension = EndsWithNoCase(file, ".htm") ? 4 : EndsWithNoCase(file, ".html") ? 5 : 0;
    if (nExtension == 0 || file.find_first_of("\\/") != std::string_view::npos)
        return;
    if (const HTREEITEM hPage = FindPage(file)) {
        if (!anchor.empty())
            CheckAnchor(hItem, hPage, reference, anchor);
        return;
    }
    const CSiteNames& names = m_pContext->GetNames();
    const CString tag(file.substr(0, file.size() - nExtension));
    const HTREEITEM hPage = FindPageNoCase(tag);
    if (hPage != nullptr && EndsWithNoCase(file, names.GetPageExtension())) {
        m_pContext->Add(ESeverity::Warning, hItem,
            "the link " + CString(reference) + " differs in letter case from the page file "
                + names.GetPageFile(names.GetTag(hPage)),
            "write the link as the page file is named: servers tell letter case apart");
        return;
    }
    // A page of the site by an extension its files do not have (and that
    // the generator does not rewrite): the link would break.
    if (hPage != nullptr) {
        m_pContext->Add(ESeverity::Error, hItem,
            "the link " + CString(reference) + " leads to no page: the site's page files end in "
                + names.GetPageExtension(),
            "write the link as " + names.GetPageFile(names.GetTag(hPage)));
        return;
    }
    m_pContext->Add(ESeverity::Error, hItem,
        "the link " + CString(reference) + " leads to a page the site does not have",
        "correct the link, or add a page with the tag " + tag);
}

HTREEITEM CLinkCheck::FindPage(std::string_view file)
{
    const auto& pages = m_pContext->GetPageFiles();
    auto it = pages.find(CString(file));
    // The generator rewrites a link to a page by the old extension.
    if (it == pages.end()) {
        const CPageLinks links(m_pContext->GetNames().GetPageExtension(),
            [&pages](std::string_view name) { return pages.contains(CString(name)); });
        if (const auto renamed = links.RewriteReference(file))
            it = pages.find(*renamed);
    }
    return it != pages.end() ? it->second : nullptr;
}

void CLinkCheck::CheckAnchor(
    HTREEITEM hItem, HTREEITEM hPage, std::string_view reference, std::string_view anchor)
{
    if (hPage == nullptr)
        return;
    const auto& anchors = GetAnchors(hPage);
    if (anchors.contains(CString(anchor)))
        return;
    m_pContext->Add(ESeverity::Error, hItem,
        "the link " + CString(reference) + " names an anchor that no object of the page "
            + m_pContext->GetNames().GetPageFile(m_pContext->GetNames().GetTag(hPage)) + " provides",
        "link to the tag of an object on that page, or to #main");
}

const std::unordered_set<CString>& CLinkCheck::GetAnchors(HTREEITEM hPage)
{
    const auto found = m_anchors.find(hPage);
    if (found != m_anchors.end())
        return found->second;
    std::unordered_set<CString>& anchors = m_anchors[hPage];
    anchors.insert("main");
    // The page and the objects below it down to the next pages.
    std::vector<HTREEITEM> pending = { hPage };
    while (!pending.empty()) {
        const HTREEITEM h = pending.back();
        pending.pop_back();
        anchors.insert(m_pContext->GetNames().GetTag(h));
        AddNamedAnchors(h->GetNode()->m_strText, anchors);
        for (HTREEITEM hChild = h->GetFirstChild(); hChild != nullptr; hChild = hChild->GetNextSibling()) {
            if (hChild->GetNode()->m_nType != NODE_PAGE)
                pending.push_back(hChild);
        }
    }
    return anchors;
}

HTREEITEM CLinkCheck::FindPageNoCase(const CString& tag)
{
    if (m_foldedPageTags.empty()) {
        const size_t nExtension = m_pContext->GetNames().GetPageExtension().size();
        for (const auto& [name, hPage] : m_pContext->GetPageFiles())
            m_foldedPageTags.emplace(Folded(name.substr(0, name.size() - nExtension)), hPage);
    }
    const auto it = m_foldedPageTags.find(Folded(tag));
    return it == m_foldedPageTags.end() ? nullptr : it->second;
}

bool CLinkCheck::IsCopiedImage(std::string_view name)
{
    return m_copiedImages.contains(CString(name));
}

void CLinkCheck::CheckImage(HTREEITEM hItem, const CHtmlTagReader::CTag& tag)
{
    const std::string_view source = Trim(tag.Get("src").value_or(std::string_view()));
    if (!tag.Get("alt")) {
        m_pContext->Add(ESeverity::Warning, hItem, "the image " + CString(source) + " has no alt text",
            "add alt=\"...\" saying what the image shows, for readers who cannot see it");
    }
    if (source.empty() || HasScheme(source) || CPathRules::BeginsWithSeparator(source))
        return;
    if (IsCopiedImage(source))
        return;
    // A run with modern markup publishes the pictures of the images folder.
    if (m_pContext->GetOptions().settings.IsModern() && source.find_first_of("/\\") == std::string_view::npos
        && m_pContext->GetFileState("images/" + CString(source)) == CCheckContext::EFileState::Present)
        return;
    // Images of body texts are not copied by the run: they must already be
    // beside the pages.
    const CString& destination = m_pContext->GetDestination();
    if (m_pContext->GetFiles().Exists(
            CPathRules::ToNative(CPathRules::JoinPath(destination, CString(source)))))
        return;
    m_pContext->Add(ESeverity::Warning, hItem,
        "the image " + CString(source) + " is neither copied by the run nor in the destination "
            + destination,
        "put the image into the destination, or name it in an object's properties so that the run copies it");
}
