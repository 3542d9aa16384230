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
    , m_names(tree.GetRootItem(), bLowercase, options.settings.GetPageExtension())
    , m_strDestination(destination)
    , m_files(files)
    , m_locator(locator)
    , m_options(options)
{ }

void CCheckContext::Add(ESeverity severity, HTREEITEM hItem, CString message, CString hint)
{
    static const CTagPath kProject;
    const CTagPath& path = hItem == nullptr ? kProject : GetSharedPath(hItem);
    m_findings.push_back({ severity, path, std::move(message), std::move(hint) });
}

CTagPath CCheckContext::GetTagPath(HTREEITEM hItem)
{
    std::vector<HTREEITEM> chain;
    for (HTREEITEM h = hItem; h != nullptr; h = h->GetParent())
        chain.push_back(h);
    CTagPath path;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
        path = path.Append((*it)->GetLabel());
    return path;
}

const CTagPath& CCheckContext::GetSharedPath(HTREEITEM hItem)
{
    // Up to the nearest object whose path is known, then down again, each
    // path made from its parent's: a finding on every object of a deep
    // branch costs one tag each.
    std::vector<HTREEITEM> chain;
    HTREEITEM h = hItem;
    for (; h != nullptr && !m_paths.contains(h); h = h->GetParent())
        chain.push_back(h);
    CTagPath path = h == nullptr ? CTagPath() : m_paths.at(h);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        path = path.Append((*it)->GetLabel());
        m_paths.emplace(*it, path);
    }
    return m_paths.at(hItem);
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
                m_pageFiles.emplace(m_names.GetPageFile(tag), hPage);
        }
        m_bPageFilesKnown = true;
    }
    return m_pageFiles;
}

void CCheckContext::AddTemplateImage(
    uint32_t type, int nMacro, const CString& definition, const CString& templatePath)
{
    const bool bFallback = nMacro == MACRO_LINE || nMacro == MACRO_BGIMAGE || nMacro == MACRO_BULLET;
    CString file = definition;
    if (!definition.empty() && definition.front() == '!') {
        if (bFallback || definition == "!") {
            if (type < m_bPropertyTaken.size())
                m_bPropertyTaken[type][static_cast<size_t>(nMacro)] = true;
            if (definition == "!")
                return;
        }
        file.erase(0, 1);
    }
    if (file.empty() || file.front() == '<')
        return;
    m_imageUses.push_back({ nullptr, "image in " + templatePath, file });
}

const std::vector<CCheckContext::CImageUse>& CCheckContext::GetImageUses()
{
    if (m_bImageUsesKnown)
        return m_imageUses;
    m_bImageUsesKnown = true;
    const auto taken = [this](uint32_t type, int nMacro) {
        return type < m_bPropertyTaken.size() && m_bPropertyTaken[type][static_cast<size_t>(nMacro)];
    };
    const auto takenByAny = [&](int nMacro) {
        return taken(NODE_PAGE, nMacro) || taken(NODE_PARAGRAPH, nMacro) || taken(NODE_LINK, nMacro);
    };
    const auto add = [this](HTREEITEM hItem, const char* pszWhat, int nMacro, const CString& property) {
        if (!property.empty())
            m_imageUses.push_back({ hItem, pszWhat, CImageMacros::GetPropertyPath(nMacro, property) });
    };
    for (const char* pszImage : CGenerationRun::kFixedImages)
        m_imageUses.push_back({ nullptr, "image every run copies", pszImage });
    const struct {
        int nMacro;
        const char* pszWhat;
        const CString& property;
    } projectImages[] = { { MACRO_BULLET, "bullet", m_props.m_strBullet },
        { MACRO_BACKBUTTON, "back button", m_props.m_strBackButton },
        { MACRO_HOMEBUTTON, "home button", m_props.m_strHomeButton },
        { MACRO_UPBUTTON, "up button", m_props.m_strUpButton },
        { MACRO_NEWIMAGE, "New banner", m_props.m_strNewImage },
        { MACRO_CONSTRIMAGE, "Construction banner", m_props.m_strConstructionImage },
        { MACRO_UPDATEDIMAGE, "Updated banner", m_props.m_strUpdatedImage } };
    for (const auto& image : projectImages) {
        if (takenByAny(image.nMacro))
            add(nullptr, image.pszWhat, image.nMacro, image.property);
    }
    for (HTREEITEM h = m_tree.GetRootItem(); h != nullptr; h = CSiteTree::GetNextPreOrder(h)) {
        const CNode& node = *h->GetNode();
        if (taken(node.m_nType, MACRO_IMAGE))
            add(h, "icon", MACRO_IMAGE, node.m_info.m_strIcon);
        if (taken(node.m_nType, MACRO_LINE))
            add(h, "line image", MACRO_LINE, node.m_info.m_strLineImage);
        if (taken(node.m_nType, MACRO_BGIMAGE))
            add(h, "background", MACRO_BGIMAGE, node.m_info.m_strBgBitmap);
    }
    return m_imageUses;
}

CCheckContext::EFileState CCheckContext::GetFileState(const CString& path)
{
    const auto it = m_fileStates.find(path);
    if (it != m_fileStates.end())
        return it->second;
    EFileState state = EFileState::Present;
    if (m_locator.LiesOutside(path)) {
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
