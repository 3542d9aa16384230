#include "checker/CCheckContext.h"

#include "generator/CGenerationRun.h"
#include "generator/CImageMacros.h"
#include "generator/MacroTable.h"
#include "model/CDocProperties.h"
#include "model/CNode.h"
#include "model/CSiteTree.h"
#include "platform/CFileLocator.h"
#include "platform/CFileSystem.h"
#include "platform/CPathRules.h"

CCheckContext::CCheckContext(const CSiteTree& tree, const CDocProperties& props, bool bLowercase,
    const CString& destination, CFileSystem& files, const CFileLocator& locator, CCheckOptions options)
    : m_tree(tree)
    , m_props(props)
    , m_names(tree.GetRootItem(), bLowercase)
    , m_strDestination(destination)
    , m_files(files)
    , m_locator(locator)
    , m_options(options)
{ }

void CCheckContext::Add(ESeverity severity, HTREEITEM hItem, CString message, CString hint)
{
    m_findings.push_back({ severity, GetTagPath(hItem), std::move(message), std::move(hint) });
}

std::vector<CString> CCheckContext::GetTagPath(HTREEITEM hItem)
{
    std::vector<CString> path;
    for (HTREEITEM h = hItem; h != nullptr; h = h->GetParent())
        path.push_back(h->GetLabel());
    return { path.rbegin(), path.rend() };
}

const std::vector<HTREEITEM>& CCheckContext::GetPages()
{
    if (!m_bPagesKnown) {
        for (HTREEITEM h = m_tree.GetRootItem(); h != nullptr; h = CSiteTree::GetNextPreOrder(h)) {
            if (h->GetNode()->m_nType == NODE_PAGE)
                m_pages.push_back(h);
        }
        m_bPagesKnown = true;
    }
    return m_pages;
}

const std::unordered_map<CString, HTREEITEM>& CCheckContext::GetPageFiles()
{
    if (!m_bPageFilesKnown) {
        m_pageFiles.reserve(GetPages().size());
        for (const HTREEITEM hPage : GetPages()) {
            const CString tag = m_names.GetTag(hPage);
            if (CPathRules::IsPlainFileName(tag))
                m_pageFiles.emplace(tag + ".htm", hPage);
        }
        m_bPageFilesKnown = true;
    }
    return m_pageFiles;
}

const std::vector<CCheckContext::CImageUse>& CCheckContext::GetImageUses()
{
    if (m_bImageUsesKnown)
        return m_imageUses;
    m_bImageUsesKnown = true;
    const auto add = [this](HTREEITEM hItem, const char* pszWhat, int nMacro, const CString& property) {
        if (!property.empty())
            m_imageUses.push_back({ hItem, pszWhat, CImageMacros::GetPropertyPath(nMacro, property) });
    };
    for (const char* pszImage : CGenerationRun::kFixedImages)
        m_imageUses.push_back({ nullptr, "image every run copies", pszImage });
    add(nullptr, "bullet", MACRO_BULLET, m_props.m_strBullet);
    add(nullptr, "back button", MACRO_BACKBUTTON, m_props.m_strBackButton);
    add(nullptr, "home button", MACRO_HOMEBUTTON, m_props.m_strHomeButton);
    add(nullptr, "up button", MACRO_UPBUTTON, m_props.m_strUpButton);
    add(nullptr, "New banner", MACRO_NEWIMAGE, m_props.m_strNewImage);
    add(nullptr, "Construction banner", MACRO_CONSTRIMAGE, m_props.m_strConstructionImage);
    add(nullptr, "Updated banner", MACRO_UPDATEDIMAGE, m_props.m_strUpdatedImage);
    add(nullptr, "default icon", MACRO_IMAGE, m_props.m_strImage);
    add(nullptr, "default line image", MACRO_LINE, m_props.m_strLineImage);
    add(nullptr, "default background", MACRO_BGIMAGE, m_props.m_strBgBitmap);
    for (HTREEITEM h = m_tree.GetRootItem(); h != nullptr; h = CSiteTree::GetNextPreOrder(h)) {
        const CDocInfo& info = h->GetNode()->m_info;
        add(h, "icon", MACRO_IMAGE, info.m_strIcon);
        add(h, "line image", MACRO_LINE, info.m_strLineImage);
        add(h, "background", MACRO_BGIMAGE, info.m_strBgBitmap);
    }
    return m_imageUses;
}

CCheckContext::EFileState CCheckContext::GetFileState(const CString& path)
{
    const auto it = m_fileStates.find(path);
    if (it != m_fileStates.end())
        return it->second;
    EFileState state = EFileState::Present;
    if (!CPathRules::IsConfinedPath(path)) {
        state = EFileState::Outside;
    } else {
        const std::string native = m_locator.LocateForRead(path);
        if (!m_files.Exists(native))
            state = EFileState::Missing;
        else if (!m_files.IsRegularFile(native))
            state = EFileState::NotRegular;
    }
    m_fileStates.emplace(path, state);
    return state;
}
